// TListBox: a list of lines, one of them selected.

#include <algorithm>

#include "platform/classlib/StdCtrls.h"
#include "platform/classlib/StdCtrls_Draw.h"

namespace tarvel {

void TListBox::DeclareMessages(TMessageTable& t) { t.Add<&TListBox::WMGetDlgCode>(WM_GETDLGCODE); }

TListBox::TListBox(TComponent* owner) : TCustomControl(owner), items_(std::make_unique<TStringList>()) {
    ControlStyle = {csCaptureMouse, csClickEvents, csSetCaption, csDoubleClicks, csOpaque};
    SetBounds(0, 0, 121, 97);
    SetTabStop(true);
    SetColor(clWindow);
    items_->OnChange = [this](TObject* s) { ItemsChanged(s); };
}

TListBox::~TListBox() { items_->OnChange = nullptr; }

void TListBox::CreateParams(TCreateParams& params) {
    TCustomControl::CreateParams(params);
    params.ExStyle |= WS_EX_CLIENTEDGE;
}

void TListBox::ItemsChanged(TObject*) {
    if (itemIndex_ >= Count()) itemIndex_ = -1;
    topIndex_ = std::clamp(topIndex_, 0, std::max(0, Count() - 1));
    Invalidate();
}

void TListBox::SetItemIndex(int index) {
    index = std::clamp(index, -1, Count() - 1);
    if (index == itemIndex_) return;
    itemIndex_ = index;
    if (index >= 0) MakeVisible(index);
    Invalidate();
}

void TListBox::SetItemHeight(int h) {
    itemHeight_ = std::max(1, h);
    Invalidate();
}

void TListBox::SetTopIndex(int index) {
    index = std::clamp(index, 0, std::max(0, Count() - VisibleRows()));
    if (index == topIndex_) return;
    topIndex_ = index;
    Invalidate();
}

int TListBox::VisibleRows() { return std::max(1, ClientHeight() / itemHeight_); }

void TListBox::MakeVisible(int index) {
    if (index < topIndex_) SetTopIndex(index);
    else if (index >= topIndex_ + VisibleRows()) SetTopIndex(index - VisibleRows() + 1);
}

TRect TListBox::ItemRect(int index) const {
    int width = HandleAllocated() ? ::tarvel::ClientRect(handle_).Width() : Width();
    return Bounds(0, (index - topIndex_) * itemHeight_, width, itemHeight_);
}

int TListBox::ItemAtPos(TPoint p) const {
    if (p.y < 0 || p.x < 0) return -1;
    int index = topIndex_ + p.y / itemHeight_;
    return index < Count() ? index : -1;
}

TRect TListBox::UiItemRect(int index) {
    MakeVisible(index);
    return ItemRect(index);
}

void TListBox::Paint() {
    HDC dc = Canvas()->Handle();
    const TRect client = ClientRect();
    FillColor(dc, client, Color());
    const bool focused = Focused();
    for (int i = topIndex_; i < Count(); ++i) {
        TRect r = ItemRect(i);
        if (r.top >= client.bottom) break;
        TColor text = Enabled() ? Font()->Color() : clGrayText;
        if (i == itemIndex_) {
            FillColor(dc, r, clHighlight);
            text = clHighlightText;
        }
        TRect t{r.left + 2, r.top, r.right - 2, r.bottom};
        DrawCaption(dc, Font(), items_->Strings(i), t, DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX, text);
        if (focused && i == itemIndex_) DrawFocusRect(dc, r);
    }
}

void TListBox::MouseDown(TMouseButton button, TShiftState shift, int x, int y) {
    if (button == mbLeft) {
        int index = ItemAtPos(TPoint{x, y});
        if (index >= 0) SetItemIndex(index);
    }
    TCustomControl::MouseDown(button, shift, x, y);
}

void TListBox::KeyDown(WORD& key, TShiftState shift) {
    TCustomControl::KeyDown(key, shift);
    if (Count() == 0) return;
    int index = itemIndex_;
    switch (key) {
        case VK_UP: index = std::max(0, index - 1); break;
        case VK_DOWN: index = std::min(Count() - 1, index + 1); break;
        case VK_HOME: index = 0; break;
        case VK_END: index = Count() - 1; break;
        case VK_PRIOR: index = std::max(0, index - VisibleRows()); break;
        case VK_NEXT: index = std::min(Count() - 1, index + VisibleRows()); break;
        default: return;
    }
    key = 0;
    if (index == itemIndex_) return;
    SetItemIndex(index);
    Click();
}

bool TListBox::DoMouseWheel(TShiftState shift, int wheelDelta, TPoint mousePos) {
    if (TCustomControl::DoMouseWheel(shift, wheelDelta, mousePos)) return true;
    SetTopIndex(topIndex_ - wheelDelta / WHEEL_DELTA * 3);
    return true;
}

void TListBox::DoEnter() {
    Invalidate();
    TCustomControl::DoEnter();
}

void TListBox::DoExit() {
    Invalidate();
    TCustomControl::DoExit();
}

void TListBox::WMGetDlgCode(TMessage& m) { m.Result = DLGC_WANTARROWS | DLGC_WANTCHARS; }

}  // namespace tarvel
