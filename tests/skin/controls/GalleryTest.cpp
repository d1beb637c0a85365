// A gallery of the skinned controls in the flat and office-style themes,
// saved as pictures under the build folder for people to look at.

#include <gtest/gtest.h>

#include <filesystem>

#include "RecordingThemeFixture.h"
#include "skin/controls/te_controls_button.h"
#include "skin/themes/theme_flat.h"
#include "skin/themes/theme_officexp.h"

namespace tarvel {
namespace {

class GalleryTest : public testing::SkinControlsTest {};

TEST_F(GalleryTest, ButtonsInTheBuiltInThemesAreSavedAsPictures) {
    InitThemeFlat();
    InitThemeOfficeXP();
    struct Case {
        const char* theme;
        const char* file;
    };
    const Case cases[] = {{"Flat", "gallery_flat.png"}, {"OfficeXP", "gallery_officexp.png"}};
    const std::filesystem::path folder = std::filesystem::path(TARVEL_BINARY_DIR) / "gallery";
    std::filesystem::create_directories(folder);
    for (const Case& c : cases) {
        ChangeTheme(c.theme);
        ASSERT_NE(CurrentTheme, nullptr) << c.theme;
        const TBitBtnKind kinds[] = {bkCustom, bkOK, bkCancel, bkYes, bkNo};
        std::vector<TTeButton*> buttons;
        for (int i = 0; i < 5; ++i) {
            TTeButton* b = Make<TTeButton>(20 + (i % 3) * 110, 20 + (i / 3) * 40);
            b->SetWidth(95);
            if (kinds[i] == bkCustom) b->SetCaption(u"Custom");
            b->SetKind(kinds[i]);
            buttons.push_back(b);
        }
        buttons[2]->SetEnabled(false);
        buttons[3]->SetFocus();
        MoveTo(buttons[1], {5, 5});
        Down(buttons[4], {5, 5});
        ui_.RunUntilIdle();
        const std::filesystem::path file = folder / c.file;
        EXPECT_TRUE(ui_.SaveScreenshot(form_, file.string())) << file;
        EXPECT_GT(std::filesystem::file_size(file), 0u);
        Up(buttons[4], {5, 5});
        for (TTeButton* b : buttons) delete b;
    }
}

}  // namespace
}  // namespace tarvel
