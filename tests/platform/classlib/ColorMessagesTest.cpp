// Colour requests and owner-drawn items travel as they do between native
// controls and their parents: the control asks its parent window
// (WM_CTLCOLOR..., WM_DRAWITEM), the parent's window reflects the request
// back (CN_...), and anyone who subclasses either window can answer.

#include <functional>
#include <map>

#include "platform/classlib/ComCtrlMessages.h"
#include "platform/classlib/StdCtrls_ComboBox.h"
#include "platform/classlib/StdCtrls_Draw.h"
#include "platform/classlib/StdCtrls_Edit.h"

#include "ControlFixture.h"

namespace tarvel {
namespace {

// Puts `handler` in front of a window's procedure for the hook's life; the
// handler answers or returns nothing to pass the message on.
class WindowHook {
public:
    using Handler = std::function<std::optional<LRESULT>(UINT, WPARAM, LPARAM)>;
    WindowHook(HWND hwnd, Handler handler) : hwnd_(hwnd), handler_(std::move(handler)) {
        proc_ = MakeWindowProc([this](HWND h, UINT msg, WPARAM w, LPARAM l) -> LRESULT {
            if (auto answer = handler_(msg, w, l)) return *answer;
            return CallWindowProc(previous_, h, msg, w, l);
        });
        previous_ = reinterpret_cast<WNDPROC>(
            SetWindowLongPtr(hwnd_, GWL_WNDPROC, reinterpret_cast<LONG_PTR>(proc_)));
    }
    ~WindowHook() {
        if (IsWindow(hwnd_)) SetWindowLongPtr(hwnd_, GWL_WNDPROC, reinterpret_cast<LONG_PTR>(previous_));
    }

private:
    HWND hwnd_;
    Handler handler_;
    WNDPROC proc_ = nullptr;
    WNDPROC previous_ = nullptr;
};

class ColorMessagesTest : public ControlFixture {};

TEST_F(ColorMessagesTest, AnEditAsksItsParentAndTheAnswerPaintsItsBackground) {
    auto* edit = Add<TEdit>("Edit", Bounds(10, 10, 120, 21));
    edit->SetText("");
    ShowForm();
    std::map<UINT, int> asked;
    bool answer = true;
    WindowHook hook(form->Handle(), [&](UINT msg, WPARAM, LPARAM l) -> std::optional<LRESULT> {
        if (msg != WM_CTLCOLOREDIT && msg != WM_CTLCOLORSTATIC) return std::nullopt;
        EXPECT_EQ(reinterpret_cast<HWND>(l), edit->Handle());
        ++asked[msg];
        if (!answer) return std::nullopt;
        return static_cast<LRESULT>(AnswerBrush(clYellow).Value());
    });
    // As a native edit: read-only and disabled edits ask as static text.
    struct Case {
        bool readOnly, enabled;
        UINT message;
    } cases[] = {
        {false, true, WM_CTLCOLOREDIT}, {true, true, WM_CTLCOLORSTATIC}, {false, false, WM_CTLCOLORSTATIC}};
    for (const Case& c : cases) {
        asked.clear();
        edit->SetReadOnly(c.readOnly);
        edit->SetEnabled(c.enabled);
        edit->Invalidate();
        Snap();
        EXPECT_GT(asked[c.message], 0) << c.readOnly << c.enabled;
        EXPECT_EQ(asked.size(), 1u);
        EXPECT_EQ(PixelAt(edit, TPoint{60, 10}), Rgb(clYellow));
    }
    // Unanswered, the request comes back to the edit, which uses its colour.
    answer = false;
    edit->SetReadOnly(false);
    edit->SetEnabled(true);
    edit->SetColor(clAqua);
    Snap();
    EXPECT_EQ(PixelAt(edit, TPoint{60, 10}), Rgb(clAqua));
}

TEST_F(ColorMessagesTest, ASubclassOfTheEditSeesTheReflectedRequest) {
    auto* edit = Add<TEdit>("Edit", Bounds(10, 10, 120, 21));
    ShowForm();
    int reflected = 0;
    WindowHook hook(edit->Handle(), [&](UINT msg, WPARAM, LPARAM) -> std::optional<LRESULT> {
        if (msg == CN_CTLCOLOREDIT) ++reflected;
        return std::nullopt;
    });
    edit->Invalidate();
    Snap();
    EXPECT_GT(reflected, 0);
}

// What a skin does to a combo: the list's first colour request names the
// list window, which it then subclasses to paint the list itself.
TEST_F(ColorMessagesTest, TheComboHearsItsListAskForColoursWithTheListsWindow) {
    auto* combo = Add<TComboBox>("Combo", Bounds(10, 10, 120, 21));
    combo->SetStyle(csDropDownList);
    for (const char* s : {"One", "Two", "Three"}) combo->Items()->Add(s);
    ShowForm();
    std::vector<HWND> askers;
    WindowHook hook(combo->Handle(), [&](UINT msg, WPARAM, LPARAM l) -> std::optional<LRESULT> {
        if (msg == WM_CTLCOLORLISTBOX) askers.push_back(reinterpret_cast<HWND>(l));
        return std::nullopt;
    });
    combo->SetDroppedDown(true);
    ui.RunUntilIdle();
    ASSERT_FALSE(askers.empty());
    EXPECT_EQ(askers.front(), combo->ListBox()->Handle());
    combo->SetDroppedDown(false);
}

TEST_F(ColorMessagesTest, OwnerDrawnItemsGoThroughTheParentBackToTheControl) {
    auto* combo = Add<TComboBox>("Combo", Bounds(10, 10, 120, 21));
    combo->SetStyle(csOwnerDrawFixed);
    for (const char* s : {"One", "Two", "Three"}) combo->Items()->Add(s);
    combo->SetItemIndex(1);
    auto* list = Add<TListBox>("List", Bounds(10, 60, 120, 80));
    list->SetStyle(lbOwnerDrawFixed);
    list->Items()->Add("Alpha");
    std::vector<int> drawnByCombo, drawnByList;
    combo->OnDrawItem = [&](TWinControl*, int index, TRect r, TOwnerDrawState) {
        drawnByCombo.push_back(index);
        combo->Canvas()->FillRect(r);
    };
    list->OnDrawItem = [&](TWinControl*, int index, TRect r, TOwnerDrawState) {
        drawnByList.push_back(index);
        list->Canvas()->FillRect(r);
    };
    ShowForm();
    struct Seen {
        HWND item;
        UINT type, state;
        int index;
    };
    std::vector<Seen> seen;
    WindowHook hook(form->Handle(), [&](UINT msg, WPARAM, LPARAM l) -> std::optional<LRESULT> {
        if (msg != WM_DRAWITEM) return std::nullopt;
        const auto* dis = reinterpret_cast<const DRAWITEMSTRUCT*>(l);
        seen.push_back(Seen{dis->hwndItem, dis->CtlType, dis->itemState, static_cast<int>(dis->itemID)});
        return std::nullopt;
    });
    combo->Repaint();
    list->Repaint();
    combo->SetDroppedDown(true);
    combo->ListBox()->Repaint();
    ui.RunUntilIdle();
    combo->SetDroppedDown(false);
    auto count = [&](HWND item, UINT type, bool face) {
        int n = 0;
        for (const Seen& s : seen)
            if (s.item == item && s.type == type && ((s.state & ODS_COMBOBOXEDIT) != 0) == face) ++n;
        return n;
    };
    EXPECT_GT(count(combo->Handle(), ODT_COMBOBOX, true), 0);   // the face
    EXPECT_GT(count(combo->Handle(), ODT_COMBOBOX, false), 0);  // the list's items, as the combo's
    EXPECT_GT(count(list->Handle(), ODT_LISTBOX, false), 0);
    EXPECT_NE(std::find(drawnByCombo.begin(), drawnByCombo.end(), 2), drawnByCombo.end());
    EXPECT_EQ(drawnByList, std::vector<int>(drawnByList.size(), 0));
    EXPECT_FALSE(drawnByList.empty());

    // An item sent to the combo's own window comes back to it as well.
    drawnByCombo.clear();
    DRAWITEMSTRUCT dis;
    dis.CtlType = ODT_COMBOBOX;
    dis.itemID = 0;
    dis.itemState = ODS_COMBOBOXEDIT;
    dis.hwndItem = combo->Handle();
    dis.hDC = GetDC(combo->Handle());
    dis.rcItem = TRect{0, 0, 20, 10};
    SendMessage(combo->Handle(), WM_DRAWITEM, 0, reinterpret_cast<LPARAM>(&dis));
    ReleaseDC(combo->Handle(), dis.hDC);
    EXPECT_EQ(drawnByCombo, std::vector<int>{0});
}

}  // namespace
}  // namespace tarvel
