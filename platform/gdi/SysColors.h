#pragma once
// The fixed table of system colours (the classic scheme). The drawing layer
// needs them for edges and frame controls; the window system answers
// GetSysColor from this same table instead of keeping one of its own.

#include <cstdint>

namespace tarvel {

using COLORREF = uint32_t;  // 0x00BBGGRR

enum SysColorIndex : int {
    COLOR_SCROLLBAR = 0,
    COLOR_BACKGROUND = 1,
    COLOR_ACTIVECAPTION = 2,
    COLOR_INACTIVECAPTION = 3,
    COLOR_MENU = 4,
    COLOR_WINDOW = 5,
    COLOR_WINDOWFRAME = 6,
    COLOR_MENUTEXT = 7,
    COLOR_WINDOWTEXT = 8,
    COLOR_CAPTIONTEXT = 9,
    COLOR_ACTIVEBORDER = 10,
    COLOR_INACTIVEBORDER = 11,
    COLOR_APPWORKSPACE = 12,
    COLOR_HIGHLIGHT = 13,
    COLOR_HIGHLIGHTTEXT = 14,
    COLOR_BTNFACE = 15,
    COLOR_BTNSHADOW = 16,
    COLOR_GRAYTEXT = 17,
    COLOR_BTNTEXT = 18,
    COLOR_INACTIVECAPTIONTEXT = 19,
    COLOR_BTNHIGHLIGHT = 20,
    COLOR_3DDKSHADOW = 21,
    COLOR_3DLIGHT = 22,
    COLOR_INFOTEXT = 23,
    COLOR_INFOBK = 24,
    COLOR_HOTLIGHT = 26,
    COLOR_GRADIENTACTIVECAPTION = 27,
    COLOR_GRADIENTINACTIVECAPTION = 28,
    COLOR_MENUHILIGHT = 29,
    COLOR_MENUBAR = 30,
    COLOR_3DFACE = COLOR_BTNFACE,
    COLOR_3DSHADOW = COLOR_BTNSHADOW,
    COLOR_3DHILIGHT = COLOR_BTNHIGHLIGHT,
    COLOR_3DHIGHLIGHT = COLOR_BTNHIGHLIGHT,
    COLOR_DESKTOP = COLOR_BACKGROUND,
};

constexpr int kSysColorCount = 31;

// The colour of a system-colour index; 0 for an index outside the table.
COLORREF GetSysColor(int index);

// A class-library colour: 0x800000nn names system colour nn and is resolved
// through the table (an unknown index gives black); anything else is
// returned with its top byte cleared.
COLORREF ResolveSysColor(uint32_t color);

// The colours that the fixed colours of a classic button bitmap stand for,
// as pixel colours 0x00RRGGBB.
struct ButtonColorMap {
    uint32_t text, shadow, face, light, highlight;
};

// The button colours of the system-colour table.
ButtonColorMap SysButtonColorMap();

// A pixel (0xAARRGGBB) of a button bitmap in the mapped colours: black,
// 0x808080, 0xC0C0C0, 0xDFDFDF and white become text, shadow, face, light and
// highlight; the alpha byte and every other colour are kept.
uint32_t MapButtonColor(uint32_t pixel, const ButtonColorMap& map);

}  // namespace tarvel
