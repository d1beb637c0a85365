#pragma once
// Multiple-document windows: a client window ("MDICLIENT") that holds child
// windows behaving like top-level ones - activated, maximized within the
// client, restored, minimized to its bottom, tiled and cascaded. A child is
// made with WS_EX_MDICHILD inside the client and leaves what it does not
// handle to DefMDIChildProc.

#include <vector>

#include "platform/winsys/WinTypes.h"

namespace tarvel {

inline constexpr char kMdiClientClass[] = "MDICLIENT";

// The client's messages.
constexpr UINT WM_MDIDESTROY = 0x0221;   // wParam: the child
constexpr UINT WM_MDIACTIVATE = 0x0222;  // to the client: wParam the child; to a child: wParam the one
                                         // losing, lParam the one gaining activation
constexpr UINT WM_MDIRESTORE = 0x0223;   // wParam: the child
constexpr UINT WM_MDINEXT = 0x0224;      // wParam: the child (0: the active one); lParam non-zero: previous
constexpr UINT WM_MDIMAXIMIZE = 0x0225;  // wParam: the child
constexpr UINT WM_MDITILE = 0x0226;      // wParam: MDITILE_VERTICAL or MDITILE_HORIZONTAL
constexpr UINT WM_MDICASCADE = 0x0227;
constexpr UINT WM_MDIGETACTIVE = 0x0229;  // lParam: bool* told whether it is maximized, or null
constexpr WPARAM MDITILE_VERTICAL = 0x0;
constexpr WPARAM MDITILE_HORIZONTAL = 0x1;

// Default processing of an MDI child's messages.
LRESULT DefMDIChildProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);
// The MDI children of a client, top of the z-order first.
std::vector<HWND> MdiChildren(HWND client);
// The size a minimized child takes at the client's bottom.
TSize MdiIconSize();

// The client's scroll bars (WS_VSCROLL, WS_HSCROLL) show while children lie
// partly outside its client area and no child is maximized. The range spans
// the children and the client area in client coordinates, so the position
// is always 0: scrolling (WM_VSCROLL / WM_HSCROLL with the SB_* requests, a
// thumb's place in the high word as a signed number) moves the children.
struct MdiScrollBar {
    bool visible = false;
    int min = 0, max = 0, page = 0, pos = 0;
};
MdiScrollBar MdiClientScrollBar(HWND client, int bar);

}  // namespace tarvel
