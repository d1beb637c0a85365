#pragma once
// Data-aware controls over the database layer: a query that reads the rows
// of one statement as its users need them, a data source that tells the
// controls bound to it when the query opens, reads on or closes, and a data
// grid that shows the query's fields as columns under their names. A query
// of a month of readings can hold millions of rows: the grid reads only as
// far as it has been scrolled, a page ahead.

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/classlib/Grids.h"
#include "platform/db/Database.h"

namespace tarvel {

class TDataSource;

// What a data source tells the controls bound to it.
class IDataLink {
public:
    virtual ~IDataLink() = default;
    // The query opened, read on, or closed.
    virtual void DataSetChanged() = 0;
};

class TQuery : public TComponent {
    TARVEL_CLASS(TQuery, TComponent)

public:
    explicit TQuery(TComponent* owner);
    ~TQuery() override;

    // Takes a prepared and bound SELECT and learns its fields; no row is
    // read yet. `connection`, when given, is kept until the query closes, so
    // the database the statement reads stays open as long as it does.
    // Raises EDatabaseError as the database does.
    void Open(Statement statement, std::shared_ptr<const void> connection = {});
    // Drops the statement and the rows read.
    void Close();
    bool Active() const { return statement_.has_value() || !fields_.empty(); }

    int FieldCount() const { return static_cast<int>(fields_.size()); }
    const String& FieldName(int field) const { return fields_.at(static_cast<size_t>(field)); }
    // The field of that name, ignoring case; -1 when none.
    int FieldIndex(std::string_view name) const;

    // Rows read so far.
    int RecordCount() const { return records_; }
    // True once the statement has given its last row.
    bool Eof() const { return !statement_.has_value(); }
    // Reads on until `count` rows are there or the statement ends; whether
    // they are there.
    bool FetchTo(int count);
    void FetchAll();
    // Hands each row not read yet to `row`, as the statement gives it,
    // without keeping it: for a reader that keeps less than the rows (a
    // chart's points). The query is at its end afterwards.
    void ReadRest(const std::function<void(const Statement&)>& row);
    // A value as text ("" for NULL or outside the rows read), valid until
    // the query reads on or closes.
    std::string_view Value(int record, int field) const;

private:
    friend class TDataSource;
    void Changed();
    void DropRows();
    static constexpr int kReserveRows = 4096;
    // Buffers up to this size are kept for the next statement.
    static constexpr size_t kKeptTextBytes = 1 << 20;

    std::optional<Statement> statement_;
    std::shared_ptr<const void> connection_;
    std::vector<String> fields_;
    // The texts of the rows read, back to back, and where each field's text
    // ends: a page is two buffers, not a string per field.
    std::string text_;
    std::vector<size_t> ends_;
    int records_ = 0;
    std::vector<TDataSource*> sources_;
};

// Hands a query to the controls bound to it and tells them of its changes.
class TDataSource : public TComponent {
    TARVEL_CLASS(TDataSource, TComponent)

public:
    explicit TDataSource(TComponent* owner);
    ~TDataSource() override;

    TQuery* DataSet() const { return dataSet_; }
    void SetDataSet(TQuery* query);
    // A control (a component) that hears of the query's changes until it goes.
    void AddLink(TComponent* control, IDataLink* link);
    void RemoveLink(IDataLink* link);

protected:
    void Notification(TComponent* component, TOperation operation) override;

private:
    friend class TQuery;
    void DataChanged();
    TQuery* dataSet_ = nullptr;
    std::vector<std::pair<TComponent*, IDataLink*>> links_;
};

// The grid of a data source: a title row with the field names, an indicator
// column marking the current record, and a row per record read.
class TDBGrid : public TCustomGrid, private IDataLink {
    TARVEL_CLASS(TDBGrid, TCustomGrid)

public:
    explicit TDBGrid(TComponent* owner);
    ~TDBGrid() override;

    TDataSource* DataSource() const { return dataSource_; }
    void SetDataSource(TDataSource* source);
    // Rows read ahead of the last one shown.
    static constexpr int kPageAhead = 100;

    String UiCellText(int col, int row) override;

protected:
    void Notification(TComponent* component, TOperation operation) override;
    void WndProc(TMessage& m) override;
    void DrawCell(int col, int row, const TRect& rect, TGridDrawState state) override;
    String GetEditText(int col, int row) override;

private:
    TQuery* Query() const { return dataSource_ ? dataSource_->DataSet() : nullptr; }
    // Columns and rows after the query changed.
    void DataSetChanged() override;
    // Reads on when the rows shown reach the last one read.
    void ReadAheadOfView();
    void DrawIndicator(const TRect& rect);

    TDataSource* dataSource_ = nullptr;
    bool laying_ = false;
    bool sizedByRows_ = false;
};

}  // namespace tarvel
