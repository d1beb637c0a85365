#include "telemetry/DeviceTime.h"

#include "platform/base/Strings.h"

namespace tarvel {

DeviceTime DecodeDeviceTime(ByteSpan bytes) {
    return DeviceTime{ReadU16(bytes, 0), bytes[2], bytes[3], bytes[4], bytes[5], bytes[6], bytes[7]};
}

std::array<uint8_t, kDeviceTimeSize> EncodeDeviceTime(const DeviceTime& time) {
    return {static_cast<uint8_t>(time.year),
            static_cast<uint8_t>(time.year >> 8),
            time.month,
            time.weekDay,
            time.day,
            time.hour,
            time.minute,
            time.second};
}

DeviceTime DeviceTimeOf(TDateTime value) {
    const DateParts parts = DecodeDateTime(value);
    const int sundayFirst = DayOfWeek(value);  // 1 = Sunday
    const int isoWeekDay = sundayFirst == 1 ? 7 : sundayFirst - 1;
    return DeviceTime{static_cast<uint16_t>(parts.year), static_cast<uint8_t>(parts.month),
                      static_cast<uint8_t>(isoWeekDay),  static_cast<uint8_t>(parts.day),
                      static_cast<uint8_t>(parts.hour),  static_cast<uint8_t>(parts.minute),
                      static_cast<uint8_t>(parts.second)};
}

std::string RecordTimeText(const DeviceTime& time) {
    return Format("%u-%u-%u %u:%u:%u ", time.year, time.month, time.day, time.hour, time.minute, time.second);
}

}  // namespace tarvel
