#include "platform/classlib/FontIdents.h"

namespace tarvel {

namespace {

struct CharsetIdent {
    int value;
    const char* name;
};

constexpr CharsetIdent kCharsetIdents[] = {
    {0, "ANSI_CHARSET"},      {1, "DEFAULT_CHARSET"},    {2, "SYMBOL_CHARSET"},
    {77, "MAC_CHARSET"},      {128, "SHIFTJIS_CHARSET"}, {129, "HANGEUL_CHARSET"},
    {130, "JOHAB_CHARSET"},   {134, "GB2312_CHARSET"},   {136, "CHINESEBIG5_CHARSET"},
    {161, "GREEK_CHARSET"},   {162, "TURKISH_CHARSET"},  {163, "VIETNAMESE_CHARSET"},
    {177, "HEBREW_CHARSET"},  {178, "ARABIC_CHARSET"},   {186, "BALTIC_CHARSET"},
    {204, "RUSSIAN_CHARSET"}, {222, "THAI_CHARSET"},     {238, "EASTEUROPE_CHARSET"},
    {255, "OEM_CHARSET"},
};

constexpr const char* kFontStyleIdents[] = {"fsBold", "fsItalic", "fsUnderline", "fsStrikeOut"};
constexpr const char* kFontPitchIdents[] = {"fpDefault", "fpVariable", "fpFixed"};

}  // namespace

bool CharsetToIdent(int charset, String& ident) {
    for (const auto& c : kCharsetIdents) {
        if (c.value == charset) {
            ident = c.name;
            return true;
        }
    }
    return false;
}

bool IdentToCharset(std::string_view ident, int& charset) {
    for (const auto& c : kCharsetIdents) {
        if (SameText(c.name, ident)) {
            charset = c.value;
            return true;
        }
    }
    return false;
}

std::span<const char* const> FontStyleIdents() { return kFontStyleIdents; }
std::span<const char* const> FontPitchIdents() { return kFontPitchIdents; }

}  // namespace tarvel
