// The frame's painting, the option groups it reads, and pictures of a
// frame for the eye.

#include <string>

#include "platform/classlib/StdCtrls.h"
#include "skin/core/te_utils_draw.h"
#include "skin/forms/te_forms_options.h"
#include "tests/skin/forms/FrameFixture.h"

namespace tarvel::testing {
namespace {

TEST_F(FrameTest, ThemedFramePaintsTheThemeAndInactiveChangesTheCaption) {
    auto* frame = dynamic_cast<TTeForm*>(MakeForm(true));
    ASSERT_TRUE(frame);
    SendMessage(Window(), WM_NCACTIVATE, 1, 0);
    ui_.RunUntilIdle();
    const TPoint caption = Screen(TPoint{200, 12});
    const uint32_t active = PixelAt(ui_, caption);
    const std::string dir = TARVEL_BINARY_DIR;
    EXPECT_TRUE(ui_.Backend().SaveWindowPng(Window(), dir + "/skin_forms_flat_active.png"));
    SendMessage(Window(), WM_NCACTIVATE, 0, 0);
    ui_.RunUntilIdle();
    const uint32_t inactive = PixelAt(ui_, caption);
    EXPECT_TRUE(ui_.Backend().SaveWindowPng(Window(), dir + "/skin_forms_flat_inactive.png"));
    EXPECT_NE(active, inactive);
    // The client area is the theme's window colour, not the frame.
    const TRect cb = frame->GetClientBounds();
    EXPECT_EQ(ClientRect(Window()).Width(), cb.Width());
}

TEST_F(FrameTest, ClassicFrameIsDrawnWhenNoThemeDefinesTheWindow) {
    TTeDefaultForm* frame = MakeForm(false);
    SendMessage(Window(), WM_NCACTIVATE, 1, 0);
    ui_.RunUntilIdle();
    const int b = DefaultBorderWidth;
    const uint32_t rgb = static_cast<uint32_t>(ColorToRGB(clActiveCaption));
    const uint32_t argb = ((rgb & 0xFF) << 16) | (rgb & 0xFF00) | ((rgb >> 16) & 0xFF);
    EXPECT_EQ(PixelAt(ui_, Screen(TPoint{b, b + 2})), argb)
        << "the caption band starts in the active caption colour";
    EXPECT_TRUE(
        ui_.Backend().SaveWindowPng(Window(), std::string(TARVEL_BINARY_DIR) + "/skin_forms_classic.png"));
    EXPECT_TRUE(frame->Active());
}

TEST_F(FrameTest, WithoutANonClientAreaTheFrameIsPaintedInsideTheClient) {
    for (bool themed : {false, true}) {
        SCOPED_TRACE(themed ? "flat theme" : "classic");
        // The same frame with its own non-client area shows what to expect.
        MakeForm(themed);
        SendMessage(Window(), WM_NCACTIVATE, 1, 0);
        ui_.RunUntilIdle();
        const TPoint caption{200, 12}, edge{1, 150}, inside{200, 150};
        const uint32_t captionColour = PixelAt(ui_, Screen(caption)), edgeColour = PixelAt(ui_, Screen(edge));
        delete form_;
        form_ = nullptr;

        TTeDefaultForm* frame =
            MakeForm<TTeDefaultForm>(themed, TTeBorderIcons{kbiClose, kbiSystemMenu}, TSize{400, 300},
                                     [](TTeDefaultForm* f) { f->DisabledNCArea = true; });
        SendMessage(Window(), WM_NCACTIVATE, 1, 0);
        InvalidateRect(Window(), nullptr, true);
        ui_.RunUntilIdle();
        ASSERT_EQ(ClientRect(Window()), (TRect{0, 0, 400, 300}));
        EXPECT_EQ(PixelAt(ui_, Screen(caption)), captionColour);
        EXPECT_EQ(PixelAt(ui_, Screen(edge)), edgeColour);
        EXPECT_TRUE(frame->GetClientBounds().Contains(inside));
        EXPECT_NE(PixelAt(ui_, Screen(inside)), captionColour);
        EXPECT_TRUE(ui_.Backend().SaveWindowPng(Window(), std::string(TARVEL_BINARY_DIR) + "/skin_forms_" +
                                                              (themed ? "flat" : "classic") + "_no_nc.png"));
        delete form_;
        form_ = nullptr;
    }
}

// Counts the requests to repaint it.
class TCountingBox : public TCustomControl {
    TARVEL_CLASS(TCountingBox, TCustomControl)

public:
    using TCustomControl::TCustomControl;
    int invalidated = 0;
    void Invalidate() override {
        ++invalidated;
        TCustomControl::Invalidate();
    }
};

// Stands in for a skinned control that paints what lies behind it; only
// its class name matters to the frame, which cannot see the control folders.
class TTeCheckBox : public TCountingBox {
    TARVEL_CLASS(TTeCheckBox, TCountingBox)

public:
    using TCountingBox::TCountingBox;
};

class TDerivedBox : public TTeCheckBox {
    TARVEL_CLASS(TDerivedBox, TTeCheckBox)

public:
    using TTeCheckBox::TTeCheckBox;
};

TEST_F(FrameTest, WithoutANonClientAreaTransparentChildrenTakeTheFormsPainterAndRepaintWhenSized) {
    std::vector<TRect> asked;
    TTeDefaultForm* frame = MakeForm<TTeDefaultForm>(
        false, TTeBorderIcons{kbiClose, kbiSystemMenu}, TSize{400, 300}, [&](TTeDefaultForm* f) {
            f->DisabledNCArea = true;
            f->OnPaintBackground = [&](TObject*, HDC dc, const TRect& r) {
                asked.push_back(r);
                TCanvas canvas;
                canvas.SetHandle(dc);
                FillRect(canvas, r, clLime);
                canvas.SetHandle(HDC{});
            };
        });
    auto* check = new TTeCheckBox(form_);
    check->SetParent(form_);
    check->SetBounds(40, 60, 80, 20);
    auto* derived = new TDerivedBox(form_);
    derived->SetParent(form_);
    derived->SetBounds(40, 90, 80, 20);
    auto* other = new TCountingBox(form_);
    other->SetParent(form_);
    other->SetBounds(40, 120, 80, 20);
    auto* label = new TLabel(form_);
    label->SetAutoSize(false);
    label->SetTransparent(true);
    label->SetParent(form_);
    label->SetBounds(200, 60, 80, 20);
    ui_.RunUntilIdle();

    // Behind a transparent child the form's own painter answers, for exactly its rectangle.
    TteBitmap behind;
    behind.SetSize(80, 20);
    behind.Clear(0xFFFF00FF);
    DrawControlBackground(label, behind.DC());
    ASSERT_EQ(asked.size(), 1u);
    EXPECT_EQ(asked[0], (TRect{200, 60, 280, 80}));
    EXPECT_EQ(behind.GetPixel(40, 10) & 0xFFFFFF, 0x00FF00u);
    // The form's own background still comes from the frame.
    frame->InvalidateNow();
    ui_.RunUntilIdle();
    EXPECT_EQ(asked.size(), 1u);

    // Sized, the frame inside the client changes under the transparent kinds only.
    check->invalidated = derived->invalidated = other->invalidated = 0;
    form_->SetBounds(100, 100, 460, 340);
    EXPECT_EQ(check->invalidated, 1);
    EXPECT_EQ(derived->invalidated, 1);
    EXPECT_EQ(other->invalidated, 0);
    // A move alone leaves them be.
    form_->SetBounds(120, 100, 460, 340);
    EXPECT_EQ(check->invalidated, 1);
}

TEST_F(FrameTest, DoubleBufferCopiesOnlyTheFrameStrips) {
    TTeDefaultForm* frame = MakeForm(true);
    frame->SetPerformance(qvfpDoubleBuffer);
    HDC dc = GetDC(Window());
    const TRect client = ClientRect(Window());
    {
        TCanvas canvas;
        canvas.SetHandle(dc);
        FillRect(canvas, client, clRed);
        canvas.SetHandle(HDC{});
    }
    ReleaseDC(Window(), dc);
    frame->UpdateNonClientArea();
    const TRect cb = frame->GetClientBounds();
    for (TPoint p : {TPoint{cb.left, cb.top}, TPoint{cb.right - 1, cb.bottom - 1}, Centre(cb)})
        EXPECT_EQ(PixelAt(ui_, Screen(p)), 0xFF0000u) << p.x << "," << p.y;
}

TEST_F(FrameTest, PaintToBitmapWithoutADcAnswersZero) {
    MakeForm(true);
    EXPECT_EQ(SendMessage(Window(), CM_PAINTTOBITMAP, 0, 0), 0);
}

TEST_F(FrameTest, APartialInvalidationRepaintsOnlyItsRectangle) {
    for (bool blended : {false, true}) {
        SCOPED_TRACE(blended ? "blended" : "opaque");
        TTeDefaultForm* frame = MakeForm(false);
        frame->Blending()->SetEnabled(blended);
        ui_.RunUntilIdle();
        HWND h = form_->Handle();
        const TRect cb = frame->GetClientBounds();
        // The client turns black behind the frame's back.
        HDC dc = GetDC(h);
        PatBlt(dc, 0, 0, cb.Width(), cb.Height(), BLACKNESS);
        ReleaseDC(h, dc);
        const TRect part{cb.left + 20, cb.top + 30, cb.left + 60, cb.top + 50};
        frame->InvalidateRect(part);
        frame->InvalidateRect(TRect{-50, -50, -10, -10});  // outside the window: nothing
        frame->InvalidateRect(TRect{5000, 5000, 5100, 5100});
        std::unique_ptr<Surface> pixels = ui_.Backend().WindowPixels(h);
        ASSERT_TRUE(pixels);
        auto at = [&](int x, int y) { return pixels->Pixel(x, y) & 0xFFFFFF; };
        for (TPoint p : {TPoint{part.left, part.top}, TPoint{part.right - 1, part.bottom - 1}})
            EXPECT_NE(at(p.x, p.y), 0u) << "repainted at " << p.x << "," << p.y;
        if (!blended) EXPECT_EQ(at(part.left + 5, part.top + 5), 0xFFFFFFu);
        for (TPoint p :
             {TPoint{part.left - 1, part.top}, TPoint{part.right, part.top}, TPoint{part.left, part.top - 1},
              TPoint{part.left, part.bottom}, TPoint{cb.left + 200, cb.top + 150}})
            EXPECT_EQ(at(p.x, p.y), 0u) << "left alone at " << p.x << "," << p.y;
        delete form_;
        form_ = nullptr;
        ui_.RunUntilIdle();
    }
    // The light frame takes the request as one for the whole background.
    TTeDefaultForm2* light = MakeLightForm(bsSizeable, TBorderIcons{biSystemMenu}, false);
    HWND h = form_->Handle();
    const TRect cb = light->GetClientBounds();
    HDC dc = GetDC(h);
    PatBlt(dc, 0, 0, cb.Width(), cb.Height(), BLACKNESS);
    ReleaseDC(h, dc);
    light->InvalidateRect(TRect{cb.left + 20, cb.top + 30, cb.left + 60, cb.top + 50});
    std::unique_ptr<Surface> pixels = ui_.Backend().WindowPixels(h);
    ASSERT_TRUE(pixels);
    EXPECT_EQ(pixels->Pixel(cb.left + 200, cb.top + 150) & 0xFFFFFF, 0xFFFF00u);
}

TEST(FormOptionsTest, ValuesAreKeptInTheirRanges) {
    const struct {
        int set;
        int blending;
        int shadow;
        int gravitation;
    } cases[] = {{300, 255, 20, 50}, {-5, 0, 0, 1}, {0, 0, 0, 1}, {25, 25, 20, 25}, {80, 80, 20, 50}};
    for (const auto& c : cases) {
        TTeBlending b;
        b.SetValue(c.set);
        TTeShadow s;
        s.SetEnabled(true);
        s.SetSize(c.set);
        TTeGravitation g;
        g.SetSize(c.set);
        EXPECT_EQ(b.Value(), c.blending) << c.set;
        EXPECT_EQ(s.Size(), c.shadow) << c.set;
        EXPECT_EQ(s.Enabled(), c.shadow > 0) << "no size is no shadow: " << c.set;
        EXPECT_EQ(s.Extent(), s.Enabled() ? s.Size() : 0);
        EXPECT_EQ(g.Size(), c.gravitation) << c.set;
    }
    TTeAnimation a;
    a.SetDirection(kdNoRotate);
    EXPECT_EQ(a.Direction(), kdNone);
    a.SetDirection(kdRotate180);
    EXPECT_EQ(a.Direction(), kdRotate180);
}

TEST(FormOptionsTest, AnimationSettingsAreHeldToWhatTheEffectsRun) {
    struct Case {
        int set, time, resolution, tileCount;
    } cases[] = {
        {-5, 50, 1, 1},   {0, 50, 1, 1},        {1, 50, 1, 1},        {10, 50, 10, 10},
        {11, 50, 10, 11}, {20, 50, 10, 20},     {21, 50, 10, 20},     {50, 50, 10, 20},
        {51, 51, 10, 20}, {9000, 9000, 10, 20}, {9001, 9000, 10, 20},
    };
    for (const Case& c : cases) {
        TTeAnimation a;
        a.SetTime(c.set);
        a.SetResolution(c.set);
        a.SetTileCount(c.set);
        EXPECT_EQ(a.Time(), c.time) << c.set;
        EXPECT_EQ(a.Resolution(), c.resolution) << c.set;
        EXPECT_EQ(a.TileCount(), c.tileCount) << c.set;
        // What a copy carries (a popup menu takes its options this way) is in range too.
        TTeFormOptions options;
        options.SetAnimation(&a);
        EXPECT_EQ(options.Animation()->Time(), c.time) << c.set;
        EXPECT_EQ(options.Animation()->TileCount(), c.tileCount) << c.set;
    }
}

TEST(FormOptionsTest, FontOptionsAddStylesAndShiftTheSize) {
    TFont font;
    font.SetSize(9);
    font.SetStyle(TFontStyles{fsBold});
    TTeFontOptions o;
    o.SetSizeDelta(-2);
    o.SetItalic(true);
    o.ApplyOptions(&font);
    EXPECT_EQ(font.Size(), 7);
    EXPECT_TRUE(font.Style().Contains(fsBold)) << "an option never removes a style";
    EXPECT_TRUE(font.Style().Contains(fsItalic));
    o.ApplyOptions(nullptr);
}

TEST_F(FrameTest, AThemeChangeReadsTheCaptionFontsAndMetricsAgain) {
    MakeForm(false);
    const String face = CaptionFont->Name(), smallFace = SmCaptionFont->Name();
    const int size = CaptionFont->Size();
    const int caption = DefaultCaptionHeight, border = DefaultBorderWidth, button = DefaultButtonWidth;
    const TFont* before = CaptionFont;
    // What a change of the system's style leaves behind.
    CaptionFont->SetSize(size + 10);
    SmCaptionFont->SetName("Nothing");
    DefaultCaptionHeight = caption + 7;
    DefaultBorderWidth = border + 3;
    DefaultButtonWidth = button + 5;
    EXPECT_EQ(SendMessage(form_->Handle(), WM_THEMECHANGED, 0, 0), 0);
    EXPECT_NE(CaptionFont, before) << "the fonts are made anew";
    EXPECT_EQ(CaptionFont->Name(), face);
    EXPECT_EQ(CaptionFont->Size(), size);
    EXPECT_EQ(SmCaptionFont->Name(), smallFace);
    EXPECT_EQ(DefaultCaptionHeight, caption);
    EXPECT_EQ(DefaultBorderWidth, border);
    EXPECT_EQ(DefaultButtonWidth, button);
}

TEST_F(FrameTest, ACaptionTooLongForTheBandIsDrawnCutWithThreeDots) {
    const std::string full = "Battery modules working in parallel on one serial line";
    for (bool themed : {false, true}) {
        SCOPED_TRACE(themed ? "themed" : "classic");
        TTeDefaultForm* frame = MakeForm(
            themed, TTeBorderIcons{kbiClose, kbiSystemMenu, kbiMinimize, kbiMaximize}, TSize{260, 120});
        const int band = frame->GetClientBounds().top;
        auto drawnBand = [&](const std::string& caption) {
            frame->SetCaption(Utf8ToWide(caption));
            frame->InvalidateNow();
            ui_.RunUntilIdle();
            std::unique_ptr<Surface> pixels = ui_.Backend().WindowPixels(Window());
            std::vector<uint32_t> rows;
            for (int y = 0; y < band; ++y)
                for (int x = 0; x < pixels->Width(); ++x) rows.push_back(pixels->Pixel(x, y));
            return rows;
        };
        const std::vector<uint32_t> cut = drawnBand(full);
        // The band shows a shortened caption ending in "...", drawn as that
        // text is on its own: the shortest such text that looks the same is
        // the one drawn (longer ones are cut to it in turn), and it is the
        // longest that fits (one more letter is cut back to it).
        std::vector<size_t> matches;
        for (size_t k = 1; k < full.size(); ++k)
            if (drawnBand(full.substr(0, k) + "...") == cut) matches.push_back(k);
        ASSERT_GE(matches.size(), 2u);
        EXPECT_GT(matches[0], 8u) << "the room left by the buttons is used";
        EXPECT_EQ(matches[1], matches[0] + 1);
        // A caption that fits is drawn whole.
        EXPECT_NE(drawnBand("Tarvel"), drawnBand("Tarv..."));
        delete form_;
        form_ = nullptr;
    }
}

TEST_F(FrameTest, UnitStartMakesTheSixSystemMenuGlyphs) {
    ASSERT_NE(SysMenuImages, nullptr);
    EXPECT_EQ(SysMenuImages->Count(), 6);
    ASSERT_NE(CaptionFont, nullptr);
    EXPECT_GT(DefaultCaptionHeight, 0);
}

}  // namespace
}  // namespace tarvel::testing
