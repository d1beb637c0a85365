#include "skin/core/te_theme_colors.h"

#include "skin/core/te_bitmap_colors.h"
#include "skin/core/te_theme.h"
#include "skin/core/te_utils.h"

namespace tarvel {

const std::array<const char*, kThemeColorCount> ThemeColorNames = {
    "CaptionNormal", "CaptionInactive", "WindowBorder", "Window",    "Border",
    "PanelNormal",   "PanelDisabled",   "ButtonNormal", "ButtonHot", "ButtonPressed",
    "ButtonFocused", "ButtonDisabled",  "EditNormal",   "EditHot",   "EditFocused",
    "EditDisabled",  "EditSelection",   "Hint",         "List",      "Tree",
    "Grid",          "BarDock"};

const std::array<const char*, kThemeFontCount> ThemeFontNames = {"CaptionTextNormal",
                                                                 "CaptionTextInactive",
                                                                 "SmCaptionTextNormal",
                                                                 "SmCaptionTextInactive",
                                                                 "StaticTextNormal",
                                                                 "StaticTextHot",
                                                                 "StaticTextFocused",
                                                                 "StaticTextDisabled",
                                                                 "PanelTextNormal",
                                                                 "PanelTextDisabled",
                                                                 "ButtonTextNormal",
                                                                 "ButtonTextPressed",
                                                                 "ButtonTextHot",
                                                                 "ButtonTextFocused",
                                                                 "ButtonTextDisabled",
                                                                 "CheckBoxTextNormal",
                                                                 "CheckBoxTextPressed",
                                                                 "CheckBoxTextHot",
                                                                 "CheckBoxTextFocused",
                                                                 "CheckBoxTextDisabled",
                                                                 "RadioButtonTextNormal",
                                                                 "RadioButtonTextPressed",
                                                                 "RadioButtonTextHot",
                                                                 "RadioButtonTextFocused",
                                                                 "RadioButtonTextDisabled",
                                                                 "GroupBoxTextNormal",
                                                                 "GroupBoxTextDisabled",
                                                                 "WindowTextNormal",
                                                                 "WindowTextDisabled",
                                                                 "EditBoxTextNormal",
                                                                 "EditBoxTextFocused",
                                                                 "EditBoxTextHot",
                                                                 "EditBoxTextDisabled",
                                                                 "EditBoxTextSelected",
                                                                 "MenuItemTextNormal",
                                                                 "MenuItemTextSelected",
                                                                 "MenuItemTextHot",
                                                                 "MenuItemTextDisabled",
                                                                 "ToolItemTextNormal",
                                                                 "ToolItemTextSelected",
                                                                 "ToolItemTextHot",
                                                                 "ToolItemTextDisabled",
                                                                 "HeaderSectionTextNormal",
                                                                 "HeaderSectionTextPressed",
                                                                 "HeaderSectionTextDraggedOut",
                                                                 "HeaderSectionTextDragging",
                                                                 "HeaderSectionTextHot",
                                                                 "HeaderSectionTextUnderDrag",
                                                                 "HeaderSectionTextDisabled",
                                                                 "StatusPanelTextNormal",
                                                                 "StatusPanelTextDisabled",
                                                                 "TabTextInactiveNormal",
                                                                 "TabTextInactiveHot",
                                                                 "TabTextInactiveDisabled",
                                                                 "TabTextActiveNormal",
                                                                 "TabTextActiveHot",
                                                                 "TabTextActiveDisabled",
                                                                 "ListItemTextNormal",
                                                                 "ListItemTextHot",
                                                                 "ListItemTextSelected",
                                                                 "ListItemTextFocused",
                                                                 "ListItemTextDisabled",
                                                                 "PopupMenuItemTextNormal",
                                                                 "PopupMenuItemTextSelected",
                                                                 "PopupMenuItemTextHot",
                                                                 "PopupMenuItemTextDisabled"};

const std::array<const char*, kThemeOptionCount> ThemeOptionNames = {
    "One object for kescEditButtonLeft, kescEditButtonRight and kescEditButtonBoth",
    "One object for kescComboBoxLeft, kescComboBoxRight"};

const std::array<TColor, kThemeSysColorCount + 1> SysColors = {clActiveBorder,
                                                               clActiveCaption,
                                                               clAppWorkSpace,
                                                               clBackground,
                                                               clBtnFace,
                                                               clBtnHighlight,
                                                               clBtnShadow,
                                                               clBtnText,
                                                               clCaptionText,
                                                               clDefault,
                                                               clActiveCaption,
                                                               clGrayText,
                                                               clHighlight,
                                                               clHighlightText,
                                                               clInactiveBorder,
                                                               clInactiveCaption,
                                                               clInactiveCaptionText,
                                                               clInfoBk,
                                                               clInfoText,
                                                               clMenu,
                                                               clMenuText,
                                                               clScrollBar,
                                                               cl3DDkShadow,
                                                               cl3DLight,
                                                               clWindow,
                                                               clWindowFrame,
                                                               clWindowText};

namespace {

constexpr const char* kListDelimiters = ";,";

TColor ShiftHue(TColor c, int delta) { return teColorToColor(ChangeHue(teColor(c, 255), delta)); }
TColor ShiftBrightness(TColor c, int delta) {
    return teColorToColor(ChangeBrightness(teColor(c, 255), delta));
}

void WriteEntry(TStream& stream, std::string_view name, std::string_view value) {
    WriteString(stream, name);
    WriteString(stream, ":");
    WriteString(stream, value);
}

// The value text of one entry; its name and separator are not used.
String ReadEntryValue(TStream& stream) {
    ReadString(stream);
    ReadString(stream);
    return ReadString(stream);
}

// Reads `count` entries; `store` gets those whose index fits the table, the
// surplus is read past so the stream stays in step with its writer.
template <class Store>
void ReadEntries(TStream& stream, int64_t count, int tableSize, Store&& store) {
    for (int64_t i = 0; i < count; ++i) {
        String value = ReadEntryValue(stream);
        if (i < tableSize) store(static_cast<int>(i), value);
    }
}

uint8_t ReadByte(TStream& stream) {
    uint8_t b = 0;
    stream.ReadBuffer(&b, 1);
    return b;
}

void WriteByte(TStream& stream, uint8_t b) { stream.WriteBuffer(&b, 1); }

// Skips `count` parts with the list delimiters.
String SkipParts(String text, int count) {
    for (int i = 0; i < count; ++i) GetToken(text, kListDelimiters);
    return text;
}

}  // namespace

// ---- colours ---------------------------------------------------------------

void TteThemeColors::Assign(TPersistent* source) {
    if (auto* other = dynamic_cast<TteThemeColors*>(source)) {
        colors_ = other->colors_;
        return;
    }
    inherited::Assign(source);
}

void TteThemeColors::ChangeColorsHue(int delta) {
    if (delta == 0) return;
    for (TColor& c : colors_) c = ShiftHue(c, delta);
}

void TteThemeColors::ChangeColorsBrightness(int delta) {
    if (delta == 0) return;
    for (TColor& c : colors_) c = ShiftBrightness(c, delta);
}

void TteThemeColors::LoadFromStream(TStream& stream) {
    const int64_t count = int64_t{ReadByte(stream)} + 1;
    ReadEntries(stream, count, kThemeColorCount,
                [&](int i, const String& value) { colors_[i] = StringToColor(value); });
}

void TteThemeColors::SaveToStream(TStream& stream) const {
    WriteByte(stream, kThemeColorCount - 1);
    for (int i = 0; i < kThemeColorCount; ++i)
        WriteEntry(stream, ThemeColorNames[i], ColorToString(colors_[i]));
}

// ---- system colours --------------------------------------------------------

TteThemeSysColors::TteThemeSysColors(TteTheme* owner) : owner_(owner) {
    for (int i = 0; i < kThemeSysColorCount; ++i) values_[i] = ColorToRGB(SysColors[i]);
    base_ = values_;
}

void TteThemeSysColors::Assign(TPersistent* source) {
    if (auto* other = dynamic_cast<TteThemeSysColors*>(source)) {
        values_ = other->values_;
        // The base too: a copy of a shifted theme shifts from the same start.
        base_ = other->base_;
        return;
    }
    inherited::Assign(source);
}

int TteThemeSysColors::IndexOf(TColor sysColor) {
    for (int i = 0; i < kThemeSysColorCount; ++i)
        if (SysColors[i] == sysColor) return i;
    return -1;
}

TColor TteThemeSysColors::GetColor(TColor sysColor) const {
    const int i = IndexOf(sysColor);
    return i < 0 ? clNone : values_[i];
}

void TteThemeSysColors::SetColor(TColor sysColor, TColor color) {
    const int i = IndexOf(sysColor);
    if (i < 0) return;
    values_[i] = color;
    base_[i] = color;
}

void TteThemeSysColors::ChangeColorsHue(int delta) {
    if (delta == 0) return;
    for (TColor& c : values_) c = ShiftHue(c, delta);
}

void TteThemeSysColors::ChangeColorsBrightness(int delta) {
    if (delta == 0) return;
    for (TColor& c : values_) c = ShiftBrightness(c, delta);
}

void TteThemeSysColors::LoadFromStream(TStream& stream) {
    const int32_t count = ReadInt32(stream);
    ReadEntries(stream, count, kThemeSysColorCount, [&](int i, const String& value) {
        values_[i] = StringToColor(value);
        base_[i] = values_[i];
    });
}

void TteThemeSysColors::SaveToStream(TStream& stream) const {
    WriteInt32(stream, kThemeSysColorCount);
    for (int i = 0; i < kThemeSysColorCount; ++i)
        WriteEntry(stream, ColorToString(SysColors[i]), ColorToString(values_[i]));
}

// ---- fonts -----------------------------------------------------------------

TteThemeFonts::TteThemeFonts(TteTheme* owner) : owner_(owner) {
    for (auto& f : fonts_) {
        f = std::make_unique<TFont>();
        f->SetName("Tahoma");
    }
}

void TteThemeFonts::Assign(TPersistent* source) {
    if (auto* other = dynamic_cast<TteThemeFonts*>(source)) {
        for (int i = 0; i < kThemeFontCount; ++i) fonts_[i]->Assign(other->fonts_[i].get());
        return;
    }
    inherited::Assign(source);
}

TFont* TteThemeFonts::GetFontForObject(TteThemeFont index, const String& objectName) {
    if (!owner_ || objectName == "default") return fonts_[index].get();
    work_.Assign(fonts_[index].get());
    owner_->SetFontForObject(&work_, index, objectName);
    return &work_;
}

void TteThemeFonts::ChangeFontsHue(int delta) {
    for (auto& f : fonts_) f->SetColor(ShiftHue(f->Color(), delta));
}

void TteThemeFonts::ChangeFontsBrightness(int delta) {
    for (auto& f : fonts_) f->SetColor(ShiftBrightness(f->Color(), delta));
}

void TteThemeFonts::LoadFromStream(TStream& stream) {
    const int64_t count = int64_t{ReadByte(stream)} + 1;
    ReadEntries(stream, count, kThemeFontCount, [&](int i, const String& value) {
        TFont& f = *fonts_[i];
        f.SetName(StringToFontName(value));
        f.SetSize(StringToFontSize(value));
        f.SetColor(StringToFontColor(value));
        f.SetStyle(StringToFontStyle(value));
    });
}

void TteThemeFonts::SaveToStream(TStream& stream) const {
    WriteByte(stream, kThemeFontCount - 1);
    for (int i = 0; i < kThemeFontCount; ++i)
        WriteEntry(stream, ThemeFontNames[i], FontToString(fonts_[i].get()));
}

// ---- options ---------------------------------------------------------------

void TteThemeOptions::Assign(TPersistent* source) {
    if (auto* other = dynamic_cast<TteThemeOptions*>(source)) {
        options_ = other->options_;
        return;
    }
    inherited::Assign(source);
}

void TteThemeOptions::LoadFromStream(TStream& stream) {
    const int count = ReadByte(stream) + 1;
    for (int i = 0; i < count; ++i) {
        const uint8_t value = ReadByte(stream);
        if (i < kThemeOptionCount) options_[i] = value != 0;
    }
}

void TteThemeOptions::SaveToStream(TStream& stream) const {
    WriteByte(stream, kThemeOptionCount - 1);
    for (bool option : options_) WriteByte(stream, option ? 1 : 0);
}

// ---- font texts ------------------------------------------------------------

void SetFont(TFont* font, const String& name, int size, TFontStyles style, TColor color) {
    font->SetName(name);
    font->SetSize(size);
    font->SetStyle(style);
    font->SetColor(color);
}

namespace {

struct TStyleWord {
    TFontStyle Style;
    const char* Word;
};
constexpr TStyleWord kStyleWords[] = {
    {fsBold, "bold"}, {fsItalic, "italic"}, {fsUnderline, "underline"}, {fsStrikeOut, "strikeout"}};

}  // namespace

String FontToString(TFont* font) {
    const TColor c = font->Color();
    String text = font->Name() + "," + IntToStr(font->Size()) + "," + IntToStr(font->Charset()) + "," +
                  IntToStr(c & 0xFF) + "," + IntToStr((c >> 8) & 0xFF) + "," + IntToStr((c >> 16) & 0xFF);
    for (const TStyleWord& w : kStyleWords)
        if (font->Style().Contains(w.Style)) text += String(",") + w.Word;
    return text;
}

String StringToFontName(String text) { return GetToken(text, kListDelimiters); }

int StringToFontSize(String text) {
    text = SkipParts(std::move(text), 1);
    return StrToInt(GetToken(text));
}

uint8_t StringToFontCharset(String text) {
    text = SkipParts(std::move(text), 2);
    return static_cast<uint8_t>(StrToInt(GetToken(text)));
}

TColor StringToFontColor(String text) {
    text = SkipParts(std::move(text), 3);
    const TColor r = static_cast<TColor>(StrToInt(GetToken(text))) & 0xFF;
    const TColor g = static_cast<TColor>(StrToInt(GetToken(text))) & 0xFF;
    const TColor b = static_cast<TColor>(StrToInt(GetToken(text))) & 0xFF;
    return r | (g << 8) | (b << 16);
}

TFontStyles StringToFontStyle(String text) {
    text = SkipParts(std::move(text), 6);
    TFontStyles style;
    for (int i = 0; i < 4; ++i) {
        const String part = GetToken(text, kListDelimiters);
        for (const TStyleWord& w : kStyleWords)
            if (SameText(part, w.Word)) style.Include(w.Style);
    }
    return style;
}

}  // namespace tarvel
