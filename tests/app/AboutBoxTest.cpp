// The about box: its texts, its place, and the About item and its short-cut
// that show it.

#include <vector>

#include "platform/classlib/Forms.h"
#include "tests/app/ToolWindowsFixture.h"

namespace tarvel::testing {
namespace {

class AboutBoxTest : public ToolWindowsTest {
protected:
    // The texts the open box shows, caption and value row by row.
    std::vector<String> ShownTexts() {
        std::vector<String> texts;
        for (TTeLabel* label : {static_cast<TTeLabel*>(AboutBox->TeAdvancedLabel1), AboutBox->TeLabel1,
                                static_cast<TTeLabel*>(AboutBox->TeAdvancedLabel2), AboutBox->TeLabel2,
                                static_cast<TTeLabel*>(AboutBox->TeAdvancedLabel5), AboutBox->TeLabel3,
                                static_cast<TTeLabel*>(AboutBox->TeAdvancedLabel4), AboutBox->TeLabel5})
            if (ui_.Visible(label)) texts.push_back(WideToUtf8(label->GetCaption()));
        texts.push_back(WideToUtf8(AboutBox->TeEffectButton1->GetCaption()));
        return texts;
    }
    // Opens the box with the About item's short-cut; reads it and confirms.
    std::vector<String> OpenAndConfirm() {
        std::vector<String> texts;
        ui_.WhenModal([&] {
            EXPECT_EQ(ui_.ModalForm(), AboutBox);
            texts = ShownTexts();
            ui_.Click(AboutBox->TeEffectButton1);
        });
        ui_.PressKey('A', {ssCtrl, ssAlt});
        ui_.RunUntilIdle();
        return texts;
    }
};

TEST_F(AboutBoxTest, OpenedTwiceItShowsTheSameTextsAndConfirmClosesItEachTime) {
    StartTool();
    const std::vector<String> expected = {
        "Name:",      "Tarvel BMS Software",    "Version:", " V1.1.0", "Date:", "2014-11-03",
        "Copyright:", "Tarvel Power Co., Ltd.", "Confirm"};
    for (int time = 1; time <= 2; ++time) {
        SCOPED_TRACE(time);
        EXPECT_EQ(OpenAndConfirm(), expected);
        EXPECT_EQ(AboutBox->ModalResult(), mrOk);
        EXPECT_FALSE(AboutBox->Visible());
        EXPECT_EQ(ui_.ModalForm(), nullptr);
    }
    EXPECT_TRUE(ui_.Problems().empty()) << ui_.Problems().front();
}

TEST_F(AboutBoxTest, ItIsABorderlessBoxInTheMiddleOfTheScreen) {
    StartTool();
    TRect shown{};
    ui_.WhenModal([&] {
        shown = AboutBox->BoundsRect();
        ui_.Click(AboutBox->TeEffectButton1);
    });
    TMainForm* form = MainForm;
    form->M_HelpClick(form->M_Help);
    EXPECT_EQ(AboutBox->BorderStyle(), bsNone);
    EXPECT_EQ(shown.Width(), 370);
    EXPECT_EQ(shown.Height(), 208);
    const TRect area = Screen->WorkAreaRect();
    EXPECT_LE(std::abs((shown.left + shown.right) - (area.left + area.right)), 1);
    EXPECT_LE(std::abs((shown.top + shown.bottom) - (area.top + area.bottom)), 1);
}

TEST_F(AboutBoxTest, MakingItNamesTheApplicationAndTheMainWindow) {
    TMainForm* form = Start();
    EXPECT_EQ(Application->Title(), "Tarvel BMS Software");
    Application->CreateForm(AboutBox);
    EXPECT_EQ(Application->Title(), "Tarvel BMS Software V1.1.0");
    EXPECT_EQ(form->Caption(), "Tarvel BMS Software V1.1.0");
}

}  // namespace
}  // namespace tarvel::testing
