// Grids: sizing columns and rows at their edges and moving them by their
// fixed cells with the mouse, and moving them by code.

#include <gtest/gtest.h>

#include <functional>

#include "platform/classlib/Grids.h"
#include "platform/classlib/testing/UiDriver.h"

namespace tarvel {
namespace {

// Counts the size hooks, which the grid runs once per change.
class TCountingGrid : public TStringGrid {
    TARVEL_CLASS(TCountingGrid, TStringGrid)

public:
    using TStringGrid::TStringGrid;
    int widthChanges = 0, heightChanges = 0;

protected:
    void ColWidthsChanged() override {
        ++widthChanges;
        TStringGrid::ColWidthsChanged();
    }
    void RowHeightsChanged() override {
        ++heightChanges;
        TStringGrid::RowHeightsChanged();
    }
};

class GridSizingTest : public ::testing::Test {
protected:
    void SetUp() override {
        delete form;  // a case of a table starts afresh
        form = new TForm(Application);
        form->SetName("Main");
        form->SetBounds(50, 50, 500, 300);
        grid = new TCountingGrid(form);
        grid->SetName("Grid");
        grid->SetParent(form);
        grid->SetBounds(10, 10, 400, 200);
        grid->SetColCount(6);
        grid->SetRowCount(10);
        form->Show();
        ui.RunUntilIdle();
    }

    void AddOptions(TGridOptions o) { grid->SetOptions(grid->Options() + o); }
    // The right edge of a column in the fixed row, the bottom edge of a row in the fixed column.
    TPoint ColEdge(int col) { return TPoint{grid->CellRect(col, 0).right, 5}; }
    TPoint RowEdge(int row) { return TPoint{5, grid->CellRect(0, row).bottom}; }
    TPoint Centre(int col, int row) {
        const TRect r = grid->CellRect(col, row);
        return TPoint{(r.left + r.right) / 2, (r.top + r.bottom) / 2};
    }
    static TPoint Shift(TPoint p, int dx, int dy) { return TPoint{p.x + dx, p.y + dy}; }
    TPoint Screen(TPoint client) { return grid->ClientToScreen(client); }
    // Presses at `from` and moves to `to`, leaving the button down.
    void PressAndMove(TPoint from, TPoint to) {
        ui.Backend().MouseMove(Screen(from));
        ui.Backend().MouseDown(Screen(from));
        ui.RunUntilIdle();
        ui.Backend().MouseMove(Screen(to));
        ui.RunUntilIdle();
    }
    void Release(TPoint at) {
        ui.Backend().MouseUp(Screen(at));
        ui.RunUntilIdle();
    }
    bool HasHorzBar() { return GetWindowLongPtr(grid->Handle(), GWL_STYLE) & WS_HSCROLL; }

