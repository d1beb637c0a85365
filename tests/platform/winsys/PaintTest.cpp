// The paint cycle: update regions, WM_NCPAINT and WM_PAINT, erasing, window
// DCs clipped to what a window may touch, and screenshots.

#include <algorithm>
#include <cstdio>
#include <fstream>
#include <functional>

#include "WinsysFixture.h"

namespace tarvel {
namespace {

constexpr COLORREF kRed = RGB(255, 0, 0);
constexpr COLORREF kGreen = RGB(0, 255, 0);
constexpr COLORREF kBlue = RGB(0, 0, 255);
constexpr COLORREF kYellow = RGB(255, 255, 0);

void Fill(HDC dc, const TRect& r, COLORREF c) {
    HBRUSH b = CreateSolidBrush(c);
    FillRect(dc, r, b);
    DeleteObject(b);
}

class PaintTests : public WinsysTest {
protected:
    COLORREF PixelAt(HWND top, int x, int y) {
        std::unique_ptr<Surface> s = backend->WindowPixels(top);
        return s ? PixelToColorRef(s->Pixel(x, y) & 0xFFFFFF) : CLR_INVALID;
    }
};

TEST_F(PaintTests, TheNonClientFrameIsPaintedByItsOwnerAndClientPaintingCannotTouchIt) {
    HWND h = Create(WS_POPUP, Bounds(50, 50, 40, 30), nullptr, FramedPainter(Rect(4, 4, 4, 4), kRed, kGreen));
    ShowWindow(h, SW_SHOW);
    Pump();
    EXPECT_EQ(Messages(h, {WM_NCPAINT, WM_PAINT}), (std::vector<UINT>{WM_NCPAINT, WM_PAINT}));
    EXPECT_EQ(PixelAt(h, 0, 0), kRed);
    EXPECT_EQ(PixelAt(h, 3, 15), kRed);
    EXPECT_EQ(PixelAt(h, 39, 29), kRed);
    EXPECT_EQ(PixelAt(h, 4, 4), kGreen);
    EXPECT_EQ(PixelAt(h, 35, 25), kGreen);
    EXPECT_EQ(PixelAt(h, 36, 25), kRed);

    // Client-only invalidation repaints only the client.
    log.clear();
    InvalidateRect(h, nullptr, false);
    Pump();
    EXPECT_EQ(Messages(h, {WM_NCPAINT, WM_PAINT, WM_ERASEBKGND}), (std::vector<UINT>{WM_PAINT}));
}

TEST_F(PaintTests, ChildrenAreClippedOutOfParentsThatAskForIt) {
    for (DWORD clip : {DWORD{0}, WS_CLIPCHILDREN}) {
        HWND top = Create(WS_POPUP | WS_VISIBLE | clip, Bounds(0, 0, 100, 100), nullptr, Painter(kBlue));
        HWND child = Create(WS_CHILD | WS_VISIBLE, Bounds(20, 20, 30, 30), top, Painter(kYellow));
        Pump();
        EXPECT_EQ(PixelAt(top, 10, 10), kBlue);
        EXPECT_EQ(PixelAt(top, 25, 25), kYellow);
        // Repainting the parent alone: with the clip the child is not even
        // asked again; without it the child is repainted after the parent.
        log.clear();
        InvalidateRect(top, nullptr, false);
        Pump();
        EXPECT_EQ(PixelAt(top, 25, 25), kYellow) << clip;
        EXPECT_EQ(Messages(child, {WM_PAINT}).size(), clip ? 0u : 1u) << clip;
        DestroyWindow(top);
    }
}

TEST_F(PaintTests, EraseHappensOnlyWhenAskedAndTheClassBackgroundFills) {
    HWND h = Create(WS_POPUP | WS_VISIBLE, Bounds(0, 0, 20, 20));
    Pump();
    EXPECT_EQ(PixelAt(h, 5, 5), GetSysColor(COLOR_WINDOW));
    log.clear();
    InvalidateRect(h, nullptr, false);
    Pump();
    EXPECT_TRUE(Messages(h, {WM_ERASEBKGND}).empty());
    InvalidateRect(h, nullptr, true);
    Pump();
    const Logged* erase = Last(h, WM_ERASEBKGND);
    ASSERT_TRUE(erase);
    EXPECT_NE(erase->wParam, 0u);
    EXPECT_EQ(erase->lParam, 0);
}

TEST_F(PaintTests, UpdateRegionsGrowAndValidateAndUpdateWindowPaintsAtOnce) {
    HWND h = Create(WS_POPUP | WS_VISIBLE, Bounds(0, 0, 100, 100), nullptr, Painter(kGreen));
    Pump();
    TRect r1 = Rect(10, 10, 20, 20), r2 = Rect(50, 60, 70, 80);
    InvalidateRect(h, &r1, false);
    InvalidateRect(h, &r2, false);
    TRect update;
    EXPECT_TRUE(GetUpdateRect(h, &update, false));
    EXPECT_EQ(update, Rect(10, 10, 70, 80));
    ValidateRect(h, &r1);
    EXPECT_TRUE(GetUpdateRect(h, &update, false));
    EXPECT_EQ(update, r2);
    log.clear();
    UpdateWindow(h);
    EXPECT_EQ(Messages(h, {WM_PAINT}).size(), 1u);
    EXPECT_FALSE(GetUpdateRect(h, &update, false));
    Pump();
    EXPECT_EQ(Messages(h, {WM_PAINT}).size(), 1u);
}

TEST_F(PaintTests, AWindowThatNeverValidatesIsNotPaintedForever) {
    HWND h = Create(WS_POPUP | WS_VISIBLE, Bounds(0, 0, 10, 10), nullptr,
                    [](HWND, UINT m, WPARAM, LPARAM) -> std::optional<LRESULT> {
                        if (m == WM_PAINT) return 0;  // no BeginPaint
                        return std::nullopt;
                    });
    Pump();
    EXPECT_EQ(Messages(h, {WM_PAINT}).size(), 1u);
}

TEST_F(PaintTests, PaintingKeepsToTheWindowShape) {
    HWND h = Create(WS_POPUP, Bounds(0, 0, 40, 40), nullptr, Painter(kGreen));
    SetWindowShape(h, {Rect(10, 10, 30, 30)}, false);
    ShowWindow(h, SW_SHOW);
    Pump();
    EXPECT_EQ(PixelAt(h, 15, 15), kGreen);
    EXPECT_EQ(PixelAt(h, 5, 5), 0u);
}

TEST_F(PaintTests, AMovedChildIsRedrawnWhereItLandsAndUncoversItsParent) {
    HWND top =
        Create(WS_POPUP | WS_VISIBLE | WS_CLIPCHILDREN, Bounds(0, 0, 100, 100), nullptr, Painter(kBlue));
    HWND child = Create(WS_CHILD | WS_VISIBLE, Bounds(0, 0, 20, 20), top, Painter(kYellow));
    Pump();
    EXPECT_EQ(PixelAt(top, 5, 5), kYellow);
    MoveWindow(child, 50, 50, 20, 20, true);
    Pump();
    EXPECT_EQ(PixelAt(top, 5, 5), kBlue);
    EXPECT_EQ(PixelAt(top, 55, 55), kYellow);
}

TEST_F(PaintTests, APaintMessageCanCarryItsOwnDc) {
    HWND h = Create(WS_POPUP | WS_VISIBLE, Bounds(0, 0, 10, 10));
    Pump();
    // The default procedure draws into a given DC and leaves the update area alone.
    InvalidateRect(h, nullptr, false);
    HDC dc = GetDC(h);
    SendMessage(h, WM_PAINT, DcToWParam(dc), 0);
    ReleaseDC(h, dc);
    TRect update;
    EXPECT_TRUE(GetUpdateRect(h, &update, false));
}

TEST_F(PaintTests, AScreenshotOfASmallWindowTree) {
    HWND top = Create(
        WS_POPUP | WS_VISIBLE | WS_CLIPCHILDREN, Bounds(40, 30, 160, 120), nullptr,
        FramedPainter(Rect(3, 20, 3, 3), GetSysColor(COLOR_ACTIVECAPTION), GetSysColor(COLOR_BTNFACE)));
    Create(WS_CHILD | WS_VISIBLE, Bounds(10, 10, 60, 40), top, Painter(kRed));
    Create(WS_CHILD | WS_VISIBLE | WS_BORDER, Bounds(80, 10, 60, 40), top, Painter(kGreen));
    Create(WS_POPUP | WS_VISIBLE, Bounds(150, 100, 80, 50), top, Painter(kYellow), WS_EX_TOPMOST);
    Pump();

    std::string screen = std::string(TARVEL_BINARY_DIR) + "/winsys_screenshot.png";
    std::string window = std::string(TARVEL_BINARY_DIR) + "/winsys_window.png";
    std::remove(screen.c_str());
    ASSERT_TRUE(backend->SaveScreenPng(screen));
    ASSERT_TRUE(backend->SaveWindowPng(top, window));
    std::ifstream in(screen, std::ios::binary);
    char sig[8] = {};
    in.read(sig, 8);
    EXPECT_EQ(std::string(sig + 1, 3), "PNG");

    std::unique_ptr<Surface> pixels = backend->ScreenPixels();
    auto at = [&](int x, int y) { return PixelToColorRef(pixels->Pixel(x, y) & 0xFFFFFF); };
    EXPECT_EQ(at(5, 5), GetSysColor(COLOR_BACKGROUND));
    EXPECT_EQ(at(45, 35), GetSysColor(COLOR_ACTIVECAPTION));
    EXPECT_EQ(at(40 + 3 + 15, 30 + 20 + 15), kRed);
    EXPECT_EQ(at(40 + 3 + 80, 30 + 20 + 10), GetSysColor(COLOR_WINDOWFRAME));  // the border
    EXPECT_EQ(at(40 + 3 + 85, 30 + 20 + 15), kGreen);
    EXPECT_EQ(at(155, 140), kYellow);  // the popup covers its owner
}

}  // namespace
}  // namespace tarvel

