// The skinned message and input boxes: their layout in dialog units, the
// default and cancel buttons of each button set, and boxes answered through
// the UI driver on real forms.

#include <gtest/gtest.h>

#include <filesystem>

#include "platform/classlib/testing/UiDriver.h"
#include "skin/controls/te_controls_button.h"
#include "skin/core/te_engine.h"
#include "skin/core/te_forms.h"
#include "skin/core/te_theme_api.h"
#include "skin/extras/te_dialogs_msgbox.h"
#include "skin/forms/te_forms_resources.h"
#include "skin/themes/theme_flat.h"

namespace tarvel {
namespace {

class MessageBoxTest : public ::testing::Test {
protected:
    void SetUp() override {
        InitThemeCore();
        InitThemeFlat();
        InitControlBases();
        InitForms();
        Application->SetTitle("Tarvel");
        comp_ = new TTeMessage(Application);
    }
    void TearDown() override {
        delete comp_;
        ui_.RunUntilIdle();
        DoneForms();
        DoneControlBases();
        DoneButtonGlyphs();
        DoneThemeCore();
    }

    std::unique_ptr<TForm> Box(const char* text, TMsgDlgType type, TMsgDlgButtons buttons) {
        return std::unique_ptr<TForm>(comp_->CreateMessageDialog(Utf8ToWide(text), type, buttons));
    }
    TTeButton* Button(TForm* form, const char* name) {
        return dynamic_cast<TTeButton*>(form->FindComponent(name));
    }

