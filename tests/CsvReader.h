#pragma once
// Reads CSV text back the way RFC 4180 has it: fields split at commas, a
// quoted field may hold commas, line breaks and doubled quotes. Rows end at
// CR LF or LF outside quotes. Tests read the tool's files with it to see
// every row keeps its columns.

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace tarvel::testing {

using CsvRow = std::vector<std::string>;

// The rows, or none when a quoted field is never closed or a quote stands
// inside an unquoted field.
inline std::optional<std::vector<CsvRow>> ParseCsv(std::string_view text) {
    std::vector<CsvRow> rows;
    CsvRow row;
    std::string field;
    bool quoted = false, wasQuoted = false, any = false;
    for (size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if (quoted) {
            if (c != '"') {
                field += c;
            } else if (i + 1 < text.size() && text[i + 1] == '"') {
                field += '"';
                ++i;
            } else {
                quoted = false;
            }
            continue;
        }
        if (c == '"') {
            if (!field.empty() || wasQuoted) return std::nullopt;
            quoted = wasQuoted = any = true;
        } else if (c == ',') {
            row.push_back(std::move(field));
            field.clear();
            wasQuoted = false;
            any = true;
        } else if (c == '\r' || c == '\n') {
            if (c == '\r' && i + 1 < text.size() && text[i + 1] == '\n') ++i;
            row.push_back(std::move(field));
            rows.push_back(std::move(row));
            row.clear();
            field.clear();
            wasQuoted = any = false;
        } else {
            if (wasQuoted) return std::nullopt;
            field += c;
            any = true;
        }
    }
    if (quoted) return std::nullopt;
    if (any || !field.empty()) {
        row.push_back(std::move(field));
        rows.push_back(std::move(row));
    }
    return rows;
}

}  // namespace tarvel::testing
