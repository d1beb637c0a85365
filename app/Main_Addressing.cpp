// Automatic addressing: every module address of a parallel system, 1 to 64,
// is probed with the login request; each module that acknowledges from its
// own address gets its check box ticked on the polling set-up tab, and the
// number found is kept in ModulesAddressed. The run over the modules is
// shared with the all-module parameter write.

#include "app/Main.h"
#include "app/Main_Pages.h"
#include "app/Main_ReplyWait.h"
#include "link/CommandTable.h"
#include "link/DeviceFrame.h"
#include "platform/classlib/Application.h"
#include "platform/classlib/DialogService.h"

namespace tarvel {
namespace {

constexpr int kPraSetPanel = 4;
// A module answers a login within a few milliseconds; this long after the
// request its answer still counts.
constexpr uint32_t kProbeWaitMs = 300;
// Window messages are handled in slices this long while a module is awaited.
constexpr uint32_t kAwaitSliceMs = 10;
// A whole acknowledgement `replyCode` with status 0 from `module`.
bool IsAcknowledgement(ByteSpan frame, uint8_t module, uint8_t replyCode) {
    return ReplyData(frame, replyCode, {frame::kAckLength}) && frame[frame::kAddress] == module &&
           frame[frame::kStatus] == 0;
}

}  // namespace

void TMainForm::BindAddressingHandlers() {
    if (M_send) return;  // bound already
    if (TeButton3) TeButton3->OnClick = [this](TObject* sender) { TeButton3Click(sender); };
    // Beside the module check boxes: what was probed, and who answered.
    TWinControl* page = ScrolledPanels[kPraSetPanel];
    M_send = MakeControl<TMemo>(this, page, "M_send", 882, 8, 56, 300);
    M_Receive = MakeControl<TMemo>(this, page, "M_Receive", 940, 8, 56, 300);
    for (TMemo* memo : {M_send, M_Receive}) {
        memo->SetScrollBars(ssVertical);
        memo->Lines()->Add(memo->Name());
    }
}

bool TMainForm::ReadyForModuleRun() {
    if (ModuleRunActive) return false;
    if (PortOpen == 0) {
        ShowInfo("Please open port frist!", kFailureColor);
        return false;
    }
    // Their requests would cross the run's and their replies be taken for its answers.
    const bool querying = (PC_All_Query && PC_All_Query->Checked()) ||
                          (TSBS_CycQuery && TSBS_CycQuery->Checked()) || AutoQueryOn;
    if (querying) {
        ShowInfo("Please turn off automatic query frist!", kFailureColor);
        return false;
    }
    return true;
}

bool TMainForm::SendToEachModule(const std::vector<uint8_t>& modules, FrameBytes request, uint8_t replyCode,
                                 uint32_t waitMs, const std::function<void(uint8_t module)>& sending,
                                 const std::function<void(uint8_t module, bool acknowledged)>& answered) {
    struct Restore {
        TMainForm& form;
        int index;
        ~Restore() {
            form.SetModuleIndex(index);
            form.ModuleRunActive = 0;
            LastCommand = 0;
        }
    } restore{*this, ModuleIndex()};
    ModuleRunActive = 1;

    for (const uint8_t module : modules) {
        request[frame::kAddress] = module;
        // The reply check takes replies only from the address the box holds.
        SetModuleIndex(module);
        LastCommand = request[frame::kCommand];
        std::copy(request.begin(), request.end(), TxFrame.begin());
        // Only a frame found after the write can be the answer: the one held
        // may be an earlier acknowledgement of the same module.
        const uint64_t framesBefore = Scanner->FramesFound();
        if (!Comm1->WriteCommData(TxFrame.data(), static_cast<uint16_t>(request.size()))) {
            ShowInfo("Please open port frist!", kFailureColor);
            return false;
        }
        const WaitClock sent;
        const uint32_t limitMs = waitMs + ReplyHandOverMs(*Comm1);
        if (sending) sending(module);
        bool acknowledged = false;
        auto heard = [&] {
            return Scanner->FramesFound() != framesBefore &&
                   IsAcknowledgement(ByteSpan(RxFrame.data(), RxFrameLength), module, replyCode);
        };
        while (!acknowledged && sent.Elapsed() < limitMs) {
            WaitMs(kAwaitSliceMs);
            if (Application->Terminated()) return false;
            acknowledged = heard();
        }
        // Bytes that came inside the wait are heard out, however slowly a
        // loaded machine's threads hand them on.
        const WaitClock late;
        while (!acknowledged && AnswerStillComing(*Comm1, late.Elapsed())) {
            WaitMs(kAwaitSliceMs);
            if (Application->Terminated()) return false;
            acknowledged = heard();
        }
        answered(module, acknowledged);
    }
    return true;
}

void TMainForm::TeButton3Click(TObject*) {
    if (!ReadyForModuleRun()) return;
    ModulesAddressed = 0;
    if (Application->MessageBox(
            "Automatic addressing needs about 30 s, before prompts to complete, please wait!", "",
            MB_YESNO | MB_ICONINFORMATION) != IDYES)
        return;

    // The boxes show the modules found; the polling record takes them when
    // the user saves the set-up.
    for (TTeCheckBox* box : ModuleChecks)
        if (box) box->SetChecked(false);
    ParaRecord.ModuleSelected.fill(0);

    std::vector<uint8_t> addresses(kModuleCount);
    for (int i = 0; i < kModuleCount; ++i) addresses[i] = static_cast<uint8_t>(i + 1);
    int found = 0;
    const bool ran = SendToEachModule(
        addresses, BuildRequest(0, CmdLogin), ReplyCode(CmdLogin), kProbeWaitMs,
        [this](uint8_t module) {
            if (M_send) M_send->Lines()->Add(IntToStr(module));
        },
        [this, &found](uint8_t module, bool acknowledged) {
            if (M_send) M_send->Lines()->Add("OK");
            if (acknowledged) {
                ++found;
                if (TTeCheckBox* box = ModuleChecks[module - 1]) box->SetChecked(true);
            }
            if (M_Receive) M_Receive->Lines()->Add(acknowledged ? IntToStr(module) : String("NO"));
        });
    ModulesAddressed = found;
    if (!ran) return;
    Application->MessageBox(" battery quantity is  " + IntToStr(found) +
                            "PCS ，Please make sure the battery number!");
}

}  // namespace tarvel
