// Hints: the control's Hint shows after the hint pause, below the pointer,
// and goes on a click, a key, or a move to another control.

#include <gtest/gtest.h>

#include "platform/classlib/Application.h"
#include "platform/classlib/ExtCtrls.h"
#include "platform/classlib/HintWindow.h"
#include "platform/classlib/StdCtrls.h"
#include "platform/classlib/testing/UiDriver.h"

namespace tarvel {
namespace {

class HintsTest : public ::testing::Test {
protected:
    void SetUp() override {
        form = new TForm(Application);
        form->SetName("Main");
        form->SetBounds(50, 50, 300, 200);
        first = Add("First", 10, "Saves the record");
        second = Add("Second", 100, "Clears the list");
        plain = Add("Plain", 190, "");
        form->Show();
        ui.RunUntilIdle();
    }
    void TearDown() override {
        Application->ShowHint = true;
        Application->HintPause = pause;
    }
    TButton* Add(const char* name, int left, const char* hint) {
        auto* b = new TButton(form);
        b->SetName(name);
        b->SetParent(form);
        b->SetBounds(left, 10, 80, 25);
        b->SetHint(hint);
        b->SetShowHint(true);
        return b;
    }
    // The hint on screen, or "" when none shows.
    static String Shown() {
        THintWindow* w = Application->HintWindow();
        return w && w->HandleAllocated() && IsWindowVisible(w->Handle()) ? w->Caption() : String();
    }

    TUiDriver ui;
    TForm* form = nullptr;
    TButton *first = nullptr, *second = nullptr, *plain = nullptr;
    const int pause = Application->HintPause;
};

TEST_F(HintsTest, TheHintShowsAfterThePauseBelowThePointerAndGoesOnAClick) {
    Application->HintPause = 500;
    ui.MoveMouseTo(first, {10, 10});
    ui.AdvanceClock(450);
    EXPECT_EQ(Shown(), "") << "not before the pause";
    ui.AdvanceClock(100);
    ASSERT_EQ(Shown(), "Saves the record");
    const TRect r = WindowRect(Application->HintWindow()->Handle());
    const TPoint pointer = first->ClientToScreen({10, 10});
    EXPECT_GT(r.top, pointer.y);
    EXPECT_LE(r.left, pointer.x + 1);
    EXPECT_EQ(GetActiveWindow(), form->Handle()) << "the hint takes neither activation nor focus";
    EXPECT_FALSE(Application->HintWindow()->Focused());

    ui.Click(first);
    EXPECT_EQ(Shown(), "");
    ui.AdvanceClock(1000);
    EXPECT_EQ(Shown(), "") << "after a click, not again over the same control";
    EXPECT_TRUE(ui.Problems().empty());
}

TEST_F(HintsTest, MovingToAnotherControlHidesTheHintAndTheNextComesSooner) {
    Application->HintPause = 500;
    ui.MoveMouseTo(first, {10, 10});
    ui.AdvanceClock(600);
    ASSERT_EQ(Shown(), "Saves the record");
    ui.MoveMouseTo(second, {10, 10});
    EXPECT_EQ(Shown(), "");
    ui.AdvanceClock(Application->HintShortPause + 20);
    EXPECT_EQ(Shown(), "Clears the list");
    ui.MoveMouseTo(plain, {10, 10});
    EXPECT_EQ(Shown(), "");
    ui.AdvanceClock(1000);
    EXPECT_EQ(Shown(), "") << "a control without a hint shows none";
    ui.MoveMouseTo(first, {10, 10});
    ui.AdvanceClock(600);
    EXPECT_EQ(Shown(), "Saves the record");
    ui.AdvanceClock(Application->HintHidePause + 20);
    EXPECT_EQ(Shown(), "") << "the hint goes after the hide pause";
}

TEST_F(HintsTest, NoHintWhenTheControlOrTheApplicationHasShowHintOff) {
    Application->HintPause = 100;
    first->SetShowHint(false);
    ui.MoveMouseTo(first, {10, 10});
    ui.AdvanceClock(300);
    EXPECT_EQ(Shown(), "");
    Application->ShowHint = false;
    ui.MoveMouseTo(second, {10, 10});
    ui.AdvanceClock(300);
    EXPECT_EQ(Shown(), "");
}

// Controls take their parent's ShowHint until they are given their own.
TEST_F(HintsTest, ShowHintFollowsTheParentUntilSetOnItsOwn) {
    auto* panel = new TPanel(form);
    panel->SetParent(form);
    panel->SetBounds(10, 60, 200, 80);
    auto* inner = new TButton(form);
    inner->SetName("Inner");
    inner->SetHint("Reads the module");
    inner->SetParent(panel);
    inner->SetBounds(10, 10, 80, 25);
    EXPECT_TRUE(inner->ParentShowHint());
    EXPECT_FALSE(inner->ShowHint());  // the form shows none
    panel->SetShowHint(true);
    EXPECT_TRUE(inner->ShowHint());
    EXPECT_FALSE(panel->ParentShowHint());
    ui.RunUntilIdle();
    ui.MoveMouseTo(inner, {10, 10});
    ui.AdvanceClock(Application->HintPause + 100);
    EXPECT_EQ(Shown(), "Reads the module");

    inner->SetShowHint(false);
    EXPECT_FALSE(inner->ParentShowHint());
    panel->SetShowHint(false);
    panel->SetShowHint(true);
    EXPECT_FALSE(inner->ShowHint()) << "its own setting stays";
    inner->SetParentShowHint(true);
    EXPECT_TRUE(inner->ShowHint());
    // A control put on a parent takes the parent's at once.
    auto* later = new TButton(form);
    later->SetParent(panel);
    EXPECT_TRUE(later->ShowHint());
}

}  // namespace
}  // namespace tarvel
