// TGauge.

#include "platform/classlib/Gauges.h"

#include <algorithm>
#include <cmath>
#include <numbers>
#include <vector>

#include "platform/classlib/Colors.h"
#include "platform/classlib/StdCtrls_Draw.h"

namespace tarvel {

TGauge::TGauge(TComponent* owner) : TGraphicControl(owner) {
    ControlStyle += {csOpaque, csReplicatable};
    SetBounds(0, 0, 100, 100);
}

void TGauge::SetMinValue(int v) {
    if (v >= maxValue_) v = maxValue_ - 1;
    minValue_ = v;
    progress_ = std::clamp(progress_, minValue_, maxValue_);
    Invalidate();
}

void TGauge::SetMaxValue(int v) {
    if (v <= minValue_) v = minValue_ + 1;
    maxValue_ = v;
    progress_ = std::clamp(progress_, minValue_, maxValue_);
    Invalidate();
}

void TGauge::SetProgress(int v) { Change(progress_, std::clamp(v, minValue_, maxValue_)); }

int TGauge::PercentDone() const {
    const int64_t span = int64_t{maxValue_} - minValue_;
    return static_cast<int>((int64_t{progress_} - minValue_) * 100 / span);
}

void TGauge::Paint() {
    HDC dc = Canvas()->Handle();
    TRect r = ClientRect();
    if (borderStyle_ == bsSingle) {
        HBRUSH frame = CreateSolidBrush(ColorToColorRef(clBlack));
        FrameRect(dc, r, frame);
        DeleteObject(frame);
        r = TRect{r.left + 1, r.top + 1, r.right - 1, r.bottom - 1};
    }
    if (kind_ == gkPie)
        PaintPie(dc, r);
    else
        PaintBar(dc, r);
    if (showText_) PaintText(dc, r);
}

namespace {

// Text this much brighter or darker than what lies under it reads.
constexpr double kReadableContrast = 3.0;

// `wanted` where it reads on `under`; else black or white, whichever reads better.
TColor ReadableOn(TColor wanted, TColor under) {
    if (ContrastRatio(wanted, under) >= kReadableContrast) return wanted;
    return ContrastRatio(clBlack, under) >= ContrastRatio(clWhite, under) ? clBlack : clWhite;
}

}  // namespace

// The percentage is written in the font's colour over the empty part and in
// the inverse of the fill colour over the filled part, each where it reads;
// where it would not, in black or white.
void TGauge::PaintText(HDC dc, TRect r) {
    if (r.IsEmpty()) return;
    const String text = IntToStr(PercentDone()) + "%";
    const unsigned format = DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX;
    const TColor color = ReadableOn(Font()->Color(), backColor_);
    const TColor inverse = ReadableOn(static_cast<TColor>(ColorToRGB(foreColor_) ^ 0xFFFFFF), foreColor_);
    const TRect fill = FilledRect(r);
    int saved = SaveDC(dc);
    ExcludeClipRect(dc, fill.left, fill.top, fill.right, fill.bottom);
    DrawCaption(dc, Font(), text, r, format, color);
    RestoreDC(dc, saved);
    if (fill.IsEmpty()) return;
    saved = SaveDC(dc);
    IntersectClipRect(dc, fill.left, fill.top, fill.right, fill.bottom);
    DrawCaption(dc, Font(), text, r, format, inverse);
    RestoreDC(dc, saved);
}

// The part of a bar that shows the progress; empty for the other kinds.
TRect TGauge::FilledRect(TRect r) const {
    if (kind_ != gkHorizontalBar && kind_ != gkVerticalBar) return TRect{r.left, r.top, r.left, r.top};
    const int64_t span = int64_t{maxValue_} - minValue_;
    const int64_t done = int64_t{progress_} - minValue_;
    TRect fill = r;
    if (kind_ == gkHorizontalBar)
        fill.right = r.left + static_cast<int>(r.Width() * done / span);
    else
        fill.top = r.bottom - static_cast<int>(r.Height() * done / span);
    return fill;
}

void TGauge::PaintBar(HDC dc, TRect r) {
    FillColor(dc, r, backColor_);
    const TRect fill = FilledRect(r);
    if (!fill.IsEmpty()) FillColor(dc, fill, foreColor_);
}

void TGauge::PaintPie(HDC dc, TRect r) {
    FillColor(dc, r, Color());
    int saved = SaveDC(dc);
    HPEN pen = CreatePen(PS_SOLID, 1, ColorToColorRef(clBlack));
    HBRUSH back = CreateSolidBrush(ColorToColorRef(backColor_));
    SelectObject(dc, pen);
    SelectObject(dc, back);
    Ellipse(dc, r.left, r.top, r.right, r.bottom);
    const double share =
        static_cast<double>(int64_t{progress_} - minValue_) / (int64_t{maxValue_} - minValue_);
    if (share > 0) {
        // The wedge runs clockwise from twelve o'clock.
        const double cx = r.left + r.Width() / 2.0, cy = r.top + r.Height() / 2.0;
        const double rx = r.Width() / 2.0 - 1, ry = r.Height() / 2.0 - 1;
        std::vector<TPoint> points{TPoint{static_cast<int>(cx), static_cast<int>(cy)}};
        const int steps = std::max(2, static_cast<int>(share * 90));
        for (int i = 0; i <= steps; ++i) {
            const double a = share * 2 * std::numbers::pi * i / steps;
            points.push_back(TPoint{static_cast<int>(std::lround(cx + rx * std::sin(a))),
                                    static_cast<int>(std::lround(cy - ry * std::cos(a)))});
        }
        HBRUSH fore = CreateSolidBrush(ColorToColorRef(foreColor_));
        SelectObject(dc, fore);
        Polygon(dc, points.data(), static_cast<int>(points.size()));
        RestoreDC(dc, saved);
        DeleteObject(fore);
    } else {
        RestoreDC(dc, saved);
    }
    DeleteObject(pen);
    DeleteObject(back);
}

}  // namespace tarvel
