#pragma once
// The one place that sleeps in poll(): serial waits and stop events share it.

#include <poll.h>

#include <cstddef>

#include "platform/serial/StopEvent.h"

namespace tarvel {

// poll() until something is reported or the whole time is up, sleeping on
// after a signal with what is left of the time: > 0 reported, 0 time up,
// < 0 failed.
int PollLines(pollfd* fds, size_t count, WaitTime timeout);

// The event's descriptor to poll; -1 (which poll() skips) for none.
int StopEventFd(const StopEvent* stop);

}  // namespace tarvel
