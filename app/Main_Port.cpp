// The serial port's settings and its switch: the port and rate come from
// "ParaSeting.ini" (or the command line), the tool-bar button opens and
// closes the port, the port dialog changes both and opens it.

#include "app/Comm.h"
#include "app/Main.h"
#include "app/Startup.h"
#include "platform/base/Paths.h"
#include "platform/classlib/Application.h"
#include "platform/serial/SerialPort.h"
#include "platform/system/ProfileFiles.h"

namespace tarvel {
namespace {

void SetButton(TTeSpeedButton* button, const char* caption, int imageIndex) {
    if (!button) return;
    button->SetText(caption);
    button->SetImageIndex(imageIndex);
}

}  // namespace

void TMainForm::LoadPortSettings() {
    PortOpen = 0;
    const std::string ini = AppPath(kPortSettingsFile);
    std::string port = GetPrivateProfileString(kPortSection, kPortKey, "COM1", kPortNameSize, ini);
    if (*CommandLinePort() != '\0') port = CommandLinePort();
    Comm1->SetCommName(kDevicePrefix + port);
    Comm1->SetBaudRate(UsableBaudRate(GetPrivateProfileInt(kPortSection, kBaudRateKey, 9600, ini)));
}

void TMainForm::TB_COMSwitchClick(TObject*) {
    if (PortOpen) {
        ClosePort();
        ShowInfo("Succeed to close serail port!", kSuccessColor);
    } else {
        OpenPort();
    }
}

void TMainForm::M_SetCOMClick(TObject*) {
    if (!CommForm) return;
    // The port in use is listed whatever it is, and chosen.
    const std::string inUse = ResolvePortName(Comm1->CommName());
    CommForm->FillPortList(PortListForDialog(inUse), inUse);
    CommForm->ShowModal();
}

bool TMainForm::OpenPort() {
    try {
        Comm1->StartComm();
    } catch (const ECommsError& e) {
        const std::string path = ResolvePortName(Comm1->CommName());
        // The box names the device once.
        Application->ShowException(
            e.Message().find(path) != std::string::npos ? e : ECommsError(e.Message() + " (" + path + ")"));
        return false;
    }
    PortOpen = 1;
    PortLost = 0;
    ShowInfo("Succeed to open serail port!", kSuccessColor);
    SetButton(TB_COMSwitch, "Close Port", 5);
    return true;
}

void TMainForm::ClosePort() {
    Comm1->StopComm();
    // Bytes of the old line must not be joined to the first of the next.
    if (Scanner) Scanner->Reset();
    PortOpen = 0;
    LoggedIn = 0;
    SetButton(TB_COMSwitch, "Open Port", 4);
    SetButton(TB_LOG, "Login", 7);
}

}  // namespace tarvel
