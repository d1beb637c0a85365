#include "app/Main.h"

namespace tarvel {

void TMainForm::ShowDisTime() {}
void TMainForm::ShowLimitCurrent() {}

}  // namespace tarvel
