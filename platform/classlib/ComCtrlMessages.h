#pragma once
// What the common controls tell their parent window: WM_NOTIFY with a
// header naming the control and the event, and WM_COMMAND for buttons.
// A skin or a dialog that subclasses the parent sees these as it would
// from native controls.

#include "platform/classlib/Controls.h"

namespace tarvel {

constexpr UINT WM_NOTIFY = 0x004E;

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
constexpr WORD BN_CLICKED = 0;

// Sends WM_NOTIFY to the control's parent window and answers its result
// (0 when the control or its parent has no window yet).
LRESULT NotifyParent(TWinControl* control, int code);
// Sends WM_COMMAND (code, id) from the control to its parent window.
void CommandParent(TWinControl* control, WORD code);

}  // namespace tarvel
