// The visual-style theme's controls, menus and bars against a test
// container whose every class draws a strip of sixteen coloured frames:
// which object each operation draws and with which state index, the
// thumb-size probe, the squeezed thumb, the fill-colour swaps, the caption
// of a group box, and the kinds drawn from colours rather than objects.
#include <gtest/gtest.h>

#include <functional>

#include "MsStylesFixture.h"
#include "tests/skin/PaperFixture.h"

namespace tarvel::testing {
namespace {

using MsStylesControlsTest = MsStylesTest;
using TDraw = std::function<void(TTeThemeMsStyles&, TCanvas&, const TRect&)>;

constexpr TRect kCell{0, 0, 20, 20};

// The state index drawn at the cell's centre, 0 for none.
int DrawnState(TTeThemeMsStyles& theme, const TDraw& draw) {
    TPaper paper(20, 20);
    draw(theme, paper.canvas, kCell);
    return StateOf(paper.bitmap.GetPixel(10, 10));
}

TEST_F(MsStylesControlsTest, EachOperationDrawsItsObjectWithItsStateIndex) {
    Load();
    const struct {
        const char* what;
        TDraw draw;
        int state;
    } cases[] = {
        // buttons
        {"button normal",
         [](auto& t, auto& c, auto& r) { t.ButtonDraw(kbscButton, c, ButtonInfo(r, kbdsNormal), "default"); },
         1},
        {"button hot",
         [](auto& t, auto& c, auto& r) { t.ButtonDraw(kbscButton, c, ButtonInfo(r, kbdsHot), "default"); },
         2},
        {"button focused hot",
         [](auto& t, auto& c, auto& r) {
             t.ButtonDraw(kbscButton, c, ButtonInfo(r, kbdsFocusedHot), "default");
         },
         2},
        {"button default hot",
         [](auto& t, auto& c, auto& r) {
             t.ButtonDraw(kbscButton, c, ButtonInfo(r, kbdsDefaultHot), "default");
         },
         2},
        {"button pressed",
         [](auto& t, auto& c, auto& r) {
             t.ButtonDraw(kbscButton, c, ButtonInfo(r, kbdsPressed), "default");
         },
         3},
        {"button checked",
         [](auto& t, auto& c, auto& r) {
             t.ButtonDraw(kbscButton, c, ButtonInfo(r, kbdsChecked), "default");
         },
         3},
        {"button checked hot",
         [](auto& t, auto& c, auto& r) {
             t.ButtonDraw(kbscButton, c, ButtonInfo(r, kbdsCheckedHot), "default");
         },
         3},
        {"button checked focused",
         [](auto& t, auto& c, auto& r) {
             t.ButtonDraw(kbscButton, c, ButtonInfo(r, kbdsCheckedFocused), "default");
         },
         3},
        {"button disabled",
         [](auto& t, auto& c, auto& r) {
             t.ButtonDraw(kbscButton, c, ButtonInfo(r, kbdsDisabled), "default");
         },
         4},
        {"button checked disabled",
         [](auto& t, auto& c, auto& r) {
             t.ButtonDraw(kbscButton, c, ButtonInfo(r, kbdsCheckedDisabled), "default");
         },
         4},
        {"button focused",
         [](auto& t, auto& c, auto& r) {
             t.ButtonDraw(kbscButton, c, ButtonInfo(r, kbdsFocused), "default");
         },
         5},
        {"button default",
         [](auto& t, auto& c, auto& r) {
             t.ButtonDraw(kbscButton, c, ButtonInfo(r, kbdsDefault), "default");
         },
         5},
        // check and radio boxes
        {"unchecked",
         [](auto& t, auto& c, auto& r) {
             t.CheckDraw(kcscCheckBox, c, CheckInfo(r, kcdsUncheckedNormal), "default");
         },
         1},
        {"unchecked focused",
         [](auto& t, auto& c, auto& r) {
             t.CheckDraw(kcscCheckBox, c, CheckInfo(r, kcdsUncheckedFocused), "default");
         },
         1},
        {"unchecked hot",
         [](auto& t, auto& c, auto& r) {
             t.CheckDraw(kcscCheckBox, c, CheckInfo(r, kcdsUncheckedHot), "default");
         },
         2},
        {"unchecked pressed",
         [](auto& t, auto& c, auto& r) {
             t.CheckDraw(kcscCheckBox, c, CheckInfo(r, kcdsUncheckedPressed), "default");
         },
         3},
        {"unchecked disabled",
         [](auto& t, auto& c, auto& r) {
             t.CheckDraw(kcscCheckBox, c, CheckInfo(r, kcdsUncheckedDisabled), "default");
         },
         4},
        {"checked",
         [](auto& t, auto& c, auto& r) {
             t.CheckDraw(kcscCheckBox, c, CheckInfo(r, kcdsCheckedNormal), "default");
         },
         5},
        {"checked focused",
         [](auto& t, auto& c, auto& r) {
             t.CheckDraw(kcscRadioButton, c, CheckInfo(r, kcdsCheckedFocused), "default");
         },
         5},
        {"checked hot",
         [](auto& t, auto& c, auto& r) {
             t.CheckDraw(kcscCheckBox, c, CheckInfo(r, kcdsCheckedHot), "default");
         },
         6},
        {"checked pressed",
         [](auto& t, auto& c, auto& r) {
             t.CheckDraw(kcscCheckBox, c, CheckInfo(r, kcdsCheckedPressed), "default");
         },
         7},
        {"checked disabled",
         [](auto& t, auto& c, auto& r) {
             t.CheckDraw(kcscRadioButton, c, CheckInfo(r, kcdsCheckedDisabled), "default");
         },
         8},
        {"mixed",
         [](auto& t, auto& c, auto& r) {
             t.CheckDraw(kcscCheckBox, c, CheckInfo(r, kcdsMixedNormal), "default");
         },
         9},
        {"mixed hot",
         [](auto& t, auto& c, auto& r) {
             t.CheckDraw(kcscCheckBox, c, CheckInfo(r, kcdsMixedHot), "default");
         },
         10},
        {"mixed pressed",
         [](auto& t, auto& c, auto& r) {
             t.CheckDraw(kcscCheckBox, c, CheckInfo(r, kcdsMixedPressed), "default");
         },
         11},
        {"mixed disabled",
         [](auto& t, auto& c, auto& r) {
             t.CheckDraw(kcscCheckBox, c, CheckInfo(r, kcdsMixedDisabled), "default");
         },
         12},
        // scroll bars: arrows by direction, tracks whatever the state
        {"arrow up",
         [](auto& t, auto& c, auto& r) {
             t.ScrollDrawButton(ksscScrollBar, c, ScrollButtonInfo(r, ksbdsNormal, ksbcUp), "default");
         },
         1},
        {"arrow down hot",
         [](auto& t, auto& c, auto& r) {
             t.ScrollDrawButton(ksscScrollBar, c, ScrollButtonInfo(r, ksbdsHot, ksbcDown), "default");
         },
         6},
        {"arrow left pressed",
         [](auto& t, auto& c, auto& r) {
             t.ScrollDrawButton(ksscScrollBar, c, ScrollButtonInfo(r, ksbdsPressed, ksbcLeft), "default");
         },
         11},
        {"arrow right disabled",
         [](auto& t, auto& c, auto& r) {
             t.ScrollDrawButton(ksscScrollBar, c, ScrollButtonInfo(r, ksbdsDisabled, ksbcRight), "default");
         },
         16},
        {"page up hot",
         [](auto& t, auto& c, auto& r) {
             t.ScrollDrawButton(ksscScrollBar, c, ScrollButtonInfo(r, ksbdsHot, ksbcPageUp), "default");
         },
         2},
        {"slider pressed",
         [](auto& t, auto& c, auto& r) {
             t.ScrollDrawButton(ksscScrollBar, c, ScrollButtonInfo(r, ksbdsPressed, ksbcVertSlider),
                                "default");
         },
         3},
        {"track pressed",
         [](auto& t, auto& c, auto& r) {
             t.ScrollDrawArea(ksscScrollBar, c, ScrollAreaInfo(r, ksadsPressed, ksacVertical), "default");
         },
         1},
        {"track hot",
         [](auto& t, auto& c, auto& r) {
             t.ScrollDrawArea(ksscScrollBar, c, ScrollAreaInfo(r, ksadsHot, ksacHorizontal), "default");
         },
         1},
        // edits, track bars
        {"drop-down hot",
         [](auto& t, auto& c, auto& r) {
             t.EditDrawButton(kescComboBox, c, EditButtonInfo(r, kebdsHot, kebcDropDown), "default");
         },
         2},
        {"drop-down focused",
         [](auto& t, auto& c, auto& r) {
             t.EditDrawButton(kescComboBox, c, EditButtonInfo(r, kebdsFocused, kebcUp), "default");
         },
         1},
        {"drop-down disabled",
         [](auto& t, auto& c, auto& r) {
             t.EditDrawButton(kescEdit, c, EditButtonInfo(r, kebdsDisabled, kebcDialog), "default");
         },
         4},
        {"thumb focused",
         [](auto& t, auto& c, auto& r) {
             t.TrackDrawThumb(ktscTrackBar, c, TrackThumbInfo(r, ktbmHorzBoth, kttdsFocused), "default");
         },
         4},
        {"thumb disabled",
         [](auto& t, auto& c, auto& r) {
             t.TrackDrawThumb(ktscTrackBar, c, TrackThumbInfo(r, ktbmVertLeft, kttdsDisabled), "default");
         },
         5},
        // headers, tool bars, tabs, explorer bars, menus' MDI buttons, list check glyphs
        {"header hot",
         [](auto& t, auto& c, auto& r) {
             t.HeaderDrawSection(khscHeader, c, HeaderSectionInfo(r, khssMiddle, khdsHot), "default");
         },
         2},
        {"header dragging",
         [](auto& t, auto& c, auto& r) {
             t.HeaderDrawSection(khscHeader, c, HeaderSectionInfo(r, khssMiddle, khdsDragging), "default");
         },
         2},
        {"header under drag",
         [](auto& t, auto& c, auto& r) {
             t.HeaderDrawSection(khscHeader, c, HeaderSectionInfo(r, khssFirst, khdsUnderDrag), "default");
         },
         3},
        {"header disabled",
         [](auto& t, auto& c, auto& r) {
             t.HeaderDrawSection(khscHeader, c, HeaderSectionInfo(r, khssLast, khdsDisabled), "default");
         },
         1},
        {"tool checked pressed",
         [](auto& t, auto& c, auto& r) {
             t.ToolDrawItem(ktscToolBar, c, ToolItemInfo(r, kticNormal, mtidsCheckedPressed), "default");
         },
         3},
        {"tool unused",
         [](auto& t, auto& c, auto& r) {
             t.ToolDrawItem(ktscToolBar, c, ToolItemInfo(r, kticDropDown, mtidsUnused), "default");
         },
         5},
        {"tool checked hot",
         [](auto& t, auto& c, auto& r) {
             t.ToolDrawItem(ktscToolBar, c, ToolItemInfo(r, kticComboButton, mtidsCheckedHot), "default");
         },
         6},
        {"gripper hot",
         [](auto& t, auto& c, auto& r) {
             t.ToolDrawItem(ktscToolBar, c, ToolItemInfo(r, kticGripper, mtidsHot), "default");
         },
         1},
        {"tool close",
         [](auto& t, auto& c, auto& r) {
             t.ToolDrawItem(ktscToolBar, c, ToolItemInfo(r, kticClose, mtidsHot), "default");
         },
         0},
        {"tab active hot",
         [](auto& t, auto& c, auto& r) {
             t.TabDrawItem(ktscTab, c, TabItemInfo(r, ktisTopMiddle, ktidsActiveHot), "default");
         },
         3},
        {"tab active disabled",
         [](auto& t, auto& c, auto& r) {
             t.TabDrawItem(ktscTab, c, TabItemInfo(r, ktisTopFirst, ktidsActiveDisabled), "default");
         },
         4},
        {"tab right pressed",
         [](auto& t, auto& c, auto& r) {
             t.TabDrawButton(ktscTab, c, TabButtonInfo(r, ktbcRight, ktbdsPressed), "default");
         },
         15},
        {"tab close hot",
         [](auto& t, auto& c, auto& r) {
             t.TabDrawButton(ktscTab, c, TabButtonInfo(r, ktbcClose, ktbdsHot), "default");
         },
         2},
        {"bar button disabled",
         [](auto& t, auto& c, auto& r) {
             t.BarDrawButton(kbscExplorerBar, c, BarButtonInfo(r, kbbcUp, kbbdsDisabled), "default");
         },
         1},
        {"bar button pressed",
         [](auto& t, auto& c, auto& r) {
             t.BarDrawButton(kbscExplorerBar, c, BarButtonInfo(r, kbbcDown, kbbdsPressed), "default");
         },
         3},
        {"MDI close selected",
         [](auto& t, auto& c, auto& r) {
             t.MenuDrawItem(kmscMenuBar, c, MenuItemInfo(r, kmicClose, kmidsSelected), "default");
         },
         2},
        {"MDI min disabled",
         [](auto& t, auto& c, auto& r) {
             t.MenuDrawItem(kmscMenuBar, c, MenuItemInfo(r, kmicMin, kmidsDisabled), "default");
         },
         3},
        {"MDI restore unused",
         [](auto& t, auto& c, auto& r) {
             t.MenuDrawItem(kmscMenuBar, c, MenuItemInfo(r, kmicRestore, kmidsUnused), "default");
         },
         0},
        {"list checked",
         [](auto& t, auto& c, auto& r) {
             t.ListDrawGlyph(klscListBox, c, ListItemInfo(r, klidsNormal), ListGlyphInfo(r, klgChecked),
                             "default");
         },
         5},
        {"list mixed",
         [](auto& t, auto& c, auto& r) {
             t.ListDrawGlyph(klscListBox, c, ListItemInfo(r, klidsNormal), ListGlyphInfo(r, klgMixed),
                             "default");
         },
         9},
    };
    for (const auto& c : cases) EXPECT_EQ(DrawnState(theme, c.draw), c.state) << c.what;
}

TEST_F(MsStylesControlsTest, EachOperationTakesTheObjectOfItsKind) {
    const struct {
        const char* section;
        TDraw draw;
    } cases[] = {
        {"Spin.Downhorz",
         [](auto& t, auto& c, auto& r) {
             t.ButtonDraw(kbscSpinLeft, c, ButtonInfo(r, kbdsNormal), "default");
         }},
        {"Spin.Uphorz",
         [](auto& t, auto& c, auto& r) {
             t.ButtonDraw(kbscSpinRight, c, ButtonInfo(r, kbdsNormal), "default");
         }},
        {"Button.Pushbutton",
         [](auto& t, auto& c, auto& r) {
             t.ButtonDraw(kbscSpinPlus, c, ButtonInfo(r, kbdsNormal), "default");
         }},
        {"button.radiobutton",
         [](auto& t, auto& c, auto& r) {
             t.CheckDraw(kcscRadioButton, c, CheckInfo(r, kcdsUncheckedNormal), "default");
         }},
        {"ScrollBar.UpperTrackHorz",
         [](auto& t, auto& c, auto& r) {
             t.ScrollDrawArea(ksscScrollBar, c, ScrollAreaInfo(r, ksadsNormal, ksacHorizontal), "default");
         }},
        {"Progress.ChunkVert",
         [](auto& t, auto& c, auto& r) {
             t.ProgressDraw(kpscProgressBar, c, ProgressInfo(r, kppSolidVert, kpdsNormal), "default");
         }},
        {"Progress.Bar",
         [](auto& t, auto& c, auto& r) {
             t.ProgressDraw(kpscProgressBar, c, ProgressInfo(r, kppBarHorz, kpdsNormal), "default");
         }},
        {"TrackBar.TrackVert",
         [](auto& t, auto& c, auto& r) {
             t.TrackBarDraw(ktscTrackBar, c, TrackBarInfo(r, ktbcVertical, ktrbdsNormal), "default");
         }},
        {"TrackBar.ThumbBottom",
         [](auto& t, auto& c, auto& r) {
             t.TrackDrawThumb(ktscTrackBar, c, TrackThumbInfo(r, ktbmHorzBottom, kttdsNormal), "default");
         }},
        {"Combobox.DropDownButton",
         [](auto& t, auto& c, auto& r) {
             t.EditDrawButton(kescEdit, c, EditButtonInfo(r, kebdsNormal, kebcUp), "default");
         }},
        {"status.gripperpane",
         [](auto& t, auto& c, auto& r) {
             t.StatusDrawPanel(ksscStatusBar, c, StatusPanelInfo(r, kspcGripperPanel), "default");
         }},
        {"status.pane",
         [](auto& t, auto& c, auto& r) {
             t.StatusDrawPanel(ksscStatusBar, c, StatusPanelInfo(r, kspcDisabled), "default");
         }},
        {"toolbar.splitbuttondropdown",
         [](auto& t, auto& c, auto& r) {
             t.ToolDrawItem(ktscToolBar, c, ToolItemInfo(r, kticComboDropDown, mtidsNormal), "default");
         }},
        {"toolbar.button",
         [](auto& t, auto& c, auto& r) {
             t.ToolDrawItem(ktscToolBar, c, ToolItemInfo(r, kticExpandButton, mtidsNormal), "default");
         }},
        {"rebar.grippervert",
         [](auto& t, auto& c, auto& r) {
             t.ToolDrawItem(ktscToolBar, c, ToolItemInfo(r, kticGripperVert, mtidsNormal), "default");
         }},
        {"rebar", [](auto& t, auto& c, auto& r) { t.DockDraw(kdscDock, c, DockInfo(r), "default"); }},
        {"tab.pane", [](auto& t, auto& c, auto& r) { t.TabDraw(ktscTab, c, TabInfo(r), "default"); }},
        {"tab.toptabitemleftedge",
         [](auto& t, auto& c, auto& r) {
             t.TabDrawItem(ktscTab, c, TabItemInfo(r, ktisTopFirst, ktidsNormal), "default");
         }},
        {"tab.toptabitem",
         [](auto& t, auto& c, auto& r) {
             t.TabDrawItem(ktscTab, c, TabItemInfo(r, ktisTopLast, ktidsNormal), "default");
         }},
        {"explorerbar.SpecialGroupBackground",
         [](auto& t, auto& c, auto& r) {
             t.BarDraw(kbscExplorerBar, c, BarInfo(r, false, false), "default");
         }},
        {"explorerbar.headerclose",
         [](auto& t, auto& c, auto& r) {
             t.BarDrawButton(kbscExplorerBar, c, BarButtonInfo(r, kbbcClose, kbbdsNormal), "default");
         }},
        {"listview", [](auto& t, auto& c, auto& r) { t.GridDraw(kgscGrid, c, GridInfo(r), "default"); }},
        {"Window.MDIRestoreButton",
         [](auto& t, auto& c, auto& r) {
             t.MenuDrawItem(kmscPopupMenu, c, MenuItemInfo(r, kmicRestore, kmidsNormal), "default");
         }},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.section);
        // Only that class has a picture: the others draw nothing.
        Load(StripSection(c.section));
        EXPECT_EQ(DrawnState(theme, c.draw), 1);
    }
}

TEST_F(MsStylesControlsTest, AnExplorerBarsCloseButtonFallsBackToTheWindows) {
    Load(StripSection("Window.CloseButton"));
    EXPECT_EQ(DrawnState(theme,
                         [](auto& t, auto& c, auto& r) {
                             t.BarDrawButton(kbscExplorerBar, c, BarButtonInfo(r, kbbcClose, kbbdsHot),
                                             "default");
                         }),
              2);
}

TEST_F(MsStylesControlsTest, TheThumbSizeProbeAnswersATrueSizeFrame) {
    const TStyleImage thumb = TStyleImage::Paint("THUMB_BMP", 22, 9, [](int, int) { return 0xFF445566u; });
    TPaper paper(1, 1);
    const TteTrackThumbInfo info = TrackThumbInfo({0, 0, 30, 30}, ktbmHorzBoth, kttdsNormal);
    const struct {
        const char* section;
        TPoint size;
    } cases[] = {
        {"[TrackBar.Thumb]\r\nimagefile=thumb.bmp\r\nimagecount=2\r\nsizingtype=truesize\r\n", {11, 9}},
        {"[TrackBar.Thumb]\r\nimagefile=thumb.bmp\r\nimagecount=2\r\nsizingtype=stretch\r\n", {0, 0}},
        {"[TrackBar.Thumb]\r\nimagefile=none.bmp\r\nsizingtype=truesize\r\n", {0, 0}},
        {"[TrackBar.Thumb]\r\nfillcolor=1 2 3\r\nsizingtype=truesize\r\n", {0, 0}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.section);
        Load(c.section, {thumb});
        EXPECT_EQ(theme.TrackGetThumbSize(ktscTrackBar, paper.canvas, info, "default"), c.size);
    }
}

TEST_F(MsStylesControlsTest, AThumbShorterThanItsImageIsSqueezedNotCut) {
    // 8 x 20: two red rows on top, two blue at the bottom, green between.
    const TStyleImage thumb = TStyleImage::Paint("THUMB_BMP", 8, 20, [](int, int y) {
        return y < 2 ? 0xFFFF0000u : y >= 18 ? 0xFF0000FFu : 0xFF00FF00u;
    });
    Load("[ScrollBar.ThumbBtnVert]\r\nimagefile=thumb.bmp\r\nsizingtype=truesize\r\n", {thumb});
    TPaper squeezed(8, 10);
    theme.ScrollDrawButton(ksscScrollBar, squeezed.canvas,
                           ScrollButtonInfo({0, 0, 8, 10}, ksbdsNormal, ksbcVertSlider), "default");
    EXPECT_EQ(squeezed.At(4, 0), 0xFF0000u);
    EXPECT_EQ(squeezed.At(4, 9), 0x0000FFu);
    EXPECT_EQ(squeezed.At(4, 5), 0x00FF00u);
    // Tall enough: drawn as it is, centred.
    TPaper whole(8, 30);
    theme.ScrollDrawButton(ksscScrollBar, whole.canvas,
                           ScrollButtonInfo({0, 0, 8, 30}, ksbdsNormal, ksbcVertSlider), "default");
    EXPECT_EQ(whole.At(4, 5), 0xFF0000u);
    EXPECT_EQ(whole.At(4, 24), 0x0000FFu);
    EXPECT_EQ(whole.At(4, 1), 0xFFFFFFu);
}

TEST_F(MsStylesControlsTest, EditsSwapInTheFillOfTheirStateAndPutItBack) {
    Load(
        "[edit]\r\nfillcolor=255 0 0\r\n[edit.edittext(disabled)]\r\nfillcolor=0 0 255\r\n"
        "[edit.edittext(readonly)]\r\nfillcolor=0 255 0\r\n[combobox]\r\nfillcolor=1 1 1\r\n"
        "[combobox(disabled)]\r\nfillcolor=2 2 2\r\n[SysMetrics]\r\nHighlight=9 8 7\r\n"
        "[Button.Pushbutton]\r\nimagefile=states.bmp\r\n");
    const struct {
        TteEditSubclass s;
        TteEditDrawState state;
        uint32_t colour;  // 0xRRGGBB, white when nothing is drawn
    } cases[] = {
        {kescEdit, kedsNormal, 0xFF0000},           {kescEdit, kedsFocusedHot, 0xFF0000},
        {kescEdit, kedsDisabled, 0x0000FF},         {kescEditBoth, kedsReadOnly, 0x00FF00},
        {kescEdit, kedsSelection, 0x090807},        {kescComboBox, kedsHot, 0x010101},
        {kescComboBoxLeft, kedsDisabled, 0x020202}, {kescComboBoxRight, kedsReadOnly, 0xFFFFFF},
        {kescComboBox, kedsSelection, 0xFFFFFF},    {kescSingleComboBox, kedsDisabled, 0x0000FF},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(::testing::Message() << int(c.s) << " state " << int(c.state));
        TPaper paper(10, 10);
        theme.EditDraw(c.s, paper.canvas, EditInfo({0, 0, 10, 10}, c.state), "default");
        EXPECT_EQ(paper.At(5, 5), c.colour);
    }
    EXPECT_EQ(theme.Object("edit")->FillColor, TColor(0x0000FF));
    EXPECT_EQ(theme.Object("combobox")->FillColor, TColor(0x010101));
    TPaper memo(10, 10);
    theme.MemoDraw(kmscMemo, memo.canvas, MemoInfo({0, 0, 10, 10}, kmdsReadOnly), "default");
    EXPECT_EQ(memo.At(5, 5), 0x00FF00u);
    EXPECT_EQ(theme.Object("edit")->FillColor, TColor(0x0000FF));
}

TEST_F(MsStylesControlsTest, AGroupBoxLeavesItsCaptionAlone) {
    Load("[button.groupbox]\r\nfillcolor=0 0 255\r\n[Button.Pushbutton]\r\nimagefile=states.bmp\r\n");
    TPaper paper(60, 40);
    theme.GroupDraw(kgscGroupBox, paper.canvas, GroupInfo({0, 0, 60, 40}, {10, 0, 30, 10}, kgdsNormal),
                    "default");
    EXPECT_EQ(paper.At(20, 5), 0xFFFFFFu);
    EXPECT_EQ(paper.At(40, 5), 0x0000FFu);
    EXPECT_EQ(paper.At(20, 20), 0x0000FFu);
    EXPECT_TRUE(theme.IsGroupDefined(kgscGroupBox, "default"));
    EXPECT_FALSE(theme.IsTrackDefined(ktscTrackBar, "default"));
    EXPECT_TRUE(theme.IsButtonDefined(kbscSpinUp, "default"));
}

// ---- kinds drawn from colours ----

class MsStylesColourKindsTest : public MsStylesTest {
protected:
    void SetUp() override {
        MsStylesTest::SetUp();
        Load(
            StripStyle("[SysMetrics]\r\nMenu=200 200 200\r\nMenuHilight=0 0 128\r\nBtnFace=100 100 100\r\n"
                       "Window=255 255 255\r\nHighlight=0 128 0\r\n"));
    }
    static constexpr uint32_t kMenu = 0xC8C8C8, kHilight = 0x000080, kFace = 0x646464;
};

TEST_F(MsStylesColourKindsTest, MenuItemsAreFilledWithTheMenuColours) {
    for (TteMenuSubclass s : {kmscMenuBar, kmscPopupMenu})
        for (TteMenuItemDrawState st : {kmidsNormal, kmidsHot, kmidsSelected, kmidsDisabled}) {
            TPaper paper(40, 20);
            theme.MenuDrawItem(s, paper.canvas, MenuItemInfo({0, 0, 40, 20}, kmicNormal, st), "default");
            EXPECT_EQ(paper.At(20, 10), st == kmidsHot || st == kmidsSelected ? kHilight : kMenu)
                << int(s) << " " << int(st);
        }
    TPaper popup(40, 40);
    theme.MenuDraw(kmscPopupMenu, popup.canvas, MenuInfo({0, 0, 40, 40}), "default");
    EXPECT_EQ(popup.At(0, 20), kHilight);
    EXPECT_EQ(popup.At(20, 20), kMenu);
    EXPECT_EQ(theme.MenuGetClientRect(kmscPopupMenu, MenuInfo({0, 0, 40, 40}), "default"),
              (TRect{2, 2, 38, 38}));
    EXPECT_EQ(theme.MenuGetClientRect(kmscMenuBar, MenuInfo({0, 0, 40, 40}), "default"),
              (TRect{0, 0, 40, 40}));
}

TEST_F(MsStylesColourKindsTest, ASeparatorIsALineAtItsMiddleShorterBy5OnEachSide) {
    TPaper paper(40, 9);
    theme.MenuDrawItem(kmscPopupMenu, paper.canvas, MenuItemInfo({0, 0, 40, 9}, kmicSeparator, kmidsNormal),
                       "default");
    for (int y = 0; y < 9; ++y)
        for (int x = 0; x < 40; ++x) {
            const bool line = y == 4 && x >= 5 && x < 35;
            EXPECT_EQ(paper.At(x, y), line ? kHilight : kMenu) << x << "," << y;
        }
}

TEST_F(MsStylesColourKindsTest, GridListAndPanelFillsComeFromTheSystemColours) {
    const auto cell = [&](TteGridItemClass cls, TteGridItemDrawState st) {
        TPaper paper(20, 20);
        theme.GridDrawItem(kgscGrid, paper.canvas, GridItemInfo({0, 0, 20, 20}, st, cls), "default");
        return std::pair{paper.At(10, 10), paper.At(0, 10)};
    };
    for (TteGridItemDrawState st : {kgidsNormal, kgidsHot, kgidsSelected, kgidsDisabled}) {
        const auto [centre, edge] = cell(kgicFixed, st);  // raised whatever its state
        EXPECT_EQ(centre, kFace);
        EXPECT_EQ(edge, 0x828282u);
    }
    EXPECT_EQ(cell(kgicNormal, kgidsNormal).first, 0xFFFFFFu);
    EXPECT_EQ(cell(kgicNormal, kgidsHot).first, kFace);
    EXPECT_EQ(cell(kgicNormal, kgidsFocused).first, 0x008000u);
    TPaper list(20, 20);
    theme.ListDrawItem(klscListBox, list.canvas, ListItemInfo({0, 0, 20, 20}, klidsSelected), "default");
    EXPECT_EQ(list.At(10, 10), 0x008000u);
    TPaper dock(20, 20);
    theme.BarDockDraw(kbdscBarDock, dock.canvas, BarDockInfo({0, 0, 20, 20}), "default");
    EXPECT_EQ(dock.At(0, 10), 0x464646u);  // sunken: dark on the left
    EXPECT_EQ(dock.At(19, 10), 0x828282u);
}

}  // namespace
}  // namespace tarvel::testing
