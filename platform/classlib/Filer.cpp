#include "platform/classlib/Filer.h"

#include <algorithm>
#include <cstring>
#include <limits>
#include <memory>

#include "platform/base/LittleEndian.h"
#include "platform/classlib/Collections.h"
#include "platform/classlib/Colors.h"
#include "platform/classlib/FontIdents.h"

namespace tarvel {

namespace {

constexpr char kSignature[4] = {'T', 'P', 'F', '0'};

// Data is read in pieces of this size, so that a length the stream does not
// hold fails at the stream's end instead of allocating what it claims.
constexpr int64_t kReadChunk = 64 * 1024;

thread_local int gReadNesting = 0;

// Counts a level of nesting for as long as it lives; one too many raises E.
template <class E>
class DepthGuard {
public:
    explicit DepthGuard(int& depth) : depth_(depth) {
        if (++depth_ > kMaxStreamNesting) {
            --depth_;
            throw E("Component stream nested more than " + IntToStr(kMaxStreamNesting) + " deep");
        }
    }
    ~DepthGuard() { --depth_; }
    DepthGuard(const DepthGuard&) = delete;
    DepthGuard& operator=(const DepthGuard&) = delete;

private:
    int& depth_;
};

struct NestingGuard : DepthGuard<EReadError> {
    NestingGuard() : DepthGuard(gReadNesting) {}
};
using WriteDepthGuard = DepthGuard<EWriteError>;

bool IsKnownTag(uint8_t tag) {
    switch (static_cast<TValueType>(tag)) {
        case TValueType::vaNull:
        case TValueType::vaList:
        case TValueType::vaInt8:
        case TValueType::vaInt16:
        case TValueType::vaInt32:
        case TValueType::vaString:
        case TValueType::vaIdent:
        case TValueType::vaFalse:
        case TValueType::vaTrue:
        case TValueType::vaBinary:
        case TValueType::vaSet:
        case TValueType::vaLString:
        case TValueType::vaCollection:
        case TValueType::vaWString:
        case TValueType::vaUTF8String: return true;
    }
    return false;
}

bool IsIntegerTag(TValueType t) {
    return t == TValueType::vaInt8 || t == TValueType::vaInt16 || t == TValueType::vaInt32;
}

bool IsTextTag(TValueType t) {
    return t == TValueType::vaString || t == TValueType::vaLString || t == TValueType::vaWString ||
           t == TValueType::vaUTF8String;
}

[[noreturn]] void InvalidValue(const TPropInfo& info) {
    throw EReadError("Invalid value for property " + info.Name);
}

int64_t IdentIndex(std::span<const char* const> idents, std::string_view ident) {
    for (size_t i = 0; i < idents.size(); ++i) {
        if (SameText(idents[i], ident)) return static_cast<int64_t>(i);
    }
    return -1;
}

TComponent* CreateComponent(const String& className, TComponent* owner) {
    TClass cls = GetClass(className);
    if (!cls || !cls->InheritsFrom(TComponent::StaticClass()))
        throw EReadError("Class " + className + " not found");
    try {
        return cls->Create<TComponent>(owner);
    } catch (const EClassError& e) {
        throw EReadError(e.Message());
    }
}

}  // namespace

// ---- TReader -------------------------------------------------------------------

TComponent* TReader::ReadRootComponent(TComponent* root) {
    ReadSignature();
    const String className = ReadStr();
    const String name = ReadStr();
    std::unique_ptr<TComponent> made;
    if (!root) {
        made.reset(CreateComponent(className, nullptr));
        root = made.get();
    }
    {
        TLoadingScope scope(root);
        root->SetName(name);
        ReadComponentBody(root);
        scope.Finish();
    }
    made.release();
    return root;
}

void TReader::ReadComponentBody(TComponent* component) {
    NestingGuard guard;
    while (!EndOfList()) ReadProperty(component);
    ReadListEnd();
    while (!EndOfList()) ReadChild(component);
    ReadListEnd();
}

void TReader::ReadChild(TComponent* parent) {
    const String className = ReadStr();
    const String name = ReadStr();
    TComponent* child = CreateComponent(className, parent);
    child->SetName(name);
    ReadComponentBody(child);
}

void TReader::ReadProperty(TPersistent* instance) {
    const String name = ReadStr();
    std::string_view rest = name;
    TPersistent* target = instance;
    // "Font.Name": each part before the last names a sub-object.
    for (size_t dot = rest.find('.'); target && dot != std::string_view::npos; dot = rest.find('.')) {
        const TPropInfo* info = FindPropInfo(target->ClassType(), rest.substr(0, dot));
        target = info && info->Kind == TPropKind::Class ? info->GetObject(*target) : nullptr;
        rest.remove_prefix(dot + 1);
    }
    if (!target) return SkipValue();
    if (const TPropInfo* info = FindPropInfo(target->ClassType(), rest)) return ReadPropValue(*target, *info);
    pendingName_ = String(rest);
    pendingHandled_ = false;
    target->DefineProperties(*this);
    if (!pendingHandled_) {
        pendingHandled_ = true;
        SkipValue();
    }
}

void TReader::ReadPropValue(TPersistent& instance, const TPropInfo& info) {
    const TValueType type = ReadValue();
    switch (info.Kind) {
        case TPropKind::Integer:
            if (!IsIntegerTag(type)) InvalidValue(info);
            return info.SetOrd(instance, ReadIntegerData(type));
        case TPropKind::Boolean:
            if (type != TValueType::vaTrue && type != TValueType::vaFalse) InvalidValue(info);
            return info.SetOrd(instance, type == TValueType::vaTrue ? 1 : 0);
        case TPropKind::Enumeration: {
            if (type != TValueType::vaIdent) InvalidValue(info);
            const int64_t index = IdentIndex(info.Idents, ReadStringData(type));
            if (index < 0) InvalidValue(info);
            return info.SetOrd(instance, index);
        }
        case TPropKind::Set: {
            if (type != TValueType::vaSet) InvalidValue(info);
            uint64_t bits = 0;
            for (const String& ident : ReadSetData()) {
                const int64_t index = IdentIndex(info.Idents, ident);
                if (index < 0 || index >= 64) InvalidValue(info);
                bits |= uint64_t{1} << index;
            }
            return info.SetOrd(instance, static_cast<int64_t>(bits));
        }
        case TPropKind::Color: {
            TColor color = 0;
            if (IsIntegerTag(type)) {
                color = static_cast<TColor>(ReadIntegerData(type));
            } else if (type != TValueType::vaIdent || !IdentToColor(ReadStringData(type), color)) {
                InvalidValue(info);
            }
            return info.SetOrd(instance, color);
        }
        case TPropKind::Charset: {
            int charset = 0;
            if (IsIntegerTag(type)) {
                charset = ReadIntegerData(type);
            } else if (type != TValueType::vaIdent || !IdentToCharset(ReadStringData(type), charset)) {
                InvalidValue(info);
            }
            if (charset < 0 || charset > 255) InvalidValue(info);
            return info.SetOrd(instance, charset);
        }
        case TPropKind::String:
            if (!IsTextTag(type)) InvalidValue(info);
            return info.SetStr(instance, ReadStringData(type));
        case TPropKind::Collection:
            if (type != TValueType::vaCollection) InvalidValue(info);
            return ReadCollection(info.GetObject(instance));
        case TPropKind::Class: break;
    }
    // A sub-object is stored by its own properties, never as one value.
    InvalidValue(info);
}

void TReader::ReadCollection(TPersistent* object) {
    if (!object || !object->Is<TCollection>()) throw EReadError("Invalid collection in component stream");
    auto& collection = static_cast<TCollection&>(*object);
    BatchUpdate(collection, [&] {
        collection.Clear();
        while (!EndOfList()) {
            NestingGuard guard;
            if (IsIntegerTag(NextValue())) ReadInteger();  // the item's order: the items come in it
            ReadListBegin();
            TCollectionItem* item = collection.Add();
            while (!EndOfList()) ReadProperty(item);
            ReadListEnd();
        }
        ReadListEnd();
    });
}

void TReader::DefineProperty(const String& name, const TReaderProc& read, const TWriterProc&, bool) {
    if (pendingHandled_ || !SameText(name, pendingName_)) return;
    pendingHandled_ = true;
    if (read) {
        read(*this);
    } else {
        SkipValue();
    }
}

void TReader::DefineBinaryProperty(const String& name, const TStreamProc& read, const TStreamProc&, bool) {
    if (pendingHandled_ || !SameText(name, pendingName_)) return;
    pendingHandled_ = true;
    CheckValue(TValueType::vaBinary);
    const std::vector<uint8_t> bytes = ReadBinaryData();
    TMemoryStream data;
    data.WriteBuffer(bytes.data(), static_cast<int64_t>(bytes.size()));
    data.SetPosition(0);
    if (read) read(data);
}

void TReader::ReadSignature() {
    char signature[4];
    Read(signature, 4);
    if (std::memcmp(signature, kSignature, 4) != 0)
        throw EReadError("Invalid stream format: no component signature");
}

TValueType TReader::NextValue() {
    if (peek_ < 0) {
        uint8_t b = 0;
        stream_.ReadBuffer(&b, 1);
        peek_ = b;
    }
    return static_cast<TValueType>(peek_);
}

TValueType TReader::ReadValue() {
    const uint8_t tag = ReadByte();
    if (!IsKnownTag(tag)) throw EReadError("Invalid stream format: unknown value type $" + IntToHex(tag, 2));
    return static_cast<TValueType>(tag);
}

void TReader::CheckValue(TValueType expected) {
    if (ReadValue() != expected) throw EReadError("Invalid stream format: unexpected value type");
}

String TReader::ReadStr() {
    const uint8_t length = ReadByte();
    String s(length, '\0');
    Read(s.data(), length);
    return s;
}

int32_t TReader::ReadInteger() {
    const TValueType type = ReadValue();
    if (!IsIntegerTag(type)) throw EReadError("Invalid stream format: integer expected");
    return ReadIntegerData(type);
}

bool TReader::ReadBoolean() {
    const TValueType type = ReadValue();
    if (type != TValueType::vaTrue && type != TValueType::vaFalse)
        throw EReadError("Invalid stream format: boolean expected");
    return type == TValueType::vaTrue;
}

String TReader::ReadString() {
    const TValueType type = ReadValue();
    if (!IsTextTag(type)) throw EReadError("Invalid stream format: text expected");
    return ReadStringData(type);
}

String TReader::ReadIdent() {
    CheckValue(TValueType::vaIdent);
    return ReadStr();
}

int32_t TReader::ReadIntegerData(TValueType type) {
    uint8_t b[4] = {};
    switch (type) {
        case TValueType::vaInt8: Read(b, 1); return static_cast<int8_t>(b[0]);
        case TValueType::vaInt16: Read(b, 2); return static_cast<int16_t>(LoadLe16(b));
        default: Read(b, 4); return static_cast<int32_t>(LoadLe32(b));
    }
}

String TReader::ReadStringData(TValueType type) {
    if (type == TValueType::vaString || type == TValueType::vaIdent) return ReadStr();
    if (type == TValueType::vaWString) {
        const std::vector<uint8_t> bytes = ReadBytes(int64_t{2} * ReadLength());
        WideString wide(bytes.size() / 2, u'\0');
        for (size_t i = 0; i < wide.size(); ++i) wide[i] = static_cast<char16_t>(LoadLe16(&bytes[2 * i]));
        return WideToUtf8(wide);
    }
    const std::vector<uint8_t> bytes = ReadBytes(ReadLength());
    return String(bytes.begin(), bytes.end());
}

std::vector<uint8_t> TReader::ReadBinaryData() { return ReadBytes(ReadLength()); }

std::vector<String> TReader::ReadSetData() {
    std::vector<String> idents;
    for (String ident = ReadStr(); !ident.empty(); ident = ReadStr()) idents.push_back(std::move(ident));
    return idents;
}

void TReader::SkipValue() {
    switch (const TValueType type = ReadValue()) {
        case TValueType::vaNull:
        case TValueType::vaFalse:
        case TValueType::vaTrue: return;
        case TValueType::vaList: {
            NestingGuard guard;
            while (!EndOfList()) SkipValue();
            return ReadListEnd();
        }
        case TValueType::vaInt8:
        case TValueType::vaInt16:
        case TValueType::vaInt32: ReadIntegerData(type); return;
        case TValueType::vaString:
        case TValueType::vaIdent: return SkipBytes(ReadByte());
        case TValueType::vaBinary:
        case TValueType::vaLString:
        case TValueType::vaUTF8String: return SkipBytes(ReadLength());
        case TValueType::vaWString: return SkipBytes(int64_t{2} * ReadLength());
        case TValueType::vaSet:
            for (uint8_t n = ReadByte(); n != 0; n = ReadByte()) SkipBytes(n);
            return;
        case TValueType::vaCollection:
            while (!EndOfList()) {
                NestingGuard guard;
                if (IsIntegerTag(NextValue())) SkipValue();
                ReadListBegin();
                while (!EndOfList()) {
                    SkipBytes(ReadByte());
                    SkipValue();
                }
                ReadListEnd();
            }
            return ReadListEnd();
    }
}

void TReader::Read(void* buffer, int64_t count) {
    if (count <= 0) return;
    auto* p = static_cast<uint8_t*>(buffer);
    if (peek_ >= 0) {
        *p++ = static_cast<uint8_t>(peek_);
        peek_ = -1;
        --count;
    }
    stream_.ReadBuffer(p, count);
}

uint8_t TReader::ReadByte() {
    uint8_t b = 0;
    Read(&b, 1);
    return b;
}

int32_t TReader::ReadInt32() {
    uint8_t b[4];
    Read(b, 4);
    return static_cast<int32_t>(LoadLe32(b));
}

int32_t TReader::ReadLength() {
    const int32_t length = ReadInt32();
    if (length < 0) throw EReadError("Invalid stream format: negative length");
    return length;
}

std::vector<uint8_t> TReader::ReadBytes(int64_t count) {
    std::vector<uint8_t> bytes;
    while (static_cast<int64_t>(bytes.size()) < count) {
        const size_t have = bytes.size();
        const int64_t n = std::min(kReadChunk, count - static_cast<int64_t>(have));
        bytes.resize(have + static_cast<size_t>(n));
        Read(bytes.data() + have, n);
    }
    return bytes;
}

void TReader::SkipBytes(int64_t count) {
    uint8_t buffer[4096];
    while (count > 0) {
        const int64_t n = std::min<int64_t>(count, sizeof buffer);
        Read(buffer, n);
        count -= n;
    }
}

// ---- TWriter -------------------------------------------------------------------

void TWriter::WriteRootComponent(TComponent* root) {
    WriteSignature();
    WriteComponent(root);
}

void TWriter::WriteComponent(TComponent* component) {
    WriteDepthGuard guard(depth_);
    WriteStr(component->ClassName());
    WriteStr(component->Name());
    WriteProperties(component);
    WriteListEnd();
    component->GetChildren([this](TComponent* child) { WriteComponent(child); });
    WriteListEnd();
}

void TWriter::WriteProperties(TPersistent* instance) { WriteProperties(instance, String()); }

void TWriter::WriteProperties(TPersistent* instance, const String& prefix) {
    for (const TPropInfo* info : GetPropList(instance->ClassType())) WriteProperty(*instance, *info, prefix);
    const String outer = prefix_;
    prefix_ = prefix;
    instance->DefineProperties(*this);
    prefix_ = outer;
}

void TWriter::WriteProperty(TPersistent& instance, const TPropInfo& info, const String& prefix) {
    const String path = prefix + info.Name;
    switch (info.Kind) {
        case TPropKind::String: {
            const String text = info.GetStr(instance);
            if (text.empty()) return;
            WriteStr(path);
            return WriteString(text);
        }
        case TPropKind::Class: {
            TPersistent* sub = info.GetObject(instance);
            if (!sub) return;
            WriteDepthGuard guard(depth_);
            return WriteProperties(sub, path + ".");
        }
        case TPropKind::Collection: {
            TPersistent* sub = info.GetObject(instance);
            if (!sub || !sub->Is<TCollection>() || static_cast<TCollection*>(sub)->Count() == 0) return;
            WriteStr(path);
            return WriteCollection(sub);
        }
        default: {
            const int64_t value = info.GetOrd(instance);
            if (info.Default && *info.Default == value) return;
            WriteStr(path);
            return WriteOrdinal(info, value);
        }
    }
}

void TWriter::WriteOrdinal(const TPropInfo& info, int64_t value) {
    String ident;
    switch (info.Kind) {
        case TPropKind::Boolean: return WriteBoolean(value != 0);
        case TPropKind::Enumeration:
            if (value < 0 || value >= static_cast<int64_t>(info.Idents.size()))
                throw EWriteError("Invalid value of property " + info.Name);
            return WriteIdent(info.Idents[static_cast<size_t>(value)]);
        case TPropKind::Set: {
            std::vector<String> members;
            for (unsigned bit = 0; bit < 64; ++bit) {
                if (((static_cast<uint64_t>(value) >> bit) & 1) == 0) continue;
                if (bit >= info.Idents.size()) throw EWriteError("Invalid value of property " + info.Name);
                members.emplace_back(info.Idents[bit]);
            }
            return WriteSet(members);
        }
        case TPropKind::Color:
            if (ColorToIdent(static_cast<TColor>(value), ident)) return WriteIdent(ident);
            return WriteInteger(static_cast<int32_t>(static_cast<TColor>(value)));
        case TPropKind::Charset:
            if (CharsetToIdent(static_cast<int>(value), ident)) return WriteIdent(ident);
            return WriteInteger(value);
        default: return WriteInteger(value);
    }
}

void TWriter::WriteCollection(TPersistent* object) {
    auto& collection = static_cast<TCollection&>(*object);
    WriteValue(TValueType::vaCollection);
    for (int i = 0; i < collection.Count(); ++i) {
        WriteDepthGuard guard(depth_);
        WriteListBegin();
        WriteProperties(collection.Items(i));
        WriteListEnd();
    }
    WriteListEnd();
}

void TWriter::DefineProperty(const String& name, const TReaderProc&, const TWriterProc& write, bool hasData) {
    if (!hasData || !write) return;
    WriteStr(prefix_ + name);
    write(*this);
}

void TWriter::DefineBinaryProperty(const String& name, const TStreamProc&, const TStreamProc& write,
                                   bool hasData) {
    if (!hasData || !write) return;
    TMemoryStream data;
    write(data);
    WriteStr(prefix_ + name);
    WriteBinary(data.Memory(), data.Size());
}

void TWriter::WriteSignature() { stream_.WriteBuffer(kSignature, 4); }

void TWriter::WriteStr(std::string_view text) {
    if (text.size() > 255) throw EWriteError("Text of more than 255 bytes where a short string is stored");
    WriteByte(static_cast<uint8_t>(text.size()));
    stream_.WriteBuffer(text.data(), static_cast<int64_t>(text.size()));
}

void TWriter::WriteInteger(int64_t value) {
    if (value >= std::numeric_limits<int8_t>::min() && value <= std::numeric_limits<int8_t>::max()) {
        WriteValue(TValueType::vaInt8);
        return WriteByte(static_cast<uint8_t>(value));
    }
    if (value >= std::numeric_limits<int16_t>::min() && value <= std::numeric_limits<int16_t>::max()) {
        WriteValue(TValueType::vaInt16);
        const uint8_t b[2] = {static_cast<uint8_t>(value), static_cast<uint8_t>(value >> 8)};
        return stream_.WriteBuffer(b, 2);
    }
    if (value < std::numeric_limits<int32_t>::min() || value > std::numeric_limits<int32_t>::max())
        throw EWriteError("Integer " + IntToStr(value) + " does not fit 32 bits");
    WriteValue(TValueType::vaInt32);
    WriteInt32(static_cast<int32_t>(value));
}

void TWriter::WriteString(std::string_view text) {
    const bool ascii =
        std::all_of(text.begin(), text.end(), [](char c) { return static_cast<uint8_t>(c) < 0x80; });
    if (ascii && text.size() <= 255) {
        WriteValue(TValueType::vaString);
        return WriteStr(text);
    }
    if (text.size() > static_cast<size_t>(std::numeric_limits<int32_t>::max()))
        throw EWriteError("Text too long for a component stream");
    WriteValue(ascii ? TValueType::vaLString : TValueType::vaUTF8String);
    WriteInt32(static_cast<int32_t>(text.size()));
    stream_.WriteBuffer(text.data(), static_cast<int64_t>(text.size()));
}

void TWriter::WriteIdent(std::string_view ident) {
    WriteValue(TValueType::vaIdent);
    WriteStr(ident);
}

void TWriter::WriteBinary(const void* data, int64_t size) {
    if (size < 0 || size > std::numeric_limits<int32_t>::max())
        throw EWriteError("Binary value too long for a component stream");
    WriteValue(TValueType::vaBinary);
    WriteInt32(static_cast<int32_t>(size));
    stream_.WriteBuffer(data, size);
}

void TWriter::WriteSet(const std::vector<String>& idents) {
    WriteValue(TValueType::vaSet);
    for (const String& ident : idents) {
        if (ident.empty()) throw EWriteError("An empty identifier cannot be a set member");
        WriteStr(ident);
    }
    WriteStr("");
}

void TWriter::WriteInt32(int32_t value) {
    uint8_t b[4];
    StoreLe32(b, static_cast<uint32_t>(value));
    stream_.WriteBuffer(b, 4);
}

}  // namespace tarvel
