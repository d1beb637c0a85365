#pragma once
// Classes stored in component streams by the filer tests and the fuzz
// target: a skin-object stand-in whose children live in the binary property
// "Objects" (count word, then records of class name, size and stream), and a
// probe with a property of every kind and children in the child list.

#include <cstdint>
#include <cstring>
#include <initializer_list>
#include <memory>
#include <vector>

#include "platform/base/LittleEndian.h"
#include "platform/classlib/Collections.h"
#include "platform/classlib/ComponentText.h"
#include "platform/classlib/Filer.h"
#include "platform/classlib/FontIdents.h"
#include "platform/classlib/Graphics.h"
#include "platform/classlib/PropertyTable.h"

namespace tarvel::filer_fixture {

using Bytes = std::vector<uint8_t>;

inline Bytes StreamBytes(TMemoryStream& s) { return Bytes(s.Memory(), s.Memory() + s.Size()); }

// A memory stream holding `bytes`, at its start.
struct BytesStream : TMemoryStream {
    explicit BytesStream(const Bytes& bytes) {
        WriteBuffer(bytes.data(), static_cast<int64_t>(bytes.size()));
        SetPosition(0);
    }
};

// Bytes from pieces: numbers are bytes, texts their characters.
struct Piece {
    Piece(int byte) : bytes{static_cast<uint8_t>(byte)} {}
    Piece(const char* text) : bytes(text, text + std::strlen(text)) {}
    Bytes bytes;
};
inline Bytes Join(std::initializer_list<Piece> pieces) {
    Bytes out;
    for (const Piece& p : pieces) out.insert(out.end(), p.bytes.begin(), p.bytes.end());
    return out;
}

enum TSeKind { skNone, skForm, skCaption, skTitle, skClient };
inline constexpr const char* kKindIdents[] = {"skNone", "skForm", "skCaption", "skTitle", "skClient"};

// The binary record of one object: class name (int32 length and bytes), int32
// size, component stream.
void WriteObjectRecord(TStream& stream, TComponent* object);
TComponent* ReadObjectRecord(TStream& stream, TComponent* owner);

class TSeSkinObject : public TComponent {
    TARVEL_CLASS(TSeSkinObject, TComponent)

public:
    explicit TSeSkinObject(TComponent* owner) : TComponent(owner) {}

    TSeKind Kind() const { return kind_; }
    void SetKind(TSeKind kind) { kind_ = kind; }
    int Width() const { return width_; }
    void SetWidth(int width) { width_ = width; }
    int Height() const { return height_; }
    void SetHeight(int height) { height_ = height; }
    TColor Color() const { return color_; }
    void SetColor(TColor color) { color_ = color; }

    static void DeclareProperties(TPropertyTable& t) {
        t.Enumeration<&TSeSkinObject::Kind, &TSeSkinObject::SetKind>("Kind", kKindIdents)
            .Integer<&TSeSkinObject::Width, &TSeSkinObject::SetWidth>("Width")
            .Integer<&TSeSkinObject::Height, &TSeSkinObject::SetHeight>("Height")
            .Color<&TSeSkinObject::Color, &TSeSkinObject::SetColor>("Color");
    }

protected:
    void DefineProperties(TFiler& filer) override {
        filer.DefineBinaryProperty(
            "Objects", [this](TStream& s) { ReadObjects(s); }, [this](TStream& s) { WriteObjects(s); }, true);
    }

private:
    void WriteObjects(TStream& s) {
        uint8_t word[4];
        StoreLe32(word, static_cast<uint32_t>(ComponentCount()) | 0x000F0000u);
        s.WriteBuffer(word, 4);
        for (int i = 0; i < ComponentCount(); ++i) WriteObjectRecord(s, Components(i));
    }
    void ReadObjects(TStream& s) {
        uint8_t word[4];
        s.ReadBuffer(word, 4);
        const uint32_t w = LoadLe32(word);
        if ((w & 0x000F0000u) != 0x000F0000u) throw EReadError("Objects: no record count");
        for (uint32_t i = 0, n = w & 0xFFF0FFFFu; i < n; ++i) ReadObjectRecord(s, this);
    }

