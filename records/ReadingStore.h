#pragma once
// Every displayed or polled reading goes twice into "DataAccess" beside the
// executable: a line of the table's CSV file, written at once, then a row of
// its table in "Data.db", queued for the database writer (ReadingWriter.h)
// so a busy database never holds up the window. Failures are reported,
// never raised: the CSV line stays when the database refuses, and the
// database row is still made when the CSV file cannot be written.

#include <array>
#include <chrono>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "platform/base/GuiPost.h"
#include "platform/base/Paths.h"
#include "records/ReadingDatabase.h"
#include "records/ReadingWriter.h"
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
    // Lines for the information log: a database error the first time it is
    // seen, every reading given up, a database file found replaced.
    std::vector<std::string> logLines;
};

class ReadingStore {
public:
    // `folder` holds the CSV files and the database (AppPath("DataAccess")).
    // A row the database cannot take within `giveUpAfter` is given up.
    explicit ReadingStore(std::string folder,
                          std::chrono::milliseconds giveUpAfter = ReadingWriter::kDefaultGiveUpAfter);
    // Waits for the queued rows as Drain(giveUpAfter) does.
    ~ReadingStore();

    // `show` runs on the GUI thread, through `post`, whenever the database
    // writer has something to report (TakeDatabaseReport).
    void OnDatabaseReport(PostToGui post, std::function<void()> show);

    // Writes the CSV line and queues the row. The report holds the CSV
    // failure and what the database writer told since the last report.
    StoreReport Store(ReadingTable table, std::string_view timeText, std::string_view serialNo,
                      const TelemetryTexts& values);
    StoreReport TakeDatabaseReport();
    // Waits until every queued row is written or given up, at most
    // `timeout`; true when none is left.
    bool Drain(std::chrono::milliseconds timeout);
    size_t Pending() const;

private:
    struct Sink;
    std::string AppendCsvLine(ReadingTable table, const std::string& line);

    std::string folder_;
    std::chrono::milliseconds giveUpAfter_;
    std::shared_ptr<Sink> sink_;
    // The three CSV files, kept open between readings.
    std::array<std::unique_ptr<AppendFile>, 3> csv_;
    // Started with the first reading, so nothing is opened before.
    std::unique_ptr<ReadingWriter> writer_;
};

}  // namespace tarvel
