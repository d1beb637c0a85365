#pragma once
// Keyboard focus, mouse capture, key state, caret and mouse tracking.

#include "platform/winsys/WinConstants.h"
#include "platform/winsys/WinTypes.h"

namespace tarvel {

HWND SetFocus(HWND hwnd);

// The input method's composition, as the WM_IME_ messages tell of it. The
// context is the window's; it is valid while the window has the focus.
using HIMC = HWND;
HIMC ImmGetContext(HWND hwnd);
bool ImmReleaseContext(HWND hwnd, HIMC context);
// GCS_COMPSTR (the text being composed) and GCS_RESULTSTR (the text
// entered): copies up to `bytes` bytes of UTF-16 into `buffer` and answers
// the bytes the whole text takes (with a null buffer, only that).
// GCS_CURSORPOS: the cursor within the composition, in UTF-16 units. -1 for
// any other index or a context that is not the focus.
long ImmGetCompositionStringW(HIMC context, DWORD index, void* buffer, DWORD bytes);
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
