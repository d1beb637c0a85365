#include "platform/base/Paths.h"

#include <gtest/gtest.h>

#include <cstdlib>

#include "platform/base/Exceptions.h"
#include "platform/base/Ticks.h"

using namespace tarvel;

namespace {

class TempFolder : public ::testing::Test {
protected:
    void SetUp() override {
        char pattern[] = "/tmp/tarvel-base-XXXXXX";
        ASSERT_NE(mkdtemp(pattern), nullptr);
        dir = pattern;
    }
    void TearDown() override {
        SetApplicationFolder("");
        std::system(("rm -rf '" + dir + "'").c_str());
    }
    std::string dir;
};

}  // namespace

TEST(Paths, NamePartsAsTheClassLibrarySplitsThem) {
    struct Case {
        const char* path;
        const char* filePath;
        const char* dir;
        const char* name;
        const char* ext;
    } const cases[] = {
        {"/a/b/c.kb", "/a/b/", "/a/b", "c.kb", ".kb"},
        {"res\\theme\\dara.mskn", "res\\theme\\", "res\\theme", "dara.mskn", ".mskn"},
        {"noext", "", "", "noext", ""},
        {"/a.b/c", "/a.b/", "/a.b", "c", ""},
        {"/x/2018-05-09信息.txt", "/x/", "/x", "2018-05-09信息.txt", ".txt"},
        {"/top", "/", "/", "top", ""},
        {"dir/", "dir/", "dir", "", ""},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(ExtractFilePath(c.path), c.filePath) << c.path;
        EXPECT_EQ(ExtractFileDir(c.path), c.dir) << c.path;
        EXPECT_EQ(ExtractFileName(c.path), c.name) << c.path;
        EXPECT_EQ(ExtractFileExt(c.path), c.ext) << c.path;
    }
    EXPECT_EQ(ChangeFileExt("/a.b/c", ".bms"), "/a.b/c.bms");
    EXPECT_EQ(ChangeFileExt("/a/c.kb", ".csv"), "/a/c.csv");
    EXPECT_EQ(IncludeTrailingPathDelimiter("/a"), "/a/");
    EXPECT_EQ(ExcludeTrailingPathDelimiter("/a//"), "/a");
    EXPECT_EQ(NativePath("\\DataAccess\\Data.db"), "/DataAccess/Data.db");
}

TEST_F(TempFolder, ApplicationFolderCanBeMovedByTests) {
    SetApplicationFolder(dir + "/");
    EXPECT_EQ(ApplicationFolder(), dir);
    EXPECT_EQ(AppPath("\\ParaSeting.ini"), dir + "/ParaSeting.ini");
    EXPECT_EQ(AppPath("res\\theme\\dara.mskn"), dir + "/res/theme/dara.mskn");
    SetApplicationFolder("");
    EXPECT_NE(ApplicationFolder(), dir);
    EXPECT_FALSE(ApplicationFolder().empty());
}

TEST_F(TempFolder, FoldersAreCreatedOnceAndAgain) {
    EXPECT_TRUE(CreateDir(dir + "/Info"));
    EXPECT_TRUE(CreateDir(dir + "/Info"));  // an existing folder is fine
    EXPECT_TRUE(DirectoryExists(dir + "/Info"));
    EXPECT_FALSE(FileExists(dir + "/Info"));
    EXPECT_FALSE(CreateDir(dir + "/missing/child"));
    EXPECT_TRUE(ForceDirectories(dir + "/Export DataAccess/a/b"));
    EXPECT_TRUE(DirectoryExists(dir + "/Export DataAccess/a/b"));
}

TEST_F(TempFolder, WholeFileHelpers) {
    const std::string path = dir + "/2018-05-09信息.txt";
    WriteFileText(path, "one\r\n");
    AppendFileText(path, "two\r\n");
    EXPECT_EQ(ReadFileText(path), "one\r\ntwo\r\n");
    EXPECT_TRUE(FileExists(path));
    EXPECT_TRUE(RenameFile(path, path + ".old"));
    EXPECT_TRUE(DeleteFile(path + ".old"));
    EXPECT_THROW(ReadFileBytes(dir + "/none"), EFOpenError);
    EXPECT_THROW(WriteFileText(dir + "/no/such/folder/x", "x"), EFCreateError);
}

TEST(Ticks, TestSourceReplacesTheClockAndDifferencesSurviveTheWrap) {
    uint32_t fake = 0xFFFFFFF0u;
    SetTickSource([&] { return fake; });
    const uint32_t start = GetTickCount();
    fake += 0x20;  // wraps past zero
    EXPECT_EQ(TicksSince(start, GetTickCount()), 0x20u);
    SetTickSource(nullptr);
    const uint32_t a = GetTickCount();
    Sleep(20);
    EXPECT_GE(TicksSince(a, GetTickCount()), 19u);
}
