#pragma once
// The calibration arithmetic: voltage K per channel, least-squares lines
// for the current, and the rows a current fit fills. K is an integer in
// which 10000 stands for the factor 1.

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "link/DeviceFrame.h"

namespace tarvel {

// Which calibration block the module keeps (from the length of its 0x87 reply).
enum class KbLayout { Short = 0, Full = 1 };

// The K to write for one voltage row: "10000" when the actual or sampled
// text is "0" or empty, else actual * read K / sampled, truncated toward 0
// (defaults 3000, 3000, 10000 for texts that are not numbers).
std::string VoltageKText(std::string_view actual, std::string_view sampled, std::string_view readK);

struct FitPoint {
    double x;  // sampled
    double y;  // actual
};
struct Line {
    double k = 0, b = 0;
};
std::optional<Line> FitLine(const std::vector<FitPoint>& points);
// The line over all points and, from four points on, the line over all but
// the last three (the small currents); one point gives only the main line.
struct TwoRangeFit {
    Line all;
    std::optional<Line> small;
};
std::optional<TwoRangeFit> FitLineTwoRanges(const std::vector<FitPoint>& points);

// One direction's column of the current grid in use (SG_CKB for the full
// layout, SG_CKB1 for the short one), row texts by row number.
struct CellWrite {
    int row;
    std::string text;
    bool operator==(const CellWrite&) const = default;
};
struct CurrentKbResult {
    bool ok = false;
    std::string message;  // "Succeed/Fail to calacute KB of current in charge!/discharge!"
    std::vector<CellWrite> writes;
};
CurrentKbResult ComputeCurrentKb(const std::vector<std::string>& column, bool discharge, KbLayout layout);

// Where the next current sample goes: the point after the last one (wrapping
// after 6 in the full layout, 5 in the short), column 2 for a negative
// current, row 2 * point.
struct CurrentSamplePlace {
    int point, column, row;
    bool operator==(const CurrentSamplePlace&) const = default;
};
CurrentSamplePlace NextCurrentSample(int& currentSampleRow, int32_t current, KbLayout layout);

}  // namespace tarvel
