// The file-system namespace over a temporary tree: ID lists, what an item
// is, enumeration and order, renaming that never overwrites, the trash and
// the opener.

#include "platform/system/ShellNamespace.h"

#include <gtest/gtest.h>
#include <stdlib.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <thread>

#include "tests/TempFolderFixture.h"

namespace tarvel {
namespace {

namespace fs = std::filesystem;

TIdList ListOf(const fs::path& path) {
    TIdList list;
    EXPECT_TRUE(ParseShellPath(path.string(), list)) << path;
    return list;
}

void Write(const fs::path& path, const std::string& text) { std::ofstream(path) << text; }

// sub/, sub/inner/, zeta/, .hidden/, a.txt, B.txt, .dot, run.sh (executable), link -> a.txt
class ShellNamespaceTest : public ::testing::Test {
protected:
    void SetUp() override {
        fs::create_directories(tmp_.Path() / "sub" / "inner");
        fs::create_directories(tmp_.Path() / "zeta");
        fs::create_directories(tmp_.Path() / ".hidden");
        Write(tmp_.Path() / "a.txt", "abc");
        Write(tmp_.Path() / "B.txt", "");
        Write(tmp_.Path() / ".dot", "");
        Write(tmp_.Path() / "run.sh", "#!/bin/sh\n");
        ::chmod((tmp_.Path() / "run.sh").c_str(), 0755);
        fs::create_symlink("a.txt", tmp_.Path() / "link");
        root_ = ListOf(tmp_.Path());
    }
    std::vector<std::string> Sorted(unsigned flags) {
        std::vector<std::string> names;
        EXPECT_TRUE(EnumShellItems(root_, flags, names));
        std::sort(names.begin(), names.end(),
                  [&](auto& a, auto& b) { return CompareShellItems(root_, a, b) < 0; });
        return names;
    }

