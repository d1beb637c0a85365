// A line that hangs up while an automatic job sends: every job stops and
// unticks its box, the loss stays on the info line and goes to the
// information log, and the port and mode controls are usable again.

#include "link/CommandTable.h"
#include "tests/app/MonitoringFixture.h"

namespace tarvel::testing {
namespace {

using namespace std::chrono_literals;

struct AutomaticJob {
    const char* name;
    // Starts the job on the logged-in window.
    void (*start)(TMainForm& form, TUiDriver& ui);
    TTeCheckBox* TMainForm::*box;
};

const AutomaticJob kJobs[] = {
    {"automatic query",
     [](TMainForm& form, TUiDriver& ui) {
         form.PC_All->SetActivePage(form.TS_TSBS);
         form.CB_AutoQueryInterval->SetText("1");
         ui.Click(&form, "CB_AutoQuery");
     },
     &TMainForm::CB_AutoQuery},
    {"periodic ADC",
     [](TMainForm& form, TUiDriver& ui) {
         form.PC_All->SetActivePage(form.TS_TADC);
         form.CB_AutoReadADCInterval->SetText("1");
         ui.Click(&form, "CB_AutoReadADC");
     },
     &TMainForm::CB_AutoReadADC},
    {"cyclic one-module query",
     [](TMainForm& form, TUiDriver&) {
         form.TSBS_SeqNum->SetText("1");
         form.TSBS_Cyc->SetText("1");
         form.TSBS_CycQuery->SetChecked(true);
     },
     &TMainForm::TSBS_CycQuery},
    {"polling",
     [](TMainForm& form, TUiDriver& ui) {
         form.ModuleChecks[0]->SetChecked(true);
         form.PS_Cyc->SetText("1");
         form.TSBS_Cyc->SetText("1");
         form.TeButton1Click(nullptr);
         ui.AnswerNextBox(mrYes);
         form.PC_All_Query->SetChecked(true);
     },
     &TMainForm::PC_All_Query},
    {"scheduled query", [](TMainForm& form, TUiDriver&) { form.Auto_Query->SetChecked(true); },
     &TMainForm::Auto_Query},
    {"serial-number polling", [](TMainForm& form, TUiDriver&) { form.CB_SerailQuery->SetChecked(true); },
     &TMainForm::CB_SerailQuery},
};

class PortLossTest : public MonitoringTest, public ::testing::WithParamInterface<AutomaticJob> {
protected:
    // Both clocks on by `ms`: the window's timers and the 10 ms poll clock.
    void RunClocks(uint32_t ms) {
        for (uint32_t t = 0; t < ms; t += 10) {
            ui_.AdvanceClock(10, 10);
            form_->PollTick();
        }
        ui_.RunUntilIdle();
    }
};

TEST_P(PortLossTest, AHangUpStopsTheJobAndLeavesThePortControlsUsable) {
    const AutomaticJob& job = GetParam();
    TMainForm* form = StartMonitoring();
    form->KillPollTimer();
    OpenLoggedIn();
    const std::string port = ResolvePortName(form->Comm1->CommName());
    job.start(*form, ui_);
    ui_.Dialogs().Forget();
    TTeCheckBox* box = form->*job.box;
    ASSERT_TRUE(box->Checked());
    RunClocks(1200);

    Link().Stop();  // the module is pulled away
    ASSERT_TRUE(WaitUntil([&] { return form->PortOpen == 0; }));
    // Seconds on, past the schedule's window check, no job has come back to
    // say anything else.
    RunClocks(5500);
    EXPECT_EQ(InfoLine(), "    Serial port lost!");
    EXPECT_EQ(InfoColor(), kFailureColor);
    EXPECT_TRUE(LastLogLine().ends_with("Serial port lost! (" + port + ")")) << LastLogLine();
    EXPECT_EQ(LastLineColor(form->RE_Info), kFailureColor);
    EXPECT_FALSE(box->Checked());
    EXPECT_EQ(form->AutoQueryOn + form->AutoAdcOn + form->SerialPollOn, 0);
    for (TTimer* timer : {form->Timer1, form->Timer2, form->Timer3, form->Timer7})
        EXPECT_FALSE(timer->Enabled()) << timer->Name();
    for (const char* name : {"TB_COMSwitch", "TB_SingleConvert", "TB_LOG", "TB_Load", "TB_Save"})
        EXPECT_TRUE(ui_.Enabled(ui_.Find(form, name))) << name;
    EXPECT_EQ(form->TB_COMSwitch->Caption(), "Open Port");
    EXPECT_TRUE(ui_.Boxes().empty()) << ui_.Boxes().front().text;

    // A request of the user's on the lost port names the loss, not the login.
    form->PC_All->SetActivePage(form->TS_TADC);
    ui_.Click(form, "B_ReadADC");
    EXPECT_EQ(InfoLine(), "    Serial port lost!");
}

INSTANTIATE_TEST_SUITE_P(EveryAutomaticSender, PortLossTest, ::testing::ValuesIn(kJobs),
                         [](const ::testing::TestParamInfo<AutomaticJob>& info) {
                             std::string name;
                             for (const char* c = info.param.name; *c; ++c)
                                 if (std::isalnum(static_cast<unsigned char>(*c))) name += *c;
                             return name;
                         });

// The automatic check waits for each answer; a line lost meanwhile ends it
// without a "no answer" line in its log, as no module was asked.
TEST_F(MonitoringTest, AHangUpDuringTheAutomaticCheckEndsItWithoutALogLine) {
    TMainForm* form = StartMonitoring();
    form->KillPollTimer();
    OpenLoggedIn();
    ui_.Dialogs().Forget();
    AddFault("drop:cmd=0x10");
    form->TeButton11Click(nullptr);
    EXPECT_EQ(form->PortOpen, 0);
    EXPECT_EQ(form->AutoCheckRunning, 0);
    EXPECT_EQ(InfoLine(), "    Serial port lost!");
    EXPECT_FALSE(FileExists(AppPath("DataAccess/AutoCheck.csv")));
    for (const TBoxRecord& box : ui_.Boxes()) ADD_FAILURE() << box.text;
}

}  // namespace
}  // namespace tarvel::testing
