// The Run State page under Xvfb after a round of polling 60 of 64 simulated
// modules in every state a tile tells apart, three of them silent, and the
// detail window of one module.

#include <numeric>

#include "app/SeriNum.h"
#include "platform/classlib/DialogService.h"
#include "tests/app/xvfb/ToolXvfbFixture.h"

namespace tarvel {
namespace {

constexpr int kPolled = 60;

bool Silent(int module) { return module == 13 || module == 27 || module == 50; }

class YesToEveryBox : public TDialogService {
public:
    int ShowBox(const TBoxRequest&) override { return mrYes; }
    bool InputQuery(const String&, const String&, String&) override { return false; }
    bool ChooseFile(TFileRequest&) override { return false; }
};

class RunStateOnX11 : public ToolOnX11 {
protected:
    sim::SimConfig Modules() const override {
        sim::SimConfig config;
        config.addresses.resize(kModuleCount);
        std::iota(config.addresses.begin(), config.addresses.end(), uint8_t{1});
        config.baud = 0;
        for (int k = 1; k <= kModuleCount; ++k) {
            if (!Silent(k)) continue;
            std::string error;
            config.faults.push_back(*sim::ParseFault("silent:times=0,module=" + std::to_string(k), error));
        }
        return config;
    }

    void SetStates() {
        static constexpr uint16_t kStates[] = {0, 1, 2, 4, 1, 2, 3};
        for (uint8_t k = 1; k <= kModuleCount; ++k)
            line->Sim().UpdateModule(k, [k](sim::ModuleState& m) {
                m.steady = true;
                m.telemetry.battState = kStates[k % 7];
                m.telemetry.alarm = k % 9 == 0 ? 1 : 0;
                m.telemetry.protection = k % 17 == 0 ? 0x40 : 0;
                m.telemetry.soc = static_cast<uint16_t>((k * 37) % 101);
                m.telemetry.batt = 51000 + k * 31;
                m.telemetry.current = k % 2 ? -12000 - k : 8000 + k;
            });
    }
};

TEST_F(RunStateOnX11, SixtyFourTilesInTheirStatesAndADetailWindow) {
    SetStates();
    Application->SetTitle(kAppName);
    Application->CreateForm(MainForm);
    Application->CreateForm(SerialNum);
    TMainForm* form = MainForm;
    form->Show();
    form->KillPollTimer();
    form->TB_COMSwitchClick(nullptr);
    ASSERT_TRUE(form->PortOpen);
    CommTimeouts quick;
    quick.readInterval = 5;
    form->Comm1->SetTimeouts(quick);
    form->ModeSwitchClick(nullptr);
    Settle(form->Handle());

    for (int k = 1; k <= kPolled; ++k) form->ModuleChecks[k - 1]->SetChecked(true);
    form->PS_Cyc->SetText("1");
    form->TSBS_Cyc->SetText("1");
    form->TeButton1->Click();
    YesToEveryBox yes;
    TDialogService* previous = SetDialogService(&yes);
    form->PC_All_Query->SetChecked(true);
    SetDialogService(previous);
    ASSERT_EQ(form->PC_All->GetActivePage(), form->TS_RunState);

    // One round and the first module again, each answer given time to come;
    // the tiles are painted once, at the end.
    form->PC_All->SetActivePage(form->TS_TSBS);
    for (uint32_t sent = 0; sent < kPolled + 1;) {
        // The clock's ticks need no pass of the loop; answers do.
        form->PollTick();
        if (form->PollRequestCount == sent) continue;
        sent = form->PollRequestCount;
        const int module = form->PollIndex + 1;
        if (Silent(module)) {
            while (form->PollInProgress) form->PollTick();
        } else {
            ASSERT_TRUE(RunUntil([&] { return form->PollInProgress == 0; })) << module;
        }
    }
    form->PC_All->SetActivePage(form->TS_RunState);
    Settle(form->Handle());
    EXPECT_TRUE(Save(form, "tool-run-state-64-modules.png"));

    SerialNum->FillModule(17, form->ModuleReadings[16], "TBM2024000117");
    SerialNum->Show();
    Settle(SerialNum->Handle());
    EXPECT_TRUE(Save(SerialNum, "tool-module-detail.png"));
    SerialNum->Hide();

    // The widest readings a module can send show whole inside their tile's
    // frame, which runs two pixels in from its right edge.
    for (int i = 0; i < kModuleCount; ++i) {
        for (auto [label, text] : {std::pair{form->VoltageLabels[i], u"V  65535mV"},
                                   std::pair{form->CurrentLabels[i], u"I  -32768mA"}}) {
            label->SetCaption(text);
            label->SetAutoSize(true);  // sizes it to its text in its own font
            EXPECT_LE(label->Left() + label->Width(), label->Parent()->Width() - 3) << i;
        }
    }
}

}  // namespace
}  // namespace tarvel
