// A gallery of the skinned controls in the flat and office-style themes,
// saved as pictures under the build folder for people to look at.

#include <gtest/gtest.h>

#include <filesystem>

#include "RecordingThemeFixture.h"
#include "skin/controls/te_controls_bars.h"
#include "skin/controls/te_controls_button.h"
#include "skin/controls/te_controls_panel.h"
#include "skin/controls/te_controls_speedbutton.h"
#include "skin/controls/te_controls_splitter.h"
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
        auto* container = Make<TTeSpeedContainer>(10, 10);
        container->SetBounds(10, 10, 370, 34);
        const char16_t* captions[] = {u"Open", u"Save", u"Left", u"Right", u"Up"};
        std::vector<TTeSpeedButton*> speed;
        int x = 2;
        for (int i = 0; i < 5; ++i) {
            if (i == 2) {
                auto* divider = new TTeSpeedDivider(form_);
                divider->SetParent(container);
                divider->SetBounds(x, 2, 8, 29);
                x += 10;
            }
            auto* b = new TTeSpeedButton(form_);
            b->SetParent(container);
            b->SetBounds(x, 2, 56, 29);
            b->SetCaption(captions[i]);
            b->SetGroupIndex(i >= 2 && i <= 3 ? 1 : 0);
            x += 60;
            speed.push_back(b);
        }
        speed[2]->SetDown(true);
        speed[4]->SetEnabled(false);
        speed[1]->SetShowChevron(true);
        speed[1]->SetFlat(false);

        auto* panel = Make<TTePanel>(10, 60);
        panel->SetBounds(10, 60, 120, 80);
        panel->SetCaption("Panel");
        auto* left = new TTePanel(form_);
        left->SetParent(panel);
        left->SetAlign(alLeft);
        left->SetWidth(40);
        left->SetCaption("A");
        auto* splitter = new TTeSplitter(form_);
        splitter->SetParent(panel);
        splitter->SetLeft(60);
        splitter->SetBeveled(true);
        splitter->SetWidth(5);

        auto* outlook = Make<TTeOutlookBar>(150, 60);
        outlook->SetBounds(150, 60, 110, 150);
        for (int i = 0; i < 3; ++i)
            outlook->AddPanel()->Button()->SetCaption(i == 0 ? u"Mail" : i == 1 ? u"Notes" : u"Tasks");

        auto* bar = Make<TTeButtonBar>(10, 160);
        bar->SetBounds(10, 160, 120, 30);
        for (int i = 0; i < 7; ++i) {
            auto* item = new TTeSpeedButton(form_);
            item->SetParent(bar);
            item->SetTop(i);
            item->SetCaption(std::u16string(1, static_cast<char16_t>(u'1' + i)));
        }
        MoveTo(speed[0], {5, 5});
        ui_.RunUntilIdle();
        const std::filesystem::path path = folder / file;
        EXPECT_TRUE(ui_.SaveScreenshot(form_, path.string())) << path;
        EXPECT_GT(std::filesystem::file_size(path), 0u);
        delete bar;
        delete outlook;
        delete panel;
        delete container;
    }
}

}  // namespace
}  // namespace tarvel
