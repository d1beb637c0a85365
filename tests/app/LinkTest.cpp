// Received chunks in the main window: the reply check's verdict on the
// result line, the dispatch of accepted replies, which reply ends an
// outstanding request, and a simulated module that misbehaves.

#include "tests/app/LinkFixture.h"

namespace tarvel::testing {
namespace {

using namespace std::chrono_literals;

Bytes Filled(size_t count, uint8_t value = 0) { return Bytes(count, value); }

// A reply whose board type is `boardType`, with its sum made right again.
Bytes WithBoardType(Bytes frame, uint8_t boardType) {
    frame[frame::kBoardType] = boardType;
    frame.back() = Checksum8(frame.data() + 1, frame.size() - 2);
    return frame;
}

TEST_F(LinkTest, EveryChunkIsCountedCopiedAndEndsThePollWait) {
    TMainForm* form = StartLinked();
    Receive(Filled(10, 0xEE));
    form->RequestBusy = 1;
    form->ReplyTimeoutTicks = 7;
    Receive(Bytes{1, 2, 3});
    EXPECT_EQ(form->RxLength, 3);
    EXPECT_EQ(Bytes(RxBuffer.begin(), RxBuffer.begin() + 5), (Bytes{1, 2, 3, 0, 0}));
    EXPECT_EQ(form->RequestBusy, 0);
    EXPECT_EQ(form->ReplyTimeoutTicks, 0);
    EXPECT_EQ(form->RxChunkCount, 2);
    for (int i = 0; i < 198; ++i) Receive(Bytes{0});
    EXPECT_EQ(form->RxChunkCount, 0);
    // Noise is no reply: nothing was reported.
    EXPECT_EQ(LogLines(), 0);
}

TEST_F(LinkTest, TheResultLineTellsTheVerdictAndOnlyAcceptedRepliesAreActedOn) {
    struct Case {
        const char* what;
        uint8_t loggedIn;
        Bytes reply;
        const char* line;
    };
    const Case cases[] = {
        {"accepted", 0, Reply(0, 0x81), "Login...  Succeed!"},
        {"module status 7", 1, Reply(0, 0x86, 7), "Query version...  Failed! (device status 7)"},
        {"module status 3", 1, Reply(0, 0x86, 3), "Query version...  Failed! (device status 3)"},
        {"board type 3", 0, WithBoardType(Reply(0, 0x81), 3), "Login...  Failed! (wrong board type)"},
        {"not logged in", 0, Reply(0, 0x86, 0, Filled(10)), "Query version...  Failed! (not logged in)"},
        {"another module", 0, Reply(3, 0x81), "Login...  Failed! (from another module)"},
        {"no row", 1, Reply(0, 0x85), "Query IO state...  Failed! (unknown reply code)"},
        {"wrong Length", 1, Reply(0, 0x87, 0, Filled(60)), "Query KB...  Failed! (Length not accepted)"},
        {"no name", 1, Reply(0, 0x9A), "...  Succeed!"},
    };
    TMainForm* form = StartLinked();
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        form->LoggedIn = c.loggedIn;
        const uint8_t request = c.reply[frame::kCommand] & 0x7F;
        LastCommand = request;
        form->RE_Info->Lines()->Clear();
        Receive(c.reply);

        const bool accepted = String(c.line).ends_with("Succeed!");
        EXPECT_EQ(InfoLine(), String("    ") + c.line);
        EXPECT_EQ(InfoColor(), accepted ? kSuccessColor : kFailureColor);
        ASSERT_EQ(LogLines(), 1);
        EXPECT_TRUE(LastLogLine().ends_with(String("】  ") + c.line));
        EXPECT_EQ(LastLineColor(form->RE_Info), accepted ? kLogSuccessColor : kFailureColor);
        // A refused reply leaves its request outstanding.
        EXPECT_EQ(LastCommand, accepted ? 0 : request);
    }
    // Only the accepted login logged the tool in.
    form->LoggedIn = 0;
    Receive(Reply(3, 0x81));
    EXPECT_EQ(form->LoggedIn, 0);
}

TEST_F(LinkTest, OnlyTheAnswerEndsTheOutstandingRequest) {
    struct Case {
        const char* what;
        uint8_t outstanding;
        Bytes reply;
        uint8_t after;
    };
    const Case cases[] = {
        {"its answer", CmdGetVer, Reply(0, 0x86, 0, Filled(10)), 0},
        {"a repeated login answer", CmdGetVer, Reply(0, 0x81), CmdGetVer},
        {"a late answer of another request", CmdGetVer, Reply(0, 0x95, 0, Filled(140)), CmdGetVer},
        {"the query by serial number", CmdQuerySbs, Reply(0, 0x92, 0, Filled(116)), 0},
        {"the device's own text", CmdReadBms, sim::Simulator::DeviceTextFrame(0, "cell 3 warm"), CmdReadBms},
        {"nothing outstanding", 0, Reply(0, 0x95, 0, Filled(140)), 0},
    };
    TMainForm* form = StartLinked();
    form->LoggedIn = 1;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        LastCommand = c.outstanding;
        Receive(c.reply);
        EXPECT_EQ(LastCommand, c.after);
    }
}

