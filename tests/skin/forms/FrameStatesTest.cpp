// The frame's own window states, snapping while it is dragged, and the
// shadow and translucency as the screen shows them.

#include "platform/classlib/ExtCtrls.h"
#include "platform/classlib/StdCtrls.h"
#include "platform/winsys/Backend.h"
#include "tests/skin/forms/FrameFixture.h"

namespace tarvel::testing {
namespace {

const TRect kStart = Bounds(100, 100, 400, 300);

class FrameStatesTest : public FrameTest {
protected:
    // Drags the form by its caption with the mouse.
    void DragCaption(int dx, int dy) {
        const TPoint at{150, DefaultBorderWidth + DefaultCaptionHeight / 2};
        const TPoint start = Screen(at);
        // Never a double click with the press before.
        ui_.Backend().AdvanceClock(1000);
        Down(at);
        MoveScreen(TPoint{start.x + dx / 2, start.y + dy / 2});
        MoveScreen(TPoint{start.x + dx, start.y + dy});
        UpScreen(TPoint{start.x + dx, start.y + dy});
    }
    static uint8_t Channel(uint32_t pixel, int shift) { return static_cast<uint8_t>(pixel >> shift); }
};

TEST_F(FrameStatesTest, RestoreFollowsWhereTheWindowCameFrom) {
    TTeDefaultForm* frame = MakeForm(false);
    const TRect maximized = frame->GetMaximizedRect();

    // Maximized, minimized and restored: maximized again, and the next
    // restore still knows the normal bounds.
    frame->Maximize();
    frame->Minimize();
    ui_.RunUntilIdle();
    EXPECT_EQ(frame->WindowState(), kwsMinimized);
    EXPECT_TRUE(IsIconic(Window()));
    frame->Restore();
    ui_.RunUntilIdle();
    EXPECT_EQ(frame->WindowState(), kwsMaximized);
    EXPECT_FALSE(IsIconic(Window()));
    EXPECT_EQ(Bounds(), maximized);
    frame->Restore();
    EXPECT_EQ(frame->WindowState(), kwsNormal);
    EXPECT_EQ(Bounds(), kStart);

    // Rolled up, moved by its caption and restored: the moved place, the old size.
    const int captionHeight = 300 - frame->GetClientBounds().Height();
    frame->Rollup();
    ui_.RunUntilIdle();
    EXPECT_EQ(Bounds().Height(), captionHeight);
    DragCaption(60, 40);
    frame->Restore();
    ui_.RunUntilIdle();
    EXPECT_EQ(frame->WindowState(), kwsNormal);
    EXPECT_EQ(Bounds(), tarvel::Bounds(160, 140, 400, 300));

    // Maximized, then rolled up: restoring goes back to maximized.
    frame->Maximize();
    frame->Rollup();
    frame->Restore();
    EXPECT_EQ(frame->WindowState(), kwsMaximized);
    frame->Restore();
    EXPECT_EQ(Bounds(), tarvel::Bounds(160, 140, 400, 300));
}

TEST_F(FrameStatesTest, TheApplicationsMinimizeAndRestoreReachTheFrameAndTheToolsOwnHandlers) {
    int minimized = 0, restored = 0;
    Application->OnMinimize = [&](TObject*) { ++minimized; };
    Application->OnRestore = [&](TObject*) { ++restored; };
    TTeDefaultForm* frame = MakeForm(false);
    frame->Maximize();
    Application->Minimize();
    ui_.RunUntilIdle();
    EXPECT_EQ(frame->WindowState(), kwsMinimized);
    EXPECT_TRUE(IsIconic(Window()));
    EXPECT_EQ(minimized, 1);
    Application->Restore();
    ui_.RunUntilIdle();
    EXPECT_EQ(frame->WindowState(), kwsMaximized);
    EXPECT_FALSE(IsIconic(Window()));
    EXPECT_EQ(restored, 1);

    // A frame told to leave the application alone keeps its state.
    frame->MinimizeApplication = false;
    Application->Minimize();
    ui_.RunUntilIdle();
    EXPECT_EQ(frame->WindowState(), kwsMaximized);
    EXPECT_EQ(minimized, 2);

    // With the frame gone the tool's own handlers answer alone.
    delete form_;
    form_ = nullptr;
    Application->Minimize();
    Application->Restore();
    EXPECT_EQ(minimized, 3);
    EXPECT_EQ(restored, 2);
    Application->OnMinimize = nullptr;
    Application->OnRestore = nullptr;
}

TEST_F(FrameStatesTest, RolledUpFormAsWideAsTheScreenRestoresMaximized) {
    TTeDefaultForm* frame = MakeForm(false);
    const TRect m = frame->GetMaximizedRect();
    form_->SetBounds(m.left, 50, m.Width(), 300);
    frame->Rollup();
    frame->Restore();
    EXPECT_EQ(frame->WindowState(), kwsMaximized);
    EXPECT_EQ(Bounds(), m);
}

TEST_F(FrameStatesTest, CancelledActionChangesNothing) {
    TTeDefaultForm* frame = MakeForm(false);
    bool asked = false;
    auto refuse = [&asked](TObject*, bool& callDefault) {
        asked = true;
        callDefault = false;
    };
    frame->OnMaximize = frame->OnMinimize = frame->OnRollup = frame->OnMinToTray = refuse;
    const struct {
        const char* name;
        void (TTeDefaultForm::*action)();
    } actions[] = {{"maximize", &TTeDefaultForm::Maximize},
                   {"minimize", &TTeDefaultForm::Minimize},
                   {"roll up", &TTeDefaultForm::Rollup},
                   {"tray", &TTeDefaultForm::MinToTray}};
    for (const auto& a : actions) {
        asked = false;
        (frame->*a.action)();
        ui_.RunUntilIdle();
        EXPECT_TRUE(asked) << a.name;
        EXPECT_EQ(frame->WindowState(), kwsNormal) << a.name;
        EXPECT_EQ(Bounds(), kStart) << a.name;
        EXPECT_FALSE(IsIconic(Window())) << a.name;
    }
    // The same through the window state property.
    frame->SetWindowState(kwsMaximized);
    EXPECT_EQ(frame->WindowState(), kwsNormal);
    EXPECT_EQ(Bounds(), kStart);
}

TEST_F(FrameStatesTest, TrayHidesTheFormBehindItsIconWhoseDoubleClickBringsItBack) {
    TTeDefaultForm* frame = MakeForm(false);
    // Someone who answers the tray query with 1 keeps the form where it is.
    bool refuse = true;
    std::function<void(TMessage&)> previous = form_->WindowProc;
    form_->WindowProc = [&](TMessage& m) {
        if (m.Msg == FM_TRAYQUERY && refuse) {
            m.Result = 1;
            return;
        }
        previous(m);
    };
    frame->MinToTray();
    ui_.RunUntilIdle();
    EXPECT_EQ(frame->WindowState(), kwsNormal);
    EXPECT_TRUE(IsWindowVisible(Window()));
    EXPECT_TRUE(ui_.Backend().TrayIcons().empty());

    refuse = false;
    const String title = Application->Title();
    std::string longTitle;
    for (int i = 0; i < 70; ++i) longTitle += "电";
    Application->SetTitle(longTitle);
    frame->Maximize();
    frame->MinToTray();
    ui_.RunUntilIdle();
    EXPECT_EQ(frame->WindowState(), kwsTray);
    EXPECT_FALSE(IsWindowVisible(Window()));
    EXPECT_FALSE(IsIconic(Window()));
    auto icons = ui_.Backend().TrayIcons();
    ASSERT_EQ(icons.size(), 1u);
    const auto [notify, id] = icons.begin()->first;
    EXPECT_EQ(notify, frame->TrayWindow());
    EXPECT_EQ(icons.begin()->second.tip, longTitle.substr(0, 63 * 3));  // the application's, 63 characters
    EXPECT_TRUE(icons.begin()->second.icon);  // the application's icon without one of the form's

    ASSERT_TRUE(ui_.Backend().ClickTrayIcon(notify, id, WM_LBUTTONDBLCLK));
    ui_.RunUntilIdle();
    EXPECT_EQ(frame->WindowState(), kwsMaximized);
    EXPECT_TRUE(IsWindowVisible(Window()));
    EXPECT_TRUE(ui_.Backend().TrayIcons().empty());
    frame->Restore();
    EXPECT_EQ(Bounds(), kStart);

    // Without a notification area the window is iconified, and the
    // display's restore brings it back.
    ui_.Backend().SetTrayHost(false);
    frame->MinimizeApplication = false;
    frame->MinToTray();
    ui_.RunUntilIdle();
    EXPECT_EQ(frame->WindowState(), kwsTray);
    EXPECT_TRUE(IsIconic(Window()));
    QueueSysCommand(Window(), SC_RESTORE);
    ui_.RunUntilIdle();
    EXPECT_EQ(frame->WindowState(), kwsNormal);
    EXPECT_FALSE(IsIconic(Window()));
    EXPECT_EQ(Bounds(), kStart);
    Application->SetTitle(title);
    form_->WindowProc = previous;
}

TEST_F(FrameStatesTest, TheTrayWindowLetsTheSessionEndAndTakesTheIconAway) {
    TTeDefaultForm* frame = MakeForm(false);
    frame->MinToTray();
    ui_.RunUntilIdle();
    ASSERT_EQ(ui_.Backend().TrayIcons().size(), 1u);
    EXPECT_EQ(SendMessage(frame->TrayWindow(), WM_QUERYENDSESSION, 0, 0), 1);
    SendMessage(frame->TrayWindow(), WM_ENDSESSION, 0, 0);  // the session goes on
    EXPECT_EQ(ui_.Backend().TrayIcons().size(), 1u);
    SendMessage(frame->TrayWindow(), WM_ENDSESSION, 1, 0);
    EXPECT_TRUE(ui_.Backend().TrayIcons().empty());
}

TEST_F(FrameStatesTest, DraggedFormSnapsToTheWorkAreaWithinTwentyPixels) {
    TTeDefaultForm* frame = MakeForm(false);
    ASSERT_EQ(frame->Gravitation()->Size(), 20);
    const TRect work = frame->GetParentRect();
    const struct {
        int left, top;  // where the drag would put the form
        TPoint expected;
    } cases[] = {
        {work.left + 19, 200, {work.left, 200}},
        {work.left + 20, 200, {work.left + 20, 200}},
        {work.left - 19, 200, {work.left, 200}},
        {work.right - 400 - 19, 200, {work.right - 400, 200}},
        {work.right - 400 - 20, 200, {work.right - 400 - 20, 200}},
        {300, work.top + 19, {300, work.top}},
        {300, work.bottom - 300 - 19, {300, work.bottom - 300}},
        {300, work.bottom - 300 - 20, {300, work.bottom - 300 - 20}},
    };
    for (const auto& c : cases) {
        form_->SetBounds(kStart.left, kStart.top, 400, 300);
        ui_.RunUntilIdle();
        DragCaption(c.left - kStart.left, c.top - kStart.top);
        EXPECT_EQ((TPoint{Bounds().left, Bounds().top}), c.expected) << c.left << "," << c.top;
    }
    frame->Gravitation()->Enabled = false;
    form_->SetBounds(kStart.left, kStart.top, 400, 300);
    DragCaption(work.left + 5 - kStart.left, 0);
    EXPECT_EQ(Bounds().left, work.left + 5);
}

TEST_F(FrameStatesTest, DockedFormFollowsAndIsNotSnappedAgainst) {
    TTeDefaultForm* frame = MakeForm<TTeDefaultForm>(false, TTeBorderIcons{kbiClose, kbiSystemMenu},
                                                     TSize{400, 300}, [](TTeDefaultForm* f) {
                                                         f->Gravitation()->OwnedForm = true;
                                                         f->Gravitation()->SnapToForms = true;
                                                     });
    // A second skinned form docked at the first one's right edge.
    TForm* other = new TForm(Application);
    {
        TLoadingScope scope(other);
        auto* f = new TTeDefaultForm(other);
        f->SetActive(true);
        f->Gravitation()->SnapToForms = true;
        scope.Finish();
    }
    other->SetBounds(500, 100, 200, 300);
    other->Show();
    ui_.RunUntilIdle();
    DragCaption(-30, 25);
    EXPECT_EQ((TPoint{Bounds().left, Bounds().top}), (TPoint{70, 125}));
    EXPECT_EQ(other->BoundsRect(), tarvel::Bounds(470, 125, 200, 300));
    delete other;
    (void)frame;
}

// A red window under the form shows what the screen mixes in.
class FrameEffectsTest : public FrameStatesTest {
protected:
    void SetUp() override {
        FrameStatesTest::SetUp();
        under_ = MakeBackdrop(TColor(0x0000FF));
    }
    void TearDown() override {
        delete under_;
        FrameStatesTest::TearDown();
    }
    uint32_t ScreenPixel(int x, int y) { return ui_.Backend().ScreenPixels()->Pixel(x, y); }
    TForm* under_ = nullptr;
};

TEST_F(FrameEffectsTest, ShadowBandFadesOverTheScreenBehindTheForm) {
    TTeDefaultForm* frame = MakeForm<TTeDefaultForm>(false, TTeBorderIcons{kbiClose, kbiSystemMenu},
                                                     TSize{404, 304}, [](TTeDefaultForm* f) {
                                                         f->Shadow()->SetSize(4);
                                                         f->Shadow()->SetEnabled(true);
                                                     });
    ASSERT_EQ(frame->FormWidth(), 400);
    ASSERT_EQ(frame->FormHeight(), 300);
    ASSERT_NE(ScreenPixel(50, 50) & 0xFFFFFF, 0u);
    const uint32_t red = ScreenPixel(50, 50) & 0xFFFFFF;
    ASSERT_EQ(red, 0xFF0000u);
    // Red mixed with the shadow colour at the band's alpha, fading outwards.
    auto shaded = [](int alpha) {
        const int r = (0x3F * alpha + 0xFF * (255 - alpha)) / 255, g = 0x3F * alpha / 255;
        return TPoint{r, g};
    };
    const int alphas[] = {128, 108, 58, 8};
    for (int k = 0; k < 4; ++k) {
        for (TPoint at : {TPoint{100 + 400 + k, 250}, TPoint{300, 100 + 300 + k}}) {
            const uint32_t p = ScreenPixel(at.x, at.y);
            const TPoint want = shaded(alphas[k]);
            EXPECT_NEAR(Channel(p, 16), want.x, 2) << at.x << "," << at.y;
            EXPECT_NEAR(Channel(p, 8), want.y, 2) << at.x << "," << at.y;
        }
    }
    // Beyond the band, and in the corners the shape leaves out, the screen as it was.
    for (TPoint at : {TPoint{504, 250}, TPoint{300, 404}, TPoint{502, 101}, TPoint{101, 402}})
        EXPECT_EQ(ScreenPixel(at.x, at.y) & 0xFFFFFF, red) << at.x << "," << at.y;
    // The frame itself is not shaded.
    EXPECT_NE(ScreenPixel(100, 250) & 0xFFFFFF, red);

    // Moved, the band is composed over the screen at the new place.
    DragCaption(40, 0);
    const uint32_t p = ScreenPixel(140 + 400, 250);
    EXPECT_NEAR(Channel(p, 16), shaded(128).x, 2);
    EXPECT_EQ(ScreenPixel(140 + 404, 250) & 0xFFFFFF, red);
    EXPECT_EQ(ScreenPixel(120, 250) & 0xFFFFFF, red);
}

TEST_F(FrameEffectsTest, BlendedFrameAndBackgroundMixWithTheScreenAndTheControlsStayOpaque) {
    TPanel* panel = nullptr;
    TTeDefaultForm* frame = MakeForm<TTeDefaultForm>(false, TTeBorderIcons{kbiClose, kbiSystemMenu},
                                                     TSize{400, 300}, [&](TTeDefaultForm* f) {
                                                         f->Blending()->SetValue(128);
                                                         f->Blending()->SetEnabled(true);
                                                         panel = new TPanel(form_);
                                                         panel->SetParent(form_);
                                                         panel->SetColor(clBlue);
                                                         panel->SetBounds(150, 100, 60, 40);
                                                     });
    const TRect cb = frame->GetClientBounds();
    const TPoint client = Screen(TPoint{cb.left + 20, cb.top + 200}), border = Screen(TPoint{1, 150}),
                 caption = Screen(TPoint{200, cb.top / 2}),
                 control = Screen(TPoint{cb.left + 180, cb.top + 120});
    auto pixels = [&] {
        return std::vector<uint32_t>{ScreenPixel(client.x, client.y), ScreenPixel(border.x, border.y),
                                     ScreenPixel(caption.x, caption.y), ScreenPixel(control.x, control.y)};
    };
    const std::vector<uint32_t> blended = pixels();
    frame->Blending()->SetEnabled(false);
    frame->InvalidateNow();
    ui_.RunUntilIdle();
    const std::vector<uint32_t> opaque = pixels();
    ASSERT_EQ(opaque[0] & 0xFFFFFF, 0xFFFFFFu);
    // Background, border and caption are half their own colour, half the red behind.
    for (int i = 0; i < 3; ++i) {
        SCOPED_TRACE(i);
        EXPECT_NEAR(Channel(blended[i], 16), (Channel(opaque[i], 16) * 128 + 0xFF * 127) / 255, 2);
        EXPECT_NEAR(Channel(blended[i], 8), Channel(opaque[i], 8) * 128 / 255, 2);
        EXPECT_NEAR(Channel(blended[i], 0), Channel(opaque[i], 0) * 128 / 255, 2);
    }
    // A control on the form paints over the mix as it is.
    EXPECT_EQ(blended[3] & 0xFFFFFF, 0x0000FFu);
    EXPECT_EQ(opaque[3] & 0xFFFFFF, 0x0000FFu);

    // Moved while blended, the form mixes with what lies behind its new place.
    frame->Blending()->SetEnabled(true);
    DragCaption(60, 0);
    const uint32_t moved = ScreenPixel(client.x + 60, client.y);
    EXPECT_NEAR(Channel(moved, 8), 128, 2);
    EXPECT_EQ(ScreenPixel(control.x + 60, control.y) & 0xFFFFFF, 0x0000FFu);
}

TEST_F(FrameEffectsTest, WithACompositorTheBlendedFrameAndItsShadowShowWhatChangesBehindThem) {
    ui_.Backend().SetComposing(true);
    TTeDefaultForm* frame = MakeForm<TTeDefaultForm>(false, TTeBorderIcons{kbiClose, kbiSystemMenu},
                                                     TSize{404, 304}, [&](TTeDefaultForm* f) {
                                                         f->Blending()->SetValue(128);
                                                         f->Blending()->SetEnabled(true);
                                                         f->Shadow()->SetSize(4);
                                                         f->Shadow()->SetEnabled(true);
                                                         auto* panel = new TPanel(form_);
                                                         panel->SetParent(form_);
                                                         panel->SetColor(clBlue);
                                                         panel->SetBounds(150, 100, 60, 40);
                                                     });
    ASSERT_TRUE(frame->Composited());
    EXPECT_TRUE(ui_.Backend().SurfaceInfo(Window()).alphaMask);
    const TRect cb = frame->GetClientBounds();
    const TPoint points[] = {Screen(TPoint{cb.left + 20, cb.top + 200}), Screen(TPoint{1, 150}),
                             TPoint{100 + 400, 250}, Screen(TPoint{cb.left + 180, cb.top + 120})};
    auto pixels = [&] {
        std::vector<uint32_t> out;
        for (TPoint p : points) out.push_back(ScreenPixel(p.x, p.y));
        return out;
    };
    const std::vector<uint32_t> overRed = pixels();
    // What lies behind turns from red to green while the form stays where it is.
    under_->SetColor(TColor(0x00FF00));
    UpdateWindow(under_->Handle());
    const std::vector<uint32_t> overGreen = pixels();
    // Background, border and the shadow's inner column take half of what is behind them now.
    for (int i = 0; i < 3; ++i) {
        SCOPED_TRACE(i);
        EXPECT_NEAR(Channel(overGreen[i], 16), Channel(overRed[i], 16) - 127, 2);
        EXPECT_NEAR(Channel(overGreen[i], 8), Channel(overRed[i], 8) + 127, 2);
        EXPECT_NEAR(Channel(overGreen[i], 0), Channel(overRed[i], 0), 2);
    }
    // The control stays opaque.
    EXPECT_EQ(overRed[3] & 0xFFFFFF, 0x0000FFu);
    EXPECT_EQ(overGreen[3] & 0xFFFFFF, 0x0000FFu);
    ui_.Backend().SetComposing(false);
}

// A composited frame's children show opaque, but a transparent label paints
// only its text on the blended ground: its pixels keep the frame's alpha.
TEST_F(FrameEffectsTest, ATransparentLabelOnACompositedFrameKeepsTheFramesAlpha) {
    ui_.Backend().SetComposing(true);
    TLabel* clear = nullptr;
    TLabel* solid = nullptr;
    TTeDefaultForm* frame = MakeForm<TTeDefaultForm>(false, TTeBorderIcons{kbiClose, kbiSystemMenu},
                                                     TSize{404, 304}, [&](TTeDefaultForm* f) {
                                                         f->Blending()->SetValue(128);
                                                         f->Blending()->SetEnabled(true);
                                                         for (TLabel** label : {&clear, &solid}) {
                                                             *label = new TLabel(form_);
                                                             (*label)->SetParent(form_);
                                                             (*label)->SetCaption("Cell voltages");
                                                             (*label)->SetAutoSize(false);
                                                         }
                                                         clear->SetTransparent(true);
                                                         clear->SetBounds(20, 20, 120, 20);
                                                         solid->SetBounds(20, 60, 120, 20);
                                                     });
    ASSERT_TRUE(frame->Composited());
    const std::shared_ptr<const Surface> mask = ui_.Backend().SurfaceInfo(Window()).alphaMask;
    ASSERT_TRUE(mask);
    const TRect cb = frame->GetClientBounds();
    auto alpha = [&](int x, int y) { return mask->Pixel(cb.left + x, cb.top + y) >> 24; };
    EXPECT_EQ(alpha(300, 200), 128u);  // the ground
    for (int x : {21, 80, 139}) {
        SCOPED_TRACE(x);
        EXPECT_EQ(alpha(x, 30), 128u);
        EXPECT_EQ(alpha(x, 70), 255u);
    }
    ui_.Backend().SetComposing(false);
}

// The compositing manager goes and comes back while the frame is open: the
// frame hears it (WM_DWMCOMPOSITIONCHANGED) and mixes with its snapshot, then
// live again, keeping its place.
TEST_F(FrameEffectsTest, ABlendedFrameSwitchesBetweenLiveMixingAndItsSnapshotAsTheCompositorGoesAndComes) {
    ui_.Backend().SetComposing(true);
    TTeDefaultForm* frame = MakeForm<TTeDefaultForm>(false, TTeBorderIcons{kbiClose, kbiSystemMenu},
                                                     TSize{404, 304}, [&](TTeDefaultForm* f) {
                                                         f->Blending()->SetValue(128);
                                                         f->Blending()->SetEnabled(true);
                                                     });
    ASSERT_TRUE(frame->Composited());
    const TRect placed = WindowRect(Window());
    const TRect cb = frame->GetClientBounds();
    const TPoint ground = Screen(TPoint{cb.left + 20, cb.top + 200});
    const uint32_t overRed = ScreenPixel(ground.x, ground.y);

    ui_.Backend().SetComposing(false);
    SendMessage(Window(), WM_DWMCOMPOSITIONCHANGED, 0, 0);
    UpdateWindow(Window());
    EXPECT_FALSE(frame->Composited());
    EXPECT_FALSE(ui_.Backend().SurfaceInfo(Window()).perPixelAlpha);
    EXPECT_EQ(WindowRect(Window()), placed);
    // The red taken when the frame was shown, though green lies behind it now.
    under_->SetColor(TColor(0x00FF00));
    UpdateWindow(under_->Handle());
    UpdateWindow(Window());
    const uint32_t gone = ScreenPixel(ground.x, ground.y);
    for (int shift : {0, 8, 16}) EXPECT_NEAR(Channel(gone, shift), Channel(overRed, shift), 2);

    ui_.Backend().SetComposing(true);
    SendMessage(Window(), WM_DWMCOMPOSITIONCHANGED, 0, 0);
    UpdateWindow(Window());
    EXPECT_TRUE(frame->Composited());
    EXPECT_TRUE(ui_.Backend().SurfaceInfo(Window()).alphaMask);
    const uint32_t overGreen = ScreenPixel(ground.x, ground.y);
    EXPECT_NEAR(Channel(overGreen, 16), Channel(overRed, 16) - 127, 2);
    EXPECT_NEAR(Channel(overGreen, 8), Channel(overRed, 8) + 127, 2);
    ui_.Backend().SetComposing(false);
}

TEST_F(FrameEffectsTest, FirstShowHandsTheScreenAndTheFormsPictureToTheAnimation) {
    struct Call {
        TPoint at;
        uint32_t background, caption, client, shape;
    };
    std::vector<Call> calls;
    TTeDefaultForm* frame = nullptr;
    SetShowAnimation(
        [&](TCanvas*, int x, int y, TteBitmap* background, TteBitmap* image, TteShowAnimationRec*) {
            const TRect cb = frame->GetClientBounds();
            calls.push_back(Call{{x, y},
                                 background->GetPixel(200, 150),
                                 image->GetPixel(200, 10),
                                 image->GetPixel(200, 150),
                                 image->GetPixel(cb.left + 15, cb.top + 15)});
        });
    for (bool enabled : {false, true}) {
        calls.clear();
        MakeForm<TTeDefaultForm>(false, TTeBorderIcons{kbiClose, kbiSystemMenu}, TSize{400, 300},
                                 [&, enabled](TTeDefaultForm* f) {
                                     frame = f;
                                     f->Animation()->SetEnabled(enabled);
                                     // A windowless control is part of the picture too.
                                     auto* shape = new TShape(form_);
                                     shape->Brush()->SetColor(clLime);
                                     shape->SetBounds(10, 10, 20, 20);
                                     shape->SetParent(form_);
                                 });
        ASSERT_EQ(calls.size(), enabled ? 1u : 0u);
        if (enabled) {
            EXPECT_EQ(calls[0].at, (TPoint{100, 100}));
            // Behind: the screen before the form came; in front: the form as it will look.
            EXPECT_EQ(calls[0].background & 0xFFFFFF, 0xFF0000u);
            EXPECT_EQ(calls[0].client & 0xFFFFFF, 0xFFFFFFu);
            EXPECT_NE(calls[0].caption & 0xFFFFFF, 0xFF0000u);
            EXPECT_NE(calls[0].caption & 0xFFFFFF, 0xFFFFFFu);
            EXPECT_EQ(calls[0].shape & 0xFFFFFF, 0x00FF00u);
        }
        delete form_;
        form_ = nullptr;
    }
    SetShowAnimation(nullptr);
}

}  // namespace
}  // namespace tarvel::testing
