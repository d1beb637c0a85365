// The start and end of a drag: a press that begins one starts it only once
// the pointer has moved far enough with the button held; the release drops
// what started and leaves a mere click alone.

#include "platform/classlib/ExtCtrls.h"
#include "platform/classlib/StdCtrls.h"
#include "platform/classlib/StdCtrls_ListBox.h"

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
        {"at the threshold", false, 4, 4, true, false, false},
        {"at once", true, 4, 0, true, false, false},
        {"the standard distance", false, -1, 5, true, false, false},
        {"short of the standard distance", false, -1, 4, false, false, true},
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
        panel->OnEndDrag = [&](TObject*, TObject* target, int, int) {
            ++ends;
            dropped = target != nullptr;
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

// A list box dragged onto a panel: the panel is asked as the pointer enters
// and moves over it, takes the drop when it accepts and hears it leave
// otherwise; the list box hears of the end with the panel or with nothing.
class DragDropTest : public ControlFixture {
protected:
    struct Target {
        bool accept = true;
        std::vector<TDragState> states;
        std::vector<TPoint> overAt;
        int drops = 0;
        TObject* dropSource = nullptr;
        TPoint dropAt{-1, -1};
    };
    struct Ends {
        int count = 0;
        TObject* target = nullptr;
        TPoint at{-1, -1};
    };

    void SetUp() override {
        list = Add<TListBox>("List", Bounds(20, 20, 120, 150));
        list->Items()->Add("one");
        list->Items()->Add("two");
        list->SetDragMode(dmAutomatic);
        panel = Add<TPanel>("Drop", Bounds(220, 20, 200, 150));
        ShowForm();
        panel->OnDragOver = [this](TObject* sender, TObject*, int x, int y, TDragState state, bool& accept) {
            EXPECT_EQ(sender, panel);
            target.states.push_back(state);
            target.overAt.push_back(TPoint{x, y});
            accept = target.accept;
            cursorDuring = ui.Backend().CursorShape();
        };
        panel->OnDragDrop = [this](TObject*, TObject* source, int x, int y) {
            ++target.drops;
            target.dropSource = source;
            target.dropAt = TPoint{x, y};
        };
        list->OnEndDrag = [this](TObject* sender, TObject* t, int x, int y) {
            EXPECT_EQ(sender, list);
            ++ends.count;
            ends.target = t;
            ends.at = TPoint{x, y};
        };
        list->OnStartDrag = [this](TObject*) { ++starts; };
        list->OnClick = [this](TObject*) { ++clicks; };
    }

    TPoint InList() { return list->ClientToScreen(TPoint{30, 8}); }
    TPoint InPanel(int x, int y) { return panel->ClientToScreen(TPoint{x, y}); }
    void Press(TPoint at) {
        ui.Backend().MouseMove(at);
        ui.Backend().MouseDown(at);
        ui.RunUntilIdle();
    }
    void MoveTo(TPoint at) {
        ui.Backend().MouseMove(at);
        ui.RunUntilIdle();
    }
    void Release(TPoint at) {
        ui.Backend().MouseUp(at);
        ui.RunUntilIdle();
    }

    TListBox* list = nullptr;
    TPanel* panel = nullptr;
    Target target;
    Ends ends;
    int starts = 0, clicks = 0;
    int cursorDuring = -1;
};

TEST_F(DragDropTest, AnAcceptingTargetTakesTheDropAtThePointerAndTheSourceHearsOfIt) {
    list->SetDragCursor(crHandPoint);
    Press(InList());
    const int pressClicks = clicks;  // the list's own, for the item pressed
    MoveTo(TPoint{InList().x + 10, InList().y});
    EXPECT_EQ(starts, 1);
    EXPECT_EQ(ui.Backend().CursorShape(), IDC_NO) << "over the list, which takes nothing";
    MoveTo(InPanel(40, 30));
    EXPECT_EQ(cursorDuring, IDC_NO) << "asked before the cursor changes";
    EXPECT_EQ(ui.Backend().CursorShape(), IDC_HAND) << "the drag cursor over a taker";
    MoveTo(InPanel(60, 50));
    Release(InPanel(60, 50));
    EXPECT_EQ(target.states, (std::vector<TDragState>{dsDragEnter, dsDragMove}));
    EXPECT_EQ(target.overAt.back(), (TPoint{60, 50}));
    EXPECT_EQ(target.drops, 1);
    EXPECT_EQ(target.dropSource, list);
    EXPECT_EQ(target.dropAt, (TPoint{60, 50}));
    EXPECT_EQ(ends.count, 1);
    EXPECT_EQ(ends.target, panel);
    EXPECT_EQ(ends.at, (TPoint{60, 50}));
    EXPECT_EQ(clicks, pressClicks) << "the drag selected no other item";
    EXPECT_EQ(list->ItemIndex(), 0);
    EXPECT_FALSE(list->Dragging());
    EXPECT_EQ(DragControl(), nullptr);
    EXPECT_FALSE(list->MouseCapture());
    EXPECT_NE(ui.Backend().CursorShape(), IDC_HAND) << "the cursor from before the drag comes back";
}

TEST_F(DragDropTest, ARefusedOrCancelledDragDropsNothingAndEndsWithNoTarget) {
    struct Case {
        const char* what;
        bool accept;
        bool escape;
        std::vector<TDragState> states;
    };
    const Case cases[] = {
        {"refused", false, false, {dsDragEnter, dsDragMove, dsDragLeave}},
        {"cancelled by Escape over a taker", true, true, {dsDragEnter, dsDragMove, dsDragLeave}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        target = Target{};
        target.accept = c.accept;
        ends = Ends{};
        Press(InList());
        MoveTo(InPanel(40, 30));
        MoveTo(InPanel(50, 30));
        EXPECT_EQ(ui.Backend().CursorShape(), c.accept ? IDC_ARROW : IDC_NO);
        if (c.escape) {
            ui.PressKey(VK_ESCAPE);
            EXPECT_FALSE(list->Dragging()) << "over before the button is let go";
            EXPECT_EQ(ends.count, 1);
            MoveTo(InPanel(70, 30));
        }
        Release(InPanel(70, 30));
        EXPECT_EQ(target.states, c.states);
        EXPECT_EQ(target.drops, 0);
        EXPECT_EQ(ends.count, 1);
        EXPECT_EQ(ends.target, nullptr);
        EXPECT_EQ(ends.at, (TPoint{0, 0}));
        EXPECT_FALSE(list->Dragging());
        EXPECT_FALSE(list->MouseCapture());
    }
}

TEST_F(DragDropTest, APressLetGoShortOfTheDragDistanceIsAClick) {
    panel->SetDragMode(dmAutomatic);
    int panelClicks = 0;
    panel->OnClick = [&](TObject*) { ++panelClicks; };
    const TPoint from = InPanel(40, 40);
    const TPoint to{from.x + kDragThreshold - 1, from.y - kDragThreshold + 1};
    Press(from);
    MoveTo(to);
    EXPECT_TRUE(panel->Dragging()) << "begun, waiting for the pointer to move on";
    EXPECT_EQ(panel->DragObject(), nullptr);
    Release(to);
    EXPECT_EQ(panelClicks, 1);
    EXPECT_TRUE(target.states.empty()) << "nothing was asked";
    EXPECT_FALSE(panel->Dragging());
    EXPECT_EQ(DragControl(), nullptr);
}

TEST_F(DragDropTest, ADragWhoseMouseIsTakenAwayEndsAsCancelled) {
    auto* label = Add<TLabel>("Label", Bounds(20, 200, 80, 20));
    label->SetAutoSize(false);
    label->SetBounds(20, 200, 80, 20);
    label->SetCaption("Windowless");
    ui.RunUntilIdle();
    for (TControl* source : {static_cast<TControl*>(list), static_cast<TControl*>(label)}) {
        SCOPED_TRACE(source->Name());
        source->SetDragMode(dmAutomatic);
        ends = Ends{};
        source->OnEndDrag = [this](TObject*, TObject* t, int, int) {
            ++ends.count;
            ends.target = t;
        };
        const TPoint from = source->ClientToScreen(TPoint{5, 5});
        Press(from);
        MoveTo(InPanel(40, 30));
        ASSERT_NE(source->DragObject(), nullptr);
        // Another window takes the mouse, as a menu does.
        SetCapture(panel->Handle());
        EXPECT_FALSE(source->Dragging());
        EXPECT_EQ(ends.count, 1);
        EXPECT_EQ(ends.target, nullptr);
        EXPECT_EQ(DragControl(), nullptr);
        ReleaseCapture();
        Release(InPanel(40, 30));
        EXPECT_EQ(target.drops, 0);
    }
}

TEST_F(DragDropTest, AManualControlDoesNotDragOnAPress) {
    list->SetDragMode(dmManual);
    Press(InList());
    MoveTo(InPanel(40, 30));
    EXPECT_FALSE(list->Dragging());
    Release(InPanel(40, 30));
    EXPECT_EQ(starts, 0);
    EXPECT_TRUE(target.states.empty());
}

TEST_F(DragDropTest, ATargetDestroyedDuringTheDragIsForgotten) {
    Press(InList());
    MoveTo(InPanel(40, 30));
    ASSERT_EQ(list->DragObject()->DragTarget, panel);
    delete panel;
    panel = nullptr;
    EXPECT_EQ(list->DragObject()->DragTarget, nullptr);
    Release(InList());
    EXPECT_EQ(ends.count, 1);
    EXPECT_EQ(ends.target, nullptr);
}

// The target's handlers may free the source, or the target itself: the drag
// ends there without touching either again, and what is left of the loop
// goes on as before.
TEST_F(DragDropTest, ASourceOrTargetFreedByTheTargetEndsTheDragWithoutThem) {
    enum class Freed { Source, Target };
    struct Case {
        const char* what;
        bool windowless;
        Freed freed;
        bool inDrop;  // in OnDragDrop, else in OnDragOver as the pointer enters
    };
    const Case cases[] = {
        {"a list freed by its drop", false, Freed::Source, true},
        {"a label freed by its drop", true, Freed::Source, true},
        {"a list freed as it enters", false, Freed::Source, false},
        {"a label freed as it enters", true, Freed::Source, false},
        {"a target freed by its drop", false, Freed::Target, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        TControl* source = list;
        if (c.windowless) {
            auto* label = Add<TLabel>("Label", Bounds(20, 200, 80, 20));
            label->SetAutoSize(false);
            label->SetBounds(20, 200, 80, 20);
            label->SetCaption("Windowless");
            label->SetDragMode(dmAutomatic);
            source = label;
        }
        if (!panel) panel = Add<TPanel>("Drop", Bounds(220, 20, 200, 150));
        ui.RunUntilIdle();
        ends = Ends{};
        source->OnEndDrag = [this](TObject*, TObject* t, int, int) {
            ++ends.count;
            ends.target = t;
        };
        auto free = [&] {
            if (c.freed == Freed::Source) {
                if (source == list) list = nullptr;
                delete source;
                source = nullptr;
            } else {
                delete panel;
                panel = nullptr;
            }
        };
        int drops = 0;
        panel->OnDragOver = [&](TObject*, TObject*, int, int, TDragState state, bool& accept) {
            accept = true;
            if (!c.inDrop && state == dsDragEnter) free();
        };
        panel->OnDragDrop = [&](TObject*, TObject*, int, int) {
            ++drops;
            if (c.inDrop) free();
        };
        const TPoint drop = InPanel(40, 30);
        Press(source->ClientToScreen(TPoint{5, 5}));
        MoveTo(drop);
        MoveTo(TPoint{drop.x + 5, drop.y});
        Release(TPoint{drop.x + 5, drop.y});
        EXPECT_EQ(DragControl(), nullptr);
        EXPECT_EQ(GetCaptureControl(), nullptr);
        EXPECT_EQ(drops, c.inDrop ? 1 : 0);
        if (c.freed == Freed::Source) {
            EXPECT_EQ(ends.count, 0) << "a freed source hears nothing";
        } else {
            EXPECT_EQ(ends.count, 1);
            EXPECT_EQ(ends.target, nullptr) << "no pointer to the freed target";
            EXPECT_FALSE(source->Dragging());
        }
        if (!list) {
            list = Add<TListBox>("List", Bounds(20, 20, 120, 150));
            list->SetDragMode(dmAutomatic);
        }
    }
}

}  // namespace
}  // namespace tarvel
