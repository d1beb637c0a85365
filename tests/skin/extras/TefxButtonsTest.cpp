// The hover-animated buttons and boxes on the test clock: the soft wipe on
// enter and leave without hover events, a press cutting it short, the
// fall-backs to the base, the time limits and the slots they give back.

#include "skin/extras/tefx_buttons.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>

#include "tests/skin/controls/RecordingThemeFixture.h"

namespace tarvel {
namespace {

using testing::TRecordingTheme;

class TefxButtonsTest : public testing::SkinControlsTest {
protected:
    void SetUp() override {
        SkinControlsTest::SetUp();
        InitEffects();
        theme_ = UseRecordingTheme();
    }
    void TearDown() override {
        SkinControlsTest::TearDown();
        DoneEffects();
    }
    uint32_t Face(TteButtonDrawState s) { return testing::Rgb(TRecordingTheme::FaceColor(s)); }
    void Away() { MoveTo(form_, {390, 290}); }
    TtefxButton* Button() {
        auto* b = Make<TtefxButton>(20, 20);
        b->SetBounds(20, 20, 85, 29);
        // The base's own fade stays out of the way of the wipe under test.
        b->TTeButton::SetFXEnabled(false);
        Away();
        return b;
    }

    TRecordingTheme* theme_ = nullptr;
};

TEST_F(TefxButtonsTest, EnterAndLeaveWipeInTheSetTimeWithoutEventsAndAPressStopsIt) {
    TtefxButton* b = Button();
    EXPECT_EQ(b->FXTime(), 100);
    EXPECT_EQ(b->FXMouseEnter(), kFxEnterEffect);
    EXPECT_EQ(b->FXMouseLeave(), kFxLeaveEffect);
    ASSERT_GE(b->ReservedSlot(), 0);
    int events = 0;
    b->OnMouseEnter = [&](TObject*) { ++events; };
    b->OnMouseLeave = [&](TObject*) { ++events; };

    struct Step {
        const char* what;
        std::function<void()> act;
        uint32_t advance;
        bool running;
        bool hot;
        int shown;  // a face state, or -1 for not looked at mid-wipe
    };
    const Step steps[] = {
        {"enter",
         [&] {
             MoveTo(b, {5, 5});
         },
         0, true, true, kbdsNormal},
        {"enter, half way", [] {}, 40, true, true, -1},
        {"enter, done", [] {}, 80, false, true, kbdsHot},
        {"leave", [&] { Away(); }, 0, true, false, kbdsHot},
        {"leave, done", [] {}, 120, false, false, kbdsNormal},
        {"enter again",
         [&] {
             MoveTo(b, {5, 5});
         },
         40, true, true, -1},
        {"press",
         [&] {
             Down(b, {5, 5});
         },
         0, false, true, kbdsPressed},
        {"release",
         [&] {
             Up(b, {5, 5});
         },
         0, false, true, kbdsHot},
    };
    for (const Step& s : steps) {
        SCOPED_TRACE(s.what);
        s.act();
        if (s.advance) ui_.AdvanceClock(s.advance, 20);
        EXPECT_EQ(IsAnimating(b->RunningSlot()), s.running);
        EXPECT_EQ(b->IsHot(), s.hot);
        if (s.shown >= 0) {
            EXPECT_EQ(ShownAt(b, 2, 2), Face(static_cast<TteButtonDrawState>(s.shown)));
        }
    }
    EXPECT_EQ(events, 0);
    EXPECT_EQ(b->RunningSlot(), b->ReservedSlot());
}

TEST_F(TefxButtonsTest, TheLongerTimeHoldsTheWipeLonger) {
    TtefxButton* b = Button();
    b->SetFXTime(600);
    MoveTo(b, {5, 5});
    ui_.AdvanceClock(400, 20);
    EXPECT_TRUE(IsAnimating(b->RunningSlot()));
    ui_.AdvanceClock(240, 20);
    EXPECT_FALSE(IsAnimating(b->RunningSlot()));
    EXPECT_EQ(ShownAt(b, 2, 2), Face(kbdsHot));
}

TEST_F(TefxButtonsTest, TheTimeIsHeldToFiftyToThreeThousand) {
    struct Case {
        int set, read;
    };
    const Case cases[] = {{-5, 50}, {49, 50}, {50, 50}, {700, 700}, {3000, 3000}, {3001, 3000}, {9000, 3000}};
    TtefxButton* b = Button();
    for (const Case& c : cases) {
        SCOPED_TRACE(c.set);
        b->SetFXTime(c.set);
        EXPECT_EQ(b->FXTime(), c.read);
    }
}

TEST_F(TefxButtonsTest, WithoutAWipeTheBaseOrTheNewFaceTakesOver) {
    struct Case {
        const char* what;
        std::function<void(TtefxButton*)> set;
        bool hot;
        int events;
    };
    const Case cases[] = {
        {"wipe off: the base, with its events", [](TtefxButton* b) { b->SetFXEnabled(false); }, true, 2},
        {"unknown effect: the new face at once",
         [](TtefxButton* b) { b->SetFXMouseEnter("[ FADE ] - Nowhere"); }, true, 0},
        {"disabled: nothing at all", [](TtefxButton* b) { b->SetEnabled(false); }, false, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        TtefxButton* b = Button();
        int events = 0;
        b->OnMouseEnter = [&](TObject*) { ++events; };
        b->OnMouseLeave = [&](TObject*) { ++events; };
        c.set(b);
        theme_->Calls().clear();
        MoveTo(b, {5, 5});
        EXPECT_FALSE(IsAnimating(b->RunningSlot()));
        EXPECT_EQ(b->IsHot(), c.hot);
        if (c.hot) {
            EXPECT_EQ(ShownAt(b, 2, 2), Face(kbdsHot));
        }
        Away();
        EXPECT_FALSE(b->IsHot());
        EXPECT_EQ(events, c.events);
        delete b;
    }
}

TEST_F(TefxButtonsTest, TheSpeedButtonAndTheBoxesWipeFromTheNormalToTheHotFace) {
    auto* speed = Make<TtefxSpeedButton>(20, 60);
    speed->SetBounds(20, 60, 60, 24);
    speed->SetCaption(u"Go");
    auto* box = Make<TtefxCheckBox>(20, 100);
    box->SetBounds(20, 100, 120, 20);
    auto* radio = Make<TtefxRadioButton>(20, 140);
    radio->SetBounds(20, 140, 120, 20);
    Away();
    struct Case {
        TControl* control;
        std::function<int()> slot;
        std::function<bool()> hot;
        const char* draw;  // the theme call that paints its face, or none
    };
    const Case cases[] = {
        {speed, [&] { return speed->RunningSlot(); }, [&] { return speed->IsHot(); }, nullptr},
        {box, [&] { return box->RunningSlot(); }, [&] { return box->IsHot(); }, "CheckDraw"},
        {radio, [&] { return radio->RunningSlot(); }, [&] { return radio->IsHot(); }, "RadioDraw"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.control->ClassName());
        theme_->Calls().clear();
        MoveTo(c.control, {5, 5});
        EXPECT_TRUE(IsAnimating(c.slot()));
        EXPECT_TRUE(c.hot());
        if (c.draw) {
            const auto draws = theme_->CallsOf(c.draw);
            ASSERT_GE(draws.size(), 2u);
            EXPECT_NE(draws[0].state, draws[1].state);
        }
        ui_.AdvanceClock(120, 20);
        EXPECT_FALSE(IsAnimating(c.slot()));
        Away();
        EXPECT_TRUE(IsAnimating(c.slot()));
        EXPECT_FALSE(c.hot());
        ui_.AdvanceClock(120, 20);
        EXPECT_FALSE(IsAnimating(c.slot()));
    }
}

TEST_F(TefxButtonsTest, AControlGivesBackOnlyTheSlotItReservedWhenItGoes) {
    auto* box = Make<TtefxCheckBox>(20, 100);
    box->SetBounds(20, 100, 120, 20);
    Away();
    const int mine = box->ReservedSlot();
    MoveTo(box, {5, 5});
    Away();
    EXPECT_EQ(box->RunningSlot(), mine);
    delete box;  // mid-wipe
    ui_.AdvanceClock(100, 20);
    EXPECT_FALSE(IsAnimating(mine));
    EXPECT_EQ(ReserveIndex(), mine);
}

}  // namespace
}  // namespace tarvel
