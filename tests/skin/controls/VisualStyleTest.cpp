// The buttons, check boxes, radio buttons and speed buttons drawn by a
// visual style: a style whose every part is a strip of coloured frames,
// one per state, so the colour a control shows tells which state of the
// style it asked for.

#include <gtest/gtest.h>

#include <functional>

#include "RecordingThemeFixture.h"
#include "platform/classlib/StdCtrls_Edit.h"
#include "skin/controls/te_controls_check.h"
#include "skin/controls/te_controls_speedbutton.h"
#include "tests/skin/themes/MsStylesFixture.h"

namespace tarvel {
namespace {

class VisualStyleTest : public testing::SkinControlsTest {
protected:
    void SetUp() override {
        SkinControlsTest::SetUp();
        auto* style = new TTeThemeMsStyles();
        ASSERT_TRUE(testing::LoadContainer(
            *style, testing::Container("Strips", testing::StripStyle(), {testing::StateStrip()})));
        ChangeTheme(style);
        ui_.RunUntilIdle();
    }
    // The state of the style shown at a client point of the control.
    int StateAt(TControl* c, TPoint p) { return testing::StateOf(ShownAt(c, p.x, p.y)); }

    using Setup = std::function<void(VisualStyleTest&, TControl*)>;
    static Setup Nothing() {
        return [](VisualStyleTest&, TControl*) {};
    }
    static Setup Disable() {
        return [](VisualStyleTest&, TControl* c) { c->SetEnabled(false); };
    }
    static Setup Hover() {
        return [](VisualStyleTest& t, TControl* c) { t.MoveTo(c, {3, 3}); };
    }
    static Setup Press() {
        return [](VisualStyleTest& t, TControl* c) { t.Down(c, {3, 3}); };
    }
    static Setup Focus() {
        return [](VisualStyleTest&, TControl* c) { static_cast<TWinControl*>(c)->SetFocus(); };
    }
    // Runs each case on a fresh control, the mouse parked away from it.
    template <class Case, class Make, class Check>
    void RunCases(const std::vector<Case>& cases, Make make, Check check) {
        for (const Case& k : cases) {
            SCOPED_TRACE(k.name);
            TControl* c = make();
            MoveTo(form_, {390, 290});
            k.setUp(*this, c);
            ui_.RunUntilIdle();
            check(c, k);
            Up(c, {3, 3});
            delete c;
        }
    }
};

TEST_F(VisualStyleTest, APushButtonShowsTheStyleStateOfItsCondition) {
    struct Case {
        const char* name;
        Setup setUp;
        int state;
    };
    const std::vector<Case> cases = {
        {"normal", Nothing(), 1},
        {"hot", Hover(), 2},
        {"pressed", Press(), 3},
        {"disabled", Disable(), 4},
        {"focused", Focus(), 5},
        {"default", [](VisualStyleTest&, TControl* c) { static_cast<TTeButton*>(c)->SetDefault(true); }, 5},
    };
    TEdit* edit = Make<TEdit>(20, 200);
    RunCases(
        cases,
        [&] {
            edit->SetFocus();
            return Make<TTeButton>(20, 20);
        },
        [&](TControl* c, const Case& k) {
            EXPECT_EQ(StateAt(c, {3, 3}), k.state);
        });
}

TEST_F(VisualStyleTest, CheckBoxesAndRadioButtonsShowTheStyleStateOfTheirMarkAndCondition) {
    struct Case {
        const char* name;
        Setup setUp;
        int check;  // the check box's state: unchecked 1-4, checked 5-8, mixed 9-12
        int radio;  // the radio button's state: unchecked 1-4, checked 5-8
    };
    auto mark = [](int state) {
        return [state](VisualStyleTest&, TControl* c) {
            if (auto* box = dynamic_cast<TTeCheckBox*>(c)) {
                box->SetAllowGrayed(true);
                box->SetState(static_cast<TTeCheckBoxState>(state));
            } else {
                static_cast<TTeRadioButton*>(c)->SetChecked(state != 0);
            }
        };
    };
    auto both = [](Setup a, Setup b) {
        return [a, b](VisualStyleTest& t, TControl* c) {
            a(t, c);
            b(t, c);
        };
    };
    const std::vector<Case> cases = {
        {"unchecked", Nothing(), 1, 1},
        {"unchecked hot", Hover(), 2, 2},
        // A radio button checks itself when the press gives it the focus.
        {"unchecked pressed", Press(), 3, 7},
        {"unchecked disabled", Disable(), 4, 4},
        {"checked", mark(1), 5, 5},
        {"checked hot", both(mark(1), Hover()), 6, 6},
        {"checked disabled", both(mark(1), Disable()), 8, 8},
        {"mixed", mark(2), 9, 5},
        {"mixed hot", both(mark(2), Hover()), 10, 6},
        {"mixed disabled", both(mark(2), Disable()), 12, 8},
    };
    for (bool radio : {false, true}) {
        SCOPED_TRACE(radio ? "radio button" : "check box");
        RunCases(
            cases,
            [&]() -> TControl* {
                if (radio) return Make<TTeRadioButton>(20, 20);
                return Make<TTeCheckBox>(20, 20);
            },
            [&](TControl* c, const Case& k) {
                const TRect box = static_cast<TTeCustomCheck*>(c)->GetBoxRect();
                EXPECT_EQ(StateAt(c, {(box.left + box.right) / 2, (box.top + box.bottom) / 2}),
                          radio ? k.radio : k.check);
            });
    }
}

TEST_F(VisualStyleTest, AFlatSpeedButtonShowsTheToolbarStateOfItsCondition) {
    struct Case {
        const char* name;
        Setup setUp;
        int state;
    };
    auto latch = [](VisualStyleTest&, TControl* c) {
        auto* b = static_cast<TTeSpeedButton*>(c);
        b->SetGroupIndex(1);
        b->SetDown(true);
    };
    const std::vector<Case> cases = {
        {"normal", Nothing(), 1},
        {"hot", Hover(), 2},
        {"pressed", Press(), 3},
        {"disabled", Disable(), 4},
        {"latched", latch, 5},
        {"latched and hot",
         [latch](VisualStyleTest& t, TControl* c) {
             latch(t, c);
             t.MoveTo(c, {3, 3});
         },
         6},
    };
    RunCases(
        cases, [&] { return Make<TTeSpeedButton>(20, 20); },
        [&](TControl* c, const Case& k) {
            EXPECT_EQ(StateAt(c, {3, 3}), k.state);
        });
}

}  // namespace
}  // namespace tarvel
