#include "app/Main.h"

namespace tarvel {

void TMainForm::ShowSampledVoltages() {}
void TMainForm::ShowSampledCurrent() {}
void TMainForm::ShowKb() {}

}  // namespace tarvel
