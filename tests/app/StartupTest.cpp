// Start-up of the main window: the windows it makes, the folders, the skin,
// and the settings it reads from the ini files and the polling record.

#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstring>
#include <fstream>
#include <thread>
#include <vector>

#include "platform/base/Strings.h"
#include "tests/app/ToolWindowsFixture.h"

namespace tarvel::testing {
namespace {

const char* const kFolders[] = {
    "Data",          "SerialData",        "Info",      "BMS", "ADC", "KB", "Alarm_Data",
    "AutoTSBS_Data", "Export DataAccess", "DataAccess"};

class StartupTest : public ToolWindowsTest {
protected:
    // The controls the pages make, made here while they do not exist yet.
    template <class T>
    static T* Control(TMainForm* form, T*& control) {
        if (!control) {
            control = new T(form);
            control->SetParent(form->MainPanel);
            control->SetVisible(false);
        }
        return control;
    }
    void WriteText(const char* file, const std::string& text) {
        std::ofstream(folder_.File(file), std::ios::binary) << text;
    }
    // The polling record a start leaves: nothing selected, both periods 1 s.
    static const PollingRecord& ResetRecord() {
        static const PollingRecord reset = [] {
            PollingRecord record;
            record.MultiPeriodSec = 1;
            record.SinglePeriodSec = 1;
            return record;
        }();
        return reset;
    }
    static bool SameRecord(const PollingRecord& a, const PollingRecord& b) {
        return std::memcmp(&a, &b, sizeof a) == 0;
    }
    PollingRecord ReadRecordFile() {
        PollingRecord record;
        std::ifstream file(folder_.File("ParaRecord.dat"), std::ios::binary);
        file.read(reinterpret_cast<char*>(&record), sizeof record);
        EXPECT_EQ(file.gcount(), 264);
        return record;
    }
    static std::vector<String> Column(TStringGrid* grid, int col, int lastRow) {
        std::vector<String> cells;
        for (int row = 1; row <= lastRow; ++row) cells.push_back(grid->Cells(col, row));
        return cells;
    }
};

TEST_F(StartupTest, AFirstStartMakesTheWindowsTheFoldersTheRecordsAndTheClock) {
    // A file where a folder should be: that folder is given up, the rest made.
    WriteText("KB", "not a folder");
    std::filesystem::create_directory(folder_.Path() / "Data");
    WriteText("Data/kept.txt", "kept");

    TMainForm* form = StartTool();
    std::vector<TComponent*> windows;
    for (int i = 0; i < Application->ComponentCount(); ++i)
        if (dynamic_cast<TCustomForm*>(Application->Components(i)))
            windows.push_back(Application->Components(i));
    EXPECT_EQ(windows, (std::vector<TComponent*>{form, CommForm, AboutBox, SerialNum, GetHisSet}));
    EXPECT_EQ(Application->MainForm(), form);
    EXPECT_EQ(form->Caption(), "Tarvel BMS Software V1.1.0");
    EXPECT_EQ(Application->Title(), "Tarvel BMS Software V1.1.0");

    for (const char* folder : kFolders) {
        if (std::strcmp(folder, "KB") == 0) continue;
        EXPECT_TRUE(std::filesystem::is_directory(folder_.Path() / folder)) << folder;
    }
    EXPECT_TRUE(std::filesystem::is_regular_file(folder_.Path() / "KB"));
    EXPECT_TRUE(std::filesystem::exists(folder_.Path() / "Data" / "kept.txt"));

    // Both record files were missing: each made with its box; the variant
    // file stays empty and reads as BMS.
    std::vector<String> boxes;
    for (const TBoxRecord& box : ui_.Boxes()) boxes.push_back(box.text);
    EXPECT_EQ(boxes, (std::vector<String>{"No paraRecord.dat for read！", "No Version.dat for read！"}));
    EXPECT_EQ(std::filesystem::file_size(folder_.Path() / "Version.dat"), 0u);
    EXPECT_EQ(form->Version1->GetCaption(), u"BMS");
    EXPECT_TRUE(SameRecord(ReadRecordFile(), ResetRecord()));

    // Port COM1 at 9600 without settings, closed.
    EXPECT_EQ(form->Comm1->CommName(), "//./COM1");
    EXPECT_EQ(form->Comm1->BaudRate(), 9600u);
    EXPECT_EQ(form->PortOpen, 0);

    EXPECT_EQ(ui_.Caption(form->PC_All->GetActivePage()), "Export System Data");
    EXPECT_FALSE(ui_.Visible(form->PC_All_Query));
    EXPECT_TRUE(form->DoubleBuffered());
    EXPECT_EQ(form->CB_ModuleAddr->ItemIndex(), 0);
    TStrings* addresses = form->CB_ModuleAddr->Items();
    ASSERT_EQ(addresses->Count(), 64);
    EXPECT_EQ(addresses->Strings(0), "0");
    EXPECT_EQ(addresses->Strings(63), "63");

    // The 10 ms clock runs: a reply wait started now is given up by it.
    ASSERT_NE(form->PollTimerId, 0u);
    form->ReplyTimeoutTicks = 1;
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(5);
    while (form->ReplyTimeoutCount == 0 && std::chrono::steady_clock::now() < deadline) {
        ui_.RunUntilIdle();
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    EXPECT_EQ(form->ReplyTimeoutCount, 1u);
}

TEST_F(StartupTest, AStartReadsThePortSettingsAndShowsTheSavedSelectionButPollsNothing) {
    WriteIni("ParaSeting.ini", "CommSeting", "commset", "/dev/serial/by-id/usb-Maker_Serial_0001-if00-port0");
    WriteIni("ParaSeting.ini", "CommSeting", "baudrate", "19200");
    PollingRecord saved;
    saved.ModuleSelected[1] = 1;
    saved.ModuleSelected[4] = 7;
    saved.ModuleSelected[63] = 1;
    saved.MultiPeriodSec = 12;
    saved.SinglePeriodSec = 3;
    std::ofstream(folder_.File("ParaRecord.dat"), std::ios::binary)
        .write(reinterpret_cast<const char*>(&saved), sizeof saved);

    TMainForm* form = StartTool();
    EXPECT_EQ(form->Comm1->CommName(), "//.//dev/serial/by-id/usb-Maker_Serial_0001-if00-port0");
    EXPECT_EQ(form->Comm1->BaudRate(), 19200u);

    std::vector<int> checked;
    for (int i = 0; i < kModuleCount; ++i)
        if (form->ModuleChecks[i]->Checked()) checked.push_back(i);
    EXPECT_EQ(checked, (std::vector<int>{1, 4, 63}));
    EXPECT_EQ(form->PS_Cyc->GetText(), "12");
    EXPECT_EQ(form->TSBS_Cyc->GetText(), "3");
    // Until the user saves a set-up again, the record selects nothing.
    EXPECT_TRUE(SameRecord(ReadRecordFile(), ResetRecord()));
    EXPECT_TRUE(SameRecord(form->ParaRecord, ResetRecord()));
}

TEST_F(StartupTest, TemporaryFilesOfSavesCutOffBeforeAreRemoved) {
    // A process that has ended: a child that has been waited for.
    const pid_t child = ::fork();
    if (child == 0) ::_exit(0);
    ::waitpid(child, nullptr, 0);
    const std::string gone = std::to_string(child);
    const std::string running = std::to_string(::getppid());
    std::filesystem::create_directory(folder_.Path() / "DataAccess");
    const std::vector<std::string> stale = {".ParaRecord.dat." + gone + "-0.tmp",
                                            ".ParaSeting.ini." + gone + "-3.tmp",
                                            "DataAccess/.MoreModule.csv." + gone + "-1.tmp"};
    const std::vector<std::string> kept = {".BMSAdjust.ini." + running + "-0.tmp", "DataAccess/notes.tmp"};
    for (const std::string& name : stale) WriteText(name.c_str(), "cut off");
    for (const std::string& name : kept) WriteText(name.c_str(), "other");

    StartTool();
    for (const std::string& name : stale) EXPECT_FALSE(std::filesystem::exists(folder_.File(name))) << name;
    for (const std::string& name : kept) EXPECT_TRUE(std::filesystem::exists(folder_.File(name))) << name;
}

TEST_F(StartupTest, TheStatusBarKeepsSevenHundredPixelsForItsFirstTwoPanels) {
    TMainForm* form = StartTool();
    TTeStatusPanels* panels = form->TeStatusBar1->Panels();
    ASSERT_EQ(panels->Count(), 3);
    EXPECT_EQ(panels->GetItem(0)->Width(), 450);
    EXPECT_EQ(panels->GetItem(1)->Width(), 200);
    EXPECT_EQ(panels->GetItem(2)->Width(), form->TeStatusBar1->Width() - 700);
    EXPECT_FALSE(panels->GetItem(2)->Text().empty());
}

TEST_F(StartupTest, TheFrameWearsTheSkinBesideTheExecutable) {
    std::filesystem::create_directories(folder_.Path() / "res" / "theme");
    std::filesystem::copy_file(std::filesystem::path(TARVEL_BINARY_DIR) / "res" / "theme" / "dara.mskn",
                               folder_.Path() / "res" / "theme" / "dara.mskn");
    TMainForm* form = StartTool();
    EXPECT_TRUE(form->TeForm1->Themed());
    EXPECT_TRUE(AboutBox->TeForm1->Themed());
    EXPECT_EQ(form->PC_All->ThemeLink(), form->TeThemeLink1);
}

TEST_F(StartupTest, WithoutTheSkinTheFrameDrawsInTheDefaultLook) {
    TMainForm* form = StartTool();
    EXPECT_FALSE(form->TeForm1->Themed());
    EXPECT_EQ(form->TeThemeLink1->GetTheme(), nullptr);
    EXPECT_TRUE(ui_.Visible(form));
}

TEST_F(StartupTest, TheSerialNumberCountIsKeptToTheListsSixtyFourSlots) {
    const struct {
        const char* stored;  // nullptr: no key
        int lastIndex;
    } cases[] = {{nullptr, 0}, {"0", 0}, {"-3", 0}, {"abc", 0}, {"5", 4}, {"64", 63}, {"999", 63}};
    TMainForm* form = StartTool();
    for (const auto& c : cases) {
        SCOPED_TRACE(c.stored ? c.stored : "no key");
        std::filesystem::remove(folder_.File("ParaSeting.ini"));
        if (c.stored) WriteIni("ParaSeting.ini", "SequenceNum", "TotalNum", c.stored);
        form->LoadSerialNumberList();
        EXPECT_EQ(form->LastSerialIndex, c.lastIndex);
    }
}

TEST_F(StartupTest, TheSerialNumbersFillColumnsOfThirtyTwoUpToTheCount) {
    WriteIni("ParaSeting.ini", "SequenceNum", "TotalNum", "999");
    WriteIni("ParaSeting.ini", "SequenceNum", "Num1", "SN-0001");
    WriteIni("ParaSeting.ini", "SequenceNum", "Num33", "SN-0033");
    WriteIni("ParaSeting.ini", "SequenceNum", "Num64", std::string(35, '7'));
    WriteIni("ParaSeting.ini", "SequenceNum", "Num65", "past the list");
    TMainForm* form = StartTool();
    EXPECT_EQ(form->LastSerialIndex, 63);
    TStringGrid* grid = Control(form, form->SG_SerialNum);
    form->LoadSerialNumberList();
    EXPECT_EQ(grid->Cells(0, 0), "SN-0001");
    EXPECT_EQ(grid->Cells(1, 0), "SN-0033");
    EXPECT_EQ(grid->Cells(1, 31), std::string(29, '7')) << "a number is cut to 29 characters";
    EXPECT_EQ(grid->Cells(2, 0), "");
}

TEST_F(StartupTest, TheCurrentCalibrationTableOfTheVariantFillsTheOddRows) {
    WriteText("BMSAdjust.ini",
              "[3UCurrentAdjust]\nCharge1=77\nCharge7=-1200\nDisCharge11=345\n"
              "[BMSCurrentAdjust]\nCharge6=9\nDisCharge1=junk\n");
    TMainForm* form = StartTool();
    TStringGrid* ckb = Control(form, form->SG_CKB);
    TStringGrid* ckb1 = Control(form, form->SG_CKB1);
    Control(form, form->TeGroupBox34);
    Control(form, form->TeButton8);
    Control(form, form->TeButton10);
    using Cells = std::vector<String>;
    const String _;

    form->ProductVariant = 0;
    const Cells ckb1Before = Column(ckb1, 1, 9);
    form->LoadCurrentCalibrationTable();
    EXPECT_EQ(Column(ckb, 1, 11), (Cells{"5", _, "5", _, "5", _, "5", _, "5", _, "9"}));
    EXPECT_EQ(Column(ckb, 2, 11), (Cells{"5", _, "5", _, "5", _, "5", _, "5", _, "5"}))
        << "no digits: the default";
    EXPECT_EQ(Column(ckb1, 1, 9), ckb1Before) << "BMS has six points";
    EXPECT_EQ(form->Version1->GetCaption(), u"BMS");
    EXPECT_FALSE(form->TeButton8->Visible());
    EXPECT_TRUE(form->TeButton10->Visible());
    EXPECT_TRUE(form->TeGroupBox34->Visible());

    form->ProductVariant = 1;
    form->LoadCurrentCalibrationTable();
    EXPECT_EQ(Column(ckb, 1, 11), (Cells{"77", _, "10", _, "10", _, "10", _, "10", _, "10"}));
    EXPECT_EQ(Column(ckb1, 1, 9), (Cells{"-1200", _, "10", _, "10", _, "10", _, "10"}));
    EXPECT_EQ(Column(ckb1, 2, 9), (Cells{"10", _, "10", _, "10", _, "10", _, "345"}));
    EXPECT_EQ(form->Version1->GetCaption(), u"3U");
    EXPECT_TRUE(form->TeButton8->Visible());
    EXPECT_FALSE(form->TeButton10->Visible());

    // Any other variant leaves everything as it is.
    form->ProductVariant = 2;
    const Cells before = Column(ckb, 1, 11);
    form->LoadCurrentCalibrationTable();
    EXPECT_EQ(Column(ckb, 1, 11), before);
    EXPECT_EQ(form->Version1->GetCaption(), u"3U");
}

TEST_F(StartupTest, TheAutoCheckValuesTakeTheVariantsDefaultsWhereTheFileHasNone) {
    // The keys "ChargeCurrent " and "CurrentCheck " end with a blank.
    WriteText("BMSAdjust.ini", "[AutoCheckValue]\nChargeCurrent=-12345\nCurrentCheck =7\nPackValue=abc\n");
    const struct {
        int variant;
        std::vector<String> shown;
    } cases[] = {
        {1, {"50", "6", "1000", "100", "-12345", "7"}},
        {0, {"50", "6", "1000", "200", "-12345", "7"}},
    };
    TMainForm* form = StartTool();
    for (TTeEdit*& edit : form->AutoCheckEdits) Control(form, edit);
    for (const auto& c : cases) {
        SCOPED_TRACE(c.variant);
        form->ProductVariant = c.variant;
        form->LoadAutoCheckValues();
        std::vector<String> shown;
        for (TTeEdit* edit : form->AutoCheckEdits) shown.push_back(edit->GetText());
        EXPECT_EQ(shown, c.shown);
    }
    std::filesystem::remove(folder_.File("BMSAdjust.ini"));
    form->ProductVariant = 1;
    form->LoadAutoCheckValues();
    EXPECT_EQ(form->AutoCheckEdits[3]->GetText(), "100");
    EXPECT_EQ(form->AutoCheckEdits[4]->GetText(), "-35000");
    form->ProductVariant = 0;
    form->LoadAutoCheckValues();
    EXPECT_EQ(form->AutoCheckEdits[4]->GetText(), "-30000");
}

}  // namespace
}  // namespace tarvel::testing
