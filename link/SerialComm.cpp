#include "link/SerialComm.h"

#include <poll.h>
#include <sys/eventfd.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <condition_variable>
#include <deque>
#include <mutex>
#include <optional>
#include <system_error>
#include <thread>
#include <vector>

namespace tarvel {

namespace {

using Clock = std::chrono::steady_clock;
using std::chrono::milliseconds;

constexpr milliseconds kLineCheckPeriod{100};

int MsUntil(Clock::time_point when, Clock::time_point now) {
    if (when <= now) return 0;
    return static_cast<int>(std::chrono::ceil<milliseconds>(when - now).count());
}

uint32_t ErrorFlags(const SerialPort::ErrorCounts& was, const SerialPort::ErrorCounts& now) {
    uint32_t flags = 0;
    if (now.bufferOverrun != was.bufferOverrun) flags |= CommErrorRxOver;
    if (now.overrun != was.overrun) flags |= CommErrorOverrun;
    if (now.parity != was.parity) flags |= CommErrorParity;
    if (now.frame != was.frame) flags |= CommErrorFrame;
    if (now.brk != was.brk) flags |= CommErrorBreak;
    return flags;
}

}  // namespace

struct TComm::Session : std::enable_shared_from_this<Session> {
    TComm* owner = nullptr;
    PostToGui post;
    SerialPort port;
    int stopFd = -1;
    std::atomic<bool> stopping{false};
    std::atomic<bool> failed{false};
    std::atomic<uint32_t> readInterval{100};
    std::atomic<bool> ignoreNull{false};
    std::shared_ptr<std::atomic<bool>> sendQueueEmpty;
    std::mutex queueMutex;
    std::condition_variable queueReady;
    std::deque<std::vector<uint8_t>> queue;
    std::thread reader;
    std::thread writer;

    ~Session() {
        Stop();
        if (stopFd >= 0) ::close(stopFd);
    }

    // Fires `event` on the GUI thread, unless this session has ended by then.
    void Post(std::function<void(TComm&)> event) {
        post([weak = weak_from_this(), event = std::move(event)] {
            if (const auto self = weak.lock(); self && self->owner) event(*self->owner);
        });
    }

    void SignalStop() {
        const uint64_t one = 1;
        (void)!::write(stopFd, &one, sizeof one);
        { std::lock_guard<std::mutex> lock(queueMutex); }
        queueReady.notify_all();
    }

    void Stop() {
        stopping = true;
        if (stopFd >= 0) SignalStop();
        if (reader.joinable()) reader.join();
        port.Purge(true, false);
        if (writer.joinable()) writer.join();
        port.Purge(false, true);
        sendQueueEmpty->store(true);
    }

    // The line is gone: both threads end and the window hears of it once.
    void Fail() {
        if (failed.exchange(true) || stopping) return;
        Post([](TComm& comm) {
            if (comm.OnRequestHangup) comm.OnRequestHangup(comm);
        });
        SignalStop();
    }

    void Deliver(std::vector<uint8_t>& chunk) {
        if (chunk.empty()) return;
        auto shared = std::make_shared<std::vector<uint8_t>>(std::move(chunk));
        chunk = {};
        chunk.reserve(kReadChunk);
        Post([shared](TComm& comm) {
            if (comm.OnReceiveData)
                comm.OnReceiveData(comm, shared->data(), static_cast<uint16_t>(shared->size()));
        });
    }

    void Append(std::vector<uint8_t>& chunk, const uint8_t* bytes, size_t n) {
        for (size_t i = 0; i < n; ++i)
            if (bytes[i] != 0 || !ignoreNull) chunk.push_back(bytes[i]);
    }

