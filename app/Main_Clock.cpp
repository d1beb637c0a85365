#include "app/Main.h"

namespace tarvel {

void TMainForm::ShowSysDate() {}

}  // namespace tarvel
