#include "telemetry/TelemetryRecord.h"

#include <gtest/gtest.h>

#include "tests/telemetry/DeviceFixture.h"

namespace tarvel {
namespace {

using testing::DeviceFixture;
using testing::Hex;

TEST(TelemetryRecord, DecodesTheFixtureIntoTheGridTexts) {
    const auto frame = DeviceFixture("telemetry_83.hex");
    const auto record = DecodeTelemetryReply(frame);
    ASSERT_TRUE(record);
    const TelemetryCells cells = MakeTelemetryCells(*record, "2018-11-22 14-05-09");
    EXPECT_EQ(cells.column1[0], "52100");
    EXPECT_EQ(cells.column1[1], "-1");
    EXPECT_EQ(cells.column1[2], "65535");  // V1 unsigned
    EXPECT_EQ(cells.column1[17], "3315");  // V16
    EXPECT_EQ(cells.column1[18], "-1000");
    EXPECT_EQ(cells.column4[0], "-10");  // T1 signed
    EXPECT_EQ(cells.column4[7], "31");
    EXPECT_EQ(cells.column4[8], "31");          // Others
    EXPECT_EQ(cells.column4[9], "2147483648");  // Alarm unsigned
    EXPECT_EQ(cells.column4[10], "8192");
    EXPECT_EQ(cells.column4[11], "256");
    EXPECT_EQ(cells.column4[12], "32769");
    EXPECT_EQ(cells.column4[13], "1");
    EXPECT_EQ(cells.column4[14], "87");
    EXPECT_EQ(cells.column4[15], "98");
    EXPECT_EQ(cells.column4[16], "2147483648");
    EXPECT_EQ(cells.column4[17], "4294967295");
    EXPECT_EQ(cells.column4[18], "2018-11-22 14-05-09");
    // The life grid shows the counters signed.
    EXPECT_EQ(LifeCells(*record), (std::array<std::string, 4>{"87", "98", "-2147483648", "-1"}));
}

TEST(TelemetryRecord, RefusesFramesThatDoNotHoldTheRecord) {
    const auto good = DeviceFixture("telemetry_83.hex");
    struct Case {
        const char* what;
        std::vector<uint8_t> frame;
    };
    auto shortByOne = good;
    shortByOne.pop_back();
    auto wrongCode = good;
    wrongCode[4] = 0x84;
    const std::vector<Case> cases = {
        {"seven bytes that pass a scanner", Hex("00 00 02 D0 83 55 AA")},
        {"length 2", Hex("00 00 02 D0 83 55 AA 00 00")},
        {"one byte short", shortByOne},
        {"another code", wrongCode},
        {"empty", {}},
        {"length 100", testing::ReplyFrame(0, 0x83, std::vector<uint8_t>(95))},
    };
    for (const Case& c : cases) EXPECT_FALSE(DecodeTelemetryReply(c.frame)) << c.what;
}

TEST(TelemetryRecord, SerialReplyCarriesTheRecordAndItsSerialNumber) {
    const auto reply = DecodeSerialTelemetryReply(DeviceFixture("telemetry_92.hex"));
    ASSERT_TRUE(reply);
    EXPECT_EQ(reply->serialNumber, "TV-0042");
    EXPECT_EQ(reply->record.BATT, -1);
    EXPECT_FALSE(DecodeSerialTelemetryReply(DeviceFixture("telemetry_83.hex")));
}

TEST(TelemetryRecord, ModuleReadingWidensEachFieldByItsType) {
    const auto record = *DecodeTelemetryReply(DeviceFixture("telemetry_83.hex"));
    const ModuleReading reading = MakeModuleReading(record, "2018-11-22 14-05-09");
    EXPECT_EQ(reading.entries[2], 65535);  // V1 zero-extended
    EXPECT_EQ(reading.entries[19], -10);   // T1 sign-extended
    EXPECT_EQ(reading.entries[18], -1000);
    EXPECT_EQ(reading.entries[36], -1);  // TotalDiscSOC as is
    EXPECT_EQ(reading.entries[37], 0);
    EXPECT_EQ(reading.timeText, "2018-11-22 14-05-09");
    const auto row = MakeReadingRow(record, "2018-11-22 14-05-09");
    EXPECT_EQ(row[2], "65535");
    EXPECT_EQ(row[19], "-10");
    EXPECT_EQ(row[36], "4294967295");
    EXPECT_EQ(row[37], "2018-11-22 14-05-09");
    EXPECT_EQ(row[38], "");
    EXPECT_EQ(TileVoltageLabel(record), "V  -1mV");
    EXPECT_EQ(TileCurrentLabel(record), "I  -1000mA");
}

}  // namespace
}  // namespace tarvel
