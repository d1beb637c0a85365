#pragma once
// Runs over the modules of a parallel system, against simulated modules on
// one line: the window in parallel mode with automatic addressing and the
// parallel parameter group bound, and its port open.

#include <algorithm>
#include <initializer_list>
#include <vector>

#include "tests/app/ProtectionParametersFixture.h"

namespace tarvel::testing {

class ParallelRunTest : public ProtectionParametersTest {
protected:
    // The window in parallel mode, on the polling set-up tab; `open` opens the port.
    TMainForm* StartParallel(bool open = true) {
        TMainForm* form = StartParams();
        form->BindAddressingHandlers();  // a second call changes nothing
        form->BindParallelParamsHandlers();
        ui_.Click(form->TB_SingleConvert);
        EXPECT_TRUE(form->MultiModuleMode);
        if (open) {
            const bool opened = form->OpenPort();
            EXPECT_TRUE(opened) << LastBoxText();
        }
        ui_.Dialogs().Forget();
        return form;
    }

    // Parallel mode shows the protection-parameter tab only in the engineering view.
    void ShowParameterTab() {
        ui_.AnswerNextInput("7309");
        ui_.PressKey('C', TShiftState{ssCtrl, ssAlt});
        form_->PC_All->SetActivePage(form_->TS_TBMS);
        ui_.RunUntilIdle();
        ui_.Dialogs().Forget();
    }

    // Logs the modules in, as they are after an addressing run.
    void LogModulesIn() {
        for (uint8_t address : ModuleAddresses())
            Module().UpdateModule(address, [](sim::ModuleState& m) { m.loggedIn = true; });
    }

    // "ParaRecord.dat" selecting `modules` (1-based), as the polling set-up saves it.
    void SaveSelection(std::initializer_list<int> modules) {
        form_->ParaRecord.ModuleSelected.fill(0);
        for (int module : modules) form_->ParaRecord.ModuleSelected[module - 1] = 1;
        ASSERT_TRUE(form_->WriteParaRecord());
    }

    // What keeps a run over the modules from starting.
    enum class Busy { PortClosed, Polling, CyclicQuery, AutoQuery };

    // The window in parallel mode with `busy` in the way. The queries are
    // left as their own starts leave them; those starts are not under test.
    TMainForm* StartBusy(Busy busy) {
        TMainForm* form = StartParallel(busy != Busy::PortClosed);
        MakeBusy(busy);
        return form;
    }

    void MakeBusy(Busy busy) {
        if (busy == Busy::Polling) TickQuietly(form_->PC_All_Query);
        if (busy == Busy::CyclicQuery) TickQuietly(form_->TSBS_CycQuery);
        if (busy == Busy::AutoQuery) form_->AutoQueryOn = 1;
    }

    void CloseWindow() {
        delete form_;
        form_ = nullptr;
        ui_.RunUntilIdle();
    }

    // The module numbers whose check boxes are ticked.
    std::vector<int> TickedModules() {
        std::vector<int> ticked;
        for (int i = 0; i < kModuleCount; ++i)
            if (form_->ModuleChecks[i]->Checked()) ticked.push_back(i + 1);
        return ticked;
    }

    // The frames module `address` received, in order.
    std::vector<Bytes> RequestsTo(uint8_t address) {
        std::vector<Bytes> frames;
        for (const Bytes& request : Module().Requests())
            if (!request.empty() && request[0] == address) frames.push_back(request);
        return frames;
    }

    static void TickQuietly(TTeCheckBox* box) {
        auto click = std::move(box->OnClick);
        box->OnClick = nullptr;
        box->SetChecked(true);
        box->OnClick = std::move(click);
    }

    // The info line showing `text`.
    static String OnInfoLine(const char* text) { return String("    ") + text; }

    std::vector<String> BoxTexts() {
        std::vector<String> texts;
        for (const TBoxRecord& box : ui_.Boxes()) texts.push_back(box.text);
        return texts;
    }
};

}  // namespace tarvel::testing