    TUiDriver ui;
    TForm* form = nullptr;
    TCountingGrid* grid = nullptr;
};

TEST_F(GridSizingTest, TheSizeCursorShowsNearAnEdgeInTheFixedLinesOnly) {
    struct Case {
        const char* what;
        TGridOptions options;
        std::function<TPoint()> at;
        int shape;
    };
    const Case cases[] = {
        {"on a column's edge", {goColSizing}, [&] { return ColEdge(1); }, IDC_SIZEWE},
        {"3 px left of it", {goColSizing}, [&] { return Shift(ColEdge(1), -3, 0); }, IDC_SIZEWE},
        {"3 px right of it", {goColSizing}, [&] { return Shift(ColEdge(1), 3, 0); }, IDC_SIZEWE},
        {"4 px left of it", {goColSizing}, [&] { return Shift(ColEdge(1), -4, 0); }, IDC_ARROW},
        {"4 px right of it", {goColSizing}, [&] { return Shift(ColEdge(1), 4, 0); }, IDC_ARROW},
        {"the fixed column's edge", {goColSizing}, [&] { return ColEdge(0); }, IDC_SIZEWE},
        {"a column edge below the fixed row",
         {goColSizing},
         [&] { return Shift(ColEdge(1), 0, 40); },
         IDC_ARROW},
        {"a column edge without the option",
         {goRowSizing, goColMoving},
         [&] { return ColEdge(1); },
         IDC_ARROW},
        {"on a row's edge", {goRowSizing}, [&] { return RowEdge(2); }, IDC_SIZENS},
        {"a row edge right of the fixed column",
         {goRowSizing},
         [&] { return Shift(RowEdge(2), 100, 0); },
         IDC_ARROW},
        {"a row edge without the option", {goColSizing}, [&] { return RowEdge(2); }, IDC_ARROW},
    };
    const TGridOptions base = grid->Options();
    for (const Case& c : cases) {
        grid->SetOptions(base + c.options);
        ui.MoveMouseTo(grid, Centre(3, 4));  // away from every edge first
        ui.MoveMouseTo(grid, c.at());
        EXPECT_EQ(ui.Backend().CursorShape(), c.shape) << c.what;
    }
}

TEST_F(GridSizingTest, DraggingAnEdgeSizesThatLineOnceOnRelease) {
    struct Case {
        const char* what;
        bool rows;
        int index;
        int grabOffset;  // where the button goes down, from the edge
        int delta;
        int expected;
        std::function<void()> setup;
    };
    const auto none = [] {};
    const auto scrolled = [&] {
        grid->SetColCount(20);
        grid->SetLeftCol(5);
    };
    const auto scrolledRows = [&] {
        grid->SetRowCount(40);
        grid->SetTopRow(12);
    };
    const Case cases[] = {
        {"wider", false, 1, 0, 30, 94, none},
        {"narrower", false, 1, 0, -20, 44, none},
        {"down to nothing, not below", false, 2, 0, -100, 0, none},
        {"grabbed 2 px inside, the size follows the move", false, 2, -2, 10, 74, none},
        {"the fixed column", false, 0, 0, 10, 74, none},
        {"a scrolled grid sizes the column shown there", false, 6, 1, 15, 79, scrolled},
        {"taller", true, 3, 0, 10, 34, none},
        {"a row down to nothing", true, 2, 0, -30, 0, none},
        {"a scrolled grid sizes the row shown there", true, 14, 0, 6, 30, scrolledRows},
    };
    for (const Case& c : cases) {
        SetUp();
        AddOptions({goColSizing, goRowSizing});
        c.setup();
        ui.RunUntilIdle();
        const TPoint edge = c.rows ? RowEdge(c.index) : ColEdge(c.index);
        const TPoint from = c.rows ? Shift(edge, 0, c.grabOffset) : Shift(edge, c.grabOffset, 0);
        const TPoint to = c.rows ? Shift(from, 0, c.delta) : Shift(from, c.delta, 0);
        ui.Drag(grid, from, to);
        const int size = c.rows ? grid->RowHeights(c.index) : grid->ColWidths(c.index);
        EXPECT_EQ(size, c.expected) << c.what;
        EXPECT_EQ(c.rows ? grid->heightChanges : grid->widthChanges, 1) << c.what;
        EXPECT_EQ(c.rows ? grid->widthChanges : grid->heightChanges, 0) << c.what;
        // Only that line changed.
        const int other = c.index == 1 ? 3 : 1;
        EXPECT_EQ(c.rows ? grid->RowHeights(other) : grid->ColWidths(other), c.rows ? 24 : 64) << c.what;
    }
}

// A column whose edge lies just past the client is still the one grabbed
// there, and a column sized to nothing can be pulled out again.
TEST_F(GridSizingTest, TheEdgeNearestTheMouseIsTheOneSized) {
    AddOptions({goColSizing});
    const int clientWidth = grid->ClientWidth();
    const int last = grid->LeftCol() + grid->VisibleColCount();  // the partly shown column
    ASSERT_LT(last, grid->ColCount());
    grid->SetColWidths(last, grid->ColWidths(last) + clientWidth + 2 - grid->CellRect(last, 0).right);
    ASSERT_EQ(grid->CellRect(last, 0).right, clientWidth + 2);
    ui.Drag(grid, TPoint{clientWidth - 1, 5}, TPoint{clientWidth - 21, 5});
    EXPECT_EQ(grid->CellRect(last, 0).right, clientWidth - 18);

    grid->SetColWidths(2, 0);
    const int edge = grid->CellRect(2, 0).right;
    ASSERT_EQ(edge, grid->CellRect(1, 0).right + 1);
    ui.Drag(grid, TPoint{edge, 5}, TPoint{edge + 30, 5});
    EXPECT_EQ(grid->ColWidths(2), 30);
    EXPECT_EQ(grid->ColWidths(1), 64);
}

TEST_F(GridSizingTest, TheSizeShowsWhileDraggingAndTheScrollRangeFollowsOnRelease) {
    AddOptions({goColSizing});
    ASSERT_TRUE(HasHorzBar());  // six columns do not fit
    const TPoint edge = ColEdge(1);
    PressAndMove(edge, Shift(edge, -40, 0));
    EXPECT_EQ(grid->ColWidths(1), 24);
    EXPECT_EQ(grid->CellRect(2, 1).left, grid->CellRect(1, 1).left + 25);
    EXPECT_EQ(grid->widthChanges, 0);
    Release(Shift(edge, -40, 0));
    EXPECT_EQ(grid->ColWidths(1), 24);
    EXPECT_EQ(grid->widthChanges, 1);
    EXPECT_FALSE(HasHorzBar());
}

TEST_F(GridSizingTest, EscapeOrALostCaptureCancelsTheDrag) {
    struct Case {
        const char* what;
        bool moving;
        std::function<void()> cancel;
    };
    const auto escape = [&] { ui.PressKey(VK_ESCAPE); };
    const auto captureTaken = [&] {
        SetCapture(form->Handle());
        ui.RunUntilIdle();
        ReleaseCapture();
    };
    const Case cases[] = {
        {"sizing, escape", false, escape},
        {"sizing, capture taken", false, captureTaken},
        {"moving, escape", true, escape},
        {"moving, capture taken", true, captureTaken},
    };
    for (const Case& c : cases) {
        SetUp();
        AddOptions({goColSizing, goColMoving});
        grid->SetCells(2, 1, "two");
        int moves = 0;
        grid->OnColumnMoved = [&](TObject*, int, int) { ++moves; };
        const TPoint from = c.moving ? Centre(2, 0) : ColEdge(2);
        const TPoint to = c.moving ? Centre(4, 0) : Shift(ColEdge(2), 40, 0);
        PressAndMove(from, to);
        EXPECT_EQ(grid->ColWidths(2), c.moving ? 64 : 104) << c.what;
        c.cancel();
        EXPECT_EQ(GetCapture(), nullptr) << c.what;
        Release(to);
        EXPECT_EQ(grid->ColWidths(2), 64) << c.what;
        EXPECT_EQ(grid->Cells(2, 1), "two") << c.what;
        EXPECT_EQ(moves, 0) << c.what;
        EXPECT_EQ(grid->widthChanges, 0) << c.what;
    }
}

TEST_F(GridSizingTest, WithoutTheOptionsTheFixedLinesNeitherSizeNorMove) {
    grid->SetCells(2, 1, "two");
    int moves = 0;
    grid->OnColumnMoved = [&](TObject*, int, int) { ++moves; };
    grid->OnRowMoved = [&](TObject*, int, int) { ++moves; };
    ui.Drag(grid, ColEdge(2), Shift(ColEdge(2), 40, 0));
    ui.Drag(grid, RowEdge(2), Shift(RowEdge(2), 0, 40));
    ui.Drag(grid, Centre(2, 0), Centre(4, 0));
    ui.Drag(grid, Centre(0, 2), Centre(0, 5));
    EXPECT_EQ(grid->ColWidths(2), 64);
    EXPECT_EQ(grid->RowHeights(2), 24);
    EXPECT_EQ(grid->Cells(2, 1), "two");
    EXPECT_EQ(moves, 0);
    EXPECT_EQ(grid->widthChanges + grid->heightChanges, 0);
    EXPECT_EQ(grid->Col(), 1);
    EXPECT_EQ(grid->Row(), 1);
}

// Fills the grid with "c,r" texts, an object per cell of row 3 and a width
// (height) per column (row), to see what follows a move.
class GridMovingTest : public GridSizingTest {
protected:
    void SetUp() override {
        GridSizingTest::SetUp();
        grid->SetColCount(5);
        grid->SetRowCount(7);
        for (int c = 0; c < 5; ++c) {
            grid->SetColWidths(c, 40 + c);
            for (int r = 0; r < 7; ++r) grid->SetCells(c, r, IntToStr(c) + "," + IntToStr(r));
            grid->SetObjects(c, 3, &objects[c]);
        }
        for (int r = 0; r < 7; ++r) grid->SetRowHeights(r, 20 + r);
        // Kept beyond the counts.
        grid->SetCells(6, 2, "beyond the columns");
        grid->SetCells(2, 9, "beyond the rows");
        ui.RunUntilIdle();
        grid->widthChanges = grid->heightChanges = 0;
    }

