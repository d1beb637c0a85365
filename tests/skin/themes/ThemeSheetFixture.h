#pragma once
// A sheet of every element family a theme draws, in rows, each cell
// labelled: the pictures people look at for each theme.

#include "skin/core/te_theme.h"
#include "skin/core/te_utils_draw.h"
#include "tests/skin/PaperFixture.h"

namespace tarvel::testing {

// Draws one family after another in rows; each cell is labelled.
class TSheet {
public:
    TSheet(TteTheme& theme, TPaper& paper) : t_(theme), c_(paper.canvas) {}

    void Label(int x, int y, const char16_t* text) {
        c_.Font()->SetName("Tahoma");
        c_.Font()->SetColor(clBlack);
        c_.Font()->SetSize(8);
        c_.Font()->SetStyle({});
        TRect r{x, y, x + 400, y + 14};
        DrawText(c_, text, r, DT_SINGLELINE);
    }
    TteTextInfo Text(const TRect& r, const char16_t* s, TteTextAlign a = ktxaMiddleCenter) {
        return TextInfo(r, s, a, {ktxsSingleLine}, ktxoHorizontal);
    }
    void Font(TteThemeFont f) { c_.SetFont(t_.Fonts()->GetFont(f)); }

    // Frames stand at the top: caption buttons are placed from y = 3.
    void Frame(int x) {
        if (!t_.IsWindowDefined(kwscStandard, "default")) {
            Label(x, 20, u"window frame: none of its own (forms keep theirs)");
            return;
        }
        const TRect r{x, 0, x + 300, 160};
        const TteWindowButtons buttons{kwbSysMenu, kwbClose, kwbMax, kwbMin, kwbRoll, kwbTray, kwbHelp};
        for (bool active : {true, false}) {
            const TRect w = active ? r : TRect{r.left + 310, r.top, r.left + 510, r.top + 60};
            const TteWindowInfo info = WindowInfo(
                w, active ? TteWindowDrawStates{kwdsActive} : TteWindowDrawStates{}, NullRect,
                active ? buttons : TteWindowButtons{kwbClose}, active ? u"Active" : u"Inactive", false);
            t_.WindowDrawClient(kwscStandard, c_, t_.WindowGetClientRect(kwscStandard, w, "default"),
                                "default");
            t_.WindowDraw(kwscStandard, c_, info, "default");
            t_.WindowDrawText(kwscStandard, c_, info, t_.WindowGetTitleRect(kwscStandard, info, "default"),
                              "default");
            int i = 0;
            for (TteWindowButtonClass b : {kwbClose, kwbMax, kwbMin, kwbRoll, kwbTray, kwbHelp}) {
                const TteWindowButtonDrawState st = i == 1 ? kwbdsHot : i == 2 ? kwbdsPressed : kwbdsNormal;
                t_.WindowDrawButton(kwscStandard, c_,
                                    WindowButtonInfo(t_.WindowGetButtonRect(kwscStandard, info, b, "default"),
                                                     b, st, nullptr),
                                    "default");
                ++i;
            }
        }
        // The window's tool-window and roll-restore variants.
        const TRect tw{r.left + 520, r.top, r.left + 720, r.top + 60};
        const TteWindowInfo tool =
            WindowInfo(tw, {kwdsActive}, NullRect, {kwbClose, kwbRollRestore}, u"Tool", false);
        t_.WindowDraw(kwscToolWindow, c_, tool, "default");
        t_.WindowDrawText(kwscToolWindow, c_, tool, t_.WindowGetTitleRect(kwscToolWindow, tool, "default"),
                          "default");
        for (TteWindowButtonClass b : {kwbClose, kwbRollRestore})
            t_.WindowDrawButton(kwscToolWindow, c_,
                                WindowButtonInfo(t_.WindowGetButtonRect(kwscToolWindow, tool, b, "default"),
                                                 b, kwbdsNormal, nullptr),
                                "default");
    }

