// Automatic addressing as a person runs it, every press made by the X
// server: "Auto GetAddress" on the polling set-up, its warning answered Yes,
// the run probing every address, and the modules found ticked and counted.

#include "tests/app/xvfb/ToolXvfbFixture.h"

namespace tarvel {
namespace {

class AddressingE2e : public ToolOnX11 {
protected:
    sim::SimConfig Modules() const override { return ModulesAt({2, 5, 9, 12}); }
};

TEST_F(AddressingE2e, TheModulesFoundAreTickedAndCounted) {
    StartTool();
    ASSERT_NO_FATAL_FAILURE(OpenInParallelMode());
    // A box ticked before the run that no module answers for.
    ASSERT_TRUE(Click(MainForm->ModuleChecks[0]));
    EXPECT_EQ(testing::TextOf(Control("TeButton3")), "Auto GetAddress");

    AnswerBox("Yes", "e2e-addressing-warning.png");
    AnswerBox("OK", "e2e-addressing-result.png");
    ASSERT_TRUE(Click("TeButton3"));
    ASSERT_TRUE(Await([&] { return seen.size() == 2; }, 60000)) << seen.size() << " boxes";
    EXPECT_EQ(seen[0].text,
              "Automatic addressing needs about 30 s, before prompts to complete, please wait!");
    EXPECT_EQ(seen[1].text, " battery quantity is  4PCS ，Please make sure the battery number!");
    EXPECT_EQ(MainForm->ModulesAddressed, 4);
    for (int k = 0; k < 16; ++k) {
        const bool found = k == 1 || k == 4 || k == 8 || k == 11;
        EXPECT_EQ(MainForm->ModuleChecks[k]->Checked(), found) << "module " << k + 1;
    }
    // The ticks show: a found module's box looks unlike one not found.
    ASSERT_TRUE(MovePointer(Control("TeButton3"), TPoint{2, 2}));
    Settle(MainForm->Handle());
    auto square = [this](int k) {
        TControl* box = MainForm->ModuleChecks[k];
        return PixelsOf(box, TRect{0, 0, 15, box->Height()});
    };
    EXPECT_NE(square(1), square(0));
    EXPECT_EQ(square(1), square(4));
    EXPECT_EQ(square(0), square(2));
    EXPECT_TRUE(Save(MainForm, "e2e-addressing-found.png"));
}

}  // namespace
}  // namespace tarvel
