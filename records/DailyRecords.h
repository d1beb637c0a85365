#pragma once
// Daily records: reply 0xAE (Length 251) with up to 40 records of 6 bytes
// after the batch header, the rows of RunState and the "Save As" CSV file.

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "records/RecordBatch.h"

namespace tarvel {

struct DailyRecord {
    int Year = 2016;  // 2016 + the 4-bit offset
    int Month = 0, Day = 0;
    int ChargeCode = 0;
    uint8_t CellMaxTemp = 0, AmbientMaxTemp = 0;
    int16_t DischargeAh = 0;
};
DailyRecord DecodeDailyRecord(ByteSpan bytes);  // 6 bytes
int ChargePercent(int chargeCode);              // 0, 5, 15, 30, 45, 60, 75, 90

constexpr int kDailySlots = 40;
constexpr size_t kDailyColumns = 6;

struct DailyBatch {
    RecordBatchHeader header;
    std::vector<std::pair<int, DailyRecord>> records;  // (row, record) of the records placed
};
std::optional<DailyBatch> DecodeDailyReply(ByteSpan frame);

// r, "Y-M-D", cell max, ambient max, discharge Ah (signed), charge percent.
RecordRow MakeDailyRow(int row, const DailyRecord& record);
// Row count T, the placed records written; true when the reply completes
// the download (a total of 0 completes at once).
bool ApplyDailyBatch(RecordRows& rows, const DailyBatch& batch);

std::string DailyCsvText(const std::vector<RecordRow>& rows);
std::string DailyCsvName(double localDateTime);  // "YYYY-MM-DD HH-MM-SS_RunRecords.csv"
// Replaces an existing file; "Error creating history warning record file!"
// when it cannot be written.
std::optional<std::string> SaveDailyCsv(const std::string& path, const std::vector<RecordRow>& rows);

}  // namespace tarvel
