#include "link/CommandTable.h"

#include "link/DeviceFrame.h"

namespace tarvel {

namespace {

using F = RequestForm;
using R = ReplyRule;

// The replies 0x9A, 0xA2, 0xA6, 0xB0, 0xB1, 0xB2 and 0xB9 acknowledge a write or
// an erase; they are taken as plain acknowledgements (L = 5) so that they reach
// dispatch like every other acknowledgement.
constexpr CommandRow kRows[] = {
    {0x00, "CmdAutoSend", F::NeverSent, {0, 0}, R::Refused, {0, 0}, nullptr, nullptr},
    {0x01, "CmdLogin", F::Framed, {4, 0}, R::Listed, {5, 0}, "Login", "注册"},
    {0x02, "CmdLogout", F::Framed, {4, 0}, R::Listed, {5, 0}, "Logout", "断开"},
    {0x03, "CmdQuerySbs", F::Framed, {4, 24}, R::Listed, {101, 0}, "Query SBS data", "查询SBS数据"},
    {0x04, "CmdReadAdc", F::Framed, {4, 0}, R::Listed, {59, 0}, "Query ADC", "查询ADC"},
    {0x05, "CmdReadIo", F::Framed, {4, 0}, R::Refused, {0, 0}, "Query IO state", "查询IO状态"},
    {0x06, "CmdGetVer", F::Framed, {4, 0}, R::Listed, {85, 15}, "Query version", "查询版本"},
    {0x07, "CmdReadKb", F::Framed, {4, 0}, R::Listed, {71, 63}, "Query KB", "查询KB"},
    {0x08, "CmdWriteKb", F::Framed, {70, 62}, R::Listed, {5, 0}, "Set KB", "设置KB"},
    {0x09, "CmdWriteBms", F::Framed, {144, 0}, R::Listed, {5, 0}, "set BMS", "设置BMS"},
    {0x0A, "CmdOpenChg", F::Framed, {4, 0}, R::Listed, {5, 0}, "Open tube in charge", "打开充电管"},
    {0x0B, "CmdCloseChg", F::Framed, {4, 0}, R::Listed, {5, 0}, "Turn off tube in charge", "关闭充电管"},
    {0x0C, "CmdOpenDis", F::Framed, {4, 0}, R::Listed, {5, 0}, "open tube in discharge", "打开放电管"},
    {0x0D, "CmdCloseDis", F::Framed, {4, 0}, R::Listed, {5, 0}, "Turn off tube in discharge", "关闭放电管"},
    {0x0E,
     "CmdGetHistory",
     F::Framed,
     {4, 0},
     R::Listed,
     {21, 0},
     "Query reason for exit in history",
     "查询历史退出记录"},
    {0x0F, "CmdSetHistory", F::Framed, {20, 0}, R::Listed, {5, 0}, nullptr, nullptr},
    {0x10, "CmdReadSerialNum", F::Framed, {4, 0}, R::Listed, {25, 0}, "Query Seri number", "查询序列号"},
    {0x11, "CmdWriteSerialNum", F::Framed, {24, 0}, R::Listed, {5, 0}, "Set Seri number", "设置序列号"},
    {0x12,
     "CmdQuerySbsBySerial",
     F::NeverSent,
     {0, 0},
     R::Listed,
     {121, 0},
     "Query SBS data by serial number",
     "按序列号查询SBS数据"},
    {0x13, "CmdSetLife", F::Framed, {20, 0}, R::Listed, {5, 0}, "Set Life", "设置寿命"},
    {0x14, "CmdDeviceText", F::NeverSent, {0, 0}, R::Any, {0, 0}, nullptr, nullptr},
    {0x15, "CmdReadBms", F::Framed, {4, 0}, R::Listed, {145, 0}, "Query BMS", "查询BMS"},
    {0x16, "CmdQueryExt", F::ShortFrame, {0, 0}, R::Refused, {0, 0}, nullptr, nullptr},
    {0x17, "CmdGetWorkMode", F::Framed, {4, 0}, R::Listed, {6, 0}, nullptr, nullptr},
    {0x18, "CmdSetWorkMode", F::Framed, {5, 0}, R::Any, {0, 0}, nullptr, nullptr},
    {0x19, "CmdGetHisAlarm", F::Framed, {4, 0}, R::Listed, {433, 413}, "Get History ", "查询历史告警记录"},
    {0x1A,
     "CmdClearHisAlarm",
     F::Framed,
     {4, 0},
     R::Listed,
     {5, 0},
     nullptr,
     "成功擦除flash所有历史告警记录"},
    {0x20, "CmdSetSysDate", F::Framed, {12, 0}, R::Listed, {5, 0}, nullptr, nullptr},
    {0x21, "CmdGetAutoTsbsData", F::Framed, {4, 0}, R::Listed, {393, 0}, nullptr, "查询保存的TSBS记录"},
    {0x22,
     "CmdClearAutoTsbsData",
     F::Framed,
     {4, 0},
     R::Listed,
     {5, 0},
     nullptr,
     "成功擦除flash所有TSBS记录"},
    {0x23, "CmdOpenSpeaker", F::Framed, {4, 0}, R::Listed, {5, 0}, nullptr, "开启蜂鸣器"},
    {0x24, "CmdCloseSpeaker", F::Framed, {4, 0}, R::Listed, {5, 0}, nullptr, "关闭蜂鸣器"},
    {0x25, "CmdCheckDisTime", F::Framed, {4, 0}, R::Listed, {13, 0}, nullptr, "查询过流保护时间"},
    {0x26, "CmdSetDisTime", F::Framed, {12, 0}, R::Listed, {5, 0}, nullptr, "设置过流保护时间"},
    {0x27, "CmdOpenChLimit", F::Framed, {4, 0}, R::Listed, {5, 0}, nullptr, "开启充电限流回路"},
    {0x28, "CmdCloseChLimit", F::Framed, {4, 0}, R::Listed, {5, 0}, nullptr, "关闭充电限流回路"},
    {0x29, "CmdGetSysDate", F::Framed, {4, 0}, R::Listed, {13, 0}, nullptr, "获取系统时间"},
    {0x2A, "CmdCheckFunction", F::Framed, {4, 0}, R::Listed, {6, 0}, nullptr, "查询自动查询状态"},
    {0x2B, "CmdEndGetSbs", F::Framed, {4, 0}, R::Listed, {5, 0}, nullptr, "停止自动查询"},
    {0x2C, "CmdBeginGetSbs", F::Framed, {22, 0}, R::Listed, {5, 0}, nullptr, "开始自动查询"},
    {0x2D, "CmdGetAnyHisAlarm", F::Framed, {5, 0}, R::Listed, {433, 413}, nullptr, nullptr},
    {0x2E, "CmdGetDailyRecords", F::Framed, {4, 0}, R::Listed, {251, 0}, "Get Daily Records", "获取日记录"},
    {0x2F, "CmdSetProtect", F::Framed, {24, 0}, R::Listed, {5, 0}, nullptr, "设置保护功能关闭"},
    {0x30, "CmdSetLimit10A", F::Framed, {4, 0}, R::Listed, {5, 0}, nullptr, "设置限流值成功"},
    {0x31, "CmdSetLimit5A", F::Framed, {4, 0}, R::Listed, {5, 0}, nullptr, "设置限流值成功"},
    {0x32, "CmdSetCap", F::Framed, {8, 0}, R::Listed, {5, 0}, "Set Capacity", "设置产品额定容量"},
    {0x33, "CmdGetCap", F::Framed, {4, 0}, R::Listed, {9, 0}, "Get Capacity", "获取产品额定容量"},
    {0x35, "CmdSetChargeCircuit", F::Framed, {6, 0}, R::Listed, {5, 0}, nullptr, nullptr},
    {0x39, "CmdSetLimitCurrent", F::Framed, {5, 0}, R::Listed, {5, 0}, nullptr, nullptr},
    {0x3A, "CmdGetLimitCurrent", F::Framed, {4, 0}, R::Listed, {6, 0}, nullptr, nullptr},
};

constexpr uint8_t kLastCode = 0x3A;

bool Listed(const std::array<uint16_t, 2>& lengths, uint32_t length) {
    for (uint16_t l : lengths)
        if (l != 0 && l == length) return true;
    return false;
}

}  // namespace

std::string ReplyResultName(uint8_t result) {
    static const char* const kNames[] = {
        "ReplyOk",          "ReplyRxLengthError",  "ReplyCmdLengthError", "ReplyBoardTypeError",
        "ReplyCmdIdError",  "ReplyHandshakeError", "ReplyChecksumError",  "ReplyOperationError",
        "ReplyNotLoggedIn", "ReplyAddressError"};
    if (result < std::size(kNames)) return kNames[result];
    if (result == ReplyOtherError) return "ReplyOtherError";
    return "Reply" + std::to_string(result);
}

const CommandRow* FindCommand(uint8_t code) {
    if (code > kLastCode) return nullptr;
    for (const CommandRow& row : kRows)
        if (row.code == code) return &row;
    return nullptr;
}

const CommandRow* FindReplyRow(uint8_t replyCode) {
    if (replyCode < frame::kReplyBit || replyCode > (frame::kReplyBit | kLastCode)) return nullptr;
    return FindCommand(static_cast<uint8_t>(replyCode & ~frame::kReplyBit));
}

const CommandRow* CommandRows(size_t& count) {
    count = std::size(kRows);
    return kRows;
}

bool AcceptsRequestLength(const CommandRow& row, uint32_t length) {
    return row.requestForm == RequestForm::Framed && Listed(row.requestLengths, length);
}

bool AcceptsReplyLength(const CommandRow& row, uint32_t length) {
    switch (row.replyRule) {
        case ReplyRule::Refused: return false;
        case ReplyRule::Any: return true;
        case ReplyRule::Listed: return Listed(row.replyLengths, length);
    }
    return false;
}

std::string ReplyName(ByteSpan frame, const ReplyNameOptions& options) {
    if (frame.size() <= frame::kCommand) return "";
    const uint8_t code = frame[frame::kCommand];
    if (code == 0x80) {
        return std::string(options.chinese ? "自动上发数据[" : "Automatic send data [") + HexText(frame) +
               "]";
    }
    if (code == 0x83 && (options.sampleVoltageOn || options.sampleCurrentOn)) {
        if (options.sampleVoltageOn) return options.chinese ? "采样电压" : "Sample V";
        return options.chinese ? "采样电流" : "Sample A";
    }
    const CommandRow* row = FindReplyRow(code);
    if (row == nullptr) return "";
    const char* name = options.chinese ? row->chineseName : row->englishName;
    return name ? name : "";
}

}  // namespace tarvel
