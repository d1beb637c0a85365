// The parallel parameter group of the protection-parameter tab: the
// parameters of one module of the parallel system read and written, and the
// parameters the grid shows written to every module the saved polling set-up
// selects, each module's acknowledgement awaited and counted.

#include "app/Main.h"
#include "app/Main_Params.h"
#include "link/CommandTable.h"
#include "platform/base/Strings.h"
#include "platform/classlib/Application.h"
#include "platform/classlib/DialogService.h"

namespace tarvel {
namespace {

// A module stores its parameters before it acknowledges; a silent one
// costs this much.
constexpr uint32_t kWriteWaitMs = 300;

// The module chosen in TBMS_SerilNum; none, with the refusal on the info
// line, when the box holds no module number.
std::optional<uint8_t> ChosenModule(TMainForm& form) {
    int32_t module = 0;
    if (!form.TBMS_SerilNum || !TryStrToInt(form.TBMS_SerilNum->GetText(), module) || module < 1 ||
        module > kModuleCount) {
        form.ShowInfo("Please choose a module from 1 to 64!", kFailureColor);
        return std::nullopt;
    }
    return static_cast<uint8_t>(module);
}

String ModuleList(const std::vector<uint8_t>& modules) {
    String list;
    for (const uint8_t module : modules) list += (list.empty() ? "" : ", ") + IntToStr(module);
    return list;
}

}  // namespace

void TMainForm::BindParallelParamsHandlers() {
    if (TBMS_SerilNum) TBMS_SerilNum->OnEnter = [this](TObject* sender) { TBMS_SerilNumEnter(sender); };
    if (SingleModule_Get)
        SingleModule_Get->OnClick = [this](TObject* sender) { SingleModule_GetClick(sender); };
    if (SingleModule_Set)
        SingleModule_Set->OnClick = [this](TObject* sender) { SingleModule_SetClick(sender); };
    if (AllModule_Set) AllModule_Set->OnClick = [this](TObject* sender) { AllModule_SetClick(sender); };
}

// The list offers the modules of the saved polling set-up, and the check
// boxes show that set-up again.
void TMainForm::TBMS_SerilNumEnter(TObject*) {
    TBMS_SerilNum->Items()->Clear();
    ReadParaRecord();
    for (int i = 0; i < kModuleCount; ++i) {
        const int32_t flag = ParaRecord.ModuleSelected[i];
        if (ModuleChecks[i]) ModuleChecks[i]->SetChecked(flag != 0);
        if (flag == 1) TBMS_SerilNum->Items()->Add(IntToStr(i + 1));
    }
}

void TMainForm::SingleModule_GetClick(TObject*) {
    const std::optional<uint8_t> module = ChosenModule(*this);
    if (!module) return;
    // One module of a parallel system answers without a login of its own.
    LoggedIn = 1;
    SetModuleIndex(*module);
    SendCommand(*module, CmdReadBms);
}

void TMainForm::SingleModule_SetClick(TObject*) {
    if (AutoQueryOn) {
        ShowInfo("Please turn off automatic query!", kFailureColor);
        return;
    }
    if (!IsLoggedIn()) return;
    const std::optional<uint8_t> module = ChosenModule(*this);
    if (!module) return;
    // Its acknowledgement passes the reply check only from the address the box holds.
    SetModuleIndex(*module);
    SendBmsWrite();
}

void TMainForm::AllModule_SetClick(TObject*) {
    if (!ReadyForModuleRun()) return;
    // The saved set-up decides, not the ticks on its tab.
    ReadParaRecord();
    std::vector<uint8_t> modules;
    for (int i = 0; i < kModuleCount; ++i)
        if (ParaRecord.ModuleSelected[i] == 1) modules.push_back(static_cast<uint8_t>(i + 1));
    if (modules.empty()) {
        ShowInfo("No module is selected: please save the polling set-up first!", kFailureColor);
        return;
    }
    // Built once, before anything goes out: every module gets the same block.
    std::optional<FrameBytes> request = BmsWriteFromGrid(*this, 0);
    if (!request) return;
    const String question = "多机并联更改参数未提示完成前，请等待!\n确定更改所选的 " +
                            IntToStr(static_cast<int64_t>(modules.size())) + " 个模块的参数吗?";
    if (Application->MessageBox(question, "", MB_YESNO | MB_ICONINFORMATION) != IDYES) return;

    std::vector<uint8_t> silent;
    const bool ran = SendToEachModule(modules, std::move(*request), ReplyCode(CmdWriteBms), kWriteWaitMs, {},
                                      [&silent](uint8_t module, bool acknowledged) {
                                          if (!acknowledged) silent.push_back(module);
                                      });
    if (!ran) return;
    const String count = IntToStr(static_cast<int64_t>(modules.size() - silent.size())) + "/" +
                         IntToStr(static_cast<int64_t>(modules.size()));
    if (silent.empty()) {
        Application->MessageBox("所有电池TBMS保护参数修改完成! (" + count + " 个模块已确认)");
        return;
    }
    Application->MessageBox("TBMS保护参数修改未全部确认: " + count +
                            " 个模块已确认，未确认的模块: " + ModuleList(silent));
}

}  // namespace tarvel
