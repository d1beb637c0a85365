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

RequestBuild BuildSetLife(uint8_t address, const std::array<std::string, 4>& lifeCells) {
    static const std::array<FieldType, 4> kTypes = {FieldType::I16, FieldType::I32, FieldType::I32,
                                                    FieldType::I32};
    FrameBytes data;
    for (size_t row = 0; row < lifeCells.size(); ++row) {
        const CellNumber n =
            ReadStrictCell(lifeCells[row], kTypes[row], Format("SG_Life column 1, row %zu", row));
        if (!n.Ok()) return {{}, n.refusal};
        // The state of charge is a 16-bit field padded to four bytes.
        AppendLe(data, static_cast<uint64_t>(n.value), row == 0 ? 2 : 4);
        if (row == 0) AppendLe(data, 0, 2);
    }
    return {BuildFrame(address, CmdSetLife, data), {}};
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
