// The skinned splitter: finding the control to resize, snapping below
// MinSize, live and line resizing, Escape, and the tracking line drawn
// over child windows.

#include "skin/controls/te_controls_splitter.h"

#include <gtest/gtest.h>

#include "RecordingThemeFixture.h"
#include "platform/classlib/StdCtrls_Edit.h"

namespace tarvel {
namespace {

using testing::SkinControlsTest;

class TeSplitterTest : public SkinControlsTest {
protected:
    // A left panel 100 wide, the splitter beside it, an edit filling the rest.
    void SetUp() override {
        SkinControlsTest::SetUp();
        left_ = new TPanel(form_);
        left_->SetParent(form_);
        left_->SetAlign(alLeft);
        left_->SetWidth(100);
        splitter_ = new TTeSplitter(form_);
        splitter_->SetParent(form_);
        splitter_->SetLeft(150);
        rest_ = new TPanel(form_);
        rest_->SetParent(form_);
        rest_->SetAlign(alClient);
        edit_ = new TEdit(rest_);
        edit_->SetParent(rest_);
        edit_->SetBounds(0, 0, 200, 200);
        splitter_->OnMoved = [this](TObject*) { ++moved_; };
        ui_.RunUntilIdle();
    }
    TPanel* left_ = nullptr;
    TTeSplitter* splitter_ = nullptr;
    TPanel* rest_ = nullptr;
    TEdit* edit_ = nullptr;
    int moved_ = 0;
};

TEST_F(TeSplitterTest, ItFindsTheControlOnItsAlignedSideAndSnapsBelowMinSize) {
    ASSERT_EQ(splitter_->Left(), 100);
    EXPECT_EQ(splitter_->FindControl(), left_);
    Down(splitter_, {1, 50});
    MoveTo(splitter_, {-79, 50});  // 20 pixels wide, under MinSize 30
    Up(splitter_, {-79, 50});
    EXPECT_EQ(left_->Width(), 0);
    EXPECT_EQ(splitter_->Sizing(), nullptr);

    // With AutoSnap off the panel stops at MinSize.
    left_->SetWidth(100);
    splitter_->SetAutoSnap(false);
    ui_.RunUntilIdle();
    Down(splitter_, {1, 50});
    MoveTo(splitter_, {-79, 50});
    Up(splitter_, {-79, 50});
    EXPECT_EQ(left_->Width(), 30);
}

TEST_F(TeSplitterTest, LiveResizingFollowsTheMouseWhileLineStylesResizeOnRelease) {
    struct Case {
        TResizeStyle style;
        int whileDragging;
    };
    const Case cases[] = {{rsUpdate, 140}, {rsPattern, 100}, {rsLine, 100}, {rsNone, 100}};
    for (const Case& c : cases) {
        SCOPED_TRACE(static_cast<int>(c.style));
        left_->SetWidth(100);
        ui_.RunUntilIdle();
        splitter_->SetResizeStyle(c.style);
        Down(splitter_, {1, 50});
        MoveTo(splitter_, {41, 50});
        EXPECT_EQ(left_->Width(), c.whileDragging);
        EXPECT_EQ(splitter_->LineVisible(), c.style == rsPattern || c.style == rsLine);
        Up(splitter_, {41, 50});
        EXPECT_EQ(left_->Width(), 140);
        EXPECT_FALSE(splitter_->LineVisible());
    }
}

TEST_F(TeSplitterTest, OnCanResizeMayRefuseOrChangeTheNewSizeBeforeTheSnap) {
    struct Case {
        const char* what;
        int moveTo;  // x of the pointer in the splitter
        int answer;  // the size the handler gives back, or -1 to refuse
        int width;   // the panel's width after the release
        int asked;   // the size the handler was asked for last
    };
    const Case cases[] = {
        {"accepted as asked", 41, 140, 140, 140},
        {"refused", 41, -1, 100, 140},
        {"changed", 41, 120, 120, 140},
        {"changed below MinSize, then snapped", 41, 20, 0, 140},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        left_->SetWidth(100);
        ui_.RunUntilIdle();
        int asked = 0;
        splitter_->OnCanResize = [&](TObject*, int& newSize, bool& accept) {
            asked = newSize;
            if (c.answer < 0)
                accept = false;
            else
                newSize = c.answer;
        };
        Down(splitter_, {1, 50});
        MoveTo(splitter_, {c.moveTo, 50});
        Up(splitter_, {c.moveTo, 50});
        EXPECT_EQ(asked, c.asked);
        EXPECT_EQ(left_->Width(), c.width);
    }
}

TEST_F(TeSplitterTest, TheTrackingLineIsInvertedOverChildWindowsAndRemovedAgain) {
    splitter_->SetResizeStyle(rsLine);
    const uint32_t before = ShownAt(edit_, 40, 50);
    Down(splitter_, {1, 50});
    MoveTo(splitter_, {1 + 43, 50});  // the line over the edit's column 40
    EXPECT_EQ(ShownAt(edit_, 40, 50), ~before & 0xFFFFFF);
    Up(splitter_, {1 + 43, 50});
    EXPECT_EQ(left_->Width(), 143);
    EXPECT_EQ(ShownAt(edit_, 40, 50), before) << "the line is gone";
}

TEST_F(TeSplitterTest, EscapeStopsTheLineAndGivesTheFocusedControlItsKeyHandlerBack) {
    edit_->SetFocus();
    int ownKeys = 0;
    edit_->OnKeyDown = [&](TObject*, WORD&, TShiftState) { ++ownKeys; };
    splitter_->SetResizeStyle(rsPattern);
    Down(splitter_, {1, 50});
    MoveTo(splitter_, {31, 50});
    ui_.PressKey('A');
    EXPECT_EQ(ownKeys, 1) << "other keys reach the control's own handler";
    ui_.PressKey(VK_ESCAPE);
    EXPECT_EQ(splitter_->Sizing(), nullptr);
    EXPECT_FALSE(splitter_->LineVisible());
    EXPECT_EQ(moved_, 1);
    Up(splitter_, {31, 50});
    EXPECT_EQ(left_->Width(), 100) << "nothing was applied";
    ui_.PressKey(VK_ESCAPE);
    EXPECT_EQ(ownKeys, 2);
}

TEST_F(TeSplitterTest, WithNothingBesideItADragDoesNothing) {
    left_->SetVisible(false);
    splitter_->SetLeft(0);
    ui_.RunUntilIdle();
    const TRect restBefore = rest_->BoundsRect();
    Down(splitter_, {1, 50});
    MoveTo(splitter_, {60, 50});
    Up(splitter_, {60, 50});
    EXPECT_EQ(moved_, 0);
    EXPECT_EQ(rest_->BoundsRect(), restBefore);
    EXPECT_EQ(left_->Width(), 100);
}

}  // namespace
}  // namespace tarvel
