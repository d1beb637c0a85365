// Start-up of the main window in an empty folder.

#include "tests/app/MainWindowFixture.h"

namespace tarvel::testing {
namespace {

TEST_F(MainWindowTest, StartsInAnEmptyFolder) {
    TMainForm* form = Start();
    ASSERT_NE(form, nullptr);
    EXPECT_EQ(MainForm, form);
    EXPECT_EQ(Application->MainForm(), form);
    EXPECT_EQ(ui_.Find(form, "TS_TSBS"), form->TS_TSBS);
}

}  // namespace
}  // namespace tarvel::testing
