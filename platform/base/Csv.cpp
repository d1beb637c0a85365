#include "platform/base/Csv.h"

namespace tarvel {

std::string CsvField(std::string_view text) {
    if (text.find_first_of(",\"\r\n") == std::string_view::npos) return std::string(text);
    std::string quoted = "\"";
    for (const char c : text) {
        if (c == '"') quoted += '"';
        quoted += c;
    }
    return quoted + "\"";
}

void AppendCsvField(std::string& line, std::string_view text) {
    line += CsvField(text);
    line += ',';
}

}  // namespace tarvel
