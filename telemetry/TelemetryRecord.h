#pragma once
// The 96-byte telemetry record of reply 0x83 (and, with 20 serial-number
// characters after it, of reply 0x92), and the texts it shows as.

#include <array>
#include <cstdint>
#include <optional>
#include <string>

#include "link/DeviceFrame.h"

namespace tarvel {

constexpr size_t kTelemetryRecordSize = 96;
constexpr uint16_t kTelemetryReplyLength = 101;
constexpr uint16_t kSerialTelemetryReplyLength = 121;

struct TelemetryRecord {
    int32_t PACK = 0, BATT = 0;
    std::array<uint16_t, 16> V{};
    int32_t I = 0;
    std::array<int16_t, 8> T{};
    uint32_t Others = 0, Alarm = 0, Protection = 0, Fail = 0, Balance = 0;
    uint16_t BattState = 0, SOC = 0;
    uint32_t SOCHealth = 0, DiscTimes = 0, TotalDiscSOC = 0;
};

TelemetryRecord DecodeTelemetryRecord(ByteSpan data);                 // `data` holds at least 96 bytes
std::optional<TelemetryRecord> DecodeTelemetryReply(ByteSpan frame);  // 0x83, L = 101

struct SerialTelemetry {
    TelemetryRecord record;
    std::string serialNumber;
};
std::optional<SerialTelemetry> DecodeSerialTelemetryReply(ByteSpan frame);  // 0x92, L = 121

// The 37 value texts in grid order: SG_TSBS column 1 rows 0..18 (PACK, BATT,
// V1..V16, I), then column 4 rows 0..17 (T1..T8, Others .. TotalDiscSOC).
// They are also the values of a stored reading.
constexpr size_t kTelemetryValueCount = 37;
using TelemetryTexts = std::array<std::string, kTelemetryValueCount>;
TelemetryTexts TelemetryValueTexts(const TelemetryRecord& record);

// The value cells of SG_TSBS: column 1 rows 0..18, column 4 rows 0..18 (row
// 18 the record time text).
struct TelemetryCells {
    std::array<std::string, 19> column1;
    std::array<std::string, 19> column4;
};
TelemetryCells MakeTelemetryCells(const TelemetryRecord& record, const std::string& recordTime);
// SG_TSBS's time cell format: "YYYY-MM-DD HH-MM-SS".
std::string TelemetryTimeText(double localDateTime);

// SG_Life column 1 rows 0..3: SOC, then the three counters as signed 32-bit.
std::array<std::string, 4> LifeCells(const TelemetryRecord& record);

// The last reading of one parallel module: 40 signed 32-bit entries (37
// used) and the time it was stored.
struct ModuleReading {
    std::array<int32_t, 40> entries{};
    std::string timeText;
};
ModuleReading MakeModuleReading(const TelemetryRecord& record, const std::string& timeText);
// The 40 texts of a reading being stored: the 37 values, the time, two unused.
std::array<std::string, 40> MakeReadingRow(const TelemetryRecord& record, const std::string& timeText);
std::string TileVoltageLabel(const TelemetryRecord& record);  // "V  <BATT>mV"
std::string TileCurrentLabel(const TelemetryRecord& record);  // "I  <I>mA"

}  // namespace tarvel
