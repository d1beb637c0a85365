// The frame's hit test, the mouse on its caption buttons, its own sizing and
// its system menu, driven by real mouse input on the headless display.

#include <string>
#include <vector>

#include "skin/forms/te_forms_popupmenu.h"
#include "tests/skin/forms/FrameFixture.h"

namespace tarvel::testing {
namespace {

// A frame with a size grip of its own, 16 by 40 pixels in the client's
// bottom-right corner.
class TGripFrame : public TTeDefaultForm {
    TARVEL_CLASS(TGripFrame, TTeDefaultForm)

public:
    using TTeDefaultForm::TTeDefaultForm;
    TRect GetGripperRect() override {
        const TRect cb = GetClientBounds();
        return TRect{cb.right - 16, cb.bottom - 40, cb.right, cb.bottom};
    }
};

// A bar along the form's bottom whose last 12 pixels carry the form's grip.
class TGripBar : public TCustomControl, public TTeSizeGripHost {
    TARVEL_CLASS(TGripBar, TCustomControl)

public:
    using TCustomControl::TCustomControl;
    bool IsSizeGripVisible() override { return visible; }
    TRect GetGripperRect() override { return TRect{Width() - 12, 0, Width(), Height()}; }
    bool visible = true;
};

// A graphic control that notes the mouse messages it gets.
class TMouseLog : public TGraphicControl {
    TARVEL_CLASS(TMouseLog, TGraphicControl)

public:
    using TGraphicControl::TGraphicControl;
    std::vector<std::string> seen;

protected:
    void MouseDown(TMouseButton, TShiftState, int x, int y) override { Note("down", x, y); }
    void MouseMove(TShiftState, int x, int y) override { Note("move", x, y); }
    void MouseUp(TMouseButton, TShiftState, int x, int y) override { Note("up", x, y); }

private:
    void Note(const char* what, int x, int y) {
        seen.push_back(std::string(what) + " " + std::to_string(x) + "," + std::to_string(y));
    }
};

TEST_F(FrameTest, ClassicHitTestFindsCornersBordersCaptionAndEachButton) {
    TTeDefaultForm* frame = MakeForm(false);
    const int b = DefaultBorderWidth, cap = DefaultCaptionHeight, W = 400, H = 300;
    ASSERT_GT(b, 1);
    const struct {
        TPoint at;
        TteWindowHitTest part;
        int code;
    } cases[] = {
        {{5, 0}, kwhtTopLeft, HTTOPLEFT},
        {{19, 0}, kwhtTopLeft, HTTOPLEFT},
        {{200, 0}, kwhtTop, HTTOP},
        {{W - 10, 0}, kwhtTopRight, HTTOPRIGHT},
        {{0, 40}, kwhtLeft, HTLEFT},
        {{0, H - 5}, kwhtBottomLeft, HTBOTTOMLEFT},
        {{W - 1, 150}, kwhtRight, HTRIGHT},
        {{200, H - 1}, kwhtBottom, HTBOTTOM},
        {{W - 1, H - 1}, kwhtBottomRight, HTBOTTOMRIGHT},
        {{150, b + cap / 2}, kwhtCaption, HTCAPTION},
        {{200, 150}, kwhtClient, HTCLIENT},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(frame->GetHitTest(c.at.x, c.at.y), c.part) << c.at.x << "," << c.at.y;
        EXPECT_EQ(HitCode(c.at), c.code) << c.at.x << "," << c.at.y;
    }
    const struct {
        TTeBorderIcon icon;
        TteWindowHitTest part;
        int code;
    } buttons[] = {{kbiSystemMenu, kwhtSysMenu, HTSYSMENU},   {kbiClose, kwhtCloseButton, HTCLOSE},
                   {kbiMinimize, kwhtMinButton, HTMINBUTTON}, {kbiMaximize, kwhtMaxButton, HTMAXBUTTON},
                   {kbiRollup, kwhtRollButton, HTBORDER},     {kbiTray, kwhtTrayButton, HTBORDER}};
    for (const auto& c : buttons) {
        const TRect r = frame->GetCaptionButtonRect(c.icon);
        ASSERT_FALSE(r.IsEmpty()) << int(c.icon);
        EXPECT_EQ(frame->GetHitTest(Centre(r).x, Centre(r).y), c.part) << int(c.icon);
        EXPECT_EQ(HitCode(Centre(r)), c.code) << int(c.icon);
    }
    // No two buttons share a pixel.
    for (const auto& a : buttons)
        for (const auto& z : buttons)
            if (a.icon != z.icon) {
                const TRect r = frame->GetCaptionButtonRect(a.icon), q = frame->GetCaptionButtonRect(z.icon);
                EXPECT_TRUE(r.right <= q.left || q.right <= r.left || r.bottom <= q.top || q.bottom <= r.top);
            }
}

TEST_F(FrameTest, TheFramesGripAndAChildsGripSizeFromTheCorner) {
    for (bool themed : {false, true}) {
        SCOPED_TRACE(themed ? "flat theme" : "classic");
        TTeDefaultForm* frame = themed ? MakeForm(true) : MakeForm<TGripFrame>(false);
        auto* bar = new TGripBar(form_);
        bar->SetAlign(alBottom);
        bar->SetHeight(20);
        bar->SetParent(form_);
        ui_.RunUntilIdle();
        const TRect cb = frame->GetClientBounds();
        const TPoint barGrip{cb.right - 6, cb.bottom - 10}, frameGrip{cb.right - 14, cb.bottom - 30};
        const TPoint beside{cb.right - 30, cb.bottom - 10};
        ASSERT_EQ(frame->GetHitTest(beside.x, beside.y), kwhtClient);
        EXPECT_EQ(frame->GetHitTest(barGrip.x, barGrip.y), kwhtBottomRight);
        EXPECT_EQ(HitCode(barGrip), HTBOTTOMRIGHT);
        // The frame's own grip lies above the bar's here; the flat frame keeps none.
        EXPECT_EQ(frame->GetHitTest(frameGrip.x, frameGrip.y), themed ? kwhtClient : kwhtBottomRight);
        bar->visible = false;
        EXPECT_EQ(frame->GetHitTest(barGrip.x, barGrip.y), themed ? kwhtClient : kwhtBottomRight);
        bar->visible = true;
        frame->Dragging()->Sizeable = false;
        EXPECT_EQ(frame->GetHitTest(frameGrip.x, frameGrip.y), kwhtClient) << "a fixed frame has no grip";
        EXPECT_EQ(HitCode(barGrip), HTCLIENT);
        frame->Dragging()->Sizeable = true;

        // A press on the bar's grip handed to the frame sizes the form.
        const TRect before = Bounds();
        SendMessage(Window(), WM_NCLBUTTONDOWN, 0, PointToLParam(Screen(barGrip)));
        ui_.RunUntilIdle();
        MoveScreen(Screen(TPoint{barGrip.x + 20, barGrip.y + 10}));
        MoveScreen(Screen(TPoint{barGrip.x + 40, barGrip.y + 30}));
        UpScreen(TPoint{before.left + barGrip.x + 40, before.top + barGrip.y + 30});
        EXPECT_EQ(Bounds(),
                  tarvel::Bounds(before.left, before.top, before.Width() + 40, before.Height() + 30));
        delete form_;
        form_ = nullptr;
    }
}

TEST_F(FrameTest, WithoutANonClientAreaTheEmptyClientDragsAndGraphicControlsKeepTheMouse) {
    TTeDefaultForm* frame =
        MakeForm<TTeDefaultForm>(false, TTeBorderIcons{kbiClose, kbiSystemMenu}, TSize{400, 300},
                                 [](TTeDefaultForm* f) { f->DisabledNCArea = true; });
    ui_.RunUntilIdle();
    EXPECT_EQ(ClientRect(Window()), (TRect{0, 0, 400, 300})) << "the whole window is client";
    const TRect cb = frame->GetClientBounds();
    auto* onCaption = new TMouseLog(form_);
    onCaption->SetParent(form_);
    onCaption->SetBounds(60, cb.top / 2 - 4, 40, 8);
    auto* inClient = new TMouseLog(form_);
    inClient->SetParent(form_);
    inClient->SetBounds(100, 100, 50, 20);
    ui_.RunUntilIdle();

    const struct {
        const char* name;
        TPoint at;
        TCursor cursor;
        int code;
    } cases[] = {
        {"empty client", {200, 200}, crDefault, HTCAPTION},
        {"empty client, a cursor set", {200, 200}, crHourGlass, HTCLIENT},
        {"graphic control", {110, 110}, crDefault, HTCLIENT},
        {"caption band, a cursor set", {200, cb.top / 2}, crHourGlass, HTCAPTION},
        {"sizing border", {0, 150}, crDefault, HTLEFT},
    };
    for (const auto& c : cases) {
        tarvel::Screen->SetCursor(c.cursor);
        EXPECT_EQ(HitCode(c.at), c.code) << c.name;
    }
    tarvel::Screen->SetCursor(crDefault);

    // Pressed on the caption band, the control there gets the mouse in its
    // own coordinates and the form stays where it is.
    const TRect before = Bounds();
    const TPoint at{70, cb.top / 2};
    SendMessage(Window(), WM_NCLBUTTONDOWN, HTCAPTION, PointToLParam(Screen(at)));
    SendMessage(Window(), WM_NCMOUSEMOVE, HTCAPTION, PointToLParam(Screen(TPoint{at.x + 50, at.y + 2})));
    SendMessage(Window(), WM_NCLBUTTONUP, HTCAPTION, PointToLParam(Screen(TPoint{at.x + 50, at.y + 2})));
    const int y = at.y - onCaption->Top();
    EXPECT_EQ(onCaption->seen,
              (std::vector<std::string>{"down 10," + std::to_string(y), "move 60," + std::to_string(y + 2),
                                        "up 60," + std::to_string(y + 2)}));
    EXPECT_TRUE(inClient->seen.empty());
    ui_.RunUntilIdle();
    EXPECT_EQ(Bounds(), before);
    // Released, the control lets go: the caption drags again.
    Down(TPoint{200, cb.top / 2});
    const TPoint to{before.left + 230, before.top + cb.top / 2 + 20};
    MoveScreen(to);
    UpScreen(to);
    EXPECT_EQ(Bounds(), tarvel::Bounds(before.left + 30, before.top + 20, 400, 300));
    EXPECT_EQ(onCaption->seen.size(), 3u);
    // Over the caption band the control is the one under the mouse, for its hint.
    MoveScreen(Screen(TPoint{onCaption->Left() + 5, onCaption->Top() + 4}));
    EXPECT_EQ(MouseControl(), onCaption);
}

TEST_F(FrameTest, MaximizedFrameHasNoBordersToSize) {
    for (bool themed : {false, true}) {
        TTeDefaultForm* frame = MakeForm(themed);
        frame->Maximize();
        ui_.RunUntilIdle();
        ASSERT_EQ(frame->WindowState(), kwsMaximized);
        const int W = frame->FormWidth(), H = frame->FormHeight();
        for (TPoint p :
             {TPoint{0, 60}, TPoint{W - 1, 60}, TPoint{200, H - 1}, TPoint{0, H - 1}, TPoint{W - 1, H - 1}})
            EXPECT_EQ(HitCode(p), HTCLIENT) << themed << " " << p.x << "," << p.y;
        frame->Restore();
        ui_.RunUntilIdle();
        EXPECT_EQ(HitCode(TPoint{0, 60}), HTLEFT) << themed;
        delete form_;
        form_ = nullptr;
    }
}

TEST_F(FrameTest, ThemedHitTestAsksTheTheme) {
    auto* frame = dynamic_cast<TTeForm*>(MakeForm(true));
    ASSERT_TRUE(frame && frame->Themed() && frame->Active());
    const TRect close = frame->GetCaptionButtonRect(kbiClose), max = frame->GetCaptionButtonRect(kbiMaximize);
    EXPECT_EQ(HitCode(Centre(close)), HTCLOSE);
    EXPECT_EQ(HitCode(Centre(max)), HTMAXBUTTON);
    EXPECT_EQ(HitCode(TPoint{150, 12}), HTCAPTION);
    EXPECT_EQ(HitCode(TPoint{1, 150}), HTLEFT);
    EXPECT_EQ(HitCode(TPoint{200, 150}), HTCLIENT);
    // The client area is the theme's.
    const TRect cb = frame->GetClientBounds();
    EXPECT_EQ(ClientRect(Window()).Width(), cb.Width());
    EXPECT_EQ(ClientRect(Window()).Height(), cb.Height());
}

TEST_F(FrameTest, APressOnTheCaptionOrABorderClosesAnOpenComboList) {
    struct Case {
        const char* name;
        bool light;
        TPoint at;  // window point
    } cases[] = {
        {"full frame, caption", false, TPoint{150, 10}},
        {"full frame, left border", false, TPoint{1, 150}},
        {"light frame, caption", true, TPoint{150, 10}},
        {"light frame, left border", true, TPoint{1, 120}},
    };
    TControl list(nullptr);  // stands in for a skinned combo box's open list
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        TTeDefaultForm* frame =
            c.light ? MakeLightForm(bsSizeable, TBorderIcons{biSystemMenu}, false) : MakeForm(false);
        std::vector<TObject*> closedBy;
        ActiveComboBox = &list;
        DoCloseActiveComboBox = [&](TObject* sender) {
            closedBy.push_back(sender);
            ActiveComboBox = nullptr;
            DoCloseActiveComboBox = nullptr;  // as the combo box's close-up does
        };
        // Press and release queued together: a press the window system
        // takes (the light frame's caption and borders) runs a loop of its own.
        auto click = [&] {
            const TPoint s = Screen(c.at);
            ui_.Backend().MouseMove(s);
            ui_.Backend().MouseDown(s);
            ui_.Backend().MouseUp(s);
            ui_.RunUntilIdle();
        };
        click();
        EXPECT_EQ(closedBy, (std::vector<TObject*>{frame}));
        EXPECT_EQ(ActiveComboBox, nullptr);
        // With no list open a press closes nothing.
        ui_.AdvanceClock(1000);
        click();
        EXPECT_EQ(closedBy.size(), 1u);
        delete form_;
        form_ = nullptr;
    }
}

TEST_F(FrameTest, PressOnButtonMoveOffAndReleaseDoesNothing) {
    for (bool themed : {false, true}) {
        TTeDefaultForm* frame = MakeForm(themed);
        int closes = 0;
        frame->OnClose = [&](TObject*, bool& callDefault) {
            ++closes;
            callDefault = false;
        };
        const TPoint close = Centre(frame->GetCaptionButtonRect(kbiClose));
        Down(close);
        EXPECT_EQ(frame->PressedHit(), kwhtCloseButton);
        EXPECT_EQ(frame->HoverHit(), kwhtCloseButton);
        MoveScreen(Screen(TPoint{200, 150}));
        EXPECT_NE(frame->HoverHit(), kwhtCloseButton)
            << "the button shows pressed only while the mouse is on it";
        UpScreen(Screen(TPoint{200, 150}));
        EXPECT_EQ(closes, 0) << themed;
        EXPECT_TRUE(form_->Visible());
        EXPECT_EQ(GetCapture(), nullptr);
        // A whole click on it does close.
        ui_.AdvanceClock(1000);
        Down(close);
        UpScreen(Screen(close));
        EXPECT_EQ(closes, 1) << themed;
        delete form_;
        form_ = nullptr;
    }
}

TEST_F(FrameTest, CaptionDoubleClickTogglesMaximizeOnlyWithTheMaximizeButton) {
    for (bool withMaximize : {true, false}) {
        TTeBorderIcons icons{kbiClose, kbiSystemMenu};
        if (withMaximize) icons.Include(kbiMaximize);
        TTeDefaultForm* frame = MakeForm(true, icons);
        const TRect before = Bounds();
        auto doubleClick = [&] {
            const TPoint s = Screen(TPoint{120, 12});
            ui_.Backend().MouseMove(s);
            for (int i = 0; i < 2; ++i) {
                ui_.Backend().MouseDown(s);
                ui_.Backend().MouseUp(s);
            }
            ui_.RunUntilIdle();
        };
        doubleClick();
        EXPECT_EQ(frame->WindowState(), withMaximize ? kwsMaximized : kwsNormal);
        if (withMaximize) {
            EXPECT_EQ(Bounds(), ui_.Backend().WorkArea());
            ui_.AdvanceClock(1000);
            doubleClick();
            EXPECT_EQ(frame->WindowState(), kwsNormal);
        }
        EXPECT_EQ(Bounds(), before);
        delete form_;
        form_ = nullptr;
    }
}

TEST_F(FrameTest, CaptionDragMovesTheWindowWhole) {
    MakeForm(true);
    const TRect before = Bounds();
    Down(TPoint{120, 12});
    MoveScreen(Screen(TPoint{140, 22}));
    MoveScreen(TPoint{before.left + 120 + 60, before.top + 12 + 40});
    UpScreen(TPoint{before.left + 180, before.top + 52});
    EXPECT_EQ(Bounds(), tarvel::Bounds(before.left + 60, before.top + 40, before.Width(), before.Height()));
}

TEST_F(FrameTest, SizingStopsAtTheMinimumFromEveryEdgeAndCorner) {
    const int minW = 200, minH = 150;
    const struct {
        const char* name;
        TPoint at;       // window point on the part
        TPoint inwards;  // direction of the drag
    } parts[] = {
        {"left", {0, 150}, {1, 0}},         {"top", {200, 0}, {0, 1}},
        {"right", {399, 150}, {-1, 0}},     {"bottom", {200, 299}, {0, -1}},
        {"top-left", {1, 1}, {1, 1}},       {"top-right", {398, 1}, {-1, 1}},
        {"bottom-left", {1, 298}, {1, -1}}, {"bottom-right", {398, 298}, {-1, -1}},
    };
    for (bool themed : {false, true}) {
        for (const auto& part : parts) {
            TTeDefaultForm* frame = MakeForm(themed);
            TSizeConstraints c;
            c.SetMinWidth(minW);
            c.SetMinHeight(minH);
            frame->SetConstraints(c);
            ui_.RunUntilIdle();
            const TRect before = Bounds();
            ASSERT_EQ(before.Width(), 400);
            Down(part.at);
            TPoint s = Screen(part.at);
            for (int step = 0; step < 8; ++step) {
                s = TPoint{s.x + part.inwards.x * 60, s.y + part.inwards.y * 60};
                MoveScreen(s);
            }
            UpScreen(s);
            const TRect after = Bounds();
            const std::string what = std::string(part.name) + (themed ? " themed" : " classic");
            EXPECT_GE(after.Width(), minW) << what;
            EXPECT_GE(after.Height(), minH) << what;
            // The edges not dragged stay where they were.
            if (part.inwards.x > 0) {
                EXPECT_EQ(after.right, before.right) << what;
            }
            if (part.inwards.x < 0) {
                EXPECT_EQ(after.left, before.left) << what;
            }
            if (part.inwards.y > 0) {
                EXPECT_EQ(after.bottom, before.bottom) << what;
            }
            if (part.inwards.y < 0) {
                EXPECT_EQ(after.top, before.top) << what;
            }
            if (part.inwards.x == 0) {
                EXPECT_EQ(after.Width(), before.Width()) << what;
            }
            if (part.inwards.y == 0) {
                EXPECT_EQ(after.Height(), before.Height()) << what;
            }
            // The left and top edges stop exactly at the minimum.
            if (part.inwards.x > 0) {
                EXPECT_EQ(after.Width(), minW) << what;
            }
            if (part.inwards.y > 0) {
                EXPECT_EQ(after.Height(), minH) << what;
            }
            delete form_;
            form_ = nullptr;
        }
    }
}

std::vector<String> Captions(TTePopupMenu* menu) {
    std::vector<String> out;
    for (int i = 0; i < menu->Items()->Count(); ++i)
        out.push_back(WideToUtf8(menu->Items()->GetItem(i)->Caption()));
    return out;
}

TEST_F(FrameTest, SystemMenuOffersWhatTheStateAllows) {
    using V = std::vector<String>;
    TTeDefaultForm* frame = MakeForm(true);
    EXPECT_EQ(Captions(frame->CreateSysMenu()),
              (V{"Mi&nimize", "Ma&ximize", "Ro&llup", "Minimize to &Tray", "-", "&Close"}));
    frame->Maximize();
    EXPECT_EQ(Captions(frame->CreateSysMenu()),
              (V{"&Restore", "Mi&nimize", "Ro&llup", "Minimize to &Tray", "-", "&Close"}));
    frame->Restore();
    frame->Rollup();
    EXPECT_EQ(Captions(frame->CreateSysMenu()),
              (V{"&Restore", "Mi&nimize", "Ma&ximize", "Minimize to &Tray", "-", "&Close"}));
    delete form_;
    form_ = nullptr;

    TTeDefaultForm* dialog = MakeForm(true, TTeBorderIcons{kbiClose, kbiSystemMenu});
    EXPECT_EQ(Captions(dialog->CreateSysMenu()), (V{"&Close"}));
}

TEST_F(FrameTest, RightClickOnCaptionShowsTheSystemMenuAndItsItemsWork) {
    TTeDefaultForm* frame = MakeForm(true);
    bool shown = false;
    ui_.WhenModal([&] {
        shown = ActivePopupMenu != nullptr;
        ui_.PressKey(VK_DOWN);  // from the first entry, hot as the menu opens
        ui_.PressKey(VK_RETURN);
    });
    Down(TPoint{120, 12}, MouseButton::Right);
    UpScreen(Screen(TPoint{120, 12}), MouseButton::Right);
    ui_.RunUntilIdle();
    EXPECT_TRUE(shown);
    EXPECT_TRUE(ui_.Problems().empty());
    EXPECT_EQ(frame->WindowState(), kwsMaximized) << "the second item is Maximize";
    EXPECT_EQ(ActivePopupMenu, nullptr);
}

}  // namespace
}  // namespace tarvel::testing
