#include "tools/bms-sim/SimLink.h"

#include <poll.h>
#include <sys/eventfd.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cstring>
#include <deque>
#include <mutex>

#include "platform/base/Ticks.h"

namespace tarvel::sim {

namespace {
using Clock = std::chrono::steady_clock;
}  // namespace

struct SimLink::Outbox {
    std::mutex mutex;
    std::deque<Bytes> frames;
};

SimLink::SimLink(SimConfig config) : sim_(std::move(config)), outbox_(std::make_unique<Outbox>()) {}

SimLink::~SimLink() { Stop(); }

bool SimLink::Start(const std::string& linkPath) {
    Stop();
    stop_ = false;
    dropped_ = false;
    if (!pty_.Open(true)) {
        error_ = std::string("cannot open a pseudo-terminal: ") + std::strerror(errno);
        return false;
    }
    if (!linkPath.empty()) {
        struct stat st {};
        if (::lstat(linkPath.c_str(), &st) == 0 && S_ISLNK(st.st_mode)) ::unlink(linkPath.c_str());
        if (::symlink(pty_.SlavePath().c_str(), linkPath.c_str()) != 0) {
            error_ = "cannot make the link " + linkPath + ": " + std::strerror(errno);
            pty_.Close();
            return false;
        }
        linkPath_ = linkPath;
    }
    wakeFd_ = ::eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK);
    if (wakeFd_ < 0) {
        error_ = "cannot make an event";
        Stop();
        return false;
    }
    thread_ = std::thread([this] { Serve(); });
    return true;
}

void SimLink::Stop() {
    stop_ = true;
    if (wakeFd_ >= 0) {
        const uint64_t one = 1;
        (void)!::write(wakeFd_, &one, sizeof one);
    }
    if (thread_.joinable()) thread_.join();
    if (wakeFd_ >= 0) ::close(wakeFd_);
    wakeFd_ = -1;
    pty_.Close();
    if (!linkPath_.empty()) ::unlink(linkPath_.c_str());
    linkPath_.clear();
}

void SimLink::Send(Bytes bytes) {
    {
        std::lock_guard<std::mutex> lock(outbox_->mutex);
        outbox_->frames.push_back(std::move(bytes));
    }
    const uint64_t one = 1;
    if (wakeFd_ >= 0) (void)!::write(wakeFd_, &one, sizeof one);
}

bool SimLink::Stopping() const { return stop_.load(); }

void SimLink::Serve() {
    uint8_t buffer[4096];
    while (!Stopping()) {
        pollfd fds[2] = {{pty_.MasterFd(), POLLIN, 0}, {wakeFd_, POLLIN, 0}};
        if (::poll(fds, 2, -1) < 0) {
            if (errno == EINTR) continue;
            break;
        }
        if (fds[1].revents & POLLIN) {
            uint64_t count = 0;
            (void)!::read(wakeFd_, &count, sizeof count);
            std::deque<Bytes> frames;
            {
                std::lock_guard<std::mutex> lock(outbox_->mutex);
                frames.swap(outbox_->frames);
            }
            for (const Bytes& frame : frames)
                if (!WritePaced(frame)) return;
        }
        if (fds[0].revents & POLLIN) {
            const ssize_t n = ::read(pty_.MasterFd(), buffer, sizeof buffer);
            if (n < 0 && (errno == EINTR || errno == EAGAIN)) continue;
            if (n <= 0) break;
            const size_t before = onRequest ? sim_.Requests().size() : 0;
            const std::vector<Plan> plans = sim_.OnBytes({buffer, static_cast<size_t>(n)}, GetTickCount());
            if (onRequest) {
                const std::vector<Bytes> all = sim_.Requests();
                for (size_t i = before; i < all.size(); ++i) onRequest(all[i]);
            }
            for (const Plan& plan : plans)
                if (!Execute(plan)) return;
        }
    }
}

bool SimLink::Execute(const Plan& plan) {
    for (const Transmission& t : plan.sends) {
        if (!Pause(t.pauseMs) || !WritePaced(t.bytes)) return false;
    }
    if (plan.dropLine) {
        dropped_ = true;
        pty_.Close();
        return false;
    }
    return true;
}

bool SimLink::Pause(uint32_t ms) {
    const auto until = Clock::now() + std::chrono::milliseconds(ms);
    while (!Stopping() && Clock::now() < until) std::this_thread::sleep_for(std::chrono::milliseconds(2));
    return !Stopping();
}

bool SimLink::WritePaced(const Bytes& bytes) {
    const uint32_t baud = sim_.Baud();
    if (baud == 0) return pty_.WriteAll(bytes.data(), bytes.size());
    // Ten bits a byte on the wire: start, eight data, stop.
    const auto byteTime = std::chrono::nanoseconds(10'000'000'000LL / baud);
    auto next = Clock::now();
    for (uint8_t b : bytes) {
        if (Stopping()) return false;
        std::this_thread::sleep_until(next);
        if (!pty_.WriteAll(&b, 1)) return false;
        next += byteTime;
    }
    return true;
}

}  // namespace tarvel::sim
