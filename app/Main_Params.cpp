#include "app/Main.h"

namespace tarvel {

void TMainForm::ShowBmsParameters() {}
void TMainForm::TB_LoadClick(TObject*) {}
void TMainForm::TB_SaveClick(TObject*) {}

}  // namespace tarvel
