#include "app/Main.h"

namespace tarvel {

void TMainForm::LoadPortSettings() {}
void TMainForm::TB_COMSwitchClick(TObject*) {}
void TMainForm::M_SetCOMClick(TObject*) {}
bool TMainForm::OpenPort() { return false; }
void TMainForm::ClosePort() {}

}  // namespace tarvel
