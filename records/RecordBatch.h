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
// them. The announced total only bounds the rows: they are made as records
// arrive, so a reply that announces thousands and brings five costs five.
using RecordRow = std::vector<std::string>;
class RecordRows {
public:
    explicit RecordRows(size_t columns) : columns_(columns) {}
    // A new download starts from empty rows.
    void Clear() {
        rows_.clear();
        total_ = 0;
    }
    // Rows 1..total may be filled; rows beyond are dropped.
    void SetTotal(size_t total);
    size_t Total() const { return total_; }
    // Fills a row within the total; rows before it that no record reached
    // stay without cells.
    void Put(int row, RecordRow cells);
    // Rows 1 up to the last one filled.
    const std::vector<RecordRow>& Rows() const { return rows_; }
    size_t Columns() const { return columns_; }

private:
    size_t columns_;
    size_t total_ = 0;
    std::vector<RecordRow> rows_;
};

// CSV lines of the rows, CR LF each: every cell followed by ",", or with
// `closingComma` false the cells joined by "," alone. A row without cells
// is written as empty cells, as many as the widest row has.
std::string CsvRows(const std::vector<RecordRow>& rows, bool closingComma);

}  // namespace tarvel
