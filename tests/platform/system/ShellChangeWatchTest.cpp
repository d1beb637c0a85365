// The folder watch: changes made outside reach the call-back on the posting
// queue's thread, folded together; new options take effect at once; a watch
// destroyed with call-backs still queued runs none of them. Waits are bounded
// and generous.

#include "platform/system/ShellChangeWatch.h"

#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <thread>

#include "tests/TempFolderFixture.h"
#include "tests/link/GuiQueueFixture.h"

namespace tarvel {
namespace {

namespace fs = std::filesystem;
using namespace std::chrono_literals;

constexpr uint32_t kNames = scfFileName | scfDirName;

class ShellChangeWatchTest : public ::testing::Test {
protected:
    static bool Armed(TShellChangeWatch& watch) {
        for (int i = 0; i < 1000 && !watch.Watching(); ++i) std::this_thread::sleep_for(10ms);
        return watch.Watching();
    }
    // Runs the queue until a call-back came (true) or the time is up.
    bool ChangeSeen(std::chrono::milliseconds limit = 10s) {
        const int before = changes_;
        return queue_.RunUntil([&] { return changes_ > before; }, limit);
    }

    testing::TempFolder tmp_;
    testing::GuiQueue queue_;
    int changes_ = 0;
};

TEST_F(ShellChangeWatchTest, FilesAndFoldersMadeAndRemovedOutsideAreReported) {
    TShellChangeWatch watch(queue_.Poster(), [&] { ++changes_; });
    watch.SetOptions(tmp_.Path().string(), false, kNames);
    ASSERT_TRUE(Armed(watch));
    std::ofstream(tmp_.Path() / "new.txt") << "x";
    EXPECT_TRUE(ChangeSeen()) << "created";
    fs::remove(tmp_.Path() / "new.txt");
    EXPECT_TRUE(ChangeSeen()) << "removed";
    fs::create_directory(tmp_.Path() / "folder");
    EXPECT_TRUE(ChangeSeen()) << "folder made";
}

TEST_F(ShellChangeWatchTest, FiltersAndTheSubTreeDecideWhatCounts) {
    fs::create_directories(tmp_.Path() / "sub");
    std::ofstream(tmp_.Path() / "file.txt") << "x";
    struct Case {
        const char* what;
        bool subTree;
        uint32_t filters;
        std::function<void()> act;
        bool reported;
    } const cases[] = {
        {"a file below, sub-tree off", false, kNames, [&] { std::ofstream(tmp_.Path() / "sub" / "f1"); },
         false},
        {"a file below, sub-tree on", true, kNames, [&] { std::ofstream(tmp_.Path() / "sub" / "f2"); }, true},
        {"a folder, file names only", false, scfFileName, [&] { fs::create_directory(tmp_.Path() / "d1"); },
         false},
        {"a write, names only", false, kNames, [&] { std::ofstream(tmp_.Path() / "file.txt") << "more"; },
         false},
        {"a write, last write", false, scfLastWrite,
         [&] { std::ofstream(tmp_.Path() / "file.txt") << "again"; }, true},
    };
    for (const Case& c : cases) {
        TShellChangeWatch watch(queue_.Poster(), [&] { ++changes_; });
        watch.SetOptions(tmp_.Path().string(), c.subTree, c.filters);
        ASSERT_TRUE(Armed(watch)) << c.what;
        c.act();
        // A change not asked for is given a fair second to show up anyway.
        EXPECT_EQ(ChangeSeen(c.reported ? 10000ms : 1000ms), c.reported) << c.what;
    }
}

TEST_F(ShellChangeWatchTest, NewOptionsMoveTheWatchAtOnce) {
    fs::create_directories(tmp_.Path() / "one");
    fs::create_directories(tmp_.Path() / "two");
    TShellChangeWatch watch(queue_.Poster(), [&] { ++changes_; });
    watch.SetOptions((tmp_.Path() / "one").string(), false, kNames);
    ASSERT_TRUE(Armed(watch));
    watch.SetOptions((tmp_.Path() / "two").string(), false, kNames);
    ASSERT_TRUE(Armed(watch)) << "no change in the old folder was needed to wake the worker";
    std::ofstream(tmp_.Path() / "one" / "x");
    EXPECT_FALSE(ChangeSeen(1000ms)) << "the old folder is no longer watched";
    std::ofstream(tmp_.Path() / "two" / "x");
    EXPECT_TRUE(ChangeSeen());
}

TEST_F(ShellChangeWatchTest, AMissingFolderIsWatchedForNothingUntilAnotherComes) {
    TShellChangeWatch watch(queue_.Poster(), [&] { ++changes_; });
    watch.SetOptions((tmp_.Path() / "missing").string(), false, kNames);
    queue_.RunFor(200ms);
    EXPECT_FALSE(watch.Watching());
    std::ofstream(tmp_.Path() / "x");
    EXPECT_FALSE(ChangeSeen(500ms));
    watch.SetOptions(tmp_.Path().string(), false, kNames);
    ASSERT_TRUE(Armed(watch));
    std::ofstream(tmp_.Path() / "y");
    EXPECT_TRUE(ChangeSeen());
}

TEST_F(ShellChangeWatchTest, ChangesWaitingForTheGuiFoldIntoOneCallBack) {
    TShellChangeWatch watch(queue_.Poster(), [&] { ++changes_; });
    watch.SetOptions(tmp_.Path().string(), false, kNames);
    ASSERT_TRUE(Armed(watch));
    for (int i = 0; i < 20; ++i) std::ofstream(tmp_.Path() / ("f" + std::to_string(i)));
    // Let the worker see every event without running the queue.
    for (int i = 0; i < 200 && queue_.Queued() == 0; ++i) std::this_thread::sleep_for(10ms);
    std::this_thread::sleep_for(200ms);
    EXPECT_EQ(queue_.Queued(), 1u);
    queue_.RunPending();
    EXPECT_EQ(changes_, 1);
}

TEST_F(ShellChangeWatchTest, StoppingRunsNoQueuedCallBackAndLeavesNothingBehind) {
    for (int round = 0; round < 20; ++round) {
        auto watch = std::make_unique<TShellChangeWatch>(queue_.Poster(), [&] { ++changes_; });
        watch->SetOptions(tmp_.Path().string(), round % 2 == 0, kNames);
        if (round % 4 == 0) {
            ASSERT_TRUE(Armed(*watch));
            std::ofstream(tmp_.Path() / ("f" + std::to_string(round)));
            for (int i = 0; i < 500 && queue_.Queued() == 0; ++i) std::this_thread::sleep_for(10ms);
        }
        watch.reset();  // joins the worker; sanitizers see any leak or race
        queue_.RunPending();
    }
    EXPECT_EQ(changes_, 0);
}

}  // namespace
}  // namespace tarvel
