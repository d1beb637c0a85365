#include "app/Main.h"

namespace tarvel {

void TMainForm::ShowHisAlarmRecords() {}

}  // namespace tarvel
