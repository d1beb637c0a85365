// The main window's menu bar: its short-cuts reach their items through the
// skinned frame, also an item the window has hidden.

#include <vector>

#include "tests/app/MainWindowFixture.h"

namespace tarvel::testing {
namespace {

TEST_F(MainWindowTest, EveryShortCutClicksItsItemAlsoWhenTheItemIsHidden) {
    TMainForm* form = Start();
    std::vector<TTeItem*> clicked;
    const struct {
        char key;
        TTeItem* item;
    } cases[] = {
        {'X', form->M_Exit}, {'S', form->M_SetCOM}, {'A', form->M_Help}, {'C', form->M_ConvertEdition}};
    for (const auto& c : cases) {
        ASSERT_NE(c.item, nullptr) << c.key;
        c.item->OnClick = [&clicked](TObject* sender) { clicked.push_back(static_cast<TTeItem*>(sender)); };
    }
    // Parallel mode hides the edition item; its short-cut still works.
    form->M_ConvertEdition->SetVisible(false);
    for (const auto& c : cases) {
        SCOPED_TRACE(c.key);
        clicked.clear();
        ui_.PressKey(c.key, {ssCtrl, ssAlt});
        ui_.RunUntilIdle();
        EXPECT_EQ(clicked, std::vector<TTeItem*>{c.item});
    }
    clicked.clear();
    ui_.PressKey('A', {ssCtrl});
    ui_.RunUntilIdle();
    EXPECT_TRUE(clicked.empty()) << "Ctrl+A alone is no short-cut";
}

TEST_F(MainWindowTest, TheBarShowsTheFourMenusWithTheirItems) {
    TMainForm* form = Start();
    TTeItem* bar = form->TeMenuBar1->Items();
    ASSERT_EQ(bar->Count(), 4);
    const std::vector<std::vector<TTeItem*>> menus = {
        {form->M_File, form->M_Exit},
        {form->M_COMSettings, form->M_SetCOM},
        {form->M_Versionset, form->CustomItem2, form->CustomItem3},
        {form->M_About, form->M_Help, form->M_ConvertEdition}};
    for (int i = 0; i < bar->Count(); ++i) {
        std::vector<TTeItem*> shown{bar->GetItem(i)};
        for (int j = 0; j < bar->GetItem(i)->Count(); ++j) shown.push_back(bar->GetItem(i)->GetItem(j));
        EXPECT_EQ(shown, menus[i]) << i;
    }
    EXPECT_EQ(form->CustomItem2->Caption(), u"3U");
    EXPECT_EQ(form->CustomItem3->Caption(), u"BMS");
}

}  // namespace
}  // namespace tarvel::testing
