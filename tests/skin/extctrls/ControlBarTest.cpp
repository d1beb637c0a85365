// The control bar docks its children into bands by their places, packs the
// rows (pushing bands into gaps, narrowing them, wrapping the last), lets
// the user drag bands by their grabbers and paints the bands' frames.

#include <gtest/gtest.h>

#include <vector>

#include "platform/classlib/Docking.h"
#include "platform/winsys/InputApi.h"
#include "platform/winsys/WindowApi.h"
#include "skin/controls/te_controls_speedbutton.h"
#include "skin/extctrls/te_extctrls_controlbar.h"
#include "tests/skin/core/SkinControlFixture.h"
#include "tests/skin/themes/MsStylesFixture.h"

namespace tarvel {
namespace {

// Notes the dock and tool calls; its tool bar leaves a 8-pixel grabber and
// a 3-pixel margin all round.
class TBandRecordingTheme : public TteTheme {
    TARVEL_CLASS(TBandRecordingTheme, TteTheme)

public:
    std::vector<std::pair<String, TRect>> Calls;

    bool IsDockDefined(TteDockSubclass, const String&) override { return true; }
    void DockDraw(TteDockSubclass, TCanvas&, const TteDockInfo& info, const String&) override {
        Calls.push_back({"DockDraw", info.Rect});
    }
    bool IsToolDefined(TteToolSubclass, const String&) override { return true; }
    TRect ToolGetClientRect(TteToolSubclass, const TteToolInfo& info, const String&) override {
        return TRect{info.Rect.left + 8, info.Rect.top + 3, info.Rect.right - 3, info.Rect.bottom - 3};
    }
    void ToolDraw(TteToolSubclass, TCanvas&, const TteToolInfo& info, const String&) override {
        Calls.push_back({"ToolDraw", info.Rect});
    }
    void ToolDrawItem(TteToolSubclass, TCanvas&, const TteToolItemInfo& info, const String&) override {
        Calls.push_back({info.ItemClass == kticGripper ? "Gripper" : "ToolDrawItem", info.Rect});
    }
};

class ControlBarTest : public testing::SkinControlTest {
protected:
    void SetUp() override {
        SkinControlTest::SetUp();
        RegisterControlBarBackground();
    }

