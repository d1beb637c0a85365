#pragma once
// Windows, window classes, procedures and geometry. Every function here is
// for the GUI thread; PostMessage (MessageApi.h) is the one door for others.

#include <memory>
#include <string>
#include <vector>

#include "platform/gdi/Surface.h"
#include "platform/winsys/WinConstants.h"
#include "platform/winsys/WinMessages.h"
#include "platform/winsys/WinTypes.h"

namespace tarvel {

constexpr int CW_USEDEFAULT = static_cast<int>(0x80000000);

// Window procedures. A procedure made here lives until FreeWindowProc and, in
// any case, as long as a window or class uses it.
WNDPROC MakeWindowProc(WindowProcFn fn);
void FreeWindowProc(WNDPROC proc);
// Calls `proc`; a procedure that no longer exists falls back to DefWindowProc.
LRESULT CallWindowProc(WNDPROC proc, HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);
LRESULT DefWindowProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);

// Classes: names compare without regard to ASCII case. Registering a name
// that exists fails.
bool RegisterClass(const WNDCLASS& wc);
bool UnregisterClass(const std::string& className);
bool GetClassInfo(const std::string& className, WNDCLASS& out);
std::string GetClassName(HWND hwnd);

// `parent` of a window without WS_CHILD is its owner; HWND_MESSAGE makes a
// hidden message-only window.
HWND CreateWindowEx(DWORD exStyle, const std::string& className, const std::string& windowName, DWORD style,
                    int x, int y, int width, int height, HWND parent, intptr_t id = 0, void* param = nullptr);
bool DestroyWindow(HWND hwnd);
// A hidden message-only window whose procedure is `fn` (any callable); it
// keeps the procedure for its life.
HWND AllocateMessageWindow(WindowProcFn fn);

bool IsWindow(HWND hwnd);
bool IsChild(HWND parent, HWND hwnd);
bool IsWindowVisible(HWND hwnd);  // the window and all its ancestors
bool IsWindowEnabled(HWND hwnd);
bool EnableWindow(HWND hwnd, bool enable);  // answers whether it was disabled before
bool IsIconic(HWND hwnd);
bool IsZoomed(HWND hwnd);

HWND GetDesktopWindow();
HWND GetParent(HWND hwnd);  // a child's parent, a popup's owner
HWND SetParent(HWND hwnd, HWND newParent);
HWND GetAncestor(HWND hwnd, UINT flags);
HWND GetWindow(HWND hwnd, UINT cmd);
HWND GetTopWindow(HWND parent);
std::vector<HWND> GetChildWindows(HWND parent);  // direct children, top of the z-order first
// The next direct child of `parent` (the desktop when null) after `childAfter`
// (from the top when null) whose class and text match; an empty name or text
// matches any. Classes compare without regard to ASCII case, texts exactly.
HWND FindWindowEx(HWND parent, HWND childAfter, const std::string& className,
                  const std::string& windowName = {});

LONG_PTR GetWindowLongPtr(HWND hwnd, int index);
LONG_PTR SetWindowLongPtr(HWND hwnd, int index, LONG_PTR value);
inline LONG_PTR GetWindowLong(HWND hwnd, int index) { return GetWindowLongPtr(hwnd, index); }
inline LONG_PTR SetWindowLong(HWND hwnd, int index, LONG_PTR value) {
    return SetWindowLongPtr(hwnd, index, value);
}
WNDPROC GetWindowProc(HWND hwnd);
// Installs `proc` and answers the procedure it replaced (subclassing).
WNDPROC SetWindowProc(HWND hwnd, WNDPROC proc);

bool SetWindowText(HWND hwnd, const std::string& text);
std::string GetWindowText(HWND hwnd);
int GetWindowTextLength(HWND hwnd);

bool SetProp(HWND hwnd, const std::string& name, intptr_t value);
intptr_t GetProp(HWND hwnd, const std::string& name);
intptr_t RemoveProp(HWND hwnd, const std::string& name);

// Geometry. Window rectangles are in screen coordinates; client rectangles
// start at (0, 0).
bool GetWindowRect(HWND hwnd, TRect& out);
bool GetClientRect(HWND hwnd, TRect& out);
TRect WindowRect(HWND hwnd);
TRect ClientRect(HWND hwnd);
bool ClientToScreen(HWND hwnd, TPoint& p);
bool ScreenToClient(HWND hwnd, TPoint& p);
// Maps points from the client coordinates of `from` to those of `to` (null:
// the screen); answers the offset as MAKELPARAM(dx, dy).
int MapWindowPoints(HWND from, HWND to, TPoint* points, int count);
int MapWindowPoints(HWND from, HWND to, TRect& rect);

bool SetWindowPos(HWND hwnd, HWND insertAfter, int x, int y, int cx, int cy, UINT flags);
bool MoveWindow(HWND hwnd, int x, int y, int width, int height, bool repaint);
bool ShowWindow(HWND hwnd, int cmd);
bool BringWindowToTop(HWND hwnd);
// Shape in window coordinates; empty removes it. Painting and hit testing
// keep to the shape.
bool SetWindowShape(HWND hwnd, const std::vector<TRect>& shape, bool redraw);
bool GetWindowShape(HWND hwnd, std::vector<TRect>& shape);

constexpr DWORD LWA_COLORKEY = 0x1;
constexpr DWORD LWA_ALPHA = 0x2;
// How a WS_EX_LAYERED top-level window mixes with what lies below: with
// LWA_ALPHA the whole window at opacity `alpha` (255 opaque), with
// LWA_COLORKEY its pixels of colour `colorKey` (a COLORREF) not at all. The
// window is painted as ever. False for a window without that style. It
// replaces what UpdateLayeredWindow gave, and the other way round; Get
// answers false while the window shows UpdateLayeredWindow's pixels.
bool SetLayeredWindowAttributes(HWND hwnd, uint32_t colorKey, uint8_t alpha, DWORD flags);
bool GetLayeredWindowAttributes(HWND hwnd, uint32_t* colorKey, uint8_t* alpha, DWORD* flags);
// A WS_EX_LAYERED top-level window that paints itself shows each pixel
// with the opacity in the alpha byte of `mask` (window-sized; outside it
// nothing shows); null shows it opaque again. False for a window without
// that style or one showing UpdateLayeredWindow's pixels.
bool SetLayeredWindowAlphaMask(HWND hwnd, std::shared_ptr<const Surface> mask);
// The display mixes layered windows with what lies below them as it
// changes (a compositing manager runs); false: only a snapshot taken
// beforehand can show through them.
bool DesktopComposited();

HWND WindowFromPoint(TPoint screen);
HWND ChildWindowFromPoint(HWND parent, TPoint client);

// Activation.
HWND GetActiveWindow();
HWND SetActiveWindow(HWND hwnd);
HWND GetForegroundWindow();
bool SetForegroundWindow(HWND hwnd);

}  // namespace tarvel
