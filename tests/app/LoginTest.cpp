// Sending requests and logging in: what is refused before anything goes out,
// and the login button against a simulated module.

#include "tests/app/LinkFixture.h"

namespace tarvel::testing {
namespace {

using namespace std::chrono_literals;

TEST_F(LinkTest, RefusedRequestsSayWhyAndLeaveTheOutstandingRequestAlone) {
    struct Case {
        const char* what;
        uint8_t loggedIn;
        std::function<bool(TMainForm&)> send;
        const char* message;
    };
    const Case cases[] = {
        {"plain request, not logged in", 0, [](TMainForm& f) { return f.SendCommand(0, CmdQuerySbs); },
         "Please login frist!"},
        {"plain request, port closed", 1, [](TMainForm& f) { return f.SendCommand(0, CmdQuerySbs); },
         "Please open port frist!"},
        {"own frame, port closed", 1,
         [](TMainForm& f) {
             const FrameBytes frame = BuildRequest(0, CmdReadBms);
             return f.WriteFrame(frame.data(), static_cast<uint16_t>(frame.size()));
         },
         "Please open port frist!"},
        {"login button, port closed", 0,
         [](TMainForm& f) {
             f.TB_LOG->Click();
             return false;
         },
         "Serial port is not open..."},
    };
    TMainForm* form = StartLinked();
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        form->ShowInfo("", kSuccessColor);
        form->LoggedIn = c.loggedIn;
        LastCommand = 0x15;
        EXPECT_FALSE(c.send(*form));
        EXPECT_EQ(InfoLine(), String("    ") + c.message);
        EXPECT_EQ(InfoColor(), kFailureColor);
        EXPECT_EQ(LastCommand, 0x15);
    }
    EXPECT_EQ(form->TB_LOG->Caption(), "Login");
}

TEST_F(LinkTest, TheLoginButtonLogsInAndOutWhenTheModuleAnswers) {
    TMainForm* form = StartLinked();
    ASSERT_TRUE(form->OpenPort());

    // Not logged in: nothing reaches the module.
    EXPECT_FALSE(form->SendCommand(kModuleAddress, CmdReadBms));
    EXPECT_EQ(InfoLine(), "    Please login frist!");

    form->TB_LOG->Click();
    // The button waits for the module's answer.
    EXPECT_EQ(form->TB_LOG->Caption(), "Login");
    EXPECT_EQ(LastCommand, CmdLogin);
    ASSERT_TRUE(WaitUntil([&] { return form->LoggedIn == 1; }));
    EXPECT_EQ(form->TB_LOG->Caption(), "Logout");
    EXPECT_EQ(form->TB_LOG->ImageIndex(), 6);
    EXPECT_EQ(LastCommand, 0);
    EXPECT_EQ(InfoLine(), "    Login...  Succeed!");
    EXPECT_EQ(InfoColor(), kSuccessColor);

    form->RxLength = 99;
    ASSERT_TRUE(form->SendCommand(kModuleAddress, CmdReadBms));
    EXPECT_EQ(LastCommand, CmdReadBms);
    EXPECT_EQ(form->RxLength, 0);
    ASSERT_TRUE(WaitUntil([&] { return LastCommand == 0; }));
    EXPECT_EQ(InfoLine(), "    Query BMS...  Succeed!");

    form->TB_LOG->Click();
    ASSERT_TRUE(WaitUntil([&] { return form->LoggedIn == 0; }));
    EXPECT_EQ(form->TB_LOG->Caption(), "Login");
    EXPECT_EQ(form->TB_LOG->ImageIndex(), 7);

    const std::vector<Bytes> heard = {
        {0x00, 0x00, 0x04, 0x01, 0x01, 0x55, 0xAA, 0x05},
        {0x00, 0x00, 0x04, 0x01, 0x15, 0x55, 0xAA, 0x19},
        {0x00, 0x00, 0x04, 0x01, 0x02, 0x55, 0xAA, 0x06},
    };
    EXPECT_EQ(Module().Requests(), heard);
}

TEST_F(LinkTest, APlainRequestCarriesTheAddressItIsGiven) {
    TMainForm* form = StartLinked();
    form->LoggedIn = 1;
    ASSERT_TRUE(form->OpenPort());
    EXPECT_TRUE(form->SendCommand(5, CmdReadBms));
    EXPECT_EQ(Bytes(form->TxFrame.begin(), form->TxFrame.begin() + 8),
              (Bytes{0x05, 0x00, 0x04, 0x01, 0x15, 0x55, 0xAA, 0x19}));
}

TEST_F(LinkTest, TheLoginButtonSendsTheLoginAgainWhilePressedBeforeTheAnswer) {
    AddFault("silent:cmd=0x01,times=2");
    TMainForm* form = StartLinked();
    ASSERT_TRUE(form->OpenPort());
    LastCommand = CmdReadBms;

    form->TB_LOG->Click();
    form->TB_LOG->Click();
    ASSERT_TRUE(WaitUntil([&] { return Module().Requests().size() == 2; }));
    for (const Bytes& request : Module().Requests()) EXPECT_EQ(request[frame::kCommand], CmdLogin);
    EXPECT_EQ(form->LoggedIn, 0);
}

TEST_F(LinkTest, LoginRepliesInParallelModeLeaveTheLoginAsItWas) {
    TMainForm* form = StartLinked();
    form->MultiModuleMode = 1;
    Receive(Reply(0, 0x81));
    EXPECT_EQ(form->LoggedIn, 0);
    EXPECT_EQ(InfoLine(), "    Login...  Succeed!");
    form->LoggedIn = 1;
    Receive(Reply(0, 0x82));
    EXPECT_EQ(form->LoggedIn, 1);
}

}  // namespace
}  // namespace tarvel::testing
