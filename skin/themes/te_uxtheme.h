#pragma once
// The visual-style functions answered by the library's current theme: code
// written for the system's visual styles calls these instead and has its
// parts drawn by whatever theme is current. A class name opens a pseudo
// handle; drawing a (handle, part, state) calls the current theme's element
// operation for it. When no library theme is in force and the system's
// visual styles are on (never on this platform), the few functions with a
// system counterpart forward to it. Nothing installs them in place of
// anything; results are HRESULT values (0 success) or BOOL values (TRUE is -1).

#include <cstdint>

#include "platform/gdi/Gdi.h"
#include "skin/core/te_winapi.h"

namespace tarvel {

enum THEMESIZE : int { TS_MIN, TS_TRUE, TS_DRAW };

// Widths of the four sides.
struct MARGINS {
    int LeftWidth = 0;
    int RightWidth = 0;
    int TopHeight = 0;
    int BottomHeight = 0;
};

namespace Te_uxtheme {

// The pseudo handles of the class names (0xFFFF1A to 0xFFFF1F are unused).
enum THandle : uintptr_t {
    khButton = 0xFFFF10,
    khEdit = 0xFFFF11,
    khComboBox = 0xFFFF12,
    khHeader = 0xFFFF13,
    khTreeView = 0xFFFF14,
    khListView = 0xFFFF15,
    khTab = 0xFFFF16,
    khStatus = 0xFFFF17,
    khScrollBar = 0xFFFF18,
    khSpin = 0xFFFF19,
    khRebar = 0xFFFF20,
    khToolBar = 0xFFFF21,
    khMenu = 0xFFFF22,
    khWindow = 0xFFFF23,
};

constexpr int32_t S_OK = 0;
constexpr int32_t S_FALSE = 1;
constexpr int BOOL_TRUE = -1;
constexpr uint32_t STAP_ALLOW_NONCLIENT = 1;
constexpr uint32_t STAP_ALLOW_CONTROLS = 2;

// A library theme is in force (the current theme).
bool UseThemes();

// The whole class name, case ignored; any other text (a list included) opens nothing.
HTHEME OpenThemeData(HWND wnd, const char16_t* classList);
int32_t CloseThemeData(HTHEME theme);
int32_t DrawThemeBackground(HTHEME theme, HDC dc, int part, int state, const TRect* rect, const TRect* clip);
// charCount -1 draws up to the terminating zero; otherwise that many characters.
int32_t DrawThemeText(HTHEME theme, HDC dc, int part, int state, const char16_t* text, int charCount,
                      uint32_t flags, uint32_t flags2, const TRect* rect);
int32_t GetThemeBackgroundContentRect(HTHEME theme, HDC dc, int part, int state, const TRect* bounding,
                                      TRect* content);
int32_t GetThemeBackgroundExtent(HTHEME theme, HDC dc, int part, int state, const TRect* content,
                                 TRect* extent);
int32_t GetThemePartSize(HTHEME theme, HDC dc, int part, int state, const TRect* rect, THEMESIZE size,
                         TSize* out);
int32_t GetThemeTextExtent(HTHEME theme, HDC dc, int part, int state, const char16_t* text, int charCount,
                           uint32_t flags, const TRect* bounding, TRect* extent);
int32_t GetThemeTextMetrics(HTHEME theme, HDC dc, int part, int state, TEXTMETRICW* metrics);
int32_t GetThemeBackgroundRegion(HTHEME theme, HDC dc, int part, int state, const TRect* rect, HRGN* region);
int32_t HitTestThemeBackground(HTHEME theme, HDC dc, int part, int state, uint32_t options, const TRect* rect,
                               HRGN region, TPoint test, uint16_t* hitCode);
int32_t DrawThemeEdge(HTHEME theme, HDC dc, int part, int state, const TRect* dest, uint32_t edge,
                      uint32_t flags, TRect* content);
int32_t DrawThemeIcon(HTHEME theme, HDC dc, int part, int state, const TRect* rect, void* images, int index);
int IsThemePartDefined(HTHEME theme, int part, int state);
int IsThemeBackgroundPartiallyTransparent(HTHEME theme, int part, int state);
int32_t GetThemeColor(HTHEME theme, int part, int state, int prop, COLORREF* color);
int32_t GetThemeMetric(HTHEME theme, HDC dc, int part, int state, int prop, int* value);
int32_t GetThemeString(HTHEME theme, int part, int state, int prop, char16_t* buffer, int maxChars);
int32_t GetThemeBool(HTHEME theme, int part, int state, int prop, int* value);
int32_t GetThemeInt(HTHEME theme, int part, int state, int prop, int* value);
int32_t GetThemeEnumValue(HTHEME theme, int part, int state, int prop, int* value);
int32_t GetThemePosition(HTHEME theme, int part, int state, int prop, TPoint* point);
int32_t GetThemeFont(HTHEME theme, HDC dc, int part, int state, int prop, LOGFONTW* font);
int32_t GetThemeRect(HTHEME theme, int part, int state, int prop, TRect* rect);
int32_t GetThemeMargins(HTHEME theme, HDC dc, int part, int state, int prop, const TRect* rect,
                        MARGINS* margins);
int32_t GetThemeIntList(HTHEME theme, int part, int state, int prop, void* list);
int32_t GetThemePropertyOrigin(HTHEME theme, int part, int state, int prop, int* origin);
int32_t SetWindowTheme(HWND wnd, const char16_t* subAppName, const char16_t* subIdList);
int32_t GetThemeFilename(HTHEME theme, int part, int state, int prop, char16_t* buffer, int maxChars);
// The current theme's system colour of that index; without one, the class
// library's reference to it (0x80000000 | index).
COLORREF GetThemeSysColor(HTHEME theme, int colorId);
HBRUSH GetThemeSysColorBrush(HTHEME theme, int colorId);
int GetThemeSysBool(HTHEME theme, int boolId);
int GetThemeSysSize(HTHEME theme, int sizeId);
int32_t GetThemeSysFont(HTHEME theme, int fontId, LOGFONTW* font);
int32_t GetThemeSysString(HTHEME theme, int stringId, char16_t* buffer, int maxChars);
int32_t GetThemeSysInt(HTHEME theme, int intId, int* value);
int IsThemeActive();
int IsAppThemed();
HTHEME GetWindowTheme(HWND wnd);
int32_t EnableThemeDialogTexture(HWND wnd, uint32_t flags);
int IsThemeDialogTextureEnabled(HWND wnd);
uint32_t GetThemeAppProperties();
void SetThemeAppProperties(uint32_t flags);
int32_t GetCurrentThemeName(char16_t* fileName, int maxFileChars, char16_t* colorName, int maxColorChars,
                            char16_t* sizeName, int maxSizeChars);
int32_t GetThemeDocumentationProperty(const char16_t* themeName, const char16_t* propertyName,
                                      char16_t* value, int maxChars);
// What lies behind the window: its class-library parent's look, or the
// parent's own background.
int32_t DrawThemeParentBackground(HWND wnd, HDC dc, const TRect* rect);
int32_t EnableTheming(int enable);

}  // namespace Te_uxtheme

}  // namespace tarvel
