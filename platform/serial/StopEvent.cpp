#include "platform/serial/StopEvent.h"

#include <sys/eventfd.h>
#include <unistd.h>

#include <cerrno>
#include <cstdint>

#include "platform/serial/PollLines.h"

namespace tarvel {

int StopEventFd(const StopEvent* stop) { return stop ? stop->fd_ : -1; }

StopEvent::StopEvent() : fd_(::eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK)) {}

StopEvent::~StopEvent() {
    if (fd_ >= 0) ::close(fd_);
}

void StopEvent::Signal() {
    const uint64_t one = 1;
    // A full counter (2^64 - 2 signals) is still signalled: nothing is lost.
    while (fd_ >= 0 && ::write(fd_, &one, sizeof one) < 0 && errno == EINTR) {
    }
}

void StopEvent::Clear() {
    uint64_t count = 0;
    while (fd_ >= 0 && ::read(fd_, &count, sizeof count) < 0 && errno == EINTR) {
    }
}

bool StopEvent::IsSignalled() const { return Wait(std::chrono::milliseconds(0)); }

bool StopEvent::Wait(WaitTime timeout) const {
    if (fd_ < 0) return false;
    pollfd fd{fd_, POLLIN, 0};
    return PollLines(&fd, 1, timeout) > 0 && (fd.revents & POLLIN) != 0;
}

}  // namespace tarvel
