#pragma once
// A line chart: a title, a left and a bottom axis with their titles and
// labels, and line series of (x, y) points, each of which can take its
// points from two fields of a query. The bottom axis can be stretched past
// the chart's width (its end position, in percent of the plot's width) and
// panned by dragging with the left button, so a month of readings can be
// read by the minute.

#include <optional>
#include <string_view>
#include <vector>

#include "platform/base/DateTime.h"
#include "platform/classlib/Controls.h"
#include "platform/classlib/UiAccess.h"

namespace tarvel {

class TChart;
class TQuery;

struct TChartAxis {
    // The range follows the data; else Minimum..Maximum.
    bool Automatic = true;
    double Minimum = 0, Maximum = 0;
    String Title;
    TColor TitleColor = clBlack;
    // Values are dates (TDateTime), labelled by DateTimeFormat.
    bool IsDateTime = false;
    String DateTimeFormat = "yyyy-mm-dd";
    // Labels at whole multiples of Increment (0: chosen by the room there is);
    // steps that would crowd the labels are widened by whole multiples.
    bool ExactDateTime = true;
    double Increment = 0;
    // Where the axis starts and ends, in percent of the plot's width or
    // height: 0 and 100 fill it; an end of 1000 makes it ten times as long.
    double StartPosition = 0, EndPosition = 100;
};

// One day, hour, minute and second as TDateTime steps.
inline constexpr double kDateTimeOneDay = 1.0;
inline constexpr double kDateTimeOneHour = 1.0 / 24;
inline constexpr double kDateTimeOneMinute = 1.0 / (24 * 60);
inline constexpr double kDateTimeOneSecond = 1.0 / (24 * 60 * 60);

class TLineSeries : public TComponent {
    TARVEL_CLASS(TLineSeries, TComponent)

public:
    explicit TLineSeries(TComponent* owner);
    ~TLineSeries() override;

    TChart* ParentChart() const { return chart_; }
    // Joins `chart` (leaving the one it was on).
    void SetParentChart(TChart* chart);

    TColor SeriesColor() const { return color_; }
    void SetSeriesColor(TColor color);
    bool ShowInLegend() const { return showInLegend_; }
    void SetShowInLegend(bool show) { showInLegend_ = show; }
    bool Active() const { return active_; }
    void SetActive(bool active);
    const String& Title() const { return title_; }
    void SetTitle(const String& title) { title_ = title; }

    void Clear();
    void AddXY(double x, double y);
    int Count() const { return static_cast<int>(xs_.size()); }
    double XValue(int i) const { return xs_.at(static_cast<size_t>(i)); }
    const std::vector<double>& XValues() const { return xs_; }
    double YValue(int i) const { return ys_.at(static_cast<size_t>(i)); }
    // X grows from point to point (the usual case of readings over time).
    bool XSorted() const { return xSorted_; }

    // The query and the fields the points come from. Date-time texts
    // ("yyyy-mm-dd hh:nn:ss") become dates, other texts numbers; a row whose
    // values read as neither is left out.
    void SetDataSource(TQuery* query, const String& xField, const String& yField);
    // Reads every row of the query into the points: the rows it has read
    // already, then the rest straight from its statement, which keeps none
    // of them. Raises EDatabaseError as the query does; a field the query
    // lacks gives no points.
    void CheckDataSource();

protected:
    void Notification(TComponent* component, TOperation operation) override;

private:
    void Changed();

    TChart* chart_ = nullptr;
    TColor color_ = clRed;
    bool showInLegend_ = true, active_ = true;
    String title_;
    std::vector<double> xs_, ys_;
    bool xSorted_ = true;
    TQuery* query_ = nullptr;
    String xField_, yField_;
};

class TChart : public TCustomControl, public IUiState {
    TARVEL_CLASS(TChart, TCustomControl)

public:
    explicit TChart(TComponent* owner);
    ~TChart() override;

    String UiState() override;

    const String& Title() const { return title_; }
    void SetTitle(const String& title);
    TColor TitleColor() const { return titleColor_; }
    void SetTitleColor(TColor color);
    bool LegendVisible() const { return legendVisible_; }
    void SetLegendVisible(bool visible);
    TChartAxis& LeftAxis() { return leftAxis_; }
    TChartAxis& BottomAxis() { return bottomAxis_; }
    // Call after changing an axis.
    void AxisChanged();
    // Dragging with the left button moves the bottom axis.
    bool AllowPanning() const { return allowPanning_; }
    void SetAllowPanning(bool allow) { allowPanning_ = allow; }
    // The chart's own zoom by dragging a rectangle; this chart has none to
    // offer, the property is kept for the code that switches it off.
    bool AllowZoom() const { return false; }
    void SetAllowZoom(bool) {}

    int SeriesCount() const { return static_cast<int>(series_.size()); }
    TLineSeries* Series(int i) const { return series_.at(static_cast<size_t>(i)); }

    // How far the stretched bottom axis is moved to the left, in pixels.
    int PanOffset() const { return panOffset_; }
    void SetPanOffset(int pixels);

    // Where things are drawn: the plot area and the bottom axis's visible
    // range; the value of a pixel and the pixel of a value.
    TRect PlotRect();
    double VisibleXMin();
    double VisibleXMax();
    double PixelToX(int px);
    int XToPixel(double x);
    int YToPixel(double y);
    // The range an axis shows now: its own or the data's.
    std::pair<double, double> XRange();
    std::pair<double, double> YRange();
    // The label texts of the bottom axis as drawn, left to right.
    std::vector<String> BottomLabels();

protected:
    void Paint() override;
    void MouseDown(TMouseButton button, TShiftState shift, int x, int y) override;
    void MouseMove(TShiftState shift, int x, int y) override;
    void MouseUp(TMouseButton button, TShiftState shift, int x, int y) override;
    void Notification(TComponent* component, TOperation operation) override;

private:
    friend class TLineSeries;
    void AddSeries(TLineSeries* series);
    void RemoveSeries(TLineSeries* series);
    std::pair<double, double> XDataRange() const;
    std::pair<double, double> YDataRange() const;
    int AxisLength();  // the stretched bottom axis in pixels
    int MaxPanOffset();
    struct Label {
        int pos;
        String text;
    };
    std::vector<Label> XLabels();
    std::vector<Label> YLabels();
    void PaintSeries(HDC dc, const TLineSeries& series, const TRect& plot);

    String title_;
    TColor titleColor_ = clBlack;
    bool legendVisible_ = true;
    bool allowPanning_ = true;
    TChartAxis leftAxis_, bottomAxis_;
    std::vector<TLineSeries*> series_;
    int panOffset_ = 0;
    std::optional<int> dragFrom_;
    int dragOffset_ = 0;
    std::vector<TPoint> scratch_;  // the polyline of one series, kept between paints
    // The data's ranges, found again after the points change.
    std::optional<std::pair<double, double>> xData_, yData_;
};

}  // namespace tarvel
