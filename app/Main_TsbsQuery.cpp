// The query of one module of a parallel system, once or every period while
// "Automatic Query" is checked. The buttons only ask; the poll clock sends
// when none of its own requests is outstanding, and the parallel display
// hands the answer back here.

#include <optional>

#include "app/Main.h"
#include "app/Main_Pages.h"
#include "link/CommandTable.h"
#include "link/DeviceFrame.h"
#include "platform/base/DateTime.h"
#include "platform/base/Strings.h"
#include "telemetry/TelemetryRecord.h"

namespace tarvel {
namespace {

constexpr int kLongestPeriodSec = 120;

void Enable(TControl* control, bool enabled) {
    if (control) control->SetEnabled(enabled);
}

// A whole number in `lowest`..`highest`; none for anything else, so nothing
// typed into a box can stop the clock.
std::optional<int> WholeNumberIn(const TTeEdit* edit, int lowest, int highest) {
    int32_t value = 0;
    if (!edit || !TryStrToInt(edit->GetText(), value) || value < lowest || value > highest)
        return std::nullopt;
    return value;
}

// The module-number box as the form has it: a combo box whose list offers
// the modules of the saved set-up. The pages make a plain edit there.
void MakeModuleNumberCombo(TMainForm& form) {
    TTeEdit* old = form.TSBS_SeqNum;
    if (!old || dynamic_cast<TTeComboBox*>(old)) return;
    TWinControl* parent = old->Parent();
    const TRect bounds = old->BoundsRect();
    const String text = old->GetText();
    const bool visible = old->Visible();
    const bool enabled = old->Enabled();
    delete old;
    auto* box = MakeControl<TTeComboBox>(&form, parent, "TSBS_SeqNum", bounds.left, bounds.top,
                                         bounds.Width(), bounds.Height());
    box->SetText(text);
    box->SetVisible(visible);
    box->SetEnabled(enabled);
    form.TSBS_SeqNum = box;
}

}  // namespace

void TMainForm::BindModuleQueryHandlers() {
    BindParallelHandlers();
    BindTsbsQueryHandlers();
    BindSerialNumHandlers();
    BindScheduleHandlers();
}

void TMainForm::BindTsbsQueryHandlers() {
    MakeModuleNumberCombo(*this);
    if (TSBS_SeqNum) {
        TSBS_SeqNum->OnEnter = [this](TObject* sender) {
            // The focus also moves while the window is taken down.
            if (!TSBS_SeqNum->ComponentState().Contains(csDestroying)) TSBS_SeqNumEnter(sender);
        };
    }
    if (TSBS_OnceQuery) TSBS_OnceQuery->OnClick = [this](TObject* sender) { TSBS_OnceQueryClick(sender); };
    if (TSBS_CycQuery) TSBS_CycQuery->OnClick = [this](TObject* sender) { TSBS_CycQueryClick(sender); };
}

// Entering the box shows the saved set-up again: module boxes checked
// since the last "Confirm" lose their tick, and the list offers only the
// modules the poll would ask.
void TMainForm::TSBS_SeqNumEnter(TObject*) {
    auto* box = dynamic_cast<TTeComboBox*>(TSBS_SeqNum);
    if (!box) return;
    box->SetText("");
    box->GetItems()->Clear();
    ReadParaRecord();
    for (int k = 0; k < kModuleCount; ++k) {
        const int32_t selected = ParaRecord.ModuleSelected[static_cast<size_t>(k)];
        if (ModuleChecks[k]) ModuleChecks[k]->SetChecked(selected != 0);
        if (selected == 1) box->GetItems()->Add(IntToStr(k + 1));
    }
}

void TMainForm::TSBS_OnceQueryClick(TObject*) {
    if (PortOpen) {
        TsbsStartPending = 1;
        TsbsOnceRequest = 1;
        return;
    }
    ShowInfo("Please open port frist!", kFailureColor);
    TsbsOnceRequest = 0;
}

void TMainForm::TSBS_CycQueryClick(TObject*) {
    const bool running = TSBS_CycQuery && TSBS_CycQuery->Checked();
    if (running && !PortOpen) {
        ShowInfo("Please open port frist!", kFailureColor);
        // Unchecking comes back here and leaves everything usable.
        TSBS_CycQuery->SetChecked(false);
        return;
    }
    // Stopping always gives the controls back, also when the line was lost
    // meanwhile: the port switch would stay locked otherwise.
    TsbsStartPending = running ? 1 : 0;
    for (TControl* control : {static_cast<TControl*>(TSBS_SeqNum), static_cast<TControl*>(TSBS_OnceQuery),
                              static_cast<TControl*>(TSBS_Cyc)})
        Enable(control, !running);
    if (running || !PC_All_Query || !PC_All_Query->Checked()) {
        Enable(TB_SingleConvert, !running);
        Enable(TB_COMSwitch, !running);
    }
    if (!running) Enable(PC_All_Query, true);
}

bool TMainForm::StartTsbsQuery(bool cyclic) {
    if (cyclic && !WholeNumberIn(TSBS_Cyc, 1, kLongestPeriodSec)) {
        ShowInfo("Single module period must be 1 to 120 seconds, nothing sent!", kFailureColor);
        return false;
    }
    if (!SendTsbsQuery()) return false;
    // Only this request's flag: a poll answer still on its way must not be
    // taken for the answer of this one.
    RequestBusy = 1;
    TsbsQueryInProgress = 1;
    PollInProgress = 0;
    ReplyTimeoutTicks = 1;
    return true;
}

bool TMainForm::SendTsbsQuery() {
    const std::optional<int> module = WholeNumberIn(TSBS_SeqNum, 1, kModuleCount);
    if (!module) {
        ShowInfo("Module number must be 1 to 64, nothing sent!", kFailureColor);
        return false;
    }
    LoggedIn = 1;
    // The reply check expects the answer from the module asked.
    SetModuleIndex(*module);
    LastCommand = CmdQuerySbs;
    const FrameBytes request = BuildRequest(static_cast<uint8_t>(*module), CmdQuerySbs);
    std::copy(request.begin(), request.end(), TxFrame.begin());
    if (Comm1->WriteCommData(TxFrame.data(), static_cast<uint16_t>(request.size()))) return true;
    LastCommand = 0;
    ShowInfo("Please open port frist!", kFailureColor);
    return false;
}

void TMainForm::ShowOneModuleAnswer() {
    // The answer ends the wait; a chunk before it did not.
    TsbsQueryInProgress = 0;
    RequestBusy = 0;
    ReplyTimeoutTicks = 0;
    ShowModuleReading();
}

// A reading shows as the single-module display shows one, without the
// life grid and the export's flag.
void TMainForm::ShowModuleReading() {
    const ByteSpan held(RxFrame.data(), RxFrameLength);
    std::optional<TelemetryRecord> record = DecodeTelemetryReply(held);
    if (!record) {
        if (const auto bySerial = DecodeSerialTelemetryReply(held)) record = bySerial->record;
    }
    if (!record) {
        ShowInfo("Telemetry reply of a wrong length, not shown!", kFailureColor);
        return;
    }
    const TelemetryCells cells = MakeTelemetryCells(*record, TelemetryTimeText(Now()));
    for (int row = 0; row < 19; ++row) SG_TSBS->SetCells(1, row, cells.column1[row]);
    for (int row : {0, 1, 2, 3, 4, 5, 6, 7, 18}) SG_TSBS->SetCells(4, row, cells.column4[row]);
    ShowStatusWords(*record);
    StoreReading();
    AppendAutoQueryColumn();
    WriteSerialDataRow();
    ShowSampledVoltages();
    ShowSampledCurrent();
}

}  // namespace tarvel
