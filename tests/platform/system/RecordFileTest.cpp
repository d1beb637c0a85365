#include "platform/system/RecordFile.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "platform/base/Paths.h"
#include "tests/platform/base/SmallDiskFixture.h"

namespace tarvel {
namespace {

TEST(RecordFile, WritesInPlaceAndReadsWhatIsThere) {
    const auto dir = std::filesystem::temp_directory_path() / ("rec-" + std::to_string(::getpid()));
    std::filesystem::create_directories(dir);
    const std::string path = (dir / "ParaRecord.dat").string();
    const std::vector<uint8_t> zeros(264, 0);
    WriteFileBytes(path, zeros.data(), zeros.size());

    const uint8_t period[4] = {5, 0, 0, 0};
    ASSERT_TRUE(WriteFileAt(path, 256, period, 4));
    EXPECT_EQ(std::filesystem::file_size(path), 264u);  // not truncated

    uint8_t buffer[8];
    std::fill(std::begin(buffer), std::end(buffer), 0xEE);
    EXPECT_EQ(ReadFileAt(path, 256, buffer, 8), 8);
    EXPECT_EQ(buffer[0], 5);
    // Past the end: only what is there; the rest of the buffer stays.
    std::fill(std::begin(buffer), std::end(buffer), 0xEE);
    EXPECT_EQ(ReadFileAt(path, 260, buffer, 8), 4);
    EXPECT_EQ(buffer[3], 0);
    EXPECT_EQ(buffer[4], 0xEE);
    EXPECT_EQ(ReadFileAt(path, 10'000, buffer, 8), 0);

    EXPECT_EQ(ReadFileAt((dir / "none.dat").string(), 0, buffer, 8), -1);
    EXPECT_FALSE(WriteFileAt((dir / "no" / "x.dat").string(), 0, period, 4));
    std::filesystem::remove_all(dir);
}

using RecordFileOnAFullDisk = testing::SmallDisk;

// The polling record is written whole or not at all.
TEST_F(RecordFileOnAFullDisk, AFailedWriteLeavesTheRecordAsItWas) {
    const std::string path = File("ParaRecord.dat");
    std::vector<uint8_t> record(264, 0);
    record[256] = 1;
    ASSERT_TRUE(WriteFileAt(path, 0, record.data(), record.size()));
    Fill();
    const std::vector<uint8_t> longer(8192, 7);
    EXPECT_FALSE(WriteFileAt(path, 0, longer.data(), longer.size()));
    EXPECT_EQ(ReadFileBytes(path), record);
    EXPECT_EQ(Names(), std::vector<std::string>{"ParaRecord.dat"});
    Free();
    EXPECT_FALSE(WriteFileAt(path, uint64_t{1} << 40, longer.data(), 4));  // no file of a terabyte
    EXPECT_EQ(ReadFileBytes(path), record);
}

}  // namespace
}  // namespace tarvel
