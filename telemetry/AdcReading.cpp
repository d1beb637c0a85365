#include "telemetry/AdcReading.h"

#include "link/CommandTable.h"
#include "platform/base/DateTime.h"
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
    std::string line = TimeToStr(localDateTime) + ",";
    for (const std::string& text : texts) line += text + ",";
    return line + "\r\n";
}

int AdcPeriodSeconds(std::string_view editText) { return StrToIntDef(editText, 10); }

std::optional<std::string> OpenAdcLogFile(std::ofstream& out, const std::string& path) {
    if (out.is_open()) out.close();
    const bool exists = FileExists(path);
    out.open(path, std::ios::binary | (exists ? std::ios::app : std::ios::trunc));
    if (out && !exists) out << AdcLogHeader() << std::flush;
    if (out) return std::nullopt;
    out.close();
    return exists ? "打开数据记录文件出错！" : "创建ADC记录文件出错！";
}

std::optional<std::string> AppendAdcLogLine(std::ofstream& out, const std::string& line) {
    if (!out.is_open()) return std::nullopt;
    out << line << std::flush;
    if (out) return std::nullopt;
    out.close();
    return "写入ADC记录文件出错！";
}

void CloseAdcLogFile(std::ofstream& out) {
    if (!out.is_open()) return;
    out << "\r\n";
    out.close();
}

}  // namespace tarvel
