// The tab strip: tab and frame rectangles on all four sides, rows and their
// distance from the page, scrolling and its buttons, selection with
// OnChanging, keys, the theme's item classes and states, and the classic
// outline.

#include <gtest/gtest.h>

#include "ExtCtrlsFixture.h"
#include "skin/extctrls/te_extctrls_tabs.h"
#include "tests/skin/PaperFixture.h"

namespace tarvel {
namespace {

using testing::ExtCtrlsTest;
using testing::Rgb;

struct TTabCall {
    String op;
    int itemClass = 0;
    int state = 0;
    TRect rect;
    WideString text;
};

// Notes every tab element the control asks for.
class TTabTheme : public TteTheme {
    TARVEL_CLASS(TTabTheme, TteTheme)

public:
    std::vector<TTabCall> calls;
    std::vector<TTabCall> Of(const String& op) const {
        std::vector<TTabCall> out;
        for (const TTabCall& c : calls)
            if (c.op == op) out.push_back(c);
        return out;
    }
    bool IsTabDefined(TteTabSubclass, const String&) override { return true; }
    bool IsTabTransparent(TteTabSubclass, const String&) override { return false; }
    void TabDraw(TteTabSubclass, TCanvas&, const TteTabInfo& info, const String&) override {
        calls.push_back({"TabDraw", 0, 0, info.Rect, {}});
    }
    void TabDrawItem(TteTabSubclass, TCanvas&, const TteTabItemInfo& info, const String&) override {
        calls.push_back({"TabDrawItem", info.ItemClass, info.DrawState, info.Rect, {}});
    }
    void TabDrawButton(TteTabSubclass, TCanvas&, const TteTabButtonInfo& info, const String&) override {
        calls.push_back({"TabDrawButton", info.ButtonClass, info.DrawState, info.Rect, {}});
    }
    void TabDrawText(TteTabSubclass, TCanvas&, const TteTabItemInfo& info, const TteTextInfo& text,
                     const String&) override {
        calls.push_back({"TabDrawText", info.ItemClass, info.DrawState, text.Rect, text.Text});
    }
};

class TabControlTest : public ExtCtrlsTest {
protected:
    // A strip of count tabs of 60 x 20 pixels on a 289 x 193 control.
    TTeTabControl* MakeTabs(int count, TTeTabPosition position = kttpTop) {
        auto* tabs = Make<TTeTabControl>(5, 5);
        tabs->SetTabWidth(60);
        tabs->SetTabHeight(20);
        tabs->SetTabPosition(position);
        for (int i = 0; i < count; ++i) tabs->Tabs()->Add("Tab " + std::to_string(i));
        ui_.RunUntilIdle();
        return tabs;
    }
    TTabTheme* UseTabTheme() {
        auto* theme = new TTabTheme();
        ChangeTheme(theme);
        ui_.RunUntilIdle();
        return theme;
    }
    void Repaint(TTabTheme* theme, TControl* control) {
        ui_.RunUntilIdle();
        theme->calls.clear();
        control->Invalidate();
        ui_.RunUntilIdle();
    }
};

TEST_F(TabControlTest, TabsAndFrameOnEachSide) {
    struct Case {
        TTeTabPosition position;
        TRect tab0, tab1, frame, page;
    };
    const Case cases[] = {
        {kttpTop, {2, 2, 62, 24}, {62, 2, 122, 24}, {0, 22, 289, 193}, {3, 25, 286, 190}},
        {kttpBottom, {2, 169, 62, 191}, {62, 169, 122, 191}, {0, 0, 289, 171}, {3, 3, 286, 168}},
        {kttpLeft, {2, 2, 24, 62}, {2, 62, 24, 122}, {22, 0, 289, 193}, {25, 3, 286, 190}},
        {kttpRight, {265, 2, 287, 62}, {265, 62, 287, 122}, {0, 0, 267, 193}, {3, 3, 264, 190}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(static_cast<int>(c.position));
        TTeTabControl* tabs = MakeTabs(2, c.position);
        EXPECT_EQ(tabs->GetTabRect(0), c.tab0);
        EXPECT_EQ(tabs->GetTabRect(1), c.tab1);
        EXPECT_EQ(tabs->GetFrameRect(), c.frame);
        TRect page{};
        tabs->AdjustClientRect(page);
        EXPECT_EQ(page, c.page);
        EXPECT_EQ(tabs->PtInTab(c.tab1.left + 3, c.tab1.top + 3), 1);
        EXPECT_FALSE(tabs->GetScrlBtnsVisible());
        EXPECT_EQ(tabs->MultiLine(), c.position == kttpLeft || c.position == kttpRight);
        delete tabs;
    }
}

TEST_F(TabControlTest, SideStripsStayMultiLine) {
    TTeTabControl* tabs = MakeTabs(2, kttpLeft);
    EXPECT_THROW(tabs->SetMultiLine(false), EInvalidOperation);
    EXPECT_TRUE(tabs->MultiLine());
}

// Ten tabs of 60 on 285 pixels: rows 0-3, 4-7 and 8-9.
TEST_F(TabControlTest, TheSelectedRowTouchesThePage) {
    struct Case {
        bool scrollOpposite;
        TRect tab0, tab4, tab9, frame;
    };
    const Case cases[] = {
        // Rows before the selected one wrap to the outside.
        {false, {2, 22, 62, 64}, {2, 2, 62, 64}, {62, 42, 122, 64}, {0, 62, 289, 193}},
        // They move to the opposite side instead.
        {true, {2, 151, 62, 193}, {2, 151, 62, 173}, {62, 2, 122, 24}, {0, 22, 289, 153}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.scrollOpposite);
        TTeTabControl* tabs = MakeTabs(10);
        tabs->SetMultiLine(true);
        tabs->SetScrollOpposite(c.scrollOpposite);
        tabs->SetTabIndex(9);
        EXPECT_EQ(tabs->RowCount(), 3);
        EXPECT_EQ(tabs->GetTabRow(9), 2);
        EXPECT_EQ(tabs->GetTabRect(0), c.tab0);
        EXPECT_EQ(tabs->GetTabRect(4), c.tab4);
        EXPECT_EQ(tabs->GetTabRect(9), c.tab9);
        EXPECT_EQ(tabs->GetFrameRect(), c.frame);
        EXPECT_EQ(tabs->PtInTab(c.tab4.left + 5, c.tab4.top + 5), 4);
        EXPECT_EQ(tabs->IsTabOnOpositeSide(0), c.scrollOpposite);
        delete tabs;
    }
}

TEST_F(TabControlTest, RowsGrowPastAHundred) {
    TTeTabControl* tabs = MakeTabs(0);
    tabs->SetMultiLine(true);
    tabs->SetTabWidth(200);
    tabs->Tabs()->BeginUpdate();
    for (int i = 0; i < 150; ++i) tabs->Tabs()->Add("T" + std::to_string(i));
    tabs->Tabs()->EndUpdate();
    EXPECT_EQ(tabs->RowCount(), 150);
    EXPECT_EQ(tabs->GetTabRow(149), 149);
    tabs->SetTabIndex(149);
    EXPECT_EQ(tabs->GetTabRect(149).bottom, tabs->GetTabLineHeight() + 2);
    ui_.RunUntilIdle();
}

TEST_F(TabControlTest, ScrollButtonsShowOnlyWhenTabsDoNotFit) {
    struct Case {
        int count, tabWidth;
        bool multiLine;
        bool buttons;
    };
    const Case cases[] = {
        {2, 60, false, false},   // all fit
        {1, 400, false, false},  // one tab never scrolls
        {10, 60, false, true},
        {10, 60, true, false},  // rows instead
    };
    for (const Case& c : cases) {
        TTeTabControl* tabs = MakeTabs(c.count);
        tabs->SetTabWidth(c.tabWidth);
        tabs->SetMultiLine(c.multiLine);
        EXPECT_EQ(tabs->GetScrlBtnsVisible(), c.buttons) << c.count << " " << c.tabWidth;
        delete tabs;
    }
}

TEST_F(TabControlTest, SelectingAScrolledOffTabBringsItIntoView) {
    TTeTabControl* tabs = MakeTabs(10);
    tabs->SetTabIndex(8);
    const TRect r = tabs->GetTabRect(8);
    EXPECT_GT(tabs->FirstVisibleTab(), 0);
    EXPECT_GE(r.left, 0);
    EXPECT_LE(r.right, tabs->GetLeftBtnRect().left);
    tabs->SetTabIndex(1);
    EXPECT_EQ(tabs->FirstVisibleTab(), 1);
}

TEST_F(TabControlTest, AHeldScrollButtonRepeatsAfter300ThenEvery100MsUntilTheLastTabShows) {
    TTeTabControl* tabs = MakeTabs(10);
    const TRect button = tabs->GetRightBtnRect();
    const TPoint at{button.left + 4, button.top + 4};
    Down(tabs, at);
    EXPECT_EQ(tabs->FirstVisibleTab(), 1);
    ui_.AdvanceClock(290);
    EXPECT_EQ(tabs->FirstVisibleTab(), 1);
    ui_.AdvanceClock(20);
    EXPECT_EQ(tabs->FirstVisibleTab(), 2);
    ui_.AdvanceClock(100);
    EXPECT_EQ(tabs->FirstVisibleTab(), 3);
    ui_.AdvanceClock(2000);
    const int end = tabs->FirstVisibleTab();
    EXPECT_EQ(tabs->GetLastVisibleTab(true), 9);
    EXPECT_LT(end, 9);
    Up(tabs, at);
    EXPECT_FALSE(tabs->RepeatTimer()->Enabled());
    // The last step back would still show every tab: it went no further.
    tabs->ScrollTabs(-1);
    EXPECT_NE(tabs->GetLastVisibleTab(true), 9);
}

TEST_F(TabControlTest, OnChangingSeesTheNewIndexAndMayRefuse) {
    TTeTabControl* tabs = MakeTabs(3);
    tabs->SetTabIndex(0);
    std::vector<int> seen;
    bool allow = false;
    int changes = 0;
    tabs->OnChanging = [&](TObject*, bool& allowChange) {
        seen.push_back(tabs->TabIndex());
        allowChange = allow;
    };
    tabs->OnChange = [&](TObject*) { ++changes; };
    tabs->SetTabIndex(2);
    EXPECT_EQ(seen, std::vector<int>{2});
    EXPECT_EQ(tabs->TabIndex(), 0);
    EXPECT_EQ(changes, 0);
    allow = true;
    tabs->SetTabIndex(2);
    EXPECT_EQ(tabs->TabIndex(), 2);
    EXPECT_EQ(changes, 1);
    // Out-of-range indexes are ignored.
    tabs->SetTabIndex(3);
    tabs->SetTabIndex(-1);
    EXPECT_EQ(tabs->TabIndex(), 2);
}

TEST_F(TabControlTest, ArrowKeysStopAtTheEnds) {
    TTeTabControl* tabs = MakeTabs(3);
    tabs->SetTabIndex(0);
    tabs->SetFocus();
    ui_.RunUntilIdle();
    const struct {
        UINT key;
        int expected;
    } steps[] = {{VK_LEFT, 0}, {VK_RIGHT, 1}, {VK_DOWN, 2}, {VK_RIGHT, 2}, {VK_UP, 1}};
    for (const auto& s : steps) {
        ui_.PressKey(s.key);
        EXPECT_EQ(tabs->TabIndex(), s.expected) << s.key;
    }
}

TEST_F(TabControlTest, TheThemeDrawsFirstMiddleAndLastTabsInTheirStates) {
    TTabTheme* theme = UseTabTheme();
    TTeTabControl* tabs = MakeTabs(4);
    tabs->SetTabIndex(1);
    const TRect hot = tabs->GetTabRect(2);
    MoveTo(tabs, {hot.left + 5, hot.top + 5});
    Repaint(theme, tabs);
    const auto items = theme->Of("TabDrawItem");
    ASSERT_EQ(items.size(), 4u);
    // Unselected tabs first, the selected one last, over the frame.
    const std::vector<std::pair<int, int>> expected = {{ktisTopFirst, ktidsNormal},
                                                       {ktisTopMiddle, ktidsHot},
                                                       {ktisTopLast, ktidsNormal},
                                                       {ktisTopMiddle, ktidsActive}};
    for (size_t i = 0; i < items.size(); ++i) {
        EXPECT_EQ(items[i].itemClass, expected[i].first) << i;
        EXPECT_EQ(items[i].state, expected[i].second) << i;
    }
    EXPECT_EQ(items[3].rect, tabs->GetTabRect(1));
    EXPECT_EQ(theme->Of("TabDrawText").size(), 4u);
    EXPECT_EQ(theme->Of("TabDraw").size(), 1u);
    EXPECT_EQ(theme->Of("TabDraw")[0].rect, tabs->GetFrameRect());
}

TEST_F(TabControlTest, ATabNarrowerThanNinePixelsHasAFaceButNoText) {
    TTabTheme* theme = UseTabTheme();
    TTeTabControl* tabs = MakeTabs(2);
    tabs->SetTabWidth(8);
    Repaint(theme, tabs);
    EXPECT_EQ(theme->Of("TabDrawItem").size(), 2u);
    EXPECT_TRUE(theme->Of("TabDrawText").empty());
}

TEST_F(TabControlTest, TheScrollButtonsAreDrawnInTheirStates) {
    TTabTheme* theme = UseTabTheme();
    TTeTabControl* tabs = MakeTabs(10);
    const TRect right = tabs->GetRightBtnRect();
    MoveTo(tabs, {right.left + 3, right.top + 3});
    Repaint(theme, tabs);
    const auto buttons = theme->Of("TabDrawButton");
    ASSERT_EQ(buttons.size(), 2u);
    EXPECT_EQ(buttons[0].itemClass, ktbcLeft);
    EXPECT_EQ(buttons[0].state, ktbdsNormal);
    EXPECT_EQ(buttons[1].itemClass, ktbcRight);
    EXPECT_EQ(buttons[1].state, ktbdsHot);
}

TEST_F(TabControlTest, TheClassicOutlineIsLitFromTheTopLeft) {
    TTeTabControl* tabs = MakeTabs(3);
    tabs->SetTabIndex(0);
    const TRect r = tabs->GetTabRect(1);
    const int L = r.left, T = r.top, R = r.right, B = r.bottom;
    const struct {
        int x, y;
        TColor color;
    } pixels[] = {
        {L + 5, T, clBtnHighlight},      {L, T + 5, clBtnHighlight},  {L + 1, T + 1, clBtnHighlight},
        {R - 1, T + 5, cl3DDkShadow},    {R - 2, T + 5, clBtnShadow}, {R - 2, T + 1, cl3DDkShadow},
        {(L + R) / 2, B - 3, clBtnFace},
    };
    for (const auto& p : pixels) EXPECT_EQ(ShownAt(tabs, p.x, p.y), Rgb(p.color)) << p.x << "," << p.y;
}

}  // namespace
}  // namespace tarvel
