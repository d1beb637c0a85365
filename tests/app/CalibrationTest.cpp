// The calibration tab against the simulated module: samples taken from its
// telemetry, the voltage K and the current lines computed, the calibration
// block read in both layouts and written back, and its ".kb" file.

#include <functional>

#include "platform/winsys/WinConstants.h"
#include "tests/app/LinkFixture.h"

namespace tarvel::testing {
namespace {

class CalibrationTest : public LinkTest {
protected:
    // The window bound, on the calibration tab, logged in to the module.
    TMainForm* StartCalibrating() {
        std::filesystem::create_directories(folder_.Path() / "DataAccess");
        std::filesystem::create_directories(AppPath("KB"));
        TMainForm* form = StartLinked();
        form->BindParamsHandlers();  // the tool bar's Load Data and Save Data
        form->BindCalibrationHandlers();
        form->BindCapacityHandlers();
        form->PC_All->SetActivePage(form->TS_Adjust);
        EXPECT_TRUE(form->OpenPort());
        form->TB_LOG->Click();
        EXPECT_TRUE(WaitUntil([&] { return form->LoggedIn == 1; }));
        return form;
    }

    // The module on a bench that holds its pack, cell voltages and current.
    void Bench(int32_t pack, uint16_t cell, int32_t current) {
        Module().UpdateModule(kModuleAddress, [=](sim::ModuleState& m) {
            m.steady = true;
            m.telemetry.pack = pack;
            m.telemetry.cells.fill(cell);
            m.telemetry.current = current;
        });
    }

    void SampleCurrent(int32_t current) {
        Bench(52000, 3250, current);
        ui_.Click(form_->B_SampleC);
        ASSERT_TRUE(WaitUntil([&] { return form_->SampleCurrentOn == 0; }));
    }

    // Clicks `button` and waits for the module's answer to the request it sent.
    void ClickAndWait(TControl* button) {
        const size_t before = Module().Requests().size();
        ui_.Click(button);
        ASSERT_TRUE(WaitUntil([&] { return Module().Requests().size() > before && LastCommand == 0; }));
    }

    // A cell typed over as the user types it: selected, typed, Enter. A
    // click on the cell already current opens its editor on the old text,
    // which the user would clear first.
    void TypeCell(TStringGrid* grid, int col, int row, const String& text) {
        ui_.SelectCell(grid, col, row);
        if (grid->EditorMode()) grid->SetEditorMode(false);
        ui_.Type(text);
        ui_.PressKey(VK_RETURN);
    }

    String Cell(TStringGrid* grid, int col, int row) { return ui_.CellText(grid, col, row); }

    // Load Data and Save Data of the tool bar with `path` chosen in the dialog.
    void LoadData(const std::string& path) {
        ui_.ChooseNextFile(path);
        ui_.Click(form_, "TB_Load");
    }
    void SaveData(const std::string& path) {
        ui_.ChooseNextFile(path);
        ui_.Click(form_, "TB_Save");
    }

    // Picks item `index` of the popup menu of `grid`, which opens under the
    // pointer on its first item.
    void PickPopupItem(TStringGrid* grid, int index) {
        ui_.WhenModal([this, index] {
            for (int i = 0; i < index; ++i) ui_.PressKey(VK_DOWN);
            ui_.PressKey(VK_RETURN);
        });
        ui_.RightClick(grid);
        ui_.RunUntilIdle();
    }

