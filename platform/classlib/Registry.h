#pragma once
// The class library's view of the registry (platform/system/Registry.h): a
// current key opened by path, typed reads and writes of its values, and an
// ini-file face whose sections are sub-keys. Every call reads the user's
// registry file as it is now; every change is written at once.

#include "platform/classlib/Objects.h"
#include "platform/classlib/StringLists.h"
#include "platform/system/Registry.h"

namespace tarvel {

class ERegistryException : public Exception {
public:
    using Exception::Exception;
};

enum TRegDataType { rdUnknown, rdString, rdInteger, rdBinary };

class TRegistry : public TObject {
    TARVEL_CLASS(TRegistry, TObject)

public:
    TRegistry() = default;

    HKEY RootKey() const { return root_; }
    void SetRootKey(HKEY root);  // closes the current key
    // The open key's path below the root key, "" when none is open (the
    // values then are the root key's).
    const String& CurrentPath() const { return current_; }

    // A path starting with "\" is below the root key, any other below the
    // current key. False when the key is missing and may not be made, or
    // could not be made.
    bool OpenKey(const String& key, bool canCreate);
    // Writes while it is open raise ERegistryException.
    bool OpenKeyReadOnly(const String& key);
    void CloseKey();

    bool CreateKey(const String& key);
    bool DeleteKey(const String& key);  // with everything below it
    bool KeyExists(const String& key) const;
    bool HasSubKeys() const;
    void GetKeyNames(TStrings* strings) const;
    void GetValueNames(TStrings* strings) const;

    bool ValueExists(const String& name) const;
    bool DeleteValue(const String& name);
    TRegDataType GetDataType(const String& name) const;  // rdUnknown when missing
    int GetDataSize(const String& name) const;           // -1 when missing

    // "" for a missing value; ERegistryException for one of another type.
    String ReadString(const String& name) const;
    // ERegistryException for a missing value or one of another type.
    int ReadInteger(const String& name) const;
    bool ReadBool(const String& name) const { return ReadInteger(name) != 0; }
    // The bytes copied; 0 for a missing value; ERegistryException for one
    // of another type or larger than the buffer.
    int ReadBinaryData(const String& name, void* buffer, int size) const;

    // ERegistryException when the value cannot be written.
    void WriteString(const String& name, const String& value);
    void WriteInteger(const String& name, int value);
    void WriteBool(const String& name, bool value) { WriteInteger(name, value ? 1 : 0); }
    void WriteBinaryData(const String& name, const void* buffer, int size);

private:
    String PathOf(const String& key) const;
    const RegistryValue* Value(const RegistryFile& file, const String& name) const;
    void Write(const String& name, RegDataType type, std::span<const uint8_t> data);

    HKEY root_ = HKEY_CURRENT_USER;
    String current_;
    bool readOnly_ = false;
};

// An ini file kept in the registry: the key `fileName` below
// HKEY_CURRENT_USER, its sub-keys the sections, their values the keys.
// Reads answer the default for what is missing or cannot be read as asked;
// writes raise ERegistryException when they fail.
class TRegistryIniFile : public TObject {
    TARVEL_CLASS(TRegistryIniFile, TObject)

public:
    explicit TRegistryIniFile(const String& fileName);

    const String& FileName() const { return fileName_; }

    String ReadString(const String& section, const String& ident, const String& defaultValue) const;
    void WriteString(const String& section, const String& ident, const String& value);
    // A number from an integer value, or from a text value holding one.
    int ReadInteger(const String& section, const String& ident, int defaultValue) const;
    void WriteInteger(const String& section, const String& ident, int value);
    bool ReadBool(const String& section, const String& ident, bool defaultValue) const;
    void WriteBool(const String& section, const String& ident, bool value);

    bool SectionExists(const String& section) const;
    bool ValueExists(const String& section, const String& ident) const;
    void ReadSections(TStrings* strings) const;
    void ReadSection(const String& section, TStrings* strings) const;        // the idents
    void ReadSectionValues(const String& section, TStrings* strings) const;  // "ident=value"
    void EraseSection(const String& section);
    void DeleteKey(const String& section, const String& ident);
    void UpdateFile() {}  // every write is already in the file

private:
    String SectionPath(const String& section) const;
    // Reads through a registry opened read-only on the section; false when it is missing.
    bool OpenSection(const String& section, TRegistry& reg) const;

    String fileName_;
};

}  // namespace tarvel
