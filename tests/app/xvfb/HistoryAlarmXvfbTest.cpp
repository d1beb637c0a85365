// The history-alarm page under Xvfb after the module's alarms have been
// downloaded into its grid.

#include "tests/app/xvfb/ToolXvfbFixture.h"

namespace tarvel {
namespace {

using HistoryAlarmOnX11 = ToolOnX11;

TEST_F(HistoryAlarmOnX11, PageAfterADownload) {
    line->Sim().UpdateModule(0, [](sim::ModuleState& m) { m.records.alarms = 23; });
    Application->SetTitle(kAppName);
    Application->CreateForm(MainForm);
    MainForm->BindHisAlarmHandlers();
    MainForm->Show();
    MainForm->TB_COMSwitchClick(nullptr);
    ASSERT_TRUE(MainForm->PortOpen);
    MainForm->TB_LOGClick(nullptr);
    ASSERT_TRUE(RunUntil([] { return MainForm->LoggedIn != 0; }));
    MainForm->PC_All->SetActivePage(MainForm->TS_HisAlarm);

    // Asked without the question box, and, as during an export, without the
    // success box: no box may wait for a person here.
    MainForm->ExportRunning = 1;
    ASSERT_TRUE(MainForm->RequestAllHisAlarms());
    ASSERT_TRUE(RunUntil([] { return MainForm->DoneHisAlarm != 0; }));
    MainForm->ExportRunning = 0;
    EXPECT_EQ(MainForm->SG_HisAlarm->RowCount(), 24);
    Settle(MainForm->Handle());
    EXPECT_TRUE(Save(MainForm, "tool-history-alarm-page.png"));
}

}  // namespace
}  // namespace tarvel
