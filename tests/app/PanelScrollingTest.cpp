// The main panel's two scroll bars move the content panels of every tab
// sheet together, five pixels a step.

#include <vector>

#include "tests/app/MainWindowFixture.h"

namespace tarvel::testing {
namespace {

class PanelScrollingTest : public MainWindowTest {
protected:
    // The left edges of the twelve panels, or their tops.
    std::vector<int> Edges(bool tops) const {
        std::vector<int> v;
        for (TTeGroupBox* panel : form_->ScrolledPanels) v.push_back(tops ? panel->Top() : panel->Left());
        return v;
    }
    static std::vector<int> All(int value) { return std::vector<int>(12, value); }
};

TEST_F(PanelScrollingTest, EachBarMovesEveryPanelFivePixelsAStepAndBackToTheEdgeAtZero) {
    TMainForm* form = Start();
    // Panels the window placed off the edge come back to it at position 0.
    form->ScrolledPanels[9]->SetLeft(56);
    form->ScrolledPanels[5]->SetTop(3);
    const struct {
        const char* name;
        TTeScrollBar* bar;
        bool tops;
    } bars[] = {{"horizontal", form->TeScrollBar1, false}, {"vertical", form->TeScrollBar2, true}};
    for (const auto& b : bars) {
        SCOPED_TRACE(b.name);
        EXPECT_EQ(b.bar->Min(), 0);
        EXPECT_EQ(b.bar->Max(), 100);
        for (const auto& [position, edge] : {std::pair{10, -50}, std::pair{100, -500}, std::pair{0, 0}}) {
            b.bar->SetPosition(position);
            EXPECT_EQ(Edges(b.tops), All(edge)) << "position " << position;
        }
    }
}

TEST_F(PanelScrollingTest, OneClickOnTheArrowScrollsOneStep) {
    TMainForm* form = Start();
    const TRect arrow = form->TeScrollBar1->GetRightBottomBtnRect();
    ui_.ClickAt(form->TeScrollBar1, TPoint{(arrow.left + arrow.right) / 2, (arrow.top + arrow.bottom) / 2});
    EXPECT_EQ(form->TeScrollBar1->Position(), 1);
    EXPECT_EQ(Edges(false), All(-5));
    EXPECT_EQ(Edges(true), All(0));
}

}  // namespace
}  // namespace tarvel::testing
