// The remote-control commands end to end: each button's frame as the
// simulated module received it, the box its acknowledgement brings, the
// displays of the three queries, and the refusals that send nothing.

#include <functional>

#include "tests/app/RemoteControlFixture.h"

namespace tarvel::testing {
namespace {

Bytes Frame(uint8_t command, const Bytes& data) { return BuildFrame(0, command, data); }
Bytes Plain(uint8_t command) { return BuildRequest(0, command); }

Bytes Switches(std::initializer_list<int> ticked) {
    Bytes flags(20, 0);
    for (int n : ticked) flags[n - 1] = 1;
    return flags;
}

Bytes Delays(std::initializer_list<uint16_t> counts) {
    Bytes data;
    for (uint16_t count : counts) AppendLe16(data, count);
    return data;
}

class RemoteControlCommands : public RemoteControlTest {
public:
    void Pick(const String& combo, const String& item) { ui_.PickItem(Reveal(combo), item); }
    void Click(const String& control) { ui_.Click(Reveal(control)); }
};

struct CommandCase {
    const char* button;
    std::function<void(RemoteControlCommands&)> prepare;  // choices made before the click
    Bytes frame;
    const char* box;  // the acknowledgement's box, nullptr for none
};

std::function<void(RemoteControlCommands&)> Picking(const char* combo, const char* item) {
    return [=](RemoteControlCommands& t) { t.Pick(combo, item); };
}

std::function<void(RemoteControlCommands&)> Clicking(std::vector<const char*> controls) {
    return [=](RemoteControlCommands& t) {
        for (const char* name : controls) t.Click(name);
    };
}

TEST_F(RemoteControlCommands, EachCommandReachesTheModuleAndItsAcknowledgementIsShown) {
    const CommandCase cases[] = {
        {"B_OpenChg", {}, Plain(CmdOpenChg), nullptr},
        {"B_CloseChg", {}, Plain(CmdCloseChg), nullptr},
        {"B_OpenDis", {}, Plain(CmdOpenDis), nullptr},
        {"B_CloseDis", {}, Plain(CmdCloseDis), nullptr},
        {"B_OpenSpeaker", {}, Plain(CmdOpenSpeaker), nullptr},
        {"B_CloseSpeaker", {}, Plain(CmdCloseSpeaker), "成功关闭蜂鸣器!"},
        {"Openchlimit", {}, Plain(CmdOpenChLimit), "限流回路开启!"},
        {"Closechlimit", {}, Plain(CmdCloseChLimit), "限流回路关闭!"},
        {"Setprotect", Clicking({"Protect_OFF1", "Protect_OFF5", "Protect_OFF13"}),
         Frame(CmdSetProtect, Switches({1, 5, 13})), "设置保护功能关闭成功!"},
        {"TeButton6", Picking("valueset", "5"), Plain(CmdSetLimit5A), nullptr},
        {"TeButton6", Picking("valueset", "10"), Plain(CmdSetLimit10A), nullptr},
        {"TeButton7", {}, Frame(CmdSetChargeCircuit, {0, 1}), "Set Success!"},
        {"TeButton8", {}, Frame(CmdSetChargeCircuit, {1, 1}), "Set Success!"},
        {"TeButton9", {}, Frame(CmdSetChargeCircuit, {1, 2}), "Set Success!"},
        {"TeButton10", {}, Frame(CmdSetChargeCircuit, {1, 5}), "Set Success!"},
        {"TeButton14", {}, Frame(CmdSetChargeCircuit, {0, 1}), "Set Success!"},
        {"TeButton15", {}, Frame(CmdSetChargeCircuit, {1, 5}), "Set Success!"},
        {"TeButton13", Picking("TeComboBox2", "0.7"), Frame(CmdSetLimitCurrent, {7}), "Set Success!"},
        {"TeButton13", Picking("TeComboBox2", "10"), Frame(CmdSetLimitCurrent, {16}), "Set Success!"},
        {"TeEffectButton2", Clicking({"TeRadioButton2"}), Frame(CmdSetWorkMode, {0x00}), nullptr},
        {"TeEffectButton2", Clicking({"TeRadioButton1"}), Frame(CmdSetWorkMode, {0xFF}), nullptr},
        {"B_Setdistime", Clicking({"Loadvalues"}), Frame(CmdSetDisTime, Delays({150, 3, 600, 4})), nullptr},
    };
    StartLoggedIn();
    for (const CommandCase& c : cases) {
        SCOPED_TRACE(c.button);
        if (c.prepare) c.prepare(*this);
        const size_t boxesBefore = ui_.Boxes().size();
        if (c.box) ui_.AnswerNextBox(mrOk);
        const std::vector<Bytes> received = ClickAndAwait(c.button);
        EXPECT_EQ(received, std::vector<Bytes>{c.frame});
        if (c.box) {
            ASSERT_TRUE(WaitUntil([&] { return ui_.Boxes().size() > boxesBefore; }));
            EXPECT_EQ(ui_.Boxes().back().text, c.box);
        }
        EXPECT_EQ(ui_.Boxes().size(), boxesBefore + (c.box ? 1 : 0));
    }
    EXPECT_EQ(ui_.Dialogs().UnusedAnswers(), 0u);
    const sim::ModuleState module = Module().Module(kModuleAddress);
    EXPECT_EQ(module.overCurrentDelays, Delays({150, 3, 600, 4}));
    EXPECT_EQ(module.workMode, 0xFF);
}

TEST_F(RemoteControlCommands, TheDelaysAtTheirUpperBoundsGoOut) {
    StartLoggedIn();
    const char* texts[] = {"30000", "500", "61000", "500"};
    for (size_t i = 0; i < 4; ++i) form_->DelayEdits[i]->SetText(texts[i]);
    EXPECT_EQ(ClickAndAwait("B_Setdistime"),
              std::vector<Bytes>{Frame(CmdSetDisTime, Delays({300, 5, 610, 5}))});
}

TEST_F(RemoteControlCommands, QueriesShowTheModulesAnswer) {
    TMainForm* form = StartLoggedIn();
    Module().UpdateModule(kModuleAddress, [](sim::ModuleState& m) {
        m.overCurrentDelays = Delays({100, 2, 500, 3});
        m.workMode = 0x00;
        m.limitCurrent = 7;
    });

    EXPECT_EQ(ClickAndAwait("B_Checkdistime"), std::vector<Bytes>{Plain(CmdCheckDisTime)});
    const char* delays[] = {"10000", "200", "50000", "300"};
    for (size_t i = 0; i < 4; ++i) EXPECT_EQ(form->DelayEdits[i]->Text(), delays[i]) << i;

    EXPECT_EQ(ClickAndAwait("TeEffectButton1"), std::vector<Bytes>{Plain(CmdGetWorkMode)});
    EXPECT_TRUE(form->TeRadioButton2->Checked());
    EXPECT_EQ(form->TeSEdit2->Text(), "老化程序");

    EXPECT_EQ(ClickAndAwait("TeButton12"), std::vector<Bytes>{Plain(CmdGetLimitCurrent)});
    EXPECT_EQ(form->TeComboBox2->Text(), "0.7");
}

TEST_F(RemoteControlCommands, TheLimitCurrentShowsOnlyTheTwoCodes) {
    TMainForm* form = StartLoggedIn();
    const std::pair<uint8_t, const char*> cases[] = {{16, "10"}, {7, "0.7"}, {5, "0.7"}, {0, "0.7"}};
    for (const auto& [code, shown] : cases) {
        Receive(Reply(kModuleAddress, 0xBA, 0, {code}));
        EXPECT_EQ(form->TeComboBox2->Text(), shown) << int(code);
    }
}

// The protection switches, the limit value, the charge circuit and the limit
// current go out whether or not the module is logged in.
TEST_F(RemoteControlCommands, CommandsWithoutChecksGoOutLoggedOut) {
    TMainForm* form = StartBound();
    ASSERT_TRUE(form->OpenPort());
    Pick("valueset", "10");
    Pick("TeComboBox2", "10");
    for (const char* button : {"Setprotect", "TeButton6", "TeButton7", "TeButton13", "TeButton14"}) {
        SCOPED_TRACE(button);
        Module().ClearRequests();
        ui_.Click(Reveal(button));
        EXPECT_TRUE(WaitUntil([&] { return Module().Requests().size() == 1; }));
        EXPECT_FALSE(InfoLine().ends_with("Please login frist!"));
    }
}

TEST_F(RemoteControlCommands, CommandsBehindTheLoginSendNothingLoggedOut) {
    TMainForm* form = StartBound();
    SwitchToEngineeringView();
    ASSERT_TRUE(form->OpenPort());
    const size_t boxesAtStart = ui_.Boxes().size();
    for (const char* button : {"B_OpenChg", "B_CloseSpeaker", "B_Checkdistime", "B_Setdistime",
                               "TeEffectButton1", "TeEffectButton2", "TeButton12"}) {
        SCOPED_TRACE(button);
        form->L_Info->SetCaption("");
        ui_.Click(Reveal(button));
        EXPECT_EQ(InfoLine(), "    Please login frist!");
    }
    EXPECT_TRUE(ReceivedAfterPause().empty());
    EXPECT_EQ(ui_.Boxes().size(), boxesAtStart);
}

struct DelayRefusal {
    std::array<const char*, 4> ms;
    const char* box;
};

TEST_F(RemoteControlCommands, DelaysOutOfRangeOrNotWholeAreRefused) {
    const DelayRefusal cases[] = {
        {{"0", "300", "60000", "400"}, "请对每项延时进行编辑后进行设置!"},
        {{"15000", "300", "60000", "0"}, "请对每项延时进行编辑后进行设置!"},
        {{"30100", "300", "60000", "400"}, "1C充电过流保护时间设置范围为 0~30000【mS】!"},
        {{"-100", "300", "60000", "400"}, "1C充电过流保护时间设置范围为 0~30000【mS】!"},
        {{"15000", "600", "60000", "400"}, "2C充电过流保护时间设置范围为 0~500【mS】!"},
        {{"15000", "300", "61100", "400"}, "1C放电过流保护时间设置范围为 0~61000【mS】!"},
        {{"15000", "300", "60000", "600"}, "2C放电过流保护时间设置范围为 0~500【mS】!"},
        {{"15000", "150", "60000", "400"}, "'1.5' is not a valid integer value."},
        {{"15000", "300", "abc", "400"}, "'abc' is not a valid floating point value."},
        {{"", "300", "60000", "400"}, "'' is not a valid floating point value."},
    };
    TMainForm* form = StartLoggedIn();
    for (const DelayRefusal& c : cases) {
        SCOPED_TRACE(c.ms[0] + std::string("/") + c.ms[1] + "/" + c.ms[2] + "/" + c.ms[3]);
        for (size_t i = 0; i < 4; ++i) form->DelayEdits[i]->SetText(c.ms[i]);
        ui_.AnswerNextBox(mrOk);
        ui_.Click(Reveal("B_Setdistime"));
        ASSERT_FALSE(ui_.Boxes().empty());
        EXPECT_EQ(ui_.Boxes().back().text, c.box);
    }
    EXPECT_TRUE(ReceivedAfterPause().empty());
}

TEST_F(RemoteControlCommands, WritesWaitForTheAutomaticQueryToStop) {
    TMainForm* form = StartLoggedIn();
    form->AutoQueryOn = 1;
    for (const char* button : {"B_Setdistime", "TeEffectButton2"}) {
        form->L_Info->SetCaption("");
        ui_.Click(Reveal(button));
        EXPECT_EQ(InfoLine(), "    请先关闭自动查询！") << button;
        EXPECT_EQ(InfoColor(), kFailureColor);
    }
    EXPECT_TRUE(ReceivedAfterPause().empty());
}

TEST_F(RemoteControlCommands, ALimitChoiceOutsideTheListSendsNothing) {
    TMainForm* form = StartLoggedIn();
    form->valueset->SetText("15");
    ui_.Click(Reveal("TeButton6"));
    EXPECT_EQ(InfoLine(), "    The limit value must be 5 or 10!");
    form->TeComboBox2->SetText("");
    ui_.Click(Reveal("TeButton13"));
    EXPECT_EQ(InfoLine(), "    Please choose a limit current first!");
    form->valueset->SetText("five");
    ui_.AnswerNextBox(mrOk);
    ui_.Click(Reveal("TeButton6"));
    EXPECT_EQ(ui_.Boxes().back().text, "'five' is not a valid integer value.");
    EXPECT_TRUE(ReceivedAfterPause().empty());
}

}  // namespace
}  // namespace tarvel::testing
