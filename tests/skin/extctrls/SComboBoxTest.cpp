// The skinned native combo box: the face from the theme, items drawn as
// theme list items, and the dropped list's own bar: arrows a line a click,
// an inert track, a thumb that drags the top item.

#include "NativeThemeFixture.h"
#include "skin/extctrls/te_extctrls_combo.h"

namespace tarvel {
namespace {

using testing::NativeWrapperTest;

class SComboBoxTest : public NativeWrapperTest {
protected:
    TTeSComboBox* MakeCombo(TComboBoxStyle style, int count) {
        auto* combo = Make<TTeSComboBox>(20, 20);
        combo->SetStyle(style);
        for (int i = 0; i < count; ++i) combo->Items()->Add("Module " + std::to_string(i + 1));
        ui_.RunUntilIdle();
        return combo;
    }
    // A press and release at a point of the list's window.
    void ClickList(HWND list, TPoint windowPoint) {
        const TRect w = WindowRect(list);
        const TPoint s{w.left + windowPoint.x, w.top + windowPoint.y};
        ui_.Backend().MouseMove(s);
        ui_.Backend().MouseDown(s);
        ui_.Backend().MouseUp(s);
        ui_.RunUntilIdle();
    }
    static int TopIndex(HWND list) { return static_cast<int>(SendMessage(list, LB_GETTOPINDEX, 0, 0)); }
};

TEST_F(SComboBoxTest, ThumbDragShareOfTheTrack) {
    struct Case {
        const char* name;
        int y;
        TRect track;
        int count, clientHeight, itemHeight;
        int top;
    };
    const Case cases[] = {
        {"top of the track", 16, {0, 16, 16, 116}, 30, 80, 16, 0},
        {"bottom: all that do not fit", 116, {0, 16, 16, 116}, 30, 80, 16, 25},
        {"past the bottom stays at the end", 400, {0, 16, 16, 116}, 30, 80, 16, 25},
        {"above the track stays at the start", -40, {0, 16, 16, 116}, 30, 80, 16, 0},
        {"half way, half to even", 66, {0, 16, 16, 116}, 13, 80, 16, 4},
        {"no track", 50, {0, 16, 16, 16}, 30, 80, 16, 0},
        {"no item height", 50, {0, 16, 16, 116}, 30, 80, 0, 0},
        {"everything fits", 116, {0, 16, 16, 116}, 3, 80, 16, 0},
    };
    for (const Case& c : cases)
        EXPECT_EQ(ThumbTopIndex(c.y, c.track, c.count, c.clientHeight, c.itemHeight), c.top) << c.name;
}

TEST_F(SComboBoxTest, FaceShowsFrameButtonAndTheChosenItemOnly) {
    struct Case {
        const char* name;
        TComboBoxStyle style;
        int itemIndex;
        bool itemOnFace;
    };
    const Case cases[] = {
        {"list style, no item", csDropDownList, -1, false},
        {"list style, an item", csDropDownList, 2, true},
        {"editable style draws no face item", csDropDown, 2, false},
    };
    auto* theme = UseRecordingTheme();
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        TTeSComboBox* combo = MakeCombo(c.style, 5);
        combo->SetItemIndex(c.itemIndex);
        Repaint(theme, combo);
        ExpectThemedFace(theme, combo, c.itemOnFace);
        delete combo;
    }
}

TEST_F(SComboBoxTest, ListOpensScrollsByItsOwnBarAndCloses) {
    auto* theme = UseRecordingTheme();
    TTeSComboBox* combo = MakeCombo(csDropDownList, 30);
    HWND list = OpenByButton(combo);
    ASSERT_TRUE(list);
    EXPECT_FALSE(theme->CallsOf("ListDrawItem").empty());
    EXPECT_FALSE(theme->CallsOf("ListDraw").empty());
    const TListBarParts parts = ListBarParts(list);
    ASSERT_NE(parts.bar, NullRect);

    ClickList(list, Middle(parts.down));
    ClickList(list, Middle(parts.down));
    EXPECT_EQ(TopIndex(list), 2);
    ClickList(list, Middle(parts.up));
    EXPECT_EQ(TopIndex(list), 1);
    const TListBarParts now = ListBarParts(list);
    ClickList(list, TPoint{now.track.left + 2, now.track.bottom - 2});
    EXPECT_EQ(TopIndex(list), 1) << "the track does nothing";
    EXPECT_TRUE(combo->DroppedDown());

    // The thumb dragged to the track's end shows the last items.
    const TListBarParts drag = ListBarParts(list);
    const TRect w = WindowRect(list);
    const TPoint thumb{w.left + Middle(drag.thumb).x, w.top + Middle(drag.thumb).y};
    ui_.Backend().MouseMove(thumb);
    ui_.Backend().MouseDown(thumb);
    ui_.RunUntilIdle();
    const TPoint end{thumb.x, w.top + drag.track.bottom + 30};
    ui_.Backend().MouseMove(end);
    ui_.RunUntilIdle();
    const int fit = ClientRect(list).Height() / combo->ItemHeight();
    EXPECT_EQ(TopIndex(list), 30 - fit);
    theme->calls.clear();
    ui_.Backend().MouseUp(end);
    ui_.RunUntilIdle();
    bool thumbUp = false;
    for (const auto& call : theme->CallsOf("ScrollDrawButton"))
        if (call.kind == ksbcVertSlider) thumbUp = call.state == ksbdsNormal;
    EXPECT_TRUE(thumbUp);
    EXPECT_TRUE(combo->DroppedDown());

    ui_.PickItem(combo, "Module 29");
    EXPECT_FALSE(combo->DroppedDown());
    EXPECT_EQ(combo->ItemIndex(), 28);
}

TEST_F(SComboBoxTest, ThemeWithoutListLeavesItemsAndListNative) {
    auto* theme = UseRecordingTheme(false);
    TTeSComboBox* combo = MakeCombo(csDropDownList, 4);
    combo->SetItemIndex(1);
    ui_.PickItem(combo, "Module 3");
    EXPECT_EQ(combo->ItemIndex(), 2);
    EXPECT_EQ(combo->SubclassedList(), nullptr);
    EXPECT_TRUE(theme->CallsOf("ListDrawItem").empty());
    EXPECT_FALSE(theme->CallsOf("EditDrawButton").empty());
}

}  // namespace
}  // namespace tarvel