    TSeKind kind_ = skNone;
    int width_ = 0;
    int height_ = 0;
    TColor color_ = clWhite;
};

inline void WriteObjectRecord(TStream& stream, TComponent* object) {
    TMemoryStream body;
    TWriter(body).WriteRootComponent(object);
    uint8_t n[4];
    StoreLe32(n, static_cast<uint32_t>(object->ClassName().size()));
    stream.WriteBuffer(n, 4);
    stream.WriteBuffer(object->ClassName().data(), static_cast<int64_t>(object->ClassName().size()));
    StoreLe32(n, static_cast<uint32_t>(body.Size()));
    stream.WriteBuffer(n, 4);
    stream.WriteBuffer(body.Memory(), body.Size());
}

inline TComponent* ReadObjectRecord(TStream& stream, TComponent* owner) {
    const auto length = [&] {
        uint8_t n[4];
        stream.ReadBuffer(n, 4);
        const uint32_t v = LoadLe32(n);
        if (v > static_cast<uint64_t>(stream.Size() - stream.Position())) throw EReadError("Record too long");
        return static_cast<int64_t>(v);
    };
    String className(static_cast<size_t>(length()), '\0');
    stream.ReadBuffer(className.data(), static_cast<int64_t>(className.size()));
    TMemoryStream body;
    body.CopyFrom(stream, length());
    body.SetPosition(0);
    TClass cls = GetClass(className);
    if (!cls) throw EReadError("Class " + className + " not found");
    std::unique_ptr<TComponent> object(cls->Create<TComponent>(owner));
    TReader(body).ReadRootComponent(object.get());
    return object.release();
}

enum TProbeAlign { alNone, alTop, alBottom, alLeft, alRight, alClient };
inline constexpr const char* kAlignIdents[] = {"alNone", "alTop",   "alBottom",
                                               "alLeft", "alRight", "alClient"};
enum TProbeOption { poFirst, poSecond, poThird };
using TProbeOptions = TSet<TProbeOption>;
inline constexpr const char* kOptionIdents[] = {"poFirst", "poSecond", "poThird"};

class TProbeItem : public TCollectionItem {
    TARVEL_CLASS(TProbeItem, TCollectionItem)

public:
    using TCollectionItem::TCollectionItem;

    const String& Caption() const { return caption_; }
    void SetCaption(const String& caption) { caption_ = caption; }
    int Value() const { return value_; }
    void SetValue(int value) { value_ = value; }

    static void DeclareProperties(TPropertyTable& t) {
        t.Text<&TProbeItem::Caption, &TProbeItem::SetCaption>("Caption")
            .Integer<&TProbeItem::Value, &TProbeItem::SetValue>("Value", 0);
    }

private:
    String caption_;
    int value_ = 0;
};

// A property of every kind; Values (a list of integers) and Data (bytes)
// are defined through DefineProperties; owned components are its children.
class TFilerProbe : public TComponent {
    TARVEL_CLASS(TFilerProbe, TComponent)

public:
    explicit TFilerProbe(TComponent* owner) : TComponent(owner), items_(this, TProbeItem::StaticClass()) {}

    int Count() const { return count_; }
    void SetCount(int count) { count_ = count; }
    bool Enabled() const { return enabled_; }
    void SetEnabled(bool enabled) { enabled_ = enabled; }
    TProbeAlign Align() const { return align_; }
    void SetAlign(TProbeAlign align) { align_ = align; }
    TProbeOptions Options() const { return options_; }
    void SetOptions(TProbeOptions options) { options_ = options; }
    TColor Color() const { return color_; }
    void SetColor(TColor color) { color_ = color; }
    TFontCharset Charset() const { return charset_; }
    void SetCharset(TFontCharset charset) { charset_ = charset; }
    const String& Caption() const { return caption_; }
    void SetCaption(const String& caption) { caption_ = caption; }
    TFont* Font() const { return font_.get(); }
    TOwnedCollection* Items() const { return const_cast<TOwnedCollection*>(&items_); }

    std::vector<int> Values;
    Bytes Data;
    int LoadedCalls = 0;

