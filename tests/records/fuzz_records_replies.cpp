// The record-side reply decoders over arbitrary bytes, applied to rows.
#include <cstddef>
#include <cstdint>

#include "records/AutoTsbs.h"
#include "records/DailyRecords.h"
#include "records/HisAlarm.h"

using namespace tarvel;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const ByteSpan frame(data, size);
    if (auto batch = DecodeHisAlarmReply(frame)) {
        RecordRows rows(kHisAlarmColumns);
        ApplyHisAlarmBatch(rows, *batch);
    }
    if (auto batch = DecodeDailyReply(frame)) {
        RecordRows rows(kDailyColumns);
        ApplyDailyBatch(rows, *batch);
    }
    if (auto batch = DecodeAutoTsbsReply(frame)) {
        RecordRows rows(kAutoTsbsColumns);
        ApplyAutoTsbsBatch(rows, *batch);
    }
    (void)DecodeStoringState(frame);
    return 0;
}
