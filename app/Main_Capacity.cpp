// The monitor tab's module data: the rated capacity, the capacity-life
// values and the run history, read from the module and written back.

#include "adjust/CellValues.h"
#include "adjust/RatedCapacity.h"
#include "app/Main_Calibration.h"
#include "app/ShownNames.h"
#include "app/WindowKit.h"
#include "link/CommandTable.h"
#include "platform/base/Exceptions.h"
#include "platform/base/Strings.h"
#include "platform/classlib/Application.h"
#include "platform/classlib/Boxes.h"

namespace tarvel {
namespace {

constexpr const char* kHistoryTitles[] = {"RUN TIME IN TOTAL", "RUN TIME BY THIS TIME", "RUN TIMES IN TOTAL",
                                          "EXIT REASON BY LAST TIME"};

std::array<std::string, 4> ValueColumn(const TStringGrid& grid) {
    std::array<std::string, 4> cells;
    for (int row = 0; row < 4; ++row) cells[row] = grid.Cells(1, row);
    return cells;
}

// The cells are read strictly: the first that holds no integer stops the
// write as the class library's conversion error, in the standard error box.
bool CellsAreIntegers(const std::array<std::string, 4>& cells, const char* grid) {
    for (size_t row = 0; row < cells.size(); ++row) {
        if (CellInteger(cells[row])) continue;
        const String cell = Format("%s column 1, row %zu", grid, row);
        Application->ShowException(EConvertError(
            WithShownNames(*MainForm, ReadStrictCell(cells[row], FieldType::I32, cell).refusal)));
        return false;
    }
    return true;
}

}  // namespace

void TMainForm::BindCapacityHandlers() {
    if (B_GetHistory) return;  // bound already
    if (Getcap) Getcap->OnClick = [this](TObject* sender) { GetcapClick(sender); };
    if (Setcap) Setcap->OnClick = [this](TObject* sender) { SetcapClick(sender); };
    // The capacity is a number like the tool's other number edits.
    if (Capdis)
        Capdis->OnKeyPress = [this](TObject* sender, char16_t& key) {
            E_AutoQueryIntervalKeyPress(sender, key);
        };
    if (B_SetLife) B_SetLife->OnClick = [this](TObject* sender) { B_SetLifeClick(sender); };
    if (B_SetHistory) B_SetHistory->OnClick = [this](TObject* sender) { B_SetHistoryClick(sender); };
    for (TStringGrid* grid : {SG_Life, SG_History}) {
        grid->SetDefaultDrawing(false);
        grid->OnDrawCell = [grid](TObject*, int col, int row, TRect rect, TGridDrawState) {
            PaintWhiteCell(*grid, col, row, rect);
        };
    }
    SG_Life->OnClick = [this](TObject* sender) { SG_LifeClick(sender); };
    SG_History->OnClick = [this](TObject* sender) { SG_HistoryClick(sender); };
    SG_LifeClick(SG_Life);
    SG_HistoryClick(SG_History);

    // The run-history group as the form has it: its caption, its titles and
    // its request button, which the pages leave out.
    GB_History->SetCaption(u"历史记录");
    for (int row = 0; row < 4; ++row) SG_History->SetCells(0, row, kHistoryTitles[row]);
    B_SetHistory->SetCaption(u"修改历史记录");
    B_GetHistory = new TTeButton(this);
    B_GetHistory->SetName("B_GetHistory");
    B_GetHistory->SetParent(GB_History);
    B_GetHistory->SetBounds(120, 134, 100, 28);
    B_GetHistory->SetCaption(u"获取历史记录");
    B_GetHistory->OnClick = [this](TObject* sender) { B_GetHistoryClick(sender); };
}

// ---- rated capacity ----

void TMainForm::GetcapClick(TObject*) { SendCommand(ModuleAddress(), CmdGetCap); }

void TMainForm::ShowCap() {
    const auto ah = DecodeCapacityReply(ByteSpan(RxFrame.data(), RxFrameLength));
    if (!ah) {
        ShowInfo("Capacity reply of a wrong length, not shown!", kFailureColor);
        return;
    }
    Capdis->SetText(*ah);
    DoneCap = 1;
}

// Like every other write, the capacity goes to a module only after the login.
void TMainForm::SetcapClick(TObject*) {
    if (!IsLoggedIn()) return;
    const String text = Capdis->Text();
    const RequestBuild request = BuildSetCapacity(ModuleAddress(), text);
    if (request.refusal == kCapacityRangeMessage) {
        ShowMessage(kCapacityRangeMessage);
        return;
    }
    if (!request.Ok()) {
        Application->ShowException(EConvertError(WithShownNames(*this, request.refusal)));
        return;
    }
    SendOwnRequest(CmdSetCap, request);
}

// ---- capacity life ----

void TMainForm::SG_LifeClick(TObject*) { SetGridEditing(*SG_Life, SG_Life->Col() == 1); }

void TMainForm::B_SetLifeClick(TObject*) { WriteValueColumn(*SG_Life, "SG_Life", CmdSetLife, BuildSetLife); }

void TMainForm::WriteValueColumn(TStringGrid& grid, const char* name, uint8_t command,
                                 RequestBuild (*build)(uint8_t, const std::array<std::string, 4>&)) {
    if (!ReadyToSend(*this, "Please turn off automatic query frist!")) return;
    const auto cells = ValueColumn(grid);
    if (!CellsAreIntegers(cells, name)) return;
    SendOwnRequest(command, build(ModuleAddress(), cells));
}

// ---- run history ----

void TMainForm::SG_HistoryClick(TObject*) { SetGridEditing(*SG_History, SG_History->Col() == 1); }

void TMainForm::B_GetHistoryClick(TObject*) { SendCommand(ModuleAddress(), CmdGetHistory); }

void TMainForm::ShowRunHistory() {
    const auto history = DecodeRunHistoryReply(ByteSpan(RxFrame.data(), RxFrameLength));
    if (!history) {
        ShowInfo("Run-history reply of a wrong length, not shown!", kFailureColor);
        return;
    }
    const RunHistoryCells cells = MakeRunHistoryCells(*history);
    for (int row = 0; row < 4; ++row) SG_History->SetCells(1, row, cells.values[row]);
    SG_History->SetCells(2, 3, cells.exitName);
}

void TMainForm::B_SetHistoryClick(TObject*) {
    WriteValueColumn(*SG_History, "SG_History", CmdSetHistory, BuildSetHistory);
}

}  // namespace tarvel
