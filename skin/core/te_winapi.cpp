#include "skin/core/te_winapi.h"

namespace tarvel {

namespace Te_winapi {

TUxThemeEntryPoints UxTheme;
int (*SetLayeredWindowAttributes)(HWND, COLORREF, uint8_t, uint32_t) = nullptr;
int (*UpdateLayeredWindow)(HWND, HDC, const TPoint*, const TSize*, HDC, const TPoint*, COLORREF,
                           const BLENDFUNCTION*, uint32_t) = nullptr;
bool (*TransparentBltFunc)(HDC, int, int, int, int, HDC, int, int, int, int, COLORREF) = nullptr;
int32_t (*DwmIsCompositionEnabled)(int*) = nullptr;
int32_t (*DwmSetWindowAttribute)(HWND, uint32_t, const void*, uint32_t) = nullptr;

}  // namespace Te_winapi

namespace {

// What this platform answers: an NT-family system older than the first one
// with visual styles, and none of the optional libraries.
struct TPlatformFacts {
    bool winNT = true;
    bool winNT4 = false;
    bool hasUxTheme = false;
    bool hasGetScrollBarInfo = false;
};
constexpr TPlatformFacts kFacts;

struct TUxThemeState {
    std::mutex lock;
    int references = 0;
    bool loaded = false;
    bool useThemes = false;
};

TUxThemeState& UxState() {
    static TUxThemeState state;
    return state;
}

// Each flag follows its entry points, so a flag never invites a call
// through a null pointer.
bool LayeredWindowsFound() { return Te_winapi::SetLayeredWindowAttributes != nullptr; }
bool DwmFound() { return Te_winapi::DwmSetWindowAttribute != nullptr && Te_winapi::DwmIsCompositionEnabled; }

}  // namespace

bool IsWinNT() { return kFacts.winNT; }
bool IsWinNT4() { return kFacts.winNT4; }
bool IsWin2k() { return LayeredWindowsFound(); }
bool IsWinXP() { return UxState().loaded; }
bool IsWinVista() { return DwmFound(); }
bool IsMsImg() { return Te_winapi::TransparentBltFunc != nullptr; }
bool UseThemes() { return UxState().useThemes; }

bool UseThemesSlow() {
    TUxThemeState& s = UxState();
    const TUxThemeEntryPoints& ux = Te_winapi::UxTheme;
    s.useThemes =
        s.loaded && ux.IsAppThemed && ux.IsThemeActive && ux.IsAppThemed() != 0 && ux.IsThemeActive() != 0;
    return s.useThemes;
}

bool LoadUxTheme() {
    TUxThemeState& s = UxState();
    std::lock_guard guard(s.lock);
    ++s.references;
    if (!s.loaded && kFacts.hasUxTheme) s.loaded = true;  // never on this platform
    UseThemesSlow();
    return s.loaded;
}

void ReleaseUxTheme() {
    TUxThemeState& s = UxState();
    std::lock_guard guard(s.lock);
    if (s.references > 0) --s.references;
    if (s.loaded && s.references == 0) {
        s.loaded = false;
        Te_winapi::UxTheme = TUxThemeEntryPoints{};
        s.useThemes = false;  // the cleared pointers must not be called
    }
}

int UxThemeReferenceCount() { return UxState().references; }

int MyGetScrollBarInfo(HWND wnd, int32_t objectId, SCROLLBARINFO& info) {
    if (GetScrollBarInfo(wnd, objectId, info)) return 1;
    info.rgstate[0] = STATE_SYSTEM_INVISIBLE;
    return 0;
}

namespace {
// Unit start: the theme library's first reference.
struct TUnitStart {
    TUnitStart() { LoadUxTheme(); }
} unitStart;
}  // namespace

}  // namespace tarvel
