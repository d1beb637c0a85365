// The effect button and boxes on the test clock: the enter and leave
// cross-fades, a press cutting a transition short, the fall-backs, the
// slots, and the sound rules with a recording sound output.

#include "skin/extras/te_extra_effect_button.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>

#include "skin/extras/te_effect.h"
#include "tests/skin/controls/RecordingThemeFixture.h"
#include "tests/skin/extras/EffectSoundFixture.h"

namespace tarvel {
namespace {

using testing::TRecordingTheme;

class EffectButtonTest : public testing::SkinControlsTest {
protected:
    void SetUp() override {
        SkinControlsTest::SetUp();
        InitEffects();
        InitEffectControls();
        InitExtraWave();
        theme_ = UseRecordingTheme();
    }
    void TearDown() override {
        SkinControlsTest::TearDown();
        InitExtraWave();
        DoneEffectControls();
        DoneEffects();
    }
    uint32_t Face(TteButtonDrawState s) { return testing::Rgb(TRecordingTheme::FaceColor(s)); }
    void Away() { MoveTo(form_, {390, 290}); }
    TTeEffectButton* Button() {
        auto* b = Make<TTeEffectButton>(20, 20);
        b->SetBounds(20, 20, 85, 29);
        Away();
        return b;
    }

    TRecordingTheme* theme_ = nullptr;
};

TEST_F(EffectButtonTest, EnterAndLeaveCrossFadeInFourHundredMillisecondsAndAPressStopsIt) {
    TTeEffectButton* b = Button();
    int enters = 0, leaves = 0;
    b->OnMouseEnter = [&](TObject*) { ++enters; };
    b->OnMouseLeave = [&](TObject*) { ++leaves; };
    ASSERT_GE(b->ReservedSlot(), 0);
    EXPECT_EQ(b->Animation()->Time(), 400);
    EXPECT_EQ(b->Animation()->Resolution(), 10);

    struct Step {
        const char* what;
        std::function<void()> act;
        uint32_t advance;
        bool running;
        int shown;  // a face state, or -1 for a blend of two
    };
    const Step steps[] = {
        {"enter",
         [&] {
             MoveTo(b, {5, 5});
         },
         0, true, kbdsNormal},
        {"enter, half way", [] {}, 200, true, -1},
        {"enter, done", [] {}, 220, false, kbdsHot},
        {"leave", [&] { Away(); }, 100, true, -1},
        {"leave, done", [] {}, 320, false, kbdsNormal},
        {"enter again",
         [&] {
             MoveTo(b, {5, 5});
         },
         100, true, -1},
        {"press",
         [&] {
             Down(b, {5, 5});
         },
         0, false, kbdsPressed},
        {"release",
         [&] {
             Up(b, {5, 5});
         },
         0, false, kbdsHot},
    };
    for (const Step& s : steps) {
        SCOPED_TRACE(s.what);
        s.act();
        if (s.advance) ui_.AdvanceClock(s.advance, 20);
        EXPECT_EQ(IsAnimating(b->RunningSlot()), s.running);
        const uint32_t shown = ShownAt(b, 2, 2);
        if (s.shown < 0) {
            EXPECT_NE(shown, Face(kbdsNormal));
            EXPECT_NE(shown, Face(kbdsHot));
        } else {
            EXPECT_EQ(shown, Face(static_cast<TteButtonDrawState>(s.shown)));
        }
    }
    EXPECT_EQ(enters, 2);
    EXPECT_EQ(leaves, 1);
    EXPECT_EQ(b->RunningSlot(), b->ReservedSlot());
}

TEST_F(EffectButtonTest, WithoutATransitionTheNewFaceShowsAtOnce) {
    struct Case {
        const char* what;
        std::function<void(TTeEffectButton*)> set;
    };
    const Case cases[] = {
        {"animation off", [](TTeEffectButton* b) { b->Animation()->SetEnabled(false); }},
        {"unknown effect",
         [](TTeEffectButton* b) { b->Animation()->SetEffectMouseEnter("[ FADE ] - Nowhere"); }},
        {"shared animation off",
         [](TTeEffectButton*) {
             DefaultEffectOptions.Enabled = true;
             DefaultEffectOptions.Animation->SetEnabled(false);
         }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        TTeEffectButton* b = Button();
        b->SetFXEnabled(false);
        c.set(b);
        MoveTo(b, {5, 5});
        EXPECT_FALSE(IsAnimating(b->RunningSlot()));
        EXPECT_EQ(ShownAt(b, 2, 2), Face(kbdsHot));
        Away();
        delete b;
        DefaultEffectOptions.Enabled = false;
    }
}

TEST_F(EffectButtonTest, TheBoxesFadeTooAndAPressStopsTheFade) {
    auto* box = Make<TTeEffectCheckBox>(20, 80);
    box->SetBounds(20, 80, 120, 20);
    auto* radio = Make<TTeEffectRadioButton>(20, 120);
    radio->SetBounds(20, 120, 120, 20);
    Away();
    for (TTeCustomCheck* c : {static_cast<TTeCustomCheck*>(box), static_cast<TTeCustomCheck*>(radio)}) {
        SCOPED_TRACE(c->ClassName());
        theme_->Calls().clear();
        MoveTo(c, {5, 5});
        const int slot = c == box ? box->RunningSlot() : radio->RunningSlot();
        EXPECT_TRUE(IsAnimating(slot));
        // The old face was painted normal, the new one hot.
        const auto draws = theme_->CallsOf(c == box ? "CheckDraw" : "RadioDraw");
        ASSERT_GE(draws.size(), 2u);
        EXPECT_NE(draws[0].state, draws[1].state);
        Down(c, {5, 5});
        EXPECT_FALSE(IsAnimating(slot));
        EXPECT_TRUE(c->Pressed());
        Up(c, {5, 5});
        Away();
        ui_.AdvanceClock(500, 20);
    }
    EXPECT_TRUE(box->Checked());
    EXPECT_TRUE(radio->Checked());
}

TEST_F(EffectButtonTest, AControlGivesBackTheSlotsItReservedWhenItGoes) {
    TTeEffectButton* b = Button();
    const int mine = b->ReservedSlot(), base = b->TTeButton::ReservedSlot();
    ASSERT_NE(mine, base);
    MoveTo(b, {5, 5});
    Away();
    EXPECT_EQ(b->RunningSlot(), mine);
    delete b;  // mid-transition
    ui_.AdvanceClock(100, 20);
    EXPECT_FALSE(IsAnimating(mine));
    const int first = ReserveIndex(), second = ReserveIndex();
    EXPECT_EQ(std::min(first, second), std::min(mine, base));
    EXPECT_EQ(std::max(first, second), std::max(mine, base));
}

TEST_F(EffectButtonTest, SoundsFollowTheGlobalSwitchTheIgnoreOptionAndTheKindBit) {
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
        bool check;  // else the button
        bool on;
        bool ignore;
        bool kindBit;
        std::vector<int> played;  // enter, leave, click in turn
    };
    const Case cases[] = {
        {"button, switch off", false, false, false, true, {51}},
        {"button, switch on", false, true, false, true, {10, 11, 12}},
        {"button, ignoring", false, true, true, true, {51}},
        {"button, kind bit off", false, true, false, false, {11}},
        {"box, switch off", true, false, false, true, {51}},
        {"box, switch on", true, true, false, true, {10, 11, 12}},
        {"box, kind bit off", true, true, false, false, {11}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        DefaultSoundOptions.Enabled = c.on;
        const TTeSoundControl bit = c.check ? kscCheck : kscButton;
        DefaultSoundOptions.SoundControls = c.kindBit ? TTeSoundControls{bit} : TTeSoundControls{};
        TTeExtraSoundOptions options;
        if (c.ignore) options.Include(esoIgnoreGlobalOptions);
        TControl* control = nullptr;
        if (c.check) {
            auto* box = Make<TTeEffectCheckBox>(20, 80);
            box->SetWaveList(&own);
            box->SetWaveInIndex(0);
            box->SetWaveOutIndex(1);
            box->SetWaveClickIndex(2);
            box->SetSoundOptions(options);
            control = box;
        } else {
            auto* b = Button();
            b->SetWaveList(&own);
            b->SetWaveInIndex(0);
            b->SetWaveOutIndex(1);
            b->SetWaveClickIndex(2);
            b->SetSoundOptions(options);
            control = b;
        }
        sounds.Take();
        MoveTo(control, {5, 5});
        Away();
        // A click with the pointer already away: no enter or leave comes with it.
        auto* clickable = control;
        if (c.check) {
            clickable->Perform(WM_LBUTTONDOWN, 0, 0);
            clickable->Perform(WM_LBUTTONUP, 0, 0);
        } else {
            static_cast<TTeEffectButton*>(clickable)->Click();
        }
        EXPECT_EQ(sounds.Take(), c.played);
        delete control;
    }
}

TEST_F(EffectButtonTest, WaveIndexesFollowTheListTheyPointInto) {
    TTeEffectButton* b = Button();
    b->SetWaveInIndex(5);
    EXPECT_EQ(b->WaveInIndex(), -1);
    auto* list = new TTeExtraWaveList(form_);
    testing::FillTones(*list, 1, 3);
    b->SetWaveList(list);
    const std::pair<int, int> cases[] = {{5, 2}, {2, 2}, {1, 1}, {0, 0}, {-3, -1}};
    for (auto [set, read] : cases) {
        b->SetWaveInIndex(set);
        b->SetWaveClickIndex(set);
        EXPECT_EQ(b->WaveInIndex(), read) << set;
        EXPECT_EQ(b->WaveClickIndex(), read) << set;
    }
    b->SetWaveOutIndex(1);
    delete list;  // the button hears of it
    EXPECT_EQ(b->WaveList(), nullptr);
    EXPECT_EQ(b->WaveInIndex(), -1);
    EXPECT_EQ(b->WaveOutIndex(), -1);
    EXPECT_EQ(b->VersionExtra(), "2.0.6");
}

}  // namespace
}  // namespace tarvel
