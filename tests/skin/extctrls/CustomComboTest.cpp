// The combo control the extended combo stands on: its first size, the item
// index kept while loading, the list-control operations, the combo
// notifications as events and the size of the dropped list, on a plain
// combo of strings and on the extended combo.

#include <gtest/gtest.h>

#include <vector>

#include "platform/classlib/StdCtrlMessages.h"
#include "platform/winsys/WindowApi.h"
#include "skin/extctrls/te_extctrls_comboex.h"
#include "tests/skin/core/SkinControlFixture.h"

namespace tarvel {
namespace {

// Items are the window's own strings, 16 px a row; counts the CB_SETCURSEL
// its window gets.
class TPlainCombo : public TTeCustomCombo {
    TARVEL_CLASS(TPlainCombo, TTeCustomCombo)

public:
    using TTeCustomCombo::TTeCustomCombo;
    int GetItemHt() override { return 16; }
    int GetItemCount() override { return Items()->Count(); }
    int selectsSent = 0;

protected:
    void WndProc(TMessage& m) override {
        if (m.Msg == CB_SETCURSEL) ++selectsSent;
        TTeCustomCombo::WndProc(m);
    }
};

class CustomComboTest : public testing::SkinControlTest {
protected:
    TPlainCombo* MakePlain(std::vector<String> items) {
        auto* combo = Make<TPlainCombo>(10, 10);
        for (const String& s : items) combo->Items()->Add(s);
        return combo;
    }
    // The events a combo raised, in order.
    std::vector<String> events;
    void Record(TTeCustomCombo* combo, bool withSelect) {
        combo->OnChange = [this](TObject*) { events.push_back("change"); };
        if (withSelect) combo->OnSelect = [this](TObject*) { events.push_back("select"); };
        combo->OnDropDown = [this](TObject*) { events.push_back("dropdown"); };
        combo->OnCloseUp = [this](TObject*) { events.push_back("closeup"); };
        combo->OnDblClick = [this](TObject*) { events.push_back("dblclick"); };
    }
    static void Notify(TTeCustomCombo* combo, WORD code) {
        combo->Perform(CN_COMMAND, MAKEWPARAM(0, code), reinterpret_cast<LPARAM>(combo->Handle()));
    }
};

TEST_F(CustomComboTest, BothCombosStart145By25WithEightItemsToADropDown) {
    std::vector<TTeCustomCombo*> combos = {new TPlainCombo(Form()), new TTeComboBoxEx(Form())};
    for (TTeCustomCombo* combo : combos) {
        SCOPED_TRACE(combo->ClassName());
        EXPECT_EQ(combo->Width(), 145);
        EXPECT_EQ(combo->Height(), 25);
        EXPECT_TRUE(combo->TabStop());
        EXPECT_FALSE(combo->ParentColor());
        EXPECT_EQ(combo->DropDownCount(), 8);
        EXPECT_EQ(combo->GetItemIndex(), -1);
        for (TControlStyleFlag flag :
             {csCaptureMouse, csSetCaption, csDoubleClicks, csFixedHeight, csReflector})
            EXPECT_TRUE(combo->ControlStyle.Contains(flag)) << flag;
    }
}

TEST_F(CustomComboTest, AnItemIndexSetWhileLoadingWaitsForLoadedAndTheCurrentOneIsNotSentAgain) {
    auto* combo = new TPlainCombo(Form());
    {
        TLoadingScope scope(combo);
        combo->SetParent(Form());
        for (const char* s : {"COM1", "COM2", "COM3"}) combo->Items()->Add(s);
        combo->SetItemIndex(2);
        EXPECT_EQ(combo->GetItemIndex(), 2);
        EXPECT_EQ(combo->ItemIndex(), -1) << "nothing chosen yet";
        EXPECT_EQ(combo->selectsSent, 0);
        scope.Finish();
    }
    EXPECT_EQ(combo->ItemIndex(), 2);
    EXPECT_EQ(combo->GetText(), "COM3");
    EXPECT_EQ(combo->selectsSent, 1);
    combo->SetItemIndex(2);
    EXPECT_EQ(combo->selectsSent, 1);
    combo->ClearSelection();
    EXPECT_EQ(combo->GetItemIndex(), -1);
    EXPECT_EQ(combo->selectsSent, 2);
}

TEST_F(CustomComboTest, ItemsMoveBetweenAPlainAndAnExtendedComboThroughTheListOperations) {
    TPlainCombo* plain = MakePlain({"Pack", "Module 1", "Cell 3"});
    auto* ex = Make<TTeComboBoxEx>(10, 50);
    TObject marker;
    ex->AddItem("Notes", &marker);
    ASSERT_EQ(ex->ItemsEx()->Count(), 1);
    EXPECT_EQ(ex->ItemsEx()->GetComboItem(0)->Caption(), "Notes");
    EXPECT_EQ(ex->ItemsEx()->GetComboItem(0)->Data(), &marker);
    EXPECT_EQ(ex->GetCount(), 1);

    plain->SetItemIndex(1);
    plain->CopySelection(ex);
    EXPECT_EQ(plain->GetCount(), 3);
    plain->MoveSelection(ex);
    EXPECT_EQ(plain->GetCount(), 2);
    EXPECT_EQ(plain->Items()->Strings(1), "Cell 3");
    ASSERT_EQ(ex->GetCount(), 3);
    EXPECT_EQ(ex->ItemsEx(1).Caption, "Module 1");
    EXPECT_EQ(ex->ItemsEx(2).Caption, "Module 1");
    EXPECT_EQ(SendMessage(ex->Handle(), CB_GETCOUNT, 0, 0), 3) << "the window holds them too";

    // With nothing chosen nothing is copied or deleted.
    plain->ClearSelection();
    plain->MoveSelection(ex);
    EXPECT_EQ(plain->GetCount(), 2);
    EXPECT_EQ(ex->GetCount(), 3);

    ex->SetItemIndex(0);
    ex->DeleteSelected();
    EXPECT_EQ(ex->ItemsEx(0).Caption, "Module 1");
    ex->SetText("typed");
    ex->Clear();
    EXPECT_EQ(ex->GetCount(), 0);
    EXPECT_EQ(ex->ItemsEx()->Count(), 0);
    EXPECT_EQ(ex->GetText(), "");
}

TEST_F(CustomComboTest, CombosNotificationsBecomeItsEvents) {
    struct Case {
        WORD code;
        bool withSelect;
        std::vector<String> expected;
    };
    const Case cases[] = {
        {CBN_SELCHANGE, true, {"select"}},
        {CBN_SELCHANGE, false, {"change"}},  // no select handler: a change
        {CBN_EDITCHANGE, true, {"change"}},
        {CBN_DROPDOWN, true, {"dropdown"}},
        {CBN_CLOSEUP, true, {"closeup"}},
        {CBN_DBLCLK, true, {"dblclick"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.code);
        TPlainCombo* combo = MakePlain({"COM1", "COM2"});
        Record(combo, c.withSelect);
        events.clear();
        Notify(combo, c.code);
        EXPECT_EQ(events, c.expected);
        delete combo;
    }
}

TEST_F(CustomComboTest, ASelectionChangeWithoutACurrentItemChoosesTheFirstAndShowsIt) {
    TPlainCombo* combo = MakePlain({"COM1", "COM2"});
    combo->SetStyle(csDropDownList);
    Record(combo, true);
    Notify(combo, CBN_SELCHANGE);
    EXPECT_EQ(combo->ItemIndex(), 0);
    EXPECT_EQ(combo->GetText(), "COM1");
    EXPECT_EQ(events, (std::vector<String>{"select"}));
}

TEST_F(CustomComboTest, TheDroppedListIsAsWideAsTheComboAndHoldsAtMostTheDropDownCount) {
    struct Case {
        int items, dropDownCount, rows;
    };
    const Case cases[] = {{10, 3, 3}, {5, 8, 5}, {0, 8, 1}, {12, 8, 8}};
    for (const Case& c : cases) {
        SCOPED_TRACE(::testing::Message() << c.items << " items, " << c.dropDownCount);
        TPlainCombo* combo = MakePlain({});
        combo->SetWidth(180);
        for (int i = 0; i < c.items; ++i) combo->Items()->Add("Cell " + IntToStr(i));
        combo->SetDropDownCount(c.dropDownCount);
        Record(combo, true);
        events.clear();
        combo->SetDroppedDown(true);
        ui_.RunUntilIdle();
        ASSERT_TRUE(combo->GetDroppedDown());
        ASSERT_NE(combo->DropDownHandle(), nullptr);
        const TRect list = WindowRect(combo->DropDownHandle());
        EXPECT_EQ(list.Width(), 180);
        EXPECT_EQ(list.Height(), c.rows * 16 + 2);
        EXPECT_TRUE(IsWindowVisible(combo->DropDownHandle()));
        combo->SetDroppedDown(false);
        ui_.RunUntilIdle();
        EXPECT_FALSE(combo->GetDroppedDown());
        EXPECT_EQ(events, (std::vector<String>{"dropdown", "closeup"}));
        delete combo;
    }
}

TEST_F(CustomComboTest, TheExtendedCombosListRowsFitItsImages) {
    auto* ex = Make<TTeComboBoxEx>(10, 10);
    for (int i = 0; i < 4; ++i) ex->ItemsEx()->AddItem("Module " + IntToStr(i), -1, -1, -1, 0, nullptr);
    TImageList images(Form());
    images.SetSize(20, 20);
    ex->SetImages(&images);
    EXPECT_EQ(ex->ItemHeight(), 22);
    ex->SetDroppedDown(true);
    ui_.RunUntilIdle();
    ASSERT_NE(ex->DropDownHandle(), nullptr);
    EXPECT_EQ(WindowRect(ex->DropDownHandle()).Height(), 4 * 22 + 2);
    ex->SetDroppedDown(false);
    ex->SetImages(nullptr);
}

}  // namespace
}  // namespace tarvel
