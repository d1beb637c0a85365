#pragma once
// The 48 protection parameters: the 140-byte block of reply 0x95 and of
// write request 0x09, their grid cells and the ".bms" file.

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "link/DeviceFrame.h"

namespace tarvel {

constexpr size_t kProtectionBlockSize = 140;
constexpr int kProtectionCount = 48;
using ProtectionTexts = std::array<std::string, kProtectionCount>;  // P1..P48

struct ProtectionField {
    int offset;      // in the block
    FieldType type;  // I32, U16 or I16
    int column;      // of SG_TBMS: 1 for P1..P24, 4 for P25..P48
    int row;
};
const std::array<ProtectionField, kProtectionCount>& ProtectionFields();
std::string ProtectionCellName(int index);  // "P13 (SG_TBMS column 1, row 12)"

// The hidden threshold grids and the parameters (0-based) each shows in
// column 1, one per row.
struct ThresholdGrid {
    std::string_view name;
    std::vector<int> parameters;
};
const std::vector<ThresholdGrid>& ThresholdGrids();

// The 48 texts of reply 0x95 (L = 145): i32 and i16 signed, u16 unsigned.
std::optional<ProtectionTexts> DecodeProtectionReply(ByteSpan frame);

// Request 0x09 from the 48 value cells as the user sees them. Each cell is
// read strictly and must fit its field; otherwise nothing is built and the
// refusal names the cell.
RequestBuild BuildProtectionWrite(uint8_t address, const ProtectionTexts& cells);

// ".bms" files: save reads the cells strictly (the refusal names a cell
// that is not an integer); load needs 48 signed 32-bit integers.
struct BmsSave {
    bool saved = false;
    std::string message;  // "Succeed to save BMS!", "Fail to save BMS!" or the refusal
};
BmsSave SaveBmsFile(const std::string& path, const ProtectionTexts& cells);
struct BmsLoad {
    std::optional<ProtectionTexts> values;  // empty: leave the grid as it is
    std::string message;                    // "Succeed to load BMS!" or "Fail to load BMS!"
};
BmsLoad LoadBmsFile(const std::string& path);
std::optional<ProtectionTexts> ParseBmsText(std::string_view text);

}  // namespace tarvel
