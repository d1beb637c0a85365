// Dialog keys: Enter and Escape, Tab order, "&" accelerators, key preview.

#include <gtest/gtest.h>

#include "platform/classlib/StdCtrls.h"
#include "platform/classlib/testing/UiDriver.h"

namespace tarvel {
namespace {

class DialogKeysTest : public ::testing::Test {
protected:
    void SetUp() override {
        form = new TForm(Application);
        form->SetName("Dialog");
        form->SetBounds(100, 100, 320, 160);
        name = AddEdit("NameEdit", 10);
        note = AddEdit("NoteEdit", 40);
        ok = AddButton("OkButton", "&Save", 10);
        ok->SetDefault(true);
        cancel = AddButton("CancelButton", "Cancel", 100);
        cancel->SetCancel(true);
        other = AddButton("OtherButton", "&Other", 190);
        for (TButton* b : {ok, cancel, other})
            b->OnClick = [this](TObject* s) { clicked.push_back(static_cast<TControl*>(s)->Name()); };
        auto* label = new TLabel(form);
        label->SetName("NoteLabel");
        label->SetParent(form);
        label->SetCaption("&Note:");
        label->SetBounds(200, 44, 40, 17);
        label->SetFocusControl(note);
    }

    TEdit* AddEdit(const char* n, int y) {
        auto* e = new TEdit(form);
        e->SetName(n);
        e->SetParent(form);
        e->SetBounds(10, y, 150, 21);
        return e;
    }

    TButton* AddButton(const char* n, const char* caption, int x) {
        auto* b = new TButton(form);
        b->SetName(n);
        b->SetParent(form);
        b->SetCaption(caption);
        b->SetBounds(x, 100, 80, 25);
        return b;
    }

    TUiDriver ui;
    TForm* form = nullptr;
    TEdit* name = nullptr;
    TEdit* note = nullptr;
    TButton* ok = nullptr;
    TButton* cancel = nullptr;
    TButton* other = nullptr;
    std::vector<String> clicked;
};

TEST_F(DialogKeysTest, EnterClicksTheDefaultButtonAndEscapeTheCancelButton) {
    form->Show();
    ui.Click(name);
    ui.PressKey(VK_RETURN);
    ui.PressKey(VK_ESCAPE);
    EXPECT_EQ(clicked, (std::vector<String>{"OkButton", "CancelButton"}));
    EXPECT_EQ(ui.FocusedControl(), name);

    // A focused button takes Enter for itself; with modifiers Enter is no dialog key.
    ui.Click(other);
    clicked.clear();
    ui.PressKey(VK_RETURN);
    ui.Click(name);
    ui.PressKey(VK_RETURN, {ssCtrl});
    EXPECT_EQ(clicked, std::vector<String>{"OtherButton"});
}

TEST_F(DialogKeysTest, EnterAndEscapeEndAModalDialogThroughItsButtons) {
    ok->SetModalResult(mrOk);
    cancel->SetModalResult(mrCancel);
    ui.WhenModal([&] { ui.PressKey(VK_RETURN); });
    EXPECT_EQ(form->ShowModal(), mrOk);
    ui.WhenModal([&] { ui.PressKey(VK_ESCAPE); });
    EXPECT_EQ(form->ShowModal(), mrCancel);
    EXPECT_TRUE(ui.Problems().empty());
}

TEST_F(DialogKeysTest, TabFollowsTheTabOrderAndSkipsWhatCannotTakeTheFocus) {
    other->SetEnabled(false);
    note->SetTabOrder(0);
    form->Show();
    ui.RunUntilIdle();
    EXPECT_EQ(ui.FocusedControl(), note);  // the first in tab order gets the focus
    std::vector<String> order;
    for (int i = 0; i < 4; ++i) {
        ui.PressKey(VK_TAB);
        order.push_back(ui.FocusedControl()->Name());
    }
    EXPECT_EQ(order, (std::vector<String>{"NameEdit", "OkButton", "CancelButton", "NoteEdit"}));
    ui.PressKey(VK_TAB, {ssShift});
    EXPECT_EQ(ui.FocusedControl(), cancel);
}

TEST_F(DialogKeysTest, AcceleratorsClickButtonsAndFocusALabelsControl) {
    form->Show();
    ui.Click(name);
    ui.PressKey('S', {ssAlt});
    EXPECT_EQ(clicked, std::vector<String>{"OkButton"});
    ui.PressKey('N', {ssAlt});
    EXPECT_EQ(ui.FocusedControl(), note);

    // Typed into an edit, a letter is text; on a button it is an accelerator.
    ui.Type("o");
    EXPECT_EQ(ui.Text(note), "o");
    EXPECT_EQ(clicked.size(), 1u);
    ui.Click(cancel);
    clicked.clear();
    ui.Type("o");
    EXPECT_EQ(clicked, std::vector<String>{"OtherButton"});
}

TEST_F(DialogKeysTest, KeyPreviewLetsTheFormSeeAndEatKeysFirst) {
    std::vector<String> seen;
    form->SetKeyPreview(true);
    form->OnKeyDown = [&](TObject*, WORD& key, TShiftState) {
        seen.push_back("form " + IntToStr(key));
        if (key == VK_F4) key = 0;
    };
    name->OnKeyDown = [&](TObject*, WORD& key, TShiftState) { seen.push_back("edit " + IntToStr(key)); };
    form->Show();
    ui.Click(name);
    ui.PressKey(VK_F1);
    ui.PressKey(VK_F4);
    EXPECT_EQ(seen, (std::vector<String>{"form 112", "edit 112", "form 115"}));
}

}  // namespace
}  // namespace tarvel
