#pragma once
// Little-endian integers in byte buffers (file formats of the original
// platform, payloads of the device frames), whatever the byte order of the
// machine.

#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

namespace tarvel {

// Bytes that came from outside: a file, a stream, the line.
using ByteSpan = std::span<const uint8_t>;

// Loads and stores at a place the caller has checked to hold the value.
constexpr uint16_t LoadLe16(const uint8_t* p) { return static_cast<uint16_t>(p[0] | (p[1] << 8)); }

constexpr uint32_t LoadLe32(const uint8_t* p) {
    return static_cast<uint32_t>(p[0]) | (static_cast<uint32_t>(p[1]) << 8) |
           (static_cast<uint32_t>(p[2]) << 16) | (static_cast<uint32_t>(p[3]) << 24);
}

constexpr void StoreLe16(uint8_t* p, uint16_t v) {
    p[0] = static_cast<uint8_t>(v);
    p[1] = static_cast<uint8_t>(v >> 8);
}

constexpr void StoreLe32(uint8_t* p, uint32_t v) {
    for (int i = 0; i < 4; ++i) p[i] = static_cast<uint8_t>(v >> (8 * i));
}

// The low `bytes` bytes of `value`, low byte first, at the end of `out`.
inline void AppendLe(std::vector<uint8_t>& out, uint64_t value, int bytes) {
    for (int i = 0; i < bytes; ++i) out.push_back(static_cast<uint8_t>(value >> (8 * i)));
}
inline void AppendLe16(std::vector<uint8_t>& out, uint16_t v) { AppendLe(out, v, 2); }
inline void AppendLe32(std::vector<uint8_t>& out, uint32_t v) { AppendLe(out, v, 4); }

// Bounded reads: a field that does not lie wholly inside `bytes` reads as 0,
// so a decoder handed a short span never reads past its end.
constexpr bool SpanHolds(ByteSpan bytes, size_t offset, size_t size) {
    return offset <= bytes.size() && size <= bytes.size() - offset;
}
constexpr uint16_t ReadU16(ByteSpan bytes, size_t offset) {
    return SpanHolds(bytes, offset, 2) ? LoadLe16(bytes.data() + offset) : 0;
}
constexpr uint32_t ReadU32(ByteSpan bytes, size_t offset) {
    return SpanHolds(bytes, offset, 4) ? LoadLe32(bytes.data() + offset) : 0;
}
constexpr int16_t ReadI16(ByteSpan bytes, size_t offset) {
    return static_cast<int16_t>(ReadU16(bytes, offset));
}
constexpr int32_t ReadI32(ByteSpan bytes, size_t offset) {
    return static_cast<int32_t>(ReadU32(bytes, offset));
}

}  // namespace tarvel
