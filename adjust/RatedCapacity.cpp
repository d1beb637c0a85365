#include "adjust/RatedCapacity.h"

#include "adjust/CellValues.h"
#include "link/CommandTable.h"
#include "platform/base/Strings.h"

namespace tarvel {

const char* const kCapacityRangeMessage = "容量修改范围为40AH--300AH，请重新设置!";

std::optional<std::string> DecodeCapacityReply(ByteSpan frame) {
    const auto data = ReplyData(frame, ReplyCode(CmdGetCap), {9});
    if (!data) return std::nullopt;
    return IntToStr(ReadI32(*data, 0) / 1000);
}

RequestBuild BuildSetCapacity(uint8_t address, std::string_view capdisText) {
    const CellNumber ah = ReadStrictCell(capdisText, FieldType::I32, "Capdis");
    if (!ah.Ok()) return {{}, ah.refusal};
    if (ah.value < 40 || ah.value > 300) return {{}, kCapacityRangeMessage};
    FrameBytes data;
    AppendLe(data, static_cast<uint64_t>(ah.value * 1000), 4);
    return {BuildFrame(address, CmdSetCap, data), {}};
}

namespace {

// Column 1 rows 0..3 of `grid`, each read strictly into a four-byte slot
// (a 16-bit field padded with two zero bytes).
RequestBuild BuildFourSlotWrite(uint8_t address, uint8_t command, const char* grid,
                                const std::array<std::string, 4>& cells,
                                const std::array<FieldType, 4>& types) {
    FrameBytes data;
    for (size_t row = 0; row < cells.size(); ++row) {
        const CellNumber n =
            ReadStrictCell(cells[row], types[row], Format("%s column 1, row %zu", grid, row));
        if (!n.Ok()) return {{}, n.refusal};
        const int size = FieldSize(types[row]);
        AppendLe(data, static_cast<uint64_t>(n.value), size);
        AppendLe(data, 0, 4 - size);
    }
    return {BuildFrame(address, command, data), {}};
}

}  // namespace

RequestBuild BuildSetLife(uint8_t address, const std::array<std::string, 4>& lifeCells) {
    return BuildFourSlotWrite(address, CmdSetLife, "SG_Life", lifeCells,
                              {FieldType::I16, FieldType::I32, FieldType::I32, FieldType::I32});
}

RequestBuild BuildSetHistory(uint8_t address, const std::array<std::string, 4>& historyCells) {
    return BuildFourSlotWrite(address, CmdSetHistory, "SG_History", historyCells,
                              {FieldType::I32, FieldType::I32, FieldType::I32, FieldType::I32});
}

std::optional<RunHistory> DecodeRunHistoryReply(ByteSpan frame) {
    const auto data = ReplyData(frame, ReplyCode(CmdGetHistory), {21});
    if (!data) return std::nullopt;
    return RunHistory{ReadI32(*data, 0), ReadI32(*data, 4), ReadI32(*data, 8), ReadI32(*data, 12)};
}

std::string ExitReasonName(int32_t code) {
    static const std::array<const char*, 9> kNames = {
        "Frist on",          "Panel switch off",           "Idle",       "Cell.V low",
        "Batt.V low",        "short circuit in discharge", "Enter Boot", "Reset",
        "Connect in reverse"};
    if (code >= 0 && code < static_cast<int32_t>(kNames.size())) return kNames[static_cast<size_t>(code)];
    if (code == 255) return "Abnormal";
    return "Exit much/Not define";
}

RunHistoryCells MakeRunHistoryCells(const RunHistory& h) {
    return {{IntToStr(h.totalMinutes), IntToStr(h.sinceStartMinutes), IntToStr(h.runCount),
             IntToStr(h.exitReason)},
            ExitReasonName(h.exitReason)};
}

}  // namespace tarvel
