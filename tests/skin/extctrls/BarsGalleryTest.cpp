// A gallery of the tool bar, track and range bars, header control and
// header panels in the flat and office-style themes, and of a control bar
// in the flat theme, the classic look and the tool's own skin, saved as
// pictures under the build folder.

#include <gtest/gtest.h>

#include <filesystem>
#include <memory>

#include "ExtBarsFixture.h"
#include "platform/classlib/ImageLists.h"
#include "skin/controls/te_controls_combo.h"
#include "skin/controls/te_controls_speedbutton.h"
#include "skin/extctrls/te_extctrls_controlbar.h"
#include "skin/extctrls/te_extctrls_hdrpanel.h"
#include "skin/extctrls/te_extctrls_header.h"
#include "skin/extctrls/te_extctrls_rangebar.h"
#include "skin/extctrls/te_extctrls_toolbar.h"
#include "skin/extctrls/te_extctrls_trackbar.h"
#include "skin/forms/te_forms_menubar.h"
#include "skin/themes/theme_flat.h"
#include "skin/themes/theme_officexp.h"
#include "tests/skin/themes/DaraSkinFixture.h"

namespace tarvel {
namespace {

class BarsGalleryTest : public testing::ExtBarsTest {
protected:
    // A tool bar of `count` buttons with pictures, standing at (left, top).
    TTeToolBar* MakeToolBar(TWinControl* parent, TCustomImageList* images, int left, int top, int count) {
        auto* bar = new TTeToolBar(form_);
        bar->SetBounds(left, top, 26 * count, 26);
        bar->SetParent(parent);
        for (int i = 0; i < count; ++i) {
            auto* b = new TTeSpeedButton(form_);
            b->SetParent(bar);
            b->SetLeft(1000 + i);
            b->SetImages(images);
            b->SetImageIndex(i % 6);
            b->SetShowCaption(false);
            b->SetFlat(true);
        }
        return bar;
    }
};

// Six 16 x 16 pictures: a coloured square with a white diagonal.
std::unique_ptr<TImageList> MakeImages(TComponent* owner) {
    auto images = std::make_unique<TImageList>(owner);
    images->SetSize(16, 16);
    const TColor colors[] = {clRed, clGreen, clBlue, clNavy, clPurple, clTeal};
    for (TColor color : colors) {
        TBitmap picture;
        picture.SetSize(16, 16);
        picture.Canvas()->Brush()->SetColor(color);
        picture.Canvas()->FillRect(TRect{0, 0, 16, 16});
        picture.Canvas()->Brush()->SetColor(clWhite);
        for (int i = 2; i < 14; ++i) picture.Canvas()->FillRect(TRect{i, i, i + 2, i + 1});
        images->AddMasked(&picture, clFuchsia);
    }
    return images;
}

TEST_F(BarsGalleryTest, BarsTracksAndHeadersInTheBuiltInThemesAreSavedAsPictures) {
    InitThemeFlat();
    InitThemeOfficeXP();
    const std::pair<const char*, const char*> cases[] = {{"Flat", "gallery_extbars_flat.png"},
                                                         {"OfficeXP", "gallery_extbars_officexp.png"}};
    const std::filesystem::path folder = std::filesystem::path(TARVEL_BINARY_DIR) / "gallery";
    std::filesystem::create_directories(folder);
    form_->SetColor(clBtnFace);
    auto images = MakeImages(form_);
    for (const auto& [theme, file] : cases) {
        ChangeTheme(theme);
        ASSERT_NE(CurrentTheme, nullptr) << theme;
        auto* bar = Make<TTeToolBar>(0, 0);
        bar->SetAlign(alTop);
        bar->SetHeight(30);
        const char16_t* captions[] = {u"New", u"Open", u"Save", u"Cut", u"Copy", u"Paste"};
        for (int i = 0; i < 6; ++i) {
            if (i == 3) {
                auto* divider = new TTeSpeedDivider(form_);
                divider->SetParent(bar);
                divider->SetLeft(1000);
            }
            auto* b = new TTeSpeedButton(form_);
            b->SetParent(bar);
            b->SetLeft(2000 + i);
            b->SetImages(images.get());
            b->SetImageIndex(i);
            b->SetHint(WideToUtf8(captions[i]));
            b->SetShowCaption(false);
            if (i == 4) b->SetEnabled(false);
            if (i == 2) b->SetDown(true), b->SetGroupIndex(1);
        }
        auto* track = Make<TTeTrackBar>(10, 50);
        track->SetBounds(10, 50, 200, 45);
        track->SetPosition(6);
        auto* both = Make<TTeTrackBar>(220, 50);
        both->SetBounds(220, 50, 170, 45);
        both->SetTickMarks(ktbmBoth);
        both->SetIntervalHighlightType(htLowInterval);
        auto* upright = Make<TTeTrackBar>(340, 110);
        upright->SetBounds(340, 110, 45, 150);
        upright->SetOrientation(ktoVertical);
        upright->SetTickMarks(ktbmTopLeft);
        auto* header = Make<TTeHeaderControl>(10, 120);
        header->SetBounds(10, 120, 310, 21);
        header->SetImages(images.get());
        const char16_t* columns[] = {u"Cell", u"Voltage (mV)", u"Temperature", u"State"};
        for (int i = 0; i < 4; ++i) {
            TTeHeaderSection* s = header->Sections()->Add();
            s->SetText(columns[i]);
            s->SetWidth(i == 1 ? 100 : 70);
            if (i == 1) s->SetImageIndex(2);
            if (i == 2) s->SetAlignment(taCenter);
        }
        auto* range = Make<TTeRangeBar>(10, 150);
        range->SetBounds(10, 150, 200, 45);
        range->SetHighPosition(8);
        auto* rangeBoth = Make<TTeRangeBar>(10, 200);
        rangeBoth->SetBounds(10, 200, 200, 45);
        rangeBoth->SetTickMarks(ktbmBoth);
        rangeBoth->SetLowPosition(5);
        rangeBoth->SetHighPosition(5);
        auto* open = Make<TTeHeaderPanel>(220, 150);
        open->SetBounds(220, 150, 110, 70);
        open->SetCaption(u"Module 1");
        auto* rolled = Make<TTeHeaderPanel>(220, 225);
        rolled->SetBounds(220, 225, 110, 70);
        rolled->SetCaption(u"Module 2 (rolled)");
        rolled->SetRolled(true);
        auto* closable = Make<TTeHeaderPanel>(220, 255);
        closable->SetBounds(220, 255, 110, 40);
        closable->SetButtonKind(kpbkClose);
        closable->SetCaption(u"Alarms");
        MoveTo(header, {110, 8});
        ui_.RunUntilIdle();
        const std::filesystem::path path = folder / file;
        EXPECT_TRUE(ui_.SaveScreenshot(form_, path.string())) << path;
        EXPECT_GT(std::filesystem::file_size(path), 0u);
        delete bar;
        delete track;
        delete both;
        delete upright;
        delete header;
        delete range;
        delete rangeBoth;
        delete open;
        delete rolled;
        delete closable;
    }
}

TEST_F(BarsGalleryTest, ControlBarsInTheFlatThemeTheClassicLookAndTheSkinAreSavedAsPictures) {
    InitThemeFlat();
    RegisterControlBarBackground();
    const std::pair<const char*, const char*> cases[] = {{"Flat", "gallery_controlbar_flat.png"},
                                                         {"", "gallery_controlbar_classic.png"},
                                                         {"dara", "gallery_controlbar_dara.png"}};
    const std::filesystem::path folder = std::filesystem::path(TARVEL_BINARY_DIR) / "gallery";
    std::filesystem::create_directories(folder);
    form_->SetColor(clBtnFace);
    form_->SetBounds(40, 40, 420, 160);
    auto images = MakeImages(form_);
    for (const auto& [theme, file] : cases) {
        ASSERT_TRUE(testing::ChangeToLook(theme)) << theme << " " << testing::DaraSkinPath();
        ui_.RunUntilIdle();
        auto* bands = Make<TTeControlBar>(0, 0);
        bands->SetAlign(alTop);
        // The classic face: the bands' light edges show on it.
        bands->SetColor(clBtnFace);
        // First row: the menu bar as tool buttons and a short tool bar.
        auto* menu = new TTeMenuBar(form_);
        menu->SetBounds(11, 2, 220, 22);
        menu->SetParent(bands);
        for (const char16_t* caption : {u"&File Option", u"&Port Setting", u"&About Project"}) {
            auto* item = new TTeItem(form_);
            item->SetCaption(caption);
            menu->Items()->Add(item);
        }
        MakeToolBar(bands, images.get(), 260, 2, 3);
        // Second row: a tool bar and a combo box, each in its own band.
        MakeToolBar(bands, images.get(), 11, 40, 6);
        auto* combo = new TTeComboBox(form_);
        combo->SetBounds(200, 40, 150, 22);
        combo->SetParent(bands);
        combo->Items()->Add("COM3 115200");
        combo->SetItemIndex(0);
        ui_.RunUntilIdle();
        EXPECT_EQ(bands->DockItems().size(), 4u) << theme;
        const std::filesystem::path path = folder / file;
        EXPECT_TRUE(ui_.SaveScreenshot(form_, path.string())) << path;
        EXPECT_GT(std::filesystem::file_size(path), 0u);
        delete bands;
    }
}

}  // namespace
}  // namespace tarvel
