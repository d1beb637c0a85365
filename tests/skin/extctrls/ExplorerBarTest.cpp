// The explorer bar: its stack of header panels, the scroll bar it shows
// when they overflow, and the realignment when a panel rolls.

#include "skin/extctrls/te_extctrls_explorerbar.h"

#include <gtest/gtest.h>

#include <vector>

#include "ExtBarsFixture.h"

namespace tarvel {
namespace {

class ExplorerBarTest : public testing::ExtBarsTest {
protected:
    // A 200 x 300 bar with panels of the given heights, added in order.
    TTeExplorerBar* MakeBar(std::vector<int> heights) {
        auto* bar = Make<TTeExplorerBar>(10, 10);
        bar->SetBounds(10, 10, 200, 300);
        for (int h : heights) {
            TTeHeaderPanel* p = bar->AddPanel();
            p->SetHeight(h);
            panels_.push_back(p);
        }
        bar->Realign();
        ui_.RunUntilIdle();
        return bar;
    }
    std::vector<TRect> Bounds() const {
        std::vector<TRect> out;
        for (TTeHeaderPanel* p : panels_) out.push_back(p->BoundsRect());
        return out;
    }
    std::vector<TTeHeaderPanel*> panels_;
};

TEST_F(ExplorerBarTest, PanelsStackWithAGapAndTheScrollBarShowsOnlyWhenTheyOverflow) {
    struct Case {
        std::vector<int> heights;
        bool scrolls;
        int max;
        std::vector<TRect> bounds;
    };
    const Case cases[] = {
        // 3 x (80 + 10) = 270 fits in 300.
        {{80, 80, 80}, false, 0, {{10, 10, 190, 90}, {10, 100, 190, 180}, {10, 190, 190, 270}}},
        // 3 x (90 + 10) is exactly the height: still fits.
        {{90, 90, 90}, false, 0, {{10, 10, 190, 100}, {10, 110, 190, 200}, {10, 210, 190, 300}}},
        // One panel more: the panels lose the scroll bar's width.
        {{80, 80, 80, 80},
         true,
         360 + 10 - 300,
         {{10, 10, 174, 90}, {10, 100, 174, 180}, {10, 190, 174, 270}, {10, 280, 174, 360}}},
    };
    for (const Case& c : cases) {
        panels_.clear();
        TTeExplorerBar* bar = MakeBar(c.heights);
        EXPECT_EQ(bar->ScrollBar()->Visible(), c.scrolls) << c.heights.size();
        if (c.scrolls) {
            EXPECT_EQ(bar->ScrollBar()->BoundsRect(), (TRect{184, 0, 200, 300}));
            EXPECT_EQ(bar->ScrollBar()->Max(), c.max);
        }
        EXPECT_EQ(Bounds(), c.bounds) << c.heights.size();
        delete bar;
    }
}

TEST_F(ExplorerBarTest, TheScrollPositionMovesThePanelsUpAndIsClampedToTheOverflow) {
    TTeExplorerBar* bar = MakeBar({80, 80, 80, 80});
    const struct { int position, held; } cases[] = {{30, 30}, {70, 70}, {500, 70}, {0, 0}};
    for (const auto& c : cases) {
        bar->ScrollBar()->SetPosition(c.position);
        ui_.RunUntilIdle();
        EXPECT_EQ(bar->ScrollBar()->Position(), c.held);
        EXPECT_EQ(panels_[0]->Top(), 10 - c.held) << c.position;
        EXPECT_EQ(panels_[3]->Top(), 280 - c.held) << c.position;
    }
}

TEST_F(ExplorerBarTest, RollingAPanelUpRealignsThePanelsBelowAndDropsTheScrollBar) {
    // 280 + 4 x 10 = 320 overflows by 20.
    TTeExplorerBar* bar = MakeBar({60, 60, 60, 100});
    ASSERT_EQ(bar->ScrollBar()->Max(), 30);
    bar->ScrollBar()->SetPosition(20);
    ui_.RunUntilIdle();
    EXPECT_EQ(panels_[0]->Top(), -10);
    panels_[1]->SetRolled(true);
    ASSERT_TRUE(panels_[1]->Rolled());
    const int rolled = panels_[1]->Height();
    ASSERT_LT(rolled, 40);
    // Everything fits again: no scroll bar, and nothing left scrolled away.
    EXPECT_FALSE(bar->ScrollBar()->Visible());
    EXPECT_EQ(bar->ScrollBar()->Position(), 0);
    EXPECT_EQ(panels_[0]->BoundsRect(), (TRect{10, 10, 190, 70}));
    EXPECT_EQ(panels_[2]->Top(), 80 + rolled + 10);
    EXPECT_EQ(panels_[3]->Top(), 80 + rolled + 10 + 70);

    panels_[1]->SetRolled(false);
    EXPECT_TRUE(bar->ScrollBar()->Visible());
    EXPECT_EQ(panels_[2]->BoundsRect(), (TRect{10, 150, 174, 210}));
}

TEST_F(ExplorerBarTest, PanelsAreOrderedByTopHiddenOnesSkippedAndNamedUniquely) {
    TTeExplorerBar* bar = MakeBar({50, 50, 50});
    EXPECT_NE(panels_[0]->Name(), panels_[1]->Name());
    EXPECT_EQ(panels_[0]->Owner(), form_);
    EXPECT_EQ(panels_[0]->Parent(), bar);
    // Moving the last panel above the first puts it first.
    panels_[2]->SetTop(-5);
    panels_[1]->SetVisible(false);
    bar->Realign();
    EXPECT_EQ(panels_[2]->Top(), 10);
    EXPECT_EQ(panels_[0]->Top(), 70);
    // A freed panel's name may be taken again only by a new name.
    const String name = panels_[2]->Name();
    delete panels_[2];
    EXPECT_NE(bar->AddPanel()->Name(), name);
}

}  // namespace
}  // namespace tarvel
