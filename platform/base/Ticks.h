#pragma once
// Millisecond tick count and sleeping. Tests can replace the tick source to
// run time-outs on a test clock.

#include <cstdint>
#include <functional>

namespace tarvel {

uint32_t GetTickCount();  // milliseconds, wrapping at 2^32
void Sleep(uint32_t milliseconds);
// Milliseconds from `start` to `now` across a wrap.
inline uint32_t TicksSince(uint32_t start, uint32_t now) { return now - start; }

// nullptr restores the monotonic clock.
void SetTickSource(std::function<uint32_t()> source);

// The high-resolution counter: counts of the steady clock since an unknown
// start, never going back, and its counts per second. Unlike GetTickCount it
// does not follow a test's tick source: it times real work.
bool QueryPerformanceCounter(int64_t* count);
bool QueryPerformanceFrequency(int64_t* frequency);

}  // namespace tarvel
