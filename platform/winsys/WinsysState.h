#pragma once
// The window system's own state: the window tree, the queue, input and
// timers. Internal to this folder.

#include <array>
#include <condition_variable>
#include <deque>
#include <map>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <unordered_map>
#include <vector>

#include "platform/gdi/Gdi.h"
#include "platform/gdi/Surface.h"
#include "platform/winsys/Backend.h"
#include "platform/winsys/RectList.h"
#include "platform/winsys/WinConstants.h"
#include "platform/winsys/WinMessages.h"
#include "platform/winsys/WinTypes.h"

namespace tarvel {

struct WindowProcedure : std::enable_shared_from_this<WindowProcedure> {
    WindowProcFn fn;
    ~WindowProcedure();
};

// The shared owner of a live procedure handle, or null.
std::shared_ptr<WindowProcedure> ShareWindowProc(WNDPROC proc);

struct WindowClass {
    WNDCLASS wc;
    std::shared_ptr<WindowProcedure> proc;
};

struct Window {
    HWND hwnd = nullptr;
    std::shared_ptr<WindowClass> cls;
    std::shared_ptr<WindowProcedure> proc;
    DWORD style = 0;
    DWORD exStyle = 0;
    HWND parent = nullptr;  // the desktop for top-level windows, null for message-only ones
    HWND owner = nullptr;
    std::vector<HWND> children;  // top of the z-order first
    TRect rect;                  // in the parent's client coordinates
    TRect client;                // relative to the window's top-left
    std::string text;
    LONG_PTR userData = 0;
    LONG_PTR id = 0;
    std::map<std::string, intptr_t> props;
    LPARAM icons[2] = {0, 0};  // small and big icon handles (HICON values), kept for their owner
    std::shared_ptr<const Surface> iconPixels;  // the display's copy of the icon

    RectList update;        // client coordinates
    bool erase = false;     // WM_ERASEBKGND due at the next BeginPaint
    bool ncDirty = false;   // WM_NCPAINT due
    bool ncActive = false;  // the caption shows active: the last WM_NCACTIVATE said so
    bool validatedInPaint = false;

    std::vector<TRect> shape;  // window coordinates; empty: the rectangle
    TRect restoreRect;         // bounds before maximizing or minimizing
    bool restoreToMaximized = false;

    bool messageOnly = false;
    bool destroying = false;
    bool defaultFrame = false;     // DefWindowProc answered the last WM_NCCALCSIZE
    bool shownNoActivate = false;  // last shown with SWP_NOACTIVATE
    uint8_t alpha = 255;           // layered: whole-window opacity
    bool layeredAlpha = false;     // LWA_ALPHA was given
    bool layeredKey = false;       // LWA_COLORKEY was given: pixels of colorKey are see-through
    uint32_t colorKey = 0;         // COLORREF
    bool layeredUpdate = false;    // the pixels come from UpdateLayeredWindow, never from painting
    bool perPixelAlpha = false;    // ... and each pixel's alpha is its opacity
    // A layered window that paints itself: each pixel's opacity (alpha byte).
    std::shared_ptr<const Surface> alphaMask;
    bool redrawOff = false;  // WM_SETREDRAW(false): no painting reaches the screen

    std::shared_ptr<Surface> buffer;  // back buffer of a top-level window
    TSize bufferUsed;                 // the most of the buffer the window ever covered; the rest is zeros
    TRect presentDirty;               // window coordinates, shown at the next idle
};

// One raw input event; it becomes a message when it is taken from the queue.
struct InputEvent {
    enum Kind {
        MouseMove,
        MouseDown,
        MouseUp,
        Wheel,
        KeyDown,
        KeyUp,
        Char,
        SysCommand,
        Moved,
        AppActivation,
        ImeStart,
        ImeComposition,  // value: the GCS_ flags
        ImeEnd,
        SessionEnd
    } kind;
    TPoint pt;
    MouseButton button = MouseButton::Left;
    int value = 0;   // wheel delta, virtual key, character, command, activation flag
    TRect bounds{};  // Moved
    UINT scanCode = 0;
    HWND hwnd = nullptr;
    DWORD time = 0;
    std::u16string text{};  // ImeComposition: the composition or the result
    int cursor = 0;         // ImeComposition: the cursor in the composition
};

struct TrayIconState {
    UINT callbackMessage = 0;
    std::string tip;
    std::shared_ptr<const Surface> icon;  // a copy, as the icon was when given
};

struct Timer {
    HWND hwnd = nullptr;
    UINT_PTR id = 0;
    UINT elapse = 0;
    uint32_t due = 0;
};

struct ClickMemory {
    HWND hwnd = nullptr;
    UINT downMessage = 0;
    DWORD time = 0;
    TPoint pt;
    bool armed = false;
};

struct CaretState {
    HWND hwnd = nullptr;
    int width = 0, height = 0;
    TPoint pos;
    int hideCount = 1;
    bool drawn = false;  // inverted on the screen now
    uint32_t blinkDue = 0;
};

struct WinsysState {
    std::unique_ptr<DisplayBackend> backend;
    std::thread::id guiThread;

