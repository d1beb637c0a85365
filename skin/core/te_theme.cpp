#include "skin/core/te_theme.h"

#include <iterator>

#include "skin/core/te_canvas_state.h"
#include "skin/core/te_theme_draw.h"
#include "skin/core/te_theme_manager.h"
#include "skin/core/te_utils.h"
#include "skin/core/te_utils_draw.h"

namespace tarvel {

// A constructor runs only its own class's reset (the derived parts are not
// made yet), so the virtual constructor resets once more through the slot.
TteTheme* TteThemeClassRec::Create() const {
    TteTheme* theme = Class->Create<TteTheme>();
    if (theme->ClassType() != TteTheme::StaticClass()) theme->ResetTheme();
    return theme;
}

using namespace tedraw;

namespace {

void DrawBitmapAt(TCanvas& c, const TteBitmap* bitmap, int x, int y) {
    if (bitmap && !bitmap->Empty()) bitmap->Draw(c.Handle(), x, y);
}

void DrawBitmapInto(TCanvas& c, const TteBitmap* bitmap, const TRect& r) {
    if (bitmap && !bitmap->Empty()) bitmap->Draw(c.Handle(), r);
}

// The fill of a list, tree or grid item by state; clNone for none.
TColor ItemFill(int state) {
    static constexpr TColor kFill[] = {clWhite, clYellow, clNavy, clBlue, clSilver};
    return state >= 0 && state < static_cast<int>(std::size(kFill)) ? kFill[state] : clNone;
}

void DrawItem(TCanvas& c, const TRect& r, int state) {
    const TColor fill = ItemFill(state);
    if (fill != clNone) FillRect(c, r, fill);
    DrawRect(c, r, clBlue);
}

// The scroll button and area fill: Normal, Pressed, Hot, Disabled.
TColor ScrollFill(int state) {
    static constexpr TColor kFill[] = {clGray, clBlue, clRed, clSilver};
    return state >= 0 && state < static_cast<int>(std::size(kFill)) ? kFill[state] : clGray;
}

// The glyphs menus and tool bars share: check mark, radio dot, sub-menu
// arrow and picture.
enum class TItemGlyph { Check, Radio, SubMenu, Picture, None };

void DrawItemGlyph(TCanvas& c, TItemGlyph kind, const TRect& r, const TteBitmap* bitmap) {
    switch (kind) {
        case TItemGlyph::Check: DrawItemCheckMark(c, r); break;
        case TItemGlyph::Radio: DrawItemRadioDot(c, r); break;
        case TItemGlyph::SubMenu: DrawSubMenuArrow(c, r); break;
        case TItemGlyph::Picture: DrawBitmapCentered(c, bitmap, r); break;
        case TItemGlyph::None: break;
    }
}

TItemGlyph MenuGlyphKind(TteMenuGlyph g) {
    switch (g) {
        case kmgCheckGlyph: return TItemGlyph::Check;
        case kmgRadioGlyph: return TItemGlyph::Radio;
        case kmgSubMenuGlyph: return TItemGlyph::SubMenu;
        case kmgGlyph: return TItemGlyph::Picture;
        default: return TItemGlyph::None;
    }
}

TItemGlyph ToolGlyphKind(TteToolGlyph g) {
    switch (g) {
        case ktigCheckGlyph: return TItemGlyph::Check;
        case ktigRadioGlyph: return TItemGlyph::Radio;
        case ktigSubMenuGlyph: return TItemGlyph::SubMenu;
        case ktigGlyph: return TItemGlyph::Picture;
        default: return TItemGlyph::None;
    }
}

}  // namespace

// ---- life ------------------------------------------------------------------

TteTheme::TteTheme() {
    colors_ = new TteThemeColors(this);
    sysColors_ = new TteThemeSysColors(this);
    fonts_ = new TteThemeFonts(this);
    metrics_ = new TteThemeMetrics(this);
    drawing_ = new TteThemeDrawing(this);
    options_ = new TteThemeOptions(this);
    TteTheme::ResetTheme();
}

TteTheme::~TteTheme() {
    delete options_;
    delete metrics_;
    delete drawing_;
    delete fonts_;
    delete sysColors_;
    delete colors_;
}

void TteTheme::Assign(TPersistent* source) {
    if (auto* other = dynamic_cast<TteTheme*>(source)) {
        Name = other->Name;
        colors_->Assign(other->colors_);
        sysColors_->Assign(other->sysColors_);
        fonts_->Assign(other->fonts_);
        options_->Assign(other->options_);
        return;
    }
    inherited::Assign(source);
}

void TteTheme::ResetThemeColors() {
    struct TBase {
        TteThemeColor Index;
        TColor Color;
    };
    static constexpr TBase kPalette[] = {{ktcCaptionNormal, clBlue},
                                         {ktcCaptionInactive, clSilver},
                                         {ktcWindowBorder, clGray},
                                         {ktcWindow, clSilver},
                                         {ktcPanelNormal, clBtnFace},
                                         {ktcPanelDisabled, clBtnFace},
                                         {ktcButtonNormal, clBtnFace},
                                         {ktcButtonHot, clBtnFace},
                                         {ktcButtonPressed, clBtnFace},
                                         {ktcButtonFocused, clBtnFace},
                                         {ktcButtonDisabled, clBtnFace},
                                         {ktcEditNormal, clWindow},
                                         {ktcEditHot, clWindow},
                                         {ktcEditFocused, clWindow},
                                         {ktcEditDisabled, clBtnFace},
                                         {ktcEditSelection, clHighlight},
                                         {ktcHint, clInfoBk},
                                         {ktcList, clWindow},
                                         {ktcTree, clWindow},
                                         {ktcGrid, clWindow},
                                         {ktcBarDock, clBtnFace}};
    for (const TBase& b : kPalette) colors_->SetColor(b.Index, b.Color);
    colors_->ChangeColorsHue(deltaHue_);
    colors_->ChangeColorsBrightness(deltaBrightness_);
}

void TteTheme::ResetThemeSysColors() {
    sysColors_->RestoreBase();
    sysColors_->ChangeColorsHue(deltaHue_);
    sysColors_->ChangeColorsBrightness(deltaBrightness_);
}

void TteTheme::ResetThemeFonts() {
    struct TBase {
        TteThemeFont First, Last;
        int Size;
        TColor Color;
        bool Bold;
    };
    static constexpr TBase kFonts[] = {
        {ktfCaptionTextNormal, ktfCaptionTextNormal, 10, clWhite, true},
        {ktfCaptionTextInactive, ktfCaptionTextInactive, 10, clSilver, true},
        {ktfSmCaptionTextNormal, ktfSmCaptionTextNormal, 8, clWhite, true},
        {ktfSmCaptionTextInactive, ktfSmCaptionTextInactive, 8, clSilver, true},
        {ktfStaticTextNormal, ktfStaticTextDisabled, 8, clBlack, false},
        {ktfButtonTextNormal, ktfButtonTextFocused, 8, clBlack, false},
        {ktfButtonTextDisabled, ktfButtonTextDisabled, 8, clBtnShadow, false},
        {ktfCheckBoxTextNormal, ktfGroupBoxTextNormal, 8, clBlack, false},
        {ktfGroupBoxTextDisabled, ktfGroupBoxTextDisabled, 8, clBtnShadow, false},
        {ktfWindowTextNormal, ktfWindowTextNormal, 8, clBlack, false},
        {ktfWindowTextDisabled, ktfWindowTextDisabled, 8, clBtnShadow, false},
        {ktfEditBoxTextNormal, ktfEditBoxTextHot, 8, clBlack, false},
        {ktfEditBoxTextDisabled, ktfEditBoxTextDisabled, 8, clBtnShadow, false},
        {ktfEditBoxTextSelected, ktfEditBoxTextSelected, 8, clWhite, false},
        {ktfMenuItemTextDisabled, ktfMenuItemTextDisabled, 8, clBtnShadow, false},
        {ktfToolItemTextDisabled, ktfToolItemTextDisabled, 8, clBtnShadow, false},
        {ktfPopupMenuItemTextDisabled, ktfPopupMenuItemTextDisabled, 8, clBtnShadow, false},
        {ktfHeaderSectionTextHot, ktfHeaderSectionTextHot, 8, clBlack, false},
    };
    for (const TBase& b : kFonts)
        for (int i = b.First; i <= b.Last; ++i)
            SetFont(fonts_->GetFont(static_cast<TteThemeFont>(i)), "Tahoma", b.Size,
                    b.Bold ? TFontStyles{fsBold} : TFontStyles{}, b.Color);
    fonts_->ChangeFontsHue(deltaHue_);
    fonts_->ChangeFontsBrightness(deltaBrightness_);
}

void TteTheme::SetFontForObject(TFont* font, TteThemeFont index, const String&) {
    font->Assign(fonts_->GetFont(index));
}

bool TteTheme::LoadFromStream(TStream&) { return false; }
bool TteTheme::SaveToStream(TStream&) { return false; }
bool TteTheme::LoadFromFile(const String&) { return false; }
bool TteTheme::SaveToFile(const String&) { return false; }

void TteTheme::ResetTheme() {
    ResetThemeColors();
    ResetThemeSysColors();
    ResetThemeFonts();
}

void TteTheme::ChangeThemeHue(int delta) {
    if (delta == deltaHue_) return;
    deltaHue_ = delta;
    ResetTheme();
}

void TteTheme::ChangeThemeBrightness(int delta) {
    if (delta == deltaBrightness_) return;
    deltaBrightness_ = delta;
    ResetTheme();
}

void TteTheme::ChangeThemeHueAndBrightness(int hue, int brightness) {
    if (hue == deltaHue_ && brightness == deltaBrightness_) return;
    deltaHue_ = hue;
    deltaBrightness_ = brightness;
    ResetTheme();
}

TteTheme* TteTheme::CreateCopy() {
    TteThemeClass cls = ThemeManager ? ThemeManager->GetThemeClass(ClassName()) : nullptr;
    if (!cls) return nullptr;
    TteTheme* copy = cls->Create();
    copy->Assign(this);
    return copy;
}

TRect TteTheme::GetBounds(const String&) { return NullRect; }
TColor TteTheme::CustomColor(const String&) { return clNone; }

// ---- text ------------------------------------------------------------------

void TteTheme::DrawThemeText(TCanvas& c, const TteTextInfo& t) {
    unsigned flags = 0;
    TteTextAlign align = t.Align;
    if (t.Style.Contains(ktxsRTLReading)) {
        flags |= DT_RTLREADING;
        if (align <= ktxaBottomLeft) align = static_cast<TteTextAlign>(align + ktxaTopRight);
    }
    if (t.Style.Contains(ktxsNoPrefix)) flags |= DT_NOPREFIX;
    if (t.Style.Contains(ktxsWordBreak)) flags |= DT_WORDBREAK;
    if (t.Style.Contains(ktxsSingleLine)) flags |= DT_SINGLELINE;
    const TRect& r = t.Rect;

    if (t.Orientation == ktxoHorizontal) {
        TRect m = r;
        if (align != ktxaTopLeft) {
            DrawText(c, t.Text, m, flags | DT_CALCRECT);
            const int w = m.Width(), h = m.Height();
            const int column = align / 3, row = align % 3;
            const int dx = column == 0 ? 0 : column == 1 ? (r.Width() - w) / 2 : r.Width() - w;
            const int dy = row == 0 ? 0 : row == 1 ? (r.Height() - h) / 2 : r.Height() - h;
            m = TRect{r.left + dx, r.top + dy, r.left + dx + w, r.top + dy + h};
        }
        DrawText(c, t.Text, m, flags);
        return;
    }

    const bool topToBottom = t.Orientation == ktxoVerticalTop;
    if (align == ktxaTopLeft) {
        DrawVerticalText(c, t.Text, r, flags, topToBottom);
    } else if (align == ktxaMiddleCenter) {
        // Measured as lying text in a box of the turned rectangle's size.
        TRect m{r.left, r.top, r.left + r.Height(), r.top + r.Width()};
        DrawText(c, t.Text, m, flags | DT_CALCRECT);
        const int w = m.Width(), h = m.Height();
        TRect target{r.left, r.top, r.left + h, r.top + w};
        target.Offset((r.Width() - h) / 2, (r.Height() - w) / 2);
        target.top -= 2;
        target.bottom += 2;
        DrawVerticalText(c, t.Text, target, flags, topToBottom);
    }
}

// ---- Window ----------------------------------------------------------------

bool TteTheme::IsWindowDefined(TteWindowSubclass, const String&) { return false; }
HRGN TteTheme::WindowGetRegion(TteWindowSubclass, const TRect&, const String&) { return HRGN{}; }

TRect TteTheme::WindowGetClientRect(TteWindowSubclass, const TRect& r, const String&) {
    return TRect{r.left + 4, r.top + 22, r.right - 4, r.bottom - 4};
}

TRect TteTheme::WindowGetTitleRect(TteWindowSubclass s, const TteWindowInfo& info, const String&) {
    const TRect c = WindowGetClientRect(s, info.Rect, "default");
    return TRect{c.left, 3, c.right, c.top};
}

TRect TteTheme::WindowGetButtonRect(TteWindowSubclass s, const TteWindowInfo& info,
                                    TteWindowButtonClass button, const String&) {
    const TRect c = WindowGetClientRect(s, info.Rect, "default");
    const TteWindowButtons& b = info.Buttons;
    auto has = [&](TteWindowButtonClass a, TteWindowButtonClass restore) {
        return b.Contains(a) || b.Contains(restore);
    };
    const bool close = b.Contains(kwbClose), max = has(kwbMax, kwbMaxRestore),
               min = has(kwbMin, kwbMinRestore), roll = has(kwbRoll, kwbRollRestore),
               tray = b.Contains(kwbTray), help = b.Contains(kwbHelp);
    // The buttons stand right to left in this order; each present one
    // pushes those after it one step further left.
    const bool order[] = {close, max, min, roll, tray, help};
    auto place = [&](int slot, bool present) {
        if (!present) return NullRect;
        int steps = 0;
        for (int i = 0; i < slot; ++i) steps += order[i] ? 1 : 0;
        return TRect{c.right - 23 - 22 * steps, 4, c.right - 1 - 22 * steps, c.top - 1};
    };
    switch (button) {
        case kwbSysMenu: return b.Contains(kwbSysMenu) ? TRect{c.left, 4, c.left + 22, c.top - 1} : NullRect;
        case kwbClose: return place(0, close);
        case kwbMax:
        case kwbMaxRestore: return place(1, max);
        case kwbMin:
        case kwbMinRestore: return place(2, min);
        case kwbRoll:
        case kwbRollRestore: return place(3, roll);
        case kwbTray: return place(4, tray);
        case kwbHelp: return place(5, help);
        default: return NullRect;
    }
}

TteWindowHitTest TteTheme::WindowGetHitTest(TteWindowSubclass s, const TteWindowInfo& info, int x, int y,
                                            const String&) {
    if (s != kwscStandard && s != kwscDialog && s != kwscBorder && s != kwscToolWindow) return kwhtClient;
    const TRect& r = info.Rect;
    const TRect c = WindowGetClientRect(s, r, "default");
    const TPoint p{x, y};
    const bool left = TRect{r.left, r.top, c.left, r.bottom}.Contains(p);
    const bool top = TRect{r.left, r.top, r.right, c.top}.Contains(p);
    const bool right = TRect{c.right, r.top, r.right, r.bottom}.Contains(p);
    const bool bottom = TRect{r.left, c.bottom, r.right, r.bottom}.Contains(p);
    const struct {
        bool hit;
        TteWindowHitTest answer;
    } tests[] = {{left, kwhtLeft},
                 {top, kwhtTop},
                 {right, kwhtRight},
                 {bottom, kwhtBottom},
                 {left && top, kwhtTopLeft},
                 {right && top, kwhtTopRight},
                 {left && bottom, kwhtBottomLeft},
                 {right && bottom, kwhtBottomRight},
                 {WindowGetTitleRect(s, info, "default").Contains(p), kwhtCaption}};
    TteWindowHitTest answer = kwhtClient;
    for (const auto& t : tests)
        if (t.hit) answer = t.answer;
    for (int b = kwbSysMenu; b <= kwbCustom; ++b) {
        const auto button = static_cast<TteWindowButtonClass>(b);
        if (WindowGetButtonRect(s, info, button, "default").Contains(p)) return WindowButtonToHitTest(button);
    }
    return answer;
}

void TteTheme::WindowDraw(TteWindowSubclass s, TCanvas& cv, const TteWindowInfo& info, const String&) {
    TRect r = info.Rect;
    const TRect c = WindowGetClientRect(s, info.Rect, "default");
    DrawRect(cv, r, clBlack);
    r = Shrink(r, 1, 1);
    const TColor k = colors_->GetColor(ktcButtonNormal);
    DrawEdge(cv, r, Lighter(k, 100), Darker(k, 100));
    r = Shrink(r, 1, 1);
    const TColor border = colors_->GetColor(ktcWindowBorder);
    FillRect(cv, TRect{r.left, r.top, r.right, c.top}, border);
    FillRect(cv, TRect{r.left, r.top, c.left, r.bottom}, border);
    FillRect(cv, TRect{r.left, c.bottom, r.right, r.bottom}, border);
    FillRect(cv, TRect{c.right, r.top, r.right, r.bottom}, border);
    const bool active = info.DrawState.Contains(kwdsActive);
    FillRect(cv, TRect{c.left, 3, c.right, c.top},
             colors_->GetColor(active ? ktcCaptionNormal : ktcCaptionInactive));
}

void TteTheme::WindowDrawClient(TteWindowSubclass, TCanvas& c, const TRect& rect, const String&) {
    FillRect(c, rect, colors_->GetColor(ktcWindow));
}

void TteTheme::WindowDrawText(TteWindowSubclass, TCanvas& c, const TteWindowInfo& info, const TRect& rect,
                              const String&) {
    const bool active = info.DrawState.Contains(kwdsActive);
    c.SetFont(fonts_->GetFont(active ? ktfCaptionTextNormal : ktfCaptionTextInactive));
    DrawThemeText(c, TextInfo(rect, info.Caption, DT_CENTER | DT_VCENTER | DT_SINGLELINE));
}

void TteTheme::WindowDrawButton(TteWindowSubclass, TCanvas& c, const TteWindowButtonInfo& info,
                                const String&) {
    const TRect& r = info.Rect;
    if (r.IsEmpty()) return;
    const bool pressed = info.DrawState == kwbdsPressed;
    const TColor k = colors_->GetColor(info.DrawState == kwbdsHot ? ktcButtonHot : ktcButtonNormal);
    if (info.ButtonClass != kwbSysMenu) {
        FillRect(c, r, k);
        if (pressed)
            DrawEdge(c, r, Darker(k, 100), Lighter(k, 100));
        else
            DrawEdge(c, r, Lighter(k, 100), Darker(k, 100));
    }
    DrawWindowButtonGlyph(c, info, TSize{4, 5});
}

void TteTheme::WindowDrawGripper(TteWindowSubclass, TCanvas& c, const TteWindowGripperInfo& info,
                                 const String&) {
    FillRect(c, info.Rect, colors_->GetColor(ktcWindowBorder));
    if (!info.Sizeable) return;
    TRect r = Shrink(info.Rect, 4, 4);
    r.Offset(3, 3);
    TPoint band[] = {{r.right, r.top - 4}, {r.right, r.top}, {r.left, r.bottom}, {r.left - 4, r.bottom}};
    FillPolygon(c, band, 3, clGray);
    DrawPolygon(c, band, 3, clBlack);
    TPoint corner[] = {{r.right, r.top + 3}, {r.right, r.bottom}, {r.left + 3, r.bottom}};
    FillPolygon(c, corner, 2, clGray);
    DrawPolygon(c, corner, 2, clBlack);
}

// ---- Hint, Label, Panel ------------------------------------------------------

bool TteTheme::IsHintDefined(TteHintSubclass, const String&) { return false; }
TRect TteTheme::HintGetClientRect(TteHintSubclass, TCanvas&, const TteHintInfo& info, const String&) {
    return Shrink(info.Rect, 10, 13);
}
void TteTheme::HintDraw(TteHintSubclass, TCanvas& c, const TteHintInfo& info, const String&) {
    FillFramed(c, info.Rect, clYellow, clRed);
}

bool TteTheme::IsLabelDefined(TteLabelSubclass, const String&) { return false; }
bool TteTheme::IsLabelTransparent(TteLabelSubclass, const String&) { return true; }
void TteTheme::LabelDrawText(TteLabelSubclass, TCanvas& c, TteLabelInfo, const TteTextInfo& text,
                             const String&) {
    DrawThemeText(c, text);
}

bool TteTheme::IsPanelDefined(TtePanelSubclass, const String&) { return false; }
bool TteTheme::IsPanelTransparent(TtePanelSubclass, const String&) { return false; }
TRect TteTheme::PanelGetClientRect(TtePanelSubclass, const TtePanelInfo& info, const String&) {
    return info.Rect;
}
void TteTheme::PanelDraw(TtePanelSubclass s, TCanvas& c, const TtePanelInfo& info, const String&) {
    FillRect(c, info.Rect, clSilver);
    if (s == kpscPanel) {
        DrawEdge(c, info.Rect, clBtnHighlight, clBtnShadow);
    } else {
        DrawRect(c, info.Rect, clBlack);
        DrawEdge(c, Shrink(info.Rect, 1, 1), clBtnShadow, clBtnHighlight);
    }
}
void TteTheme::PanelDrawButton(TtePanelSubclass, TCanvas&, const TtePanelButtonInfo&, const String&) {}
void TteTheme::PanelDrawText(TtePanelSubclass, TCanvas& c, const TtePanelInfo&, const TteTextInfo& text,
                             const String&) {
    DrawThemeText(c, text);
}

// ---- Button, Check, Splitter -------------------------------------------------

bool TteTheme::IsButtonDefined(TteButtonSubclass, const String&) { return false; }
bool TteTheme::IsButtonTransparent(TteButtonSubclass, const String&) { return false; }

void TteTheme::ButtonDraw(TteButtonSubclass, TCanvas& c, const TteButtonInfo& info, const String&) {
    const TteButtonDrawState st = info.DrawState;
    if (st == kbdsDisabled) return;
    const TColor k = colors_->GetColor(st == kbdsPressed ? ktcButtonPressed
                                       : st == kbdsHot   ? ktcButtonNormal
                                                         : ktcButtonFocused);
    TRect r = info.Rect;
    DrawRect(c, r, clBlack);
    r = Shrink(r, 1, 1);
    if (st == kbdsPressed) {
        DrawEdge(c, r, Darker(k, 30), Lighter(k, 30));
        r = Shrink(r, 1, 1);
    } else if (st == kbdsHot) {
        MoveTo(c, r.left + 1, r.top);
        LineTo(c, r.right - 1, r.top, Lighter(k, 30));
        MoveTo(c, r.left, r.top + 1);
        LineTo(c, r.left, r.bottom - 1, Lighter(k, 30));
        r.left += 1;
        r.top += 1;
    } else {
        MoveTo(c, r.left, r.bottom - 1);
        LineTo(c, r.right, r.bottom - 1, Darker(k, 30));
        MoveTo(c, r.right - 1, r.top);
        LineTo(c, r.right - 1, r.bottom, Darker(k, 30));
        r.right -= 1;
        r.bottom -= 1;
    }
    FillRect(c, r, k);
}

void TteTheme::ButtonDrawText(TteButtonSubclass, TCanvas& c, const TteButtonInfo&, const TteTextInfo& text,
                              const String&) {
    DrawThemeText(c, text);
}
void TteTheme::ButtonDrawGlyph(TteButtonSubclass, TCanvas& c, const TteButtonInfo&, const TteGlyphInfo& glyph,
                               const String&) {
    DrawBitmapAt(c, glyph.Bitmap, glyph.Rect.left, glyph.Rect.top);
}

bool TteTheme::IsCheckDefined(TteCheckSubclass, const String&) { return false; }
bool TteTheme::IsCheckTransparent(TteCheckSubclass, const String&) { return true; }
void TteTheme::CheckDraw(TteCheckSubclass, TCanvas&, const TteCheckInfo&, const String&) {}
void TteTheme::CheckDrawText(TteCheckSubclass, TCanvas& c, const TteCheckInfo&, const TteTextInfo& text,
                             const String&) {
    DrawThemeText(c, text);
}
TSize TteTheme::CheckGetSize(TteCheckSubclass, const String&) { return TSize{13, 13}; }

bool TteTheme::IsSplitterDefined(TteSplitterSubclass, const String&) { return false; }
bool TteTheme::IsSplitterTransparent(TteSplitterSubclass, const String&) { return false; }
void TteTheme::SplitterDraw(TteSplitterSubclass, TCanvas& c, const TteSplitterInfo& info, const String&) {
    FillFramed(c, info.Rect, clYellow, clRed);
}

// ---- Scroll, Progress, Track ---------------------------------------------------

bool TteTheme::IsScrollDefined(TteScrollSubclass, const String&) { return false; }
bool TteTheme::IsScrollTransparent(TteScrollSubclass, const String&) { return false; }
void TteTheme::ScrollDraw(TteScrollSubclass, TCanvas&, const TteScrollInfo&, const String&) {}

void TteTheme::ScrollDrawButton(TteScrollSubclass, TCanvas& c, const TteScrollButtonInfo& info,
                                const String&) {
    FillFramed(c, info.Rect, ScrollFill(info.DrawState), clBlack);
    const TRect g = Shrink(info.Rect, 5, 4);
    switch (info.ButtonClass) {
        case ksbcUp:
        case ksbcDown:
        case ksbcPageUp:
        case ksbcPageDown: FillRoundRect(c, g, 5, clNavy); break;
        case ksbcHorzSlider:
        case ksbcVertSlider: DrawRect(c, g, clNavy); break;
        default: break;
    }
}

void TteTheme::ScrollDrawArea(TteScrollSubclass, TCanvas& c, const TteScrollAreaInfo& info, const String&) {
    FillFramed(c, info.Rect, ScrollFill(info.DrawState), clBlack);
}

bool TteTheme::IsProgressDefined(TteProgressSubclass, const String&) { return false; }
bool TteTheme::IsProgressTransparent(TteProgressSubclass, const String&) { return false; }
TRect TteTheme::ProgressGetClientRect(TteProgressSubclass, const TteProgressInfo& info, const String&) {
    return info.Rect;
}
void TteTheme::ProgressDraw(TteProgressSubclass, TCanvas&, const TteProgressInfo&, const String&) {}

bool TteTheme::IsTrackDefined(TteTrackSubclass, const String&) { return false; }
bool TteTheme::IsTrackTransparent(TteTrackSubclass, const String&) { return true; }
void TteTheme::TrackDraw(TteTrackSubclass, TCanvas& c, const TteTrackInfo& info, const String&) {
    FillFramed(c, info.Rect, clBlue, clRed);
}
void TteTheme::TrackBarDraw(TteTrackSubclass, TCanvas&, const TteTrackBarInfo&, const String&) {}
void TteTheme::TrackDrawThumb(TteTrackSubclass, TCanvas& c, const TteTrackThumbInfo& info, const String&) {
    FillFramed(c, info.Rect, clYellow, clBlue);
}
TPoint TteTheme::TrackGetThumbSize(TteTrackSubclass, TCanvas&, const TteTrackThumbInfo&, const String&) {
    return TPoint{0, 0};
}

// ---- Header, Status, Edit ------------------------------------------------------

bool TteTheme::IsHeaderDefined(TteHeaderSubclass, const String&) { return false; }
bool TteTheme::IsHeaderTransparent(TteHeaderSubclass, const String&) { return false; }
void TteTheme::HeaderDraw(TteHeaderSubclass, TCanvas& c, const TteHeaderInfo& info, const String&) {
    FillFramed(c, info.Rect, clWhite, clBlack);
}
void TteTheme::HeaderDrawSection(TteHeaderSubclass, TCanvas& c, const TteHeaderSectionInfo& info,
                                 const String&) {
    static constexpr TColor kFill[] = {clSilver, clGray, clGreen, clBlue, clYellow, clRed, clGray};
    const TColor fill = info.DrawState < std::size(kFill) ? kFill[info.DrawState] : clSilver;
    FillFramed(c, info.Rect, fill, clBlack);
}
void TteTheme::HeaderDrawText(TteHeaderSubclass, TCanvas& c, const TteHeaderSectionInfo&,
                              const TteTextInfo& text, const String&) {
    DrawThemeText(c, text);
}
void TteTheme::HeaderDrawGlyph(TteHeaderSubclass, TCanvas& c, const TteHeaderSectionInfo&,
                               const TteGlyphInfo& glyph, const String&) {
    DrawBitmapInto(c, glyph.Bitmap, glyph.Rect);
}

bool TteTheme::IsStatusDefined(TteStatusSubclass, const String&) { return false; }
bool TteTheme::IsStatusTransparent(TteStatusSubclass, const String&) { return false; }
TRect TteTheme::StatusGetClientRect(TteStatusSubclass, const TteStatusInfo& info, const String&) {
    return Shrink(info.Rect, 5, 2);
}
void TteTheme::StatusDraw(TteStatusSubclass, TCanvas& c, const TteStatusInfo& info, const String&) {
    FillFramed(c, info.Rect, clSilver, clBlack);
}
void TteTheme::StatusDrawPanel(TteStatusSubclass, TCanvas& c, const TteStatusPanelInfo& info, const String&) {
    FillFramed(c, info.Rect, clGray, clBlack);
}
void TteTheme::StatusDrawText(TteStatusSubclass, TCanvas& c, const TteStatusPanelInfo&,
                              const TteTextInfo& text, const String&) {
    DrawThemeText(c, text);
}
void TteTheme::StatusDrawGlyph(TteStatusSubclass, TCanvas& c, const TteStatusPanelInfo&,
                               const TteGlyphInfo& glyph, const String&) {
    DrawBitmapInto(c, glyph.Bitmap, glyph.Rect);
}

bool TteTheme::IsEditDefined(TteEditSubclass, const String&) { return false; }
bool TteTheme::IsEditTransparent(TteEditSubclass, const String&) { return false; }
TRect TteTheme::EditGetClientRect(TteEditSubclass, TCanvas&, const TteEditInfo& info, const String&) {
    return Shrink(info.Rect, 3, 3);
}
void TteTheme::EditDraw(TteEditSubclass, TCanvas& c, const TteEditInfo& info, const String&) {
    FillFramed(c, info.Rect, clBlue, clRed);
}
void TteTheme::EditDrawButton(TteEditSubclass, TCanvas& c, const TteEditButtonInfo& info, const String&) {
    FillFramed(c, info.Rect, clGreen, clYellow);
}

// ---- Group, Memo, Box, Menu ----------------------------------------------------

bool TteTheme::IsGroupDefined(TteGroupSubclass, const String&) { return false; }
bool TteTheme::IsGroupTransparent(TteGroupSubclass, const String&) { return true; }
TRect TteTheme::GroupGetClientRect(TteGroupSubclass, const TteGroupInfo& info, const String&) {
    return info.Rect;
}
void TteTheme::GroupDraw(TteGroupSubclass, TCanvas& c, const TteGroupInfo& info, const String&) {
    const TCanvasDCState state(c);
    TRect r = Shrink(info.Rect, 5, 5);
    r.top += 4;
    DrawRect(c, r, clBlack);
}
void TteTheme::GroupDrawText(TteGroupSubclass, TCanvas& c, const TteGroupInfo&, const TteTextInfo& text,
                             const String&) {
    DrawThemeText(c, text);
}

bool TteTheme::IsMemoDefined(TteMemoSubclass, const String&) { return false; }
bool TteTheme::IsMemoTransparent(TteMemoSubclass, const String&) { return false; }
TRect TteTheme::MemoGetClientRect(TteMemoSubclass, TCanvas&, const TteMemoInfo& info, const String&) {
    return info.Rect;
}
void TteTheme::MemoDraw(TteMemoSubclass, TCanvas& c, const TteMemoInfo& info, const String&) {
    FillFramed(c, info.Rect, clBlue, clRed);
}

bool TteTheme::IsBoxDefined(TteBoxSubclass, const String&) { return false; }
bool TteTheme::IsBoxTransparent(TteBoxSubclass, const String&) { return false; }
TRect TteTheme::BoxGetClientRect(TteBoxSubclass, TCanvas&, const TteBoxInfo& info, const String&) {
    return info.Rect;
}
void TteTheme::BoxDraw(TteBoxSubclass, TCanvas&, const TteBoxInfo&, const String&) {}

bool TteTheme::IsMenuDefined(TteMenuSubclass, const String&) { return false; }
bool TteTheme::IsMenuTransparent(TteMenuSubclass, const String&) { return false; }
TRect TteTheme::MenuGetClientRect(TteMenuSubclass, const TteMenuInfo& info, const String&) {
    return Shrink(info.Rect, 3, 5);
}
void TteTheme::MenuDraw(TteMenuSubclass, TCanvas& c, const TteMenuInfo& info, const String&) {
    FillFramed(c, info.Rect, clWhite, clRed);
}
void TteTheme::MenuDrawItem(TteMenuSubclass, TCanvas& c, const TteMenuItemInfo& info, const String&) {
    if (info.ItemClass == kmicNormal) {
        const TteMenuItemDrawState st = info.DrawState;
        const TColor fill = st == kmidsDisabled   ? clWhite
                            : st == kmidsSelected ? clGray
                            : st == kmidsHot      ? clYellow
                                                  : clSilver;
        FillFramed(c, info.Rect, fill, clRed);
    } else if (info.ItemClass == kmicSeparator) {
        FillRect(c, Shrink(info.Rect, 3, info.Rect.Height() / 2), clRed);
    }
}
void TteTheme::MenuDrawItemText(TteMenuSubclass, TCanvas& c, const TteMenuItemInfo&, const TteTextInfo& text,
                                const String&) {
    DrawThemeText(c, text);
}
void TteTheme::MenuDrawItemGlyph(TteMenuSubclass, TCanvas& c, const TteMenuItemInfo&,
                                 const TteMenuGlyphInfo& glyph, const String&) {
    DrawItemGlyph(c, MenuGlyphKind(glyph.Glyph), glyph.Rect, glyph.Bitmap);
}

// ---- Dock, Tool, BarDock, Bar --------------------------------------------------

bool TteTheme::IsDockDefined(TteDockSubclass, const String&) { return false; }
TRect TteTheme::DockGetClientRect(TteDockSubclass, const TteDockInfo& info, const String&) {
    return info.Rect;
}
void TteTheme::DockDraw(TteDockSubclass, TCanvas&, const TteDockInfo&, const String&) {}

bool TteTheme::IsToolDefined(TteToolSubclass, const String&) { return false; }
TRect TteTheme::ToolGetClientRect(TteToolSubclass, const TteToolInfo& info, const String&) {
    TRect r = Shrink(info.Rect, 2, 2);
    r.left += 9;
    return r;
}
void TteTheme::ToolDraw(TteToolSubclass, TCanvas& c, const TteToolInfo& info, const String&) {
    FillFramed(c, info.Rect, clGreen, clBlue);
}
void TteTheme::ToolDrawItem(TteToolSubclass, TCanvas&, const TteToolItemInfo&, const String&) {}
void TteTheme::ToolDrawItemText(TteToolSubclass, TCanvas& c, const TteToolItemInfo&, const TteTextInfo& text,
                                const String&) {
    DrawThemeText(c, text);
}
void TteTheme::ToolDrawItemGlyph(TteToolSubclass, TCanvas& c, const TteToolItemInfo&,
                                 const TteToolGlyphInfo& glyph, const String&) {
    DrawItemGlyph(c, ToolGlyphKind(glyph.Glyph), glyph.Rect, glyph.Bitmap);
}

bool TteTheme::IsBarDockDefined(TteBarDockSubclass, const String&) { return false; }
TRect TteTheme::BarDockGetClientRect(TteBarDockSubclass, TCanvas&, const TteBarDockInfo& info,
                                     const String&) {
    return Shrink(info.Rect, 3, 3);
}
void TteTheme::BarDockDraw(TteBarDockSubclass, TCanvas& c, const TteBarDockInfo& info, const String&) {
    FillFramed(c, info.Rect, clYellow, clRed);
}

bool TteTheme::IsBarDefined(TteBarSubclass, const String&) { return false; }
bool TteTheme::IsBarTransparent(TteBarSubclass, const String&) { return false; }
TRect TteTheme::BarGetClientRect(TteBarSubclass, TCanvas&, const TteBarInfo& info, const String&) {
    return info.Rect;
}
void TteTheme::BarDraw(TteBarSubclass, TCanvas&, const TteBarInfo&, const String&) {}
void TteTheme::BarDrawCaption(TteBarSubclass, TCanvas& c, const TteBarInfo&, const TteBarCaptionInfo& caption,
                              const String&) {
    FillFramed(c, caption.Rect, clGreen, clBlack);
}
void TteTheme::BarDrawButton(TteBarSubclass, TCanvas& c, const TteBarButtonInfo& info, const String&) {
    FillFramed(c, info.Rect, clRed, clBlue);
}
void TteTheme::BarDrawItem(TteBarSubclass, TCanvas& c, const TteBarItemInfo& info, const String&) {
    FillFramed(c, info.Rect, clGreen, clYellow);
}
void TteTheme::BarDrawText(TteBarSubclass, TCanvas& c, const TteTextInfo& text, const String&) {
    DrawThemeText(c, text);
}

// ---- Tab, List, Tree, Grid -----------------------------------------------------

bool TteTheme::IsTabDefined(TteTabSubclass, const String&) { return false; }
bool TteTheme::IsTabTransparent(TteTabSubclass, const String&) { return true; }
TRect TteTheme::TabGetClientRect(TteTabSubclass, const TteTabInfo& info, const String&) { return info.Rect; }
void TteTheme::TabDraw(TteTabSubclass, TCanvas& c, const TteTabInfo& info, const String&) {
    FillFramed(c, info.Rect, clSilver, clYellow);
}
void TteTheme::TabDrawItem(TteTabSubclass, TCanvas& c, const TteTabItemInfo& info, const String&) {
    DrawRect(c, info.Rect, clBlue);
}
void TteTheme::TabDrawButton(TteTabSubclass, TCanvas& c, const TteTabButtonInfo& info, const String&) {
    FillFramed(c, info.Rect, clYellow, clRed);
}
void TteTheme::TabDrawText(TteTabSubclass, TCanvas& c, const TteTabItemInfo&, const TteTextInfo& text,
                           const String&) {
    DrawThemeText(c, text);
}
void TteTheme::TabDrawGlyph(TteTabSubclass, TCanvas& c, const TteTabItemInfo&, const TteGlyphInfo& glyph,
                            const String&) {
    DrawBitmapAt(c, glyph.Bitmap, glyph.Rect.left, glyph.Rect.top);
}

bool TteTheme::IsListDefined(TteListSubclass, const String&) { return false; }
bool TteTheme::IsListTransparent(TteListSubclass, const String&) { return false; }
TRect TteTheme::ListGetClientRect(TteListSubclass, const TteListInfo& info, const String&) {
    return Shrink(info.Rect, 4, 5);
}
void TteTheme::ListDraw(TteListSubclass, TCanvas& c, const TteListInfo& info, const String&) {
    FillFramed(c, info.Rect, colors_->GetColor(ktcList), clRed);
}
void TteTheme::ListDrawColumn(TteListSubclass, TCanvas&, const TteListColumnInfo&, const String&) {}
void TteTheme::ListDrawItem(TteListSubclass, TCanvas& c, const TteListItemInfo& info, const String&) {
    DrawItem(c, info.Rect, info.DrawState);
}
void TteTheme::ListDrawText(TteListSubclass, TCanvas& c, const TteListItemInfo&, const TteTextInfo& text,
                            const String&) {
    DrawThemeText(c, text);
}
void TteTheme::ListDrawGlyph(TteListSubclass, TCanvas& c, const TteListItemInfo&,
                             const TteListGlyphInfo& glyph, const String&) {
    if (glyph.Glyph == klgCustom) {
        DrawBitmapCentered(c, glyph.Bitmap, glyph.Rect);
        return;
    }
    const TRect box = CenteredBox(glyph.Rect, 16, 16);
    FillFramed(c, box, clRed, clBlack);
    if (glyph.Glyph == klgChecked) FillRect(c, Shrink(box, 3, 3), clBlack);
    if (glyph.Glyph == klgMixed) FillRect(c, Shrink(box, 3, 3), clGray);
}

bool TteTheme::IsTreeDefined(TteTreeSubclass, const String&) { return false; }
bool TteTheme::IsTreeTransparent(TteTreeSubclass, const String&) { return false; }
TRect TteTheme::TreeGetClientRect(TteTreeSubclass, const TteTreeInfo& info, const String&) {
    return Shrink(info.Rect, 2, 2);
}
void TteTheme::TreeDraw(TteTreeSubclass, TCanvas& c, const TteTreeInfo& info, const String&) {
    FillFramed(c, info.Rect, colors_->GetColor(ktcTree), clRed);
}
void TteTheme::TreeDrawItem(TteTreeSubclass, TCanvas& c, const TteTreeItemInfo& info, const String&) {
    DrawItem(c, info.Rect, info.DrawState);
}
void TteTheme::TreeDrawText(TteTreeSubclass, TCanvas& c, const TteTreeItemInfo&, const TteTextInfo& text,
                            const String&) {
    DrawThemeText(c, text);
}
void TteTheme::TreeDrawGlyph(TteTreeSubclass, TCanvas&, const TteTreeItemInfo&, const TteGlyphInfo&,
                             const String&) {}

bool TteTheme::IsGridDefined(TteGridSubclass, const String&) { return false; }
bool TteTheme::IsGridTransparent(TteGridSubclass, const String&) { return false; }
TRect TteTheme::GridGetClientRect(TteGridSubclass, const TteGridInfo& info, const String&) {
    return Shrink(info.Rect, 2, 2);
}
void TteTheme::GridDraw(TteGridSubclass, TCanvas& c, const TteGridInfo& info, const String&) {
    FillFramed(c, info.Rect, clWhite, clRed);
}
void TteTheme::GridDrawItem(TteGridSubclass, TCanvas& c, const TteGridItemInfo& info, const String&) {
    if (info.ItemClass == kgicFixed)
        DrawRect(c, info.Rect, clGray);
    else
        DrawItem(c, info.Rect, info.DrawState);
}
void TteTheme::GridDrawText(TteGridSubclass, TCanvas& c, const TteGridItemInfo&, const TteTextInfo& text,
                            const String&) {
    DrawThemeText(c, text);
}
void TteTheme::GridDrawGlyph(TteGridSubclass, TCanvas&, const TteGridItemInfo&, const TteGlyphInfo&,
                             const String&) {}

}  // namespace tarvel
