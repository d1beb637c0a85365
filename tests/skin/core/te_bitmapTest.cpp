#include "skin/core/te_bitmap.h"

#include <gtest/gtest.h>

#include <vector>

#include "skin/core/te_const.h"
#include "skin/core/te_utils.h"
#include "tests/skin/core/te_bitmapFixture.h"

namespace tarvel {
namespace {

std::vector<uint32_t> Pixels(const TteBitmap& b) {
    return std::vector<uint32_t>(b.Bits(), b.Bits() + static_cast<size_t>(b.Width()) * b.Height());
}

TEST(AlphaBitmap, SizingTable) {
    const struct {
        int w, h;
        int wantW, wantH;
    } cases[] = {{-10, 5, 10, 5}, {10, -5, 10, 5}, {0, 5, 0, 0}, {10, 0, 0, 0}, {3, 4, 3, 4}};
    for (const auto& c : cases) {
        TteBitmap b;
        b.SetSize(c.w, c.h);
        EXPECT_EQ(b.Width(), c.wantW) << c.w << "x" << c.h;
        EXPECT_EQ(b.Height(), c.wantH);
        EXPECT_EQ(b.Empty(), c.wantW == 0);
        if (!b.Empty()) {
            EXPECT_EQ(Pixels(b), std::vector<uint32_t>(static_cast<size_t>(c.wantW) * c.wantH, 0u));
            EXPECT_EQ(FindLiveBitmap(b.DC()), &b);
        }
    }
}

TEST(AlphaBitmap, SameSizeKeepsPixelsOtherSizeZeroes) {
    TteBitmap b;
    b.SetSize(2, 2);
    b.Clear(0xFF010203);
    b.SetSize(2, -2);
    EXPECT_EQ(b.GetPixel(1, 1), 0xFF010203u);
    b.SetSize(0, 9);  // ignored
    EXPECT_EQ(b.Width(), 2);
    b.SetSize(3, 2);
    EXPECT_EQ(b.GetPixel(1, 1), 0u);
}

TEST(AlphaBitmap, ImpossibleSizeRaisesAndLeavesItEmpty) {
    TteBitmap b;
    b.SetSize(4, 4);
    const HDC oldDc = b.DC();
    try {
        b.SetSize(INT32_MAX, INT32_MAX);
        FAIL() << "no error";
    } catch (const Exception& e) {
        EXPECT_STREQ(e.what(), SCantAllocateDib);
    }
    EXPECT_TRUE(b.Empty());
    EXPECT_EQ(b.Width(), 0);
    EXPECT_EQ(FindLiveBitmap(oldDc), nullptr);
}

TEST(AlphaBitmap, PixelAccessOutsideIsHarmless) {
    TteBitmap b;
    EXPECT_EQ(b.GetPixel(0, 0), 0u);
    b.SetPixel(0, 0, 1);
    b.Clear(5);
    b.SetAlpha(7);
    b.FillRect(TRect{0, 0, 9, 9}, 3);
    b.CheckingAlphaBlend();
    b.SetSize(2, 1);
    b.SetPixel(2, 0, 9);
    b.SetPixel(-1, 0, 9);
    EXPECT_EQ(b.GetPixel(2, 0), 0u);
    EXPECT_EQ(Pixels(b), (std::vector<uint32_t>{0, 0}));
}

TEST(AlphaBitmap, AlphaFillsAndBlendedFillRect) {
    TteBitmap b;
    b.SetSize(3, 2);
    b.Clear(0xFF808080);
    b.SetAlpha(0x40, TRect{1, 0, 9, 1});
    EXPECT_EQ(Pixels(b), (std::vector<uint32_t>{0xFF808080, 0x40808080, 0x40808080, 0xFF808080, 0xFF808080,
                                                0xFF808080}));
    b.SetAlpha(0x11, TRect{1, 1, 1, 2});  // zero width: nothing
    EXPECT_EQ(b.GetPixel(1, 1), 0xFF808080u);

    b.Clear(0xFFFFFFFF);
    b.FillRect(TRect{0, 0, 1, 1}, 0x80000000);  // written as is without AlphaBlend
    EXPECT_EQ(b.GetPixel(0, 0), 0x80000000u);
    b.AlphaBlend = true;
    b.FillRect(TRect{1, 0, 2, 1}, 0x80000000);  // blended by its own alpha
    EXPECT_EQ(b.GetPixel(1, 0), 0xFF7E7E7Eu);
}

TEST(AlphaBitmap, Checks) {
    TteBitmap b;
    b.SetSize(3, 1);
    b.SetPixel(0, 0, 0xFFFA04FF);  // within 5 of fuchsia
    b.SetPixel(1, 0, 0xFFFA06FF);  // green 6 away
    b.SetPixel(2, 0, 0x00000000);
    b.CheckingAlphaBlend();
    EXPECT_FALSE(b.AlphaBlend);
    b.CheckingTransparent(0xFFFF00FF);
    EXPECT_TRUE(b.Transparent);
    EXPECT_EQ(Pixels(b), (std::vector<uint32_t>{0x007F007F, 0xFFFA06FF, 0}));
    b.SetPixel(2, 0, 0x80000000);
    b.CheckingAlphaBlend();
    EXPECT_TRUE(b.AlphaBlend);
    b.CheckingTransparent(0xFF00FF00);
    EXPECT_FALSE(b.Transparent);
}

TEST(AlphaBitmap, ColourChangesSkipClearPixelsAndKeepAlpha) {
    TteBitmap b;
    b.SetSize(2, 1);
    b.SetPixel(0, 0, 0x00101010);
    b.SetPixel(1, 0, 0x80101010);
    b.ChangeBitmapBrightness(16);
    EXPECT_EQ(Pixels(b), (std::vector<uint32_t>{0x00101010, 0x80202020}));
    b.ChangeBitmapHue(0);
    EXPECT_EQ(b.GetPixel(1, 0), 0x80202020u);
}

TEST(AlphaBitmap, FlipReversesRows) {
    TteBitmap b;
    b.SetSize(1, 3);
    for (int y = 0; y < 3; ++y) b.SetPixel(0, y, y);
    b.FlipHorz();
    EXPECT_EQ(Pixels(b), (std::vector<uint32_t>{2, 1, 0}));
}

// ---- streams ----

void FillStream(TMemoryStream& s, std::initializer_list<int32_t> words, const String& name) {
    WriteString(s, name);
    for (int32_t w : words) WriteInt32(s, w);
    s.SetPosition(0);
}

TEST(AlphaBitmap, BottomRowFirstStreamLoadsFlippedAndSavesTopFirst) {
    TMemoryStream in;
    FillStream(in, {1, -2, static_cast<int32_t>(0xAAAAAAAA), static_cast<int32_t>(0xBBBBBBBB)}, "pic");
    TteBitmap b;
    b.LoadFromStream(in);
    EXPECT_EQ(b.Name, "pic");
    EXPECT_EQ(Pixels(b), (std::vector<uint32_t>{0xBBBBBBBB, 0xAAAAAAAA}));
    TMemoryStream out;
    b.SaveToStream(out);
    TMemoryStream want;
    FillStream(want, {1, 2, static_cast<int32_t>(0xBBBBBBBB), static_cast<int32_t>(0xAAAAAAAA)}, "pic");
    EXPECT_EQ(std::vector<uint8_t>(out.Memory(), out.Memory() + out.Size()),
              std::vector<uint8_t>(want.Memory(), want.Memory() + want.Size()));
}

TEST(AlphaBitmap, SaveThenLoadKeepsNameSizeAndBytesNotFlags) {
    TteBitmap a;
    a.SetSize(3, 2);
    for (int i = 0; i < 6; ++i) a.Bits()[i] = 0x01020304u * (i + 1);
    a.Name = "Frame";
    a.AlphaBlend = a.Transparent = true;
    TMemoryStream s;
    a.SaveToStream(s);
    s.SetPosition(0);
    TteBitmap b;
    b.LoadFromStream(s);
    EXPECT_EQ(b.Name, "Frame");
    EXPECT_EQ(Pixels(b), Pixels(a));
    EXPECT_FALSE(b.AlphaBlend);
    EXPECT_FALSE(b.Transparent);
    EXPECT_EQ(s.Position(), s.Size());
}

TEST(AlphaBitmap, EmptyBitmapRoundTrips) {
    TteBitmap a, b;
    b.SetSize(2, 2);
    TMemoryStream s;
    a.SaveToStream(s);
    s.SetPosition(0);
    b.LoadFromStream(s);
    EXPECT_TRUE(b.Empty());
}

TEST(AlphaBitmap, MalformedStreamsAreRejectedAndLeaveItEmpty) {
    const struct {
        const char* what;
        std::vector<int32_t> words;
    } cases[] = {
        {"zero height", {4, 0}},
        {"zero width", {0, 3}},
        {"negative width", {-2, 1, 0, 0}},
        {"more pixels than bytes", {2, 2, 0, 0, 0}},
        {"huge", {0x7FFFFFFF, 0x7FFFFFFF}},
        {"most negative height", {1, INT32_MIN}},
        {"header cut short", {5}},
    };
    for (const auto& c : cases) {
        TMemoryStream s;
        WriteString(s, "x");
        for (int32_t w : c.words) WriteInt32(s, w);
        s.SetPosition(0);
        TteBitmap b;
        b.SetSize(2, 2);
        b.Clear(0xFFFFFFFF);
        EXPECT_THROW(b.LoadFromStream(s), EReadError) << c.what;
        EXPECT_TRUE(b.Empty()) << c.what;
    }
    // A name longer than the stream.
    TMemoryStream s;
    WriteInt32(s, 1000);
    s.SetPosition(0);
    TteBitmap b;
    EXPECT_THROW(b.LoadFromStream(s), EReadError);
}

TEST(AlphaBitmap, AssignCopiesAndAnEmptySourceEmpties) {
    TteBitmap a, b;
    a.SetSize(2, 1);
    a.Clear(0x80112233);
    a.Name = "n";
    a.AlphaBlend = true;
    b.Assign(&a);
    EXPECT_EQ(Pixels(b), Pixels(a));
    EXPECT_EQ(b.Name, "n");
    EXPECT_TRUE(b.AlphaBlend);
    TteBitmap empty;
    b.Assign(&empty);
    EXPECT_TRUE(b.Empty());
    EXPECT_FALSE(b.AlphaBlend);
}

// ---- drawing ----

TEST(AlphaBitmap, DrawModeFollowsFlags) {
    const struct {
        bool alpha, transparent;
        uint32_t want;
    } cases[] = {
        {false, false, 0x007F007F},  // opaque copies all four bytes
        {false, true, 0xFF0000FF},   // the key pixel is left out
        {true, false, 0xFF0000FF},   // alpha 0 leaves the target
        {true, true, 0xFF0000FF},
    };
    for (const auto& c : cases) {
        TteBitmap src, dst;
        src.SetSize(1, 1);
        src.SetPixel(0, 0, teKeyColor);
        src.AlphaBlend = c.alpha;
        src.Transparent = c.transparent;
        dst.SetSize(1, 1);
        dst.Clear(0xFF0000FF);
        src.Draw(dst, 0, 0);
        EXPECT_EQ(dst.GetPixel(0, 0), c.want) << c.alpha << c.transparent;
    }
}

TEST(AlphaBitmap, DrawingOntoAnotherBitmapsDcHonoursItsWindowOrigin) {
    TteBitmap src, dst;
    src.SetSize(1, 1);
    src.SetPixel(0, 0, 0xFFABCDEF);
    dst.SetSize(40, 40);
    SetWindowOrgEx(dst.DC(), 10, 20, nullptr);
    src.Draw(dst.DC(), 15, 25);
    EXPECT_EQ(dst.GetPixel(5, 5), 0xFFABCDEFu);
    MoveWindowOrg(dst.DC(), 5, 5);  // origin (5, 15)
    src.Draw(dst.DC(), 15, 25);
    EXPECT_EQ(dst.GetPixel(10, 10), 0xFFABCDEFu);
}

TEST(AlphaBitmap, DrawingOntoAPlainDcBlendsThroughMemory) {
    TDibOnDc target(2, -1);
    const HDC dc = target.dc;
    uint32_t* px = target.bits;
    px[0] = px[1] = 0xFF000000;
    TteBitmap src;
    src.SetSize(2, 1);
    src.SetPixel(0, 0, 0x80FFFFFF);
    src.SetPixel(1, 0, teKeyColor);
    src.AlphaBlend = true;
    src.Draw(dc, 0, 0);
    EXPECT_EQ(px[0], 0xFF7F7F7Fu);
    EXPECT_EQ(px[1], 0xFF000000u);
    src.AlphaBlend = false;
    src.Draw(dc, 0, 0);  // opaque: all four bytes
    EXPECT_EQ(px[0], 0x80FFFFFFu);
    EXPECT_EQ(px[1], teKeyColor);
}

TEST(AlphaBitmap, TileCellsOf16x16In40x20) {
    std::vector<TTileCell> cells;
    ForEachTileCell(TRect{0, 0, 40, 20}, TRect{0, 0, 16, 16},
                    [&](const TTileCell& c) { cells.push_back(c); });
    const std::vector<TRect> want = {{0, 0, 16, 16},   {0, 16, 16, 20}, {16, 0, 32, 16},
                                     {16, 16, 32, 20}, {32, 0, 40, 16}, {32, 16, 40, 20}};
    ASSERT_EQ(cells.size(), want.size());
    for (size_t i = 0; i < cells.size(); ++i) {
        EXPECT_EQ(cells[i].dst, want[i]) << i;
        EXPECT_EQ(cells[i].src, (TRect{0, 0, want[i].Width(), want[i].Height()})) << i;
    }
    int none = 0;
    ForEachTileCell(TRect{0, 0, 40, 20}, TRect{3, 3, 3, 9}, [&](const TTileCell&) { ++none; });
    EXPECT_EQ(none, 0);
}

// Only the cells a small target meets are visited, and they are the very
// cells the whole walk makes there.
TEST(AlphaBitmap, TileCellsWithinAnAreaAreThoseOfTheWholeWalkThatMeetIt) {
    const TRect dst{-7, 5, 803, 321}, src{2, 3, 5, 7};
    for (const TRect within : {TRect{100, 100, 130, 117}, TRect{-50, 0, 0, 400}, TRect{-7, 5, -6, 6},
                               TRect{800, 318, 900, 400}, TRect{900, 0, 950, 50}, TRect{0, 0, 1000, 1000}}) {
        std::vector<TTileCell> all, some;
        ForEachTileCell(dst, src, [&](const TTileCell& c) {
            if (!Intersect(c.dst, within).IsEmpty()) all.push_back(c);
        });
        ForEachTileCellWithin(dst, src, within, [&](const TTileCell& c) { some.push_back(c); });
        ASSERT_EQ(some.size(), all.size()) << within.left << "," << within.top;
        for (size_t i = 0; i < all.size(); ++i) {
            EXPECT_EQ(some[i].dst, all[i].dst);
            EXPECT_EQ(some[i].src, all[i].src);
        }
    }
}

TEST(AlphaBitmap, TileTakesTopLeftOfSourceAndTileClipSkipsFarCells) {
    TteBitmap src;
    src.SetSize(2, 2);
    src.Clear(0xFF000001);
    src.SetPixel(1, 1, 0xFF000002);
    TteBitmap dst;
    dst.SetSize(5, 3);
    src.Tile(dst, dst.BoundsRect(), src.BoundsRect());
    EXPECT_EQ(dst.GetPixel(1, 1), 0xFF000002u);
    EXPECT_EQ(dst.GetPixel(3, 1), 0xFF000002u);
    EXPECT_EQ(dst.GetPixel(4, 2), 0xFF000001u);  // cut cell: top-left part
    dst.Clear(0);
    src.TileClip(dst, dst.BoundsRect(), TRect{3, 0, 4, 1}, src.BoundsRect());
    EXPECT_EQ(dst.GetPixel(0, 0), 0u);
    EXPECT_EQ(dst.GetPixel(2, 1), 0xFF000001u);  // a cell that meets the clip is drawn whole
    EXPECT_EQ(dst.GetPixel(3, 1), 0xFF000002u);
}

TEST(AlphaBitmap, TileIntoABottomUpDibGoesStraightToItsPixels) {
    TDibOnDc target(3, 2);  // bottom-up
    const HDC dc = target.dc;
    SetWindowOrgEx(dc, 1, 0, nullptr);
    TteBitmap src;
    src.SetSize(1, 1);
    src.Clear(0xFF00FF00);
    src.Tile(dc, TRect{1, 0, 3, 1}, src.BoundsRect());
    const uint32_t* px = target.bits;
    // Top row is the second in memory; device columns 0 and 1.
    EXPECT_EQ(std::vector<uint32_t>(px + 3, px + 6), (std::vector<uint32_t>{0xFF00FF00, 0xFF00FF00, 0}));
    EXPECT_EQ(std::vector<uint32_t>(px, px + 3), (std::vector<uint32_t>{0, 0, 0}));
}

// A device clip narrower than the tiled area (a parent's face painted
// behind a small child) leaves the same pixels inside it as an unclipped
// tiling, in every mode, and none outside.
TEST(AlphaBitmap, TileOntoAClippedDeviceMatchesTheUnclippedPictureInsideTheClip) {
    for (const bool transparent : {false, true}) {
        TteBitmap src;
        src.SetSize(3, 2);
        for (int i = 0; i < 6; ++i) src.SetPixel(i % 3, i / 3, 0xFF000010u + i);
        src.Transparent = transparent;
        TDibOnDc whole(16, -12), clipped(16, -12);  // top-down: the device path
        for (HDC dc : {whole.dc, clipped.dc}) SetWindowOrgEx(dc, 7, 5, nullptr);
        IntersectClipRect(clipped.dc, 15, 11, 17, 13);
        const TRect area{7, 5, 23, 17};
        src.Tile(whole.dc, area, src.BoundsRect());
        src.Tile(clipped.dc, area, src.BoundsRect());
        for (int y = 0; y < 12; ++y)
            for (int x = 0; x < 16; ++x) {
                const bool inside = x >= 8 && x < 10 && y >= 6 && y < 8;
                EXPECT_EQ(clipped.bits[y * 16 + x], inside ? whole.bits[y * 16 + x] : 0u)
                    << transparent << " " << x << "," << y;
            }
        EXPECT_NE(whole.bits[6 * 16 + 8], 0u);
    }
}

// Tiling onto a DC - a bitmap's own, a bottom-up DIB, a top-down device -
// gives the pixels the cell-by-cell tiling into a bitmap gives, in every
// mode; with a clip, those inside it and nothing outside.
TEST(AlphaBitmap, TileOntoADcMatchesCellByCellTilingAndKeepsOutsideTheClip) {
    constexpr int kW = 20, kH = 14;
    const TPoint org{2, 1};
    const TRect area{-1, 0, 19, 13}, clip{5, 4, 11, 9};  // logical: the area reaches past the surface
    auto background = [](int x, int y) { return 0xFF203040u + static_cast<uint32_t>(y * kW + x); };
    enum Mode { kOpaque, kTransparent, kAlphaBlend };
    enum Target { kOwnBitmap, kBottomUpDib, kTopDownDevice };
    for (const Mode mode : {kOpaque, kTransparent, kAlphaBlend}) {
        TteBitmap src;
        src.SetSize(3, 2);
        const uint32_t pixels[] = {0xFF000010u, teKeyColor,  0x80FFFFFFu,
                                   0xFF000013u, 0x00123456u, 0xFF000015u};
        for (int i = 0; i < 6; ++i) src.SetPixel(i % 3, i / 3, pixels[i]);
        src.Transparent = mode == kTransparent;
        src.AlphaBlend = mode == kAlphaBlend;
        TteBitmap want;
        want.SetSize(kW, kH);
        for (int y = 0; y < kH; ++y)
            for (int x = 0; x < kW; ++x) want.SetPixel(x, y, background(x, y));
        TRect device = area;
        device.Offset(-org.x, -org.y);
        src.Tile(want, device, src.BoundsRect());
        for (const Target target : {kOwnBitmap, kBottomUpDib, kTopDownDevice}) {
            for (const bool clipped : {false, true}) {
                TteBitmap own;
                own.SetSize(kW, kH);
                TDibOnDc dib(kW, target == kBottomUpDib ? kH : -kH);
                auto at = [&](int x, int y) -> uint32_t& {
                    if (target == kOwnBitmap) return own.GetScanLine(y)[x];
                    return dib.bits[(target == kBottomUpDib ? kH - 1 - y : y) * kW + x];
                };
                for (int y = 0; y < kH; ++y)
                    for (int x = 0; x < kW; ++x) at(x, y) = background(x, y);
                const HDC dc = target == kOwnBitmap ? own.DC() : dib.dc;
                const int saved = SaveDC(dc);
                SetWindowOrgEx(dc, org.x, org.y, nullptr);
                if (clipped) IntersectClipRect(dc, clip.left, clip.top, clip.right, clip.bottom);
                src.Tile(dc, area, src.BoundsRect());
                RestoreDC(dc, saved);
                for (int y = 0; y < kH; ++y)
                    for (int x = 0; x < kW; ++x) {
                        const bool inside = !clipped || clip.Contains(TPoint{x + org.x, y + org.y});
                        ASSERT_EQ(at(x, y), inside ? want.GetPixel(x, y) : background(x, y))
                            << "mode " << mode << ", target " << target << ", clipped " << clipped << " at "
                            << x << "," << y;
                    }
            }
        }
    }
}

TEST(AlphaBitmap, DrawingOntoItselfMovesThePicture) {
    TteBitmap b;
    b.SetSize(4, 1);
    for (int x = 0; x < 4; ++x) b.SetPixel(x, 0, 0xFF000000u + x);
    b.Draw(b, 1, 0, TRect{0, 0, 3, 1});
    EXPECT_EQ(Pixels(b), (std::vector<uint32_t>{0xFF000000, 0xFF000000, 0xFF000001, 0xFF000002}));
    b.Draw(b.DC(), -1, 0, TRect{1, 0, 4, 1});
    EXPECT_EQ(Pixels(b), (std::vector<uint32_t>{0xFF000001, 0xFF000002, 0xFF000001, 0xFF000002}));
}

TEST(AlphaBitmap, MergeDrawFillsOnlyTransparentAndTranslucent) {
    TteBitmap top, under;
    top.SetSize(3, 1);
    top.SetPixel(0, 0, 0x00FFFFFF);
    top.SetPixel(1, 0, 0xFF123456);
    top.SetPixel(2, 0, 0x80FFFFFF);
    under.SetSize(3, 1);
    under.Clear(0xFF000000);
    top.MergeDraw(under, 0, 0, under.BoundsRect());
    EXPECT_EQ(Pixels(top), (std::vector<uint32_t>{0xFF000000, 0xFF123456, 0xFF7F7F7F}));
    TteBitmap opaque;
    opaque.SetSize(2, 1);
    opaque.Clear(0xFF010101);
    opaque.MergeDraw(under, -1, 0, TRect{-5, -5, 50, 50});
    EXPECT_EQ(Pixels(opaque), (std::vector<uint32_t>{0xFF010101, 0xFF010101}));
}

}  // namespace
}  // namespace tarvel

namespace tarvel {
namespace {

// A stored bitmap with its bottom row first (height -2), key, translucent and
// clear pixels.
TEST(AlphaBitmap, FixtureFileLoads) {
    TFileStream file(String(TARVEL_SOURCE_DIR) + "/tests/fixtures/skin/frame.tebitmap", fmOpenRead);
    TteBitmap b;
    b.LoadFromStream(file);
    EXPECT_EQ(b.Name, "Frame");
    ASSERT_EQ(b.Width(), 3);
    EXPECT_EQ(b.GetPixel(0, 0), 0xFF000000u);
    EXPECT_EQ(b.GetPixel(0, 1), 0xFF102030u);
    EXPECT_EQ(b.GetPixel(1, 1), teKeyColor);
    b.CheckingAlphaBlend();
    EXPECT_TRUE(b.AlphaBlend);
}

}  // namespace
}  // namespace tarvel
