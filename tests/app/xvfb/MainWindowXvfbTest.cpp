// The tool's windows under Xvfb on a simulated module: the main window after
// start-up, the telemetry page after a query, the port dialog and the about
// box.

#include "app/About.h"
#include "app/Comm.h"
#include "platform/winsys/GuiTasks.h"
#include "tests/app/xvfb/ToolXvfbFixture.h"

namespace tarvel {
namespace {

TEST_F(ToolOnX11, MainWindowTelemetryPortDialogAndAboutBox) {
    Application->SetTitle(kAppName);
    Application->CreateForm(MainForm);
    Application->CreateForm(CommForm);
    Application->CreateForm(AboutBox);
    MainForm->Show();
    Settle(MainForm->Handle());
    EXPECT_TRUE(Save(MainForm, "tool-main-window.png"));

    MainForm->TB_COMSwitchClick(nullptr);
    ASSERT_TRUE(MainForm->PortOpen);
    MainForm->TB_LOGClick(nullptr);
    ASSERT_TRUE(RunUntil([] { return MainForm->LoggedIn != 0; }));
    MainForm->PC_All->SetActivePage(MainForm->TS_TSBS);
    MainForm->B_Query->Click();
    ASSERT_TRUE(RunUntil([] { return MainForm->DoneTsbs != 0; }));
    Settle(MainForm->Handle());
    EXPECT_TRUE(Save(MainForm, "tool-telemetry-page.png"));

    // The dialog as the menu opens it, with its port list; pictured from
    // inside its modal loop, then cancelled.
    bool saved = false;
    PostGuiTask([&] {
        Settle(CommForm->Handle());
        saved = Save(CommForm, "tool-port-dialog.png");
        CommForm->SetModalResult(mrCancel);
    });
    MainForm->M_SetCOMClick(nullptr);
    EXPECT_TRUE(saved);

    AboutBox->Show();
    Settle(AboutBox->Handle());
    EXPECT_TRUE(Save(AboutBox, "tool-about-box.png"));
    AboutBox->Hide();
}

}  // namespace
}  // namespace tarvel

int main(int argc, char** argv) {
    ::testing::InitGoogleTest(&argc, argv);
    return tarvel::RunTestsOnXvfb("the tool's windows");
}

// SDL's D-Bus connection keeps a buffer for the life of the process.
extern "C" const char* __lsan_default_suppressions() { return "leak:libdbus-1.so\n"; }
