// Skinned hints: bounds (wrapping, frame, shadow), the look without a
// theme, and the window shown after the application's pause inside the
// work area of the monitor under the pointer.

#include "skin/controls/te_controls_hint.h"

#include <gtest/gtest.h>

#include "RecordingThemeFixture.h"
#include "platform/classlib/Application.h"
#include "platform/classlib/ExtCtrls.h"
#include "platform/winsys/WindowApi.h"
#include "skin/controls/te_controls_init.h"
#include "skin/core/te_utils.h"
#include "skin/core/te_utils_draw.h"

namespace tarvel {
namespace {

using testing::SkinControlsTest;

class TeHintTest : public SkinControlsTest {
protected:
    void SetUp() override {
        SkinControlsTest::SetUp();
        InitControls();
        canvasBitmap_.SetSize(1, 1);
        canvasBitmap_.GetCanvas()->Font()->Assign(HintFont);
    }
    void TearDown() override {
        delete hint_;
        hint_ = nullptr;
        DoneControls();
        SkinControlsTest::TearDown();
    }
    TCanvas& Canvas() { return *canvasBitmap_.GetCanvas(); }
    TTeHint* hint_ = new TTeHint(nullptr);
    TteBitmap canvasBitmap_;
};

TEST_F(TeHintTest, BoundsWrapWithinAThousandPixelsAndGrowByTheFrameAndTheShadow) {
    const String word = "Word ";
    String longHint;
    for (int i = 0; i < 400; ++i) longHint += word;
    const TRect oneLine = hint_->GetHintBounds(Canvas(), "Word");
    const TRect wrapped = hint_->GetHintBounds(Canvas(), longHint);
    EXPECT_LE(wrapped.Width(), 1000 + 6);
    EXPECT_GT(wrapped.Width(), 900);
    EXPECT_GE(wrapped.Height(), 3 * (oneLine.Height() - 6));
    TRect text{0, 0, 1000, 1000};
    DrawText(Canvas(), u"Word", text, DT_CALCRECT);
    EXPECT_EQ(oneLine, (TRect{0, 0, text.Width() + 6, text.Height() + 6}));
    hint_->SetShadowEnabled(true);
    hint_->SetShadowSize(5);
    EXPECT_EQ(hint_->GetHintBounds(Canvas(), "Word"), (TRect{0, 0, text.Width() + 11, text.Height() + 11}));
}

// A hint element whose content lies 4, 3, 5 and 6 pixels inside its frame.
class THintTheme : public testing::TRecordingTheme {
    TARVEL_CLASS(THintTheme, testing::TRecordingTheme)

public:
    bool IsHintDefined(TteHintSubclass, const String&) override { return true; }
    TRect HintGetClientRect(TteHintSubclass, TCanvas&, const TteHintInfo& info, const String&) override {
        const TRect r = info.Rect;
        return TRect{r.left + 4, r.top + 3, r.right - 5, r.bottom - 6};
    }
    void HintDraw(TteHintSubclass, TCanvas&, const TteHintInfo& info, const String& obj) override {
        Calls().push_back({"HintDraw", 0, info.Rect, obj, {}, {}});
    }
};

TEST_F(TeHintTest, AThemedHintGrowsByTheFrameOfItsElementAndIsDrawnByIt) {
    auto* theme = new THintTheme();
    ChangeTheme(theme);
    TRect text{0, 0, 1000, 1000};
    DrawText(Canvas(), u"Word", text, DT_CALCRECT);
    EXPECT_EQ(hint_->GetHintBounds(Canvas(), "Word"), (TRect{0, 0, text.Width() + 9, text.Height() + 9}));
    hint_->SetShadowEnabled(true);
    hint_->SetShadowSize(4);
    EXPECT_EQ(hint_->GetHintBounds(Canvas(), "Word"), (TRect{0, 0, text.Width() + 13, text.Height() + 13}));

    TteBitmap picture;
    picture.SetSize(60, 20);
    theme->Calls().clear();
    hint_->PaintHint(*picture.GetCanvas(), TRect{0, 0, 60, 20}, "Word");
    const auto frames = theme->CallsOf("HintDraw");
    ASSERT_EQ(frames.size(), 1u);
    EXPECT_EQ(frames[0].rect, (TRect{0, 0, 60, 20}));
    EXPECT_EQ(frames[0].object, "default");
}

TEST_F(TeHintTest, WithoutAThemeTheHintIsTheHintColourInsideA3DEdge) {
    TteBitmap picture;
    picture.SetSize(60, 20);
    hint_->PaintHint(*picture.GetCanvas(), TRect{0, 0, 60, 20}, "");
    // The bitmap holds 0xRRGGBB, a colour 0xBBGGRR.
    auto rgb = [](TColor c) {
        const uint32_t v = ColorToRGB(c);
        return (v & 0xFF) << 16 | (v & 0xFF00) | (v >> 16 & 0xFF);
    };
    EXPECT_EQ(picture.GetPixel(0, 0) & 0xFFFFFF, rgb(cl3DLight));
    EXPECT_EQ(picture.GetPixel(59, 19) & 0xFFFFFF, rgb(cl3DDkShadow));
    EXPECT_EQ(picture.GetPixel(30, 10) & 0xFFFFFF, rgb(Application->HintColor));
}

TEST_F(TeHintTest, AHintRectangleIsMovedInsideTheWorkArea) {
    const TRect area{0, 0, 1024, 738};
    struct Case {
        TRect in, out;
    };
    const Case cases[] = {
        {{100, 100, 200, 120}, {100, 100, 200, 120}}, {{1000, 100, 1100, 120}, {924, 100, 1024, 120}},
        {{100, 730, 200, 750}, {100, 718, 200, 738}}, {{-30, -5, 70, 15}, {0, 0, 100, 20}},
        {{0, 0, 1100, 800}, {0, 0, 1100, 800}},  // too large: its top-left stays in view
    };
    for (const Case& c : cases) EXPECT_EQ(ClampHintRect(c.in, area), c.out) << RectToString(c.in);
}

TEST_F(TeHintTest, AnActiveHintShowsTheSkinnedWindowAfterThePauseInsideTheWorkArea) {
    hint_->SetActive(true);
    form_->SetBounds(700, 560, 320, 200);
    TPanel* target = Make<TPanel>(200, 120);
    target->SetBounds(200, 120, 110, 40);
    target->SetHint("A hint that is quite long and sits near the corner of the screen");
    target->SetShowHint(true);
    ui_.RunUntilIdle();
    MoveTo(target, {100, 35});
    ui_.AdvanceClock(static_cast<uint32_t>(Application->HintPause) - 50);
    THintWindow* w = Application->HintWindow();
    EXPECT_TRUE(!w || !w->Visible()) << "not before the pause";
    ui_.AdvanceClock(100);
    w = Application->HintWindow();
    ASSERT_NE(w, nullptr);
    EXPECT_TRUE(w->Is<TTeHintWindow>());
    EXPECT_TRUE(w->Visible());
    TRect work;
    SystemParametersInfo(SPI_GETWORKAREA, 0, &work, 0);
    EXPECT_LE(w->Left() + w->Width(), work.right);
    EXPECT_LE(w->Top() + w->Height(), work.bottom);
    EXPECT_EQ(w->Width(), hint_->GetHintBounds(Canvas(), target->Hint()).Width());

    // Gone with its component, the plain window comes back.
    delete std::exchange(hint_, nullptr);
    MoveTo(form_, {5, 5});
    MoveTo(target, {50, 20});
    ui_.AdvanceClock(static_cast<uint32_t>(Application->HintPause) + 50);
    ASSERT_NE(Application->HintWindow(), nullptr);
    EXPECT_FALSE(Application->HintWindow()->Is<TTeHintWindow>());
}

TEST_F(TeHintTest, AHintFadesInOverItsAnimationTime) {
    EXPECT_FALSE(hint_->Animation()->Enabled());
    EXPECT_EQ(hint_->Animation()->Time(), 400);
    EXPECT_FALSE(hint_->Blending()->Enabled());
    EXPECT_EQ(hint_->Blending()->Value(), 150);
    EXPECT_FALSE(hint_->Shadow()->Enabled());
    EXPECT_EQ(hint_->Shadow()->Size(), 4);
    struct Case {
        bool animate;
        int time;
        std::vector<uint8_t> steps;  // opacity at once, then after every 100 ms
    };
    const Case cases[] = {
        {false, 400, {255, 255}},
        {true, 400, {0, 63, 127, 191, 255, 255}},
        {true, 200, {0, 127, 255}},
    };
    hint_->SetActive(true);
    for (const Case& c : cases) {
        SCOPED_TRACE(::testing::Message() << c.animate << " " << c.time);
        hint_->Animation()->SetEnabled(c.animate);
        hint_->Animation()->SetTime(c.time);
        TTeHintWindow window(nullptr);
        window.ActivateHint(TRect{100, 100, 200, 130}, "Cell voltage");
        for (size_t i = 0; i < c.steps.size(); ++i) {
            if (i > 0) ui_.AdvanceClock(100, 20);
            EXPECT_NEAR(window.Opacity(), c.steps[i], 8) << "after " << i * 100 << " ms";
            uint8_t shown = 0;
            uint32_t key = 0;
            DWORD flags = 0;
            ASSERT_TRUE(GetLayeredWindowAttributes(window.Handle(), &key, &shown, &flags));
            EXPECT_EQ(shown, window.Opacity());
        }
        EXPECT_EQ(window.Opacity(), 255);
    }
}

TEST_F(TeHintTest, TheHintFormIsABorderlessFrameThatCarriesTheHintsLooks) {
    hint_->SetActive(true);
    hint_->Blending()->SetEnabled(true);
    hint_->Shadow()->SetEnabled(true);
    hint_->Animation()->SetEnabled(true);
    TTeHintWindow window(nullptr);
    TTeHintForm* frame = window.HintForm();
    ASSERT_NE(frame, nullptr);
    EXPECT_EQ(frame->Owner(), &window);
    EXPECT_EQ(frame->BorderStyle(), kbsNone);
    EXPECT_FALSE(frame->Dragging()->Sizeable);
    EXPECT_FALSE(frame->Dragging()->Moveable);
    EXPECT_EQ(frame->Performance(), qvfpDoubleBuffer);
    EXPECT_TRUE(frame->Active());
    window.ActivateHint(TRect{100, 100, 200, 130}, "Cell voltage");
    EXPECT_TRUE(frame->Blending()->Enabled());
    EXPECT_EQ(frame->Blending()->Value(), 150);
    EXPECT_TRUE(frame->Shadow()->Enabled());
    EXPECT_EQ(frame->Shadow()->Size(), 4);
    EXPECT_TRUE(frame->Animation()->Enabled());
    EXPECT_EQ(frame->Animation()->Time(), 400);
    // The shadow's room lies outside the form.
    EXPECT_EQ(frame->FormWidth(), 100 - 4);
    EXPECT_EQ(frame->FormHeight(), 30 - 4);
}

TEST_F(TeHintTest, AHintTextSetFromOutsideIsFittedAndTheWindowIsNeverBelowFiveByFive) {
    hint_->SetActive(true);
    TTeHintWindow window(nullptr);
    window.ActivateHint(TRect{100, 100, 200, 130}, "Cell voltage");
    // Shown text is sized by the caller; a text set later fits itself.
    EXPECT_EQ(window.Width(), 100);
    EXPECT_EQ(window.Height(), 30);
    for (const char16_t* text : {u"Another text", u"Pack voltage 51.2 V, current -3.4 A", u""}) {
        window.SetCaption(WideToUtf8(text));
        EXPECT_EQ(window.Width(), TextWidth(Canvas(), text) + 30);
        EXPECT_EQ(window.Height(), TextHeight(Canvas(), text) + 20);
    }
    window.SetBounds(100, 100, 2, 1);
    EXPECT_EQ(window.Width(), 5);
    EXPECT_EQ(window.Height(), 5);
    MINMAXINFO info;
    SendMessage(window.Handle(), WM_GETMINMAXINFO, 0, reinterpret_cast<LPARAM>(&info));
    EXPECT_EQ(info.ptMinTrackSize, (TPoint{5, 5}));
}

TEST_F(TeHintTest, TheHintFormPaintsTheHintOverTheWholeForm) {
    hint_->SetActive(true);
    TTeHintWindow window(nullptr);
    window.ActivateHint(TRect{100, 100, 180, 124}, "");
    ui_.RunUntilIdle();
    // The hint colour inside a 3-D edge, as the component paints it, in the window itself.
    auto rgb = [](TColor c) {
        const uint32_t v = ColorToRGB(c);
        return (v & 0xFF) << 16 | (v & 0xFF00) | (v >> 16 & 0xFF);
    };
    const auto screen = ui_.Backend().ScreenPixels();
    EXPECT_EQ(screen->Pixel(100, 100) & 0xFFFFFF, rgb(cl3DLight));
    EXPECT_EQ(screen->Pixel(179, 123) & 0xFFFFFF, rgb(cl3DDkShadow));
    EXPECT_EQ(screen->Pixel(140, 112) & 0xFFFFFF, rgb(Application->HintColor));
}

}  // namespace
}  // namespace tarvel
