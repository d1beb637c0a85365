#include "app/Main.h"

namespace tarvel {

void TMainForm::ShowParallelTelemetry() {}

}  // namespace tarvel
