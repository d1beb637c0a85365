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

TEST(PlatformWrappers, ScrollBarInfoWithoutTheSystemReadsInvisible) {
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
