#include "link/SerialComm.h"

#include <chrono>
#include <condition_variable>
#include <deque>
#include <mutex>
#include <optional>
#include <system_error>
#include <thread>
#include <vector>

#include "platform/base/Ticks.h"
#include "platform/serial/StopEvent.h"

namespace tarvel {

namespace {

using Clock = std::chrono::steady_clock;
using std::chrono::milliseconds;

constexpr milliseconds kLineCheckPeriod{100};

milliseconds Until(Clock::time_point when, Clock::time_point now) {
    if (when <= now) return milliseconds(0);
    return std::chrono::ceil<milliseconds>(when - now);
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
    StopEvent stop;
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
    // The chunk being gathered, on the reader thread only.
    std::vector<uint8_t> chunk;
    Clock::time_point lastByte{};
    uint32_t lastByteTick = 0;
    // Bytes read from the driver, and those of them handed to the window.
    std::atomic<uint64_t> taken{0};
    std::atomic<uint64_t> handed{0};

    ~Session() { Stop(); }

    // Fires `event` on the GUI thread, unless this session has ended by then.
    void Post(std::function<void(TComm&)> event) {
        post([weak = weak_from_this(), event = std::move(event)] {
            if (const auto self = weak.lock(); self && self->owner) event(*self->owner);
        });
    }

    void SignalStop() {
        stop.Signal();
        { std::lock_guard<std::mutex> lock(queueMutex); }
        queueReady.notify_all();
    }

    void Stop() {
        stopping = true;
        SignalStop();
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

    void Deliver() {
        if (chunk.empty()) return;
        auto shared = std::make_shared<std::vector<uint8_t>>(std::move(chunk));
        chunk = {};
        chunk.reserve(kReadChunk);
        // Runs only while this session lives (Post holds it meanwhile).
        Post([this, shared, arrivedMs = lastByteTick](TComm& comm) {
            handed += shared->size();
            if (comm.OnReceiveData)
                comm.OnReceiveData(comm, shared->data(), static_cast<uint16_t>(shared->size()), arrivedMs);
        });
    }

    // Reads what the driver holds into the chunk, handing on a full one: how
    // many bytes came, or nothing at the end of the line.
    std::optional<size_t> ReadMore() {
        uint8_t buffer[kReadChunk];
        const std::optional<size_t> n = port.ReadSome(buffer, kReadChunk - chunk.size());
        if (!n || *n == 0) return n;
        const size_t before = chunk.size();
        for (size_t i = 0; i < *n; ++i)
            if (buffer[i] != 0 || !ignoreNull) chunk.push_back(buffer[i]);
        taken += chunk.size() - before;
        lastByte = Clock::now();
        lastByteTick = GetTickCount();
        if (chunk.size() >= kReadChunk) Deliver();
        return n;
    }

    // The line is gone; what came before it went is still handed on.
    void HangUp() {
        for (std::optional<size_t> n = ReadMore(); n && *n > 0; n = ReadMore()) {
        }
        Deliver();
        Fail();
    }

    void ReadLoop() {
        chunk.reserve(kReadChunk);
        auto lines = port.ReadModemLines();
        auto counts = port.ReadErrorCounts();
        const bool watchLines = lines || counts;
        Clock::time_point nextLineCheck = Clock::now() + kLineCheckPeriod;
        for (;;) {
            const Clock::time_point now = Clock::now();
            const milliseconds interval{readInterval.load()};
            WaitTime timeout;
            if (!chunk.empty()) timeout = Until(lastByte + interval + milliseconds(1), now);
            if (watchLines)
                timeout = std::min(timeout.value_or(milliseconds::max()), Until(nextLineCheck, now));
            switch (port.WaitReadable(&stop, timeout)) {
                case WaitResult::Stopped: return;
                case WaitResult::HungUp: HangUp(); return;
                case WaitResult::Ready:
                    if (ReadMore()) continue;
                    HangUp();
                    return;
                case WaitResult::TimedOut: break;
            }
            const Clock::time_point after = Clock::now();
            if (!chunk.empty() && after - lastByte > interval) Deliver();
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
        switch (port.WriteAll(block.data(), block.size(), &stop)) {
            case WaitResult::Ready: return true;
            case WaitResult::Stopped:
            case WaitResult::TimedOut: return false;
            case WaitResult::HungUp: break;
        }
        Fail();
        return false;
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

size_t TComm::Undelivered() const {
    if (!session_) return 0;
    return session_->port.Pending() + static_cast<size_t>(session_->taken - session_->handed);
}

void TComm::StartComm() {
    if (session_) throw ECommsError("This serial port already opened");
    auto session = std::make_shared<Session>();
    session->owner = this;
    session->post = post_;
    session->sendQueueEmpty = sendQueueEmpty_;
    const std::string path = ResolvePortName(commName_);
    switch (session->port.Open(path)) {
        case SerialPort::OpenResult::Ok: break;
        case SerialPort::OpenResult::CannotOpen:
            throw ECommsError("Error opening serial port (" + path +
                              "): " + OpenFailureReason(path, session->port.OpenError()));
        case SerialPort::OpenResult::NotATerminal: throw ECommsError("File handle is not a comm handle ");
    }
    // The driver keeps queues of its own; there is nothing to size here.
    session->port.Purge(true, true);
    sendQueueEmpty_->store(true);
    const std::string refused = session->port.Apply(settings_);
    if (!refused.empty()) throw ECommsError("Cannot set comm state (" + commName_ + ": " + refused + ")");
    session->readInterval = timeouts_.readInterval;
    session->ignoreNull = settings_.ignoreNullChar;

    if (!session->stop.Valid()) throw ECommsError("Unable to create event");
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
    throw ECommsError("Cannot set comm state (" + commName_ + ": " + refused + ")");
}

}  // namespace tarvel
