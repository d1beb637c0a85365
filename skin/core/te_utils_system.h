#pragma once
// The skin library's toolbox, part three: what it asks of the window
// system: nested mouse capture, keyboard repeat timing, window class names
// and texts, and the screen's pixel format.

#include "platform/base/Strings.h"
#include "platform/classlib/Bitmaps.h"
#include "platform/winsys/WinTypes.h"

namespace tarvel {

// Nested capture: the first call captures, the matching last EndCapture releases.
void CaptureMouse(HWND wnd);
void EndCapture();
HWND CaptureHandle();
int CaptureCount();

int GetKeyBoardDelayInterval();  // ms before the first repeat
int GetKeyBoardSpeedInterval();  // ms between repeats

// At most 1000 characters; empty when the window has none.
String GetWndClassName(HWND wnd);
String GetWndText(HWND wnd);

// The screen's pixel format; CPixelFormat keeps the last answer.
TPixelFormat GetPixelFormat();
extern TPixelFormat CPixelFormat;

}  // namespace tarvel
