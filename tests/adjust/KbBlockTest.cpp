#include "adjust/KbBlock.h"

#include <gtest/gtest.h>

#include "platform/base/Paths.h"
#include "tests/TempFolderFixture.h"
#include "tests/telemetry/DeviceFixture.h"

namespace tarvel {
namespace {

using testing::DeviceFixture;

KbCells EmptyCells(KbLayout layout) {
    KbCells cells;
    cells.layout = layout;
    cells.current[1].resize(21);
    cells.current[2].resize(21);
    return cells;
}

TEST(KbBlock, FullReplyShowsInSG_CKB) {
    const auto block = DecodeKbReply(DeviceFixture("kb_87_full.hex"));
    ASSERT_TRUE(block);
    EXPECT_EQ(block->layout, KbLayout::Full);
    const KbDisplay d = MakeKbDisplay(*block);
    EXPECT_EQ(d.voltageKAsRead[0], "10001");
    EXPECT_EQ(d.voltageKAsRead[16], "10017");
    EXPECT_EQ(d.currentGrid, "SG_CKB");
    EXPECT_EQ(d.currentCells, (std::vector<GridWrite>{{1, 13, "10010"},
                                                      {1, 15, "-5"},
                                                      {2, 13, "9990"},
                                                      {2, 15, "7"},
                                                      {1, 17, "10100"},
                                                      {1, 19, "-12"},
                                                      {2, 17, "9900"},
                                                      {2, 19, "3"}}));
    EXPECT_EQ(d.tempK, "9991");
}

TEST(KbBlock, ShortReplyShowsInSG_CKB1) {
    const auto block = DecodeKbReply(DeviceFixture("kb_87_short.hex"));
    ASSERT_TRUE(block);
    EXPECT_EQ(block->layout, KbLayout::Short);
    const KbDisplay d = MakeKbDisplay(*block);
    EXPECT_EQ(d.currentGrid, "SG_CKB1");
    EXPECT_EQ(d.currentCells,
              (std::vector<GridWrite>{{1, 11, "10010"}, {1, 13, "-5"}, {2, 11, "9990"}, {2, 13, "7"}}));
    EXPECT_EQ(d.tempK, "9991");
    EXPECT_FALSE(DecodeKbReply(testing::ReplyFrame(0, 0x87, std::vector<uint8_t>(59))));  // L = 64
}

TEST(KbBlock, EmptyCellsWriteTheDefaults) {
    const RequestBuild full = BuildKbWrite(0, EmptyCells(KbLayout::Full));
    ASSERT_TRUE(full.Ok());
    ASSERT_EQ(full.frame.size(), 74u);
    EXPECT_EQ(std::vector<uint8_t>(full.frame.begin(), full.frame.begin() + 7),
              testing::Hex("00 00 46 01 08 55 AA"));
    const auto data = ByteSpan(full.frame).subspan(7, 66);
    for (size_t i = 0; i < 17; ++i) EXPECT_EQ(ReadU16(data, 2 * i), 10000);
    EXPECT_EQ(ReadU16(data, 34), 10000);
    EXPECT_EQ(ReadI16(data, 36), 0);
    EXPECT_EQ(ReadU16(data, 46), 10000);
    EXPECT_EQ(ReadI16(data, 48), 0);
    for (size_t i = 0; i < 8; ++i) EXPECT_EQ(ReadU16(data, 50 + 2 * i), 10000);

    const RequestBuild shortWrite = BuildKbWrite(3, EmptyCells(KbLayout::Short));
    ASSERT_EQ(shortWrite.frame.size(), 66u);
    EXPECT_EQ(std::vector<uint8_t>(shortWrite.frame.begin(), shortWrite.frame.begin() + 3),
              testing::Hex("03 00 3E"));
}

TEST(KbBlock, WriteTakesToWriteElseAsReadAndRefusesWhatDoesNotFit) {
    KbCells cells = EmptyCells(KbLayout::Full);
    cells.voltageKAsRead[0] = "9000";
    cells.voltageKToWrite[1] = "9100";
    cells.voltageKAsRead[1] = "1";
    cells.current[1][16] = "-5";
    cells.current[2][15] = "x";
    cells.current[2][13] = "9800";
    cells.tempK = "9990";
    const RequestBuild write = BuildKbWrite(0, cells);
    ASSERT_TRUE(write.Ok()) << write.refusal;
    const auto data = ByteSpan(write.frame).subspan(7, 66);
    EXPECT_EQ(ReadU16(data, 0), 9000);
    EXPECT_EQ(ReadU16(data, 2), 9100);
    EXPECT_EQ(data[36], 0xFB);  // charge B -5 as FB FF
    EXPECT_EQ(data[37], 0xFF);
    EXPECT_EQ(ReadU16(data, 38), 9800);
    EXPECT_EQ(ReadI16(data, 40), 0);
    EXPECT_EQ(ReadU16(data, 64), 9990);

    struct Case {
        std::function<void(KbCells&)> edit;
        const char* refusal;
    };
    const std::vector<Case> cases = {
        {[](KbCells& c) { c.current[1][16] = "70000"; },
         "SG_CKB column 1, row 16: 70000 is out of range (-32768 to 32767)"},
        {[](KbCells& c) { c.voltageKToWrite[16] = "-1"; },
         "SG_VKB column 4, row 17: -1 is out of range (0 to 65535)"},
        {[](KbCells& c) { c.voltageKAsRead[2] = "65536"; },
         "SG_VKB column 3, row 3: 65536 is out of range (0 to 65535)"},
        {[](KbCells& c) { c.tempK = "99999"; }, "E_TempK: 99999 is out of range (0 to 65535)"},
    };
    for (const Case& c : cases) {
        KbCells bad = EmptyCells(KbLayout::Full);
        c.edit(bad);
        const RequestBuild refused = BuildKbWrite(0, bad);
        EXPECT_TRUE(refused.frame.empty());
        EXPECT_EQ(refused.refusal, c.refusal);
    }
}

TEST(KbBlock, KbFileRoundTripsInBothLayouts) {
    testing::TempFolder folder;
    KbCells cells = EmptyCells(KbLayout::Full);
    cells.voltageKToWrite[0] = "9999";
    cells.current[1][16] = "-5";
    cells.current[2][20] = "12";
    cells.tempK = "9990";
    const std::string path = folder.File("a.kb");
    EXPECT_EQ(SaveKbFile(path, cells).message, "Succeed to save KB!");
    std::string expected = "9999\t";
    for (int i = 0; i < 16; ++i) expected += "10000\t";
    expected += "10000\t-5\t10000\t0\t10000\t0\t10000\t12\t9990\t10000\t10000\t10000\t\r\n";
    EXPECT_EQ(ReadFileText(path), expected);

    const KbLoad load = LoadKbFile(path, KbLayout::Full);
    EXPECT_TRUE(load.loaded);
    EXPECT_EQ(load.message, "Succeed to load KB!");
    EXPECT_EQ(load.voltageKToWrite[0], "9999");
    EXPECT_EQ(load.tempK, "9990");
    EXPECT_EQ(load.currentGrid, "SG_CKB");
    EXPECT_EQ(load.currentCells[1], (GridWrite{1, 16, "-5"}));
    EXPECT_EQ(load.currentCells[7], (GridWrite{2, 20, "12"}));

    KbCells shortCells = EmptyCells(KbLayout::Short);
    shortCells.current[2][14] = "-7";
    const std::string shortPath = folder.File("b.kb");
    EXPECT_TRUE(SaveKbFile(shortPath, shortCells).saved);
    std::string shortExpected;
    for (int i = 0; i < 17; ++i) shortExpected += "10000\t";
    shortExpected += "10000\t0\t10000\t-7\t10000\t10000\t10000\t10000\t\r\n";
    EXPECT_EQ(ReadFileText(shortPath), shortExpected);
    const KbLoad shortLoad = LoadKbFile(shortPath, KbLayout::Short);
    EXPECT_EQ(shortLoad.currentGrid, "SG_CKB1");
    EXPECT_EQ(shortLoad.currentCells[3], (GridWrite{2, 14, "-7"}));
}

TEST(KbBlock, MalformedKbFilesFail) {
    std::string full;
    for (int i = 0; i < 29; ++i) full += "10000\t";
    struct Case {
        const char* what;
        std::string text;
        const char* reason;
    };
    const Case cases[] = {
        {"28 numbers", full.substr(0, full.size() - 6), "it ends after 28 of 29 numbers"},
        {"K beyond 16 bits", "70000\t" + full, "number 1 of 29, 70000, lies outside 0 to 65535"},
        {"negative K", "-1\t" + full, "number 1 of 29, -1, lies outside 0 to 65535"},
        {"a word", "10000\tK\t" + full, "number 2 of 29 is not a whole number"},
        {"a sign alone", "10000\t-\t" + full, "number 2 of 29 is not a whole number"},
        {"empty", "", "it ends after 0 of 29 numbers"},
    };
    for (const Case& c : cases) {
        const KbLoad load = ParseKbText(c.text, KbLayout::Full);
        EXPECT_FALSE(load.loaded) << c.what;
        EXPECT_EQ(load.message, "Fail to load KB!");
        EXPECT_EQ(load.reason, c.reason) << c.what;
        EXPECT_TRUE(load.currentCells.empty());
    }
    EXPECT_TRUE(ParseKbText(full, KbLayout::Full).loaded);
    EXPECT_TRUE(ParseKbText(full, KbLayout::Short).loaded);  // 25 numbers read, the rest ignored
    EXPECT_TRUE(
        ParseKbText(full.substr(0, full.size() - 1), KbLayout::Full).loaded);  // no TAB after the last
    EXPECT_EQ(LoadKbFile("/nonexistent.kb", KbLayout::Full).message, "Fail to load KB!");
}

// A file holds B and SB in 32 bits: a value the module's 16-bit field cannot
// take is kept by the save and loaded back, and only the write refuses it.
TEST(KbBlock, FileKeepsOffsetsTheModuleCannotTake) {
    testing::TempFolder folder;
    KbCells cells = EmptyCells(KbLayout::Full);
    cells.current[1][16] = "70000";
    cells.current[2][20] = "-2147483648";
    const std::string path = folder.File("wide.kb");
    ASSERT_EQ(SaveKbFile(path, cells).message, "Succeed to save KB!");
    const KbLoad load = LoadKbFile(path, KbLayout::Full);
    ASSERT_TRUE(load.loaded);
    EXPECT_EQ(load.currentCells[1], (GridWrite{1, 16, "70000"}));
    EXPECT_EQ(load.currentCells[7], (GridWrite{2, 20, "-2147483648"}));
    EXPECT_EQ(BuildKbWrite(0, cells).refusal,
              "SG_CKB column 1, row 16: 70000 is out of range (-32768 to 32767)");

    // What no file can hold is refused by the save too, naming the cell.
    cells.current[2][20] = "2147483648";
    const KbSave tooWide = SaveKbFile(folder.File("too-wide.kb"), cells);
    EXPECT_FALSE(tooWide.saved);
    EXPECT_EQ(tooWide.message,
              "SG_CKB column 2, row 20: 2147483648 is out of range (-2147483648 to 2147483647)");
    EXPECT_FALSE(std::filesystem::exists(folder.File("too-wide.kb")));
    cells.current[2][20] = "";
    cells.voltageKToWrite[5] = "65536";
    EXPECT_EQ(SaveKbFile(path, cells).message, "SG_VKB column 4, row 6: 65536 is out of range (0 to 65535)");
}

}  // namespace
}  // namespace tarvel
