#include "adjust/ParameterFile.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "adjust/KbBlock.h"
#include "adjust/ProtectionParameters.h"
#include "platform/base/Paths.h"
#include "tests/platform/base/SmallDiskFixture.h"

namespace tarvel {
namespace {

using ParameterFiles = testing::SmallDisk;

// A file that cannot be read is a bad file like any other, whatever the reason.
TEST_F(ParameterFiles, UnreadableFilesFailToLoad) {
    std::filesystem::create_directory(File("folder.bms"));
    std::filesystem::create_directory(File("folder.kb"));
    struct Case {
        const char* what;
        std::string bms, kb;
    } const cases[] = {
        {"a folder", File("folder.bms"), File("folder.kb")},
        {"missing", File("none.bms"), File("none.kb")},
        {"a read error", "/proc/self/mem", "/proc/self/mem"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(LoadBmsFile(c.bms).message, "Fail to load BMS!") << c.what;
        EXPECT_EQ(LoadKbFile(c.kb, KbLayout::Full).message, "Fail to load KB!") << c.what;
        EXPECT_FALSE(ReadParameterFile(c.bms)) << c.what;
    }
}

TEST_F(ParameterFiles, AFailedSaveKeepsTheOldFile) {
    ProtectionTexts cells;
    cells.fill("1");
    const std::string path = File("a.bms");
    ASSERT_TRUE(SaveBmsFile(path, cells).saved);
    const std::string old = ReadFileText(path);
    Fill();
    cells.fill("2");
    EXPECT_EQ(SaveBmsFile(path, cells).message, "Fail to save BMS!");
    EXPECT_EQ(ReadFileText(path), old);
    EXPECT_EQ(Names(), std::vector<std::string>{"a.bms"});
}

}  // namespace
}  // namespace tarvel
