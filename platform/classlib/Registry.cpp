#include "platform/classlib/Registry.h"

#include <cstring>

namespace tarvel {

namespace {

String TrimDelimiters(std::string_view path) {
    while (!path.empty() && path.front() == '\\') path.remove_prefix(1);
    while (!path.empty() && path.back() == '\\') path.remove_suffix(1);
    return String(path);
}

[[noreturn]] void RaiseRegistry(const char* what, const String& name) {
    throw ERegistryException(String(what) + " '" + name + "'");
}

std::span<const uint8_t> TextBytes(const String& s) {
    return {reinterpret_cast<const uint8_t*>(s.data()), s.size()};
}

String ValueText(const RegistryValue& v) { return String(v.data.begin(), v.data.end()); }

int ValueInteger(const RegistryValue& v) {
    uint32_t n = 0;
    std::memcpy(&n, v.data.data(), 4);  // REG_DWORD values hold 4 bytes, little-endian here
    return static_cast<int>(n);
}

}  // namespace

// ---- TRegistry

void TRegistry::SetRootKey(HKEY root) {
    CloseKey();
    root_ = root;
}

String TRegistry::PathOf(const String& key) const {
    if (!key.empty() && key.front() == '\\') return TrimDelimiters(key);
    const String relative = TrimDelimiters(key);
    if (current_.empty() || relative.empty()) return current_.empty() ? relative : current_;
    return current_ + "\\" + relative;
}

bool TRegistry::OpenKey(const String& key, bool canCreate) {
    const String path = PathOf(key);
    const bool exists = ReadRegistry().KeyExists(root_, path);
    if (!exists && !(canCreate && CreateKey(key))) return false;
    current_ = path;
    readOnly_ = false;
    return true;
}

bool TRegistry::OpenKeyReadOnly(const String& key) {
    const String path = PathOf(key);
    if (!ReadRegistry().KeyExists(root_, path)) return false;
    current_ = path;
    readOnly_ = true;
    return true;
}

void TRegistry::CloseKey() {
    current_.clear();
    readOnly_ = false;
}

bool TRegistry::CreateKey(const String& key) {
    const String path = PathOf(key);
    return UpdateRegistry([&](RegistryFile& file) { return file.CreateKey(root_, path); });
}

bool TRegistry::DeleteKey(const String& key) {
    const String path = PathOf(key);
    return UpdateRegistry([&](RegistryFile& file) { return file.DeleteKey(root_, path); });
}

bool TRegistry::KeyExists(const String& key) const { return ReadRegistry().KeyExists(root_, PathOf(key)); }

bool TRegistry::HasSubKeys() const { return !ReadRegistry().KeyNames(root_, current_).empty(); }

void TRegistry::GetKeyNames(TStrings* strings) const {
    if (!strings) return;
    strings->Clear();
    for (const String& name : ReadRegistry().KeyNames(root_, current_)) strings->Add(name);
}

void TRegistry::GetValueNames(TStrings* strings) const {
    if (!strings) return;
    strings->Clear();
    for (const String& name : ReadRegistry().ValueNames(root_, current_)) strings->Add(name);
}

const RegistryValue* TRegistry::Value(const RegistryFile& file, const String& name) const {
    return file.FindValue(root_, current_, name);
}

bool TRegistry::ValueExists(const String& name) const {
    const RegistryFile file = ReadRegistry();
    return Value(file, name) != nullptr;
}

bool TRegistry::DeleteValue(const String& name) {
    if (readOnly_) return false;
    return UpdateRegistry([&](RegistryFile& file) { return file.DeleteValue(root_, current_, name); });
}

TRegDataType TRegistry::GetDataType(const String& name) const {
    const RegistryFile file = ReadRegistry();
    const RegistryValue* v = Value(file, name);
    if (!v) return rdUnknown;
    switch (v->type) {
        case REG_SZ: return rdString;
        case REG_DWORD: return rdInteger;
        case REG_BINARY: return rdBinary;
        default: return rdUnknown;
    }
}

int TRegistry::GetDataSize(const String& name) const {
    const RegistryFile file = ReadRegistry();
    const RegistryValue* v = Value(file, name);
    return v ? static_cast<int>(v->data.size()) : -1;
}

String TRegistry::ReadString(const String& name) const {
    const RegistryFile file = ReadRegistry();
    const RegistryValue* v = Value(file, name);
    if (!v) return "";
    if (v->type != REG_SZ) RaiseRegistry("Invalid data type for", name);
    return ValueText(*v);
}

int TRegistry::ReadInteger(const String& name) const {
    const RegistryFile file = ReadRegistry();
    const RegistryValue* v = Value(file, name);
    if (!v) RaiseRegistry("Failed to get data for", name);
    if (v->type != REG_DWORD) RaiseRegistry("Invalid data type for", name);
    return ValueInteger(*v);
}

int TRegistry::ReadBinaryData(const String& name, void* buffer, int size) const {
    const RegistryFile file = ReadRegistry();
    const RegistryValue* v = Value(file, name);
    if (!v) return 0;
    if (v->type != REG_BINARY) RaiseRegistry("Invalid data type for", name);
    if (v->data.size() > static_cast<size_t>(std::max(size, 0)) || (!buffer && !v->data.empty()))
        RaiseRegistry("Failed to get data for", name);
    if (!v->data.empty()) std::memcpy(buffer, v->data.data(), v->data.size());
    return static_cast<int>(v->data.size());
}

void TRegistry::Write(const String& name, RegDataType type, std::span<const uint8_t> data) {
    const bool written = !readOnly_ && UpdateRegistry([&](RegistryFile& file) {
        return file.SetValue(root_, current_, name, type, data);
    });
    if (!written) RaiseRegistry("Failed to set data for", name);
}

void TRegistry::WriteString(const String& name, const String& value) {
    Write(name, REG_SZ, TextBytes(value));
}

void TRegistry::WriteInteger(const String& name, int value) {
    const auto n = static_cast<uint32_t>(value);
    const uint8_t bytes[4] = {static_cast<uint8_t>(n), static_cast<uint8_t>(n >> 8),
                              static_cast<uint8_t>(n >> 16), static_cast<uint8_t>(n >> 24)};
    Write(name, REG_DWORD, bytes);
}

void TRegistry::WriteBinaryData(const String& name, const void* buffer, int size) {
    if (size < 0 || (!buffer && size > 0)) RaiseRegistry("Failed to set data for", name);
    Write(name, REG_BINARY, {static_cast<const uint8_t*>(buffer), static_cast<size_t>(size)});
}

// ---- TRegistryIniFile

TRegistryIniFile::TRegistryIniFile(const String& fileName) : fileName_(fileName) {
    // Made at once as the class library does; when that fails, reads answer
    // their defaults and writes raise.
    TRegistry reg;
    reg.OpenKey(SectionPath(""), true);
}

String TRegistryIniFile::SectionPath(const String& section) const {
    return "\\" + TrimDelimiters(fileName_) + (section.empty() ? "" : "\\" + section);
}

bool TRegistryIniFile::OpenSection(const String& section, TRegistry& reg) const {
    return reg.OpenKeyReadOnly(SectionPath(section));
}

String TRegistryIniFile::ReadString(const String& section, const String& ident,
                                    const String& defaultValue) const {
    TRegistry reg;
    if (!OpenSection(section, reg)) return defaultValue;
    switch (reg.GetDataType(ident)) {
        case rdString: return reg.ReadString(ident);
        case rdInteger: return IntToStr(reg.ReadInteger(ident));
        default: return defaultValue;
    }
}

int TRegistryIniFile::ReadInteger(const String& section, const String& ident, int defaultValue) const {
    TRegistry reg;
    if (!OpenSection(section, reg)) return defaultValue;
    switch (reg.GetDataType(ident)) {
        case rdInteger: return reg.ReadInteger(ident);
        case rdString: return StrToIntDef(reg.ReadString(ident), defaultValue);
        default: return defaultValue;
    }
}

bool TRegistryIniFile::ReadBool(const String& section, const String& ident, bool defaultValue) const {
    return ReadInteger(section, ident, defaultValue ? 1 : 0) != 0;
}

void TRegistryIniFile::WriteString(const String& section, const String& ident, const String& value) {
    TRegistry reg;
    if (!reg.OpenKey(SectionPath(section), true)) RaiseRegistry("Failed to set data for", ident);
    reg.WriteString(ident, value);
}

void TRegistryIniFile::WriteInteger(const String& section, const String& ident, int value) {
    TRegistry reg;
    if (!reg.OpenKey(SectionPath(section), true)) RaiseRegistry("Failed to set data for", ident);
    reg.WriteInteger(ident, value);
}

void TRegistryIniFile::WriteBool(const String& section, const String& ident, bool value) {
    WriteInteger(section, ident, value ? 1 : 0);
}

bool TRegistryIniFile::SectionExists(const String& section) const {
    return TRegistry().KeyExists(SectionPath(section));
}

bool TRegistryIniFile::ValueExists(const String& section, const String& ident) const {
    TRegistry reg;
    return OpenSection(section, reg) && reg.ValueExists(ident);
}

void TRegistryIniFile::ReadSections(TStrings* strings) const {
    TRegistry reg;
    if (OpenSection("", reg))
        reg.GetKeyNames(strings);
    else if (strings)
        strings->Clear();
}

void TRegistryIniFile::ReadSection(const String& section, TStrings* strings) const {
    TRegistry reg;
    if (OpenSection(section, reg))
        reg.GetValueNames(strings);
    else if (strings)
        strings->Clear();
}

void TRegistryIniFile::ReadSectionValues(const String& section, TStrings* strings) const {
    if (!strings) return;
    TStringList idents;
    ReadSection(section, &idents);
    strings->Clear();
    for (int i = 0; i < idents.Count(); ++i)
        strings->Add(idents.Strings(i) + "=" + ReadString(section, idents.Strings(i), ""));
}

void TRegistryIniFile::EraseSection(const String& section) { TRegistry().DeleteKey(SectionPath(section)); }

void TRegistryIniFile::DeleteKey(const String& section, const String& ident) {
    TRegistry reg;
    if (reg.OpenKey(SectionPath(section), false)) reg.DeleteValue(ident);
}

}  // namespace tarvel
