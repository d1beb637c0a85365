// Any bytes as an ini file: reads and a write must neither crash nor hang,
// and a value written must read back.
#include <unistd.h>

#include <cstdint>
#include <cstdlib>
#include <string>

#include "platform/base/Paths.h"
#include "platform/base/Strings.h"
#include "platform/system/ProfileFiles.h"

using namespace tarvel;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    // In memory where there is room: every save is flushed to the disk.
    static const std::string file = std::string(DirectoryExists("/dev/shm") ? "/dev/shm" : "/tmp") +
                                    "/fuzz-profile-" + std::to_string(::getpid()) + ".ini";
    WriteFileBytes(file, data, size);
    const std::string text(reinterpret_cast<const char*>(data), size);
    // Section and key names taken from the input itself, so matches happen.
    const std::string section = text.substr(0, std::min<size_t>(size, 6));
    const std::string key = size > 6 ? text.substr(6, 5) : "key";
    (void)GetPrivateProfileInt(section, key, -1, file);
    (void)GetPrivateProfileString(section, key, "default", size % 40, file);
    (void)GetPrivateProfileString("CommSeting", "commset", "COM1", 10, file);
    const bool plainNames = section.find_first_of("[]=;\r\n") == std::string::npos &&
                            key.find_first_of("[]=;\r\n") == std::string::npos && !Trim(section).empty() &&
                            !Trim(key).empty() && Trim(key) == key;
    if (plainNames && WritePrivateProfileString(section, key, "12345", file)) {
        if (GetPrivateProfileInt(section, key, -1, file) != 12345) abort();
    }
    return 0;
}