    static void DeclareProperties(TPropertyTable& t) {
        t.Integer<&TFilerProbe::Count, &TFilerProbe::SetCount>("Count", 0)
            .Boolean<&TFilerProbe::Enabled, &TFilerProbe::SetEnabled>("Enabled", 1)
            .Enumeration<&TFilerProbe::Align, &TFilerProbe::SetAlign>("Align", kAlignIdents, alNone)
            .SetOf<&TFilerProbe::Options, &TFilerProbe::SetOptions>("Options", kOptionIdents)
            .Color<&TFilerProbe::Color, &TFilerProbe::SetColor>("Color", clWindow)
            .Charset<&TFilerProbe::Charset, &TFilerProbe::SetCharset>("Charset", DEFAULT_CHARSET)
            .Text<&TFilerProbe::Caption, &TFilerProbe::SetCaption>("Caption")
            .Object<&TFilerProbe::Font>("Font")
            .Collection<&TFilerProbe::Items>("Items");
    }

protected:
    void DefineProperties(TFiler& filer) override {
        filer.DefineProperty(
            "Values",
            [this](TReader& r) {
                Values.clear();
                r.ReadListBegin();
                while (!r.EndOfList()) Values.push_back(r.ReadInteger());
                r.ReadListEnd();
            },
            [this](TWriter& w) {
                w.WriteListBegin();
                for (int v : Values) w.WriteInteger(v);
                w.WriteListEnd();
            },
            !Values.empty());
        filer.DefineBinaryProperty(
            "Data",
            [this](TStream& s) {
                Data.resize(static_cast<size_t>(s.Size()));
                s.ReadBuffer(Data.data(), s.Size());
            },
            [this](TStream& s) { s.WriteBuffer(Data.data(), static_cast<int64_t>(Data.size())); },
            !Data.empty());
    }
    void GetChildren(const std::function<void(TComponent*)>& proc) override {
        for (int i = 0; i < ComponentCount(); ++i) proc(Components(i));
    }
    void Loaded() override {
        TComponent::Loaded();
        ++LoadedCalls;
    }

private:
    int count_ = 0;
    bool enabled_ = true;
    TProbeAlign align_ = alNone;
    TProbeOptions options_;
    TColor color_ = clWindow;
    TFontCharset charset_ = DEFAULT_CHARSET;
    String caption_;
    std::unique_ptr<TFont> font_ = std::make_unique<TFont>();
    TOwnedCollection items_;
};

inline void RegisterFixtureClasses() {
    RegisterClasses({TSeSkinObject::StaticClass(), TFilerProbe::StaticClass()});
    RegisterPropertyTable(TSeSkinObject::StaticClass(), &TSeSkinObject::DeclareProperties);
    RegisterPropertyTable(TFilerProbe::StaticClass(), &TFilerProbe::DeclareProperties);
    RegisterPropertyTable(TProbeItem::StaticClass(), &TProbeItem::DeclareProperties);
}

// The record of the skin file's component stream for a plain object "Form"
// of kind skForm, 300 x 200, no fill, no children.
inline Bytes FormRecord() {
    return Join({0x0D,
                 0,
                 0,
                 0,
                 "TSeSkinObject",
                 0x58,
                 0,
                 0,
                 0,  //
                 "TPF0",
                 0x0D,
                 "TSeSkinObject",
                 0x04,
                 "Form",  //
                 0x04,
                 "Kind",
                 0x07,
                 0x06,
                 "skForm",  //
                 0x05,
                 "Width",
                 0x03,
                 0x2C,
                 0x01,
                 0x06,
                 "Height",
                 0x03,
                 0xC8,
                 0x00,  //
                 0x05,
                 "Color",
                 0x07,
                 0x06,
                 "clNone",  //
                 0x07,
                 "Objects",
                 0x0A,
                 0x04,
                 0,
                 0,
                 0,
                 0x00,
                 0x00,
                 0x0F,
                 0x00,  //
                 0x00,
                 0x00});
}

// A probe with every property away from its default, a defined list and
// binary, two items and a child probe; then its component stream.
inline Bytes FullProbeStream() {
    TFilerProbe probe(nullptr);
    probe.SetName("Probe");
    probe.Tag = 7;
    probe.SetCount(-40000);
    probe.SetEnabled(false);
    probe.SetAlign(alClient);
    probe.SetOptions({poFirst, poThird});
    probe.SetColor(0x00123456);
    probe.SetCharset(GB2312_CHARSET);
    probe.SetCaption("It's\r\n\xE4\xB8\xAD");
    probe.Font()->SetName("Tahoma");
    probe.Font()->SetStyle({fsBold, fsStrikeOut});
    probe.Font()->SetPitch(fpFixed);
    auto* first = static_cast<TProbeItem*>(probe.Items()->Add());
    first->SetCaption("a");
    first->SetValue(300);
    probe.Items()->Add();
    probe.Values = {1, -2, 100000};
    probe.Data = {0, 1, 0xFF};
    auto* child = new TFilerProbe(&probe);
    child->SetName("Child");
    child->SetCount(5);
    TMemoryStream s;
    TWriter(s).WriteRootComponent(&probe);
    return StreamBytes(s);
}

}  // namespace tarvel::filer_fixture
