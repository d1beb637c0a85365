#include "app/Main.h"

namespace tarvel {

void TMainForm::ShowUserView() {}
void TMainForm::ShowEngineeringView() {}
void TMainForm::ShowParallelUserView() {}
void TMainForm::ShowParallelEngineeringView() {}
void TMainForm::ShowParallelParameterView() {}
void TMainForm::ShowSingleView() {}
void TMainForm::EditionSwitchClick(TObject*) {}
void TMainForm::ModeSwitchClick(TObject*) {}
void TMainForm::VariantClick(TObject*) {}
void TMainForm::SG_CKB1Click(TObject*) {}
void TMainForm::ReadVersionFile() {}
bool TMainForm::WriteVersionFile() { return false; }

}  // namespace tarvel
