#pragma once
// Fixed system answers: metrics, parameters, monitors, cursors and
// the clipboard.

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

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

// The clipboard holds one content at a time: whatever is set last replaces
// what it held. Text goes through the display backend; a bitmap, as a packed
// DIB (info header, colours or masks, pixels), is kept by the window system
// in this process; other programs see text, and a picture given with its
// pixels where the display can offer it (X11: PNG and BMP).
constexpr UINT CF_TEXT = 1;
constexpr UINT CF_BITMAP = 2;
constexpr UINT CF_DIB = 8;
constexpr UINT CF_UNICODETEXT = 13;

bool SetClipboardText(const std::string& text);
std::string GetClipboardText();
// False without a window system or for an empty block. With the picture's
// `pixels`, other programs are offered it too (as PNG and BMP).
bool SetClipboardDib(std::vector<uint8_t> dib, std::shared_ptr<const Surface> pixels = nullptr);
std::vector<uint8_t> GetClipboardDib();  // empty while no bitmap is held
// CF_TEXT and CF_UNICODETEXT: text is held; CF_DIB and CF_BITMAP: a bitmap.
bool IsClipboardFormatAvailable(UINT format);

// SIGTERM and SIGHUP from now on end the desktop session for this program
// (QueueSessionEnd) instead of ending it at once; false when they cannot be
// watched.
bool WatchSessionSignals();

}  // namespace tarvel
