#pragma once
// The raw converter counts of reply 0x84 and the day's ADC log file
// "ADC/<yyyy-mm-dd>ADC.csv" beside the executable.

#include <array>
#include <cstdint>
#include <fstream>
#include <optional>
#include <string>
#include <string_view>

#include "link/DeviceFrame.h"

namespace tarvel {

constexpr size_t kAdcCountCount = 27;  // pack, cells 1..16, charge, discharge, temps 1..8
using AdcReading = std::array<uint16_t, kAdcCountCount>;

std::optional<AdcReading> DecodeAdcReply(ByteSpan frame);  // L = 59

// Where each count is shown.
struct GridCell {
    std::string_view grid;
    int column, row;
};
const std::array<GridCell, kAdcCountCount>& AdcCells();
std::array<std::string, kAdcCountCount> AdcTexts(const AdcReading& reading);

std::string AdcLogPath(double startDateTime);  // AppPath("ADC/yyyy-mm-ddADC.csv")
std::string AdcLogHeader();                    // with its CR LF
// "hh:nn:ss," then the 27 texts each followed by ",", CR LF.
std::string AdcLogLine(double localDateTime, const std::array<std::string, kAdcCountCount>& texts);
// The period of the periodic reading: the edit's integer, 10 when it holds none.
int AdcPeriodSeconds(std::string_view editText);

// The log while the periodic reading runs: created with its header, or
// appended to when it exists; closing writes one empty line.
class AdcLog {
public:
    // Returns the info-line message when the file cannot be opened or created.
    std::optional<std::string> Open(const std::string& path);
    bool IsOpen() const { return out_.is_open(); }
    void Append(const std::string& line);
    void Close();

private:
    std::ofstream out_;
};

}  // namespace tarvel
