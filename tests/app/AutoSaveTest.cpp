// The module's own telemetry log end to end against the simulated module:
// the storing window checked against the PC's clock with its suggested
// period, storing started and stopped on the module, the records downloaded
// into their grid and saved as CSV, the grid emptied, the module erased, and
// a download that falls silent ending after 10 s.

#include <fstream>
#include <sstream>

#include "records/AutoTsbs.h"
#include "tests/app/RemoteControlFixture.h"

namespace tarvel::testing {
namespace {

constexpr const char* kStoringOn = "功能已开启，若重新设置时间请先结束此次查询!";
constexpr const char* kDownloaded = "自动保存TSBS记录查询成功!";

class AutoSaveTest : public RemoteControlTest {
protected:
    TMainForm* StartAutoSave() {
        TMainForm* form = StartLinked();
        form->BindAutoTsbsHandlers();
        // No view shows the schedule groups, and the views leave their
        // buttons disabled: the test reaches them as the form made them.
        for (const TMainForm::ScheduleSet& s : form->ScheduleSets) s.State->SetEnabled(true);
        OpenLoggedIn();
        return form;
    }

    TMainForm::ScheduleSet& Set(int set) { return form_->ScheduleSets[static_cast<size_t>(set)]; }

    // The window: start and end dates `days` from today, times of day as given.
    void SetWindow(int set, int beginDay, const char* beginTime, int endDay, const char* endTime,
                   const char* period) {
        TMainForm::ScheduleSet& s = Set(set);
        s.BeginDate->SetDateTime(Date() + beginDay + 0.5);
        s.EndDate->SetDateTime(Date() + endDay + 0.5);
        s.BeginTime->SetDateTime(TimeOf(beginTime));
        s.EndTime->SetDateTime(TimeOf(endTime));
        s.Period->SetText(period);
        s.MinPeriod->SetText("");
    }
    static TDateTime TimeOf(const char* hhmm) {
        return EncodeTime((hhmm[0] - '0') * 10 + hhmm[1] - '0', (hhmm[3] - '0') * 10 + hhmm[4] - '0', 0, 0);
    }

    // The texts of the boxes the click shows.
    std::vector<String> BoxesOf(TControl* control) {
        const size_t before = ui_.Boxes().size();
        ui_.Click(control);
        std::vector<String> texts;
        for (size_t i = before; i < ui_.Boxes().size(); ++i) texts.push_back(ui_.Boxes()[i].text);
        return texts;
    }

    bool BoxShown(const String& text) {
        for (const TBoxRecord& box : ui_.Boxes())
            if (box.text == text) return true;
        return false;
    }
    size_t BoxCount(const String& text) {
        size_t n = 0;
        for (const TBoxRecord& box : ui_.Boxes()) n += box.text == text;
        return n;
    }

    std::vector<String> Row(int row) {
        std::vector<String> cells;
        for (int c = 0; c < 28; ++c) cells.push_back(ui_.CellText(form_->SG_AutoTSBSData, c, row));
        return cells;
    }