TEST_F(LinkTest, TheDeviceTextIsNotReported) {
    TMainForm* form = StartLinked();
    form->ShowInfo("before", kSuccessColor);
    Receive(sim::Simulator::DeviceTextFrame(0, "cell 3 warm"));
    EXPECT_EQ(InfoLine(), "    before");
    // Only the text itself reaches the log.
    ASSERT_EQ(LogLines(), 1);
    EXPECT_TRUE(LastLogLine().ends_with("】cell 3 warm")) << LastLogLine();
}

TEST_F(LinkTest, AModuleThatKeepsSendingTextSpillsTheLogToItsFileAsTheOtherLinesDo) {
    StartLinked();
    for (int i = 1; i <= 45; ++i) Receive(sim::Simulator::DeviceTextFrame(0, "text " + std::to_string(i)));
    // Past 20 lines the log went to its file twice and holds the rest.
    EXPECT_EQ(LogLines(), 3);
    EXPECT_TRUE(LastLogLine().ends_with("】text 45")) << LastLogLine();
    const std::string file = ReadFileText(AppPath("Info/" + DateToStr(Date()) + "Information.txt"));
    for (const char* line : {"】text 1\r\n", "】text 21\r\n", "】text 42\r\n"})
        EXPECT_NE(file.find(line), std::string::npos) << line;
    EXPECT_EQ(file.find("】text 43"), std::string::npos);
}

TEST_F(LinkTest, ManyRepliesInOneChunkAndOneReplyInTwoAreEachReportedOnce) {
    TMainForm* form = StartLinked();
    const Bytes bms = Reply(0, 0x95, 0, Filled(140, 0x5A));
    Receive(Joined({Bytes{0x13, 0x55, 0xAA}, Reply(0, 0x81), Bytes{0x00, 0x11}, bms}));
    EXPECT_EQ(LogLines(), 2);
    EXPECT_EQ(form->LoggedIn, 1);
    EXPECT_EQ(InfoLine(), "    Query BMS...  Succeed!");

    Receive(Joined({Bytes{0xAA, 0x55}, Bytes(bms.begin(), bms.begin() + 40)}));
    EXPECT_EQ(LogLines(), 2);
    Receive(Bytes(bms.begin() + 40, bms.end()));
    EXPECT_EQ(LogLines(), 3);
    EXPECT_TRUE(LastLogLine().ends_with("Query BMS...  Succeed!"));
}

TEST_F(LinkTest, TheWorkModeReplyShowsWhichProgramRuns) {
    TMainForm* form = StartLinked();
    const auto find = [&](const char* name) { return form->FindComponent(name); };
    // The work-mode group belongs to a page no view shows; stand in for it
    // when the page is not built.
    if (!find("TeRadioButton1")) {
        for (const char* name : {"TeRadioButton1", "TeRadioButton2"}) {
            auto* button = new TTeRadioButton(form);
            button->SetName(name);
            button->SetParent(form);
        }
        auto* edit = new TTeSEdit(form);
        edit->SetName("TeSEdit2");
        edit->SetParent(form);
    }
    auto* normal = dynamic_cast<TTeRadioButton*>(find("TeRadioButton1"));
    auto* aging = dynamic_cast<TTeRadioButton*>(find("TeRadioButton2"));
    auto* text = dynamic_cast<TTeSEdit*>(find("TeSEdit2"));
    ASSERT_TRUE(normal && aging && text);
    form->LoggedIn = 1;

    Receive(Reply(0, 0x97, 0, Bytes{0x00}));
    EXPECT_FALSE(normal->Checked());
    EXPECT_TRUE(aging->Checked());
    EXPECT_EQ(text->Text(), "老化程序");
    Receive(Reply(0, 0x97, 0, Bytes{0xFF}));
    EXPECT_TRUE(normal->Checked());
    EXPECT_FALSE(aging->Checked());
    EXPECT_EQ(text->Text(), "正常程序");
}

