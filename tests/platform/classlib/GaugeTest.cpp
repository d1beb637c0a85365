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
// the inverse of the fill over the filled part, each where it reaches a
// contrast of 3:1 with what lies under it; otherwise in black or white,
// whichever reads better there.
TEST_F(GaugeTest, ThePercentageReadsOverTheFillAndOverTheEmptyPart) {
    const struct {
        TColor fore, back, overFill, overEmpty;
    } cases[] = {
        {clBlue, clWhite, clYellow, clRed},     // the inverse and the font colour read
        {clLime, clWhite, clBlack, clRed},      // magenta on lime does not
        {clGreen, clYellow, clWhite, clRed},    // pink on dark green does not
        {clLime, 0x6A6AFF, clBlack, clBlack},   // nor red on light red
        {clYellow, clSilver, clBlue, clBlack},  // nor red on silver
    };
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
        const uint32_t fillText = Rgb(c.overFill), emptyText = Rgb(c.overEmpty);
        auto count = [&](int from, int to, uint32_t colour) {
            int n = 0;
            for (int y = 0; y < 30; ++y)
                for (int x = from; x < to; ++x) n += PixelAt(g, TPoint{x, y}) == colour;
            return n;
        };
        EXPECT_GT(count(0, 60, fillText), 8) << "text over the filled part";
        EXPECT_GT(count(60, 120, emptyText), 8) << "text over the empty part";
        if (fillText != emptyText) {
            EXPECT_EQ(count(0, 60, emptyText), 0);
            EXPECT_EQ(count(60, 120, fillText), 0);
        }
        EXPECT_GE(ContrastRatio(c.overFill, c.fore), 3.0);
        EXPECT_GE(ContrastRatio(c.overEmpty, c.back), 3.0);
        g->SetShowText(false);
        const uint32_t fore = Rgb(c.fore), back = Rgb(c.back);
        EXPECT_EQ(CountPixels(g, [&](uint32_t p) { return p != fore && p != back; }), 0);
        delete g;
    }
}

// Relative luminance and contrast as the accessibility guidelines give them.
TEST_F(GaugeTest, ContrastRatiosOfKnownPairs) {
    EXPECT_DOUBLE_EQ(ContrastRatio(clBlack, clWhite), 21.0);
    EXPECT_DOUBLE_EQ(ContrastRatio(clWhite, clWhite), 1.0);
    EXPECT_NEAR(ContrastRatio(clRed, clWhite), 4.0, 0.01);
    EXPECT_NEAR(ContrastRatio(clRed, clLime), 2.91, 0.01);
    EXPECT_NEAR(RelativeLuminance(0x777777), 0.1845, 0.001);
}

}  // namespace
}  // namespace tarvel
