#include "skin/core/te_bitmap_pixels.h"

#include <gtest/gtest.h>

#include <vector>

#include "skin/core/te_bitmap.h"
#include "tests/skin/core/te_bitmapFixture.h"

namespace tarvel {
namespace {

TEST(PixelRoutines, BlendTableOfThePortableRoutine) {
    const struct {
        uint32_t fore, back, want;
    } cases[] = {
        {0x80FFFFFF, 0xFFFFFFFF, 0xFFFEFEFE},  // white over white darkens one step
        {0x80FFFFFF, 0xFF000000, 0xFF7F7F7F},
        {0x80FFFFFF, 0x00000000, 0xFF7F7F7F},  // the result is always opaque
        {0x00123456, 0xFFABCDEF, 0xFFABCDEF},  // alpha 0 keeps the background
        {0xFF123456, 0x80ABCDEF, 0xFF123456},  // alpha 255 copies the foreground
        {0x01FF0000, 0xFF0000FF, 0xFF0000FD},
        {0xFE00FF00, 0xFFFF00FF, 0xFF00FD00},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(PixelAlphaBlendFunc(c.fore, c.back), c.want) << std::hex << c.fore << " over " << c.back;
        uint32_t dst = c.back;
        LineAlphaBlendFunc(&c.fore, &dst, 1);
        EXPECT_EQ(dst, c.want);
    }
}

TEST(PixelRoutines, TransparentLineLeavesKeyColouredPixels) {
    const uint32_t src[] = {0xFF7F007F, 0x00123456, 0x007F007F, 0x127F007F, 0xFF000000};
    uint32_t dst[] = {1, 2, 3, 4, 5};
    LineTransparentFunc(src, dst, 5);
    EXPECT_EQ(dst[0], 1u);
    EXPECT_EQ(dst[1], 0xFF123456u);
    EXPECT_EQ(dst[2], 3u);
    EXPECT_EQ(dst[3], 4u);
    EXPECT_EQ(dst[4], 0xFF000000u);
}

TEST(PixelRoutines, CountsAndRectanglesOutsideDoNothing) {
    uint32_t px[6] = {1, 2, 3, 4, 5, 6};
    FillLongwordFunc(px, 0, 9);
    FillLongwordFunc(px, -3, 9);
    FillLongwordRectFunc(px, 3, 2, 2, 0, 1, 1, 9);  // x2 < x1
    FillAlphaRectFunc(px, 3, 2, 0, 1, 2, 0, 0xAA);  // y2 < y1
    EXPECT_EQ(std::vector<uint32_t>(px, px + 6), (std::vector<uint32_t>{1, 2, 3, 4, 5, 6}));
    FillLongwordRectFunc(px, 3, 2, 1, 0, 9, 9, 7);  // inclusive, cut to the image
    EXPECT_EQ(std::vector<uint32_t>(px, px + 6), (std::vector<uint32_t>{1, 7, 7, 4, 7, 7}));
    FillAlphaRectFunc(px, 3, 2, 0, 1, 0, 1, 0xAA);
    EXPECT_EQ(px[3], 0xAA000004u);
    ClearAlphaFunc(px, 6, 0xFF000007);
    EXPECT_EQ(px[1], 7u);
}

TEST(PixelRoutines, NoProcessorSpecificVariant) { EXPECT_FALSE(HasMMX()); }

// One row (A, B) stretched to four pixels: truncation into bitmaps, rounding
// into DIBs.
TEST(PixelRoutines, StretchMappingTable) {
    const TRect src2{0, 0, 2, 1};
    const TRect dst4{0, 0, 4, 1};
    const struct {
        TMapRounding rounding;
        std::vector<int> columns;
    } cases[] = {{TMapRounding::Truncate, {0, 0, 0, 1}}, {TMapRounding::HalfEven, {0, 0, 1, 1}}};
    for (const auto& c : cases) {
        std::vector<int> got;
        for (int x = 0; x < 4; ++x) got.push_back(MapSourceIndex(x, dst4, src2, true, c.rounding));
        EXPECT_EQ(got, c.columns);
    }
    // Narrower than two pixels: the middle column.
    EXPECT_EQ(MapSourceIndex(7, TRect{7, 0, 8, 1}, TRect{0, 0, 3, 3}, true, TMapRounding::Truncate), 1);
    EXPECT_EQ(MapSourceIndex(0, TRect{0, 0, 1, 1}, TRect{2, 0, 6, 3}, true, TMapRounding::Truncate), 3);
    // Shrinking 5 to 3: 0, 2, 4.
    for (int x = 0; x < 3; ++x)
        EXPECT_EQ(MapSourceIndex(x, TRect{0, 0, 3, 1}, TRect{0, 0, 5, 1}, true, TMapRounding::Truncate),
                  2 * x);
}

TEST(PixelRoutines, StretchIntoBitmapAndDib) {
    const uint32_t A = 0xFF0000AA, B = 0xFF0000BB;
    TteBitmap source;
    source.SetSize(2, 1);
    source.SetPixel(0, 0, A);
    source.SetPixel(1, 0, B);

    TteBitmap target;
    target.SetSize(4, 1);
    StretchOpaqueFunc(target, TRect{0, 0, 4, 1}, TRect{0, 0, 4, 1}, source, TRect{0, 0, 2, 1});
    EXPECT_EQ(std::vector<uint32_t>(target.Bits(), target.Bits() + 4), (std::vector<uint32_t>{A, A, A, B}));

    std::vector<uint32_t> dib(4 * 2, 0);  // bottom-up, 4 x 2: row 0 is the last in memory
    StretchToDibOpaqueFunc(dib.data(), TRect{0, 0, 4, 1}, TRect{0, 0, 4, 1}, 4, 2, source, TRect{0, 0, 2, 1});
    EXPECT_EQ(std::vector<uint32_t>(dib.begin() + 4, dib.end()), (std::vector<uint32_t>{A, A, B, B}));
    EXPECT_EQ(std::vector<uint32_t>(dib.begin(), dib.begin() + 4), (std::vector<uint32_t>(4, 0)));
}

TEST(PixelRoutines, SourceReachingPastTheBitmapDrawsNothing) {
    TteBitmap source, target;
    source.SetSize(3, 3);
    source.Clear(0xFF112233);
    target.SetSize(4, 4);
    StretchOpaqueFunc(target, TRect{0, 0, 4, 4}, TRect{0, 0, 4, 4}, source, TRect{1, 1, 4, 3});
    StretchOpaqueFunc(target, TRect{0, 0, 2, 2}, TRect{0, 0, 2, 2}, source, TRect{-1, 0, 1, 2});
    for (int i = 0; i < 16; ++i) EXPECT_EQ(target.Bits()[i], 0u);
}

TEST(PixelRoutines, UnscaledCopyPartlyOutsideTakesMatchingPixels) {
    TteBitmap source, target;
    source.SetSize(3, 3);
    for (int y = 0; y < 3; ++y)
        for (int x = 0; x < 3; ++x) source.SetPixel(x, y, 0xFF000000u | (y << 4) | x);
    target.SetSize(3, 3);
    StretchOpaqueFunc(target, TRect{-1, 1, 2, 4}, TRect{-1, 1, 2, 4}, source, TRect{0, 0, 3, 3});
    EXPECT_EQ(target.GetPixel(0, 1), 0xFF000001u);  // source (1, 0)
    EXPECT_EQ(target.GetPixel(1, 2), 0xFF000012u);  // source (2, 1)
    EXPECT_EQ(target.GetPixel(0, 0), 0u);
    EXPECT_EQ(target.GetPixel(2, 1), 0u);
}

TEST(PixelRoutines, ClipLimitsWhatIsWritten) {
    TteBitmap source, target;
    source.SetSize(1, 1);
    source.Clear(0xFFFFFFFF);
    target.SetSize(4, 4);
    StretchOpaqueFunc(target, TRect{0, 0, 4, 4}, TRect{1, 1, 3, 2}, source, TRect{0, 0, 1, 1});
    int written = 0;
    for (int i = 0; i < 16; ++i) written += target.Bits()[i] != 0;
    EXPECT_EQ(written, 2);
    EXPECT_EQ(target.GetPixel(1, 1), 0xFFFFFFFFu);
    EXPECT_EQ(target.GetPixel(2, 1), 0xFFFFFFFFu);
}

TEST(PixelRoutines, DibOfTheSelectedBitmap) {
    TDibOnDc target(5, 3);  // bottom-up
    int w, h, bpp;
    EXPECT_EQ(GetBitsFromDCFunc(target.dc, w, h, bpp), target.bits);
    EXPECT_EQ(w, 5);
    EXPECT_EQ(h, 3);
    EXPECT_EQ(bpp, 32);
    SelectObject(target.dc, target.stock);
    EXPECT_EQ(GetBitsFromDCFunc(target.dc, w, h, bpp), nullptr);
    EXPECT_EQ(w + h + bpp, 0);
}

}  // namespace
}  // namespace tarvel
