#include "skin/core/te_bitmap_colors.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <random>
#include <vector>

#include "skin/core/te_bitmap.h"

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

// The recolouring as it was first written, rounding in long double: the
// faster routines must give the same colour for every input.
namespace former {

int Round(long double x) { return static_cast<int>(std::nearbyintl(x)); }

void ToHsl(uint32_t c, float& h, float& s, float& l) {
    const float r = static_cast<float>(RedOf(c)) / 255.0f, g = static_cast<float>(GreenOf(c)) / 255.0f,
                b = static_cast<float>(BlueOf(c)) / 255.0f;
    const float mx = std::max({r, g, b}), mn = std::min({r, g, b});
    l = (mx + mn) / 2.0f;
    if (mx == mn) {
        h = s = 0.0f;
        return;
    }
    const float d = mx - mn;
    s = l >= 0.5f ? d / (2.0f - mx - mn) : d / (mx + mn);
    if (mx == r)
        h = (g - b) / d;
    else if (mx != g)
        h = (r - g) / d + 4.0f;
    else
        h = (b - r) / d + 2.0f;
    h = h / 6.0f;
    if (h < 0.0f) h += 1.0f;
}

int Channel(float p, float q, float x) {
    x = x - std::floor(x);
    float v = p;
    if (6.0f * x < 1.0f)
        v = p + (q - p) * 6.0f * x;
    else if (2.0f * x < 1.0f)
        v = q;
    else if (3.0f * x < 2.0f)
        v = p + (q - p) * (2.0f / 3.0f - x) * 6.0f;
    return Round(static_cast<long double>(v) * 255);
}

uint32_t FromHsl(float h, float s, float l) {
    if (s == 0.0f) {
        const int v = Round(static_cast<long double>(l) * 255);
        return teColor(v, v, v, 255);
    }
    const float q = l > 0.5f ? s + l - s * l : l * (s + 1.0f);
    const float p = 2.0f * l - q;
    return teColor(Channel(p, q, h + 1.0f / 3.0f), Channel(p, q, h), Channel(p, q, h - 1.0f / 3.0f), 255);
}

int Scaled(float v) { return Round(static_cast<long double>(v) * 255); }

uint32_t Recolour(uint32_t c, TRecolour how, int amount) {
    float h, s, l;
    ToHsl(c, h, s, l);
    switch (how) {
        case TRecolour::Brightness:
            return teColor(RedOf(c) + amount, GreenOf(c) + amount, BlueOf(c) + amount, 255);
        case TRecolour::Sat:
            return FromHsl(h, static_cast<float>(std::clamp(amount + Scaled(s), 0, 255)) / 255.0f, l);
        case TRecolour::SetHue: return FromHsl(static_cast<float>(std::clamp(amount, 0, 255)) / 255.0f, s, l);
        case TRecolour::Hue: {
            int k = amount + Scaled(h);
            k = k >= 256 ? k - 255 : k < 0 ? k + 255 : k;
            return FromHsl(static_cast<float>(k) / 255.0f, s, l);
        }
    }
    return c;
}

}  // namespace former

// Every red and green with a spread of blues, every grey, and random colours;
// alpha varies, 0 among it.
// Every pair of channels in full with the third spread over its range,
// every grey, and random colours; alpha varies, 0 among it.
std::vector<uint32_t> DenseColours() {
    std::vector<uint32_t> colours;
    std::mt19937 rng(4);
    for (int third = 0; third < 3; ++third)
        for (uint32_t pair = 0; pair < 65536; ++pair) {
            const uint32_t spread = (pair * 37 >> 5) & 0xFF, hi = pair >> 8, lo = pair & 0xFF;
            const uint32_t rgb = third == 0   ? (hi << 16 | lo << 8 | spread)
                                 : third == 1 ? (hi << 16 | spread << 8 | lo)
                                              : (spread << 16 | hi << 8 | lo);
            colours.push_back((rng() & 0xFF) << 24 | rgb);
        }
    for (uint32_t v = 0; v < 256; ++v) colours.push_back(0xFF000000u | v * 0x010101u);
    for (int i = 0; i < 65536; ++i) colours.push_back(static_cast<uint32_t>(rng()));
    return colours;
}

TEST(ColourMaths, RecolouringGivesTheFormerColoursExactly) {
    const std::vector<uint32_t> colours = DenseColours();
    const struct {
        TRecolour how;
        int amount;
        TRecolour scalar;
    } cases[] = {
        {TRecolour::Hue, 40, TRecolour::Hue},
        {TRecolour::Hue, -77, TRecolour::Hue},
        {TRecolour::Hue, 300, TRecolour::Hue},
        {TRecolour::Sat, -60, TRecolour::Sat},
        {TRecolour::Sat, 90, TRecolour::Sat},
        {TRecolour::Sat, -300, TRecolour::Sat},
        {TRecolour::SetHue, 0, TRecolour::SetHue},
        {TRecolour::SetHue, 170, TRecolour::SetHue},
        {TRecolour::Brightness, 25, TRecolour::Brightness},
        {TRecolour::Brightness, -300, TRecolour::Brightness},
    };
    for (const auto& c : cases) {
        std::vector<uint32_t> run = colours;
        RecolourPixels(run.data(), static_cast<int64_t>(run.size()), c.how, c.amount);
        for (size_t i = 0; i < colours.size(); ++i) {
            const uint32_t p = colours[i];
            const uint32_t want =
                (p >> 24) == 0 ? p : (former::Recolour(p, c.how, c.amount) & 0xFFFFFF) | (p & 0xFF000000u);
            ASSERT_EQ(run[i], want) << std::hex << p << " by " << std::dec << c.amount << " kind "
                                    << static_cast<int>(c.how);
        }
        for (size_t i = 0; i < colours.size(); i += 7) {
            const uint32_t p = colours[i] | 0xFF000000u;
            uint32_t one = 0;
            switch (c.scalar) {
                case TRecolour::Hue: one = ChangeHue(p, c.amount); break;
                case TRecolour::Sat: one = ChangeSat(p, c.amount); break;
                case TRecolour::SetHue: one = SetHue(p, c.amount); break;
                case TRecolour::Brightness: one = ChangeBrightness(p, c.amount); break;
            }
            ASSERT_EQ(one, former::Recolour(p, c.how, c.amount)) << std::hex << p;
        }
    }
}

// The bitmap routines go through the runs, odd widths and clear pixels included.
TEST(ColourMaths, BitmapRecolouringMatchesTheColourFunctions) {
    TteBitmap b;
    b.SetSize(7, 5);
    std::mt19937 rng(8);
    for (int i = 0; i < 35; ++i)
        b.Bits()[i] = i % 5 == 0 ? static_cast<uint32_t>(rng()) & 0x00FFFFFF : static_cast<uint32_t>(rng());
    const std::vector<uint32_t> before(b.Bits(), b.Bits() + 35);
    b.ChangeBitmapHue(33);
    for (int i = 0; i < 35; ++i) {
        const uint32_t p = before[static_cast<size_t>(i)];
        EXPECT_EQ(b.Bits()[i], (p >> 24) == 0 ? p : (ChangeHue(p, 33) & 0xFFFFFF) | (p & 0xFF000000u)) << i;
    }
}

TEST(ColourMaths, NamedColours) {
    EXPECT_EQ(teMenu, 0xFFEDEDEEu);
    EXPECT_EQ(teBorder, 0xFF003399u);
    EXPECT_EQ(teNone, 0x33333333u);
    EXPECT_EQ(teTransparentVar, 0x007F007Fu);
}

}  // namespace
}  // namespace tarvel
