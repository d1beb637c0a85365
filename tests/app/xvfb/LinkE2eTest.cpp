// The link as a person uses it, every press made by the X server: the port
// opened and closed from the tool bar, login and logout, one query and the
// automatic query on the telemetry page.

#include "tests/app/xvfb/ToolXvfbFixture.h"

namespace tarvel {
namespace {

class LinkE2e : public ToolOnX11 {};

TEST_F(LinkE2e, OpenLoginQueryLogoutClose) {
    StartTool();
    ASSERT_TRUE(Click("TB_COMSwitch"));
    ASSERT_TRUE(Await([] { return MainForm->PortOpen != 0; }));
    EXPECT_EQ(InfoLine(), "Succeed to open serail port!");
    EXPECT_EQ(MainForm->TB_COMSwitch->Caption(), "Close Port");

    ASSERT_TRUE(Click("TB_LOG"));
    ASSERT_TRUE(Await([] { return MainForm->LoggedIn != 0; })) << InfoLine();
    EXPECT_EQ(MainForm->TB_LOG->Caption(), "Logout");

    MainForm->PC_All->SetActivePage(MainForm->TS_TSBS);
    ASSERT_TRUE(Click("B_Query"));
    ASSERT_TRUE(Await([] { return MainForm->DoneTsbs != 0; })) << InfoLine();
    EXPECT_FALSE(MainForm->SG_TSBS->Cells(1, 1).empty());
    // The captions left of the query controls show whole, colon included.
    for (const char* name : {"TeLabel7", "TeLabel31"}) {
        auto* label = dynamic_cast<TTeLabel*>(Control(name));
        ASSERT_NE(label, nullptr);
        const int width = label->Canvas()->TextWidth(label->Caption());
        EXPECT_LE(label->Left() + width, 96) << name << " " << label->Left() << "+" << width;
        EXPECT_LE(width, label->Width()) << name;
    }
    Settle(MainForm->Handle());
    EXPECT_TRUE(Save(MainForm, "e2e-query-once.png"));

    ASSERT_TRUE(Click("TB_LOG"));
    ASSERT_TRUE(Await([] { return MainForm->LoggedIn == 0; })) << InfoLine();
    EXPECT_EQ(MainForm->TB_LOG->Caption(), "Login");
    ASSERT_TRUE(Click("TB_COMSwitch"));
    EXPECT_EQ(MainForm->PortOpen, 0);
    EXPECT_EQ(InfoLine(), "Succeed to close serail port!");
    EXPECT_EQ(MainForm->TB_COMSwitch->Caption(), "Open Port");
    // The info line shows its text in the success colour on the screen.
    EXPECT_EQ(PixelIn(MainForm->L_Info, TPoint{2, 2}), kSuccessColor);
}

}  // namespace
}  // namespace tarvel
