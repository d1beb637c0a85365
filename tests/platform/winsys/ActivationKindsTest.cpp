// Which top-level windows take activation: forms and dialogs do, also when
// they are popups; menus, drop-downs and hints do not, and the display is
// told so.

#include "WinsysFixture.h"

namespace tarvel {
namespace {

class ActivationKinds : public WinsysTest {
protected:
    void SetUp() override {
        WinsysTest::SetUp();
        form = Create(WS_OVERLAPPED | WS_VISIBLE, Bounds(0, 0, 300, 200));
        SetActiveWindow(form);
        Pump();
    }
    HWND form = nullptr;
};

enum class ShowBy { ShowWindow, ShowWindowNA, SetWindowPosNoActivate };

void ShowThe(HWND h, ShowBy how) {
    switch (how) {
        case ShowBy::ShowWindow: ShowWindow(h, SW_SHOW); break;
        case ShowBy::ShowWindowNA: ShowWindow(h, SW_SHOWNA); break;
        case ShowBy::SetWindowPosNoActivate:
            SetWindowPos(h, HWND_TOPMOST, 0, 0, 0, 0,
                         SWP_NOMOVE | SWP_NOSIZE | SWP_SHOWWINDOW | SWP_NOACTIVATE);
            break;
    }
}

TEST_F(ActivationKinds, OnlyWindowsMeantNotToActivateAreKeptFromTheKeyboard) {
    struct Case {
        const char* what;
        DWORD style, exStyle;
        ShowBy how;
        bool neverActivates;
    } cases[] = {
        {"a dialog", WS_POPUP | WS_CAPTION | WS_SYSMENU, WS_EX_DLGMODALFRAME, ShowBy::ShowWindow, false},
        {"a borderless popup form", WS_POPUP, 0, ShowBy::ShowWindow, false},
        {"a popup form shown without activation", WS_POPUP, 0, ShowBy::ShowWindowNA, false},
        {"a topmost tool form that activates", WS_POPUP, WS_EX_TOOLWINDOW | WS_EX_TOPMOST, ShowBy::ShowWindow,
         false},
        // As the popup menus make their windows.
        {"a popup menu", WS_POPUP, WS_EX_TOOLWINDOW | WS_EX_TOPMOST | WS_EX_NOACTIVATE, ShowBy::ShowWindowNA,
         true},
        {"a drop-down list", WS_POPUP | WS_BORDER, WS_EX_TOOLWINDOW | WS_EX_TOPMOST,
         ShowBy::SetWindowPosNoActivate, true},
        {"a hint", WS_POPUP, WS_EX_TOOLWINDOW | WS_EX_TOPMOST, ShowBy::ShowWindowNA, true},
    };
    for (const Case& c : cases) {
        SetActiveWindow(form);
        HWND h = Create(c.style, Bounds(40, 40, 120, 80), form, {}, c.exStyle);
        ASSERT_TRUE(h) << c.what;
        ShowThe(h, c.how);
        Pump();
        EXPECT_EQ(backend->SurfaceInfo(h).noActivate, c.neverActivates) << c.what;
        if (c.how == ShowBy::ShowWindow)
            EXPECT_EQ(GetActiveWindow(), h) << c.what;
        else
            EXPECT_EQ(GetActiveWindow(), form) << c.what;

        // A click on it activates it unless it never activates.
        backend->Click(TPoint{60, 60});
        Pump();
        EXPECT_EQ(GetActiveWindow(), c.neverActivates ? form : h) << c.what;
        DestroyWindow(h);
    }
}

TEST_F(ActivationKinds, AHiddenFormPassesActivationToAPopupFormBelowButNotToAHint) {
    HWND dialog = Create(WS_POPUP | WS_CAPTION | WS_VISIBLE, Bounds(400, 0, 100, 100));
    HWND hint = Create(WS_POPUP, Bounds(0, 300, 50, 20), nullptr, {}, WS_EX_TOOLWINDOW | WS_EX_TOPMOST);
    ShowThe(hint, ShowBy::ShowWindowNA);
    SetActiveWindow(form);
    Pump();
    ShowWindow(form, SW_HIDE);
    EXPECT_EQ(GetActiveWindow(), dialog);
    ShowWindow(dialog, SW_HIDE);
    EXPECT_NE(GetActiveWindow(), hint);
}

}  // namespace
}  // namespace tarvel
