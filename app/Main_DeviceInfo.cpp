#include "app/Main.h"

namespace tarvel {

void TMainForm::ShowSoftwareVersion() {}
void TMainForm::ShowSerialNumber() {}
void TMainForm::ShowDeviceText() {}
void TMainForm::ShowIoState() {}

}  // namespace tarvel
