// The query of one module of the parallel system as a person runs it,
// every press made by the X server: the set-up confirmed, the module's
// number typed on the telemetry page, the query once and then cyclic,
// which locks the port, the mode and its own inputs until unticked.

#include <algorithm>

#include "tests/app/xvfb/ToolXvfbFixture.h"

namespace tarvel {
namespace {

class ModuleQueryE2e : public ToolOnX11 {
protected:
    sim::SimConfig Modules() const override { return ModulesAt({1, 2, 3, 4}); }
    // The telemetry queries module 3 has had.
    size_t QueriesOfThree() const {
        const auto requests = line->Sim().Requests();
        return static_cast<size_t>(std::count_if(requests.begin(), requests.end(), [](const sim::Bytes& r) {
            return r.size() == 8 && r[0] == 3 && r[4] == 0x03;
        }));
    }
    void SetPackOfThree(int32_t millivolts) {
        line->Sim().UpdateModule(3, [millivolts](sim::ModuleState& m) {
            m.steady = true;
            m.telemetry.pack = millivolts;
        });
    }
    static String Pack() { return MainForm->SG_TSBS->Cells(1, 0); }
};

TEST_F(ModuleQueryE2e, OnceThenCyclicUntilUnticked) {
    StartTool();
    ASSERT_NO_FATAL_FAILURE(OpenInParallelMode());
    for (int k : {1, 2}) ASSERT_TRUE(Click(MainForm->ModuleChecks[k])) << k;
    ASSERT_TRUE(TypeInto(MainForm->PS_Cyc, "1"));
    ASSERT_TRUE(TypeInto(MainForm->TSBS_Cyc, "1"));
    ASSERT_TRUE(Click("TeButton1"));
    EXPECT_EQ(MainForm->ParaRecord.ModuleSelected[2], 1);

    ASSERT_TRUE(ShowPage(MainForm->TS_TSBS));
    for (const char* name : {"TSBS_SeqNum", "TSBS_OnceQuery", "TSBS_CycQuery"})
        EXPECT_TRUE(Control(name)->Showing()) << name;
    SetPackOfThree(51333);
    ASSERT_TRUE(TypeInto(MainForm->TSBS_SeqNum, "3"));
    EXPECT_EQ(MainForm->TSBS_SeqNum->GetText(), "3");
    ASSERT_TRUE(Click("TSBS_OnceQuery"));
    ASSERT_TRUE(Await([] { return Pack() == "51333"; })) << Pack() << " / " << InfoLine();
    EXPECT_EQ(QueriesOfThree(), 1u);

    SetPackOfThree(51366);
    ASSERT_TRUE(Click("TSBS_CycQuery"));
    EXPECT_TRUE(MainForm->TSBS_CycQuery->Checked());
    for (const char* name : {"TB_COMSwitch", "TB_SingleConvert", "TSBS_SeqNum", "TSBS_OnceQuery"})
        EXPECT_FALSE(Control(name)->Enabled()) << name;
    ASSERT_TRUE(Await([] { return Pack() == "51366"; })) << Pack();
    const size_t cycled = QueriesOfThree();
    ASSERT_TRUE(Await([&] { return QueriesOfThree() > cycled; })) << "the query does not repeat";
    ASSERT_TRUE(MovePointer(MainForm->SG_TSBS, TPoint{4, 4}));
    Settle(MainForm->Handle());
    EXPECT_TRUE(Save(MainForm, "e2e-module-query-cyclic.png"));

    ASSERT_TRUE(Click("TSBS_CycQuery"));
    EXPECT_FALSE(MainForm->TSBS_CycQuery->Checked());
    for (const char* name : {"TB_COMSwitch", "TB_SingleConvert", "TSBS_SeqNum", "TSBS_OnceQuery"})
        EXPECT_TRUE(Control(name)->Enabled()) << name;
    Run(300);
    const size_t asked = QueriesOfThree();
    EXPECT_FALSE(Await([&] { return QueriesOfThree() > asked; }, 2500))
        << "it still asks after being unticked";
}

}  // namespace
}  // namespace tarvel
