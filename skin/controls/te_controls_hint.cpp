#include "skin/controls/te_controls_hint.h"

#include <vector>

#include "platform/classlib/Application.h"
#include "platform/winsys/InputApi.h"
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

TTeHint::TTeHint(TComponent* owner) : TComponent(owner) { AllHints().push_back(this); }

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
    if (shadowEnabled_) {
        r.right += shadowSize_;
        r.bottom += shadowSize_;
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

// ---- TTeHintWindow --------------------------------------------------------------------------

TTeHintWindow::TTeHintWindow(TComponent* owner) : THintWindow(owner) {}

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
    THintWindow::ActivateHint(ClampHintRect(screenRect, GetRectOfMonitorContainingPoint(cursor, true)), hint);
}

void TTeHintWindow::Paint() {
    TTeHint* hints = ActiveHintComponent();
    if (!hints) {
        THintWindow::Paint();
        return;
    }
    TCanvas& c = *Canvas();
    if (HintFont) c.Font()->Assign(HintFont);
    hints->PaintHint(c, TRect{0, 0, Width(), Height()}, Caption());
}

}  // namespace tarvel
