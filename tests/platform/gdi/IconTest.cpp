// Icons: made from bitmaps with alpha or a mask, copied to another size and
// drawn through the clip.

#include <vector>

#include "GdiFixture.h"

namespace tarvel {
namespace {

using gditest::PixelDc;

constexpr uint32_t kBack = 0x00102030;
constexpr uint32_t kRedOpaque = 0xFFFF0000;
constexpr uint32_t kHalfBlue = 0x800000FF;

// A 32-bit bitmap holding `pixels`, row by row.
HBITMAP PixelsBitmap(int width, int height, const std::vector<uint32_t>& pixels) {
    HBITMAP b = CreateCompatibleBitmap(nullptr, width, height);
    auto s = GetBitmapSurface(b);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) s->SetPixel(x, y, pixels[static_cast<size_t>(y * width + x)]);
    return b;
}

HICON IconOf(int width, int height, const std::vector<uint32_t>& pixels,
             const std::vector<uint32_t>* mask = nullptr) {
    ICONINFO info;
    info.hbmColor = PixelsBitmap(width, height, pixels);
    if (mask) info.hbmMask = PixelsBitmap(width, height, *mask);
    HICON icon = CreateIconIndirect(&info);
    DeleteObject(info.hbmColor);
    if (mask) DeleteObject(info.hbmMask);
    return icon;
}

TEST(Icons, DrawingBlendsByAlphaAtTheIconsOwnSize) {
    // Transparent, opaque red, half-transparent blue.
    HICON icon = IconOf(3, 1, {0x0000FF00, kRedOpaque, kHalfBlue});
    ASSERT_TRUE(icon);
    PixelDc p(5, 2, kBack);
    EXPECT_TRUE(DrawIconEx(p.dc, 1, 1, icon, 0, 0, 0, nullptr, DI_NORMAL));
    EXPECT_EQ(p.At(0, 1), kBack);
    EXPECT_EQ(p.At(1, 1), kBack);  // alpha 0: nothing
    EXPECT_EQ(p.At(2, 1) & 0xFFFFFF, 0xFF0000u);
    // Half of each: source * 128 / 255 + back * 127 / 255.
    auto half = [](int source, int back) { return (source * 128 + back * 127 + 127) / 255; };
    const uint32_t blended = p.At(3, 1);
    EXPECT_NEAR(static_cast<int>(blended & 0xFF), half(0xFF, 0x30), 1);
    EXPECT_NEAR(static_cast<int>((blended >> 8) & 0xFF), half(0, 0x20), 1);
    EXPECT_NEAR(static_cast<int>((blended >> 16) & 0xFF), half(0, 0x10), 1);
    EXPECT_EQ(p.At(4, 1), kBack);
    EXPECT_EQ(p.Ink(kBack), Rect(2, 1, 4, 2));
    DestroyIcon(icon);
}

TEST(Icons, APictureWithoutAlphaTakesItsMaskOrShowsWhole) {
    const std::vector<uint32_t> colours = {0x00FF0000, 0x0000FF00};
    const std::vector<uint32_t> mask = {0x00FFFFFF, 0x00000000};  // the first pixel is transparent
    HICON masked = IconOf(2, 1, colours, &mask);
    HICON whole = IconOf(2, 1, colours);
    PixelDc p(2, 2, kBack);
    DrawIconEx(p.dc, 0, 0, masked, 0, 0, 0, nullptr, DI_NORMAL);
    DrawIconEx(p.dc, 0, 1, whole, 0, 0, 0, nullptr, DI_NORMAL);
    EXPECT_EQ(p.At(0, 0), kBack);
    EXPECT_EQ(p.At(1, 0) & 0xFFFFFF, 0x00FF00u);
    EXPECT_EQ(p.At(0, 1) & 0xFFFFFF, 0xFF0000u);
    EXPECT_EQ(p.At(1, 1) & 0xFFFFFF, 0x00FF00u);

    // What GetIconInfo hands back says the same.
    ICONINFO info;
    ASSERT_TRUE(GetIconInfo(masked, &info));
    auto c = GetBitmapSurface(info.hbmColor);
    auto m = GetBitmapSurface(info.hbmMask);
    EXPECT_EQ(c->Pixel(0, 0) >> 24, 0u);
    EXPECT_EQ(c->Pixel(1, 0), 0xFF00FF00u);
    EXPECT_EQ(m->Pixel(0, 0), 0x00FFFFFFu);
    EXPECT_EQ(m->Pixel(1, 0), 0u);
    DeleteObject(info.hbmColor);
    DeleteObject(info.hbmMask);
    DestroyIcon(masked);
    DestroyIcon(whole);
}

TEST(Icons, ImageAndMaskAloneAndTheFlickerFreeBackground) {
    HICON icon = IconOf(2, 1, {0x00000000, 0xFF00FF00});
    struct Case {
        unsigned flags;
        HBRUSH brush;
        uint32_t first, second;
    };
    const Case cases[] = {
        {DI_IMAGE, nullptr, 0x00000000, 0xFF00FF00},  // copied as it is
        {DI_MASK, nullptr, kBack, 0x00000000},        // the opaque part goes black
        {DI_NORMAL, HBRUSH(GetStockObject(WHITE_BRUSH)), 0x00FFFFFF, 0xFF00FF00},
    };
    for (const Case& c : cases) {
        PixelDc p(2, 1, kBack);
        EXPECT_TRUE(DrawIconEx(p.dc, 0, 0, icon, 0, 0, 0, c.brush, c.flags));
        EXPECT_EQ(p.At(0, 0), c.first) << c.flags;
        EXPECT_EQ(p.At(1, 0) & 0xFFFFFF, c.second & 0xFFFFFF) << c.flags;
    }
    DestroyIcon(icon);
}

TEST(Icons, CopiesScaleByNearestNeighbourAndDrawingKeepsToTheClip) {
    HICON icon = IconOf(2, 2, {0xFF0000FF, 0xFF00FF00, 0xFFFF0000, 0xFFFFFFFF});
    HICON big = CopyImage(icon, IMAGE_ICON, 4, 4, LR_COPYFROMRESOURCE);
    ASSERT_TRUE(big);
    PixelDc p(4, 4, kBack);
    IntersectClipRect(p.dc, 0, 0, 3, 4);
    DrawIconEx(p.dc, 0, 0, big, 0, 0, 0, nullptr, DI_NORMAL);
    const uint32_t expected[4][4] = {{0xFF, 0xFF, 0xFF00, kBack},
                                     {0xFF, 0xFF, 0xFF00, kBack},
                                     {0xFF0000, 0xFF0000, 0xFFFFFF, kBack},
                                     {0xFF0000, 0xFF0000, 0xFFFFFF, kBack}};
    for (int y = 0; y < 4; ++y)
        for (int x = 0; x < 4; ++x)
            EXPECT_EQ(p.At(x, y) & 0xFFFFFF, expected[y][x] & 0xFFFFFF) << x << "," << y;

    // Drawn stretched without a copy, and a copy keeping one side.
    PixelDc q(4, 2, kBack);
    DrawIconEx(q.dc, 0, 0, icon, 4, 2, 0, nullptr, DI_NORMAL);
    EXPECT_EQ(q.At(1, 0) & 0xFFFFFF, 0xFFu);
    EXPECT_EQ(q.At(2, 1) & 0xFFFFFF, 0xFFFFFFu);
    HICON wide = CopyImage(icon, IMAGE_ICON, 6, 0, 0);
    ICONINFO info;
    ASSERT_TRUE(GetIconInfo(wide, &info));
    BITMAP bm;
    GetObject(info.hbmColor, bm);
    EXPECT_EQ(bm.bmWidth, 6);
    EXPECT_EQ(bm.bmHeight, 2);
    DeleteObject(info.hbmColor);
    DeleteObject(info.hbmMask);
    DestroyIcon(wide);
    DestroyIcon(big);
    DestroyIcon(icon);
}

TEST(Icons, TheStandardApplicationIconIsSharedAndSmallCopiesOfItDraw) {
    HICON shared = LoadIcon(IDI_APPLICATION);
    ASSERT_TRUE(shared);
    EXPECT_EQ(LoadIcon(IDI_APPLICATION), shared);
    EXPECT_FALSE(LoadIcon(1));
    HICON small = CopyImage(shared, IMAGE_ICON, 16, 16, LR_COPYFROMRESOURCE);
    EXPECT_TRUE(DestroyIcon(shared));  // released after use, as callers do: it stays
    PixelDc p(20, 20, kBack);
    EXPECT_TRUE(DrawIconEx(p.dc, 2, 2, small, 0, 0, 0, nullptr, DI_NORMAL));
    const TRect ink = p.Ink(kBack);
    EXPECT_FALSE(ink.IsEmpty());
    EXPECT_EQ(Intersect(ink, Rect(2, 2, 18, 18)), ink);
    EXPECT_TRUE(DrawIconEx(p.dc, 0, 0, LoadIcon(IDI_APPLICATION), 0, 0, 0, nullptr, DI_NORMAL));
    DestroyIcon(small);
}

TEST(Icons, BadInputFails) {
    HBITMAP tooBig = CreateCompatibleBitmap(nullptr, 257, 1);
    HBITMAP one = CreateCompatibleBitmap(nullptr, 2, 2);
    HBITMAP smallMask = CreateCompatibleBitmap(nullptr, 1, 1);
    ICONINFO info;
    EXPECT_FALSE(CreateIconIndirect(nullptr));
    EXPECT_FALSE(CreateIconIndirect(&info));  // no colour bitmap
    HDC memory = CreateCompatibleDC(nullptr);
    info.hbmColor = HBITMAP(GetCurrentObject(memory, OBJ_BITMAP));
    EXPECT_FALSE(CreateIconIndirect(&info));  // the stock 1x1 has no pixels
    DeleteDC(memory);
    info.hbmColor = tooBig;
    EXPECT_FALSE(CreateIconIndirect(&info));
    info.hbmColor = one;
    info.hbmMask = smallMask;
    EXPECT_FALSE(CreateIconIndirect(&info));
    info.hbmMask = HBITMAP();
    HICON icon = CreateIconIndirect(&info);
    ASSERT_TRUE(icon);

    EXPECT_FALSE(CopyImage(icon, 0, 0, 0, 0));
    EXPECT_FALSE(CopyImage(icon, IMAGE_ICON, -1, 4, 0));
    EXPECT_FALSE(CopyImage(icon, IMAGE_ICON, 100000, 4, 0));
    PixelDc p(2, 2);
    EXPECT_FALSE(DrawIconEx(p.dc, 0, 0, icon, 0, 0, 0, nullptr, 0));
    EXPECT_FALSE(DrawIconEx(p.dc, 0, 0, icon, -1, 0, 0, nullptr, DI_NORMAL));
    EXPECT_FALSE(DrawIconEx(HDC(), 0, 0, icon, 0, 0, 0, nullptr, DI_NORMAL));
    EXPECT_TRUE(DrawIconEx(p.dc, INT32_MAX, INT32_MIN, icon, 256, 256, 0, HBRUSH(GetStockObject(WHITE_BRUSH)),
                           DI_NORMAL));
    EXPECT_FALSE(GetIconInfo(icon, nullptr));
    EXPECT_EQ(GetObjectType(icon), 0);  // not a drawing object
    EXPECT_FALSE(DeleteObject(icon));   // so DeleteObject leaves it
    EXPECT_TRUE(DestroyIcon(icon));
    EXPECT_FALSE(DestroyIcon(icon));
    EXPECT_FALSE(DrawIconEx(p.dc, 0, 0, icon, 0, 0, 0, nullptr, DI_NORMAL));
    EXPECT_FALSE(DestroyIcon(HICON(HGDIOBJ(one).Value())));  // a bitmap is no icon
    DeleteObject(tooBig);
    DeleteObject(one);
    DeleteObject(smallMask);
}

}  // namespace
}  // namespace tarvel
