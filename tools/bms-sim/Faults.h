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
};

struct Fault {
    FaultKind kind = FaultKind::Silent;
    int command = -1;  // request code it waits for; -1 = any
    int times = 1;     // replies it touches; 0 = every one
    uint32_t ms = 0;
    size_t at = 0;
    Bytes bytes;
    std::string text;
    uint8_t address = 0xFE;
};

// "kind[:key=value,...]" with the kinds silent, late, bad-sum, other-address,
// split, noise, text, auto, drop and the keys cmd, times, ms, at, addr, text,
// bytes (hex digits). Numbers are decimal or 0x-hex. The error names what is wrong.
std::optional<Fault> ParseFault(std::string_view spec, std::string& error);

}  // namespace tarvel::sim
