// The protection parameters against a simulated module: the read into the
// grid and its mirrors, editing, the write and its refusals, the grid's
// rules and painting, and the function-off presets.

#include <algorithm>

#include "tests/app/ProtectionParametersFixture.h"

namespace tarvel::testing {
namespace {

// Each kind of field at its edges, the rest plain.
ParameterValues EdgeValues() {
    ParameterValues values{};
    for (int p = 1; p <= kParameters; ++p) values[p - 1] = 100 * p;
    values[1] = -250;     // P2, i32
    values[12] = 65535;   // P13, u16
    values[20] = 0;       // P21, u16
    values[29] = -60000;  // P30, i32
    values[30] = -32768;  // P31, i16
    values[47] = 32767;   // P48, i16
    return values;
}

TEST_F(ProtectionParametersTest, ReadEditAndWriteThroughTheGrid) {
    TMainForm* form = StartParams();
    OpenLoggedIn();
    ParameterValues values = EdgeValues();
    Module().UpdateModule(kModuleAddress, [&](sim::ModuleState& m) { m.protection = BlockOf(values); });

    ReadFromModule();
    for (int p = 1; p <= kParameters; ++p) EXPECT_EQ(Parameter(p), std::to_string(values[p - 1])) << "P" << p;
    // The hidden threshold grids mirror what they hold.
    EXPECT_EQ(ui_.CellText(form->SG_Highbvset, 1, 0), "500");
    EXPECT_EQ(ui_.CellText(form->SG_Highcvset, 1, 0), "65535");
    EXPECT_EQ(ui_.CellText(form->SG_Overcurrset, 1, 0), "2700");
    EXPECT_EQ(ui_.CellText(form->SG_Overcurrset, 1, 1), "-60000");
    EXPECT_EQ(ui_.CellText(form->SG_Hightempset, 1, 0), "-32768");
    EXPECT_EQ(ui_.CellText(form->SG_Lowtempset, 1, 7), "4600");

    TypeIntoCell(1, 0, "4100");
    TypeIntoCell(1, 12, "3650");
    TypeIntoCell(4, 23, "-7");
    values[0] = 4100;
    values[12] = 3650;
    values[47] = -7;
    EXPECT_EQ(Parameter(13), "3650");

    Module().ClearRequests();
    ui_.Click(form, "B_WriteBMS");
    ASSERT_TRUE(WaitUntil([&] { return LastCommand == 0; }));
    const std::vector<Bytes> writes = WritesReceived();
    ASSERT_EQ(writes.size(), 1u);
    EXPECT_EQ(writes[0], WriteRequestOf(kModuleAddress, BlockOf(values)));
    EXPECT_EQ(Module().Module(kModuleAddress).protection, BlockOf(values));
    EXPECT_EQ(InfoColor(), kSuccessColor);
}

TEST_F(ProtectionParametersTest, AValueItsFieldCannotHoldIsRefusedWithItsCellAndNothingIsSent) {
    // Values a field cannot hold go to the info line; a cell that holds no
    // 32-bit integer stops the write as the class library's conversion error.
    enum Where { InfoLineRefusal, ErrorBox };
    struct Case {
        const char* what;
        int col, row;
        const char* text;
        Where where;
        const char* says;
    };
    // Each refusal names the cell by the title the grid shows beside it.
    const Case cases[] = {
        {"u16 above 65535", 1, 12, "70000", InfoLineRefusal, "70000 is out of range (0 to 65535)"},
        {"u16 below 0", 1, 20, "-1", InfoLineRefusal, "-1 is out of range"},
        {"i16 above 32767", 4, 6, "40000", InfoLineRefusal, "40000 is out of range (-32768 to 32767)"},
        {"i16 below -32768", 4, 23, "-32769", InfoLineRefusal, "-32769 is out of range"},
        {"beyond 32 bits", 1, 0, "2147483648", ErrorBox, "2147483648 is out of range"},
        {"not a number", 4, 0, "12a", ErrorBox, "'12a' is not a valid integer value"},
        {"a decimal point", 1, 3, "3.5", ErrorBox, "'3.5' is not a valid integer value"},
    };
    TMainForm* form = StartParams();
    OpenLoggedIn();
    ReadFromModule();
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const String before = Cell(c.col, c.row);
        TypeIntoCell(c.col, c.row, c.text);
        Module().ClearRequests();
        form->ShowInfo("", kSuccessColor);
        const size_t boxes = ui_.Boxes().size();

        ui_.Click(form, "B_WriteBMS");
        EXPECT_EQ(LastCommand, 0);
        if (c.where == InfoLineRefusal) {
            EXPECT_TRUE(InfoLine().starts_with("    " + Trim(Cell(c.col - 1, c.row)) + ": " + c.says))
                << InfoLine();
            EXPECT_EQ(InfoColor(), kFailureColor);
            EXPECT_EQ(ui_.Boxes().size(), boxes);
        } else {
            ASSERT_EQ(ui_.Boxes().size(), boxes + 1);
            EXPECT_TRUE(ui_.Boxes().back().text.starts_with(Trim(Cell(c.col - 1, c.row)) + ": " + c.says))
                << ui_.Boxes().back().text;
            EXPECT_EQ(ui_.Boxes().back().type, mtError);
        }
        SyncWithModule();
        EXPECT_TRUE(WritesReceived().empty());
        form->SG_TBMS->SetCells(c.col, c.row, before);
    }
}

TEST_F(ProtectionParametersTest, TheWriteWaitsForLoginAndAStoppedAutomaticQuery) {
    struct Case {
        const char* what;
        uint8_t loggedIn, autoQuery;
        const char* message;
    };
    const Case cases[] = {
        {"automatic query on", 1, 1, "Please turn off automatic query!"},
        {"not logged in", 0, 0, "Please login frist!"},
    };
    TMainForm* form = StartParams();
    OpenLoggedIn();
    ReadFromModule();
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        Module().ClearRequests();
        form->LoggedIn = c.loggedIn;
        form->AutoQueryOn = c.autoQuery;
        ui_.Click(form, "B_WriteBMS");
        EXPECT_EQ(InfoLine(), String("    ") + c.message);
        EXPECT_EQ(InfoColor(), kFailureColor);
        form->LoggedIn = 1;
        form->AutoQueryOn = 0;
        SyncWithModule();
        EXPECT_TRUE(WritesReceived().empty());
    }
}

