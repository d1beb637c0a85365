// The drawn scroll bar: geometry, setters and events, the key table, drag
// clamping and repetition on the test clock, and its classic look.

#include <gtest/gtest.h>

#include <filesystem>
#include <vector>

#include "SkinControlFixture.h"
#include "skin/core/te_controls_scrollbar.h"
#include "skin/core/te_utils_system.h"

namespace tarvel {
namespace {

using testing::Rgb;
using testing::SkinControlTest;

struct TScrolled {
    TTeScrollCode code;
    int pos;
    friend bool operator==(const TScrolled&, const TScrolled&) = default;
};

class TeScrollBarTest : public SkinControlTest {
protected:
    // A horizontal bar whose track (between the buttons) is 200 pixels long.
    TTeScrollBar* MakeBar(int pageSize = 10) {
        bar_ = new TTeScrollBar(Form());
        bar_->SetParent(Form());
        bar_->SetBounds(20, 40, 200 + 2 * Thumb(), Thumb());
        bar_->SetPageSize(pageSize);
        bar_->OnScroll = [this](TObject*, TTeScrollCode code, int& pos) {
            scrolls_.push_back({code, pos});
            if (onScroll_) onScroll_(code, pos);
        };
        bar_->OnChange = [this](TObject*) { ++changes_; };
        Ui().RunUntilIdle();
        return bar_;
    }
    static int Thumb() { return GetSystemMetrics(SM_CYVTHUMB); }

    TPoint Screen(int x, int y) { return bar_->ClientToScreen(TPoint{x, y}); }
    void Down(int x, int y) {
        Ui().Backend().MouseMove(Screen(x, y));
        Ui().Backend().MouseDown(Screen(x, y));
        Ui().RunUntilIdle();
    }
    void MoveTo(int x, int y) {
        Ui().Backend().MouseMove(Screen(x, y));
        Ui().RunUntilIdle();
    }
    void Up(int x, int y) {
        Ui().Backend().MouseUp(Screen(x, y));
        Ui().RunUntilIdle();
    }
    void Wait(uint32_t ms) { Ui().AdvanceClock(ms, 1); }

