// Actions: what an action pushes to the controls linked to it, what a click
// runs, and the idle update with the action list asked first.

#include "platform/classlib/ActnList.h"

#include "ControlFixture.h"
#include "platform/classlib/StdCtrls.h"

namespace tarvel {
namespace {

class ActionsTest : public ControlFixture {
protected:
    ActionsTest() {
        list = new TActionList(form);
        action = new TAction(form);
        action->SetActionList(list);
        button = Add<TButton>("Go", Bounds(10, 10, 75, 25));
    }
    TActionList* list;
    TAction* action;
    TButton* button;
};

TEST_F(ActionsTest, ActionValuesReachTheControlUntilItIsChangedByHand) {
    action->SetCaption("&Open");
    action->SetHint("Opens it");
    button->SetAction(action);
    EXPECT_EQ(button->Caption(), "&Open");
    EXPECT_EQ(button->Hint(), "Opens it");

    action->SetCaption("&Load");
    action->SetEnabled(false);
    action->SetVisible(false);
    EXPECT_EQ(button->Caption(), "&Load");
    EXPECT_FALSE(button->Enabled());
    EXPECT_FALSE(button->Visible());

    // A value set on the control itself unlinks it until the action
    // changes again, which brings all of its values back.
    auto* link = dynamic_cast<TActionLink*>(action->Clients(0));
    ASSERT_NE(link, nullptr);
    EXPECT_TRUE(link->IsCaptionLinked());
    button->SetCaption("Mine");
    EXPECT_FALSE(link->IsCaptionLinked());
    EXPECT_TRUE(link->IsHintLinked());
    action->SetEnabled(true);
    EXPECT_EQ(button->Caption(), "&Load");
    EXPECT_TRUE(button->Enabled());

    button->SetAction(nullptr);
    action->SetEnabled(false);
    EXPECT_TRUE(button->Enabled()) << "no link, no change";
}

TEST_F(ActionsTest, AControlLinkedWhileLoadingKeepsWhatItAlreadyHas) {
    button->SetCaption("Kept");
    action->SetCaption("Action's");
    action->SetHint("Action's hint");
    {
        TLoadingScope loading(form);
        TComponent* late = new TAction(form);  // read while the form loads
        static_cast<TAction*>(late)->SetCaption("Late");
        button->SetAction(static_cast<TAction*>(late));
        EXPECT_EQ(button->Caption(), "Kept") << "a loading action only fills defaults";
        EXPECT_EQ(button->Hint(), "");
        loading.Finish();
    }
    button->SetAction(action);
    EXPECT_EQ(button->Caption(), "Action's") << "a loaded action overwrites";
    EXPECT_EQ(button->Hint(), "Action's hint");
}

TEST_F(ActionsTest, AClickRunsTheActionUnlessTheControlHasAHandlerOfItsOwn) {
    int executed = 0, own = 0;
    TComponent* runBy = nullptr;
    action->SetOnExecute([&](TObject* sender) {
        ++executed;
        runBy = static_cast<TBasicAction*>(sender)->ActionComponent;
    });
    button->SetAction(action);
    ShowForm();
    ui.Click(button);
    EXPECT_EQ(executed, 1) << "the click handler taken from the action runs the action once";
    EXPECT_EQ(runBy, button);

    action->SetEnabled(false);
    button->SetEnabled(true);  // by hand, so it can be clicked
    button->Click();
    EXPECT_EQ(executed, 1) << "a disabled action does not run";
    action->SetEnabled(true);

    button->OnClick = [&](TObject*) { ++own; };
    ui.AdvanceClock(1000);  // not a double click
    ui.Click(button);
    EXPECT_EQ(executed, 1);
    EXPECT_EQ(own, 1);
}

TEST_F(ActionsTest, TheListHandlesBeforeTheActionItself) {
    int listExecuted = 0, listUpdated = 0, executed = 0, updated = 0;
    bool handled = true;
    list->OnExecute = [&](TBasicAction* a, bool& h) {
        EXPECT_EQ(a, action);
        ++listExecuted;
        h = handled;
    };
    list->OnUpdate = [&](TBasicAction*, bool& h) {
        ++listUpdated;
        h = handled;
    };
    action->OnExecute = [&](TObject*) { ++executed; };
    action->OnUpdate = [&](TObject*) { ++updated; };
    EXPECT_TRUE(action->Execute());
    EXPECT_TRUE(action->Update());
    EXPECT_EQ(listExecuted, 1);
    EXPECT_EQ(executed, 0) << "handled by the list";
    EXPECT_EQ(updated, 0);
    handled = false;
    EXPECT_TRUE(action->Execute());
    EXPECT_TRUE(action->Update());
    EXPECT_EQ(executed, 1);
    EXPECT_EQ(updated, 2) << "Execute updates first, then Update itself";
    EXPECT_EQ(listUpdated, 4);
}

TEST_F(ActionsTest, IdleUpdatesTheActionsOfShownClientsBeforeOnIdle) {
    std::vector<String> order;
    list->OnUpdate = [&](TBasicAction*, bool&) { order.push_back("list"); };
    action->OnUpdate = [&](TObject*) {
        order.push_back("action");
        action->SetEnabled(false);
    };
    auto* hidden = Add<TButton>("Hidden", Bounds(100, 10, 75, 25));
    auto* other = new TAction(form);
    other->OnUpdate = [&](TObject*) { order.push_back("hidden"); };
    hidden->SetAction(other);
    hidden->SetVisible(false);
    button->SetAction(action);
    ShowForm();
    order.clear();
    Application->OnIdle = [&](TObject*, bool& done) {
        order.push_back("idle");
        done = false;  // no wait for input in a test
    };
    Application->Idle();
    Application->OnIdle = nullptr;
    EXPECT_EQ(order, (std::vector<String>{"list", "action", "idle"}));
    EXPECT_FALSE(button->Enabled()) << "the update reached the control";
}

TEST_F(ActionsTest, FreeingAnActionOrItsListLeavesTheOthersWhole) {
    button->SetAction(action);
    EXPECT_EQ(list->ActionCount(), 1);
    EXPECT_EQ(action->Index(), 0);
    delete list;
    EXPECT_EQ(action->ActionList(), nullptr);
    EXPECT_TRUE(action->Update() == false) << "no list and no handler: nothing ran";
    delete action;
    EXPECT_EQ(button->Action(), nullptr);
    button->Click();  // no action, no handler: nothing happens
}

TEST(SameHandlerCodeTest, ComparesTheCodeNotTheData) {
    static int calls = 0;
    struct Fn {
        static void A(TObject*) { ++calls; }
        static void B(TObject*) { ++calls; }
    };
    int x = 0, y = 0;
    auto bump = [](int* p) { return [p](TObject*) { ++*p; }; };
    const TNotifyEvent a = &Fn::A, a2 = &Fn::A, b = &Fn::B, none, lx = bump(&x), ly = bump(&y),
                       other = [&](TObject*) { ++y; };
    EXPECT_TRUE(SameHandlerCode(none, none));
    EXPECT_FALSE(SameHandlerCode(a, none));
    EXPECT_TRUE(SameHandlerCode(a, a2));
    EXPECT_FALSE(SameHandlerCode(a, b));
    EXPECT_TRUE(SameHandlerCode(lx, ly)) << "one handler bound to two objects";
    EXPECT_FALSE(SameHandlerCode(lx, other));
}

}  // namespace
}  // namespace tarvel
