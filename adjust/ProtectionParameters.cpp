#include "adjust/ProtectionParameters.h"

#include <limits>

#include "adjust/CellValues.h"
#include "adjust/ParameterFile.h"
#include "link/CommandTable.h"
#include "platform/base/Paths.h"
#include "platform/base/Strings.h"

namespace tarvel {

namespace {

std::array<ProtectionField, kProtectionCount> MakeFields() {
    // Runs of equal type in block order: P1-P12 i32, P13-P16 u16, P17-P20 i32,
    // P21-P24 u16, P25-P30 i32, P31-P48 i16.
    const std::array<std::pair<int, FieldType>, 6> runs = {{{12, FieldType::I32},
                                                            {4, FieldType::U16},
                                                            {4, FieldType::I32},
                                                            {4, FieldType::U16},
                                                            {6, FieldType::I32},
                                                            {18, FieldType::I16}}};
    std::array<ProtectionField, kProtectionCount> fields{};
    int index = 0, offset = 0;
    for (const auto& [count, type] : runs) {
        for (int i = 0; i < count; ++i, ++index) {
            fields[index] = {offset, type, index < 24 ? 1 : 4, index % 24};
            offset += FieldSize(type);
        }
    }
    return fields;
}

const std::array<ProtectionField, kProtectionCount> kFields = MakeFields();

std::vector<int> Range(int first, int last) {  // 1-based parameter numbers to 0-based indexes
    std::vector<int> indexes;
    for (int p = first; p <= last; ++p) indexes.push_back(p - 1);
    return indexes;
}

const std::vector<ThresholdGrid> kThresholdGrids = {
    {"SG_Highbvset", Range(5, 12)},   {"SG_Highcvset", Range(13, 16)}, {"SG_Lowbvset", Range(17, 20)},
    {"SG_Lowcvset", Range(21, 24)},   {"SG_Overcurrset", {26, 29}},    {"SG_Hightempset", Range(31, 38)},
    {"SG_Lowtempset", Range(39, 46)},
};

}  // namespace

const std::array<ProtectionField, kProtectionCount>& ProtectionFields() { return kFields; }

std::string ProtectionCellName(int index) {
    const ProtectionField& f = kFields[static_cast<size_t>(index)];
    return Format("P%d (SG_TBMS column %d, row %d)", index + 1, f.column, f.row);
}

const std::vector<ThresholdGrid>& ThresholdGrids() { return kThresholdGrids; }

std::optional<ProtectionTexts> DecodeProtectionReply(ByteSpan frame) {
    const auto data = ReplyData(frame, ReplyCode(CmdReadBms), {kProtectionBlockSize + 5});
    if (!data) return std::nullopt;
    ProtectionTexts texts;
    for (int i = 0; i < kProtectionCount; ++i) {
        const ProtectionField& f = kFields[static_cast<size_t>(i)];
        switch (f.type) {
            case FieldType::I32: texts[i] = IntToStr(ReadI32(*data, f.offset)); break;
            case FieldType::U16: texts[i] = UIntToStr(ReadU16(*data, f.offset)); break;
            default: texts[i] = IntToStr(ReadI16(*data, f.offset)); break;
        }
    }
    return texts;
}

RequestBuild BuildProtectionWrite(uint8_t address, const ProtectionTexts& cells) {
    FrameBytes block;
    for (int i = 0; i < kProtectionCount; ++i) {
        const ProtectionField& f = kFields[static_cast<size_t>(i)];
        const CellNumber n = ReadStrictCell(cells[i], f.type, ProtectionCellName(i));
        if (!n.Ok()) return {{}, n.refusal};
        AppendLe(block, static_cast<uint64_t>(n.value), FieldSize(f.type));
    }
    return {BuildFrame(address, CmdWriteBms, block), {}};
}

std::optional<ProtectionTexts> ParseBmsText(std::string_view text) {
    std::array<NumberLimits, kProtectionCount> limits;
    limits.fill({std::numeric_limits<int32_t>::min(), std::numeric_limits<int32_t>::max()});
    const auto numbers = ParseParameterNumbers(text, limits);
    if (!numbers) return std::nullopt;
    ProtectionTexts texts;
    for (int i = 0; i < kProtectionCount; ++i) texts[i] = IntToStr((*numbers)[i]);
    return texts;
}

BmsSave SaveBmsFile(const std::string& path, const ProtectionTexts& cells) {
    std::array<int64_t, kProtectionCount> numbers{};
    for (int i = 0; i < kProtectionCount; ++i) {
        // The file keeps each value as a 32-bit integer whatever its field's width.
        const CellNumber n = ReadStrictCell(cells[i], FieldType::I32, ProtectionCellName(i));
        if (!n.Ok()) return {false, n.refusal};
        numbers[i] = n.value;
    }
    if (!SaveFileText(path, FormatParameterLine(numbers))) return {false, "Fail to save BMS!"};
    return {true, "Succeed to save BMS!"};
}

BmsLoad LoadBmsFile(const std::string& path) {
    std::string refusal;
    const auto text = ReadParameterFile(path, &refusal);
    auto values = text ? ParseBmsText(*text) : std::nullopt;
    if (!values) return {std::nullopt, WithRefusal("Fail to load BMS!", refusal)};
    return {std::move(values), "Succeed to load BMS!"};
}

}  // namespace tarvel
