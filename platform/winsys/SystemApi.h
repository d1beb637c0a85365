#pragma once
// Fixed system answers: metrics, parameters, monitors, cursors and
// the clipboard.

#include <string>

#include "platform/gdi/Gdi.h"
#include "platform/winsys/WinConstants.h"
#include "platform/winsys/WinTypes.h"

namespace tarvel {

// GetSysColor comes from the drawing layer's table (platform/gdi/SysColors.h).
int GetSystemMetrics(int index);  // 0 for an unknown index

struct NONCLIENTMETRICSW {
    UINT cbSize = sizeof(NONCLIENTMETRICSW);
    int iBorderWidth = 0;
    int iScrollWidth = 0;
    int iScrollHeight = 0;
    int iCaptionWidth = 0;
    int iCaptionHeight = 0;
    LOGFONTW lfCaptionFont;
    int iSmCaptionWidth = 0;
    int iSmCaptionHeight = 0;
    LOGFONTW lfSmCaptionFont;
    int iMenuWidth = 0;
    int iMenuHeight = 0;
    LOGFONTW lfMenuFont;
    LOGFONTW lfStatusFont;
    LOGFONTW lfMessageFont;
};

// SPI_GETKEYBOARDDELAY / SPEED / DRAGFULLWINDOWS / WHEELSCROLLLINES write an
// int, SPI_GETWORKAREA a TRect, SPI_GETNONCLIENTMETRICS a NONCLIENTMETRICSW
// (cbSize set); false for anything else.
bool SystemParametersInfo(UINT action, UINT uiParam, void* pvParam, UINT winIni);

HMONITOR MonitorFromWindow(HWND hwnd, DWORD flags);
HMONITOR MonitorFromRect(const TRect& rect, DWORD flags);
HMONITOR MonitorFromPoint(TPoint pt, DWORD flags);
bool GetMonitorInfo(HMONITOR monitor, MONITORINFO* info);

HCURSOR LoadCursor(int standardCursor);
HCURSOR SetCursor(HCURSOR cursor);  // answers the cursor it replaced
HCURSOR GetCursor();
int CursorShape(HCURSOR cursor);

bool SetClipboardText(const std::string& text);
std::string GetClipboardText();

}  // namespace tarvel
