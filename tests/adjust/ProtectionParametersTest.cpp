#include "adjust/ProtectionParameters.h"

#include <gtest/gtest.h>

#include "adjust/InitialValues.h"
#include "platform/base/Paths.h"
#include "tests/TempFolderFixture.h"
#include "tests/telemetry/DeviceFixture.h"

namespace tarvel {
namespace {

using testing::DeviceFixture;

ProtectionTexts Numbered() {
    ProtectionTexts texts;
    for (int i = 0; i < kProtectionCount; ++i) texts[i] = std::to_string(i + 1);
    return texts;
}

TEST(ProtectionParameters, AllOnesReadAsMinusOneOr65535) {
    const auto texts = DecodeProtectionReply(DeviceFixture("bms_95_all_ff.hex"));
    ASSERT_TRUE(texts);
    for (int i = 0; i < kProtectionCount; ++i) {
        const bool u16 = (i >= 12 && i < 16) || (i >= 20 && i < 24);
        EXPECT_EQ((*texts)[i], u16 ? "65535" : "-1") << "P" << i + 1;
    }
}

TEST(ProtectionParameters, ReadAndWriteCarryTheSameBlock) {
    const auto reply = DeviceFixture("bms_95.hex");
    const auto texts = DecodeProtectionReply(reply);
    ASSERT_TRUE(texts);
    EXPECT_EQ((*texts)[12], "3650");
    EXPECT_EQ((*texts)[24], "50000");
    EXPECT_EQ((*texts)[27], "-60000");
    EXPECT_EQ((*texts)[30], "-20");
    EXPECT_EQ((*texts)[47], "-40");
    const RequestBuild write = BuildProtectionWrite(5, *texts);
    ASSERT_TRUE(write.Ok()) << write.refusal;
    ASSERT_EQ(write.frame.size(), 148u);
    EXPECT_EQ(std::vector<uint8_t>(write.frame.begin(), write.frame.begin() + 7),
              testing::Hex("05 00 90 01 09 55 AA"));
    // The block goes out exactly as it came in.
    EXPECT_TRUE(std::equal(write.frame.begin() + 7, write.frame.end() - 1, reply.begin() + 8));
    uint8_t sum = 0;
    for (size_t i = 1; i + 1 < write.frame.size(); ++i) sum = static_cast<uint8_t>(sum + write.frame[i]);
    EXPECT_EQ(write.frame.back(), sum);
}

TEST(ProtectionParameters, AnyCellThatDoesNotFitRefusesTheWholeWrite) {
    struct Case {
        int index;
        const char* text;
        const char* refusal;
    };
    const std::vector<Case> cases = {
        {12, "70000", "P13 (SG_TBMS column 1, row 12): 70000 is out of range (0 to 65535)"},
        {20, "-1", "P21 (SG_TBMS column 1, row 20): -1 is out of range (0 to 65535)"},
        {30, "32768", "P31 (SG_TBMS column 4, row 6): 32768 is out of range (-32768 to 32767)"},
        {0, "2147483648",
         "P1 (SG_TBMS column 1, row 0): 2147483648 is out of range (-2147483648 to 2147483647)"},
        {47, "", "P48 (SG_TBMS column 4, row 23): '' is not a valid integer value"},
        {5, "12a", "P6 (SG_TBMS column 1, row 5): '12a' is not a valid integer value"},
    };
    for (const Case& c : cases) {
        ProtectionTexts cells = Numbered();
        cells[c.index] = c.text;
        const RequestBuild write = BuildProtectionWrite(0, cells);
        EXPECT_TRUE(write.frame.empty()) << c.text;
        EXPECT_EQ(write.refusal, c.refusal);
    }
    ProtectionTexts edges = Numbered();
    edges[12] = "65535";
    edges[30] = "-32768";
    EXPECT_TRUE(BuildProtectionWrite(0, edges).Ok());
}

TEST(ProtectionParameters, ThresholdGridsMirrorTheirParameters) {
    const auto& grids = ThresholdGrids();
    ASSERT_EQ(grids.size(), 7u);
    EXPECT_EQ(grids[0].name, "SG_Highbvset");
    EXPECT_EQ(grids[0].parameters.front(), 4);                   // P5
    EXPECT_EQ(grids[4].parameters, (std::vector<int>{26, 29}));  // P27, P30
    EXPECT_EQ(grids[6].parameters.back(), 45);                   // P46
}

TEST(ProtectionParameters, BmsFileRoundTripsByteForByte) {
    testing::TempFolder folder;
    ProtectionTexts cells = Numbered();
    cells[0] = "-3000";
    cells[12] = "70000";  // a file keeps what the grid holds, whatever the field's width
    const std::string path = folder.File("a.bms");
    const BmsSave save = SaveBmsFile(path, cells);
    EXPECT_TRUE(save.saved);
    EXPECT_EQ(save.message, "Succeed to save BMS!");
    std::string expected = "-3000\t";
    for (int i = 2; i <= 48; ++i) expected += (i == 13 ? "70000" : std::to_string(i)) + "\t";
    expected += "\r\n";
    EXPECT_EQ(ReadFileText(path), expected);
    const BmsLoad load = LoadBmsFile(path);
    EXPECT_EQ(load.message, "Succeed to load BMS!");
    ASSERT_TRUE(load.values);
    EXPECT_EQ(*load.values, cells);
}

TEST(ProtectionParameters, MalformedBmsFilesFailAndGiveNothing) {
    std::string fortyEight;
    for (int i = 1; i <= 48; ++i) fortyEight += std::to_string(i) + " ";
    const std::vector<std::pair<std::string, std::string>> cases = {
        {"47 numbers", fortyEight.substr(0, fortyEight.rfind("48"))},
        {"a word", "x " + fortyEight},
        {"beyond 32 bits", "2147483648 " + fortyEight},
        {"empty", ""},
        {"sign only", "- " + fortyEight},
    };
    for (const auto& [what, text] : cases) EXPECT_FALSE(ParseBmsText(text)) << what;
    // Blanks and line ends separate as well as TABs; extra numbers are
    // ignored; the last number may end the text.
    EXPECT_TRUE(ParseBmsText(fortyEight + "\r\n49 50\n"));
    const auto unterminated = ParseBmsText(fortyEight.substr(0, fortyEight.size() - 1));
    ASSERT_TRUE(unterminated);
    EXPECT_EQ((*unterminated)[47], "48");
    const BmsLoad missing = LoadBmsFile("/nonexistent/x.bms");
    EXPECT_EQ(missing.message, "Fail to load BMS!");
    EXPECT_FALSE(missing.values);
}

TEST(ProtectionParameters, SaveRefusesAnEmptyCellAndReportsAFailedFile) {
    testing::TempFolder folder;
    ProtectionTexts cells = Numbered();
    cells[3] = "";
    const BmsSave refused = SaveBmsFile(folder.File("b.bms"), cells);
    EXPECT_FALSE(refused.saved);
    EXPECT_EQ(refused.message, "P4 (SG_TBMS column 1, row 3): '' is not a valid integer value");
    EXPECT_FALSE(FileExists(folder.File("b.bms")));
    EXPECT_EQ(SaveBmsFile(folder.File("no/such/folder.bms"), Numbered()).message, "Fail to save BMS!");
}

TEST(InitialValues, SectionOfTheVariantWithDefaults) {
    testing::TempFolder folder;
    SetApplicationFolder(folder.Path().string());
    WriteFileText(AppPath("BMSAdjust.ini"), "[3UPara]\r\nNum1=4200\r\n[BMSCurrentAdjust]\r\nCharge2=800\r\n");
    const ProfileIntReader read = AdjustIniReader();
    const auto threeU = InitialProtectionValues(read, 1);
    ASSERT_TRUE(threeU);
    EXPECT_EQ((*threeU)[0], "4200");
    EXPECT_EQ((*threeU)[47], "3000");
    EXPECT_EQ((*InitialProtectionValues(read, 0))[0], "3000");
    EXPECT_FALSE(InitialProtectionValues(read, 2));

    const auto bms = VariantReferenceCurrents(read, 0);
    ASSERT_EQ(bms.size(), 12u);
    EXPECT_EQ(bms[2], (ReferenceCurrentCell{"SG_CKB", {1, 3, "800"}}));
    EXPECT_EQ(bms[3], (ReferenceCurrentCell{"SG_CKB", {2, 3, "5"}}));
    const auto threeUCurrents = VariantReferenceCurrents(read, 1);
    ASSERT_EQ(threeUCurrents.size(), 22u);
    EXPECT_EQ(threeUCurrents[12], (ReferenceCurrentCell{"SG_CKB1", {1, 1, "10"}}));  // point 7
    EXPECT_EQ(threeUCurrents[21], (ReferenceCurrentCell{"SG_CKB1", {2, 9, "10"}}));  // point 11
    SetApplicationFolder("");
}

}  // namespace
}  // namespace tarvel
