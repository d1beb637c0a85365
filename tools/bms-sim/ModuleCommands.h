#pragma once
// How a module answers each request: one row per command code with the
// request Lengths it takes, whether it wants a login first, and the handler
// that builds the reply data from the module's state. New replies are new
// rows or new handler bodies; nothing else needs to change.

#include <array>
#include <cstdint>
#include <vector>

#include "tools/bms-sim/ModuleState.h"
#include "tools/bms-sim/SimFrame.h"

namespace tarvel::sim {

struct SimReply {
    bool silent = false;  // the module says nothing
    uint8_t code = 0;     // reply code
    uint8_t status = 0;
    Bytes data;                         // after the status byte
    std::vector<Bytes> following = {};  // data of further replies of the same code, back to back
};

inline SimReply Silence() {
    SimReply reply;
    reply.silent = true;
    return reply;
}

using CommandHandler = SimReply (*)(ModuleState& module, const Request& request);

struct SimCommand {
    uint8_t code;
    std::array<uint16_t, 2> requestLengths;  // L of the request; 0 = unused slot
    bool needsLogin;
    CommandHandler handler;
};

const SimCommand* FindSimCommand(uint8_t code);

// The module's answer: silence for a code it does not know or ignores; status 255 for a
// wrong request Length or a command that wants a login first.
SimReply Answer(ModuleState& module, const Request& request);

constexpr uint8_t kStatusRefused = 255;

}  // namespace tarvel::sim
