// TTimer on the test clock.

#include <gtest/gtest.h>

#include "platform/base/Ticks.h"
#include "platform/classlib/Timers.h"
#include "platform/classlib/testing/UiDriver.h"

namespace tarvel {
namespace {

class TimersTest : public ::testing::Test {
protected:
    TUiDriver ui;
    std::vector<uint32_t> ticks;

    TTimer* Make(UINT interval) {
        auto* t = new TTimer(Application);
        t->SetInterval(interval);
        t->OnTimer = [this](TObject*) { ticks.push_back(GetTickCount()); };
        return t;
    }
};

TEST_F(TimersTest, FiresEveryIntervalWhileEnabled) {
    const uint32_t start = GetTickCount();
    TTimer* t = Make(100);
    ui.AdvanceClock(1000);
    ASSERT_EQ(ticks.size(), 10u);
    EXPECT_EQ(ticks.front() - start, 100u);
    EXPECT_EQ(ticks.back() - start, 1000u);
    t->SetEnabled(false);
    ui.AdvanceClock(500);
    EXPECT_EQ(ticks.size(), 10u);
    t->SetEnabled(true);
    ui.AdvanceClock(100);
    EXPECT_EQ(ticks.size(), 11u);
}

TEST_F(TimersTest, AnIntervalChangedInTheHandlerSetsTheNextTick) {
    const uint32_t start = GetTickCount();
    TTimer* t = Make(500);
    t->OnTimer = [&](TObject*) {
        ticks.push_back(GetTickCount() - start);
        t->SetInterval(1000);
    };
    ui.AdvanceClock(2600);
    EXPECT_EQ(ticks, (std::vector<uint32_t>{500, 1500, 2500}));
}

TEST_F(TimersTest, IntervalZeroNeverFiresWhileEnabled) {
    TTimer* t = Make(0);
    ui.AdvanceClock(5000, 100);
    EXPECT_TRUE(ticks.empty());
    EXPECT_TRUE(t->Enabled());
    t->SetInterval(200);
    ui.AdvanceClock(400);
    EXPECT_EQ(ticks.size(), 2u);
}

TEST_F(TimersTest, AnExceptionInOnTimerShowsTheBoxAndTheTimerGoesOn) {
    int calls = 0;
    TTimer* t = Make(100);
    t->OnTimer = [&](TObject*) {
        ++calls;
        StrToInt("");
    };
    ui.AdvanceClock(300);
    EXPECT_EQ(calls, 3);
    ASSERT_EQ(ui.Boxes().size(), 3u);
    EXPECT_EQ(ui.Boxes()[0].text, "'' is not a valid integer value.");
}

TEST_F(TimersTest, FreeingATimerStopsIt) {
    TTimer* t = Make(100);
    ui.AdvanceClock(100);
    delete t;
    ui.AdvanceClock(500);
    EXPECT_EQ(ticks.size(), 1u);
}

}  // namespace
}  // namespace tarvel
