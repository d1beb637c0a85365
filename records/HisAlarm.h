#pragma once
// History alarms: replies 0x99 (to 0x19) and 0xAD (to 0x2D) with five
// records of 84 bytes (Length 433) or 80 bytes (Length 413), their bit-name
// tables and alarm text, the rows of SG_HisAlarm and the CSV file.

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "records/RecordBatch.h"
#include "telemetry/DeviceTime.h"

namespace tarvel {

struct BitName {
    std::string_view english;
    std::string_view chinese;
};
const std::vector<BitName>& ProtectNamesA();  // bits 0..20
const std::vector<BitName>& ProtectNamesB();  // bits 0..18
const std::vector<BitName>& FaultNamesB();    // bits 0..12
// The names of the set bits that have a row, lowest bit first, joined
// without a separator (their trailing blanks are the only gap).
std::string BitNamesText(uint32_t mask, const std::vector<BitName>& names, bool chinese);
// "STATUS_IDLE", "STATUS_CHG", "STATUS_DIS", "STATUS_FULL" for 0, 1, 2, 4;
// other modes show their number.
std::string StatusName(uint32_t mode);
// A value in thousandths as the shortest decimal, always with '.'.
std::string ThousandthsText(int32_t value);

// The closing cells both record grids share: ambient temperature, the four
// battery temperatures and the 16 cell voltages.
void AppendTemperaturesAndCells(RecordRow& cells, int16_t ambient, const std::array<int16_t, 4>& battTemps,
                                const std::array<uint16_t, 16>& cellVoltages);

enum class HistoryLayout { Short = 0, Full = 1 };

struct HisAlarmRecord {
    DeviceTime StartTime, EndTime;
    uint32_t Mode = 0;
    int32_t Current = 0, Voltage = 0, Capacity = 0;
    uint32_t ProtectMask = 0, FaultMask = 0;  // no fault mask in the short layout
    int16_t AmbientTemp = 0;
    std::array<int16_t, 4> BattTemps{};
    std::array<uint16_t, 16> CellVoltages{};
};

constexpr int kHisAlarmSlots = 5;
constexpr size_t kHisAlarmColumns = 29;

struct HisAlarmBatch {
    HistoryLayout layout = HistoryLayout::Full;
    RecordBatchHeader header;
    std::vector<std::pair<int, HisAlarmRecord>> records;  // (row, record) of the records placed
};
std::optional<HisAlarmBatch> DecodeHisAlarmReply(ByteSpan frame);

std::string HisAlarmAlarmText(const HisAlarmRecord& record, HistoryLayout layout);
RecordRow MakeHisAlarmRow(int row, const HisAlarmRecord& record, HistoryLayout layout);

// The whole reply applied to the grid's rows: row count T, the placed
// records written. True when this reply completes the download.
bool ApplyHisAlarmBatch(RecordRows& rows, const HisAlarmBatch& batch);

// "Save all Records": the English title line, then each row's 29 texts
// joined by "," without a closing comma.
std::string HisAlarmCsvText(const std::vector<RecordRow>& rows);
std::string HisAlarmCsvName(double localDateTime);  // "YYYY-MM-DD HH-MM-SS_All Alarm Records.csv"
// Replaces an existing file (the user confirmed it); the failure message
// "Creat Alarm Records File Fail！" otherwise.
std::optional<std::string> SaveHisAlarmCsv(const std::string& path, const std::vector<RecordRow>& rows);

// Request 0x2D for the most recent N records, N a strict integer 0..255.
extern const char* const kRecentRecordsRangeMessage;
RequestBuild BuildRecentRecordsRequest(uint8_t address, std::string_view countText);

}  // namespace tarvel
