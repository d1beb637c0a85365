#pragma once
// Country and language data of our own for the country box and the language
// combo: ISO 3166 two-letter country codes with their English names, and
// language ids (LANGID: primary language in the low 10 bits, sublanguage
// above) with theirs. Lookups of anything not in the tables answer empty.

#include <cstdint>
#include <span>
#include <string>
#include <string_view>

namespace tarvel {

using LANGID = uint16_t;

constexpr LANGID MAKELANGID(uint16_t primary, uint16_t sub) {
    return static_cast<LANGID>((sub << 10) | primary);
}
constexpr uint16_t PRIMARYLANGID(LANGID id) { return id & 0x3FF; }
constexpr uint16_t SUBLANGID(LANGID id) { return id >> 10; }

struct CountryInfo {
    std::string_view code;  // upper case, "DE"
    std::string_view name;  // English, UTF-8
};

struct LanguageInfo {
    LANGID id;
    std::string_view name;  // English, "German (Germany)"
};

// Every country, by code.
std::span<const CountryInfo> Countries();
// The English name of a two-letter code (either case); "" for anything else.
std::string CountryName(std::string_view code);

// Every language, by id.
std::span<const LanguageInfo> Languages();
// The English name of a language id; "" for one not in the table.
std::string LanguageName(LANGID id);

}  // namespace tarvel
