// Message, question and input boxes: through the scripted service, and as
// the real modal forms of the standard one.

#include <gtest/gtest.h>

#include <filesystem>

#include "platform/classlib/Boxes.h"
#include "platform/classlib/StdCtrls.h"
#include "platform/classlib/testing/UiDriver.h"

namespace tarvel {
namespace {

class BoxesTest : public ::testing::Test {
protected:
    TUiDriver ui;
};

TEST_F(BoxesTest, MessageBoxFlagsChooseKindAndButtonsAndAnswersComeBackAsIds) {
    struct Case {
        unsigned flags;
        TMsgDlgType type;
        TMsgDlgButtons buttons;
        int answer;
    };
    const Case cases[] = {
        {MB_OK, mtCustom, {mbOK}, IDOK},
        {MB_YESNO | MB_ICONINFORMATION, mtInformation, mbYesNo, IDYES},
        {MB_YESNO | MB_ICONQUESTION, mtConfirmation, mbYesNo, IDNO},
        {MB_OK | MB_ICONWARNING, mtWarning, {mbOK}, IDOK},
        {MB_OK | MB_ICONERROR, mtError, {mbOK}, IDOK},
        {MB_OKCANCEL, mtCustom, mbOKCancel, IDCANCEL},
    };
    for (const Case& c : cases) ui.AnswerNextBox(c.answer);
    for (const Case& c : cases) EXPECT_EQ(Application->MessageBox("Text", "Caption", c.flags), c.answer);
    ASSERT_EQ(ui.Boxes().size(), std::size(cases));
    for (size_t i = 0; i < std::size(cases); ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(ui.Boxes()[i].type, cases[i].type);
        EXPECT_EQ(ui.Boxes()[i].buttons, cases[i].buttons);
        EXPECT_EQ(ui.Boxes()[i].caption, "Caption");
        EXPECT_TRUE(ui.Boxes()[i].scripted);
    }
}

TEST_F(BoxesTest, ShowMessageAndMessageDlgCaptionsAndUnscriptedAnswers) {
    Application->SetTitle("Tarvel BMS Software");
    ShowMessage("Get ALL Data Success!");
    EXPECT_EQ(MessageDlg("Does it disconnect other modules?", mtInformation, mbYesNo), mrNo);
    EXPECT_EQ(MessageDlg("Careful", mtWarning, {mbOK}), mrOk);
    ASSERT_EQ(ui.Boxes().size(), 3u);
    EXPECT_EQ(ui.Boxes()[0].caption, "Tarvel BMS Software");
    EXPECT_EQ(ui.Boxes()[0].buttons, TMsgDlgButtons{mbOK});
    EXPECT_EQ(ui.Boxes()[0].answer, mrOk);
    EXPECT_FALSE(ui.Boxes()[0].scripted);
    EXPECT_EQ(ui.Boxes()[1].caption, "Information");
    EXPECT_EQ(ui.Boxes()[2].caption, "Warning");
}

TEST_F(BoxesTest, InputBoxAnswersTheDefaultWhenCancelled) {
    ui.AnswerNextInput(String("1234"));
    ui.AnswerNextInput(std::nullopt);
    EXPECT_EQ(InputBox("Convertion:", "Input Password:", ""), "1234");
    EXPECT_EQ(InputBox("Convertion:", "Input Password:", "def"), "def");
    ASSERT_EQ(ui.Dialogs().Inputs().size(), 2u);
    EXPECT_EQ(ui.Dialogs().Inputs()[0].prompt, "Input Password:");
}

TEST_F(BoxesTest, TheRealQuestionBoxAnswersByButtonEnterEscapeAndCaptionClose) {
    ui.UseStandardDialogs();
    struct Case {
        const char* how;
        int expected;
    };
    const Case cases[] = {{"No", mrNo}, {"Yes", mrYes}, {"enter", mrYes}, {"escape", mrNo}, {"close", mrNo}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.how);
        String how = c.how;
        String caption, text;
        ui.WhenModal([&] {
            TCustomForm* box = ui.ModalForm();
            ASSERT_TRUE(box);
            caption = box->Caption();
            text = ui.Caption(ui.Find(box, "Message"));
            if (how == "enter")
                ui.PressKey(VK_RETURN);
            else if (how == "escape")
                ui.PressKey(VK_ESCAPE);
            else if (how == "close") {
                ui.Backend().RequestClose(box->Handle());
                ui.RunUntilIdle();
            } else {
                ui.Click(ui.Find(box, how));
            }
        });
        EXPECT_EQ(MessageDlg("Delete the records?", mtConfirmation, mbYesNo), c.expected);
        EXPECT_EQ(caption, "Confirm");
        EXPECT_EQ(text, "Delete the records?");
    }
    EXPECT_TRUE(ui.Problems().empty());
}

TEST_F(BoxesTest, TheRealBoxesLookRightAndFitTheirText) {
    ui.UseStandardDialogs();
    const TMsgDlgType kinds[] = {mtInformation, mtWarning, mtError, mtConfirmation};
    for (TMsgDlgType kind : kinds) {
        ui.WhenModal([&] {
            TCustomForm* box = ui.ModalForm();
            TControl* message = ui.Find(box, "Message");
            TControl* ok = ui.Find(box, "OK");
            EXPECT_LE(message->Left() + message->Width(), box->ClientWidth());
            EXPECT_LT(message->Top() + message->Height(), ok->Top());
            EXPECT_LE(ok->Top() + ok->Height(), box->ClientHeight());
            const std::string png = (std::filesystem::path(TARVEL_BINARY_DIR) /
                                     ("message_box_" + std::to_string(static_cast<int>(kind)) + ".png"))
                                        .string();
            EXPECT_TRUE(ui.SaveScreenshot(box, png));
            ui.Click(ok);
        });
        EXPECT_EQ(MessageDlg("A line of text\nand a second, longer line of text", kind, {mbOK}), mrOk);
    }
    EXPECT_TRUE(ui.Problems().empty());
}

TEST_F(BoxesTest, TheRealBoxesShowTheStandardIconOfTheirKind) {
    ui.UseStandardDialogs();
    const struct {
        TMsgDlgType kind;
        int icon;
    } cases[] = {
        {mtWarning, IDI_EXCLAMATION},
        {mtError, IDI_HAND},
        {mtInformation, IDI_ASTERISK},
        {mtConfirmation, IDI_QUESTION},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.kind);
        ICONINFO info;
        ASSERT_TRUE(GetIconInfo(LoadIcon(nullptr, c.icon), &info));
        const auto picture = GetBitmapSurface(info.hbmColor);
        int compared = 0, differing = 0;
        ui.WhenModal([&] {
            TCustomForm* box = ui.ModalForm();
            TControl* image = ui.Find(box, "Image");
            ASSERT_TRUE(image);
            ui.RunUntilIdle();
            const auto shown = ui.Backend().WindowPixels(box->Handle());
            const TPoint at = image->ClientToScreen(TPoint{0, 0});
            const TRect window = WindowRect(box->Handle());
            for (int y = 0; y < picture->Height(); ++y)
                for (int x = 0; x < picture->Width(); ++x) {
                    const uint32_t p = picture->Pixel(x, y);
                    if ((p >> 24) != 0xFF) continue;  // blended with the form: not compared
                    ++compared;
                    const uint32_t s = shown->Pixel(at.x - window.left + x, at.y - window.top + y);
                    if ((s & 0xFFFFFF) != (p & 0xFFFFFF)) ++differing;
                }
            ui.Click(ui.Find(box, "OK"));
        });
        EXPECT_EQ(MessageDlg("Text", c.kind, {mbOK}), mrOk);
        EXPECT_GT(compared, 300);
        EXPECT_EQ(differing, 0);
        DeleteObject(info.hbmColor);
        DeleteObject(info.hbmMask);
    }
    EXPECT_TRUE(ui.Problems().empty());
}

