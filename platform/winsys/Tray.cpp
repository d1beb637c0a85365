// Tray icons: kept here so that a modification changes only the fields it
// names, and handed to the display.

#include <cstring>

#include "platform/winsys/ShellApi.h"
#include "platform/winsys/WinsysState.h"

namespace tarvel {

namespace {

// At most 63 bytes, never ending inside a UTF-8 sequence; an unterminated
// buffer is read no further than its size.
std::string TipOf(const NOTIFYICONDATA& d) {
    size_t n = strnlen(d.szTip, sizeof d.szTip - 1);
    size_t cut = n;
    while (cut > 0 && (static_cast<unsigned char>(d.szTip[cut - 1]) & 0xC0) == 0x80) --cut;
    if (cut > 0 && (static_cast<unsigned char>(d.szTip[cut - 1]) & 0x80)) {
        unsigned char lead = static_cast<unsigned char>(d.szTip[cut - 1]);
        size_t need = lead >= 0xF0 ? 4 : lead >= 0xE0 ? 3 : lead >= 0xC0 ? 2 : 1;
        if (n - (cut - 1) < need) n = cut - 1;
    }
    return std::string(d.szTip, n);
}

void Apply(TrayIconState& icon, const NOTIFYICONDATA& d) {
    if (d.uFlags & NIF_MESSAGE) icon.callbackMessage = d.uCallbackMessage;
    if (d.uFlags & NIF_TIP) icon.tip = TipOf(d);
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
    if (s.backend) s.backend->AddTrayIcon(key.first, key.second, it->second.callbackMessage, it->second.tip);
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
