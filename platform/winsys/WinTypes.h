#pragma once
// Scalar types, handles and the records that travel with window messages.
// Rectangles are the drawing layer's half-open TRect; points are TPoint.

#include <cstdint>
#include <functional>
#include <string>

#include "platform/gdi/Geometry.h"
#include "platform/gdi/SysColors.h"

namespace tarvel {

using UINT = uint32_t;
using DWORD = uint32_t;
using WORD = uint16_t;
using WPARAM = uintptr_t;
using LPARAM = intptr_t;
using LRESULT = intptr_t;
using LONG_PTR = intptr_t;
using UINT_PTR = uintptr_t;

// A window handle names a window; it is never dereferenced. Handles are not
// reused, so a stale one simply stops being a window.
struct HWND__;
using HWND = HWND__*;

// Handle values with a meaning of their own (SetWindowPos, CreateWindowEx).
inline HWND SpecialHwnd(intptr_t value) { return reinterpret_cast<HWND>(value); }
inline const HWND HWND_TOP = nullptr;
inline const HWND HWND_BOTTOM = SpecialHwnd(1);
inline const HWND HWND_TOPMOST = SpecialHwnd(-1);
inline const HWND HWND_NOTOPMOST = SpecialHwnd(-2);
inline const HWND HWND_MESSAGE = SpecialHwnd(-3);

struct HMONITOR__;
using HMONITOR = HMONITOR__*;

// A cursor handle carries the number of a standard shape (IDC_ARROW ...).
struct HCURSOR__;
using HCURSOR = HCURSOR__*;

// A window procedure is an object made from any callable; its handle can be
// stored, compared and restored like a procedure address (subclassing).
using WindowProcFn = std::function<LRESULT(HWND, UINT, WPARAM, LPARAM)>;
struct WindowProcedure;
using WNDPROC = WindowProcedure*;

constexpr WORD LOWORD(uintptr_t v) { return static_cast<WORD>(v & 0xFFFF); }
constexpr WORD HIWORD(uintptr_t v) { return static_cast<WORD>((v >> 16) & 0xFFFF); }
constexpr int GET_X_LPARAM(LPARAM l) { return static_cast<int16_t>(l & 0xFFFF); }
constexpr int GET_Y_LPARAM(LPARAM l) { return static_cast<int16_t>((l >> 16) & 0xFFFF); }
constexpr int GET_WHEEL_DELTA_WPARAM(WPARAM w) { return static_cast<int16_t>((w >> 16) & 0xFFFF); }
constexpr LPARAM MAKELPARAM(int lo, int hi) {
    return static_cast<LPARAM>(
        static_cast<int32_t>((static_cast<uint32_t>(hi) << 16) | (static_cast<uint32_t>(lo) & 0xFFFF)));
}
constexpr WPARAM MAKEWPARAM(int lo, int hi) {
    return static_cast<WPARAM>(((static_cast<uint32_t>(hi) & 0xFFFF) << 16) |
                               (static_cast<uint32_t>(lo) & 0xFFFF));
}
inline TPoint PointFromLParam(LPARAM l) { return TPoint{GET_X_LPARAM(l), GET_Y_LPARAM(l)}; }
inline LPARAM PointToLParam(TPoint p) { return MAKELPARAM(p.x, p.y); }

struct MSG {
    HWND hwnd = nullptr;
    UINT message = 0;
    WPARAM wParam = 0;
    LPARAM lParam = 0;
    DWORD time = 0;
    TPoint pt;  // cursor position in screen coordinates when the message was queued
};

struct WINDOWPOS {
    HWND hwnd = nullptr;
    HWND hwndInsertAfter = nullptr;
    int x = 0, y = 0, cx = 0, cy = 0;
    UINT flags = 0;
};

// rgrc[0]: the proposed window rectangle in, the client rectangle out (both in
// the parent's client coordinates, the screen's for top-level windows);
// rgrc[1]: the old window rectangle; rgrc[2]: the old client rectangle.
struct NCCALCSIZE_PARAMS {
    TRect rgrc[3];
    WINDOWPOS* lppos = nullptr;
};

struct MINMAXINFO {
    TPoint ptReserved;
    TPoint ptMaxSize;
    TPoint ptMaxPosition;
    TPoint ptMinTrackSize;
    TPoint ptMaxTrackSize;
};

struct CREATESTRUCT {
    void* lpCreateParams = nullptr;
    HWND hwndParent = nullptr;
    int cy = 0, cx = 0, y = 0, x = 0;
    DWORD style = 0;
    std::string lpszName;
    std::string lpszClass;
    DWORD dwExStyle = 0;
};

struct TRACKMOUSEEVENT {
    DWORD dwFlags = 0;
    HWND hwndTrack = nullptr;
    DWORD dwHoverTime = 0;
};

struct MONITORINFO {
    DWORD cbSize = 40;
    TRect rcMonitor;
    TRect rcWork;
    DWORD dwFlags = 0;  // MONITORINFOF_PRIMARY
};

// Class styles, procedure and default look of windows of one kind.
struct WNDCLASS {
    UINT style = 0;
    WNDPROC lpfnWndProc = nullptr;
    HCURSOR hCursor = nullptr;  // shown over the client area; none leaves the cursor as it is
    int backgroundColor = -1;   // system colour index filling the background, -1 for none
    std::string lpszClassName;
};

}  // namespace tarvel
