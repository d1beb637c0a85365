#pragma once
// Every command code the tool sends or accepts: the Length of its request,
// the Lengths accepted for its reply and the name the result line gives it.

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>

#include "platform/base/LittleEndian.h"

namespace tarvel {

enum : uint8_t {
    CmdAutoSend = 0x00,
    CmdLogin = 0x01,
    CmdLogout = 0x02,
    CmdQuerySbs = 0x03,
    CmdReadAdc = 0x04,
    CmdReadIo = 0x05,
    CmdGetVer = 0x06,
    CmdReadKb = 0x07,
    CmdWriteKb = 0x08,
    CmdWriteBms = 0x09,
    CmdOpenChg = 0x0A,
    CmdCloseChg = 0x0B,
    CmdOpenDis = 0x0C,
    CmdCloseDis = 0x0D,
    CmdGetHistory = 0x0E,
    CmdSetHistory = 0x0F,
    CmdReadSerialNum = 0x10,
    CmdWriteSerialNum = 0x11,
    CmdQuerySbsBySerial = 0x12,
    CmdSetLife = 0x13,
    CmdDeviceText = 0x14,
    CmdReadBms = 0x15,
    CmdQueryExt = 0x16,
    CmdGetWorkMode = 0x17,
    CmdSetWorkMode = 0x18,
    CmdGetHisAlarm = 0x19,
    CmdClearHisAlarm = 0x1A,
    CmdSetSysDate = 0x20,
    CmdGetAutoTsbsData = 0x21,
    CmdClearAutoTsbsData = 0x22,
    CmdOpenSpeaker = 0x23,
    CmdCloseSpeaker = 0x24,
    CmdCheckDisTime = 0x25,
    CmdSetDisTime = 0x26,
    CmdOpenChLimit = 0x27,
    CmdCloseChLimit = 0x28,
    CmdGetSysDate = 0x29,
    CmdCheckFunction = 0x2A,
    CmdEndGetSbs = 0x2B,
    CmdBeginGetSbs = 0x2C,
    CmdGetAnyHisAlarm = 0x2D,
    CmdGetDailyRecords = 0x2E,
    CmdSetProtect = 0x2F,
    CmdSetLimit10A = 0x30,
    CmdSetLimit5A = 0x31,
    CmdSetCap = 0x32,
    CmdGetCap = 0x33,
    CmdSetChargeCircuit = 0x35,
    CmdSetLimitCurrent = 0x39,
    CmdGetLimitCurrent = 0x3A,
};

// The verdict of the reply check. A module's nonzero status byte is taken as
// the verdict itself, so 7 and 255 come only from the module.
enum ReplyResult : uint8_t {
    ReplyOk = 0,
    ReplyRxLengthError = 1,
    ReplyCmdLengthError = 2,
    ReplyBoardTypeError = 3,
    ReplyCmdIdError = 4,
    ReplyHandshakeError = 5,
    ReplyChecksumError = 6,
    ReplyOperationError = 7,
    ReplyNotLoggedIn = 8,
    ReplyAddressError = 9,
    ReplyOtherError = 255,
};
// "ReplyOk", ...; a value without a name gives "Reply<n>".
std::string ReplyResultName(uint8_t result);

enum class RequestForm : uint8_t {
    Framed,      // a DeviceFrame with one of requestLengths
    NeverSent,   // the module sends the reply by itself
    ShortFrame,  // 0x16's own 6-byte frame
};

enum class ReplyRule : uint8_t {
    Refused,  // no row for the reply: verdict 4
    Any,      // every Length
    Listed,   // one of replyLengths
};

struct CommandRow {
    uint8_t code;
    const char* name;
    RequestForm requestForm;
    std::array<uint16_t, 2> requestLengths;  // 0 = unused slot
    ReplyRule replyRule;
    std::array<uint16_t, 2> replyLengths;  // 0 = unused slot
    const char* englishName;               // result-line name, nullptr = none
    const char* chineseName;
};

// The row of a request code, nullptr for a code the tool neither sends nor takes.
const CommandRow* FindCommand(uint8_t code);
// The row of a reply code (0x80..0xBA), nullptr otherwise.
const CommandRow* FindReplyRow(uint8_t replyCode);
// All rows, in code order.
const CommandRow* CommandRows(size_t& count);

bool AcceptsRequestLength(const CommandRow& row, uint32_t length);
bool AcceptsReplyLength(const CommandRow& row, uint32_t length);

struct ReplyNameOptions {
    bool sampleVoltageOn = false;
    bool sampleCurrentOn = false;
    bool chinese = false;
};
// The result-line name of a reply frame; "" for a code without one. Reply 0x80
// shows the whole frame in hex between brackets.
std::string ReplyName(ByteSpan frame, const ReplyNameOptions& options = {});

}  // namespace tarvel
