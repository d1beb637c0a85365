// The flat theme's menus, tool bars, tabs, headers, status bars, lists and
// grids, and the office-style theme that shares them.

#include <gtest/gtest.h>

#include "ThemeFixture.h"
#include "skin/core/te_engine.h"
#include "skin/core/te_theme_manager.h"
#include "skin/core/te_utils_draw.h"

namespace tarvel {
namespace {

using testing::BuiltInThemeTest;
using testing::Rgb;
using testing::TPaper;

using FlatBarsTest = BuiltInThemeTest;

constexpr uint32_t kWhite = 0xFFFFFF;
constexpr uint32_t kGrey = 0x808080;

// A separator shows a line only at odd heights (kept as it always was).
TEST_F(FlatBarsTest, PopupSeparatorDrawsALineOnlyAtOddHeights) {
    TTeFlatTheme theme;
    const struct {
        int height;
        int greyRows;
    } cases[] = {{8, 0}, {9, 1}, {10, 0}, {11, 1}, {3, 1}};
    for (const auto& k : cases) {
        TPaper p(60, k.height);
        theme.MenuDrawItem(kmscPopupMenu, p.canvas,
                           MenuItemInfo({0, 0, 60, k.height}, kmicSeparator, kmidsNormal), "default");
        int rows = 0;
        for (int y = 0; y < k.height; ++y) rows += p.At(30, y) == kGrey ? 1 : 0;
        EXPECT_EQ(rows, k.greyRows) << k.height;
        if (k.greyRows) {
            EXPECT_EQ(p.At(30, k.height / 2), kGrey);
        }
        EXPECT_EQ(p.At(6, k.height / 2), kWhite) << "the line starts 5 pixels right of the gutter";
    }
}

TEST_F(FlatBarsTest, MenuBarItemsHotFramedInBorderSelectedInGrey) {
    TTeFlatTheme theme;
    const uint32_t border = Rgb(theme.Colors()->GetColor(ktcBorder));
    const struct {
        TteMenuSubclass s;
        TteMenuItemDrawState state;
        uint32_t frame, fill;
    } cases[] = {
        {kmscMenuBar, kmidsHot, border, Rgb(theme.Colors()->GetColor(ktcButtonHot))},
        {kmscMenuBar, kmidsSelected, kGrey, Rgb(clBtnFace)},
        {kmscMenuBar, kmidsNormal, Rgb(clBtnFace), Rgb(clBtnFace)},
        {kmscPopupMenu, kmidsSelected, border, Rgb(theme.Colors()->GetColor(ktcButtonHot))},
        {kmscPopupMenu, kmidsNormal, Rgb(clBtnFace), kWhite},  // the 2-pixel gutter, then white
    };
    for (const auto& k : cases) {
        TPaper p(50, 20);
        theme.MenuDrawItem(k.s, p.canvas, MenuItemInfo({0, 0, 50, 20}, kmicNormal, k.state), "default");
        EXPECT_EQ(p.At(0, 10), k.frame) << int(k.s) << " " << int(k.state);
        EXPECT_EQ(p.At(25, 10), k.fill) << int(k.s) << " " << int(k.state);
    }
}

TEST_F(FlatBarsTest, ToolButtonBackgroundsByState) {
    TTeFlatTheme theme;
    const TColor pressed = theme.Colors()->GetColor(ktcButtonPressed);
    const struct {
        TteToolItemDrawState state;
        uint32_t fill;
    } cases[] = {{mtidsNormal, kWhite},
                 {mtidsDisabled, kWhite},
                 {mtidsUnused, kWhite},
                 {mtidsCheckedPressed, kWhite},  // no background at all
                 {mtidsHot, Rgb(theme.Colors()->GetColor(ktcButtonHot))},
                 {mtidsCheckedHot, Rgb(theme.Colors()->GetColor(ktcButtonHot))},
                 {mtidsPressed, Rgb(pressed)},
                 {mtidsChecked, Rgb(StdChangeColor(pressed, 10))}};
    for (const auto& k : cases) {
        TPaper p(30, 24);
        theme.ToolDrawItem(ktscToolBar, p.canvas, ToolItemInfo({0, 0, 30, 24}, kticNormal, k.state),
                           "default");
        EXPECT_EQ(p.At(15, 12), k.fill) << int(k.state);
    }
}

// The tool-bar separator shrinks vertically by half its width (kept).
TEST_F(FlatBarsTest, ToolSeparatorIsOneGreyColumnShrunkByHalfItsWidth) {
    TTeFlatTheme theme;
    TPaper p(20, 30);
    theme.ToolDrawItem(ktscToolBar, p.canvas, ToolItemInfo({0, 0, 20, 30}, kticSeparator, mtidsNormal),
                       "default");
    for (int y = 0; y < 30; ++y) EXPECT_EQ(p.At(5, y), y >= 10 && y < 20 ? kGrey : kWhite) << y;
    EXPECT_EQ(p.At(6, 15), kWhite);
}

// The active tab is open towards its page; the caller's clip comes back, so
// later drawing on the same canvas reaches that line.
TEST_F(FlatBarsTest, ActiveTabIsOpenTowardsThePageAndTheClipComesBack) {
    TTeFlatTheme theme;
    const uint32_t border = Rgb(theme.Colors()->GetColor(ktcBorder));
    const struct {
        TteTabItemClass item;
        TPoint open, closed;
    } cases[] = {{ktisTopFirst, {20, 19}, {20, 0}},
                 {ktisBottomMiddle, {20, 0}, {20, 19}},
                 {ktisLeftLast, {39, 10}, {0, 10}},
                 {ktisRightMiddle, {0, 10}, {39, 10}}};
    for (const auto& k : cases) {
        TPaper p(40, 20);
        theme.TabDrawItem(ktscTab, p.canvas, TabItemInfo({0, 0, 40, 20}, k.item, ktidsActive), "default");
        EXPECT_EQ(p.At(k.open.x, k.open.y), Rgb(clBtnFace)) << int(k.item);
        EXPECT_EQ(p.At(k.closed.x, k.closed.y), border) << int(k.item);
        FillRect(p.canvas, TRect{0, 0, 40, 20}, clRed);
        EXPECT_EQ(p.At(k.open.x, k.open.y), 0xFF0000u) << "the clip was restored";
    }
    TPaper inactive(40, 20);
    theme.TabDrawItem(ktscTab, inactive.canvas, TabItemInfo({0, 0, 40, 20}, ktisTopFirst, ktidsHot),
                      "default");
    EXPECT_EQ(inactive.At(20, 19), border);
    EXPECT_EQ(inactive.At(20, 10), Rgb(theme.Colors()->GetColor(ktcButtonHot)));
}

TEST_F(FlatBarsTest, GridListAndTreeItems) {
    TTeFlatTheme theme;
    const uint32_t border = Rgb(theme.Colors()->GetColor(ktcBorder));
    const uint32_t hot = Rgb(theme.Colors()->GetColor(ktcButtonHot));
    const uint32_t focused = Rgb(theme.Colors()->GetColor(ktcButtonFocused));
    const struct {
        TteGridItemClass cls;
        TteGridItemDrawState state;
        uint32_t edge, middle;
    } grid[] = {{kgicFixed, kgidsSelected, Rgb(clBtnFace), Rgb(clBtnFace)},
                {kgicFixed, kgidsNormal, Rgb(clBtnFace), Rgb(clBtnFace)},
                {kgicNormal, kgidsSelected, border, focused},
                {kgicNormal, kgidsFocused, border, focused},
                {kgicNormal, kgidsHot, hot, hot},
                {kgicNormal, kgidsNormal, kWhite, kWhite}};
    for (const auto& k : grid) {
        TPaper p(30, 16);
        FillRect(p.canvas, TRect{0, 0, 30, 16}, clRed);
        theme.GridDrawItem(kgscGrid, p.canvas, GridItemInfo({0, 0, 30, 16}, k.state, k.cls), "default");
        EXPECT_EQ(p.At(0, 8), k.edge) << int(k.cls) << " " << int(k.state);
        EXPECT_EQ(p.At(15, 8), k.middle) << int(k.cls) << " " << int(k.state);
    }
    TPaper list(30, 16);
    theme.ListDrawItem(klscListBox, list.canvas, ListItemInfo({0, 0, 30, 16}, klidsSelected), "default");
    EXPECT_EQ(list.At(0, 8), border);
    EXPECT_EQ(list.At(15, 8), hot);
    TPaper tree(30, 16);
    theme.TreeDrawItem(ktscTreeList, tree.canvas, TreeItemInfo({0, 0, 30, 16}, kridsNormal), "default");
    EXPECT_EQ(tree.At(0, 8), border) << "every tree item is framed";

    TPaper glyph(21, 21);
    theme.ListDrawGlyph(klscListBox, glyph.canvas, ListItemInfo({}, klidsHot),
                        ListGlyphInfo({0, 0, 21, 21}, klgMixed), "default");
    EXPECT_EQ(glyph.At(4, 10), border) << "13 x 13 box from 4 to 17";
    EXPECT_EQ(glyph.At(5, 5), hot);
    EXPECT_EQ(glyph.At(10, 10), border) << "mixed: the box shrunk by 3, filled";
    EXPECT_EQ(glyph.At(3, 10), kWhite);
}

TEST_F(FlatBarsTest, HotMenuPictureIsLiftedOverItsShadowAndTheCallersBitmapKeepsItsAlpha) {
    TTeFlatTheme theme;
    TteBitmap picture;
    picture.SetSize(4, 4);
    picture.Clear(0x800000FF);  // half-transparent blue
    picture.AlphaBlend = true;
    TPaper p(20, 20);
    theme.MenuDrawItemGlyph(kmscPopupMenu, p.canvas, MenuItemInfo({}, kmicNormal, kmidsHot),
                            MenuGlyphInfo({0, 0, 20, 20}, &picture, kgfaCenter, kmgGlyph), "default");
    EXPECT_EQ(p.At(7, 7), 0x0000FFu) << "drawn opaque, one pixel up and left of (8, 8)";
    EXPECT_EQ(p.At(6, 6), kWhite);
    EXPECT_NE(p.At(12, 12), kWhite) << "the shadow, two pixels down and right";
    EXPECT_NE(p.At(12, 12), 0x0000FFu);
    EXPECT_EQ(picture.GetPixel(0, 0), 0x800000FFu);
}

TEST_F(FlatBarsTest, StatusGripperAndPanelLine) {
    TTeFlatTheme theme;
    const uint32_t shade = Rgb(StdChangeColor(theme.Colors()->GetColor(ktcButtonNormal), -40));
    TPaper panel(40, 20);
    theme.StatusDrawPanel(ksscStatusBar, panel.canvas, StatusPanelInfo({0, 0, 40, 20}, kspcNormal),
                          "default");
    EXPECT_EQ(panel.At(38, 10), shade);
    EXPECT_EQ(panel.At(37, 10), Rgb(clBtnFace));
    TPaper grip(20, 20);
    theme.StatusDrawPanel(ksscStatusBar, grip.canvas, StatusPanelInfo({0, 0, 20, 20}, kspcGripper),
                          "default");
    EXPECT_EQ(grip.At(17, 17), shade);
    EXPECT_EQ(grip.At(4, 4), Rgb(clBtnFace));
}

// ---- the office-style theme ------------------------------------------------------------

using OfficeThemeTest = BuiltInThemeTest;

TEST_F(OfficeThemeTest, ChosenByNameWithItsOwnPaletteAndNoWindowFrame) {
    TteThemeClass cls = GetThemeClass("TTeOfficeXPTheme");
    ASSERT_NE(cls, nullptr);
    EXPECT_EQ(cls->GetThemeName(), "OfficeXP");
    EXPECT_TRUE(cls->GetThemeConfig().Building);
    EXPECT_EQ(FindBuildingTheme("officexp"), cls);
    ChangeTheme("OfficeXP");
    auto* office = dynamic_cast<TTeOfficeXPTheme*>(CurrentTheme);
    ASSERT_NE(office, nullptr);
    EXPECT_EQ(office->GutterWidth, 21);
    EXPECT_FALSE(office->IsWindowDefined(kwscStandard, "default"));
    EXPECT_FALSE(IsObjectDefined(kwscDialog, "default", nullptr));
    EXPECT_TRUE(IsObjectDefined(kmscPopupMenu, "default", nullptr));

    const struct {
        TteThemeColor index;
        TColor color;
    } palette[] = {{ktcCaptionNormal, TColor(0xFF0000)}, {ktcBorder, clHighlight},
                   {ktcButtonHot, TColor(0xD2BDB6)},     {ktcButtonPressed, TColor(0xB59285)},
                   {ktcButtonDisabled, clBtnFace},       {ktcEditSelection, TColor(0xB59285)}};
    for (const auto& p : palette) EXPECT_EQ(office->Colors()->GetColor(p.index), p.color) << int(p.index);
    EXPECT_EQ(office->Fonts()->GetFont(ktfCaptionTextNormal)->Color(), clWhite);
    EXPECT_EQ(office->Fonts()->GetFont(ktfCaptionTextInactive)->Color(), TColor(0xC0C0C0));
    EXPECT_EQ(office->Fonts()->GetFont(ktfButtonTextDisabled)->Color(), TColor(0x808080));
}

TEST_F(OfficeThemeTest, StaticTextFontsAreLeftAlone) {
    TTeOfficeXPTheme office;
    TTeFlatTheme flat;
    TteTheme base;
    EXPECT_EQ(office.Fonts()->GetFont(ktfStaticTextNormal)->Color(),
              base.Fonts()->GetFont(ktfStaticTextNormal)->Color());
    flat.Fonts()->GetFont(ktfStaticTextNormal)->SetColor(clRed);
    office.Fonts()->GetFont(ktfStaticTextNormal)->SetColor(clRed);
    flat.ResetThemeFonts();
    office.ResetThemeFonts();
    EXPECT_EQ(flat.Fonts()->GetFont(ktfStaticTextNormal)->Color(), clBlack);
    EXPECT_EQ(office.Fonts()->GetFont(ktfStaticTextNormal)->Color(), clRed);
}

TEST_F(OfficeThemeTest, TheCaptionColourFollowsTheHueButNotTheFlatOne) {
    TTeOfficeXPTheme office;
    TTeFlatTheme flat;
    office.ChangeThemeHue(60);
    flat.ChangeThemeHue(60);
    EXPECT_NE(office.Colors()->GetColor(ktcCaptionNormal), TColor(0xFF0000));
    EXPECT_EQ(flat.Colors()->GetColor(ktcCaptionNormal), TColor(0x9CDEF7));
    office.ChangeThemeHue(0);
    EXPECT_EQ(office.Colors()->GetColor(ktcCaptionNormal), TColor(0xFF0000));
}

TEST_F(OfficeThemeTest, PopupGutterIsTwentyThreePixelsAgainstTheFlatTwo) {
    const struct {
        int gutter;
        bool office;
    } cases[] = {{23, true}, {2, false}};
    for (const auto& k : cases) {
        std::unique_ptr<TTeFlatTheme> theme(k.office ? new TTeOfficeXPTheme() : new TTeFlatTheme());
        TPaper p(100, 60);
        theme->MenuDraw(kmscPopupMenu, p.canvas, MenuInfo({0, 0, 100, 60}), "default");
        EXPECT_EQ(p.At(0, 30), kGrey);
        EXPECT_EQ(p.At(1, 30), Rgb(clBtnFace));
        EXPECT_EQ(p.At(k.gutter - 1, 30), Rgb(clBtnFace)) << k.gutter;
        EXPECT_EQ(p.At(k.gutter, 30), kWhite) << k.gutter;
        // The separator's line starts right of the gutter.
        TPaper s(100, 9);
        theme->MenuDrawItem(kmscPopupMenu, s.canvas, MenuItemInfo({0, 0, 100, 9}, kmicSeparator, kmidsNormal),
                            "default");
        EXPECT_EQ(s.At(k.gutter + 4, 4), kWhite);
        EXPECT_EQ(s.At(k.gutter + 5, 4), kGrey);
    }
}

}  // namespace
}  // namespace tarvel
