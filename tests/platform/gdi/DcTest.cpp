#include <gtest/gtest.h>

#include "tests/platform/gdi/GdiFixture.h"

namespace tarvel {
namespace {

using gditest::PixelDc;
using gditest::Rows;

constexpr uint32_t kFill = 0x11223344;
constexpr uint32_t kBlack = 0x00000000;

HBRUSH Black() { return HBRUSH(GetStockObject(BLACK_BRUSH)); }

TEST(Dc, SelectObjectAnswersThePreviousObject) {
    HDC dc = CreateCompatibleDC(nullptr);
    HPEN red = CreatePen(PS_SOLID, 1, RGB(255, 0, 0));
    HPEN first = SelectObject(dc, red);
    EXPECT_EQ(first, HPEN(GetStockObject(BLACK_PEN)));
    EXPECT_EQ(SelectObject(dc, first), red);
    EXPECT_EQ(HPEN(GetCurrentObject(dc, OBJ_PEN)), first);
    // The generic form dispatches by the object's kind.
    EXPECT_EQ(HPEN(SelectObject(dc, HGDIOBJ(red))), first);
    EXPECT_EQ(GetObjectType(red), OBJ_PEN);
    EXPECT_EQ(GetObjectType(dc), OBJ_MEMDC);
    SelectObject(dc, first);
    EXPECT_TRUE(DeleteObject(red));
    EXPECT_TRUE(DeleteDC(dc));
}

TEST(Dc, BadHandlesFailWithoutHarm) {
    HDC dc = CreateCompatibleDC(nullptr);
    HBRUSH brush = CreateSolidBrush(0);
    ASSERT_TRUE(DeleteObject(brush));
    EXPECT_FALSE(DeleteObject(brush));  // already gone
    EXPECT_FALSE(SelectObject(dc, brush));
    EXPECT_FALSE(FillRect(dc, Rect(0, 0, 1, 1), brush));
    HBRUSH other = CreateSolidBrush(0);  // may reuse the slot, never the handle
    EXPECT_NE(other, brush);
    EXPECT_FALSE(SelectObject(dc, HPEN(HGDIOBJ(other))));  // wrong kind
    EXPECT_FALSE(FillRect(HDC(), Rect(0, 0, 1, 1), other));
    EXPECT_FALSE(LineTo(HDC(), 1, 1));
    EXPECT_FALSE(SelectObject(HDC(), other));
    EXPECT_EQ(GetObjectType(HGDIOBJ(uint64_t{0x123456789})), 0);
    EXPECT_FALSE(DeleteObject(HGDIOBJ()));
    EXPECT_FALSE(DeleteDC(HDC()));
    EXPECT_FALSE(DeleteObject(HGDIOBJ(dc)));                 // a DC goes with DeleteDC
    EXPECT_TRUE(DeleteObject(GetStockObject(WHITE_BRUSH)));  // stock objects stay
    EXPECT_EQ(GetObjectType(GetStockObject(WHITE_BRUSH)), OBJ_BRUSH);
    EXPECT_FALSE(GetStockObject(-1));
    DeleteObject(other);
    DeleteDC(dc);
}

TEST(Dc, BadSizesGiveNoBitmap) {
    BITMAPINFO info;
    void* bits = reinterpret_cast<void*>(1);
    struct Case {
        int width, height, bitCount;
    };
    const Case cases[] = {
        {0, 5, 32}, {-3, 5, 32}, {5, 0, 32}, {100000, 100000, 32}, {INT32_MAX, INT32_MIN, 32}, {4, 4, 24}};
    for (const Case& c : cases) {
        info.bmiHeader.biWidth = c.width;
        info.bmiHeader.biHeight = c.height;
        info.bmiHeader.biBitCount = static_cast<uint16_t>(c.bitCount);
        EXPECT_FALSE(CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0)) << c.width;
        EXPECT_EQ(bits, nullptr);
    }
    EXPECT_FALSE(CreateDIBSection(nullptr, nullptr, DIB_RGB_COLORS, &bits, nullptr, 0));
    EXPECT_FALSE(CreateCompatibleBitmap(nullptr, -1, 4));
    EXPECT_FALSE(CreateCompatibleBitmap(nullptr, 1 << 20, 1 << 20));
    EXPECT_FALSE(CreateSurfaceDC(nullptr, TPoint{}, TRect{}));
}

TEST(Dc, DibSectionAnswersItsHeaderAndBits) {
    for (bool bottomUp : {false, true}) {
        BITMAPINFO info;
        info.bmiHeader.biWidth = 3;
        info.bmiHeader.biHeight = bottomUp ? 2 : -2;
        void* bits = nullptr;
        HBITMAP bitmap = CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
        ASSERT_TRUE(bitmap);
        const auto* pixels = static_cast<const uint32_t*>(bits);
        for (int i = 0; i < 6; ++i) EXPECT_EQ(pixels[i], 0u);  // zeroed

        HDC dc = CreateCompatibleDC(nullptr);
        HBITMAP old = SelectObject(dc, bitmap);
        DIBSECTION ds;
        ASSERT_EQ(GetObject(HBITMAP(GetCurrentObject(dc, OBJ_BITMAP)), ds), int(sizeof(DIBSECTION)));
        EXPECT_EQ(ds.dsBm.bmBits, bits);
        EXPECT_EQ(ds.dsBmih.biWidth, 3);
        EXPECT_EQ(ds.dsBmih.biHeight, bottomUp ? 2 : -2);
        EXPECT_EQ(ds.dsBmih.biBitCount, 32);

        // Row 0 of the DC is the top row, wherever it lies in memory.
        SetPixel(dc, 0, 0, RGB(0, 0, 255));
        EXPECT_EQ(pixels[bottomUp ? 3 : 0], 0x000000FFu);
        EXPECT_FALSE(DeleteObject(bitmap));  // still selected
        SelectObject(dc, old);
        DeleteDC(dc);
        EXPECT_TRUE(DeleteObject(bitmap));
    }
    HBITMAP ddb = CreateCompatibleBitmap(nullptr, 4, 4);
    DIBSECTION ds;
    EXPECT_EQ(GetObject(ddb, ds), int(sizeof(BITMAP)));
    EXPECT_EQ(ds.dsBm.bmBits, nullptr);
    DeleteObject(ddb);
}

TEST(Dc, ABitmapLivesInOneDcAtATime) {
    HBITMAP bitmap = CreateCompatibleBitmap(nullptr, 2, 2);
    HDC a = CreateCompatibleDC(nullptr), b = CreateCompatibleDC(nullptr);
    EXPECT_TRUE(SelectObject(a, bitmap));
    EXPECT_FALSE(SelectObject(b, bitmap));
    DeleteDC(a);  // releases it
    EXPECT_TRUE(SelectObject(b, bitmap));
    DeleteDC(b);
    EXPECT_TRUE(DeleteObject(bitmap));
}

TEST(Dc, WindowOriginMovesDrawing) {
    PixelDc p(6, 4, kFill);
    TPoint old;
    SetWindowOrgEx(p.dc, 2, 1, &old);
    EXPECT_EQ(old, (TPoint{0, 0}));
    FillRect(p.dc, Rect(2, 1, 3, 2), Black());  // logical (2, 1) is device (0, 0)
    EXPECT_EQ(p.At(0, 0), kBlack);
    MoveWindowOrg(p.dc, 1, 1);  // origin := origin - (1, 1)
    TPoint now;
    GetWindowOrgEx(p.dc, &now);
    EXPECT_EQ(now, (TPoint{1, 0}));
    FillRect(p.dc, Rect(2, 1, 3, 2), Black());
    EXPECT_EQ(p.At(1, 1), kBlack);
    EXPECT_EQ(p.Count(kBlack), 2);
}

TEST(Dc, ClipRectsUseLogicalCoordinatesAndAccumulate) {
    PixelDc p(6, 4, kFill);
    SetWindowOrgEx(p.dc, 10, 0, nullptr);
    EXPECT_EQ(IntersectClipRect(p.dc, 11, 0, 15, 4), SIMPLEREGION);  // device 1..5
    EXPECT_EQ(ExcludeClipRect(p.dc, 12, 1, 14, 3), COMPLEXREGION);   // device 2..4 x 1..3
    SetWindowOrgEx(p.dc, 0, 0, nullptr);                             // the clip stays where it was put
    FillRect(p.dc, Rect(0, 0, 6, 4), Black());
    EXPECT_EQ(p.Picture(kBlack, kFill), Rows({".####.", ".#..#.", ".#..#.", ".####."}));
    TRect box;
    EXPECT_EQ(GetClipBox(p.dc, &box), COMPLEXREGION);
    EXPECT_EQ(box, Rect(1, 0, 5, 4));
}

TEST(Dc, SelectClipRgnIsInDeviceCoordinatesAndNullRemovesIt) {
    PixelDc p(4, 3, kFill);
    HRGN region = CreateRectRgn(1, 1, 3, 2);
    SetWindowOrgEx(p.dc, 5, 5, nullptr);
    EXPECT_EQ(SelectClipRgn(p.dc, region), SIMPLEREGION);
    DeleteObject(region);  // the DC keeps its own copy
    FillRect(p.dc, Rect(5, 5, 9, 8), Black());
    EXPECT_EQ(p.Picture(kBlack, kFill), Rows({"....", ".##.", "...."}));
    EXPECT_TRUE(PtVisible(p.dc, 6, 6));
    EXPECT_FALSE(PtVisible(p.dc, 5, 5));
    SelectClipRgn(p.dc, nullptr);
    FillRect(p.dc, Rect(5, 5, 9, 8), Black());
    EXPECT_EQ(p.Count(kBlack), 12);
}

TEST(Dc, SaveDcRestoresEverything) {
    PixelDc p(6, 6, kFill);
    HPEN pen = CreatePen(PS_SOLID, 1, RGB(255, 0, 0));
    HFONT font = CreateFontIndirectW(LOGFONTW{});
    const int level = SaveDC(p.dc);
    EXPECT_EQ(level, 1);
    const HPEN oldPen = SelectObject(p.dc, pen);
    const HFONT oldFont = SelectObject(p.dc, font);
    SelectObject(p.dc, Black());
    SetTextColor(p.dc, RGB(1, 2, 3));
    SetBkMode(p.dc, TRANSPARENT);
    SetStretchBltMode(p.dc, COLORONCOLOR);
    SetWindowOrgEx(p.dc, 3, 4, nullptr);
    IntersectClipRect(p.dc, 3, 4, 4, 5);
    EXPECT_EQ(SaveDC(p.dc), 2);
    ExcludeClipRect(p.dc, 0, 0, 100, 100);

    ASSERT_TRUE(RestoreDC(p.dc, 1));
    EXPECT_EQ(HPEN(GetCurrentObject(p.dc, OBJ_PEN)), oldPen);
    EXPECT_EQ(HFONT(GetCurrentObject(p.dc, OBJ_FONT)), oldFont);
    EXPECT_EQ(HBRUSH(GetCurrentObject(p.dc, OBJ_BRUSH)), HBRUSH(GetStockObject(WHITE_BRUSH)));
    EXPECT_EQ(GetTextColor(p.dc), RGB(0, 0, 0));
    EXPECT_EQ(GetBkMode(p.dc), OPAQUE);
    EXPECT_EQ(GetStretchBltMode(p.dc), BLACKONWHITE);
    TPoint origin;
    GetWindowOrgEx(p.dc, &origin);
    EXPECT_EQ(origin, (TPoint{0, 0}));
    FillRect(p.dc, Rect(0, 0, 6, 6), Black());
    EXPECT_EQ(p.Count(kBlack), 36);    // no clip any more
    EXPECT_FALSE(RestoreDC(p.dc, 1));  // that level is gone
    EXPECT_FALSE(RestoreDC(p.dc, -1));
    DeleteObject(pen);
    DeleteObject(font);
}

TEST(Dc, ExtremeOriginsDoNotOverflow) {
    PixelDc p(4, 4, kFill);
    SetWindowOrgEx(p.dc, INT32_MAX, INT32_MIN, nullptr);
    MoveWindowOrg(p.dc, INT32_MIN, INT32_MAX);
    TRect box;
    EXPECT_EQ(GetClipBox(p.dc, &box), SIMPLEREGION);
    EXPECT_EQ(ExcludeClipRect(p.dc, INT32_MIN, INT32_MIN, INT32_MAX, INT32_MAX), NULLREGION);
    EXPECT_FALSE(PtVisible(p.dc, 0, 0));
    auto surface = std::make_shared<Surface>(4, 4);
    HDC dc = CreateSurfaceDC(surface, TPoint{INT32_MIN, INT32_MAX},
                             Rect(INT32_MIN, INT32_MIN, INT32_MAX, INT32_MAX));
    ExcludeClipRect(dc, 0, 0, 1, 1);  // the device lies beyond what regions hold
    GetClipBox(dc, &box);
    EXPECT_TRUE(FillRect(dc, Rect(INT32_MIN, INT32_MIN, INT32_MAX, INT32_MAX), Black()));
    DeleteDC(dc);
}

TEST(Dc, RestoreDcRelativeLevels) {
    HDC dc = CreateCompatibleDC(nullptr);
    SetTextColor(dc, 1);
    SaveDC(dc);
    SetTextColor(dc, 2);
    SaveDC(dc);
    SetTextColor(dc, 3);
    EXPECT_TRUE(RestoreDC(dc, -1));
    EXPECT_EQ(GetTextColor(dc), 2u);
    EXPECT_TRUE(RestoreDC(dc, -1));
    EXPECT_EQ(GetTextColor(dc), 1u);
    EXPECT_FALSE(RestoreDC(dc, 0));
    DeleteDC(dc);
}

TEST(Dc, SurfaceDcDrawsAtItsOriginInsideItsClip) {
    auto surface = std::make_shared<Surface>(8, 6);
    HDC dc = CreateSurfaceDC(surface, TPoint{2, 1}, Rect(2, 1, 6, 4));
    ASSERT_TRUE(dc);
    HBITMAP bitmap = CreateCompatibleBitmap(dc, 2, 2);
    EXPECT_FALSE(SelectObject(dc, bitmap));  // no bitmaps in window DCs
    DeleteObject(bitmap);
    FillRect(dc, Rect(-5, -5, 100, 100), HBRUSH(GetStockObject(WHITE_BRUSH)));
    int inside = 0;
    for (int y = 0; y < 6; ++y)
        for (int x = 0; x < 8; ++x) {
            const bool white = surface->Pixel(x, y) == 0x00FFFFFF;
            EXPECT_EQ(white, x >= 2 && x < 6 && y >= 1 && y < 4) << x << "," << y;
            inside += white;
        }
    EXPECT_EQ(inside, 12);
    SetPixel(dc, 0, 0, RGB(255, 0, 0));
    EXPECT_EQ(surface->Pixel(2, 1), 0x00FF0000u);
    TRect box;
    GetClipBox(dc, &box);
    EXPECT_EQ(box, Rect(0, 0, 4, 3));
    EXPECT_EQ(GetDCSurface(dc), surface);
    EXPECT_TRUE(DeleteDC(dc));
}

TEST(Dc, AMemoryDcWithoutABitmapMeasuresButDrawsNowhere) {
    HDC dc = CreateCompatibleDC(nullptr);
    EXPECT_TRUE(FillRect(dc, Rect(0, 0, 10, 10), Black()));
    TSize size;
    EXPECT_TRUE(GetTextExtentPoint32W(dc, u"Hi", &size));
    EXPECT_GT(size.cx, 0);
    EXPECT_EQ(GetDeviceCaps(dc, BITSPIXEL), 32);
    EXPECT_EQ(GetDeviceCaps(dc, PLANES), 1);
    EXPECT_EQ(GetDeviceCaps(dc, LOGPIXELSY), 96);
    DeleteDC(dc);
}

}  // namespace
}  // namespace tarvel
