// The skinned bars laid over a wrapped control's own: they show where and
// when the native bars show, mirror range, page and position, and send the
// user's scrolling back to the control.

#include <algorithm>
#include <functional>

#include "WrappedControlFixture.h"
#include "platform/classlib/ExtCtrls.h"
#include "platform/classlib/StdCtrls.h"
#include "platform/classlib/WindowScrollBars.h"
#include "platform/winsys/WindowApi.h"
#include "skin/controls/te_controls_grids.h"
#include "skin/controls/te_controls_memo.h"

namespace tarvel {
namespace {

class SubScrollTest : public testing::WrappedControlTest {
protected:
    TTeStringGrid* Grid(int rows, TScrollStyle bars = ssBoth) {
        auto* grid = Make<TTeStringGrid>(10, 10);
        grid->SetBounds(10, 10, 200, 150);
        grid->SetScrollBars(bars);
        grid->SetRowCount(rows);
        grid->SetColCount(2);  // narrow enough for no bottom bar
        ui_.RunUntilIdle();
        return grid;
    }
    static SCROLLINFO Native(TWinControl* c, int bar) {
        SCROLLINFO info;
        GetScrollInfo(c->Handle(), bar, info);
        return info;
    }
    static TRect NativeRect(TWinControl* c, int32_t id) {
        SCROLLBARINFO info;
        GetScrollBarInfo(c->Handle(), id, info);
        return info.rcScrollBar;
    }
};

TEST_F(SubScrollTest, ThePositionIsMirroredAfterEachScroll) {
    TTeStringGrid* grid = Grid(1000);
    TTeInplaceScrollBar* bar = grid->SubScrollBar()->VertBar();
    struct Case {
        TTeScrollCode code;
        int pos;  // what the hosted bar asks for
        int top;  // where the grid goes
    } cases[] = {
        {kscLineDown, 2, 2},     {kscPageDown, 999, 2 + grid->VisibleRowCount()},
        {kscBottom, 999, -1},    {kscTop, 0, 1},
        {kscPosition, 500, 500}, {kscLineUp, 0, 499},
    };
    for (const Case& c : cases) {
        ScrollHosted(bar, c.code, c.pos);
        ui_.RunUntilIdle();
        const SCROLLINFO native = Native(grid, SB_VERT);
        if (c.top >= 0) {
            EXPECT_EQ(grid->TopRow(), c.top) << int(c.code);
        }
        EXPECT_EQ(bar->ScrollBar()->Position(), native.nPos) << int(c.code);
        EXPECT_EQ(bar->ScrollBar()->Position(), grid->TopRow()) << int(c.code);
        EXPECT_EQ(bar->ScrollBar()->Min(), native.nMin);
        EXPECT_EQ(bar->ScrollBar()->Max(), native.nMax + 1);
        EXPECT_EQ(bar->ScrollBar()->PageSize(), int(native.nPage));
    }
    // The wheel scrolls the grid without a scroll message: the next paint mirrors it.
    ui_.Wheel(grid, -120);
    ui_.RunUntilIdle();
    EXPECT_EQ(bar->ScrollBar()->Position(), grid->TopRow());
}

// The scroll box's scroll messages pass its hook by, yet its bars follow
// the hosted bar, the wheel and resizing; its Size sets their thickness.
TEST_F(SubScrollTest, TheScrollBoxBarsFollowTheWheelAndResizing) {
    auto* box = Make<TTeScrollBox>(10, 10);
    box->SetBounds(10, 10, 150, 100);
    box->VertScrollBar()->SetSize(30);
    auto* far = new TPanel(box);
    far->SetParent(box);
    far->SetBounds(10, 300, 50, 20);
    auto* near = new TEdit(box);  // the wheel goes where the focus is
    near->SetParent(box);
    near->SetBounds(10, 10, 50, 21);
    ui_.RunUntilIdle();
    near->SetFocus();
    TTeInplaceScrollBar* vert = box->SubScrollBar()->VertBar();
    auto mirrored = [&](const char* when) {
        ui_.RunUntilIdle();
        const SCROLLINFO native = Native(box, SB_VERT);
        EXPECT_TRUE(vert->Visible()) << when;
        EXPECT_EQ(vert->Width(), 30) << when;
        const TRect r = NativeRect(box, OBJID_VSCROLL);
        const TPoint at = vert->Parent()->ScreenToClient(TPoint{r.left, r.top});
        EXPECT_EQ(vert->BoundsRect(), (TRect{at.x, at.y, at.x + 30, at.y + r.Height()})) << when;
        EXPECT_EQ(vert->ScrollBar()->Position(), box->VertScrollBar()->Position()) << when;
        EXPECT_EQ(vert->ScrollBar()->PageSize(), int(native.nPage)) << when;
    };
    mirrored("shown");
    EXPECT_FALSE(box->SubScrollBar()->HorzBar()->Visible());

    ScrollHosted(vert, kscLineDown, 1);
    EXPECT_EQ(box->VertScrollBar()->Position(), 8);
    EXPECT_EQ(far->Top(), 292);
    mirrored("after a line down");
    ui_.Wheel(box, -120);
    EXPECT_EQ(box->VertScrollBar()->Position(), 32);
    mirrored("after the wheel");
    box->SetHeight(200);
    mirrored("after growing");
    box->SetHeight(400);  // everything fits: no bar
    ui_.RunUntilIdle();
    EXPECT_FALSE(vert->Visible());
    box->SetHeight(100);
    mirrored("after shrinking back");
}

TEST_F(SubScrollTest, ADraggedThumbIsNotPulledBackWhileTheControlScrolls) {
    TTeStringGrid* grid = Grid(1000);
    auto* memo = Make<TTeMemo>(230, 10);
    memo->SetBounds(230, 10, 150, 150);
    memo->SetScrollBars(ssVertical);
    for (int i = 0; i < 1000; ++i) memo->Lines()->Add("line " + IntToStr(i));
    SendMessage(memo->Handle(), WM_VSCROLL, SB_TOP, 0);
    ui_.RunUntilIdle();
    struct Case {
        TWinControl* control;
        std::function<int()> top;
        bool followsWhileDragging;  // the grid without goThumbTracking waits for the release
    } cases[] = {
        {grid, [&] { return grid->TopRow(); }, false},
        {memo, [&] { return memo->TopLine(); }, true},
    };
    for (const Case& c : cases) {
        TTeInplaceScrollBar* bar =
            static_cast<TTeSubScrollBar*>(c.control == grid ? grid->SubScrollBar() : memo->SubScrollBar())
                ->VertBar();
        TTeScrollBar* hosted = bar->ScrollBar();
        ASSERT_TRUE(bar->Visible()) << c.control->ClassName();
        const int before = c.top();
        const TRect slider = hosted->GetSliderRect();
        const TPoint grip{(slider.left + slider.right) / 2, (slider.top + slider.bottom) / 2};
        Down(bar, grip);
        MoveTo(bar, TPoint{grip.x, grip.y + 20});
        ui_.RunUntilIdle();
        const int dragged = hosted->Position();
        EXPECT_GT(dragged, before) << c.control->ClassName();
        EXPECT_EQ(hosted->GetSliderRect().top, slider.top + 20) << c.control->ClassName();
        EXPECT_EQ(c.top(), c.followsWhileDragging ? dragged : before) << c.control->ClassName();
        // Paints and erases of the control run the mirror: the thumb stays.
        c.control->Invalidate();
        ui_.RunUntilIdle();
        EXPECT_EQ(hosted->Position(), dragged) << c.control->ClassName();
        Up(bar, TPoint{grip.x, grip.y + 20});
        EXPECT_EQ(c.top(), dragged) << c.control->ClassName();
        EXPECT_EQ(hosted->Position(), c.top()) << c.control->ClassName();
    }
}

TEST_F(SubScrollTest, AThumbPositionPast65535ReachesTheControlWhole) {
    TTeStringGrid* grid = Grid(100000);
    TTeInplaceScrollBar* bar = grid->SubScrollBar()->VertBar();
    for (int row : {70000, 65536, 65535, 90000, 3}) {
        ScrollHosted(bar, kscPosition, row);
        EXPECT_EQ(grid->TopRow(), row);
        EXPECT_EQ(bar->ScrollBar()->Position(), row);
    }
}

TEST_F(SubScrollTest, TheBarIsHiddenWhenTheNativeBarWouldBe) {
    struct Case {
        const char* what;
        int rows;
        TScrollStyle bars;
        std::function<void(TTeStringGrid*)> change;
        bool vertShown, horzShown;
    } cases[] = {
        {"few rows", 3, ssBoth, nullptr, false, false},
        {"many rows", 100, ssBoth, nullptr, true, false},
        {"many rows, no bars", 100, ssNone, nullptr, false, false},
        {"many rows and columns", 100, ssBoth, [](TTeStringGrid* g) { g->SetColCount(30); }, true, true},
        {"horizontal only", 100, ssHorizontal, [](TTeStringGrid* g) { g->SetColCount(30); }, false, true},
        {"rows removed again", 100, ssBoth, [](TTeStringGrid* g) { g->SetRowCount(2); }, false, false},
        {"grid hidden", 100, ssBoth, [](TTeStringGrid* g) { g->SetVisible(false); }, false, false},
        {"grid hidden and shown", 100, ssBoth,
         [](TTeStringGrid* g) {
             g->SetVisible(false);
             g->SetVisible(true);
         },
         true, false},
    };
    for (const Case& c : cases) {
        TTeStringGrid* grid = Grid(c.rows, c.bars);
        if (c.change) c.change(grid);
        ui_.RunUntilIdle();
        TTeInplaceScrollBar* vert = grid->SubScrollBar()->VertBar();
        TTeInplaceScrollBar* horz = grid->SubScrollBar()->HorzBar();
        EXPECT_EQ(vert->Visible(), c.vertShown) << c.what;
        EXPECT_EQ(horz->Visible(), c.horzShown) << c.what;
        // A shown bar lies exactly over the native one.
        for (auto [bar, id] : {std::pair{vert, OBJID_VSCROLL}, std::pair{horz, OBJID_HSCROLL}}) {
            if (!bar->Visible()) continue;
            const TPoint origin = bar->ClientToScreen(TPoint{0, 0});
            EXPECT_EQ((TRect{origin.x, origin.y, origin.x + bar->Width(), origin.y + bar->Height()}),
                      NativeRect(grid, id))
                << c.what;
        }
        delete grid;
    }
}

TEST_F(SubScrollTest, ABarLongerThan4000PixelsCollapsesToOnePixel) {
    struct Case {
        int barLength;
        int expectedHeight;
    } cases[] = {{4000, 4000}, {4001, 1}, {3999, 3999}};
    for (const Case& c : cases) {
        TTeStringGrid* grid = Grid(100000, ssVertical);
        // Grow the grid until its native bar has the length asked for.
        const int extra = grid->Height() - NativeRect(grid, OBJID_VSCROLL).Height();
        grid->SetHeight(c.barLength + extra);
        ui_.RunUntilIdle();
        ASSERT_EQ(NativeRect(grid, OBJID_VSCROLL).Height(), c.barLength);
        TTeInplaceScrollBar* bar = grid->SubScrollBar()->VertBar();
        bar->ScrollBarUpdate();
        EXPECT_EQ(bar->Height(), c.expectedHeight) << c.barLength;
        EXPECT_EQ(bar->Width(), c.expectedHeight == 1 ? 1 : NativeRect(grid, OBJID_VSCROLL).Width());
        delete grid;
    }
}

TEST_F(SubScrollTest, NothingButTheMirrorPlacesTheBar) {
    TTeStringGrid* grid = Grid(100);
    TTeInplaceScrollBar* bar = grid->SubScrollBar()->VertBar();
    const TRect placed = bar->BoundsRect();
    bar->SetBounds(0, 0, 5, 5);
    bar->SetAlign(alClient);
    EXPECT_EQ(bar->BoundsRect(), placed);
}

TEST_F(SubScrollTest, TheBarsStayAboveTheControlWhenItsZOrderChanges) {
    TTeStringGrid* grid = Grid(100, ssBoth);
    grid->SetColCount(30);
    ui_.RunUntilIdle();
    auto above = [&](TWinControl* bar) {
        const std::vector<HWND> order = GetChildWindows(Form()->Handle());
        return std::find(order.begin(), order.end(), bar->Handle()) <
               std::find(order.begin(), order.end(), grid->Handle());
    };
    struct Case {
        const char* what;
        std::function<void()> act;
    } cases[] = {
        {"brought to front", [&] { grid->BringToFront(); }},
        {"moved without z-order", [&] { grid->SetBounds(12, 12, 200, 150); }},
        {"front by the window system",
         [&] { SetWindowPos(grid->Handle(), HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE); }},
    };
    for (const Case& c : cases) {
        c.act();
        ui_.RunUntilIdle();
        EXPECT_TRUE(above(grid->SubScrollBar()->VertBar())) << c.what;
        EXPECT_TRUE(above(grid->SubScrollBar()->HorzBar())) << c.what;
    }
}

TEST_F(SubScrollTest, ADetachedCompanionTakesItsBarsOffAndStopsListening) {
    TTeStringGrid* grid = Grid(100);
    TTeSubScrollBar* sub = grid->SubScrollBar();
    TTeInplaceScrollBar* bar = sub->VertBar();
    const int before = bar->ScrollBar()->Position();
    sub->SetControl(nullptr);
    EXPECT_EQ(sub->VertBar()->Parent(), nullptr);
    EXPECT_EQ(sub->HorzBar()->Parent(), nullptr);
    EXPECT_TRUE(sub->Inactive());
    grid->SetTopRow(40);
    ui_.RunUntilIdle();
    EXPECT_EQ(bar->ScrollBar()->Position(), before);
    // The grid frees the companion and the companion its bars (the leak
    // checker watches); the form goes on working.
    delete grid;
    ui_.RunUntilIdle();
    TTeStringGrid* other = Grid(100);
    EXPECT_TRUE(other->SubScrollBar()->VertBar()->Visible());
}

}  // namespace
}  // namespace tarvel
