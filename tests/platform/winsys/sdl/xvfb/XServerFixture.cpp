#include "XServerFixture.h"

#include "platform/winsys/sdl/SdlBackend.h"

// Before X's headers, whose macros would break it.
#include <gtest/gtest.h>

#include <chrono>
#include <thread>

#include <SDL2/SDL.h>
#include <SDL2/SDL_syswm.h>
#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>
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
pid_t gCompositor = -1;
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
    StopCompositor();
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

bool StartCompositor(std::string& why) {
    ::Display* d = InputDisplay();
    if (!d) {
        why = "no X server";
        return false;
    }
    StopCompositor();
    gCompositor = fork();
    if (gCompositor < 0) {
        why = "cannot fork";
        return false;
    }
    if (gCompositor == 0) {
        prctl(PR_SET_PDEATHSIG, SIGTERM);
        int devnull = open("/dev/null", O_WRONLY);
        if (devnull >= 0) dup2(devnull, STDERR_FILENO);
        execlp("xcompmgr", "xcompmgr", static_cast<char*>(nullptr));
        _exit(127);
    }
    const Atom selection = XInternAtom(d, "_NET_WM_CM_S0", False);
    for (int i = 0; i < 100; ++i) {
        if (XGetSelectionOwner(d, selection) != None) return true;
        int status = 0;
        if (waitpid(gCompositor, &status, WNOHANG) == gCompositor) {
            gCompositor = -1;
            why = WIFEXITED(status) && WEXITSTATUS(status) == 127 ? "xcompmgr is not installed"
                                                                  : "xcompmgr ended at once";
            return false;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
    why = "xcompmgr did not take the compositing selection";
    StopCompositor();
    return false;
}

void StopCompositor() {
    if (gCompositor <= 0) return;
    kill(gCompositor, SIGTERM);
    int status = 0;
    waitpid(gCompositor, &status, 0);
    gCompositor = -1;
    // The selection goes with the manager's connection.
    if (::Display* d = InputDisplay()) {
        const Atom selection = XInternAtom(d, "_NET_WM_CM_S0", False);
        for (int i = 0; i < 100 && XGetSelectionOwner(d, selection) != None; ++i)
            std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
}

int XWindowDepth(SDL_Window* window) {
    ::Display* d = InputDisplay();
    ::Window w = XWindowOf(window);
    XWindowAttributes attrs;
    if (!d || !w || !XGetWindowAttributes(d, w, &attrs)) return 0;
    return attrs.depth;
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

// ---- a notification area ----

std::unique_ptr<XTrayHost> XTrayHost::Start(const TRect& place, int iconSize, std::string& why) {
    ::Display* d = XOpenDisplay(nullptr);
    if (!d) {
        why = "the server takes no client";
        return nullptr;
    }
    std::unique_ptr<XTrayHost> host(new XTrayHost());
    host->place_ = place;
    host->size_ = iconSize;
    host->display_ = d;
    const ::Window root = DefaultRootWindow(d);
    XSetWindowAttributes a{};
    a.override_redirect = True;
    a.background_pixel = 0x304050;
    a.event_mask = SubstructureNotifyMask;
    host->host_ = XCreateWindow(d, root, place.left, place.top, static_cast<unsigned>(place.Width()),
                                static_cast<unsigned>(place.Height()), 0, CopyFromParent, InputOutput,
                                CopyFromParent, CWOverrideRedirect | CWBackPixel | CWEventMask, &a);
    XMapRaised(d, host->host_);
    const Atom selection = XInternAtom(d, "_NET_SYSTEM_TRAY_S0", False);
    XSetSelectionOwner(d, selection, host->host_, CurrentTime);
    // Who watches for a new notification area hears of it.
    XEvent manager{};
    manager.xclient.type = ClientMessage;
    manager.xclient.window = root;
    manager.xclient.message_type = XInternAtom(d, "MANAGER", False);
    manager.xclient.format = 32;
    manager.xclient.data.l[0] = CurrentTime;
    manager.xclient.data.l[1] = static_cast<long>(selection);
    manager.xclient.data.l[2] = static_cast<long>(host->host_);
    XSendEvent(d, root, False, StructureNotifyMask, &manager);
    XSync(d, False);
    if (XGetSelectionOwner(d, selection) != host->host_) {
        why = "the tray selection is not ours";
        return nullptr;
    }
    host->thread_ = std::thread([h = host.get()] { h->Serve(); });
    return host;
}

XTrayHost::~XTrayHost() {
    stop_ = true;
    if (thread_.joinable()) thread_.join();
    auto* d = static_cast<::Display*>(display_);
    if (!d) return;
    // Icons still here go back to the root, as a panel that quits leaves them.
    for (const Icon& icon : icons_) {
        XUnmapWindow(d, icon.window);
        XReparentWindow(d, icon.window, DefaultRootWindow(d), 0, 0);
    }
    if (host_) XDestroyWindow(d, host_);
    XSync(d, False);
    XCloseDisplay(d);
}

void XTrayHost::Serve() {
    auto* d = static_cast<::Display*>(display_);
    const Atom opcode = XInternAtom(d, "_NET_SYSTEM_TRAY_OPCODE", False);
    const Atom xembed = XInternAtom(d, "_XEMBED", False);
    const Atom info = XInternAtom(d, "_XEMBED_INFO", False);
    while (!stop_) {
        if (!XPending(d)) {
            pollfd p{ConnectionNumber(d), POLLIN, 0};
            poll(&p, 1, 50);
            continue;
        }
        XEvent ev;
        XNextEvent(d, &ev);
        if (ev.type == ClientMessage && ev.xclient.message_type == opcode && ev.xclient.data.l[1] == 0) {
            const ::Window icon = static_cast<::Window>(ev.xclient.data.l[2]);
            Atom type = 0;
            int format = 0;
            unsigned long count = 0, after = 0;
            unsigned char* data = nullptr;
            const bool hasInfo = XGetWindowProperty(d, icon, info, 0, 2, False, info, &type, &format, &count,
                                                    &after, &data) == Success &&
                                 data && count == 2;
            if (data) XFree(data);
            std::lock_guard<std::mutex> lock(mutex_);
            const int x = static_cast<int>(icons_.size()) * size_;
            XSelectInput(d, icon, StructureNotifyMask);
            XReparentWindow(d, icon, host_, x, 0);
            XResizeWindow(d, icon, static_cast<unsigned>(size_), static_cast<unsigned>(size_));
            XEvent notify{};
            notify.xclient.type = ClientMessage;
            notify.xclient.window = icon;
            notify.xclient.message_type = xembed;
            notify.xclient.format = 32;
            notify.xclient.data.l[0] = CurrentTime;
            notify.xclient.data.l[1] = 0;  // XEMBED_EMBEDDED_NOTIFY
            notify.xclient.data.l[3] = static_cast<long>(host_);
            XSendEvent(d, icon, False, NoEventMask, &notify);
            XMapRaised(d, icon);
            XSync(d, False);
            icons_.push_back(
                Icon{icon, hasInfo,
                     TRect{place_.left + x, place_.top, place_.left + x + size_, place_.top + size_}});
        } else if (ev.type == DestroyNotify || ev.type == ReparentNotify) {
            const ::Window gone = ev.type == DestroyNotify ? ev.xdestroywindow.window : ev.xreparent.window;
            if (ev.type == ReparentNotify && ev.xreparent.parent == host_) continue;
            std::lock_guard<std::mutex> lock(mutex_);
            for (auto it = icons_.begin(); it != icons_.end(); ++it)
                if (it->window == gone) {
                    icons_.erase(it);
                    break;
                }
        }
    }
}

std::vector<XTrayHost::Icon> XTrayHost::Icons() const {
    std::lock_guard<std::mutex> lock(mutex_);
    return icons_;
}

std::string XTrayHost::IconName(unsigned long window) const {
    ::Display* d = InputDisplay();
    if (!d) return {};
    XTextProperty text{};
    std::string name;
    const Atom netName = XInternAtom(d, "_NET_WM_NAME", False);
    if (XGetTextProperty(d, window, &text, netName) && text.value) {
        name.assign(reinterpret_cast<const char*>(text.value), text.nitems);
        XFree(text.value);
    } else if (XGetWMName(d, window, &text) && text.value) {
        name.assign(reinterpret_cast<const char*>(text.value), text.nitems);
        XFree(text.value);
    }
    return name;
}

// ---- reading the clipboard as another program ----

namespace {

// Waits for an event of `type` on `w` for five seconds at most.
bool WaitFor(::Display* d, ::Window w, int type, XEvent& ev) {
    const auto until = std::chrono::steady_clock::now() + std::chrono::seconds(5);
    while (std::chrono::steady_clock::now() < until) {
        if (XCheckTypedWindowEvent(d, w, type, &ev)) return true;
        pollfd p{ConnectionNumber(d), POLLIN, 0};
        poll(&p, 1, 20);
    }
    return false;
}

}  // namespace

bool XReadClipboard(const std::string& target, std::vector<unsigned char>& out, std::string& why,
                    bool* inPieces) {
    out.clear();
    if (inPieces) *inPieces = false;
    ::Display* d = XOpenDisplay(nullptr);
    if (!d) {
        why = "the server takes no client";
        return false;
    }
    struct Closer {
        ::Display* d;
        ~Closer() { XCloseDisplay(d); }
    } closer{d};
    const ::Window w = XCreateSimpleWindow(d, DefaultRootWindow(d), 0, 0, 1, 1, 0, 0, 0);
    XSelectInput(d, w, PropertyChangeMask);
    const Atom clipboard = XInternAtom(d, "CLIPBOARD", False);
    const Atom wanted = XInternAtom(d, target.c_str(), False);
    const Atom property = XInternAtom(d, "TARVEL_TEST_PASTE", False);
    const Atom incr = XInternAtom(d, "INCR", False);
    XConvertSelection(d, clipboard, wanted, property, w, CurrentTime);
    XFlush(d);
    XEvent ev;
    if (!WaitFor(d, w, SelectionNotify, ev)) {
        why = "no answer from the clipboard's owner";
        return false;
    }
    if (ev.xselection.property == None) {
        why = "the owner refused " + target;
        return false;
    }
    auto take = [&](Atom& type, std::vector<unsigned char>& bytes) {
        int format = 0;
        unsigned long count = 0, after = 0;
        unsigned char* data = nullptr;
        if (XGetWindowProperty(d, w, property, 0, 1 << 24, True, AnyPropertyType, &type, &format, &count,
                               &after, &data) != Success)
            return false;
        const size_t unit = format == 32 ? sizeof(long) : format == 16 ? sizeof(short) : 1;
        if (data) bytes.assign(data, data + count * unit);
        if (data) XFree(data);
        return true;
    };
    // Property notices from the first answer on are the transfer's.
    while (XCheckTypedWindowEvent(d, w, PropertyNotify, &ev)) {
    }
    Atom type = 0;
    std::vector<unsigned char> bytes;
    if (!take(type, bytes)) {
        why = "the answer cannot be read";
        return false;
    }
    if (type == incr) {
        if (inPieces) *inPieces = true;
        for (;;) {
            // Each new piece is announced by the property being set again.
            do {
                if (!WaitFor(d, w, PropertyNotify, ev)) {
                    why = "the INCR transfer stopped";
                    return false;
                }
            } while (ev.xproperty.state != PropertyNewValue || ev.xproperty.atom != property);
            std::vector<unsigned char> piece;
            if (!take(type, piece)) {
                why = "a piece cannot be read";
                return false;
            }
            if (piece.empty()) break;
            out.insert(out.end(), piece.begin(), piece.end());
        }
        return true;
    }
    if (target == "TARGETS") {
        const auto* atoms = reinterpret_cast<const long*>(bytes.data());
        for (size_t i = 0; i < bytes.size() / sizeof(long); ++i) {
            char* name = XGetAtomName(d, static_cast<Atom>(atoms[i]));
            if (!name) continue;
            out.insert(out.end(), name, name + std::strlen(name));
            out.push_back('\n');
            XFree(name);
        }
        return true;
    }
    out = std::move(bytes);
    return true;
}

bool XTakeClipboard() {
    ::Display* d = InputDisplay();
    if (!d) return false;
    static ::Window taker = 0;
    if (!taker) taker = XCreateSimpleWindow(d, DefaultRootWindow(d), 0, 0, 1, 1, 0, 0, 0);
    const Atom clipboard = XInternAtom(d, "CLIPBOARD", False);
    XSetSelectionOwner(d, clipboard, taker, CurrentTime);
    XSync(d, False);
    return XGetSelectionOwner(d, clipboard) == taker;
}

}  // namespace tarvel
