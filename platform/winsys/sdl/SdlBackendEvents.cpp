// The SDL display's input: waiting, waking, and SDL's events made into the
// window system's input (mouse at screen points, virtual keys, characters,
// activation, close, minimize and restore requests).

#include <SDL2/SDL.h>

#include <algorithm>
#include <climits>
#include <utility>

#include "platform/base/Strings.h"
#include "platform/winsys/Winsys.h"
#include "platform/winsys/sdl/SdlBackend.h"
#include "platform/winsys/sdl/SdlKeys.h"
#include "platform/winsys/sdl/SessionClient.h"

namespace tarvel {

namespace {

// A program that loses the keyboard to another is told so only when no
// window of ours has taken it back within this time: moving between our own
// windows passes through a moment with none.
constexpr uint32_t kFocusLossGraceMs = 150;

// Within this time of our own move or resize, the display's reports of
// positions are echoes of earlier requests, not the user's doing.
constexpr uint32_t kOwnMoveSettleMs = 250;

// Set while this thread pumps: the input it queues needs no wake-up.
thread_local bool tPumping = false;

bool MouseButtonOf(uint8_t sdlButton, MouseButton& out) {
    switch (sdlButton) {
        case SDL_BUTTON_LEFT: out = MouseButton::Left; return true;
        case SDL_BUTTON_RIGHT: out = MouseButton::Right; return true;
        case SDL_BUTTON_MIDDLE: out = MouseButton::Middle; return true;
    }
    return false;
}

}  // namespace

void SdlBackend::WaitForEvents(uint32_t timeoutMs) {
    uint32_t wait = timeoutMs;
    if (focusLossPending_) {
        uint32_t gone = Now() - focusLostAt_;
        wait = std::min(wait, gone >= kFocusLossGraceMs ? 0 : kFocusLossGraceMs - gone);
    }
    if (wait == INFINITE)
        SDL_WaitEvent(nullptr);
    else
        SDL_WaitEventTimeout(nullptr, static_cast<int>(std::min<uint32_t>(wait, INT_MAX)));
}

void SdlBackend::Wake() {
    if (tPumping) return;
    // One wake-up in SDL's queue is enough however many threads post.
    if (wakePending_.exchange(true)) return;
    SDL_Event ev{};
    ev.type = wakeEvent_;
    if (SDL_PushEvent(&ev) != 1) wakePending_ = false;
}

void SdlBackend::PumpEvents() {
    tPumping = true;
    activationQueued_ = false;
    if (!lockKeysSynced_) SyncLockKeys();
    if (session_) session_->Pump();
    SDL_Event ev;
    while (SDL_PollEvent(&ev) == 1) Translate(ev);
    tPumping = false;
    FollowCompositor();
    SettleFocus();
    // An activation just queued changes the window that should hold the
    // keys; asking for them before it is taken would undo it.
    if (!activationQueued_) KeepKeyboard();
    FollowCaret();
}

TPoint SdlBackend::ToScreen(uint32_t windowId, int x, int y) {
    // While the mouse is captured, windows move under it (our move and size
    // loops), and a point relative to a window that has moved since the
    // event was made would jitter: the server's pointer position holds.
    TopLevel* t = FindBySdlId(windowId);
    if (!t || (captured_ && x11_)) {
        int gx = 0, gy = 0;
        SDL_GetGlobalMouseState(&gx, &gy);
        return TPoint{gx, gy};
    }
    // Our bounds, not SDL's idea of the position: the window system routes
    // by the bounds it gave.
    return TPoint{t->info.bounds.left + x, t->info.bounds.top + y};
}

void SdlBackend::Translate(const SDL_Event& ev) {
    if (ev.type == wakeEvent_) {
        wakePending_ = false;
        return;
    }
    if (!trays_.empty() && TranslateTrayEvent(ev)) return;
    switch (ev.type) {
        case SDL_MOUSEMOTION: QueueMouseMove(ToScreen(ev.motion.windowID, ev.motion.x, ev.motion.y)); break;
        case SDL_MOUSEBUTTONDOWN:
        case SDL_MOUSEBUTTONUP: {
            MouseButton b;
            if (!MouseButtonOf(ev.button.button, b)) break;
            // Double clicks are told apart by the window system itself, by
            // time and distance, as for every display.
            QueueMouseButton(b, ev.type == SDL_MOUSEBUTTONDOWN,
                             ToScreen(ev.button.windowID, ev.button.x, ev.button.y));
            break;
        }
        case SDL_MOUSEWHEEL: {
            int steps = ev.wheel.direction == SDL_MOUSEWHEEL_FLIPPED ? -ev.wheel.y : ev.wheel.y;
            if (steps)
                QueueMouseWheel(steps * WHEEL_DELTA,
                                ToScreen(ev.wheel.windowID, ev.wheel.mouseX, ev.wheel.mouseY));
            break;
        }
        case SDL_KEYDOWN:
        case SDL_KEYUP: TranslateKey(ev); break;
        case SDL_TEXTINPUT: TranslateText(ev.text.text); break;
        case SDL_TEXTEDITING: TranslateEditing(ev.edit.text, ev.edit.start); break;
        case SDL_TEXTEDITING_EXT:
            TranslateEditing(ev.editExt.text ? ev.editExt.text : "", ev.editExt.start);
            SDL_free(ev.editExt.text);
            break;
        case SDL_WINDOWEVENT: TranslateWindowEvent(ev); break;
        case SDL_DROPBEGIN:
        case SDL_DROPFILE:
        case SDL_DROPTEXT:
        case SDL_DROPCOMPLETE: TranslateDrop(ev); break;
        default: break;  // the program quits through its own windows, not SDL_QUIT
    }
}

void SdlBackend::TranslateKey(const SDL_Event& ev) {
    const SDL_Keysym& sym = ev.key.keysym;
    VirtualKey key = VirtualKeyOf(sym.sym, sym.mod);
    const bool down = ev.type == SDL_KEYDOWN;
    if (down) {
        lastKeyChars_[0] = key.vk ? CharFromKey(key.vk, false, false) : 0;
        lastKeyChars_[1] = key.vk ? CharFromKey(key.vk, true, false) : 0;
    }
    // Keys of other layouts with no virtual key here reach the windows
    // through their text alone.
    if (key.vk) QueueKey(key.vk, down, key.scanCode);
}

void SdlBackend::TranslateText(const char* utf8) {
    WideString text = Utf8ToWide(utf8);
    if (composing_) {
        // What the input method composed is entered once, as its result.
        composing_ = false;
        lastKeyChars_[0] = lastKeyChars_[1] = 0;
        QueueCompositionResult(text);
        return;
    }
    auto madeByKey = [this](char16_t c) {
        auto lower = [](char16_t x) { return x >= 'A' && x <= 'Z' ? static_cast<char16_t>(x + 32) : x; };
        return c && (lower(c) == lower(lastKeyChars_[0]) || c == lastKeyChars_[1]);
    };
    // A character the key just pressed makes already comes from
    // TranslateMessage; only the rest (other layouts, the input method) is
    // handed on, or it would arrive twice.
    bool fromKey = text.size() == 1 && madeByKey(text[0]);
    lastKeyChars_[0] = lastKeyChars_[1] = 0;
    if (fromKey) return;
    for (char16_t c : text) QueueChar(c);
}

void SdlBackend::TranslateEditing(const char* utf8, int start) {
    const WideString text = Utf8ToWide(utf8);
    // Empty pre-edit text after some: the composition was given up (after a
    // result there is none left to end).
    if (text.empty() && !composing_) return;
    composing_ = !text.empty();
    int cursor = 0;
    for (int chars = 0; cursor < static_cast<int>(text.size()) && chars < start; ++chars)
        cursor += text[static_cast<size_t>(cursor)] >= 0xD800 && text[static_cast<size_t>(cursor)] <= 0xDBFF
                      ? 2
                      : 1;
    QueueComposition(text, std::min(cursor, static_cast<int>(text.size())));
}

// The files of one drop come one event each between a begin and a
// complete; they are handed on together. SDL tells no point: the drop lands
// where the pointer is, or in the middle of the window when the pointer
// cannot be read there.
void SdlBackend::TranslateDrop(const SDL_Event& ev) {
    if (ev.type == SDL_DROPBEGIN) {
        dropping_ = true;
        droppedFiles_.clear();
        return;
    }
    if (ev.type == SDL_DROPFILE && ev.drop.file) droppedFiles_.emplace_back(ev.drop.file);
    if (ev.drop.file) SDL_free(ev.drop.file);
    if (ev.type == SDL_DROPCOMPLETE || !dropping_) {
        dropping_ = false;
        TopLevel* t = FindBySdlId(ev.drop.windowID);
        if (!t || droppedFiles_.empty()) {
            droppedFiles_.clear();
            return;
        }
        int gx = 0, gy = 0;
        SDL_GetGlobalMouseState(&gx, &gy);
        TPoint at{gx, gy};
        const TRect& b = t->info.bounds;
        if (!b.Contains(at)) at = TPoint{b.left + b.Width() / 2, b.top + b.Height() / 2};
        QueueFileDrop(at, std::exchange(droppedFiles_, {}));
    }
}

// The window system keeps its own toggle states from the keys it sees; a
// lock already on when we start is pressed once for it.
void SdlBackend::SyncLockKeys() {
    lockKeysSynced_ = true;
    if (SDL_GetModState() & KMOD_CAPS) {
        QueueKey(VK_CAPITAL, true);
        QueueKey(VK_CAPITAL, false);
    }
}

// The mouse on a tray icon goes to the icon's owner as the icon's callback;
// the pointer's place is the window system's cursor position first, so a
// menu opened there opens under it.
bool SdlBackend::TranslateTrayEvent(const SDL_Event& ev) {
    uint32_t id = 0;
    switch (ev.type) {
        case SDL_MOUSEMOTION: id = ev.motion.windowID; break;
        case SDL_MOUSEBUTTONDOWN:
        case SDL_MOUSEBUTTONUP: id = ev.button.windowID; break;
        case SDL_MOUSEWHEEL: id = ev.wheel.windowID; break;
        case SDL_WINDOWEVENT: id = ev.window.windowID; break;
        default: return false;
    }
    for (auto& [key, tray] : trays_) {
        if (!tray.window || SDL_GetWindowID(tray.window) != id) continue;
        if (ev.type == SDL_WINDOWEVENT) {
            if (ev.window.event == SDL_WINDOWEVENT_EXPOSED || ev.window.event == SDL_WINDOWEVENT_SIZE_CHANGED)
                PaintTrayIcon(tray);
            return true;
        }
        UINT mouse = WM_MOUSEMOVE;
        if (ev.type != SDL_MOUSEMOTION) {
            const bool down = ev.type == SDL_MOUSEBUTTONDOWN, twice = down && ev.button.clicks >= 2;
            switch (ev.type == SDL_MOUSEWHEEL ? 0 : ev.button.button) {
                case SDL_BUTTON_LEFT:
                    mouse = twice ? WM_LBUTTONDBLCLK : down ? WM_LBUTTONDOWN : WM_LBUTTONUP;
                    break;
                case SDL_BUTTON_RIGHT:
                    mouse = twice ? WM_RBUTTONDBLCLK : down ? WM_RBUTTONDOWN : WM_RBUTTONUP;
                    break;
                default: return true;
            }
        }
        int gx = 0, gy = 0;
        SDL_GetGlobalMouseState(&gx, &gy);
        QueueMouseMove(TPoint{gx, gy});
        PostMessage(key.first, tray.callbackMessage, key.second, static_cast<LPARAM>(mouse));
        return true;
    }
    return false;
}

void SdlBackend::TranslateWindowEvent(const SDL_Event& ev) {
    HWND hwnd = nullptr;
    TopLevel* t = FindBySdlId(ev.window.windowID, &hwnd);
    if (!t) return;
    switch (ev.window.event) {
        case SDL_WINDOWEVENT_CLOSE: QueueCloseRequest(hwnd); break;
        case SDL_WINDOWEVENT_EXPOSED:
            CopyToWindow(*t, TRect{0, 0, t->info.bounds.Width(), t->info.bounds.Height()});
            break;
        case SDL_WINDOWEVENT_FOCUS_GAINED: {
            focusLossPending_ = false;
            const bool wasActive = appActive_;
            appActive_ = true;
            // A window the display gave the keyboard to (a click on its
            // decoration, the task bar) is activated unless it is already.
            // Popups never take activation, and a window under a modal one
            // sends the keys back to our active window (KeepKeyboard).
            if (t->popup || !IsWindowEnabled(hwnd)) break;
            if (!wasActive || GetActiveWindow() != hwnd) {
                QueueAppActivation(hwnd, true);
                activationQueued_ = true;
            }
            break;
        }
        case SDL_WINDOWEVENT_FOCUS_LOST:
            if (!focusLossPending_) focusLostAt_ = Now();
            focusLossPending_ = true;
            break;
        // Minimizing and restoring by the display come as the system commands
        // the window would get from its own buttons; our own requests echo
        // back here and are known by the state last applied.
        case SDL_WINDOWEVENT_MINIMIZED:
            if (!t->info.minimized) QueueSysCommand(hwnd, SC_MINIMIZE);
            break;
        case SDL_WINDOWEVENT_RESTORED:
            if (t->info.minimized) QueueSysCommand(hwnd, SC_RESTORE);
            break;
        case SDL_WINDOWEVENT_MAXIMIZED:
            if (!t->info.maximized) QueueSysCommand(hwnd, SC_MAXIMIZE);
            break;
        case SDL_WINDOWEVENT_MOVED:
        case SDL_WINDOWEVENT_SIZE_CHANGED: FollowDisplayBounds(hwnd, *t); break;
        case SDL_WINDOWEVENT_LEAVE:
            // The pointer went where we get no more motion: one last move
            // there lets the windows see it leave.
            if (!captured_) {
                int gx = 0, gy = 0;
                SDL_GetGlobalMouseState(&gx, &gy);
                QueueMouseMove(TPoint{gx, gy});
            }
            break;
        default: break;
    }
}

// Only decorated windows are moved and sized by the display (its frame);
// the window system is told, and its answer (limits) is applied back.
void SdlBackend::FollowDisplayBounds(HWND hwnd, TopLevel& t) {
    if (!t.info.decorated || t.info.minimized || Now() - t.movedAt < kOwnMoveSettleMs) return;
    int x = 0, y = 0, w = 0, h = 0;
    SDL_GetWindowPosition(t.window, &x, &y);
    SDL_GetWindowSize(t.window, &w, &h);
    TRect now = Bounds(x, y, w, h);
    if (now == t.info.bounds) return;
    t.info.bounds = now;  // already so on the display
    QueueSurfaceMoved(hwnd, now);
}

void SdlBackend::SettleFocus() {
    if (!focusLossPending_) return;
    SDL_Window* focused = SDL_GetKeyboardFocus();
    if (focused && FindBySdlId(SDL_GetWindowID(focused))) {
        focusLossPending_ = false;
        return;
    }
    if (Now() - focusLostAt_ < kFocusLossGraceMs) return;
    focusLossPending_ = false;
    appActive_ = false;
    QueueAppActivation(GetActiveWindow(), false);
    activationQueued_ = true;
}

// The input method shows its candidates beside the caret.
void SdlBackend::FollowCaret() {
    HWND focus = GetFocus();
    TPoint caret;
    if (!focus || !GetCaretPos(caret)) return;
    ClientToScreen(focus, caret);
    TopLevel* t = Find(GetAncestor(focus, GA_ROOT));
    if (!t || !t->window) return;
    TRect r = Bounds(caret.x - t->info.bounds.left, caret.y - t->info.bounds.top, 1, 16);
    if (r == caretRect_) return;
    caretRect_ = r;
    SDL_Rect sr{r.left, r.top, r.Width(), r.Height()};
    SDL_SetTextInputRect(&sr);
}

}  // namespace tarvel
