#pragma once
// What the calibration tab's files and the monitor tab's groups share: the
// cells the calibration write and the ".kb" save read, and the grids' look
// and editing switch.

#include "adjust/KbBlock.h"
#include "app/Main.h"

namespace tarvel {

KbCells CalibrationCells(const TMainForm& form);

// The checks before a request of these tabs: none while the automatic query
// runs (`busyText` on the info line) and none before the login.
bool ReadyToSend(TMainForm& form, const char* busyText);

void SetGridEditing(TStringGrid& grid, bool on);

}  // namespace tarvel
