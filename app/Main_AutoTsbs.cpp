#include "app/Main.h"

namespace tarvel {

void TMainForm::ShowAutoTsbsRecords() {}
void TMainForm::ShowFunctionState() {}

}  // namespace tarvel
