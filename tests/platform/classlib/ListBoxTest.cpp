// List boxes: picking, multi-selection, owner drawing, scrolling and the
// list messages.

#include <gtest/gtest.h>

#include "platform/classlib/StdCtrls.h"
#include "platform/classlib/testing/UiDriver.h"

namespace tarvel {
namespace {

TPoint CentreOf(const TRect& r) { return TPoint{(r.left + r.right) / 2, (r.top + r.bottom) / 2}; }

class ListBoxTest : public ::testing::Test {
protected:
    void SetUp() override {
        form = new TForm(Application);
        form->SetName("Main");
        form->SetBounds(50, 50, 400, 300);
        list = new TListBox(form);
        list->SetName("List");
        list->SetParent(form);
        list->SetBounds(10, 10, 150, 100);
        form->Show();
        ui.RunUntilIdle();
    }

    void Fill(int n) {
        for (int i = 0; i < n; ++i) list->Items()->Add("item " + IntToStr(i));
    }

    TUiDriver ui;
    TForm* form = nullptr;
    TListBox* list = nullptr;
};

TEST_F(ListBoxTest, PickingAndDoubleClickingAnItem) {
    list->Items()->Add("..");
    list->Items()->Add("sub");
    std::vector<int> clicked, doubled;
    list->OnClick = [&](TObject*) { clicked.push_back(list->ItemIndex()); };
    list->OnDblClick = [&](TObject*) { doubled.push_back(list->ItemIndex()); };
    ui.PickItem(list, "sub");
    ui.AdvanceClock(1000);
    ui.PickItem(list, "sub");  // a click on the selected item notifies again
    ui.AdvanceClock(1000);
    ui.DoubleClick(list);
    EXPECT_EQ(clicked, (std::vector<int>{1, 1}));
    EXPECT_EQ(doubled, std::vector<int>{1});
    EXPECT_TRUE(ui.Problems().empty());
}

TEST_F(ListBoxTest, MultiSelectionWithCtrlShiftAndTheKeyboard) {
    Fill(10);
    list->SetMultiSelect(true);
    list->SetExtendedSelect(true);
    ui.PickItem(list, "item 2");
    ui.AdvanceClock(1000);
    ui.ClickAt(list, CentreOf(list->ItemRect(5)));  // plain click: only this one
    EXPECT_EQ(list->SelCount(), 1);
    ui.AdvanceClock(1000);
    ui.Backend().KeyDown(VK_SHIFT);
    ui.ClickAt(list, CentreOf(list->ItemRect(2)));
    ui.Backend().KeyUp(VK_SHIFT);
    EXPECT_EQ(list->SelCount(), 4);  // 2..5
    ui.AdvanceClock(1000);
    ui.Backend().KeyDown(VK_CONTROL);
    ui.ClickAt(list, CentreOf(list->ItemRect(3)));
    ui.Backend().KeyUp(VK_CONTROL);
    EXPECT_EQ(list->SelCount(), 3);
    EXPECT_FALSE(list->Selected(3));
    EXPECT_TRUE(list->Selected(4));
    EXPECT_EQ(SendMessage(list->Handle(), LB_GETSELCOUNT, 0, 0), 3);
    ui.PressKey(VK_DOWN);
    EXPECT_EQ(list->SelCount(), 1);
    EXPECT_TRUE(list->Selected(4));
}

TEST_F(ListBoxTest, OwnerDrawnItemsAreDrawnThroughTheWindowsMessage) {
    Fill(3);
    list->OnMeasureItem = [](TWinControl*, int index, int& height) { height = 20 + index * 10; };
    list->SetStyle(lbOwnerDrawVariable);
    std::vector<int> drawn;
    list->OnDrawItem = [&](TWinControl*, int, TRect rect, TOwnerDrawState) {
        drawn.push_back(rect.Height());
        list->Canvas()->FillRect(rect);
    };
    list->SetItemIndex(1);
    list->Repaint();
    ui.RunUntilIdle();
    EXPECT_EQ(drawn, (std::vector<int>{20, 30, 40}));
    EXPECT_EQ(list->ItemAtPos(TPoint{5, 25}), 1);
    // A subclass taking CN_DRAWITEM draws every item itself.
    int taken = 0;
    list->WindowProc = [&, old = list->WindowProc](TMessage& m) {
        if (m.Msg == CN_DRAWITEM) {
            ++taken;
            m.Result = 1;
            return;
        }
        old(m);
    };
    drawn.clear();
    list->Repaint();
    ui.RunUntilIdle();
    EXPECT_EQ(taken, 3);
    EXPECT_TRUE(drawn.empty());
}

TEST_F(ListBoxTest, ALongListScrollsWithItsBarTheWheelAndMessages) {
    Fill(50);
    ui.RunUntilIdle();
    EXPECT_TRUE(GetWindowLongPtr(list->Handle(), GWL_STYLE) & WS_VSCROLL);
    ui.Wheel(list, -WHEEL_DELTA);
    EXPECT_EQ(list->TopIndex(), 3);
    SendMessage(list->Handle(), LB_SETTOPINDEX, 20, 0);
    EXPECT_EQ(SendMessage(list->Handle(), LB_GETTOPINDEX, 0, 0), 20);
    SendMessage(list->Handle(), WM_VSCROLL, SB_BOTTOM, 0);
    EXPECT_EQ(list->TopIndex() + 100 / 16, 50);
    ui.PickItem(list, "item 7");
    EXPECT_EQ(list->ItemIndex(), 7);
    EXPECT_EQ(SendMessage(list->Handle(), LB_GETCURSEL, 0, 0), 7);
    SendMessage(list->Handle(), LB_DELETESTRING, 0, 0);
    EXPECT_EQ(list->Count(), 49);
}

// The bar stands inside the sunken border, and its arrows work as soon as
// the items overflow the list, even by part of one, with no room for a thumb.
TEST_F(ListBoxTest, TheBarLiesInsideTheBorderAndScrollsWhenItemsOverflow) {
    Fill(1);
    ui.RunUntilIdle();
    const int item = list->ItemRect(0).Height();
    list->Items()->Clear();
    const int edge = GetSystemMetrics(SM_CXEDGE);
    const struct {
        int height, items;
        bool bar;
    } cases[] = {
        {2 * edge + 2 * item + item / 2, 3, true},  // the gallery's: two and a half rows
        {2 * edge + 3 * item, 3, false},            // exactly full
        {2 * edge + 3 * item - 1, 3, true},         // one pixel short
        {2 * edge + 6 * item, 12, true},            // room for a thumb
    };
    for (const auto& c : cases) {
        list->Items()->Clear();
        list->SetTopIndex(0);
        list->SetBounds(10, 10, 120, c.height);
        Fill(c.items);
        ui.RunUntilIdle();
        const String what = IntToStr(c.height) + " px, " + IntToStr(c.items) + " items";
        SCROLLBARINFO info;
        ASSERT_TRUE(GetScrollBarInfo(list->Handle(), OBJID_VSCROLL, info)) << what;
        if (!c.bar) {
            EXPECT_TRUE(info.rgstate[0] & STATE_SYSTEM_INVISIBLE) << what;
            continue;
        }
        const TRect window = WindowRect(list->Handle());
        const TRect bar = info.rcScrollBar;
        EXPECT_EQ(bar.right, window.right - edge) << what;
        EXPECT_EQ(bar.top, window.top + edge) << what;
        EXPECT_EQ(bar.bottom, window.bottom - edge) << what;
        EXPECT_FALSE(info.rgstate[0] & STATE_SYSTEM_UNAVAILABLE) << what;
        // The sunken edge is drawn round the bar too: its light outer line
        // runs down the window's right side.
        const auto shown = ui.Backend().ScreenPixels();
        const uint32_t light = ColorRefToPixel(GetSysColor(COLOR_3DHILIGHT)) & 0xFFFFFF;
        for (int y : {bar.top, (bar.top + bar.bottom) / 2, bar.bottom - 1})
            EXPECT_EQ(shown->Pixel(window.right - 1, y) & 0xFFFFFF, light) << what << " at " << y;
        // The down arrow scrolls by one item.
        const TPoint arrow{(bar.left + bar.right) / 2, bar.bottom - 3};
        ui.Backend().MouseDown(arrow);
        ui.Backend().MouseUp(arrow);
        ui.RunUntilIdle();
        EXPECT_EQ(list->TopIndex(), 1) << what;
    }
}

}  // namespace
}  // namespace tarvel
