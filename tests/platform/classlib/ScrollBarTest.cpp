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
