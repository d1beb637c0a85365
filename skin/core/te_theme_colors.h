#pragma once
// The four small value objects every theme owns: 22 named colours for the
// parts of its elements, its replacements for 26 system colours, 66 named
// fonts and two options; their hue and brightness shifting, the font text
// ("Tahoma,8,1,0,0,0,bold") and the stream sections skin files keep them in.

#include <array>
#include <cstdint>
#include <memory>

#include "platform/base/Strings.h"
#include "platform/classlib/Graphics.h"
#include "platform/classlib/Persistent.h"
#include "platform/classlib/Streams.h"

namespace tarvel {

class TteTheme;

enum TteThemeColor : uint8_t {
    ktcCaptionNormal,
    ktcCaptionInactive,
    ktcWindowBorder,
    ktcWindow,
    ktcBorder,
    ktcPanelNormal,
    ktcPanelDisabled,
    ktcButtonNormal,
    ktcButtonHot,
    ktcButtonPressed,
    ktcButtonFocused,
    ktcButtonDisabled,
    ktcEditNormal,
    ktcEditHot,
    ktcEditFocused,
    ktcEditDisabled,
    ktcEditSelection,
    ktcHint,
    ktcList,
    ktcTree,
    ktcGrid,
    ktcBarDock
};
constexpr int kThemeColorCount = 22;

enum TteThemeFont : uint8_t {
    ktfCaptionTextNormal,
    ktfCaptionTextInactive,
    ktfSmCaptionTextNormal,
    ktfSmCaptionTextInactive,
    ktfStaticTextNormal,
    ktfStaticTextHot,
    ktfStaticTextFocused,
    ktfStaticTextDisabled,
    ktfPanelTextNormal,
    ktfPanelTextDisabled,
    ktfButtonTextNormal,
    ktfButtonTextPressed,
    ktfButtonTextHot,
    ktfButtonTextFocused,
    ktfButtonTextDisabled,
    ktfCheckBoxTextNormal,
    ktfCheckBoxTextPressed,
    ktfCheckBoxTextHot,
    ktfCheckBoxTextFocused,
    ktfCheckBoxTextDisabled,
    ktfRadioButtonTextNormal,
    ktfRadioButtonTextPressed,
    ktfRadioButtonTextHot,
    ktfRadioButtonTextFocused,
    ktfRadioButtonTextDisabled,
    ktfGroupBoxTextNormal,
    ktfGroupBoxTextDisabled,
    ktfWindowTextNormal,
    ktfWindowTextDisabled,
    ktfEditBoxTextNormal,
    ktfEditBoxTextFocused,
    ktfEditBoxTextHot,
    ktfEditBoxTextDisabled,
    ktfEditBoxTextSelected,
    ktfMenuItemTextNormal,
    ktfMenuItemTextSelected,
    ktfMenuItemTextHot,
    ktfMenuItemTextDisabled,
    ktfToolItemTextNormal,
    ktfToolItemTextSelected,
    ktfToolItemTextHot,
    ktfToolItemTextDisabled,
    ktfHeaderSectionTextNormal,
    ktfHeaderSectionTextPressed,
    ktfHeaderSectionTextDraggedOut,
    ktfHeaderSectionTextDragging,
    ktfHeaderSectionTextHot,
    ktfHeaderSectionTextUnderDrag,
    ktfHeaderSectionTextDisabled,
    ktfStatusPanelTextNormal,
    ktfStatusPanelTextDisabled,
    ktfTabTextInactiveNormal,
    ktfTabTextInactiveHot,
    ktfTabTextInactiveDisabled,
    ktfTabTextActiveNormal,
    ktfTabTextActiveHot,
    ktfTabTextActiveDisabled,
    ktfListItemTextNormal,
    ktfListItemTextHot,
    ktfListItemTextSelected,
    ktfListItemTextFocused,
    ktfListItemTextDisabled,
    ktfPopupMenuItemTextNormal,
    ktfPopupMenuItemTextSelected,
    ktfPopupMenuItemTextHot,
    ktfPopupMenuItemTextDisabled
};
constexpr int kThemeFontCount = 66;

enum TteThemeOption : uint8_t { ktoptOneEdit, ktoptOneComboBox };
constexpr int kThemeOptionCount = 2;

constexpr int kThemeSysColorCount = 26;

extern const std::array<const char*, kThemeColorCount> ThemeColorNames;
extern const std::array<const char*, kThemeFontCount> ThemeFontNames;
extern const std::array<const char*, kThemeOptionCount> ThemeOptionNames;
// The 26 system colours a theme replaces, and clWindowText after them; their
// names are the class library's colour identifiers.
extern const std::array<TColor, kThemeSysColorCount + 1> SysColors;

class TteThemeColors : public TPersistent {
    TARVEL_CLASS(TteThemeColors, TPersistent)

public:
    explicit TteThemeColors(TteTheme* owner = nullptr) : owner_(owner) {}

