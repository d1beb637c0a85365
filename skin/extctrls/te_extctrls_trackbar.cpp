#include "skin/extctrls/te_extctrls_trackbar.h"

#include <algorithm>
#include <cmath>
#include <limits>

#include "skin/core/te_const.h"
#include "skin/core/te_theme_api.h"
#include "skin/core/te_utils.h"
#include "skin/core/te_utils_draw.h"

namespace tarvel {

namespace {

int RoundHalfEven(double v) {
    return static_cast<int>(
        TrackClamp(TrackRound(v), std::numeric_limits<int>::min(), std::numeric_limits<int>::max()));
}

int ClampInt(int64_t v, int lo, int hi) { return TrackClamp(v, lo, hi); }

}  // namespace

int64_t TrackRound(double v) {
    constexpr double kLimit = 9.0e18;
    return static_cast<int64_t>(std::nearbyint(std::clamp(v, -kLimit, kLimit)));
}

int TrackClamp(int64_t v, int lo, int hi) { return static_cast<int>(std::clamp<int64_t>(v, lo, hi)); }

TRect TrackOriented(bool vertical, int alongStart, int acrossStart, int alongEnd, int acrossEnd) {
    return vertical ? TRect{acrossStart, alongStart, acrossEnd, alongEnd}
                    : TRect{alongStart, acrossStart, alongEnd, acrossEnd};
}

TPoint TrackOrientedPoint(bool vertical, int along, int across) {
    return vertical ? TPoint{across, along} : TPoint{along, across};
}

void ForEachTrackTick(int min, int max, int frequency, int length, const std::function<void(int)>& tick) {
    tick(min);
    tick(max);
    frequency = std::max(1, frequency);
    // One tick a pixel at the most: a range finer than that shows its ends only.
    const int64_t span = static_cast<int64_t>(max) - min;
    if (span / frequency > std::max(1, length)) return;
    int64_t below = min / frequency;
    if (min % frequency != 0 && min < 0) --below;
    for (int64_t v = (below + 1) * frequency; v < max; v += frequency) tick(static_cast<int>(v));
}

void DrawClassicTrack(TCanvas& c, TRect band, bool enabled, const TRect* highlight) {
    FillRect(c, band, enabled ? clBtnHighlight : clBtnFace);
    if (enabled && highlight) FillRect(c, *highlight, clHighlight);
    DrawEdge(c, band, clBtnShadow, clBtnHighlight);
    band = RectOffset(band, -1);
    DrawEdge(c, band, cl3DDkShadow, cl3DLight);
}

void DrawClassicBoxThumb(TCanvas& c, const TRect& r, bool dragging) {
    if (dragging)
        FillHalftoneRect(c, r, clBtnHighlight, clBtnFace);
    else
        FillRect(c, r, clBtnFace);
    DrawEdge(c, r, clBtnHighlight, clBlack);
    DrawEdge(c, RectOffset(r, -1), clBtnFace, clBtnShadow);
}

TteTrackThumbClass TrackThumbClass(bool vertical, TTeTickMark marks) {
    static const TteTrackThumbClass kHorz[] = {ktbmHorzBoth, ktbmHorzBottom, ktbmHorzTop};
    static const TteTrackThumbClass kVert[] = {ktbmVertBoth, ktbmVertRight, ktbmVertLeft};
    return (vertical ? kVert : kHorz)[marks];
}

TteTrackThumbDrawState TrackThumbState(bool enabled, bool dragging, bool hot, bool focused) {
    return !enabled   ? kttdsDisabled
           : dragging ? kttdsPressed
           : hot      ? kttdsHot
           : focused  ? kttdsFocused
                      : kttdsNormal;
}

int TrackThumbAcross(int thumbWidth) { return RoundHalfEven(thumbWidth * 2.2); }

int TrackThumbTop(TTeTickMark marks, bool showTicks) {
    return kTrackTopBottomMargin + (showTicks && marks != ktbmBottomRight ? 5 : 0);
}

void TrackBandAcross(int thumbWidth, TTeTickMark marks, bool showTicks, bool narrowBoth, int& start,
                     int& end) {
    const int h = thumbWidth / 2, quarter = thumbWidth / 4, s = TrackThumbAcross(thumbWidth);
    start = kTrackTopBottomMargin + (marks == ktbmTopLeft ? h : quarter) +
            (showTicks && marks != ktbmBottomRight ? 5 : 0);
    end = start + s - (marks == ktbmBoth ? 2 * quarter : h + quarter);
    if (marks == ktbmBoth && narrowBoth) {
        ++start;
        --end;
    }
}

void TTeTrackBar::DeclareMessages(TMessageTable& t) {
    t.Add<&TTeTrackBar::WMGetDlgCode>(WM_GETDLGCODE);
    t.Add<&TTeTrackBar::CMEnabledChanged>(CM_ENABLEDCHANGED);
    t.Add<&TTeTrackBar::SNMThemeMessage>(SNM_THEMEMESSAGE);
    t.Add<&TTeTrackBar::SNMLinkChanged>(SNM_LINKCHANGED);
}

// ---- the layout both sliders share -------------------------------------------------------------

void TTeTrackLayout::SetOrientation(TTeTrackOrientation value) {
    orientation_ = value;
    bar_->Invalidate();
}

void TTeTrackLayout::SetTickMarks(TTeTickMark value) {
    tickMarks_ = value;
    bar_->Invalidate();
}

void TTeTrackLayout::SetShowTicks(bool value) {
    showTicks_ = value;
    bar_->Invalidate();
}

void TTeTrackLayout::SetFrequency(int value) {
    frequency_ = std::max(1, value);
    bar_->Invalidate();
}

void TTeTrackLayout::SetTransparent(bool value) {
    transparent_ = value;
    bar_->Invalidate();
}

void TTeTrackLayout::ForEachTickSide(int min, int max,
                                     const std::function<void(int value, bool topLeft)>& tick) const {
    if (!showTicks_) return;
    ForEachTrackTick(min, max, frequency_, Vertical() ? bar_->Height() : bar_->Width(), [&](int value) {
        if (tickMarks_ != ktbmBottomRight) tick(value, true);
        if (tickMarks_ != ktbmTopLeft) tick(value, false);
    });
}

void TTeTrackLayout::DrawTickLine(TCanvas& canvas, bool end, int coordinate, bool topLeft, int thumbWidth,
                                  int farGap) const {
    const int len = end ? 4 : 3;
    const int s = TrackThumbAcross(thumbWidth);
    const int start = topLeft ? 10 : tickMarks_ == ktbmBoth ? s + farGap + 4 : s + farGap;
    const TPoint from = OrientedPoint(coordinate, start);
    const TPoint to = OrientedPoint(coordinate, topLeft ? start - len : start + len);
    MoveTo(canvas, from.x, from.y);
    LineTo(canvas, to.x, to.y, clBlack);
}

// ---- the track bar -----------------------------------------------------------------------------

TTeTrackBar::TTeTrackBar(TComponent* owner)
    : TTeControl(owner), TTeThemeLinked(this, {ktlrSkipSame}), TTeTrackLayout(this, true) {
    SetPerformance(qvpDoubleBuffer);
    SetTabStop(true);
    ControlStyle.Include(csCaptureMouse);
    SetBounds(Left(), Top(), 150, 45);
    AddThemeNotification(this);
}

TTeTrackBar::~TTeTrackBar() { RemoveThemeNotification(this); }

void TTeTrackBar::Loaded() {
    TTeControl::Loaded();
    FollowThemeLink(true);
}

void TTeTrackBar::Notification(TComponent* component, TOperation operation) {
    TTeControl::Notification(component, operation);
    ForgetThemeLink(component, operation);
}

void TTeTrackBar::WMGetDlgCode(TMessage& m) {
    DispatchFrom(inherited::StaticClass(), m);
    m.Result = DLGC_WANTARROWS;
}

void TTeTrackBar::CMEnabledChanged(TMessage& m) {
    DispatchFrom(inherited::StaticClass(), m);
    Invalidate();
}

void TTeTrackBar::SNMThemeMessage(TMessage& m) {
    switch (m.WParam) {
        case tmChanged:
        case tmApply:
            Invalidate();
            if (TteTheme* theme = GetThemeLink(themeLink_)) {
                const TRect bounds = theme->GetBounds(themeObject_);
                if (!bounds.IsEmpty()) SetBoundsRect(bounds);
            }
            break;
        case tmReleased:
        case tmSystemChanged: Invalidate(); break;
        default: break;
    }
}

void TTeTrackBar::SNMLinkChanged(TMessage& m) {
    if (IsOwnLinkMessage(m)) FollowThemeLink(true);
}

// ---- properties ------------------------------------------------------------------------------

void TTeTrackBar::SetMin(int value) {
    if (value >= max_) return;
    min_ = value;
    if (position_ < min_) SetPosition(min_);
    Invalidate();
}

void TTeTrackBar::SetMax(int value) {
    if (value <= min_) return;
    max_ = value;
    if (position_ > max_) SetPosition(max_);
    Invalidate();
}

void TTeTrackBar::SetPosition(int value) { SetPositionWide(value); }

void TTeTrackBar::SetPositionWide(int64_t value) {
    if (value == position_) return;
    position_ = ClampInt(value, min_, max_);
    Invalidate();
    Change();
}

void TTeTrackBar::Change() {
    if (OnChange) OnChange(this);
}

void TTeTrackBar::SetThumbHalfWidth(int value) {
    thumbHalfWidth_ = std::clamp(value, 0, 0xFFFF);
    Invalidate();
}

void TTeTrackBar::SetIntervalHighlightType(TIntervalHighlightType value) {
    highlight_ = value;
    Invalidate();
}

void TTeTrackBar::SetThumbVisible(bool value) {
    thumbVisible_ = value;
    Invalidate();
}

// ---- geometry --------------------------------------------------------------------------------

int TTeTrackBar::PositionCoordinate(int value) {
    if (max_ == min_) return 0;
    const int h = GetThumbWidth() / 2;
    const int64_t travel = std::max(0, Travel());
    const double share = static_cast<double>(travel) * (static_cast<int64_t>(value) - min_) /
                         (static_cast<int64_t>(max_) - min_);
    return ClampInt(static_cast<int64_t>(GetSideMargin()) + h + RoundHalfEven(share),
                    std::numeric_limits<int>::min(), std::numeric_limits<int>::max());
}

int TTeTrackBar::CoordinatePosition(int coordinate) {
    const int travel = Travel();
    if (travel <= 0) return min_;
    const int h = GetThumbWidth() / 2;
    const double v = static_cast<double>(static_cast<int64_t>(coordinate) - GetSideMargin() - h) *
                         (static_cast<int64_t>(max_) - min_) / travel +
                     min_;
    int64_t r = RoundHalfEven(v);
    const int64_t m = r % frequency_;
    r = m > frequency_ / 2 ? r - m + frequency_ : r - m;
    return ClampInt(r, min_, max_);
}

int TTeTrackBar::ThumbPolygon(int c, TPoint (&p)[5]) {
    const int tw = GetThumbWidth(), h = GetThumbWidth() / 2;
    const int t0 = TrackThumbTop(tickMarks_, showTicks_), b = t0 + TrackThumbAcross(tw) - 1;
    const int x0 = c - h, x1 = x0 + tw - 1;
    if (tickMarks_ == ktbmBoth) return 0;
    const TPoint down[5] = {{x0, t0}, {x1, t0}, {x1, b - h}, {c, b}, {x0, b - h}};
    const TPoint up[5] = {{c, t0}, {x1, t0 + h}, {x1, b}, {x0, b}, {x0, t0 + h}};
    const TPoint* q = tickMarks_ == ktbmBottomRight ? down : up;
    for (int i = 0; i < 5; ++i) p[i] = OrientedPoint(q[i].x, q[i].y);
    return 5;
}

bool TTeTrackBar::PtInThumb(int x, int y) {
    const int c = PositionCoordinate(position_);
    TPoint p[5];
    if (ThumbPolygon(c, p) == 5) return PointInPolygon(TPoint{x, y}, p, 4);
    const int t0 = TrackThumbTop(tickMarks_, showTicks_), h = GetThumbWidth() / 2;
    return Oriented(c - h, t0, c - h + GetThumbWidth(), t0 + TrackThumbAcross(GetThumbWidth()))
        .Contains(TPoint{x, y});
}

bool TTeTrackBar::Themed() {
    return GetThemeLink(themeLink_) && IsObjectDefined(ktscTrackBar, themeObject_, themeLink_);
}

// ---- painting --------------------------------------------------------------------------------

void TTeTrackBar::PaintBuffer() {
    TCanvas& c = *Canvas();
    if (Themed()) {
        if (GetThemeLink(themeLink_)->IsTrackTransparent(ktscTrackBar, themeObject_))
            DrawControlBackground(this, c);
    } else if (transparent_) {
        DrawControlBackground(this, c);
    } else {
        TTeControl::PaintBuffer();
    }
    const int coordinate = PositionCoordinate(position_);
    DrawTrack(GetSideMargin(), Length() - GetSideMargin(), coordinate);
    DrawTicks();
    DrawThumb(coordinate);
    if (IsFocused()) DrawFocusRect(c, TRect{0, 0, Width(), Height()}, clBlack);
}

void TTeTrackBar::DrawTrack(int start, int end, int thumbCoordinate) {
    TCanvas& c = *Canvas();
    int a0 = 0, a1 = 0;
    TrackBandAcross(GetThumbWidth(), tickMarks_, showTicks_, true, a0, a1);
    TRect band = Oriented(start, a0, end, a1);
    if (Themed()) {
        GetThemeLink(themeLink_)
            ->TrackBarDraw(ktscTrackBar, c,
                           TrackBarInfo(band, band.Width() > band.Height() ? ktbcHorizontal : ktbcVertical,
                                        Enabled() ? ktrbdsNormal : ktrbdsDisabled),
                           themeObject_);
        return;
    }
    const TRect part = highlight_ == htLowInterval ? Oriented(start, a0, thumbCoordinate, a1)
                                                   : Oriented(thumbCoordinate, a0, end, a1);
    DrawClassicTrack(c, band, Enabled(), highlight_ != htNone ? &part : nullptr);
}

void TTeTrackBar::DrawThumb(int coordinate) {
    if (!thumbVisible_) return;
    TCanvas& c = *Canvas();
    const int tw = GetThumbWidth(), h = tw / 2, t0 = TrackThumbTop(tickMarks_, showTicks_);
    const TRect r = Oriented(coordinate - h, t0, coordinate - h + tw, t0 + TrackThumbAcross(tw));
    if (Themed()) {
        GetThemeLink(themeLink_)
            ->TrackDrawThumb(ktscTrackBar, c,
                             TrackThumbInfo(r, TrackThumbClass(Vertical(), tickMarks_),
                                            TrackThumbState(Enabled(), dragging_, thumbHot_, IsFocused())),
                             themeObject_);
        return;
    }
    TPoint p[5];
    if (ThumbPolygon(coordinate, p) != 5) {
        DrawClassicBoxThumb(c, r, dragging_);
        return;
    }
    if (dragging_)
        FillHalftonePolygon(c, p, 4, clBtnHighlight, clBtnFace);
    else
        FillPolygon(c, p, 4, clBtnFace);
    // Edges facing up or left are lit, the others dark. Along the bar that
    // is every edge before the point's centre, and the flat edge at the
    // thumb's top.
    for (int i = 0; i < 5; ++i) {
        const TPoint a = p[i], b = p[(i + 1) % 5];
        const int alongA = Vertical() ? a.y : a.x, alongB = Vertical() ? b.y : b.x;
        const int acrossA = Vertical() ? a.x : a.y, acrossB = Vertical() ? b.x : b.y;
        const bool lit = alongA + alongB < 2 * coordinate || (acrossA == t0 && acrossB == t0);
        MoveTo(c, a.x, a.y);
        LineTo(c, b.x, b.y, lit ? clBtnHighlight : cl3DDkShadow);
    }
}

void TTeTrackBar::DrawTick(int value, int coordinate, bool topLeft) {
    DrawTickLine(*Canvas(), value == min_ || value == max_, coordinate, topLeft, GetThumbWidth(), 9);
}

void TTeTrackBar::DrawTicks() {
    ForEachTickSide(min_, max_,
                    [this](int value, bool topLeft) { DrawTick(value, PositionCoordinate(value), topLeft); });
}

// ---- input -----------------------------------------------------------------------------------

void TTeTrackBar::MouseLeave() {
    TTeControl::MouseLeave();
    if (thumbHot_) {
        thumbHot_ = false;
        Invalidate();
    }
}

void TTeTrackBar::HasFocus() {
    TTeControl::HasFocus();
    Invalidate();
}

void TTeTrackBar::KillFocus() {
    TTeControl::KillFocus();
    Invalidate();
}

void TTeTrackBar::KeyDown(WORD& key, TShiftState shift) {
    TTeControl::KeyDown(key, shift);
    const int64_t p = position_;
    switch (key) {
        case VK_PRIOR: SetPositionWide(p - pageSize_); break;
        case VK_NEXT: SetPositionWide(p + pageSize_); break;
        case VK_END: SetPositionWide(max_); break;
        case VK_HOME: SetPositionWide(min_); break;
        case VK_LEFT:
        case VK_UP: SetPositionWide(p - lineSize_); break;
        case VK_RIGHT:
        case VK_DOWN: SetPositionWide(p + lineSize_); break;
        default: break;
    }
}

void TTeTrackBar::MouseDown(TMouseButton button, TShiftState shift, int x, int y) {
    TTeControl::MouseDown(button, shift, x, y);
    if (CanFocus()) SetFocus();
    if (button != mbLeft) return;
    if (PtInThumb(x, y)) {
        dragging_ = true;
        Invalidate();
        return;
    }
    int64_t v = CoordinatePosition(Vertical() ? y : x);
    if (!jumpByClick_) {
        if (v == position_) return;
        v = v > position_ ? static_cast<int64_t>(position_) + pageSize_
                          : static_cast<int64_t>(position_) - pageSize_;
    }
    SetPositionWide(v);
}

void TTeTrackBar::MouseMove(TShiftState shift, int x, int y) {
    TTeControl::MouseMove(shift, x, y);
    const int along = std::clamp(Vertical() ? y : x, 0, Length());
    if (dragging_) SetPositionWide(CoordinatePosition(along));
    const bool hot = PtInThumb(x, y);
    if (hot != thumbHot_) {
        thumbHot_ = hot;
        Invalidate();
    }
}

void TTeTrackBar::MouseUp(TMouseButton button, TShiftState shift, int x, int y) {
    TTeControl::MouseUp(button, shift, x, y);
    if (button != mbLeft) return;
    dragging_ = false;
    Invalidate();
}

}  // namespace tarvel
