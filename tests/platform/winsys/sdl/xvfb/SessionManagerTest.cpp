// The X session manager's requests reach the windows' end-session path: a
// manager of the tests' own (a program apart) asks, and what the program
// answers comes back to it. A manager gone or talking nonsense costs the
// program nothing.

#include <fcntl.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include <cstdlib>

#include "XServerFixture.h"
#include "tests/platform/winsys/sdl/SdlFixture.h"
#include "tests/platform/winsys/sdl/session/SessionManagerProcess.h"

namespace tarvel {
namespace {

class SessionManager : public SdlTest {
public:
    SessionManager() : SdlTest("x11") {}

protected:
    void SetUp() override {
        SdlTest::SetUp();
        if (HasFatalFailure()) return;
        std::string why;
        ASSERT_TRUE(manager.Start(why)) << why;
        setenv("SESSION_MANAGER", manager.Address().c_str(), 1);
        first = probe->Create(WS_OVERLAPPED | WS_VISIBLE, Bounds(40, 40, 120, 80), nullptr, RGB(90, 160, 90));
        second = probe->Create(WS_POPUP, Bounds(200, 40, 60, 60));
        ASSERT_TRUE(backend->JoinSessionManager({"/opt/tool/tarvel-bms", "--port", "/dev/ttyUSB0"}));
        ASSERT_TRUE(PumpUntil([&] { return backend->InSessionManager(); }, 5000));
        ASSERT_TRUE(PumpUntil([&] { return manager.Heard("prop CloneCommand"); }, 5000));
        probe->log.clear();
    }
    void TearDown() override {
        SdlTest::TearDown();
        unsetenv("SESSION_MANAGER");
    }
    // The windows' answers and what they were told, in order.
    std::vector<UINT> SessionMessages(HWND h) {
        return probe->Messages(h, {WM_QUERYENDSESSION, WM_ENDSESSION});
    }
    bool Told(HWND h, WPARAM ends) {
        const Logged* told = probe->Last(h, WM_ENDSESSION);
        return told && told->wParam == ends;
    }
    void Refuse(HWND h) {
        refusing = h;
        SetWindowLongPtr(h, GWL_WNDPROC, reinterpret_cast<LONG_PTR>(refusingProc_));
    }