namespace tarvel {
namespace {

TEST_F(PaintTests, TheCaretBlinksOnTheClockAndHidesWhilePainting) {
    HWND h = Create(WS_POPUP | WS_VISIBLE, Bounds(0, 0, 40, 40), nullptr, Painter(kGreen));
    Pump();
    const COLORREF inverted = RGB(255, 0, 255);
    ASSERT_TRUE(CreateCaret(h, 2, 10));
    SetCaretPos(5, 5);
    EXPECT_EQ(PixelAt(h, 5, 5), kGreen);  // created hidden
    ShowCaret(h);
    EXPECT_EQ(PixelAt(h, 5, 5), inverted);
    EXPECT_EQ(PixelAt(h, 7, 5), kGreen);
    backend->AdvanceClock(GetCaretBlinkTime());
    Pump();
    EXPECT_EQ(PixelAt(h, 5, 5), kGreen);
    backend->AdvanceClock(GetCaretBlinkTime());
    Pump();
    EXPECT_EQ(PixelAt(h, 5, 5), inverted);

    // A repaint under the caret does not leave a stale inversion behind.
    InvalidateRect(h, nullptr, false);
    Pump();
    EXPECT_EQ(PixelAt(h, 5, 5), inverted);
    SetCaretPos(20, 20);
    EXPECT_EQ(PixelAt(h, 5, 5), kGreen);
    EXPECT_EQ(PixelAt(h, 20, 20), inverted);
    DestroyCaret();
    EXPECT_EQ(PixelAt(h, 20, 20), kGreen);
}

}  // namespace
}  // namespace tarvel

