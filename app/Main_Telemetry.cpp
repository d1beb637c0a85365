#include "app/Main.h"
#include "app/WindowKit.h"
#include "link/CommandTable.h"
#include "platform/base/DateTime.h"
#include "platform/base/Strings.h"
#include "telemetry/StatusWords.h"

namespace tarvel {
namespace {

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

// The titles centre themselves in their cells with blanks, measured for a
// narrower face than ours. A text wider than its cell is shown with its runs
// of blanks as one, and one still too wide in a smaller size of the face
// (down to a floor), so it is read whole. The cell keeps its text.
void PaintTelemetryCell(TStringGrid& grid, int col, int row, const TRect& rect) {
    TCanvas& canvas = *grid.Canvas();
    String text = grid.Cells(col, row);
    if (canvas.TextExtent(text).cx > rect.Width()) {
        String folded;
        for (char c : Trim(text))
            if (c != ' ' || folded.empty() || folded.back() != ' ') folded += c;
        text = folded;
    }
    canvas.Brush()->SetColor(clWhite);
    canvas.Font()->SetColor(clBlack);
    const int height = canvas.Font()->Height();
    constexpr int kSmallestHeight = -8;
    TSize size = canvas.TextExtent(text);
    while (size.cx > rect.Width() - 2 && canvas.Font()->Height() < kSmallestHeight) {
        canvas.Font()->SetHeight(canvas.Font()->Height() + 1);
        size = canvas.TextExtent(text);
    }
    const int left = size.cx > rect.Width() ? rect.left + 1 : rect.left + (rect.Width() - size.cx) / 2;
    canvas.TextRect(rect, left, rect.top + (rect.Height() - size.cy) / 2, text);
    canvas.Font()->SetHeight(height);
}

// Makes the page's controls, each named, parented and placed at once.
class TsbsPageBuilder {
public:
    TsbsPageBuilder(TMainForm& form, TWinControl* page) : form_(form), page_(page) {}

    void Grid() {
        auto* grid = Place(new TTeStringGrid(&form_), page_, "SG_TSBS", 8, 8, 552, 404);
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
        form_.SG_TSBS = grid;
        form_.Detailinfo = Place(new TTeStringGrid(&form_), page_, "Detailinfo", 8, 545, 552, 50);
        form_.Detailinfo->SetVisible(false);
    }

    // The parallel-only controls start hidden; the views show and move them.
    void QueryControls() {
        Text<TTeLabel>(page_, "TeLabel7", "Query Once:", 14, 434, 80);
        form_.B_Query = Text<TTeButton>(page_, "B_Query", "Execute", 96, 425, 75, 25);
        form_.B_Query->OnClick = [form = &form_](TObject* sender) { form->B_QueryClick(sender); };
        Text<TTeLabel>(page_, "TeLabel1", "Serial Number:", 14, 434, 80)->SetVisible(false);
        form_.TSBS_SeqNum = Place(new TTeEdit(&form_), page_, "TSBS_SeqNum", 96, 432, 60, 21);
        form_.TSBS_SeqNum->SetVisible(false);
        form_.TSBS_SeqNum->SetEnabled(false);
        form_.TSBS_OnceQuery = Text<TTeButton>(page_, "TSBS_OnceQuery", "Execute", 96, 477, 75, 25);
        form_.TSBS_OnceQuery->SetVisible(false);
        form_.TSBS_CycQuery = Text<TTeCheckBox>(page_, "TSBS_CycQuery", "Execute", 96, 522, 75, 17);
        form_.TSBS_CycQuery->SetVisible(false);

        // The automatic query binds these itself.
        // Whole, colon included, before the group that starts at 96.
        Text<TTeLabel>(page_, "TeLabel31", "Automatic Query:", 8, 482, 86);
        TTeGroupBox* group = Group("TeGroupBox15", "", 96, 469, 300, 40);
        form_.CB_AutoQuery = Text<TTeCheckBox>(group, "CB_AutoQuery", "Execute", 8, 14, 75, 17);
        Text<TTeScrollingLabel>(group, "TeScrollingLabel3", "Period Setting:", 100, 15, 86);
        form_.CB_AutoQueryInterval = Text<TTeEdit>(group, "CB_AutoQueryInterval", "1", 190, 12, 40, 21);
    }

    void Legend() {
        TTeGroupBox* group =
            Group("RunColor2", "Meaning Of Color For Runing State Of Battery:", 570, 400, 242, 190);
        for (size_t i = 0; i < kLegend.size(); ++i) {
            const int y = 24 + static_cast<int>(i) * 22;
            Text<TTeLabel>(group, kLegend[i].label, kLegend[i].caption, 10, y, 120);
            Place(new TShape(&form_), group, "", 140, y, 40, 14)->Brush()->SetColor(kLegend[i].colour);
        }
    }

    void AlarmGroup() {
        const auto& rows = AlarmProtectionRows();
        TTeGroupBox* group = Group("TeGroupBox3", "Alarm/Prot State", 570, 8, 240, 24 + 18 * kLampRow);
        for (size_t i = 0; i < rows.size(); ++i) {
            const int y = 22 + static_cast<int>(i) * kLampRow;
            Lamp(group, rows[i].alarmLamp, 10, y);
            Text<TLabel>(group, kAlarmRowLabels[i], rows[i].label, 30, y - 1);
            Lamp(group, rows[i].protectionLamp, 214, y);
        }
        for (const HiddenAlarmRow& row : kHiddenAlarmRows) {
            Lamp(group, row.alarmLamp, 10, 0)->SetVisible(false);
            Text<TLabel>(group, row.label, row.caption, 30, 0)->SetVisible(false);
            Lamp(group, row.protectionLamp, 214, 0)->SetVisible(false);
        }
    }

