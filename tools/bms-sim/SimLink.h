#pragma once
// Puts a Simulator on a pseudo-terminal: a thread reads the requests from the
// master side and writes the planned replies, paced at the configured baud
// rate in real wire time. The tool opens DevicePath() (or the symlink) like
// any serial port.

#include <atomic>
#include <functional>
#include <memory>
#include <string>
#include <thread>

#include "platform/serial/PseudoTerminal.h"
#include "platform/serial/StopEvent.h"
#include "tools/bms-sim/Simulator.h"

namespace tarvel::sim {

class SimLink {
public:
    explicit SimLink(SimConfig config);
    ~SimLink();
    SimLink(const SimLink&) = delete;
    SimLink& operator=(const SimLink&) = delete;

    // Opens the pseudo-terminal, makes the symlink when a path is given (an
    // old symlink there is replaced) and starts serving. False on failure,
    // with the reason in Error().
    bool Start(const std::string& linkPath = "");
    void Stop();

    const std::string& DevicePath() const { return pty_.SlavePath(); }
    // The symlink given to Start, empty when none was.
    const std::string& LinkPath() const { return linkPath_; }
    const std::string& Error() const { return error_; }
    Simulator& Sim() { return sim_; }
    bool LineDropped() const { return dropped_; }

    // Writes bytes on the line now, paced like a reply (an unprompted frame).
    void Send(Bytes bytes);
    // Called on the serving thread for each request received (a trace).
    std::function<void(const Bytes& request)> onRequest;

private:
    struct Outbox;

    void Serve();
    bool SendOutbox();
    bool Answer(const uint8_t* bytes, size_t count);
    bool Execute(const Plan& plan);
    bool Pause(uint32_t ms);
    bool WritePaced(const Bytes& bytes);
    bool Stopping() const;

    Simulator sim_;
    PseudoTerminal pty_;
    std::string linkPath_;
    std::string error_;
    StopEvent stop_;
    StopEvent wake_;  // Send() or Stop()
    std::atomic<bool> dropped_{false};
    std::unique_ptr<Outbox> outbox_;
    std::thread thread_;
};

}  // namespace tarvel::sim
