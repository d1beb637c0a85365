// The memo: lines typed and added, the caret across lines, the lines list.

#include <gtest/gtest.h>

#include "platform/classlib/StdCtrls.h"
#include "platform/classlib/testing/UiDriver.h"

namespace tarvel {
namespace {

class MemoTest : public ::testing::Test {
protected:
    void SetUp() override {
        form = new TForm(Application);
        form->SetName("Main");
        form->SetBounds(50, 50, 400, 300);
        memo = new TMemo(form);
        memo->SetName("Memo");
        memo->SetParent(form);
        memo->SetBounds(10, 10, 300, 150);
        form->Show();
        ui.RunUntilIdle();
    }

    TUiDriver ui;
    TForm* form = nullptr;
    TMemo* memo = nullptr;
};

TEST_F(MemoTest, TypingMakesLinesAndTheCaretKeepsItsColumnAcrossLines) {
    ui.Click(memo);
    ui.Type("first line");
    ui.PressKey(VK_RETURN);
    ui.Type("ab");
    ui.PressKey(VK_RETURN);
    ui.Type("third line");
    EXPECT_EQ(memo->Lines()->Count(), 3);
    EXPECT_EQ(memo->Text(), "first line\r\nab\r\nthird line");
    ui.PressKey(VK_UP);
    EXPECT_EQ(memo->CaretPos(), (TPoint{2, 1}));  // the short line
    ui.PressKey(VK_UP);
    EXPECT_EQ(memo->CaretPos().y, 0);
    EXPECT_GT(memo->CaretPos().x, 5);  // back near the column it came from
    ui.PressKey(VK_END, {ssCtrl});
    EXPECT_EQ(memo->CaretPos(), (TPoint{10, 2}));
    ui.PressKey(VK_HOME);
    ui.PressKey(VK_BACK);  // joins the lines
    EXPECT_EQ(memo->Lines()->Strings(1), "abthird line");
}

TEST_F(MemoTest, TheLinesListEditsTheText) {
    TStrings* lines = memo->Lines();
    lines->Add("one");
    lines->Add("three");
    lines->Insert(1, "two");
    EXPECT_EQ(lines->Count(), 3);
    EXPECT_EQ(lines->Text(), "one\r\ntwo\r\nthree\r\n");
    lines->Put(0, "ONE");
    lines->Delete(2);
    EXPECT_EQ(memo->Text(), "ONE\r\ntwo\r\n");
    EXPECT_THROW(lines->Strings(5), EStringListError);
    lines->SetText("a\nb\r\nc");
    EXPECT_EQ(lines->Count(), 3);
    EXPECT_EQ(lines->Strings(2), "c");
    lines->Clear();
    EXPECT_EQ(lines->Count(), 0);
}

}  // namespace
}  // namespace tarvel
