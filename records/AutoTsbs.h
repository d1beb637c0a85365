#pragma once
// The module's own telemetry log: the storing schedule (0x2C), the storing
// state (0xAA), the records of reply 0xA1 (five of 76 bytes after the batch
// header), their grid rows and the CSV file.

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "records/RecordBatch.h"
#include "telemetry/DeviceTime.h"

namespace tarvel {

// Request 0x2C: start and end (week-day 0), then the period edit as a
// strict integer that must fit 16 bits.
RequestBuild BuildAutoTsbsSchedule(uint8_t address, DeviceTime start, DeviceTime end,
                                   std::string_view periodText);
// The suggested shortest period for a window of `minutes`: minutes / 300, at least 1.
int64_t SuggestedMinPeriod(int64_t minutes);
// Reply 0xAA (L = 6): 1 while the module is storing.
std::optional<uint8_t> DecodeStoringState(ByteSpan frame);

struct AutoTsbsRecord {
    DeviceTime Time;
    uint32_t Mode = 0;
    int32_t Current = 0;
    uint32_t TotalVoltage = 0, Capacity = 0;
    uint32_t ProtectMask = 0, FaultMask = 0;
    int16_t AmbientTemp = 0;
    std::array<int16_t, 4> BattTemps{};
    std::array<uint16_t, 16> CellVoltages{};
};

constexpr int kAutoTsbsSlots = 5;
constexpr size_t kAutoTsbsColumns = 28;

struct AutoTsbsBatch {
    RecordBatchHeader header;
    std::vector<std::pair<int, AutoTsbsRecord>> records;
};
std::optional<AutoTsbsBatch> DecodeAutoTsbsReply(ByteSpan frame);  // L = 393
RecordRow MakeAutoTsbsRow(int row, const AutoTsbsRecord& record);
bool ApplyAutoTsbsBatch(RecordRows& rows, const AutoTsbsBatch& batch);

std::string AutoTsbsCsvText(const std::vector<RecordRow>& rows);
std::string AutoTsbsCsvName(double localDateTime);  // "..._自动保存TSBS记录.csv"
std::optional<std::string> SaveAutoTsbsCsv(const std::string& path, const std::vector<RecordRow>& rows);

}  // namespace tarvel