namespace tarvel {
namespace {

// A frame takes the form's DC when it is loaded and keeps it; the form's
// frame and size change afterwards.
TEST_F(PaintTests, AKeptDcFollowsItsWindow) {
    int border = 0;
    HWND form = Create(WS_POPUP | WS_VISIBLE | WS_CLIPCHILDREN, Bounds(0, 0, 100, 80), nullptr,
                       [&border](HWND, UINT m, WPARAM w, LPARAM l) -> std::optional<LRESULT> {
                           if (AnswerFrame(m, w, l, TRect{border, border, border, border})) return 0;
                           if (m == WM_NCPAINT || m == WM_PAINT || m == WM_ERASEBKGND) return 0;
                           return std::nullopt;
                       });
    HWND child = Create(WS_CHILD | WS_VISIBLE, Bounds(10, 10, 20, 20), form,
                        [](HWND, UINT m, WPARAM, LPARAM) -> std::optional<LRESULT> {
                            if (m == WM_PAINT || m == WM_ERASEBKGND) return 0;
                            return std::nullopt;
                        });
    Pump();
    HDC kept = GetDC(form);
    HDC keptChild = GetDC(child);

    border = 5;
    SetWindowPos(form, nullptr, 0, 0, 300, 200, SWP_NOMOVE | SWP_NOZORDER | SWP_FRAMECHANGED);
    MoveWindow(child, 100, 100, 20, 20, true);
    Pump();
    Fill(kept, Rect(0, 0, 1000, 1000), kBlue);
    Fill(keptChild, Rect(0, 0, 1000, 1000), kYellow);
    EXPECT_EQ(PixelAt(form, 2, 2), 0u);         // the frame is not the client's
    EXPECT_EQ(PixelAt(form, 5, 5), kBlue);      // the client starts inside the new frame
    EXPECT_EQ(PixelAt(form, 290, 190), kBlue);  // and reaches the new size
    EXPECT_EQ(PixelAt(form, 296, 196), 0u);
    EXPECT_EQ(PixelAt(form, 5 + 110, 5 + 110), kYellow);  // the child where it is now
    EXPECT_EQ(PixelAt(form, 5 + 130, 5 + 110), kBlue);    // clipped out where it was not
    EXPECT_EQ(PixelAt(form, 5 + 15, 5 + 15), kBlue);      // nor where it was
    ReleaseDC(child, keptChild);
    ReleaseDC(form, kept);
}

}  // namespace
}  // namespace tarvel

