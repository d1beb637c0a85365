#pragma once
// Keyboard focus, mouse capture, key state, caret and mouse tracking.

#include "platform/winsys/WinConstants.h"
#include "platform/winsys/WinTypes.h"

namespace tarvel {

HWND SetFocus(HWND hwnd);
HWND GetFocus();

HWND SetCapture(HWND hwnd);
HWND GetCapture();
bool ReleaseCapture();

// Key state as of the message last taken from the queue: bit 15 down,
// bit 0 toggled. The async form is the state right now.
int16_t GetKeyState(int virtualKey);
int16_t GetAsyncKeyState(int virtualKey);

bool TrackMouseEvent(TRACKMOUSEEVENT* tme);
bool GetCursorPos(TPoint& out);
bool SetCursorPos(int x, int y);
UINT GetDoubleClickTime();

// Caret: one per thread, an inverted rectangle in the client area of the
// window that owns it, blinking on the clock. It starts hidden (ShowCaret).
bool CreateCaret(HWND hwnd, int width, int height);
bool DestroyCaret();
bool ShowCaret(HWND hwnd);
bool HideCaret(HWND hwnd);
bool SetCaretPos(int x, int y);
bool GetCaretPos(TPoint& out);
UINT GetCaretBlinkTime();

// What TranslateMessage makes of a key with the given modifiers (0: none).
char16_t CharFromKey(UINT virtualKey, bool shift, bool capsLock);

}  // namespace tarvel
