// The data grid over a query: field names as titles, a row per record, rows
// read only as far as the grid is scrolled, and a closed query, a source
// gone or a statement failing half-way leaving it sound.

#include "platform/classlib/DBGrids.h"

#include "ControlFixture.h"
#include "platform/classlib/StdCtrls_Draw.h"
#include "tests/TempFolderFixture.h"

namespace tarvel {
namespace {

class DBGridTest : public ControlFixture {
protected:
    DBGridTest() : db(folder.File("grid.db")) {
        db.Execute("CREATE TABLE Readings(RecordTime TEXT, SerialNO TEXT, BATT INTEGER)");
        query = new TQuery(form);
        source = new TDataSource(form);
        source->SetDataSet(query);
        grid = Add<TDBGrid>("DBGrid1", Bounds(10, 10, 440, 200));
        grid->SetDataSource(source);
    }

    // Rows "2024-03-01 00:00:<n>", "M<n % 3>", 3000 + n for n = 1..count, in one transaction.
    void Fill(int count) {
        db.Execute("BEGIN");
        Statement insert = db.Prepare("INSERT INTO Readings VALUES(?,?,?)");
        for (int n = 1; n <= count; ++n) {
            insert.BindText(1, "2024-03-01 " + std::to_string(n));
            insert.BindText(2, "M" + std::to_string(n % 3));
            insert.BindInt64(3, 3000 + n);
            insert.Run();
        }
        db.Execute("COMMIT");
    }

    String Cell(int col, int row) { return ui.CellText(grid, col, row); }

