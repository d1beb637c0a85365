// The extra-control bases repainting on theme news, and the labeled edit
// keeping its label beside itself as it moves, hides, is disabled,
// re-parented or renamed.
#include <gtest/gtest.h>

#include "skin/extras/te_extended_controls.h"
#include "tests/skin/controls/EditFixture.h"

namespace tarvel {
namespace {

class LabeledEditTest : public testing::EditTest {
protected:
    // A labeled edit at (10, 40) 21 high with a fixed-size label.
    TTeLabeledEdit* Edit(int labelWidth = 50, int labelHeight = 13) {
        auto* e = Make<TTeLabeledEdit>(10, 40, 121);
        e->EditLabel()->SetAutoSize(false);
        e->EditLabel()->SetWidth(labelWidth);
        e->EditLabel()->SetHeight(labelHeight);
        e->SetBounds(10, 40, 121, 21);
        return e;
    }
    static TPoint LabelAt(TTeLabeledEdit* e) { return {e->EditLabel()->Left(), e->EditLabel()->Top()}; }
};

TEST_F(LabeledEditTest, TheLabelSitsOnTheChosenSide) {
    struct Case {
        TTeLabelPosition pos;
        int labelHeight;
        TPoint at;
    };
    // Edit (10, 40) 121 x 21, label 50 wide, spacing 3.
    for (const Case& c :
         {Case{lpAbove, 13, {10, 24}}, Case{lpBelow, 13, {10, 64}}, Case{lpLeft, 13, {-43, 44}},
          Case{lpRight, 13, {134, 44}}, Case{lpLeft, 24, {-43, 39}}}) {
        SCOPED_TRACE(c.pos);
        TTeLabeledEdit* e = Edit(50, c.labelHeight);
        e->SetLabelPosition(c.pos);
        EXPECT_EQ(LabelAt(e), c.at);
        delete e;
    }
}

TEST_F(LabeledEditTest, TheLabelFollowsTheEditAndItsSpacing) {
    TTeLabeledEdit* e = Edit();
    EXPECT_EQ(e->LabelPosition(), lpAbove);
    EXPECT_EQ(e->LabelSpacing(), 3);
    e->SetLabelPosition(lpLeft);
    e->SetBounds(100, 70, 80, 21);
    EXPECT_EQ(LabelAt(e), (TPoint{47, 74}));
    e->SetLabelSpacing(10);
    EXPECT_EQ(LabelAt(e), (TPoint{40, 74}));

    // An auto-sized label that takes a longer caption keeps its right edge.
    e->EditLabel()->SetAutoSize(true);
    e->EditLabel()->SetCaption(u"A much longer caption than before");
    EXPECT_EQ(e->EditLabel()->Left() + e->EditLabel()->Width(), 90);
}

TEST_F(LabeledEditTest, TheBoundLabelIsNamedAfterItsPartAndCaptionedWithItsOwner) {
    TComponent owner(nullptr);
    owner.SetName("Voltage");
    TTeBoundLabel label(&owner);
    EXPECT_EQ(label.Name(), "SubLabel");
    EXPECT_EQ(label.GetCaption(), u"Voltage");
    // Alone (not a labeled edit's) it sizes like any label.
    label.SetAutoSize(false);
    label.SetWidth(33);
    label.SetHeight(12);
    EXPECT_EQ(label.Width(), 33);
    EXPECT_EQ(label.Height(), 12);
}

TEST_F(LabeledEditTest, HidingDisablingAndReparentingTheEditDoTheSameToItsLabel) {
    TTeLabeledEdit* e = Edit();
    EXPECT_EQ(e->EditLabel()->Parent(), Form());
    e->SetVisible(false);
    EXPECT_FALSE(e->EditLabel()->Visible());
    e->SetVisible(true);
    EXPECT_TRUE(e->EditLabel()->Visible());
    e->SetEnabled(false);
    EXPECT_FALSE(e->EditLabel()->Enabled());

    auto* panel = Make<TTeExtraControl>(0, 0);
    e->SetParent(panel);
    EXPECT_EQ(e->EditLabel()->Parent(), panel);
    EXPECT_EQ(e->EditLabel()->FocusControl(), e);
}

TEST_F(LabeledEditTest, TheEditOutlivesItsLabel) {
    TTeLabeledEdit* e = Edit();
    delete e->EditLabel();
    EXPECT_EQ(e->EditLabel(), nullptr);
    e->SetLabelPosition(lpRight);
    EXPECT_EQ(e->LabelPosition(), lpAbove);
    e->SetBounds(0, 0, 50, 21);
    e->SetVisible(false);
    e->SetEnabled(false);
}

TEST_F(LabeledEditTest, RenamingInTheDesignerRenamesOnlyACaptionThatWasTheOldName) {
    struct Case {
        const char* caption;
        const char* expected;
    };
    for (const Case& c : {Case{"", "NewName"}, Case{"oldname", "NewName"}, Case{"Port", "Port"}}) {
        SCOPED_TRACE(c.caption);
        TTeLabeledEdit* e = Edit();
        e->SetName("OldName");
        e->SetText("typed");
        e->EditLabel()->SetCaption(Utf8ToWide(c.caption));
        e->SetDesigning(true);
        e->SetName("NewName");
        EXPECT_EQ(WideToUtf8(e->EditLabel()->GetCaption()), c.expected);
        EXPECT_EQ(e->Text(), "");
        delete e;
    }
    // At run time a rename leaves caption and text alone.
    TTeLabeledEdit* e = Edit();
    e->SetName("OldName");
    e->EditLabel()->SetCaption(u"OldName");
    e->SetText("typed");
    e->SetName("Other");
    EXPECT_EQ(WideToUtf8(e->EditLabel()->GetCaption()), "OldName");
    EXPECT_EQ(e->Text(), "typed");
}

// Counts its paints.
template <class Base>
class TCounting : public Base {
public:
    using Base::Base;
    void PaintBuffer() override {
        ++Paints;
        Base::PaintBuffer();
    }
    int Paints = 0;
};

TEST_F(LabeledEditTest, EveryThemeNotificationRepaintsTheBases) {
    auto* windowed = Make<TCounting<TTeExtraControl>>(10, 10);
    auto* graphic = Make<TCounting<TTeExtraGraphicControl>>(10, 150);
    for (uintptr_t code : {tmChanged, tmBeforeChange, tmAfterChange, tmApply, tmReleased, tmSystemChanged}) {
        SCOPED_TRACE(code);
        ui_.RunUntilIdle();
        windowed->Paints = graphic->Paints = 0;
        windowed->Perform(SNM_THEMEMESSAGE, code, 0);
        graphic->Perform(SNM_THEMEMESSAGE, code, 0);
        ui_.RunUntilIdle();
        EXPECT_GT(windowed->Paints, 0);
        EXPECT_GT(graphic->Paints, 0);
    }
    EXPECT_EQ(windowed->GetVersionExtra(), "2.0.6");
    windowed->SetVersionExtra("9.9");
    EXPECT_EQ(windowed->GetVersionExtra(), "2.0.6");
    EXPECT_EQ(windowed->ThemeObject(), "");
}

TEST_F(LabeledEditTest, TheExtraComboIsAComboWithAFixedVersion) {
    auto* combo = Make<TTeExtraComboBox>(10, 10);
    EXPECT_EQ(combo->GetVersionExtra(), "2.0.6");
    combo->SetVersionExtra("9.9");
    EXPECT_EQ(combo->GetVersionExtra(), "2.0.6") << "form data cannot change it";
    combo->Items()->Add("Flat");
    combo->Items()->Add("Office");
    combo->SetFocus();
    ui_.RunUntilIdle();
    ui_.PressKey(VK_DOWN);
    ui_.PressKey(VK_DOWN);
    EXPECT_EQ(combo->ItemIndex(), 1);
    EXPECT_EQ(combo->Text(), "Office");
}

}  // namespace
}  // namespace tarvel
