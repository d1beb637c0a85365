// The stored readings read back on the data-query and chart pages: the rows
// of a date range and module in the data grid, the month limit, the delete
// after its question, one column charted over a date range with its axis
// range, and the zoom by scroll bar and wheel.

#include <filesystem>

#include "records/ReadingDatabase.h"
#include "tests/app/MainWindowFixture.h"

namespace tarvel::testing {
namespace {

class DataQueryTest : public MainWindowTest {
protected:
    TMainForm* StartQuery() {
        std::filesystem::create_directories(folder_.Path() / "DataAccess");
        TMainForm* form = Start();
        form->BindDataQueryHandlers();
        return form;
    }

    // A reading of `table` at `time` ("yyyy-mm-dd hh:nn:ss").
    void Store(const char* table, const char* time, const char* serial, int batt, int current) {
        ReadingDatabase db(ReadingDatabase::DefaultPath());
        Statement insert = db.Connection().Prepare(std::string("INSERT INTO ") + table +
                                                   "(RecordTime, SerialNO, BATT, I) VALUES(?,?,?,?)");
        insert.BindText(1, time);
        insert.BindText(2, serial);
        insert.BindInt64(3, batt);
        insert.BindInt64(4, current);
        insert.Run();
    }
    // Day d of March 2024 at hh:00, two modules: A with 3200 + 10 d mV, B with 4000 + d.
    void FillMarch() {
        for (int d = 1; d <= 5; ++d) {
            const std::string time = "2024-03-0" + std::to_string(d) + " 1" + std::to_string(d) + ":00:00";
            Store("SingleModule", time.c_str(), "A", 3200 + 10 * d, -100 * d);
            Store("SingleModule", time.c_str(), "B", 4000 + d, 50 * d);
        }
    }
    size_t StoredRows(const char* first, const char* last) {
        ReadingDatabase db(ReadingDatabase::DefaultPath());
        return db.SelectDays(ReadingTable::SingleModule, first, last, std::nullopt, "RecordTime").rows.size();
    }

    void ShowPage(TTeTabSheet* sheet) {
        sheet->SetPageVisible(true);
        form_->PC_All->SetActivePage(sheet);
        ui_.RunUntilIdle();
    }
    void SetRange(TDateTimePicker* begin, TDateTimePicker* end, TDateTime from, TDateTime to) {
        begin->SetDateTime(from);
        end->SetDateTime(to);
    }
    static TDateTime March(int day) { return EncodeDate(2024, 3, day) + 0.25; }

