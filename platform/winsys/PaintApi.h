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
HDC GetDC(HWND hwnd);        // client area, origin at its top-left
HDC GetWindowDC(HWND hwnd);  // whole window, origin at its top-left
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

}  // namespace tarvel
