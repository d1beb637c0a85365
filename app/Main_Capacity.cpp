#include "app/Main.h"

namespace tarvel {

void TMainForm::ShowCap() {}
void TMainForm::ShowRunHistory() {}

}  // namespace tarvel
