#include "link/ReplyValidator.h"

#include <gtest/gtest.h>

#include "link/DeviceFrame.h"

namespace tarvel {
namespace {

using Bytes = std::vector<uint8_t>;

// A reply frame: status byte then `dataSize` zero bytes of data.
Bytes Reply(uint8_t address, uint8_t code, size_t dataSize = 0, uint8_t status = 0) {
    Bytes data(dataSize + 1, 0);
    data[0] = status;
    return BuildFrame(address, code, data);
}

Bytes Resummed(Bytes frame) {
    frame.back() = Checksum8(frame.data() + 1, frame.size() - 2);
    return frame;
}

struct Case {
    const char* what;
    Bytes frame;
    ReplyContext context;
    uint8_t verdict;
};

ReplyContext At(int address, bool loggedIn = true) { return ReplyContext{address, loggedIn}; }

TEST(ValidateReply, VerdictsInTheirOrder) {
    Bytes wrongBoard = Reply(1, 0x89);
    wrongBoard[3] = 2;
    Bytes wrongHandshake = Reply(1, 0x89);
    wrongHandshake[6] = 0xAB;
    Bytes wrongSum = Reply(1, 0x89);
    wrongSum.back() ^= 0x01;
    Bytes longerThanL = Reply(1, 0x89);
    longerThanL.push_back(0);
    Bytes eightBytes = BuildRequest(1, 0x89);
    Bytes statusAndForeign = Reply(7, 0x89, 0, 3);
    Bytes lengthBeyondFrame = Resummed(Reply(1, 0x86, 10));
    lengthBeyondFrame[2] = 85;

    const Case cases[] = {
        {"acknowledgement", Reply(1, 0x89), At(1), ReplyOk},
        {"telemetry", Reply(0, 0x83, 96), At(0), ReplyOk},
        {"status 3 shares the board-type value", Reply(1, 0x89, 0, 3), At(1), 3},
        {"status 7", Reply(1, 0x89, 0, 7), At(1), ReplyOperationError},
        {"status 255", Reply(1, 0x89, 0, 255), At(1), ReplyOtherError},
        {"status comes before the address", statusAndForeign, At(1), 3},
        {"another address", Reply(2, 0x89), At(1), ReplyAddressError},
        {"no module chosen", Reply(0xFF, 0x89), At(-1), ReplyAddressError},
        {"device text from any address", Reply(9, 0x94, 12), At(1, false), ReplyOk},
        {"frame under 9 bytes", eightBytes, At(1), ReplyRxLengthError},
        {"frame longer than L + 4", longerThanL, At(1), ReplyRxLengthError},
        {"L beyond the frame", lengthBeyondFrame, At(1), ReplyRxLengthError},
        {"board type", wrongBoard, At(1), ReplyBoardTypeError},
        {"version while logged out", Reply(1, 0x86, 80), At(1, false), ReplyNotLoggedIn},
        {"login reply while logged out", Reply(1, 0x81), At(1, false), ReplyOk},
        {"logout reply while logged out", Reply(1, 0x82), At(1, false), ReplyOk},
        {"telemetry while logged out", Reply(1, 0x83, 96), At(1, false), ReplyOk},
        {"parameters while logged out", Reply(1, 0x95, 140), At(1, false), ReplyOk},
        {"reply without a row", Reply(1, 0x85, 19), At(1), ReplyCmdIdError},
        {"automatic send is refused", Reply(1, 0x80, 4), At(1), ReplyCmdIdError},
        {"code past the table", Reply(1, 0xBB), At(1), ReplyCmdIdError},
        {"gap code 0xB4", Reply(1, 0xB4), At(1), ReplyCmdIdError},
        {"reply to 0x16 is refused", Reply(1, 0x96), At(1), ReplyCmdIdError},
        {"request code taken as a reply", Reply(1, 0x03, 96), At(1), ReplyCmdIdError},
        {"capacity write acknowledged", Reply(1, 0xB2), At(1), ReplyOk},
        {"alarm erase acknowledged", Reply(1, 0x9A), At(1), ReplyOk},
        {"limit-current write acknowledged", Reply(1, 0xB9), At(1), ReplyOk},
        {"KB reply of 64", Reply(1, 0x87, 59), At(1), ReplyCmdLengthError},
        {"KB reply of 63", Reply(1, 0x87, 58), At(1), ReplyOk},
        {"version short layout", Reply(1, 0x86, 10), At(1), ReplyOk},
        {"work-mode write, any Length", Reply(1, 0x98, 7), At(1), ReplyOk},
        {"handshake", Resummed(wrongHandshake), At(1), ReplyHandshakeError},
        {"checksum", wrongSum, At(1), ReplyChecksumError},
    };
    for (const Case& c : cases) {
        ReplyLayouts layouts;
        EXPECT_EQ(ValidateReply(c.frame, c.context, layouts), c.verdict) << c.what;
    }
}

TEST(ValidateReply, LayoutsFollowTheReplyLengths) {
    ReplyLayouts layouts;
    const auto check = [&](const Bytes& frame, bool loggedIn = true) {
        return ValidateReply(frame, At(1, loggedIn), layouts);
    };
    EXPECT_EQ(check(Reply(1, 0x87, 58)), ReplyOk);
    EXPECT_EQ(layouts.kbLayout, 0);
    // Refused for the login state: the flag stays.
    EXPECT_EQ(check(Reply(1, 0x87, 66), false), ReplyNotLoggedIn);
    EXPECT_EQ(layouts.kbLayout, 0);
    EXPECT_EQ(check(Reply(1, 0x87, 66)), ReplyOk);
    EXPECT_EQ(layouts.kbLayout, 1);

    // The setting stays when a later check fails.
    Bytes history = Reply(1, 0x99, 408);
    history.back() ^= 0xFF;
    EXPECT_EQ(check(history), ReplyChecksumError);
    EXPECT_EQ(layouts.historyLayout, 0);
    EXPECT_EQ(check(Reply(1, 0xAD, 428)), ReplyOk);
    EXPECT_EQ(layouts.historyLayout, 1);
    EXPECT_EQ(layouts.kbLayout, 1);
}

}  // namespace
}  // namespace tarvel
