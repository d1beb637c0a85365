#include <gtest/gtest.h>

#include "platform/classlib/ExtCtrls.h"
#include "platform/classlib/Forms.h"
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

    parent->Next();
    EXPECT_EQ(parent->ActiveMDIChild(), a);
    EXPECT_TRUE(a->Active());

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

TEST_F(MdiFormTest, AChildNeedsAnMdiMainForm) {
    parent->SetFormStyle(fsNormal);
    auto* f = new TForm(Application);
    f->SetFormStyle(fsMDIChild);
    EXPECT_THROW(f->Show(), EInvalidOperation);
}

}  // namespace
}  // namespace tarvel
