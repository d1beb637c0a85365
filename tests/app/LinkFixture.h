#pragma once
// The main window's link under test: frames handed to the receive handler
// as Comm1 would hand them, or a simulated module on a pseudo-terminal
// behind the real port.

#include <chrono>
#include <functional>
#include <thread>
#include <vector>

#include "link/CommandTable.h"
#include "link/DeviceFrame.h"
#include "platform/base/Ticks.h"
#include "tests/app/MainWindowFixture.h"
#include "tools/bms-sim/SimLink.h"

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

class LinkTest : public MainWindowTest {
protected:
    // The window with the tool-bar controls the link works through, made
    // here as the tool bar makes them when the frame does not yet.
    TMainForm* StartLinked() {
        TMainForm* form = Start();
        if (!form->CB_ModuleAddr) {
            form->CB_ModuleAddr = new TTeComboBox(form);
            form->CB_ModuleAddr->SetName("CB_ModuleAddr");
            form->CB_ModuleAddr->SetParent(form);
            for (int i = 0; i < kModuleCount; ++i) form->CB_ModuleAddr->Items()->Add(std::to_string(i));
        }
        if (form->CB_ModuleAddr->ItemIndex() < 0) form->CB_ModuleAddr->SetItemIndex(0);
        if (!form->TB_LOG) form->TB_LOG = MakeButton(form, "TB_LOG", "Login", 7);
        if (!form->TB_COMSwitch) form->TB_COMSwitch = MakeButton(form, "TB_COMSwitch", "Open Port", 4);
        form->TB_LOG->OnClick = [form](TObject* sender) { form->TB_LOGClick(sender); };
        return form;
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

    // Opens the port on the simulated module's pseudo-terminal.
    void OpenPortOn(sim::SimLink& link) {
        form_->Comm1->SetCommName(link.DevicePath());
        if (!form_->OpenPort()) {
            form_->Comm1->StartComm();
            form_->PortOpen = 1;
        }
    }

    // Runs the window's loop until `done` holds; whether it did in time.
    bool RunUntil(const std::function<bool()>& done,
                  std::chrono::milliseconds timeout = std::chrono::milliseconds(3000)) {
        const auto deadline = std::chrono::steady_clock::now() + timeout;
        for (;;) {
            ui_.RunUntilIdle();
            if (done()) return true;
            if (std::chrono::steady_clock::now() > deadline) return false;
            std::this_thread::sleep_for(std::chrono::milliseconds(2));
        }
    }

    void RunFor(std::chrono::milliseconds time) {
        RunUntil([] { return false; }, time);
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
