#include "app/Main.h"

namespace tarvel {
namespace {

template <class T>
T* Make(TComponent* owner, TWinControl* parent, const char* name) {
    auto* control = new T(owner);
    control->SetName(name);
    control->SetParent(parent);
    return control;
}

}  // namespace

void TMainForm::BuildFrame() {
    SetName("MainForm");
    SetBounds(0, 0, 1024, 740);

    TeStatusBar1 = Make<TTeStatusBar>(this, this, "TeStatusBar1");
    TeStatusBar1->SetAlign(alBottom);
    L_Info = Make<TLabel>(this, this, "L_Info");
    L_Info->SetAlign(alBottom);

    PC_All = Make<TTePageControl>(this, this, "PC_All");
    PC_All->SetAlign(alClient);
    const std::pair<TTeTabSheet**, const char*> sheets[] = {
        {&TS_RunState, "TS_RunState"},   {&TS_TSBS, "TS_TSBS"},
        {&TS_DataQuery, "TS_DataQuery"}, {&TS_DBChart, "TS_DBChart"},
        {&TS_PraSet, "TS_PraSet"},       {&TS_SerialNum, "TS_SerialNum"},
        {&TS_TBMS, "TS_TBMS"},           {&TS_Adjust, "TS_Adjust"},
        {&TS_Info, "TS_Info"},           {&TS_AutoQuery, "TS_AutoQuery"},
        {&TS_TADC, "TS_TADC"},           {&TS_Monitor, "TS_Monitor"},
        {&TS_HisAlarm, "TS_HisAlarm"},   {&TS_AutoTSBSData, "TS_AutoTSBSData"},
        {&TS_Control, "TS_Control"},     {&TeTabSheet1, "TeTabSheet1"},
        {&TeTabSheet2, "TeTabSheet2"},   {&TS_ExtComm, "TS_ExtComm"},
    };
    for (const auto& [slot, name] : sheets) {
        auto* sheet = new TTeTabSheet(this);
        sheet->SetName(name);
        sheet->SetTabControl(PC_All);
        *slot = sheet;
    }
    TTeTabSheet* const scrolled[] = {TS_RunState, TS_TSBS,      TS_DataQuery, TS_DBChart,
                                     TS_PraSet,   TS_SerialNum, TS_TBMS,      TS_Adjust,
                                     TS_Info,     TS_AutoQuery, TS_TADC,      TS_Monitor};
    for (size_t i = 0; i < ScrolledPanels.size(); ++i) {
        const String name = "LenGroupBox" + std::to_string(i + 1);
        auto* panel = Make<TTeGroupBox>(this, scrolled[i], name.c_str());
        panel->SetBounds(0, 0, 1000, 600);
        ScrolledPanels[i] = panel;
    }
}

void TMainForm::SetupViewAndFolders() {}
void TMainForm::LoadSerialNumberList() {}
void TMainForm::LoadModuleSelection() {}
void TMainForm::LoadCurrentCalibrationTable() {}
void TMainForm::LoadAutoCheckValues() {}
void TMainForm::ScrollPanels() {}
void TMainForm::M_HelpClick(TObject*) {}

}  // namespace tarvel
