#pragma once
// What the common controls tell their parent window: WM_NOTIFY with a
// header naming the control and the event, and WM_COMMAND for buttons.
// A skin or a dialog that subclasses the parent sees these as it would
// from native controls. Also the scroll requests and bars of the views.

#include <optional>

#include "platform/classlib/Controls.h"
#include "platform/classlib/StdCtrlMessages.h"
#include "platform/classlib/WindowScrollBars.h"

namespace tarvel {

constexpr UINT WM_NOTIFY = 0x004E;
// A notification the parent window left to its default handling comes back
// to the control it names as CN_NOTIFY, through the control's window.
constexpr UINT CN_NOTIFY = CN_BASE + WM_NOTIFY;

struct NMHDR {
    HWND hwndFrom = nullptr;
    UINT_PTR idFrom = 0;
    int code = 0;
};

// Notification codes (negative, as WM_NOTIFY carries them).
constexpr int TCN_SELCHANGE = -551;
constexpr int TCN_SELCHANGING = -552;  // a non-zero answer keeps the tab
constexpr int DTN_CLOSEUP = -753;
constexpr int DTN_DROPDOWN = -754;
constexpr int DTN_DATETIMECHANGE = -759;
constexpr int TVN_SELCHANGED = -402;
constexpr int TVN_ITEMEXPANDED = -406;
constexpr int LVN_ITEMCHANGED = -101;
constexpr int LVN_COLUMNCLICK = -108;
constexpr int HDN_ITEMCLICK = -302;
constexpr int HDN_ENDTRACK = -307;
constexpr int CBEN_BEGINEDIT = -804;
constexpr int CBEN_ENDEDIT = -805;
constexpr WORD BN_CLICKED = 0;

// Header sections dragged to another place.
constexpr int HDN_BEGINDRAG = -310;  // a non-zero answer refuses the drag
constexpr int HDN_ENDDRAG = -311;    // a non-zero answer keeps the order

// The parent's window, when the control and its parent both have one.
HWND ParentHandle(TWinControl* control);
// Sends WM_NOTIFY to the control's parent window and answers its result
// (0 when the control or its parent has no window yet).
LRESULT NotifyParent(TWinControl* control, int code);
// Sends WM_COMMAND (code, id) from the control to its parent window.
void CommandParent(TWinControl* control, WORD code);
// Asks `owner` (the parent window when null) for the colours to paint the
// control with: `msg` is a WM_CTLCOLOR... message; the answer is a brush,
// or none. Without such a window the control answers itself (CN_...).
LRESULT AskColors(TWinControl* control, UINT msg, HDC dc, HWND owner = nullptr);
// Sends WM_DRAWITEM for the item in `dis` (whose hwndItem names the control
// that draws it) to `owner`, whose window reflects it back as CN_DRAWITEM;
// without an owner the control gets CN_DRAWITEM at once.
LRESULT SendDrawItem(HWND owner, DRAWITEMSTRUCT& dis);

// The position a scroll request (WM_HSCROLL / WM_VSCROLL with `wParam`)
// asks of a bar now at `info`, `line` a line step; none for the end of a
// scroll. A thumb position comes in 16 bits: the bar's own 32-bit track
// position is taken when it agrees, else the message's, so a request sent
// by another bar (a skin's) works too. Not clamped.
std::optional<int> ScrollRequestPosition(const SCROLLINFO& info, WPARAM wParam, int line);
// The thumb position of such a request, by the same rule.
int ThumbPosition(const SCROLLINFO& info, WPARAM wParam);
// Sets a view's window bar to `range` units with `page` of them in view
// from `pos`; the bar shows only while the range exceeds the page.
void SetViewScrollBar(TWindowScrollBars& bars, int bar, int range, int page, int pos);

}  // namespace tarvel