    testing::TempFolder tmp_;
    TIdList root_;
};

TEST_F(ShellNamespaceTest, IdListsArePathsSplitIntoNames) {
    TIdList list;
    ASSERT_TRUE(ParseShellPath("/", list));
    EXPECT_TRUE(list.empty());
    EXPECT_EQ(IdListPath(list), "/");
    ASSERT_TRUE(ParseShellPath((tmp_.Path() / "sub" / "." / "inner" / ".." / "inner/").string(), list));
    EXPECT_EQ(IdListPath(list), (tmp_.Path() / "sub" / "inner").string());
    EXPECT_EQ(list.back(), "inner");
    EXPECT_FALSE(ParseShellPath("relative/path", list));
    EXPECT_FALSE(ParseShellPath((tmp_.Path() / "missing").string(), list));

    const TIdList abc{"a", "b", "c"};
    EXPECT_EQ(AncestorIdLists(abc), (std::vector<TIdList>{{}, {"a"}, {"a", "b"}}));
    EXPECT_EQ(AncestorIdLists({"a"}), (std::vector<TIdList>{{}}));
    EXPECT_EQ(NextIdItem(abc), (TIdList{"b", "c"}));
    EXPECT_EQ(LastIdItemCopy(abc), (TIdList{"c"}));
    EXPECT_EQ(ConcatIdLists({}, abc), abc);
    TIdList stripped = abc;
    StripLastIdItem(stripped);
    EXPECT_EQ(stripped, (TIdList{"a", "b"}));
    TIdList empty;
    StripLastIdItem(empty);
    EXPECT_TRUE(empty.empty());
}

TEST_F(ShellNamespaceTest, ItemsTellWhatTheyAreFromStat) {
    struct Case {
        const char* name;
        bool folder, link, executable, hidden;
        uint64_t size;
    } const cases[] = {
        {"sub", true, false, false, false, 0},     {"a.txt", false, false, false, false, 3},
        {"run.sh", false, false, true, false, 10}, {"link", false, true, false, false, 3},
        {".hidden", true, false, false, true, 0},
    };
    for (const Case& c : cases) {
        TShellItemInfo info;
        ASSERT_TRUE(ShellItemInfo(ConcatIdLists(root_, {c.name}), info)) << c.name;
        EXPECT_EQ(info.folder, c.folder) << c.name;
        EXPECT_EQ(info.link, c.link) << c.name;
        EXPECT_EQ(info.executable, c.executable) << c.name;
        EXPECT_EQ(info.hidden, c.hidden) << c.name;
        EXPECT_EQ(info.size, c.size) << c.name;
    }
    TShellItemInfo info;
    EXPECT_FALSE(ShellItemInfo(ConcatIdLists(root_, {"missing"}), info));
}

TEST_F(ShellNamespaceTest, EnumerationWithAndWithoutHiddenEntriesFoldersFirst) {
    struct Case {
        unsigned flags;
        std::vector<std::string> names;
    } const cases[] = {
        {sefFolders, {"sub", "zeta"}},
        {sefFolders | sefHidden, {".hidden", "sub", "zeta"}},
        {sefFolders | sefNonFolders, {"sub", "zeta", "a.txt", "B.txt", "link", "run.sh"}},
        {sefFolders | sefNonFolders | sefHidden,
         {".hidden", "sub", "zeta", ".dot", "a.txt", "B.txt", "link", "run.sh"}},
        {sefNonFolders, {"a.txt", "B.txt", "link", "run.sh"}},
    };
    for (const Case& c : cases) EXPECT_EQ(Sorted(c.flags), c.names) << "flags " << c.flags;

    std::vector<std::string> names;
    EXPECT_FALSE(EnumShellItems(ConcatIdLists(root_, {"missing"}), sefFolders, names));
    EXPECT_TRUE(FolderHasSubFolders(ConcatIdLists(root_, {"sub"}), sefFolders));
    EXPECT_FALSE(FolderHasSubFolders(ConcatIdLists(root_, {"zeta"}), sefFolders));
    EXPECT_FALSE(FolderHasObjects(ConcatIdLists(root_, {"zeta"}), sefFolders | sefNonFolders));
    EXPECT_TRUE(FolderHasObjects(root_, sefNonFolders));
}

TEST_F(ShellNamespaceTest, RenamingRefusesBadNamesAndNeverOverwrites) {
    const TIdList a = ConcatIdLists(root_, {"a.txt"});
    struct Case {
        const char* name;
        const char* error;
    } const cases[] = {
        {"", "is not a valid name"},  {"x/y", "is not a valid name"}, {"..", "is not a valid name"},
        {".", "is not a valid name"}, {"B.txt", "exists already"},    {"sub", "exists already"},
    };
    for (const Case& c : cases) {
        std::string error;
        EXPECT_FALSE(RenameShellItem(a, c.name, error)) << c.name;
        EXPECT_NE(error.find(c.error), std::string::npos) << c.name << ": " << error;
    }
    std::ifstream stillB(tmp_.Path() / "B.txt");
    EXPECT_EQ(std::string(std::istreambuf_iterator<char>(stillB), {}), "");

    std::string error;
    ASSERT_TRUE(RenameShellItem(a, "renamed.txt", error)) << error;
    EXPECT_FALSE(fs::exists(tmp_.Path() / "a.txt"));
    EXPECT_EQ(fs::file_size(tmp_.Path() / "renamed.txt"), 3u);
}

TEST_F(ShellNamespaceTest, DeletingMovesToTheTrashWithItsRecordOrIsRefused) {
    const char* saved = std::getenv("XDG_DATA_HOME");
    const std::string before = saved ? saved : "";
    const fs::path data = tmp_.Path() / "data";
    ::setenv("XDG_DATA_HOME", data.c_str(), 1);

    std::string error;
    EXPECT_FALSE(TrashShellItem(ConcatIdLists(root_, {"a.txt"}), error)) << "no trash folder yet";
    EXPECT_NE(error.find("no trash folder"), std::string::npos) << error;
    EXPECT_TRUE(fs::exists(tmp_.Path() / "a.txt"));

    fs::create_directories(data / "Trash");
    for (const char* name : {"a.txt", "sub"}) {
        ASSERT_TRUE(TrashShellItem(ConcatIdLists(root_, {name}), error)) << error;
        EXPECT_FALSE(fs::exists(tmp_.Path() / name));
        EXPECT_TRUE(fs::exists(data / "Trash" / "files" / name));
        std::ifstream record(data / "Trash" / "info" / (std::string(name) + ".trashinfo"));
        std::stringstream text;
        text << record.rdbuf();
        EXPECT_NE(text.str().find("[Trash Info]\nPath=" + (tmp_.Path() / name).string() + "\nDeletionDate="),
                  std::string::npos)
            << text.str();
    }
    // A second item of the same name keeps the first one in the trash.
    Write(tmp_.Path() / "a.txt", "second");
    ASSERT_TRUE(TrashShellItem(ConcatIdLists(root_, {"a.txt"}), error)) << error;
    EXPECT_EQ(fs::file_size(data / "Trash" / "files" / "a.txt"), 3u);
    EXPECT_EQ(fs::file_size(data / "Trash" / "files" / "a.txt.2"), 6u);
    EXPECT_TRUE(fs::exists(data / "Trash" / "info" / "a.txt.2.trashinfo"));

    if (saved)
        ::setenv("XDG_DATA_HOME", before.c_str(), 1);
    else
        ::unsetenv("XDG_DATA_HOME");
}

TEST_F(ShellNamespaceTest, TheOpenerGetsThePathInTheItemsFolderAndOursStays) {
    const fs::path opener = tmp_.Path() / "opener.sh";
    const fs::path out = tmp_.Path() / "opened";
    Write(opener, "#!/bin/sh\necho \"$1 $(pwd)\" > " + out.string() + ".tmp && mv " + out.string() + ".tmp " +
                      out.string() + "\n");
    ::chmod(opener.c_str(), 0755);
    const std::string here = fs::current_path().string();
    std::string error;
    ASSERT_TRUE(OpenShellItem(ConcatIdLists(root_, {"sub", "inner"}), error, opener.string())) << error;
    for (int i = 0; i < 500 && !fs::exists(out); ++i)
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    std::ifstream in(out);
    std::string line;
    std::getline(in, line);
    const std::string inner = (tmp_.Path() / "sub" / "inner").string();
    EXPECT_EQ(line, inner + " " + inner);
    EXPECT_EQ(fs::current_path().string(), here);

    EXPECT_FALSE(OpenShellItem(ConcatIdLists(root_, {"a.txt"}), error, "/nonexistent/opener"));
    EXPECT_NE(error.find("cannot be started"), std::string::npos) << error;
    EXPECT_FALSE(OpenShellItem(ConcatIdLists(root_, {"missing"}), error, opener.string()));
}

}  // namespace
}  // namespace tarvel
