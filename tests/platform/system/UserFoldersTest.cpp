// The home, desktop and documents folders from the session's user-dirs file.

#include "platform/system/UserFolders.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>

#include "tests/TempFolderFixture.h"

using namespace tarvel;

TEST(UserFolders, EntriesOfAUserDirsText) {
    const char* text =
        "# written by the session\n"
        "XDG_DESKTOP_DIR=\"$HOME/Schreibtisch\"\n"
        "XDG_DOCUMENTS_DIR = \"/srv/docs\"\r\n"
        "XDG_MUSIC_DIR=$HOME/Music\n"
        "XDG_DESKTOPX_DIR=\"/wrong\"\n"
        "XDG_VIDEOS_DIR=\"$HOMEWORK\"\n"
        "XDG_PICTURES_DIR=\"\n";
    struct Case {
        const char* key;
        const char* value;
    } const cases[] = {
        {"XDG_DESKTOP_DIR", "/home/u/Schreibtisch"},
        {"XDG_DOCUMENTS_DIR", "/srv/docs"},
        {"XDG_MUSIC_DIR", ""},     // unquoted
        {"XDG_VIDEOS_DIR", ""},    // not $HOME itself
        {"XDG_PICTURES_DIR", ""},  // an open quote
        {"XDG_DOWNLOAD_DIR", ""},
    };
    for (const Case& c : cases) EXPECT_EQ(ParseUserDirsEntry(text, c.key, "/home/u"), c.value) << c.key;
}

TEST(UserFolders, TheSessionFileNamesTheFoldersAndDefaultsFillTheGaps) {
    tarvel::testing::TempFolder tmp;
    const std::string oldHome = std::getenv("HOME") ? std::getenv("HOME") : "";
    const char* oldXdg = std::getenv("XDG_CONFIG_HOME");
    const std::string savedXdg = oldXdg ? oldXdg : "";
    ::setenv("HOME", tmp.Path().c_str(), 1);
    ::setenv("XDG_CONFIG_HOME", tmp.File("config").c_str(), 1);

    EXPECT_EQ(UserFolder(TUserFolder::Home), tmp.Path().string());
    EXPECT_EQ(UserFolder(TUserFolder::Desktop), tmp.File("Desktop")) << "no file: the default desktop";
    EXPECT_EQ(UserFolder(TUserFolder::Documents), tmp.Path().string());

    std::filesystem::create_directories(tmp.File("config"));
    std::ofstream(tmp.File("config/user-dirs.dirs")) << "XDG_DOCUMENTS_DIR=\"$HOME/Dokumente/\"\n";
    EXPECT_EQ(UserFolder(TUserFolder::Documents), tmp.File("Dokumente"));
    EXPECT_EQ(UserFolder(TUserFolder::Desktop), tmp.File("Desktop"));

    ::setenv("HOME", oldHome.c_str(), 1);
    if (oldXdg)
        ::setenv("XDG_CONFIG_HOME", savedXdg.c_str(), 1);
    else
        ::unsetenv("XDG_CONFIG_HOME");
}
