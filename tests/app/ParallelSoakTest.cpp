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

class ParallelSoakTest : public ParallelPollTest {
protected:
    std::vector<uint8_t> ModuleAddresses() const override {
        std::vector<uint8_t> all(kModuleCount);
        std::iota(all.begin(), all.end(), uint8_t{1});
        return all;
    }

    // Modules whose answers the tool must refuse or never sees.
    static bool Refused(int module) { return module == 13 || module == 29 || module == 45; }

    void AddLineFaults() {
        for (int k = 1; k <= kModuleCount; ++k) {
            const std::string module = "module=" + std::to_string(k) + ",times=0";
            // Noise that looks like the start of a reply, then the reply.
            if (k % 4 == 1) AddFault("noise:" + module + ",bytes=01006501835500AA");
            // The reply in two pieces, cut inside the header or the data.
            if (k % 4 == 2) AddFault("split:" + module + ",ms=15,at=" + std::to_string(k % 3 == 0 ? 5 : 60));
            if (k % 4 == 3 && k % 8 == 7) AddFault("duplicate:" + module + ",ms=5");
        }
        AddFault("bad-sum:module=13,times=0");
        AddFault("silent:module=29,times=0");
        AddFault("other-address:module=45,times=0,addr=46");
    }
};

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
    AddLineFaults();
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
