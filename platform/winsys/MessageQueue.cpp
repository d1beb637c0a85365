// The GUI thread's queue: posted messages from any thread, WM_QUIT, input,
// WM_PAINT and WM_TIMER, in that order of retrieval.

#include <algorithm>

#include "platform/winsys/GuiTasks.h"
#include "platform/winsys/InputApi.h"
#include "platform/winsys/MessageApi.h"
#include "platform/winsys/WindowApi.h"
#include "platform/winsys/WinsysState.h"

namespace tarvel {

namespace {

bool DueBy(uint32_t due, uint32_t now) { return static_cast<int32_t>(now - due) >= 0; }

// Takes the first posted message that passes the filter; messages to windows
// that are gone are dropped on the way.
bool TakePosted(MSG* msg, HWND hwnd, UINT fmin, UINT fmax, bool remove) {
    WinsysState& s = State();
    std::lock_guard<std::mutex> lock(s.queueMutex);
    for (auto it = s.posted.begin(); it != s.posted.end();) {
        if (it->hwnd && !FindWindow(it->hwnd)) {
            it = s.posted.erase(it);
            continue;
        }
        if (WindowInFilter(it->hwnd, hwnd) && MessageInFilter(it->message, fmin, fmax)) {
            *msg = *it;
            if (remove) s.posted.erase(it);
            return true;
        }
        ++it;
    }
    return false;
}

bool TakeQuit(MSG* msg, bool remove) {
    WinsysState& s = State();
    std::lock_guard<std::mutex> lock(s.queueMutex);
    if (!s.quitPosted) return false;
    *msg = MSG{};
    msg->message = WM_QUIT;
    msg->wParam = static_cast<WPARAM>(static_cast<intptr_t>(s.quitCode));
    if (remove) s.quitPosted = false;
    return true;
}

bool EraseInput(size_t i) {
    WinsysState& s = State();
    std::lock_guard<std::mutex> lock(s.queueMutex);
    if (i >= s.input.size()) return false;
    s.input.erase(s.input.begin() + static_cast<long>(i));
    return true;
}

// Routing asks the windows (WM_NCHITTEST), so it happens when a message is
// read, and again at each look that leaves it queued.
bool TakeInput(MSG* msg, HWND hwnd, UINT fmin, UINT fmax, bool remove) {
    WinsysState& s = State();
    const bool anyInput =
        !hwnd &&
        (MessageInFilter(WM_NCMOUSEMOVE, fmin, fmax) && MessageInFilter(WM_NCMBUTTONDBLCLK, fmin, fmax) &&
         MessageInFilter(WM_KEYFIRST, fmin, fmax) && MessageInFilter(WM_KEYLAST, fmin, fmax) &&
         MessageInFilter(WM_MOUSEFIRST, fmin, fmax) && MessageInFilter(WM_MOUSELAST, fmin, fmax) &&
         MessageInFilter(WM_SYSCOMMAND, fmin, fmax));
    for (size_t i = 0;;) {
        InputEvent ev;
        {
            std::lock_guard<std::mutex> lock(s.queueMutex);
            if (i >= s.input.size()) return false;
            ev = s.input[i];
        }
        if (!InputMayMatch(ev, fmin, fmax)) {
            ++i;
            continue;
        }
        MSG routed;
        if (remove && anyInput) {
            // Taken for good whatever it becomes: route once, with its effects.
            bool produced = RouteInput(ev, routed, true);
            EraseInput(i);
            if (produced && MessageInFilter(routed.message, fmin, fmax)) {
                *msg = routed;
                return true;
            }
            continue;
        }
        bool produced = RouteInput(ev, routed, false);
        if (produced && WindowInFilter(routed.hwnd, hwnd) && MessageInFilter(routed.message, fmin, fmax)) {
            if (!remove) {
                *msg = routed;
                return true;
            }
            produced = RouteInput(ev, routed, true);
            EraseInput(i);
            if (produced) {
                *msg = routed;
                return true;
            }
            continue;
        }
        if (!produced && remove && i == 0) {
            // Input that makes no message (a click eaten by activation, a
            // change of activation) is done with when it reaches the head.
            RouteInput(ev, routed, true);
            EraseInput(i);
            continue;
        }
        ++i;
    }
}

bool TakePaint(MSG* msg, HWND hwnd) {
    HWND target = FindWindowToPaint(hwnd);
    if (!target) return false;
    *msg = MSG{};
    msg->hwnd = target;
    msg->message = WM_PAINT;
    return true;
}

bool AnythingWaiting() {
    WinsysState& s = State();
    {
        std::lock_guard<std::mutex> lock(s.queueMutex);
        if (!s.posted.empty() || !s.input.empty() || s.quitPosted) return true;
    }
    if (FindWindowToPaint(nullptr)) return true;
    return MillisToNextTimer() == 0;
}

}  // namespace

bool MessageInFilter(UINT msg, UINT fmin, UINT fmax) {
    if (fmin == 0 && fmax == 0) return true;
    if (fmin <= fmax) return msg >= fmin && msg <= fmax;
    return msg >= fmin || msg <= fmax;  // a reversed range wraps
}

bool WindowInFilter(HWND msgHwnd, HWND filter) {
    if (!filter) return true;
    if (filter == HWND_THREAD_ONLY) return msgHwnd == nullptr;
    return msgHwnd == filter || IsChild(filter, msgHwnd);
}

void DropMessagesFor(HWND hwnd) {
    WinsysState& s = State();
    std::lock_guard<std::mutex> lock(s.queueMutex);
    s.posted.erase(
        std::remove_if(s.posted.begin(), s.posted.end(), [hwnd](const MSG& m) { return m.hwnd == hwnd; }),
        s.posted.end());
}

bool PostMessage(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    if (!HasState()) return false;
    WinsysState& s = State();
    if (hwnd && OnGuiThread() && !FindWindow(hwnd)) return false;
    MSG m;
    m.hwnd = hwnd;
    m.message = msg;
    m.wParam = wParam;
    m.lParam = lParam;
    {
        std::lock_guard<std::mutex> lock(s.queueMutex);
        m.pt = s.cursorPos;
        s.posted.push_back(m);
    }
    s.backend->Wake();
    return true;
}

void PostQuitMessage(int exitCode) {
    if (!HasState()) return;
    WinsysState& s = State();
    {
        std::lock_guard<std::mutex> lock(s.queueMutex);
        s.quitPosted = true;
        s.quitCode = exitCode;
    }
    s.backend->Wake();
}

bool PeekMessage(MSG* msg, HWND hwnd, UINT fmin, UINT fmax, UINT flags) {
    if (!OnGuiThread() || !msg) return false;
    WinsysState& s = State();
    s.backend->PumpEvents();
    const bool remove = flags & PM_REMOVE;
    // Input handled on the way may post (a mouse leave), so posted messages
    // are looked at again after it.
    bool found = TakePosted(msg, hwnd, fmin, fmax, remove) || TakeQuit(msg, remove) ||
                 TakeInput(msg, hwnd, fmin, fmax, remove) || TakePosted(msg, hwnd, fmin, fmax, remove) ||
                 (MessageInFilter(WM_PAINT, fmin, fmax) && TakePaint(msg, hwnd)) ||
                 (MessageInFilter(WM_TIMER, fmin, fmax) && TakeDueTimer(hwnd, remove, *msg));
    if (!found) {
        BlinkCaretIfDue();
        PresentDirtyWindows();
        return false;
    }
    msg->time = s.backend->Now();
    if (msg->message != WM_PAINT && msg->message != WM_TIMER && !(msg->pt.x || msg->pt.y))
        msg->pt = s.cursorPos;
    if (remove) {
        s.lastMessageTime = msg->time;
        s.lastMessagePos = msg->pt;
    }
    return true;
}

int GetMessage(MSG* msg, HWND hwnd, UINT fmin, UINT fmax) {
    if (!OnGuiThread() || !msg) return -1;
    if (hwnd && hwnd != HWND_THREAD_ONLY && !FindWindow(hwnd)) return -1;
    for (;;) {
        if (PeekMessage(msg, hwnd, fmin, fmax, PM_REMOVE)) return msg->message == WM_QUIT ? 0 : 1;
        WaitMessage();
    }
}

bool WaitMessage() {
    if (!OnGuiThread()) return false;
    WinsysState& s = State();
    for (;;) {
        s.backend->PumpEvents();
        if (AnythingWaiting()) return true;
        BlinkCaretIfDue();
        PresentDirtyWindows();
        s.backend->WaitForEvents(std::min(MillisToNextTimer(), MillisToCaretBlink()));
    }
}

bool HasPendingMessages() { return OnGuiThread() && AnythingWaiting(); }

DWORD GetMessageTime() { return HasState() ? State().lastMessageTime : 0; }
TPoint GetMessagePos() { return HasState() ? State().lastMessagePos : TPoint{}; }

LRESULT DispatchMessage(const MSG* msg) {
    if (msg && !msg->hwnd && msg->message == WM_GUITASK) RunGuiTask(msg->lParam);
    if (!msg || !msg->hwnd) return 0;
    Window* w = FindWindow(msg->hwnd);
    if (!w) return 0;
    if (msg->message == WM_PAINT) {
        PaintWindowNow(w);
        return 0;
    }
    return SendMessage(msg->hwnd, msg->message, msg->wParam, msg->lParam);
}

bool TranslateMessage(const MSG* msg) {
    if (!msg || (msg->message != WM_KEYDOWN && msg->message != WM_SYSKEYDOWN)) return false;
    bool shift = GetKeyState(VK_SHIFT) < 0;
    bool caps = GetKeyState(VK_CAPITAL) & 1;
    bool ctrl = GetKeyState(VK_CONTROL) < 0;
    bool alt = GetKeyState(VK_MENU) < 0;
    UINT vk = static_cast<UINT>(msg->wParam);
    char16_t ch = CharFromKey(vk, shift, caps);
    // Ctrl with a letter gives its control code; Ctrl with anything else, and
    // Ctrl+Alt, give nothing.
    if (ctrl && !alt) {
        if (vk >= 'A' && vk <= 'Z')
            ch = static_cast<char16_t>(vk - 'A' + 1);
        else if (vk != VK_RETURN && vk != VK_BACK && vk != VK_ESCAPE)
            ch = 0;
    } else if (ctrl && alt) {
        ch = 0;
    }
    if (!ch) return false;
    UINT charMsg = msg->message == WM_SYSKEYDOWN ? WM_SYSCHAR : WM_CHAR;
    PostMessage(msg->hwnd, charMsg, ch, msg->lParam);
    return true;
}

// ---- timers ----

UINT_PTR SetTimer(HWND hwnd, UINT_PTR id, UINT elapseMs) {
    if (!OnGuiThread()) return 0;
    if (hwnd && !FindWindow(hwnd)) return 0;
    WinsysState& s = State();
    UINT elapse = std::clamp<UINT>(elapseMs, 10, 0x7FFFFFFF);
    auto it = std::find_if(s.timers.begin(), s.timers.end(),
                           [&](const Timer& t) { return t.hwnd == hwnd && t.id == id && (hwnd || id); });
    if (it == s.timers.end()) {
        Timer t;
        t.hwnd = hwnd;
        t.id = hwnd ? id : s.nextThreadTimerId++;
        s.timers.push_back(t);
        it = s.timers.end() - 1;
    }
    it->elapse = elapse;
    it->due = s.backend->Now() + elapse;
    return hwnd ? (it->id ? it->id : 1) : it->id;
}

bool KillTimer(HWND hwnd, UINT_PTR id) {
    if (!OnGuiThread()) return false;
    WinsysState& s = State();
    auto it = std::find_if(s.timers.begin(), s.timers.end(),
                           [&](const Timer& t) { return t.hwnd == hwnd && t.id == id; });
    if (it == s.timers.end()) return false;
    s.timers.erase(it);
    return true;
}

void KillWindowTimers(HWND hwnd) {
    auto& t = State().timers;
    t.erase(std::remove_if(t.begin(), t.end(), [hwnd](const Timer& x) { return x.hwnd == hwnd; }), t.end());
}

bool TakeDueTimer(HWND filter, bool remove, MSG& out) {
    WinsysState& s = State();
    uint32_t now = s.backend->Now();
    // The most overdue timer first, so that a short timer cannot starve a long one.
    Timer* best = nullptr;
    for (Timer& t : s.timers) {
        if (!DueBy(t.due, now) || !WindowInFilter(t.hwnd, filter)) continue;
        if (!best || static_cast<int32_t>(t.due - best->due) < 0) best = &t;
    }
    if (!best) return false;
    out = MSG{};
    out.hwnd = best->hwnd;
    out.message = WM_TIMER;
    out.wParam = best->id;
    if (remove) best->due = now + best->elapse;
    return true;
}

uint32_t MillisToNextTimer() {
    WinsysState& s = State();
    if (s.timers.empty()) return INFINITE;
    uint32_t now = s.backend->Now();
    uint32_t best = INFINITE;
    for (const Timer& t : s.timers) {
        int32_t left = static_cast<int32_t>(t.due - now);
        best = std::min<uint32_t>(best, left <= 0 ? 0u : static_cast<uint32_t>(left));
    }
    return best;
}

}  // namespace tarvel
