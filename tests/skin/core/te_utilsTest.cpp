#include "skin/core/te_utils.h"

#include <gtest/gtest.h>

namespace tarvel {
namespace {

std::vector<uint8_t> Bytes(TMemoryStream& s) {
    return std::vector<uint8_t>(s.Memory(), s.Memory() + s.Size());
}

TEST(StreamStrings, LengthPrefixedForm) {
    TMemoryStream s;
    WriteString(s, "abc");
    WriteString(s, "");
    EXPECT_EQ(Bytes(s), (std::vector<uint8_t>{3, 0, 0, 0, 'a', 'b', 'c', 0, 0, 0, 0}));
    s.SetPosition(0);
    EXPECT_EQ(ReadString(s), "abc");
    EXPECT_EQ(ReadString(s), "");
}

TEST(StreamStrings, CountsThatDoNotFit) {
    const struct {
        int32_t count;
        bool raises;
    } cases[] = {{-5, false}, {0, false}, {3, false}, {4, true}, {INT32_MAX, true}};
    for (const auto& c : cases) {
        TMemoryStream s;
        WriteInt32(s, c.count);
        s.WriteBuffer("xyz", 3);
        s.SetPosition(0);
        if (c.raises)
            EXPECT_THROW(ReadString(s), EReadError) << c.count;
        else
            EXPECT_EQ(ReadString(s), c.count == 3 ? "xyz" : "") << c.count;
    }
}

TEST(Tokens, Table) {
    const struct {
        const char* text;
        const char* separators;
        const char* token;
        const char* rest;
    } cases[] = {
        {"(1,2)", nullptr, "", "1,2)"},           {"Arial , 10", ",", "Arial", "10"},
        {"  left = 5 ", nullptr, "", "left = 5"}, {"left=5", nullptr, "left", "5"},
        {"single", nullptr, "single", ""},        {"", nullptr, "", ""},
    };
    for (const auto& c : cases) {
        String s = c.text;
        const String token = c.separators ? GetToken(s, c.separators) : GetToken(s);
        EXPECT_EQ(token, c.token) << c.text;
        EXPECT_EQ(s, c.rest) << c.text;
    }
}

TEST(Tokens, LongTextIsScannedWhole) {
    String s(300, 'x');
    s += ",tail";
    EXPECT_EQ(GetToken(s, ","), String(300, 'x'));
    EXPECT_EQ(s, "tail");
}

TEST(Tokens, RectTexts) {
    EXPECT_EQ(RectToString(TRect{1, -2, 30, 400}), "(1,-2,30,400)");
    EXPECT_EQ(StringToRect("1,-2,30,400"), (TRect{1, -2, 30, 400}));
    EXPECT_EQ(StringToRect("1, 2, 3, 4 "), (TRect{1, 2, 3, 4}));
    // The leading "(" ends the first token empty, so the bracketed form
    // does not read back.
    for (const char* bad : {"(1,2,3,4)", " 1,2,3,4", "1,2,3", "a,2,3,4", "", "1,2,3,99999999999"})
        EXPECT_EQ(StringToRect(bad), TRect{}) << bad;
}

TEST(Texts, CodePages) {
    EXPECT_EQ(StringToWideString(CP_ACP, ""), u"");
    EXPECT_EQ(StringToWideString(CP_ACP, "abc"), u"abc");
    EXPECT_EQ(StringToWideString(936, "\xD6\xD0\xCE\xC4"), u"中文");
    EXPECT_EQ(StringToWideString(CP_UTF8, "中"), u"中");
}

TEST(Rects, HelpersTable) {
    TRect r{0, 0, 10, 10};
    EXPECT_EQ(RectCenter(r, TRect{0, 0, 15, 15}), (TRect{2, 2, 12, 12}));
    EXPECT_EQ(r, (TRect{2, 2, 12, 12}));
    r = TRect{5, 5, 9, 7};
    EXPECT_EQ(RectHCenter(r, TRect{0, 10, 10, 20}), (TRect{3, 10, 7, 12}));
    r = TRect{5, 5, 9, 7};
    EXPECT_EQ(RectVCenter(r, TRect{0, 10, 10, 20}), (TRect{0, 14, 4, 16}));
    r = TRect{0, 0, 20, 20};
    EXPECT_EQ(RectCenter(r, TRect{0, 0, 5, 5}), (TRect{-7, -7, 13, 13}));  // div truncates toward zero
    EXPECT_EQ(RectOffset(TRect{5, 5, 10, 10}, 2), (TRect{3, 3, 12, 12}));
    EXPECT_TRUE(RectInRect(TRect{0, 0, 5, 5}, TRect{0, 0, 5, 5}));
    EXPECT_FALSE(RectInRect(TRect{0, 0, 6, 5}, TRect{0, 0, 5, 5}));
    EXPECT_TRUE(IsRectEmpty(TRect{0, 0, 0, 5}));
    EXPECT_TRUE(IsRectEmpty(TRect{0, 5, 5, 4}));
}

TEST(Rects, MarginRectTable) {
    const struct {
        TRect r, margins, want;
    } cases[] = {
        {{0, 0, 10, 30}, {10, 2, 10, 2}, {5, 2, 5, 28}},   // both sides scaled to 5
        {{0, 0, 100, 100}, {1, 2, 3, 4}, {1, 2, 97, 96}},  // fits
        {{0, 0, 30, 10}, {2, 10, 2, 10}, {2, 5, 28, 5}},   // heights scaled
        {{0, 0, 9, 9}, {12, 0, 6, 0}, {6, 0, 6, 9}},       // 9/18: 6 and 3
        {{0, 0, 5, 3}, {4, 4, 4, 4}, {2, 4, 3, -1}},       // width wins; height not then scaled
    };
    for (const auto& c : cases) EXPECT_EQ(MarginRect(c.r, c.margins), c.want);
}

TEST(Rects, PointInPolygon) {
    const TPoint triangle[] = {{0, 0}, {10, 0}, {0, 10}};
    EXPECT_TRUE(PointInPolygon(TPoint{2, 2}, triangle, 2));
    EXPECT_FALSE(PointInPolygon(TPoint{9, 9}, triangle, 2));
    EXPECT_FALSE(PointInPolygon(TPoint{2, 2}, triangle, -1));
}

TEST(Keyboard, RepeatIntervals) {
    const int delays[][2] = {{0, 200}, {1, 400}, {2, 600}, {3, 800}};
    for (const auto& d : delays) EXPECT_EQ(KeyboardDelayToInterval(d[0]), d[1]);
    EXPECT_EQ(KeyboardSpeedToInterval(0), 435);
    EXPECT_EQ(KeyboardSpeedToInterval(31), 14);
}

}  // namespace
}  // namespace tarvel
