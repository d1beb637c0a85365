// The module's raw converter counts on the ADC tab: read once, or read
// periodically with every reading logged to the day's file in "ADC".

#include "app/Main.h"
#include "link/CommandTable.h"
#include "platform/base/DateTime.h"
#include "telemetry/AdcReading.h"

namespace tarvel {
namespace {}  // namespace

void TMainForm::BindAdcHandlers() {
    if (!Timer2) {
        Timer2 = new TTimer(this);
        Timer2->SetName("Timer2");
        Timer2->SetEnabled(false);
        Timer2->OnTimer = [this](TObject* sender) { Timer2Timer(sender); };
    }
    if (B_ReadADC) B_ReadADC->OnClick = [this](TObject* sender) { B_ReadADCClick(sender); };
    if (CB_AutoReadADC) CB_AutoReadADC->OnClick = [this](TObject* sender) { CB_AutoReadADCClick(sender); };
    if (CB_AutoReadADCInterval) {
        if (CB_AutoReadADCInterval->GetText().empty()) CB_AutoReadADCInterval->SetText("1");
        CB_AutoReadADCInterval->OnKeyPress = [this](TObject* sender, char16_t& key) {
            TSBS_CycKeyPress(sender, key);
        };
    }
}

void TMainForm::B_ReadADCClick(TObject*) { SendCommand(ModuleAddress(), CmdReadAdc); }

void TMainForm::Timer2Timer(TObject*) { SendCommand(ModuleAddress(), CmdReadAdc); }

void TMainForm::ShowAdc() {
    const std::optional<AdcReading> reading = DecodeAdcReply(ByteSpan(RxFrame.data(), RxFrameLength));
    if (!reading) {
        ShowInfo("ADC reply of a wrong length, not shown!", kFailureColor);
        return;
    }
    const auto& cells = AdcCells();
    const auto texts = AdcTexts(*reading);
    for (size_t i = 0; i < cells.size(); ++i) {
        if (auto* grid = dynamic_cast<TStringGrid*>(FindComponent(cells[i].grid)))
            grid->SetCells(cells[i].column, cells[i].row, texts[i]);
    }
    if (AutoAdcOn == 0 || !AdcStream.IsOpen()) return;
    // The line is what the grids show.
    std::array<std::string, kAdcCountCount> shown;
    for (size_t i = 0; i < cells.size(); ++i) {
        const auto* grid = dynamic_cast<TStringGrid*>(FindComponent(cells[i].grid));
        shown[i] = grid ? grid->Cells(cells[i].column, cells[i].row) : texts[i];
    }
    if (const auto failure = AppendAdcLogLine(AdcStream, AdcLogLine(Now(), shown)))
        ShowInfo(*failure, kFailureColor);
}

void TMainForm::CB_AutoReadADCClick(TObject*) {
    if (CB_AutoReadADC->Checked()) {
        std::optional<uint32_t> period;
        if (IsLoggedIn()) period = PeriodFromEdit(CB_AutoReadADCInterval);
        if (!period) {
            // Unchecking runs the stop branch, which leaves everything usable.
            CB_AutoReadADC->SetChecked(false);
            return;
        }
        LockForPeriodicJob(PeriodicJob::Adc, true);
        Timer2->SetInterval(*period);
        Timer2->SetEnabled(true);
        AutoAdcOn = 1;
        OpenAdcLog();
        return;
    }
    Timer2->SetEnabled(false);
    AutoAdcOn = 0;
    CloseAdcLogFile(AdcStream);
    LockForPeriodicJob(PeriodicJob::Adc, false);
    CB_AutoReadADC->SetEnabled(true);
}

void TMainForm::OpenAdcLog() {
    if (const auto failure = OpenAdcLogFile(AdcStream, AdcLogPath(Now()))) ShowInfo(*failure, kFailureColor);
}

}  // namespace tarvel
