#include "adjust/DeviceClock.h"

#include "adjust/CellValues.h"
#include "link/CommandTable.h"
#include "platform/base/Strings.h"

namespace tarvel {

namespace {
const std::array<const char*, 7> kEditNames = {"YearEdit", "MonthEdit", "DayEdit", "HourEdit",
                                               "MinEdit",  "SecEdit",   "WeekEdit"};
}

RequestBuild BuildSetClock(uint8_t address, const ClockEdits& edits) {
    std::array<int64_t, 7> v{};
    for (size_t i = 0; i < edits.size(); ++i) {
        const CellNumber n = ReadStrictCell(edits[i], i == 0 ? FieldType::U16 : FieldType::U8, kEditNames[i]);
        if (!n.Ok()) return {{}, n.refusal};
        v[i] = n.value;
    }
    const DeviceTime time{static_cast<uint16_t>(v[0]), static_cast<uint8_t>(v[1]), static_cast<uint8_t>(v[6]),
                          static_cast<uint8_t>(v[2]),  static_cast<uint8_t>(v[3]), static_cast<uint8_t>(v[4]),
                          static_cast<uint8_t>(v[5])};
    const auto bytes = EncodeDeviceTime(time);
    return {BuildFrame(address, CmdSetSysDate, bytes), {}};
}

std::optional<DeviceTime> DecodeClockReply(ByteSpan frame) {
    const auto data = ReplyData(frame, ReplyCode(CmdGetSysDate), {13});
    if (!data) return std::nullopt;
    return DecodeDeviceTime(*data);
}

ClockEdits ClockEditTexts(const DeviceTime& t) {
    return {UIntToStr(t.year),   UIntToStr(t.month),  UIntToStr(t.day),    UIntToStr(t.hour),
            UIntToStr(t.minute), UIntToStr(t.second), UIntToStr(t.weekDay)};
}

}  // namespace tarvel
