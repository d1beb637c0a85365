#pragma once
// The periodic multimedia timer: a thread that keeps absolute deadlines one
// period apart, so ticks do not drift with the time their work takes.
//
// Where a tick runs: without `post` the callback runs on the timer's own
// thread. With `post` (bound by the main window to the window system's
// thread-safe post, in tests to a queue drained on the test thread) each tick
// is handed to the GUI thread and runs there. Ticks that fall due while the
// GUI thread has not yet run the previous one are added up and run back to
// back when it gets there, so the count of ticks stays right and the queue
// holds at most one of them.
//
// TimeKillEvent returns only when no tick runs any more: it waits for a tick
// in progress on the timer thread, and a tick already posted to the GUI thread
// is dropped when it comes up. Called from inside a tick it stops the timer
// without waiting for itself.

#include <cstdint>
#include <functional>

#include "platform/base/GuiPost.h"

namespace tarvel {

using TimerProc = std::function<void()>;

// Starts a periodic timer of `periodMs` (>= 1); its id, 0 on failure.
uint32_t TimeSetEvent(uint32_t periodMs, TimerProc proc, PostToGui post = {});
// Stops the timer; false for an id that runs no timer.
bool TimeKillEvent(uint32_t id);

}  // namespace tarvel
