// Progress bar, up-down, status bar and tool bar.

#include "platform/classlib/ComCtrls_Bars.h"

#include "ControlFixture.h"

namespace tarvel {
namespace {

class BarsTest : public ControlFixture {};

TEST_F(BarsTest, ProgressBarKeepsItsPositionInRangeAndStepsAround) {
    auto* bar = Add<TProgressBar>("PB", Bounds(10, 10, 102, 16));
    struct Case {
        int set, position;
    } cases[] = {{50, 50}, {-1, 0}, {105, 100}, {100, 100}};
    for (const Case& c : cases) {
        bar->SetPosition(c.set);
        EXPECT_EQ(bar->Position(), c.position) << c.set;
    }
    bar->SetStep(5);
    bar->SetPosition(95);
    bar->StepIt();
    EXPECT_EQ(bar->Position(), 100);
    bar->StepIt();  // past the end it starts again
    EXPECT_EQ(bar->Position(), 0);
    bar->SetSmooth(true);
    bar->SetBarColor(clBlue);
    bar->SetPosition(50);
    ShowForm();
    EXPECT_EQ(PixelAt(bar, {20, 8}), 0x0000FFu);
    EXPECT_NE(PixelAt(bar, {80, 8}), 0x0000FFu);
}

TEST_F(BarsTest, UpDownStepsItsAssociateAndTellsTheParent) {
    auto* edit = Add<TEdit>("Count", Bounds(10, 10, 60, 21));
    auto* ud = Add<TUpDown>("Spin", Bounds(0, 0, 17, 21));
    ud->SetMax(3);
    ud->SetAssociate(edit);
    EXPECT_EQ(ud->Left(), 70);
    EXPECT_EQ(edit->Text(), "0");
    std::vector<int> clicks;
    ud->OnClick = [&](TObject*, TUDBtnType b) {
        clicks.push_back(b == btNext ? ud->Position() : -ud->Position());
    };
    ShowForm();
    for (int i = 0; i < 4; ++i) ui.ClickAt(ud, TPoint{8, 3});
    EXPECT_EQ(edit->Text(), "3");
    ud->SetWrap(true);
    ui.ClickAt(ud, TPoint{8, 3});
    EXPECT_EQ(ud->Position(), 0);
    ui.ClickAt(ud, TPoint{8, 18});
    EXPECT_EQ(ud->Position(), 3);
    ui.Click(edit);
    ui.PressKey(VK_DOWN);
    EXPECT_EQ(edit->Text(), "2");
    bool allow = false;
    ud->OnChanging = [&](TObject*, bool& a) { a = allow; };
    ui.ClickAt(ud, TPoint{8, 3});
    EXPECT_EQ(ud->Position(), 2);
    EXPECT_EQ(clicks, (std::vector<int>{1, 2, 3, 3, 0, -3, -2}));
}

TEST_F(BarsTest, StatusBarPanelsAndSimpleText) {
    auto* status = Add<TStatusBar>("Status", Bounds(0, 0, 10, 10));
    TStatusPanel* port = status->Panels()->Add();
    port->SetWidth(120);
    port->SetText("COM1");
    TStatusPanel* rest = status->Panels()->Add();
    rest->SetStyle(psOwnerDraw);
    std::vector<int> drawn;
    status->OnDrawPanel = [&](TStatusBar*, TStatusPanel* p, const TRect&) { drawn.push_back(p->Index()); };
    ShowForm();
    EXPECT_EQ(status->Top() + status->Height(), form->ClientHeight());
    EXPECT_EQ(status->PanelRect(0).right, 118);
    EXPECT_EQ(status->PanelRect(1).right, status->ClientWidth());
    EXPECT_FALSE(drawn.empty());
    EXPECT_EQ(drawn.back(), 1);
    status->SetSimplePanel(true);
    status->SetSimpleText("Ready");
    EXPECT_EQ(status->SimpleText(), "Ready");
}

TEST_F(BarsTest, ToolBarLaysOutButtonsAndGroupsChecks) {
    auto* bar = Add<TToolBar>("Tools", Bounds(0, 0, 10, 29));
    std::vector<TToolButton*> buttons;
    for (int i = 0; i < 4; ++i) {
        auto* b = new TToolButton(form);
        b->SetName("Tool" + IntToStr(i));
        b->SetParent(bar);
        buttons.push_back(b);
    }
    buttons[1]->SetStyle(tbsSeparator);
    for (int i : {2, 3}) {
        buttons[static_cast<size_t>(i)]->SetStyle(tbsCheck);
        buttons[static_cast<size_t>(i)]->SetGrouped(true);
    }
    int clicks = 0;
    buttons[0]->OnClick = [&](TObject*) { ++clicks; };
    ShowForm();
    EXPECT_EQ(buttons[1]->Left(), buttons[0]->Left() + 23);
    EXPECT_EQ(buttons[2]->Left(), buttons[1]->Left() + 8);
    ui.Click(buttons[0]);
    ui.Click(buttons[2]);
    ui.Click(buttons[3]);
    EXPECT_EQ(clicks, 1);
    EXPECT_FALSE(buttons[2]->Down());
    EXPECT_TRUE(buttons[3]->Down());
    ui.Click(buttons[3]);  // the last one down of a group stays down
    EXPECT_TRUE(buttons[3]->Down());
    EXPECT_EQ(bar->ButtonCount(), 4);
}

}  // namespace
}  // namespace tarvel
