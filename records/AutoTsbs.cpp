#include "records/AutoTsbs.h"

#include <algorithm>

#include "link/CommandTable.h"
#include "platform/base/DateTime.h"
#include "platform/base/Paths.h"
#include "platform/base/Strings.h"
#include "records/HisAlarm.h"

namespace tarvel {

RequestBuild BuildAutoTsbsSchedule(uint8_t address, DeviceTime start, DeviceTime end,
                                   std::string_view periodText) {
    int64_t period = 0;
    if (!TryStrToInt64(periodText, period))
        return {{}, "'" + std::string(periodText) + "' is not a valid integer value"};
    if (std::string refusal = FieldRangeRefusal(FieldType::U16, period, "everysettime"); !refusal.empty()) {
        return {{}, refusal};
    }
    start.weekDay = 0;
    end.weekDay = 0;
    FrameBytes data;
    for (const DeviceTime& t : {start, end}) {
        const auto bytes = EncodeDeviceTime(t);
        data.insert(data.end(), bytes.begin(), bytes.end());
    }
    AppendLe(data, static_cast<uint64_t>(period), 2);
    return {BuildFrame(address, CmdBeginGetSbs, data), {}};
}

int64_t SuggestedMinPeriod(int64_t minutes) { return std::max<int64_t>(1, minutes / 300); }

std::optional<uint8_t> DecodeStoringState(ByteSpan frame) {
    const auto data = ReplyData(frame, ReplyCode(CmdCheckFunction), {6});
    if (!data) return std::nullopt;
    return (*data)[0];
}

namespace {

AutoTsbsRecord DecodeRecord(ByteSpan r) {
    AutoTsbsRecord rec;
    rec.Time = DecodeDeviceTime(r);
    rec.Mode = ReadU32(r, 8);
    rec.Current = ReadI32(r, 12);
    rec.TotalVoltage = ReadU32(r, 16);
    rec.Capacity = ReadU32(r, 20);
    rec.ProtectMask = ReadU32(r, 24);
    rec.FaultMask = ReadU32(r, 28);
    rec.AmbientTemp = ReadI16(r, 32);
    for (size_t i = 0; i < 4; ++i) rec.BattTemps[i] = ReadI16(r, 34 + 2 * i);
    for (size_t i = 0; i < 16; ++i) rec.CellVoltages[i] = ReadU16(r, 44 + 2 * i);
    return rec;
}

}  // namespace

std::optional<AutoTsbsBatch> DecodeAutoTsbsReply(ByteSpan frame) {
    const auto data = ReplyData(frame, ReplyCode(CmdGetAutoTsbsData), {393});
    if (!data) return std::nullopt;
    AutoTsbsBatch batch;
    batch.header = DecodeRecordBatchHeader(*data);
    for (const PlacedRecord& p : PlaceRecords(batch.header, kAutoTsbsSlots)) {
        batch.records.emplace_back(p.row,
                                   DecodeRecord(data->subspan(8 + 76 * static_cast<size_t>(p.slot), 76)));
    }
    return batch;
}

RecordRow MakeAutoTsbsRow(int row, const AutoTsbsRecord& r) {
    RecordRow cells{
        IntToStr(row),
        RecordTimeText(r.Time),
        StatusName(r.Mode),
        IntToStr(r.Current),
        UIntToStr(r.TotalVoltage),
        UIntToStr(r.Capacity),
        BitNamesText(r.ProtectMask, ProtectNamesA(), true) + BitNamesText(r.FaultMask, FaultNamesB(), true)};
    AppendTemperaturesAndCells(cells, r.AmbientTemp, r.BattTemps, r.CellVoltages);
    return cells;
}

bool ApplyAutoTsbsBatch(RecordRows& rows, const AutoTsbsBatch& batch) {
    rows.SetTotal(batch.header.TotalRecords);
    for (const auto& [row, record] : batch.records) rows.Put(row, MakeAutoTsbsRow(row, record));
    return batch.header.CompletesDownload();
}

std::string AutoTsbsCsvText(const std::vector<RecordRow>& rows) {
    static const std::array<const char*, kAutoTsbsColumns> kTitles = {
        "  序号",   "  记录时间  ", "  模式",    "电流",      "总电压",    "容量",     "告警类型",
        "环境温度", "电池温度1",    "电池温度2", "电池温度3", "电池温度4", "电  压1",  "电  压2",
        "电  压3",  "电  压4",      "电  压5",   "电  压6",   "电压7",     "电  压8",  "电压9",
        "电  压10", "电  压11",     "电  压12",  "电  压13",  "电  压14",  "电  压15", "电  压16"};
    std::string text;
    for (const char* title : kTitles) text += std::string(title) + ",";
    text += "\r\n";
    return text + CsvRows(rows, true);
}

std::string AutoTsbsCsvName(double localDateTime) {
    return FormatDateTime("YYYY-MM-DD HH-MM-SS", localDateTime) + "_自动保存TSBS记录.csv";
}

std::optional<std::string> SaveAutoTsbsCsv(const std::string& path, const std::vector<RecordRow>& rows) {
    if (!SaveFileText(path, AutoTsbsCsvText(rows))) return "打开自动保存TSBS记录文件出错!";
    return std::nullopt;
}

}  // namespace tarvel
