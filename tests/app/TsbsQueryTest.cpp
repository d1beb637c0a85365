// The query of one module of a parallel system against four simulated
// modules on one line: once and cyclic through the poll clock, the module
// list offered from the saved set-up, what the cyclic query locks, and the
// texts that send nothing.

#include <fstream>
#include <sstream>

#include "platform/base/Paths.h"
#include "tests/app/ModuleQueryFixture.h"

namespace tarvel::testing {
namespace {

class TsbsQueryTest : public ModuleQueryTest {
protected:
    // Parallel mode on the telemetry tab, with modules 2 and 3 saved as
    // polled and module 7 marked by another tool with a 2.
    TMainForm* StartParallel(int singlePeriodSec = 1) {
        TMainForm* form = StartBound();
        OpenOnLine();
        ui_.Click(form, "TB_SingleConvert");
        EXPECT_EQ(form->MultiModuleMode, 1);
        form->ParaRecord = PollingRecord{};
        form->ParaRecord.ModuleSelected[1] = 1;
        form->ParaRecord.ModuleSelected[2] = 1;
        form->ParaRecord.ModuleSelected[6] = 2;
        form->ParaRecord.MultiPeriodSec = 1;
        form->ParaRecord.SinglePeriodSec = singlePeriodSec;
        EXPECT_TRUE(form->WriteParaRecord());
        form->TSBS_Cyc->SetText(IntToStr(singlePeriodSec));
        form->PC_All->SetActivePage(form->TS_TSBS);
        return form;
    }

    // Ticks the poll clock; the ticks (from 1) that sent a query of one
    // module, each answered before the clock goes on.
    std::vector<int> Tick(int ticks) {
        std::vector<int> sentAt;
        for (int t = 1; t <= ticks; ++t) {
            const size_t carried = Requests().size();
            form_->PollTick();
            // The sending tick starts the time-out and counts it once.
            if (form_->ReplyTimeoutTicks != 2) continue;
            sentAt.push_back(t);
            EXPECT_TRUE(LineCarried(carried + 1)) << "tick " << t;
            EXPECT_TRUE(WaitUntil([&] { return form_->TsbsQueryInProgress == 0; }))
                << "the query of tick " << t << " was not answered";
        }
        return sentAt;
    }

    String Cell(int col, int row) { return ui_.CellText(form_->SG_TSBS, col, row); }

