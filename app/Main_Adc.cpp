#include "app/Main.h"

namespace tarvel {

void TMainForm::ShowAdc() {}

}  // namespace tarvel
