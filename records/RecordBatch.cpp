#include "records/RecordBatch.h"

#include <algorithm>

#include "platform/base/Exceptions.h"
#include "platform/base/Paths.h"

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

void RecordRows::Put(int row, RecordRow cells) {
    if (row < 1 || static_cast<size_t>(row) > rows_.size()) return;
    cells.resize(columns_);
    rows_[static_cast<size_t>(row) - 1] = std::move(cells);
}

std::string CsvRows(const std::vector<RecordRow>& rows, bool closingComma) {
    std::string text;
    for (const RecordRow& row : rows) {
        for (size_t c = 0; c < row.size(); ++c) {
            if (!closingComma && c > 0) text += ',';
            text += row[c];
            if (closingComma) text += ',';
        }
        text += "\r\n";
    }
    return text;
}

bool WriteNewTextFile(const std::string& path, const std::string& text) {
    try {
        WriteFileText(path, text);
        return true;
    } catch (const Exception&) {
        return false;
    }
}

}  // namespace tarvel
