#pragma once
// What the main window's waits for a reply share: their clock, and how long
// after a wait's limit an answer that came inside it can still reach the loop.

#include <algorithm>
#include <cstdint>

#include "link/SerialComm.h"
#include "platform/base/Ticks.h"

namespace tarvel {

// Milliseconds since it was made, by the tick count or by the steady
// counter, whichever has gone further: a tick source that stands still (a
// test's clock) must not hold the window for ever.
class WaitClock {
public:
    WaitClock() : startTick_(GetTickCount()) {
        QueryPerformanceCounter(&startCount_);
        QueryPerformanceFrequency(&perSecond_);
    }
    uint32_t Elapsed() const {
        int64_t now = 0;
        QueryPerformanceCounter(&now);
        const int64_t counted = (now - startCount_) / std::max<int64_t>(perSecond_ / 1000, 1);
        return std::max(TicksSince(startTick_, GetTickCount()),
                        static_cast<uint32_t>(std::clamp<int64_t>(counted, 0, UINT32_MAX)));
    }

private:
    uint32_t startTick_;
    int64_t startCount_ = 0, perSecond_ = 1;
};

// A wait's limit counts from the request, however slowly the loop runs. An
// answer that comes just before it reaches the loop only once the reader has
// seen the line quiet for its gap and the threads, on a loaded machine, have
// handed it on: the wait goes on this much longer for it.
inline uint32_t ReplyHandOverMs(const TComm& comm) {
    constexpr uint32_t kThreadsMs = 100;
    return comm.Timeouts().readInterval + kThreadsMs;
}

// Past that, bytes still on their way from the line (in the driver, the
// reader or the queue) came inside the wait and are heard out, this long at
// the most: a loaded machine must not turn an answer into a time-out.
constexpr uint32_t kHandOverMostMs = 5000;
inline bool AnswerStillComing(const TComm& comm, uint32_t pastLimitMs) {
    return comm.Undelivered() > 0 && pastLimitMs < kHandOverMostMs;
}

}  // namespace tarvel