    testing::TempFolder folder;
    Database db;
    TQuery* query = nullptr;
    TDataSource* source = nullptr;
    TDBGrid* grid = nullptr;
};

TEST_F(DBGridTest, ShowsTheFieldNamesOverARowPerRecord) {
    Fill(3);
    Statement select = db.Prepare("SELECT * FROM Readings WHERE SerialNO <> ? ORDER BY BATT DESC");
    select.BindText(1, "M0");
    query->Open(std::move(select));
    ShowForm();

    EXPECT_EQ(grid->ColCount(), 4);  // the indicator column, then the three fields
    EXPECT_EQ(Cell(1, 0), "RecordTime");
    EXPECT_EQ(Cell(2, 0), "SerialNO");
    EXPECT_EQ(Cell(3, 0), "BATT");
    EXPECT_EQ(grid->RowCount(), 3);
    EXPECT_EQ(Cell(3, 1), "3002");
    EXPECT_EQ(Cell(2, 1), "M2");
    EXPECT_EQ(Cell(3, 2), "3001");
    EXPECT_EQ(Cell(1, 2), "2024-03-01 1");
    EXPECT_EQ(Cell(0, 1), "");
    // Columns fit the longest of their title and first values.
    EXPECT_GE(grid->ColWidths(1), TextWidthOf(grid->Font(), u"2024-03-01 1"));
    EXPECT_GE(grid->ColWidths(2), TextWidthOf(grid->Font(), u"SerialNO"));
}

TEST_F(DBGridTest, ReadsOnlyAPageAheadOfTheRowsItShows) {
    Fill(5000);
    query->Open(db.Prepare("SELECT * FROM Readings ORDER BY BATT"));
    ShowForm();
    const int shown = grid->VisibleRowCount();
    ASSERT_GT(shown, 3);
    EXPECT_GE(query->RecordCount(), shown);
    EXPECT_LE(query->RecordCount(), shown + TDBGrid::kPageAhead + 1);
    EXPECT_FALSE(query->Eof());

    // Paging down reads on as the rows come into view.
    grid->SetFocus();
    for (int i = 0; i < 20; ++i) ui.PressKey(VK_NEXT);
    ui.RunUntilIdle();
    EXPECT_GE(query->RecordCount(), grid->TopRow() + shown - 1);
    EXPECT_EQ(grid->RowCount(), query->RecordCount() + 1);
    EXPECT_LT(query->RecordCount(), 5000);

    // A cell far down is there when asked for, and so is the last.
    EXPECT_EQ(Cell(3, 4000), "7000");
    EXPECT_EQ(Cell(3, 5000), "8000");
    query->FetchAll();
    EXPECT_TRUE(query->Eof());
    EXPECT_EQ(grid->RowCount(), 5001);
    EXPECT_EQ(Cell(3, 5001), "");
}

// Counts and widths change together when a query opens; the grid is laid
// out once for the final sizes: bars for what overflows, the top row and
// the left column within the new lines.
TEST_F(DBGridTest, AQueryOpenedAgainIsLaidOutForItsFinalSizes) {
    Fill(500);
    query->Open(db.Prepare("SELECT * FROM Readings ORDER BY BATT"));
    ShowForm();
    grid->SetFocus();
    for (int i = 0; i < 5; ++i) ui.PressKey(VK_NEXT);
    ui.RunUntilIdle();
    ASSERT_GT(grid->TopRow(), 1);
    EXPECT_TRUE(GetWindowLongPtr(grid->Handle(), GWL_STYLE) & WS_VSCROLL);

    query->Open(db.Prepare("SELECT BATT FROM Readings ORDER BY BATT LIMIT 2"));
    ui.RunUntilIdle();
    EXPECT_EQ(grid->RowCount(), 3);
    EXPECT_EQ(grid->TopRow(), 1);
    EXPECT_EQ(grid->LeftCol(), 1);
    EXPECT_FALSE(GetWindowLongPtr(grid->Handle(), GWL_STYLE) & WS_VSCROLL);
    EXPECT_FALSE(GetWindowLongPtr(grid->Handle(), GWL_STYLE) & WS_HSCROLL);
    EXPECT_EQ(Cell(1, 2), "3002");

    query->Open(db.Prepare("SELECT * FROM Readings ORDER BY BATT"));
    ui.RunUntilIdle();
    EXPECT_TRUE(GetWindowLongPtr(grid->Handle(), GWL_STYLE) & WS_VSCROLL);
    EXPECT_EQ(grid->TopRow(), 1);
    SCROLLINFO v;
    ASSERT_TRUE(GetScrollInfo(grid->Handle(), SB_VERT, v));
    EXPECT_EQ(v.nMax, grid->RowCount() - 1);
}

TEST_F(DBGridTest, AClosedQueryOrAMissingSourceLeavesAnEmptyGrid) {
    Fill(4);
    query->Open(db.Prepare("SELECT BATT FROM Readings"));
    ShowForm();
    ASSERT_EQ(grid->RowCount(), 5);

    query->Close();
    EXPECT_FALSE(query->Active());
    EXPECT_EQ(grid->RowCount(), 2);
    EXPECT_EQ(grid->ColCount(), 2);
    EXPECT_EQ(Cell(1, 0), "");
    EXPECT_EQ(Cell(1, 1), "");

    query->Open(db.Prepare("SELECT BATT FROM Readings"));
    ShowForm();
    EXPECT_EQ(Cell(1, 4), "3004");
    delete query;  // the source and the grid let go of it
    EXPECT_EQ(source->DataSet(), nullptr);
    EXPECT_EQ(grid->RowCount(), 2);
    delete source;
    EXPECT_EQ(grid->DataSource(), nullptr);
    ShowForm();
    EXPECT_EQ(Cell(1, 1), "");
}

TEST_F(DBGridTest, AStatementFailingHalfWayRaisesAndKeepsTheRowsRead) {
    Fill(5);
    // abs() of the smallest integer overflows: the fourth row fails.
    query->Open(db.Prepare(
        "SELECT BATT, CASE WHEN BATT = 3004 THEN abs(-9223372036854775807 - 1) ELSE 0 END FROM Readings "
        "ORDER BY rowid"));
    EXPECT_THROW(query->FetchAll(), EDatabaseError);
    EXPECT_EQ(query->RecordCount(), 3);
    EXPECT_TRUE(query->Eof());
    EXPECT_NO_THROW(query->FetchAll());
    ShowForm();
    EXPECT_EQ(grid->RowCount(), 4);
    EXPECT_EQ(Cell(1, 3), "3003");
}

// Each kind of stored value shows as the database's own text of it.
TEST_F(DBGridTest, EveryKindOfValueShowsAsTheDatabaseWritesIt) {
    const char* const values[] = {"0",
                                  "-1",
                                  "9223372036854775807",
                                  "-9223372036854775807 - 1",
                                  "3.5",
                                  "-0.25",
                                  "1e20",
                                  "1.0/3",
                                  "NULL",
                                  "''",
                                  "'Zelle 电压'",
                                  "x'00414200'",
                                  "'3300'",
                                  "CAST(7 AS REAL)"};
    std::string select = "SELECT ";
    for (const char* value : values) select += std::string(select.size() > 7 ? "," : "") + value;
    query->Open(db.Prepare(select));
    ASSERT_TRUE(query->FetchTo(1));
    Statement raw = db.Prepare(select);
    ASSERT_TRUE(raw.Step());
    for (int f = 0; f < query->FieldCount(); ++f)
        EXPECT_EQ(query->Value(0, f), raw.ColumnText(f)) << values[f];
    EXPECT_EQ(query->Value(0, 1), "-1");
    EXPECT_EQ(query->Value(0, 8), "");
    EXPECT_EQ(query->Value(0, 11).size(), 4u);  // a blob's bytes, its zero included
}

// A query opened over another tells the grid once, so it is laid out once.
TEST_F(DBGridTest, OpeningAgainTellsTheBoundControlsOnce) {
    struct Counter : IDataLink {
        int changes = 0;
        void DataSetChanged() override { ++changes; }
    } counter;
    auto* control = new TComponent(form);
    source->AddLink(control, &counter);
    Fill(3);
    query->Open(db.Prepare("SELECT * FROM Readings"));
    query->FetchAll();
    counter.changes = 0;
    query->Open(db.Prepare("SELECT BATT FROM Readings ORDER BY BATT DESC"));
    EXPECT_EQ(counter.changes, 1);
    EXPECT_EQ(query->RecordCount(), 0);
    query->FetchAll();
    EXPECT_EQ(query->Value(0, 0), "3003");
    EXPECT_EQ(query->Value(2, 0), "3001");
    source->RemoveLink(&counter);
}

TEST_F(DBGridTest, FieldsAreFoundByNameIgnoringCase) {
    query->Open(db.Prepare("SELECT RecordTime, BATT FROM Readings"));
    EXPECT_EQ(query->FieldIndex("batt"), 1);
    EXPECT_EQ(query->FieldIndex("RECORDTIME"), 0);
    EXPECT_EQ(query->FieldIndex("I"), -1);
    EXPECT_EQ(query->Value(0, 0), "");  // no row: an empty text, not a fault
    EXPECT_EQ(grid->RowCount(), 2);
}

}  // namespace
}  // namespace tarvel
