#pragma once
// Rated capacity (0x33 / 0xB3, 0x32), capacity life (0x13) and run history
// (0x8E, 0x0F) of a module.

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "link/DeviceFrame.h"

namespace tarvel {

// Reply 0xB3 (L = 9): the capacity in mAh, shown in Ah truncated toward 0.
std::optional<std::string> DecodeCapacityReply(ByteSpan frame);
// Request 0x32 from the text of Capdis: a strict integer of 40..300 Ah.
RequestBuild BuildSetCapacity(uint8_t address, std::string_view capdisText);
extern const char* const kCapacityRangeMessage;  // "容量修改范围为40AH--300AH，请重新设置!"

// Request 0x13 from SG_Life column 1 rows 0..3: SOC (i16, then two zero
// bytes), SOC health, discharge count, total discharge (i32 each).
RequestBuild BuildSetLife(uint8_t address, const std::array<std::string, 4>& lifeCells);

struct RunHistory {
    int32_t totalMinutes = 0, sinceStartMinutes = 0, runCount = 0, exitReason = 0;
};
std::optional<RunHistory> DecodeRunHistoryReply(ByteSpan frame);  // 0x8E, L = 21
// Request 0x0F from SG_History column 1 rows 0..3, four i32.
RequestBuild BuildSetHistory(uint8_t address, const std::array<std::string, 4>& historyCells);
std::string ExitReasonName(int32_t code);
// SG_History column 1 rows 0..3 and the exit name of column 2 row 3.
struct RunHistoryCells {
    std::array<std::string, 4> values;
    std::string exitName;
};
RunHistoryCells MakeRunHistoryCells(const RunHistory& history);

}  // namespace tarvel
