// The hint window and the tracking that shows it.

#include "platform/classlib/HintWindow.h"

#include <algorithm>

#include "platform/classlib/Application.h"
#include "platform/classlib/StdCtrls.h"
#include "platform/classlib/StdCtrls_Draw.h"
#include "platform/classlib/Timers.h"

namespace tarvel {

namespace {
constexpr int kPadding = 3;  // around the text, inside the border
constexpr int kMaxWidth = 300;
constexpr unsigned kTextFormat = DT_LEFT | DT_NOPREFIX | DT_WORDBREAK;
}  // namespace

// ---- THintWindow ----------------------------------------------------------------------------

THintWindow::THintWindow(TComponent* owner) : TCustomControl(owner) {
    ControlStyle = {csOpaque};
    SetVisible(false);
    SetColor(Application ? Application->HintColor : clInfoBk);
    Font()->SetColor(clInfoText);
}

void THintWindow::CreateParams(TCreateParams& params) {
    TCustomControl::CreateParams(params);
    params.Style = WS_POPUP | WS_BORDER;
    params.ExStyle = WS_EX_TOOLWINDOW | WS_EX_TOPMOST | WS_EX_NOACTIVATE;
    params.WndParent = nullptr;
}

TRect THintWindow::CalcHintRect(const String& hint) {
    const TSize text = MeasureText(Font(), hint, kMaxWidth, false);
    return TRect{0, 0, text.cx + 2 * kPadding + 2, text.cy + 2 * kPadding + 2};
}

void THintWindow::ActivateHint(const TRect& screenRect, const String& hint) {
    SetCaption(hint);
    SetBounds(screenRect.left, screenRect.top, screenRect.Width(), screenRect.Height());
    HandleNeeded();
    SetVisible(true);
    Invalidate();
}

void THintWindow::ReleaseHint() { SetVisible(false); }

void THintWindow::Paint() {
    TCanvas* c = Canvas();
    c->Brush()->SetColor(Color());
    c->FillRect(ClientRect());
    TRect r = ClientRect();
    r.left += kPadding;
    r.top += kPadding;
    DrawCaption(c->Handle(), Font(), Caption(), r, kTextFormat, Font()->Color());
}

// ---- THintTracker ---------------------------------------------------------------------------

THintTracker::THintTracker(TComponent* owner) : TComponent(owner) {
    timer_ = new TTimer(this);
    timer_->SetEnabled(false);
    timer_->OnTimer = [this](TObject*) { TimerFired(); };
}

bool THintTracker::HasHint(TControl* control) {
    return control && Application && Application->ShowHint && control->ShowHint() &&
           !control->Hint().empty() && control->Showing();
}

void THintTracker::MouseControl(TControl* control) {
    if (control == control_ || (control && control == window_)) return;
    const bool wasShown = phase_ == Phase::shown;
    if (control_) control_->RemoveFreeNotification(this);
    control_ = control;
    if (control_) control_->FreeNotification(this);
    Hide();
    if (!HasHint(control_)) return;
    // Straight from one hint to the next, the wait is short.
    const int pause = wasShown ? Application->HintShortPause : Application->HintPause;
    phase_ = Phase::pause;
    timer_->SetInterval(static_cast<UINT>(std::max(1, pause)));
    timer_->SetEnabled(true);
}

void THintTracker::Cancel() { Hide(); }

void THintTracker::DropWindow() {
    Hide();
    delete std::exchange(window_, nullptr);
}

void THintTracker::Hide() {
    if (timer_) timer_->SetEnabled(false);
    phase_ = Phase::idle;
    if (window_) window_->ReleaseHint();
}

void THintTracker::TimerFired() {
    if (timer_) timer_->SetEnabled(false);
    if (phase_ == Phase::pause && HasHint(control_)) {
        Show();
        return;
    }
    Hide();
}

void THintTracker::Show() {
    if (!window_)
        window_ = Application->HintWindowClass ? Application->HintWindowClass(this) : new THintWindow(this);
    const String hint = control_->Hint();
    TRect r = window_->CalcHintRect(hint);
    TPoint at;
    GetCursorPos(at);
    at.y += GetSystemMetrics(SM_CYCURSOR) * 3 / 4;  // below the pointer, so the hint never covers it
    TRect area;
    SystemParametersInfo(SPI_GETWORKAREA, 0, &area, 0);
    at.x = std::max(area.left, std::min(at.x, area.right - r.Width()));
    at.y = std::max(area.top, std::min(at.y, area.bottom - r.Height()));
    r.Offset(at.x, at.y);
    window_->ActivateHint(r, hint);
    phase_ = Phase::shown;
    if (Application->HintHidePause > 0) {
        timer_->SetInterval(static_cast<UINT>(Application->HintHidePause));
        timer_->SetEnabled(true);
    }
}

void THintTracker::Notification(TComponent* component, TOperation operation) {
    TComponent::Notification(component, operation);
    if (operation != TOperation::opRemove) return;
    if (component == control_) {
        control_ = nullptr;
        Hide();
    }
    if (component == window_) window_ = nullptr;
    if (component == timer_) timer_ = nullptr;
}

}  // namespace tarvel
