// TLineSeries, TChart.

#include "platform/classlib/Chart.h"

#include <algorithm>
#include <cmath>

#include "platform/classlib/DBGrids.h"
#include "platform/classlib/StdCtrls_Draw.h"
#include "platform/db/Database.h"

namespace tarvel {

namespace {

constexpr unsigned kLineText = DT_SINGLELINE | DT_NOPREFIX | DT_VCENTER;
constexpr double kFarPixel = 1e7;  // beyond any surface, within int

// "yyyy-mm-dd", optionally followed by " hh:nn" and ":ss": the database's time texts.
bool TryReadDateTime(std::string_view text, TDateTime& value) {
    DateParts p;
    int fields[6] = {0, 0, 0, 0, 0, 0};
    int count = 0;
    size_t i = 0;
    static constexpr char kSeparators[] = {'-', '-', ' ', ':', ':'};
    while (count < 6) {
        size_t digits = 0;
        int64_t n = 0;
        while (i < text.size() && text[i] >= '0' && text[i] <= '9' && digits < 5) {
            n = n * 10 + (text[i++] - '0');
            ++digits;
        }
        if (digits == 0) return false;
        fields[count++] = static_cast<int>(n);
        if (i == text.size() || count == 6) break;
        if (text[i] != kSeparators[count - 1]) return false;
        ++i;
    }
    if (i != text.size() || (count != 3 && count != 5 && count != 6)) return false;
    p.year = fields[0];
    p.month = fields[1];
    p.day = fields[2];
    p.hour = fields[3];
    p.minute = fields[4];
    p.second = fields[5];
    return TryEncodeDateTime(p, value);
}

bool TryReadValue(std::string_view text, double& value) {
    return TryReadDateTime(text, value) || TryStrToFloat(text, value);
}

// Reads the values of one query's column. Readings come in time order, a
// million of them over a month: the day of a "yyyy-mm-dd hh:nn:ss" text is
// read once while the rows stay on it, the time of day each row.
class ColumnReader {
public:
    bool Read(const Statement& row, int column, double& value) {
        std::string_view text;
        if (row.ColumnNumberOrText(column, value, text)) return true;
        if (text.size() == 19 && text[10] == ' ' && ReadOnTheSameDay(text, value)) return true;
        return TryReadValue(text, value);
    }

private:
    static bool TwoDigits(std::string_view text, size_t at, int& n) {
        const char a = text[at], b = text[at + 1];
        if (a < '0' || a > '9' || b < '0' || b > '9') return false;
        n = (a - '0') * 10 + (b - '0');
        return true;
    }

    bool ReadOnTheSameDay(std::string_view text, double& value) {
        const std::string_view day = text.substr(0, 10);
        if (day != day_) {
            double days = 0;
            if (!TryReadDateTime(day, days)) return false;
            day_.assign(day);
            days_ = days;
        }
        int hour = 0, minute = 0, second = 0;
        if (text[13] != ':' || text[16] != ':' || !TwoDigits(text, 11, hour) ||
            !TwoDigits(text, 14, minute) || !TwoDigits(text, 17, second) || hour > 23 || minute > 59 ||
            second > 59)
            return false;
        // As TryEncodeDateTime makes it, to the bit.
        const double fraction = static_cast<double>(((hour * 60 + minute) * 60 + second) * 1000) / 86400000.0;
        value = days_ < 0 ? days_ - fraction : days_ + fraction;
        return true;
    }

