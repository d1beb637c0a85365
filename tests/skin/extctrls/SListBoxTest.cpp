// The skinned list box: its frame's states, and the skinned bars over its
// own following every way the list scrolls or changes.

#include <functional>

#include "NativeThemeFixture.h"
#include "skin/core/te_engine.h"
#include "skin/extctrls/te_extctrls_listbox.h"

namespace tarvel {
namespace {

using testing::NativeWrapperTest;

class SListBoxTest : public NativeWrapperTest {
protected:
    TTeSListBox* List(int items) {
        auto* list = Make<TTeSListBox>(20, 20);
        list->SetBounds(20, 20, 150, 120);
        for (int i = 0; i < items; ++i) list->Items()->Add("Cell " + std::to_string(i + 1));
        ui_.RunUntilIdle();
        return list;
    }
};

TEST_F(SListBoxTest, TheFrameHasNoHotLookAndNeedsTheListElement) {
    struct Case {
        const char* name;
        bool definesList, enabled, hovered, focused;
        int state;  // -1: no theme frame
    };
    const Case cases[] = {
        {"normal", true, true, false, false, kedsNormal},
        {"focused", true, true, false, true, kedsFocused},
        {"hovered stays normal", true, true, true, false, kedsNormal},
        {"hovered and focused", true, true, true, true, kedsFocused},
        {"disabled", true, false, true, false, kedsDisabled},
        {"no list element: classic", false, true, false, false, -1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        auto* theme = UseRecordingTheme(c.definesList);
        auto* other = Make<TTeSListBox>(20, 200);
        TTeSListBox* list = List(3);
        list->SetEnabled(c.enabled);
        (c.focused ? list : other)->SetFocus();
        MoveTo(c.hovered ? static_cast<TControl*>(list) : Form(), TPoint{3, 3});
        Repaint(theme, list);
        const TRect window{0, 0, list->Width(), list->Height()};
        int state = -1;
        for (const auto& call : theme->CallsOf("EditDraw"))
            if (call.rect == window) {
                state = call.state;
                EXPECT_EQ(call.object, "default");
            }
        EXPECT_EQ(state, c.state);
        MoveTo(Form(), TPoint{390, 290});
        delete list;
        delete other;
    }
}

TEST_F(SListBoxTest, TheVerticalBarFollowsTheList) {
    struct Case {
        const char* name;
        std::function<void(TTeSListBox*)> act;
        bool shown, moved;  // the list is off its first item
    };
    const Case cases[] = {
        {"key End", [this](TTeSListBox*) { ui_.PressKey(VK_END); }, true, true},
        {"key Home", [this](TTeSListBox*) { ui_.PressKey(VK_HOME); }, true, false},
        {"page down", [this](TTeSListBox*) { ui_.PressKey(VK_NEXT); }, true, true},
        {"wheel", [this](TTeSListBox* l) { ui_.Wheel(l, -240); }, true, true},
        {"drag past the bottom",
         [this](TTeSListBox* l) {
             Down(l, TPoint{10, 10});
             for (int i = 0; i < 5; ++i) MoveTo(l, TPoint{10, l->ClientHeight() + 8});
             Up(l, TPoint{10, l->ClientHeight() + 8});
         },
         true, true},
        {"items cleared", [](TTeSListBox* l) { l->Items()->Clear(); }, false, false},
        {"window made again, then End",
         [this](TTeSListBox* l) {
             l->RecreateWnd();
             ui_.RunUntilIdle();
             l->SetFocus();
             ui_.PressKey(VK_END);
         },
         true, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        TTeSListBox* list = List(50);
        list->SetFocus();
        list->SetItemIndex(20);
        ui_.RunUntilIdle();
        c.act(list);
        ui_.RunUntilIdle();
        TTeInplaceScrollBar* bar = list->SubScrollBar()->VertBar();
        ASSERT_NE(bar, nullptr);
        EXPECT_EQ(bar->Visible(), c.shown);
        if (c.shown) {
            EXPECT_EQ(list->TopIndex() > 0, c.moved);
            EXPECT_EQ(bar->ScrollBar()->Position(), list->TopIndex());
        }
        delete list;
    }
}

TEST_F(SListBoxTest, TheHostedBarScrollsTheListAndTakesItsThemeLink) {
    TTeSListBox* list = List(50);
    TTeInplaceScrollBar* bar = list->SubScrollBar()->VertBar();
    ASSERT_TRUE(bar->Visible());
    TTeScrollBar* hosted = bar->ScrollBar();
    if (hosted->OnScroll) {
        int pos = 10;
        hosted->OnScroll(hosted, kscPosition, pos);
    }
    ui_.RunUntilIdle();
    EXPECT_EQ(list->TopIndex(), 10);
    auto* link = new TTeThemeLink(Form());
    list->SetThemeLink(link);
    EXPECT_EQ(hosted->ThemeLink(), link);
    delete link;
    EXPECT_EQ(list->ThemeLink(), nullptr);
    EXPECT_EQ(hosted->ThemeLink(), nullptr);
}

}  // namespace
}  // namespace tarvel
