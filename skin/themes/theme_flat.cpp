#include "skin/themes/theme_flat.h"

#include "skin/core/te_canvas_state.h"
#include "skin/core/te_theme_api.h"
#include "skin/core/te_theme_draw.h"
#include "skin/core/te_utils_draw.h"

namespace tarvel {

using namespace tedraw;

TTeFlatTheme::TTeFlatTheme() {
    // The base constructor could reset only as a base theme.
    ResetTheme();
}

TteThemeConfig TTeFlatTheme::GetThemeConfig() {
    TteThemeConfig config;
    config.Building = true;
    return config;
}

void InitThemeFlat() { RegisterTheme(ThemeClassOf<TTeFlatTheme>()); }

// ---- palette and fonts --------------------------------------------------------------------

void TTeFlatTheme::SetPalette(std::span<const TPaletteEntry> palette) {
    for (const TPaletteEntry& e : palette) Colors()->SetColor(e.Index, e.Color);
}

void TTeFlatTheme::ResetThemeColors() {
    static constexpr TPaletteEntry kPalette[] = {
        {ktcCaptionNormal, TColor(0x9CDEF7)}, {ktcCaptionInactive, clBtnFace},
        {ktcWindowBorder, TColor(0x808080)},  {ktcWindow, clBtnFace},
        {ktcBorder, TColor(0x8396A0)},        {ktcPanelNormal, clBtnFace},
        {ktcPanelDisabled, clBtnFace},        {ktcButtonNormal, clBtnFace},
        {ktcButtonHot, TColor(0xE1EAEB)},     {ktcButtonPressed, TColor(0x996633)},
        {ktcButtonFocused, TColor(0x996633)}, {ktcButtonDisabled, clBtnFace},
        {ktcEditNormal, TColor(0xFFFFFF)},    {ktcEditHot, TColor(0xFFFFFF)},
        {ktcEditFocused, TColor(0xFFFFFF)},   {ktcEditDisabled, TColor(0xFFFFFF)},
        {ktcEditSelection, TColor(0xB59285)}, {ktcList, TColor(0xFFFFFF)},
        {ktcTree, TColor(0xFFFFFF)},          {ktcGrid, TColor(0xFFFFFF)}};
    SetPalette(kPalette);
}

void TTeFlatTheme::SetFlatFonts(bool staticText, TColor captionNormal, TColor captionInactive) {
    struct TFontEntry {
        TteThemeFont First, Last;
        int Size;
        TColor Color;
        bool Bold;
    };
    const TFontEntry fonts[] = {
        {ktfCaptionTextNormal, ktfCaptionTextNormal, 10, captionNormal, true},
        {ktfCaptionTextInactive, ktfCaptionTextInactive, 10, captionInactive, true},
        {ktfSmCaptionTextNormal, ktfSmCaptionTextNormal, 8, clWhite, true},
        {ktfSmCaptionTextInactive, ktfSmCaptionTextInactive, 8, TColor(0xC0C0C0), true},
        {ktfButtonTextNormal, ktfButtonTextFocused, 8, clBlack, false},
        {ktfButtonTextDisabled, ktfButtonTextDisabled, 8, TColor(0x808080), false},
        {ktfCheckBoxTextNormal, ktfEditBoxTextHot, 8, clBlack, false},
        {ktfEditBoxTextDisabled, ktfEditBoxTextDisabled, 8, TColor(0x808080), false},
        {ktfMenuItemTextDisabled, ktfMenuItemTextDisabled, 8, TColor(0x808080), false},
        {ktfToolItemTextDisabled, ktfToolItemTextDisabled, 8, TColor(0x808080), false},
        {ktfPopupMenuItemTextDisabled, ktfPopupMenuItemTextDisabled, 8, TColor(0x808080), false},
        {ktfEditBoxTextSelected, ktfEditBoxTextSelected, 8, clWhite, false},
        {ktfHeaderSectionTextNormal, ktfHeaderSectionTextDisabled, 8, clBlack, false},
        {ktfStaticTextNormal, ktfStaticTextDisabled, 8, clBlack, false},
    };
    for (const TFontEntry& f : fonts) {
        if (f.First == ktfStaticTextNormal && !staticText) continue;
        for (int i = f.First; i <= f.Last; ++i)
            SetFont(Fonts()->GetFont(static_cast<TteThemeFont>(i)), "Tahoma", f.Size,
                    f.Bold ? TFontStyles{fsBold} : TFontStyles{}, f.Color);
    }
    Fonts()->ChangeFontsHue(DeltaHue());
    Fonts()->ChangeFontsBrightness(DeltaBrightness());
}

void TTeFlatTheme::ResetThemeFonts() { SetFlatFonts(true, clBlack, TColor(0x808080)); }

// ---- Window -------------------------------------------------------------------------------

bool TTeFlatTheme::IsWindowDefined(TteWindowSubclass, const String&) { return true; }

TRect TTeFlatTheme::WindowGetClientRect(TteWindowSubclass s, const TRect& rect, const String&) {
    switch (s) {
        case kwscStandard:
        case kwscDialog: {
            TRect r = Shrink(rect, 3);
            r.top += 20;
            return r;
        }
        case kwscToolWindow: {
            TRect r = Shrink(rect, 3);
            r.top += 16;
            return r;
        }
        case kwscBorder: return Shrink(rect, 3);
        default: return rect;
    }
}

TRect TTeFlatTheme::WindowGetTitleRect(TteWindowSubclass s, const TteWindowInfo& info, const String& obj) {
    const TRect c = WindowGetClientRect(s, info.Rect, obj);
    return TRect{c.left, info.Rect.top + 3, c.right, c.top};
}

TRect TTeFlatTheme::WindowGetButtonRect(TteWindowSubclass s, const TteWindowInfo& info,
                                        TteWindowButtonClass button, const String&) {
    const TRect c = WindowGetClientRect(s, info.Rect, "default");
    const TteWindowButtons& b = info.Buttons;
    // Right to left: close, maximise, minimise, roll, tray, help.
    const bool present[] = {b.Contains(kwbClose),
                            b.Contains(kwbMax) || b.Contains(kwbMaxRestore),
                            b.Contains(kwbMin) || b.Contains(kwbMinRestore),
                            b.Contains(kwbRoll) || b.Contains(kwbRollRestore),
                            b.Contains(kwbTray),
                            b.Contains(kwbHelp)};
    auto place = [&](int slot) {
        if (!present[slot]) return NullRect;
        int steps = 0;
        for (int i = 0; i < slot; ++i) steps += present[i] ? 1 : 0;
        TRect r{c.right - 22, 3, c.right, c.top};
        r.Offset(-24 * steps, 0);
        return r;
    };
    switch (button) {
        case kwbClose: return place(0);
        case kwbMax:
        case kwbMaxRestore: return place(1);
        case kwbMin:
        case kwbMinRestore: return place(2);
        case kwbRoll:
        case kwbRollRestore: return place(3);
        case kwbTray: return place(4);
        case kwbHelp: return place(5);
        case kwbSysMenu: return b.Contains(kwbSysMenu) ? TRect{c.left, 4, c.left + 22, c.top - 1} : NullRect;
        default: return NullRect;
    }
}

void TTeFlatTheme::WindowDraw(TteWindowSubclass s, TCanvas& c, const TteWindowInfo& info, const String& obj) {
    TRect r = info.Rect;
    DrawRect(c, r, Border());
    const TColor face = Color(ktcButtonNormal);
    r = Shrink(r, 1);
    DrawEdge(c, r, face, face);
    r = Shrink(r, 1);
    DrawEdge(c, r, face, face);
    const TRect t = WindowGetTitleRect(s, info, obj);
    const bool active = info.DrawState.Contains(kwdsActive);
    FillFramed(c, t, Color(active ? ktcCaptionNormal : ktcCaptionInactive), Border());
}

void TTeFlatTheme::WindowDrawText(TteWindowSubclass s, TCanvas& c, const TteWindowInfo& info,
                                  const TRect& rect, const String&) {
    const bool active = info.DrawState.Contains(kwdsActive);
    c.SetFont(Fonts()->GetFont(active ? ktfCaptionTextNormal : ktfCaptionTextInactive));
    TRect r = rect;
    if (s == kwscStandard || s == kwscDialog) r.left += 20;
    if (s == kwscToolWindow) r.left += 5;
    DrawThemeText(c, TextInfo(r, info.Caption, DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX));
}

void TTeFlatTheme::WindowDrawButton(TteWindowSubclass, TCanvas& c, const TteWindowButtonInfo& info,
                                    const String&) {
    const TRect& r = info.Rect;
    if (r.IsEmpty()) return;
    const bool pressed = info.DrawState == kwbdsPressed, hot = info.DrawState == kwbdsHot;
    const TColor k = Color(hot ? ktcButtonHot : ktcButtonNormal);
    if (info.ButtonClass != kwbSysMenu) {
        FillFramed(c, r, k, Border());
        const TRect inner = Shrink(r, 1);
        if (pressed) DrawEdge(c, inner, Darker(k, 100), Lighter(k, 100));
        if (hot) DrawEdge(c, inner, Lighter(k, 100), Darker(k, 100));
    }
    DrawWindowButtonGlyph(c, info, TSize{5, 7});
}

// ---- Label, Panel ------------------------------------------------------------------------------

bool TTeFlatTheme::IsLabelDefined(TteLabelSubclass, const String&) { return true; }
bool TTeFlatTheme::IsPanelDefined(TtePanelSubclass, const String&) { return true; }
TRect TTeFlatTheme::PanelGetClientRect(TtePanelSubclass, const TtePanelInfo& info, const String&) {
    return Shrink(info.Rect, 2);
}
void TTeFlatTheme::PanelDraw(TtePanelSubclass, TCanvas& c, const TtePanelInfo& info, const String&) {
    FillFramed(c, info.Rect, Color(ktcPanelNormal), Border());
}

// ---- Button, Check, Splitter ---------------------------------------------------------------------

bool TTeFlatTheme::IsButtonDefined(TteButtonSubclass, const String&) { return true; }
bool TTeFlatTheme::IsButtonTransparent(TteButtonSubclass, const String&) { return true; }

void TTeFlatTheme::ButtonDraw(TteButtonSubclass s, TCanvas& c, const TteButtonInfo& info, const String&) {
    TteThemeColor fill = ktcButtonNormal;
    switch (info.DrawState) {
        case kbdsDisabled: fill = ktcButtonDisabled; break;
        case kbdsPressed: fill = ktcButtonPressed; break;
        case kbdsHot: fill = ktcButtonHot; break;
        case kbdsFocused:
        case kbdsDefault: fill = ktcButtonFocused; break;
        default: break;
    }
    const TRect& r = info.Rect;
    FillFramed(c, r, Color(fill), Border());
    if (s == kbscComboDropDown) {
        // A fixed red dot, as the look has always been.
        FillRoundRect(c, CenteredBox(r, 5, 5), 3, TColor(0x0000FF));
        return;
    }
    static constexpr struct {
        TteButtonSubclass Subclass;
        unsigned Glyph;
    } kSpins[] = {{kbscSpinUp, DFCS_SCROLLUP},
                  {kbscSpinDown, DFCS_SCROLLDOWN},
                  {kbscSpinLeft, DFCS_SCROLLLEFT},
                  {kbscSpinRight, DFCS_SCROLLRIGHT}};
    for (const auto& spin : kSpins) {
        if (spin.Subclass != s) continue;
        TRect g = r;
        if (info.DrawState == kbdsPressed) g.Offset(1, 1);
        ScrollGlyph(c, g, spin.Glyph, Border());
    }
}

bool TTeFlatTheme::IsCheckDefined(TteCheckSubclass, const String&) { return true; }

void TTeFlatTheme::CheckDraw(TteCheckSubclass s, TCanvas& c, const TteCheckInfo& info, const String&) {
    const TteCheckDrawState st = info.DrawState;
    const bool hot = st == kcdsCheckedHot || st == kcdsUncheckedHot || st == kcdsMixedHot;
    const bool pressed = st == kcdsCheckedPressed || st == kcdsUncheckedPressed || st == kcdsMixedPressed;
    // The focused checked state shows no mark.
    const bool checked = st >= kcdsCheckedNormal && st <= kcdsCheckedDisabled;
    const bool mixed = st >= kcdsMixedNormal && st <= kcdsMixedDisabled;
    const TRect& r = info.Rect;
    if (s == kcscCheckBox) {
        const TColor fill = Color(hot ? ktcButtonHot : pressed ? ktcButtonFocused : ktcButtonNormal);
        FillFramed(c, r, fill, Border());
        if (checked) DrawCheckMark(c, (r.left + r.right) / 2 - 1, (r.top + r.bottom) / 2 + 1, Border());
        if (mixed) FillRect(c, Shrink(r, 3), Border());
        return;
    }
    const bool radioHot = st == kcdsCheckedHot || st == kcdsUncheckedHot;
    const bool radioPressed = st == kcdsCheckedPressed || st == kcdsUncheckedPressed;
    FillRoundRect(c, r, 10,
                  Color(radioHot       ? ktcButtonHot
                        : radioPressed ? ktcButtonFocused
                                       : ktcButtonNormal));
    DrawRoundRect(c, r, 10, Border());
    if (checked) FillRoundRect(c, Shrink(r, 3), 10, Border());
}

bool TTeFlatTheme::IsSplitterDefined(TteSplitterSubclass, const String&) { return true; }
void TTeFlatTheme::SplitterDraw(TteSplitterSubclass, TCanvas& c, const TteSplitterInfo& info, const String&) {
    FillFramed(c, info.Rect, Color(ktcButtonNormal), Border());
}

// ---- Scroll, Progress, Track ----------------------------------------------------------------------

bool TTeFlatTheme::IsScrollDefined(TteScrollSubclass s, const String&) { return s == ksscScrollBar; }

void TTeFlatTheme::ScrollDrawArea(TteScrollSubclass, TCanvas& c, const TteScrollAreaInfo& info,
                                  const String&) {
    FillHalftoneRect(c, info.Rect, clBtnFace, clWhite);
}

void TTeFlatTheme::ScrollDrawButton(TteScrollSubclass, TCanvas& c, const TteScrollButtonInfo& info,
                                    const String&) {
    static constexpr TteThemeColor kFill[] = {ktcButtonNormal, ktcButtonFocused, ktcButtonHot,
                                              ktcButtonDisabled};
    FillFramed(c, info.Rect, Color(kFill[info.DrawState]), Border());
    switch (info.ButtonClass) {
        case ksbcUp: ScrollGlyph(c, info.Rect, DFCS_SCROLLUP, Border()); break;
        case ksbcDown: ScrollGlyph(c, info.Rect, DFCS_SCROLLDOWN, Border()); break;
        case ksbcLeft: ScrollGlyph(c, info.Rect, DFCS_SCROLLLEFT, Border()); break;
        case ksbcRight: ScrollGlyph(c, info.Rect, DFCS_SCROLLRIGHT, Border()); break;
        default: break;
    }
}

bool TTeFlatTheme::IsProgressDefined(TteProgressSubclass, const String&) { return true; }
void TTeFlatTheme::ProgressDraw(TteProgressSubclass, TCanvas& c, const TteProgressInfo& info, const String&) {
    const bool bar = info.Part == kppBarVert || info.Part == kppBarHorz;
    FillFramed(c, info.Rect, Color(bar ? ktcButtonNormal : ktcButtonHot), Border());
}

bool TTeFlatTheme::IsTrackDefined(TteTrackSubclass, const String&) { return true; }
void TTeFlatTheme::TrackDraw(TteTrackSubclass, TCanvas&, const TteTrackInfo&, const String&) {}
void TTeFlatTheme::TrackBarDraw(TteTrackSubclass, TCanvas& c, const TteTrackBarInfo& info, const String&) {
    FillFramed(c, Shrink(info.Rect, 2), Color(ktcButtonNormal), Border());
}
void TTeFlatTheme::TrackDrawThumb(TteTrackSubclass, TCanvas& c, const TteTrackThumbInfo& info,
                                  const String&) {
    const bool hot = info.DrawState == kttdsHot || info.DrawState == kttdsPressed;
    FillFramed(c, info.Rect, Color(hot ? ktcButtonHot : ktcButtonNormal), Border());
}

// ---- Edit, Group, Memo, Box ---------------------------------------------------------------------------

bool TTeFlatTheme::IsEditDefined(TteEditSubclass, const String&) { return true; }
TRect TTeFlatTheme::EditGetClientRect(TteEditSubclass, TCanvas&, const TteEditInfo& info, const String&) {
    return Shrink(info.Rect, 4);
}
void TTeFlatTheme::EditDraw(TteEditSubclass, TCanvas& c, const TteEditInfo& info, const String&) {
    if (info.DrawState == kedsSelection) {
        FillRect(c, info.Rect, Color(ktcEditSelection));
        return;
    }
    FillFramed(c, info.Rect, Color(ktcEditNormal), Border());
}

void TTeFlatTheme::EditDrawButton(TteEditSubclass, TCanvas& c, const TteEditButtonInfo& info, const String&) {
    TteThemeColor fill = ktcButtonNormal;
    if (info.DrawState == kebdsHot) fill = ktcButtonHot;
    if (info.DrawState == kebdsPressed) fill = ktcButtonPressed;
    if (info.DrawState == kebdsDisabled) fill = ktcButtonDisabled;
    FillFramed(c, info.Rect, Color(fill), Border());
    if (info.ButtonClass == kebcDropDown || info.ButtonClass == kebcDown)
        ScrollGlyph(c, info.Rect, DFCS_SCROLLDOWN, Border());
    if (info.ButtonClass == kebcUp) ScrollGlyph(c, info.Rect, DFCS_SCROLLUP, Border());
}

bool TTeFlatTheme::IsGroupDefined(TteGroupSubclass, const String&) { return true; }
TRect TTeFlatTheme::GroupGetClientRect(TteGroupSubclass, const TteGroupInfo& info, const String&) {
    return Shrink(info.Rect, 6);
}
void TTeFlatTheme::GroupDraw(TteGroupSubclass, TCanvas& c, const TteGroupInfo& info, const String&) {
    TCanvasDCState state(c);
    const TRect& t = info.TextRect;
    if (!t.IsEmpty()) ExcludeClipRect(state.DC(), t.left, t.top, t.right, t.bottom);
    DrawRoundRect(c, info.Rect, 5, Border());
}

bool TTeFlatTheme::IsMemoDefined(TteMemoSubclass, const String&) { return true; }
void TTeFlatTheme::MemoDraw(TteMemoSubclass, TCanvas& c, const TteMemoInfo& info, const String&) {
    FillFramed(c, info.Rect, Color(ktcEditNormal), Border());
}

bool TTeFlatTheme::IsBoxDefined(TteBoxSubclass, const String&) { return true; }
TRect TTeFlatTheme::BoxGetClientRect(TteBoxSubclass, TCanvas&, const TteBoxInfo& info, const String&) {
    return Shrink(info.Rect, 2);
}
void TTeFlatTheme::BoxDraw(TteBoxSubclass, TCanvas& c, const TteBoxInfo& info, const String&) {
    FillFramed(c, info.Rect, Color(ktcButtonNormal), Border());
}

}  // namespace tarvel
