// Special files where the tool expects its own: a pipe, a folder, a device,
// a dangling link, a sparse gibibyte, an unreadable file, at every path the
// tool opens, through the real start-up and the real handlers. The tool never
// waits on one (a watchdog fails the program instead of hanging it), says
// which file it could not use, and goes on.

#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cctype>
#include <chrono>
#include <filesystem>
#include <fstream>

#include "platform/base/DateTime.h"
#include "platform/base/Strings.h"
#include "telemetry/AdcReading.h"
#include "tests/Watchdog.h"
#include "tests/app/TelemetryFixture.h"
#include "tests/app/ToolWindowsFixture.h"

namespace tarvel::testing {
namespace {

namespace fs = std::filesystem;
using std::chrono::seconds;

enum class Kind { Pipe, Folder, Device, DanglingLink, SparseGiB, Unreadable };

struct KindCase {
    Kind kind;
    const char* name;
};

const KindCase kKinds[] = {
    {Kind::Pipe, "Pipe"},           {Kind::Folder, "Folder"},
    {Kind::Device, "Device"},       {Kind::DanglingLink, "Dangling"},
    {Kind::SparseGiB, "SparseGiB"}, {Kind::Unreadable, "Unreadable"},
};

void Make(Kind kind, const std::string& path) {
    fs::create_directories(fs::path(path).parent_path());
    switch (kind) {
        case Kind::Pipe: ASSERT_EQ(::mkfifo(path.c_str(), 0600), 0) << path; break;
        case Kind::Folder: fs::create_directory(path); break;
        case Kind::Device: fs::create_symlink("/dev/zero", path); break;
        case Kind::DanglingLink: fs::create_symlink(path + ".nowhere", path); break;
        case Kind::SparseGiB: {
            std::ofstream sparse(path, std::ios::binary);
            sparse.seekp((std::streamoff{1} << 30) - 1);
            sparse.put('\0');
            break;
        }
        case Kind::Unreadable:
            std::ofstream(path, std::ios::binary) << "1";
            fs::permissions(path, fs::perms::none);
            break;
    }
}

// The root reads and writes whatever the permissions say.
bool PermissionsBindUs() { return ::geteuid() != 0; }

std::string Lower(std::string text) {
    std::transform(text.begin(), text.end(), text.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return text;
}

// Everything the tool told the user: its boxes, the info line and the log.
std::string Told(TUiDriver& ui, TMainForm* form) {
    std::string told;
    for (const TBoxRecord& box : ui.Boxes()) told += box.text + "\n";
    if (form->L_Info) told += form->L_Info->Caption() + "\n";
    if (form->RE_Info) told += form->RE_Info->Lines()->Text();
    return Lower(told);
}

class SpecialFileAtStartUp : public ToolWindowsTest, public ::testing::WithParamInterface<KindCase> {};

TEST_P(SpecialFileAtStartUp, IsToldAndTheToolStartsAnyway) {
    const Kind kind = GetParam().kind;
    if (kind == Kind::Unreadable && !PermissionsBindUs()) GTEST_SKIP() << "the root reads any file";
    const char* const files[] = {"ParaRecord.dat", "Version.dat", "ParaSeting.ini", "BMSAdjust.ini",
                                 "res/theme/dara.mskn"};
    for (const char* file : files) Make(kind, folder_.File(file));

    TMainForm* form = nullptr;
    {
        const Watchdog watchdog(std::string("start-up with a ") + GetParam().name, seconds(120));
        form = StartTool();
    }
    const std::string told = Told(ui_, form);
    for (const char* file : files) {
        // One byte of the variant file is all that is read of it, and a
        // gibibyte holds that byte well.
        if (kind == Kind::SparseGiB && std::string(file) == "Version.dat") continue;
        EXPECT_NE(told.find(Lower(fs::path(file).filename().string())), std::string::npos)
            << file << " is not told of in:\n"
            << told;
    }
    // And it goes on: the window is up and its clock runs.
    EXPECT_TRUE(ui_.Visible(form));
    EXPECT_NE(form->PollTimerId, 0u);
    // Nothing special was replaced by a file of the tool's.
    if (kind == Kind::Pipe) EXPECT_TRUE(fs::is_fifo(folder_.File("ParaSeting.ini")));
    if (kind == Kind::Device) EXPECT_TRUE(fs::is_character_file(folder_.File("ParaRecord.dat")));
    if (kind == Kind::SparseGiB) EXPECT_EQ(fs::file_size(folder_.File("ParaRecord.dat")), uint64_t{1} << 30);
}

INSTANTIATE_TEST_SUITE_P(Kinds, SpecialFileAtStartUp, ::testing::ValuesIn(kKinds),
                         [](const auto& info) { return std::string(info.param.name); });

class SpecialFileInAHandler : public TelemetryWindowTest, public ::testing::WithParamInterface<KindCase> {
protected:
    String InfoLine() { return form_->L_Info ? String(form_->L_Info->Caption()) : String(); }
};

TEST_P(SpecialFileInAHandler, IsToldAndTheToolGoesOn) {
    const Kind kind = GetParam().kind;
    if (kind == Kind::Unreadable && !PermissionsBindUs()) GTEST_SKIP() << "the root reads any file";
    // A regular file, however large, is appended to (only the reads whole
    // refuse it), and a link to a file not yet there makes that file, as a
    // link is followed everywhere else.
    const bool appendable = kind == Kind::SparseGiB || kind == Kind::DanglingLink;
    const Watchdog watchdog(std::string("handlers with a ") + GetParam().name, seconds(120));

    // The readings' CSV file and their database.
    Make(kind, DataFile("NoModule.csv"));
    Make(kind, DataFile("Data.db"));
    Show();
    const String csvTold = InfoLine();
    DrainReadings();
    if (appendable)
        EXPECT_GT(fs::file_size(DataFile("NoModule.csv")), kind == Kind::SparseGiB ? uint64_t{1} << 30 : 0u);
    else
        EXPECT_NE(csvTold.find("record file"), String::npos) << csvTold;
    if (kind != Kind::DanglingLink)
        EXPECT_NE(Told(ui_, form_).find("database"), std::string::npos) << Told(ui_, form_);

    // The information log's file, when the log spills.
    const std::string infoFile = "Info/" + DateToStr(Date()) + "Information.txt";
    Make(kind, AppPath(infoFile));
    for (int i = 0; i < 21; ++i) form_->AddInfoLogLine("line " + IntToStr(i), kFailureColor);
    if (!appendable) {
        EXPECT_EQ(InfoLine(), "    Cannot write " + infoFile + ": the log is kept");
        EXPECT_GT(form_->RE_Info->Lines()->Count(), 20) << "the lines stay for the next save";
    }

    // The ADC log.
    const std::string adcFile = AdcLogPath(Now());
    Make(kind, adcFile);
    form_->OpenAdcLog();
    EXPECT_EQ(form_->AdcStream.IsOpen(), appendable);
    if (!appendable) EXPECT_NE(InfoLine().find("出错"), String::npos) << InfoLine();
    form_->AdcStream.Close();

    // A ".kb" file.
    const std::string kbFile = AppPath("KB/special.kb");
    Make(kind, kbFile);
    form_->LoadKbFile(kbFile);
    EXPECT_TRUE(InfoLine().starts_with("    Fail to load KB!")) << InfoLine();
    if (kind == Kind::SparseGiB) EXPECT_NE(InfoLine().find("limit of 16 KiB"), String::npos) << InfoLine();

    // A ".bms" file, through the tool bar's Load Data on the parameter page.
    const std::string bmsFile = AppPath("BMS/special.bms");
    Make(kind, bmsFile);
    form_->TS_TBMS->SetPageVisible(true);
    form_->PC_All->SetActivePage(form_->TS_TBMS);
    ui_.ChooseNextFile(bmsFile);
    form_->TB_LoadClick(nullptr);
    EXPECT_TRUE(InfoLine().starts_with("    Fail to load BMS!")) << InfoLine();
    if (kind == Kind::SparseGiB)
        EXPECT_NE(InfoLine().find("\"" + bmsFile + "\""), String::npos) << "names the file: " << InfoLine();

    // A serial-number list.
    const std::string listFile = AppPath("SequenceNum/special.txt");
    Make(kind, listFile);
    ui_.ChooseNextFile(listFile);
    form_->GetSerialNumClick(nullptr);
    ASSERT_FALSE(ui_.Boxes().empty());
    EXPECT_TRUE(ui_.Boxes().back().text.starts_with("fail!  ")) << ui_.Boxes().back().text;
    EXPECT_NE(ui_.Boxes().back().text.find(listFile), std::string::npos) << ui_.Boxes().back().text;

    // And the tool goes on: a reading is shown and stored once the file is a file again.
    fs::remove(DataFile("NoModule.csv"));
    Show();
    EXPECT_TRUE(fs::is_regular_file(DataFile("NoModule.csv")));
    EXPECT_TRUE(ui_.Visible(form_));
}

INSTANTIATE_TEST_SUITE_P(Kinds, SpecialFileInAHandler, ::testing::ValuesIn(kKinds),
                         [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace tarvel::testing