    // The last line of the single-module file, split at its commas.
    std::vector<String> LastSingleModuleLine() {
        std::ifstream in(AppPath("DataAccess/SingleModule.csv"));
        String line, last;
        while (std::getline(in, line))
            if (!line.empty() && line != "\r") last = line;
        std::vector<String> fields;
        std::stringstream split(last);
        for (String field; std::getline(split, field, ',');) fields.push_back(field);
        return fields;
    }
};

TEST_F(TsbsQueryTest, QueryOnceAsksTheChosenModuleAndShowsItsAnswer) {
    TMainForm* form = StartParallel();
    // A module ticked but not confirmed loses its tick on entering the box.
    form->ModuleChecks[5]->SetChecked(true);
    ui_.Click(form->TSBS_SeqNum);
    ui_.PickItem(form->TSBS_SeqNum, "3");
    TStrings* offered = dynamic_cast<TTeComboBox*>(form->TSBS_SeqNum)->GetItems();
    ASSERT_EQ(offered->Count(), 2);
    EXPECT_EQ(offered->Get(0), "2");
    EXPECT_EQ(offered->Get(1), "3");
    EXPECT_FALSE(form->ModuleChecks[5]->Checked());
    EXPECT_TRUE(form->ModuleChecks[6]->Checked()) << "a 2 shows as checked, though it is not polled";
    EXPECT_EQ(form->TSBS_SeqNum->GetText(), "3");

    ui_.Click(form, "TSBS_OnceQuery");
    EXPECT_EQ(form->TsbsOnceRequest, 1);
    EXPECT_EQ(Tick(5), (std::vector<int>{1}));
    EXPECT_EQ(Requests(), (std::vector<Bytes>{PlainQuery(3)}));
    EXPECT_EQ(form->TsbsOnceRequest, 0);
    EXPECT_EQ(form->ModuleIndex(), 3);
    EXPECT_EQ(form->PollRequestCount, 0u) << "the one-shot query is not counted";
    EXPECT_EQ(form->ReplyTimeoutCount, 0u);
    EXPECT_EQ(form->RequestBusy, 0);
    EXPECT_EQ(form->ReplyTimeoutTicks, 0);

    const sim::Telemetry telemetry = Module().Module(3).telemetry;
    EXPECT_EQ(Cell(1, 0), std::to_string(telemetry.pack));
    EXPECT_EQ(Cell(1, 1), std::to_string(telemetry.batt));
    EXPECT_EQ(Cell(1, 18), std::to_string(telemetry.current));
    EXPECT_EQ(Cell(4, 0), std::to_string(telemetry.temps[0]));
    const std::vector<String> line = LastSingleModuleLine();
    ASSERT_GT(line.size(), 3u);
    EXPECT_EQ(line[1], "3") << "stored under the module number";
    EXPECT_EQ(line[3], std::to_string(telemetry.batt));
}

TEST_F(TsbsQueryTest, CyclicQueryRunsEveryPeriodAndLocksItsInputsWhileItRuns) {
    TMainForm* form = StartParallel(2);
    form->TSBS_SeqNum->SetText("2");
    ui_.Click(form, "TSBS_CycQuery");
    for (const char* locked :
         {"TSBS_SeqNum", "TSBS_OnceQuery", "TSBS_Cyc", "TB_SingleConvert", "TB_COMSwitch"})
        EXPECT_FALSE(ui_.Enabled(ui_.Find(form, locked))) << locked;

    // The first query within a second of the start, then one every period.
    EXPECT_EQ(Tick(650), (std::vector<int>{100, 300, 500}));
    EXPECT_EQ(Requests(), (std::vector<Bytes>(3, PlainQuery(2))));
    EXPECT_EQ(form->PollRequestCount, 3u);
    EXPECT_EQ(Cell(1, 1), std::to_string(Module().Module(2).telemetry.batt));

    ui_.Click(form, "TSBS_CycQuery");
    for (const char* freed :
         {"TSBS_SeqNum", "TSBS_OnceQuery", "TSBS_Cyc", "TB_SingleConvert", "TB_COMSwitch", "PC_All_Query"})
        EXPECT_TRUE(ui_.Enabled(ui_.Find(form, freed))) << freed;
    EXPECT_TRUE(Tick(300).empty()) << "stopped, nothing is sent";
}

TEST_F(TsbsQueryTest, StoppingWhileTheParallelPollRunsKeepsThePortAndModeSwitchesLocked) {
    TMainForm* form = StartParallel();
    form->TSBS_SeqNum->SetText("2");
    // The parallel poll's own start is not what is tried here.
    form->PC_All_Query->OnClick = nullptr;
    form->PC_All_Query->SetChecked(true);
    form->TB_COMSwitch->SetEnabled(false);
    form->TB_SingleConvert->SetEnabled(false);
    ui_.Click(form, "TSBS_CycQuery");
    ui_.Click(form, "TSBS_CycQuery");
    EXPECT_FALSE(form->TB_COMSwitch->Enabled());
    EXPECT_FALSE(form->TB_SingleConvert->Enabled());
    EXPECT_TRUE(form->TSBS_OnceQuery->Enabled());
}

// The address byte is the module number; the sum leaves it out, so every
// such query ends in 07. Module 64 goes out as 64 although the address box
// lists only 0 to 63.
TEST_F(TsbsQueryTest, TheRequestCarriesTheModuleNumberAsItsAddress) {
    TMainForm* form = StartParallel();
    size_t carried = 0;
    for (int module : {12, 63, 64, 1}) {
        SCOPED_TRACE(module);
        form->TSBS_SeqNum->SetText(IntToStr(module));
        ui_.Click(form, "TSBS_OnceQuery");
        form->PollTick();
        ASSERT_TRUE(LineCarried(++carried));
        EXPECT_EQ(Requests().back(), PlainQuery(static_cast<uint8_t>(module)));
        EXPECT_EQ(form->ModuleIndex(), module);
        EXPECT_EQ(form->TsbsQueryInProgress, 1);
        // Unserved addresses stay silent: the clock gives the query up.
        for (int t = 0; t < 40 && form->TsbsQueryInProgress; ++t) {
            WaitUntil([] { return false; }, std::chrono::milliseconds(1));
            form->PollTick();
        }
        EXPECT_EQ(form->TsbsQueryInProgress, 0);
        EXPECT_EQ(form->RequestBusy, 0);
    }
}

// Nothing the boxes hold stops the clock: the query is skipped and the info
// line says why.
TEST_F(TsbsQueryTest, ABadModuleNumberOrPeriodSendsNothing) {
    struct Case {
        const char* module;
        const char* period;
        bool cyclic;
        const char* info;
    };
    const char* kModule = "    Module number must be 1 to 64, nothing sent!";
    const char* kPeriod = "    Single module period must be 1 to 120 seconds, nothing sent!";
    const Case cases[] = {
        {"", "1", false, kModule},   {"0", "1", false, kModule},  {"65", "1", false, kModule},
        {"3x", "1", false, kModule}, {"-3", "1", true, kModule},  {"2", "", true, kPeriod},
        {"2", "0", true, kPeriod},   {"2", "121", true, kPeriod}, {"2", "1.5", true, kPeriod},
    };
    TMainForm* form = StartParallel();
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.module) + " every " + c.period + (c.cyclic ? " s, cyclic" : " s, once"));
        form->TSBS_SeqNum->SetText(c.module);
        form->TSBS_Cyc->SetText(c.period);
        ui_.Click(form, c.cyclic ? "TSBS_CycQuery" : "TSBS_OnceQuery");
        for (int t = 0; t < 100; ++t) form->PollTick();
        EXPECT_EQ(InfoLine(), c.info);
        EXPECT_EQ(form->L_Info->Color(), kFailureColor);
        EXPECT_EQ(form->RequestBusy + form->TsbsQueryInProgress + form->ReplyTimeoutTicks, 0);
        if (c.cyclic) ui_.Click(form, "TSBS_CycQuery");
        form->L_Info->SetCaption("");
    }
    WaitUntil([] { return false; }, std::chrono::milliseconds(100));
    EXPECT_TRUE(Requests().empty());
}

TEST_F(TsbsQueryTest, AClosedPortRefusesBothQueries) {
    TMainForm* form = StartBound();
    ui_.Click(form, "TB_SingleConvert");
    form->PC_All->SetActivePage(form->TS_TSBS);
    form->TSBS_SeqNum->SetText("2");
    for (const char* button : {"TSBS_OnceQuery", "TSBS_CycQuery"}) {
        SCOPED_TRACE(button);
        form->L_Info->SetCaption("");
        ui_.Click(form, button);
        EXPECT_EQ(InfoLine(), "    Please open port frist!");
        EXPECT_EQ(form->TsbsOnceRequest, 0);
        EXPECT_FALSE(form->TSBS_CycQuery->Checked());
        for (const char* usable : {"TSBS_SeqNum", "TSBS_OnceQuery", "TSBS_Cyc", "TB_COMSwitch"})
            EXPECT_TRUE(ui_.Enabled(ui_.Find(form, usable))) << usable;
    }
}

}  // namespace
}  // namespace tarvel::testing
