// The file-name rules of the file dialogs and controls: filters and masks,
// the extension a save completes, command-line name lists, the library's
// name tests and path shortening.

#include "skin/extras/te_dialogs_file.h"

#include <gtest/gtest.h>

#include "platform/classlib/Bitmaps.h"
#include "tests/TempFolderFixture.h"

namespace tarvel {
namespace {

TEST(DialogsFile, FilterPairsAndTheirMasks) {
    struct Case {
        const char* filter;
        std::vector<std::pair<String, std::vector<String>>> types;
    } const cases[] = {
        {"Text files|*.txt;*.log|All files|*.*",
         {{"Text files", {"*.txt", "*.log"}}, {"All files", {"*.*"}}}},
        {"Data| *.csv ; *.dat |Dangling", {{"Data", {"*.csv", "*.dat"}}}},
        {"Only a description", {}},
        {"", {}},
        {"Empty masks||Bars|*.b|", {{"Empty masks", {}}, {"Bars", {"*.b"}}}},
        {"图片|*.bmp", {{"图片", {"*.bmp"}}}},
    };
    for (const Case& c : cases) {
        const std::vector<TTeFileType> types = ParseFilter(c.filter);
        ASSERT_EQ(types.size(), c.types.size()) << c.filter;
        for (size_t i = 0; i < types.size(); ++i) {
            EXPECT_EQ(types[i].description, c.types[i].first) << c.filter;
            EXPECT_EQ(types[i].masks, c.types[i].second) << c.filter;
        }
    }
}

TEST(DialogsFile, MasksMatchInAnyLetterCase) {
    struct Case {
        const char* name;
        const char* mask;
        bool matches;
    } const cases[] = {
        {"a.LOG", "*.log", true},
        {"b.txt.bak", "*.txt", false},
        {"b.txt.bak", "*.txt*", true},
        {"Makefile", "*.*", true},
        {"x.c", "?.c", true},
        {"xy.c", "?.c", false},

        {"data7.csv", "data[0-9].csv", true},
        {"dataX.csv", "data[0-9].csv", false},
        {"dataX.csv", "data[!0-9].csv", true},
        {"a[b", "a[b", true},
        {"report", "*", true},
        {"", "*", true},
        {"a", "", false},
        {"archive.zip", "*.txt", false},
    };
    for (const Case& c : cases)
        EXPECT_EQ(MatchesMask(c.name, c.mask), c.matches) << c.name << " ~ " << c.mask;
}

TEST(DialogsFile, TheExtensionASaveCompletes) {
    const std::vector<TTeFileType> types = ParseFilter("Text|*.txt|Pictures|*.bmp;*.png|All|*.*|Odd|data.*");
    struct Case {
        int type;  // -1: none selected
        const char* defaultExt;
        const char* typed;
        const char* saved;
    } const cases[] = {
        {0, "", "report", "report.txt"},     {1, "txt", "report", "report.txt"},
        {1, ".cfg", "report", "report.cfg"}, {2, "", "report", "report"},   // never "report.*"
        {3, "", "report", "report"},         {-1, "", "report", "report"},  // never "report."
        {-1, ".", "report", "report"},       {0, "", "report.csv", "report.csv"},
        {0, "", ".profile", ".profile.txt"}, {0, "", "/d/v1.2/report", "/d/v1.2/report.txt"},
    };
    for (const Case& c : cases) {
        const TTeFileType* type = c.type < 0 ? nullptr : &types[c.type];
        EXPECT_EQ(CompleteFileName(c.typed, SaveExtension(type, c.defaultExt)), c.saved)
            << c.type << " " << c.defaultExt << " " << c.typed;
    }
}

TEST(DialogsFile, NameListsReadLikeACommandLine) {
    struct Case {
        String text;
        std::vector<String> names;
    } const cases[] = {
        {"a.txt b.txt", {"a.txt", "b.txt"}},
        {"\"/My Files/a.txt\" b.txt", {"/My Files/a.txt", "b.txt"}},
        {"  \"\" \"\"  c", {"c"}},
        {"\"open", {"open"}},
        {"", {}},
        {"x\"y z\"w", {"xy zw"}},
        {String(600, 'n'), {String(600, 'n')}},  // no length limit
    };
    for (const Case& c : cases) EXPECT_EQ(SplitNameList(c.text), c.names) << c.text;
    EXPECT_EQ(QuoteFileName("/My Files/a.txt"), "\"/My Files/a.txt\"");
    EXPECT_EQ(QuoteFileName("/a.txt"), "/a.txt");
    EXPECT_EQ(QuoteFileName("\"/My Files/a.txt"), "\"/My Files/a.txt");
}

TEST(DialogsFile, TheLibrarysNameTests) {
    EXPECT_TRUE(ValidFileName("/data/a.txt"));
    EXPECT_FALSE(ValidFileName("a*.txt"));
    EXPECT_FALSE(ValidFileName(""));
    EXPECT_FALSE(ValidFileName("a|b"));
    EXPECT_EQ(RemoveBackSlash("/"), "/");
    EXPECT_EQ(RemoveBackSlash("/data/"), "/data");
    EXPECT_EQ(RemoveBackSlash("/data"), "/data");
    tarvel::testing::TempFolder tmp;
    std::filesystem::create_directories(tmp.File("a/b"));
    EXPECT_TRUE(DirExists(tmp.File("a")));
    EXPECT_FALSE(DirExists(tmp.File("nope")));
    EXPECT_EQ(ShortToLongFileName(tmp.File("a/b")), "b");
    EXPECT_EQ(ShortToLongFileName(tmp.File("a/c")), "");
    EXPECT_EQ(ShortToLongPath(tmp.File("a/b")), tmp.File("a/b"));
    EXPECT_EQ(ShortToLongPath(tmp.File("a/x")), tmp.File("a/"));
}

TEST(DialogsFile, PathsShortenFromTheFrontAndKeepTheirDotFolders) {
    TBitmap bitmap(10, 10);
    TCanvas& canvas = *bitmap.Canvas();
    const String steps[] = {"/programs/share/.config/app.conf",
                            "/.../share/.config/app.conf",
                            "/.../.config/app.conf",
                            "/.../app.conf",
                            ".../app.conf",
                            "app.conf"};
    for (const String& step : steps) {
        SCOPED_TRACE(step);
        EXPECT_EQ(MinimizeName(steps[0], canvas, canvas.TextWidth(step)), step);
    }
    EXPECT_EQ(MinimizeName(steps[0], canvas, 1), "app.conf") << "the file name itself is never cut";
    EXPECT_EQ(MinimizeName("relative/dir/f", canvas, canvas.TextWidth(".../f")), ".../f");
}

}  // namespace
}  // namespace tarvel
