#include "platform/serial/PseudoTerminal.h"

#include <fcntl.h>
#include <poll.h>
#include <stdlib.h>
#include <termios.h>
#include <unistd.h>

#include <cerrno>

namespace tarvel {

bool PseudoTerminal::Open(bool keepSlaveOpen) {
    Close();
    master_ = ::posix_openpt(O_RDWR | O_NOCTTY | O_CLOEXEC);
    if (master_ < 0) return false;
    char name[128];
    if (::grantpt(master_) != 0 || ::unlockpt(master_) != 0 || ::ptsname_r(master_, name, sizeof name) != 0) {
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
    if (master_ >= 0) ::close(master_);
    if (slave_ >= 0) ::close(slave_);
    master_ = slave_ = -1;
}

bool PseudoTerminal::WriteAll(const void* data, size_t count) {
    const char* p = static_cast<const char*>(data);
    while (count > 0) {
        const ssize_t n = ::write(master_, p, count);
        if (n < 0 && errno == EINTR) continue;
        if (n < 0 && errno == EAGAIN) {
            pollfd pfd{master_, POLLOUT, 0};
            ::poll(&pfd, 1, 100);
            continue;
        }
        if (n <= 0) return false;
        p += n;
        count -= static_cast<size_t>(n);
    }
    return true;
}

}  // namespace tarvel
