// The light frame over the form's own border style, buttons and state, and
// what transparent controls show behind them on skinned and plain forms.

#include "platform/classlib/StdCtrls.h"
#include "skin/forms/te_forms_frame2.h"
#include "skin/forms/te_forms_popupmenu.h"
#include "tests/skin/forms/FrameFixture.h"

namespace tarvel::testing {
namespace {

class FrameLightTest : public FrameTest {
protected:
    // Press, move and release queued at once: the window system's own
    // move loop reads them.
    void DragScreen(TPoint from, TPoint to) {
        ui_.Backend().AdvanceClock(1000);
        ui_.Backend().MouseMove(from);
        ui_.Backend().MouseDown(from);
        ui_.Backend().MouseMove(TPoint{(from.x + to.x) / 2, (from.y + to.y) / 2});
        ui_.Backend().MouseMove(to);
        ui_.Backend().MouseUp(to);
        ui_.RunUntilIdle();
    }
    void DoubleClickScreen(TPoint at) {
        ui_.Backend().AdvanceClock(1000);
        ui_.Backend().MouseMove(at);
        for (int i = 0; i < 2; ++i) {
            ui_.Backend().MouseDown(at);
            ui_.Backend().MouseUp(at);
        }
        ui_.RunUntilIdle();
    }
};

TEST_F(FrameLightTest, DialogTakesTheStandardWindowAndLeavesMovingToTheWindowSystem) {
    TTeDefaultForm2* frame = MakeLightForm(bsDialog, TBorderIcons{biSystemMenu}, true);
    auto* themed = dynamic_cast<TTeForm2*>(frame);
    ASSERT_TRUE(themed && themed->Active() && themed->Themed());
    EXPECT_EQ(WindowSubclass2(frame), kwscStandard);
    EXPECT_FALSE(GetWindowLong(Window(), GWL_STYLE) & WS_SYSMENU);

    const TRect cb = GetThemeLink(themed->ThemeLink())
                         ->WindowGetClientRect(kwscStandard, TRect{0, 0, 360, 240}, themed->ThemeObject());
    EXPECT_EQ(ClientRect(Window()), TRect({0, 0, cb.Width(), cb.Height()}));

    const TRect close = frame->GetCaptionButtonRect(kbiClose),
                icon = frame->GetCaptionButtonRect(kbiSystemMenu);
    ASSERT_FALSE(close.IsEmpty());
    EXPECT_TRUE(frame->GetCaptionButtonRect(kbiMinimize).IsEmpty());
    EXPECT_TRUE(frame->GetCaptionButtonRect(kbiMaximize).IsEmpty());
    const struct {
        TPoint at;
        int code;
    } cases[] = {
        {{0, 120}, HTCLIENT},   {{359, 120}, HTCLIENT},       {{180, 239}, HTCLIENT},
        {{2, 2}, HTCLIENT},     {{358, 238}, HTCLIENT},       {{cb.left + 120, cb.top / 2}, HTCAPTION},
        {{180, 120}, HTCLIENT}, {Centre(close), HTMAXBUTTON},
    };
    for (const auto& c : cases) EXPECT_EQ(HitCode(c.at), c.code) << c.at.x << "," << c.at.y;
    if (!icon.IsEmpty()) {
        EXPECT_EQ(HitCode(Centre(icon)), HTMAXBUTTON);
    }

    // The window system's move loop moves it by the drag.
    const TPoint grip = Screen(TPoint{cb.left + 120, cb.top / 2});
    DragScreen(grip, TPoint{grip.x + 50, grip.y + 30});
    EXPECT_EQ(Bounds(), tarvel::Bounds(150, 130, 360, 240));

    // Its system menu offers closing only, and the close button closes.
    TTePopupMenu* menu = frame->CreateSysMenu();
    ASSERT_EQ(menu->Items()->Count(), 1);
    EXPECT_EQ(menu->Items()->GetItem(0)->Caption(), u"&Close");
    ui_.ClickAt(form_, TPoint{Centre(close).x - cb.left, Centre(close).y - cb.top});
    EXPECT_FALSE(form_->Visible());
}

TEST_F(FrameLightTest, SizeableFrameSizesAndDoubleClickMaximizesOnlyWithTheButton) {
    for (bool maximizable : {true, false}) {
        TBorderIcons icons{biSystemMenu, biMinimize};
        if (maximizable) icons.Include(biMaximize);
        TTeDefaultForm2* frame = MakeLightForm(bsSizeable, icons, false);
        EXPECT_EQ(HitCode(TPoint{0, 120}), HTLEFT);
        EXPECT_EQ(HitCode(TPoint{359, 239}), HTBOTTOMRIGHT);
        const TPoint caption = Screen(TPoint{150, DefaultBorderWidth + DefaultCaptionHeight / 2});
        DoubleClickScreen(caption);
        EXPECT_EQ(form_->WindowState(), maximizable ? wsMaximized : wsNormal) << maximizable;
        EXPECT_EQ(frame->WindowState(), maximizable ? kwsMaximized : kwsNormal) << maximizable;
        if (maximizable) {
            // Maximized: no borders to size.
            EXPECT_EQ(HitCode(TPoint{0, 120}), HTCLIENT);
            DoubleClickScreen(Screen(TPoint{150, DefaultBorderWidth + DefaultCaptionHeight / 2}));
            EXPECT_EQ(form_->WindowState(), wsNormal);
        }
        delete form_;
        form_ = nullptr;
    }
}

TEST_F(FrameLightTest, ThemedFrameKeepsTheThemesSlotsAndPaintsTheClientItself) {
    TTeDefaultForm2* frame =
        MakeLightForm(bsSizeable, TBorderIcons{biSystemMenu, biMinimize, biMaximize, biHelp}, true);
    auto* themed = dynamic_cast<TTeForm2*>(frame);
    ASSERT_TRUE(themed && themed->Themed());
    int painted = 0;
    frame->OnPaint = [&](TObject*) { ++painted; };
    // The theme lays the caption out for roll-up and tray buttons too: help
    // comes after their slots, which hold nothing that acts.
    const TRect close = frame->GetCaptionButtonRect(kbiClose), help = frame->GetCaptionButtonRect(kbiHelp);
    ASSERT_FALSE(close.IsEmpty());
    EXPECT_EQ(help.left, close.left - 5 * 24);
    const TPoint rollSlot{close.left - 3 * 24 + 11, Centre(close).y};
    EXPECT_EQ(HitCode(rollSlot), HTMAXBUTTON);
    const TRect cb = frame->GetClientBounds();
    const TRect before = Bounds();
    ui_.ClickAt(form_, TPoint{rollSlot.x - cb.left, rollSlot.y - cb.top});
    EXPECT_TRUE(form_->Visible());
    EXPECT_EQ(form_->WindowState(), wsNormal);
    EXPECT_EQ(Bounds(), before);

    // A new link repaints the frame without sizing the form.
    auto* other = new TTeThemeLink(form_);
    other->SetThemeBuilding("Flat");
    themed->SetThemeLink(other);
    ui_.RunUntilIdle();
    EXPECT_EQ(Bounds(), before);

    // OnPaint never stands in for the client background, on the screen or in a picture.
    InvalidateRect(Window(), nullptr, true);
    ui_.RunUntilIdle();
    TteBitmap picture;
    picture.SetSize(360, 240);
    picture.Clear(0xFF000000);
    EXPECT_EQ(SendMessage(Window(), CM_PAINTTOBITMAP, 0, static_cast<LPARAM>(picture.DC().Value())), 1);
    EXPECT_EQ(painted, 0);
    EXPECT_EQ(picture.GetPixel(cb.left + 100, cb.top + 100) & 0xFFFFFF,
              PixelAt(ui_, Screen(TPoint{cb.left + 100, cb.top + 100})));
}

TEST_F(FrameLightTest, BorderlessFormHasNoFrameOfItsOwn) {
    // Themed: hooked because the theme defines a window without border.
    TTeDefaultForm2* frame = MakeLightForm(bsNone, TBorderIcons{}, true);
    auto* themed = dynamic_cast<TTeForm2*>(frame);
    ASSERT_TRUE(themed);
    EXPECT_EQ(WindowSubclass2(frame), kwscNoBorder);
    EXPECT_EQ(themed->Active(), IsObjectDefined(kwscNoBorder, themed->ThemeObject(), themed->ThemeLink()));
    EXPECT_TRUE(WindowButtons2(frame).Empty());
    delete form_;
    form_ = nullptr;

    // Classic: the client is the whole window and nothing but the form is painted.
    frame = MakeLightForm(bsNone, TBorderIcons{}, false);
    EXPECT_EQ(frame->GetClientBounds(), (TRect{0, 0, 360, 240}));
    EXPECT_EQ(ClientRect(Window()), (TRect{0, 0, 360, 240}));
    std::unique_ptr<Surface> pixels = ui_.Backend().WindowPixels(Window());
    ASSERT_TRUE(pixels);
    for (TPoint p : {TPoint{0, 0}, TPoint{359, 0}, TPoint{0, 239}, TPoint{180, 5}})
        EXPECT_EQ(pixels->Pixel(p.x, p.y) & 0xFFFFFF, 0xFFFF00u) << p.x << "," << p.y;
}

// A transparent label paints what lies behind it into a 200 x 200 picture;
// its own 80 x 20 rectangle is at the picture's top-left.
class BackgroundPainterTest : public FrameLightTest {
protected:
    std::unique_ptr<TteBitmap> Behind(TLabel* label) {
        auto picture = std::make_unique<TteBitmap>();
        picture->SetSize(200, 200);
        picture->Clear(0xFFFF00FF);
        DrawControlBackground(label, picture->DC());
        return picture;
    }
    // The colour the flat theme gives a window's client area.
    uint32_t ThemeClientColour(TControl* on) {
        auto* frame = dynamic_cast<TTeForm*>(GetParentQvForm(on));
        if (!frame) return 0;
        TteBitmap one;
        one.SetSize(1, 1);
        GetThemeLink(frame->ThemeLink())
            ->WindowDrawClient(kwscStandard, *one.GetCanvas(), TRect{0, 0, 1, 1}, "default");
        return one.GetPixel(0, 0) & 0xFFFFFF;
    }
};

TEST_F(BackgroundPainterTest, TransparentLabelShowsWhatItsFormOrFrameShows) {
    const struct {
        const char* name;
        int frame;  // 0 none, 1 light frame themed, 2 class-library frame on a themed full frame
    } cases[] = {{"plain form", 0}, {"themed light frame", 1}, {"frame on a skinned form", 2}};
    for (const auto& c : cases) {
        if (c.frame == 0) {
            form_ = new TForm(Application);
            form_->SetColor(clYellow);
            form_->SetBounds(100, 100, 360, 240);
            form_->Show();
        } else if (c.frame == 1) {
            MakeLightForm(bsDialog, TBorderIcons{biSystemMenu}, true);
        } else {
            MakeForm(true);
            form_->SetColor(clYellow);
        }
        TWinControl* parent = form_;
        if (c.frame == 2) {
            auto* frame = new TCustomFrame(form_);
            frame->SetParent(form_);
            frame->SetBounds(20, 30, 200, 150);
            parent = frame;
        }
        auto* label = new TLabel(form_);
        label->SetAutoSize(false);
        label->SetTransparent(true);
        label->SetParent(parent);
        label->SetBounds(c.frame == 2 ? 10 : 30, c.frame == 2 ? 10 : 40, 80, 20);
        ui_.RunUntilIdle();

        const std::unique_ptr<TteBitmap> picture = Behind(label);
        const uint32_t want = c.frame == 0 ? 0xFFFF00u : ThemeClientColour(label);
        // The theme's picture must not look like the form's colour.
        if (c.frame != 0) {
            ASSERT_NE(want, 0xFFFF00u) << c.name;
        }
        for (TPoint p : {TPoint{0, 0}, TPoint{79, 19}, TPoint{40, 10}})
            EXPECT_EQ(picture->GetPixel(p.x, p.y) & 0xFFFFFF, want) << c.name << " " << p.x << "," << p.y;
        // Exactly its own rectangle: nothing beyond it is painted.
        for (TPoint p : {TPoint{80, 0}, TPoint{0, 20}, TPoint{150, 150}})
            EXPECT_EQ(picture->GetPixel(p.x, p.y) & 0xFFFFFF, 0xFF00FFu)
                << c.name << " " << p.x << "," << p.y;
        delete form_;
        form_ = nullptr;
    }
}

}  // namespace
}  // namespace tarvel::testing
