// Notifications of the common controls to their parent window.

#include "platform/classlib/ComCtrlMessages.h"

namespace tarvel {

namespace {
HWND ParentHandle(TWinControl* control) {
    if (!control->HandleAllocated() || !control->Parent() || !control->Parent()->HandleAllocated()) return nullptr;
    return control->Parent()->Handle();
}
}  // namespace

LRESULT NotifyParent(TWinControl* control, int code) {
    HWND parent = ParentHandle(control);
    if (!parent) return 0;
    NMHDR header;
    header.hwndFrom = control->Handle();
    header.idFrom = static_cast<UINT_PTR>(GetWindowLongPtr(header.hwndFrom, GWL_ID));
    header.code = code;
    return SendMessage(parent, WM_NOTIFY, header.idFrom, reinterpret_cast<LPARAM>(&header));
}

void CommandParent(TWinControl* control, WORD code) {
    HWND parent = ParentHandle(control);
    if (!parent) return;
    const auto id = static_cast<WORD>(GetWindowLongPtr(control->Handle(), GWL_ID));
    SendMessage(parent, WM_COMMAND, MAKEWPARAM(id, code), reinterpret_cast<LPARAM>(control->Handle()));
}

}  // namespace tarvel
