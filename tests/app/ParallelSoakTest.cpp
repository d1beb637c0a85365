// A full parallel system polled for two rounds with noise and split replies
// on the line: nothing stalls, and every answer the tool accepts is stored
// once, counted against what the modules were asked.

#include <chrono>
#include <filesystem>
#include <numeric>

#include "platform/db/Database.h"
#include "tests/app/ParallelPollFixture.h"

namespace tarvel::testing {
namespace {

using ParallelSoakTest = FaultyLineTest;

constexpr int kSteps = 2 * kModuleCount;

// The modules of the requests the far end answered, in order: every answer
// there was good.
std::vector<std::string> Answered(const std::vector<int>& modules) {
    std::vector<std::string> serials;
    for (int module : modules) serials.push_back(std::to_string(module));
    return serials;
}

int InfoLogLinesWith(TMainForm* form, const String& text) {
    int lines = 0;
    for (int i = 0; i < form->RE_Info->Lines()->Count(); ++i)
        lines += form->RE_Info->Lines()->Strings(i).find(text) != String::npos;
    return lines;
}

std::vector<int> AllModules() {
    std::vector<int> all(kModuleCount);
    std::iota(all.begin(), all.end(), 1);
    return all;
}

TEST_F(ParallelSoakTest, SixtyFourModulesPolledThroughNoiseAndSplitRepliesStoreEachAnswerOnce) {
    AddLineFaults(Duplicates::Some);
    std::vector<int> all(kModuleCount);
    std::iota(all.begin(), all.end(), 1);
    TMainForm* form = StartPolling(all);
    // A short silence ends a chunk, so a split reply comes in two chunks
    // and each answer is handled soon after it came.
    CommTimeouts quick;
    quick.readInterval = 5;
    form->Comm1->SetTimeouts(quick);
    straggleMs_ = 50;
    PollSteps(kSteps, [](int module) { return !Refused(module); });

    std::map<std::string, int> expected;
    for (int module : PolledModules())
        if (!Refused(module)) ++expected[std::to_string(module)];
    EXPECT_EQ(expected.size(), static_cast<size_t>(kModuleCount - 3));
    for (const auto& [module, count] : expected) EXPECT_EQ(count, 2) << "module " << module << " asked twice";

    const auto counted = [](const std::vector<std::string>& serials) {
        std::map<std::string, int> counts;
        for (const std::string& serial : serials) ++counts[serial];
        return counts;
    };
    EXPECT_EQ(counted(StoredRows()), expected);
    EXPECT_EQ(counted(CsvRows()), expected);
    // Module 64, asked last, is still yellow.
    for (int k = 1; k < kModuleCount; ++k)
        EXPECT_EQ(form->RunStateGauges[k - 1]->ForeColor(), Refused(k) ? kSilent : kAnswered) << k;
    EXPECT_EQ(form->ReplyTimeoutCount, 6u);
}

// Another program holds the database's write lock for 7 s while the whole
// system is polled: the window never waits for it, no answer runs into a
// time-out, and every answer is in the CSV file at once and in the database
// once the lock frees, each once and in the order it came.
TEST_F(ParallelSoakTest, SixtyFourModulesPolledWhileAnotherProgramHoldsTheDatabaseLoseNoAnswer) {
    TMainForm* form = StartPolling(AllModules());
    straggleMs_ = 50;
    PollSteps(4);
    DrainReadings();

    Database other(AppPath("DataAccess/Data.db"));
    other.Execute("BEGIN EXCLUSIVE");
    const auto locked = std::chrono::steady_clock::now();
    int steps = 0;
    while (std::chrono::steady_clock::now() - locked < std::chrono::seconds(7)) {
        PollSteps(8);
        steps += 8;
    }
    EXPECT_GT(steps, 8);
    // Held back, not lost, and the CSV lines are there already.
    EXPECT_EQ(form->Readings->Pending(), static_cast<size_t>(steps));
    EXPECT_EQ(CsvRows(), Answered(PolledModules()));
    other.Execute("COMMIT");
    PollSteps(8);

    const std::vector<std::string> answered = Answered(PolledModules());
    EXPECT_EQ(answered.size(), static_cast<size_t>(4 + steps + 8));
    EXPECT_EQ(StoredRows(), answered);
    EXPECT_EQ(CsvRows(), answered);
    EXPECT_EQ(form->ReplyTimeoutCount, 0u);
    EXPECT_EQ(InfoLogLinesWith(form, "database"), 0) << form->RE_Info->Lines()->Text();
}

// The database file deleted while the modules are polled: the next answers
// go into a database made again at its path, and the window says so once.
TEST_F(ParallelSoakTest, ADatabaseDeletedWhilePollingIsMadeAgainAtItsPath) {
    TMainForm* form = StartPolling(AllModules());
    straggleMs_ = 50;
    PollSteps(4);
    DrainReadings();
    ASSERT_EQ(StoredRows().size(), 4u);
    std::filesystem::remove(AppPath("DataAccess/Data.db"));
    PollSteps(4);
    PollSteps(4);

    const std::vector<std::string> answered = Answered(PolledModules());
    EXPECT_EQ(StoredRows(), std::vector<std::string>(answered.begin() + 4, answered.end()));
    EXPECT_EQ(CsvRows(), answered);
    EXPECT_EQ(InfoLogLinesWith(form, "was deleted or replaced"), 1) << form->RE_Info->Lines()->Text();
}

}  // namespace
}  // namespace tarvel::testing
