// The calibration tab's ".kb" files, which Load Data and Save Data choose
// while the calibration tab is in front. A file holds only values to write:
// loading fills the "to write" cells and the temperature-K edit.

#include "app/Main_Calibration.h"

namespace tarvel {

bool TMainForm::LoadKbFile(const String& path) {
    const KbLoad load =
        tarvel::LoadKbFile(path, KbLayout == 1 ? tarvel::KbLayout::Full : tarvel::KbLayout::Short);
    ShowInfo(load.message, load.loaded ? kSuccessColor : kFailureColor);
    // The info line has room for the verdict only; the log says what is
    // wrong with the file.
    if (!load.reason.empty())
        AddInfoLogLine(load.message + " " + path + ": " + load.reason + ".", kFailureColor);
    if (!load.loaded) return false;
    for (size_t i = 0; i < load.voltageKToWrite.size(); ++i)
        SG_VKB->SetCells(4, static_cast<int>(i) + 1, load.voltageKToWrite[i]);
    TStringGrid* grid = CurrentKbGrid();
    for (const GridWrite& cell : load.currentCells) grid->SetCells(cell.column, cell.row, cell.text);
    E_TempK->SetText(load.tempK);
    return true;
}

bool TMainForm::SaveKbFile(const String& path) {
    const KbSave save = tarvel::SaveKbFile(path, CalibrationCells(*this));
    ShowInfo(save.message, save.saved ? kSuccessColor : kFailureColor);
    return save.saved;
}

}  // namespace tarvel