    std::string day_;
    double days_ = 0;
};

// 1, 2 or 5 times a power of ten, at least `raw`.
double NiceStep(double raw) {
    if (!(raw > 0) || !std::isfinite(raw)) return 1;
    const double power = std::pow(10.0, std::floor(std::log10(raw)));
    for (double m : {1.0, 2.0, 5.0, 10.0})
        if (m * power >= raw) return m * power;
    return 10 * power;
}

std::pair<double, double> Widened(double lo, double hi) {
    if (lo < hi) return {lo, hi};
    return {lo - 1, hi + 1};
}

int ToPixel(double v) { return static_cast<int>(std::lround(std::clamp(v, -kFarPixel, kFarPixel))); }

String AxisLabel(const TChartAxis& axis, double v, double step) {
    // Half a millisecond keeps a whole second from showing as the one before.
    if (axis.IsDateTime) return FormatDateTime(axis.DateTimeFormat, v + 0.5 / 86400000.0);
    return step >= 1 ? IntToStr(std::llround(v)) : FloatToStr(v);
}

}  // namespace

// ---- TLineSeries ----

TLineSeries::TLineSeries(TComponent* owner) : TComponent(owner) {}

TLineSeries::~TLineSeries() {
    Destroying();
    SetParentChart(nullptr);
    SetDataSource(nullptr, "", "");
}

void TLineSeries::SetParentChart(TChart* chart) {
    if (chart == chart_) return;
    if (chart_) {
        chart_->RemoveSeries(this);
        chart_->RemoveFreeNotification(this);
    }
    chart_ = chart;
    if (chart_) {
        chart_->AddSeries(this);
        chart_->FreeNotification(this);
    }
}

void TLineSeries::SetSeriesColor(TColor color) {
    color_ = color;
    Changed();
}

void TLineSeries::SetActive(bool active) {
    active_ = active;
    Changed();
}

void TLineSeries::Clear() {
    xs_.clear();
    ys_.clear();
    xSorted_ = true;
    Changed();
}

void TLineSeries::AddXY(double x, double y) {
    if (!xs_.empty() && x < xs_.back()) xSorted_ = false;
    xs_.push_back(x);
    ys_.push_back(y);
    Changed();
}

void TLineSeries::SetDataSource(TQuery* query, const String& xField, const String& yField) {
    if (query_ != query) {
        if (query_) query_->RemoveFreeNotification(this);
        query_ = query;
        if (query_) query_->FreeNotification(this);
    }
    xField_ = xField;
    yField_ = yField;
}

void TLineSeries::CheckDataSource() {
    xs_.clear();
    ys_.clear();
    xSorted_ = true;
    if (query_ && query_->Active()) {
        const int xf = query_->FieldIndex(xField_), yf = query_->FieldIndex(yField_);
        if (xf >= 0 && yf >= 0) {
            const auto add = [this](double x, double y) {
                if (!xs_.empty() && x < xs_.back()) xSorted_ = false;
                xs_.push_back(x);
                ys_.push_back(y);
            };
            // Rows a grid has read already, then the rest straight from the
            // statement: a month of readings is kept as its points, not as texts.
            for (int r = 0; r < query_->RecordCount(); ++r) {
                double x = 0, y = 0;
                if (TryReadValue(query_->Value(r, xf), x) && TryReadValue(query_->Value(r, yf), y)) add(x, y);
            }
            ColumnReader xs, ys;
            query_->ReadRest([&](const Statement& row) {
                double x = 0, y = 0;
                if (xs.Read(row, xf, x) && ys.Read(row, yf, y)) add(x, y);
            });
        }
    }
    Changed();
}

void TLineSeries::Notification(TComponent* component, TOperation operation) {
    TComponent::Notification(component, operation);
    if (operation != TOperation::opRemove) return;
    if (component == chart_) chart_ = nullptr;
    if (component == query_) query_ = nullptr;
}

void TLineSeries::Changed() {
    if (chart_) chart_->AxisChanged();
}

// ---- TChart ----

TChart::TChart(TComponent* owner) : TCustomControl(owner) {
    ControlStyle += {csOpaque};
    SetBounds(0, 0, 400, 250);
    SetColor(clBtnFace);
    bottomAxis_.IsDateTime = false;
}

TChart::~TChart() {
    Destroying();
    for (TLineSeries* series : std::vector<TLineSeries*>(series_)) series->SetParentChart(nullptr);
}

String TChart::UiState() {
    size_t points = 0;
    for (TLineSeries* s : series_) points += static_cast<size_t>(s->Count());
    return "title=" + title_ + " series=" + IntToStr(SeriesCount()) + " points=" + UIntToStr(points) +
           " end=" + FloatToStr(bottomAxis_.EndPosition) + " pan=" + IntToStr(panOffset_);
}

void TChart::SetTitle(const String& title) {
    title_ = title;
    Invalidate();
}

void TChart::SetTitleColor(TColor color) {
    titleColor_ = color;
    Invalidate();
}

void TChart::SetLegendVisible(bool visible) {
    legendVisible_ = visible;
    Invalidate();
}

void TChart::AxisChanged() {
    xData_.reset();
    yData_.reset();
    Invalidate();
}

void TChart::SetPanOffset(int pixels) {
    pixels = std::clamp(pixels, 0, MaxPanOffset());
    if (pixels == panOffset_) return;
    panOffset_ = pixels;
    Invalidate();
}

void TChart::AddSeries(TLineSeries* series) {
    series_.push_back(series);
    AxisChanged();
}

void TChart::RemoveSeries(TLineSeries* series) {
    std::erase(series_, series);
    AxisChanged();
}

void TChart::Notification(TComponent* component, TOperation operation) {
    TCustomControl::Notification(component, operation);
    if (operation == TOperation::opRemove && std::erase(series_, component)) AxisChanged();
}

std::pair<double, double> TChart::XRange() {
    if (!bottomAxis_.Automatic) return Widened(bottomAxis_.Minimum, bottomAxis_.Maximum);
    if (!xData_) xData_ = XDataRange();
    return *xData_;
}

std::pair<double, double> TChart::YRange() {
    if (!leftAxis_.Automatic) return Widened(leftAxis_.Minimum, leftAxis_.Maximum);
    if (!yData_) yData_ = YDataRange();
    return *yData_;
}

std::pair<double, double> TChart::XDataRange() const {
    double lo = INFINITY, hi = -INFINITY;
    for (const TLineSeries* s : series_) {
        if (!s->Active() || s->Count() == 0) continue;
        if (s->XSorted()) {
            lo = std::min(lo, s->XValue(0));
            hi = std::max(hi, s->XValue(s->Count() - 1));
            continue;
        }
        for (int i = 0; i < s->Count(); ++i) {
            lo = std::min(lo, s->XValue(i));
            hi = std::max(hi, s->XValue(i));
        }
    }
    if (lo > hi) return {0, 1};
    return Widened(lo, hi);
}

std::pair<double, double> TChart::YDataRange() const {
    double lo = INFINITY, hi = -INFINITY;
    for (const TLineSeries* s : series_) {
        if (!s->Active()) continue;
        for (int i = 0; i < s->Count(); ++i) {
            lo = std::min(lo, s->YValue(i));
            hi = std::max(hi, s->YValue(i));
        }
    }
    if (lo > hi) return {0, 1};
    return Widened(lo, hi);
}

// Title on top, the left axis's title over its labels, the bottom axis's
// labels and title below, the legend at the right.
TRect TChart::PlotRect() {
    const int line = std::abs(Font()->Height()) + 6;
    int left = 8;
    for (const Label& l : YLabels()) left = std::max(left, TextWidthOf(Font(), Utf8ToWide(l.text)) + 12);
    int top = 6 + (title_.empty() ? 0 : line) + (leftAxis_.Title.empty() ? 0 : line);
    int right = Width() - 16;
    if (legendVisible_) {
        for (const TLineSeries* s : series_)
            if (s->ShowInLegend())
                right = std::min(right, Width() - 28 - TextWidthOf(Font(), Utf8ToWide(s->Title())) - 24);
    }
    const int bottom = Height() - 6 - line - (bottomAxis_.Title.empty() ? 0 : line);
    return TRect{left, top + 4, std::max(left + 1, right), std::max(top + 5, bottom)};
}

// YLabels needs the plot's height but PlotRect needs the labels' width:
// the labels come from the height the plot has without them, which is all
// they depend on.
std::vector<TChart::Label> TChart::YLabels() {
    const int line = std::abs(Font()->Height()) + 6;
    const int top = 10 + (title_.empty() ? 0 : line) + (leftAxis_.Title.empty() ? 0 : line);
    const int bottom = Height() - 6 - line - (bottomAxis_.Title.empty() ? 0 : line);
    const int h = std::max(1, bottom - top);
    const auto [lo, hi] = YRange();
    const double step = NiceStep((hi - lo) / std::max(1, h / 30));
    std::vector<Label> labels;
    const double first = std::ceil(lo / step) * step;
    for (int i = 0; i <= h / 10 + 1; ++i) {
        const double v = first + i * step;
        if (v > hi + step * 1e-9) break;
        const int pos = bottom - ToPixel((v - lo) / (hi - lo) * h);
        labels.push_back({pos, step >= 1 ? IntToStr(std::llround(v)) : FloatToStr(v)});
    }
    return labels;
}

int TChart::AxisLength() {
    const TRect plot = PlotRect();
    return ToPixel(plot.Width() * (bottomAxis_.EndPosition - bottomAxis_.StartPosition) / 100.0);
}

int TChart::MaxPanOffset() {
    const TRect plot = PlotRect();
    const int start = ToPixel(plot.Width() * bottomAxis_.StartPosition / 100.0);
    return std::max(0, start + AxisLength() - plot.Width());
}

int TChart::XToPixel(double x) {
    const TRect plot = PlotRect();
    const auto [lo, hi] = XRange();
    const double start = plot.left + plot.Width() * bottomAxis_.StartPosition / 100.0 - panOffset_;
    return ToPixel(start + (x - lo) / (hi - lo) * AxisLength());
}

double TChart::PixelToX(int px) {
    const TRect plot = PlotRect();
    const auto [lo, hi] = XRange();
    const double start = plot.left + plot.Width() * bottomAxis_.StartPosition / 100.0 - panOffset_;
    return lo + (px - start) / std::max(1, AxisLength()) * (hi - lo);
}

double TChart::VisibleXMin() { return std::max(XRange().first, PixelToX(PlotRect().left)); }
double TChart::VisibleXMax() { return std::min(XRange().second, PixelToX(PlotRect().right)); }

int TChart::YToPixel(double y) {
    const TRect plot = PlotRect();
    const auto [lo, hi] = YRange();
    return ToPixel(plot.bottom - (y - lo) / (hi - lo) * plot.Height());
}

std::vector<TChart::Label> TChart::XLabels() {
    const TRect plot = PlotRect();
    const double lo = VisibleXMin(), hi = VisibleXMax();
    std::vector<Label> labels;
    if (!(lo <= hi)) return labels;
    const auto [axisLo, axisHi] = XRange();
    const double perPixel = (axisHi - axisLo) / std::max(1, AxisLength());
    double step = bottomAxis_.Increment > 0 ? bottomAxis_.Increment : NiceStep(perPixel * 100);
    const int labelWidth = TextWidthOf(Font(), Utf8ToWide(AxisLabel(bottomAxis_, lo, step))) + 12;
    // Steps that would crowd the labels widen by whole multiples, ones that
    // divide an hour or a day where they can, so labels stay on round times.
    const double room = labelWidth * perPixel;
    static constexpr int kMultiples[] = {1,  2,  3,  4,   5,   6,   10,  12,  15,
                                         20, 30, 60, 120, 180, 240, 360, 720, 1440};
    double k = 1;
    for (int m : kMultiples) {
        k = m;
        if (step * k >= room) break;
    }
    while (step * k < room) k *= 2;
    step *= k;
    const double first = std::ceil(lo / step - 1e-9) * step;
    const int most = plot.Width() / std::max(1, labelWidth) + 2;
    for (int i = 0; i < most; ++i) {
        const double v = first + i * step;
        if (v > hi + step * 1e-9) break;
        labels.push_back({XToPixel(v), AxisLabel(bottomAxis_, v, step)});
    }
    return labels;
}

std::vector<String> TChart::BottomLabels() {
    std::vector<String> texts;
    for (const Label& l : XLabels()) texts.push_back(l.text);
    return texts;
}

void TChart::PaintSeries(HDC dc, const TLineSeries& s, const TRect& plot) {
    if (!s.Active() || s.Count() == 0) return;
    // Plain names, not bindings: the lambdas below capture them.
    const std::pair<double, double> xRange = XRange(), yRange = YRange();
    const double xLo = xRange.first, xHi = xRange.second, yLo = yRange.first, yHi = yRange.second;
    const double start = plot.left + plot.Width() * bottomAxis_.StartPosition / 100.0 - panOffset_;
    const double xScale = AxisLength() / (xHi - xLo), yScale = plot.Height() / (yHi - yLo);
    auto px = [&](int i) { return ToPixel(start + (s.XValue(i) - xLo) * xScale); };
    auto py = [&](int i) { return ToPixel(plot.bottom - (s.YValue(i) - yLo) * yScale); };

    int first = 0, last = s.Count() - 1;
    if (s.XSorted()) {
        // From the point before the plot's left edge to the one after its right edge.
        const double leftX = xLo + (plot.left - start) / xScale, rightX = xLo + (plot.right - start) / xScale;
        const std::vector<double>& xs = s.XValues();
        const auto begin = static_cast<int>(std::lower_bound(xs.begin(), xs.end(), leftX) - xs.begin());
        const auto end = static_cast<int>(std::upper_bound(xs.begin(), xs.end(), rightX) - xs.begin());
        first = std::max(0, begin - 1);
        last = std::min(s.Count() - 1, end);
    }
    // Points on one pixel column become its first, lowest, highest and last
    // point: the same picture, at most four points a column.
    scratch_.clear();
    for (int i = first; i <= last;) {
        const int x = px(i);
        const int y0 = py(i);
        int lo = y0, hi = y0, yLast = y0;
        int j = i + 1;
        while (s.XSorted() && j <= last && px(j) == x) {
            yLast = py(j);
            lo = std::min(lo, yLast);
            hi = std::max(hi, yLast);
            ++j;
        }
        scratch_.push_back({x, y0});
        if (j > i + 1) {
            if (lo != y0) scratch_.push_back({x, lo});
            if (hi != lo) scratch_.push_back({x, hi});
            if (yLast != hi) scratch_.push_back({x, yLast});
        }
        i = j;
    }
    HPEN pen = CreatePen(PS_SOLID, 1, ColorToColorRef(s.SeriesColor()));
    HPEN old = SelectObject(dc, pen);
    if (scratch_.size() == 1)
        SetPixel(dc, scratch_[0].x, scratch_[0].y, ColorToColorRef(s.SeriesColor()));
    else
        Polyline(dc, scratch_.data(), static_cast<int>(scratch_.size()));
    SelectObject(dc, old);
    DeleteObject(pen);
}

void TChart::Paint() {
    panOffset_ = std::clamp(panOffset_, 0, MaxPanOffset());
    HDC dc = Canvas()->Handle();
    const TRect client = ClientRect();
    FillColor(dc, client, Color());
    const TRect plot = PlotRect();
    const int line = std::abs(Font()->Height()) + 6;
    TFont* font = Font();

    int top = 6;
    if (!title_.empty()) {
        DrawCaption(dc, font, title_, TRect{0, top, client.right, top + line}, kLineText | DT_CENTER,
                    titleColor_);
        top += line;
    }
    if (!leftAxis_.Title.empty())
        DrawCaption(dc, font, leftAxis_.Title, TRect{4, top, client.right, top + line}, kLineText | DT_LEFT,
                    leftAxis_.TitleColor);
    if (!bottomAxis_.Title.empty())
        DrawCaption(dc, font, bottomAxis_.Title,
                    TRect{plot.left, client.bottom - 4 - line, plot.right, client.bottom - 4},
                    kLineText | DT_CENTER, bottomAxis_.TitleColor);

    FillColor(dc, plot, clWhite);
    HPEN grid = CreatePen(PS_SOLID, 1, ColorToColorRef(clSilver));
    HPEN axis = CreatePen(PS_SOLID, 1, ColorToColorRef(clBlack));
    HPEN old = SelectObject(dc, grid);
    for (const Label& l : YLabels()) {
        MoveToEx(dc, plot.left, l.pos, nullptr);
        LineTo(dc, plot.right, l.pos);
        DrawCaption(dc, font, l.text, TRect{0, l.pos - line / 2, plot.left - 6, l.pos + line / 2},
                    kLineText | DT_RIGHT, clBlack);
    }
    for (const Label& l : XLabels()) {
        if (l.pos < plot.left || l.pos > plot.right) continue;
        MoveToEx(dc, l.pos, plot.top, nullptr);
        LineTo(dc, l.pos, plot.bottom);
        const int w = TextWidthOf(font, Utf8ToWide(l.text));
        DrawCaption(dc, font, l.text,
                    TRect{l.pos - w / 2 - 2, plot.bottom + 4, l.pos + w / 2 + 2, plot.bottom + 4 + line},
                    kLineText | DT_CENTER, clBlack);
    }
    SelectObject(dc, axis);
    MoveToEx(dc, plot.left, plot.top, nullptr);
    LineTo(dc, plot.left, plot.bottom);
    LineTo(dc, plot.right, plot.bottom);
    SelectObject(dc, old);
    DeleteObject(grid);
    DeleteObject(axis);

    const int saved = SaveDC(dc);
    IntersectClipRect(dc, plot.left, plot.top, plot.right + 1, plot.bottom + 1);
    for (const TLineSeries* s : series_) PaintSeries(dc, *s, plot);
    RestoreDC(dc, saved);

    if (!legendVisible_) return;
    int y = plot.top;
    for (const TLineSeries* s : series_) {
        if (!s->ShowInLegend()) continue;
        const TRect mark{plot.right + 12, y + line / 2 - 1, plot.right + 28, y + line / 2 + 1};
        FillColor(dc, mark, s->SeriesColor());
        DrawCaption(dc, font, s->Title(), TRect{mark.right + 4, y, client.right, y + line},
                    kLineText | DT_LEFT, clBlack);
        y += line;
    }
}

void TChart::MouseDown(TMouseButton button, TShiftState shift, int x, int y) {
    TCustomControl::MouseDown(button, shift, x, y);
    if (button != mbLeft || !allowPanning_) return;
    dragFrom_ = x;
    dragOffset_ = panOffset_;
    SetMouseCapture(true);
}

void TChart::MouseMove(TShiftState shift, int x, int y) {
    TCustomControl::MouseMove(shift, x, y);
    if (dragFrom_) SetPanOffset(dragOffset_ - (x - *dragFrom_));
}

void TChart::MouseUp(TMouseButton button, TShiftState shift, int x, int y) {
    if (button == mbLeft && dragFrom_) {
        SetPanOffset(dragOffset_ - (x - *dragFrom_));
        dragFrom_.reset();
        SetMouseCapture(false);
    }
    TCustomControl::MouseUp(button, shift, x, y);
}

}  // namespace tarvel