    TUiDriver ui_;
    TTeMessage* comp_ = nullptr;
};

TEST_F(MessageBoxTest, EachButtonSetChoosesItsDefaultAndCancelButtons) {
    struct Case {
        TMsgDlgButtons buttons;
        const char* defaultButton;
        const char* cancelButton;  // "": no button cancels
        std::vector<const char*> order;
    };
    const Case cases[] = {
        {{mbYes, mbNo, mbCancel}, "Yes", "Cancel", {"Yes", "No", "Cancel"}},
        {{mbAbort, mbRetry, mbIgnore}, "Retry", "", {"Abort", "Retry", "Ignore"}},
        {{mbOK, mbCancel}, "OK", "Cancel", {"OK", "Cancel"}},
        {{mbYes, mbNo}, "Yes", "No", {"Yes", "No"}},
        {{mbOK}, "OK", "OK", {"OK"}},
        {{mbYesToAll, mbNoToAll, mbYes, mbNo, mbHelp},
         "Yes",
         "No",
         {"Yes", "No", "NoToAll", "YesToAll", "Help"}},
    };
    for (const Case& c : cases) {
        auto form = Box("Go on?", mtConfirmation, c.buttons);
        int lastRight = 0;
        for (const char* name : c.order) {
            TTeButton* b = Button(form.get(), name);
            ASSERT_NE(b, nullptr) << name;
            EXPECT_EQ(b->Default(), std::string(name) == c.defaultButton) << name;
            EXPECT_EQ(b->Cancel(), std::string(name) == c.cancelButton) << name;
            EXPECT_GT(b->Left(), lastRight) << name << ": the buttons stand in the table's order";
            lastRight = b->Left() + b->Width() - 1;
        }
    }
    auto form = Box("", mtConfirmation, {mbYesToAll, mbNoToAll});
    EXPECT_EQ(Button(form.get(), "YesToAll")->ModalResult(), mrYesToAll);
    EXPECT_EQ(Button(form.get(), "NoToAll")->ModalResult(), mrNoToAll);
}

TEST_F(MessageBoxTest, TheLayoutFollowsTheDialogUnitsOfTheFonts) {
    comp_->ButtonFont()->SetSize(10);
    comp_->MessageFont()->SetSize(9);
    const TTeDialogUnits du = TTeDialogUnits::Of(comp_->ButtonFont());
    ASSERT_GT(du.cx, 0);
    struct Case {
        const char* text;
        TMsgDlgType type;
        TMsgDlgButtons buttons;
        bool icon;
    };
    const Case cases[] = {
        {"Short", mtWarning, {mbOK}, true},
        {"Two\nlines of text", mtError, {mbYes, mbNo, mbCancel}, true},
        {"No icon", mtCustom, {mbAbort, mbRetry, mbIgnore}, false},
        {"A box without buttons at all", mtInformation, {}, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        auto form = Box(c.text, c.type, c.buttons);
        const TSize text = MeasureText(comp_->MessageFont(), c.text, Screen->Width() / 2, false);
        auto* label = dynamic_cast<TLabel*>(form->FindComponent("Message"));
        ASSERT_NE(label, nullptr);
        EXPECT_EQ(label->Top(), du.Y(15));
        EXPECT_EQ((TSize{label->Width(), label->Height()}), text);
        auto* icon = dynamic_cast<TTeMessageIcon*>(form->FindComponent("Image"));
        EXPECT_EQ(icon != nullptr, c.icon);
        const int iconWidth = c.icon ? 32 + du.X(10) : 0;
        const int contentHeight = c.icon ? std::max(text.cy, 32) : text.cy;
        if (icon) {
            EXPECT_EQ(icon->BoundsRect(), (TRect{du.X(30), du.Y(15), du.X(30) + 32, du.Y(15) + 32}));
            EXPECT_EQ(icon->IconId(), MessageIconId(c.type));
        }
        EXPECT_EQ(label->Left(), du.X(30) + iconWidth);
        int count = 0, left = -1, right = 0;
        for (const char* name : {"Yes", "No", "OK", "Cancel", "Abort", "Retry", "Ignore"}) {
            TTeButton* b = Button(form.get(), name);
            if (!b) continue;
            ++count;
            EXPECT_GE(b->Width(), du.X(50));
            EXPECT_EQ(b->Height(), du.Y(14));
            EXPECT_EQ(b->Top(), contentHeight + du.Y(15) + du.Y(10));
            if (left < 0) {
                left = b->Left();
            } else {
                EXPECT_EQ(b->Left(), right + du.X(4));
            }
            right = b->Left() + b->Width();
        }
        const int group = count == 0 ? 0 : right - left;
        EXPECT_EQ(form->ClientWidth(), std::max(iconWidth + text.cx, group) + 2 * du.X(30));
        EXPECT_EQ(form->ClientHeight(), contentHeight + du.Y(14) + du.Y(10) + 2 * du.Y(15));
        if (count) {
            EXPECT_EQ(left, (form->ClientWidth() - group) / 2);
        }
        EXPECT_EQ(form->Left(), Screen->Width() / 2 - form->Width() / 2);
        EXPECT_EQ(form->Top(), Screen->Height() / 2 - form->Height() / 2);
    }
}

TEST_F(MessageBoxTest, LongTextWrapsAtHalfTheScreenAndWideCaptionsWidenTheButtons) {
    std::string text;
    for (int i = 0; i < 60; ++i) text += "battery ";
    auto form = Box(text.c_str(), mtInformation, {mbOK});
    auto* label = dynamic_cast<TLabel*>(form->FindComponent("Message"));
    EXPECT_LE(label->Width(), Screen->Width() / 2);
    EXPECT_GT(label->Width(), Screen->Width() / 3);
    EXPECT_GT(label->Height(), 2 * MeasureText(comp_->MessageFont(), "b", 0, false).cy);

    // A larger button font later still fits "Yes to All": widths are measured per box.
    auto small = Box("x", mtCustom, {mbYesToAll});
    comp_->ButtonFont()->SetSize(28);
    auto large = Box("x", mtCustom, {mbYesToAll});
    const int need = MeasureText(comp_->ButtonFont(), "Yes to &All", 0, true).cx + 8;
    EXPECT_GE(Button(large.get(), "YesToAll")->Width(), need);
    EXPECT_GT(Button(large.get(), "YesToAll")->Width(), Button(small.get(), "YesToAll")->Width());
}

TEST_F(MessageBoxTest, TheDriverAnswersTheSkinnedBoxesOnTheirForms) {
    ui_.AnswerNextBox(mrNo);
    EXPECT_EQ(QvMessageDlg(comp_, u"Save the log?", mtConfirmation, {mbYes, mbNo, mbCancel}), mrNo);
    ui_.AnswerNextBox(mrYesToAll);
    EXPECT_EQ(QvMessageDlg(comp_, u"Replace?", mtWarning, {mbYes, mbYesToAll}), mrYesToAll);
    QvShowMessage(comp_, u"Done");  // nothing scripted: closed with its cancel button
    ASSERT_EQ(ui_.Boxes().size(), 3u);
    EXPECT_EQ(ui_.Boxes()[0].caption, "Confirm");
    EXPECT_EQ(ui_.Boxes()[0].text, "Save the log?");
    EXPECT_TRUE(ui_.Boxes()[1].scripted);
    EXPECT_EQ(ui_.Boxes()[2].caption, "Tarvel");
    EXPECT_EQ(ui_.Boxes()[2].answer, mrOk);

    struct Case {
        std::optional<String> answer;
        WideString expected;
    };
    const Case cases[] = {
        {String("42.5"), u"42.5"},
        {std::nullopt, u"3.7"},
        {String(""), u""},
        {String(300, 'v'), WideString(255, u'v')},
    };
    for (const Case& c : cases) {
        ui_.AnswerNextInput(c.answer);
        EXPECT_EQ(QvInputBox(comp_, u"Convertion:", u"Cell voltage", u"3.7"), c.expected);
    }
    ASSERT_EQ(ui_.Inputs().size(), 4u);
    EXPECT_EQ(ui_.Inputs()[0].caption, "Convertion:");
    EXPECT_EQ(ui_.Inputs()[0].prompt, "Cell voltage");
    EXPECT_EQ(ui_.Inputs()[0].value, "3.7");
    EXPECT_TRUE(ui_.Problems().empty()) << ui_.Problems().front();
}

TEST_F(MessageBoxTest, FormattedMessagesFillTheirHolesByTypeAndNeverReadPercentSigns) {
    const WideString wide = u"Zelle \u00e4";
    struct Case {
        WideString got;
        WideString expected;
    } const cases[] = {
        {FormatMessageText("Cell {} at {} V", 7, 3.25), u"Cell 7 at 3.25 V"},
        {FormatMessageText("{}{}", String("%s%n"), "%d"), u"%s%n%d"},  // arguments are text, never directives
        {FormatMessageText("100% of {}", wide), u"100% of Zelle \u00e4"},
        {FormatMessageText("{} {} {}", -1, 4000000000u), u"-1 4000000000 {}"},  // a hole without argument
        {FormatMessageText("{{}} {}", true, "surplus"), u"{}} True"},
        {FormatMessageText("{"), u"{"},
    };
    for (const Case& c : cases) EXPECT_EQ(c.got, c.expected) << WideToUtf8(c.got);

    QvShowMessageFmt(comp_, "Port {} failed: {}", "/dev/ttyUSB0", String("50% {} %s"));
    ASSERT_EQ(ui_.Boxes().size(), 1u);
    EXPECT_EQ(ui_.Boxes()[0].text, "Port /dev/ttyUSB0 failed: 50% {} %s");
}

TEST_F(MessageBoxTest, BoxesInTheFlatThemeAreSavedAsPictures) {
    ChangeTheme("Flat");
    const std::filesystem::path folder = std::filesystem::path(TARVEL_BINARY_DIR) / "gallery";
    std::filesystem::create_directories(folder);
    struct Shot {
        std::filesystem::path file;
        bool saved = false;
    };
    Shot box{folder / "msgbox_flat.png"}, input{folder / "inputbox_flat.png"};
    ui_.WhenModal([&] {
        box.saved = ui_.SaveScreenshot(ui_.ModalForm(), box.file.string());
        ui_.Click(ui_.ModalForm(), "No");
    });
    QvMessageDlg(comp_, u"The module reports a cell over its voltage limit. Stop charging now?", mtWarning,
                 {mbYes, mbNo, mbCancel});
    ui_.WhenModal([&] {
        input.saved = ui_.SaveScreenshot(ui_.ModalForm(), input.file.string());
        ui_.Click(ui_.ModalForm(), "Cancel");
    });
    EXPECT_EQ(QvInputBox(comp_, u"Password", u"Input Password:", u"secret"), u"secret");
    EXPECT_TRUE(box.saved) << box.file;
    EXPECT_TRUE(input.saved) << input.file;
    ChangeTheme(static_cast<TteTheme*>(nullptr));
}

TEST_F(MessageBoxTest, TheGlobalComponentIsMadeWhenMissingAndHandedOver) {
    TTeMessage* made = GlobalMsgComp();
    ASSERT_NE(made, nullptr);
    EXPECT_EQ(GlobalMsgComp(), made);
    comp_->SetGlobal(true);  // frees the one made
    EXPECT_EQ(GlobalMsgComp(), comp_);
    delete comp_;
    comp_ = nullptr;
    TTeMessage* again = GlobalMsgComp();
    EXPECT_NE(again, nullptr);
    delete again;
}

}  // namespace
}  // namespace tarvel
