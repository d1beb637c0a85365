// The end of the desktop session. Linux says so to a program with SIGTERM
// or SIGHUP; the handler only writes to a pipe, and a thread waiting on it
// queues the session's end for the GUI thread, where the windows are asked.

#include <fcntl.h>
#include <signal.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <mutex>
#include <thread>

#include "platform/winsys/Backend.h"
#include "platform/winsys/MessageApi.h"
#include "platform/winsys/SystemApi.h"
#include "platform/winsys/WindowApi.h"
#include "platform/winsys/WinsysState.h"

namespace tarvel {

namespace {

int gSignalPipe[2] = {-1, -1};

void OnSessionSignal(int) {
    const int saved = errno;
    const char byte = 1;
    // A full pipe already holds an end to come.
    [[maybe_unused]] ssize_t n = write(gSignalPipe[1], &byte, 1);
    errno = saved;
}

void WatchSignalPipe() {
    for (;;) {
        char byte = 0;
        const ssize_t n = read(gSignalPipe[0], &byte, 1);
        if (n == 1) {
            std::lock_guard<std::mutex> lock(WindowSystemLifeLock());
            if (HasState()) QueueSessionEnd();
        } else if (n < 0 && errno == EINTR) {
            continue;
        } else {
            return;
        }
    }
}

}  // namespace

std::mutex& WindowSystemLifeLock() {
    static std::mutex lock;
    return lock;
}

bool WatchSessionSignals() {
    static std::mutex once;
    std::lock_guard<std::mutex> lock(once);
    if (gSignalPipe[0] >= 0) return true;
    if (pipe2(gSignalPipe, O_CLOEXEC) != 0) return false;
    fcntl(gSignalPipe[1], F_SETFL, fcntl(gSignalPipe[1], F_GETFL) | O_NONBLOCK);
    std::thread(WatchSignalPipe).detach();
    struct sigaction action {};
    action.sa_handler = OnSessionSignal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    return sigaction(SIGTERM, &action, nullptr) == 0 && sigaction(SIGHUP, &action, nullptr) == 0;
}

std::vector<HWND> SessionWindows() {
    std::vector<HWND> all;
    if (!HasState()) return all;
    WinsysState& s = State();
    for (const auto& [h, w] : s.windows)
        if (h != s.desktop && (w->parent == s.desktop || w->messageOnly)) all.push_back(h);
    // The order they were made in.
    std::sort(all.begin(), all.end(),
              [](HWND a, HWND b) { return reinterpret_cast<uintptr_t>(a) < reinterpret_cast<uintptr_t>(b); });
    return all;
}

bool QueryEndSession(std::vector<HWND>& asked) {
    asked.clear();
    for (HWND h : SessionWindows()) {
        if (!IsWindow(h)) continue;
        asked.push_back(h);
        if (SendMessage(h, WM_QUERYENDSESSION, 0, 0) == 0) return false;
    }
    return true;
}

void TellEndSession(const std::vector<HWND>& windows, bool ends) {
    for (HWND h : windows)
        if (IsWindow(h)) SendMessage(h, WM_ENDSESSION, ends ? 1 : 0, 0);
}

void EndDesktopSession() {
    if (!HasState()) return;
    std::vector<HWND> asked;
    const bool ends = QueryEndSession(asked);
    TellEndSession(asked, ends);
}

}  // namespace tarvel
