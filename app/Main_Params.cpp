// The protection-parameter tab: the read and the write of the 48
// parameters, the grid's editing rules and painting, its popup items, the
// files behind the tool bar's Load Data and Save Data, and the function-off
// presets, whose controls no view shows.

#include <algorithm>
#include <optional>

#include "adjust/CellValues.h"
#include "adjust/InitialValues.h"
#include "app/Main.h"
#include "app/Main_Pages.h"
#include "app/Main_Params.h"
#include "app/ShownNames.h"
#include "app/WindowKit.h"
#include "link/CommandTable.h"
#include "platform/base/Exceptions.h"
#include "platform/base/Paths.h"
#include "platform/classlib/Application.h"

namespace tarvel {
namespace {

// How the open and save dialogs are set up for each kind of file.
struct FileKind {
    const char* loadTitle;
    const char* filter;
    const char* extension;
    const char* folder;  // beside the executable
};
constexpr FileKind kBmsFiles{"Load BMS", "BMS (*.bms)|*.bms", "bms", "BMS"};
constexpr FileKind kKbFiles{"Load KB", "KB (*.kb)|*.kb", "kb", "KB"};

// The chosen file; nothing when the user cancelled. The dialogs keep the
// last name between uses; the rest is set again for each.
std::optional<String> ChooseFile(TOpenDialog& dialog, const FileKind& kind, bool save) {
    dialog.Title = save ? "Save" : kind.loadTitle;
    dialog.Filter = kind.filter;
    dialog.DefaultExt = kind.extension;
    dialog.InitialDir = AppPath(kind.folder);
    if (!dialog.Execute()) return std::nullopt;
    return dialog.FileName;
}

// One cell of a function-off preset: what the box writes when ticked and
// when not (CheckBox7, short circuit, has none).
struct PresetCell {
    int box;  // CheckBox1..15
    int col, row;
    const char* ticked;
    const char* unticked;
};
constexpr PresetCell kPresetCells[] = {
    {1, 1, 10, "70000", "58500"},    {1, 1, 11, "65000", "54000"}, {2, 1, 16, "20000", "43200"},
    {2, 1, 17, "20000", "43200"},    {3, 1, 14, "5000", "4200"},   {3, 1, 15, "4800", "3600"},
    {4, 1, 22, "1000", "2000"},      {4, 1, 23, "2000", "2700"},   {5, 4, 8, "90", "60"},
    {5, 4, 9, "80", "35"},           {5, 4, 12, "90", "60"},       {5, 4, 13, "80", "35"},
    {6, 4, 16, "-40", "-20"},        {6, 4, 17, "-35", "0"},       {6, 4, 20, "-40", "-20"},
    {6, 4, 21, "-35", "0"},          {8, 4, 2, "150000", "55000"}, {9, 1, 8, "80000", "58000"},
    {9, 1, 9, "70000", "56000"},     {10, 1, 20, "1500", "2500"},  {10, 1, 21, "1500", "2800"},
    {11, 1, 12, "4500", "3600"},     {11, 1, 13, "4500", "3400"},  {12, 4, 0, "60000", "50000"},
    {12, 4, 1, "60000", "40000"},    {13, 4, 6, "70", "40"},       {13, 4, 7, "70", "35"},
    {13, 4, 10, "70", "40"},         {13, 4, 11, "70", "35"},      {14, 4, 14, "-25", "-10"},
    {14, 4, 15, "-25", "-5"},        {14, 4, 18, "-25", "-10"},    {14, 4, 19, "-25", "-5"},
    {15, 4, 5, "-150000", "-60000"},
};

constexpr const char* kPresetCaptions[] = {
    "BAT过压保护及恢复功能关闭",  "BAT欠压告警及恢复功能关闭",  "CELL过压保护及恢复功能关闭",
    "CELL欠压保护及恢复功能关闭", "过温保护及恢复功能关闭",     "低温保护及恢复功能关闭",
    "短路保护及恢复功能关闭",     "充电过流保护及恢复功能关闭", "BAT过压告警及恢复功能关闭",
    "CELL欠压告警及恢复功能关闭", "CELL过压告警及恢复功能关闭", "充电过流告警及恢复功能关闭",
    "过温告警及恢复功能关闭",     "低温告警及恢复功能关闭",     "放电过流保护及恢复功能关闭",
};

// A cell that holds no 32-bit integer stops a write or a save as the class
// library's conversion error, in the standard error box; false then.
bool CellsAreIntegers(const ProtectionTexts& cells) {
    for (int i = 0; i < kProtectionCount; ++i) {
        const CellNumber n = ReadStrictCell(cells[i], FieldType::I32, ProtectionCellName(i));
        if (!n.Ok()) {
            Application->ShowException(EConvertError(WithShownNames(*MainForm, n.refusal)));
            return false;
        }
    }
    return true;
}

template <class T>
T* MakeNamed(TComponent* owner, const char* name) {
    auto* component = new T(owner);
    component->SetName(name);
    return component;
}

}  // namespace

void TMainForm::BindParamsHandlers() {
    if (PopupMenuBMS) return;  // bound already
    if (B_ReadBMS) B_ReadBMS->OnClick = [this](TObject* sender) { B_ReadBMSClick(sender); };
    if (B_WriteBMS) B_WriteBMS->OnClick = [this](TObject* sender) { B_WriteBMSClick(sender); };
    if (TB_Load) TB_Load->OnClick = [this](TObject* sender) { TB_LoadClick(sender); };
    if (TB_Save) TB_Save->OnClick = [this](TObject* sender) { TB_SaveClick(sender); };
    if (SG_TBMS) {
        SG_TBMS->OnClick = [this](TObject* sender) { SG_TBMSClick(sender); };
        SG_TBMS->SetDefaultDrawing(false);
        SG_TBMS->OnDrawCell = [this](TObject* sender, int col, int row, TRect rect, TGridDrawState state) {
            SG_TBMSDrawCell(sender, col, row, rect, state);
        };
    }

    PopupMenuBMS = MakeNamed<TTePopupMenu>(this, "PopupMenuBMS");
    PM_LoadBMS = MakeNamed<TTeItem>(this, "PM_LoadBMS");
    PM_LoadBMS->SetCaption(u"导入BMS初始参数    ");
    PM_LoadBMS->OnClick = [this](TObject* sender) { PM_LoadBMSClick(sender); };
    PM_ClearBMS = MakeNamed<TTeItem>(this, "PM_ClearBMS");
    PM_ClearBMS->SetCaption(u"清除所有BMS参数    ");
    PM_ClearBMS->OnClick = [this](TObject* sender) { PM_ClearBMSClick(sender); };
    PopupMenuBMS->Items()->Add(PM_LoadBMS);
    PopupMenuBMS->Items()->Add(PM_ClearBMS);
    if (SG_TBMS) SG_TBMS->SetPopupMenu(PopupMenuBMS);

    OpenDialog1 = MakeNamed<TOpenDialog>(this, "OpenDialog1");
    SaveDialog1 = MakeNamed<TSaveDialog>(this, "SaveDialog1");

    // The function-off presets stand on the telemetry tab, never shown.
    GroupBox2 = MakeControl<TGroupBox>(this, ScrolledPanels[1], "GroupBox2", 560, 400, 430, 200);
    GroupBox2->SetCaption("保护功能关闭选择");
    GroupBox2->SetVisible(false);
    for (int i = 0; i < static_cast<int>(PresetChecks.size()); ++i) {
        const int left = 8 + (i % 2) * 210, top = 18 + (i / 2) * 18;
        PresetChecks[i] =
            MakeControl<TCheckBox>(this, GroupBox2, "CheckBox" + IntToStr(i + 1), left, top, 205, 17);
        PresetChecks[i]->SetCaption(kPresetCaptions[i]);
    }
    Function_Select = MakeControl<TTeButton>(this, GroupBox2, "Function_Select", 8, 164, 120, 25);
    Function_Select->SetCaption(u"功能关闭确定");
    Function_Select->OnClick = [this](TObject* sender) { Function_SelectClick(sender); };
    TeButton2 = MakeControl<TTeButton>(this, GroupBox2, "TeButton2", 140, 164, 120, 25);
    TeButton2->SetCaption(u"功能关闭查询");
    TeButton2->OnClick = [this](TObject* sender) { TeButton2Click(sender); };
}

// ---- the grid ----

ProtectionTexts TMainForm::BmsCells() const {
    ProtectionTexts cells;
    for (int i = 0; i < kProtectionCount; ++i) {
        const ProtectionField& field = ProtectionFields()[static_cast<size_t>(i)];
        cells[i] = SG_TBMS->Cells(field.column, field.row);
    }
    return cells;
}

void TMainForm::SetBmsCells(const ProtectionTexts& values, bool mirrors) {
    for (int i = 0; i < kProtectionCount; ++i) {
        const ProtectionField& field = ProtectionFields()[static_cast<size_t>(i)];
        SG_TBMS->SetCells(field.column, field.row, values[i]);
    }
    if (!mirrors) return;
    for (const ThresholdGrid& mirror : ThresholdGrids()) {
        auto* grid = dynamic_cast<TStringGrid*>(FindComponent(mirror.name));
        if (!grid) continue;
        for (size_t row = 0; row < mirror.parameters.size(); ++row)
            grid->SetCells(1, static_cast<int>(row), values[mirror.parameters[row]]);
    }
}

// Only the value columns can be edited.
void TMainForm::SG_TBMSClick(TObject*) {
    TGridOptions options = SG_TBMS->Options();
    if (SG_TBMS->Col() == 1 || SG_TBMS->Col() == 4)
        options.Include(goEditing);
    else
        options.Exclude(goEditing);
    SG_TBMS->SetOptions(options);
}

void TMainForm::SG_TBMSDrawCell(TObject*, int col, int row, TRect rect, TGridDrawState) {
    PaintWhiteCell(*SG_TBMS, col, row, rect);
}

void TMainForm::PM_LoadBMSClick(TObject*) {
    if (const auto values = InitialProtectionValues(AdjustIniReader(), ProductVariant))
        SetBmsCells(*values, true);
}

void TMainForm::PM_ClearBMSClick(TObject*) {
    ProtectionTexts empty;
    SetBmsCells(empty, true);
}

// ---- the module ----

void TMainForm::B_ReadBMSClick(TObject*) { SendCommand(ModuleAddress(), CmdReadBms); }

void TMainForm::ShowBmsParameters() {
    const auto values = DecodeProtectionReply(ByteSpan(RxFrame.data(), RxFrameLength));
    if (!values) {
        ShowInfo("Protection parameter reply of a wrong length, not shown!", kFailureColor);
        return;
    }
    SetBmsCells(*values, true);
}

void TMainForm::B_WriteBMSClick(TObject*) {
    if (AutoQueryOn) {
        ShowInfo("Please turn off automatic query!", kFailureColor);
        return;
    }
    if (!IsLoggedIn()) return;
    SendBmsWrite();
}

std::optional<FrameBytes> BmsWriteFromGrid(TMainForm& form, uint8_t address) {
    const ProtectionTexts cells = form.BmsCells();
    if (!CellsAreIntegers(cells)) return std::nullopt;
    // A value its field cannot hold would reach the battery cut to the
    // field's width: nothing goes out.
    RequestBuild request = BuildProtectionWrite(address, cells);
    if (!request.Ok()) {
        form.ShowInfo(request.refusal, kFailureColor);
        return std::nullopt;
    }
    return std::move(request.frame);
}

bool TMainForm::SendBmsWrite() {
    const std::optional<FrameBytes> request = BmsWriteFromGrid(*this, ModuleAddress());
    if (!request) return false;
    const uint8_t outstanding = LastCommand;
    LastCommand = CmdWriteBms;
    std::copy(request->begin(), request->end(), TxFrame.begin());
    if (WriteFrame(TxFrame.data(), static_cast<uint16_t>(request->size()))) return true;
    LastCommand = outstanding;
    return false;
}

// ---- the function-off presets ----

void TMainForm::Function_SelectClick(TObject*) {
    for (const PresetCell& cell : kPresetCells) {
        const bool ticked = PresetChecks[cell.box - 1]->Checked();
        SG_TBMS->SetCells(cell.col, cell.row, ticked ? cell.ticked : cell.unticked);
    }
    SendBmsWrite();
}

// The boxes show what the grid holds at the press; the reply refills the
// grid but not the boxes.
void TMainForm::TeButton2Click(TObject*) {
    SendCommand(ModuleAddress(), CmdReadBms);
    std::array<std::optional<bool>, 15> holds{};
    for (const PresetCell& cell : kPresetCells) {
        std::optional<bool>& box = holds[cell.box - 1];
        box = box.value_or(true) && SG_TBMS->Cells(cell.col, cell.row) == cell.ticked;
    }
    for (size_t i = 0; i < holds.size(); ++i)
        if (holds[i]) PresetChecks[i]->SetChecked(*holds[i]);
}

// ---- Load Data and Save Data: the file of the page in front ----

void TMainForm::TB_LoadClick(TObject*) {
    TTeTabSheet* page = PC_All ? PC_All->GetActivePage() : nullptr;
    if (page == TS_TBMS) {
        const auto path = ChooseFile(*OpenDialog1, kBmsFiles, false);
        if (!path) return;
        const BmsLoad load = LoadBmsFile(*path);
        if (load.values) SetBmsCells(*load.values, false);
        ShowInfo(load.message, load.values ? kSuccessColor : kFailureColor);
    } else if (page == TS_Adjust) {
        if (const auto path = ChooseFile(*OpenDialog1, kKbFiles, false)) LoadKbFile(*path);
    }
}

void TMainForm::TB_SaveClick(TObject*) {
    TTeTabSheet* page = PC_All ? PC_All->GetActivePage() : nullptr;
    if (page == TS_TBMS) {
        const auto path = ChooseFile(*SaveDialog1, kBmsFiles, true);
        if (!path) return;
        const ProtectionTexts cells = BmsCells();
        if (!CellsAreIntegers(cells)) return;
        const BmsSave save = SaveBmsFile(*path, cells);
        ShowInfo(save.message, save.saved ? kSuccessColor : kFailureColor);
    } else if (page == TS_Adjust) {
        if (const auto path = ChooseFile(*SaveDialog1, kKbFiles, true)) SaveKbFile(*path);
    }
}

}  // namespace tarvel
