// The skinned check box and radio button: the click cycle, OnClick from
// code, radio groups by parent and GroupIndex, the states they ask the
// theme for, and where the box and caption go.

#include "skin/controls/te_controls_check.h"

#include <gtest/gtest.h>

#include <functional>

#include "RecordingThemeFixture.h"
#include "platform/classlib/StdCtrls_Edit.h"
#include "skin/controls/te_controls_group.h"

namespace tarvel {
namespace {

using testing::SkinControlsTest;
using testing::TRecordingTheme;

class TeCheckTest : public SkinControlsTest {
protected:
    template <class T>
    T* MakeCheck(int left, int top, TWinControl* parent = nullptr) {
        T* c = Make<T>(left, top);
        if (parent) c->SetParent(parent);
        c->SetCaption(u"Option");
        c->OnClick = [this, c](TObject*) { clicks_.push_back(c); };
        ui_.RunUntilIdle();
        return c;
    }
    std::vector<TObject*> clicks_;
};

TEST_F(TeCheckTest, ClicksCycleThroughTheStatesAndEachChangeFiresOnClick) {
    struct Case {
        bool allowGrayed;
        std::vector<TTeCheckBoxState> after;  // the state after each click
    };
    const Case cases[] = {
        {false, {kcbsChecked, kcbsUnChecked, kcbsChecked}},
        {true, {kcbsMixed, kcbsChecked, kcbsUnChecked, kcbsMixed}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.allowGrayed ? "grayed allowed" : "two states");
        clicks_.clear();
        TTeCheckBox* box = MakeCheck<TTeCheckBox>(20, 20);
        box->SetAllowGrayed(c.allowGrayed);
        for (size_t i = 0; i < c.after.size(); ++i) {
            ui_.Click(box);
            EXPECT_EQ(box->State(), c.after[i]) << "click " << i + 1;
            EXPECT_EQ(clicks_.size(), i + 1);
            EXPECT_EQ(box->Checked(), c.after[i] == kcbsChecked);
        }
        // Space does the same as a click.
        const TTeCheckBoxState before = box->State();
        box->SetFocus();
        ui_.PressKey(VK_SPACE);
        EXPECT_NE(box->State(), before);
        delete box;
    }
}

TEST_F(TeCheckTest, CodeChangesFireOnClickOnlyWhenTheStateMoves) {
    TTeCheckBox* box = MakeCheck<TTeCheckBox>(20, 20);
    box->SetChecked(true);
    box->SetChecked(true);
    EXPECT_EQ(clicks_.size(), 1u);
    box->SetState(kcbsMixed);
    EXPECT_FALSE(box->Checked()) << "a mixed box does not read as checked";
    box->SetChecked(false);
    EXPECT_EQ(box->State(), kcbsUnChecked);
    EXPECT_EQ(clicks_.size(), 3u);
    // While the form is being read nothing is reported.
    TTeCheckBox loading(nullptr);
    int fired = 0;
    loading.OnClick = [&](TObject*) { ++fired; };
    {
        TLoadingScope scope(&loading);
        loading.SetChecked(true);
        scope.Finish();
    }
    EXPECT_TRUE(loading.Checked());
    EXPECT_EQ(fired, 0);
}

TEST_F(TeCheckTest, AReleaseOutsideLeavesTheStateButTheFarEdgesCountAsInside) {
    struct Case {
        TPoint release;
        bool toggles;
    };
    const Case cases[] = {{{98, 20}, true}, {{99, 10}, false}, {{10, 21}, false}, {{-1, 10}, false}};
    for (const Case& c : cases) {
        TTeCheckBox* box = MakeCheck<TTeCheckBox>(20, 20);
        Down(box, {5, 5});
        EXPECT_TRUE(box->Pressed());
        MoveTo(box, c.release);
        Up(box, c.release);
        EXPECT_FALSE(box->Pressed());
        EXPECT_EQ(box->Checked(), c.toggles) << c.release.x << "," << c.release.y;
        delete box;
    }
}

TEST_F(TeCheckTest, CheckingARadioButtonUnchecksOnlyItsGroupInTheSameParent) {
    TTeGroupBox* other = Make<TTeGroupBox>(200, 20);
    TTeRadioButton* a = MakeCheck<TTeRadioButton>(20, 20);
    TTeRadioButton* b = MakeCheck<TTeRadioButton>(20, 45);
    TTeRadioButton* c = MakeCheck<TTeRadioButton>(20, 70);
    TTeRadioButton* elsewhere = MakeCheck<TTeRadioButton>(15, 30, other);
    c->SetGroupIndex(1);
    b->SetChecked(true);
    c->SetChecked(true);
    elsewhere->SetChecked(true);
    clicks_.clear();

    ui_.Click(a);
    EXPECT_TRUE(a->Checked());
    EXPECT_FALSE(b->Checked());
    EXPECT_TRUE(c->Checked()) << "another GroupIndex";
    EXPECT_TRUE(elsewhere->Checked()) << "another parent";
    EXPECT_EQ(clicks_, (std::vector<TObject*>{a})) << "unchecking fires nothing";
    EXPECT_TRUE(a->TabStop());
    EXPECT_FALSE(b->TabStop());

    // Clicking a checked button changes nothing.
    ui_.Click(a);
    EXPECT_TRUE(a->Checked());
    EXPECT_EQ(clicks_.size(), 1u);
}

TEST_F(TeCheckTest, TabbingOntoARadioButtonChecksIt) {
    TEdit* edit = Make<TEdit>(20, 100);
    TTeRadioButton* radio = MakeCheck<TTeRadioButton>(20, 20);
    radio->SetTabStop(true);
    radio->SetTabOrder(1);
    edit->SetTabOrder(0);
    edit->SetFocus();
    ui_.RunUntilIdle();
    ASSERT_FALSE(radio->Checked());
    ui_.PressKey(VK_TAB);
    EXPECT_EQ(ui_.FocusedControl(), radio);
    EXPECT_TRUE(radio->Checked());
    EXPECT_EQ(clicks_, (std::vector<TObject*>{radio}));
}

TEST_F(TeCheckTest, EachConditionAsksTheThemeForItsBoxAndTextState) {
    struct Case {
        const char* name;
        std::function<void(TeCheckTest&, TTeCheckBox*)> setUp;
        TTeCheckBoxState state;
        TteCheckDrawState box;
        int text;  // 0 normal, 1 hot, 2 pressed, 3 disabled, 4 focused
    };
    const auto none = [](TeCheckTest&, TTeCheckBox*) {};
    const auto disable = [](TeCheckTest&, TTeCheckBox* c) { c->SetEnabled(false); };
    const auto press = [](TeCheckTest& t, TTeCheckBox* c) { t.Down(c, {5, 5}); };
    const auto hover = [](TeCheckTest& t, TTeCheckBox* c) { t.MoveTo(c, {5, 5}); };
    const auto focus = [](TeCheckTest&, TTeCheckBox* c) { c->SetFocus(); };
    const Case cases[] = {
        {"normal", none, kcbsUnChecked, kcdsUncheckedNormal, 0},
        {"normal checked", none, kcbsChecked, kcdsCheckedNormal, 0},
        {"normal mixed", none, kcbsMixed, kcdsMixedNormal, 0},
        {"disabled", disable, kcbsUnChecked, kcdsUncheckedDisabled, 3},
        {"disabled checked", disable, kcbsChecked, kcdsCheckedDisabled, 3},
        {"disabled mixed", disable, kcbsMixed, kcdsMixedDisabled, 3},
        {"pressed beats hot and focused", press, kcbsUnChecked, kcdsUncheckedPressed, 2},
        {"pressed checked", press, kcbsChecked, kcdsCheckedPressed, 2},
        {"pressed mixed", press, kcbsMixed, kcdsMixedPressed, 2},
        {"hot", hover, kcbsUnChecked, kcdsUncheckedHot, 1},
        {"hot checked", hover, kcbsChecked, kcdsCheckedHot, 1},
        {"hot mixed", hover, kcbsMixed, kcdsMixedHot, 1},
        {"focus shows in the text only", focus, kcbsChecked, kcdsCheckedNormal, 4},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        TRecordingTheme* theme = UseRecordingTheme();
        TTeCheckBox* box = MakeCheck<TTeCheckBox>(20, 20);
        box->SetState(c.state);
        MoveTo(form_, {390, 290});
        c.setUp(*this, box);
        RepaintRecorded(theme, box);
        const auto boxes = theme->CallsOf("CheckDraw");
        const auto texts = theme->CallsOf("CheckDrawText");
        ASSERT_FALSE(boxes.empty());
        ASSERT_FALSE(texts.empty());
        EXPECT_EQ(boxes.back().state, c.box);
        EXPECT_EQ(texts.back().state, c.text);
        EXPECT_EQ(texts.back().text, u"Option");
        Up(box, {5, 5});
        delete box;
    }
}

TEST_F(TeCheckTest, TheRadioBoxStateFollowsCheckedInTheSameOrder) {
    struct Case {
        bool checked;
        bool enabled;
        TteCheckDrawState box;
    };
    const Case cases[] = {{false, true, kcdsUncheckedNormal},
                          {true, true, kcdsCheckedNormal},
                          {false, false, kcdsUncheckedDisabled},
                          {true, false, kcdsCheckedDisabled}};
    for (const Case& c : cases) {
        TRecordingTheme* theme = UseRecordingTheme();
        TTeRadioButton* radio = MakeCheck<TTeRadioButton>(20, 20);
        radio->SetChecked(c.checked);
        radio->SetEnabled(c.enabled);
        RepaintRecorded(theme, radio);
        const auto boxes = theme->CallsOf("RadioDraw");
        ASSERT_FALSE(boxes.empty());
        EXPECT_EQ(boxes.back().state, c.box) << c.checked << c.enabled;
        delete radio;
    }
}

TEST_F(TeCheckTest, TheBoxSideDecidesWhereTheCaptionStarts) {
    struct Case {
        TTeLeftRight alignment;
        int boxLeft;
        int textLeft;
    };
    // The recording theme's box is 15 x 15 in a 98 x 20 control.
    const Case cases[] = {{kalLeftJustify, 0, 15 + 5}, {kalRightJustify, 98 - 15, 2}};
    for (const Case& c : cases) {
        TRecordingTheme* theme = UseRecordingTheme();
        TTeCheckBox* box = MakeCheck<TTeCheckBox>(20, 20);
        box->SetAlignment(c.alignment);
        box->SetThemeObject("mine");
        RepaintRecorded(theme, box);
        const auto boxes = theme->CallsOf("CheckDraw");
        const auto texts = theme->CallsOf("CheckDrawText");
        ASSERT_FALSE(boxes.empty());
        ASSERT_FALSE(texts.empty());
        EXPECT_EQ(boxes.back().rect, (TRect{c.boxLeft, 2, c.boxLeft + 15, 17}));
        EXPECT_EQ(texts.back().rect.left, c.textLeft);
        // Another theme object changes the box, not the caption's object.
        EXPECT_EQ(boxes.back().object, "mine");
        EXPECT_EQ(texts.back().object, "default");
        delete box;
    }
}

TEST_F(TeCheckTest, AutoSizeFitsTheWidthToTheCaptionAndTheClassicBox) {
    TTeCheckBox* box = MakeCheck<TTeCheckBox>(20, 20);
    box->SetCaption(u"");
    box->SetAutoSize(true);
    EXPECT_EQ(box->Width(), 13 + 5 + 2) << "an empty caption leaves the box and the spacing";
    EXPECT_EQ(box->Height(), 20);
    const int empty = box->Width();
    box->SetCaption(u"A much longer caption");
    EXPECT_GT(box->Width(), empty + 40);
    box->SetSpacing(9);
    box->SetAutoSize(true);
    const int spaced = box->Width();
    box->SetSpacing(5);
    box->SetAutoSize(true);
    EXPECT_EQ(spaced - box->Width(), 4);
}

TEST_F(TeCheckTest, TheAcceleratorFocusesAndToggles) {
    TTeCheckBox* box = MakeCheck<TTeCheckBox>(20, 20);
    TTeRadioButton* radio = MakeCheck<TTeRadioButton>(20, 50);
    box->SetCaption(u"&Keep");
    radio->SetCaption(u"&Use");
    EXPECT_EQ(form_->Perform(CM_DIALOGCHAR, 'k', 0), 1);
    EXPECT_TRUE(box->Checked());
    EXPECT_EQ(ui_.FocusedControl(), box);
    EXPECT_EQ(form_->Perform(CM_DIALOGCHAR, 'u', 0), 1);
    EXPECT_TRUE(radio->Checked());
    EXPECT_EQ(form_->Perform(CM_DIALOGCHAR, 'x', 0), 0);
}

}  // namespace
}  // namespace tarvel
