#pragma once
// Grids: a table of cells with fixed rows and columns, scrolling, a current
// cell and a selection, an in-place editor, and owner drawing. TDrawGrid
// leaves the cells' content to OnDrawCell; TStringGrid keeps a text and an
// object per cell. A string grid keeps every cell it was given, also beyond
// the current column or row count: lowering RowCount hides rows but keeps
// their texts, and raising it shows them again.

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

using TDrawCellEvent = std::function<void(TObject* sender, int col, int row, TRect rect, TGridDrawState state)>;
using TSelectCellEvent = std::function<void(TObject* sender, int col, int row, bool& canSelect)>;
using TSetEditEvent = std::function<void(TObject* sender, int col, int row, const String& value)>;
using TGetEditEvent = std::function<void(TObject* sender, int col, int row, String& value)>;

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
    int VisibleColCount();
    int VisibleRowCount();

    // The cell's rectangle in client coordinates; empty when not shown.
    TRect CellRect(int col, int row);
    // The cell at a client point; false outside every cell.
    bool MouseToCell(int x, int y, int& col, int& row);
    TGridCoord MouseCoord(int x, int y);

    bool EditorMode() const;
    void SetEditorMode(bool v);
    TInplaceEdit* InplaceEditor() const { return editor_; }

    TDrawCellEvent OnDrawCell;
    TSelectCellEvent OnSelectCell;
    TSetEditEvent OnSetEditText;
    TGetEditEvent OnGetEditText;
    TNotifyEvent OnTopLeftChanged;

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

    void WMGetDlgCodeGrid(TMessage& m);
    void WMScroll(TMessage& m);
    void WMEraseBkgndGrid(TMessage& m);
    void WMLButtonDblClkGrid(TMessage& m);

    // Draws the text in the cell as the default drawing does.
    void DrawCellText(const TRect& rect, const String& text, TColor color);

private:
    int ColX(int col);  // left edge of a scrollable or fixed column, in client coordinates
    int RowY(int row);
    int FixedWidth();
    int FixedHeight();
    void FocusCell(int col, int row, bool moveAnchor);
    void MoveCurrent(int col, int row, bool moveAnchor);
    void ScrollTo(int leftCol, int topRow);
    void MakeVisible(int col, int row);
    int MaxTopRow();
    int MaxLeftCol();
    void UpdateScrollBars();
    void ShowEditor(bool selectAll);
    void HideEditor(bool commit);
    void PlaceEditor();
    bool InSelection(int col, int row) const;

    int colCount_ = 5, rowCount_ = 5;
    int fixedCols_ = 1, fixedRows_ = 1;
    int defaultColWidth_ = 64, defaultRowHeight_ = 24;
    std::vector<int> colWidths_, rowHeights_;  // empty: the defaults
    int gridLineWidth_ = 1;
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
    String GetEditText(int col, int row) override;
    void SetEditText(int col, int row, const String& value) override;

private:
    struct Cell {
        String text;
        TObject* object = nullptr;
    };
    static uint64_t Key(int col, int row) { return (uint64_t(uint32_t(row)) << 32) | uint32_t(col); }
    void InvalidateCell(int col, int row);
    std::map<uint64_t, Cell> cells_;
};

}  // namespace tarvel
