// Sizing columns and rows at their edges with the mouse, and moving them by
// their fixed cells or by code.

#include "platform/classlib/Grids.h"

#include <algorithm>

#include "platform/classlib/Forms.h"
#include "platform/classlib/StdCtrls_Draw.h"

namespace tarvel {

namespace {
constexpr int kSizingZone = 3;  // pixels beside an edge that still grab it
constexpr int kMaxSize = 0x7FFF;
}  // namespace

// ---- sizing ----------------------------------------------------------------------------------

// The shown line whose far edge lies nearest `pos`, within the zone; -1 when none does.
int TCustomGrid::SizingLineAt(bool rows, int pos) {
    const TGridLines lines = Lines(rows);
    const int limit = ClientExtent(rows);
    int best = -1, bestDistance = kSizingZone, start = 0;
    for (int i = lines.FirstShown(); i < lines.count && start < limit; i = lines.NextShown(i)) {
        // The grid line after the cell spans [edge, edge + gridLineWidth_).
        const int edge = start + lines.Size(i);
        const int distance = pos < edge ? edge - pos : std::max(0, pos - (edge + gridLineWidth_ - 1));
        // A tie goes to the later line, so that one sized down to nothing can be pulled out again.
        if (distance <= bestDistance) {
            best = i;
            bestDistance = distance;
        }
        start = edge + gridLineWidth_;
        if (start > pos + kSizingZone) break;
    }
    return best;
}

// Columns are sized in the fixed rows, rows in the fixed columns.
bool TCustomGrid::SizingHit(int x, int y, bool& rows, int& index) {
    for (const bool r : {false, true}) {
        if (!options_.Contains(r ? goRowSizing : goColSizing)) continue;
        const int across = r ? x : y;
        if (across < 0 || across >= FixedExtent(!r)) continue;
        index = SizingLineAt(r, r ? y : x);
        if (index < 0) continue;
        rows = r;
        return true;
    }
    return false;
}

// Sizes a line while the mouse drags its edge; the hooks run once, on release.
void TCustomGrid::StoreSize(bool rows, int i, int size) {
    const TGridLines lines = Lines(rows);
    if (lines.Size(i) == size) return;
    std::vector<int>& sizes = *lines.sizes;
    if (sizes.size() <= static_cast<size_t>(i)) sizes.resize(static_cast<size_t>(i) + 1, lines.defaultSize);
    sizes[static_cast<size_t>(i)] = size;
    PlaceEditor();
    Invalidate();
}

void TCustomGrid::WMSetCursorGrid(TMessage& m) {
    const int hit = static_cast<int16_t>(LOWORD(static_cast<uintptr_t>(m.LParam)));
    const bool own = reinterpret_cast<HWND>(m.WParam) == Handle() && hit == HTCLIENT;
    TPoint p;
    if (own && drag_.kind == TDragKind::None && (!Screen || Screen->Cursor() == crDefault) &&
        GetCursorPos(p)) {
        p = ScreenToClient(p);
        bool rows = false;
        int index = -1;
        if (SizingHit(p.x, p.y, rows, index)) {
            ::tarvel::SetCursor(LoadCursor(CursorShapeOf(rows ? crSizeNS : crSizeWE)));
            m.Result = 1;
            return;
        }
    }
    TCustomControl::WMSetCursor(m);
    // Our window class names no cursor: leave no size cursor behind.
    if (own && !m.Result) {
        ::tarvel::SetCursor(LoadCursor(IDC_ARROW));
        m.Result = 1;
    }
}

// ---- the drag --------------------------------------------------------------------------------

// Sizing at an edge comes before moving by the fixed cell.
bool TCustomGrid::BeginDrag(int x, int y) {
    bool rows = false;
    int index = -1;
    if (SizingHit(x, y, rows, index)) {
        drag_ = TDrag{TDragKind::Sizing, rows, index, rows ? y : x, Lines(rows).Size(index), index};
        return true;
    }
    int col, row;
    if (!MouseToCell(x, y, col, row)) return false;
    if (options_.Contains(goColMoving) && row < fixedRows_ && col >= fixedCols_)
        drag_ = TDrag{TDragKind::Moving, false, col, x, 0, col};
    else if (options_.Contains(goRowMoving) && col < fixedCols_ && row >= fixedRows_)
        drag_ = TDrag{TDragKind::Moving, true, row, y, 0, row};
    else
        return false;
    return true;
}

// Where a moved line drops for the mouse at `pos`; past either end of the
// scrolling part the grid scrolls a line on each move.
int TCustomGrid::MoveTargetAt(bool rows, int pos) {
    const auto scrollTo = [&](int first) {
        if (rows)
            ScrollTo(leftCol_, first);
        else
            ScrollTo(first, topRow_);
    };
    if (pos < FixedExtent(rows)) {
        scrollTo(Lines(rows).first - 1);
        return Lines(rows).first;
    }
    const int limit = ClientExtent(rows);
    if (pos >= limit) {
        scrollTo(Lines(rows).first + 1);
        pos = limit - 1;
    }
    const TGridLines lines = Lines(rows);
    const int i = LineAt(rows, pos);
    return i >= lines.fixed ? i : lines.count - 1;
}

void TCustomGrid::DragTo(int x, int y) {
    const int pos = drag_.rows ? y : x;
    if (drag_.index >= Lines(drag_.rows).count) return;  // the grid shrank under the mouse
    if (drag_.kind == TDragKind::Sizing) {
        const int64_t size = int64_t(drag_.startSize) + pos - drag_.pressPos;
        StoreSize(drag_.rows, drag_.index, static_cast<int>(std::clamp<int64_t>(size, 0, kMaxSize)));
        return;
    }
    const int target = MoveTargetAt(drag_.rows, pos);
    if (target == drag_.target) return;
    drag_.target = target;
    Invalidate();
}

void TCustomGrid::EndDrag(bool commit) {
    const TDrag drag = drag_;
    drag_ = TDrag{};
    SetMouseCapture(false);  // the capture message then finds no drag
    Invalidate();
    if (drag.kind == TDragKind::None || drag.index >= Lines(drag.rows).count) return;
    if (drag.kind == TDragKind::Moving) {
        if (commit && drag.target != drag.index) MoveLine(drag.rows, drag.index, drag.target);
        return;
    }
    const int size = Lines(drag.rows).Size(drag.index);
    StoreSize(drag.rows, drag.index, drag.startSize);
    if (!commit || size == drag.startSize) return;
    if (drag.rows)
        SetRowHeights(drag.index, size);
    else
        SetColWidths(drag.index, size);
}

// The release ends the drag before the capture goes, which would cancel it.
void TCustomGrid::WMLButtonUpGrid(TMessage& m) {
    if (drag_.kind != TDragKind::None) {
        const TPoint p = PointFromLParam(m.LParam);
        DragTo(p.x, p.y);
        EndDrag(true);
    }
    TCustomControl::WMLButtonUp(m);
}

void TCustomGrid::WMCaptureChangedGrid(TMessage& m) {
    if (drag_.kind != TDragKind::None) EndDrag(false);
    DefaultHandler(m);
}

// A bar over the grid line where the moved line would land: after the
// target when moving on, before it when moving back.
TRect TCustomGrid::MoveMarkRect() {
    const bool rows = drag_.rows;
    if (drag_.kind != TDragKind::Moving || drag_.target == drag_.index || drag_.target >= Lines(rows).count)
        return TRect{};
    const int start = LineStart(rows, drag_.target);
    const int line =
        drag_.target > drag_.index ? start + Lines(rows).Size(drag_.target) : start - gridLineWidth_;
    const int across = ClientExtent(!rows);
    if (rows) return TRect{0, line - 1, across, line + gridLineWidth_ + 1};
    return TRect{line - 1, 0, line + gridLineWidth_ + 1, across};
}

// ---- moving ----------------------------------------------------------------------------------

int TCustomGrid::MovedIndex(int i, int fromIndex, int toIndex) {
    if (i == fromIndex) return toIndex;
    if (fromIndex < toIndex && i > fromIndex && i <= toIndex) return i - 1;
    if (fromIndex > toIndex && i >= toIndex && i < fromIndex) return i + 1;
    return i;
}

void TCustomGrid::MoveLine(bool rows, int fromIndex, int toIndex) {
    const TGridLines lines = Lines(rows);
    if (fromIndex < 0 || toIndex < 0 || fromIndex >= lines.count || toIndex >= lines.count)
        throw EInvalidOperation("Grid index out of range");
    if (fromIndex == toIndex) return;
    std::vector<int>& sizes = *lines.sizes;
    if (!sizes.empty()) {  // empty: every line has the default size
        const size_t last = static_cast<size_t>(std::max(fromIndex, toIndex));
        if (sizes.size() <= last) sizes.resize(last + 1, lines.defaultSize);
        const auto at = [&](int i) { return sizes.begin() + i; };
        if (fromIndex < toIndex)
            std::rotate(at(fromIndex), at(fromIndex + 1), at(toIndex + 1));
        else
            std::rotate(at(toIndex), at(fromIndex), at(fromIndex + 1));
    }
    // The current cell and the selection's anchor go with their line, but
    // stay out of the fixed lines when code moves one of those.
    int& current = rows ? row_ : col_;
    int& anchor = rows ? anchor_.Y : anchor_.X;
    current = std::max(MovedIndex(current, fromIndex, toIndex), std::min(lines.fixed, lines.count - 1));
    anchor = std::max(MovedIndex(anchor, fromIndex, toIndex), std::min(lines.fixed, lines.count - 1));
    if (rows) {
        RowHeightsChanged();
        RowMoved(fromIndex, toIndex);
    } else {
        ColWidthsChanged();
        ColumnMoved(fromIndex, toIndex);
    }
    Invalidate();
}

void TCustomGrid::ColumnMoved(int fromIndex, int toIndex) {
    if (OnColumnMoved) OnColumnMoved(this, fromIndex, toIndex);
}

void TCustomGrid::RowMoved(int fromIndex, int toIndex) {
    if (OnRowMoved) OnRowMoved(this, fromIndex, toIndex);
}

// Moves the texts and objects of the moved lines within the current counts;
// cells kept beyond the counts stay where they are.
void TStringGrid::MoveCells(bool rows, int fromIndex, int toIndex) {
    const int low = std::min(fromIndex, toIndex), high = std::max(fromIndex, toIndex);
    const int acrossCount = rows ? ColCount() : RowCount();
    std::vector<std::pair<uint64_t, Cell>> moved;
    for (auto it = cells_.begin(); it != cells_.end();) {
        const int col = static_cast<int>(static_cast<uint32_t>(it->first)),
                  row = static_cast<int>(it->first >> 32);
        const int along = rows ? row : col, across = rows ? col : row;
        if (along < low || along > high || across >= acrossCount) {
            ++it;
            continue;
        }
        const int to = MovedIndex(along, fromIndex, toIndex);
        moved.emplace_back(rows ? Key(col, to) : Key(to, row), std::move(it->second));
        it = cells_.erase(it);
    }
    // The moved cells fill exactly the places they left.
    for (auto& [key, cell] : moved) cells_.insert_or_assign(key, std::move(cell));
}

void TStringGrid::ColumnMoved(int fromIndex, int toIndex) {
    MoveCells(false, fromIndex, toIndex);
    TDrawGrid::ColumnMoved(fromIndex, toIndex);
}

void TStringGrid::RowMoved(int fromIndex, int toIndex) {
    MoveCells(true, fromIndex, toIndex);
    TDrawGrid::RowMoved(fromIndex, toIndex);
}

}  // namespace tarvel
