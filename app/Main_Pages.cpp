// The contents of the main window's tab sheets (TS_TSBS and TS_Info have
// their own files) and the tables of control pointers the features index
// by module. Captions that the start-up translates are set by
// SetupGridsAndText; the ones made here are those the form keeps.

#include <tuple>

#include "app/Main_Pages.h"
#include "platform/base/DateTime.h"
#include "platform/base/Strings.h"
#include "skin/controls/te_controls_memo.h"
#include "skin/extctrls/te_extctrls_datetime.h"

namespace tarvel {
namespace {

enum PanelIndex {
    kRunStatePanel = 0,
    kDataQueryPanel = 2,
    kDbChartPanel = 3,
    kPraSetPanel = 4,
    kSerialNumPanel = 5,
    kTbmsPanel = 6,
    kAdjustPanel = 7,
    kAutoQueryPanel = 9,
    kAdcPanel = 10,
    kMonitorPanel = 11,
};

struct GridShape {
    int cols, rows, fixedCols, fixedRows;
};

TStringGrid* MakeGrid(TMainForm& form, TWinControl* parent, const String& name, TRect bounds,
                      GridShape shape) {
    auto* grid = MakeControl<TTeStringGrid>(&form, parent, name, bounds.left, bounds.top, bounds.Width(),
                                            bounds.Height());
    grid->SetColCount(shape.cols);
    grid->SetRowCount(shape.rows);
    grid->SetFixedCols(shape.fixedCols);
    grid->SetFixedRows(shape.fixedRows);
    return grid;
}

template <class Button = TTeButton>
Button* MakeButton(TMainForm& form, TWinControl* parent, const String& name, int left, int top, int width,
                   const char* caption) {
    auto* button = MakeControl<Button>(&form, parent, name, left, top, width, 28);
    button->SetCaption(Utf8ToWide(caption));
    return button;
}

template <class Box = TTeGroupBox>
Box* MakeGroup(TMainForm& form, TWinControl* parent, const String& name, TRect bounds, const char* caption) {
    auto* group =
        MakeControl<Box>(&form, parent, name, bounds.left, bounds.top, bounds.Width(), bounds.Height());
    group->SetCaption(Utf8ToWide(caption));
    return group;
}

TTeComboBox* MakeCombo(TMainForm& form, TWinControl* parent, const String& name, int left, int top) {
    return MakeControl<TTeComboBox>(&form, parent, name, left, top, 120, 22);
}

TDateTimePicker* MakeDatePicker(TMainForm& form, TWinControl* parent, const String& name, int left, int top) {
    auto* picker = MakeControl<TTeDateTimePicker>(&form, parent, name, left, top, 120, 22);
    picker->SetKind(dtkDate);
    picker->SetDateTime(Now());
    return picker;
}

TTeLabel* MakeLabel(TMainForm& form, TWinControl* parent, const String& name, int left, int top) {
    return MakeControl<TTeLabel>(&form, parent, name, left, top, 100, 16);
}

TRect Box(int left, int top, int width, int height) { return TRect{left, top, left + width, top + height}; }

// The first twelve sheets hold their controls on a scrolled panel; the
// sheets past them hold theirs directly.
TWinControl* PageParent(TMainForm& form, int panel) { return form.ScrolledPanels[panel]; }

// The data-query and chart sheets choose their records alike: a date
// range, a table, a module and one more choice, and a button that runs it.
using RecordSelectors = std::tuple<TDateTimePicker*&, TDateTimePicker*&, TTeComboBox*&, TTeComboBox*&,
                                   TTeComboBox*&, TTeEffectButton*&>;

void MakeRecordSelectors(TMainForm& f, TWinControl* page, const String& prefix, const char* choice,
                         const char* run, RecordSelectors slots) {
    std::get<0>(slots) = MakeDatePicker(f, page, prefix + "BeginDate", 16, 16);
    std::get<1>(slots) = MakeDatePicker(f, page, prefix + "EndDate", 146, 16);
    std::get<2>(slots) = MakeCombo(f, page, prefix + "Table", 276, 16);
    std::get<3>(slots) = MakeCombo(f, page, prefix + "SeqNum", 406, 16);
    std::get<4>(slots) = MakeCombo(f, page, prefix + choice, 536, 16);
    std::get<5>(slots) = MakeButton<TTeEffectButton>(f, page, prefix + run, 676, 13, 90, "查 询");
}

void BuildDataQueryPages(TMainForm& f) {
    TWinControl* query = PageParent(f, kDataQueryPanel);
    MakeRecordSelectors(
        f, query, "DQ_", "OrderMode", "Query",
        std::tie(f.DQ_BeginDate, f.DQ_EndDate, f.DQ_Table, f.DQ_SeqNum, f.DQ_OrderMode, f.DQ_Query));
    f.DQ_Delete = MakeButton<TTeEffectButton>(f, query, "DQ_Delete", 776, 13, 90, "删 除");

    TWinControl* chart = PageParent(f, kDbChartPanel);
    MakeRecordSelectors(
        f, chart, "DBC_", "Curve", "OnceQuery",
        std::tie(f.DBC_BeginDate, f.DBC_EndDate, f.DBC_Table, f.DBC_SeqNum, f.DBC_Curve, f.DBC_OnceQuery));
    f.DBScrollBar = MakeControl<TTeScrollBar>(&f, chart, "DBScrollBar", 16, 560, 900, 17);
    f.DBScrollBar->SetMin(0);
    f.DBScrollBar->SetMax(100);
    f.DBScrollBar->SetPosition(50);
}

void BuildPraSetPage(TMainForm& f) {
    TWinControl* page = PageParent(f, kPraSetPanel);
    f.BatCellBox = MakeGroup(f, page, "BatCellBox", Box(16, 8, 860, 300), "");
    for (int i = 0; i < kModuleCount; ++i) {
        const int left = 16 + (i % 8) * 105;
        const int top = 24 + (i / 8) * 30;
        f.ModuleChecks[i] =
            MakeControl<TTeCheckBox>(&f, f.BatCellBox, "Bat_Cell" + IntToStr(i + 1), left, top, 100, 20);
    }
    f.Bat_Cell_All = MakeControl<TTeCheckBox>(&f, f.BatCellBox, "Bat_Cell_All", 16, 270, 100, 20);

    f.QueryCycBox = MakeGroup(f, page, "QueryCycBox", Box(16, 320, 420, 90), "");
    MakeLabel(f, f.QueryCycBox, "TeLabel16", 16, 28);
    f.PS_Cyc = MakeControl<TTeEdit>(&f, f.QueryCycBox, "PS_Cyc", 130, 24, 80, 21);
    MakeLabel(f, f.QueryCycBox, "TeLabel2", 16, 58);
    f.TSBS_Cyc = MakeControl<TTeEdit>(&f, f.QueryCycBox, "TSBS_Cyc", 130, 54, 80, 21);
    f.TeButton1 = MakeButton(f, page, "TeButton1", 460, 340, 100, "");
    f.TeButton3 = MakeButton(f, page, "TeButton3", 580, 340, 130, "");
}

void BuildTbmsPage(TMainForm& f) {
    TWinControl* page = PageParent(f, kTbmsPanel);
    f.SG_TBMS = MakeGrid(f, page, "SG_TBMS", Box(4, 4, 970, 532), {5, 5, 0, 0});
    f.SG_TBMS->SetDefaultColWidth(160);
    f.B_ReadBMS = MakeButton(f, page, "B_ReadBMS", 8, 544, 100, "");
    // The single module's write stands in no view.
    f.B_WriteBMS = MakeButton(f, page, "B_WriteBMS", 120, 544, 100, "");
    f.B_WriteBMS->SetVisible(false);

    // One module of the parallel system; parallel mode shows it.
    f.TeGroupBox33 = MakeGroup(f, page, "TeGroupBox33", Box(240, 536, 430, 44), "并联单模块设置");
    f.TeGroupBox33->SetVisible(false);
    MakeLabel(f, f.TeGroupBox33, "", 10, 20)->SetText("模块选择：");
    f.TBMS_SerilNum = MakeControl<TTeComboBox>(&f, f.TeGroupBox33, "TBMS_SerilNum", 86, 16, 70, 22);
    f.SingleModule_Get = MakeButton(f, f.TeGroupBox33, "SingleModule_Get", 170, 13, 110, "单模块查询");
    f.SingleModule_Set = MakeButton(f, f.TeGroupBox33, "SingleModule_Set", 290, 13, 110, "单模块修改");
    f.AllModule_Set = MakeButton(f, page, "AllModule_Set", 690, 546, 150, "更改所有模块参数");
    f.AllModule_Set->SetVisible(false);

    // The thresholds grouped by kind; the user never sees them.
    auto* thresholds = MakeGroup(f, page, "", Box(8, 580, 960, 220), "");
    thresholds->SetVisible(false);
    const std::pair<TStringGrid**, std::pair<const char*, int>> grids[] = {
        {&f.SG_Overcurrset, {"SG_Overcurrset", 2}}, {&f.SG_Highcvset, {"SG_Highcvset", 4}},
        {&f.SG_Lowbvset, {"SG_Lowbvset", 4}},       {&f.SG_Lowcvset, {"SG_Lowcvset", 4}},
        {&f.SG_Highbvset, {"SG_Highbvset", 8}},     {&f.SG_Hightempset, {"SG_Hightempset", 8}},
        {&f.SG_Lowtempset, {"SG_Lowtempset", 8}},
    };
    int left = 8;
    for (const auto& [slot, grid] : grids) {
        *slot = MakeGrid(f, thresholds, grid.first, Box(left, 20, 130, 190), {3, grid.second, 0, 0});
        left += 136;
    }
}

void BuildAdjustPage(TMainForm& f) {
    TWinControl* page = PageParent(f, kAdjustPanel);
    // Each grid shows all its cells; the short current grid takes the full
    // one's place when a module of that layout answers.
    f.SG_VKB = MakeGrid(f, page, "SG_VKB", Box(4, 4, 559, 382), {5, 5, 1, 1});
    f.SG_CKB = MakeGrid(f, page, "SG_CKB", Box(567, 4, 397, 410), {3, 5, 1, 1});
    f.SG_CKB1 = MakeGrid(f, page, "SG_CKB1", Box(567, 418, 397, 200), {3, 15, 1, 1});
    f.SG_CKB1->SetDefaultColWidth(110);
    f.SG_CKB1->SetDefaultRowHeight(26);
    f.B_SampleV = MakeButton(f, page, "B_SampleV", 8, 394, 100, "电压采样");
    f.B_CalcVK = MakeButton(f, page, "B_CalcVK", 116, 394, 100, "计算电压K值");
    f.B_SampleC = MakeButton(f, page, "B_SampleC", 224, 394, 100, "电流采样");
    f.B_CalcCKB = MakeButton(f, page, "B_CalcCKB", 332, 394, 100, "计算电流KB值");
    f.B_ReadKB = MakeButton(f, page, "B_ReadKB", 8, 430, 100, "读取KB值");
    f.B_WriteKB = MakeButton(f, page, "B_WriteKB", 116, 430, 100, "写入KB值");
}

void BuildAutoQueryAndAdcPages(TMainForm& f) {
    TWinControl* query = PageParent(f, kAutoQueryPanel);
    f.SG_AutoQueryTitle = MakeGrid(f, query, "SG_AutoQueryTitle", Box(8, 8, 134, 530), {1, 29, 0, 0});
    f.SG_AutoQuery = MakeGrid(f, query, "SG_AutoQuery", Box(144, 8, 840, 530), {2, 29, 0, 0});
    for (TStringGrid* grid : {f.SG_AutoQueryTitle, f.SG_AutoQuery}) {
        grid->SetDefaultColWidth(130);
        grid->SetDefaultRowHeight(18);
    }
    f.CB_AutoSaveClear = MakeControl<TTeCheckBox>(&f, query, "CB_AutoSaveClear", 8, 552, 130, 20);
    MakeControl<TTeScrollingLabel>(&f, query, "TeScrollingLabel6", 150, 554, 100, 16);
    f.E_AutoSaveClear = MakeControl<TTeEdit>(&f, query, "E_AutoSaveClear", 256, 550, 60, 21);

    TWinControl* adc = PageParent(f, kAdcPanel);
    f.SG_VADC = MakeGrid(f, adc, "SG_VADC", Box(8, 8, 947, 128), {5, 5, 1, 0});
    f.SG_CADC = MakeGrid(f, adc, "SG_CADC", Box(8, 150, 332, 66), {2, 2, 1, 0});
    f.SG_TADC = MakeGrid(f, adc, "SG_TADC", Box(8, 232, 854, 66), {2, 2, 1, 0});
    MakeControl<TTeScrollingLabel>(&f, adc, "TeScrollingLabel8", 8, 322, 100, 16);
    f.CB_AutoReadADCInterval = MakeControl<TTeEdit>(&f, adc, "CB_AutoReadADCInterval", 112, 318, 60, 21);
    auto* seconds = MakeLabel(f, adc, "", 178, 322);
    seconds->SetWidth(28);
    seconds->SetText("【S】");
    f.CB_AutoReadADC = MakeControl<TTeCheckBox>(&f, adc, "CB_AutoReadADC", 214, 320, 150, 20);
    f.B_ReadADC = MakeButton(f, adc, "B_ReadADC", 380, 315, 100, "");
}

void BuildMonitorPage(TMainForm& f) {
    TWinControl* page = PageParent(f, kMonitorPanel);
    f.TeEffectGroupBox1 = MakeGroup<TTeEffectGroupBox>(f, page, "TeEffectGroupBox1", Box(8, 8, 596, 140), "");
    f.SG_SoftVersion =
        MakeGrid(f, f.TeEffectGroupBox1, "SG_SoftVersion", Box(10, 22, 559, 108), {2, 2, 0, 0});

    f.TeEffectGroupBox4 =
        MakeGroup<TTeEffectGroupBox>(f, page, "TeEffectGroupBox4", Box(8, 156, 596, 70), "");
    f.E_ReadSerialNum = MakeControl<TTeEdit>(&f, f.TeEffectGroupBox4, "E_ReadSerialNum", 10, 30, 260, 21);
    f.B_ReadSerialNum = MakeButton(f, f.TeEffectGroupBox4, "B_ReadSerialNum", 290, 26, 150, "");

    f.TeGroupBox34 = MakeGroup(f, page, "TeGroupBox34", Box(8, 234, 596, 70), "");
    MakeLabel(f, f.TeGroupBox34, "TeLabel56", 10, 32);
    f.Capdis = MakeControl<TTeEdit>(&f, f.TeGroupBox34, "Capdis", 120, 28, 100, 21);
    f.Getcap = MakeButton(f, f.TeGroupBox34, "Getcap", 240, 24, 80, "");
    f.Setcap = MakeButton(f, f.TeGroupBox34, "Setcap", 330, 24, 80, "");

    f.TeEffectGroupBox5 =
        MakeGroup<TTeEffectGroupBox>(f, page, "TeEffectGroupBox5", Box(612, 8, 362, 170), "");
    f.SG_Life = MakeGrid(f, f.TeEffectGroupBox5, "SG_Life", Box(10, 22, 328, 108), {2, 2, 1, 0});
    f.SG_Life->SetDefaultColWidth(104);
    f.B_SetLife = MakeButton(f, f.TeEffectGroupBox5, "B_SetLife", 10, 134, 100, "");

    f.GB_History = MakeGroup(f, page, "GB_History", Box(480, 186, 440, 170), "运行历史");
    f.GB_History->SetVisible(false);
    f.SG_History = MakeGrid(f, f.GB_History, "SG_History", Box(10, 22, 320, 110), {2, 2, 1, 0});
    f.SG_History->SetDefaultColWidth(104);
    f.B_SetHistory = MakeButton(f, f.GB_History, "B_SetHistory", 10, 134, 100, "修 改");

    // The automatic check and the work mode are features no view shows.
    f.TeGroupBox38 = MakeGroup(f, page, "TeGroupBox38", Box(8, 312, 460, 90), "自动检测");
    f.TeGroupBox38->SetVisible(false);
    for (int i = 0; i < 6; ++i) {
        f.AutoCheckEdits[i] = MakeControl<TTeEdit>(&f, f.TeGroupBox38, "TeEdit" + IntToStr(i + 1),
                                                   10 + (i % 3) * 150, 24 + (i / 3) * 30, 140, 21);
    }
    f.TeGroupBox25 = MakeGroup(f, page, "TeGroupBox25", Box(480, 364, 440, 60), "工作模式");
    f.TeGroupBox25->SetVisible(false);
    f.TeRadioButton1 = MakeControl<TTeRadioButton>(&f, f.TeGroupBox25, "TeRadioButton1", 10, 26, 100, 20);
    f.TeRadioButton2 = MakeControl<TTeRadioButton>(&f, f.TeGroupBox25, "TeRadioButton2", 120, 26, 100, 20);
    f.TeSEdit2 = MakeControl<TTeSEdit>(&f, f.TeGroupBox25, "TeSEdit2", 230, 24, 80, 21);
}

void BuildHisAlarmPage(TMainForm& f) {
    TWinControl* page = f.TS_HisAlarm;
    f.SG_HisAlarm = MakeGrid(f, page, "SG_HisAlarm", Box(8, 8, 980, 520), {29, 300, 1, 1});
    const std::pair<TTeButton**, const char*> buttons[] = {
        {&f.GetHisAlarm, "GetHisAlarm"},     {&f.GetanyHisAlarm, "GetanyHisAlarm"},
        {&f.ClearLookData, "ClearLookData"}, {&f.SaveHisAlarm, "SaveHisAlarm"},
        {&f.ClearHisAlarm, "ClearHisAlarm"},
    };
    int left = 8;
    for (const auto& [slot, name] : buttons) {
        *slot = MakeButton(f, page, name, left, 540, 140, "");
        left += 150;
    }
}

void BuildControlPage(TMainForm& f) {
    TWinControl* page = f.TS_Control;
    auto* switches = MakeGroup(f, page, "", Box(8, 8, 560, 150), "功能关闭");
    for (size_t i = 0; i < f.ProtectSwitches.size(); ++i) {
        const String n = IntToStr(static_cast<int>(i) + 1);
        auto* box =
            MakeControl<TTeCheckBox>(&f, switches, "Protect_OFF" + n, 10 + static_cast<int>(i % 5) * 108,
                                     24 + static_cast<int>(i / 5) * 30, 100, 20);
        box->SetCaption(Utf8ToWide("OFF " + n));
        f.ProtectSwitches[i] = box;
    }
    auto* limits = MakeGroup(f, page, "", Box(8, 170, 560, 70), "充电限流");
    f.limitvalueset = MakeControl<TTeComboBox>(&f, limits, "limitvalueset", 10, 28, 70, 22);
    f.valueset = MakeControl<TTeComboBox>(&f, limits, "valueset", 90, 28, 70, 22);
    f.TeButton8 = MakeButton(f, limits, "TeButton8", 180, 24, 100, "0.1C");
    f.TeButton10 = MakeButton(f, limits, "TeButton10", 290, 24, 100, "0.5C");
}

void BuildExportPages(TMainForm& f) {
    TWinControl* page = f.TeTabSheet1;
    f.TeGroupBox39 = MakeGroup(f, page, "TeGroupBox39", Box(8, 8, 700, 400), "Export Data");
    f.TeButton16 = MakeButton(f, f.TeGroupBox39, "TeButton16", 20, 30, 140, "Get ALL Data");
    f.TeProgressBar1 = MakeControl<TTeProgressBar>(&f, f.TeGroupBox39, "TeProgressBar1", 180, 36, 480, 20);
    f.Label65 = MakeControl<TLabel>(&f, f.TeGroupBox39, "Label65", 20, 76, 640, 30);
    f.Label65->Font()->SetHeight(-16);
    f.Label65->SetColor(clSkyBlue);
    f.Label65->SetTransparent(false);
    f.Label65->SetAutoSize(false);
    f.TeGroupBox41 = MakeGroup(f, f.TeGroupBox39, "TeGroupBox41", Box(20, 120, 640, 110), "Data Statue ");
    const char* steps[] = {"Serial Num", "Capacity",         "Software Version",
                           "TSBS",       "HisAlarm Records", "Daily Records"};
    // A group box hands its own state to its children when it loads; the
    // boxes only show progress, so they sit on a panel of their own.
    auto* holder = MakeControl<TTeTransPanel>(&f, f.TeGroupBox41, "", 2, 16, 636, 92);
    holder->SetBevelOuter(bvNone);
    for (int i = 0; i < 6; ++i) {
        auto* box = MakeControl<TTeCheckBox>(&f, holder, "TeCheckBox" + IntToStr(i + 1), 14 + (i % 3) * 200,
                                             12 + (i / 3) * 36, 180, 20);
        box->SetCaption(Utf8ToWide(steps[i]));
        box->SetEnabled(false);
        f.ExportStepChecks[i] = box;
    }
    f.TeButton20 = MakeButton(f, f.TeGroupBox39, "TeButton20", 20, 250, 140, "Get DateFile");

    TWinControl* daily = f.TeTabSheet2;
    f.TeGroupBox40 = MakeGroup(f, daily, "TeGroupBox40", Box(8, 8, 760, 520), "Daily Records");
    f.RunState = MakeGrid(f, f.TeGroupBox40, "RunState", Box(10, 22, 740, 440), {6, 50, 0, 1});
    f.RunState->SetDefaultColWidth(120);
    f.TeButton17 = MakeButton(f, f.TeGroupBox40, "TeButton17", 10, 476, 100, "Get");
    f.TeButton18 = MakeButton(f, f.TeGroupBox40, "TeButton18", 120, 476, 100, "Save As");
    f.TeButton19 = MakeButton(f, f.TeGroupBox40, "TeButton19", 230, 476, 100, "Clear");
}

void BuildHiddenPages(TMainForm& f) {
    f.SG_SerialNum =
        MakeGrid(f, PageParent(f, kSerialNumPanel), "SG_SerialNum", Box(8, 8, 700, 560), {2, 32, 0, 0});
    f.SG_SerialNum->SetDefaultColWidth(200);
    f.SG_AutoTSBSData = MakeGrid(f, f.TS_AutoTSBSData, "SG_AutoTSBSData", Box(8, 8, 980, 560), {5, 5, 1, 1});
    f.SG_ExtData = MakeGrid(f, f.TS_ExtComm, "SG_ExtData", Box(8, 8, 380, 476), {5, 5, 0, 0});
    auto* info = MakeControl<TTeRichEdit>(&f, f.TS_ExtComm, "RE_ExtInfo", 400, 8, 580, 460);
    info->SetReadOnly(true);
    info->SetScrollBars(ssVertical);
    f.RE_ExtInfo = info;
}

}  // namespace

void TMainForm::BuildPages() {
    // A page taller than the window's view area: the scroll bar reaches the rest.
    ScrolledPanels[kAdjustPanel]->SetHeight(640);
    BuildModuleTiles(*this, ScrolledPanels[kRunStatePanel]);
    BuildDataQueryPages(*this);
    BuildPraSetPage(*this);
    BuildTbmsPage(*this);
    BuildAdjustPage(*this);
    BuildAutoQueryAndAdcPages(*this);
    BuildMonitorPage(*this);
    BuildHisAlarmPage(*this);
    BuildControlPage(*this);
    BuildExportPages(*this);
    BuildHiddenPages(*this);
}

void TMainForm::MapModuleControls() {
    for (int i = 0; i < kModuleCount; ++i) ModuleChecks[i]->Tag = i;
    for (size_t i = 0; i < ProtectSwitches.size(); ++i) ProtectSwitches[i]->Tag = static_cast<int>(i);
}

void TMainForm::MapRemainingControls() {
    for (size_t i = 0; i < ScrolledPanels.size(); ++i) ScrolledPanels[i]->Tag = static_cast<int>(i);

    constexpr TColor kLightEdge = static_cast<TColor>(0x80000016);
    auto resetGauge = [](TGauge* gauge) {
        gauge->SetForeColor(0x00FF00);
        gauge->SetBackColor(0xFFFFFF);
        gauge->SetProgress(0);
    };
    if (TSBS_BatRunState) resetGauge(TSBS_BatRunState);
    for (int i = 0; i < kModuleCount; ++i) {
        resetGauge(RunStateGauges[i]);
        // A tile shows a percentage only once its module has answered.
        RunStateGauges[i]->SetShowText(false);
        RunStateGauges[i]->Tag = i;

        TTeLabel* label = ModuleLabels[i];
        label->Tag = i;
        label->SetAutoSize(false);
        label->SetTransparent(true);
        label->SetLeft(16);
        label->SetTop(21);

        TileEdits[i]->Tag = i;
        TileEdits[i]->SetVisible(false);

        TTeLabel* position = PositionLabels[i];
        position->Tag = i;
        position->SetLeft(24);
        position->SetColor(kLightEdge);
        position->SetVisible(false);

        PosGauges[i]->Tag = i;
        PosGauges[i]->SetLeft(24);
        PosGauges[i]->SetBackColor(kLightEdge);

        for (const auto& [labels, caption] :
             {std::pair{&VoltageLabels, "V "}, std::pair{&CurrentLabels, "I "}}) {
            TTeLabel* text = (*labels)[i];
            text->Tag = i;
            text->SetLeft(5);
            text->SetWidth(60);
            text->SetText(caption);
        }
    }

    // A label on a group shows the group's face: the skin paints groups
    // white, and a label painting the window colour would sit in a grey box.
    for (int i = 0; i < ComponentCount(); ++i) {
        auto* label = dynamic_cast<TLabel*>(Components(i));
        if (!label || !label->ParentColor()) continue;
        if (dynamic_cast<TTeGroupBox*>(label->Parent()) || dynamic_cast<TGroupBox*>(label->Parent()))
            label->SetTransparent(true);
    }
}

}  // namespace tarvel
