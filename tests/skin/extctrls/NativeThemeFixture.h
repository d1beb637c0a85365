#pragma once
// A theme that notes the edit, list and scroll-bar elements the wrapped
// native controls ask it for (state, rectangle, object), with the List
// element switchable, and the fixture of the wrapper tests.

#include <gtest/gtest.h>

#include <vector>

#include "skin/core/te_theme_api.h"
#include "skin/core/te_utils_draw.h"
#include "tests/skin/core/SkinControlFixture.h"

namespace tarvel::testing {

struct TNativeCall {
    String
        op;  // "EditDraw", "EditDrawButton", "ListDraw", "ListDrawItem", "ScrollDrawButton", "ScrollDrawArea"
    int state = 0;
    TRect rect;
    String object;
    int kind = 0;  // the button or area class
};

class TNativeRecordingTheme : public TteTheme {
    TARVEL_CLASS(TNativeRecordingTheme, TteTheme)

public:
    bool definesList = true;
    std::vector<TNativeCall> calls;

    std::vector<TNativeCall> CallsOf(const String& op) const {
        std::vector<TNativeCall> out;
        for (const TNativeCall& c : calls)
            if (c.op == op) out.push_back(c);
        return out;
    }

    bool IsEditDefined(TteEditSubclass, const String&) override { return true; }
    void EditDraw(TteEditSubclass, TCanvas& c, const TteEditInfo& info, const String& obj) override {
        calls.push_back({"EditDraw", info.DrawState, info.Rect, obj, 0});
        FillRect(c, info.Rect, TColor(0xE0F0F0));
    }
    void EditDrawButton(TteEditSubclass, TCanvas& c, const TteEditButtonInfo& info,
                        const String& obj) override {
        calls.push_back({"EditDrawButton", info.DrawState, info.Rect, obj, info.ButtonClass});
        FillRect(c, info.Rect, TColor(0x303030));
    }
    bool IsListDefined(TteListSubclass, const String&) override { return definesList; }
    void ListDraw(TteListSubclass, TCanvas&, const TteListInfo& info, const String& obj) override {
        calls.push_back({"ListDraw", 0, info.Rect, obj, 0});
    }
    void ListDrawItem(TteListSubclass, TCanvas& c, const TteListItemInfo& info, const String& obj) override {
        calls.push_back({"ListDrawItem", info.DrawState, info.Rect, obj, 0});
        FillRect(c, info.Rect, TColor(info.DrawState == klidsFocused ? 0x8000 : 0xFFFFFF));
    }
    bool IsScrollDefined(TteScrollSubclass, const String&) override { return true; }
    void ScrollDrawButton(TteScrollSubclass, TCanvas&, const TteScrollButtonInfo& info,
                          const String& obj) override {
        calls.push_back({"ScrollDrawButton", info.DrawState, info.Rect, obj, info.ButtonClass});
    }
    void ScrollDrawArea(TteScrollSubclass, TCanvas&, const TteScrollAreaInfo& info,
                        const String& obj) override {
        calls.push_back({"ScrollDrawArea", info.DrawState, info.Rect, obj, info.AreaClass});
    }
};

class NativeWrapperTest : public SkinControlTest {
protected:
    // Makes a recording theme current; the manager owns it.
    TNativeRecordingTheme* UseRecordingTheme(bool definesList = true) {
        auto* theme = new TNativeRecordingTheme();
        theme->definesList = definesList;
        ChangeTheme(theme);
        ui_.RunUntilIdle();
        theme->calls.clear();
        return theme;
    }
    // One fresh paint of a window control, frame included.
    void Repaint(TNativeRecordingTheme* theme, TWinControl* control) {
        ui_.RunUntilIdle();
        theme->calls.clear();
        RedrawWindow(control->Handle(), nullptr, nullptr,
                     RDW_INVALIDATE | RDW_FRAME | RDW_ERASE | RDW_UPDATENOW);
        ui_.RunUntilIdle();
    }
    // After a repaint: the drop-down button where the combo has it and,
    // when the face shows an item, the item ending 2 px before the button.
    template <class Combo>
    static void ExpectThemedFace(const TNativeRecordingTheme* theme, Combo* combo, bool itemOnFace) {
        const auto buttons = theme->CallsOf("EditDrawButton");
        ASSERT_FALSE(buttons.empty());
        EXPECT_EQ(buttons.back().rect, combo->ButtonRect());
        EXPECT_EQ(buttons.back().kind, kebcDropDown);
        const auto items = theme->CallsOf("ListDrawItem");
        ASSERT_EQ(!items.empty(), itemOnFace);
        if (itemOnFace) {
            EXPECT_EQ(items.back().rect.right, combo->ButtonRect().left - 2);
        }
    }
    static TPoint Middle(const TRect& r) { return TPoint{(r.left + r.right) / 2, (r.top + r.bottom) / 2}; }
    // A click on a skinned combo's button; the list it opened onto the
    // skin's hook, or nothing.
    template <class Combo>
    HWND OpenByButton(Combo* combo) {
        Down(combo, Middle(combo->ButtonRect()));
        Up(combo, Middle(combo->ButtonRect()));
        if (!combo->DroppedDown() || combo->SubclassedList() != combo->ListBox()->Handle()) return nullptr;
        return combo->SubclassedList();
    }
};

}  // namespace tarvel::testing
