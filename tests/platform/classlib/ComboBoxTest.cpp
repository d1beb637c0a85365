// Combo boxes: the index past the last item, choosing from the dropped
// list, the events and their order, the keyboard, owner drawing, the
// button's hot state, the notifications the parent window gets.

#include <gtest/gtest.h>

#include <algorithm>
#include <map>

#include "platform/classlib/StdCtrls.h"
#include "platform/classlib/testing/UiDriver.h"

namespace tarvel {
namespace {

class ComboBoxTest : public ::testing::Test {
protected:
    void SetUp() override {
        form = new TForm(Application);
        form->SetName("Main");
        form->SetBounds(50, 50, 400, 300);
        combo = new TComboBox(form);
        combo->SetName("Combo");
        combo->SetParent(form);
        combo->SetBounds(10, 10, 150, 21);
        other = new TEdit(form);
        other->SetName("Other");
        other->SetParent(form);
        other->SetBounds(10, 200, 100, 21);
        for (int i = 0; i < 64; ++i) combo->Items()->Add(IntToStr(i));
        combo->OnChange = [this](TObject*) { events.push_back("change " + combo->Text()); };
        combo->OnDropDown = [this](TObject*) { events.push_back("dropdown"); };
        combo->OnCloseUp = [this](TObject*) { events.push_back("closeup"); };
        combo->OnClick = [this](TObject*) { events.push_back("click " + IntToStr(combo->ItemIndex())); };
        form->Show();
        ui.RunUntilIdle();
    }

