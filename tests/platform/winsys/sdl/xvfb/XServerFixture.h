#pragma once
// An Xvfb of our own on a free display, and real input through its XTest
// extension. X's headers stay in XServerFixture.cpp: their macros clash with
// everything.

#include <atomic>
#include <cstdint>
#include <map>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "platform/winsys/WinTypes.h"

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
// A compositing manager (xcompmgr, without shadows or fading) on the
// server, started and waited for until it owns _NET_WM_CM_S0; false, with
// the reason, when it cannot run. Stopped with StopCompositor, and at the
// server's end.
bool StartCompositor(std::string& why);
void StopCompositor();
// The visual's depth a window was made with on the server; 0 without one.
int XWindowDepth(SDL_Window* window);
// The window's _NET_WM_ICON: width, height, then 0xAARRGGBB pixels; empty
// when it has none.
std::vector<unsigned long> XWindowIcon(SDL_Window* window);

// A notification area of the test's own, as a desktop's panel keeps one:
// a window at `place` on a connection of its own that owns
// _NET_SYSTEM_TRAY_S0 and embeds (XEmbed) every icon that asks to dock,
// `iconSize` square side by side from its left. It serves on a thread of
// its own; gone, it hands its icons back to the root window.
class XTrayHost {
public:
    // Null, with the reason, when the server takes no client.
    static std::unique_ptr<XTrayHost> Start(const TRect& place, int iconSize, std::string& why);
    ~XTrayHost();
    XTrayHost(const XTrayHost&) = delete;
    XTrayHost& operator=(const XTrayHost&) = delete;

    struct Icon {
        unsigned long window = 0;
        bool xembedInfo = false;  // it carried _XEMBED_INFO when it asked
        TRect place;              // on the screen
    };
    // The icons embedded now, in the order they came.
    std::vector<Icon> Icons() const;
    // The icon window's _NET_WM_NAME (else WM_NAME).
    std::string IconName(unsigned long window) const;

private:
    XTrayHost() = default;
    void Serve();

    TRect place_;
    int size_ = 0;
    void* display_ = nullptr;  // ::Display*
    unsigned long host_ = 0;
    mutable std::mutex mutex_;
    std::vector<Icon> icons_;
    std::atomic<bool> stop_{false};
    std::thread thread_;
};

// Asks the owner of the CLIPBOARD selection for `target` ("TARGETS",
// "image/png" ...) as another program would, from a window of a connection
// of its own, taking INCR transfers; the bytes, or false (with the reason)
// when it is refused or does not come within five seconds. TARGETS comes
// back as the atom names, one per line. `inPieces` hears whether INCR was used.
bool XReadClipboard(const std::string& target, std::vector<unsigned char>& out, std::string& why,
                    bool* inPieces = nullptr);
// Another program takes the CLIPBOARD selection (and holds it with nothing
// to give) until the next call or the end of the process.
bool XTakeClipboard();

// The cursor the server shows now, as the XFixes extension hands it out:
// its size, its hot spot and 0xAARRGGBB pixels. False when it cannot tell.
struct XCursorPicture {
    int width = 0, height = 0, xhot = 0, yhot = 0;
    std::vector<uint32_t> pixels;
};
bool XCurrentCursor(XCursorPicture& out);

}  // namespace tarvel
