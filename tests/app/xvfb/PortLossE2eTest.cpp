// The module pulled away while the automatic query runs, every press made
// through the X server: the loss stays on the info line in the failure
// colour, the query stops and unticks its box, and the port and mode
// controls can be used again.

#include "tests/app/xvfb/ToolXvfbFixture.h"

namespace tarvel {
namespace {

class PortLossE2e : public ToolOnX11 {
protected:
    std::string PortLink() const override { return folder.File("ttyBMS"); }
};

TEST_F(PortLossE2e, ALostModuleStopsTheAutomaticQueryAndLeavesThePortUsable) {
    StartTool();
    ASSERT_TRUE(Click("TB_COMSwitch"));
    ASSERT_TRUE(Await([] { return MainForm->PortOpen != 0; }));
    ASSERT_TRUE(Click("TB_LOG"));
    ASSERT_TRUE(Await([] { return MainForm->LoggedIn != 0; })) << InfoLine();
    MainForm->PC_All->SetActivePage(MainForm->TS_TSBS);
    Settle(MainForm->Handle());
    ASSERT_TRUE(TypeInto(Control("CB_AutoQueryInterval"), "1"));
    ASSERT_TRUE(Click("CB_AutoQuery"));
    ASSERT_TRUE(MainForm->CB_AutoQuery->Checked());
    EXPECT_FALSE(MainForm->TB_COMSwitch->Enabled());
    // Two readings come in before the module goes.
    const uint32_t before = static_cast<uint32_t>(MainForm->AutoQueryColumns);
    ASSERT_TRUE(Await([&] { return MainForm->AutoQueryColumns >= static_cast<int32_t>(before) + 2; }));

    line->Stop();
    ASSERT_TRUE(Await([] { return MainForm->PortOpen == 0; }));
    // Past two periods of the query that ran, nothing has replaced the loss.
    Run(2500);
    Settle(MainForm->Handle());
    EXPECT_TRUE(Save(MainForm, "e2e-port-lost.png"));
    EXPECT_EQ(InfoLine(), "Serial port lost!");
    EXPECT_EQ(PixelIn(MainForm->L_Info, TPoint{2, 2}), kFailureColor);
    EXPECT_FALSE(MainForm->CB_AutoQuery->Checked());
    const String log = MainForm->RE_Info->Lines()->Text();
    EXPECT_NE(log.find("Serial port lost! (" + PortPath() + ")"), String::npos) << log;
    for (const char* name : {"TB_COMSwitch", "TB_SingleConvert", "TB_LOG", "TB_Load", "TB_Save"})
        EXPECT_TRUE(Control(name)->Enabled()) << name;

    // A query asked of the lost port names the loss, not the login.
    ASSERT_TRUE(Click("B_Query"));
    EXPECT_EQ(InfoLine(), "Serial port lost!");
    // The port switch answers: the device is gone, and the box says why.
    AnswerBox("OK");
    ASSERT_TRUE(Click("TB_COMSwitch"));
    ASSERT_TRUE(Await([&] { return !seen.empty(); }));
    const String box = seen.back().text;
    const String named = "Error opening serial port (" + PortPath() + "): ";
    EXPECT_TRUE(box.starts_with(named) && box.size() > named.size() + 1) << box;
}

}  // namespace
}  // namespace tarvel
