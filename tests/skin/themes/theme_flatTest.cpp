// The flat theme: registration and choice by name, palette and fonts, the
// window frame's geometry, and the looks its basic controls promise.

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

using FlatThemeTest = BuiltInThemeTest;

TEST_F(FlatThemeTest, RegistersAsFlatAndAThemeLinkBuildsItByName) {
    TteThemeClass cls = GetThemeClass("TTeFlatTheme");
    ASSERT_NE(cls, nullptr);
    EXPECT_EQ(cls->GetThemeName(), "Flat");
    const TteThemeConfig config = cls->GetThemeConfig();
    EXPECT_TRUE(config.Building);
    EXPECT_FALSE(config.CanSave);
    EXPECT_FALSE(config.FileBased);
    EXPECT_TRUE(config.Filter.empty());
    EXPECT_TRUE(config.DefaultExt.empty());
    EXPECT_EQ(FindBuildingTheme("flat"), cls);

    // The main window's link starts on "Flat", as its form data say.
    TTeThemeLink link(nullptr);
    link.SetThemeBuilding("Flat");
    EXPECT_EQ(link.ThemeBuilding(), "Flat");
    auto* flat = dynamic_cast<TTeFlatTheme*>(link.GetTheme());
    ASSERT_NE(flat, nullptr);
    EXPECT_EQ(flat->GutterWidth, 0);
    EXPECT_EQ(flat->Colors()->GetColor(ktcBorder), TColor(0x8396A0)) << "reset as a flat theme";

    // Copies are made through the registry.
    std::unique_ptr<TteTheme> copy(flat->CreateCopy());
    ASSERT_NE(dynamic_cast<TTeFlatTheme*>(copy.get()), nullptr);
}

TEST_F(FlatThemeTest, PaletteAndFonts) {
    TTeFlatTheme theme;
    const struct {
        TteThemeColor index;
        TColor color;
    } palette[] = {{ktcCaptionNormal, TColor(0x9CDEF7)},
                   {ktcCaptionInactive, clBtnFace},
                   {ktcWindowBorder, TColor(0x808080)},
                   {ktcWindow, clBtnFace},
                   {ktcBorder, TColor(0x8396A0)},
                   {ktcPanelNormal, clBtnFace},
                   {ktcButtonHot, TColor(0xE1EAEB)},
                   {ktcButtonPressed, TColor(0x996633)},
                   {ktcButtonFocused, TColor(0x996633)},
                   {ktcButtonDisabled, clBtnFace},
                   {ktcEditDisabled, TColor(0xFFFFFF)},
                   {ktcEditSelection, TColor(0xB59285)},
                   {ktcList, TColor(0xFFFFFF)},
                   {ktcGrid, TColor(0xFFFFFF)},
                   {ktcHint, clInfoBk},
                   {ktcBarDock, clBtnFace}};
    for (const auto& p : palette) EXPECT_EQ(theme.Colors()->GetColor(p.index), p.color) << int(p.index);

    const struct {
        TteThemeFont font;
        int size;
        TColor color;
        bool bold;
    } fonts[] = {{ktfCaptionTextNormal, 10, clBlack, true},
                 {ktfCaptionTextInactive, 10, TColor(0x808080), true},
                 {ktfSmCaptionTextNormal, 8, clWhite, true},
                 {ktfSmCaptionTextInactive, 8, TColor(0xC0C0C0), true},
                 {ktfStaticTextHot, 8, clBlack, false},
                 {ktfButtonTextDisabled, 8, TColor(0x808080), false},
                 {ktfRadioButtonTextFocused, 8, clBlack, false},
                 {ktfEditBoxTextHot, 8, clBlack, false},
                 {ktfEditBoxTextDisabled, 8, TColor(0x808080), false},
                 {ktfEditBoxTextSelected, 8, clWhite, false},
                 {ktfPopupMenuItemTextDisabled, 8, TColor(0x808080), false},
                 {ktfHeaderSectionTextUnderDrag, 8, clBlack, false}};
    for (const auto& f : fonts) {
        TFont* font = theme.Fonts()->GetFont(f.font);
        EXPECT_EQ(font->Name(), "Tahoma") << int(f.font);
        EXPECT_EQ(font->Size(), f.size) << int(f.font);
        EXPECT_EQ(font->Color(), f.color) << int(f.font);
        EXPECT_EQ(font->Style().Contains(fsBold), f.bold) << int(f.font);
    }
}

