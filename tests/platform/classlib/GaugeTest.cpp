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

// The percentage is laid over the picture by XOR: over the filled part it
// takes the inverse of the fill colour, over the empty part the inverse of
// the background, whatever colour the font has.
TEST_F(GaugeTest, ThePercentageInvertsWhatLiesBeneathIt) {
    const struct { TColor fore, back; } cases[] = {{clLime, clWhite}, {clBlue, clYellow}, {clBlack, clWhite}};
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
        const uint32_t fore = Rgb(c.fore), back = Rgb(c.back);
        // Over each half: its own colour, XORed with the glyphs' grey
        // coverage where they are, the same in every channel.
        auto countInverted = [&](int from, int to, uint32_t under) {
            int inverted = 0;
            for (int y = 0; y < 30; ++y)
                for (int x = from; x < to; ++x) {
                    const uint32_t d = PixelAt(g, TPoint{x, y}) ^ under;
                    EXPECT_EQ(d, (d & 0xFF) * 0x010101u) << x << "," << y;
                    inverted += (d & 0xFF) >= 0xC0;
                }
            return inverted;
        };
        EXPECT_GT(countInverted(0, 60, fore), 8) << "text over the filled part";
        EXPECT_GT(countInverted(60, 120, back), 8) << "text over the empty part";
        g->SetShowText(false);
        EXPECT_EQ(CountPixels(g, [&](uint32_t p) { return p != fore && p != back; }), 0);
        delete g;
    }
}

}  // namespace
}  // namespace tarvel
