// The flat theme's menus, tool bars, docks, bars, tabs, headers, status
// bars, lists, trees and grids.

#include <memory>

#include "skin/core/te_canvas_state.h"
#include "skin/core/te_theme_draw.h"
#include "skin/core/te_utils_draw.h"
#include "skin/themes/theme_flat.h"

namespace tarvel {

using namespace tedraw;

namespace {

constexpr TColor kGrey = TColor(0x808080);

// The fill of a bar's or a tab control's button: Normal, Hot, Pressed, Disabled.
constexpr TteThemeColor kButtonFill[] = {ktcButtonNormal, ktcButtonHot, ktcButtonPressed, ktcButtonDisabled};

}  // namespace

// ---- Menu -------------------------------------------------------------------------------------

bool TTeFlatTheme::IsMenuDefined(TteMenuSubclass, const String&) { return true; }

TRect TTeFlatTheme::MenuGetClientRect(TteMenuSubclass, const TteMenuInfo& info, const String&) {
    return Shrink(info.Rect, 2);
}

void TTeFlatTheme::MenuDraw(TteMenuSubclass s, TCanvas& c, const TteMenuInfo& info, const String&) {
    const TRect& r = info.Rect;
    if (s == kmscMenuBar) {
        FillRect(c, r, Color(ktcButtonNormal));
        return;
    }
    FillRect(c, r, clWhite);
    FillRect(c, TRect{r.left, r.top, r.left + GutterWidth + 2, r.bottom}, Color(ktcButtonNormal));
    DrawRect(c, r, kGrey);
}

void TTeFlatTheme::MenuDrawItem(TteMenuSubclass s, TCanvas& c, const TteMenuItemInfo& info, const String&) {
    const TRect& r = info.Rect;
    const TRect gutter{r.left, r.top, r.left + GutterWidth + 2, r.bottom};
    const bool hot = info.DrawState == kmidsHot, selected = info.DrawState == kmidsSelected;
    auto popupBackground = [&] {
        FillRect(c, r, clWhite);
        FillRect(c, gutter, Color(ktcButtonNormal));
    };
    switch (info.ItemClass) {
        case kmicNormal:
            if (s == kmscMenuBar) {
                if (hot)
                    FillFramed(c, r, Color(ktcButtonHot), Border());
                else if (selected)
                    FillFramed(c, r, Color(ktcButtonNormal), kGrey);
                else
                    FillRect(c, r, Color(ktcButtonNormal));
            } else if (hot || selected) {
                FillFramed(c, r, Color(ktcButtonHot), Border());
            } else {
                popupBackground();
            }
            break;
        case kmicSeparator: {
            popupBackground();
            // Half the height off each side: a line only for odd heights.
            TRect line = Shrink(r, 5, r.Height() / 2);
            line.left += GutterWidth + 2;
            FillRect(c, line, kGrey);
            break;
        }
        case kmicHomeButton:
        case kmicEndButton:
            popupBackground();
            if (hot || selected) DrawRect(c, r, kGrey);
            ScrollGlyph(c, CenteredBox(r, 14, 14),
                        info.ItemClass == kmicHomeButton ? DFCS_SCROLLUP : DFCS_SCROLLDOWN, kGrey);
            break;
        case kmicMin: CaptionGlyph(c, r, DFCS_CAPTIONMIN, clBlack); break;
        case kmicRestore: CaptionGlyph(c, r, DFCS_CAPTIONRESTORE, clBlack); break;
        case kmicClose: CaptionGlyph(c, r, DFCS_CAPTIONCLOSE, clBlack); break;
        default: break;
    }
}

void TTeFlatTheme::MenuDrawItemGlyph(TteMenuSubclass, TCanvas& c, const TteMenuItemInfo& info,
                                     const TteMenuGlyphInfo& glyph, const String&) {
    const TRect& g = glyph.Rect;
    switch (glyph.Glyph) {
        case kmgCheckGlyph: {
            FillFramed(c, Shrink(g, 1), Color(ktcButtonHot), Border());
            DrawItemCheckMark(c, g);
            break;
        }
        case kmgRadioGlyph: DrawItemRadioDot(c, g); break;
        case kmgSubMenuGlyph: DrawSubMenuArrow(c, g); break;
        case kmgGlyph:
            DrawItemPicture(c, g, glyph.Bitmap,
                            info.DrawState == kmidsHot || info.DrawState == kmidsSelected);
            break;
        case kmgSysMenu: DrawBitmapCentered(c, glyph.Bitmap, g); break;
        default: break;
    }
}

// ---- Dock, Tool, BarDock, Bar -------------------------------------------------------------------

bool TTeFlatTheme::IsDockDefined(TteDockSubclass, const String&) { return true; }
void TTeFlatTheme::DockDraw(TteDockSubclass, TCanvas& c, const TteDockInfo& info, const String&) {
    FillRect(c, info.Rect, Color(ktcButtonNormal));
}

bool TTeFlatTheme::IsToolDefined(TteToolSubclass, const String&) { return true; }

void TTeFlatTheme::ToolDraw(TteToolSubclass s, TCanvas& c, const TteToolInfo& info, const String&) {
    if (s == ktscToolPopup) {
        FillFramed(c, info.Rect, clWhite, kGrey);
        return;
    }
    const TColor face = Color(ktcButtonNormal);
    FillRect(c, info.Rect, Lighter(face, 10));
    DrawEdge(c, info.Rect, Lighter(face, 30), Darker(face, 30));
}

void TTeFlatTheme::ToolDrawItem(TteToolSubclass, TCanvas& c, const TteToolItemInfo& info, const String&) {
    const TRect& r = info.Rect;
    auto background = [&] {
        TColor fill = clNone;
        switch (info.DrawState) {
            case mtidsHot:
            case mtidsCheckedHot: fill = Color(ktcButtonHot); break;
            case mtidsPressed: fill = Color(ktcButtonPressed); break;
            case mtidsChecked: fill = Lighter(Color(ktcButtonPressed), 10); break;
            default: return;  // normal, disabled, unused and checked-pressed show none
        }
        FillFramed(c, r, fill, Border());
    };
    switch (info.ItemClass) {
        case kticNormal:
        case kticComboButton:
        case kticDropDown:
        case kticExpandButton: background(); break;
        case kticComboDropDown:
            background();
            ScrollGlyph(c, TRect{r.left - 2, r.top, r.right + 2, r.bottom}, DFCS_SCROLLDOWN, Border());
            break;
        case kticSeparator: {
            // Shrunk vertically by half its width, as the look has always been.
            TRect line = Shrink(r, 5, r.Width() / 2);
            line.right = line.left + 1;
            FillRect(c, line, kGrey);
            break;
        }
        case kticMin: CaptionGlyph(c, r, DFCS_CAPTIONMIN, clBlack); break;
        case kticRestore: CaptionGlyph(c, r, DFCS_CAPTIONRESTORE, clBlack); break;
        case kticClose: CaptionGlyph(c, r, DFCS_CAPTIONCLOSE, clBlack); break;
        case kticGripper:
        case kticGripperVert: FillFramed(c, Shrink(r, 1), Color(ktcButtonHot), Border()); break;
        default: break;
    }
}

void TTeFlatTheme::ToolDrawItemGlyph(TteToolSubclass, TCanvas& c, const TteToolItemInfo& info,
                                     const TteToolGlyphInfo& glyph, const String&) {
    switch (glyph.Glyph) {
        case ktigSubMenuGlyph: DrawSubMenuArrow(c, glyph.Rect); break;
        case ktigGlyph:
            DrawItemPicture(c, glyph.Rect, glyph.Bitmap,
                            info.DrawState == mtidsHot || info.DrawState == mtidsPressed);
            break;
        case ktigSysMenu: DrawBitmapCentered(c, glyph.Bitmap, glyph.Rect); break;
        default: break;
    }
}

bool TTeFlatTheme::IsBarDockDefined(TteBarDockSubclass, const String&) { return true; }
TRect TTeFlatTheme::BarDockGetClientRect(TteBarDockSubclass, TCanvas&, const TteBarDockInfo& info,
                                         const String&) {
    return Shrink(info.Rect, 2);
}
void TTeFlatTheme::BarDockDraw(TteBarDockSubclass, TCanvas& c, const TteBarDockInfo& info, const String&) {
    FillFramed(c, info.Rect, Color(ktcButtonNormal), Border());
}

bool TTeFlatTheme::IsBarDefined(TteBarSubclass, const String&) { return true; }
TRect TTeFlatTheme::BarGetClientRect(TteBarSubclass, TCanvas&, const TteBarInfo& info, const String&) {
    return Shrink(info.Rect, 2);
}
void TTeFlatTheme::BarDraw(TteBarSubclass, TCanvas& c, const TteBarInfo& info, const String&) {
    FillFramed(c, info.Rect, Color(ktcButtonNormal), Border());
}
void TTeFlatTheme::BarDrawCaption(TteBarSubclass, TCanvas& c, const TteBarInfo&,
                                  const TteBarCaptionInfo& caption, const String&) {
    FillFramed(c, caption.Rect, Color(ktcButtonNormal), Border());
}

void TTeFlatTheme::BarDrawButton(TteBarSubclass, TCanvas& c, const TteBarButtonInfo& info, const String&) {
    FillFramed(c, info.Rect, Color(kButtonFill[info.DrawState]), Border());
    switch (info.ButtonClass) {
        case kbbcUp: ScrollGlyph(c, info.Rect, DFCS_SCROLLUP, Border()); break;
        case kbbcDown: ScrollGlyph(c, info.Rect, DFCS_SCROLLDOWN, Border()); break;
        case kbbcClose: CaptionGlyph(c, info.Rect, DFCS_CAPTIONCLOSE, Border()); break;
        default: break;
    }
}

// ---- Tab ------------------------------------------------------------------------------------------

namespace {
enum TTabSide { kTop, kLeft, kRight, kBottom };
TTabSide SideOf(TteTabItemClass c) { return static_cast<TTabSide>(c / 3); }
}  // namespace

bool TTeFlatTheme::IsTabDefined(TteTabSubclass, const String&) { return true; }
bool TTeFlatTheme::IsTabTransparent(TteTabSubclass, const String&) { return false; }

void TTeFlatTheme::TabDraw(TteTabSubclass, TCanvas& c, const TteTabInfo& info, const String&) {
    FillFramed(c, info.Rect, Color(ktcButtonNormal), Border());
}

void TTeFlatTheme::TabDrawItem(TteTabSubclass, TCanvas& c, const TteTabItemInfo& info, const String&) {
    const TRect& r = info.Rect;
    FillRect(c, r, Color(info.DrawState == ktidsHot ? ktcButtonHot : ktcButtonNormal));
    const bool active = info.DrawState == ktidsActive || info.DrawState == ktidsActiveHot ||
                        info.DrawState == ktidsActiveDisabled;
    // The active tab's frame stays open towards its page; the caller's clip
    // comes back afterwards.
    TCanvasDCState state(c);
    if (active) {
        TRect open;
        switch (SideOf(info.ItemClass)) {
            case kTop: open = TRect{r.left, r.bottom - 1, r.right, r.bottom}; break;
            case kLeft: open = TRect{r.right - 1, r.top, r.right, r.bottom}; break;
            case kRight: open = TRect{r.left, r.top, r.left + 1, r.bottom}; break;
            case kBottom: open = TRect{r.left, r.top, r.right, r.top + 1}; break;
        }
        ExcludeClipRect(state.DC(), open.left, open.top, open.right, open.bottom);
    }
    DrawRect(c, r, Border());
}

void TTeFlatTheme::TabDrawButton(TteTabSubclass, TCanvas& c, const TteTabButtonInfo& info, const String&) {
    FillFramed(c, info.Rect, Color(kButtonFill[info.DrawState]), Border());
    switch (info.ButtonClass) {
        case ktbcClose: CaptionGlyph(c, info.Rect, DFCS_CAPTIONCLOSE, Border()); break;
        case ktbcLeft: ScrollGlyph(c, info.Rect, DFCS_SCROLLLEFT, Border()); break;
        case ktbcDown: ScrollGlyph(c, info.Rect, DFCS_SCROLLDOWN, Border()); break;
        case ktbcUp: ScrollGlyph(c, info.Rect, DFCS_SCROLLUP, Border()); break;
        case ktbcRight: ScrollGlyph(c, info.Rect, DFCS_SCROLLRIGHT, Border()); break;
        default: break;
    }
}

void TTeFlatTheme::TabDrawText(TteTabSubclass s, TCanvas& c, const TteTabItemInfo& info,
                               const TteTextInfo& text, const String& obj) {
    TteTextInfo turned = text;
    if (SideOf(info.ItemClass) == kLeft) turned.Orientation = ktxoVerticalBottom;
    if (SideOf(info.ItemClass) == kRight) turned.Orientation = ktxoVerticalTop;
    TteTheme::TabDrawText(s, c, info, turned, obj);
}

// ---- Header, Status ----------------------------------------------------------------------------------

bool TTeFlatTheme::IsHeaderDefined(TteHeaderSubclass, const String&) { return true; }
void TTeFlatTheme::HeaderDraw(TteHeaderSubclass, TCanvas& c, const TteHeaderInfo& info, const String&) {
    FillRect(c, info.Rect, Color(ktcButtonNormal));
}

void TTeFlatTheme::HeaderDrawSection(TteHeaderSubclass, TCanvas& c, const TteHeaderSectionInfo& info,
                                     const String&) {
    // Normal, Pressed, DraggedOut, Dragging, Hot, UnderDrag, Disabled.
    static constexpr TteThemeColor kFill[] = {ktcButtonNormal,  ktcButtonFocused, ktcButtonDisabled,
                                              ktcButtonHot,     ktcButtonHot,     ktcButtonFocused,
                                              ktcButtonDisabled};
    FillFramed(c, info.Rect, Color(kFill[info.DrawState]), Border());
}

void TTeFlatTheme::HeaderDrawText(TteHeaderSubclass, TCanvas& c, const TteHeaderSectionInfo& info,
                                  const TteTextInfo& text, const String&) {
    TteTextInfo moved = text;
    if (info.DrawState == khdsHot) moved.Rect.Offset(-1, -1);
    DrawThemeText(c, moved);
}

void TTeFlatTheme::HeaderDrawGlyph(TteHeaderSubclass, TCanvas& c, const TteHeaderSectionInfo& info,
                                   const TteGlyphInfo& glyph, const String&) {
    if (!glyph.Bitmap || glyph.Bitmap->Empty()) return;
    TRect r = glyph.Rect;
    if (info.DrawState == khdsHot) r.Offset(-1, -1);
    glyph.Bitmap->Draw(c.Handle(), r);
}

bool TTeFlatTheme::IsStatusDefined(TteStatusSubclass, const String&) { return true; }
void TTeFlatTheme::StatusDraw(TteStatusSubclass, TCanvas& c, const TteStatusInfo& info, const String&) {
    FillRect(c, info.Rect, Color(ktcButtonNormal));
}

void TTeFlatTheme::StatusDrawPanel(TteStatusSubclass, TCanvas& c, const TteStatusPanelInfo& info,
                                   const String&) {
    const TColor face = Color(ktcButtonNormal);
    FillRect(c, info.Rect, face);
    const TColor shade = Darker(face, 40);
    switch (info.PanelClass) {
        case kspcNormal:
        case kspcDisabled: {
            const TRect inner = Shrink(info.Rect, 1);
            FillRect(c, TRect{inner.right - 1, inner.top, inner.right, inner.bottom}, shade);
            break;
        }
        case kspcGripper: {
            TRect r = Shrink(info.Rect, 5);
            r.Offset(3, 3);
            TPoint band[] = {
                {r.right, r.top - 2}, {r.right, r.top}, {r.left, r.bottom}, {r.left - 2, r.bottom}};
            FillPolygon(c, band, 3, shade);
            TPoint corner[] = {{r.right, r.top + 2}, {r.right, r.bottom}, {r.left + 2, r.bottom}};
            FillPolygon(c, corner, 2, shade);
            break;
        }
        default: break;
    }
}

// ---- List, Tree, Grid ------------------------------------------------------------------------------------

bool TTeFlatTheme::IsListDefined(TteListSubclass, const String&) { return true; }
TRect TTeFlatTheme::ListGetClientRect(TteListSubclass, const TteListInfo& info, const String&) {
    return Shrink(info.Rect, 2);
}
void TTeFlatTheme::ListDraw(TteListSubclass, TCanvas& c, const TteListInfo& info, const String&) {
    FillFramed(c, info.Rect, Color(ktcList), Border());
}

void TTeFlatTheme::ListDrawItem(TteListSubclass, TCanvas& c, const TteListItemInfo& info, const String&) {
    if (info.DrawState == klidsSelected || info.DrawState == klidsFocused)
        FillFramed(c, info.Rect, Color(ktcButtonHot), Border());
    else
        FillRect(c, info.Rect, Color(ktcList));
}

void TTeFlatTheme::ListDrawGlyph(TteListSubclass, TCanvas& c, const TteListItemInfo& info,
                                 const TteListGlyphInfo& glyph, const String&) {
    if (glyph.Glyph == klgCustom) {
        DrawBitmapCentered(c, glyph.Bitmap, glyph.Rect);
        return;
    }
    const TRect box = CenteredBox(glyph.Rect, 13, 13);
    const TteThemeColor fill = info.DrawState == klidsHot ? ktcButtonHot
                               : info.DrawState == klidsSelected || info.DrawState == klidsFocused
                                   ? ktcButtonFocused
                                   : ktcButtonNormal;
    FillFramed(c, box, Color(fill), Border());
    if (glyph.Glyph == klgChecked)
        DrawCheckMark(c, (box.left + box.right) / 2 - 1, (box.top + box.bottom) / 2 + 1, Border());
    if (glyph.Glyph == klgMixed) FillRect(c, Shrink(box, 3), Border());
}

bool TTeFlatTheme::IsTreeDefined(TteTreeSubclass, const String&) { return true; }
void TTeFlatTheme::TreeDraw(TteTreeSubclass, TCanvas& c, const TteTreeInfo& info, const String&) {
    FillFramed(c, info.Rect, Color(ktcTree), Border());
}
void TTeFlatTheme::TreeDrawItem(TteTreeSubclass, TCanvas& c, const TteTreeItemInfo& info, const String&) {
    const bool chosen = info.DrawState == kridsSelected || info.DrawState == kridsFocused;
    FillFramed(c, info.Rect, Color(chosen ? ktcButtonHot : ktcTree), Border());
}

bool TTeFlatTheme::IsGridDefined(TteGridSubclass, const String&) { return true; }
void TTeFlatTheme::GridDraw(TteGridSubclass, TCanvas& c, const TteGridInfo& info, const String&) {
    FillFramed(c, info.Rect, Color(ktcGrid), Border());
}

void TTeFlatTheme::GridDrawItem(TteGridSubclass, TCanvas& c, const TteGridItemInfo& info, const String&) {
    if (info.ItemClass == kgicFixed) {
        FillRect(c, info.Rect, Color(ktcButtonNormal));
        return;
    }
    switch (info.DrawState) {
        case kgidsSelected:
        case kgidsFocused: FillFramed(c, info.Rect, Color(ktcButtonFocused), Border()); break;
        case kgidsHot: FillRect(c, info.Rect, Color(ktcButtonHot)); break;
        default: FillRect(c, info.Rect, Color(ktcGrid)); break;
    }
}

}  // namespace tarvel
