// The calibration page's ".kb" files, which Load Data and Save Data choose
// while the calibration page is in front.

#include "app/Main.h"

namespace tarvel {

void TMainForm::LoadKbFile(const String&) {}
void TMainForm::SaveKbFile(const String&) {}

}  // namespace tarvel
