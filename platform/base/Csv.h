#pragma once
// The one rule for every CSV file the tool writes: a field holding a comma, a
// double quote or a line break is quoted with its quotes doubled; any other
// field is written as it is.

#include <string>
#include <string_view>

namespace tarvel {

std::string CsvField(std::string_view text);

// `line` += CsvField(text) + ",": the tool's lines end every field with a comma.
void AppendCsvField(std::string& line, std::string_view text);

}  // namespace tarvel
