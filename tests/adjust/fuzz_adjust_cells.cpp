// Typed cell texts through the strict readers: a text is taken only when it
// is an integer that fits the field, and what is taken reads back the same.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "adjust/CellValues.h"
#include "platform/base/Strings.h"

using namespace tarvel;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    const auto integer = CellInteger(text);
    for (FieldType type : {FieldType::U8, FieldType::U16, FieldType::I16, FieldType::I32, FieldType::U32}) {
        const CellNumber cell = ReadStrictCell(text, type, "P1 (SG_TBMS column 1, row 0)");
        if (cell.Ok() != (integer && FieldHolds(type, *integer))) std::abort();
        if (cell.Ok() && (cell.value != *integer || CellInteger(IntToStr(cell.value)) != cell.value))
            std::abort();
        if (!cell.Ok() && cell.refusal.empty()) std::abort();
    }
    return 0;
}
