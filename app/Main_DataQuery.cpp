// The stored readings read back: the data-query page lists the rows of a
// table between two dates in a data grid and deletes them; the chart page
// draws the battery voltage or the current of such rows over time, zoomed
// by its scroll bar and the mouse wheel. Start-up hides both pages.

#include <algorithm>
#include <cmath>

#include "app/Main.h"
#include "app/Main_Pages.h"
#include "platform/classlib/Application.h"

namespace tarvel {
namespace {

constexpr TColor kChartTitleColor = 0xFF0000;  // blue
constexpr double kMaxEndPosition = 30000;

// What the curve box offers: the field drawn and the left axis's title.
struct Curve {
    const char* name;
    const char* field;
    const char* axisTitle;
};
constexpr Curve kCurves[] = {{"BATT", "BATT", "VALUE（mV）"}, {"Current", "I", "VALUE（mA）"}};

// The bottom axis's labels by its end position: below each bound, a format and a step.
struct AxisFormat {
    double below;
    const char* format;
    double step;
};
constexpr AxisFormat kAxisFormats[] = {
    {500, "YYYY-MM-DD", kDateTimeOneDay},
    {1000, "YYYY-MM-DD HH:MM", kDateTimeOneHour},
    {10000, "YYYY-MM-DD HH:MM", kDateTimeOneMinute},
    {INFINITY, "YYYY-MM-DD HH:MM:SS", kDateTimeOneSecond},
};

// The table a combo box names; a name that is none of them raises as the
// database does for a missing table.
ReadingTable TableNamed(const String& name) {
    for (ReadingTable table : {ReadingTable::NoModule, ReadingTable::SingleModule, ReadingTable::MoreModule})
        if (name == ReadingTableName(table)) return table;
    throw EDatabaseError("no such table: " + name);
}

void FillWithSerials(TTeComboBox& box, const std::vector<std::string>& serials, bool withAll) {
    box.Items()->Clear();
    if (withAll) box.Items()->Add("All");
    for (const std::string& serial : serials) box.Items()->Add(serial);
    box.SetItemIndex(box.Items()->Count() > 0 ? 0 : -1);
}

}  // namespace

std::shared_ptr<ReadingDatabase> TMainForm::QueryDatabase() {
    // One connection for the pages, opened and checked once; a file deleted
    // or replaced since is opened again at its path.
    if (QueryDb && !QueryDb->Connection().IsFileAtPath()) CloseQueryDatabase();
    if (!QueryDb) QueryDb = std::make_shared<ReadingDatabase>(ReadingDatabase::DefaultPath());
    return QueryDb;
}

void TMainForm::CloseQueryDatabase() {
    ADOQuery1->Close();
    if (LineSeries2) LineSeries2->SetDataSource(nullptr, "", "");
    delete ChartQuery;
    ChartQuery = nullptr;
    QueryDb.reset();
}

template <typename Use>
auto TMainForm::WithQueryDatabase(Use use) {
    try {
        return use(*QueryDatabase());
    } catch (const EDatabaseError&) {
        // After an error the file is opened and checked again at the next use.
        CloseQueryDatabase();
        throw;
    }
}

std::vector<std::string> TMainForm::SerialsOf(const String& tableName) {
    const ReadingTable table = TableNamed(tableName);
    return WithQueryDatabase([&](ReadingDatabase& db) { return db.SerialNumbers(table); });
}

bool TMainForm::CheckDateRange(TDateTime end, TDateTime begin) {
    if (end < begin) {
        Application->MessageBox("Begin date is later than end date!", "", MB_OK | MB_ICONINFORMATION);
        return false;
    }
    if (SecondsBetween(end, begin) / 86400 > 31) {
        Application->MessageBox("Please query data within one month!", "", MB_OK | MB_ICONINFORMATION);
        return false;
    }
    return true;
}

void TMainForm::DQ_OrderModeEnter(TObject*) {
    const std::vector<std::string> columns = ReadingColumns(TableNamed(DQ_Table->Text()));
    DQ_OrderMode->Items()->Clear();
    for (const std::string& column : columns) DQ_OrderMode->Items()->Add(column);
    DQ_OrderMode->SetItemIndex(0);
}

void TMainForm::DQ_SeqNumEnter(TObject*) { FillWithSerials(*DQ_SeqNum, SerialsOf(DQ_Table->Text()), true); }

void TMainForm::DBC_SeqNumEnter(TObject*) {
    FillWithSerials(*DBC_SeqNum, SerialsOf(DBC_Table->Text()), false);
}

bool TMainForm::RunDataQuery() {
    if (!CheckDateRange(DQ_EndDate->DateTime(), DQ_BeginDate->DateTime())) return false;
    std::optional<String> serial;
    if (DQ_SeqNum->ItemIndex() > 0) serial = DQ_SeqNum->Text();
    const ReadingTable table = TableNamed(DQ_Table->Text());
    DataSource1->SetDataSet(ADOQuery1);
    DBGrid1->SetDataSource(DataSource1);
    // Opening replaces the last rows, so the grid is laid out once; a
    // statement that fails closes the pages' connection and the grid's rows.
    WithQueryDatabase([&](ReadingDatabase& db) {
        ADOQuery1->Open(db.PrepareSelectDays(table, DateToStr(DQ_BeginDate->DateTime()),
                                             DateToStr(DQ_EndDate->DateTime()), serial, DQ_OrderMode->Text()),
                        QueryDb);
    });
    return true;
}

void TMainForm::DQ_QueryClick(TObject*) { RunDataQuery(); }

void TMainForm::DQ_DeleteClick(TObject*) {
    // A refused range deletes nothing either.
    if (!RunDataQuery()) return;
    if (Application->MessageBox("Delete?", "", MB_YESNO | MB_ICONINFORMATION) != IDYES) return;
    std::optional<String> serial;
    if (DQ_SeqNum->ItemIndex() > 0) serial = DQ_SeqNum->Text();
    const ReadingTable table = TableNamed(DQ_Table->Text());
    // The grid's rows go first: it is left without rows.
    ADOQuery1->Close();
    WithQueryDatabase([&](ReadingDatabase& db) {
        return db.DeleteDays(table, DateToStr(DQ_BeginDate->DateTime()), DateToStr(DQ_EndDate->DateTime()),
                             serial);
    });
}

void TMainForm::ShowNoChartData() { Application->MessageBox("No data!", "", MB_OK | MB_ICONINFORMATION); }

void TMainForm::DBC_OnceQueryClick(TObject*) {
    if (!CheckDateRange(DBC_EndDate->DateTime(), DBC_BeginDate->DateTime())) return;
    cht->SetAllowPanning(true);
    cht->SetAllowZoom(false);
    TChartAxis& bottom = cht->BottomAxis();
    bottom.IsDateTime = true;
    bottom.DateTimeFormat = "YYYY-MM-DD";
    bottom.ExactDateTime = true;
    bottom.Increment = kDateTimeOneDay;
    bottom.StartPosition = 0;
    ApplyChartZoom();

    cht->SetTitle(DBC_Curve->Text());
    cht->SetTitleColor(kChartTitleColor);
    bottom.TitleColor = kChartTitleColor;
    TChartAxis& left = cht->LeftAxis();
    left.TitleColor = kChartTitleColor;
    left.Automatic = false;

    const auto curve = std::find_if(std::begin(kCurves), std::end(kCurves),
                                    [&](const Curve& c) { return DBC_Curve->Text() == c.name; });
    if (curve == std::end(kCurves)) return;
    std::optional<String> serial;
    if (MultiModuleMode == 1) serial = DBC_SeqNum->Text();
    const ReadingTable table = TableNamed(DBC_Table->Text());
    LineSeries2->SetDataSource(nullptr, "", "");
    delete ChartQuery;
    ChartQuery = nullptr;
    // The two columns drawn, in time order over the index, streamed into the
    // series as numbers.
    WithQueryDatabase([&](ReadingDatabase& db) {
        ChartQuery = new TQuery(this);
        ChartQuery->Open(
            db.PrepareSelectColumns(table, {"RecordTime", curve->field}, DateToStr(DBC_BeginDate->DateTime()),
                                    DateToStr(DBC_EndDate->DateTime()), serial, "RecordTime"),
            QueryDb);
        LineSeries2->SetDataSource(ChartQuery, "RecordTime", curve->field);
        LineSeries2->CheckDataSource();
    });
    // Read to its end: the query holds nothing more.
    LineSeries2->SetDataSource(nullptr, "", "");
    delete ChartQuery;
    ChartQuery = nullptr;
    if (LineSeries2->Count() == 0) {
        cht->AxisChanged();
        ShowNoChartData();
        return;
    }
    // The extremes as the stored integers.
    int64_t lowest = INT64_MAX, highest = INT64_MIN;
    for (int i = 0; i < LineSeries2->Count(); ++i) {
        const auto value = static_cast<int64_t>(LineSeries2->YValue(i));
        lowest = std::min(lowest, value);
        highest = std::max(highest, value);
    }
    if (lowest < 1 || highest < 1) {
        left.Automatic = true;
    } else {
        left.Maximum = static_cast<double>(highest) * 1.1;
        left.Minimum = static_cast<double>(lowest) * 0.6;
    }
    left.Title = curve->axisTitle;
    LineSeries2->SetShowInLegend(false);
    LineSeries2->SetActive(true);
    cht->AxisChanged();
}

void TMainForm::ApplyChartZoom() {
    const int p = DBScrollBar->Position();
    cht->BottomAxis().EndPosition = p < 1 ? 1 : p <= 50 ? 2.0 * p : 10.0 * p;
    UpdateChartAxisFormat();
}

void TMainForm::DBScrollBarChange(TObject*) { ApplyChartZoom(); }

void TMainForm::UpdateChartAxisFormat() {
    TChartAxis& bottom = cht->BottomAxis();
    for (const AxisFormat& f : kAxisFormats) {
        if (bottom.EndPosition >= f.below) continue;
        bottom.DateTimeFormat = f.format;
        bottom.Increment = f.step;
        break;
    }
    cht->AxisChanged();
}

void TMainForm::FormMouseWheelUp(TObject*) {
    if (PC_All->GetActivePage() != TS_DBChart) return;
    cht->BottomAxis().EndPosition = std::min(cht->BottomAxis().EndPosition * 1.1, kMaxEndPosition);
    UpdateChartAxisFormat();
}

void TMainForm::FormMouseWheelDown(TObject*) {
    if (PC_All->GetActivePage() != TS_DBChart) return;
    cht->BottomAxis().EndPosition = std::max(cht->BottomAxis().EndPosition / 1.1, 1.0);
    UpdateChartAxisFormat();
}

void TMainForm::BindDataQueryHandlers() {
    if (DBGrid1 || !DQ_Query || !DBC_OnceQuery) return;
    ADOQuery1 = new TQuery(this);
    ADOQuery1->SetName("ADOQuery1");
    DataSource1 = new TDataSource(this);
    DataSource1->SetName("DataSource1");
    DataSource1->SetDataSet(ADOQuery1);
    DBGrid1 = MakeControl<TDBGrid>(this, DQ_Query->Parent(), "DBGrid1", 16, 52, 940, 500);
    DBGrid1->SetDataSource(DataSource1);

    cht = MakeControl<TChart>(this, DBC_OnceQuery->Parent(), "cht", 16, 52, 940, 500);
    cht->SetTitle("BATT");
    cht->SetLegendVisible(false);
    cht->LeftAxis().Title = "VALUE（mV）";
    LineSeries2 = new TLineSeries(this);
    LineSeries2->SetName("LineSeries2");
    LineSeries2->SetSeriesColor(clRed);
    LineSeries2->SetShowInLegend(false);
    LineSeries2->SetParentChart(cht);
    cht->BottomAxis().IsDateTime = true;

    DQ_Query->OnClick = [this](TObject* sender) { DQ_QueryClick(sender); };
    DQ_Delete->OnClick = [this](TObject* sender) { DQ_DeleteClick(sender); };
    DBC_OnceQuery->OnClick = [this](TObject* sender) { DBC_OnceQueryClick(sender); };
    DQ_OrderMode->OnEnter = [this](TObject* sender) { DQ_OrderModeEnter(sender); };
    DQ_SeqNum->OnEnter = [this](TObject* sender) { DQ_SeqNumEnter(sender); };
    DBC_SeqNum->OnEnter = [this](TObject* sender) { DBC_SeqNumEnter(sender); };
    DBScrollBar->OnChange = [this](TObject* sender) { DBScrollBarChange(sender); };
    // The form's wheel acts on the chart only while its page is the active one.
    OnMouseWheel = [this, before = OnMouseWheel](TObject* sender, TShiftState shift, int delta, TPoint at,
                                                 bool& handled) {
        if (before) before(sender, shift, delta, at, handled);
        if (delta > 0) FormMouseWheelUp(sender);
        if (delta < 0) FormMouseWheelDown(sender);
    };
}

}  // namespace tarvel
