#include <algorithm>

#include "app/Main.h"
#include "link/CommandTable.h"
#include "platform/base/DateTime.h"
#include "platform/base/Strings.h"
#include "telemetry/StatusWords.h"

namespace tarvel {
namespace {

constexpr TColor kFailureColour = 0x6A6AFF;
constexpr int kLampSize = 12;
constexpr int kLampRow = 20;

// The "Alarm/Prot State" rows: the label of each visible row, in the order
// of AlarmProtectionRows(), then the rows no view shows.
constexpr std::array<const char*, 18> kAlarmRowLabels = {
    "Label1",  "Label2",  "Label3",  "Label4",  "Label7",  "Label8",  "Label5",  "Label6",  "Label16",
    "Label15", "Label14", "Label40", "Label38", "Label39", "Label56", "Label57", "Label60", "Label61"};
struct HiddenAlarmRow {
    const char* label;
    const char* caption;
    const char* alarmLamp;
    const char* protectionLamp;
};
constexpr std::array<HiddenAlarmRow, 3> kHiddenAlarmRows = {{
    {"Label46", "Pack Volt Low", "S_Alarm4", "S_Protect4"},
    {"Label47", "Chg Short Circuit", "S_Alarm14", "S_Protect14"},
    {"Label53", "End Life", "S_Alarm17", "S_Protect21"},
}};
// The labels of FailBits() and OthersBits(), in their order; none for the hidden lamp.
constexpr std::array<const char*, 9> kFailLabels = {"Label12", "Label10", "Label45", "Label41", "Label13",
                                                    "Label33", nullptr,   "Label37", "Label52"};
constexpr std::array<const char*, 5> kOthersLabels = {"TeScrollingLabel7", "TeScrollingLabel59",
                                                      "TeScrollingLabel60", "TeScrollingLabel61",
                                                      "TeScrollingLabel14"};
struct StateRow {
    const char* lamp;
    const char* label;
    const char* caption;
};
constexpr std::array<StateRow, 4> kStateRows = {{{"S_ChgStatus", "Label21", "Charge"},
                                                 {"S_DisStatus", "Label22", "Discharge"},
                                                 {"S_FullStatus", "Label9", "Full"},
                                                 {"S_IdleStatus", "Label23", "Idle"}}};
struct LegendEntry {
    const char* label;
    const char* caption;
    TColor colour;
};
constexpr std::array<LegendEntry, 7> kLegend = {{{"TeLabel25", "Charge:", StatusColour::Charging},
                                                 {"TeLabel30", "Discharge:", StatusColour::Discharging},
                                                 {"TeLabel32", "     Full:", StatusColour::Normal},
                                                 {"TeLabel34", "     Idle:", StatusColour::Clear},
                                                 {"TeLabel33", " Alarm:", StatusColour::Alarm},
                                                 {"TeLabel35", "       Prot/Fail:", StatusColour::Protection},
                                                 {"TeLabel36", " Comm Fail:", 0xB0ACB9}}};

// Cells white with black text centred on one line, as every telemetry grid paints them.
void PaintTelemetryCell(TStringGrid& grid, int col, int row, const TRect& rect) {
    TCanvas& canvas = *grid.Canvas();
    canvas.Brush()->SetColor(clWhite);
    canvas.Font()->SetColor(clBlack);
    const String text = grid.Cells(col, row);
    const TSize size = canvas.TextExtent(text);
    canvas.TextRect(rect, rect.left + (rect.Width() - size.cx) / 2, rect.top + (rect.Height() - size.cy) / 2,
                    text);
}

}  // namespace

void TMainForm::BuildTsbsPage() {
    TTeGroupBox* page = ScrolledPanels[1];
    auto place = []<class T>(T* control, TWinControl* parent, std::string_view name, int x, int y, int w,
                             int h) {
        if (!name.empty()) control->SetName(String(name));
        control->SetParent(parent);
        control->SetBounds(x, y, w, h);
        return control;
    };
    auto lamp = [&](TWinControl* parent, std::string_view name, int x, int y) {
        auto* shape = place(new TShape(this), parent, name, x, y, kLampSize, kLampSize);
        shape->SetShape(stCircle);
        shape->Pen()->SetStyle(psClear);
        shape->Brush()->SetColor(clSilver);
        Lamps[String(name)] = shape;
        return shape;
    };
    auto label = [&](TWinControl* parent, std::string_view name, std::string_view caption, int x, int y) {
        auto* text = place(new TLabel(this), parent, name, x, y, 160, 14);
        text->SetTransparent(true);
        text->SetCaption(String(caption));
        return text;
    };
    auto group = [&](const char* name, const char* caption, int x, int y, int w, int h) {
        auto* box = place(new TTeGroupBox(this), page, name, x, y, w, h);
        box->SetCaption(Utf8ToWide(caption));
        return box;
    };

    auto* grid = place(new TTeStringGrid(this), page, "SG_TSBS", 8, 8, 552, 404);
    grid->SetFixedCols(0);
    grid->SetFixedRows(0);
    grid->SetColCount(6);
    grid->SetRowCount(19);
    grid->SetDefaultRowHeight(20);
    const int widths[] = {112, 72, 48, 122, 130, 56};
    for (int col = 0; col < 6; ++col) grid->SetColWidths(col, widths[col]);
    grid->SetDefaultDrawing(false);
    grid->OnDrawCell = [grid](TObject*, int col, int row, TRect rect, TGridDrawState) {
        PaintTelemetryCell(*grid, col, row, rect);
    };
    SG_TSBS = grid;
    Detailinfo = place(new TTeStringGrid(this), page, "Detailinfo", 8, 545, 552, 50);
    Detailinfo->SetVisible(false);

    // The query row; the parallel-only controls start hidden and the views place them.
    place(new TTeLabel(this), page, "TeLabel7", 14, 434, 80, 16)->SetText("Query Once:");
    B_Query = place(new TTeButton(this), page, "B_Query", 96, 425, 75, 25);
    B_Query->SetText("Execute");
    B_Query->OnClick = [this](TObject* sender) { B_QueryClick(sender); };
    auto* serialLabel = place(new TTeLabel(this), page, "TeLabel1", 14, 434, 80, 16);
    serialLabel->SetText("Serial Number:");
    serialLabel->SetVisible(false);
    TSBS_SeqNum = place(new TTeEdit(this), page, "TSBS_SeqNum", 96, 432, 60, 21);
    TSBS_SeqNum->SetVisible(false);
    TSBS_SeqNum->SetEnabled(false);
    TSBS_OnceQuery = place(new TTeButton(this), page, "TSBS_OnceQuery", 96, 477, 75, 25);
    TSBS_OnceQuery->SetText("Execute");
    TSBS_OnceQuery->SetVisible(false);
    TSBS_CycQuery = place(new TTeCheckBox(this), page, "TSBS_CycQuery", 96, 522, 75, 17);
    TSBS_CycQuery->SetText("Execute");
    TSBS_CycQuery->SetVisible(false);

    // The automatic query's controls; its timer is bound by the automatic query itself.
    place(new TTeLabel(this), page, "TeLabel31", 14, 482, 80, 16)->SetText("Automatic Query:");
    TTeGroupBox* autoQuery = group("TeGroupBox15", "", 96, 469, 300, 40);
    CB_AutoQuery = place(new TTeCheckBox(this), autoQuery, "CB_AutoQuery", 8, 14, 75, 17);
    CB_AutoQuery->SetText("Execute");
    place(new TTeScrollingLabel(this), autoQuery, "TeScrollingLabel3", 100, 15, 86, 16)
        ->SetText("Period Setting:");
    CB_AutoQueryInterval = place(new TTeEdit(this), autoQuery, "CB_AutoQueryInterval", 190, 12, 40, 21);
    CB_AutoQueryInterval->SetText("1");

    TTeGroupBox* legend =
        group("RunColor2", "Meaning Of Color For Runing State Of Battery:", 570, 400, 242, 190);
    for (size_t i = 0; i < kLegend.size(); ++i) {
        const int y = 24 + static_cast<int>(i) * 22;
        place(new TTeLabel(this), legend, kLegend[i].label, 10, y, 120, 16)->SetText(kLegend[i].caption);
        auto* swatch = place(new TShape(this), legend, "", 140, y, 40, 14);
        swatch->Brush()->SetColor(kLegend[i].colour);
    }

    const auto& rows = AlarmProtectionRows();
    TTeGroupBox* alarms = group("TeGroupBox3", "Alarm/Prot State", 570, 8, 240, 24 + 18 * kLampRow);
    for (size_t i = 0; i < rows.size(); ++i) {
        const int y = 22 + static_cast<int>(i) * kLampRow;
        lamp(alarms, rows[i].alarmLamp, 10, y);
        label(alarms, kAlarmRowLabels[i], rows[i].label, 30, y - 1);
        lamp(alarms, rows[i].protectionLamp, 214, y);
    }
    for (const HiddenAlarmRow& row : kHiddenAlarmRows) {
        lamp(alarms, row.alarmLamp, 10, 0)->SetVisible(false);
        label(alarms, row.label, row.caption, 30, 0)->SetVisible(false);
        lamp(alarms, row.protectionLamp, 214, 0)->SetVisible(false);
    }

    TTeGroupBox* fails = group("TeGroupBox1", "Fail State", 815, 8, 180, 24 + 8 * kLampRow);
    int y = 22;
    for (size_t i = 0; i < FailBits().size(); ++i) {
        TShape* shape = lamp(fails, FailBits()[i].lamp, 10, y);
        if (!kFailLabels[i]) {
            shape->SetVisible(false);
            continue;
        }
        label(fails, kFailLabels[i], FailBits()[i].label, 30, y - 1);
        y += kLampRow;
    }

    TTeGroupBox* others = group("TeGroupBox5", "Others", 815, 196, 180, 24 + 5 * kLampRow);
    for (size_t i = 0; i < OthersBits().size(); ++i) {
        const int row = 22 + static_cast<int>(i) * kLampRow;
        lamp(others, OthersBits()[i].lamp, 10, row);
        place(new TTeScrollingLabel(this), others, kOthersLabels[i], 30, row - 1, 130, 16)
            ->SetText(String(OthersBits()[i].label));
    }

    // Each balance lamp follows one cell; no view shows them.
    for (int cell = 1; cell <= 16; ++cell) {
        const String name = "Bls" + std::to_string(cell);
        lamp(page, name, 0, 0)->SetVisible(false);
    }

    TTeGroupBox* state = group("TeGroupBox4", "Battery State", 815, 324, 180, 140);
    for (size_t i = 0; i < kStateRows.size(); ++i) {
        const int row = 24 + static_cast<int>(i) * 26;
        lamp(state, kStateRows[i].lamp, 10, row);
        label(state, kStateRows[i].label, kStateRows[i].caption, 30, row - 1)->SetWidth(70);
    }
    BatPositiveCG = place(new TGauge(this), state, "BatPositiveCG", 126, 20, 16, 8);
    BatPositiveCG->SetShowText(false);
    TSBS_BatRunState = place(new TGauge(this), state, "TSBS_BatRunState", 116, 28, 36, 100);
    TSBS_BatRunState->SetKind(gkVerticalBar);
    TSBS_BatRunState->SetForeColor(0x00FF00);
    TSBS_BatRunState->SetBackColor(clWhite);

    PB_SOC = place(new TTeProgressBar(this), page, "PB_SOC", 0, 0, 100, 16);
    PB_SOC->SetVisible(false);
    L_SOC = place(new TLabel(this), page, "L_SOC", 0, 0, 60, 16);
    L_SOC->SetVisible(false);
}

void TMainForm::B_QueryClick(TObject*) {
    // No item chosen reads as -1, which goes out as the broadcast address 0xFF.
    const int index = CB_ModuleAddr ? CB_ModuleAddr->ItemIndex() : -1;
    SendCommand(static_cast<uint8_t>(index), CmdQuerySbs);
}

std::optional<TelemetryRecord> TMainForm::RxTelemetry() const {
    // The frame in RxFrame is as long as its Length field says; nothing after it is read.
    const size_t size = std::min<size_t>(FrameLengthField(RxFrame.data()) + frame::kOverhead, RxFrame.size());
    return DecodeTelemetryReply(ByteSpan(RxFrame.data(), size));
}

void TMainForm::ShowTelemetry() {
    const std::optional<TelemetryRecord> record = RxTelemetry();
    if (!record) {
        ShowInfo("Telemetry reply of a wrong length, not shown!", kFailureColour);
        return;
    }
    const TelemetryCells cells = MakeTelemetryCells(*record, TelemetryTimeText(Now()));
    for (int row = 0; row < 19; ++row) SG_TSBS->SetCells(1, row, cells.column1[row]);
    for (int row : {0, 1, 2, 3, 4, 5, 6, 7, 18}) SG_TSBS->SetCells(4, row, cells.column4[row]);
    ShowStatusWords(*record);
    if (SG_Life) {
        const auto life = LifeCells(*record);
        for (int row = 0; row < 4; ++row) SG_Life->SetCells(1, row, life[row]);
    }
    StoreReading();
    ShowSampledVoltages();
    ShowSampledCurrent();
    DoneTsbs = 1;
}

// Calibration samples are taken from the readings shown once calibration sampling exists.
void TMainForm::ShowSampledVoltages() {}
void TMainForm::ShowSampledCurrent() {}

}  // namespace tarvel
