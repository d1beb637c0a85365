// The parallel poll with its three threads meeting: the window's own 10 ms
// clock posting ticks, the serial component's reader posting what came, and
// the GUI thread handling both while the mouse moves over the window, on a
// line of 64 simulated modules with noise, split replies, a bad sum, a
// silent module and one answering for another. Made for ThreadSanitizer:
// it runs in the threaded code's build as well as in the test build.

#include <chrono>
#include <numeric>

#include "tests/app/ParallelPollFixture.h"

namespace tarvel::testing {
namespace {

class PollThreadsTest : public FaultyLineTest {
protected:
    // A point over the window's client area that moves with `i`.
    TPoint MousePoint(int i) {
        TPoint p{20 + (i * 37) % 600, 60 + (i * 23) % 400};
        ClientToScreen(form_->Handle(), p);
        return p;
    }
};

TEST_F(PollThreadsTest, TheClockTheReaderAndTheWindowMeetOverSixtyFourModules) {
    AddLineFaults();
    std::vector<int> all(kModuleCount);
    std::iota(all.begin(), all.end(), 1);
    TMainForm* form = StartPolling(all);
    // The set-up stopped the clock; it runs on its own thread from here on.
    form->StartPollTimer();
    ASSERT_NE(form->PollTimerId, 0u);
    CommTimeouts quick;
    quick.readInterval = 5;
    form->Comm1->SetTimeouts(quick);

    // The test's own ticks come on top of the clock's, so that a request
    // goes out more often than once a second. Each is then answered, or
    // given up by the clock's time-out.
    constexpr int kSteps = 2 * kModuleCount;
    const uint32_t start = form->PollRequestCount;
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::minutes(4);
    for (int i = 0; form->PollRequestCount - start < kSteps; ++i) {
        ASSERT_LT(std::chrono::steady_clock::now(), deadline) << "the poll stalled";
        ui_.Backend().MouseMove(MousePoint(i));
        form->PollTick();
        ui_.RunUntilIdle();
        if (form->PollInProgress != 0)
            WaitUntil([&] { return form->PollInProgress == 0; }, std::chrono::milliseconds(2000));
    }
    ASSERT_TRUE(form->KillPollTimer());
    WaitUntil([] { return false; }, std::chrono::milliseconds(100));

    std::map<std::string, int> asked;
    for (int module : PolledModules()) ++asked[std::to_string(module)];
    std::map<std::string, int> stored;
    for (const std::string& serial : StoredRows()) ++stored[serial];
    // Each answer is stored once at most, a refused one never; a module the
    // line lets through is heard at least once of the times it was asked.
    for (int k = 1; k <= kModuleCount; ++k) {
        const std::string module = std::to_string(k);
        EXPECT_LE(stored[module], asked[module]) << "module " << k;
        if (Refused(k))
            EXPECT_EQ(stored[module], 0) << "module " << k;
        else
            EXPECT_GE(stored[module], 1) << "module " << k;
    }
    EXPECT_EQ(CsvRows().size(), StoredRows().size());
    EXPECT_GE(form->ReplyTimeoutCount, 3u);
}

}  // namespace
}  // namespace tarvel::testing
