// The monitor tab's module data against the simulated module: the rated
// capacity set and read back, the capacity-life values written, and the run
// history read and written.

#include "platform/winsys/WinConstants.h"
#include "tests/app/LinkFixture.h"
#include "tests/telemetry/DeviceFixture.h"

namespace tarvel::testing {
namespace {

class CapacityTest : public LinkTest {
protected:
    TMainForm* StartMonitoring(bool login = true) {
        std::filesystem::create_directories(folder_.Path() / "DataAccess");
        TMainForm* form = StartLinked();
        form->BindCalibrationHandlers();
        form->BindCapacityHandlers();
        form->PC_All->SetActivePage(form->TS_Monitor);
        EXPECT_TRUE(form->OpenPort());
        if (login) {
            form->TB_LOG->Click();
            EXPECT_TRUE(WaitUntil([&] { return form->LoggedIn == 1; }));
        }
        boxes_ = ui_.Boxes().size();
        return form;
    }

    // Clicks `button` and waits for the module's answer to the request it sent.
    void ClickAndWait(TControl* button) {
        const size_t before = Module().Requests().size();
        ui_.Click(button);
        ASSERT_TRUE(WaitUntil([&] { return Module().Requests().size() > before && LastCommand == 0; }));
    }

    // The boxes shown since the start.
    std::vector<TBoxRecord> NewBoxes() const {
        return std::vector<TBoxRecord>(ui_.Boxes().begin() + static_cast<std::ptrdiff_t>(boxes_),
                                       ui_.Boxes().end());
    }

    String Cell(TStringGrid* grid, int col, int row) { return ui_.CellText(grid, col, row); }

    size_t boxes_ = 0;
};

TEST_F(CapacityTest, RatedCapacitySetAndReadBack) {
    TMainForm* form = StartMonitoring();
    form->Capdis->SetText("120");
    ClickAndWait(form->Setcap);
    EXPECT_EQ(Module().Requests().back(), Hex("00 00 08 01 32 55 AA C0 D4 01 00 CF"));  // 120000
    EXPECT_EQ(Module().Module(kModuleAddress).capacity, 120000);
    EXPECT_EQ(InfoLine(), "    Set Capacity...  Succeed!");

    form->Capdis->SetText("");
    ClickAndWait(form->Getcap);
    EXPECT_EQ(form->Capdis->Text(), "120");
    EXPECT_EQ(form->DoneCap, 1);

    // The module's value is in mAh; the edit shows whole Ah.
    Module().UpdateModule(kModuleAddress, [](sim::ModuleState& m) { m.capacity = 99999; });
    ClickAndWait(form->Getcap);
    EXPECT_EQ(form->Capdis->Text(), "99");
    EXPECT_TRUE(NewBoxes().empty());
}

TEST_F(CapacityTest, CapacityWriteRefusals) {
    struct Case {
        const char* capdis;
        TMsgDlgType box;
        const char* text;
    };
    const std::vector<Case> cases = {
        {"39", mtCustom, "容量修改范围为40AH--300AH，请重新设置!"},
        {"301", mtCustom, "容量修改范围为40AH--300AH，请重新设置!"},
        {"-5", mtCustom, "容量修改范围为40AH--300AH，请重新设置!"},
        {"", mtError, "Design Capacity: '' is not a valid integer value."},
        {"1e2", mtError, "Design Capacity: '1e2' is not a valid integer value."},
    };
    TMainForm* form = StartMonitoring();
    Module().ClearRequests();
    for (const Case& c : cases) {
        SCOPED_TRACE(c.capdis);
        form->Capdis->SetText(c.capdis);
        ui_.Click(form->Setcap);
        const auto boxes = NewBoxes();
        ASSERT_FALSE(boxes.empty());
        EXPECT_EQ(boxes.back().text, c.text);
        EXPECT_EQ(boxes.back().type, c.box);
        EXPECT_TRUE(boxes.back().buttons.Contains(mbOK));
        boxes_ = ui_.Boxes().size();
    }
    ui_.RunUntilIdle();
    EXPECT_TRUE(Module().Requests().empty());

    // Like the other writes, the capacity goes out only after the login.
    form->LoggedIn = 0;
    form->Capdis->SetText("100");
    ui_.Click(form->Setcap);
    EXPECT_EQ(InfoLine(), "    Please login frist!");
    EXPECT_EQ(InfoColor(), kFailureColor);
    ui_.RunUntilIdle();
    EXPECT_TRUE(Module().Requests().empty());
}

TEST_F(CapacityTest, LifeValuesWrittenAndShownByTheNextReading) {
    TMainForm* form = StartMonitoring();
    form->PC_All->SetActivePage(form->TS_TSBS);
    ClickAndWait(form->B_Query);
    form->PC_All->SetActivePage(form->TS_Monitor);
    const sim::Telemetry shown = Module().Module(kModuleAddress).telemetry;
    EXPECT_EQ(Cell(form->SG_Life, 1, 0), std::to_string(shown.soc));
    EXPECT_EQ(Cell(form->SG_Life, 1, 3), std::to_string(shown.totalDiscSoc));

    ui_.SelectCell(form->SG_Life, 1, 0);
    ui_.Type("55");
    ui_.PressKey(VK_RETURN);
    form->SG_Life->SetCells(1, 1, "90");
    form->SG_Life->SetCells(1, 2, "300");
    form->SG_Life->SetCells(1, 3, "4000");
    ClickAndWait(form->B_SetLife);
    EXPECT_EQ(Module().Requests().back(),
              Hex("00 00 14 01 13 55 AA 37 00 00 00 5A 00 00 00 2C 01 00 00 A0 0F 00 00 94"));
    EXPECT_EQ(InfoLine(), "    Set Life...  Succeed!");

    form->SG_Life->SetCells(1, 0, "1");
    form->PC_All->SetActivePage(form->TS_TSBS);
    ClickAndWait(form->B_Query);
    form->PC_All->SetActivePage(form->TS_Monitor);
    EXPECT_EQ(Cell(form->SG_Life, 1, 0), "55");
    EXPECT_EQ(Cell(form->SG_Life, 1, 1), "90");
    EXPECT_EQ(Cell(form->SG_Life, 1, 2), "300");
    EXPECT_EQ(Cell(form->SG_Life, 1, 3), "4000");
    // Only the value column is edited.
    ui_.SelectCell(form->SG_Life, 2, 1);
    EXPECT_FALSE(form->SG_Life->Options().Contains(goEditing));
}

TEST_F(CapacityTest, LifeAndHistoryWriteRefusals) {
    struct Case {
        const char* what;
        TTeButton* TMainForm::*button;
        TStringGrid* TMainForm::*grid;
        int row;
        const char* text;
        const char* info;  // empty: the conversion error's box
    };
    const std::vector<Case> cases = {
        {"SOC beyond 16 bits", &TMainForm::B_SetLife, &TMainForm::SG_Life, 0, "70000",
         "    SOC: 70000 is out of range (-32768 to 32767)"},
        {"life cell empty", &TMainForm::B_SetLife, &TMainForm::SG_Life, 2, "", ""},
        {"history beyond 32 bits", &TMainForm::B_SetHistory, &TMainForm::SG_History, 1, "2147483648",
         "    RUN TIME BY THIS TIME: 2147483648 is out of range (-2147483648 to 2147483647)"},
        {"history cell a word", &TMainForm::B_SetHistory, &TMainForm::SG_History, 3, "Idle", ""},
    };
    TMainForm* form = StartMonitoring();
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        TStringGrid* grid = form->*c.grid;
        for (int row = 0; row < 4; ++row) grid->SetCells(1, row, "1");
        grid->SetCells(1, c.row, c.text);
        Module().ClearRequests();
        form->ShowInfo("", kSuccessColor);
        // The run-history group is never shown: its button is pressed as the export would.
        (form->*c.button)->Click();
        ui_.RunUntilIdle();
        EXPECT_TRUE(Module().Requests().empty());
        if (*c.info) {
            EXPECT_EQ(InfoLine(), c.info);
            EXPECT_EQ(InfoColor(), kFailureColor);
        } else {
            const auto boxes = NewBoxes();
            ASSERT_EQ(boxes.size(), 1u);
            EXPECT_EQ(boxes[0].type, mtError);
            EXPECT_NE(boxes[0].text.find("is not a valid integer value"), String::npos);
        }
        boxes_ = ui_.Boxes().size();
    }

