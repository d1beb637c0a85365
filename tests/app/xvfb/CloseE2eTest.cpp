// Closing the tool as a person does it, every press made by the X server:
// Exit from the File menu (by pointer and by keys) and the frame's close
// button while the automatic query runs. The application ends its loop,
// the port is closed and nothing more is sent, and the day's logs and the
// serial-number list are on disk.

#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "tests/app/xvfb/ToolXvfbFixture.h"
#include "tests/app/xvfb/XTopWindows.h"
#include "tests/platform/winsys/sdl/session/SessionManagerProcess.h"

extern char** environ;

namespace tarvel {
namespace {

class CloseE2e : public ToolOnX11 {
protected:
    // Port open, logged in, one telemetry query answered: the logs hold text.
    void StartWorking() {
        StartTool();
        ASSERT_NO_FATAL_FAILURE(OpenAndLogIn());
        ASSERT_TRUE(ShowPage(MainForm->TS_TSBS));
        ASSERT_TRUE(Click("B_Query"));
        ASSERT_TRUE(Await([] { return MainForm->DoneTsbs != 0; })) << InfoLine();
        MainForm->SG_SerialNum->SetCells(0, 0, "SN-0001");
    }

    // The text of the one file in "Info" whose name ends with `ending`.
    std::string InfoFile(const std::string& ending) const {
        for (const auto& entry : fs::directory_iterator(folder.Path() / "Info")) {
            const std::string name = entry.path().filename().string();
            if (name.size() >= ending.size() && name.ends_with(ending)) {
                std::ifstream in(entry.path(), std::ios::binary);
                std::ostringstream out;
                out << in.rdbuf();
                return out.str();
            }
        }
        return {};
    }

