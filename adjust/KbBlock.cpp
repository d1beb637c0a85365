#include "adjust/KbBlock.h"

#include <limits>

#include "adjust/CellValues.h"
#include "adjust/ParameterFile.h"
#include "link/CommandTable.h"
#include "platform/base/Paths.h"
#include "platform/base/Strings.h"

namespace tarvel {

namespace {

constexpr uint16_t kFullReplyLength = 71;
constexpr uint16_t kShortReplyLength = 63;

// One current field of a direction: its rows in the grid of the layout.
struct CurrentField {
    uint16_t KbBlock::*k;  // set for K-like fields
    int32_t KbBlock::*b;   // set for B-like fields
    int column;
    int readRow, writeRow;
};

std::vector<CurrentField> CurrentFields(KbLayout layout) {
    if (layout == KbLayout::Short) {
        return {{&KbBlock::chgK, nullptr, 1, 11, 12},
                {nullptr, &KbBlock::chgB, 1, 13, 14},
                {&KbBlock::disK, nullptr, 2, 11, 12},
                {nullptr, &KbBlock::disB, 2, 13, 14}};
    }
    return {{&KbBlock::chgK, nullptr, 1, 13, 14},  {nullptr, &KbBlock::chgB, 1, 15, 16},
            {&KbBlock::disK, nullptr, 2, 13, 14},  {nullptr, &KbBlock::disB, 2, 15, 16},
            {&KbBlock::chgSK, nullptr, 1, 17, 18}, {nullptr, &KbBlock::chgSB, 1, 19, 20},
            {&KbBlock::disSK, nullptr, 2, 17, 18}, {nullptr, &KbBlock::disSB, 2, 19, 20}};
}

std::string_view CurrentGridName(KbLayout layout) { return layout == KbLayout::Full ? "SG_CKB" : "SG_CKB1"; }

// The block's fields in frame and file order, as 64-bit values.
std::vector<int64_t> CurrentValuesInOrder(const KbBlock& b) {
    std::vector<int64_t> values{b.chgK, b.chgB, b.disK, b.disB};
    if (b.layout == KbLayout::Full) values.insert(values.end(), {b.chgSK, b.chgSB, b.disSK, b.disSB});
    return values;
}

std::string CellText(const std::vector<std::string>& rows, int row) {
    return row < static_cast<int>(rows.size()) ? rows[static_cast<size_t>(row)] : std::string();
}

// "cell X, else cell Y, else d": the value and the name of the cell it came from.
struct Chosen {
    int64_t value;
    std::string cell;
};
Chosen Choose(std::string_view first, const std::string& firstName, std::string_view second,
              const std::string& secondName, int64_t fallback) {
    if (const auto v = CellInteger(first)) return {*v, firstName};
    if (const auto v = CellInteger(second)) return {*v, secondName};
    return {fallback, "default"};
}

}  // namespace

std::optional<KbBlock> DecodeKbReply(ByteSpan frame) {
    const auto data = ReplyData(frame, ReplyCode(CmdReadKb), {kFullReplyLength, kShortReplyLength});
    if (!data) return std::nullopt;
    KbBlock b;
    b.layout = data->size() == 66 ? KbLayout::Full : KbLayout::Short;
    for (size_t i = 0; i < b.voltageK.size(); ++i) b.voltageK[i] = ReadU16(*data, 2 * i);
    b.chgK = ReadU16(*data, 34);
    b.chgB = ReadI16(*data, 36);
    b.disK = ReadU16(*data, 38);
    b.disB = ReadI16(*data, 40);
    size_t temps = 42;
    if (b.layout == KbLayout::Full) {
        b.chgSK = ReadU16(*data, 42);
        b.chgSB = ReadI16(*data, 44);
        b.disSK = ReadU16(*data, 46);
        b.disSB = ReadI16(*data, 48);
        temps = 50;
    }
    for (size_t i = 0; i < b.tempK.size(); ++i) b.tempK[i] = ReadU16(*data, temps + 2 * i);
    return b;
}

KbDisplay MakeKbDisplay(const KbBlock& block) {
    KbDisplay d;
    for (size_t i = 0; i < block.voltageK.size(); ++i) d.voltageKAsRead[i] = UIntToStr(block.voltageK[i]);
    d.currentGrid = CurrentGridName(block.layout);
    for (const CurrentField& f : CurrentFields(block.layout)) {
        d.currentCells.push_back({f.column, f.readRow, f.k ? UIntToStr(block.*f.k) : IntToStr(block.*f.b)});
    }
    d.tempK = UIntToStr(block.tempK[0]);
    return d;
}

KbValues KbValuesFromCells(const KbCells& cells, KbTarget target) {
    const FieldType offsetType = target == KbTarget::Module ? FieldType::I16 : FieldType::I32;
    KbValues out;
    out.block.layout = cells.layout;
    for (size_t i = 0; i < out.block.voltageK.size(); ++i) {
        const int row = static_cast<int>(i) + 1;
        const Chosen c = Choose(cells.voltageKToWrite[i], Format("SG_VKB column 4, row %d", row),
                                cells.voltageKAsRead[i], Format("SG_VKB column 3, row %d", row), 10000);
        out.refusal = FieldRangeRefusal(FieldType::U16, c.value, c.cell);
        if (!out.refusal.empty()) return out;
        out.block.voltageK[i] = static_cast<uint16_t>(c.value);
    }
    const std::string_view grid = CurrentGridName(cells.layout);
    for (const CurrentField& f : CurrentFields(cells.layout)) {
        const auto& rows = cells.current[static_cast<size_t>(f.column)];
        const auto name = [&](int row) {
            return std::string(grid) + Format(" column %d, row %d", f.column, row);
        };
        const Chosen c = Choose(CellText(rows, f.writeRow), name(f.writeRow), CellText(rows, f.readRow),
                                name(f.readRow), f.k ? 10000 : 0);
        out.refusal = FieldRangeRefusal(f.k ? FieldType::U16 : offsetType, c.value, c.cell);
        if (!out.refusal.empty()) return out;
        if (f.k) {
            out.block.*f.k = static_cast<uint16_t>(c.value);
        } else {
            out.block.*f.b = static_cast<int32_t>(c.value);
        }
    }
    const int64_t tempK = CellInteger(cells.tempK).value_or(10000);
    out.refusal = FieldRangeRefusal(FieldType::U16, tempK, "E_TempK");
    if (!out.refusal.empty()) return out;
    out.block.tempK.fill(static_cast<uint16_t>(tempK));
    return out;
}

RequestBuild BuildKbWrite(uint8_t address, const KbCells& cells) {
    const KbValues values = KbValuesFromCells(cells, KbTarget::Module);
    if (!values.refusal.empty()) return {{}, values.refusal};
    const KbBlock& b = values.block;
    FrameBytes data;
    for (uint16_t k : b.voltageK) AppendLe(data, k, 2);
    for (int64_t v : CurrentValuesInOrder(b)) AppendLe(data, static_cast<uint64_t>(v), 2);
    for (uint16_t k : b.tempK) AppendLe(data, k, 2);
    return {BuildFrame(address, CmdWriteKb, data), {}};
}

std::string FormatKbText(const KbBlock& block) {
    std::vector<int64_t> numbers(block.voltageK.begin(), block.voltageK.end());
    for (int64_t v : CurrentValuesInOrder(block)) numbers.push_back(v);
    numbers.insert(numbers.end(), {block.tempK[0], 10000, 10000, 10000});
    return FormatParameterLine(numbers);
}

KbSave SaveKbFile(const std::string& path, const KbCells& cells) {
    const KbValues values = KbValuesFromCells(cells, KbTarget::File);
    if (!values.refusal.empty()) return {false, values.refusal};
    if (!SaveFileText(path, FormatKbText(values.block))) return {false, "Fail to save KB!"};
    return {true, "Succeed to save KB!"};
}

KbLoad ParseKbText(std::string_view text, KbLayout layout) {
    constexpr NumberLimits k{0, 65535};
    constexpr NumberLimits b{std::numeric_limits<int32_t>::min(), std::numeric_limits<int32_t>::max()};
    std::vector<NumberLimits> limits(17, k);
    const auto fields = CurrentFields(layout);
    for (const CurrentField& f : fields) limits.push_back(f.k ? k : b);
    limits.insert(limits.end(), 4, k);

    KbLoad load;
    const auto numbers = ParseParameterNumbers(text, limits, &load.reason);
    if (!numbers) {
        load.message = "Fail to load KB!";
        return load;
    }
    for (size_t i = 0; i < 17; ++i) load.voltageKToWrite[i] = IntToStr((*numbers)[i]);
    load.currentGrid = CurrentGridName(layout);
    for (size_t i = 0; i < fields.size(); ++i) {
        load.currentCells.push_back({fields[i].column, fields[i].writeRow, IntToStr((*numbers)[17 + i])});
    }
    load.tempK = IntToStr((*numbers)[17 + fields.size()]);
    load.loaded = true;
    load.message = "Succeed to load KB!";
    return load;
}

KbLoad LoadKbFile(const std::string& path, KbLayout layout) {
    std::string refusal;
    const auto text = ReadParameterFile(path, &refusal);
    if (!text) {
        KbLoad load;
        load.message = WithRefusal("Fail to load KB!", refusal);
        return load;
    }
    return ParseKbText(*text, layout);
}

}  // namespace tarvel
