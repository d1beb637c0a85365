// The control library's start and end, and the stopwatch.

#include "skin/controls/te_controls_init.h"

#include <gtest/gtest.h>

#include <chrono>
#include <thread>

#include "platform/winsys/SystemApi.h"
#include "skin/controls/te_controls_speedbutton.h"
#include "skin/core/te_winapi.h"

namespace tarvel {
namespace {

TEST(ControlsInitTest, StartSetsFlagsMarkHintFontAndClassesAndTheEndFreesThem) {
    InitControls();
    EXPECT_TRUE(IsWinNT());
    EXPECT_FALSE(IsWin98);
    ASSERT_NE(TrueTypeBmp, nullptr);
    EXPECT_EQ(TrueTypeBmp->Width(), 12);
    EXPECT_EQ(TrueTypeBmp->Height(), 12);
    for (const char* name : {"TTeSpeedContainer", "TTeSpeedDivider", "TTeSpeedSpace", "TTeOutlookBarPanel",
                             "TTeOutlookBarButton", "TTeFrame"})
        EXPECT_NE(GetClass(name), nullptr) << name;
    ASSERT_NE(HintFont, nullptr);
    NONCLIENTMETRICSW metrics;
    ASSERT_TRUE(SystemParametersInfo(SPI_GETNONCLIENTMETRICS, sizeof(metrics), &metrics, 0));
    EXPECT_EQ(HintFont->Name(), WideToUtf8(metrics.lfStatusFont.lfFaceName));
    EXPECT_EQ(HintFont->Height(), metrics.lfStatusFont.lfHeight);
    DoneControls();
    EXPECT_EQ(TrueTypeBmp, nullptr);
    EXPECT_EQ(HintFont, nullptr);
    DoneControls();
    InitControls();
    EXPECT_NE(TrueTypeBmp, nullptr);
    DoneControls();
}

TEST(StopwatchTest, AFreshTimerReportsExactlyZeroAndNothingIsEverNegative) {
    TTeTimer fresh;
    EXPECT_EQ(fresh.GetElapsed(), 0.0L);
    EXPECT_GT(fresh.GetFrequency(), 0);
    TTeTimer backwards;
    backwards.Stop();
    std::this_thread::sleep_for(std::chrono::milliseconds(1));
    backwards.Start();
    EXPECT_EQ(backwards.GetElapsed(), 0.0L) << "a stop before the start";
}

TEST(StopwatchTest, StartAndStopTimerMeasureFromTheLastStartAndReuseTheTimer) {
    std::unique_ptr<TTeTimer> timer;
    EXPECT_EQ(StopTimer(timer), 0.0f);
    EXPECT_EQ(timer, nullptr) << "stopping an empty variable makes nothing";
    StartTimer(timer);
    ASSERT_NE(timer, nullptr);
    TTeTimer* first = timer.get();
    std::this_thread::sleep_for(std::chrono::milliseconds(30));
    const float long_ = StopTimer(timer);
    EXPECT_GE(long_, 0.03f);
    EXPECT_LT(long_, 5.0f);
    StartTimer(timer);
    EXPECT_EQ(timer.get(), first) << "a second start restarts the same timer";
    const float short_ = StopTimer(timer);
    EXPECT_LT(short_, long_);
    EXPECT_GE(short_, 0.0f);
    // Each StopTimer takes a fresh stop reading.
    std::this_thread::sleep_for(std::chrono::milliseconds(5));
    EXPECT_GT(StopTimer(timer), short_);
}

}  // namespace
}  // namespace tarvel
