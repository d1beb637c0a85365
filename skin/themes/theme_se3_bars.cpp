// Menus, docks, tool bars, explorer bars, tabs, lists, trees and grids of
// the skin-file theme.

#include "skin/core/te_theme_draw.h"
#include "skin/core/te_utils.h"
#include "skin/core/te_utils_draw.h"
#include "skin/themes/theme_se3.h"

namespace tarvel {

using namespace se3;
using tedraw::Shrink;

namespace {

// The named object's child, else the fallback object's child of that name.
TSeSkinObject* ChildOf(TSeSkinObject* named, TSeSkinObject* fallback, const char* name) {
    if (TSeSkinObject* found = Child(named, name)) return found;
    return Child(fallback, name);
}

// The side a tab stands on.
enum class TTabSide { Top, Left, Right, Bottom };

TTabSide TabSide(TteTabItemClass c) {
    if (c <= ktisTopLast) return TTabSide::Top;
    if (c <= ktisLeftLast) return TTabSide::Left;
    if (c <= ktisRightLast) return TTabSide::Right;
    return TTabSide::Bottom;
}

// Draws a top tab into a bitmap of the turned size and turns it onto c.
void DrawTurnedTab(TSeSkinObject* tab, TCanvas& c, const TRect& r, TSeState state, TTabSide side) {
    const int w = r.Width(), h = r.Height();
    if (w <= 0 || h <= 0) return;
    const bool sideways = side == TTabSide::Left || side == TTabSide::Right;
    const int tw = sideways ? h : w, th = sideways ? w : h;
    TteBitmap upright, turned;
    upright.SetSize(tw, th);
    turned.SetSize(w, h);
    if (!upright.DC() || !turned.DC()) return;
    upright.Clear(0);
    {
        const TRect old = tab->GetBoundsRect();
        Restore putBack([tab, old] { tab->SetBoundsRect(old); });
        DrawObject(tab, *upright.GetCanvas(), upright.BoundsRect(), state);
    }
    for (int y = 0; y < th; ++y) {
        for (int x = 0; x < tw; ++x) {
            const uint32_t p = upright.GetPixel(x, y);
            switch (side) {
                case TTabSide::Left: turned.SetPixel(y, tw - 1 - x, p); break;   // against the clock
                case TTabSide::Right: turned.SetPixel(th - 1 - y, x, p); break;  // with the clock
                default: turned.SetPixel(x, th - 1 - y, p); break;               // upside down
            }
        }
    }
    turned.Draw(c, r.left, r.top);
}

}  // namespace

// ---- Box --------------------------------------------------------------------------------------

bool TTeSkinFile::IsBoxDefined(TteBoxSubclass, const String&) { return false; }
bool TTeSkinFile::IsBoxTransparent(TteBoxSubclass, const String&) { return false; }
// The callers pass the rectangle they want back.
TRect TTeSkinFile::BoxGetClientRect(TteBoxSubclass, TCanvas&, const TteBoxInfo& info, const String&) {
    return info.Rect;
}

// ---- Menu -------------------------------------------------------------------------------------

TSeSkinObject* TTeSkinFile::MenuObject(TteMenuSubclass s) const {
    return table_[s == kmscMenuBar ? kseMenuBar : ksePopupMenu];
}

bool TTeSkinFile::IsMenuDefined(TteMenuSubclass s, const String&) { return MenuObject(s) != nullptr; }

TRect TTeSkinFile::MenuGetClientRect(TteMenuSubclass s, const TteMenuInfo& info, const String&) {
    TSeSkinObject* frame = Child(MenuObject(s), "Frame");
    return frame ? ShrinkByMargins(frame, info.Rect) : info.Rect;
}

void TTeSkinFile::MenuDraw(TteMenuSubclass s, TCanvas& c, const TteMenuInfo& info, const String& obj) {
    TSeSkinObject* menu = Named(obj);
    if (!menu) menu = MenuObject(s);
    DrawObject(Child(menu, "Frame"), c, info.Rect);
}

void TTeSkinFile::MenuDrawItem(TteMenuSubclass s, TCanvas& c, const TteMenuItemInfo& info,
                               const String& obj) {
    // The name picks an item look inside the menu object, never a top-level object.
    TSeSkinObject* menu = MenuObject(s);
    const bool popup = s == kmscPopupMenu;
    const TSeState state = info.DrawState == kmidsDisabled   ? ssDisabled
                           : info.DrawState == kmidsSelected ? ssFocused
                           : info.DrawState == kmidsHot      ? ssHot
                                                             : ssNormal;
    switch (info.ItemClass) {
        case kmicNormal: {
            TSeSkinObject* item = Child(menu, obj.c_str());
            DrawObject(item ? item : Child(menu, "Item"), c, info.Rect, state);
            return;
        }
        case kmicSeparator: {
            TSeSkinObject* line =
                popup ? FirstChild(menu, {obj.c_str(), "Separator"}) : Child(menu, "separator");
            if (!line) line = Child(menu, "item");
            if (!line) return;
            Restore clear([line] { line->Text.clear(); });
            line->Text = u"-";
            DrawObject(line, c, info.Rect, ssNormal);
            return;
        }
        case kmicHomeButton:
        case kmicEndButton: {
            const bool home = info.ItemClass == kmicHomeButton;
            TSeSkinObject* button =
                popup ? FirstChild(menu, {home ? "upbutton" : "downbutton", "item"}) : Child(menu, "item");
            DrawObject(button, c, info.Rect, state);
            const TteThemeFont font = info.DrawState == kmidsDisabled   ? ktfMenuItemTextDisabled
                                      : info.DrawState == kmidsSelected ? ktfMenuItemTextSelected
                                      : info.DrawState == kmidsHot      ? ktfMenuItemTextHot
                                                                        : ktfMenuItemTextNormal;
            TRect r{0, 0, 7, 4};
            RectCenter(r, info.Rect);
            const int middle = (r.right + r.left - 1) / 2;
            const TPoint up[] = {{r.left, r.bottom - 1}, {r.right - 1, r.bottom - 1}, {middle, r.top}};
            const TPoint down[] = {{r.left, r.top}, {r.right - 1, r.top}, {middle, r.bottom - 1}};
            FillPolygon(c, home ? up : down, 2, Fonts()->GetFont(font)->Color());
            return;
        }
        case kmicMin:
        case kmicRestore:
        case kmicClose: {
            const char* name = info.ItemClass == kmicMin       ? "Min"
                               : info.ItemClass == kmicRestore ? "Restore"
                                                               : "Close";
            if (TSeSkinObject* button = Child(menu, name)) {
                DrawCentred(button, c, info.Rect, state);
                return;
            }
            const unsigned glyph = info.ItemClass == kmicMin       ? DFCS_CAPTIONMIN
                                   : info.ItemClass == kmicRestore ? DFCS_CAPTIONRESTORE
                                                                   : DFCS_CAPTIONCLOSE;
            DrawFrameControlGlyph(c, info.Rect, DFC_CAPTION, glyph, clBlack);
            return;
        }
        default: return;
    }
}

void TTeSkinFile::MenuDrawItemGlyph(TteMenuSubclass s, TCanvas& c, const TteMenuItemInfo& info,
                                    const TteMenuGlyphInfo& glyph, const String& obj) {
    TteTheme::MenuDrawItemGlyph(s, c, info, glyph, obj);
    if (glyph.Glyph == kmgSysMenu && glyph.Bitmap) tedraw::DrawBitmapCentered(c, glyph.Bitmap, glyph.Rect);
}

// ---- Dock, Tool -------------------------------------------------------------------------------

bool TTeSkinFile::IsDockDefined(TteDockSubclass, const String& obj) {
    if (obj != "default") return work_->GetObjectByName(obj) != nullptr;
    return table_[kseControlBar] != nullptr;
}

TRect TTeSkinFile::DockGetClientRect(TteDockSubclass, const TteDockInfo& info, const String&) {
    return info.Rect;
}

void TTeSkinFile::DockDraw(TteDockSubclass, TCanvas& c, const TteDockInfo& info, const String& obj) {
    DrawObject(Child(Pick(obj, kseControlBar), "Back"), c, info.Rect);
}

bool TTeSkinFile::IsToolDefined(TteToolSubclass s, const String& obj) {
    if (obj != "default") return work_->GetObjectByName(obj) != nullptr;
    return (s == ktscToolMenu || s == ktscToolBar) && table_[kseControlBar];
}

void TTeSkinFile::ToolDraw(TteToolSubclass s, TCanvas& c, const TteToolInfo& info, const String& obj) {
    if (s == ktscToolPopup) {
        MenuDraw(kmscPopupMenu, c, MenuInfo(info.Rect), "default");  // a tool popup looks like a popup menu
        return;
    }
    DrawObject(Child(Pick(obj, kseControlBar), "Frame"), c, info.Rect);
}

void TTeSkinFile::ToolDrawItem(TteToolSubclass, TCanvas& c, const TteToolItemInfo& info, const String& obj) {
    TSeState state = ssNormal;
    switch (info.DrawState) {
        case mtidsDisabled: state = ssDisabled; break;
        case mtidsPressed:
        case mtidsChecked:
        case mtidsCheckedHot: state = ssPressed; break;
        case mtidsHot: state = ssHot; break;
        default: break;
    }
    TSeSkinObject* button = Pick(obj, kseSpeedButton);
    TSeSkinObject* bar = Pick(obj, kseControlBar);
    switch (info.ItemClass) {
        case kticNormal:
        case kticComboButton:
        case kticDropDown: {
            TSeSkinObject* face = FirstChild(button, {"FlatFace", "Face"});
            DrawObject(face ? face : button, c, info.Rect, state);
            return;
        }
        case kticComboDropDown: {
            TSeSkinObject* face = FirstChild(button, {"FlatChevron", "Chevron", "FlatFace", "Face"});
            DrawObject(face ? face : button, c, info.Rect, state);
            return;
        }
        case kticSeparator: {
            TRect r = info.Rect;
            r.top += 2;
            r.bottom -= 2;
            DrawObject(Child(button, "Separator"), c, r, ssNormal);
            return;
        }
        case kticGripper: DrawObject(Child(bar, "Grabber"), c, info.Rect); return;
        case kticGripperVert: DrawObject(FirstChild(bar, {"GrabberVert", "Grabber"}), c, info.Rect); return;
        default: return;
    }
}

// ---- BarDock, Bar -----------------------------------------------------------------------------

bool TTeSkinFile::IsBarDockDefined(TteBarDockSubclass s, const String& obj) {
    return s == kbdscBarDock && Pick(obj, kseBarDock);
}

TRect TTeSkinFile::BarDockGetClientRect(TteBarDockSubclass, TCanvas&, const TteBarDockInfo& info,
                                        const String&) {
    return info.Rect;
}

void TTeSkinFile::BarDockDraw(TteBarDockSubclass, TCanvas& c, const TteBarDockInfo& info, const String& obj) {
    DrawObject(ChildOf(Named(obj), table_[kseBarDock], "Frame"), c, info.Rect);
}

bool TTeSkinFile::IsBarDefined(TteBarSubclass s, const String& obj) {
    return s == kbscExplorerBar && Pick(obj, ksePanel);
}

bool TTeSkinFile::IsBarTransparent(TteBarSubclass s, const String& obj) {
    if (s != kbscExplorerBar) return false;
    if (TSeSkinObject* named = Named(obj)) return named->GetMasked();
    TSeSkinObject* caption = Child(table_[ksePanel], "Caption");
    return caption && caption->GetMasked();
}

TSeSkinObject* TTeSkinFile::BarFrame(const TteBarInfo& info, const String& obj) const {
    const char* name = info.ShowCaption ? (info.ShowBevel ? "Frame" : "FrameNoBorder")
                                        : (info.ShowBevel ? "FrameNoCaption" : "FrameNoBorderCaption");
    if (TSeSkinObject* found = Child(Named(obj), name)) return found;
    return FirstChild(table_[ksePanel], {name, "Frame"});
}

TRect TTeSkinFile::BarGetClientRect(TteBarSubclass, TCanvas&, const TteBarInfo& info, const String& obj) {
    TSeSkinObject* frame = BarFrame(info, obj);
    if (!frame) return info.Rect;
    frame->SetBoundsRect(info.Rect);
    return TRect{frame->GetMarginLeft(), frame->GetMarginTop(), frame->GetWidth() - frame->GetMarginRight(),
                 frame->GetHeight() - frame->GetMarginBottom()};
}

void TTeSkinFile::BarDraw(TteBarSubclass, TCanvas& c, const TteBarInfo& info, const String& obj) {
    DrawObject(BarFrame(info, obj), c, info.Rect);
}

void TTeSkinFile::BarDrawCaption(TteBarSubclass, TCanvas& c, const TteBarInfo& info,
                                 const TteBarCaptionInfo& caption, const String& obj) {
    TSeSkinObject* named = Named(obj);
    TSeSkinObject* object =
        named ? Child(named, info.ShowBevel ? "Caption" : "CaptionNoBorder")
              : (info.ShowBevel ? Child(table_[ksePanel], "Caption")
                                : FirstChild(table_[ksePanel], {"CaptionNoBorder", "Caption"}));
    if (!object) return;
    Restore clear([object] { object->Text.clear(); });
    DrawObject(object, c, caption.Rect);
}

void TTeSkinFile::BarDrawButton(TteBarSubclass, TCanvas& c, const TteBarButtonInfo& info, const String& obj) {
    const char* name = nullptr;
    switch (info.ButtonClass) {
        case kbbcUp: name = "ButtonRollup"; break;
        case kbbcDown: name = "ButtonRollDown"; break;
        case kbbcClose: name = "ButtonHide"; break;
        default: return;
    }
    DrawObject(Child(Pick(obj, ksePanel), name), c, info.Rect,
               StandardState(info.DrawState == kbbdsDisabled, info.DrawState == kbbdsPressed,
                             info.DrawState == kbbdsHot));
}

// ---- Tab --------------------------------------------------------------------------------------

bool TTeSkinFile::IsTabDefined(TteTabSubclass s, const String& obj) {
    return Named(obj) || ((s == ktscTab || s == ktscPage) && table_[kseTabs]);
}

TRect TTeSkinFile::TabGetClientRect(TteTabSubclass, const TteTabInfo& info, const String&) {
    return Shrink(info.Rect, 2);
}

void TTeSkinFile::TabDraw(TteTabSubclass, TCanvas& c, const TteTabInfo& info, const String& obj) {
    DrawObject(ChildOf(Named(obj), table_[kseTabs], "Frame"), c, info.Rect);
}

void TTeSkinFile::TabDrawItem(TteTabSubclass, TCanvas& c, const TteTabItemInfo& info, const String& obj) {
    TSeSkinObject* tabs = Pick(obj, kseTabs);
    if (!tabs) return;
    const TTabSide side = TabSide(info.ItemClass);
    static constexpr const char* kSideNames[] = {"TabTop", "TabLeft", "TabRight", "TabRight"};
    TSeSkinObject* tab = Child(tabs, kSideNames[static_cast<int>(side)]);
    const bool generic = !tab;
    if (generic) tab = Child(tabs, "Tab");
    if (!tab) return;
    TSeState state = ssNormal;
    switch (info.DrawState) {
        case ktidsDisabled: state = ssDisabled; break;
        case ktidsActive: state = ssFocused; break;
        case ktidsHot: state = ssHot; break;
        default: break;
    }
    if (!generic || side == TTabSide::Top)
        DrawObject(tab, c, info.Rect, state);
    else
        DrawTurnedTab(tab, c, info.Rect, state, side);
}

void TTeSkinFile::TabDrawButton(TteTabSubclass, TCanvas& c, const TteTabButtonInfo& info, const String& obj) {
    TSeSkinObject* button =
        Child(Pick(obj, kseTabs), info.ButtonClass == ktbcLeft ? "LeftButton" : "RightButton");
    DrawObject(button, c, info.Rect,
               StandardState(info.DrawState == ktbdsDisabled, info.DrawState == ktbdsPressed,
                             info.DrawState == ktbdsHot));
}

void TTeSkinFile::TabDrawText(TteTabSubclass s, TCanvas& c, const TteTabItemInfo& info,
                              const TteTextInfo& text, const String& obj) {
    TteTextInfo t = text;
    const TTabSide side = TabSide(info.ItemClass);
    if (side == TTabSide::Left) t.Orientation = ktxoVerticalBottom;
    if (side == TTabSide::Right) t.Orientation = ktxoVerticalTop;
    TteTheme::TabDrawText(s, c, info, t, obj);
}

// ---- List, Tree, Grid -------------------------------------------------------------------------

bool TTeSkinFile::IsListDefined(TteListSubclass s, const String& obj) {
    return Named(obj) || (s == klscListBox && table_[kseListBox]);
}

TRect TTeSkinFile::ListGetClientRect(TteListSubclass, const TteListInfo& info, const String&) {
    TSeSkinObject* frame = Child(table_[kseListBox], "Frame");
    return frame ? ShrinkByMargins(frame, info.Rect) : info.Rect;
}

void TTeSkinFile::ListDraw(TteListSubclass, TCanvas& c, const TteListInfo& info, const String& obj) {
    DrawObject(ChildOf(Named(obj), table_[kseListBox], "Frame"), c, info.Rect);
}

void TTeSkinFile::ListDrawItem(TteListSubclass, TCanvas& c, const TteListItemInfo& info, const String& obj) {
    TSeState state = ssNormal;
    if (info.DrawState == klidsSelected || info.DrawState == klidsFocused) state = ssFocused;
    if (info.DrawState == klidsDisabled) state = ssDisabled;
    DrawObject(ChildOf(Named(obj), table_[kseListBox], "Item"), c, info.Rect, state);
}

void TTeSkinFile::ListDrawGlyph(TteListSubclass, TCanvas& c, const TteListItemInfo&,
                                const TteListGlyphInfo& glyph, const String& obj) {
    TSeSkinObject* list = Pick(obj, kseListBox);
    TSeSkinObject* check = table_[kseCheckbox];
    TSeSkinObject* found = nullptr;
    switch (glyph.Glyph) {
        case klgChecked: found = ChildOf(list, check, "Checked"); break;
        case klgUnchecked: found = ChildOf(list, check, "Unchecked"); break;
        case klgMixed:
            found = Child(list, "Mixed");
            if (!found) found = Child(table_[kseListBox], "Checked");
            if (!found) found = FirstChild(check, {"Mixed", "Checked"});
            break;
        case klgCustom: tedraw::DrawBitmapCentered(c, glyph.Bitmap, glyph.Rect); return;
    }
    DrawCentred(found, c, glyph.Rect);
}

bool TTeSkinFile::IsTreeDefined(TteTreeSubclass s, const String&) {
    return s == ktscTreeList && table_[kseListBox];
}

TRect TTeSkinFile::TreeGetClientRect(TteTreeSubclass, const TteTreeInfo& info, const String&) {
    return info.Rect;
}

void TTeSkinFile::TreeDraw(TteTreeSubclass, TCanvas& c, const TteTreeInfo& info, const String&) {
    DrawObject(Child(table_[kseListBox], "Frame"), c, info.Rect);
}

void TTeSkinFile::TreeDrawItem(TteTreeSubclass, TCanvas& c, const TteTreeItemInfo& info, const String&) {
    TSeState state = ssNormal;
    if (info.DrawState == kridsSelected || info.DrawState == kridsFocused) state = ssFocused;
    if (info.DrawState == kridsDisabled) state = ssDisabled;
    DrawObject(Child(table_[kseListBox], "Item"), c, info.Rect, state);
}

bool TTeSkinFile::IsGridDefined(TteGridSubclass s, const String&) { return s == kgscGrid && table_[kseGrid]; }

TRect TTeSkinFile::GridGetClientRect(TteGridSubclass, const TteGridInfo& info, const String&) {
    return info.Rect;
}

void TTeSkinFile::GridDraw(TteGridSubclass, TCanvas& c, const TteGridInfo& info, const String&) {
    DrawObject(Child(table_[kseGrid], "Frame"), c, info.Rect);
}

void TTeSkinFile::GridDrawItem(TteGridSubclass, TCanvas& c, const TteGridItemInfo& info, const String&) {
    static constexpr TSeState kStates[] = {ssNormal, ssHot, ssFocused, ssFocused, ssDisabled};
    DrawObject(Child(table_[kseGrid], info.ItemClass == kgicFixed ? "Fixed" : "Cell"), c, info.Rect,
               kStates[info.DrawState]);
}

}  // namespace tarvel
