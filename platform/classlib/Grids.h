#pragma once
// Grids: a table of cells with fixed rows and columns, scrolling, a current
// cell and a selection, an in-place editor, and owner drawing. TDrawGrid
// leaves the cells' content to OnDrawCell; TStringGrid keeps a text and an
// object per cell. A string grid keeps every cell it was given, also beyond
// the current column or row count: lowering RowCount hides rows but keeps
// their texts, and raising it shows them again. With the sizing and moving
// options the mouse sizes columns and rows at their edges in the fixed row
// or column, and drags them to another place by their fixed cell.

#include <algorithm>
#include <map>
#include <memory>
#include <vector>

#include "platform/classlib/StdCtrls.h"
#include "platform/classlib/UiAccess.h"

namespace tarvel {

enum TGridOption {
    goFixedVertLine,
    goFixedHorzLine,
    goVertLine,
    goHorzLine,
    goRangeSelect,
    goDrawFocusSelected,
    goRowSizing,
    goColSizing,
    goRowMoving,
    goColMoving,
    goEditing,
    goTabs,
    goRowSelect,
    goAlwaysShowEditor,
    goThumbTracking,
};
using TGridOptions = TSet<TGridOption>;

enum TGridDrawStateFlag { gdSelected, gdFocused, gdFixed };
using TGridDrawState = TSet<TGridDrawStateFlag>;

struct TGridCoord {
    int X = 0, Y = 0;
    friend bool operator==(const TGridCoord&, const TGridCoord&) = default;
};

// Inclusive column and row bounds.
struct TGridRect {
    int Left = 0, Top = 0, Right = 0, Bottom = 0;
    friend bool operator==(const TGridRect&, const TGridRect&) = default;
};

using TDrawCellEvent =
    std::function<void(TObject* sender, int col, int row, TRect rect, TGridDrawState state)>;
using TSelectCellEvent = std::function<void(TObject* sender, int col, int row, bool& canSelect)>;
using TSetEditEvent = std::function<void(TObject* sender, int col, int row, const String& value)>;
using TGetEditEvent = std::function<void(TObject* sender, int col, int row, String& value)>;
using TMovedEvent = std::function<void(TObject* sender, int fromIndex, int toIndex)>;

class TCustomGrid;

// The editor a grid shows over its current cell.
class TInplaceEdit : public TCustomEdit {
    TARVEL_CLASS(TInplaceEdit, TCustomEdit)

public:
    explicit TInplaceEdit(TCustomGrid* grid);
    // A character the grid passed on (its OnKeyPress has seen it).
    void TypeChar(char16_t ch);

protected:
    static void DeclareMessages(TMessageTable& t);
    void CreateParams(TCreateParams& params) override;
    bool EditKey(WORD key, TShiftState shift) override;
    void KeyPress(char16_t& key) override;
    void KeyDown(WORD& key, TShiftState shift) override;
    void Change() override;
    void WMGetDlgCodeInplace(TMessage& m);

private:
    TCustomGrid* grid_;
};

class TCustomGrid : public TCustomControl, public IUiCells {
    TARVEL_CLASS(TCustomGrid, TCustomControl)

public:
    explicit TCustomGrid(TComponent* owner);
    ~TCustomGrid() override;

    int ColCount() const { return colCount_; }
    void SetColCount(int n);
    int RowCount() const { return rowCount_; }
    void SetRowCount(int n);
    int FixedCols() const { return fixedCols_; }
    void SetFixedCols(int n);
    int FixedRows() const { return fixedRows_; }
    void SetFixedRows(int n);
    int DefaultColWidth() const { return defaultColWidth_; }
    void SetDefaultColWidth(int w);
    int DefaultRowHeight() const { return defaultRowHeight_; }
    void SetDefaultRowHeight(int h);
    int ColWidths(int col) const;
    void SetColWidths(int col, int width);
    int RowHeights(int row) const;
    void SetRowHeights(int row, int height);
    int GridLineWidth() const { return gridLineWidth_; }
    void SetGridLineWidth(int w);
    TGridOptions Options() const { return options_; }
    void SetOptions(TGridOptions options);
    TScrollStyle ScrollBarStyle() const { return scrollBars_; }
    void SetScrollBars(TScrollStyle s);
    TFormBorderStyle BorderStyle() const { return borderStyle_; }
    void SetBorderStyle(TFormBorderStyle s);
    bool DefaultDrawing() const { return defaultDrawing_; }
    void SetDefaultDrawing(bool v) { defaultDrawing_ = v; }
    TColor FixedColor() const { return fixedColor_; }
    void SetFixedColor(TColor c);

