// The skinned notebook: its see-through pages, a new page showing, the
// shown page following the page list, and the mouse passing through pages.

#include <gtest/gtest.h>

#include <vector>

#include "ExtBarsFixture.h"
#include "platform/classlib/ExtCtrls.h"
#include "skin/extctrls/te_extctrls_notebook.h"

namespace tarvel {
namespace {

class TeNotebookTest : public testing::ExtBarsTest {
protected:
    // Which page indexes are visible.
    static std::vector<int> Visible(TTeNotebook* nb) {
        std::vector<int> out;
        for (int i = 0; i < nb->PageCount(); ++i)
            if (nb->Page(i)->Visible()) out.push_back(i);
        return out;
    }
};

TEST_F(TeNotebookTest, ANewNotebookShowsOneSeeThroughDefaultPage) {
    auto* nb = Make<TTeNotebook>(10, 10);
    ASSERT_EQ(nb->PageCount(), 1);
    EXPECT_EQ(nb->ActivePage(), "Default");
    EXPECT_EQ(nb->PageIndex(), 0);
    EXPECT_NE(nb->ActivePageControl(), nullptr);
    EXPECT_EQ(Visible(nb), std::vector<int>{0});
    EXPECT_EQ(nb->Width(), 150);
    EXPECT_FALSE(nb->TabStop());
    // The page shows the form behind the notebook, not the notebook's colour.
    form_->SetColor(clRed);
    nb->SetParentColor(false);
    nb->SetColor(clBlue);
    nb->ActivePageControl()->Invalidate();
    EXPECT_EQ(ShownAt(nb, 40, 40), ShownAt(form_, 5, 5));
}

TEST_F(TeNotebookTest, TheShownPageFollowsEveryChangeOfThePageList) {
    auto* nb = Make<TTeNotebook>(10, 10);
    int changes = 0;
    nb->OnPageChanged = [&](TObject*) { ++changes; };
    enum Op { kAdd, kDelete, kMove, kSetIndex, kSetName };
    struct Case {
        Op op;
        int a, b;
        const char* name;
        const char* shown;
        std::vector<int> visible;
    };
    const Case cases[] = {
        {kAdd, 0, 0, "Cells", "Cells", {1}},  // a new page shows
        {kAdd, 0, 0, "Log", "Log", {2}},
        {kSetName, 0, 0, "Nowhere", "Log", {2}},  // an unknown name does nothing
        {kSetName, 0, 0, "Default", "Default", {0}},
        {kDelete, 0, 0, "", "Cells", {0}},    // the shown page went: the next one shows
        {kMove, 0, 1, "", "Cells", {1}},      // the shown page moves with its place
        {kSetIndex, 7, 0, "", "Cells", {1}},  // out of range: ignored
        {kDelete, 1, 0, "", "Log", {0}},
        {kDelete, 0, 0, "", "", {}},          // no page left
        {kAdd, 0, 0, "Again", "Again", {0}},  // a page added after that shows
    };
    for (const Case& c : cases) {
        switch (c.op) {
            case kAdd: nb->Pages()->Add(c.name); break;
            case kDelete: nb->Pages()->Delete(c.a); break;
            case kMove: nb->Pages()->Move(c.a, c.b); break;
            case kSetIndex: nb->SetPageIndex(c.a); break;
            case kSetName: nb->SetActivePage(c.name); break;
        }
        ui_.RunUntilIdle();
        EXPECT_EQ(nb->ActivePage(), c.shown) << c.name << c.op;
        EXPECT_EQ(Visible(nb), c.visible) << c.name << c.op;
    }
    EXPECT_GT(changes, 0);
}

TEST_F(TeNotebookTest, TheMousePassesThroughAPageButNotThroughItsControls) {
    auto* nb = Make<TTeNotebook>(10, 10);
    std::vector<std::string> hits;
    nb->OnMouseDown = [&](TObject*, TMouseButton, TShiftState, int, int) { hits.push_back("notebook"); };
    auto* panel = new TPanel(form_);
    panel->SetParent(nb->ActivePageControl());
    panel->SetBounds(0, 0, 50, 50);
    panel->OnMouseDown = [&](TObject*, TMouseButton, TShiftState, int, int) { hits.push_back("panel"); };
    ui_.RunUntilIdle();
    Down(nb, {100, 100});
    Up(nb, {100, 100});
    Down(nb, {20, 20});
    Up(nb, {20, 20});
    EXPECT_EQ(hits, (std::vector<std::string>{"notebook", "panel"}));
}

}  // namespace
}  // namespace tarvel
