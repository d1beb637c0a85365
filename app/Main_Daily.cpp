#include "app/Main.h"

namespace tarvel {

void TMainForm::ShowDailyRecords() {}

}  // namespace tarvel
