// Measuring and painting of menu items: as tool buttons on a menu bar that
// stands on a band container whose theme defines tool bars, with the
// theme's menu-bar or popup element when the theme defines it, else in the
// classic look from the system colours.

#include <array>

#include "platform/classlib/Application.h"
#include "platform/gdi/Gdi.h"
#include "skin/core/te_theme_api.h"
#include "skin/core/te_utils.h"
#include "skin/core/te_utils_draw.h"
#include "skin/forms/te_forms_bandhost.h"
#include "skin/forms/te_forms_frame.h"
#include "skin/forms/te_forms_mdichild.h"
#include "skin/forms/te_forms_menubar.h"
#include "skin/forms/te_forms_menus.h"
#include "skin/forms/te_forms_menuview.h"

namespace tarvel {

namespace {

constexpr unsigned kCentred = DT_CENTER | DT_VCENTER | DT_SINGLELINE;
constexpr unsigned kLeft = DT_VCENTER | DT_SINGLELINE;
constexpr unsigned kRight = DT_RIGHT | DT_VCENTER | DT_SINGLELINE;
constexpr int kGlyphColumn = 22;
constexpr int kPopupExtra = 42;
constexpr int kBarExtra = 12;
constexpr int kSeparatorHeight = 15;
constexpr int kShortCutGap = 22;
constexpr int kArrowColumn = 24;
constexpr int kArrowSize = 20;

constexpr std::array<TPoint, 7> kCheckBlack{{{-2, -2}, {0, 0}, {4, -4}, {4, -3}, {0, 1}, {-2, -1}, {-2, -2}}};
constexpr std::array<TPoint, 5> kCheckWhite{{{-3, -2}, {-3, -1}, {0, 2}, {5, -3}, {5, -5}}};

// The fonts of a state, in the order normal, hot, selected, disabled.
constexpr TteThemeFont kBarFonts[] = {ktfMenuItemTextNormal, ktfMenuItemTextHot, ktfMenuItemTextSelected,
                                      ktfMenuItemTextDisabled};
constexpr TteThemeFont kToolFonts[] = {ktfToolItemTextNormal, ktfToolItemTextHot, ktfToolItemTextSelected,
                                       ktfToolItemTextDisabled};
constexpr TteThemeFont kPopupFonts[] = {ktfPopupMenuItemTextNormal, ktfPopupMenuItemTextHot,
                                        ktfPopupMenuItemTextSelected, ktfPopupMenuItemTextDisabled};

TteMenuItemDrawState StateOf(const TTeItem* item, bool selected, bool notInLoop) {
    if (!item->Enabled()) return kmidsDisabled;
    if (selected) return notInLoop ? kmidsHot : kmidsSelected;
    return kmidsNormal;
}

// The tool style's states carry the same numbers as the menu's.
TteToolItemDrawState ToolState(TteMenuItemDrawState state) {
    return static_cast<TteToolItemDrawState>(state);
}

void UseThemeFont(TCanvas* canvas, TteTheme* theme, TteThemeFont index, const String& object) {
    if (!theme || !theme->Fonts()) return;
    if (TFont* font = theme->Fonts()->GetFontForObject(index, object)) canvas->SetFont(font);
}

WideString ShortCutText(TShortCut shortCut) { return Utf8ToWide(ShortCutToText(shortCut)); }

}  // namespace

int TTeItem::GetGlyphSize() {
    TCustomImageList* images = GetImgList();
    if (images && images->Width() > MenuItemHeight) return images->Width() + 6;
    return kGlyphColumn;
}

void TTeItem::CalcSize(TCanvas* canvas, TTeItemView* view, int& width, int& height) {
    if (!canvas || !view) return;
    View = view;
    if (MenuFont) canvas->SetFont(MenuFont);
    width = MenuItemWidth;
    height = MenuItemHeight;
    TCustomImageList* images = GetImgList();
    TteTheme* theme = GetThemeLink(ThemeLink());
    const bool tallImages = images && images->Height() > height;
    if (view->IsMenuBar()) {
        if (IsObjectDefined(kmscMenuBar, ThemeObject(), ThemeLink()))
            UseThemeFont(canvas, theme, ktfMenuItemTextNormal, ThemeObject());
        width = TextWidth(*canvas, Caption(), DT_NOPREFIX) + kBarExtra;
        if (tallImages) height = images->Height() + 4;
        if (images && ImageIndex() >= 0) width += GetGlyphSize();
        if (MDIKind != mikNone) width = height;
        return;
    }
    if (IsObjectDefined(kmscPopupMenu, ThemeObject(), ThemeLink()))
        UseThemeFont(canvas, theme, ktfPopupMenuItemTextNormal, ThemeObject());
    width = TextWidth(*canvas, Caption(), DT_NOPREFIX) + GetGlyphSize() + kPopupExtra;
    if (ShortCut != scNone) width += TextWidth(*canvas, ShortCutText(ShortCut));
    if (IsSeparator())
        height = kSeparatorHeight;
    else if (tallImages)
        height = images->Height() + 4;
}

namespace {

// A bar entry drawn through a theme: as a tool button over a band
// container, or with the menu bar's own element. Only the element differs.
struct TToolElement {
    static constexpr const TteThemeFont* Fonts = kToolFonts;
    static TteToolItemClass ButtonClass(TTeMDIItemKind kind) {
        return kind == mikClose ? kticClose : kind == mikRestore ? kticRestore : kticMin;
    }
    static void Item(TteTheme* t, TCanvas& c, const TRect& r, TteToolItemClass kind, TteMenuItemDrawState s,
                     const String& obj) {
        t->ToolDrawItem(ktscToolBar, c, ToolItemInfo(r, kind, ToolState(s)), obj);
    }
    static void Glyph(TteTheme* t, TCanvas& c, const TRect& g, TteMenuItemDrawState s,
                      TCustomImageList* images, int index, bool enabled) {
        t->ToolDrawItemGlyph(ktscToolBar, c, ToolItemInfo(g, kticNormal, ToolState(s)),
                             ToolGlyphInfo(g, images, index, kgfaCenter, enabled), "default");
    }
    static void SysGlyph(TteTheme* t, TCanvas& c, const TRect& r, TteMenuItemDrawState s, TteBitmap* glyph) {
        t->ToolDrawItemGlyph(ktscToolBar, c, ToolItemInfo(r, kticNormal, ToolState(s)),
                             ToolGlyphInfo(r, glyph, kgfaCenter, ktigSysMenu), "default");
    }
    static void Text(TteTheme* t, TCanvas& c, const TRect& r, TteMenuItemDrawState s, const TteTextInfo& text,
                     const String& obj) {
        t->ToolDrawItemText(ktscToolBar, c, ToolItemInfo(r, kticNormal, ToolState(s)), text, obj);
    }
    static constexpr TteToolItemClass kNormal = kticNormal;
};

struct TMenuBarElement {
    static constexpr const TteThemeFont* Fonts = kBarFonts;
    static TteMenuItemClass ButtonClass(TTeMDIItemKind kind) {
        return kind == mikClose ? kmicClose : kind == mikRestore ? kmicRestore : kmicMin;
    }
    static void Item(TteTheme* t, TCanvas& c, const TRect& r, TteMenuItemClass kind, TteMenuItemDrawState s,
                     const String& obj) {
        t->MenuDrawItem(kmscMenuBar, c, MenuItemInfo(r, kind, s), obj);
    }
    static void Glyph(TteTheme* t, TCanvas& c, const TRect& g, TteMenuItemDrawState s,
                      TCustomImageList* images, int index, bool enabled) {
        t->MenuDrawItemGlyph(kmscMenuBar, c, MenuItemInfo(g, kmicNormal, s),
                             MenuGlyphInfo(g, images, index, kgfaCenter, enabled), "default");
    }
    static void SysGlyph(TteTheme* t, TCanvas& c, const TRect& r, TteMenuItemDrawState s, TteBitmap* glyph) {
        t->MenuDrawItemGlyph(kmscMenuBar, c, MenuItemInfo(r, kmicNormal, s),
                             MenuGlyphInfo(r, glyph, kgfaCenter, kmgSysMenu), "default");
    }
    static void Text(TteTheme* t, TCanvas& c, const TRect& r, TteMenuItemDrawState s, const TteTextInfo& text,
                     const String& obj) {
        t->MenuDrawItemText(kmscMenuBar, c, MenuItemInfo(r, kmicNormal, s), text, obj);
    }
    static constexpr TteMenuItemClass kNormal = kmicNormal;
};

template <class Element>
void DrawBarEntry(TTeItem* item, TCanvas& c, TteTheme* theme, TRect R, TteMenuItemDrawState state) {
    const TTeMDIItemKind kind = item->MDIKind;
    if (kind == mikClose || kind == mikRestore || kind == mikMinimize) {
        Element::Item(theme, c, R, Element::ButtonClass(kind), state, "default");
        return;
    }
    if (kind == mikSysMenu) {
        // The maximized child's icon, when its frame is a skinned one.
        TCustomForm* main = Application ? Application->MainForm() : nullptr;
        TCustomForm* child = main ? main->ActiveMDIChild() : nullptr;
        if (!child) return;
        const std::unique_ptr<TteBitmap> glyph =
            FrameIconGlyph(GetParentQvMDIChild(child) ? child->Handle() : HWND{});
        Element::Item(theme, c, R, Element::kNormal, state, "default");
        Element::SysGlyph(theme, c, R, state, glyph.get());
        return;
    }
    Element::Item(theme, c, R, Element::kNormal, state, item->ThemeObject());
    UseThemeFont(&c, theme, Element::Fonts[state], item->ThemeObject());
    TCustomImageList* images = item->GetImgList();
    if (images && item->ImageIndex() >= 0) {
        const int glyph = item->GetGlyphSize();
        Element::Glyph(theme, c, TRect{R.left, R.top, R.left + glyph, R.bottom}, state, images,
                       item->ImageIndex(), item->Enabled());
        R.left += glyph;
    }
    Element::Text(theme, c, R, state, TextInfo(R, item->Caption(), item->DrawTextBiDiModeFlags(kCentred)),
                  item->ThemeObject());
}

// The classic text of an entry: raised out of the face when disabled and
// not hot, flat grey when disabled and hot.
void ClassicText(TTeItem* item, TCanvas& c, const WideString& text, TRect r, unsigned format, TColor color,
                 bool selected) {
    const unsigned flags = item->DrawTextBiDiModeFlags(format);
    if (!item->Enabled()) {
        if (!selected) {
            TRect shadow = r;
            shadow.Offset(1, 1);
            c.Font()->SetColor(clBtnHighlight);
            DrawText(c, text, shadow, flags);
        }
        color = clBtnShadow;
    }
    c.Font()->SetColor(color);
    DrawText(c, text, r, flags);
}

void DrawImageCentred(TCanvas& c, TCustomImageList* images, int index, const TRect& g, bool enabled) {
    images->Draw(&c, g.left + (g.Width() - images->Width()) / 2, g.top + (g.Height() - images->Height()) / 2,
                 index, enabled);
}

}  // namespace

void TTeItem::DrawItem(TCanvas* canvas, TTeItemView* view, const TRect& rect, bool selected, bool notInLoop) {
    if (!canvas || !view) return;
    View = view;
    if (!Visible()) return;
    TCanvas& c = *canvas;
    TteTheme* theme = GetThemeLink(ThemeLink());
    TCustomImageList* images = GetImgList();
    const bool hasImage = images && ImageIndex() >= 0;
    const TteMenuItemDrawState state = StateOf(this, selected, notInLoop);
    const int glyph = GetGlyphSize();
    TRect R = rect;

    if (view->IsMenuBar() && theme && IsOnBandHost(dynamic_cast<TTeMenuBar*>(GetParentComponent())) &&
        IsObjectDefined(ktscToolBar, ThemeObject(), ThemeLink())) {
        DrawBarEntry<TToolElement>(this, c, theme, R, state);
        return;
    }
    if (view->IsMenuBar() && theme && IsObjectDefined(kmscMenuBar, ThemeObject(), ThemeLink())) {
        DrawBarEntry<TMenuBarElement>(this, c, theme, R, state);
        return;
    }

    if (!view->IsMenuBar() && theme && IsObjectDefined(kmscPopupMenu, ThemeObject(), ThemeLink())) {
        if (IsSeparator()) {
            theme->MenuDrawItem(kmscPopupMenu, c, MenuItemInfo(R, kmicSeparator, kmidsNormal), ThemeObject());
            return;
        }
        theme->MenuDrawItem(kmscPopupMenu, c, MenuItemInfo(R, kmicNormal, state), ThemeObject());
        UseThemeFont(canvas, theme, kPopupFonts[state], ThemeObject());
        if (Checked() || hasImage) {
            const TRect g{R.left, R.top, R.left + glyph, R.bottom};
            theme->MenuDrawItemGlyph(kmscPopupMenu, c, MenuItemInfo(g, kmicNormal, state),
                                     hasImage ? MenuGlyphInfo(g, images, ImageIndex(), kgfaCenter, Enabled())
                                              : MenuGlyphInfo(g, kmgCheckGlyph),
                                     ThemeObject());
        }
        TRect t = R;
        t.left += glyph + 4;
        theme->MenuDrawItemText(kmscPopupMenu, c, MenuItemInfo(t, kmicNormal, state),
                                TextInfo(t, Caption(), DrawTextBiDiModeFlags(kLeft)), ThemeObject());
        if (ShortCut != scNone) {
            t.right -= kShortCutGap;
            theme->MenuDrawItemText(kmscPopupMenu, c, MenuItemInfo(t, kmicNormal, state),
                                    TextInfo(t, ShortCutText(ShortCut), DrawTextBiDiModeFlags(kRight)),
                                    ThemeObject());
        }
        if (Count() > 0) {
            const TRect a{R.right - kArrowColumn, R.top + (R.Height() - kArrowSize) / 2, R.right - 2,
                          R.bottom};
            theme->MenuDrawItemGlyph(kmscPopupMenu, c, MenuItemInfo(a, kmicNormal, state),
                                     MenuGlyphInfo(a, kmgSubMenuGlyph), ThemeObject());
        }
        return;
    }

    // ---- classic ----
    if (MenuFont) c.SetFont(MenuFont);
    if (view->IsMenuBar()) {
        FillRect(c, R, clMenu);
        if (MDIKind == mikClose || MDIKind == mikRestore || MDIKind == mikMinimize) {
            unsigned dfcs = 0x10;
            if (selected) dfcs |= notInLoop ? DFCS_FLAT : DFCS_PUSHED;
            dfcs |= MDIKind == mikClose     ? DFCS_CAPTIONCLOSE
                    : MDIKind == mikRestore ? DFCS_CAPTIONRESTORE
                                            : DFCS_CAPTIONMIN;
            TRect b = RectOffset(R, -2);
            b.right += 1;
            b.bottom -= 1;
            DrawFrameControl(c.Handle(), &b, DFC_CAPTION, dfcs);
            return;
        }
        if (MDIKind == mikSysMenu) return;
        if (Enabled() && selected) {
            if (notInLoop)
                DrawEdge(c, R, clBtnHighlight, clBtnShadow);
            else
                DrawEdge(c, R, clBtnShadow, clBtnHighlight);
        }
        if (hasImage) {
            DrawImageCentred(c, images, ImageIndex(), TRect{R.left, R.top, R.left + R.Height(), R.bottom},
                             Enabled());
            R.left += glyph;
        }
        ClassicText(this, c, Caption(), R, kCentred, clMenuText, false);
        return;
    }

    if (IsSeparator()) {
        FillRect(c, R, clMenu);
        const TRect line{R.left + 2, R.top + 7, R.right - 2, R.top + 9};
        DrawEdge(c, line, clBtnShadow, clBtnHighlight);
        return;
    }
    const TColor text = selected ? clHighlightText : clMenuText;
    FillRect(c, R, selected ? clHighlight : clMenu);
    if (Checked() || hasImage) {
        TRect g{R.left, R.top, R.left + glyph, R.bottom};
        FillRect(c, g, clBtnFace);
        g.right = g.left + g.Height();
        if (Checked() && !selected) {
            FillHalftoneRect(c, g, clBtnFace, clWhite);
            DrawEdge(c, g, clBtnShadow, clBtnHighlight);
        } else if (Checked()) {
            DrawEdge(c, g, clBtnShadow, clBtnHighlight);
        } else if (selected) {
            DrawEdge(c, g, clBtnHighlight, clBtnShadow);
        }
        if (hasImage) {
            DrawImageCentred(c, images, ImageIndex(), g, Enabled());
        } else {
            const TPoint centre{(g.left + g.right) / 2 - 2, (g.top + g.bottom) / 2 + 1};
            auto polyline = [&](const auto& shape, TColor color) {
                std::array<TPoint, std::tuple_size_v<std::decay_t<decltype(shape)>>> points;
                for (size_t i = 0; i < shape.size(); ++i)
                    points[i] = TPoint{centre.x + shape[i].x, centre.y + shape[i].y};
                c.Pen()->SetColor(color);
                c.Polyline(points);
            };
            polyline(kCheckBlack, clBlack);
            polyline(kCheckWhite, clWhite);
        }
    }
    TRect t = R;
    t.left += glyph + 4;
    ClassicText(this, c, Caption(), t, kLeft, text, selected);
    if (ShortCut != scNone) {
        t.right -= kShortCutGap;
        ClassicText(this, c, ShortCutText(ShortCut), t, kRight, text, selected);
    }
    if (Count() > 0)
        DrawMenuArrow(c, R.right - kArrowColumn, R.top + (R.Height() - kArrowSize) / 2, c.Font()->Color());
}

void TTeItem::DrawScrollButton(TCanvas* canvas, TTeItemView*, const TRect& rect, TTeMenuScrollButton button,
                               bool hot) {
    if (!canvas || button == ksbNone) return;
    TCanvas& c = *canvas;
    TteTheme* theme = GetThemeLink(ThemeLink());
    if (theme && IsObjectDefined(kmscPopupMenu, ThemeObject(), ThemeLink())) {
        const TteMenuItemDrawState state = !Root()->Enabled() ? kmidsDisabled
                                           : hot              ? kmidsSelected
                                                              : kmidsNormal;
        theme->MenuDrawItem(kmscPopupMenu, c,
                            MenuItemInfo(rect, button == ksbUp ? kmicHomeButton : kmicEndButton, state),
                            "default");
        return;
    }
    if (MenuFont) c.SetFont(MenuFont);
    FillRect(c, rect, clMenu);
    if (hot) DrawEdge(c, rect, clBtnShadow, clBtnHighlight);
    TRect t{0, 0, 7, 4};
    RectCenter(t, rect);
    const int mid = (t.left + t.right - 1) / 2;
    const std::array<TPoint, 3> up{{{t.left, t.bottom - 1}, {t.right - 1, t.bottom - 1}, {mid, t.top}}};
    const std::array<TPoint, 3> down{{{t.left, t.top}, {t.right - 1, t.top}, {mid, t.bottom - 1}}};
    FillPolygon(c, button == ksbUp ? up.data() : down.data(), 2, c.Font()->Color());
}

}  // namespace tarvel
