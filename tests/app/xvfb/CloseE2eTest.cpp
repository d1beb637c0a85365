// Closing the tool as a person does it, every press made by the X server:
// Exit from the File menu (by pointer and by keys) and the frame's close
// button while the automatic query runs. The application ends its loop,
// the port is closed and nothing more is sent, and the day's logs and the
// serial-number list are on disk.

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "tests/app/xvfb/ToolXvfbFixture.h"

namespace tarvel {
namespace {

class CloseE2e : public ToolOnX11 {
protected:
    // Port open, logged in, one telemetry query answered: the logs hold text.
    void StartWorking() {
        StartTool();
        ASSERT_TRUE(Click("TB_COMSwitch"));
        ASSERT_TRUE(Await([] { return MainForm->PortOpen != 0; }));
        ASSERT_TRUE(Click("TB_LOG"));
        ASSERT_TRUE(Await([] { return MainForm->LoggedIn != 0; })) << InfoLine();
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

}  // namespace
}  // namespace tarvel
