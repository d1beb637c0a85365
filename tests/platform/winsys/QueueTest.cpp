// The queue: posting from threads, peeking with filters, WM_QUIT, timers on
// the test clock and nested modal loops.

#include <atomic>
#include <thread>

#include "WinsysFixture.h"

namespace tarvel {
namespace {

using QueueTests = WinsysTest;

TEST_F(QueueTests, PeekWithoutRemovingLeavesTheMessageAsItWas) {
    HWND h = Create(WS_POPUP, Bounds(0, 0, 10, 10));
    PostMessage(h, WM_USER + 1, 11, 22);
    PostMessage(nullptr, WM_USER + 2, 33, 44);
    MSG m;
    ASSERT_TRUE(PeekMessage(&m, nullptr, 0, 0, PM_NOREMOVE));
    EXPECT_EQ(m.message, WM_USER + 1u);
    ASSERT_TRUE(PeekMessage(&m, nullptr, 0, 0, PM_NOREMOVE));
    EXPECT_EQ(m.message, WM_USER + 1u);
    // A filter skips to the first message that passes it.
    ASSERT_TRUE(PeekMessage(&m, HWND_THREAD_ONLY, 0, 0, PM_REMOVE | PM_NOYIELD));
    EXPECT_EQ(m.message, WM_USER + 2u);
    EXPECT_EQ(m.hwnd, nullptr);
    EXPECT_FALSE(PeekMessage(&m, nullptr, WM_USER + 5, WM_USER + 9, PM_REMOVE));
    ASSERT_TRUE(PeekMessage(&m, h, WM_USER, WM_USER + 1, PM_REMOVE));
    EXPECT_EQ(m.wParam, 11u);
    EXPECT_EQ(m.lParam, 22);
    EXPECT_FALSE(PeekMessage(&m, nullptr, 0, 0, PM_REMOVE));
}

TEST_F(QueueTests, QuitPassesEveryFilterAndAPaintPumpPutsItBack) {
    HWND h = Create(WS_POPUP | WS_VISIBLE, Bounds(0, 0, 10, 10));
    Pump();
    InvalidateRect(h, nullptr, false);
    PostQuitMessage(3);
    // The pump of pending paints: peek for WM_PAINT, get it, and hand back a
    // quit it meets on the way.
    MSG m;
    int got = -2;
    while (PeekMessage(&m, nullptr, WM_PAINT, WM_PAINT, PM_NOREMOVE)) {
        got = GetMessage(&m, nullptr, WM_PAINT, WM_PAINT);
        if (got == 0) {
            PostQuitMessage(static_cast<int>(m.wParam));
            break;
        }
        DispatchMessage(&m);
    }
    EXPECT_EQ(got, 0);
    EXPECT_EQ(GetMessage(&m, nullptr, 0, 0), 0);
    EXPECT_EQ(m.wParam, 3u);
    // The paint is still due.
    EXPECT_TRUE(PeekMessage(&m, nullptr, WM_PAINT, WM_PAINT, PM_NOREMOVE));
}

TEST_F(QueueTests, SendingIsADirectCall) {
    HWND h = Create(WS_POPUP, Bounds(0, 0, 10, 10), nullptr,
                    [](HWND, UINT m, WPARAM w, LPARAM) -> std::optional<LRESULT> {
                        if (m == WM_USER) return static_cast<LRESULT>(w * 2);
                        return std::nullopt;
                    });
    EXPECT_EQ(SendMessage(h, WM_USER, 21, 0), 42);
    EXPECT_EQ(SendMessage(SpecialHwnd(0x7777), WM_USER, 1, 0), 0);
}

TEST_F(QueueTests, MessagesFromTwoThreadsArriveInOrderAndNoneIsLost) {
    std::vector<std::pair<WPARAM, LPARAM>> received;
    HWND h = Create(WS_POPUP, Bounds(0, 0, 10, 10), nullptr,
                    [&](HWND, UINT m, WPARAM w, LPARAM l) -> std::optional<LRESULT> {
                        if (m == WM_USER) received.emplace_back(w, l);
                        return std::nullopt;
                    });
    constexpr int kPerThread = 2000;
    auto poster = [h](WPARAM sender) {
        for (int i = 0; i < kPerThread; ++i) PostMessage(h, WM_USER, sender, i);
    };
    std::thread a(poster, 1), b(poster, 2);
    MSG m;
    while (received.size() < 2 * kPerThread && GetMessage(&m, nullptr, 0, 0) > 0) DispatchMessage(&m);
    a.join();
    b.join();
    ASSERT_EQ(received.size(), 2u * kPerThread);
    LPARAM next[3] = {0, 0, 0};
    for (auto [sender, seq] : received) {
        ASSERT_TRUE(sender == 1 || sender == 2);
        EXPECT_EQ(seq, next[sender]) << "sender " << sender;
        next[sender] = seq + 1;
    }
}

// A posting thread stamps its message with the cursor position while the
// GUI thread moves it by taking mouse input: each stamp is a place the mouse
// was (ThreadSanitizer checks that the two never meet unlocked).
TEST_F(QueueTests, APostFromAnotherThreadCarriesAPlaceTheMouseWasWhileTheMouseMoves) {
    std::vector<TPoint> stamps;
    HWND h = Create(WS_POPUP | WS_VISIBLE, Bounds(0, 0, 100, 100), nullptr,
                    [&](HWND, UINT m, WPARAM, LPARAM) -> std::optional<LRESULT> {
                        if (m == WM_USER) stamps.push_back(GetMessagePos());
                        return std::nullopt;
                    });
    constexpr int kPosts = 2000;
    std::thread poster([h] {
        for (int i = 0; i < kPosts; ++i) PostMessage(h, WM_USER, 0, i);
    });
    MSG m;
    for (int i = 0; stamps.size() < kPosts; ++i) {
        backend->MouseMove(TPoint{i % 50, 7});
        if (GetMessage(&m, nullptr, 0, 0) > 0) DispatchMessage(&m);
    }
    poster.join();
    for (const TPoint& p : stamps) {
        EXPECT_TRUE(p.x >= 0 && p.x < 50 && (p.y == 7 || (p.x == 0 && p.y == 0))) << p.x << "," << p.y;
    }
}

TEST_F(QueueTests, WindowTimersFireOnTheClockOncePerLateness) {
    HWND h = Create(WS_POPUP, Bounds(0, 0, 10, 10));
    EXPECT_EQ(SetTimer(h, 7, 400), 7u);
    Pump();
    EXPECT_TRUE(Messages(h, {WM_TIMER}).empty());
    backend->AdvanceClock(399);
    Pump();
    EXPECT_TRUE(Messages(h, {WM_TIMER}).empty());
    backend->AdvanceClock(1);
    Pump();
    ASSERT_EQ(Messages(h, {WM_TIMER}).size(), 1u);
    EXPECT_EQ(Last(h, WM_TIMER)->wParam, 7u);
    // Far behind, a timer still gives one message, then waits its interval.
    backend->AdvanceClock(5000);
    Pump();
    EXPECT_EQ(Messages(h, {WM_TIMER}).size(), 2u);
    // A changed interval counts from now.
    SetTimer(h, 7, 100);
    backend->AdvanceClock(100);
    Pump();
    EXPECT_EQ(Messages(h, {WM_TIMER}).size(), 3u);
    EXPECT_TRUE(KillTimer(h, 7));
    backend->AdvanceClock(1000);
    Pump();
    EXPECT_EQ(Messages(h, {WM_TIMER}).size(), 3u);
    EXPECT_FALSE(KillTimer(h, 7));
}

TEST_F(QueueTests, ThreadTimersComeWithoutAWindow) {
    UINT_PTR a = SetTimer(nullptr, 0, 50);
    UINT_PTR b = SetTimer(nullptr, 0, 50);
    EXPECT_NE(a, 0u);
    EXPECT_NE(a, b);
    backend->AdvanceClock(50);
    MSG m;
    ASSERT_TRUE(PeekMessage(&m, nullptr, 0, 0, PM_NOREMOVE));
    EXPECT_EQ(m.message, WM_TIMER);
    EXPECT_EQ(m.hwnd, nullptr);
    EXPECT_EQ(m.wParam, a);
    KillTimer(nullptr, a);
    KillTimer(nullptr, b);
    EXPECT_FALSE(PeekMessage(&m, nullptr, 0, 0, PM_REMOVE));
}

TEST_F(QueueTests, TimersOfADestroyedWindowStop) {
    HWND h = Create(WS_POPUP, Bounds(0, 0, 10, 10));
    SetTimer(h, 1, 10);
    DestroyWindow(h);
    backend->AdvanceClock(100);
    MSG m;
    EXPECT_FALSE(PeekMessage(&m, nullptr, 0, 0, PM_REMOVE));
}

// A modal loop as forms and menus run it: inside a handler, until its own
// condition holds, with everything else dispatched.
TEST_F(QueueTests, ANestedLoopProcessesPostsAndTimersAndEndsOnItsCondition) {
    std::vector<std::string> trace;
    bool done = false;
    HWND worker = Create(WS_POPUP, Bounds(0, 0, 10, 10), nullptr,
                         [&](HWND hw, UINT m, WPARAM w, LPARAM) -> std::optional<LRESULT> {
                             if (m == WM_USER) trace.push_back("posted " + std::to_string(w));
                             if (m == WM_TIMER) {
                                 trace.push_back("timer");
                                 KillTimer(hw, 1);
                                 done = true;
                             }
                             return std::nullopt;
                         });
    HWND owner = Create(WS_POPUP, Bounds(0, 0, 10, 10), nullptr,
                        [&](HWND, UINT m, WPARAM, LPARAM) -> std::optional<LRESULT> {
                            if (m != WM_USER + 100) return std::nullopt;
                            trace.push_back("loop begins");
                            PostMessage(worker, WM_USER, 1, 0);
                            PostMessage(worker, WM_USER, 2, 0);
                            SetTimer(worker, 1, 250);
                            MSG msg;
                            while (!done) {
                                if (GetMessage(&msg, nullptr, 0, 0) <= 0) break;
                                TranslateMessage(&msg);
                                DispatchMessage(&msg);
                            }
                            trace.push_back("loop ends");
                            return 0;
                        });
    PostMessage(owner, WM_USER + 100, 0, 0);
    PostMessage(worker, WM_USER, 3, 0);  // already queued behind the loop's start
    uint32_t start = backend->Now();
    Pump();
    EXPECT_EQ(trace, (std::vector<std::string>{"loop begins", "posted 3", "posted 1", "posted 2", "timer",
                                               "loop ends"}));
    // The loop waited for the timer on the test clock, not on the wall clock.
    EXPECT_GE(backend->Now() - start, 250u);
}

TEST_F(QueueTests, WaitMessageWakesForAPostFromAnotherThread) {
    HWND h = Create(WS_POPUP, Bounds(0, 0, 10, 10));
    std::thread t([h] {
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
        PostMessage(h, WM_USER, 5, 0);
    });
    EXPECT_TRUE(WaitMessage());
    t.join();
    MSG m;
    ASSERT_TRUE(PeekMessage(&m, nullptr, 0, 0, PM_REMOVE));
    EXPECT_EQ(m.wParam, 5u);
}

}  // namespace
}  // namespace tarvel
