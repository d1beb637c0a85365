// The bms-sim program as people and scripts/run start it.
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <thread>

#include "link/DeviceFrame.h"
#include "link/SerialComm.h"
#include "tests/link/GuiQueueFixture.h"
#include "tools/bms-sim/Faults.h"

namespace tarvel {
namespace {

using namespace std::chrono_literals;

const std::string kProgram = std::string(TARVEL_BINARY_DIR) + "/tools/bms-sim/bms-sim";

std::string RunProgram(const std::string& arguments, int& status) {
    FILE* pipe = ::popen((kProgram + " " + arguments + " 2>&1").c_str(), "r");
    std::string out;
    char buffer[512];
    while (pipe && std::fgets(buffer, sizeof buffer, pipe)) out += buffer;
    status = pipe ? ::pclose(pipe) : -1;
    return out;
}

TEST(BmsSimProgram, HelpDocumentsItsOptions) {
    int status = 0;
    const std::string help = RunProgram("--help", status);
    EXPECT_EQ(status, 0);
    for (const char* option :
         {"--link", "--address", "--parallel", "--baud", "--fault", "--short-version", "--short-kb"})
        EXPECT_NE(help.find(option), std::string::npos) << option;
    // Every fault kind is named, and shown by example.
    const std::string kinds = sim::FaultKindNames();
    for (size_t at = 0; at < kinds.size();) {
        const size_t end = std::min(kinds.find(", ", at), kinds.size());
        const std::string kind = kinds.substr(at, end - at);
        EXPECT_NE(help.find(" " + kind), std::string::npos) << kind;
        at = end + 2;
    }
    for (const char* example : {"--fault status:", "--fault cut:", "--fault oversize:", "--fault flood:"})
        EXPECT_NE(help.find(example), std::string::npos) << example;
    EXPECT_NE(RunProgram("--address 64", status).find("--address needs a number 0..63"), std::string::npos);
    EXPECT_NE(status, 0);
    EXPECT_NE(RunProgram("--fault boom", status).find("unknown fault 'boom'"), std::string::npos);
}

TEST(BmsSimProgram, ServesOnItsLink) {
    const std::string linkPath =
        (std::filesystem::temp_directory_path() / ("bms-sim-prog-" + std::to_string(::getpid()) + ".tty"))
            .string();
    const pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        ::execl(kProgram.c_str(), kProgram.c_str(), "--link", linkPath.c_str(), "--baud", "0", "--quiet",
                static_cast<char*>(nullptr));
        ::_exit(127);
    }
    for (int i = 0; i < 100 && !std::filesystem::exists(linkPath); ++i) std::this_thread::sleep_for(20ms);

    testing::GuiQueue gui;
    TComm comm(gui.Poster());
    comm.SetCommName(linkPath);
    std::vector<uint8_t> received;
    comm.OnReceiveData = [&](TComm&, const uint8_t* b, uint16_t n, uint32_t) {
        received.insert(received.end(), b, b + n);
    };
    comm.StartComm();
    const std::vector<uint8_t> query = BuildRequest(0, 0x03);
    comm.WriteCommData(query.data(), 8);
    EXPECT_TRUE(gui.RunUntil([&] { return received.size() >= 105; }, 3000ms));
    comm.StopComm();

    ::kill(child, SIGTERM);
    int status = 0;
    ::waitpid(child, &status, 0);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
    EXPECT_FALSE(std::filesystem::exists(std::filesystem::symlink_status(linkPath)));
}

}  // namespace
}  // namespace tarvel