    void ReadLoop() {
        std::vector<uint8_t> chunk;
        chunk.reserve(kReadChunk);
        uint8_t buffer[kReadChunk];
        Clock::time_point lastByte{};
        auto lines = port.ReadModemLines();
        auto counts = port.ReadErrorCounts();
        const bool watchLines = lines || counts;
        Clock::time_point nextLineCheck = Clock::now() + kLineCheckPeriod;
        for (;;) {
            const Clock::time_point now = Clock::now();
            const milliseconds interval{readInterval.load()};
            int timeout = -1;
            if (!chunk.empty()) timeout = MsUntil(lastByte + interval + milliseconds(1), now);
            if (watchLines) {
                const int lineWait = MsUntil(nextLineCheck, now);
                timeout = timeout < 0 ? lineWait : std::min(timeout, lineWait);
            }
            pollfd fds[2] = {{port.Fd(), POLLIN, 0}, {stopFd, POLLIN, 0}};
            const int r = ::poll(fds, 2, timeout);
            if (r < 0 && errno == EINTR) continue;
            if (r < 0 || fds[1].revents != 0) break;
            if (fds[0].revents & POLLIN) {
                const ssize_t n = ::read(port.Fd(), buffer, kReadChunk - chunk.size());
                if (n > 0) {
                    Append(chunk, buffer, static_cast<size_t>(n));
                    lastByte = Clock::now();
                    if (chunk.size() >= kReadChunk) Deliver(chunk);
                    continue;
                }
                if (n < 0 && (errno == EAGAIN || errno == EINTR)) continue;
                // An error, or the end of a device that went away.
                Deliver(chunk);
                Fail();
                break;
            }
            if (fds[0].revents & (POLLHUP | POLLERR | POLLNVAL)) {
                Deliver(chunk);
                Fail();
                break;
            }
            const Clock::time_point after = Clock::now();
            if (!chunk.empty() && after - lastByte > interval) Deliver(chunk);
            if (watchLines && after >= nextLineCheck) {
                CheckLines(lines, counts);
                nextLineCheck = after + kLineCheckPeriod;
            }
        }
    }

    void CheckLines(std::optional<SerialPort::ModemLines>& lines,
                    std::optional<SerialPort::ErrorCounts>& counts) {
        if (lines) {
            if (const auto now = port.ReadModemLines()) {
                uint32_t event = 0;
                if (now->carrier != lines->carrier) event |= CommEventCarrier;
                if (now->ring && !lines->ring) event |= CommEventRing;
                lines = now;
                if (event != 0) {
                    Post([event](TComm& comm) {
                        if (comm.OnModemStateChange) comm.OnModemStateChange(comm, event);
                    });
                }
            }
        }
        if (counts) {
            if (const auto now = port.ReadErrorCounts()) {
                const uint32_t flags = ErrorFlags(*counts, *now);
                counts = now;
                if (flags != 0) {
                    Post([flags](TComm& comm) {
                        if (comm.OnReceiveError) comm.OnReceiveError(comm, flags);
                    });
                }
            }
        }
    }

    bool WriteBlock(const std::vector<uint8_t>& block) {
        size_t done = 0;
        while (done < block.size()) {
            const ssize_t n = ::write(port.Fd(), block.data() + done, block.size() - done);
            if (n > 0) {
                done += static_cast<size_t>(n);
                continue;
            }
            if (n < 0 && errno == EINTR) continue;
            if (n < 0 && errno == EAGAIN) {
                pollfd fds[2] = {{port.Fd(), POLLOUT, 0}, {stopFd, POLLIN, 0}};
                const int r = ::poll(fds, 2, -1);
                if (r < 0 && errno == EINTR) continue;
                if (r < 0 || fds[1].revents != 0) return false;
                if ((fds[0].revents & POLLOUT) == 0 && (fds[0].revents & (POLLHUP | POLLERR | POLLNVAL))) {
                    Fail();
                    return false;
                }
                continue;
            }
            Fail();
            return false;
        }
        return true;
    }

