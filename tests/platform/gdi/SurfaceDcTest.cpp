// DCs over a window system's surfaces: moving a kept DC, the system region
// beside the caller's clip, and what output has written.

#include <functional>

#include "GdiFixture.h"

namespace tarvel {
namespace {

using gditest::PixelDc;
using gditest::Rows;

constexpr uint32_t kWhite = 0x00FFFFFF;

HBRUSH White() { return HBRUSH(GetStockObject(WHITE_BRUSH)); }

std::string Picture(const Surface& s) {
    std::string out;
    for (int y = 0; y < s.Height(); ++y) {
        for (int x = 0; x < s.Width(); ++x) out += s.Pixel(x, y) == kWhite ? '#' : '.';
        out += '\n';
    }
    return out;
}

// Two pieces with a hole between them, as a window whose child is clipped out.
HRGN TwoPieces() {
    const TRect pieces[] = {Rect(0, 0, 2, 3), Rect(4, 0, 6, 3)};
    return ExtCreateRegion(pieces, 2);
}

TEST(SurfaceDc, TheCallersClipCannotReachBeyondTheSystemRegion) {
    struct Case {
        const char* name;
        std::function<void(HDC)> clip;
    };
    const Case cases[] = {
        {"no clip", [](HDC) {}},
        {"clip removed", [](HDC dc) { SelectClipRgn(dc, nullptr); }},
        {"clip over everything",
         [](HDC dc) {
             HRGN all = CreateRectRgn(-100, -100, 100, 100);
             SelectClipRgn(dc, all);
             DeleteObject(all);
         }},
        {"clip widened",
         [](HDC dc) {
             HRGN all = CreateRectRgn(-100, -100, 100, 100);
             ExtSelectClipRgn(dc, all, RGN_OR);
             DeleteObject(all);
         }},
        {"rectangle excluded from no clip", [](HDC dc) { ExcludeClipRect(dc, 50, 50, 60, 60); }},
    };
    for (const Case& c : cases) {
        auto surface = std::make_shared<Surface>(8, 5);
        HDC dc = CreateSurfaceDC(surface, TPoint{1, 1}, Rect(0, 0, 8, 5));
        HRGN pieces = TwoPieces();
        EXPECT_EQ(SetDCSystemRegion(dc, pieces), COMPLEXREGION);
        DeleteObject(pieces);  // the DC keeps its own copy
        c.clip(dc);
        EXPECT_TRUE(FillRect(dc, Rect(-10, -10, 20, 20), White()));
        EXPECT_EQ(Picture(*surface), Rows({"........", ".##..##.", ".##..##.", ".##..##.", "........"}))
            << c.name;
        TRect box;
        GetClipBox(dc, &box);
        EXPECT_EQ(box, Rect(0, 0, 6, 3)) << c.name;
        EXPECT_FALSE(PtVisible(dc, 3, 1)) << c.name;
        EXPECT_TRUE(PtVisible(dc, 4, 1)) << c.name;
        DeleteDC(dc);
    }
}

TEST(SurfaceDc, TheClipBoxIsWhereBothClipsMeet) {
    PixelDc p(10, 10);
    HRGN system = CreateRectRgn(2, 2, 8, 8);
    SetDCSystemRegion(p.dc, system);
    IntersectClipRect(p.dc, 5, 0, 10, 6);
    TRect box;
    EXPECT_EQ(GetClipBox(p.dc, &box), SIMPLEREGION);
    EXPECT_EQ(box, Rect(5, 2, 8, 6));
    // The caller's clip is what GetClipRgn answers; the system region apart.
    HRGN read = CreateRectRgn(0, 0, 0, 0);
    EXPECT_EQ(GetClipRgn(p.dc, read), 1);
    GetRgnBox(read, &box);
    EXPECT_EQ(box, Rect(5, 0, 10, 6));
    EXPECT_EQ(GetDCSystemRegion(p.dc, read), 1);
    EXPECT_TRUE(EqualRgn(read, system));
    // With the window origin moved the box moves with the logical coordinates.
    SetWindowOrgEx(p.dc, 10, 0, nullptr);
    GetClipBox(p.dc, &box);
    EXPECT_EQ(box, Rect(15, 2, 18, 6));
    // Removing the system region leaves the caller's clip.
    EXPECT_EQ(SetDCSystemRegion(p.dc, nullptr), SIMPLEREGION);
    EXPECT_EQ(GetDCSystemRegion(p.dc, read), 0);
    SetWindowOrgEx(p.dc, 0, 0, nullptr);
    GetClipBox(p.dc, &box);
    EXPECT_EQ(box, Rect(5, 0, 10, 6));
    DeleteObject(read);
    DeleteObject(system);
}

TEST(SurfaceDc, SaveAndRestoreLeaveTheSystemRegionAlone) {
    PixelDc p(6, 1, 0);
    HRGN left = CreateRectRgn(0, 0, 3, 1);
    HRGN right = CreateRectRgn(3, 0, 6, 1);
    SetDCSystemRegion(p.dc, left);
    const int level = SaveDC(p.dc);
    // The window system moves the DC while the caller has saved its state.
    SetDCSystemRegion(p.dc, right);
    SelectClipRgn(p.dc, left);  // the caller's own clip, nothing left to draw
    TRect box;
    EXPECT_EQ(GetClipBox(p.dc, &box), NULLREGION);
    EXPECT_TRUE(RestoreDC(p.dc, level));
    FillRect(p.dc, Rect(0, 0, 6, 1), White());
    EXPECT_EQ(p.Picture(kWhite, 0), "...###\n");  // the new region held; the old did not come back
    HRGN read = CreateRectRgn(0, 0, 0, 0);
    EXPECT_EQ(GetClipRgn(p.dc, read), 0);  // the caller's clip did come back: none
    DeleteObject(read);
    DeleteObject(left);
    DeleteObject(right);
}

TEST(SurfaceDc, AMovedDcKeepsItsStateAndDrawsAtItsNewPlace) {
    auto first = std::make_shared<Surface>(6, 4);
    HDC dc = CreateSurfaceDC(first, TPoint{0, 0}, Rect(0, 0, 6, 4));
    HBRUSH brush = CreateSolidBrush(RGB(255, 255, 255));
    SelectObject(dc, brush);
    SetWindowOrgEx(dc, 1, 0, nullptr);
    ExcludeClipRect(dc, 1, 0, 2, 1);  // logical (1, 0): device (0, 0)

    // The back buffer is replaced and the window lies elsewhere in it.
    auto second = std::make_shared<Surface>(8, 5);
    EXPECT_TRUE(RetargetSurfaceDC(dc, second, TPoint{3, 2}, Rect(3, 2, 7, 5)));
    EXPECT_EQ(GetDCSurface(dc), second);
    EXPECT_EQ(GetDCDeviceOrigin(dc), (TPoint{3, 2}));
    PatBlt(dc, -100, -100, 200, 200, PATCOPY);
    EXPECT_EQ(Picture(*second), Rows({"........", "........", "....###.", "...####.", "...####."}));
    EXPECT_EQ(Picture(*first), Rows({"......", "......", "......", "......"}));

    EXPECT_FALSE(RetargetSurfaceDC(dc, nullptr, TPoint{}, TRect{}));
    EXPECT_FALSE(RetargetSurfaceDC(dc, std::make_shared<Surface>(-1, 5), TPoint{}, TRect{}));
    PixelDc memory(2, 2);
    EXPECT_FALSE(RetargetSurfaceDC(memory.dc, second, TPoint{}, Rect(0, 0, 8, 5)));
    EXPECT_FALSE(RetargetSurfaceDC(HDC(), second, TPoint{}, Rect(0, 0, 8, 5)));
    DeleteDC(dc);
    DeleteObject(brush);
}

TEST(SurfaceDc, BadHandlesFail) {
    HRGN rgn = CreateRectRgn(0, 0, 1, 1);
    EXPECT_EQ(SetDCSystemRegion(HDC(), rgn), RGN_ERROR);
    EXPECT_EQ(GetDCSystemRegion(HDC(), rgn), -1);
    HDC dc = CreateCompatibleDC(nullptr);
    EXPECT_EQ(SetDCSystemRegion(dc, HRGN(HGDIOBJ(GetStockObject(WHITE_BRUSH)).Value())), RGN_ERROR);
    EXPECT_EQ(GetDCSystemRegion(dc, HRGN()), -1);
    EXPECT_EQ(TakeDCDamage(HDC()), TRect{});
    DeleteDC(dc);
    DeleteObject(rgn);
}

// What each kind of output reports as written: exactly the pixels it
// touched inside the clip, in surface coordinates.
TEST(SurfaceDc, OutputReportsTheAreaItWrote) {
    struct Case {
        const char* name;
        std::function<void(HDC)> draw;
        TRect written;
        bool somewhereIn = false;  // glyph shapes differ between fonts: only where
    };
    PixelDc source(4, 4);
    const Case cases[] = {
        {"nothing", [](HDC) {}, TRect{}},
        {"fill", [](HDC dc) { FillRect(dc, Rect(1, 1, 3, 4), White()); }, Rect(3, 2, 5, 5)},
        {"fill clipped", [](HDC dc) { FillRect(dc, Rect(-5, -5, 3, 3), White()); }, Rect(2, 1, 5, 4)},
        {"fill outside", [](HDC dc) { FillRect(dc, Rect(50, 50, 60, 60), White()); }, TRect{}},
        {"pixel", [](HDC dc) { SetPixel(dc, 4, 0, 0); }, Rect(6, 1, 7, 2)},
        {"pixel read", [](HDC dc) { GetPixel(dc, 4, 0); }, TRect{}},
        {"line",
         [](HDC dc) {
             MoveToEx(dc, 0, 2, nullptr);
             LineTo(dc, 3, 2);
         },
         Rect(2, 3, 5, 4)},
        {"blit", [&source](HDC dc) { BitBlt(dc, 1, 0, 2, 2, source.dc, 0, 0, SRCCOPY); }, Rect(3, 1, 5, 3)},
        {"stretch", [&source](HDC dc) { StretchBlt(dc, 0, 0, 4, 2, source.dc, 0, 0, 2, 2, SRCCOPY); },
         Rect(2, 1, 6, 3)},
        {"text",
         [](HDC dc) {
             SetBkMode(dc, TRANSPARENT);
             TextOutW(dc, 0, 0, u"W");
         },
         Rect(2, 1, 8, 6), true},
    };
    for (const Case& c : cases) {
        auto surface = std::make_shared<Surface>(10, 8);
        HDC dc = CreateSurfaceDC(surface, TPoint{2, 1}, Rect(2, 1, 8, 6));
        c.draw(dc);
        const TRect written = TakeDCDamage(dc);
        if (c.somewhereIn) {
            EXPECT_FALSE(written.IsEmpty()) << c.name;
            EXPECT_EQ(Intersect(written, c.written), written) << c.name;
        } else {
            EXPECT_EQ(written, c.written) << c.name;
        }
        EXPECT_EQ(TakeDCDamage(dc), TRect{}) << c.name << ": asking clears it";
        DeleteDC(dc);
    }
}

}  // namespace
}  // namespace tarvel
