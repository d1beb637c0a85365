#pragma once
// Scripted misbehaviour of the simulated modules, as data: each fault waits
// for a request (of one code, or of any), touches that many replies and is
// used up.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "tools/bms-sim/SimFrame.h"

namespace tarvel::sim {

enum class FaultKind : uint8_t {
    Silent,         // no reply
    Late,           // the reply after `ms`
    WrongChecksum,  // the reply's sum byte is off
    OtherAddress,   // the reply comes from `address`
    Split,          // the reply in two writes, `at` bytes first (0 = half), `ms` apart
    NoiseBefore,    // `bytes` of noise in front of the reply
    DeviceText,     // an unprompted 0x94 frame with `text` before the reply
    AutoSend,       // an unprompted 0x80 frame with `bytes` before the reply
    DropOff,        // the line closes instead of a reply
    // The Length faults send the frame as its wrong L claims, with a right
    // sum: the receiver finds a whole frame and must refuse it for its Length.
    Oversize,   // L is `by` more; the frame padded with zeros to match
    Undersize,  // L is `by` less (never below 0); the frame cut to match
    CutShort,   // only the first `at` bytes (0 = half) are ever sent
    WrongCode,  // the reply carries `code`, sum made anew
    Duplicate,  // the reply sent again, `ms` after the first
    Status,     // the reply's status byte is `status`, sum made anew
    Flood,      // `floodBytes` of random noise, in writes of kFloodPiece, before the reply
    Halt,       // a record download stops after `at` of its replies (0 = half of them, at least one)
};

constexpr size_t kFloodPiece = 1024;

struct Fault {
    FaultKind kind = FaultKind::Silent;
    int command = -1;  // request code it waits for; -1 = any
    int module = -1;   // request address it waits for; -1 = any
    int times = 1;     // replies it touches; 0 = every one
    uint32_t ms = 0;
    size_t at = 0;
    Bytes bytes;
    std::string text;
    uint8_t address = 0xFE;
    uint16_t by = 1;
    uint8_t code = 0x9B;  // a reply code the tool has no row for
    uint8_t status = 7;
    size_t floodBytes = 64 * 1024;
};

// "kind[:key=value,...]" with the kinds silent, late, bad-sum, other-address,
// split, noise, text, auto, drop, oversize, undersize, cut, wrong-code,
// duplicate, status, flood, halt and the keys cmd, module, times, ms, at, addr, by, code,
// status, text and bytes (hex digits; for flood a count of bytes). Numbers
// are decimal or 0x-hex. The error names what is wrong.
std::optional<Fault> ParseFault(std::string_view spec, std::string& error);

// The kind names, comma-separated, for usage and error texts.
std::string FaultKindNames();

}  // namespace tarvel::sim
