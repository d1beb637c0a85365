// The visual-style theme's menus, headers, status bars, boxes, docks, tool
// bars, bar docks, explorer bars, tabs, lists, trees and grids. Menus and
// several plain kinds are drawn from the style's colours, not its objects.

#include "skin/core/te_bitmap_colors.h"
#include "skin/core/te_theme_draw.h"
#include "skin/core/te_utils.h"
#include "skin/core/te_utils_draw.h"
#include "skin/themes/theme_msstyles.h"

namespace tarvel {

using namespace tedraw;

namespace {

constexpr TColor kGrey = TColor(0x808080);

bool Lit(TteMenuItemDrawState s) { return s == kmidsHot || s == kmidsSelected; }

}  // namespace

// A raised edge: the button face 30 lighter on the top and left, 30 darker
// on the bottom and right; sunken swaps them. With `fill`, the face first.
void TTeThemeMsStyles::DrawRaised(TCanvas& c, const TRect& r, bool sunken, bool fill) {
    const TColor face = SysColors()->GetColor(clBtnFace);
    if (fill) FillRect(c, r, face);
    const TColor light = teColorToColor(ChangeColor(teColor(face, 255), 30));
    const TColor dark = teColorToColor(ChangeColor(teColor(face, 255), -30));
    DrawEdge(c, r, sunken ? dark : light, sunken ? light : dark);
}

// ---- Menu -------------------------------------------------------------------------------------

bool TTeThemeMsStyles::IsMenuDefined(TteMenuSubclass, const String&) { return true; }

bool TTeThemeMsStyles::IsMenuTransparent(TteMenuSubclass, const String&) { return false; }

TRect TTeThemeMsStyles::MenuGetClientRect(TteMenuSubclass s, const TteMenuInfo& info, const String&) {
    return s == kmscPopupMenu ? Shrink(info.Rect, 2) : info.Rect;
}

void TTeThemeMsStyles::MenuDraw(TteMenuSubclass s, TCanvas& c, const TteMenuInfo& info, const String&) {
    FillRect(c, info.Rect, menuColor_);
    if (s == kmscPopupMenu) DrawRect(c, info.Rect, menuHilightColor_);
}

void TTeThemeMsStyles::MenuDrawItem(TteMenuSubclass, TCanvas& c, const TteMenuItemInfo& info, const String&) {
    const TRect& r = info.Rect;
    switch (info.ItemClass) {
        case kmicNormal: FillRect(c, r, Lit(info.DrawState) ? menuHilightColor_ : menuColor_); break;
        case kmicSeparator: {
            FillRect(c, r, menuColor_);
            const int half = r.Height() / 2;
            const TRect line{r.left + 5, r.top + half, r.right - 5, r.bottom - half};
            if (!IsRectEmpty(line)) FillRect(c, line, menuHilightColor_);
            break;
        }
        case kmicHomeButton:
        case kmicEndButton:
            FillRect(c, r, menuColor_);
            if (Lit(info.DrawState)) DrawRoundRect(c, r, 3, menuHilightColor_);
            DrawFrameControlGlyph(c, CenteredBox(r, 14, 14), DFC_SCROLL,
                                  info.ItemClass == kmicHomeButton ? DFCS_SCROLLUP : DFCS_SCROLLDOWN, kGrey);
            break;
        case kmicMin:
        case kmicRestore:
        case kmicClose: {
            if (info.DrawState == kmidsUnused) break;
            const int state = info.DrawState == kmidsDisabled ? 3 : Lit(info.DrawState) ? 2 : 1;
            const char* section = info.ItemClass == kmicMin       ? "Window.MDIMinButton"
                                  : info.ItemClass == kmicRestore ? "Window.MDIRestoreButton"
                                                                  : "Window.MDICloseButton";
            DrawPart(section, c, r, state);
            break;
        }
        default: break;
    }
}

void TTeThemeMsStyles::MenuDrawItemGlyph(TteMenuSubclass, TCanvas& c, const TteMenuItemInfo& info,
                                         const TteMenuGlyphInfo& glyph, const String&) {
    const TRect& g = glyph.Rect;
    switch (glyph.Glyph) {
        case kmgCheckGlyph: DrawItemCheckMark(c, g); break;
        case kmgRadioGlyph: DrawItemRadioDot(c, g); break;
        case kmgSubMenuGlyph: DrawSubMenuArrow(c, g); break;
        case kmgGlyph: DrawItemPicture(c, g, glyph.Bitmap, Lit(info.DrawState)); break;
        case kmgSysMenu: DrawItemPicture(c, g, glyph.Bitmap, false); break;
        default: break;
    }
}

// ---- Header, Status, Box ----------------------------------------------------------------------

bool TTeThemeMsStyles::IsHeaderDefined(TteHeaderSubclass, const String&) { return HasProps("header"); }

void TTeThemeMsStyles::HeaderDraw(TteHeaderSubclass, TCanvas& c, const TteHeaderInfo& info, const String&) {
    DrawPart("header", c, info.Rect, 1);
}

void TTeThemeMsStyles::HeaderDrawSection(TteHeaderSubclass, TCanvas& c, const TteHeaderSectionInfo& info,
                                         const String&) {
    int state = 1;
    switch (info.DrawState) {
        case khdsPressed:
        case khdsUnderDrag: state = 3; break;
        case khdsDragging:
        case khdsHot: state = 2; break;
        default: break;
    }
    DrawPart("header.headeritem", c, info.Rect, state);
}

bool TTeThemeMsStyles::IsStatusDefined(TteStatusSubclass, const String&) { return HasProps("status"); }

TRect TTeThemeMsStyles::StatusGetClientRect(TteStatusSubclass, const TteStatusInfo& info, const String&) {
    return Shrink(info.Rect, 2);
}

void TTeThemeMsStyles::StatusDraw(TteStatusSubclass, TCanvas& c, const TteStatusInfo& info, const String&) {
    DrawPart("status", c, info.Rect, 1);
}

void TTeThemeMsStyles::StatusDrawPanel(TteStatusSubclass, TCanvas& c, const TteStatusPanelInfo& info,
                                       const String&) {
    static constexpr const char* kPanels[] = {"status.pane", "status.pane", "status.gripperpane",
                                              "status.gripper"};
    DrawPart(kPanels[info.PanelClass], c, info.Rect, 1);
}

bool TTeThemeMsStyles::IsBoxDefined(TteBoxSubclass, const String&) { return true; }

bool TTeThemeMsStyles::IsBoxTransparent(TteBoxSubclass, const String&) { return false; }

TRect TTeThemeMsStyles::BoxGetClientRect(TteBoxSubclass, TCanvas&, const TteBoxInfo& info, const String&) {
    return Shrink(info.Rect, 2);
}

void TTeThemeMsStyles::BoxDraw(TteBoxSubclass, TCanvas& c, const TteBoxInfo& info, const String&) {
    FillRect(c, info.Rect, SysColors()->GetColor(clBtnFace));
    if (const TmsuxThemeObject* edit = Object("edit")) DrawRect(c, info.Rect, edit->BorderColor);
}

// ---- Dock, Tool, BarDock, Bar -----------------------------------------------------------------

bool TTeThemeMsStyles::IsDockDefined(TteDockSubclass, const String&) { return true; }

TRect TTeThemeMsStyles::DockGetClientRect(TteDockSubclass, const TteDockInfo& info, const String&) {
    return info.Rect;
}

void TTeThemeMsStyles::DockDraw(TteDockSubclass, TCanvas& c, const TteDockInfo& info, const String&) {
    DrawPart("rebar", c, info.Rect, 1);
}

bool TTeThemeMsStyles::IsToolDefined(TteToolSubclass, const String&) { return HasProps("rebar"); }

void TTeThemeMsStyles::ToolDraw(TteToolSubclass s, TCanvas& c, const TteToolInfo& info, const String& obj) {
    if (s == ktscToolPopup)
        MenuDraw(kmscPopupMenu, c, MenuInfo(info.Rect), obj);
    else
        DrawRaised(c, info.Rect, false, false);
}

void TTeThemeMsStyles::ToolDrawItem(TteToolSubclass, TCanvas& c, const TteToolItemInfo& info, const String&) {
    static constexpr int kState[] = {
        1,  // mtidsNormal
        2,  // mtidsHot
        3,  // mtidsPressed
        4,  // mtidsDisabled
        5,  // mtidsUnused
        5,  // mtidsChecked
        6,  // mtidsCheckedHot
        3,  // mtidsCheckedPressed
    };
    const int state = kState[info.DrawState];
    switch (info.ItemClass) {
        case kticNormal:
        case kticHomeButton:
        case kticendButton:
        case kticExpandButton: DrawPart("toolbar.button", c, info.Rect, state); break;
        case kticSeparator: DrawPart("toolbar.separator", c, info.Rect, state); break;
        case kticComboButton: DrawPart("toolbar.splitbutton", c, info.Rect, state); break;
        case kticComboDropDown: DrawPart("toolbar.splitbuttondropdown", c, info.Rect, state); break;
        case kticDropDown: DrawPart("toolbar.dropdownbutton", c, info.Rect, state); break;
        case kticGripper: DrawPart("rebar.gripper", c, info.Rect, 1); break;
        case kticGripperVert: DrawPart("rebar.grippervert", c, info.Rect, 1); break;
        default: break;
    }
}

bool TTeThemeMsStyles::IsBarDockDefined(TteBarDockSubclass, const String&) { return true; }

TRect TTeThemeMsStyles::BarDockGetClientRect(TteBarDockSubclass, TCanvas&, const TteBarDockInfo& info,
                                             const String&) {
    return Shrink(info.Rect, 2);
}

void TTeThemeMsStyles::BarDockDraw(TteBarDockSubclass, TCanvas& c, const TteBarDockInfo& info,
                                   const String&) {
    DrawRaised(c, info.Rect, true, true);
}

bool TTeThemeMsStyles::IsBarDefined(TteBarSubclass, const String&) { return HasProps("explorerbar"); }

bool TTeThemeMsStyles::IsBarTransparent(TteBarSubclass, const String&) {
    const TmsuxThemeObject* head = Object("explorerbar.NormalGroupHead");
    return head && head->Transparent;
}

TRect TTeThemeMsStyles::BarGetClientRect(TteBarSubclass, TCanvas&, const TteBarInfo& info, const String&) {
    return info.Rect;
}

void TTeThemeMsStyles::BarDraw(TteBarSubclass, TCanvas& c, const TteBarInfo& info, const String&) {
    DrawPart("explorerbar.SpecialGroupBackground", c, info.Rect, 1);
}

void TTeThemeMsStyles::BarDrawCaption(TteBarSubclass, TCanvas& c, const TteBarInfo&,
                                      const TteBarCaptionInfo& caption, const String&) {
    DrawPart("explorerbar.NormalGroupHead", c, Shrink(caption.Rect, -1), 1);
}

void TTeThemeMsStyles::BarDrawButton(TteBarSubclass, TCanvas& c, const TteBarButtonInfo& info,
                                     const String&) {
    static constexpr int kState[] = {1, 2, 3, 1};  // normal, hot, pressed, disabled
    const int state = kState[info.DrawState];
    switch (info.ButtonClass) {
        case kbbcUp: DrawPart("explorerbar.NormalGroupCollapse", c, info.Rect, state); break;
        case kbbcDown: DrawPart("explorerbar.NormalGroupExpand", c, info.Rect, state); break;
        case kbbcClose:
            DrawPart(HasProps("explorerbar.headerclose") ? "explorerbar.headerclose" : "Window.CloseButton",
                     c, info.Rect, state);
            break;
        case kbbcText: break;
    }
}

// ---- Tab --------------------------------------------------------------------------------------

bool TTeThemeMsStyles::IsTabDefined(TteTabSubclass, const String&) { return HasProps("tab"); }

TRect TTeThemeMsStyles::TabGetClientRect(TteTabSubclass, const TteTabInfo& info, const String&) {
    return Shrink(info.Rect, 1);
}

void TTeThemeMsStyles::TabDraw(TteTabSubclass, TCanvas& c, const TteTabInfo& info, const String&) {
    DrawPart("tab.pane", c, info.Rect, 1);
}

void TTeThemeMsStyles::TabDrawItem(TteTabSubclass, TCanvas& c, const TteTabItemInfo& info, const String&) {
    static constexpr int kState[] = {
        1,  // ktidsNormal
        2,  // ktidsHot
        4,  // ktidsDisabled
        3,  // ktidsActive
        3,  // ktidsActiveHot
        4,  // ktidsActiveDisabled
    };
    const bool leftEdge = info.ItemClass == ktisTopFirst && HasProps("tab.toptabitemleftedge");
    DrawPart(leftEdge ? "tab.toptabitemleftedge" : "tab.toptabitem", c, info.Rect, kState[info.DrawState]);
}

void TTeThemeMsStyles::TabDrawButton(TteTabSubclass, TCanvas& c, const TteTabButtonInfo& info,
                                     const String&) {
    int state = info.DrawState + 1;  // normal, hot, pressed, disabled
    switch (info.ButtonClass) {
        case ktbcDown: state += 4; break;
        case ktbcLeft: state += 8; break;
        case ktbcRight: state += 12; break;
        default: break;
    }
    DrawPart("ScrollBar.ArrowBtn", c, info.Rect, state);
}

void TTeThemeMsStyles::TabDrawText(TteTabSubclass s, TCanvas& c, const TteTabItemInfo& info,
                                   const TteTextInfo& text, const String& obj) {
    TteTextInfo turned = text;
    switch (info.ItemClass) {
        case ktisLeftMiddle:
        case ktisLeftFirst:
        case ktisLeftLast: turned.Orientation = ktxoVerticalBottom; break;
        case ktisRightMiddle:
        case ktisRightFirst:
        case ktisRightLast: turned.Orientation = ktxoVerticalTop; break;
        default: break;
    }
    TteTheme::TabDrawText(s, c, info, turned, obj);
}

// ---- List, Tree, Grid -------------------------------------------------------------------------

bool TTeThemeMsStyles::IsListDefined(TteListSubclass, const String&) { return HasProps("edit"); }

void TTeThemeMsStyles::ListDraw(TteListSubclass, TCanvas& c, const TteListInfo& info, const String&) {
    DrawPart("listview", c, info.Rect, 1);
}

void TTeThemeMsStyles::ListDrawItem(TteListSubclass, TCanvas& c, const TteListItemInfo& info, const String&) {
    const bool marked = info.DrawState == klidsSelected || info.DrawState == klidsFocused;
    FillRect(c, info.Rect, SysColors()->GetColor(marked ? clHighlight : clWindow));
}

void TTeThemeMsStyles::ListDrawGlyph(TteListSubclass, TCanvas& c, const TteListItemInfo&,
                                     const TteListGlyphInfo& glyph, const String&) {
    switch (glyph.Glyph) {
        case klgChecked: DrawPart("button.checkbox", c, glyph.Rect, 5); break;
        case klgUnchecked: DrawPart("button.checkbox", c, glyph.Rect, 1); break;
        case klgMixed: DrawPart("button.checkbox", c, glyph.Rect, 9); break;
        case klgCustom: DrawBitmapCentered(c, glyph.Bitmap, glyph.Rect); break;
    }
}

bool TTeThemeMsStyles::IsTreeDefined(TteTreeSubclass, const String&) { return HasProps("edit"); }

void TTeThemeMsStyles::TreeDraw(TteTreeSubclass, TCanvas& c, const TteTreeInfo& info, const String&) {
    DrawPart("listview", c, info.Rect, 1);
}

void TTeThemeMsStyles::TreeDrawItem(TteTreeSubclass, TCanvas& c, const TteTreeItemInfo& info, const String&) {
    const bool marked = info.DrawState == kridsSelected || info.DrawState == kridsFocused;
    FillRect(c, info.Rect, SysColors()->GetColor(marked ? clHighlight : clWindow));
}

bool TTeThemeMsStyles::IsGridDefined(TteGridSubclass, const String&) { return HasProps("edit"); }

void TTeThemeMsStyles::GridDraw(TteGridSubclass, TCanvas& c, const TteGridInfo& info, const String&) {
    DrawPart("listview", c, info.Rect, 1);
}

void TTeThemeMsStyles::GridDrawItem(TteGridSubclass, TCanvas& c, const TteGridItemInfo& info, const String&) {
    if (info.ItemClass == kgicFixed) {
        DrawRaised(c, info.Rect, false, true);
        return;
    }
    TColor fill = clWindow;
    switch (info.DrawState) {
        case kgidsHot: fill = clBtnFace; break;
        case kgidsSelected:
        case kgidsFocused: fill = clHighlight; break;
        default: break;
    }
    FillRect(c, info.Rect, SysColors()->GetColor(fill));
}

}  // namespace tarvel
