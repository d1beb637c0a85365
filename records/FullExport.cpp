#include "records/FullExport.h"

#include "link/CommandTable.h"
#include "platform/base/Csv.h"
#include "platform/base/DateTime.h"
#include "platform/base/Exceptions.h"
#include "platform/base/Paths.h"

namespace tarvel {

namespace {

const std::vector<ExportStep> kSteps = {
    {CmdReadSerialNum, 1, 300, "Get Serial Outtime"},
    {CmdGetCap, 1, 300, "Get Cap Outtime"},
    {CmdGetVer, 1, 300, "Get Version Outtime"},
    {CmdGetHistory, 1, 300, "Get Run Time Outtime"},
    {CmdQuerySbs, 5, 800, "Get SBS Outtime"},
    {CmdGetHisAlarm, 1, 70000, "Get History Outtime"},
    {CmdGetDailyRecords, 1, 100000, "Get Daily Records Outtime"},
};

bool IsSafeNameChar(char c) {
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '.' ||
           c == '_' || c == '-';
}

std::string Fields(const std::vector<std::string>& fields) {
    std::string line;
    for (const std::string& f : fields) AppendCsvField(line, f);
    return line + "\r\n";
}

}  // namespace

const std::vector<ExportStep>& ExportSteps() { return kSteps; }

std::string ExportSafeSerial(std::string_view serialNumber) {
    std::string safe(serialNumber);
    for (char& c : safe) {
        if (!IsSafeNameChar(c)) c = '_';
    }
    // "." and ".." alone would still name a folder.
    if (safe == "." || safe == "..") safe.assign(safe.size(), '_');
    return safe;
}

std::string ExportWorkingPath(std::string_view serialNumber) {
    return AppPath("Export DataAccess/" + ExportSafeSerial(serialNumber) + " Data.csv");
}

std::string ExportFinalPath(std::string_view serialNumber, double endDateTime) {
    return AppPath("Export DataAccess/" + ExportSafeSerial(serialNumber) + "_" +
                   FormatDateTime("YYYY-MM-DD HH-MM-SS", endDateTime) + "_Success.csv");
}

std::string ExportHeaderLine() {
    std::vector<std::string> titles = {"RecordTime",       "Serial Num",   "Capacity(Ah)", "SoftVersion",
                                       "Function Version", "Runtime(Min)", "PACK",         "BATT"};
    for (int i = 1; i <= 16; ++i) titles.push_back("V" + std::to_string(i));
    titles.push_back("I");
    for (int i = 1; i <= 8; ++i) titles.push_back("T" + std::to_string(i));
    for (const char* t : {"Others", "Alarm", "Protection", "Fail", "Balance", "BattState", "SOC", "SOCHealth",
                          "DiscTimes", "TotalDiscSOC"}) {
        titles.emplace_back(t);
    }
    return Fields(titles);
}

std::string ExportRecordLine(const ExportRecord& r) {
    const auto& v = r.versionRow1;
    std::vector<std::string> fields = {
        r.recordTime, r.serialNumber, r.capacity,
        // The hardware text keeps its comma between head and tail; the field is quoted for it.
        v[0] + "-" + v[1] + "-" + v[2] + "/" + v[3] + "/" + r.versionHead + "," + r.versionTail,
        r.functionVersion, r.runtime};
    fields.insert(fields.end(), r.telemetryColumn1.begin(), r.telemetryColumn1.end());
    fields.insert(fields.end(), r.telemetryColumn4.begin(), r.telemetryColumn4.end());
    return Fields(fields);
}

std::string ExportHistorySection(const std::vector<RecordRow>& rows) {
    std::vector<std::string> titles = {"History Num", "  Start Time", "  End Time", "  MOode",     "Current",
                                       "Voltage",     "Capacity",     "Alarm",      "Ambient Temp"};
    for (int i = 1; i <= 4; ++i) titles.push_back("Batt Temp." + std::to_string(i));
    for (int i = 1; i <= 16; ++i) titles.push_back("Vol." + std::to_string(i));
    return ",\r\n" + Fields(titles) + CsvRows(rows, true);
}

std::string ExportDailySection(const std::vector<RecordRow>& rows) {
    return ",\r\n" +
           Fields({"Daily Records Num", "Data", "Cell Max.TEMP", "Ambin Max.TEMP", "Daily Dischg Cap(AH)",
                   "Daily Chg Cap(%)"}) +
           CsvRows(rows, true);
}

ExportFile::ExportFile(std::string serialNumber)
    : serialNumber_(std::move(serialNumber)), workingPath_(ExportWorkingPath(serialNumber_)) {}

std::optional<std::string> ExportFile::Start() {
    if (!SaveFileText(workingPath_, ExportHeaderLine())) return "Fail to build record file!";
    return std::nullopt;
}

std::optional<std::string> ExportFile::Append(const std::string& text, const char* failure) {
    try {
        AppendFileText(workingPath_, text);
        return std::nullopt;
    } catch (const Exception&) {
        return failure;
    }
}

std::optional<std::string> ExportFile::AppendRecordLine(const ExportRecord& record) {
    return Append(ExportRecordLine(record), "Fail to open record file!");
}

std::optional<std::string> ExportFile::AppendSection(const std::string& section) {
    return Append(section, "Open Alarm Records File Fail!");
}

std::optional<std::string> ExportFile::Finish(double endDateTime) {
    const std::string finalPath = ExportFinalPath(serialNumber_, endDateTime);
    if (!RenameFile(workingPath_, finalPath)) {
        return "The export file could not be renamed and keeps the name \"" + ExtractFileName(workingPath_) +
               "\"";
    }
    return std::nullopt;
}

}  // namespace tarvel
