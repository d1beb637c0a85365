// A file kept open for lines: the header once, the lines in order, and a
// file deleted or renamed away made again at its path, with its header.

#include <gtest/gtest.h>

#include <filesystem>

#include "platform/base/Exceptions.h"
#include "platform/base/Paths.h"
#include "tests/TempFolderFixture.h"

namespace tarvel {
namespace {

TEST(AppendFile, TheHeaderGoesFirstOnceAndTheLinesFollowInOrder) {
    testing::TempFolder folder;
    AppendFile file(folder.File("a.csv"));
    EXPECT_FALSE(file.IsOpen());
    file.Append("1\r\n", "H\r\n");
    file.Append("2\r\n", "H\r\n");
    EXPECT_TRUE(file.IsOpen());
    EXPECT_EQ(ReadFileText(folder.File("a.csv")), "H\r\n1\r\n2\r\n");
    // Another copy appending in between keeps its line.
    AppendFileText(folder.File("a.csv"), "x\r\n");
    file.Append("3\r\n", "H\r\n");
    EXPECT_EQ(ReadFileText(folder.File("a.csv")), "H\r\n1\r\n2\r\nx\r\n3\r\n");
}

TEST(AppendFile, AFileDeletedOrRenamedAwayIsMadeAgainAtItsPath) {
    for (const bool renamed : {false, true}) {
        SCOPED_TRACE(renamed ? "renamed" : "deleted");
        testing::TempFolder folder;
        const std::string path = folder.File("a.csv");
        AppendFile file(path);
        file.Append("1\r\n", "H\r\n");
        if (renamed)
            std::filesystem::rename(path, folder.File("old.csv"));
        else
            std::filesystem::remove(path);
        file.Append("2\r\n", "H\r\n");
        EXPECT_EQ(ReadFileText(path), "H\r\n2\r\n");
        if (renamed) EXPECT_EQ(ReadFileText(folder.File("old.csv")), "H\r\n1\r\n");
    }
}

TEST(AppendFile, AFileThatCannotBeMadeRaisesAndTheNextLineTriesAgain) {
    testing::TempFolder folder;
    AppendFile file(folder.File("absent/a.csv"));
    EXPECT_THROW(file.Append("1\r\n", "H\r\n"), EFCreateError);
    std::filesystem::create_directory(folder.Path() / "absent");
    file.Append("2\r\n", "H\r\n");
    EXPECT_EQ(ReadFileText(folder.File("absent/a.csv")), "H\r\n2\r\n");
}

}  // namespace
}  // namespace tarvel
