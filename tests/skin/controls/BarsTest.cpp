// The outlook bar's pages and buttons and the button bar's squares and
// scroll buttons.

#include "skin/controls/te_controls_bars.h"

#include <gtest/gtest.h>

#include "RecordingThemeFixture.h"

namespace tarvel {
namespace {

using testing::SkinControlsTest;

class TeBarsTest : public SkinControlsTest {
protected:
    TTeButtonBar* MakeButtonBar(int width, int height, int items) {
        auto* bar = Make<TTeButtonBar>(10, 10);
        bar->SetBounds(10, 10, width, height);
        for (int i = 0; i < items; ++i) {
            auto* item = new TTeSpeedButton(form_);
            item->SetParent(bar);
            item->SetTop(i);  // the order they stand in
        }
        ui_.RunUntilIdle();
        return bar;
    }
    // Items of the bar in the order laid out.
    std::vector<TControl*> Items(TTeButtonBar* bar) {
        std::vector<TControl*> out;
        for (int i = 0; i < bar->ControlCount(); ++i)
            if (!bar->Controls(i)->Is<TTeButtonBarScroll>()) out.push_back(bar->Controls(i));
        std::sort(out.begin(), out.end(), [](TControl* a, TControl* b) { return a->Left() < b->Left(); });
        return out;
    }
};

TEST_F(TeBarsTest, AHorizontalButtonBarScrollsOnlyWhenItsItemsOverflowAndClampsTheOffset) {
    TTeButtonBar* fits = MakeButtonBar(200, 30, 10);
    EXPECT_EQ(fits->ItemSize(), 20);
    EXPECT_FALSE(fits->ForwardButton()->Visible());
    EXPECT_FALSE(fits->BackButton()->Visible());
    const auto fitItems = Items(fits);
    EXPECT_EQ(fitItems.front()->BoundsRect(), (TRect{5, 5, 25, 25}));
    EXPECT_EQ(fitItems.back()->BoundsRect(), (TRect{185, 5, 205, 25}));

    TTeButtonBar* bar = MakeButtonBar(200, 30, 11);
    EXPECT_TRUE(bar->ForwardButton()->Visible());
    EXPECT_TRUE(bar->BackButton()->Visible());
    EXPECT_EQ(bar->ForwardButton()->BoundsRect(), (TRect{184, 0, 200, 16}));
    EXPECT_EQ(bar->BackButton()->BoundsRect(), (TRect{0, 0, 16, 16}));
    EXPECT_EQ(bar->BackButton()->GetCaption(), kSpeedCaptionLeft);
    EXPECT_EQ(bar->ForwardButton()->GetCaption(), kSpeedCaptionRight);
    const int offsets[] = {20, 30, 30};
    for (int expected : offsets) {
        bar->ForwardButton()->Click();
        ui_.RunUntilIdle();
        EXPECT_EQ(bar->ScrollOffset(), expected);
        EXPECT_EQ(Items(bar).front()->Left(), 5 - expected);
    }
    bar->BackButton()->Click();
    ui_.RunUntilIdle();
    EXPECT_EQ(bar->ScrollOffset(), 10);
}

TEST_F(TeBarsTest, ATallButtonBarScrollsUpAndDownFromItsRightEdge) {
    TTeButtonBar* bar = MakeButtonBar(30, 100, 6);
    EXPECT_EQ(bar->ItemSize(), 20);
    EXPECT_TRUE(bar->ForwardButton()->Visible());
    EXPECT_EQ(bar->BackButton()->GetCaption(), kSpeedCaptionUp);
    EXPECT_EQ(bar->ForwardButton()->GetCaption(), kSpeedCaptionDown);
    EXPECT_EQ(bar->BackButton()->BoundsRect(), (TRect{14, 0, 30, 16}));
    EXPECT_EQ(bar->ForwardButton()->BoundsRect(), (TRect{14, 84, 30, 100}));
}

class TeOutlookBarTest : public TeBarsTest {
protected:
    void SetUp() override {
        TeBarsTest::SetUp();
        bar_ = Make<TTeOutlookBar>(10, 10);
        bar_->SetBounds(10, 10, 120, 200);
        for (int i = 0; i < 3; ++i) pages_.push_back(bar_->AddPanel());
        ui_.RunUntilIdle();
    }
    TTeOutlookBarButton* ButtonOf(int i) { return pages_[i]->Button(); }
    TTeOutlookBar* bar_ = nullptr;
    std::vector<TTeOutlookBarPanel*> pages_;
};

TEST_F(TeOutlookBarTest, ANewPageOpensAtOnceAndAClickOpensAnotherUnderItsButton) {
    EXPECT_EQ(bar_->ActiveBar(), pages_[2]);
    EXPECT_NE(ButtonOf(0)->Name(), ButtonOf(1)->Name());
    EXPECT_NE(pages_[0]->Name(), pages_[1]->Name());
    // The last page: its button is third, the page fills the rest.
    EXPECT_EQ(ButtonOf(2)->BoundsRect(), (TRect{0, 46, 120, 69}));
    EXPECT_EQ(pages_[2]->BoundsRect(), (TRect{0, 69, 120, 200}));

    Down(ButtonOf(0), {5, 5});
    Up(ButtonOf(0), {5, 5});
    EXPECT_EQ(bar_->ActiveBar(), pages_[0]);
    EXPECT_EQ(ButtonOf(0)->BoundsRect(), (TRect{0, 0, 120, 23}));
    EXPECT_EQ(pages_[0]->BoundsRect(), (TRect{0, 23, 120, 154}));
    EXPECT_TRUE(pages_[0]->Visible());
    EXPECT_FALSE(pages_[2]->Visible());
    EXPECT_EQ(ButtonOf(1)->BoundsRect(), (TRect{0, 154, 120, 177}));
    EXPECT_EQ(ButtonOf(2)->BoundsRect(), (TRect{0, 177, 120, 200}));
}

TEST_F(TeOutlookBarTest, APageOfAnotherBarIsRefusedAndRemovingTheOpenPageStacksTheButtons) {
    auto* other = Make<TTeOutlookBar>(200, 10);
    TTeOutlookBarPanel* foreign = other->AddPanel();
    bar_->SetActiveBar(foreign);
    EXPECT_EQ(bar_->ActiveBar(), pages_[2]);

    delete pages_[2];
    ui_.RunUntilIdle();
    EXPECT_EQ(bar_->ActiveBar(), nullptr);
    bar_->Realign();
    std::vector<TRect> buttons;
    for (int i = 0; i < bar_->ControlCount(); ++i)
        if (bar_->Controls(i)->Is<TTeOutlookBarButton>()) buttons.push_back(bar_->Controls(i)->BoundsRect());
    std::sort(buttons.begin(), buttons.end(), [](const TRect& a, const TRect& b) { return a.top < b.top; });
    ASSERT_EQ(buttons.size(), 3u);
    for (size_t i = 0; i < buttons.size(); ++i)
        EXPECT_EQ(buttons[i], (TRect{0, 23 * static_cast<int>(i), 120, 23 * static_cast<int>(i) + 23}));
}

}  // namespace
}  // namespace tarvel
