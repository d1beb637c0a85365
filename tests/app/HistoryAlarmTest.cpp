// The history-alarm tab against the simulated module: every record of both
// layouts downloaded into the grid and saved as CSV, a module that falls
// silent half-way, a new download over an old one, the grid emptied, and the
// records erased in the module.

#include "records/HisAlarm.h"
#include "tests/app/HistoryAlarmFixture.h"
#include "tests/telemetry/DeviceFixture.h"
#include "tools/bms-sim/ModuleRecords.h"

namespace tarvel::testing {
namespace {

const std::vector<bool> kAllEnabled(5, true);
const std::vector<bool> kAllDisabled(5, false);

TEST_F(HistoryAlarmTest, AllRecordsOfEitherLayoutDownloadIntoTheGridAndSaveAsCsv) {
    const struct {
        bool shortRecords;
        int layout;
        const char* fixture;
    } cases[] = {{false, 1, "his_alarm_12_full.csv"}, {true, 0, "his_alarm_12_short.csv"}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.fixture);
        if (form_) {
            delete form_;
            form_ = nullptr;
        }
        Module().ClearRequests();
        TMainForm* form = StartAlarms(12, c.shortRecords);
        ASSERT_NO_FATAL_FAILURE(DownloadAll());
        // Twelve records come in three batches back to back; the request went out once.
        EXPECT_EQ(RequestsOf(CmdGetHisAlarm), std::vector<Bytes>{Hex("00 00 04 01 19 55 AA 1D")});
        EXPECT_EQ(form->HistoryLayout, c.layout);
        EXPECT_EQ(Rows(), 13);
        EXPECT_EQ(Cell(0, 0), "    Num ");
        EXPECT_EQ(Cell(0, 12), "12");
        ExpectEveryTextWhole();
        EXPECT_EQ(Buttons(), kAllEnabled);
        EXPECT_EQ(NewBoxTexts(),
                  (std::vector<String>{
                      "Before not present data query success tips, please do not perform other queries!",
                      "Get Alarm Records Success!"}));

        const std::string path = folder_.File(std::string("saved-") + c.fixture);
        ui_.ChooseNextFile(path);
        ui_.Click(form->SaveHisAlarm);
        EXPECT_EQ(FileBytes(path), Fixture(c.fixture));
        const TFileRequest& asked = ui_.Dialogs().Files().back().request;
        EXPECT_EQ(asked.title, "Save Records To");
        EXPECT_EQ(asked.filter, "Alarm Records(*.csv)|*.csv");
        EXPECT_EQ(asked.initialDir, AppPath("Alarm_Data"));
        EXPECT_TRUE(asked.options.Contains(ofOverwritePrompt));
        EXPECT_TRUE(asked.fileName.ends_with("_All Alarm Records.csv"));
        EXPECT_EQ(asked.fileName.size(), std::string("2018-11-22 14-05-09_All Alarm Records.csv").size());
        EXPECT_TRUE(NewBoxes().empty());
    }
}

TEST_F(HistoryAlarmTest, SavesWriteWhatTheGridHoldsAndReplaceAConfirmedFile) {
    TMainForm* form = StartAlarms(12);
    const std::string path = folder_.File("alarms.csv");
    const std::string fixture = Fixture("his_alarm_12_full.csv");
    const std::string title = fixture.substr(0, fixture.find("\r\n") + 2);
    ASSERT_TRUE(title.ends_with("Vol.16,\r\n"));

    // Before any download: the 299 empty rows the form makes.
    ui_.ChooseNextFile(path);
    ui_.Click(form->SaveHisAlarm);
    std::string emptyRows;
    for (int row = 1; row < 300; ++row) emptyRows += std::string(28, ',') + "\r\n";
    EXPECT_EQ(FileBytes(path), title + emptyRows);

    // The user confirmed replacing it, so the file is replaced.
    ASSERT_NO_FATAL_FAILURE(DownloadAll());
    ui_.ChooseNextFile(path);
    ui_.AnswerNextBox(mrYes);
    ui_.Click(form->SaveHisAlarm);
    EXPECT_EQ(FileBytes(path), Fixture("his_alarm_12_full.csv"));

    ui_.Click(form->ClearLookData);
    ui_.ChooseNextFile(folder_.File("cleared.csv"));
    ui_.Click(form->SaveHisAlarm);
    EXPECT_EQ(FileBytes(folder_.File("cleared.csv")), title);

    // A file that cannot be made says so, and a cancel writes nothing.
    NewBoxes();
    ui_.ChooseNextFile(folder_.File("no-such-folder/alarms.csv"));
    ui_.Click(form->SaveHisAlarm);
    ui_.ChooseNextFile(std::nullopt);
    ui_.Click(form->SaveHisAlarm);
    EXPECT_EQ(NewBoxTexts(), std::vector<String>{"Creat Alarm Records File Fail！"});
}

TEST_F(HistoryAlarmTest, AModuleThatFallsSilentHalfWayFreesTheTabAfterTenSeconds) {
    TMainForm* form = StartAlarms(12);
    AddFault("halt:cmd=0x19,at=2");
    form->DoneHisAlarm = 0;
    ui_.AnswerNextBox(mrYes);
    ui_.Click(form->GetHisAlarm);
    ASSERT_TRUE(WaitUntil([&] { return Cell(0, 10) == "10"; }));
    // Two batches of three: the tab stays locked while the rest may still come.
    EXPECT_EQ(Rows(), 13);
    EXPECT_EQ(Cell(0, 11), "");
    EXPECT_EQ(Buttons(), kAllDisabled);
    EXPECT_EQ(form->DoneHisAlarm, 0);

    ui_.AdvanceClock(form->kHisAlarmSilenceMs - 100);
    EXPECT_EQ(Buttons(), kAllDisabled);
    ui_.AdvanceClock(200);
    EXPECT_EQ(Buttons(), kAllEnabled);
    EXPECT_EQ(Trim(InfoLine()), "Get Alarm Records Fail: no records for 10 s!");
    EXPECT_EQ(InfoColor(), kFailureColor);
    EXPECT_TRUE(LastLogLine().ends_with("Get Alarm Records Fail: no records for 10 s!"));
    EXPECT_EQ(form->DoneHisAlarm, 0);
    EXPECT_EQ(NewBoxTexts(),
              std::vector<String>{
                  "Before not present data query success tips, please do not perform other queries!"});

    // The tab works again, and the download that completes is not failed later.
    ASSERT_NO_FATAL_FAILURE(DownloadAll());
    EXPECT_EQ(Cell(0, 12), "12");
    form->ShowInfo("", kSuccessColor);
    ui_.AdvanceClock(2 * form->kHisAlarmSilenceMs);
    EXPECT_EQ(Trim(InfoLine()), "");
}

TEST_F(HistoryAlarmTest, ANewDownloadEmptiesTheRowsOfTheLastOne) {
    TMainForm* form = StartAlarms(12);
    ASSERT_NO_FATAL_FAILURE(DownloadAll());
    // The next download brings only its first batch: rows it has not reached
    // show nothing of the twelve before.
    AddFault("halt:cmd=0x19,at=1");
    ui_.AnswerNextBox(mrYes);
    ui_.Click(form->GetHisAlarm);
    ASSERT_TRUE(WaitUntil([&] { return Cell(0, 5) == "5"; }));
    EXPECT_EQ(Rows(), 13);
    for (int row = 6; row <= 12; ++row) EXPECT_EQ(Cell(0, row), "") << row;
    EXPECT_EQ(Cell(1, 12), "");

    // After an erase has cut the grid, rows it hid are emptied as well.
    ui_.AdvanceClock(form->kHisAlarmSilenceMs);
    ASSERT_NO_FATAL_FAILURE(DownloadAll());
    ui_.AnswerNextBox(mrYes);
    ui_.Click(form->ClearHisAlarm);
    EXPECT_EQ(Rows(), 1);
    Module().UpdateModule(kModuleAddress, [](sim::ModuleState& m) { m.records.alarms = 20; });
    AddFault("halt:cmd=0x19,at=1");
    ui_.AnswerNextBox(mrYes);
    ui_.Click(form->GetHisAlarm);
    ASSERT_TRUE(WaitUntil([&] { return Rows() == 21; }));
    EXPECT_EQ(Cell(0, 5), "5");
    EXPECT_EQ(Cell(0, 12), "");
}

TEST_F(HistoryAlarmTest, EraseAsksAndCutsTheGridOnlyWhenTheRequestWentOut) {
    TMainForm* form = StartAlarms(7);
    ASSERT_NO_FATAL_FAILURE(DownloadAll());
    NewBoxes();

    ui_.AnswerNextBox(mrNo);
    ui_.Click(form->ClearHisAlarm);
    EXPECT_TRUE(RequestsOf(CmdClearHisAlarm).empty());
    EXPECT_EQ(Rows(), 8);

    // Refused for the login: the rows on screen stay, they may be the only copy.
    form->LoggedIn = 0;
    ui_.AnswerNextBox(mrYes);
    ui_.Click(form->ClearHisAlarm);
    EXPECT_EQ(Trim(InfoLine()), "Please login frist!");
    EXPECT_EQ(Rows(), 8);

    form->LoggedIn = 1;
    ui_.AnswerNextBox(mrYes);
    ui_.Click(form->ClearHisAlarm);
    EXPECT_EQ(Rows(), 1);
    EXPECT_EQ(NewBoxTexts(), std::vector<String>(3, "将清空存储器中所有历史数据，请检测是否已保存所需数据!"));
    ASSERT_TRUE(WaitUntil([&] { return !RequestsOf(CmdClearHisAlarm).empty(); }));
    EXPECT_EQ(RequestsOf(CmdClearHisAlarm), std::vector<Bytes>{Hex("00 00 04 01 1A 55 AA 1E")});
    // Reply 0x9A has no name of its own on the result line.
    ASSERT_TRUE(Reported("】  ...  Succeed!"));
    // The result line is the erase's only answer.
    EXPECT_TRUE(NewBoxes().empty());
    EXPECT_EQ(Buttons(), kAllEnabled);
}

TEST_F(HistoryAlarmTest, GetAllRecordsAsksFirstAndWantsALogin) {
    TMainForm* form = StartAlarms(5, false, false);
    ui_.Click(form->GetHisAlarm);
    EXPECT_EQ(Trim(InfoLine()), "Please login frist!");
    EXPECT_EQ(InfoColor(), kFailureColor);
    EXPECT_TRUE(NewBoxes().empty());

    form->LoggedIn = 1;
    form->SG_HisAlarm->SetCells(0, 1, "kept");
    ui_.AnswerNextBox(mrNo);
    ui_.Click(form->GetHisAlarm);
    EXPECT_EQ(NewBoxes().size(), 1u);
    EXPECT_TRUE(RequestsOf(CmdGetHisAlarm).empty());
    EXPECT_EQ(Cell(0, 1), "kept");
}

// The long alarm texts widen their column; an emptied grid has the form's
// widths again, save where a title needs more.
TEST_F(HistoryAlarmTest, TheColumnsWidenToTheirTextsAndNarrowWhenEmptied) {
    TMainForm* form = StartAlarms(23);
    ASSERT_NO_FATAL_FAILURE(DownloadAll());
    ExpectEveryTextWhole();
    EXPECT_GT(form->SG_HisAlarm->ColWidths(7), 112);
    ui_.Click(form->ClearLookData);
    ExpectEveryTextWhole();
    EXPECT_EQ(form->SG_HisAlarm->ColWidths(7), 112);
    EXPECT_EQ(form->SG_HisAlarm->ColWidths(1), 103);
}

TEST_F(HistoryAlarmTest, ClearRecordsEmptiesEveryRowAndKeepsTheTitles) {
    TMainForm* form = StartAlarms(5, false, false);
    form->SG_HisAlarm->SetCells(3, 1, "STATUS_CHG");
    form->SG_HisAlarm->SetCells(28, 299, "3300");
    ui_.Click(form->ClearLookData);
    EXPECT_EQ(Rows(), 1);
    EXPECT_EQ(Cell(1, 0), "       Start Time");
    form->SG_HisAlarm->SetRowCount(300);
    EXPECT_EQ(Cell(3, 1), "");
    EXPECT_EQ(Cell(28, 299), "");
    EXPECT_EQ(form->DoneHisAlarm, 0);
}

// Replies as the link hands them over, outside any request.
class HisAlarmRepliesTest : public HistoryAlarmTest {
protected:
    static Bytes Batch(bool shortRecords, size_t index, uint16_t alarms = 10) {
        sim::ModuleState module = sim::ModuleState::Make(0, shortRecords);
        module.records.alarms = alarms;
        return Reply(0, 0x99, 0, sim::HistoryAlarmBatches(module, false, 0).at(index));
    }
};

TEST_F(HisAlarmRepliesTest, EachReplyIsPlacedByItsOwnLayout) {
    TMainForm* form = StartAlarms(0);
    Receive(Batch(false, 0));
    EXPECT_EQ(form->HistoryLayout, 1);
    Receive(Batch(true, 1));
    EXPECT_EQ(form->HistoryLayout, 0);
    EXPECT_EQ(Cell(7, 1), "ShutDown ");
    EXPECT_EQ(Cell(7, 2), "PowerON ");
    // Record 6 of the short layout: bit 3 of the protection mask, no fault text.
    EXPECT_EQ(Cell(7, 6), "PROTECT_PACK_UV");
    EXPECT_EQ(Cell(13, 6), "3360");
    EXPECT_EQ(Cell(28, 10), "3370");
    EXPECT_EQ(form->DoneHisAlarm, 1);
    EXPECT_EQ(NewBoxTexts(), std::vector<String>{"Get Alarm Records Success!"});
}

TEST_F(HisAlarmRepliesTest, RefusedRepliesChangeNothingAndAnExportSilencesTheSuccess) {
    TMainForm* form = StartAlarms(0);
    form->SG_HisAlarm->SetCells(0, 1, "kept");
    // A Length neither layout has is refused by the reply check.
    const Bytes whole = Batch(false, 0);
    std::vector<uint8_t> data(whole.begin() + 8, whole.end() - 1);
    data.resize(data.size() + 4);
    Receive(ReplyFrame(0, 0x99, data));
    EXPECT_EQ(Cell(0, 1), "kept");
    EXPECT_EQ(Rows(), 300);
    EXPECT_EQ(Buttons(), kAllEnabled);

    // A module without records: only the title row, and the download is done.
    form->ExportRunning = 1;
    Receive(Batch(false, 0, 0));
    EXPECT_EQ(Rows(), 1);
    EXPECT_EQ(form->DoneHisAlarm, 1);
    EXPECT_EQ(Buttons(), kAllEnabled);
    EXPECT_TRUE(NewBoxes().empty());
}

}  // namespace
}  // namespace tarvel::testing
