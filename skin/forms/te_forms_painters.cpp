// What transparent skinned controls show behind them on a form or on a
// class-library frame: the skinned frame's client background, else the
// form's colour.

#include "skin/core/te_theme_api.h"
#include "skin/forms/te_forms_frame2.h"
#include "skin/forms/te_forms_mdichild.h"
#include "skin/forms/te_forms_resources.h"

namespace tarvel {

namespace {

bool Designing(TControl* control) { return control->ComponentState().Contains(csDesigning); }

void FillWithColour(TCanvas* canvas, const TteBackground& b) {
    canvas->Brush()->SetColor(b.Parent->Color());
    canvas->Brush()->SetStyle(bsSolid);
    canvas->FillRect(b.Rect);
}

bool DrawFormBackground(TCanvas* canvas, const TteBackground& b) {
    if (!b.Parent) return true;
    if (Designing(b.Control) && dynamic_cast<TCustomForm*>(b.Parent)) {
        FillWithColour(canvas, b);
        return true;
    }
    TTeDefaultForm* frame = GetParentQvForm(b.Parent);
    if (!frame || !frame->GetForm()) frame = GetParentQvForm2(b.Parent);
    if (!frame || !frame->GetForm()) return DrawMDIChildBackground(canvas, b, FillWithColour);
    frame->SetBackgroundRequest(&b.Rect);
    struct Clear {
        TTeDefaultForm* frame;
        ~Clear() { frame->SetBackgroundRequest(nullptr); }
    } clear{frame};
    TMessage m{WM_ERASEBKGND, static_cast<WPARAM>(canvas->Handle().Value()), 0, 0};
    frame->Dispatch(m);
    return true;
}

bool DrawFrameBackground(TCanvas* canvas, const TteBackground& b) {
    if (!b.Parent) return true;
    if (Designing(b.Control) && dynamic_cast<TCustomForm*>(b.Parent)) {
        FillWithColour(canvas, b);
        return true;
    }
    // Only the asking control's rectangle; the frame may be much larger.
    HDC dc = canvas->Handle();
    const int saved = SaveDC(dc);
    IntersectClipRect(dc, b.Rect.left, b.Rect.top, b.Rect.right, b.Rect.bottom);
    DrawControlBackground(b.Parent, dc);
    RestoreDC(dc, saved);
    return true;
}

}  // namespace

void RegisterFormPainters() {
    RegisterDrawControlBackground(TTeForm::StaticClass(), DrawFormBackground);
    RegisterDrawControlBackground(TTeForm2::StaticClass(), DrawFormBackground);
    RegisterDrawControlBackground(TCustomForm::StaticClass(), DrawFormBackground);
    RegisterDrawControlBackground(TCustomFrame::StaticClass(), DrawFrameBackground);
}

}  // namespace tarvel
