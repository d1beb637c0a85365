#include "tools/bms-sim/ModuleState.h"

#include <cstdio>

namespace tarvel::sim {

namespace {

enum class Width { I32, U16, I16 };

struct ParameterDefault {
    Width width;
    int32_t value;
};

// P1..P48 in block order: charge switching, balancing, over-charge of pack,
// battery and cell, under-voltage, over-currents, temperatures, heater.
constexpr ParameterDefault kParameters[] = {
    {Width::I32, 54000},   {Width::I32, 500},    {Width::I32, 3400},    {Width::I32, 3350},   // P1-P4
    {Width::I32, 57600},   {Width::I32, 56000},  {Width::I32, 58400},   {Width::I32, 56800},  // P5-P8
    {Width::I32, 57600},   {Width::I32, 56000},  {Width::I32, 58400},   {Width::I32, 56800},  // P9-P12
    {Width::U16, 3600},    {Width::U16, 3500},   {Width::U16, 3650},    {Width::U16, 3550},   // P13-P16
    {Width::I32, 46400},   {Width::I32, 48000},  {Width::I32, 44800},   {Width::I32, 46400},  // P17-P20
    {Width::U16, 2900},    {Width::U16, 3000},   {Width::U16, 2800},    {Width::U16, 2900},   // P21-P24
    {Width::I32, 55000},   {Width::I32, 50000},  {Width::I32, 60000},                         // P25-P27
    {Width::I32, -100000}, {Width::I32, -90000}, {Width::I32, -110000},                       // P28-P30
    {Width::I16, 50},      {Width::I16, 45},     {Width::I16, 55},      {Width::I16, 50},     // P31-P34
    {Width::I16, 60},      {Width::I16, 55},     {Width::I16, 65},      {Width::I16, 60},     // P35-P38
    {Width::I16, 2},       {Width::I16, 5},      {Width::I16, 0},       {Width::I16, 3},      // P39-P42
    {Width::I16, -15},     {Width::I16, -10},    {Width::I16, -20},     {Width::I16, -15},    // P43-P46
    {Width::I16, 5},       {Width::I16, 10},                                                  // P47-P48
};

void PutI32(Bytes& out, int32_t v) { Put32(out, static_cast<uint32_t>(v)); }
void PutI16(Bytes& out, int16_t v) { Put16(out, static_cast<uint16_t>(v)); }

}  // namespace

Bytes DefaultProtectionBlock() {
    Bytes block;
    for (const ParameterDefault& p : kParameters) {
        if (p.width == Width::I32) {
            PutI32(block, p.value);
        } else {
            Put16(block, static_cast<uint16_t>(p.value));
        }
    }
    return block;
}

ModuleState ModuleState::Make(uint8_t address, bool shortKb) {
    ModuleState m;
    m.address = address;
    char serial[21];
    std::snprintf(serial, sizeof serial, "TBM2024%06u", 100 + address);
    for (size_t i = 0; i < 20 && serial[i] != 0; ++i) m.serial[i] = static_cast<uint8_t>(serial[i]);
    m.protection = DefaultProtectionBlock();
    // K of 10000 is a factor of 1; the offsets start at 0.
    for (int i = 0; i < 17; ++i) Put16(m.kb, 10000);
    const int currentPairs = shortKb ? 2 : 4;
    for (int i = 0; i < currentPairs; ++i) {
        Put16(m.kb, 10000);
        PutI16(m.kb, 0);
    }
    for (int i = 0; i < 8; ++i) Put16(m.kb, 10000);
    m.clock = {0xE8, 0x07, 1, 1, 1, 8, 0, 0};  // 2024-01-01 08:00:00, a Monday
    m.Advance();
    m.step = 0;
    return m;
}

void ModuleState::Advance() {
    ++step;
    if (steady) return;
    Telemetry& t = telemetry;
    int32_t sum = 0;
    for (size_t i = 0; i < t.cells.size(); ++i) {
        // Each cell wanders a few mV around 3300, each on its own phase.
        const int wiggle = static_cast<int>((i * 7 + step * 3) % 11) - 5;
        t.cells[i] = static_cast<uint16_t>(3300 + wiggle + static_cast<int>(address % 4));
        sum += t.cells[i];
    }
    t.batt = sum;
    t.pack = sum + 15;
    t.current = -1500 + static_cast<int32_t>(step % 7) * 10;
    for (size_t i = 0; i < t.temps.size(); ++i)
        t.temps[i] = static_cast<int16_t>(24 + i % 3 + (step / 20) % 2);
    if (step % 50 == 0 && t.soc > 10) --t.soc;
}

Bytes ModuleState::EncodeTelemetry() const {
    const Telemetry& t = telemetry;
    Bytes out;
    PutI32(out, t.pack);
    PutI32(out, t.batt);
    for (uint16_t v : t.cells) Put16(out, v);
    PutI32(out, t.current);
    for (int16_t v : t.temps) PutI16(out, v);
    for (uint32_t v : {t.others, t.alarm, t.protection, t.fail, t.balance}) Put32(out, v);
    Put16(out, t.battState);
    Put16(out, t.soc);
    Put32(out, t.socHealth);
    Put32(out, t.discTimes);
    Put32(out, t.totalDiscSoc);
    return out;
}

Bytes ModuleState::EncodeVersion() const {
    Bytes out;
    Put16(out, version.main);
    Put16(out, version.hyp);
    Put16(out, version.edit);
    Put16(out, version.year);
    out.push_back(version.month);
    out.push_back(version.day);
    if (!shortVersion) {
        PutText(out, version.hardware.c_str(), 30);
        PutText(out, version.function.c_str(), 40);
    }
    return out;
}

void ModuleState::ApplyLife(const Bytes& block) {
    if (block.size() != 16) return;
    const auto u32 = [&](size_t at) {
        return uint32_t{block[at]} | uint32_t{block[at + 1]} << 8 | uint32_t{block[at + 2]} << 16 |
               uint32_t{block[at + 3]} << 24;
    };
    telemetry.soc = static_cast<uint16_t>(block[0] | block[1] << 8);
    telemetry.socHealth = u32(4);
    telemetry.discTimes = u32(8);
    telemetry.totalDiscSoc = u32(12);
}

}  // namespace tarvel::sim
