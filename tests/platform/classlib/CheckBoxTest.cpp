// Check boxes, radio buttons and radio groups: a changed state clicks, a
// radio button unchecks its siblings, the group reports its item.

#include "platform/classlib/StdCtrls_Check.h"

#include "ControlFixture.h"

namespace tarvel {
namespace {

class CheckBoxTest : public ControlFixture {
protected:
    bool refuse = false;
};

TEST_F(CheckBoxTest, SettingAChangedStateClicksAsTheUserWould) {
    auto* box = Add<TCheckBox>("Protect", Bounds(10, 10, 120, 17));
    box->SetCaption("&Protect");
    std::vector<bool> clicks;
    box->OnClick = [&](TObject*) {
        clicks.push_back(box->Checked());
        // The refused start: the handler unchecks, which runs it once more.
        if (box->Checked() && refuse) box->SetChecked(false);
    };
    box->SetChecked(true);
    box->SetChecked(true);  // no change, no click
    refuse = true;
    ShowForm();
    ui.Click(box);
    ui.Click(box);
    EXPECT_EQ(clicks, (std::vector<bool>{true, false, true, false}));
    EXPECT_FALSE(box->Checked());
}

TEST_F(CheckBoxTest, KeysAndGrayedStates) {
    auto* box = Add<TCheckBox>("Grayed", Bounds(10, 10, 120, 17));
    box->SetAllowGrayed(true);
    ShowForm();
    ui.Click(box);
    EXPECT_EQ(box->State(), cbChecked);
    ui.PressKey(VK_SPACE);
    EXPECT_EQ(box->State(), cbGrayed);
    ui.PressKey(VK_SPACE);
    EXPECT_EQ(box->State(), cbUnchecked);
    box->SetEnabled(false);
    ui.ClickAt(form, TPoint{15, 15});
    EXPECT_EQ(box->State(), cbUnchecked);
}

TEST_F(CheckBoxTest, RadioButtonsOfOneParentExcludeEachOther) {
    auto* group = Add<TGroupBox>("Mode", Bounds(10, 10, 200, 100));
    group->SetCaption("Work mode");
    auto* a = Add<TRadioButton>("Charge", Bounds(10, 20, 100, 17), group);
    auto* b = Add<TRadioButton>("Discharge", Bounds(10, 40, 100, 17), group);
    auto* other = Add<TRadioButton>("Elsewhere", Bounds(10, 120, 100, 17));
    int clicks = 0;
    for (auto* r : {a, b}) r->OnClick = [&](TObject*) { ++clicks; };
    other->SetChecked(true);
    a->SetChecked(true);
    ShowForm();
    ui.Click(b);
    EXPECT_FALSE(a->Checked());
    EXPECT_TRUE(b->Checked());
    EXPECT_TRUE(other->Checked());
    ui.Click(b);  // already checked: stays, no click
    ui.PressKey(VK_UP);
    EXPECT_TRUE(a->Checked());
    EXPECT_EQ(ui.FocusedControl(), a);
    EXPECT_EQ(clicks, 3);
    // Children sit below the caption line.
    EXPECT_GT(group->ClientRect().Height(), 0);
}

TEST_F(CheckBoxTest, RadioGroupReportsItsItemIndex) {
    auto* rg = Add<TRadioGroup>("Port", Bounds(10, 10, 200, 120));
    rg->SetCaption("Port");
    for (const char* s : {"COM1", "COM2", "COM3"}) rg->Items()->Add(s);
    int clicks = 0;
    rg->OnClick = [&](TObject*) { ++clicks; };
    ShowForm();
    EXPECT_EQ(rg->ItemIndex(), -1);
    ui.PickItem(rg, "COM2");
    EXPECT_EQ(rg->ItemIndex(), 1);
    EXPECT_TRUE(rg->Buttons(1)->Checked());
    rg->SetItemIndex(2);
    EXPECT_FALSE(rg->Buttons(1)->Checked());
    rg->SetColumns(3);
    EXPECT_EQ(rg->Buttons(0)->Top(), rg->Buttons(2)->Top());
    rg->Items()->Delete(2);
    EXPECT_EQ(rg->ItemIndex(), -1);
    EXPECT_EQ(clicks, 2);
}

}  // namespace
}  // namespace tarvel
