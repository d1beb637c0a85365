#include "tools/bms-sim/Simulator.h"

#include <gtest/gtest.h>

#include "link/CommandTable.h"
#include "link/DeviceFrame.h"
#include "link/ReplyScanner.h"
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
            SimConfig config;
            config.shortKb = row.code == CmdWriteKb && length == 62;
            Simulator sim(config);
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

    Bytes kb(66, 0x21);
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
    // The limit current answers as its code (16 for 10 A); the 5 A and 10 A
    // limit values are a setting of their own.
    EXPECT_EQ(dataOf(CmdGetLimitCurrent), Bytes{16});
    write(CmdSetLimitCurrent, Bytes{7});
    write(CmdSetLimit5A, {});
    EXPECT_EQ(dataOf(CmdGetLimitCurrent), Bytes{7});
    EXPECT_EQ(sim.Module(4).limitValue, 5);
    write(CmdSetLimit10A, {});
    EXPECT_EQ(sim.Module(4).limitValue, 10);
}

TEST(Simulator, CalibrationBlockKeepsItsModulesLayout) {
    for (const bool shortKb : {false, true}) {
        SCOPED_TRACE(shortKb ? "short" : "full");
        SimConfig config;
        config.shortKb = shortKb;
        Simulator sim(config);
        Login(sim, 0);
        const size_t size = shortKb ? 58 : 66;
        const Bytes reply = Ask(sim, Request(0, CmdReadKb));
        ASSERT_EQ(reply.size(), size + 9);
        ReplyLayouts layouts;
        EXPECT_EQ(ValidateReply(reply, ReplyContext{0, true}, layouts), ReplyOk);
        EXPECT_EQ(layouts.kbLayout, shortKb ? 0 : 1);
        const ByteSpan block = ByteSpan(reply).subspan(8, size);
        EXPECT_EQ(ReadU16(block, 34), 10000);        // charge K
        EXPECT_EQ(ReadI16(block, 36), 0);            // charge B
        EXPECT_EQ(ReadU16(block, size - 2), 10000);  // temperature K 8

        // A block of the other layout is refused and changes nothing.
        const Bytes before = sim.Module(0).kb;
        const Bytes other(shortKb ? 66 : 58, 0x21);
        EXPECT_EQ(Ask(sim, Request(0, CmdWriteKb, other))[7], kStatusRefused);
        EXPECT_EQ(sim.Module(0).kb, before);
        const Bytes own(size, 0x22);
        EXPECT_EQ(Ask(sim, Request(0, CmdWriteKb, own))[7], 0);
        EXPECT_EQ(sim.Module(0).kb, own);
    }
}

