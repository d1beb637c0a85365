// The drawn scroll bar linked to the flat theme: buttons, slider and track
// come from the theme instead of the classic look.

#include <gtest/gtest.h>

#include <filesystem>

#include "ThemeFixture.h"
#include "platform/classlib/Forms.h"
#include "skin/core/te_controls_scrollbar.h"
#include "skin/core/te_engine.h"

namespace tarvel {
namespace {

using testing::BuiltInThemeTest;
using testing::Rgb;

using FlatScrollBarTest = BuiltInThemeTest;

TEST_F(FlatScrollBarTest, ABarLinkedToTheFlatThemeDrawsItsPartsFromTheTheme) {
    InitControlBases();
    auto* form = new TForm(Application);
    form->SetBounds(40, 40, 300, 100);
    auto* link = new TTeThemeLink(form);
    link->SetThemeBuilding("Flat");
    TteTheme* flat = link->GetTheme();
    ASSERT_NE(flat, nullptr);
    auto* bar = new TTeScrollBar(form);
    bar->SetParent(form);
    const int t = GetSystemMetrics(SM_CYVTHUMB);
    bar->SetBounds(10, 10, 200 + 2 * t, t);
    bar->SetPageSize(10);
    bar->SetPosition(45);
    bar->SetThemeLink(link);
    form->Show();
    ui_.RunUntilIdle();

    auto shown = [&](int x, int y) {
        const auto screen = ui_.Backend().ScreenPixels();
        const TPoint p = bar->ClientToScreen(TPoint{x, y});
        return screen->Pixel(p.x, p.y) & 0xFFFFFF;
    };
    const uint32_t border = Rgb(flat->Colors()->GetColor(ktcBorder));
    const int s = bar->SliderCoord();
    EXPECT_EQ(shown(0, 0), border) << "the button's frame";
    EXPECT_EQ(shown(2, 2), Rgb(clBtnFace));
    EXPECT_EQ(shown(s, 5), border) << "the slider's frame";
    EXPECT_EQ(shown(s + 10, 3), Rgb(clBtnFace));
    const uint32_t a = shown(t + 1, 5), b = shown(t + 2, 5);
    EXPECT_TRUE((a == 0xFFFFFF && b == Rgb(clBtnFace)) || (b == 0xFFFFFF && a == Rgb(clBtnFace)))
        << "halftone track";

    // Hot and dragged slider take the theme's hot and pressed fills.
    ui_.MoveMouseTo(bar, TPoint{s + 10, 8});
    EXPECT_EQ(shown(s + 10, 3), Rgb(flat->Colors()->GetColor(ktcButtonHot)));
    ui_.Backend().MouseDown(bar->ClientToScreen(TPoint{s + 10, 8}));
    ui_.RunUntilIdle();
    EXPECT_EQ(shown(s + 10, 3), Rgb(flat->Colors()->GetColor(ktcButtonFocused)));
    const auto shot = std::filesystem::path(TARVEL_BINARY_DIR) / "skin_scrollbar_flat.png";
    EXPECT_TRUE(ui_.SaveScreenshot(form, shot.string()));
    ui_.Backend().MouseUp(bar->ClientToScreen(TPoint{s + 10, 8}));
    ui_.RunUntilIdle();

    // The link going away leaves the bar with no link: the classic look.
    delete link;
    EXPECT_EQ(bar->ThemeLink(), nullptr);
    bar->Invalidate();
    ui_.RunUntilIdle();
    EXPECT_NE(shown(0, 0), border);
    delete form;
    DoneControlBases();
}

}  // namespace
}  // namespace tarvel
