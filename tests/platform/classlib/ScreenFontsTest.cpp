#include <gtest/gtest.h>

#include "platform/classlib/Forms.h"
#include "platform/classlib/StringLists.h"
#include "platform/classlib/testing/UiDriver.h"
#include "platform/gdi/FontList.h"

namespace tarvel {
namespace {

TEST(ScreenFonts, TheScreenListsTheInstalledFamiliesSorted) {
    TUiDriver ui;
    ASSERT_TRUE(Screen);
    TStrings* fonts = Screen->Fonts();
    ASSERT_EQ(fonts->Count(), static_cast<int>(InstalledFontFamilies().size()));
    EXPECT_GE(fonts->IndexOf("Liberation Sans"), 0);
    EXPECT_GE(fonts->IndexOf("liberation mono"), 0);
    for (int i = 1; i < fonts->Count(); ++i)
        EXPECT_LT(CompareText(fonts->Strings(i - 1), fonts->Strings(i)), 0);
    EXPECT_EQ(Screen->Fonts(), fonts);
}

}  // namespace
}  // namespace tarvel
