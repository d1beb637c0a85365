#include "skin/extctrls/te_extctrls_rangebar.h"

#include <algorithm>
#include <cmath>
#include <limits>

#include "skin/core/te_const.h"
#include "skin/core/te_theme_api.h"
#include "skin/core/te_utils.h"
#include "skin/core/te_utils_draw.h"

namespace tarvel {

void TTeRangeBar::DeclareMessages(TMessageTable& t) {
    t.Add<&TTeRangeBar::WMGetDlgCode>(WM_GETDLGCODE);
    t.Add<&TTeRangeBar::CMEnabledChanged>(CM_ENABLEDCHANGED);
    t.Add<&TTeRangeBar::SNMThemeMessage>(SNM_THEMEMESSAGE);
}

TTeRangeBar::TTeRangeBar(TComponent* owner)
    : TTeControl(owner), TTeThemeLinked(this, {ktlrRepaintOnly}), TTeTrackLayout(this, false) {
    SetPerformance(qvpDoubleBuffer);
    SetTabStop(true);
    ControlStyle.Include(csCaptureMouse);
    SetBounds(Left(), Top(), 150, 45);
    AddThemeNotification(this);
}

TTeRangeBar::~TTeRangeBar() { RemoveThemeNotification(this); }

void TTeRangeBar::Loaded() {
    TTeControl::Loaded();
    Invalidate();
}

void TTeRangeBar::Notification(TComponent* component, TOperation operation) {
    TTeControl::Notification(component, operation);
    ForgetThemeLink(component, operation);
}

void TTeRangeBar::WMGetDlgCode(TMessage& m) {
    DispatchFrom(inherited::StaticClass(), m);
    m.Result = DLGC_WANTARROWS;
}

void TTeRangeBar::CMEnabledChanged(TMessage& m) {
    DispatchFrom(inherited::StaticClass(), m);
    Invalidate();
}

// Unlike the track bar the range bar takes no bounds from the theme.
void TTeRangeBar::SNMThemeMessage(TMessage& m) {
    switch (m.WParam) {
        case tmChanged:
        case tmApply:
        case tmReleased:
        case tmSystemChanged: Invalidate(); break;
        default: break;
    }
}

// ---- properties ------------------------------------------------------------------------------

// Min above Max would make every clamp meaningless, so such values are refused.
void TTeRangeBar::SetMin(int value) {
    if (value >= max_) return;
    min_ = value;
    if (low_ < min_) SetLowPosition(min_);
    Invalidate();
}

void TTeRangeBar::SetMax(int value) {
    if (value <= min_) return;
    max_ = value;
    if (high_ > max_) SetHighPosition(max_);
    Invalidate();
}

void TTeRangeBar::SetLowPosition(int value) { SetLowWide(value); }
void TTeRangeBar::SetHighPosition(int value) { SetHighWide(value); }

void TTeRangeBar::SetLowWide(int64_t value) {
    if (value == low_) return;
    low_ = TrackClamp(value, min_, max_);
    if (high_ < low_) SetHighWide(low_);
    Invalidate();
    LowChange();
}

void TTeRangeBar::SetHighWide(int64_t value) {
    if (value == high_) return;
    high_ = TrackClamp(value, min_, max_);
    if (low_ > high_) SetLowWide(high_);
    Invalidate();
    HighChange();
}

void TTeRangeBar::LowChange() {
    if (OnLowChange) OnLowChange(this);
}

void TTeRangeBar::HighChange() {
    if (OnHighChange) OnHighChange(this);
}

void TTeRangeBar::SetThumbWidth(int value) {
    thumbWidth_ = std::clamp(value, 0, 0xFFFF);
    Invalidate();
}

void TTeRangeBar::SetHighlightInterval(bool value) {
    highlightInterval_ = value;
    Invalidate();
}

// ---- geometry --------------------------------------------------------------------------------

int TTeRangeBar::PositionCoordinate(int value) {
    if (max_ == min_) return 0;
    const int64_t travel = std::max<int64_t>(0, Travel(Vertical() ? Height() : Width()));
    const double share = static_cast<double>(travel) * (int64_t{value} - min_) / (int64_t{max_} - min_);
    return TrackClamp(int64_t{GetSideMargin()} + GetThumbWidth() - 1 + TrackRound(share),
                      std::numeric_limits<int>::min(), std::numeric_limits<int>::max());
}

int TTeRangeBar::CoordinatePosition(int coordinate) {
    const int64_t travel = Travel(Vertical() ? ClientHeight() : ClientWidth());
    if (travel <= 0) return min_;
    const double v = static_cast<double>(int64_t{max_} - min_) *
                         (int64_t{coordinate} - GetSideMargin() - GetThumbWidth() - 1) /
                         static_cast<double>(travel) +
                     min_;
    return TrackClamp(TrackRound(v), min_, max_);
}

TRect TTeRangeBar::ThumbRect(int c, bool high) {
    const int tw = GetThumbWidth(), t0 = TrackThumbTop(tickMarks_, showTicks_);
    const int x0 = high ? c : c - tw + 1;
    return Oriented(x0, t0, x0 + tw, t0 + TrackThumbAcross(tw));
}

// The cut corner faces the other thumb on the tick side.
int TTeRangeBar::ThumbPolygon(int c, bool high, TPoint (&p)[4]) {
    if (tickMarks_ == ktbmBoth) return 0;
    const int tw = GetThumbWidth(), t0 = TrackThumbTop(tickMarks_, showTicks_);
    const int b = t0 + TrackThumbAcross(tw) - 1;
    const int x0 = high ? c : c - tw + 1, x1 = high ? c + tw - 1 : c;
    const bool bottom = tickMarks_ == ktbmBottomRight;
    TPoint q[4];
    if (!high && bottom)
        q[0] = {x0, t0}, q[1] = {x1, t0}, q[2] = {x1, b}, q[3] = {x0, b - tw + 1};
    else if (!high)
        q[0] = {x1, t0}, q[1] = {x1, b}, q[2] = {x0, b}, q[3] = {x0, t0 + tw - 1};
    else if (bottom)
        q[0] = {x0, t0}, q[1] = {x1, t0}, q[2] = {x1, b - tw + 1}, q[3] = {x0, b};
    else
        q[0] = {x0, t0}, q[1] = {x1, t0 + tw - 1}, q[2] = {x1, b}, q[3] = {x0, b};
    for (int i = 0; i < 4; ++i) p[i] = OrientedPoint(q[i].x, q[i].y);
    return 4;
}

bool TTeRangeBar::PtInThumb(int x, int y, bool high) {
    const int c = PositionCoordinate(high ? high_ : low_);
    TPoint p[4];
    if (ThumbPolygon(c, high, p) == 4) return PointInPolygon(TPoint{x, y}, p, 3);
    return ThumbRect(c, high).Contains(TPoint{x, y});
}

bool TTeRangeBar::PtInLowThumb(int x, int y) { return LowThumbVisible && PtInThumb(x, y, false); }
bool TTeRangeBar::PtInHighThumb(int x, int y) { return HighThumbVisible && PtInThumb(x, y, true); }

bool TTeRangeBar::Themed() {
    return GetThemeLink(themeLink_) && IsObjectDefined(ktscRangeBar, themeObject_, themeLink_);
}

// ---- painting --------------------------------------------------------------------------------

void TTeRangeBar::PaintBuffer() {
    TCanvas& c = *Canvas();
    if (Themed()) {
        if (GetThemeLink(themeLink_)->IsTrackTransparent(ktscRangeBar, themeObject_))
            DrawControlBackground(this, c);
    } else if (transparent_) {
        DrawControlBackground(this, c);
    } else {
        TTeControl::PaintBuffer();
    }
    const int lowAt = PositionCoordinate(low_), highAt = PositionCoordinate(high_);
    const int length = Vertical() ? Height() : Width();
    DrawTrack(GetSideMargin(), length - GetSideMargin(), highAt, lowAt);
    if (IsFocused()) DrawFocusRect(c, TRect{0, 0, Width(), Height()}, clBlack);
    DrawTicks();
    DrawLowThumb(lowAt);
    DrawHighThumb(highAt);
}

void TTeRangeBar::DrawTrack(int start, int end, int highCoordinate, int lowCoordinate) {
    TCanvas& c = *Canvas();
    int a0 = 0, a1 = 0;
    TrackBandAcross(GetThumbWidth(), tickMarks_, showTicks_, false, a0, a1);
    TRect band = Oriented(start, a0, end, a1);
    if (Themed()) {
        GetThemeLink(themeLink_)
            ->TrackBarDraw(ktscTrackBar, c,
                           TrackBarInfo(band, band.Width() > band.Height() ? ktbcHorizontal : ktbcVertical,
                                        Enabled() ? ktrbdsNormal : ktrbdsDisabled),
                           "default");
        return;
    }
    FillRect(c, band, Enabled() ? clBtnHighlight : clBtnFace);
    if (Enabled() && highlightInterval_)
        FillRect(c, Oriented(lowCoordinate, a0, highCoordinate, a1), clHighlight);
    DrawEdge(c, band, clBtnShadow, clBtnHighlight);
    band = RectOffset(band, -1);
    DrawEdge(c, band, cl3DDkShadow, cl3DLight);
}

void TTeRangeBar::DrawLowThumb(int coordinate) {
    if (LowThumbVisible) DrawOneThumb(coordinate, false);
}

void TTeRangeBar::DrawHighThumb(int coordinate) {
    if (HighThumbVisible) DrawOneThumb(coordinate, true);
}

void TTeRangeBar::DrawOneThumb(int coordinate, bool high) {
    TCanvas& c = *Canvas();
    const bool dragging = high ? dragHigh_ : dragLow_, hot = high ? highHot_ : lowHot_;
    if (Themed()) {
        const int tw = GetThumbWidth(), h = tw / 2, t0 = TrackThumbTop(tickMarks_, showTicks_);
        const TRect r = Oriented(coordinate - h, t0, coordinate - h + tw, t0 + TrackThumbAcross(tw));
        GetThemeLink(themeLink_)
            ->TrackDrawThumb(ktscTrackBar, c,
                             TrackThumbInfo(r, TrackThumbClass(Vertical(), tickMarks_),
                                            TrackThumbState(Enabled(), dragging, hot, IsFocused())),
                             "default");
        return;
    }
    TPoint p[4];
    if (ThumbPolygon(coordinate, high, p) != 4) {
        DrawClassicBoxThumb(c, ThumbRect(coordinate, high), dragging);
        return;
    }
    if (dragging)
        FillHalftonePolygon(c, p, 3, clBtnHighlight, clBtnFace);
    else
        FillPolygon(c, p, 3, clBtnFace);
    // Lit edges face up or left: their outward side has the smaller
    // coordinate. The corners run clockwise on screen.
    for (int i = 0; i < 4; ++i) {
        const TPoint a = p[i], b = p[(i + 1) % 4];
        const int nx = b.y - a.y, ny = a.x - b.x;
        const bool lit = ny < 0 || (ny == 0 && nx < 0);
        MoveTo(c, a.x, a.y);
        LineTo(c, b.x, b.y, lit ? clBtnHighlight : cl3DDkShadow);
    }
}

void TTeRangeBar::DrawTick(int value, int coordinate, bool topLeft) {
    DrawTickLine(*Canvas(), value == min_ || value == max_, coordinate, topLeft, GetThumbWidth(), 8);
}

void TTeRangeBar::DrawTicks() {
    ForEachTickSide(min_, max_,
                    [this](int value, bool topLeft) { DrawTick(value, PositionCoordinate(value), topLeft); });
}

// ---- input -----------------------------------------------------------------------------------

void TTeRangeBar::MouseLeave() {
    TTeControl::MouseLeave();
    if (lowHot_ || highHot_) {
        lowHot_ = highHot_ = false;
        Invalidate();
    }
}

void TTeRangeBar::HasFocus() {
    TTeControl::HasFocus();
    Invalidate();
}

void TTeRangeBar::KillFocus() {
    TTeControl::KillFocus();
    Invalidate();
}

void TTeRangeBar::KeyDown(WORD& key, TShiftState shift) {
    TTeControl::KeyDown(key, shift);
    const bool high = shift.Contains(ssShift) || shift.Contains(ssCtrl);
    const int64_t p = high ? high_ : low_;
    int64_t to = p;
    switch (key) {
        case VK_PRIOR: to = p - pageSize_; break;
        case VK_NEXT: to = p + pageSize_; break;
        case VK_END: to = max_; break;
        case VK_HOME: to = min_; break;
        case VK_LEFT:
        case VK_UP: to = p - lineSize_; break;
        case VK_RIGHT:
        case VK_DOWN: to = p + lineSize_; break;
        default: return;
    }
    if (high)
        SetHighWide(to);
    else
        SetLowWide(to);
}

void TTeRangeBar::MouseDown(TMouseButton button, TShiftState shift, int x, int y) {
    TTeControl::MouseDown(button, shift, x, y);
    if (CanFocus()) SetFocus();
    if (button != mbLeft) return;
    if (PtInLowThumb(x, y)) {
        dragLow_ = true;
    } else if (PtInHighThumb(x, y)) {
        dragHigh_ = true;
    } else {
        const int v = CoordinatePosition(Vertical() ? y : x);
        SetLowPosition(v);
        SetHighPosition(v);
    }
    Invalidate();
}

void TTeRangeBar::MouseMove(TShiftState shift, int x, int y) {
    TTeControl::MouseMove(shift, x, y);
    const int along = std::clamp(Vertical() ? y : x, 0, Vertical() ? ClientHeight() : ClientWidth());
    const int h = GetThumbWidth() / 2;
    if (dragLow_) SetLowPosition(CoordinatePosition(along + h));
    if (dragHigh_) SetHighPosition(CoordinatePosition(along - h));
    const bool lowHot = PtInLowThumb(x, y), highHot = PtInHighThumb(x, y);
    if (lowHot != lowHot_ || highHot != highHot_) {
        lowHot_ = lowHot;
        highHot_ = highHot;
        Invalidate();
    }
}

void TTeRangeBar::MouseUp(TMouseButton button, TShiftState shift, int x, int y) {
    TTeControl::MouseUp(button, shift, x, y);
    if (button != mbLeft) return;
    dragLow_ = dragHigh_ = false;
    Invalidate();
}

}  // namespace tarvel