    void Buttons(int x, int y) {
        Label(x, y, u"buttons: normal, hot, pressed, focused, disabled");
        int cx = x;
        for (TteButtonDrawState st : {kbdsNormal, kbdsHot, kbdsPressed, kbdsFocused, kbdsDisabled}) {
            const TteButtonInfo b = ButtonInfo({cx, y + 16, cx + 70, y + 41}, st);
            t_.ButtonDraw(kbscButton, c_, b, "default");
            Font(st == kbdsDisabled ? ktfButtonTextDisabled : ktfButtonTextNormal);
            t_.ButtonDrawText(kbscButton, c_, b, Text(b.Rect, u"Button"), "default");
            cx += 76;
        }
        cx = x;
        for (TteButtonSubclass s :
             {kbscComboDropDown, kbscSpinUp, kbscSpinDown, kbscSpinLeft, kbscSpinRight}) {
            t_.ButtonDraw(s, c_, ButtonInfo({cx, y + 48, cx + 17, y + 65}, kbdsNormal), "default");
            t_.ButtonDraw(s, c_, ButtonInfo({cx + 19, y + 48, cx + 36, y + 65}, kbdsPressed), "default");
            cx += 42;
        }
    }

    void Checks(int x, int y) {
        Label(x, y, u"check and radio boxes");
        int cx = x;
        for (TteCheckDrawState st :
             {kcdsUncheckedNormal, kcdsUncheckedHot, kcdsCheckedNormal, kcdsCheckedHot, kcdsCheckedPressed,
              kcdsCheckedFocused, kcdsMixedNormal, kcdsMixedPressed}) {
            t_.CheckDraw(kcscCheckBox, c_, CheckInfo({cx, y + 18, cx + 13, y + 31}, st), "default");
            t_.CheckDraw(kcscRadioButton, c_, CheckInfo({cx, y + 38, cx + 13, y + 51}, st), "default");
            cx += 20;
        }
        Font(ktfCheckBoxTextNormal);
        t_.CheckDrawText(kcscCheckBox, c_, CheckInfo({}, kcdsCheckedNormal),
                         Text({cx, y + 16, cx + 80, y + 33}, u"Check box", ktxaMiddleLeft), "default");
    }

    void Groups(int x, int y) {
        Label(x, y, u"group box, panel, box, splitter");
        Font(ktfGroupBoxTextNormal);
        const TRect text{x + 10, y + 14, x + 70, y + 28};
        t_.GroupDraw(kgscGroupBox, c_, GroupInfo({x, y + 20, x + 140, y + 80}, text, kgdsNormal), "default");
        t_.GroupDrawText(kgscGroupBox, c_, GroupInfo({}, text, kgdsNormal), Text(text, u"Group"), "default");
        t_.PanelDraw(kpscPanel, c_, PanelInfo({x + 150, y + 20, x + 230, y + 80}), "default");
        t_.BoxDraw(kbscBox, c_, BoxInfo({x + 240, y + 20, x + 300, y + 80}, kbxdsNormal), "default");
        t_.SplitterDraw(ksscSplitter, c_, SplitterInfo({x + 310, y + 20, x + 316, y + 80}), "default");
    }

    void Edits(int x, int y) {
        Label(x, y, u"edits, combo, memo");
        const TRect e{x, y + 16, x + 120, y + 38};
        t_.EditDraw(kescEdit, c_, EditInfo(e, kedsNormal), "default");
        t_.EditDraw(kescEdit, c_, EditInfo({x + 4, y + 20, x + 40, y + 34}, kedsSelection), "default");
        Font(ktfEditBoxTextNormal);
        t_.DrawThemeText(c_, Text({x + 44, y + 16, x + 120, y + 38}, u"Edit", ktxaMiddleLeft));
        const TRect combo{x + 130, y + 16, x + 250, y + 38};
        t_.EditDraw(kescComboBox, c_, EditInfo(combo, kedsFocused), "default");
        t_.EditDrawButton(kescComboBox, c_,
                          EditButtonInfo({combo.right - 18, combo.top + 2, combo.right - 2, combo.bottom - 2},
                                         kebdsHot, kebcDropDown),
                          "default");
        t_.EditDrawButton(kescEdit, c_,
                          EditButtonInfo({x + 260, y + 16, x + 276, y + 27}, kebdsNormal, kebcUp), "default");
        t_.EditDrawButton(kescEdit, c_,
                          EditButtonInfo({x + 260, y + 27, x + 276, y + 38}, kebdsPressed, kebcDown),
                          "default");
        t_.MemoDraw(kmscMemo, c_, MemoInfo({x + 290, y + 16, x + 400, y + 60}, kmdsNormal), "default");
    }

