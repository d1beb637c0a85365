#include "skin/controls/te_controls_hint.h"

#include <vector>

#include "platform/base/Ticks.h"
#include "platform/classlib/Application.h"
#include "platform/classlib/Timers.h"
#include "platform/winsys/InputApi.h"
#include "platform/winsys/WindowApi.h"
#include "skin/controls/te_controls_init.h"
#include "skin/core/te_theme_api.h"
#include "skin/core/te_utils.h"
#include "skin/core/te_utils_draw.h"
#include "skin/core/te_winapi.h"

namespace tarvel {

namespace {

constexpr int kMaxHintWidth = 1000;

std::vector<TTeHint*>& AllHints() {
    static std::vector<TTeHint*> hints;
    return hints;
}

TTeHint* gActiveHint = nullptr;

bool HintThemed(const String& object) {
    return IsObjectDefined(khscHintWindow, object, nullptr) && CurrentTheme;
}

}  // namespace

TTeHint* ActiveHintComponent() { return gActiveHint; }

TRect ClampHintRect(TRect r, const TRect& area) {
    if (r.bottom > area.bottom) r.Offset(0, area.bottom - r.bottom);
    if (r.right > area.right) r.Offset(area.right - r.right, 0);
    if (r.left < area.left) r.Offset(area.left - r.left, 0);
    if (r.top < area.top) r.Offset(0, area.top - r.top);
    return r;
}

// ---- TTeHint --------------------------------------------------------------------------------

TTeHint::TTeHint(TComponent* owner) : TComponent(owner) {
    animation_.SetTime(400);
    AllHints().push_back(this);
}

TTeHint::~TTeHint() {
    std::erase(AllHints(), this);
    if (gActiveHint == this) gActiveHint = nullptr;
    if (replacedClass_ && Application) Application->SetHintWindowClass(nullptr);
}

void TTeHint::Loaded() {
    TComponent::Loaded();
    if (active_) SetActive(true);
}

void TTeHint::SetActive(bool value) {
    active_ = value;
    if (ComponentState().Contains(csDesigning) || ComponentState().Contains(csLoading)) return;
    if (!value) {
        // The window class stays replaced until the component goes.
        if (gActiveHint == this) gActiveHint = nullptr;
        return;
    }
    if (Application) {
        Application->SetHintWindowClass([](TComponent* owner) { return new TTeHintWindow(owner); });
        replacedClass_ = true;
    }
    for (TTeHint* other : AllHints())
        if (other != this && other->Owner() == Owner()) other->active_ = false;
    gActiveHint = this;
}

TRect TTeHint::GetHintBounds(TCanvas& canvas, const String& hint) {
    TRect r{0, 0, kMaxHintWidth, kMaxHintWidth};
    DrawText(canvas, Utf8ToWide(hint), r, DT_CALCRECT | DT_NOPREFIX | DT_WORDBREAK);
    if (HintThemed(themeObject_)) {
        const TRect content = CurrentTheme->HintGetClientRect(khscHintWindow, canvas,
                                                              HintInfo(TRect{0, 0, 100, 100}), "default");
        r.right += content.left - content.right + 100;
        r.bottom += content.top - content.bottom + 100;
    } else {
        r.right += 6;
        r.bottom += 6;
    }
    if (shadow_.Enabled()) {
        r.right += shadow_.Size();
        r.bottom += shadow_.Size();
    }
    return r;
}

void TTeHint::PaintHint(TCanvas& canvas, const TRect& rect, const String& hint) {
    TRect area = rect;
    if (HintThemed(themeObject_)) {
        CurrentTheme->HintDraw(khscHintWindow, canvas, HintInfo(rect), "default");
        area = CurrentTheme->HintGetClientRect(khscHintWindow, canvas, HintInfo(rect), "default");
    } else {
        FillRect(canvas, rect, Application ? Application->HintColor : clInfoBk);
        DrawEdge(canvas, rect, cl3DLight, cl3DDkShadow);
    }
    const WideString text = Utf8ToWide(hint);
    TRect measured = area;
    DrawText(canvas, text, measured, DT_CALCRECT | DT_WORDBREAK | DT_CENTER);
    RectCenter(measured, area);
    DrawText(canvas, text, measured, DT_WORDBREAK | DT_CENTER);
}

// ---- TTeHintForm ----------------------------------------------------------------------------

TTeHintForm::TTeHintForm(TComponent* owner) : TTeDefaultForm(owner) {
    Dragging()->Sizeable = false;
    Dragging()->Moveable = false;
    SetBorderStyle(kbsNone);
    SetPerformance(qvfpDoubleBuffer);
}

void TTeHintForm::PaintClientArea(TCanvas& canvas) {
    auto* window = dynamic_cast<TTeHintWindow*>(Owner());
    TTeHint* hints = ActiveHintComponent();
    // Without a component the window paints the plain hint itself.
    if (!window || !hints) return;
    if (HintFont) canvas.Font()->Assign(HintFont);
    hints->PaintHint(canvas, TRect{0, 0, FormWidth(), FormHeight()}, window->Caption());
}

// ---- TTeHintWindow --------------------------------------------------------------------------

TTeHintWindow::TTeHintWindow(TComponent* owner) : THintWindow(owner), hintForm_(new TTeHintForm(this)) {
    // The background is the frame's to paint: the window is erased.
    ControlStyle.Exclude(csOpaque);
    hintForm_->SetWinControl(this);
    hintForm_->SetActive(true);
}

TTeHintWindow::~TTeHintWindow() = default;

void TTeHintWindow::DeclareMessages(TMessageTable& t) {
    t.Add<&TTeHintWindow::CMTextChanged>(CM_TEXTCHANGED);
}

void TTeHintWindow::CreateParams(TCreateParams& params) {
    THintWindow::CreateParams(params);
    // The frame has no border; layered, so that it can fade in.
    params.Style = WS_POPUP;
    params.ExStyle |= WS_EX_LAYERED;
}

TRect TTeHintWindow::CalcHintRect(const String& hint) {
    TTeHint* hints = ActiveHintComponent();
    if (!hints) return THintWindow::CalcHintRect(hint);
    TteBitmap scratch;
    scratch.SetSize(1, 1);
    TCanvas& c = *scratch.GetCanvas();
    if (HintFont) c.Font()->Assign(HintFont);
    return hints->GetHintBounds(c, hint);
}

void TTeHintWindow::ActivateHint(const TRect& screenRect, const String& hint) {
    TPoint cursor;
    GetCursorPos(cursor);
    activating_ = true;
    struct Done {
        bool& flag;
        ~Done() { flag = false; }
    } done{activating_};
    TTeHint* hints = ActiveHintComponent();
    if (hints) {
        // The frame blends the hint with what lies behind it and draws the shadow.
        hintForm_->Blending()->Assign(hints->Blending());
        hintForm_->Shadow()->Assign(hints->Shadow());
        hintForm_->Animation()->Assign(hints->Animation());
        hintForm_->Loaded();
        HandleNeeded();
        // Shown at the start of its fade, never first at full strength.
        SetOpacity(hints->Animation()->Enabled() ? 0 : 255);
    }
    THintWindow::ActivateHint(ClampHintRect(screenRect, GetRectOfMonitorContainingPoint(cursor, true)), hint);
    if (hints) ShowFaded(hints);
}

void TTeHintWindow::CMTextChanged(TMessage& m) {
    DispatchFrom(inherited::StaticClass(), m);
    if (activating_ || !ActiveHintComponent()) return;
    // A text set from outside: the window fits it with a margin.
    TteBitmap scratch;
    scratch.SetSize(1, 1);
    TCanvas& c = *scratch.GetCanvas();
    if (HintFont) c.Font()->Assign(HintFont);
    const WideString text = Utf8ToWide(Caption());
    SetBounds(Left(), Top(), TextWidth(c, text) + 30, TextHeight(c, text) + 20);
}

void TTeHintWindow::SetOpacity(uint8_t value) {
    opacity_ = value;
    if (HandleAllocated()) SetLayeredWindowAttributes(Handle(), 0, value, LWA_ALPHA);
}

void TTeHintWindow::ShowFaded(TTeHint* hint) {
    if (!hint->Animation()->Enabled() || hint->Animation()->Time() <= 0) {
        SetOpacity(255);
        return;
    }
    fadeTime_ = hint->Animation()->Time();
    fadeStart_ = GetTickCount();
    if (!fadeTimer_) {
        fadeTimer_ = std::make_unique<TTimer>(nullptr);
        fadeTimer_->SetInterval(20);
        fadeTimer_->OnTimer = [this](TObject*) { FadeStep(); };
    }
    fadeTimer_->SetEnabled(true);
}

void TTeHintWindow::FadeStep() {
    const uint32_t passed = GetTickCount() - fadeStart_;
    if (!Visible() || passed >= static_cast<uint32_t>(fadeTime_)) {
        fadeTimer_->SetEnabled(false);
        SetOpacity(255);
        return;
    }
    SetOpacity(static_cast<uint8_t>(255 * passed / static_cast<uint32_t>(fadeTime_)));
}

// The hint form paints the skinned hint as the window's background.
void TTeHintWindow::Paint() {
    if (!ActiveHintComponent()) THintWindow::Paint();
}

}  // namespace tarvel
