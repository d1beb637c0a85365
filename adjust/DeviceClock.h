#pragma once
// The module's clock: set (0x20) from the seven clock edits, read (0xA9).

#include <array>
#include <optional>
#include <string>

#include "telemetry/DeviceTime.h"

namespace tarvel {

// The edits YearEdit, MonthEdit, DayEdit, HourEdit, MinEdit, SecEdit, WeekEdit.
using ClockEdits = std::array<std::string, 7>;

// Request 0x20: each edit a strict integer, the year a u16, the rest a byte.
RequestBuild BuildSetClock(uint8_t address, const ClockEdits& edits);
std::optional<DeviceTime> DecodeClockReply(ByteSpan frame);  // 0xA9, L = 13
ClockEdits ClockEditTexts(const DeviceTime& time);

}  // namespace tarvel