    // The line each index holds after moving `from` to `to`, of `count`.
    static std::vector<int> Order(int count, int from, int to) {
        std::vector<int> order;
        for (int i = 0; i < count; ++i) order.push_back(i);
        order.erase(order.begin() + from);
        order.insert(order.begin() + to, from);
        return order;
    }

    void ExpectMoved(bool rows, int from, int to, const char* what) {
        const int count = rows ? 7 : 5;
        const std::vector<int> order = Order(count, from, to);
        for (int i = 0; i < count; ++i) {
            const int was = order[static_cast<size_t>(i)];
            for (int k = 0; k < (rows ? 5 : 7); ++k) {
                const int c = rows ? k : i, r = rows ? i : k;
                const String expected =
                    rows ? IntToStr(c) + "," + IntToStr(was) : IntToStr(was) + "," + IntToStr(r);
                EXPECT_EQ(grid->Cells(c, r), expected) << what << " cell " << c << "," << r;
            }
            EXPECT_EQ(rows ? grid->RowHeights(i) : grid->ColWidths(i), (rows ? 20 : 40) + was) << what;
            if (!rows) {
                EXPECT_EQ(grid->Objects(i, 3), &objects[was]) << what;
            } else if (was == 3) {
                for (int c = 0; c < 5; ++c) EXPECT_EQ(grid->Objects(c, i), &objects[c]) << what;
            }
        }
        EXPECT_EQ(grid->Cells(6, 2), "beyond the columns") << what;
        EXPECT_EQ(grid->Cells(2, 9), "beyond the rows") << what;
    }