    TUiDriver ui;
    TForm* form = nullptr;
    TComboBox* combo = nullptr;
    TEdit* other = nullptr;
    std::vector<String> events;
};

// The tool sets index 64 on a box of "0".."63": the box keeps its text and
// reports 64; -1 clears.
TEST_F(ComboBoxTest, AnIndexPastTheLastItemIsKeptWithTheOldText) {
    for (TComboBoxStyle style : {csDropDown, csDropDownList}) {
        combo->SetStyle(style);
        combo->SetItemIndex(5);
        EXPECT_EQ(combo->Text(), "5");
        combo->SetItemIndex(64);
        EXPECT_EQ(combo->ItemIndex(), 64) << style;
        EXPECT_EQ(combo->Text(), "5") << style;
        EXPECT_EQ(SendMessage(combo->Handle(), CB_GETCURSEL, 0, 0), 64);
        combo->SetItemIndex(-1);
        EXPECT_EQ(combo->ItemIndex(), -1);
        EXPECT_EQ(combo->Text(), "");
    }
    EXPECT_TRUE(events.empty());  // the program's changes raise no events
}

// Items read and tagged through the window: texts of any length, data per
// item, and an exact search that ignores case and wraps round.
TEST_F(ComboBoxTest, ItemsAreReadTaggedAndFoundThroughTheWindow) {
    HWND h = combo->Handle();
    const String longText(6000, 'x');
    combo->Items()->Put(3, longText);
    ASSERT_EQ(SendMessage(h, CB_GETLBTEXTLEN, 3, 0), 6000);
    String buffer(6001, '\0');
    EXPECT_EQ(SendMessage(h, CB_GETLBTEXT, 3, reinterpret_cast<LPARAM>(buffer.data())), 6000);
    EXPECT_EQ(buffer.c_str(), longText);

    EXPECT_EQ(SendMessage(h, CB_SETITEMDATA, 5, reinterpret_cast<LPARAM>(form)), 1);
    EXPECT_EQ(reinterpret_cast<TObject*>(SendMessage(h, CB_GETITEMDATA, 5, 0)), form);
    EXPECT_EQ(combo->Items()->GetObject(5), form);

    combo->Items()->Put(60, "Pack");
    struct Case {
        int after;
        const char* text;
        LRESULT found;
    };
    const Case finds[] = {{-1, "pack", 60}, {60, "PACK", 60}, {10, "12", 12},
                          {12, "12", 12},   {-1, "1", 1},     {-1, "Pac", CB_ERR}};
    for (const Case& c : finds)
        EXPECT_EQ(SendMessage(h, CB_FINDSTRINGEXACT, static_cast<WPARAM>(c.after),
                              reinterpret_cast<LPARAM>(c.text)),
                  c.found)
            << c.text << " after " << c.after;

    for (UINT msg : {CB_GETLBTEXT, CB_GETLBTEXTLEN, CB_GETITEMDATA, CB_SETITEMDATA}) {
        EXPECT_EQ(SendMessage(h, msg, 64, reinterpret_cast<LPARAM>(buffer.data())), CB_ERR) << msg;
        EXPECT_EQ(SendMessage(h, msg, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(buffer.data())),
                  CB_ERR);
    }
}

TEST_F(ComboBoxTest, PickingFromTheDroppedListRaisesTheEventsInOrder) {
    for (TComboBoxStyle style : {csDropDown, csDropDownList}) {
        combo->SetStyle(style);
        combo->SetItemIndex(1);
        events.clear();
        combo->SetDroppedDown(true);
        EXPECT_TRUE(combo->DroppedDown());
        combo->SetDroppedDown(false);
        events.clear();
        ui.PickItem(combo, "3");
        EXPECT_FALSE(combo->DroppedDown());
        EXPECT_EQ(combo->ItemIndex(), 3);
        EXPECT_EQ(combo->Text(), "3");
        EXPECT_EQ(events, (std::vector<String>{"dropdown", "closeup", "click 3", "change 3"})) << style;
        EXPECT_FALSE(IsWindowVisible(combo->ListBox()->Handle()));
    }
    // OnSelect, when set, is raised in place of OnChange.
    int selects = 0;
    combo->OnSelect = [&](TObject*) { ++selects; };
    events.clear();
    ui.PickItem(combo, "7");
    EXPECT_EQ(selects, 1);
    EXPECT_EQ(events, (std::vector<String>{"dropdown", "closeup", "click 7"}));
}

TEST_F(ComboBoxTest, APressOutsideTheDroppedListClosesItAndItsBarScrolls) {
    combo->SetStyle(csDropDownList);
    combo->SetItemIndex(0);
    combo->SetDroppedDown(true);
    TComboListBox* list = combo->ListBox();
    TWindowScrollBars* bars = WindowScrollBarsOf(list->Handle());
    ASSERT_TRUE(bars);
    const TRect window = WindowRect(list->Handle());
    const TRect down = bars->Parts(SB_VERT).lineDown;
    const TPoint arrow{window.left + (down.left + down.right) / 2, window.top + (down.top + down.bottom) / 2};
    ui.Backend().MouseMove(arrow);
    ui.Backend().Click(arrow);
    ui.RunUntilIdle();
    EXPECT_TRUE(combo->DroppedDown());
    EXPECT_EQ(list->TopIndex(), 1);

    events.clear();
    ui.ClickAt(form, TPoint{300, 250});  // the form's empty ground
    EXPECT_FALSE(combo->DroppedDown());
    EXPECT_EQ(events, std::vector<String>{"closeup"});
    EXPECT_EQ(combo->ItemIndex(), 0);
}

TEST_F(ComboBoxTest, TheKeyboardWalksOpensAndCloses) {
    combo->SetStyle(csDropDownList);
    combo->SetItemIndex(10);
    combo->SetFocus();
    events.clear();
    ui.PressKey(VK_DOWN);
    EXPECT_EQ(combo->ItemIndex(), 11);
    EXPECT_FALSE(combo->DroppedDown());
    ui.PressKey(VK_F4);
    EXPECT_TRUE(combo->DroppedDown());
    EXPECT_TRUE(SendMessage(combo->Handle(), CB_GETDROPPEDSTATE, 0, 0));
    ui.PressKey(VK_DOWN);
    ui.PressKey(VK_DOWN);
    ui.PressKey(VK_ESCAPE);  // cancelled: the index stays
    EXPECT_FALSE(combo->DroppedDown());
    EXPECT_EQ(combo->ItemIndex(), 11);
    ui.PressKey(VK_DOWN, {ssAlt});
    ui.PressKey(VK_DOWN);
    ui.PressKey(VK_RETURN);
    EXPECT_EQ(combo->ItemIndex(), 12);
    ui.Type("6");  // the next item after the selected one starting with "6"
    EXPECT_EQ(combo->Text(), "60");
    ui.Type("6");
    EXPECT_EQ(combo->Text(), "61");
    EXPECT_EQ(events, (std::vector<String>{"click 11", "change 11", "dropdown", "closeup", "dropdown",
                                           "closeup", "click 12", "change 12", "click 60", "change 60",
                                           "click 61", "change 61"}));
}

TEST_F(ComboBoxTest, TheEditableStyleTypesAndClearsItemsKeepingTheText) {
    combo->SetMaxLength(4);
    int enters = 0, exits = 0;
    combo->OnEnter = [&](TObject*) { ++enters; };
    combo->OnExit = [&](TObject*) { ++exits; };
    ui.Click(other);  // the combo had the focus from the start
    exits = 0;
    ui.Click(combo);
    EXPECT_EQ(ui.FocusedControl(), combo->EditControl())
        << (ui.FocusedControl() ? ui.FocusedControl()->ClassName() : String("none"));
    EXPECT_EQ(enters, 1);
    ui.Type("abcdef");
    EXPECT_EQ(combo->Text(), "abcd");
    EXPECT_EQ(events.back(), "change abcd");
    combo->SetSelStart(1);
    combo->SetSelLength(2);
    int start = 0, end = 0;
    SendMessage(combo->Handle(), CB_GETEDITSEL, reinterpret_cast<WPARAM>(&start),
                reinterpret_cast<LPARAM>(&end));
    EXPECT_EQ(start, 1);
    EXPECT_EQ(end, 3);
    combo->Items()->Clear();
    EXPECT_EQ(combo->Text(), "abcd");
    EXPECT_EQ(combo->ItemIndex(), -1);
    ui.Click(other);
    EXPECT_EQ(ui.FocusedControl(), other);
    EXPECT_EQ(exits, 1);
    combo->SetFocus();  // by the program: the edit takes it
    EXPECT_EQ(ui.FocusedControl(), combo->EditControl());
    EXPECT_EQ(enters, 2);
}

TEST_F(ComboBoxTest, OwnerDrawingDrawsTheFaceAndTheListItems) {
    combo->SetStyle(csOwnerDrawFixed);
    combo->SetItemIndex(2);
    std::vector<std::pair<int, bool>> drawn;
    combo->OnDrawItem = [&](TWinControl*, int index, TRect rect, TOwnerDrawState state) {
        drawn.emplace_back(index, state.Contains(odComboBoxEdit));
        combo->Canvas()->FillRect(rect);
    };
    combo->Repaint();
    ui.RunUntilIdle();
    ASSERT_FALSE(drawn.empty());
    EXPECT_EQ(drawn.back(), std::make_pair(2, true));
    drawn.clear();
    combo->SetDroppedDown(true);
    combo->ListBox()->Repaint();
    ui.RunUntilIdle();
    EXPECT_GE(drawn.size(), 8u);
    EXPECT_FALSE(drawn.front().second);
    combo->SetDroppedDown(false);
}

TEST_F(ComboBoxTest, TheDropDownButtonIsHotWhileTheMouseIsOverIt) {
    for (TComboBoxStyle style : {csDropDown, csDropDownList}) {
        combo->SetStyle(style);
        ui.RunUntilIdle();
        const TRect button = combo->ButtonRect();
        ASSERT_EQ(button.Width(), 15);
        const TPoint middle{(button.left + button.right) / 2, (button.top + button.bottom) / 2};
        struct Move {
            const char* where;
            TControl* control;
            TPoint point;
            bool hot;
        };
        const Move moves[] = {
            {"the button", combo, middle, true},
            {"the face (the edit of the editable style)", combo, TPoint{5, middle.y}, false},
            {"the button's left edge", combo, TPoint{button.left, 1}, true},
            {"outside", form, TPoint{300, 250}, false},
        };
        for (const Move& m : moves) {
            ui.MoveMouseTo(m.control, m.point);
            EXPECT_EQ(combo->ButtonHot(), m.hot) << m.where << ", style " << style;
        }
        // Only the button is repainted for it.
        SendMessage(combo->Handle(), WM_MOUSEMOVE, 0, PointToLParam(middle));
        TRect update;
        ASSERT_TRUE(GetUpdateRect(combo->Handle(), &update, false));
        EXPECT_EQ(update, button);
        ui.RunUntilIdle();
        // Closing the list with the mouse elsewhere leaves it cold.
        ui.ClickAt(combo, middle);
        ASSERT_TRUE(combo->DroppedDown());
        ui.ClickAt(form, TPoint{300, 250});
        EXPECT_FALSE(combo->DroppedDown());
        EXPECT_FALSE(combo->ButtonHot()) << style;
    }
}

class ComboBoxParentTest : public ComboBoxTest {
protected:
    void SetUp() override {
        ComboBoxTest::SetUp();
        inherited = form->WindowProc;
        form->WindowProc = [this](TMessage& m) {
            static const std::map<WORD, const char*> kNames = {
                {CBN_SELCHANGE, "SELCHANGE"},      {CBN_DBLCLK, "DBLCLK"},
                {CBN_SETFOCUS, "SETFOCUS"},        {CBN_KILLFOCUS, "KILLFOCUS"},
                {CBN_EDITCHANGE, "EDITCHANGE"},    {CBN_DROPDOWN, "DROPDOWN"},
                {CBN_CLOSEUP, "CLOSEUP"},          {CBN_SELENDOK, "SELENDOK"},
                {CBN_SELENDCANCEL, "SELENDCANCEL"}};
            if (m.Msg == WM_COMMAND && reinterpret_cast<HWND>(m.LParam) == combo->Handle())
                log.push_back(kNames.at(HIWORD(m.WParam)));
            inherited(m);
        };
        combo->OnEnter = [this](TObject*) { log.push_back("enter"); };
        combo->OnExit = [this](TObject*) { log.push_back("exit"); };
        combo->OnDblClick = [this](TObject*) { log.push_back("dblclick"); };
        other->SetFocus();
        ui.RunUntilIdle();
    }
    void TearDown() override { form->WindowProc = inherited; }

