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

// The calibration write refuses a K its field cannot hold and names the
// cell by its row's and column's titles.
TEST_F(ShownNamesE2e, ACalibrationCellBeyondItsFieldIsNamedByItsTitles) {
    ASSERT_NO_FATAL_FAILURE(OpenAndLogIn());
    // Calibration is the engineering view's.
    AnswerInput("7309");
    ASSERT_TRUE(Key("c", {"Control_L", "Alt_L"}));
    ASSERT_TRUE(Await([] { return MainForm->EngineeringEdition != 0; }));
    ShowPage(MainForm->TS_Adjust);
    MainForm->SG_VKB->SetCells(4, 5, "65536");
    ASSERT_TRUE(Click("B_WriteKB"));
    Settle(MainForm->Handle());
    EXPECT_TRUE(Save(MainForm, "e2e-calibration-cell-refused.png"));
    const String row = Trim(MainForm->SG_VKB->Cells(0, 5)), column = Trim(MainForm->SG_VKB->Cells(4, 0));
    ASSERT_FALSE(row.empty() || column.empty());
    EXPECT_EQ(InfoLine(), row + ", " + column + ": 65536 is out of range (0 to 65535)");
    EXPECT_EQ(PixelIn(MainForm->L_Info, TPoint{2, 2}), kFailureColor);
}

}  // namespace
}  // namespace tarvel
