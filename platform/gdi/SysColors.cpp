#include "platform/gdi/SysColors.h"

#include "platform/gdi/Gdi.h"

namespace tarvel {

namespace {

constexpr COLORREF Rgb(int r, int g, int b) { return static_cast<COLORREF>(r | (g << 8) | (b << 16)); }

// The classic scheme. The dark shadow is deliberately not pure black: frame
// control glyphs are the only pure black pixels a frame control draws.
constexpr COLORREF kSysColors[kSysColorCount] = {
    Rgb(212, 208, 200),  //  0 scroll bar
    Rgb(58, 110, 165),   //  1 background
    Rgb(10, 36, 106),    //  2 active caption
    Rgb(128, 128, 128),  //  3 inactive caption
    Rgb(212, 208, 200),  //  4 menu
    Rgb(255, 255, 255),  //  5 window
    Rgb(0, 0, 0),        //  6 window frame
    Rgb(0, 0, 0),        //  7 menu text
    Rgb(0, 0, 0),        //  8 window text
    Rgb(255, 255, 255),  //  9 caption text
    Rgb(212, 208, 200),  // 10 active border
    Rgb(212, 208, 200),  // 11 inactive border
    Rgb(128, 128, 128),  // 12 application workspace
    Rgb(10, 36, 106),    // 13 highlight
    Rgb(255, 255, 255),  // 14 highlight text
    Rgb(212, 208, 200),  // 15 button face
    Rgb(128, 128, 128),  // 16 button shadow
    Rgb(128, 128, 128),  // 17 grey text
    Rgb(0, 0, 0),        // 18 button text
    Rgb(212, 208, 200),  // 19 inactive caption text
    Rgb(255, 255, 255),  // 20 button highlight
    Rgb(64, 64, 64),     // 21 3D dark shadow
    Rgb(212, 208, 200),  // 22 3D light
    Rgb(0, 0, 0),        // 23 info text
    Rgb(255, 255, 225),  // 24 info background
    Rgb(181, 181, 181),  // 25 (unused)
    Rgb(0, 0, 128),      // 26 hot light
    Rgb(166, 202, 240),  // 27 gradient active caption
    Rgb(192, 192, 192),  // 28 gradient inactive caption
    Rgb(10, 36, 106),    // 29 menu highlight
    Rgb(212, 208, 200),  // 30 menu bar
};

}  // namespace

COLORREF GetSysColor(int index) {
    if (index < 0 || index >= kSysColorCount) return 0;
    return kSysColors[index];
}

COLORREF ResolveSysColor(uint32_t color) {
    if ((color & 0xFF000000u) == 0x80000000u) return GetSysColor(static_cast<int>(color & 0xFFu));
    return color & 0x00FFFFFFu;
}

ButtonColorMap SysButtonColorMap() {
    return ButtonColorMap{
        ColorRefToPixel(GetSysColor(COLOR_BTNTEXT)), ColorRefToPixel(GetSysColor(COLOR_BTNSHADOW)),
        ColorRefToPixel(GetSysColor(COLOR_BTNFACE)), ColorRefToPixel(GetSysColor(COLOR_3DLIGHT)),
        ColorRefToPixel(GetSysColor(COLOR_BTNHIGHLIGHT))};
}

uint32_t MapButtonColor(uint32_t pixel, const ButtonColorMap& map) {
    uint32_t to = 0;
    switch (pixel & 0xFFFFFF) {
        case 0x000000: to = map.text; break;
        case 0x808080: to = map.shadow; break;
        case 0xC0C0C0: to = map.face; break;
        case 0xDFDFDF: to = map.light; break;
        case 0xFFFFFF: to = map.highlight; break;
        default: return pixel;
    }
    return (pixel & 0xFF000000) | (to & 0xFFFFFF);
}

}  // namespace tarvel
