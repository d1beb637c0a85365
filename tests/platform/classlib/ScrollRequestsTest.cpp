// Scroll requests from a bar that is not the control's own (a skin's bar
// lying over it) carry the thumb position in the message; the controls
// follow it as they follow their own bar.

#include <functional>

#include "platform/classlib/Grids.h"
#include "platform/classlib/StdCtrls_Edit.h"
#include "platform/classlib/StdCtrls_ListBox.h"
#include "platform/classlib/WindowScrollBars.h"

#include "ControlFixture.h"

namespace tarvel {
namespace {

class ScrollRequestsTest : public ControlFixture {};

TEST_F(ScrollRequestsTest, AThumbPositionInTheMessageMovesTheControl) {
    auto* grid = Add<TStringGrid>("Grid", Bounds(10, 10, 200, 100));
    grid->SetRowCount(60);
    auto* list = Add<TListBox>("List", Bounds(220, 10, 100, 100));
    auto* memo = Add<TMemo>("Memo", Bounds(10, 120, 200, 100));
    memo->SetScrollBars(ssVertical);
    for (int i = 0; i < 60; ++i) {
        list->Items()->Add(IntToStr(i));
        memo->Lines()->Add(IntToStr(i));
    }
    ShowForm();
    struct Case {
        TWinControl* control;
        std::function<int()> top;
    } cases[] = {
        {grid, [&] { return grid->TopRow(); }},
        {list, [&] { return list->TopIndex(); }},
        {memo, [&] { return memo->TopLine(); }},
    };
    for (const Case& c : cases) {
        for (WORD code : {WORD(SB_THUMBTRACK), WORD(SB_THUMBPOSITION)}) {
            if (c.control == grid && code == SB_THUMBTRACK) continue;  // the grid follows on release only
            SendMessage(c.control->Handle(), WM_VSCROLL, MAKEWPARAM(code, 20), 0);
            EXPECT_EQ(c.top(), 20) << c.control->Name() << " " << code;
            SendMessage(c.control->Handle(), WM_VSCROLL, MAKEWPARAM(SB_TOP, 0), 0);
        }
    }
}

// Past 65535 the message's 16 bits are not enough: the bar that sends it
// sets the track position first, and the control takes that.
TEST_F(ScrollRequestsTest, ATrackPositionSetBeforeTheRequestCarriesAllThirtyTwoBits) {
    auto* grid = Add<TStringGrid>("Grid", Bounds(10, 10, 200, 100));
    grid->SetRowCount(100000);
    ShowForm();
    struct Case {
        int row;
        bool setTrack;
        int expected;
    } cases[] = {
        {70000, true, 70000},
        {70000, false, 70000 & 0xFFFF},  // the message alone wraps
        {65535, true, 65535},
        {5, true, 5},
    };
    for (const Case& c : cases) {
        if (c.setTrack) {
            SCROLLINFO info;
            info.fMask = SIF_TRACKPOS;
            info.nTrackPos = c.row;
            SetScrollInfo(grid->Handle(), SB_VERT, info, false);
        }
        SendMessage(grid->Handle(), WM_VSCROLL, MAKEWPARAM(SB_THUMBPOSITION, c.row & 0xFFFF), 0);
        EXPECT_EQ(grid->TopRow(), c.expected) << c.row << " " << c.setTrack;
        SendMessage(grid->Handle(), WM_VSCROLL, MAKEWPARAM(SB_TOP, 0), 0);
    }
}

// What a skin reads to lay its own bar over a window's.
TEST_F(ScrollRequestsTest, TheWindowsBarsAreDescribedInScreenCoordinates) {
    auto* grid = Add<TStringGrid>("Grid", Bounds(10, 10, 200, 100));
    grid->SetRowCount(100);
    grid->SetColCount(2);  // narrow enough for no bottom bar
    ShowForm();
    TWindowScrollBars* bars = WindowScrollBarsOf(grid->Handle());
    ASSERT_TRUE(bars);
    const TRect window = WindowRect(grid->Handle());
    const TScrollBarParts parts = bars->Parts(SB_VERT);
    SCROLLBARINFO info;
    ASSERT_TRUE(GetScrollBarInfo(grid->Handle(), OBJID_VSCROLL, info));
    EXPECT_EQ(info.rcScrollBar, (TRect{window.left + parts.bar.left, window.top + parts.bar.top,
                                       window.left + parts.bar.right, window.top + parts.bar.bottom}));
    EXPECT_EQ(info.dxyLineButton, parts.lineUp.Height());
    EXPECT_EQ(info.xyThumbTop, parts.thumb.top - parts.bar.top);
    EXPECT_EQ(info.xyThumbBottom, parts.thumb.bottom - parts.bar.top);
    EXPECT_EQ(info.rgstate[0], 0u);

    // A held thumb reads pressed; a hidden bar invisible; a disabled one unavailable.
    const TPoint thumb{window.left + (parts.thumb.left + parts.thumb.right) / 2,
                       window.top + (parts.thumb.top + parts.thumb.bottom) / 2};
    ui.Backend().MouseMove(thumb);
    ui.Backend().MouseDown(thumb);
    ui.RunUntilIdle();
    ASSERT_TRUE(GetScrollBarInfo(grid->Handle(), OBJID_VSCROLL, info));
    EXPECT_EQ(info.rgstate[3], STATE_SYSTEM_PRESSED);
    ui.Backend().MouseUp(thumb);
    ui.RunUntilIdle();
    ASSERT_TRUE(GetScrollBarInfo(grid->Handle(), OBJID_HSCROLL, info));
    EXPECT_EQ(info.rgstate[0], STATE_SYSTEM_INVISIBLE);
    EXPECT_TRUE(info.rcScrollBar.IsEmpty());
    grid->SetEnabled(false);
    ASSERT_TRUE(GetScrollBarInfo(grid->Handle(), OBJID_VSCROLL, info));
    EXPECT_EQ(info.rgstate[0], STATE_SYSTEM_UNAVAILABLE);
    // Only the two bars, and only of windows that have them.
    EXPECT_FALSE(GetScrollBarInfo(grid->Handle(), 0, info));
    EXPECT_FALSE(GetScrollBarInfo(form->Handle(), OBJID_VSCROLL, info));
}

}  // namespace
}  // namespace tarvel
