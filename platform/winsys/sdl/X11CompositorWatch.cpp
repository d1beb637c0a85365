#include "platform/winsys/sdl/X11CompositorWatch.h"

#include <X11/Xlib.h>
#include <X11/extensions/Xfixes.h>
#include <fcntl.h>
#include <poll.h>
#include <unistd.h>

#include <atomic>
#include <string>
#include <thread>

namespace tarvel {

struct X11CompositorWatch::State {
    ::Display* display = nullptr;
    Atom selection = None;
    int fixesEvent = 0;
    std::function<void()> changed;
    std::thread thread;
    int wake[2] = {-1, -1};
    std::atomic<bool> stop{false};
    std::atomic<bool> running{false};
    std::atomic<bool> changePending{false};
};

X11CompositorWatch::X11CompositorWatch() : state_(std::make_unique<State>()) {}

std::unique_ptr<X11CompositorWatch> X11CompositorWatch::Open(std::function<void()> changed) {
    ::Display* d = XOpenDisplay(nullptr);
    if (!d) return nullptr;
    int fixesEvent = 0, fixesError = 0;
    if (!XFixesQueryExtension(d, &fixesEvent, &fixesError)) {
        XCloseDisplay(d);
        return nullptr;
    }
    std::unique_ptr<X11CompositorWatch> watch(new X11CompositorWatch());
    State& s = *watch->state_;
    s.display = d;
    s.fixesEvent = fixesEvent;
    s.changed = std::move(changed);
    const std::string name = "_NET_WM_CM_S" + std::to_string(DefaultScreen(d));
    s.selection = XInternAtom(d, name.c_str(), False);
    // Asked for before the owner is read, so no change falls between the two.
    XFixesSelectSelectionInput(d, DefaultRootWindow(d), s.selection,
                               XFixesSetSelectionOwnerNotifyMask | XFixesSelectionWindowDestroyNotifyMask |
                                   XFixesSelectionClientCloseNotifyMask);
    s.running = XGetSelectionOwner(d, s.selection) != None;
    if (pipe2(s.wake, O_CLOEXEC | O_NONBLOCK) != 0) {
        XCloseDisplay(d);
        s.display = nullptr;
        return nullptr;
    }
    XFlush(d);
    s.thread = std::thread([w = watch.get()] { w->Listen(); });
    return watch;
}

X11CompositorWatch::~X11CompositorWatch() {
    State& s = *state_;
    s.stop = true;
    const char byte = 1;
    [[maybe_unused]] ssize_t n = write(s.wake[1], &byte, 1);
    if (s.thread.joinable()) s.thread.join();
    if (s.display) XCloseDisplay(s.display);
    for (int fd : s.wake)
        if (fd >= 0) close(fd);
}

bool X11CompositorWatch::Running() const { return state_->running; }

bool X11CompositorWatch::TakeChange() { return state_->changePending.exchange(false); }

void X11CompositorWatch::Listen() {
    State& s = *state_;
    ::Display* d = s.display;
    while (!s.stop) {
        bool heard = false;
        while (XPending(d) > 0) {
            XEvent ev;
            XNextEvent(d, &ev);
            if (ev.type != s.fixesEvent + XFixesSelectionNotify) continue;
            const auto& notice = reinterpret_cast<const XFixesSelectionNotifyEvent&>(ev);
            if (notice.selection != s.selection) continue;
            // A manager that dies leaves the selection with no owner.
            const bool now = notice.subtype == XFixesSetSelectionOwnerNotify && notice.owner != None;
            if (now != s.running.exchange(now)) heard = true;
        }
        if (heard) {
            s.changePending = true;
            if (s.changed) s.changed();
        }
        pollfd fds[2] = {{ConnectionNumber(d), POLLIN, 0}, {s.wake[0], POLLIN, 0}};
        poll(fds, 2, -1);
        char drain[16];
        while (read(s.wake[0], drain, sizeof drain) > 0) {
        }
    }
}

}  // namespace tarvel
