#pragma once
// The status words of a telemetry record as indicator colours: the bit
// tables of the alarm, protection, fail, others and balance words, the
// battery-state lamps, and the colour of the battery picture and of a
// parallel module's tile. Colours are 0x00BBGGRR values.

#include <array>
#include <cstdint>
#include <string_view>
#include <vector>

#include "telemetry/TelemetryRecord.h"

namespace tarvel {

using Colour = uint32_t;

namespace StatusColour {
constexpr Colour Normal = 0x80FF00;  // bit clear, Others/balance set, full
constexpr Colour Clear = 0xF1D2B4;   // Others/balance clear, idle
constexpr Colour Alarm = 0xFFD0FF;
constexpr Colour Protection = 0x6A6AFF;  // protection and fail
constexpr Colour Charging = 0x80D98D;
constexpr Colour Discharging = 0xFFFFAA;
constexpr Colour Inactive = 0xC0C0C0;
constexpr Colour White = 0xFFFFFF;
constexpr Colour WindowBackground = 0x80000005;
constexpr Colour LightEdge3D = 0x80000016;
}  // namespace StatusColour

// One row of the "Alarm/Prot State" group. A bit of -1 means the lamp has
// no bit and is always painted Normal.
struct AlarmProtectionRow {
    std::string_view label;
    std::string_view alarmLamp;
    int alarmBit;
    std::string_view protectionLamp;
    int protectionBit;
};
// The 18 visible rows, top to bottom.
const std::vector<AlarmProtectionRow>& AlarmProtectionRows();

struct StatusBit {
    int bit;
    std::string_view lamp;
    std::string_view label;  // empty for a hidden lamp
};
const std::vector<StatusBit>& FailBits();
const std::vector<StatusBit>& OthersBits();

struct LampColour {
    std::string_view lamp;
    Colour colour;
    bool operator==(const LampColour&) const = default;
};

// Every lamp each display paints, in painting order, hidden ones included.
std::vector<LampColour> AlarmLamps(uint32_t alarm);
std::vector<LampColour> ProtectionLamps(uint32_t protection);
std::vector<LampColour> FailLamps(uint32_t fail);
std::vector<LampColour> OthersLamps(uint32_t others);
std::vector<LampColour> BalanceLamps(uint32_t balance);  // Bls1..Bls16
// S_IdleStatus, S_ChgStatus, S_DisStatus, S_FullStatus.
std::array<LampColour, 4> BatteryStateLamps(uint16_t battState);

// The battery picture: the bar gauge's and its cap's background.
struct BatteryPicture {
    Colour body;
    Colour cap;
    bool operator==(const BatteryPicture&) const = default;
};
// Fail or protection, else alarm, else the battery-state colour.
BatteryPicture BatteryPictureColours(const TelemetryRecord& record);
// A polled module's state colour: the battery state, then alarm, protection,
// fail, the last that applies winning.
Colour ParallelStateColour(const TelemetryRecord& record);
// The hidden label beside the state-of-charge bar: "SOC-<n>%".
std::string SocLabel(const TelemetryRecord& record);

}  // namespace tarvel
