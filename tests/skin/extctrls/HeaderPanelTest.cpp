// The header panel: caption, button and client geometry, the button's
// mouse states and kinds, the roll on the window system's timer (shown
// heights, refusal, re-entry, linked panels, the parent following, freeing
// half-way) and what it asks a theme for.

#include <gtest/gtest.h>

#include <vector>

#include "ExtBarsFixture.h"
#include "platform/classlib/ExtCtrls.h"
#include "skin/extctrls/te_extctrls_hdrpanel.h"

namespace tarvel {
namespace {

class HeaderPanelTest : public testing::ExtBarsTest {
protected:
    TTeHeaderPanel* MakePanel(TWinControl* parent, int left, int top, int height = 100) {
        auto* p = new TTeHeaderPanel(form_);
        p->SetParent(parent);
        p->SetBounds(left, top, 100, height);
        p->OnRollup = [this](TObject*) { events_.push_back("rollup"); };
        p->OnPanelChange = [this](TObject*) { events_.push_back("change"); };
        p->OnButtonClick = [this](TObject*) { events_.push_back("click"); };
        p->OnHide = [this, p](TObject*) { events_.push_back(p->Visible() ? "hide" : "hidden"); };
        ui_.RunUntilIdle();
        return p;
    }
    // The heights shown while the roll runs, one timer tick at a time.
    std::vector<int> ShownHeights(TTeHeaderPanel* p) {
        std::vector<int> heights{p->Height()};
        for (int i = 0; i < 200 && p->Rolling(); ++i) {
            ui_.AdvanceClock(TTeHeaderPanel::kRollStepMs);
            if (p->Height() != heights.back()) heights.push_back(p->Height());
        }
        return heights;
    }
    std::vector<std::string> events_;
};

TEST_F(HeaderPanelTest, CaptionButtonAndClientAreasFollowTheOptions) {
    auto* p = MakePanel(form_, 10, 10);
    struct Case {
        bool caption, button, bevel;
        TRect captionRect, buttonRect, client;
    };
    const Case cases[] = {
        {true, true, true, {1, 1, 99, 21}, {81, 3, 97, 19}, {2, 22, 98, 98}},
        {true, false, true, {1, 1, 99, 21}, {}, {2, 22, 98, 98}},
        {true, true, false, {0, 0, 100, 20}, {82, 2, 98, 18}, {1, 21, 99, 99}},
        {false, true, true, {1, 1, 99, 21}, {}, {2, 2, 98, 98}},  // no caption: no button, client at the
                                                                  // border
    };
    for (const Case& c : cases) {
        p->SetShowCaption(c.caption);
        p->SetShowButton(c.button);
        p->SetShowBevel(c.bevel);
        EXPECT_EQ(p->GetCaptionRect(), c.captionRect) << c.caption << c.button << c.bevel;
        EXPECT_EQ(p->GetButtonRect(), c.buttonRect) << c.caption << c.button << c.bevel;
        EXPECT_EQ(p->ClientRect(), c.client) << c.caption << c.button << c.bevel;
    }
    // Hints: the caption's, the button's while hot, none without a caption.
    p->SetShowBevel(true);
    p->SetShowButton(true);
    p->SetShowCaption(true);
    p->CaptionHint = "caption";
    p->ButtonHint = "button";
    EXPECT_EQ(p->HintAt({20, 10}), "caption");
    MoveTo(p, {88, 10});
    EXPECT_EQ(p->HintAt({88, 10}), "button");
    p->SetShowCaption(false);
    EXPECT_EQ(p->HintAt({20, 10}), "");
}

TEST_F(HeaderPanelTest, AnAnimatedRollShowsOnlyHeightsDivisibleByTheStep) {
    auto* p = MakePanel(form_, 10, 10);
    p->AnimateRoll = true;
    p->SetRolled(true);
    EXPECT_TRUE(p->Rolling());
    EXPECT_FALSE(p->Rolled());
    p->SetRolled(false);  // a request while rolling does nothing
    EXPECT_EQ(ShownHeights(p), (std::vector<int>{100, 90, 80, 70, 60, 50, 40, 30, 22}));
    EXPECT_TRUE(p->Rolled());
    EXPECT_EQ(p->NormalHeight(), 100);
    EXPECT_EQ(events_, (std::vector<std::string>{"rollup", "change"}));
    p->SetHeight(60);  // a rolled panel keeps its height
    EXPECT_EQ(p->Height(), 22);
    p->SetAniSpeed(25);
    p->SetRolled(false);
    EXPECT_FALSE(p->Rolled());
    EXPECT_EQ(ShownHeights(p), (std::vector<int>{22, 25, 50, 75, 100}));
    // A step below 1 counts as 1: every height is shown.
    p->SetAniSpeed(0);
    EXPECT_EQ(p->AniSpeed(), 1);
    p->SetRolled(true);
    EXPECT_EQ(ShownHeights(p).size(), 100u - 22u + 1u);
}

TEST_F(HeaderPanelTest, ACaptionTallerThanThePanelRollsStraightToTheStrip) {
    auto* p = MakePanel(form_, 10, 10);
    p->AnimateRoll = true;
    p->SetCaptionHeight(120);
    p->SetRolled(true);
    EXPECT_FALSE(p->Rolling());
    EXPECT_TRUE(p->Rolled());
    EXPECT_EQ(p->Height(), 122);
}

TEST_F(HeaderPanelTest, LinkedPanelsBelowMoveAndARefusedRollChangesNothing) {
    auto* box = new TPanel(form_);
    box->SetParent(form_);
    box->SetBounds(0, 0, 300, 300);
    auto* top = MakePanel(box, 10, 0);
    auto* below = MakePanel(box, 10, 101);    // within 2 pixels of the bottom edge
    auto* aside = MakePanel(box, 150, 100);   // another column
    auto* further = MakePanel(box, 10, 210);  // not adjacent
    top->LinkPanels = true;
    bool allow = false;
    std::vector<bool> asked;
    top->OnBeforeRoll = [&](TObject*, bool up, bool& allowed) {
        asked.push_back(up);
        allowed = allow;
    };
    top->SetRolled(true);
    EXPECT_FALSE(top->Rolled());
    EXPECT_EQ(top->Height(), 100);
    EXPECT_EQ(below->Top(), 101);
    EXPECT_TRUE(events_.empty());
    allow = true;
    top->SetRolled(true);
    EXPECT_EQ(top->Height(), 22);
    EXPECT_EQ(below->Top(), 101 - 78);
    EXPECT_EQ(aside->Top(), 100);
    EXPECT_EQ(further->Top(), 210);
    top->SetRolled(false);
    EXPECT_EQ(top->Height(), 100);
    EXPECT_EQ(below->Top(), 101);
    EXPECT_EQ(asked, (std::vector<bool>{true, true, false}));
}

TEST_F(HeaderPanelTest, TheParentFollowsAndAPanelFreedMidRollLeavesNothingBehind) {
    auto* box = new TPanel(form_);
    box->SetParent(form_);
    box->SetBounds(0, 0, 120, 100);
    auto* p = MakePanel(box, 0, 0);
    p->ParentRoll = true;
    p->AnimateRoll = true;
    p->SetRolled(true);
    ui_.AdvanceClock(3 * TTeHeaderPanel::kRollStepMs);
    EXPECT_EQ(box->Height(), p->Height());
    EXPECT_LT(p->Height(), 100);
    ShownHeights(p);
    EXPECT_EQ(box->Height(), 22);
    p->SetRolled(false);
    ui_.AdvanceClock(2 * TTeHeaderPanel::kRollStepMs);
    delete p;
    ui_.AdvanceClock(20 * TTeHeaderPanel::kRollStepMs);
    EXPECT_LT(box->Height(), 100);
}

TEST_F(HeaderPanelTest, TheButtonPressesWhileHotAndItsKindDecidesTheClick) {
    auto* p = MakePanel(form_, 10, 10);
    Down(p, {88, 10});
    EXPECT_TRUE(p->ButtonPressed());
    MoveTo(p, {40, 10});  // off the button while held: released look
    EXPECT_FALSE(p->ButtonPressed());
    EXPECT_FALSE(p->ButtonHot());
    MoveTo(p, {88, 10});
    EXPECT_TRUE(p->ButtonPressed());
    Up(p, {88, 10});
    EXPECT_FALSE(p->ButtonPressed());
    EXPECT_TRUE(p->Rolled());
    EXPECT_EQ(events_, (std::vector<std::string>{"rollup", "change", "click"}));
    events_.clear();
    p->SetButtonKind(kpbkClose);
    Down(p, {88, 10});
    Up(p, {88, 10});
    EXPECT_FALSE(p->Visible());
    EXPECT_TRUE(p->Rolled());
    EXPECT_EQ(events_, (std::vector<std::string>{"hide", "click"}));
}

TEST_F(HeaderPanelTest, ThemedPanelsDrawFaceCaptionTextAndAButtonOfTheirState) {
    auto* theme = UseRecordingTheme();
    auto* p = MakePanel(form_, 10, 10);
    struct Case {
        TTePanelButtonKind kind;
        bool rolled, hot, enabled;
        int buttonClass, state;
    };
    const Case cases[] = {
        {kpbkRollUp, false, false, true, kbbcUp, kbbdsNormal},
        {kpbkRollUp, false, true, true, kbbcUp, kbbdsHot},
        {kpbkRollUp, true, false, true, kbbcDown, kbbdsNormal},
        {kpbkClose, true, false, false, kbbcClose, kbbdsDisabled},
    };
    for (const Case& c : cases) {
        p->SetButtonKind(c.kind);
        p->SetRolled(c.rolled);
        p->SetEnabled(c.enabled);
        MoveTo(p, c.hot ? TPoint{88, 10} : TPoint{20, 10});
        RepaintRecorded(theme, p);
        ASSERT_EQ(theme->Ops(),
                  (std::vector<String>{"BarDraw", "BarDrawCaption", "BarDrawText", "BarDrawButton"}));
        EXPECT_EQ(theme->Calls[0].rect.top, 20);  // the face starts under the caption
        EXPECT_EQ(theme->Calls[2].rect, (TRect{6, 1, 94, 21}));
        EXPECT_EQ(theme->Calls[3].kind, c.buttonClass);
        EXPECT_EQ(theme->Calls[3].state, c.state);
    }
}

}  // namespace
}  // namespace tarvel
