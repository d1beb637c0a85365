// The skinned control bases: border geometry, bevels, the three buffering
// modes, the background protocol and painters, the drawn scroll bars of a
// windowed control and the window scroll calls they answer.

#include <gtest/gtest.h>

#include <vector>

#include "SkinControlFixture.h"
#include "platform/classlib/Bitmaps.h"
#include "platform/classlib/ExtCtrls_Notebook.h"
#include "skin/core/te_const.h"
#include "skin/core/te_controls_scrollbar.h"
#include "skin/core/te_forms_link.h"
#include "skin/core/te_utils_draw.h"
#include "skin/core/te_utils_system.h"

namespace tarvel {
namespace {

using testing::Rgb;
using testing::SkinControlTest;
using testing::TFixedLink;

// A face with enough in it to tell pixels apart: a gradient, a frame, text.
class TTestFace : public TTeControl {
    TARVEL_CLASS(TTestFace, TTeControl)

public:
    explicit TTestFace(TComponent* owner) : TTeControl(owner) {}
    int BorderChanges = 0;
    int PaintsOfBuffer = 0;
    std::vector<std::pair<UINT, WPARAM>> Scrolls;

    void BorderChanged() override { ++BorderChanges; }
    void PaintBuffer() override {
        ++PaintsOfBuffer;
        const TRect r = GetBorderRect();
        FillGradientRect(*Canvas(), r, clNavy, clAqua, false);
        DrawRect(*Canvas(), TRect{r.left + 3, r.top + 3, r.left + 30, r.top + 20}, clRed);
        Canvas()->Font()->Assign(PaintFont());
        Canvas()->Font()->SetColor(clYellow);
        TRect t = r;
        DrawText(*Canvas(), u"Face", t, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
    }

protected:
    static void DeclareMessages(TMessageTable& t) {
        t.Add<&TTestFace::Scroll>(WM_HSCROLL);
        t.Add<&TTestFace::Scroll>(WM_VSCROLL);
    }
    void Scroll(TMessage& m) { Scrolls.emplace_back(m.Msg, m.WParam); }
};

// A windowless child that paints itself green, and counts its paints.
class TGreenChild : public TTeGraphicControl {
    TARVEL_CLASS(TGreenChild, TTeGraphicControl)

public:
    explicit TGreenChild(TComponent* owner) : TTeGraphicControl(owner) { SetColor(clLime); }
    int Paints = 0;
    void PaintBuffer() override {
        ++Paints;
        TTeGraphicControl::PaintBuffer();
    }
};

class TeControlTest : public SkinControlTest {
protected:
    TTestFace* MakeFace(const TRect& bounds) {
        auto* c = new TTestFace(Form());
        c->SetParent(Form());
        c->SetBoundsRect(bounds);
        return c;
    }
};

TEST_F(TeControlTest, ANewControlIsAHundredByThirtyButtonFaceWithNoBorder) {
    TTeControl c(nullptr);
    EXPECT_EQ(c.Width(), 100);
    EXPECT_EQ(c.Height(), 30);
    EXPECT_EQ(c.Color(), clBtnFace);
    EXPECT_EQ(c.BevelWidth(), 0);
    EXPECT_EQ(c.GetBorderRect(), (TRect{0, 0, 100, 30}));
    EXPECT_EQ(c.Performance(), qvpNoBuffer);
    EXPECT_TRUE(c.ControlStyle.Contains(csOpaque));
    TTeGraphicControl g(nullptr);
    EXPECT_FALSE(g.ControlStyle.Contains(csOpaque));
    EXPECT_EQ(g.Color(), clBtnFace);
}

TEST_F(TeControlTest, BorderRectangleComesFromBorderWidthBevelWidthAndTheSidesWithBevels) {
    const TTeBevelSides all{kbsLeft, kbsTop, kbsRight, kbsBottom};
    const struct {
        int border, bevelWidth;
        TTeBevelCut outer, inner;
        TTeBevelSides sides;
        TRect expected;
    } cases[] = {
        {2, 1, kbvLowered, kbvLowered, all, {4, 4, 116, 56}},
        {0, 3, kbvNone, kbvRaised, {kbsLeft}, {3, 0, 120, 60}},
        {0, 3, kbvNone, kbvNone, all, {0, 0, 120, 60}},
        {1, 2, kbvSpace, kbvNone, {kbsTop, kbsBottom}, {1, 3, 119, 57}},
        {0, 2, kbvBorder, kbvFlatBorder, {kbsRight}, {0, 0, 116, 60}},
        {3, 0, kbvLowered, kbvLowered, all, {3, 3, 117, 57}},
    };
    for (const auto& k : cases) {
        TTeControl c(nullptr);
        c.SetBounds(0, 0, 120, 60);
        c.SetBorderWidth(k.border);
        c.SetBevelWidth(k.bevelWidth);
        c.SetBevelOuter(k.outer);
        c.SetBevelInner(k.inner);
        c.SetBevelSides(k.sides);
        EXPECT_EQ(c.GetBorderRect(), k.expected) << k.border << " " << k.bevelWidth << " " << int(k.outer);
        EXPECT_EQ(c.GetClientRect(), k.expected);
    }
}

TEST_F(TeControlTest, BevelKindsSetBothCutsAndACutResetsTheKind) {
    const struct {
        TTeBevelKind kind;
        TTeBevelCut cut;
    } kinds[] = {{kbkSingle, kbvLowered},
                 {kbkTile, kbvLowered},
                 {kbkSoft, kbvLowered},
                 {kbkBorder, kbvBorder},
                 {kbkFlat, kbvFlatBorder}};
    for (const auto& k : kinds) {
        TTestFace c(nullptr);
        c.SetBevelInner(kbvRaised);
        c.SetBevelOuter(kbvRaised);
        c.SetBevelKind(k.kind);
        EXPECT_EQ(c.BevelInner(), k.cut);
        EXPECT_EQ(c.BevelOuter(), k.cut);
        EXPECT_EQ(c.BevelKind(), k.kind);
        c.SetBevelInner(kbvSpace);
        EXPECT_EQ(c.BevelKind(), kbkNone);
        EXPECT_EQ(c.BorderChanges, 4);
    }
    TTestFace c(nullptr);
    c.SetBevelKind(kbkNone);  // equal: nothing
    c.SetBorderWidth(0);
    c.SetBevelWidth(0);
    EXPECT_EQ(c.BorderChanges, 0);
}

// Outer raised, inner lowered, each one pixel, then one border line in Color.
TEST_F(TeControlTest, BevelsAndBorderPaintTheirColoursFromTheTables) {
    TTestFace* c = MakeFace({10, 10, 110, 50});
    c->SetBevelWidth(1);
    c->SetBevelOuter(kbvRaised);
    c->SetBevelInner(kbvLowered);
    c->SetBorderWidth(1);
    c->SetColor(clFuchsia);
    EXPECT_EQ(c->GetBorderRect(), (TRect{3, 3, 97, 37}));
    c->Invalidate();
    Ui().RunUntilIdle();
    const struct {
        int x, y;
        TColor color;
    } probes[] = {
        {0, 20, clBtnHighlight}, {50, 0, clBtnHighlight}, {99, 20, cl3DDkShadow}, {50, 39, cl3DDkShadow},
        {1, 20, cl3DDkShadow},   {50, 1, cl3DDkShadow},   {98, 20, clBtnFace},    {50, 38, clBtnFace},
        {2, 20, clFuchsia},      {50, 2, clFuchsia},      {97, 20, clFuchsia},    {50, 37, clFuchsia},
    };
    for (const auto& p : probes) EXPECT_EQ(ShownAt(c, p.x, p.y), Rgb(p.color)) << p.x << "," << p.y;
    EXPECT_NE(ShownAt(c, 5, 20), Rgb(clFuchsia));  // the face starts inside
}

// Straight, through the shared buffer and through a buffer of its own: the
// same picture, border, face, windowless children and scroll bars included.
// The own buffer is an alpha bitmap on the 32-bit screen found at start-up,
// a plain bitmap on a screen of another depth.
TEST_F(TeControlTest, TheThreeBufferingModesShowIdenticalPixels) {
    ASSERT_EQ(CPixelFormat, pf32bit) << "the screen's format is found at start-up";
    TTestFace* c = MakeFace({20, 20, 220, 140});
    c->SetBevelKind(kbkSoft);
    c->SetBevelWidth(2);
    c->SetBorderWidth(1);
    c->SetScrollBars(ssBoth);
    auto* child = new TGreenChild(Form());
    child->SetParent(c);
    child->SetBounds(40, 30, 30, 20);
    c->VertScrollBar()->SetPosition(40);

    for (TPixelFormat screen : {pf32bit, pfCustom}) {
        CPixelFormat = screen;
        std::vector<std::vector<uint32_t>> shown;
        for (TTePerformance p : {qvpNoBuffer, qvpSharedBuffer, qvpDoubleBuffer}) {
            c->SetPerformance(p);
            c->Invalidate();
            shown.push_back(Shown(c));
        }
        EXPECT_EQ(shown[0], shown[1]) << "shared buffer, format " << screen;
        EXPECT_EQ(shown[0], shown[2]) << "own buffer, format " << screen;
        EXPECT_EQ(ShownAt(c, 45, 35), Rgb(clLime));
    }
    CPixelFormat = pf32bit;
    ASSERT_NE(SharedBuffer, nullptr);
    EXPECT_EQ(SharedBuffer->Width(), GetSystemMetrics(SM_CXSCREEN) + 500);
    EXPECT_EQ(SharedBuffer->Height(), GetSystemMetrics(SM_CYSCREEN) + 500);
}

// A face that leaves most of its buffer as it found it.
class TBareFace : public TTeControl {
    TARVEL_CLASS(TBareFace, TTeControl)

public:
    explicit TBareFace(TComponent* owner) : TTeControl(owner) {}
    void PaintBuffer() override { DrawRect(*Canvas(), TRect{2, 2, 12, 8}, clRed); }
};

TEST_F(TeControlTest, DoubleBuffersAreReusedAndStartAsNewOnes) {
    const TPixelFormat screen = CPixelFormat;
    const struct {
        TPixelFormat format;
        uint32_t fresh;  // what a new buffer shows
    } cases[] = {{pfCustom, 0xFFFFFF}, {pf32bit, 0x000000}};
    for (const auto& c : cases) {
        CPixelFormat = c.format;
        auto* bare = new TBareFace(Form());
        bare->SetParent(Form());
        bare->SetBounds(10, 10, 60, 40);
        bare->SetPerformance(qvpDoubleBuffer);
        const std::vector<uint32_t> first = Shown(bare);
        EXPECT_EQ(ShownAt(bare, 30, 30), c.fresh) << c.format;
        EXPECT_EQ(ShownAt(bare, 2, 2), Rgb(clRed)) << c.format;

        // A larger control paints all over the buffer in between.
        TTestFace* big = MakeFace({80, 10, 380, 250});
        big->SetPerformance(qvpDoubleBuffer);
        Ui().RunUntilIdle();
        bare->Invalidate();
        EXPECT_EQ(Shown(bare), first) << c.format;
        delete big;
        delete bare;
    }
    CPixelFormat = screen;
}

// A face that fails half-way: the error reaches the application's box, and
// the canvas and the shared buffer come back whole for the next paint.
class TFailingFace : public TTestFace {
    TARVEL_CLASS(TFailingFace, TTestFace)

public:
    explicit TFailingFace(TComponent* owner) : TTestFace(owner) {}
    bool Fail = true;
    void PaintBuffer() override {
        TTestFace::PaintBuffer();
        if (Fail) throw Exception("face failed");
    }
};

TEST_F(TeControlTest, AFailedPaintLeavesCanvasAndSharedBufferAsTheyWere) {
    auto* failing = new TFailingFace(Form());
    failing->SetParent(Form());
    failing->SetBounds(10, 10, 120, 60);
    failing->SetScrollBars(ssBoth);  // its paint narrows the clip to its client
    failing->SetPerformance(qvpSharedBuffer);
    Ui().RunUntilIdle();
    ASSERT_FALSE(Ui().Boxes().empty());
    EXPECT_EQ(Ui().Boxes().back().text, "face failed.");
    EXPECT_FALSE(failing->Canvas()->HandleAllocated()) << "the canvas left the buffer's DC";

    TTestFace* good = MakeFace({150, 10, 350, 130});
    good->SetPerformance(qvpNoBuffer);
    const std::vector<uint32_t> direct = Shown(good);
    good->SetPerformance(qvpSharedBuffer);
    good->Invalidate();
    EXPECT_EQ(Shown(good), direct);
    failing->Fail = false;
    failing->Invalidate();
    Ui().RunUntilIdle();
}

TEST_F(TeControlTest, WithBothBarsTheClientLosesBothThicknessesAndTheCornerIsPainted) {
    TTestFace* c = MakeFace({10, 10, 210, 110});
    c->SetBorderWidth(2);
    c->SetColor(clFuchsia);
    c->SetScrollBars(ssBoth);
    ASSERT_NE(c->HorzScrollBar(), nullptr);
    ASSERT_NE(c->VertScrollBar(), nullptr);
    const int t = GetSystemMetrics(SM_CYVTHUMB);
    EXPECT_EQ(c->GetClientRect(), (TRect{2, 2, 198 - t, 98 - t}));
    EXPECT_EQ(c->HorzScrollBar()->BoundsRect(), (TRect{2, 98 - t, 198 - t, 98}));
    EXPECT_EQ(c->VertScrollBar()->BoundsRect(), (TRect{198 - t, 2, 198, 98 - t}));
    EXPECT_EQ(c->HorzScrollBar()->Orientation(), ksoHorizontal);
    EXPECT_EQ(c->VertScrollBar()->Orientation(), ksoVertical);
    c->Invalidate();
    Ui().RunUntilIdle();
    EXPECT_EQ(ShownAt(c, 198 - t, 98 - t), Rgb(clFuchsia)) << "the square where the bars meet";
    EXPECT_EQ(ShownAt(c, 197, 97), Rgb(clFuchsia));

    c->SetBounds(10, 10, 150, 80);
    EXPECT_EQ(c->VertScrollBar()->BoundsRect(), (TRect{148 - t, 2, 148, 78 - t}));
    c->SetScrollBars(ssVertical);
    EXPECT_EQ(c->HorzScrollBar(), nullptr);
    EXPECT_EQ(c->GetClientRect(), (TRect{2, 2, 148 - t, 78}));
}

TEST_F(TeControlTest, WindowScrollCallsAreAnsweredByTheDrawnBars) {
    TTestFace* c = MakeFace({10, 10, 210, 110});
    SCROLLINFO info;
    EXPECT_FALSE(c->GetScrollInfo(SB_VERT, info));
    EXPECT_EQ(c->GetScrollPos(SB_HORZ), 0);
    int mn = 7, mx = 7;
    c->GetScrollRange(SB_VERT, mn, mx);
    EXPECT_EQ(mn, 0);
    EXPECT_EQ(mx, 0);
    c->SetScrollPos(SB_VERT, 5, true);  // no bar: nothing

    c->SetScrollBars(ssVertical);
    SCROLLINFO set;
    set.fMask = SIF_POS;  // the mask is not looked at
    set.nMin = 10;
    set.nMax = 60;
    set.nPage = 5;
    set.nPos = 30;
    c->SetScrollInfo(SB_VERT, set, false);
    ASSERT_TRUE(c->GetScrollInfo(SB_VERT, info));
    EXPECT_EQ(info.nMin, 10);
    EXPECT_EQ(info.nMax, 60);
    EXPECT_EQ(info.nPage, 5u);
    EXPECT_EQ(info.nPos, 30);
    c->SetScrollRange(SB_VERT, 0, 20, true);
    EXPECT_EQ(c->GetScrollPos(SB_VERT), 20);
    c->SetScrollPos(SB_VERT, 3, false);
    EXPECT_EQ(c->VertScrollBar()->Position(), 3);

    // The bar's scroll reaches the control as WM_VSCROLL with the code.
    WORD key = VK_END;
    c->VertScrollBar()->ImitateKeyDown(key, {});
    ASSERT_EQ(c->Scrolls.size(), 1u);
    EXPECT_EQ(c->Scrolls[0], std::make_pair(WM_VSCROLL, WPARAM{kscBottom}));
}

TEST_F(TeControlTest, EraseBackgroundNeverErasesAndPaintsOnlyWhenAskedWithANonZeroLParam) {
    TTestFace* c = MakeFace({10, 10, 110, 50});
    c->SetColor(clFuchsia);
    c->SetBorderWidth(2);
    TBitmap target;
    target.SetSize(100, 40);
    HDC dc = target.Canvas()->Handle();
    FillRect(dc, 0, 0, 100, 40, clWhite);
    const int before = c->PaintsOfBuffer;

    EXPECT_EQ(c->Perform(WM_ERASEBKGND, static_cast<WPARAM>(dc.Value()), 0), 1);
    EXPECT_EQ(c->PaintsOfBuffer, before);
    EXPECT_EQ(GetPixel(dc, 0, 0), ColorToColorRef(clWhite));

    EXPECT_EQ(c->Perform(WM_ERASEBKGND, static_cast<WPARAM>(dc.Value()), 1), 1);
    EXPECT_EQ(c->PaintsOfBuffer, before + 1);
    EXPECT_EQ(GetPixel(dc, 0, 0), ColorToColorRef(clFuchsia));  // the border
    EXPECT_NE(GetPixel(dc, 50, 20), ColorToColorRef(clWhite));  // the face
    TRect clip;
    GetClipBox(dc, &clip);
    EXPECT_EQ(clip, (TRect{0, 0, 100, 40})) << "the caller's DC keeps its clip";
}

// What lies behind a transparent child of a TTeControl: the parent paints
// itself into the child's background, windowless and windowed children alike.
TEST_F(TeControlTest, BackgroundPainterLetsTheTeControlParentPaintBehindItsChildren) {
    TTestFace* parent = MakeFace({10, 10, 210, 110});
    parent->SetBorderWidth(3);
    parent->SetColor(clFuchsia);
    auto* windowless = new TGreenChild(Form());
    windowless->SetParent(parent);
    windowless->SetBounds(0, 0, 40, 20);
    auto* windowed = new TTestFace(Form());
    windowed->SetParent(parent);
    windowed->SetBounds(60, 50, 40, 20);
    Ui().RunUntilIdle();

    // The parent's own look at (60, 50): painted into a spare bitmap.
    TBitmap whole;
    whole.SetSize(200, 100);
    parent->Perform(WM_ERASEBKGND, static_cast<WPARAM>(whole.Canvas()->Handle().Value()), 1);

    for (TControl* child : std::initializer_list<TControl*>{windowless, windowed}) {
        TBitmap back;
        back.SetSize(40, 20);
        FillRect(back.Canvas()->Handle(), 0, 0, 40, 20, clWhite);
        const int paints = windowless->Paints;
        DrawControlBackground(child, *back.Canvas());
        EXPECT_EQ(windowless->Paints, paints)
            << "the windowless child is locked while its background is painted";
        for (int y = 0; y < 20; y += 3)
            for (int x = 0; x < 40; x += 3)
                ASSERT_EQ(back.Canvas()->Pixels(x, y),
                          whole.Canvas()->Pixels(child->Left() + x, child->Top() + y))
                    << child->ClassName() << " at " << x << "," << y;
    }
    EXPECT_FALSE(windowless->DrawingDisabled());
}

// A child on a notebook page shows the notebook's colour behind it; a page
// outside a notebook gives no colour of its own.
TEST_F(TeControlTest, BackgroundPainterFillsANotebookPagesChildWithTheNotebooksColour) {
    auto* notebook = new TNotebook(Form());
    notebook->SetParent(Form());
    notebook->SetBounds(10, 10, 200, 100);
    notebook->SetColor(clAqua);
    notebook->Page(0)->SetColor(clYellow);
    auto* loosePage = new TPage(Form());
    loosePage->SetParent(Form());
    loosePage->SetBounds(220, 10, 100, 100);
    loosePage->SetVisible(true);
    struct Case {
        TWinControl* parent;
        TColor expected;
    } cases[] = {{notebook->Page(0), clAqua}, {loosePage, clWhite}};
    for (const Case& c : cases) {
        auto* child = new TGreenChild(Form());
        child->SetParent(c.parent);
        child->SetBounds(30, 20, 40, 20);
        Ui().RunUntilIdle();
        TBitmap back;
        back.SetSize(40, 20);
        FillRect(back.Canvas()->Handle(), 0, 0, 40, 20, clWhite);
        DrawControlBackground(child, *back.Canvas());
        for (const TPoint p : {TPoint{0, 0}, TPoint{39, 19}, TPoint{20, 10}})
            EXPECT_EQ(back.Canvas()->Pixels(p.x, p.y), c.expected)
                << c.parent->ClassName() << " " << p.x << "," << p.y;
    }
}

TEST_F(TeControlTest, AGraphicControlPaintsNothingWhileDrawingIsDisabled) {
    auto* g = new TGreenChild(Form());
    g->SetParent(Form());
    g->SetBounds(10, 10, 30, 30);
    Ui().RunUntilIdle();
    const int paints = g->Paints;
    g->Perform(WM_DISABLEDRAWING, 1, 0);
    g->Invalidate();
    Ui().RunUntilIdle();
    EXPECT_EQ(g->Paints, paints);
    g->Perform(WM_DISABLEDRAWING, 0, 0);
    g->Invalidate();
    Ui().RunUntilIdle();
    EXPECT_EQ(g->Paints, paints + 1);
    EXPECT_EQ(ShownAt(g, 5, 5), Rgb(clLime));
}

TEST_F(TeControlTest, InvalidateNowPaintsBeforeTheLoopRunsAgain) {
    TTestFace* c = MakeFace({10, 10, 110, 50});
    Ui().RunUntilIdle();
    const int paints = c->PaintsOfBuffer;
    c->InvalidateNow();
    EXPECT_EQ(c->PaintsOfBuffer, paints + 1);
    MSG msg;
    EXPECT_FALSE(PeekMessage(&msg, nullptr, WM_PAINT, WM_PAINT, PM_NOREMOVE));
}

// A quit met while painting at once is put back for the loop that owns it.
TEST_F(TeControlTest, InvalidateNowKeepsAQuitMessageForTheLoop) {
    TTestFace* c = MakeFace({10, 10, 110, 50});
    Ui().RunUntilIdle();
    PostQuitMessage(3);
    c->InvalidateNow();
    MSG msg;
    ASSERT_TRUE(PeekMessage(&msg, nullptr, 0, 0, PM_REMOVE));
    EXPECT_EQ(msg.message, WM_QUIT);
    EXPECT_EQ(msg.wParam, 3u);
    Ui().RunUntilIdle();
}

TEST_F(TeControlTest, HoverAndFocusFlagsFollowTheirMessages) {
    TTestFace* c = MakeFace({10, 10, 110, 50});
    int enters = 0, leaves = 0;
    c->OnMouseEnter = [&](TObject*) { ++enters; };
    c->OnMouseLeave = [&](TObject*) { ++leaves; };
    c->Perform(CM_MOUSEENTER);
    EXPECT_TRUE(c->IsHot());
    EXPECT_EQ(enters, 1);
    c->Perform(CM_MOUSELEAVE);
    EXPECT_FALSE(c->IsHot());
    EXPECT_EQ(leaves, 1);
    c->Perform(CM_ENTER);
    EXPECT_TRUE(c->IsFocused());
    c->Perform(CM_EXIT);
    EXPECT_FALSE(c->IsFocused());
    c->Perform(CM_ENTER);
    c->SetVisible(false);
    EXPECT_FALSE(c->IsFocused());
}

// A theme whose named object has bounds of its own.
class TBoundsTheme : public TteTheme {
    TARVEL_CLASS(TBoundsTheme, TteTheme)

public:
    TRect Bounds = NullRect;
    TRect GetBounds(const String& name) override { return name == "panel" ? Bounds : NullRect; }
};

TEST_F(TeControlTest, UpdateThemeLinkMovesTheControlToTheBoundsOfItsObject) {
    const struct {
        TRect bounds;
        TRect expected;
    } cases[] = {
        {{10000, 5, 10080, 25}, {12, 5, 92, 25}},    // keep the left edge, take the width
        {{30, 10000, 70, 10010}, {30, 40, 70, 50}},  // keep the top edge, take the height
        {{-1, -1, 20, 30}, {12, 40, 20, 60}},        // negative edges keep the control's
        {{-5, 8, 60, 28}, {12, 8, 60, 28}},
    };
    TBoundsTheme theme;
    TFixedLink link(&theme);
    for (const auto& k : cases) {
        auto* c = new TGreenChild(Form());
        c->SetParent(Form());
        c->SetBounds(12, 40, 50, 20);
        theme.Bounds = k.bounds;
        UpdateThemeLink(c, &link, "panel", false);
        EXPECT_EQ(c->BoundsRect(), k.expected) << k.bounds.left << "," << k.bounds.top;
        delete c;
    }
    auto* c = new TGreenChild(Form());
    c->SetParent(Form());
    c->SetBounds(12, 40, 50, 20);
    Ui().RunUntilIdle();
    const int paints = c->Paints;
    UpdateThemeLink(c, &link, "other", false);
    Ui().RunUntilIdle();
    EXPECT_EQ(c->Paints, paints) << "no bounds and no repaint asked";
    UpdateThemeLink(c, &link, "other", true);
    Ui().RunUntilIdle();
    EXPECT_EQ(c->Paints, paints + 1);
    EXPECT_EQ(c->BoundsRect(), (TRect{12, 40, 62, 60}));
}

// A windowless control linked to a theme under given rules.
class TLinkedChild : public TGreenChild, public TTeThemeLinked {
    TARVEL_CLASS(TLinkedChild, TGreenChild)

public:
    TLinkedChild(TComponent* owner, TTeThemeLinkRules rules)
        : TGreenChild(owner), TTeThemeLinked(this, rules) {}

protected:
    void Notification(TComponent* component, TOperation operation) override {
        TGreenChild::Notification(component, operation);
        ForgetThemeLink(component, operation);
    }
};

TEST_F(TeControlTest, SettingTheThemeObjectMovesRepaintsOrDoesNothingByTheRules) {
    const TRect placed{12, 40, 62, 60}, themed{5, 6, 55, 26};
    const struct {
        TTeThemeLinkRules rules;
        const char* object;
        TRect bounds;
        int repaints;
    } cases[] = {
        {{}, "panel", themed, 1},
        {{}, "default", placed, 1},  // no bounds of its own: only a repaint
        {{ktlrRepaintOnly}, "panel", placed, 1},
        {{ktlrDefaultKeepsPlace}, "default", placed, 0},
        {{ktlrDefaultKeepsPlace}, "panel", themed, 1},
        {{ktlrSkipSame}, "default", placed, 0},
        {{ktlrSkipSame}, "panel", themed, 1},
    };
    TBoundsTheme theme;
    theme.Bounds = themed;
    TFixedLink link(&theme);
    for (const auto& k : cases) {
        auto* c = new TLinkedChild(Form(), k.rules);
        c->SetParent(Form());
        c->SetThemeLink(&link);
        c->SetBoundsRect(placed);
        Ui().RunUntilIdle();
        const int paints = c->Paints;
        c->SetThemeObject(k.object);
        Ui().RunUntilIdle();
        EXPECT_EQ(c->ThemeObject(), k.object);
        EXPECT_EQ(c->BoundsRect(), k.bounds) << k.object << " " << k.rules.Contains(ktlrRepaintOnly);
        EXPECT_EQ(c->Paints - paints, k.repaints) << k.object;
        delete c;
    }
}

TEST_F(TeControlTest, ALinkBeingFreedIsForgotten) {
    TBoundsTheme theme;
    auto* first = new TFixedLink(&theme);
    auto* second = new TFixedLink(&theme);
    TLinkedChild c(nullptr, {});
    c.SetThemeLink(first);
    c.SetThemeLink(second);
    delete first;  // no longer watched: nothing to forget
    EXPECT_EQ(c.ThemeLink(), second);
    delete second;
    EXPECT_EQ(c.ThemeLink(), nullptr);
}

}  // namespace
}  // namespace tarvel
