// The record pages as a person uses them, every press made by the X server:
// the history alarms and the daily records downloaded in several replies
// and saved as CSV files that read back as the grids show them; the most
// recent alarms asked for in their dialog, and the module's records erased
// after the question answered Yes.

#include "app/GetHis.h"
#include "tests/app/xvfb/ScreenFiles.h"

namespace tarvel {
namespace {

class RecordPagesE2e : public ToolPagesOnX11 {
protected:
    void StockRecords(uint16_t alarms, uint16_t days) {
        line->Sim().UpdateModule(0, [&](sim::ModuleState& m) {
            m.records.alarms = alarms;
            m.records.days = days;
        });
    }
    // The grid's data rows, each as wide as the grid's columns.
    static std::vector<testing::CsvRow> GridRows(TStringGrid* grid) {
        std::vector<testing::CsvRow> rows;
        for (int row = 1; row < grid->RowCount(); ++row) {
            testing::CsvRow& cells = rows.emplace_back();
            for (int col = 0; col < grid->ColCount(); ++col) cells.push_back(grid->Cells(col, row));
        }
        return rows;
    }
    // The file read back by the CSV rules; a failure when it does not parse.
    static std::vector<testing::CsvRow> ReadCsvFile(const fs::path& path) {
        const auto rows = testing::ParseCsv(ReadFileText(path));
        if (!rows) ADD_FAILURE() << path << " is no CSV text";
        return rows.value_or(std::vector<testing::CsvRow>{});
    }
    static bool Sent(sim::Simulator& sim, uint8_t code) {
        for (const auto& request : sim.Requests())
            if (request.size() > 4 && request[4] == code) return true;
        return false;
    }
    static constexpr const char* kAskBeforeDownload =
        "Before not present data query success tips, please do not perform other queries!";
};

TEST_F(RecordPagesE2e, HistoryAlarmsDownloadedAndSaved) {
    StockRecords(12, 40);  // three replies: 5, 5 and 2 records
    StartTool();
    ASSERT_NO_FATAL_FAILURE(OpenAndLogIn());
    ASSERT_TRUE(ShowPage(MainForm->TS_HisAlarm));

    AnswerBox("Yes");
    AnswerBox("OK", "e2e-alarms-success-box.png");
    ASSERT_TRUE(Click("GetHisAlarm"));
    ASSERT_TRUE(Await([&] { return seen.size() >= 2; })) << InfoLine();
    EXPECT_EQ(seen[0].text, kAskBeforeDownload);
    EXPECT_EQ(seen[1].text, "Get Alarm Records Success!");
    TStringGrid* grid = MainForm->SG_HisAlarm;
    ASSERT_EQ(grid->RowCount(), 13);
    for (int row = 1; row <= 12; ++row) {
        EXPECT_EQ(grid->Cells(0, row), IntToStr(row));
        EXPECT_FALSE(grid->Cells(1, row).empty()) << row;
        EXPECT_FALSE(grid->Cells(28, row).empty()) << row;
    }
    for (const char* name :
         {"GetHisAlarm", "GetanyHisAlarm", "SaveHisAlarm", "ClearLookData", "ClearHisAlarm"})
        EXPECT_TRUE(Control(name)->Enabled()) << name;

    const fs::path saved = folder.Path() / "alarms.csv";
    AnswerFileDialog(saved.string(), "e2e-alarms-save-dialog.png");
    ASSERT_TRUE(Click("SaveHisAlarm"));
    ASSERT_TRUE(Await([&] { return fs::exists(saved); }));
    EXPECT_EQ(dialogTitles, std::vector<String>{"Save Records To"});
    const std::vector<testing::CsvRow> rows = ReadCsvFile(saved);
    ASSERT_EQ(rows.size(), 13u);
    // The title line ends every title with a comma, the record lines do not.
    ASSERT_EQ(rows[0].size(), 30u);
    EXPECT_EQ(rows[0][0], "  Num");
    EXPECT_EQ(rows[0][28], "Vol.16");
    EXPECT_EQ(std::vector<testing::CsvRow>(rows.begin() + 1, rows.end()), GridRows(grid));
    EXPECT_NE(ReadFileText(saved).find("\r\n"), std::string::npos);

    // A file that cannot be made is said so in a box; the rows stay.
    const fs::path nowhere = folder.Path() / "missing" / "alarms.csv";
    AnswerFileDialog(nowhere.string());
    AnswerBox("OK", "e2e-alarms-save-failed-box.png");
    ASSERT_TRUE(Click("SaveHisAlarm"));
    ASSERT_TRUE(Await([&] { return seen.size() >= 5; }));
    EXPECT_EQ(seen.back().text, "Creat Alarm Records File Fail！");
    EXPECT_FALSE(fs::exists(nowhere));
    EXPECT_EQ(GridRows(grid).size(), 12u);
    Settle(MainForm->Handle());
    EXPECT_TRUE(Save(MainForm, "e2e-history-alarms.png"));
}

TEST_F(RecordPagesE2e, DailyRecordsDownloadedAndSaved) {
    StockRecords(5, 90);  // three replies: 40, 40 and 10 records
    StartTool();
    ASSERT_NO_FATAL_FAILURE(OpenAndLogIn());
    ASSERT_TRUE(ShowPage(MainForm->TeTabSheet2));

    AnswerBox("Yes");
    AnswerBox("OK");
    ASSERT_TRUE(Click("TeButton17"));
    ASSERT_TRUE(Await([&] { return seen.size() >= 2; })) << InfoLine();
    EXPECT_EQ(seen[0].text, "Before not present data query success tips, please do not perform other query!");
    EXPECT_EQ(seen[1].text, "Query run record success!");
    TStringGrid* grid = MainForm->RunState;
    ASSERT_EQ(grid->RowCount(), 91);
    // Day 1 is 2023-12-01; day 10 discharged -3 Ah.
    EXPECT_EQ(grid->Cells(1, 1), "2023-12-1");
    EXPECT_EQ(grid->Cells(4, 10), "-3");
    EXPECT_EQ(grid->Cells(0, 90), "90");

    const fs::path saved = folder.Path() / "days.csv";
    AnswerFileDialog(saved.string());
    ASSERT_TRUE(Click("TeButton18"));
    ASSERT_TRUE(Await([&] { return fs::exists(saved); }));
    EXPECT_EQ(dialogTitles, std::vector<String>{"Save Records As"});
    const std::vector<testing::CsvRow> rows = ReadCsvFile(saved);
    ASSERT_EQ(rows.size(), 91u);
    // Every field is followed by a comma: seven fields, the last one empty.
    for (const testing::CsvRow& row : rows) ASSERT_EQ(row.size(), 7u);
    EXPECT_EQ(rows[0][0], "  Serial Num");
    EXPECT_EQ(rows[0][5], "Daily Chg Cap(%)");
    std::vector<testing::CsvRow> cells;
    for (size_t i = 1; i < rows.size(); ++i) cells.emplace_back(rows[i].begin(), rows[i].end() - 1);
    EXPECT_EQ(cells, GridRows(grid));
    Settle(MainForm->Handle());
    EXPECT_TRUE(Save(MainForm, "e2e-daily-records.png"));

    // Saved again onto that file: No to the replace question brings the
    // dialog back and Cancel there leaves the file; Yes replaces it with what
    // the grid holds now.
    ASSERT_TRUE(Click("TeButton19"));
    EXPECT_EQ(grid->RowCount(), 1);
    const std::string before = ReadFileText(saved);
    AnswerFileDialog(saved.string());
    AnswerBox("No", "e2e-daily-replace-box.png");
    WhenModal([this](TCustomForm* dialog) { ASSERT_TRUE(Click(Control(dialog, "Cancel"))); });
    ASSERT_TRUE(Click("TeButton18"));
    ASSERT_TRUE(Await([&] { return answers.empty() && !testing::ShowingModalForm(); }));
    ASSERT_GE(seen.size(), 3u);
    EXPECT_EQ(seen[seen.size() - 2].text, "days.csv already exists.\nDo you want to replace it?");
    EXPECT_EQ(ReadFileText(saved), before);
    AnswerFileDialog(saved.string());
    AnswerBox("Yes");
    ASSERT_TRUE(Click("TeButton18"));
    ASSERT_TRUE(Await([&] { return ReadFileText(saved) != before; }));
    EXPECT_EQ(ReadCsvFile(saved).size(), 1u);
}

// The module pulled away in the middle of a download: the loss stays on the
// info line, the rows that came stay, and the page's buttons come back at
// once rather than after the download's silence watch.
TEST_F(RecordPagesE2e, AModuleLostDuringADownloadFreesThePageAndStaysNamed) {
    StockRecords(12, 90);
    for (uint8_t code : {uint8_t{0x19}, uint8_t{0x2E}}) {
        sim::Fault halt;
        halt.kind = sim::FaultKind::Halt;
        halt.command = code;
        halt.at = 1;
        line->Sim().AddFault(halt);
    }
    StartTool();
    ASSERT_NO_FATAL_FAILURE(OpenAndLogIn());
    ASSERT_TRUE(ShowPage(MainForm->TeTabSheet2));
    AnswerBox("Yes");
    ASSERT_TRUE(Click("TeButton17"));
    ASSERT_TRUE(Await([] { return MainForm->RunState->Cells(0, 40) == "40"; })) << InfoLine();
    ASSERT_TRUE(ShowPage(MainForm->TS_HisAlarm));
    AnswerBox("Yes");
    ASSERT_TRUE(Click("GetHisAlarm"));
    ASSERT_TRUE(Await([] { return MainForm->SG_HisAlarm->Cells(0, 5) == "5"; })) << InfoLine();
    EXPECT_FALSE(MainForm->GetHisAlarm->Enabled());
    EXPECT_FALSE(MainForm->TeButton17->Enabled());

    line->Stop();
    ASSERT_TRUE(Await([] { return MainForm->PortOpen == 0; }));
    // Both pages free again with the loss, not when their downloads' silence watches end.
    for (const char* name : {"GetHisAlarm", "GetanyHisAlarm", "SaveHisAlarm", "ClearLookData",
                             "ClearHisAlarm", "TeButton18", "TeButton19"})
        EXPECT_TRUE(Control(name)->Enabled()) << name;
    EXPECT_FALSE(MainForm->HisAlarmSilence->Enabled());
    EXPECT_FALSE(MainForm->DailyWatch->Enabled());
    EXPECT_EQ(InfoLine(), "Serial port lost!");
    EXPECT_EQ(PixelIn(MainForm->L_Info, TPoint{2, 2}), kFailureColor);
    EXPECT_EQ(MainForm->SG_HisAlarm->Cells(1, 5).empty(), false);
    EXPECT_EQ(MainForm->RunState->Cells(1, 40).empty(), false);
    Settle(MainForm->Handle());
    EXPECT_TRUE(Save(MainForm, "e2e-download-lost.png"));
}

TEST_F(RecordPagesE2e, RecentRecordsThenTheModuleErased) {
    StockRecords(12, 40);
    StartTool();
    ASSERT_NO_FATAL_FAILURE(OpenAndLogIn());
    ASSERT_TRUE(ShowPage(MainForm->TS_HisAlarm));

    // The dialog: a count out of range is refused and the dialog stays; then
    // three, the question answered Yes, and the dialog closes.
    WhenModal(
        [this](TCustomForm* dialog) {
            EXPECT_EQ(dialog->Caption(), "Get Recent Records");
            AnswerBox("OK", "e2e-recent-range-box.png");
            ASSERT_TRUE(TypeInto(Control(dialog, "GetHisSetNum"), "300"));
            ASSERT_TRUE(Click(Control(dialog, "GetHis1")));
            ASSERT_TRUE(Await([&] { return seen.size() >= 2; }));
            EXPECT_EQ(seen.back().text,
                      "Read part of the records the number range of 0 ~ 256, please reset!");
            EXPECT_TRUE(dialog->Visible());
            // A count that is no number: the box names the field as shown.
            AnswerBox("OK");
            ASSERT_TRUE(TypeInto(Control(dialog, "GetHisSetNum"), "x5"));
            ASSERT_TRUE(Click(Control(dialog, "GetHis1")));
            ASSERT_TRUE(Await([&] { return seen.size() >= 3; }));
            EXPECT_EQ(seen.back().text, "Get Current: 'x5' is not a valid integer value.");
            EXPECT_TRUE(dialog->Visible());
            AnswerBox("Yes");
            AnswerBox("OK");
            ASSERT_TRUE(TypeInto(Control(dialog, "GetHisSetNum"), "3"));
            ASSERT_TRUE(Click(Control(dialog, "GetHis1")));
        },
        "e2e-recent-records-dialog.png");
    ASSERT_TRUE(Click("GetanyHisAlarm"));
    ASSERT_TRUE(Await([&] { return seen.size() >= 5; })) << InfoLine();
    EXPECT_EQ(seen[3].text, kAskBeforeDownload);
    EXPECT_EQ(seen[4].text, "Get Alarm Records Success!");
    EXPECT_EQ(GetHisSet->Visible(), false);
    TStringGrid* grid = MainForm->SG_HisAlarm;
    ASSERT_EQ(grid->RowCount(), 4);
    EXPECT_EQ(grid->Cells(0, 3), "3");
    EXPECT_FALSE(grid->Cells(1, 3).empty());

    // The erase asks first; No leaves everything, Yes sends it and empties the grid.
    AnswerBox("No");
    ASSERT_TRUE(Click("ClearHisAlarm"));
    ASSERT_TRUE(Await([&] { return seen.size() >= 6; }));
    EXPECT_EQ(seen[5].text, "将清空存储器中所有历史数据，请检测是否已保存所需数据!");
    EXPECT_FALSE(Sent(line->Sim(), 0x1A));
    EXPECT_EQ(grid->RowCount(), 4);
    const String log = MainForm->RE_Info->Lines()->Text();
    AnswerBox("Yes", "e2e-erase-question-box.png");
    ASSERT_TRUE(Click("ClearHisAlarm"));
    ASSERT_TRUE(Await([&] { return seen.size() >= 7; }));
    ASSERT_TRUE(Await([&] { return Sent(line->Sim(), 0x1A); }));
    EXPECT_EQ(grid->RowCount(), 1);
    // The module's acknowledgement, a line without a name, is the erase's
    // only confirmation.
    ASSERT_TRUE(Await([&] { return MainForm->RE_Info->Lines()->Text() != log; }));
    EXPECT_EQ(InfoLine(), "...  Succeed!");
    EXPECT_EQ(PixelIn(MainForm->L_Info, TPoint{2, 2}), kSuccessColor);
    Settle(MainForm->Handle());
    EXPECT_TRUE(Save(MainForm, "e2e-records-erased.png"));
}

}  // namespace
}  // namespace tarvel
