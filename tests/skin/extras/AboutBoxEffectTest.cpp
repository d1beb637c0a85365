// An about-box-like form: four label rows and an effect "Confirm" button,
// saved as pictures at the start, the middle and the end of the button's
// 400 ms enter fade in the flat theme.

#include <gtest/gtest.h>

#include <filesystem>

#include "skin/themes/theme_flat.h"
#include "tests/skin/extras/AboutBoxForm.h"
#include "tests/skin/extras/EffectControlsFixture.h"

namespace tarvel {
namespace {

class AboutBoxEffectTest : public testing::EffectControlsTest {};

TEST_F(AboutBoxEffectTest, TheConfirmButtonFadesToItsHotFaceInPictures) {
    InitThemeFlat();
    ChangeTheme("Flat");
    ASSERT_NE(CurrentTheme, nullptr);
    form_->SetColor(clBtnFace);
    TTeEffectButton* confirm = testing::PlaceAboutBox(form_);
    MoveTo(form_, {390, 290});
    const std::filesystem::path folder = std::filesystem::path(TARVEL_BINARY_DIR) / "gallery";
    std::filesystem::create_directories(folder);

    struct Shot {
        const char* file;
        uint32_t advance;
        bool running;
    };
    const Shot shots[] = {{"about_confirm_0ms.png", 0, true},
                          {"about_confirm_200ms.png", 200, true},
                          {"about_confirm_400ms.png", 220, false}};
    MoveTo(confirm, {40, 14});
    std::vector<uint32_t> faces;
    for (const Shot& s : shots) {
        SCOPED_TRACE(s.file);
        if (s.advance) ui_.AdvanceClock(s.advance, 20);
        EXPECT_EQ(IsAnimating(confirm->RunningSlot()), s.running);
        faces.push_back(ShownAt(confirm, 4, 4));
        const std::filesystem::path file = folder / s.file;
        EXPECT_TRUE(ui_.SaveScreenshot(form_, file.string())) << file;
    }
    // Three different faces: normal, a blend, hot.
    EXPECT_NE(faces[0], faces[1]);
    EXPECT_NE(faces[1], faces[2]);
    EXPECT_NE(faces[0], faces[2]);
}

}  // namespace
}  // namespace tarvel
