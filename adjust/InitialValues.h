#pragma once
// What "BMSAdjust.ini" gives the parameter and calibration tabs: the
// initial protection parameters of each product variant and the reference
// currents of the current-calibration points.

#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "adjust/KbBlock.h"
#include "adjust/ProtectionParameters.h"

namespace tarvel {

// The settings file's integer reader: section, key, default.
using ProfileIntReader = std::function<int(std::string_view section, std::string_view key, int fallback)>;
// Reads "BMSAdjust.ini" beside the executable.
ProfileIntReader AdjustIniReader();

// Num1..Num48 of "3UPara" (variant 1) or "BMSPara" (variant 0), default
// 3000; nothing for another variant.
std::optional<ProtectionTexts> InitialProtectionValues(const ProfileIntReader& read, int productVariant);

// ChargeN / DisChargeN of points first..last of `section` into the actual
// rows 2N-1 of SG_CKB (points 1..6) and SG_CKB1 (points 7..11, rows 1..9),
// charge in column 1, discharge in column 2.
struct ReferenceCurrentCell {
    std::string_view grid;
    GridWrite cell;
    bool operator==(const ReferenceCurrentCell&) const = default;
};
std::vector<ReferenceCurrentCell> ReferenceCurrents(const ProfileIntReader& read, std::string_view section,
                                                    int firstPoint, int lastPoint, int fallback);
// The variant's table: "3U" (1) points 1..11 of "3UCurrentAdjust" (default
// 10), "BMS" (0) points 1..6 of "BMSCurrentAdjust" (default 5).
std::vector<ReferenceCurrentCell> VariantReferenceCurrents(const ProfileIntReader& read, int productVariant);

}  // namespace tarvel
