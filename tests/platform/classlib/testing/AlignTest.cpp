// Layout: Align, Anchors, Constraints and AutoSize.

#include <gtest/gtest.h>

#include "platform/classlib/StdCtrls.h"
#include "platform/classlib/testing/UiDriver.h"

namespace tarvel {
namespace {

class AlignTest : public ::testing::Test {
protected:
    void SetUp() override {
        form = new TForm(Application);
        form->SetBorderStyle(bsNone);
        form->SetBounds(0, 0, 200, 100);
    }

    TControl* Add(TAlign align, TRect bounds, bool visible = true) {
        auto* c = new TWinControl(form);
        c->SetParent(form);
        c->SetBoundsRect(bounds);
        c->SetVisible(visible);
        c->SetAlign(align);
        return c;
    }

    TUiDriver ui;
    TForm* form = nullptr;
};

TEST_F(AlignTest, SidesTakeTheirStripsInOrderAndClientTakesTheRest) {
    struct Case {
        TAlign align;
        TRect start;
        TRect expected;
    };
    const Case cases[] = {
        {alTop, Bounds(50, 40, 10, 20), Bounds(0, 10, 200, 20)},  // second from the top
        {alTop, Bounds(0, 0, 10, 10), Bounds(0, 0, 200, 10)},     // first from the top
        {alBottom, Bounds(0, 0, 10, 15), Bounds(0, 85, 200, 15)},
        {alLeft, Bounds(0, 0, 30, 5), Bounds(0, 30, 30, 55)},
        {alRight, Bounds(0, 0, 40, 5), Bounds(160, 30, 40, 55)},
        {alClient, Bounds(0, 0, 1, 1), Bounds(30, 30, 130, 55)},
        {alNone, Bounds(5, 6, 7, 8), Bounds(5, 6, 7, 8)},
    };
    std::vector<TControl*> controls;
    for (const Case& c : cases) controls.push_back(Add(c.align, c.start));
    for (size_t i = 0; i < controls.size(); ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(controls[i]->BoundsRect(), cases[i].expected);
    }

    // The layout follows the parent's size, with or without a window.
    form->Show();
    form->SetBounds(0, 0, 300, 200);
    ui.RunUntilIdle();
    EXPECT_EQ(controls[0]->BoundsRect(), Bounds(0, 10, 300, 20));
    EXPECT_EQ(controls[2]->BoundsRect(), Bounds(0, 185, 300, 15));
    EXPECT_EQ(controls[5]->BoundsRect(), Bounds(30, 30, 230, 155));
}

TEST_F(AlignTest, HiddenControlsTakeNoSpaceAndShowingThemRealigns) {
    TControl* top = Add(alTop, Bounds(0, 0, 10, 20), false);
    TControl* client = Add(alClient, Bounds(0, 0, 1, 1));
    EXPECT_EQ(client->BoundsRect(), Bounds(0, 0, 200, 100));
    top->SetVisible(true);
    EXPECT_EQ(client->BoundsRect(), Bounds(0, 20, 200, 80));
    top->SetHeight(30);
    EXPECT_EQ(client->BoundsRect(), Bounds(0, 30, 200, 70));
}

TEST_F(AlignTest, AnchorsKeepDistancesWhenTheParentResizes) {
    struct Case {
        TAnchors anchors;
        TRect expected;  // after the form grows by 40 x 20
    };
    const Case cases[] = {
        {{akLeft, akTop}, Bounds(20, 10, 50, 30)},
        {{akRight, akBottom}, Bounds(60, 30, 50, 30)},
        {{akLeft, akTop, akRight}, Bounds(20, 10, 90, 30)},
        {{akLeft, akTop, akRight, akBottom}, Bounds(20, 10, 90, 50)},
        {{akTop}, Bounds(40, 10, 50, 30)},
    };
    std::vector<TControl*> controls;
    for (const Case& c : cases) {
        TControl* control = Add(alNone, Bounds(20, 10, 50, 30));
        control->SetAnchors(c.anchors);
        controls.push_back(control);
    }
    form->SetBounds(0, 0, 240, 120);
    for (size_t i = 0; i < controls.size(); ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(controls[i]->BoundsRect(), cases[i].expected);
    }
    form->SetBounds(0, 0, 200, 100);
    EXPECT_EQ(controls[3]->BoundsRect(), Bounds(20, 10, 50, 30));
}

TEST_F(AlignTest, ConstraintsLimitTheSizeAlignmentGives) {
    TControl* left = Add(alLeft, Bounds(0, 0, 30, 10));
    left->Constraints()->SetMaxHeight(60);
    left->Constraints()->SetMinWidth(50);
    EXPECT_EQ(left->BoundsRect(), Bounds(0, 0, 50, 60));
    left->SetWidth(10);
    EXPECT_EQ(left->Width(), 50);
}

TEST_F(AlignTest, AnAutoSizedLabelFitsItsTextButKeepsTheSideItsAlignmentSets) {
    auto* label = new TLabel(form);
    label->SetParent(form);
    label->SetCaption("Some text");
    const TSize text = MeasureText(label->Font(), "Some text", 0, true);
    EXPECT_EQ(label->Width(), text.cx);
    label->SetCaption("Some longer text");
    EXPECT_GT(label->Width(), text.cx);
    label->SetAlign(alBottom);
    EXPECT_EQ(label->Width(), 200);
    EXPECT_EQ(label->Top(), 100 - label->Height());
}

}  // namespace
}  // namespace tarvel
