// Dock drags: a control let go away from every dock site floats in a tool
// window of its own at the drop point, whose caption strip drags it on; a
// site that accepts takes it where it is dropped, one that refuses does not;
// the site under the pointer is the innermost shown one not covered by
// another window.

#include "platform/classlib/Docking.h"

#include "ControlFixture.h"
#include "platform/classlib/ExtCtrls.h"

namespace tarvel {
namespace {

// A dock site that tells what passed over it and takes nothing when told so.
class TSitePanel : public TPanel {
    TARVEL_CLASS(TSitePanel, TPanel)

public:
    using TPanel::TPanel;
    bool Refuse = false;
    std::vector<TDragState> States;
    void DockOver(TDragDockObject& source, int x, int y, TDragState state, bool& accept) override {
        TPanel::DockOver(source, x, y, state, accept);
        States.push_back(state);
        if (Refuse) accept = false;
    }
};

class DockingTest : public ControlFixture {
protected:
    // Presses at a screen point, moves the pointer on through `path` and
    // lets go at its end.
    void DragAlong(TPoint from, std::initializer_list<TPoint> path) {
        ui.Backend().MouseMove(from);
        ui.Backend().MouseDown(from);
        ui.RunUntilIdle();
        TPoint last = from;
        for (TPoint p : path) {
            ui.Backend().MouseMove(p);
            ui.RunUntilIdle();
            last = p;
        }
        ui.Backend().MouseUp(last);
        ui.RunUntilIdle();
    }
    TPanel* Tool() {
        auto* tool = Add<TPanel>("Tool", Bounds(20, 20, 100, 40));
        tool->SetDragKind(dkDock);
        tool->OnMouseDown = [tool](TObject*, TMouseButton, TShiftState, int, int) {
            tool->BeginDrag(false, 4);
        };
        return tool;
    }
    static TPoint Origin(TControl* c) { return c->ClientToScreen(TPoint{0, 0}); }
};

TEST_F(DockingTest, LetGoAwayFromEverySiteItFloatsAndAnAcceptingSiteTakesItBackWhereItIsDropped) {
    TPanel* tool = Tool();
    auto* site = Add<TSitePanel>("Site", Bounds(250, 20, 200, 200));
    site->SetDockSite(true);
    ShowForm();

    // Pressed 10, 10 into the panel and let go far below the form.
    const TPoint press = tool->ClientToScreen(TPoint{10, 10});
    const TPoint away{press.x + 30, WindowRect(form->Handle()).bottom + 80};
    DragAlong(press, {TPoint{press.x + 8, press.y}, away});
    TToolDockForm* host = FloatingHost(tool);
    ASSERT_NE(host, nullptr);
    EXPECT_TRUE(tool->Floating());
    EXPECT_TRUE(IsWindowVisible(host->Handle()));
    EXPECT_EQ(host->Caption(), "Tool");
    EXPECT_EQ(Origin(tool), (TPoint{away.x - 10, away.y - 10}));
    EXPECT_TRUE(site->States.empty());

    // The strip carries it: the window follows the pointer, then the site
    // takes the control with the same grip, and the window goes.
    const TRect strip = host->CaptionRect();
    const TPoint grip = host->ClientToScreen(TPoint{strip.left + 20, strip.top + 4});
    const TPoint grab{Origin(tool).x - grip.x, Origin(tool).y - grip.y};
    const TPoint midway{grip.x + 20, grip.y - 30};
    ui.Backend().MouseMove(grip);
    ui.Backend().MouseDown(grip);
    ui.RunUntilIdle();
    ui.Backend().MouseMove(midway);
    ui.RunUntilIdle();
    EXPECT_EQ(Origin(tool), (TPoint{midway.x + grab.x, midway.y + grab.y}));
    const TPoint drop = site->ClientToScreen(TPoint{60, 90});
    ui.Backend().MouseMove(TPoint{drop.x - 1, drop.y});
    ui.RunUntilIdle();
    ui.Backend().MouseMove(drop);
    ui.RunUntilIdle();
    ui.Backend().MouseUp(drop);
    ui.RunUntilIdle();
    EXPECT_EQ(tool->Parent(), site);
    EXPECT_FALSE(tool->Floating());
    EXPECT_EQ(Origin(tool), (TPoint{drop.x + grab.x, drop.y + grab.y}));
    EXPECT_EQ(site->States, (std::vector<TDragState>{dsDragEnter, dsDragMove}));
    EXPECT_EQ(form->FindComponent("Tool"), tool);
    ui.RunUntilIdle();
    EXPECT_EQ(FloatingHost(tool), nullptr);
}

TEST_F(DockingTest, ASiteThatRefusesLetsTheControlFloatAtTheDrop) {
    TPanel* tool = Tool();
    auto* site = Add<TSitePanel>("Site", Bounds(250, 20, 200, 200));
    site->SetDockSite(true);
    site->Refuse = true;
    ShowForm();
    const TPoint press = tool->ClientToScreen(TPoint{10, 10});
    const TPoint drop = site->ClientToScreen(TPoint{50, 50});
    DragAlong(press, {TPoint{press.x + 8, press.y}, drop});
    EXPECT_TRUE(tool->Floating());
    EXPECT_EQ(Origin(tool), (TPoint{drop.x - 10, drop.y - 10}));
    EXPECT_EQ(site->States.front(), dsDragEnter);
}

TEST_F(DockingTest, TheSiteUnderThePointerIsTheInnermostShownUncoveredOne) {
    auto* outer = Add<TPanel>("Outer", Bounds(20, 20, 300, 200));
    auto* inner = Add<TPanel>("Inner", Bounds(20, 20, 100, 100), outer);
    auto* dragged = Add<TPanel>("Dragged", Bounds(340, 20, 100, 100));
    outer->SetDockSite(true);
    inner->SetDockSite(true);
    dragged->SetDockSite(true);
    ShowForm();
    const TPoint inInner = inner->ClientToScreen(TPoint{50, 50});
    const TPoint inOuter = outer->ClientToScreen(TPoint{250, 150});
    EXPECT_EQ(FindDockSite(dragged, inInner), inner);
    EXPECT_EQ(FindDockSite(dragged, inOuter), outer);
    EXPECT_EQ(FindDockSite(dragged, form->ClientToScreen(TPoint{5, 300})), nullptr);
    // The dragged control is no site for itself.
    EXPECT_EQ(FindDockSite(dragged, dragged->ClientToScreen(TPoint{50, 50})), nullptr);
    // Hidden, or no site any more, or under another window: not there.
    inner->SetVisible(false);
    EXPECT_EQ(FindDockSite(dragged, inInner), outer);
    inner->SetVisible(true);
    inner->SetDockSite(false);
    EXPECT_EQ(FindDockSite(dragged, inInner), outer);
    auto* cover = new TForm(Application);
    const TRect outerOnScreen = WindowRect(outer->Handle());
    cover->SetBounds(outerOnScreen.left, outerOnScreen.top, 120, 120);
    cover->Show();
    ui.RunUntilIdle();
    EXPECT_EQ(FindDockSite(dragged, inInner), nullptr);
    EXPECT_EQ(FindDockSite(dragged, inOuter), outer);
    delete cover;
}

}  // namespace
}  // namespace tarvel
