#include "records/RecordBatch.h"

#include <algorithm>

#include "platform/base/Csv.h"

namespace tarvel {

RecordBatchHeader DecodeRecordBatchHeader(ByteSpan data) {
    return {ReadU16(data, 0), ReadU16(data, 2), ReadU16(data, 4)};
}

std::vector<PlacedRecord> PlaceRecords(const RecordBatchHeader& header, int slots) {
    std::vector<PlacedRecord> placed;
    const int count = std::min<int>(header.RecordsInReply, slots);
    const int first = static_cast<int>(header.LastRecord) - static_cast<int>(header.RecordsInReply) + 1;
    for (int i = 0; i < count; ++i) {
        const int row = first + i;
        if (row >= 1 && row <= header.TotalRecords) placed.push_back({i, row});
    }
    return placed;
}

void RecordRows::SetTotal(size_t total) {
    total_ = total;
    if (rows_.size() > total) rows_.resize(total);
}

void RecordRows::Put(int row, RecordRow cells) {
    if (row < 1 || static_cast<size_t>(row) > total_) return;
    if (static_cast<size_t>(row) > rows_.size()) rows_.resize(static_cast<size_t>(row));
    cells.resize(columns_);
    rows_[static_cast<size_t>(row) - 1] = std::move(cells);
}

std::string CsvRows(const std::vector<RecordRow>& rows, bool closingComma) {
    size_t width = 0;
    for (const RecordRow& row : rows) width = std::max(width, row.size());
    const RecordRow blank(width);
    std::string text;
    for (const RecordRow& stored : rows) {
        const RecordRow& row = stored.empty() ? blank : stored;
        for (size_t c = 0; c < row.size(); ++c) {
            if (!closingComma && c > 0) text += ',';
            text += CsvField(row[c]);
            if (closingComma) text += ',';
        }
        text += "\r\n";
    }
    return text;
}

}  // namespace tarvel
