#include "telemetry/FrameBytes.h"

#include <algorithm>
#include <limits>

#include "platform/base/Strings.h"

namespace tarvel {

uint8_t FrameChecksum(ByteSpan bytes) {
    uint8_t sum = 0;
    for (uint8_t b : bytes) sum = static_cast<uint8_t>(sum + b);
    return sum;
}

uint16_t FrameLengthField(ByteSpan frame) {
    if (frame.size() < 3) return 0;
    return static_cast<uint16_t>(frame[1] << 8 | frame[2]);
}

std::optional<ByteSpan> ReplyData(ByteSpan frame, uint8_t code, std::initializer_list<uint16_t> lengths) {
    if (frame.size() < kReplyDataOffset + 1 || frame[4] != code) return std::nullopt;
    const uint16_t length = FrameLengthField(frame);
    if (length < 5 || frame.size() != static_cast<size_t>(length) + 4) return std::nullopt;
    if (lengths.size() != 0 && std::find(lengths.begin(), lengths.end(), length) == lengths.end()) return std::nullopt;
    return frame.subspan(kReplyDataOffset, static_cast<size_t>(length) - 5);
}

FrameBytes BuildRequestFrame(uint8_t address, uint8_t command, ByteSpan data) {
    const size_t length = data.size() + 4;
    FrameBytes frame{address, static_cast<uint8_t>(length >> 8), static_cast<uint8_t>(length), 0x01, command, 0x55,
                     0xAA};
    frame.insert(frame.end(), data.begin(), data.end());
    frame.push_back(FrameChecksum(ByteSpan(frame).subspan(1)));
    return frame;
}

uint16_t ReadU16(ByteSpan data, size_t offset) {
    return static_cast<uint16_t>(data[offset] | data[offset + 1] << 8);
}

int16_t ReadI16(ByteSpan data, size_t offset) { return static_cast<int16_t>(ReadU16(data, offset)); }

uint32_t ReadU32(ByteSpan data, size_t offset) {
    return static_cast<uint32_t>(data[offset]) | static_cast<uint32_t>(data[offset + 1]) << 8 |
           static_cast<uint32_t>(data[offset + 2]) << 16 | static_cast<uint32_t>(data[offset + 3]) << 24;
}

int32_t ReadI32(ByteSpan data, size_t offset) { return static_cast<int32_t>(ReadU32(data, offset)); }

void AppendLe(FrameBytes& out, uint64_t value, int bytes) {
    for (int i = 0; i < bytes; ++i) out.push_back(static_cast<uint8_t>(value >> (8 * i)));
}

std::string TextUntilZero(ByteSpan bytes) {
    const auto end = std::find(bytes.begin(), bytes.end(), uint8_t{0});
    return std::string(bytes.begin(), end);
}

namespace {

struct FieldLimits {
    int size;
    int64_t min, max;
};

FieldLimits LimitsOf(FieldType type) {
    switch (type) {
        case FieldType::U8: return {1, 0, 255};
        case FieldType::U16: return {2, 0, 65535};
        case FieldType::I16: return {2, -32768, 32767};
        case FieldType::I32: return {4, std::numeric_limits<int32_t>::min(), std::numeric_limits<int32_t>::max()};
        case FieldType::U32: return {4, 0, std::numeric_limits<uint32_t>::max()};
    }
    return {1, 0, 0};
}

}  // namespace

int FieldSize(FieldType type) { return LimitsOf(type).size; }

bool FieldHolds(FieldType type, int64_t value) {
    const FieldLimits limits = LimitsOf(type);
    return value >= limits.min && value <= limits.max;
}

std::string FieldRangeRefusal(FieldType type, int64_t value, std::string_view cell) {
    if (FieldHolds(type, value)) return {};
    const FieldLimits limits = LimitsOf(type);
    return std::string(cell) + ": " + IntToStr(value) + " is out of range (" + IntToStr(limits.min) + " to " +
           IntToStr(limits.max) + ")";
}

}  // namespace tarvel
