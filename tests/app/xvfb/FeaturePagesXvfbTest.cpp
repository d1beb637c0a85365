// The single-module pages under Xvfb on a simulated module, each pictured
// after its main action. The automatic-query page and the remote-control and
// clock groups stand where no view shows them, so they have no picture.

#include "platform/winsys/WindowApi.h"
#include "tests/app/xvfb/ToolXvfbFixture.h"

namespace tarvel {
namespace {

class FeaturePagesOnX11 : public ToolOnX11 {
protected:
    // The window shown, its port open on the module and logged in.
    void StartLoggedIn() {
        Application->SetTitle(kAppName);
        Application->CreateForm(MainForm);
        MainForm->Show();
        MainForm->TB_COMSwitchClick(nullptr);
        ASSERT_TRUE(MainForm->PortOpen);
        MainForm->TB_LOGClick(nullptr);
        ASSERT_TRUE(RunUntil([] { return MainForm->LoggedIn != 0; }));
    }

    // Clicks `button` and waits until the module's answer has been shown.
    void ClickAndAwait(TControl* button) {
        ASSERT_NE(button, nullptr);
        const size_t before = line->Sim().Requests().size();
        button->Click();
        ASSERT_TRUE(RunUntil([&] { return line->Sim().Requests().size() > before && LastCommand == 0; }))
            << button->Name() << " got no answer";
    }

    // The reads run before their page is shown, so that it is painted once:
    // the skinned pages take seconds to paint in a sanitized build.
    // `grids` are those of the page that people read: each must show every
    // cell without scrolling and every text within its column.
    void Picture(TTeTabSheet* page, const char* name, std::initializer_list<TStringGrid*> grids) {
        MainForm->PC_All->SetActivePage(page);
        Settle(MainForm->Handle());
        EXPECT_TRUE(Save(MainForm, name));
        for (TStringGrid* grid : grids) ExpectWholeCells(grid);
    }

    static void ExpectWholeCells(TStringGrid* grid) {
        SCOPED_TRACE(grid->Name());
        int width = 0, height = 0;
        for (int col = 0; col < grid->ColCount(); ++col) width += grid->ColWidths(col) + 1;
        for (int row = 0; row < grid->RowCount(); ++row) height += grid->RowHeights(row) + 1;
        EXPECT_GE(grid->ClientWidth(), width);
        EXPECT_GE(grid->ClientHeight(), height);
        EXPECT_EQ(GetWindowLongPtr(grid->Handle(), GWL_STYLE) & (WS_HSCROLL | WS_VSCROLL), 0);
        TWinControl* parent = grid->Parent();
        EXPECT_LE(grid->Left() + grid->Width(), parent->ClientWidth());
        EXPECT_LE(grid->Top() + grid->Height(), parent->ClientHeight());
        for (int col = 0; col < grid->ColCount(); ++col) {
            for (int row = 0; row < grid->RowCount(); ++row) {
                const String text = grid->Cells(col, row);
                EXPECT_LE(grid->Canvas()->TextWidth(text), grid->ColWidths(col) - 4) << text;
            }
        }
    }

