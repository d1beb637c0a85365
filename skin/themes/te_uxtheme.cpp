#include "skin/themes/te_uxtheme.h"

#include <array>

#include "platform/classlib/Controls.h"
#include "platform/winsys/MessageApi.h"
#include "platform/winsys/PaintApi.h"
#include "platform/winsys/WinMessages.h"
#include "platform/winsys/WindowApi.h"
#include "skin/core/te_const.h"
#include "skin/core/te_theme_api.h"
#include "skin/core/te_theme_manager.h"
#include "skin/core/te_utils.h"

namespace tarvel::Te_uxtheme {

namespace {

constexpr const char* kDefault = "default";

// No library theme in force, and the system's visual styles on.
bool UseSystemUxTheme() { return !UseThemes() && tarvel::UseThemes(); }

HTHEME Handle(THandle h) { return reinterpret_cast<HTHEME>(static_cast<uintptr_t>(h)); }
bool Is(HTHEME theme, THandle h) { return theme == Handle(h); }

// The canvas the theme draws on, over the caller's DC.
class TDcCanvas {
public:
    explicit TDcCanvas(HDC dc) { canvas_.SetHandle(dc); }
    ~TDcCanvas() { canvas_.SetHandle(HDC{}); }
    TCanvas& operator*() { return canvas_; }

private:
    TCanvas canvas_;
};

// Entry `state` (counted from 1) of a table of draw states; false past its ends.
template <class E, size_t N>
bool StateAt(const E (&states)[N], int state, E& out) {
    if (state < 1 || state > static_cast<int>(N)) return false;
    out = states[state - 1];
    return true;
}

// States 1 to 4 of the kinds that have only normal, hot, pressed and disabled.
constexpr TteButtonDrawState kButtonStates[] = {kbdsNormal, kbdsHot, kbdsPressed, kbdsDisabled};
constexpr TteScrollButtonDrawState kScrollStates[] = {ksbdsNormal, ksbdsHot, ksbdsPressed, ksbdsDisabled};
constexpr TteScrollAreaDrawState kAreaStates[] = {ksadsNormal, ksadsHot, ksadsPressed, ksadsDisabled};
constexpr TteEditButtonDrawState kEditButtonStates[] = {kebdsNormal, kebdsHot, kebdsPressed, kebdsDisabled};

void DrawButton(TteTheme& t, TCanvas& c, const TRect& r, int part, int state) {
    switch (part) {
        case 1: {
            TteButtonDrawState s = kbdsNormal;
            if (state == 2) s = kbdsHot;
            if (state == 3) s = kbdsPressed;
            if (state == 4) s = kbdsDisabled;
            if (state == 5) s = kbdsFocused;
            t.ButtonDraw(kbscButton, c, ButtonInfo(r, s), kDefault);
            break;
        }
        case 2:
        case 3: {
            static constexpr TteCheckDrawState kStates[] = {
                kcdsUncheckedNormal, kcdsUncheckedHot, kcdsUncheckedPressed, kcdsUncheckedDisabled,
                kcdsCheckedNormal,   kcdsCheckedHot,   kcdsCheckedPressed,   kcdsCheckedDisabled,
                kcdsMixedNormal,     kcdsMixedHot,     kcdsMixedPressed,     kcdsMixedDisabled};
            TteCheckDrawState s;
            if (!StateAt(kStates, state, s) || (part == 2 && state > 8)) return;
            t.CheckDraw(part == 3 ? kcscCheckBox : kcscRadioButton, c, CheckInfo(r, s), kDefault);
            break;
        }
        case 4:
            t.GroupDraw(kgscGroupBox, c, GroupInfo(r, NullRect, state == 1 ? kgdsNormal : kgdsDisabled),
                        kDefault);
            break;
        default: break;
    }
}

void DrawEdit(TteTheme& t, TCanvas& c, const TRect& r, int part, int state) {
    if (part == 0 || part == 2) {
        t.EditDraw(kescEdit, c, EditInfo(r, kedsNormal), kDefault);
        return;
    }
    static constexpr TteEditDrawState kStates[] = {kedsNormal,  kedsHot,      kedsNormal, kedsDisabled,
                                                   kedsFocused, kedsDisabled, kedsNormal};
    TteEditDrawState s;
    if (part == 1 && StateAt(kStates, state, s)) t.EditDraw(kescEdit, c, EditInfo(r, s), kDefault);
}

void DrawComboBox(TteTheme& t, TCanvas& c, const TRect& r, int part, int state) {
    if (part == 0) {
        t.EditDraw(kescEdit, c, EditInfo(r, kedsNormal), kDefault);
        return;
    }
    TteEditButtonDrawState s;
    if (part == 1 && StateAt(kEditButtonStates, state, s))
        t.EditDrawButton(kescComboBoxRight, c, EditButtonInfo(r, s, kebcDropDown), kDefault);
}

void DrawHeader(TteTheme& t, TCanvas& c, const TRect& r, int part, int state) {
    if (part == 0) {
        t.HeaderDraw(khscHeader, c, HeaderInfo(r), kDefault);
        return;
    }
    static constexpr TteSectionState kSections[] = {khssMiddle, khssFirst, khssLast};
    static constexpr TteSectionDrawState kStates[] = {khdsNormal, khdsHot, khdsPressed};
    TteSectionState section;
    TteSectionDrawState s;
    if (StateAt(kSections, part, section) && StateAt(kStates, state, s))
        t.HeaderDrawSection(khscHeader, c, HeaderSectionInfo(r, section, s), kDefault);
}

void DrawTab(TteTheme& t, TCanvas& c, const TRect& r, int part, int state) {
    if (part == 9 || part == 10) {
        t.TabDraw(ktscTab, c, TabInfo(r), kDefault);
        return;
    }
    static constexpr TteTabItemDrawState kStates[] = {ktidsNormal, ktidsHot, ktidsNormal, ktidsDisabled,
                                                      ktidsNormal};
    TteTabItemDrawState s;
    if (part >= 1 && part <= 8 && StateAt(kStates, state, s))
        t.TabDrawItem(ktscTab, c, TabItemInfo(r, ktisTopMiddle, s), kDefault);
}

void DrawStatus(TteTheme& t, TCanvas& c, const TRect& r, int part) {
    static constexpr TteStatusPanelClass kPanels[] = {kspcNormal, kspcGripperPanel, kspcGripper};
    TteStatusPanelClass panel;
    if (part == 0)
        t.StatusDraw(ksscStatusBar, c, StatusInfo(r), kDefault);
    else if (StateAt(kPanels, part, panel))
        t.StatusDrawPanel(ksscStatusBar, c, StatusPanelInfo(r, panel), kDefault);
}

void DrawScrollBar(TteTheme& t, TCanvas& c, const TRect& r, int part, int state) {
    if (part == 10) {
        t.WindowDrawGripper(kwscStandard, c, WindowGripperInfo(r, true), kDefault);
        return;
    }
    TteScrollButtonDrawState button;
    if (part == 1) {
        static constexpr TteScrollButtonClass kArrows[] = {ksbcUp, ksbcDown, ksbcLeft, ksbcRight};
        if (state < 1 || state > 16) return;
        StateAt(kScrollStates, (state - 1) % 4 + 1, button);
        t.ScrollDrawButton(ksscScrollBar, c, ScrollButtonInfo(r, button, kArrows[(state - 1) / 4]), kDefault);
    } else if (part == 2 || part == 3) {
        if (StateAt(kScrollStates, state, button))
            t.ScrollDrawButton(ksscScrollBar, c,
                               ScrollButtonInfo(r, button, part == 2 ? ksbcHorzSlider : ksbcVertSlider),
                               kDefault);
    } else if (part >= 4 && part <= 7) {
        TteScrollAreaDrawState area;
        if (StateAt(kAreaStates, state, area))
            t.ScrollDrawArea(ksscScrollBar, c,
                             ScrollAreaInfo(r, area, part <= 5 ? ksacHorizontal : ksacVertical), kDefault);
    }
}

void DrawSpin(TteTheme& t, TCanvas& c, const TRect& r, int part, int state) {
    static constexpr TteButtonSubclass kSpins[] = {kbscSpinUp, kbscSpinDown, kbscSpinLeft, kbscSpinRight};
    TteButtonDrawState s;
    TteButtonSubclass spin;
    if (StateAt(kSpins, part, spin) && StateAt(kButtonStates, state, s))
        t.ButtonDraw(spin, c, ButtonInfo(r, s), kDefault);
}

void DrawRebar(TteTheme& t, TCanvas& c, const TRect& r, int part, int state) {
    switch (part) {
        case 0: t.DockDraw(kdscDock, c, DockInfo(r), kDefault); break;
        case 1:
        case 2:
            t.ToolDrawItem(ktscToolBar, c,
                           ToolItemInfo(r, part == 1 ? kticGripper : kticGripperVert, mtidsNormal), kDefault);
            break;
        case 3: t.ToolDraw(ktscToolBar, c, ToolInfo(r), kDefault); break;
        case 5: {
            static constexpr TteToolItemDrawState kStates[] = {mtidsNormal,   mtidsHot,     mtidsHot,
                                                               mtidsDisabled, mtidsChecked, mtidsCheckedHot};
            TteToolItemDrawState s;
            if (StateAt(kStates, state, s))
                t.ToolDrawItem(ktscToolBar, c, ToolItemInfo(r, kticExpandButton, s), kDefault);
            break;
        }
        default: break;
    }
}

void DrawToolBar(TteTheme& t, TCanvas& c, const TRect& r, int part, int state) {
    static constexpr TteToolItemClass kItems[] = {kticNormal, kticDropDown, kticComboButton,
                                                  kticComboDropDown};
    static constexpr TteToolItemDrawState kStates[] = {mtidsNormal,   mtidsHot,     mtidsPressed,
                                                       mtidsDisabled, mtidsChecked, mtidsCheckedHot};
    TteToolItemClass item;
    TteToolItemDrawState s;
    if (StateAt(kItems, part, item) && StateAt(kStates, state, s))
        t.ToolDrawItem(ktscToolBar, c, ToolItemInfo(r, item, s), kDefault);
    else if (part == 5)
        t.ToolDrawItem(ktscToolBar, c, ToolItemInfo(r, kticSeparator, mtidsNormal), kDefault);
}

// ---- window parts ----

// Frame widths of a 200 x 200 window: left, top (caption included), right, bottom.
TRect FrameWidths(TteTheme& t, TteWindowSubclass s) {
    const TRect window{0, 0, 200, 200};
    const TRect client = t.WindowGetClientRect(s, window, kDefault);
    return TRect{client.left, client.top, window.right - client.right, window.bottom - client.bottom};
}

// A frame part drawn into a key-coloured bitmap of its size, the window
// placed so that the part falls on it, then put on the DC without the key.
void DrawFramePart(TteTheme& t, HDC dc, TteWindowSubclass s, const TRect& r, int part, bool active) {
    const TRect f = FrameWidths(t, s);
    const int width = r.Width(), height = r.Height();
    TRect window;
    TSize size;
    switch (part) {
        case 0:  // caption
            window = TRect{0, 0, width, f.top + f.bottom};
            size = TSize{width, f.top};
            break;
        case 1:  // left
            window = TRect{0, -f.top, f.left + f.right, height + f.bottom};
            size = TSize{f.left, height};
            break;
        case 2:  // right
            window = TRect{-f.left, -f.top, f.right, height + f.bottom};
            size = TSize{f.left, height};
            break;
        default:  // bottom
            window = TRect{0, -f.top, width, f.bottom};
            size = TSize{width, f.bottom};
            break;
    }
    if (size.cx <= 0 || size.cy <= 0) return;
    TteBitmap bitmap;
    bitmap.SetSize(size.cx, size.cy);
    bitmap.Clear(teKeyColor);
    bitmap.Transparent = true;
    const TteWindowInfo info = WindowInfo(
        window, active ? TteWindowDrawStates{kwdsActive} : TteWindowDrawStates{}, NullRect, {}, u"", false);
    t.WindowDraw(s, *bitmap.GetCanvas(), info, kDefault);
    bitmap.Draw(dc, r.left, r.top);
}

void DrawCaptionButton(TteTheme& t, HDC dc, TteWindowSubclass s, const TRect& r, TteWindowButtonClass button,
                       TteWindowButtonDrawState state) {
    if (IsRectEmpty(r)) return;
    TteBitmap bitmap;
    bitmap.SetSize(r.Width(), r.Height());
    bitmap.Clear(teKeyColor);
    bitmap.Transparent = true;
    const TRect own = bitmap.BoundsRect();
    t.WindowDrawButton(s, *bitmap.GetCanvas(), WindowButtonInfo(own, button, state, nullptr), kDefault);
    bitmap.Draw(dc, r.left, r.top);
}

bool ButtonState(int state, bool allowInactive, TteWindowButtonDrawState& out) {
    switch (state) {
        case 1: out = kwbdsNormal; return true;
        case 2: out = kwbdsHot; return true;
        case 3: out = kwbdsPressed; return true;
        case 4: out = kwbdsNormal; return allowInactive;
        default: return false;
    }
}

void DrawWindow(TteTheme& t, TCanvas& c, const TRect& r, int part, int state) {
    if (part == 0) {
        t.WindowDrawClient(kwscStandard, c, r, kDefault);
        return;
    }
    if (part == 16 || part == 22 || part == 20) {
        static constexpr TteMenuItemDrawState kStates[] = {kmidsNormal, kmidsHot, kmidsSelected,
                                                           kmidsDisabled};
        const TteMenuItemClass item = part == 16 ? kmicMin : part == 22 ? kmicRestore : kmicClose;
        TteMenuItemDrawState s;
        if (StateAt(kStates, state, s)) t.MenuDrawItem(kmscMenuBar, c, MenuItemInfo(r, item, s), kDefault);
        return;
    }
    const bool active = state != 2;
    TteWindowButtonDrawState buttonState;
    switch (part) {
        case 1:
        case 3:
        case 5: DrawFramePart(t, c.Handle(), kwscStandard, r, 0, active); return;
        case 7:
        case 8:
        case 9: DrawFramePart(t, c.Handle(), kwscStandard, r, part - 6, active); return;
        default: break;
    }
    const struct {
        int Part;
        TteWindowButtonClass Button;
    } kButtons[] = {{13, kwbSysMenu}, {14, kwbSysMenu},    {15, kwbMin},  {17, kwbMax},
                    {18, kwbClose},   {21, kwbMaxRestore}, {23, kwbHelp}, {24, kwbHelp}};
    for (const auto& b : kButtons)
        if (b.Part == part && ButtonState(state, true, buttonState)) {
            DrawCaptionButton(t, c.Handle(), kwscStandard, r, b.Button, buttonState);
            return;
        }
    if (!IsObjectDefined(kwscToolWindow, kDefault, nullptr)) return;
    switch (part) {
        case 2:
        case 4:
        case 6: DrawFramePart(t, c.Handle(), kwscToolWindow, r, 0, active); break;
        case 10:
        case 11:
        case 12: DrawFramePart(t, c.Handle(), kwscToolWindow, r, part - 9, active); break;
        case 19:
            if (ButtonState(state, false, buttonState))
                DrawCaptionButton(t, c.Handle(), kwscToolWindow, r, kwbClose, buttonState);
            break;
        default: break;
    }
}

}  // namespace

bool UseThemes() { return IsThemeAvailable(CurrentTheme); }

HTHEME OpenThemeData(HWND, const char16_t* classList) {
    static constexpr struct {
        const char* Name;
        THandle Handle;
    } kClasses[] = {{"button", khButton}, {"edit", khEdit},         {"combobox", khComboBox},
                    {"header", khHeader}, {"treeview", khTreeView}, {"listview", khListView},
                    {"tab", khTab},       {"status", khStatus},     {"scrollbar", khScrollBar},
                    {"spin", khSpin},     {"rebar", khRebar},       {"toolbar", khToolBar},
                    {"menu", khMenu},     {"window", khWindow}};
    if (!classList) return nullptr;
    const String name = LowerCase(WideToUtf8(classList));
    for (const auto& c : kClasses)
        if (name == c.Name) return Handle(c.Handle);
    return nullptr;
}

int32_t CloseThemeData(HTHEME theme) {
    if (UseSystemUxTheme() && Te_winapi::UxTheme.CloseThemeData)
        return Te_winapi::UxTheme.CloseThemeData(theme);
    return S_OK;
}

int32_t DrawThemeBackground(HTHEME theme, HDC dc, int part, int state, const TRect* rect, const TRect*) {
    if (!theme || !CurrentTheme || !rect) return S_OK;
    TteTheme& t = *CurrentTheme;
    TDcCanvas canvas(dc);
    TCanvas& c = *canvas;
    const TRect& r = *rect;
    switch (reinterpret_cast<uintptr_t>(theme)) {
        case khButton: DrawButton(t, c, r, part, state); break;
        case khEdit: DrawEdit(t, c, r, part, state); break;
        case khComboBox: DrawComboBox(t, c, r, part, state); break;
        case khHeader: DrawHeader(t, c, r, part, state); break;
        case khTreeView: t.TreeDraw(ktscTreeList, c, TreeInfo(r), kDefault); break;
        case khListView: t.ListDraw(klscListBox, c, ListInfo(r), kDefault); break;
        case khTab: DrawTab(t, c, r, part, state); break;
        case khStatus: DrawStatus(t, c, r, part); break;
        case khScrollBar: DrawScrollBar(t, c, r, part, state); break;
        case khSpin: DrawSpin(t, c, r, part, state); break;
        case khRebar: DrawRebar(t, c, r, part, state); break;
        case khToolBar: DrawToolBar(t, c, r, part, state); break;
        case khWindow: DrawWindow(t, c, r, part, state); break;
        default: break;  // the menu handle too
    }
    return S_OK;
}

int32_t DrawThemeText(HTHEME, HDC dc, int, int, const char16_t* text, int charCount, uint32_t flags, uint32_t,
                      const TRect* rect) {
    if (!text || !rect) return 0;
    const std::u16string_view all =
        charCount < 0 ? std::u16string_view(text) : std::u16string_view(text, static_cast<size_t>(charCount));
    TRect r = *rect;
    return DrawTextW(dc, all, &r, flags);
}

int32_t GetThemeBackgroundContentRect(HTHEME, HDC, int, int, const TRect* bounding, TRect* content) {
    if (bounding && content) *content = *bounding;
    return S_OK;
}

int32_t GetThemeBackgroundExtent(HTHEME, HDC, int, int, const TRect* content, TRect* extent) {
    if (content && extent) *extent = *content;
    return S_OK;
}

int32_t GetThemePartSize(HTHEME, HDC, int, int, const TRect*, THEMESIZE, TSize* out) {
    if (out) *out = TSize{0, 0};
    return S_FALSE;
}

int32_t GetThemeTextExtent(HTHEME, HDC, int, int, const char16_t*, int, uint32_t, const TRect* bounding,
                           TRect* extent) {
    if (bounding && extent) *extent = *bounding;
    return S_OK;
}

int32_t GetThemeTextMetrics(HTHEME, HDC, int, int, TEXTMETRICW* metrics) {
    if (metrics) *metrics = TEXTMETRICW{};
    return S_OK;
}

int32_t GetThemeBackgroundRegion(HTHEME, HDC, int, int, const TRect*, HRGN* region) {
    if (region) *region = nullptr;
    return S_OK;
}

int32_t HitTestThemeBackground(HTHEME, HDC, int, int, uint32_t, const TRect*, HRGN, TPoint,
                               uint16_t* hitCode) {
    if (hitCode) *hitCode = 0;
    return S_OK;
}

int32_t DrawThemeEdge(HTHEME theme, HDC dc, int part, int state, const TRect* dest, uint32_t edge,
                      uint32_t flags, TRect* content) {
    if (UseSystemUxTheme() && Te_winapi::UxTheme.DrawThemeEdge)
        return Te_winapi::UxTheme.DrawThemeEdge(theme, dc, part, state, dest, edge, flags, content);
    if (!dest) return 0;
    TRect r = *dest;
    const bool drawn = DrawEdge(dc, &r, edge, flags);
    if (content) *content = r;
    return drawn ? BOOL_TRUE : 0;
}

int IsThemeBackgroundPartiallyTransparent(HTHEME theme, int part, int state) {
    if (UseSystemUxTheme() && Te_winapi::UxTheme.IsThemeBackgroundPartiallyTransparent)
        return Te_winapi::UxTheme.IsThemeBackgroundPartiallyTransparent(theme, part, state);
    return Is(theme, khButton) ? BOOL_TRUE : 0;
}

COLORREF GetThemeSysColor(HTHEME theme, int colorId) {
    if (UseSystemUxTheme() && Te_winapi::UxTheme.GetThemeSysColor)
        return Te_winapi::UxTheme.GetThemeSysColor(theme, colorId);
    const TColor reference = static_cast<TColor>(0x80000000u | static_cast<uint32_t>(colorId));
    return CurrentTheme ? static_cast<COLORREF>(CurrentTheme->SysColors()->GetColor(reference))
                        : static_cast<COLORREF>(reference);
}

int IsThemeActive() {
    if (UseSystemUxTheme() && Te_winapi::UxTheme.IsThemeActive) return Te_winapi::UxTheme.IsThemeActive();
    return UseThemes() ? BOOL_TRUE : 0;
}

int IsAppThemed() {
    if (UseSystemUxTheme() && Te_winapi::UxTheme.IsAppThemed) return Te_winapi::UxTheme.IsAppThemed();
    return UseThemes() ? BOOL_TRUE : 0;
}

HTHEME GetWindowTheme(HWND wnd) {
    if (UseSystemUxTheme() && Te_winapi::UxTheme.GetWindowTheme)
        return Te_winapi::UxTheme.GetWindowTheme(wnd);
    return Handle(khWindow);
}

int IsThemeDialogTextureEnabled(HWND wnd) {
    if (UseSystemUxTheme() && Te_winapi::UxTheme.IsThemeDialogTextureEnabled)
        return Te_winapi::UxTheme.IsThemeDialogTextureEnabled(wnd);
    return 0;
}

int32_t GetThemeMargins(HTHEME, HDC, int, int, int, const TRect*, MARGINS* margins) {
    if (margins) *margins = MARGINS{2, 2, 2, 2};
    return S_OK;
}

int IsThemePartDefined(HTHEME, int, int) { return BOOL_TRUE; }

uint32_t GetThemeAppProperties() {
    if (!UseThemes()) return 0;
    uint32_t flags = STAP_ALLOW_CONTROLS;
    if (CurrentTheme->IsWindowDefined(kwscStandard, kDefault)) flags |= STAP_ALLOW_NONCLIENT;
    return flags;
}

void SetThemeAppProperties(uint32_t) {}

int32_t DrawThemeParentBackground(HWND wnd, HDC dc, const TRect* rect) {
    if (FindControl(wnd)) {
        TDcCanvas canvas(dc);
        DrawControlBackground(wnd, *canvas);
        return S_OK;
    }
    HWND parent = GetParent(wnd);
    if (!parent) return S_OK;
    TPoint at = rect ? TPoint{rect->left, rect->top} : TPoint{0, 0};
    MapWindowPoints(wnd, parent, &at, 1);
    TPoint origin;
    GetWindowOrgEx(dc, &origin);
    SetWindowOrgEx(dc, origin.x + at.x, origin.y + at.y, nullptr);
    SendMessage(parent, WM_ERASEBKGND, DcToWParam(dc), 0);
    SetWindowOrgEx(dc, origin.x, origin.y, nullptr);
    return S_OK;
}

// ---- the answers without a theme behind them ----

int32_t DrawThemeIcon(HTHEME, HDC, int, int, const TRect*, void*, int) { return 0; }
int32_t GetThemeColor(HTHEME, int, int, int, COLORREF*) { return 0; }
int32_t GetThemeMetric(HTHEME, HDC, int, int, int, int*) { return 0; }
int32_t GetThemeString(HTHEME, int, int, int, char16_t*, int) { return 0; }
int32_t GetThemeBool(HTHEME, int, int, int, int*) { return 0; }
int32_t GetThemeInt(HTHEME, int, int, int, int*) { return 0; }
int32_t GetThemeEnumValue(HTHEME, int, int, int, int*) { return 0; }
int32_t GetThemePosition(HTHEME, int, int, int, TPoint*) { return 0; }
int32_t GetThemeFont(HTHEME, HDC, int, int, int, LOGFONTW*) { return 0; }
int32_t GetThemeRect(HTHEME, int, int, int, TRect*) { return 0; }
int32_t GetThemeIntList(HTHEME, int, int, int, void*) { return 0; }
int32_t GetThemePropertyOrigin(HTHEME, int, int, int, int*) { return 0; }
int32_t SetWindowTheme(HWND, const char16_t*, const char16_t*) { return 0; }
int32_t GetThemeFilename(HTHEME, int, int, int, char16_t*, int) { return 0; }
HBRUSH GetThemeSysColorBrush(HTHEME, int) { return HBRUSH{}; }
int GetThemeSysBool(HTHEME, int) { return 0; }
int GetThemeSysSize(HTHEME, int) { return 0; }
int32_t GetThemeSysFont(HTHEME, int, LOGFONTW*) { return 0; }
int32_t GetThemeSysString(HTHEME, int, char16_t*, int) { return 0; }
int32_t GetThemeSysInt(HTHEME, int, int*) { return 0; }
int32_t EnableThemeDialogTexture(HWND, uint32_t) { return 0; }
int32_t GetCurrentThemeName(char16_t*, int, char16_t*, int, char16_t*, int) { return 0; }
int32_t GetThemeDocumentationProperty(const char16_t*, const char16_t*, char16_t*, int) { return 0; }
int32_t EnableTheming(int) { return 0; }

}  // namespace tarvel::Te_uxtheme
