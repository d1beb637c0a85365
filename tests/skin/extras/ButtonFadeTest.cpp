// The push button's hover fade through the transition engine: the face
// blends on the test clock, and the button gives back only the slot it
// reserved.

#include <gtest/gtest.h>

#include "skin/controls/te_controls_button.h"
#include "skin/extras/te_effect.h"
#include "tests/skin/controls/RecordingThemeFixture.h"

namespace tarvel {
namespace {

using testing::TRecordingTheme;

class ButtonFadeTest : public testing::SkinControlsTest {
protected:
    void SetUp() override {
        SkinControlsTest::SetUp();
        InitEffects();
        UseRecordingTheme();
    }
    void TearDown() override {
        SkinControlsTest::TearDown();
        DoneEffects();
    }
    uint32_t Face(TteButtonDrawState s) { return testing::Rgb(TRecordingTheme::FaceColor(s)); }
    void Away() { MoveTo(form_, {390, 290}); }
};

TEST_F(ButtonFadeTest, EnteringFadesFromTheNormalToTheHotFaceInOneHundredMilliseconds) {
    TTeButton* b = Make<TTeButton>(20, 20);
    int events = 0;
    b->OnMouseEnter = [&](TObject*) { ++events; };
    Away();
    ASSERT_GE(b->ReservedSlot(), 0);
    MoveTo(b, {5, 5});
    EXPECT_EQ(b->RunningSlot(), b->ReservedSlot());
    EXPECT_TRUE(IsAnimating(b->RunningSlot()));
    ui_.AdvanceClock(40, 20);
    const uint32_t between = ShownAt(b, 30, 12);
    EXPECT_NE(between, Face(kbdsNormal));
    EXPECT_NE(between, Face(kbdsHot));
    ui_.AdvanceClock(100, 20);
    EXPECT_FALSE(IsAnimating(b->RunningSlot()));
    EXPECT_EQ(ShownAt(b, 30, 12), Face(kbdsHot));
    EXPECT_EQ(events, 0);
    // A press stops a fade under way.
    Away();
    EXPECT_TRUE(IsAnimating(b->RunningSlot()));
    Down(b, {5, 5});
    EXPECT_FALSE(IsAnimating(b->RunningSlot()));
    Up(b, {5, 5});
}

TEST_F(ButtonFadeTest, AButtonReleasesOnlyTheSlotItReserved) {
    DoneEffects();
    TTeButton* late = Make<TTeButton>(20, 20);  // made before the engine: no reservation
    InitEffects();
    EXPECT_EQ(late->ReservedSlot(), -1);
    MoveTo(late, {5, 5});
    Away();
    const int used = late->RunningSlot();
    ASSERT_GE(used, 0);
    ui_.AdvanceClock(200, 20);
    // Someone else reserves the slot the fade ran in; the button going must
    // not take that reservation away.
    const int theirs = ReserveIndex();
    ASSERT_EQ(theirs, used);
    delete late;
    EXPECT_NE(ReserveIndex(), theirs);

    TTeButton* owner = Make<TTeButton>(20, 60);
    const int reserved = owner->ReservedSlot();
    delete owner;
    EXPECT_EQ(ReserveIndex(), reserved);
}

}  // namespace
}  // namespace tarvel