    std::unordered_map<HWND, std::unique_ptr<Window>> windows;
    uintptr_t nextHandle = 0x10000;
    HWND desktop = nullptr;
    std::map<std::string, std::shared_ptr<WindowClass>> classes;  // upper-case names

    // Shared with posting threads: everything PostMessage and the Queue
    // functions touch is written under queueMutex.
    std::mutex queueMutex;
    std::deque<MSG> posted;
    std::deque<InputEvent> input;
    bool quitPosted = false;
    int quitCode = 0;

    std::map<std::pair<HWND, UINT>, TrayIconState> trayIcons;

    std::vector<Timer> timers;
    UINT_PTR nextThreadTimerId = 1;

    HWND active = nullptr;
    HWND focus = nullptr;
    HWND capture = nullptr;
    std::array<uint8_t, 256> keyState{};       // as of the last message taken
    std::array<uint8_t, 256> asyncKeyState{};  // as of the last input queued
    TPoint asyncCursorPos;                     // as of the last input queued
    // As of the last mouse message taken. Written by the GUI thread under
    // queueMutex, as PostMessage reads it from any thread; the GUI thread
    // reads it without.
    TPoint cursorPos;
    HCURSOR cursor = nullptr;
    ClickMemory lastClick;
    HWND trackHwnd = nullptr;
    DWORD trackFlags = 0;
    HWND lastMouseHwnd = nullptr;
    int lastMouseHit = HTNOWHERE;
    CaretState caret;
    bool altAlone = false;  // Alt is down and no other key came since

    // The input method: whether a composition was queued as started (kept
    // under queueMutex), and the composition as of the last message taken.
    bool imeQueuedComposing = false;
    HWND imeWindow = nullptr;
    std::u16string imeComposition, imeResult;
    int imeCursor = 0;

    DWORD lastMessageTime = 0;
    TPoint lastMessagePos;

