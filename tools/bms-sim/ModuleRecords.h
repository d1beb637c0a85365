#pragma once
// What a module keeps in flash and hands out on request: history alarms
// (five a reply, 84-byte records, or 80-byte ones on the older firmware that
// also keeps the short calibration block), daily records (forty a reply),
// its own telemetry log (five a reply), and the raw readings of its ADC and
// I/O ports. Laid out here by the module's own code.

#include <cstdint>
#include <vector>

#include "tools/bms-sim/ModuleState.h"
#include "tools/bms-sim/SimFrame.h"

namespace tarvel::sim {

// The older firmware: short calibration block, 80-byte alarm records.
bool KeepsShortRecords(const ModuleState& module);

// The data of every reply of one download of the module's stock, in the
// order they go out. `recent` asks for the last `count` alarms only.
std::vector<Bytes> HistoryAlarmBatches(const ModuleState& module, bool recent, uint8_t count);
std::vector<Bytes> DailyRecordBatches(const ModuleState& module);
std::vector<Bytes> AutoTsbsBatches(const ModuleState& module);

Bytes AdcCounts(const ModuleState& module);    // 27 counts, 54 bytes
Bytes IoRegisters(const ModuleState& module);  // 19 bytes
// The run history: what the tool last wrote, else the module's own count.
Bytes RunHistoryBlock(const ModuleState& module);

}  // namespace tarvel::sim
