#pragma once
// The seam between the window system and a display. The window system owns
// the windows, their back buffers and all logic; a backend only shows the
// top-level surfaces, runs the clock, waits, and hands in the user's input.
// Exactly one backend is installed (InitWindowSystem); nothing above this
// folder knows which.

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "platform/gdi/Surface.h"
#include "platform/winsys/WinTypes.h"

namespace tarvel {

constexpr uint32_t INFINITE = 0xFFFFFFFF;

enum class MouseButton { Left, Right, Middle };

// How a top-level window is to be shown.
struct TopLevelInfo {
    TRect bounds;  // screen coordinates
    bool visible = false;
    bool minimized = false;
    bool maximized = false;
    bool topmost = false;
    bool decorated = false;   // the display draws the caption and border itself
    bool noActivate = false;  // menus, drop-downs, hints: never take the keyboard
    bool toolWindow = false;  // no task-bar entry
    bool sizable = false;     // decorated: the display's frame may size it
    uint8_t alpha = 255;      // whole-window opacity, 255 opaque
    bool colorKeyed = false;  // pixels of colour `colorKey` (0x00RRGGBB) show what lies below
    uint32_t colorKey = 0;
    bool perPixelAlpha = false;  // each pixel's alpha (straight) times `alpha` is its opacity
    // With perPixelAlpha: the pixel's alpha is read here (bounds-sized, the
    // alpha byte) rather than from `pixels`, for a window that paints itself.
    std::shared_ptr<const Surface> alphaMask;
    std::string title;
    std::vector<TRect> shape;         // window region in window coordinates; empty = the whole rectangle
    std::shared_ptr<Surface> pixels;  // the back buffer, bounds-sized
    // The window's big icon for the task bar (0xAARRGGBB, alpha meant);
    // null: the display's own.
    std::shared_ptr<const Surface> icon;
};

class DisplayBackend {
public:
    virtual ~DisplayBackend() = default;

    // Milliseconds on the backend's clock (the test clock on the headless one).
    virtual uint32_t Now() = 0;
    // Blocks until input arrives, Wake() is called or `timeoutMs` passed
    // (INFINITE: no time-out). Called on the GUI thread only.
    virtual void WaitForEvents(uint32_t timeoutMs) = 0;
    // Ends a WaitForEvents early; safe from any thread.
    virtual void Wake() = 0;
    // Hands pending input to the Queue* functions below. GUI thread.
    virtual void PumpEvents() = 0;

    virtual TRect ScreenRect() = 0;
    virtual TRect WorkArea() = 0;

    virtual void CreateSurface(HWND window, const TopLevelInfo& info) = 0;
    virtual void UpdateSurface(HWND window, const TopLevelInfo& info) = 0;
    virtual void DestroySurface(HWND window) = 0;
    // Top-level windows from the top of the z-order down.
    virtual void RestackSurfaces(const std::vector<HWND>& topToBottom) = 0;
    // `dirty` (window coordinates) of the back buffer changed.
    virtual void Present(HWND window, const TRect& dirty) = 0;

    virtual void SetCursorShape(int standardCursor) = 0;
    // Keep receiving mouse input while the pointer is outside our windows.
    virtual void SetMouseCapture(bool on) = 0;
    virtual void SetCursorPosition(TPoint screen) = 0;

    virtual std::string ClipboardText() = 0;
    virtual void SetClipboardText(const std::string& text) = 0;
    // Offers the picture on the clipboard to other programs (`dib` a packed
    // DIB, `pixels` the same picture); null withdraws it. A display without
    // other programs keeps it to us.
    virtual void OfferClipboardImage(std::shared_ptr<const std::vector<uint8_t>> dib,
                                     std::shared_ptr<const Surface> pixels) {
        (void)dib;
        (void)pixels;
    }
    // False once another program has taken the clipboard since the offer.
    virtual bool ClipboardImageHeld() { return true; }

    // The notification-area icon `id` of `notify`, showing `icon` (null: an
    // empty square) with the tip `tip`: the user's mouse on it posts
    // `callbackMessage` to `notify` with wParam `id` and lParam the mouse
    // message. Adding an icon that exists changes it. False when the display
    // has no notification area: nothing is shown.
    virtual bool AddTrayIcon(HWND notify, UINT id, UINT callbackMessage, const std::string& tip,
                             std::shared_ptr<const Surface> icon) = 0;
    virtual void RemoveTrayIcon(HWND notify, UINT id) = 0;

