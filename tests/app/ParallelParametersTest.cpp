// The parallel parameter group against simulated modules on one line: the
// write of the grid's parameters to every selected module with the count of
// who acknowledged, its question and refusals, and the read and write of one
// module chosen by number.

#include "tests/app/ParallelRunFixture.h"

namespace tarvel::testing {
namespace {

constexpr const char* kQuestion = "多机并联更改参数未提示完成前，请等待!\n确定更改所选的 5 个模块的参数吗?";

class ParallelParametersTest : public ParallelRunTest {
protected:
    std::vector<uint8_t> ModuleAddresses() const override { return {1, 2, 3, 4, 5, 6}; }

    // The parallel parameter group in front, the modules logged in, their
    // parameters read from module 1 and the first five saved as selected.
    TMainForm* StartGroup() {
        TMainForm* form = StartParallel();
        ShowParameterTab();
        LogModulesIn();
        values_ = Values(1000);
        for (uint8_t address : ModuleAddresses()) {
            Module().UpdateModule(address, [&](sim::ModuleState& m) {
                m.protection = BlockOf(values_);
                m.ignored.clear();
            });
        }
        form->TBMS_SerilNum->SetText("1");
        ui_.Click(form, "SingleModule_Get");
        EXPECT_TRUE(WaitUntil([&] { return Parameter(1) == "1001"; }));
        SaveSelection({1, 2, 3, 4, 5});
        Module().ClearRequests();
        return form;
    }

    static ParameterValues Values(int base) {
        ParameterValues values{};
        for (int p = 1; p <= kParameters; ++p) values[p - 1] = base + p;
        return values;
    }

    std::vector<Bytes> WritesTo(uint8_t address) {
        std::vector<Bytes> writes;
        for (const Bytes& request : RequestsTo(address))
            if (request.size() > 4 && request[4] == CmdWriteBms) writes.push_back(request);
        return writes;
    }

    // The requests the modules received before a login to module 6
    // was answered: by then, everything sent before it has arrived.
    std::vector<Bytes> RequestsBeforeSync() {
        LastCommand = 0;
        form_->LoggedIn = 1;
        form_->SetModuleIndex(6);
        EXPECT_TRUE(form_->SendCommand(6, CmdLogin));
        EXPECT_TRUE(WaitUntil([] { return LastCommand == 0; }));
        std::vector<Bytes> requests = Module().Requests();
        if (!requests.empty()) requests.pop_back();
        return requests;
    }

