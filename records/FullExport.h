#pragma once
// The full data export of one module: its steps, the file
// "Export DataAccess/<serial> Data.csv" with its header, five record lines
// and the history-alarm and daily-record sections, and the final name
// "<serial>_<YYYY-MM-DD HH-MM-SS>_Success.csv".

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "records/RecordBatch.h"

namespace tarvel {

// One step: its request, how often it is sent, the time limit of each wait
// and the failure message.
struct ExportStep {
    uint8_t command;
    int repeats;
    uint32_t limitMs;
    const char* failure;
};
const std::vector<ExportStep>& ExportSteps();
constexpr uint32_t kExportSilenceMs = 10000;  // a step also fails after 10 s without a received chunk

// The serial number as it may stand in a file name: everything outside
// [A-Za-z0-9._-] becomes '_', so the name never leaves the export folder.
std::string ExportSafeSerial(std::string_view serialNumber);
std::string ExportWorkingPath(std::string_view serialNumber);
std::string ExportFinalPath(std::string_view serialNumber, double endDateTime);

// What one record line takes from the displays.
struct ExportRecord {
    std::string recordTime;                  // SG_TSBS column 4, row 18
    std::string serialNumber;                // E_ReadSerialNum
    std::string capacity;                    // Capdis
    std::array<std::string, 4> versionRow1;  // SG_SoftVersion row 1
    std::string versionHead, versionTail;    // VersionTextHead / VersionTextTail
    std::string functionVersion;             // SG_SoftVersion column 1, row 3
    std::string runtime;                     // SG_History column 1, row 0
    std::array<std::string, 19> telemetryColumn1;
    std::array<std::string, 18> telemetryColumn4;
};
std::string ExportHeaderLine();
std::string ExportRecordLine(const ExportRecord& record);
std::string ExportHistorySection(const std::vector<RecordRow>& rows);
std::string ExportDailySection(const std::vector<RecordRow>& rows);

// The working file of one export run. Each run starts a fresh file.
class ExportFile {
public:
    explicit ExportFile(std::string serialNumber);
    // Creates the working file with its header, replacing a file a failed run
    // left; "Fail to build record file!" when it cannot.
    std::optional<std::string> Start();
    std::optional<std::string> AppendRecordLine(const ExportRecord& record);  // "Fail to open record file!"
    std::optional<std::string> AppendSection(const std::string& section);  // "Open Alarm Records File Fail!"
    // Renames the working file to its final name; on failure says so.
    std::optional<std::string> Finish(double endDateTime);
    const std::string& WorkingPath() const { return workingPath_; }

private:
    std::optional<std::string> Append(const std::string& text, const char* failure);

    std::string serialNumber_;
    std::string workingPath_;
};

}  // namespace tarvel