    // The data of the last request the module received, checked as a whole
    // frame of `code` with `size` data bytes.
    Bytes LastRequestData(uint8_t code, size_t size) {
        const Bytes request = Module().Requests().back();
        EXPECT_EQ(request.size(), size + 8);
        if (request.size() != size + 8) return Bytes(size, 0);
        EXPECT_EQ(request[4], code);
        EXPECT_EQ(FrameLengthField(request.data()), size + 4);
        EXPECT_EQ(request.back(), Checksum8(request.data() + 1, request.size() - 2));
        return Bytes(request.begin() + 7, request.end() - 1);
    }
};

TEST_F(CalibrationTest, FullLayoutCalibrationWrittenToTheModuleAndKeptInAKbFile) {
    TMainForm* form = StartCalibrating();
    ClickAndWait(form->B_ReadKB);
    EXPECT_EQ(Cell(form->SG_VKB, 3, 1), "10000");
    EXPECT_EQ(Cell(form->SG_VKB, 3, 17), "10000");
    EXPECT_EQ(Cell(form->SG_CKB, 1, 13), "10000");
    EXPECT_EQ(Cell(form->SG_CKB, 2, 19), "0");
    EXPECT_EQ(form->E_TempK->Text(), "10000");
    EXPECT_TRUE(form->SG_CKB->Visible());
    EXPECT_FALSE(form->SG_CKB1->Visible());

    // Voltages: the module's reading beside the reference meter's.
    Bench(52000, 3250, 0);
    ui_.Click(form->B_SampleV);
    ASSERT_TRUE(WaitUntil([&] { return form->SampleVoltageOn == 0; }));
    EXPECT_EQ(InfoLine(), "    Sample V...  Succeed!");
    EXPECT_EQ(Cell(form->SG_VKB, 2, 1), "52000");
    EXPECT_EQ(Cell(form->SG_VKB, 2, 17), "3250");
    TypeCell(form->SG_VKB, 1, 1, "52520");
    TypeCell(form->SG_VKB, 1, 2, "3283");
    ui_.Click(form->B_CalcVK);
    EXPECT_EQ(Cell(form->SG_VKB, 1, 1), "52520");
    EXPECT_EQ(Cell(form->SG_VKB, 4, 1), "10100");
    EXPECT_EQ(Cell(form->SG_VKB, 4, 2), "10101");  // 3283 * 10000 / 3250, truncated
    EXPECT_EQ(Cell(form->SG_VKB, 4, 3), "10000");  // no actual value typed

    // Two current points, one each way: point 1 charging, point 2 discharging.
    SampleCurrent(12800);
    EXPECT_EQ(InfoLine(), "    Sample A...  Succeed!");
    SampleCurrent(-12800);
    EXPECT_EQ(Cell(form->SG_CKB, 1, 2), "12800");
    EXPECT_EQ(Cell(form->SG_CKB, 2, 4), "-12800");
    TypeCell(form->SG_CKB, 1, 1, "13000");
    TypeCell(form->SG_CKB, 2, 3, "-12600");
    ui_.Click(form->B_CalcCKB);
    EXPECT_EQ(InfoLine(), "    Succeed to calacute KB of current in discharge!");
    EXPECT_EQ(InfoColor(), kSuccessColor);
    EXPECT_EQ(Cell(form->SG_CKB, 1, 14), "10156");  // 13000 / 12800
    EXPECT_EQ(Cell(form->SG_CKB, 1, 16), "0");
    EXPECT_EQ(Cell(form->SG_CKB, 2, 14), "9843");  // 12600 / 12800
    EXPECT_EQ(Cell(form->SG_CKB, 2, 16), "0");
    // One point gives no small-current line: its rows stay empty.
    EXPECT_EQ(Cell(form->SG_CKB, 1, 18), "");
    EXPECT_EQ(Cell(form->SG_CKB, 2, 20), "");

    ClickAndWait(form->B_WriteKB);
    const Bytes block = LastRequestData(CmdWriteKb, 66);
    EXPECT_EQ(ReadU16(block, 0), 10100);
    EXPECT_EQ(ReadU16(block, 2), 10101);
    EXPECT_EQ(ReadU16(block, 32), 10000);
    EXPECT_EQ(ReadU16(block, 34), 10156);  // charge K
    EXPECT_EQ(ReadI16(block, 36), 0);
    EXPECT_EQ(ReadU16(block, 38), 9843);   // discharge K
    EXPECT_EQ(ReadU16(block, 42), 10000);  // charge SK: the value as read
    EXPECT_EQ(ReadI16(block, 48), 0);
    for (size_t i = 0; i < 8; ++i) EXPECT_EQ(ReadU16(block, 50 + 2 * i), 10000);
    EXPECT_EQ(Module().Module(kModuleAddress).kb, block);  // the module took it
    EXPECT_EQ(InfoLine(), "    Set KB...  Succeed!");

    // The values to write kept in a file, cleared, and loaded back.
    form->E_TempK->SetText("9990");
    const std::string path = AppPath("KB/bench.kb");
    SaveData(path);
    EXPECT_EQ(InfoLine(), "    Succeed to save KB!");
    EXPECT_TRUE(ReadFileText(path).starts_with("10100\t10101\t10000\t"));
    EXPECT_TRUE(ReadFileText(path).ends_with("\t9990\t10000\t10000\t10000\t\r\n"));
    PickPopupItem(form->SG_VKB, 0);  // the default K
    PickPopupItem(form->SG_CKB, 0);  // the default K and B
    form->E_TempK->SetText("1");
    EXPECT_EQ(Cell(form->SG_VKB, 4, 1), "10000");
    EXPECT_EQ(Cell(form->SG_CKB, 1, 14), "10000");
    LoadData(path);
    EXPECT_EQ(InfoLine(), "    Succeed to load KB!");
    EXPECT_EQ(Cell(form->SG_VKB, 4, 1), "10100");
    EXPECT_EQ(Cell(form->SG_VKB, 4, 2), "10101");
    EXPECT_EQ(Cell(form->SG_CKB, 1, 14), "10156");
    EXPECT_EQ(Cell(form->SG_CKB, 2, 14), "9843");
    EXPECT_EQ(Cell(form->SG_CKB, 1, 18), "10000");
    EXPECT_EQ(form->E_TempK->Text(), "9990");
    // A file holds only values to write: the cells read from the module stay.
    EXPECT_EQ(Cell(form->SG_VKB, 2, 1), "52000");
    EXPECT_EQ(Cell(form->SG_CKB, 1, 2), "12800");
}

TEST_F(CalibrationTest, ShortLayoutTwoPointLineWrittenAndItsFileLoaded) {
    Module().UpdateModule(kModuleAddress,
                          [](sim::ModuleState& m) { m.kb = sim::ModuleState::Make(0, true).kb; });
    TMainForm* form = StartCalibrating();
    ClickAndWait(form->B_ReadKB);
    EXPECT_EQ(form->KbLayout, 0);
    EXPECT_FALSE(form->SG_CKB->Visible());
    EXPECT_TRUE(form->SG_CKB1->Visible());
    EXPECT_EQ(form->SG_CKB1->BoundsRect(), form->SG_CKB->BoundsRect());
    EXPECT_EQ(Cell(form->SG_CKB1, 1, 11), "10000");
    EXPECT_EQ(Cell(form->SG_CKB1, 2, 13), "0");

    // Two charge points on one line, 17/16 steep and 40 mA off.
    SampleCurrent(16000);
    SampleCurrent(32000);
    SampleCurrent(-9000);  // point 3, discharging
    EXPECT_EQ(Cell(form->SG_CKB1, 1, 2), "16000");
    EXPECT_EQ(Cell(form->SG_CKB1, 1, 4), "32000");
    EXPECT_EQ(Cell(form->SG_CKB1, 2, 6), "-9000");
    form->SG_CKB1->SetCells(1, 1, "17040");
    form->SG_CKB1->SetCells(1, 3, "34040");
    form->SG_CKB1->SetCells(2, 5, "-9090");
    ui_.Click(form->B_CalcCKB);
    EXPECT_EQ(Cell(form->SG_CKB1, 1, 12), "10625");
    EXPECT_EQ(Cell(form->SG_CKB1, 1, 14), "40");
    EXPECT_EQ(Cell(form->SG_CKB1, 2, 12), "10100");  // one point: 9090 / 9000
    EXPECT_EQ(Cell(form->SG_CKB1, 2, 14), "0");

    ClickAndWait(form->B_WriteKB);
    const Bytes block = LastRequestData(CmdWriteKb, 58);
    EXPECT_EQ(ReadU16(block, 34), 10625);
    EXPECT_EQ(ReadI16(block, 36), 40);
    EXPECT_EQ(ReadU16(block, 38), 10100);
    EXPECT_EQ(ReadI16(block, 40), 0);
    for (size_t i = 0; i < 8; ++i) EXPECT_EQ(ReadU16(block, 42 + 2 * i), 10000);
    EXPECT_EQ(Module().Module(kModuleAddress).kb, block);

    const std::string path = AppPath("KB/short.kb");
    SaveData(path);
    std::string expected;
    for (int i = 0; i < 17; ++i) expected += "10000\t";
    expected += "10625\t40\t10100\t0\t10000\t10000\t10000\t10000\t\r\n";
    EXPECT_EQ(ReadFileText(path), expected);
    PickPopupItem(form->SG_CKB1, 1);  // back to the values as read
    EXPECT_EQ(Cell(form->SG_CKB1, 1, 12), "10000");
    EXPECT_EQ(Cell(form->SG_CKB1, 1, 14), "0");
    LoadData(path);
    EXPECT_EQ(InfoLine(), "    Succeed to load KB!");
    EXPECT_EQ(Cell(form->SG_CKB1, 1, 12), "10625");
    EXPECT_EQ(Cell(form->SG_CKB1, 1, 14), "40");
    EXPECT_EQ(Cell(form->SG_CKB1, 2, 12), "10100");
}

// Whatever refuses, the module receives nothing and no sample is awaited.
TEST_F(CalibrationTest, RefusedRequestsSendNothing) {
    struct Case {
        const char* what;
        std::function<void(TMainForm&)> set;
        const char* button;
        const char* info;
    };
    const std::vector<Case> cases = {
        {"logged out, voltage sample", [](TMainForm& f) { f.LoggedIn = 0; }, "B_SampleV",
         "    Please login frist!"},
        {"logged out, current sample", [](TMainForm& f) { f.LoggedIn = 0; }, "B_SampleC",
         "    Please login frist!"},
        {"logged out, read", [](TMainForm& f) { f.LoggedIn = 0; }, "B_ReadKB", "    Please login frist!"},
        {"logged out, write", [](TMainForm& f) { f.LoggedIn = 0; }, "B_WriteKB", "    Please login frist!"},
        {"automatic query, sample", [](TMainForm& f) { f.AutoQueryOn = 1; }, "B_SampleC",
         "    Please turn off automatic query!"},
        {"automatic query, write", [](TMainForm& f) { f.AutoQueryOn = 1; }, "B_WriteKB",
         "    Please turn off automatic query!"},
        {"B beyond 16 bits", [](TMainForm& f) { f.SG_CKB->SetCells(1, 16, "70000"); }, "B_WriteKB",
         "    LOAD VALUE OF B, CHG.CURRENT: 70000 is out of range (-32768 to 32767)"},
        {"K beyond 16 bits", [](TMainForm& f) { f.SG_VKB->SetCells(4, 5, "65536"); }, "B_WriteKB",
         "    CELL [4], LOAD VALUE OF K: 65536 is out of range (0 to 65535)"},
        {"negative temperature K", [](TMainForm& f) { f.E_TempK->SetText("-1"); }, "B_WriteKB",
         "    温度 K: -1 is out of range (0 to 65535)"},
    };
    TMainForm* form = StartCalibrating();
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        Module().ClearRequests();
        c.set(*form);
        ui_.Click(form, c.button);
        ui_.RunUntilIdle();
        EXPECT_EQ(InfoLine(), c.info);
        EXPECT_EQ(InfoColor(), kFailureColor);
        EXPECT_EQ(form->SampleVoltageOn + form->SampleCurrentOn, 0);
        EXPECT_TRUE(Module().Requests().empty());
        // Back to a clean, logged-in tab.
        form->LoggedIn = 1;
        form->AutoQueryOn = 0;
        form->SG_CKB->SetCells(1, 16, "");
        form->SG_VKB->SetCells(4, 5, "");
        form->E_TempK->SetText("10000");
    }
}

TEST_F(CalibrationTest, AKbFileThatDoesNotLoadChangesNothing) {
    TMainForm* form = StartCalibrating();
    form->SG_VKB->SetCells(4, 1, "9999");
    const std::string path = folder_.File("bad.kb");
    for (const char* text : {"10000\t10000\t", "x\t", ""}) {
        SaveFileText(path, text);
        EXPECT_FALSE(form->LoadKbFile(path));
        EXPECT_EQ(InfoLine(), "    Fail to load KB!");
        EXPECT_EQ(InfoColor(), kFailureColor);
        EXPECT_EQ(Cell(form->SG_VKB, 4, 1), "9999");
        EXPECT_EQ(form->E_TempK->Text(), "10000");
    }
    EXPECT_FALSE(form->LoadKbFile(folder_.File("missing.kb")));
    EXPECT_EQ(InfoLine(), "    Fail to load KB!");
    EXPECT_FALSE(form->SaveKbFile(folder_.File("no-folder/x.kb")));
    EXPECT_EQ(InfoLine(), "    Fail to save KB!");
}

TEST_F(CalibrationTest, NumericEditsDropOtherKeys) {
    TMainForm* form = StartCalibrating();
    const size_t boxes = ui_.Boxes().size();  // the start's own
    form->E_TempK->SetText("");
    form->E_TempK->SetFocus();
    ui_.Type("-9a9.");
    EXPECT_EQ(form->E_TempK->Text(), "-99.");
    ASSERT_EQ(ui_.Boxes().size(), boxes + 1);
    EXPECT_EQ(ui_.Boxes().back().text, "Please input numeric!");
    EXPECT_EQ(ui_.Boxes().back().type, mtInformation);

    // The voltage grid's editable cells drop a blank without a word.
    TypeCell(form->SG_VKB, 1, 3, "33 0x0");
    EXPECT_EQ(Cell(form->SG_VKB, 1, 3), "3300");
    EXPECT_EQ(ui_.Boxes().size(), boxes + 2);
    // Only the actual values and the K to write are edited.
    ui_.SelectCell(form->SG_VKB, 2, 3);
    EXPECT_FALSE(form->SG_VKB->Options().Contains(goEditing));
    ui_.SelectCell(form->SG_VKB, 4, 3);
    EXPECT_TRUE(form->SG_VKB->Options().Contains(goEditing));
}

TEST_F(CalibrationTest, PopupItemsSetAndCopyTheValuesToWrite) {
    TMainForm* form = StartCalibrating();
    for (int row = 1; row <= 17; ++row) form->SG_VKB->SetCells(3, row, IntToStr(9000 + row));
    form->PM_CopyVK->Click();
    EXPECT_EQ(Cell(form->SG_VKB, 4, 1), "9001");
    EXPECT_EQ(Cell(form->SG_VKB, 4, 17), "9017");
    form->PM_LoadVK->Click();
    EXPECT_EQ(Cell(form->SG_VKB, 4, 17), "10000");

    form->SG_CKB->SetCells(2, 19, "-3");
    form->PM_CopyCKB->Click();
    EXPECT_EQ(Cell(form->SG_CKB, 2, 20), "-3");
    form->PM_LoadCKB->Click();
    for (int col : {1, 2}) {
        EXPECT_EQ(Cell(form->SG_CKB, col, 14), "10000");
        EXPECT_EQ(Cell(form->SG_CKB, col, 16), "0");
        EXPECT_EQ(Cell(form->SG_CKB, col, 18), "10000");
        EXPECT_EQ(Cell(form->SG_CKB, col, 20), "0");
    }
    // The capacity-life grid carries the voltage grid's menu, whose items
    // act on the voltage grid all the same.
    EXPECT_EQ(form->SG_Life->PopupMenu(), form->SG_VKB->PopupMenu());
    form->PC_All->SetActivePage(form->TS_Monitor);
    PickPopupItem(form->SG_Life, 1);
    EXPECT_EQ(Cell(form->SG_VKB, 4, 17), "9017");
    EXPECT_EQ(Cell(form->SG_Life, 1, 0), "");
}

}  // namespace
}  // namespace tarvel::testing
