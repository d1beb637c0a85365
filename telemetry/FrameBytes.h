#pragma once
// Byte-level helpers shared by the reply decoders and the request encoders
// of the device data, over the link's frame facts: the reply's data span,
// little-endian fields, module texts, and the range check that keeps a value
// from being cut to its field's width on its way to a module.

#include <cstddef>
#include <cstdint>
#include <initializer_list>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "link/CommandTable.h"
#include "link/DeviceFrame.h"

namespace tarvel {

using ByteSpan = std::span<const uint8_t>;
using FrameBytes = std::vector<uint8_t>;

constexpr uint8_t ReplyCode(uint8_t command) { return static_cast<uint8_t>(command | frame::kReplyBit); }

// The data of reply `code` (after the status byte, before the checksum) when
// `frame` is one whole frame of that code whose Length is one of `lengths`
// (empty list: any Length of at least 5). Nothing else is accepted.
std::optional<ByteSpan> ReplyData(ByteSpan frame, uint8_t code, std::initializer_list<uint16_t> lengths);
// Fields of a span the caller has checked to hold them.
inline uint16_t ReadU16(ByteSpan data, size_t offset) { return GetU16(data.data() + offset); }
inline int16_t ReadI16(ByteSpan data, size_t offset) { return GetI16(data.data() + offset); }
inline uint32_t ReadU32(ByteSpan data, size_t offset) { return GetU32(data.data() + offset); }
inline int32_t ReadI32(ByteSpan data, size_t offset) { return GetI32(data.data() + offset); }
// The low `bytes` bytes of `value`, low byte first.
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
