// TQuery, TDataSource, TDBGrid.

#include "platform/classlib/DBGrids.h"

#include <algorithm>

#include "platform/classlib/StdCtrls_Draw.h"

namespace tarvel {

namespace {

int Utf8Length(std::string_view text) {
    int n = 0;
    for (unsigned char c : text) n += (c & 0xC0) != 0x80;
    return n;
}

}  // namespace

// ---- TQuery ----

TQuery::TQuery(TComponent* owner) : TComponent(owner) {}

TQuery::~TQuery() {
    Destroying();
    statement_.reset();
    connection_.reset();
}

void TQuery::Open(Statement statement, std::shared_ptr<const void> connection) {
    std::vector<String> fields;
    for (int c = 0; c < statement.ColumnCount(); ++c) fields.push_back(statement.ColumnName(c));
    // The last statement and its rows go without a word: the controls hear
    // once, of the new one.
    statement_.reset();
    connection_.reset();
    DropRows();
    fields_ = std::move(fields);
    statement_.emplace(std::move(statement));
    connection_ = std::move(connection);
    Changed();
}

void TQuery::Close() {
    statement_.reset();
    connection_.reset();
    if (fields_.empty()) return;
    fields_.clear();
    DropRows();
    Changed();
}

void TQuery::DropRows() {
    // A page's buffers serve the next statement; a long read's are given back.
    if (text_.capacity() > kKeptTextBytes) {
        std::string().swap(text_);
        std::vector<size_t>().swap(ends_);
    }
    text_.clear();
    ends_.clear();
    records_ = 0;
}

int TQuery::FieldIndex(std::string_view name) const {
    for (size_t i = 0; i < fields_.size(); ++i)
        if (SameText(fields_[i], name)) return static_cast<int>(i);
    return -1;
}

bool TQuery::FetchTo(int count) {
    const int before = records_;
    const bool wasReading = statement_.has_value();
    const size_t fields = fields_.size();
    try {
        // A page read at once is made room for once; reading all grows as it goes.
        if (statement_ && count > records_ && count - records_ <= kReserveRows)
            ends_.reserve(static_cast<size_t>(count) * fields);
        while (statement_ && records_ < count) {
            if (!statement_->Step()) {
                statement_.reset();
                break;
            }
            for (size_t c = 0; c < fields; ++c) {
                statement_->AppendColumnText(static_cast<int>(c), text_);
                ends_.push_back(text_.size());
            }
            ++records_;
        }
    } catch (...) {
        // A statement that failed half-way gives no further rows, and the
        // row it was reading is not kept.
        statement_.reset();
        ends_.resize(static_cast<size_t>(records_) * fields);
        text_.resize(ends_.empty() ? 0 : ends_.back());
        if (records_ != before) Changed();
        throw;
    }
    if (records_ != before || wasReading != statement_.has_value()) Changed();
    return records_ >= count;
}

void TQuery::FetchAll() { FetchTo(INT32_MAX); }

void TQuery::ReadRest(const std::function<void(const Statement&)>& row) {
    if (!statement_) return;
    try {
        while (statement_->Step()) row(*statement_);
    } catch (...) {
        statement_.reset();
        Changed();
        throw;
    }
    statement_.reset();
    Changed();
}

std::string_view TQuery::Value(int record, int field) const {
    if (record < 0 || record >= records_ || field < 0 || field >= FieldCount()) return {};
    const size_t at = static_cast<size_t>(record) * fields_.size() + static_cast<size_t>(field);
    const size_t begin = at == 0 ? 0 : ends_[at - 1];
    return std::string_view(text_).substr(begin, ends_[at] - begin);
}

void TQuery::Changed() {
    // A source may unbind itself while hearing of the change.
    const std::vector<TDataSource*> sources = sources_;
    for (TDataSource* source : sources) source->DataChanged();
}

// ---- TDataSource ----

TDataSource::TDataSource(TComponent* owner) : TComponent(owner) {}

TDataSource::~TDataSource() {
    Destroying();
    SetDataSet(nullptr);
}

void TDataSource::SetDataSet(TQuery* query) {
    if (query == dataSet_) return;
    if (dataSet_) {
        std::erase(dataSet_->sources_, this);
        dataSet_->RemoveFreeNotification(this);
    }
    dataSet_ = query;
    if (dataSet_) {
        dataSet_->sources_.push_back(this);
        dataSet_->FreeNotification(this);
    }
    DataChanged();
}

void TDataSource::AddLink(TComponent* control, IDataLink* link) {
    links_.emplace_back(control, link);
    control->FreeNotification(this);
}

void TDataSource::RemoveLink(IDataLink* link) {
    std::erase_if(links_, [link](const auto& l) { return l.second == link; });
}

void TDataSource::Notification(TComponent* component, TOperation operation) {
    TComponent::Notification(component, operation);
    if (operation != TOperation::opRemove) return;
    if (component == dataSet_) {
        dataSet_ = nullptr;
        DataChanged();
    }
    std::erase_if(links_, [component](const auto& l) { return l.first == component; });
}

void TDataSource::DataChanged() {
    if (ComponentState().Contains(csDestroying)) return;
    const auto links = links_;
    for (const auto& link : links) link.second->DataSetChanged();
}

// ---- TDBGrid ----

TDBGrid::TDBGrid(TComponent* owner) : TCustomGrid(owner) {
    SetOptions(Options() + TGridOptions{goColSizing});
    SetDefaultRowHeight(18);
    SetColCount(2);
    SetRowCount(2);
    SetColWidths(0, 11);
}

TDBGrid::~TDBGrid() {
    Destroying();
    if (dataSource_) dataSource_->RemoveLink(this);
}

void TDBGrid::SetDataSource(TDataSource* source) {
    if (source == dataSource_) return;
    if (dataSource_) {
        dataSource_->RemoveLink(this);
        dataSource_->RemoveFreeNotification(this);
    }
    dataSource_ = source;
    if (dataSource_) {
        dataSource_->AddLink(this, this);
        dataSource_->FreeNotification(this);
    }
    DataSetChanged();
}

void TDBGrid::Notification(TComponent* component, TOperation operation) {
    TCustomGrid::Notification(component, operation);
    if (operation == TOperation::opRemove && component == dataSource_) {
        dataSource_ = nullptr;
        DataSetChanged();
    }
}

void TDBGrid::DataSetChanged() {
    if (laying_ || ComponentState().Contains(csDestroying)) return;
    // Counts and widths set here are laid out once, at the end.
    struct TLaying {
        TDBGrid& grid;
        explicit TLaying(TDBGrid& g) : grid(g) {
            grid.laying_ = true;
            grid.BeginLayout();
        }
        ~TLaying() {
            grid.EndLayout();
            grid.laying_ = false;
        }
    } laying(*this);
    TQuery* query = Query();
    const bool open = query && query->Active();
    const int fields = open ? query->FieldCount() : 0;
    const int oldCols = ColCount();
    SetColCount(1 + std::max(1, fields));
    SetRowCount(1 + std::max(1, open ? query->RecordCount() : 0));
    SetFixedCols(1);
    SetFixedRows(1);
    // Sized by the titles when the query opens, and once more by the first
    // page when its rows come.
    const bool firstRows = open && query->RecordCount() > 0 && !sizedByRows_;
    if (!open || query->RecordCount() == 0) sizedByRows_ = false;
    if (oldCols != ColCount() || firstRows) {
        sizedByRows_ = firstRows;
        // Columns as wide as their title or the widest value of the first page.
        for (int f = 0; f < std::max(1, fields); ++f) {
            int chars = open ? Utf8Length(query->FieldName(f)) : 0;
            for (int r = 0; open && r < std::min(query->RecordCount(), kPageAhead); ++r)
                chars = std::max(chars, Utf8Length(query->Value(r, f)));
            SetColWidths(f + 1, std::clamp(chars * 7 + 10, 40, 220));
        }
    }
    Invalidate();
}

void TDBGrid::ReadAheadOfView() {
    TQuery* query = Query();
    if (laying_ || !query || query->Eof()) return;
    const int lastShown = TopRow() + VisibleRowCount();
    if (query->RecordCount() < lastShown + kPageAhead / 2) query->FetchTo(lastShown + kPageAhead);
}

void TDBGrid::WndProc(TMessage& m) {
    TCustomGrid::WndProc(m);
    if (m.Msg == WM_PAINT || m.Msg == WM_VSCROLL || m.Msg == WM_KEYDOWN || m.Msg == WM_MOUSEWHEEL ||
        m.Msg == WM_SIZE)
        ReadAheadOfView();
}

String TDBGrid::GetEditText(int col, int row) {
    TQuery* query = Query();
    if (!query || col < 1 || row < 0) return {};
    if (row == 0) return col <= query->FieldCount() ? query->FieldName(col - 1) : String();
    return String(query->Value(row - 1, col - 1));
}

String TDBGrid::UiCellText(int col, int row) {
    if (TQuery* query = Query(); query && row > query->RecordCount()) query->FetchTo(row);
    return GetEditText(col, row);
}

void TDBGrid::DrawCell(int col, int row, const TRect& rect, TGridDrawState state) {
    if (DefaultDrawing()) {
        if (col == 0 && row == Row() && row > 0 && Query() && Query()->RecordCount() > 0)
            DrawIndicator(rect);
        else
            DrawCellText(rect, GetEditText(col, row), Canvas()->Font()->Color());
    }
    TCustomGrid::DrawCell(col, row, rect, state);
}

// A small black triangle pointing at the current record.
void TDBGrid::DrawIndicator(const TRect& rect) {
    const int cx = (rect.left + rect.right) / 2, cy = (rect.top + rect.bottom) / 2;
    const TPoint points[] = {{cx - 2, cy - 4}, {cx + 2, cy}, {cx - 2, cy + 4}};
    TCanvas* canvas = Canvas();
    const TColor pen = canvas->Pen()->Color(), brush = canvas->Brush()->Color();
    canvas->Pen()->SetColor(clBlack);
    canvas->Brush()->SetColor(clBlack);
    canvas->Polygon(points);
    canvas->Pen()->SetColor(pen);
    canvas->Brush()->SetColor(brush);
}

}  // namespace tarvel