    // The back buffer of the last top-level window destroyed, for the next
    // one of the same buffer size (menus and hints come and go).
    std::shared_ptr<Surface> spareBuffer;
    TSize spareBufferUsed;
};

WinsysState& State();
bool HasState();
bool OnGuiThread();

Window* FindWindow(HWND hwnd);
inline bool IsTopLevel(const Window* w) { return w->parent != nullptr && w->parent == State().desktop; }
Window* TopLevelOf(Window* w);

// Geometry helpers (WindowPos.cpp).
TPoint WindowOriginOnScreen(const Window* w);
TPoint ClientOriginOnScreen(const Window* w);
TRect WindowRectOnScreen(const Window* w);
bool ShapeContains(const Window* w, TPoint windowPoint);
void RecalcClient(Window* w, WINDOWPOS* pos);
void SyncTopLevel(Window* w);
void RemoveTrayIconsOf(HWND hwnd);  // Tray.cpp
// Asks every top-level and message-only window whether the session may end,
// then tells them whether it does.
void EndDesktopSession();  // SessionEnd.cpp
// Held while the window system starts or stops, by threads that must not
// queue into one going away.
std::mutex& WindowSystemLifeLock();                            // SessionEnd.cpp
std::shared_ptr<const Surface> IconPixelsOf(const Window* w);  // WindowIcon.cpp
std::shared_ptr<const Surface> IconPixels(uint64_t icon);      // WindowIcon.cpp
bool NeverActivates(const Window* w);
void RestackTopLevels();
void ZOrderInsert(Window* parent, HWND hwnd, HWND insertAfter);
void ApplyShowWindow(HWND hwnd, int cmd);
// Defaults filled in, then WM_GETMINMAXINFO asked.
MINMAXINFO QueryMinMaxInfo(HWND hwnd);

// Painting helpers (Paint.cpp).
void InvalidateWindowArea(Window* w, const TRect& windowArea, bool erase);
void InvalidateWhole(Window* w, bool erase);
void InvalidateParentArea(Window* w, const TRect& rectInParent);
bool NeedsPaint(const Window* w);
// The window region's rectangles moved by `offset`; empty without a region.
RectList ShapeArea(const Window* w, TPoint offset);
// Painting of the window is held back: redraw is off for it or an ancestor,
// or its top-level window shows pixels given by UpdateLayeredWindow.
bool PaintingSuppressed(const Window* w);
// The window's layered settings as the display is to show them.
void FillLayeredInfo(const Window* w, TopLevelInfo& info);
// WM_SETREDRAW: turned on again, the window and its children paint once.
void SetRedraw(Window* w, bool on);
// While a window is printed, its DCs (and BeginPaint's) draw into `target`,
// a surface of the window's size in window coordinates; null ends it.
void RedirectWindowDcs(HWND hwnd, std::shared_ptr<Surface> target);
// WM_PRINT's default (Print.cpp).
void DefaultPrint(HWND hwnd, HDC dc, LPARAM flags);
// A window that stops being layered forgets its layered settings and is
// painted again.
void ForgetLayering(Window* w);
HWND FindWindowToPaint(HWND filter);
void PaintWindowNow(Window* w);
void PresentDirtyWindows();
void ResizeBackBuffer(Window* w);
// A destroyed top-level window leaves its back buffer for the next one.
void LeaveBackBuffer(Window* w);
// All of a top-level window is shown again at the next idle.
void PresentWhole(Window* w);
void ForgetWindowDcs(HWND hwnd);
// DCs that callers keep follow their windows to where they now are.
void MoveWindowDcs();

// Input helpers (Input.cpp).
bool RouteInput(const InputEvent& ev, MSG& out, bool remove);
bool InputMayMatch(const InputEvent& ev, UINT filterMin, UINT filterMax);
void ForgetWindowInput(HWND hwnd);
void SendActivation(HWND newActive, WORD how);
HWND ActivateTopLevel(HWND hwnd, WORD how);
void ActivateNextAfter(HWND leaving);
// The caret blinks on the clock; painting its window hides it meanwhile.
bool BlinkCaretIfDue();
uint32_t MillisToCaretBlink();  // INFINITE while it does not blink
void HideCaretForPaint(HWND hwnd);
void ShowCaretAfterPaint(HWND hwnd);

// Message helpers (MessageQueue.cpp).
bool MessageInFilter(UINT msg, UINT filterMin, UINT filterMax);
bool WindowInFilter(HWND msgHwnd, HWND filter);
void DropMessagesFor(HWND hwnd);
void KillWindowTimers(HWND hwnd);
bool TakeDueTimer(HWND filter, bool remove, MSG& out);
uint32_t MillisToNextTimer();  // INFINITE without timers

// The MDI client's window class (Mdi.cpp).
void RegisterMdiClientClass();
// A press inside an MDI child activates it within its client.
void ActivateMdiChildAt(HWND target);
// Whatever its procedure does, its client activates another child.
void MdiChildGoing(HWND child);
// The active children of the MDI clients in a top-level window show its
// activation in their captions.
void MdiFrameActivated(HWND top, bool active);

// Default processing (DefWindowProc.cpp).
void DefaultNcCalcSize(Window* w, NCCALCSIZE_PARAMS* params);
void RunMoveSizeLoop(HWND hwnd, WPARAM command, TPoint screen);

}  // namespace tarvel

namespace tarvel {
// Brings a top-level window and the windows it owns to the top (WindowPos.cpp).
void RaiseToTop(Window* w);
}  // namespace tarvel
