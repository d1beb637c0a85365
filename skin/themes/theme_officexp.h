#pragma once
// TTeOfficeXPTheme, the built-in theme "OfficeXP": the flat theme with a
// blue caption, white caption text, popup menus with a 23-pixel glyph
// column, and no window frame of its own (forms keep their own frames).

#include "skin/themes/theme_flat.h"

namespace tarvel {

class TTeOfficeXPTheme : public TTeFlatTheme {
    TTE_THEME_CLASS(TTeOfficeXPTheme, TTeFlatTheme)

public:
    TTeOfficeXPTheme();

    static String GetThemeName() { return "OfficeXP"; }

    // Unlike the flat palette, this one follows the deltas.
    void ResetThemeColors() override;
    void ResetThemeFonts() override;
    bool IsWindowDefined(TteWindowSubclass s, const String& obj) override;
};

// Registers the class with the theme manager (after the flat theme).
void InitThemeOfficeXP();

}  // namespace tarvel