    void Assign(TPersistent* source) override;
    TColor GetColor(TteThemeColor index) const { return colors_[index]; }
    void SetColor(TteThemeColor index, TColor color) { colors_[index] = color; }
    void ChangeColorsHue(int delta);
    void ChangeColorsBrightness(int delta);

    // Byte 21, then 22 entries (name, ":", value). Reading stores as many
    // entries as the table holds and reads past the rest.
    void LoadFromStream(TStream& stream);
    void SaveToStream(TStream& stream) const;

private:
    TteTheme* owner_;
    std::array<TColor, kThemeColorCount> colors_{};
};

class TteThemeSysColors : public TPersistent {
    TARVEL_CLASS(TteThemeSysColors, TPersistent)

public:
    // The current system colours, as RGB.
    explicit TteThemeSysColors(TteTheme* owner = nullptr);

    void Assign(TPersistent* source) override;
    // clNone for a colour that is not among the 26.
    TColor GetColor(TColor sysColor) const;
    void SetColor(TColor sysColor, TColor color);
    void ChangeColorsHue(int delta);
    void ChangeColorsBrightness(int delta);
    // Back to the values last set, assigned or loaded, before any shift: a
    // theme's reset shifts from there, so resets never drift.
    void RestoreBase() { values_ = base_; }

    // int32 26, then 26 entries; surplus entries are read past.
    void LoadFromStream(TStream& stream);
    void SaveToStream(TStream& stream) const;

private:
    static int IndexOf(TColor sysColor);

    TteTheme* owner_;
    std::array<TColor, kThemeSysColorCount> values_{};
    std::array<TColor, kThemeSysColorCount> base_{};
};

class TteThemeFonts : public TPersistent {
    TARVEL_CLASS(TteThemeFonts, TPersistent)

public:
    explicit TteThemeFonts(TteTheme* owner = nullptr);

    void Assign(TPersistent* source) override;
    TFont* GetFont(TteThemeFont index) const { return fonts_[index].get(); }
    void SetFont(TteThemeFont index, TFont* font) { fonts_[index]->Assign(font); }
    // The font itself for "default" (or without an owner theme); otherwise a
    // work copy the theme adjusted for the object, overwritten by the next call.
    TFont* GetFontForObject(TteThemeFont index, const String& objectName);
    // Also with 0, which resolves system colours in the fonts.
    void ChangeFontsHue(int delta);
    void ChangeFontsBrightness(int delta);

    // Byte 65, then 66 entries whose value is the font text.
    void LoadFromStream(TStream& stream);
    void SaveToStream(TStream& stream) const;

private:
    TteTheme* owner_;
    std::array<std::unique_ptr<TFont>, kThemeFontCount> fonts_;
    TFont work_;
};

class TteThemeOptions : public TPersistent {
    TARVEL_CLASS(TteThemeOptions, TPersistent)

public:
    explicit TteThemeOptions(TteTheme* owner = nullptr) : owner_(owner) {}

    void Assign(TPersistent* source) override;
    bool GetOptions(TteThemeOption option) const { return options_[option]; }
    void SetOptions(TteThemeOption option, bool value) { options_[option] = value; }

    // Byte 1, then one byte per option.
    void LoadFromStream(TStream& stream);
    void SaveToStream(TStream& stream) const;

private:
    [[maybe_unused]] TteTheme* owner_;
    std::array<bool, kThemeOptionCount> options_{};
};

// Name, size, style and colour, in this order.
void SetFont(TFont* font, const String& name, int size, TFontStyles style, TColor color);

// "Name,Size,Charset,R,G,B" followed by ",bold", ",italic", ",underline",
// ",strikeout" for the styles the font has.
String FontToString(TFont* font);
String StringToFontName(String text);
int StringToFontSize(String text);  // EConvertError for a bad number
uint8_t StringToFontCharset(String text);
TColor StringToFontColor(String text);
// Each style whose word is among the parts after the colour.
TFontStyles StringToFontStyle(String text);

}  // namespace tarvel
