#include "app/Main.h"
#include "telemetry/StatusWords.h"

namespace tarvel {
namespace {

// SG_TSBS column 4 rows 8..17 hold the status fields, value texts 27..36.
constexpr int kStatusFirstRow = 8;
constexpr int kStatusLastRow = 17;
constexpr int kColumn4FirstText = 19;

template <class Lamps>
void Paint(std::map<String, TShape*, std::less<>>& shapes, const Lamps& lamps) {
    for (const LampColour& lamp : lamps) {
        if (auto it = shapes.find(lamp.lamp); it != shapes.end()) it->second->Brush()->SetColor(lamp.colour);
    }
}

}  // namespace

void TMainForm::ShowStatusWords() {
    if (const std::optional<TelemetryRecord> record = RxTelemetry()) ShowStatusWords(*record);
}

void TMainForm::ShowStatusWords(const TelemetryRecord& record) {
    const TelemetryTexts texts = TelemetryValueTexts(record);
    for (int row = kStatusFirstRow; row <= kStatusLastRow; ++row)
        SG_TSBS->SetCells(4, row, texts[kColumn4FirstText + row]);

    // The displays' order decides which lamp colour a lamp painted twice keeps.
    Paint(Lamps, OthersLamps(record.Others));
    Paint(Lamps, BatteryStateLamps(record.BattState));
    Paint(Lamps, AlarmLamps(record.Alarm));
    Paint(Lamps, BalanceLamps(record.Balance));
    Paint(Lamps, ProtectionLamps(record.Protection));
    Paint(Lamps, FailLamps(record.Fail));
    const BatteryPicture picture = BatteryPictureColours(record);
    TSBS_BatRunState->SetBackColor(picture.body);
    BatPositiveCG->SetBackColor(picture.cap);

    TSBS_BatRunState->SetProgress(record.SOC);
    PB_SOC->SetPosition(record.SOC);
    L_SOC->SetCaption(SocLabel(record));
    TsbsSeqNumText = TSBS_SeqNum->Text();

    // The balance word is the parallel display's to keep.
    StatusWordSet& last = LastStatusWords;
    last.Others = record.Others;
    last.Alarm = record.Alarm;
    last.Protection = record.Protection;
    last.Fail = record.Fail;
    last.BattState = record.BattState;
    last.SOC = record.SOC;
    last.SOCHealth = record.SOCHealth;
    last.DiscTimes = record.DiscTimes;
    last.TotalDiscSOC = record.TotalDiscSOC;
}

}  // namespace tarvel
