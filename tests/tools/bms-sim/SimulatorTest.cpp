#include "tools/bms-sim/Simulator.h"

#include <gtest/gtest.h>

#include "link/CommandTable.h"
#include "link/DeviceFrame.h"
#include "link/ReplyValidator.h"
#include "tools/bms-sim/ModuleCommands.h"

namespace tarvel::sim {
namespace {

// Sends one request to the simulator; the bytes it would write back, joined.
Bytes Ask(Simulator& sim, const Bytes& request, uint32_t now = 0) {
    Bytes out;
    for (const Plan& plan : sim.OnBytes(request, now))
        for (const Transmission& t : plan.sends) out.insert(out.end(), t.bytes.begin(), t.bytes.end());
    return out;
}

Bytes Request(uint8_t address, uint8_t code, const Bytes& data = {}) {
    return BuildFrame(address, code, data);
}

void Login(Simulator& sim, uint8_t address) { ASSERT_FALSE(Ask(sim, Request(address, CmdLogin)).empty()); }

SimConfig At(std::initializer_list<uint8_t> addresses) {
    SimConfig config;
    config.addresses = addresses;
    return config;
}

Fault Make(FaultKind kind, const std::function<void(Fault&)>& set = {}) {
    Fault fault;
    fault.kind = kind;
    if (set) set(fault);
    return fault;
}

uint8_t Verdict(const Bytes& reply, int address, bool loggedIn = true) {
    ReplyLayouts layouts;
    return ValidateReply(reply, ReplyContext{address, loggedIn}, layouts);
}

TEST(Simulator, AnswersEveryCommandWithAReplyTheToolAccepts) {
    size_t count = 0;
    const CommandRow* rows = CommandRows(count);
    for (size_t i = 0; i < count; ++i) {
        const CommandRow& row = rows[i];
        if (row.requestForm != RequestForm::Framed) continue;
        for (uint16_t length : row.requestLengths) {
            if (length == 0) continue;
            SCOPED_TRACE(testing::Message()
                         << "code 0x" << std::hex << int(row.code) << std::dec << " L " << length);
            Simulator sim(SimConfig{});
            Login(sim, 0);
            Bytes data(length - 4, 0);
            if (row.code == CmdQuerySbs && length == 24) {
                const ModuleState m = sim.Module(0);
                data.assign(m.serial.begin(), m.serial.end());
            }
            const Bytes reply = Ask(sim, Request(0, row.code, data));
            ASSERT_GE(reply.size(), 9u);
            const uint8_t expectedCode = row.code == CmdQuerySbs && length == 24 ? 0x92 : row.code | 0x80;
            EXPECT_EQ(reply[4], expectedCode);
            const uint8_t want = row.replyRule == ReplyRule::Refused ? ReplyCmdIdError : ReplyOk;
            EXPECT_EQ(Verdict(reply, 0), want);
        }
    }
}

TEST(Simulator, ShortFrameIsAnsweredAndLogged) {
    Simulator sim(At({3}));
    const Bytes reply = Ask(sim, BuildShortFrame(3));
    ASSERT_EQ(reply.size(), 9u);
    EXPECT_EQ(reply[4], 0x96);
    EXPECT_EQ(sim.Requests(), std::vector<Bytes>{BuildShortFrame(3)});
}

TEST(Simulator, TelemetryRecordLayout) {
    Simulator sim(SimConfig{});
    const Bytes reply = Ask(sim, Request(0, CmdQuerySbs));
    ASSERT_EQ(reply.size(), 105u);
    const ByteSpan d = ByteSpan(reply).subspan(8);
    int32_t cells = 0;
    for (int k = 0; k < 16; ++k) {
        const uint16_t v = ReadU16(d, 8 + 2 * k);
        EXPECT_GE(v, 3290);
        EXPECT_LE(v, 3310);
        cells += v;
    }
    EXPECT_EQ(ReadI32(d, 4), cells);       // BATT
    EXPECT_EQ(ReadI32(d, 0), cells + 15);  // PACK
    EXPECT_LT(ReadI32(d, 40), 0);          // discharging
    EXPECT_EQ(ReadI16(d, 44), 24);         // T1
    EXPECT_EQ(ReadU16(d, 80), 2);          // BattState
    EXPECT_EQ(ReadU16(d, 82), 80);         // SOC
    EXPECT_EQ(ReadU32(d, 84), 98u);        // SOCHealth
    // The readings drift slowly between queries.
    const Bytes next = Ask(sim, Request(0, CmdQuerySbs));
    EXPECT_NE(Bytes(reply.begin() + 16, reply.begin() + 48), Bytes(next.begin() + 16, next.begin() + 48));
}

TEST(Simulator, VersionLayouts) {
    Simulator sim(SimConfig{});
    Login(sim, 0);
    const Bytes reply = Ask(sim, Request(0, CmdGetVer));
    ASSERT_EQ(reply.size(), 89u);
    const ByteSpan d = ByteSpan(reply).subspan(8);
    EXPECT_EQ(ReadU16(d, 6), 2024);
    EXPECT_EQ(d[8], 5);
    EXPECT_EQ(d[9], 9);
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(d.data() + 10)), "BMS-HW-V2.1,48V100AH");
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(d.data() + 40)), "16S LFP, balance, heater");

    SimConfig shortConfig;
    shortConfig.shortVersion = true;
    Simulator shortSim(shortConfig);
    Login(shortSim, 0);
    EXPECT_EQ(Ask(shortSim, Request(0, CmdGetVer)).size(), 19u);
}

