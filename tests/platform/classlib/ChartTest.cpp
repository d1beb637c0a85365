// The line chart: values to pixels on a stretched and panned bottom axis,
// date labels at whole steps that widen when crowded, a fixed left range,
// the line in its colour clipped to the plot, and points taken from a query.

#include "platform/classlib/Chart.h"

#include <cmath>
#include <vector>

#include "ControlFixture.h"
#include "platform/classlib/DBGrids.h"
#include "platform/classlib/StdCtrls_Draw.h"
#include "tests/TempFolderFixture.h"

namespace tarvel {
namespace {

class ChartTest : public ControlFixture {
protected:
    ChartTest() {
        chart = Add<TChart>("cht", Bounds(10, 10, 440, 300));
        chart->SetColor(clWhite);
        chart->SetLegendVisible(false);
        series = new TLineSeries(form);
        series->SetParentChart(chart);
        series->SetSeriesColor(clRed);
    }

    void AddLine(int count, double x0, double dx, double y0, double dy) {
        for (int i = 0; i < count; ++i) series->AddXY(x0 + i * dx, y0 + i * dy);
    }

    TChart* chart = nullptr;
    TLineSeries* series = nullptr;
};

TEST_F(ChartTest, TheEndPositionStretchesTheBottomAxisAndPanningMovesIt) {
    AddLine(101, 0, 1, 0, 1);
    ShowForm();
    const TRect plot = chart->PlotRect();
    EXPECT_EQ(chart->XToPixel(0), plot.left);
    EXPECT_EQ(chart->XToPixel(100), plot.right);

    struct Case {
        double end;
        int pan;         // asked for
        int panKept;     // what the axis allows
        double visible;  // share of the data in view
    } cases[] = {
        {100, 50, 0, 1.0},
        {1000, 0, 0, 0.1},
        {1000, 100000, 9 * plot.Width(), 0.1},
        {50, 10, 0, 1.0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.end);
        chart->BottomAxis().EndPosition = c.end;
        chart->AxisChanged();
        chart->SetPanOffset(c.pan);
        EXPECT_EQ(chart->PanOffset(), c.panKept);
        EXPECT_NEAR(chart->VisibleXMax() - chart->VisibleXMin(), 100 * c.visible, 0.5);
    }
    chart->BottomAxis().EndPosition = 50;
    chart->AxisChanged();
    EXPECT_EQ(chart->XToPixel(100), plot.left + plot.Width() / 2);
}

TEST_F(ChartTest, DraggingWithTheLeftButtonPansWhenAllowed) {
    AddLine(101, 0, 1, 0, 1);
    chart->BottomAxis().EndPosition = 400;
    chart->AxisChanged();
    ShowForm();
    ui.Drag(chart, TPoint{300, 100}, TPoint{200, 100});
    EXPECT_EQ(chart->PanOffset(), 100);
    ui.Drag(chart, TPoint{100, 100}, TPoint{300, 100});  // not past the axis's start
    EXPECT_EQ(chart->PanOffset(), 0);

    chart->SetAllowPanning(false);
    ui.Drag(chart, TPoint{300, 100}, TPoint{200, 100});
    EXPECT_EQ(chart->PanOffset(), 0);
}

TEST_F(ChartTest, DateLabelsFallOnWholeStepsAndWidenWhenCrowded) {
    const TDateTime first = EncodeDate(2024, 3, 1);
    AddLine(4, first, 1, 3300, 10);  // 1 to 4 March
    chart->BottomAxis().IsDateTime = true;
    chart->BottomAxis().DateTimeFormat = "YYYY-MM-DD";
    chart->BottomAxis().Increment = kDateTimeOneDay;
    ShowForm();
    EXPECT_EQ(chart->BottomLabels(),
              (std::vector<String>{"2024-03-01", "2024-03-02", "2024-03-03", "2024-03-04"}));

    // Minutes over three days do not fit: the step widens to whole days.
    chart->BottomAxis().DateTimeFormat = "YYYY-MM-DD HH:MM";
    chart->BottomAxis().Increment = kDateTimeOneMinute;
    chart->AxisChanged();
    const std::vector<String> labels = chart->BottomLabels();
    ASSERT_GE(labels.size(), 2u);
    EXPECT_LE(labels.size(), static_cast<size_t>(chart->PlotRect().Width() / 100 + 2));
    EXPECT_EQ(labels.front(), "2024-03-01 00:00");
    EXPECT_EQ(labels[1], "2024-03-02 00:00");

    // Stretched 300 times, the first minutes are in view one by one.
    chart->BottomAxis().EndPosition = 30000;
    chart->AxisChanged();
    const std::vector<String> close = chart->BottomLabels();
    ASSERT_GE(close.size(), 2u);
    EXPECT_EQ(close[0], "2024-03-01 00:00");
    EXPECT_LT(close[1], "2024-03-01 00:16");
}

TEST_F(ChartTest, AFixedLeftRangePlacesTheValues) {
    AddLine(3, 0, 1, 3200, 450);  // 3200 .. 4100
    chart->LeftAxis().Automatic = false;
    chart->LeftAxis().Minimum = 1920;
    chart->LeftAxis().Maximum = 4510;
    ShowForm();
    const TRect plot = chart->PlotRect();
    EXPECT_EQ(chart->YToPixel(1920), plot.bottom);
    EXPECT_EQ(chart->YToPixel(4510), plot.top);
    chart->LeftAxis().Automatic = true;
    chart->AxisChanged();
    EXPECT_EQ(chart->YToPixel(3200), plot.bottom);
    EXPECT_EQ(chart->YToPixel(4100), plot.top);
}

TEST_F(ChartTest, TheLineIsDrawnInItsColourWithinThePlotOnly) {
    AddLine(2, 0, 100, 50, 0);  // level across the plot
    ShowForm();
    const TPoint mid{chart->XToPixel(50), chart->YToPixel(50)};
    EXPECT_EQ(PixelAt(chart, mid), Rgb(clRed));
    EXPECT_NE(PixelAt(chart, TPoint{mid.x, mid.y - 20}), Rgb(clRed));

    // Stretched and panned to its middle: nothing red spills out of the plot.
    chart->BottomAxis().EndPosition = 300;
    chart->AxisChanged();
    chart->SetPanOffset(chart->PlotRect().Width());
    const TRect plot = chart->PlotRect();
    int outside = 0, inside = 0;
    Snap();
    for (int y = 0; y < chart->ClientHeight(); ++y) {
        for (int x = 0; x < chart->ClientWidth(); ++x) {
            if (PixelAt(chart, TPoint{x, y}) != Rgb(clRed)) continue;
            (x >= plot.left && x <= plot.right && y >= plot.top && y <= plot.bottom ? inside : outside)++;
        }
    }
    EXPECT_GT(inside, plot.Width() / 2);
    EXPECT_EQ(outside, 0);
}

TEST_F(ChartTest, ManyPointsOnOnePixelKeepTheirHighestAndLowest) {
    // 10,000 flat points with one spike up and one down in the middle.
    for (int i = 0; i < 10000; ++i) series->AddXY(i, i == 5000 ? 200 : i == 5001 ? -200 : 0);
    ShowForm();
    const int x = chart->XToPixel(5000);
    EXPECT_EQ(PixelAt(chart, TPoint{x, chart->YToPixel(190)}), Rgb(clRed));
    EXPECT_EQ(PixelAt(chart, TPoint{x, chart->YToPixel(-190)}), Rgb(clRed));
}

// A series far longer than the plot is wide is drawn as at most four points
// a pixel column (its first, lowest, highest and last): the picture is the
// one that every point drawn as a line would make.
TEST_F(ChartTest, ALongSeriesDrawsThePictureEveryPointWould) {
    constexpr int kPoints = 200000;
    for (int i = 0; i < kPoints; ++i)
        series->AddXY(i, 3300 + 250 * std::sin(i / 9000.0) + (i * 7919 % 97) - (i % 1300 == 0 ? 400 : 0));
    ShowForm();
    const TRect plot = chart->PlotRect();
    const auto [xLo, xHi] = chart->XRange();
    const auto [yLo, yHi] = chart->YRange();
    const double xScale = plot.Width() / (xHi - xLo), yScale = plot.Height() / (yHi - yLo);
    std::vector<TPoint> every;
    every.reserve(kPoints);
    for (int i = 0; i < kPoints; ++i) {
        every.push_back({static_cast<int>(std::lround(plot.left + (series->XValue(i) - xLo) * xScale)),
                         static_cast<int>(std::lround(plot.bottom - (series->YValue(i) - yLo) * yScale))});
    }
    // Every point drawn into a picture of its own, clipped as the chart clips.
    HDC dc = CreateCompatibleDC(nullptr);
    HBITMAP bitmap = CreateCompatibleBitmap(dc, chart->ClientWidth(), chart->ClientHeight());
    HBITMAP oldBitmap = SelectObject(dc, bitmap);
    FillColor(dc, chart->ClientRect(), clWhite);
    IntersectClipRect(dc, plot.left, plot.top, plot.right + 1, plot.bottom + 1);
    HPEN pen = CreatePen(PS_SOLID, 1, ColorToColorRef(clRed));
    HPEN oldPen = SelectObject(dc, pen);
    Polyline(dc, every.data(), static_cast<int>(every.size()));
    const std::shared_ptr<Surface> reference = GetDCSurface(dc);

    Snap();
    int red = 0, differing = 0;
    for (int y = 0; y < chart->ClientHeight(); ++y) {
        for (int x = 0; x < chart->ClientWidth(); ++x) {
            const bool drawn = PixelAt(chart, TPoint{x, y}) == Rgb(clRed);
            const bool expected = (reference->Pixel(x, y) & 0xFFFFFFu) == Rgb(clRed);
            red += drawn;
            differing += drawn != expected;
        }
    }
    SelectObject(dc, oldPen);
    DeleteObject(pen);
    SelectObject(dc, oldBitmap);
    DeleteObject(bitmap);
    DeleteDC(dc);
    EXPECT_GT(red, plot.Width());
    EXPECT_EQ(differing, 0) << "of " << red << " red pixels";
}

TEST_F(ChartTest, ASeriesTakesItsPointsFromTwoFieldsOfAQuery) {
    testing::TempFolder folder;
    Database db(folder.File("chart.db"));
    db.Execute(
        "CREATE TABLE T(RecordTime TEXT, BATT INTEGER);"
        "INSERT INTO T VALUES('2024-03-01 08:00:00', 3300), ('2024-03-01 09:30:00', 3350),"
        "('not a time', 3400), ('2024-03-02 10:00:00', ''), ('2024-03-02 11:00:00', 3310),"
        "('2024-02-30 11:00:00', 3000), ('2024-03-02 12:00:00', NULL), (NULL, 3320)");
    auto* query = new TQuery(form);
    query->Open(db.Prepare("SELECT RecordTime, BATT FROM T"));
    series->SetDataSource(query, "RecordTime", "BATT");
    series->CheckDataSource();
    ASSERT_EQ(series->Count(), 3);  // rows whose values read as no time or number are left out
    // The rows went straight into the points: the query kept none of them.
    EXPECT_EQ(query->RecordCount(), 0);
    EXPECT_TRUE(query->Eof());
    // Rows a grid has read already count as well as those still to come.
    query->Open(db.Prepare("SELECT RecordTime, BATT FROM T"));
    query->FetchTo(2);
    series->CheckDataSource();
    ASSERT_EQ(series->Count(), 3);
    EXPECT_EQ(query->RecordCount(), 2);
    EXPECT_DOUBLE_EQ(series->XValue(0), EncodeDateTime({2024, 3, 1, 8, 0, 0, 0}));
    EXPECT_DOUBLE_EQ(series->YValue(1), 3350);
    EXPECT_DOUBLE_EQ(series->XValue(2), EncodeDateTime({2024, 3, 2, 11, 0, 0, 0}));
    EXPECT_TRUE(series->XSorted());

    series->SetDataSource(query, "RecordTime", "I");  // no such field
    series->CheckDataSource();
    EXPECT_EQ(series->Count(), 0);
    delete query;
    series->CheckDataSource();  // the query gone, the series is empty, not broken
    EXPECT_EQ(series->Count(), 0);
}

}  // namespace
}  // namespace tarvel
