#include "platform/system/DiallingCodes.h"

#include <phonenumbers/phonenumberutil.h>

namespace tarvel {

namespace {

using i18n::phonenumbers::PhoneNumber;
using i18n::phonenumbers::PhoneNumberUtil;

std::string Upper(std::string_view code) {
    std::string upper(code);
    for (char& c : upper)
        if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
    return upper;
}

// The metadata keeps the international prefix to itself; a foreign number
// formatted for dialling from the country starts with it ("011 49 ..."), or
// with "+" when the country has no single prefix to dial.
std::string InternationalPrefix(const PhoneNumberUtil& util, const std::string& region, int callingCode) {
    PhoneNumber foreign;
    if (!util.GetExampleNumber(callingCode == 49 ? "GB" : "DE", &foreign)) return "";
    std::string dialled;
    util.FormatOutOfCountryCallingNumber(foreign, region, &dialled);
    const std::string prefix = dialled.substr(0, dialled.find(' '));
    if (prefix.empty() || prefix.front() == '+') return "";
    return prefix;
}

}  // namespace

DiallingCodes DiallingCodesFor(std::string_view isoCode) {
    if (isoCode.size() != 2) return {};
    const std::string region = Upper(isoCode);
    const PhoneNumberUtil& util = *PhoneNumberUtil::GetInstance();
    const int callingCode = util.GetCountryCodeForRegion(region);
    if (callingCode <= 0) return {};
    DiallingCodes codes;
    codes.callingCode = std::to_string(callingCode);
    codes.international = InternationalPrefix(util, region, callingCode);
    util.GetNddPrefixForRegion(region, false, &codes.longDistance);
    return codes;
}

}  // namespace tarvel
