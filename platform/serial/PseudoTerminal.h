#pragma once
// A pseudo-terminal pair for simulated modules and tests: we hold the master
// side, a serial component opens the slave side by its path like any port.

#include <string>

namespace tarvel {

class PseudoTerminal {
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

    int MasterFd() const { return master_; }
    const std::string& SlavePath() const { return slavePath_; }

    // Writes every byte to the master; false when the line is gone.
    bool WriteAll(const void* data, size_t count);

private:
    int master_ = -1;
    int slave_ = -1;
    std::string slavePath_;
};

}  // namespace tarvel
