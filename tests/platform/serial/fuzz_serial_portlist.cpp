// The port list over any names a device folder and its sysfs may hold: each
// input line is a name, and its first byte says where it stands (a tty with
// or without a device behind it, a node, a by-id link). The list holds only
// paths under the device folder, each once, and never more than there are.
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <set>
#include <string>
#include <string_view>

#include "platform/serial/PortList.h"

using namespace tarvel;
namespace fs = std::filesystem;

namespace {

// A folder in memory where there is one, removed when the run ends.
struct FuzzFolder {
    fs::path path = fs::path(fs::exists("/dev/shm") ? "/dev/shm" : "/tmp") /
                    ("fuzz-port-list-" + std::to_string(::getpid()));
    ~FuzzFolder() {
        std::error_code ec;
        fs::remove_all(path, ec);
    }
};

// A name a folder can hold: no "/", no NUL, not "." or "..", not too long.
bool UsableName(std::string_view name) {
    return !name.empty() && name.size() < 200 && name != "." && name != ".." &&
           name.find_first_of(std::string_view("/\0", 2)) == std::string_view::npos;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static const FuzzFolder folder;
    const fs::path dev = folder.path / "dev", sys = folder.path / "sys";
    std::error_code ec;
    fs::remove_all(folder.path, ec);
    fs::create_directories(dev / "serial" / "by-id");
    fs::create_directories(sys / "class" / "tty");

    size_t entries = 0;
    std::string_view text(reinterpret_cast<const char*>(data), size);
    while (!text.empty() && entries < 64) {
        const size_t end = std::min(text.find('\n'), text.size());
        const std::string_view line = text.substr(0, end);
        text.remove_prefix(std::min(end + 1, text.size()));
        if (line.size() < 2 || !UsableName(line.substr(1))) continue;
        const std::string name(line.substr(1));
        switch (line[0] % 4) {
            case 0: fs::create_directories(sys / "class" / "tty" / name / "device", ec); break;
            case 1: fs::create_directories(sys / "class" / "tty" / name, ec); break;
            case 2: fs::create_directories(dev / name, ec); break;
            default: fs::create_symlink("../../" + name, dev / "serial" / "by-id" / name, ec); break;
        }
        ++entries;
    }

    const std::vector<std::string> ports = ListSerialPorts(dev.string(), sys.string());
    const std::set<std::string> unique(ports.begin(), ports.end());
    if (unique.size() != ports.size() || ports.size() > entries) std::abort();
    for (const std::string& port : ports) {
        if (port.compare(0, dev.string().size() + 1, dev.string() + "/") != 0) std::abort();
    }
    return 0;
}
