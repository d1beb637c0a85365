#include "platform/winsys/SystemApi.h"
#include "skin/core/te_winapi.h"

namespace tarvel {

namespace {

// More than one monitor: only then is a monitor looked up.
bool MultiMonitor() {
    const int count = GetSystemMetrics(SM_CMONITORS);
    return count != 0 && count != 1;
}

TRect MonitorRect(HMONITOR monitor, bool workArea) {
    MONITORINFO info;
    info.cbSize = 40;
    if (!monitor || !GetMonitorInfo(monitor, &info)) return GetRectOfPrimaryMonitor(workArea);
    return workArea ? info.rcWork : info.rcMonitor;
}

}  // namespace

TRect GetRectOfPrimaryMonitor(bool workArea) {
    TRect r;
    if (workArea && SystemParametersInfo(SPI_GETWORKAREA, 0, &r, 0)) return r;
    return TRect{0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
}

TRect GetRectOfMonitorContainingRect(const TRect& rect, bool workArea) {
    if (!MultiMonitor()) return GetRectOfPrimaryMonitor(workArea);
    return MonitorRect(MonitorFromRect(rect, MONITOR_DEFAULTTONEAREST), workArea);
}

TRect GetRectOfMonitorContainingPoint(const TPoint& point, bool workArea) {
    if (!MultiMonitor()) return GetRectOfPrimaryMonitor(workArea);
    return MonitorRect(MonitorFromPoint(point, MONITOR_DEFAULTTONEAREST), workArea);
}

TRect GetRectOfMonitorContainingWindow(HWND wnd, bool workArea) {
    if (!MultiMonitor()) return GetRectOfPrimaryMonitor(workArea);
    return MonitorRect(MonitorFromWindow(wnd, MONITOR_DEFAULTTONEAREST), workArea);
}

}  // namespace tarvel
