// What the main window shows in each edition and mode, the password switch
// between the user and the engineering view, the switch between one module
// and a parallel system, and the product variant kept in "Version.dat".

#include <optional>
#include <utility>
#include <vector>

#include "app/Main.h"
#include "platform/base/Paths.h"
#include "platform/classlib/Application.h"
#include "platform/classlib/Boxes.h"
#include "platform/system/RecordFile.h"
#include "platform/winsys/MessageApi.h"
#include "platform/winsys/PaintApi.h"

namespace tarvel {
namespace {

// One column of the view tables per view operation.
enum ViewColumn { kStart, kEngineering, kUserSingle, kUserParallel, kParallel, kSingleAgain };

// Cells, one letter per column in the order above: 'S' shows, 'H' hides,
// '-' keeps what the view before left.
struct TabRow {
    TTeTabSheet* TMainForm::*sheet;
    const char* shown;
};

const TabRow kTabRows[] = {
    {&TMainForm::TS_RunState, "HHH-SH"},     {&TMainForm::TS_TSBS, "SS----"},
    {&TMainForm::TS_DataQuery, "HH----"},    {&TMainForm::TS_DBChart, "HH----"},
    {&TMainForm::TS_PraSet, "HHH-SH"},       {&TMainForm::TS_SerialNum, "HHH-HH"},
    {&TMainForm::TS_TBMS, "SSSSHS"},         {&TMainForm::TS_Adjust, "HSHHHH"},
    {&TMainForm::TS_Info, "HSHHHH"},         {&TMainForm::TS_AutoQuery, "HHHHHH"},
    {&TMainForm::TS_TADC, "HSHHHH"},         {&TMainForm::TS_HisAlarm, "S--HHS"},
    {&TMainForm::TS_AutoTSBSData, "H--HHH"}, {&TMainForm::TS_Control, "H--HHH"},
    {&TMainForm::TeTabSheet1, "S---HS"},     {&TMainForm::TeTabSheet2, "S---HS"},
    {&TMainForm::TS_Monitor, "SSSHHS"},      {&TMainForm::TS_ExtComm, "HHHHHH"},
};

// Controls and menu items by component name, so a view never depends on who
// made them; one not made (yet) is passed over. Visible: 'S'/'H'; enabled:
// 'E'/'D'; '-' leaves it.
struct ControlRow {
    const char* name;
    const char* visible;
    const char* enabled;
};

const ControlRow kControlRows[] = {
    // tool bar and menu
    {"TB_LOG", "SSSS--", "E---DE"},
    {"TB_SingleConvert", "------", "-DEE--"},
    {"TB_Load", "SSSSHS", "------"},
    {"TB_Save", "SSSSHS", "------"},
    {"TeScrollingLabel2", "SSSS--", "------"},
    {"CB_ModuleAddr", "SSSS--", "------"},
    {"PC_All_Query", "H---SH", "------"},
    {"M_ConvertEdition", "----HS", "------"},
    {"CustomItem2", "----HS", "------"},
    {"CustomItem3", "----HS", "------"},
    // telemetry, parameter and monitor tabs
    {"Detailinfo", "HSHHHH", "------"},
    {"TeEffectGroupBox5", "SSSS--", "------"},
    {"TeGroupBox33", "H---SH", "------"},
    {"AllModule_Set", "H---SH", "------"},
    {"B_ReadBMS", "----HS", "------"},
    {"B_WriteBMS", "----HH", "------"},
    {"TSBS_SeqNum", "H---SH", "D---ED"},
    {"TeLabel1", "H---SH", "------"},
    {"TSBS_OnceQuery", "H---SH", "------"},
    {"TSBS_CycQuery", "H---SH", "------"},
    {"B_Query", "S---HS", "------"},
    {"TeGroupBox15", "S---HS", "------"},
    // on groups and tabs no view shows
    {"B_SetHistory", "HSHH--", "------"},
    {"CB_SerailQuery", "HSHH--", "------"},
    {"B_QuerySerialNum", "HSHH--", "------"},
    {"CB_SerialNumBox", "HSHH--", "------"},
    {"B_OpenChg", "------", "DEDD--"},
    {"B_CloseChg", "------", "DEDD--"},
    {"B_OpenDis", "------", "DEDD--"},
    {"B_CloseDis", "------", "DEDD--"},
    {"B_Checkdistime", "------", "-E----"},
    {"B_Setdistime", "------", "DEDD--"},
    {"Openchlimit", "------", "DEDD--"},
    {"Closechlimit", "------", "DEDD--"},
    {"settime", "------", "D-DD--"},
    {"Checkfunction", "------", "D-DD--"},
    {"Begingetsbs", "------", "D-DD--"},
    {"Endgetsbs", "------", "D-DD--"},
    {"settime1", "------", "D-DD--"},
    {"Checkfunction1", "------", "D-DD--"},
    {"Begingetsbs1", "------", "D-DD--"},
    {"Endgetsbs1", "------", "D-DD--"},
    {"DQ_SeqNum", "------", "----ED"},
    {"DBC_SeqNum", "------", "----ED"},
    {"DQ_Table", "------", "----ED"},
    {"DBC_Table", "------", "----ED"},
};

// Texts, glyphs, places and lists one column sets; a field not given is
// left. The text is a caption or an edit's text; Clear empties a combo box,
// list and text.
struct ControlValue {
    const char* name;
    ViewColumn column;
    const char* text = nullptr;
    int image = -1;
    std::optional<TPoint> at;
    std::vector<String> items;
    bool clear = false;

