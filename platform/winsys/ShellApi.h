#pragma once
// The notification-area (tray) icon. Each display shows it as best it can;
// see DisplayBackend::AddTrayIcon.

#include "platform/winsys/WinTypes.h"

namespace tarvel {

constexpr DWORD NIM_ADD = 0;
constexpr DWORD NIM_MODIFY = 1;
constexpr DWORD NIM_DELETE = 2;

constexpr UINT NIF_MESSAGE = 0x1;
constexpr UINT NIF_ICON = 0x2;
constexpr UINT NIF_TIP = 0x4;

struct NOTIFYICONDATA {
    HWND hWnd = nullptr;  // gets the callback message
    UINT uID = 0;
    UINT uFlags = 0;            // NIF_*: which of the fields below count
    UINT uCallbackMessage = 0;  // posted with wParam uID, lParam the mouse message
    uint64_t hIcon = 0;         // the icon's handle (HICON's value); copied, the owner keeps it
    char szTip[256] = {};       // UTF-8; at most 63 characters are taken
};

// NIM_ADD fails for an icon that exists and when the display has no
// notification area; NIM_MODIFY and NIM_DELETE for one that does not exist.
// The icon goes when its window is destroyed.
bool Shell_NotifyIcon(DWORD message, const NOTIFYICONDATA* data);

}  // namespace tarvel
