#include "adjust/RatedCapacity.h"

#include <gtest/gtest.h>

#include "adjust/DeviceClock.h"
#include "tests/telemetry/DeviceFixture.h"

namespace tarvel {
namespace {

using testing::DeviceFixture;
using testing::Hex;
using testing::ReplyFrame;

TEST(RatedCapacity, ReplyShowsWholeAh) {
    EXPECT_EQ(DecodeCapacityReply(DeviceFixture("capacity_b3.hex")), "99");
    EXPECT_EQ(DecodeCapacityReply(ReplyFrame(0, 0xB3, Hex("24 FA FF FF"))), "-1");  // -1500
    EXPECT_FALSE(DecodeCapacityReply(ReplyFrame(0, 0xB3, Hex("24 FA FF"))));
}

TEST(RatedCapacity, SetFrame) {
    const RequestBuild hundred = BuildSetCapacity(0, "100");
    ASSERT_TRUE(hundred.Ok());
    EXPECT_EQ(hundred.frame, Hex("00 00 08 01 32 55 AA A0 86 01 00 61"));
    EXPECT_TRUE(BuildSetCapacity(0, "40").Ok());
    EXPECT_TRUE(BuildSetCapacity(0, "300").Ok());
    for (const char* text : {"39", "301", "-5"}) {
        const RequestBuild refused = BuildSetCapacity(0, text);
        EXPECT_TRUE(refused.frame.empty());
        EXPECT_EQ(refused.refusal, kCapacityRangeMessage);
    }
    EXPECT_EQ(BuildSetCapacity(0, "").refusal, "Capdis: '' is not a valid integer value");
}

TEST(RatedCapacity, LifeFrameAndItsFieldChecks) {
    const RequestBuild life = BuildSetLife(1, {"87", "98", "-1", "1000"});
    ASSERT_TRUE(life.Ok());
    EXPECT_EQ(life.frame, Hex("01 00 14 01 13 55 AA 57 00 00 00 62 00 00 00 FF FF FF FF E8 03 00 00 C7"));
    const RequestBuild refused = BuildSetLife(1, {"70000", "98", "1", "1"});
    EXPECT_TRUE(refused.frame.empty());
    EXPECT_EQ(refused.refusal, "SG_Life column 1, row 0: 70000 is out of range (-32768 to 32767)");
    EXPECT_EQ(BuildSetLife(1, {"1", "1", "", "1"}).refusal,
              "SG_Life column 1, row 2: '' is not a valid integer value");
}

TEST(RatedCapacity, RunHistoryAndExitNames) {
    const auto history = DecodeRunHistoryReply(DeviceFixture("run_history_8e.hex"));
    ASSERT_TRUE(history);
    const RunHistoryCells cells = MakeRunHistoryCells(*history);
    EXPECT_EQ(cells.values, (std::array<std::string, 4>{"123456", "90", "77", "5"}));
    EXPECT_EQ(cells.exitName, "short circuit in discharge");
    const std::vector<std::pair<int32_t, const char*>> names = {
        {0, "Frist on"},   {8, "Connect in reverse"},    {9, "Exit much/Not define"},
        {255, "Abnormal"}, {-1, "Exit much/Not define"}, {256, "Exit much/Not define"}};
    for (const auto& [code, name] : names) EXPECT_EQ(ExitReasonName(code), name) << code;
}

TEST(RatedCapacity, RunHistoryWriteFrame) {
    const RequestBuild write = BuildSetHistory(0, {"123456", "90", "-2", "255"});
    ASSERT_TRUE(write.Ok());
    EXPECT_EQ(write.frame, Hex("00 00 14 01 0F 55 AA 40 E2 01 00 5A 00 00 00 FE FF FF FF FF 00 00 00 9A"));
    EXPECT_EQ(BuildSetHistory(0, {"1", "2", "3", "2147483648"}).refusal,
              "SG_History column 1, row 3: 2147483648 is out of range (-2147483648 to 2147483647)");
    EXPECT_EQ(BuildSetHistory(0, {"1", "x", "3", "4"}).refusal,
              "SG_History column 1, row 1: 'x' is not a valid integer value");
}

TEST(DeviceClock, SetAndRead) {
    const RequestBuild set = BuildSetClock(0, {"2018", "11", "5", "9", "3", "7", "1"});
    ASSERT_TRUE(set.Ok());
    EXPECT_EQ(std::vector<uint8_t>(set.frame.begin(), set.frame.begin() + 7), Hex("00 00 0C 01 20 55 AA"));
    EXPECT_EQ(std::vector<uint8_t>(set.frame.begin() + 7, set.frame.end() - 1),
              Hex("E2 07 0B 01 05 09 03 07"));
    EXPECT_EQ(BuildSetClock(0, {"2018", "300", "5", "9", "3", "7", "1"}).refusal,
              "MonthEdit: 300 is out of range (0 to 255)");
    EXPECT_EQ(BuildSetClock(0, {"x", "1", "5", "9", "3", "7", "1"}).refusal,
              "YearEdit: 'x' is not a valid integer value");
    const auto time = DecodeClockReply(DeviceFixture("clock_a9.hex"));
    ASSERT_TRUE(time);
    EXPECT_EQ(ClockEditTexts(*time), (ClockEdits{"2018", "11", "5", "9", "3", "7", "0"}));
}

}  // namespace
}  // namespace tarvel
