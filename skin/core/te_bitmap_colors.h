#pragma once
// Colour arithmetic of the skin library: the 32-bit pixel colour TteColor
// (0xAARRGGBB, straight alpha) against the class library's TColor
// (0x00BBGGRR or a system colour), 16- and 15-bit packing, HSL, and the hue,
// saturation, brightness and channel shifts themes recolour themselves with.
// All functions are pure. Rounding is to nearest, ties to even.

#include <cstdint>

#include "platform/classlib/Colors.h"

namespace tarvel {

using TteColor = uint32_t;

// The four bytes of a pixel in memory order.
struct TteColorRec {
    uint8_t B = 0, G = 0, R = 0, A = 0;
};

constexpr TteColor teBlack = 0xFF000000, teGray = 0xFF7F7F7F, teWhite = 0xFFFFFFFF, teMaroon = 0xFF7F0000,
                   teGreen = 0xFF007F00, teOlive = 0xFF7F7F00, teNavy = 0xFF00007F, tePurple = 0xFF7F007F,
                   teTeal = 0xFF007F7F, teRed = 0xFFFF0000, teLime = 0xFF00FF00, teYellow = 0xFFFFFF00,
                   teBlue = 0xFF0000FF, teFuchsia = 0xFFFF00FF, teAqua = 0xFF00FFFF, teMenu = 0xFFEDEDEE,
                   teBorder = 0xFF003399, teWindow = 0xFFEBEBEE, teBtnFace = 0xFFD2D2D2,
                   teBtnShadow = 0xFFA8A8A8, teHotHighlight = 0xFFF8C751, teHighlight = 0xFF64A0FF,
                   teHintBack = 0xFFEBEBEE, teNone = 0x33333333, teTransparentVar = 0x007F007F;

constexpr int RedOf(TteColor c) { return static_cast<int>((c >> 16) & 0xFF); }
constexpr int GreenOf(TteColor c) { return static_cast<int>((c >> 8) & 0xFF); }
constexpr int BlueOf(TteColor c) { return static_cast<int>(c & 0xFF); }
constexpr int AlphaOf(TteColor c) { return static_cast<int>(c >> 24); }

// 0x00BBGGRR -> 0xFFRRGGBB.
constexpr TteColor FromRGB(TColor c) {
    return 0xFF000000u | ((c & 0xFF) << 16) | (c & 0xFF00) | ((c >> 16) & 0xFF);
}
// 0xAARRGGBB -> 0x00BBGGRR.
constexpr TColor ToRGB(TteColor c) { return ((c & 0xFF) << 16) | (c & 0xFF00) | ((c >> 16) & 0xFF); }

// The colour (system colours resolved) with the given alpha.
TteColor teColor(TColor color, uint8_t alpha);
// Each channel clamped to 0..255.
TteColor teColor(int r, int g, int b, uint8_t alpha);
TColor teColor(const TteColorRec& rec);
inline TColor teColorToColor(TteColor c) { return ToRGB(c); }
uint16_t teColorToColor16(TteColor c);  // 5-6-5
uint16_t teColorToColor15(TteColor c);  // 5-5-5
uint16_t MulDiv16(uint16_t a, uint16_t b, uint16_t c);

// H, S and L in 0..1 (H = 1 is the hue of 0); the alpha of c is not used.
void RGBtoHSL(TteColor c, float& h, float& s, float& l);
TteColor HSLtoRGB(float h, float s, float l);  // alpha 255

TteColor SetHue(TteColor c, int hue);
TteColor ChangeHue(TteColor c, int amount);
// Saturation is clamped to 0..255: a hue may wrap around, a saturation must not.
TteColor ChangeSat(TteColor c, int amount);
TteColor ChangeBrightness(TteColor c, int amount);  // alpha 255
// Colour channels clamp, alpha wraps modulo 256.
TteColor ChangeColor(TteColor c, int dR, int dG, int dB, int dA);
TteColor ChangeColor(TteColor c, int d);
TteColor SunkenColor(TteColor c, int dR, int dG, int dB, int dA);
TteColor SunkenColor(TteColor c, int d);
TteColor RaisedColor(TteColor c, int dR, int dG, int dB, int dA);
TteColor RaisedColor(TteColor c, int d);
// On a TColor; the alpha delta has no effect.
TColor StdChangeColor(TColor color, int dR, int dG, int dB, int dA);
TColor StdChangeColor(TColor color, int d);

// round(x) to nearest, ties to even, as every colour and gradient step rounds.
int RoundHalfEven(long double x);

// Whole runs of pixels recoloured as the functions above recolour one colour
// (amount is the hue for SetHue): pixels of alpha 0 stay as they are, and
// every pixel keeps its alpha.
enum class TRecolour { Brightness, Sat, Hue, SetHue };
void RecolourPixels(uint32_t* pixels, int64_t count, TRecolour how, int amount);

}  // namespace tarvel
