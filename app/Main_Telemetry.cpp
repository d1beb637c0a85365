#include "app/Main.h"

namespace tarvel {

void TMainForm::BuildTsbsPage() {}
void TMainForm::ShowTelemetry() {}
void TMainForm::ShowStatusWords() {}
void TMainForm::StoreReading() {}
void TMainForm::InitDatabaseCombos() {}

}  // namespace tarvel
