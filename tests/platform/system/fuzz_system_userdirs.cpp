// Any bytes as a user-dirs file: the entries must neither crash nor hang,
// and what they give is empty or an absolute path.
#include <cstdint>
#include <string>

#include "platform/system/UserFolders.h"

using namespace tarvel;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string text(reinterpret_cast<const char*>(data), size);
    for (const char* key : {"XDG_DESKTOP_DIR", "XDG_DOCUMENTS_DIR"}) {
        const std::string value = ParseUserDirsEntry(text, key, "/home/u");
        if (!value.empty() && value[0] != '/') __builtin_trap();
    }
    return 0;
}
