#include "telemetry/StatusWords.h"

#include <gtest/gtest.h>

#include <map>

namespace tarvel {
namespace {

std::map<std::string_view, Colour> AsMap(const std::vector<LampColour>& lamps) {
    std::map<std::string_view, Colour> map;
    for (const LampColour& lamp : lamps) map[lamp.lamp] = lamp.colour;
    return map;
}

TEST(StatusWords, AlarmBit16PaintsOnlyTheHiddenEndLifeLampAndThePicture) {
    const auto lamps = AsMap(AlarmLamps(0x00010000));
    for (const auto& [lamp, colour] : lamps) {
        EXPECT_EQ(colour, lamp == "S_Alarm17" ? StatusColour::Alarm : StatusColour::Normal) << lamp;
    }
    TelemetryRecord record;
    record.Alarm = 0x00010000;
    EXPECT_EQ(BatteryPictureColours(record).body, StatusColour::Alarm);
}

TEST(StatusWords, BitsMapToTheirLamps) {
    struct Case {
        std::vector<LampColour> lamps;
        std::string_view lamp;
        Colour colour;
    };
    const std::vector<Case> cases = {
        {AlarmLamps(1u << 4), "S_Alarm5", StatusColour::Alarm},  // "Module Volt Low"
        {AlarmLamps(1u << 15), "S_Alarm16", StatusColour::Alarm},
        {AlarmLamps(0xFFFFFFFF), "S_Alarm18", StatusColour::Normal},  // protection-only row
        {AlarmLamps(0xFFFFFFFF), "S_Alarm4", StatusColour::Normal},
        {ProtectionLamps(1u << 19), "S_Protect20", StatusColour::Protection},
        {ProtectionLamps(1u << 16), "S_Protect17", StatusColour::Protection},
        {ProtectionLamps(0xFFFFFFFF), "S_Protect21", StatusColour::Normal},
        {ProtectionLamps(0xFFFFFFFF), "S_Alarm21", StatusColour::Normal},
        {FailLamps(1u << 8), "S_Fail9", StatusColour::Protection},
        {FailLamps(0), "S_Fail1", StatusColour::Normal},
        {OthersLamps(1u << 4), "S_Chg_Limit", StatusColour::Normal},
        {OthersLamps(0), "S_Heater", StatusColour::Clear},
        {BalanceLamps(1u << 15), "Bls16", StatusColour::Normal},
        {BalanceLamps(1u << 15), "Bls1", StatusColour::Clear},
    };
    for (const Case& c : cases) EXPECT_EQ(AsMap(c.lamps).at(c.lamp), c.colour) << c.lamp;
}

TEST(StatusWords, BitsWithoutLampsShowOnlyInThePicture) {
    TelemetryRecord record;
    record.Alarm = 0x8;
    record.Protection = 0x2000;
    for (const auto& lamp : AlarmLamps(record.Alarm)) EXPECT_EQ(lamp.colour, StatusColour::Normal);
    for (const auto& lamp : ProtectionLamps(record.Protection)) EXPECT_EQ(lamp.colour, StatusColour::Normal);
    EXPECT_EQ(BatteryPictureColours(record).body, StatusColour::Protection);
}

TEST(StatusWords, BatteryStateLampsAndPicture) {
    struct Case {
        uint16_t state;
        int active;  // index of the lit lamp, -1 none
        BatteryPicture picture;
    };
    const std::vector<Case> cases = {
        {0, 0, {0xF1D2B4, 0xF1D2B4}}, {1, 1, {0x80D98D, 0x80D98D}},    {2, 2, {0xFFFFAA, 0xFFFFAA}},
        {4, 3, {0x80FF00, 0x80FF00}}, {3, -1, {0xFFFFFF, 0x80000016}},
    };
    for (const Case& c : cases) {
        const auto lamps = BatteryStateLamps(c.state);
        for (int i = 0; i < 4; ++i) {
            EXPECT_EQ(lamps[i].colour == StatusColour::Inactive, i != c.active) << c.state << " lamp " << i;
        }
        TelemetryRecord record;
        record.BattState = c.state;
        EXPECT_EQ(BatteryPictureColours(record), c.picture) << c.state;
    }
}

TEST(StatusWords, ParallelStateColourTakesTheLastRuleThatApplies) {
    struct Case {
        uint16_t state;
        uint32_t alarm, protection, fail;
        Colour colour;
    };
    const std::vector<Case> cases = {
        {1, 0, 0, 0, 0x80D98D}, {3, 0, 0, 0, 0x80000005}, {1, 1, 0, 0, 0xFFD0FF},
        {1, 1, 1, 0, 0x6A6AFF}, {0, 0, 0, 1, 0x6A6AFF},   {4, 0, 0, 0, 0x80FF00},
    };
    for (const Case& c : cases) {
        TelemetryRecord record;
        record.BattState = c.state;
        record.Alarm = c.alarm;
        record.Protection = c.protection;
        record.Fail = c.fail;
        EXPECT_EQ(ParallelStateColour(record), c.colour);
    }
}

TEST(StatusWords, TablesHoldTheLabelsOfTheGroup) {
    ASSERT_EQ(AlarmProtectionRows().size(), 18u);
    EXPECT_EQ(AlarmProtectionRows()[13].label, "Reverse Connection ");
    EXPECT_EQ(FailBits()[7].label, "Switch Of Panel Off");
    TelemetryRecord record;
    record.SOC = 130;
    EXPECT_EQ(SocLabel(record), "SOC-130%");
}

}  // namespace
}  // namespace tarvel
