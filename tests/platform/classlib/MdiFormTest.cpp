#include <gtest/gtest.h>

#include <filesystem>

#include "platform/classlib/ExtCtrls.h"
#include "platform/classlib/Forms.h"
#include "platform/classlib/WindowScrollBars.h"
#include "platform/classlib/testing/UiDriver.h"

namespace tarvel {
namespace {

class MdiFormTest : public ::testing::Test {
protected:
    void SetUp() override {
        Application->CreateForm(parent);
        parent->SetFormStyle(fsMDIForm);
        parent->SetBounds(40, 40, 640, 480);
        parent->Show();
        ui.RunUntilIdle();
    }

    TForm* Child(const String& caption, TRect bounds) {
        auto* f = new TForm(Application);
        f->SetFormStyle(fsMDIChild);
        f->SetCaption(caption);
        f->SetBounds(bounds.left, bounds.top, bounds.Width(), bounds.Height());
        f->Show();
        ui.RunUntilIdle();
        return f;
    }

    // The colour a user sees near the right end of the child's caption band
    // (the text is at the left).
    static COLORREF Caption(TForm* child) {
        HDC dc = GetWindowDC(child->Handle());
        const COLORREF c = GetPixel(dc, child->Width() - 20,
                                    GetSystemMetrics(SM_CYFRAME) + GetSystemMetrics(SM_CYCAPTION) / 2);
        ReleaseDC(child->Handle(), dc);
        return c;
    }

    TUiDriver ui;
    TForm* parent = nullptr;
};

TEST_F(MdiFormTest, TheClientTakesWhatTheAlignedControlsLeave) {
    ASSERT_NE(parent->ClientHandle(), nullptr);
    EXPECT_EQ(GetParent(parent->ClientHandle()), parent->Handle());
    auto* bar = new TPanel(parent);
    bar->SetParent(parent);
    bar->SetHeight(30);
    bar->SetAlign(alTop);
    ui.RunUntilIdle();
    TRect r = WindowRect(parent->ClientHandle());
    MapWindowPoints(nullptr, parent->Handle(), r);
    EXPECT_EQ(r, Rect(0, 30, parent->ClientWidth(), parent->ClientHeight()));
}

TEST_F(MdiFormTest, ChildrenLiveInTheClientAndFollowItsActivation) {
    TForm* a = Child("One", Bounds(10, 10, 200, 150));
    TForm* b = Child("Two", Bounds(60, 40, 200, 150));
    EXPECT_EQ(GetParent(a->Handle()), parent->ClientHandle());
    EXPECT_EQ(a->Left(), 10);
    EXPECT_EQ(parent->MDIChildCount(), 2);
    EXPECT_EQ(parent->MDIChildren(0), b);
    EXPECT_EQ(parent->ActiveMDIChild(), b);
    EXPECT_TRUE(b->Active());
    EXPECT_FALSE(a->Active());
    const COLORREF active = GetSysColor(COLOR_ACTIVECAPTION), inactive = GetSysColor(COLOR_INACTIVECAPTION);
    EXPECT_EQ(Caption(b), active);
    EXPECT_EQ(Caption(a), inactive);
    ASSERT_TRUE(ui.SaveScreenshot(
        parent, (std::filesystem::path(TARVEL_BINARY_DIR) / "classlib_mdi_children.png").string()));

    parent->Next();
    ui.RunUntilIdle();
    EXPECT_EQ(parent->ActiveMDIChild(), a);
    EXPECT_TRUE(a->Active());
    EXPECT_EQ(Caption(a), active);
    EXPECT_EQ(Caption(b), inactive);

    a->SetWindowState(wsMaximized);
    EXPECT_EQ(a->WindowState(), wsMaximized);
    const TRect area = ClientRect(parent->ClientHandle());
    EXPECT_EQ(a->ClientWidth(), area.Width());
    b->SetWindowState(wsMaximized);  // one maximized child at a time
    EXPECT_EQ(a->WindowState(), wsNormal);
    EXPECT_EQ(parent->ActiveMDIChild(), b);
    b->SetWindowState(wsNormal);

    parent->Tile();
    EXPECT_EQ(b->BoundsRect(), Rect(0, 0, area.Width() / 2, area.Height()));

    b->OnClose = [](TObject*, TCloseAction& action) { action = caFree; };
    b->Close();
    ui.RunUntilIdle();
    EXPECT_EQ(parent->MDIChildCount(), 1);
    EXPECT_EQ(parent->ActiveMDIChild(), a);
}

TEST_F(MdiFormTest, AChildPastTheClientsEdgeBringsAScrollBarThatTheMouseWorks) {
    HWND client = parent->ClientHandle();
    TForm* a = Child("One", Bounds(20, 350, 200, 150));
    SCROLLBARINFO sbi;
    ASSERT_TRUE(GetScrollBarInfo(client, OBJID_VSCROLL, sbi));
    ASSERT_EQ(sbi.rgstate[0] & STATE_SYSTEM_INVISIBLE, 0u);
    ASSERT_TRUE(GetScrollBarInfo(client, OBJID_HSCROLL, sbi));
    EXPECT_NE(sbi.rgstate[0] & STATE_SYSTEM_INVISIBLE, 0u);
    const int height = ClientRect(client).Height();
    SCROLLINFO info;
    ASSERT_TRUE(GetScrollInfo(client, SB_VERT, info));
    EXPECT_EQ(info.nMin, 0);
    EXPECT_EQ(info.nMax, 499);
    EXPECT_EQ(info.nPage, static_cast<UINT>(height));

    // A press on the down arrow scrolls the child up by a line.
    ASSERT_TRUE(GetScrollBarInfo(client, OBJID_VSCROLL, sbi));
    const TPoint arrow{sbi.rcScrollBar.left + 4, sbi.rcScrollBar.bottom - 4};
    ui.Backend().MouseMove(arrow);
    ui.Backend().MouseDown(arrow);
    ui.Backend().MouseUp(arrow);
    ui.RunUntilIdle();
    EXPECT_EQ(a->Top(), 350 - GetSystemMetrics(SM_CYHSCROLL));
    ASSERT_TRUE(GetScrollInfo(client, SB_VERT, info));
    EXPECT_EQ(info.nMin, 0);
    EXPECT_EQ(info.nMax, 499 - GetSystemMetrics(SM_CYHSCROLL));

    // Moved back inside, the bar goes.
    a->SetBounds(20, 20, 200, 150);
    ASSERT_TRUE(GetScrollBarInfo(client, OBJID_VSCROLL, sbi));
    EXPECT_NE(sbi.rgstate[0] & STATE_SYSTEM_INVISIBLE, 0u);
}

TEST_F(MdiFormTest, AChildNeedsAnMdiMainForm) {
    parent->SetFormStyle(fsNormal);
    auto* f = new TForm(Application);
    f->SetFormStyle(fsMDIChild);
    EXPECT_THROW(f->Show(), EInvalidOperation);
}

}  // namespace
}  // namespace tarvel
