// Any bytes as the per-user registry file: it loads as a tree or as damaged,
// never half of one; a tree it loads is saved, and what was saved loads
// again undamaged and saves to the same text; values named by the input are
// looked up and set.
#include <unistd.h>

#include <cstdint>
#include <cstdlib>
#include <string>

#include "platform/base/Paths.h"
#include "platform/system/Registry.h"

using namespace tarvel;

namespace {

void Check(bool ok) {
    if (!ok) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    // In memory where there is room: every save is flushed to the disk.
    static const std::string file = [] {
        static std::string made = std::string(DirectoryExists("/dev/shm") ? "/dev/shm" : "/tmp") +
                                  "/fuzz-registry-" + std::to_string(::getpid()) + ".txt";
        std::atexit([] { DeleteFile(made); });
        return made;
    }();
    WriteFileBytes(file, data, size);
    RegistryFile registry = RegistryFile::Load(file);
    if (registry.Damaged()) {
        Check(registry.KeyNames(HKEY_CURRENT_USER, "").empty());
        return 0;
    }
    // A path and a name from the input, so that look-ups find something.
    const std::string text(reinterpret_cast<const char*>(data), size);
    const size_t open = text.find("[HKEY_CURRENT_USER\\");
    const std::string path = open == std::string::npos ? "Software" : text.substr(open + 19, 12);
    (void)registry.KeyExists(HKEY_CURRENT_USER, path);
    (void)registry.ValueNames(HKEY_CURRENT_USER, path);
    (void)registry.FindValue(HKEY_CURRENT_USER, path, "");
    const uint8_t dword[4] = {1, 2, 3, 4};
    if (registry.CreateKey(HKEY_CURRENT_USER, path)) {
        Check(registry.SetValue(HKEY_CURRENT_USER, path, "fuzz", REG_DWORD, dword));
        const RegistryValue* value = registry.FindValue(HKEY_CURRENT_USER, path, "fuzz");
        Check(value && value->type == REG_DWORD && value->data.size() == 4);
    }
    if (!registry.Save()) return 0;
    const std::string saved = ReadFileText(file);
    RegistryFile again = RegistryFile::Load(file);
    Check(!again.Damaged());
    Check(again.Save());
    Check(ReadFileText(file) == saved);
    return 0;
}