    for (TTeButton* button : {form->B_SetLife, form->B_SetHistory}) {
        form->AutoQueryOn = 1;
        button->Click();
        EXPECT_EQ(InfoLine(), "    Please turn off automatic query frist!");
        form->AutoQueryOn = 0;
        form->LoggedIn = 0;
        button->Click();
        EXPECT_EQ(InfoLine(), "    Please login frist!");
        form->LoggedIn = 1;
    }
    ui_.RunUntilIdle();
    EXPECT_TRUE(Module().Requests().empty());
}

TEST_F(CapacityTest, RunHistoryReadAndWritten) {
    TMainForm* form = StartMonitoring();
    // The group stands hidden, as no view shows it; its buttons still work.
    EXPECT_EQ(form->GB_History->GetCaption(), u"历史记录");
    EXPECT_FALSE(form->GB_History->Visible());
    EXPECT_EQ(Cell(form->SG_History, 0, 3), "EXIT REASON BY LAST TIME");
    form->B_GetHistory->Click();
    ASSERT_TRUE(WaitUntil([&] { return form->DoneRunHistory == 1; }));
    EXPECT_EQ(Module().Requests().back(), BuildRequest(kModuleAddress, CmdGetHistory));
    EXPECT_EQ(Cell(form->SG_History, 1, 0), "52000");
    EXPECT_EQ(Cell(form->SG_History, 1, 2), "37");
    EXPECT_EQ(Cell(form->SG_History, 1, 3), "2");
    EXPECT_EQ(Cell(form->SG_History, 2, 3), "Idle");
    EXPECT_EQ(Cell(form->SG_History, 2, 0), "【min】");

    const char* values[] = {"123456", "90", "-2", "255"};
    for (int row = 0; row < 4; ++row) form->SG_History->SetCells(1, row, values[row]);
    const size_t before = Module().Requests().size();
    form->B_SetHistory->Click();
    ASSERT_TRUE(WaitUntil([&] { return Module().Requests().size() > before && LastCommand == 0; }));
    EXPECT_EQ(Module().Requests().back(),
              Hex("00 00 14 01 0F 55 AA 40 E2 01 00 5A 00 00 00 FE FF FF FF FF 00 00 00 9A"));

    for (int row = 0; row < 4; ++row) form->SG_History->SetCells(1, row, "");
    form->DoneRunHistory = 0;
    form->B_GetHistory->Click();
    ASSERT_TRUE(WaitUntil([&] { return form->DoneRunHistory == 1; }));
    EXPECT_EQ(Cell(form->SG_History, 1, 0), "123456");
    EXPECT_EQ(Cell(form->SG_History, 1, 2), "-2");
    EXPECT_EQ(Cell(form->SG_History, 2, 3), "Abnormal");
}

}  // namespace
}  // namespace tarvel::testing
