#include <gtest/gtest.h>

#include "FilerFixture.h"

namespace tarvel {
namespace {

using namespace filer_fixture;

class ComponentTextTest : public ::testing::Test {
protected:
    void SetUp() override { RegisterFixtureClasses(); }
};

String ToText(const Bytes& binary) {
    BytesStream in(binary);
    TMemoryStream out;
    ObjectBinaryToText(in, out);
    return String(out.Memory(), out.Memory() + out.Size());
}

Bytes ToBinary(const String& text) {
    BytesStream in(Bytes(text.begin(), text.end()));
    TMemoryStream out;
    ObjectTextToBinary(in, out);
    return StreamBytes(out);
}

// The component stream of a skin record: without class name and size.
Bytes RecordStream(const Bytes& record) { return Bytes(record.begin() + 4 + 13 + 4, record.end()); }

TEST_F(ComponentTextTest, SkinObjectRecordReadsAsTextAndBack) {
    const Bytes binary = RecordStream(FormRecord());
    const String text = ToText(binary);
    EXPECT_EQ(text,
              "object Form: TSeSkinObject\n"
              "  Kind = skForm\n"
              "  Width = 300\n"
              "  Height = 200\n"
              "  Color = clNone\n"
              "  Objects = {\n"
              "    00000F00}\n"
              "end\n");
    EXPECT_EQ(ToBinary(text), binary);
}

TEST_F(ComponentTextTest, EveryKindOfValueHasItsNotation) {
    const Bytes binary = FullProbeStream();
    const String text = ToText(binary);
    EXPECT_EQ(text,
              "object Probe: TFilerProbe\n"
              "  Tag = 7\n"
              "  Count = -40000\n"
              "  Enabled = False\n"
              "  Align = alClient\n"
              "  Options = [poFirst, poThird]\n"
              "  Color = 1193046\n"
              "  Charset = GB2312_CHARSET\n"
              "  Caption = 'It''s'#13#10'\xE4\xB8\xAD'\n"
              "  Font.Charset = DEFAULT_CHARSET\n"
              "  Font.Color = clWindowText\n"
              "  Font.Height = -11\n"
              "  Font.Name = 'Tahoma'\n"
              "  Font.Pitch = fpFixed\n"
              "  Font.Style = [fsBold, fsStrikeOut]\n"
              "  Items = <\n"
              "    item\n"
              "      Caption = 'a'\n"
              "      Value = 300\n"
              "    end\n"
              "    item\n"
              "    end>\n"
              "  Values = (\n"
              "    1\n"
              "    -2\n"
              "    100000)\n"
              "  Data = {\n"
              "    0001FF}\n"
              "  object Child: TFilerProbe\n"
              "    Count = 5\n"
              "    Options = []\n"
              "    Font.Charset = DEFAULT_CHARSET\n"
              "    Font.Color = clWindowText\n"
              "    Font.Height = -11\n"
              "    Font.Name = 'MS Sans Serif'\n"
              "    Font.Style = []\n"
              "  end\n"
              "end\n");
}

TEST_F(ComponentTextTest, WriterStreamsGoToTextAndBackByteForByte) {
    TSeSkinObject form(nullptr);
    form.SetName("Form");
    auto* frame = new TSeSkinObject(&form);
    frame->SetName("Frame");
    frame->SetColor(0x80000010);
    TMemoryStream record;
    WriteObjectRecord(record, &form);

    const Bytes streams[] = {FullProbeStream(), RecordStream(StreamBytes(record))};
    for (const Bytes& binary : streams) {
        EXPECT_EQ(ToBinary(ToText(binary)), binary);
        for (size_t length = 0; length < binary.size(); ++length) {
            BytesStream in(Bytes(binary.begin(), binary.begin() + static_cast<ptrdiff_t>(length)));
            TMemoryStream out;
            EXPECT_THROW(ObjectBinaryToText(in, out), EReadError) << length;
            EXPECT_EQ(out.Size(), 0);
        }
    }
}

TEST_F(ComponentTextTest, TextValuesBecomeTheirTags) {
    struct Case {
        const char* text;
        Bytes value;
    };
    const String longText(300, 'x');
    const Case cases[] = {
        {"-5", {0x02, 0xFB}},
        {"-2147483648", {0x04, 0x00, 0x00, 0x00, 0x80}},
        {"'a''b'", Join({0x06, 3, "a'b"})},
        {"''", {0x06, 0}},
        {"'x'#13'y'", Join({0x06, 3, "x\ry"})},
        {"#0'x'#255", Join({0x14, 3, 0, 0, 0, 0, "x", 0xFF})},
        {"'\xE4\xB8\xAD'", Join({0x14, 3, 0, 0, 0, 0xE4, 0xB8, 0xAD})},
        {"tRUE", {0x09}},
        {"False", {0x08}},
        {"Null", {0x00}},
        {"clRed", Join({0x07, 5, "clRed"})},
        {"[ ]", {0x0B, 0}},
        {"[a,b]", Join({0x0B, 1, "a", 1, "b", 0})},
        {"{ }", {0x0A, 0, 0, 0, 0}},
        {"{ab\n  CD}", {0x0A, 2, 0, 0, 0, 0xAB, 0xCD}},
        {"( 1 'x' () )", Join({0x01, 0x02, 1, 0x06, 1, "x", 0x01, 0x00, 0x00})},
        {"<item [3] A = 1 end item end>", Join({0x0E, 0x02, 3, 0x01, 1, "A", 0x02, 1, 0, 0x01, 0, 0})},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        const Bytes head = Join({"TPF0", 1, "T", 0, 1, "X"});
        Bytes expected = head;
        expected.insert(expected.end(), c.value.begin(), c.value.end());
        expected.insert(expected.end(), {0, 0});
        EXPECT_EQ(ToBinary("object T\n  X = " + String(c.text) + "\nend\n"), expected);
        EXPECT_EQ(ToBinary(ToText(expected)), expected);
    }
    const Bytes binary = ToBinary("object T X = '" + longText + "' end");
    EXPECT_EQ(binary[9], 0x0C);
}

TEST_F(ComponentTextTest, MalformedTextNamesItsLine) {
    struct Case {
        const char* text;
        const char* line;
    };
    const Case cases[] = {
        {"", "Line 1:"},
        {"thing T\nend", "Line 1:"},
        {"object : T\nend", "Line 1:"},
        {"object A: T\n  X = 1\n", "Line 3:"},
        {"object T\n  X =\nend", "Line 3:"},
        {"object T\n  X = 'open\nend", "Line 2:"},
        {"object T\n  X = #256\nend", "Line 2:"},
        {"object T\n  X = 2147483648\nend", "Line 2:"},
        {"object T\n  X = -\nend", "Line 2:"},
        {"object T\n  X = {ABC}\nend", "Line 2:"},
        {"object T\n  X = {XY}\nend", "Line 2:"},
        {"object T\n  X = {00", "Line 2:"},
        {"object T\n  X = ( Null )\nend", "Line 2:"},
        {"object T\n  X = [a b]\nend", "Line 2:"},
        {"object T\n  X = <thing end>\nend", "Line 2:"},
        {"object T\n  X = sk.Form\nend", "Line 2:"},
        {"object T\n  Font..Name = 1\nend", "Line 2:"},
        {"object T\nend\nend", "Line 3:"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        try {
            ToBinary(c.text);
            ADD_FAILURE() << "accepted";
        } catch (const EReadError& e) {
            EXPECT_EQ(e.Message().rfind(c.line, 0), 0u) << e.Message();
        }
    }

    EXPECT_THROW(ToBinary("object T\n  X = " + String(256, 'a') + "\nend"), EReadError);
    String deep = "object T\n  X = ";
    deep += String(kMaxStreamNesting + 1, '(') + String(kMaxStreamNesting + 1, ')') + "\nend";
    EXPECT_THROW(ToBinary(deep), EReadError);
}

TEST_F(ComponentTextTest, BinaryTheNotationCannotHoldIsRefused) {
    const Bytes cases[] = {
        Join({"TPF0", 1, "T", 0, 1, "X", 0x07, 3, "a b", 0, 0}),    // identifier with a blank
        Join({"TPF0", 1, "T", 0, 1, "X", 0x07, 4, "true", 0, 0}),   // identifier that reads as a word
        Join({"TPF0", 1, "T", 0, 1, "X", 0x0B, 2, "1a", 0, 0, 0}),  // set member that is no identifier
        Join({"TPF0", 1, "T", 0, 2, "X.", 0x02, 1, 0, 0}),          // property name ending in a dot
        Join({"TPF0", 0, 0, 0, 0}),                                 // no class name
        Join({"TPF0", 1, "T", 3, "a-b", 0, 0}),                     // object name with a dash
        Join({"TPF0", 1, "T", 0, 1, "X", 0x05, 0, 0}),              // unknown tag
    };
    for (const Bytes& binary : cases) {
        SCOPED_TRACE(testing::PrintToString(binary));
        BytesStream in(binary);
        TMemoryStream out;
        EXPECT_THROW(ObjectBinaryToText(in, out), EReadError);
        EXPECT_EQ(out.Size(), 0);
    }
}

}  // namespace
}  // namespace tarvel
