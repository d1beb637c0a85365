// The tool's link against simulated modules: real bytes through the real
// serial component and a pseudo-terminal, scanned and checked as the main
// window will do it.
#include <gtest/gtest.h>

#include <filesystem>

#include "link/CommandTable.h"
#include "link/DeviceFrame.h"
#include "link/ReplyScanner.h"
#include "link/ReplyValidator.h"
#include "link/SerialComm.h"
#include "tests/link/GuiQueueFixture.h"
#include "tools/bms-sim/SimLink.h"

namespace tarvel::sim {
namespace {

using namespace std::chrono_literals;

struct Seen {
    Bytes frame;
    uint8_t verdict;
    std::chrono::steady_clock::time_point at;
};

// The receive path of the main window, without the window.
class ToolLink {
public:
    ToolLink(testing::GuiQueue& gui, const std::string& port, int moduleAddress)
        : gui_(gui), comm(gui.Poster()) {
        context.moduleAddress = moduleAddress;
        comm.SetCommName(port);
        comm.OnReceiveData = [this](TComm&, const uint8_t* b, uint16_t n, uint32_t arrivedMs) {
            ++chunks;
            scanner.ScanFrames(ByteSpan(b, n), arrivedMs);
        };
        comm.OnRequestHangup = [this](TComm&) { ++hangups; };
    }

    void Send(const Bytes& frame) {
        sent = std::chrono::steady_clock::now();
        ASSERT_TRUE(comm.WriteCommData(frame.data(), static_cast<uint16_t>(frame.size())));
    }

    // Runs the GUI queue until `count` frames have been seen in all.
    bool WaitFrames(size_t count, std::chrono::milliseconds timeout = 3000ms) {
        return gui_.RunUntil([&] { return seen.size() >= count; }, timeout);
    }

    const Seen& Last() const { return seen.back(); }

