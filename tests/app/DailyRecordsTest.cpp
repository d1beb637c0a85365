// The daily-record page against the simulated module: downloads of several
// sizes into RunState, the CSV save, the clearing of the grid, and replies
// handed in by the test for the order of batches and a download that stops.

#include "records/DailyRecords.h"
#include "tests/app/RecordPagesFixture.h"

namespace tarvel::testing {
namespace {

using namespace std::chrono_literals;

constexpr const char* kSuccess = "Query run record success!";

class DailyRecordsTest : public RecordPagesTest {
protected:
    TMainForm* Start() { return StartRecords(&TMainForm::TeTabSheet2); }

    // "Get", confirmed.
    void ClickGet(TMainForm* form) {
        ui_.AnswerNextBox(mrYes);
        ui_.Click(form->TeButton17);
    }

    bool ButtonsEnabled(TMainForm* form) {
        return ui_.Enabled(form->TeButton17) && ui_.Enabled(form->TeButton18) &&
               ui_.Enabled(form->TeButton19);
    }

    std::vector<String> DailyRow(TMainForm* form, int row) { return Row(form->RunState, row, 6); }

    // A reply 0xAE of `count` records ending with record `last` of `total`.
    // Record r is dated 2018-3-(r % 31 + 1) with charge code 2 (15 %).
    static Bytes DailyReply(uint16_t total, uint16_t last, uint16_t count) {
        Bytes data;
        for (uint16_t v : {total, last, count}) {
            data.push_back(static_cast<uint8_t>(v & 0xFF));
            data.push_back(static_cast<uint8_t>(v >> 8));
        }
        for (int i = 0; i < count; ++i) {
            const int r = last - count + 1 + i;
            const Bytes record = {
                0x32, static_cast<uint8_t>((r % 31 + 1) | 0x40), 25, 20, static_cast<uint8_t>(r), 0};
            data.insert(data.end(), record.begin(), record.end());
        }
        data.resize(246, 0);
        return Reply(kModuleAddress, 0xAE, 0, data);
    }
    static std::vector<String> CraftedRow(int r) {
        return {
            std::to_string(r), "2018-3-" + std::to_string(r % 31 + 1), "25", "20", std::to_string(r), "15"};
    }
};

TEST_F(DailyRecordsTest, DownloadsOfEverySizeFillTheGridAndEndWithOneBox) {
    struct Case {
        uint16_t days;
        std::vector<String> lastRow;  // row `days`
    };
    // Day n of the module is 2023-12-01 plus n - 1 days.
    const std::vector<Case> cases = {
        {300, {"300", "2024-9-25", "30", "20", "-3", "45"}},
        {40, {"40", "2024-1-9", "40", "20", "-3", "0"}},
        {0, {}},
    };
    TMainForm* form = Start();
    for (const Case& c : cases) {
        SCOPED_TRACE(c.days);
        StockDays(c.days);
        Module().ClearRequests();
        form->DoneDaily = 0;
        ClickGet(form);
        ASSERT_TRUE(WaitUntil([&] { return form->DoneDaily == 1; }));
        ui_.RunUntilIdle();
        EXPECT_EQ(RequestCodes(), std::vector<uint8_t>{0x2E});
        EXPECT_EQ(form->RunState->RowCount(), c.days + 1);
        EXPECT_EQ(ui_.CellText(form->RunState, 1, 0), "    Date     ");
        if (c.days > 0) {
            EXPECT_EQ(DailyRow(form, 1), (std::vector<String>{"1", "2023-12-1", "31", "21", "41", "5"}));
            EXPECT_EQ(DailyRow(form, c.days), c.lastRow);
            EXPECT_EQ(form->RunState->FixedRows(), 1);
        }
        // Rows of the longer download before are not kept behind the count.
        EXPECT_EQ(form->RunState->Cells(0, 300), c.days == 300 ? "300" : "");
        EXPECT_TRUE(ButtonsEnabled(form));
        EXPECT_EQ(TakeBoxTexts(),
                  (std::vector<String>{"Before not present data query success tips, please do not "
                                       "perform other query!",
                                       kSuccess}));
    }
}

TEST_F(DailyRecordsTest, ADownloadHaltedPartWayKeepsThePageLockedForTenSeconds) {
    TMainForm* form = Start();
    StockDays(300);
    AddFault("halt:cmd=0x2E,at=3");  // three batches of eight
    ClickGet(form);
    ASSERT_TRUE(WaitUntil([&] { return ui_.CellText(form->RunState, 0, 120) == "120"; }));
    WaitUntil([] { return false; }, 300ms);
    EXPECT_EQ(form->RunState->RowCount(), 301);
    EXPECT_EQ(DailyRow(form, 121), std::vector<String>(6, ""));
    EXPECT_FALSE(ButtonsEnabled(form));
    EXPECT_EQ(form->DoneDaily, 0);

    ui_.AdvanceClock(10000, 100);
    EXPECT_TRUE(ButtonsEnabled(form));
    EXPECT_EQ(InfoLine(), "    Query run record fail: no records for 10 s!");
    EXPECT_EQ(TakeBoxTexts().size(), 1u);  // the question only
}

TEST_F(DailyRecordsTest, SaveAsWritesTheRowsShownAndReplacesAConfirmedFile) {
    TMainForm* form = Start();
    StockDays(300);
    ClickGet(form);
    ASSERT_TRUE(WaitUntil([&] { return form->DoneDaily == 1; }));

    ui_.ChooseNextFile("daily.csv");
    ui_.Click(form->TeButton18);
    const TFileRequest& asked = ui_.Dialogs().Files().back().request;
    EXPECT_TRUE(asked.save);
    EXPECT_EQ(asked.title, "Save Records As");
    EXPECT_EQ(asked.filter, "RunRecords(*.csv)|*.csv");
    EXPECT_EQ(asked.initialDir, AppPath("Alarm_Data"));
    EXPECT_TRUE(asked.options.Contains(ofOverwritePrompt));
    EXPECT_TRUE(asked.options.Contains(ofHideReadOnly));

    const std::string path = AppPath("Alarm_Data/daily.csv");
    const std::vector<std::string> lines = CrLfLines(path);
    ASSERT_EQ(lines.size(), 301u);
    EXPECT_EQ(lines[0],
              "  Serial Num,   Date,  Cell Max.TEMP,  Ambin Max.TEMP,Daily DisChg Cap(AH),Daily Chg Cap(%),");
    EXPECT_EQ(lines[1], "1,2023-12-1,31,21,41,5,");
    EXPECT_EQ(lines[300], "300,2024-9-25,30,20,-3,45,");

    // Onto the same file, the replacement confirmed in the dialog: it holds what the grid shows now.
    ui_.Click(form->TeButton19);
    TakeBoxTexts();
    ui_.ChooseNextFile("daily.csv");
    ui_.AnswerNextBox(mrYes);
    ui_.Click(form->TeButton18);
    EXPECT_EQ(CrLfLines(path), std::vector<std::string>{lines[0]});
    EXPECT_EQ(TakeBoxTexts().size(), 1u);  // the dialog's question only

    // A file that cannot be made says so.
    ui_.ChooseNextFile(AppPath("no-such-folder/daily.csv"));
    ui_.Click(form->TeButton18);
    EXPECT_EQ(TakeBoxTexts(), std::vector<String>{"Error creating history warning record file!"});

    // The proposed name is the time of the save.
    ui_.ChooseNextFile(std::nullopt);
    ui_.Click(form->TeButton18);
    EXPECT_TRUE(ui_.Dialogs().Files().back().request.fileName.ends_with("_RunRecords.csv"));
}

TEST_F(DailyRecordsTest, SaveBeforeAnyDownloadWritesTheEmptyRows) {
    TMainForm* form = Start();
    ui_.ChooseNextFile("empty.csv");
    ui_.Click(form->TeButton18);
    const std::vector<std::string> lines = CrLfLines(AppPath("Alarm_Data/empty.csv"));
    ASSERT_EQ(lines.size(), 50u);
    for (size_t i = 1; i < lines.size(); ++i) EXPECT_EQ(lines[i], ",,,,,,");
}

TEST_F(DailyRecordsTest, ClearEmptiesEveryRowAndKeepsTheTitles) {
    TMainForm* form = Start();
    StockDays(300);
    ClickGet(form);
    ASSERT_TRUE(WaitUntil([&] { return form->DoneDaily == 1; }));
    ui_.Click(form->TeButton19);
    EXPECT_EQ(form->RunState->RowCount(), 1);
    EXPECT_EQ(ui_.CellText(form->RunState, 0, 0), "   Records   ");
    form->RunState->SetRowCount(301);
    for (int row : {1, 150, 300}) EXPECT_EQ(DailyRow(form, row), std::vector<String>(6, ""));
    EXPECT_EQ(form->DoneDaily, 1);
    EXPECT_TRUE(ButtonsEnabled(form));
}

TEST_F(DailyRecordsTest, GetRefusedOrDeclinedSendsNothing) {
    TMainForm* form = Start();
    ui_.AnswerNextBox(mrNo);
    ui_.Click(form->TeButton17);
    EXPECT_EQ(TakeBoxTexts().size(), 1u);

    form->LoggedIn = 0;
    ui_.Click(form->TeButton17);
    EXPECT_EQ(InfoLine(), "    Please login frist!");
    EXPECT_EQ(InfoColor(), kFailureColor);
    EXPECT_TRUE(TakeBoxTexts().empty());

    WaitUntil([] { return false; }, 300ms);
    EXPECT_TRUE(Module().Requests().empty());
    EXPECT_TRUE(ButtonsEnabled(form));
}

TEST_F(DailyRecordsTest, BatchesOutOfOrderEndWithTheLastRecord) {
    TMainForm* form = Start();
    AddFault("silent:cmd=0x2E,times=0");  // the test hands in the replies
    ClickGet(form);
    ASSERT_TRUE(WaitUntil([&] { return !Module().Requests().empty(); }));
    TakeBoxTexts();

    Receive(DailyReply(100, 40, 40));
    ui_.RunUntilIdle();
    EXPECT_EQ(form->RunState->RowCount(), 101);
    EXPECT_EQ(DailyRow(form, 40), CraftedRow(40));
    EXPECT_FALSE(ButtonsEnabled(form));
    EXPECT_EQ(form->DoneDaily, 0);

    // The batch of rows 41-80 is skipped: the last one still ends the download.
    Receive(DailyReply(100, 100, 20));
    ui_.RunUntilIdle();
    EXPECT_EQ(DailyRow(form, 81), CraftedRow(81));
    EXPECT_EQ(DailyRow(form, 100), CraftedRow(100));
    EXPECT_EQ(DailyRow(form, 60), std::vector<String>(6, ""));
    EXPECT_TRUE(ButtonsEnabled(form));
    EXPECT_EQ(form->DoneDaily, 1);
    EXPECT_EQ(TakeBoxTexts(), std::vector<String>{kSuccess});

    // A late batch of the same download is placed without another box.
    Receive(DailyReply(100, 80, 40));
    ui_.RunUntilIdle();
    EXPECT_EQ(DailyRow(form, 60), CraftedRow(60));
    EXPECT_TRUE(TakeBoxTexts().empty());
}

TEST_F(DailyRecordsTest, ADownloadThatStopsGivesThePageBackAfterTenSeconds) {
    TMainForm* form = Start();
    AddFault("silent:cmd=0x2E,times=0");
    ClickGet(form);
    ASSERT_TRUE(WaitUntil([&] { return !Module().Requests().empty(); }));
    Receive(DailyReply(100, 40, 40));
    ui_.RunUntilIdle();
    ui_.AdvanceClock(9000, 100);
    Receive(DailyReply(100, 80, 40));  // each batch starts the ten seconds again
    ui_.AdvanceClock(9000, 100);
    EXPECT_FALSE(ButtonsEnabled(form));

    ui_.AdvanceClock(1500, 100);
    EXPECT_TRUE(ButtonsEnabled(form));
    EXPECT_EQ(InfoLine(), "    Query run record fail: no records for 10 s!");
    EXPECT_EQ(InfoColor(), kFailureColor);
    EXPECT_TRUE(LastLogLine().ends_with("Query run record fail: no records for 10 s!"));
    EXPECT_EQ(form->DoneDaily, 0);
    EXPECT_EQ(DailyRow(form, 80), CraftedRow(80));
}

}  // namespace
}  // namespace tarvel::testing