    void Download() {
        const size_t before = BoxCount(kDownloaded);
        ui_.AnswerNextBox(mrYes);
        ui_.Click(Reveal("GetAutoTSBSData"));
        ASSERT_TRUE(WaitUntil([&] { return BoxCount(kDownloaded) > before; }));
    }
};

struct WindowCase {
    const char* what;
    int beginDay;
    const char* beginTime;
    int endDay;
    const char* endTime;
    const char* period;
    std::vector<String> boxes;
    const char* suggested;
    bool startEnabled;
};

TEST_F(AutoSaveTest, TheWindowCheckSuggestsAPeriodAndOpensTheStart) {
    const WindowCase cases[] = {
        {"one day and an hour, period 4",
         1,
         "08:00",
         2,
         "09:00",
         "4",
         {"请参考建议查询周期后重新设置!"},
         "5",
         false},
        {"one day and an hour, period 5", 1, "08:00", 2, "09:00", "5", {}, "5", true},
        {"under 300 minutes", 1, "08:00", 1, "12:59", "1", {}, "1", true},
        {"end time earlier on a later date", 1, "10:00", 2, "08:00", "4", {}, "4", true},
        {"start yesterday, still checked on",
         -1,
         "08:00",
         1,
         "08:00",
         "1",
         {"起始日期应不小于系统当前日期!", "请参考建议查询周期后重新设置!"},
         "9",
         false},
        {"start at midnight today",
         0,
         "00:00",
         1,
         "00:00",
         "4",
         {"起始时间必须大于系统当前时间!"},
         "4",
         false},
        {"start after end", 2, "08:00", 1, "08:00", "4", {"起始日期必须不大于结束日期!"}, "4", false},
        {"start after end on one day",
         1,
         "09:00",
         1,
         "08:00",
         "1",
         {"起始时间必须小于结束时间!"},
         "1",
         false},
        {"no period", 1, "08:00", 2, "09:00", "", {"请输入查询周期!"}, "", false},
    };
    StartAutoSave();
    for (int set : {0, 1}) {
        TControl* check = Reveal(set == 0 ? "settime" : "settime1");
        check->SetEnabled(true);
        for (const WindowCase& c : cases) {
            SCOPED_TRACE(std::string(c.what) + " in set " + std::to_string(set));
            SetWindow(set, c.beginDay, c.beginTime, c.endDay, c.endTime, c.period);
            Set(set).Begin->SetEnabled(false);
            EXPECT_EQ(BoxesOf(check), c.boxes);
            EXPECT_EQ(Set(set).MinPeriod->Text(), c.suggested);
            EXPECT_EQ(Set(set).Begin->Enabled(), c.startEnabled);
            EXPECT_FALSE(Set(1 - set).Begin->Enabled());  // each set checks its own
        }
    }
}

TEST_F(AutoSaveTest, AMalformedPeriodIsAConversionErrorThatSendsNothing) {
    StartAutoSave();
    TControl* check = Reveal("settime");
    check->SetEnabled(true);
    SetWindow(0, 1, "08:00", 2, "09:00", "5x");
    const std::vector<String> boxes = BoxesOf(check);
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_NE(boxes[0].find("'5x' is not a valid integer value"), String::npos) << boxes[0];
    EXPECT_FALSE(Set(0).Begin->Enabled());

    // Start, with a period that is no integer or beyond 16 bits: refused on the info line.
    for (const char* period : {"5x", "65536"}) {
        SetWindow(0, 1, "08:00", 2, "09:00", period);
        Set(0).Begin->SetEnabled(true);
        form_->L_Info->SetCaption("");
        ui_.Click(Set(0).Begin);
        EXPECT_EQ(InfoColor(), kFailureColor) << period;
        EXPECT_FALSE(InfoLine().empty()) << period;
    }
    EXPECT_TRUE(ReceivedAfterPause().empty());
}

TEST_F(AutoSaveTest, TheModuleStartsAndStopsStoringOnTheCheckedWindow) {
    StartAutoSave();
    for (const TMainForm::ScheduleSet& s : form_->ScheduleSets) {
        EXPECT_TRUE(s.State->Enabled());
        EXPECT_FALSE(s.Check->Enabled());
        EXPECT_FALSE(s.Begin->Enabled());
        EXPECT_FALSE(s.End->Enabled());
    }
    // Not storing: the check and the stop open in both sets.
    EXPECT_EQ(ClickAndAwait("Checkfunction1"), std::vector<Bytes>{BuildRequest(0, CmdCheckFunction)});
    for (const TMainForm::ScheduleSet& s : form_->ScheduleSets) {
        EXPECT_TRUE(s.Check->Enabled());
        EXPECT_TRUE(s.End->Enabled());
        EXPECT_FALSE(s.Begin->Enabled());
    }

    SetWindow(1, 1, "08:00", 2, "09:30", "5");
    ui_.Click(Reveal("settime1"));
    ASSERT_TRUE(Set(1).Begin->Enabled());
    ClickAndAwait("Begingetsbs1");
    ASSERT_TRUE(WaitUntil([&] { return BoxShown("开启自动查询TSBS参数功能!"); }));
    const DateParts begin = DecodeDateTime(Date() + 1), end = DecodeDateTime(Date() + 2);
    const Bytes schedule{static_cast<uint8_t>(begin.year & 0xFF),
                         static_cast<uint8_t>(begin.year >> 8),
                         static_cast<uint8_t>(begin.month),
                         0,
                         static_cast<uint8_t>(begin.day),
                         8,
                         0,
                         0,
                         static_cast<uint8_t>(end.year & 0xFF),
                         static_cast<uint8_t>(end.year >> 8),
                         static_cast<uint8_t>(end.month),
                         0,
                         static_cast<uint8_t>(end.day),
                         9,
                         30,
                         0,
                         5,
                         0};
    const sim::ModuleState module = Module().Module(kModuleAddress);
    EXPECT_TRUE(module.autoTsbsOn);
    EXPECT_EQ(module.autoTsbsSchedule, schedule);
    EXPECT_EQ(Bytes(form_->AutoTsbsSchedule.begin(), form_->AutoTsbsSchedule.end()), schedule);
    EXPECT_FALSE(Set(1).Check->Enabled());
    EXPECT_EQ(LastCommand, 0);

    // Storing: only the stop stays open, in both sets.
    ClickAndAwait("Checkfunction");
    ASSERT_TRUE(WaitUntil([&] { return BoxShown(kStoringOn); }));
    for (const TMainForm::ScheduleSet& s : form_->ScheduleSets) {
        EXPECT_FALSE(s.Check->Enabled());
        EXPECT_FALSE(s.Begin->Enabled());
        EXPECT_TRUE(s.End->Enabled());
    }

    EXPECT_EQ(ClickAndAwait("Endgetsbs"), std::vector<Bytes>{BuildRequest(0, CmdEndGetSbs)});
    ASSERT_TRUE(WaitUntil([&] { return BoxShown("关闭自动查询TSBS参数功能!"); }));
    EXPECT_FALSE(Module().Module(kModuleAddress).autoTsbsOn);
    EXPECT_TRUE(Set(0).Begin->Enabled());
    EXPECT_TRUE(Set(0).Check->Enabled());
    EXPECT_FALSE(Set(1).Begin->Enabled());
}

TEST_F(AutoSaveTest, StartAndStopAreRefusedWhileTheAutomaticQueryRunsOrLoggedOut) {
    TMainForm* form = StartAutoSave();
    SetWindow(0, 1, "08:00", 2, "09:00", "5");
    for (const char* button : {"Begingetsbs", "Endgetsbs"}) {
        TControl* control = Reveal(button);
        control->SetEnabled(true);
        form->AutoQueryOn = 1;
        form->L_Info->SetCaption("");
        ui_.Click(control);
        EXPECT_EQ(InfoLine(), "    请先关闭自动查询！") << button;
        EXPECT_EQ(InfoColor(), kFailureColor);
        form->AutoQueryOn = 0;
        form->LoggedIn = 0;
        form->L_Info->SetCaption("");
        ui_.Click(control);
        EXPECT_EQ(InfoLine(), "    Please login frist!") << button;
        form->LoggedIn = 1;
    }
    EXPECT_TRUE(ReceivedAfterPause().empty());
}

TEST_F(AutoSaveTest, TheRecordsComeIntoTheGridAndGoToANewCsvFile) {
    Module().UpdateModule(kModuleAddress, [](sim::ModuleState& m) { m.records.telemetry = 7; });
    StartAutoSave();
    Download();
    EXPECT_EQ(BoxCount(kDownloaded), 1u);
    EXPECT_EQ(form_->SG_AutoTSBSData->RowCount(), 8);
    for (TTeButton* button : {form_->GetAutoTSBSData, form_->ClearAutoTSBSData, form_->ClearTSBSlookData,
                              form_->SaveAutoTSBSData})
        EXPECT_TRUE(button->Enabled()) << button->Name();

    // Record n of the module: 2024-01-01 08:(5n):00, its telemetry with the current less 10n mA.
    const sim::Telemetry t = Module().Module(kModuleAddress).telemetry;
    auto expected = [&](int n) {
        std::vector<String> cells{std::to_string(n),
                                  "2024-1-1 8:" + std::to_string(5 * n) + ":0 ",
                                  "STATUS_DIS",
                                  std::to_string(t.current - 10 * n),
                                  std::to_string(t.batt + n),
                                  std::to_string(80000 - 100 * n),
                                  n == 1 ? "Pack过压保护   充电过流保护  电压传感器故障  " : ""};
        for (int i = 0; i < 5; ++i) cells.push_back(std::to_string(t.temps[static_cast<size_t>(i)]));
        for (uint16_t cell : t.cells) cells.push_back(std::to_string(cell));
        return cells;
    };
    EXPECT_EQ(Row(1), expected(1));
    EXPECT_EQ(Row(5), expected(5));
    EXPECT_EQ(Row(6), expected(6));
    EXPECT_EQ(Row(7), expected(7));
    EXPECT_EQ(Row(0), std::vector<String>(28, ""));  // the title row stays empty

    const std::string path = folder_.File("records.csv");
    ui_.ChooseNextFile(path);
    ui_.Click(Reveal("SaveAutoTSBSData"));
    const TFileRequest& dialog = ui_.Dialogs().Files().back().request;
    EXPECT_EQ(dialog.title, "保存自动保存TSBS记录至");
    EXPECT_EQ(dialog.filter, "自动保存TSBS记录(*.csv)|*.csv");
    EXPECT_TRUE(dialog.fileName.ends_with("_自动保存TSBS记录.csv")) << dialog.fileName;
    std::ifstream in(path, std::ios::binary);
    std::stringstream text;
    text << in.rdbuf();
    std::string lines =
        "  序号,  记录时间  ,  "
        "模式,电流,总电压,容量,告警类型,环境温度,电池温度1,电池温度2,电池温度3,电池温度4,"
        "电  压1,电  压2,电  压3,电  压4,电  压5,电  压6,电压7,电  压8,电压9,电  压10,电  压11,电  压12,电  "
        "压13,"
        "电  压14,电  压15,电  压16,\r\n";
    for (int n = 1; n <= 7; ++n) {
        for (const String& cell : expected(n)) lines += cell + ",";
        lines += "\r\n";
    }
    EXPECT_EQ(text.str(), lines);

    EXPECT_TRUE(dialog.options.Contains(ofOverwritePrompt));

    // A file that is there is replaced once the dialog has asked: the title line alone now.
    ui_.Click(Reveal("ClearTSBSlookData"));
    ui_.ChooseNextFile(path);
    ui_.AnswerNextBox(mrYes);
    ui_.Click(Reveal("SaveAutoTSBSData"));
    std::ifstream again(path, std::ios::binary);
    std::stringstream second;
    second << again.rdbuf();
    EXPECT_EQ(second.str(), lines.substr(0, lines.find("\r\n") + 2));
}

TEST_F(AutoSaveTest, ANewDownloadEmptiesTheRowsOfTheLastOne) {
    Module().UpdateModule(kModuleAddress, [](sim::ModuleState& m) { m.records.telemetry = 7; });
    StartAutoSave();
    Download();
    // The module now holds three: rows 4 to 7 of the last download must not be saved with them.
    Module().UpdateModule(kModuleAddress, [](sim::ModuleState& m) { m.records.telemetry = 3; });
    Download();
    EXPECT_EQ(form_->SG_AutoTSBSData->RowCount(), 4);
    form_->SG_AutoTSBSData->SetRowCount(8);
    EXPECT_EQ(Row(3)[0], "3");
    for (int row : {4, 7}) EXPECT_EQ(Row(row), std::vector<String>(28, "")) << row;
}

TEST_F(AutoSaveTest, EmptyingTheGridClearsEveryRowAndErasingAsksFirst) {
    StartAutoSave();
    TStringGrid* grid = form_->SG_AutoTSBSData;
    ASSERT_EQ(grid->RowCount(), 300);
    ASSERT_EQ(grid->ColCount(), 28);
    grid->SetCells(27, 299, "3301");
    grid->SetCells(0, 1, "1");
    form_->GetAutoTSBSData->SetEnabled(false);
    ui_.Click(Reveal("ClearTSBSlookData"));
    EXPECT_EQ(grid->RowCount(), 1);
    EXPECT_TRUE(form_->GetAutoTSBSData->Enabled());
    grid->SetRowCount(300);
    EXPECT_EQ(grid->Cells(27, 299), "");
    EXPECT_EQ(grid->Cells(0, 1), "");

    ui_.AnswerNextBox(mrNo);
    ui_.Click(Reveal("ClearAutoTSBSData"));
    EXPECT_EQ(ui_.Boxes().back().text, "将清空存储器中所有自动保存的TSBS数据，请检测是否已保存所需数据!");
    EXPECT_TRUE(ReceivedAfterPause().empty());
    EXPECT_EQ(grid->RowCount(), 300);

    // Refused for want of a login: the rows on screen stay.
    form_->LoggedIn = 0;
    ui_.AnswerNextBox(mrYes);
    ui_.Click(Reveal("ClearAutoTSBSData"));
    EXPECT_TRUE(ReceivedAfterPause().empty());
    EXPECT_EQ(grid->RowCount(), 300);

    form_->LoggedIn = 1;
    ui_.AnswerNextBox(mrYes);
    EXPECT_EQ(ClickAndAwait("ClearAutoTSBSData"), std::vector<Bytes>{BuildRequest(0, CmdClearAutoTsbsData)});
    EXPECT_EQ(grid->RowCount(), 1);
}

TEST_F(AutoSaveTest, ADownloadSilentFor10SecondsFailsAndFreesTheButtons) {
    StartAutoSave();
    // The first of two batches comes, the second never does.
    Bytes data{7, 0, 5, 0, 5, 0, 0, 0};
    data.resize(388, 0);
    Receive(Reply(kModuleAddress, 0xA1, 0, data));
    ui_.RunUntilIdle();
    EXPECT_EQ(form_->SG_AutoTSBSData->RowCount(), 8);
    EXPECT_EQ(ui_.CellText(form_->SG_AutoTSBSData, 0, 5), "5");
    EXPECT_FALSE(form_->GetAutoTSBSData->Enabled());
    EXPECT_FALSE(form_->SaveAutoTSBSData->Enabled());

    ui_.AdvanceClock(9900);
    EXPECT_FALSE(form_->GetAutoTSBSData->Enabled());
    ui_.AdvanceClock(200);
    EXPECT_EQ(InfoColor(), kFailureColor);
    EXPECT_NE(InfoLine().find("自动保存TSBS记录"), String::npos) << InfoLine();
    for (TTeButton* button : {form_->GetAutoTSBSData, form_->ClearAutoTSBSData, form_->ClearTSBSlookData,
                              form_->SaveAutoTSBSData})
        EXPECT_TRUE(button->Enabled()) << button->Name();
    EXPECT_FALSE(BoxShown(kDownloaded));
}

}  // namespace
}  // namespace tarvel::testing
