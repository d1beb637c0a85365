#include "telemetry/AdcReading.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "platform/base/DateTime.h"
#include "platform/base/Paths.h"
#include "tests/TempFolderFixture.h"
#include "tests/platform/base/SmallDiskFixture.h"
#include "tests/telemetry/DeviceFixture.h"

namespace tarvel {
namespace {

namespace fs = std::filesystem;

TEST(AdcReading, DecodesTheCountsIntoTheirCells) {
    const auto reading = DecodeAdcReply(testing::DeviceFixture("adc_84.hex"));
    ASSERT_TRUE(reading);
    const auto texts = AdcTexts(*reading);
    EXPECT_EQ(texts[0], "1000");
    EXPECT_EQ(texts[26], "1026");
    const auto& cells = AdcCells();
    EXPECT_EQ(cells[0].grid, "SG_VADC");
    EXPECT_EQ(cells[9].column, 2);  // cell 9 opens row 3
    EXPECT_EQ(cells[9].row, 3);
    EXPECT_EQ(cells[18].grid, "SG_CADC");
    EXPECT_EQ(cells[26].grid, "SG_TADC");
    EXPECT_EQ(cells[26].column, 8);
    EXPECT_FALSE(DecodeAdcReply(testing::ReplyFrame(0, 0x84, std::vector<uint8_t>(53))));
}

TEST(AdcReading, PeriodFallsBackToTenSeconds) {
    EXPECT_EQ(AdcPeriodSeconds("3"), 3);
    EXPECT_EQ(AdcPeriodSeconds(""), 10);
    EXPECT_EQ(AdcPeriodSeconds("1.5"), 10);
}

TEST(AdcReading, LogFileIsCreatedOnceAndAppendedOnTheSameDay) {
    const testing::TempFolder temp;
    const fs::path& folder = temp.Path();
    fs::create_directories(folder / "ADC");
    SetApplicationFolder(folder.string());
    const TDateTime start = EncodeDateTime({2018, 11, 22, 14, 5, 9, 0});
    const std::string path = AdcLogPath(start);
    EXPECT_EQ(path, (folder / "ADC" / "2018-11-22ADC.csv").string());

    std::array<std::string, kAdcCountCount> texts;
    for (size_t i = 0; i < texts.size(); ++i) texts[i] = std::to_string(i);
    for (int run = 0; run < 2; ++run) {
        AppendFile log;
        EXPECT_FALSE(OpenAdcLogFile(log, path));
        EXPECT_FALSE(AppendAdcLogLine(log, AdcLogLine(start, texts)));
        CloseAdcLogFile(log);
    }
    std::string header = "RecordTime,PackVADC,";
    for (int i = 1; i <= 16; ++i) header += "CellVADC" + std::to_string(i) + ",";
    header += "ChgCADC,DisCADC,";
    for (int i = 1; i <= 8; ++i) header += "TempADC" + std::to_string(i) + ",";
    header += "\r\n";
    std::string line = "14:05:09,";
    for (int i = 0; i < 27; ++i) line += std::to_string(i) + ",";
    line += "\r\n";
    EXPECT_EQ(ReadFileText(path), header + line + "\r\n" + line + "\r\n");

    AppendFile broken;
    EXPECT_EQ(OpenAdcLogFile(broken, (folder / "missing" / "x.csv").string()), "创建ADC记录文件出错！");
    EXPECT_FALSE(broken.IsOpen());
    SetApplicationFolder("");
}

// Files the tool finds but cannot use: the message says which step failed
// and the stream is left closed, so nothing more is written. A device is
// never opened as a log.
TEST(AdcReading, LogFailuresCloseTheStreamWithTheirMessage) {
    for (const char* path : {"/dev/full", "/dev/null"}) {
        SCOPED_TRACE(path);
        AppendFile unopenable;
        EXPECT_EQ(OpenAdcLogFile(unopenable, path), "打开数据记录文件出错！");
        EXPECT_FALSE(unopenable.IsOpen());
    }
}

class AdcLogOnAFullDisk : public testing::SmallDisk {};

TEST_F(AdcLogOnAFullDisk, AFailedWriteClosesTheLog) {
    AppendFile full;
    ASSERT_FALSE(OpenAdcLogFile(full, File("adc.csv")));
    Fill();
    EXPECT_EQ(AppendAdcLogLine(full, std::string(4096, '1') + "\r\n"), "写入ADC记录文件出错！");
    EXPECT_FALSE(full.IsOpen());
    EXPECT_FALSE(AppendAdcLogLine(full, "12:00:01,1,\r\n"));
}

}  // namespace
}  // namespace tarvel
