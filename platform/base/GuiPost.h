#pragma once
// The seam through which worker threads (the serial reader, the 10 ms timer)
// hand work to the GUI thread. The window system binds it to its thread-safe
// post; tests bind it to a queue they drain themselves. A posted task runs
// later on the GUI thread, in posting order; posting never blocks for long
// and may be called from any thread.

#include <functional>

namespace tarvel {

using GuiTask = std::function<void()>;
using PostToGui = std::function<void(GuiTask)>;

}  // namespace tarvel
