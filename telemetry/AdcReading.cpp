#include "telemetry/AdcReading.h"

#include "link/CommandTable.h"
#include "platform/base/Csv.h"
#include "platform/base/DateTime.h"
#include "platform/base/Exceptions.h"
#include "platform/base/Paths.h"
#include "platform/base/Strings.h"

namespace tarvel {

namespace {

std::array<GridCell, kAdcCountCount> MakeAdcCells() {
    std::array<GridCell, kAdcCountCount> cells{};
    size_t i = 0;
    cells[i++] = {"SG_VADC", 1, 1};
    for (int c = 2; c <= 9; ++c) cells[i++] = {"SG_VADC", c, 1};
    for (int c = 2; c <= 9; ++c) cells[i++] = {"SG_VADC", c, 3};
    cells[i++] = {"SG_CADC", 1, 1};
    cells[i++] = {"SG_CADC", 2, 1};
    for (int c = 1; c <= 8; ++c) cells[i++] = {"SG_TADC", c, 1};
    return cells;
}

const std::array<GridCell, kAdcCountCount> kAdcCells = MakeAdcCells();

}  // namespace

std::optional<AdcReading> DecodeAdcReply(ByteSpan frame) {
    const auto data = ReplyData(frame, ReplyCode(CmdReadAdc), {59});
    if (!data) return std::nullopt;
    AdcReading reading{};
    for (size_t i = 0; i < reading.size(); ++i) reading[i] = ReadU16(*data, 2 * i);
    return reading;
}

const std::array<GridCell, kAdcCountCount>& AdcCells() { return kAdcCells; }

std::array<std::string, kAdcCountCount> AdcTexts(const AdcReading& reading) {
    std::array<std::string, kAdcCountCount> texts;
    for (size_t i = 0; i < reading.size(); ++i) texts[i] = UIntToStr(reading[i]);
    return texts;
}

std::string AdcLogPath(double startDateTime) {
    return AppPath("ADC/" + DateToStr(startDateTime) + "ADC.csv");
}

std::string AdcLogHeader() {
    std::string line = "RecordTime,PackVADC,";
    for (int i = 1; i <= 16; ++i) line += "CellVADC" + IntToStr(i) + ",";
    line += "ChgCADC,DisCADC,";
    for (int i = 1; i <= 8; ++i) line += "TempADC" + IntToStr(i) + ",";
    return line + "\r\n";
}

std::string AdcLogLine(double localDateTime, const std::array<std::string, kAdcCountCount>& texts) {
    std::string line;
    AppendCsvField(line, TimeToStr(localDateTime));
    for (const std::string& text : texts) AppendCsvField(line, text);
    return line + "\r\n";
}

int AdcPeriodSeconds(std::string_view editText) { return StrToIntDef(editText, 10); }

std::optional<std::string> OpenAdcLogFile(AppendFile& out, const std::string& path) {
    out.Close();
    const bool exists = FileExists(path);
    try {
        out.Open(path);
        if (!exists) out.Append({}, AdcLogHeader());
        return std::nullopt;
    } catch (const Exception&) {
        out.Close();
        return exists ? "打开数据记录文件出错！" : "创建ADC记录文件出错！";
    }
}

std::optional<std::string> AppendAdcLogLine(AppendFile& out, const std::string& line) {
    if (!out.IsOpen()) return std::nullopt;
    try {
        out.Append(line);
        return std::nullopt;
    } catch (const Exception&) {
        out.Close();
        return "写入ADC记录文件出错！";
    }
}

void CloseAdcLogFile(AppendFile& out) {
    if (!out.IsOpen()) return;
    try {
        out.Append("\r\n");
    } catch (const Exception&) {
        // The run's lines are in; only its closing empty line is missing.
    }
    out.Close();
}

}  // namespace tarvel
