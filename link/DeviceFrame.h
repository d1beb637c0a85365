#pragma once
// The frame both directions use: address, Length (high byte first), board
// type, command, handshake 55 AA, data, and an 8-bit sum of everything but
// the address. Payload numbers are little-endian (platform/base/LittleEndian.h);
// only Length is not.
//
// This is the whole codec of the link: requests are built and replies taken
// apart here; the feature folders only give the fields their meaning.

#include <cstddef>
#include <cstdint>
#include <initializer_list>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "platform/base/LittleEndian.h"

namespace tarvel {

using FrameBytes = std::vector<uint8_t>;

namespace frame {
constexpr size_t kAddress = 0;
constexpr size_t kLengthHigh = 1;
constexpr size_t kLengthLow = 2;
constexpr size_t kBoardType = 3;
constexpr size_t kCommand = 4;
constexpr size_t kHandshake1 = 5;
constexpr size_t kHandshake2 = 6;
constexpr size_t kStatus = 7;  // replies only
constexpr size_t kRequestData = 7;
constexpr size_t kReplyData = 8;

constexpr uint8_t kBoardTypeValue = 1;
constexpr uint8_t kHandshakeByte1 = 0x55;
constexpr uint8_t kHandshakeByte2 = 0xAA;
constexpr uint8_t kReplyBit = 0x80;

constexpr uint32_t kPlainLength = 4;    // L of a request without data
constexpr uint32_t kAckLength = 5;      // L of a reply without data
constexpr uint32_t kMinReplyFrame = 9;  // the smallest reply frame
constexpr uint32_t kMaxFrame = 5000;    // the largest frame the tool takes in
constexpr uint32_t kOverhead = 4;       // frame size = L + 4
constexpr size_t kTxFrameSize = 500;    // the transmit buffer every builder writes into
}  // namespace frame

// Sum of the bytes modulo 256.
uint8_t Checksum8(const uint8_t* bytes, size_t count);
inline uint8_t Checksum8(ByteSpan bytes) { return Checksum8(bytes.data(), bytes.size()); }

inline uint8_t LoByte(uint32_t v) { return static_cast<uint8_t>(v & 0xFF); }
inline uint8_t HiByte(uint32_t v) { return static_cast<uint8_t>((v >> 8) & 0xFF); }

// Each byte as two upper-case hex digits and a blank; no bytes give "".
std::string HexText(const uint8_t* bytes, size_t count);
inline std::string HexText(ByteSpan bytes) { return HexText(bytes.data(), bytes.size()); }

// The Length field of a frame whose first three bytes are held.
inline uint32_t FrameLengthField(const uint8_t* frame) {
    return (uint32_t{frame[frame::kLengthHigh]} << 8) | frame[frame::kLengthLow];
}

// A request frame: address, L = 4 + data, board type 1, command, 55 AA, data, sum.
FrameBytes BuildFrame(uint8_t address, uint8_t command, ByteSpan data);
// The plain 8-byte request without data.
FrameBytes BuildRequest(uint8_t address, uint8_t command);
// The 6-byte short frame of the battery-information query 0x16.
FrameBytes BuildShortFrame(uint8_t moduleIndex);

// The item index of the module-address box as the address byte: its low byte,
// 0xFF when no item is chosen (index -1).
uint8_t RequestAddress(int itemIndex);

constexpr uint8_t ReplyCode(uint8_t command) { return static_cast<uint8_t>(command | frame::kReplyBit); }

// The data of reply `code` (after the status byte, before the checksum) when
// `frame` is one whole frame of that code whose Length is one of `lengths`
// (empty list: any Length of at least 5). Nothing else is accepted.
std::optional<ByteSpan> ReplyData(ByteSpan frame, uint8_t code, std::initializer_list<uint16_t> lengths);

// Text bytes of the module: up to the first zero, never beyond `bytes`.
std::string TextUntilZero(ByteSpan bytes);

// The width and signedness of a field the tool writes to a module.
enum class FieldType { U8, U16, I16, I32, U32 };
int FieldSize(FieldType type);
bool FieldHolds(FieldType type, int64_t value);
// The refusal for a value that does not fit: "<cell>: <value> is out of
// range (<min> to <max>)"; empty when it fits.
std::string FieldRangeRefusal(FieldType type, int64_t value, std::string_view cell);

// A request that is built only when every value fits its field.
struct RequestBuild {
    FrameBytes frame;
    std::string refusal;  // why nothing may be sent; empty when `frame` holds the request
    bool Ok() const { return refusal.empty(); }
};

}  // namespace tarvel
