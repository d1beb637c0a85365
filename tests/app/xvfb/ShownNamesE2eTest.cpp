// Messages about a cell or an edit, met as a person meets them through the
// X server: they name what the window shows, and the capacity edit takes
// only numbers, with Ctrl+A selecting what it holds.

#include "tests/app/xvfb/ToolXvfbFixture.h"

namespace tarvel {
namespace {

class ShownNamesE2e : public ToolOnX11 {
protected:
    void OpenAndLogIn() {
        StartTool();
        ASSERT_TRUE(Click("TB_COMSwitch"));
        ASSERT_TRUE(Await([] { return MainForm->PortOpen != 0; }));
        ASSERT_TRUE(Click("TB_LOG"));
        ASSERT_TRUE(Await([] { return MainForm->LoggedIn != 0; })) << InfoLine();
    }
    void ShowPage(TTeTabSheet* page) {
        MainForm->PC_All->SetActivePage(page);
        Settle(MainForm->Handle());
    }
};

TEST_F(ShownNamesE2e, TheCapacityEditTakesNumbersAndCtrlASelectsAll) {
    ASSERT_NO_FATAL_FAILURE(OpenAndLogIn());
    ShowPage(MainForm->TS_Monitor);
    TControl* capacity = Control("Capdis");
    ASSERT_TRUE(TypeInto(capacity, "350"));
    ASSERT_TRUE(Key("a", {"Control_L"}));
    EXPECT_TRUE(seen.empty()) << "Ctrl+A brought a box: " << seen.front().text;
    ASSERT_TRUE(Type("120"));
    EXPECT_EQ(MainForm->Capdis->Text(), "120");
    AnswerBox("OK", "e2e-capacity-letter.png");
    ASSERT_TRUE(Type("a"));
    ASSERT_TRUE(Await([&] { return !seen.empty(); }));
    EXPECT_EQ(seen.back().text, "Please input numeric!");
    EXPECT_EQ(MainForm->Capdis->Text(), "120");
}

TEST_F(ShownNamesE2e, AParameterCellThatHoldsNoNumberIsNamedByItsTitle) {
    ASSERT_NO_FATAL_FAILURE(OpenAndLogIn());
    ShowPage(MainForm->TS_TBMS);
    ASSERT_TRUE(Click("B_ReadBMS"));
    ASSERT_TRUE(Await([] { return !MainForm->SG_TBMS->Cells(1, 0).empty(); })) << InfoLine();
    MainForm->SG_TBMS->SetCells(1, 0, "1a");
    AnswerBox("OK", "e2e-parameter-cell-refused.png");
    ASSERT_TRUE(Click("B_WriteBMS"));
    ASSERT_TRUE(Await([&] { return !seen.empty(); }));
    const String title = Trim(MainForm->SG_TBMS->Cells(0, 0));
    ASSERT_FALSE(title.empty());
    EXPECT_EQ(seen.back().text, title + ": '1a' is not a valid integer value.");
}

}  // namespace
}  // namespace tarvel
