#include "app/Main.h"

namespace tarvel {

void TMainForm::ShowHisAlarmRecords() {}
void TMainForm::ShowAutoTsbsRecords() {}
void TMainForm::ShowFunctionState() {}
void TMainForm::ShowDailyRecords() {}

}  // namespace tarvel
