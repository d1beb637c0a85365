#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>
#include <string>

#include "platform/base/Exceptions.h"
#include "platform/base/Paths.h"
#include "tests/platform/base/SmallDiskFixture.h"

namespace tarvel {
namespace {

using FileSaves = testing::SmallDisk;

// Whatever fails underneath, reading raises one of our own errors.
TEST_F(FileSaves, ReadErrorsOfAnyKindAreOurOwn) {
    std::filesystem::create_directory(File("folder.kb"));
    ASSERT_EQ(mkfifo(File("pipe.kb").c_str(), 0600), 0);
    struct Case {
        std::string path;
        bool opens;  // fails only while reading
    } const cases[] = {
        {File("folder.kb"), false},
        {File("pipe.kb"), false},  // no writer: an open that waited would never return
        {File("missing.kb"), false},
        {"/proc/self/mem", true},  // reading its first page fails with EIO
    };
    for (const Case& c : cases) {
        try {
            ReadFileBytes(c.path);
            ADD_FAILURE() << c.path << " was read";
        } catch (const EFOpenError&) {
            EXPECT_FALSE(c.opens) << c.path;
        } catch (const EReadError&) {
            EXPECT_TRUE(c.opens) << c.path;
        }
    }
}

TEST_F(FileSaves, AFailedSaveLeavesTheOldFileWhole) {
    const std::string path = File("BMSAdjust.ini");
    const std::string old = "[3UPara]\r\nNum1=3000\r\n";
    WriteFileText(path, old);
    std::filesystem::permissions(path,
                                 std::filesystem::perms::owner_read | std::filesystem::perms::owner_write);
    Fill();
    EXPECT_THROW(WriteFileText(path, std::string(8192, 'n')), EWriteError);
    EXPECT_FALSE(SaveFileText(path, std::string(8192, 'n')));
    EXPECT_EQ(ReadFileText(path), old);
    EXPECT_EQ(Names(), std::vector<std::string>{"BMSAdjust.ini"});  // no temporary file stays

    Free();
    EXPECT_TRUE(SaveFileText(path, "[3UPara]\r\nNum1=2900\r\n"));
    EXPECT_EQ(ReadFileText(path), "[3UPara]\r\nNum1=2900\r\n");
    EXPECT_EQ(std::filesystem::status(path).permissions(),
              std::filesystem::perms::owner_read | std::filesystem::perms::owner_write);
    EXPECT_EQ(Names(), std::vector<std::string>{"BMSAdjust.ini"});
}

TEST_F(FileSaves, AReplacedLinkKeepsPointingAtTheNewText) {
    WriteFileText(File("target.bms"), "old");
    std::filesystem::create_symlink(File("target.bms"), File("link.bms"));
    WriteFileText(File("link.bms"), "new");
    EXPECT_TRUE(std::filesystem::is_symlink(File("link.bms")));
    EXPECT_EQ(ReadFileText(File("target.bms")), "new");
}

// The line that does not fit is cut back: the next one starts on a line of its own.
TEST_F(FileSaves, AnAppendThatFailsLeavesNoHalfLine) {
    const std::string path = File("NoModule.csv");
    // Close to the end of a page, so the line's first bytes still fit.
    const std::string before = "h,\r\n" + std::string(4096 - 4 - 10, 'x') + "\r\n";
    WriteFileText(path, before);
    Fill();
    const std::string line = std::string(300, 'v') + ",\r\n";
    EXPECT_THROW(AppendFileText(path, line, "h,\r\n"), EWriteError);
    EXPECT_EQ(ReadFileText(path), before);

    Free();
    AppendFileText(path, line, "h,\r\n");
    EXPECT_EQ(ReadFileText(path), before + line);
}

TEST_F(FileSaves, AppendsMakeTheFileWithItsHeaderOrRaise) {
    AppendFileText(File("a.csv"), "1\r\n", "head\r\n");
    AppendFileText(File("a.csv"), "2\r\n", "head\r\n");
    EXPECT_EQ(ReadFileText(File("a.csv")), "head\r\n1\r\n2\r\n");
    EXPECT_THROW(AppendFileText(File("no/a.csv"), "1\r\n"), EFCreateError);
    std::filesystem::create_directory(File("folder.csv"));
    EXPECT_THROW(AppendFileText(File("folder.csv"), "1\r\n"), EFCreateError);
}

// Copies of the tool that start a CSV file together write its header once:
// a few writers, released at once, start many files.
TEST(FileAppends, WritersStartingAFileTogetherWriteOneHeader) {
    char pattern[] = "/tmp/tarvel-appends-XXXXXX";
    ASSERT_NE(mkdtemp(pattern), nullptr);
    const std::string folder = pattern;
    constexpr int kWriters = 4;
    constexpr int kFiles = 300;
    int start[2];
    ASSERT_EQ(pipe(start), 0);
    for (int w = 0; w < kWriters; ++w) {
        if (fork() == 0) {
            close(start[1]);
            char go;
            if (read(start[0], &go, 1) != 0) _exit(2);  // released when the pipe closes
            int status = 0;
            try {
                for (int f = 0; f < kFiles; ++f)
                    AppendFileText(folder + "/" + std::to_string(f) + ".csv", "line\r\n", "header\r\n");
            } catch (...) {
                status = 1;
            }
            _exit(status);
        }
    }
    close(start[0]);
    close(start[1]);
    for (int w = 0; w < kWriters; ++w) {
        int status = -1;
        wait(&status);
        EXPECT_EQ(status, 0);
    }
    std::string expected = "header\r\n";
    for (int w = 0; w < kWriters; ++w) expected += "line\r\n";
    for (int f = 0; f < kFiles; ++f) {
        const std::string path = folder + "/" + std::to_string(f) + ".csv";
        if (ReadFileText(path) != expected) {
            ADD_FAILURE() << path << ":\n" << ReadFileText(path);
            break;
        }
    }
    std::filesystem::remove_all(folder);
}

}  // namespace
}  // namespace tarvel
