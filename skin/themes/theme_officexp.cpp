#include "skin/themes/theme_officexp.h"

#include "skin/core/te_theme_api.h"

namespace tarvel {

TTeOfficeXPTheme::TTeOfficeXPTheme() {
    GutterWidth = 21;
    ResetTheme();
}

void InitThemeOfficeXP() { RegisterTheme(ThemeClassOf<TTeOfficeXPTheme>()); }

void TTeOfficeXPTheme::ResetThemeColors() {
    static constexpr TPaletteEntry kPalette[] = {{ktcCaptionNormal, TColor(0xFF0000)},
                                                 {ktcCaptionInactive, clBtnFace},
                                                 {ktcWindowBorder, TColor(0x808080)},
                                                 {ktcWindow, clBtnFace},
                                                 {ktcBorder, clHighlight},
                                                 {ktcPanelNormal, clBtnFace},
                                                 {ktcPanelDisabled, clBtnFace},
                                                 {ktcButtonNormal, clBtnFace},
                                                 {ktcButtonDisabled, clBtnFace},
                                                 {ktcButtonHot, TColor(0xD2BDB6)},
                                                 {ktcButtonPressed, TColor(0xB59285)},
                                                 {ktcButtonFocused, TColor(0xB59285)},
                                                 {ktcEditNormal, TColor(0xFFFFFF)},
                                                 {ktcEditHot, TColor(0xFFFFFF)},
                                                 {ktcEditFocused, TColor(0xFFFFFF)},
                                                 {ktcEditDisabled, TColor(0xFFFFFF)},
                                                 {ktcEditSelection, TColor(0xB59285)},
                                                 {ktcList, TColor(0xFFFFFF)},
                                                 {ktcTree, TColor(0xFFFFFF)},
                                                 {ktcGrid, TColor(0xFFFFFF)}};
    SetPalette(kPalette);
    Colors()->ChangeColorsHue(DeltaHue());
    Colors()->ChangeColorsBrightness(DeltaBrightness());
}

void TTeOfficeXPTheme::ResetThemeFonts() { SetFlatFonts(false, clWhite, TColor(0xC0C0C0)); }

bool TTeOfficeXPTheme::IsWindowDefined(TteWindowSubclass, const String&) { return false; }

}  // namespace tarvel