TEST_F(ProtectionParametersTest, OnlyTheValueColumnsCanBeEdited) {
    TMainForm* form = StartParams();
    OpenLoggedIn();
    ReadFromModule();
    for (int col = 0; col < 6; ++col) {
        SCOPED_TRACE(col);
        const bool editable = col == 1 || col == 4;
        const String before = Cell(col, 2);
        ui_.SelectCell(form->SG_TBMS, col, 2);
        EXPECT_EQ(form->SG_TBMS->Options().Contains(goEditing), editable);
        ui_.Type("9");
        ui_.PressKey(VK_RETURN);
        EXPECT_EQ(Cell(col, 2), editable ? String("9") : before);
    }
    EXPECT_EQ(Cell(2, 2), "mV");
}

TEST_F(ProtectionParametersTest, EveryValueIsShownInItsFieldsSignednessInEitherMode) {
    TMainForm* form = StartParams();
    OpenLoggedIn();
    Module().UpdateModule(kModuleAddress, [](sim::ModuleState& m) { m.protection.assign(140, 0xFF); });
    for (uint8_t parallel : {0, 1}) {
        SCOPED_TRACE(parallel);
        form->MultiModuleMode = parallel;
        form->PM_ClearBMSClick(nullptr);
        ReadFromModule();
        for (int p = 1; p <= kParameters; ++p) {
            const bool unsigned16 = (p >= 13 && p <= 16) || (p >= 21 && p <= 24);
            EXPECT_EQ(Parameter(p), unsigned16 ? "65535" : "-1") << "P" << p;
        }
        EXPECT_EQ(ui_.CellText(form->SG_Lowcvset, 1, 3), "65535");
    }
}

TEST_F(ProtectionParametersTest, TheModeSwitchHidesTheWriteButtonEitherWay) {
    TMainForm* form = StartParams();
    for (uint8_t parallel : {1, 0}) {
        SCOPED_TRACE(parallel);
        form->B_WriteBMS->SetVisible(true);
        if (!parallel) ui_.AnswerNextBox(mrYes);  // back to one module
        form->ModeSwitchClick(nullptr);
        ASSERT_EQ(form->MultiModuleMode, parallel);
        EXPECT_FALSE(form->B_WriteBMS->Visible());
    }
}

TEST_F(ProtectionParametersTest, AReplyTooShortForTheBlockChangesNothing) {
    TMainForm* form = StartParams();
    OpenLoggedIn();
    ReadFromModule();
    const ProtectionTexts before = form->BmsCells();
    // A whole reply cut short: the handler reads only what the frame holds.
    form->RxFrameLength = 60;
    form->ShowBmsParameters();
    EXPECT_EQ(form->BmsCells(), before);
    EXPECT_EQ(InfoColor(), kFailureColor);
}

