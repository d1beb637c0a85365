#pragma once
// The skin library's one door to optional system functions. This platform
// offers none of them: no visual-style engine, no layered windows, no
// desktop composition, no transparent blit, one monitor. Every flag is true
// only when its entry points exist, so callers that test a flag (or a
// pointer) before calling fall back to their own drawing.

#include <cstdint>
#include <mutex>

#include "platform/classlib/WindowScrollBars.h"
#include "platform/gdi/Gdi.h"
#include "platform/winsys/WinTypes.h"

namespace tarvel {

using HTHEME = struct HTHEME__*;

enum DWMWINDOWATTRIBUTE : int {
    DWMWA_NULL = 0,
    DWMWA_NCRENDERING_ENABLED,
    DWMWA_NCRENDERING_POLICY,
    DWMWA_TRANSITIONS_FORCEDISABLED,
    DWMWA_ALLOW_NCPAINT,
    DWMWA_CAPTION_BUTTON_BOUNDS,
    DWMWA_NONCLIENT_RTL_LAYOUT,
    DWMWA_FORCE_ICONIC_REPRESENTATION,
    DWMWA_FLIP3D_POLICY,
    DWMWA_LAST,
};

// The entry points of the visual-style library, each null while it is not
// loaded. Those the library calls carry their signatures; the others are
// only loaded and cleared.
using TUxEntry = void (*)();
struct TUxThemeEntryPoints {
    HTHEME (*OpenThemeData)(HWND, const char16_t*) = nullptr;
    int32_t (*CloseThemeData)(HTHEME) = nullptr;
    int32_t (*DrawThemeBackground)(HTHEME, HDC, int, int, const TRect*, const TRect*) = nullptr;
    int32_t (*DrawThemeText)(HTHEME, HDC, int, int, const char16_t*, int, uint32_t, uint32_t,
                             const TRect*) = nullptr;
    TUxEntry GetThemeBackgroundContentRect = nullptr;
    TUxEntry GetThemeBackgroundExtent = nullptr;
    int32_t (*GetThemePartSize)(HTHEME, HDC, int, int, const TRect*, int, TSize*) = nullptr;
    TUxEntry GetThemeTextExtent = nullptr;
    TUxEntry GetThemeTextMetrics = nullptr;
    int32_t (*GetThemeBackgroundRegion)(HTHEME, HDC, int, int, const TRect*, HRGN*) = nullptr;
    TUxEntry HitTestThemeBackground = nullptr;
    int32_t (*DrawThemeEdge)(HTHEME, HDC, int, int, const TRect*, uint32_t, uint32_t, TRect*) = nullptr;
    TUxEntry DrawThemeIcon = nullptr;
    TUxEntry IsThemePartDefined = nullptr;
    int (*IsThemeBackgroundPartiallyTransparent)(HTHEME, int, int) = nullptr;
    TUxEntry GetThemeColor = nullptr;
    TUxEntry GetThemeMetric = nullptr;
    TUxEntry GetThemeString = nullptr;
    TUxEntry GetThemeBool = nullptr;
    TUxEntry GetThemeInt = nullptr;
    TUxEntry GetThemeEnumValue = nullptr;
    TUxEntry GetThemePosition = nullptr;
    TUxEntry GetThemeFont = nullptr;
    TUxEntry GetThemeRect = nullptr;
    TUxEntry GetThemeMargins = nullptr;
    TUxEntry GetThemeIntList = nullptr;
    TUxEntry GetThemePropertyOrigin = nullptr;
    TUxEntry SetWindowTheme = nullptr;
    TUxEntry GetThemeFilename = nullptr;
    COLORREF (*GetThemeSysColor)(HTHEME, int) = nullptr;
    TUxEntry GetThemeSysColorBrush = nullptr;
    TUxEntry GetThemeSysBool = nullptr;
    TUxEntry GetThemeSysSize = nullptr;
    TUxEntry GetThemeSysFont = nullptr;
    TUxEntry GetThemeSysString = nullptr;
    TUxEntry GetThemeSysInt = nullptr;
    int (*IsThemeActive)() = nullptr;
    int (*IsAppThemed)() = nullptr;
    HTHEME (*GetWindowTheme)(HWND) = nullptr;
    TUxEntry EnableThemeDialogTexture = nullptr;
    int (*IsThemeDialogTextureEnabled)(HWND) = nullptr;
    TUxEntry GetThemeAppProperties = nullptr;
    TUxEntry SetThemeAppProperties = nullptr;
    TUxEntry GetCurrentThemeName = nullptr;
    TUxEntry GetThemeDocumentationProperty = nullptr;
    TUxEntry DrawThemeParentBackground = nullptr;
    TUxEntry EnableTheming = nullptr;
};

namespace Te_winapi {

// The uxtheme entry points: one record, so one assignment clears them all.
extern TUxThemeEntryPoints UxTheme;

extern int (*SetLayeredWindowAttributes)(HWND, COLORREF, uint8_t, uint32_t);
extern int (*UpdateLayeredWindow)(HWND, HDC, const TPoint*, const TSize*, HDC, const TPoint*, COLORREF,
                                  const BLENDFUNCTION*, uint32_t);
extern bool (*TransparentBltFunc)(HDC, int, int, int, int, HDC, int, int, int, int, COLORREF);
extern int32_t (*DwmIsCompositionEnabled)(int*);
extern int32_t (*DwmSetWindowAttribute)(HWND, uint32_t, const void*, uint32_t);

}  // namespace Te_winapi

// Version and feature flags, fixed at start.
bool IsWinNT();
bool IsWinNT4();
bool IsWin2k();
bool IsWinXP();
bool IsWinVista();
bool IsMsImg();
bool UseThemes();
// Recomputes UseThemes from the visual-style library (false without it).
bool UseThemesSlow();

// Monitor rectangles: the work area when workArea is true, else the whole
// monitor. With one monitor every question is answered by the primary one.
TRect GetRectOfPrimaryMonitor(bool workArea);
TRect GetRectOfMonitorContainingRect(const TRect& rect, bool workArea);
TRect GetRectOfMonitorContainingPoint(const TPoint& point, bool workArea);
TRect GetRectOfMonitorContainingWindow(HWND wnd, bool workArea);

// Returns the scroll-bar state, or 0 with rgstate[0] = STATE_SYSTEM_INVISIBLE
// when the system cannot tell (the other fields stay as the caller set them).
int MyGetScrollBarInfo(HWND wnd, int32_t objectId, SCROLLBARINFO& info);

// The reference-counted loader of the visual-style library. Answers whether
// it is loaded; on this platform it never is.
bool LoadUxTheme();
void ReleaseUxTheme();
int UxThemeReferenceCount();

}  // namespace tarvel
