#include "tools/bms-sim/ModuleRecords.h"

#include <algorithm>

namespace tarvel::sim {

namespace {

void PutI16(Bytes& out, int32_t v) { Put16(out, static_cast<uint16_t>(static_cast<int16_t>(v))); }
void PutI32(Bytes& out, int32_t v) { Put32(out, static_cast<uint32_t>(v)); }

void PutTime(Bytes& out, int year, int month, int weekDay, int day, int hour, int minute, int second) {
    Put16(out, static_cast<uint16_t>(year));
    for (int v : {month, weekDay, day, hour, minute, second}) out.push_back(static_cast<uint8_t>(v));
}

// The batch header: total, number of the last record in this reply, records in
// it.
Bytes BatchHeader(uint16_t total, uint16_t last, uint16_t count) {
    Bytes out;
    Put16(out, total);
    Put16(out, last);
    Put16(out, count);
    return out;
}

void NextDay(int& year, int& month, int& day) {
    static const int kDays[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    const int length = kDays[month - 1] + (month == 2 && year % 4 == 0 ? 1 : 0);
    if (++day <= length) return;
    day = 1;
    if (++month > 12) {
        month = 1;
        ++year;
    }
}

// Alarm n (1-based) of the module's history: a protection episode a day.
Bytes AlarmRecord(const ModuleState& m, int n, bool shortRecord) {
    Bytes r;
    const int day = 1 + (n - 1) % 28;
    PutTime(r, 2024, 3, 1 + (day % 7), day, 8 + n % 10, n, 30);
    PutTime(r, 2024, 3, 1 + (day % 7), day, 9 + n % 10, n, 5);
    static const uint32_t kModes[] = {0, 1, 2, 4};
    Put32(r, kModes[n % 4]);
    PutI32(r, n % 2 ? -(12000 + 250 * n) : 8000 + 125 * n);  // mA
    PutI32(r, 52000 + 10 * n);                               // mV
    PutI32(r, 100000 - 1500 * n);                            // mAh
    // The first episodes are the shutdown and power-on markers, then one
    // protection bit at a time, with a fault now and then.
    uint32_t protect = n == 1 ? 0 : n == 2 ? 15 : 1u << ((n - 3) % 19);
    uint32_t fault = n == 1 ? 0 : n == 2 ? 15 : (n % 3 == 0 ? 1u << (n % 13) : 0);
    Put32(r, protect);
    if (!shortRecord) Put32(r, fault);
    PutI16(r, 20 + n % 5 - (n == 7 ? 35 : 0));  // ambient
    for (int i = 0; i < 4; ++i) PutI16(r, 25 + i + n % 3);
    Put16(r, 0);
    for (int i = 0; i < 16; ++i) Put16(r, static_cast<uint16_t>(3300 + ((i + n + m.address) % 9) * 10));
    return r;
}

// Splits records numbered first..first+count-1 of a download of `total` into
// replies of `perReply`; each reply's slots are filled up to `slotSize` with
// zeros.
template <typename RecordFn>
std::vector<Bytes> Batches(uint16_t total, int perReply, size_t headerPad, size_t slotSize, RecordFn record) {
    std::vector<Bytes> replies;
    int sent = 0;
    do {
        const int count = std::min(perReply, total - sent);
        Bytes data = BatchHeader(total, static_cast<uint16_t>(sent + count), static_cast<uint16_t>(count));
        data.resize(data.size() + headerPad, 0);
        for (int i = 0; i < perReply; ++i) {
            Bytes slot = i < count ? record(sent + i + 1) : Bytes();
            slot.resize(slotSize, 0);
            data.insert(data.end(), slot.begin(), slot.end());
        }
        replies.push_back(std::move(data));
        sent += count;
    } while (sent < total);
    return replies;
}

}  // namespace

bool KeepsShortRecords(const ModuleState& module) { return module.kb.size() == 58; }

std::vector<Bytes> HistoryAlarmBatches(const ModuleState& module, bool recent, uint8_t count) {
    const bool shortRecords = KeepsShortRecords(module);
    const uint16_t stored = module.records.alarms;
    const uint16_t total = recent ? std::min<uint16_t>(count, stored) : stored;
    const int skipped = stored - total;  // the recent ones are the last of the history
    return Batches(total, 5, 2, shortRecords ? 80 : 84,
                   [&](int n) { return AlarmRecord(module, skipped + n, shortRecords); });
}

std::vector<Bytes> DailyRecordBatches(const ModuleState& module) {
    return Batches(module.records.days, 40, 0, 6, [&](int n) {
        // Day n counted from 2023-12-01: year offset in the low nibble, month in
        // the high.
        int year = 2023, month = 12, day = 1;
        for (int i = 1; i < n; ++i) NextDay(year, month, day);
        const int chargeCode = (n + module.address) % 8;
        Bytes r{static_cast<uint8_t>(((year - 2016) & 0x0F) | month << 4),
                static_cast<uint8_t>(day | chargeCode << 5), static_cast<uint8_t>(30 + n % 15),
                static_cast<uint8_t>(20 + n % 10)};
        PutI16(r, n % 10 == 0 ? -3 : 40 + n);
        return r;
    });
}

std::vector<Bytes> AutoTsbsBatches(const ModuleState& module) {
    const Telemetry& t = module.telemetry;
    return Batches(module.records.telemetry, 5, 2, 76, [&](int n) {
        Bytes r;
        PutTime(r, 2024, 1, 0, 1, 8, n * 5, 0);
        Put32(r, t.battState);
        PutI32(r, t.current - 10 * n);
        Put32(r, static_cast<uint32_t>(t.batt + n));
        Put32(r, 80000 - 100 * n);
        Put32(r, n == 1 ? 0x41 : 0);
        Put32(r, n == 1 ? 0x01 : 0);
        PutI16(r, t.temps[0]);
        for (int i = 0; i < 4; ++i) PutI16(r, t.temps[static_cast<size_t>(i + 1)]);
        Put16(r, 0);
        for (uint16_t cell : t.cells) Put16(r, cell);
        return r;
    });
}

Bytes AdcCounts(const ModuleState& module) {
    const Telemetry& t = module.telemetry;
    Bytes out;
    // Raw counts: a tenth of the millivolts, the currents split by direction,
    // 2000 + temperatures.
    Put16(out, static_cast<uint16_t>(t.pack / 10));
    for (uint16_t cell : t.cells) Put16(out, static_cast<uint16_t>(cell / 2));
    Put16(out, static_cast<uint16_t>(t.current > 0 ? t.current / 10 : 0));
    Put16(out, static_cast<uint16_t>(t.current < 0 ? -t.current / 10 : 0));
    for (int16_t temp : t.temps) Put16(out, static_cast<uint16_t>(2000 + temp * 10));
    return out;
}

Bytes IoRegisters(const ModuleState& module) {
    Bytes out;
    for (int i = 0; i < 19; ++i) out.push_back(static_cast<uint8_t>(0x11 * (i % 16) ^ module.address));
    return out;
}

Bytes RunHistoryBlock(const ModuleState& module) {
    if (std::any_of(module.runHistory.begin(), module.runHistory.end(), [](uint8_t b) { return b != 0; })) {
        return module.runHistory;
    }
    Bytes out;
    PutI32(out,
           52000 + static_cast<int32_t>(module.step));  // total run time, minutes
    PutI32(out, static_cast<int32_t>(module.step));     // since the last start
    PutI32(out, 37);                                    // starts
    PutI32(out, 2);                                     // last exit: idle
    return out;
}

}  // namespace tarvel::sim
