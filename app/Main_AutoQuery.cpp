// The automatic query of one module: the telemetry query every n seconds
// while "Execute" is checked, each reading shown also becoming a column of
// the automatic-query grid. Also the period rule and the locking the
// periodic jobs share, and the binding of the three monitoring features.

#include <algorithm>
#include <limits>
#include <span>

#include "app/Main.h"
#include "app/WindowKit.h"
#include "link/CommandTable.h"
#include "platform/base/Strings.h"
#include "platform/winsys/MessageApi.h"
#include "telemetry/AdcReading.h"
#include "telemetry/TelemetryRecord.h"

namespace tarvel {
namespace {

constexpr uint32_t kLongestPeriodSec = std::numeric_limits<uint32_t>::max() / 1000;

// What the periodic jobs lock while they run: the senders and switches both
// lock, then each one's own. Neither locks its own check box.
// clang-format off
constexpr const char* kBothLock[] = {
    "TB_SingleConvert", "TB_COMSwitch", "TB_LOG", "TB_Load", "TB_Save", "CB_ModuleNO", "B_Query",
    "B_ReadKB", "B_WriteKB", "B_SampleV", "B_SampleC", "B_CalcVK", "B_CalcCKB", "B_OpenChg", "B_CloseChg",
    "B_OpenDis", "B_CloseDis", "B_ReadIO", "B_EnterBoot", "B_QueryExt", "B_ReadADC", "B_SetHistory",
    "E_TempK", "CB_AutoQueryInterval", "CB_AutoReadADCInterval",
};
constexpr const char* kAutoQueryLocks[] = {
    "CB_AutoReadADC", "B_Checkdistime", "B_Setdistime", "Openchlimit", "Closechlimit",
};
constexpr const char* kAdcLocks[] = {
    "CB_AutoQuery", "TB_Exit", "B_ReadBMS", "B_WriteBMS", "B_WriteSerialNum", "B_ReadSerialNum", "B_GetHistory",
};
// clang-format on

std::vector<String> AutoQueryRowTitles() {
    std::vector<String> titles = {"SEQUENCE NUMBER", "PACK      VOLT", "BATT      VOLT"};
    for (int i = 1; i <= 16; ++i)
        titles.push_back("CELL [" + IntToStr(i) + "]" + (i < 10 ? "   " : "  ") + "VOLT");
    titles.push_back("CURRENT");
    for (int i = 1; i <= 8; ++i) titles.push_back("CELL [" + IntToStr(i) + "]   TEMP.");
    // The last row holds the state of health, whatever its title says.
    titles.push_back("SOC");
    return titles;
}

// Column k of the grid: the reading's number, its values, and the state of
// health the status words last showed.
std::vector<String> AutoQueryColumn(int k, const TelemetryRecord& r, uint32_t socHealth) {
    std::vector<String> cells = {IntToStr(k), IntToStr(r.PACK), IntToStr(r.BATT)};
    for (uint16_t v : r.V) cells.push_back(UIntToStr(v));
    cells.push_back(IntToStr(r.I));
    for (int16_t t : r.T) cells.push_back(IntToStr(t));
    cells.push_back(UIntToStr(socHealth));
    return cells;
}

}  // namespace

void TMainForm::BindMonitoringHandlers() {
    BindDeviceInfoHandlers();
    BindAdcHandlers();
    BindAutoQueryHandlers();
}

void TMainForm::BindAutoQueryHandlers() {
    if (!Timer1) {
        Timer1 = new TTimer(this);
        Timer1->SetName("Timer1");
        Timer1->SetEnabled(false);
        Timer1->SetInterval(500);
        Timer1->OnTimer = [this](TObject* sender) { Timer1Timer(sender); };
    }
    if (CB_AutoQuery) CB_AutoQuery->OnClick = [this](TObject* sender) { CB_AutoQueryClick(sender); };
    if (CB_AutoSaveClear) {
        CB_AutoSaveClear->SetChecked(AutoSaveClearOn != 0);
        CB_AutoSaveClear->OnClick = [this](TObject*) {
            AutoSaveClearOn = CB_AutoSaveClear->Checked() ? 1 : 0;
        };
    }
    const auto numeric = [this](TObject* sender, char16_t& key) { E_AutoQueryIntervalKeyPress(sender, key); };
    for (TTeSEdit* edit : TileEdits)
        if (edit) edit->OnKeyPress = numeric;
    for (const char* name : {"TeSEdit1", "E_AutoSaveClear"})
        if (auto* edit = dynamic_cast<TWinControl*>(FindComponent(name))) edit->OnKeyPress = numeric;
    if (CB_AutoQueryInterval)
        CB_AutoQueryInterval->OnKeyPress = [this](TObject* sender, char16_t& key) {
            TSBS_CycKeyPress(sender, key);
        };
    if (SG_AutoQueryTitle) {
        const auto titles = AutoQueryRowTitles();
        for (size_t row = 0; row < titles.size(); ++row)
            SG_AutoQueryTitle->SetCells(0, static_cast<int>(row), titles[row]);
    }
    if (SG_AutoQuery && SG_AutoQuery->ColCount() < 15) SG_AutoQuery->SetColCount(15);
}

std::optional<uint32_t> TMainForm::PeriodFromEdit(TTeEdit* edit) {
    const int seconds = AdcPeriodSeconds(edit ? edit->GetText() : String());
    if (seconds >= 1 && static_cast<uint32_t>(seconds) <= kLongestPeriodSec)
        return static_cast<uint32_t>(seconds) * 1000;
    ShowInfo("Please check period setting: 1 to " + UIntToStr(kLongestPeriodSec) + " seconds!",
             kFailureColor);
    return std::nullopt;
}

void TMainForm::LockForPeriodicJob(PeriodicJob job, bool locked) {
    using Names = std::span<const char* const>;
    const Names own = job == PeriodicJob::AutoQuery ? Names(kAutoQueryLocks) : Names(kAdcLocks);
    for (Names names : {Names(kBothLock), own}) {
        for (const char* name : names)
            if (auto* control = dynamic_cast<TControl*>(FindComponent(name))) control->SetEnabled(!locked);
    }
}

void TMainForm::CB_AutoQueryClick(TObject*) {
    if (CB_AutoQuery->Checked()) {
        std::optional<uint32_t> period;
        if (IsLoggedIn()) period = PeriodFromEdit(CB_AutoQueryInterval);
        if (!period) {
            // Unchecking runs the stop branch, which leaves everything usable.
            CB_AutoQuery->SetChecked(false);
            return;
        }
        // The first query goes out at the first tick: 500 ms after the first
        // start, afterwards one period of the run before.
        Timer1->SetEnabled(true);
        AutoQueryOn = 1;
        LockForPeriodicJob(PeriodicJob::AutoQuery, true);
        return;
    }
    Timer1->SetEnabled(false);
    AutoQueryOn = 0;
    LockForPeriodicJob(PeriodicJob::AutoQuery, false);
}

void TMainForm::Timer1Timer(TObject*) {
    const std::optional<uint32_t> period = PeriodFromEdit(CB_AutoQueryInterval);
    if (!period) {
        CB_AutoQuery->SetChecked(false);
        return;
    }
    Timer1->SetInterval(*period);
    SendCommand(ModuleAddress(), CmdQuerySbs);
}

void TMainForm::AppendAutoQueryColumn() {
    if (AutoQueryOn == 0 || !SG_AutoQuery) return;
    const ByteSpan frame(RxFrame.data(), RxFrameLength);
    std::optional<TelemetryRecord> record = DecodeTelemetryReply(frame);
    if (!record) {
        if (const auto bySerial = DecodeSerialTelemetryReply(frame)) record = bySerial->record;
    }
    if (!record) {
        ShowInfo("Telemetry reply of a wrong length, no automatic-query column!", kFailureColor);
        return;
    }
    const int k = ++AutoQueryColumns;
    int col = k - 1;
    if (col >= kAutoQueryColumnsKept) {
        // The oldest reading makes room at the right end.
        col = kAutoQueryColumnsKept - 1;
        SG_AutoQuery->MoveColumn(0, col);
    }
    if (SG_AutoQuery->ColCount() < col + 1)
        SG_AutoQuery->SetColCount(std::min(k + 14, kAutoQueryColumnsKept));
    const auto cells = AutoQueryColumn(k, *record, LastStatusWords.SOCHealth);
    for (size_t row = 0; row < cells.size(); ++row)
        SG_AutoQuery->SetCells(col, static_cast<int>(row), cells[row]);
    PostMessage(SG_AutoQuery->Handle(), WM_HSCROLL, SB_BOTTOM, 0);
}

void TMainForm::E_AutoQueryIntervalKeyPress(TObject*, char16_t& key) { FilterNumericKey(key, u".", false); }

}  // namespace tarvel
