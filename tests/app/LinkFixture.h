#pragma once
// The main window's link under test: chunks handed to the receive handler as
// Comm1 hands them, or the simulated module behind the real port.

#include <initializer_list>

#include "link/CommandTable.h"
#include "link/DeviceFrame.h"
#include "platform/base/DateTime.h"
#include "platform/base/Paths.h"
#include "platform/base/Ticks.h"
#include "tests/app/SimModuleFixture.h"

namespace tarvel::testing {

using sim::Bytes;

constexpr TColor kSuccessColor = 0x80D98D;
constexpr TColor kFailureColor = 0x6A6AFF;
constexpr TColor kLogSuccessColor = 0x008000;

inline Bytes Reply(uint8_t address, uint8_t code, uint8_t status = 0, const Bytes& data = {}) {
    return sim::MakeReply(address, code, status, data);
}

inline Bytes Joined(std::initializer_list<Bytes> parts) {
    Bytes all;
    for (const Bytes& part : parts) all.insert(all.end(), part.begin(), part.end());
    return all;
}

class LinkTest : public SimModuleTest {
protected:
    // The window with the tool-bar controls the link works through; until
    // the frame makes them, they are made here as the tool bar holds them.
    TMainForm* StartLinked() {
        TMainForm* form = Start();
        if (!form->CB_ModuleAddr) {
            form->CB_ModuleAddr = new TTeComboBox(form);
            form->CB_ModuleAddr->SetName("CB_ModuleAddr");
            form->CB_ModuleAddr->SetParent(form);
            for (int i = 0; i < kModuleCount; ++i) form->CB_ModuleAddr->Items()->Add(std::to_string(i));
            form->CB_ModuleAddr->SetItemIndex(kModuleAddress);
        }
        if (!form->TB_LOG) {
            form->TB_LOG = MakeButton(form, "TB_LOG", "Login", 7);
            form->TB_LOG->OnClick = [form](TObject* sender) { form->TB_LOGClick(sender); };
        }
        if (!form->TB_COMSwitch) form->TB_COMSwitch = MakeButton(form, "TB_COMSwitch", "Open Port", 4);
        return form;
    }

    // The port opened on the module, which takes the tool as logged in.
    void OpenLoggedIn() {
        Module().UpdateModule(kModuleAddress, [](sim::ModuleState& m) { m.loggedIn = true; });
        ASSERT_TRUE(form_->OpenPort()) << LastBoxText();
        form_->LoggedIn = 1;
    }

    // The port opened on the module and, when asked, the tool logged in by
    // its button as a user does.
    void OpenAndLogIn(bool login = true) {
        EXPECT_TRUE(form_->OpenPort()) << LastBoxText();
        if (!login) return;
        form_->TB_LOG->Click();
        EXPECT_TRUE(WaitUntil([&] { return form_->LoggedIn == 1; }));
    }

    // A chunk as Comm1 delivers it.
    void Receive(const Bytes& chunk) {
        form_->Comm1ReceiveData(chunk.data(), static_cast<uint16_t>(chunk.size()), GetTickCount());
    }

    String InfoLine() { return form_->L_Info->Caption(); }
    TColor InfoColor() { return form_->L_Info->Color(); }
    int LogLines() { return form_->RE_Info->Lines()->Count(); }
    String LastLogLine() { return form_->RE_Info->Lines()->Get(LogLines() - 1); }
    // The colour of the last line's last character (a memo's text ends in a line break).
    static TColor LastLineColor(TRichEdit* memo) { return memo->CharColor(memo->GetTextLen() - 3); }
    String LogPath(const char* ending) { return AppPath("Info/" + DateToStr(Date()) + ending); }

    // Waits until the information log's last line ends with `line`.
    bool Reported(const String& line) {
        return WaitUntil([&] { return LogLines() > 0 && LastLogLine().ends_with(line); });
    }

private:
    static TTeSpeedButton* MakeButton(TMainForm* form, const char* name, const char* caption, int image) {
        auto* button = new TTeSpeedButton(form);
        button->SetName(name);
        button->SetParent(form);
        button->SetText(caption);
        button->SetImageIndex(image);
        return button;
    }
};

}  // namespace tarvel::testing