    std::function<void(TMessage&)> inherited;
    std::vector<String> log;
};

// The parent hears CBN_SETFOCUS once the focus came in (after OnEnter) and
// CBN_KILLFOCUS as it leaves (before OnExit), whether the combo or its edit
// holds it; a dropped list closes first.
TEST_F(ComboBoxParentTest, FocusComingAndGoingIsToldAroundEnterAndExit) {
    struct Case {
        const char* what;
        TComboBoxStyle style;
        std::function<void()> action;
        std::vector<String> expected;
    };
    const Case cases[] = {
        {"a click on the edit", csDropDown, [&] { ui.Click(combo); }, {"enter", "SETFOCUS"}},
        {"typing", csDropDown, [&] { ui.Type("x"); }, {"EDITCHANGE"}},
        {"a click elsewhere", csDropDown, [&] { ui.Click(other); }, {"KILLFOCUS", "exit"}},
        {"focus by the program (the edit takes it)",
         csDropDown,
         [&] { combo->SetFocus(); },
         {"enter", "SETFOCUS"}},
        {"focus to the list style", csDropDownList, [&] { combo->SetFocus(); }, {"enter", "SETFOCUS"}},
        {"the focus leaves a dropped list",
         csDropDownList,
         [&] {
             combo->SetDroppedDown(true);
             other->SetFocus();
         },
         {"DROPDOWN", "CLOSEUP", "SELENDCANCEL", "KILLFOCUS", "exit"}},
    };
    for (const Case& c : cases) {
        if (combo->Style() != c.style) {
            combo->SetStyle(c.style);
            other->SetFocus();
            ui.RunUntilIdle();
        }
        log.clear();
        c.action();
        ui.RunUntilIdle();
        EXPECT_EQ(log, c.expected) << c.what;
    }
}

TEST_F(ComboBoxParentTest, ADoubleClickInTheSimpleListIsToldAfterTheChoice) {
    combo->SetStyle(csSimple);
    combo->SetHeight(120);
    combo->SetFocus();
    ui.RunUntilIdle();
    log.clear();
    ui.DoubleClick(combo->ListBox());
    ASSERT_GE(log.size(), 3u) << ::testing::PrintToString(log);
    EXPECT_EQ(log.front(), "SELCHANGE");
    EXPECT_EQ(std::vector<String>(log.end() - 2, log.end()), (std::vector<String>{"DBLCLK", "dblclick"}));
    EXPECT_EQ(combo->Text(), combo->Items()->Strings(combo->ItemIndex()));
    EXPECT_GT(combo->ItemIndex(), 0);
    EXPECT_GT(combo->ListBox()->Height(), 80);  // the list fills the combo below its edit
    // A double click elsewhere is no CBN_DBLCLK.
    log.clear();
    ui.DoubleClick(other);
    EXPECT_EQ(std::count(log.begin(), log.end(), "DBLCLK"), 0);
}

}  // namespace
}  // namespace tarvel
