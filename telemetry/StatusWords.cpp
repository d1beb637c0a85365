#include "telemetry/StatusWords.h"

#include "platform/base/Strings.h"

namespace tarvel {

namespace {

bool BitSet(uint32_t word, int bit) { return bit >= 0 && (word >> bit & 1u) != 0; }

const std::vector<AlarmProtectionRow> kAlarmProtectionRows = {
    {"Pack Volt Over", "S_Alarm1", 0, "S_Protect1", 0},
    {"Module Volt Over", "S_Alarm2", 1, "S_Protect2", 1},
    {"Cell Volt Over", "S_Alarm3", 2, "S_Protect3", 2},
    {"Module Volt Low", "S_Alarm5", 4, "S_Protect5", 4},
    {"Cell Volt Low", "S_Alarm6", 5, "S_Protect6", 5},
    {"Chg.Current Over", "S_Alarm7", 6, "S_Protect7", 6},
    {"Dischg.Current Over", "S_Alarm8", 7, "S_Protect8", 7},
    {"Chg.Temp Over", "S_Alarm9", 8, "S_Protect9", 8},
    {"Dischg.Temp Over", "S_Alarm10", 9, "S_Protect10", 9},
    {"Chg.Temp Low", "S_Alarm11", 10, "S_Protect11", 10},
    {"Dischg.Temp Low", "S_Alarm12", 11, "S_Protect12", 11},
    {"SOC Low", "S_Alarm13", 12, "S_Protect13", 12},
    {"Dischg Short Circuit", "S_Alarm15", 14, "S_Protect15", 14},
    {"Reverse Connection ", "S_Alarm16", 15, "S_Protect16", 15},
    {"Lew.Temp over Chg.Curr 0", "S_Alarm18", -1, "S_Protect17", 16},
    {"Lew.Temp over Chg.Curr 1", "S_Alarm19", -1, "S_Protect18", 17},
    {"Lew.Temp over Chg.Volt", "S_Alarm20", -1, "S_Protect19", 18},
    {"Chg Short Circuit", "S_Alarm21", -1, "S_Protect20", 19},
};

// Lamps of the group that no view shows; only "End Life" follows a bit.
const std::vector<StatusBit> kHiddenAlarmLamps = {
    {-1, "S_Alarm4", ""}, {-1, "S_Alarm14", ""}, {16, "S_Alarm17", ""}};
const std::vector<std::string_view> kHiddenProtectionLamps = {"S_Protect4", "S_Protect14", "S_Protect21"};

const std::vector<StatusBit> kFailBits = {
    {0, "S_Fail1", "Volt.Sensor Fail"},
    {1, "S_Fail2", "Temp.Sensor Fail"},
    {2, "S_Fail3", "Chg.Tube Fail"},
    {3, "S_Fail4", "Dischg.Tube Fail"},
    {4, "S_Fail5", "Cell Broken"},
    {5, "S_Fail6", "Heater Fail"},
    {6, "S_Fail7", ""},
    {7, "S_Fail8", "Switch Of Panel Off"},
    {8, "S_Fail9", "Chg.Circuit Fail"},
};

const std::vector<StatusBit> kOthersBits = {
    {0, "S_Heater", "Heater"},      {1, "S_ChgFullT", "Full.Count"}, {2, "S_Adjusted_V", "Volt.Cal"},
    {3, "S_Adjusted_C", "Cur.Cal"}, {4, "S_Chg_Limit", "Chg.Cur"},
};

const std::array<std::string_view, 16> kBalanceLamps = {"Bls1",  "Bls2",  "Bls3",  "Bls4",  "Bls5",  "Bls6",
                                                        "Bls7",  "Bls8",  "Bls9",  "Bls10", "Bls11", "Bls12",
                                                        "Bls13", "Bls14", "Bls15", "Bls16"};

struct StateLook {
    uint16_t state;
    std::string_view lamp;
    Colour colour;
};
const std::array<StateLook, 4> kStateLooks = {{{0, "S_IdleStatus", StatusColour::Clear},
                                               {1, "S_ChgStatus", StatusColour::Charging},
                                               {2, "S_DisStatus", StatusColour::Discharging},
                                               {4, "S_FullStatus", StatusColour::Normal}}};

const StateLook* FindStateLook(uint16_t state) {
    for (const StateLook& look : kStateLooks) {
        if (look.state == state) return &look;
    }
    return nullptr;
}

std::vector<LampColour> BitLamps(const std::vector<StatusBit>& bits, uint32_t word, Colour set,
                                 Colour clear) {
    std::vector<LampColour> lamps;
    for (const StatusBit& b : bits) lamps.push_back({b.lamp, BitSet(word, b.bit) ? set : clear});
    return lamps;
}

}  // namespace

const std::vector<AlarmProtectionRow>& AlarmProtectionRows() { return kAlarmProtectionRows; }
const std::vector<StatusBit>& FailBits() { return kFailBits; }
const std::vector<StatusBit>& OthersBits() { return kOthersBits; }

std::vector<LampColour> AlarmLamps(uint32_t alarm) {
    std::vector<LampColour> lamps;
    for (const AlarmProtectionRow& row : kAlarmProtectionRows) {
        lamps.push_back(
            {row.alarmLamp, BitSet(alarm, row.alarmBit) ? StatusColour::Alarm : StatusColour::Normal});
    }
    for (const StatusBit& hidden : kHiddenAlarmLamps) {
        lamps.push_back(
            {hidden.lamp, BitSet(alarm, hidden.bit) ? StatusColour::Alarm : StatusColour::Normal});
    }
    return lamps;
}

std::vector<LampColour> ProtectionLamps(uint32_t protection) {
    std::vector<LampColour> lamps;
    for (const AlarmProtectionRow& row : kAlarmProtectionRows) {
        lamps.push_back({row.protectionLamp, BitSet(protection, row.protectionBit) ? StatusColour::Protection
                                                                                   : StatusColour::Normal});
    }
    for (std::string_view hidden : kHiddenProtectionLamps) lamps.push_back({hidden, StatusColour::Normal});
    // The alarm lamps of the protection-only rows are repainted after the column.
    for (const AlarmProtectionRow& row : kAlarmProtectionRows) {
        if (row.alarmBit < 0) lamps.push_back({row.alarmLamp, StatusColour::Normal});
    }
    return lamps;
}

std::vector<LampColour> FailLamps(uint32_t fail) {
    return BitLamps(kFailBits, fail, StatusColour::Protection, StatusColour::Normal);
}

std::vector<LampColour> OthersLamps(uint32_t others) {
    return BitLamps(kOthersBits, others, StatusColour::Normal, StatusColour::Clear);
}

std::vector<LampColour> BalanceLamps(uint32_t balance) {
    std::vector<LampColour> lamps;
    for (size_t bit = 0; bit < kBalanceLamps.size(); ++bit) {
        lamps.push_back({kBalanceLamps[bit], BitSet(balance, static_cast<int>(bit)) ? StatusColour::Normal
                                                                                    : StatusColour::Clear});
    }
    return lamps;
}

std::array<LampColour, 4> BatteryStateLamps(uint16_t battState) {
    std::array<LampColour, 4> lamps{};
    for (size_t i = 0; i < kStateLooks.size(); ++i) {
        const StateLook& look = kStateLooks[i];
        lamps[i] = {look.lamp, look.state == battState ? look.colour : StatusColour::Inactive};
    }
    return lamps;
}

BatteryPicture BatteryPictureColours(const TelemetryRecord& record) {
    if (record.Fail != 0 || record.Protection != 0)
        return {StatusColour::Protection, StatusColour::Protection};
    if (record.Alarm != 0) return {StatusColour::Alarm, StatusColour::Alarm};
    if (const StateLook* look = FindStateLook(record.BattState)) return {look->colour, look->colour};
    return {StatusColour::White, StatusColour::LightEdge3D};
}

Colour ParallelStateColour(const TelemetryRecord& record) {
    const StateLook* look = FindStateLook(record.BattState);
    Colour colour = look ? look->colour : StatusColour::WindowBackground;
    if (record.Alarm != 0) colour = StatusColour::Alarm;
    if (record.Protection != 0 || record.Fail != 0) colour = StatusColour::Protection;
    return colour;
}

std::string SocLabel(const TelemetryRecord& record) { return "SOC-" + UIntToStr(record.SOC) + "%"; }

}  // namespace tarvel
