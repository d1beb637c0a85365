// A library may set a locale with a decimal comma and thousands dots for the
// whole process; the numbers the tool writes to files and shows, and the ones
// it reads back, must not change with it.
#include <clocale>
#include <cstdio>
#include <locale>
#include <sstream>
#include <string>

#include <gtest/gtest.h>

#include "platform/base/DateTime.h"
#include "platform/base/Strings.h"

namespace tarvel {
namespace {

struct CommaDecimals : std::numpunct<char> {
    char do_decimal_point() const override { return ','; }
    char do_thousands_sep() const override { return '.'; }
    std::string do_grouping() const override { return "\3"; }
};

void ExpectNumbersUntouched() {
    const std::pair<std::string, std::string> texts[] = {
        {FloatToStr(1234.5), "1234.5"},
        {FloatToStr(-0.001), "-0.001"},
        {FloatToStr(1.5e20), "1.5E20"},
        {FloatToStrF(1234.5, 2), "1234.50"},
        {Format("%.2f|%d|%g", 3.25, 1234567, 0.5), "3.25|1234567|0.5"},
        {IntToStr(1234567), "1234567"},
        {DateTimeToStr(EncodeDateTime({2024, 3, 9, 7, 5, 30, 0})), "2024-03-09 07:05:30"},
    };
    for (const auto& [got, want] : texts) EXPECT_EQ(got, want);
    EXPECT_DOUBLE_EQ(StrToFloat("1234.5"), 1234.5);
    EXPECT_DOUBLE_EQ(StrToFloat("-2.5e3"), -2500.0);
    double value = 0;
    EXPECT_FALSE(TryStrToFloat("1234,5", value));
    EXPECT_FALSE(TryStrToFloat("1.234,5", value));
    EXPECT_EQ(StrToInt("1234567"), 1234567);
}

TEST(NumbersInAnyLocale, AGlobalLocaleWithADecimalCommaChangesNoNumber) {
    const std::locale before = std::locale::global(std::locale(std::locale::classic(), new CommaDecimals));
    struct Restore {
        std::locale was;
        ~Restore() { std::locale::global(was); }
    } restore{before};
    std::ostringstream inForce;
    inForce << 1234.5;
    ASSERT_EQ(inForce.str(), "1.234,5");
    ExpectNumbersUntouched();
}

TEST(NumbersInAnyLocale, ACLocaleWithADecimalCommaChangesNoNumber) {
    const std::string before = std::setlocale(LC_ALL, nullptr);
    const char* found = nullptr;
    for (const char* name :
         {"de_DE.UTF-8", "de_DE.utf8", "fr_FR.UTF-8", "nl_NL.UTF-8", "ru_RU.UTF-8", "de_DE"}) {
        if (std::setlocale(LC_ALL, name) && std::localeconv()->decimal_point[0] == ',') {
            found = name;
            break;
        }
    }
    if (!found) {
        std::setlocale(LC_ALL, before.c_str());
        GTEST_SKIP() << "this machine has no locale with a decimal comma";
    }
    char inForce[16];
    std::snprintf(inForce, sizeof inForce, "%.1f", 1.5);
    EXPECT_STREQ(inForce, "1,5") << found;
    ExpectNumbersUntouched();
    std::setlocale(LC_ALL, before.c_str());
}

}  // namespace
}  // namespace tarvel
