// Notifications of the common controls to their parent window.

#include "platform/classlib/ComCtrlMessages.h"

#include <algorithm>

namespace tarvel {

HWND ParentHandle(TWinControl* control) {
    if (!control->HandleAllocated() || !control->Parent() || !control->Parent()->HandleAllocated())
        return nullptr;
    return control->Parent()->Handle();
}

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

LRESULT AskColors(TWinControl* control, UINT msg, HDC dc, HWND owner) {
    if (!control->HandleAllocated()) return 0;
    if (!owner) owner = ParentHandle(control);
    const LPARAM self = reinterpret_cast<LPARAM>(control->Handle());
    if (!owner) return SendMessage(control->Handle(), CN_BASE + msg, DcToWParam(dc), self);
    return SendMessage(owner, msg, DcToWParam(dc), self);
}

LRESULT SendDrawItem(HWND owner, DRAWITEMSTRUCT& dis) {
    const LPARAM item = reinterpret_cast<LPARAM>(&dis);
    if (!owner) return SendMessage(dis.hwndItem, CN_DRAWITEM, 0, item);
    return SendMessage(owner, WM_DRAWITEM, 0, item);
}

int ThumbPosition(const SCROLLINFO& info, WPARAM wParam) {
    const int thumb = HIWORD(wParam);
    return (info.nTrackPos & 0xFFFF) == thumb ? info.nTrackPos : thumb;
}

std::optional<int> ScrollRequestPosition(const SCROLLINFO& info, WPARAM wParam, int line) {
    const int page = std::max(1, static_cast<int>(info.nPage));
    switch (LOWORD(wParam)) {
        case SB_LINEUP: return info.nPos - line;
        case SB_LINEDOWN: return info.nPos + line;
        case SB_PAGEUP: return info.nPos - page;
        case SB_PAGEDOWN: return info.nPos + page;
        case SB_TOP: return info.nMin;
        case SB_BOTTOM: return info.nMax;
        case SB_THUMBTRACK:
        case SB_THUMBPOSITION: return ThumbPosition(info, wParam);
        default: return std::nullopt;
    }
}

void SetViewScrollBar(TWindowScrollBars& bars, int bar, int range, int page, int pos) {
    SCROLLINFO info;
    info.fMask = SIF_RANGE | SIF_PAGE | SIF_POS;
    info.nMin = 0;
    info.nMax = std::max(0, range - 1);
    info.nPage = static_cast<UINT>(std::max(1, page));
    info.nPos = pos;
    bars.SetInfo(bar, info, false);
    bars.Show(bar, range > page);
}

}  // namespace tarvel
