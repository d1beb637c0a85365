// Automatic addressing against simulated modules on one line: the probes of
// every address, the check boxes of the modules found, the count, and the
// refusals.

#include "platform/system/RecordFile.h"
#include "tests/app/ParallelRunFixture.h"

namespace tarvel::testing {
namespace {

constexpr const char* kQuestion =
    "Automatic addressing needs about 30 s, before prompts to complete, please wait!";

class AutomaticAddressingTest : public ParallelRunTest {
protected:
    // Apart, side by side, and the last address; module 3 refuses the login.
    std::vector<uint8_t> ModuleAddresses() const override { return {3, 17, 40, 41, 64}; }

    std::vector<String> Lines(TMemo* memo) {
        std::vector<String> lines;
        for (int i = 0; i < memo->Lines()->Count(); ++i) lines.push_back(memo->Lines()->Get(i));
        return lines;
    }
};

TEST_F(AutomaticAddressingTest, ProbesEveryAddressAndTicksTheModulesThatAcknowledge) {
    TMainForm* form = StartParallel();
    const int addressBox = form->ModuleIndex();
    // An earlier selection, saved and on the tab: the run clears the tab and
    // the record in memory, not the file.
    SaveSelection({1, 5});
    for (int module : {1, 5}) form->ModuleChecks[module - 1]->SetChecked(true);
    std::vector<uint8_t> savedFile(264);
    ASSERT_EQ(ReadFileAt("ParaRecord.dat", 0, savedFile.data(), savedFile.size()), 264);
    AddFault("status:cmd=0x01,status=7");  // the first login answered, module 3's
    // The pause counts from the probe: an answer near its end reaches the
    // window only after the reader's end-of-chunk gap, and still counts.
    AddFault("late:module=17,ms=260");

    ui_.AnswerNextBox(mrYes);
    ui_.AnswerNextBox(mrOk);
    ui_.Click(form, "TeButton3");

    const std::vector<String> boxes = BoxTexts();
    ASSERT_EQ(boxes.size(), 2u);
    EXPECT_EQ(boxes[0], kQuestion);
    EXPECT_EQ(boxes[1], " battery quantity is  4PCS ，Please make sure the battery number!");
    EXPECT_EQ(form->ModulesAddressed, 4);
    EXPECT_EQ(TickedModules(), (std::vector<int>{17, 40, 41, 64}));
    for (int32_t flag : form->ParaRecord.ModuleSelected) EXPECT_EQ(flag, 0);
    std::vector<uint8_t> fileAfter(264);
    ASSERT_EQ(ReadFileAt("ParaRecord.dat", 0, fileAfter.data(), fileAfter.size()), 264);
    EXPECT_EQ(fileAfter, savedFile);

    // One plain login to each address, in order, and nothing else.
    const std::vector<Bytes> requests = Module().Requests();
    ASSERT_EQ(requests.size(), 64u);
    for (uint8_t n = 1; n <= 64; ++n)
        EXPECT_EQ(requests[n - 1], (Bytes{n, 0x00, 0x04, 0x01, 0x01, 0x55, 0xAA, 0x05}))
            << "probe " << int(n);

    // Each probe's line names the module that answered that probe.
    std::vector<String> sent{"M_send"}, received{"M_Receive"};
    for (int n = 1; n <= 64; ++n) {
        sent.insert(sent.end(), {IntToStr(n), "OK"});
        const bool found = n == 17 || n == 40 || n == 41 || n == 64;
        received.push_back(found ? IntToStr(n) : String("NO"));
    }
    EXPECT_EQ(Lines(form->M_send), sent);
    EXPECT_EQ(Lines(form->M_Receive), received);
    // The user's module address and no request outstanding.
    EXPECT_EQ(form->ModuleIndex(), addressBox);
    EXPECT_EQ(LastCommand, 0);
}

TEST_F(AutomaticAddressingTest, AnsweringNoSendsNothingAndKeepsTheTicks) {
    TMainForm* form = StartParallel();
    form->ModulesAddressed = 5;
    form->ModuleChecks[1]->SetChecked(true);

    ui_.AnswerNextBox(mrNo);
    ui_.Click(form, "TeButton3");

    ASSERT_EQ(BoxTexts(), (std::vector<String>{kQuestion}));
    EXPECT_TRUE(Module().Requests().empty());
    EXPECT_EQ(TickedModules(), (std::vector<int>{2}));
    EXPECT_EQ(form->M_send->Lines()->Count(), 1);
    EXPECT_EQ(form->ModulesAddressed, 0);
}

TEST_F(AutomaticAddressingTest, RefusedWhileThePortIsClosedOrAQueryRuns) {
    const struct Case {
        const char* what;
        Busy busy;
        const char* says;
    } cases[] = {
        {"port closed", Busy::PortClosed, "Please open port frist!"},
        {"parallel polling", Busy::Polling, "Please turn off automatic query frist!"},
        {"cyclic query of one module", Busy::CyclicQuery, "Please turn off automatic query frist!"},
        {"automatic query", Busy::AutoQuery, "Please turn off automatic query frist!"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        TMainForm* form = StartBusy(c.busy);
        form->ModuleChecks[0]->SetChecked(true);

        ui_.Click(form, "TeButton3");

        EXPECT_TRUE(ui_.Boxes().empty());
        EXPECT_EQ(InfoLine(), OnInfoLine(c.says));
        EXPECT_EQ(InfoColor(), kFailureColor);
        EXPECT_EQ(TickedModules(), (std::vector<int>{1}));
        EXPECT_TRUE(Module().Requests().empty());
        CloseWindow();
    }
}

}  // namespace
}  // namespace tarvel::testing
