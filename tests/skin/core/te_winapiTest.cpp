#include "skin/core/te_winapi.h"

#include <gtest/gtest.h>

namespace tarvel {
namespace {

TEST(PlatformWrappers, FixedTableOfThisPlatform) {
    EXPECT_TRUE(IsWinNT());
    EXPECT_FALSE(IsWinNT4());
    EXPECT_FALSE(IsWin2k());
    EXPECT_FALSE(IsWinXP());
    EXPECT_FALSE(IsWinVista());
    EXPECT_FALSE(IsMsImg());
    EXPECT_FALSE(UseThemes());
    EXPECT_FALSE(UseThemesSlow());
}

TEST(PlatformWrappers, EveryFlagFollowsItsEntryPoints) {
    EXPECT_EQ(IsMsImg(), Te_winapi::TransparentBltFunc != nullptr);
    EXPECT_EQ(IsWinVista(), Te_winapi::DwmSetWindowAttribute != nullptr);
    EXPECT_EQ(IsWin2k(), Te_winapi::SetLayeredWindowAttributes != nullptr);
    EXPECT_EQ(Te_winapi::UxTheme.OpenThemeData, nullptr);
    EXPECT_EQ(Te_winapi::UxTheme.EnableTheming, nullptr);
}

TEST(PlatformWrappers, ThemeLibraryReferencesBalance) {
    const int start = UxThemeReferenceCount();  // the unit's own reference
    EXPECT_FALSE(LoadUxTheme());
    EXPECT_FALSE(LoadUxTheme());
    EXPECT_EQ(UxThemeReferenceCount(), start + 2);
    ReleaseUxTheme();
    ReleaseUxTheme();
    EXPECT_EQ(UxThemeReferenceCount(), start);
    for (int i = 0; i < start + 3; ++i) ReleaseUxTheme();  // never below 0
    EXPECT_EQ(UxThemeReferenceCount(), 0);
    EXPECT_FALSE(UseThemes());
    for (int i = 0; i < start; ++i) LoadUxTheme();
}

TEST(PlatformWrappers, ScrollBarInfoOfAWindowWithoutBarsReadsInvisible) {
    SCROLLBARINFO info;
    info.dxyLineButton = 17;
    info.rgstate[1] = 5;
    EXPECT_EQ(MyGetScrollBarInfo(nullptr, 0, info), 0);
    EXPECT_EQ(info.rgstate[0], STATE_SYSTEM_INVISIBLE);
    EXPECT_EQ(info.rgstate[1], 5u);
    EXPECT_EQ(info.dxyLineButton, 17);
}

TEST(PlatformWrappers, DwmAttributeNumbers) {
    EXPECT_EQ(DWMWA_TRANSITIONS_FORCEDISABLED, 3);
    EXPECT_EQ(DWMWA_LAST, 9);
}

}  // namespace
}  // namespace tarvel

namespace tarvel {
namespace {

TEST(PlatformWrappers, OneMonitorAnswersEveryQuestion) {
    const TRect work = GetRectOfPrimaryMonitor(true);
    const TRect whole = GetRectOfPrimaryMonitor(false);
    EXPECT_EQ(whole.left, 0);
    EXPECT_EQ(whole.top, 0);
    EXPECT_GT(whole.Width(), 0);
    EXPECT_TRUE(work.left >= whole.left && work.bottom <= whole.bottom && !work.IsEmpty());
    // Far outside the screen: still the (nearest) primary monitor.
    EXPECT_EQ(GetRectOfMonitorContainingPoint(TPoint{-50000, 90000}, true), work);
    EXPECT_EQ(GetRectOfMonitorContainingRect(TRect{5, 5, 10, 10}, false), whole);
    EXPECT_EQ(GetRectOfMonitorContainingWindow(nullptr, true), work);
}

}  // namespace
}  // namespace tarvel
