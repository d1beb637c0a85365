// An MDI main form with the full frame and a skinned menu bar, holding
// children with the MDI child frame, classic or drawn by the flat theme.

#include <map>

#include "FrameFixture.h"
#include "platform/classlib/ExtCtrls.h"
#include "platform/classlib/WindowScrollBars.h"
#include "skin/core/te_controls_scrollbar.h"
#include "skin/forms/te_forms_mdichild.h"
#include "skin/forms/te_forms_menubar.h"
#include "tests/skin/core/SkinControlFixture.h"

namespace tarvel::testing {
namespace {

class MdiFramesTest : public FrameTest {
protected:
    void TearDown() override {
        for (TForm* c : children_)
            if (Alive(c)) delete c;
        form_ = parent_;
        FrameTest::TearDown();
    }

    bool Alive(TForm* f) {
        for (int i = 0; i < ::tarvel::Screen->FormCount(); ++i)
            if (::tarvel::Screen->Forms(i) == f) return true;
        return false;
    }

    void MakeParent(bool themed) {
        Application->CreateForm(parent_);
        parent_->SetFormStyle(fsMDIForm);
        parent_->SetCaption("Battery modules");
        parent_->SetColor(clTeal);
        {
            TLoadingScope scope(parent_);
            if (themed) {
                link_ = new TTeThemeLink(parent_);
                link_->SetThemeBuilding("Flat");
                auto* f = new TTeForm(parent_);
                f->SetThemeLink(link_);
                frame_ = f;
            } else {
                frame_ = new TTeDefaultForm(parent_);
                frame_->SetActive(true);
            }
            bar_ = new TTeMenuBar(parent_);
            bar_->SetAlign(alTop);
            bar_->SetParent(parent_);
            auto* file = new TTeItem(parent_);
            file->SetCaption(u"&File");
            bar_->Items()->Add(file);
            window_ = new TTeItem(parent_);
            window_->SetCaption(u"&Window");
            bar_->Items()->Add(window_);
            auto* cascade = new TTeItem(parent_);
            cascade->SetCaption(u"&Cascade");
            window_->Add(cascade);
            frame_->SetMenuBar(bar_);
            frame_->SetWindowMenu(window_);
            scope.Finish();
        }
        parent_->SetBounds(40, 40, 700, 520);
        parent_->Show();
        ui_.RunUntilIdle();
    }

    // A child loaded in `state`, with its frame, placed but not shown yet.
    template <class Frame = TTeCustomMDIChild>
    TForm* NewChild(const char* caption, TRect bounds, Frame** frame = nullptr,
                    TWindowState state = wsNormal) {
        auto* f = new TForm(Application);
        f->SetFormStyle(fsMDIChild);
        f->SetCaption(caption);
        f->SetColor(clWhite);
        f->OnClose = [](TObject*, TCloseAction& action) { action = caFree; };
        Frame* made = nullptr;
        {
            TLoadingScope scope(f);
            f->SetWindowState(state);
            made = new Frame(f);
            if constexpr (std::is_same_v<Frame, TTeMDIChild>) made->SetThemeLink(link_);
            made->SetActive(true);
            scope.Finish();
        }
        f->SetBounds(bounds.left, bounds.top, bounds.Width(), bounds.Height());
        children_.push_back(f);
        if (frame) *frame = made;
        return f;
    }
    template <class Frame = TTeCustomMDIChild>
    TForm* MakeChild(const char* caption, TRect bounds, Frame** frame = nullptr) {
        TForm* f = NewChild(caption, bounds, frame);
        f->Show();
        ui_.RunUntilIdle();
        return f;
    }

    TPoint ScreenOf(TForm* f, TPoint window) {
        const TRect r = WindowRect(f->Handle());
        return TPoint{r.left + window.x, r.top + window.y};
    }
    void Click(TPoint screen) {
        ui_.Backend().MouseMove(screen);
        ui_.Backend().MouseDown(screen);
        ui_.Backend().MouseUp(screen);
        ui_.RunUntilIdle();
    }
    TRect InClient(TForm* f) {
        TRect r = WindowRect(f->Handle());
        MapWindowPoints(nullptr, parent_->ClientHandle(), r);
        return r;
    }
    bool MDIItemsShown() {
        return bar_->MDISysItem->Visible() && bar_->MDIMinimizeButton->Visible() &&
               bar_->MDIRestoreButton->Visible() && bar_->MDICloseButton->Visible();
    }

