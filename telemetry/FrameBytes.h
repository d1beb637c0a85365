#pragma once
// Byte-level helpers shared by the reply decoders and the request encoders:
// little-endian fields, the reply's data span, whole request frames and the
// range check that keeps a value from being cut to its field's width.

#include <cstddef>
#include <cstdint>
#include <initializer_list>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace tarvel {

using ByteSpan = std::span<const uint8_t>;
using FrameBytes = std::vector<uint8_t>;

// Frame positions: address, length (high byte first), board type, command,
// handshake, then the data; a reply's data begin after its status byte.
constexpr size_t kFrameHeaderSize = 7;
constexpr size_t kReplyDataOffset = 8;

uint8_t FrameChecksum(ByteSpan bytes);  // 8-bit sum, carry dropped

// The data of reply `code` (after the status byte, before the checksum) when
// `frame` is one whole frame of that code whose Length is one of `lengths`
// (empty list: any Length of at least 5). Nothing else is accepted.
std::optional<ByteSpan> ReplyData(ByteSpan frame, uint8_t code, std::initializer_list<uint16_t> lengths);
uint16_t FrameLengthField(ByteSpan frame);  // 0 when the frame is shorter than 3 bytes

// A request frame: address, Length, board type 1, command, 0x55 0xAA, data, sum.
FrameBytes BuildRequestFrame(uint8_t address, uint8_t command, ByteSpan data = {});

uint16_t ReadU16(ByteSpan data, size_t offset);
int16_t ReadI16(ByteSpan data, size_t offset);
uint32_t ReadU32(ByteSpan data, size_t offset);
int32_t ReadI32(ByteSpan data, size_t offset);
void AppendLe(FrameBytes& out, uint64_t value, int bytes);

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
