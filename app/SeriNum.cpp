#include "app/SeriNum.h"

#include "app/Main_Pages.h"
#include "app/ThemeLinks.h"
#include "app/WindowKit.h"
#include "platform/base/Csv.h"
#include "platform/base/Exceptions.h"
#include "platform/base/Paths.h"
#include "platform/base/Strings.h"
#include "platform/classlib/Dialogs.h"
#include "telemetry/StatusWords.h"

namespace tarvel {

TSerialNum* SerialNum = nullptr;

namespace {

constexpr int kLamp = 12;
constexpr int kLampRow = 20;
constexpr int kGroupsLeft = 552;

// Grid titles, column 0 then column 3, blanks as the window shows them.
const char* const kColumn0[19] = {"  PACK     VOLT", "  BATT     VOLT", "CELL [1]   VOLT", "CELL [2]   VOLT",
                                  "CELL [3]   VOLT", "CELL [4]   VOLT", "CELL [5]   VOLT", "CELL [6]   VOLT",
                                  "CELL [7]   VOLT", "CELL [8]   VOLT", "CELL [9]   VOLT", "CELL [10]  VOLT",
                                  "CELL [11]  VOLT", "CELL [12]  VOLT", "CELL [13]  VOLT", "CELL [14]  VOLT",
                                  "CELL [15]  VOLT", "CELL [16]  VOLT", "CURRENT"};
const char* const kColumn3[19] = {
    "CELL [1]   TEMP.", "CELL [2]   TEMP.",  "CELL [3]   TEMP.",  "CELL [4]   TEMP.", "CELL [5]   TEMP.",
    "CELL [6]   TEMP.", "CELL [7]   TEMP.",  "CELL [8]   TEMP.",  "OTHERS",           "ALARM      STATE",
    "PROTECT  STATE",   "FAIL        STATE", "BALANCE  STATE",    "BATTERY  STATE",   "SOC",
    "SOC.HEALTH",       "DISCHG.TIMES",      "TOTLE  DISCHG.SOC", "RECORD  TIME"};

// "Alarm/Prot State" rows top to bottom; a bit of -1 is a lamp that is
// always green. The last row holds the two hidden lamps of bit 4.
struct AlarmRow {
    const char* label;
    int alarmBit;
    int protectionBit;
};
constexpr AlarmRow kAlarmRows[19] = {
    {"Pack Volt Over", 0, 0},
    {"Module Volt Over", 1, 1},
    {"Cell Volt Over", 2, 2},
    {"Module Volt Low", -1, -1},
    {"Cell Volt Low", 5, 5},
    {"Chg.Current Over", 6, 6},
    {"Dischg.Current Over", 7, 7},
    {"Chg.Temp Over", 8, 8},
    {"Dischg.Temp Over", 9, 9},
    {"Chg.Temp Low", 10, 10},
    {"Dischg.Temp Low", 11, 11},
    {"SOC Low", 12, 12},
    {"Dischg Short Circuit", 14, 14},
    {"Connection Reverse", 15, 15},
    {"Lew.Temp over Chg.Curr 0", -1, 16},
    {"Lew.Temp over Chg.Curr 1", -1, 17},
    {"Lew.Temp over Chg.Volt", -1, 18},
    {"Chg Short Circuit", -1, 19},
    {nullptr, 4, 4},
};
// "Fail State" by bit; bit 6's lamp and label are hidden.
constexpr const char* kFailLabels[9] = {"Volt.Sensor Fail", "Temp.Sensor Fail",    "Chg.Tube Fail",
                                        "Dischg.Tube Fail", "Cell Broken",         "Heater Fail",
                                        "Life Over",        "Switch Of Panel Off", "Chg.Circuit Fail"};
constexpr int kHiddenFailBit = 6;
constexpr const char* kOthersLabels[5] = {"Heater", "Full.Count", "Volt.Cal", "Cur.Cal", "Chg.Cur"};
constexpr const char* kStateLabels[4] = {"Charge", "Discharge", "Full", "Idle"};
constexpr uint16_t kStateCodes[4] = {1, 2, 4, 0};

bool Bit(int32_t word, int bit) { return bit >= 0 && ((static_cast<uint32_t>(word) >> bit) & 1u) != 0; }

void Paint(TShape* lamp, TColor colour) {
    if (lamp) lamp->Brush()->SetColor(colour);
}

// The status part of a stored reading, as the colour rules take it.
TelemetryRecord StatusOf(const ModuleReading& reading) {
    const auto& e = reading.entries;
    TelemetryRecord record;
    record.Others = static_cast<uint32_t>(e[27]);
    record.Alarm = static_cast<uint32_t>(e[28]);
    record.Protection = static_cast<uint32_t>(e[29]);
    record.Fail = static_cast<uint32_t>(e[30]);
    record.Balance = static_cast<uint32_t>(e[31]);
    record.BattState = static_cast<uint16_t>(e[32]);
    record.SOC = static_cast<uint16_t>(e[33]);
    return record;
}

class DetailBuilder {
public:
    explicit DetailBuilder(TSerialNum& window) : w_(window) {}