    TForm* parent_ = nullptr;
    TTeDefaultForm* frame_ = nullptr;
    TTeThemeLink* link_ = nullptr;
    TTeMenuBar* bar_ = nullptr;
    TTeItem* window_ = nullptr;
    std::vector<TForm*> children_;
};

TEST_F(MdiFramesTest, ChildrenAreFramedActivatedMovedAndSizedInsideTheClient) {
    MakeParent(false);
    TTeCustomMDIChild* fa = nullptr;
    TForm* a = MakeChild("Module &A", ::tarvel::Bounds(10, 10, 260, 180), &fa);
    TForm* b = MakeChild("Module B", ::tarvel::Bounds(120, 60, 260, 180));
    EXPECT_EQ(GetParent(a->Handle()), parent_->ClientHandle());
    EXPECT_EQ(parent_->ActiveMDIChild(), b);
    EXPECT_FALSE(fa->FrameActive());
    // The frame declares its size: the client is what it leaves.
    const TRect cb = fa->GetClientBounds();
    EXPECT_EQ(a->ClientWidth(), cb.Width());
    EXPECT_EQ(a->ClientHeight(), cb.Height());
    EXPECT_GT(cb.top, cb.left);

    // A press on a's caption activates it; a drag moves it in the client.
    const TPoint caption = ScreenOf(a, TPoint{60, cb.top / 2 + 1});
    ASSERT_EQ(SendMessage(a->Handle(), WM_NCHITTEST, 0, PointToLParam(caption)), HTCAPTION);
    ui_.Backend().MouseMove(caption);
    ui_.Backend().MouseDown(caption);
    ui_.Backend().MouseMove(TPoint{caption.x + 40, caption.y + 30});
    ui_.Backend().MouseUp(TPoint{caption.x + 40, caption.y + 30});
    ui_.RunUntilIdle();
    EXPECT_EQ(parent_->ActiveMDIChild(), a);
    EXPECT_TRUE(fa->FrameActive());
    EXPECT_EQ(InClient(a), ::tarvel::Bounds(50, 40, 260, 180));

    // The bottom-right corner sizes it.
    const TPoint corner = ScreenOf(a, TPoint{258, 178});
    ASSERT_EQ(SendMessage(a->Handle(), WM_NCHITTEST, 0, PointToLParam(corner)), HTBOTTOMRIGHT);
    ui_.Backend().MouseMove(corner);
    ui_.Backend().MouseDown(corner);
    ui_.Backend().MouseMove(TPoint{corner.x + 50, corner.y + 20});
    ui_.Backend().MouseUp(TPoint{corner.x + 50, corner.y + 20});
    ui_.RunUntilIdle();
    EXPECT_EQ(InClient(a), ::tarvel::Bounds(50, 40, 310, 200));
    EXPECT_EQ(a->ClientWidth(), fa->GetClientBounds().Width());
}

TEST_F(MdiFramesTest, AMaximizedChildPutsItsButtonsInTheParentsMenuBar) {
    MakeParent(true);
    TTeCustomMDIChild* fa = nullptr;
    TForm* a = MakeChild("Module A", ::tarvel::Bounds(10, 10, 260, 180), &fa);
    TForm* b = MakeChild("Module B", ::tarvel::Bounds(120, 60, 260, 180));
    ASSERT_NE(bar_->MDISysItem, nullptr);
    EXPECT_FALSE(MDIItemsShown());

    // The maximize button of b's caption.
    TTeCustomMDIChild* fb = GetParentQvMDIChild(b);
    Click(ScreenOf(b, Centre(fb->GetCaptionButtonRect(kbiMaximize))));
    EXPECT_EQ(b->WindowState(), wsMaximized);
    EXPECT_TRUE(MDIItemsShown());
    EXPECT_EQ(bar_->MDIChild, b);
    // The frame steps aside: the client fills the MDI client.
    EXPECT_EQ(b->ClientRect(), ClientRect(parent_->ClientHandle()));
    // The buttons sit at the bar's right end.
    EXPECT_EQ(bar_->MDICloseButton->ItemRect.right, bar_->GetViewRect().left + bar_->Width());

    // Activating a carries the maximized state over; the bar follows.
    parent_->Next();
    ui_.RunUntilIdle();
    EXPECT_EQ(parent_->ActiveMDIChild(), a);
    EXPECT_EQ(a->WindowState(), wsMaximized);
    EXPECT_EQ(bar_->MDIChild, a);

    // The bar's restore button restores it and takes the items away.
    bar_->DoMDIItemClick(bar_->MDIRestoreButton);
    ui_.RunUntilIdle();
    EXPECT_EQ(a->WindowState(), wsNormal);
    EXPECT_FALSE(MDIItemsShown());
    EXPECT_EQ(InClient(a), ::tarvel::Bounds(10, 10, 260, 180));
    EXPECT_GT(fa->GetClientBounds().top, 0);

    // Maximized again and closed from the bar: the items go with it.
    a->SetWindowState(wsMaximized);
    ui_.RunUntilIdle();
    EXPECT_TRUE(MDIItemsShown());
    bar_->DoMDIItemClick(bar_->MDICloseButton);
    ui_.RunUntilIdle();
    EXPECT_FALSE(Alive(a));
    EXPECT_EQ(parent_->MDIChildCount(), 1);
    // The next child takes the maximized state and its buttons show.
    EXPECT_EQ(b->WindowState(), wsMaximized);
    EXPECT_EQ(bar_->MDIChild, b);
    b->Close();
    ui_.RunUntilIdle();
    EXPECT_EQ(parent_->MDIChildCount(), 0);
    EXPECT_FALSE(MDIItemsShown());
}

TEST_F(MdiFramesTest, TheChildSystemMenuIsRefilledNotPiledUp) {
    MakeParent(false);
    TTeCustomMDIChild* fa = nullptr;
    TForm* a = MakeChild("Module A", ::tarvel::Bounds(10, 10, 260, 180), &fa);
    TForm* b = MakeChild("Module B", ::tarvel::Bounds(40, 40, 260, 180));
    fa->BuildSysMenu();
    const int components = a->ComponentCount() + fa->ComponentCount();
    fa->BuildSysMenu();
    fa->BuildSysMenu();
    EXPECT_EQ(a->ComponentCount() + fa->ComponentCount(), components);
    ASSERT_EQ(fa->SystemMenu()->Count(), 7);
    std::vector<std::u16string> captions;
    for (int i = 0; i < 7; ++i) captions.push_back(fa->SystemMenu()->GetItem(i)->Caption());
    EXPECT_EQ(captions, (std::vector<std::u16string>{u"&Restore", u"Mi&nimize", u"Ma&ximize", u"-", u"&Close",
                                                     u"-", u"&Next"}));
    EXPECT_FALSE(fa->SystemMenu()->GetItem(0)->Enabled());  // a normal child has nothing to restore

    // "&Next" activates the next child, "&Close" closes this one.
    EXPECT_EQ(parent_->ActiveMDIChild(), b);
    fa->SystemMenu()->GetItem(6)->OnClick(fa->SystemMenu()->GetItem(6));
    ui_.RunUntilIdle();
    EXPECT_EQ(parent_->ActiveMDIChild(), a);
    fa->SystemMenu()->GetItem(4)->OnClick(fa->SystemMenu()->GetItem(4));
    ui_.RunUntilIdle();
    EXPECT_FALSE(Alive(a));
    EXPECT_EQ(parent_->ActiveMDIChild(), b);
}

TEST_F(MdiFramesTest, TheWindowMenuListsTheChildrenOnceAndActivatesThem) {
    MakeParent(false);
    TForm* a = MakeChild("Module A", ::tarvel::Bounds(10, 10, 260, 180));
    MakeChild("Module B", ::tarvel::Bounds(40, 40, 260, 180));
    frame_->UpdateWindowMenu();
    frame_->UpdateWindowMenu();  // opened twice: no duplicates
    ASSERT_EQ(window_->Count(), 4);
    EXPECT_EQ(window_->GetItem(0)->Caption(), u"&Cascade");
    EXPECT_EQ(window_->GetItem(1)->Caption(), u"-");
    EXPECT_EQ(window_->GetItem(2)->Caption(), u"Module A");
    EXPECT_EQ(window_->GetItem(3)->Caption(), u"Module B");
    EXPECT_TRUE(window_->GetItem(3)->Checked());
    EXPECT_FALSE(window_->GetItem(2)->Checked());
    frame_->DoWindowItemClick(window_->GetItem(2));
    EXPECT_EQ(parent_->ActiveMDIChild(), a);
    EXPECT_TRUE(window_->GetItem(2)->Checked());
    EXPECT_FALSE(window_->GetItem(3)->Checked());
}

TEST_F(MdiFramesTest, MenuBarsOffAnMdiFormHaveNoMdiItems) {
    TTeDefaultForm* frame = MakeForm(false);
    auto* bar = new TTeMenuBar(form_);
    bar->SetParent(form_);
    {
        TLoadingScope scope(bar);
        scope.Finish();
    }
    EXPECT_EQ(bar->MDISysItem, nullptr);
    const int count = bar->Items()->Count();
    bar->ShowMDIItems(form_);
    bar->HideMDIItems();
    bar->DoMDIItemClick(bar->Items());
    EXPECT_EQ(bar->Items()->Count(), count);
    EXPECT_NE(frame, nullptr);
}

TEST_F(MdiFramesTest, ChildrenPastTheClientBringSkinnedBarsAndAGripThatWork) {
    MakeParent(true);
    HWND client = parent_->ClientHandle();
    TForm* a = MakeChild("Module A", ::tarvel::Bounds(10, 10, 260, 180));
    EXPECT_TRUE(frame_->MDIGripperRect().IsEmpty());
    for (int bar : {SB_VERT, SB_HORZ})
        EXPECT_FALSE(frame_->MDIScrollHost(bar) && frame_->MDIScrollHost(bar)->Visible());

    // Past the right and the bottom edge: both bars, laid over the client's own.
    TForm* b = MakeChild("Module B", ::tarvel::Bounds(560, 380, 260, 180));
    ui_.RunUntilIdle();
    for (int bar : {SB_VERT, SB_HORZ}) {
        SCROLLBARINFO info;
        ASSERT_TRUE(GetScrollBarInfo(client, bar == SB_VERT ? OBJID_VSCROLL : OBJID_HSCROLL, info));
        TWinControl* host = frame_->MDIScrollHost(bar);
        ASSERT_TRUE(host && host->Visible());
        EXPECT_EQ(WindowRect(host->Handle()), info.rcScrollBar);
        SCROLLINFO si;
        GetScrollInfo(client, bar, si);
        EXPECT_EQ(frame_->MDIScrollBar(bar)->Max(), si.nMax);
        EXPECT_EQ(frame_->MDIScrollBar(bar)->PageSize(), static_cast<int>(si.nPage));
    }
    const int size = GetSystemMetrics(SM_CXVSCROLL);
    const TRect area = ClientRect(client);
    EXPECT_EQ(frame_->MDIGripperRect(), ::tarvel::Bounds(area.right, area.bottom, size, size));

    // The skinned bar's down arrow scrolls the children up.
    const TRect vert = WindowRect(frame_->MDIScrollHost(SB_VERT)->Handle());
    Click(TPoint{vert.left + size / 2, vert.bottom - 3});
    const int line = GetSystemMetrics(SM_CYHSCROLL);
    EXPECT_EQ(InClient(a).top, 10 - line);
    EXPECT_EQ(InClient(b).top, 380 - line);
    SCROLLINFO si;
    GetScrollInfo(client, SB_VERT, si);
    EXPECT_EQ(frame_->MDIScrollBar(SB_VERT)->Min(), si.nMin);

    // A drag on the grip sizes the parent form.
    const TRect grip = frame_->GetGripperRect();
    const TRect pw = WindowRect(parent_->Handle());
    EXPECT_EQ(frame_->GetHitTest(grip.left + 2, grip.top + 2), kwhtBottomRight);
    const TPoint on{pw.left + grip.left + 4, pw.top + grip.top + 4};
    ui_.Backend().MouseMove(on);
    ui_.Backend().MouseDown(on);
    ui_.Backend().MouseMove(TPoint{on.x + 60, on.y + 40});
    ui_.Backend().MouseUp(TPoint{on.x + 60, on.y + 40});
    ui_.RunUntilIdle();
    EXPECT_EQ(parent_->Width(), 760);
    EXPECT_EQ(parent_->Height(), 560);

    // Everything inside again: the bars and the grip go.
    a->SetBounds(10, 10, 200, 150);
    b->SetBounds(100, 100, 200, 150);
    ui_.RunUntilIdle();
    EXPECT_FALSE(frame_->MDIScrollHost(SB_VERT)->Visible());
    EXPECT_FALSE(frame_->MDIScrollHost(SB_HORZ)->Visible());
    EXPECT_TRUE(frame_->MDIGripperRect().IsEmpty());
}

TEST_F(MdiFramesTest, EveryBufferModePaintsTheSameFrameAndClient) {
    MakeParent(false);
    TTeCustomMDIChild* fa = nullptr;
    TForm* a = MakeChild("Module A", ::tarvel::Bounds(10, 10, 260, 180), &fa);
    auto shot = [&] {
        fa->InvalidateNow();
        ui_.RunUntilIdle();
        std::shared_ptr<const Surface> all = ui_.Backend().WindowPixels(parent_->Handle());
        const TRect pw = WindowRect(parent_->Handle()), aw = WindowRect(a->Handle());
        std::vector<uint32_t> px;
        for (int y = 0; y < aw.Height(); y += 3)
            for (int x = 0; x < aw.Width(); x += 3)
                px.push_back(all->Pixel(aw.left - pw.left + x, aw.top - pw.top + y) & 0xFFFFFF);
        return px;
    };
    // What a transparent control on the child shows behind it.
    auto* panel = new TPanel(a);
    panel->SetParent(a);
    panel->SetBounds(10, 10, 40, 30);
    auto behind = [&] {
        TBitmap b;
        b.SetSize(40, 30);
        DrawControlBackground(panel, *b.Canvas());
        return static_cast<COLORREF>(b.Canvas()->Pixels(5, 5));
    };
    const std::vector<uint32_t> plain = shot();
    const COLORREF plainBehind = behind();
    for (TTeFormPerformance mode : {qvfpSharedBuffer, qvfpPersistentBuffer, qvfpDoubleBuffer}) {
        SCOPED_TRACE(static_cast<int>(mode));
        fa->SetPerformance(mode);
        EXPECT_EQ(shot(), plain);
        EXPECT_EQ(behind(), plainBehind);
        // The persistent buffer is made on first use and kept.
        EXPECT_EQ(fa->Buffer() != nullptr, mode != qvfpSharedBuffer);
    }
    fa->SetPerformance(qvfpPersistentBuffer);
    a->SetBounds(10, 10, 300, 200);
    ui_.RunUntilIdle();
    ASSERT_NE(fa->Buffer(), nullptr);
    EXPECT_EQ(fa->Buffer()->Width(), 300);
    EXPECT_EQ(fa->Buffer()->Height(), 200);
}

TEST_F(MdiFramesTest, ACaptionTextChangedBehindTheFrameRepaintsItAndKeepsTheAnswer) {
    MakeParent(false);
    TTeCustomMDIChild* fa = nullptr;
    TForm* a = MakeChild("Module A", ::tarvel::Bounds(10, 10, 260, 180), &fa);
    MSG msg;
    auto repaintQueued = [&] {
        bool queued = false;
        while (PeekMessage(&msg, a->Handle(), FM_UPDATENCAREA, FM_UPDATENCAREA, PM_REMOVE))
            queued |= msg.wParam == kCaptionChanged;
        return queued;
    };
    GetWindowText(a->Handle());
    repaintQueued();
    // The frame sees a text set through the form: reading it asks for nothing.
    a->SetCaption("Module B");
    EXPECT_EQ(GetWindowText(a->Handle()), "Module B");
    EXPECT_FALSE(repaintQueued());
    // A text set while the frame was off is found when it is read; the
    // reader still gets the whole text.
    fa->SetActive(false);
    a->SetCaption("Module C");
    fa->SetActive(true);
    EXPECT_EQ(GetWindowText(a->Handle()), "Module C");
    EXPECT_TRUE(repaintQueued());
    EXPECT_EQ(GetWindowText(a->Handle()), "Module C");
    EXPECT_FALSE(repaintQueued());
}

TEST_F(MdiFramesTest, TheStateRectanglesFollowTheFramesCaption) {
    MakeParent(true);
    TTeCustomMDIChild* plain = nullptr;
    TTeMDIChild* themed = nullptr;
    TForm* a = MakeChild("Module A", ::tarvel::Bounds(10, 10, 260, 180), &plain);
    MakeChild<TTeMDIChild>("Module B", ::tarvel::Bounds(40, 40, 240, 170), &themed);
    MONITORINFO info;
    GetMonitorInfo(MonitorFromWindow(a->Handle(), MONITOR_DEFAULTTONEAREST), &info);
    const TRect work = info.rcWork;
    for (TTeCustomMDIChild* f : {plain, static_cast<TTeCustomMDIChild*>(themed)}) {
        const int caption = f->GetHeight() - f->GetClientBounds().Height();
        ASSERT_GT(caption, 0);
        EXPECT_EQ(f->GetMinimizedRect(), (TRect{work.left, work.bottom - caption,
                                                work.left + GetSystemMetrics(SM_CXMINIMIZED), work.bottom}));
        TForm* form = dynamic_cast<TForm*>(f->GetForm());
        EXPECT_EQ(f->GetRollupRect(), ::tarvel::Bounds(form->Left(), form->Top(), f->GetWidth(), caption));
        const TRect client = ClientRect(parent_->ClientHandle());
        EXPECT_EQ(f->GetMaxTrackSize(), (TSize{client.Width(), client.Height()}));
    }
}

TEST_F(MdiFramesTest, TheChildLaysItsButtonsOutAsTheFullFrameButKeepsNoTraySlot) {
    MakeParent(false);
    TTeCustomMDIChild* fa = nullptr;
    MakeChild("Module A", ::tarvel::Bounds(10, 10, 300, 180), &fa);
    const TRect cb = fa->GetClientBounds();
    struct Case {
        TTeBorderIcons icons;
        TTeBorderIcon icon;
    } cases[] = {
        {{kbiClose, kbiMinimize, kbiMaximize}, kbiMinimize},
        {{kbiClose, kbiMinimize, kbiMaximize, kbiRollup}, kbiRollup},
        {{kbiClose, kbiMaximize, kbiRollup, kbiTray, kbiHelp}, kbiHelp},
        {{kbiClose, kbiTray}, kbiTray},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(static_cast<int>(c.icon));
        fa->SetBorderIcons(c.icons);
        TTeBorderIcons noTray = c.icons;
        noTray.Exclude(kbiTray);
        // What the full frame lays out without the tray button.
        const TRect expected =
            c.icon == kbiTray ? NullRect
                              : ClassicCaptionButtonRect(c.icon, cb, TClassicCaption{kbsStandard, noTray});
        EXPECT_EQ(fa->GetCaptionButtonRect(c.icon), expected);
        if (!expected.IsEmpty()) {
            const TPoint in{expected.left + 2, expected.top + 2};
            const TRect w = WindowRect(fa->GetForm()->Handle());
            const LRESULT code = SendMessage(fa->GetForm()->Handle(), WM_NCHITTEST, 0,
                                             PointToLParam(TPoint{w.left + in.x, w.top + in.y}));
            EXPECT_EQ(code, c.icon == kbiRollup ? HTBORDER : c.icon == kbiHelp ? HTHELP : HTMINBUTTON);
        }
    }
}

TEST_F(MdiFramesTest, TheFlatThemeDrawsTheChildFrameAndTheClientKeepsTheFramesBackground) {
    MakeParent(true);
    TTeMDIChild* fa = nullptr;
    TForm* a = MakeChild<TTeMDIChild>("Module A", ::tarvel::Bounds(10, 10, 260, 180), &fa);
    ASSERT_TRUE(fa->Themed());
    TteTheme* flat = GetThemeLink(link_);
    const TRect cb = flat->WindowGetClientRect(kwscStandard, TRect{0, 0, 260, 180}, "default");
    EXPECT_EQ(fa->GetClientBounds(), cb);
    EXPECT_EQ(a->ClientWidth(), cb.Width());
    ui_.RunUntilIdle();
    // The frame shows the theme's caption, not the classic gradient; the
    // MDI client around the child shows the parent frame's client colour.
    std::shared_ptr<const Surface> shot = ui_.Backend().WindowPixels(parent_->Handle());
    ASSERT_TRUE(shot);
    const TRect pw = WindowRect(parent_->Handle());
    const TRect aw = WindowRect(a->Handle());
    const uint32_t captionPixel =
        shot->Pixel(aw.left - pw.left + 150, aw.top - pw.top + cb.top / 2) & 0xFFFFFF;
    TteBitmap expected;
    expected.SetSize(260, 180);
    {
        TCanvas c;
        c.SetHandle(expected.DC());
        flat->WindowDraw(kwscStandard, c,
                         WindowInfo(TRect{0, 0, 260, 180}, TteWindowDrawStates{kwdsActive}, NullRect,
                                    MDIWindowButtons(fa), u"Module A", false),
                         "default");
        c.SetHandle(HDC{});
    }
    EXPECT_EQ(captionPixel, expected.GetPixel(150, cb.top / 2) & 0xFFFFFF);
    TRect client = WindowRect(parent_->ClientHandle());
    const uint32_t around = shot->Pixel(client.right - pw.left - 20, client.bottom - pw.top - 20) & 0xFFFFFF;
    TteBitmap back;
    back.SetSize(4, 4);
    {
        TCanvas c;
        c.SetHandle(back.DC());
        flat->WindowDrawClient(kwscStandard, c, TRect{0, 0, 4, 4}, "default");
        c.SetHandle(HDC{});
    }
    EXPECT_EQ(around, back.GetPixel(1, 1) & 0xFFFFFF);

    // A transparent control on the child shows the theme's client, not the
    // form's colour.
    ASSERT_NE(PixelToColorRef(around), ColorToColorRef(clWhite));
    auto* panel = new TPanel(a);
    panel->SetParent(a);
    panel->SetBounds(10, 10, 40, 30);
    TBitmap behind;
    behind.SetSize(40, 30);
    DrawControlBackground(panel, *behind.Canvas());
    EXPECT_EQ(static_cast<COLORREF>(behind.Canvas()->Pixels(5, 5)), PixelToColorRef(around));

    // Maximized, the frame is not drawn and the client shows no background.
    a->SetWindowState(wsMaximized);
    ui_.RunUntilIdle();
    EXPECT_EQ(fa->GetClientBounds(), ::tarvel::Bounds(0, 0, a->Width(), a->Height()));
}

// The flat theme, noting each system-menu button it is asked to draw and
// the glyph that came with it.
class TSysButtonTheme : public TTeFlatTheme {
    TARVEL_CLASS(TSysButtonTheme, TTeFlatTheme)

public:
    struct Seen {
        TRect rect;
        TSize size;
        bool transparent = false;
        uint32_t centre = 0, corner = 0;
    };
    std::vector<Seen> seen;
    void WindowDrawButton(TteWindowSubclass s, TCanvas& c, const TteWindowButtonInfo& info,
                          const String& obj) override {
        if (info.ButtonClass == kwbSysMenu) {
            Seen w;
            w.rect = info.Rect;
            if (const TteBitmap* g = info.Bitmap) {
                w.size = TSize{g->Width(), g->Height()};
                w.transparent = g->Transparent;
                w.centre = g->GetPixel(g->Width() / 2, g->Height() / 2) & 0xFFFFFF;
                w.corner = g->GetPixel(0, 0) & 0xFFFFFF;
            }
            seen.push_back(w);
        }
        TTeFlatTheme::WindowDrawButton(s, c, info, obj);
    }
    // The glyph of the menu bar's system item of a maximized child.
    std::vector<uint32_t> barGlyphCentres;
    void MenuDrawItemGlyph(TteMenuSubclass s, TCanvas& c, const TteMenuItemInfo& info,
                           const TteMenuGlyphInfo& glyph, const String& obj) override {
        if (glyph.Glyph == kmgSysMenu && glyph.Bitmap)
            barGlyphCentres.push_back(glyph.Bitmap->GetPixel(8, 8) & 0xFFFFFF);
        TTeFlatTheme::MenuDrawItemGlyph(s, c, info, glyph, obj);
    }
};

TEST_F(MdiFramesTest, TheThemeDrawsTheSystemMenuButtonWithTheWindowsIconAsItsGlyph) {
    MakeParent(true);
    TTeMDIChild* fa = nullptr;
    TForm* a = MakeChild<TTeMDIChild>("Module A", ::tarvel::Bounds(10, 10, 260, 180), &fa);
    // A 16 x 16 icon: an opaque green square on a see-through ring.
    HBITMAP colour = CreateCompatibleBitmap(nullptr, 16, 16);
    {
        auto px = GetBitmapSurface(colour);
        for (int y = 0; y < 16; ++y)
            for (int x = 0; x < 16; ++x)
                px->SetPixel(x, y, x >= 4 && x < 12 && y >= 4 && y < 12 ? 0xFF40C040u : 0u);
    }
    ICONINFO ii;
    ii.hbmColor = colour;
    HICON icon = CreateIconIndirect(&ii);
    DeleteObject(colour);
    SendMessage(a->Handle(), WM_SETICON, 0, static_cast<LPARAM>(icon.Value()));

    TSysButtonTheme theme;
    TFixedLink link(&theme);
    fa->SetThemeLink(&link);
    ASSERT_TRUE(fa->Themed());
    theme.seen.clear();
    fa->UpdateNonClientArea();
    ASSERT_EQ(theme.seen.size(), 1u);
    const TSysButtonTheme::Seen& w = theme.seen[0];
    EXPECT_EQ(w.rect, fa->GetCaptionButtonRect(kbiSystemMenu));
    EXPECT_FALSE(w.rect.IsEmpty());
    EXPECT_EQ(w.size, (TSize{16, 16}));
    EXPECT_TRUE(w.transparent);
    EXPECT_EQ(w.centre, 0x40C040u);
    EXPECT_EQ(w.corner, teKeyColor);

    // Without the icon in BorderIcons the theme is not asked for the button.
    theme.seen.clear();
    fa->SetBorderIcons(TTeBorderIcons{kbiClose, kbiMinimize, kbiMaximize});
    fa->UpdateNonClientArea();
    EXPECT_TRUE(theme.seen.empty());

    // Maximized, the child's icon shows on the system item of the parent's bar.
    bar_->SetThemeLink(&link);
    a->SetWindowState(wsMaximized);
    ui_.RunUntilIdle();
    bar_->Invalidate();
    ui_.RunUntilIdle();
    ASSERT_FALSE(theme.barGlyphCentres.empty());
    EXPECT_EQ(theme.barGlyphCentres.back(), 0x40C040u);
    a->SetWindowState(wsNormal);
    ui_.RunUntilIdle();

    bar_->SetThemeLink(nullptr);
    fa->SetThemeLink(link_);
    SendMessage(a->Handle(), WM_SETICON, 0, 0);
    DestroyIcon(icon);
}

TEST_F(MdiFramesTest, AChildHasItsFrameRecomputedWhenFirstMaximized) {
    MakeParent(false);
    // Frame recomputations of a child: position changes that move and size nothing.
    std::map<TForm*, int> frameChanges;
    auto spy = [&](TForm* f) {
        std::function<void(TMessage&)> previous = f->WindowProc;
        f->WindowProc = [f, previous, &frameChanges](TMessage& m) {
            constexpr UINT only = SWP_FRAMECHANGED | SWP_NOMOVE | SWP_NOSIZE;
            if (m.Msg == WM_WINDOWPOSCHANGED)
                if (auto* wp = reinterpret_cast<const WINDOWPOS*>(m.LParam); wp && (wp->flags & only) == only)
                    ++frameChanges[f];
            previous(m);
        };
    };
    // Maximized later: the recomputation is posted, to run once the maximize is done.
    TForm* a = MakeChild("Module A", ::tarvel::Bounds(10, 10, 260, 180));
    spy(a);
    a->SetWindowState(wsMaximized);
    EXPECT_EQ(frameChanges[a], 0);
    ui_.RunUntilIdle();
    EXPECT_EQ(frameChanges[a], 1);
    EXPECT_EQ(a->ClientRect(), ClientRect(parent_->ClientHandle()));
    a->SetWindowState(wsNormal);
    ui_.RunUntilIdle();

    // Loaded maximized: the frame is recomputed at once, while it shows.
    TTeCustomMDIChild* fb = nullptr;
    TForm* b = NewChild("Module B", ::tarvel::Bounds(40, 40, 260, 180), &fb, wsMaximized);
    spy(b);
    b->Show();
    EXPECT_GE(frameChanges[b], 1);
    ui_.RunUntilIdle();
    EXPECT_EQ(b->WindowState(), wsMaximized);
    EXPECT_EQ(b->ClientRect(), ClientRect(parent_->ClientHandle()));
    EXPECT_TRUE(MDIItemsShown());
    // The first maximize is behind it: restored, the child gets its region and frame back.
    b->SetWindowState(wsNormal);
    ui_.RunUntilIdle();
    EXPECT_GT(fb->GetClientBounds().top, 0);
    EXPECT_EQ(b->ClientWidth(), fb->GetClientBounds().Width());
}

}  // namespace
}  // namespace tarvel::testing
