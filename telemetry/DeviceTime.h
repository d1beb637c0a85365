#pragma once
// The module's 8-byte clock time: year (u16, low byte first), month,
// week-day, day, hour, minute, second. The tool writes the week-day as
// Monday 1 .. Sunday 7; records may carry 0 there and never show it.

#include <array>
#include <cstdint>
#include <string>

#include "link/DeviceFrame.h"
#include "platform/base/DateTime.h"

namespace tarvel {

struct DeviceTime {
    uint16_t year = 0;
    uint8_t month = 0, weekDay = 0, day = 0, hour = 0, minute = 0, second = 0;

    bool operator==(const DeviceTime&) const = default;
};

constexpr size_t kDeviceTimeSize = 8;

DeviceTime DecodeDeviceTime(ByteSpan bytes);  // `bytes` holds at least 8 bytes
std::array<uint8_t, kDeviceTimeSize> EncodeDeviceTime(const DeviceTime& time);
// The PC's local time with its ISO week-day.
DeviceTime DeviceTimeOf(TDateTime value);
// "Y-M-D h:m:s " without leading zeros, with the closing blank the record
// grids show.
std::string RecordTimeText(const DeviceTime& time);

}  // namespace tarvel