    void Scrolls(int x, int y) {
        Label(x, y, u"scroll bars, progress and track bars");
        const TRect area{x, y + 16, x + 160, y + 32};
        t_.ScrollDrawArea(ksscScrollBar, c_, ScrollAreaInfo(area, ksadsNormal, ksacHorizontal), "default");
        t_.ScrollDrawButton(ksscScrollBar, c_,
                            ScrollButtonInfo({x, y + 16, x + 16, y + 32}, ksbdsNormal, ksbcLeft), "default");
        t_.ScrollDrawButton(ksscScrollBar, c_,
                            ScrollButtonInfo({x + 50, y + 16, x + 80, y + 32}, ksbdsHot, ksbcHorzSlider),
                            "default");
        t_.ScrollDrawButton(ksscScrollBar, c_,
                            ScrollButtonInfo({x + 144, y + 16, x + 160, y + 32}, ksbdsPressed, ksbcRight),
                            "default");
        const TRect vert{x + 170, y + 16, x + 186, y + 96};
        t_.ScrollDrawArea(ksscScrollBar, c_, ScrollAreaInfo(vert, ksadsNormal, ksacVertical), "default");
        t_.ScrollDrawButton(ksscScrollBar, c_,
                            ScrollButtonInfo({x + 170, y + 16, x + 186, y + 32}, ksbdsHot, ksbcUp),
                            "default");
        t_.ScrollDrawButton(ksscScrollBar, c_,
                            ScrollButtonInfo({x + 170, y + 40, x + 186, y + 60}, ksbdsNormal, ksbcVertSlider),
                            "default");
        t_.ScrollDrawButton(ksscScrollBar, c_,
                            ScrollButtonInfo({x + 170, y + 80, x + 186, y + 96}, ksbdsDisabled, ksbcDown),
                            "default");

        t_.ProgressDraw(kpscProgressBar, c_,
                        ProgressInfo({x, y + 40, x + 160, y + 56}, kppBarHorz, kpdsNormal), "default");
        t_.ProgressDraw(kpscProgressBar, c_,
                        ProgressInfo({x + 2, y + 42, x + 90, y + 54}, kppChunkHorz, kpdsNormal), "default");
        t_.TrackDraw(ktscTrackBar, c_, TrackInfo({x, y + 64, x + 160, y + 96}), "default");
        t_.TrackBarDraw(ktscTrackBar, c_,
                        TrackBarInfo({x, y + 74, x + 160, y + 84}, ktbcHorizontal, ktrbdsNormal), "default");
        t_.TrackDrawThumb(ktscTrackBar, c_,
                          TrackThumbInfo({x + 60, y + 66, x + 71, y + 92}, ktbmHorzBoth, kttdsHot),
                          "default");
    }