    // The whole screen (ScreenRect-sized) as people see it, opaque; null
    // when it cannot be had.
    virtual std::unique_ptr<Surface> ScreenPixels() const = 0;

    // A compositing manager shows each pixel of a per-pixel-alpha window
    // mixed with what lies below it now, and windows at an opacity mixed
    // with it too. Without one a window shows its pixels opaque.
    virtual bool ComposesWindows() { return false; }
};

// One top-level window's pixels at its place on the screen: `pixels` holds
// at least bounds-sized content at its top-left; `shape` (window
// coordinates) may be null or empty for the whole rectangle. The rest is
// how a layered window mixes with what lies below, as in TopLevelInfo.
struct ScreenLayer {
    const Surface* pixels = nullptr;
    TRect bounds;
    const std::vector<TRect>* shape = nullptr;
    uint8_t alpha = 255;
    bool colorKeyed = false;
    uint32_t colorKey = 0;
    bool perPixelAlpha = false;
    const Surface* alphaMask = nullptr;
};
// The straight alpha of the pixel at (x, y) of a per-pixel-alpha window.
inline uint32_t PixelAlpha(const Surface* alphaMask, uint32_t pixel, int x, int y) {
    if (!alphaMask) return pixel >> 24;
    return alphaMask->BoundsRect().Contains(TPoint{x, y}) ? alphaMask->Pixel(x, y) >> 24 : 0;
}
// The layer of a shown window whose pixels are `pixels`.
ScreenLayer LayerOf(const TopLevelInfo& info, const Surface* pixels);
// The screen as people would see it: the desktop colour with the layers
// drawn over it, the bottom one first, each mixed as its settings say with
// the one weight AlphaBlend uses. The result is opaque.
std::unique_ptr<Surface> ComposeScreen(const TRect& screen, const std::vector<ScreenLayer>& bottomFirst);

// Input from the display, queued for the GUI thread in arrival order.
// Points are screen coordinates. Safe from any thread.
void QueueMouseMove(TPoint screen);
void QueueMouseButton(MouseButton button, bool down, TPoint screen);
void QueueMouseWheel(int delta, TPoint screen);
void QueueKey(UINT virtualKey, bool down, UINT scanCode = 0);
// A character from the display's text input that no key produces here.
void QueueChar(char16_t ch);
// The display's input method: the text being composed, with the cursor in it
// (UTF-16 units); empty text ends a composition with nothing entered.
void QueueComposition(const std::u16string& text, int cursor);
// The text composed was entered; the composition ends.
void QueueCompositionResult(const std::u16string& text);
// The user used the display's own decoration of a window: SC_CLOSE,
// SC_MINIMIZE, SC_MAXIMIZE or SC_RESTORE, delivered as WM_SYSCOMMAND.
void QueueSysCommand(HWND window, WPARAM command);
inline void QueueCloseRequest(HWND window) { QueueSysCommand(window, 0xF060); }
// The display moved or sized a window (screen coordinates).
void QueueSurfaceMoved(HWND window, const TRect& bounds);
// The display moved the keyboard to another program (false) or back (true).
void QueueAppActivation(HWND window, bool active);

// The desktop session ends: every top-level and message-only window is asked
// (WM_QUERYENDSESSION; an answer of 0 keeps the session) and then told
// (WM_ENDSESSION, wParam whether it ends).
void QueueSessionEnd();
// The same in two steps, for a session manager that asks first and ends the
// session later; GUI thread only. The windows are asked in the order they
// were made, up to the first that refuses: true when none refused, with the
// ones asked in `asked`. Then the windows are told whether the session ends.
std::vector<HWND> SessionWindows();
bool QueryEndSession(std::vector<HWND>& asked);
void TellEndSession(const std::vector<HWND>& windows, bool ends);

// Installs the backend; the calling thread becomes the GUI thread.
void InitWindowSystem(std::unique_ptr<DisplayBackend> backend);
// Destroys every window and removes the backend.
void ShutdownWindowSystem();
DisplayBackend* CurrentBackend();

}  // namespace tarvel
