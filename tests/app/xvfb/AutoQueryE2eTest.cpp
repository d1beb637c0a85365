// The automatic query as a person runs it, every press made by the X
// server: the period typed, "Execute" ticked, the readings on the telemetry
// page following the module's, and unticking stops the queries and frees
// the controls it locked.

#include <algorithm>

#include "tests/app/xvfb/ToolXvfbFixture.h"

namespace tarvel {
namespace {

class AutoQueryE2e : public ToolOnX11 {
protected:
    // The box's square, left of its caption (which shows the focus).
    std::vector<uint32_t> Square() const {
        TControl* box = MainForm->CB_AutoQuery;
        return PixelsOf(box, TRect{0, 0, 15, box->Height()});
    }
    // The telemetry queries the module has had.
    size_t Queries() const {
        const auto requests = line->Sim().Requests();
        return static_cast<size_t>(std::count_if(requests.begin(), requests.end(), [](const sim::Bytes& r) {
            return r.size() > 4 && r[4] == 0x03;
        }));
    }
    // The module's pack voltage from now on, held steady between readings.
    void SetPack(int32_t millivolts) {
        line->Sim().UpdateModule(0, [millivolts](sim::ModuleState& m) {
            m.steady = true;
            m.telemetry.pack = millivolts;
        });
    }
};

TEST_F(AutoQueryE2e, TickedItFollowsTheModuleUntickedItStops) {
    StartTool();
    ASSERT_NO_FATAL_FAILURE(OpenAndLogIn());
    ASSERT_TRUE(ShowPage(MainForm->TS_TSBS));
    ASSERT_TRUE(TypeInto(Control("CB_AutoQueryInterval"), "1"));
    ASSERT_TRUE(MovePointer(MainForm->SG_TSBS, TPoint{4, 4}));
    const std::vector<uint32_t> unticked = Square();

    SetPack(51234);
    ASSERT_TRUE(Click("CB_AutoQuery"));
    EXPECT_TRUE(MainForm->CB_AutoQuery->Checked());
    EXPECT_EQ(MainForm->AutoQueryOn, 1);
    // What it locks while it runs.
    for (const char* name : {"CB_AutoQueryInterval", "B_Query", "TB_COMSwitch", "TB_LOG", "TB_SingleConvert"})
        EXPECT_FALSE(Control(name)->Enabled()) << name;
    ASSERT_TRUE(Await([] { return MainForm->SG_TSBS->Cells(1, 0) == "51234"; }))
        << MainForm->SG_TSBS->Cells(1, 0);
    const int32_t columns = MainForm->AutoQueryColumns;
    // The module's next reading shows without a press.
    SetPack(51300);
    ASSERT_TRUE(Await([] { return MainForm->SG_TSBS->Cells(1, 0) == "51300"; }))
        << MainForm->SG_TSBS->Cells(1, 0);
    EXPECT_GT(MainForm->AutoQueryColumns, columns);
    ASSERT_TRUE(MovePointer(MainForm->SG_TSBS, TPoint{4, 4}));
    Run(200);
    EXPECT_NE(Square(), unticked) << "the box does not look ticked";
    EXPECT_TRUE(SaveScreen("e2e-auto-query-running.png"));

    ASSERT_TRUE(Click("CB_AutoQuery"));
    EXPECT_FALSE(MainForm->CB_AutoQuery->Checked());
    EXPECT_EQ(MainForm->AutoQueryOn, 0);
    for (const char* name : {"CB_AutoQueryInterval", "B_Query", "TB_COMSwitch", "TB_LOG", "TB_SingleConvert"})
        EXPECT_TRUE(Control(name)->Enabled()) << name;
    // A query already on its way may still be answered; none follows it in
    // more than two periods.
    Run(300);
    const size_t asked = Queries();
    SetPack(52000);
    EXPECT_FALSE(Await([&] { return Queries() > asked; }, 2500)) << "it still asks after being unticked";
    EXPECT_EQ(MainForm->SG_TSBS->Cells(1, 0), "51300");
    ASSERT_TRUE(MovePointer(MainForm->SG_TSBS, TPoint{4, 4}));
    Run(200);
    EXPECT_EQ(Square(), unticked) << "the box still looks ticked";
    EXPECT_TRUE(SaveScreen("e2e-auto-query-stopped.png"));
}

}  // namespace
}  // namespace tarvel
