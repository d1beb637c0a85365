// The daily-record page: one request brings a module's daily records in
// replies of up to forty, which fill RunState row by row; "Save As" writes
// the grid as CSV and "Clear" empties it. The full export starts the same
// download and waits on DoneDaily.

#include "app/Main.h"
#include "link/CommandTable.h"
#include "platform/classlib/Application.h"
#include "records/DailyRecords.h"

namespace tarvel {
namespace {

// A download that stops sending gives the page back after this long.
constexpr UINT kDailySilenceMs = 10000;
constexpr const char* kDownloadFailed = "Query run record fail: no records for 10 s!";

// The title row and `rows` data rows. Cutting the grid down to its title row
// unfixes that row, so it is fixed again when rows come back.
void SetDataRowCount(TStringGrid& grid, int rows) {
    grid.SetRowCount(rows + 1);
    if (rows > 0 && grid.FixedRows() == 0) grid.SetFixedRows(1);
}

void Restart(TTimer& timer) {
    timer.SetEnabled(false);
    timer.SetEnabled(true);
}

}  // namespace

void TMainForm::BindDailyHandlers() {
    if (DailyWatch || !RunState) return;
    RunState->SetFixedCols(1);
    TeButton17->OnClick = [this](TObject* sender) { TeButton17Click(sender); };
    TeButton18->OnClick = [this](TObject* sender) { TeButton18Click(sender); };
    TeButton19->OnClick = [this](TObject* sender) { TeButton19Click(sender); };
    DailyWatch = new TTimer(this);
    DailyWatch->SetName("DailyWatch");
    DailyWatch->SetEnabled(false);
    DailyWatch->SetInterval(kDailySilenceMs);
    DailyWatch->OnTimer = [this](TObject* sender) { DailyWatchTimer(sender); };
}

void TMainForm::EnableDailyButtons(bool enabled) {
    for (TTeButton* button : {TeButton17, TeButton18, TeButton19})
        if (button) button->SetEnabled(enabled);
}

std::vector<RecordRow> TMainForm::DailyGridRows(int rowCount) const {
    return RecordGridRows(*RunState, kDailyColumns, rowCount);
}

void TMainForm::ClearDailyGrid() {
    for (int row = 1; row < RunState->RowCount(); ++row)
        for (int col = 0; col < static_cast<int>(kDailyColumns); ++col) RunState->SetCells(col, row, "");
    SetDataRowCount(*RunState, 0);
}

void TMainForm::TeButton17Click(TObject*) {
    if (!IsLoggedIn()) return;
    if (Application->MessageBox(
            "Before not present data query success tips, please do not perform other query!", "",
            MB_YESNO | MB_ICONINFORMATION) != IDYES)
        return;
    if (!SendCommand(ModuleAddress(), CmdGetDailyRecords)) return;
    // Rows of an earlier download that this one does not reach would be saved with it.
    ClearDailyGrid();
}

void TMainForm::ShowDailyRecords() {
    const std::optional<DailyBatch> batch = DecodeDailyReply(ByteSpan(RxFrame.data(), RxFrameLength));
    if (!batch) {
        ShowInfo("Daily-record reply of a wrong length, not shown!", kFailureColor);
        return;
    }
    EnableDailyButtons(false);
    SetDataRowCount(*RunState, batch->header.TotalRecords);
    for (const auto& [row, record] : batch->records) {
        const RecordRow cells = MakeDailyRow(row, record);
        for (size_t col = 0; col < cells.size(); ++col)
            RunState->SetCells(static_cast<int>(col), row, cells[col]);
    }
    if (!batch->header.CompletesDownload()) {
        // The page stays locked for the rest of the download, but not for ever.
        if (DailyWatch) Restart(*DailyWatch);
        return;
    }
    if (DailyWatch) DailyWatch->SetEnabled(false);
    EnableDailyButtons(true);
    DoneDaily = 1;
    if (!ExportRunning) Application->MessageBox("Query run record success!");
}

void TMainForm::DailyWatchTimer(TObject*) {
    DailyWatch->SetEnabled(false);
    EnableDailyButtons(true);
    // The export reports its own failure, with the step that failed.
    if (ExportRunning) return;
    ShowInfo(kDownloadFailed, kFailureColor);
    AddInfoLogLine(kDownloadFailed, kFailureColor);
}

void TMainForm::TeButton18Click(TObject*) {
    // The rows as they stand when the user asks, whatever comes in while the dialog is open.
    SaveRecordRows({"_RunRecords.csv", "Save Records As", "RunRecords(*.csv)|*.csv", "Alarm_Data",
                    "Error creating history warning record file!", DailyCsvText},
                   DailyGridRows(RunState->RowCount()));
}

void TMainForm::TeButton19Click(TObject*) { ClearDailyGrid(); }

}  // namespace tarvel
