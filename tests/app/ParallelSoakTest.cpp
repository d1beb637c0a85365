// A full parallel system polled for two rounds with noise and split replies
// on the line: nothing stalls, and every answer the tool accepts is stored
// once, counted against what the modules were asked.

#include <numeric>

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

}  // namespace
}  // namespace tarvel::testing
