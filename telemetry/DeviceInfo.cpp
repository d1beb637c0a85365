#include "telemetry/DeviceInfo.h"

#include <algorithm>

#include "link/CommandTable.h"
#include "platform/base/DateTime.h"
#include "platform/base/Strings.h"

namespace tarvel {

std::optional<VersionInfo> DecodeVersionReply(ByteSpan frame) {
    const auto data = ReplyData(frame, ReplyCode(CmdGetVer), {85, 15});
    if (!data) return std::nullopt;
    VersionInfo v;
    v.mainVersion = ReadU16(*data, 0);
    v.hypVersion = ReadU16(*data, 2);
    v.editVersion = ReadU16(*data, 4);
    v.editYear = ReadU16(*data, 6);
    v.editMonth = (*data)[8];
    v.editDay = (*data)[9];
    v.longLayout = data->size() == 80;
    if (v.longLayout) {
        v.hardwareText = TextUntilZero(data->subspan(10, 30));
        v.functionText = TextUntilZero(data->subspan(40, 40));
    }
    return v;
}

std::string EditTimeText(const VersionInfo& v) {
    return Format("%u.%02u.%02u", v.editYear, v.editMonth, v.editDay);
}

std::array<std::string, 4> VersionNumberCells(const VersionInfo& v) {
    return {UIntToStr(v.mainVersion), UIntToStr(v.hypVersion), UIntToStr(v.editVersion), EditTimeText(v)};
}

void UpdateVersionTexts(VersionTexts& texts, const std::string& hardwareText) {
    const size_t last = hardwareText.rfind(',');
    if (last != std::string::npos) texts.head = hardwareText.substr(0, last);
    const size_t first = hardwareText.find(',');
    texts.tail = first == std::string::npos ? std::string() : hardwareText.substr(first + 1);
}

std::optional<std::string> DecodeSerialNumberReply(ByteSpan frame) {
    const auto data = ReplyData(frame, ReplyCode(CmdReadSerialNum), {25});
    if (!data) return std::nullopt;
    return TextUntilZero(data->first(20));
}

std::optional<std::string> DecodeDeviceText(ByteSpan frame) {
    const auto data = ReplyData(frame, ReplyCode(CmdDeviceText), {});
    if (!data) return std::nullopt;
    return TextUntilZero(data->first(std::min<size_t>(data->size(), 1999)));
}

std::string DeviceTextLogLine(double localDateTime, const std::string& text) {
    return "【" + DateToStr(localDateTime) + " " + TimeToStr(localDateTime) + "】" + text;
}

namespace {

const std::array<IoRegisterPlace, 19> kIoPlaces = {{
    {"L_P0", "SG_P0", 0}, {"L_P0MDOUT", "SG_P0", 1},                             //
    {"L_P1", "SG_P1", 0}, {"L_P1MDIN", "SG_P1", 1},  {"L_P1MDOUT", "SG_P1", 2},  //
    {"L_P2", "SG_P2", 0}, {"L_P2MDIN", "SG_P2", 1},  {"L_P2MDOUT", "SG_P2", 2},  //
    {"L_P3", "SG_P3", 0}, {"L_P3MDIN", "SG_P3", 1},  {"L_P3MDOUT", "SG_P3", 2},  //
    {"L_P4", "SG_P4", 0}, {"L_P4MDOUT", "SG_P4", 1},                             //
    {"L_P5", "SG_P5", 0}, {"L_P5MDOUT", "SG_P5", 1},                             //
    {"L_P6", "SG_P6", 0}, {"L_P6MDOUT", "SG_P6", 1},                             //
    {"L_P7", "SG_P7", 0}, {"L_P7MDOUT", "SG_P7", 1},
}};

}  // namespace

const std::array<IoRegisterPlace, 19>& IoRegisterPlaces() { return kIoPlaces; }

std::optional<std::vector<IoRegister>> DecodeIoState(ByteSpan frame) {
    // The validator has no Length of its own for 0x85: any reply holding the
    // 19 register bytes is taken.
    const auto data = ReplyData(frame, ReplyCode(CmdReadIo), {});
    if (!data || data->size() < kIoPlaces.size()) return std::nullopt;
    std::vector<IoRegister> registers;
    for (size_t i = 0; i < kIoPlaces.size(); ++i) {
        const uint8_t value = (*data)[i];
        IoRegister r{kIoPlaces[i].label, kIoPlaces[i].grid, kIoPlaces[i].row, "0x" + IntToHex(value, 2), {}};
        for (int column = 0; column < 8; ++column) r.bits[column] = (value >> (7 - column) & 1) ? "1" : "0";
        registers.push_back(std::move(r));
    }
    return registers;
}

}  // namespace tarvel
