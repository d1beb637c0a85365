#pragma once
// What the edit tests share: the control fixture with edit helpers, and a
// theme that notes which edit and list elements are drawn in which state.

#include <gtest/gtest.h>

#include <vector>

#include "platform/classlib/Clipbrd.h"
#include "platform/classlib/Forms.h"
#include "platform/classlib/testing/UiDriver.h"
#include "skin/controls/te_controls_edit.h"
#include "skin/core/te_forms.h"
#include "skin/core/te_theme_api.h"
#include "skin/core/te_utils_draw.h"
#include "tests/skin/controls/RecordingThemeFixture.h"

namespace tarvel::testing {

struct TEditThemeCall {
    String op;
    int subclass = 0;
    int state = 0;
    TRect rect;
};

// Draws every edit state in a colour of its own and notes each call.
class TEditRecordingTheme : public TteTheme {
    TARVEL_CLASS(TEditRecordingTheme, TteTheme)

public:
    static TColor StateColor(int state) { return TColor(0x203040 + state * 0x101010); }
    std::vector<TEditThemeCall> Calls;
    std::vector<TEditThemeCall> CallsOf(const String& op) const {
        std::vector<TEditThemeCall> out;
        for (const auto& c : Calls)
            if (c.op == op) out.push_back(c);
        return out;
    }

    bool IsEditDefined(TteEditSubclass, const String&) override { return true; }
    TRect EditGetClientRect(TteEditSubclass, TCanvas&, const TteEditInfo& info, const String&) override {
        return TRect{info.Rect.left + 3, info.Rect.top + 3, info.Rect.right - 3, info.Rect.bottom - 3};
    }
    void EditDraw(TteEditSubclass s, TCanvas& c, const TteEditInfo& info, const String&) override {
        Calls.push_back({"EditDraw", s, info.DrawState, info.Rect});
        FillRect(c, info.Rect, StateColor(info.DrawState));
    }
    void EditDrawButton(TteEditSubclass s, TCanvas& c, const TteEditButtonInfo& info,
                        const String&) override {
        Calls.push_back({"EditDrawButton", s, info.DrawState, info.Rect});
        FillRect(c, info.Rect, StateColor(info.DrawState));
    }
    bool IsListDefined(TteListSubclass, const String&) override { return true; }
    void ListDraw(TteListSubclass s, TCanvas& c, const TteListInfo& info, const String&) override {
        Calls.push_back({"ListDraw", s, 0, info.Rect});
        FillRect(c, info.Rect, clWhite);
    }
    void ListDrawItem(TteListSubclass s, TCanvas& c, const TteListItemInfo& info, const String&) override {
        Calls.push_back({"ListDrawItem", s, info.DrawState, info.Rect});
        FillRect(c, info.Rect, StateColor(info.DrawState));
    }
};

// The control fixture with helpers for edits: made at a width, focused with
// the caret at the end, keys pressed in turn.
class EditTest : public SkinControlsTest {
public:
    template <class T = TTeEdit>
    T* Make(int left = 10, int top = 10, int width = 121) {
        T* c = SkinControlsTest::Make<T>(left, top);
        c->SetWidth(width);
        ui_.RunUntilIdle();
        return c;
    }
    TTeEdit* Focused(const String& text, int width = 121) {
        TTeEdit* e = Make(10, 10, width);
        e->SetText(text);
        e->SetFocus();
        ui_.RunUntilIdle();
        ui_.PressKey(VK_END);
        return e;
    }
    void Keys(std::initializer_list<UINT> keys, TShiftState shift = {}) {
        for (UINT k : keys) ui_.PressKey(k, shift);
    }

    TForm* Form() { return form_; }
    TUiDriver& Ui() { return ui_; }
};

}  // namespace tarvel::testing