// ---- against the simulated module ----

TEST_F(LinkTest, NoiseAndSplitRepliesAreStillFound) {
    StartLinked();
    OpenLoggedIn();
    AddFault("noise:cmd=0x15,bytes=1355AA0011");
    ASSERT_TRUE(form_->SendCommand(kModuleAddress, CmdReadBms));
    ASSERT_TRUE(Reported("Query BMS...  Succeed!"));
    EXPECT_EQ(LastCommand, 0);

    AddFault("flood:cmd=0x15,bytes=5000");
    ASSERT_TRUE(form_->SendCommand(kModuleAddress, CmdReadBms));
    ASSERT_TRUE(WaitUntil([&] { return LastCommand == 0; }));
    EXPECT_EQ(LogLines(), 2);

    // A pause longer than the read interval cuts the reply in two chunks.
    AddFault("split:cmd=0x15,ms=150,at=40");
    const int32_t chunks = form_->RxChunkCount;
    ASSERT_TRUE(form_->SendCommand(kModuleAddress, CmdReadBms));
    ASSERT_TRUE(WaitUntil([&] { return LastCommand == 0; }));
    EXPECT_EQ(form_->RxChunkCount, chunks + 2);
    EXPECT_EQ(LogLines(), 3);
    EXPECT_EQ(InfoLine(), "    Query BMS...  Succeed!");
}

TEST_F(LinkTest, AStatusErrorGivesAnHonestResultLine) {
    StartLinked();
    OpenLoggedIn();
    AddFault("status:cmd=0x06,status=7");
    ASSERT_TRUE(form_->SendCommand(kModuleAddress, CmdGetVer));
    ASSERT_TRUE(Reported("Query version...  Failed! (device status 7)"));
    EXPECT_EQ(InfoColor(), kFailureColor);
    // The request stays outstanding.
    EXPECT_EQ(LastCommand, CmdGetVer);
}

// Each misbehaving reply gives the request one honest line (a refused reply
// its result line, a reply that never comes whole "No answer!"), and what it
// left on the line does not spoil the next answer.
TEST_F(LinkTest, AMisbehavingReplyIsToldAndTheNextRequestIsAnsweredAsUsual) {
    using Lines = std::vector<String>;
    const String noAnswer = "Query version...  No answer!";
    const struct {
        const char* fault;
        Lines lines;
    } cases[] = {
        {"oversize:cmd=0x06,by=3", {"Query version...  Failed! (Length not accepted)"}},
        {"undersize:cmd=0x06,by=2", {"Query version...  Failed! (Length not accepted)"}},
        {"status:cmd=0x06,status=3", {"Query version...  Failed! (device status 3)"}},
        {"other-address:cmd=0x06,addr=5", {"Query version...  Failed! (from another module)"}},
        {"wrong-code:cmd=0x06,code=0x9B", {"...  Failed! (unknown reply code)", noAnswer}},
        {"wrong-code:cmd=0x06,code=0x95", {"Query BMS...  Failed! (Length not accepted)", noAnswer}},
        {"bad-sum:cmd=0x06", {noAnswer}},
        {"cut:cmd=0x06", {noAnswer}},
        {"cut:cmd=0x06,at=12", {noAnswer}},
    };
    StartLinked();
    OpenLoggedIn();
    for (const auto& c : cases) {
        SCOPED_TRACE(c.fault);
        AddFault(c.fault);
        const int before = LogLines();
        ASSERT_TRUE(form_->SendCommand(kModuleAddress, CmdGetVer));
        ASSERT_TRUE(WaitUntil([&] { return LogLines() >= before + static_cast<int>(c.lines.size()); }));
        // Nothing more is told of it.
        EXPECT_FALSE(
            WaitUntil([&] { return LogLines() > before + static_cast<int>(c.lines.size()); }, 1200ms));
        for (size_t i = 0; i < c.lines.size(); ++i) {
            const String line = form_->RE_Info->Lines()->Get(before + static_cast<int>(i));
            EXPECT_TRUE(line.ends_with("】  " + c.lines[i])) << line;
        }
        EXPECT_EQ(InfoColor(), c.lines.back().ends_with("Succeed!") ? kSuccessColor : kFailureColor);

        ASSERT_TRUE(form_->SendCommand(kModuleAddress, CmdGetVer));
        ASSERT_TRUE(Reported("Query version...  Succeed!"));
        EXPECT_EQ(LogLines(), before + static_cast<int>(c.lines.size()) + 1);
        EXPECT_EQ(LastCommand, 0);
    }
}

