// The parallel poll through the window: the set-up and its refusals,
// starting and stopping, the modules polled in order with their tiles, rows
// and CSV lines, modules that do not answer well, and the detail window.

#include "app/SeriNum.h"
#include "platform/system/RecordFile.h"
#include "tests/app/ParallelPollFixture.h"

namespace tarvel::testing {
namespace {

std::vector<uint8_t> RecordFileBytes() {
    std::vector<uint8_t> bytes(300);
    bytes.resize(
        static_cast<size_t>(std::max<int64_t>(0, ReadFileAt("ParaRecord.dat", 0, bytes.data(), 300))));
    return bytes;
}

class ParallelSetupTest : public ParallelPollTest {
protected:
    std::vector<uint8_t> ModuleAddresses() const override { return {1, 2, 3}; }
};

TEST_F(ParallelSetupTest, ConfirmStoresOnlyWholePeriodsFromOneTo120) {
    struct Case {
        const char* multi;
        const char* single;
        const char* box;  // the box shown; empty when the set-up is stored
    };
    const Case cases[] = {
        {"121", "1", "Please check period setting!"},
        {"5", "0", "Please check period setting!"},
        {"-1", "5", "Please check period setting!"},
        {"1", "121", "Please check period setting!"},
        {"abc", "1", "More Module: 'abc' is not a valid integer value."},
        {"1", "", "Single Module: '' is not a valid integer value."},
        {"120", "1", ""},
    };
    TMainForm* form = StartParallel();
    ui_.Click(form->ModuleChecks[4]);
    for (const Case& c : cases) {
        SaveSelection({2});
        form->ParaRecord.MultiPeriodSec = 7;
        form->ParaRecord.SinglePeriodSec = 7;
        ASSERT_TRUE(form->WriteParaRecord());
        const std::vector<uint8_t> before = RecordFileBytes();
        form->PS_Cyc->SetText(c.multi);
        form->TSBS_Cyc->SetText(c.single);
        ui_.Dialogs().Forget();
        ui_.Click(form->TeButton1);
        const std::vector<String> boxes = BoxTexts();
        if (*c.box) {
            ASSERT_EQ(boxes.size(), 1u) << c.multi << " " << c.single;
            EXPECT_EQ(boxes[0], c.box);
            EXPECT_EQ(RecordFileBytes(), before) << c.multi << " " << c.single;
            EXPECT_EQ(form->ParaRecord.ModuleSelected[1], 1);
            continue;
        }
        EXPECT_TRUE(boxes.empty());
        const std::vector<uint8_t> stored = RecordFileBytes();
        ASSERT_EQ(stored.size(), 264u);
        EXPECT_EQ(stored[4 * 4], 1) << "module 5 selected";
        EXPECT_EQ(stored[1 * 4], 0) << "module 2 no longer";
        EXPECT_EQ(stored[256], 120);
        EXPECT_EQ(stored[260], 1);
    }
}

TEST_F(ParallelSetupTest, ConfirmNamesTheFirstCheckedModuleOrLeavesTheAddressAlone) {
    struct Case {
        std::vector<int> checked;
        const char* number;  // the module-number boxes' text
        int address;         // the module-address box's index after it
    };
    const Case cases[] = {{{3, 7}, "3", 3}, {{64}, "64", 64}, {{}, "", 64}};
    TMainForm* form = StartParallel();
    form->PS_Cyc->SetText("2");
    form->TSBS_Cyc->SetText("3");
    for (const Case& c : cases) {
        for (TTeCheckBox* box : form->ModuleChecks) box->SetChecked(false);
        for (int module : c.checked) ui_.Click(form->ModuleChecks[module - 1]);
        ui_.Click(form->TeButton1);
        EXPECT_EQ(form->TSBS_SeqNum->GetText(), c.number);
        EXPECT_EQ(form->TBMS_SerilNum->GetText(), c.number);
        EXPECT_EQ(form->ModuleIndex(), c.address);
        for (int i = 0; i < kModuleCount; ++i) {
            const bool checked = std::find(c.checked.begin(), c.checked.end(), i + 1) != c.checked.end();
            EXPECT_EQ(form->ParaRecord.ModuleSelected[i], checked ? 1 : 0) << i;
        }
    }
}

TEST_F(ParallelSetupTest, PeriodEditsDropBlanksQuietlyAndRefuseLetters) {
    TMainForm* form = StartParallel();
    for (TTeEdit* edit : {form->PS_Cyc, form->TSBS_Cyc}) {
        edit->SetText("");
        edit->SetFocus();
        ui_.Dialogs().Forget();
        ui_.Type("1 2");
        EXPECT_EQ(edit->GetText(), "12");
        EXPECT_TRUE(BoxTexts().empty());
        ui_.Type("x");
        EXPECT_EQ(edit->GetText(), "12");
        EXPECT_EQ(BoxTexts(), std::vector<String>{"Please input numeric!"});
    }
}

TEST_F(ParallelSetupTest, ExecuteNeedsTheOpenPort) {
    TMainForm* form = StartParallel(false);
    form->KillPollTimer();
    ui_.Click(form->PC_All_Query);
    EXPECT_FALSE(form->PC_All_Query->Checked());
    EXPECT_EQ(InfoLine(), OnInfoLine("Please open port frist!"));
    EXPECT_TRUE(BoxTexts().empty());
}

// Right after start the stored set-up is empty, whatever the boxes show;
// "No" to the question starts nothing either.
TEST_F(ParallelSetupTest, NothingIsPolledBeforeConfirmOrAfterNo) {
    TMainForm* form = StartParallel();
    form->KillPollTimer();
    ui_.Click(form->ModuleChecks[0]);
    ui_.AnswerNextBox(mrYes);
    ui_.Click(form->PC_All_Query);
    EXPECT_EQ(BoxTexts(), std::vector<String>{"Please make sure the battery number and query cycle !"});
    for (int t = 0; t < 300; ++t) form->PollTick();
    ui_.RunUntilIdle();
    EXPECT_TRUE(Module().Requests().empty());
    ui_.Click(form->PC_All_Query);

    form->PC_All->SetActivePage(form->TS_PraSet);
    form->PS_Cyc->SetText("1");
    form->TSBS_Cyc->SetText("1");
    ui_.Click(form->TeButton1);
    ui_.AnswerNextBox(mrNo);
    ui_.Click(form->PC_All_Query);
    EXPECT_FALSE(form->PC_All_Query->Checked());
    EXPECT_EQ(form->PollStartPending, 0);
    for (int t = 0; t < 300; ++t) form->PollTick();
    ui_.RunUntilIdle();
    EXPECT_TRUE(Module().Requests().empty());
    EXPECT_TRUE(form->TS_PraSet->PageVisible());
}

// Starting locks the switches, resets every tile and shows them; stopping
// gives everything back.
TEST_F(ParallelSetupTest, StartingAndStoppingSetTheWindowUp) {
    TMainForm* form = StartConfirmed({2, 3});
    for (int i : {0, 40}) {
        form->RunStateGauges[i]->SetBackColor(kSilent);
        form->RunStateGauges[i]->SetProgress(55);
        form->VoltageLabels[i]->SetText("V  1mV");
    }
    form->NextPollModule = 40;
    ui_.AnswerNextBox(mrYes);
    ui_.Click(form->PC_All_Query);
    EXPECT_TRUE(form->PC_All_Query->Checked());
    EXPECT_EQ(form->PollStartPending, 1);
    EXPECT_EQ(form->NextPollModule, 1) << "the lowest stored module, 2";
    EXPECT_EQ(form->BatColorStore->BackColor(), kSilent);
    for (int i = 0; i < kModuleCount; ++i) {
        EXPECT_EQ(form->RunStateGauges[i]->ForeColor(), kAnswered) << i;
        EXPECT_EQ(form->RunStateGauges[i]->BackColor(), clWhite) << i;
        EXPECT_EQ(form->RunStateGauges[i]->Progress(), 0) << i;
        EXPECT_EQ(form->PosGauges[i]->BackColor(), TColor(0x80000016)) << i;
        EXPECT_EQ(form->VoltageLabels[i]->GetText(), "V ") << i;
        EXPECT_EQ(form->CurrentLabels[i]->GetText(), "I ") << i;
    }
    for (TControl* locked : std::initializer_list<TControl*>{form->TB_SingleConvert, form->TB_COMSwitch,
                                                             form->TSBS_OnceQuery, form->TSBS_CycQuery})
        EXPECT_FALSE(locked->Enabled()) << locked->Name();
    EXPECT_FALSE(form->TS_PraSet->PageVisible());
    EXPECT_EQ(form->PC_All->GetActivePage(), form->TS_RunState);

    ui_.Click(form->PC_All_Query);
    EXPECT_EQ(form->PollStartPending, 0);
    for (TControl* unlocked : std::initializer_list<TControl*>{form->TB_SingleConvert, form->TB_COMSwitch,
                                                               form->TSBS_OnceQuery, form->TSBS_CycQuery})
        EXPECT_TRUE(unlocked->Enabled()) << unlocked->Name();
    EXPECT_TRUE(form->TS_PraSet->PageVisible());
    EXPECT_FALSE(form->TS_SerialNum->PageVisible());
}

// ---- polling simulated modules ----

class EightModulesTest : public ParallelPollTest {
protected:
    std::vector<uint8_t> ModuleAddresses() const override { return {1, 2, 3, 4, 5, 6, 7, 8}; }

