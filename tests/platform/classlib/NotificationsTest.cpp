// What the controls tell their parent window: WM_NOTIFY and WM_COMMAND, as
// a skin or dialog subclassing the parent sees them.

#include "platform/classlib/ComCtrlMessages.h"
#include "platform/classlib/ComCtrls.h"
#include "platform/classlib/ExtCtrls.h"
#include "platform/classlib/StdCtrls_Check.h"

#include "ControlFixture.h"

namespace tarvel {
namespace {

class NotificationsTest : public ControlFixture {
protected:
    NotificationsTest() {
        parent = Add<TPanel>("Parent", Bounds(0, 0, 460, 340));
        auto inherited = parent->WindowProc;
        parent->WindowProc = [this, inherited](TMessage& m) {
            if (m.Msg == WM_NOTIFY) {
                const auto* h = reinterpret_cast<const NMHDR*>(m.LParam);
                codes.push_back(h->code);
                from.push_back(h->hwndFrom);
                m.Result = (h->code == TCN_SELCHANGING && vetoTabs) ? 1 : 0;
                return;
            }
            if (m.Msg == WM_COMMAND) commands.push_back(HIWORD(m.WParam));
            inherited(m);
        };
    }
    TPanel* parent;
    std::vector<int> codes;
    std::vector<HWND> from;
    std::vector<WORD> commands;
    bool vetoTabs = false;
};

TEST_F(NotificationsTest, TabChangesAskTheParentWhichMayRefuse) {
    auto* tabs = Add<TTabControl>("Tabs", Bounds(10, 10, 300, 100), parent);
    tabs->Tabs()->Add("One");
    tabs->Tabs()->Add("Two");
    tabs->Tabs()->Add("Three");
    ShowForm();
    ui.PickItem(tabs, "Two");
    vetoTabs = true;
    ui.PickItem(tabs, "Three");
    EXPECT_EQ(tabs->TabIndex(), 1);
    EXPECT_EQ(codes, (std::vector<int>{TCN_SELCHANGING, TCN_SELCHANGE, TCN_SELCHANGING}));
    EXPECT_EQ(from.front(), tabs->Handle());
}

TEST_F(NotificationsTest, PickerTreeListAndButtonsReport) {
    auto* picker = Add<TDateTimePicker>("Picker", Bounds(10, 10, 120, 21), parent);
    picker->SetDateTime(EncodeDate(2026, 12, 10));
    auto* check = Add<TCheckBox>("Check", Bounds(10, 40, 100, 17), parent);
    auto* tree = Add<TTreeView>("Tree", Bounds(10, 70, 150, 100), parent);
    TTreeNode* root = tree->Items()->Add(nullptr, "Root");
    tree->Items()->AddChild(root, "Leaf");
    auto* list = Add<TListView>("List", Bounds(170, 70, 150, 100), parent);
    list->SetViewStyle(vsList);
    list->Items()->Add()->SetCaption("Item");
    ShowForm();
    ui.PickItem(picker, "11");
    ui.Click(check);
    ui.PickItem(tree, "Root");
    root->Expand(false);
    ui.PickItem(list, "Item");
    EXPECT_EQ(codes, (std::vector<int>{DTN_DROPDOWN, DTN_DATETIMECHANGE, DTN_CLOSEUP, TVN_SELCHANGED,
                                       TVN_ITEMEXPANDED, LVN_ITEMCHANGED}));
    EXPECT_EQ(commands, std::vector<WORD>{BN_CLICKED});
}

// A parent that leaves WM_NOTIFY to its default handling hands it back to
// the control, through the control's window, where a subclass sees it.
TEST_F(NotificationsTest, UnhandledNotificationsComeBackToTheControl) {
    auto* panel = Add<TPanel>("Plain", Bounds(10, 200, 200, 60));
    auto* picker = Add<TDateTimePicker>("Picker", Bounds(10, 10, 120, 21), panel);
    picker->SetDateTime(EncodeDate(2026, 12, 10));  // not the 11th, which is picked
    ShowForm();
    std::vector<int> reflected;
    WNDPROC saved = GetWindowProc(picker->Handle());
    WNDPROC spy = MakeWindowProc([&](HWND h, UINT msg, WPARAM w, LPARAM l) -> LRESULT {
        if (msg == CN_NOTIFY) reflected.push_back(reinterpret_cast<const NMHDR*>(l)->code);
        return CallWindowProc(saved, h, msg, w, l);
    });
    SetWindowProc(picker->Handle(), spy);
    ui.PickItem(picker, "11");
    SetWindowProc(picker->Handle(), saved);
    FreeWindowProc(spy);
    EXPECT_EQ(reflected, (std::vector<int>{DTN_DROPDOWN, DTN_DATETIMECHANGE, DTN_CLOSEUP}));
}

}  // namespace
}  // namespace tarvel
