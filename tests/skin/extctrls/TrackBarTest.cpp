// The track bar: values and coordinates, snapping, clicks, keys, the
// guarded arithmetic, ticks and the parts it asks a theme for.

#include <gtest/gtest.h>

#include <climits>
#include <vector>

#include "ExtBarsFixture.h"
#include "skin/extctrls/te_extctrls_trackbar.h"

namespace tarvel {
namespace {

class TrackBarTest : public testing::ExtBarsTest {
protected:
    TTeTrackBar* MakeTrack() {
        auto* t = Make<TTeTrackBar>(10, 10);
        t->OnChange = [this](TObject*) { changes_.push_back(track_->Position()); };
        track_ = t;
        return t;
    }
    TTeTrackBar* track_ = nullptr;
    std::vector<int> changes_;
};

TEST_F(TrackBarTest, DraggedPositionsSnapToTheFrequency) {
    auto* t = MakeTrack();
    t->SetMax(100);
    t->SetMin(-100);
    t->SetFrequency(5);
    // Travel U = 150 - 18 - 9 = 123; the thumb centre runs from 13 to 136.
    struct Case {
        int coordinate, value;
    };
    const Case cases[] = {
        {13, -100}, {136, 100}, {0, -100}, {150, 100}, {75, 0},  // 0.81 -> 1: a remainder of 1 snaps down
        {76, 0},                                                 // 2.44 -> 2: so does 2
        {77, 5},                                                 // 4.07 -> 4: a remainder above 2 snaps up
        {80, 10},                                                // 8.9 -> 9
        {72, 0},   // -4.07 -> -4: the remainder takes the sign, so below 0 it snaps toward 0
        {70, -5},  // -7.32 -> -7
    };
    for (const Case& c : cases) EXPECT_EQ(t->CoordinatePosition(c.coordinate), c.value) << c.coordinate;
    EXPECT_EQ(t->PositionCoordinate(-100), 13);
    EXPECT_EQ(t->PositionCoordinate(100), 136);
    EXPECT_EQ(t->PositionCoordinate(0), 13 + 62);  // 61.5 rounds to even
}

TEST_F(TrackBarTest, AClickBesideTheThumbStepsAPageOrJumps) {
    auto* t = MakeTrack();
    const int y = 15;
    const int thumb = t->PositionCoordinate(3);
    Down(t, {thumb + 60, y});
    Up(t, {thumb + 60, y});
    EXPECT_EQ(t->Position(), 5);
    Down(t, {15, y});
    Up(t, {15, y});
    EXPECT_EQ(t->Position(), 3);
    t->SetJumpByClick(true);
    Down(t, {t->PositionCoordinate(9), y});
    Up(t, {t->PositionCoordinate(9), y});
    EXPECT_EQ(t->Position(), 9);
    EXPECT_EQ(changes_, (std::vector<int>{5, 3, 9}));
    EXPECT_TRUE(t->IsFocused());
}

TEST_F(TrackBarTest, DraggingTheThumbFollowsThePointer) {
    auto* t = MakeTrack();
    const int c = t->PositionCoordinate(3);
    Down(t, {c, 15});
    EXPECT_TRUE(t->Dragging());
    MoveTo(t, {t->PositionCoordinate(7), 15});
    EXPECT_EQ(t->Position(), 7);
    MoveTo(t, {-50, 15});
    EXPECT_EQ(t->Position(), 0);
    Up(t, {-50, 15});
    EXPECT_FALSE(t->Dragging());
}

TEST_F(TrackBarTest, LimitsAreRefusedOrPullThePosition) {
    auto* t = MakeTrack();
    t->SetMax(0);  // not above Min
    EXPECT_EQ(t->Max(), 10);
    t->SetMin(10);  // not below Max
    EXPECT_EQ(t->Min(), 0);
    t->SetMax(2);  // below Position: the thumb moves and says so
    EXPECT_EQ(t->Position(), 2);
    EXPECT_EQ(changes_, (std::vector<int>{2}));
    t->SetPosition(50);  // above Max while already at Max: still an event
    EXPECT_EQ(t->Position(), 2);
    EXPECT_EQ(changes_, (std::vector<int>{2, 2}));
    t->SetPosition(2);  // the value held: nothing
    EXPECT_EQ(changes_.size(), 2u);
}

TEST_F(TrackBarTest, KeysMoveByLineAndPageToTheEnds) {
    auto* t = MakeTrack();
    t->SetFocus();
    struct Case {
        UINT key;
        int expect;
    };
    const Case cases[] = {{VK_RIGHT, 4}, {VK_DOWN, 5}, {VK_LEFT, 4},  {VK_UP, 3},   {VK_NEXT, 5},
                          {VK_PRIOR, 3}, {VK_END, 10}, {VK_NEXT, 10}, {VK_HOME, 0}, {VK_PRIOR, 0}};
    for (const Case& c : cases) {
        ui_.PressKey(c.key);
        ui_.RunUntilIdle();
        EXPECT_EQ(t->Position(), c.expect) << c.key;
    }
}

TEST_F(TrackBarTest, ExtremeSettingsNeitherDivideByZeroNorOverflow) {
    auto* t = MakeTrack();
    // A bar too short to travel: every coordinate is Min, every value the start.
    t->SetWidth(20);
    EXPECT_EQ(t->CoordinatePosition(10), 0);
    EXPECT_EQ(t->PositionCoordinate(10), 13);
    t->SetWidth(150);
    t->SetFrequency(0);
    EXPECT_EQ(t->Frequency(), 1);
    EXPECT_EQ(t->CoordinatePosition(136), 10);
    t->SetMax(INT_MAX);
    t->SetMin(INT_MIN);
    EXPECT_EQ(t->PositionCoordinate(INT_MAX), 136);
    EXPECT_EQ(t->PositionCoordinate(INT_MIN), 13);
    EXPECT_EQ(t->CoordinatePosition(136), INT_MAX);
    t->SetPosition(INT_MAX);
    t->SetPageSize(10);
    t->SetFocus();
    ui_.PressKey(VK_NEXT);
    ui_.RunUntilIdle();
    EXPECT_EQ(t->Position(), INT_MAX);
    t->Repaint();  // the ticks of such a range are its two ends only
}

TEST_F(TrackBarTest, TheTicksAtBothEndsAreOnePixelLonger) {
    auto* t = MakeTrack();
    t->SetTransparent(false);
    t->SetColor(clWhite);
    // Below the track the ticks start at S + 9 = 29 and run 3 or 4 pixels.
    const uint32_t black = 0;
    for (int v : {0, 10}) {
        const int x = t->PositionCoordinate(v);
        EXPECT_EQ(ShownAt(t, x, 32), black) << v;
        EXPECT_NE(ShownAt(t, x, 33), black) << v;
    }
    const int x = t->PositionCoordinate(5);
    EXPECT_EQ(ShownAt(t, x, 31), black);
    EXPECT_NE(ShownAt(t, x, 32), black);
}

TEST_F(TrackBarTest, ATrackThemeGetsTheBandAndTheThumbInItsState) {
    auto* theme = UseRecordingTheme();
    auto* t = MakeTrack();
    struct Case {
        TTeTrackOrientation orientation;
        TTeTickMark marks;
        int barClass, thumbClass;
    };
    const Case cases[] = {
        {ktoHorizontal, ktbmBottomRight, ktbcHorizontal, ktbmHorzBottom},
        {ktoHorizontal, ktbmBoth, ktbcHorizontal, ktbmHorzBoth},
        {ktoVertical, ktbmTopLeft, ktbcVertical, ktbmVertLeft},
    };
    for (const Case& c : cases) {
        t->SetOrientation(c.orientation);
        t->SetTickMarks(c.marks);
        if (c.orientation == ktoVertical) t->SetBounds(10, 10, 45, 150);
        RepaintRecorded(theme, t);
        ASSERT_EQ(theme->Ops(), (std::vector<String>{"TrackBarDraw", "TrackDrawThumb"}));
        EXPECT_EQ(theme->Calls[0].kind, c.barClass);
        EXPECT_EQ(theme->Calls[1].kind, c.thumbClass);
        EXPECT_EQ(theme->Calls[1].state, kttdsNormal);
    }
    t->SetEnabled(false);
    RepaintRecorded(theme, t);
    EXPECT_EQ(theme->Calls[0].state, ktrbdsDisabled);
    EXPECT_EQ(theme->Calls[1].state, kttdsDisabled);
}

}  // namespace
}  // namespace tarvel