TEST_F(FlatThemeTest, DeltasShiftTheFontsButNotThePalette) {
    TTeFlatTheme theme;
    theme.ChangeThemeHueAndBrightness(40, 60);
    EXPECT_EQ(theme.Colors()->GetColor(ktcCaptionNormal), TColor(0x9CDEF7));
    EXPECT_EQ(theme.Colors()->GetColor(ktcBorder), TColor(0x8396A0));
    EXPECT_NE(theme.Fonts()->GetFont(ktfCaptionTextNormal)->Color(), clBlack);
}

// A standard window 300 pixels wide with close, maximise and minimise.
TEST_F(FlatThemeTest, WindowFrameGeometry) {
    TTeFlatTheme theme;
    const TRect r{0, 0, 300, 200};
    const struct {
        TteWindowSubclass s;
        TRect client;
    } clients[] = {{kwscStandard, {3, 23, 297, 197}},
                   {kwscDialog, {3, 23, 297, 197}},
                   {kwscToolWindow, {3, 19, 297, 197}},
                   {kwscBorder, {3, 3, 297, 197}},
                   {kwscMessage, r},
                   {kwscNoBorder, r},
                   {kwscTextured, r}};
    for (const auto& k : clients)
        EXPECT_EQ(theme.WindowGetClientRect(k.s, r, "default"), k.client) << int(k.s);

    const TteWindowInfo three = WindowInfo(r, {kwdsActive}, NullRect, {kwbClose, kwbMax, kwbMin}, u"", false);
    EXPECT_EQ(theme.WindowGetTitleRect(kwscStandard, three, "default"), (TRect{3, 3, 297, 23}));
    const struct {
        TteWindowButtons buttons;
        TteWindowButtonClass button;
        TRect rect;
    } buttons[] = {
        {{kwbClose, kwbMax, kwbMin}, kwbClose, {275, 3, 297, 23}},
        {{kwbClose, kwbMax, kwbMin}, kwbMax, {251, 3, 273, 23}},
        {{kwbClose, kwbMax, kwbMin}, kwbMaxRestore, {251, 3, 273, 23}},
        {{kwbClose, kwbMax, kwbMin}, kwbMin, {227, 3, 249, 23}},
        {{kwbClose, kwbMax, kwbMin}, kwbHelp, NullRect},
        {{kwbClose, kwbHelp}, kwbHelp, {251, 3, 273, 23}},
        {{kwbHelp}, kwbHelp, {275, 3, 297, 23}},
        {{kwbClose, kwbMinRestore, kwbRoll, kwbTray}, kwbTray, {203, 3, 225, 23}},
        {{kwbSysMenu}, kwbSysMenu, {3, 4, 25, 22}},
        {{kwbClose, kwbTopmost, kwbCustom}, kwbTopmost, NullRect},
        {{kwbClose, kwbTopmost, kwbCustom}, kwbCustom, NullRect},
    };
    for (const auto& k : buttons) {
        const TteWindowInfo info = WindowInfo(r, {kwdsActive}, NullRect, k.buttons, u"", false);
        EXPECT_EQ(theme.WindowGetButtonRect(kwscStandard, info, k.button, "default"), k.rect)
            << int(k.button);
    }
}

TEST_F(FlatThemeTest, CaptionButtonsPressedShowThePushedGlyphAndHotTheRaisedEdge) {
    TTeFlatTheme theme;
    const TRect r{0, 0, 22, 20};
    const TColor normal = theme.Colors()->GetColor(ktcButtonNormal);
    const TColor hot = theme.Colors()->GetColor(ktcButtonHot);

    TPaper pressed(22, 20), pushedGlyph(22, 20), plainGlyph(22, 20);
    theme.WindowDrawButton(kwscStandard, pressed.canvas, WindowButtonInfo(r, kwbClose, kwbdsPressed, nullptr),
                           "x");
    DrawFrameControlGlyph(pushedGlyph.canvas, r, DFC_CAPTION, DFCS_CAPTIONCLOSE | DFCS_PUSHED, clBlack);
    DrawFrameControlGlyph(plainGlyph.canvas, r, DFC_CAPTION, DFCS_CAPTIONCLOSE, clBlack);
    bool pushedInk = true, differs = false;
    for (int y = 2; y < 18; ++y)
        for (int x = 2; x < 20; ++x) {
            if (pushedGlyph.At(x, y) == 0 && pressed.At(x, y) != 0) pushedInk = false;
            if (pushedGlyph.At(x, y) != plainGlyph.At(x, y)) differs = true;
        }
    EXPECT_TRUE(pushedInk) << "the pushed close glyph";
    EXPECT_TRUE(differs);
    EXPECT_EQ(pressed.At(1, 1), Rgb(StdChangeColor(normal, -100))) << "sunken edge";
    EXPECT_EQ(pressed.At(0, 0), Rgb(theme.Colors()->GetColor(ktcBorder)));

    TPaper raised(22, 20);
    theme.WindowDrawButton(kwscStandard, raised.canvas, WindowButtonInfo(r, kwbMin, kwbdsHot, nullptr), "x");
    EXPECT_EQ(raised.At(1, 1), Rgb(StdChangeColor(hot, 100)));
    EXPECT_EQ(raised.At(20, 18), Rgb(StdChangeColor(hot, -100)));
    EXPECT_EQ(raised.At(3, 3), Rgb(hot));

    TPaper empty(22, 20);
    theme.WindowDrawButton(kwscStandard, empty.canvas,
                           WindowButtonInfo(NullRect, kwbClose, kwbdsHot, nullptr), "x");
    EXPECT_EQ(empty.At(0, 0), 0xFFFFFFu);
}

