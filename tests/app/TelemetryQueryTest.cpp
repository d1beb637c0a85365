// The telemetry query end to end: login, "Execute" on the telemetry page,
// the simulated module's reply in the grid, the lamps and the gauge, and the
// reading in the CSV file and the database.

#include <algorithm>

#include "records/ReadingDatabase.h"
#include "telemetry/StatusWords.h"
#include "tests/app/LinkFixture.h"

namespace tarvel::testing {
namespace {

using TelemetryQueryTest = LinkTest;

TEST_F(TelemetryQueryTest, AQueryShowsAndStoresTheModulesReading) {
    std::filesystem::create_directories(folder_.Path() / "DataAccess");
    TMainForm* form = StartLinked();
    Module().UpdateModule(kModuleAddress, [](sim::ModuleState& m) {
        m.telemetry.alarm = 1u << 2;
        m.telemetry.battState = 1;
        m.telemetry.soc = 64;
    });
    ASSERT_TRUE(form->OpenPort());
    form->TB_LOG->Click();
    ASSERT_TRUE(WaitUntil([&] { return form->LoggedIn == 1; }));

    form->PC_All->SetActivePage(form->TS_TSBS);
    ui_.Click(form->B_Query);
    ASSERT_TRUE(WaitUntil([&] { return form->DoneTsbs == 1; }));
    EXPECT_EQ(Module().Requests().back(), BuildRequest(kModuleAddress, CmdQuerySbs));

    const sim::Telemetry sent = Module().Module(kModuleAddress).telemetry;
    EXPECT_EQ(ui_.CellText(form->SG_TSBS, 1, 0), std::to_string(sent.pack));
    EXPECT_EQ(ui_.CellText(form->SG_TSBS, 1, 18), std::to_string(sent.current));
    EXPECT_EQ(ui_.CellText(form->SG_TSBS, 4, 9), "4");
    EXPECT_EQ(ui_.Find<TShape>(form, "S_Alarm3")->Brush()->Color(), StatusColour::Alarm);
    EXPECT_EQ(ui_.Find<TShape>(form, "S_ChgStatus")->Brush()->Color(), StatusColour::Charging);
    EXPECT_EQ(form->TSBS_BatRunState->BackColor(), StatusColour::Alarm);
    EXPECT_EQ(form->TSBS_BatRunState->Progress(), 64);
    EXPECT_EQ(InfoLine(), "    Query SBS data...  Succeed!");

    const String csv = ReadFileText(AppPath("DataAccess/NoModule.csv"));
    EXPECT_NE(csv.find("\r\n" + ui_.CellText(form->SG_TSBS, 4, 18) + "," + std::to_string(sent.pack) + ","),
              String::npos)
        << csv;
    DrainReadings();
    ReadingDatabase db(AppPath("DataAccess/Data.db"));
    const auto rows = [&] {
        return db.SelectDays(ReadingTable::NoModule, "2000-01-01", "2999-12-31", std::nullopt, "").rows;
    };
    ASSERT_EQ(rows().size(), 1u);
    EXPECT_EQ(rows()[0][1], std::to_string(sent.pack));

    // The next reading adds one line and one row, no more.
    const auto lines = [](const String& text) { return std::count(text.begin(), text.end(), '\n'); };
    const auto csvLines = lines(csv);
    form->DoneTsbs = 0;
    ui_.Click(form->B_Query);
    ASSERT_TRUE(WaitUntil([&] { return form->DoneTsbs == 1; }));
    const String pack = std::to_string(Module().Module(kModuleAddress).telemetry.pack);
    EXPECT_EQ(ui_.CellText(form->SG_TSBS, 1, 0), pack);
    EXPECT_EQ(lines(ReadFileText(AppPath("DataAccess/NoModule.csv"))), csvLines + 1);
    DrainReadings();
    const auto after = rows();
    ASSERT_EQ(after.size(), 2u);
    EXPECT_TRUE(after[0][1] == pack || after[1][1] == pack);
}

}  // namespace
}  // namespace tarvel::testing
