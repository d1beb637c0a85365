#pragma once
// The module's side of the wire: replies as the firmware lays them out, and
// the requests it picks out of the received bytes.

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <vector>

namespace tarvel::sim {

using Bytes = std::vector<uint8_t>;

// address, Length (high byte first), 1, code, 55 AA, status, data, sum of
// bytes 1 .. L+2.
Bytes MakeReply(uint8_t address, uint8_t code, uint8_t status, std::span<const uint8_t> data);

// The frame laid out again for Length `length` (at most 0xFFFF): cut, or
// padded with zeros, to length + 4 bytes, with its sum made anew.
Bytes WithLength(const Bytes& frame, size_t length);

struct Request {
    Bytes frame;  // the whole frame as received
    bool shortFrame = false;
    uint8_t address = 0;  // short frame: the module index
    uint8_t code = 0;
    Bytes data;  // after the handshake, before the sum
};

// Picks requests out of a byte stream that may split them anywhere. Bytes
// that belong to no request are counted and dropped; a partial request older
// than a second is dropped too.
class RequestReader {
public:
    std::vector<Request> Feed(std::span<const uint8_t> bytes, uint32_t nowMs);
    uint64_t Dropped() const { return dropped_; }

private:
    Bytes held_;
    uint32_t lastMs_ = 0;
    uint64_t dropped_ = 0;
};

// Little-endian writers of the payload.
void Put16(Bytes& out, uint16_t v);
void Put32(Bytes& out, uint32_t v);
void PutText(Bytes& out, const char* text, size_t width);  // zero-padded, cut to width

}  // namespace tarvel::sim
