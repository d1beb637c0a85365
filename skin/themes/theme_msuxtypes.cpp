#include "skin/themes/theme_msuxtypes.h"

#include <algorithm>
#include <vector>

#include "platform/base/Exceptions.h"
#include "skin/core/te_utils.h"

namespace tarvel::msux {

namespace {

template <class E>
struct TKeyword {
    const char* Word;
    E Value;
};

// The value of the keyword the whole text (lower-cased) equals, else `otherwise`.
template <class E, size_t N>
E Keyword(const String& text, const TKeyword<E> (&words)[N], E otherwise) {
    const String lower = LowerCase(text);
    for (const auto& w : words)
        if (lower == w.Word) return w.Value;
    return otherwise;
}

int TokenToInt(const String& token) { return token.empty() ? 0 : StrToInt(token); }

std::vector<String> FontFields(const String& text) {
    std::vector<String> fields;
    String rest = text;
    while (!rest.empty()) fields.push_back(GetToken(rest, ","));
    return fields;
}

}  // namespace

int ClampCoordinate(int value) { return std::clamp(value, -kMaxCoordinate, kMaxCoordinate); }

bool StringToBool(const String& text) {
    const String lower = LowerCase(text);
    return lower == "true" || lower == "1" || lower == "yes";
}

TColor StringToColor(const String& text) {
    String rest = text;
    const auto channel = [&rest] { return std::clamp(TokenToInt(GetToken(rest)), 0, 255); };
    const int r = channel();
    const int g = channel();
    const int b = channel();
    return static_cast<TColor>(r + g * 256 + b * 65536);
}

TPoint StringToPoint(const String& text) {
    String rest = text;
    const int x = StrToInt(GetToken(rest));
    const int y = StrToInt(GetToken(rest));
    return TPoint{ClampCoordinate(x), ClampCoordinate(y)};
}

TRect StringToRect(const String& text) {
    String rest = Trim(text);
    if (!rest.empty() && rest[0] == '(') rest.erase(0, 1);
    int v[4];
    for (int& n : v) {
        if (!TryStrToInt(GetToken(rest), n)) return TRect{};
        n = ClampCoordinate(n);
    }
    return TRect{v[0], v[1], v[2], v[3]};
}

TRect StringToMargin(const String& text) {
    String rest = text;
    int v[4];
    for (int& n : v) {
        rest = Trim(rest);
        if (!TryStrToInt(GetToken(rest), n)) return TRect{};
        n = ClampCoordinate(n);
    }
    TRect margins;
    margins.left = v[0];
    margins.right = v[1];
    margins.top = v[2];
    margins.bottom = v[3];
    return margins;
}

TmsuxBgType StringToBgType(const String& text) {
    static constexpr TKeyword<TmsuxBgType> kWords[] = {
        {"borderfill", msbtBorderFill}, {"imagefile", msbtImage}, {"none", msbtNone}};
    return Keyword(text, kWords, msbtFill);
}

TmsuxTileStyle StringToTileStyle(const String& text) {
    static constexpr TKeyword<TmsuxTileStyle> kWords[] = {
        {"tile", uxtlsTileAll},
        {"stretch", uxtlsStretchAll},
        {"truesize", uxtlsTrueSize},
        {"tilevertical", uxtlsTileVertical},
        {"tilehorizontal", uxtlsTileHorizontal},
        {"bordertileclientstretch", uxtlsBorderTileClientStretch},
        {"borderstretchclienttile", uxtlsBorderStretchClientTile}};
    return Keyword(text, kWords, uxtlsTileAll);
}

TmsuxImageLayout StringToImageLayout(const String& text) {
    static constexpr TKeyword<TmsuxImageLayout> kWords[] = {{"horizontal", msilHorizontal}};
    return Keyword(text, kWords, msilVertical);
}

TmsuxImageSelectType StringToImageSelectType(const String& text) {
    static constexpr TKeyword<TmsuxImageSelectType> kWords[] = {{"dpi", msisDpi}, {"size", msisSize}};
    String rest = text;
    return Keyword(GetToken(rest), kWords, msisNone);
}

TmsuxGlyphType StringToGlyphType(const String& text) {
    static constexpr TKeyword<TmsuxGlyphType> kWords[] = {{"imageglyph", msgtImage}};
    return Keyword(text, kWords, msgtNone);
}

TmsuxAlignment StringToAligment(const String& text) {
    static constexpr TKeyword<TmsuxAlignment> kWords[] = {
        {"left", msaLeft}, {"center", msaCenter}, {"right", msaRight}};
    return Keyword(text, kWords, msaLeft);
}

TmsuxTextShadow StringToTextShadow(const String& text) {
    static constexpr TKeyword<TmsuxTextShadow> kWords[] = {
        {"none", uxtsNone}, {"single", uxtsSingle}, {"continuous", uxtsContinuous}};
    return Keyword(text, kWords, uxtsNone);
}

String StringToImage(const String& text) {
    String name = text;
    for (size_t i = 0; i < name.size(); ++i) {
        if (name[i] == '\\') name[i] = '_';
        const bool bitmapExtension = i + 2 < name.size() && (name[i + 1] == 'B' || name[i + 1] == 'b');
        if (name[i] == '.' && bitmapExtension) name[i] = '_';
    }
    return Trim(name);
}

String StringToFontName(const String& text) {
    const std::vector<String> fields = FontFields(text);
    return fields.empty() ? String() : fields[0];
}

int StringToFontSize(const String& text) {
    const std::vector<String> fields = FontFields(text);
    return StrToInt(fields.size() > 1 ? fields[1] : String());
}

TFontStyles StringToFontStyle(const String& text) {
    static constexpr TKeyword<TFontStyle> kWords[] = {
        {"bold", fsBold}, {"italic", fsItalic}, {"underline", fsUnderline}, {"strikeout", fsStrikeOut}};
    const std::vector<String> fields = FontFields(text);
    TFontStyles styles;
    for (size_t i = 2; i < fields.size() && i < 6; ++i) {
        for (const auto& w : kWords)
            if (LowerCase(fields[i]) == w.Word) styles.Include(w.Value);
    }
    return styles;
}

}  // namespace tarvel::msux
