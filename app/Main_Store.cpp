#include "app/Main.h"
#include "platform/base/Paths.h"
#include "platform/winsys/GuiTasks.h"

namespace tarvel {
namespace {

void SetChoices(TTeComboBox* box, std::initializer_list<const char*> items) {
    if (!box) return;
    box->GetItems()->Clear();
    for (const char* item : items) box->GetItems()->Add(item);
    box->SetItemIndex(0);
}

void SetComboText(TTeComboBox* box, const String& text) {
    if (box) box->SetText(text);
}

}  // namespace

void TMainForm::InitDatabaseCombos() {
    // Nothing is opened here: a missing database shows with the first reading.
    MakeReadingStore();
    SetChoices(DQ_Table, {"SingleModule", "MoreModule"});
    SetComboText(DQ_SeqNum, "All");
    SetComboText(DQ_OrderMode, "RecordTime");
    SetChoices(DBC_Table, {"SingleModule", "MoreModule"});
    SetChoices(DBC_Curve, {"BATT", "Current"});
    SetComboText(DBC_SeqNum, SG_SerialNum ? SG_SerialNum->Cells(0, 0) : String());
}

void TMainForm::StoreReading() {
    // The reading is stored as the grid shows it.
    TelemetryTexts values;
    for (int row = 0; row < 19; ++row) values[row] = SG_TSBS->Cells(1, row);
    for (int row = 0; row < 18; ++row) values[19 + row] = SG_TSBS->Cells(4, row);
    if (MultiModuleMode)
        StoreReadingTexts(ReadingTable::SingleModule, SG_TSBS->Cells(4, 18), TsbsSeqNumText, values);
    else
        StoreReadingTexts(ReadingTable::NoModule, SG_TSBS->Cells(4, 18), "", values);
}

void TMainForm::MakeReadingStore() {
    Readings = std::make_unique<ReadingStore>(AppPath("DataAccess"));
    // The database writer's news comes while the window goes on.
    Readings->OnDatabaseReport(GuiPoster(), [this] {
        if (Readings) ShowStoreReport(Readings->TakeDatabaseReport());
    });
}

void TMainForm::ShowStoreReport(const StoreReport& report) {
    if (!report.failures.empty()) {
        String text;
        for (const std::string& failure : report.failures) text += (text.empty() ? "" : "  ") + failure;
        ShowInfo(text, kFailureColor);
    }
    for (const std::string& line : report.logLines) AddInfoLogLine(line, kFailureColor);
}

void TMainForm::StoreReadingTexts(ReadingTable table, const String& timeText, const String& serialNo,
                                  const TelemetryTexts& values) {
    if (!Readings) MakeReadingStore();
    ShowStoreReport(Readings->Store(table, timeText, serialNo, values));
}

void TMainForm::DrainReadingStore() {
    if (!Readings) return;
    if (!Readings->Drain(std::chrono::milliseconds(0))) {
        // Rows still wait for the database (another program may hold it):
        // the window says so while it waits, up to the writer's bound.
        ShowInfo("Storing the readings in the database...", kLogSuccessColor);
        Screen->SetCursor(crHourGlass);
        Repaint();
        Readings->Drain(ReadingWriter::kDefaultGiveUpAfter + std::chrono::seconds(1));
        Screen->SetCursor(crDefault);
    }
    ShowStoreReport(Readings->TakeDatabaseReport());
}

}  // namespace tarvel
