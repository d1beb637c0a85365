// A gallery of the extended controls in the flat and office-style themes,
// in the classic look and in the tool's own skin, saved as pictures under
// the build folder for people to look at: a page control of thirteen tabs in two rows with a
// transparent label on its sheet, a scrolled tab strip at the bottom,
// progress bars and a status bar; and the style pickers with the theme
// preview and a paint box.

#include <gtest/gtest.h>

#include <filesystem>

#include "ExtCtrlsFixture.h"
#include "skin/controls/te_controls_label.h"
#include "skin/core/te_theme_manager.h"
#include "skin/extctrls/te_extctrls_paintbox.h"
#include "skin/extctrls/te_extctrls_pickers.h"
#include "skin/extctrls/te_extctrls_preview.h"
#include "skin/extctrls/te_extctrls_progress.h"
#include "skin/extctrls/te_extctrls_status.h"
#include "skin/forms/te_forms_resources.h"
#include "skin/themes/theme_flat.h"
#include "skin/themes/theme_officexp.h"
#include "tests/skin/themes/DaraSkinFixture.h"

namespace tarvel {
namespace {

class ExtGalleryTest : public testing::ExtCtrlsTest {
protected:
    static std::filesystem::path Folder() {
        const std::filesystem::path folder = std::filesystem::path(TARVEL_BINARY_DIR) / "gallery";
        std::filesystem::create_directories(folder);
        return folder;
    }
};

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
    const std::filesystem::path folder = Folder();
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

TEST_F(ExtGalleryTest, PickersPreviewAndPaintBoxAreSavedAsPictures) {
    InitThemeFlat();
    InitForms();
    const std::pair<const char*, const char*> cases[] = {
        {"Flat", "gallery_pickers_flat.png"},
        {"", "gallery_pickers_classic.png"},
        {"dara", "gallery_pickers_dara.png"},
    };
    form_->SetBounds(20, 20, 640, 440);
    form_->SetColor(clBtnFace);
    for (const auto& [theme, file] : cases) {
        ASSERT_TRUE(testing::ChangeToLook(theme)) << theme << " " << testing::DaraSkinPath();
        std::vector<TControl*> made;
        auto list = [&](auto* picker, int left, int selected) {
            // Every row shows inside the look's own frame.
            const int frame = picker->Height() - picker->GetItemArea().Height();
            picker->SetBounds(left, 10, 170, picker->Items()->Count() * picker->ItemHeight() + frame);
            picker->SetItemIndex(selected);
            made.push_back(picker);
        };
        list(Make<TTePenStyleList>(10, 10), 10, psDashDot);
        list(Make<TTeBrushStyleList>(190, 10), 190, bsCross);
        auto* brushBox = Make<TTeBrushStyleBox>(10, 200);
        brushBox->SetBounds(10, 200, 170, brushBox->Height());
        brushBox->SetBrushStyle(bsDiagCross);
        auto* penBox = Make<TTePenStyleBox>(190, 200);
        penBox->SetBounds(190, 200, 170, penBox->Height());
        penBox->SetPenStyle(psDashDotDot);
        made.insert(made.end(), {brushBox, penBox});

        // The preview shows the current theme through a link of its own.
        testing::TFixedLink link(*theme ? CurrentTheme : nullptr);
        auto* preview = Make<extctrls::TTeThemePreview>(380, 10);
        preview->SetBounds(380, 10, 240, 170);
        preview->SetThemeLink(&link);
        made.push_back(preview);

        auto* paint = Make<TTePaintBox>(380, 200);
        paint->SetBounds(380, 200, 240, 120);
        paint->SetColor(clWhite);
        paint->OnPaint = [paint](TObject*) {
            TCanvas& c = *paint->Canvas();
            c.FillRect(TRect{0, 0, paint->Width(), paint->Height()});
            const TBrushStyle hatches[] = {bsHorizontal, bsVertical, bsFDiagonal,
                                           bsBDiagonal,  bsCross,    bsDiagCross};
            const TPenStyle pens[] = {psSolid, psDash, psDot, psDashDot, psDashDotDot, psSolid};
            for (int i = 0; i < 6; ++i) {
                c.Pen()->SetStyle(pens[i]);
                c.Brush()->SetColor(TColor(0x804020 + i * 0x101030));
                c.Brush()->SetStyle(hatches[i]);
                c.Rectangle(8 + i * 38, 10, 40 + i * 38, 110);
            }
            c.Pen()->SetStyle(psSolid);
            c.Brush()->SetStyle(bsSolid);
        };
        made.push_back(paint);
        ui_.RunUntilIdle();

        const std::filesystem::path path = Folder() / file;
        EXPECT_TRUE(ui_.SaveScreenshot(form_, path.string())) << path;
        EXPECT_GT(std::filesystem::file_size(path), 0u);
        for (TControl* c : made) delete c;
    }
    delete form_;  // the frames' unit ends after the last form
    form_ = nullptr;
    DoneForms();
}

}  // namespace
}  // namespace tarvel
