// Page and tab controls: tabs by mouse and keys, the changing veto, hidden
// tabs, scroll arrows for tabs that do not fit, tab positions.

#include "platform/classlib/ComCtrls_Tabs.h"

#include "ControlFixture.h"

namespace tarvel {
namespace {

class PageControlTest : public ControlFixture {
protected:
    PageControlTest() {
        pages = Add<TPageControl>("Pages", Bounds(10, 10, 400, 250));
        for (const char* caption : {"Run state", "Parameters", "Records", "History", "Alarms"}) {
            auto* sheet = new TTabSheet(form);
            sheet->SetCaption(caption);
            sheet->SetPageControl(pages);
            sheets.push_back(sheet);
        }
        pages->OnChanging = [this](TObject*, bool& allow) {
            events.push_back("changing " + pages->ActivePage()->Caption());
            allow = !lockPage;
        };
        pages->OnChange = [this](TObject*) { events.push_back("change " + pages->ActivePage()->Caption()); };
    }
    std::vector<String> Shown() {
        std::vector<String> out;
        for (TTabSheet* s : sheets)
            if (s->Visible()) out.push_back(s->Caption());
        return out;
    }
    TPageControl* pages;
    std::vector<TTabSheet*> sheets;
    std::vector<String> events;
    bool lockPage = false;
};

TEST_F(PageControlTest, ClickingATabShowsItsSheetAfterAskingFirst) {
    ShowForm();
    EXPECT_EQ(pages->ActivePage(), sheets[0]);
    EXPECT_EQ(Shown(), std::vector<String>{"Run state"});
    ui.PickItem(pages, "Records");
    EXPECT_EQ(pages->ActivePageIndex(), 2);
    EXPECT_EQ(Shown(), std::vector<String>{"Records"});
    EXPECT_TRUE(sheets[2]->Showing());
    const TRect d = pages->DisplayRect();
    EXPECT_EQ(sheets[2]->BoundsRect(), d);
    lockPage = true;
    ui.PickItem(pages, "History");
    EXPECT_EQ(pages->ActivePage(), sheets[2]);
    lockPage = false;
    // Code changes the page without events.
    pages->SetActivePage(sheets[4]);
    EXPECT_EQ(pages->TabIndex(), 4);
    EXPECT_EQ(events, (std::vector<String>{"changing Run state", "change Records", "changing Records"}));
}

TEST_F(PageControlTest, HiddenTabsLeaveTheRowAndTheActivePageMovesOn) {
    ShowForm();
    pages->SetActivePage(sheets[1]);
    struct Step {
        int sheet;
        bool visible;
        std::vector<String> tabs;
        const char* active;
    } steps[] = {
        {1, false, {"Run state", "Records", "History", "Alarms"}, "Records"},
        {0, false, {"Records", "History", "Alarms"}, "Records"},
        {2, false, {"History", "Alarms"}, "History"},
        {0, true, {"Run state", "History", "Alarms"}, "History"},
        {1, true, {"Run state", "Parameters", "History", "Alarms"}, "History"},
    };
    for (const Step& s : steps) {
        sheets[static_cast<size_t>(s.sheet)]->SetTabVisible(s.visible);
        EXPECT_EQ(ui.Items(pages), s.tabs) << s.sheet;
        EXPECT_EQ(pages->ActivePage()->Caption(), s.active) << s.sheet;
        EXPECT_EQ(Shown(), std::vector<String>{s.active});
    }
    EXPECT_EQ(pages->TabIndex(), 2);
    EXPECT_EQ(sheets[3]->TabIndex(), 2);
    EXPECT_EQ(sheets[2]->TabIndex(), -1);
    // A hidden sheet cannot be made active.
    pages->SetActivePage(sheets[2]);
    EXPECT_EQ(pages->ActivePage(), sheets[3]);
    EXPECT_TRUE(events.empty());
}

TEST_F(PageControlTest, KeysMoveThroughTheTabs) {
    ShowForm();
    ui.Click(pages);
    ui.PressKey(VK_RIGHT);
    EXPECT_EQ(pages->ActivePage(), sheets[1]);
    ui.PressKey(VK_TAB, {ssCtrl});
    EXPECT_EQ(pages->ActivePage(), sheets[2]);
    ui.PressKey(VK_TAB, {ssCtrl, ssShift});
    ui.PressKey(VK_LEFT);
    EXPECT_EQ(pages->ActivePage(), sheets[0]);
}

TEST_F(PageControlTest, TabsThatDoNotFitScrollWithTheArrows) {
    pages->SetWidth(200);
    ShowForm();
    TUpDown* arrows = pages->ScrollArrows();
    ASSERT_TRUE(arrows->Showing());
    EXPECT_EQ(FindWindowEx(pages->Handle(), nullptr, kUpDownClassName), arrows->Handle());
    EXPECT_TRUE(pages->TabRect(4).IsEmpty());
    const int firstLeft = pages->TabRect(0).left;
    ui.ClickAt(arrows, TPoint{arrows->Width() - 4, arrows->Height() / 2});
    EXPECT_EQ(pages->FirstVisibleTab(), 1);
    EXPECT_TRUE(pages->TabRect(0).IsEmpty());
    EXPECT_EQ(pages->TabRect(1).left, firstLeft);
    // Picking a tab out of sight scrolls it in first.
    ui.PickItem(pages, "Alarms");
    EXPECT_EQ(pages->ActivePage(), sheets[4]);
    EXPECT_FALSE(pages->TabRect(4).IsEmpty());
    ui.ClickAt(arrows, TPoint{3, arrows->Height() / 2});
    EXPECT_LT(pages->FirstVisibleTab(), 4);
    // On several lines everything fits and the arrows go.
    pages->SetMultiLine(true);
    EXPECT_FALSE(arrows->Visible());
    for (int i = 0; i < 5; ++i) EXPECT_FALSE(pages->TabRect(i).IsEmpty()) << i;
    EXPECT_GT(pages->TabRect(4).top, pages->TabRect(0).top);
}

TEST_F(PageControlTest, TabControlPositionsAndHitTesting) {
    auto* tabs = Add<TTabControl>("Tabs", Bounds(10, 270, 300, 80));
    tabs->Tabs()->Add("One");
    tabs->Tabs()->Add("Two");
    int changes = 0;
    tabs->OnChange = [&](TObject*) { ++changes; };
    for (TTabPosition p : {tpTop, tpBottom, tpLeft, tpRight}) {
        tabs->SetTabPosition(p);
        const TRect two = tabs->TabRect(1);
        const TRect d = tabs->DisplayRect();
        EXPECT_EQ(tabs->IndexOfTabAt(two.left + 2, two.top + 2), 1) << p;
        EXPECT_TRUE(Intersect(two, d).IsEmpty()) << p;
    }
    EXPECT_EQ(tabs->TabIndex(), 0);
    ShowForm();
    ui.PickItem(tabs, "Two");
    EXPECT_EQ(tabs->TabIndex(), 1);
    tabs->SetTabIndex(0);
    EXPECT_EQ(changes, 1);
}

}  // namespace
}  // namespace tarvel
