// The full export of one module: a fixed run of requests, each answered into
// its usual display, whose texts then go into one CSV file in "Export
// DataAccess". The run stays inside the button's handler; its waits handle
// window messages, so the reply handlers fill the displays and raise the
// step's completion flag meanwhile.

#include <algorithm>

#include "app/Main.h"
#include "app/Main_ReplyWait.h"
#include "link/CommandTable.h"
#include "platform/base/DateTime.h"
#include "platform/base/Paths.h"
#include "platform/base/Ticks.h"
#include "platform/classlib/Application.h"
#include "records/FullExport.h"

namespace tarvel {
namespace {

constexpr TColor kStatusRunning = 0xF0CAA6;
constexpr TColor kStatusSuccess = 0x00FF00;
constexpr TColor kStatusFailure = 0x0000FF;
// The wait looks at the flags this often; between looks the thread sleeps.
constexpr uint32_t kWaitPassMs = 5;

// What a step of the export waits on, and the step check box it ticks (-1 none).
struct StepRole {
    uint8_t command;
    uint8_t TMainForm::*done;
    int check;
};
constexpr StepRole kRoles[] = {
    {CmdReadSerialNum, &TMainForm::DoneSerialNum, 0}, {CmdGetCap, &TMainForm::DoneCap, 1},
    {CmdGetVer, &TMainForm::DoneVersion, -1},         {CmdGetHistory, &TMainForm::DoneRunHistory, 2},
    {CmdQuerySbs, &TMainForm::DoneTsbs, 3},           {CmdGetHisAlarm, &TMainForm::DoneHisAlarm, 4},
    {CmdGetDailyRecords, &TMainForm::DoneDaily, 5},
};

const StepRole& RoleOf(uint8_t command) {
    return *std::find_if(std::begin(kRoles), std::end(kRoles),
                         [command](const StepRole& role) { return role.command == command; });
}

// The tab sheets the export hides while it runs, with whether each was shown.
struct HiddenSheets {
    std::array<TTeTabSheet*, 5> sheets{};
    std::array<bool, 5> shown{};
};

// Empties what the export reads, so nothing of an earlier answer is taken for this module's.
void ResetDisplays(TMainForm& f) {
    f.TeProgressBar1->SetPosition(0);
    f.E_ReadSerialNum->SetText("");
    f.Capdis->SetText("");
    f.Label65->SetCaption("");
    f.Label65->SetColor(kStatusRunning);
    for (int col = 0; col < 4; ++col) f.SG_SoftVersion->SetCells(col, 1, "");
    f.SG_SoftVersion->SetCells(0, 3, "");
    f.SG_SoftVersion->SetCells(1, 3, "");
    f.SG_History->SetCells(1, 0, "");
    for (int row = 0; row < 19; ++row) f.SG_TSBS->SetCells(1, row, "");
    for (int row = 0; row < 18; ++row) f.SG_TSBS->SetCells(4, row, "");
    f.EmptyHisAlarmRows();
    f.ClearDailyGrid();
}

HiddenSheets BeginExport(TMainForm& f) {
    f.ExportRunning = 1;
    for (TTeCheckBox* check : f.ExportStepChecks) check->SetChecked(false);
    f.Timer9->SetEnabled(true);
    f.Label65->SetCaption("Query......");
    HiddenSheets hidden{{f.TS_TSBS, f.TS_TBMS, f.TS_HisAlarm, f.TeTabSheet2, f.TS_Monitor}, {}};
    for (size_t i = 0; i < hidden.sheets.size(); ++i) {
        if (!hidden.sheets[i]) continue;
        hidden.shown[i] = hidden.sheets[i]->PageVisible();
        hidden.sheets[i]->SetPageVisible(false);
    }
    f.PC_All->SetActivePage(f.TeTabSheet1);
    f.TeButton16->SetEnabled(false);
    f.TeButton20->SetEnabled(false);
    return hidden;
}

ExportRecord ReadExportRecord(const TMainForm& f) {
    ExportRecord r;
    r.recordTime = f.SG_TSBS->Cells(4, 18);
    r.serialNumber = f.E_ReadSerialNum->Text();
    r.capacity = f.Capdis->Text();
    for (int col = 0; col < 4; ++col)
        r.versionRow1[static_cast<size_t>(col)] = f.SG_SoftVersion->Cells(col, 1);
    r.versionHead = VersionTextHead;
    r.versionTail = VersionTextTail;
    r.functionVersion = f.SG_SoftVersion->Cells(1, 3);
    r.runtime = f.SG_History->Cells(1, 0);
    for (int row = 0; row < 19; ++row)
        r.telemetryColumn1[static_cast<size_t>(row)] = f.SG_TSBS->Cells(1, row);
    for (int row = 0; row < 18; ++row)
        r.telemetryColumn4[static_cast<size_t>(row)] = f.SG_TSBS->Cells(4, row);
    return r;
}

void AppendSection(ExportFile& file, const std::string& section) {
    if (const auto error = file.AppendSection(section)) Application->MessageBox(*error);
}

// What the file takes after a step's last answer.
void AfterStep(TMainForm& f, uint8_t command, std::optional<ExportFile>& file) {
    switch (command) {
        case CmdGetHistory:
            file.emplace(f.E_ReadSerialNum->Text());
            if (const auto error = file->Start()) f.ShowInfo(*error, kFailureColor);
            break;
        case CmdGetHisAlarm: AppendSection(*file, ExportHistorySection(f.HisAlarmGridRows())); break;
        case CmdGetDailyRecords:
            AppendSection(*file, ExportDailySection(f.DailyGridRows(f.RunState->RowCount())));
            break;
        default: break;
    }
}

// The steps in order; the failure message of the step that ended the run,
// none when every step was answered.
std::optional<String> RunSteps(TMainForm& f, std::optional<ExportFile>& file) {
    for (const ExportStep& step : ExportSteps()) {
        const StepRole& role = RoleOf(step.command);
        for (int i = 0; i < step.repeats; ++i) {
            f.*role.done = 0;
            if (!f.SendCommand(f.ModuleAddress(), step.command) ||
                !f.WaitExportReply(step.limitMs, f.*role.done))
                return String(step.failure);
            if (step.command == CmdQuerySbs && file) {
                if (const auto error = file->AppendRecordLine(ReadExportRecord(f)))
                    f.ShowInfo(*error, kFailureColor);
            }
        }
        AfterStep(f, step.command, file);
        if (role.check >= 0) f.ExportStepChecks[static_cast<size_t>(role.check)]->SetChecked(true);
    }
    return std::nullopt;
}

void EndExport(TMainForm& f, const HiddenSheets& hidden, bool succeeded) {
    f.ExportRunning = 0;
    f.Timer9->SetEnabled(false);
    f.TeProgressBar1->SetPosition(100);
    f.Label65->SetCaption(succeeded ? "Get ALL Data Success !" : "Get ALL Data Fail !");
    f.Label65->SetColor(succeeded ? kStatusSuccess : kStatusFailure);
    for (size_t i = 0; i < hidden.sheets.size(); ++i)
        if (hidden.sheets[i]) hidden.sheets[i]->SetPageVisible(hidden.shown[i]);
    f.PC_All->SetActivePage(f.TeTabSheet1);
    f.TeButton16->SetEnabled(true);
    f.TeButton20->SetEnabled(true);
    // A daily download the export gave up on would keep its page locked.
    f.DailyWatch->SetEnabled(false);
    f.EnableDailyButtons(true);
}

}  // namespace

void TMainForm::BindDailyExportHandlers() {
    BindDailyHandlers();
    if (Timer9 || !TeButton16) return;
    TeButton16->OnClick = [this](TObject* sender) { TeButton16Click(sender); };
    TeButton20->OnClick = [this](TObject* sender) { TeButton20Click(sender); };
    Timer9 = new TTimer(this);
    Timer9->SetName("Timer9");
    Timer9->SetEnabled(false);
    Timer9->SetInterval(1000);
    Timer9->OnTimer = [this](TObject* sender) { Timer9Timer(sender); };
}

bool TMainForm::WaitExportReply(uint32_t limitMs, const uint8_t& done) {
    const WaitClock clock;
    const uint32_t handOver = ReplyHandOverMs(*Comm1);
    uint32_t lastChunk = 0;
    for (;;) {
        Application->ProcessMessages();
        if (done) return true;
        const uint32_t now = clock.Elapsed();
        if (RxLength != 0) {
            RxLength = 0;
            lastChunk = now;
        }
        if (now - lastChunk >= kExportSilenceMs) return false;
        if (now >= limitMs + handOver && !AnswerStillComing(*Comm1, now - limitMs - handOver)) return false;
        // Nothing more can come.
        if (!PortOpen || Application->Terminated()) return false;
        Sleep(kWaitPassMs);
    }
}

void TMainForm::TeButton16Click(TObject*) {
    if (ExportRunning) return;
    if (!PortOpen) {
        ShowInfo("Please open port frist!", kFailureColor);
        return;
    }
    if (!IsLoggedIn()) return;
    // The query's own telemetry requests would answer the export's.
    if (AutoQueryOn) {
        ShowInfo("Please turn off automatic query!", kFailureColor);
        return;
    }
    ResetDisplays(*this);
    const HiddenSheets hidden = BeginExport(*this);
    std::optional<ExportFile> file;
    const std::optional<String> failure = RunSteps(*this, file);
    EndExport(*this, hidden, !failure);
    if (failure) {
        // A module pulled away is why the step went unanswered: the info line
        // keeps the loss, and the box names it under the step.
        if (PortLost) {
            Application->MessageBox(*failure + "\nSerial port lost!");
            return;
        }
        ShowInfo(*failure, kFailureColor);
        Application->MessageBox(*failure);
        return;
    }
    if (const auto error = file->Finish(Now())) ShowInfo(*error, kFailureColor);
    Application->MessageBox("Get ALL Data Success!");
}

void TMainForm::Timer9Timer(TObject*) {
    const int position = TeProgressBar1->Position() + 5;
    TeProgressBar1->SetPosition(position == 100 ? 0 : position);
}

void TMainForm::TeButton20Click(TObject*) {
    if (!OpenDialog1) return;
    OpenDialog1->Title = "Data Direct";
    OpenDialog1->Filter = "csv (*.csv)|*.csv";
    OpenDialog1->DefaultExt = "csv";
    OpenDialog1->InitialDir = AppPath("Export DataAccess");
    // Only a look at the exported files: the choice is not used.
    OpenDialog1->Execute();
}

}  // namespace tarvel
