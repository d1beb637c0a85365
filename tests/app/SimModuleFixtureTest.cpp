// The simulated-module fixture itself: the module serves on the device the
// window is given, the window starts and stops around it, and a wait sees
// what a serial reader posts to the window system's queue.

#include "tests/app/SimModuleFixture.h"

#include "link/DeviceFrame.h"
#include "link/SerialComm.h"
#include "platform/winsys/GuiTasks.h"

namespace tarvel::testing {
namespace {

using namespace std::chrono_literals;

TEST_F(SimModuleTest, ModuleAnswersThroughTheWindowsLoop) {
    TMainForm* form = Start();
    ASSERT_NE(form, nullptr);
    EXPECT_EQ(std::string(CommandLinePort()), Port());

    // A port of the test's own that posts its chunks as the window's does.
    TComm port(GuiPoster());
    port.SetCommName(Port());
    std::vector<uint8_t> received;
    port.OnReceiveData = [&](TComm&, const uint8_t* bytes, uint16_t count, uint32_t) {
        received.insert(received.end(), bytes, bytes + count);
    };
    port.StartComm();
    AddFault("status:cmd=0x03,status=7");
    const std::vector<uint8_t> query = BuildRequest(kModuleAddress, 0x03);
    ASSERT_TRUE(port.WriteCommData(query.data(), static_cast<uint16_t>(query.size())));
    ASSERT_TRUE(WaitUntil([&] { return received.size() >= 105; }));
    EXPECT_EQ(received.size(), 105u);
    EXPECT_EQ(received[0], kModuleAddress);
    EXPECT_EQ(received[7], 7);  // the fault's status
    port.StopComm();
    ASSERT_FALSE(Module().Requests().empty());
    EXPECT_EQ(Module().Requests().back(), query);

    // The limit is real time, and is kept when nothing comes.
    const auto start = std::chrono::steady_clock::now();
    EXPECT_FALSE(WaitUntil([] { return false; }, 100ms));
    EXPECT_GE(std::chrono::steady_clock::now() - start, 100ms);
}

// The module goes before the window while the window's port is open on it:
// the hang-up that follows must find nothing torn down under it.
TEST_F(SimModuleTest, WindowHoldingThePortStopsCleanly) {
    TMainForm* form = Start();
    form->Comm1->SetCommName(CommandLinePort());
    form->Comm1->StartComm();
    EXPECT_TRUE(form->Comm1->Active());
}

}  // namespace
}  // namespace tarvel::testing
