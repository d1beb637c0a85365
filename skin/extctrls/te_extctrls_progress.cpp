#include "skin/extctrls/te_extctrls_progress.h"

#include <algorithm>
#include <cmath>

#include "skin/core/te_const.h"
#include "skin/core/te_theme_api.h"
#include "skin/core/te_theme_manager.h"
#include "skin/core/te_utils.h"
#include "skin/core/te_utils_draw.h"
#include "skin/extctrls/te_extctrls_refs.h"

namespace tarvel {

namespace {

// Halves to even, as the bar has always rounded.
int RoundEven(double v) { return static_cast<int>(std::nearbyint(v)); }

}  // namespace

void TTeProgressBar::DeclareMessages(TMessageTable& t) {
    t.Add<&TTeProgressBar::SNMThemeMessage>(SNM_THEMEMESSAGE);
}

TTeProgressBar::TTeProgressBar(TComponent* owner) : TTeControl(owner) {
    SetColor(clBtnFace);
    SetPerformance(qvpDoubleBuffer);
    SetBounds(Left(), Top(), 140, 16);
    AddThemeNotification(this);
}

TTeProgressBar::~TTeProgressBar() { RemoveThemeNotification(this); }

void TTeProgressBar::SetMin(int value) {
    min_ = value;
    Invalidate();
}
void TTeProgressBar::SetMax(int value) {
    max_ = value;
    Invalidate();
}
void TTeProgressBar::SetStep(int value) { step_ = std::min(value, max_); }
void TTeProgressBar::SetOrientation(TTeProgressOrientation value) {
    orientation_ = value;
    Invalidate();
}
void TTeProgressBar::SetSmooth(bool value) {
    smooth_ = value;
    Invalidate();
}
void TTeProgressBar::SetShowBorder(bool value) {
    showBorder_ = value;
    Invalidate();
}
void TTeProgressBar::SetBarBorderWidth(int value) {
    barBorderWidth_ = std::max(0, value);
    Invalidate();
}

void TTeProgressBar::SetThemeObject(const String& value) {
    themeObject_ = value;
    if (value != "default") Invalidate();
}

void TTeProgressBar::SetThemeLink(TteCustomThemeLink* value) {
    if (value == themeLink_) return;
    SetFreeNotified(this, themeLink_, value);
    Invalidate();
}

void TTeProgressBar::Notification(TComponent* component, TOperation operation) {
    TTeControl::Notification(component, operation);
    if (operation == TOperation::opRemove && component == themeLink_) SetThemeLink(nullptr);
}

void TTeProgressBar::SNMThemeMessage(TMessage& m) {
    if (m.WParam == tmChanged || m.WParam == tmApply || m.WParam == tmReleased || m.WParam == tmSystemChanged)
        Invalidate();
}

bool TTeProgressBar::Themed() {
    return IsObjectDefined(kpscProgressBar, themeObject_, themeLink_) && GetThemeLink(themeLink_);
}

float TTeProgressBar::GetPercent(int value) const {
    if (max_ <= min_) return 0.0f;
    const int64_t v = std::clamp(value, min_, max_);
    return static_cast<float>(static_cast<double>(v - min_) / (static_cast<int64_t>(max_) - min_));
}

void TTeProgressBar::SetPosition(int value) {
    if (value == position_) return;
    const float before = GetPercent(position_);
    position_ = value;
    if (GetPercent(value) == before) return;
    Invalidate();
    Update();
}

void TTeProgressBar::StepIt() {
    const int64_t next = static_cast<int64_t>(position_) + step_;
    SetPosition(static_cast<int>(std::clamp<int64_t>(next, INT32_MIN, INT32_MAX)));
}

// ---- geometry -----------------------------------------------------------------------------

TRect TTeProgressBar::GetBarRect() {
    TRect r{0, 0, Width(), Height()};
    if (showBorder_) r = RectOffset(r, -2);
    return RectOffset(r, -barBorderWidth_);
}

TRect TTeProgressBar::GetFilledRect() {
    TRect r = GetBarRect();
    const int length = std::max(0, Vertical() ? r.Height() : r.Width());
    const int filled = RoundEven(GetPercent(position_) * static_cast<double>(length));
    if (Vertical())
        r.top = r.bottom - filled;
    else
        r.right = r.left + filled;
    return r;
}

int TTeProgressBar::ChunkSize() {
    const TRect r = GetBarRect();
    return std::max(1, RoundEven((Vertical() ? r.Width() : r.Height()) * 0.64));
}

int TTeProgressBar::ChunkCount() {
    const TRect r = GetBarRect();
    return std::max(0, Vertical() ? r.Height() : r.Width()) / (ChunkSize() + 2);
}

int TTeProgressBar::FilledChunks() {
    return RoundEven(GetPercent(position_) * static_cast<double>(ChunkCount()));
}

// ---- painting -----------------------------------------------------------------------------

void TTeProgressBar::PaintBuffer() {
    PaintFrame();
    PaintBar();
}

void TTeProgressBar::PaintFrame() {
    TCanvas& c = *Canvas();
    TRect r{0, 0, Width(), Height()};
    if (Themed()) {
        GetThemeLink(themeLink_)
            ->ProgressDraw(kpscProgressBar, c,
                           ProgressInfo(r, Vertical() ? kppBarVert : kppBarHorz, kpdsNormal), themeObject_);
        return;
    }
    if (showBorder_) {
        DrawEdge(c, r, clBtnShadow, clBtnHighlight);
        r = RectOffset(r, -1);
    }
    FillRect(c, r, Color());
}

void TTeProgressBar::PaintBar() {
    TCanvas& c = *Canvas();
    const TRect filled = GetFilledRect();
    if (Themed()) {
        const TteProgressPart part =
            smooth_ ? (Vertical() ? kppSolidVert : kppSolidHorz) : (Vertical() ? kppChunkVert : kppChunkHorz);
        if (!filled.IsEmpty())
            GetThemeLink(themeLink_)
                ->ProgressDraw(kpscProgressBar, c, ProgressInfo(filled, part, kpdsNormal), themeObject_);
        return;
    }
    if (smooth_) {
        FillRect(c, filled, clHighlight);
        return;
    }
    const TRect bar = GetBarRect();
    const int size = ChunkSize(), n = FilledChunks();
    for (int i = 0; i < n; ++i) {
        TRect chunk = bar;
        if (Vertical()) {
            chunk.bottom = bar.bottom - i * (size + 2);
            chunk.top = chunk.bottom - size;
        } else {
            chunk.left = bar.left + i * (size + 2);
            chunk.right = chunk.left + size;
        }
        FillRect(c, Intersect(chunk, bar), clHighlight);
    }
}

}  // namespace tarvel
