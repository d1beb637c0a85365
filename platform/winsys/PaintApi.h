#pragma once
// The paint cycle: update regions, WM_PAINT, device contexts of windows, and
// window regions. Windows draw into their top-level window's back buffer.

#include "platform/gdi/Gdi.h"
#include "platform/winsys/WinTypes.h"

namespace tarvel {

// DCs travel in wParam (WM_PAINT, WM_ERASEBKGND) as their handle value.
inline WPARAM DcToWParam(HDC dc) { return static_cast<WPARAM>(dc.Value()); }
inline HDC DcFromWParam(WPARAM w) { return HDC(static_cast<uint64_t>(w)); }

struct PAINTSTRUCT {
    HDC hdc;
    bool fErase = false;  // the background still needs erasing (WM_ERASEBKGND answered 0)
    TRect rcPaint;        // client coordinates
};

// GetDCEx flags.
constexpr DWORD DCX_WINDOW = 0x00000001;
constexpr DWORD DCX_CACHE = 0x00000002;
constexpr DWORD DCX_CLIPCHILDREN = 0x00000008;
constexpr DWORD DCX_CLIPSIBLINGS = 0x00000010;
constexpr DWORD DCX_PARENTCLIP = 0x00000020;
constexpr DWORD DCX_EXCLUDERGN = 0x00000040;
constexpr DWORD DCX_INTERSECTRGN = 0x00000080;
constexpr DWORD DCX_LOCKWINDOWUPDATE = 0x00000400;  // accepted; there is no locked window to draw past
constexpr DWORD DCX_USESTYLE = 0x00010000;

// RedrawWindow flags.
constexpr UINT RDW_INVALIDATE = 0x0001;
constexpr UINT RDW_INTERNALPAINT = 0x0002;
constexpr UINT RDW_ERASE = 0x0004;
constexpr UINT RDW_VALIDATE = 0x0008;
constexpr UINT RDW_NOERASE = 0x0020;
constexpr UINT RDW_NOCHILDREN = 0x0040;
constexpr UINT RDW_ALLCHILDREN = 0x0080;
constexpr UINT RDW_UPDATENOW = 0x0100;
constexpr UINT RDW_ERASENOW = 0x0200;
constexpr UINT RDW_FRAME = 0x0400;
constexpr UINT RDW_NOFRAME = 0x0800;

// WM_PRINT flags (lParam; wParam is the DC). The DC's (0, 0) is the
// window's top-left; the window paints as it would on the screen, whether
// shown or not, and leaves its update region as it was: the frame through
// WM_NCPAINT, the background through WM_ERASEBKGND, the client through
// WM_PRINTCLIENT (whose default sends WM_PAINT with the DC), each drawing
// on the DCs it gets from GetDC, GetWindowDC and BeginPaint. Child windows
// follow at their places, clipped to the client area, the bottom one first.
constexpr LPARAM PRF_CHECKVISIBLE = 0x00000001;  // nothing when the window is not visible
constexpr LPARAM PRF_NONCLIENT = 0x00000002;
constexpr LPARAM PRF_CLIENT = 0x00000004;
constexpr LPARAM PRF_ERASEBKGND = 0x00000008;
constexpr LPARAM PRF_CHILDREN = 0x00000010;

// Rectangles are client coordinates; null means the whole client area.
// Invalidating a window that does not clip its children invalidates the
// children below the rectangle too, as they are painted over.
bool InvalidateRect(HWND hwnd, const TRect* rect, bool erase);
bool InvalidateRgn(HWND hwnd, HRGN region, bool erase);
bool ValidateRect(HWND hwnd, const TRect* rect);
bool ValidateRgn(HWND hwnd, HRGN region);
bool GetUpdateRect(HWND hwnd, TRect* rect, bool erase);
int GetUpdateRgn(HWND hwnd, HRGN region, bool erase);
bool RedrawWindow(HWND hwnd, const TRect* rect, HRGN region, UINT flags);
// Paints the window now (WM_NCPAINT, WM_PAINT) when it has anything to paint.
bool UpdateWindow(HWND hwnd);

HDC BeginPaint(HWND hwnd, PAINTSTRUCT* ps);
bool EndPaint(HWND hwnd, const PAINTSTRUCT* ps);
// GetDC(0) is the screen: a DC over a snapshot of the screen as composed
// at that moment (our windows over the desktop, layered ones mixed in),
// origin at the screen's (0, 0). Read it with BitBlt; what is drawn on it
// is not shown. Take a new one to read the screen again.
HDC GetDC(HWND hwnd);        // client area, origin at its top-left
HDC GetWindowDC(HWND hwnd);  // whole window, origin at its top-left
// The window's WS_CLIPCHILDREN and WS_CLIPSIBLINGS clip the DC only with
// DCX_USESTYLE (GetDC, GetWindowDC and BeginPaint give it); without it
// only DCX_CLIPCHILDREN and DCX_CLIPSIBLINGS do, so a DC asked for without
// them draws over the child windows (tracking lines of splitters and
// headers).
// `clip` (DC coordinates: the window's with DCX_WINDOW, else the client's)
// narrows the DC with DCX_INTERSECTRGN or is cut out of it with
// DCX_EXCLUDERGN. A window DC's visible part (its area less clipped-out
// children and siblings, within its window region) is its system region:
// the caller's SelectClipRgn, even with null, cannot reach beyond it. A DC
// that is kept follows its window's moves, sizes and frame changes.
HDC GetDCEx(HWND hwnd, HRGN clip, DWORD flags);
int ReleaseDC(HWND hwnd, HDC dc);

// The window owns the region afterwards; null removes it. Window coordinates.
int SetWindowRgn(HWND hwnd, HRGN region, bool redraw);
// Copies the window region into `region`: SIMPLEREGION/COMPLEXREGION, or
// RGN_ERROR when the window has none.
int GetWindowRgn(HWND hwnd, HRGN region);

// The back buffer of a top-level window (null for others), window-sized or larger.
std::shared_ptr<Surface> GetWindowSurface(HWND hwnd);

// UpdateLayeredWindow flags.
constexpr DWORD ULW_COLORKEY = 0x00000001;
constexpr DWORD ULW_ALPHA = 0x00000002;
constexpr DWORD ULW_OPAQUE = 0x00000004;

// Gives a WS_EX_LAYERED top-level window its pixels from outside: it is
// moved to `position` (screen) and sized to `size` where given, and shows
// the `size` pixels of `source` from `sourceOrigin` (default (0, 0)),
// alpha bytes kept, until the next call; it is not painted meanwhile. How it
// mixes with what lies below: ULW_ALPHA with `blend` as AlphaBlend over the
// screen (SourceConstantAlpha, times each pixel's own straight alpha with
// AC_SRC_ALPHA), ULW_COLORKEY with `key` (a COLORREF) see-through, or
// ULW_OPAQUE. `screenDc` is not needed. False for a window without the
// style, a child window, or a bad blend or size.
bool UpdateLayeredWindow(HWND hwnd, HDC screenDc, const TPoint* position, const TSize* size, HDC source,
                         const TPoint* sourceOrigin, COLORREF key, const BLENDFUNCTION* blend, DWORD flags);

}  // namespace tarvel
