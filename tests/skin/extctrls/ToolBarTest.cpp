// The tool bar sizes its speed buttons and dividers to its thickness and
// packs its children in the order of their edges.

#include <gtest/gtest.h>

#include <vector>

#include "ExtBarsFixture.h"
#include "skin/controls/te_controls_speedbutton.h"
#include "skin/extctrls/te_extctrls_controlbar.h"
#include "skin/extctrls/te_extctrls_toolbar.h"

namespace tarvel {
namespace {

class ToolBarTest : public testing::ExtBarsTest {
protected:
    TTeToolBar* MakeBar(int width, int height) {
        auto* bar = Make<TTeToolBar>(10, 10);
        bar->SetBounds(10, 10, width, height);
        return bar;
    }
    template <class T>
    T* Child(TTeToolBar* bar, int left, int top, int width, int height) {
        auto* c = new T(form_);
        c->SetParent(bar);
        c->SetBounds(left, top, width, height);
        return c;
    }
};

TEST_F(ToolBarTest, ButtonsTakeTheBarsThicknessAndDividersTheirWidth) {
    struct Case {
        int height, border;
        bool chevron;
        int expectButton, expectDivider;
    };
    const Case cases[] = {
        {42, 0, false, 42, 8},
        {42, 0, true, 42 + 14, 8},
        {42, 3, false, 36, 8},
        {29, 0, false, 29, 8},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.height * 100 + c.border);
        auto* bar = MakeBar(300, 29);
        bar->SetBorderWidth(c.border);
        auto* button = Child<TTeSpeedButton>(bar, 0, 0, 20, 20);
        button->SetShowChevron(c.chevron);
        auto* divider = Child<TTeSpeedDivider>(bar, 100, 0, 3, 20);
        bar->SetHeight(c.height);
        ui_.RunUntilIdle();
        EXPECT_EQ(bar->ButtonWidth(), c.height - 2 * c.border);
        EXPECT_EQ(button->Width(), c.expectButton);
        EXPECT_EQ(divider->Width(), c.expectDivider);
        // Children stand past the gripper and fill the client height.
        EXPECT_EQ(button->Left(), 11 + c.border);
        EXPECT_EQ(button->Height(), c.height - 4 - 2 * c.border);
        delete bar;
    }
}

TEST_F(ToolBarTest, ChildrenArePackedInTheOrderOfTheirLeftEdges) {
    auto* bar = MakeBar(300, 29);
    auto* a = Child<TTeSpeedButton>(bar, 0, 0, 20, 20);
    auto* b = Child<TTeSpeedButton>(bar, 100, 0, 20, 20);
    auto* c = Child<TTeSpeedButton>(bar, 200, 0, 20, 20);
    ui_.RunUntilIdle();
    EXPECT_EQ((std::vector<int>{a->Left(), b->Left(), c->Left()}), (std::vector<int>{11, 40, 69}));
    // Dragged to the left of the first one, the third goes first.
    c->SetLeft(5);
    ui_.RunUntilIdle();
    EXPECT_EQ((std::vector<int>{c->Left(), a->Left(), b->Left()}), (std::vector<int>{11, 40, 69}));
    // Dropped onto the left edge of another, the one being moved comes first.
    b->SetLeft(a->Left());
    ui_.RunUntilIdle();
    EXPECT_EQ((std::vector<int>{c->Left(), b->Left(), a->Left()}), (std::vector<int>{11, 40, 69}));
}

TEST_F(ToolBarTest, AnUprightBarStacksItsChildrenTopToBottom) {
    auto* bar = MakeBar(34, 200);
    ASSERT_FALSE(bar->IsHorizontal());
    // The shape is judged before a resize: the one that made the bar
    // upright still sized for a horizontal bar.
    EXPECT_EQ(bar->ButtonWidth(), 200);
    bar->SetHeight(200);
    auto* a = Child<TTeSpeedButton>(bar, 0, 50, 20, 20);
    auto* d = Child<TTeSpeedDivider>(bar, 0, 10, 20, 3);
    ui_.RunUntilIdle();
    // Along an upright bar a button is as tall as the bar is wide.
    EXPECT_EQ(bar->ButtonWidth(), 34);
    EXPECT_EQ(d->Top(), 2);
    EXPECT_EQ(d->Height(), 8);
    EXPECT_EQ(a->Top(), 10);
    EXPECT_EQ(a->Height(), 34);
    EXPECT_EQ(a->Left(), 11);
    EXPECT_EQ(a->Width(), 34 - 13);
    // Aligned to the top, the same shape counts as horizontal.
    bar->SetAlign(alTop);
    EXPECT_TRUE(bar->IsHorizontal());
}

TEST_F(ToolBarTest, TurningAutoSizeOffKeepsTheButtonSizes) {
    auto* bar = MakeBar(300, 29);
    auto* a = Child<TTeSpeedButton>(bar, 0, 0, 20, 20);
    ui_.RunUntilIdle();
    ASSERT_EQ(a->Width(), 29);
    bar->SetButtonAutoSize(false);
    bar->SetHeight(50);
    ui_.RunUntilIdle();
    EXPECT_EQ(a->Width(), 29);
    EXPECT_EQ(bar->ButtonWidth(), 29);
    // Turning it on again realigns with the width it holds.
    bar->SetButtonWidth(40);
    bar->SetButtonAutoSize(true);
    ui_.RunUntilIdle();
    EXPECT_EQ(a->Width(), 40);
}

TEST_F(ToolBarTest, ATransparentChildShowsTheBarsFaceBehindIt) {
    auto* bar = MakeBar(200, 29);
    bar->SetColor(clRed);
    auto* b = Child<TTeSpeedButton>(bar, 0, 0, 20, 20);
    b->SetTransparent(true);
    b->SetCaption(u"");
    ui_.RunUntilIdle();
    EXPECT_EQ(ShownAt(b, b->Width() / 2, b->Height() / 2), testing::Rgb(clRed));
    // The classic gripper: a lit line at its left.
    EXPECT_EQ(ShownAt(bar, 2, 10), testing::Rgb(clBtnHighlight));
}

TEST_F(ToolBarTest, OnAControlBarTheBandCarriesTheGripperAndTheFrame) {
    auto* bands = Make<TTeControlBar>(10, 10);
    bands->SetBounds(10, 10, 300, 40);
    auto* bar = new TTeToolBar(form_);
    bar->SetBounds(11, 2, 150, 29);
    bar->SetParent(bands);
    bar->SetColor(clYellow);
    auto* a = Child<TTeSpeedButton>(bar, 0, 0, 20, 20);
    ui_.RunUntilIdle();
    ASSERT_TRUE(bar->OnControlBar());
    EXPECT_EQ(bar->ClientRect(), (TRect{0, 0, 150, 29}));
    EXPECT_EQ(a->Left(), 0);
    EXPECT_EQ(a->Height(), 29);
    // Where its own gripper and edge would stand, its face.
    for (TPoint p : {TPoint{2, 10}, TPoint{0, 0}, TPoint{149, 28}})
        EXPECT_EQ(ShownAt(bar, p.x, p.y), testing::Rgb(clYellow)) << p.x << "," << p.y;
}

}  // namespace
}  // namespace tarvel
