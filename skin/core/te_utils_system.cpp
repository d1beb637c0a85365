#include "skin/core/te_utils_system.h"

#include "platform/winsys/InputApi.h"
#include "platform/winsys/SystemApi.h"
#include "platform/winsys/WindowApi.h"
#include "skin/core/te_utils.h"

namespace tarvel {

namespace {

struct TCaptureState {
    HWND wnd = nullptr;
    int count = 0;
};

TCaptureState& Capture() {
    static TCaptureState state;
    return state;
}

constexpr size_t kMaxWindowText = 1000;

String Limited(String s) {
    if (s.size() > kMaxWindowText) s.resize(kMaxWindowText);
    return s;
}

}  // namespace

void CaptureMouse(HWND wnd) {
    TCaptureState& c = Capture();
    if (c.count == 0) {
        c.wnd = wnd;
        SetCapture(wnd);
    }
    ++c.count;
}

void EndCapture() {
    TCaptureState& c = Capture();
    if (c.count <= 0) return;
    if (--c.count == 0) {
        if (GetCapture() == c.wnd) ReleaseCapture();
        c.wnd = nullptr;
    }
}

HWND CaptureHandle() { return Capture().wnd; }
int CaptureCount() { return Capture().count; }

int GetKeyBoardDelayInterval() {
    int v = 0;
    SystemParametersInfo(SPI_GETKEYBOARDDELAY, 0, &v, 0);
    return KeyboardDelayToInterval(v);
}

int GetKeyBoardSpeedInterval() {
    int v = 0;
    SystemParametersInfo(SPI_GETKEYBOARDSPEED, 0, &v, 0);
    return KeyboardSpeedToInterval(v);
}

String GetWndClassName(HWND wnd) { return Limited(GetClassName(wnd)); }
String GetWndText(HWND wnd) { return Limited(GetWindowText(wnd)); }

TPixelFormat GetPixelFormat() {
    static constexpr struct {
        int bits;
        TPixelFormat format;
    } kFormats[] = {{1, pf1bit},   {4, pf4bit},   {8, pf8bit},  {15, pf15bit},
                    {16, pf16bit}, {24, pf24bit}, {32, pf32bit}};
    TBitmap probe(4, 4);
    probe.SetHandleType(bmDIB);
    DIBSECTION ds;
    CPixelFormat = pfCustom;
    if (GetObject(probe.Handle(), ds) == static_cast<int>(sizeof(DIBSECTION)))
        for (const auto& f : kFormats)
            if (f.bits == ds.dsBmih.biBitCount) CPixelFormat = f.format;
    return CPixelFormat;
}

TPixelFormat CPixelFormat = pfCustom;

}  // namespace tarvel