TEST(Simulator, SteadyReadingsStayAsSet) {
    Simulator sim(SimConfig{});
    sim.UpdateModule(0, [](ModuleState& m) {
        m.steady = true;
        m.telemetry.current = 20000;
        m.telemetry.pack = 53000;
        m.telemetry.cells.fill(3312);
    });
    for (int i = 0; i < 3; ++i) {
        const Bytes reply = Ask(sim, Request(0, CmdQuerySbs));
        const ByteSpan d = ByteSpan(reply).subspan(8);
        EXPECT_EQ(ReadI32(d, 40), 20000);
        EXPECT_EQ(ReadI32(d, 0), 53000);
        EXPECT_EQ(ReadU16(d, 8 + 2 * 15), 3312);
    }
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

TEST(Simulator, AModuleIgnoringACodeNeitherAnswersNorActsOnIt) {
    Simulator sim(At({1, 2, 3}));
    sim.UpdateModule(2, [](ModuleState& m) { m.ignored = {CmdWriteBms}; });
    for (uint8_t address : {1, 2, 3}) Login(sim, address);
    const Bytes block(140, 0x11);
    for (uint8_t address : {1, 2, 3}) {
        SCOPED_TRACE(testing::Message() << "module " << int(address));
        const Bytes reply = Ask(sim, Request(address, CmdWriteBms, block));
        if (address == 2) {
            EXPECT_TRUE(reply.empty());
            EXPECT_NE(sim.Module(address).protection, block);
        } else {
            EXPECT_EQ(reply, MakeReply(address, 0x89, 0, {}));
            EXPECT_EQ(sim.Module(address).protection, block);
        }
    }
    // Its other commands are answered as ever, and every request is logged.
    EXPECT_EQ(Ask(sim, Request(2, CmdReadBms)).size(), 149u);
    EXPECT_EQ(sim.Requests().size(), 7u);
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

// A fault for one module of a parallel system leaves the others alone,
// and each kept state is its module's own.
TEST(Simulator, FaultsForOneModuleTouchOnlyThatModule) {
    Simulator sim(At({1, 2, 3}));
    std::string error;
    for (const char* spec : {"silent:module=2,times=0", "bad-sum:module=3,times=0", "late:module=1,ms=700"}) {
        const std::optional<Fault> fault = ParseFault(spec, error);
        ASSERT_TRUE(fault) << spec << ": " << error;
        sim.AddFault(*fault);
    }
    sim.UpdateModule(3, [](ModuleState& m) {
        m.steady = true;
        m.telemetry.current = 4321;
    });
    for (int round = 0; round < 2; ++round) {
        const std::vector<Plan> first = sim.OnBytes(Request(1, CmdQuerySbs), 0);
        ASSERT_EQ(first.size(), 1u);
        EXPECT_EQ(first[0].sends.front().pauseMs, round == 0 ? 700u : 0u) << "late once, for module 1 only";
        EXPECT_TRUE(Ask(sim, Request(2, CmdQuerySbs)).empty()) << "module 2 stays silent";
        const Bytes third = Ask(sim, Request(3, CmdQuerySbs));
        ASSERT_EQ(third.size(), 105u);
        EXPECT_EQ(Verdict(third, 3), ReplyChecksumError);
        EXPECT_EQ(ReadI32(ByteSpan(third).subspan(8), 40), 4321);
    }
    EXPECT_NE(sim.Module(1).telemetry.current, 4321);
}

struct Found {
    size_t size;
    uint8_t verdict;
    bool operator==(const Found&) const = default;
};

// What the tool's scanner and check make of a plan's writes, each write a
// chunk of its own.
std::vector<Found> AsTheToolSees(const Plan& plan, ReplyScanner* scanner = nullptr) {
    std::vector<Found> found;
    ReplyScanner own([&](ByteSpan f) {
        found.push_back(Found{f.size(), Verdict(Bytes(f.begin(), f.end()), 0)});
    });
    ReplyScanner& scan = scanner ? *scanner : own;
    uint32_t now = 0;
    for (const Transmission& t : plan.sends) {
        now += t.pauseMs;
        scan.ScanFrames(t.bytes, now);
    }
    return found;
}

std::vector<size_t> WriteSizes(const Plan& plan) {
    std::vector<size_t> sizes;
    for (const Transmission& t : plan.sends) sizes.push_back(t.bytes.size());
    return sizes;
}

TEST(Simulator, ReplyFaultsAsTheToolSeesThem) {
    // The telemetry reply is 105 bytes, L 101.
    const struct {
        const char* spec;
        std::vector<size_t> writes;
        std::vector<Found> found;
    } cases[] = {
        {"oversize:by=3", {108}, {{108, ReplyCmdLengthError}}},
        {"oversize", {106}, {{106, ReplyCmdLengthError}}},
        {"undersize:by=2", {103}, {{103, ReplyCmdLengthError}}},
        {"undersize:by=500", {4}, {}},  // L 0: nothing like a frame is left
        {"cut:at=40", {40}, {}},
        {"cut", {52}, {}},
        {"wrong-code", {105}, {{105, ReplyCmdIdError}}},
        {"wrong-code:code=0x84", {105}, {{105, ReplyCmdLengthError}}},
        {"status", {105}, {{105, ReplyOperationError}}},
        {"status:status=255", {105}, {{105, ReplyOtherError}}},
        {"duplicate", {105, 105}, {{105, ReplyOk}, {105, ReplyOk}}},
        {"flood:bytes=1500", {1024, 476, 105}, {{105, ReplyOk}}},
        {"flood:bytes=0", {105}, {{105, ReplyOk}}},
    };
    const Bytes request = Request(0, CmdQuerySbs);
    for (const auto& c : cases) {
        SCOPED_TRACE(c.spec);
        std::string error;
        const auto fault = ParseFault(c.spec, error);
        ASSERT_TRUE(fault) << error;
        Simulator sim(SimConfig{});
        sim.AddFault(*fault);
        const auto plans = sim.OnBytes(request, 0);
        ASSERT_EQ(plans.size(), 1u);
        EXPECT_EQ(WriteSizes(plans[0]), c.writes);
        EXPECT_EQ(AsTheToolSees(plans[0]), c.found);
        // Used up: the next reply is whole again.
        EXPECT_EQ(AsTheToolSees(sim.OnBytes(request, 0).at(0)), (std::vector<Found>{{105, ReplyOk}}));
    }
}

TEST(Simulator, WrongLengthFramesKeepTheirSumAndData) {
    Simulator sim(SimConfig{});
    sim.AddFault(Make(FaultKind::Oversize, [](Fault& f) { f.by = 3; }));
    const Bytes over = Ask(sim, Request(0, CmdQuerySbs));
    ASSERT_EQ(over.size(), 108u);
    EXPECT_EQ(FrameLengthField(over.data()), 104u);
    EXPECT_EQ(Bytes(over.end() - 4, over.end() - 1), Bytes(3, 0));  // the padding

    sim.AddFault(Make(FaultKind::Undersize, [](Fault& f) { f.by = 100; }));
    const Bytes under = Ask(sim, Request(0, CmdQuerySbs));
    // L 1: address, Length, board type and the sum of bytes 1 to 3.
    EXPECT_EQ(under, (Bytes{0x00, 0x00, 0x01, 0x01, 0x02}));

    // A wrong sum on top of a wrong Length stays wrong: no frame at all.
    sim.AddFault(Make(FaultKind::Oversize));
    sim.AddFault(Make(FaultKind::WrongChecksum));
    const Bytes both = Ask(sim, Request(0, CmdQuerySbs));
    EXPECT_EQ(both.size(), 106u);
    EXPECT_TRUE(AsTheToolSees(Plan{{Transmission{0, both}}}).empty());
}

TEST(Simulator, DuplicateIsTheSameReplyAfterItsPause) {
    Simulator sim(SimConfig{});
    sim.AddFault(Make(FaultKind::Duplicate, [](Fault& f) { f.ms = 150; }));
    const auto plans = sim.OnBytes(Request(0, CmdQuerySbs), 0);
    ASSERT_EQ(plans.size(), 1u);
    ASSERT_EQ(plans[0].sends.size(), 2u);
    EXPECT_EQ(plans[0].sends[1].pauseMs, 150u);
    EXPECT_EQ(plans[0].sends[0].bytes, plans[0].sends[1].bytes);
}

TEST(Simulator, FloodIsSentInPiecesAndHidesNoFrame) {
    Simulator sim(SimConfig{});
    sim.AddFault(Make(FaultKind::Flood, [](Fault& f) { f.floodBytes = 64 * 1024; }));
    const auto plans = sim.OnBytes(Request(0, CmdQuerySbs), 0);
    ASSERT_EQ(plans.size(), 1u);
    const std::vector<size_t> writes = WriteSizes(plans[0]);
    ASSERT_EQ(writes.size(), 65u);
    EXPECT_EQ(std::count(writes.begin(), writes.end(), kFloodPiece), 64);
    std::vector<Found> found;
    ReplyScanner scanner([&](ByteSpan f) {
        found.push_back(Found{f.size(), Verdict(Bytes(f.begin(), f.end()), 0)});
    });
    AsTheToolSees(plans[0], &scanner);
    EXPECT_EQ(found, (std::vector<Found>{{105, ReplyOk}}));
    EXPECT_EQ(scanner.SkippedBytes() + scanner.HeldBytes(), 64u * 1024u);
}

// A history download in either record layout: every batch straight after
// the one before, so the tool sees them run together in one chunk.
TEST(Simulator, RecordBatchesComeBackToBackInTheModulesLayout) {
    for (const bool shortKb : {false, true}) {
        SCOPED_TRACE(shortKb ? "80-byte records" : "84-byte records");
        SimConfig config;
        config.shortKb = shortKb;
        Simulator sim(config);
        Login(sim, 0);
        sim.UpdateModule(0, [](ModuleState& m) { m.records.alarms = 12; });
        const auto plans = sim.OnBytes(Request(0, CmdGetHisAlarm), 0);
        ASSERT_EQ(plans.size(), 1u);
        const size_t frame = shortKb ? 417 : 437;
        EXPECT_EQ(WriteSizes(plans[0]), (std::vector<size_t>{frame, frame, frame}));
        Bytes chunk;
        for (const Transmission& t : plans[0].sends) {
            EXPECT_EQ(t.pauseMs, 0u);
            chunk.insert(chunk.end(), t.bytes.begin(), t.bytes.end());
        }
        EXPECT_EQ(AsTheToolSees(Plan{{Transmission{0, chunk}}, false}),
                  (std::vector<Found>{{frame, ReplyOk}, {frame, ReplyOk}, {frame, ReplyOk}}));
    }
}

TEST(Simulator, HaltStopsARecordDownloadPartWay) {
    const struct {
        uint16_t alarms;
        const char* spec;
        size_t replies;
    } cases[] = {
        {12, "halt", 1},           // half of three, rounded down
        {12, "halt:at=2", 2},      //
        {12, "halt:at=3", 1},      // not inside the download: half
        {1000, "halt", 100},       //
        {5, "halt", 1},            // a download of one reply still sends it
        {12, "halt:cmd=0x2E", 3},  // waits for another download
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.spec);
        Simulator sim(SimConfig{});
        Login(sim, 0);
        sim.UpdateModule(0, [&](ModuleState& m) { m.records.alarms = c.alarms; });
        std::string error;
        const auto fault = ParseFault(c.spec, error);
        ASSERT_TRUE(fault) << error;
        sim.AddFault(*fault);
        const auto plans = sim.OnBytes(Request(0, CmdGetHisAlarm), 0);
        ASSERT_EQ(plans.size(), 1u);
        EXPECT_EQ(plans[0].sends.size(), c.replies);
    }
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
    f = ParseFault("status:cmd=0x06,times=2,status=255", error);
    ASSERT_TRUE(f);
    EXPECT_EQ(f->kind, FaultKind::Status);
    EXPECT_EQ(f->command, 6);
    EXPECT_EQ(f->times, 2);
    EXPECT_EQ(f->status, 255);
    f = ParseFault("flood:bytes=1048576", error);
    ASSERT_TRUE(f);
    EXPECT_EQ(f->floodBytes, 1048576u);
    f = ParseFault("undersize:by=0x10,cmd=21", error);
    ASSERT_TRUE(f);
    EXPECT_EQ(f->by, 16);
    EXPECT_EQ(f->command, 0x15);
    f = ParseFault("halt:cmd=0x19,at=3", error);
    ASSERT_TRUE(f);
    EXPECT_EQ(f->kind, FaultKind::Halt);
    EXPECT_EQ(f->at, 3u);

    const std::string kinds =
        "silent, late, bad-sum, other-address, split, noise, text, auto, drop, oversize, undersize, cut, "
        "wrong-code, duplicate, status, flood, halt";
    const std::pair<const char*, std::string> bad[] = {
        {"explode", "unknown fault 'explode' (kinds: " + kinds + ")"},
        {"", "unknown fault '' (kinds: " + kinds + ")"},
        {"late:ms", "expected key=value, got 'ms'"},
        {"late:ms=soon", "'soon' is not a number for ms"},
        {"oversize:by=", "'' is not a number for by"},
        {"late:speed=3",
         "unknown key 'speed' (keys: cmd, module, times, ms, at, addr, by, code, status, text, bytes)"},
        {"late:cmd=0x99", "cmd 0x99 out of range 0..127"},
        {"status:status=256", "status 256 out of range 0..255"},
        {"status:status=-1", "status -1 out of range 0..255"},
        {"wrong-code:code=0x100", "code 0x100 out of range 0..255"},
        {"undersize:by=65536", "by 65536 out of range 0..65535"},
        {"flood:bytes=1048577", "bytes 1048577 out of range 0..1048576"},
        {"flood:bytes=ff", "'ff' is not a number for bytes"},
        {"noise:bytes=5", "bytes must be pairs of hex digits"},
    };
    for (const auto& [spec, message] : bad) {
        EXPECT_FALSE(ParseFault(spec, error)) << spec;
        EXPECT_EQ(error, message) << spec;
    }
}

}  // namespace
}  // namespace tarvel::sim
