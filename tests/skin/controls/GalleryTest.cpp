// A gallery of the skinned controls in the flat and office-style themes
// and in the tool's own skin,
// saved as pictures under the build folder for people to look at.

#include <gtest/gtest.h>

#include <filesystem>

#include "RecordingThemeFixture.h"
#include "platform/classlib/ExtCtrls.h"
#include "skin/themes/theme_flat.h"
#include "skin/themes/theme_officexp.h"
#include "tests/skin/controls/GalleryForms.h"
#include "tests/skin/themes/DaraSkinFixture.h"

namespace tarvel {
namespace {

class GalleryTest : public testing::SkinControlsTest {};

TEST_F(GalleryTest, ControlsInTheBuiltInThemesAreSavedAsPictures) {
    InitThemeFlat();
    InitThemeOfficeXP();
    struct Case {
        const char* theme;
        const char* file;
    };
    const Case cases[] = {
        {"Flat", "gallery_flat.png"}, {"OfficeXP", "gallery_officexp.png"}, {"dara", "gallery_dara.png"}};
    const std::filesystem::path folder = std::filesystem::path(TARVEL_BINARY_DIR) / "gallery";
    std::filesystem::create_directories(folder);
    form_->SetColor(clBtnFace);
    for (const Case& c : cases) {
        if (c.theme == std::string_view("dara"))
            ASSERT_TRUE(testing::ChangeToDaraSkin()) << testing::DaraSkinPath();
        else
            ChangeTheme(c.theme);
        ASSERT_NE(CurrentTheme, nullptr) << c.theme;
        // Each look on a fresh panel of its own.
        auto* sheet = Make<TPanel>(0, 0);
        sheet->SetAlign(alClient);
        sheet->SetBevelOuter(bvNone);
        sheet->SetColor(clBtnFace);
        const testing::BasicGallery g = testing::PlaceBasicControls(sheet);
        ui_.RunUntilIdle();
        // Pressed from the keyboard: a mouse press would take the pointer
        // off the hovered button.
        g.pressed->SetFocus();
        ui_.Backend().KeyDown(VK_SPACE);
        MoveTo(g.hot, {5, 5});
        const std::filesystem::path file = folder / c.file;
        EXPECT_TRUE(ui_.SaveScreenshot(form_, file.string())) << file;
        EXPECT_GT(std::filesystem::file_size(file), 0u);
        ui_.Backend().KeyUp(VK_SPACE);
        ui_.RunUntilIdle();
        delete sheet;
    }
}

TEST_F(GalleryTest, ToolControlsInTheBuiltInThemesAreSavedAsPictures) {
    InitThemeFlat();
    InitThemeOfficeXP();
    const std::pair<const char*, const char*> cases[] = {{"Flat", "gallery_tools_flat.png"},
                                                         {"OfficeXP", "gallery_tools_officexp.png"}};
    const std::filesystem::path folder = std::filesystem::path(TARVEL_BINARY_DIR) / "gallery";
    std::filesystem::create_directories(folder);
    for (const auto& [theme, file] : cases) {
        ChangeTheme(theme);
        ASSERT_NE(CurrentTheme, nullptr) << theme;
        auto* sheet = Make<TPanel>(0, 0);
        sheet->SetAlign(alClient);
        sheet->SetBevelOuter(bvNone);
        const testing::ToolGallery g = testing::PlaceToolControls(sheet);
        MoveTo(g.hot, {5, 5});
        ui_.RunUntilIdle();
        const std::filesystem::path path = folder / file;
        EXPECT_TRUE(ui_.SaveScreenshot(form_, path.string())) << path;
        EXPECT_GT(std::filesystem::file_size(path), 0u);
        delete sheet;
    }
}

}  // namespace
}  // namespace tarvel
