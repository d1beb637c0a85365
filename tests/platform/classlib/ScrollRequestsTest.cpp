// Scroll requests from a bar that is not the control's own (a skin's bar
// lying over it) carry the thumb position in the message; the controls
// follow it as they follow their own bar.

#include <functional>

#include "platform/classlib/Grids.h"
#include "platform/classlib/StdCtrls_Edit.h"
#include "platform/classlib/StdCtrls_ListBox.h"

#include "ControlFixture.h"

namespace tarvel {
namespace {

class ScrollRequestsTest : public ControlFixture {};

TEST_F(ScrollRequestsTest, AThumbPositionInTheMessageMovesTheControl) {
    auto* grid = Add<TStringGrid>("Grid", Bounds(10, 10, 200, 100));
    grid->SetRowCount(60);
    auto* list = Add<TListBox>("List", Bounds(220, 10, 100, 100));
    auto* memo = Add<TMemo>("Memo", Bounds(10, 120, 200, 100));
    memo->SetScrollBars(ssVertical);
    for (int i = 0; i < 60; ++i) {
        list->Items()->Add(IntToStr(i));
        memo->Lines()->Add(IntToStr(i));
    }
    ShowForm();
    struct Case {
        TWinControl* control;
        std::function<int()> top;
    } cases[] = {
        {grid, [&] { return grid->TopRow(); }},
        {list, [&] { return list->TopIndex(); }},
        {memo, [&] { return memo->TopLine(); }},
    };
    for (const Case& c : cases) {
        for (WORD code : {WORD(SB_THUMBTRACK), WORD(SB_THUMBPOSITION)}) {
            if (c.control == grid && code == SB_THUMBTRACK) continue;  // the grid follows on release only
            SendMessage(c.control->Handle(), WM_VSCROLL, MAKEWPARAM(code, 20), 0);
            EXPECT_EQ(c.top(), 20) << c.control->Name() << " " << code;
            SendMessage(c.control->Handle(), WM_VSCROLL, MAKEWPARAM(SB_TOP, 0), 0);
        }
    }
}

}  // namespace
}  // namespace tarvel