    void Menus(int x, int y) {
        Label(x, y, u"menu bar and popup menu");
        const TRect bar{x, y + 16, x + 240, y + 36};
        t_.MenuDraw(kmscMenuBar, c_, MenuInfo(bar), "default");
        int cx = x + 2;
        Font(ktfMenuItemTextNormal);
        for (TteMenuItemDrawState st : {kmidsNormal, kmidsHot, kmidsSelected}) {
            const TRect item{cx, y + 18, cx + 60, y + 34};
            t_.MenuDrawItem(kmscMenuBar, c_, MenuItemInfo(item, kmicNormal, st), "default");
            t_.MenuDrawItemText(kmscMenuBar, c_, MenuItemInfo(item, kmicNormal, st), Text(item, u"Menu"),
                                "default");
            cx += 62;
        }
        t_.MenuDrawItem(kmscMenuBar, c_,
                        MenuItemInfo({x + 200, y + 18, x + 218, y + 34}, kmicClose, kmidsNormal), "default");
        const TRect popup{x, y + 40, x + 160, y + 176};
        t_.MenuDraw(kmscPopupMenu, c_, MenuInfo(popup), "default");
        const TRect client = t_.MenuGetClientRect(kmscPopupMenu, MenuInfo(popup), "default");
        int cy = client.top;
        const struct {
            TteMenuItemClass cls;
            TteMenuItemDrawState st;
            TteMenuGlyph glyph;
            const char16_t* text;
            int h;
        } items[] = {{kmicHomeButton, kmidsNormal, kmgNone, u"", 14},
                     {kmicNormal, kmidsNormal, kmgCheckGlyph, u"Checked", 20},
                     {kmicNormal, kmidsHot, kmgRadioGlyph, u"Radio (hot)", 20},
                     {kmicSeparator, kmidsNormal, kmgNone, u"", 9},
                     {kmicNormal, kmidsNormal, kmgSubMenuGlyph, u"Sub-menu", 20},
                     {kmicNormal, kmidsDisabled, kmgNone, u"Disabled", 20},
                     {kmicEndButton, kmidsHot, kmgNone, u"", 14}};
        for (const auto& it : items) {
            const TRect r{client.left, cy, client.right, cy + it.h};
            const TteMenuItemInfo info = MenuItemInfo(r, it.cls, it.st);
            t_.MenuDrawItem(kmscPopupMenu, c_, info, "default");
            Font(it.st == kmidsDisabled ? ktfPopupMenuItemTextDisabled : ktfPopupMenuItemTextNormal);
            if (it.glyph != kmgNone)
                t_.MenuDrawItemGlyph(kmscPopupMenu, c_, info,
                                     MenuGlyphInfo({r.left, r.top, r.left + 20, r.bottom}, it.glyph),
                                     "default");
            if (*it.text)
                t_.MenuDrawItemText(kmscPopupMenu, c_, info,
                                    Text({r.left + 28, r.top, r.right, r.bottom}, it.text, ktxaMiddleLeft),
                                    "default");
            cy += it.h;
        }
    }

    void Tools(int x, int y) {
        Label(x, y, u"tool bar, dock, bar dock and bar");
        t_.DockDraw(kdscDock, c_, DockInfo({x, y + 16, x + 300, y + 48}), "default");
        const TRect tb{x + 2, y + 18, x + 290, y + 46};
        t_.ToolDraw(ktscToolBar, c_, ToolInfo(tb), "default");
        int cx = tb.left + 2;
        t_.ToolDrawItem(ktscToolBar, c_,
                        ToolItemInfo({cx, tb.top + 2, cx + 8, tb.bottom - 2}, kticGripper, mtidsNormal),
                        "default");
        cx += 12;
        for (TteToolItemDrawState st :
             {mtidsNormal, mtidsHot, mtidsPressed, mtidsChecked, mtidsCheckedPressed}) {
            const TRect r{cx, tb.top + 2, cx + 24, tb.bottom - 2};
            t_.ToolDrawItem(ktscToolBar, c_, ToolItemInfo(r, kticNormal, st), "default");
            c_.Font()->SetColor(clBlack);
            t_.ToolDrawItemGlyph(ktscToolBar, c_, ToolItemInfo(r, kticNormal, st),
                                 ToolGlyphInfo(r, ktigSubMenuGlyph), "default");
            cx += 26;
        }
        t_.ToolDrawItem(ktscToolBar, c_,
                        ToolItemInfo({cx, tb.top + 2, cx + 8, tb.bottom - 2}, kticSeparator, mtidsNormal),
                        "default");
        cx += 10;
        t_.ToolDrawItem(ktscToolBar, c_,
                        ToolItemInfo({cx, tb.top + 2, cx + 14, tb.bottom - 2}, kticComboDropDown, mtidsHot),
                        "default");
        cx += 18;
        t_.ToolDrawItem(ktscToolBar, c_,
                        ToolItemInfo({cx, tb.top + 2, cx + 20, tb.bottom - 2}, kticClose, mtidsNormal),
                        "default");
        t_.ToolDraw(ktscToolPopup, c_, ToolInfo({x, y + 54, x + 80, y + 90}), "default");
        t_.BarDockDraw(kbdscBarDock, c_, BarDockInfo({x + 90, y + 54, x + 300, y + 100}), "default");
        const TteBarInfo bar = BarInfo({x + 94, y + 58, x + 296, y + 96}, true, true);
        t_.BarDraw(kbscOutlookBar, c_, bar, "default");
        t_.BarDrawCaption(kbscOutlookBar, c_, bar, BarCaptionInfo({x + 96, y + 60, x + 240, y + 76}, u"Bar"),
                          "default");
        int bx = x + 242;
        for (TteBarButtonClass b : {kbbcUp, kbbcDown, kbbcClose}) {
            t_.BarDrawButton(kbscOutlookBar, c_, BarButtonInfo({bx, y + 60, bx + 16, y + 76}, b, kbbdsNormal),
                             "default");
            bx += 17;
        }
    }