    TObject objects[5];
};

TEST_F(GridMovingTest, DraggingAHeaderMovesTheLineWithItsCellsAndSize) {
    struct Case {
        bool rows;
        int from, to;
        int current;       // the current column (row) before
        int currentAfter;  // and after
    };
    const Case cases[] = {
        {false, 2, 4, 2, 4}, {false, 4, 1, 3, 4}, {false, 1, 3, 4, 4},
        {true, 2, 5, 2, 5},  {true, 6, 1, 1, 2},  {true, 1, 6, 3, 2},
    };
    for (const Case& c : cases) {
        SetUp();
        AddOptions(c.rows ? TGridOptions{goRowMoving} : TGridOptions{goColMoving});
        if (c.rows)
            grid->SetRow(c.current);
        else
            grid->SetCol(c.current);
        std::vector<std::pair<int, int>> events;
        (c.rows ? grid->OnRowMoved : grid->OnColumnMoved) = [&](TObject* sender, int from, int to) {
            EXPECT_EQ(sender, grid);
            events.emplace_back(from, to);
        };
        const String what = String(c.rows ? "row " : "column ") + IntToStr(c.from) + " to " + IntToStr(c.to);
        ui.Drag(grid, c.rows ? Centre(0, c.from) : Centre(c.from, 0),
                c.rows ? Centre(0, c.to) : Centre(c.to, 0));
        EXPECT_EQ(events, (std::vector<std::pair<int, int>>{{c.from, c.to}})) << what;
        ExpectMoved(c.rows, c.from, c.to, what.c_str());
        EXPECT_EQ(c.rows ? grid->Row() : grid->Col(), c.currentAfter) << what;
        EXPECT_EQ(c.rows ? grid->heightChanges : grid->widthChanges, 1) << what;
    }
}

// In a scrolled grid the header under the mouse is the one moved; a mark
// shows where it lands, and past the edge the grid scrolls on.
TEST_F(GridSizingTest, MovingAColumnOfAScrolledGrid) {
    AddOptions({goColMoving});
    grid->SetColCount(20);
    for (int c = 0; c < 20; ++c) grid->SetCells(c, 1, IntToStr(c));
    grid->SetLeftCol(5);
    ui.RunUntilIdle();
    std::vector<std::pair<int, int>> events;
    grid->OnColumnMoved = [&](TObject*, int from, int to) { events.emplace_back(from, to); };

    const TPoint target = Centre(8, 0);
    PressAndMove(Centre(6, 0), target);
    grid->Repaint();
    HDC dc = GetDC(grid->Handle());
    const int line = grid->CellRect(8, 0).right;  // moving on, the column lands after the target
    EXPECT_EQ(GetPixel(dc, line, 40), ColorToColorRef(clHighlight));
    EXPECT_NE(GetPixel(dc, grid->CellRect(7, 0).right, 40), ColorToColorRef(clHighlight));
    ReleaseDC(grid->Handle(), dc);
    Release(target);
    EXPECT_EQ(events, (std::vector<std::pair<int, int>>{{6, 8}}));
    EXPECT_EQ(grid->Cells(8, 1), "6");
    EXPECT_EQ(grid->Cells(6, 1), "7");
    EXPECT_EQ(grid->LeftCol(), 5);

    const int width = grid->ClientWidth();
    ui.Drag(grid, Centre(5, 0), TPoint{width + 30, 5});
    ASSERT_EQ(events.size(), 2u);
    EXPECT_GT(grid->LeftCol(), 5);
    EXPECT_EQ(events[1].first, 5);
    EXPECT_EQ(events[1].second, grid->MouseCoord(width - 1, 5).X);
    EXPECT_EQ(grid->Cells(events[1].second, 1), "5");
}

TEST_F(GridMovingTest, AClickOnAHeaderOrAFixedLineMovesNothing) {
    AddOptions({goColMoving, goRowMoving});
    int moves = 0;
    grid->OnColumnMoved = [&](TObject*, int, int) { ++moves; };
    grid->OnRowMoved = [&](TObject*, int, int) { ++moves; };
    ui.ClickAt(grid, Centre(2, 0));
    ui.ClickAt(grid, Centre(0, 4));
    ui.Drag(grid, Centre(0, 0), Centre(3, 0));  // the corner heads nothing
    ui.Drag(grid, Centre(3, 0), Centre(0, 0));  // into the fixed column: the first scrolling one
    EXPECT_EQ(moves, 1);
    EXPECT_EQ(grid->Cells(1, 1), "3,1");
    EXPECT_EQ(grid->Cells(0, 1), "0,1");
}

// Sizing wins at an edge, moving elsewhere in the header.
TEST_F(GridMovingTest, AtAnEdgeTheDragSizesRatherThanMoves) {
    AddOptions({goColSizing, goColMoving});
    const TPoint edge = ColEdge(2);
    ui.Drag(grid, edge, Shift(edge, 60, 0));
    EXPECT_EQ(grid->ColWidths(2), 42 + 60);
    EXPECT_EQ(grid->Cells(2, 1), "2,1");
}

TEST_F(GridMovingTest, MoveColumnAndMoveRowByCode) {
    struct Case {
        bool rows;
        int from, to;
    };
    const Case cases[] = {{false, 3, 1}, {false, 0, 2}, {true, 5, 2}, {true, 1, 1}, {true, 0, 6}};
    for (const Case& c : cases) {
        SetUp();
        const String what = String(c.rows ? "row " : "column ") + IntToStr(c.from) + " to " + IntToStr(c.to);
        int events = 0;
        grid->OnColumnMoved = grid->OnRowMoved = [&](TObject*, int, int) { ++events; };
        if (c.rows)
            grid->MoveRow(c.from, c.to);
        else
            grid->MoveColumn(c.from, c.to);
        ExpectMoved(c.rows, c.from, c.to, what.c_str());
        EXPECT_EQ(events, c.from == c.to ? 0 : 1) << what;
        // The current cell never ends in a fixed line.
        EXPECT_GE(grid->Col(), 1) << what;
        EXPECT_GE(grid->Row(), 1) << what;
    }
    const String before = grid->Cells(1, 1);
    EXPECT_THROW(grid->MoveColumn(1, 5), EInvalidOperation);
    EXPECT_THROW(grid->MoveRow(-1, 2), EInvalidOperation);
    EXPECT_EQ(grid->Cells(1, 1), before);
}

TEST_F(GridMovingTest, TheEditorStaysOverItsCellWhenTheColumnMoves) {
    AddOptions({goEditing});
    ui.SelectCell(grid, 2, 2);
    ui.Type("x");
    ASSERT_TRUE(grid->EditorMode());
    grid->MoveColumn(2, 4);
    EXPECT_EQ(grid->Col(), 4);
    EXPECT_EQ(grid->InplaceEditor()->BoundsRect(), grid->CellRect(4, 2));
    ui.Type("y");
    EXPECT_EQ(grid->Cells(4, 2), "xy");
}

// The largest counts and sizes the grid takes: no sum of sizes overflows.
TEST_F(GridSizingTest, HugeGridsMeasureWithoutOverflow) {
    grid->SetColCount(1 << 20);
    grid->SetRowCount(1 << 20);
    grid->SetDefaultColWidth(0x7FFF);
    grid->SetDefaultRowHeight(0x7FFF);
    grid->SetColWidths(0, 64);
    grid->SetRowHeights(0, 24);
    const int last = grid->ColCount() - 1;
    EXPECT_TRUE(grid->CellRect(last, last).IsEmpty());
    grid->SetCol(last);
    grid->SetRow(last);
    EXPECT_EQ(grid->LeftCol(), last);
    EXPECT_EQ(grid->TopRow(), last);
    EXPECT_FALSE(grid->CellRect(last, last).IsEmpty());
    EXPECT_TRUE(grid->CellRect(1, 1).IsEmpty());
    grid->MoveColumn(1, last);
    EXPECT_EQ(grid->ColWidths(last), 0x7FFF);
    ui.RunUntilIdle();  // and paints
}

}  // namespace
}  // namespace tarvel
