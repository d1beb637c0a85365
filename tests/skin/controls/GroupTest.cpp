// The skinned group box with its optional check box, and the radio group's
// buttons: enabling children, the client area, the column layout, the
// clamps of ItemIndex and Columns, and the classic etched frame.

#include "skin/controls/te_controls_group.h"

#include <gtest/gtest.h>

#include <functional>
#include <set>

#include "RecordingThemeFixture.h"
#include "platform/classlib/StdCtrls_Edit.h"

namespace tarvel {
namespace {

using testing::SkinControlsTest;
using testing::TRecordingTheme;

class TeGroupTest : public SkinControlsTest {
protected:
    TTeRadioGroup* MakeRadioGroup(int items, int columns = 1) {
        TTeRadioGroup* g = Make<TTeRadioGroup>(20, 20);
        g->SetBounds(20, 20, 240, 200);
        g->SetCaption(u"Choice");
        g->SetColumns(columns);
        for (int i = 0; i < items; ++i) g->Items()->Add("Item " + std::to_string(i));
        g->OnClick = [this](TObject*) { ++groupClicks_; };
        ui_.RunUntilIdle();
        return g;
    }
    int groupClicks_ = 0;
};

TEST_F(TeGroupTest, TheCheckBoxEnablesTheOtherChildrenAndTheGroupStaysEnabled) {
    TTeGroupBox* g = Make<TTeGroupBox>(20, 20);
    g->SetBounds(20, 20, 200, 150);
    g->SetCaption(u"Limits");
    TEdit* edit = new TEdit(form_);
    edit->SetParent(g);
    edit->SetBounds(15, 40, 100, 21);
    std::vector<String> events;
    g->OnClick = [&](TObject*) { events.push_back("click"); };
    g->OnCheckBoxClick = [&](TObject*) { events.push_back("checkbox"); };
    g->SetChecked(false);
    g->SetUseCheckBox(true);
    ui_.RunUntilIdle();
    ASSERT_NE(g->CheckBox(), nullptr);
    EXPECT_FALSE(edit->Enabled());
    EXPECT_TRUE(g->CheckBox()->Enabled());
    EXPECT_TRUE(g->Enabled());
    events.clear();

    ui_.Click(g->CheckBox());
    EXPECT_TRUE(g->Checked());
    EXPECT_TRUE(edit->Enabled());
    ASSERT_GE(events.size(), 2u);
    EXPECT_EQ(events.front(), "click");
    EXPECT_EQ(events.back(), "checkbox");

    // Disabling a group that uses its check box leaves it reading enabled.
    g->SetEnabled(false);
    EXPECT_TRUE(g->Enabled());
    EXPECT_TRUE(edit->Enabled()) << "the box is ticked";

    // Without the box the group's Enabled reaches every child.
    g->SetUseCheckBox(false);
    EXPECT_EQ(g->CheckBox(), nullptr);
    g->SetEnabled(false);
    EXPECT_FALSE(g->Enabled());
    EXPECT_FALSE(edit->Enabled());
}

TEST_F(TeGroupTest, TheClientAreaStartsBelowTheCaptionEvenWhenItIsEmpty) {
    TTeGroupBox* g = Make<TTeGroupBox>(20, 20);
    g->SetCaption(u"Tg");
    const TRect withCaption = g->ClientRect();
    g->SetCaption(u"");
    const TRect empty = g->ClientRect();
    EXPECT_GT(empty.top, 0);
    EXPECT_EQ(empty, withCaption);
    EXPECT_EQ(empty, (TRect{12, empty.top, 100 - 12, 90 - 8}));
    // With the check box the top is the box's height.
    g->SetUseCheckBox(true);
    EXPECT_EQ(g->ClientRect().top, g->CheckBox()->Height());
    EXPECT_EQ(g->CheckBox()->Left(), 12) << "at the caption margin";
    EXPECT_EQ(g->CheckBox()->GetCaption(), u"");
}

TEST_F(TeGroupTest, ColumnsAndItemIndexAreClamped) {
    struct ColumnCase {
        int set;
        int got;
    };
    TTeRadioGroup* g = MakeRadioGroup(3);
    for (const ColumnCase c : {ColumnCase{0, 1}, {20, 16}, {5, 5}, {-3, 1}, {16, 16}}) {
        g->SetColumns(c.set);
        EXPECT_EQ(g->Columns(), c.got) << c.set;
    }
    struct IndexCase {
        int set;
        int got;
    };
    for (const IndexCase c : {IndexCase{10, 2}, {-5, -1}, {1, 1}, {3, 2}}) {
        g->SetItemIndex(c.set);
        EXPECT_EQ(g->ItemIndex(), c.got) << c.set;
        for (int i = 0; i < g->ButtonCount(); ++i) EXPECT_EQ(g->Buttons(i)->Checked(), i == c.got);
    }
}

TEST_F(TeGroupTest, RemovingItemsMovesItemIndexToTheNewLastItem) {
    TTeRadioGroup* g = MakeRadioGroup(5);
    g->SetItemIndex(4);
    g->Items()->Delete(4);
    g->Items()->Delete(3);
    EXPECT_EQ(g->ItemIndex(), 2);
    EXPECT_EQ(g->ButtonCount(), 3);
    EXPECT_TRUE(g->Buttons(2)->Checked());
    g->Items()->Clear();
    EXPECT_EQ(g->ItemIndex(), -1);
    EXPECT_EQ(g->ButtonCount(), 0);
}

TEST_F(TeGroupTest, RebuildingTheButtonsReportsNoClickButAUserClickDoes) {
    TTeRadioGroup* g = MakeRadioGroup(3);
    g->SetItemIndex(1);
    groupClicks_ = 0;
    g->Items()->Add("Item 3");
    EXPECT_EQ(groupClicks_, 0);
    EXPECT_TRUE(g->Buttons(1)->Checked());
    EXPECT_EQ(g->Buttons(3)->GetCaption(), u"Item 3");

    // The form hears of the change, naming the group, before the group's click.
    std::vector<std::pair<LPARAM, int>> changes;
    auto formProc = Form()->WindowProc;
    Form()->WindowProc = [&](TMessage& m) {
        if (m.Msg == CM_CHANGED) changes.emplace_back(m.LParam, groupClicks_);
        formProc(m);
    };
    ui_.Click(g->Buttons(3));
    Form()->WindowProc = formProc;
    EXPECT_EQ(g->ItemIndex(), 3);
    EXPECT_EQ(groupClicks_, 1);
    EXPECT_FALSE(g->Buttons(1)->Checked());
    EXPECT_EQ(changes, (std::vector<std::pair<LPARAM, int>>{{reinterpret_cast<LPARAM>(g), 0}}));
}

TEST_F(TeGroupTest, ButtonsFillTheColumnsTopToBottom) {
    struct Case {
        int items;
        int columns;
        int rows;
    };
    const Case cases[] = {{7, 2, 4}, {3, 1, 3}, {5, 16, 1}, {6, 3, 2}};
    for (const Case& c : cases) {
        SCOPED_TRACE(std::to_string(c.items) + " in " + std::to_string(c.columns));
        TTeRadioGroup* g = MakeRadioGroup(c.items, c.columns);
        std::set<int> tops, lefts;
        for (int i = 0; i < g->ButtonCount(); ++i) {
            TTeGroupButton* b = g->Buttons(i);
            EXPECT_TRUE(b->Visible());
            tops.insert(b->Top());
            lefts.insert(b->Left());
            const int column = i / c.rows, row = i % c.rows;
            EXPECT_EQ(b->Left(), g->Buttons(0)->Left() + column * b->Width());
            EXPECT_EQ(b->Top(), g->Buttons(0)->Top() + row * b->Height());
        }
        EXPECT_EQ(static_cast<int>(tops.size()), c.rows);
        EXPECT_EQ(g->Buttons(0)->Left(), 8);
        EXPECT_EQ(g->Buttons(0)->Width(), g->ClientWidth() / c.columns);
        delete g;
    }
}

TEST_F(TeGroupTest, ArrowKeysMoveAmongTheGroupsButtonsAndCheckTheOneReached) {
    TTeRadioGroup* g = MakeRadioGroup(3);
    // A neighbour outside the group that the arrows must not reach.
    TEdit* edit = Make<TEdit>(280, 20);
    struct Case {
        int from;
        UINT key;
        int to;
    };
    const Case cases[] = {{0, VK_DOWN, 1}, {1, VK_RIGHT, 2}, {2, VK_DOWN, 0},
                          {0, VK_UP, 2},   {2, VK_LEFT, 1},  {1, VK_UP, 0}};
    for (const Case& c : cases) {
        SCOPED_TRACE(std::to_string(c.from) + " key " + std::to_string(c.key));
        g->Buttons(c.from)->SetFocus();
        ui_.RunUntilIdle();
        ASSERT_EQ(g->ItemIndex(), c.from);
        groupClicks_ = 0;
        ui_.PressKey(c.key);
        EXPECT_EQ(ui_.FocusedControl(), g->Buttons(c.to));
        EXPECT_NE(ui_.FocusedControl(), edit);
        EXPECT_EQ(g->ItemIndex(), c.to);
        EXPECT_EQ(groupClicks_, 1);
        for (int i = 0; i < g->ButtonCount(); ++i) EXPECT_EQ(g->Buttons(i)->Checked(), i == c.to) << i;
    }
}

TEST_F(TeGroupTest, KeysTypedOnAButtonReachTheGroupsKeyEventsToo) {
    TTeRadioGroup* g = MakeRadioGroup(3);
    std::vector<String> heard;
    auto from = [g](TObject* sender) { return sender == g ? String("group") : String("other"); };
    g->OnKeyDown = [&](TObject* sender, WORD& key, TShiftState) {
        heard.push_back(from(sender) + " down " + std::to_string(key));
    };
    g->OnKeyPress = [&](TObject* sender, char16_t& key) {
        heard.push_back(from(sender) + " press " + std::to_string(static_cast<int>(key)));
    };
    g->Buttons(1)->OnKeyDown = [&](TObject*, WORD& key, TShiftState) {
        heard.push_back("button down " + std::to_string(key));
    };
    g->Buttons(1)->SetFocus();
    ui_.RunUntilIdle();
    struct Case {
        std::function<void()> act;
        std::vector<String> expected;
    };
    const Case cases[] = {
        {[&] { ui_.PressKey(VK_SPACE); }, {"button down 32", "group down 32", "group press 32"}},
        {[&] { ui_.PressKey(VK_F6); }, {"button down 117", "group down 117"}},
        {[&] { ui_.Type("a"); }, {"group press 97"}},
        {[&] { ui_.Type(" "); }, {"group press 32"}},
        {[&] {
             ui_.Backend().TypeChar(u'\b');
             ui_.RunUntilIdle();
         },
         {"group press 8"}},
    };
    for (const Case& c : cases) {
        heard.clear();
        c.act();
        EXPECT_EQ(heard, c.expected);
    }
    EXPECT_EQ(g->ItemIndex(), 1);
}

TEST_F(TeGroupTest, DisablingARadioGroupDisablesItsButtons) {
    TTeRadioGroup* g = MakeRadioGroup(3);
    g->SetEnabled(false);
    for (int i = 0; i < g->ButtonCount(); ++i) EXPECT_FALSE(g->Buttons(i)->Enabled());
    g->SetEnabled(true);
    for (int i = 0; i < g->ButtonCount(); ++i) EXPECT_TRUE(g->Buttons(i)->Enabled());
}

TEST_F(TeGroupTest, TheThemeDrawsTheFrameWithTheDefaultObjectAndTheCaptionOnlyWithoutTheBox) {
    TRecordingTheme* theme = UseRecordingTheme();
    TTeGroupBox* g = Make<TTeGroupBox>(20, 20);
    g->SetCaption(u"Port");
    g->SetThemeObject("mine");
    g->SetEnabled(false);
    RepaintRecorded(theme, g);
    auto frames = theme->CallsOf("GroupDraw");
    auto texts = theme->CallsOf("GroupDrawText");
    ASSERT_FALSE(frames.empty());
    ASSERT_FALSE(texts.empty());
    EXPECT_EQ(frames.back().object, "default");
    EXPECT_EQ(frames.back().state, kgdsDisabled);
    EXPECT_EQ(frames.back().rect.left, 3);
    EXPECT_EQ(frames.back().rect.right, 100 - 2);
    EXPECT_EQ(texts.back().text, u"Port");
    EXPECT_EQ(texts.back().rect.left, 12);

    g->SetEnabled(true);
    g->SetUseCheckBox(true);
    RepaintRecorded(theme, g);
    frames = theme->CallsOf("GroupDraw");
    ASSERT_FALSE(frames.empty());
    EXPECT_EQ(frames.back().state, kgdsNormal);
    EXPECT_TRUE(theme->CallsOf("GroupDrawText").empty());
    EXPECT_EQ(frames.back().rect.top, g->CheckBox()->Height() / 2 + 1);
}

// The caption is the control's text whichever way it is set: the title
// drawn, Caption() and the check box all follow it.
TEST_F(TeGroupTest, ACaptionSetAsTextIsTheTitleDrawn) {
    TRecordingTheme* theme = UseRecordingTheme();
    TTeGroupBox* g = Make<TTeGroupBox>(20, 20);
    g->SetText("信息");
    EXPECT_EQ(g->GetCaption(), u"信息");
    EXPECT_GT(g->GetCaptionRect().Width(), 0);
    RepaintRecorded(theme, g);
    auto texts = theme->CallsOf("GroupDrawText");
    ASSERT_FALSE(texts.empty());
    EXPECT_EQ(texts.back().text, u"信息");

    g->SetCaption(u"Port");
    EXPECT_EQ(g->Caption(), "Port");
    g->SetUseCheckBox(true);
    g->SetText("Limits");
    EXPECT_EQ(g->CheckBox()->GetCaption(), u"Limits");
}

TEST_F(TeGroupTest, TheClassicFrameIsEtchedWithAGapForTheCaption) {
    TTeGroupBox* g = Make<TTeGroupBox>(20, 20);
    g->SetTransparent(false);
    g->SetBounds(20, 20, 120, 80);
    g->SetCaption(u"Cells");
    ui_.RunUntilIdle();
    const TRect frame = g->GetBoxRect();
    const TRect caption = g->GetCaptionRect();
    const int midY = (frame.top + frame.bottom) / 2;
    const int midX = caption.right + (frame.right - caption.right) / 2;
    const uint32_t light = testing::Rgb(clBtnHighlight), dark = testing::Rgb(clBtnShadow);
    struct Probe {
        int x, y;
        uint32_t colour;
    };
    const Probe probes[] = {
        {frame.left - 1, midY, dark},
        {frame.left, midY, light},
        {frame.right - 1, midY, dark},
        {frame.right, midY, light},
        {midX, frame.top - 1, dark},
        {midX, frame.top, light},
        {midX, frame.bottom - 1, dark},
        {midX, frame.bottom, light},
        {frame.left + 4, frame.top + 4, testing::Rgb(clBtnFace)},
        {caption.left + 1, caption.bottom + 1, testing::Rgb(clBtnFace)},
    };
    for (const Probe& p : probes) EXPECT_EQ(ShownAt(g, p.x, p.y), p.colour) << p.x << "," << p.y;
    // No line runs through the caption.
    for (int x = caption.left; x < caption.right; ++x) {
        EXPECT_NE(ShownAt(g, x, frame.top), light) << x;
    }
}

}  // namespace
}  // namespace tarvel