    TTeScrollBar* bar_ = nullptr;
    std::vector<TScrolled> scrolls_;
    std::function<void(TTeScrollCode, int&)> onScroll_;
    int changes_ = 0;
};

TEST_F(TeScrollBarTest, ANewBarIsOneHundredTwentyOneWideAndAThumbHigh) {
    TTeScrollBar bar(nullptr);
    EXPECT_EQ(bar.Width(), 121);
    EXPECT_EQ(bar.Height(), Thumb());
    EXPECT_EQ(bar.Min(), 0);
    EXPECT_EQ(bar.Max(), 100);
    EXPECT_EQ(bar.Position(), 0);
    EXPECT_EQ(bar.PageSize(), 0);
    EXPECT_TRUE(bar.ShowButtons());
    EXPECT_EQ(bar.Orientation(), ksoHorizontal);
    EXPECT_EQ(bar.ThemeObject(), "default");
    EXPECT_EQ(bar.Performance(), qvpDoubleBuffer);
    EXPECT_TRUE(bar.ControlStyle.Contains(csCaptureMouse));
    EXPECT_TRUE(ThemeManager->IsSubscribed(&bar));
}

TEST_F(TeScrollBarTest, SettersHoldTheRangeAndTellChangesOnce) {
    MakeBar(0);
    bar_->SetPosition(150);
    EXPECT_EQ(bar_->Position(), 100);
    EXPECT_EQ(changes_, 1);
    bar_->SetPosition(150);
    bar_->SetPosition(100);
    EXPECT_EQ(changes_, 1);

    bar_->SetMax(-5);
    EXPECT_EQ(bar_->Max(), 0);
    EXPECT_EQ(bar_->Position(), 0);
    EXPECT_EQ(changes_, 2);
    bar_->SetMax(50);
    bar_->SetMin(80);  // above Max: becomes Max
    EXPECT_EQ(bar_->Min(), 50);
    EXPECT_EQ(bar_->Position(), 50);

    bar_->SetMin(0);
    bar_->SetPageSize(500);
    EXPECT_EQ(bar_->PageSize(), 51);
    bar_->SetPageSize(-3);
    EXPECT_EQ(bar_->PageSize(), 51);
    bar_->SetMax(20);
    EXPECT_EQ(bar_->PageSize(), 21);
    EXPECT_EQ(bar_->Position(), 20);
}

TEST_F(TeScrollBarTest, GeometryOfButtonsTrackAndSlider) {
    const int t = Thumb();
    MakeBar(10);
    EXPECT_EQ(bar_->GetBtnSize(), t);
    EXPECT_EQ(bar_->GetLeftTopBtnRect(), (TRect{0, 0, t, t}));
    EXPECT_EQ(bar_->GetRightBottomBtnRect(), (TRect{200 + t, 0, 200 + 2 * t, t}));
    EXPECT_EQ(bar_->GetBackgroundRect(), (TRect{t, 0, 200 + t, t}));
    EXPECT_EQ(bar_->GetSliderSize(), 20);  // round(200 * 10 / 101)

    // Range 91 over a track of 180 pixels.
    const struct {
        int page, position, coord;
    } cases[] = {{10, 0, t}, {10, 45, t + 89}, {10, 91, t + 180}, {10, 100, t + 180},
                 {0, 0, t},  {0, 50, t + 92},  {0, 100, t + 184}};
    for (const auto& k : cases) {
        bar_->SetPageSize(k.page);
        bar_->SetPosition(k.position);
        EXPECT_EQ(bar_->SliderCoord(), k.coord) << k.page << " " << k.position;
        const TRect slider = bar_->GetSliderRect();
        EXPECT_EQ(slider.left, k.coord);
        EXPECT_EQ(bar_->GetLeftTopTrackRect(), (TRect{t, 0, k.coord, t}));
        EXPECT_EQ(bar_->GetRightBottomTrackRect(), (TRect{slider.right, 0, 200 + t, t}));
    }
    bar_->SetPageSize(0);
    EXPECT_EQ(bar_->GetSliderSize(), t);

    bar_->SetPageSize(10);
    const struct {
        int coord, position;
    } back[] = {{t, 0}, {t + 89, 45}, {t + 180, 91}, {t + 200, 91}, {0, 0}};
    for (const auto& k : back) EXPECT_EQ(bar_->PositionOfCoord(k.coord), k.position) << k.coord;

    // Shorter than two buttons: buttons of half its length, no slider.
    bar_->SetBounds(20, 40, 20, t);
    EXPECT_EQ(bar_->GetBtnSize(), 10);
    EXPECT_EQ(bar_->GetSliderSize(), 0);
    EXPECT_TRUE(bar_->GetSliderRect().IsEmpty());

    // A vertical bar measures along its height.
    bar_->SetOrientation(ksoVertical);
    bar_->SetBounds(20, 40, t, 200 + 2 * t);
    EXPECT_EQ(bar_->GetBackgroundRect(), (TRect{0, t, t, 200 + t}));
    EXPECT_EQ(bar_->GetSliderSize(), 20);
    bar_->UpdateSytemSize();
    EXPECT_EQ(bar_->Width(), t);
}

TEST_F(TeScrollBarTest, ABorderInsetsEveryPartAndIsDrawnAsASunkenEdge) {
    const int t = Thumb();
    MakeBar(10);
    bar_->SetBorderWidth(2);
    bar_->UpdateSytemSize();
    EXPECT_EQ(bar_->Height(), t + 4);
    bar_->SetWidth(200 + 2 * t + 4);
    EXPECT_EQ(bar_->GetLeftTopBtnRect(), (TRect{2, 2, 2 + t, 2 + t}));
    EXPECT_EQ(bar_->GetRightBottomBtnRect(), (TRect{202 + t, 2, 202 + 2 * t, 2 + t}));
    EXPECT_EQ(bar_->GetBackgroundRect(), (TRect{2 + t, 2, 202 + t, 2 + t}));
    EXPECT_EQ(bar_->GetSliderSize(), 20);
    Ui().RunUntilIdle();
    EXPECT_EQ(ShownAt(bar_, 0, 0), Rgb(clBtnShadow));
    EXPECT_EQ(ShownAt(bar_, bar_->Width() - 1, t + 3), Rgb(clBtnHighlight));
}

TEST_F(TeScrollBarTest, KeysStepThroughScrollWithTheirCodes) {
    MakeBar(10);
    bar_->SetLargeChange(25);
    bar_->SetSmallChange(3);
    bar_->SetPosition(50);
    const struct {
        WORD key;
        TTeScrollCode code;
        int position;
    } cases[] = {{VK_PRIOR, kscPageUp, 40}, {VK_NEXT, kscPageDown, 50},  {VK_LEFT, kscLineUp, 47},
                 {VK_UP, kscLineUp, 44},    {VK_RIGHT, kscLineDown, 47}, {VK_DOWN, kscLineDown, 50},
                 {VK_END, kscBottom, 100},  {VK_NEXT, kscPageDown, 100}, {VK_HOME, kscTop, 0},
                 {VK_LEFT, kscLineUp, 0}};
    for (const auto& k : cases) {
        scrolls_.clear();
        WORD key = k.key;
        bar_->ImitateKeyDown(key, {});
        ASSERT_EQ(scrolls_.size(), 1u) << k.key;
        EXPECT_EQ(scrolls_[0], (TScrolled{k.code, k.position})) << k.key;
        EXPECT_EQ(bar_->Position(), k.position) << k.key;
    }
    // Without a page the large change steps.
    bar_->SetPageSize(0);
    WORD next = VK_NEXT;
    bar_->ImitateKeyDown(next, {});
    EXPECT_EQ(bar_->Position(), 25);
    // Other keys do nothing.
    scrolls_.clear();
    WORD other = 'A';
    bar_->ImitateKeyDown(other, {});
    EXPECT_TRUE(scrolls_.empty());
    // The handler has the last word.
    onScroll_ = [](TTeScrollCode, int& pos) { pos = 5; };
    WORD home = VK_HOME;
    bar_->ImitateKeyDown(home, {});
    EXPECT_EQ(bar_->Position(), 5);
}

TEST_F(TeScrollBarTest, DraggingPastTheEndStopsAtMaxAndReleaseTellsPositionThenEnd) {
    const int t = Thumb();
    MakeBar(0);
    Down(t + 4, 8);
    EXPECT_TRUE(bar_->GetSliderPressed());
    ASSERT_EQ(scrolls_.size(), 1u);
    EXPECT_EQ(scrolls_[0], (TScrolled{kscTrack, 0}));

    scrolls_.clear();
    MoveTo(t + 4 + 92, 8);  // the middle of the track
    EXPECT_EQ(bar_->Position(), 50);
    MoveTo(1000, 8);  // far past the end
    ASSERT_FALSE(scrolls_.empty());
    EXPECT_EQ(scrolls_.back(), (TScrolled{kscTrack, 101})) << "the mapping stops at Max - PageSize + 1";
    EXPECT_EQ(bar_->Position(), 100);
    MoveTo(-300, 8);
    EXPECT_EQ(bar_->Position(), 0);
    MoveTo(1000, 8);

    scrolls_.clear();
    Up(1000, 8);
    EXPECT_EQ(scrolls_, (std::vector<TScrolled>{{kscPosition, 100}, {kscEndScroll, 100}}));
    EXPECT_FALSE(bar_->GetSliderPressed());

    // A handler's change of the position does not move a dragged slider.
    onScroll_ = [](TTeScrollCode code, int& pos) {
        if (code == kscTrack) pos = 7;
    };
    Down(bar_->GetSliderRect().left + 2, 8);
    MoveTo(t + 2 + 46, 8);  // grabbed 2 pixels in: the edge at 46 of 184
    EXPECT_EQ(bar_->Position(), 25);
    Up(t + 2 + 46, 8);
}

// Holding the second button: a step at once, the next after the keyboard
// delay (400 ms), then one every 14 ms, until the button is let go or the
// pointer leaves it.
TEST_F(TeScrollBarTest, HoldingAButtonStepsAtOnceThenAfterTheDelayThenAtTheRate) {
    const int t = Thumb();
    ASSERT_EQ(GetKeyBoardDelayInterval(), 400);
    ASSERT_EQ(GetKeyBoardSpeedInterval(), 14);
    MakeBar(10);
    const int bx = 200 + t + 4;
    const struct {
        uint32_t wait;
        int position;
    } timeline[] = {{0, 1}, {399, 1}, {1, 2}, {13, 2}, {1, 3}, {14, 4}, {28, 6}};
    Down(bx, 8);
    for (const auto& step : timeline) {
        Wait(step.wait);
        EXPECT_EQ(bar_->Position(), step.position) << "after " << step.wait;
    }
    MoveTo(100, 8);  // off the button: no more steps
    Wait(100);
    EXPECT_EQ(bar_->Position(), 6);
    MoveTo(bx, 8);  // back on it: the steps go on
    Wait(14);
    EXPECT_EQ(bar_->Position(), 7);
    Up(bx, 8);
    Wait(1000);
    EXPECT_EQ(bar_->Position(), 7);
    EXPECT_FALSE(bar_->RepeatTimer()->Enabled());
    for (const TScrolled& s : scrolls_) EXPECT_TRUE(s.code == kscLineDown || s.code == kscEndScroll);
}

TEST_F(TeScrollBarTest, HoldingTheTrackPagesUntilTheSliderReachesThePointer) {
    MakeBar(10);
    Down(200, 8);
    EXPECT_EQ(bar_->Position(), 10);
    Wait(2000);
    // Slider at 90 covers the pointer: the track under it is no longer pressed.
    EXPECT_EQ(bar_->Position(), 90);
    EXPECT_TRUE(bar_->PtInSlider(TPoint{200, 8}));
    Up(200, 8);
    int pages = 0;
    for (const TScrolled& s : scrolls_) pages += s.code == kscPageDown ? 1 : 0;
    EXPECT_EQ(pages, 9);
}

TEST_F(TeScrollBarTest, AutoScrollRepeatsAtTheRateUntilTheEnd) {
    MakeBar(0);
    bar_->SetPosition(95);
    bar_->SetAutoSrcollDown(true);
    EXPECT_EQ(bar_->Position(), 95) << "no step at once";
    Wait(14);
    EXPECT_EQ(bar_->Position(), 96);
    Wait(1000);
    EXPECT_EQ(bar_->Position(), 100);
    EXPECT_FALSE(bar_->AutoScrollDown());
    EXPECT_FALSE(bar_->RepeatTimer()->Enabled());

    bar_->SetAutoSrcollDown(true);
    bar_->SetAutoSrcollUp(true);  // one direction at a time
    EXPECT_FALSE(bar_->AutoScrollDown());
    Wait(14 * 3);
    EXPECT_EQ(bar_->Position(), 97);
    bar_->SetAutoSrcollUp(false);
    Wait(1000);
    EXPECT_EQ(bar_->Position(), 97);
}

// With no theme the bar draws the classic look: a halftone track, frame
// control buttons and a raised slider; a dragged slider is flat.
TEST_F(TeScrollBarTest, ClassicLookWithoutATheme) {
    const int t = Thumb();
    MakeBar(10);
    bar_->SetPosition(45);
    Ui().RunUntilIdle();
    const int s = bar_->SliderCoord();
    const uint32_t a = ShownAt(bar_, t + 1, 1), b = ShownAt(bar_, t + 2, 1);
    EXPECT_NE(a, b) << "halftone";
    EXPECT_TRUE((a == Rgb(clScrollBar) && b == Rgb(clBtnHighlight)) ||
                (b == Rgb(clScrollBar) && a == Rgb(clBtnHighlight)));
    EXPECT_EQ(ShownAt(bar_, s, 0), Rgb(cl3DLight));
    EXPECT_EQ(ShownAt(bar_, s + 19, t - 1), Rgb(cl3DDkShadow));
    EXPECT_EQ(ShownAt(bar_, s + 1, 1), Rgb(clBtnHighlight));
    EXPECT_EQ(ShownAt(bar_, s + 10, 8), Rgb(clBtnFace));
    EXPECT_EQ(ShownAt(bar_, 2, 2), Rgb(clBtnFace)) << "the button's face";
    const auto shot = std::filesystem::path(TARVEL_BINARY_DIR) / "skin_scrollbar_classic.png";
    ASSERT_TRUE(Ui().SaveScreenshot(Form(), shot.string()));

    Down(s + 5, 8);
    EXPECT_EQ(ShownAt(bar_, s, 0), Rgb(clBtnShadow)) << "dragged: a flat outline";
    EXPECT_EQ(ShownAt(bar_, s + 1, 1), Rgb(clBtnFace));
    Up(s + 5, 8);
}

}  // namespace
}  // namespace tarvel
