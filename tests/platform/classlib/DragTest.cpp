// The start and end of a drag: a press that begins one starts it only once
// the pointer has moved far enough with the button held; the release drops
// what started and leaves a mere click alone.

#include "platform/classlib/ExtCtrls.h"

#include "ControlFixture.h"

namespace tarvel {
namespace {

class DragTest : public ControlFixture {};

TEST_F(DragTest, APressBeginsADragThatStartsPastTheThresholdAndEndsOnRelease) {
    struct Case {
        const char* what;
        bool immediate;
        int threshold;
        int move;  // pixels right, with the button held
        bool started, dropped, clicked;
    };
    const Case cases[] = {
        {"no move", false, 4, 0, false, false, true},
        {"short of the threshold", false, 4, 3, false, false, true},
        {"at the threshold", false, 4, 4, true, true, false},
        {"at once", true, 4, 0, true, true, false},
        {"the system's distance", false, -1, 40, true, true, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        auto* panel = Add<TPanel>("Source", Bounds(20, 20, 200, 100));
        ShowForm();
        int starts = 0, ends = 0, clicks = 0;
        bool dropped = false;
        panel->OnMouseDown = [&](TObject*, TMouseButton, TShiftState, int, int) {
            panel->BeginDrag(c.immediate, c.threshold);
        };
        panel->OnStartDrag = [&](TObject*) { ++starts; };
        panel->OnEndDrag = [&](TObject*, bool drop) {
            ++ends;
            dropped = drop;
        };
        panel->OnClick = [&](TObject*) { ++clicks; };
        const TPoint at = panel->ClientToScreen(TPoint{20, 20});
        ui.Backend().MouseMove(at);
        ui.Backend().MouseDown(at);
        ui.RunUntilIdle();
        EXPECT_TRUE(panel->Dragging());
        if (c.move) ui.Backend().MouseMove(TPoint{at.x + c.move, at.y});
        ui.RunUntilIdle();
        EXPECT_EQ(starts, c.started ? 1 : 0);
        ui.Backend().MouseUp(TPoint{at.x + c.move, at.y});
        ui.RunUntilIdle();
        EXPECT_FALSE(panel->Dragging());
        EXPECT_EQ(ends, c.started ? 1 : 0);
        EXPECT_EQ(dropped, c.dropped);
        EXPECT_EQ(clicks, c.clicked ? 1 : 0);
        EXPECT_FALSE(panel->MouseCapture());
        delete panel;
    }
}

}  // namespace
}  // namespace tarvel
