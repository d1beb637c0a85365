#include "XServerFixture.h"

#include "platform/winsys/sdl/SdlBackend.h"

// Before X's headers, whose macros would break it.
#include <gtest/gtest.h>

#include <chrono>
#include <thread>

#include <SDL2/SDL.h>
#include <SDL2/SDL_syswm.h>
#include <X11/Xlib.h>
#include <X11/extensions/XTest.h>
#include <X11/extensions/Xfixes.h>
#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/prctl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace tarvel {

namespace {

pid_t gServer = -1;
::Display* gInput = nullptr;

::Display* InputDisplay() {
    if (!gInput) gInput = XOpenDisplay(nullptr);
    return gInput;
}

bool Done(::Display* d) {
    XSync(d, False);
    return true;
}

}  // namespace

bool StartXvfb(std::string& why) {
    int fds[2];
    if (pipe(fds) != 0) {
        why = "no pipe";
        return false;
    }
    gServer = fork();
    if (gServer < 0) {
        why = "cannot fork";
        return false;
    }
    if (gServer == 0) {
        // A test run that dies takes its server with it.
        prctl(PR_SET_PDEATHSIG, SIGTERM);
        close(fds[0]);
        std::string fd = std::to_string(fds[1]);
        int devnull = open("/dev/null", O_WRONLY);
        if (devnull >= 0) dup2(devnull, STDERR_FILENO);
        // -displayfd: the server picks a free display and writes its number.
        execlp("Xvfb", "Xvfb", "-displayfd", fd.c_str(), "-screen", "0", "1024x768x24", "-nolisten", "tcp",
               static_cast<char*>(nullptr));
        _exit(127);
    }
    close(fds[1]);
    std::string number;
    pollfd p{fds[0], POLLIN, 0};
    while (number.find('\n') == std::string::npos && poll(&p, 1, 15000) == 1) {
        char buf[32];
        ssize_t n = read(fds[0], buf, sizeof buf);
        if (n <= 0) break;
        number.append(buf, static_cast<size_t>(n));
    }
    close(fds[0]);
    if (number.find('\n') == std::string::npos) {
        why = "Xvfb did not start (is it installed?)";
        StopXvfb();
        return false;
    }
    number.erase(number.find('\n'));
    std::string display = ":" + number;
    setenv("DISPLAY", display.c_str(), 1);
    return true;
}

void StopXvfb() {
    if (gInput) XCloseDisplay(gInput);
    gInput = nullptr;
    if (gServer > 0) {
        kill(gServer, SIGTERM);
        int status = 0;
        waitpid(gServer, &status, 0);
    }
    gServer = -1;
}

int RunTestsOnXvfb(const char* what) {
    // The build lists the suites of every test program, on machines with no Xvfb too.
    if (GTEST_FLAG_GET(list_tests)) return RUN_ALL_TESTS();
    std::string why;
    if (!StartXvfb(why)) {
        std::printf("SKIPPED: no X server for %s: %s\n", what, why.c_str());
        return 77;
    }
    setenv("SDL_VIDEODRIVER", "x11", 1);
    const int result = RUN_ALL_TESTS();
    StopXvfb();
    return result;
}

bool XMovePointer(int x, int y) {
    ::Display* d = InputDisplay();
    return d && XTestFakeMotionEvent(d, -1, x, y, CurrentTime) && Done(d);
}

bool XButton(int button, bool down) {
    ::Display* d = InputDisplay();
    return d && XTestFakeButtonEvent(d, static_cast<unsigned>(button), down ? True : False, CurrentTime) &&
           Done(d);
}

bool XCurrentCursor(XCursorPicture& out) {
    ::Display* d = InputDisplay();
    int event = 0, error = 0;
    if (!d || !XFixesQueryExtension(d, &event, &error)) return false;
    XFixesCursorImage* image = XFixesGetCursorImage(d);
    if (!image) return false;
    out.width = image->width;
    out.height = image->height;
    out.xhot = image->xhot;
    out.yhot = image->yhot;
    // The pixels come as longs, one ARGB value in the low 32 bits of each.
    out.pixels.assign(image->pixels, image->pixels + static_cast<size_t>(image->width) * image->height);
    XFree(image);
    return true;
}

bool XKey(const char* keysymName, bool down) {
    ::Display* d = InputDisplay();
    if (!d) return false;
    KeySym sym = XStringToKeysym(keysymName);
    KeyCode code = sym == NoSymbol ? 0 : XKeysymToKeycode(d, sym);
    return code && XTestFakeKeyEvent(d, code, down ? True : False, CurrentTime) && Done(d);
}

namespace {

::Window XWindowOf(SDL_Window* window) {
    SDL_SysWMinfo info;
    SDL_VERSION(&info.version);
    if (!window || !SDL_GetWindowWMInfo(window, &info) || info.subsystem != SDL_SYSWM_X11) return 0;
    return info.info.x11.window;
}

}  // namespace

bool XGiveFocus(SDL_Window* window) {
    ::Display* d = InputDisplay();
    ::Window w = XWindowOf(window);
    if (!d || !w) return false;
    XSetInputFocus(d, w, RevertToParent, CurrentTime);
    return Done(d);
}

bool XIconifyAndRestore(SDL_Window* window) {
    ::Display* d = InputDisplay();
    ::Window w = XWindowOf(window);
    if (!d || !w) return false;
    XUnmapWindow(d, w);
    XSync(d, False);
    XMapWindow(d, w);
    return Done(d);
}

std::vector<unsigned long> XWindowIcon(SDL_Window* window) {
    ::Display* d = InputDisplay();
    ::Window w = XWindowOf(window);
    if (!d || !w) return {};
    Atom icon = XInternAtom(d, "_NET_WM_ICON", False);
    Atom type = 0;
    int format = 0;
    unsigned long count = 0, after = 0;
    unsigned char* data = nullptr;
    if (XGetWindowProperty(d, w, icon, 0, 1 << 16, False, AnyPropertyType, &type, &format, &count, &after,
                           &data) != Success ||
        !data)
        return {};
    std::vector<unsigned long> out;
    if (format == 32) {
        auto* values = reinterpret_cast<unsigned long*>(data);  // Xlib hands 32-bit items as longs
        out.assign(values, values + count);
    }
    XFree(data);
    return out;
}

std::unique_ptr<SdlBackend> OpenX11Backend(std::string& error) {
    auto backend = SdlBackend::Open("x11", &error);
    for (int i = 0; !backend && i < 10; ++i) {
        std::this_thread::sleep_for(std::chrono::milliseconds(200));
        backend = SdlBackend::Open("x11", &error);
    }
    return backend;
}

bool SdlComposition(const char* utf8, int cursor) {
    SDL_Event ev{};
    ev.type = SDL_TEXTEDITING;
    ev.edit.windowID = SDL_GetKeyboardFocus() ? SDL_GetWindowID(SDL_GetKeyboardFocus()) : 0;
    SDL_strlcpy(ev.edit.text, utf8, sizeof ev.edit.text);
    ev.edit.start = cursor;
    ev.edit.length = 0;
    return SDL_PushEvent(&ev) == 1;
}

bool SdlCommittedText(const char* utf8) {
    SDL_Event ev{};
    ev.type = SDL_TEXTINPUT;
    ev.text.windowID = SDL_GetKeyboardFocus() ? SDL_GetWindowID(SDL_GetKeyboardFocus()) : 0;
    SDL_strlcpy(ev.text.text, utf8, sizeof ev.text.text);
    return SDL_PushEvent(&ev) == 1;
}

}  // namespace tarvel
