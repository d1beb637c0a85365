#pragma once
// Every displayed or polled reading goes twice into "DataAccess" beside the
// executable: a line of the table's CSV file, then a row of its table in
// "Data.db". Failures are reported, never raised: the CSV line stays when
// the database refuses, and the database row is still made when the CSV
// file cannot be written.

#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "records/ReadingDatabase.h"
#include "telemetry/TelemetryRecord.h"

namespace tarvel {

std::string ReadingCsvFileName(ReadingTable table);  // "NoModule.csv", ...
std::string ReadingCsvHeader(ReadingTable table);    // with its CR LF
// The time text, the serial number (tables that have one), the 37 values,
// each followed by ",", then CR LF.
std::string ReadingCsvLine(ReadingTable table, std::string_view timeText, std::string_view serialNo,
                           const TelemetryTexts& values);

struct StoreReport {
    // Texts for the info line in the failure colour, in the order they arose.
    std::vector<std::string> failures;
    // A line for the information log: only the first time an error is seen.
    std::string logLine;
};

class ReadingStore {
public:
    // `folder` holds the CSV files and the database (AppPath("DataAccess")).
    explicit ReadingStore(std::string folder);
    ~ReadingStore();

    StoreReport Store(ReadingTable table, std::string_view timeText, std::string_view serialNo,
                      const TelemetryTexts& values);

private:
    std::string AppendCsvLine(ReadingTable table, const std::string& line);
    std::string InsertRow(ReadingTable table, std::string_view serialNo, const TelemetryTexts& values);

    std::string folder_;
    std::unique_ptr<ReadingDatabase> db_;
    std::string lastDatabaseError_;
    // Found at open; a damaged file is not opened and checked again for every reading.
    std::string damage_;
};

}  // namespace tarvel
