// The X session manager's client: connecting on a thread, watching the
// connection there, and reading it on the GUI thread.

#include "platform/winsys/sdl/SessionClient.h"

#include <X11/ICE/ICEconn.h>
#include <X11/ICE/ICElib.h>
#include <X11/SM/SMlib.h>
#include <fcntl.h>
#include <poll.h>
#include <pwd.h>
#include <signal.h>
#include <sys/ioctl.h>
#include <sys/socket.h>
#include <unistd.h>

#include <byteswap.h>

#include <atomic>
#include <cerrno>
#include <chrono>
#include <condition_variable>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <mutex>
#include <thread>

#include "platform/winsys/Backend.h"
#include "platform/winsys/GuiTasks.h"

namespace tarvel {

namespace {

// No request the manager has reason to send is near this long; a header
// that says more is nonsense, and waiting for it would wait forever.
constexpr uint32_t kMaxMessageBytes = 64 * 1024;
// A message that came in part and is not whole after this is given up.
constexpr int kPartialMessageLimitMs = 3000;
// While a message is in part, the watcher looks again after this.
constexpr int kPartialRetryMs = 20;

uint32_t MonotonicMs() {
    return static_cast<uint32_t>(std::chrono::duration_cast<std::chrono::milliseconds>(
                                     std::chrono::steady_clock::now().time_since_epoch())
                                     .count());
}

// The connection an error was reported on; the GUI thread closes it after
// the read that reported it. ICE's and the session library's own handlers
// end the process.
std::atomic<IceConn> gFailedConnection{nullptr};

void OnIceIoError(IceConn conn) { gFailedConnection = conn; }

void OnIceError(IceConn conn, Bool, int minor, unsigned long, int errorClass, int severity, IcePointer) {
    std::fprintf(stderr, "tarvel-bms: the session manager's connection reported error %d (request %d)\n",
                 errorClass, minor);
    if (severity != IceCanContinue) gFailedConnection = conn;
}

void OnSmcError(SmcConn conn, Bool, int minor, unsigned long, int errorClass, int severity, SmPointer) {
    std::fprintf(stderr, "tarvel-bms: the session manager reported error %d (request %d)\n", errorClass,
                 minor);
    if (severity != IceCanContinue) gFailedConnection = SmcGetIceConnection(conn);
}

// A major opcode the connection knows: ICE's own, or a protocol set up on it.
bool KnownOpcode(IceConn ice, unsigned char major) {
    if (major == 0) return true;
    const int low = static_cast<unsigned char>(ice->his_min_opcode);
    const int high = static_cast<unsigned char>(ice->his_max_opcode);
    return ice->process_msg_info && major >= low && major <= high &&
           ice->process_msg_info[major - low].in_use;
}

std::string UserName() {
    if (const passwd* pw = getpwuid(getuid())) return pw->pw_name;
    return std::to_string(getuid());
}

}  // namespace

struct SessionClient::Shared {
    std::mutex mutex;
    std::condition_variable changed;
    enum Phase { Connecting, Ready, Failed } phase = Connecting;
    SmcConn conn = nullptr;
    bool readable = false;  // the watcher saw something for the GUI thread to read
    int retryMs = 0;        // set by the GUI thread: look again after this
    bool stop = false;
    int stopPipe[2] = {-1, -1};
    std::function<void()> wake;
    SessionClient* owner = nullptr;  // GUI thread only; null once it is gone
};

namespace {

using Shared = SessionClient::Shared;

void SetProperties(SmcConn conn, const std::vector<std::string>& command) {
    std::string program = command.empty() ? std::string("tarvel-bms") : command[0];
    std::string user = UserName();
    std::vector<SmPropValue> args;
    for (const std::string& a : command)
        args.push_back(SmPropValue{static_cast<int>(a.size()), const_cast<char*>(a.data())});
    if (args.empty()) args.push_back(SmPropValue{static_cast<int>(program.size()), program.data()});
    SmPropValue programValue{static_cast<int>(program.size()), program.data()};
    SmPropValue userValue{static_cast<int>(user.size()), user.data()};
    SmProp programProp{const_cast<char*>(SmProgram), const_cast<char*>(SmARRAY8), 1, &programValue};
    SmProp userProp{const_cast<char*>(SmUserID), const_cast<char*>(SmARRAY8), 1, &userValue};
    SmProp restartProp{const_cast<char*>(SmRestartCommand), const_cast<char*>(SmLISTofARRAY8),
                       static_cast<int>(args.size()), args.data()};
    SmProp cloneProp{const_cast<char*>(SmCloneCommand), const_cast<char*>(SmLISTofARRAY8),
                     static_cast<int>(args.size()), args.data()};
    SmProp* props[] = {&programProp, &userProp, &restartProp, &cloneProp};
    SmcSetProperties(conn, 4, props);
}

}  // namespace

// The manager's requests, heard inside the library's read: they only hand
// the work to the GUI thread's queue, since asking the windows can run a
// modal loop that reads the connection again.
struct SessionRequests {
    static void Post(SmPointer data, void (*what)(SessionClient*, int), int arg = 0) {
        Shared* shared = static_cast<Shared*>(data);
        if (!shared->owner) return;
        std::weak_ptr<Shared> weak = shared->owner->shared_;
        PostGuiTask([weak, what, arg] {
            auto s = weak.lock();
            if (s && s->owner) what(s->owner, arg);
        });
    }
    static void SaveYourself(SmcConn conn, SmPointer data, int, Bool shutdown, int interactStyle, Bool) {
        // Nothing of the tool's is kept by the session: a save without an
        // end is done at once.
        if (!shutdown) {
            SmcSaveYourselfDone(conn, True);
            return;
        }
        Post(
            data, [](SessionClient* c, int style) { c->AskForShutdown(style); }, interactStyle);
    }
    static void Die(SmcConn, SmPointer data) {
        Post(data, [](SessionClient* c, int) { c->Die(); });
    }
    static void SaveComplete(SmcConn, SmPointer) {}
    static void ShutdownCancelled(SmcConn, SmPointer data) {
        Post(data, [](SessionClient* c, int) { c->ShutdownCancelled(); });
    }
    // Our turn to talk to the user: a window refused, and we say so by
    // cancelling the shutdown.
    static void Interact(SmcConn conn, SmPointer) {
        SmcInteractDone(conn, True);
        SmcSaveYourselfDone(conn, False);
    }
};

namespace {

// The connecting thread, which then watches the connection for the GUI
// thread: it never reads it.
void ConnectAndWatch(std::shared_ptr<Shared> shared, std::string address, std::vector<std::string> command) {
    SmcCallbacks callbacks{};
    callbacks.save_yourself.callback = SessionRequests::SaveYourself;
    callbacks.save_yourself.client_data = shared.get();
    callbacks.die.callback = SessionRequests::Die;
    callbacks.die.client_data = shared.get();
    callbacks.save_complete.callback = SessionRequests::SaveComplete;
    callbacks.save_complete.client_data = shared.get();
    callbacks.shutdown_cancelled.callback = SessionRequests::ShutdownCancelled;
    callbacks.shutdown_cancelled.client_data = shared.get();
    char error[256] = "";
    char* clientId = nullptr;
    SmcConn conn = SmcOpenConnection(
        address.data(), nullptr, SmProtoMajor, SmProtoMinor,
        SmcSaveYourselfProcMask | SmcDieProcMask | SmcSaveCompleteProcMask | SmcShutdownCancelledProcMask,
        &callbacks, nullptr, &clientId, sizeof error, error);
    std::free(clientId);
    int fd = -1;
    {
        std::unique_lock<std::mutex> lock(shared->mutex);
        if (!conn) {
            shared->phase = Shared::Failed;
            if (!shared->stop) std::fprintf(stderr, "tarvel-bms: no session manager: %s\n", error);
            return;
        }
        if (shared->stop) {
            // Gone while we connected: nobody takes the connection.
            lock.unlock();
            SmcCloseConnection(conn, 0, nullptr);
            return;
        }
        SetProperties(conn, command);
        // Read before the GUI thread can take the connection and close it.
        fd = IceConnectionNumber(SmcGetIceConnection(conn));
        shared->conn = conn;
        shared->phase = Shared::Ready;
    }
    {
        // Under the lock: once the client has stopped us its window system,
        // which `wake` reaches, may be gone.
        std::lock_guard<std::mutex> lock(shared->mutex);
        if (shared->stop) return;
        shared->wake();
    }
    for (;;) {
        int retry = 0;
        {
            std::unique_lock<std::mutex> lock(shared->mutex);
            shared->changed.wait(lock, [&] { return shared->stop || !shared->readable; });
            if (shared->stop) return;
            retry = shared->retryMs;
        }
        pollfd fds[2] = {{shared->stopPipe[0], POLLIN, 0}, {fd, POLLIN, 0}};
        if (retry > 0 && poll(fds, 1, retry) != 0) return;
        if (poll(fds, 2, -1) < 0) {
            if (errno == EINTR) continue;
            return;
        }
        if (fds[0].revents) return;
        if (fds[1].revents) {
            std::lock_guard<std::mutex> lock(shared->mutex);
            if (shared->stop) return;
            shared->readable = true;
            shared->wake();
        }
    }
}

}  // namespace

std::unique_ptr<SessionClient> SessionClient::Start(std::vector<std::string> command,
                                                    std::function<void()> wake) {
    const char* address = std::getenv("SESSION_MANAGER");
    if (!address || !*address) return nullptr;
    static std::once_flag handlers;
    std::call_once(handlers, [] {
        IceSetIOErrorHandler(OnIceIoError);
        IceSetErrorHandler(OnIceError);
        SmcSetErrorHandler(OnSmcError);
        // A manager gone between its message and our answer must not end
        // the program with the write.
        struct sigaction old {};
        if (sigaction(SIGPIPE, nullptr, &old) == 0 && old.sa_handler == SIG_DFL) signal(SIGPIPE, SIG_IGN);
    });
    auto shared = std::make_shared<Shared>();
    if (pipe2(shared->stopPipe, O_CLOEXEC) != 0) return nullptr;
    shared->wake = std::move(wake);
    std::unique_ptr<SessionClient> client(new SessionClient());
    client->shared_ = shared;
    shared->owner = client.get();
    std::thread(ConnectAndWatch, shared, std::string(address), std::move(command)).detach();
    return client;
}

SessionClient::~SessionClient() {
    shared_->owner = nullptr;
    StopWatching();
    if (conn_) {
        SmcCloseConnection(static_cast<SmcConn>(conn_), 0, nullptr);
        conn_ = nullptr;
    }
    // The pipe stays open: a thread still connecting, or leaving its watch,
    // may look at it, and it costs two descriptors for the program's life.
}

bool SessionClient::Connected() const { return conn_ != nullptr; }

void SessionClient::TakeConnection() {
    std::lock_guard<std::mutex> lock(shared_->mutex);
    if (shared_->phase != Shared::Ready || !shared_->conn) return;
    conn_ = shared_->conn;
    shared_->conn = nullptr;
    fd_ = IceConnectionNumber(SmcGetIceConnection(static_cast<SmcConn>(conn_)));
}

void SessionClient::Pump() {
    if (!conn_ && fd_ < 0) TakeConnection();
    if (!conn_) return;
    bool readable = false;
    {
        std::lock_guard<std::mutex> lock(shared_->mutex);
        readable = shared_->readable;
    }
    if (!readable) return;
    ReadMessages();
    if (!conn_) return;
    {
        std::lock_guard<std::mutex> lock(shared_->mutex);
        shared_->readable = false;
        shared_->retryMs = partialSince_ ? kPartialRetryMs : 0;
    }
    shared_->changed.notify_all();
}

// Only whole messages are handed to the library, which would otherwise wait
// in a read for the rest.
void SessionClient::ReadMessages() {
    IceConn ice = SmcGetIceConnection(static_cast<SmcConn>(conn_));
    for (;;) {
        int waiting = 0;
        if (ioctl(fd_, FIONREAD, &waiting) != 0) return Close("its connection cannot be read");
        if (waiting == 0) {
            pollfd p{fd_, POLLIN, 0};
            // Readable with nothing to read: the manager closed its end.
            if (poll(&p, 1, 0) > 0) return Close("it closed the connection");
            partialSince_ = 0;
            return;
        }
        unsigned char header[8];
        bool whole = false;
        if (waiting >= 8 && recv(fd_, header, sizeof header, MSG_PEEK) == 8) {
            uint32_t words = 0;
            std::memcpy(&words, header + 4, 4);
            if (ice->swap) words = bswap_32(words);
            if (words > kMaxMessageBytes / 8 || !KnownOpcode(ice, header[0]))
                return Close("it sent a message no manager sends");
            whole = static_cast<uint32_t>(waiting) >= 8 + words * 8;
        }
        if (!whole) {
            const uint32_t now = MonotonicMs();
            if (!partialSince_)
                partialSince_ = now ? now : 1;
            else if (now - partialSince_ > static_cast<uint32_t>(kPartialMessageLimitMs))
                return Close("it stopped in the middle of a message");
            return;
        }
        partialSince_ = 0;
        gFailedConnection = nullptr;
        const IceProcessMessagesStatus status = IceProcessMessages(ice, nullptr, nullptr);
        if (status != IceProcessMessagesSuccess || gFailedConnection == ice)
            return Close(status == IceProcessMessagesConnectionClosed ? "it closed the connection"
                                                                      : "it sent what cannot be read");
    }
}

void SessionClient::Close(const char* why) {
    std::fprintf(stderr, "tarvel-bms: the session manager's connection is closed: %s\n", why);
    StopWatching();
    IceConn ice = SmcGetIceConnection(static_cast<SmcConn>(conn_));
    // Nothing more is said on a connection that failed.
    IceSetShutdownNegotiation(ice, False);
    SmcCloseConnection(static_cast<SmcConn>(conn_), 0, nullptr);
    conn_ = nullptr;
    partialSince_ = 0;
    // A shutdown the manager can no longer finish or cancel: the session
    // goes on for the windows that were waiting for its end.
    if (!waitingWindows_.empty()) ShutdownCancelled();
}

void SessionClient::AskForShutdown(int interactStyle) {
    std::vector<HWND> asked;
    const bool ends = QueryEndSession(asked);
    if (ends) {
        waitingWindows_ = asked;
        if (conn_)
            SmcSaveYourselfDone(static_cast<SmcConn>(conn_), True);
        else
            ShutdownCancelled();
        return;
    }
    TellEndSession(asked, false);
    if (!conn_) return;
    SmcConn conn = static_cast<SmcConn>(conn_);
    if (interactStyle != SmInteractStyleNone &&
        SmcInteractRequest(conn, interactStyle == SmInteractStyleErrors ? SmDialogError : SmDialogNormal,
                           SessionRequests::Interact, shared_.get()))
        return;
    SmcSaveYourselfDone(conn, False);
}

void SessionClient::StopWatching() {
    {
        std::lock_guard<std::mutex> lock(shared_->mutex);
        shared_->stop = true;
    }
    shared_->changed.notify_all();
    [[maybe_unused]] ssize_t n = write(shared_->stopPipe[1], "x", 1);
}

void SessionClient::Die() {
    waitingWindows_.clear();
    TellEndSession(SessionWindows(), true);
    // The manager waits for us to go.
    if (conn_) {
        StopWatching();
        SmcCloseConnection(static_cast<SmcConn>(conn_), 0, nullptr);
        conn_ = nullptr;
    }
}

void SessionClient::ShutdownCancelled() {
    std::vector<HWND> told;
    told.swap(waitingWindows_);
    TellEndSession(told, false);
}

}  // namespace tarvel