    ParameterValues values_{};
};

TEST_F(ParallelParametersTest,
       WritesWhatTheGridShowsToEverySelectedModuleAndNamesThoseThatDidNotAcknowledge) {
    const struct Case {
        const char* what;
        std::vector<uint8_t> deaf;  // modules that let the write pass without a word
        const char* says;
    } cases[] = {
        {"all acknowledge", {}, "所有电池TBMS保护参数修改完成! (5/5 个模块已确认)"},
        {"module 3 silent", {3}, "TBMS保护参数修改未全部确认: 4/5 个模块已确认，未确认的模块: 3"},
        {"modules 1 and 5 silent",
         {1, 5},
         "TBMS保护参数修改未全部确认: 3/5 个模块已确认，未确认的模块: 1, 5"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        TMainForm* form = StartGroup();
        for (uint8_t address : c.deaf)
            Module().UpdateModule(address, [](sim::ModuleState& m) { m.ignored = {CmdWriteBms}; });
        // Edits of fields the hidden threshold grids also hold reach every module.
        TypeIntoCell(1, 0, "4100");
        TypeIntoCell(1, 4, "58000");  // P5
        TypeIntoCell(4, 6, "-5");     // P31
        ParameterValues sent = values_;
        sent[0] = 4100;
        sent[4] = 58000;
        sent[30] = -5;
        // Ticks on the set-up tab do not count: the saved selection does.
        form->ModuleChecks[5]->SetChecked(true);

        ui_.AnswerNextBox(mrYes);
        ui_.AnswerNextBox(mrOk);
        ui_.Click(form, "AllModule_Set");

        ASSERT_EQ(BoxTexts(), (std::vector<String>{kQuestion, c.says}));
        // Each selected module received the one write, in module order; the
        // others nothing.
        const std::vector<Bytes> requests = Module().Requests();
        ASSERT_EQ(requests.size(), 5u);
        for (uint8_t address = 1; address <= 5; ++address) {
            SCOPED_TRACE(::testing::Message() << "module " << int(address));
            EXPECT_EQ(requests[address - 1], WriteRequestOf(address, BlockOf(sent)));
            const bool deaf = std::ranges::count(c.deaf, address) != 0;
            EXPECT_EQ(Module().Module(address).protection, deaf ? BlockOf(values_) : BlockOf(sent));
        }
        EXPECT_TRUE(RequestsTo(6).empty());
        EXPECT_EQ(LastCommand, 0);
        CloseWindow();
    }
}

TEST_F(ParallelParametersTest, AnEarlierAcknowledgementOfTheModuleIsNotTakenForItsAnswer) {
    TMainForm* form = StartGroup();
    form->TBMS_SerilNum->SetText("1");
    ui_.Click(form, "SingleModule_Set");
    ASSERT_TRUE(WaitUntil([&] { return form->RxFrame[4] == 0x89; }));
    Module().UpdateModule(1, [](sim::ModuleState& m) { m.ignored = {CmdWriteBms}; });
    SaveSelection({1});

    ui_.AnswerNextBox(mrYes);
    ui_.AnswerNextBox(mrOk);
    ui_.Click(form, "AllModule_Set");

    ASSERT_EQ(ui_.Boxes().size(), 2u);
    EXPECT_EQ(ui_.Boxes()[1].text, "TBMS保护参数修改未全部确认: 0/1 个模块已确认，未确认的模块: 1");
}

TEST_F(ParallelParametersTest, AnsweringNoSendsNothing) {
    TMainForm* form = StartGroup();
    ui_.AnswerNextBox(mrNo);
    ui_.Click(form, "AllModule_Set");
    ASSERT_EQ(BoxTexts(), (std::vector<String>{kQuestion}));
    EXPECT_TRUE(RequestsBeforeSync().empty());
}

TEST_F(ParallelParametersTest, AValueItsFieldCannotHoldStopsTheWriteBeforeTheQuestion) {
    TMainForm* form = StartGroup();
    TypeIntoCell(1, 12, "70000");
    ui_.Click(form, "AllModule_Set");
    EXPECT_TRUE(ui_.Boxes().empty());
    EXPECT_EQ(InfoLine(), OnInfoLine("ALARM.LIM OF CELL IN CHG.OVER: 70000 is out of range (0 to 65535)"));
    EXPECT_EQ(InfoColor(), kFailureColor);
    EXPECT_TRUE(Module().Requests().empty());
}

TEST_F(ParallelParametersTest, RefusedWhileThePortIsClosedOrAQueryRunsOrNoModuleIsSaved) {
    const struct Case {
        const char* what;
        std::optional<Busy> busy;
        const char* says;
    } cases[] = {
        {"port closed", Busy::PortClosed, "Please open port frist!"},
        {"parallel polling", Busy::Polling, "Please turn off automatic query frist!"},
        {"automatic query", Busy::AutoQuery, "Please turn off automatic query frist!"},
        {"nothing saved", std::nullopt, "No module is selected: please save the polling set-up first!"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        Module().ClearRequests();
        TMainForm* form = StartParallel(c.busy != Busy::PortClosed);
        ShowParameterTab();
        if (c.busy) MakeBusy(*c.busy);
        if (c.busy) {
            // Saved, but not where a running poll would find modules to query.
            SaveSelection({1, 2});
            form->ParaRecord.ModuleSelected.fill(0);
        }
        // Ticked on the tab but never saved.
        if (!c.busy) form->ModuleChecks[0]->SetChecked(true);

        ui_.Click(form, "AllModule_Set");

        EXPECT_TRUE(ui_.Boxes().empty());
        EXPECT_EQ(InfoLine(), OnInfoLine(c.says));
        EXPECT_EQ(InfoColor(), kFailureColor);
        EXPECT_TRUE(c.busy == Busy::PortClosed ? Module().Requests().empty() : RequestsBeforeSync().empty());
        CloseWindow();
    }
}

TEST_F(ParallelParametersTest, OneModuleIsReadAndWrittenByItsNumber) {
    TMainForm* form = StartGroup();
    const ParameterValues fourth = Values(4000);
    Module().UpdateModule(4, [&](sim::ModuleState& m) { m.protection = BlockOf(fourth); });

    form->TBMS_SerilNum->SetText("4");
    ui_.Click(form, "SingleModule_Get");
    ASSERT_TRUE(WaitUntil([&] { return Parameter(1) == "4001"; }));
    EXPECT_EQ(Parameter(48), "4048");

    TypeIntoCell(4, 23, "-7");
    ParameterValues sent = fourth;
    sent[47] = -7;
    ui_.Click(form, "SingleModule_Set");
    ASSERT_TRUE(WaitUntil([&] { return Module().Module(4).protection == BlockOf(sent); }));
    EXPECT_EQ(RequestsTo(4), (std::vector<Bytes>{Bytes{4, 0x00, 0x04, 0x01, 0x15, 0x55, 0xAA, 0x19},
                                                 WriteRequestOf(4, BlockOf(sent))}));
    for (uint8_t address : {1, 2, 3, 5, 6}) EXPECT_TRUE(RequestsTo(address).empty());
}

TEST_F(ParallelParametersTest, AModuleNumberOutside1To64IsRefused) {
    TMainForm* form = StartGroup();
    for (const char* text : {"", "0", "65", "x", "-3", "2.5"}) {
        for (const char* button : {"SingleModule_Get", "SingleModule_Set"}) {
            SCOPED_TRACE(::testing::Message() << button << " with \"" << text << "\"");
            form->ShowInfo("", kSuccessColor);
            form->TBMS_SerilNum->SetText(text);
            ui_.Click(form, button);
            EXPECT_EQ(InfoLine(), OnInfoLine("Please choose a module from 1 to 64!"));
            EXPECT_EQ(InfoColor(), kFailureColor);
        }
    }
    EXPECT_TRUE(RequestsBeforeSync().empty());
}

TEST_F(ParallelParametersTest, TheModuleListOffersTheSavedSelection) {
    TMainForm* form = StartGroup();
    form->ParaRecord.ModuleSelected.fill(0);
    form->ParaRecord.ModuleSelected[1] = 1;
    form->ParaRecord.ModuleSelected[3] = 1;
    form->ParaRecord.ModuleSelected[5] = 2;  // ticked, but neither listed nor written
    ASSERT_TRUE(form->WriteParaRecord());
    form->ParaRecord.ModuleSelected.fill(0);
    form->ModuleChecks[0]->SetChecked(true);

    form->TBMS_SerilNum->SetFocus();
    ui_.RunUntilIdle();

    TStrings* items = form->TBMS_SerilNum->Items();
    ASSERT_EQ(items->Count(), 2);
    EXPECT_EQ(items->Get(0), "2");
    EXPECT_EQ(items->Get(1), "4");
    EXPECT_EQ(TickedModules(), (std::vector<int>{2, 4, 6}));
    EXPECT_EQ(form->ParaRecord.ModuleSelected[5], 2);
    ui_.PickItem(form->TBMS_SerilNum, "4");
    EXPECT_EQ(ui_.Text(form->TBMS_SerilNum), "4");
}

}  // namespace
}  // namespace tarvel::testing