TEST_F(FlatThemeTest, BasicControlsLookAsPromised) {
    TTeFlatTheme theme;
    const TRect r{0, 0, 40, 20};
    const uint32_t border = Rgb(theme.Colors()->GetColor(ktcBorder));

    // A focused edit looks like a normal one.
    TPaper normal(40, 20), focused(40, 20);
    theme.EditDraw(kescEdit, normal.canvas, EditInfo(r, kedsNormal), "default");
    theme.EditDraw(kescEdit, focused.canvas, EditInfo(r, kedsFocused), "default");
    EXPECT_TRUE(normal.SameAs(focused));
    EXPECT_EQ(normal.At(0, 0), border);

    // The focused checked box shows no mark: it is an unchecked box.
    const TRect box{0, 0, 13, 13};
    TPaper checkedFocused(13, 13), unchecked(13, 13), checked(13, 13);
    theme.CheckDraw(kcscCheckBox, checkedFocused.canvas, CheckInfo(box, kcdsCheckedFocused), "default");
    theme.CheckDraw(kcscCheckBox, unchecked.canvas, CheckInfo(box, kcdsUncheckedNormal), "default");
    theme.CheckDraw(kcscCheckBox, checked.canvas, CheckInfo(box, kcdsCheckedNormal), "default");
    EXPECT_TRUE(checkedFocused.SameAs(unchecked));
    EXPECT_FALSE(checked.SameAs(unchecked));
    EXPECT_EQ(checked.At(5, 7), border) << "the mark's centre, (6 - 1, 6 + 1)";

    // The combo drop-down button keeps its fixed red dot.
    TPaper combo(17, 17);
    theme.ButtonDraw(kbscComboDropDown, combo.canvas, ButtonInfo({0, 0, 17, 17}, kbdsNormal), "default");
    EXPECT_EQ(combo.At(8, 8), 0xFF0000u);
    EXPECT_EQ(combo.At(3, 3), Rgb(clBtnFace));

    // A pressed spin button moves its glyph one pixel right and down.
    TPaper spinUp(17, 17), spinPressed(17, 17);
    theme.ButtonDraw(kbscSpinDown, spinUp.canvas, ButtonInfo({0, 0, 17, 17}, kbdsHot), "default");
    theme.ButtonDraw(kbscSpinDown, spinPressed.canvas, ButtonInfo({0, 0, 17, 17}, kbdsPressed), "default");
    int inkShift = 0;
    for (int y = 1; y < 15; ++y)
        for (int x = 1; x < 15; ++x)
            if (spinUp.At(x, y) == border && spinPressed.At(x + 1, y + 1) == border) ++inkShift;
    EXPECT_GT(inkShift, 3);

    // The scroll area is a halftone of button face and white.
    TPaper area(4, 4);
    theme.ScrollDrawArea(ksscScrollBar, area.canvas, ScrollAreaInfo({0, 0, 4, 4}, ksadsNormal, ksacVertical),
                         "");
    EXPECT_NE(area.At(0, 0), area.At(1, 0));
    EXPECT_EQ(area.At(0, 0), area.At(1, 1));
}

// The group frame leaves out the caption's place, and the caller's clip
// comes back afterwards.
TEST_F(FlatThemeTest, GroupFrameSkipsTheCaptionAndRestoresTheClip) {
    TTeFlatTheme theme;
    TPaper p(100, 60);
    theme.GroupDraw(kgscGroupBox, p.canvas, GroupInfo({0, 0, 100, 60}, {10, 0, 50, 10}, kgdsNormal),
                    "default");
    const uint32_t border = Rgb(theme.Colors()->GetColor(ktcBorder));
    EXPECT_EQ(p.At(30, 0), 0xFFFFFFu);
    EXPECT_EQ(p.At(70, 0), border);
    FillRect(p.canvas, TRect{20, 0, 30, 1}, clRed);
    EXPECT_EQ(p.At(25, 0), 0xFF0000u);
}

}  // namespace
}  // namespace tarvel
