#include <gtest/gtest.h>

#include "tests/platform/gdi/GdiFixture.h"

namespace tarvel {
namespace {

using gditest::PixelDc;

constexpr uint32_t kFill = 0x11223344;

// Source pixels that say where they came from: 0xA0 alpha, x and y.
void Number(PixelDc& p) {
    for (int y = 0; y < p.surface->Height(); ++y)
        for (int x = 0; x < p.surface->Width(); ++x)
            p.surface->SetPixel(x, y, 0xA0000000u | static_cast<uint32_t>(x << 8 | y));
}

TEST(Blits, BitBltCopiesAllFourBytes) {
    PixelDc src(4, 4), dst(4, 4, kFill);
    Number(src);
    ASSERT_TRUE(BitBlt(dst.dc, 1, 1, 2, 2, src.dc, 2, 0, SRCCOPY));
    EXPECT_EQ(dst.At(1, 1), 0xA0000200u);
    EXPECT_EQ(dst.At(2, 2), 0xA0000301u);
    EXPECT_EQ(dst.At(0, 0), kFill);
    EXPECT_EQ(dst.At(3, 3), kFill);
}

TEST(Blits, BitBltBetweenLayoutsAndOriginsAndClip) {
    PixelDc src(4, 4, 0, true), dst(4, 4, kFill);  // bottom-up source
    Number(src);
    SetWindowOrgEx(src.dc, 1, 0, nullptr);   // logical (1, 0) is source pixel (0, 0)
    SetWindowOrgEx(dst.dc, -1, 0, nullptr);  // logical (0, 0) is destination pixel (1, 0)
    ExcludeClipRect(dst.dc, 0, 1, 1, 2);     // destination pixel (1, 1)
    BitBlt(dst.dc, 0, 0, 2, 2, src.dc, 1, 0, SRCCOPY);
    EXPECT_EQ(dst.At(1, 0), 0xA0000000u);
    EXPECT_EQ(dst.At(2, 1), 0xA0000101u);
    EXPECT_EQ(dst.At(1, 1), kFill);  // clipped
}

TEST(Blits, SourceOutsideItsSurfaceIsNotDrawn) {
    PixelDc src(2, 2), dst(4, 4, kFill);
    Number(src);
    BitBlt(dst.dc, 0, 0, 4, 4, src.dc, -1, -1, SRCCOPY);
    EXPECT_EQ(dst.At(0, 0), kFill);
    EXPECT_EQ(dst.At(1, 1), 0xA0000000u);
    EXPECT_EQ(dst.At(2, 2), 0xA0000101u);
    EXPECT_EQ(dst.At(3, 3), kFill);
}

TEST(Blits, OverlappingBlitWithinOneSurface) {
    PixelDc p(5, 1);
    Number(p);
    BitBlt(p.dc, 1, 0, 4, 1, p.dc, 0, 0, SRCCOPY);
    for (int x = 1; x < 5; ++x) EXPECT_EQ(p.At(x, 0), 0xA0000000u | uint32_t((x - 1) << 8)) << x;
}

TEST(Blits, RasterOperationsOnColourBits) {
    struct Case {
        uint32_t rop;
        uint32_t expected;
    };
    const uint32_t s = 0xA00F0F0F;
    const Case cases[] = {
        {SRCCOPY, s},
        {SRCAND, s & kFill & 0x00FFFFFF},
        {SRCPAINT, (s | kFill) & 0x00FFFFFF},
        {SRCINVERT, kFill ^ (s & 0x00FFFFFF)},
        {NOTSRCCOPY, ~s & 0x00FFFFFF},
        {BLACKNESS, 0},
        {WHITENESS, 0x00FFFFFF},
    };
    for (const Case& c : cases) {
        PixelDc src(1, 1, s), dst(1, 1, kFill);
        ASSERT_TRUE(BitBlt(dst.dc, 0, 0, 1, 1, src.dc, 0, 0, c.rop));
        EXPECT_EQ(dst.At(0, 0), c.expected) << std::hex << c.rop;
    }
    PixelDc dst(1, 1);
    EXPECT_FALSE(BitBlt(dst.dc, 0, 0, 1, 1, HDC(), 0, 0, SRCCOPY));
    EXPECT_FALSE(BitBlt(dst.dc, 0, 0, 1, 1, dst.dc, 0, 0, 0x12345678));
    EXPECT_FALSE(BitBlt(dst.dc, 0, 0, -1, 1, dst.dc, 0, 0, SRCCOPY));
}

TEST(Blits, StretchTakesThePixelUnderEachCentre) {
    PixelDc src(2, 1), dst(4, 1, kFill);
    const uint32_t a = 0xFF0000AA, b = 0xFF0000BB;
    src.surface->SetPixel(0, 0, a);
    src.surface->SetPixel(1, 0, b);
    SetStretchBltMode(dst.dc, COLORONCOLOR);
    ASSERT_TRUE(StretchBlt(dst.dc, 0, 0, 4, 1, src.dc, 0, 0, 2, 1, SRCCOPY));
    EXPECT_EQ(dst.At(0, 0), a);
    EXPECT_EQ(dst.At(1, 0), a);
    EXPECT_EQ(dst.At(2, 0), b);
    EXPECT_EQ(dst.At(3, 0), b);

    // Shrinking 3 columns into 1 takes the middle one.
    PixelDc wide(3, 3), narrow(1, 1, kFill);
    Number(wide);
    StretchBlt(narrow.dc, 0, 0, 1, 1, wide.dc, 0, 0, 3, 3, SRCCOPY);
    EXPECT_EQ(narrow.At(0, 0), 0xA0000101u);
}

TEST(Blits, AlphaBlendUsesStraightAlpha) {
    struct Case {
        uint32_t src;
        uint8_t constant;
        uint8_t format;
        uint32_t dst, expected;
    };
    const Case cases[] = {
        {0x80FFFFFF, 255, AC_SRC_ALPHA, 0xFF000000, 0xFF808080},  // half white over black
        {0x00FFFFFF, 255, AC_SRC_ALPHA, 0x00123456, 0x00123456},  // alpha 0 leaves the target
        {0xFF123456, 255, AC_SRC_ALPHA, 0x00ABCDEF, 0xFF123456},  // alpha 255 copies
        {0x00FFFFFF, 128, 0, 0xFF000000, 0xFF808080},             // constant alpha only
        {0xFFFFFFFF, 0, AC_SRC_ALPHA, 0x00123456, 0x00123456},    // constant 0: nothing
    };
    for (const Case& c : cases) {
        PixelDc src(1, 1, c.src), dst(1, 1, c.dst);
        BLENDFUNCTION blend;
        blend.SourceConstantAlpha = c.constant;
        blend.AlphaFormat = c.format;
        ASSERT_TRUE(AlphaBlend(dst.dc, 0, 0, 1, 1, src.dc, 0, 0, 1, 1, blend));
        EXPECT_EQ(dst.At(0, 0), c.expected) << std::hex << c.src << " " << c.dst;
    }
}

TEST(Blits, TransparentBltLeavesOutTheKeyColour) {
    PixelDc src(3, 1), dst(3, 1, kFill);
    src.surface->SetPixel(0, 0, 0xFF7F007F);  // key colour, whatever the alpha
    src.surface->SetPixel(1, 0, 0x00123456);
    src.surface->SetPixel(2, 0, 0x007F007F);
    ASSERT_TRUE(TransparentBlt(dst.dc, 0, 0, 3, 1, src.dc, 0, 0, 3, 1, RGB(0x7F, 0, 0x7F)));
    EXPECT_EQ(dst.At(0, 0), kFill);
    EXPECT_EQ(dst.At(1, 0), 0x00123456u);
    EXPECT_EQ(dst.At(2, 0), kFill);
}

TEST(Blits, ReadBackFromASurfaceDc) {
    auto screen = std::make_shared<Surface>(6, 6);
    screen->SetPixel(3, 2, 0x00ABCDEF);
    HDC window = CreateSurfaceDC(screen, TPoint{2, 2}, Rect(2, 2, 6, 6));
    PixelDc copy(2, 2, kFill);
    BitBlt(copy.dc, 0, 0, 2, 2, window, 0, 0, SRCCOPY);
    EXPECT_EQ(copy.At(1, 0), 0x00ABCDEFu);
    DeleteDC(window);
}

TEST(Blits, HugeBlitsAreCutToTheSurface) {
    PixelDc src(4, 4, 0x01020304), dst(4, 4, kFill);
    EXPECT_TRUE(BitBlt(dst.dc, INT32_MIN, INT32_MIN, INT32_MAX, INT32_MAX, src.dc, 0, 0, SRCCOPY));
    EXPECT_TRUE(StretchBlt(dst.dc, -2, -2, INT32_MAX, INT32_MAX, src.dc, 0, 0, INT32_MAX, 3, SRCCOPY));
    EXPECT_TRUE(StretchBlt(dst.dc, 0, 0, 4, 4, src.dc, INT32_MAX - 1, INT32_MIN, 2, 2, SRCCOPY));
}

}  // namespace
}  // namespace tarvel
