#pragma once
// The binary component stream: "TPF0", then the root component as its class
// name and Name (short strings: a length byte and the bytes), its properties
// (a short-string name and a tagged value each) up to a 0 byte, and its child
// components, each stored the same way, up to a 0 byte.
//
// Properties are matched by name through the classes' property tables;
// dotted names reach sub-objects ("Font.Name"); the value of a name no table
// or DefineProperties knows is read and dropped. Damaged data raises
// EReadError: an unknown value tag, a value of the wrong kind, an unknown
// identifier, a class that is not registered, a length the stream does not
// hold, nesting deeper than kMaxStreamNesting. What SetName and the property
// setters raise passes through as it is.

#include <cstdint>
#include <functional>

#include "platform/base/Strings.h"
#include "platform/classlib/Components.h"
#include "platform/classlib/PropertyTable.h"
#include "platform/classlib/Streams.h"

namespace tarvel {

enum class TValueType : uint8_t {
    vaNull = 0x00,  // also ends lists, collections and property lists
    vaList = 0x01,
    vaInt8 = 0x02,
    vaInt16 = 0x03,
    vaInt32 = 0x04,
    vaString = 0x06,  // up to 255 bytes
    vaIdent = 0x07,
    vaFalse = 0x08,
    vaTrue = 0x09,
    vaBinary = 0x0A,
    vaSet = 0x0B,
    vaLString = 0x0C,
    vaCollection = 0x0E,
    vaWString = 0x12,  // UTF-16 units
    vaUTF8String = 0x14,
};

// Components, lists and collection items inside one another, counted over
// every reader of the thread so that records nested through binary
// properties are limited too.
constexpr int kMaxStreamNesting = 32;

class TReader;
class TWriter;

class TFiler {
public:
    using TReaderProc = std::function<void(TReader& reader)>;
    using TWriterProc = std::function<void(TWriter& writer)>;
    using TStreamProc = std::function<void(TStream& data)>;

    explicit TFiler(TStream& stream) : stream_(stream) {}
    virtual ~TFiler() = default;
    TFiler(const TFiler&) = delete;
    TFiler& operator=(const TFiler&) = delete;

    // Called from DefineProperties: the reader hands the value of a property
    // of that name to `read`; the writer stores `write`'s value when hasData.
    virtual void DefineProperty(const String& name, const TReaderProc& read, const TWriterProc& write,
                                bool hasData) = 0;
    // The same for a binary value: `read` gets a stream of exactly the
    // stored bytes; what `write` writes into its stream is stored.
    virtual void DefineBinaryProperty(const String& name, const TStreamProc& read, const TStreamProc& write,
                                      bool hasData) = 0;

protected:
    TStream& stream_;
};

class TReader : public TFiler {
public:
    explicit TReader(TStream& stream) : TFiler(stream) {}

    // Reads one whole component stream into `root`, or into a new component
    // of the stored class (made with no owner) when root is null, and answers
    // it. A component this call made is freed again when reading fails.
    // Loaded runs on every component read, once all are read.
    TComponent* ReadRootComponent(TComponent* root);

    void DefineProperty(const String& name, const TReaderProc& read, const TWriterProc& write,
                        bool hasData) override;
    void DefineBinaryProperty(const String& name, const TStreamProc& read, const TStreamProc& write,
                              bool hasData) override;

    // Pieces of the format, for DefineProperty readers and for converters.
    void ReadSignature();
    TValueType NextValue();  // the next tag, left unread
    TValueType ReadValue();  // reads a tag; an unknown one is an error
    bool EndOfList() { return NextValue() == TValueType::vaNull; }
    void ReadListBegin() { CheckValue(TValueType::vaList); }
    void ReadListEnd() { CheckValue(TValueType::vaNull); }
    String ReadStr();  // a short string
    int32_t ReadInteger();
    bool ReadBoolean();
    String ReadString();  // any of the text tags, as UTF-8
    String ReadIdent();
    // The data of a value whose tag was just read.
    int32_t ReadIntegerData(TValueType type);
    String ReadStringData(TValueType type);
    std::vector<uint8_t> ReadBinaryData();  // the length and the bytes
    std::vector<String> ReadSetData();
    void SkipValue();

private:
    void ReadComponentBody(TComponent* component);
    void ReadChild(TComponent* parent);
    void ReadProperty(TPersistent* instance);
    void ReadPropValue(TPersistent& instance, const TPropInfo& info);
    void ReadCollection(TPersistent* collection);
    void CheckValue(TValueType expected);
    void Read(void* buffer, int64_t count);
    uint8_t ReadByte();
    int32_t ReadInt32();
    int32_t ReadLength();
    std::vector<uint8_t> ReadBytes(int64_t count);
    void SkipBytes(int64_t count);

    int peek_ = -1;  // a byte read ahead by NextValue
    String pendingName_;
    bool pendingHandled_ = true;
};

class TWriter : public TFiler {
public:
    explicit TWriter(TStream& stream) : TFiler(stream) {}

    // "TPF0" and the root with its properties and children.
    void WriteRootComponent(TComponent* root);
    void WriteComponent(TComponent* component);
    // The published properties in table order, then the defined ones.
    void WriteProperties(TPersistent* instance);

    void DefineProperty(const String& name, const TReaderProc& read, const TWriterProc& write,
                        bool hasData) override;
    void DefineBinaryProperty(const String& name, const TStreamProc& read, const TStreamProc& write,
                              bool hasData) override;

    // Pieces of the format, for DefineProperty writers and for converters.
    void WriteSignature();
    void WriteValue(TValueType type) { WriteByte(static_cast<uint8_t>(type)); }
    void WriteListBegin() { WriteValue(TValueType::vaList); }
    void WriteListEnd() { WriteValue(TValueType::vaNull); }
    void WriteStr(std::string_view text);  // a short string; EWriteError over 255 bytes
    void WriteInteger(int64_t value);      // the smallest integer tag; EWriteError outside 32 bits
    void WriteBoolean(bool value) { WriteValue(value ? TValueType::vaTrue : TValueType::vaFalse); }
    // Plain ASCII as vaString or vaLString, other text as vaUTF8String.
    void WriteString(std::string_view text);
    void WriteIdent(std::string_view ident);
    void WriteBinary(const void* data, int64_t size);
    void WriteSet(const std::vector<String>& idents);

private:
    void WriteProperties(TPersistent* instance, const String& prefix);
    void WriteProperty(TPersistent& instance, const TPropInfo& info, const String& prefix);
    void WriteOrdinal(const TPropInfo& info, int64_t value);
    void WriteCollection(TPersistent* collection);
    void WriteByte(uint8_t b) { stream_.WriteBuffer(&b, 1); }
    void WriteInt32(int32_t value);

    String prefix_;  // of the names DefineProperties stores under
    int depth_ = 0;
};

}  // namespace tarvel
