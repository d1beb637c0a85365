// A picture of the wrapped controls in the flat theme, saved under the
// build folder for people to look at: a grid of 20 x 30 cells, a coloured
// log, a tree of modules and a report of cells, all with skinned scroll
// bars.

#include <filesystem>

#include "WrappedControlFixture.h"
#include "skin/themes/theme_flat.h"
#include "tests/skin/controls/GalleryForms.h"

namespace tarvel {
namespace {

class WrappedGalleryTest : public testing::WrappedControlTest {};

TEST_F(WrappedGalleryTest, TheWrappedControlsInTheFlatThemeAreSavedAsAPicture) {
    InitThemeFlat();
    ChangeTheme("Flat");
    ASSERT_NE(CurrentTheme, nullptr);
    form_->SetBounds(40, 40, 640, 420);
    form_->SetColor(clBtnFace);
    const testing::WrappedGallery g = testing::PlaceWrappedControls(form_);
    ui_.RunUntilIdle();
    EXPECT_TRUE(g.tree->SubScrollBar()->VertBar()->Visible());
    EXPECT_TRUE(g.report->SubScrollBar()->VertBar()->Visible());
    EXPECT_TRUE(g.report->SubScrollBar()->HorzBar()->Visible());
    EXPECT_TRUE(g.grid->SubScrollBar()->VertBar()->Visible());
    EXPECT_TRUE(g.grid->SubScrollBar()->HorzBar()->Visible());
    EXPECT_TRUE(g.log->SubScrollBar()->VertBar()->Visible());
    const std::filesystem::path folder = std::filesystem::path(TARVEL_BINARY_DIR) / "gallery";
    std::filesystem::create_directories(folder);
    const std::filesystem::path file = folder / "gallery_wrapped_flat.png";
    EXPECT_TRUE(ui_.SaveScreenshot(form_, file.string())) << file;
    EXPECT_GT(std::filesystem::file_size(file), 0u);
}

}  // namespace
}  // namespace tarvel
