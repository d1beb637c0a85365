// The parallel system's polling set-up, the routing of its telemetry
// answers, the store of each polled module's last reading and the click on
// a module's tile.

#include <optional>

#include "app/Main.h"
#include "app/Main_Pages.h"
#include "app/SeriNum.h"
#include "app/ShownNames.h"
#include "app/WindowKit.h"
#include "platform/base/DateTime.h"
#include "platform/base/Paths.h"
#include "platform/base/Strings.h"
#include "platform/classlib/Application.h"
#include "platform/classlib/Dialogs.h"
#include "telemetry/StatusWords.h"
#include "telemetry/TelemetryRecord.h"

namespace tarvel {
namespace {

constexpr int kLongestPeriodSec = 120;
constexpr TColor kSilentColor = 0xB0ACB9;
constexpr TColor kAskedColor = 0x00FFFF;

void Enable(TControl* control, bool enabled) {
    if (control) control->SetEnabled(enabled);
}

void ShowSheet(TTeTabSheet* sheet, bool shown) {
    if (sheet) sheet->SetPageVisible(shown);
}

void PutText(TControl* control, const String& text) {
    if (control) control->SetText(text);
}

int LowestSelected(const PollingRecord& record) {
    for (int i = 0; i < kModuleCount; ++i)
        if (record.ModuleSelected[static_cast<size_t>(i)] == 1) return i;
    return -1;
}

// A period edit's whole number; the class library's conversion error, named
// by the edit's caption, for anything else, as "Confirm" stores nothing from
// malformed text.
int32_t StrictPeriod(const TTeEdit* edit) {
    try {
        return StrToInt(edit ? edit->GetText() : String());
    } catch (const EConvertError& e) {
        if (!edit || FieldCaption(*edit).empty()) throw;
        throw EConvertError(FieldCaption(*edit) + ": " + e.Message());
    }
}

}  // namespace

void TMainForm::BindParallelHandlers() {
    if (TeButton1) TeButton1->OnClick = [this](TObject* sender) { TeButton1Click(sender); };
    if (PC_All_Query) PC_All_Query->OnClick = [this](TObject* sender) { PC_All_QueryClick(sender); };
    for (TTeEdit* edit : {PS_Cyc, TSBS_Cyc})
        if (edit)
            edit->OnKeyPress = [this](TObject* sender, char16_t& key) { TSBS_CycKeyPress(sender, key); };
    for (int i = 0; i < kModuleCount; ++i) {
        if (!ModuleLabels[i]) continue;
        ModuleLabels[i]->Tag = i;
        ModuleLabels[i]->OnClick = [this](TObject* sender) { Bat_Label1Click(sender); };
        for (TControl* part : TileParts[i])
            if (part) part->OnClick = [this](TObject* sender) { Bat_Label1Click(sender); };
    }
    if (Bat_Cell_All) {
        Bat_Cell_All->SetVisible(false);
        Bat_Cell_All->OnClick = [this](TObject* sender) { Bat_Cell_AllClick(sender); };
    }
    if (Bat_Cell_Cancel || !BatCellBox || !TeButton1) return;

    // The set-up's controls that no view shows.
    TWinControl* page = TeButton1->Parent();
    Bat_Cell_Cancel = MakeControl<TTeCheckBox>(this, BatCellBox, "Bat_Cell_Cancel", 130, 270, 100, 20);
    Bat_Cell_Cancel->SetVisible(false);
    Bat_Cell_Cancel->OnClick = [this](TObject* sender) { Bat_Cell_CancelClick(sender); };
    auto* choice = MakeControl<TTeGroupBox>(this, page, "TeGroupBox12", 740, 320, 120, 70);
    choice->SetVisible(false);
    PS_DefPra = MakeControl<TTeRadioButton>(this, choice, "PS_DefPra", 8, 16, 100, 20);
    PS_DefPra->SetChecked(true);
    PS_DefPra->OnClick = [this](TObject* sender) { PS_DefPraClick(sender); };
    PS_NewPra = MakeControl<TTeRadioButton>(this, choice, "PS_NewPra", 8, 40, 100, 20);
    PS_NewPra->OnClick = [this](TObject* sender) { PS_NewPraClick(sender); };
    SetSolveBox = MakeControl<TTeGroupBox>(this, page, "SetSolveBox", 740, 400, 120, 70);
    SetSolveBox->SetVisible(false);
    auto* save = MakeControl<TTeButton>(this, SetSolveBox, "PS_SavePra", 8, 16, 100, 22);
    save->OnClick = [this](TObject* sender) { PS_SavePraClick(sender); };
    MakeControl<TTeButton>(this, SetSolveBox, "PS_GetPra", 8, 42, 100, 22);
}

// ---- polling set-up ----

void TMainForm::TeButton1Click(TObject*) {
    int32_t multi = 0, single = 0;
    try {
        multi = StrictPeriod(PS_Cyc);
        single = StrictPeriod(TSBS_Cyc);
    } catch (const EConvertError& e) {
        Application->ShowException(e);
        return;
    }
    if (multi < 1 || multi > kLongestPeriodSec || single < 1 || single > kLongestPeriodSec) {
        ShowMessage("Please check period setting!");
        return;
    }
    for (int i = 0; i < kModuleCount; ++i)
        ParaRecord.ModuleSelected[static_cast<size_t>(i)] =
            ModuleChecks[i] && ModuleChecks[i]->Checked() ? 1 : 0;
    const int first = LowestSelected(ParaRecord);
    // With nothing checked the address box keeps the module it had.
    const String module = first < 0 ? String() : IntToStr(first + 1);
    PutText(TSBS_SeqNum, module);
    PutText(TBMS_SerilNum, module);
    if (first >= 0) SetModuleIndex(first + 1);
    ParaRecord.MultiPeriodSec = multi;
    ParaRecord.SinglePeriodSec = single;
    WriteParaRecord();
}

void TMainForm::PC_All_QueryClick(TObject*) {
    if (!PC_All_Query) return;
    if (!PortOpen) {
        ShowInfo("Please open port frist!", kFailureColor);
        if (PC_All_Query->Checked()) PC_All_Query->SetChecked(false);
        return;
    }
    if (PC_All_Query->Checked()) {
        if (Application->MessageBox("Please make sure the battery number and query cycle !", "",
                                    MB_YESNO | MB_ICONINFORMATION) != IDYES) {
            PC_All_Query->SetChecked(false);
            return;
        }
        PollStartPending = 1;
        PollCycleStarted = 0;
        PolledModuleAnswered = 0;
        Enable(TB_SingleConvert, false);
        Enable(TB_COMSwitch, false);
        if (BatColorStore) BatColorStore->SetBackColor(kSilentColor);
        if (const int first = LowestSelected(ParaRecord); first >= 0) NextPollModule = first;
        for (int i = 0; i < kModuleCount; ++i) {
            if (TGauge* body = RunStateGauges[i]) {
                body->SetForeColor(0x00FF00);
                body->SetBackColor(clWhite);
                body->SetProgress(0);
                body->SetShowText(false);
            }
            if (PosGauges[i]) PosGauges[i]->SetBackColor(StatusColour::LightEdge3D);
            PutText(VoltageLabels[i], "V ");
            PutText(CurrentLabels[i], "I ");
        }
        ShowSheet(TS_PraSet, false);
        ShowSheet(TS_SerialNum, false);
        Enable(TSBS_OnceQuery, false);
        Enable(TSBS_CycQuery, false);
        if (PC_All && TS_RunState) PC_All->SetActivePage(TS_RunState);
        return;
    }
    PollStartPending = 0;
    PollDue = 0;
    // An answer that comes after the stop is no longer awaited.
    if (PollInProgress) {
        PollInProgress = 0;
        RequestBusy = 0;
        ReplyTimeoutTicks = 0;
    }
    // No tile stays "asked" once polling stops.
    if (PollCycleStarted) SettleAskedTile(PollIndex);
    PollCycleStarted = 0;
    if (!TSBS_CycQuery || !TSBS_CycQuery->Checked()) {
        Enable(TB_COMSwitch, true);
        Enable(TB_SingleConvert, true);
    }
    Enable(TSBS_CycQuery, true);
    Enable(TSBS_OnceQuery, true);
    ShowSheet(TS_PraSet, true);
    ShowSheet(TS_SerialNum, false);
}

void TMainForm::TSBS_CycKeyPress(TObject*, char16_t& key) { FilterNumericKey(key, u".", true); }

void TMainForm::Bat_Cell_AllClick(TObject*) {
    const bool all = Bat_Cell_All && Bat_Cell_All->Checked();
    for (TTeCheckBox* box : ModuleChecks)
        if (box) box->SetChecked(all);
}

void TMainForm::Bat_Cell_CancelClick(TObject*) {
    const bool cancel = Bat_Cell_Cancel && Bat_Cell_Cancel->Checked();
    if (cancel && Bat_Cell_All) Bat_Cell_All->SetChecked(false);
    for (TTeCheckBox* box : ModuleChecks) {
        if (!box) continue;
        if (cancel) box->SetChecked(false);
        box->SetEnabled(!cancel);
    }
}

void TMainForm::PS_DefPraClick(TObject*) {
    if (!PS_DefPra || !PS_DefPra->Checked()) return;
    for (TControl* group : {static_cast<TControl*>(BatCellBox), static_cast<TControl*>(QueryCycBox),
                            static_cast<TControl*>(SetSolveBox)})
        Enable(group, false);
}

void TMainForm::PS_NewPraClick(TObject*) {
    if (!PS_NewPra || !PS_NewPra->Checked()) return;
    for (TControl* group : {static_cast<TControl*>(BatCellBox), static_cast<TControl*>(QueryCycBox),
                            static_cast<TControl*>(SetSolveBox)})
        Enable(group, true);
}

void TMainForm::PS_SavePraClick(TObject*) {
    TSaveDialog dialog(nullptr);
    dialog.Title = "Save";
    dialog.Filter = "Parameter(*.txt)|*.txt";
    dialog.DefaultExt = "txt";
    dialog.InitialDir = AppPath("ParaSet");
    if (!dialog.Execute()) return;
    String text;
    for (TTeCheckBox* box : ModuleChecks) text += String(box && box->Checked() ? "True" : "False") + "\r\n";
    ShowMessage(SaveFileText(dialog.FileName, text) ? "Succee!" : "Fail!");
}

// ---- answers ----

void TMainForm::ShowParallelTelemetry() {
    // A module asked by its serial number answers with 0x92; nothing else
    // asks for it, so it is shown whatever flag is raised.
    if (RxFrame[frame::kCommand] == 0x92) {
        ShowSerialAnswer();
        return;
    }
    if (TsbsQueryInProgress != 0) {
        ShowOneModuleAnswer();
        return;
    }
    StorePolledModule();
}

void TMainForm::StorePolledModule() {
    if (PollInProgress == 0) return;
    const std::optional<TelemetryRecord> record = RxTelemetry();
    // Only the asked module's answer is its reading: a reply from any other
    // address would land on the wrong tile and row.
    if (!record || RxFrame[frame::kAddress] != PollIndex + 1) return;
    PollInProgress = 0;
    PolledModuleAnswered = 1;
    RequestBusy = 0;
    ReplyTimeoutTicks = 0;

    const int m = PollIndex;
    const String timeText = TelemetryTimeText(Now());
    ModuleReadings[static_cast<size_t>(m)] = MakeModuleReading(*record, timeText);
    const auto row = MakeReadingRow(*record, timeText);
    for (size_t i = 0; i < row.size(); ++i) ReadingRow[i] = row[i];
    ReplyAddressText = IntToStr(RxFrame[frame::kAddress]);
    LastStatusWords = {record->Others,    record->Alarm,       record->Protection, record->Fail,
                       record->Balance,   record->BattState,   record->SOC,        record->SOCHealth,
                       record->DiscTimes, record->TotalDiscSOC};

    PutText(VoltageLabels[m], TileVoltageLabel(*record));
    PutText(CurrentLabels[m], TileCurrentLabel(*record));
    if (BatColorStore) BatColorStore->SetBackColor(ParallelStateColour(*record));
    if (TGauge* body = RunStateGauges[m]) {
        body->SetProgress(record->SOC);
        body->SetShowText(true);
        body->SetForeColor(kAskedColor);
        body->SetBackColor(kAskedColor);
    }

    TelemetryTexts values;
    for (size_t i = 0; i < values.size(); ++i) values[i] = row[i];
    StoreReadingTexts(ReadingTable::MoreModule, timeText, ReplyAddressText, values);
    WriteSerialDataRow();
    ShowSampledVoltages();
    ShowSampledCurrent();
}

// ---- tiles ----

void TMainForm::Bat_Label1Click(TObject* sender) {
    const auto* label = dynamic_cast<const TComponent*>(sender);
    if (!label || label->Tag < 0 || label->Tag >= kModuleCount) return;
    const int t = static_cast<int>(label->Tag);
    const TGauge* body = RunStateGauges[t];
    // Grey: no answer; white: not asked since polling started.
    if (!body || body->BackColor() == kSilentColor || body->BackColor() == clWhite) return;
    if (!SerialNum) return;
    SerialNum->ShowModule(t + 1, ModuleReadings[static_cast<size_t>(t)], SerialEntry(t));
}

}  // namespace tarvel
