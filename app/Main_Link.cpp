#include "app/Main.h"

namespace tarvel {

void TMainForm::BuildInfoPage() {}
bool TMainForm::SendCommand(uint8_t, uint8_t) { return false; }
bool TMainForm::IsLoggedIn() { return LoggedIn != 0; }
bool TMainForm::WriteFrame(const uint8_t*, uint16_t) { return false; }
void TMainForm::TB_LOGClick(TObject*) {}
void TMainForm::Comm1ReceiveData(const uint8_t*, uint16_t, uint32_t) {}
void TMainForm::Comm1RequestHangup() {}
void TMainForm::DispatchReply() {}
void TMainForm::ShowInfo(const String&, TColor) {}
void TMainForm::ShowReplyResult(uint8_t, int) {}
void TMainForm::ShowInfoAndExtLog(const String&, TColor) {}

}  // namespace tarvel