    // The current cell; setting it asks OnSelectCell and clicks.
    int Col() const { return col_; }
    void SetCol(int col) { FocusCell(col, row_, true); }
    int Row() const { return row_; }
    void SetRow(int row) { FocusCell(col_, row, true); }
    TGridRect Selection() const;
    void SetSelection(const TGridRect& r);
    int TopRow() const { return topRow_; }
    void SetTopRow(int row) { ScrollTo(leftCol_, row); }
    int LeftCol() const { return leftCol_; }
    void SetLeftCol(int col) { ScrollTo(col, topRow_); }
    int VisibleColCount() { return VisibleCount(false); }
    int VisibleRowCount() { return VisibleCount(true); }

    // The cell's rectangle in client coordinates; empty when not shown.
    TRect CellRect(int col, int row);
    // The cell at a client point; false outside every cell.
    bool MouseToCell(int x, int y, int& col, int& row);
    TGridCoord MouseCoord(int x, int y);

    // Moves a column or row (its width or height, its cells in a string
    // grid, the current cell with it) to another index; the others close up.
    // Indexes outside the counts are refused.
    void MoveColumn(int fromIndex, int toIndex) { MoveLine(false, fromIndex, toIndex); }
    void MoveRow(int fromIndex, int toIndex) { MoveLine(true, fromIndex, toIndex); }

    bool EditorMode() const;
    void SetEditorMode(bool v);
    TInplaceEdit* InplaceEditor() const { return editor_; }

    TDrawCellEvent OnDrawCell;
    TSelectCellEvent OnSelectCell;
    TSetEditEvent OnSetEditText;
    TGetEditEvent OnGetEditText;
    TNotifyEvent OnTopLeftChanged;
    TMovedEvent OnColumnMoved;
    TMovedEvent OnRowMoved;

    int UiColCount() override { return colCount_; }
    int UiRowCount() override { return rowCount_; }
    String UiCellText(int col, int row) override { return GetEditText(col, row); }
    TRect UiCellRect(int col, int row) override;

protected:
    friend class TInplaceEdit;
    static void DeclareMessages(TMessageTable& t);
    void CreateParams(TCreateParams& params) override;
    void CreateHandleDone() override;
    void WndProc(TMessage& m) override;
    void Paint() override;
    void MouseDown(TMouseButton button, TShiftState shift, int x, int y) override;
    void MouseMove(TShiftState shift, int x, int y) override;
    void MouseUp(TMouseButton button, TShiftState shift, int x, int y) override;
    void KeyDown(WORD& key, TShiftState shift) override;
    void KeyPress(char16_t& key) override;
    bool DoMouseWheel(TShiftState shift, int wheelDelta, TPoint mousePos) override;
    void DoEnter() override;
    void DoExit() override;
    void Resize() override;

    virtual void DrawCell(int col, int row, const TRect& rect, TGridDrawState state);
    virtual bool SelectCell(int col, int row);
    virtual String GetEditText(int col, int row);
    virtual void SetEditText(int col, int row, const String& value);
    virtual bool CanEditShow();
    virtual void SizeChanged(int /*oldColCount*/, int /*oldRowCount*/) {}
    // A column width or row height changed (by code, by the mouse or by a
    // move): the scroll range, the editor and the picture follow.
    virtual void ColWidthsChanged();
    virtual void RowHeightsChanged();
    // A column or row was moved; the string grid moves its cells first.
    virtual void ColumnMoved(int fromIndex, int toIndex);
    virtual void RowMoved(int fromIndex, int toIndex);
    // Where index `i` goes when `fromIndex` moves to `toIndex`.
    static int MovedIndex(int i, int fromIndex, int toIndex);

    void WMGetDlgCodeGrid(TMessage& m);
    void WMScroll(TMessage& m);
    void WMEraseBkgndGrid(TMessage& m);
    void WMLButtonDblClkGrid(TMessage& m);
    void WMLButtonUpGrid(TMessage& m);
    void WMSetCursorGrid(TMessage& m);
    void WMCaptureChangedGrid(TMessage& m);

    // Draws the text in the cell as the default drawing does.
    void DrawCellText(const TRect& rect, const String& text, TColor color);

    // Counts, sizes and fixed lines changed between these two lay the grid
    // out once, at the outermost EndLayout: the scroll bars, the top-left
    // cell and the editor follow the final sizes, not each step.
    void BeginLayout() { ++layoutLock_; }
    void EndLayout();

private:
    // The columns (rows false) or the rows of the grid, for what treats both alike.
    struct TGridLines {
        int count, fixed, first;  // first: LeftCol or TopRow
        std::vector<int>* sizes;
        int defaultSize;
        int Size(int i) const {
            return i >= 0 && i < count && static_cast<size_t>(i) < sizes->size()
                       ? (*sizes)[static_cast<size_t>(i)]
                       : defaultSize;
        }
        int FirstShown() const { return fixed > 0 ? 0 : first; }
        int NextShown(int i) const { return i + 1 == fixed ? std::max(i + 1, first) : i + 1; }
    };
    TGridLines Lines(bool rows);
    int LineStart(bool rows, int i);  // left or top edge of a line, in client coordinates
    int FixedExtent(bool rows);
    int ClientExtent(bool rows) { return rows ? ClientHeight() : ClientWidth(); }
    int LineAt(bool rows, int pos);  // the shown line over `pos`, or -1
    int ColX(int col) { return LineStart(false, col); }
    int RowY(int row) { return LineStart(true, row); }
    int FixedWidth() { return FixedExtent(false); }
    int FixedHeight() { return FixedExtent(true); }
    void MoveLine(bool rows, int fromIndex, int toIndex);
    void SizesChanged();

