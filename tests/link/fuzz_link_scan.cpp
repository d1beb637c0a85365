// Received bytes in arbitrary chunks through the scanner and the reply check.
#include <cstddef>
#include <cstdint>
#include <cstdlib>

#include "link/DeviceFrame.h"
#include "link/ReplyScanner.h"
#include "link/ReplyValidator.h"

using namespace tarvel;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size < 2) return 0;
    const ReplyContext context{data[0] & 0x7F, (data[0] & 0x80) != 0};
    const size_t step = 1 + data[1] % 64;  // chunk size, so splits land everywhere
    data += 2;
    size -= 2;

    ReplyLayouts layouts;
    ReplyScanner scanner([&](ByteSpan frame) {
        const size_t n = frame.size();
        if (n < frame::kMinReplyFrame || n > frame::kMaxFrame) abort();
        if (FrameLengthField(frame.data()) + frame::kOverhead != n) abort();
        if (Checksum8(frame.subspan(1, n - 2)) != frame[n - 1]) abort();
        const uint8_t verdict = ValidateReply(frame, context, layouts);
        // A status byte is its own verdict; otherwise size and sum were the scanner's to get right.
        const bool fromStatus = frame[frame::kStatus] != 0;
        if (fromStatus ? verdict != frame[frame::kStatus]
                       : (verdict == ReplyChecksumError || verdict == ReplyRxLengthError))
            abort();
        (void)ReplyName(frame);
    });
    uint32_t now = 0;
    for (size_t at = 0; at < size; at += step) {
        const size_t n = size - at < step ? size - at : step;
        scanner.ScanFrames(ByteSpan(data + at, n), now);
        now += 10 + data[at] * 4;  // gaps past one second happen too
        if (scanner.HeldBytes() >= frame::kMaxFrame) abort();
    }
    return 0;
}
