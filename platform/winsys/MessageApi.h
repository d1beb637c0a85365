#pragma once
// The GUI thread's message queue and timers.

#include "platform/winsys/WinConstants.h"
#include "platform/winsys/WinMessages.h"
#include "platform/winsys/WinTypes.h"

namespace tarvel {

// A message filter window that takes only messages posted without a window.
inline const HWND HWND_THREAD_ONLY = SpecialHwnd(-1);

// Safe from any thread. A null window posts a thread message. Messages to a
// window that is gone by the time they are read are dropped.
bool PostMessage(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);
void PostQuitMessage(int exitCode);
// A direct call of the window's procedure; GUI thread only (0 elsewhere).
LRESULT SendMessage(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);

// Order of retrieval: posted messages, WM_QUIT, input, WM_PAINT, WM_TIMER.
// WM_QUIT passes every filter. `hwnd` filters the window and its children;
// a message filter of (0, 0) takes every message.
bool PeekMessage(MSG* msg, HWND hwnd, UINT filterMin, UINT filterMax, UINT removeFlags);
// 1 for a message, 0 for WM_QUIT, -1 for a filter window that is not one.
int GetMessage(MSG* msg, HWND hwnd, UINT filterMin, UINT filterMax);
// Returns once a message is waiting (timers count when due).
bool WaitMessage();
bool TranslateMessage(const MSG* msg);
LRESULT DispatchMessage(const MSG* msg);
// Messages waiting that a filter-less peek would see.
bool HasPendingMessages();
// Position of the cursor and time of the last message taken.
DWORD GetMessageTime();
TPoint GetMessagePos();

// Timers deliver WM_TIMER (wParam = id) through the queue, one at a time per
// timer however late it is. A null window makes a thread timer: its id is
// chosen here and answered.
UINT_PTR SetTimer(HWND hwnd, UINT_PTR id, UINT elapseMs);
bool KillTimer(HWND hwnd, UINT_PTR id);

}  // namespace tarvel
