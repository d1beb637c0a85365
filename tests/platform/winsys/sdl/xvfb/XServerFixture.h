#pragma once
// An Xvfb of our own on a free display, and real input through its XTest
// extension. X's headers stay in XServerFixture.cpp: their macros clash with
// everything.

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

struct SDL_Window;

namespace tarvel {

class SdlBackend;

// Starts Xvfb and sets DISPLAY for this process; false, with the reason,
// when it cannot start.
bool StartXvfb(std::string& why);
void StopXvfb();
// The body of an X server test program's main after InitGoogleTest: runs the
// tests on an Xvfb of their own on SDL's X11 driver, or answers 77 (skipped)
// naming `what` when Xvfb cannot start.
int RunTestsOnXvfb(const char* what);
// SDL's X11 driver on the server. The server can be slow to take a new
// client right after the last test's connection closed, on a loaded
// machine: it is asked for two seconds. Null, with the reason, after that.
std::unique_ptr<SdlBackend> OpenX11Backend(std::string& error);

// Input as a user makes it, through the server.
bool XMovePointer(int x, int y);
bool XButton(int button, bool down);           // 1 left, 2 middle, 3 right
bool XKey(const char* keysymName, bool down);  // "a", "Alt_L", "F4" ...
// What an input method hands the program, through SDL's event queue: the
// text being composed with the cursor after `cursor` characters (empty text
// gives the composition up), and the text entered.
bool SdlComposition(const char* utf8, int cursor);
bool SdlCommittedText(const char* utf8);
// Gives the keyboard to the window, as a window manager would.
bool XGiveFocus(SDL_Window* window);
// Takes the window off the screen and maps it again, as a window manager
// iconifies a window and the user restores it.
bool XIconifyAndRestore(SDL_Window* window);
// The window's _NET_WM_ICON: width, height, then 0xAARRGGBB pixels; empty
// when it has none.
std::vector<unsigned long> XWindowIcon(SDL_Window* window);

// The cursor the server shows now, as the XFixes extension hands it out:
// its size, its hot spot and 0xAARRGGBB pixels. False when it cannot tell.
struct XCursorPicture {
    int width = 0, height = 0, xhot = 0, yhot = 0;
    std::vector<uint32_t> pixels;
};
bool XCurrentCursor(XCursorPicture& out);

}  // namespace tarvel
