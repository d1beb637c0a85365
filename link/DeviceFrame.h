#pragma once
// The frame both directions use: address, Length (high byte first), board
// type, command, handshake 55 AA, data, and an 8-bit sum of everything but
// the address. Payload numbers are little-endian; only Length is not.

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <vector>

namespace tarvel {

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
inline uint8_t Checksum8(std::span<const uint8_t> bytes) { return Checksum8(bytes.data(), bytes.size()); }

inline uint8_t LoByte(uint32_t v) { return static_cast<uint8_t>(v & 0xFF); }
inline uint8_t HiByte(uint32_t v) { return static_cast<uint8_t>((v >> 8) & 0xFF); }

// Each byte as two upper-case hex digits and a blank; no bytes give "".
std::string HexText(const uint8_t* bytes, size_t count);
inline std::string HexText(std::span<const uint8_t> bytes) { return HexText(bytes.data(), bytes.size()); }

// The Length field of a frame whose first three bytes are held.
inline uint32_t FrameLengthField(const uint8_t* frame) {
    return (uint32_t{frame[frame::kLengthHigh]} << 8) | frame[frame::kLengthLow];
}

// A request frame: address, L = 4 + data, board type 1, command, 55 AA, data, sum.
std::vector<uint8_t> BuildFrame(uint8_t address, uint8_t command, std::span<const uint8_t> data);
// The plain 8-byte request without data.
std::vector<uint8_t> BuildRequest(uint8_t address, uint8_t command);
// The 6-byte short frame of the battery-information query 0x16.
std::vector<uint8_t> BuildShortFrame(uint8_t moduleIndex);

// The item index of the module-address box as the address byte: its low byte,
// 0xFF when no item is chosen (index -1).
uint8_t RequestAddress(int itemIndex);

// Little-endian readers and writers of payload numbers.
inline uint16_t GetU16(const uint8_t* p) { return static_cast<uint16_t>(p[0] | (p[1] << 8)); }
inline int16_t GetI16(const uint8_t* p) { return static_cast<int16_t>(GetU16(p)); }
inline uint32_t GetU32(const uint8_t* p) {
    return uint32_t{p[0]} | (uint32_t{p[1]} << 8) | (uint32_t{p[2]} << 16) | (uint32_t{p[3]} << 24);
}
inline int32_t GetI32(const uint8_t* p) { return static_cast<int32_t>(GetU32(p)); }
void PutU16(std::vector<uint8_t>& out, uint16_t v);
void PutU32(std::vector<uint8_t>& out, uint32_t v);

}  // namespace tarvel
