#include "tools/bms-sim/ModuleCommands.h"

#include <algorithm>

#include "tools/bms-sim/ModuleRecords.h"

namespace tarvel::sim {

namespace {

constexpr uint8_t Reply(uint8_t code) { return static_cast<uint8_t>(code | 0x80); }

SimReply Ack(const Request& r) { return SimReply{false, Reply(r.code), 0, {}}; }
SimReply With(const Request& r, Bytes data) { return SimReply{false, Reply(r.code), 0, std::move(data)}; }

int32_t I32(const Bytes& b, size_t at) {
    return static_cast<int32_t>(uint32_t{b[at]} | uint32_t{b[at + 1]} << 8 | uint32_t{b[at + 2]} << 16 |
                                uint32_t{b[at + 3]} << 24);
}

SimReply Login(ModuleState& m, const Request& r) {
    m.loggedIn = true;
    return Ack(r);
}

SimReply Logout(ModuleState& m, const Request& r) {
    m.loggedIn = false;
    return Ack(r);
}

SimReply QueryTelemetry(ModuleState& m, const Request& r) {
    if (r.data.size() == 20) {
        // The query by serial number: only the module with that number answers, with 0x92.
        if (!std::equal(r.data.begin(), r.data.end(), m.serial.begin())) return Silence();
        m.Advance();
        Bytes data = m.EncodeTelemetry();
        data.insert(data.end(), m.serial.begin(), m.serial.end());
        return SimReply{false, 0x92, 0, std::move(data)};
    }
    m.Advance();
    return With(r, m.EncodeTelemetry());
}

SimReply ReadAdc(ModuleState& m, const Request& r) { return With(r, AdcCounts(m)); }
SimReply ReadIo(ModuleState& m, const Request& r) { return With(r, IoRegisters(m)); }
SimReply GetVersion(ModuleState& m, const Request& r) { return With(r, m.EncodeVersion()); }
SimReply ReadKb(ModuleState& m, const Request& r) { return With(r, m.kb); }

SimReply WriteKb(ModuleState& m, const Request& r) {
    // The block's layout is the firmware's: a block of the other one is refused.
    if (r.data.size() != m.kb.size()) return SimReply{false, Reply(r.code), kStatusRefused, {}};
    m.kb = r.data;
    return Ack(r);
}

SimReply WriteBms(ModuleState& m, const Request& r) {
    m.protection = r.data;
    return Ack(r);
}

SimReply ReadBms(ModuleState& m, const Request& r) { return With(r, m.protection); }
SimReply GetHistory(ModuleState& m, const Request& r) { return With(r, RunHistoryBlock(m)); }

SimReply SetHistory(ModuleState& m, const Request& r) {
    m.runHistory = r.data;
    return Ack(r);
}

SimReply ReadSerial(ModuleState& m, const Request& r) {
    return With(r, Bytes(m.serial.begin(), m.serial.end()));
}

SimReply WriteSerial(ModuleState& m, const Request& r) {
    std::copy(r.data.begin(), r.data.end(), m.serial.begin());
    return Ack(r);
}

SimReply SetLife(ModuleState& m, const Request& r) {
    m.ApplyLife(r.data);
    return Ack(r);
}

SimReply QueryExt(ModuleState&, const Request& r) { return Ack(r); }
SimReply GetWorkMode(ModuleState& m, const Request& r) { return With(r, Bytes{m.workMode}); }

SimReply SetWorkMode(ModuleState& m, const Request& r) {
    m.workMode = r.data[0];
    return Ack(r);
}

// A download: the first batch answers, the others follow.
SimReply Batches(const Request& r, std::vector<Bytes> batches) {
    SimReply reply = With(r, std::move(batches.front()));
    reply.following.assign(std::make_move_iterator(batches.begin() + 1),
                           std::make_move_iterator(batches.end()));
    return reply;
}

SimReply HistoryAlarms(ModuleState& m, const Request& r) {
    const bool recent = r.code == 0x2D;
    return Batches(r, HistoryAlarmBatches(m, recent, recent ? r.data[0] : 0));
}
SimReply AutoTsbsRecords(ModuleState& m, const Request& r) { return Batches(r, AutoTsbsBatches(m)); }
SimReply DailyRecords(ModuleState& m, const Request& r) { return Batches(r, DailyRecordBatches(m)); }

SimReply SetClock(ModuleState& m, const Request& r) {
    m.clock = r.data;
    return Ack(r);
}

SimReply GetClock(ModuleState& m, const Request& r) { return With(r, m.clock); }
SimReply GetDisTime(ModuleState& m, const Request& r) { return With(r, m.overCurrentDelays); }

SimReply SetDisTime(ModuleState& m, const Request& r) {
    m.overCurrentDelays = r.data;
    return Ack(r);
}

SimReply CheckFunction(ModuleState& m, const Request& r) {
    return With(r, Bytes{m.autoTsbsOn ? uint8_t{1} : uint8_t{0}});
}

SimReply EndAutoTsbs(ModuleState& m, const Request& r) {
    m.autoTsbsOn = false;
    return Ack(r);
}

SimReply BeginAutoTsbs(ModuleState& m, const Request& r) {
    m.autoTsbsSchedule = r.data;
    m.autoTsbsOn = true;
    return Ack(r);
}

SimReply SetProtect(ModuleState& m, const Request& r) {
    m.protectSwitches = r.data;
    return Ack(r);
}

SimReply SetLimit10A(ModuleState& m, const Request& r) {
    m.limitValue = 10;
    return Ack(r);
}

SimReply SetLimit5A(ModuleState& m, const Request& r) {
    m.limitValue = 5;
    return Ack(r);
}

SimReply SetCapacity(ModuleState& m, const Request& r) {
    m.capacity = I32(r.data, 0);
    return Ack(r);
}

SimReply GetCapacity(ModuleState& m, const Request& r) {
    Bytes data;
    Put32(data, static_cast<uint32_t>(m.capacity));
    return With(r, std::move(data));
}

SimReply SetChargeCircuit(ModuleState& m, const Request& r) {
    m.chargeCircuit = r.data;
    return Ack(r);
}

SimReply SetLimitCurrent(ModuleState& m, const Request& r) {
    m.limitCurrent = r.data[0];
    return Ack(r);
}

SimReply GetLimitCurrent(ModuleState& m, const Request& r) { return With(r, Bytes{m.limitCurrent}); }

SimReply Acknowledge(ModuleState&, const Request& r) { return Ack(r); }

constexpr SimCommand kCommands[] = {
    {0x01, {4, 0}, false, Login},           {0x02, {4, 0}, false, Logout},
    {0x03, {4, 24}, false, QueryTelemetry}, {0x04, {4, 0}, true, ReadAdc},
    {0x05, {4, 0}, true, ReadIo},           {0x06, {4, 0}, true, GetVersion},
    {0x07, {4, 0}, true, ReadKb},           {0x08, {70, 62}, true, WriteKb},
    {0x09, {144, 0}, true, WriteBms},       {0x0A, {4, 0}, true, Acknowledge},
    {0x0B, {4, 0}, true, Acknowledge},      {0x0C, {4, 0}, true, Acknowledge},
    {0x0D, {4, 0}, true, Acknowledge},      {0x0E, {4, 0}, true, GetHistory},
    {0x0F, {20, 0}, true, SetHistory},      {0x10, {4, 0}, true, ReadSerial},
    {0x11, {24, 0}, true, WriteSerial},     {0x13, {20, 0}, true, SetLife},
    {0x15, {4, 0}, false, ReadBms},         {0x16, {0, 0}, false, QueryExt},  // the short frame
    {0x17, {4, 0}, true, GetWorkMode},      {0x18, {5, 0}, true, SetWorkMode},
    {0x19, {4, 0}, true, HistoryAlarms},    {0x1A, {4, 0}, true, Acknowledge},
    {0x20, {12, 0}, true, SetClock},        {0x21, {4, 0}, true, AutoTsbsRecords},
    {0x22, {4, 0}, true, Acknowledge},      {0x23, {4, 0}, true, Acknowledge},
    {0x24, {4, 0}, true, Acknowledge},      {0x25, {4, 0}, true, GetDisTime},
    {0x26, {12, 0}, true, SetDisTime},      {0x27, {4, 0}, true, Acknowledge},
    {0x28, {4, 0}, true, Acknowledge},      {0x29, {4, 0}, true, GetClock},
    {0x2A, {4, 0}, true, CheckFunction},    {0x2B, {4, 0}, true, EndAutoTsbs},
    {0x2C, {22, 0}, true, BeginAutoTsbs},   {0x2D, {5, 0}, true, HistoryAlarms},
    {0x2E, {4, 0}, true, DailyRecords},     {0x2F, {24, 0}, true, SetProtect},
    {0x30, {4, 0}, true, SetLimit10A},      {0x31, {4, 0}, true, SetLimit5A},
    {0x32, {8, 0}, true, SetCapacity},      {0x33, {4, 0}, true, GetCapacity},
    {0x35, {6, 0}, true, SetChargeCircuit}, {0x39, {5, 0}, true, SetLimitCurrent},
    {0x3A, {4, 0}, true, GetLimitCurrent},
};

bool Ignores(const ModuleState& module, uint8_t code) {
    return std::find(module.ignored.begin(), module.ignored.end(), code) != module.ignored.end();
}

}  // namespace

const SimCommand* FindSimCommand(uint8_t code) {
    for (const SimCommand& c : kCommands)
        if (c.code == code) return &c;
    return nullptr;
}

SimReply Answer(ModuleState& module, const Request& request) {
    const SimCommand* command = FindSimCommand(request.code);
    if (command == nullptr || Ignores(module, request.code)) return Silence();
    const SimReply refused{false, Reply(request.code), kStatusRefused, {}};
    if (!request.shortFrame) {
        const size_t length = 4 + request.data.size();
        if (length != command->requestLengths[0] && length != command->requestLengths[1]) return refused;
    }
    if (command->needsLogin && !module.loggedIn) return refused;
    return command->handler(module, request);
}

}  // namespace tarvel::sim
