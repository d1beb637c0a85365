#pragma once
// The X session manager's client (XSMP over ICE). Where SESSION_MANAGER
// names a manager that answers, the program registers with it and its
// requests reach the windows' end-session path: a save-yourself before a
// shutdown asks the windows (WM_QUERYENDSESSION) and answers for them, Die
// tells them the session ends (WM_ENDSESSION), a cancelled shutdown tells
// them it goes on. Connecting happens on a thread of its own and the
// connection is read on the GUI thread only when a whole message is there,
// so a manager that is slow, gone or talking nonsense never holds the GUI:
// the connection is closed and the program goes on without one.

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "platform/winsys/WinTypes.h"

namespace tarvel {

class SessionClient {
public:
    // Null when SESSION_MANAGER is unset or empty. `command` is the
    // program's own command line, registered as how to start it again;
    // `wake` (called from another thread) ends the GUI thread's wait.
    static std::unique_ptr<SessionClient> Start(std::vector<std::string> command, std::function<void()> wake);
    ~SessionClient();
    SessionClient(const SessionClient&) = delete;
    SessionClient& operator=(const SessionClient&) = delete;

    // GUI thread, from the event pump: takes what the manager sent.
    void Pump();
    // Registered with a manager and still connected.
    bool Connected() const;

    struct Shared;

private:
    SessionClient() = default;
    void TakeConnection();
    void ReadMessages();
    void Close(const char* why);
    void StopWatching();
    // What the manager's requests come to, run as GUI tasks.
    void AskForShutdown(int interactStyle);
    void Die();
    void ShutdownCancelled();
    friend struct SessionRequests;

    std::shared_ptr<Shared> shared_;
    void* conn_ = nullptr;  // SmcConn, once taken from the connecting thread
    int fd_ = -1;
    uint32_t partialSince_ = 0;         // a message came in part, at this time (0: none)
    std::vector<HWND> waitingWindows_;  // agreed to end, not told yet
};

}  // namespace tarvel