    void FailGroup() {
        TTeGroupBox* group = Group("TeGroupBox1", "Fail State", 815, 8, 180, 24 + 8 * kLampRow);
        int y = 22;
        for (size_t i = 0; i < FailBits().size(); ++i) {
            TShape* lamp = Lamp(group, FailBits()[i].lamp, 10, y);
            if (!kFailLabels[i]) {
                lamp->SetVisible(false);
                continue;
            }
            Text<TLabel>(group, kFailLabels[i], FailBits()[i].label, 30, y - 1);
            y += kLampRow;
        }
    }

    void OthersGroup() {
        TTeGroupBox* group = Group("TeGroupBox5", "Others", 815, 196, 180, 24 + 5 * kLampRow);
        for (size_t i = 0; i < OthersBits().size(); ++i) {
            const int y = 22 + static_cast<int>(i) * kLampRow;
            Lamp(group, OthersBits()[i].lamp, 10, y);
            Text<TTeScrollingLabel>(group, kOthersLabels[i], OthersBits()[i].label, 30, y - 1, 130);
        }
        // Each balance lamp follows one cell; no view shows them.
        for (int cell = 1; cell <= 16; ++cell)
            Lamp(page_, "Bls" + std::to_string(cell), 0, 0)->SetVisible(false);
    }

    void BatteryGroup() {
        TTeGroupBox* group = Group("TeGroupBox4", "Battery State", 815, 324, 180, 140);
        for (size_t i = 0; i < kStateRows.size(); ++i) {
            const int y = 24 + static_cast<int>(i) * 26;
            Lamp(group, kStateRows[i].lamp, 10, y);
            Text<TLabel>(group, kStateRows[i].label, kStateRows[i].caption, 30, y - 1, 70);
        }
        form_.BatPositiveCG = Place(new TGauge(&form_), group, "BatPositiveCG", 126, 20, 16, 8);
        form_.BatPositiveCG->SetShowText(false);
        TGauge* body = Place(new TGauge(&form_), group, "TSBS_BatRunState", 116, 28, 36, 100);
        body->SetKind(gkVerticalBar);
        body->SetForeColor(0x00FF00);
        body->SetBackColor(clWhite);
        form_.TSBS_BatRunState = body;

        form_.PB_SOC = Place(new TTeProgressBar(&form_), page_, "PB_SOC", 0, 0, 100, 16);
        form_.PB_SOC->SetVisible(false);
        form_.L_SOC = Place(new TLabel(&form_), page_, "L_SOC", 0, 0, 60, 16);
        form_.L_SOC->SetVisible(false);
    }

private:
    template <class T>
    T* Place(T* control, TWinControl* parent, std::string_view name, int x, int y, int w, int h) {
        if (!name.empty()) control->SetName(String(name));
        control->SetParent(parent);
        control->SetBounds(x, y, w, h);
        return control;
    }
    template <class T>
    T* Text(TWinControl* parent, std::string_view name, std::string_view text, int x, int y, int w = 160,
            int h = 16) {
        T* control = Place(new T(&form_), parent, name, x, y, w, h);
        control->SetText(String(text));
        return control;
    }
    TShape* Lamp(TWinControl* parent, std::string_view name, int x, int y) {
        auto* lamp = Place(new TShape(&form_), parent, name, x, y, kLampSize, kLampSize);
        lamp->SetShape(stCircle);
        lamp->Pen()->SetStyle(psClear);
        lamp->Brush()->SetColor(clSilver);
        form_.Lamps[String(name)] = lamp;
        return lamp;
    }
    TTeGroupBox* Group(std::string_view name, std::string_view caption, int x, int y, int w, int h) {
        auto* group = Place(new TTeGroupBox(&form_), page_, name, x, y, w, h);
        group->SetCaption(Utf8ToWide(caption));
        return group;
    }

    TMainForm& form_;
    TWinControl* page_;
};

}  // namespace

void TMainForm::BuildTsbsPage() {
    TsbsPageBuilder page(*this, ScrolledPanels[1]);
    page.Grid();
    page.QueryControls();
    page.Legend();
    page.AlarmGroup();
    page.FailGroup();
    page.OthersGroup();
    page.BatteryGroup();
}

void TMainForm::B_QueryClick(TObject*) { SendCommand(ModuleAddress(), CmdQuerySbs); }

std::optional<TelemetryRecord> TMainForm::RxTelemetry() const {
    return DecodeTelemetryReply(ByteSpan(RxFrame.data(), RxFrameLength));
}

void TMainForm::ShowTelemetry() {
    const std::optional<TelemetryRecord> record = RxTelemetry();
    if (!record) {
        ShowInfo("Telemetry reply of a wrong length, not shown!", kFailureColor);
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
    AppendAutoQueryColumn();
    ShowSampledVoltages();
    ShowSampledCurrent();
    DoneTsbs = 1;
}

}  // namespace tarvel
