// The calibration tab: voltage and current samples taken from the telemetry
// replies, the voltage K and the current lines computed from them, the
// calibration block read from and written to the module, the grids' popup
// items and the temperature-K edit.

#include "app/Main_Calibration.h"
#include "app/WindowKit.h"

#include "adjust/Calibration.h"
#include "adjust/CellValues.h"
#include "link/CommandTable.h"
#include "platform/base/Strings.h"

namespace tarvel {
namespace {

constexpr int kVoltageRows = 17;  // the pack, then cells 1..16
constexpr int kCurrentRows = 21;  // rows read from a current grid, the full layout's
constexpr const char* kAutoQueryOnText = "Please turn off automatic query!";

// The "as read" and "to write" rows of each current value in a column.
struct KbRowPair {
    int asRead, toWrite;
    bool isK;
};
constexpr KbRowPair kFullPairs[] = {{13, 14, true}, {15, 16, false}, {17, 18, true}, {19, 20, false}};
constexpr KbRowPair kShortPairs[] = {{11, 12, true}, {13, 14, false}};

std::span<const KbRowPair> PairsOf(int32_t layout) {
    if (layout == 1) return kFullPairs;
    return kShortPairs;
}

tarvel::KbLayout LayoutOf(int32_t layout) { return layout == 1 ? KbLayout::Full : KbLayout::Short; }

std::vector<std::string> ColumnTexts(const TStringGrid& grid, int col) {
    std::vector<std::string> texts;
    for (int row = 0; row < kCurrentRows; ++row) texts.push_back(grid.Cells(col, row));
    return texts;
}

// The telemetry of the reply being shown: a plain one, or one answering a
// query by serial number.
std::optional<TelemetryRecord> SampledRecord(ByteSpan frame) {
    if (auto record = DecodeTelemetryReply(frame)) return record;
    if (auto serial = DecodeSerialTelemetryReply(frame)) return serial->record;
    return std::nullopt;
}

template <class T>
T* MakeNamed(TComponent* owner, const char* name) {
    auto* component = new T(owner);
    component->SetName(name);
    return component;
}

TTeItem* MakeItem(TMainForm& form, TTePopupMenu& menu, const char* name, const char16_t* caption,
                  void (TMainForm::*handler)(TObject*)) {
    auto* item = MakeNamed<TTeItem>(&form, name);
    item->SetCaption(caption);
    item->OnClick = [&form, handler](TObject* sender) { (form.*handler)(sender); };
    menu.Items()->Add(item);
    return item;
}

void BindClick(TTeButton* button, TMainForm& form, void (TMainForm::*handler)(TObject*)) {
    if (button) button->OnClick = [&form, handler](TObject* sender) { (form.*handler)(sender); };
}

void DrawWhite(TStringGrid* grid) {
    if (!grid) return;
    grid->SetDefaultDrawing(false);
    grid->OnDrawCell = [grid](TObject*, int col, int row, TRect rect, TGridDrawState) {
        PaintWhiteCell(*grid, col, row, rect);
    };
}

}  // namespace

// ---- shared with the calibration files and the monitor tab ----

KbCells CalibrationCells(const TMainForm& form) {
    KbCells cells;
    cells.layout = LayoutOf(form.KbLayout);
    for (int i = 0; i < kVoltageRows; ++i) {
        cells.voltageKToWrite[i] = form.SG_VKB->Cells(4, i + 1);
        cells.voltageKAsRead[i] = form.SG_VKB->Cells(3, i + 1);
    }
    const TStringGrid& current = *form.CurrentKbGrid();
    cells.current[1] = ColumnTexts(current, 1);
    cells.current[2] = ColumnTexts(current, 2);
    cells.tempK = form.E_TempK->Text();
    return cells;
}

void SetGridEditing(TStringGrid& grid, bool on) {
    TGridOptions options = grid.Options();
    if (on) {
        options.Include(goEditing);
    } else {
        options.Exclude(goEditing);
    }
    grid.SetOptions(options);
}

bool ReadyToSend(TMainForm& form, const char* busyText) {
    if (form.AutoQueryOn) {
        form.ShowInfo(busyText, kFailureColor);
        return false;
    }
    return form.IsLoggedIn();
}

// ---- binding ----

void TMainForm::BindCalibrationHandlers() {
    if (E_TempK) return;  // bound already
    BindClick(B_SampleV, *this, &TMainForm::B_SampleVClick);
    BindClick(B_SampleC, *this, &TMainForm::B_SampleCClick);
    BindClick(B_CalcVK, *this, &TMainForm::B_CalcVKClick);
    BindClick(B_CalcCKB, *this, &TMainForm::B_CalcCKBClick);
    BindClick(B_ReadKB, *this, &TMainForm::B_ReadKBClick);
    BindClick(B_WriteKB, *this, &TMainForm::B_WriteKBClick);
    // The form's own captions, which the pages give differently.
    const std::pair<TTeButton*, const char16_t*> captions[] = {{B_CalcVK, u"计算电压K"},
                                                               {B_CalcCKB, u"计算电流KB"},
                                                               {B_ReadKB, u"查询 KB"},
                                                               {B_WriteKB, u"修改 KB"}};
    for (const auto& [button, caption] : captions)
        if (button) button->SetCaption(caption);

    SG_VKB->OnClick = [this](TObject* sender) { SG_VKBClick(sender); };
    SG_VKB->OnKeyPress = [this](TObject* sender, char16_t& key) { SG_VKBKeyPress(sender, key); };
    SG_CKB->OnClick = [this](TObject* sender) { SG_CKBClick(sender); };
    // The short grid holds five points and one line per direction.
    SG_CKB1->SetRowCount(15);
    SG_CKB1->SetDefaultRowHeight(26);
    for (TStringGrid* grid : {SG_VKB, SG_CKB, SG_CKB1}) DrawWhite(grid);
    // A grid clicks only when its current cell moves: the cell it starts on
    // gets its editing rule now.
    SG_VKBClick(SG_VKB);
    SG_CKBClick(SG_CKB);
    SG_CKB1Click(SG_CKB1);

    TWinControl* page = B_WriteKB->Parent();
    L_TempK = MakeNamed<TTeLabel>(this, "L_TempK");
    L_TempK->SetParent(page);
    L_TempK->SetBounds(224, 444, 110, 16);
    L_TempK->SetText("               温度 K：");
    E_TempK = MakeNamed<TTeEdit>(this, "E_TempK");
    E_TempK->SetParent(page);
    E_TempK->SetBounds(334, 441, 80, 21);
    E_TempK->SetText("10000");
    E_TempK->OnKeyPress = [this](TObject* sender, char16_t& key) { E_TempKKeyPress(sender, key); };

    PopupMenuVK = MakeNamed<TTePopupMenu>(this, "PopupMenuVK");
    PM_LoadVK =
        MakeItem(*this, *PopupMenuVK, "PM_LoadVK", u"载入默认K值(10000)    ", &TMainForm::PM_LoadVKClick);
    PM_CopyVK = MakeItem(*this, *PopupMenuVK, "PM_CopyVK", u"上传K赋给下载K    ", &TMainForm::PM_CopyVKClick);
    SG_VKB->SetPopupMenu(PopupMenuVK);
    if (SG_Life) SG_Life->SetPopupMenu(PopupMenuVK);
    PopupMenuCKB = MakeNamed<TTePopupMenu>(this, "PopupMenuCKB");
    PM_LoadCKB =
        MakeItem(*this, *PopupMenuCKB, "PM_LoadCKB", u"载入默认KB(10000/0)    ", &TMainForm::PM_LoadCKBClick);
    PM_CopyCKB =
        MakeItem(*this, *PopupMenuCKB, "PM_CopyCKB", u"上传KB赋给下载KB    ", &TMainForm::PM_CopyCKBClick);
    SG_CKB->SetPopupMenu(PopupMenuCKB);
    SG_CKB1->SetPopupMenu(PopupMenuCKB);
}

TStringGrid* TMainForm::CurrentKbGrid() const { return KbLayout == 1 ? SG_CKB : SG_CKB1; }

// ---- the grids ----

void TMainForm::SG_VKBClick(TObject*) {
    const int col = SG_VKB->Col();
    SetGridEditing(*SG_VKB, (col == 1 || col == 4) && SG_VKB->Row() != 0);
}

void TMainForm::SG_CKBClick(TObject*) { SetGridEditing(*SG_CKB, SG_CKB->Col() != 0 && SG_CKB->Row() != 0); }

// The actual voltages and the K are whole numbers: a typing slip would
// otherwise be read as the computation's default.
void TMainForm::SG_VKBKeyPress(TObject*, char16_t& key) { FilterNumericKey(key, u".", true); }

void TMainForm::E_TempKKeyPress(TObject*, char16_t& key) { FilterNumericKey(key, u"-.", false); }

void TMainForm::PM_LoadVKClick(TObject*) {
    for (int row = 1; row <= kVoltageRows; ++row) SG_VKB->SetCells(4, row, "10000");
}

void TMainForm::PM_CopyVKClick(TObject*) {
    for (int row = 1; row <= kVoltageRows; ++row) SG_VKB->SetCells(4, row, SG_VKB->Cells(3, row));
}

void TMainForm::PM_LoadCKBClick(TObject*) {
    TStringGrid* grid = CurrentKbGrid();
    for (int col : {1, 2})
        for (const KbRowPair& pair : PairsOf(KbLayout))
            grid->SetCells(col, pair.toWrite, pair.isK ? "10000" : "0");
}

void TMainForm::PM_CopyCKBClick(TObject*) {
    TStringGrid* grid = CurrentKbGrid();
    for (int col : {1, 2})
        for (const KbRowPair& pair : PairsOf(KbLayout))
            grid->SetCells(col, pair.toWrite, grid->Cells(col, pair.asRead));
}

// ---- sampling: the telemetry displays hand over every reading they show ----

void TMainForm::B_SampleVClick(TObject*) { AwaitSample(SampleVoltageOn); }

void TMainForm::B_SampleCClick(TObject*) { AwaitSample(SampleCurrentOn); }

void TMainForm::AwaitSample(uint8_t& flag) {
    if (!ReadyToSend(*this, kAutoQueryOnText)) return;
    flag = 1;
    // A query that never went out leaves no sample awaited.
    if (!SendCommand(ModuleAddress(), CmdQuerySbs)) flag = 0;
}

void TMainForm::ShowSampledVoltages() {
    if (!SampleVoltageOn) return;
    const auto record = SampledRecord(ByteSpan(RxFrame.data(), RxFrameLength));
    if (!record) return;
    SampleVoltageOn = 0;
    SG_VKB->SetCells(2, 1, IntToStr(record->PACK));
    for (size_t i = 0; i < record->V.size(); ++i)
        SG_VKB->SetCells(2, static_cast<int>(i) + 2, UIntToStr(record->V[i]));
}

void TMainForm::ShowSampledCurrent() {
    if (!SampleCurrentOn) return;
    const auto record = SampledRecord(ByteSpan(RxFrame.data(), RxFrameLength));
    if (!record) return;
    SampleCurrentOn = 0;
    const CurrentSamplePlace place = NextCurrentSample(CurrentSampleRow, record->I, LayoutOf(KbLayout));
    CurrentKbGrid()->SetCells(place.column, place.row, IntToStr(record->I));
}

// ---- the computations ----

void TMainForm::B_CalcVKClick(TObject*) {
    for (int row = 1; row <= kVoltageRows; ++row) {
        SG_VKB->SetCells(4, row,
                         VoltageKText(SG_VKB->Cells(1, row), SG_VKB->Cells(2, row), SG_VKB->Cells(3, row)));
    }
}

void TMainForm::B_CalcCKBClick(TObject*) {
    TStringGrid* grid = CurrentKbGrid();
    for (int col : {1, 2}) {
        const CurrentKbResult result =
            ComputeCurrentKb(ColumnTexts(*grid, col), col == 2, LayoutOf(KbLayout));
        for (const CellWrite& write : result.writes) grid->SetCells(col, write.row, write.text);
        ShowInfo(result.message, result.ok ? kSuccessColor : kFailureColor);
    }
}

// ---- the calibration block ----

void TMainForm::B_ReadKBClick(TObject*) { SendCommand(ModuleAddress(), CmdReadKb); }

void TMainForm::ShowKb() {
    const auto block = DecodeKbReply(ByteSpan(RxFrame.data(), RxFrameLength));
    if (!block) {
        ShowInfo("Calibration reply of a wrong length, not shown!", kFailureColor);
        return;
    }
    const KbDisplay display = MakeKbDisplay(*block);
    for (int i = 0; i < kVoltageRows; ++i) SG_VKB->SetCells(3, i + 1, display.voltageKAsRead[i]);
    const bool full = block->layout == tarvel::KbLayout::Full;
    SG_CKB->SetVisible(full);
    SG_CKB1->SetVisible(!full);
    // The short grid takes the full one's place.
    if (!full) SG_CKB1->SetBounds(SG_CKB->Left(), SG_CKB->Top(), SG_CKB->Width(), SG_CKB->Height());
    TStringGrid* grid = full ? SG_CKB : SG_CKB1;
    for (const GridWrite& cell : display.currentCells) grid->SetCells(cell.column, cell.row, cell.text);
    E_TempK->SetText(display.tempK);
}

void TMainForm::B_WriteKBClick(TObject*) {
    if (!ReadyToSend(*this, kAutoQueryOnText)) return;
    SendOwnRequest(CmdWriteKb, BuildKbWrite(ModuleAddress(), CalibrationCells(*this)));
}

bool TMainForm::SendOwnRequest(uint8_t command, const RequestBuild& request) {
    // A value its field cannot hold would reach the module cut short: nothing goes out.
    if (!request.Ok()) {
        ShowInfo(request.refusal, kFailureColor);
        return false;
    }
    const uint8_t outstanding = LastCommand;
    LastCommand = command;
    std::copy(request.frame.begin(), request.frame.end(), TxFrame.begin());
    if (WriteFrame(TxFrame.data(), static_cast<uint16_t>(request.frame.size()))) return true;
    LastCommand = outstanding;
    return false;
}

}  // namespace tarvel
