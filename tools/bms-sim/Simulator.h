#pragma once
// Simulated battery modules on one line: one module at a chosen address, or
// a parallel system of modules at addresses 1 to 64. Pure logic: bytes in,
// planned writes out; SimLink puts it on a pseudo-terminal. Thread-safe.

#include <cstdint>
#include <deque>
#include <functional>
#include <map>
#include <mutex>
#include <span>
#include <vector>

#include "tools/bms-sim/Faults.h"
#include "tools/bms-sim/ModuleState.h"
#include "tools/bms-sim/SimFrame.h"

namespace tarvel::sim {

struct SimConfig {
    std::vector<uint8_t> addresses{0};
    bool shortKb = false;
    bool shortVersion = false;
    uint32_t baud = 0;  // pace written bytes at this rate (10 bits a byte); 0 = at once
    std::vector<Fault> faults;
};

struct Transmission {
    uint32_t pauseMs = 0;  // before the bytes go out
    Bytes bytes;
};

struct Plan {
    std::vector<Transmission> sends;
    bool dropLine = false;
};

class Simulator {
public:
    explicit Simulator(SimConfig config);

    // Bytes received from the line; what to send back, in order.
    std::vector<Plan> OnBytes(std::span<const uint8_t> bytes, uint32_t nowMs);

    void AddFault(Fault fault);
    // Every request frame received, exactly as it came.
    std::vector<Bytes> Requests() const;
    void ClearRequests();
    uint64_t DroppedBytes() const;

    bool Serves(uint8_t address) const;
    ModuleState Module(uint8_t address) const;  // a copy
    void UpdateModule(uint8_t address, const std::function<void(ModuleState&)>& change);

    uint32_t Baud() const { return config_.baud; }

    // Unprompted frames a module sends by itself.
    static Bytes DeviceTextFrame(uint8_t address, std::string_view text);
    static Bytes AutoSendFrame(uint8_t address, std::span<const uint8_t> data);

private:
    Plan Handle(const Request& request);
    std::vector<Fault> TakeFaults(uint8_t code, uint8_t address);

    mutable std::mutex mutex_;
    SimConfig config_;
    std::map<uint8_t, ModuleState> modules_;
    std::deque<Fault> faults_;
    std::vector<Bytes> requests_;
    RequestReader reader_;
};

}  // namespace tarvel::sim
