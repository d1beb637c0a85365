#include <gtest/gtest.h>

#include "tests/platform/gdi/GdiFixture.h"

namespace tarvel {
namespace {

using gditest::PixelDc;
using gditest::Rows;

constexpr uint32_t kFill = 0x11223344;  // alpha not 0, so alpha writes show
constexpr uint32_t kRed = 0x00FF0000;   // RGB(255, 0, 0) as drawn: alpha 0

TEST(Primitives, FillRectIsHalfOpenAndWritesAlphaZero) {
    PixelDc p(5, 4, kFill);
    HBRUSH red = CreateSolidBrush(RGB(255, 0, 0));
    ASSERT_TRUE(FillRect(p.dc, Rect(1, 1, 4, 3), red));
    EXPECT_EQ(p.Picture(kRed, kFill), Rows({".....", ".###.", ".###.", "....."}));
    DeleteObject(red);
}

TEST(Primitives, RectangleOutlineCoversLeftToRightMinusOne) {
    PixelDc p(6, 5, kFill);
    HPEN pen = CreatePen(PS_SOLID, 1, RGB(255, 0, 0));
    SelectObject(p.dc, pen);
    SelectObject(p.dc, HBRUSH(GetStockObject(NULL_BRUSH)));
    ASSERT_TRUE(Rectangle(p.dc, 1, 0, 5, 4));
    EXPECT_EQ(p.Picture(kRed, kFill), Rows({".####.", ".#..#.", ".#..#.", ".####.", "......"}));
    SelectObject(p.dc, HPEN(GetStockObject(BLACK_PEN)));
    DeleteObject(pen);
}

TEST(Primitives, RectangleFillsInsideThePen) {
    PixelDc p(5, 5, kFill);
    SelectObject(p.dc, HPEN(GetStockObject(WHITE_PEN)));
    SelectObject(p.dc, HBRUSH(GetStockObject(BLACK_BRUSH)));
    Rectangle(p.dc, 0, 0, 5, 5);
    EXPECT_EQ(p.At(0, 0), 0x00FFFFFFu);
    EXPECT_EQ(p.At(4, 4), 0x00FFFFFFu);
    EXPECT_EQ(p.Count(0x00000000), 9);  // the 3 x 3 inside
}

TEST(Primitives, LineToLeavesOutItsEndPoint) {
    struct Case {
        TPoint from, to;
        std::string picture;
    };
    const Case cases[] = {
        {{0, 1}, {4, 1}, Rows({".....", "####.", ".....", ".....", "....."})},
        {{2, 4}, {2, 0}, Rows({".....", "..#..", "..#..", "..#..", "..#.."})},
        {{0, 0}, {4, 4}, Rows({"#....", ".#...", "..#..", "...#.", "....."})},
        {{3, 3}, {3, 3}, Rows({".....", ".....", ".....", ".....", "....."})},
    };
    for (const Case& c : cases) {
        PixelDc p(5, 5, kFill);
        HPEN pen = CreatePen(PS_SOLID, 1, RGB(255, 0, 0));
        SelectObject(p.dc, pen);
        MoveToEx(p.dc, c.from.x, c.from.y, nullptr);
        ASSERT_TRUE(LineTo(p.dc, c.to.x, c.to.y));
        EXPECT_EQ(p.Picture(kRed, kFill), c.picture) << c.from.x << "," << c.from.y;
        TPoint pos;
        GetCurrentPositionEx(p.dc, &pos);
        EXPECT_EQ(pos, c.to);
        SelectObject(p.dc, HPEN(GetStockObject(BLACK_PEN)));
        DeleteObject(pen);
    }
}

TEST(Primitives, PolylineDrawsEverySegmentButTheLastPoint) {
    PixelDc p(5, 5, kFill);
    HPEN pen = CreatePen(PS_SOLID, 1, RGB(255, 0, 0));
    SelectObject(p.dc, pen);
    const TPoint points[] = {{0, 0}, {3, 0}, {3, 3}};
    ASSERT_TRUE(Polyline(p.dc, points, 3));
    EXPECT_EQ(p.Picture(kRed, kFill), Rows({"####.", "...#.", "...#.", ".....", "....."}));
    EXPECT_FALSE(Polyline(p.dc, points, 1));
    EXPECT_FALSE(Polyline(p.dc, nullptr, 3));
    SelectObject(p.dc, HPEN(GetStockObject(BLACK_PEN)));
    DeleteObject(pen);
}

TEST(Primitives, WidePenLineIsThick) {
    PixelDc p(7, 7, kFill);
    HPEN pen = CreatePen(PS_SOLID, 3, RGB(255, 0, 0));
    SelectObject(p.dc, pen);
    MoveToEx(p.dc, 1, 3, nullptr);
    LineTo(p.dc, 6, 3);
    EXPECT_EQ(p.Ink(kFill), Rect(0, 2, 7, 5));  // pixels 1..5 stamped 3 wide
    SelectObject(p.dc, HPEN(GetStockObject(BLACK_PEN)));
    DeleteObject(pen);
}

TEST(Primitives, PolygonFillModesDifferOnlyInOverlaps) {
    // A pentagram-like self-overlap: a square wound twice over its middle.
    const TPoint points[] = {{0, 0}, {6, 0}, {6, 6}, {2, 6}, {2, 2}, {4, 2}, {4, 4}, {0, 4}};
    int counts[2] = {};
    for (int mode : {ALTERNATE, WINDING}) {
        PixelDc p(8, 8, kFill);
        SelectObject(p.dc, HPEN(GetStockObject(NULL_PEN)));
        SelectObject(p.dc, HBRUSH(GetStockObject(BLACK_BRUSH)));
        SetPolyFillMode(p.dc, mode);
        Polygon(p.dc, points, 8);
        counts[mode - 1] = p.Count(0);
        EXPECT_EQ(p.At(1, 1), 0u);
        EXPECT_EQ(p.At(7, 7), kFill);
    }
    EXPECT_EQ(counts[1] - counts[0], 4);  // the 2 x 2 square at (2, 2) wound twice
}

TEST(Primitives, PolygonMatchesFillRectForAnAxisAlignedBox) {
    PixelDc a(6, 6, kFill), b(6, 6, kFill);
    HBRUSH red = CreateSolidBrush(RGB(255, 0, 0));
    SelectObject(a.dc, red);
    SelectObject(a.dc, HPEN(GetStockObject(NULL_PEN)));
    const TPoint box[] = {{1, 1}, {5, 1}, {5, 4}, {1, 4}};
    Polygon(a.dc, box, 4);
    FillRect(b.dc, Rect(1, 1, 5, 4), red);
    EXPECT_EQ(a.Picture(kRed, kFill), b.Picture(kRed, kFill));
    SelectObject(a.dc, HBRUSH(GetStockObject(WHITE_BRUSH)));
    DeleteObject(red);
}

TEST(Primitives, EllipseStaysInItsBoxAndIsSymmetric) {
    PixelDc p(12, 10, kFill);
    SelectObject(p.dc, HPEN(GetStockObject(NULL_PEN)));
    SelectObject(p.dc, HBRUSH(GetStockObject(BLACK_BRUSH)));
    ASSERT_TRUE(Ellipse(p.dc, 1, 1, 11, 9));
    EXPECT_EQ(p.Ink(kFill), Rect(1, 1, 11, 9));
    for (int y = 0; y < 10; ++y)
        for (int x = 0; x < 12; ++x) {
            EXPECT_EQ(p.At(x, y), p.At(11 - x, y)) << x << "," << y;
            EXPECT_EQ(p.At(x, y), p.At(x, 9 - y)) << x << "," << y;
        }
    EXPECT_EQ(p.At(1, 1), kFill);  // the corners stay out
    EXPECT_EQ(p.At(6, 5), 0u);
}

TEST(Primitives, EllipseOutlineIsClosedAndInsideIsBrush) {
    PixelDc p(11, 11, kFill);
    HPEN pen = CreatePen(PS_SOLID, 1, RGB(255, 0, 0));
    SelectObject(p.dc, pen);
    SelectObject(p.dc, HBRUSH(GetStockObject(BLACK_BRUSH)));
    Ellipse(p.dc, 0, 0, 11, 11);
    // Walking each row from the left, the first inked pixel is outline.
    for (int y = 0; y < 11; ++y) {
        int x = 0;
        while (x < 11 && p.At(x, y) == kFill) ++x;
        ASSERT_LT(x, 11);
        EXPECT_EQ(p.At(x, y), kRed) << y;
    }
    EXPECT_EQ(p.At(5, 5), 0u);
    SelectObject(p.dc, HPEN(GetStockObject(BLACK_PEN)));
    DeleteObject(pen);
}

TEST(Primitives, RoundRectWithoutCornersIsARectangle) {
    PixelDc a(6, 6, kFill), b(6, 6, kFill);
    RoundRect(a.dc, 0, 1, 5, 6, 0, 0);
    Rectangle(b.dc, 0, 1, 5, 6);
    EXPECT_EQ(a.Picture(0, kFill), b.Picture(0, kFill));
    PixelDc c(10, 10, kFill);
    RoundRect(c.dc, 0, 0, 10, 10, 6, 6);
    EXPECT_EQ(c.At(0, 0), kFill);
    EXPECT_EQ(c.At(5, 0), 0u);
    EXPECT_EQ(c.Ink(kFill), Rect(0, 0, 10, 10));
}

TEST(Primitives, FocusRectTwiceLeavesNothing) {
    PixelDc p(9, 7, kFill);
    p.surface->SetPixel(4, 0, 0xFF804020);
    const std::string before = p.Picture(kFill, 0xFF804020);
    ASSERT_TRUE(DrawFocusRect(p.dc, Rect(0, 0, 9, 7)));
    EXPECT_NE(p.Picture(kFill, 0xFF804020), before);
    EXPECT_EQ(p.At(0, 0), kFill ^ 0x00FFFFFFu);  // inverted colour, alpha kept
    EXPECT_EQ(p.At(4, 3), kFill);                // the inside is untouched
    DrawFocusRect(p.dc, Rect(0, 0, 9, 7));
    EXPECT_EQ(p.Picture(kFill, 0xFF804020), before);
    // A one-pixel-high focus rect is drawn once per pixel too.
    DrawFocusRect(p.dc, Rect(1, 2, 8, 3));
    DrawFocusRect(p.dc, Rect(1, 2, 8, 3));
    EXPECT_EQ(p.Picture(kFill, 0xFF804020), before);
}

TEST(Primitives, PatternBrushRepeatsEveryEightPixels) {
    PixelDc pattern(2, 2, 0);
    pattern.surface->SetPixel(0, 0, 0xFFFFFFFF);
    pattern.surface->SetPixel(1, 1, 0xFFFFFFFF);
    HBRUSH brush = CreatePatternBrush(pattern.bitmap);
    ASSERT_TRUE(brush);
    PixelDc p(10, 3, kFill);
    FillRect(p.dc, Rect(0, 0, 10, 3), brush);
    EXPECT_EQ(p.Picture(0x00FFFFFF, 0), Rows({"#.#.#.#.#.", ".#.#.#.#.#", "#.#.#.#.#."}));
    DeleteObject(brush);
}

TEST(Primitives, PatBltOperations) {
    struct Case {
        uint32_t rop;
        uint32_t expected;
    };
    const Case cases[] = {
        {PATCOPY, kRed},           {BLACKNESS, 0x00000000},
        {WHITENESS, 0x00FFFFFF},   {DSTINVERT, kFill ^ 0x00FFFFFF},
        {PATINVERT, kFill ^ kRed},
    };
    for (const Case& c : cases) {
        PixelDc p(4, 4, kFill);
        HBRUSH red = CreateSolidBrush(RGB(255, 0, 0));
        HBRUSH old = SelectObject(p.dc, red);
        ASSERT_TRUE(PatBlt(p.dc, 1, 1, 2, 2, c.rop));
        EXPECT_EQ(p.At(1, 1), c.expected) << std::hex << c.rop;
        EXPECT_EQ(p.At(3, 3), kFill);
        SelectObject(p.dc, old);
        DeleteObject(red);
    }
}

TEST(Primitives, SetPixelAndGetPixelSpeakColorRef) {
    PixelDc p(3, 3, kFill);
    EXPECT_EQ(SetPixel(p.dc, 1, 2, RGB(1, 2, 3)), RGB(1, 2, 3));
    EXPECT_EQ(p.At(1, 2), 0x00010203u);
    EXPECT_EQ(GetPixel(p.dc, 1, 2), RGB(1, 2, 3));
    EXPECT_EQ(SetPixel(p.dc, 3, 0, 0), CLR_INVALID);
    EXPECT_EQ(GetPixel(p.dc, -1, 0), CLR_INVALID);
}

TEST(Primitives, HugeCoordinatesAreClippedQuickly) {
    PixelDc p(8, 8, kFill);
    HPEN pen = CreatePen(PS_SOLID, 1, RGB(255, 0, 0));
    SelectObject(p.dc, pen);
    MoveToEx(p.dc, INT32_MIN, 4, nullptr);
    EXPECT_TRUE(LineTo(p.dc, INT32_MAX, 4));
    EXPECT_EQ(p.Ink(kFill), Rect(0, 4, 8, 5));
    MoveToEx(p.dc, INT32_MIN, INT32_MIN, nullptr);
    EXPECT_TRUE(LineTo(p.dc, INT32_MAX, INT32_MAX));
    EXPECT_TRUE(Ellipse(p.dc, INT32_MIN, INT32_MIN, INT32_MAX, INT32_MAX));
    EXPECT_TRUE(Rectangle(p.dc, INT32_MIN, INT32_MIN, INT32_MAX, INT32_MAX));
    const TPoint huge[] = {{INT32_MIN, INT32_MIN}, {INT32_MAX, 0}, {0, INT32_MAX}};
    EXPECT_TRUE(Polygon(p.dc, huge, 3));
    EXPECT_TRUE(FillRect(p.dc, Rect(INT32_MIN, INT32_MIN, INT32_MAX, INT32_MAX),
                         HBRUSH(GetStockObject(WHITE_BRUSH))));
    EXPECT_EQ(p.Count(0x00FFFFFF), 64);
    SelectObject(p.dc, HPEN(GetStockObject(BLACK_PEN)));
    DeleteObject(pen);
}

}  // namespace
}  // namespace tarvel
