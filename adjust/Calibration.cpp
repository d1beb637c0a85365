#include "adjust/Calibration.h"

#include <cmath>

#include "adjust/CellValues.h"
#include "platform/base/Strings.h"

namespace tarvel {

std::string VoltageKText(std::string_view actual, std::string_view sampled, std::string_view readK) {
    if (actual.empty() || sampled.empty() || actual == "0" || sampled == "0") return "10000";
    const int64_t a = CellInteger(actual).value_or(3000);
    const int64_t s = CellInteger(sampled).value_or(3000);
    const int64_t u = CellInteger(readK).value_or(10000);
    if (s == 0) return "10000";
    // 64 bits: cell texts are any integers, and their product must not wrap.
    const __int128 product = static_cast<__int128>(a) * u;
    return IntToStr(static_cast<int64_t>(product / s));
}

std::optional<Line> FitLine(const std::vector<FitPoint>& points) {
    const double n = static_cast<double>(points.size());
    if (points.empty()) return std::nullopt;
    if (points.size() == 1) {
        if (points[0].x == 0) return std::nullopt;
        return Line{points[0].y / points[0].x, 0};
    }
    double sx = 0, sy = 0, sxx = 0, sxy = 0;
    for (const FitPoint& p : points) {
        sx += p.x;
        sy += p.y;
        sxx += p.x * p.x;
        sxy += p.x * p.y;
    }
    const double d = sx * sx - n * sxx;
    if (d == 0) return std::nullopt;
    const double k = (sx * sy - n * sxy) / d;
    return Line{k, (sy - sx * k) / n};
}

std::optional<TwoRangeFit> FitLineTwoRanges(const std::vector<FitPoint>& points) {
    if (points.empty() || points.size() == 2 || points.size() == 3) return std::nullopt;
    if (points.size() == 1) {
        const auto line = FitLine(points);
        if (!line) return std::nullopt;
        return TwoRangeFit{*line, std::nullopt};
    }
    const auto small = FitLine(std::vector<FitPoint>(points.begin(), points.end() - 3));
    const auto all = FitLine(points);
    if (!small || !all) return std::nullopt;
    return TwoRangeFit{*all, small};
}

namespace {

// The value truncated toward zero as text, or nothing when it is no number
// an integer can hold.
std::optional<std::string> TruncatedText(double value) {
    if (!std::isfinite(value) || std::fabs(value) >= 9.0e18) return std::nullopt;
    return IntToStr(static_cast<int64_t>(std::trunc(value)));
}

struct KbRows {
    int points;
    int kRow, bRow, skRow, sbRow;  // sk/sb rows 0 in the short layout
};

KbRows RowsOf(KbLayout layout) {
    return layout == KbLayout::Full ? KbRows{6, 14, 16, 18, 20} : KbRows{5, 12, 14, 0, 0};
}

}  // namespace

CurrentKbResult ComputeCurrentKb(const std::vector<std::string>& column, bool discharge, KbLayout layout) {
    const KbRows rows = RowsOf(layout);
    const std::string direction = discharge ? "discharge!" : "charge!";
    const auto cell = [&](int row) -> std::string_view {
        return row < static_cast<int>(column.size()) ? std::string_view(column[static_cast<size_t>(row)])
                                                     : "";
    };
    std::vector<FitPoint> points;
    for (int n = 1; n <= rows.points; ++n) {
        const int64_t sampled = CellInteger(cell(2 * n)).value_or(0);
        const int64_t actual = CellInteger(cell(2 * n - 1)).value_or(0);
        if (sampled != 0 && actual != 0)
            points.push_back({static_cast<double>(sampled), static_cast<double>(actual)});
    }
    const double sign = discharge ? -1 : 1;
    std::optional<TwoRangeFit> fit;
    if (layout == KbLayout::Full) {
        fit = FitLineTwoRanges(points);
    } else if (const auto line = FitLine(points)) {
        fit = TwoRangeFit{*line, std::nullopt};
    }
    CurrentKbResult result;
    const auto add = [&](int row, double value) {
        const auto text = TruncatedText(value);
        if (!text) return false;
        result.writes.push_back({row, *text});
        return true;
    };
    bool ok = fit && add(rows.kRow, fit->all.k * 10000) && add(rows.bRow, sign * fit->all.b);
    // With one point there is no small-current line: its rows stay as they are.
    if (ok && fit->small && rows.skRow != 0) {
        ok = add(rows.skRow, fit->small->k * 10000) && add(rows.sbRow, sign * fit->small->b);
    }
    result.ok = ok;
    if (!ok) result.writes.clear();
    result.message =
        (ok ? "Succeed to calacute KB of current in " : "Fail to calacute KB of current in ") + direction;
    return result;
}

CurrentSamplePlace NextCurrentSample(int& currentSampleRow, int32_t current, KbLayout layout) {
    const int points = RowsOf(layout).points;
    currentSampleRow += 1;
    if (currentSampleRow > points || currentSampleRow < 1) currentSampleRow = 1;
    return {currentSampleRow, current < 0 ? 2 : 1, 2 * currentSampleRow};
}

}  // namespace tarvel
