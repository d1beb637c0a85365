#pragma once
// The device-information replies: software version (0x86, long and short
// layout), serial number (0x90), the module's own text (0x94), the I/O
// registers (0x85).

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "link/DeviceFrame.h"

namespace tarvel {

struct VersionInfo {
    uint16_t mainVersion = 0, hypVersion = 0, editVersion = 0, editYear = 0;
    uint8_t editMonth = 0, editDay = 0;
    bool longLayout = false;
    std::string hardwareText;  // to the first zero; empty in the short layout
    std::string functionText;
};
std::optional<VersionInfo> DecodeVersionReply(ByteSpan frame);  // L = 85 or 15
std::string EditTimeText(const VersionInfo& version);           // "2018.05.09"
// SG_SoftVersion row 1, columns 0..3.
std::array<std::string, 4> VersionNumberCells(const VersionInfo& version);

// The hardware text split at its commas: the part before the last comma
// (kept when there is none) and the part after the first.
struct VersionTexts {
    std::string head;
    std::string tail;
};
void UpdateVersionTexts(VersionTexts& texts, const std::string& hardwareText);

std::optional<std::string> DecodeSerialNumberReply(ByteSpan frame);  // 0x90, L = 25

// The text of a 0x94 reply: its data after the status byte, at most 1999
// bytes, up to the first zero.
std::optional<std::string> DecodeDeviceText(ByteSpan frame);
// The information-log line: "【<short date> <long time>】<text>".
std::string DeviceTextLogLine(double localDateTime, const std::string& text);

// Where each of the 19 I/O register bytes of reply 0x85 is shown: its label
// and its row of the port's grid.
struct IoRegisterPlace {
    std::string_view label;  // L_P0, L_P0MDOUT, ...
    std::string_view grid;   // SG_P0 .. SG_P7
    int row;
};
const std::array<IoRegisterPlace, 19>& IoRegisterPlaces();

// The 19 I/O register bytes of reply 0x85: each as a "0xHH" label and as a
// row of eight "1"/"0" cells, bit 7 first.
struct IoRegister {
    std::string_view label;  // L_P0, L_P0MDOUT, ...
    std::string_view grid;   // SG_P0 .. SG_P7
    int row;
    std::string text;                 // "0x3C"
    std::array<std::string, 8> bits;  // columns 0..7
};
std::optional<std::vector<IoRegister>> DecodeIoState(ByteSpan frame);

}  // namespace tarvel
