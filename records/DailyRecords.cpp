#include "records/DailyRecords.h"

#include <array>

#include "link/CommandTable.h"
#include "platform/base/DateTime.h"
#include "platform/base/Paths.h"
#include "platform/base/Strings.h"

namespace tarvel {

DailyRecord DecodeDailyRecord(ByteSpan b) {
    DailyRecord r;
    r.Year = 2016 + (b[0] & 0x0F);
    r.Month = b[0] >> 4;
    r.Day = b[1] & 0x1F;
    r.ChargeCode = b[1] >> 5;
    r.CellMaxTemp = b[2];
    r.AmbientMaxTemp = b[3];
    r.DischargeAh = ReadI16(b, 4);
    return r;
}

int ChargePercent(int chargeCode) {
    static const std::array<int, 8> kSteps = {0, 5, 15, 30, 45, 60, 75, 90};
    return kSteps[static_cast<size_t>(chargeCode & 7)];
}

std::optional<DailyBatch> DecodeDailyReply(ByteSpan frame) {
    const auto data = ReplyData(frame, ReplyCode(CmdGetDailyRecords), {251});
    if (!data) return std::nullopt;
    DailyBatch batch;
    batch.header = DecodeRecordBatchHeader(*data);
    for (const PlacedRecord& p : PlaceRecords(batch.header, kDailySlots)) {
        batch.records.emplace_back(p.row,
                                   DecodeDailyRecord(data->subspan(6 + 6 * static_cast<size_t>(p.slot), 6)));
    }
    return batch;
}

RecordRow MakeDailyRow(int row, const DailyRecord& r) {
    return {IntToStr(row),
            Format("%d-%d-%d", r.Year, r.Month, r.Day),
            UIntToStr(r.CellMaxTemp),
            UIntToStr(r.AmbientMaxTemp),
            IntToStr(r.DischargeAh),
            IntToStr(ChargePercent(r.ChargeCode))};
}

bool ApplyDailyBatch(RecordRows& rows, const DailyBatch& batch) {
    rows.SetTotal(batch.header.TotalRecords);
    for (const auto& [row, record] : batch.records) rows.Put(row, MakeDailyRow(row, record));
    return batch.header.CompletesDownload();
}

std::string DailyCsvText(const std::vector<RecordRow>& rows) {
    std::string text =
        "  Serial Num,   Date,  Cell Max.TEMP,  Ambin Max.TEMP,Daily DisChg Cap(AH),Daily Chg Cap(%),\r\n";
    return text + CsvRows(rows, true);
}

std::string DailyCsvName(double localDateTime) {
    return FormatDateTime("YYYY-MM-DD HH-MM-SS", localDateTime) + "_RunRecords.csv";
}

std::optional<std::string> SaveDailyCsv(const std::string& path, const std::vector<RecordRow>& rows) {
    if (!SaveFileText(path, DailyCsvText(rows))) return "Error creating history warning record file!";
    return std::nullopt;
}

}  // namespace tarvel
