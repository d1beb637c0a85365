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

std::optional<std::string> AdcLog::Open(const std::string& path) {
    if (out_.is_open()) out_.close();
    if (FileExists(path)) {
        out_.open(path, std::ios::binary | std::ios::app);
        if (!out_) {
            out_.close();
            return "打开数据记录文件出错！";
        }
        return std::nullopt;
    }
    out_.open(path, std::ios::binary | std::ios::trunc);
    if (!out_) {
        out_.close();
        return "创建ADC记录文件出错！";
    }
    out_ << AdcLogHeader();
    out_.flush();
    return std::nullopt;
}

void AdcLog::Append(const std::string& line) {
    if (!out_.is_open()) return;
    out_ << line;
    out_.flush();
}

void AdcLog::Close() {
    if (!out_.is_open()) return;
    out_ << "\r\n";
    out_.close();
}

}  // namespace tarvel
