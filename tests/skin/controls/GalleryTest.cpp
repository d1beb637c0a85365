// A gallery of the skinned controls in the flat and office-style themes
// and in the tool's own skin,
// saved as pictures under the build folder for people to look at.

#include <gtest/gtest.h>

#include <filesystem>

#include "RecordingThemeFixture.h"
#include "skin/controls/te_controls_bars.h"
#include "skin/controls/te_controls_button.h"
#include "skin/controls/te_controls_group.h"
#include "skin/controls/te_controls_label.h"
#include "skin/controls/te_controls_panel.h"
#include "skin/controls/te_controls_speedbutton.h"
#include "skin/controls/te_controls_splitter.h"
#include "skin/themes/theme_flat.h"
#include "skin/themes/theme_officexp.h"
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
        const TBitBtnKind kinds[] = {bkCustom, bkOK, bkCancel, bkYes, bkNo};
        std::vector<TTeButton*> buttons;
        for (int i = 0; i < 5; ++i) {
            TTeButton* b = Make<TTeButton>(20 + (i % 3) * 110, 20 + (i / 3) * 40);
            b->SetWidth(95);
            if (kinds[i] == bkCustom) b->SetCaption(u"Custom");
            b->SetKind(kinds[i]);
            buttons.push_back(b);
        }
        std::vector<TControl*> others;
        const TTeCheckBoxState states[] = {kcbsUnChecked, kcbsChecked, kcbsMixed, kcbsChecked};
        for (int i = 0; i < 4; ++i) {
            auto* box = Make<TTeCheckBox>(20, 100 + i * 22);
            box->SetAllowGrayed(true);
            box->SetCaption(i == 3 ? u"Disabled" : u"Check " + Utf8ToWide(std::to_string(i + 1)));
            box->SetState(states[i]);
            box->SetEnabled(i != 3);
            others.push_back(box);
        }
        for (int i = 0; i < 2; ++i) {
            auto* radio = Make<TTeRadioButton>(20, 190 + i * 22);
            radio->SetCaption(i == 0 ? u"Radio on" : u"Radio off");
            radio->SetChecked(i == 0);
            others.push_back(radio);
        }
        auto* group = Make<TTeGroupBox>(130, 100);
        group->SetBounds(130, 100, 120, 80);
        group->SetCaption(u"Limits");
        group->SetUseCheckBox(true);
        auto* inner = new TTeLabel(form_);
        inner->SetParent(group);
        inner->SetBounds(14, 30, 80, 17);
        inner->SetCaption(u"Inside");
        others.push_back(group);
        auto* radios = Make<TTeRadioGroup>(260, 100);
        radios->SetBounds(260, 100, 130, 110);
        radios->SetCaption(u"Mode");
        for (const char* item : {"Single", "Parallel", "Off"}) radios->Items()->Add(item);
        radios->SetItemIndex(1);
        others.push_back(radios);
        auto* label = Make<TTeLabel>(130, 200);
        label->SetCaption(u"A &label");
        auto* disabled = Make<TTeLabel>(130, 222);
        disabled->SetCaption(u"A disabled label");
        disabled->SetEnabled(false);
        others.push_back(label);
        others.push_back(disabled);
        buttons[2]->SetEnabled(false);
        // Pressed from the keyboard: a mouse press would take the pointer
        // off the hovered button.
        buttons[4]->SetFocus();
        ui_.Backend().KeyDown(VK_SPACE);
        MoveTo(buttons[1], {5, 5});
        const std::filesystem::path file = folder / c.file;
        EXPECT_TRUE(ui_.SaveScreenshot(form_, file.string())) << file;
        EXPECT_GT(std::filesystem::file_size(file), 0u);
        ui_.Backend().KeyUp(VK_SPACE);
        ui_.RunUntilIdle();
        for (TTeButton* b : buttons) delete b;
        for (TControl* o : others) delete o;
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