    TShape* Lamp(TWinControl* parent, int x, int y) {
        auto* lamp = MakeControl<TShape>(&w_, parent, "", x, y, kLamp, kLamp);
        lamp->SetShape(stCircle);
        lamp->Brush()->SetColor(clSilver);
        return lamp;
    }
    TTeLabel* Label(TWinControl* parent, const char* text, int x, int y, int width = 150) {
        auto* label = MakeControl<TTeLabel>(&w_, parent, "", x, y, width, 16);
        label->SetText(text);
        return label;
    }
    TTeGroupBox* Group(const char* name, int y, int w, int h) {
        return MakeControl<TTeGroupBox>(&w_, &w_, name, kGroupsLeft + (w < 240 ? 250 : 0), y, w, h);
    }

private:
    TSerialNum& w_;
};

}  // namespace

TSerialNum::TSerialNum(TComponent* owner) : TForm(owner) {
    SerialNum = this;
    TLoadingScope scope(this);
    SetName("SerialNum");
    SetPosition(poMainFormCenter);
    SetBounds(0, 0, 1016, 560);
    TeThemeLink1 = new TTeThemeLink(this);
    TeThemeLink1->SetName("TeThemeLink1");
    TeForm1 = new TTeForm(this);
    TeForm1->SetName("TeForm1");
    TeForm1->SetThemeLink(TeThemeLink1);
    TeForm1->SetBorderIcons(TTeBorderIcons{kbiClose, kbiSystemMenu});

    SG_TSBS = MakeControl<TTeStringGrid>(this, this, "SG_TSBS", 8, 8, 536, 19 * 26 + 8);
    SG_TSBS->SetDefaultDrawing(false);
    SG_TSBS->OnDrawCell = [grid = SG_TSBS](TObject*, int col, int row, TRect rect, TGridDrawState) {
        PaintWhiteCell(*grid, col, row, rect);
    };

    DetailBuilder make(*this);
    TeGroupBox3 = make.Group("TeGroupBox3", 8, 240, 24 + 18 * kLampRow);
    for (size_t i = 0; i < std::size(kAlarmRows); ++i) {
        const bool hidden = kAlarmRows[i].label == nullptr;
        // Bit 4's lamps sit under the "Module Volt Low" row, out of sight.
        const int y = 22 + static_cast<int>(hidden ? 3 : i) * kLampRow;
        AlarmLamps[i] = make.Lamp(TeGroupBox3, 10, y);
        ProtectionLamps[i] = make.Lamp(TeGroupBox3, 214, y);
        if (hidden) {
            AlarmLamps[i]->SetVisible(false);
            ProtectionLamps[i]->SetVisible(false);
        } else {
            make.Label(TeGroupBox3, kAlarmRows[i].label, 30, y - 2, 180);
        }
    }
    TeGroupBox1 = make.Group("TeGroupBox1", 8, 180, 24 + 8 * kLampRow);
    int y = 22;
    for (int bit = 0; bit < 9; ++bit) {
        FailLamps[bit] = make.Lamp(TeGroupBox1, 10, y);
        TTeLabel* label = make.Label(TeGroupBox1, kFailLabels[bit], 30, y - 2);
        if (bit == kHiddenFailBit) {
            FailLamps[bit]->SetVisible(false);
            label->SetVisible(false);
            continue;
        }
        y += kLampRow;
    }
    TeGroupBox5 = make.Group("TeGroupBox5", 196, 180, 24 + 5 * kLampRow);
    for (int bit = 0; bit < 5; ++bit) {
        OthersLamps[bit] = make.Lamp(TeGroupBox5, 10, 22 + bit * kLampRow);
        make.Label(TeGroupBox5, kOthersLabels[bit], 30, 20 + bit * kLampRow);
    }
    TeGroupBox4 = make.Group("TeGroupBox4", 324, 180, 140);
    for (int i = 0; i < 4; ++i) {
        StateLamps[i] = make.Lamp(TeGroupBox4, 10, 24 + i * 26);
        make.Label(TeGroupBox4, kStateLabels[i], 30, 22 + i * 26, 70);
    }
    BatPositiveCG = MakeControl<TGauge>(this, TeGroupBox4, "BatPositiveCG", 126, 20, 16, 8);
    BatPositiveCG->SetShowText(false);
    BatPositiveCG->SetBackColor(StatusColour::LightEdge3D);
    TSBS_BatRunState = MakeControl<TGauge>(this, TeGroupBox4, "TSBS_BatRunState", 116, 28, 36, 100);
    TSBS_BatRunState->SetKind(gkVerticalBar);
    TSBS_BatRunState->SetForeColor(0x00FF00);
    TSBS_BatRunState->SetBackColor(clWhite);
    TSBS_BatRunState->SetProgress(0);

    TeGroupBox2 = make.Group("TeGroupBox2", 470, 240, 40);
    TeGroupBox2->SetVisible(false);
    for (int cell = 0; cell < 16; ++cell) BalanceLamps[cell] = make.Lamp(TeGroupBox2, 8 + cell * 14, 20);
    SN_SaveData = MakeControl<TTeButton>(this, this, "SN_SaveData", kGroupsLeft, 480, 80, 25);
    SN_SaveData->SetVisible(false);
    SN_SaveData->OnClick = [this](TObject* sender) { SN_SaveDataClick(sender); };
    LinkSkinnedControls(this, TeThemeLink1);
    FormCreate(this);
    scope.Finish();
}

TSerialNum::~TSerialNum() {
    if (SerialNum == this) SerialNum = nullptr;
}

void TSerialNum::FormCreate(TObject*) {
    TeThemeLink1->SetThemeFile(AppPath("res/theme/dara.mskn"));
    PanelInit();
}

void TSerialNum::PanelInit() {
    SetCaption("Serial Number");
    SG_TSBS->SetColCount(6);
    SG_TSBS->SetRowCount(19);
    SG_TSBS->SetFixedCols(0);
    SG_TSBS->SetFixedRows(0);
    SG_TSBS->SetDefaultRowHeight(25);
    const int widths[6] = {120, 90, 40, 120, 110, 40};
    for (int col = 0; col < 6; ++col) SG_TSBS->SetColWidths(col, widths[col]);
    for (int row = 0; row < 19; ++row) {
        SG_TSBS->SetCells(0, row, kColumn0[row]);
        SG_TSBS->SetCells(2, row, row < 18 ? "mV" : "mA");
        SG_TSBS->SetCells(3, row, kColumn3[row]);
        SG_TSBS->SetCells(5, row, row < 8 ? "Degree" : "");
    }
    SG_TSBS->SetCells(5, 14, "%");
    SG_TSBS->SetCells(5, 15, "%");
    SG_TSBS->SetCells(5, 16, "Times");
    SG_TSBS->SetCells(5, 17, "AH");
    TeGroupBox3->SetCaption(u"Alarm/Prot State");
    TeGroupBox1->SetCaption(u"Fail State");
    TeGroupBox5->SetCaption(u"Others");
    TeGroupBox4->SetCaption(u"Battery State");
    SN_SaveData->SetCaption(u"Save");
}

void TSerialNum::FillModule(int module, const ModuleReading& reading, const String& serialNumber) {
    SetCaption("Module [" + IntToStr(module) + "]   Serial Number:  " + serialNumber);
    const auto& e = reading.entries;
    for (int row = 0; row < 19; ++row) SG_TSBS->SetCells(1, row, IntToStr(e[static_cast<size_t>(row)]));
    for (int row = 0; row < 18; ++row) SG_TSBS->SetCells(4, row, IntToStr(e[static_cast<size_t>(19 + row)]));
    SG_TSBS->SetCells(4, 18, reading.timeText);

    const TelemetryRecord status = StatusOf(reading);
    for (size_t i = 0; i < std::size(kAlarmRows); ++i) {
        Paint(AlarmLamps[i], Bit(e[28], kAlarmRows[i].alarmBit) ? StatusColour::Alarm : StatusColour::Normal);
        Paint(ProtectionLamps[i],
              Bit(e[29], kAlarmRows[i].protectionBit) ? StatusColour::Protection : StatusColour::Normal);
    }
    for (int bit = 0; bit < 9; ++bit)
        Paint(FailLamps[bit], Bit(e[30], bit) ? StatusColour::Protection : StatusColour::Normal);
    for (int bit = 0; bit < 5; ++bit)
        Paint(OthersLamps[bit], Bit(e[27], bit) ? StatusColour::Normal : StatusColour::Clear);
    for (int cell = 0; cell < 16; ++cell)
        Paint(BalanceLamps[cell], Bit(e[31], cell) ? StatusColour::Normal : StatusColour::Clear);
    for (int i = 0; i < 4; ++i) {
        const bool on = status.BattState == kStateCodes[i];
        const BatteryPicture look = BatteryPictureColours(TelemetryRecord{.BattState = kStateCodes[i]});
        Paint(StateLamps[i], on ? look.body : StatusColour::Inactive);
    }
    const BatteryPicture picture = BatteryPictureColours(status);
    TSBS_BatRunState->SetBackColor(picture.body);
    BatPositiveCG->SetBackColor(picture.cap);
    TSBS_BatRunState->SetProgress(status.SOC);
}

void TSerialNum::ShowModule(int module, const ModuleReading& reading, const String& serialNumber) {
    FillModule(module, reading, serialNumber);
    ShowModal();
}

void TSerialNum::SN_SaveDataClick(TObject*) {
    const String caption = Caption();
    const String tail = caption.size() > 19 ? caption.substr(19, 35) : String();
    TSaveDialog dialog(nullptr);
    dialog.Title = "保存记录数据至";
    dialog.Filter = "电池记录数据(*.csv)|*.csv";
    dialog.InitialDir = AppPath("");
    dialog.FileName = caption.substr(0, 10) + tail + " " + SG_TSBS->Cells(4, 18) + ".csv";
    if (!dialog.Execute()) return;
    const bool exists = FileExists(dialog.FileName);
    String header = "记录时间,序列号,PACK电压,BATT电压,";
    for (int cell = 1; cell <= 16; ++cell) header += "第" + IntToStr(cell) + "节电压,";
    header += "电流,";
    for (int t = 1; t <= 8; ++t) header += "第" + IntToStr(t) + "个温度,";
    header += "其他信息,告警状态,保护状态,失效状态,均衡状态,电池状态,SOC,容量保持率,放电次数,总放电容量,\r\n";
    String line;
    AppendCsvField(line, SG_TSBS->Cells(4, 18));
    AppendCsvField(line, tail);
    for (int row = 0; row < 19; ++row) AppendCsvField(line, SG_TSBS->Cells(1, row));
    for (int row = 0; row < 18; ++row) AppendCsvField(line, SG_TSBS->Cells(4, row));
    try {
        // The header goes into a file that is new, or empty.
        AppendFileText(dialog.FileName, line + "\r\n", header);
    } catch (const Exception&) {
        ShowMessage(exists ? "Fail to open file!" : "Fail to biuld file!");
    }
}

}  // namespace tarvel
