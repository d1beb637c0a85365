#pragma once
// The parallel poll against simulated modules on one line, set up and
// started through the window's own controls. The poll clock ticks only when
// the test says so; each request it sends is given real time to be answered.

#include <algorithm>
#include <chrono>
#include <map>
#include <numeric>
#include <set>
#include <string>
#include <vector>

#include "platform/base/Paths.h"
#include "records/ReadingDatabase.h"
#include "tests/app/ParallelRunFixture.h"

namespace tarvel::testing {

class ParallelPollTest : public ParallelRunTest {
protected:
    static constexpr TColor kAsked = 0x00FFFF;
    static constexpr TColor kAnswered = 0x00FF00;
    static constexpr TColor kSilent = 0xB0ACB9;

    // The window in parallel mode, its clock stopped, `modules` checked and
    // confirmed with both periods 1 s.
    TMainForm* StartConfirmed(const std::vector<int>& modules) {
        TMainForm* form = StartParallel();
        form->KillPollTimer();
        form->PollTicks = 0;
        form->QueryTicks = 0;
        for (int module : modules) ui_.Click(form->ModuleChecks[module - 1]);
        form->PS_Cyc->SetText("1");
        form->TSBS_Cyc->SetText("1");
        ui_.Click(form->TeButton1);
        return form;
    }

    // The same, with "Execute" checked and its question answered Yes.
    TMainForm* StartPolling(const std::vector<int>& modules) {
        TMainForm* form = StartConfirmed(modules);
        ui_.AnswerNextBox(mrYes);
        ui_.Click(form->PC_All_Query);
        ui_.Dialogs().Forget();
        return form;
    }

    // Runs the poll clock until it has sent `steps` requests. An answer the
    // module is expected to give (`answering`) is waited for in real time; a
    // request without one runs the clock to its time-out and then leaves a
    // straggler time to arrive, as the line would.
    void PollSteps(int steps, const std::function<bool(int module)>& answering) {
        const uint32_t start = form_->PollRequestCount;
        int ticks = 0;
        while (form_->PollRequestCount - start < static_cast<uint32_t>(steps)) {
            ASSERT_LT(++ticks, (steps + 2) * 200) << "the poll stalled";
            const uint32_t before = form_->PollRequestCount;
            form_->PollTick();
            ui_.RunUntilIdle();
            if (form_->PollRequestCount == before) continue;
            const int module = form_->PollIndex + 1;
            if (answering(module)) {
                ASSERT_TRUE(WaitUntil([&] { return form_->PollInProgress == 0; })) << "module " << module;
                ASSERT_EQ(form_->PolledModuleAnswered, 1) << "module " << module;
            } else {
                while (form_->PollInProgress != 0) {
                    form_->PollTick();
                    ui_.RunUntilIdle();
                }
                WaitUntil([] { return false; }, std::chrono::milliseconds(straggleMs_));
            }
        }
    }
    void PollSteps(int steps) {
        PollSteps(steps, [](int) { return true; });
    }

    // The modules that asked requests went to, in order.
    std::vector<int> PolledModules() {
        std::vector<int> modules;
        for (const Bytes& request : Module().Requests()) modules.push_back(request.at(0));
        return modules;
    }

    // The SerialNO of every MoreModule row, in order, and of every CSV line.
    std::vector<std::string> StoredRows() {
        DrainReadings();
        ReadingDatabase db(AppPath("DataAccess/Data.db"));
        std::vector<std::string> serials;
        for (const auto& row :
             db.SelectDays(ReadingTable::MoreModule, "2000-01-01", "2999-12-31", std::nullopt, "").rows)
            serials.push_back(row.at(1));
        return serials;
    }
    std::vector<std::string> CsvRows() {
        std::vector<std::string> serials;
        const std::string text = ReadFileText(AppPath("DataAccess/MoreModule.csv"));
        size_t at = text.find("\r\n");  // past the header
        while (at != std::string::npos && at + 2 < text.size()) {
            const size_t end = text.find("\r\n", at + 2);
            const std::string line = text.substr(at + 2, end - at - 2);
            const size_t first = line.find(',');
            serials.push_back(line.substr(first + 1, line.find(',', first + 1) - first - 1));
            at = end;
        }
        return serials;
    }

    uint32_t straggleMs_ = 700;
};

// All 64 modules on a line that mangles replies: noise that looks like the
// start of a reply, replies in two pieces, perhaps replies sent twice, and
// three modules whose answers the tool must refuse or never sees.
class FaultyLineTest : public ParallelPollTest {
protected:
    std::vector<uint8_t> ModuleAddresses() const override {
        std::vector<uint8_t> all(kModuleCount);
        std::iota(all.begin(), all.end(), uint8_t{1});
        return all;
    }

    static bool Refused(int module) { return module == 13 || module == 29 || module == 45; }

    enum class Duplicates { None, Some };
    void AddLineFaults(Duplicates duplicates = Duplicates::None) {
        for (int k = 1; k <= kModuleCount; ++k) {
            const std::string module = "module=" + std::to_string(k) + ",times=0";
            if (k % 4 == 1) AddFault("noise:" + module + ",bytes=01006501835500AA");
            // Cut inside the header or the data.
            if (k % 4 == 2) AddFault("split:" + module + ",ms=15,at=" + std::to_string(k % 3 == 0 ? 5 : 60));
            if (duplicates == Duplicates::Some && k % 8 == 7) AddFault("duplicate:" + module + ",ms=5");
        }
        AddFault("bad-sum:module=13,times=0");
        AddFault("silent:module=29,times=0");
        AddFault("other-address:module=45,times=0,addr=46");
    }
};

}  // namespace tarvel::testing
