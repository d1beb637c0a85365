#include "records/AutoTsbs.h"

#include <gtest/gtest.h>

#include "platform/base/Paths.h"
#include "tests/TempFolderFixture.h"
#include "tests/telemetry/DeviceFixture.h"

namespace tarvel {
namespace {

using testing::DeviceFixture;

TEST(AutoTsbs, ScheduleFrame) {
    const DeviceTime start{2018, 11, 1, 5, 8, 0, 0};
    const DeviceTime end{2018, 11, 2, 6, 9, 0, 0};
    const RequestBuild schedule = BuildAutoTsbsSchedule(0, start, end, "300");
    ASSERT_TRUE(schedule.Ok());
    EXPECT_EQ(schedule.frame,
              testing::Hex("00 00 16 01 2C 55 AA E2 07 0B 00 05 08 00 00 E2 07 0B 00 06 09 00 00 2C "
                           "01 73"));
    EXPECT_EQ(BuildAutoTsbsSchedule(0, start, end, "70000").refusal,
              "everysettime: 70000 is out of range (0 to 65535)");
    EXPECT_EQ(BuildAutoTsbsSchedule(0, start, end, "").refusal, "'' is not a valid integer value");
    EXPECT_EQ(SuggestedMinPeriod(1500), 5);
    EXPECT_EQ(SuggestedMinPeriod(299), 1);
    EXPECT_EQ(SuggestedMinPeriod(-60), 1);
    EXPECT_EQ(DecodeStoringState(DeviceFixture("storing_aa.hex")), 1);
}

TEST(AutoTsbs, RecordsFillTheirRowsWithTheChineseNames) {
    RecordRows rows(kAutoTsbsColumns);
    const auto first = DecodeAutoTsbsReply(DeviceFixture("auto_a1_1.hex"));
    const auto second = DecodeAutoTsbsReply(DeviceFixture("auto_a1_2.hex"));
    ASSERT_TRUE(first && second);
    EXPECT_FALSE(ApplyAutoTsbsBatch(rows, *first));
    EXPECT_TRUE(ApplyAutoTsbsBatch(rows, *second));
    ASSERT_EQ(rows.Rows().size(), 7u);
    const RecordRow& r = rows.Rows()[0];
    EXPECT_EQ(r[0], "1");
    EXPECT_EQ(r[1], "2018-11-5 9:3:1 ");
    EXPECT_EQ(r[2], "STATUS_DIS");
    EXPECT_EQ(r[3], "-1500");
    EXPECT_EQ(r[4], "52000");
    EXPECT_EQ(r[5], "100000");
    EXPECT_EQ(r[6], "Pack过压保护   充电过流保护  电压传感器故障  ");
    EXPECT_EQ(r[7], "25");
    EXPECT_EQ(r[11], "29");
    EXPECT_EQ(r[12], "3300");
    EXPECT_EQ(r[27], "3315");
    EXPECT_EQ(rows.Rows()[6][0], "7");
}

TEST(AutoTsbs, CsvFile) {
    testing::TempFolder folder;
    const std::string path = folder.File("a.csv");
    EXPECT_FALSE(SaveAutoTsbsCsv(path, {RecordRow(kAutoTsbsColumns)}));
    const std::string text = ReadFileText(path);
    const std::string start = "  序号,  记录时间  ,  模式,电流,";
    EXPECT_EQ(text.substr(0, start.size()), start);
    EXPECT_EQ(text.substr(text.size() - 32), "\r\n" + std::string(28, ',') + "\r\n");
}

}  // namespace
}  // namespace tarvel
