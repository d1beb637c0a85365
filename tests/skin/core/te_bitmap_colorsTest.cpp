#include "skin/core/te_bitmap_colors.h"

#include <gtest/gtest.h>

namespace tarvel {
namespace {

struct ColorCase {
    const char* what;
    uint32_t got;
    uint32_t want;
};

TEST(ColourMaths, ConversionsAndShifts) {
    const ColorCase cases[] = {
        {"FromRGB of a red TColor", FromRGB(0x000000FF), 0xFFFF0000},
        {"ToRGB drops alpha, swaps red and blue", ToRGB(0x80FF0000), 0x000000FF},
        {"teColor clamps each channel", teColor(300, -5, 128, 10), 0x0AFF0080},
        {"teColor of a system colour", teColor(clBtnFace, 128),
         (FromRGB(ColorToRGB(clBtnFace)) & 0xFFFFFF) | 0x80000000},
        {"teColor of a record", teColor(TteColorRec{0x11, 0x22, 0x33, 0x44}), 0x00112233},
        {"565 white", teColorToColor16(0xFFFFFFFF), 0xFFFF},
        {"555 white", teColorToColor15(0xFFFFFFFF), 0x7FFF},
        {"565 of 0x08 0x04 0x08", teColorToColor16(0xFF080408), (1u << 11) + (1u << 5) + 1},
        {"brightness clamps at white", ChangeBrightness(0xFFF0F0F0, 40), 0xFFFFFFFF},
        {"brightness gives alpha 255", ChangeBrightness(0x10101010, 0), 0xFF101010},
        {"ChangeColor clamps at black", ChangeColor(0xFF101010, -32), 0xFF000000},
        {"ChangeColor alpha wraps", ChangeColor(0xFA000000, 0, 0, 0, 10) >> 24, 4},
        {"SunkenColor subtracts", SunkenColor(0xFF808080, 16), 0xFF707070},
        {"RaisedColor adds per channel", RaisedColor(0xFF808080, 1, 2, 3, 0), 0xFF818283},
        {"StdChangeColor on a TColor", StdChangeColor(0x00102030, 16), 0x00203040},
        {"StdChangeColor ignores alpha delta", StdChangeColor(0x00102030, 0, 0, 0, 77), 0x00102030},
        {"MulDiv16", MulDiv16(300, 300, 7), 12857},
    };
    for (const ColorCase& c : cases) EXPECT_EQ(c.got, c.want) << c.what;
}

TEST(ColourMaths, HueShiftWrapsOnceEachWay) {
    // Pure red has hue 0; the hue steps are h / 255 of the circle.
    const struct {
        int amount;
        int hue;
    } cases[] = {{300, 45}, {-10, 245}, {0, 0}, {255, 255}};
    for (const auto& c : cases) {
        EXPECT_EQ(ChangeHue(teRed, c.amount), HSLtoRGB(static_cast<float>(c.hue) / 255.0f, 1.0f, 0.5f))
            << c.amount;
    }
}

TEST(ColourMaths, GreysKeepNoHueAndComeBack) {
    for (int grey : {0, 1, 127, 128, 200, 255}) {
        const uint32_t c = teColor(grey, grey, grey, 255);
        float h, s, l;
        RGBtoHSL(c, h, s, l);
        EXPECT_EQ(h, 0.0f);
        EXPECT_EQ(s, 0.0f);
        EXPECT_FLOAT_EQ(l, static_cast<float>(grey) / 255.0f);
        EXPECT_EQ(HSLtoRGB(h, 0, l), c);
    }
}

TEST(ColourMaths, HslRoundTripOfPrimaries) {
    for (uint32_t c :
         {teRed, teLime, teBlue, teYellow, teAqua, teFuchsia, teBorder, teHighlight, teHotHighlight}) {
        float h, s, l;
        RGBtoHSL(c, h, s, l);
        EXPECT_EQ(HSLtoRGB(h, s, l), c) << std::hex << c;
    }
}

TEST(ColourMaths, SaturationClampsInsteadOfWrapping) {
    // A weakly saturated colour desaturated further must end grey, not vivid.
    const uint32_t pale = teColor(130, 125, 125, 255);
    float h, s, l;
    RGBtoHSL(ChangeSat(pale, -100), h, s, l);
    EXPECT_EQ(s, 0.0f);
    RGBtoHSL(ChangeSat(teRed, 100), h, s, l);
    EXPECT_FLOAT_EQ(s, 1.0f);
}

TEST(ColourMaths, SetHueClampsItsArgument) {
    EXPECT_EQ(SetHue(teRed, -40), SetHue(teRed, 0));
    EXPECT_EQ(SetHue(teRed, 999), SetHue(teRed, 255));
    EXPECT_EQ(SetHue(teRed, 85), teLime);
}

TEST(ColourMaths, NamedColours) {
    EXPECT_EQ(teMenu, 0xFFEDEDEEu);
    EXPECT_EQ(teBorder, 0xFF003399u);
    EXPECT_EQ(teNone, 0x33333333u);
    EXPECT_EQ(teTransparentVar, 0x007F007Fu);
}

}  // namespace
}  // namespace tarvel
