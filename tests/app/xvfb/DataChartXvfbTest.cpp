// The data-query page with the rows of a date range in its grid, and the
// chart page with the battery voltage of three days drawn over them, under
// Xvfb for people to look at.

#include <cmath>

#include "records/ReadingDatabase.h"
#include "tests/app/xvfb/ToolXvfbFixture.h"

namespace tarvel {
namespace {

// Three days of readings every ten minutes: a daily swing of the battery
// voltage with a slow fall, the current following it.
void FillThreeDays() {
    fs::create_directories(AppPath("DataAccess"));
    ReadingDatabase db(ReadingDatabase::DefaultPath());
    db.Connection().Execute("BEGIN");
    Statement insert =
        db.Connection().Prepare("INSERT INTO SingleModule(RecordTime, SerialNO, BATT, I) VALUES(?,?,?,?)");
    const TDateTime first = EncodeDate(2024, 3, 1);
    for (int i = 0; i < 3 * 144; ++i) {
        const double swing = std::sin(i * 2 * 3.14159265 / 144);
        insert.BindText(1, FormatDateTime("yyyy-mm-dd hh:nn:ss", first + i / 144.0));
        insert.BindText(2, "M1");
        insert.BindInt64(3, std::lround(3600 + 300 * swing - i / 2.0));
        insert.BindInt64(4, std::lround(20000 * swing));
        insert.Run();
    }
    db.Connection().Execute("COMMIT");
}

TEST_F(ToolOnX11, DataQueryAndChartOfThreeDays) {
    FillThreeDays();
    Application->SetTitle(kAppName);
    Application->CreateForm(MainForm);
    MainForm->BindDataQueryHandlers();
    MainForm->Show();

    MainForm->TS_DataQuery->SetPageVisible(true);
    MainForm->PC_All->SetActivePage(MainForm->TS_DataQuery);
    MainForm->DQ_BeginDate->SetDateTime(EncodeDate(2024, 3, 1));
    MainForm->DQ_EndDate->SetDateTime(EncodeDate(2024, 3, 3));
    MainForm->DQ_Query->Click();
    Settle(MainForm->Handle());
    EXPECT_EQ(MainForm->DBGrid1->UiCellText(1, 1), "2024-03-01 00:00:00");
    EXPECT_TRUE(Save(MainForm, "tool-data-query.png"));

    MainForm->TS_DBChart->SetPageVisible(true);
    MainForm->PC_All->SetActivePage(MainForm->TS_DBChart);
    MainForm->DBC_BeginDate->SetDateTime(EncodeDate(2024, 3, 1));
    MainForm->DBC_EndDate->SetDateTime(EncodeDate(2024, 3, 3));
    MainForm->DBC_OnceQuery->Click();
    Settle(MainForm->Handle());
    EXPECT_EQ(MainForm->LineSeries2->Count(), 3 * 144);
    EXPECT_TRUE(Save(MainForm, "tool-data-chart.png"));
}

}  // namespace
}  // namespace tarvel
