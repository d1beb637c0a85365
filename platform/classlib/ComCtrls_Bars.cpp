// TProgressBar, TUpDown, TStatusBar and TToolBar.

#include "platform/classlib/ComCtrls_Bars.h"

#include <algorithm>

#include "platform/classlib/ComCtrlMessages.h"
#include "platform/classlib/ControlPaint.h"

namespace tarvel {

namespace {
constexpr UINT_PTR kRepeatTimer = 1;
constexpr UINT kRepeatDelay = 400;
constexpr UINT kRepeatRate = 80;
}  // namespace

// ---- TProgressBar -------------------------------------------------------------------------------

TProgressBar::TProgressBar(TComponent* owner) : TCustomControl(owner) {
    ControlStyle.Include(csOpaque);
    SetBounds(0, 0, 150, 16);
    SetColor(clBtnFace);
}

void TProgressBar::SetMin(int v) {
    min_ = v;
    if (max_ < min_) max_ = min_;
    SetPosition(position_);
    Invalidate();
}

void TProgressBar::SetMax(int v) {
    max_ = v;
    if (min_ > max_) min_ = max_;
    SetPosition(position_);
    Invalidate();
}

void TProgressBar::SetPosition(int v) {
    v = std::clamp(v, min_, max_);
    if (v == position_) return;
    position_ = v;
    Invalidate();
}

void TProgressBar::StepBy(int delta) { SetPosition(position_ + delta); }

void TProgressBar::StepIt() {
    const int64_t next = int64_t{position_} + step_;
    SetPosition(next > max_ || next < min_ ? min_ : static_cast<int>(next));
}

void TProgressBar::SetOrientation(TProgressBarOrientation o) {
    orientation_ = o;
    Invalidate();
}

void TProgressBar::SetSmooth(bool v) {
    smooth_ = v;
    Invalidate();
}

void TProgressBar::SetBarColor(TColor c) {
    barColor_ = c;
    Invalidate();
}

void TProgressBar::Paint() {
    HDC dc = Canvas()->Handle();
    TRect r = ClientRect();
    FillColor(dc, r, Color());
    Frame3D(dc, r, clBtnShadow, clBtnHighlight);
    r = InflatedRect(r, -1, -1);
    const int64_t span = int64_t{max_} - min_;
    if (span <= 0 || r.IsEmpty()) return;
    const bool vertical = orientation_ == pbVertical;
    const int length = vertical ? r.Height() : r.Width();
    const int filled = static_cast<int>((int64_t{position_} - min_) * length / span);
    const TColor bar = barColor_ == clDefault ? clHighlight : barColor_;
    if (smooth_) {
        TRect f = r;
        if (vertical)
            f.top = r.bottom - filled;
        else
            f.right = r.left + filled;
        FillColor(dc, f, bar);
        return;
    }
    // Blocks two-thirds of the bar's thickness long, with a gap of two pixels.
    const int block = std::max(2, (vertical ? r.Width() : r.Height()) * 2 / 3);
    for (int at = 0; at < filled; at += block + 2) {
        const int len = std::min(block, length - at);
        TRect f = vertical ? TRect{r.left, r.bottom - at - len, r.right, r.bottom - at}
                           : TRect{r.left + at, r.top, r.left + at + len, r.bottom};
        FillColor(dc, f, bar);
    }
}

// ---- TUpDown ---------------------------------------------------------------------------------

void TUpDown::DeclareMessages(TMessageTable& t) {
    t.Add<&TUpDown::WMTimer>(WM_TIMER);
    t.Add<&TUpDown::CMMouseLeaveUd>(CM_MOUSELEAVE);
}

TUpDown::TUpDown(TComponent* owner) : TCustomControl(owner) {
    ControlStyle = {csCaptureMouse, csOpaque, csDoubleClicks};
    SetBounds(0, 0, 17, 25);
}

TUpDown::~TUpDown() { SetAssociate(nullptr); }

// The class name the pickers' and tab controls' hosts look their arrows up by.
void TUpDown::CreateParams(TCreateParams& params) {
    TCustomControl::CreateParams(params);
    params.WinClassName = kUpDownClassName;
}

void TUpDown::SetMin(int v) {
    min_ = v;
    SetPosition(position_);
}

void TUpDown::SetMax(int v) {
    max_ = v;
    SetPosition(position_);
}

void TUpDown::SetPosition(int v) {
    const int lo = std::min(min_, max_), hi = std::max(min_, max_);
    v = std::clamp(v, lo, hi);
    position_ = v;
    UpdateAssociate();
}

void TUpDown::SetOrientation(TUDOrientation o) {
    orientation_ = o;
    Invalidate();
}

void TUpDown::SetAlignButton(TUDAlignButton a) {
    alignButton_ = a;
    PlaceBesideAssociate();
}

void TUpDown::SetAssociate(TWinControl* control) {
    if (associate_) {
        associate_->RemoveFreeNotification(this);
        associate_->WindowProc = associateProc_;
    }
    associate_ = control;
    associateProc_ = nullptr;
    if (!control) return;
    control->FreeNotification(this);
    // Up and Down in the associated control step the position before the
    // control sees them, as a native buddy's keys would.
    associateProc_ = control->WindowProc;
    control->WindowProc = [this](TMessage& m) {
        const bool vertical = orientation_ == udVertical;
        const WPARAM next = vertical ? VK_UP : VK_RIGHT, prev = vertical ? VK_DOWN : VK_LEFT;
        if (arrowKeys_ && (m.Msg == CN_KEYDOWN || m.Msg == WM_KEYDOWN) &&
            (m.WParam == next || m.WParam == prev)) {
            Step(m.WParam == next ? btNext : btPrev);
            m.Result = 1;
            return;
        }
        associateProc_(m);
    };
    PlaceBesideAssociate();
    UpdateAssociate();
}

void TUpDown::Notification(TComponent* component, TOperation operation) {
    TCustomControl::Notification(component, operation);
    if (operation == TOperation::opRemove && component == associate_) {
        associate_ = nullptr;
        associateProc_ = nullptr;
    }
}

void TUpDown::PlaceBesideAssociate() {
    if (!associate_) return;
    if (associate_->Parent() && Parent() != associate_->Parent()) SetParent(associate_->Parent());
    const int x =
        alignButton_ == udRight ? associate_->Left() + associate_->Width() : associate_->Left() - Width();
    SetBounds(x, associate_->Top(), Width(), associate_->Height());
}

void TUpDown::UpdateAssociate() {
    if (associate_) associate_->SetText(IntToStr(position_));
}

void TUpDown::Step(TUDBtnType button) {
    bool allow = true;
    if (OnChanging) OnChanging(this, allow);
    if (!allow) return;
    const int lo = std::min(min_, max_), hi = std::max(min_, max_);
    const int dir = (button == btNext) == (max_ >= min_) ? 1 : -1;
    int next = position_ + dir * increment_;
    if (next > hi) next = wrap_ ? lo : hi;
    if (next < lo) next = wrap_ ? hi : lo;
    position_ = next;
    UpdateAssociate();
    if (HWND parent = ParentHandle(this)) {
        const UINT msg = orientation_ == udVertical ? WM_VSCROLL : WM_HSCROLL;
        SendMessage(parent, msg, MAKEWPARAM(SB_THUMBPOSITION, position_), reinterpret_cast<LPARAM>(Handle()));
    }
    if (OnClick) OnClick(this, button);
}

TRect TUpDown::ButtonRect(TUDBtnType button) {
    const TRect r = ClientRect();
    if (orientation_ == udVertical) {
        const int mid = r.top + r.Height() / 2;
        return button == btNext ? TRect{r.left, r.top, r.right, mid} : TRect{r.left, mid, r.right, r.bottom};
    }
    const int mid = r.left + r.Width() / 2;
    return button == btNext ? TRect{mid, r.top, r.right, r.bottom} : TRect{r.left, r.top, mid, r.bottom};
}

TUDBtnType TUpDown::ButtonAt(TPoint p) { return ButtonRect(btNext).Contains(p) ? btNext : btPrev; }

void TUpDown::Paint() {
    HDC dc = Canvas()->Handle();
    const bool vertical = orientation_ == udVertical;
    DrawArrowButton(dc, ButtonRect(btNext), vertical ? DFCS_SCROLLUP : DFCS_SCROLLRIGHT, pressed_ == btNext,
                    Enabled());
    DrawArrowButton(dc, ButtonRect(btPrev), vertical ? DFCS_SCROLLDOWN : DFCS_SCROLLLEFT, pressed_ == btPrev,
                    Enabled());
}

void TUpDown::MouseDown(TMouseButton button, TShiftState shift, int x, int y) {
    TCustomControl::MouseDown(button, shift, x, y);
    if (button != mbLeft || !Enabled()) return;
    const TUDBtnType b = ButtonAt(TPoint{x, y});
    pressed_ = b;
    Invalidate();
    Step(b);
    if (HandleAllocated()) SetTimer(Handle(), kRepeatTimer, kRepeatDelay);
}

void TUpDown::MouseMove(TShiftState shift, int x, int y) {
    TCustomControl::MouseMove(shift, x, y);
    // The hot half changes only as the mouse moves over it.
    const int now = ClientRect().Contains(TPoint{x, y}) ? ButtonAt(TPoint{x, y}) : -1;
    if (now != hot_) {
        hot_ = now;
        Invalidate();
    }
}

void TUpDown::MouseUp(TMouseButton button, TShiftState shift, int x, int y) {
    TCustomControl::MouseUp(button, shift, x, y);
    if (button != mbLeft || pressed_ < 0) return;
    pressed_ = -1;
    if (HandleAllocated()) {
        KillTimer(Handle(), kRepeatTimer);
        if (HWND parent = ParentHandle(this))
            SendMessage(parent, orientation_ == udVertical ? WM_VSCROLL : WM_HSCROLL,
                        MAKEWPARAM(SB_ENDSCROLL, position_), reinterpret_cast<LPARAM>(Handle()));
    }
    Invalidate();
}

void TUpDown::WMTimer(TMessage& m) {
    if (m.WParam != kRepeatTimer || pressed_ < 0) return;
    SetTimer(Handle(), kRepeatTimer, kRepeatRate);
    Step(static_cast<TUDBtnType>(pressed_));
}

void TUpDown::CMMouseLeaveUd(TMessage& m) {
    hot_ = -1;
    Invalidate();
    DispatchFrom(inherited::StaticClass(), m);
}

// ---- TStatusBar -------------------------------------------------------------------------------

void TStatusPanel::Changed() { bar_->Invalidate(); }
void TStatusPanel::SetText(const String& text) {
    if (text == text_) return;
    text_ = text;
    Changed();
}
void TStatusPanel::SetWidth(int w) {
    width_ = std::max(0, w);
    Changed();
}
void TStatusPanel::SetAlignment(TAlignment a) {
    alignment_ = a;
    Changed();
}
void TStatusPanel::SetBevel(TStatusPanelBevel b) {
    bevel_ = b;
    Changed();
}
void TStatusPanel::SetStyle(TStatusPanelStyle s) {
    style_ = s;
    Changed();
}
int TStatusPanel::Index() const { return bar_->Panels()->IndexOf(this); }

TStatusPanel* TStatusPanels::Add() {
    TStatusPanel* panel = Append(new TStatusPanel(bar_));
    bar_->Invalidate();
    return panel;
}

void TStatusPanels::Delete(int index) {
    Remove(index);
    bar_->Invalidate();
}

void TStatusPanels::Clear() {
    RemoveAll();
    bar_->Invalidate();
}

TStatusBar::TStatusBar(TComponent* owner) : TCustomControl(owner) {
    ControlStyle = {csCaptureMouse, csClickEvents, csDoubleClicks, csOpaque};
    SetColor(clBtnFace);
    SetBounds(0, 0, 200, 19);
    SetAlign(alBottom);
}

void TStatusBar::SetSimplePanel(bool v) {
    simplePanel_ = v;
    Invalidate();
}

void TStatusBar::SetSimpleText(const String& text) {
    simpleText_ = text;
    Invalidate();
}

void TStatusBar::SetSizeGrip(bool v) {
    sizeGrip_ = v;
    Invalidate();
}

TRect TStatusBar::PanelRect(int index) {
    const TRect c = ClientRect();
    int x = 0;
    for (int i = 0; i < panels_.Count(); ++i) {
        const bool last = i == panels_.Count() - 1;
        const int w = last ? std::max(0, c.right - x) : panels_.Items(i)->Width();
        if (i == index) return TRect{x, c.top + 2, x + w - (last ? 0 : 2), c.bottom};
        x += w;
    }
    return TRect{};
}

void TStatusBar::Paint() {
    HDC dc = Canvas()->Handle();
    const TRect c = ClientRect();
    FillColor(dc, c, Color());
    const TColor text = Enabled() ? Font()->Color() : clGrayText;
    if (simplePanel_ || panels_.Count() == 0) {
        TRect r{c.left, c.top + 2, c.right, c.bottom};
        DrawCaption(dc, Font(), simplePanel_ ? simpleText_ : Caption(), InflatedRect(r, -3, 0),
                    DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX, text);
    } else {
        static const unsigned kAlign[] = {DT_LEFT, DT_RIGHT, DT_CENTER};
        for (int i = 0; i < panels_.Count(); ++i) {
            TStatusPanel* p = panels_.Items(i);
            TRect r = PanelRect(i);
            if (p->Bevel() == pbLowered)
                Frame3D(dc, r, clBtnShadow, clBtnHighlight);
            else if (p->Bevel() == pbRaised)
                Frame3D(dc, r, clBtnHighlight, clBtnShadow);
            if (p->Style() == psOwnerDraw && OnDrawPanel)
                OnDrawPanel(this, p, r);
            else
                DrawCaption(dc, Font(), p->Text(), InflatedRect(r, -2, 0),
                            kAlign[p->Alignment()] | DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX, text);
        }
    }
    if (sizeGrip_) {
        // Three diagonal pairs of lines in the bottom-right corner.
        for (int i = 0; i < 3; ++i) {
            const int o = 4 * i + 3;
            DrawLine(dc, c.right - o, c.bottom - 1, c.right - 1, c.bottom - o - 1 + 1, clBtnHighlight);
            DrawLine(dc, c.right - o + 1, c.bottom - 1, c.right - 1, c.bottom - o + 1, clBtnShadow);
            DrawLine(dc, c.right - o + 2, c.bottom - 1, c.right - 1, c.bottom - o + 2, clBtnShadow);
        }
    }
}

// ---- TToolButton / TToolBar ------------------------------------------------------------------

TToolButton::TToolButton(TComponent* owner) : TGraphicButton(owner) {
    ControlStyle.Include(csSetCaption);
    SetBounds(0, 0, 23, 22);
}

TToolBar* TToolButton::ToolBar() const { return dynamic_cast<TToolBar*>(Parent()); }

void TToolButton::SetStyle(TToolButtonStyle s) {
    style_ = s;
    if (TToolBar* bar = ToolBar()) bar->Realign();
    Invalidate();
}

void TToolButton::SetImageIndex(int i) {
    imageIndex_ = i;
    Invalidate();
}

void TToolButton::SetDown(bool v) {
    if (v == down_) return;
    down_ = v;
    if (v && grouped_ && Parent()) {
        for (int i = 0; i < Parent()->ControlCount(); ++i) {
            auto* b = dynamic_cast<TToolButton*>(Parent()->Controls(i));
            if (b && b != this && b->grouped_ && b->down_) {
                b->down_ = false;
                b->Invalidate();
            }
        }
    }
    Invalidate();
}

void TToolButton::Click() {
    if (style_ == tbsCheck) {
        if (!down_)
            SetDown(true);
        else if (!grouped_ || allowAllUp_)
            SetDown(false);
    }
    TGraphicButton::Click();
}

void TToolButton::Paint() {
    HDC dc = Canvas()->Handle();
    TRect r = ClientRect();
    TToolBar* bar = ToolBar();
    FillColor(dc, r, bar ? bar->Color() : clBtnFace);
    if (style_ == tbsSeparator) return;
    if (style_ == tbsDivider) {
        const int x = r.left + r.Width() / 2 - 1;
        DrawLine(dc, x, r.top + 2, x, r.bottom - 2, clBtnShadow);
        DrawLine(dc, x + 1, r.top + 2, x + 1, r.bottom - 2, clBtnHighlight);
        return;
    }
    const bool flat = !bar || bar->Flat();
    const bool sunk = Pressed() || down_;
    if (sunk)
        Frame3D(dc, r, clBtnShadow, clBtnHighlight);
    else if (Hot() || !flat)
        Frame3D(dc, r, clBtnHighlight, clBtnShadow);
    else
        r = InflatedRect(r, -1, -1);
    if (down_ && !Pressed()) FillColor(dc, r, cl3DLight);
    if (sunk) r.Offset(1, 1);
    TCustomImageList* images = bar ? bar->Images() : nullptr;
    const bool captions = bar && bar->ShowCaptions();
    int textTop = r.top;
    if (images && imageIndex_ >= 0 && imageIndex_ < images->Count()) {
        const int x = r.left + (r.Width() - images->Width()) / 2;
        const int y = captions ? r.top + 2 : r.top + (r.Height() - images->Height()) / 2;
        images->Draw(Canvas(), x, y, imageIndex_, Enabled());
        textTop = y + images->Height();
    }
    if (captions || !images) {
        TRect t{r.left, textTop, r.right, r.bottom};
        DrawCaption(dc, Font(), Caption(), t, DT_CENTER | DT_VCENTER | DT_SINGLELINE,
                    Enabled() ? Font()->Color() : clGrayText);
    }
}

TToolBar::TToolBar(TComponent* owner) : TCustomControl(owner) {
    ControlStyle = {csAcceptsControls, csCaptureMouse, csClickEvents, csDoubleClicks, csOpaque};
    SetColor(clBtnFace);
    SetBounds(0, 0, 150, 29);
    SetAlign(alTop);
}

void TToolBar::SetButtonWidth(int w) {
    buttonWidth_ = std::max(1, w);
    Realign();
}

void TToolBar::SetButtonHeight(int h) {
    buttonHeight_ = std::max(1, h);
    Realign();
}

void TToolBar::SetImages(TCustomImageList* images) {
    if (images_) images_->RemoveFreeNotification(this);
    images_ = images;
    if (images) images->FreeNotification(this);
    Invalidate();
}

void TToolBar::Notification(TComponent* component, TOperation operation) {
    TCustomControl::Notification(component, operation);
    if (operation == TOperation::opRemove && component == images_) images_ = nullptr;
}

void TToolBar::SetShowCaptions(bool v) {
    showCaptions_ = v;
    Realign();
    Invalidate();
}

void TToolBar::SetFlat(bool v) {
    flat_ = v;
    Invalidate();
}

void TToolBar::SetWrapable(bool v) {
    wrapable_ = v;
    Realign();
}

int TToolBar::ButtonCount() const {
    int n = 0;
    for (TControl* c : controls_)
        if (dynamic_cast<TToolButton*>(c)) ++n;
    return n;
}

TToolButton* TToolBar::Buttons(int index) const {
    int n = 0;
    for (TControl* c : controls_)
        if (auto* b = dynamic_cast<TToolButton*>(c); b && n++ == index) return b;
    throw EListError("List index out of bounds (" + IntToStr(index) + ")");
}

void TToolBar::AlignControls(TControl* control, TRect& rect) {
    TCustomControl::AlignControls(control, rect);
    int x = rect.left + 2, y = rect.top + 2;
    for (TControl* c : controls_) {
        auto* b = dynamic_cast<TToolButton*>(c);
        if (!b || !b->Visible()) continue;
        const bool gap = b->Style() == tbsSeparator || b->Style() == tbsDivider;
        const int w = gap ? 8 : buttonWidth_;
        if (wrapable_ && x > rect.left + 2 && x + w > rect.right) {
            x = rect.left + 2;
            y += buttonHeight_;
        }
        b->SetBounds(x, y, w, buttonHeight_);
        x += w;
    }
}

void TToolBar::Paint() { FillColor(Canvas()->Handle(), ClientRect(), Color()); }

}  // namespace tarvel
