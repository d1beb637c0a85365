// The system-monitor page as a person uses it, every press made by the X
// server: the software version and the serial number read, the rated
// capacity read, refused out of range and set, and the capacity-life values
// typed and written, each answer of the module shown.

#include "tests/app/xvfb/ScreenFiles.h"

namespace tarvel {
namespace {

class SystemMonitorE2e : public ToolPagesOnX11 {};

TEST_F(SystemMonitorE2e, VersionSerialCapacityAndLife) {
    StartTool();
    ASSERT_NO_FATAL_FAILURE(OpenAndLogIn());
    ASSERT_TRUE(ShowPage(MainForm->TS_Monitor));

    ASSERT_TRUE(Click("B_GetVer"));
    ASSERT_TRUE(Await([] { return MainForm->DoneVersion != 0; })) << InfoLine();
    TStringGrid* version = MainForm->SG_SoftVersion;
    EXPECT_EQ(version->Cells(0, 1), "1");
    EXPECT_EQ(version->Cells(1, 1), "2");
    EXPECT_EQ(version->Cells(2, 1), "3");
    EXPECT_EQ(version->Cells(3, 1), "2024.05.09");
    EXPECT_EQ(version->Cells(0, 3), "BMS-HW-V2.1,48V100AH");
    EXPECT_EQ(version->Cells(1, 3), "16S LFP, balance, heater");
    EXPECT_EQ(InfoLine(), "Query version...  Succeed!");

    ASSERT_TRUE(Click("B_ReadSerialNum"));
    ASSERT_TRUE(Await([] { return !MainForm->E_ReadSerialNum->Text().empty(); })) << InfoLine();
    EXPECT_EQ(MainForm->E_ReadSerialNum->Text(), "TBM2024000100");

    ASSERT_TRUE(Click("Getcap"));
    ASSERT_TRUE(Await([] { return MainForm->Capdis->Text() == "100"; })) << InfoLine();
    // Out of range: the box says so and nothing reaches the module.
    AnswerBox("OK", "e2e-capacity-range-box.png");
    ASSERT_TRUE(TypeInto(Control("Capdis"), "39"));
    ASSERT_TRUE(Click("Setcap"));
    ASSERT_TRUE(Await([&] { return !seen.empty(); }));
    EXPECT_EQ(seen.back().text, "容量修改范围为40AH--300AH，请重新设置!");
    EXPECT_EQ(line->Sim().Module(0).capacity, 100000);
    ASSERT_TRUE(TypeInto(Control("Capdis"), "150"));
    ASSERT_TRUE(Click("Setcap"));
    ASSERT_TRUE(Await([&] { return line->Sim().Module(0).capacity == 150000; }));
    ASSERT_TRUE(Await([] { return InfoLine() == "Set Capacity...  Succeed!"; })) << InfoLine();
    // Read back from the module into an emptied edit.
    ASSERT_TRUE(TypeInto(Control("Capdis"), ""));
    ASSERT_TRUE(Click("Getcap"));
    ASSERT_TRUE(Await([] { return MainForm->Capdis->Text() == "150"; })) << InfoLine();

    // The capacity-life values typed into their cells and written.
    const char* life[] = {"77", "95", "20", "3000"};
    for (int row = 0; row < 4; ++row) ASSERT_TRUE(TypeIntoCell(MainForm->SG_Life, 1, row, life[row]));
    ASSERT_TRUE(Click("B_SetLife"));
    ASSERT_TRUE(Await([&] { return line->Sim().Module(0).telemetry.totalDiscSoc == 3000; })) << InfoLine();
    const sim::Telemetry t = line->Sim().Module(0).telemetry;
    EXPECT_EQ(t.soc, 77);
    EXPECT_EQ(t.socHealth, 95u);
    EXPECT_EQ(t.discTimes, 20u);
    ASSERT_TRUE(Await([] { return InfoLine().ends_with("...  Succeed!") && LastCommand == 0; }))
        << InfoLine();
    EXPECT_EQ(PixelIn(MainForm->L_Info, TPoint{2, 2}), kSuccessColor);
    MovePointer(MainForm->SG_SoftVersion, TPoint{2, 2});
    Settle(MainForm->Handle());
    EXPECT_TRUE(Save(MainForm, "e2e-system-monitor.png"));
}

}  // namespace
}  // namespace tarvel