TEST_F(BoxesTest, TheRealInputBoxReturnsTheTypedTextOrTheDefault) {
    ui.UseStandardDialogs();
    ui.WhenModal([&] {
        ui.Type("secret");
        ui.PressKey(VK_RETURN);
    });
    EXPECT_EQ(InputBox("Convertion:", "Input Password:", "old"), "secret");
    ui.WhenModal([&] {
        ui.Type("typed");
        ui.PressKey(VK_ESCAPE);
    });
    EXPECT_EQ(InputBox("Convertion:", "Input Password:", "old"), "old");
    EXPECT_TRUE(ui.Problems().empty());
}

TEST_F(BoxesTest, ABoxShownInsideAModalLoopKeepsTheLoopRunning) {
    auto* form = new TForm(Application);
    form->SetName("Dialog");
    auto* button = new TButton(form);
    button->SetName("Ask");
    button->SetParent(form);
    String answer;
    button->OnClick = [&](TObject*) {
        answer = MessageDlg("Sure?", mtConfirmation, mbYesNo) == mrYes ? "yes" : "no";
    };
    ui.AnswerNextBox(mrYes);
    ui.WhenModal([&] {
        ui.Click(button);
        form->Close();
    });
    EXPECT_EQ(form->ShowModal(), mrCancel);
    EXPECT_EQ(answer, "yes");
}

}  // namespace
}  // namespace tarvel
