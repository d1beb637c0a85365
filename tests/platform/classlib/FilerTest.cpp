#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <memory>

#include "FilerFixture.h"

namespace tarvel {
namespace {

using namespace filer_fixture;

class FilerTest : public ::testing::Test {
protected:
    void SetUp() override { RegisterFixtureClasses(); }
};

// A probe stream: header, the given property bytes, end of properties, no children.
Bytes ProbeWith(const Bytes& properties) {
    Bytes out = Join({"TPF0", 11, "TFilerProbe", 1, "P"});
    out.insert(out.end(), properties.begin(), properties.end());
    out.push_back(0);
    out.push_back(0);
    return out;
}

void ReadInto(TComponent* root, const Bytes& bytes) {
    BytesStream s(bytes);
    TReader(s).ReadRootComponent(root);
}

TEST_F(FilerTest, SkinObjectRecordDecodesAndEncodesByteForByte) {
    const Bytes record = FormRecord();
    BytesStream in(record);
    std::unique_ptr<TComponent> object(ReadObjectRecord(in, nullptr));
    EXPECT_EQ(in.Position(), in.Size());

    auto* form = static_cast<TSeSkinObject*>(object.get());
    EXPECT_EQ(form->ClassName(), "TSeSkinObject");
    EXPECT_EQ(form->Name(), "Form");
    EXPECT_EQ(form->Kind(), skForm);
    EXPECT_EQ(form->Width(), 300);
    EXPECT_EQ(form->Height(), 200);
    EXPECT_EQ(form->Color(), clNone);
    EXPECT_EQ(form->ComponentCount(), 0);

    TMemoryStream out;
    WriteObjectRecord(out, form);
    EXPECT_EQ(StreamBytes(out), record);
}

TEST_F(FilerTest, ChildrenInTheObjectsPropertyNestAndRoundTrip) {
    TSeSkinObject form(nullptr);
    form.SetName("Form");
    auto* caption = new TSeSkinObject(&form);
    caption->SetName("Caption");
    caption->SetKind(skCaption);
    auto* title = new TSeSkinObject(caption);
    title->SetName("Title");
    title->SetColor(clBtnFace);
    title->SetWidth(-70000);

    TMemoryStream first;
    WriteObjectRecord(first, &form);
    first.SetPosition(0);
    std::unique_ptr<TComponent> back(ReadObjectRecord(first, nullptr));
    auto* readTitle = static_cast<TSeSkinObject*>(back->FindComponent("caption")->FindComponent("TITLE"));
    ASSERT_NE(readTitle, nullptr);
    EXPECT_EQ(readTitle->Color(), clBtnFace);
    EXPECT_EQ(readTitle->Width(), -70000);

    TMemoryStream second;
    WriteObjectRecord(second, back.get());
    EXPECT_EQ(StreamBytes(second), StreamBytes(first));
}

TEST_F(FilerTest, EveryValueTagReachesItsProperty) {
    struct Case {
        const char* what;
        Bytes property;
        std::function<bool(TFilerProbe&)> holds;
    };
    const Case cases[] = {
        {"int8", Join({5, "Count", 0x02, 0xFB}), [](TFilerProbe& p) { return p.Count() == -5; }},
        {"int16", Join({5, "Count", 0x03, 0x2C, 0x01}), [](TFilerProbe& p) { return p.Count() == 300; }},
        {"int32", Join({5, "Count", 0x04, 0x70, 0x11, 0x01, 0x00}),
         [](TFilerProbe& p) { return p.Count() == 70000; }},
        {"name ignores case", Join({5, "cOUNT", 0x02, 1}), [](TFilerProbe& p) { return p.Count() == 1; }},
        {"false", Join({7, "Enabled", 0x08}), [](TFilerProbe& p) { return !p.Enabled(); }},
        {"enumeration", Join({5, "Align", 0x07, 6, "alleft"}),
         [](TFilerProbe& p) { return p.Align() == alLeft; }},
        {"set", Join({7, "Options", 0x0B, 8, "poSecond", 7, "poThird", 0}),
         [](TFilerProbe& p) {
             return p.Options() == TProbeOptions{poSecond, poThird};
         }},
        {"colour name", Join({5, "Color", 0x07, 9, "clBtnFace"}),
         [](TFilerProbe& p) { return p.Color() == clBtnFace; }},
        {"colour number", Join({5, "Color", 0x04, 0x05, 0x00, 0x00, 0x80}),
         [](TFilerProbe& p) { return p.Color() == clWindow; }},
        {"charset name", Join({7, "Charset", 0x07, 14, "GB2312_CHARSET"}),
         [](TFilerProbe& p) { return p.Charset() == GB2312_CHARSET; }},
        {"charset number", Join({7, "Charset", 0x03, 0xFF, 0x00}),
         [](TFilerProbe& p) { return p.Charset() == 255; }},
        {"short text", Join({7, "Caption", 0x06, 2, "ab"}),
         [](TFilerProbe& p) { return p.Caption() == "ab"; }},
        {"long text", Join({7, "Caption", 0x0C, 3, 0, 0, 0, "abc"}),
         [](TFilerProbe& p) { return p.Caption() == "abc"; }},
        {"UTF-16 text", Join({7, "Caption", 0x12, 2, 0, 0, 0, 0x2D, 0x4E, 0x41, 0x00}),
         [](TFilerProbe& p) {
             return p.Caption() ==
                    "\xE4\xB8\xAD"
                    "A";
         }},
        {"UTF-8 text", Join({7, "Caption", 0x14, 3, 0, 0, 0, 0xE4, 0xB8, 0xAD}),
         [](TFilerProbe& p) { return p.Caption() == "\xE4\xB8\xAD"; }},
        {"font name", Join({9, "Font.Name", 0x06, 5, "Arial"}),
         [](TFilerProbe& p) { return p.Font()->Name() == "Arial"; }},
        {"font style", Join({10, "font.STYLE", 0x0B, 6, "fsBold", 0}),
         [](TFilerProbe& p) { return p.Font()->Style() == TFontStyles{fsBold}; }},
        {"font pitch", Join({10, "Font.Pitch", 0x07, 10, "fpVariable"}),
         [](TFilerProbe& p) { return p.Font()->Pitch() == fpVariable; }},
        {"collection with order", Join({5, "Items", 0x0E, 0x02, 4, 0x01, 5, "Value", 0x02, 9, 0, 0x01, 0, 0}),
         [](TFilerProbe& p) {
             return p.Items()->Count() == 2 && static_cast<TProbeItem*>(p.Items()->Items(0))->Value() == 9;
         }},
        {"defined list", Join({6, "Values", 0x01, 0x02, 1, 0x03, 0, 1, 0}),
         [](TFilerProbe& p) {
             return p.Values == std::vector<int>{1, 256};
         }},
        {"defined binary", Join({4, "Data", 0x0A, 2, 0, 0, 0, 0xAB, 0xCD}),
         [](TFilerProbe& p) {
             return p.Data == Bytes{0xAB, 0xCD};
         }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        TFilerProbe probe(nullptr);
        ReadInto(&probe, ProbeWith(c.property));
        EXPECT_EQ(probe.Name(), "P");
        EXPECT_TRUE(c.holds(probe));
    }
}

TEST_F(FilerTest, UnknownPropertiesAreSkippedWhateverTheirKnownTag) {
    const Bytes values[] = {
        Join({0x00}),
        Join({0x02, 1}),
        Join({0x03, 1, 2}),
        Join({0x04, 1, 2, 3, 4}),
        Join({0x06, 3, "abc"}),
        Join({0x07, 2, "id"}),
        Join({0x08}),
        Join({0x09}),
        Join({0x0A, 2, 0, 0, 0, 0x00, 0x00}),
        Join({0x0B, 1, "a", 1, "b", 0}),
        Join({0x0C, 1, 0, 0, 0, "x"}),
        Join({0x12, 1, 0, 0, 0, "x", 0}),
        Join({0x14, 1, 0, 0, 0, "x"}),
        Join({0x01, 0x02, 1, 0x01, 0x06, 1, "x", 0, 0}),
        Join({0x0E, 0x02, 3, 0x01, 1, "A", 0x09, 0, 0x01, 0, 0}),
    };
    for (const Bytes& value : values) {
        SCOPED_TRACE(testing::PrintToString(value));
        Bytes properties = Join({9, "Font.Nope", 0x02, 0});  // a sub-object's unknown property
        properties.insert(properties.end(), {7, 'U', 'n', 'k', 'n', 'o', 'w', 'n'});
        properties.insert(properties.end(), value.begin(), value.end());
        const Bytes count = Join({5, "Count", 0x02, 42});
        properties.insert(properties.end(), count.begin(), count.end());
        TFilerProbe probe(nullptr);
        ReadInto(&probe, ProbeWith(properties));
        EXPECT_EQ(probe.Count(), 42);
    }
}

TEST_F(FilerTest, MalformedStreamsRaiseReadErrors) {
    struct Case {
        const char* what;
        Bytes stream;
    };
    const Case cases[] = {
        {"no signature", Join({"TPF1", 11, "TFilerProbe", 1, "P", 0, 0})},
        {"unknown tag 05", ProbeWith(Join({7, "Unknown", 0x05, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0}))},
        {"unknown tag 0D", ProbeWith(Join({7, "Unknown", 0x0D}))},
        {"unknown tag FF", ProbeWith(Join({5, "Count", 0xFF}))},
        {"integer as text", ProbeWith(Join({5, "Count", 0x06, 1, "1"}))},
        {"boolean as integer", ProbeWith(Join({7, "Enabled", 0x02, 1}))},
        {"unknown enumeration value", ProbeWith(Join({5, "Align", 0x07, 5, "alMid"}))},
        {"unknown set member", ProbeWith(Join({7, "Options", 0x0B, 6, "poNone", 0}))},
        {"unknown colour name", ProbeWith(Join({5, "Color", 0x07, 6, "clPink"}))},
        {"charset out of range", ProbeWith(Join({7, "Charset", 0x03, 0x00, 0x01}))},
        {"sub-object as a value", ProbeWith(Join({4, "Font", 0x06, 1, "x"}))},
        {"negative length", ProbeWith(Join({7, "Caption", 0x0C, 0xFF, 0xFF, 0xFF, 0xFF}))},
        {"collection item without list", ProbeWith(Join({5, "Items", 0x0E, 0x02, 1, 0x06, 0}))},
        {"defined list of the wrong kind", ProbeWith(Join({6, "Values", 0x06, 0}))},
        {"child of an unregistered class",
         Join({"TPF0", 11, "TFilerProbe", 1, "P", 0, 5, "TNope", 0, 0, 0, 0})},
        {"child of a class that is no component",
         Join({"TPF0", 11, "TFilerProbe", 1, "P", 0, 5, "TFont", 0, 0, 0, 0})},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        TFilerProbe probe(nullptr);
        EXPECT_THROW(ReadInto(&probe, c.stream), EReadError);
    }
}

TEST_F(FilerTest, ReadingWithoutARootMakesTheStoredClassAndFreesItOnFailure) {
    const Bytes good = FullProbeStream();
    BytesStream in(good);
    std::unique_ptr<TComponent> made(TReader(in).ReadRootComponent(nullptr));
    ASSERT_TRUE(made->Is<TFilerProbe>());
    auto* probe = static_cast<TFilerProbe*>(made.get());
    auto* child = static_cast<TFilerProbe*>(probe->FindComponent("Child"));
    ASSERT_NE(child, nullptr);
    EXPECT_EQ(child->Count(), 5);
    // Loaded once each, after everything was read.
    EXPECT_EQ(probe->LoadedCalls, 1);
    EXPECT_EQ(child->LoadedCalls, 1);
    EXPECT_FALSE(probe->ComponentState().Contains(csLoading));

    // A failed read frees the component it made, as the leak checker sees.
    Bytes bad = good;
    bad[bad.size() - 3] = 0x05;
    BytesStream badIn(bad);
    EXPECT_THROW(TReader(badIn).ReadRootComponent(nullptr), EReadError);
}

TEST_F(FilerTest, ProbeRoundTripsThroughTheWriter) {
    const Bytes first = FullProbeStream();
    TFilerProbe back(nullptr);
    ReadInto(&back, first);
    EXPECT_EQ(back.Tag, 7);
    EXPECT_EQ(back.Count(), -40000);
    EXPECT_FALSE(back.Enabled());
    EXPECT_EQ(back.Align(), alClient);
    EXPECT_EQ(back.Options(), (TProbeOptions{poFirst, poThird}));
    EXPECT_EQ(back.Color(), 0x00123456u);
    EXPECT_EQ(back.Charset(), GB2312_CHARSET);
    EXPECT_EQ(back.Caption(), "It's\r\n\xE4\xB8\xAD");
    EXPECT_EQ(back.Font()->Name(), "Tahoma");
    EXPECT_EQ(back.Font()->Style(), (TFontStyles{fsBold, fsStrikeOut}));
    EXPECT_EQ(back.Font()->Pitch(), fpFixed);
    ASSERT_EQ(back.Items()->Count(), 2);
    EXPECT_EQ(static_cast<TProbeItem*>(back.Items()->Items(0))->Value(), 300);
    EXPECT_EQ(back.Values, (std::vector<int>{1, -2, 100000}));
    EXPECT_EQ(back.Data, (Bytes{0, 1, 0xFF}));

    TMemoryStream second;
    TWriter(second).WriteRootComponent(&back);
    EXPECT_EQ(StreamBytes(second), first);
}

TEST_F(FilerTest, WriterStoresOnlyWhatDiffersFromTheDefaults) {
    // A new probe: the font always (pitch only when not default, style even
    // when empty); the rest is at its default.
    TFilerProbe probe(nullptr);
    TMemoryStream s;
    TWriter(s).WriteRootComponent(&probe);
    const Bytes expected = Join({"TPF0",
                                 11,
                                 "TFilerProbe",
                                 0,  //
                                 7,
                                 "Options",
                                 0x0B,
                                 0,  //
                                 12,
                                 "Font.Charset",
                                 0x07,
                                 15,
                                 "DEFAULT_CHARSET",  //
                                 10,
                                 "Font.Color",
                                 0x07,
                                 12,
                                 "clWindowText",  //
                                 11,
                                 "Font.Height",
                                 0x02,
                                 0xF5,  //
                                 9,
                                 "Font.Name",
                                 0x06,
                                 13,
                                 "MS Sans Serif",  //
                                 10,
                                 "Font.Style",
                                 0x0B,
                                 0,  //
                                 0,
                                 0});
    EXPECT_EQ(StreamBytes(s), expected);
}

TEST_F(FilerTest, WriterTakesTheSmallestIntegerTag) {
    struct Case {
        int64_t value;
        Bytes bytes;
    };
    const Case cases[] = {
        {0, {0x02, 0x00}},
        {127, {0x02, 0x7F}},
        {-128, {0x02, 0x80}},
        {128, {0x03, 0x80, 0x00}},
        {-129, {0x03, 0x7F, 0xFF}},
        {32767, {0x03, 0xFF, 0x7F}},
        {32768, {0x04, 0x00, 0x80, 0x00, 0x00}},
        {-32769, {0x04, 0xFF, 0x7F, 0xFF, 0xFF}},
        {INT32_MIN, {0x04, 0x00, 0x00, 0x00, 0x80}},
    };
    for (const Case& c : cases) {
        TMemoryStream s;
        TWriter(s).WriteInteger(c.value);
        EXPECT_EQ(StreamBytes(s), c.bytes) << c.value;
    }
    TMemoryStream s;
    EXPECT_THROW(TWriter(s).WriteInteger(int64_t{1} << 31), EWriteError);
}

TEST_F(FilerTest, EveryTruncationFailsWithAReadError) {
    TSeSkinObject form(nullptr);
    form.SetName("Form");
    (new TSeSkinObject(&form))->SetName("Frame");
    TMemoryStream record;
    WriteObjectRecord(record, &form);
    Bytes skin = StreamBytes(record);
    skin.erase(skin.begin(), skin.begin() + 4 + 13 + 4);  // the stream of the record alone

    for (const Bytes& whole : {FullProbeStream(), skin}) {
        for (size_t length = 0; length < whole.size(); ++length) {
            SCOPED_TRACE(length);
            BytesStream in(Bytes(whole.begin(), whole.begin() + static_cast<ptrdiff_t>(length)));
            EXPECT_THROW(std::unique_ptr<TComponent>(TReader(in).ReadRootComponent(nullptr)), EReadError);
        }
    }
}

// Notes the largest piece the reader asks for: what it reads into is no larger.
struct WatchedStream : BytesStream {
    using BytesStream::BytesStream;
    int64_t Read(void* buffer, int64_t count) override {
        largest = std::max(largest, count);
        return BytesStream::Read(buffer, count);
    }
    int64_t largest = 0;
};

TEST_F(FilerTest, LengthsBeyondTheStreamFailBeforeTheyAreAllocated) {
    const Bytes huge = {0xFF, 0xFF, 0xFF, 0x7F};
    for (const char* name : {"Unknown", "Caption", "Data"}) {
        for (uint8_t tag : {0x0A, 0x0C, 0x12, 0x14}) {
            SCOPED_TRACE(String(name) + " " + IntToHex(tag, 2));
            Bytes property = {static_cast<uint8_t>(std::strlen(name))};
            property.insert(property.end(), name, name + std::strlen(name));
            property.push_back(tag);
            property.insert(property.end(), huge.begin(), huge.end());
            property.insert(property.end(), {'a', 'b'});
            WatchedStream in(ProbeWith(property));
            TFilerProbe probe(nullptr);
            EXPECT_THROW(TReader(in).ReadRootComponent(&probe), EReadError);
            EXPECT_LE(in.largest, 64 * 1024);
        }
    }
}

TEST_F(FilerTest, NestingIsLimited) {
    // Lists inside an unknown property, and components inside components.
    const auto lists = [](int depth) {
        Bytes property = Join({7, "Unknown"});
        property.insert(property.end(), static_cast<size_t>(depth), 0x01);
        property.insert(property.end(), static_cast<size_t>(depth), 0x00);
        return ProbeWith(property);
    };
    const auto children = [](int depth) {
        Bytes out = Join({"TPF0", 11, "TFilerProbe", 0, 0});
        for (int i = 0; i < depth; ++i)
            out.insert(out.end(), {11, 'T', 'F', 'i', 'l', 'e', 'r', 'P', 'r', 'o', 'b', 'e', 0, 0});
        out.insert(out.end(), static_cast<size_t>(depth) + 1, 0x00);
        return out;
    };
    for (const auto& make : {std::function<Bytes(int)>(lists), std::function<Bytes(int)>(children)}) {
        TFilerProbe shallow(nullptr);
        EXPECT_NO_THROW(ReadInto(&shallow, make(kMaxStreamNesting - 1)));
        TFilerProbe deep(nullptr);
        EXPECT_THROW(ReadInto(&deep, make(kMaxStreamNesting + 1)), EReadError);
    }

    // Records nested through the binary property count too.
    TSeSkinObject top(nullptr);
    TComponent* parent = &top;
    for (int i = 0; i < kMaxStreamNesting + 1; ++i) parent = new TSeSkinObject(parent);
    TMemoryStream s;
    WriteObjectRecord(s, &top);
    s.SetPosition(0);
    EXPECT_THROW(ReadObjectRecord(s, nullptr), EReadError);
}

}  // namespace
}  // namespace tarvel
