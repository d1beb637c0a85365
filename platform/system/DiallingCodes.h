#pragma once
// The calling code and dialling prefixes of a country, read from the phone
// number metadata installed with the system rather than a table of our own.

#include <string>
#include <string_view>

namespace tarvel {

struct DiallingCodes {
    std::string callingCode;    // decimal digits, "49"
    std::string international;  // dialled before a foreign calling code, "00"; may hold a '~' (wait for tone)
    std::string longDistance;   // dialled before an area code inside the country, "0"; often ""
};

// The codes of a two-letter ISO 3166 country (either case). A country the
// metadata does not know answers all empty; so does the international prefix
// of a country with several prefixes and no preferred one.
DiallingCodes DiallingCodesFor(std::string_view isoCode);

}  // namespace tarvel