TEST(Simulator, LoginIsNeededExceptForTelemetryAndParameters) {
    Simulator sim(SimConfig{});
    EXPECT_EQ(Verdict(Ask(sim, Request(0, CmdQuerySbs)), 0, false), ReplyOk);
    EXPECT_EQ(Verdict(Ask(sim, Request(0, CmdReadBms)), 0, false), ReplyOk);
    const Bytes refused = Ask(sim, Request(0, CmdGetVer));
    ASSERT_EQ(refused.size(), 9u);
    EXPECT_EQ(refused[7], kStatusRefused);
    EXPECT_EQ(Verdict(refused, 0), ReplyOtherError);
    Login(sim, 0);
    EXPECT_EQ(Verdict(Ask(sim, Request(0, CmdGetVer)), 0), ReplyOk);
    Ask(sim, Request(0, CmdLogout));
    EXPECT_EQ(Ask(sim, Request(0, CmdGetVer))[7], kStatusRefused);
    // A request of a wrong Length is refused too.
    Login(sim, 0);
    EXPECT_EQ(Ask(sim, Request(0, CmdWriteBms, Bytes(10, 0)))[7], kStatusRefused);
}

TEST(Simulator, WritesAreReadBack) {
    Simulator sim(At({4}));
    Login(sim, 4);
    const auto dataOf = [&](uint8_t code) {
        const Bytes reply = Ask(sim, Request(4, code));
        EXPECT_EQ(Verdict(reply, 4), ReplyOk) << int(code);
        return Bytes(reply.begin() + 8, reply.end() - 1);
    };
    const auto write = [&](uint8_t code, const Bytes& data) {
        EXPECT_EQ(Verdict(Ask(sim, Request(4, code, data)), 4), ReplyOk) << int(code);
    };

    Bytes params(140);
    for (size_t i = 0; i < params.size(); ++i) params[i] = static_cast<uint8_t>(i + 1);
    write(CmdWriteBms, params);
    EXPECT_EQ(dataOf(CmdReadBms), params);

    Bytes kb(58, 0x21);
    write(CmdWriteKb, kb);
    EXPECT_EQ(dataOf(CmdReadKb), kb);

    Bytes serial(20, 0);
    std::copy_n("SN-0042", 7, serial.begin());
    write(CmdWriteSerialNum, serial);
    EXPECT_EQ(dataOf(CmdReadSerialNum), serial);

    Bytes capacity;
    AppendLe32(capacity, 150000);
    write(CmdSetCap, capacity);
    EXPECT_EQ(dataOf(CmdGetCap), capacity);

    const Bytes clock{0xEA, 0x07, 12, 4, 10, 14, 30, 5};
    write(CmdSetSysDate, clock);
    EXPECT_EQ(dataOf(CmdGetSysDate), clock);

    Bytes history;
    for (uint32_t v : {1000u, 20u, 7u, 255u}) AppendLe32(history, v);
    write(CmdSetHistory, history);
    EXPECT_EQ(dataOf(CmdGetHistory), history);

    Bytes life;
    AppendLe16(life, 55);
    AppendLe16(life, 0);
    for (uint32_t v : {90u, 300u, 4000u}) AppendLe32(life, v);
    write(CmdSetLife, life);
    const Bytes telemetry = dataOf(CmdQuerySbs);
    EXPECT_EQ(ReadU16(telemetry, 82), 55);
    EXPECT_EQ(ReadU32(telemetry, 84), 90u);
    EXPECT_EQ(ReadU32(telemetry, 88), 300u);
    EXPECT_EQ(ReadU32(telemetry, 92), 4000u);

    write(CmdSetWorkMode, Bytes{0x01});
    EXPECT_EQ(dataOf(CmdGetWorkMode), Bytes{0x01});
    write(CmdSetLimitCurrent, Bytes{7});
    EXPECT_EQ(dataOf(CmdGetLimitCurrent), Bytes{7});
}

