// Menu entries tied to actions: the values an entry takes and follows, what
// a chosen entry runs, and the update of every entry before its menu opens.

#include "platform/classlib/ActnList.h"
#include "tests/skin/forms/MenuFixture.h"

namespace tarvel::testing {
namespace {

class MenuActionsTest : public MenuTest {
protected:
    void SetUp() override {
        MenuTest::SetUp();
        MakeForm(false);  // the shown form whose keys the menu loop takes
    }
};

TAction* MakeAction(TComponent* owner) {
    auto* a = new TAction(owner);
    a->SetCaption("&Save");
    a->SetChecked(true);
    a->SetHelpContext(12);
    a->SetHint("Writes it");
    a->SetImageIndex(3);
    a->SetShortCut(scCtrl | 'S');
    return a;
}

TEST_F(MenuActionsTest, AnEntryTakesTheActionsValuesAndFollowsItsChanges) {
    TAction* action = MakeAction(menu_);
    TTeItem* item = Add(root_, "");
    item->SetAction(action);
    EXPECT_EQ(item->Caption(), u"&Save");
    EXPECT_TRUE(item->Checked());
    EXPECT_EQ(item->HelpContext, 12);
    EXPECT_EQ(item->Hint, "Writes it");
    EXPECT_EQ(item->ImageIndex(), 3);
    EXPECT_EQ(item->ShortCut, scCtrl | 'S');
    TTeItemActionLink* link = item->ActionLink();
    ASSERT_NE(link, nullptr);
    EXPECT_EQ(link->Client, item);
    for (bool linked : {link->IsCaptionLinked(), link->IsCheckedLinked(), link->IsEnabledLinked(),
                        link->IsHelpContextLinked(), link->IsHintLinked(), link->IsImageIndexLinked(),
                        link->IsShortCutLinked(), link->IsVisibleLinked(), link->IsOnExecuteLinked()})
        EXPECT_TRUE(linked);

    action->SetEnabled(false);
    action->SetVisible(false);
    action->SetCaption("Save &as");
    EXPECT_FALSE(item->Enabled());
    EXPECT_FALSE(item->Visible());
    EXPECT_EQ(item->Caption(), u"Save &as");

    // An entry changed by hand no longer counts as linked for that value.
    item->SetChecked(false);
    item->Hint = "mine";
    EXPECT_FALSE(link->IsCheckedLinked());
    EXPECT_FALSE(link->IsHintLinked());
    EXPECT_TRUE(link->IsCaptionLinked());

    // The action going leaves the entry as it is, without an action.
    delete action;
    EXPECT_EQ(item->GetAction(), nullptr);
    EXPECT_EQ(item->Caption(), u"Save &as");
}

TEST_F(MenuActionsTest, AnEntryLoadedWithItsActionKeepsTheValuesItWasGiven) {
    TTeItem* item = nullptr;
    {
        TLoadingScope loading(menu_);
        TAction* action = MakeAction(menu_);  // read from the same form
        auto* loaded = new TTeItem(menu_);
        loaded->SetCaption(u"Own caption");
        loaded->ShortCut = scCtrl | 'O';
        loaded->SetAction(action);
        item = loaded;
        loading.Finish();  // Loaded: the action once more, defaults only
    }
    EXPECT_EQ(item->Caption(), u"Own caption");
    EXPECT_EQ(item->ShortCut, scCtrl | 'O');
    EXPECT_TRUE(item->Checked()) << "a value still at its default is the action's";
    EXPECT_EQ(item->Hint, "Writes it");
}

TEST_F(MenuActionsTest, AChosenEntryRunsItsActionOnceOrItsOwnHandler) {
    TAction* action = MakeAction(menu_);
    int executed = 0, own = 0;
    action->OnExecute = [&](TObject*) { ++executed; };
    TTeItem* linked = Add(root_, "");
    linked->SetAction(action);  // its click is now the action's handler
    linked->DoClick();
    ui_.RunUntilIdle();
    EXPECT_EQ(executed, 1) << "run as the action, not as the copied click handler and the action";

    TTeItem* mine = Add(root_, "");
    mine->SetAction(action);
    mine->OnClick = [&](TObject*) { ++own; };
    mine->DoClick();
    ui_.RunUntilIdle();
    EXPECT_EQ(own, 1);
    EXPECT_EQ(executed, 1);

    // The action updates the entry before the click: disabled there, nothing runs.
    action->OnUpdate = [&](TObject*) { action->SetEnabled(false); };
    linked->DoClick();
    ui_.RunUntilIdle();
    EXPECT_EQ(executed, 1);
    EXPECT_FALSE(linked->Enabled());
}

TEST_F(MenuActionsTest, EveryEntryUpdatesItsActionBeforeTheMenuOpens) {
    std::vector<String> order;
    TAction* action = MakeAction(menu_);
    action->OnUpdate = [&](TObject*) {
        order.push_back("update");
        action->SetCaption("Updated");
    };
    TTeItem* item = Add(root_, "");
    item->SetAction(action);
    Add(root_, "Other");
    root_->OnBeforeDropDown = [&](TObject*) { order.push_back("drop-down"); };
    WideString shown;
    Then([&] {
        shown = item->Caption();
        Key(VK_ESCAPE);
    });
    Open(TPoint{300, 200});
    EXPECT_EQ(order, (std::vector<String>{"update", "drop-down"}));
    EXPECT_EQ(shown, u"Updated");
    EXPECT_EQ(StuckMenus(), 0);
}

}  // namespace
}  // namespace tarvel::testing
