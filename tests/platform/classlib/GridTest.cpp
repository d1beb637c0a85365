// String and draw grids: kept cells, the editing switch, the in-place
// editor, owner drawing, selection and scrolling.

#include <gtest/gtest.h>

#include "platform/classlib/Grids.h"
#include "platform/classlib/testing/UiDriver.h"

namespace tarvel {
namespace {

class GridTest : public ::testing::Test {
protected:
    void SetUp() override {
        form = new TForm(Application);
        form->SetName("Main");
        form->SetBounds(50, 50, 500, 300);
        grid = new TStringGrid(form);
        grid->SetName("Grid");
        grid->SetParent(form);
        grid->SetBounds(10, 10, 400, 200);
        grid->SetColCount(6);
        grid->SetRowCount(10);
        form->Show();
        ui.RunUntilIdle();
    }

    TUiDriver ui;
    TForm* form = nullptr;
    TStringGrid* grid = nullptr;
};

TEST_F(GridTest, CellsBeyondTheCountsAreKeptAndShowAgainWhenTheGridGrows) {
    struct Case {
        int col, row;
        const char* text;
    };
    const Case cases[] = {
        {1, 1, "a"}, {5, 9, "last"}, {7, 2, "serial beyond the columns"}, {2, 40, "row beyond"}};
    for (const Case& c : cases) grid->SetCells(c.col, c.row, c.text);
    EXPECT_EQ(grid->Cells(3, 3), "");  // never set
    EXPECT_EQ(grid->Cells(100, 100), "");
    EXPECT_THROW(grid->SetCells(-1, 0, "x"), EInvalidOperation);

    grid->SetRowCount(3);
    grid->SetColCount(2);
    for (const Case& c : cases) EXPECT_EQ(grid->Cells(c.col, c.row), c.text);
    grid->SetRowCount(50);
    grid->SetColCount(8);
    for (const Case& c : cases) EXPECT_EQ(ui.CellText(grid, c.col, c.row), c.text);
    EXPECT_FALSE(grid->UiCellRect(7, 2).IsEmpty());
}

// The tool's pattern: OnClick switches editing on for some columns only.
TEST_F(GridTest, OnClickSwitchesEditingForTheSelectedColumn) {
    std::vector<String> setTexts;
    grid->OnClick = [&](TObject*) {
        TGridOptions o = grid->Options();
        if (grid->Col() == 1 || grid->Col() == 4)
            o.Include(goEditing);
        else
            o.Exclude(goEditing);
        grid->SetOptions(o);
    };
    grid->OnSetEditText = [&](TObject*, int c, int r, const String& v) {
        setTexts.push_back(IntToStr(c) + "," + IntToStr(r) + "=" + v);
    };
    ui.SelectCell(grid, 4, 2);
    ui.Type("12");
    EXPECT_EQ(grid->Cells(4, 2), "12");
    EXPECT_EQ(setTexts, (std::vector<String>{"4,2=1", "4,2=12"}));
    EXPECT_TRUE(grid->EditorMode());

    ui.SelectCell(grid, 2, 2);
    EXPECT_FALSE(grid->EditorMode());
    ui.Type("9");
    EXPECT_EQ(grid->Cells(2, 2), "");
    EXPECT_EQ(grid->Col(), 2);
    EXPECT_EQ(grid->Row(), 2);
}

TEST_F(GridTest, TheEditorPassesKeysThroughTheGridsKeyPressAndEscapeRestores) {
    grid->SetOptions(grid->Options() + TGridOptions{goEditing});
    grid->SetCells(1, 1, "5");
    std::vector<int> columns;
    grid->OnKeyPress = [&](TObject*, char16_t& key) {
        columns.push_back(grid->Col());
        if ((key < u'0' || key > u'9') && key != 8) key = 0;
    };
    ui.SelectCell(grid, 1, 1);
    ui.PressKey(VK_F1 + 1);  // F2 edits the text as it is
    ui.Type("7x8");
    EXPECT_EQ(grid->Cells(1, 1), "578");
    EXPECT_EQ(columns.size(), 3u);
    ui.PressKey(VK_ESCAPE);
    EXPECT_FALSE(grid->EditorMode());
    EXPECT_EQ(grid->Cells(1, 1), "5");

    ui.Type("3");  // a character opens the editor over the text
    EXPECT_EQ(grid->Cells(1, 1), "3");
    ui.PressKey(VK_RETURN);
    EXPECT_FALSE(grid->EditorMode());
    ui.PressKey(VK_DOWN);
    EXPECT_EQ(grid->Row(), 2);
    EXPECT_EQ(grid->Cells(1, 1), "3");
}

TEST_F(GridTest, OwnerDrawingGetsEveryCellWithItsStateAndPaintsAlone) {
    grid->SetDefaultDrawing(false);
    std::map<std::pair<int, int>, TGridDrawState> states;
    grid->OnDrawCell = [&](TObject*, int c, int r, TRect rect, TGridDrawState s) {
        states[{c, r}] = s;
        TCanvas* canvas = grid->Canvas();
        canvas->Brush()->SetColor(TColor(0xFFFFFF));
        canvas->FillRect(rect);
    };
    grid->SetFocus();
    grid->SetCol(2);
    grid->Repaint();
    ui.RunUntilIdle();
    EXPECT_TRUE(states[std::make_pair(0, 0)].Contains(gdFixed));
    EXPECT_TRUE(states[std::make_pair(2, 1)].Contains(gdFocused));
    EXPECT_TRUE(states[std::make_pair(2, 1)].Contains(gdSelected));
    EXPECT_FALSE(states[std::make_pair(3, 3)].Contains(gdSelected));
    HDC dc = GetDC(grid->Handle());
    TRect fixed = grid->CellRect(0, 0);
    EXPECT_EQ(GetPixel(dc, fixed.left + 5, fixed.top + 5), COLORREF(0xFFFFFF));
    ReleaseDC(grid->Handle(), dc);
}

TEST_F(GridTest, SelectCellCanRefuseAndKeysMoveTheCurrentCell) {
    grid->OnSelectCell = [](TObject*, int c, int, bool& can) { can = c != 3; };
    int clicks = 0;
    grid->OnClick = [&](TObject*) { ++clicks; };
    ui.SelectCell(grid, 3, 2);
    EXPECT_EQ(grid->Col(), 1);
    ui.SelectCell(grid, 2, 2);
    EXPECT_EQ(clicks, 1);
    int doubles = 0;
    grid->OnDblClick = [&](TObject*) { ++doubles; };
    ui.DoubleClick(grid);
    EXPECT_EQ(doubles, 1);
    ui.SelectCell(grid, 2, 2);
    struct Case {
        UINT key;
        int col, row;
    };
    const Case cases[] = {{VK_RIGHT, 2, 2}, {VK_DOWN, 2, 3}, {VK_LEFT, 1, 3},
                          {VK_END, 5, 3},   {VK_HOME, 1, 3}, {VK_UP, 1, 2}};
    for (const Case& c : cases) {
        ui.PressKey(c.key);
        EXPECT_EQ(grid->Col(), c.col) << c.key;
        EXPECT_EQ(grid->Row(), c.row) << c.key;
    }
    const int page = grid->VisibleRowCount();
    ui.PressKey(VK_NEXT);
    EXPECT_EQ(grid->Row(), std::min(9, 2 + page));
    ui.PressKey(VK_NEXT);
    EXPECT_EQ(grid->Row(), 9);
    EXPECT_GT(grid->TopRow(), 1);
}

TEST_F(GridTest, ScrollingByBarsMessagesAndTheWheel) {
    grid->SetColCount(20);
    grid->SetRowCount(40);
    ui.RunUntilIdle();
    SCROLLINFO v, h;
    ASSERT_TRUE(GetScrollInfo(grid->Handle(), SB_VERT, v));
    ASSERT_TRUE(GetScrollInfo(grid->Handle(), SB_HORZ, h));
    EXPECT_TRUE(GetWindowLongPtr(grid->Handle(), GWL_STYLE) & WS_VSCROLL);
    EXPECT_EQ(v.nMin, 1);
    EXPECT_EQ(v.nMax, 39);

    // The tool's scroll to the far right, posted.
    PostMessage(grid->Handle(), WM_HSCROLL, SB_RIGHT, 0);
    ui.RunUntilIdle();
    EXPECT_GT(grid->LeftCol(), 10);
    EXPECT_FALSE(grid->CellRect(19, 1).IsEmpty());
    EXPECT_EQ(GetScrollPos(grid->Handle(), SB_HORZ), grid->LeftCol());

    grid->SetTopRow(30);
    EXPECT_EQ(grid->TopRow(), 30);
    EXPECT_TRUE(grid->CellRect(1, 5).IsEmpty());
    grid->SetTopRow(1000);
    EXPECT_LT(grid->TopRow(), 40);

    grid->SetTopRow(1);
    grid->SetRow(1);
    ui.Wheel(grid, -WHEEL_DELTA);
    EXPECT_EQ(grid->Row(), 2);

    grid->SetRowCount(3);
    grid->SetColCount(3);
    ui.RunUntilIdle();
    EXPECT_FALSE(GetWindowLongPtr(grid->Handle(), GWL_STYLE) & WS_VSCROLL);  // no bar where nothing scrolls
    EXPECT_EQ(grid->TopRow(), 1);
}

// Each size judges the bars afresh: a bar only where the cells do not fit
// in the room the other bar leaves, and none kept from an earlier size.
TEST_F(GridTest, TheBarsAreJudgedAfreshAtEachSize) {
    grid->SetBorderStyle(bsNone);
    grid->SetColCount(4);
    grid->SetRowCount(5);
    grid->SetDefaultColWidth(50);
    grid->SetDefaultRowHeight(20);
    const int w = 4 * 51, h = 5 * 21;  // the cells with their grid lines
    const int vb = GetSystemMetrics(SM_CXVSCROLL), hb = GetSystemMetrics(SM_CYHSCROLL);
    struct Case {
        int width, height;
        bool vert, horz;
    };
    const Case cases[] = {
        {w, h, false, false},                    // fits exactly
        {w - 1, h - 1, true, true},              // neither fits
        {w + vb - 1, h + hb - 1, false, false},  // grown back to room for all without bars
        {w + vb, h - 1, true, false},            // the vertical bar leaves room enough
        {w, h - 1, true, true},                  // it does not: the horizontal follows
        {w, h, false, false},
        {w - 1, h + hb, false, true},
        {w - 1, h, true, true},
        {w + 100, h + 100, false, false},
    };
    for (const Case& c : cases) {
        grid->SetBounds(10, 10, c.width, c.height);
        ui.RunUntilIdle();
        const LONG_PTR style = GetWindowLongPtr(grid->Handle(), GWL_STYLE);
        const std::string at = std::to_string(c.width) + "x" + std::to_string(c.height);
        EXPECT_EQ((style & WS_VSCROLL) != 0, c.vert) << at;
        EXPECT_EQ((style & WS_HSCROLL) != 0, c.horz) << at;
        EXPECT_EQ(grid->ClientWidth(), c.width - (c.vert ? vb : 0)) << at;
        // With no bar every cell shows whole.
        if (!c.vert && !c.horz) {
            EXPECT_EQ(grid->CellRect(3, 4).bottom, h - 1) << at;
        }
    }
}

TEST_F(GridTest, TheMouseWorksTheWindowsScrollBar) {
    grid->SetRowCount(100);
    ui.RunUntilIdle();
    TWindowScrollBars* bars = WindowScrollBarsOf(grid->Handle());
    ASSERT_TRUE(bars);
    const TRect window = WindowRect(grid->Handle());
    auto screen = [&](const TRect& r, int dy = 0) {
        return TPoint{window.left + (r.left + r.right) / 2, window.top + (r.top + r.bottom) / 2 + dy};
    };
    TScrollBarParts parts = bars->Parts(SB_VERT);
    ui.Backend().MouseMove(screen(parts.lineDown));
    ui.Backend().Click(screen(parts.lineDown));
    ui.RunUntilIdle();
    EXPECT_EQ(grid->TopRow(), 2);

    // A dragged thumb stays where it is dragged; the cells follow on release.
    ui.AdvanceClock(1000);
    parts = bars->Parts(SB_VERT);
    ui.Backend().MouseMove(screen(parts.thumb));
    ui.Backend().MouseDown(screen(parts.thumb));
    ui.RunUntilIdle();
    ui.Backend().MouseMove(screen(parts.thumb, 60));
    ui.RunUntilIdle();
    EXPECT_EQ(grid->TopRow(), 2);
    EXPECT_GT(bars->Info(SB_VERT).nTrackPos, 2);
    EXPECT_EQ(bars->PressedPart(SB_VERT), TScrollBarPart::Thumb);
    const int tracked = bars->Info(SB_VERT).nTrackPos;
    ui.Backend().MouseUp(screen(parts.thumb, 60));
    ui.RunUntilIdle();
    EXPECT_EQ(grid->TopRow(), tracked);
    EXPECT_EQ(bars->Info(SB_VERT).nPos, tracked);
}

TEST_F(GridTest, RowSelectAndRangeSelection) {
    grid->SetOptions(grid->Options() + TGridOptions{goRowSelect});
    ui.SelectCell(grid, 3, 4);
    EXPECT_EQ(grid->Selection(), (TGridRect{1, 4, 5, 4}));
    grid->SetOptions(grid->Options() - TGridOptions{goRowSelect});
    ui.SelectCell(grid, 1, 1);
    ui.PressKey(VK_RIGHT, {ssShift});
    ui.PressKey(VK_DOWN, {ssShift});
    EXPECT_EQ(grid->Selection(), (TGridRect{1, 1, 2, 2}));
}

}  // namespace
}  // namespace tarvel
