#include "platform/system/DiallingCodes.h"

#include <gtest/gtest.h>

#include "platform/system/Locales.h"

namespace tarvel {
namespace {

TEST(DiallingCodes, CallingCodesAndPrefixesOfCountries) {
    const struct {
        std::string_view iso;
        const char* calling;
        const char* international;
        const char* longDistance;
    } cases[] = {
        {"DE", "49", "00", "0"},   {"US", "1", "011", "1"},
        {"CN", "86", "00", "0"},   {"GB", "44", "00", "0"},
        {"JP", "81", "010", "0"},  {"jp", "81", "010", "0"},
        {"AU", "61", "0011", "0"},  // the preferred one of several prefixes
        {"RU", "7", "8~10", "8"},   // waits for a tone after the 8
        {"IT", "39", "00", ""},     // no trunk prefix: area codes keep their 0
        {"KR", "82", "", "0"},      // several prefixes, none preferred
        {"AQ", "", "", ""},         // no telephone country of its own
        {"XX", "", "", ""},        {"", "", "", ""},
        {"DEU", "", "", ""},       {std::string_view("D\0", 2), "", "", ""},
        {"\xC3\x84", "", "", ""},
    };
    for (const auto& c : cases) {
        const DiallingCodes codes = DiallingCodesFor(c.iso);
        EXPECT_EQ(codes.callingCode, c.calling) << c.iso;
        EXPECT_EQ(codes.international, c.international) << c.iso;
        EXPECT_EQ(codes.longDistance, c.longDistance) << c.iso;
    }
}

// Whatever the metadata holds, the country boxes get digits (and the tone
// wait) only, never a pattern or a "+".
TEST(DiallingCodes, EveryCountryGetsPlainDigits) {
    const auto plain = [](const std::string& text, bool tone) {
        for (char c : text)
            if (!(c >= '0' && c <= '9') && !(tone && c == '~')) return false;
        return true;
    };
    for (const CountryInfo& country : Countries()) {
        const DiallingCodes codes = DiallingCodesFor(country.code);
        EXPECT_TRUE(plain(codes.callingCode, false)) << country.code;
        EXPECT_TRUE(plain(codes.international, true)) << country.code << " " << codes.international;
        EXPECT_TRUE(plain(codes.longDistance, true)) << country.code << " " << codes.longDistance;
        if (codes.callingCode.empty()) EXPECT_TRUE(codes.international.empty()) << country.code;
    }
}

}  // namespace
}  // namespace tarvel
