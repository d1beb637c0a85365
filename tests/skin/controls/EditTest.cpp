#include <random>
#include <set>

#include "platform/classlib/StdCtrls_Edit.h"
#include "platform/winsys/Backend.h"
#include "platform/winsys/InputApi.h"
#include "tests/skin/controls/EditFixture.h"

namespace tarvel::testing {
namespace {

// Caret and selection after keys pressed in "one two three" with the caret
// at its end.
TEST_F(EditTest, KeysMoveCaretAndSelectionAsTheTableSays) {
    struct Case {
        const char* name;
        std::vector<std::pair<UINT, TShiftState>> keys;
        int caret, selStart, selLength;
        const char* text;
    } cases[] = {
        {"Home", {{VK_HOME, {}}}, 0, 0, 0, "one two three"},
        {"Ctrl+Left to the word start", {{VK_LEFT, {ssCtrl}}}, 8, 8, 0, "one two three"},
        {"Ctrl+Right from the start", {{VK_HOME, {}}, {VK_RIGHT, {ssCtrl}}}, 4, 4, 0, "one two three"},
        {"Shift+Left twice selects two",
         {{VK_LEFT, {ssShift}}, {VK_LEFT, {ssShift}}},
         11,
         11,
         2,
         "one two three"},
        {"Shift+Home selects all", {{VK_HOME, {ssShift}}}, 0, 0, 13, "one two three"},
        {"a plain move ends the selection", {{VK_HOME, {ssShift}}, {VK_RIGHT, {}}}, 1, 1, 0, "one two three"},
        {"Backspace at 0 does nothing", {{VK_HOME, {}}, {VK_BACK, {}}}, 0, 0, 0, "one two three"},
        {"Delete at the end does nothing", {{VK_DELETE, {}}}, 13, 13, 0, "one two three"},
        {"Backspace", {{VK_BACK, {}}}, 12, 12, 0, "one two thre"},
        {"Delete deletes the selection",
         {{VK_LEFT, {ssShift}}, {VK_LEFT, {ssShift}}, {VK_DELETE, {}}},
         11,
         11,
         0,
         "one two thr"},
        {"Up and Down are not handled", {{VK_UP, {}}, {VK_DOWN, {}}}, 13, 13, 0, "one two three"},
        {"Ctrl+A selects all", {{VK_HOME, {}}, {'A', {ssCtrl}}}, 13, 0, 13, "one two three"},
        {"Ctrl+Shift+A is no select-all",
         {{VK_HOME, {}}, {'A', {ssCtrl, ssShift}}},
         0,
         0,
         0,
         "one two three"},
        {"typing over Ctrl+A replaces all", {{'A', {ssCtrl}}, {VK_BACK, {}}}, 0, 0, 0, ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        TTeEdit* e = Focused("one two three");
        for (auto [k, s] : c.keys) Ui().PressKey(k, s);
        EXPECT_EQ(e->CaretPos(), c.caret);
        EXPECT_EQ(e->SelStart(), c.selStart);
        EXPECT_EQ(e->SelLength(), c.selLength);
        EXPECT_EQ(e->GetText(), c.text);
        delete e;
    }
}

TEST_F(EditTest, SelectingThenTypingLeavesTheCaretAfterTheNewCharacter) {
    TTeEdit* e = Focused("abcdef");
    Keys({VK_HOME});
    Keys({VK_RIGHT, VK_RIGHT}, {ssShift});
    Ui().Type("X");
    EXPECT_EQ(e->GetText(), "Xcdef");
    EXPECT_EQ(e->CaretPos(), 1);
    EXPECT_EQ(e->SelLength(), 0);
}

TEST_F(EditTest, ClipboardKeysMatchLettersOnlyAndSkipPasswords) {
    struct Case {
        const char* name;
        UINT key;
        TShiftState shift;
        TPasswordKind password;
        const char* clipboardAfter;
        const char* textAfter;
    } cases[] = {
        {"Ctrl+C copies", 'C', {ssCtrl}, pkNone, "two", "one two"},
        {"Ctrl+X cuts", 'X', {ssCtrl}, pkNone, "two", "one "},
        {"Ctrl+Insert copies", VK_INSERT, {ssCtrl}, pkNone, "two", "one two"},
        {"Ctrl+NumPad3 is no copy", 0x63, {ssCtrl}, pkNone, "old", "one two"},
        {"Ctrl+F9 is no cut", 0x78, {ssCtrl}, pkNone, "old", "one two"},
        {"Ctrl+Shift+C is no copy", 'C', {ssCtrl, ssShift}, pkNone, "old", "one two"},
        {"a password copies nothing", 'C', {ssCtrl}, pkCircle, "old", "one two"},
        {"a password cut only deletes", 'X', {ssCtrl}, pkRect, "old", "one "},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Clipboard().SetAsText("old");
        TTeEdit* e = Focused("one two");
        e->SetPasswordKind(c.password);
        Keys({VK_LEFT, VK_LEFT, VK_LEFT}, {ssShift});
        Ui().PressKey(c.key, c.shift);
        EXPECT_EQ(Clipboard().AsText(), c.clipboardAfter);
        EXPECT_EQ(e->GetText(), c.textAfter);
        delete e;
    }
}

TEST_F(EditTest, PasteTakesTheFirstLineAndCountsAgainstMaxLength) {
    struct Case {
        const char* clip;
        int maxLength;
        const char* want;
    } cases[] = {
        {"12\r\n34", 0, "ab12"}, {"12\n34", 0, "ab12"},
        {"\r\nrest", 0, "ab"},   {"1234", 4, "ab"},  // too long: refused whole
        {"12", 4, "ab12"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.clip);
        TTeEdit* e = Focused("ab");
        e->SetMaxLength(c.maxLength);
        Clipboard().SetAsText(c.clip);
        Ui().PressKey('V', {ssCtrl});
        EXPECT_EQ(e->GetText(), c.want);
        Ui().PressKey(VK_INSERT, {ssShift});
        delete e;
    }
}

TEST_F(EditTest, ReadOnlyRefusesEveryChangeButCopy) {
    TTeEdit* e = Focused("fixed");
    e->SetReadOnly(true);
    Clipboard().SetAsText("zz");
    Ui().Type("abc");
    Keys({VK_BACK, VK_DELETE});
    Ui().PressKey('V', {ssCtrl});
    Keys({VK_HOME});
    Keys({VK_END}, {ssShift});
    Ui().PressKey('X', {ssCtrl});
    Ui().PressKey('Z', {ssCtrl});
    EXPECT_EQ(e->GetText(), "fixed");
    EXPECT_EQ(Clipboard().AsText(), "fixed");
    e->UpdatePopupMenuItems();
    EXPECT_FALSE(e->ContextMenuItem(u"Undo")->Enabled());
    EXPECT_FALSE(e->ContextMenuItem(u"Cut")->Enabled());
    EXPECT_TRUE(e->ContextMenuItem(u"Copy")->Enabled());
}

TEST_F(EditTest, TextInputInsertsPairsWholeAndDropsLineBreaks) {
    TTeEdit* e = Focused("");
    // As the window system's text input hands them over: UTF-16 units one
    // message each.
    Ui().Type("中文");
    Ui().Type("\xF0\x9F\x98\x80");  // one character outside the basic plane
    Ui().Type("a\r\nb");
    EXPECT_EQ(e->GetText(),
              "中文\xF0\x9F\x98\x80"
              "ab");
    EXPECT_EQ(e->CaretPos(), 6);
    Keys({VK_LEFT, VK_LEFT, VK_LEFT});  // over "b", "a", then the whole pair
    EXPECT_EQ(e->CaretPos(), 2);
    Keys({VK_RIGHT}, {ssShift});
    EXPECT_EQ(e->SelLength(), 2);
    Keys({VK_BACK});
    EXPECT_EQ(e->GetText(), "中文ab");
    EXPECT_TRUE(e->UnDo());
    EXPECT_EQ(e->GetText(),
              "中文\xF0\x9F\x98\x80"
              "ab");
}

TEST_F(EditTest, PositionsSetFromOutsideAreClamped) {
    TTeEdit* e = Focused("abc");
    e->SetSelStart(99);
    e->SetSelLength(99);
    EXPECT_EQ(e->SelStart(), 3);
    EXPECT_EQ(e->SelLength(), 0);
    e->SetSelStart(-5);
    e->SetSelLength(1000);
    EXPECT_EQ(e->SelText(), u"abc");
    e->SetCaretPosition(-1);
    EXPECT_EQ(e->CaretPos(), 0);
    e->DeleteFrom(50, 10, true);
    e->DeleteFrom(-3, -4, true);
    e->InsertAfter(99, u"d", true);
    EXPECT_EQ(e->GetText(), "abcd");
    e->SetMaxLength(2);  // already longer: the undo insertion has no room
    e->InsertAfter(0, u"zz", true);
    EXPECT_EQ(e->GetText(), "abcd");
}

TEST_F(EditTest, FocusSelectsAllAndAClickPlacesTheCaret) {
    TTeEdit* other = Make(10, 60);
    TTeEdit* e = Make(10, 10, 200);
    e->SetText("hello world");
    other->SetFocus();
    Ui().RunUntilIdle();
    Ui().ClickAt(e, TPoint{e->GetCharX(5) + 1, 10});
    EXPECT_EQ(e->SelLength(), 0);
    EXPECT_EQ(e->CaretPos(), 5);
    other->SetFocus();
    Ui().RunUntilIdle();
    e->SetFocus();
    Ui().RunUntilIdle();
    EXPECT_EQ(e->SelText(), u"hello world");
    TPoint caret;
    ASSERT_TRUE(GetCaretPos(caret));
    Ui().DoubleClick(e);
    EXPECT_EQ(e->SelText(), u"world");
}

TEST_F(EditTest, DraggingSelectsFromWhereTheButtonWentDown) {
    TTeEdit* e = Make(10, 10, 200);
    e->SetText("abcdefghij");
    const TRect r = e->GetEditRect();
    Ui().Drag(e, TPoint{r.left + 1, 8}, TPoint{e->GetCharX(5) + 1, 8});
    EXPECT_EQ(e->SelStart(), 0);
    EXPECT_EQ(e->SelLength(), 5);
    Ui().Type("Z");
    EXPECT_EQ(e->GetText(), "Zfghij");
    EXPECT_EQ(e->CaretPos(), 1);
}

TEST_F(EditTest, LongTextScrollsToKeepTheCaretInView) {
    TTeEdit* e = Focused(String(200, 'm'), 80);
    const TRect r = e->GetEditRect();
    EXPECT_GT(e->FirstVisibleChar(), 1);
    EXPECT_LE(e->GetCharX(e->CaretPos()), r.right);
    Keys({VK_HOME});
    EXPECT_EQ(e->FirstVisibleChar(), 1);
    Keys({VK_END});
    const int first = e->FirstVisibleChar();
    e->SetCaretPosition(first - 5);
    // One character left of the caret stays in view.
    EXPECT_EQ(e->FirstVisibleChar(), first - 5);
    const int caretX = e->GetCharX(first - 5);
    EXPECT_EQ(caretX - r.left, e->GetCharX(first - 4) - caretX) << "one 'm' left of the caret";
}

TEST_F(EditTest, ContextMenuFromTheKeyboardOpensAtTheCaret) {
    TTeEdit* e = Focused("abc");
    const TPoint keyboard = e->ContextMenuPoint(static_cast<LPARAM>(0xFFFFFFFF));
    const TPoint caret = e->ClientToScreen(TPoint{e->GetCharX(3), e->GetEditRect().bottom});
    EXPECT_EQ(keyboard, caret);
    // A monitor left of the primary one has negative coordinates.
    const LPARAM negative =
        (static_cast<LPARAM>(static_cast<uint16_t>(-20)) << 16) | static_cast<uint16_t>(-300);
    EXPECT_EQ(e->ContextMenuPoint(negative), (TPoint{-300, -20}));
    bool opened = false;
    Ui().WhenModal([&] {
        opened = ActiveMenuWindow() != nullptr && ActivePopupMenu == e->ContextMenu();
        Ui().PressKey(VK_ESCAPE);
    });
    e->Perform(WM_CONTEXTMENU, 0, static_cast<LPARAM>(0xFFFFFFFF));
    EXPECT_TRUE(opened);
}

TEST_F(EditTest, TheContextMenuIsTheSkinsMenuWithTheEditsOptions) {
    TTeEdit* e = Focused("one two");
    EXPECT_FALSE(e->PopupMenuBlend());
    EXPECT_EQ(e->PopupMenuBlendValue(), 150);
    EXPECT_FALSE(e->PopupMenuDropShadow());
    EXPECT_EQ(e->PopupMenuShadowWidth(), 4);
    EXPECT_EQ(e->PopupMenuShowAnimation(), nullptr);
    EXPECT_EQ(e->PopupMenuShowAnimationTime(), 300);
    TTePopupMenuOptions look;
    look.Blending()->SetEnabled(true);
    look.Blending()->SetValue(180);
    look.Shadow()->SetEnabled(false);
    e->SetContextMenuOptions(&look);
    look.Blending()->SetValue(10);
    EXPECT_EQ(e->ContextMenuOptions()->Blending()->Value(), 180) << "assigned, not shared";

    // Opened from the keyboard; Up and Enter choose "Select All".
    TTePopupMenuOptions* seen = nullptr;
    int blend = 0;
    bool shadow = true;
    Ui().WhenModal([&] {
        seen = e->ContextMenu()->PopupMenuOptions();
        blend = seen->Blending()->Value();
        shadow = seen->Shadow()->Enabled();
        Ui().PressKey(VK_UP);
        Ui().PressKey(VK_RETURN);
    });
    e->Perform(WM_CONTEXTMENU, 0, static_cast<LPARAM>(0xFFFFFFFF));
    Ui().RunUntilIdle();
    ASSERT_NE(seen, nullptr) << "the skinned menu did not open";
    EXPECT_EQ(blend, 180);
    EXPECT_FALSE(shadow);
    EXPECT_EQ(e->SelLength(), 7) << "Select All was clicked";
    EXPECT_TRUE(Ui().Problems().empty());
}

TEST_F(EditTest, AnInputMethodsCompositionShowsAtTheCaretAndIsEnteredOnce) {
    TTeEdit* e = Focused("ab");
    Keys({VK_LEFT});
    // Pinyin typed: the pre-edit text grows at the caret, the text stays.
    for (const char16_t* preEdit : {u"z", u"zh", u"zhong"}) {
        QueueComposition(preEdit, static_cast<int>(std::u16string_view(preEdit).size()));
        Ui().RunUntilIdle();
        EXPECT_EQ(e->CompositionText(), preEdit);
        EXPECT_EQ(e->GetText(), "ab");
    }
    EXPECT_EQ(e->CompositionCursor(), 5);
    TPoint caret;
    ASSERT_TRUE(GetCaretPos(caret));
    EXPECT_GT(caret.x, e->GetCharX(1) + 10) << "the caret stands after the pre-edit text";
    // The composition is drawn over the text at the caret.
    const int x = e->GetCharX(1);
    const uint32_t underline = ShownAt(e, x + 3, e->GetEditRect().bottom - 1);
    EXPECT_NE(underline, ShownAt(e, x + 3, e->GetEditRect().bottom - 2));

    QueueCompositionResult(u"中");
    Ui().RunUntilIdle();
    EXPECT_EQ(e->GetText(), "a中b") << "entered once";
    EXPECT_TRUE(e->CompositionText().empty());
    EXPECT_EQ(e->CaretPos(), 2);
    EXPECT_TRUE(e->UnDo());
    EXPECT_EQ(e->GetText(), "ab");

    // Given up: nothing is entered and the pre-edit text goes.
    QueueComposition(u"wen", 3);
    QueueComposition(u"", 0);
    Ui().RunUntilIdle();
    EXPECT_EQ(e->GetText(), "ab");
    EXPECT_TRUE(e->CompositionText().empty());
    delete e;
}

TEST_F(EditTest, AWindowThatDoesNotReadTheCompositionGetsItsResultAsCharacters) {
    auto* plain = new TEdit(Form());
    plain->SetParent(Form());
    plain->SetFocus();
    Ui().RunUntilIdle();
    QueueComposition(u"ni", 2);
    QueueCompositionResult(u"你好");
    Ui().RunUntilIdle();
    EXPECT_EQ(plain->GetText(), "你好");
    delete plain;
}

TEST_F(EditTest, ContextMenuEnablingFollowsTheEditState) {
    struct Case {
        const char* name;
        bool select, typed, password, readOnly;
        const char* clip;
        // Undo, Cut, Copy, Paste, Delete, Select All
        std::array<bool, 6> enabled;
    } cases[] = {
        {"nothing selected", false, false, false, false, "", {false, false, false, false, false, true}},
        {"a selection", true, false, false, false, "x", {false, true, true, true, true, true}},
        {"after typing", false, true, false, false, "", {true, false, false, false, false, true}},
        {"a password", true, false, true, false, "x", {false, false, false, true, true, true}},
        {"read only", true, true, false, true, "x", {false, false, true, false, false, true}},
    };
    const char* captions[] = {"Undo", "Cut", "Copy", "Paste", "Delete", "Select All"};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Clipboard().SetAsText(c.clip);
        TTeEdit* e = Focused("abc");
        if (c.typed) Ui().Type("d");
        if (c.select) Keys({VK_LEFT}, {ssShift});
        e->SetPasswordKind(c.password ? pkRect : pkNone);
        e->SetReadOnly(c.readOnly);
        e->UpdatePopupMenuItems();
        for (int i = 0; i < 6; ++i)
            EXPECT_EQ(e->ContextMenuItem(Utf8ToWide(captions[i]))->Enabled(), c.enabled[i]) << captions[i];
        delete e;
    }
}

TEST_F(EditTest, CharCaseAndPasswordCharFollowTheirRules) {
    TTeEdit* e = Make();
    e->SetText("Mixed");
    e->SetCharCase(ecUpperCase);
    EXPECT_EQ(e->GetText(), "MIXED");
    e->SetText("later");
    EXPECT_EQ(e->GetText(), "LATER");
    e->SetCharCase(ecNormal);
    EXPECT_EQ(e->GetText(), "LATER");
    e->SetPasswordWideChar(u'*');
    EXPECT_EQ(e->PasswordKind(), pkChar);
    e->SetPasswordWideChar(0);
    EXPECT_EQ(e->PasswordKind(), pkChar);
}

TEST_F(EditTest, OnChangeFiresForUserAndProgramChangesOnly) {
    TTeEdit* e = Focused("ab");
    int changes = 0;
    e->OnChange = [&](TObject*) { ++changes; };
    Ui().Type("c");
    Keys({VK_LEFT, VK_HOME});
    e->SetText("abc");  // the same text: no change
    e->SetText("x");
    EXPECT_EQ(changes, 2);
}

// Random typing, deleting, selecting, pasting and undoing never leaves a
// position outside the text, and undo always walks back to the start.
TEST_F(EditTest, RandomEditingKeepsPositionsInRangeAndUndoesToTheStart) {
    std::mt19937 rng(20240611);
    const char* pieces[] = {"a", "b c", "中", "\xF0\x9F\x98\x80", "12\r\n3", ""};
    for (int round = 0; round < 6; ++round) {
        TTeEdit* e = Focused("start text", 90);
        e->SetMaxLength(round % 2 ? 30 : 0);
        for (int step = 0; step < 120; ++step) {
            switch (rng() % 9) {
                case 0: Ui().Type(pieces[rng() % 6]); break;
                case 1: Ui().PressKey(VK_BACK); break;
                case 2: Ui().PressKey(VK_DELETE); break;
                case 3:
                    Ui().PressKey(rng() % 2 ? VK_LEFT : VK_RIGHT,
                                  rng() % 2 ? TShiftState{ssShift} : TShiftState{});
                    break;
                case 4:
                    Ui().PressKey(rng() % 2 ? VK_HOME : VK_END,
                                  rng() % 2 ? TShiftState{ssShift} : TShiftState{ssCtrl});
                    break;
                case 5:
                    Clipboard().SetAsText(pieces[rng() % 6]);
                    Ui().PressKey('V', {ssCtrl});
                    break;
                case 6: Ui().PressKey(rng() % 2 ? 'X' : 'C', {ssCtrl}); break;
                case 7: Ui().PressKey('Z', {ssCtrl}); break;
                case 8:
                    e->SetSelStart(static_cast<int>(rng() % 40) - 5),
                        e->SetSelLength(static_cast<int>(rng() % 40) - 20);
                    break;
            }
            const int len = static_cast<int>(e->WideText().size());
            ASSERT_GE(e->CaretPos(), 0);
            ASSERT_LE(e->CaretPos(), len);
            ASSERT_GE(e->SelStart(), 0);
            ASSERT_LE(e->SelStart() + e->SelLength(), len);
            ASSERT_GE(e->FirstVisibleChar(), 1);
            ASSERT_LE(e->FirstVisibleChar(), std::max(len, 1));
            if (e->MaxLength()) {
                ASSERT_LE(len, std::max(e->MaxLength(), 10));
            }
            const WideString& t = e->WideText();
            for (int p : {e->CaretPos(), e->SelStart(), e->SelStart() + e->SelLength()})
                if (p > 0 && p < len) {
                    ASSERT_FALSE(t[p - 1] >= 0xD800 && t[p - 1] <= 0xDBFF) << "inside a pair";
                }
        }
        while (e->UnDo()) {
        }
        EXPECT_EQ(e->GetText(), "start text") << "round " << round;
        delete e;
    }
}

}  // namespace
}  // namespace tarvel::testing
