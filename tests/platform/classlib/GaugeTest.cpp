// The gauge: clamped progress, the filled share per kind, the percentage.

#include "platform/classlib/Gauges.h"

#include "ControlFixture.h"

namespace tarvel {
namespace {

class GaugeTest : public ControlFixture {};

TEST_F(GaugeTest, ProgressIsClampedToTheRange) {
    auto* g = Add<TGauge>("Gauge", Bounds(10, 10, 100, 20));
    struct Case {
        int set, progress, percent;
    } cases[] = {{50, 50, 50}, {-5, 0, 0}, {100, 100, 100}, {250, 100, 100}, {33, 33, 33}};
    for (const Case& c : cases) {
        g->SetProgress(c.set);
        EXPECT_EQ(g->Progress(), c.progress) << c.set;
        EXPECT_EQ(g->PercentDone(), c.percent) << c.set;
    }
    g->SetMaxValue(200);
    g->SetProgress(50);
    EXPECT_EQ(g->PercentDone(), 25);
    g->SetMaxValue(20);  // a smaller range pulls the progress in
    EXPECT_EQ(g->Progress(), 20);
}

TEST_F(GaugeTest, FillsItsShareInTheForeColourPerKind) {
    struct Case {
        TGaugeKind kind;
        TPoint filled, empty;
    } cases[] = {
        {gkHorizontalBar, {10, 10}, {90, 10}},
        {gkVerticalBar, {10, 30}, {10, 5}},
        {gkPie, {52, 12}, {25, 15}},  // a quarter from twelve o'clock, clockwise
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.kind);
        auto* g = Add<TGauge>("Gauge" + IntToStr(c.kind), Bounds(10, 10, 80, 40));
        g->SetKind(c.kind);
        g->SetShowText(false);
        g->SetForeColor(clLime);
        g->SetBackColor(clWhite);
        g->SetProgress(c.kind == gkPie ? 25 : 50);
        if (c.kind == gkHorizontalBar) g->SetWidth(100);
        ShowForm();
        EXPECT_EQ(PixelAt(g, c.filled), 0x00FF00u);
        EXPECT_EQ(PixelAt(g, c.empty), 0xFFFFFFu);
        delete g;
    }
}

TEST_F(GaugeTest, ShowsThePercentageInItsFontColour) {
    auto* g = Add<TGauge>("Gauge", Bounds(10, 10, 80, 30));
    g->SetProgress(40);
    g->SetForeColor(clWhite);
    g->Font()->SetColor(clRed);
    ShowForm();
    auto reddish = [](uint32_t p) { return (p >> 16) > 0xA0 && ((p >> 8) & 0xFF) < 0x60; };
    EXPECT_GT(CountPixels(g, reddish), 10);
    g->SetShowText(false);
    EXPECT_EQ(CountPixels(g, reddish), 0);
}

}  // namespace
}  // namespace tarvel