TEST_F(ProtectionParametersTest, CellsArePaintedWhiteWithTheirTextCentred) {
    TMainForm* form = StartParams();
    OpenLoggedIn();
    ReadFromModule();
    // The current cell would otherwise be painted as selected.
    ui_.SelectCell(form->SG_TBMS, 1, 3);
    ui_.RunUntilIdle();
    std::unique_ptr<Surface> screen = ui_.Backend().WindowPixels(form->Handle());
    ASSERT_TRUE(screen);
    const TRect window = WindowRect(form->Handle());
    const TRect cell = form->SG_TBMS->CellRect(1, 3);
    const TPoint origin = form->SG_TBMS->ClientToScreen(TPoint{cell.left, cell.top});
    auto rgb = [&](int x, int y) {
        return screen->Pixel(origin.x - window.left + x, origin.y - window.top + y) & 0xFFFFFFu;
    };
    int inkLeft = cell.Width(), inkRight = -1, inkTop = cell.Height(), inkBottom = -1;
    for (int y = 2; y < cell.Height() - 2; ++y) {
        for (int x = 2; x < cell.Width() - 2; ++x) {
            if (rgb(x, y) == 0xFFFFFFu) continue;
            inkLeft = std::min(inkLeft, x);
            inkRight = std::max(inkRight, x);
            inkTop = std::min(inkTop, y);
            inkBottom = std::max(inkBottom, y);
        }
    }
    EXPECT_EQ(rgb(3, 3), 0xFFFFFFu);
    ASSERT_GE(inkRight, inkLeft) << "no text drawn";
    EXPECT_NEAR(inkLeft + inkRight, cell.Width() - 1, 3);
    EXPECT_NEAR(inkTop + inkBottom, cell.Height() - 1, 4);
}

TEST_F(ProtectionParametersTest, PresetsFillTheirCellsAndWriteTheWholeGrid) {
    TMainForm* form = StartParams();
    OpenLoggedIn();
    ReadFromModule();
    EXPECT_FALSE(form->GroupBox2->Visible());
    const String untouched = Parameter(1);

    // Nothing ticked: every preset cell takes its second value.
    Module().ClearRequests();
    form->Function_Select->Click();
    ASSERT_TRUE(WaitUntil([&] { return WritesReceived().size() == 1; }));
    const std::pair<int, const char*> unticked[] = {{11, "58500"}, {12, "54000"},  {16, "3600"},
                                                    {27, "55000"}, {30, "-60000"}, {34, "35"},
                                                    {42, "0"},     {44, "-5"},     {24, "2700"}};
    for (const auto& [p, text] : unticked) EXPECT_EQ(Parameter(p), text) << "P" << p;
    EXPECT_EQ(Parameter(1), untouched);
    ParameterValues shown{};
    for (int p = 1; p <= kParameters; ++p) shown[p - 1] = std::stoll(Parameter(p));
    EXPECT_EQ(WritesReceived()[0], WriteRequestOf(kModuleAddress, BlockOf(shown)));

    form->PresetChecks[0]->SetChecked(true);   // Pack over-charge protection
    form->PresetChecks[5]->SetChecked(true);   // low-temperature protection
    form->PresetChecks[14]->SetChecked(true);  // discharge over-current protection
    form->Function_Select->Click();
    ASSERT_TRUE(WaitUntil([&] { return WritesReceived().size() == 2; }));
    const std::pair<int, const char*> ticked[] = {{11, "70000"}, {12, "65000"},   {41, "-40"},
                                                  {46, "-35"},   {30, "-150000"}, {16, "3600"}};
    for (const auto& [p, text] : ticked) EXPECT_EQ(Parameter(p), text) << "P" << p;

    // The query ticks the boxes whose presets the grid holds, as it is at the press.
    for (TCheckBox* box : form->PresetChecks) box->SetChecked(false);
    TypeIntoCell(4, 20, " -40");              // P45 differs from its preset by a blank
    form->PresetChecks[6]->SetChecked(true);  // short circuit: no preset, left alone
    form->TeButton2->Click();
    for (int i = 0; i < 15; ++i)
        EXPECT_EQ(form->PresetChecks[i]->Checked(), i == 0 || i == 6 || i == 14) << i;
    ASSERT_TRUE(WaitUntil([&] { return LastCommand == 0; }));
    EXPECT_TRUE(form->PresetChecks[0]->Checked());
}

}  // namespace
}  // namespace tarvel::testing
