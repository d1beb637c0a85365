// Waiting for messages on the SDL display: the real clock for timers, and
// posts from other threads ending the wait.

#include <thread>

#include "tests/platform/winsys/sdl/SdlFixture.h"

namespace tarvel {
namespace {

using SdlWait = SdlTest;

TEST_F(SdlWait, APostFromAnotherThreadEndsTheWait) { ExpectAPostFromAnotherThreadEndsTheWait(); }

TEST_F(SdlWait, ManyPostsFromThreadsAllArrive) {
    constexpr int kThreads = 4, kEach = 5000;
    std::vector<std::thread> posters;
    for (int t = 0; t < kThreads; ++t)
        posters.emplace_back([] {
            for (int i = 0; i < kEach; ++i) PostMessage(nullptr, WM_APP + 1, 0, 0);
        });
    UINT_PTR backstop = SetTimer(nullptr, 0, 5000);
    int got = 0;
    MSG m;
    while (got < kThreads * kEach && GetMessage(&m, nullptr, 0, 0) == 1) {
        if (m.message == WM_TIMER) break;
        if (m.message == WM_APP + 1) ++got;
    }
    for (std::thread& t : posters) t.join();
    EXPECT_EQ(got, kThreads * kEach);
    KillTimer(nullptr, backstop);
}

TEST_F(SdlWait, ATimerWaitsOnTheRealClock) {
    UINT_PTR id = SetTimer(nullptr, 0, 60);
    uint32_t start = GetTickCount();
    MSG m;
    ASSERT_EQ(GetMessage(&m, nullptr, 0, 0), 1);
    EXPECT_EQ(m.message, WM_TIMER);
    EXPECT_EQ(m.wParam, id);
    uint32_t waited = GetTickCount() - start;
    EXPECT_GE(waited, 55u);
    EXPECT_LT(waited, 1000u);
}

}  // namespace
}  // namespace tarvel