    void WriteLoop() {
        bool noticeDue = true;  // once at the start
        for (;;) {
            std::vector<uint8_t> block;
            {
                std::unique_lock<std::mutex> lock(queueMutex);
                if (queue.empty()) {
                    sendQueueEmpty->store(true);
                    if (noticeDue) {
                        noticeDue = false;
                        Post([](TComm& comm) {
                            if (comm.OnSendDataEmpty) comm.OnSendDataEmpty(comm);
                        });
                    }
                    queueReady.wait(lock, [this] { return stopping || failed || !queue.empty(); });
                }
                if (stopping || failed) break;
                block = std::move(queue.front());
                queue.pop_front();
            }
            if (!WriteBlock(block)) break;
            noticeDue = true;
        }
    }
};

TComm::TComm(PostToGui post) : post_(std::move(post)) {}

TComm::~TComm() { StopComm(); }

bool TComm::Failed() const { return session_ && session_->failed; }

void TComm::StartComm() {
    if (session_) throw ECommsError("This serial port already opened");
    auto session = std::make_shared<Session>();
    session->owner = this;
    session->post = post_;
    session->sendQueueEmpty = sendQueueEmpty_;
    switch (session->port.Open(ResolvePortName(commName_))) {
        case SerialPort::OpenResult::Ok: break;
        case SerialPort::OpenResult::CannotOpen: throw ECommsError("Error opening serial port");
        case SerialPort::OpenResult::NotATerminal: throw ECommsError("File handle is not a comm handle ");
    }
    // The driver keeps queues of its own; there is nothing to size here.
    session->port.Purge(true, true);
    sendQueueEmpty_->store(true);
    const std::string refused = session->port.Apply(settings_);
    if (!refused.empty()) throw ECommsError("Cannot set up serial port " + commName_ + ": " + refused);
    session->readInterval = timeouts_.readInterval;
    session->ignoreNull = settings_.ignoreNullChar;

    session->stopFd = ::eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK);
    if (session->stopFd < 0) throw ECommsError("Unable to create event");
    try {
        session->reader = std::thread([s = session.get()] { s->ReadLoop(); });
    } catch (const std::system_error&) {
        throw ECommsError("Unable to create read thread");
    }
    try {
        session->writer = std::thread([s = session.get()] { s->WriteLoop(); });
    } catch (const std::system_error&) {
        throw ECommsError("Unable to create write thread");  // the session's end stops the reader
    }
    session_ = std::move(session);
}

void TComm::StopComm() {
    if (!session_) return;
    const std::shared_ptr<Session> session = std::move(session_);
    session_.reset();
    session->Stop();
    session->port.Close();
}

bool TComm::WriteCommData(const uint8_t* buffer, uint16_t count) {
    if (!session_ || session_->failed || buffer == nullptr || count == 0) return false;
    {
        std::lock_guard<std::mutex> lock(session_->queueMutex);
        session_->queue.emplace_back(buffer, buffer + count);
        sendQueueEmpty_->store(false);
    }
    session_->queueReady.notify_all();
    return true;
}

void TComm::SetBaudRate(uint32_t rate) {
    SerialLineSettings settings = settings_;
    settings.baudRate = rate;
    SetLineSettings(settings);
}

void TComm::SetLineSettings(const SerialLineSettings& settings) {
    if (settings == settings_) return;
    settings_ = settings;
    if (session_) {
        session_->ignoreNull = settings_.ignoreNullChar;
        ApplyOrClose();
    }
}

void TComm::SetTimeouts(const CommTimeouts& timeouts) {
    if (timeouts == timeouts_) return;
    timeouts_ = timeouts;
    if (session_) session_->readInterval = timeouts_.readInterval;
}

void TComm::ApplyOrClose() {
    const std::string refused = session_->port.Apply(settings_);
    if (refused.empty()) return;
    StopComm();
    throw ECommsError("Cannot set up serial port " + commName_ + ": " + refused);
}

}  // namespace tarvel
