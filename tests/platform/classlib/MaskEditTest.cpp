// The masked edit as the IP address edit uses it: places filled in turn,
// literals kept, a typed dot jumping to the next group.

#include <gtest/gtest.h>

#include "platform/classlib/Mask.h"
#include "platform/classlib/testing/UiDriver.h"

namespace tarvel {
namespace {

class MaskEditTest : public ::testing::Test {
protected:
    void SetUp() override {
        form = new TForm(Application);
        form->SetName("Main");
        form->SetBounds(50, 50, 300, 200);
        edit = new TMaskEdit(form);
        edit->SetName("Ip");
        edit->SetParent(form);
        edit->SetBounds(10, 10, 150, 21);
        edit->SetEditMask("999.999.999.999;1; ");
        form->Show();
        ui.RunUntilIdle();
    }

    TUiDriver ui;
    TForm* form = nullptr;
    TMaskEdit* edit = nullptr;
};

TEST_F(MaskEditTest, TypingFillsPlacesAndADotJumpsToTheNextGroup) {
    struct Case {
        const char* typed;
        const char* text;
    };
    const Case cases[] = {
        {"192.168.1.10", "192.168.1  .10 "},
        {"10.0.0.1", "10 .0  .0  .1  "},
        {"1a2b3", "123.   .   .   "},  // what does not fit a place is dropped
        {"123456789012", "123.456.789.012"},
    };
    for (const Case& c : cases) {
        edit->SetText("");
        ui.Click(edit);
        ui.PressKey(VK_HOME);
        ui.Type(c.typed);
        EXPECT_EQ(edit->Text(), c.text) << c.typed;
    }
    EXPECT_EQ(edit->SelLength(), 0);  // past the last place
    ui.PressKey(VK_BACK);
    EXPECT_EQ(edit->Text(), "123.456.789.01 ");
    EXPECT_EQ(edit->SelStart(), 14);
    EXPECT_EQ(edit->SelLength(), 1);  // the place the next digit takes
    ui.PressKey(VK_LEFT);
    ui.PressKey(VK_LEFT);
    EXPECT_EQ(edit->SelStart(), 12);  // over the dot
}

TEST_F(MaskEditTest, TextSetByTheProgramFollowsTheMaskAndRequiredPlacesAreChecked) {
    edit->SetText("10.20.30.40");
    EXPECT_EQ(edit->Text(), "10 .20 .30 .40 ");  // a dot given ends its group
    edit->SetText("010.020.030.040");
    EXPECT_EQ(edit->Text(), "010.020.030.040");
    EXPECT_NO_THROW(edit->ValidateEdit());  // 9: every place optional

    edit->SetEditMask("000-00;0;_");
    EXPECT_EQ(edit->EditTextShown(), "___-__");
    edit->SetText("12345");
    EXPECT_EQ(edit->Text(), "12345");  // literals dropped
    EXPECT_EQ(edit->EditTextShown(), "123-45");
    edit->SetText("12");
    EXPECT_THROW(edit->ValidateEdit(), EDBEditError);
    EXPECT_EQ(edit->SelStart(), 2);
}

}  // namespace
}  // namespace tarvel
