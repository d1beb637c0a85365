#include "skin/core/te_bitmap_colors.h"

#include <algorithm>
#include <cfenv>
#include <cmath>

namespace tarvel {

int RoundHalfEven(long double x) { return static_cast<int>(std::nearbyintl(x)); }

TteColor teColor(TColor color, uint8_t alpha) {
    return (FromRGB(ColorToRGB(color)) & 0x00FFFFFFu) | (static_cast<TteColor>(alpha) << 24);
}

TteColor teColor(int r, int g, int b, uint8_t alpha) {
    auto clamp = [](int v) { return static_cast<TteColor>(std::clamp(v, 0, 255)); };
    return (static_cast<TteColor>(alpha) << 24) | (clamp(r) << 16) | (clamp(g) << 8) | clamp(b);
}

TColor teColor(const TteColorRec& rec) {
    return ToRGB((static_cast<TteColor>(rec.A) << 24) | (rec.R << 16) | (rec.G << 8) | rec.B);
}

uint16_t teColorToColor16(TteColor c) {
    return static_cast<uint16_t>(((RedOf(c) >> 3) << 11) + ((GreenOf(c) >> 2) << 5) + (BlueOf(c) >> 3));
}

uint16_t teColorToColor15(TteColor c) {
    return static_cast<uint16_t>(((RedOf(c) >> 3) << 10) + ((GreenOf(c) >> 3) << 5) + (BlueOf(c) >> 3));
}

uint16_t MulDiv16(uint16_t a, uint16_t b, uint16_t c) {
    if (c == 0) return 0xFFFF;
    return static_cast<uint16_t>(static_cast<uint32_t>(a) * b / c);
}

void RGBtoHSL(TteColor c, float& h, float& s, float& l) {
    const float r = static_cast<float>(RedOf(c)) / 255.0f;
    const float g = static_cast<float>(GreenOf(c)) / 255.0f;
    const float b = static_cast<float>(BlueOf(c)) / 255.0f;
    const float mx = std::max({r, g, b});
    const float mn = std::min({r, g, b});
    l = (mx + mn) / 2.0f;
    if (mx == mn) {
        h = 0.0f;
        s = 0.0f;
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

namespace {

int HueToChannel(float p, float q, float x) {
    x = x - std::floor(x);
    float v;
    if (6.0f * x < 1.0f)
        v = p + (q - p) * 6.0f * x;
    else if (2.0f * x < 1.0f)
        v = q;
    else if (3.0f * x < 2.0f)
        v = p + (q - p) * (2.0f / 3.0f - x) * 6.0f;
    else
        v = p;
    return RoundHalfEven(static_cast<long double>(v) * 255);
}

// A hue step out of 0..255 comes back in once: hues go round.
int WrapOnce(int v) {
    if (v >= 256) return v - 255;
    if (v < 0) return v + 255;
    return v;
}

int Scaled255(float v) { return RoundHalfEven(static_cast<long double>(v) * 255); }

}  // namespace

TteColor HSLtoRGB(float h, float s, float l) {
    if (s == 0.0f) {
        const int v = Scaled255(l);
        return teColor(v, v, v, 255);
    }
    const float q = l > 0.5f ? s + l - s * l : l * (s + 1.0f);
    const float p = 2.0f * l - q;
    return teColor(HueToChannel(p, q, h + 1.0f / 3.0f), HueToChannel(p, q, h),
                   HueToChannel(p, q, h - 1.0f / 3.0f), 255);
}

TteColor SetHue(TteColor c, int hue) {
    float h, s, l;
    RGBtoHSL(c, h, s, l);
    return HSLtoRGB(static_cast<float>(std::clamp(hue, 0, 255)) / 255.0f, s, l);
}

TteColor ChangeHue(TteColor c, int amount) {
    float h, s, l;
    RGBtoHSL(c, h, s, l);
    return HSLtoRGB(static_cast<float>(WrapOnce(amount + Scaled255(h))) / 255.0f, s, l);
}

TteColor ChangeSat(TteColor c, int amount) {
    float h, s, l;
    RGBtoHSL(c, h, s, l);
    return HSLtoRGB(h, static_cast<float>(std::clamp(amount + Scaled255(s), 0, 255)) / 255.0f, l);
}

TteColor ChangeBrightness(TteColor c, int amount) {
    return teColor(RedOf(c) + amount, GreenOf(c) + amount, BlueOf(c) + amount, 255);
}

TteColor ChangeColor(TteColor c, int dR, int dG, int dB, int dA) {
    return teColor(RedOf(c) + dR, GreenOf(c) + dG, BlueOf(c) + dB,
                   static_cast<uint8_t>((AlphaOf(c) + dA) & 0xFF));
}

TteColor ChangeColor(TteColor c, int d) { return ChangeColor(c, d, d, d, 0); }
TteColor SunkenColor(TteColor c, int dR, int dG, int dB, int dA) {
    return ChangeColor(c, -dR, -dG, -dB, -dA);
}
TteColor SunkenColor(TteColor c, int d) { return ChangeColor(c, -d); }
TteColor RaisedColor(TteColor c, int dR, int dG, int dB, int dA) { return ChangeColor(c, dR, dG, dB, dA); }
TteColor RaisedColor(TteColor c, int d) { return ChangeColor(c, d); }

TColor StdChangeColor(TColor color, int dR, int dG, int dB, int) {
    return ToRGB(ChangeColor(FromRGB(ColorToRGB(color)), dR, dG, dB, 0));
}

TColor StdChangeColor(TColor color, int d) { return StdChangeColor(color, d, d, d, 0); }

}  // namespace tarvel
