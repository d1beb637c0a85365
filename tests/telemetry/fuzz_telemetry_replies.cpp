// Every telemetry-side reply decoder over arbitrary bytes.
#include <cstddef>
#include <cstdint>

#include "telemetry/AdcReading.h"
#include "telemetry/DeviceInfo.h"
#include "telemetry/TelemetryRecord.h"

using namespace tarvel;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const ByteSpan frame(data, size);
    if (auto r = DecodeTelemetryReply(frame)) (void)TelemetryValueTexts(*r);
    if (auto r = DecodeSerialTelemetryReply(frame)) (void)r->serialNumber.size();
    if (auto v = DecodeVersionReply(frame)) {
        VersionTexts texts;
        UpdateVersionTexts(texts, v->hardwareText);
        (void)VersionNumberCells(*v);
    }
    (void)DecodeSerialNumberReply(frame);
    (void)DecodeDeviceText(frame);
    (void)DecodeIoState(frame);
    if (auto a = DecodeAdcReply(frame)) (void)AdcTexts(*a);
    return 0;
}
