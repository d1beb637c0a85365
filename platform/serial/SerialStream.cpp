#include "platform/serial/SerialStream.h"

#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <chrono>

#include "platform/serial/PollLines.h"

namespace tarvel {

namespace {

using Clock = std::chrono::steady_clock;
using std::chrono::milliseconds;

constexpr short kGone = POLLHUP | POLLERR | POLLNVAL;

// What a wait on one line for `events` (POLLIN or POLLOUT) came to.
WaitResult WaitFor(int lineFd, short events, const StopEvent* stop, WaitTime timeout) {
    if (lineFd < 0) return WaitResult::HungUp;
    pollfd fds[2] = {{lineFd, events, 0}, {StopEventFd(stop), POLLIN, 0}};
    const int r = PollLines(fds, 2, timeout);
    if (r == 0) return WaitResult::TimedOut;
    if (r < 0) return WaitResult::HungUp;
    if (fds[1].revents != 0) return WaitResult::Stopped;
    if (fds[0].revents & kGone) return WaitResult::HungUp;
    return WaitResult::Ready;
}

}  // namespace

int PollLines(pollfd* fds, size_t count, WaitTime timeout) {
    const auto deadline =
        timeout ? Clock::now() + std::max(*timeout, milliseconds(0)) : Clock::time_point::max();
    for (;;) {
        int ms = -1;
        if (timeout) {
            const auto left = std::chrono::ceil<milliseconds>(deadline - Clock::now());
            ms = static_cast<int>(std::clamp<milliseconds::rep>(left.count(), 0, 1 << 30));
        }
        const int r = ::poll(fds, static_cast<nfds_t>(count), ms);
        if (r >= 0 || errno != EINTR) return r;
    }
}

WaitResult SerialStream::WaitReadable(const StopEvent* stop, WaitTime timeout) const {
    return WaitFor(fd_, POLLIN, stop, timeout);
}

std::optional<size_t> SerialStream::ReadSome(uint8_t* buffer, size_t max) {
    if (max == 0) return 0;
    for (;;) {
        const ssize_t n = ::read(fd_, buffer, max);
        if (n > 0) return static_cast<size_t>(n);
        if (n < 0 && errno == EINTR) continue;
        if (n < 0 && (errno == EAGAIN || errno == EWOULDBLOCK)) return 0;
        // An error, or the end of a device that went away.
        return std::nullopt;
    }
}

WaitResult SerialStream::WriteAll(const uint8_t* data, size_t count, const StopEvent* stop,
                                  WaitTime timeout) {
    const auto start = Clock::now();
    while (count > 0) {
        const ssize_t n = ::write(fd_, data, count);
        if (n > 0) {
            data += n;
            count -= static_cast<size_t>(n);
            continue;
        }
        if (n < 0 && errno == EINTR) continue;
        if (n < 0 && (errno == EAGAIN || errno == EWOULDBLOCK)) {
            WaitTime left;
            if (timeout) left = std::chrono::ceil<milliseconds>(start + *timeout - Clock::now());
            if (left && left->count() <= 0) return WaitResult::TimedOut;
            const WaitResult room = WaitFor(fd_, POLLOUT, stop, left);
            if (room != WaitResult::Ready) return room;
            continue;
        }
        return WaitResult::HungUp;
    }
    return WaitResult::Ready;
}

size_t EventSet::Add(const SerialStream& line) {
    watches_.push_back(Watch{&line, false, false});
    return watches_.size() - 1;
}

WaitResult EventSet::Wait(WaitTime timeout) {
    std::vector<pollfd> fds;
    fds.reserve(watches_.size() + 1);
    bool closedLine = false;
    for (Watch& w : watches_) {
        fds.push_back(pollfd{w.line->fd_, POLLIN, 0});
        w.readable = false;
        w.hungUp = w.line->fd_ < 0;  // poll() would skip it and never tell
        closedLine = closedLine || w.hungUp;
    }
    fds.push_back(pollfd{StopEventFd(stop_), POLLIN, 0});
    const int r = PollLines(fds.data(), fds.size(), closedLine ? WaitTime(milliseconds(0)) : timeout);
    if (r < 0) return WaitResult::HungUp;
    if (fds.back().revents != 0) return WaitResult::Stopped;
    if (r == 0 && !closedLine) return WaitResult::TimedOut;
    for (size_t i = 0; i < watches_.size(); ++i) {
        Watch& w = watches_[i];
        w.readable = (fds[i].revents & POLLIN) != 0;
        w.hungUp = w.hungUp || (fds[i].revents & kGone) != 0;
    }
    return WaitResult::Ready;
}

}  // namespace tarvel
