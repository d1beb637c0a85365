#pragma once
// Reading grid and edit texts as numbers for the frames and files of the
// calibration and parameter tabs: strictly (the text must be an integer) or
// with the fallbacks the calibration write uses.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "link/DeviceFrame.h"

namespace tarvel {

// A strict integer of `type`'s field, or the refusal naming `cell`.
struct CellNumber {
    int64_t value = 0;
    std::string refusal;
    bool Ok() const { return refusal.empty(); }
};
CellNumber ReadStrictCell(std::string_view text, FieldType type, std::string_view cell);

// The text as a decimal integer, or nothing when it is not one.
std::optional<int64_t> CellInteger(std::string_view text);

}  // namespace tarvel
