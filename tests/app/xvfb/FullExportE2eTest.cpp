// The full data export as a person runs it, every press made by the X
// server: "Get ALL Data" clicked, the success box answered, the status shown
// in green, the export file read back by the CSV rules (each section's rows
// as wide as its title line, the texts with commas whole in one field), and
// the file shown by "Get DateFile".

#include "platform/classlib/StdCtrls.h"
#include "tests/app/xvfb/ScreenFiles.h"

namespace tarvel {
namespace {

class FullExportE2e : public ToolPagesOnX11 {};

TEST_F(FullExportE2e, GetAllDataWritesAFileThatReadsBackColumnForColumn) {
    line->Sim().UpdateModule(0, [](sim::ModuleState& m) {
        m.records.alarms = 12;
        m.records.days = 50;
    });
    StartTool();
    ASSERT_NO_FATAL_FAILURE(OpenAndLogIn());
    ASSERT_TRUE(ShowPage(MainForm->TeTabSheet1));

    AnswerBox("OK", "e2e-export-success-box.png");
    ASSERT_TRUE(Click("TeButton16"));
    ASSERT_TRUE(Await([&] { return !seen.empty(); })) << InfoLine();
    EXPECT_EQ(seen.back().text, "Get ALL Data Success!");
    EXPECT_EQ(MainForm->Label65->Caption(), "Get ALL Data Success !");
    Settle(MainForm->Handle());
    // Right of the text, the label's own colour.
    const TPoint besideText{MainForm->Label65->Width() - 3, MainForm->Label65->Height() / 2};
    EXPECT_EQ(PixelIn(MainForm->Label65, besideText), static_cast<TColor>(0x00FF00));
    for (TTeCheckBox* step : MainForm->ExportStepChecks) EXPECT_TRUE(step->Checked()) << step->Name();
    EXPECT_TRUE(MainForm->TS_TBMS->PageVisible());
    EXPECT_TRUE(MainForm->TeButton16->Enabled());

    // One file, under its final name.
    const fs::path exports = folder.Path() / "Export DataAccess";
    std::vector<fs::path> files;
    for (const auto& entry : fs::directory_iterator(exports)) files.push_back(entry.path());
    ASSERT_EQ(files.size(), 1u);
    const std::string name = files[0].filename().string();
    EXPECT_TRUE(name.starts_with("TBM2024000100_") && name.ends_with("_Success.csv")) << name;

    const std::string text = ReadFileText(files[0]);
    EXPECT_EQ(text.find('\0'), std::string::npos) << "a zero byte in the file";
    const auto parsed = testing::ParseCsv(text);
    ASSERT_TRUE(parsed) << "the export is no CSV text";
    const std::vector<testing::CsvRow>& rows = *parsed;
    // Header, five readings, ",", 29 titles and 12 alarms, ",", 6 titles and 50 days.
    ASSERT_EQ(rows.size(), 1u + 5 + 1 + 1 + 12 + 1 + 1 + 50);
    // Each section's lines are as wide as its title line: every field ends with a comma.
    const struct {
        size_t title, first, last, width;
    } sections[] = {{0, 1, 5, 44}, {7, 8, 19, 30}, {21, 22, 71, 7}};
    for (const auto& s : sections) {
        ASSERT_EQ(rows[s.title].size(), s.width) << "title line " << s.title;
        for (size_t r = s.first; r <= s.last; ++r) EXPECT_EQ(rows[r].size(), s.width) << "line " << r;
    }
    EXPECT_EQ(rows[6], (testing::CsvRow{"", ""}));
    EXPECT_EQ(rows[20], (testing::CsvRow{"", ""}));
    EXPECT_EQ(rows[0][4], "Function Version");
    EXPECT_EQ(rows[0][5], "Runtime(Min)");
    EXPECT_EQ(rows[0][42], "TotalDiscSOC");
    for (size_t r = 1; r <= 5; ++r) {
        EXPECT_EQ(rows[r][1], "TBM2024000100");
        EXPECT_EQ(rows[r][2], "100");
        EXPECT_EQ(rows[r][3], "1-2-3/2024.05.09/BMS-HW-V2.1,48V100AH");
        EXPECT_EQ(rows[r][4], "16S LFP, balance, heater");
        EXPECT_EQ(rows[r][5], MainForm->SG_History->Cells(1, 0));
        EXPECT_FALSE(rows[r][5].empty());
    }
    // The last reading is the one the telemetry grid still shows.
    for (int row = 0; row < 19; ++row) EXPECT_EQ(rows[5][6 + row], MainForm->SG_TSBS->Cells(1, row)) << row;
    for (int row = 0; row < 18; ++row) EXPECT_EQ(rows[5][25 + row], MainForm->SG_TSBS->Cells(4, row)) << row;
    EXPECT_EQ(rows[7][0], "History Num");
    EXPECT_EQ(rows[19][0], "12");
    EXPECT_EQ(rows[21][0], "Daily Records Num");
    EXPECT_EQ(rows[71][0], "50");
    EXPECT_EQ(rows[22][1], "2023-12-1");

    // "Get DateFile" shows the export folder with the file in it.
    WhenModal(
        [this, name](TCustomForm* dialog) {
            EXPECT_EQ(dialog->Caption(), "Data Direct");
            auto* list = dynamic_cast<TListBox*>(testing::FindNamed(dialog, "Files"));
            ASSERT_NE(list, nullptr);
            EXPECT_EQ(list->Items()->Count(), 1);
            if (list->Items()->Count() == 1) EXPECT_EQ(list->Items()->Strings(0), name);
            ASSERT_TRUE(Click(Control(dialog, "Cancel")));
        },
        "e2e-export-file-dialog.png");
    ASSERT_TRUE(Click("TeButton20"));
    ASSERT_TRUE(Await([] { return testing::ShowingModalForm() == nullptr; }));
    MovePointer(MainForm->Label65, TPoint{2, 2});
    Settle(MainForm->Handle());
    EXPECT_TRUE(Save(MainForm, "e2e-full-export.png"));
    // Kept for a person to read back with other tools.
    fs::copy_file(files[0], fs::path(dir) / "e2e-full-export.csv", fs::copy_options::overwrite_existing);
}

// The module pulled away during the alarm download: the export ends at
// once in red, the loss stays on the info line and the box names it, and
// the page and the port switch are usable again.
TEST_F(FullExportE2e, AModuleLostMidwayEndsTheExportInRed) {
    sim::Fault drop;
    drop.kind = sim::FaultKind::DropOff;
    drop.command = 0x19;
    line->Sim().AddFault(drop);
    StartTool();
    ASSERT_NO_FATAL_FAILURE(OpenAndLogIn());
    ASSERT_TRUE(ShowPage(MainForm->TeTabSheet1));

    AnswerBox("OK", "e2e-export-lost-box.png");
    ASSERT_TRUE(Click("TeButton16"));
    ASSERT_TRUE(Await([&] { return !seen.empty(); })) << InfoLine();
    Settle(MainForm->Handle());
    EXPECT_TRUE(Save(MainForm, "e2e-full-export-lost.png"));
    EXPECT_EQ(seen.back().text, "Get History Outtime\nSerial port lost!");
    EXPECT_EQ(InfoLine(), "Serial port lost!");
    EXPECT_EQ(PixelIn(MainForm->L_Info, TPoint{2, 2}), kFailureColor);
    EXPECT_EQ(MainForm->PortOpen, 0);
    EXPECT_EQ(MainForm->Label65->Caption(), "Get ALL Data Fail !");
    const TPoint besideText{MainForm->Label65->Width() - 3, MainForm->Label65->Height() / 2};
    EXPECT_EQ(PixelIn(MainForm->Label65, besideText), static_cast<TColor>(0x0000FF));
    EXPECT_TRUE(MainForm->TeButton16->Enabled());
    EXPECT_TRUE(MainForm->TS_TBMS->PageVisible());
    EXPECT_TRUE(MainForm->TB_COMSwitch->Enabled());
    // What was read before the loss stays in the working file.
    const auto rows =
        testing::ParseCsv(ReadFileText(folder.Path() / "Export DataAccess/TBM2024000100 Data.csv"));
    ASSERT_TRUE(rows);
    ASSERT_EQ(rows->size(), 6u);
    for (const testing::CsvRow& row : *rows) EXPECT_EQ(row.size(), 44u);
}

}  // namespace
}  // namespace tarvel