    void Tabs(int x, int y) {
        Label(x, y, u"tabs and headers");
        const TRect page{x, y + 37, x + 300, y + 90};
        t_.TabDraw(ktscTab, c_, TabInfo(page), "default");
        int cx = x + 2;
        Font(ktfTabTextActiveNormal);
        for (TteTabItemDrawState st : {ktidsActive, ktidsNormal, ktidsHot}) {
            const TRect r{cx, y + 18, cx + 70, st == ktidsActive ? y + 38 : y + 37};
            const TteTabItemInfo info = TabItemInfo(r, ktisTopMiddle, st);
            t_.TabDrawItem(ktscTab, c_, info, "default");
            t_.TabDrawText(ktscTab, c_, info, Text(r, st == ktidsActive ? u"Active" : u"Tab"), "default");
            cx += 72;
        }
        int bx = x + 230;
        for (TteTabButtonClass b : {ktbcLeft, ktbcRight, ktbcClose}) {
            t_.TabDrawButton(ktscTab, c_, TabButtonInfo({bx, y + 20, bx + 16, y + 34}, b, ktbdsNormal),
                             "default");
            bx += 18;
        }
        const TRect header{x, y + 96, x + 300, y + 116};
        t_.HeaderDraw(khscHeader, c_, HeaderInfo(header), "default");
        cx = x;
        Font(ktfHeaderSectionTextNormal);
        for (TteSectionDrawState st : {khdsNormal, khdsHot, khdsPressed, khdsDisabled}) {
            const TRect r{cx, header.top, cx + 75, header.bottom};
            const TteHeaderSectionInfo info = HeaderSectionInfo(r, khssMiddle, st);
            t_.HeaderDrawSection(khscHeader, c_, info, "default");
            t_.HeaderDrawText(khscHeader, c_, info, Text(r, u"Header"), "default");
            cx += 75;
        }
    }

    void Status(int x, int y) {
        Label(x, y, u"status bar");
        const TRect bar{x, y + 16, x + 300, y + 38};
        t_.StatusDraw(ksscStatusBar, c_, StatusInfo(bar), "default");
        Font(ktfStatusPanelTextNormal);
        const TRect panels[] = {{x, y + 16, x + 120, y + 38}, {x + 120, y + 16, x + 240, y + 38}};
        for (const TRect& r : panels) {
            t_.StatusDrawPanel(ksscStatusBar, c_, StatusPanelInfo(r, kspcNormal), "default");
            t_.StatusDrawText(ksscStatusBar, c_, StatusPanelInfo(r, kspcNormal), Text(r, u"Panel"),
                              "default");
        }
        t_.StatusDrawPanel(ksscStatusBar, c_,
                           StatusPanelInfo({x + 278, y + 16, x + 300, y + 38}, kspcGripper), "default");
    }

