#pragma once
// The batch header that opens every record reply (history alarms, device-
// logged telemetry, daily records), where each record of a reply goes, and
// the rows of a download as texts.

#include <cstdint>
#include <string>
#include <vector>

#include "link/DeviceFrame.h"

namespace tarvel {

struct RecordBatchHeader {
    uint16_t TotalRecords = 0;
    uint16_t LastRecord = 0;  // number of the last record in this reply, from 1
    uint16_t RecordsInReply = 0;

    // The download is complete with the reply whose last record reaches the total.
    bool CompletesDownload() const { return LastRecord >= TotalRecords; }
};
RecordBatchHeader DecodeRecordBatchHeader(ByteSpan data);  // `data` holds at least 6 bytes

// Record i of the reply belongs in row LastRecord - RecordsInReply + 1 + i.
// Only records that sit in one of the reply's `slots` and land in rows
// 1..TotalRecords are placed; the others are ignored.
struct PlacedRecord {
    int slot;
    int row;
    bool operator==(const PlacedRecord&) const = default;
};
std::vector<PlacedRecord> PlaceRecords(const RecordBatchHeader& header, int slots);

// The data rows of a record grid (row r at index r - 1), as the grid shows
// them.
using RecordRow = std::vector<std::string>;
class RecordRows {
public:
    explicit RecordRows(size_t columns) : columns_(columns) {}
    // A new download starts from empty rows.
    void Clear() { rows_.clear(); }
    // Rows 1..total; new rows are empty, rows beyond are dropped.
    void SetTotal(size_t total) { rows_.resize(total, RecordRow(columns_)); }
    void Put(int row, RecordRow cells);
    const std::vector<RecordRow>& Rows() const { return rows_; }
    size_t Columns() const { return columns_; }

private:
    size_t columns_;
    std::vector<RecordRow> rows_;
};

// CSV lines of the rows, CR LF each: every cell followed by ",", or with
// `closingComma` false the cells joined by "," alone.
std::string CsvRows(const std::vector<RecordRow>& rows, bool closingComma);

// Writes `text` as a new file at `path`, replacing one that exists.
bool WriteNewTextFile(const std::string& path, const std::string& text);

}  // namespace tarvel