    ControlValue(const char* n, ViewColumn c) : name(n), column(c) {}
    ControlValue Text(const char* t) && {
        text = t;
        return std::move(*this);
    }
    ControlValue Image(int i) && {
        image = i;
        return std::move(*this);
    }
    ControlValue At(int left, int top) && {
        at = TPoint{left, top};
        return std::move(*this);
    }
    ControlValue Items(std::vector<String> list) && {
        items = std::move(list);
        return std::move(*this);
    }
    ControlValue Clear() && {
        clear = true;
        return std::move(*this);
    }
};

using V = ControlValue;
const std::vector<ControlValue> kControlValues = {
    V("TB_LOG", kStart).Text("Login"),
    V("TB_LOG", kParallel).Text("Login").Image(7),
    V("TB_SingleConvert", kStart).Text("Module"),
    V("TB_SingleConvert", kParallel).Text("NoModule").Image(11),
    V("TB_SingleConvert", kSingleAgain).Text("Module").Image(6),
    V("TSBS_SeqNum", kStart).Text(""),
    V("TSBS_SeqNum", kParallel).At(96, 432),
    V("TSBS_SeqNum", kSingleAgain).Text(""),
    V("TeLabel1", kParallel).At(14, 434),
    V("B_Query", kStart).At(96, 425),
    V("B_Query", kSingleAgain).At(96, 425),
    V("TeGroupBox15", kStart).At(96, 469),
    V("TeGroupBox15", kSingleAgain).At(96, 469),
    V("TeLabel7", kStart).At(14, 434),
    V("TeLabel7", kParallel).At(14, 482),
    V("TeLabel7", kSingleAgain).At(14, 434),
    V("TeLabel31", kStart).At(8, 482),
    V("TeLabel31", kParallel).At(8, 525),
    V("TeLabel31", kSingleAgain).At(8, 482),
    V("TBMS_SerilNum", kStart).Text(""),
    V("TBMS_SerilNum", kSingleAgain).Text(""),
    V("DQ_SeqNum", kParallel).Text("All"),
    V("DQ_SeqNum", kSingleAgain).Clear(),
    V("DBC_SeqNum", kSingleAgain).Clear(),
    V("DQ_Table", kParallel).Items({"SingleModule", "MoreModule"}).Text("SingleModule"),
    V("DQ_Table", kSingleAgain).Text("NoModule"),
    V("DBC_Table", kParallel).Items({"SingleModule", "MoreModule"}).Text("MoreModule"),
    V("DBC_Table", kSingleAgain).Text("NoModule"),
};

constexpr const char* kVersionFile = "Version.dat";
constexpr const char* kEditionPassword = "7309";

TComponent* FindOwnedComponent(const TComponent* root, const String& name) {
    if (TComponent* found = root->FindComponent(name)) return found;
    for (int i = 0; i < root->ComponentCount(); ++i)
        if (TComponent* found = FindOwnedComponent(root->Components(i), name)) return found;
    return nullptr;
}

// Controls, the class library's menu items and the skinned menu's items all
// take a visible and an enabled flag.
void SetFlag(TComponent* component, char cell, char on, char off, bool visible) {
    if (cell != on && cell != off) return;
    const bool value = cell == on;
    if (auto* control = dynamic_cast<TControl*>(component))
        visible ? control->SetVisible(value) : control->SetEnabled(value);
    else if (auto* item = dynamic_cast<TMenuItem*>(component))
        visible ? item->SetVisible(value) : item->SetEnabled(value);
    else if (auto* teItem = dynamic_cast<TTeItem*>(component))
        visible ? teItem->SetVisible(value) : teItem->SetEnabled(value);
}

void SetValue(TControl* control, const ControlValue& value) {
    auto* combo = dynamic_cast<TTeComboBox*>(control);
    if (value.clear && combo) combo->Clear();
    if (!value.items.empty() && combo && combo->GetItems()) {
        combo->GetItems()->Clear();
        for (const String& item : value.items) combo->GetItems()->Add(item);
    }
    if (value.text) control->SetText(value.text);
    if (value.image >= 0)
        if (auto* button = dynamic_cast<TTeSpeedButton*>(control)) button->SetImageIndex(value.image);
    if (value.at) control->SetBounds(value.at->x, value.at->y, control->Width(), control->Height());
}

void ApplyViewColumn(TMainForm& form, ViewColumn column) {
    for (const TabRow& row : kTabRows) {
        TTeTabSheet* sheet = form.*row.sheet;
        const char cell = row.shown[column];
        if (sheet && cell != '-') sheet->SetPageVisible(cell == 'S');
    }
    for (const ControlRow& row : kControlRows) {
        if (row.visible[column] == '-' && row.enabled[column] == '-') continue;
        TComponent* component = FindOwnedComponent(&form, row.name);
        if (!component) continue;
        SetFlag(component, row.visible[column], 'S', 'H', true);
        SetFlag(component, row.enabled[column], 'E', 'D', false);
    }
    for (const ControlValue& value : kControlValues) {
        if (value.column != column) continue;
        if (auto* control = dynamic_cast<TControl*>(FindOwnedComponent(&form, value.name)))
            SetValue(control, value);
    }
}

bool IsChecked(const TMainForm& form, const char* name) {
    auto* box = dynamic_cast<TTeCheckBox*>(FindOwnedComponent(&form, name));
    return box && box->Checked();
}

// The edition and the variant stay put while a poll or a query runs.
bool RefusedWhileQuerying(TMainForm& form) {
    if (!IsChecked(form, "PC_All_Query") && !IsChecked(form, "TSBS_CycQuery") &&
        !IsChecked(form, "CB_AutoQuery"))
        return false;
    form.ShowInfo("Please turn off automatic query frist!", kFailureColor);
    return true;
}

// Missing record files are made empty first, as the tool always did, with
// a box that says so.
void CreateMissingVersionFile(const char* box) {
    if (FileExists(kVersionFile)) return;
    SaveFileText(kVersionFile, "");
    Application->MessageBox(box);
}

// The new view is painted at once; presses made while the switch kept the
// window busy were aimed at the view before it: they are dropped, so a
// second click on the switch is not a second switch, asked of a mode never
// seen.
void PaintAndDropClicksMadeMeanwhile(TMainForm& form) {
    if (form.HandleAllocated()) UpdateWindow(form.Handle());
    MSG msg;
    while (PeekMessage(&msg, nullptr, WM_LBUTTONDOWN, WM_MBUTTONDBLCLK, PM_REMOVE)) {
    }
}

}  // namespace

void TMainForm::ShowUserView() { ApplyViewColumn(*this, kStart); }
void TMainForm::ShowEngineeringView() { ApplyViewColumn(*this, kEngineering); }
void TMainForm::ShowSingleUserView() { ApplyViewColumn(*this, kUserSingle); }
void TMainForm::ShowParallelUserView() { ApplyViewColumn(*this, kUserParallel); }
void TMainForm::ShowParallelParameterView() { ApplyViewColumn(*this, kParallel); }
void TMainForm::ShowSingleView() { ApplyViewColumn(*this, kSingleAgain); }

void TMainForm::EditionSwitchClick(TObject*) {
    if (RefusedWhileQuerying(*this)) return;
    if (PasswordBox("Convertion:", "Input Password:") != kEditionPassword) return;
    EngineeringEdition = EngineeringEdition ? 0 : 1;
    if (EngineeringEdition)
        ShowEngineeringView();
    else if (MultiModuleMode)
        ShowParallelUserView();
    else
        ShowSingleUserView();
}

void TMainForm::ModeSwitchClick(TObject*) {
    if (!MultiModuleMode) {
        MultiModuleMode = 1;
        ShowParallelParameterView();
        if (PC_All) PC_All->SetActivePage(TS_PraSet);
        PaintAndDropClicksMadeMeanwhile(*this);
        return;
    }
    if (Application->MessageBox("Does it disconnect other modules?", "", MB_YESNO | MB_ICONINFORMATION) !=
        IDYES)
        return;
    MultiModuleMode = 0;
    LoggedIn = 0;
    ShowSingleView();
    if (PC_All) PC_All->SetActivePage(TS_TSBS);
    PaintAndDropClicksMadeMeanwhile(*this);
}

void TMainForm::VariantClick(TObject* sender) {
    auto* item = dynamic_cast<TComponent*>(sender);
    if (!item || (!SameText(item->Name(), "CustomItem2") && !SameText(item->Name(), "CustomItem3"))) return;
    if (RefusedWhileQuerying(*this)) return;
    ProductVariant = SameText(item->Name(), "CustomItem2") ? 1 : 0;
    WriteVersionFile();
    // It also shows the variant's label and limit buttons.
    LoadCurrentCalibrationTable();
}

void TMainForm::SG_CKB1Click(TObject*) {
    if (!SG_CKB1) return;
    TGridOptions options = SG_CKB1->Options();
    if (SG_CKB1->Row() != 0 && SG_CKB1->Col() != 0)
        options.Include(goEditing);
    else
        options.Exclude(goEditing);
    SG_CKB1->SetOptions(options);
}

void TMainForm::ReadVersionFile() {
    CreateMissingVersionFile("No Version.dat for read！");
    uint8_t variant = 0;
    const int64_t read = ReadFileAt(kVersionFile, 0, &variant, 1);
    if (read == 1) ProductVariant = variant;
    // Something that is no file (a pipe, a device) stands in its place.
    if (read < 0 && FileExists(kVersionFile))
        Application->MessageBox(String(kVersionFile) + " cannot be read!");
}

bool TMainForm::WriteVersionFile() {
    CreateMissingVersionFile("No Version.dat for write!");
    const auto variant = static_cast<uint8_t>(ProductVariant);
    if (WriteFileAt(kVersionFile, 0, &variant, 1)) return true;
    // Unsaved, the variant would silently fall back at the next start.
    Application->MessageBox(String(kVersionFile) + " cannot be written!");
    return false;
}

}  // namespace tarvel
