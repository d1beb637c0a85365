#pragma once
// What the extended controls share, prepared once before any of them exists:
// the country reader of the country boxes, the background painters that let
// see-through children show their container's face, and the page classes
// that form data may name. Start and end nest; only the outermost pair works.

#include <cstdint>
#include <functional>

#include "platform/base/Strings.h"

namespace tarvel {

// One country as the reader hands it out; the dialling rules are raw text.
struct TCountryEntry {
    String countryCode;  // the calling code, "49"
    String isoCode;      // two letters, "DE"; may be empty
    String name;
    String sameAreaRule, longDistanceRule, internationalRule;
    uint32_t nextCountryId = 0;  // 0 after the last
};

// Reads the country with identifier `countryId` (the first is 1); answers 0,
// or an error code with `entry` untouched.
using TLineGetCountry = std::function<int(uint32_t countryId, TCountryEntry& entry)>;

void InitExtCtrls();
void DoneExtCtrls();

// The reader start-up installed; empty before start-up and after the end.
const TLineGetCountry& LineGetCountry();
// Replaces the reader (an empty one stands for "no country data").
void SetLineGetCountry(TLineGetCountry reader);

}  // namespace tarvel
