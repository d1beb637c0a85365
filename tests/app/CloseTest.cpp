// Closing the main window: the clock and the port stop, the logs go to the
// day's files, the serial-number list to "ParaSeting.ini".

#include <signal.h>

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <thread>

#include "platform/base/DateTime.h"
#include "platform/base/Paths.h"
#include "platform/system/ProfileFiles.h"
#include "platform/winsys/MessageApi.h"
#include "platform/winsys/SystemApi.h"
#include "platform/winsys/WinMessages.h"
#include "tests/app/PollWindowFixture.h"

namespace tarvel::testing {
namespace {

class CloseTest : public PollWindowTest {
protected:
    // The window as the program runs it, its timer ticking.
    TMainForm* StartRunning() {
        TMainForm* form = Start();
        SupplyControls(form);
        return form;
    }

    static std::string LogFile(const char* ending) { return AppPath("Info/" + DateToStr(Date()) + ending); }
    static std::string Ini() { return AppPath("ParaSeting.ini"); }
    static String IniKey(const char* key) {
        return GetPrivateProfileString("SequenceNum", key, "<missing>", 256, Ini());
    }
    // The lines of a log file that hold text; none when there is no file.
    static std::vector<String> Lines(const std::string& path) {
        std::vector<String> lines;
        if (!FileExists(path)) return lines;
        const String text = ReadFileText(path);
        size_t start = 0;
        for (size_t end = 0; start < text.size(); start = end + 2) {
            end = std::min(text.find("\r\n", start), text.size());
            if (end > start) lines.push_back(text.substr(start, end - start));
        }
        return lines;
    }
    // Closes the window as its caption button does.
    void CloseWindow(TMainForm* form) {
        PostMessage(form->Handle(), WM_CLOSE, 0, 0);
        ui_.RunUntilIdle();
    }
};

// SIGTERM, as the desktop's logout or a plain kill sends it: the main
// window is asked (its close query may refuse, and the tool runs on), then
// the tool saves what its close saves and ends.
TEST_F(CloseTest, SigtermSavesAndEndsTheToolUnlessTheWindowRefuses) {
    TMainForm* form = StartRunning();
    ASSERT_TRUE(WatchSessionSignals());
    form->SG_SerialNum->SetCells(0, 0, "SN-TERM");
    int asked = 0;
    TCloseQueryEvent query = form->OnCloseQuery;
    form->OnCloseQuery = [&](TObject*, bool& canClose) {
        ++asked;
        canClose = false;
    };
    // The signal is heard on another thread; the window hears of it in the loop.
    auto runUntil = [&](const std::function<bool()>& done) {
        for (int i = 0; i < 300 && !done(); ++i) {
            ui_.RunUntilIdle();
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        }
        return done();
    };
    ASSERT_EQ(raise(SIGTERM), 0);
    ASSERT_TRUE(runUntil([&] { return asked == 1; }));
    EXPECT_FALSE(Application->Terminated());
    EXPECT_NE(form->PollTimerId, 0u);
    EXPECT_EQ(IniKey("Num1"), "<missing>");

    form->OnCloseQuery = query;
    ASSERT_EQ(raise(SIGTERM), 0);
    ASSERT_TRUE(runUntil([] { return Application->Terminated(); }));
    EXPECT_EQ(form->PollTimerId, 0u);
    EXPECT_FALSE(form->Comm1->Active());
    EXPECT_EQ(IniKey("Num1"), "SN-TERM");
    EXPECT_EQ(IniKey("TotalNum"), "1");
    EXPECT_EQ(Lines(LogFile("外部信息.txt")).size(), 2u);
}

bool EndsWith(const String& text, const String& tail) {
    return text.size() >= tail.size() && text.compare(text.size() - tail.size(), tail.size(), tail) == 0;
}

TEST_F(CloseTest, ClosingWithEmptyLogsStillWritesTheTwoCountLines) {
    TMainForm* form = StartRunning();
    form->PollRequestCount = 12;
    form->ReplyTimeoutCount = 5;
    CloseWindow(form);

    EXPECT_TRUE(Application->Terminated());
    const std::vector<String> lines = Lines(LogFile("外部信息.txt"));
    ASSERT_EQ(lines.size(), 2u);
    EXPECT_TRUE(EndsWith(lines[0], "12")) << lines[0];
    EXPECT_TRUE(EndsWith(lines[1], "5")) << lines[1];
    EXPECT_FALSE(FileExists(LogFile("信息.txt")));
    EXPECT_FALSE(FileExists(LogFile("通信数据.txt")));
}

TEST_F(CloseTest, LogsThatHoldTextAreAppendedToTheDaysFiles) {
    TMainForm* form = StartRunning();
    std::filesystem::create_directories(AppPath("Info"));
    AppendFileText(LogFile("信息.txt"), "earlier\r\n");
    form->RE_Info->Lines()->Add("first");
    form->RE_Info->Lines()->Add("second");
    form->RE_CommData->Lines()->Add("01 02 03");
    CloseWindow(form);

    EXPECT_EQ(Lines(LogFile("信息.txt")), (std::vector<String>{"earlier", "first", "second"}));
    EXPECT_EQ(Lines(LogFile("通信数据.txt")), (std::vector<String>{"01 02 03"}));
}

TEST_F(CloseTest, TheSerialNumberListIsStoredWithEverySlot) {
    TMainForm* form = StartRunning();
    form->SG_SerialNum->SetCells(0, 0, "SN-001");
    form->SG_SerialNum->SetCells(0, 1, "SN-002");
    form->SG_SerialNum->SetCells(0, 2, "SN-003");
    form->SG_SerialNum->SetCells(1, 31, "SN-064");  // the second column holds 33..64
    form->LastSerialIndex = 2;
    CloseWindow(form);

    EXPECT_EQ(IniKey("Num1"), "SN-001");
    EXPECT_EQ(IniKey("Num2"), "SN-002");
    EXPECT_EQ(IniKey("Num3"), "SN-003");
    EXPECT_EQ(IniKey("Num64"), "SN-064");
    for (int n = 4; n <= 63; ++n) EXPECT_EQ(IniKey(("Num" + IntToStr(n)).c_str()), "") << n;
    EXPECT_EQ(IniKey("TotalNum"), "3");
}

TEST_F(CloseTest, ClosingStopsTheClockAndThePort) {
    TMainForm* form = StartRunning();
    OpenPortOnPty(form);
    form->AdcStream.Open(AppPath("adc.csv"));
    form->ReplyTimeoutTicks = 1;
    const size_t boxes = ui_.Boxes().size();
    form->TB_ExitClick(form->TB_Exit);
    ui_.RunUntilIdle();

    EXPECT_TRUE(Application->Terminated());
    EXPECT_EQ(form->PollTimerId, 0u);
    EXPECT_EQ(ui_.Boxes().size(), boxes);
    EXPECT_FALSE(form->Comm1->Active());
    EXPECT_FALSE(form->AdcStream.IsOpen());
    EXPECT_EQ(form->ReplyTimeoutTicks, 1) << "no tick after the close";
}

TEST_F(CloseTest, AWindowWithoutTimerSaysSoAndStillWritesEverything) {
    TMainForm* form = StartRunning();
    form->KillPollTimer();
    form->SG_SerialNum->SetCells(0, 0, "SN-001");
    CloseWindow(form);

    ASSERT_FALSE(ui_.Boxes().empty());
    EXPECT_EQ(ui_.Boxes().back().text, "delete timer fail");
    EXPECT_TRUE(Application->Terminated());
    EXPECT_EQ(Lines(LogFile("外部信息.txt")).size(), 2u);
    EXPECT_EQ(IniKey("Num1"), "SN-001");
    EXPECT_EQ(IniKey("TotalNum"), "1");
}

TEST_F(CloseTest, ALogThatCannotBeWrittenKeepsItsTextAndTheInfoLineSaysSo) {
    TMainForm* form = StartRunning();
    std::filesystem::remove_all("Info");
    WriteFileText("Info", "a file where the folder should be");
    form->RE_Info->Lines()->Add("kept");
    form->SG_SerialNum->SetCells(0, 0, "SN-001");
    CloseWindow(form);

    EXPECT_EQ(form->RE_Info->Lines()->Count(), 1);
    EXPECT_NE(form->L_Info->Caption().find("Cannot write"), String::npos) << form->L_Info->Caption();
    EXPECT_EQ(IniKey("Num1"), "SN-001") << "the close goes on";
}

TEST_F(CloseTest, ASerialNumberListThatCannotBeStoredIsToldOnTheInfoLine) {
    TMainForm* form = StartRunning();
    std::filesystem::create_directory("ParaSeting.ini");
    CloseWindow(form);

    EXPECT_TRUE(Application->Terminated());
    EXPECT_NE(form->L_Info->Caption().find("ParaSeting.ini"), String::npos) << form->L_Info->Caption();
    EXPECT_EQ(form->L_Info->Color(), TColor{0x6A6AFF});
}

}  // namespace
}  // namespace tarvel::testing
