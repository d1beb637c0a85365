#pragma once
// Profile (ini) files: "[section]" lines and "key=value" lines. Sections and
// keys match without regard to ASCII case and to blanks around them, so
// "ChargeCurrent " finds both "ChargeCurrent=" and "ChargeCurrent =". Lines
// starting with ';' and lines that are neither a section nor a key are
// skipped. The first matching section and key win. Files are UTF-8.

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace tarvel {

// The value as a signed decimal integer (leading blanks, an optional sign and
// digits; what follows the digits is ignored). The default when the file,
// section or key is missing, the value holds no digits or leaves 32 bits.
int32_t GetPrivateProfileInt(std::string_view section, std::string_view key, int32_t defaultValue,
                             std::string_view file);

// The value, or the default when missing, cut to size - 1 bytes as a buffer
// of `size` bytes would hold it (never inside a UTF-8 character).
std::string GetPrivateProfileString(std::string_view section, std::string_view key,
                                    std::string_view defaultValue, size_t size, std::string_view file);

// Sets key=value, creating the file, the section and the key when missing;
// other lines stay as they were. An empty value is written as "key=". False
// when the file cannot be written.
bool WritePrivateProfileString(std::string_view section, std::string_view key, std::string_view value,
                               std::string_view file);

}  // namespace tarvel
