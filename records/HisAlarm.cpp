#include "records/HisAlarm.h"

#include "link/CommandTable.h"
#include "platform/base/DateTime.h"
#include "platform/base/Paths.h"
#include "platform/base/Strings.h"

namespace tarvel {

namespace {

const std::vector<BitName> kProtectNamesA = {
    {"PROTECT_PACK_OV", "Pack过压保护   "},
    {"PROTECT_BATT_OV", "Batt过压保护  "},
    {"PROTECT_CELL_OV", "Cell过压保护  "},
    {"PROTECT_PACK_UV", "Pack欠压保护  "},
    {"PROTECT_BATT_UV", "Batt欠压保护  "},
    {"PROTECT_CELL_UV", "Cell欠压保护  "},
    {"PROTECT_CHG_OC", "充电过流保护  "},
    {"PROTECT_DIS_OC", "放电过流保护  "},
    {"PROTECT_CHG_OT", "充电高温保护  "},
    {"PROTECT_DIS_OT", "放电高温保护  "},
    {"PROTECT_CHG_UT", "充电低温保护  "},
    {"PROTECT_DIS_UT", "放电低温保护  "},
    {"PROTECT_SOC_L ", "容量过低保护  "},
    {"ALARM_CHG_SHORT", "充电短路保护  "},
    {"PROTECT_SHORT", "短路保护  "},
    {"PROTECT_REV", "反接保护  "},
    {"PROTECT_CHG_UTOC", "低温充电过流保护  "},
    {"PROTECT_CHG_UTOC1", "低温充电过流保护  "},
    {"PROTECT_CHG_UTOV  ", "低温充电过压保护  "},
    {"PROTECT_CHG_SHORT  ", "充电短路保护"},
    {"PROTECT_PSP        ", "并联短路保护"},
};

const std::vector<BitName> kProtectNamesB(kProtectNamesA.begin(), kProtectNamesA.begin() + 19);

const std::vector<BitName> kFaultNamesB = {
    {"FAULT_V_SENSOR", "电压传感器故障  "},    {"FAULT_T_SENSOR", "温度传感器故障  "},
    {"FAULT_CHG", "充电回路故障  "},           {"FAULT_DIS", "放电回路故障  "},
    {"FAULT_CELL_BAD", "电芯损坏  "},          {"FAULT_HEATER", "加热器故障  "},
    {"FAULT_END_LIFE", "寿命终止  "},          {"FAULT_SW_OFF", "面板开关关闭  "},
    {"FAULT_CHG_LIMIT", "限流充电回路故障  "}, {"FAULT_REV", "反接失效  "},
    {"FAULT_536_COMM   ", "IC采样通信失败"},   {"FAULT_BQ_SLEEP   ", "IC休眠失败"},
    {"FAULT_SWITCH_OFF   ", "面板开关关闭"},
};

constexpr uint16_t kFullLength = 433;
constexpr uint16_t kShortLength = 413;
constexpr size_t kSlotsOffset = 8;

HisAlarmRecord DecodeRecord(ByteSpan r, HistoryLayout layout) {
    HisAlarmRecord rec;
    rec.StartTime = DecodeDeviceTime(r.subspan(0));
    rec.EndTime = DecodeDeviceTime(r.subspan(8));
    rec.Mode = ReadU32(r, 16);
    rec.Current = ReadI32(r, 20);
    rec.Voltage = ReadI32(r, 24);
    rec.Capacity = ReadI32(r, 28);
    rec.ProtectMask = ReadU32(r, 32);
    size_t temps = 36;
    if (layout == HistoryLayout::Full) {
        rec.FaultMask = ReadU32(r, 36);
        temps = 40;
    }
    rec.AmbientTemp = ReadI16(r, temps);
    for (size_t i = 0; i < 4; ++i) rec.BattTemps[i] = ReadI16(r, temps + 2 + 2 * i);
    const size_t cells = temps + 12;  // two unused bytes after the temperatures
    for (size_t i = 0; i < 16; ++i) rec.CellVoltages[i] = ReadU16(r, cells + 2 * i);
    return rec;
}

}  // namespace

const std::vector<BitName>& ProtectNamesA() { return kProtectNamesA; }
const std::vector<BitName>& ProtectNamesB() { return kProtectNamesB; }
const std::vector<BitName>& FaultNamesB() { return kFaultNamesB; }

std::string BitNamesText(uint32_t mask, const std::vector<BitName>& names, bool chinese) {
    std::string text;
    for (size_t bit = 0; bit < names.size() && bit < 32; ++bit) {
        if (mask >> bit & 1u) text += chinese ? names[bit].chinese : names[bit].english;
    }
    return text;
}

std::string StatusName(uint32_t mode) {
    switch (mode) {
        case 0: return "STATUS_IDLE";
        case 1: return "STATUS_CHG";
        case 2: return "STATUS_DIS";
        case 4: return "STATUS_FULL";
        default: return UIntToStr(mode);
    }
}

std::string ThousandthsText(int32_t value) { return FloatToStr(value * 0.001); }

void AppendTemperaturesAndCells(RecordRow& cells, int16_t ambient, const std::array<int16_t, 4>& battTemps,
                                const std::array<uint16_t, 16>& cellVoltages) {
    cells.push_back(IntToStr(ambient));
    for (int16_t t : battTemps) cells.push_back(IntToStr(t));
    for (uint16_t v : cellVoltages) cells.push_back(UIntToStr(v));
}

std::optional<HisAlarmBatch> DecodeHisAlarmReply(ByteSpan frame) {
    auto data = ReplyData(frame, ReplyCode(CmdGetHisAlarm), {kFullLength, kShortLength});
    if (!data) data = ReplyData(frame, ReplyCode(CmdGetAnyHisAlarm), {kFullLength, kShortLength});
    if (!data) return std::nullopt;
    HisAlarmBatch batch;
    batch.layout = FrameLengthField(frame.data()) == kFullLength ? HistoryLayout::Full : HistoryLayout::Short;
    const size_t size = batch.layout == HistoryLayout::Full ? 84 : 80;
    batch.header = DecodeRecordBatchHeader(*data);
    for (const PlacedRecord& p : PlaceRecords(batch.header, kHisAlarmSlots)) {
        batch.records.emplace_back(
            p.row, DecodeRecord(data->subspan(kSlotsOffset + size * static_cast<size_t>(p.slot), size),
                                batch.layout));
    }
    return batch;
}

std::string HisAlarmAlarmText(const HisAlarmRecord& r, HistoryLayout layout) {
    if (layout == HistoryLayout::Short) return BitNamesText(r.ProtectMask, kProtectNamesB, false);
    if (r.ProtectMask == 0 && r.FaultMask == 0) return "ShutDown ";
    if (r.ProtectMask == 15 && r.FaultMask == 15) return "PowerON ";
    return BitNamesText(r.ProtectMask, kProtectNamesA, false) + " " +
           BitNamesText(r.FaultMask, kFaultNamesB, false);
}

RecordRow MakeHisAlarmRow(int row, const HisAlarmRecord& r, HistoryLayout layout) {
    RecordRow cells{IntToStr(row),
                    RecordTimeText(r.StartTime),
                    RecordTimeText(r.EndTime),
                    StatusName(r.Mode),
                    ThousandthsText(r.Current),
                    ThousandthsText(r.Voltage),
                    ThousandthsText(r.Capacity),
                    HisAlarmAlarmText(r, layout)};
    AppendTemperaturesAndCells(cells, r.AmbientTemp, r.BattTemps, r.CellVoltages);
    return cells;
}

bool ApplyHisAlarmBatch(RecordRows& rows, const HisAlarmBatch& batch) {
    rows.SetTotal(batch.header.TotalRecords);
    for (const auto& [row, record] : batch.records) rows.Put(row, MakeHisAlarmRow(row, record, batch.layout));
    return batch.header.CompletesDownload();
}

std::string HisAlarmCsvText(const std::vector<RecordRow>& rows) {
    std::string text = "  Num,  Start Time,  End Time,  MOode,Current,Voltage,Capacity,Alarm,Ambient Temp,";
    for (int i = 1; i <= 4; ++i) text += "Batt Temp." + IntToStr(i) + ",";
    for (int i = 1; i <= 16; ++i) text += "Vol." + IntToStr(i) + ",";
    return text + "\r\n" + CsvRows(rows, false);
}

std::string HisAlarmCsvName(double localDateTime) {
    return FormatDateTime("YYYY-MM-DD HH-MM-SS", localDateTime) + "_All Alarm Records.csv";
}

std::optional<std::string> SaveHisAlarmCsv(const std::string& path, const std::vector<RecordRow>& rows) {
    if (!SaveFileText(path, HisAlarmCsvText(rows))) return "Creat Alarm Records File Fail！";
    return std::nullopt;
}

const char* const kRecentRecordsRangeMessage =
    "Read part of the records the number range of 0 ~ 256, please reset!";

RequestBuild BuildRecentRecordsRequest(uint8_t address, std::string_view countText) {
    int64_t count = 0;
    if (!TryStrToInt64(countText, count)) {
        return {{}, "'" + std::string(countText) + "' is not a valid integer value"};
    }
    // The count travels in one byte: 256 would go out as 0.
    if (count < 0 || count > 255) return {{}, kRecentRecordsRangeMessage};
    const uint8_t n = static_cast<uint8_t>(count);
    return {BuildFrame(address, CmdGetAnyHisAlarm, ByteSpan(&n, 1)), {}};
}

}  // namespace tarvel
