// The one-line edit: event order, key filters, selection, clipboard, undo,
// limits and the standard context menu.

#include <gtest/gtest.h>

#include "platform/classlib/Menus.h"
#include "platform/classlib/StdCtrls.h"
#include "platform/classlib/testing/UiDriver.h"

namespace tarvel {
namespace {

class EditTest : public ::testing::Test {
protected:
    void SetUp() override {
        form = new TForm(Application);
        form->SetName("Main");
        form->SetBounds(100, 100, 300, 200);
        edit = new TEdit(form);
        edit->SetName("Edit");
        edit->SetParent(form);
        edit->SetBounds(10, 10, 200, 21);
        other = new TEdit(form);
        other->SetName("Other");
        other->SetParent(form);
        other->SetBounds(10, 40, 200, 21);
        form->Show();
    }

    TUiDriver ui;
    TForm* form = nullptr;
    TEdit* edit = nullptr;
    TEdit* other = nullptr;
};

// Keys as the tool's handlers see them: Up and Down come as Left and Right;
// Enter reaches OnKeyDown but never OnKeyPress nor the text.
TEST_F(EditTest, KeysReachTheHandlersInTheOrderTheToolRelisOn) {
    struct Case {
        UINT key;
        std::vector<WORD> down;
        std::vector<char16_t> press;
    };
    const Case cases[] = {
        {VK_UP, {VK_LEFT}, {}}, {VK_DOWN, {VK_RIGHT}, {}},     {VK_RETURN, {VK_RETURN}, {}},
        {'A', {'A'}, {u'a'}},   {VK_BACK, {VK_BACK}, {u'\b'}},
    };
    for (const Case& c : cases) {
        std::vector<WORD> down;
        std::vector<char16_t> press;
        edit->OnKeyDown = [&](TObject*, WORD& key, TShiftState) { down.push_back(key); };
        edit->OnKeyPress = [&](TObject*, char16_t& key) { press.push_back(key); };
        ui.Click(edit);
        ui.PressKey(c.key);
        EXPECT_EQ(down, c.down) << c.key;
        EXPECT_EQ(press, c.press) << c.key;
    }
    edit->OnKeyDown = nullptr;
    edit->OnKeyPress = nullptr;
    edit->SetText("ab");
    ui.Click(edit);
    ui.PressKey(VK_RETURN);
    ui.Type("c\r\nd");
    EXPECT_EQ(edit->Text().find_first_of("\r\n"), String::npos) << edit->Text();
}

// The numeric filter of the tool: digits, '.', backspace and Enter pass; a
// blank is dropped silently; anything else is dropped with a complaint.
TEST_F(EditTest, AKeyPressHandlerDropsKeysItRefuses) {
    int complaints = 0;
    edit->OnKeyPress = [&](TObject*, char16_t& key) {
        if (key == u' ') {
            key = 0;
            return;
        }
        const bool ok = (key >= u'0' && key <= u'9') || key == u'.' || key == 8 || key == 13;
        if (!ok) {
            ++complaints;
            key = 0;
        }
    };
    ui.Click(edit);
    ui.Type("12a.3 b4");
    EXPECT_EQ(edit->Text(), "12.34");
    EXPECT_EQ(complaints, 2);
    ui.PressKey(VK_BACK);
    EXPECT_EQ(edit->Text(), "12.3");
}

TEST_F(EditTest, SelectionClipboardAndUndoWorkFromTheKeyboard) {
    ui.Click(edit);
    ui.Type("hello world");
    ui.PressKey(VK_HOME);
    for (int i = 0; i < 5; ++i) ui.PressKey(VK_RIGHT, {ssShift});
    EXPECT_EQ(edit->SelText(), "hello");
    ui.PressKey('C', {ssCtrl});
    EXPECT_EQ(GetClipboardText(), "hello");
    ui.PressKey(VK_END);
    ui.PressKey(VK_INSERT, {ssShift});
    EXPECT_EQ(edit->Text(), "hello worldhello");
    ui.PressKey('Z', {ssCtrl});
    EXPECT_EQ(edit->Text(), "hello world");
    ui.PressKey('Z', {ssCtrl});  // undoing the undo
    EXPECT_EQ(edit->Text(), "hello worldhello");
    ui.PressKey(VK_LEFT, {ssCtrl, ssShift});
    ui.PressKey('X', {ssCtrl});
    EXPECT_EQ(edit->Text(), "hello ");
    EXPECT_EQ(GetClipboardText(), "worldhello");
    ui.PressKey('A', {ssCtrl});
    ui.PressKey(VK_DELETE);
    EXPECT_EQ(edit->Text(), "");
}

TEST_F(EditTest, TheMouseSelectsByDraggingAndWordsByDoubleClicking) {
    edit->SetText("hello world");
    ui.DoubleClick(edit);  // past the end of the text: the last word
    EXPECT_EQ(edit->SelText(), "world");
    ui.AdvanceClock(1000);
    TUiDriver& d = ui;
    const TPoint origin = edit->ClientToScreen(TPoint{0, edit->ClientHeight() / 2});
    d.Backend().MouseMove(TPoint{origin.x + 1, origin.y});
    d.Backend().MouseDown(TPoint{origin.x + 1, origin.y});
    d.Backend().MouseMove(TPoint{origin.x + 150, origin.y});
    d.Backend().MouseUp(TPoint{origin.x + 150, origin.y});
    d.RunUntilIdle();
    EXPECT_EQ(edit->SelText(), "hello world");
}

TEST_F(EditTest, LimitsReadOnlyAndPasswordGuardTheText) {
    edit->SetMaxLength(4);
    ui.Click(edit);
    ui.Type("123456");
    EXPECT_EQ(edit->Text(), "1234");
    SetClipboardText("zz");
    ui.PressKey('V', {ssCtrl});
    EXPECT_EQ(edit->Text(), "1234");
    edit->SetText("program text longer than the limit");  // the program is not limited
    EXPECT_EQ(edit->Text(), "program text longer than the limit");

    edit->SetReadOnly(true);
    edit->SetText("fixed");
    ui.Click(edit);
    ui.Type("x");
    ui.PressKey(VK_BACK);
    ui.PressKey('A', {ssCtrl});
    ui.PressKey('C', {ssCtrl});  // still selectable and copyable
    EXPECT_EQ(edit->Text(), "fixed");
    EXPECT_EQ(GetClipboardText(), "fixed");

    other->SetPasswordChar(u'*');
    ui.Click(other);
    ui.Type("secret");
    ui.PressKey('A', {ssCtrl});
    ui.PressKey('C', {ssCtrl});
    EXPECT_EQ(other->Text(), "secret");
    EXPECT_EQ(GetClipboardText(), "fixed");  // a password is never copied
}

TEST_F(EditTest, OnChangeFollowsUserAndProgramChangesAndFocusByKeyboardSelectsAll) {
    std::vector<String> seen;
    other->OnChange = [&](TObject*) { seen.push_back(other->Text()); };
    other->SetText("7");
    ui.Click(edit);
    ui.PressKey(VK_TAB);
    EXPECT_EQ(ui.FocusedControl(), other);
    EXPECT_EQ(other->SelText(), "7");
    ui.Type("42");
    EXPECT_EQ(seen, (std::vector<String>{"7", "4", "42"}));
    other->SetText("42");  // the same text is no change
    EXPECT_EQ(seen.size(), 3u);
}

TEST_F(EditTest, EditMessagesWorkOnTheWindow) {
    edit->SetText("abcdef");
    HWND h = edit->Handle();
    SendMessage(h, EM_SETSEL, 1, 3);
    int start = 0, end = 0;
    SendMessage(h, EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
    EXPECT_EQ(start, 1);
    EXPECT_EQ(end, 3);
    SendMessage(h, EM_REPLACESEL, 1, reinterpret_cast<LPARAM>("XY"));
    EXPECT_EQ(GetWindowText(h), "aXYdef");
    EXPECT_TRUE(SendMessage(h, EM_CANUNDO, 0, 0));
    SendMessage(h, EM_UNDO, 0, 0);
    EXPECT_EQ(edit->Text(), "abcdef");
    SendMessage(h, EM_SETREADONLY, 1, 0);
    EXPECT_TRUE(edit->ReadOnly());
    EXPECT_TRUE(GetWindowLongPtr(h, GWL_STYLE) & ES_READONLY);
}

TEST_F(EditTest, AlignmentPlacesTheTextAndTheColourMessageChoosesTheBackground) {
    edit->SetText("ab");
    edit->SetColor(clYellow);
    ui.Click(other);  // no caret in the edit measured
    int firstInk[3] = {};
    const TAlignment aligns[] = {taLeftJustify, taCenter, taRightJustify};
    for (int i = 0; i < 3; ++i) {
        edit->SetAlignment(aligns[i]);
        edit->Repaint();
        ui.RunUntilIdle();
        HDC dc = GetDC(edit->Handle());
        firstInk[i] = -1;
        const int y = edit->ClientHeight() / 2;
        for (int x = 0; x < edit->ClientWidth() && firstInk[i] < 0; ++x)
            for (int dy = -4; dy <= 4; ++dy)
                if (GetPixel(dc, x, y + dy) != ColorToColorRef(clYellow)) {
                    firstInk[i] = x;
                    break;
                }
        ReleaseDC(edit->Handle(), dc);
    }
    EXPECT_GE(firstInk[0], 0);
    EXPECT_LT(firstInk[0], firstInk[1]);
    EXPECT_LT(firstInk[1], firstInk[2]);
}

TEST_F(EditTest, TheStandardContextMenuPastes) {
    SetClipboardText("pasted");
    ui.WhenModal([&] {
        for (int i = 0; i < 4; ++i) ui.PressKey(VK_DOWN);  // Undo, Cut, Copy, Paste
        ui.PressKey(VK_RETURN);
    });
    ui.RightClick(edit);
    EXPECT_EQ(edit->Text(), "pasted");
    for (const String& p : ui.Problems()) ADD_FAILURE() << p;
}

}  // namespace
}  // namespace tarvel
