#include "records/FullExport.h"

#include <gtest/gtest.h>

#include "platform/base/DateTime.h"
#include "platform/base/Paths.h"
#include "tests/CsvReader.h"
#include "tests/TempFolderFixture.h"

namespace tarvel {
namespace {

TEST(FullExport, SerialNumberCannotLeaveTheFolder) {
    const std::vector<std::pair<std::string, std::string>> cases = {
        {"TV-0042_a.b", "TV-0042_a.b"},  {"../../etc", ".._.._etc"}, {"..", "__"}, {"a/b\\c", "a_b_c"},
        {std::string("x\0y", 3), "x_y"}, {"温度", "______"},         {"", ""},
    };
    for (const auto& [serial, safe] : cases) EXPECT_EQ(ExportSafeSerial(serial), safe) << serial;
}

ExportRecord Record(const std::string& time) {
    ExportRecord r;
    r.recordTime = time;
    r.serialNumber = "SN1";
    r.capacity = "100";
    r.versionRow1 = {"3", "1", "12", "2018.05.09"};
    r.versionHead = "HW-A";  // of the hardware text "HW-A,rev2"
    r.versionTail = "rev2";
    r.functionVersion = "16S LFP, balance, heater";
    r.runtime = "123456";
    for (size_t i = 0; i < r.telemetryColumn1.size(); ++i) r.telemetryColumn1[i] = std::to_string(i);
    for (size_t i = 0; i < r.telemetryColumn4.size(); ++i) r.telemetryColumn4[i] = std::to_string(100 + i);
    return r;
}

TEST(FullExport, FileLayoutByteForByte) {
    testing::TempFolder folder;
    std::filesystem::create_directories(folder.Path() / "Export DataAccess");
    SetApplicationFolder(folder.Path().string());
    ExportFile file("SN1");
    EXPECT_EQ(file.WorkingPath(), AppPath("Export DataAccess/SN1 Data.csv"));
    WriteFileText(file.WorkingPath(), "lines of a failed run\r\n");
    EXPECT_FALSE(file.Start());
    for (int i = 0; i < 5; ++i)
        EXPECT_FALSE(file.AppendRecordLine(Record("2018-11-22 14-05-0" + std::to_string(i))));
    EXPECT_FALSE(file.AppendSection(ExportHistorySection({RecordRow(29, "h")})));
    EXPECT_FALSE(file.AppendSection(ExportDailySection({{"1", "2018-3-5", "40", "30", "-1", "15"}})));
    const std::string text = ReadFileText(file.WorkingPath());

    std::string header =
        "RecordTime,Serial Num,Capacity(Ah),SoftVersion,Function Version,Runtime(Min),PACK,BATT,";
    for (int i = 1; i <= 16; ++i) header += "V" + std::to_string(i) + ",";
    header += "I,";
    for (int i = 1; i <= 8; ++i) header += "T" + std::to_string(i) + ",";
    header += "Others,Alarm,Protection,Fail,Balance,BattState,SOC,SOCHealth,DiscTimes,TotalDiscSOC,\r\n";
    // The texts with commas are quoted; the hardware text keeps its comma.
    std::string first =
        "2018-11-22 14-05-00,SN1,100,\"3-1-12/2018.05.09/HW-A,rev2\",\"16S LFP, balance, heater\",123456,";
    for (int i = 0; i < 19; ++i) first += std::to_string(i) + ",";
    for (int i = 0; i < 18; ++i) first += std::to_string(100 + i) + ",";
    first += "\r\n";
    std::string history =
        ",\r\nHistory Num,  Start Time,  End Time,  MOode,Current,Voltage,Capacity,Alarm,Ambient Temp,";
    for (int i = 1; i <= 4; ++i) history += "Batt Temp." + std::to_string(i) + ",";
    for (int i = 1; i <= 16; ++i) history += "Vol." + std::to_string(i) + ",";
    history += "\r\n";
    for (int i = 0; i < 29; ++i) history += "h,";
    history += "\r\n";
    const std::string daily =
        ",\r\nDaily Records Num,Data,Cell Max.TEMP,Ambin Max.TEMP,Daily Dischg Cap(AH),Daily Chg Cap(%),\r\n"
        "1,2018-3-5,40,30,-1,15,\r\n";
    ASSERT_EQ(text.substr(0, header.size()), header);  // the failed run's lines are gone
    EXPECT_EQ(text.substr(header.size(), first.size()), first);
    EXPECT_EQ(text.substr(text.size() - history.size() - daily.size()), history + daily);

    // Read back as CSV, each record line is as wide as the header.
    const auto rows = testing::ParseCsv(text);
    ASSERT_TRUE(rows);
    ASSERT_GE(rows->size(), 6u);
    for (size_t r = 1; r <= 5; ++r) EXPECT_EQ((*rows)[r].size(), (*rows)[0].size()) << "row " << r;
    EXPECT_EQ((*rows)[1][3], "3-1-12/2018.05.09/HW-A,rev2");
    EXPECT_EQ((*rows)[1][4], "16S LFP, balance, heater");
    EXPECT_EQ((*rows)[1][5], "123456");

    const TDateTime end = EncodeDateTime({2018, 11, 22, 14, 6, 0, 0});
    EXPECT_FALSE(file.Finish(end));
    EXPECT_TRUE(FileExists(AppPath("Export DataAccess/SN1_2018-11-22 14-06-00_Success.csv")));
    EXPECT_FALSE(FileExists(file.WorkingPath()));
    SetApplicationFolder("");
}

TEST(FullExport, FailuresAreReported) {
    testing::TempFolder folder;
    SetApplicationFolder(folder.Path().string());  // no "Export DataAccess" folder
    ExportFile file("SN/../x");
    EXPECT_EQ(file.WorkingPath(), AppPath("Export DataAccess/SN_.._x Data.csv"));
    EXPECT_EQ(file.Start(), "Fail to build record file!");
    EXPECT_EQ(file.AppendRecordLine(Record("t")), "Fail to open record file!");
    EXPECT_EQ(file.AppendSection(",\r\n"), "Open Alarm Records File Fail!");
    const auto rename = file.Finish(0);
    ASSERT_TRUE(rename);
    EXPECT_EQ(*rename, "The export file could not be renamed and keeps the name \"SN_.._x Data.csv\"");
    SetApplicationFolder("");
}

TEST(FullExport, StepsInOrderWithTheirLimits) {
    const auto& steps = ExportSteps();
    ASSERT_EQ(steps.size(), 7u);
    EXPECT_EQ(steps[0].command, 0x10);
    EXPECT_EQ(steps[4].repeats, 5);
    EXPECT_EQ(steps[4].limitMs, 800u);
    EXPECT_STREQ(steps[6].failure, "Get Daily Records Outtime");
    EXPECT_EQ(steps[6].limitMs, 100000u);
}

}  // namespace
}  // namespace tarvel