    void Lists(int x, int y) {
        Label(x, y, u"list, tree and grid");
        const TRect list{x, y + 16, x + 140, y + 126};
        t_.ListDraw(klscListBox, c_, ListInfo(list), "default");
        const TRect lc = t_.ListGetClientRect(klscListBox, ListInfo(list), "default");
        int cy = lc.top;
        const struct {
            TteListItemDrawState st;
            TteListGlyph g;
        } items[] = {{klidsNormal, klgChecked},
                     {klidsHot, klgUnchecked},
                     {klidsSelected, klgMixed},
                     {klidsFocused, klgChecked},
                     {klidsDisabled, klgUnchecked}};
        Font(ktfListItemTextNormal);
        for (const auto& it : items) {
            const TRect r{lc.left, cy, lc.right, cy + 20};
            t_.ListDrawItem(klscListBox, c_, ListItemInfo(r, it.st), "default");
            t_.ListDrawGlyph(klscListBox, c_, ListItemInfo(r, it.st),
                             ListGlyphInfo({r.left, r.top, r.left + 20, r.bottom}, it.g), "default");
            t_.ListDrawText(klscListBox, c_, ListItemInfo(r, it.st),
                            Text({r.left + 24, r.top, r.right, r.bottom}, u"List item", ktxaMiddleLeft),
                            "default");
            cy += 21;
        }
        const TRect tree{x + 150, y + 16, x + 260, y + 126};
        t_.TreeDraw(ktscTreeList, c_, TreeInfo(tree), "default");
        cy = tree.top + 4;
        for (TteTreeItemDrawState st : {kridsNormal, kridsSelected, kridsHot}) {
            const TRect r{tree.left + 14, cy, tree.right - 4, cy + 18};
            t_.TreeDrawItem(ktscTreeList, c_, TreeItemInfo(r, st), "default");
            t_.TreeDrawText(ktscTreeList, c_, TreeItemInfo(r, st), Text(r, u"Node", ktxaMiddleLeft),
                            "default");
            cy += 20;
        }
        const TRect grid{x + 270, y + 16, x + 470, y + 126};
        t_.GridDraw(kgscGrid, c_, GridInfo(grid), "default");
        const TRect gc = t_.GridGetClientRect(kgscGrid, GridInfo(grid), "default");
        for (int row = 0; row < 5; ++row)
            for (int col = 0; col < 3; ++col) {
                const TRect r{gc.left + col * 64, gc.top + row * 21, gc.left + col * 64 + 64,
                              gc.top + row * 21 + 21};
                const bool fixed = row == 0 || col == 0;
                const TteGridItemDrawState st = row == 2 && col == 1   ? kgidsSelected
                                                : row == 3 && col == 2 ? kgidsHot
                                                                       : kgidsNormal;
                t_.GridDrawItem(kgscGrid, c_, GridItemInfo(r, st, fixed ? kgicFixed : kgicNormal), "default");
                t_.GridDrawText(kgscGrid, c_, GridItemInfo(r, st, fixed ? kgicFixed : kgicNormal),
                                Text(r, fixed ? u"Fixed" : u"Cell"), "default");
            }
    }

private:
    TteTheme& t_;
    TCanvas& c_;
};

// The whole sheet on a paper of 1040 x 760.
inline void DrawSheet(TteTheme& theme, TPaper& paper) {
    TSheet sheet(theme, paper);
    sheet.Frame(10);
    sheet.Buttons(10, 200);
    sheet.Checks(420, 200);
    sheet.Groups(10, 280);
    sheet.Edits(420, 280);
    sheet.Scrolls(10, 370);
    sheet.Menus(240, 370);
    sheet.Tools(520, 370);
    sheet.Tabs(520, 480);
    sheet.Status(10, 545);
    sheet.Lists(10, 600);
}

}  // namespace tarvel::testing
