// Every shown telemetry reading goes to "DataAccess" beside the executable:
// a CSV line, then a database row, both with the texts the grid shows.

#include <chrono>
#include <thread>

#include "platform/base/Strings.h"
#include "platform/winsys/MessageApi.h"
#include "platform/winsys/WinMessages.h"
#include "records/ReadingDatabase.h"
#include "tests/app/TelemetryFixture.h"

namespace tarvel::testing {
namespace {

using ReadingStoreOfTheWindow = TelemetryWindowTest;

// The pieces of `text`, each of which ends with `end`: the lines of a CSV
// file end with CR LF, and their fields with ",".
std::vector<std::string> EndedBy(const std::string& text, const std::string& end) {
    std::vector<std::string> pieces;
    size_t start = 0;
    for (size_t at; (at = text.find(end, start)) != std::string::npos; start = at + end.size())
        pieces.push_back(text.substr(start, at - start));
    EXPECT_EQ(text.substr(start), "") << "a piece without its end";
    return pieces;
}
std::vector<std::string> Lines(const std::string& text) { return EndedBy(text, "\r\n"); }
std::vector<std::string> Fields(const std::string& line) { return EndedBy(line, ","); }

TEST_F(ReadingStoreOfTheWindow, StartUpSetsTheTableChoicesAndOpensNothing) {
    const struct {
        TTeComboBox* box;
        std::vector<String> items;
        const char* text;
    } cases[] = {
        {form_->DQ_Table, {"SingleModule", "MoreModule"}, "SingleModule"},
        {form_->DQ_SeqNum, {}, "All"},
        {form_->DQ_OrderMode, {}, "RecordTime"},
        {form_->DBC_Table, {"SingleModule", "MoreModule"}, "SingleModule"},
        {form_->DBC_Curve, {"BATT", "Current"}, "BATT"},
    };
    for (const auto& c : cases) {
        ASSERT_NE(c.box, nullptr);
        SCOPED_TRACE(c.box->Name());
        EXPECT_EQ(ui_.Text(c.box), c.text);
        if (c.items.empty()) continue;  // a text without choices of its own
        std::vector<String> items;
        for (int i = 0; i < c.box->Count(); ++i) items.push_back(c.box->GetItems()->Strings(i));
        EXPECT_EQ(items, c.items);
    }
    EXPECT_EQ(ui_.Text(form_->DBC_SeqNum), ui_.CellText(form_->SG_SerialNum, 0, 0));
    EXPECT_FALSE(FileExists(DataFile("Data.db")));
}

TEST_F(ReadingStoreOfTheWindow, EachReadingIsOneCsvLineAndOneRowOfWhatTheGridShows) {
    telemetry_.current = -1000;
    telemetry_.alarm = 0x80000000;
    Show();
    std::vector<std::string> shown = {Cell(4, 18)};
    for (int row = 0; row < 19; ++row) shown.push_back(Cell(1, row));
    for (int row = 0; row < 18; ++row) shown.push_back(Cell(4, row));
    telemetry_.pack = 40000;
    Show();

    const std::vector<std::string> lines = Lines(ReadFileText(DataFile("NoModule.csv")));
    ASSERT_EQ(lines.size(), 3u);
    EXPECT_EQ(Fields(lines[0]).front(), "RecordTime");
    EXPECT_EQ(Fields(lines[0])[1], "PACK");
    EXPECT_EQ(Fields(lines[1]), shown);
    EXPECT_EQ(Fields(lines[2])[1], "40000");

    DrainReadings();
    ReadingDatabase db(DataFile("Data.db"));
    const auto rows =
        db.SelectDays(ReadingTable::NoModule, "2000-01-01", "2999-12-31", std::nullopt, "").rows;
    ASSERT_EQ(rows.size(), 2u);
    // Values only: the row's time is the PC's, to the second.
    EXPECT_EQ(std::vector<std::string>(rows[0].begin() + 1, rows[0].end()),
              std::vector<std::string>(shown.begin() + 1, shown.end()));
    EXPECT_EQ(rows[1][1], "40000");
    EXPECT_FALSE(FileExists(DataFile("SingleModule.csv")));
}

TEST_F(ReadingStoreOfTheWindow, ADeletedCsvFileStartsAgainWithItsHeader) {
    Show();
    std::filesystem::remove(DataFile("NoModule.csv"));
    Show();
    const std::vector<std::string> lines = Lines(ReadFileText(DataFile("NoModule.csv")));
    ASSERT_EQ(lines.size(), 2u);
    EXPECT_EQ(Fields(lines[0]).size(), 38u);
    EXPECT_EQ(Fields(lines[1]).size(), 38u);
}

// A damaged database costs the row, not the reading: the CSV line is kept,
// the chain goes on, and the failure is told on the info line, in the
// information log once, and in no box that would stop the window.
TEST_F(ReadingStoreOfTheWindow, AFailedInsertIsReportedOnceAndKeepsTheCsvLine) {
    WriteFileText(DataFile("Data.db"), std::string(4096, 'x'));
    const size_t boxes = ui_.Boxes().size();
    Show();
    Show();
    DrainReadings();
    EXPECT_EQ(Lines(ReadFileText(DataFile("NoModule.csv"))).size(), 3u);
    EXPECT_EQ(form_->DoneTsbs, 1);
    EXPECT_EQ(ui_.Boxes().size(), boxes);
    EXPECT_EQ(ReadFileText(DataFile("Data.db")), std::string(4096, 'x'));

    const String told = form_->L_Info->Caption();
    EXPECT_NE(told.find("Fail to store the reading in the database"), String::npos) << told;
    EXPECT_NE(told.find("not a database"), String::npos) << told;
    EXPECT_EQ(form_->L_Info->Color(), 0x6A6AFFu);
    int logged = 0;
    for (int i = 0; i < form_->RE_Info->Lines()->Count(); ++i)
        logged += form_->RE_Info->Lines()->Strings(i).find("database") != String::npos;
    EXPECT_EQ(logged, 1) << form_->RE_Info->Lines()->Text();
}

TEST_F(ReadingStoreOfTheWindow, WithoutTheFolderTheReadingIsStillShown) {
    std::filesystem::remove_all(folder_.Path() / "DataAccess");
    const size_t boxes = ui_.Boxes().size();
    telemetry_.pack = 12345;
    Show();
    EXPECT_EQ(Cell(1, 0), "12345");
    EXPECT_EQ(form_->DoneTsbs, 1);
    EXPECT_EQ(ui_.Boxes().size(), boxes);
    EXPECT_NE(form_->L_Info->Caption().find("Fail to build record file!"), String::npos);
}

// Readings held back by another program's lock are waited for when the
// window closes; none is left behind.
TEST_F(ReadingStoreOfTheWindow, ClosingWaitsForTheRowsTheDatabaseHeldBack) {
    Show();
    DrainReadings();
    Database other(DataFile("Data.db"));
    other.Execute("BEGIN EXCLUSIVE");
    Show();
    Show();
    ASSERT_EQ(form_->Readings->Pending(), 2u);
    std::thread release([&] {
        std::this_thread::sleep_for(std::chrono::milliseconds(1500));
        other.Execute("COMMIT");
    });
    PostMessage(form_->Handle(), WM_CLOSE, 0, 0);
    ui_.RunUntilIdle();
    release.join();
    EXPECT_EQ(form_->Readings->Pending(), 0u);
    ReadingDatabase db(DataFile("Data.db"));
    EXPECT_EQ(db.SelectDays(ReadingTable::NoModule, "2000-01-01", "2999-12-31", std::nullopt, "").rows.size(),
              3u);
}

}  // namespace
}  // namespace tarvel::testing
