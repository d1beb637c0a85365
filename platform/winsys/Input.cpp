// Input: queued events from the display become mouse and keyboard messages
// when they are read; focus, capture, activation, key state, tracking, caret.

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <utility>

#include "platform/winsys/InputApi.h"
#include "platform/winsys/MessageApi.h"
#include "platform/winsys/PaintApi.h"
#include "platform/winsys/SystemApi.h"
#include "platform/winsys/WindowApi.h"
#include "platform/winsys/WinsysState.h"

namespace tarvel {

namespace {

constexpr uint8_t kDown = 0x80;
constexpr uint8_t kToggled = 0x01;

struct ButtonMessages {
    UINT down, up, dblclk, ncDown, ncUp, ncDblclk;
    UINT vk;
};

const ButtonMessages& MessagesOf(MouseButton b) {
    static const ButtonMessages table[] = {
        {WM_LBUTTONDOWN, WM_LBUTTONUP, WM_LBUTTONDBLCLK, WM_NCLBUTTONDOWN, WM_NCLBUTTONUP, WM_NCLBUTTONDBLCLK,
         VK_LBUTTON},
        {WM_RBUTTONDOWN, WM_RBUTTONUP, WM_RBUTTONDBLCLK, WM_NCRBUTTONDOWN, WM_NCRBUTTONUP, WM_NCRBUTTONDBLCLK,
         VK_RBUTTON},
        {WM_MBUTTONDOWN, WM_MBUTTONUP, WM_MBUTTONDBLCLK, WM_NCMBUTTONDOWN, WM_NCMBUTTONUP, WM_NCMBUTTONDBLCLK,
         VK_MBUTTON},
    };
    return table[static_cast<int>(b)];
}

void ApplyKey(std::array<uint8_t, 256>& keys, UINT vk, bool down) {
    vk &= 0xFF;
    if (down) {
        if (!(keys[vk] & kDown)) keys[vk] ^= kToggled;
        keys[vk] |= kDown;
    } else {
        keys[vk] &= static_cast<uint8_t>(~kDown);
    }
    // The generic modifier keys follow their left and right keys.
    auto generic = [&](UINT left, UINT right, UINT both) {
        if (vk == left || vk == right) {
            bool any = (keys[left] | keys[right]) & kDown;
            keys[both] = static_cast<uint8_t>((keys[both] & kToggled) | (any ? kDown : 0));
        }
    };
    generic(VK_LSHIFT, VK_RSHIFT, VK_SHIFT);
    generic(VK_LCONTROL, VK_RCONTROL, VK_CONTROL);
    generic(VK_LMENU, VK_RMENU, VK_MENU);
}

void ApplyEventToKeys(std::array<uint8_t, 256>& keys, const InputEvent& ev) {
    switch (ev.kind) {
        case InputEvent::MouseDown: ApplyKey(keys, MessagesOf(ev.button).vk, true); break;
        case InputEvent::MouseUp: ApplyKey(keys, MessagesOf(ev.button).vk, false); break;
        case InputEvent::KeyDown: ApplyKey(keys, static_cast<UINT>(ev.value), true); break;
        case InputEvent::KeyUp: ApplyKey(keys, static_cast<UINT>(ev.value), false); break;
        default: break;
    }
}

WPARAM MouseKeys(const std::array<uint8_t, 256>& keys) {
    WPARAM k = 0;
    if (keys[VK_LBUTTON] & kDown) k |= MK_LBUTTON;
    if (keys[VK_RBUTTON] & kDown) k |= MK_RBUTTON;
    if (keys[VK_MBUTTON] & kDown) k |= MK_MBUTTON;
    if (keys[VK_SHIFT] & kDown) k |= MK_SHIFT;
    if (keys[VK_CONTROL] & kDown) k |= MK_CONTROL;
    return k;
}

bool IsMouseEvent(const InputEvent& ev) {
    return ev.kind == InputEvent::MouseMove || ev.kind == InputEvent::MouseDown ||
           ev.kind == InputEvent::MouseUp || ev.kind == InputEvent::Wheel;
}

void Enqueue(InputEvent ev) {
    if (!HasState()) return;
    WinsysState& s = State();
    {
        std::lock_guard<std::mutex> lock(s.queueMutex);
        ApplyEventToKeys(s.asyncKeyState, ev);
        if (IsMouseEvent(ev)) s.asyncCursorPos = ev.pt;
        s.input.push_back(ev);
    }
    s.backend->Wake();
}

// Windows under a screen point, the front one first: children before their
// parent, upper siblings before lower ones. Disabled children hide their
// subtree (the parent gets the input); a disabled top-level window is listed
// so that it swallows the input.
void CollectUnder(Window* w, TPoint screen, std::vector<Window*>& out) {
    TPoint co = ClientOriginOnScreen(w);
    TPoint c{screen.x - co.x, screen.y - co.y};
    const bool disabled = w->style & WS_DISABLED;  // its children are out of reach too
    if (!disabled && TRect{0, 0, w->client.Width(), w->client.Height()}.Contains(c)) {
        for (HWND h : w->children) {
            Window* ch = FindWindow(h);
            if (!ch || !(ch->style & WS_VISIBLE) || (ch->style & WS_DISABLED)) continue;
            if (ShapeContains(ch, TPoint{c.x - ch->rect.left, c.y - ch->rect.top}))
                CollectUnder(ch, screen, out);
        }
    }
    out.push_back(w);
}

std::vector<Window*> WindowsUnder(TPoint screen) {
    std::vector<Window*> out;
    Window* desk = FindWindow(State().desktop);
    for (HWND h : desk->children) {
        Window* w = FindWindow(h);
        if (!w || !(w->style & WS_VISIBLE) || (w->style & WS_MINIMIZE)) continue;
        if (ShapeContains(w, TPoint{screen.x - w->rect.left, screen.y - w->rect.top}))
            CollectUnder(w, screen, out);
    }
    return out;
}

void EndTrackingUnless(HWND hwnd, int hit) {
    WinsysState& s = State();
    if (!s.trackHwnd) return;
    bool nonClient = s.trackFlags & TME_NONCLIENT;
    if (s.trackHwnd == hwnd && nonClient == (hit != HTCLIENT)) return;
    HWND left = s.trackHwnd;
    s.trackHwnd = nullptr;
    s.trackFlags = 0;
    PostMessage(left, nonClient ? WM_NCMOUSELEAVE : WM_MOUSELEAVE, 0, 0);
}

bool IsDoubleClick(const ClickMemory& last, HWND hwnd, UINT downMsg, const InputEvent& ev) {
    if (!last.armed || last.hwnd != hwnd || last.downMessage != downMsg) return false;
    if (ev.time - last.time > GetDoubleClickTime()) return false;
    return std::abs(ev.pt.x - last.pt.x) <= GetSystemMetrics(SM_CXDOUBLECLK) / 2 &&
           std::abs(ev.pt.y - last.pt.y) <= GetSystemMetrics(SM_CYDOUBLECLK) / 2;
}

bool RouteMouse(const InputEvent& ev, MSG& out, bool commit) {
    WinsysState& s = State();
    std::array<uint8_t, 256> keys = s.keyState;
    ApplyEventToKeys(keys, ev);
    if (commit) {
        {
            // Posting threads stamp their messages with it.
            std::lock_guard<std::mutex> lock(s.queueMutex);
            s.cursorPos = ev.pt;
        }
        s.keyState = keys;
    }

    HWND target = nullptr;
    int hit = HTCLIENT;
    if (FindWindow(s.capture)) {
        target = s.capture;
    } else {
        for (Window* w : WindowsUnder(ev.pt)) {
            if (w->style & WS_DISABLED) break;  // a disabled window swallows input
            HWND h = w->hwnd;
            hit = static_cast<int>(SendMessage(h, WM_NCHITTEST, 0, PointToLParam(ev.pt)));
            if (hit == HTTRANSPARENT || !FindWindow(h)) continue;
            target = h;
            break;
        }
    }
    if (ev.kind == InputEvent::Wheel) {
        if (FindWindow(s.focus)) target = s.focus;
        if (!target) return false;
        out = MSG{target,
                  WM_MOUSEWHEEL,
                  MAKEWPARAM(static_cast<int>(MouseKeys(keys)), ev.value),
                  PointToLParam(ev.pt),
                  ev.time,
                  ev.pt};
        return true;
    }
    if (commit) {
        EndTrackingUnless(target, hit);
        s.lastMouseHwnd = target;
        s.lastMouseHit = hit;
    }
    if (!target || hit == HTERROR) return false;

    const bool client = hit == HTCLIENT;
    TPoint cp = ev.pt;
    if (client) ScreenToClient(target, cp);
    UINT message = client ? WM_MOUSEMOVE : WM_NCMOUSEMOVE;
    if (ev.kind != InputEvent::MouseMove) {
        const ButtonMessages& bm = MessagesOf(ev.button);
        bool down = ev.kind == InputEvent::MouseDown;
        message = down ? (client ? bm.down : bm.ncDown) : (client ? bm.up : bm.ncUp);
        if (down) {
            Window* tw = FindWindow(target);
            bool wantsDouble = !client || (tw && tw->cls && (tw->cls->wc.style & CS_DBLCLKS));
            if (wantsDouble && IsDoubleClick(s.lastClick, target, message, ev)) {
                if (commit) s.lastClick.armed = false;
                message = client ? bm.dblclk : bm.ncDblclk;
            } else if (commit) {
                s.lastClick = ClickMemory{target, message, ev.time, ev.pt, true};
            }
        }
    }
    out = MSG{target,
              message,
              client ? MouseKeys(keys) : static_cast<WPARAM>(hit),
              PointToLParam(client ? cp : ev.pt),
              ev.time,
              ev.pt};

    if (commit && !s.capture) {
        SendMessage(target, WM_SETCURSOR, reinterpret_cast<WPARAM>(target),
                    MAKELPARAM(hit, static_cast<int>(message)));
        if (!FindWindow(target)) return false;
    }
    if (commit && ev.kind == InputEvent::MouseDown) {
        ActivateMdiChildAt(target);
        if (!FindWindow(target)) return false;
        HWND top = GetAncestor(target, GA_ROOT);
        Window* tw = FindWindow(top);
        if (tw && top != s.active && !NeverActivates(tw)) {
            LRESULT r = SendMessage(target, WM_MOUSEACTIVATE, reinterpret_cast<WPARAM>(top),
                                    MAKELPARAM(hit, static_cast<int>(message)));
            if ((r == MA_ACTIVATE || r == MA_ACTIVATEANDEAT) && FindWindow(top))
                ActivateTopLevel(top, WA_CLICKACTIVE);
            if (r == MA_ACTIVATEANDEAT || r == MA_NOACTIVATEANDEAT) return false;
        }
        if (!FindWindow(target)) return false;
    }
    return true;
}

bool RouteKey(const InputEvent& ev, MSG& out, bool commit) {
    WinsysState& s = State();
    std::array<uint8_t, 256> keys = s.keyState;
    const UINT vk = static_cast<UINT>(ev.value) & 0xFF;
    const bool wasDown = keys[vk] & kDown;
    ApplyEventToKeys(keys, ev);
    if (commit) s.keyState = keys;
    // Any other key between Alt's press and release makes it no menu key,
    // whoever handles that key.
    if (commit && ev.kind == InputEvent::KeyDown && vk != VK_MENU) s.altAlone = false;

    HWND target = FindWindow(s.focus) ? s.focus : (FindWindow(s.active) ? s.active : nullptr);
    if (!target) return false;
    const bool down = ev.kind == InputEvent::KeyDown;
    const bool alt = keys[VK_MENU] & kDown;
    const bool ctrl = keys[VK_CONTROL] & kDown;
    // Alt (without Ctrl), F10 and keys with no focus window are system keys.
    const bool sys = (alt && !ctrl) || vk == VK_F10 || !FindWindow(s.focus);
    LPARAM data = 1 | (static_cast<LPARAM>(ev.scanCode & 0xFF) << 16);
    if (alt) data |= KF_ALTDOWN_BIT;
    if (!down || wasDown) data |= KF_REPEAT_BIT;
    if (!down) data |= KF_UP_BIT;
    UINT message = down ? (sys ? WM_SYSKEYDOWN : WM_KEYDOWN) : (sys ? WM_SYSKEYUP : WM_KEYUP);
    out = MSG{target, message, vk, data, ev.time, s.cursorPos};
    return true;
}

}  // namespace

// ---- from the display ----

void QueueMouseMove(TPoint screen) {
    InputEvent ev{InputEvent::MouseMove, screen};
    ev.time = CurrentBackend() ? CurrentBackend()->Now() : 0;
    Enqueue(ev);
}

void QueueMouseButton(MouseButton button, bool down, TPoint screen) {
    InputEvent ev{down ? InputEvent::MouseDown : InputEvent::MouseUp, screen};
    ev.button = button;
    ev.time = CurrentBackend() ? CurrentBackend()->Now() : 0;
    Enqueue(ev);
}

void QueueMouseWheel(int delta, TPoint screen) {
    InputEvent ev{InputEvent::Wheel, screen};
    ev.value = delta;
    ev.time = CurrentBackend() ? CurrentBackend()->Now() : 0;
    Enqueue(ev);
}

void QueueKey(UINT virtualKey, bool down, UINT scanCode) {
    InputEvent ev{down ? InputEvent::KeyDown : InputEvent::KeyUp, TPoint{}};
    ev.value = static_cast<int>(virtualKey & 0xFF);
    ev.scanCode = scanCode;
    ev.time = CurrentBackend() ? CurrentBackend()->Now() : 0;
    Enqueue(ev);
}

void QueueChar(char16_t ch) {
    InputEvent ev{InputEvent::Char, TPoint{}};
    ev.value = ch;
    Enqueue(ev);
}

void QueueComposition(const std::u16string& text, int cursor) {
    if (!HasState()) return;
    WinsysState& s = State();
    bool composing;
    {
        std::lock_guard<std::mutex> lock(s.queueMutex);
        composing = s.imeQueuedComposing;
        s.imeQueuedComposing = !text.empty();
    }
    if (text.empty()) {
        if (!composing) return;
        // Given up: the pre-edit text goes and nothing is entered.
        InputEvent change{InputEvent::ImeComposition, TPoint{}};
        change.value = static_cast<int>(GCS_COMPSTR | GCS_CURSORPOS);
        Enqueue(change);
        Enqueue(InputEvent{InputEvent::ImeEnd, TPoint{}});
        return;
    }
    if (!composing) Enqueue(InputEvent{InputEvent::ImeStart, TPoint{}});
    InputEvent change{InputEvent::ImeComposition, TPoint{}};
    change.value = static_cast<int>(GCS_COMPSTR | GCS_CURSORPOS);
    change.text = text;
    change.cursor = std::clamp(cursor, 0, static_cast<int>(text.size()));
    Enqueue(change);
}

void QueueCompositionResult(const std::u16string& text) {
    if (!HasState()) return;
    WinsysState& s = State();
    bool composing;
    {
        std::lock_guard<std::mutex> lock(s.queueMutex);
        composing = std::exchange(s.imeQueuedComposing, false);
    }
    if (!composing) Enqueue(InputEvent{InputEvent::ImeStart, TPoint{}});
    InputEvent result{InputEvent::ImeComposition, TPoint{}};
    result.value = static_cast<int>(GCS_RESULTSTR);
    result.text = text;
    Enqueue(result);
    Enqueue(InputEvent{InputEvent::ImeEnd, TPoint{}});
}

HIMC ImmGetContext(HWND hwnd) { return hwnd && hwnd == GetFocus() ? hwnd : nullptr; }

bool ImmReleaseContext(HWND, HIMC context) { return context != nullptr; }

long ImmGetCompositionStringW(HIMC context, DWORD index, void* buffer, DWORD bytes) {
    if (!context || context != GetFocus()) return -1;
    const WinsysState& s = State();
    const bool ours = s.imeWindow == context;
    if (index == GCS_CURSORPOS) return ours ? s.imeCursor : 0;
    if (index != GCS_COMPSTR && index != GCS_RESULTSTR) return -1;
    const std::u16string empty;
    const std::u16string& text = !ours ? empty : index == GCS_COMPSTR ? s.imeComposition : s.imeResult;
    const DWORD size = static_cast<DWORD>(text.size() * sizeof(char16_t));
    if (buffer) std::memcpy(buffer, text.data(), std::min(size, bytes) / sizeof(char16_t) * sizeof(char16_t));
    return static_cast<long>(size);
}

void QueueSysCommand(HWND window, WPARAM command) {
    InputEvent ev{InputEvent::SysCommand, TPoint{}};
    ev.hwnd = window;
    ev.value = static_cast<int>(command);
    Enqueue(ev);
}

void QueueSurfaceMoved(HWND window, const TRect& bounds) {
    InputEvent ev{InputEvent::Moved, TPoint{}};
    ev.hwnd = window;
    ev.bounds = bounds;
    Enqueue(ev);
}

void QueueAppActivation(HWND window, bool active) {
    InputEvent ev{InputEvent::AppActivation, TPoint{}};
    ev.hwnd = window;
    ev.value = active ? 1 : 0;
    Enqueue(ev);
}

void QueueSessionEnd() { Enqueue(InputEvent{InputEvent::SessionEnd, TPoint{}}); }

bool InputMayMatch(const InputEvent& ev, UINT fmin, UINT fmax) {
    switch (ev.kind) {
        case InputEvent::MouseMove:
        case InputEvent::MouseDown:
        case InputEvent::MouseUp:
        case InputEvent::Wheel:
            return MessageInFilter(WM_NCMOUSEMOVE, fmin, fmax) ||
                   MessageInFilter(WM_NCMBUTTONDBLCLK, fmin, fmax) ||
                   MessageInFilter(WM_MOUSEFIRST, fmin, fmax) || MessageInFilter(WM_MOUSELAST, fmin, fmax) ||
                   (fmin > WM_NCMOUSEMOVE && fmin <= WM_NCMBUTTONDBLCLK) ||
                   (fmin > WM_MOUSEFIRST && fmin <= WM_MOUSELAST);
        case InputEvent::KeyDown:
        case InputEvent::KeyUp:
        case InputEvent::Char:
            return MessageInFilter(WM_KEYFIRST, fmin, fmax) || MessageInFilter(WM_KEYLAST, fmin, fmax) ||
                   (fmin > WM_KEYFIRST && fmin <= WM_KEYLAST);
        case InputEvent::SysCommand: return MessageInFilter(WM_SYSCOMMAND, fmin, fmax);
        case InputEvent::ImeStart:
        case InputEvent::ImeComposition:
        case InputEvent::ImeEnd:
            return MessageInFilter(WM_IME_STARTCOMPOSITION, fmin, fmax) ||
                   MessageInFilter(WM_IME_COMPOSITION, fmin, fmax) ||
                   (fmin > WM_IME_STARTCOMPOSITION && fmin <= WM_IME_COMPOSITION);
        case InputEvent::Moved:
        case InputEvent::AppActivation:
        case InputEvent::SessionEnd: return true;
    }
    return false;
}

bool RouteInput(const InputEvent& ev, MSG& out, bool commit) {
    WinsysState& s = State();
    switch (ev.kind) {
        case InputEvent::MouseMove:
        case InputEvent::MouseDown:
        case InputEvent::MouseUp:
        case InputEvent::Wheel: return RouteMouse(ev, out, commit);
        case InputEvent::KeyDown:
        case InputEvent::KeyUp: return RouteKey(ev, out, commit);
        case InputEvent::Char: {
            HWND target = FindWindow(s.focus) ? s.focus : nullptr;
            if (!target) return false;
            out = MSG{target, WM_CHAR, static_cast<WPARAM>(ev.value), 1, ev.time, s.cursorPos};
            return true;
        }
        case InputEvent::ImeStart:
        case InputEvent::ImeComposition:
        case InputEvent::ImeEnd: {
            HWND target = FindWindow(s.focus) ? s.focus : nullptr;
            if (!target) return false;
            const UINT msg = ev.kind == InputEvent::ImeStart ? WM_IME_STARTCOMPOSITION
                             : ev.kind == InputEvent::ImeEnd ? WM_IME_ENDCOMPOSITION
                                                             : WM_IME_COMPOSITION;
            LPARAM flags = ev.kind == InputEvent::ImeComposition ? static_cast<LPARAM>(ev.value) : 0;
            if (commit) {
                // What ImmGetCompositionStringW answers while the message is handled.
                if (s.imeWindow != target || ev.kind == InputEvent::ImeStart) {
                    s.imeComposition.clear();
                    s.imeResult.clear();
                    s.imeCursor = 0;
                }
                s.imeWindow = target;
                if (flags & GCS_RESULTSTR) {
                    s.imeResult = ev.text;
                    s.imeComposition.clear();
                    s.imeCursor = 0;
                } else if (flags & GCS_COMPSTR) {
                    s.imeComposition = ev.text;
                    s.imeCursor = ev.cursor;
                }
            }
            out = MSG{target, msg, 0, flags, ev.time, s.cursorPos};
            return true;
        }
        case InputEvent::SysCommand:
            if (!FindWindow(ev.hwnd)) return false;
            out = MSG{ev.hwnd, WM_SYSCOMMAND, static_cast<WPARAM>(ev.value), 0, ev.time, s.cursorPos};
            return true;
        case InputEvent::Moved:
            if (commit && FindWindow(ev.hwnd))
                SetWindowPos(ev.hwnd, nullptr, ev.bounds.left, ev.bounds.top, ev.bounds.Width(),
                             ev.bounds.Height(), SWP_NOZORDER | SWP_NOACTIVATE);
            return false;
        case InputEvent::AppActivation:
            if (commit) {
                if (ev.value) {
                    if (FindWindow(ev.hwnd)) SetActiveWindow(ev.hwnd);
                } else {
                    // Another program took the keyboard: modal loops end on
                    // the capture they lose.
                    if (s.capture) ReleaseCapture();
                    if (s.active) SendActivation(nullptr, WA_INACTIVE);
                }
            }
            return false;
        case InputEvent::SessionEnd:
            if (commit) EndDesktopSession();
            return false;
    }
    return false;
}

void ForgetWindowInput(HWND hwnd) {
    WinsysState& s = State();
    if (s.capture == hwnd) {
        // The window is past WM_NCDESTROY: it hears nothing more.
        s.capture = nullptr;
        s.backend->SetMouseCapture(false);
        QueueMouseMove(s.cursorPos);
    }
    if (s.focus == hwnd) s.focus = nullptr;
    if (s.active == hwnd) s.active = nullptr;
    if (s.trackHwnd == hwnd) s.trackHwnd = nullptr;
    if (s.lastMouseHwnd == hwnd) s.lastMouseHwnd = nullptr;
    if (s.lastClick.hwnd == hwnd) s.lastClick = ClickMemory{};
    if (s.caret.hwnd == hwnd) s.caret = CaretState{};
}

// ---- activation ----

void SendActivation(HWND newActive, WORD how) {
    WinsysState& s = State();
    HWND old = s.active;
    if (old == newActive) return;
    s.active = newActive;
    if (FindWindow(old)) {
        SendMessage(old, WM_NCACTIVATE, 0, reinterpret_cast<LPARAM>(newActive));
        MdiFrameActivated(old, false);
        SendMessage(old, WM_ACTIVATE, MAKEWPARAM(WA_INACTIVE, IsIconic(old) ? 1 : 0),
                    reinterpret_cast<LPARAM>(newActive));
        if (s.focus && (s.focus == old || IsChild(old, s.focus)) && s.active != old) {
            HWND lost = s.focus;
            s.focus = nullptr;
            SendMessage(lost, WM_KILLFOCUS, 0, 0);
        }
    }
    if (newActive && FindWindow(newActive) && s.active == newActive) {
        SendMessage(newActive, WM_NCACTIVATE, 1, reinterpret_cast<LPARAM>(old));
        MdiFrameActivated(newActive, true);
        SendMessage(newActive, WM_ACTIVATE, MAKEWPARAM(how, IsIconic(newActive) ? 1 : 0),
                    reinterpret_cast<LPARAM>(FindWindow(old) ? old : nullptr));
    }
}

HWND SetActiveWindow(HWND hwnd) { return OnGuiThread() ? ActivateTopLevel(hwnd, WA_ACTIVE) : nullptr; }

HWND ActivateTopLevel(HWND hwnd, WORD how) {
    WinsysState& s = State();
    Window* w = FindWindow(hwnd);
    if (w && !w->messageOnly) w = TopLevelOf(w);
    if (!w || w->messageOnly) return nullptr;
    HWND old = s.active;
    if (old == w->hwnd) return old;
    RaiseToTop(w);
    SendActivation(w->hwnd, how);
    return old;
}

void ActivateNextAfter(HWND leaving) {
    WinsysState& s = State();
    Window* lw = FindWindow(leaving);
    auto eligible = [&](Window* w) {
        return w && w->hwnd != leaving && (w->style & WS_VISIBLE) &&
               !(w->style & (WS_DISABLED | WS_MINIMIZE)) && !NeverActivates(w);
    };
    Window* next = lw ? FindWindow(lw->owner) : nullptr;
    if (!eligible(next)) {
        next = nullptr;
        for (HWND h : FindWindow(s.desktop)->children)
            if (eligible(FindWindow(h))) {
                next = FindWindow(h);
                break;
            }
    }
    if (next)
        SendActivation(next->hwnd, WA_ACTIVE);
    else if (s.active == leaving)
        SendActivation(nullptr, WA_INACTIVE);
}

HWND GetActiveWindow() { return HasState() ? State().active : nullptr; }
HWND GetForegroundWindow() { return GetActiveWindow(); }
bool SetForegroundWindow(HWND hwnd) {
    return IsWindow(hwnd) && (SetActiveWindow(hwnd), State().active != nullptr);
}

// ---- focus and capture ----

HWND SetFocus(HWND hwnd) {
    if (!OnGuiThread()) return nullptr;
    WinsysState& s = State();
    HWND old = s.focus;
    if (hwnd) {
        Window* w = FindWindow(hwnd);
        if (!w || w->messageOnly) return nullptr;
        Window* top = TopLevelOf(w);
        if (top && top->hwnd != s.active) {
            SetActiveWindow(top->hwnd);
            old = s.focus;
        }
        if (!FindWindow(hwnd)) return nullptr;
    }
    if (old == hwnd) return old;
    s.focus = hwnd;
    if (FindWindow(old)) SendMessage(old, WM_KILLFOCUS, reinterpret_cast<WPARAM>(hwnd), 0);
    if (hwnd && s.focus == hwnd && FindWindow(hwnd))
        SendMessage(hwnd, WM_SETFOCUS, reinterpret_cast<WPARAM>(FindWindow(old) ? old : nullptr), 0);
    return FindWindow(old) ? old : nullptr;
}

HWND GetFocus() { return HasState() ? State().focus : nullptr; }

HWND SetCapture(HWND hwnd) {
    if (!OnGuiThread()) return nullptr;
    WinsysState& s = State();
    HWND old = s.capture;
    if (!FindWindow(hwnd)) return old;
    s.capture = hwnd;
    s.backend->SetMouseCapture(true);
    if (old && old != hwnd && FindWindow(old))
        SendMessage(old, WM_CAPTURECHANGED, 0, reinterpret_cast<LPARAM>(hwnd));
    return old;
}

HWND GetCapture() { return HasState() ? State().capture : nullptr; }

bool ReleaseCapture() {
    if (!OnGuiThread()) return false;
    WinsysState& s = State();
    HWND old = s.capture;
    s.capture = nullptr;
    s.backend->SetMouseCapture(false);
    if (old && FindWindow(old)) SendMessage(old, WM_CAPTURECHANGED, 0, 0);
    // The window under the mouse may differ from the one that held it: a
    // move where the mouse is tells the windows (enter, leave, cursor).
    if (old) QueueMouseMove(s.cursorPos);  // where the last message said it was
    return true;
}

// ---- key state ----

int16_t GetKeyState(int vk) {
    if (!HasState()) return 0;
    uint8_t k = State().keyState[static_cast<size_t>(vk & 0xFF)];
    return static_cast<int16_t>(((k & kDown) ? 0x8000 : 0) | (k & kToggled));
}

int16_t GetAsyncKeyState(int vk) {
    if (!HasState()) return 0;
    WinsysState& s = State();
    std::lock_guard<std::mutex> lock(s.queueMutex);
    return (s.asyncKeyState[static_cast<size_t>(vk & 0xFF)] & kDown) ? static_cast<int16_t>(0x8000) : 0;
}

// ---- mouse tracking and the cursor position ----

bool TrackMouseEvent(TRACKMOUSEEVENT* tme) {
    if (!tme || !HasState()) return false;
    WinsysState& s = State();
    if (tme->dwFlags & TME_QUERY) {
        tme->hwndTrack = s.trackHwnd;
        tme->dwFlags = s.trackHwnd ? (s.trackFlags | TME_LEAVE) : 0;
        return true;
    }
    if (!FindWindow(tme->hwndTrack)) return false;
    if (tme->dwFlags & TME_CANCEL) {
        if (s.trackHwnd == tme->hwndTrack) s.trackHwnd = nullptr;
        return true;
    }
    if (!(tme->dwFlags & TME_LEAVE)) return true;
    bool nonClient = tme->dwFlags & TME_NONCLIENT;
    bool over = s.lastMouseHwnd == tme->hwndTrack && nonClient == (s.lastMouseHit != HTCLIENT);
    if (!over) {
        // Asked too late: the mouse has already left.
        PostMessage(tme->hwndTrack, nonClient ? WM_NCMOUSELEAVE : WM_MOUSELEAVE, 0, 0);
        return true;
    }
    s.trackHwnd = tme->hwndTrack;
    s.trackFlags = tme->dwFlags & TME_NONCLIENT;
    return true;
}

// Where the mouse is now, as the hover polls want it; messages carry where
// it was when they happened.
bool GetCursorPos(TPoint& out) {
    if (!HasState()) return false;
    WinsysState& s = State();
    std::lock_guard<std::mutex> lock(s.queueMutex);
    out = s.asyncCursorPos;
    return true;
}

bool SetCursorPos(int x, int y) {
    if (!HasState()) return false;
    State().backend->SetCursorPosition(TPoint{x, y});
    QueueMouseMove(TPoint{x, y});
    return true;
}

UINT GetDoubleClickTime() { return 500; }

// ---- caret ----

namespace {

constexpr uint32_t kCaretBlinkMs = 530;

// The caret is drawn by inverting its rectangle, so drawing it twice
// removes it.
void InvertCaret() {
    CaretState& c = State().caret;
    HDC dc = GetDC(c.hwnd);
    InvertRect(dc, Bounds(c.pos.x, c.pos.y, c.width, c.height));
    ReleaseDC(c.hwnd, dc);
    c.drawn = !c.drawn;
}

void EraseCaret() {
    if (State().caret.drawn) InvertCaret();
}

void DrawCaret() {
    WinsysState& s = State();
    CaretState& c = s.caret;
    if (!c.drawn && c.hideCount == 0 && IsWindowVisible(c.hwnd)) InvertCaret();
    c.blinkDue = s.backend->Now() + kCaretBlinkMs;
}

}  // namespace

bool BlinkCaretIfDue() {
    WinsysState& s = State();
    CaretState& c = s.caret;
    if (!c.hwnd || c.hideCount > 0 || static_cast<int32_t>(s.backend->Now() - c.blinkDue) < 0) return false;
    if (c.drawn) {
        InvertCaret();
        c.blinkDue = s.backend->Now() + kCaretBlinkMs;
    } else {
        DrawCaret();
    }
    return true;
}

uint32_t MillisToCaretBlink() {
    WinsysState& s = State();
    const CaretState& c = s.caret;
    if (!c.hwnd || c.hideCount > 0) return INFINITE;
    int32_t left = static_cast<int32_t>(c.blinkDue - s.backend->Now());
    return left <= 0 ? 0u : static_cast<uint32_t>(left);
}

void HideCaretForPaint(HWND hwnd) {
    if (HasState() && State().caret.hwnd == hwnd) HideCaret(hwnd);
}

void ShowCaretAfterPaint(HWND hwnd) {
    if (HasState() && State().caret.hwnd == hwnd) ShowCaret(hwnd);
}

bool CreateCaret(HWND hwnd, int width, int height) {
    if (!FindWindow(hwnd)) return false;
    DestroyCaret();
    CaretState& c = State().caret;
    c.hwnd = hwnd;
    c.width = width > 0 ? width : GetSystemMetrics(SM_CXBORDER);
    c.height = height > 0 ? height : GetSystemMetrics(SM_CYBORDER);
    return true;
}

bool DestroyCaret() {
    if (!HasState()) return false;
    if (FindWindow(State().caret.hwnd)) EraseCaret();
    State().caret = CaretState{};
    return true;
}

bool ShowCaret(HWND hwnd) {
    CaretState& c = State().caret;
    if (!c.hwnd || (hwnd && hwnd != c.hwnd) || c.hideCount == 0) return false;
    if (--c.hideCount == 0) DrawCaret();
    return true;
}

bool HideCaret(HWND hwnd) {
    CaretState& c = State().caret;
    if (!c.hwnd || (hwnd && hwnd != c.hwnd)) return false;
    EraseCaret();
    ++c.hideCount;
    return true;
}

bool SetCaretPos(int x, int y) {
    CaretState& c = State().caret;
    if (!c.hwnd) return false;
    bool wasDrawn = c.drawn;
    EraseCaret();
    c.pos = TPoint{x, y};
    if (wasDrawn) DrawCaret();
    return true;
}

bool GetCaretPos(TPoint& out) {
    if (!HasState()) return false;
    out = State().caret.pos;
    return true;
}

UINT GetCaretBlinkTime() { return kCaretBlinkMs; }

// ---- characters of keys (a US layout) ----

char16_t CharFromKey(UINT vk, bool shift, bool capsLock) {
    if (vk >= 'A' && vk <= 'Z') return static_cast<char16_t>((shift != capsLock) ? vk : vk + ('a' - 'A'));
    if (vk >= '0' && vk <= '9') return static_cast<char16_t>(shift ? u")!@#$%^&*("[vk - '0'] : vk);
    if (vk >= VK_NUMPAD0 && vk <= VK_NUMPAD0 + 9) return static_cast<char16_t>('0' + (vk - VK_NUMPAD0));
    struct KeyChar {
        UINT vk;
        char16_t plain, shifted;
    };
    static const KeyChar table[] = {
        {VK_SPACE, ' ', ' '},      {VK_RETURN, '\r', '\r'},  {VK_ESCAPE, 0x1B, 0x1B},
        {VK_BACK, 0x08, 0x08},     {VK_TAB, '\t', '\t'},     {VK_OEM_1, ';', ':'},
        {VK_OEM_PLUS, '=', '+'},   {VK_OEM_COMMA, ',', '<'}, {VK_OEM_MINUS, '-', '_'},
        {VK_OEM_PERIOD, '.', '>'}, {VK_OEM_2, '/', '?'},     {VK_OEM_3, '`', '~'},
        {VK_OEM_4, '[', '{'},      {VK_OEM_5, '\\', '|'},    {VK_OEM_6, ']', '}'},
        {VK_OEM_7, '\'', '"'},     {VK_MULTIPLY, '*', '*'},  {VK_ADD, '+', '+'},
        {VK_SUBTRACT, '-', '-'},   {VK_DECIMAL, '.', '.'},   {VK_DIVIDE, '/', '/'},
    };
    for (const KeyChar& k : table)
        if (k.vk == vk) return shift ? k.shifted : k.plain;
    return 0;
}

}  // namespace tarvel
