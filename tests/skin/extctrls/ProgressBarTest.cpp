// The progress bar: the filled fraction for any range, steps past Max, the
// classic chunks, and repaints only when the fill changes.

#include <gtest/gtest.h>

#include <climits>

#include "ExtCtrlsFixture.h"
#include "skin/extctrls/te_extctrls_progress.h"
#include "tests/skin/PaperFixture.h"

namespace tarvel {
namespace {

using testing::ExtCtrlsTest;
using testing::Rgb;

// Notes the progress parts the bar asks for.
class TProgressTheme : public TteTheme {
    TARVEL_CLASS(TProgressTheme, TteTheme)

public:
    std::vector<std::pair<int, TRect>> draws;
    bool IsProgressDefined(TteProgressSubclass, const String&) override { return true; }
    void ProgressDraw(TteProgressSubclass, TCanvas&, const TteProgressInfo& info, const String&) override {
        draws.emplace_back(info.Part, info.Rect);
    }
};

class ProgressBarTest : public ExtCtrlsTest {};

TEST_F(ProgressBarTest, TheFractionIsThatOfThePositionClampedToTheRange) {
    const struct {
        int min, max, position;
        float fraction;
    } cases[] = {
        {0, 100, 50, 0.5f},   {0, 100, 150, 1.0f}, {0, 100, -5, 0.0f}, {-50, 50, 0, 0.5f},
        {-50, 50, -50, 0.0f}, {10, 10, 10, 0.0f},  {100, 0, 50, 0.0f}, {INT_MIN, INT_MAX, 0, 0.5f},
    };
    TTeProgressBar* bar = Make<TTeProgressBar>(10, 10);
    for (const auto& c : cases) {
        bar->SetMin(c.min);
        bar->SetMax(c.max);
        EXPECT_NEAR(bar->GetPercent(c.position), c.fraction, 1e-6)
            << c.min << ".." << c.max << " at " << c.position;
    }
}

TEST_F(ProgressBarTest, StepsPastMaxKeepTheBarFull) {
    TTeProgressBar* bar = Make<TTeProgressBar>(10, 10);
    bar->SetStep(30);
    std::vector<int> filled;
    for (int i = 0; i < 5; ++i) {
        bar->StepIt();
        filled.push_back(bar->GetFilledRect().Width());
    }
    const int full = bar->GetBarRect().Width();
    EXPECT_EQ(bar->Position(), 150);
    EXPECT_EQ(filled, (std::vector<int>{41, 82, 122, full, full}));
    EXPECT_EQ(bar->FilledChunks(), bar->ChunkCount());
    bar->SetStep(500);
    EXPECT_EQ(bar->Step(), 100);
}

// 104 x 16: a bar of 100 x 12, chunks of 8 every 10 pixels, ten of them.
TEST_F(ProgressBarTest, ClassicChunksShowOneChunkPerTenth) {
    TTeProgressBar* bar = Make<TTeProgressBar>(10, 10);
    bar->SetBounds(10, 10, 104, 16);
    ASSERT_EQ(bar->ChunkSize(), 8);
    ASSERT_EQ(bar->ChunkCount(), 10);
    const struct {
        int position, chunks;
    } cases[] = {{0, 0}, {1, 0}, {10, 1}, {15, 2}, {50, 5}, {100, 10}, {130, 10}};
    for (const auto& c : cases) {
        bar->SetPosition(c.position);
        int shown = 0;
        for (int i = 0; i < 10; ++i)
            if (ShownAt(bar, 2 + i * 10 + 4, 8) == Rgb(clHighlight)) ++shown;
        EXPECT_EQ(shown, c.chunks) << c.position;
        // The gaps show the frame's fill.
        EXPECT_EQ(ShownAt(bar, 2 + 8, 8), Rgb(clBtnFace)) << c.position;
    }
}

TEST_F(ProgressBarTest, TheBarRepaintsOnlyWhenTheFillChanges) {
    auto* theme = new TProgressTheme();
    ChangeTheme(theme);
    TTeProgressBar* bar = Make<TTeProgressBar>(10, 10);
    bar->SetSmooth(true);
    bar->SetPosition(50);
    ui_.RunUntilIdle();
    const struct {
        int position;
        bool repaints;
    } steps[] = {{50, false}, {150, true}, {200, false}, {60, true}};
    for (const auto& s : steps) {
        theme->draws.clear();
        bar->SetPosition(s.position);
        ui_.RunUntilIdle();
        EXPECT_EQ(!theme->draws.empty(), s.repaints) << s.position;
    }
    ASSERT_EQ(theme->draws.size(), 2u);
    EXPECT_EQ(theme->draws[0].first, kppBarHorz);
    EXPECT_EQ(theme->draws[1].first, kppSolidHorz);
    EXPECT_EQ(theme->draws[1].second, bar->GetFilledRect());
    EXPECT_EQ(bar->GetFilledRect().Width(), 82);  // 60 % of 136, to the nearest pixel
}

TEST_F(ProgressBarTest, AVerticalBarFillsUpward) {
    TTeProgressBar* bar = Make<TTeProgressBar>(10, 10);
    bar->SetBounds(10, 10, 16, 104);
    bar->SetOrientation(kpoVertical);
    bar->SetPosition(25);
    const TRect r = bar->GetBarRect(), f = bar->GetFilledRect();
    EXPECT_EQ(f.bottom, r.bottom);
    EXPECT_EQ(f.Height(), 25);
    EXPECT_EQ(bar->FilledChunks(), 2);  // 2.5 chunks, halves to even
}

}  // namespace
}  // namespace tarvel