    // A column of the grid, below its title.
    std::vector<String> GridColumn(const String& field) {
        std::vector<String> values;
        int col = 1;
        while (col < form_->DBGrid1->ColCount() && ui_.CellText(form_->DBGrid1, col, 0) != field) ++col;
        for (int row = 1; row < form_->DBGrid1->RowCount(); ++row)
            values.push_back(ui_.CellText(form_->DBGrid1, col, row));
        return values;
    }
    static std::vector<String> Items(TTeComboBox* box) {
        std::vector<String> items;
        for (int i = 0; i < box->Items()->Count(); ++i) items.push_back(box->Items()->Get(i));
        return items;
    }
    String LastBox() { return ui_.Boxes().empty() ? String() : ui_.Boxes().back().text; }
};

TEST_F(DataQueryTest, TheQueryListsTheRowsOfTheRangeAndTheModule) {
    StartQuery();
    FillMarch();
    ShowPage(form_->TS_DataQuery);
    SetRange(form_->DQ_BeginDate, form_->DQ_EndDate, March(2), March(4));
    ui_.Click(form_->DQ_Query);
    EXPECT_EQ(ui_.CellText(form_->DBGrid1, 1, 0), "RecordTime");
    EXPECT_EQ(GridColumn("RecordTime"),
              (std::vector<String>{"2024-03-02 12:00:00", "2024-03-02 12:00:00", "2024-03-03 13:00:00",
                                   "2024-03-03 13:00:00", "2024-03-04 14:00:00", "2024-03-04 14:00:00"}));

    // The module list comes from the table when the box takes the focus.
    form_->DQ_SeqNum->SetFocus();
    ui_.RunUntilIdle();
    EXPECT_EQ(Items(form_->DQ_SeqNum), (std::vector<String>{"All", "A", "B"}));
    form_->DQ_SeqNum->SetItemIndex(2);
    form_->DQ_OrderMode->SetFocus();
    ui_.RunUntilIdle();
    ASSERT_GT(Items(form_->DQ_OrderMode).size(), 3u);
    EXPECT_EQ(Items(form_->DQ_OrderMode)[1], "SerialNO");
    EXPECT_EQ(form_->DQ_OrderMode->Text(), "RecordTime");
    form_->DQ_OrderMode->SetText("I");
    ui_.Click(form_->DQ_Query);
    EXPECT_EQ(GridColumn("SerialNO"), (std::vector<String>{"B", "B", "B"}));
    EXPECT_EQ(GridColumn("BATT"), (std::vector<String>{"4002", "4003", "4004"}));

    // Back to every module, ordered by the current: A's negative ones first.
    form_->DQ_SeqNum->SetItemIndex(0);
    ui_.Click(form_->DQ_Query);
    EXPECT_EQ(GridColumn("I"), (std::vector<String>{"-400", "-300", "-200", "100", "150", "200"}));
}

struct RangeCase {
    TDateTime begin, end;
    const char* box;  // "" when accepted
};

TEST_F(DataQueryTest, ARangeOfMoreThanAMonthOrBackwardsIsRefused) {
    const RangeCase cases[] = {
        {March(1), EncodeDate(2024, 4, 2) + 0.25, "Please query data within one month!"},
        {March(1), EncodeDate(2024, 4, 1) + 0.25, ""},
        {March(3), March(2), "Begin date is later than end date!"},
        {March(3), March(3), ""},
    };
    StartQuery();
    FillMarch();
    ShowPage(form_->TS_DataQuery);
    for (const RangeCase& c : cases) {
        SCOPED_TRACE(DateToStr(c.begin) + " .. " + DateToStr(c.end));
        form_->ADOQuery1->Close();
        const size_t boxes = ui_.Boxes().size();
        SetRange(form_->DQ_BeginDate, form_->DQ_EndDate, c.begin, c.end);
        ui_.Click(form_->DQ_Query);
        if (*c.box) {
            ASSERT_EQ(ui_.Boxes().size(), boxes + 1);
            EXPECT_EQ(LastBox(), c.box);
            EXPECT_FALSE(form_->ADOQuery1->Active());
        } else {
            EXPECT_EQ(ui_.Boxes().size(), boxes);
            EXPECT_TRUE(form_->ADOQuery1->Active());
        }
    }
}

TEST_F(DataQueryTest, TheDeleteAsksAndRemovesTheRowsOfTheRangeOnly) {
    StartQuery();
    FillMarch();
    ShowPage(form_->TS_DataQuery);
    SetRange(form_->DQ_BeginDate, form_->DQ_EndDate, March(2), March(3));

    ui_.AnswerNextBox(mrNo);
    ui_.Click(form_->DQ_Delete);
    EXPECT_EQ(LastBox(), "Delete?");
    EXPECT_EQ(StoredRows("2024-03-01", "2024-03-31"), 10u);
    EXPECT_EQ(GridColumn("BATT").size(), 4u);  // the query ran first

    ui_.AnswerNextBox(mrYes);
    ui_.Click(form_->DQ_Delete);
    EXPECT_EQ(StoredRows("2024-03-02", "2024-03-03"), 0u);
    EXPECT_EQ(StoredRows("2024-03-01", "2024-03-31"), 6u);
    EXPECT_EQ(form_->DBGrid1->RowCount(), 2);  // the grid is left without rows
    EXPECT_EQ(ui_.CellText(form_->DBGrid1, 1, 1), "");

    // A refused range asks nothing and deletes nothing.
    SetRange(form_->DQ_BeginDate, form_->DQ_EndDate, March(5), March(1));
    ui_.Click(form_->DQ_Delete);
    EXPECT_EQ(LastBox(), "Begin date is later than end date!");
    EXPECT_EQ(StoredRows("2024-03-01", "2024-03-31"), 6u);
}

TEST_F(DataQueryTest, ADatabaseThatCannotOpenIsReportedAndNothingBreaks) {
    // A folder where the database file should be.
    std::filesystem::create_directories(folder_.Path() / "DataAccess/Data.db");
    Start();
    form_->BindDataQueryHandlers();
    ShowPage(form_->TS_DataQuery);
    ui_.Click(form_->DQ_Query);
    EXPECT_NE(LastBox().find("unable to open database file"), String::npos) << LastBox();
    EXPECT_FALSE(form_->ADOQuery1->Active());
}

// The pages share one connection, opened and checked at their first use;
// a file put in the database's place since is opened at the next click.
TEST_F(DataQueryTest, ThePagesShareOneConnectionUntilTheFileIsReplaced) {
    StartQuery();
    FillMarch();
    ShowPage(form_->TS_DataQuery);
    SetRange(form_->DQ_BeginDate, form_->DQ_EndDate, March(1), March(5));
    ui_.Click(form_->DQ_Query);
    const std::weak_ptr<ReadingDatabase> opened = form_->QueryDb;
    ASSERT_FALSE(opened.expired());
    form_->DQ_SeqNum->SetFocus();
    ui_.RunUntilIdle();
    ShowPage(form_->TS_DBChart);
    SetRange(form_->DBC_BeginDate, form_->DBC_EndDate, March(1), March(5));
    ui_.Click(form_->DBC_OnceQuery);
    EXPECT_EQ(form_->LineSeries2->Count(), 10);
    ShowPage(form_->TS_DataQuery);
    ui_.Click(form_->DQ_Query);
    EXPECT_EQ(form_->QueryDb, opened.lock());

    std::filesystem::remove(ReadingDatabase::DefaultPath());
    Store("SingleModule", "2024-03-02 10:00:00", "C", 3000, 1);
    ui_.Click(form_->DQ_Query);
    EXPECT_TRUE(opened.expired());
    EXPECT_EQ(GridColumn("SerialNO"), (std::vector<String>{"C"}));
}

TEST_F(DataQueryTest, TheChartDrawsOneColumnOfTheRangeWithItsAxisRange) {
    StartQuery();
    // BATT 3200 .. 4100 over the first three days of March, one module.
    Store("SingleModule", "2024-03-01 08:00:00", "A", 3200, 0);
    Store("SingleModule", "2024-03-02 08:00:00", "A", 4100, 250);
    Store("SingleModule", "2024-03-03 08:00:00", "A", 3650, -250);
    Store("SingleModule", "2024-03-09 08:00:00", "A", 9999, 999);
    ShowPage(form_->TS_DBChart);
    SetRange(form_->DBC_BeginDate, form_->DBC_EndDate, March(1), March(3));
    ui_.Click(form_->DBC_OnceQuery);

    TChart* chart = form_->cht;
    EXPECT_EQ(chart->Title(), "BATT");
    EXPECT_EQ(chart->TitleColor(), 0xFF0000);
    EXPECT_EQ(chart->LeftAxis().Title, "VALUE（mV）");
    ASSERT_EQ(form_->LineSeries2->Count(), 3);
    EXPECT_DOUBLE_EQ(form_->LineSeries2->XValue(1), EncodeDateTime({2024, 3, 2, 8, 0, 0, 0}));
    EXPECT_FALSE(chart->LeftAxis().Automatic);
    EXPECT_DOUBLE_EQ(chart->LeftAxis().Minimum, 1920);
    EXPECT_DOUBLE_EQ(chart->LeftAxis().Maximum, 4510);
    // The axis starts at the first reading, after midnight.
    EXPECT_EQ(chart->BottomLabels(), (std::vector<String>{"2024-03-02", "2024-03-03"}));

    // The current dips below 1: its axis follows the data.
    form_->DBC_Curve->SetText("Current");
    ui_.Click(form_->DBC_OnceQuery);
    EXPECT_EQ(chart->Title(), "Current");
    EXPECT_EQ(chart->LeftAxis().Title, "VALUE（mA）");
    EXPECT_TRUE(chart->LeftAxis().Automatic);
    EXPECT_DOUBLE_EQ(form_->LineSeries2->YValue(2), -250);

    // A range without rows draws nothing.
    SetRange(form_->DBC_BeginDate, form_->DBC_EndDate, March(20), March(21));
    ui_.Click(form_->DBC_OnceQuery);
    EXPECT_EQ(LastBox(), "No data!");
    EXPECT_EQ(form_->LineSeries2->Count(), 0);
}

TEST_F(DataQueryTest, TheScrollBarAndTheWheelZoomTheBottomAxis) {
    struct ZoomCase {
        int position;
        double end;
        const char* format;
        double step;
    } cases[] = {
        {0, 1, "YYYY-MM-DD", kDateTimeOneDay},
        {50, 100, "YYYY-MM-DD", kDateTimeOneDay},
        {51, 510, "YYYY-MM-DD HH:MM", kDateTimeOneHour},
        {100, 1000, "YYYY-MM-DD HH:MM", kDateTimeOneMinute},
    };
    StartQuery();
    TChartAxis& axis = form_->cht->BottomAxis();
    for (const ZoomCase& c : cases) {
        SCOPED_TRACE(c.position);
        form_->DBScrollBar->SetPosition(c.position);
        ui_.RunUntilIdle();
        EXPECT_DOUBLE_EQ(axis.EndPosition, c.end);
        EXPECT_EQ(axis.DateTimeFormat, c.format);
        EXPECT_DOUBLE_EQ(axis.Increment, c.step);
    }

    // The wheel acts only while the chart's page is the active one.
    ShowPage(form_->TS_DataQuery);
    form_->DQ_Query->SetFocus();
    ui_.Wheel(form_->DQ_Query, 120);
    EXPECT_DOUBLE_EQ(axis.EndPosition, 1000);
    ShowPage(form_->TS_DBChart);
    form_->DBC_OnceQuery->SetFocus();
    ui_.Wheel(form_->DBC_OnceQuery, 120);
    EXPECT_DOUBLE_EQ(axis.EndPosition, 1100);
    EXPECT_DOUBLE_EQ(axis.Increment, kDateTimeOneMinute);
    for (int i = 0; i < 60; ++i) ui_.Wheel(form_->DBC_OnceQuery, 120);
    EXPECT_DOUBLE_EQ(axis.EndPosition, 30000);
    EXPECT_EQ(axis.DateTimeFormat, "YYYY-MM-DD HH:MM:SS");
    for (int i = 0; i < 200; ++i) ui_.Wheel(form_->DBC_OnceQuery, -120);
    EXPECT_DOUBLE_EQ(axis.EndPosition, 1);
}

}  // namespace
}  // namespace tarvel::testing
