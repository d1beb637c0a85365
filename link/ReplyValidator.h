#pragma once
// The reply check: the verdict (a ReplyResult) of one complete frame.

#include <cstddef>
#include <cstdint>

#include "link/CommandTable.h"
#include "platform/base/LittleEndian.h"

namespace tarvel {

// What the check reads of the main window's state.
struct ReplyContext {
    int moduleAddress = 0;  // item index of the module-address box; -1 = none chosen
    bool loggedIn = false;
};

// The layouts the check learns from the Length of a reply; 1 at start.
struct ReplyLayouts {
    int32_t kbLayout = 1;       // 0x87: 71 -> 1, 63 -> 0
    int32_t historyLayout = 1;  // 0x99, 0xAD: 433 -> 1, 413 -> 0
};

// Checks in this order, the first failure giving the verdict: size (< 9 bytes
// gives 1), status byte, address (not for the unprompted text 0x94), frame
// size = L + 4, board type, login (0x81, 0x82, 0x83, 0x94, 0x95 pass while
// logged out), the Length table (which first sets the layouts), handshake,
// checksum. Every check runs whether or not a request is outstanding.
ReplyResult ValidateReply(ByteSpan frame, const ReplyContext& context, ReplyLayouts& layouts);

}  // namespace tarvel
