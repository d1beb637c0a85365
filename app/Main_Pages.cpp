#include "app/Main.h"

namespace tarvel {

void TMainForm::BuildPages() {}
void TMainForm::MapModuleControls() {}
void TMainForm::MapRemainingControls() {}
void TMainForm::SetupGridsAndText() {}

}  // namespace tarvel
