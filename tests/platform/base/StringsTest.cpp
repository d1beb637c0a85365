#include "platform/base/Strings.h"

#include <gtest/gtest.h>

#include "platform/base/Exceptions.h"

using namespace tarvel;

TEST(Utf8, RoundTripsChineseAndAstralText) {
    const String text = "信息.txt \xF0\x9F\x94\x8B 3U";  // CJK, a battery emoji (surrogate pair), ASCII
    const WideString wide = Utf8ToWide(text);
    EXPECT_EQ(wide.substr(0, 2), u"信息");
    EXPECT_EQ(wide[7], 0xD83D);
    EXPECT_EQ(wide[8], 0xDD0B);
    EXPECT_EQ(WideToUtf8(wide), text);
}

TEST(Utf8, InvalidInputBecomesReplacementCharacters) {
    struct Case {
        std::string bytes;
        std::u16string expected;
    };
    const Case cases[] = {
        {"a\xFF"
         "b",
         u"a\uFFFDb"},            // a byte that never starts a sequence
        {"\xE4\xBF", u"\uFFFD"},  // truncated at the end: nothing read past it
        {"\xE4\xBF"
         "A",
         u"\uFFFDA"},                     // truncated in the middle: resumes at 'A'
        {"\xC0\x80", u"\uFFFD\uFFFD"},    // overlong lead bytes are never valid
        {"\xED\xA0\x80", u"\uFFFD"},      // an encoded surrogate
        {"\xF4\x90\x80\x80", u"\uFFFD"},  // beyond U+10FFFF
        {"\x80\x80", u"\uFFFD\uFFFD"},    // stray continuation bytes
        {std::string("\0z", 2), std::u16string(u"\0z", 2)},
    };
    for (const Case& c : cases) EXPECT_EQ(Utf8ToWide(c.bytes), c.expected) << c.bytes;
}

TEST(Utf8, LoneSurrogatesInWideTextBecomeReplacementCharacters) {
    const char16_t lone[] = {u'x', 0xD800, u'y', 0xDC00};
    EXPECT_EQ(WideToUtf8(std::u16string(lone, 4)), "x\xEF\xBF\xBDy\xEF\xBF\xBD");
}

TEST(StrToInt, AcceptsDecimalAndHexadecimal) {
    struct Case {
        const char* text;
        int32_t value;
    } const cases[] = {
        {"0", 0},
        {"42", 42},
        {"-35000", -35000},
        {"+7", 7},
        {"  12", 12},
        {"$FF", 255},
        {"0x1f", 31},
        {"-$10", -16},
        {"2147483647", 2147483647},
        {"-2147483648", INT32_MIN},
    };
    for (const auto& c : cases) EXPECT_EQ(StrToInt(c.text), c.value) << c.text;
}

TEST(StrToInt, RejectsMalformedTextWithTheConversionMessage) {
    const char* bad[] = {"",  "abc", "12 ", "1.5", "2147483648", "-2147483649",
                         "$", "0x",  "--1", "1e3", " ",          "$G"};
    for (const char* text : bad) {
        try {
            StrToInt(text);
            ADD_FAILURE() << "accepted '" << text << "'";
        } catch (const EConvertError& e) {
            EXPECT_EQ(e.Message(), "'" + std::string(text) + "' is not a valid integer value");
        }
    }
    EXPECT_EQ(StrToIntDef("abc", -1), -1);
    EXPECT_EQ(StrToInt64("9223372036854775807"), INT64_MAX);
    EXPECT_THROW(StrToInt64("9223372036854775808"), EConvertError);
}

TEST(StrToFloat, TakesOnlyPlainDecimalNotation) {
    EXPECT_DOUBLE_EQ(StrToFloat("3.25"), 3.25);
    EXPECT_DOUBLE_EQ(StrToFloat(" -0.5 "), -0.5);
    EXPECT_DOUBLE_EQ(StrToFloat("1e3"), 1000.0);
    EXPECT_DOUBLE_EQ(StrToFloat(".5"), 0.5);
    EXPECT_DOUBLE_EQ(StrToFloat("+0.25"), 0.25);
    // Below the smallest double reads as zero; above the largest is no value.
    EXPECT_EQ(StrToFloat("1e-400"), 0.0);
    EXPECT_EQ(StrToFloat("-0.000000000000000000001e-320"), 0.0);
    for (const char* text :
         {"", "3,25", "inf", "nan", "0x10", "1e", "1.2.3", ".", "1e400", "+-1", "1e99999999999"}) {
        EXPECT_THROW(StrToFloat(text), EConvertError) << text;
    }
    try {
        StrToFloat("x");
    } catch (const EConvertError& e) {
        EXPECT_EQ(e.Message(), "'x' is not a valid floating point value");
    }
}

TEST(FloatToStr, WritesShortestTextWithADot) {
    struct Case {
        double value;
        const char* text;
    } const cases[] = {
        {0.0, "0"},
        {-0.0, "0"},
        {1.5, "1.5"},
        {0.1, "0.1"},
        {-3300.25, "-3300.25"},
        {1.0 / 3.0, "0.333333333333333"},
        {1e20, "1E20"},
        {1.5e-7, "1.5E-7"},
        {123456789.0, "123456789"},
    };
    for (const auto& c : cases) EXPECT_EQ(FloatToStr(c.value), c.text) << c.value;
    EXPECT_EQ(FloatToStrF(1.5, 3), "1.500");
}

TEST(Text, TrimCaseAndCompare) {
    EXPECT_EQ(Trim("  \tChargeCurrent \r\n"), "ChargeCurrent");
    EXPECT_EQ(TrimLeft("  a "), "a ");
    EXPECT_EQ(TrimRight("  a "), "  a");
    EXPECT_EQ(LowerCase("ABC信息"), "abc信息");
    EXPECT_EQ(UpperCase("bms"), "BMS");
    EXPECT_EQ(CompareText("CommSeting", "COMMSETING"), 0);
    EXPECT_LT(CompareText("abc", "abd"), 0);
    EXPECT_GT(CompareText("abcd", "ABC"), 0);
    EXPECT_EQ(IntToHex(0x3A, 2), "3A");
    EXPECT_EQ(IntToHex(0x7F007F, 8), "007F007F");
    EXPECT_EQ(StringReplaceAll("a\\b\\c", "\\", "/"), "a/b/c");
    EXPECT_EQ(Format("%s=%d", "baudrate", 9600), "baudrate=9600");
}
