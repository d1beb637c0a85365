// An about-box-like form: four label rows and an effect "Confirm" button,
// saved as pictures at the start, the middle and the end of the button's
// 400 ms enter fade in the flat theme.

#include <gtest/gtest.h>

#include <filesystem>

#include "skin/controls/te_controls_label.h"
#include "skin/extras/te_effect.h"
#include "skin/extras/te_extra_effect_button.h"
#include "skin/themes/theme_flat.h"
#include "tests/skin/controls/RecordingThemeFixture.h"

namespace tarvel {
namespace {

class AboutBoxEffectTest : public testing::SkinControlsTest {
protected:
    void SetUp() override {
        SkinControlsTest::SetUp();
        InitEffects();
        InitEffectControls();
    }
    void TearDown() override {
        SkinControlsTest::TearDown();
        DoneEffectControls();
        DoneEffects();
    }
};

TEST_F(AboutBoxEffectTest, TheConfirmButtonFadesToItsHotFaceInPictures) {
    InitThemeFlat();
    ChangeTheme("Flat");
    ASSERT_NE(CurrentTheme, nullptr);
    form_->SetColor(clBtnFace);
    const char16_t* rows[] = {u"Product:  BMS host tool", u"Version:  1.0", u"Copyright:  the makers",
                              u"Comments:  battery module monitor"};
    for (int i = 0; i < 4; ++i) {
        auto* label = Make<TTeLabel>(24, 20 + i * 26);
        label->SetAutoSize(false);
        label->SetBounds(24, 20 + i * 26, 300, 18);
        label->SetCaption(rows[i]);
    }
    auto* confirm = Make<TTeEffectButton>(150, 140);
    confirm->SetBounds(150, 140, 85, 29);
    confirm->SetCaption(u"Confirm");
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
