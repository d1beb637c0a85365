// The value parsers of a visual style's ini text, as tables.
#include <gtest/gtest.h>

#include "platform/base/Exceptions.h"
#include "skin/themes/theme_msuxtypes.h"

namespace tarvel {
namespace {

using namespace msux;

TEST(MsuxTypesTest, ColoursTakeThreeChannelsEachHeldToAByte) {
    const struct {
        const char* text;
        TColor colour;
    } cases[] = {
        {"255 0 0", 0x0000FF},  {"255", 0x0000FF},        {"", 0x000000},
        {"1 2 3", 0x030201},    {"10, 20, 30", 0x1E140A}, {"300 0 0", 0x0000FF},
        {"-5 256 7", 0x07FF00}, {"0 0 99999", 0xFF0000},  {"12   34  56", 0x38220C},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        EXPECT_EQ(msux::StringToColor(c.text), c.colour);
    }
    EXPECT_THROW(msux::StringToColor("red 0 0"), EConvertError);
    EXPECT_THROW(msux::StringToColor("1 2 x"), EConvertError);
}

TEST(MsuxTypesTest, MarginsAreReadLeftRightTopBottom) {
    const struct {
        const char* text;
        TRect margins;  // left, top, right, bottom
    } cases[] = {
        {"3,4,5,6", {3, 5, 4, 6}}, {"3, 4, 5, 6", {3, 5, 4, 6}},
        {"0 1 2 3", {0, 2, 1, 3}}, {"3,4,5", {}},
        {"3,4,x,6", {}},           {"", {}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        EXPECT_EQ(StringToMargin(c.text), c.margins);
    }
}

TEST(MsuxTypesTest, RectanglesPointsAndBooleans) {
    EXPECT_EQ(msux::StringToRect("(1, 2, 3, 4)"), (TRect{1, 2, 3, 4}));
    EXPECT_EQ(msux::StringToRect("1 2 3 4"), (TRect{1, 2, 3, 4}));
    EXPECT_EQ(msux::StringToRect("(1, 2, 3"), TRect{});
    EXPECT_EQ(msux::StringToPoint("2, -1"), (TPoint{2, -1}));
    EXPECT_THROW(msux::StringToPoint("2"), EConvertError);
    for (const char* yes : {"true", "TRUE", "Yes", "1"}) EXPECT_TRUE(msux::StringToBool(yes)) << yes;
    for (const char* no : {"false", "no", "0", "", "2", "truely"}) EXPECT_FALSE(msux::StringToBool(no)) << no;
}

TEST(MsuxTypesTest, ImagePathsBecomeResourceNames) {
    const struct {
        const char* path;
        const char* name;
    } cases[] = {
        {"Blue\\Button.bmp", "Blue_Button_bmp"},
        {"Blue\\Button.BMP", "Blue_Button_BMP"},
        {"a\\b\\c.bmp", "a_b_c_bmp"},
        {"Button.png", "Button.png"},  // only a dot before "b" goes
        {"Button.b", "Button.b"},      // and only with more after it
        {"  Frame.bmp  ", "Frame_bmp"},
        {"no extension", "no extension"},
    };
    for (const auto& c : cases) EXPECT_EQ(StringToImage(c.path), c.name) << c.path;
}

TEST(MsuxTypesTest, KeywordsGiveTheirValueAndAnythingElseTheFirst) {
    EXPECT_EQ(StringToBgType("BorderFill"), msbtBorderFill);
    EXPECT_EQ(StringToBgType("imagefile"), msbtImage);
    EXPECT_EQ(StringToBgType("none"), msbtNone);
    EXPECT_EQ(StringToBgType("fill"), msbtFill);
    EXPECT_EQ(StringToBgType("whatever"), msbtFill);
    const struct {
        const char* text;
        TmsuxTileStyle style;
    } tiles[] = {{"tile", uxtlsTileAll},
                 {"Stretch", uxtlsStretchAll},
                 {"truesize", uxtlsTrueSize},
                 {"tilevertical", uxtlsTileVertical},
                 {"tilehorizontal", uxtlsTileHorizontal},
                 {"bordertileclientstretch", uxtlsBorderTileClientStretch},
                 {"borderstretchclienttile", uxtlsBorderStretchClientTile},
                 {"stretched", uxtlsTileAll}};
    for (const auto& t : tiles) EXPECT_EQ(StringToTileStyle(t.text), t.style) << t.text;
    EXPECT_EQ(StringToImageLayout("Horizontal"), msilHorizontal);
    EXPECT_EQ(StringToImageLayout("vertical"), msilVertical);
    EXPECT_EQ(StringToImageSelectType("dpi 96"), msisDpi);
    EXPECT_EQ(StringToImageSelectType("SIZE"), msisSize);
    EXPECT_EQ(StringToImageSelectType("96 dpi"), msisNone);
    EXPECT_EQ(StringToGlyphType("imageglyph"), msgtImage);
    EXPECT_EQ(StringToGlyphType("image"), msgtNone);
    EXPECT_EQ(StringToAligment("Center"), msaCenter);
    EXPECT_EQ(StringToAligment("right"), msaRight);
    EXPECT_EQ(StringToAligment("middle"), msaLeft);
    EXPECT_EQ(StringToTextShadow("single"), uxtsSingle);
    EXPECT_EQ(StringToTextShadow("continuous"), uxtsContinuous);
    EXPECT_EQ(StringToTextShadow("double"), uxtsNone);
}

TEST(MsuxTypesTest, FontsByNameSizeAndStyleWords) {
    const struct {
        const char* text;
        const char* name;
        int size;
        TFontStyles style;
    } cases[] = {
        {"Tahoma, 8, bold", "Tahoma", 8, {fsBold}},
        {"Tahoma,8,italic", "Tahoma", 8, {fsItalic}},
        {"Tahoma, 8", "Tahoma", 8, {}},
        {"Trebuchet MS, 10, Bold, Italic, Underline, StrikeOut",
         "Trebuchet MS",
         10,
         {fsBold, fsItalic, fsUnderline, fsStrikeOut}},
        {"Tahoma, 9, underline, quite", "Tahoma", 9, {fsUnderline}},
        {"Tahoma, 9, , , , bold", "Tahoma", 9, {fsBold}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        EXPECT_EQ(msux::StringToFontName(c.text), c.name);
        EXPECT_EQ(msux::StringToFontSize(c.text), c.size);
        EXPECT_EQ(msux::StringToFontStyle(c.text), c.style);
    }
    EXPECT_THROW(msux::StringToFontSize("Tahoma, big"), EConvertError);
    EXPECT_THROW(msux::StringToFontSize("Tahoma"), EConvertError);
}

}  // namespace
}  // namespace tarvel
