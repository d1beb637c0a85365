// Tray icons: kept here so that a modification changes only the fields it
// names, and handed to the display.

#include <cstring>

#include "platform/winsys/ShellApi.h"
#include "platform/winsys/WinsysState.h"

namespace tarvel {

namespace {

// At most 63 characters, never ending inside a UTF-8 sequence; an
// unterminated buffer is read no further than its size.
std::string TipOf(const NOTIFYICONDATA& d) {
    const size_t n = strnlen(d.szTip, sizeof d.szTip);
    size_t at = 0;
    for (int count = 0; at < n && count < 63; ++count) {
        const unsigned char lead = static_cast<unsigned char>(d.szTip[at]);
        const size_t need = lead >= 0xF0 ? 4 : lead >= 0xE0 ? 3 : lead >= 0xC0 ? 2 : 1;
        if (at + need > n) break;
        at += need;
    }
    return std::string(d.szTip, at);
}

void Apply(TrayIconState& icon, const NOTIFYICONDATA& d) {
    if (d.uFlags & NIF_MESSAGE) icon.callbackMessage = d.uCallbackMessage;
    if (d.uFlags & NIF_TIP) icon.tip = TipOf(d);
    if (d.uFlags & NIF_ICON) icon.icon = IconPixels(d.hIcon);
}

}  // namespace

bool Shell_NotifyIcon(DWORD message, const NOTIFYICONDATA* data) {
    if (!data || !OnGuiThread()) return false;
    WinsysState& s = State();
    Window* w = FindWindow(data->hWnd);
    if (!w) return false;
    const std::pair<HWND, UINT> key{data->hWnd, data->uID};
    auto it = s.trayIcons.find(key);
    switch (message) {
        case NIM_ADD:
            if (it != s.trayIcons.end()) return false;
            it = s.trayIcons.emplace(key, TrayIconState{}).first;
            break;
        case NIM_MODIFY:
            if (it == s.trayIcons.end()) return false;
            break;
        case NIM_DELETE:
            if (it == s.trayIcons.end()) return false;
            s.trayIcons.erase(it);
            if (s.backend) s.backend->RemoveTrayIcon(key.first, key.second);
            return true;
        default: return false;
    }
    Apply(it->second, *data);
    const TrayIconState& icon = it->second;
    const bool shown =
        s.backend && s.backend->AddTrayIcon(key.first, key.second, icon.callbackMessage, icon.tip, icon.icon);
    // No notification area to show a new icon in: there is none.
    if (!shown && message == NIM_ADD) {
        s.trayIcons.erase(it);
        return false;
    }
    return true;
}

void RemoveTrayIconsOf(HWND hwnd) {
    WinsysState& s = State();
    for (auto it = s.trayIcons.lower_bound({hwnd, 0}); it != s.trayIcons.end() && it->first.first == hwnd;) {
        if (s.backend) s.backend->RemoveTrayIcon(hwnd, it->first.second);
        it = s.trayIcons.erase(it);
    }
}

}  // namespace tarvel
