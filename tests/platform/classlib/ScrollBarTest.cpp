// Scroll bars, scroll boxes and splitters.

#include "platform/classlib/ExtCtrls.h"
#include "platform/classlib/ScrollBars.h"

#include "ControlFixture.h"

namespace tarvel {
namespace {

class ScrollBarTest : public ControlFixture {};

TEST_F(ScrollBarTest, PartsMoveThePositionByLineAndPage) {
    auto* bar = Add<TScrollBar>("Bar", Bounds(10, 10, 200, 17));
    bar->SetParams(0, 0, 99);
    bar->SetPageSize(10);
    bar->SetLargeChange(10);
    std::vector<TScrollCode> codes;
    bar->OnScroll = [&](TObject*, TScrollCode code, int&) { codes.push_back(code); };
    ShowForm();
    const TScrollParts p = bar->Parts();
    ui.ClickAt(bar, TPoint{p.lineDown.left + 3, 8});
    EXPECT_EQ(bar->Position(), 1);
    ui.ClickAt(bar, TPoint{p.track.right - 3, 8});
    EXPECT_EQ(bar->Position(), 11);
    ui.ClickAt(bar, TPoint{p.lineUp.left + 3, 8});
    EXPECT_EQ(bar->Position(), 10);
    bar->SetPosition(500);
    EXPECT_EQ(bar->Position(), 90);  // the last page
    const TScrollParts q = bar->Parts();
    ui.Drag(bar, TPoint{q.thumb.left + 2, 8}, TPoint{q.track.left + 2, 8});
    EXPECT_EQ(bar->Position(), 0);
    EXPECT_EQ(codes.front(), scLineDown);
    EXPECT_EQ(codes.back(), scEndScroll);
}

TEST_F(ScrollBarTest, GeometryKeepsTheThumbInTheTrack) {
    struct Case {
        int min, max, page, pos;
        bool thumb;
    } cases[] = {{0, 100, 0, 0, true},
                 {0, 100, 0, 100, true},
                 {0, 9, 10, 0, false},
                 {5, 5, 0, 5, false},
                 {0, 1000000, 1, 999999, true}};
    for (const Case& c : cases) {
        const TScrollParts p = ScrollPartsOf(Rect(0, 0, 17, 150), true, c.min, c.max, c.page, c.pos);
        EXPECT_EQ(!p.thumb.IsEmpty(), c.thumb) << c.max;
        if (c.thumb) {
            EXPECT_GE(p.thumb.top, p.track.top);
            EXPECT_LE(p.thumb.bottom, p.track.bottom);
        }
    }
}

TEST_F(ScrollBarTest, ScrollBoxScrollsItsChildren) {
    auto* box = Add<TScrollBox>("Box", Bounds(10, 10, 150, 100));
    auto* far = Add<TPanel>("Far", Bounds(10, 300, 50, 20), box);
    auto* near = Add<TEdit>("Near", Bounds(10, 10, 50, 21), box);
    ShowForm();
    ui.Click(near);  // the wheel goes where the focus is
    TControlScrollBar* vert = box->VertScrollBar();
    EXPECT_EQ(vert->Range(), 320);
    EXPECT_TRUE(vert->IsScrollBarVisible());
    EXPECT_FALSE(box->HorzScrollBar()->IsScrollBarVisible());
    box->ScrollInView(far);
    EXPECT_GE(far->Top(), 0);
    EXPECT_LE(far->Top() + far->Height(), box->ClientHeight());
    vert->SetPosition(0);
    EXPECT_EQ(far->Top(), 300);
    ui.Wheel(box, -WHEEL_DELTA);
    EXPECT_EQ(vert->Position(), 24);
    EXPECT_EQ(far->Top(), 276);
    vert->SetPosition(100000);  // no further than the end
    EXPECT_EQ(far->Top() + far->Height(), box->ClientHeight());
    EXPECT_EQ(vert->Position(), 320 - box->ClientHeight());
}

TEST_F(ScrollBarTest, AFrameHasNoBorderAndScrollsTheControlsItHolds) {
    auto* frame = Add<TFrame>("Frame", Bounds(10, 10, 150, 100));
    auto* far = Add<TPanel>("Far", Bounds(10, 300, 50, 20), frame);
    ShowForm();
    EXPECT_EQ(far->Parent(), frame);
    const TRect window = WindowRect(frame->Handle());
    EXPECT_EQ(frame->ClientToScreen(TPoint{0, 0}), (TPoint{window.left, window.top}));
    EXPECT_EQ(frame->VertScrollBar()->Range(), 320);
    EXPECT_TRUE(frame->VertScrollBar()->IsScrollBarVisible());
    frame->ScrollInView(far);
    EXPECT_LE(far->Top() + far->Height(), frame->ClientHeight());
}

// Its bars are child controls, yet a skin that knows only its window reads
// and drives them as window bars.
TEST_F(ScrollBarTest, ScrollBoxAnswersForItsBarsByItsWindow) {
    auto* box = Add<TScrollBox>("Box", Bounds(10, 10, 150, 100));
    auto* far = Add<TPanel>("Far", Bounds(10, 300, 50, 20), box);
    box->VertScrollBar()->SetSize(30);
    ShowForm();
    const HWND h = box->Handle();
    SCROLLBARINFO info;
    ASSERT_TRUE(GetScrollBarInfo(h, OBJID_VSCROLL, info));
    EXPECT_EQ(info.rgstate[0], 0u);
    EXPECT_EQ(info.rcScrollBar.Width(), 30);
    const TRect window = WindowRect(h);
    const TPoint clientCorner = box->ClientToScreen(TPoint{0, 0});
    EXPECT_EQ(info.rcScrollBar.right, clientCorner.x + 150 - 2 * (clientCorner.x - window.left));
    EXPECT_EQ(info.rcScrollBar.top, clientCorner.y);
    EXPECT_EQ(info.dxyLineButton, 30);
    EXPECT_LT(info.xyThumbTop, info.xyThumbBottom);
    ASSERT_TRUE(GetScrollBarInfo(h, OBJID_HSCROLL, info));
    EXPECT_EQ(info.rgstate[0], STATE_SYSTEM_INVISIBLE);

    SCROLLINFO si;
    ASSERT_TRUE(GetScrollInfo(h, SB_VERT, si));
    const int view = static_cast<int>(si.nPage);
    EXPECT_EQ(si.nMax, 319);
    EXPECT_EQ(view, box->ClientHeight());
    EXPECT_EQ(si.nPos, 0);

    // Requests as an overlaid bar sends them: no bar handle, the thumb's
    // place set beforehand.
    struct Step {
        WORD code;
        int track, position;
    } steps[] = {{SB_LINEDOWN, 0, 8},
                 {SB_PAGEDOWN, 0, 8 + view},
                 {SB_LINEUP, 0, view},
                 {SB_THUMBTRACK, 100, 100},
                 {SB_BOTTOM, 0, 320 - view},
                 {SB_THUMBPOSITION, 5000, 320 - view},
                 {SB_TOP, 0, 0}};
    for (const Step& s : steps) {
        SCROLLINFO track;
        track.fMask = SIF_TRACKPOS;
        track.nTrackPos = s.track;
        SetScrollInfo(h, SB_VERT, track, false);
        SendMessage(h, WM_VSCROLL, MAKEWPARAM(s.code, 0), 0);
        EXPECT_EQ(GetScrollPos(h, SB_VERT), s.position) << s.code;
        EXPECT_EQ(far->Top(), 300 - s.position) << s.code;
    }

    // A thumb held on the box's own bar reads pressed.
    box->VertScrollBar()->SetPosition(50);
    ASSERT_TRUE(GetScrollBarInfo(h, OBJID_VSCROLL, info));
    const TPoint thumb{info.rcScrollBar.left + 15,
                       info.rcScrollBar.top + (info.xyThumbTop + info.xyThumbBottom) / 2};
    ui.Backend().MouseMove(thumb);
    ui.Backend().MouseDown(thumb);
    ui.RunUntilIdle();
    ASSERT_TRUE(GetScrollBarInfo(h, OBJID_VSCROLL, info));
    EXPECT_EQ(info.rgstate[3], STATE_SYSTEM_PRESSED);
    ui.Backend().MouseUp(thumb);
    ui.RunUntilIdle();
    box->SetEnabled(false);
    ASSERT_TRUE(GetScrollBarInfo(h, OBJID_VSCROLL, info));
    EXPECT_EQ(info.rgstate[0], STATE_SYSTEM_UNAVAILABLE);
}

TEST_F(ScrollBarTest, SplitterResizesTheControlBeforeIt) {
    auto* left = Add<TPanel>("Left", Bounds(0, 0, 100, 10));
    left->SetAlign(alLeft);
    auto* split = Add<TSplitter>("Split", Bounds(100, 0, 3, 10));
    split->SetAlign(alLeft);
    split->SetLeft(101);
    int moved = 0;
    split->OnMoved = [&](TObject*) { ++moved; };
    ShowForm();
    EXPECT_EQ(split->FindControl(), left);
    ui.Drag(split, TPoint{1, 50}, TPoint{41, 50});
    EXPECT_EQ(left->Width(), 140);
    EXPECT_EQ(split->Left(), 140);
    ui.Drag(split, TPoint{1, 50}, TPoint{-200, 50});
    EXPECT_EQ(left->Width(), split->MinSize());
    EXPECT_EQ(moved, 2);
}

}  // namespace
}  // namespace tarvel
