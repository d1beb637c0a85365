// The abstract theme's own answers: its metrics, hit test, caption-button
// places, text placement, hue and brightness resets, copies, and a sheet of
// its base look for people to look at, compared with its reference.
#include <gtest/gtest.h>

#include <optional>

#include "platform/gdi/Gdi.h"
#include "skin/core/te_bitmap_colors.h"
#include "skin/core/te_utils_draw.h"
#include "te_themeFixture.h"
#include "tests/platform/gdi/ReferencePictureFixture.h"
#include "tests/skin/PaperFixture.h"

namespace tarvel {
namespace {

using testing::TPaper;
using testing::TTestSkinTheme;

TEST(BaseThemeTest, AFreshThemeDescribesItselfPlainly) {
    TteTheme theme;
    EXPECT_EQ(theme.Name, "Default theme");
    EXPECT_EQ(TteTheme::GetThemeName(), "Default");
    const TteThemeConfig config = TteTheme::GetThemeConfig();
    EXPECT_FALSE(config.Building || config.CanSave || config.FileBased);
    EXPECT_TRUE(config.Filter.empty() && config.DefaultExt.empty());
    EXPECT_EQ(theme.CustomColor("anything"), clNone);
    EXPECT_EQ(theme.GetBounds("anything"), NullRect);
    EXPECT_EQ(theme.CheckGetSize(kcscCheckBox, "default"), (TSize{13, 13}));
    TCanvas canvas;
    EXPECT_EQ(theme.TrackGetThumbSize(ktscTrackBar, canvas, TrackThumbInfo({}, ktbmHorzBoth, kttdsNormal),
                                      "default"),
              (TPoint{0, 0}));
    EXPECT_FALSE(theme.IsWindowDefined(kwscStandard, "default"));
    EXPECT_FALSE(theme.IsButtonDefined(kbscButton, "default"));
    EXPECT_TRUE(theme.IsLabelTransparent(klscLabel, "default"));
    EXPECT_TRUE(theme.IsCheckTransparent(kcscCheckBox, "default"));
    EXPECT_FALSE(theme.IsPanelTransparent(kpscPanel, "default"));
    EXPECT_FALSE(TteTheme::CheckStream(*std::make_unique<TMemoryStream>()));
    EXPECT_FALSE(theme.LoadFromFile("x"));
    EXPECT_EQ(theme.Colors()->GetColor(ktcCaptionNormal), clBlue);
    EXPECT_EQ(theme.Colors()->GetColor(ktcBorder), clBlack);  // not set by the base
    EXPECT_EQ(theme.Fonts()->GetFont(ktfCaptionTextNormal)->Style(), TFontStyles{fsBold});
    EXPECT_EQ(theme.Fonts()->GetFont(ktfCaptionTextNormal)->Size(), 10);
}

TEST(BaseThemeTest, ClientRectanglesOfTheFamilies) {
    TteTheme t;
    TCanvas c;
    const TRect r{10, 20, 110, 220};
    EXPECT_EQ(t.WindowGetClientRect(kwscStandard, r, "default"), (TRect{14, 42, 106, 216}));
    EXPECT_EQ(t.HintGetClientRect(khscHintWindow, c, HintInfo(r), "default"), (TRect{20, 33, 100, 207}));
    EXPECT_EQ(t.StatusGetClientRect(ksscStatusBar, StatusInfo(r), "default"), (TRect{15, 22, 105, 218}));
    EXPECT_EQ(t.EditGetClientRect(kescEdit, c, EditInfo(r, kedsNormal), "default"),
              (TRect{13, 23, 107, 217}));
    EXPECT_EQ(t.MenuGetClientRect(kmscPopupMenu, MenuInfo(r), "default"), (TRect{13, 25, 107, 215}));
    EXPECT_EQ(t.ToolGetClientRect(ktscToolBar, ToolInfo(r), "default"), (TRect{21, 22, 108, 218}));
    EXPECT_EQ(t.ListGetClientRect(klscListBox, ListInfo(r), "default"), (TRect{14, 25, 106, 215}));
    EXPECT_EQ(t.TreeGetClientRect(ktscTreeList, TreeInfo(r), "default"), (TRect{12, 22, 108, 218}));
    EXPECT_EQ(t.PanelGetClientRect(kpscPanel, PanelInfo(r), "default"), r);
}

struct TButtonCase {
    TteWindowButtons buttons;
    TteWindowButtonClass asked;
    TRect expected;
};

TEST(BaseThemeTest, CaptionButtonsStandRightToLeftInTwentyTwoPixelSteps) {
    TteTheme theme;
    // Window (0, 0, 300, 200): client (4, 22, 296, 196), so P = (273, 4, 295, 21).
    const TButtonCase cases[] = {
        {{kwbClose, kwbMax, kwbMin}, kwbMin, {229, 4, 251, 21}},
        {{kwbClose, kwbMax, kwbMin}, kwbClose, {273, 4, 295, 21}},
        {{kwbClose, kwbMax, kwbMin}, kwbMaxRestore, {251, 4, 273, 21}},
        {{kwbClose, kwbMax, kwbMin}, kwbHelp, NullRect},
        {{kwbMaxRestore, kwbMinRestore}, kwbMin, {251, 4, 273, 21}},
        {{kwbClose, kwbRollRestore}, kwbRoll, {251, 4, 273, 21}},
        {{kwbClose, kwbMax, kwbMin, kwbRoll, kwbTray}, kwbTray, {185, 4, 207, 21}},
        {{kwbHelp}, kwbHelp, {273, 4, 295, 21}},
        {{kwbSysMenu}, kwbSysMenu, {4, 4, 26, 21}},
        {{}, kwbSysMenu, NullRect},
        {{kwbTopmost, kwbCustom}, kwbTopmost, NullRect},
        {{kwbTopmost, kwbCustom}, kwbCustom, NullRect},
    };
    for (const TButtonCase& c : cases) {
        const TteWindowInfo info =
            WindowInfo({0, 0, 300, 200}, {kwdsActive}, NullRect, c.buttons, u"", false);
        EXPECT_EQ(theme.WindowGetButtonRect(kwscStandard, info, c.asked, "default"), c.expected)
            << int(c.asked);
    }
}

TEST(BaseThemeTest, HitTestOfTheFrameStripsCaptionAndButtons) {
    TteTheme theme;
    const TteWindowInfo plain = WindowInfo({0, 0, 300, 200}, {}, NullRect, {}, u"", false);
    const TteWindowInfo closable =
        WindowInfo({0, 0, 300, 200}, {}, NullRect, {kwbClose, kwbSysMenu}, u"", false);
    const struct {
        TteWindowSubclass s;
        const TteWindowInfo* info;
        int x, y;
        TteWindowHitTest hit;
    } cases[] = {
        {kwscStandard, &plain, 0, 0, kwhtTopLeft},
        {kwscStandard, &plain, 299, 0, kwhtTopRight},
        {kwscStandard, &plain, 0, 199, kwhtBottomLeft},
        {kwscStandard, &plain, 299, 199, kwhtBottomRight},
        {kwscStandard, &plain, 2, 100, kwhtLeft},
        {kwscStandard, &plain, 298, 100, kwhtRight},
        {kwscStandard, &plain, 150, 198, kwhtBottom},
        {kwscStandard, &plain, 150, 1, kwhtTop},
        {kwscStandard, &plain, 150, 10, kwhtCaption},
        {kwscStandard, &plain, 285, 10, kwhtCaption},  // no buttons: the close place is caption
        {kwscStandard, &plain, 150, 100, kwhtClient},
        {kwscStandard, &closable, 285, 10, kwhtCloseButton},
        {kwscStandard, &closable, 10, 10, kwhtSysMenu},
        {kwscDialog, &closable, 285, 10, kwhtCloseButton},
        {kwscToolWindow, &plain, 0, 0, kwhtTopLeft},
        {kwscMessage, &plain, 0, 0, kwhtClient},
        {kwscNoBorder, &closable, 285, 10, kwhtClient},
    };
    for (const auto& c : cases)
        EXPECT_EQ(theme.WindowGetHitTest(c.s, *c.info, c.x, c.y, "default"), c.hit) << c.x << "," << c.y;
}

// A theme that counts its resets.
class TCountingTheme : public TteTheme {
public:
    int Resets = 0;
    void ResetTheme() override {
        ++Resets;
        TteTheme::ResetTheme();
    }
};

TEST(BaseThemeTest, HueAndBrightnessResetOnceFromTheBase) {
    TCountingTheme theme;
    theme.ChangeThemeHue(0);
    EXPECT_EQ(theme.Resets, 0);
    theme.ChangeThemeHue(20);
    theme.ChangeThemeHue(20);
    EXPECT_EQ(theme.Resets, 1);
    const TColor shifted = theme.Colors()->GetColor(ktcCaptionNormal);
    EXPECT_EQ(shifted, teColorToColor(ChangeHue(teColor(clBlue, 255), 20)));
    theme.ChangeThemeHueAndBrightness(20, 0);
    EXPECT_EQ(theme.Resets, 1);
    theme.ChangeThemeHueAndBrightness(0, 0);
    EXPECT_EQ(theme.Resets, 2);
    EXPECT_EQ(theme.Colors()->GetColor(ktcCaptionNormal), clBlue);  // the deltas are absolute
}

TEST(BaseThemeTest, SystemColoursDoNotDriftOverRepeatedResets) {
    TteTheme theme;
    const TColor base = theme.SysColors()->GetColor(clBtnFace);
    theme.ChangeThemeBrightness(40);
    const TColor once = teColorToColor(ChangeBrightness(teColor(base, 255), 40));
    EXPECT_EQ(theme.SysColors()->GetColor(clBtnFace), once);
    for (int i = 0; i < 3; ++i) theme.ResetTheme();
    EXPECT_EQ(theme.SysColors()->GetColor(clBtnFace), once);
    theme.ChangeThemeBrightness(0);
    EXPECT_EQ(theme.SysColors()->GetColor(clBtnFace), base);
}

// A copy keeps the unshifted system colours it was shifted from: shifting
// the copy as far as the original gives the original's colours, not a
// second shift on top.
TEST(BaseThemeTest, ACopyOfAShiftedThemeShiftsFromTheSameBase) {
    TteTheme shifted, copy;
    const TColor base = shifted.SysColors()->GetColor(clHighlight);
    shifted.ChangeThemeHue(60);
    const TColor once = shifted.SysColors()->GetColor(clHighlight);
    ASSERT_NE(once, base);
    copy.Assign(&shifted);
    EXPECT_EQ(copy.SysColors()->GetColor(clHighlight), once) << "the copy looks the same";
    copy.ChangeThemeHue(60);
    EXPECT_EQ(copy.SysColors()->GetColor(clHighlight), once);
    copy.ChangeThemeHue(0);
    EXPECT_EQ(copy.SysColors()->GetColor(clHighlight), base);

    TteThemeSysColors direct;
    direct.Assign(shifted.SysColors());
    direct.RestoreBase();
    EXPECT_EQ(direct.GetColor(clHighlight), base);
}

TEST(BaseThemeTest, AssignCopiesLooksButNotShifts) {
    TteTheme a, b;
    a.Name = "A";
    a.FileName = "a.mskn";
    a.Colors()->SetColor(ktcList, 0x010101);
    a.Options()->SetOptions(ktoptOneEdit, true);
    a.ChangeThemeHue(30);
    b.Assign(&a);
    EXPECT_EQ(b.Name, "A");
    EXPECT_TRUE(b.FileName.empty());
    EXPECT_EQ(b.DeltaHue(), 0);
    EXPECT_EQ(b.Colors()->GetColor(ktcList), a.Colors()->GetColor(ktcList));
    EXPECT_TRUE(b.Options()->GetOptions(ktoptOneEdit));
    TteThemeOptions notATheme;
    EXPECT_THROW(b.Assign(&notATheme), EConvertError);
}

class BaseThemeCopyTest : public testing::ThemeCoreTest {};

TEST_F(BaseThemeCopyTest, CreateCopyMakesTheRegisteredClass) {
    TTestSkinTheme skin;
    skin.Name = "Copied";
    skin.Colors()->SetColor(ktcHint, clLime);
    std::unique_ptr<TteTheme> copy(skin.CreateCopy());
    ASSERT_NE(copy, nullptr);
    EXPECT_NE(dynamic_cast<TTestSkinTheme*>(copy.get()), nullptr);
    EXPECT_EQ(copy->Name, "Copied");
    EXPECT_EQ(copy->Colors()->GetColor(ktcHint), clLime);

    UnregisterTheme(ThemeClassOf<TteTheme>());
    TteTheme base;  // its class is no longer registered
    EXPECT_EQ(base.CreateCopy(), nullptr);
}

// ---- drawing -----------------------------------------------------------------

TEST(ThemeTextTest, AlignmentPlacesTheMeasuredTextInTheRectangle) {
    TteTheme theme;
    const WideString text = u"Button";
    TPaper probe(10, 10);
    probe.canvas.Font()->SetColor(clBlack);
    TRect m{0, 0, 100, 20};
    DrawText(probe.canvas, text, m, DT_SINGLELINE | DT_CALCRECT);
    const int w = m.Width(), h = m.Height();
    ASSERT_GT(w, 0);
    ASSERT_LT(w, 100);

    const struct {
        TteTextAlign align;
        TteTextStyles style;
        int dx, dy;
    } cases[] = {
        {ktxaMiddleCenter, {ktxsSingleLine}, (100 - w) / 2, (20 - h) / 2},
        {ktxaBottomRight, {ktxsSingleLine}, 100 - w, 20 - h},
        {ktxaTopLeft, {ktxsSingleLine, ktxsRTLReading}, 100 - w, 0},  // mirrored to the right
        {ktxaTopCenter, {ktxsSingleLine}, (100 - w) / 2, 0},
    };
    for (const auto& c : cases) {
        TPaper s(100, 20);
        s.canvas.Font()->SetColor(clBlack);
        theme.DrawThemeText(s.canvas, TextInfo({0, 0, 100, 20}, text, c.align, c.style, ktxoHorizontal));
        const std::optional<TRect> ink = s.Ink();
        ASSERT_TRUE(ink.has_value()) << int(c.align);
        EXPECT_GE(ink->left, c.dx) << int(c.align);
        EXPECT_LE(ink->right, c.dx + w) << int(c.align);
        EXPECT_GE(ink->top, c.dy) << int(c.align);
        EXPECT_LE(ink->bottom, c.dy + h) << int(c.align);
        EXPECT_LE(ink->left - c.dx, 3) << int(c.align);  // the ink starts where the cell does
    }
}

TEST(ThemeTextTest, VerticalTextDrawsOnlyTopLeftAndMiddleCenter) {
    TteTheme theme;
    for (TteTextAlign align : {ktxaTopLeft, ktxaMiddleCenter, ktxaBottomRight}) {
        TPaper s(40, 100);
        s.canvas.Font()->SetColor(clBlack);
        theme.DrawThemeText(s.canvas, TextInfo({0, 0, 40, 100}, u"Side", align, {}, ktxoVerticalTop));
        EXPECT_EQ(s.Ink().has_value(), align != ktxaBottomRight) << int(align);
    }
}

TEST(BaseThemeDrawTest, ButtonStatesFillWithTheirColours) {
    TteTheme theme;
    theme.Colors()->SetColor(ktcButtonPressed, clRed);
    theme.Colors()->SetColor(ktcButtonFocused, clLime);
    const struct {
        TteButtonDrawState state;
        uint32_t centre;
    } cases[] = {{kbdsPressed, 0xFF0000}, {kbdsNormal, 0x00FF00}, {kbdsDisabled, 0xFFFFFF}};
    for (const auto& c : cases) {
        TPaper s(20, 20);
        theme.ButtonDraw(kbscButton, s.canvas, ButtonInfo({0, 0, 20, 20}, c.state), "default");
        EXPECT_EQ(s.bitmap.GetPixel(10, 10) & 0xFFFFFF, c.centre) << int(c.state);
        if (c.state != kbdsDisabled) {
            EXPECT_EQ(s.bitmap.GetPixel(0, 0) & 0xFFFFFF, 0u);  // the black frame
        }
    }
}

TEST(BaseThemeDrawTest, ListGlyphBoxesAreCentredSixteenPixels) {
    TteTheme theme;
    TPaper s(40, 40);
    theme.ListDrawGlyph(klscListBox, s.canvas, ListItemInfo({}, klidsNormal),
                        ListGlyphInfo({0, 0, 40, 40}, klgChecked), "default");
    EXPECT_EQ(s.Ink(), (TRect{12, 12, 28, 28}));
    EXPECT_EQ(s.bitmap.GetPixel(20, 20) & 0xFFFFFF, 0u);         // checked: black inside
    EXPECT_EQ(s.bitmap.GetPixel(13, 13) & 0xFFFFFF, 0xFF0000u);  // red box
}

// The group frame saves and restores the DC; the canvas must not believe
// afterwards that its clear brush is still in the DC.
TEST(BaseThemeDrawTest, GroupFrameLeavesTheCanvasItsOwnPenAndBrush) {
    TteTheme theme;
    TPaper s(40, 40);
    s.bitmap.Clear(0xFFFF0000);
    theme.GroupDraw(kgscGroupBox, s.canvas, GroupInfo({0, 0, 40, 40}, {}, kgdsNormal), "default");
    EXPECT_EQ(s.At(5, 9), 0u) << "the frame";
    s.canvas.Rectangle(20, 20, 30, 30);  // the frame's black pen and clear brush, unchanged
    EXPECT_EQ(s.At(20, 20), 0u);
    EXPECT_EQ(s.At(25, 25), 0xFF0000u) << "the clear brush leaves the inside";
}

// A sheet of the base look: frame with caption and buttons, buttons in their
// states, check glyphs, lists and the other families.
TEST(BaseThemeDrawTest, RendersTheBaseSheet) {
    TteTheme theme;
    TPaper s(660, 440);
    TCanvas& c = s.canvas;

    const TteWindowInfo win = WindowInfo({0, 0, 300, 200}, {kwdsActive}, NullRect,
                                         {kwbSysMenu, kwbClose, kwbMax, kwbMin, kwbRoll, kwbTray, kwbHelp},
                                         u"Active Window", false);
    theme.WindowDrawClient(kwscStandard, c, {4, 22, 296, 196}, "default");
    theme.WindowDraw(kwscStandard, c, win, "default");
    theme.WindowDrawText(kwscStandard, c, win, theme.WindowGetTitleRect(kwscStandard, win, "default"),
                         "default");
    for (TteWindowButtonClass b : {kwbClose, kwbMax, kwbMin, kwbRoll, kwbTray, kwbHelp})
        theme.WindowDrawButton(kwscStandard, c,
                               WindowButtonInfo(theme.WindowGetButtonRect(kwscStandard, win, b, "default"), b,
                                                b == kwbMin ? kwbdsPressed : kwbdsNormal, nullptr),
                               "default");
    theme.WindowDrawGripper(kwscStandard, c, WindowGripperInfo({280, 180, 296, 196}, true), "default");

    int x = 330;
    for (TteButtonDrawState st : {kbdsNormal, kbdsHot, kbdsPressed, kbdsFocused}) {
        const TteButtonInfo b = ButtonInfo({x, 20, x + 70, 45}, st);
        theme.ButtonDraw(kbscButton, c, b, "default");
        c.SetFont(theme.Fonts()->GetFont(ktfButtonTextNormal));
        theme.ButtonDrawText(kbscButton, c, b,
                             TextInfo(b.Rect, u"Button", ktxaMiddleCenter, {ktxsSingleLine}, ktxoHorizontal),
                             "default");
        x += 78;
    }
    x = 330;
    for (TteListGlyph g : {klgChecked, klgUnchecked, klgMixed}) {
        theme.ListDrawGlyph(klscListBox, c, ListItemInfo({}, klidsNormal),
                            ListGlyphInfo({x, 60, x + 20, 80}, g), "default");
        x += 30;
    }
    c.Font()->SetColor(clBlack);
    theme.MenuDrawItemGlyph(kmscPopupMenu, c, MenuItemInfo({}, kmicNormal, kmidsNormal),
                            MenuGlyphInfo({x, 60, x + 20, 80}, kmgCheckGlyph), "default");
    theme.MenuDrawItemGlyph(kmscPopupMenu, c, MenuItemInfo({}, kmicNormal, kmidsNormal),
                            MenuGlyphInfo({x + 30, 60, x + 50, 80}, kmgRadioGlyph), "default");

    theme.ListDraw(klscListBox, c, ListInfo({330, 100, 480, 210}), "default");
    int y = 105;
    for (TteListItemDrawState st : {klidsNormal, klidsHot, klidsSelected, klidsFocused, klidsDisabled}) {
        const TRect r{334, y, 476, y + 20};
        theme.ListDrawItem(klscListBox, c, ListItemInfo(r, st), "default");
        theme.ListDrawText(klscListBox, c, ListItemInfo(r, st),
                           TextInfo(r, u"List item", ktxaMiddleLeft, {ktxsSingleLine}, ktxoHorizontal),
                           "default");
        y += 20;
    }
    theme.GridDraw(kgscGrid, c, GridInfo({500, 100, 650, 210}), "default");
    theme.GridDrawItem(kgscGrid, c, GridItemInfo({504, 104, 576, 124}, kgidsNormal, kgicFixed), "default");
    theme.GridDrawItem(kgscGrid, c, GridItemInfo({576, 104, 646, 124}, kgidsSelected, kgicNormal), "default");

    theme.PanelDraw(kpscPanel, c, PanelInfo({10, 230, 150, 290}), "default");
    theme.PanelDraw(kpscHeader, c, PanelInfo({160, 230, 300, 290}), "default");
    theme.GroupDraw(kgscGroupBox, c, GroupInfo({310, 230, 450, 290}, {}, kgdsNormal), "default");
    theme.HeaderDrawSection(khscHeader, c, HeaderSectionInfo({460, 230, 550, 250}, khssFirst, khdsNormal),
                            "default");
    theme.HeaderDrawSection(khscHeader, c, HeaderSectionInfo({550, 230, 640, 250}, khssLast, khdsHot),
                            "default");
    theme.ScrollDrawButton(ksscScrollBar, c, ScrollButtonInfo({10, 300, 30, 320}, ksbdsNormal, ksbcUp),
                           "default");
    theme.ScrollDrawArea(ksscScrollBar, c, ScrollAreaInfo({10, 320, 30, 380}, ksadsNormal, ksacVertical),
                         "default");
    theme.ScrollDrawButton(ksscScrollBar, c, ScrollButtonInfo({10, 330, 30, 350}, ksbdsHot, ksbcVertSlider),
                           "default");
    theme.ScrollDrawButton(ksscScrollBar, c, ScrollButtonInfo({10, 380, 30, 400}, ksbdsPressed, ksbcDown),
                           "default");
    theme.MenuDraw(kmscPopupMenu, c, MenuInfo({50, 300, 200, 420}), "default");
    y = 305;
    for (TteMenuItemDrawState st : {kmidsNormal, kmidsHot, kmidsSelected, kmidsDisabled}) {
        theme.MenuDrawItem(kmscPopupMenu, c, MenuItemInfo({53, y, 197, y + 20}, kmicNormal, st), "default");
        y += 20;
    }
    theme.MenuDrawItem(kmscPopupMenu, c, MenuItemInfo({53, y, 197, y + 10}, kmicSeparator, kmidsNormal),
                       "default");
    theme.EditDraw(kescEdit, c, EditInfo({220, 300, 360, 322}, kedsNormal), "default");
    theme.HintDraw(khscHintWindow, c, HintInfo({220, 330, 360, 360}), "default");
    theme.StatusDraw(ksscStatusBar, c, StatusInfo({220, 400, 640, 420}), "default");
    theme.TabDraw(ktscTab, c, TabInfo({380, 300, 640, 390}), "default");
    theme.TabDrawItem(ktscTab, c, TabItemInfo({384, 304, 440, 324}, ktisTopFirst, ktidsActive), "default");
    theme.TrackDraw(ktscTrackBar, c, TrackInfo({450, 340, 630, 360}), "default");
    theme.TrackDrawThumb(ktscTrackBar, c, TrackThumbInfo({530, 335, 542, 365}, ktbmHorzBoth, kttdsNormal),
                         "default");

    EXPECT_EQ(s.bitmap.GetPixel(0, 100) & 0xFFFFFF, 0u);           // the frame's black line
    EXPECT_EQ(s.bitmap.GetPixel(30, 6) & 0xFFFFFF, 0x0000FFu);     // blue caption band
    EXPECT_EQ(s.bitmap.GetPixel(100, 100) & 0xFFFFFF, 0xC0C0C0u);  // silver client
    const String path = String(TARVEL_BINARY_DIR) + "/skin_base_theme_sheet.png";
    ASSERT_TRUE(WritePng(*GetBitmapSurface(s.bitmap.Handle()), path.c_str()));
    EXPECT_TRUE(
        reference::MatchesReference(*GetBitmapSurface(s.bitmap.Handle()), "skin/core/base_theme_sheet.png"));
}

}  // namespace
}  // namespace tarvel
