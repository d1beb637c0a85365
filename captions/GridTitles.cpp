#include "captions/GridTitles.h"

#include <span>

#include "platform/base/Strings.h"
#include "skin/controls/te_controls_button.h"
#include "skin/controls/te_controls_grids.h"
#include "skin/controls/te_controls_group.h"
#include "skin/controls/te_controls_label.h"

namespace tarvel {
namespace {

struct GridTitle {
    int col;
    int row;
    const char* text;
};

struct GridTitleTable {
    const char* grid;  // component name on the main form
    std::span<const GridTitle> titles;
};

struct CaptionTitle {
    const char* control;  // component name on the main form
    const char* text;
};

// Telemetry: names in columns 0 and 3, values in columns 1 and 4.
constexpr GridTitle kTsbs[] = {
    {0, 0, "  PACK     VOLT"},
    {0, 1, "  BATT     VOLT"},
    {0, 2, "CELL [1]   VOLT"},
    {0, 3, "CELL [2]   VOLT"},
    {0, 4, "CELL [3]   VOLT"},
    {0, 5, "CELL [4]   VOLT"},
    {0, 6, "CELL [5]   VOLT"},
    {0, 7, "CELL [6]   VOLT"},
    {0, 8, "CELL [7]   VOLT"},
    {0, 9, "CELL [8]   VOLT"},
    {0, 10, "CELL [9]   VOLT"},
    {0, 11, "CELL [10]  VOLT"},
    {0, 12, "CELL [11]  VOLT"},
    {0, 13, "CELL [12]  VOLT"},
    {0, 14, "CELL [13]  VOLT"},
    {0, 15, "CELL [14]  VOLT"},
    {0, 16, "CELL [15]  VOLT"},
    {0, 17, "CELL [16]  VOLT"},
    {0, 18, "CURRENT"},
    {3, 0, "CELL [1]   TEMP."},
    {3, 1, "CELL [2]   TEMP."},
    {3, 2, "CELL [3]   TEMP."},
    {3, 3, "CELL [4]   TEMP."},
    {3, 4, "CELL [5]   TEMP."},
    {3, 5, "CELL [6]   TEMP."},
    {3, 6, "CELL [7]   TEMP."},
    {3, 7, "CELL [8]   TEMP."},
    {3, 8, "OTHERS"},
    {3, 9, "ALARM      STATE"},
    {3, 10, "PROTECT  STATE"},
    {3, 11, "   FAIL        STATE"},
    {3, 12, "BALANCE  STATE"},
    {3, 13, "BATTERY  STATE"},
    {3, 14, "SOC"},
    {3, 15, "SOC.HEALTH"},
    {3, 16, "DISCHG.TIMES"},
    {3, 17, "TOTLE  DISCHG.SOC"},
    {3, 18, "RECORD  TIME"},
};

// The 48 protection parameters in block order: the first 24 down column 0,
// the rest down column 3 beside them.
constexpr GridTitle kTbms[] = {
    {0, 0, "VOLT IN CHG.CONVERT"},
    {0, 1, "VOLT(P-B) IN CHG.CONVERT"},
    {0, 2, "START IN CHG.BALANCE"},
    {0, 3, "STOP IN CHG.BALANCE"},
    {0, 4, "ALARM.LIM OF PACK IN CHG.OVER"},
    {0, 5, "ALARM.REC OF PACK IN CHG.OVER"},
    {0, 6, "PROTECT.LIM OF PACK IN CHG.OVER"},
    {0, 7, "PROTECT.REC OF PACK IN CHG.OVER"},
    {0, 8, "ALARM.LIM OF BATT IN CHG.OVER"},
    {0, 9, "ALARM.REC OF BATT IN CHG.OVER"},
    {0, 10, "PROTECT.LIM OF BATT IN CHG.OVER"},
    {0, 11, "PROTECT.REC OF BATT IN CHG.OVER"},
    {0, 12, "ALARM.LIM OF CELL IN CHG.OVER"},
    {0, 13, "ALARM.REC OF CELL IN CHG.REC"},
    {0, 14, "PROTECT.LIM OF CELL IN CHG.OVER"},
    {0, 15, "PROTECT.REC OF CELL IN CHG.REC"},
    {0, 16, "ALARM.LIM OF BATT.LOW"},
    {0, 17, "ALARM.REC OF BATT.LOW"},
    {0, 18, "PROTECT.LIM OF BATT.LOW"},
    {0, 19, "PROTECT.REC OF BATT.LOW"},
    {0, 20, "ALARM.LIM OF CELL.LOW"},
    {0, 21, "ALARM.REC OF CELL.LOW"},
    {0, 22, "PROTECT.LIM OF CELL.LOW"},
    {0, 23, "PROTECT.REC OF CELL.LOW"},
    {3, 0, "ALARM.LIM IN CHG.CURRENT OVER"},
    {3, 1, "ALARM.REC IN CHG.CURRENT OVER"},
    {3, 2, "PROTECT.LIM IN CHG.CURRENT OVER"},
    {3, 3, "ALARM.LIM IN DISCHG.CURRENT OVER"},
    {3, 4, "ALARM.REC IN DISCHG.CURRENT OVER"},
    {3, 5, "PROTECT.LIM IN DISCHG.CURRENT OVER"},
    {3, 6, "ALARM.LIM IN CHG.TEMP.OVER"},
    {3, 7, "ALARM.REC IN CHG.TEMP.OVER"},
    {3, 8, "PROTECT.LIM IN CHG.TEMP.OVER"},
    {3, 9, "PROTECT.REC IN CHG.TEMP.OVER"},
    {3, 10, "ALARM.LIM IN DISCHG.TEMP.OVER"},
    {3, 11, "ALARM.REC IN DISCHG.TEMP.OVER"},
    {3, 12, "PROTECT.LIM IN DISCHG.TEMP.OVER"},
    {3, 13, "PROTECT.REC IN DISCHG.TEMP.OVER"},
    {3, 14, "ALARM.LIM IN CHG.TEMP.LOW"},
    {3, 15, "ALARM.REC IN CHG.TEMP.LOW"},
    {3, 16, "PROTECT.LIM IN CHG.TEMP.LOW"},
    {3, 17, "PROTECT.REC IN CHG.TEMP.LOW"},
    {3, 18, "ALARM.LIM IN DISCHG.TEMP.LOW"},
    {3, 19, "ALARM.REC IN DISCHG.TEMP.LOW"},
    {3, 20, "PROTECT.LIM IN DISCHG.TEMP.LOW"},
    {3, 21, "PROTECT.REC IN DISCHG.TEMP.LOW"},
    {3, 22, "TEMP IN HEATER START UP"},
    {3, 23, "TEMP IN HEATER STOP"},
};

constexpr GridTitle kVkb[] = {
    {0, 0, "TYPE"},
    {1, 0, "VALUE IN FACT"},
    {2, 0, "VALUE IN SAMPLE"},
    {3, 0, "SEND VALUE OF K"},
    {4, 0, "LOAD VALUE OF K"},
    {0, 1, "PACK  VOLT"},
    {0, 2, "CELL [1]"},
    {0, 3, "CELL [2]"},
    {0, 4, "CELL [3]"},
    {0, 5, "CELL [4]"},
    {0, 6, "CELL [5]"},
    {0, 7, "CELL [6]"},
    {0, 8, "CELL [7]"},
    {0, 9, "CELL [8]"},
    {0, 10, "CELL [9]"},
    {0, 11, "CELL [10]"},
    {0, 12, "CELL [11]"},
    {0, 13, "CELL [12]"},
    {0, 14, "CELL [13]"},
    {0, 15, "CELL [14]"},
    {0, 16, "CELL [15]"},
    {0, 17, "CELL [16]"},
};

constexpr GridTitle kCkb[] = {
    {0, 0, "TYPE"},
    {1, 0, "CHG.CURRENT"},
    {2, 0, "DISCHG.CURRENT"},
    {0, 1, "Small CURRENT [1] IN FACT"},
    {0, 2, "Small CURRENT [1] IN SAMPLE"},
    {0, 3, "Small CURRENT [2] IN FACT"},
    {0, 4, "Small CURRENT [2] IN SAMPLE"},
    {0, 5, "CURRENT [3] IN FACT"},
    {0, 6, "CURRENT [3] IN SAMPLE"},
    {0, 7, "CURRENT [4] IN FACT"},
    {0, 8, "CURRENT [4] IN SAMPLE"},
    {0, 9, "CURRENT [5] IN FACT"},
    {0, 10, "CURRENT [5] IN SAMPLE"},
    {0, 11, "CURRENT [6] IN FACT"},
    {0, 12, "CURRENT [6] IN SAMPLE"},
    {0, 13, "SEND VALUE OF K"},
    {0, 14, "LOAD VALUE OF K"},
    {0, 15, "SEND VALUE OF B"},
    {0, 16, "LOAD VALUE OF B"},
    {0, 17, "SEND VALUE OF SK"},
    {0, 18, "LOAD VALUE OF SK"},
    {0, 19, "SEND VALUE OF SB"},
    {0, 20, "LOAD VALUE OF SB"},
};

// Values stand in rows 1 and 3.
constexpr GridTitle kSoftVersion[] = {
    {0, 0, "MAIN VERSION"}, {1, 0, "HYP-VERSION"},      {2, 0, "EDIT VERSION"},
    {3, 0, "EDIT TIME"},    {0, 2, "HARDWARE VERSION"}, {1, 2, "FUNCTION VERSION"},
};

constexpr GridTitle kLife[] = {
    {0, 0, "SOC"},
    {0, 1, "SOC.HEALTH"},
    {0, 2, "DISCHG.TIMES"},
    {0, 3, "DISCHG.SOC IN TOTAL"},
};

// Two spaces before VOLT whatever the cell number; the second title row
// leaves column 1 empty.
constexpr GridTitle kVadc[] = {
    {0, 0, "ITEMS IN SAMPLE"}, {1, 0, "VOLT IN PORT"},    {2, 0, "CELL [1]  VOLT"},
    {3, 0, "CELL [2]  VOLT"},  {4, 0, "CELL [3]  VOLT"},  {5, 0, "CELL [4]  VOLT"},
    {6, 0, "CELL [5]  VOLT"},  {7, 0, "CELL [6]  VOLT"},  {8, 0, "CELL [7]  VOLT"},
    {9, 0, "CELL [8]  VOLT"},  {0, 1, "VALUE IN SAMPLE"}, {0, 2, "ITEMS IN SAMPLE"},
    {2, 2, "CELL [9]  VOLT"},  {3, 2, "CELL [10]  VOLT"}, {4, 2, "CELL [11]  VOLT"},
    {5, 2, "CELL [12]  VOLT"}, {6, 2, "CELL [13]  VOLT"}, {7, 2, "CELL [14]  VOLT"},
    {8, 2, "CELL [15]  VOLT"}, {9, 2, "CELL [16]  VOLT"}, {0, 3, "VALUE IN SAMPLE"},
};

constexpr GridTitle kCadc[] = {
    {0, 0, "ITEMS IN SAMPLE"},
    {1, 0, "CHG.CURRENT"},
    {2, 0, "DISCHG.CURRENT"},
    {0, 1, "VALUE IN SAMPLE"},
};

constexpr GridTitle kTadc[] = {
    {0, 0, "ITEMS IN SAMPLE"}, {1, 0, "CELL [1]  TEMP."}, {2, 0, "CELL [2]  TEMP."},
    {3, 0, "CELL [3]  TEMP."}, {4, 0, "CELL [4]  TEMP."}, {5, 0, "CELL [5]  TEMP."},
    {6, 0, "CELL [6]  TEMP."}, {7, 0, "CELL [7]  TEMP."}, {8, 0, "CELL [8]  TEMP."},
    {0, 1, "VALUE IN SAMPLE"},
};

constexpr GridTitle kHisAlarm[] = {
    {0, 0, "    Num "},     {1, 0, "       Start Time"}, {2, 0, "       End TIme"}, {3, 0, "    Mode"},
    {4, 0, "    Current"},  {5, 0, "    Voltage"},       {6, 0, "    Capacity"},    {7, 0, "       Alarm "},
    {8, 0, "Ambient Temp"}, {9, 0, "Batt Temp.1"},       {10, 0, "Batt Temp.2"},    {11, 0, "Batt Temp.3"},
    {12, 0, "Batt Temp.4"}, {13, 0, "  Vol.1"},          {14, 0, "  Vol.2"},        {15, 0, "  Vol.3"},
    {16, 0, "  Vol.4"},     {17, 0, "  Vol.5"},          {18, 0, "  Vol.6"},        {19, 0, "  Vol.7"},
    {20, 0, "  Vol.8"},     {21, 0, "  Vol.9"},          {22, 0, "  Vol.10"},       {23, 0, "  Vol.11"},
    {24, 0, "  Vol.12"},    {25, 0, "  Vol.13"},         {26, 0, "  Vol.14"},       {27, 0, "  Vol.15"},
    {28, 0, "  Vol.16"},
};

constexpr GridTitle kRunState[] = {
    {0, 0, "   Records   "},  {1, 0, "    Date     "},        {2, 0, "Cell Max.TEMP"},
    {3, 0, "Ambin Max.TEMP"}, {4, 0, "Daily Dischg Cap(AH)"}, {5, 0, "Daily Chg Cap(%)"},
};

constexpr GridTitleTable kGrids[] = {
    {"SG_TSBS", kTsbs},
    {"SG_TBMS", kTbms},
    {"SG_VKB", kVkb},
    {"SG_CKB", kCkb},
    {"SG_SoftVersion", kSoftVersion},
    {"SG_Life", kLife},
    {"SG_VADC", kVadc},
    {"SG_CADC", kCadc},
    {"SG_TADC", kTadc},
    {"SG_HisAlarm", kHisAlarm},
    {"RunState", kRunState},
};

constexpr CaptionTitle kCaptions[] = {
    {"TeEffectGroupBox1", "VERSION INFORMATION"},
    {"TeGroupBox34", "Design Capacity Set"},
    {"TeLabel56", "Design Capacity:"},
    {"Getcap", "Get"},
    {"Setcap", "Set"},
    {"TeEffectGroupBox4", "Serial Number"},
    {"B_ReadSerialNum", "Read Serial Number"},
    {"TeEffectGroupBox5", "Life Of SOC"},
    {"B_SetLife", "Modify"},
};

// Group boxes and labels repaint on every caption they are given, so an
// unchanged caption is not handed to them again.
template <class Control>
bool SetCaptionIfControl(TComponent* component, const WideString& caption) {
    auto* control = dynamic_cast<Control*>(component);
    if (!control) return false;
    if (control->GetCaption() != caption) control->SetCaption(caption);
    return true;
}

void SetCaption(TComponent* component, const char* text) {
    const WideString caption = Utf8ToWide(text);
    if (SetCaptionIfControl<TTeGroupBox>(component, caption)) return;
    if (SetCaptionIfControl<TTeLabel>(component, caption)) return;
    SetCaptionIfControl<TTeButton>(component, caption);
}

}  // namespace

void SetEnglishGridTitles(TComponent& mainForm) {
    for (const GridTitleTable& table : kGrids) {
        auto* grid = dynamic_cast<TStringGrid*>(mainForm.FindComponent(table.grid));
        if (!grid) continue;
        for (const GridTitle& title : table.titles) grid->SetCells(title.col, title.row, title.text);
    }
    for (const CaptionTitle& caption : kCaptions)
        SetCaption(mainForm.FindComponent(caption.control), caption.text);
}

}  // namespace tarvel
