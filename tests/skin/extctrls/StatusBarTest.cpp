// The status bar: panel layout by view and stretch priority, hit tests,
// panel clicks, the size grip's visibility, shortened texts, hosted
// controls and where new panels go.

#include <gtest/gtest.h>

#include "ExtCtrlsFixture.h"
#include "platform/classlib/ExtCtrls.h"
#include "skin/core/te_utils_draw.h"
#include "skin/extctrls/te_extctrls_status.h"
#include "skin/forms/te_forms_frame.h"
#include "skin/forms/te_forms_resources.h"

namespace tarvel {
namespace {

using testing::ExtCtrlsTest;

struct TPanelSpec {
    int width, view, stretch, maxWidth;
};

struct TStatusCall {
    int panelClass;
    TRect rect;
    WideString text;
};

// A status element whose client area is the whole bar; notes panels and texts.
class TStatusTheme : public TteTheme {
    TARVEL_CLASS(TStatusTheme, TteTheme)

public:
    std::vector<TStatusCall> panels, texts;
    bool IsStatusDefined(TteStatusSubclass, const String&) override { return true; }
    TRect StatusGetClientRect(TteStatusSubclass, const TteStatusInfo& info, const String&) override {
        return info.Rect;
    }
    void StatusDraw(TteStatusSubclass, TCanvas&, const TteStatusInfo&, const String&) override {}
    void StatusDrawPanel(TteStatusSubclass, TCanvas&, const TteStatusPanelInfo& info,
                         const String&) override {
        panels.push_back({info.PanelClass, info.Rect, {}});
    }
    void StatusDrawText(TteStatusSubclass, TCanvas&, const TteStatusPanelInfo& info, const TteTextInfo& text,
                        const String&) override {
        texts.push_back({info.PanelClass, text.Rect, text.Text});
    }
};

class StatusBarTest : public ExtCtrlsTest {
protected:
    // A bar whose border rectangle is `available` pixels wide.
    TTeStatusBar* MakeBar(int available, std::initializer_list<TPanelSpec> specs) {
        auto* bar = Make<TTeStatusBar>(0, 0);
        bar->SetWidth(available + bar->Width() - bar->GetBorderRect().Width());
        bar->Panels()->BeginUpdate();
        for (const TPanelSpec& s : specs) {
            TTeStatusPanel* p = bar->Panels()->Add();
            p->SetMaxWidth(s.maxWidth);
            p->SetWidth(s.width);
            p->SetViewPriority(s.view);
            p->SetStretchPriority(s.stretch);
        }
        bar->Panels()->EndUpdate();
        return bar;
    }
};

TEST_F(StatusBarTest, PanelsGiveUpAndTakeRoomByPriority) {
    struct Case {
        const char* name;
        int available;
        std::initializer_list<TPanelSpec> panels;
        std::vector<bool> shown;
        std::vector<std::pair<int, int>> edges;  // left and right, from the border's left
    };
    const Case cases[] = {
        {"the lowest view priority goes first",
         120,
         {{50, 100, 0, 10000}, {50, 50, 0, 10000}, {50, 100, 0, 10000}},
         {true, false, true},
         {{0, 50}, {50, 50}, {50, 100}}},
        {"MaxWidth hands the rest of the spare room on",
         250,
         {{50, 100, 0, 10000}, {50, 100, 30, 10000}, {50, 100, 60, 80}},
         {true, true, true},
         {{0, 50}, {50, 170}, {170, 250}}},
        {"a stretching last panel reaches the right edge",
         200,
         {{50, 100, 0, 10000}, {50, 100, 10, 60}},
         {true, true},
         {{0, 50}, {50, 200}}},
        {"view priority 0 never shows, whatever its stretch",
         200,
         {{50, 100, 0, 10000}, {50, 0, 50, 10000}},
         {true, false},
         {{0, 50}, {50, 50}}},
        {"a lone panel of priority 100 is never hidden", 120, {{300, 100, 0, 10000}}, {true}, {{0, 300}}},
        {"among equals the later panel goes",
         100,
         {{50, 50, 0, 10000}, {50, 50, 0, 10000}, {50, 50, 0, 10000}},
         {true, true, false},
         {{0, 50}, {50, 100}, {100, 100}}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        TTeStatusBar* bar = MakeBar(c.available, c.panels);
        const int b = bar->GetBorderRect().left;
        ASSERT_EQ(bar->Panels()->Count(), static_cast<int>(c.shown.size()));
        for (int i = 0; i < bar->Panels()->Count(); ++i) {
            const TTeStatusPanel* p = bar->Panels()->GetItem(i);
            EXPECT_EQ(p->Shown(), c.shown[i]) << i;
            EXPECT_EQ(p->PlacedLeft() - b, c.edges[i].first) << i;
            EXPECT_EQ(p->PlacedRight() - b, c.edges[i].second) << i;
        }
        EXPECT_LE(bar->GetPanelsRect().right, bar->GetBorderRect().right);
        delete bar;
    }
}

TEST_F(StatusBarTest, HitTestsFindThePanelUnderAPoint) {
    TTeStatusBar* bar = MakeBar(300, {{50, 100, 0, 10000}, {60, 100, 0, 10000}});
    const TRect b = bar->GetBorderRect();
    const int y = b.top + 2;
    const struct {
        TPoint p;
        int panel;
    } cases[] = {
        {{b.left, y}, -1},
        {{b.left + 1, y}, 0},
        {{b.left + 50, y}, 0},
        {{b.left + 51, y}, 1},
        {{b.left + 110, y}, 1},
        {{b.left + 111, y}, -1},
        {{b.left + 20, b.top - 1}, -1},
        {{b.left + 20, b.bottom}, -1},
    };
    for (const auto& c : cases) {
        TTeStatusPanel* found = bar->GetPanelAt(c.p);
        EXPECT_EQ(found ? found->Index() : -1, c.panel) << c.p.x << "," << c.p.y;
    }
}

TEST_F(StatusBarTest, APanelIsClickedWhereItWasPressed) {
    TTeStatusBar* bar = MakeBar(300, {{50, 100, 0, 10000}, {60, 100, 0, 10000}});
    std::vector<int> clicks;
    bar->OnPanelClick = [&](TTeStatusBar*, TTeStatusPanel* p) { clicks.push_back(p->Index()); };
    const int y = bar->GetBorderRect().top + 3, x0 = bar->GetBorderRect().left + 10, x1 = x0 + 60;
    ui_.ClickAt(bar, {x1, y});
    EXPECT_EQ(clicks, std::vector<int>{1});
    // A right-button release over the panel pressed last clicks it again.
    ui_.ClickAt(bar, {x1, y}, MouseButton::Right);
    EXPECT_EQ(clicks, (std::vector<int>{1, 1}));
    Down(bar, {x0, y});
    Up(bar, {x1, y});
    EXPECT_EQ(clicks, (std::vector<int>{1, 1}));
}

TEST_F(StatusBarTest, TheSizeGripShowsOnlyInTheCornerOfANormalSizeableForm) {
    TTeStatusBar* bar = MakeBar(300, {{50, 100, 0, 10000}});
    bar->SetAlign(alBottom);
    form_->SetBorderStyle(bsSizeable);
    ui_.RunUntilIdle();
    EXPECT_TRUE(bar->IsSizeGripVisible());
    bar->SetSizeGrip(false);
    EXPECT_FALSE(bar->IsSizeGripVisible());
    bar->SetSizeGrip(true);
    form_->SetWindowState(wsMaximized);
    ui_.RunUntilIdle();
    EXPECT_FALSE(bar->IsSizeGripVisible());
    form_->SetWindowState(wsNormal);
    ui_.RunUntilIdle();
    bar->SetAlign(alTop);
    ui_.RunUntilIdle();
    EXPECT_FALSE(bar->IsSizeGripVisible());
    bar->SetAlign(alBottom);
    form_->SetBorderStyle(bsDialog);
    ui_.RunUntilIdle();
    EXPECT_FALSE(bar->IsSizeGripVisible());
}

TEST_F(StatusBarTest, OnASkinnedFormTheGripSizesTheFormThroughItsFrame) {
    InitForms();
    {
        // The frame comes with the form's data, as a designed form brings it.
        delete form_;
        form_ = new TForm(Application);
        {
            TLoadingScope scope(form_);
            (new TTeDefaultForm(form_))->SetActive(true);
            scope.Finish();
        }
        form_->SetBounds(40, 40, 400, 300);
        form_->Show();
        TTeStatusBar* bar = MakeBar(300, {{50, 100, 0, 10000}});
        bar->SetAlign(alBottom);
        ui_.RunUntilIdle();
        ASSERT_TRUE(bar->IsSizeGripVisible());
        const TRect grip = bar->GetGripperRect();
        const TPoint at{grip.right - 3, (grip.top + grip.bottom) / 2};
        const TPoint screen = bar->ClientToScreen(at);
        const TRect before = WindowRect(form_->Handle());
        EXPECT_EQ(SendMessage(form_->Handle(), WM_NCHITTEST, 0, PointToLParam(screen)), HTBOTTOMRIGHT);
        Down(bar, at);
        ui_.Backend().MouseMove(TPoint{screen.x + 25, screen.y + 15});
        ui_.RunUntilIdle();
        ui_.Backend().MouseMove(TPoint{screen.x + 50, screen.y + 30});
        ui_.RunUntilIdle();
        ui_.Backend().MouseUp(TPoint{screen.x + 50, screen.y + 30});
        ui_.RunUntilIdle();
        EXPECT_EQ(WindowRect(form_->Handle()),
                  Bounds(before.left, before.top, before.Width() + 50, before.Height() + 30));
        EXPECT_EQ(bar->Top() + bar->Height(), form_->ClientHeight()) << "the bar follows the corner";
    }
    delete form_;
    form_ = nullptr;
    DoneForms();
}

TEST_F(StatusBarTest, TextTooLongForItsPanelEndsInDotsWithinFourPixels) {
    auto* theme = new TStatusTheme();
    ChangeTheme(theme);
    TTeStatusBar* bar = MakeBar(300, {{90, 100, 0, 10000}, {90, 100, 0, 10000}});
    bar->SetSizeGrip(false);
    bar->Panels()->GetItem(0)->SetText(u"Module 3 answered with a checksum error");
    bar->Panels()->GetItem(1)->SetText(u"OK");
    ui_.RunUntilIdle();
    theme->texts.clear();
    theme->panels.clear();
    bar->Invalidate();
    ui_.RunUntilIdle();
    ASSERT_EQ(theme->texts.size(), 2u);
    const WideString& shortened = theme->texts[0].text;
    ASSERT_GE(shortened.size(), 3u);
    EXPECT_EQ(shortened.substr(shortened.size() - 3), u"...");
    TteBitmap scratch;
    scratch.SetSize(1, 1);
    scratch.GetCanvas()->Font()->Assign(bar->Font());
    EXPECT_LE(TextWidth(*scratch.GetCanvas(), shortened), theme->texts[0].rect.Width() - 4);
    EXPECT_EQ(theme->texts[1].text, u"OK");
    ASSERT_EQ(theme->panels.size(), 2u);
    EXPECT_EQ(theme->panels[0].panelClass, kspcNormal);
    EXPECT_EQ(theme->panels[1].panelClass, kspcGripperPanel);
}

TEST_F(StatusBarTest, HostedControlsFillTheirPanelAndCannotBeTheBarsParents) {
    TTeStatusBar* bar = MakeBar(300, {{80, 100, 0, 10000}, {80, 50, 0, 10000}});
    TTeStatusPanel* first = bar->Panels()->GetItem(0);
    EXPECT_THROW(first->SetControl(bar), EInvalidOperation);
    EXPECT_THROW(first->SetControl(form_), EInvalidOperation);
    EXPECT_EQ(first->Control(), nullptr);
    auto* hosted = new TPanel(form_);
    hosted->SetParent(bar);
    bar->Panels()->GetItem(1)->SetControl(hosted);
    EXPECT_EQ(hosted->BoundsRect(), bar->GetPanelClientRect(bar->Panels()->GetItem(1)));
    EXPECT_TRUE(hosted->Visible());
    bar->SetWidth(bar->Width() - 200);  // room for the first panel only
    ui_.RunUntilIdle();
    EXPECT_FALSE(bar->Panels()->GetItem(1)->Shown());
    EXPECT_FALSE(hosted->Visible());
    first->SetControl(hosted);  // moves from the other panel
    EXPECT_EQ(bar->Panels()->GetItem(1)->Control(), nullptr);
    delete hosted;
    EXPECT_EQ(first->Control(), nullptr);
}

TEST_F(StatusBarTest, InsertAndAddItemPutPanelsAtTheGivenIndex) {
    TTeStatusBar* bar = MakeBar(300, {{10, 100, 0, 10000}, {20, 100, 0, 10000}});
    TTeStatusPanel* inserted = bar->Panels()->Insert(1);
    EXPECT_EQ(inserted->Index(), 1);
    EXPECT_EQ(bar->Panels()->Insert(9)->Index(), 3);
    TTeStatusBar* other = MakeBar(300, {{30, 100, 0, 10000}});
    TTeStatusPanel* moved = other->Panels()->GetItem(0);
    bar->Panels()->AddItem(moved, 0);
    EXPECT_EQ(moved->Index(), 0);
    EXPECT_EQ(bar->Panels()->GetItem(0)->Width(), 30);
    EXPECT_EQ(other->Panels()->Count(), 0);
    EXPECT_EQ(bar->Panels()->AddItem(nullptr, 0)->Index(), 5);
}

TEST_F(StatusBarTest, WidthIsClampedToMaxWidth) {
    TTeStatusBar* bar = MakeBar(300, {{50, 100, 0, 10000}});
    TTeStatusPanel* p = bar->Panels()->GetItem(0);
    p->SetMaxWidth(40);
    EXPECT_EQ(p->Width(), 40);
    p->SetWidth(70);
    EXPECT_EQ(p->Width(), 40);
    p->SetWidth(-5);
    EXPECT_EQ(p->Width(), 0);
}

}  // namespace
}  // namespace tarvel
