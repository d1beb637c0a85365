// The adjustment-side reply decoders over arbitrary bytes.
#include <cstddef>
#include <cstdint>

#include "adjust/DeviceClock.h"
#include "adjust/KbBlock.h"
#include "adjust/ProtectionParameters.h"
#include "adjust/RatedCapacity.h"

using namespace tarvel;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const ByteSpan frame(data, size);
    (void)DecodeProtectionReply(frame);
    if (auto kb = DecodeKbReply(frame)) (void)MakeKbDisplay(*kb);
    (void)DecodeCapacityReply(frame);
    if (auto h = DecodeRunHistoryReply(frame)) (void)MakeRunHistoryCells(*h);
    if (auto t = DecodeClockReply(frame)) (void)ClockEditTexts(*t);
    return 0;
}
