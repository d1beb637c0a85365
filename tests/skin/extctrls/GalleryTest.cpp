// A gallery of the extended controls in the flat and office-style themes,
// in the classic look and in the tool's own skin, saved as pictures under
// the build folder for people to look at: a page control of thirteen tabs in two rows with a
// transparent label on its sheet, a scrolled tab strip at the bottom,
// progress bars and a status bar.

#include <gtest/gtest.h>

#include <filesystem>

#include "ExtCtrlsFixture.h"
#include "skin/controls/te_controls_label.h"
#include "skin/extctrls/te_extctrls_progress.h"
#include "skin/extctrls/te_extctrls_status.h"
#include "skin/themes/theme_flat.h"
#include "skin/themes/theme_officexp.h"
#include "tests/skin/themes/DaraSkinFixture.h"

namespace tarvel {
namespace {

class ExtGalleryTest : public testing::ExtCtrlsTest {};

TEST_F(ExtGalleryTest, ExtendedControlsAreSavedAsPictures) {
    InitThemeFlat();
    InitThemeOfficeXP();
    RegisterTabSheetBackground();
    const std::pair<const char*, const char*> cases[] = {
        {"Flat", "gallery_extctrls_flat.png"},
        {"OfficeXP", "gallery_extctrls_officexp.png"},
        {"", "gallery_extctrls_classic.png"},
        {"dara", "gallery_extctrls_dara.png"},
    };
    const std::filesystem::path folder = std::filesystem::path(TARVEL_BINARY_DIR) / "gallery";
    std::filesystem::create_directories(folder);
    form_->SetBounds(20, 20, 640, 440);
    form_->SetColor(clBtnFace);
    for (const auto& [theme, file] : cases) {
        ASSERT_TRUE(testing::ChangeToLook(theme)) << theme << " " << testing::DaraSkinPath();
        sheets_.clear();
        TTePageControl* pages =
            MakePages({"Realtime", "Cells", "Temperatures", "Balance", "Alarms", "Export", "History",
                       "Parameters", "Calibration", "Firmware", "Ports", "Log", "About"});
        pages->SetBounds(10, 10, 610, 230);
        pages->SetMultiLine(true);
        pages->SetActivePage(Sheet(9));
        auto* label = new TTeLabel(form_);
        label->SetParent(Sheet(9));
        label->SetTransparent(true);
        label->SetBounds(12, 12, 300, 17);
        label->SetCaption(u"A transparent label on the active sheet");

        auto* strip = Make<TTeTabControl>(10, 250);
        strip->SetBounds(10, 250, 300, 90);
        strip->SetTabPosition(kttpBottom);
        for (const char* t : {"Module 1", "Module 2", "Module 3", "Module 4", "Module 5", "Module 6"})
            strip->Tabs()->Add(t);
        strip->SetTabIndex(4);

        std::vector<TControl*> others;
        const struct {
            bool smooth, vertical;
            int position;
        } bars[] = {{false, false, 45}, {true, false, 70}, {false, false, 130}, {false, true, 60}};
        for (int i = 0; i < 4; ++i) {
            auto* bar = Make<TTeProgressBar>(330, 255 + i * 24);
            bar->SetSmooth(bars[i].smooth);
            if (bars[i].vertical) {
                bar->SetOrientation(kpoVertical);
                bar->SetBounds(500, 250, 18, 90);
            } else {
                bar->SetBounds(330, 255 + i * 24, 150, 16);
            }
            bar->SetPosition(bars[i].position);
            others.push_back(bar);
        }

        auto* status = Make<TTeStatusBar>(0, 0);
        status->SetAlign(alBottom);
        const struct {
            const char16_t* text;
            int width, stretch;
        } panels[] = {{u"COM3 115200", 110, 0},
                      {u"Module 3 answered with a checksum error", 150, 0},
                      {u"Ready", 80, 50}};
        for (const auto& p : panels) {
            TTeStatusPanel* panel = status->Panels()->Add();
            panel->SetText(p.text);
            panel->SetWidth(p.width);
            panel->SetStretchPriority(p.stretch);
        }
        others.push_back(status);
        const TRect hot = pages->GetTabRect(3);
        MoveTo(pages, {hot.left + 4, hot.top + 4});
        ui_.RunUntilIdle();
        EXPECT_EQ(pages->RowCount(), 2) << theme;

        const std::filesystem::path path = folder / file;
        EXPECT_TRUE(ui_.SaveScreenshot(form_, path.string())) << path;
        EXPECT_GT(std::filesystem::file_size(path), 0u);
        for (TControl* o : others) delete o;
        delete strip;
        delete pages;
    }
}

}  // namespace
}  // namespace tarvel
