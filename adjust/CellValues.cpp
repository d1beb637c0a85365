#include "adjust/CellValues.h"

#include "platform/base/Strings.h"

namespace tarvel {

std::optional<int64_t> CellInteger(std::string_view text) {
    int64_t value = 0;
    if (!TryStrToInt64(text, value)) return std::nullopt;
    return value;
}

CellNumber ReadStrictCell(std::string_view text, FieldType type, std::string_view cell) {
    const auto value = CellInteger(text);
    if (!value) return {0, std::string(cell) + ": '" + std::string(text) + "' is not a valid integer value"};
    return {*value, FieldRangeRefusal(type, *value, cell)};
}

}  // namespace tarvel
