// The edits whose embedded parts are effect controls: the animation handed
// down at load, on a later change and from the shared options; the button
// and the spin arrows fading on hover while the edit does not; a press on an
// arrow cutting the fade short and still stepping the value.

#include "skin/extras/te_extra_effect_edits.h"

#include <gtest/gtest.h>

#include "tests/skin/extras/EffectControlsFixture.h"

namespace tarvel {
namespace {

class EffectEditsTest : public testing::EffectControlsTest {};

template <class Edit>
class EffectButtonEditTest : public EffectEditsTest {};

using ButtonEdits = ::testing::Types<TTeEffectEditButton, TTeEffectFilenameEdit, TTeEffectDirectoryEdit>;
TYPED_TEST_SUITE(EffectButtonEditTest, ButtonEdits);

TYPED_TEST(EffectButtonEditTest, TheEditHandsItsAnimationToItsButton) {
    struct Case {
        const char* what;
        bool loading;    // the time set while read from a form
        bool shared;     // the shared animation switched on, at 1500 ms
        int buttonTime;  // what the button holds after
    };
    const Case cases[] = {
        {"set in code", false, false, 800},
        {"read from a form", true, false, 800},
        {"set with the shared animation on", false, true, 1500},
        {"read with the shared animation on", true, true, 1500},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        DefaultEffectOptions.Enabled = c.shared;
        DefaultEffectOptions.Animation->SetTime(1500);
        TComponent root(nullptr);
        TypeParam* edit = nullptr;
        TTeAdvancedAnimation wanted;
        wanted.SetTime(800);
        wanted.SetEffectMouseEnter("[ FADE ] - SmoothDiagonalIn");
        if (c.loading) {
            TLoadingScope loading(&root);
            edit = new TypeParam(&root);
            edit->Animation()->Assign(&wanted);
            // Nothing reaches the button before the load ends.
            EXPECT_EQ(edit->EffectButton()->Animation()->Time(), 400);
            loading.Finish();
        } else {
            edit = new TypeParam(&root);
            edit->SetAnimation(&wanted);
        }
        EXPECT_EQ(edit->Animation()->Time(), 800);
        EXPECT_EQ(edit->EffectButton()->Animation()->Time(), c.buttonTime);
        EXPECT_EQ(edit->EffectButton()->Animation()->EffectMouseEnter(),
                  c.shared ? kFadeEffect : "[ FADE ] - SmoothDiagonalIn");
        edit->SetAnimation(nullptr);
        EXPECT_EQ(edit->Animation()->Time(), 800);
        EXPECT_EQ(edit->VersionExtra(), kExtraVersion);
        DefaultEffectOptions.Enabled = false;
    }
}

TYPED_TEST(EffectButtonEditTest, TheButtonFadesOnHoverWhileTheEditDoesNot) {
    auto* edit = this->template Make<TypeParam>(20, 20);
    edit->SetWidth(160);
    this->ui_.RunUntilIdle();
    this->Away();
    TTeEffectButton* b = edit->EffectButton();
    this->MoveTo(b, {3, 3});
    EXPECT_TRUE(IsAnimating(b->RunningSlot()));
    EXPECT_TRUE(b->IsHot());
    this->ui_.AdvanceClock(420, 20);
    EXPECT_FALSE(IsAnimating(b->RunningSlot()));
    this->Away();
    EXPECT_TRUE(IsAnimating(b->RunningSlot()));
    this->ui_.AdvanceClock(420, 20);
    EXPECT_FALSE(IsAnimating(b->RunningSlot()));
}

TEST_F(EffectEditsTest, TheSpinEditsAnimationReachesItsSpinButtonButNotTheArrows) {
    TComponent root(nullptr);
    auto* edit = new TTeEffectSpinEdit(&root);
    TTeEffectSpinButton* spin = edit->EffectSpinButton();
    ASSERT_NE(spin, nullptr);
    TTeAdvancedAnimation wanted;
    wanted.SetTime(800);
    edit->SetAnimation(&wanted);
    edit->SetAnimation(nullptr);
    EXPECT_EQ(edit->Animation()->Time(), 800);
    EXPECT_EQ(spin->Animation()->Time(), 800);
    for (bool up : {true, false}) EXPECT_EQ(spin->EffectArrow(up)->Animation()->Time(), 400) << up;
    // The spin button's own setter hands it to both arrows.
    wanted.SetTime(900);
    spin->SetAnimation(&wanted);
    for (bool up : {true, false}) EXPECT_EQ(spin->EffectArrow(up)->Animation()->Time(), 900) << up;
}

TEST_F(EffectEditsTest, ASpinButtonReadFromAFormHandsItsAnimationToTheArrowsWhenTheLoadEnds) {
    TComponent root(nullptr);
    TLoadingScope loading(&root);
    auto* spin = new TTeEffectSpinButton(&root);
    spin->Animation()->SetTime(800);
    EXPECT_EQ(spin->EffectArrow(true)->Animation()->Time(), 400);
    loading.Finish();
    for (bool up : {true, false}) EXPECT_EQ(spin->EffectArrow(up)->Animation()->Time(), 800) << up;
}

TEST_F(EffectEditsTest, TheArrowsFadeOnHoverAndAPressStopsTheFadeAndStepsTheValue) {
    auto* edit = Make<TTeEffectSpinEdit>(20, 20);
    edit->SetBounds(20, 20, 120, 24);
    ui_.RunUntilIdle();
    Away();
    for (bool up : {true, false}) {
        SCOPED_TRACE(up ? "up" : "down");
        TTeEffectSpinArrow* arrow = edit->EffectSpinButton()->EffectArrow(up);
        const int before = edit->AsInteger();
        struct Step {
            const char* what;
            int act;  // 0 enter, 1 press, 2 release, 3 leave
            uint32_t advance;
            bool running;
            bool hot;
        };
        const Step steps[] = {
            {"enter", 0, 0, true, true},    {"half way", -1, 200, true, true},
            {"press", 1, 0, false, true},   {"release", 2, 0, false, true},
            {"leave", 3, 100, true, false}, {"left", -1, 320, false, false},
        };
        for (const Step& s : steps) {
            SCOPED_TRACE(s.what);
            if (s.act == 0) MoveTo(arrow, {3, 3});
            if (s.act == 1) Down(arrow, {3, 3});
            if (s.act == 2) Up(arrow, {3, 3});
            if (s.act == 3) Away();
            if (s.advance) ui_.AdvanceClock(s.advance, 20);
            EXPECT_EQ(IsAnimating(arrow->RunningSlot()), s.running);
            EXPECT_EQ(arrow->IsHot(), s.hot);
        }
        EXPECT_EQ(edit->AsInteger(), before + (up ? 1 : -1));
        EXPECT_EQ(arrow->RunningSlot(), arrow->ReservedSlot());
    }
}

}  // namespace
}  // namespace tarvel
