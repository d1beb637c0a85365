#include "telemetry/FrameBytes.h"

#include <algorithm>
#include <limits>

#include "platform/base/Strings.h"

namespace tarvel {

std::optional<ByteSpan> ReplyData(ByteSpan frame, uint8_t code, std::initializer_list<uint16_t> lengths) {
    if (frame.size() < frame::kMinReplyFrame || frame[frame::kCommand] != code) return std::nullopt;
    const uint32_t length = FrameLengthField(frame.data());
    if (length < 5 || frame.size() != static_cast<size_t>(length) + 4) return std::nullopt;
    if (lengths.size() != 0 && std::find(lengths.begin(), lengths.end(), length) == lengths.end())
        return std::nullopt;
    return frame.subspan(frame::kReplyData, static_cast<size_t>(length) - frame::kAckLength);
}

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
        case FieldType::I32:
            return {4, std::numeric_limits<int32_t>::min(), std::numeric_limits<int32_t>::max()};
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
