// The end of the desktop session: every top-level and message-only window
// is asked and then told, one refusal keeps the session, and SIGTERM and
// SIGHUP come to the same path through the event loop.

#include <signal.h>

#include <chrono>
#include <thread>

#include "WinsysFixture.h"

namespace tarvel {
namespace {

class SessionEnd : public WinsysTest {
protected:
    void SetUp() override {
        WinsysTest::SetUp();
        first = Create(WS_POPUP | WS_VISIBLE, Bounds(0, 0, 10, 10));
        hidden = Create(WS_POPUP, Bounds(20, 0, 10, 10));
        child = Create(WS_CHILD | WS_VISIBLE, Bounds(0, 0, 5, 5), first);
        message = AllocateMessageWindow([this](HWND h, UINT m, WPARAM w, LPARAM l) -> LRESULT {
            log.push_back(Logged{h, m, w, l});
            return DefWindowProc(h, m, w, l);
        });
    }
    // Pumps until the windows were told, for a second at most.
    bool PumpUntilTold(HWND h) {
        for (int i = 0; i < 100; ++i) {
            Pump();
            if (Last(h, WM_ENDSESSION)) return true;
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        }
        return false;
    }
    HWND first = nullptr, hidden = nullptr, child = nullptr, message = nullptr;
};

TEST_F(SessionEnd, EveryTopLevelWindowIsAskedAndThenToldItEnds) {
    QueueSessionEnd();
    Pump();
    for (HWND h : {first, hidden, message}) {
        EXPECT_EQ(Messages(h, {WM_QUERYENDSESSION, WM_ENDSESSION}),
                  (std::vector<UINT>{WM_QUERYENDSESSION, WM_ENDSESSION}));
        ASSERT_TRUE(Last(h, WM_ENDSESSION));
        EXPECT_EQ(Last(h, WM_ENDSESSION)->wParam, 1u);
    }
    EXPECT_TRUE(Messages(child, {WM_QUERYENDSESSION, WM_ENDSESSION}).empty());
}

TEST_F(SessionEnd, ARefusalKeepsTheSessionAndTellsTheWindowsAskedSoFar) {
    SetHandler(hidden, [](HWND, UINT m, WPARAM, LPARAM) -> std::optional<LRESULT> {
        if (m == WM_QUERYENDSESSION) return 0;
        return std::nullopt;
    });
    QueueSessionEnd();
    Pump();
    // Made first, asked first: told the session goes on.
    ASSERT_TRUE(Last(first, WM_ENDSESSION));
    EXPECT_EQ(Last(first, WM_ENDSESSION)->wParam, 0u);
    ASSERT_TRUE(Last(hidden, WM_ENDSESSION));
    EXPECT_EQ(Last(hidden, WM_ENDSESSION)->wParam, 0u);
    // Never asked, never told.
    EXPECT_TRUE(Messages(message, {WM_QUERYENDSESSION, WM_ENDSESSION}).empty());
}

TEST_F(SessionEnd, SigtermAndSighupEndTheSessionThroughTheEventLoop) {
    ASSERT_TRUE(WatchSessionSignals());
    for (int signal : {SIGTERM, SIGHUP}) {
        log.clear();
        ASSERT_EQ(raise(signal), 0);
        // Nothing runs in the handler: the windows hear of it when messages are taken.
        EXPECT_TRUE(Messages(first, {WM_QUERYENDSESSION}).empty());
        ASSERT_TRUE(PumpUntilTold(first)) << signal;
        EXPECT_EQ(Last(first, WM_ENDSESSION)->wParam, 1u);
        EXPECT_TRUE(Last(message, WM_ENDSESSION));
    }
}

}  // namespace
}  // namespace tarvel
