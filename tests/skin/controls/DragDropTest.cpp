// Skinned controls drag and take drops as every control does: a button set
// to drag by itself is carried onto a label, which is asked and takes it.

#include <gtest/gtest.h>

#include "RecordingThemeFixture.h"
#include "skin/controls/te_controls_button.h"
#include "skin/controls/te_controls_label.h"

namespace tarvel {
namespace {

class TeDragDropTest : public testing::SkinControlsTest {};

TEST_F(TeDragDropTest, AnAutomaticButtonDroppedOnALabelReachesTheLabelsEvents) {
    auto* button = Make<TTeButton>(10, 10);
    auto* label = Make<TTeLabel>(200, 10);
    label->SetAutoSize(false);
    label->SetBounds(200, 10, 120, 60);
    EXPECT_EQ(button->DragMode(), dmManual);
    EXPECT_EQ(button->DragCursor(), crDrag);
    button->SetDragMode(dmAutomatic);
    ui_.RunUntilIdle();
    std::vector<TDragState> states;
    TObject* dropped = nullptr;
    TObject* endTarget = nullptr;
    int clicks = 0;
    label->OnDragOver = [&](TObject*, TObject* source, int, int, TDragState state, bool& accept) {
        states.push_back(state);
        accept = source == button;
    };
    label->OnDragDrop = [&](TObject*, TObject* source, int, int) { dropped = source; };
    button->OnEndDrag = [&](TObject*, TObject* target, int, int) { endTarget = target; };
    button->OnClick = [&](TObject*) { ++clicks; };
    const TPoint from = button->ClientToScreen(TPoint{10, 10});
    const TPoint to = label->ClientToScreen(TPoint{20, 20});
    ui_.Backend().MouseMove(from);
    ui_.Backend().MouseDown(from);
    ui_.RunUntilIdle();
    ui_.Backend().MouseMove(TPoint{from.x + 20, from.y});
    ui_.RunUntilIdle();
    ui_.Backend().MouseMove(to);
    ui_.RunUntilIdle();
    EXPECT_EQ(ui_.Backend().CursorShape(), IDC_ARROW);
    ui_.Backend().MouseUp(to);
    ui_.RunUntilIdle();
    EXPECT_EQ(states, (std::vector<TDragState>{dsDragEnter}));
    EXPECT_EQ(dropped, button);
    EXPECT_EQ(endTarget, label);
    EXPECT_EQ(clicks, 0);
    EXPECT_FALSE(button->Dragging());
}

}  // namespace
}  // namespace tarvel
