#include "platform/system/Locales.h"

#include <gtest/gtest.h>

#include "platform/base/Strings.h"

namespace tarvel {
namespace {

TEST(Locales, CountryNamesOfCodes) {
    const struct {
        std::string_view code;
        const char* name;
    } cases[] = {
        {"DE", "Germany"},
        {"cn", "China"},
        {"Gb", "United Kingdom"},
        {"AD", "Andorra"},   // first of the table
        {"ZW", "Zimbabwe"},  // last
        {"AX", "Åland Islands"},
        {"XX", ""},
        {"", ""},
        {"D", ""},
        {"DEU", ""},
        {std::string_view("D\0", 2), ""},
        {"\xC3\x84", ""},
        {"1A", ""},
    };
    for (const auto& c : cases) EXPECT_EQ(CountryName(c.code), c.name) << c.code;
}

TEST(Locales, LanguageNamesOfIds) {
    const struct {
        LANGID id;
        const char* name;
    } cases[] = {
        {MAKELANGID(0x09, 0x01), "English (United States)"},
        {0x0804, "Chinese (Simplified, PRC)"},
        {0x0401, "Arabic (Saudi Arabia)"},
        {0x1809, "English (Ireland)"},
        {0x0009, ""},  // a primary language alone is no entry
        {0x0000, ""},
        {0xFFFF, ""},
    };
    for (const auto& c : cases) EXPECT_EQ(LanguageName(c.id), c.name) << std::hex << c.id;
    EXPECT_EQ(PRIMARYLANGID(0x0804), 0x04);
    EXPECT_EQ(SUBLANGID(0x0804), 0x02);
}

// Lookups search the tables, so they must stay sorted without repeats, and
// every entry must be one a box can show.
TEST(Locales, TablesAreSortedAndEveryEntryFindsItself) {
    const auto countries = Countries();
    ASSERT_FALSE(countries.empty());
    for (size_t i = 0; i < countries.size(); ++i) {
        const CountryInfo& c = countries[i];
        ASSERT_EQ(c.code.size(), 2u);
        EXPECT_EQ(c.code, UpperCase(c.code));
        EXPECT_FALSE(c.name.empty());
        EXPECT_EQ(WideToUtf8(Utf8ToWide(c.name)), c.name) << c.code;
        if (i > 0) {
            EXPECT_LT(countries[i - 1].code, c.code);
        }
        EXPECT_EQ(CountryName(LowerCase(c.code)), c.name);
    }
    const auto languages = Languages();
    ASSERT_FALSE(languages.empty());
    for (size_t i = 0; i < languages.size(); ++i) {
        EXPECT_FALSE(languages[i].name.empty());
        if (i > 0) {
            EXPECT_LT(languages[i - 1].id, languages[i].id);
        }
        EXPECT_EQ(LanguageName(languages[i].id), languages[i].name);
    }
}

}  // namespace
}  // namespace tarvel
