// The right-click menu of a main-window edit under Xvfb: the button goes
// down and up through the X server, and the skin's popup menu opens over
// the telemetry page.

#include <deque>
#include <functional>

#include "platform/base/Ticks.h"
#include "platform/winsys/sdl/SdlBackend.h"
#include "skin/controls/te_controls_edit.h"
#include "skin/forms/te_forms_menuview.h"
#include "skin/forms/te_forms_popupmenu.h"
#include "tests/app/xvfb/ToolXvfbFixture.h"

namespace tarvel {
namespace {

TEST_F(ToolOnX11, ARightClickOnATelemetryEditOpensTheSkinsMenu) {
    Application->SetTitle(kAppName);
    Application->CreateForm(MainForm);
    MainForm->Show();
    MainForm->PC_All->SetActivePage(MainForm->TS_TSBS);
    Settle(MainForm->Handle());
    ASSERT_TRUE(XGiveFocus(sdl->SdlWindowOf(MainForm->Handle())));
    TTeEdit* edit = MainForm->CB_AutoQueryInterval;
    ASSERT_TRUE(edit && edit->Showing());
    const TPoint at = edit->ClientToScreen(TPoint{edit->Width() / 2, edit->Height() / 2});

    TTePopupMenu* opened = nullptr;
    std::vector<WideString> captions;
    bool saved = false;
    std::deque<std::function<void()>> steps{
        [&] {
            opened = ActivePopupMenu;
            if (opened)
                for (int i = 0; i < opened->Items()->Count(); ++i)
                    captions.push_back(opened->Items()->GetItem(i)->Caption());
            saved = sdl->SaveScreenPng(dir + "/tool-edit-context-menu.png");
            XKey("Escape", true);
            XKey("Escape", false);
        },
    };
    DWORD next = GetTickCount() + 500;
    Application->OnIdle = [&](TObject*, bool& done) {
        if (MenuLoopLevel() == 0 || steps.empty() || GetTickCount() < next) return;
        steps.front()();
        steps.pop_front();
        done = false;
    };
    ASSERT_TRUE(XMovePointer(at.x, at.y));
    ASSERT_TRUE(XButton(3, true));
    ASSERT_TRUE(XButton(3, false));
    RunUntil([&] { return steps.empty() && MenuLoopLevel() == 0; }, 10000);
    Application->OnIdle = nullptr;
    EXPECT_TRUE(steps.empty()) << "no menu opened";
    ASSERT_NE(opened, nullptr) << "not the skin's menu";
    EXPECT_EQ(opened, edit->ContextMenu());
    EXPECT_EQ(captions, (std::vector<WideString>{u"Undo", u"-", u"Cut", u"Copy", u"Paste", u"Delete", u"-",
                                                 u"Select All"}));
    EXPECT_TRUE(saved);
}

}  // namespace
}  // namespace tarvel
