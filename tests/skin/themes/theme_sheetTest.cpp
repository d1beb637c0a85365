// Sheets of every element family drawn by the flat and the office-style
// theme, saved as PNG in the build folder for people to look at and compared
// with their references.

#include <gtest/gtest.h>

#include <filesystem>
#include <functional>

#include "ThemeFixture.h"
#include "ThemeSheetFixture.h"
#include "tests/platform/gdi/ReferencePictureFixture.h"

namespace tarvel {
namespace {

using testing::BuiltInThemeTest;
using testing::TPaper;

using ThemeSheetTest = BuiltInThemeTest;

void DrawSheet(TteTheme& theme, const char* file, const char* reference) {
    TPaper paper(1040, 760);
    testing::DrawSheet(theme, paper);
    const auto path = std::filesystem::path(TARVEL_BINARY_DIR) / file;
    ASSERT_TRUE(WritePng(*GetBitmapSurface(paper.bitmap.Handle()), path.string().c_str()));
    EXPECT_TRUE(reference::MatchesReference(*GetBitmapSurface(paper.bitmap.Handle()), reference));
}

TEST_F(ThemeSheetTest, FlatThemeSheet) {
    TTeFlatTheme theme;
    DrawSheet(theme, "skin_theme_flat_sheet.png", "skin/themes/flat_sheet.png");
}

TEST_F(ThemeSheetTest, OfficeStyleThemeSheet) {
    TTeOfficeXPTheme theme;
    DrawSheet(theme, "skin_theme_officexp_sheet.png", "skin/themes/office_style_sheet.png");
}

}  // namespace
}  // namespace tarvel
