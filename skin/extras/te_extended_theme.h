#pragma once
// What the extra controls ask of the theme they draw with (a skin file, a
// built-in theme, the system's visual styles or none), and a pair that keeps
// the current theme with its hue and brightness under a key of the user's
// registry and brings it back.

#include "platform/base/Exceptions.h"
#include "platform/base/Strings.h"
#include "skin/core/te_engine.h"
#include "skin/core/te_theme.h"
#include "skin/extras/te_extended_skin.h"

namespace tarvel {

class TTeSkinFile;

class ETEError : public Exception {
public:
    using Exception::Exception;
};

class ETERegistryError : public ETEError {
public:
    using ETEError::ETEError;
};

// ---- theme inquiries ------------------------------------------------------------
bool CurrentThemeIsSkin();
TTeSkinFile* CurrentSkin();          // null unless the current theme is a skin file
TSeSkinSource* CurrentSkinSource();  // that skin's object model, else null
bool CurrentThemeIsBuiltIn();        // a current theme whose class is chosen by name
String CurrentThemeName();           // "No theme" without a current theme
bool ThemeLinkConfigured(TteCustomThemeLink* link);
bool ThemeLinkIsSkin(TteCustomThemeLink* link);
// The link's theme or else the current one is a skin file.
bool LinkOrCurrentIsSkin(TteCustomThemeLink* link);
// The skin source of the link's skin-file theme, else CurrentSkinSource().
TSeSkinSource* LinkOrCurrentSkinSource(TteCustomThemeLink* link);
// No current theme, and the system's visual styles are in use.
bool UsesSystemVisualStyles();

// Finds a theme by name: a built-in class (searched from the last registered,
// case-sensitive; `index` stays -1 and `themeClass` is set), else an entry
// of the engine's theme list (the last equal one sets `index`).
bool ExtraIsThemeAvailable(const String& name, int& index, TteThemeClass& themeClass, TTeOrvanta* engine);

// ---- registry -------------------------------------------------------------------
// The theme value `name` under HKEY_CURRENT_USER\key (a leading '\' of the
// key is ignored), "ThemeHue" and "ThemeBrightness" beside it. Writes raise
// ETERegistryError; reads fall back to the defaults.
void SaveThemeToRegistry(TTeOrvanta* engine, const String& key, const String& name);
void LoadThemeFromRegistry(TTeOrvanta* engine, const String& key, const String& name,
                           const String& defaultTheme, int defaultIndex);

}  // namespace tarvel
