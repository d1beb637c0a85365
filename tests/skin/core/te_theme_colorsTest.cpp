// Theme colours, system colours, fonts and options: their sections, the
// font text and the hue and brightness shifts.
#include <gtest/gtest.h>

#include <cstring>

#include "platform/base/Exceptions.h"
#include "skin/core/te_bitmap_colors.h"
#include "skin/core/te_theme.h"
#include "skin/core/te_utils.h"

namespace tarvel {
namespace {

void WriteEntry(TStream& s, std::string_view name, std::string_view value) {
    WriteString(s, name);
    WriteString(s, ":");
    WriteString(s, value);
}

std::vector<String> ReadEntryValues(TStream& s, int count) {
    std::vector<String> values;
    for (int i = 0; i < count; ++i) {
        ReadString(s);
        EXPECT_EQ(ReadString(s), ":");
        values.push_back(ReadString(s));
    }
    return values;
}

uint8_t ReadByte(TStream& s) {
    uint8_t b = 0;
    s.ReadBuffer(&b, 1);
    return b;
}

TEST(ThemeColorsTest, AFreshSectionIsTheHighestIndexAndTwentyTwoBlackEntries) {
    TteThemeColors colors;
    TMemoryStream s;
    colors.SaveToStream(s);
    s.SetPosition(0);
    EXPECT_EQ(ReadByte(s), 21);
    s.SetPosition(1);
    EXPECT_EQ(ReadString(s), "CaptionNormal");
    s.SetPosition(1);
    for (const String& v : ReadEntryValues(s, 22)) EXPECT_EQ(v, "clBlack");
    EXPECT_EQ(s.Position(), s.Size());
}

TEST(ThemeColorsTest, SectionsRoundTripWithNamesAndHexValues) {
    TteThemeColors a;
    a.SetColor(ktcHint, clInfoBk);
    a.SetColor(ktcGrid, 0x123456);
    TMemoryStream s;
    a.SaveToStream(s);
    s.SetPosition(0);
    TteThemeColors b;
    b.LoadFromStream(s);
    EXPECT_EQ(b.GetColor(ktcHint), clInfoBk);
    EXPECT_EQ(b.GetColor(ktcGrid), 0x123456u);
}

// A section claiming more entries than the tables hold: the surplus is read
// past (the stream stays in step with what follows) and stores nothing.
TEST(ThemeSectionsTest, SurplusEntriesAreReadPast) {
    TMemoryStream s;
    const uint8_t highest = 23;  // 24 entries for 22 colours
    s.WriteBuffer(&highest, 1);
    for (int i = 0; i < 24; ++i) WriteEntry(s, "X", i == 0 ? "clRed" : "clLime");
    WriteInt32(s, 28);  // 28 system colours for 26
    for (int i = 0; i < 28; ++i) WriteEntry(s, "Y", "clYellow");
    const uint8_t fontsHighest = 66;  // 67 fonts for 66
    s.WriteBuffer(&fontsHighest, 1);
    for (int i = 0; i < 67; ++i) WriteEntry(s, "F", "Arial,9,0,1,2,3,italic");
    const uint8_t optionsHighest = 4;
    s.WriteBuffer(&optionsHighest, 1);
    const uint8_t options[5] = {1, 0, 1, 1, 1};
    s.WriteBuffer(options, 5);
    WriteString(s, "after");
    s.SetPosition(0);

    TteTheme theme;
    theme.Colors()->LoadFromStream(s);
    theme.SysColors()->LoadFromStream(s);
    theme.Fonts()->LoadFromStream(s);
    theme.Options()->LoadFromStream(s);
    EXPECT_EQ(ReadString(s), "after");
    EXPECT_EQ(theme.Colors()->GetColor(ktcCaptionNormal), clRed);
    EXPECT_EQ(theme.Colors()->GetColor(ktcBarDock), clLime);
    EXPECT_EQ(theme.SysColors()->GetColor(clWindowFrame), clYellow);
    EXPECT_EQ(theme.Fonts()->GetFont(ktfPopupMenuItemTextDisabled)->Name(), "Arial");
    EXPECT_TRUE(theme.Options()->GetOptions(ktoptOneEdit));
    EXPECT_FALSE(theme.Options()->GetOptions(ktoptOneComboBox));
}

TEST(ThemeSectionsTest, BadValuesAndShortStreamsRaise) {
    {
        TMemoryStream s;
        const uint8_t highest = 0;
        s.WriteBuffer(&highest, 1);
        WriteEntry(s, "CaptionNormal", "not a colour");
        s.SetPosition(0);
        TteThemeColors colors;
        EXPECT_THROW(colors.LoadFromStream(s), EConvertError);
    }
    {
        TMemoryStream s;
        const uint8_t highest = 3;
        s.WriteBuffer(&highest, 1);
        WriteEntry(s, "CaptionNormal", "clRed");
        s.SetPosition(0);
        TteThemeColors colors;
        EXPECT_THROW(colors.LoadFromStream(s), EReadError);
        EXPECT_EQ(colors.GetColor(ktcCaptionNormal), clRed);  // what was read stays
    }
    {
        TMemoryStream s;
        WriteInt32(s, 1);
        WriteString(s, "clBtnFace");
        WriteString(s, ":");
        WriteInt32(s, 1 << 30);  // a value text longer than the stream
        s.SetPosition(0);
        TteThemeSysColors sys;
        EXPECT_THROW(sys.LoadFromStream(s), EReadError);
    }
    {
        TMemoryStream s;
        WriteInt32(s, -5);  // no entries
        s.SetPosition(0);
        TteThemeSysColors sys;
        EXPECT_NO_THROW(sys.LoadFromStream(s));
    }
}

TEST(ThemeSysColorsTest, LooksUpTheFirstEntryOfASystemColour) {
    TteThemeSysColors sys;
    EXPECT_EQ(sys.GetColor(clWindowText), clNone);
    EXPECT_EQ(sys.GetColor(clBtnFace), ColorToRGB(clBtnFace));
    sys.SetColor(clActiveCaption, 0x010203);
    EXPECT_EQ(sys.GetColor(clActiveCaption), 0x010203u);
    sys.SetColor(clWindowText, 0x111111);  // ignored
    EXPECT_EQ(sys.GetColor(clWindowText), clNone);

    TMemoryStream s;
    sys.SaveToStream(s);
    s.SetPosition(0);
    EXPECT_EQ(ReadInt32(s), 26);
    const std::vector<String> values = ReadEntryValues(s, 26);
    EXPECT_EQ(values[1], "$00010203");
    EXPECT_EQ(values[10], ColorToString(ColorToRGB(clActiveCaption)));  // the second entry keeps its value
}

TEST(ThemeSysColorsTest, EntriesAreNamedByTheColourIdentifiers) {
    TteThemeSysColors sys;
    TMemoryStream s;
    sys.SaveToStream(s);
    s.SetPosition(0);
    ASSERT_EQ(ReadInt32(s), 26);
    const std::pair<int, const char*> names[] = {{0, "clActiveBorder"},
                                                 {9, "clDefault"},
                                                 {10, "clActiveCaption"},
                                                 {22, "cl3DDkShadow"},
                                                 {25, "clWindowFrame"}};
    std::vector<String> written;
    for (int i = 0; i < 26; ++i) {
        written.push_back(ReadString(s));
        ReadString(s);
        ReadString(s);
    }
    for (auto [index, name] : names) EXPECT_EQ(written[index], name) << index;
}

TEST(ThemeColorsTest, HueZeroKeepsSystemColourReferences) {
    TteThemeColors colors;
    colors.SetColor(ktcWindow, clBtnFace);
    colors.ChangeColorsHue(0);
    colors.ChangeColorsBrightness(0);
    EXPECT_EQ(colors.GetColor(ktcWindow), clBtnFace);
    colors.ChangeColorsBrightness(10);
    EXPECT_EQ(colors.GetColor(ktcWindow), teColorToColor(ChangeBrightness(teColor(clBtnFace, 255), 10)));
}

TEST(ThemeFontsTest, HueZeroResolvesSystemColours) {
    TteThemeFonts fonts;
    fonts.GetFont(ktfButtonTextDisabled)->SetColor(clBtnShadow);
    fonts.ChangeFontsHue(0);
    EXPECT_EQ(fonts.GetFont(ktfButtonTextDisabled)->Color(), ColorToRGB(clBtnShadow));
}

TEST(ThemeFontsTest, FreshFontsAreTahoma) {
    TteThemeFonts fonts;
    for (int i = 0; i < kThemeFontCount; ++i)
        EXPECT_EQ(fonts.GetFont(static_cast<TteThemeFont>(i))->Name(), "Tahoma");
}

TEST(FontTextTest, WritesNameSizeCharsetColourAndStyleWords) {
    TFont font;
    SetFont(&font, "Tahoma", 8, {fsBold}, clBlack);
    font.SetCharset(1);
    EXPECT_EQ(FontToString(&font), "Tahoma,8,1,0,0,0,bold");
    SetFont(&font, "Arial", 12, {fsItalic, fsStrikeOut}, 0x030201);
    EXPECT_EQ(FontToString(&font), "Arial,12,1,1,2,3,italic,strikeout");
}

TEST(FontTextTest, PartsAreTrimmedAndConverted) {
    const struct {
        const char* text;
        const char* name;
        int size;
        int charset;
        TColor color;
        TFontStyles style;
    } cases[] = {
        {"Tahoma,8,1,0,0,0,bold", "Tahoma", 8, 1, 0x000000, {fsBold}},
        {"Arial, 9 ,0,0,0,0", "Arial", 9, 0, 0, {}},
        {"Tahoma,8,1,255,0,0", "Tahoma", 8, 1, 0x0000FF, {}},
        {"Tahoma,8,1,0,0,0,italic", "Tahoma", 8, 1, 0, {fsItalic}},  // by word, not by position
        {"Tahoma,8,1,0,0,0,underline,strikeout", "Tahoma", 8, 1, 0, {fsUnderline, fsStrikeOut}},
        {"Tahoma,8,1,0,0,0,BOLD,whatever", "Tahoma", 8, 1, 0, {fsBold}},
        {"Tahoma,8,1,256,257,511", "Tahoma", 8, 1, 0xFF0100, {}},  // low bytes only
        {"宋体;10;134;1;2;3", "宋体", 10, 134, 0x030201, {}},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(StringToFontName(c.text), c.name) << c.text;
        EXPECT_EQ(StringToFontSize(c.text), c.size) << c.text;
        EXPECT_EQ(StringToFontCharset(c.text), c.charset) << c.text;
        EXPECT_EQ(StringToFontColor(c.text), c.color) << c.text;
        EXPECT_EQ(StringToFontStyle(c.text), c.style) << c.text;
    }
    EXPECT_THROW(StringToFontSize("Tahoma,big"), EConvertError);
}

TEST(ThemeFontsTest, SectionReadsBackEveryStyleAlone) {
    TteThemeFonts a;
    SetFont(a.GetFont(ktfStaticTextNormal), "Arial", 11, {fsItalic}, 0x00FF00);
    SetFont(a.GetFont(ktfStaticTextHot), "Tahoma", 8, {fsUnderline}, 0);
    SetFont(a.GetFont(ktfStaticTextFocused), "Tahoma", 8, {fsBold, fsStrikeOut}, 0);
    a.GetFont(ktfStaticTextFocused)->SetCharset(134);
    TMemoryStream s;
    a.SaveToStream(s);
    s.SetPosition(0);
    TteThemeFonts b;
    b.LoadFromStream(s);
    for (TteThemeFont i : {ktfStaticTextNormal, ktfStaticTextHot, ktfStaticTextFocused}) {
        EXPECT_EQ(b.GetFont(i)->Name(), a.GetFont(i)->Name());
        EXPECT_EQ(b.GetFont(i)->Size(), a.GetFont(i)->Size());
        EXPECT_EQ(b.GetFont(i)->Color(), a.GetFont(i)->Color());
        EXPECT_EQ(b.GetFont(i)->Style(), a.GetFont(i)->Style());
    }
    EXPECT_NE(b.GetFont(ktfStaticTextFocused)->Charset(), 134);  // the charset is not applied
}

TEST(ThemeFontsTest, FontForAnObjectIsTheFontOrASharedWorkCopy) {
    TteTheme theme;
    TteThemeFonts* fonts = theme.Fonts();
    EXPECT_EQ(fonts->GetFontForObject(ktfSmCaptionTextNormal, "default"),
              fonts->GetFont(ktfSmCaptionTextNormal));
    TFont* work = fonts->GetFontForObject(ktfSmCaptionTextNormal, "toolbar");
    EXPECT_NE(work, fonts->GetFont(ktfSmCaptionTextNormal));
    EXPECT_EQ(work->Color(), clWhite);
    TFont* again = fonts->GetFontForObject(ktfButtonTextDisabled, "toolbar");
    EXPECT_EQ(again, work);  // shared: the next call overwrites it
    EXPECT_EQ(work->Color(), fonts->GetFont(ktfButtonTextDisabled)->Color());
    TteThemeFonts ownerless;
    EXPECT_EQ(ownerless.GetFontForObject(ktfCaptionTextNormal, "x"), ownerless.GetFont(ktfCaptionTextNormal));
}

TEST(ThemeOptionsTest, SectionIsHighestIndexThenOneBytePerOption) {
    TteThemeOptions options;
    options.SetOptions(ktoptOneComboBox, true);
    TMemoryStream s;
    options.SaveToStream(s);
    ASSERT_EQ(s.Size(), 3);
    EXPECT_EQ(std::memcmp(s.Memory(), "\x01\x00\x01", 3), 0);
    TteThemeOptions copy;
    copy.Assign(&options);
    EXPECT_TRUE(copy.GetOptions(ktoptOneComboBox));
}

}  // namespace
}  // namespace tarvel
