// The info line, the dated lines of the information logs, and the log files
// in "Info": the spill at 21 lines, the save items, and writes that fail.

#include <filesystem>
#include <fstream>
#include <optional>

#include "tests/app/LinkFixture.h"

namespace tarvel::testing {
namespace {

namespace fs = std::filesystem;

String FileText(const String& path) {
    std::ifstream in(path, std::ios::binary);
    return String(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

// The rest of a log line after its stamp "【<stamp>】  ", the stamp's shape
// given with a 9 for each digit; nothing when the line does not start so.
std::optional<String> AfterStamp(const String& line, std::string_view shape) {
    const String open = "【", close = "】  ";
    if (!line.starts_with(open) || line.size() < open.size() + shape.size() + close.size())
        return std::nullopt;
    for (size_t i = 0; i < shape.size(); ++i) {
        const char c = line[open.size() + i];
        if (shape[i] == '9' ? !std::isdigit(static_cast<unsigned char>(c)) : c != shape[i])
            return std::nullopt;
    }
    if (line.compare(open.size() + shape.size(), close.size(), close) != 0) return std::nullopt;
    return line.substr(open.size() + shape.size() + close.size());
}

int CountLines(const String& text) {
    int lines = 0;
    for (size_t at = text.find("】  "); at != String::npos; at = text.find("】  ", at + 1)) ++lines;
    return lines;
}

class InfoLineTest : public LinkTest {
protected:
    void ReportLogins(int count) {
        for (int i = 0; i < count; ++i) Receive(Reply(0, 0x81));
    }
    // The external log's page is built with the pages; stand in when it is not.
    void MakeExtInfo() {
        if (form_->RE_ExtInfo) return;
        form_->RE_ExtInfo = new TRichEdit(form_);
        form_->RE_ExtInfo->SetParent(form_);
    }
};

TEST_F(InfoLineTest, TheInfoLineShowsItsTextAfterFourBlanksOnItsColour) {
    TMainForm* form = StartLinked();
    form->ShowInfo("Please login frist!", kFailureColor);
    EXPECT_EQ(InfoLine(), "    Please login frist!");
    EXPECT_EQ(InfoColor(), kFailureColor);
    EXPECT_TRUE(form->L_Info->Visible());
}

TEST_F(InfoLineTest, TheLogLineIsDatedAndNamesThePollRequestOutstanding) {
    struct Case {
        int32_t tsbsQuery;
        int32_t poll;
        const char* ending;
    };
    const Case cases[] = {
        {0, 0, ""},
        {1, 0, "...单模块轮询"},
        {0, 1, "......多模块轮询"},
        {1, 1, "...单模块轮询......多模块轮询"},
    };
    TMainForm* form = StartLinked();
    for (const Case& c : cases) {
        SCOPED_TRACE(c.ending);
        form->TsbsQueryInProgress = c.tsbsQuery;
        form->PollInProgress = c.poll;
        Receive(Reply(0, 0x81));
        EXPECT_EQ(AfterStamp(LastLogLine(), "9999-99-99 99:99:99"), "Login...  Succeed!" + String(c.ending));
        // The endings are for the log alone.
        EXPECT_EQ(InfoLine(), "    Login...  Succeed!");
    }
}

TEST_F(InfoLineTest, The21stLineSpillsTheLogToTheDaysFileAndThe20thDoesNot) {
    TMainForm* form = StartLinked();
    const String path = LogPath("Information.txt");
    ReportLogins(20);
    EXPECT_EQ(LogLines(), 20);
    EXPECT_FALSE(fs::exists(path));

    ReportLogins(1);
    EXPECT_EQ(LogLines(), 0);
    EXPECT_EQ(form->RE_Info->GetTextLen(), 0);
    const String text = FileText(path);
    EXPECT_EQ(CountLines(text), 21);
    EXPECT_TRUE(text.ends_with("Login...  Succeed!\r\n\r\n"));

    // The next block is appended after the first.
    ReportLogins(21);
    EXPECT_EQ(CountLines(FileText(path)), 42);
}

TEST_F(InfoLineTest, ALogThatCannotBeWrittenIsKeptAndTheInfoLineSaysSo) {
    TMainForm* form = StartLinked();
    // A file where the log folder should be.
    fs::remove_all(AppPath("Info"));
    std::ofstream(AppPath("Info")) << "in the way";
    ReportLogins(21);
    EXPECT_EQ(LogLines(), 21);
    EXPECT_EQ(InfoLine(), "    Cannot write Info/" + DateToStr(Date()) + "Information.txt: the log is kept");
    EXPECT_EQ(InfoColor(), kFailureColor);

    fs::remove(AppPath("Info"));
    ReportLogins(1);
    EXPECT_EQ(LogLines(), 0);
    EXPECT_EQ(CountLines(FileText(LogPath("Information.txt"))), 22);

    // The save item keeps its log the same way.
    fs::remove_all(AppPath("Info"));
    std::ofstream(AppPath("Info")) << "in the way";
    form->RE_Info->Lines()->Add("kept");
    form->PM_SaveInfoClick(nullptr);
    EXPECT_EQ(LogLines(), 1);
    EXPECT_EQ(InfoColor(), kFailureColor);
}

TEST_F(InfoLineTest, EachSaveItemAppendsItsLogToItsFileAndClearsIt) {
    TMainForm* form = StartLinked();
    MakeExtInfo();
    struct Case {
        TRichEdit* memo;
        void (TMainForm::*click)(TObject*);
        const char* ending;
    };
    const Case cases[] = {
        {form->RE_Info, &TMainForm::PM_SaveInfoClick, "信息.txt"},
        {form->RE_ExtInfo, &TMainForm::PM_SaveExtInfoClick, "外部信息.txt"},
        {form->RE_CommData, &TMainForm::PM_SaveCommDataClick, "通信数据.txt"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.ending);
        const String path = LogPath(c.ending);
        (form->*c.click)(nullptr);
        EXPECT_FALSE(fs::exists(path)) << "an empty log writes no file";

        c.memo->Lines()->Add("first");
        c.memo->Lines()->Add("second");
        (form->*c.click)(nullptr);
        EXPECT_EQ(c.memo->Lines()->Count(), 0);
        EXPECT_EQ(FileText(path), "first\r\nsecond\r\n\r\n");
    }
}

TEST_F(InfoLineTest, TheInformationLogsPopupItemSavesIt) {
    TMainForm* form = StartLinked();
    ASSERT_EQ(form->RE_Info->PopupMenu(), form->PopupMenuInfo);
    EXPECT_EQ(form->PM_SaveInfo->Caption(), u"保存并清空    ");
    form->PC_All->SetActivePage(form->TS_Info);
    ReportLogins(3);
    ui_.WhenModal([&] {
        ui_.PressKey(VK_DOWN);
        ui_.PressKey(VK_RETURN);
    });
    ui_.RightClick(form->RE_Info);
    ui_.RunUntilIdle();
    EXPECT_EQ(LogLines(), 0);
    EXPECT_EQ(CountLines(FileText(LogPath("信息.txt"))), 3);
    EXPECT_TRUE(ui_.Problems().empty());
}

TEST_F(InfoLineTest, TheExternalLogTakesATimedLineInTheColourOfItsMessage) {
    TMainForm* form = StartLinked();
    MakeExtInfo();
    const struct {
        TColor shown;
        TColor logged;
    } cases[] = {{kSuccessColor, kLogSuccessColor}, {kFailureColor, kFailureColor}, {0x008000, 0x008000}};
    for (const auto& c : cases) {
        form->ShowInfoAndExtLog("1234", c.shown);
        EXPECT_EQ(InfoLine(), "    1234");
        EXPECT_EQ(InfoColor(), c.shown);
        TStrings* lines = form->RE_ExtInfo->Lines();
        EXPECT_EQ(AfterStamp(lines->Get(lines->Count() - 1), "99:99:99"), "1234");
        EXPECT_EQ(LastLineColor(form->RE_ExtInfo), c.logged);
    }
}

}  // namespace
}  // namespace tarvel::testing
