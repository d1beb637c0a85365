// The effect group box handing its animation to its caption check box, and
// the effect combo box's drop-down button cross-fading on the test clock as
// the pointer comes onto it, goes to the text or leaves the control, with
// the sounds it plays on the way.

#include "skin/extras/te_extra_effect_group.h"

#include <gtest/gtest.h>

#include <functional>

#include "skin/extras/te_effect.h"
#include "tests/skin/controls/EditFixture.h"
#include "tests/skin/extras/EffectSoundFixture.h"

namespace tarvel {
namespace {

using testing::TEditRecordingTheme;

class EffectGroupComboTest : public testing::EditTest {
protected:
    void SetUp() override {
        EditTest::SetUp();
        InitEffects();
        InitEffectControls();
        InitExtraWave();
    }
    void TearDown() override {
        EditTest::TearDown();
        InitExtraWave();
        DoneEffectControls();
        DoneEffects();
    }
    void Away() { MoveTo(form_, {390, 290}); }
    TTeEffectComboBox* Combo() {
        ChangeTheme(new TEditRecordingTheme());
        auto* combo = Make<TTeEffectComboBox>(20, 20, 140);
        combo->Items()->Add("one");
        Away();
        return combo;
    }
    TPoint OnButton(TTeComboBox* combo) {
        const TRect b = combo->GetButtonRect();
        return TPoint{b.left + 3, b.top + 3};
    }
    uint32_t Button(TTeComboBox* combo) {
        const TPoint p = OnButton(combo);
        return ShownAt(combo, p.x + 2, p.y + 2);
    }
    static uint32_t State(TteEditButtonDrawState s) {
        return testing::Rgb(TEditRecordingTheme::StateColor(s));
    }
};

TEST_F(EffectGroupComboTest, TheButtonFadesOnEnterAndOnLeavingToTheTextOrOutOfTheControl) {
    TTeEffectComboBox* combo = Combo();
    testing::SoundRecorder sounds;
    TTeExtraWaveList global(form_);
    testing::FillTones(global, 10, 3);  // enter 10, leave 11, click 12
    DefaultSoundOptions.WaveInIndex = 0;
    DefaultSoundOptions.WaveOutIndex = 1;
    DefaultSoundOptions.WaveClickIndex = 2;
    DefaultSoundOptions.Enabled = true;

    struct Step {
        const char* what;
        std::function<void()> act;
        uint32_t advance;
        bool running;
        bool hot;
        int shown;  // a button state, or -1 for a blend of normal and hot
        std::vector<int> played;
    };
    const Step steps[] = {
        {"onto the button", [&] { MoveTo(combo, OnButton(combo)); }, 0, true, true, kebdsNormal, {}},
        {"half way", [] {}, 200, true, true, -1, {}},
        {"done", [] {}, 220, false, true, kebdsHot, {}},
        {"to the text",
         [&] {
             MoveTo(combo, {5, 5});
         },
         100,
         true,
         false,
         -1,
         {10}},
        {"to the text, done", [] {}, 320, false, false, kebdsNormal, {}},
        {"onto the button again", [&] { MoveTo(combo, OnButton(combo)); }, 420, false, true, kebdsHot, {}},
        {"straight out", [&] { Away(); }, 100, true, false, -1, {10}},
        {"out, done", [] {}, 320, false, false, kebdsNormal, {}},
        {"onto the button, out half way",
         [&] {
             MoveTo(combo, OnButton(combo));
             ui_.AdvanceClock(100, 20);
             Away();
         },
         420,
         false,
         false,
         kebdsNormal,
         {10}},
    };
    for (const Step& s : steps) {
        SCOPED_TRACE(s.what);
        sounds.Take();
        s.act();

        if (s.advance) ui_.AdvanceClock(s.advance, 20);
        EXPECT_EQ(IsAnimating(combo->RunningSlot()), s.running);
        EXPECT_EQ(combo->ButtonHot(), s.hot);
        const uint32_t shown = Button(combo);
        if (s.shown < 0) {
            EXPECT_NE(shown, State(kebdsNormal));
            EXPECT_NE(shown, State(kebdsHot));
        } else {
            EXPECT_EQ(shown, State(static_cast<TteEditButtonDrawState>(s.shown)));
        }
        EXPECT_EQ(sounds.Take(), s.played);
    }
    EXPECT_EQ(combo->RunningSlot(), combo->ReservedSlot());
    combo->ButtonClick();
    combo->ButtonClick();
    EXPECT_EQ(sounds.Take(), (std::vector<int>{12, 12}));
    DefaultSoundOptions.SoundControls = {kscCheck};
    combo->ButtonClick();
    combo->ButtonClick();
    EXPECT_EQ(sounds.Take(), std::vector<int>{});
}

TEST_F(EffectGroupComboTest, WithoutTheAnimationTheButtonChangesAtOnceAsTheBaseDoes) {
    const std::function<void(TTeEffectComboBox*)> cases[] = {
        [](TTeEffectComboBox* c) { c->Animation()->SetEnabled(false); },
        [](TTeEffectComboBox* c) { c->SetEnabled(false); },
    };
    for (const auto& off : cases) {
        TTeEffectComboBox* combo = Combo();
        off(combo);
        MoveTo(combo, OnButton(combo));
        EXPECT_FALSE(IsAnimating(combo->RunningSlot()));
        EXPECT_EQ(combo->ButtonHot(), combo->Enabled());
        EXPECT_EQ(Button(combo), State(combo->Enabled() ? kebdsHot : kebdsDisabled));
        Away();
        EXPECT_FALSE(combo->ButtonHot());
        EXPECT_EQ(Button(combo), State(combo->Enabled() ? kebdsNormal : kebdsDisabled));
        delete combo;
    }
}

TEST_F(EffectGroupComboTest, TheGroupBoxHandsItsAnimationToTheCaptionCheckBoxOnly) {
    auto* group = Make<TTeEffectGroupBox>(20, 60, 200);
    EXPECT_EQ(group->Animation()->Resolution(), 10);
    EXPECT_EQ(group->VersionExtra(), "2.0.6");
    TTeAdvancedAnimation slow;
    slow.SetTime(800);
    group->SetAnimation(&slow);
    group->SetAnimation(nullptr);
    EXPECT_EQ(group->CheckBox(), nullptr);
    EXPECT_EQ(group->Animation()->Time(), 800);

    group->SetUseCheckBox(true);
    auto* box = dynamic_cast<TTeEffectCheckBox*>(group->CheckBox());
    ASSERT_NE(box, nullptr);
    EXPECT_EQ(box->Animation()->Time(), 800);

    struct Case {
        const char* what;
        bool shared;
        int own;
        int handed;
    };
    const Case cases[] = {{"own", false, 1200, 1200}, {"shared switch on", true, 600, 2000}};
    DefaultEffectOptions.Animation->SetTime(2000);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        DefaultEffectOptions.Enabled = c.shared;
        TTeAdvancedAnimation value;
        value.SetTime(c.own);
        group->SetAnimation(&value);
        EXPECT_EQ(group->Animation()->Time(), c.own);
        EXPECT_EQ(box->Animation()->Time(), c.handed);
    }
    DefaultEffectOptions.Enabled = false;
}

}  // namespace
}  // namespace tarvel
