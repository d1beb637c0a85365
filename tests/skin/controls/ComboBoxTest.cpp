#include "skin/controls/te_controls_combo.h"

#include <map>

#include "platform/classlib/Colors.h"
#include "platform/gdi/FontList.h"
#include "skin/forms/te_forms_frame.h"
#include "tests/skin/controls/EditFixture.h"

namespace tarvel::testing {
namespace {

class ComboBoxTest : public EditTest {
public:
    TTeComboBox* Combo(std::initializer_list<const char*> items, TTeComboStyle style = kcsDropDown) {
        TTeComboBox* c = Make<TTeComboBox>(10, 10, 150);
        for (const char* s : items) c->Items()->Add(s);
        c->SetComboStyle(style);
        Ui().RunUntilIdle();
        return c;
    }
    TTeComboBox* Numbers(int n, TTeComboStyle style = kcsDropDownList) {
        TTeComboBox* c = Combo({}, style);
        for (int i = 0; i < n; ++i) c->Items()->Add(IntToStr(i));
        return c;
    }
    void ClickButton(TTeComboBox* c) {
        const TRect b = c->GetButtonRect();
        Ui().ClickAt(c, TPoint{(b.left + b.right) / 2, (b.top + b.bottom) / 2});
    }
};

TEST_F(ComboBoxTest, ItemIndexClampsAndFiresNothingWhenItStays) {
    struct Case {
        int count, from, to, expected, changes;
    };
    const Case cases[] = {
        {64, 63, 64, 63, 0}, {64, 63, -2, 0, 1}, {64, 5, -1, -1, 0}, {64, 63, 1000, 63, 0},
        {0, -1, -2, -1, 0},  {0, -1, 3, -1, 0},  {3, -1, 1, 1, 1},
    };
    for (const Case& c : cases) {
        TTeComboBox* combo = Numbers(c.count, kcsDropDown);
        combo->SetItemIndex(c.from);
        int changes = 0;
        combo->OnChange = [&](TObject*) { ++changes; };
        combo->SetItemIndex(c.to);
        EXPECT_EQ(combo->ItemIndex(), c.expected) << c.count << ": " << c.from << " -> " << c.to;
        EXPECT_EQ(changes, c.changes) << c.count << ": " << c.from << " -> " << c.to;
        if (c.expected >= 0) {
            EXPECT_EQ(combo->GetText(), IntToStr(c.expected));
        }
        delete combo;
    }
}

TEST_F(ComboBoxTest, AnOpenListIsKnownToTheFramesWhichCanCloseIt) {
    TTeComboBox* combo = Numbers(3);
    int closeUps = 0;
    combo->OnCloseUp = [&](TObject*) {
        ++closeUps;
        EXPECT_EQ(ActiveComboBox, combo) << "cleared only after the close-up event";
    };
    EXPECT_EQ(ActiveComboBox, nullptr);
    combo->DropDown();
    Ui().RunUntilIdle();
    ASSERT_TRUE(combo->DroppedDown());
    EXPECT_EQ(ActiveComboBox, combo);
    TObject frame;
    CloseActiveComboBox(&frame);  // what a frame does on a press
    EXPECT_FALSE(combo->DroppedDown());
    EXPECT_EQ(closeUps, 1);
    EXPECT_EQ(ActiveComboBox, nullptr);
    EXPECT_FALSE(static_cast<bool>(DoCloseActiveComboBox));
    CloseActiveComboBox(&frame);
    EXPECT_EQ(closeUps, 1);

    // A box freed with its list open leaves nothing behind.
    combo->DropDown();
    Ui().RunUntilIdle();
    ASSERT_EQ(ActiveComboBox, combo);
    combo->OnCloseUp = nullptr;
    delete combo;
    EXPECT_EQ(ActiveComboBox, nullptr);
    EXPECT_FALSE(static_cast<bool>(DoCloseActiveComboBox));
}

TEST_F(ComboBoxTest, TheListShowsItsItemsUpToTheDropDownCount) {
    struct Case {
        int count, rows;
    };
    const Case cases[] = {{3, 3}, {0, 8}, {20, 8}, {8, 8}, {1, 1}};
    for (const Case& c : cases) {
        TTeComboBox* combo = Numbers(c.count);
        combo->DropDown();
        Ui().RunUntilIdle();
        ASSERT_TRUE(combo->DroppedDown());
        TTeListBox* list = combo->ListBox();
        EXPECT_EQ(list->GetBorderRect().Height(), c.rows * 15) << c.count << " items";
        EXPECT_EQ(combo->DropDownWindow()->Width(), combo->Width());
        combo->AfterDropDown();
        delete combo;
    }
}

TEST_F(ComboBoxTest, TheListOpensAboveNearTheBottomAndMovesLeftNearTheRight) {
    struct Case {
        TPoint formAt;
        bool above, movedLeft;
    };
    const Case cases[] = {{{40, 40}, false, false}, {{40, 600}, true, false}, {{940, 40}, false, true}};
    for (const Case& c : cases) {
        Form()->SetBounds(c.formAt.x, c.formAt.y, 400, 300);
        TTeComboBox* combo = Numbers(10);
        combo->SetTop(200);
        Ui().RunUntilIdle();
        combo->DropDown();
        Ui().RunUntilIdle();
        const TPoint top = combo->ClientToScreen(TPoint{0, 0});
        TTeComboWindow* w = combo->DropDownWindow();
        EXPECT_EQ(w->Top() + w->Height() <= top.y, c.above) << c.formAt.y;
        EXPECT_EQ(w->Top() == top.y + combo->Height(), !c.above) << c.formAt.y;
        EXPECT_EQ(w->Left() < top.x, c.movedLeft) << c.formAt.x;
        EXPECT_LE(w->Left() + w->Width(), 1024);
        combo->AfterDropDown();
        delete combo;
    }
}

// The whole road of the list: open by the button, scroll, move by keys,
// take by Enter, leave by Escape, close by a click elsewhere, pick by mouse.
TEST_F(ComboBoxTest, TheDropDownOpensScrollsSelectsAndClosesThroughTheDriver) {
    TTeComboBox* combo = Numbers(20);
    combo->SetItemIndex(2);
    int opened = 0, closed = 0;
    combo->OnDropDown = [&](TObject*) { ++opened; };
    combo->OnCloseUp = [&](TObject*) { ++closed; };
    ClickButton(combo);
    TTeListBox* list = combo->ListBox();
    ASSERT_TRUE(combo->DroppedDown());
    EXPECT_TRUE(combo->ButtonPressed());
    EXPECT_EQ(Ui().FocusedControl(), list);
    EXPECT_EQ(list->ItemIndex(), 2);

    Ui().Wheel(list, -120);
    EXPECT_EQ(list->TopIndex(), 3);
    EXPECT_EQ(combo->ItemIndex(), 2) << "the wheel scrolls the open list only";
    Ui().PressKey(VK_DOWN);
    Ui().PressKey(VK_DOWN);
    EXPECT_EQ(list->ItemIndex(), 4);
    EXPECT_EQ(combo->ItemIndex(), 2) << "moving inside the list chooses nothing yet";
    Ui().PressKey(VK_RETURN);
    EXPECT_FALSE(combo->DroppedDown());
    EXPECT_EQ(combo->ItemIndex(), 4);
    EXPECT_EQ(Ui().FocusedControl(), combo);

    ClickButton(combo);
    Ui().PressKey(VK_DOWN);
    Ui().PressKey(VK_ESCAPE);
    EXPECT_FALSE(combo->DroppedDown());
    EXPECT_EQ(combo->ItemIndex(), 4);

    ClickButton(combo);
    ASSERT_TRUE(combo->DroppedDown());
    Ui().PressKey(VK_DOWN);
    Ui().ClickAt(Form(), TPoint{300, 250});
    EXPECT_FALSE(combo->DroppedDown()) << "a click outside closes the list";
    EXPECT_EQ(combo->ItemIndex(), 4);
    EXPECT_FALSE(combo->ButtonPressed());

    Ui().PickItem(combo, "17");
    EXPECT_FALSE(combo->DroppedDown());
    EXPECT_EQ(combo->ItemIndex(), 17);
    EXPECT_EQ(combo->GetText(), "17");
    EXPECT_EQ(opened, 4);
    EXPECT_EQ(closed, 4);
}

TEST_F(ComboBoxTest, KeysAndTheWheelChooseInTheListStyle) {
    struct Case {
        const char* what;
        std::function<void(ComboBoxTest*, TTeComboBox*)> act;
        int expected;
    };
    const Case cases[] = {
        {"b cycles", [](ComboBoxTest* t, TTeComboBox*) { t->Ui().Type("b"); }, 1},
        {"b twice", [](ComboBoxTest* t, TTeComboBox*) { t->Ui().Type("bb"); }, 3},
        {"b thrice wraps", [](ComboBoxTest* t, TTeComboBox*) { t->Ui().Type("bbb"); }, 1},
        {"B in capitals", [](ComboBoxTest* t, TTeComboBox*) { t->Ui().Type("B"); }, 1},
        {"no such letter", [](ComboBoxTest* t, TTeComboBox*) { t->Ui().Type("z"); }, 0},
        {"page down", [](ComboBoxTest* t, TTeComboBox*) { t->Ui().PressKey(VK_NEXT); }, 3},
        {"end", [](ComboBoxTest* t, TTeComboBox*) { t->Ui().PressKey(VK_END); }, 5},
        {"up at the top", [](ComboBoxTest* t, TTeComboBox*) { t->Ui().PressKey(VK_UP); }, 0},
        // The system scrolls three lines a notch.
        {"wheel down a notch", [](ComboBoxTest* t, TTeComboBox* c) { t->Ui().Wheel(c, -120); }, 3},
        {"wheel down a line", [](ComboBoxTest* t, TTeComboBox* c) { t->Ui().Wheel(c, -40); }, 1},
        {"wheel less than a line", [](ComboBoxTest* t, TTeComboBox* c) { t->Ui().Wheel(c, -39); }, 0},
        {"wheel past the end", [](ComboBoxTest* t, TTeComboBox* c) { t->Ui().Wheel(c, -240); }, 5},
        {"wheel up", [](ComboBoxTest* t, TTeComboBox* c) { t->Ui().Wheel(c, 120); }, 0},
    };
    for (const Case& c : cases) {
        TTeComboBox* combo =
            Combo({"apple", "banana", "cherry", "blueberry", "date", "elder"}, kcsDropDownList);
        EXPECT_EQ(combo->ItemIndex(), 0) << "the list style always shows an item";
        combo->SetFocus();
        Ui().RunUntilIdle();
        c.act(this, combo);
        EXPECT_EQ(combo->ItemIndex(), c.expected) << c.what;
        EXPECT_EQ(combo->GetText(), combo->Items()->Get(c.expected)) << c.what;
        EXPECT_FALSE(combo->DroppedDown()) << c.what;
        delete combo;
    }
    TTeComboBox* empty = Combo({}, kcsDropDownList);
    empty->SetFocus();
    for (UINT key : {VK_DOWN, VK_UP, VK_NEXT, VK_HOME, VK_END}) Ui().PressKey(key);
    Ui().Wheel(empty, -120);
    EXPECT_EQ(empty->ItemIndex(), -1);
}

TEST_F(ComboBoxTest, TypingCompletesFromTheItemsAfterAPause) {
    TTeComboBox* combo = Combo({"Alpha", "Beta", "Bravo"});
    int matched = 0, missed = 0;
    combo->OnMatch = [&](TObject*) { ++matched; };
    combo->OnNotInList = [&](TObject*) { ++missed; };
    combo->SetFocus();
    Ui().RunUntilIdle();
    Ui().Type("br");
    EXPECT_EQ(combo->GetText(), "br");
    Ui().AdvanceClock(110);
    EXPECT_EQ(combo->GetText(), "Bravo");
    EXPECT_EQ(combo->ItemIndex(), 2);
    EXPECT_EQ(combo->SelStart(), 2);
    EXPECT_EQ(combo->SelLength(), 3);
    Ui().PressKey(VK_BACK);
    Ui().AdvanceClock(200);
    EXPECT_EQ(combo->GetText(), "Br") << "deleting completes nothing";
    Ui().Type("x");
    Ui().AdvanceClock(200);
    EXPECT_EQ(combo->GetText(), "Brx");
    EXPECT_EQ(matched, 1);
    EXPECT_EQ(missed, 1);
}

TEST_F(ComboBoxTest, AVetoKeepsTheItemWhetherCodeOrTheListAsks) {
    TTeComboBox* combo = Numbers(5);
    combo->SetItemIndex(1);
    combo->OnAllowChange = [](TObject*, int index, const WideString&, bool& allow) { allow = index != 3; };
    combo->SetItemIndex(3);
    EXPECT_EQ(combo->ItemIndex(), 1);
    Ui().PickItem(combo, "3");
    EXPECT_EQ(combo->ItemIndex(), 1);
    EXPECT_FALSE(combo->DroppedDown());
    Ui().PickItem(combo, "4");
    EXPECT_EQ(combo->ItemIndex(), 4);
}

TEST_F(ComboBoxTest, ClearEmptiesTextItemsAndChoice) {
    TTeComboBox* combo = Combo({"a", "b"});
    combo->SetItemIndex(1);
    combo->Clear();
    EXPECT_EQ(combo->Count(), 0);
    EXPECT_EQ(combo->ItemIndex(), -1);
    EXPECT_EQ(combo->GetText(), "");
    combo->Items()->Add("x");
    combo->SetComboStyle(kcsDropDownList);
    EXPECT_TRUE(combo->ReadOnly());
    combo->SetComboStyle(kcsDropDown);
    EXPECT_FALSE(combo->ReadOnly());
}

TEST_F(ComboBoxTest, TheButtonIsDrawnInTheStateOfTheMouse) {
    auto* theme = new TEditRecordingTheme();
    ChangeTheme(theme);
    TTeComboBox* combo = Numbers(3);
    auto lastButton = [&] {
        theme->Calls.clear();
        combo->InvalidateNow();
        Ui().RunUntilIdle();
        const auto calls = theme->CallsOf("EditDrawButton");
        return calls.empty() ? -1 : calls.back().state;
    };
    EXPECT_EQ(lastButton(), kebdsNormal);
    const TRect b = combo->GetButtonRect();
    MoveTo(combo, TPoint{b.left + 3, b.top + 3});
    EXPECT_EQ(lastButton(), kebdsHot);
    MoveTo(combo, TPoint{5, 5});
    EXPECT_EQ(lastButton(), kebdsNormal);
    combo->SetEnabled(false);
    EXPECT_EQ(lastButton(), kebdsDisabled);
}

TEST_F(ComboBoxTest, FontAndColourListsKeepTheirRowHeightOthersTakeTheCombos) {
    int colours = 0;
    GetColorValues([&](const String&) { ++colours; });
    struct Case {
        TTeListBoxStyle style;
        int height;
        int count;  // -1: the items the combo was given
    };
    const Case cases[] = {
        {lbsColorNames, 18, colours},
        {lbsColors, 18, colours},
        {lbsFonts, 18, static_cast<int>(InstalledFontFamilies().size())},
        {lbsOwnerDrawFixed, 22, -1},
        {lbsStandard, 22, -1},
    };
    for (const Case& c : cases) {
        TTeComboBox* combo = Combo({"one", "two"}, kcsDropDownList);
        combo->SetItemHeight(22);
        combo->SetListStyle(c.style);
        EXPECT_EQ(combo->ListStyle(), c.style);
        EXPECT_EQ(combo->ItemHeight(), c.height) << c.style;
        EXPECT_EQ(combo->Count(), c.count < 0 ? 2 : c.count) << c.style;
        combo->DropDown();
        Ui().RunUntilIdle();
        EXPECT_EQ(combo->ListBox()->ItemHeight(), c.height)
            << "the open list keeps the rows, style " << c.style;
        combo->AfterDropDown();
        delete combo;
    }
}

TEST_F(ComboBoxTest, ColourAndFontValuesFollowTheChosenItem) {
    TTeComboBox* combo = Combo({}, kcsDropDownList);
    combo->SetListStyle(lbsColors);
    combo->SetItemIndex(-1);
    EXPECT_EQ(combo->ColorValue(), TColor{0});
    combo->SetItemIndex(combo->Items()->IndexOf("clRed"));
    EXPECT_EQ(combo->ColorValue(), clRed);

    TTeComboBox* fonts = Combo({"Alpha", "Beta", "Gamma", "Beta"}, kcsDropDownList);
    fonts->SetItemIndex(3);
    EXPECT_EQ(fonts->FontValue()->Name(), "Beta");
    EXPECT_EQ(fonts->ItemIndex(), 3) << "reading the font chooses nothing";
    struct Case {
        const char* name;
        int expected;
    };
    const Case cases[] = {{"Gamma", 2}, {"Beta", 1}, {"beta", 1}, {"Nowhere", 1}};
    for (const Case& c : cases) {
        TFont font;
        font.SetName(c.name);
        fonts->SetFontValue(&font);
        EXPECT_EQ(fonts->ItemIndex(), c.expected) << c.name;
    }
    fonts->Items()->Add("not a colour");
    fonts->SetItemIndex(4);
    EXPECT_THROW(fonts->ColorValue(), EConvertError);
}

TEST_F(ComboBoxTest, TheButtonSitsOnTheChosenSideAndOpensTheList) {
    for (TTeComboButtonAlign align : {cbaLeft, cbaRight}) {
        TTeComboBox* combo = Combo({"one", "two"});
        combo->SetButtonAlign(align);
        Ui().RunUntilIdle();
        const TRect button = combo->GetButtonRect();
        const TRect edit = combo->GetEditRect();
        EXPECT_EQ(button.Width(), combo->GetButtonHeight());
        if (align == cbaLeft) {
            EXPECT_LT(button.left, 5);
            EXPECT_GE(edit.left, button.right - 2) << "the text starts after the button";
        } else {
            EXPECT_GT(button.right, combo->Width() - 5);
            EXPECT_LE(edit.right, button.left + 2);
        }
        Ui().ClickAt(combo, TPoint{(edit.left + edit.right) / 2, (edit.top + edit.bottom) / 2});
        EXPECT_FALSE(combo->DroppedDown()) << "the text part does not open, align " << align;
        ClickButton(combo);
        EXPECT_TRUE(combo->DroppedDown()) << align;
        combo->AfterDropDown();
        delete combo;
    }
}

// What the owner is asked to draw, row by row.
struct TOwnerCall {
    int index;
    TRect rect;
    TOwnerDrawState state;
};

TEST_F(ComboBoxTest, AListStyleFaceHandsItsItemToTheOwnerAcrossTheWholeHeight) {
    const uint32_t highlight = ColorRefToPixel(ColorToColorRef(clHighlight)) & 0xFFFFFF;
    const uint32_t owners = ColorRefToPixel(ColorToColorRef(clLime)) & 0xFFFFFF;
    struct Case {
        TTeComboStyle style;
        TTeListBoxStyle list;
        bool focused;
        bool defaultDrawing;
        bool ownerDrawsFace;
    };
    const Case cases[] = {
        {kcsDropDownList, lbsOwnerDrawFixed, true, true, true},
        {kcsDropDownList, lbsOwnerDrawVariable, false, true, true},
        {kcsDropDownList, lbsOwnerDrawFixed, true, false, true},
        {kcsDropDownList, lbsStandard, true, true, false},
        {kcsDropDown, lbsOwnerDrawFixed, true, true, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(::testing::Message()
                     << "style " << int(c.style) << ", list " << int(c.list) << (c.focused ? ", focused" : "")
                     << ", default drawing " << c.defaultDrawing);
        TTeComboBox* combo = Combo({"alpha", "beta", "gamma"}, c.style);
        combo->SetHeight(30);
        combo->SetListStyle(c.list);
        combo->SetDefaultDrawing(c.defaultDrawing);
        combo->SetItemIndex(1);
        std::vector<TOwnerCall> calls;
        combo->SetOnDrawItem([&](TTeListBox*, TCanvas& canvas, int index, TRect rect, TOwnerDrawState state) {
            calls.push_back({index, rect, state});
            FillRect(canvas, rect, clLime);
        });
        if (c.focused) combo->SetFocus();
        Ui().RunUntilIdle();
        calls.clear();
        combo->InvalidateNow();
        Ui().RunUntilIdle();

        const TRect edit = combo->GetEditRect();
        int height = 0, width = 0;
        ASSERT_TRUE(combo->CanAutoSize(width, height));
        if (!c.ownerDrawsFace) {
            EXPECT_TRUE(calls.empty()) << "the face's text is the edit's or the list's own";
            EXPECT_LT(edit.bottom, combo->Height() - edit.top) << "the text line only";
            delete combo;
            continue;
        }
        EXPECT_EQ(edit.bottom, combo->Height() - edit.top) << "the owner's item takes the whole height";
        EXPECT_EQ(height, combo->ItemHeight() + 2 * edit.top) << "auto size fits one owner-drawn row";
        ASSERT_EQ(calls.size(), 1u);
        EXPECT_EQ(calls[0].index, 1);
        EXPECT_EQ(calls[0].rect, (TRect{edit.left + 2, edit.top, edit.right, edit.bottom}))
            << "the face's item is not grown, and its text starts two pixels in";
        EXPECT_EQ(calls[0].state.Contains(odSelected), c.focused) << "chosen exactly while focused";
        EXPECT_FALSE(calls[0].state.Contains(odFocused)) << "the face has no focused row";
        EXPECT_FALSE(calls[0].state.Contains(odHotLight));
        EXPECT_EQ(ShownAt(combo, edit.left + 3, edit.top + 1), owners);
        // The two pixels before the text: the default background when asked
        // for, and no focus rectangle over it, which the owner would draw.
        for (int y = edit.top; y < edit.bottom; ++y) {
            const uint32_t px = ShownAt(combo, edit.left, y);
            if (c.defaultDrawing && c.focused)
                EXPECT_EQ(px, highlight) << "row " << y;
            else
                EXPECT_NE(px, highlight) << "row " << y;
        }
        delete combo;
    }
}

TEST_F(ComboBoxTest, TheOpenListAsksTheOwnerForEachRowWithItsHeightAndState) {
    TTeComboBox* combo = Combo({"a", "b", "c", "d"}, kcsDropDownList);
    combo->SetListStyle(lbsOwnerDrawVariable);
    combo->SetItemIndex(1);
    std::vector<TOwnerCall> calls;
    std::vector<String> measuredIn;
    combo->SetOnMeasureItem([&](TTeListBox*, TCanvas& canvas, int index, int& height) {
        measuredIn.push_back(canvas.Font()->Name());
        height = 12 + 4 * index;
    });
    combo->SetOnDrawItem([&](TTeListBox*, TCanvas&, int index, TRect rect, TOwnerDrawState state) {
        calls.push_back({index, rect, state});
    });
    combo->DropDown();
    Ui().RunUntilIdle();
    TTeListBox* list = combo->ListBox();
    ASSERT_TRUE(combo->DroppedDown());
    auto lastPaint = [&] {
        calls.clear();
        list->InvalidateNow();
        Ui().RunUntilIdle();
        std::map<int, TOwnerCall> rows;
        for (const TOwnerCall& c : calls) rows.insert_or_assign(c.index, c);
        return rows;
    };
    std::map<int, TOwnerCall> rows = lastPaint();
    ASSERT_FALSE(rows.empty());
    int top = rows.begin()->second.rect.top;
    for (const auto& [index, call] : rows) {
        EXPECT_EQ(call.rect.Height(), 12 + 4 * index) << "row " << index << " is as high as measured";
        EXPECT_EQ(call.rect.top, top) << "row " << index << " follows the one above";
        top = call.rect.bottom;
        EXPECT_EQ(call.state.Contains(odSelected), index == 1) << index;
        EXPECT_EQ(call.state.Contains(odFocused), index == 1) << "the open list has the focus";
        EXPECT_FALSE(call.state.Contains(odHotLight)) << index;
    }
    ASSERT_FALSE(measuredIn.empty());
    EXPECT_EQ(measuredIn.back(), list->Font()->Name()) << "measured in the list's font";

    // The row under the pointer is hot unless it is the chosen one.
    const TRect third = list->GetItemRect(2);
    MoveTo(list, TPoint{third.left + 5, third.top + 3});
    rows = lastPaint();
    ASSERT_TRUE(rows.count(2));
    EXPECT_TRUE(rows[2].state.Contains(odHotLight));
    EXPECT_FALSE(rows[2].state.Contains(odSelected));
    EXPECT_FALSE(rows[1].state.Contains(odHotLight));
    Ui().PressKey(VK_ESCAPE);
    EXPECT_FALSE(combo->DroppedDown());
}

}  // namespace
}  // namespace tarvel::testing
