// The start-up's grid set-up and English captions. The form data carries
// Chinese captions and rough grid sizes; this gives the grids their final
// sizes, units and titles and the controls their English captions, once.
// Everything is found by component name, so a control another file makes
// gets its caption too and a name that does not exist is skipped.

#include <span>

#include "adjust/InitialValues.h"
#include "app/Main_Pages.h"
#include "app/WindowKit.h"
#include "captions/GridTitles.h"
#include "platform/base/Strings.h"
#include "skin/forms/te_forms_menus.h"

namespace tarvel {
namespace {

struct ColumnWidth {
    int col, width;
};

struct GridLayout {
    const char* grid;
    int cols, rows;
    int defaultColWidth;  // 0 keeps the form's
    int rowHeight;
    std::span<const ColumnWidth> widths;
};

constexpr ColumnWidth kTsbsWidths[] = {{0, 90}, {3, 90}, {2, 60}, {5, 60}};
constexpr ColumnWidth kTbmsWidths[] = {{0, 230}, {3, 230}, {1, 150}, {4, 150}, {2, 100}, {5, 100}};
constexpr ColumnWidth kAdcWidths[] = {{0, 105}};
constexpr ColumnWidth kCkbWidths[] = {{0, 170}};
constexpr ColumnWidth kVersionWidths[] = {{0, 160}, {1, 200}, {2, 100}, {3, 90}};
constexpr ColumnWidth kHistoryWidths[] = {{0, 160}, {1, 60}, {2, 90}};
constexpr ColumnWidth kLifeWidths[] = {{0, 160}, {1, 100}, {2, 50}, {3, 10}};

constexpr GridLayout kFirstLayouts[] = {
    {"SG_TSBS", 6, 19, 100, 20, kTsbsWidths}, {"SG_TBMS", 6, 24, 0, 21, kTbmsWidths},
    {"SG_VKB", 5, 18, 110, 20, {}},           {"SG_CKB", 3, 21, 110, 18, kCkbWidths},
    {"SG_ExtData", 3, 18, 120, 25, {}},
};

constexpr GridLayout kLaterLayouts[] = {
    {"SG_VADC", 10, 4, 92, 30, kAdcWidths},      {"SG_CADC", 3, 2, 110, 30, kAdcWidths},
    {"SG_TADC", 9, 2, 92, 30, kAdcWidths},       {"SG_SoftVersion", 4, 4, 0, 25, kVersionWidths},
    {"SG_History", 3, 4, 0, 25, kHistoryWidths}, {"SG_Life", 4, 4, 0, 25, kLifeWidths},
};

// One text down rows first..last of a column.
struct UnitRun {
    const char* grid;
    int col, firstRow, lastRow;
    const char* text;
};

constexpr UnitRun kThresholdUnits[] = {
    {"SG_Overcurrset", 2, 0, 1, "             【mA】"}, {"SG_Highcvset", 2, 0, 3, "             【mV】"},
    {"SG_Lowbvset", 2, 0, 3, "             【mV】"},    {"SG_Lowcvset", 2, 0, 3, "             【mV】"},
    {"SG_Highbvset", 2, 0, 7, "             【mV】"},   {"SG_Hightempset", 2, 0, 7, "             【℃】"},
    {"SG_Lowtempset", 2, 0, 7, "             【℃】"},
};

// Column 5 of SG_TSBS: rows 8 to 13 hold state words with no unit.
constexpr UnitRun kTsbsTbmsUnits[] = {
    {"SG_TSBS", 2, 0, 17, "mV"},     {"SG_TSBS", 2, 18, 18, "mA"}, {"SG_TSBS", 5, 0, 7, "Degree"},
    {"SG_TSBS", 5, 9, 14, ""},       {"SG_TSBS", 5, 14, 15, "%"},  {"SG_TSBS", 5, 16, 16, "Times"},
    {"SG_TSBS", 5, 17, 17, "AH"},    {"SG_TBMS", 2, 0, 23, "mV"},  {"SG_TBMS", 5, 0, 5, "mA"},
    {"SG_TBMS", 5, 6, 23, "Degree"},
};

constexpr UnitRun kExtDataUnits[] = {{"SG_ExtData", 2, 17, 17, "【mA】"}};

constexpr UnitRun kMonitorUnits[] = {
    {"SG_History", 2, 0, 1, "【min】"}, {"SG_History", 2, 2, 2, "【Times】"}, {"SG_Life", 2, 0, 1, "[%]"},
    {"SG_Life", 2, 2, 2, "[Times]"},    {"SG_Life", 2, 3, 3, "[AH]"},
};

struct Caption {
    const char* control;
    const char* text;
};

// The captions before the module check boxes get theirs; the texts are
// exact, blanks included.
constexpr Caption kCaptionsFirst[] = {
    {"M_File", "   File Option(&F)   "},
    {"M_Exit", "Exit(&X)"},
    {"M_COMSettings", " Port Setting(&S) "},
    {"M_SetCOM", "Parameter Setting(&S)"},
    {"M_About", "About Project(&A)"},
    {"M_Help", "About(&A)"},
    {"M_ConvertEdition", "Convert Version(&C) "},
    {"M_Versionset", "Version Exchange(&E)"},
    {"PC_All_Query", "Execute"},
    {"TB_Load", "Load Data"},
    {"TB_Save", "Save Data"},
    {"TB_Exit", "Exit"},
    {"TeScrollingLabel1", "Hint:"},
    {"TeScrollingLabel2", "Module Address"},
    {"Version", "Current Version:"},
    {"TB_COMSwitch", "Open Port"},
    {"TB_LOG", "Login"},
    {"TB_SingleConvert", "Module"},
    {"TS_RunState", " Run State "},
    {"TS_TSBS", " TSBS Query "},
    {"TS_DataQuery", " Data Query "},
    {"TS_DBChart", " Data Chart "},
    {"TS_PraSet", " Parameter Setting "},
    {"TS_SerialNum", " Serial Number "},
    {"TS_TBMS", " TBMS Parameter "},
    {"TS_Adjust", " Calibrate Module "},
    {"TS_Info", " Information "},
    {"TS_AutoQuery", " Auto Query "},
    {"TS_TADC", " ADC Parameter "},
    {"TS_Monitor", " System Monitor "},
    {"TS_HisAlarm", " History Alarm "},
    {"TeTabSheet1", "Export System Data"},
    {"TeTabSheet2", "Daily Records"},
    {"GetHisAlarm", "Get all Records"},
    {"GetanyHisAlarm", "Get Recent Records"},
    {"ClearLookData", "Clear Records "},
    {"SaveHisAlarm", "Save all Records"},
    {"ClearHisAlarm", "Clear MCU Records"},
    {"RunColor", "Meaning Of Color For Runing State Of Battery:"},
    {"TeLabel8", "Charge:"},
    {"TeLabel9", "Discharge:"},
    {"TeLabel10", "     Full:"},
    {"TeLabel12", "     Idle:"},
    {"TeLabel11", " Alarm:"},
    {"TeLabel13", "       Prot/Fail:"},
    {"TeLabel14", " Comm Fail:"},
    {"RunColor2", "Meaning Of Color For Runing State Of Battery:"},
    {"TeLabel25", "Charge:"},
    {"TeLabel30", "Discharge:"},
    {"TeLabel32", "     Full:"},
    {"TeLabel34", "     Idle:"},
    {"TeLabel33", " Alarm:"},
    {"TeLabel35", "       Prot/Fail:"},
    {"TeLabel36", " Comm Fail:"},
    {"TeLabel1", "Serial Number:"},
    {"TeLabel7", "Query Once:"},
    {"TeLabel31", "Automatic Query:"},
    {"TSBS_OnceQuery", "Execute"},
    {"B_Query", "Execute"},
    {"TSBS_CycQuery", "Execute"},
    {"CB_AutoQuery", "Execute"},
    {"TeScrollingLabel3", "Period Setting:"},
    {"TeGroupBox3", "Alarm/Prot State"},
    {"Label1", "Pack Volt Over"},
    {"Label2", "Module Volt Over"},
    {"Label3", "Cell Volt Over"},
    {"Label46", "Pack Volt Low"},
    {"Label4", "Module Volt Low"},
    {"Label7", "Cell Volt Low"},
    {"Label8", "Chg.Current Over"},
    {"Label5", "Dischg.Current Over"},
    {"Label6", "Chg.Temp Over"},
    {"Label16", "Dischg.Temp Over"},
    {"Label15", "Chg.Temp Low"},
    {"Label14", "Dischg.Temp Low"},
    {"Label40", "SOC Low"},
    {"Label47", "Chg Short Circuit"},
    {"Label38", "Dischg Short Circuit"},
    {"Label39", "Reverse Connection "},
    {"Label53", "End Life"},
    {"Label56", "Lew.Temp over Chg.Curr 0"},
    {"Label57", "Lew.Temp over Chg.Curr 1"},
    {"Label60", "Lew.Temp over Chg.Volt"},
    {"Label61", "Chg Short Circuit"},
    {"TeButton3", "Auto GetAddress"},
    {"TeGroupBox1", "Fail State"},
    {"Label12", "Volt.Sensor Fail"},
    {"Label10", "Temp.Sensor Fail"},
    {"Label45", "Chg.Tube Fail"},
    {"Label41", "Dischg.Tube Fail"},
    {"Label13", "Cell Broken"},
    {"Label33", "Heater Fail"},
    {"Label37", "Switch Of Panel Off"},
    {"Label52", "Chg.Circuit Fail"},
    {"TeGroupBox5", "Others"},
    {"TeScrollingLabel7", "Heater"},
    {"TeScrollingLabel59", "Full.Count"},
    {"TeScrollingLabel60", "Volt.Cal"},
    {"TeScrollingLabel61", "Cur.Cal"},
    {"TeScrollingLabel14", "Chg.Cur"},
    {"TeGroupBox4", "Battery State"},
    {"Label21", "Charge"},
    {"Label22", "Discharge"},
    {"Label9", "Full"},
    {"Label23", "Idle"},
    {"DQ_Query", "Query"},
    {"DQ_Delete", "Delete"},
    {"DBC_OnceQuery", "Execute"},
    {"BatCellBox", "Battery Module Option:"},
};

// The captions after the module check boxes.
constexpr Caption kCaptionsLast[] = {
    {"QueryCycBox", "Module Period Setting:"},
    {"TeLabel16", " More Module:"},
    {"TeLabel2", "Single Module:"},
    {"TeButton1", "Confirm"},
    {"B_ReadBMS", "Query"},
    {"B_WriteBMS", "Modify"},
    {"CB_AutoSaveClear", "Save And Clear"},
    {"TeScrollingLabel6", "Record Counts:"},
    {"TeScrollingLabel8", "Period Setting:"},
    {"CB_AutoReadADC", "Query By Automatic"},
    {"B_ReadADC", "Query ADC"},
};

constexpr const char* kLimitCurrents[] = {"5", "10", "15", "20", "25", "30", "35", "40"};
constexpr const char* kLimitValues[] = {"5", "10"};

constexpr const char* kStatusNotice = "Tarvel BMS host software for battery modules";

TStringGrid* FindGrid(TComponent& form, std::string_view name) {
    return dynamic_cast<TStringGrid*>(form.FindComponent(name));
}

void ApplyLayouts(TComponent& form, std::span<const GridLayout> layouts) {
    for (const GridLayout& layout : layouts) {
        TStringGrid* grid = FindGrid(form, layout.grid);
        if (!grid) continue;
        grid->SetColCount(layout.cols);
        grid->SetRowCount(layout.rows);
        // A new default width resets the columns' own widths, so it comes first.
        if (layout.defaultColWidth > 0) grid->SetDefaultColWidth(layout.defaultColWidth);
        grid->SetDefaultRowHeight(layout.rowHeight);
        for (const ColumnWidth& width : layout.widths) grid->SetColWidths(width.col, width.width);
    }
}

void ApplyUnits(TComponent& form, std::span<const UnitRun> runs) {
    for (const UnitRun& run : runs) {
        TStringGrid* grid = FindGrid(form, run.grid);
        if (!grid) continue;
        for (int row = run.firstRow; row <= run.lastRow; ++row) grid->SetCells(run.col, row, run.text);
    }
}

void ApplyCaptions(TComponent& form, std::span<const Caption> captions) {
    for (const Caption& caption : captions)
        SetComponentCaption(form.FindComponent(caption.control), caption.text);
}

void AppendItems(TComponent& form, std::string_view name, std::span<const char* const> items) {
    auto* box = dynamic_cast<TTeComboBox*>(form.FindComponent(name));
    if (!box || !box->GetItems()) return;
    for (const char* item : items) box->GetItems()->Add(item);
}

// Points 7 to 11 of the 3U current table, whatever the variant: the
// variant's own table comes later and, for "BMS", leaves these rows alone.
void WriteThreeUPoints(TComponent& form) {
    for (const ReferenceCurrentCell& cell :
         ReferenceCurrents(AdjustIniReader(), "3UCurrentAdjust", 7, 11, 10)) {
        if (TStringGrid* grid = FindGrid(form, cell.grid))
            grid->SetCells(cell.cell.column, cell.cell.row, cell.cell.text);
    }
}

void ShowStatusNotice(TComponent& form) {
    auto* bar = dynamic_cast<TTeStatusBar*>(form.FindComponent("TeStatusBar1"));
    if (!bar || bar->Panels()->Count() < 3) return;
    bar->Panels()->GetItem(2)->SetText(Utf8ToWide(kStatusNotice));
}

}  // namespace

void SetComponentCaption(TComponent* component, const String& caption) {
    if (auto* item = dynamic_cast<TMenuItem*>(component)) {
        item->SetCaption(caption);
    } else if (auto* teItem = dynamic_cast<TTeItem*>(component)) {
        teItem->SetCaption(Utf8ToWide(caption));
    } else if (auto* control = dynamic_cast<TControl*>(component)) {
        // Buttons, check boxes, labels, speed buttons and sheets take their
        // caption from the control's text; a group box keeps its own.
        control->SetText(caption);
        if (auto* group = dynamic_cast<TTeGroupBox*>(control)) group->SetCaption(Utf8ToWide(caption));
    }
}

void TMainForm::SetupGridsAndText() {
    ApplyLayouts(*this, kFirstLayouts);
    if (auto* variant = dynamic_cast<TControl*>(FindComponent("Version1"))) {
        variant->SetWidth(90);
        variant->SetHeight(25);
    }
    ApplyUnits(*this, kThresholdUnits);
    ApplyUnits(*this, kTsbsTbmsUnits);
    AppendItems(*this, "limitvalueset", kLimitCurrents);
    AppendItems(*this, "valueset", kLimitValues);
    WriteThreeUPoints(*this);
    ApplyUnits(*this, kExtDataUnits);
    ApplyLayouts(*this, kLaterLayouts);
    ApplyUnits(*this, kMonitorUnits);

    SetEnglishGridTitles(*this);
    // The history grid's columns were sized to its form titles, before these came.
    if (SG_HisAlarm) WidenColumnsToTexts(*SG_HisAlarm, 0, 0);

    SetComponentCaption(FindComponent("TB_LanguageConvert"), "中文");
    if (auto* language = dynamic_cast<TTeSpeedButton*>(FindComponent("TB_LanguageConvert")))
        language->SetImageIndex(11);
    ShowStatusNotice(*this);

    ApplyCaptions(*this, kCaptionsFirst);
    for (int i = 0; i < kModuleCount; ++i) {
        if (ModuleChecks[i]) ModuleChecks[i]->SetCaption(Utf8ToWide("Module [" + IntToStr(i + 1) + "]"));
    }
    if (Bat_Cell_All) Bat_Cell_All->SetCaption(u"ALL");
    ApplyCaptions(*this, kCaptionsLast);

    if (PC_All && TeTabSheet1) PC_All->SetActivePage(TeTabSheet1);
}

}  // namespace tarvel
