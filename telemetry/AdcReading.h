#pragma once
// The raw converter counts of reply 0x84 and the day's ADC log file
// "ADC/<yyyy-mm-dd>ADC.csv" beside the executable.

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "link/DeviceFrame.h"
#include "platform/base/Paths.h"

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

// The log while the periodic reading runs, kept in the window's stream:
// created with its header, or appended to when it exists. Opening and
// appending return the info-line message when the file cannot be opened,
// created or written, and leave the stream closed then.
std::optional<std::string> OpenAdcLogFile(AppendFile& out, const std::string& path);
std::optional<std::string> AppendAdcLogLine(AppendFile& out, const std::string& line);
// Ends the run with one empty line and closes the stream.
void CloseAdcLogFile(AppendFile& out);

}  // namespace tarvel
