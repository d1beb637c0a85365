#include "platform/system/Registry.h"

// The file is UTF-8 text, one item a line:
//
//   ; tarvel-bms registry 1
//   [HKEY_CURRENT_USER\Software\Tarvel\BMS]
//   =s:the default value
//   Port=s:COM3
//   Baud=d:19200
//   Mask=b:01ff20
//   [HKEY_CURRENT_USER\Software\Tarvel\BMS\Empty Key]
//   ; end
//
// The first line names the format; "; end" closes the file, so a file cut
// short is known. "[path]" starts a key (every key has a line, empty ones
// too); the lines after it are its values: the name, "=", the type ("s" text,
// "d" a 32-bit number in decimal, "b" bytes in hex) and ":" with the data.
// Names and text write "%" and the bytes below 0x20 as "%XX"; names also
// escape "=", "[", "]" and "\". Blank lines are allowed; anything else makes
// the whole file damaged.

#include <unistd.h>

#include <algorithm>
#include <cstdlib>
#include <mutex>
#include <optional>
#include <utility>

#include "platform/base/Exceptions.h"
#include "platform/base/Paths.h"
#include "platform/base/Strings.h"

namespace tarvel {

namespace {

constexpr std::string_view kHeader = "; tarvel-bms registry 1";
constexpr std::string_view kEnd = "; end";
// How many NAME.N.bad files to try before giving up keeping a damaged file.
constexpr int kMaxBackups = 100;

constexpr struct {
    HKEY key;
    std::string_view name;
} kRoots[] = {
    {HKEY_CLASSES_ROOT, "HKEY_CLASSES_ROOT"},     {HKEY_CURRENT_USER, "HKEY_CURRENT_USER"},
    {HKEY_LOCAL_MACHINE, "HKEY_LOCAL_MACHINE"},   {HKEY_USERS, "HKEY_USERS"},
    {HKEY_CURRENT_CONFIG, "HKEY_CURRENT_CONFIG"},
};

// ---- escapes

bool NeedsEscape(unsigned char c, bool inName) {
    if (c < 0x20 || c == 0x7F || c == '%') return true;
    return inName && (c == '=' || c == '[' || c == ']' || c == '\\');
}

std::string Escape(std::string_view text, bool inName) {
    static const char kHex[] = "0123456789ABCDEF";
    std::string out;
    for (const char ch : text) {
        const auto c = static_cast<unsigned char>(ch);
        if (!NeedsEscape(c, inName)) {
            out += ch;
            continue;
        }
        out += '%';
        out += kHex[c >> 4];
        out += kHex[c & 0xF];
    }
    return out;
}

int HexDigit(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

std::optional<std::string> Unescape(std::string_view text, bool inName) {
    std::string out;
    for (size_t i = 0; i < text.size(); ++i) {
        const auto c = static_cast<unsigned char>(text[i]);
        if (c != '%') {
            if (NeedsEscape(c, inName)) return std::nullopt;
            out += text[i];
            continue;
        }
        const int hi = i + 1 < text.size() ? HexDigit(text[i + 1]) : -1;
        const int lo = i + 2 < text.size() ? HexDigit(text[i + 2]) : -1;
        if (hi < 0 || lo < 0) return std::nullopt;
        out += static_cast<char>(hi * 16 + lo);
        i += 2;
    }
    return out;
}

std::string HexBytes(std::span<const uint8_t> data) {
    static const char kHex[] = "0123456789abcdef";
    std::string out;
    for (const uint8_t b : data) {
        out += kHex[b >> 4];
        out += kHex[b & 0xF];
    }
    return out;
}

std::optional<std::vector<uint8_t>> ParseHexBytes(std::string_view text) {
    if (text.size() % 2) return std::nullopt;
    std::vector<uint8_t> out;
    for (size_t i = 0; i < text.size(); i += 2) {
        const int hi = HexDigit(text[i]), lo = HexDigit(text[i + 1]);
        if (hi < 0 || lo < 0) return std::nullopt;
        out.push_back(static_cast<uint8_t>(hi * 16 + lo));
    }
    return out;
}

std::vector<uint8_t> DwordBytes(uint32_t v) {
    return {static_cast<uint8_t>(v), static_cast<uint8_t>(v >> 8), static_cast<uint8_t>(v >> 16),
            static_cast<uint8_t>(v >> 24)};
}

std::optional<uint32_t> ParseDword(std::string_view text) {
    if (text.empty() || text.size() > 10) return std::nullopt;
    uint64_t v = 0;
    for (const char c : text) {
        if (c < '0' || c > '9') return std::nullopt;
        v = v * 10 + static_cast<uint64_t>(c - '0');
    }
    if (v > UINT32_MAX) return std::nullopt;
    return static_cast<uint32_t>(v);
}

// ---- paths

// The key names of a path, or none for a path that is not one.
std::optional<std::vector<std::string_view>> SplitPath(std::string_view path,
                                                       size_t maxName = kMaxRegKeyName) {
    while (!path.empty() && path.front() == '\\') path.remove_prefix(1);
    while (!path.empty() && path.back() == '\\') path.remove_suffix(1);
    std::vector<std::string_view> names;
    while (!path.empty()) {
        const size_t cut = path.find('\\');
        const std::string_view name = path.substr(0, cut);
        if (name.empty() || name.size() > maxName) return std::nullopt;
        names.push_back(name);
        if (cut == std::string_view::npos) break;
        path.remove_prefix(cut + 1);
    }
    return names;
}

template <class Item>
auto FindNamed(std::vector<Item>& items, std::string_view name) {
    return std::find_if(items.begin(), items.end(), [&](const Item& i) { return SameText(i.name, name); });
}

template <class Item>
auto FindNamed(const std::vector<Item>& items, std::string_view name) {
    return std::find_if(items.begin(), items.end(), [&](const Item& i) { return SameText(i.name, name); });
}

// ---- writing the file

// Moves a damaged file out of the way under a name no other file has.
bool KeepDamagedFile(const std::string& path) {
    const std::string stem = ChangeFileExt(path, "");
    for (int i = 0; i < kMaxBackups; ++i) {
        const std::string backup = i == 0 ? path + ".bad" : stem + "." + std::to_string(i) + ".bad";
        if (FileExists(backup) || DirectoryExists(backup)) continue;
        return ::link(path.c_str(), backup.c_str()) == 0 || RenameFile(path, backup);
    }
    return false;
}

std::mutex gFileMutex;
std::string gPathOverride;

}  // namespace

std::string_view RootKeyName(HKEY root) {
    for (const auto& r : kRoots)
        if (r.key == root) return r.name;
    return "";
}

// ---- the tree

const RegistryFile::Key* RegistryFile::Find(HKEY root, std::string_view path) const {
    const auto names = SplitPath(path);
    return names ? Walk(root, *names) : nullptr;
}

RegistryFile::Key* RegistryFile::Find(HKEY root, std::string_view path) {
    const auto names = SplitPath(path);
    return names ? Walk(root, *names) : nullptr;
}

const RegistryFile::Key* RegistryFile::Walk(HKEY root, std::span<const std::string_view> names) const {
    static const Key kEmptyRoot;
    const std::string_view rootName = RootKeyName(root);
    if (rootName.empty()) return nullptr;
    const auto top = FindNamed(top_.keys, rootName);
    const Key* key = top == top_.keys.end() ? &kEmptyRoot : &*top;
    for (const std::string_view name : names) {
        const auto sub = FindNamed(key->keys, name);
        if (sub == key->keys.end()) return nullptr;
        key = &*sub;
    }
    return key;
}

RegistryFile::Key* RegistryFile::Walk(HKEY root, std::span<const std::string_view> names) {
    if (!std::as_const(*this).Walk(root, names)) return nullptr;
    // The root keys exist whether the file has them or not.
    const std::string_view rootName = RootKeyName(root);
    if (FindNamed(top_.keys, rootName) == top_.keys.end())
        top_.keys.push_back(Key{std::string(rootName), {}, {}});
    return const_cast<Key*>(std::as_const(*this).Walk(root, names));
}

bool RegistryFile::KeyExists(HKEY root, std::string_view path) const { return Find(root, path) != nullptr; }

bool RegistryFile::CreateKey(HKEY root, std::string_view path) {
    const auto names = SplitPath(path);
    Key* key = names ? Walk(root, {}) : nullptr;
    if (!key) return false;
    for (const std::string_view name : *names) {
        auto sub = FindNamed(key->keys, name);
        if (sub == key->keys.end()) {
            key->keys.push_back(Key{std::string(name), {}, {}});
            sub = key->keys.end() - 1;
        }
        key = &*sub;
    }
    return true;
}

bool RegistryFile::DeleteKey(HKEY root, std::string_view path) {
    const auto names = SplitPath(path);
    if (!names || names->empty()) return false;
    Key* parent = Walk(root, std::span(*names).first(names->size() - 1));
    if (!parent) return false;
    const auto it = FindNamed(parent->keys, names->back());
    if (it == parent->keys.end()) return false;
    parent->keys.erase(it);
    return true;
}

std::vector<std::string> RegistryFile::KeyNames(HKEY root, std::string_view path) const {
    std::vector<std::string> names;
    if (const Key* key = Find(root, path))
        for (const Key& sub : key->keys) names.push_back(sub.name);
    return names;
}

std::vector<std::string> RegistryFile::ValueNames(HKEY root, std::string_view path) const {
    std::vector<std::string> names;
    if (const Key* key = Find(root, path))
        for (const RegistryValue& v : key->values) names.push_back(v.name);
    return names;
}

const RegistryValue* RegistryFile::FindValue(HKEY root, std::string_view path, std::string_view name) const {
    const Key* key = Find(root, path);
    if (!key) return nullptr;
    const auto it = FindNamed(key->values, name);
    return it == key->values.end() ? nullptr : &*it;
}

bool RegistryFile::SetValue(HKEY root, std::string_view path, std::string_view name, RegDataType type,
                            std::span<const uint8_t> data) {
    Key* key = Find(root, path);
    const bool typeFits = type == REG_SZ || type == REG_BINARY || (type == REG_DWORD && data.size() == 4);
    if (!key || !typeFits || name.size() > kMaxRegValueName || data.size() > kMaxRegData) return false;
    auto it = FindNamed(key->values, name);
    if (it == key->values.end()) {
        key->values.push_back(RegistryValue{std::string(name), REG_NONE, {}});
        it = key->values.end() - 1;
    }
    it->type = type;
    it->data.assign(data.begin(), data.end());
    return true;
}

bool RegistryFile::DeleteValue(HKEY root, std::string_view path, std::string_view name) {
    Key* key = Find(root, path);
    if (!key) return false;
    const auto it = FindNamed(key->values, name);
    if (it == key->values.end()) return false;
    key->values.erase(it);
    return true;
}

// ---- the file

RegistryFile RegistryFile::Load(std::string path) {
    RegistryFile file;
    file.path_ = std::move(path);
    if (!FileExists(file.path_) && !DirectoryExists(file.path_)) return file;
    std::string text;
    try {
        text = ReadFileText(file.path_, kMaxRegistryFileBytes);
    } catch (const Exception&) {
        file.damaged_ = true;
        return file;
    }
    if (!file.Parse(text)) {
        file.top_ = Key{};
        file.damaged_ = true;
    }
    return file;
}

bool RegistryFile::Parse(std::string_view text) {
    std::vector<std::string_view> lines;
    while (!text.empty()) {
        const size_t end = text.find('\n');
        std::string_view line = text.substr(0, end);
        if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
        if (!line.empty()) lines.push_back(line);
        if (end == std::string_view::npos) break;
        text.remove_prefix(end + 1);
    }
    if (lines.size() < 2 || lines.front() != kHeader || lines.back() != kEnd) return false;
    Key* key = nullptr;
    for (size_t i = 1; i + 1 < lines.size(); ++i) {
        const std::string_view line = lines[i];
        if (line.front() == '[') {
            if (line.size() < 2 || line.back() != ']') return false;
            // Key names cannot hold "\", so splitting before unescaping is
            // safe; an escaped name may be three times as long.
            const auto names = SplitPath(line.substr(1, line.size() - 2), 3 * kMaxRegKeyName);
            if (!names || names->empty()) return false;
            key = &top_;
            for (const std::string_view escaped : *names) {
                const auto name = Unescape(escaped, true);
                if (!name || name->empty() || name->size() > kMaxRegKeyName) return false;
                auto sub = FindNamed(key->keys, *name);
                if (sub == key->keys.end()) {
                    key->keys.push_back(Key{*name, {}, {}});
                    sub = key->keys.end() - 1;
                }
                key = &*sub;
            }
            continue;
        }
        const size_t eq = line.find('=');
        if (!key || eq == std::string_view::npos || line.size() < eq + 3 || line[eq + 2] != ':') return false;
        const auto name = Unescape(line.substr(0, eq), true);
        const std::string_view data = line.substr(eq + 3);
        if (!name || FindNamed(key->values, *name) != key->values.end()) return false;
        RegistryValue value{*name, REG_NONE, {}};
        switch (line[eq + 1]) {
            case 's': {
                const auto s = Unescape(data, false);
                if (!s) return false;
                value.type = REG_SZ;
                value.data.assign(s->begin(), s->end());
                break;
            }
            case 'd': {
                const auto d = ParseDword(data);
                if (!d) return false;
                value.type = REG_DWORD;
                value.data = DwordBytes(*d);
                break;
            }
            case 'b': {
                auto b = ParseHexBytes(data);
                if (!b) return false;
                value.type = REG_BINARY;
                value.data = std::move(*b);
                break;
            }
            default: return false;
        }
        if (value.name.size() > kMaxRegValueName || value.data.size() > kMaxRegData) return false;
        key->values.push_back(std::move(value));
    }
    // Only the root keys may stand at the top.
    return std::all_of(top_.keys.begin(), top_.keys.end(), [](const Key& k) {
        return std::any_of(std::begin(kRoots), std::end(kRoots),
                           [&](const auto& r) { return r.name == k.name; });
    });
}

std::string RegistryFile::Format() const {
    std::string out(kHeader);
    out += '\n';
    const std::function<void(const Key&, const std::string&)> write = [&](const Key& key,
                                                                          const std::string& path) {
        out += "[" + path + "]\n";
        for (const RegistryValue& v : key.values) {
            out += Escape(v.name, true) + "=";
            switch (v.type) {
                case REG_SZ:
                    out += "s:" + Escape(std::string_view(reinterpret_cast<const char*>(v.data.data()),
                                                          v.data.size()),
                                         false);
                    break;
                case REG_DWORD:
                    out += "d:" + std::to_string(v.data[0] | v.data[1] << 8 | v.data[2] << 16 |
                                                 static_cast<uint32_t>(v.data[3]) << 24);
                    break;
                default: out += "b:" + HexBytes(v.data); break;
            }
            out += '\n';
        }
        for (const Key& sub : key.keys) write(sub, path + "\\" + Escape(sub.name, true));
    };
    for (const Key& root : top_.keys) write(root, root.name);
    out += kEnd;
    out += '\n';
    return out;
}

bool RegistryFile::Save() {
    if (!ForceDirectories(ExtractFileDir(path_))) return false;
    if (damaged_ && (FileExists(path_) || DirectoryExists(path_))) {
        if (!KeepDamagedFile(path_)) return false;
    }
    if (!SaveFileText(path_, Format())) return false;
    damaged_ = false;
    return true;
}

// ---- the user's file

std::string RegistryFilePath() {
    {
        std::lock_guard<std::mutex> lock(gFileMutex);
        if (!gPathOverride.empty()) return gPathOverride;
    }
    std::string folder;
    if (const char* xdg = std::getenv("XDG_CONFIG_HOME"); xdg && xdg[0] == '/')
        folder = xdg;
    else if (const char* home = std::getenv("HOME"); home && home[0])
        folder = std::string(home) + "/.config";
    else
        folder = "/tmp";
    return ExcludeTrailingPathDelimiter(folder) + "/tarvel-bms/registry.txt";
}

void SetRegistryFilePath(std::string path) {
    std::lock_guard<std::mutex> lock(gFileMutex);
    gPathOverride = std::move(path);
}

RegistryFile ReadRegistry() { return RegistryFile::Load(RegistryFilePath()); }

bool UpdateRegistry(const std::function<bool(RegistryFile&)>& change) {
    static std::mutex updateMutex;
    std::lock_guard<std::mutex> lock(updateMutex);
    RegistryFile file = ReadRegistry();
    return change(file) && file.Save();
}

}  // namespace tarvel
