#pragma once
// Everything one simulated module knows. Replies are encoded from these
// fields by the module's own code (ModuleState.cpp); writes land here and are
// read back from here.

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "tools/bms-sim/RecordStock.h"
#include "tools/bms-sim/SimFrame.h"

namespace tarvel::sim {

struct Telemetry {
    int32_t pack = 52900;              // mV
    int32_t batt = 52800;              // mV
    std::array<uint16_t, 16> cells{};  // mV
    int32_t current = -1500;           // mA, negative while discharging
    std::array<int16_t, 8> temps{};    // degrees
    uint32_t others = 0, alarm = 0, protection = 0, fail = 0, balance = 0;
    uint16_t battState = 2;  // 0 idle, 1 charging, 2 discharging, 4 full
    uint16_t soc = 80;
    uint32_t socHealth = 98;
    uint32_t discTimes = 12;
    uint32_t totalDiscSoc = 1234;
};

struct VersionInfo {
    uint16_t main = 1, hyp = 2, edit = 3, year = 2024;
    uint8_t month = 5, day = 9;
    std::string hardware = "BMS-HW-V2.1,48V100AH";      // 30 characters at most
    std::string function = "16S LFP, balance, heater";  // 40 characters at most
};

struct ModuleState {
    uint8_t address = 0;
    bool loggedIn = false;
    uint32_t step = 0;  // telemetry readings taken; drives the slow changes
    // The readings stay as set between queries, as on a calibration bench
    // that holds a voltage and a current steady.
    bool steady = false;

    Telemetry telemetry;
    VersionInfo version;
    bool shortVersion = false;         // reply 0x86 with 10 data bytes instead of 80
    std::array<uint8_t, 20> serial{};  // 20 characters, zero-padded
    Bytes protection;                  // 140 bytes, the 48 parameters
    Bytes kb;                          // 66 bytes (full layout) or 58 (short)
    int32_t capacity = 100000;         // mAh
    Bytes runHistory = Bytes(16, 0);   // four i32
    Bytes clock = Bytes(8, 0);         // year u16, month, week-day, day, hour, minute, second
    Bytes overCurrentDelays = Bytes(8, 0);
    Bytes protectSwitches = Bytes(20, 0);
    Bytes autoTsbsSchedule = Bytes(18, 0);
    Bytes chargeCircuit = Bytes(2, 0);
    uint8_t workMode = 0xFF;    // 0xFF normal program
    uint8_t limitValue = 10;    // A, the charge limit of 0x30 (10 A) and 0x31 (5 A)
    uint8_t limitCurrent = 16;  // the limit-current code: 16 for 10 A, 7 for 0.7 A
    bool autoTsbsOn = false;
    RecordStock records;  // what the record downloads bring
    // Request codes the module lets pass without a word and without acting
    // on them, as a module busy with its own work does.
    std::vector<uint8_t> ignored;

    static ModuleState Make(uint8_t address, bool shortKb = false);

    // One reading: the slow drift of voltages, current, temperatures and charge.
    void Advance();

    Bytes EncodeTelemetry() const;  // 96 bytes
    Bytes EncodeVersion() const;    // 80 or 10 bytes
    // The life block of request 0x13 lands in the telemetry's charge fields.
    void ApplyLife(const Bytes& block);
};

// The initial protection parameters P1..P48 as the module keeps them.
Bytes DefaultProtectionBlock();

}  // namespace tarvel::sim
