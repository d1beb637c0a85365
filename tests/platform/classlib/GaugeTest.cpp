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

// The percentage is written in the font's colour over the empty part and in
// the inverse of the fill over the filled part, so it reads on both.
TEST_F(GaugeTest, ThePercentageTakesTheFontColourAndTheFillsInverseOverTheFill) {
    const struct { TColor fore, back; } cases[] = {{clLime, clWhite}, {clBlue, clWhite}, {clGreen, clYellow}};
    for (const auto& c : cases) {
        SCOPED_TRACE(IntToHex(c.fore, 6) + " on " + IntToHex(c.back, 6));
        auto* g = Add<TGauge>("Gauge", Bounds(10, 10, 120, 30));
        g->SetProgress(50);
        g->SetForeColor(c.fore);
        g->SetBackColor(c.back);
        g->SetBorderStyle(bsNone);
        g->Font()->SetColor(clRed);
        g->Font()->SetSize(14);
        ShowForm();
        const uint32_t red = Rgb(clRed), inverse = Rgb(c.fore) ^ 0xFFFFFF;
        auto count = [&](int from, int to, uint32_t colour) {
            int n = 0;
            for (int y = 0; y < 30; ++y)
                for (int x = from; x < to; ++x) n += PixelAt(g, TPoint{x, y}) == colour;
            return n;
        };
        EXPECT_GT(count(0, 60, inverse), 8) << "inverse text over the filled part";
        EXPECT_EQ(count(0, 60, red), 0) << "no font-coloured text over the filled part";
        EXPECT_GT(count(60, 120, red), 8) << "font-coloured text over the empty part";
        EXPECT_EQ(count(60, 120, inverse), 0);
        g->SetShowText(false);
        const uint32_t fore = Rgb(c.fore), back = Rgb(c.back);
        EXPECT_EQ(CountPixels(g, [&](uint32_t p) { return p != fore && p != back; }), 0);
        delete g;
    }
}

}  // namespace
}  // namespace tarvel
