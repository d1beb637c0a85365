#include <gtest/gtest.h>

#include <set>
#include <string>
#include <vector>

#include "platform/base/Exceptions.h"
#include "platform/classlib/Colors.h"

namespace tarvel {
namespace {

struct Named {
    const char* ident;
    TColor value;
};

// Every identifier a skin writer could have written, with its value.
const Named kIdentifiers[] = {
    {"clBlack", 0x000000},
    {"clMaroon", 0x000080},
    {"clGreen", 0x008000},
    {"clOlive", 0x008080},
    {"clNavy", 0x800000},
    {"clPurple", 0x800080},
    {"clTeal", 0x808000},
    {"clGray", 0x808080},
    {"clSilver", 0xC0C0C0},
    {"clRed", 0x0000FF},
    {"clLime", 0x00FF00},
    {"clYellow", 0x00FFFF},
    {"clBlue", 0xFF0000},
    {"clFuchsia", 0xFF00FF},
    {"clAqua", 0xFFFF00},
    {"clWhite", 0xFFFFFF},
    {"clMoneyGreen", 0xC0DCC0},
    {"clSkyBlue", 0xF0CAA6},
    {"clCream", 0xF0FBFF},
    {"clMedGray", 0xA4A0A0},
    {"clScrollBar", 0x80000000},
    {"clBackground", 0x80000001},
    {"clActiveCaption", 0x80000002},
    {"clInactiveCaption", 0x80000003},
    {"clMenu", 0x80000004},
    {"clWindow", 0x80000005},
    {"clWindowFrame", 0x80000006},
    {"clMenuText", 0x80000007},
    {"clWindowText", 0x80000008},
    {"clCaptionText", 0x80000009},
    {"clActiveBorder", 0x8000000A},
    {"clInactiveBorder", 0x8000000B},
    {"clAppWorkSpace", 0x8000000C},
    {"clHighlight", 0x8000000D},
    {"clHighlightText", 0x8000000E},
    {"clBtnFace", 0x8000000F},
    {"clBtnShadow", 0x80000010},
    {"clGrayText", 0x80000011},
    {"clBtnText", 0x80000012},
    {"clInactiveCaptionText", 0x80000013},
    {"clBtnHighlight", 0x80000014},
    {"cl3DDkShadow", 0x80000015},
    {"cl3DLight", 0x80000016},
    {"clInfoText", 0x80000017},
    {"clInfoBk", 0x80000018},
    {"clHotLight", 0x8000001A},
    {"clGradientActiveCaption", 0x8000001B},
    {"clGradientInactiveCaption", 0x8000001C},
    {"clMenuHighlight", 0x8000001D},
    {"clMenuBar", 0x8000001E},
    {"clNone", 0x1FFFFFFF},
    {"clDefault", 0x20000000},
};

TEST(ColorsTest, IdentifiersBothWays) {
    for (const auto& n : kIdentifiers) {
        EXPECT_EQ(ColorToString(n.value), n.ident);
        EXPECT_EQ(StringToColor(n.ident), n.value) << n.ident;
        EXPECT_EQ(StringToColor(LowerCase(n.ident)), n.value) << "identifiers ignore case";
    }
}

TEST(ColorsTest, ColorListHasEveryIdentifierOnceBasicColoursFirst) {
    std::vector<std::string> names;
    GetColorValues([&](const String& s) { names.push_back(s); });
    ASSERT_EQ(names.size(), std::size(kIdentifiers));
    EXPECT_EQ(std::set<std::string>(names.begin(), names.end()).size(), names.size());
    EXPECT_EQ(names.front(), "clBlack");
    EXPECT_EQ(names[15], "clWhite");
    EXPECT_EQ(names[19], "clMedGray");
    EXPECT_EQ(names.back(), "clWindowText");
}

TEST(ColorsTest, UnnamedColoursAreHexWithEightDigits) {
    struct Case {
        TColor value;
        const char* text;
    };
    const Case cases[] = {
        {0x00FF8000, "$00FF8000"},
        {0x00000001, "$00000001"},
        {0x80000019, "$80000019"},  // no system colour has index 25
        {0xFFFFFFFF, "$FFFFFFFF"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(ColorToString(c.value), c.text);
        EXPECT_EQ(StringToColor(c.text), c.value);
    }
}

TEST(ColorsTest, NumbersInEveryFormTheSkinsUse) {
    struct Case {
        const char* text;
        TColor value;
    };
    const Case cases[] = {
        {"255", 0x0000FF},        {"$0000ff", 0x0000FF},
        {"$8000000F", clBtnFace}, {"-2147483633", clBtnFace},  // the same value written signed
        {"0", clBlack},           {"  16777215", clWhite},
        {"0x00FF00", clLime},
    };
    for (const auto& c : cases) EXPECT_EQ(StringToColor(c.text), c.value) << c.text;
}

TEST(ColorsTest, UnknownWordsRaiseTheConversionError) {
    const char* bad[] = {"clSomething", "", "red", "$", "12a", "$1FFFFFFFF", "clBtn Face"};
    for (const char* text : bad) {
        try {
            StringToColor(text);
            ADD_FAILURE() << text;
        } catch (const EConvertError& e) {
            EXPECT_EQ(e.Message(), "'" + std::string(text) + "' is not a valid integer value");
        }
    }
}

TEST(ColorsTest, ColorToRGBResolvesOnlySystemColours) {
    EXPECT_EQ(ColorToRGB(clBtnFace), GetSysColor(COLOR_BTNFACE));
    EXPECT_EQ(ColorToRGB(clWindowText), GetSysColor(COLOR_WINDOWTEXT));
    EXPECT_EQ(ColorToRGB(clInfoBk), GetSysColor(COLOR_INFOBK));
    EXPECT_EQ(ColorToRGB(0x00123456), 0x00123456u);
    EXPECT_EQ(ColorToRGB(clNone), clNone) << "marks stay marks";
    EXPECT_EQ(ColorToRGB(clDefault), clDefault);
}

}  // namespace
}  // namespace tarvel
