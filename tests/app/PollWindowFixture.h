#pragma once
// The main window for the poll clock's and the close's tests: the controls
// they touch, and the far end of a pseudo-terminal to see what the poll
// writes on the line.

#include <chrono>
#include <vector>

#include "platform/serial/PseudoTerminal.h"
#include "tests/app/MainWindowFixture.h"

namespace tarvel::testing {

class PollWindowTest : public MainWindowTest {
protected:
    // The window with its real 10 ms timer stopped: ticks come only from the
    // test calling PollTick.
    TMainForm* StartStill() {
        TMainForm* form = Start();
        form->KillPollTimer();
        ui_.RunUntilIdle();
        // Real ticks may have run during the start: count from a whole second.
        form->PollTicks = 0;
        form->QueryTicks = 0;
        SupplyControls(form);
        return form;
    }

    // The controls the clock and the close use, made here as the window's
    // pages would make them wherever the window has not made them itself.
    static void SupplyControls(TMainForm* form) {
        TWinControl* tiles = form->ScrolledPanels[0];
        for (int i = 0; i < kModuleCount; ++i) {
            Ensure(form->RunStateGauges[i], form, tiles, "Bat_RunState" + IntToStr(i + 1));
            Ensure(form->PosGauges[i], form, tiles, "BatPosCG" + IntToStr(i + 1));
        }
        Ensure(form->BatColorStore, form, tiles, "BatColorStore");
        Ensure(form->PC_All_Query, form, form, "PC_All_Query");
        Ensure(form->PS_Cyc, form, form->ScrolledPanels[4], "PS_Cyc");
        Ensure(form->TSBS_Cyc, form, form->ScrolledPanels[4], "TSBS_Cyc");
        Ensure(form->SG_SerialNum, form, form->ScrolledPanels[5], "SG_SerialNum");
        Ensure(form->RE_Info, form, form->ScrolledPanels[8], "RE_Info");
        Ensure(form->RE_CommData, form, form->ScrolledPanels[8], "RE_CommData");
        Ensure(form->RE_ExtInfo, form, form->TS_ExtComm, "RE_ExtInfo");
        if (!form->CB_ModuleAddr) {
            Ensure(form->CB_ModuleAddr, form, form, "CB_ModuleAddr");
            for (int i = 0; i < kModuleCount; ++i) form->CB_ModuleAddr->Items()->Add(IntToStr(i));
        }
    }

    // Puts the window's port on a fresh pseudo-terminal.
    void OpenPortOnPty(TMainForm* form) {
        ASSERT_TRUE(pty_.Open());
        form->Comm1->SetCommName(pty_.SlavePath());
        form->Comm1->StartComm();
    }

    // What the window wrote on the line: `count` bytes, or what came within
    // a second; then a short wait shows nothing more follows.
    std::vector<uint8_t> LineBytes(size_t count) {
        std::vector<uint8_t> bytes;
        uint8_t buffer[256];
        auto wait = std::chrono::milliseconds(1000);
        while (pty_.WaitReadable(nullptr, wait) == WaitResult::Ready) {
            const auto n = pty_.ReadSome(buffer, sizeof buffer);
            if (!n) break;
            bytes.insert(bytes.end(), buffer, buffer + *n);
            if (bytes.size() >= count) wait = std::chrono::milliseconds(50);
        }
        return bytes;
    }

    PseudoTerminal pty_;

private:
    template <class T>
    static void Ensure(T*& slot, TMainForm* form, TWinControl* parent, const String& name) {
        if (slot) return;
        slot = new T(form);
        slot->SetName(name);
        slot->SetParent(parent);
    }
};

}  // namespace tarvel::testing