TEST(Simulator, ParallelModulesAnswerTheirOwnAddress) {
    Simulator sim(At({1, 2, 3}));
    const Bytes reply = Ask(sim, Request(2, CmdQuerySbs));
    ASSERT_EQ(reply.size(), 105u);
    EXPECT_EQ(reply[0], 2);
    EXPECT_TRUE(Ask(sim, Request(5, CmdQuerySbs)).empty());
    EXPECT_TRUE(Ask(sim, Request(0, CmdQuerySbs)).empty());
    // The query by serial number reaches the module that carries it.
    const ModuleState third = sim.Module(3);
    const Bytes bySerial = Ask(sim, Request(1, CmdQuerySbs, Bytes(third.serial.begin(), third.serial.end())));
    ASSERT_EQ(bySerial.size(), 125u);
    EXPECT_EQ(bySerial[0], 3);
    EXPECT_EQ(bySerial[4], 0x92);
    EXPECT_EQ(Bytes(bySerial.begin() + 104, bySerial.end() - 1),
              Bytes(third.serial.begin(), third.serial.end()));
    EXPECT_EQ(sim.Requests().size(), 4u);
}

TEST(Simulator, RequestsSplitOrWithNoiseAreStillFound) {
    Simulator sim(SimConfig{});
    const Bytes request = Request(0, CmdQuerySbs);
    EXPECT_TRUE(Ask(sim, Bytes{0x13, 0x11, request[0], request[1], request[2]}).empty());
    const Bytes reply = Ask(sim, Bytes(request.begin() + 3, request.end()), 50);
    EXPECT_EQ(reply.size(), 105u);
    EXPECT_EQ(sim.Requests(), std::vector<Bytes>{request});
    EXPECT_EQ(sim.DroppedBytes(), 2u);
}

