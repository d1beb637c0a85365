#include "skin/core/te_utils_system.h"

#include <gtest/gtest.h>

namespace tarvel {
namespace {

TEST(SystemRoutines, NestedCaptureReleasesOnTheLastEnd) {
    HWND wnd = reinterpret_cast<HWND>(0x1234);
    CaptureMouse(wnd);
    CaptureMouse(reinterpret_cast<HWND>(0x5678));  // nested: the first window keeps it
    EXPECT_EQ(CaptureCount(), 2);
    EXPECT_EQ(CaptureHandle(), wnd);
    EndCapture();
    EXPECT_EQ(CaptureHandle(), wnd);
    EndCapture();
    EXPECT_EQ(CaptureCount(), 0);
    EXPECT_EQ(CaptureHandle(), nullptr);
    EndCapture();  // unmatched: stays at 0
    EXPECT_EQ(CaptureCount(), 0);
}

TEST(SystemRoutines, KeyboardIntervalsFromTheSystemSettings) {
    const int delay = GetKeyBoardDelayInterval();
    EXPECT_TRUE(delay == 200 || delay == 400 || delay == 600 || delay == 800) << delay;
    const int speed = GetKeyBoardSpeedInterval();
    EXPECT_GE(speed, 14);
    EXPECT_LE(speed, 435);
}

TEST(SystemRoutines, ScreenPixelFormat) {
    EXPECT_EQ(GetPixelFormat(), pf32bit);
    EXPECT_EQ(CPixelFormat, pf32bit);
}

TEST(SystemRoutines, NoWindowNoTexts) {
    EXPECT_EQ(GetWndClassName(nullptr), "");
    EXPECT_EQ(GetWndText(nullptr), "");
}

}  // namespace
}  // namespace tarvel
