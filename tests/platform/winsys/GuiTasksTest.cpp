// Tasks handed to the GUI thread through its queue.

#include <memory>
#include <string>
#include <thread>

#include "WinsysFixture.h"

namespace tarvel {
namespace {

using GuiTasks = WinsysTest;

// Runs on the GUI thread, in order with the messages posted around it.
TEST_F(GuiTasks, TasksFromAnotherThreadRunOnTheGuiThreadInPostingOrder) {
    std::vector<std::string> seen;
    const std::thread::id gui = std::this_thread::get_id();
    HWND h = Create(WS_POPUP, Bounds(0, 0, 10, 10), nullptr,
                    [&](HWND, UINT m, WPARAM w, LPARAM) -> std::optional<LRESULT> {
                        if (m == WM_USER) seen.push_back("message " + std::to_string(w));
                        return std::nullopt;
                    });
    std::thread worker([&] {
        PostMessage(h, WM_USER, 1, 0);
        PostGuiTask(
            [&] { seen.push_back(std::this_thread::get_id() == gui ? "task on gui" : "task elsewhere"); });
        PostMessage(h, WM_USER, 2, 0);
        GuiPoster()([&] { seen.push_back("poster"); });
        EXPECT_FALSE(IsGuiThread());
    });
    worker.join();
    EXPECT_TRUE(IsGuiThread());
    Pump();
    EXPECT_EQ(seen, (std::vector<std::string>{"message 1", "task on gui", "message 2", "poster"}));
}

TEST_F(GuiTasks, RunningTasksAheadOfTheirMessagesRunsEachOnce) {
    int runs = 0;
    ASSERT_TRUE(PostGuiTask([&] {
        ++runs;
        PostGuiTask([&] { runs += 10; });  // waits for the queue
    }));
    EXPECT_EQ(RunGuiTasks(), 1);
    EXPECT_EQ(runs, 1);
    Pump();
    EXPECT_EQ(runs, 11);
    int ranElsewhere = -1;
    std::thread([&] { ranElsewhere = RunGuiTasks(); }).join();
    EXPECT_EQ(ranElsewhere, 0);
}

// A task's closure goes when the window system does, so whoever waits on it
// can tell it will never run.
TEST_F(GuiTasks, ShutdownDropsWhatDidNotRunAndNoneArePostedAfter) {
    auto token = std::make_shared<int>(0);
    std::weak_ptr<int> watch = token;
    ASSERT_TRUE(PostGuiTask([token] { ++*token; }));
    token.reset();
    ShutdownWindowSystem();
    EXPECT_TRUE(watch.expired());
    EXPECT_FALSE(PostGuiTask([] {}));
    EXPECT_FALSE(PostGuiTask(nullptr));
    InitWindowSystem(std::make_unique<HeadlessBackend>());  // for TearDown
}

}  // namespace
}  // namespace tarvel
