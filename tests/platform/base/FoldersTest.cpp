// Listing folders and resolving typed paths against a folder of our own.

#include "platform/base/Folders.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <algorithm>
#include <fstream>

#include "platform/base/Paths.h"
#include "tests/TempFolderFixture.h"

using namespace tarvel;

TEST(Folders, TypedPathsResolveAgainstTheFolderGiven) {
    struct Case {
        const char* folder;
        const char* typed;
        const char* resolved;
    } const cases[] = {
        {"/data", "a.txt", "/data/a.txt"},
        {"/data/", "sub/../b.txt", "/data/b.txt"},
        {"/data", "/etc/x.conf", "/etc/x.conf"},
        {"/data", "/etc/./y/../x.conf", "/etc/x.conf"},
        {"/data", "../../../z", "/z"},
        {"/", "a", "/a"},
        {"/data", ".", "/data"},
        {"/data", "sub//c/", "/data/sub/c"},
        {"rel", "../up", "up"},
        {"rel", "../../up", "../up"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(ResolvePath(c.folder, c.typed), c.resolved) << c.folder << " + " << c.typed;
}

TEST(Folders, TheParentOfTheRootIsTheRoot) {
    EXPECT_EQ(ParentFolder("/a/b"), "/a");
    EXPECT_EQ(ParentFolder("/a/b/"), "/a");
    EXPECT_EQ(ParentFolder("/a"), "/");
    EXPECT_EQ(ParentFolder("/"), "/");
    EXPECT_EQ(JoinPath("/", "x"), "/x");
    EXPECT_EQ(JoinPath("/a", "x"), "/a/x");
}

TEST(Folders, ListingTellsFoldersHiddenAndExecutableEntries) {
    tarvel::testing::TempFolder tmp;
    ASSERT_TRUE(CreateDir(tmp.File("sub")));
    ASSERT_TRUE(CreateDir(tmp.File(".cache")));
    std::ofstream(tmp.File("a.txt")) << "a";
    std::ofstream(tmp.File("run.sh")) << "#!/bin/sh\n";
    ::chmod(tmp.File("run.sh").c_str(), 0755);
    std::vector<TFolderEntry> entries;
    ASSERT_TRUE(ListFolder(tmp.Path().string(), entries));
    std::sort(entries.begin(), entries.end(), [](auto& a, auto& b) { return a.name < b.name; });
    ASSERT_EQ(entries.size(), 4u);
    EXPECT_EQ(entries[0].name, ".cache");
    EXPECT_TRUE(entries[0].folder && entries[0].hidden);
    EXPECT_EQ(entries[1].name, "a.txt");
    EXPECT_FALSE(entries[1].folder || entries[1].hidden || entries[1].executable);
    EXPECT_EQ(entries[1].size, 1u);
    EXPECT_EQ(entries[2].name, "run.sh");
    EXPECT_TRUE(entries[2].executable);
    EXPECT_EQ(entries[2].size, 10u);
    EXPECT_EQ(entries[3].name, "sub");
    EXPECT_TRUE(entries[3].folder);
    EXPECT_EQ(GetCurrentDir(), std::filesystem::current_path().string()) << "listing never moves the process";

    EXPECT_FALSE(ListFolder(tmp.File("missing"), entries));
    EXPECT_TRUE(entries.empty());
}
