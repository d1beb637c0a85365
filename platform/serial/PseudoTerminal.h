#pragma once
// A pseudo-terminal pair for simulated modules and tests: we hold the master
// side, a serial component opens the slave side by its path like any port.

#include <string>

#include "platform/serial/SerialStream.h"

namespace tarvel {

// Reading, writing and waiting work on the master side.
class PseudoTerminal : public SerialStream {
public:
    PseudoTerminal() = default;
    ~PseudoTerminal() { Close(); }
    PseudoTerminal(const PseudoTerminal&) = delete;
    PseudoTerminal& operator=(const PseudoTerminal&) = delete;

    // Opens a new pair with the slave in raw mode. With keepSlaveOpen we hold
    // the slave open too, so that a program closing and reopening the port
    // does not hang up the master.
    bool Open(bool keepSlaveOpen = true);
    // Closes the master: the slave's user sees a hang-up.
    void Close();

    const std::string& SlavePath() const { return slavePath_; }
    // For tests that read the line settings the slave holds.
    int MasterFd() const { return fd_; }

private:
    int slave_ = -1;
    std::string slavePath_;
};

}  // namespace tarvel
