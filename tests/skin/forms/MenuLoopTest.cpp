// The menu loop, driven as a user would: keys and mouse input queued on the
// headless display while the loops of the open levels run, and the test
// clock moved only by the loops' own waits.

#include <string>

#include "tests/skin/forms/MenuFixture.h"

namespace tarvel::testing {
namespace {

class MenuLoopTest : public MenuTest {
protected:
    void SetUp() override {
        MenuTest::SetUp();
        MakeForm(false);
        form_->OnMouseDown = [this](TObject*, TMouseButton, TShiftState, int, int) { ++formPresses_; };
    }
    TTePopupWindow* WindowOf(TTeItem* entry) {
        return dynamic_cast<TTePopupWindow*>(entry->View ? entry->View->CaptureControl : nullptr);
    }
    int formPresses_ = 0;
};

TEST_F(MenuLoopTest, AMenuOpensAtThePointSizedToItsContentWithTheFirstEntryHot) {
    AddAll(root_, {"&Open", "A longer entry", "-", "E&xit"});
    TRect bounds;
    TTeItem* hot = nullptr;
    int contentW = 0, contentH = 0, level = 0;
    Then([&] {
        TTePopupWindow* w = WindowOf(root_->GetItem(0));
        ASSERT_TRUE(w);
        bounds = WindowRect(w->Handle());
        hot = w->View()->HotItem;
        contentW = w->View()->ContentWidth;
        contentH = w->View()->ContentHeight;
        level = MenuLoopLevel();
        Key(VK_ESCAPE);
    });
    Open(TPoint{300, 200});
    EXPECT_EQ(level, 1);
    // The 3-pixel edge on every side and the 4-pixel shadow right and below.
    EXPECT_EQ(bounds, (TRect{300, 200, 300 + contentW + 6 + 4, 200 + contentH + 6 + 4}));
    EXPECT_EQ(contentH, 3 * MenuItemHeight + 15);
    EXPECT_EQ(hot, root_->GetItem(0));
    EXPECT_EQ(MenuLoopLevel(), 0);
    EXPECT_EQ(StuckMenus(), 0);
}

TEST_F(MenuLoopTest, EscapeClosesOneLevelAndArrowsSkipSeparators) {
    TTeItem* file = Add(root_, "File");
    AddAll(file, {"New", "-", "Save"});
    Add(root_, "Edit");
    std::vector<int> levels;
    TTeItem* innerHot = nullptr;
    TTeItem* outerHot = nullptr;
    Then([&] { Key(VK_RETURN); });  // File is hot: its sub-menu opens
    Then([&] {
        levels.push_back(MenuLoopLevel());
        Key(VK_DOWN);
    });
    Then([&] {
        innerHot = Innermost(file)->HotItem;
        Key(VK_ESCAPE);
    });
    Then([&] {
        levels.push_back(MenuLoopLevel());
        outerHot = WindowOf(file)->View()->HotItem;
        Key(VK_ESCAPE);
    });
    Open(TPoint{300, 200});
    EXPECT_EQ(levels, (std::vector<int>{2, 1}));
    EXPECT_EQ(innerHot, file->GetItem(2));
    EXPECT_EQ(outerHot, file);
    EXPECT_EQ(StuckMenus(), 0);
}

TEST_F(MenuLoopTest, APressOutsideClosesAllAndReachesTheWindowBeneath) {
    TTeItem* file = Add(root_, "File");
    AddAll(file, {"New", "Save"});
    Then([&] { Key(VK_RETURN); });
    Then([&] { ClickAt(TPoint{150, 380}); });  // on the form, away from both levels
    Open(TPoint{300, 200});
    EXPECT_EQ(MenuLoopLevel(), 0);
    EXPECT_EQ(formPresses_, 0);
    ui_.RunUntilIdle();
    EXPECT_EQ(formPresses_, 1);
    EXPECT_EQ(StuckMenus(), 0);
}

TEST_F(MenuLoopTest, RestingOnAnEntryForHalfASecondOpensItsSubMenu) {
    Add(root_, "First");
    TTeItem* more = Add(root_, "More");
    AddAll(more, {"Inner"});
    uint32_t movedAt = 0, openedAt = 0;
    Then([&] {
        MoveTo(CentreOf(more));
        movedAt = ui_.Backend().Now();
    });
    WaitUntil([&] { return MenuLoopLevel() == 2; });
    Then([&] {
        openedAt = ui_.Backend().Now();
        Key(VK_ESCAPE);
    });
    Then([&] { Key(VK_ESCAPE); });
    Open(TPoint{300, 200});
    ASSERT_GT(openedAt, 0u);
    EXPECT_GE(openedAt - movedAt, 500u);
    EXPECT_LE(openedAt - movedAt, 600u);
    EXPECT_EQ(StuckMenus(), 0);
}

TEST_F(MenuLoopTest, MovingBackToTheFirstLevelClosesTheInnerOnesAndOpensTheNewEntry) {
    TTeItem* a = Add(root_, "A");
    Add(a, "A1");
    TTeItem* a2 = Add(a, "A2");
    Add(a2, "X");
    TTeItem* b = Add(root_, "B");
    Add(b, "B1");
    std::vector<int> levels;
    TTeItem* openRoot = nullptr;
    Then([&] { Key(VK_RETURN); });  // A
    Then([&] {
        Key(VK_DOWN);
        Key(VK_RETURN);
    });  // A2
    Then([&] {
        levels.push_back(MenuLoopLevel());
        MoveTo(CentreOf(b));
    });
    WaitUntil([&] { return Innermost(a) && Innermost(a)->RootItem == b; });
    Then([&] {
        levels.push_back(MenuLoopLevel());
        openRoot = Innermost(a)->RootItem;
        Key(VK_ESCAPE);
    });
    Then([&] { Key(VK_ESCAPE); });
    Open(TPoint{300, 200});
    EXPECT_EQ(levels, (std::vector<int>{3, 2}));
    EXPECT_EQ(openRoot, b);
    EXPECT_EQ(StuckMenus(), 0);
}

TEST_F(MenuLoopTest, TheApplicationsHintFollowsTheHotEntry) {
    TTeItem* open = Add(root_, "&Open");
    open->Hint = "Opens a record file";
    Add(root_, "-");
    TTeItem* exit = Add(root_, "E&xit");
    exit->Hint = "Leaves the tool";
    TTeItem* plain = Add(root_, "Plain");
    std::vector<String> heard;
    Application->OnHint = [&](TObject*) { heard.push_back(Application->Hint()); };
    Then([&] { Key(VK_DOWN); });  // past the separator to Exit
    Then([&] { MoveTo(CentreOf(open)); });
    Then([&] { MoveTo(CentreOf(plain)); });
    Then([&] { Key(VK_ESCAPE); });
    Open(TPoint{300, 200});
    Application->OnHint = nullptr;
    EXPECT_EQ(heard, (std::vector<String>{"Leaves the tool", "Opens a record file", ""}));
    EXPECT_EQ(StuckMenus(), 0);
}

TEST_F(MenuLoopTest, AScrolledMenuShowsItsCountAndRestingOnTheDownButtonScrollsEvery100Ms) {
    for (int i = 0; i < 20; ++i) Add(root_, ("Module " + std::to_string(i)).c_str());
    root_->SetScrolled(true);
    root_->SetScrollCount(8);
    TTeItemView* view = nullptr;
    TRect up, down;
    std::vector<TRect> shown;
    Then([&] {
        TTePopupWindow* w = WindowOf(root_->GetItem(0));
        ASSERT_TRUE(w);
        view = w->View();
        view->GetScrollButtonRect(ksbUp, up);
        view->GetScrollButtonRect(ksbDown, down);
        for (int i = 0; i < 8; ++i) shown.push_back(root_->GetItem(i)->ItemRect);
        MoveTo(w->ClientToScreen(Centre(down)));
    });
    // Every loop tick is 50 ms: the selection moves on every second one.
    std::vector<std::pair<int, int>> hotAndTop;  // index of the hot entry, TopItem
    WaitUntil(
        [&] {
            hotAndTop.emplace_back(root_->IndexOf(view->HotItem), root_->TopItem());
            return hotAndTop.size() == 20;
        },
        5000);
    Then([&] {
        EXPECT_TRUE(view->ScrollTimerRunning());
        MoveTo(TPoint{10, 10});  // off the menu: the scrolling stops
    });
    Then([&] {
        EXPECT_FALSE(view->ScrollTimerRunning());
        EXPECT_EQ(view->HotScrollButton, ksbNone);
        for (int i = root_->IndexOf(view->HotItem); i < 19; ++i) Key(VK_DOWN);
    });
    int lastTop = -1;
    Then([&] {
        EXPECT_EQ(view->HotItem, root_->GetItem(19));
        lastTop = root_->TopItem();
        Key(VK_DOWN);  // past the last entry: back to the first, and to the top
    });
    TTeItem* wrapped = nullptr;
    int wrappedTop = -1;
    Then([&] {
        wrapped = view->HotItem;
        wrappedTop = root_->TopItem();
        Key(VK_ESCAPE);
    });
    Open(TPoint{300, 100});

    EXPECT_EQ(up.Height(), 10);
    EXPECT_EQ(down.Height(), 10);
    ASSERT_EQ(shown.size(), 8u);
    EXPECT_EQ(shown[0].top, up.bottom) << "entry 0 right under the up button";
    EXPECT_EQ(shown[7].bottom, down.top) << "entry 7 right over the down button";
    EXPECT_EQ(shown[7].bottom - shown[0].top, 8 * shown[0].Height()) << "eight entries between the buttons";
    ASSERT_EQ(hotAndTop.size(), 20u);
    // The hot entry moves one step per 100 ms (two ticks), and the window
    // scrolls once it passes entry 7.
    const int moved = hotAndTop.back().first - hotAndTop.front().first;
    EXPECT_GE(moved, 8);
    EXPECT_LE(moved, 11);
    for (const auto& [hot, top] : hotAndTop) {
        if (hot < 0) continue;
        EXPECT_EQ(top, std::max(0, hot - 7)) << "hot " << hot;
    }
    EXPECT_EQ(lastTop, 12);
    EXPECT_EQ(wrapped, root_->GetItem(0));
    EXPECT_EQ(wrappedTop, 0);
    EXPECT_EQ(StuckMenus(), 0);
}

TEST_F(MenuLoopTest, AChosenEntryIsClickedOnlyAfterEveryLoopReturned) {
    TTeItem* file = Add(root_, "File");
    TTeItem* save = Add(file, "Save");
    int levelAtClick = -1;
    save->OnClick = [&](TObject*) { levelAtClick = MenuLoopLevel(); };
    Then([&] { Key(VK_RETURN); });
    Then([&] { ClickAt(CentreOf(save)); });
    Open(TPoint{300, 200});
    EXPECT_EQ(levelAtClick, -1);
    ui_.RunUntilIdle();
    EXPECT_EQ(levelAtClick, 0);
    EXPECT_EQ(formPresses_, 0);
    EXPECT_EQ(StuckMenus(), 0);
}

}  // namespace
}  // namespace tarvel::testing
