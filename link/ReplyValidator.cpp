#include "link/ReplyValidator.h"

#include "link/DeviceFrame.h"

namespace tarvel {

namespace {

constexpr uint8_t kDeviceText = 0x94;

bool PassesWhileLoggedOut(uint8_t code) {
    return code == 0x81 || code == 0x82 || code == 0x83 || code == kDeviceText || code == 0x95;
}

void LearnLayouts(uint8_t code, uint32_t length, ReplyLayouts& layouts) {
    if (code == 0x87) {
        if (length == 71) layouts.kbLayout = 1;
        if (length == 63) layouts.kbLayout = 0;
    } else if (code == 0x99 || code == 0xAD) {
        if (length == 433) layouts.historyLayout = 1;
        if (length == 413) layouts.historyLayout = 0;
    }
}

}  // namespace

ReplyResult ValidateReply(ByteSpan frame, const ReplyContext& context, ReplyLayouts& layouts) {
    const size_t size = frame.size();
    if (size < frame::kMinReplyFrame) return ReplyRxLengthError;
    const uint8_t status = frame[frame::kStatus];
    if (status != 0) return static_cast<ReplyResult>(status);

    const uint8_t code = frame[frame::kCommand];
    if (code != kDeviceText && frame[frame::kAddress] != context.moduleAddress) return ReplyAddressError;

    const uint32_t length = FrameLengthField(frame.data());
    if (uint64_t{length} + frame::kOverhead != size) return ReplyRxLengthError;
    if (frame[frame::kBoardType] != frame::kBoardTypeValue) return ReplyBoardTypeError;
    if (!context.loggedIn && !PassesWhileLoggedOut(code)) return ReplyNotLoggedIn;

    const CommandRow* row = FindReplyRow(code);
    LearnLayouts(code, length, layouts);
    if (row == nullptr || row->replyRule == ReplyRule::Refused) return ReplyCmdIdError;
    if (!AcceptsReplyLength(*row, length)) return ReplyCmdLengthError;

    if (frame[frame::kHandshake1] != frame::kHandshakeByte1 ||
        frame[frame::kHandshake2] != frame::kHandshakeByte2)
        return ReplyHandshakeError;
    if (Checksum8(frame.subspan(1, size - 2)) != frame[size - 1]) return ReplyChecksumError;
    return ReplyOk;
}

}  // namespace tarvel
