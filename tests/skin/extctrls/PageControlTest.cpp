// The page control: tabs for the visible sheets, which sheet is active when
// sheets are hidden, shown, removed, moved and renamed, and the tool's own
// sequence of view switches and the export.

#include <gtest/gtest.h>

#include "ExtCtrlsFixture.h"
#include "skin/extctrls/te_extctrls_pages.h"

namespace tarvel {
namespace {

using testing::ExtCtrlsTest;
using Strings = std::vector<String>;

class PageControlTest : public ExtCtrlsTest {};

TEST_F(PageControlTest, HidingAndShowingKeepsTheUserOnTheActivePageUnlessItLosesItsTab) {
    struct Case {
        const char* name;
        std::initializer_list<const char*> pages;
        std::vector<int> hiddenFirst;
        int active;
        int toggle;  // the sheet whose PageVisible flips
        Strings tabs;
        const char* nowActive;
        int tabIndex;
        int changes;
    };
    const Case cases[] = {
        {"hide a page before the active one", {"A", "B", "C", "D"}, {}, 2, 0, {"B", "C", "D"}, "C", 1, 0},
        {"hide a page after the active one", {"A", "B", "C", "D"}, {}, 2, 3, {"A", "B", "C"}, "C", 2, 0},
        {"hide the active page", {"A", "B", "C", "D"}, {}, 2, 2, {"A", "B", "D"}, "D", 2, 1},
        {"hide the active page on the last tab", {"A", "B", "C"}, {}, 2, 2, {"A", "B"}, "B", 1, 1},
        {"hide the active first page", {"A", "B", "C"}, {}, 0, 0, {"B", "C"}, "B", 0, 1},
        {"show a page before the active one", {"A", "B", "C"}, {1}, 2, 1, {"A", "B", "C"}, "C", 2, 0},
        {"show a page after the active one", {"A", "B", "C"}, {2}, 0, 2, {"A", "B", "C"}, "A", 0, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        sheets_.clear();
        TTePageControl* pages = MakePages(c.pages);
        for (int h : c.hiddenFirst) Sheet(h)->SetPageVisible(false);
        pages->SetActivePage(Sheet(c.active));
        changes_ = 0;
        Sheet(c.toggle)->SetPageVisible(!Sheet(c.toggle)->PageVisible());
        ui_.RunUntilIdle();
        EXPECT_EQ(TabsOf(pages), c.tabs);
        ASSERT_NE(pages->GetActivePage(), nullptr);
        EXPECT_EQ(pages->GetActivePage()->Text(), c.nowActive);
        EXPECT_EQ(pages->TabIndex(), c.tabIndex);
        EXPECT_EQ(changes_, c.changes);
        EXPECT_EQ(ShownSheets(pages), Strings{c.nowActive});
        delete pages;
    }
}

TEST_F(PageControlTest, HidingTheOnlyVisiblePageLeavesNoPageShowing) {
    TTePageControl* pages = MakePages({"A", "B"});
    Sheet(1)->SetPageVisible(false);
    pages->SetActivePage(Sheet(0));
    Sheet(0)->SetPageVisible(false);
    EXPECT_EQ(pages->GetActivePage(), nullptr);
    EXPECT_EQ(pages->TabIndex(), -1);
    EXPECT_TRUE(ShownSheets(pages).empty());
    Sheet(1)->SetPageVisible(true);
    EXPECT_EQ(pages->GetActivePage(), Sheet(1));
    EXPECT_EQ(pages->TabIndex(), 0);
}

TEST_F(PageControlTest, AHiddenSheetCanBeActiveWithNoTabSelected) {
    TTePageControl* pages = MakePages({"A", "B", "C", "D"});
    Sheet(2)->SetPageVisible(false);
    pages->SetActivePage(Sheet(0));
    changes_ = 0;
    pages->SetActivePage(Sheet(2));
    EXPECT_EQ(pages->GetActivePage(), Sheet(2));
    EXPECT_EQ(pages->TabIndex(), -1);
    EXPECT_EQ(changes_, 1);
    EXPECT_EQ(ShownSheets(pages), Strings{"C"});
    // Other pages coming and going leave it where it is.
    Sheet(0)->SetPageVisible(false);
    Sheet(0)->SetPageVisible(true);
    EXPECT_EQ(pages->GetActivePage(), Sheet(2));
    EXPECT_EQ(pages->TabIndex(), -1);
    // Its tab coming back selects it.
    Sheet(2)->SetPageVisible(true);
    EXPECT_EQ(pages->TabIndex(), 2);
    pages->SetActivePage(Sheet(0));
    EXPECT_EQ(ShownSheets(pages), Strings{"A"});
    EXPECT_EQ(pages->TabIndex(), 0);
}

TEST_F(PageControlTest, RemovingPages) {
    TTePageControl* pages = MakePages({"A", "B", "C"});
    Sheet(0)->SetPageVisible(false);
    pages->SetActivePage(Sheet(2));
    // The first visible page takes over, never a hidden one.
    delete Sheet(2);
    EXPECT_EQ(pages->GetActivePage(), Sheet(1));
    EXPECT_EQ(pages->TabIndex(), 0);
    EXPECT_EQ(ShownSheets(pages), Strings{"B"});
    // A hidden page goes without touching the row.
    pages->RemovePage(Sheet(0));
    EXPECT_EQ(TabsOf(pages), Strings{"B"});
    EXPECT_EQ(pages->GetPageCount(), 1);
    pages->RemovePage(Sheet(1));
    EXPECT_EQ(pages->GetPageCount(), 0);
    EXPECT_EQ(pages->TabIndex(), -1);
    EXPECT_EQ(pages->GetActivePage(), nullptr);
}

TEST_F(PageControlTest, RemovingAPageBeforeTheActiveOneKeepsIt) {
    TTePageControl* pages = MakePages({"A", "B", "C"});
    pages->SetActivePage(Sheet(2));
    changes_ = 0;
    pages->RemovePage(Sheet(0));
    EXPECT_EQ(pages->GetActivePage(), Sheet(2));
    EXPECT_EQ(pages->TabIndex(), 1);
    EXPECT_EQ(changes_, 0);
}

TEST_F(PageControlTest, MovingNamingAndRenamingPages) {
    TTePageControl* pages = MakePages({"A", "B", "C"});
    Sheet(0)->SetPageIndex(2);
    EXPECT_EQ(TabsOf(pages), (Strings{"C", "B", "A"}));
    EXPECT_THROW(Sheet(0)->SetPageIndex(3), EListError);
    EXPECT_EQ(TabsOf(pages), (Strings{"C", "B", "A"}));

    auto* fresh = new TTeTabSheet(form_);
    pages->AddPage(fresh);
    EXPECT_EQ(fresh->Text(), "New Page 3");
    fresh->SetText("Log");
    EXPECT_EQ(TabsOf(pages), (Strings{"C", "B", "A", "Log"}));
    Sheet(1)->SetPageVisible(false);
    Sheet(1)->SetText("Hidden");
    EXPECT_EQ(TabsOf(pages), (Strings{"C", "A", "Log"}));
    Sheet(1)->SetPageVisible(true);
    EXPECT_EQ(TabsOf(pages), (Strings{"C", "Hidden", "A", "Log"}));
}

TEST_F(PageControlTest, ANewPageOnTwoTabsIsNumberedTwo) {
    TTePageControl* pages = MakePages({"A", "B"});
    auto* sheet = new TTeTabSheet(form_);
    sheet->SetTabControl(pages);
    EXPECT_EQ(sheet->Text(), "New Page 2");
}

TEST_F(PageControlTest, ACaptionAddedToTheTabsGrowsAnActivePage) {
    TTePageControl* pages = MakePages({"A", "B"});
    pages->Tabs()->Add("Extra");
    ASSERT_EQ(pages->GetPageCount(), 3);
    EXPECT_EQ(pages->GetPage(2)->Text(), "Extra");
    EXPECT_EQ(pages->GetActivePage(), pages->GetPage(2));
    EXPECT_EQ(ShownSheets(pages), Strings{"Extra"});
}

TEST_F(PageControlTest, ClickingATabShowsItsPageInThePageArea) {
    TTePageControl* pages = MakePages({"One", "Two", "Three"});
    const TRect tab = pages->GetTabRect(1);
    Down(pages, {tab.left + 5, tab.top + 5});
    Up(pages, {tab.left + 5, tab.top + 5});
    EXPECT_EQ(pages->GetActivePage(), Sheet(1));
    EXPECT_EQ(changes_, 1);
    TRect area{};
    pages->AdjustClientRect(area);
    EXPECT_EQ(Sheet(1)->BoundsRect(), area);
    EXPECT_EQ(ShownSheets(pages), Strings{"Two"});
}

// The tool's main window: thirteen sheets, whole groups hidden and shown on
// each view switch, a sheet opened by code while its tab is hidden, and an
// export that hides the five pages before its own and shows them again.
TEST_F(PageControlTest, TheToolsSequenceOfViewSwitchesAndTheExport) {
    TTePageControl* pages = MakePages({"Realtime", "Cells", "Temps", "Balance", "Alarms", "Export", "History",
                                       "Params", "Calib", "Firmware", "Ports", "Log", "About"});
    auto expectOneShown = [&](const char* active) {
        ASSERT_NE(pages->GetActivePage(), nullptr);
        EXPECT_EQ(pages->GetActivePage()->Text(), active);
        EXPECT_EQ(ShownSheets(pages), Strings{active});
    };
    auto setGroup = [&](std::initializer_list<int> group, bool visible) {
        for (int i : group) Sheet(i)->SetPageVisible(visible);
        ui_.RunUntilIdle();
    };
    pages->SetActivePage(Sheet(0));
    EXPECT_EQ(pages->GetTabCount(), 13);

    // The monitoring view hides the engineering pages.
    setGroup({7, 8, 9}, false);
    expectOneShown("Realtime");
    EXPECT_EQ(pages->GetTabCount(), 10);

    // Code opens the calibration sheet though its tab is hidden.
    pages->SetActivePage(Sheet(8));
    expectOneShown("Calib");
    EXPECT_EQ(pages->TabIndex(), -1);

    // The engineering view: the group returns, the user stays on it.
    setGroup({7, 8, 9}, true);
    expectOneShown("Calib");
    EXPECT_EQ(pages->Tabs()->Get(pages->TabIndex()), "Calib");

    // The user picks the export page; the export hides the five pages before it.
    pages->SetTabIndex(5);
    expectOneShown("Export");
    changes_ = 0;
    setGroup({0, 1, 2, 3, 4}, false);
    expectOneShown("Export");
    EXPECT_EQ(pages->TabIndex(), 0);
    setGroup({0, 1, 2, 3, 4}, true);
    expectOneShown("Export");
    EXPECT_EQ(pages->TabIndex(), 5);
    EXPECT_EQ(changes_, 0);

    // Back to monitoring while on a page of the hidden group.
    pages->SetActivePage(Sheet(9));
    setGroup({7, 8, 9}, false);
    ASSERT_NE(pages->GetActivePage(), nullptr);
    EXPECT_TRUE(pages->GetActivePage()->PageVisible());
    EXPECT_EQ(ShownSheets(pages).size(), 1u);
}

}  // namespace
}  // namespace tarvel
