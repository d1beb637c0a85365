#include "platform/serial/PseudoTerminal.h"

#include <fcntl.h>
#include <stdlib.h>
#include <termios.h>
#include <unistd.h>

namespace tarvel {

bool PseudoTerminal::Open(bool keepSlaveOpen) {
    Close();
    // Non-blocking, so that every wait on it can be stopped.
    fd_ = ::posix_openpt(O_RDWR | O_NOCTTY | O_CLOEXEC | O_NONBLOCK);
    if (fd_ < 0) return false;
    char name[128];
    if (::grantpt(fd_) != 0 || ::unlockpt(fd_) != 0 || ::ptsname_r(fd_, name, sizeof name) != 0) {
        Close();
        return false;
    }
    slavePath_ = name;
    const int slave = ::open(name, O_RDWR | O_NOCTTY | O_CLOEXEC);
    if (slave < 0) {
        Close();
        return false;
    }
    termios tio{};
    if (::tcgetattr(slave, &tio) == 0) {
        ::cfmakeraw(&tio);
        ::tcsetattr(slave, TCSANOW, &tio);
    }
    if (keepSlaveOpen) {
        slave_ = slave;
    } else {
        ::close(slave);
    }
    return true;
}

void PseudoTerminal::Close() {
    if (fd_ >= 0) ::close(fd_);
    if (slave_ >= 0) ::close(slave_);
    fd_ = slave_ = -1;
}

}  // namespace tarvel