    // The view the edition switch shows once its password is given; the
    // password box would wait for a person.
    static void ShowEngineeringView() {
        MainForm->EngineeringEdition = 1;
        MainForm->ShowEngineeringView();
    }
};

TEST_F(FeaturePagesOnX11, ProtectionParametersAfterARead) {
    ASSERT_NO_FATAL_FAILURE(StartLoggedIn());
    ClickAndAwait(MainForm->B_ReadBMS);
    EXPECT_FALSE(MainForm->SG_TBMS->Cells(1, 0).empty());
    Picture(MainForm->TS_TBMS, "tool-page-parameters.png", {MainForm->SG_TBMS});
}

// The block read, the voltages sampled against the bench's values and
// their K computed.
TEST_F(FeaturePagesOnX11, CalibrationAfterComputingTheVoltageK) {
    ASSERT_NO_FATAL_FAILURE(StartLoggedIn());
    ShowEngineeringView();
    ClickAndAwait(MainForm->B_ReadKB);
    EXPECT_FALSE(MainForm->SG_VKB->Cells(3, 1).empty());
    MainForm->SG_VKB->SetCells(1, 1, "52900");
    for (int row = 2; row <= 17; ++row) MainForm->SG_VKB->SetCells(1, row, "3310");
    ClickAndAwait(MainForm->B_SampleV);
    EXPECT_FALSE(MainForm->SG_VKB->Cells(2, 17).empty());
    MainForm->B_CalcVK->Click();
    EXPECT_NE(MainForm->SG_VKB->Cells(4, 1), "");
    Picture(MainForm->TS_Adjust, "tool-page-calibration.png", {MainForm->SG_VKB, MainForm->SG_CKB});
}

TEST_F(FeaturePagesOnX11, CalibrationOfAModuleWithTheShortBlock) {
    line->Sim().UpdateModule(0, [](sim::ModuleState& m) { m.kb = sim::ModuleState::Make(0, true).kb; });
    ASSERT_NO_FATAL_FAILURE(StartLoggedIn());
    ShowEngineeringView();
    ClickAndAwait(MainForm->B_ReadKB);
    EXPECT_FALSE(MainForm->SG_CKB->Visible());
    EXPECT_TRUE(MainForm->SG_CKB1->Visible());
    EXPECT_FALSE(MainForm->SG_CKB1->Cells(1, 11).empty());
    Picture(MainForm->TS_Adjust, "tool-page-calibration-short.png", {MainForm->SG_VKB, MainForm->SG_CKB1});
}

TEST_F(FeaturePagesOnX11, TelemetryWhileTheAutomaticQueryRuns) {
    ASSERT_NO_FATAL_FAILURE(StartLoggedIn());
    MainForm->CB_AutoQueryInterval->SetText("1");
    MainForm->CB_AutoQuery->SetChecked(true);
    ASSERT_EQ(MainForm->AutoQueryOn, 1);
    ASSERT_TRUE(RunUntil([] { return MainForm->AutoQueryColumns >= 2; }, 20000))
        << MainForm->AutoQueryColumns << " readings";
    EXPECT_FALSE(MainForm->B_Query->Enabled());
    EXPECT_FALSE(MainForm->TB_COMSwitch->Enabled());
    // The telemetry grid's own sizes are the telemetry page's business.
    Picture(MainForm->TS_TSBS, "tool-page-automatic-query.png", {});
    MainForm->CB_AutoQuery->SetChecked(false);
    EXPECT_TRUE(MainForm->B_Query->Enabled());
}

TEST_F(FeaturePagesOnX11, SystemMonitorAfterReadingTheModule) {
    ASSERT_NO_FATAL_FAILURE(StartLoggedIn());
    ClickAndAwait(MainForm->B_GetVer);
    ClickAndAwait(MainForm->B_ReadSerialNum);
    ClickAndAwait(MainForm->Getcap);
    // The life values come with the telemetry.
    ClickAndAwait(MainForm->B_Query);
    EXPECT_EQ(MainForm->DoneVersion, 1);
    EXPECT_EQ(MainForm->DoneSerialNum, 1);
    EXPECT_EQ(MainForm->DoneCap, 1);
    EXPECT_EQ(MainForm->DoneTsbs, 1);
    Picture(MainForm->TS_Monitor, "tool-page-monitor.png", {MainForm->SG_SoftVersion, MainForm->SG_Life});
}

TEST_F(FeaturePagesOnX11, AdcAfterOneReadout) {
    ASSERT_NO_FATAL_FAILURE(StartLoggedIn());
    ShowEngineeringView();
    ClickAndAwait(MainForm->B_ReadADC);
    EXPECT_FALSE(MainForm->SG_VADC->Cells(1, 1).empty());
    Picture(MainForm->TS_TADC, "tool-page-adc.png",
            {MainForm->SG_VADC, MainForm->SG_CADC, MainForm->SG_TADC});
}

}  // namespace
}  // namespace tarvel
