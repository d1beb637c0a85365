#include "app/Main.h"

namespace tarvel {

void TMainForm::StartPollTimer() {}
void TMainForm::PollTick() {}
void TMainForm::PollStep() {}
void TMainForm::SendPollQuery(int) {}
int TMainForm::PrevSelectedModule(int index) { return index; }
int TMainForm::NextSelectedModule(int index) { return index; }
bool TMainForm::ReadParaRecord() { return false; }
bool TMainForm::WriteParaRecord() { return false; }

}  // namespace tarvel
