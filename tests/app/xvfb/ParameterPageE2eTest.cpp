// The protection-parameter page as a person uses it, every press made by the
// X server: the parameters read from the module, saved to a ".bms" file,
// changed by typing into the grid, loaded back from the file, and a damaged
// file refused with nothing lost.

#include "tests/app/xvfb/ScreenFiles.h"

namespace tarvel {
namespace {

class ParameterPageE2e : public ToolPagesOnX11 {
protected:
    // The 48 value cells as the grid shows them: column 1, then column 4.
    static std::vector<String> ValueCells() {
        std::vector<String> cells;
        for (int col : {1, 4})
            for (int row = 0; row < 24; ++row) cells.push_back(MainForm->SG_TBMS->Cells(col, row));
        return cells;
    }
};

TEST_F(ParameterPageE2e, ReadSaveChangeLoadAndRefuseADamagedFile) {
    // A low-temperature limit below zero shows whether signs survive the round trip.
    line->Sim().UpdateModule(0, [](sim::ModuleState& m) {
        m.protection[128] = static_cast<uint8_t>(-20);
        m.protection[129] = 0xFF;
    });
    StartTool();
    ASSERT_NO_FATAL_FAILURE(OpenAndLogIn());
    ASSERT_TRUE(ShowPage(MainForm->TS_TBMS));

    ASSERT_TRUE(Click("B_ReadBMS"));
    ASSERT_TRUE(Await([] { return !MainForm->SG_TBMS->Cells(1, 0).empty(); })) << InfoLine();
    const std::vector<String> read = ValueCells();
    const sim::Bytes block = line->Sim().Module(0).protection;
    EXPECT_EQ(read[0], IntToStr(static_cast<int32_t>(block[0] | block[1] << 8 | block[2] << 16 |
                                                     static_cast<uint32_t>(block[3]) << 24)));
    EXPECT_EQ(read[24 + 18], "-20");  // P43, column 4 row 18
    for (size_t i = 0; i < read.size(); ++i) EXPECT_FALSE(read[i].empty()) << "P" << i + 1;

    // Saved through the save dialog: one line of the 48 values, each followed by a TAB.
    const fs::path saved = folder.Path() / "module.bms";
    AnswerFileDialog(saved.string(), "e2e-bms-save-dialog.png");
    ASSERT_TRUE(Click("TB_Save"));
    ASSERT_TRUE(Await([] { return InfoLine() == "Succeed to save BMS!"; })) << InfoLine();
    EXPECT_EQ(PixelIn(MainForm->L_Info, TPoint{2, 2}), kSuccessColor);
    std::string expected;
    for (const String& value : read) expected += value + "\t";
    const std::string text = ReadFileText(saved);
    ASSERT_FALSE(text.empty());
    EXPECT_EQ(text.substr(0, text.find_first_of("\r\n")), expected);

    // Two values changed by typing, then the file brings the read values back.
    ASSERT_TRUE(TypeIntoCell(MainForm->SG_TBMS, 1, 0, "4100"));
    ASSERT_TRUE(TypeIntoCell(MainForm->SG_TBMS, 4, 23, "-7"));
    ASSERT_EQ(MainForm->SG_TBMS->Cells(1, 0), "4100");
    ASSERT_EQ(MainForm->SG_TBMS->Cells(4, 23), "-7");
    AnswerFileDialog(saved.string());
    ASSERT_TRUE(Click("TB_Load"));
    ASSERT_TRUE(Await([] { return InfoLine() == "Succeed to load BMS!"; })) << InfoLine();
    EXPECT_EQ(ValueCells(), read);

    // A damaged file: the values it would bring are refused, the grid and the
    // file stay as they were.
    ASSERT_TRUE(TypeIntoCell(MainForm->SG_TBMS, 1, 1, "123"));
    const std::vector<String> before = ValueCells();
    const fs::path damaged = folder.Path() / "damaged.bms";
    const std::string damage = "3000\t3000\t30x0\t3000\t";
    std::ofstream(damaged, std::ios::binary) << damage;
    AnswerFileDialog(damaged.string());
    ASSERT_TRUE(Click("TB_Load"));
    ASSERT_TRUE(Await([] { return InfoLine() == "Fail to load BMS!"; })) << InfoLine();
    EXPECT_EQ(PixelIn(MainForm->L_Info, TPoint{2, 2}), kFailureColor);
    EXPECT_EQ(ValueCells(), before);
    EXPECT_EQ(ReadFileText(damaged), damage);
    EXPECT_EQ(ReadFileText(saved), text);

    // A cell that holds no number stops the save with a box naming the cell
    // as shown; no file is made.
    ASSERT_TRUE(TypeIntoCell(MainForm->SG_TBMS, 1, 2, "33a0"));
    const fs::path refused = folder.Path() / "refused.bms";
    AnswerFileDialog(refused.string());
    AnswerBox("OK", "e2e-bms-save-refused-box.png");
    ASSERT_TRUE(Click("TB_Save"));
    ASSERT_TRUE(Await([&] { return !seen.empty(); }));
    const String box = seen.back().text;
    EXPECT_NE(box.find("START IN CHG.BALANCE"), String::npos) << box;
    EXPECT_NE(box.find("'33a0'"), String::npos) << box;
    EXPECT_EQ(box.find("SG_TBMS"), String::npos) << box;
    EXPECT_FALSE(fs::exists(refused));
    EXPECT_EQ(MainForm->SG_TBMS->Cells(1, 2), "33a0");
    EXPECT_EQ(dialogTitles, (std::vector<String>{"Save", "Load BMS", "Load BMS", "Save"}));
    Settle(MainForm->Handle());
    EXPECT_TRUE(Save(MainForm, "e2e-parameters-damaged-file.png"));
}

}  // namespace
}  // namespace tarvel