TEST(Simulator, ScriptedFaultsShapeTheReply) {
    const Bytes request = Request(0, CmdQuerySbs);
    Simulator plain(SimConfig{});
    const Bytes normal = Ask(plain, request);

    const auto plansFor = [&](Fault fault) {
        Simulator sim(SimConfig{});
        sim.AddFault(std::move(fault));
        auto plans = sim.OnBytes(request, 0);
        auto again = sim.OnBytes(request, 0);  // the fault is used up
        EXPECT_EQ(again.size(), 1u);
        return plans;
    };

    EXPECT_TRUE(plansFor(Make(FaultKind::Silent)).empty());

    auto late = plansFor(Make(FaultKind::Late, [](Fault& f) { f.ms = 500; }));
    ASSERT_EQ(late.size(), 1u);
    EXPECT_EQ(late[0].sends[0].pauseMs, 500u);

    auto badSum = plansFor(Make(FaultKind::WrongChecksum));
    EXPECT_EQ(Verdict(badSum[0].sends[0].bytes, 0, true), ReplyChecksumError);

    auto other = plansFor(Make(FaultKind::OtherAddress, [](Fault& f) { f.address = 9; }));
    EXPECT_EQ(Verdict(other[0].sends[0].bytes, 0, true), ReplyAddressError);

    auto split = plansFor(Make(FaultKind::Split, [](Fault& f) {
        f.ms = 150;
        f.at = 30;
    }));
    ASSERT_EQ(split[0].sends.size(), 2u);
    EXPECT_EQ(split[0].sends[0].bytes.size(), 30u);
    EXPECT_EQ(split[0].sends[1].pauseMs, 150u);
    Bytes joined = split[0].sends[0].bytes;
    joined.insert(joined.end(), split[0].sends[1].bytes.begin(), split[0].sends[1].bytes.end());
    EXPECT_EQ(joined.size(), normal.size());

    auto noise = plansFor(Make(FaultKind::NoiseBefore, [](Fault& f) { f.bytes = {0x55, 0xAA, 0x00}; }));
    EXPECT_EQ(noise[0].sends[0].bytes.size(), normal.size() + 3);

    auto text = plansFor(Make(FaultKind::DeviceText, [](Fault& f) { f.text = "hello"; }));
    ASSERT_EQ(text[0].sends.size(), 2u);
    EXPECT_EQ(text[0].sends[0].bytes, Simulator::DeviceTextFrame(0, "hello"));
    EXPECT_EQ(Verdict(text[0].sends[0].bytes, 7, false), ReplyOk);

    auto autoSend = plansFor(Make(FaultKind::AutoSend, [](Fault& f) { f.bytes = {1, 2, 3}; }));
    EXPECT_EQ(autoSend[0].sends[0].bytes[4], 0x80);

    auto drop = plansFor(Make(FaultKind::DropOff));
    ASSERT_EQ(drop.size(), 1u);
    EXPECT_TRUE(drop[0].dropLine);
    EXPECT_TRUE(drop[0].sends.empty());
}

TEST(Simulator, FaultsWaitForTheirCommandAndCount) {
    Simulator sim(SimConfig{});
    Login(sim, 0);
    sim.AddFault(Make(FaultKind::Silent, [](Fault& f) {
        f.command = CmdReadBms;
        f.times = 2;
    }));
    EXPECT_FALSE(Ask(sim, Request(0, CmdQuerySbs)).empty());
    EXPECT_TRUE(Ask(sim, Request(0, CmdReadBms)).empty());
    EXPECT_TRUE(Ask(sim, Request(0, CmdReadBms)).empty());
    EXPECT_FALSE(Ask(sim, Request(0, CmdReadBms)).empty());

    sim.AddFault(Make(FaultKind::Silent, [](Fault& f) { f.times = 0; }));
    for (int i = 0; i < 5; ++i) EXPECT_TRUE(Ask(sim, Request(0, CmdQuerySbs)).empty());
}

TEST(ParseFault, SpecsAndTheirErrors) {
    std::string error;
    auto f = ParseFault("late:cmd=0x03,ms=600,times=0", error);
    ASSERT_TRUE(f);
    EXPECT_EQ(f->kind, FaultKind::Late);
    EXPECT_EQ(f->command, 3);
    EXPECT_EQ(f->ms, 600u);
    EXPECT_EQ(f->times, 0);
    f = ParseFault("noise:bytes=55aa13", error);
    ASSERT_TRUE(f);
    EXPECT_EQ(f->bytes, (Bytes{0x55, 0xAA, 0x13}));
    f = ParseFault("text:text=cell 3 hot", error);
    ASSERT_TRUE(f);
    EXPECT_EQ(f->text, "cell 3 hot");
    EXPECT_TRUE(ParseFault("drop", error));

    const std::pair<const char*, const char*> bad[] = {
        {"explode", "unknown fault 'explode'"},
        {"late:ms", "expected key=value, got 'ms'"},
        {"late:ms=soon", "'soon' is not a number for ms"},
        {"late:speed=3", "unknown key or value out of range: speed"},
        {"late:cmd=0x99", "unknown key or value out of range: cmd"},
        {"noise:bytes=5", "bytes must be pairs of hex digits"},
    };
    for (const auto& [spec, message] : bad) {
        EXPECT_FALSE(ParseFault(spec, error)) << spec;
        EXPECT_EQ(error, message) << spec;
    }
}

}  // namespace
}  // namespace tarvel::sim