    void FocusCell(int col, int row, bool moveAnchor);
    void MoveCurrent(int col, int row, bool moveAnchor);
    void ScrollTo(int leftCol, int topRow);
    void MakeVisible(int col, int row);
    int FirstToShow(bool rows, int i);
    int VisibleCount(bool rows);
    int MaxFirst(bool rows) { return MaxFirst(rows, ClientExtent(rows)); }
    int MaxFirst(bool rows, int clientExtent);
    int MaxTopRow() { return MaxFirst(true); }
    int MaxLeftCol() { return MaxFirst(false); }
    void UpdateScrollBars();
    void FitToClient();
    void ShowEditor(bool selectAll);
    void HideEditor(bool commit);
    void PlaceEditor();
    bool InSelection(int col, int row) const;

    // Sizing and moving by mouse.
    enum class TDragKind { None, Sizing, Moving };
    struct TDrag {
        TDragKind kind = TDragKind::None;
        bool rows = false;  // row heights or rows, else columns
        int index = -1;     // the line sized or moved
        int pressPos = 0;   // x (columns) or y (rows) where the button went down
        int startSize = 0;  // sizing: the size before
        int target = -1;    // moving: where the line would drop
    };
    bool SizingHit(int x, int y, bool& rows, int& index);
    int SizingLineAt(bool rows, int pos);
    bool BeginDrag(int x, int y);
    void DragTo(int x, int y);
    void EndDrag(bool commit);
    int MoveTargetAt(bool rows, int pos);
    void StoreSize(bool rows, int i, int size);
    TRect MoveMarkRect();

    int colCount_ = 5, rowCount_ = 5;
    int fixedCols_ = 1, fixedRows_ = 1;
    int defaultColWidth_ = 64, defaultRowHeight_ = 24;
    std::vector<int> colWidths_, rowHeights_;  // empty: the defaults
    int gridLineWidth_ = 1;
    bool updatingBars_ = false;
    int layoutLock_ = 0;
    bool layoutPending_ = false;  // a layout was asked for while locked
    TGridOptions options_{goFixedVertLine, goFixedHorzLine, goVertLine, goHorzLine, goRangeSelect};
    TScrollStyle scrollBars_ = ssBoth;
    TFormBorderStyle borderStyle_ = bsSingle;
    bool defaultDrawing_ = true;
    TColor fixedColor_ = clBtnFace;
    int col_ = 1, row_ = 1;
    TGridCoord anchor_{1, 1};
    int topRow_ = 1, leftCol_ = 1;
    bool selecting_ = false;
    bool clickedCurrent_ = false;
    TInplaceEdit* editor_ = nullptr;
    bool editorShowing_ = false;
    String editBefore_;
    TWindowScrollBars bars_{this};
    TDrag drag_;
};

class TDrawGrid : public TCustomGrid {
    TARVEL_CLASS(TDrawGrid, TCustomGrid)

public:
    using TCustomGrid::TCustomGrid;
};

class TStringGrid : public TDrawGrid {
    TARVEL_CLASS(TStringGrid, TDrawGrid)

public:
    using TDrawGrid::TDrawGrid;

    // Any cell may be read (empty when never set) and written, also outside
    // the current counts; negative coordinates are refused.
    String Cells(int col, int row) const;
    void SetCells(int col, int row, const String& text);
    TObject* Objects(int col, int row) const;
    void SetObjects(int col, int row, TObject* object);
    // Forgets every cell's text and object.
    void ClearCells();

protected:
    void DrawCell(int col, int row, const TRect& rect, TGridDrawState state) override;
    void ColumnMoved(int fromIndex, int toIndex) override;
    void RowMoved(int fromIndex, int toIndex) override;
    String GetEditText(int col, int row) override;
    void SetEditText(int col, int row, const String& value) override;

private:
    struct Cell {
        String text;
        TObject* object = nullptr;
    };
    static uint64_t Key(int col, int row) { return (uint64_t(uint32_t(row)) << 32) | uint32_t(col); }
    void InvalidateCell(int col, int row);
    void MoveCells(bool rows, int fromIndex, int toIndex);
    std::map<uint64_t, Cell> cells_;
};

}  // namespace tarvel
