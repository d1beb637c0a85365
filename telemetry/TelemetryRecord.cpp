#include "telemetry/TelemetryRecord.h"

#include "link/CommandTable.h"
#include "platform/base/DateTime.h"
#include "platform/base/Strings.h"

namespace tarvel {

TelemetryRecord DecodeTelemetryRecord(ByteSpan data) {
    TelemetryRecord r;
    r.PACK = ReadI32(data, 0);
    r.BATT = ReadI32(data, 4);
    for (size_t k = 0; k < r.V.size(); ++k) r.V[k] = ReadU16(data, 8 + 2 * k);
    r.I = ReadI32(data, 40);
    for (size_t k = 0; k < r.T.size(); ++k) r.T[k] = ReadI16(data, 44 + 2 * k);
    r.Others = ReadU32(data, 60);
    r.Alarm = ReadU32(data, 64);
    r.Protection = ReadU32(data, 68);
    r.Fail = ReadU32(data, 72);
    r.Balance = ReadU32(data, 76);
    r.BattState = ReadU16(data, 80);
    r.SOC = ReadU16(data, 82);
    r.SOCHealth = ReadU32(data, 84);
    r.DiscTimes = ReadU32(data, 88);
    r.TotalDiscSOC = ReadU32(data, 92);
    return r;
}

std::optional<TelemetryRecord> DecodeTelemetryReply(ByteSpan frame) {
    const auto data = ReplyData(frame, ReplyCode(CmdQuerySbs), {kTelemetryReplyLength});
    if (!data) return std::nullopt;
    return DecodeTelemetryRecord(*data);
}

std::optional<SerialTelemetry> DecodeSerialTelemetryReply(ByteSpan frame) {
    const auto data = ReplyData(frame, ReplyCode(CmdQuerySbsBySerial), {kSerialTelemetryReplyLength});
    if (!data) return std::nullopt;
    return SerialTelemetry{DecodeTelemetryRecord(*data),
                           TextUntilZero(data->subspan(kTelemetryRecordSize, 20))};
}

TelemetryTexts TelemetryValueTexts(const TelemetryRecord& r) {
    TelemetryTexts t;
    size_t i = 0;
    t[i++] = IntToStr(r.PACK);
    t[i++] = IntToStr(r.BATT);
    for (uint16_t v : r.V) t[i++] = UIntToStr(v);
    t[i++] = IntToStr(r.I);
    for (int16_t v : r.T) t[i++] = IntToStr(v);
    for (uint32_t v : {r.Others, r.Alarm, r.Protection, r.Fail, r.Balance}) t[i++] = UIntToStr(v);
    t[i++] = UIntToStr(r.BattState);
    t[i++] = UIntToStr(r.SOC);
    for (uint32_t v : {r.SOCHealth, r.DiscTimes, r.TotalDiscSOC}) t[i++] = UIntToStr(v);
    return t;
}

TelemetryCells MakeTelemetryCells(const TelemetryRecord& record, const std::string& recordTime) {
    const TelemetryTexts texts = TelemetryValueTexts(record);
    TelemetryCells cells;
    for (size_t row = 0; row < 19; ++row) cells.column1[row] = texts[row];
    for (size_t row = 0; row < 18; ++row) cells.column4[row] = texts[19 + row];
    cells.column4[18] = recordTime;
    return cells;
}

std::string TelemetryTimeText(double localDateTime) {
    return FormatDateTime("YYYY-MM-DD HH-MM-SS", localDateTime);
}

std::array<std::string, 4> LifeCells(const TelemetryRecord& r) {
    return {UIntToStr(r.SOC), IntToStr(static_cast<int32_t>(r.SOCHealth)),
            IntToStr(static_cast<int32_t>(r.DiscTimes)), IntToStr(static_cast<int32_t>(r.TotalDiscSOC))};
}

ModuleReading MakeModuleReading(const TelemetryRecord& r, const std::string& timeText) {
    ModuleReading reading;
    auto& e = reading.entries;
    size_t i = 0;
    e[i++] = r.PACK;
    e[i++] = r.BATT;
    for (uint16_t v : r.V) e[i++] = v;
    e[i++] = r.I;
    for (int16_t v : r.T) e[i++] = v;
    for (uint32_t v : {r.Others, r.Alarm, r.Protection, r.Fail, r.Balance}) e[i++] = static_cast<int32_t>(v);
    e[i++] = r.BattState;
    e[i++] = r.SOC;
    for (uint32_t v : {r.SOCHealth, r.DiscTimes, r.TotalDiscSOC}) e[i++] = static_cast<int32_t>(v);
    reading.timeText = timeText;
    return reading;
}

std::array<std::string, 40> MakeReadingRow(const TelemetryRecord& record, const std::string& timeText) {
    std::array<std::string, 40> row;
    const TelemetryTexts texts = TelemetryValueTexts(record);
    for (size_t i = 0; i < texts.size(); ++i) row[i] = texts[i];
    row[37] = timeText;
    return row;
}

std::string TileVoltageLabel(const TelemetryRecord& record) { return "V  " + IntToStr(record.BATT) + "mV"; }

std::string TileCurrentLabel(const TelemetryRecord& record) { return "I  " + IntToStr(record.I) + "mA"; }

}  // namespace tarvel