    testing::GuiQueue& gui_;
    TComm comm;
    ReplyContext context;
    ReplyLayouts layouts;
    std::vector<Seen> seen;
    int chunks = 0;
    int hangups = 0;
    std::chrono::steady_clock::time_point sent;
    ReplyScanner scanner{[this](ByteSpan f) {
        const uint8_t verdict = ValidateReply(f, context, layouts);
        if (verdict == ReplyOk && f[frame::kCommand] == 0x81) context.loggedIn = true;
        if (verdict == ReplyOk && f[frame::kCommand] == 0x82) context.loggedIn = false;
        seen.push_back(Seen{Bytes(f.begin(), f.end()), verdict, std::chrono::steady_clock::now()});
    }};
};

SimConfig Config(uint8_t address, uint32_t baud) {
    SimConfig config;
    config.addresses = {address};
    config.baud = baud;
    return config;
}

TEST(EndToEnd, LoginTelemetryAndParameterWriteAt9600Baud) {
    SimLink link(Config(1, 9600));
    ASSERT_TRUE(link.Start()) << link.Error();
    testing::GuiQueue gui;
    ToolLink tool(gui, link.DevicePath(), 1);
    tool.comm.StartComm();

    std::vector<Bytes> sent;
    const auto send = [&](const Bytes& frame) {
        sent.push_back(frame);
        tool.Send(frame);
    };

    // Refused before the login: the module answers with status 255.
    send(BuildRequest(1, CmdGetVer));
    ASSERT_TRUE(tool.WaitFrames(1));
    EXPECT_EQ(tool.Last().verdict, ReplyOtherError);

    send(BuildRequest(1, CmdLogin));
    ASSERT_TRUE(tool.WaitFrames(2));
    EXPECT_EQ(tool.Last().verdict, ReplyOk);
    EXPECT_TRUE(tool.context.loggedIn);

    send(BuildRequest(1, CmdQuerySbs));
    ASSERT_TRUE(tool.WaitFrames(3));
    const Seen& telemetry = tool.Last();
    EXPECT_EQ(telemetry.verdict, ReplyOk);
    ASSERT_EQ(telemetry.frame.size(), 105u);
    // 105 bytes of 10 bits at 9600 baud take about 109 ms on the wire.
    EXPECT_GE(telemetry.at - tool.sent, 100ms);
    const uint16_t cell1 = ReadU16(telemetry.frame, 8 + 8);
    EXPECT_NEAR(cell1, 3300, 10);

    Bytes block(140);
    for (size_t i = 0; i < block.size(); ++i) block[i] = static_cast<uint8_t>(0xF0 - i);
    send(BuildFrame(1, CmdWriteBms, block));
    ASSERT_TRUE(tool.WaitFrames(4));
    EXPECT_EQ(tool.Last().frame, (Bytes{0x01, 0x00, 0x05, 0x01, 0x89, 0x55, 0xAA, 0x00, 0x8E}));
    EXPECT_EQ(tool.Last().verdict, ReplyOk);

    send(BuildRequest(1, CmdReadBms));
    ASSERT_TRUE(tool.WaitFrames(5));
    EXPECT_EQ(tool.Last().verdict, ReplyOk);
    ASSERT_EQ(tool.Last().frame.size(), 149u);
    EXPECT_EQ(Bytes(tool.Last().frame.begin() + 8, tool.Last().frame.end() - 1), block);

    // The module heard exactly the bytes the tool sent.
    EXPECT_EQ(link.Sim().Requests(), sent);
    EXPECT_EQ(tool.scanner.SkippedBytes(), 0u);
    tool.comm.StopComm();
}

TEST(EndToEnd, ReplySplitByAPauseIsJoinedAcrossChunks) {
    SimLink link(Config(0, 0));
    Fault split;
    split.kind = FaultKind::Split;
    split.ms = 150;  // longer than the read interval: two chunks
    split.at = 40;
    link.Sim().AddFault(split);
    ASSERT_TRUE(link.Start());
    testing::GuiQueue gui;
    ToolLink tool(gui, link.DevicePath(), 0);
    tool.comm.StartComm();

    tool.Send(BuildRequest(0, CmdQuerySbs));
    ASSERT_TRUE(tool.WaitFrames(1));
    EXPECT_EQ(tool.chunks, 2);
    EXPECT_EQ(tool.Last().verdict, ReplyOk);
    EXPECT_EQ(tool.Last().frame.size(), 105u);
}

TEST(EndToEnd, MisbehavingModules) {
    SimLink link(Config(0, 0));
    ASSERT_TRUE(link.Start());
    testing::GuiQueue gui;
    ToolLink tool(gui, link.DevicePath(), 0);
    tool.comm.StartComm();
    const auto fault = [&](FaultKind kind, const std::function<void(Fault&)>& set = {}) {
        Fault f;
        f.kind = kind;
        if (set) set(f);
        link.Sim().AddFault(f);
    };

    // Noise before a reply: the reply is still found, the noise counted.
    fault(FaultKind::NoiseBefore, [](Fault& f) { f.bytes = {0x13, 0x55, 0xAA, 0x11}; });
    tool.Send(BuildRequest(0, CmdQuerySbs));
    ASSERT_TRUE(tool.WaitFrames(1));
    EXPECT_EQ(tool.Last().verdict, ReplyOk);
    EXPECT_EQ(tool.scanner.SkippedBytes(), 4u);

    // A wrong sum: no frame at all.
    fault(FaultKind::WrongChecksum);
    tool.Send(BuildRequest(0, CmdQuerySbs));
    gui.RunFor(300ms);
    EXPECT_EQ(tool.seen.size(), 1u);
    EXPECT_EQ(tool.scanner.SkippedBytes() + tool.scanner.HeldBytes(), 4u + 105u);

    // Another address: found, refused with verdict 9.
    fault(FaultKind::OtherAddress, [](Fault& f) { f.address = 7; });
    tool.Send(BuildRequest(0, CmdQuerySbs));
    ASSERT_TRUE(tool.WaitFrames(2));
    EXPECT_EQ(tool.Last().verdict, ReplyAddressError);

    // The unprompted text passes from any address and before the login.
    link.Send(Simulator::DeviceTextFrame(9, "cell 3 warm"));
    ASSERT_TRUE(tool.WaitFrames(3));
    EXPECT_EQ(tool.Last().verdict, ReplyOk);
    EXPECT_EQ(tool.Last().frame[4], 0x94);

    // A late answer is still taken when it comes.
    fault(FaultKind::Late, [](Fault& f) { f.ms = 600; });
    tool.Send(BuildRequest(0, CmdReadBms));
    gui.RunFor(300ms);
    EXPECT_EQ(tool.seen.size(), 3u);
    ASSERT_TRUE(tool.WaitFrames(4));
    EXPECT_EQ(tool.Last().frame[4], 0x95);

    // Silence: nothing comes.
    fault(FaultKind::Silent);
    tool.Send(BuildRequest(0, CmdQuerySbs));
    gui.RunFor(300ms);
    EXPECT_EQ(tool.seen.size(), 4u);

    // The module drops off the line: a hang-up, and writes are refused.
    fault(FaultKind::DropOff);
    tool.Send(BuildRequest(0, CmdQuerySbs));
    ASSERT_TRUE(gui.RunUntil([&] { return tool.hangups == 1; }, 2000ms));
    EXPECT_TRUE(link.LineDropped());
    const uint8_t byte = 0;
    EXPECT_FALSE(tool.comm.WriteCommData(&byte, 1));
    tool.comm.StopComm();
}

TEST(EndToEnd, FloodCutAndDuplicateReplies) {
    SimLink link(Config(0, 0));
    ASSERT_TRUE(link.Start());
    testing::GuiQueue gui;
    ToolLink tool(gui, link.DevicePath(), 0);
    tool.comm.StartComm();
    const auto fault = [&](const char* spec) {
        std::string error;
        const auto f = ParseFault(spec, error);
        ASSERT_TRUE(f) << error;
        link.Sim().AddFault(*f);
    };

    // 64 KiB of noise come in read-sized chunks; the reply after them is found.
    fault("flood:bytes=65536");
    tool.Send(BuildRequest(0, CmdQuerySbs));
    ASSERT_TRUE(tool.WaitFrames(1, 10'000ms));
    EXPECT_EQ(tool.Last().verdict, ReplyOk);
    EXPECT_GE(tool.chunks, 32);
    EXPECT_EQ(tool.scanner.SkippedBytes() + tool.scanner.HeldBytes(), 65536u);

    // A reply cut short never completes; the next one is still taken whole.
    fault("cut:at=40");
    tool.Send(BuildRequest(0, CmdQuerySbs));
    gui.RunFor(300ms);
    EXPECT_EQ(tool.seen.size(), 1u);
    tool.Send(BuildRequest(0, CmdQuerySbs));
    ASSERT_TRUE(tool.WaitFrames(2));
    EXPECT_EQ(tool.Last().verdict, ReplyOk);
    EXPECT_EQ(tool.Last().frame.size(), 105u);

    // A duplicate 150 ms later comes in a chunk of its own.
    fault("duplicate:ms=150");
    const int chunksBefore = tool.chunks;
    tool.Send(BuildRequest(0, CmdQuerySbs));
    ASSERT_TRUE(tool.WaitFrames(4));
    EXPECT_EQ(tool.chunks - chunksBefore, 2);
    EXPECT_EQ(tool.seen[2].frame, tool.seen[3].frame);
    EXPECT_GE(tool.seen[3].at - tool.seen[2].at, 100ms);
    tool.comm.StopComm();
}

TEST(EndToEnd, ToolOpensTheSymlinkAndReconnects) {
    const std::string linkPath =
        (std::filesystem::temp_directory_path() / ("bms-sim-" + std::to_string(::getpid()) + ".tty"))
            .string();
    SimLink link(Config(0, 0));
    ASSERT_TRUE(link.Start(linkPath)) << link.Error();
    EXPECT_EQ(std::filesystem::read_symlink(linkPath).string(), link.DevicePath());

    testing::GuiQueue gui;
    ToolLink tool(gui, linkPath, 0);
    for (int round = 1; round <= 2; ++round) {
        tool.comm.StartComm();
        tool.Send(BuildRequest(0, CmdQuerySbs));
        ASSERT_TRUE(tool.WaitFrames(static_cast<size_t>(round)));
        EXPECT_EQ(tool.Last().verdict, ReplyOk);
        tool.comm.StopComm();
        tool.scanner.Reset();
    }
    EXPECT_EQ(tool.hangups, 0);
    link.Stop();
    EXPECT_FALSE(std::filesystem::exists(std::filesystem::symlink_status(linkPath)));
}

TEST(EndToEnd, ParallelModulesAnswerThePoll) {
    SimConfig config;
    config.addresses = {1, 2, 3, 4};
    SimLink link(config);
    ASSERT_TRUE(link.Start());
    testing::GuiQueue gui;
    ToolLink tool(gui, link.DevicePath(), 0);
    tool.comm.StartComm();
    for (uint8_t slot = 0; slot < 4; ++slot) {
        tool.context.moduleAddress = slot + 1;  // the poll sets the box to slot + 1
        tool.Send(BuildRequest(static_cast<uint8_t>(slot + 1), CmdQuerySbs));
        ASSERT_TRUE(tool.WaitFrames(slot + 1u));
        EXPECT_EQ(tool.Last().verdict, ReplyOk);
        EXPECT_EQ(tool.Last().frame[0], slot + 1);
    }
    tool.comm.StopComm();
}

}  // namespace
}  // namespace tarvel::sim
