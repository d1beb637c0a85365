#include "records/ReadingStore.h"

#include <array>

#include "platform/base/Csv.h"
#include "platform/base/Paths.h"

namespace tarvel {

std::string ReadingCsvFileName(ReadingTable table) { return std::string(ReadingTableName(table)) + ".csv"; }

std::string ReadingCsvHeader(ReadingTable table) {
    std::string line;
    for (const std::string& column : ReadingColumns(table)) line += column + ",";
    return line + "\r\n";
}

std::string ReadingCsvLine(ReadingTable table, std::string_view timeText, std::string_view serialNo,
                           const TelemetryTexts& values) {
    std::string line;
    AppendCsvField(line, timeText);
    if (ReadingTableHasSerial(table)) AppendCsvField(line, serialNo);
    for (const std::string& value : values) AppendCsvField(line, value);
    return line + "\r\n";
}

ReadingStore::ReadingStore(std::string folder) : folder_(std::move(folder)) {}

ReadingStore::~ReadingStore() = default;

std::string ReadingStore::AppendCsvLine(ReadingTable table, const std::string& line) {
    const std::string path = folder_ + "/" + ReadingCsvFileName(table);
    const bool exists = FileExists(path);
    try {
        static const std::array<std::string, 3> kHeaders = {ReadingCsvHeader(ReadingTable::NoModule),
                                                            ReadingCsvHeader(ReadingTable::SingleModule),
                                                            ReadingCsvHeader(ReadingTable::MoreModule)};
        AppendFileText(path, line, kHeaders[static_cast<size_t>(table)]);
        return {};
    } catch (const EWriteError&) {
        return "Fail to write record file!";
    } catch (const Exception&) {
        return exists ? "Fail to open record file!" : "Fail to build record file!";
    }
}

std::string ReadingStore::InsertRow(ReadingTable table, std::string_view serialNo,
                                    const TelemetryTexts& values) {
    if (!damage_.empty()) return damage_;
    try {
        if (!db_) db_ = std::make_unique<ReadingDatabase>(folder_ + "/Data.db");
        db_->Insert(table, serialNo, values);
        return {};
    } catch (const EDatabaseDamaged& e) {
        damage_ = e.Message();
        return damage_;
    } catch (const EDatabaseError& e) {
        // A database that failed to open is tried again with the next reading.
        return e.Message();
    }
}

StoreReport ReadingStore::Store(ReadingTable table, std::string_view timeText, std::string_view serialNo,
                                const TelemetryTexts& values) {
    StoreReport report;
    if (std::string failure = AppendCsvLine(table, ReadingCsvLine(table, timeText, serialNo, values));
        !failure.empty()) {
        report.failures.push_back(std::move(failure));
    }
    const std::string error = InsertRow(table, serialNo, values);
    if (!error.empty()) {
        const std::string message = "Fail to store the reading in the database: " + error;
        report.failures.push_back(message);
        if (error != lastDatabaseError_) report.logLine = message;
    }
    lastDatabaseError_ = error;
    return report;
}

}  // namespace tarvel
