// The parallel system as a person sets it up and watches it, every press
// made by the X server: the mode switch, the polling set-up, polling with
// its confirmation box, the run state and a tile clicked for its module's
// detail window.

#include <cstring>
#include <numeric>

#include "app/SeriNum.h"
#include "tests/app/xvfb/ToolXvfbFixture.h"

namespace tarvel {
namespace {

constexpr int kModules = 8;

class ParallelE2e : public ToolOnX11 {
protected:
    sim::SimConfig Modules() const override {
        sim::SimConfig config;
        config.addresses.resize(kModules);
        std::iota(config.addresses.begin(), config.addresses.end(), uint8_t{1});
        return config;
    }

    // Open Port, Module, the first modules ticked, Confirm, Execute and its
    // box answered Yes: the run state shows.
    void StartPolling() {
        StartTool();
        ASSERT_NO_FATAL_FAILURE(OpenInParallelMode());
        for (int k = 0; k < kModules; ++k) ASSERT_TRUE(Click(MainForm->ModuleChecks[k])) << k;
        for (int k = 0; k < kModules; ++k) EXPECT_TRUE(MainForm->ModuleChecks[k]->Checked()) << k;
        ASSERT_TRUE(TypeInto(MainForm->PS_Cyc, "1"));
        ASSERT_TRUE(TypeInto(MainForm->TSBS_Cyc, "1"));
        ASSERT_TRUE(Click("TeButton1"));
        EXPECT_EQ(MainForm->ParaRecord.ModuleSelected[kModules - 1], 1);
        EXPECT_EQ(MainForm->ParaRecord.MultiPeriodSec, 1);
        AnswerBox("Yes", "e2e-poll-confirm-box.png");
        ASSERT_TRUE(Click("PC_All_Query"));
        ASSERT_FALSE(seen.empty());
        EXPECT_EQ(seen.back().text, "Please make sure the battery number and query cycle !");
        ASSERT_TRUE(Await([] { return MainForm->PC_All->GetActivePage() == MainForm->TS_RunState; }));
    }
};

TEST_F(ParallelE2e, ATileWithAReadingOpensItsDetailWindow) {
    ASSERT_NO_FATAL_FAILURE(StartPolling());
    // Every module answered once.
    ASSERT_TRUE(Await([] { return !MainForm->ModuleReadings[kModules - 1].timeText.empty(); }, 20000));
    Settle(MainForm->Handle());
    EXPECT_TRUE(Save(
        MainForm, "e2e-run-state.png"));  // The body, where the percentage shows, and the readings below it.
    const std::pair<TControl*, const char*> kParts[] = {
        {MainForm->RunStateGauges[2], "Module [3]"},
        {MainForm->VoltageLabels[5], "Module [6]"},
    };
    for (const auto& [target, caption] : kParts) {
        TControl* part = target;
        String shown;
        WhenModal([&](TCustomForm* form) {
            shown = form->Caption();
            if (part == kParts[0].first) EXPECT_TRUE(SaveScreen("e2e-run-state-detail.png"));
            form->SetModalResult(mrCancel);
        });
        ASSERT_TRUE(Click(part));
        // A loaded machine may take the press in after the click's own settling.
        EXPECT_TRUE(Await([&] { return !shown.empty(); }));
        EXPECT_EQ(shown.substr(0, std::strlen(caption)), caption) << "no detail window: " << shown;
    }
}

}  // namespace
}  // namespace tarvel

namespace tarvel {
namespace {

class ModeSwitchE2e : public ToolOnX11 {};

// Two quick clicks on Module: the first switches, the second, made while
// the window was busy switching, is not a second switch asking to leave a
// mode never seen. Back again through the box's Yes.
TEST_F(ModeSwitchE2e, ASecondClickDuringTheSwitchIsNoSecondSwitch) {
    StartTool();
    TControl* module = Control("TB_SingleConvert");
    ASSERT_TRUE(MovePointer(module));
    for (int i = 0; i < 2; ++i) ASSERT_TRUE(XButton(1, true) && XButton(1, false));
    ASSERT_TRUE(Await([] { return MainForm->MultiModuleMode != 0; }));
    Run(500);
    EXPECT_TRUE(seen.empty()) << seen.front().text;
    EXPECT_EQ(MainForm->MultiModuleMode, 1);
    EXPECT_EQ(MainForm->PC_All->GetActivePage(), MainForm->TS_PraSet);
    Settle(MainForm->Handle());
    EXPECT_TRUE(Save(MainForm, "e2e-mode-parallel.png"));

    Run(600);  // no double click
    AnswerBox("Yes", "e2e-mode-back-box.png");
    ASSERT_TRUE(Click(module));
    ASSERT_EQ(seen.size(), 1u);
    EXPECT_EQ(seen.back().text, "Does it disconnect other modules?");
    EXPECT_EQ(MainForm->MultiModuleMode, 0);
    EXPECT_EQ(MainForm->PC_All->GetActivePage(), MainForm->TS_TSBS);
}

}  // namespace
}  // namespace tarvel