TEST_F(LinkTest, AModuleThatDoesNotAnswerIsToldOnTheInfoLineOnce) {
    StartLinked();
    OpenLoggedIn();
    AddFault("silent:cmd=0x06");
    ASSERT_TRUE(form_->SendCommand(kModuleAddress, CmdGetVer));
    ASSERT_TRUE(Reported("Query version...  No answer!"));
    EXPECT_EQ(InfoColor(), kFailureColor);
    const int lines = LogLines();
    EXPECT_FALSE(WaitUntil([&] { return LogLines() != lines; }, 1500ms));
    // The next answer is reported as usual.
    ASSERT_TRUE(form_->SendCommand(kModuleAddress, CmdGetVer));
    ASSERT_TRUE(Reported("Query version...  Succeed!"));
}

TEST_F(LinkTest, ALateReplyIsNotTakenAsTheAnswerToTheNextRequest) {
    StartLinked();
    OpenLoggedIn();
    AddFault("late:cmd=0x06,ms=500");
    AddFault("late:cmd=0x15,ms=400");
    ASSERT_TRUE(form_->SendCommand(kModuleAddress, CmdGetVer));
    EXPECT_FALSE(WaitUntil([] { return false; }, 100ms));
    // The user gave up on the version and asks for the parameters.
    ASSERT_TRUE(form_->SendCommand(kModuleAddress, CmdReadBms));
    ASSERT_TRUE(Reported("Query version...  Succeed!"));
    EXPECT_EQ(LastCommand, CmdReadBms);
    ASSERT_TRUE(Reported("Query BMS...  Succeed!"));
    EXPECT_EQ(LastCommand, 0);
}

TEST_F(LinkTest, ADuplicateReplyIsNotTakenAsTheAnswerToTheNextRequest) {
    StartLinked();
    OpenLoggedIn();
    AddFault("duplicate:cmd=0x15,ms=300");
    AddFault("late:cmd=0x06,ms=300");
    ASSERT_TRUE(form_->SendCommand(kModuleAddress, CmdReadBms));
    ASSERT_TRUE(WaitUntil([&] { return LogLines() == 1; }));
    EXPECT_EQ(LastCommand, 0);
    ASSERT_TRUE(form_->SendCommand(kModuleAddress, CmdGetVer));
    ASSERT_TRUE(WaitUntil([&] { return LogLines() == 2; }));
    EXPECT_TRUE(LastLogLine().ends_with("Query BMS...  Succeed!"));
    EXPECT_EQ(LastCommand, CmdGetVer);
    ASSERT_TRUE(Reported("Query version...  Succeed!"));
    EXPECT_EQ(LastCommand, 0);
}

TEST_F(LinkTest, AHangUpShowsThePortLostAndClosesIt) {
    StartLinked();
    OpenLoggedIn();
    AddFault("drop:cmd=0x15");
    ASSERT_TRUE(form_->SendCommand(kModuleAddress, CmdReadBms));
    ASSERT_TRUE(WaitUntil([&] { return InfoLine() == "    Serial port lost!"; }));
    EXPECT_EQ(InfoColor(), kFailureColor);
    EXPECT_EQ(form_->PortOpen, 0);
    EXPECT_EQ(form_->LoggedIn, 0);
    EXPECT_FALSE(form_->Comm1->Active());
    EXPECT_EQ(form_->TB_COMSwitch->Caption(), "Open Port");
    EXPECT_EQ(form_->TB_COMSwitch->ImageIndex(), 4);
    EXPECT_EQ(form_->TB_LOG->Caption(), "Login");
    EXPECT_EQ(form_->TB_LOG->ImageIndex(), 7);
    form_->LoggedIn = 1;
    EXPECT_FALSE(form_->SendCommand(kModuleAddress, CmdReadBms));
    EXPECT_EQ(InfoLine(), "    Please open port frist!");
}

}  // namespace
}  // namespace tarvel::testing
