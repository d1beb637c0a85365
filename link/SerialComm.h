#pragma once
// The serial port component. It owns one port and two threads: a reader that
// cuts the received bytes into chunks (at most 2048 bytes, ended by a pause
// of more than 100 ms) and a writer that writes queued frames one after the
// other until every byte is out.
//
// Threads meet the GUI thread only through `post` (see platform/base/GuiPost.h):
// every chunk, line event and hang-up is posted as a task that carries its
// own copy and fires the bound event on the GUI thread, in arrival order.
// The main window binds `post` to the window system's thread-safe post;
// tests bind it to a queue they drain. Tasks of a session that has since
// been stopped, or of a component that is gone, do nothing.
//
// Every wait of both threads also waits for the stop event, so StopComm
// always joins them. A read error, the end of a vanished device or a hang-up
// marks the port failed: OnRequestHangup fires and WriteCommData returns false
// until the port is stopped and started again.

#include <atomic>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>

#include "platform/base/Exceptions.h"
#include "platform/base/GuiPost.h"
#include "platform/serial/SerialPort.h"

namespace tarvel {

class ECommsError : public Exception {
public:
    using Exception::Exception;
};

// Line-error flags of OnReceiveError.
enum : uint32_t {
    CommErrorRxOver = 0x01,
    CommErrorOverrun = 0x02,
    CommErrorParity = 0x04,
    CommErrorFrame = 0x08,
    CommErrorBreak = 0x10
};
// Modem events of OnModemStateChange.
enum : uint32_t { CommEventRing = 4, CommEventCarrier = 8 };

struct CommTimeouts {
    uint32_t readInterval = 100;  // ms of silence that end a chunk
    // Kept for the settings' sake; reads and writes here have no total limit.
    uint32_t readTotalMultiplier = 0;
    uint32_t readTotalConstant = 0;
    uint32_t writeTotalMultiplier = 0;
    uint32_t writeTotalConstant = 0;
    bool operator==(const CommTimeouts&) const = default;
};

class TComm {
public:
    // arrivedMs: the tick count (GetTickCount) when the chunk's last byte was
    // read, however late the GUI thread gets to it.
    using TReceiveDataEvent =
        std::function<void(TComm& sender, const uint8_t* buffer, uint16_t count, uint32_t arrivedMs)>;
    using TReceiveErrorEvent = std::function<void(TComm& sender, uint32_t errors)>;
    using TModemStateChangeEvent = std::function<void(TComm& sender, uint32_t event)>;
    using TNotifyEvent = std::function<void(TComm& sender)>;

    static constexpr size_t kReadChunk = 2048;

    explicit TComm(PostToGui post);
    ~TComm();
    TComm(const TComm&) = delete;
    TComm& operator=(const TComm&) = delete;

    // Opens and configures the port and starts both threads; raises ECommsError.
    void StartComm();
    // Stops both threads and closes the port; nothing while closed.
    void StopComm();
    // Queues a copy for the writer; false while closed or failed, or for 0 bytes.
    bool WriteCommData(const uint8_t* buffer, uint16_t count);

    bool Active() const { return session_ != nullptr; }
    // Bytes that have come on the line and not yet been handed to
    // OnReceiveData: in the driver, in the reader's chunk, or posted.
    size_t Undelivered() const;
    bool Failed() const;
    bool SendQueueEmpty() const { return sendQueueEmpty_->load(); }

    const std::string& CommName() const { return commName_; }
    void SetCommName(std::string name) { commName_ = std::move(name); }
    uint32_t BaudRate() const { return settings_.baudRate; }
    void SetBaudRate(uint32_t rate);
    const SerialLineSettings& LineSettings() const { return settings_; }
    // Stores the settings; while open, applies them at once (a refusal raises
    // ECommsError and closes the port). The same settings again do nothing.
    void SetLineSettings(const SerialLineSettings& settings);
    const CommTimeouts& Timeouts() const { return timeouts_; }
    void SetTimeouts(const CommTimeouts& timeouts);

    TReceiveDataEvent OnReceiveData;
    TReceiveErrorEvent OnReceiveError;
    TModemStateChangeEvent OnModemStateChange;
    TNotifyEvent OnRequestHangup;
    TNotifyEvent OnSendDataEmpty;

private:
    struct Session;

    void ApplyOrClose();

    PostToGui post_;
    std::string commName_ = "COM2";
    SerialLineSettings settings_;
    CommTimeouts timeouts_;
    std::shared_ptr<std::atomic<bool>> sendQueueEmpty_ = std::make_shared<std::atomic<bool>>(true);
    std::shared_ptr<Session> session_;
};

}  // namespace tarvel
