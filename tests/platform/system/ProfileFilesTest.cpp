#include "platform/system/ProfileFiles.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "platform/base/Paths.h"
#include "tests/platform/base/SmallDiskFixture.h"

namespace tarvel {
namespace {

class ProfileFiles : public ::testing::Test {
protected:
    void SetUp() override {
        dir_ = std::filesystem::temp_directory_path() /
               ("ini-" + std::to_string(::getpid()) + "-" +
                ::testing::UnitTest::GetInstance()->current_test_info()->name());
        std::filesystem::create_directories(dir_);
        file_ = (dir_ / "BMSAdjust.ini").string();
    }
    void TearDown() override { std::filesystem::remove_all(dir_); }
    void Write(std::string_view text) { WriteFileText(file_, text); }

    std::filesystem::path dir_;
    std::string file_;
};

constexpr const char* kSample =
    "; initial values\r\n"
    "[3UPara]\r\n"
    "ChargeCurrent =5000\r\n"
    "  currentcheck= -35000  \r\n"
    "this line is malformed\r\n"
    "[broken\r\n"
    "Voltage=3650 mV\r\n"
    "Empty=\r\n"
    "Text=  COM12345678901  \r\n"
    "Huge=99999999999\r\n"
    "Word=abc\r\n"
    "\r\n"
    " [ CommSeting ] \r\n"
    "commset=COM3\r\n"
    "baudrate=19200\r\n";

TEST_F(ProfileFiles, KeysMatchWithoutCaseAndBlanks) {
    Write(kSample);
    EXPECT_EQ(GetPrivateProfileInt("3UPara", "ChargeCurrent ", 0, file_), 5000);
    EXPECT_EQ(GetPrivateProfileInt("3upara", "ChargeCurrent", 0, file_), 5000);
    EXPECT_EQ(GetPrivateProfileInt("3UPara", "CurrentCheck ", 0, file_), -35000);
    EXPECT_EQ(GetPrivateProfileInt("commseting", "BAUDRATE", 9600, file_), 19200);
    EXPECT_EQ(GetPrivateProfileString("CommSeting", "commset", "COM1", 10, file_), "COM3");
}

TEST_F(ProfileFiles, IntegersAndDefaults) {
    Write(kSample);
    const struct {
        const char* key;
        int32_t want;
    } cases[] = {
        {"Voltage", 3650},  // digits then text
        {"Empty", 77},      // no digits: the default
        {"Word", 77},       // no digits
        {"Huge", 77},       // beyond 32 bits
        {"Missing", 77},    // no key
    };
    for (const auto& c : cases) EXPECT_EQ(GetPrivateProfileInt("3UPara", c.key, 77, file_), c.want) << c.key;
    EXPECT_EQ(GetPrivateProfileInt("NoSection", "Voltage", -1, file_), -1);
    EXPECT_EQ(GetPrivateProfileInt("3UPara", "Voltage", 5, (dir_ / "none.ini").string()), 5);
}

TEST_F(ProfileFiles, StringsAreCutToTheBufferSize) {
    Write(kSample);
    EXPECT_EQ(GetPrivateProfileString("3UPara", "Text", "", 10, file_), "COM123456");
    EXPECT_EQ(GetPrivateProfileString("3UPara", "Text", "", 100, file_), "COM12345678901");
    EXPECT_EQ(GetPrivateProfileString("3UPara", "Empty", "x", 10, file_), "");
    EXPECT_EQ(GetPrivateProfileString("3UPara", "Missing", "COM1", 10, file_), "COM1");
    EXPECT_EQ(GetPrivateProfileString("3UPara", "Missing", "COM1", 3, file_), "CO");
    EXPECT_EQ(GetPrivateProfileString("3UPara", "Text", "", 0, file_), "");
    // Never cut inside a character.
    Write("[S]\nName=电池组\n");
    EXPECT_EQ(GetPrivateProfileString("S", "Name", "", 5, file_), "电");
}

TEST_F(ProfileFiles, WritingCreatesFileSectionAndKey) {
    const std::string file = (dir_ / "ParaSeting.ini").string();
    EXPECT_TRUE(WritePrivateProfileString("CommSeting", "commset", "COM4", file));
    EXPECT_TRUE(WritePrivateProfileString("CommSeting", "baudrate", "9600", file));
    EXPECT_TRUE(WritePrivateProfileString("SequenceNum", "Num1", "", file));
    EXPECT_TRUE(WritePrivateProfileString("SequenceNum", "TotalNum", "3", file));
    EXPECT_EQ(ReadFileText(file),
              "[CommSeting]\ncommset=COM4\nbaudrate=9600\n\n[SequenceNum]\nNum1=\nTotalNum=3\n");
    EXPECT_TRUE(WritePrivateProfileString("commseting", "COMMSET", "COM7", file));
    EXPECT_EQ(GetPrivateProfileString("CommSeting", "commset", "", 10, file), "COM7");
    EXPECT_EQ(GetPrivateProfileInt("SequenceNum", "TotalNum", 1, file), 3);
}

TEST_F(ProfileFiles, WritingKeepsOtherLinesAndTheirLineEnds) {
    Write(kSample);
    EXPECT_TRUE(WritePrivateProfileString("3UPara", "ChargeCurrent ", "6000", file_));
    EXPECT_TRUE(WritePrivateProfileString("3UPara", "NewKey", "1", file_));
    const std::string text = ReadFileText(file_);
    EXPECT_NE(text.find("ChargeCurrent=6000\r\n"), std::string::npos);
    EXPECT_NE(text.find("Word=abc\r\nNewKey=1\r\n\r\n [ CommSeting ] \r\n"), std::string::npos);
    EXPECT_NE(text.find("this line is malformed\r\n"), std::string::npos);
    EXPECT_EQ(GetPrivateProfileInt("3UPara", "CurrentCheck", 0, file_), -35000);
}

TEST_F(ProfileFiles, UnwritableFileGivesFalse) {
    EXPECT_FALSE(WritePrivateProfileString("S", "K", "V", (dir_ / "missing" / "x.ini").string()));
}

// A settings file that is there but cannot be read gives the defaults and is
// never replaced by one that holds only the key written.
TEST_F(ProfileFiles, UnreadableFileGivesDefaultsAndIsNotReplaced) {
    std::filesystem::create_directory(file_);
    EXPECT_EQ(GetPrivateProfileInt("3UPara", "Num1", 3000, file_), 3000);
    EXPECT_FALSE(WritePrivateProfileString("3UPara", "Num1", "2900", file_));
    EXPECT_TRUE(std::filesystem::is_directory(file_));
}

using ProfileFilesOnAFullDisk = testing::SmallDisk;

TEST_F(ProfileFilesOnAFullDisk, AFailedWriteLeavesTheFileWhole) {
    const std::string file = File("ParaSeting.ini");
    std::string text = "[SequenceNum]\r\n";
    for (int i = 1; i <= 100; ++i) text += "Num" + std::to_string(i) + "=SN" + std::to_string(i) + "\r\n";
    WriteFileText(file, text);
    Fill();
    // The new text needs a second page of the full disk.
    EXPECT_FALSE(WritePrivateProfileString("SequenceNum", "Num1", std::string(4096, 'x'), file));
    EXPECT_EQ(ReadFileText(file), text);
    EXPECT_EQ(Names(), std::vector<std::string>{"ParaSeting.ini"});
}

}  // namespace
}  // namespace tarvel
