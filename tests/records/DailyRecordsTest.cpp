#include "records/DailyRecords.h"

#include <gtest/gtest.h>

#include "platform/base/DateTime.h"
#include "platform/base/Paths.h"
#include "tests/TempFolderFixture.h"
#include "tests/telemetry/DeviceFixture.h"

namespace tarvel {
namespace {

using testing::DeviceFixture;

TEST(DailyRecords, RecordFields) {
    const DailyRecord r = DecodeDailyRecord(testing::Hex("32 45 28 1E FF FF"));
    EXPECT_EQ(MakeDailyRow(1, r), (RecordRow{"1", "2018-3-5", "40", "30", "-1", "15"}));
    const std::vector<std::pair<int, int>> steps = {{0, 0},  {1, 5},  {2, 15}, {3, 30},
                                                    {4, 45}, {5, 60}, {6, 75}, {7, 90}};
    for (const auto& [code, percent] : steps) EXPECT_EQ(ChargePercent(code), percent);
}

TEST(DailyRecords, TwoBatchesFillFortyTwoRows) {
    RecordRows rows(kDailyColumns);
    const auto first = DecodeDailyReply(DeviceFixture("daily_ae_1.hex"));
    ASSERT_TRUE(first);
    EXPECT_EQ(first->records.size(), 40u);
    EXPECT_FALSE(ApplyDailyBatch(rows, *first));
    const auto second = DecodeDailyReply(DeviceFixture("daily_ae_2.hex"));
    ASSERT_TRUE(second);
    EXPECT_TRUE(ApplyDailyBatch(rows, *second));
    ASSERT_EQ(rows.Rows().size(), 42u);
    EXPECT_EQ(rows.Rows()[0], (RecordRow{"1", "2018-3-5", "40", "30", "-1", "15"}));
    EXPECT_EQ(rows.Rows()[40], (RecordRow{"41", "2019-12-31", "255", "0", "32767", "90"}));
    EXPECT_EQ(rows.Rows()[41], (RecordRow{"42", "2031-15-31", "0", "0", "-32768", "5"}));
}

TEST(DailyRecords, AnEmptyDownloadCompletes) {
    RecordRows rows(kDailyColumns);
    EXPECT_TRUE(ApplyDailyBatch(rows, *DecodeDailyReply(DeviceFixture("daily_ae_empty.hex"))));
    EXPECT_TRUE(rows.Rows().empty());
}

TEST(DailyRecords, RefusesOtherLengths) {
    EXPECT_FALSE(DecodeDailyReply(testing::ReplyFrame(0, 0xAE, std::vector<uint8_t>(245))));
    // A count above the forty slots never reads past the reply.
    auto data = std::vector<uint8_t>(246);
    data[0] = 200;
    data[2] = 200;
    data[4] = 200;
    const auto batch = DecodeDailyReply(testing::ReplyFrame(0, 0xAE, data));
    ASSERT_TRUE(batch);
    ASSERT_EQ(batch->records.size(), 40u);
    EXPECT_EQ(batch->records.back().first, 40);
}

TEST(DailyRecords, CsvFileByteForByte) {
    testing::TempFolder folder;
    const std::vector<RecordRow> rows = {{"1", "2018-3-5", "40", "30", "-1", "15"}, RecordRow(6)};
    const std::string path = folder.File("d.csv");
    EXPECT_FALSE(SaveDailyCsv(path, rows));
    EXPECT_EQ(
        ReadFileText(path),
        "  Serial Num,   Date,  Cell Max.TEMP,  Ambin Max.TEMP,Daily DisChg Cap(AH),Daily Chg Cap(%),\r\n"
        "1,2018-3-5,40,30,-1,15,\r\n"
        ",,,,,,\r\n");
    EXPECT_EQ(SaveDailyCsv(folder.File("x/y.csv"), rows), "Error creating history warning record file!");
    EXPECT_EQ(DailyCsvName(EncodeDateTime({2018, 11, 22, 14, 5, 9, 0})),
              "2018-11-22 14-05-09_RunRecords.csv");
}

}  // namespace
}  // namespace tarvel
