#include "link/DeviceFrame.h"

#include <algorithm>
#include <limits>

#include "platform/base/Strings.h"

namespace tarvel {

uint8_t Checksum8(const uint8_t* bytes, size_t count) {
    uint8_t sum = 0;
    for (size_t i = 0; i < count; ++i) sum = static_cast<uint8_t>(sum + bytes[i]);
    return sum;
}

std::string HexText(const uint8_t* bytes, size_t count) {
    static const char kDigits[] = "0123456789ABCDEF";
    std::string text;
    text.reserve(count * 3);
    for (size_t i = 0; i < count; ++i) {
        text += kDigits[bytes[i] >> 4];
        text += kDigits[bytes[i] & 0x0F];
        text += ' ';
    }
    return text;
}

FrameBytes BuildFrame(uint8_t address, uint8_t command, ByteSpan data) {
    const uint32_t length = frame::kPlainLength + static_cast<uint32_t>(data.size());
    FrameBytes out;
    out.reserve(length + frame::kOverhead);
    out.push_back(address);
    out.push_back(HiByte(length));
    out.push_back(LoByte(length));
    out.push_back(frame::kBoardTypeValue);
    out.push_back(command);
    out.push_back(frame::kHandshakeByte1);
    out.push_back(frame::kHandshakeByte2);
    out.insert(out.end(), data.begin(), data.end());
    out.push_back(Checksum8(out.data() + 1, out.size() - 1));
    return out;
}

FrameBytes BuildRequest(uint8_t address, uint8_t command) { return BuildFrame(address, command, {}); }

FrameBytes BuildShortFrame(uint8_t moduleIndex) {
    FrameBytes out{frame::kHandshakeByte1, frame::kHandshakeByte2, 0x16, 0x01, moduleIndex};
    out.push_back(Checksum8(out.data(), out.size()));
    return out;
}

uint8_t RequestAddress(int itemIndex) {
    return itemIndex < 0 ? 0xFF : static_cast<uint8_t>(itemIndex & 0xFF);
}

std::optional<ByteSpan> ReplyData(ByteSpan frame, uint8_t code, std::initializer_list<uint16_t> lengths) {
    if (frame.size() < frame::kMinReplyFrame || frame[frame::kCommand] != code) return std::nullopt;
    const uint32_t length = FrameLengthField(frame.data());
    if (length < frame::kAckLength || frame.size() != static_cast<size_t>(length) + frame::kOverhead)
        return std::nullopt;
    if (lengths.size() != 0 && std::find(lengths.begin(), lengths.end(), length) == lengths.end())
        return std::nullopt;
    return frame.subspan(frame::kReplyData, static_cast<size_t>(length) - frame::kAckLength);
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
