// The composites with an effect part: the animation handed down at load, on
// a later change and from the shared options, the edit's button fading on
// hover, and the header control that only holds a slot.

#include "skin/extras/te_extra_effect_composites.h"

#include <gtest/gtest.h>

#include <functional>

#include "skin/extras/te_effect.h"
#include "tests/skin/controls/RecordingThemeFixture.h"

namespace tarvel {
namespace {

class EffectCompositesTest : public testing::SkinControlsTest {
protected:
    void SetUp() override {
        SkinControlsTest::SetUp();
        InitEffects();
        InitEffectControls();
    }
    void TearDown() override {
        SkinControlsTest::TearDown();
        DoneEffectControls();
        DoneEffects();
    }
    void Away() { MoveTo(form_, {390, 290}); }
};

TEST_F(EffectCompositesTest, TheEditHandsItsAnimationToItsButton) {
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
        TTeEffectEditButton* edit = nullptr;
        TTeAdvancedAnimation wanted;
        wanted.SetTime(800);
        wanted.SetEffectMouseEnter("[ FADE ] - SmoothDiagonalIn");
        if (c.loading) {
            TLoadingScope loading(&root);
            edit = new TTeEffectEditButton(&root);
            edit->Animation()->Assign(&wanted);
            // Nothing reaches the button before the load ends.
            EXPECT_EQ(edit->EffectButton()->Animation()->Time(), 400);
            loading.Finish();
        } else {
            edit = new TTeEffectEditButton(&root);
            edit->SetAnimation(&wanted);
        }
        EXPECT_EQ(edit->Animation()->Time(), 800);
        EXPECT_EQ(edit->EffectButton()->Animation()->Time(), c.buttonTime);
        EXPECT_EQ(edit->EffectButton()->Animation()->EffectMouseEnter(),
                  c.shared ? kFadeEffect : "[ FADE ] - SmoothDiagonalIn");
        edit->SetAnimation(nullptr);
        EXPECT_EQ(edit->Animation()->Time(), 800);
        DefaultEffectOptions.Enabled = false;
    }
}

TEST_F(EffectCompositesTest, TheEditsButtonFadesOnHoverWhileTheEditDoesNot) {
    auto* edit = Make<TTeEffectEditButton>(20, 20);
    edit->SetWidth(160);
    ui_.RunUntilIdle();
    Away();
    TTeEffectButton* b = edit->EffectButton();
    EXPECT_EQ(edit->VersionExtra(), kExtraVersion);
    MoveTo(b, {3, 3});
    EXPECT_TRUE(IsAnimating(b->RunningSlot()));
    EXPECT_TRUE(b->IsHot());
    ui_.AdvanceClock(420, 20);
    EXPECT_FALSE(IsAnimating(b->RunningSlot()));
    Away();
    EXPECT_TRUE(IsAnimating(b->RunningSlot()));
    ui_.AdvanceClock(420, 20);
    EXPECT_FALSE(IsAnimating(b->RunningSlot()));
}

TEST_F(EffectCompositesTest, TheHeaderHoldsASlotItNeverRunsAndGivesItBack) {
    auto* header = Make<TTeEffectHeaderControl>(10, 10);
    header->SetBounds(10, 10, 200, 20);
    header->Sections()->Add()->SetText(u"Cell");
    ui_.RunUntilIdle();
    Away();
    int events = 0;
    header->OnMouseEnter = [&](TObject*) { ++events; };
    header->OnMouseLeave = [&](TObject*) { ++events; };
    const int mine = header->ReservedSlot();
    ASSERT_GE(mine, 0);
    MoveTo(header, {5, 5});
    EXPECT_TRUE(header->IsHot());
    EXPECT_FALSE(IsAnimating(mine));
    Away();
    EXPECT_FALSE(header->IsHot());
    EXPECT_EQ(events, 2);
    TTeAdvancedAnimation wanted;
    wanted.SetTime(900);
    header->SetAnimation(&wanted);
    EXPECT_EQ(header->Animation()->Time(), 900);
    delete header;
    EXPECT_EQ(ReserveIndex(), mine);
}

TEST_F(EffectCompositesTest, TheHeaderListBoxCarriesAnEffectHeader) {
    auto* box = Make<TTeEffectHeaderListBox>(10, 10);
    ASSERT_NE(dynamic_cast<TTeEffectHeaderControl*>(box->HeaderControl()), nullptr);
    EXPECT_EQ(box->HeaderControl()->Sections()->Count(), 1);
    TTeAdvancedAnimation wanted;
    wanted.SetTime(900);
    box->SetAnimation(&wanted);
    box->SetAnimation(nullptr);
    EXPECT_EQ(box->Animation()->Time(), 900);
    const int slot = box->EffectHeader()->ReservedSlot();
    delete box;
    EXPECT_EQ(ReserveIndex(), slot);
}

}  // namespace
}  // namespace tarvel
