#pragma once
// The calibration block of reply 0x87 and write request 0x08, in its full
// (66-byte) and short (58-byte) layouts, its grid cells and the ".kb" file.

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "adjust/Calibration.h"
#include "link/DeviceFrame.h"

namespace tarvel {

struct KbBlock {
    KbLayout layout = KbLayout::Full;
    std::array<uint16_t, 17> voltageK{};  // pack, cells 1..16
    // B and SB travel in 16 bits to and from the module but in 32 in a
    // ".kb" file, so the block holds them in 32.
    uint16_t chgK = 0;
    int32_t chgB = 0;
    uint16_t disK = 0;
    int32_t disB = 0;
    uint16_t chgSK = 0;  // full layout only
    int32_t chgSB = 0;
    uint16_t disSK = 0;
    int32_t disSB = 0;
    std::array<uint16_t, 8> tempK{};
};
std::optional<KbBlock> DecodeKbReply(ByteSpan frame);  // L = 71 (full) or 63 (short)

// The texts the grids hold for a block as read: SG_VKB column 3 rows 1..17,
// the current grid of the layout ("SG_CKB" rows 13/15/17/19, "SG_CKB1" rows
// 11/13) in columns 1 (charge) and 2 (discharge), and E_TempK.
struct GridWrite {
    int column, row;
    std::string text;
    bool operator==(const GridWrite&) const = default;
};
struct KbDisplay {
    std::array<std::string, 17> voltageKAsRead;
    std::string_view currentGrid;
    std::vector<GridWrite> currentCells;
    std::string tempK;
};
KbDisplay MakeKbDisplay(const KbBlock& block);

// The cell texts the write and the ".kb" save read. `current` holds the
// rows of the current grid of `layout`, indexed [column][row] (columns 1
// and 2 used).
struct KbCells {
    KbLayout layout = KbLayout::Full;
    std::array<std::string, 17> voltageKToWrite;  // SG_VKB column 4 rows 1..17
    std::array<std::string, 17> voltageKAsRead;   // column 3
    std::array<std::vector<std::string>, 3> current;
    std::string tempK;  // E_TempK
};
// The values the write sends and the save keeps: each "to write" cell,
// else its "as read" cell, else 10000 for K and 0 for B. Every value must
// fit its field where it goes: B and SB in 16 bits for the module, in 32
// for a file, so whatever a file loads can be saved back.
enum class KbTarget { Module, File };
struct KbValues {
    KbBlock block;
    std::string refusal;
};
KbValues KbValuesFromCells(const KbCells& cells, KbTarget target);
RequestBuild BuildKbWrite(uint8_t address, const KbCells& cells);

// ".kb" text: 29 numbers (full) or 25 (short), the temperature K and three
// further 10000s closing it.
std::string FormatKbText(const KbBlock& block);
struct KbSave {
    bool saved = false;
    std::string message;  // "Succeed to save KB!", "Fail to save KB!" or the refusal
};
KbSave SaveKbFile(const std::string& path, const KbCells& cells);
// A load fills only the "to write" cells: SG_VKB column 4, the current
// grid's K/B(/SK/SB) rows to write, and E_TempK.
struct KbLoad {
    bool loaded = false;
    std::string message;  // "Succeed to load KB!" or "Fail to load KB!"
    // Why a text that was read is no calibration file ("number 3 of 29 is
    // not a whole number"); empty otherwise.
    std::string reason;
    std::array<std::string, 17> voltageKToWrite;
    std::string_view currentGrid;
    std::vector<GridWrite> currentCells;
    std::string tempK;
};
KbLoad ParseKbText(std::string_view text, KbLayout layout);
KbLoad LoadKbFile(const std::string& path, KbLayout layout);

}  // namespace tarvel
