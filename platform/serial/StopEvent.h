#pragma once
// An event another thread signals to end a wait on serial lines at once. It
// stays signalled until cleared, so a stop given before the wait began is not
// missed.

#include <chrono>
#include <optional>

namespace tarvel {

// How long a wait may take; no value waits without limit.
using WaitTime = std::optional<std::chrono::milliseconds>;

class StopEvent {
public:
    StopEvent();
    ~StopEvent();
    StopEvent(const StopEvent&) = delete;
    StopEvent& operator=(const StopEvent&) = delete;

    // False when the system had no event to give.
    bool Valid() const { return fd_ >= 0; }

    // Safe from any thread.
    void Signal();
    void Clear();
    bool IsSignalled() const;
    // Waits until signalled or the time is up; whether it was signalled.
    bool Wait(WaitTime timeout) const;

private:
    friend int StopEventFd(const StopEvent* stop);
    int fd_ = -1;
};

}  // namespace tarvel
