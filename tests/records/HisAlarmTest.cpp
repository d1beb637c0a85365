#include "records/HisAlarm.h"

#include <gtest/gtest.h>

#include "platform/base/DateTime.h"
#include "platform/base/Paths.h"
#include "tests/TempFolderFixture.h"
#include "tests/telemetry/DeviceFixture.h"

namespace tarvel {
namespace {

using testing::DeviceFixture;

TEST(HisAlarm, FullRecordsBecomeGridRows) {
    const auto batch = DecodeHisAlarmReply(DeviceFixture("his_99_full_1.hex"));
    ASSERT_TRUE(batch);
    EXPECT_EQ(batch->layout, HistoryLayout::Full);
    ASSERT_EQ(batch->records.size(), 5u);
    const auto& [row, record] = batch->records[0];
    EXPECT_EQ(row, 1);
    const RecordRow cells = MakeHisAlarmRow(row, record, batch->layout);
    ASSERT_EQ(cells.size(), kHisAlarmColumns);
    EXPECT_EQ(cells[0], "1");
    EXPECT_EQ(cells[1], "2018-11-5 9:3:1 ");
    EXPECT_EQ(cells[2], "2018-11-5 10:0:0 ");
    EXPECT_EQ(cells[3], "STATUS_CHG");
    EXPECT_EQ(cells[4], "23.456");
    EXPECT_EQ(cells[5], "2");
    EXPECT_EQ(cells[6], "-1");
    EXPECT_EQ(cells[7], "PROTECT_PACK_OVPROTECT_CHG_OC ");
    EXPECT_EQ(cells[8], "-1");
    EXPECT_EQ(cells[9], "20");
    EXPECT_EQ(cells[12], "23");
    EXPECT_EQ(cells[13], "65535");
    EXPECT_EQ(cells[28], "3315");

    const std::vector<std::pair<std::string, std::string>> modesAndAlarms = {
        {"STATUS_CHG", "PROTECT_PACK_OVPROTECT_CHG_OC "},
        {"STATUS_IDLE", "ShutDown "},
        {"STATUS_DIS", "PowerON "},
        {"STATUS_FULL", "PROTECT_PACK_OVPROTECT_BATT_OVPROTECT_CELL_OVPROTECT_PACK_UV "},
        {"3", " "},  // bits without a name add nothing
    };
    for (size_t i = 0; i < modesAndAlarms.size(); ++i) {
        const RecordRow r = MakeHisAlarmRow(batch->records[i].first, batch->records[i].second, batch->layout);
        EXPECT_EQ(r[3], modesAndAlarms[i].first) << i;
        EXPECT_EQ(r[7], modesAndAlarms[i].second) << i;
    }
}

TEST(HisAlarm, ShortRecordsUseTheProtectionNamesOnly) {
    const auto batch = DecodeHisAlarmReply(DeviceFixture("his_ad_short.hex"));
    ASSERT_TRUE(batch);
    EXPECT_EQ(batch->layout, HistoryLayout::Short);
    ASSERT_EQ(batch->records.size(), 3u);
    const auto text = [&](size_t i) { return HisAlarmAlarmText(batch->records[i].second, batch->layout); };
    EXPECT_EQ(text(0), "PROTECT_PACK_OVPROTECT_CHG_OC");
    EXPECT_EQ(text(1), "");
    EXPECT_EQ(text(2), "PROTECT_CHG_UTOV  ");  // bit 19 has no row in the short table
    const RecordRow row = MakeHisAlarmRow(1, batch->records[0].second, batch->layout);
    EXPECT_EQ(row[8], "-1");
    EXPECT_EQ(row[13], "65535");
}

TEST(HisAlarm, BatchesFillTheirRowsAndTheLastCompletes) {
    RecordRows rows(kHisAlarmColumns);
    std::vector<bool> complete;
    for (const char* name : {"his_99_full_1.hex", "his_99_full_2.hex", "his_99_full_3.hex"}) {
        const auto batch = DecodeHisAlarmReply(DeviceFixture(name));
        ASSERT_TRUE(batch) << name;
        complete.push_back(ApplyHisAlarmBatch(rows, *batch));
    }
    EXPECT_EQ(complete, (std::vector<bool>{false, false, true}));
    ASSERT_EQ(rows.Rows().size(), 12u);
    for (int r = 1; r <= 12; ++r) EXPECT_EQ(rows.Rows()[static_cast<size_t>(r) - 1][0], std::to_string(r));
    EXPECT_EQ(rows.Rows()[10][7], "PROTECT_SOC_L  FAULT_536_COMM   ");
    EXPECT_EQ(rows.Rows()[11][7], "PROTECT_PSP         ");

    RecordRows empty(kHisAlarmColumns);
    EXPECT_TRUE(ApplyHisAlarmBatch(empty, *DecodeHisAlarmReply(DeviceFixture("his_99_empty.hex"))));
    EXPECT_TRUE(empty.Rows().empty());
}

TEST(HisAlarm, RecordsOutsideTheSlotsOrTheRowsAreIgnored) {
    struct Case {
        RecordBatchHeader header;
        std::vector<PlacedRecord> placed;
    };
    const std::vector<Case> cases = {
        {{12, 5, 5}, {{0, 1}, {1, 2}, {2, 3}, {3, 4}, {4, 5}}},
        {{12, 12, 2}, {{0, 11}, {1, 12}}},
        {{12, 8, 9}, {{1, 1}, {2, 2}, {3, 3}, {4, 4}}},  // count above the slots: five at most, row 0 dropped
        {{12, 2, 5}, {{3, 1}, {4, 2}}},                  // rows <= 0 dropped
        {{3, 5, 5}, {{0, 1}, {1, 2}, {2, 3}}},           // rows above the total dropped
        {{0, 0, 0}, {}},
        {{65535, 65535, 65535}, {{0, 1}, {1, 2}, {2, 3}, {3, 4}, {4, 5}}},
    };
    for (const Case& c : cases)
        EXPECT_EQ(PlaceRecords(c.header, kHisAlarmSlots), c.placed) << c.header.LastRecord;
}

TEST(HisAlarm, RefusesRepliesOfOtherLengthsAndCodes) {
    auto frame = DeviceFixture("his_99_full_1.hex");
    frame.pop_back();
    EXPECT_FALSE(DecodeHisAlarmReply(frame));
    EXPECT_FALSE(DecodeHisAlarmReply(testing::ReplyFrame(0, 0x99, std::vector<uint8_t>(420))));
    EXPECT_FALSE(DecodeHisAlarmReply(testing::ReplyFrame(0, 0x98, std::vector<uint8_t>(428))));
    EXPECT_TRUE(DecodeHisAlarmReply(testing::ReplyFrame(0, 0xAD, std::vector<uint8_t>(428))));
}

TEST(HisAlarm, CsvFileByteForByte) {
    testing::TempFolder folder;
    RecordRows rows(kHisAlarmColumns);
    ApplyHisAlarmBatch(rows, *DecodeHisAlarmReply(DeviceFixture("his_ad_short.hex")));
    std::vector<RecordRow> lines = rows.Rows();
    lines.push_back(RecordRow(kHisAlarmColumns));  // a row no download reached
    const std::string path = folder.File("x.csv");
    WriteFileText(path, "old content");
    EXPECT_FALSE(SaveHisAlarmCsv(path, lines));  // the user confirmed replacing it
    const std::string text = ReadFileText(path);
    const std::string title =
        "  Num,  Start Time,  End Time,  MOode,Current,Voltage,Capacity,Alarm,Ambient Temp,Batt Temp.1,Batt "
        "Temp.2,"
        "Batt Temp.3,Batt "
        "Temp.4,Vol.1,Vol.2,Vol.3,Vol.4,Vol.5,Vol.6,Vol.7,Vol.8,Vol.9,Vol.10,Vol.11,Vol.12,Vol.13,"
        "Vol.14,Vol.15,Vol.16,\r\n";
    const std::string first =
        "1,2018-11-5 9:3:1 ,2018-11-5 10:0:0 "
        ",STATUS_CHG,23.456,2,-1,PROTECT_PACK_OVPROTECT_CHG_OC,-1,20,21,22,23,"
        "65535,3301,3302,3303,3304,3305,3306,3307,3308,3309,3310,3311,3312,3313,3314,3315\r\n";
    ASSERT_EQ(text.substr(0, title.size()), title);
    EXPECT_EQ(text.substr(title.size(), first.size()), first);
    EXPECT_EQ(text.substr(text.size() - 32), "\r\n" + std::string(28, ',') + "\r\n");
    EXPECT_EQ(SaveHisAlarmCsv(folder.File("no/folder.csv"), lines), "Creat Alarm Records File Fail！");
    EXPECT_EQ(HisAlarmCsvName(EncodeDateTime({2018, 11, 22, 14, 5, 9, 0})),
              "2018-11-22 14-05-09_All Alarm Records.csv");
}

TEST(HisAlarm, RecentRecordsRequest) {
    EXPECT_EQ(BuildRecentRecordsRequest(0, "5").frame, testing::Hex("00 00 05 01 2D 55 AA 05 37"));
    EXPECT_EQ(BuildRecentRecordsRequest(0, "0").frame[7], 0);
    EXPECT_EQ(BuildRecentRecordsRequest(0, "255").frame[7], 255);
    for (const char* text : {"256", "257", "-1"}) {
        const RequestBuild refused = BuildRecentRecordsRequest(0, text);
        EXPECT_TRUE(refused.frame.empty()) << text;
        EXPECT_EQ(refused.refusal, kRecentRecordsRangeMessage);
    }
    EXPECT_EQ(BuildRecentRecordsRequest(0, "").refusal, "'' is not a valid integer value");
}

TEST(HisAlarm, ThousandthsAlwaysUseAPoint) {
    EXPECT_EQ(ThousandthsText(23456), "23.456");
    EXPECT_EQ(ThousandthsText(2000), "2");
    EXPECT_EQ(ThousandthsText(-1000), "-1");
    EXPECT_EQ(ThousandthsText(-1), "-0.001");
}

}  // namespace
}  // namespace tarvel
