#include "app/Main.h"

namespace tarvel {

void TMainForm::FormCloseQuery(TObject*, bool& canClose) { canClose = true; }
void TMainForm::FormClose(TObject*, TCloseAction&) {}
void TMainForm::TB_ExitClick(TObject*) { Close(); }

}  // namespace tarvel
