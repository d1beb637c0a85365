#include "app/Main.h"
#include "platform/base/Paths.h"

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
    Readings = std::make_unique<ReadingStore>(AppPath("DataAccess"));
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

void TMainForm::StoreReadingTexts(ReadingTable table, const String& timeText, const String& serialNo,
                                  const TelemetryTexts& values) {
    if (!Readings) Readings = std::make_unique<ReadingStore>(AppPath("DataAccess"));
    const StoreReport report = Readings->Store(table, timeText, serialNo, values);
    if (!report.failures.empty()) {
        String text;
        for (const std::string& failure : report.failures) text += (text.empty() ? "" : "  ") + failure;
        ShowInfo(text, kFailureColor);
    }
    if (!report.logLine.empty()) AddInfoLogLine(report.logLine, kFailureColor);
}

}  // namespace tarvel
