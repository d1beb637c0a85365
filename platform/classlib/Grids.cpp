// TCustomGrid, its in-place editor, TDrawGrid and TStringGrid.

#include "platform/classlib/Grids.h"

#include <algorithm>

#include "platform/classlib/ComCtrlMessages.h"
#include "platform/classlib/StdCtrls_Draw.h"

namespace tarvel {

namespace {
constexpr int kMaxCount = 1 << 20;  // columns or rows
// Sums of sizes can pass the range of int (a million lines of 32767 pixels):
// they are summed in 64 bits and held to a distance far beyond any client.
constexpr int64_t kFar = int64_t(1) << 28;
int ClampPos(int64_t pos) { return static_cast<int>(std::clamp(pos, -kFar, kFar)); }
}  // namespace

// ---- TInplaceEdit ----------------------------------------------------------------------------

void TInplaceEdit::DeclareMessages(TMessageTable& t) {
    t.Add<&TInplaceEdit::WMGetDlgCodeInplace>(WM_GETDLGCODE);
}

TInplaceEdit::TInplaceEdit(TCustomGrid* grid) : TCustomEdit(grid, false), grid_(grid) {
    SetAutoSelect(false);
    SetTabStop(false);
    SetVisible(false);
    SetBorderStyle(bsNone);
    SetParentFont(true);
}

void TInplaceEdit::CreateParams(TCreateParams& params) {
    TCustomEdit::CreateParams(params);
    params.ExStyle &= ~WS_EX_CLIENTEDGE;
}

void TInplaceEdit::WMGetDlgCodeInplace(TMessage& m) {
    m.Result = DLGC_WANTCHARS | DLGC_WANTARROWS;
    if (grid_->Options().Contains(goTabs)) m.Result |= DLGC_WANTTAB;
}

void TInplaceEdit::KeyDown(WORD& key, TShiftState shift) {
    // Keys that leave the cell belong to the grid.
    const int length = GetTextLen();
    const bool atStart = SelStart() == 0 && SelLength() == 0, atEnd = SelStart() == length;
    bool toGrid = false;
    switch (key) {
        case VK_UP:
        case VK_DOWN:
        case VK_PRIOR:
        case VK_NEXT:
        case VK_ESCAPE:
        case VK_RETURN:
        case VK_TAB: toGrid = true; break;
        case VK_LEFT: toGrid = atStart; break;
        case VK_RIGHT: toGrid = atEnd && SelLength() == 0; break;
        case VK_HOME: toGrid = shift.Contains(ssCtrl); break;
        case VK_END: toGrid = shift.Contains(ssCtrl); break;
    }
    if (toGrid) {
        grid_->KeyDown(key, shift);
        key = 0;
        return;
    }
    TCustomEdit::KeyDown(key, shift);
}

void TInplaceEdit::TypeChar(char16_t ch) { EditChar(ch); }

bool TInplaceEdit::EditKey(WORD key, TShiftState shift) { return TCustomEdit::EditKey(key, shift); }

void TInplaceEdit::KeyPress(char16_t& key) {
    // The grid's OnKeyPress sees the key first and may drop it.
    grid_->TWinControl::KeyPress(key);
    if (key == 0) return;
    TCustomEdit::KeyPress(key);
}

void TInplaceEdit::Change() {
    TCustomEdit::Change();
    if (grid_->editorShowing_) grid_->SetEditText(grid_->Col(), grid_->Row(), Text());
}

// ---- TCustomGrid: properties ---------------------------------------------------------------

void TCustomGrid::DeclareMessages(TMessageTable& t) {
    t.Add<&TCustomGrid::WMGetDlgCodeGrid>(WM_GETDLGCODE);
    t.Add<&TCustomGrid::WMScroll>(WM_HSCROLL);
    t.Add<&TCustomGrid::WMScroll>(WM_VSCROLL);
    t.Add<&TCustomGrid::WMEraseBkgndGrid>(WM_ERASEBKGND);
    t.Add<&TCustomGrid::WMLButtonDblClkGrid>(WM_LBUTTONDBLCLK);
    t.Add<&TCustomGrid::WMLButtonUpGrid>(WM_LBUTTONUP);
    t.Add<&TCustomGrid::WMSetCursorGrid>(WM_SETCURSOR);
    t.Add<&TCustomGrid::WMCaptureChangedGrid>(WM_CAPTURECHANGED);
}

// Clicks come from moving the current cell, so double clicks are raised here.
void TCustomGrid::WMLButtonDblClkGrid(TMessage& m) {
    DblClick();
    TCustomControl::WMLButtonDblClk(m);
}

TCustomGrid::TCustomGrid(TComponent* owner) : TCustomControl(owner) {
    // Clicks come from moving the current cell, by mouse or key.
    ControlStyle = {csCaptureMouse, csDoubleClicks, csOpaque};
    SetBounds(0, 0, 320, 120);
    SetTabStop(true);
    SetColor(clWindow);
}

TCustomGrid::~TCustomGrid() = default;

void TCustomGrid::CreateParams(TCreateParams& params) {
    TCustomControl::CreateParams(params);
    if (borderStyle_ == bsSingle) params.ExStyle |= WS_EX_CLIENTEDGE;
}

void TCustomGrid::CreateHandleDone() {
    bars_.Attach();
    UpdateScrollBars();
}

void TCustomGrid::WndProc(TMessage& m) {
    if (bars_.HandleMessage(m, [this](TMessage& msg) { TCustomControl::WndProc(msg); })) return;
    TCustomControl::WndProc(m);
    if (m.Msg == WM_SIZE) FitToClient();
}

void TCustomGrid::SetColCount(int n) {
    n = std::clamp(n, 1, kMaxCount);
    if (n == colCount_) return;
    const int oldCols = colCount_;
    colCount_ = n;
    if (fixedCols_ >= n) fixedCols_ = n - 1;
    colWidths_.resize(std::min(colWidths_.size(), static_cast<size_t>(n)));
    if (col_ >= n || anchor_.X >= n) MoveCurrent(std::min(col_, n - 1), row_, true);
    ScrollTo(leftCol_, topRow_);
    SizeChanged(oldCols, rowCount_);
    UpdateScrollBars();
    Invalidate();
}

void TCustomGrid::SetRowCount(int n) {
    n = std::clamp(n, 1, kMaxCount);
    if (n == rowCount_) return;
    const int oldRows = rowCount_;
    rowCount_ = n;
    if (fixedRows_ >= n) fixedRows_ = n - 1;
    rowHeights_.resize(std::min(rowHeights_.size(), static_cast<size_t>(n)));
    if (row_ >= n || anchor_.Y >= n) MoveCurrent(col_, std::min(row_, n - 1), true);
    ScrollTo(leftCol_, topRow_);
    SizeChanged(colCount_, oldRows);
    UpdateScrollBars();
    Invalidate();
}

void TCustomGrid::SetFixedCols(int n) {
    if (n < 0 || n >= colCount_) throw EInvalidOperation("Fixed column count must be less than column count");
    fixedCols_ = n;
    leftCol_ = std::max(leftCol_, n);
    if (col_ < n) MoveCurrent(n, row_, true);
    UpdateScrollBars();
    Invalidate();
}

void TCustomGrid::SetFixedRows(int n) {
    if (n < 0 || n >= rowCount_) throw EInvalidOperation("Fixed row count must be less than row count");
    fixedRows_ = n;
    topRow_ = std::max(topRow_, n);
    if (row_ < n) MoveCurrent(col_, n, true);
    UpdateScrollBars();
    Invalidate();
}

void TCustomGrid::SetDefaultColWidth(int w) {
    defaultColWidth_ = std::clamp(w, 0, 0x7FFF);
    colWidths_.clear();
    ColWidthsChanged();
}

void TCustomGrid::SetDefaultRowHeight(int h) {
    defaultRowHeight_ = std::clamp(h, 0, 0x7FFF);
    rowHeights_.clear();
    RowHeightsChanged();
}

int TCustomGrid::ColWidths(int col) const {
    if (col < 0 || col >= colCount_) return defaultColWidth_;
    return static_cast<size_t>(col) < colWidths_.size() ? colWidths_[static_cast<size_t>(col)]
                                                        : defaultColWidth_;
}

void TCustomGrid::SetColWidths(int col, int width) {
    if (col < 0 || col >= colCount_) return;
    if (colWidths_.size() <= static_cast<size_t>(col))
        colWidths_.resize(static_cast<size_t>(col) + 1, defaultColWidth_);
    colWidths_[static_cast<size_t>(col)] = std::clamp(width, -1, 0x7FFF);
    ColWidthsChanged();
}

int TCustomGrid::RowHeights(int row) const {
    if (row < 0 || row >= rowCount_) return defaultRowHeight_;
    return static_cast<size_t>(row) < rowHeights_.size() ? rowHeights_[static_cast<size_t>(row)]
                                                         : defaultRowHeight_;
}

void TCustomGrid::SetRowHeights(int row, int height) {
    if (row < 0 || row >= rowCount_) return;
    if (rowHeights_.size() <= static_cast<size_t>(row))
        rowHeights_.resize(static_cast<size_t>(row) + 1, defaultRowHeight_);
    rowHeights_[static_cast<size_t>(row)] = std::clamp(height, -1, 0x7FFF);
    RowHeightsChanged();
}

void TCustomGrid::ColWidthsChanged() { SizesChanged(); }

void TCustomGrid::RowHeightsChanged() { SizesChanged(); }

// A narrower column may leave room at the right: the top-left closes it.
void TCustomGrid::SizesChanged() {
    if (layoutLock_ > 0) {
        layoutPending_ = true;
        return;
    }
    UpdateScrollBars();
    ScrollTo(leftCol_, topRow_);
    PlaceEditor();
    Invalidate();
}

void TCustomGrid::SetGridLineWidth(int w) {
    gridLineWidth_ = std::clamp(w, 0, 16);
    UpdateScrollBars();
    Invalidate();
}

void TCustomGrid::SetOptions(TGridOptions options) {
    if (options.Contains(goRowSelect)) options.Exclude(goAlwaysShowEditor);
    const bool editingOff = options_.Contains(goEditing) && !options.Contains(goEditing);
    options_ = options;
    if (editingOff || options.Contains(goRowSelect))
        HideEditor(true);
    else if (options.Contains(goAlwaysShowEditor) && options.Contains(goEditing) && Focused())
        ShowEditor(false);
    if (options.Contains(goRowSelect)) anchor_ = TGridCoord{col_, row_};
    Invalidate();
}

void TCustomGrid::SetScrollBars(TScrollStyle s) {
    scrollBars_ = s;
    UpdateScrollBars();
}

void TCustomGrid::SetBorderStyle(TFormBorderStyle s) {
    borderStyle_ = s == bsNone ? bsNone : bsSingle;
    RecreateWnd();
}

void TCustomGrid::SetFixedColor(TColor c) {
    fixedColor_ = c;
    Invalidate();
}

// ---- geometry --------------------------------------------------------------------------------

TCustomGrid::TGridLines TCustomGrid::Lines(bool rows) {
    if (rows) return TGridLines{rowCount_, fixedRows_, topRow_, &rowHeights_, defaultRowHeight_};
    return TGridLines{colCount_, fixedCols_, leftCol_, &colWidths_, defaultColWidth_};
}

int TCustomGrid::FixedExtent(bool rows) {
    const TGridLines lines = Lines(rows);
    int64_t extent = 0;
    for (int i = 0; i < lines.fixed; ++i) extent += lines.Size(i) + gridLineWidth_;
    return ClampPos(extent);
}

int TCustomGrid::LineStart(bool rows, int i) {
    const TGridLines lines = Lines(rows);
    int64_t pos = 0;
    if (i < lines.fixed) {
        for (int k = 0; k < i; ++k) pos += lines.Size(k) + gridLineWidth_;
        return ClampPos(pos);
    }
    pos = FixedExtent(rows);
    if (i >= lines.first)
        for (int k = lines.first; k < i; ++k) pos += lines.Size(k) + gridLineWidth_;
    else
        for (int k = i; k < lines.first; ++k) pos -= lines.Size(k) + gridLineWidth_;
    return ClampPos(pos);
}

int TCustomGrid::LineAt(bool rows, int pos) {
    const TGridLines lines = Lines(rows);
    int start = 0;
    for (int i = lines.FirstShown(); i < lines.count; i = lines.NextShown(i)) {
        const int extent = lines.Size(i) + gridLineWidth_;
        if (pos >= start && pos < start + extent) return i;
        start += extent;
        if (start > pos) break;
    }
    return -1;
}

TRect TCustomGrid::CellRect(int col, int row) {
    if (col < 0 || row < 0 || col >= colCount_ || row >= rowCount_) return TRect{};
    if ((col >= fixedCols_ && col < leftCol_) || (row >= fixedRows_ && row < topRow_)) return TRect{};
    const int x = ColX(col), y = RowY(row);
    const TRect client = ClientRect();
    if (x >= client.right || y >= client.bottom) return TRect{};
    return TRect{x, y, x + ColWidths(col), y + RowHeights(row)};
}

bool TCustomGrid::MouseToCell(int x, int y, int& col, int& row) {
    col = LineAt(false, x);
    row = LineAt(true, y);
    return col >= 0 && row >= 0;
}

TGridCoord TCustomGrid::MouseCoord(int x, int y) {
    TGridCoord c;
    MouseToCell(x, y, c.X, c.Y);
    return c;
}

// Lines shown whole from the first scrolling one; at least one while any is left.
int TCustomGrid::VisibleCount(bool rows) {
    const TGridLines lines = Lines(rows);
    const int room = ClientExtent(rows) - FixedExtent(rows);
    int n = 0, extent = 0;
    for (int i = lines.first; i < lines.count; ++i) {
        extent += lines.Size(i) + gridLineWidth_;
        if (extent > room) break;
        ++n;
    }
    return std::max(n, std::min(1, lines.count - lines.first));
}

// The last first line (top row, left column) that still fills a client that
// long, or shows the last line.
int TCustomGrid::MaxFirst(bool rows, int clientExtent) {
    const TGridLines lines = Lines(rows);
    const int room = clientExtent - FixedExtent(rows);
    int extent = 0, i = lines.count - 1;
    for (; i >= lines.fixed; --i) {
        extent += lines.Size(i) + gridLineWidth_;
        if (extent > room) break;
    }
    return std::clamp(i + 1, lines.fixed, std::max(lines.fixed, lines.count - 1));
}

void TCustomGrid::ScrollTo(int leftCol, int topRow) {
    leftCol = std::clamp(leftCol, fixedCols_, std::max(fixedCols_, MaxLeftCol()));
    topRow = std::clamp(topRow, fixedRows_, std::max(fixedRows_, MaxTopRow()));
    if (leftCol == leftCol_ && topRow == topRow_) return;
    leftCol_ = leftCol;
    topRow_ = topRow;
    UpdateScrollBars();
    PlaceEditor();
    Invalidate();
    if (OnTopLeftChanged) OnTopLeftChanged(this);
}

// The first scrolling line that shows line `i` whole, moving as little as it can.
int TCustomGrid::FirstToShow(bool rows, int i) {
    const TGridLines lines = Lines(rows);
    if (i < lines.fixed) return lines.first;
    if (i < lines.first) return i;
    const int64_t room = ClientExtent(rows) - FixedExtent(rows);
    int64_t extent = 0;
    for (int k = lines.first; k <= i; ++k) extent += lines.Size(k) + gridLineWidth_;
    int first = lines.first;
    while (extent > room && first < i) extent -= lines.Size(first++) + gridLineWidth_;
    return first;
}

void TCustomGrid::MakeVisible(int col, int row) { ScrollTo(FirstToShow(false, col), FirstToShow(true, row)); }

TRect TCustomGrid::UiCellRect(int col, int row) {
    MakeVisible(col, row);
    return CellRect(col, row);
}

void TCustomGrid::EndLayout() {
    if (layoutLock_ == 0 || --layoutLock_ > 0 || !layoutPending_) return;
    layoutPending_ = false;
    UpdateScrollBars();
    ScrollTo(leftCol_, topRow_);
    PlaceEditor();
    Invalidate();
}

void TCustomGrid::UpdateScrollBars() {
    if (layoutLock_ > 0) {
        layoutPending_ = true;
        return;
    }
    // Showing a bar resizes the client, which comes back here.
    if (!HandleAllocated() || updatingBars_) return;
    updatingBars_ = true;
    // The bars are judged afresh from the room the grid has without them: a
    // bar shown before must not keep the other one once the cells fit.
    const int vertSize = GetSystemMetrics(SM_CXVSCROLL), horzSize = GetSystemMetrics(SM_CYHSCROLL);
    const int width = ClientWidth() + (bars_.Visible(SB_VERT) ? vertSize : 0);
    const int height = ClientHeight() + (bars_.Visible(SB_HORZ) ? horzSize : 0);
    const bool vertAllowed = scrollBars_ == ssVertical || scrollBars_ == ssBoth;
    const bool horzAllowed = scrollBars_ == ssHorizontal || scrollBars_ == ssBoth;
    // Each bar narrows the room of the other; from none, three rounds settle.
    bool vert = false, horz = false;
    for (int round = 0; round < 3; ++round) {
        const bool v = vertAllowed && MaxFirst(true, height - (horz ? horzSize : 0)) > fixedRows_;
        const bool h = horzAllowed && MaxFirst(false, width - (v ? vertSize : 0)) > fixedCols_;
        if (v == vert && h == horz) break;
        vert = v;
        horz = h;
    }
    bars_.Show(SB_VERT, vert);
    bars_.Show(SB_HORZ, horz);
    auto apply = [&](int bar, int first, int count, int pos, int maxPos) {
        SCROLLINFO info;
        info.fMask = SIF_RANGE | SIF_PAGE | SIF_POS;
        info.nMin = first;
        info.nMax = std::max(first, count - 1);
        info.nPage = static_cast<UINT>(std::max(1, count - maxPos));
        info.nPos = pos;
        bars_.SetInfo(bar, info, false);
    };
    apply(SB_VERT, fixedRows_, rowCount_, topRow_, MaxTopRow());
    apply(SB_HORZ, fixedCols_, colCount_, leftCol_, MaxLeftCol());
    if (vert || horz) RedrawWindow(Handle(), nullptr, nullptr, RDW_FRAME | RDW_INVALIDATE | RDW_NOCHILDREN);
    updatingBars_ = false;
}

void TCustomGrid::Resize() {
    TCustomControl::Resize();
    // New bounds reach the control before its window: the window's WM_SIZE fits it then.
    if (HandleAllocated()) {
        const TRect window = WindowRect(Handle());
        if (window.Width() != Width() || window.Height() != Height()) return;
    }
    FitToClient();
}

void TCustomGrid::FitToClient() {
    UpdateScrollBars();
    ScrollTo(leftCol_, topRow_);
    PlaceEditor();
}

// ---- selection -------------------------------------------------------------------------------

TGridRect TCustomGrid::Selection() const {
    TGridRect r{std::min(col_, anchor_.X), std::min(row_, anchor_.Y), std::max(col_, anchor_.X),
                std::max(row_, anchor_.Y)};
    if (options_.Contains(goRowSelect)) {
        r.Left = fixedCols_;
        r.Right = colCount_ - 1;
    }
    return r;
}

void TCustomGrid::SetSelection(const TGridRect& r) {
    anchor_ = TGridCoord{std::clamp(r.Left, fixedCols_, colCount_ - 1),
                         std::clamp(r.Top, fixedRows_, rowCount_ - 1)};
    col_ = std::clamp(r.Right, fixedCols_, colCount_ - 1);
    row_ = std::clamp(r.Bottom, fixedRows_, rowCount_ - 1);
    Invalidate();
}

bool TCustomGrid::InSelection(int col, int row) const {
    const TGridRect r = Selection();
    return col >= r.Left && col <= r.Right && row >= r.Top && row <= r.Bottom;
}

bool TCustomGrid::SelectCell(int col, int row) {
    bool can = true;
    if (OnSelectCell) OnSelectCell(this, col, row, can);
    return can;
}

void TCustomGrid::MoveCurrent(int col, int row, bool moveAnchor) {
    col = std::clamp(col, std::min(fixedCols_, colCount_ - 1), colCount_ - 1);
    row = std::clamp(row, std::min(fixedRows_, rowCount_ - 1), rowCount_ - 1);
    col_ = col;
    row_ = row;
    if (moveAnchor || !options_.Contains(goRangeSelect)) anchor_ = TGridCoord{col, row};
}

// Moves the current cell when OnSelectCell allows it, then clicks.
void TCustomGrid::FocusCell(int col, int row, bool moveAnchor) {
    col = std::clamp(col, std::min(fixedCols_, colCount_ - 1), colCount_ - 1);
    row = std::clamp(row, std::min(fixedRows_, rowCount_ - 1), rowCount_ - 1);
    if (col == col_ && row == row_ && (!moveAnchor || anchor_ == TGridCoord{col, row})) return;
    if (!SelectCell(col, row)) return;
    const bool editing = editorShowing_;
    HideEditor(true);
    MoveCurrent(col, row, moveAnchor);
    MakeVisible(col, row);
    Invalidate();
    Click();
    if (editing || (options_.Contains(goAlwaysShowEditor) && Focused())) ShowEditor(true);
}

// ---- the editor ------------------------------------------------------------------------------

bool TCustomGrid::CanEditShow() {
    return options_.Contains(goEditing) && !options_.Contains(goRowSelect) && col_ >= fixedCols_ &&
           row_ >= fixedRows_ && HandleAllocated();
}

bool TCustomGrid::EditorMode() const { return editorShowing_; }

void TCustomGrid::SetEditorMode(bool v) {
    if (v)
        ShowEditor(true);
    else
        HideEditor(true);
}

void TCustomGrid::PlaceEditor() {
    if (!editorShowing_ || !editor_) return;
    TRect r = CellRect(col_, row_);
    if (r.IsEmpty()) {
        editor_->SetBounds(-1000, -1000, 10, 10);
        return;
    }
    editor_->SetBounds(r.left, r.top, r.Width(), r.Height());
}

void TCustomGrid::ShowEditor(bool selectAll) {
    if (!CanEditShow()) return;
    if (!editor_) {
        editor_ = new TInplaceEdit(this);
        editor_->SetParent(this);
    }
    MakeVisible(col_, row_);
    editBefore_ = GetEditText(col_, row_);
    editorShowing_ = false;  // loading the text is no edit
    editor_->SetText(editBefore_);
    editor_->ClearUndo();
    editorShowing_ = true;
    PlaceEditor();
    editor_->SetVisible(true);
    if (selectAll)
        editor_->SelectAll();
    else
        editor_->SetSelStart(editor_->GetTextLen());
    if (Focused() || (Showing() && GetFocus() != editor_->Handle())) editor_->SetFocus();
}

void TCustomGrid::HideEditor(bool commit) {
    if (!editorShowing_ || !editor_) return;
    if (!commit && editor_->Text() != editBefore_) SetEditText(col_, row_, editBefore_);
    editorShowing_ = false;
    const bool hadFocus = editor_->Focused();
    editor_->SetVisible(false);
    if (hadFocus && CanFocus()) SetFocus();
    Invalidate();
}

String TCustomGrid::GetEditText(int col, int row) {
    String value;
    if (OnGetEditText) OnGetEditText(this, col, row, value);
    return value;
}

void TCustomGrid::SetEditText(int col, int row, const String& value) {
    if (OnSetEditText) OnSetEditText(this, col, row, value);
}

// ---- painting --------------------------------------------------------------------------------

void TCustomGrid::WMEraseBkgndGrid(TMessage& m) { m.Result = 1; }

void TCustomGrid::DrawCellText(const TRect& rect, const String& text, TColor color) {
    if (text.empty()) return;
    TRect r{rect.left + 2, rect.top + 2, rect.right - 2, rect.bottom};
    DrawCaption(Canvas()->Handle(), Font(), text, r, DT_SINGLELINE | DT_NOPREFIX | DT_TOP | DT_LEFT, color);
}

void TCustomGrid::DrawCell(int col, int row, const TRect& rect, TGridDrawState state) {
    if (OnDrawCell) OnDrawCell(this, col, row, rect, state);
}

void TCustomGrid::Paint() {
    TCanvas* canvas = Canvas();
    HDC dc = canvas->Handle();
    const TRect client = ClientRect();
    const bool focused = Focused() || (editorShowing_ && editor_ && editor_->Focused());
    const TColor lineColor = clBtnFace, fixedLine = clBlack;
    // Rows and columns in drawing order: fixed first, then from the top-left.
    std::vector<int> cols, rows;
    for (int c = 0; c < fixedCols_; ++c) cols.push_back(c);
    for (int c = leftCol_, x = FixedWidth(); c < colCount_ && x < client.right; ++c) {
        cols.push_back(c);
        x += ColWidths(c) + gridLineWidth_;
    }
    for (int r = 0; r < fixedRows_; ++r) rows.push_back(r);
    for (int r = topRow_, y = FixedHeight(); r < rowCount_ && y < client.bottom; ++r) {
        rows.push_back(r);
        y += RowHeights(r) + gridLineWidth_;
    }
    std::vector<int> xs(cols.size()), ys(rows.size());
    for (size_t i = 0, x = 0; i < cols.size(); ++i) {
        xs[i] = static_cast<int>(x);
        x += static_cast<size_t>(std::max(0, ColWidths(cols[i]) + gridLineWidth_));
    }
    for (size_t i = 0, y = 0; i < rows.size(); ++i) {
        ys[i] = static_cast<int>(y);
        y += static_cast<size_t>(std::max(0, RowHeights(rows[i]) + gridLineWidth_));
    }
    const int usedRight = cols.empty() ? 0 : xs.back() + ColWidths(cols.back()) + gridLineWidth_;
    const int usedBottom = rows.empty() ? 0 : ys.back() + RowHeights(rows.back()) + gridLineWidth_;
    FillColor(dc, TRect{usedRight, 0, client.right, client.bottom}, Color());
    FillColor(dc, TRect{0, usedBottom, client.right, client.bottom}, Color());

    for (size_t ri = 0; ri < rows.size(); ++ri) {
        const int row = rows[ri];
        for (size_t ci = 0; ci < cols.size(); ++ci) {
            const int col = cols[ci];
            const TRect cell{xs[ci], ys[ri], xs[ci] + ColWidths(col), ys[ri] + RowHeights(row)};
            if (cell.IsEmpty() && gridLineWidth_ == 0) continue;
            const bool fixed = col < fixedCols_ || row < fixedRows_;
            TGridDrawState state;
            if (fixed) state.Include(gdFixed);
            const bool current = col == col_ && row == row_;
            if (!fixed && current && focused) state.Include(gdFocused);
            const bool highlight = !fixed && InSelection(col, row) &&
                                   (!current || options_.Contains(goDrawFocusSelected) ||
                                    options_.Contains(goRowSelect) || !focused);
            if (!fixed && InSelection(col, row) && (focused || !current)) state.Include(gdSelected);
            // Lines right of and below the cell.
            if (gridLineWidth_ > 0) {
                const bool vert = fixed ? options_.Contains(goFixedVertLine) : options_.Contains(goVertLine);
                const bool horz = fixed ? options_.Contains(goFixedHorzLine) : options_.Contains(goHorzLine);
                const TColor lc = fixed ? fixedLine : lineColor;
                const TColor back = fixed ? fixedColor_ : Color();
                FillColor(
                    dc,
                    TRect{cell.right, cell.top, cell.right + gridLineWidth_, cell.bottom + gridLineWidth_},
                    vert ? lc : back);
                FillColor(dc, TRect{cell.left, cell.bottom, cell.right, cell.bottom + gridLineWidth_},
                          horz ? lc : back);
            }
            if (cell.IsEmpty()) continue;
            if (!defaultDrawing_) {
                DrawCell(col, row, cell, state);
                continue;
            }
            const int saved = SaveDC(dc);
            IntersectClipRect(dc, cell.left, cell.top, cell.right, cell.bottom);
            if (fixed) {
                FillColor(dc, cell, fixedColor_);
                TRect edge = cell;
                if (options_.Contains(goFixedVertLine) || options_.Contains(goFixedHorzLine))
                    DrawEdge(dc, &edge, BDR_RAISEDINNER, BF_RECT);
            } else {
                FillColor(dc, cell, highlight && state.Contains(gdSelected) ? clHighlight : Color());
            }
            canvas->Font()->Assign(Font());
            if (highlight && state.Contains(gdSelected)) canvas->Font()->SetColor(clHighlightText);
            canvas->Brush()->SetColor(
                fixed ? fixedColor_ : (highlight && state.Contains(gdSelected) ? clHighlight : Color()));
            DrawCell(col, row, cell, state);
            RestoreDC(dc, saved);
            if (state.Contains(gdFocused) && !options_.Contains(goRowSelect) && !editorShowing_ &&
                !options_.Contains(goDrawFocusSelected))
                DrawFocusRect(dc, cell);
        }
    }
    if (focused && options_.Contains(goRowSelect) && row_ >= topRow_) {
        const TRect first = CellRect(fixedCols_ < colCount_ ? std::max(fixedCols_, leftCol_) : 0, row_);
        if (!first.IsEmpty())
            DrawFocusRect(dc, TRect{first.left, first.top, std::min(client.right, usedRight - gridLineWidth_),
                                    first.bottom});
    }
    if (drag_.kind == TDragKind::Moving) FillColor(dc, MoveMarkRect(), clHighlight);
}

// ---- mouse and keys --------------------------------------------------------------------------

void TCustomGrid::WMGetDlgCodeGrid(TMessage& m) {
    m.Result = DLGC_WANTARROWS | DLGC_WANTCHARS;
    if (options_.Contains(goTabs)) m.Result |= DLGC_WANTTAB;
    if (options_.Contains(goEditing)) m.Result |= DLGC_WANTCHARS;
    if (drag_.kind != TDragKind::None) m.Result |= DLGC_WANTALLKEYS;  // Escape ends the drag, not the dialog
}

void TCustomGrid::MouseDown(TMouseButton button, TShiftState shift, int x, int y) {
    if (button == mbLeft && !BeginDrag(x, y)) {
        int col, row;
        if (MouseToCell(x, y, col, row) && col >= fixedCols_ && row >= fixedRows_) {
            clickedCurrent_ = col == col_ && row == row_ && !editorShowing_;
            const bool extend = shift.Contains(ssShift) && options_.Contains(goRangeSelect);
            FocusCell(col, row, !extend);
            selecting_ = options_.Contains(goRangeSelect) && !options_.Contains(goRowSelect);
        }
    }
    TCustomControl::MouseDown(button, shift, x, y);
}

void TCustomGrid::MouseMove(TShiftState shift, int x, int y) {
    if (drag_.kind != TDragKind::None) {
        DragTo(x, y);
    } else if (selecting_ && shift.Contains(ssLeft)) {
        int col, row;
        if (MouseToCell(x, y, col, row) && col >= fixedCols_ && row >= fixedRows_ &&
            (col != col_ || row != row_)) {
            MoveCurrent(col, row, false);
            Invalidate();
        }
    }
    TCustomControl::MouseMove(shift, x, y);
}

void TCustomGrid::MouseUp(TMouseButton button, TShiftState shift, int x, int y) {
    if (button == mbLeft) {
        selecting_ = false;
        // A click on the current cell opens the editor.
        int col, row;
        if (clickedCurrent_ && MouseToCell(x, y, col, row) && col == col_ && row == row_) ShowEditor(false);
        clickedCurrent_ = false;
    }
    TCustomControl::MouseUp(button, shift, x, y);
}

bool TCustomGrid::DoMouseWheel(TShiftState shift, int wheelDelta, TPoint mousePos) {
    if (TCustomControl::DoMouseWheel(shift, wheelDelta, mousePos)) return true;
    FocusCell(col_, row_ + (wheelDelta > 0 ? -1 : 1), true);
    return true;
}

void TCustomGrid::KeyDown(WORD& key, TShiftState shift) {
    if (drag_.kind != TDragKind::None && key == VK_ESCAPE) {
        EndDrag(false);
        key = 0;
        return;
    }
    TCustomControl::KeyDown(key, shift);
    if (key == 0) return;
    const bool ctrl = shift.Contains(ssCtrl);
    const bool extend = shift.Contains(ssShift) && options_.Contains(goRangeSelect) && !editorShowing_;
    int col = col_, row = row_;
    const int page = std::max(1, VisibleRowCount());
    switch (key) {
        case VK_UP: --row; break;
        case VK_DOWN: ++row; break;
        case VK_LEFT:
            if (options_.Contains(goRowSelect))
                SetLeftCol(leftCol_ - 1);
            else
                --col;
            break;
        case VK_RIGHT:
            if (options_.Contains(goRowSelect))
                SetLeftCol(leftCol_ + 1);
            else
                ++col;
            break;
        case VK_PRIOR: row -= page; break;
        case VK_NEXT: row += page; break;
        case VK_HOME:
            if (ctrl) row = fixedRows_;
            col = fixedCols_;
            break;
        case VK_END:
            if (ctrl) row = rowCount_ - 1;
            col = colCount_ - 1;
            break;
        case VK_TAB:
            if (!options_.Contains(goTabs)) return;
            col += shift.Contains(ssShift) ? -1 : 1;
            if (col >= colCount_) {
                col = fixedCols_;
                ++row;
            } else if (col < fixedCols_) {
                col = colCount_ - 1;
                --row;
            }
            if (row < fixedRows_ || row >= rowCount_) return;
            break;
        case VK_F1 + 1:  // F2
            ShowEditor(false);
            key = 0;
            return;
        case VK_RETURN:
            if (editorShowing_)
                HideEditor(true);
            else
                ShowEditor(true);
            key = 0;
            return;
        case VK_ESCAPE:
            if (!editorShowing_) return;
            HideEditor(false);
            key = 0;
            return;
        default: return;
    }
    key = 0;
    FocusCell(col, row, !extend);
}

void TCustomGrid::KeyPress(char16_t& key) {
    TCustomControl::KeyPress(key);
    if (key < u' ' || !options_.Contains(goEditing) || editorShowing_) return;
    // A typed character opens the editor and replaces the cell's text.
    const char16_t ch = key;
    key = 0;
    ShowEditor(true);
    if (editorShowing_) editor_->TypeChar(ch);
}

void TCustomGrid::DoEnter() {
    TCustomControl::DoEnter();
    if (options_.Contains(goAlwaysShowEditor)) ShowEditor(false);
    Invalidate();
}

void TCustomGrid::DoExit() {
    TCustomControl::DoExit();
    Invalidate();
}

void TCustomGrid::WMScroll(TMessage& m) {
    const bool vert = m.Msg == WM_VSCROLL;
    const int bar = vert ? SB_VERT : SB_HORZ;
    int pos = vert ? topRow_ : leftCol_;
    const int first = vert ? fixedRows_ : fixedCols_;
    const int last = vert ? MaxTopRow() : MaxLeftCol();
    const int page = std::max(1, vert ? VisibleRowCount() : VisibleColCount());
    switch (LOWORD(m.WParam)) {
        case SB_LINEUP: --pos; break;
        case SB_LINEDOWN: ++pos; break;
        case SB_PAGEUP: pos -= page; break;
        case SB_PAGEDOWN: pos += page; break;
        case SB_TOP: pos = first; break;
        case SB_BOTTOM: pos = last; break;
        case SB_THUMBTRACK:
            if (!options_.Contains(goThumbTracking)) {
                // The thumb moves with the mouse; the cells follow on release.
                return;
            }
            pos = ThumbPosition(bars_.Info(bar), m.WParam);
            break;
        case SB_THUMBPOSITION: pos = ThumbPosition(bars_.Info(bar), m.WParam); break;
        default: return;
    }
    if (vert)
        ScrollTo(leftCol_, pos);
    else
        ScrollTo(pos, topRow_);
    bars_.SetPosition(bar, vert ? topRow_ : leftCol_);
}

// ---- TStringGrid -----------------------------------------------------------------------------

String TStringGrid::Cells(int col, int row) const {
    auto it = cells_.find(Key(col, row));
    return it == cells_.end() || col < 0 || row < 0 ? String() : it->second.text;
}

void TStringGrid::InvalidateCell(int col, int row) {
    if (!HandleAllocated()) return;
    TRect r = CellRect(col, row);
    if (!r.IsEmpty()) InvalidateRect(Handle(), &r, false);
}

void TStringGrid::SetCells(int col, int row, const String& text) {
    if (col < 0 || row < 0) throw EInvalidOperation("Grid index out of range");
    Cell& cell = cells_[Key(col, row)];
    if (cell.text == text) return;
    cell.text = text;
    InvalidateCell(col, row);
    if (EditorMode() && col == Col() && row == Row() && InplaceEditor()->Text() != text)
        InplaceEditor()->SetText(text);
}

TObject* TStringGrid::Objects(int col, int row) const {
    auto it = cells_.find(Key(col, row));
    return it == cells_.end() || col < 0 || row < 0 ? nullptr : it->second.object;
}

void TStringGrid::SetObjects(int col, int row, TObject* object) {
    if (col < 0 || row < 0) throw EInvalidOperation("Grid index out of range");
    cells_[Key(col, row)].object = object;
}

void TStringGrid::ClearCells() {
    cells_.clear();
    Invalidate();
}

void TStringGrid::DrawCell(int col, int row, const TRect& rect, TGridDrawState state) {
    if (DefaultDrawing()) {
        auto it = cells_.find(Key(col, row));
        if (it != cells_.end()) DrawCellText(rect, it->second.text, Canvas()->Font()->Color());
    }
    TDrawGrid::DrawCell(col, row, rect, state);
}

String TStringGrid::GetEditText(int col, int row) {
    String value = Cells(col, row);
    if (OnGetEditText) OnGetEditText(this, col, row, value);
    return value;
}

void TStringGrid::SetEditText(int col, int row, const String& value) {
    SetCells(col, row, value);
    TDrawGrid::SetEditText(col, row, value);
}

}  // namespace tarvel
