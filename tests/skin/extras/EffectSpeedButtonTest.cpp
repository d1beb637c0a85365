// The effect speed button on the test clock: the cross-fade over the
// form's background on enter and leave, a press cutting it short, the kind
// table, the modal result handed to the form, and the sound rules.

#include "skin/extras/te_extra_effect_speedbutton.h"

#include <gtest/gtest.h>

#include <functional>

#include "platform/classlib/Components.h"
#include "skin/extras/te_effect.h"
#include "tests/skin/controls/RecordingThemeFixture.h"
#include "tests/skin/extras/EffectSoundFixture.h"

namespace tarvel {
namespace {

class EffectSpeedButtonTest : public testing::SkinControlsTest {
protected:
    void SetUp() override {
        SkinControlsTest::SetUp();
        InitEffects();
        InitEffectControls();
        InitExtraWave();
    }
    void TearDown() override {
        SkinControlsTest::TearDown();
        InitExtraWave();
        DoneEffectControls();
        DoneEffects();
    }
    void Away() { MoveTo(form_, {390, 290}); }
    TTeEffectSpeedButton* Button(TWinControl* parent = nullptr) {
        auto* b = new TTeEffectSpeedButton(form_);
        b->SetParent(parent ? parent : form_);
        b->SetBounds(20, 20, 60, 24);
        b->SetCaption(u"Go");
        Away();
        return b;
    }
};

TEST_F(EffectSpeedButtonTest, EnterAndLeaveCrossFadeOverTheFormAndAPressStopsIt) {
    TTeEffectSpeedButton* b = Button();
    // The two faces, shown at once with the animation off.
    b->Animation()->SetEnabled(false);
    // The flat face's shadow edge shows only while hot.
    const int x = b->Width() - 1, y = b->Height() - 1;
    const uint32_t normal = ShownAt(b, x, y);
    MoveTo(b, {5, 5});
    const uint32_t hot = ShownAt(b, x, y);
    Away();
    ASSERT_NE(normal, hot);
    b->Animation()->SetEnabled(true);

    int enters = 0, leaves = 0;
    b->OnMouseEnter = [&](TObject*) { ++enters; };
    b->OnMouseLeave = [&](TObject*) { ++leaves; };
    struct Step {
        const char* what;
        std::function<void()> act;
        uint32_t advance;
        bool running;
        bool hotFlag;
        int shown;  // 0 normal, 1 hot, -1 a blend of the two
    };
    const Step steps[] = {
        {"enter",
         [&] {
             MoveTo(b, {5, 5});
         },
         0, true, true, 0},
        {"enter, half way", [] {}, 200, true, true, -1},
        {"enter, done", [] {}, 220, false, true, 1},
        {"leave", [&] { Away(); }, 100, true, false, -1},
        {"leave, done", [] {}, 320, false, false, 0},
        {"enter again",
         [&] {
             MoveTo(b, {5, 5});
         },
         100, true, true, -1},
        {"press",
         [&] {
             Down(b, {5, 5});
         },
         0, false, true, -2},
        {"release",
         [&] {
             Up(b, {5, 5});
         },
         0, false, true, 1},
    };
    for (const Step& s : steps) {
        SCOPED_TRACE(s.what);
        s.act();
        if (s.advance) ui_.AdvanceClock(s.advance, 20);
        EXPECT_EQ(IsAnimating(b->RunningSlot()), s.running);
        EXPECT_EQ(b->IsHot(), s.hotFlag);
        const uint32_t shown = ShownAt(b, x, y);
        if (s.shown == -1) {
            EXPECT_NE(shown, normal);
            EXPECT_NE(shown, hot);
        } else if (s.shown >= 0) {
            EXPECT_EQ(shown, s.shown ? hot : normal);
        }
    }
    EXPECT_EQ(enters, 2);
    EXPECT_EQ(leaves, 1);
    EXPECT_EQ(b->RunningSlot(), b->ReservedSlot());
}

TEST_F(EffectSpeedButtonTest, TheFadeStartsFromTheParentsBackgroundBehindTheButton) {
    auto* panel = new TTeControl(form_);
    panel->SetParent(form_);
    panel->SetBounds(0, 0, 200, 100);
    panel->SetColor(clNavy);
    TTeEffectSpeedButton* b = Button(panel);
    b->SetTransparent(true);
    ui_.RunUntilIdle();
    const uint32_t before = ShownAt(b, 0, 0);
    ASSERT_EQ(before, testing::Rgb(clNavy));
    MoveTo(b, {5, 5});
    ASSERT_TRUE(IsAnimating(b->RunningSlot()));
    // The first frame is the old face, parent's colour and all.
    EXPECT_EQ(ShownAt(b, 0, 0), before);
    Away();
    ui_.AdvanceClock(500, 20);
    EXPECT_EQ(ShownAt(b, 0, 0), before);
}

TEST_F(EffectSpeedButtonTest, AKindGivesItsCaptionModalResultAndGlyphAndCustomKeepsThem) {
    struct Case {
        TBitBtnKind kind;
        const char16_t* caption;
        TModalResult result;
    };
    const Case cases[] = {{bkOK, u"OK", mrOk},
                          {bkCancel, u"Cancel", mrCancel},
                          {bkHelp, u"&Help", mrNone},
                          {bkYes, u"&Yes", mrYes},
                          {bkNo, u"&No", mrNo},
                          {bkClose, u"&Close", mrNone},
                          {bkAbort, u"Abort", mrAbort},
                          {bkRetry, u"&Retry", mrRetry},
                          {bkIgnore, u"&Ignore", mrIgnore},
                          {bkAll, u"&All", mrAll}};
    for (const Case& c : cases) {
        SCOPED_TRACE(static_cast<int>(c.kind));
        TTeEffectSpeedButton b(nullptr);
        b.SetCaption(u"Mine");
        b.SetModalResult(99);
        b.SetKind(c.kind);
        EXPECT_EQ(b.Kind(), c.kind);
        EXPECT_EQ(b.GetCaption(), c.caption);
        EXPECT_EQ(b.ModalResult(), c.result);
        EXPECT_EQ(b.NumGlyphs(), 2);
        EXPECT_EQ(b.Glyph()->Width(), 32);
        b.SetKind(bkCustom);
        EXPECT_EQ(b.Kind(), bkCustom);
        EXPECT_EQ(b.GetCaption(), c.caption);
        EXPECT_EQ(b.ModalResult(), c.result);
        EXPECT_EQ(b.NumGlyphs(), 2);
    }
    TTeEffectSpeedButton loaded(nullptr);
    loaded.SetCaption(u"Proceed");
    {
        TLoadingScope loading(&loaded);
        loaded.SetKind(bkYes);
        loading.Finish();
    }
    EXPECT_EQ(loaded.GetCaption(), u"Proceed");
    EXPECT_EQ(loaded.ModalResult(), mrYes);
}

TEST_F(EffectSpeedButtonTest, AClickHandsTheModalResultToTheFormAndEndsAModalLoop) {
    TTeEffectSpeedButton* b = Button();
    form_->SetModalResult(mrOk);
    b->Click();  // 0 too
    EXPECT_EQ(form_->ModalResult(), mrNone);

    auto* dialog = new TForm(Application);
    dialog->SetBounds(60, 60, 200, 100);
    auto* cancel = new TTeEffectSpeedButton(dialog);
    cancel->SetParent(dialog);
    cancel->SetBounds(10, 10, 60, 24);
    cancel->SetKind(bkCancel);
    int clicks = 0;
    cancel->OnClick = [&](TObject*) { ++clicks; };
    ui_.WhenModal([&] {
        Down(cancel, {5, 5});
        Up(cancel, {5, 5});
    });
    EXPECT_EQ(dialog->ShowModal(), mrCancel);
    EXPECT_EQ(clicks, 1);
    delete dialog;
}

TEST_F(EffectSpeedButtonTest, SoundsTakeTheSpeedButtonBitAndTheLeaveAlwaysPlays) {
    testing::SoundRecorder sounds;
    TTeExtraWaveList global(form_);
    testing::FillTones(global, 10, 3);  // enter 10, leave 11, click 12
    TTeExtraWaveList own(form_);
    testing::FillTones(own, 50, 3);
    DefaultSoundOptions.WaveInIndex = 0;
    DefaultSoundOptions.WaveOutIndex = 1;
    DefaultSoundOptions.WaveClickIndex = 2;
    struct Case {
        const char* what;
        bool on;
        TTeSoundControls kinds;
        std::vector<int> played;  // enter, leave, click in turn
    };
    const Case cases[] = {
        {"switch off", false, {kscSpeedButton}, {51}},
        {"switch on, speed button bit", true, {kscSpeedButton}, {10, 11, 12}},
        {"switch on, push button bit only", true, {kscButton}, {11}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        DefaultSoundOptions.Enabled = c.on;
        DefaultSoundOptions.SoundControls = c.kinds;
        TTeEffectSpeedButton* b = Button();
        b->SetWaveList(&own);
        b->SetWaveInIndex(0);
        b->SetWaveOutIndex(1);
        b->SetWaveClickIndex(2);
        sounds.Take();
        MoveTo(b, {5, 5});
        Away();
        b->Click();
        EXPECT_EQ(sounds.Take(), c.played);
        delete b;
    }
}

}  // namespace
}  // namespace tarvel