    struct Look {
        uint16_t battState;
        uint32_t alarm, protection, fail;
        TColor colour;
    };
    // Module k + 1 in each of the states a tile tells apart.
    static constexpr Look kLooks[8] = {
        {1, 0, 0, 0, 0x80D98D}, {2, 0, 0, 0, 0xFFFFAA},    {4, 0, 0, 0, 0x80FF00}, {0, 0, 0, 0, 0xF1D2B4},
        {1, 1, 0, 0, 0xFFD0FF}, {2, 1, 0x10, 0, 0x6A6AFF}, {0, 0, 0, 4, 0x6A6AFF}, {3, 0, 0, 0, 0x80000005},
    };

    void SetUpModules() {
        for (uint8_t k = 1; k <= 8; ++k)
            Module().UpdateModule(k, [k](sim::ModuleState& m) {
                const Look& look = kLooks[k - 1];
                m.steady = true;
                m.telemetry.battState = look.battState;
                m.telemetry.alarm = look.alarm;
                m.telemetry.protection = look.protection;
                m.telemetry.fail = look.fail;
                m.telemetry.soc = static_cast<uint16_t>(10 * k);
                m.telemetry.batt = 52000 + k;
                m.telemetry.current = -1500 - k;
            });
    }
};

TEST_F(EightModulesTest, ModulesArePolledInOrderWithTheirTilesRowsAndCsvLines) {
    SetUpModules();
    TMainForm* form = StartPolling({1, 2, 3, 4, 5, 6, 7, 8});
    PollSteps(1);
    EXPECT_EQ(form->RunStateGauges[0]->BackColor(), kAsked) << "the module being asked";
    EXPECT_EQ(form->RunStateGauges[1]->BackColor(), clWhite) << "not asked yet";
    PollSteps(8);

    EXPECT_EQ(PolledModules(), (std::vector<int>{1, 2, 3, 4, 5, 6, 7, 8, 1}));
    for (int k = 2; k <= 8; ++k) {
        const Look& look = kLooks[k - 1];
        EXPECT_EQ(form->RunStateGauges[k - 1]->ForeColor(), kAnswered) << k;
        EXPECT_EQ(form->RunStateGauges[k - 1]->BackColor(), look.colour) << k;
        EXPECT_EQ(form->PosGauges[k - 1]->BackColor(), look.colour) << k;
    }
    for (int k = 1; k <= 8; ++k) {
        EXPECT_EQ(form->RunStateGauges[k - 1]->Progress(), 10 * k) << k;
        EXPECT_EQ(form->VoltageLabels[k - 1]->GetText(), "V  " + IntToStr(52000 + k) + "mV") << k;
        EXPECT_EQ(form->CurrentLabels[k - 1]->GetText(), "I  " + IntToStr(-1500 - k) + "mA") << k;
        EXPECT_EQ(form->ModuleReadings[k - 1].entries[1], 52000 + k) << k;
        EXPECT_EQ(form->ModuleReadings[k - 1].entries[33], 10 * k) << k;
        EXPECT_EQ(form->ModuleReadings[k - 1].timeText.size(), 19u) << k;
    }
    // Module 1, asked again, has answered: yellow until the next step.
    EXPECT_EQ(form->RunStateGauges[0]->BackColor(), kAsked);
    EXPECT_EQ(form->RunStateGauges[0]->ForeColor(), kAsked);
    EXPECT_EQ(form->BatColorStore->BackColor(), kLooks[0].colour);

    const std::vector<std::string> order{"1", "2", "3", "4", "5", "6", "7", "8", "1"};
    EXPECT_EQ(StoredRows(), order);
    EXPECT_EQ(CsvRows(), order);
    EXPECT_FALSE(FileExists(AppPath("DataAccess/SingleModule.csv")));
}

// A module whose answer is missing, late or unusable turns grey; the
// others go on and only their answers are stored.
class FaultyModuleTest : public EightModulesTest, public ::testing::WithParamInterface<const char*> {};

TEST_P(FaultyModuleTest, TurnsGreyAndTheOthersGoOn) {
    AddFault(GetParam());
    TMainForm* form = StartPolling({1, 3, 4});
    PollSteps(4, [](int module) { return module != 3; });
    EXPECT_EQ(PolledModules(), (std::vector<int>{1, 3, 4, 1}));
    EXPECT_EQ(form->RunStateGauges[2]->ForeColor(), kSilent);
    EXPECT_EQ(form->RunStateGauges[2]->BackColor(), kSilent);
    EXPECT_EQ(form->RunStateGauges[2]->Progress(), 0);
    EXPECT_EQ(form->PosGauges[2]->BackColor(), kSilent);
    EXPECT_EQ(form->RunStateGauges[3]->ForeColor(), kAnswered);
    EXPECT_TRUE(form->ModuleReadings[2].timeText.empty());
    EXPECT_EQ(StoredRows(), (std::vector<std::string>{"1", "4", "1"}));
    EXPECT_EQ(CsvRows(), (std::vector<std::string>{"1", "4", "1"}));
    EXPECT_EQ(form->ReplyTimeoutCount, 1u);
}

INSTANTIATE_TEST_SUITE_P(Faults, FaultyModuleTest,
                         ::testing::Values("silent:module=3,times=0", "late:module=3,times=0,ms=600",
                                           "bad-sum:module=3,times=0",
                                           "other-address:module=3,times=0,addr=5"));

// A tile shows a percentage only with a reading, and once polling stops no
// tile keeps the colour of the module being asked: the last one answered
// takes its colours, one still awaited turns grey.
TEST_F(EightModulesTest, PercentagesOnlyWithAReadingAndNoTileStaysAskedAfterStopping) {
    SetUpModules();
    AddFault("silent:module=3,times=0");
    TMainForm* form = StartPolling({1, 2, 3});
    for (TGauge* body : form->RunStateGauges) EXPECT_FALSE(body->ShowText()) << body->Name();
    PollSteps(4, [](int module) { return module != 3; });
    EXPECT_EQ(PolledModules(), (std::vector<int>{1, 2, 3, 1}));
    for (int k = 1; k <= kModuleCount; ++k)
        EXPECT_EQ(form->RunStateGauges[k - 1]->ShowText(), k == 1 || k == 2) << k;
    ASSERT_EQ(form->RunStateGauges[0]->BackColor(), kAsked);

    ui_.Click(form->PC_All_Query);
    EXPECT_EQ(form->RunStateGauges[0]->ForeColor(), kAnswered);
    EXPECT_EQ(form->RunStateGauges[0]->BackColor(), kLooks[0].colour);
    EXPECT_EQ(form->PosGauges[0]->BackColor(), kLooks[0].colour);
    for (TGauge* body : form->RunStateGauges) {
        EXPECT_NE(body->ForeColor(), kAsked) << body->Name();
        EXPECT_NE(body->BackColor(), kAsked) << body->Name();
    }

    // Stopped while module 2's answer is on its way: no answer is taken after
    // the stop, and the tile says it had none.
    AddFault("late:module=2,times=0,ms=400");
    ui_.AnswerNextBox(mrYes);
    ui_.Click(form->PC_All_Query);
    ui_.Dialogs().Forget();
    form->NextPollModule = 1;
    while (form->PollInProgress == 0) form->PollTick();
    ASSERT_EQ(form->PollIndex, 1);
    ui_.Click(form->PC_All_Query);
    WaitUntil([] { return false; }, std::chrono::milliseconds(700));
    EXPECT_EQ(form->RunStateGauges[1]->BackColor(), kSilent);
    EXPECT_FALSE(form->RunStateGauges[1]->ShowText());
    EXPECT_EQ(form->RequestBusy, 0);
}

// An answer to a one-module query still awaited when the poll sends must
// not take the poll's answer for its own.
TEST_F(EightModulesTest, APollAnswerIsStoredAsOneEvenAfterAnUnansweredModuleQuery) {
    TMainForm* form = StartPolling({2});
    form->TsbsQueryInProgress = 1;
    PollSteps(1);
    EXPECT_EQ(StoredRows(), std::vector<std::string>{"2"});
    EXPECT_FALSE(FileExists(AppPath("DataAccess/SingleModule.csv")));
}

TEST_F(EightModulesTest, ATileWithAnAnswerOpensTheModulesDetailWindow) {
    SetUpModules();
    TMainForm* form = StartPolling({1, 5, 6, 8});
    auto* window = new TSerialNum(form);
    EXPECT_EQ(window->Caption(), "Serial Number");
    form->SetSerialEntry(5, "SN-0006");
    PollSteps(4);

    // Grey and white tiles open nothing.
    ui_.Click(form->ModuleLabels[1]);
    EXPECT_EQ(ui_.ModalForm(), nullptr);

    bool shown = false;
    ui_.WhenModal([&] {
        shown = true;
        EXPECT_EQ(ui_.ModalForm(), window);
        EXPECT_EQ(window->Caption(), "Module [6]   Serial Number:  SN-0006");
        EXPECT_EQ(ui_.CellText(window->SG_TSBS, 1, 1), "52006");
        EXPECT_EQ(ui_.CellText(window->SG_TSBS, 1, 18), "-1506");
        EXPECT_EQ(ui_.CellText(window->SG_TSBS, 4, 10), "16") << "the protection word";
        EXPECT_EQ(ui_.CellText(window->SG_TSBS, 4, 14), "60") << "SOC";
        EXPECT_EQ(ui_.CellText(window->SG_TSBS, 4, 18), form->ModuleReadings[5].timeText);
        EXPECT_EQ(window->TSBS_BatRunState->BackColor(), TColor(0x6A6AFF));
        EXPECT_EQ(window->TSBS_BatRunState->Progress(), 60);
        // Alarm bit 0 lights "Pack Volt Over"; protection bit 4 has no lamp.
        EXPECT_EQ(window->AlarmLamps[0]->Brush()->Color(), TColor(0xFFD0FF));
        for (size_t row = 0; row < 18; ++row)
            EXPECT_EQ(window->ProtectionLamps[row]->Brush()->Color(), TColor(0x80FF00)) << row;
        EXPECT_EQ(window->StateLamps[1]->Brush()->Color(), TColor(0xFFFFAA)) << "discharging";
        EXPECT_EQ(window->StateLamps[0]->Brush()->Color(), TColor(0xC0C0C0));
        window->SetModalResult(mrCancel);
    });
    ui_.Click(form->ModuleLabels[5]);
    EXPECT_TRUE(shown);
    EXPECT_TRUE(ui_.Problems().empty());
}

}  // namespace
}  // namespace tarvel::testing