    TTeControlBar* MakeBar(int width) {
        auto* bar = Make<TTeControlBar>(10, 10);
        bar->SetBounds(10, 10, width, 50);
        return bar;
    }
    // A child of the bar with the given control rectangle.
    TTeControl* Band(TTeControlBar* bar, int left, int top, int width = 50, int height = 22) {
        auto* c = new TTeControl(form_);
        c->SetBounds(left, top, width, height);
        c->SetParent(bar);
        ui_.RunUntilIdle();
        return c;
    }
    // Where each band's control stands: (left, top).
    static std::vector<TPoint> Places(const std::vector<TControl*>& controls) {
        std::vector<TPoint> out;
        for (const TControl* c : controls) out.push_back(TPoint{c->Left(), c->Top()});
        return out;
    }
    // The breaks of the records in row order.
    static std::vector<bool> Breaks(const TTeControlBar* bar) {
        std::vector<bool> out;
        for (const auto& r : bar->DockItems()) out.push_back(r->Break);
        return out;
    }
    // The press point on a band's grabber.
    static TPoint Grabber(const TControl* c) { return TPoint{c->Left() - 6, c->Top() + 5}; }
};

TEST_F(ControlBarTest, ChildrenDockIntoRowsByTheirPlaces) {
    // Classic insets: an 11-pixel grabber and 2 pixels on the other sides,
    // so a 22-pixel control makes a 26-pixel band.
    struct Case {
        const char* what;
        std::vector<TPoint> at;
        std::vector<TPoint> expect;
        std::vector<bool> breaks;
        int height;
    };
    const Case cases[] = {
        {"a gap between two bands stays", {{11, 2}, {200, 2}}, {{11, 2}, {200, 2}}, {true, false}, 26},
        {"overlapping bands are pushed right", {{11, 2}, {30, 2}}, {{11, 2}, {74, 2}}, {true, false}, 26},
        {"a band below the probe line opens a row",
         {{11, 2}, {11, 40}},
         {{11, 2}, {11, 28}},
         {true, true},
         52},
        {"a band left of the area stands at its edge", {{-40, 2}}, {{11, 2}}, {true}, 26},
        {"left to right in list order", {{150, 2}, {11, 3}}, {{150, 2}, {11, 2}}, {true, false}, 26},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        auto* bar = MakeBar(300);
        std::vector<TControl*> bands;
        for (TPoint p : c.at) bands.push_back(Band(bar, p.x, p.y));
        EXPECT_EQ(Places(bands), c.expect);
        EXPECT_EQ(Breaks(bar), c.breaks);
        EXPECT_EQ(bar->Height(), c.height);
        delete bar;
    }
}

TEST_F(ControlBarTest, ATooWideRowIsPushedIntoItsGapsThenNarrowedThenWrapped) {
    struct Case {
        const char* what;
        int barWidth, minWidth;
        std::vector<TPoint> at;
        std::vector<TPoint> expect;
        int height;
    };
    const Case cases[] = {
        // Three 63-pixel bands, 226 into 200: 26 of the 37-pixel gap close.
        {"gaps close", 200, 50, {{11, 2}, {111, 2}, {174, 2}}, {{11, 2}, {85, 2}, {148, 2}}, 26},
        // 189 into 150: the last band gives 20 (down to 30 + 13), the middle 19.
        {"bands narrow from the right",
         150,
         30,
         {{11, 2}, {74, 2}, {137, 2}},
         {{11, 2}, {74, 2}, {118, 2}},
         26},
        {"the last band wraps", 150, 50, {{11, 2}, {74, 2}, {137, 2}}, {{11, 2}, {74, 2}, {11, 28}}, 52},
        {"a single band never wraps", 40, 50, {{11, 2}}, {{11, 2}}, 26},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        auto* bar = MakeBar(400);
        std::vector<TControl*> bands;
        for (TPoint p : c.at) {
            bands.push_back(Band(bar, p.x, p.y));
            bands.back()->Constraints()->SetMinWidth(c.minWidth);
        }
        bar->SetWidth(c.barWidth);
        ui_.RunUntilIdle();
        EXPECT_EQ(Places(bands), c.expect);
        EXPECT_EQ(bar->Height(), c.height);
        // The wrap is the layout's own: a wider bar takes the band back.
        bar->SetWidth(400);
        ui_.RunUntilIdle();
        EXPECT_EQ(bands.back()->Top(), 2);
        delete bar;
    }
}

TEST_F(ControlBarTest, DraggingABandByItsGrabberMovesItWithinAndAcrossRows) {
    auto* bar = MakeBar(300);
    TControl* a = Band(bar, 11, 2);
    TControl* b = Band(bar, 150, 2);
    TControl* c = Band(bar, 11, 40);
    ASSERT_EQ(Places({a, b, c}), (std::vector<TPoint>{{11, 2}, {150, 2}, {11, 28}}));

    // Along the row: the band follows the mouse.
    TPoint p = Grabber(b);
    Down(bar, p);
    EXPECT_EQ(bar->DraggedControl(), b);
    MoveTo(bar, {p.x + 40, p.y});
    EXPECT_EQ(b->Left(), 190);
    // In front of the first band: it takes the row's start.
    MoveTo(bar, {p.x - 160, p.y});
    EXPECT_EQ(Places({a, b}), (std::vector<TPoint>{{74, 2}, {11, 2}}));
    Up(bar, {p.x - 160, p.y});
    EXPECT_EQ(bar->DraggedControl(), nullptr);
    EXPECT_EQ(Breaks(bar), (std::vector<bool>{true, false, true}));

    // Down into the second row, right of the band there; the band it left
    // behind keeps its place.
    p = Grabber(b);
    Down(bar, p);
    MoveTo(bar, {p.x + 120, p.y + 26});
    Up(bar, {p.x + 120, p.y + 26});
    EXPECT_EQ(Places({a, b, c}), (std::vector<TPoint>{{74, 2}, {131, 28}, {11, 28}}));
    EXPECT_EQ(Breaks(bar), (std::vector<bool>{true, true, false}));
    EXPECT_EQ(bar->Height(), 52);
    // A fresh layout from the places finds the same rows.
    bar->ResetDockItems();
    EXPECT_EQ(Places({a, b, c}), (std::vector<TPoint>{{74, 2}, {131, 28}, {11, 28}}));
}

TEST_F(ControlBarTest, RemovingTheFirstBandOfARowGivesTheBreakToTheNext) {
    auto* bar = MakeBar(300);
    TControl* a = Band(bar, 11, 2);
    TControl* b = Band(bar, 150, 2);
    TControl* c = Band(bar, 11, 40);
    bar->UnDockControl(a);
    EXPECT_EQ(bar->DockingControl(), a);
    EXPECT_EQ(Breaks(bar), (std::vector<bool>{true, true}));
    EXPECT_EQ(bar->DockItems().front()->Control, b);
    // Freeing a child drops its records the same way.
    delete b;
    ui_.RunUntilIdle();
    ASSERT_EQ(bar->DockItems().size(), 2u);
    EXPECT_EQ(Breaks(bar), (std::vector<bool>{true, true}));
    EXPECT_EQ(c->Top(), 28);
    delete a;
    ui_.RunUntilIdle();
    EXPECT_EQ(c->Top(), 2);
    EXPECT_EQ(bar->Height(), 26);
}

TEST_F(ControlBarTest, AChildFreedWhileLayoutWaitsIsNeitherPaintedNorHit) {
    auto* bar = MakeBar(300);
    TControl* a = Band(bar, 11, 2);
    TControl* b = Band(bar, 150, 2);
    bar->DisableAlign();
    delete a;
    ASSERT_EQ(bar->DockItems().size(), 2u);
    bar->Invalidate();
    ui_.RunUntilIdle();
    EXPECT_EQ(bar->HitTest(5, 5), nullptr);
    EXPECT_EQ(bar->HitTest(145, 5), b);
    bar->EnableAlign();
    EXPECT_EQ(bar->DockItems().size(), 1u);
}

TEST_F(ControlBarTest, SnappedBandsSpanWholeRows) {
    auto* bar = MakeBar(300);
    bar->SetRowSnap(true);
    // A row size of 0 would divide by nothing.
    bar->SetRowSize(0);
    EXPECT_EQ(bar->RowSize(), 1);
    bar->SetRowSize(26);
    TControl* a = Band(bar, 11, 2, 50, 46);
    // A 50-pixel band docked fresh spans one row.
    ASSERT_EQ(bar->DockItems().size(), 1u);
    EXPECT_EQ(bar->DockItems()[0]->RowCount, 1);
    EXPECT_EQ(a->Height(), 22);
    // Docked again (the code moved it) the rows round up: 2 rows, 52 high.
    a->SetBounds(11, 2, 50, 46);
    ui_.RunUntilIdle();
    ASSERT_EQ(bar->DockItems().size(), 2u);
    EXPECT_EQ(bar->DockItems()[0]->RowCount, 2);
    EXPECT_EQ(bar->DockItems()[1]->Parent, bar->DockItems()[0].get());
    EXPECT_EQ(a->Height(), 48);
    EXPECT_EQ(bar->Height(), 52);
    // A band put in front of its second row pushes the whole band right.
    TControl* b = Band(bar, 11, 30);
    EXPECT_EQ(Places({a, b}), (std::vector<TPoint>{{74, 2}, {11, 28}}));
    EXPECT_EQ(a->Height(), 48);
}

TEST_F(ControlBarTest, ABarWithoutChildrenKeepsItsSize) {
    auto* bar = MakeBar(300);
    bar->SetHeight(80);
    ui_.RunUntilIdle();
    EXPECT_TRUE(bar->AutoSize());
    EXPECT_EQ(bar->Height(), 80);
    TControl* a = Band(bar, 11, 2);
    EXPECT_EQ(bar->Height(), 26);
    // Aligned to the left it sizes its width instead.
    bar->SetAlign(alLeft);
    ui_.RunUntilIdle();
    EXPECT_EQ(bar->Width(), a->Width() + 13);
}

TEST_F(ControlBarTest, PullingABandOutOfTheBarStartsItsDragUnlessRefused) {
    struct Case {
        const char* what;
        bool autoDrag, allow;
        bool expectDrag;
    };
    const Case cases[] = {
        {"allowed", true, true, true},
        {"refused by OnBandDrag", true, false, false},
        {"AutoDrag off", false, true, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        auto* bar = MakeBar(300);
        bar->SetAutoDrag(c.autoDrag);
        TControl* a = Band(bar, 11, 2);
        int asked = 0;
        bar->OnBandDrag = [&](TObject*, TControl* control, bool& drag) {
            EXPECT_EQ(control, a);
            ++asked;
            drag = c.allow;
        };
        const TPoint p = Grabber(a);
        Down(bar, p);
        // Within a control height of the bar nothing happens.
        MoveTo(bar, {p.x, p.y - 20});
        EXPECT_EQ(asked, 0);
        MoveTo(bar, {p.x, p.y - 40});
        EXPECT_EQ(a->Dragging(), c.expectDrag);
        EXPECT_EQ(asked, c.autoDrag ? 1 : 0);
        EXPECT_EQ(bar->DraggedControl(), c.expectDrag ? nullptr : a);
        Up(bar, {p.x, p.y - 40});
        EXPECT_FALSE(a->Dragging());
        delete bar;
    }
}

TEST_F(ControlBarTest, ADoubleClickOnAGrabberStartsTheDrag) {
    auto* bar = MakeBar(300);
    TControl* a = Band(bar, 11, 2);
    bool started = false;
    a->OnStartDrag = [&](TObject*) { started = true; };
    const TPoint p = Grabber(a);
    Down(bar, p);
    Up(bar, p);
    EXPECT_FALSE(started);
    Down(bar, p);
    EXPECT_TRUE(started);
    Up(bar, p);
}

TEST_F(ControlBarTest, CtrlDuringABandDragStartsTheControlsDrag) {
    auto* bar = MakeBar(300);
    bar->SetTabStop(true);
    TControl* a = Band(bar, 11, 2);
    bar->SetFocus();
    ui_.RunUntilIdle();
    const TPoint p = Grabber(a);
    Down(bar, p);
    MoveTo(bar, {p.x + 30, p.y});
    ASSERT_FALSE(a->Dragging());
    ui_.Backend().KeyDown(VK_CONTROL);
    ui_.RunUntilIdle();
    EXPECT_TRUE(a->Dragging());
    EXPECT_EQ(bar->DraggedControl(), nullptr);
    ui_.Backend().KeyUp(VK_CONTROL);
    Up(bar, {p.x + 30, p.y});
    EXPECT_FALSE(a->Dragging());
}

// Pulls the band far below the bar and lets go there; answers the pointer's
// screen point at the start of the drag and the band's top-left then.
std::pair<TPoint, TPoint> PullOut(ControlBarTest& t, TTeControlBar* bar, TControl* band, TPoint to) {
    std::pair<TPoint, TPoint> start;
    band->OnStartDrag = [&](TObject*) {
        GetCursorPos(start.first);
        start.second = band->ClientToScreen(TPoint{0, 0});
    };
    const TPoint p{band->Left() - 6, band->Top() + 5};
    t.Down(bar, p);
    t.MoveTo(bar, {p.x, p.y - 40});
    t.MoveTo(bar, to);
    t.Up(bar, to);
    band->OnStartDrag = nullptr;
    return start;
}

TEST_F(ControlBarTest, ABandPulledOutFloatsInItsOwnWindowWhereItIsDropped) {
    auto* bar = MakeBar(300);
    TControl* a = Band(bar, 11, 2);
    TControl* b = Band(bar, 150, 2);
    b->SetDragKind(dkDock);
    const auto [pointer, origin] = PullOut(*this, bar, b, {140, 200});

    TToolDockForm* host = FloatingHost(b);
    ASSERT_NE(host, nullptr);
    EXPECT_TRUE(b->Floating());
    EXPECT_TRUE(IsWindowVisible(host->Handle()));
    // The band's size, a frame and a caption strip.
    EXPECT_EQ(host->ClientWidth(), 50 + 2 * TToolDockForm::kFrame);
    EXPECT_EQ(host->ClientHeight(), 22 + host->CaptionRect().bottom + TToolDockForm::kFrame);
    // Where it was let go, held by the same point as when the drag began.
    const TPoint drop = bar->ClientToScreen(TPoint{140, 200});
    EXPECT_EQ(b->ClientToScreen(TPoint{0, 0}),
              (TPoint{drop.x + origin.x - pointer.x, drop.y + origin.y - pointer.y}));
    // The bar keeps only the band that stayed.
    ASSERT_EQ(bar->DockItems().size(), 1u);
    EXPECT_EQ(bar->DockItems()[0]->Control, a);

    // A control without dkDock only drags: it stays in the bar.
    a->SetDragKind(dkDrag);
    PullOut(*this, bar, a, {140, 200});
    EXPECT_EQ(a->Parent(), bar);
    EXPECT_FALSE(a->Floating());
}

TEST_F(ControlBarTest, ADoubleClickOrCtrlTakesTheBandOutToFloatWhereItIsLetGo) {
    for (bool byCtrl : {false, true}) {
        SCOPED_TRACE(byCtrl ? "Ctrl" : "double click");
        auto* bar = MakeBar(300);
        bar->SetTabStop(true);
        Band(bar, 11, 2);
        TControl* b = Band(bar, 150, 2);
        b->SetDragKind(dkDock);
        bar->SetFocus();
        ui_.RunUntilIdle();
        const TPoint p = Grabber(b);
        if (byCtrl) {
            Down(bar, p);
            MoveTo(bar, {p.x + 5, p.y});
            ui_.Backend().KeyDown(VK_CONTROL);
            ui_.RunUntilIdle();
            ui_.Backend().KeyUp(VK_CONTROL);
        } else {
            Down(bar, p);
            Up(bar, p);
            Down(bar, p);
        }
        ASSERT_TRUE(b->Dragging());
        // Not far from the bar at all: still it floats where it is let go.
        MoveTo(bar, {p.x + 30, p.y + 60});
        Up(bar, {p.x + 30, p.y + 60});
        EXPECT_TRUE(b->Floating());
        delete FloatingHost(b);
        delete bar;
    }
}

TEST_F(ControlBarTest, AFloatingBandDraggedBackDocksIntoTheRowUnderItsProbeLine) {
    for (bool autoDock : {true, false}) {
        SCOPED_TRACE(autoDock ? "AutoDock" : "docked at the drop");
        auto* bar = MakeBar(300);
        bar->SetAutoDock(autoDock);
        TControl* a = Band(bar, 11, 2);
        TControl* c = Band(bar, 11, 40);
        TControl* b = Band(bar, 150, 2);
        b->SetDragKind(dkDock);
        PullOut(*this, bar, b, {140, 200});
        TToolDockForm* host = FloatingHost(b);
        ASSERT_NE(host, nullptr);
        ASSERT_EQ(Places({a, c}), (std::vector<TPoint>{{11, 2}, {11, 28}}));

        // The window's caption strip carries the band back, over the second row.
        const TRect strip = host->CaptionRect();
        const TPoint caption = host->ClientToScreen(TPoint{strip.left + 20, (strip.top + strip.bottom) / 2});
        // The band's top-left comes to rest at (180, 30): its probe line lies in the second row.
        const TPoint grab{caption.x - b->ClientToScreen(TPoint{0, 0}).x,
                          caption.y - b->ClientToScreen(TPoint{0, 0}).y};
        const TPoint rest = autoDock ? bar->ClientToScreen(TPoint{180, 30})
                                     : bar->ClientToScreen(TPoint{180 + grab.x, 30 + grab.y});
        ui_.Backend().MouseMove(caption);
        ui_.Backend().MouseDown(caption);
        ui_.RunUntilIdle();
        ui_.Backend().MouseMove(TPoint{caption.x + 10, caption.y + 10});
        ui_.RunUntilIdle();
        EXPECT_TRUE(b->Dragging());
        ui_.Backend().MouseMove(TPoint{rest.x + 1, rest.y});
        ui_.RunUntilIdle();
        // With AutoDock it is a band as soon as it is over the bar, and the
        // held button goes on moving it.
        EXPECT_EQ(b->Parent() == bar, autoDock);
        EXPECT_EQ(bar->DraggedControl() == b, autoDock);
        ui_.Backend().MouseMove(rest);
        ui_.RunUntilIdle();
        ui_.Backend().MouseUp(rest);
        ui_.RunUntilIdle();

        EXPECT_EQ(b->Parent(), bar);
        EXPECT_FALSE(b->Floating());
        EXPECT_FALSE(b->Dragging());
        EXPECT_EQ(bar->DraggedControl(), nullptr);
        EXPECT_EQ(Places({a, c, b}), (std::vector<TPoint>{{11, 2}, {11, 28}, {180, 28}}));
        EXPECT_EQ(Breaks(bar), (std::vector<bool>{true, true, false}));
        ui_.RunUntilIdle();  // the emptied window goes
        delete bar;
    }
}

TEST_F(ControlBarTest, ClassicBandsHaveARaisedFrameAndATwoBarGrabber) {
    auto* bar = MakeBar(300);
    bar->SetColor(clRed);
    TControl* a = Band(bar, 11, 2, 50, 30);
    int painted = 0;
    bar->OnPaint = [&](TObject*) { ++painted; };
    bar->Invalidate();
    ui_.RunUntilIdle();
    EXPECT_GT(painted, 0);
    const uint32_t light = testing::Rgb(clBtnHighlight), dark = testing::Rgb(clBtnShadow);
    // Band (0, 0, 63, 34): the frame, then the grabber bars at x 3..5 and 6..8.
    const struct {
        int x, y;
        uint32_t color;
    } pixels[] = {
        {0, 10, light},
        {10, 0, light},
        {62, 10, dark},
        {10, 33, dark},  // frame
        {3, 2, light},
        {4, 2, light},
        {3, 31, light},
        {5, 2, dark},  // first bar
        {5, 31, dark},
        {4, 31, dark},
        {6, 10, light},
        {8, 10, dark},  // second bar
        {4, 10, testing::Rgb(clRed)},
        {10, 10, testing::Rgb(clRed)},  // face between
    };
    for (const auto& px : pixels) EXPECT_EQ(ShownAt(bar, px.x, px.y), px.color) << px.x << "," << px.y;

    // OnBandPaint drops both: only the background is left.
    bar->OnBandPaint = [&](TObject*, TControl* control, TCanvas*, TRect& r, TBandPaintOptions& options) {
        EXPECT_EQ(control, a);
        EXPECT_EQ(r, (TRect{0, 0, 63, 34}));
        options = {};
    };
    bar->Invalidate();
    for (const auto& px : pixels) EXPECT_EQ(ShownAt(bar, px.x, px.y), testing::Rgb(clRed));
}

TEST_F(ControlBarTest, ThemedBandsTakeTheToolBarsMarginsAndDrawOverTheDock) {
    auto* theme = new TBandRecordingTheme();
    ChangeTheme(theme);
    ui_.RunUntilIdle();
    auto* bar = MakeBar(300);
    TControl* a = Band(bar, 8, 3);
    EXPECT_EQ(bar->GetGrabberSize(), 8);
    EXPECT_EQ(bar->DockItems()[0]->Insets, (TRect{8, 3, 3, 3}));
    EXPECT_EQ(bar->Height(), 28);

    const TRect band{0, 0, 61, 28};
    auto paint = [&] {
        ui_.RunUntilIdle();
        theme->Calls.clear();
        bar->Invalidate();
        ui_.RunUntilIdle();
        return theme->Calls;
    };
    using Calls = std::vector<std::pair<String, TRect>>;
    EXPECT_EQ(paint(),
              (Calls{{"DockDraw", TRect{0, 0, 300, 28}}, {"ToolDraw", band}, {"Gripper", {3, 2, 9, 26}}}));
    // Without the options the tool frame is still drawn, the grabber not.
    bar->OnBandPaint = [](TObject*, TControl*, TCanvas*, TRect&, TBandPaintOptions& options) {
        options = {};
    };
    EXPECT_EQ(paint(), (Calls{{"DockDraw", TRect{0, 0, 300, 28}}, {"ToolDraw", band}}));

    // The theme going away measures the bands anew.
    ReleaseTheme();
    ui_.RunUntilIdle();
    EXPECT_EQ(bar->DockItems()[0]->Insets, (TRect{11, 2, 2, 2}));
    EXPECT_EQ(a->Left(), 11);
}

TEST_F(ControlBarTest, UnderAVisualStyleTheBarIsDrawnAsItsRebar) {
    // Every part of the style draws a strip of frames, one colour per state.
    for (bool withRebar : {true, false}) {
        SCOPED_TRACE(withRebar ? "a style with a rebar" : "a style without one");
        auto* style = new TTeThemeMsStyles();
        ASSERT_TRUE(testing::LoadContainer(
            *style, testing::Container("Strips",
                                       withRebar ? testing::StripStyle() : testing::StripStyle("", {"rebar"}),
                                       {testing::StateStrip()})));
        ChangeTheme(style);
        auto* bar = MakeBar(300);
        bar->SetColor(clBtnFace);
        TControl* a = Band(bar, 11, 2);
        ui_.RunUntilIdle();
        // The rebar's face behind the bands and its gripper on each band, in
        // their normal state; without a rebar the classic face and grabber.
        const int background = testing::StateOf(ShownAt(bar, 280, 10));
        const int gripper = testing::StateOf(ShownAt(bar, 5, a->Top() + 8));
        EXPECT_EQ(background, withRebar ? 1 : 0);
        EXPECT_EQ(gripper, withRebar ? 1 : 0);
        delete bar;
        ReleaseTheme();
    }
}

TEST_F(ControlBarTest, ATransparentChildShowsTheBarsFace) {
    auto* bar = MakeBar(300);
    bar->SetColor(clRed);
    auto* b = new TTeSpeedButton(form_);
    b->SetBounds(11, 2, 40, 22);
    b->SetParent(bar);
    b->SetTransparent(true);
    b->SetCaption(u"");
    ui_.RunUntilIdle();
    EXPECT_EQ(ShownAt(b, b->Width() / 2, b->Height() / 2), testing::Rgb(clRed));
}

}  // namespace
}  // namespace tarvel
