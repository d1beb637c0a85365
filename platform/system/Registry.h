#pragma once
// The registry: a tree of keys holding typed values, kept for each user in
// one readable text file, RegistryFilePath(). A file is read whole and, after
// a change, written whole through a temporary file beside it, so a failed
// write leaves the old file as it was. A damaged file reads as empty; the
// first write after keeps it as NAME.bad (NAME.1.bad ... when that exists)
// before writing the new one.
//
// Key paths are key names joined by "\" below a root key; leading and
// trailing "\" are ignored, an empty name between two is no path. Key and
// value names match without regard to ASCII case and keep the case they were
// made with. The value named "" is the key's default value.

#include <cstdint>
#include <functional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace tarvel {

using HKEY = uint32_t;
constexpr HKEY HKEY_CLASSES_ROOT = 0x80000000;
constexpr HKEY HKEY_CURRENT_USER = 0x80000001;
constexpr HKEY HKEY_LOCAL_MACHINE = 0x80000002;
constexpr HKEY HKEY_USERS = 0x80000003;
constexpr HKEY HKEY_CURRENT_CONFIG = 0x80000005;

enum RegDataType : uint32_t { REG_NONE = 0, REG_SZ = 1, REG_BINARY = 3, REG_DWORD = 4 };

// What one value may hold, and how long names may be.
constexpr size_t kMaxRegKeyName = 255;
constexpr size_t kMaxRegValueName = 16383;
constexpr size_t kMaxRegData = 1 << 20;

struct RegistryValue {
    std::string name;
    RegDataType type = REG_NONE;
    std::vector<uint8_t> data;  // REG_SZ: the UTF-8 text; REG_DWORD: 4 bytes, little-endian
};

// The name of a root key ("HKEY_CURRENT_USER"), "" for no root key.
std::string_view RootKeyName(HKEY root);

// One registry file in memory.
class RegistryFile {
public:
    // A missing file reads as empty; so does a damaged or unreadable one,
    // and Damaged() then tells so.
    static RegistryFile Load(std::string path);
    bool Damaged() const { return damaged_; }
    const std::string& Path() const { return path_; }

    // Writes the tree back (creating the folder); false when it could not
    // be written, the old file then being as it was.
    bool Save();

    bool KeyExists(HKEY root, std::string_view path) const;
    // Makes the key and every missing key above it; true when it exists afterwards.
    bool CreateKey(HKEY root, std::string_view path);
    // Removes the key with everything below it; false when there was none.
    // A root key itself cannot be removed.
    bool DeleteKey(HKEY root, std::string_view path);
    // The names of the key's sub-keys and values, in the order they were made.
    std::vector<std::string> KeyNames(HKEY root, std::string_view path) const;
    std::vector<std::string> ValueNames(HKEY root, std::string_view path) const;

    // Null when the key or the value is missing.
    const RegistryValue* FindValue(HKEY root, std::string_view path, std::string_view name) const;
    // False when the key is missing, the name too long or the data too large.
    bool SetValue(HKEY root, std::string_view path, std::string_view name, RegDataType type,
                  std::span<const uint8_t> data);
    bool DeleteValue(HKEY root, std::string_view path, std::string_view name);

private:
    struct Key {
        std::string name;
        std::vector<RegistryValue> values;
        std::vector<Key> keys;
    };

    // Null for a path that is not one or a key that is missing.
    Key* Find(HKEY root, std::string_view path);
    const Key* Find(HKEY root, std::string_view path) const;
    Key* Walk(HKEY root, std::span<const std::string_view> names);
    const Key* Walk(HKEY root, std::span<const std::string_view> names) const;
    bool Parse(std::string_view text);
    std::string Format() const;

    std::string path_;
    Key top_;  // the root keys are its sub-keys
    bool damaged_ = false;
};

// The user's registry file: $XDG_CONFIG_HOME/tarvel-bms/registry.txt, or
// ~/.config/tarvel-bms/registry.txt. Tests point it elsewhere ("" restores).
std::string RegistryFilePath();
void SetRegistryFilePath(std::string path);

// The user's registry as it is on disk now.
RegistryFile ReadRegistry();
// Reads the user's registry, applies `change` and, when it answers true,
// writes it back; false when `change` refused or the write failed. Calls
// from several threads take turns.
bool UpdateRegistry(const std::function<bool(RegistryFile&)>& change);

}  // namespace tarvel
