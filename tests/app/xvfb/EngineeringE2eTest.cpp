// The engineering edition as a person reaches and uses it, every press made
// by the X server: the edition chosen from the menu with the keys, the
// password box, the calibration page (the block read, voltages sampled,
// their K computed) and the ADC readout.

#include "platform/classlib/StdCtrls_Edit.h"
#include "tests/app/xvfb/ToolXvfbFixture.h"

namespace tarvel {
namespace {

class EngineeringE2e : public ToolOnX11 {
protected:
    // Port open, logged in, the edition switched with its password typed.
    void StartEngineering() {
        StartTool();
        ASSERT_TRUE(Click("TB_COMSwitch"));
        ASSERT_TRUE(Click("TB_LOG"));
        ASSERT_TRUE(Await([] { return MainForm->LoggedIn != 0; }));
        WhenModal([this](TCustomForm* box) {
            auto* edit = dynamic_cast<TCustomEdit*>(testing::FindNamed(box, "Edit"));
            ASSERT_NE(edit, nullptr);
            ASSERT_TRUE(TypeInto(edit, "7309"));
            EXPECT_EQ(edit->Text(), "7309");
            EXPECT_NE(edit->PasswordChar(), 0) << "the password shows as it is typed";
            EXPECT_TRUE(Save(box->Handle(), "e2e-password-box.png"));
            ASSERT_TRUE(Click(Control(box, "OK")));
        });
        ASSERT_TRUE(ChooseMenuByKeys(MainForm->TeMenuBar1, {"About Project(&A)", "Convert Version(&C)"}));
        ASSERT_TRUE(Await([] { return MainForm->EngineeringEdition == 1; }));
        EXPECT_TRUE(MainForm->TS_Adjust->PageVisible());
    }

    // Clicks the button and waits until the module's answer has been shown.
    void ClickAndAwait(TControl* button) {
        const size_t before = line->Sim().Requests().size();
        ASSERT_TRUE(Click(button));
        ASSERT_TRUE(Await([&] { return line->Sim().Requests().size() > before && LastCommand == 0; }))
            << button->Name() << " got no answer";
    }
};

TEST_F(EngineeringE2e, CalibrationWithTheMaskedPassword) {
    ASSERT_NO_FATAL_FAILURE(StartEngineering());
    ASSERT_TRUE(ShowPage(MainForm->TS_Adjust));
    Settle(MainForm->Handle());
    ClickAndAwait(MainForm->B_ReadKB);
    EXPECT_FALSE(MainForm->SG_VKB->Cells(3, 1).empty());
    MainForm->SG_VKB->SetCells(1, 1, "52900");
    for (int row = 2; row <= 17; ++row) MainForm->SG_VKB->SetCells(1, row, "3310");
    ClickAndAwait(MainForm->B_SampleV);
    EXPECT_FALSE(MainForm->SG_VKB->Cells(2, 17).empty());
    ASSERT_TRUE(Click(MainForm->B_CalcVK));
    EXPECT_NE(MainForm->SG_VKB->Cells(4, 1), "");
    // The pointer gone elsewhere: of the three buttons only the focused one
    // looks it.
    ASSERT_TRUE(MovePointer(MainForm->SG_VKB, TPoint{4, 4}));
    Run(300);
    EXPECT_TRUE(Save(MainForm, "e2e-calibration.png"));
    // A button never clicked shows how one looks that is neither focused nor pressed.
    TTeButton* plain = MainForm->B_SampleC;
    const int middle = plain->Height() / 2;
    for (TTeButton* button : {MainForm->B_ReadKB, MainForm->B_SampleV, MainForm->B_CalcVK}) {
        SCOPED_TRACE(button->Name());
        const bool focused = button == MainForm->B_CalcVK;
        EXPECT_EQ(button->Focused(), focused);
        EXPECT_FALSE(button->IsHot());
        EXPECT_EQ(button->IsFocused(), focused);
        if (focused) continue;
        for (int x = 0; x < 4; ++x)
            EXPECT_EQ(PixelIn(button, TPoint{x, middle}), PixelIn(plain, TPoint{x, middle})) << x;
    }
}

}  // namespace
}  // namespace tarvel
