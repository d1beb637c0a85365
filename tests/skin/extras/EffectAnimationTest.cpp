// The effect controls' animation settings: the record they wrap, the hover
// time limit, the direction mapping, and what each kind of Assign copies.

#include <gtest/gtest.h>

#include "skin/extras/te_extra_effect_controls.h"

namespace tarvel {
namespace {

TEST(EffectAnimationTest, TimesAreHeldToTheirRange) {
    struct Case {
        int given;
        int plain;
        int advanced;
    };
    const Case cases[] = {
        {10, 50, 50}, {400, 400, 400}, {3000, 3000, 3000}, {5000, 5000, 3000}, {20000, 9000, 3000}};
    for (const Case& c : cases) {
        TTeExtAnimation plain;
        TTeAdvancedAnimation advanced;
        plain.SetTime(c.given);
        advanced.SetTime(c.given);
        EXPECT_EQ(plain.Time(), c.plain) << c.given;
        EXPECT_EQ(advanced.Time(), c.advanced) << c.given;
        EXPECT_EQ(advanced.Record()->Time(), c.advanced) << "the engine reads the record";
    }
    TTeAdvancedAnimation a;
    a.SetResolution(0);
    a.SetTileCount(50);
    EXPECT_EQ(a.Resolution(), 1);
    EXPECT_EQ(a.TileCount(), 20);
    EXPECT_EQ(a.Time(), 400);
    EXPECT_FALSE(a.Enabled());
    EXPECT_EQ(a.EffectMouseEnter(), "[ FADE ] - Fade");
    EXPECT_EQ(a.EffectMouseLeave(), "[ FADE ] - Fade");
}

TEST(EffectAnimationTest, DirectionsTurnTheRecordAndNoRotateReadsBackAsNone) {
    const struct {
        TTeDirection set;
        TteRotation rotation;
        TTeDirection read;
    } cases[] = {{kdNone, krNone, kdNone},
                 {kdNoRotate, krNone, kdNone},
                 {kdRotate90, krRotate90, kdRotate90},
                 {kdRotate180, krRotate180, kdRotate180},
                 {kdRotate270, krRotate270, kdRotate270}};
    for (const auto& c : cases) {
        TTeExtAnimation a;
        a.SetDirection(kdRotate90);
        a.SetDirection(c.set);
        EXPECT_EQ(a.Record()->Rotation(), c.rotation) << c.set;
        EXPECT_EQ(a.Direction(), c.read) << c.set;
    }
}

TEST(EffectAnimationTest, AssignCopiesTheRecordAndOnlyAnAdvancedOneItsEffectNames) {
    TBitmap pattern;
    pattern.SetSize(3, 2);
    TTeAdvancedAnimation from;
    from.SetEffectMouseEnter("[ FADE ] - Pixel");
    from.SetEffectMouseLeave("[ SLIDE ] - Corner");
    from.SetEffect("[ MANUAL ] - Push");
    from.SetTime(900);
    from.SetResolution(7);
    from.SetTileCount(3);
    from.SetDirection(kdRotate180);
    from.SetEnabled(true);
    from.SetBitmap(&pattern);

    TTeAdvancedAnimation to;
    to.Assign(&from);
    EXPECT_EQ(to.EffectMouseEnter(), "[ FADE ] - Pixel");
    EXPECT_EQ(to.EffectMouseLeave(), "[ SLIDE ] - Corner");
    EXPECT_EQ(to.GetEffect(), "[ MANUAL ] - Push");
    EXPECT_EQ(to.Time(), 900);
    EXPECT_EQ(to.Resolution(), 7);
    EXPECT_EQ(to.TileCount(), 3);
    EXPECT_EQ(to.Direction(), kdRotate180);
    EXPECT_TRUE(to.Enabled());
    EXPECT_EQ(to.Bitmap()->Width(), 3);
    EXPECT_NE(to.Bitmap(), from.Bitmap());

    // A plain animation carries no effect names: the target keeps its own.
    TTeExtAnimation plain;
    plain.SetTime(7000);
    TTeAdvancedAnimation keeps;
    keeps.SetEffectMouseEnter("[ FADE ] - Plasma");
    keeps.Assign(&plain);
    EXPECT_EQ(keeps.EffectMouseEnter(), "[ FADE ] - Plasma");
    EXPECT_EQ(keeps.EffectMouseLeave(), "[ FADE ] - Fade");
    // The record is copied as it stands, past the hover limit.
    EXPECT_EQ(keeps.Time(), 7000);

    // Anything else is refused as the base class refuses it.
    TBitmap stranger;
    EXPECT_ANY_THROW(keeps.Assign(&stranger));
}

TEST(EffectAnimationTest, TheSharedAnimationLivesFromTheStartToTheEndWithTheSwitchOff) {
    InitEffectControls();
    ASSERT_NE(DefaultEffectOptions.Animation, nullptr);
    EXPECT_FALSE(DefaultEffectOptions.Enabled);
    TTeAdvancedAnimation* shared = DefaultEffectOptions.Animation;
    InitEffectControls();
    EXPECT_EQ(DefaultEffectOptions.Animation, shared);
    DoneEffectControls();
    EXPECT_EQ(DefaultEffectOptions.Animation, nullptr);
    DoneEffectControls();
}

}  // namespace
}  // namespace tarvel
