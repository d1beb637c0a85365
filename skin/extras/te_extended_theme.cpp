#include "skin/extras/te_extended_theme.h"

#include "platform/base/Paths.h"
#include "platform/classlib/Registry.h"
#include "skin/core/te_theme_api.h"
#include "skin/core/te_theme_manager.h"
#include "skin/core/te_winapi.h"
#include "skin/themes/theme_se3.h"

namespace tarvel {

namespace {

TTeSkinFile* AsSkin(TteTheme* theme) { return dynamic_cast<TTeSkinFile*>(theme); }

TteTheme* LinkTheme(TteCustomThemeLink* link) { return link ? link->GetTheme() : nullptr; }

// The key below HKEY_CURRENT_USER, always addressed from the root.
String RootPath(const String& key) { return "\\" + (key.starts_with('\\') ? key.substr(1) : key); }

String ReadRegString(const String& key, const String& name, const String& defaultValue) {
    TRegistry reg;
    if (!reg.OpenKeyReadOnly(RootPath(key)) || reg.GetDataType(name) != rdString) return defaultValue;
    const String text = reg.ReadString(name);
    return text.substr(0, text.find('\0'));
}

int ReadRegInteger(const String& key, const String& name, int defaultValue) {
    TRegistry reg;
    if (!reg.OpenKeyReadOnly(RootPath(key)) || reg.GetDataType(name) != rdInteger) return defaultValue;
    return reg.ReadInteger(name);
}

template <class Write>
void WriteRegValue(const String& key, Write&& write) {
    try {
        TRegistry reg;
        const String path = RootPath(key);
        const bool existed = reg.KeyExists(path);
        if (reg.OpenKey(path, true)) {
            if (!existed) reg.WriteString("", "");
            write(reg);
            return;
        }
    } catch (const ERegistryException&) {
    }
    throw ETERegistryError("Unable to open key \"" + key + "\" for write");
}

}  // namespace

bool CurrentThemeIsSkin() { return IsSkinSource(CurrentTheme); }

TTeSkinFile* CurrentSkin() { return AsSkin(CurrentTheme); }

TSeSkinSource* CurrentSkinSource() { return GetSkinSource(CurrentTheme); }

bool CurrentThemeIsBuiltIn() { return CurrentTheme && CurrentTheme->ThemeClass()->GetThemeConfig().Building; }

String CurrentThemeName() {
    if (!CurrentTheme) return SNoTheme;
    if (CurrentThemeIsBuiltIn()) return CurrentTheme->ThemeClass()->GetThemeName();
    return CurrentTheme->Name;
}

bool ThemeLinkConfigured(TteCustomThemeLink* link) { return LinkTheme(link) != nullptr; }

bool ThemeLinkIsSkin(TteCustomThemeLink* link) { return IsSkinSource(LinkTheme(link)); }

bool LinkOrCurrentIsSkin(TteCustomThemeLink* link) { return ThemeLinkIsSkin(link) || CurrentThemeIsSkin(); }

TSeSkinSource* LinkOrCurrentSkinSource(TteCustomThemeLink* link) {
    if (TSeSkinSource* source = GetSkinSource(LinkTheme(link))) return source;
    return CurrentSkinSource();
}

bool UsesSystemVisualStyles() { return !CurrentTheme && UseThemes(); }

bool ExtraIsThemeAvailable(const String& name, int& index, TteThemeClass& themeClass, TTeOrvanta* engine) {
    index = -1;
    if (!ThemeManager) return false;
    for (int i = ThemeManager->GetThemeCount() - 1; i >= 0; --i) {
        TteThemeClass cls = ThemeManager->GetTheme(i);
        if (cls->GetThemeConfig().Building && cls->GetThemeName() == name) {
            themeClass = cls;
            return true;
        }
    }
    bool found = false;
    if (engine && engine->ThemeList()) {
        TTeThemeCollection* themes = engine->ThemeList()->Themes();
        for (int i = 0; i < themes->Count(); ++i) {
            if (themes->GetItem(i)->GetThemeStore() == name) {
                found = true;
                index = i;
            }
        }
    }
    return found;
}

void SaveThemeToRegistry(TTeOrvanta* engine, const String& key, const String& name) {
    // A built-in theme is kept under its class's name, the one it is found by.
    const String theme =
        CurrentTheme && !CurrentTheme->FileName.empty() ? CurrentTheme->FileName : CurrentThemeName();
    WriteRegValue(key, [&](TRegistry& reg) { reg.WriteString(name, theme); });

    if (!engine && !CurrentTheme) return;
    const int hue = engine ? engine->DeltaHue() : CurrentTheme->DeltaHue();
    const int brightness = engine ? engine->DeltaBrightness() : CurrentTheme->DeltaBrightness();
    WriteRegValue(key, [&](TRegistry& reg) {
        reg.WriteInteger("ThemeHue", hue);
        reg.WriteInteger("ThemeBrightness", brightness);
    });
}

void LoadThemeFromRegistry(TTeOrvanta* engine, const String& key, const String& name,
                           const String& defaultTheme, int defaultIndex) {
    String theme = ReadRegString(key, name, defaultTheme);
    int index = -1;
    TteThemeClass cls = nullptr;
    bool available = ExtraIsThemeAvailable(theme, index, cls, engine);
    // A theme file that went away since it was saved leaves the default.
    if (theme != defaultTheme && theme != SNoTheme && !available && !FileExists(theme)) {
        theme = defaultTheme;
        available = ExtraIsThemeAvailable(theme, index, cls, engine);
    }

    if (theme != defaultTheme || !engine) {
        if (theme == SNoTheme) {
            ReleaseTheme();
        } else if (!available) {
            if (TteTheme* loaded = LoadThemeFromFile(theme)) ChangeTheme(loaded);
        } else if (index == -1) {
            ChangeTheme(cls);
        } else {
            engine->SetThemeIndex(index);
        }
    } else if (engine->ThemeList() && defaultIndex != engine->ThemeIndex() &&
               defaultIndex < engine->ThemeList()->Themes()->Count()) {
        engine->SetThemeIndex(defaultIndex);
    }

    try {
        const int hue = ReadRegInteger(key, "ThemeHue", 0);
        const int brightness = ReadRegInteger(key, "ThemeBrightness", 0);
        if (engine) {
            if (hue != 0) engine->SetDeltaHue(hue);
            if (brightness != 0) engine->SetDeltaBrightness(brightness);
        } else if (hue != 0 && brightness != 0) {
            ChangeThemeHueAndBrightness(hue, brightness);
        } else if (hue != 0) {
            ChangeThemeHue(hue);
        } else if (brightness != 0) {
            ChangeThemeBrightness(brightness);
        }
    } catch (...) {
        // A shift that fails leaves the theme as it was loaded.
    }
}

}  // namespace tarvel
