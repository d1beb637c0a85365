#include "tools/bms-sim/SimLink.h"

#include <cerrno>
#include <chrono>
#include <cstring>
#include <deque>
#include <filesystem>
#include <mutex>
#include <system_error>

#include "platform/base/Ticks.h"

namespace tarvel::sim {

namespace {
using Clock = std::chrono::steady_clock;
namespace fs = std::filesystem;
}  // namespace

struct SimLink::Outbox {
    std::mutex mutex;
    std::deque<Bytes> frames;
};

SimLink::SimLink(SimConfig config) : sim_(std::move(config)), outbox_(std::make_unique<Outbox>()) {}

SimLink::~SimLink() { Stop(); }

bool SimLink::Start(const std::string& linkPath) {
    Stop();
    stop_.Clear();
    wake_.Clear();
    dropped_ = false;
    if (!stop_.Valid() || !wake_.Valid()) {
        error_ = "cannot make an event";
        return false;
    }
    if (!pty_.Open(true)) {
        error_ = std::string("cannot open a pseudo-terminal: ") + std::strerror(errno);
        return false;
    }
    if (!linkPath.empty()) {
        std::error_code ec;
        if (fs::is_symlink(fs::symlink_status(linkPath, ec))) fs::remove(linkPath, ec);
        fs::create_symlink(pty_.SlavePath(), linkPath, ec);
        if (ec) {
            error_ = "cannot make the link " + linkPath + ": " + ec.message();
            pty_.Close();
            return false;
        }
        linkPath_ = linkPath;
    }
    thread_ = std::thread([this] { Serve(); });
    return true;
}

void SimLink::Stop() {
    stop_.Signal();
    wake_.Signal();
    if (thread_.joinable()) thread_.join();
    // The link goes first: once the terminal is freed its number is anyone's.
    std::error_code ec;
    if (!linkPath_.empty()) fs::remove(linkPath_, ec);
    linkPath_.clear();
    pty_.Close();
}

void SimLink::Send(Bytes bytes) {
    {
        std::lock_guard<std::mutex> lock(outbox_->mutex);
        outbox_->frames.push_back(std::move(bytes));
    }
    wake_.Signal();
}

bool SimLink::Stopping() const { return stop_.IsSignalled(); }

void SimLink::Serve() {
    uint8_t buffer[4096];
    while (!Stopping()) {
        switch (pty_.WaitReadable(&wake_, std::nullopt)) {
            case WaitResult::Ready: break;
            case WaitResult::Stopped:
                if (!SendOutbox()) return;
                continue;
            case WaitResult::TimedOut:
            case WaitResult::HungUp: return;
        }
        const std::optional<size_t> n = pty_.ReadSome(buffer, sizeof buffer);
        if (!n || !Answer(buffer, *n)) return;
    }
}

bool SimLink::SendOutbox() {
    // Cleared before taking the frames: a Send() after this wakes us again.
    wake_.Clear();
    std::deque<Bytes> frames;
    {
        std::lock_guard<std::mutex> lock(outbox_->mutex);
        frames.swap(outbox_->frames);
    }
    for (const Bytes& frame : frames)
        if (!WritePaced(frame)) return false;
    return true;
}

bool SimLink::Answer(const uint8_t* bytes, size_t count) {
    const size_t before = onRequest ? sim_.Requests().size() : 0;
    const std::vector<Plan> plans = sim_.OnBytes({bytes, count}, GetTickCount());
    if (onRequest) {
        const std::vector<Bytes> all = sim_.Requests();
        for (size_t i = before; i < all.size(); ++i) onRequest(all[i]);
    }
    for (const Plan& plan : plans)
        if (!Execute(plan)) return false;
    return true;
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

bool SimLink::Pause(uint32_t ms) { return !stop_.Wait(std::chrono::milliseconds(ms)); }

bool SimLink::WritePaced(const Bytes& bytes) {
    const uint32_t baud = sim_.Baud();
    if (baud == 0) return pty_.WriteAll(bytes.data(), bytes.size(), &stop_) == WaitResult::Ready;
    // Ten bits a byte on the wire: start, eight data, stop.
    const auto byteTime = std::chrono::nanoseconds(10'000'000'000LL / baud);
    auto next = Clock::now();
    for (uint8_t b : bytes) {
        if (Stopping()) return false;
        std::this_thread::sleep_until(next);
        if (pty_.WriteAll(&b, 1, &stop_) != WaitResult::Ready) return false;
        next += byteTime;
    }
    return true;
}

}  // namespace tarvel::sim
