#include "skin/controls/te_controls_splitter.h"

#include "platform/classlib/Forms.h"
#include "platform/winsys/PaintApi.h"
#include "skin/core/te_const.h"
#include "skin/core/te_theme_api.h"
#include "skin/core/te_theme_manager.h"
#include "skin/core/te_utils_draw.h"

namespace tarvel {

namespace {

bool IsSplitCursor(TCursor c) { return c == crSizeWE || c == crSizeNS; }

// Every other pixel, so the line shows over any colour.
HBRUSH MakeHalftoneBrush() {
    TBitmap pattern(8, 8);
    for (int y = 0; y < 8; ++y)
        for (int x = 0; x < 8; ++x) pattern.Canvas()->SetPixels(x, y, (x + y) % 2 ? clWhite : clBlack);
    return CreatePatternBrush(pattern.Handle());
}

}  // namespace

void TTeSplitter::DeclareMessages(TMessageTable& t) {
    t.Add<&TTeSplitter::SNMThemeMessage>(SNM_THEMEMESSAGE);
}

TTeSplitter::TTeSplitter(TComponent* owner)
    : TTeGraphicControl(owner), TTeThemeLinked(this, {ktlrRepaintOnly}) {
    TControl::SetAlign(alLeft);
    SetWidth(3);
    SetCursor(crSizeWE);
    AddThemeNotification(this);
}

TTeSplitter::~TTeSplitter() {
    RemoveThemeNotification(this);
    ReleaseLineDC();
    if (activeControl_) activeControl_->OnKeyDown = std::move(oldKeyDown_);
}

void TTeSplitter::SetAlign(TAlign value) {
    TControl::SetAlign(value);
    if (IsSplitCursor(Cursor())) SetCursor(value == alTop || value == alBottom ? crSizeNS : crSizeWE);
}

void TTeSplitter::SetBeveled(bool value) {
    beveled_ = value;
    Invalidate();
}

void TTeSplitter::Notification(TComponent* component, TOperation operation) {
    TTeGraphicControl::Notification(component, operation);
    ForgetThemeLink(component, operation);
    if (operation != TOperation::opRemove) return;
    if (component == control_) control_ = nullptr;
    if (component == activeControl_) activeControl_ = nullptr;
}

TControl* TTeSplitter::FindControl() {
    TWinControl* parent = Parent();
    if (!parent) return nullptr;
    TPoint p{Left(), Top()};
    switch (Align()) {
        case alTop: p.y -= 1; break;
        case alBottom: p.y += Height(); break;
        case alLeft: p.x -= 1; break;
        case alRight: p.x += Width(); break;
        default: return nullptr;
    }
    const bool towardStart = Align() == alLeft || Align() == alTop;
    for (int i = 0; i < parent->ControlCount(); ++i) {
        TControl* c = parent->Controls(i);
        if (c == this || !c->Visible() || !c->Enabled()) continue;
        TRect r = c->BoundsRect();
        if (r.Width() == 0) towardStart ? --r.left : ++r.right;
        if (r.Height() == 0) towardStart ? --r.top : ++r.bottom;
        if (r.Contains(p)) return c;
    }
    return nullptr;
}

bool TTeSplitter::CanResize(int& newSize) {
    bool accept = true;
    if (OnCanResize) OnCanResize(this, newSize, accept);
    return accept;
}

bool TTeSplitter::DoCanResize(int& newSize) {
    const bool accept = CanResize(newSize);
    if (accept && newSize <= minSize_ && autoSnap_) newSize = 0;
    return accept;
}

void TTeSplitter::CalcSplitSize(int x, int y, int& newSize, int& split) {
    split = Horizontal() ? y - downPos_.y : x - downPos_.x;
    int size = 0;
    switch (Align()) {
        case alLeft: size = control_->Width() + split; break;
        case alRight: size = control_->Width() - split; break;
        case alTop: size = control_->Height() + split; break;
        case alBottom: size = control_->Height() - split; break;
        default: break;
    }
    newSize = size;
    // The line stops where the size stops.
    if (size < minSize_)
        newSize = minSize_;
    else if (size > maxSize_)
        newSize = maxSize_;
    if (size != newSize) {
        if (Align() == alRight || Align() == alBottom)
            split += size - newSize;
        else
            split -= size - newSize;
    }
}

void TTeSplitter::AllocateLineDC() {
    lineDC_ = GetDCEx(Parent()->Handle(), nullptr, DCX_CACHE | DCX_CLIPSIBLINGS | DCX_LOCKWINDOWUPDATE);
    if (resizeStyle_ == rsPattern) {
        brush_ = MakeHalftoneBrush();
        prevBrush_ = SelectObject(lineDC_, brush_);
    }
}

void TTeSplitter::ReleaseLineDC() {
    if (!lineDC_) return;
    if (prevBrush_) SelectObject(lineDC_, prevBrush_);
    if (Parent() && Parent()->HandleAllocated()) ReleaseDC(Parent()->Handle(), lineDC_);
    lineDC_ = HDC{};
    prevBrush_ = HBRUSH{};
    if (brush_) DeleteObject(brush_);
    brush_ = HBRUSH{};
}

void TTeSplitter::DrawLine() {
    if (!lineDC_) return;
    lineVisible_ = !lineVisible_;
    TPoint p{Left(), Top()};
    if (Horizontal())
        p.y += split_;
    else
        p.x += split_;
    PatBlt(lineDC_, p.x, p.y, Width(), Height(), PATINVERT);
}

void TTeSplitter::MouseDown(TMouseButton button, TShiftState shift, int x, int y) {
    TTeGraphicControl::MouseDown(button, shift, x, y);
    if (button != mbLeft) return;
    control_ = FindControl();
    downPos_ = TPoint{x, y};
    if (!control_) return;
    control_->FreeNotification(this);
    TWinControl* parent = Parent();
    const TRect client = parent->ClientRect();
    maxSize_ = (Horizontal() ? client.Height() : client.Width()) - minSize_;
    for (int i = 0; i < parent->ControlCount(); ++i) {
        TControl* c = parent->Controls(i);
        if (!c->Visible()) continue;
        if (Horizontal() && (c->Align() == alTop || c->Align() == alBottom)) maxSize_ -= c->Height();
        if (!Horizontal() && (c->Align() == alLeft || c->Align() == alRight)) maxSize_ -= c->Width();
    }
    maxSize_ += Horizontal() ? control_->Height() : control_->Width();
    // Measured now: the control may have been resized since the last drag.
    oldSize_ = Horizontal() ? control_->Height() : control_->Width();
    CalcSplitSize(x, y, newSize_, split_);
    AllocateLineDC();
    if (TCustomForm* form = GetParentForm(this); form && form->ActiveControl()) {
        activeControl_ = form->ActiveControl();
        activeControl_->FreeNotification(this);
        oldKeyDown_ = std::move(activeControl_->OnKeyDown);
        activeControl_->OnKeyDown = [this](TObject* s, WORD& key, TShiftState sh) {
            FocusKeyDown(s, key, sh);
        };
    }
    if (resizeStyle_ == rsLine || resizeStyle_ == rsPattern) DrawLine();
}

void TTeSplitter::FocusKeyDown(TObject* sender, WORD& key, TShiftState shift) {
    if (key == VK_ESCAPE) {
        StopSizing();
        return;
    }
    if (oldKeyDown_) oldKeyDown_(sender, key, shift);
}

void TTeSplitter::MouseMove(TShiftState shift, int x, int y) {
    TTeGraphicControl::MouseMove(shift, x, y);
    if (!shift.Contains(ssLeft) || !control_) return;
    int size = 0, split = 0;
    CalcSplitSize(x, y, size, split);
    if (!DoCanResize(size)) return;
    const bool line = resizeStyle_ == rsLine || resizeStyle_ == rsPattern;
    if (line && lineVisible_) DrawLine();
    newSize_ = size;
    split_ = split;
    if (resizeStyle_ == rsUpdate) UpdateControlSize();
    if (line) DrawLine();
}

void TTeSplitter::MouseUp(TMouseButton button, TShiftState shift, int x, int y) {
    TTeGraphicControl::MouseUp(button, shift, x, y);
    if (!control_) return;
    if ((resizeStyle_ == rsLine || resizeStyle_ == rsPattern) && lineVisible_) DrawLine();
    UpdateControlSize();
    StopSizing();
}

void TTeSplitter::UpdateControlSize() {
    if (!control_ || newSize_ == oldSize_) return;
    TWinControl* parent = Parent();
    switch (Align()) {
        case alTop: control_->SetHeight(newSize_); break;
        case alLeft: control_->SetWidth(newSize_); break;
        case alBottom:
            parent->DisableAlign();
            control_->SetBounds(control_->Left(), control_->Top() + control_->Height() - newSize_,
                                control_->Width(), newSize_);
            parent->EnableAlign();
            break;
        case alRight:
            parent->DisableAlign();
            control_->SetBounds(control_->Left() + control_->Width() - newSize_, control_->Top(), newSize_,
                                control_->Height());
            parent->EnableAlign();
            break;
        default: break;
    }
    Invalidate();
    if (OnMoved) OnMoved(this);
    oldSize_ = newSize_;
}

void TTeSplitter::StopSizing() {
    if (control_) {
        if (lineVisible_) DrawLine();
        control_->RemoveFreeNotification(this);
        control_ = nullptr;
        ReleaseLineDC();
        if (activeControl_) {
            activeControl_->OnKeyDown = std::move(oldKeyDown_);
            activeControl_->RemoveFreeNotification(this);
            activeControl_ = nullptr;
        }
    }
    if (OnMoved) OnMoved(this);
}

void TTeSplitter::MouseEnter() {
    TTeGraphicControl::MouseEnter();
    if (!control_) Invalidate();
}

void TTeSplitter::MouseLeave() {
    TTeGraphicControl::MouseLeave();
    if (!control_) Invalidate();
}

void TTeSplitter::PaintBuffer() {
    TCanvas& c = *Canvas();
    const TRect r = ClientRect();
    if (IsObjectDefined(ksscSplitter, themeObject_, themeLink_) && GetThemeLink(themeLink_)) {
        GetThemeLink(themeLink_)->SplitterDraw(ksscSplitter, c, SplitterInfo(r), "default");
    } else if (beveled_) {
        TRect b = Horizontal() ? TRect{r.left - 2, r.top + 1, r.right + 2, r.bottom - 1}
                               : TRect{r.left + 1, r.top - 2, r.right - 1, r.bottom + 2};
        TRect light = b, dark = b;
        light.Offset(1, 1);
        dark.Offset(-1, -1);
        DrawRect(c, light, clBtnHighlight);
        DrawRect(c, dark, clBtnShadow);
    }
    if (OnPaint) OnPaint(this);
}

}  // namespace tarvel
