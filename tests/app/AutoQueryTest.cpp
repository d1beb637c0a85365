// The automatic query of one module: its timing against the simulated
// module, the columns of the hidden grid, the refused starts, and what the
// two periodic jobs lock and give back.

#include "link/CommandTable.h"
#include "tests/app/MonitoringFixture.h"
#include "tests/app/TelemetryFixture.h"

namespace tarvel::testing {
namespace {

using AutoQueryTest = MonitoringTest;

TEST_F(AutoQueryTest, QueriesHalfASecondAfterTheFirstStartThenEveryChosenPeriod) {
    TMainForm* form = StartMonitoring();
    OpenLoggedIn();
    form->PC_All->SetActivePage(form->TS_TSBS);
    form->CB_AutoQueryInterval->SetText("2");
    ui_.Click(form, "CB_AutoQuery");
    ASSERT_EQ(form->AutoQueryOn, 1);

    const std::vector<uint32_t> first = RunClock(6600, CmdQuerySbs);
    EXPECT_EQ(first, (std::vector<uint32_t>{500, 2500, 4500, 6500}));

    // A new start waits one period of the run before, then takes the box's.
    ui_.Click(form, "CB_AutoQuery");
    EXPECT_EQ(form->AutoQueryOn, 0);
    EXPECT_TRUE(RunClock(3000, CmdQuerySbs).empty()) << "stopped, nothing is sent";
    form->CB_AutoQueryInterval->SetText("1");
    ui_.Click(form, "CB_AutoQuery");
    const std::vector<uint32_t> second = RunClock(4500, CmdQuerySbs);
    EXPECT_EQ(second, (std::vector<uint32_t>{2000, 3000, 4000}));
    ui_.Click(form, "CB_AutoQuery");

    // What the module received, and one column per reading shown.
    EXPECT_EQ(RequestsOf(CmdQuerySbs), 7u);
    EXPECT_EQ(form->AutoQueryColumns, 7);
    const sim::ModuleState module = Module().Module(kModuleAddress);
    EXPECT_EQ(ui_.CellText(form->SG_AutoQuery, 6, 0), "7");
    EXPECT_EQ(ui_.CellText(form->SG_AutoQuery, 6, 2), std::to_string(module.telemetry.batt));
    EXPECT_EQ(ui_.CellText(form->SG_AutoQuery, 6, 28), std::to_string(module.telemetry.socHealth));
    EXPECT_EQ(ui_.CellText(form->SG_AutoQuery, 6, 2), ui_.CellText(form->SG_TSBS, 1, 1));
}

// Each refusal says why on the info line and leaves the job stopped with
// every control usable.
TEST_F(AutoQueryTest, RefusedStartsUncheckTheBox) {
    struct Case {
        const char* box;
        const char* interval;
        bool loggedIn;
        const char* info;
    };
    const Case cases[] = {
        {"CB_AutoQuery", "CB_AutoQueryInterval", false, "    Please login frist!"},
        {"CB_AutoQuery", "CB_AutoQueryInterval", true,
         "    Please check period setting: 1 to 4294967 seconds!"},
        {"CB_AutoReadADC", "CB_AutoReadADCInterval", false, "    Please login frist!"},
        {"CB_AutoReadADC", "CB_AutoReadADCInterval", true,
         "    Please check period setting: 1 to 4294967 seconds!"},
    };
    TMainForm* form = StartMonitoring();
    for (const char* interval : {"0", "-3", "4294968"}) {
        for (const Case& c : cases) {
            SCOPED_TRACE(std::string(c.box) + " with " + interval + (c.loggedIn ? "" : ", logged out"));
            form->LoggedIn = c.loggedIn ? 1 : 0;
            ui_.Find<TTeEdit>(form, c.interval)->SetText(c.loggedIn ? interval : "1");
            form->PC_All->SetActivePage(String(c.box) == "CB_AutoQuery" ? form->TS_TSBS : form->TS_TADC);
            ui_.Click(form, c.box);
            EXPECT_EQ(InfoLine(), c.info);
            EXPECT_FALSE(ui_.Find<TTeCheckBox>(form, c.box)->Checked());
            EXPECT_EQ(form->AutoQueryOn + form->AutoAdcOn, 0);
            EXPECT_FALSE(form->Timer1->Enabled() || form->Timer2->Enabled());
            EXPECT_FALSE(form->AdcStream.IsOpen());
            for (const char* other : {"TB_SingleConvert", "B_ReadADC", "CB_AutoQueryInterval", "B_Query"})
                EXPECT_TRUE(ui_.Enabled(ui_.Find(form, other))) << other;
        }
    }
}

// The engineering view disables the mode switch; stopping either periodic
// job enables it again, so parallel mode can be entered from there.
TEST_F(AutoQueryTest, StoppingAPeriodicJobEnablesTheModeSwitch) {
    TMainForm* form = StartMonitoring();
    OpenLoggedIn();
    for (const char* box : {"CB_AutoQuery", "CB_AutoReadADC"}) {
        SCOPED_TRACE(box);
        const bool query = String(box) == "CB_AutoQuery";
        const char* otherBox = query ? "CB_AutoReadADC" : "CB_AutoQuery";
        // Into the engineering view, from the user view the stop left.
        if (form->EngineeringEdition) {
            ui_.AnswerNextInput("7309");
            ui_.PressKey('C', TShiftState{ssCtrl, ssAlt});
        }
        ui_.AnswerNextInput("7309");
        ui_.PressKey('C', TShiftState{ssCtrl, ssAlt});
        ASSERT_EQ(form->EngineeringEdition, 1);
        ASSERT_FALSE(ui_.Enabled(form->TB_SingleConvert));
        form->PC_All->SetActivePage(query ? form->TS_TSBS : form->TS_TADC);

        ui_.Click(form, box);
        EXPECT_EQ(query ? form->AutoQueryOn : form->AutoAdcOn, 1);
        for (const char* locked : {"TB_SingleConvert", "TB_COMSwitch", "TB_LOG", "B_ReadKB", otherBox})
            EXPECT_FALSE(ui_.Enabled(ui_.Find(form, locked))) << locked;
        EXPECT_TRUE(ui_.Enabled(ui_.Find(form, box)));

        ui_.Click(form, box);
        EXPECT_EQ(form->AutoQueryOn + form->AutoAdcOn, 0);
        for (const char* freed : {"TB_SingleConvert", "TB_COMSwitch", "TB_LOG", "B_ReadKB", otherBox})
            EXPECT_TRUE(ui_.Enabled(ui_.Find(form, freed))) << freed;
    }
}

// The two period edits drop a blank without a word, so an interval typed
// with one still reads as its number; a letter brings the box.
TEST_F(AutoQueryTest, ThePeriodEditsDropBlanksQuietlyAndRefuseLetters) {
    TMainForm* form = StartMonitoring();
    OpenLoggedIn();
    const std::pair<TTeTabSheet*, TTeEdit*> edits[] = {{form->TS_TSBS, form->CB_AutoQueryInterval},
                                                       {form->TS_TADC, form->CB_AutoReadADCInterval}};
    for (const auto& [page, edit] : edits) {
        SCOPED_TRACE(edit->Name());
        form->PC_All->SetActivePage(page);
        edit->SetText("");
        edit->SetFocus();
        const size_t boxes = ui_.Boxes().size();
        ui_.Type(" 1 2");
        EXPECT_EQ(edit->GetText(), "12");
        EXPECT_EQ(ui_.Boxes().size(), boxes);
        ui_.Type("x");
        EXPECT_EQ(edit->GetText(), "12");
        ASSERT_EQ(ui_.Boxes().size(), boxes + 1);
        EXPECT_EQ(ui_.Boxes().back().text, "Please input numeric!");
    }
}

class AutoQueryColumnTest : public TelemetryWindowTest {
protected:
    void SetUp() override {
        TelemetryWindowTest::SetUp();
        form_->BindMonitoringHandlers();
    }
    String Column(int col, int row) { return ui_.CellText(form_->SG_AutoQuery, col, row); }
};

TEST_F(AutoQueryColumnTest, ReadingsShownWhileOffAddNoColumn) {
    Show();
    EXPECT_EQ(form_->AutoQueryColumns, 0);
    EXPECT_EQ(Column(0, 0), "");
}

TEST_F(AutoQueryColumnTest, TheGridGrowsFifteenColumnsAtATime) {
    form_->AutoQueryOn = 1;
    telemetry_.current = -2500;
    telemetry_.temps[7] = -12;
    for (int k = 1; k <= 31; ++k) {
        Show();
        const int expected = k <= 15 ? 15 : k <= 30 ? 30 : 45;
        ASSERT_EQ(form_->SG_AutoQuery->ColCount(), expected) << "after reading " << k;
    }
    EXPECT_EQ(Column(30, 0), "31");
    EXPECT_EQ(Column(30, 3), "3300");
    EXPECT_EQ(Column(30, 18), "3315");
    EXPECT_EQ(Column(30, 19), "-2500");
    EXPECT_EQ(Column(30, 27), "-12");
    EXPECT_EQ(Column(30, 28), std::to_string(telemetry_.socHealth));
}

TEST_F(AutoQueryColumnTest, OnlyTheLatestReadingsAreKept) {
    constexpr int kept = TMainForm::kAutoQueryColumnsKept;
    form_->AutoQueryOn = 1;
    form_->AutoQueryColumns = kept - 1;
    form_->SG_AutoQuery->SetColCount(kept);
    form_->SG_AutoQuery->SetCells(0, 0, "oldest");
    form_->SG_AutoQuery->SetCells(1, 0, "second");
    Show();
    Show();
    EXPECT_EQ(form_->SG_AutoQuery->ColCount(), kept);
    EXPECT_EQ(Column(0, 0), "second");
    EXPECT_EQ(Column(kept - 2, 0), std::to_string(kept));
    EXPECT_EQ(Column(kept - 1, 0), std::to_string(kept + 1));
    EXPECT_EQ(Column(kept, 0), "");
}

TEST_F(AutoQueryColumnTest, TheHiddenTileEditsTakeOnlyNumbers) {
    TTeSEdit* edit = form_->TileEdits[0];
    ASSERT_NE(edit, nullptr);
    for (char16_t key : {u'7', u'.', char16_t{8}, char16_t{13}}) {
        char16_t typed = key;
        edit->OnKeyPress(edit, typed);
        EXPECT_EQ(typed, key);
    }
    const size_t boxes = ui_.Boxes().size();
    ui_.AnswerNextBox(mrOk);
    char16_t blank = u' ';
    edit->OnKeyPress(edit, blank);
    EXPECT_EQ(blank, 0);
    ASSERT_EQ(ui_.Boxes().size(), boxes + 1);
    EXPECT_EQ(ui_.Boxes().back().text, "Please input numeric!");
}

}  // namespace
}  // namespace tarvel::testing
