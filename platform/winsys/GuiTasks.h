#pragma once
// Work handed to the GUI thread through its message queue: a posted task
// runs when the GUI thread dispatches it, in order with the messages posted
// around it, by whichever message loop is running (modal ones too).

#include "platform/base/GuiPost.h"
#include "platform/winsys/WinTypes.h"

namespace tarvel {

// The thread message that carries a task; DispatchMessage runs it.
constexpr UINT WM_GUITASK = 0x03F0;

// Safe from any thread; false (the task dropped at once) without a window
// system. Tasks not run when the window system shuts down are dropped.
bool PostGuiTask(GuiTask task);
// PostGuiTask as the seam worker threads take (the 10 ms timer, readers).
PostToGui GuiPoster();
// Runs every task posted so far that has not run yet; GUI thread only (0
// elsewhere). Their messages, dispatched later, find nothing to do.
int RunGuiTasks();
// The thread that runs the window system.
bool IsGuiThread();

// The window system's own: the task of a WM_GUITASK message, and dropping
// what is left at shutdown.
void RunGuiTask(LPARAM id);
void DropGuiTasks();

}  // namespace tarvel
