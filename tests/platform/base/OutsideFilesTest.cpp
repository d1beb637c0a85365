// Files from outside the tool: opened without ever waiting, only when they
// are regular files, read whole only within their kind's limit, appended to
// on a line of their own, and saved without leaving temporary files behind.

#include <fcntl.h>
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <string>

#include "platform/base/Csv.h"
#include "platform/base/Exceptions.h"
#include "platform/base/Paths.h"
#include "tests/CsvReader.h"
#include "tests/TempFolderFixture.h"
#include "tests/Watchdog.h"

namespace tarvel {
namespace {

namespace fs = std::filesystem;
using std::chrono::seconds;

class OutsideFiles : public ::testing::Test {
protected:
    std::string File(const std::string& name) const { return folder_.File(name); }
    void Write(const std::string& name, const std::string& text) {
        std::ofstream(File(name), std::ios::binary) << text;
    }
    testing::TempFolder folder_;
};

// What stands in a file's place, and what opening it answers.
struct SpecialFile {
    const char* name;
    const char* reason;  // "" when it opens
};

TEST_F(OutsideFiles, OnlyARegularFileOpensAndNothingWaits) {
    Write("plain.ini", "[a]\n");
    fs::create_directory(File("folder.ini"));
    ASSERT_EQ(::mkfifo(File("pipe.ini").c_str(), 0600), 0);
    fs::create_symlink("/dev/null", File("null.ini"));
    fs::create_symlink("/dev/zero", File("zero.ini"));
    fs::create_symlink(File("pipe.ini"), File("link-to-pipe.ini"));
    fs::create_symlink(File("nowhere"), File("dangling.ini"));
    const SpecialFile cases[] = {
        {"plain.ini", ""},
        {"folder.ini", "Is a directory"},
        {"pipe.ini", "Not a regular file"},
        {"null.ini", "Not a regular file"},
        {"zero.ini", "Not a regular file"},
        {"link-to-pipe.ini", "Not a regular file"},
        {"dangling.ini", "No such file or directory"},
        {"missing.ini", "No such file or directory"},
    };
    for (const int flags : {O_RDONLY, O_RDWR | O_APPEND | O_CREAT, O_WRONLY | O_CREAT | O_TRUNC}) {
        for (const SpecialFile& c : cases) {
            if (flags & O_CREAT &&
                (std::string(c.name) == "missing.ini" || std::string(c.name) == "dangling.ini"))
                continue;  // these are made
            SCOPED_TRACE(std::string(c.name) + " flags " + std::to_string(flags));
            const testing::Watchdog watchdog(c.name, seconds(10));
            std::string reason;
            const int fd = OpenRegularFile(File(c.name), flags, &reason);
            if (*c.reason == 0) {
                ASSERT_GE(fd, 0) << reason;
                // The descriptor reads and writes as any other: it blocks again.
                EXPECT_EQ(::fcntl(fd, F_GETFL) & O_NONBLOCK, 0);
                EXPECT_NE(::fcntl(fd, F_GETFD) & FD_CLOEXEC, 0);
                ::close(fd);
            } else {
                EXPECT_EQ(fd, -1);
                EXPECT_EQ(reason, c.reason);
            }
        }
    }
    // Reading one raises the error a folder raises, naming the path.
    for (const char* name : {"folder.ini", "pipe.ini", "null.ini", "dangling.ini"}) {
        const testing::Watchdog watchdog(name, seconds(10));
        try {
            ReadFileText(File(name));
            ADD_FAILURE() << name << " was read";
        } catch (const EFOpenError& e) {
            EXPECT_EQ(e.Message(), "Cannot open file \"" + File(name) + "\"");
        }
    }
}

TEST_F(OutsideFiles, AFileLargerThanItsLimitIsRefusedUnread) {
    // A sparse gibibyte: reading it whole would take the memory and the time.
    {
        std::ofstream sparse(File("huge.bms"), std::ios::binary);
        sparse.seekp((std::streamoff{1} << 30) - 1);
        sparse.put('x');
    }
    Write("small.bms", std::string(100, '7'));
    const testing::Watchdog watchdog("huge.bms", seconds(10));
    try {
        ReadFileText(File("huge.bms"), 16 << 10);
        ADD_FAILURE() << "read";
    } catch (const EFileTooLarge& e) {
        EXPECT_EQ(e.Message(),
                  "Cannot read file \"" + File("huge.bms") + "\": it is larger than the limit of 16 KiB");
    }
    // No limit of its own still is a limit.
    EXPECT_THROW(ReadFileBytes(File("huge.bms")), EFileTooLarge);
    EXPECT_EQ(FileReadProblem(File("huge.bms"), 16 << 10), FileTooLargeMessage(File("huge.bms"), 16 << 10));
    EXPECT_EQ(FileTooLargeMessage("a", 264),
              "Cannot read file \"a\": it is larger than the limit of 264 bytes");
    EXPECT_EQ(FileTooLargeMessage("a", 3 << 20),
              "Cannot read file \"a\": it is larger than the limit of 3 MiB");

    // Up to the limit is read; a byte more is not.
    EXPECT_EQ(ReadFileText(File("small.bms"), 100).size(), 100u);
    EXPECT_THROW(ReadFileText(File("small.bms"), 99), EFileTooLarge);
    EXPECT_EQ(FileReadProblem(File("small.bms"), 100), "");
    EXPECT_EQ(FileReadProblem(File("missing.bms"), 100), "");
    fs::create_directory(File("folder.bms"));
    EXPECT_EQ(FileReadProblem(File("folder.bms"), 100), "Cannot open file \"" + File("folder.bms") + "\"");
}

TEST_F(OutsideFiles, AnAppendStartsOnALineOfItsOwn) {
    const struct {
        const char* before;  // nullptr: no file
        const char* after;
    } cases[] = {
        {nullptr, "H\r\nline\r\n"},     {"", "H\r\nline\r\n"},        {"a,b,\r\n", "a,b,\r\nline\r\n"},
        {"a,b,\n", "a,b,\nline\r\n"},   {"a,b,", "a,b,\r\nline\r\n"},  // a last line without its end
        {"a,b,\r", "a,b,\r\nline\r\n"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.before ? c.before : "no file");
        fs::remove(File("log.csv"));
        if (c.before) Write("log.csv", c.before);
        AppendFileText(File("log.csv"), "line\r\n", "H\r\n");
        EXPECT_EQ(ReadFileText(File("log.csv")), c.after);
    }
    // Kept open, each append looks again: another writer may have cut a line.
    AppendFile kept;
    kept.Open(File("kept.csv"));
    kept.Append("1,\r\n", "H,\r\n");
    std::ofstream(File("kept.csv"), std::ios::binary | std::ios::app) << "half";
    kept.Append("2,\r\n", "H,\r\n");
    EXPECT_EQ(ReadFileText(File("kept.csv")), "H,\r\n1,\r\nhalf\r\n2,\r\n");
}

TEST_F(OutsideFiles, AppendsAndSavesNeverWaitOnOrReplaceASpecialFile) {
    ASSERT_EQ(::mkfifo(File("pipe.csv").c_str(), 0600), 0);
    fs::create_symlink("/dev/null", File("null.csv"));
    fs::create_directory(File("folder.csv"));
    for (const char* name : {"pipe.csv", "null.csv", "folder.csv"}) {
        SCOPED_TRACE(name);
        const testing::Watchdog watchdog(name, seconds(10));
        try {
            AppendFileText(File(name), "x\r\n");
            ADD_FAILURE() << "appended";
        } catch (const EFCreateError& e) {
            EXPECT_EQ(e.Message(), "Cannot create file \"" + File(name) + "\"");
        }
        EXPECT_THROW(WriteFileText(File(name), "x"), EFCreateError);
    }
    // The pipe with a reader at its other end: still no file to append to.
    const int reader = ::open(File("pipe.csv").c_str(), O_RDONLY | O_NONBLOCK);
    ASSERT_GE(reader, 0);
    {
        const testing::Watchdog watchdog("pipe with a reader", seconds(10));
        EXPECT_THROW(AppendFileText(File("pipe.csv"), "x\r\n"), EFCreateError);
    }
    ::close(reader);
    EXPECT_TRUE(fs::is_fifo(File("pipe.csv")));
    EXPECT_TRUE(fs::is_character_file("/dev/null"));
    EXPECT_TRUE(fs::is_symlink(File("null.csv")));
}

// A process id that no process has: a child that has been waited for.
pid_t DeadProcess() {
    const pid_t child = ::fork();
    if (child == 0) ::_exit(0);
    ::waitpid(child, nullptr, 0);
    return child;
}

TEST_F(OutsideFiles, TemporaryFilesOfCutOffSavesGo) {
    const std::string dead = std::to_string(DeadProcess());
    const std::string alive = std::to_string(::getppid());
    const std::string self = std::to_string(::getpid());
    const std::vector<std::string> stale = {".a.csv." + dead + "-0.tmp", ".a.csv." + self + "-999999.tmp"};
    const std::vector<std::string> kept = {
        ".a.csv." + alive + "-1.tmp",  // its save may still run
        ".b.csv." + dead + "-2.tmp",   // another file's: goes with its own save
        "a.csv.tmp",
        ".a.csv.x-1.tmp",
        ".a.csv." + dead + "-1.tmpx",
    };
    for (const std::string& name : stale) Write(name, "cut off");
    for (const std::string& name : kept) Write(name, "other");
    fs::create_directory(File(".a.csv." + dead + "-5.tmp"));  // a folder is not ours to remove

    WriteFileText(File("a.csv"), "saved");
    for (const std::string& name : stale) EXPECT_FALSE(fs::exists(File(name))) << name;
    for (const std::string& name : kept) EXPECT_TRUE(fs::exists(File(name))) << name;
    EXPECT_TRUE(fs::is_directory(File(".a.csv." + dead + "-5.tmp")));

    // The start-up sweep takes every file's.
    EXPECT_EQ(RemoveStaleTemporaryFiles(folder_.Path().string()), 1);
    EXPECT_FALSE(fs::exists(File(".b.csv." + dead + "-2.tmp")));
    EXPECT_TRUE(fs::exists(File(".a.csv." + alive + "-1.tmp")));
    EXPECT_EQ(ReadFileText(File("a.csv")), "saved");
}

TEST(Csv, AFieldIsQuotedOnlyWhenItMustBe) {
    const std::pair<std::string, std::string> cases[] = {
        {"", ""},
        {"3.345", "3.345"},
        {"  Start Time", "  Start Time"},
        {"温度", "温度"},
        {"16S LFP, balance, heater", "\"16S LFP, balance, heater\""},
        {"say \"hi\"", "\"say \"\"hi\"\"\""},
        {"two\r\nlines", "\"two\r\nlines\""},
        {"end\n", "\"end\n\""},
        {"\"", "\"\"\"\""},
    };
    std::string line;
    for (const auto& [text, field] : cases) {
        EXPECT_EQ(CsvField(text), field) << text;
        AppendCsvField(line, text);
    }
    // Read back, every field is what was written.
    const auto rows = testing::ParseCsv(line + "\r\n");
    ASSERT_TRUE(rows);
    ASSERT_EQ(rows->size(), 1u);
    ASSERT_EQ((*rows)[0].size(), std::size(cases) + 1);
    for (size_t i = 0; i < std::size(cases); ++i) EXPECT_EQ((*rows)[0][i], cases[i].first);
}

}  // namespace
}  // namespace tarvel
