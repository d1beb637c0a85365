// The menu loop, driven as a user would: keys and mouse input queued on the
// headless display while the loops of the open levels run, and the test
// clock moved only by the loops' own waits.

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