namespace tarvel {
namespace {

// Windows here paint nothing themselves, so what the tests draw stays.
std::optional<LRESULT> PaintsNothing(HWND h, UINT m, WPARAM, LPARAM) {
    if (m == WM_NCPAINT || m == WM_PAINT || m == WM_ERASEBKGND) {
        if (m == WM_PAINT) ValidateRect(h, nullptr);
        return 0;
    }
    return std::nullopt;
}

COLORREF BufferAt(HWND top, int x, int y) {
    std::shared_ptr<Surface> s = GetWindowSurface(top);
    if (!s || !s->BoundsRect().Contains(TPoint{x, y})) return CLR_INVALID;
    return PixelToColorRef(s->Pixel(x, y) & 0xFFFFFF);
}

TEST_F(PaintTests, AKeptDcFollowsAMoveAndAResizeIntoANewBackBuffer) {
    HWND form =
        Create(WS_POPUP | WS_VISIBLE | WS_CLIPCHILDREN, Bounds(0, 0, 200, 150), nullptr, PaintsNothing);
    HWND child = Create(WS_CHILD | WS_VISIBLE, Bounds(10, 10, 30, 30), form, PaintsNothing);
    Pump();
    HDC formDc = GetWindowDC(form);
    HDC childDc = GetDC(child);
    const std::shared_ptr<Surface> before = GetWindowSurface(form);

    MoveWindow(child, 60, 40, 50, 40, true);
    // Larger than the screen: the back buffer is replaced under the DCs.
    SetWindowPos(form, nullptr, 100, 50, 810, 610, SWP_NOZORDER);
    Pump();
    ASSERT_NE(GetWindowSurface(form), before);
    Fill(formDc, Rect(-50, -50, 2000, 2000), kBlue);
    Fill(childDc, Rect(-50, -50, 2000, 2000), kYellow);
    EXPECT_EQ(BufferAt(form, 60, 40), kYellow);   // the child where it is now
    EXPECT_EQ(BufferAt(form, 109, 79), kYellow);  // at its new size
    EXPECT_EQ(BufferAt(form, 110, 40), kBlue);    // and not beyond it
    EXPECT_EQ(BufferAt(form, 15, 15), kBlue);     // nor where it was
    EXPECT_EQ(BufferAt(form, 809, 609), kBlue);   // the form's DC reaches its new size
    TRect box;
    GetClipBox(formDc, &box);
    EXPECT_EQ(box, Rect(0, 0, 810, 610));             // and stops there
    EXPECT_EQ(before->Pixel(15, 15) & 0xFFFFFF, 0u);  // nothing went to the old buffer
    ReleaseDC(child, childDc);
    ReleaseDC(form, formDc);
}

// Whatever a caller does to its clip, a window's DC stays within what the
// window may touch: its children clipped out, its own area, its update area.
// Back buffers pass from destroyed top-level windows to new ones; a new
// window's buffer holds nothing of what the last one drew, wherever it drew.
TEST_F(PaintTests, ANewTopLevelWindowsBufferHoldsNothingOfAnEarlierWindow) {
    struct Case {
        const char* name;
        std::vector<TSize> sizes;  // drawn over whole at each size in turn
        bool keepDc;               // a DC of the old window stays open past its end
    };
    const Case cases[] = {
        {"drawn once", {{120, 80}}, false},
        {"grown then shrunk", {{60, 40}, {700, 500}, {50, 50}}, false},
        {"as large as the screen", {{800, 600}}, false},
        {"a DC kept open", {{300, 200}}, true},
    };
    for (const Case& c : cases) {
        HWND old = Create(WS_POPUP | WS_VISIBLE, Bounds(10, 10, 20, 20), nullptr, PaintsNothing);
        HDC kept = nullptr;
        for (TSize size : c.sizes) {
            SetWindowPos(old, nullptr, 0, 0, size.cx, size.cy, SWP_NOMOVE | SWP_NOZORDER);
            HDC dc = GetWindowDC(old);
            Fill(dc, Rect(-50, -50, 2000, 2000), kBlue);
            if (c.keepDc)
                kept = dc;
            else
                ReleaseDC(old, dc);
        }
        Pump();
        DestroyWindow(old);
        HWND next = Create(WS_POPUP, Bounds(30, 30, 250, 150), nullptr, PaintsNothing);
        if (kept) {
            Fill(kept, Rect(-50, -50, 2000, 2000), kYellow);
            ReleaseDC(old, kept);
        }
        const std::shared_ptr<Surface> buffer = GetWindowSurface(next);
        ASSERT_TRUE(buffer) << c.name;
        const uint32_t* bits = buffer->Bits();
        const auto count = static_cast<size_t>(buffer->Width()) * static_cast<size_t>(buffer->Height());
        EXPECT_EQ(std::count(bits, bits + count, 0u), static_cast<ptrdiff_t>(count)) << c.name;
        DestroyWindow(next);
    }
}

TEST_F(PaintTests, ACallerClearingItsClipStaysInsideWhatItsWindowMayTouch) {
    struct Dc {
        const char* name;
        std::function<HDC(HWND top, HWND child, PAINTSTRUCT&)> get;
        std::vector<TPoint> allowed, forbidden;  // top-level window coordinates
    };
    const std::vector<TPoint> outside = {{150, 150}, {100, 5}};
    const Dc dcs[] = {
        {"GetDC of a parent that clips its children",
         [](HWND top, HWND, PAINTSTRUCT&) { return GetDC(top); },
         {{5, 5}, {90, 90}},
         {{15, 15}, {39, 39}}},
        {"GetWindowDC of a child",
         [](HWND, HWND child, PAINTSTRUCT&) { return GetWindowDC(child); },
         {{10, 10}, {39, 39}},
         {{5, 5}, {40, 40}, {9, 20}}},
        {"BeginPaint of a part",
         [](HWND top, HWND, PAINTSTRUCT& ps) {
             const TRect part = Rect(0, 0, 50, 50);
             InvalidateRect(top, &part, false);
             return BeginPaint(top, &ps);
         },
         {{5, 5}, {45, 45}},
         {{15, 15}, {55, 5}, {5, 60}}},
    };
    struct Clip {
        const char* name;
        std::function<void(HDC)> apply;
    };
    const Clip clips[] = {
        {"clip removed", [](HDC dc) { SelectClipRgn(dc, nullptr); }},
        {"clip over everything",
         [](HDC dc) {
             HRGN all = CreateRectRgn(-1000, -1000, 1000, 1000);
             SelectClipRgn(dc, all);
             DeleteObject(all);
         }},
        {"clip saved, cleared and restored",
         [](HDC dc) {
             const int saved = SaveDC(dc);
             SelectClipRgn(dc, nullptr);
             RestoreDC(dc, saved);
             SelectClipRgn(dc, nullptr);
         }},
    };
    for (const Dc& d : dcs) {
        for (const Clip& c : clips) {
            HWND top = Create(WS_POPUP | WS_VISIBLE | WS_CLIPCHILDREN, Bounds(0, 0, 100, 100), nullptr,
                              PaintsNothing);
            HWND child = Create(WS_CHILD | WS_VISIBLE, Bounds(10, 10, 30, 30), top, PaintsNothing);
            Pump();
            PAINTSTRUCT ps;
            HDC dc = d.get(top, child, ps);
            c.apply(dc);
            Fill(dc, Rect(-500, -500, 500, 500), kRed);
            for (TPoint p : d.allowed) EXPECT_EQ(BufferAt(top, p.x, p.y), kRed) << d.name << ", " << c.name;
            for (TPoint p : d.forbidden) EXPECT_EQ(BufferAt(top, p.x, p.y), 0u) << d.name << ", " << c.name;
            for (TPoint p : outside) EXPECT_EQ(BufferAt(top, p.x, p.y), 0u) << d.name << ", " << c.name;
            if (ps.hdc == dc)
                EndPaint(top, &ps);
            else
                ReleaseDC(top, dc);
            DestroyWindow(top);
        }
    }
}

// A caller saves its DC state, the window system moves the DC, the caller
// restores: the clip of before the move must not come back.
TEST_F(PaintTests, RestoringASavedDcKeepsTheVisibleAreaOfNow) {
    HWND top =
        Create(WS_POPUP | WS_VISIBLE | WS_CLIPCHILDREN, Bounds(0, 0, 100, 100), nullptr, PaintsNothing);
    HWND child = Create(WS_CHILD | WS_VISIBLE, Bounds(10, 10, 20, 20), top, PaintsNothing);
    Pump();
    HDC kept = GetDC(top);
    const int saved = SaveDC(kept);
    MoveWindow(child, 60, 60, 20, 20, true);
    Pump();
    RestoreDC(kept, saved);
    Fill(kept, Rect(0, 0, 100, 100), kRed);
    EXPECT_EQ(BufferAt(top, 15, 15), kRed);  // where the child was
    EXPECT_EQ(BufferAt(top, 65, 65), 0u);    // where it is now
    TRect box;
    GetClipBox(kept, &box);
    EXPECT_EQ(box, Rect(0, 0, 100, 100));
    ReleaseDC(top, kept);
}

// Only what was drawn reaches the display, also through DCs kept open.
TEST_F(PaintTests, OnlyWhatWasDrawnIsPresented) {
    HWND h = Create(WS_POPUP | WS_VISIBLE, Bounds(0, 0, 100, 80), nullptr,
                    [](HWND hwnd, UINT m, WPARAM w, LPARAM l) -> std::optional<LRESULT> {
                        if (AnswerFrame(m, w, l, Rect(2, 10, 2, 2))) return 0;
                        return PaintsNothing(hwnd, m, w, l);
                    });
    Pump();
    backend->TakePresented();

    HDC dc = GetDC(h);
    SetPixel(dc, 3, 4, kRed);
    ReleaseDC(h, dc);
    Pump();
    using Presented = std::vector<std::pair<HWND, TRect>>;
    EXPECT_EQ(backend->TakePresented(), (Presented{{h, Rect(5, 14, 6, 15)}}));

    HDC kept = GetDC(h);
    Pump();
    EXPECT_EQ(backend->TakePresented(), Presented{});  // open, but nothing drawn
    Fill(kept, Rect(10, 10, 20, 15), kGreen);
    Pump();
    EXPECT_EQ(backend->TakePresented(), (Presented{{h, Rect(12, 20, 22, 25)}}));
    Pump();
    EXPECT_EQ(backend->TakePresented(), Presented{});
    ReleaseDC(h, kept);
}

}  // namespace
}  // namespace tarvel
