// The range bar: values and coordinates with the guarded arithmetic, the
// two thumbs pushing each other, clicks, drags, keys and what it asks a
// theme for.

#include <gtest/gtest.h>

#include <climits>
#include <vector>

#include "ExtBarsFixture.h"
#include "skin/extctrls/te_extctrls_rangebar.h"

namespace tarvel {
namespace {

class RangeBarTest : public testing::ExtBarsTest {
protected:
    TTeRangeBar* MakeRange() {
        auto* r = Make<TTeRangeBar>(10, 10);
        r->OnLowChange = [this, r](TObject*) { events_.push_back("L" + std::to_string(r->LowPosition())); };
        r->OnHighChange = [this, r](TObject*) { events_.push_back("H" + std::to_string(r->HighPosition())); };
        return r;
    }
    std::vector<std::string> events_;
};

TEST_F(RangeBarTest, ValuesAndCoordinatesMeetAtTheInnerThumbEdge) {
    auto* r = MakeRange();
    // 150 wide, thumbs 9: the travel V = 150 - 18 - 18 + 1 = 115 starts at 9 + 9 - 1 = 17.
    struct Case {
        int value, coordinate;
    };
    const Case toCoordinate[] = {{0, 17}, {10, 132}, {3, 17 + 34} /* 34.5 halves to even */, {5, 17 + 58}};
    for (const Case& c : toCoordinate) EXPECT_EQ(r->PositionCoordinate(c.value), c.coordinate) << c.value;
    const Case toValue[] = {{0, 19}, {0, 0}, {10, 134}, {10, 500}, {5, 75}, {1, 25}, {0, 24}};
    for (const Case& c : toValue) EXPECT_EQ(r->CoordinatePosition(c.coordinate), c.value) << c.coordinate;
}

TEST_F(RangeBarTest, SmallBarsWideRangesAndInvertedLimitsStayInBounds) {
    auto* r = MakeRange();
    r->SetMax(INT_MAX);
    r->SetMin(INT_MIN);
    EXPECT_EQ(r->PositionCoordinate(INT_MIN), 17);
    EXPECT_EQ(r->PositionCoordinate(INT_MAX), 132);
    EXPECT_EQ(r->CoordinatePosition(132 + 2), INT_MAX);
    EXPECT_EQ(r->CoordinatePosition(-5), INT_MIN);
    // Narrower than both thumbs and margins: no travel, nothing divides by it.
    r->SetWidth(20);
    EXPECT_EQ(r->PositionCoordinate(0), 17);
    EXPECT_EQ(r->CoordinatePosition(10), INT_MIN);
    r->SetFrequency(0);
    EXPECT_EQ(r->Frequency(), 1);
    r->SetWidth(150);
    // Limits that would cross are refused; positions follow limits that do not.
    auto* s = MakeRange();
    s->SetMin(20);
    s->SetMax(-5);
    EXPECT_EQ(s->Min(), 0);
    EXPECT_EQ(s->Max(), 10);
    s->SetMin(5);
    s->SetMax(6);
    EXPECT_EQ(s->LowPosition(), 5);
    EXPECT_EQ(s->HighPosition(), 6);
    ui_.RunUntilIdle();  // paints a bar with no travel and one with limits pulled in
}

TEST_F(RangeBarTest, APushedThumbMovesFirstAndEachThumbReportsItsOwnChanges) {
    auto* r = MakeRange();
    struct Case {
        bool high;
        int value, low, highAfter;
        std::vector<std::string> events;
    };
    const Case cases[] = {
        {false, 5, 5, 7, {"L5"}},
        {true, 9, 5, 9, {"H9"}},
        {false, 9, 9, 9, {"L9"}},
        {false, 9, 9, 9, {}},                 // unchanged value: nothing
        {false, 10, 10, 10, {"H10", "L10"}},  // past the high thumb: it goes first
        {true, 2, 2, 2, {"L2", "H2"}},
        {true, 50, 2, 10, {"H10"}},  // clamped to Max
        {false, -4, 0, 10, {"L0"}},
    };
    for (const Case& c : cases) {
        events_.clear();
        if (c.high)
            r->SetHighPosition(c.value);
        else
            r->SetLowPosition(c.value);
        EXPECT_EQ(r->LowPosition(), c.low) << c.value;
        EXPECT_EQ(r->HighPosition(), c.highAfter) << c.value;
        EXPECT_EQ(events_, c.events) << c.value;
    }
}

TEST_F(RangeBarTest, AClickBesideTheThumbsCollapsesTheIntervalThere) {
    auto* r = MakeRange();
    Down(r, {120, 15});  // 10 x 101 / 115 = 8.8
    Up(r, {120, 15});
    EXPECT_EQ(r->LowPosition(), 9);
    EXPECT_EQ(r->HighPosition(), 9);
    EXPECT_EQ(events_, (std::vector<std::string>{"H9", "L9"}));
    EXPECT_TRUE(r->IsFocused());
    EXPECT_FALSE(r->DraggingLow() || r->DraggingHigh());
}

TEST_F(RangeBarTest, DraggingTheLowThumbPastTheHighOneCarriesItAlong) {
    auto* r = MakeRange();
    const int c = r->PositionCoordinate(3);
    Down(r, {c - 4, 10});
    EXPECT_TRUE(r->DraggingLow());
    EXPECT_FALSE(r->DraggingHigh());
    MoveTo(r, {110, 10});  // (114 - 19) x 10 / 115 = 8.3
    EXPECT_EQ(r->LowPosition(), 8);
    EXPECT_EQ(r->HighPosition(), 8);
    EXPECT_EQ(events_, (std::vector<std::string>{"H8", "L8"}));
    MoveTo(r, {-40, 10});  // the pointer is held to the bar
    EXPECT_EQ(r->LowPosition(), 0);
    EXPECT_EQ(r->HighPosition(), 8);
    Up(r, {-40, 10});
    EXPECT_FALSE(r->DraggingLow());
    // The high thumb is taken where it starts, at its coordinate.
    Down(r, {r->PositionCoordinate(8) + 2, 10});
    EXPECT_TRUE(r->DraggingHigh());
    Up(r, {r->PositionCoordinate(8) + 2, 10});
}

TEST_F(RangeBarTest, KeysMoveTheLowThumbAndWithShiftOrCtrlTheHighOne) {
    auto* r = MakeRange();
    r->SetFocus();
    ui_.RunUntilIdle();
    struct Case {
        WORD key;
        TShiftState shift;
        int low, high;
    };
    const Case cases[] = {
        {VK_RIGHT, {}, 4, 7}, {VK_RIGHT, {ssShift}, 4, 8}, {VK_LEFT, {ssCtrl}, 4, 7},
        {VK_NEXT, {}, 6, 7},  {VK_NEXT, {}, 8, 8},         {VK_HOME, {ssShift}, 0, 0},
        {VK_END, {}, 10, 10}, {VK_PRIOR, {ssCtrl}, 8, 8},  {VK_UP, {}, 7, 8},
    };
    for (const Case& c : cases) {
        ui_.PressKey(c.key, c.shift);
        EXPECT_EQ(r->LowPosition(), c.low) << c.key;
        EXPECT_EQ(r->HighPosition(), c.high) << c.key;
    }
}

TEST_F(RangeBarTest, EqualPositionsShareOnePixelColumn) {
    auto* r = MakeRange();
    r->SetLowPosition(5);
    r->SetHighPosition(5);
    const int c = r->PositionCoordinate(5), y = 10;
    // The low thumb covers c - 8 .. c, the high one c .. c + 8; a hit on the
    // shared column takes the high thumb.
    struct Case {
        int x;
        bool low, high;
    };
    const Case cases[] = {{c - 9, false, false}, {c - 8, true, false}, {c - 1, true, false},
                          {c, false, true},      {c + 1, false, true}, {c + 7, false, true}};
    for (const Case& k : cases) {
        EXPECT_EQ(r->PtInLowThumb(k.x, y), k.low) << k.x - c;
        EXPECT_EQ(r->PtInHighThumb(k.x, y), k.high) << k.x - c;
    }
    r->HighThumbVisible = false;
    EXPECT_FALSE(r->PtInHighThumb(c + 1, y));
    // Classic painting: the high thumb's lit edge on the shared column, the
    // low thumb's face just before it, and its lit edge eight pixels back.
    r->HighThumbVisible = true;
    r->Invalidate();
    EXPECT_NE(ShownAt(r, c, 12), ShownAt(r, c - 1, 12));
    EXPECT_EQ(ShownAt(r, c, 12), ShownAt(r, c - 8, 12));
    EXPECT_EQ(ShownAt(r, c - 1, 12), ShownAt(r, c + 1, 12));
}

TEST_F(RangeBarTest, ThemedThumbsAreCentredAndShowTheirOwnState) {
    auto* theme = UseRecordingTheme();
    auto* r = MakeRange();
    const int low = r->PositionCoordinate(3), high = r->PositionCoordinate(7);
    Down(r, {high + 2, 10});
    RepaintRecorded(theme, r);
    ASSERT_EQ(theme->Ops(), (std::vector<String>{"TrackBarDraw", "TrackDrawThumb", "TrackDrawThumb"}));
    EXPECT_EQ(theme->Calls[1].rect.left, low - 4);
    EXPECT_EQ(theme->Calls[1].rect.Width(), 9);
    EXPECT_EQ(theme->Calls[1].state, kttdsFocused);
    EXPECT_EQ(theme->Calls[2].rect.left, high - 4);
    EXPECT_EQ(theme->Calls[2].state, kttdsPressed);
    Up(r, {high + 2, 10});
}

}  // namespace
}  // namespace tarvel
