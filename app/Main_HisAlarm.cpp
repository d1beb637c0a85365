// The history-alarm tab: the download of the module's alarm records into
// SG_HisAlarm, a batch at a time, the grid emptied, saved as CSV, and the
// records erased in the module.

#include <algorithm>
#include <iterator>

#include "app/GetHis.h"
#include "app/Main.h"
#include "app/WindowKit.h"
#include "link/CommandTable.h"
#include "platform/base/DateTime.h"
#include "platform/base/Paths.h"
#include "platform/classlib/Application.h"
#include "platform/classlib/Boxes.h"
#include "records/HisAlarm.h"

namespace tarvel {
namespace {

constexpr const char* kAskBeforeDownload =
    "Before not present data query success tips, please do not perform other queries!";
constexpr const char* kAskBeforeErase = "将清空存储器中所有历史数据，请检测是否已保存所需数据!";
constexpr int kColumnWidths[] = {64, 103, 99, 67, 66, 63, 66, 112};  // the others keep 64
constexpr const char* kDownloadFailed = "Get Alarm Records Fail: no records for 10 s!";

// The form's widths suit a narrower face than ours and the short texts: a
// column widens to what it holds, so no text is cut, and narrows again with
// the grid emptied.
void SetFormColumnWidths(TStringGrid& grid) {
    for (int col = 0; col < grid.ColCount(); ++col)
        grid.SetColWidths(col, col < static_cast<int>(std::size(kColumnWidths)) ? kColumnWidths[col]
                                                                                : grid.DefaultColWidth());
    WidenColumnsToTexts(grid, 0, 0);
}

bool AnsweredYes(const char* question) {
    return Application->MessageBox(question, "", MB_YESNO | MB_ICONINFORMATION) == IDYES;
}

}  // namespace

void TMainForm::BindHisAlarmHandlers() {
    if (HisAlarmSilence) return;  // bound already
    GetHisAlarm->OnClick = [this](TObject* sender) { GetHisAlarmClick(sender); };
    GetanyHisAlarm->OnClick = [this](TObject* sender) { GetanyHisAlarmClick(sender); };
    ClearLookData->OnClick = [this](TObject* sender) { ClearLookDataClick(sender); };
    SaveHisAlarm->OnClick = [this](TObject* sender) { SaveHisAlarmClick(sender); };
    ClearHisAlarm->OnClick = [this](TObject* sender) { ClearHisAlarmClick(sender); };
    // The pages leave this caption and the grid's column widths out.
    ClearLookData->SetCaption(u"Clear Records ");
    SetFormColumnWidths(*SG_HisAlarm);

    HisAlarmSilence = new TTimer(this);
    HisAlarmSilence->SetName("HisAlarmSilence");
    HisAlarmSilence->SetEnabled(false);
    HisAlarmSilence->SetInterval(kHisAlarmSilenceMs);
    HisAlarmSilence->OnTimer = [this](TObject* sender) { HisAlarmSilenceTimer(sender); };
    BindAlarmFilterHandlers();
}

// ---- the download ----

void TMainForm::GetHisAlarmClick(TObject*) {
    if (!IsLoggedIn() || !AnsweredYes(kAskBeforeDownload)) return;
    RequestAllHisAlarms();
}

bool TMainForm::RequestAllHisAlarms() {
    if (!SendCommand(ModuleAddress(), CmdGetHisAlarm)) return false;
    BeginHisAlarmDownload();
    return true;
}

void TMainForm::GetanyHisAlarmClick(TObject*) {
    if (!IsLoggedIn() || !GetHisSet) return;
    GetHisSet->ShowModal();
}

void TMainForm::BeginHisAlarmDownload() {
    // Rows an earlier download left must not pass for records of this one.
    EmptyHisAlarmRows();
    HisAlarmSilence->SetEnabled(false);
    HisAlarmSilence->SetEnabled(true);
}

void TMainForm::ShowHisAlarmRecords() {
    const auto batch = DecodeHisAlarmReply(ByteSpan(RxFrame.data(), RxFrameLength));
    if (!batch) return;  // the reply check lets only whole replies of both layouts through
    EnableHisAlarmButtons(false);
    const int total = batch->header.TotalRecords;
    SG_HisAlarm->SetRowCount(total + 1);
    // A grid cut to its title row loses its fixed row; the titles stay titles.
    if (total > 0 && SG_HisAlarm->FixedRows() == 0) SG_HisAlarm->SetFixedRows(1);
    int firstRow = total + 1, lastRow = 0;
    for (const auto& [row, record] : batch->records) {
        const RecordRow cells = MakeHisAlarmRow(row, record, batch->layout);
        for (size_t col = 0; col < cells.size(); ++col)
            SG_HisAlarm->SetCells(static_cast<int>(col), row, cells[col]);
        HisAlarmRowsHeld = std::max(HisAlarmRowsHeld, row);
        firstRow = std::min(firstRow, row);
        lastRow = std::max(lastRow, row);
    }
    WidenColumnsToTexts(*SG_HisAlarm, firstRow, lastRow);
    // Every batch restarts the silence watch.
    HisAlarmSilence->SetEnabled(false);
    if (!batch->header.CompletesDownload()) {
        HisAlarmSilence->SetEnabled(true);
        return;
    }
    EnableHisAlarmButtons(true);
    DoneHisAlarm = 1;
    if (ExportRunning != 1) ShowMessage("Get Alarm Records Success!");
}

void TMainForm::HisAlarmSilenceTimer(TObject*) {
    HisAlarmSilence->SetEnabled(false);
    EnableHisAlarmButtons(true);
    // The export reports its own failure, with the step that failed.
    if (ExportRunning == 1) return;
    ShowInfo(kDownloadFailed, kFailureColor);
    AddInfoLogLine(kDownloadFailed, kFailureColor);
}

void TMainForm::EnableHisAlarmButtons(bool enabled) {
    for (TTeButton* button : {ClearLookData, SaveHisAlarm, ClearHisAlarm, GetanyHisAlarm, GetHisAlarm})
        button->SetEnabled(enabled);
}

// ---- the grid ----

void TMainForm::EmptyHisAlarmRows() {
    const int last = std::max(SG_HisAlarm->RowCount() - 1, static_cast<int>(HisAlarmRowsHeld));
    for (int row = 1; row <= last; ++row)
        for (int col = 0; col < static_cast<int>(kHisAlarmColumns); ++col)
            SG_HisAlarm->SetCells(col, row, "");
    HisAlarmRowsHeld = 0;
    SG_HisAlarm->SetRowCount(1);
    SetFormColumnWidths(*SG_HisAlarm);
}

void TMainForm::ClearLookDataClick(TObject*) { EmptyHisAlarmRows(); }

std::vector<RecordRow> TMainForm::RecordGridRows(const TStringGrid& grid, size_t columns, int rowCount) {
    std::vector<RecordRow> rows;
    for (int row = 1; row < rowCount; ++row) {
        RecordRow& cells = rows.emplace_back();
        for (int col = 0; col < static_cast<int>(columns); ++col) cells.push_back(grid.Cells(col, row));
    }
    return rows;
}

std::vector<RecordRow> TMainForm::HisAlarmGridRows() const {
    return RecordGridRows(*SG_HisAlarm, kHisAlarmColumns, SG_HisAlarm->RowCount());
}

// ---- the CSV file ----

void TMainForm::SaveRecordRows(const RecordCsvSave& save, const std::vector<RecordRow>& rows) {
    if (!SaveDialog1) return;
    SaveDialog1->FileName = FormatDateTime("YYYY-MM-DD HH-MM-SS", Now()) + save.nameEnding;
    SaveDialog1->Title = save.title;
    SaveDialog1->Filter = save.filter;
    SaveDialog1->DefaultExt = "csv";
    SaveDialog1->InitialDir = AppPath(save.folder);
    SaveDialog1->Options = TOpenOptions{ofOverwritePrompt, ofHideReadOnly, ofEnableSizing};
    if (!SaveDialog1->Execute()) return;
    if (!SaveFileText(SaveDialog1->FileName, save.text(rows))) ShowMessage(save.createFailure);
}

void TMainForm::SaveHisAlarmClick(TObject*) {
    // The rows as they stand when the user asks, not when the dialog closes.
    SaveRecordRows({"_All Alarm Records.csv", "Save Records To", "Alarm Records(*.csv)|*.csv", "Alarm_Data",
                    "Creat Alarm Records File Fail！", HisAlarmCsvText},
                   HisAlarmGridRows());
}

// ---- the erase ----

void TMainForm::ClearHisAlarmClick(TObject*) {
    if (!AnsweredYes(kAskBeforeErase)) return;
    // The rows on screen may be the only copy: they go only with the records.
    if (SendCommand(ModuleAddress(), CmdClearHisAlarm)) SG_HisAlarm->SetRowCount(1);
}

}  // namespace tarvel