    // What the close left: the loop ended, the port shut, the files whole.
    void ExpectClosedAndFlushed() {
        ASSERT_TRUE(Await([] { return Application->Terminated(); })) << "the application runs on";
        EXPECT_FALSE(MainForm->Comm1->Active()) << "the port stays open";
        const std::string info = InfoFile("信息.txt");
        EXPECT_NE(info.find("Query SBS data...  Succeed!"), std::string::npos) << info;
        const std::string external = InfoFile("外部信息.txt");
        EXPECT_FALSE(external.empty()) << "no external information log";
        std::ifstream ini(folder.File("ParaSeting.ini"));
        std::ostringstream settings;
        settings << ini.rdbuf();
        EXPECT_NE(settings.str().find("Num1=SN-0001"), std::string::npos) << settings.str();
        EXPECT_NE(settings.str().find("Num64="), std::string::npos) << settings.str();
        EXPECT_NE(settings.str().find("TotalNum="), std::string::npos) << settings.str();
        // Nothing more goes out.
        const size_t sent = line->Sim().Requests().size();
        EXPECT_FALSE(Await([&] { return line->Sim().Requests().size() > sent; }, 1500));
    }
};

TEST_F(CloseE2e, ExitFromTheFileMenuByPointer) {
    ASSERT_NO_FATAL_FAILURE(StartWorking());
    ASSERT_TRUE(ChooseMenu(MainForm->TeMenuBar1, {"File Option(&F)", "Exit(&X)"}, "e2e-close-file-menu.png"));
    ExpectClosedAndFlushed();
}

TEST_F(CloseE2e, ExitFromTheFileMenuByKeys) {
    ASSERT_NO_FATAL_FAILURE(StartWorking());
    ASSERT_TRUE(ChooseMenuByKeys(MainForm->TeMenuBar1, {"File Option(&F)", "Exit(&X)"}));
    ExpectClosedAndFlushed();
}

TEST_F(CloseE2e, TheFramesCloseButtonWhileTheAutomaticQueryRuns) {
    ASSERT_NO_FATAL_FAILURE(StartWorking());
    ASSERT_TRUE(TypeInto(Control("CB_AutoQueryInterval"), "1"));
    ASSERT_TRUE(Click("CB_AutoQuery"));
    const int32_t columns = MainForm->AutoQueryColumns;
    ASSERT_TRUE(Await([&] { return MainForm->AutoQueryColumns > columns; }));
    ASSERT_TRUE(ClickCaptionButton(MainForm->TeForm1, kbiClose));
    ExpectClosedAndFlushed();
}

// The desktop's session manager ends the session: the tool agrees to the
// shutdown, and at Die it ends as it does for SIGTERM, what it keeps on disk.
TEST_F(CloseE2e, TheSessionManagersShutdownEndsTheToolAsTheDesktopsSignalDoes) {
    SessionManagerProcess manager;
    std::string why;
    ASSERT_TRUE(manager.Start(why)) << why;
    setenv("SESSION_MANAGER", manager.Address().c_str(), 1);
    ASSERT_TRUE(sdl->JoinSessionManager({"tarvel-bms"}));
    unsetenv("SESSION_MANAGER");
    ASSERT_NO_FATAL_FAILURE(StartWorking());
    ASSERT_TRUE(Await([&] { return sdl->InSessionManager(); }));
    manager.Send("save 1 any");
    ASSERT_TRUE(Await([&] { return manager.Heard("done "); }));
    EXPECT_TRUE(manager.Heard("done 1"));
    // Agreeing ends nothing: the manager has the last word.
    Run(kSettleMs);
    EXPECT_FALSE(Application->Terminated());
    manager.Send("die");
    ExpectClosedAndFlushed();
    EXPECT_TRUE(Await([&] { return manager.Heard("closed"); }));
}

// The program itself, started as people start it, on this display and the
// module's line: its frame's close button ends it with exit code 0, its
// logs on disk beside it.
TEST_F(CloseE2e, TheProgramExitsCleanlyByItsCloseButton) {
    // Where its close button is, measured on the same window here, which
    // then leaves the screen to it.
    StartTool();
    const TRect close = MainForm->TeForm1->GetCaptionButtonRect(kbiClose);
    ASSERT_FALSE(close.IsEmpty());
    MainForm->Hide();
    Run(kSettleMs);

    // The program beside files of its own, with the record files of an
    // earlier run, so that the boxes of a first start do not come.
    const fs::path home = folder.Path() / "program";
    fs::create_directories(home / "res/theme");
    fs::copy_file(fs::path(TARVEL_BINARY_DIR) / "app/tarvel-bms", home / "tarvel-bms");
    fs::copy_file(folder.Path() / "res/theme/dara.mskn", home / "res/theme/dara.mskn");
    for (const char* record : {"ParaRecord.dat", "Version.dat"})
        fs::copy_file(folder.File(record), home / record);
    const std::string program = (home / "tarvel-bms").string(), port = line->DevicePath();
    char* argv[] = {const_cast<char*>(program.c_str()), const_cast<char*>("--port"),
                    const_cast<char*>(port.c_str()), nullptr};
    // The system's message bus library keeps a buffer to the end, as in
    // every test program on this display; the sanitized program's leak
    // check is told so, and counts everything else.
    const fs::path suppressions = home / "lsan.supp";
    std::ofstream(suppressions) << "leak:libdbus-1.so\n";
    std::vector<std::string> settings;
    for (char** e = environ; *e; ++e)
        if (!std::string_view(*e).starts_with("LSAN_OPTIONS=")) settings.emplace_back(*e);
    settings.push_back("LSAN_OPTIONS=suppressions=" + suppressions.string());
    std::vector<char*> envp;
    for (std::string& e : settings) envp.push_back(e.data());
    envp.push_back(nullptr);
    pid_t pid = 0;
    ASSERT_EQ(posix_spawn(&pid, program.c_str(), nullptr, nullptr, argv, envp.data()), 0);
    struct Reaper {
        pid_t pid;
        ~Reaper() {
            if (pid > 0 && waitpid(pid, nullptr, WNOHANG) == 0) {
                kill(pid, SIGKILL);
                waitpid(pid, nullptr, 0);
            }
        }
    } reaper{pid};

    std::optional<TRect> window;
    ASSERT_TRUE(Await(
        [&] { return (window = testing::XMappedWindowTitled("Tarvel BMS Software V1.1.0")).has_value(); },
        60000))
        << "the program's window never showed";
    // Painted (its menu bar no longer black) before it is closed.
    const TPoint menuBar{window->left + 300, window->top + 38};
    EXPECT_TRUE(Await([&] { return ScreenPixel(menuBar) != 0; }, 60000)) << "the program never painted";
    EXPECT_TRUE(SaveScreen("e2e-program-before-close.png"));
    ASSERT_TRUE(ClickScreen(
        TPoint{window->left + close.left + close.Width() / 2, window->top + close.top + close.Height() / 2},
        1, false));
    int status = 0;
    ASSERT_TRUE(Await([&] { return waitpid(pid, &status, WNOHANG) == pid; })) << "the program runs on";
    reaper.pid = 0;
    ASSERT_TRUE(WIFEXITED(status)) << "it ended by signal " << WTERMSIG(status);
    EXPECT_EQ(WEXITSTATUS(status), 0);
    bool external = false;
    for (const auto& entry : fs::directory_iterator(home / "Info"))
        external = external || entry.path().filename().string().ends_with("外部信息.txt");
    EXPECT_TRUE(external) << "no external information log";
    std::ifstream ini(home / "ParaSeting.ini");
    std::ostringstream stored;
    stored << ini.rdbuf();
    EXPECT_NE(stored.str().find("TotalNum="), std::string::npos) << stored.str();
}

}  // namespace
}  // namespace tarvel
