// The fixed system answers: metrics, parameters, the one monitor, cursors
// and the clipboard. Colours come from the drawing layer's table.

#include <algorithm>
#include <cstring>

#include "platform/winsys/SystemApi.h"
#include "platform/winsys/WinsysState.h"

namespace tarvel {

namespace {

struct Metric {
    int index;
    int value;
};

// The classic look at 96 dpi. Screen-dependent metrics are answered apart.
constexpr Metric kMetrics[] = {
    {SM_CXVSCROLL, 16},   {SM_CYHSCROLL, 16},    {SM_CYCAPTION, 19},   {SM_CXBORDER, 1},
    {SM_CYBORDER, 1},     {SM_CXDLGFRAME, 3},    {SM_CYDLGFRAME, 3},   {SM_CYVTHUMB, 16},
    {SM_CXHTHUMB, 16},    {SM_CXICON, 32},       {SM_CYICON, 32},      {SM_CXCURSOR, 32},
    {SM_CYCURSOR, 32},    {SM_CYMENU, 19},       {SM_MOUSEPRESENT, 1}, {SM_CYVSCROLL, 16},
    {SM_CXHSCROLL, 16},   {SM_SWAPBUTTON, 0},    {SM_CXMIN, 112},      {SM_CYMIN, 27},
    {SM_CXSIZE, 18},      {SM_CYSIZE, 18},       {SM_CXFRAME, 4},      {SM_CYFRAME, 4},
    {SM_CXMINTRACK, 112}, {SM_CYMINTRACK, 27},   {SM_CXDOUBLECLK, 4},  {SM_CYDOUBLECLK, 4},
    {SM_CXEDGE, 2},       {SM_CYEDGE, 2},        {SM_CXSMICON, 16},    {SM_CYSMICON, 16},
    {SM_CYSMCAPTION, 15}, {SM_CXSMSIZE, 12},     {SM_CYSMSIZE, 15},    {SM_CXMENUSIZE, 18},
    {SM_CYMENUSIZE, 18},  {SM_CXMINIMIZED, 160}, {SM_CYMINIMIZED, 24}, {SM_CXDRAG, 4},
    {SM_CYDRAG, 4},       {SM_CXMENUCHECK, 13},  {SM_CYMENUCHECK, 13}, {SM_MOUSEWHEELPRESENT, 1},
    {SM_CMONITORS, 1},
};

constexpr int kStandardCursors[] = {IDC_ARROW,    IDC_IBEAM,    IDC_WAIT,        IDC_CROSS,  IDC_UPARROW,
                                    IDC_SIZENWSE, IDC_SIZENESW, IDC_SIZEWE,      IDC_SIZENS, IDC_SIZEALL,
                                    IDC_NO,       IDC_HAND,     IDC_APPSTARTING, IDC_HELP};

const HMONITOR kMonitor = reinterpret_cast<HMONITOR>(intptr_t{1});

TRect Screen() { return HasState() ? State().backend->ScreenRect() : TRect{0, 0, 1024, 768}; }
TRect Work() { return HasState() ? State().backend->WorkArea() : Screen(); }

LOGFONTW MetricFont(int weight) {
    LOGFONTW f;
    f.lfHeight = -11;
    f.lfWeight = weight;
    SetFaceName(f, "Tahoma");
    return f;
}

HMONITOR MonitorFor(bool onScreen, DWORD flags) {
    return onScreen || flags != MONITOR_DEFAULTTONULL ? kMonitor : nullptr;
}

}  // namespace

int GetSystemMetrics(int index) {
    TRect screen = Screen(), work = Work();
    int frame = 4;
    switch (index) {
        case SM_CXSCREEN:
        case SM_CXVIRTUALSCREEN: return screen.Width();
        case SM_CYSCREEN:
        case SM_CYVIRTUALSCREEN: return screen.Height();
        case SM_XVIRTUALSCREEN: return screen.left;
        case SM_YVIRTUALSCREEN: return screen.top;
        case SM_CXFULLSCREEN: return work.Width();
        case SM_CYFULLSCREEN: return work.Height() - 19;
        case SM_CXMAXTRACK: return screen.Width() + 2 * frame + 12;
        case SM_CYMAXTRACK: return screen.Height() + 2 * frame + 12;
        case SM_CXMAXIMIZED: return work.Width() + 2 * frame;
        case SM_CYMAXIMIZED: return work.Height() + 2 * frame;
    }
    for (const Metric& m : kMetrics)
        if (m.index == index) return m.value;
    return 0;
}

bool SystemParametersInfo(UINT action, UINT, void* pv, UINT) {
    if (!pv) return false;
    switch (action) {
        case SPI_GETKEYBOARDDELAY: *static_cast<int*>(pv) = 1; return true;   // 0..3: 500 ms
        case SPI_GETKEYBOARDSPEED: *static_cast<int*>(pv) = 31; return true;  // 0..31: fastest
        case SPI_GETDRAGFULLWINDOWS: *static_cast<int*>(pv) = 1; return true;
        case SPI_GETWHEELSCROLLLINES: *static_cast<int*>(pv) = 3; return true;
        case SPI_GETWORKAREA: *static_cast<TRect*>(pv) = Work(); return true;
        case SPI_GETNONCLIENTMETRICS: {
            auto* m = static_cast<NONCLIENTMETRICSW*>(pv);
            if (m->cbSize < sizeof(NONCLIENTMETRICSW)) return false;
            NONCLIENTMETRICSW out;
            out.cbSize = m->cbSize;
            out.iBorderWidth = 1;
            out.iScrollWidth = GetSystemMetrics(SM_CXVSCROLL);
            out.iScrollHeight = GetSystemMetrics(SM_CYHSCROLL);
            out.iCaptionWidth = GetSystemMetrics(SM_CXSIZE);
            out.iCaptionHeight = GetSystemMetrics(SM_CYSIZE);
            out.lfCaptionFont = MetricFont(FW_BOLD);
            out.iSmCaptionWidth = GetSystemMetrics(SM_CXSMSIZE);
            out.iSmCaptionHeight = GetSystemMetrics(SM_CYSMSIZE);
            out.lfSmCaptionFont = MetricFont(FW_BOLD);
            out.iMenuWidth = GetSystemMetrics(SM_CXMENUSIZE);
            out.iMenuHeight = GetSystemMetrics(SM_CYMENUSIZE);
            out.lfMenuFont = MetricFont(FW_NORMAL);
            out.lfStatusFont = MetricFont(FW_NORMAL);
            out.lfMessageFont = MetricFont(FW_NORMAL);
            *m = out;
            return true;
        }
    }
    return false;
}

HMONITOR MonitorFromWindow(HWND hwnd, DWORD flags) {
    Window* w = FindWindow(hwnd);
    return MonitorFor(w && !Intersect(WindowRectOnScreen(w), Screen()).IsEmpty(), flags);
}

HMONITOR MonitorFromRect(const TRect& rect, DWORD flags) {
    return MonitorFor(!Intersect(rect, Screen()).IsEmpty(), flags);
}

HMONITOR MonitorFromPoint(TPoint pt, DWORD flags) { return MonitorFor(Screen().Contains(pt), flags); }

bool GetMonitorInfo(HMONITOR monitor, MONITORINFO* info) {
    if (monitor != kMonitor || !info || info->cbSize < 40) return false;
    info->rcMonitor = Screen();
    info->rcWork = Work();
    info->dwFlags = MONITORINFOF_PRIMARY;
    return true;
}

HCURSOR LoadCursor(int standardCursor) {
    bool known = std::find(std::begin(kStandardCursors), std::end(kStandardCursors), standardCursor) !=
                 std::end(kStandardCursors);
    return known ? reinterpret_cast<HCURSOR>(static_cast<intptr_t>(standardCursor)) : nullptr;
}

int CursorShape(HCURSOR cursor) { return static_cast<int>(reinterpret_cast<intptr_t>(cursor)); }

HCURSOR SetCursor(HCURSOR cursor) {
    if (!HasState()) return nullptr;
    WinsysState& s = State();
    HCURSOR old = s.cursor;
    if (old != cursor) {
        s.cursor = cursor;
        s.backend->SetCursorShape(CursorShape(cursor));
    }
    return old;
}

HCURSOR GetCursor() { return HasState() ? State().cursor : nullptr; }

namespace {

// The bitmap on the clipboard and the backend it was set through.
struct ClipboardBitmap {
    const DisplayBackend* backend = nullptr;
    std::shared_ptr<const std::vector<uint8_t>> dib;
};

ClipboardBitmap& HeldBitmap() {
    static ClipboardBitmap held;
    return held;
}

// Setting a bitmap empties the backend's text, so text that appears there
// since (from this program or another) has replaced the bitmap.
bool BitmapHeld() {
    const ClipboardBitmap& held = HeldBitmap();
    return HasState() && held.dib && held.backend == State().backend.get() &&
           State().backend->ClipboardImageHeld() && State().backend->ClipboardText().empty();
}

}  // namespace

bool SetClipboardText(const std::string& text) {
    if (!HasState()) return false;
    HeldBitmap() = ClipboardBitmap{};
    State().backend->SetClipboardText(text);
    return true;
}

bool SetClipboardDib(std::vector<uint8_t> dib, std::shared_ptr<const Surface> pixels) {
    if (!HasState() || dib.empty()) return false;
    State().backend->SetClipboardText(std::string());
    auto shared = std::make_shared<const std::vector<uint8_t>>(std::move(dib));
    HeldBitmap() = ClipboardBitmap{State().backend.get(), shared};
    State().backend->OfferClipboardImage(shared, pixels && pixels->Valid() ? pixels : nullptr);
    return true;
}

std::vector<uint8_t> GetClipboardDib() { return BitmapHeld() ? *HeldBitmap().dib : std::vector<uint8_t>(); }

bool IsClipboardFormatAvailable(UINT format) {
    switch (format) {
        case CF_TEXT:
        case CF_UNICODETEXT: return !GetClipboardText().empty();
        case CF_DIB:
        case CF_BITMAP: return BitmapHeld();
        default: return false;
    }
}

std::string GetClipboardText() { return HasState() ? State().backend->ClipboardText() : std::string(); }

}  // namespace tarvel