    SessionManagerProcess manager;
    HWND first = nullptr, second = nullptr, refusing = nullptr;

private:
    WNDPROC refusingProc_ = MakeWindowProc([this](HWND h, UINT m, WPARAM w, LPARAM l) -> LRESULT {
        probe->log.push_back(Logged{h, m, w, l});
        if (m == WM_QUERYENDSESSION) return 0;
        return DefWindowProc(h, m, w, l);
    });
};

TEST_F(SessionManager, TheProgramRegistersHowToStartItAgain) {
    for (const char* line :
         {"prop Program /opt/tool/tarvel-bms", "prop RestartCommand /opt/tool/tarvel-bms|--port|/dev/ttyUSB0",
          "prop CloneCommand /opt/tool/tarvel-bms|--port|/dev/ttyUSB0", "prop UserID "})
        EXPECT_TRUE(manager.Heard(line)) << line;
}

TEST_F(SessionManager, AShutdownIsAskedOfTheWindowsAndDieEndsTheSession) {
    manager.Send("save 1 any");
    ASSERT_TRUE(PumpUntil([&] { return manager.Heard("done "); }));
    EXPECT_TRUE(manager.Heard("done 1"));
    // Asked, not told yet: the manager has the last word.
    for (HWND h : {first, second}) EXPECT_EQ(SessionMessages(h), std::vector<UINT>{WM_QUERYENDSESSION});
    manager.Send("die");
    ASSERT_TRUE(PumpUntil([&] { return Told(first, 1) && Told(second, 1); }));
    EXPECT_TRUE(PumpUntil([&] { return manager.Heard("closed"); }));
    EXPECT_FALSE(backend->InSessionManager());
}

TEST_F(SessionManager, ACancelledShutdownTellsTheWindowsTheSessionGoesOn) {
    manager.Send("save 1 none");
    ASSERT_TRUE(PumpUntil([&] { return manager.Heard("done 1"); }));
    manager.Send("cancel");
    ASSERT_TRUE(PumpUntil([&] { return Told(first, 0) && Told(second, 0); }));
    EXPECT_TRUE(backend->InSessionManager());
    // Still served: the next request is answered.
    manager.Forget();
    manager.Send("save 0 none");
    EXPECT_TRUE(PumpUntil([&] { return manager.Heard("done 1"); }));
}

// A window that refuses keeps the session: where the manager lets the
// program talk to the user, it asks to and cancels the shutdown; where not,
// it answers that the save failed.
TEST_F(SessionManager, ARefusingWindowCancelsTheShutdown) {
    struct Case {
        const char* style;
        bool interacts;
    };
    for (const Case c : {Case{"any", true}, Case{"errors", true}, Case{"none", false}}) {
        SCOPED_TRACE(c.style);
        Refuse(second);
        manager.Forget();
        probe->log.clear();
        manager.Send(std::string("save 1 ") + c.style);
        ASSERT_TRUE(PumpUntil([&] { return manager.Heard("done "); }));
        EXPECT_TRUE(manager.Heard("done 0"));
        EXPECT_EQ(manager.Heard("interact-request"), c.interacts);
        EXPECT_EQ(manager.Heard("interact-done 1"), c.interacts);
        // Asked in the order made, both told at once the session goes on.
        EXPECT_EQ(SessionMessages(first), (std::vector<UINT>{WM_QUERYENDSESSION, WM_ENDSESSION}));
        EXPECT_TRUE(Told(first, 0));
        EXPECT_TRUE(Told(second, 0));
        manager.Send("cancel");
        PumpFor(100);
        EXPECT_EQ(SessionMessages(first).size(), 2u) << "told twice";
    }
}

TEST_F(SessionManager, APlainSaveIsAnsweredWithoutEndingAnything) {
    manager.Send("save 0 any");
    ASSERT_TRUE(PumpUntil([&] { return manager.Heard("done 1"); }));
    PumpFor(100);
    EXPECT_TRUE(SessionMessages(first).empty());
    EXPECT_TRUE(SessionMessages(second).empty());
}

// However the manager goes, the connection is closed, nothing waits, and
// windows that had agreed to end hear that the session goes on.
class ManagerLost : public SessionManager, public ::testing::WithParamInterface<const char*> {};

TEST_P(ManagerLost, TheConnectionIsClosedAndTheProgramGoesOn) {
    manager.Send("save 1 none");
    ASSERT_TRUE(PumpUntil([&] { return manager.Heard("done 1"); }));
    manager.Send(GetParam());
    // Half a message is waited for a few seconds, no more.
    ASSERT_TRUE(PumpUntil([&] { return !backend->InSessionManager(); }, 8000));
    EXPECT_TRUE(Told(first, 0));
    EXPECT_TRUE(Told(second, 0));
    // The program still takes its messages.
    PostMessage(first, WM_APP, 0, 0);
    EXPECT_TRUE(PumpUntil([&] { return probe->Last(first, WM_APP) != nullptr; }, 1000));
}

// "vanish" runs last: on a loaded machine the window system could not open
// the display again in the same process after it, 2 times in 20, and why is
// not yet known. The tool opens its display once.
INSTANTIATE_TEST_SUITE_P(SessionManager, ManagerLost, ::testing::Values("garbage", "stall", "vanish"));

// With no manager named nothing is tried; one named that takes the
// connection and never answers holds neither the GUI nor the program's end.
class NoSessionManager : public SdlTest {
public:
    NoSessionManager() : SdlTest("x11") {}
};

TEST_F(NoSessionManager, NoneNamedOrOneThatNeverAnswersHoldsNothing) {
    unsetenv("SESSION_MANAGER");
    EXPECT_FALSE(backend->JoinSessionManager({"tarvel-bms"}));

    const std::string path = std::string(TARVEL_BINARY_DIR) + "/silent-session-manager";
    unlink(path.c_str());
    const int silent = socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    std::snprintf(address.sun_path, sizeof address.sun_path, "%s", path.c_str());
    ASSERT_EQ(bind(silent, reinterpret_cast<sockaddr*>(&address), sizeof address), 0);
    ASSERT_EQ(listen(silent, 4), 0);
    char host[256] = "";
    gethostname(host, sizeof host);
    setenv("SESSION_MANAGER", (std::string("local/") + host + ":" + path).c_str(), 1);
    EXPECT_TRUE(backend->JoinSessionManager({"tarvel-bms"}));
    HWND form = probe->Create(WS_OVERLAPPED | WS_VISIBLE, Bounds(40, 40, 120, 80));
    PostMessage(form, WM_APP, 0, 0);
    EXPECT_TRUE(PumpUntil([&] { return probe->Last(form, WM_APP) != nullptr; }, 1000));
    PumpFor(300);
    EXPECT_FALSE(backend->InSessionManager());
    unsetenv("SESSION_MANAGER");
    close(silent);
    unlink(path.c_str());
}

}  // namespace
}  // namespace tarvel
