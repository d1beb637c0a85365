#include "skin/core/te_utils_draw.h"

#include <gtest/gtest.h>

#include <cstring>
#include <memory>

#include "skin/core/te_const.h"

namespace tarvel {
namespace {

// Drawing routines draw through GDI, which writes alpha 0: compare colours.
uint32_t Rgb(const TteBitmap& b, int x, int y) { return b.GetPixel(x, y) & 0x00FFFFFFu; }

struct Sheet {
    TteBitmap bitmap;
    TCanvas& canvas;
    Sheet(int w, int h, uint32_t fill = 0xFFFFFFFF) : canvas(*(bitmap.SetSize(w, h), bitmap.GetCanvas())) {
        bitmap.Clear(fill);
    }
};

TEST(DrawingRoutines, MulDivRoundsLikeTheSystem) {
    const int cases[][4] = {
        {1, 600, 255, 2}, {3, 5, 2, 8}, {-3, 5, 2, -8}, {1, 1, 0, -1}, {255, 600, 255, 600}};
    for (const auto& c : cases)
        EXPECT_EQ(MulDiv(c[0], c[1], c[2]), c[3]) << c[0] << "*" << c[1] << "/" << c[2];
}

TEST(DrawingRoutines, GradientBandsOfAThreeRowRect) {
    Sheet s(2, 3);
    FillGradientRect(s.canvas, TRect{0, 0, 2, 3}, RGB(0, 0, 0), RGB(30, 60, 90), true);
    EXPECT_EQ(Rgb(s.bitmap, 0, 0), 0x000000u);
    EXPECT_EQ(Rgb(s.bitmap, 1, 1), 0x0A141Eu);  // a third of the way
    EXPECT_EQ(Rgb(s.bitmap, 0, 2), 0x14283Cu);  // two thirds: the last colour is never reached
}

TEST(DrawingRoutines, WideGradientUses255BandsByMulDiv) {
    Sheet s(600, 1);
    FillGradientRect(s.canvas, TRect{0, 0, 600, 1}, RGB(0, 0, 0), RGB(255, 255, 255), false);
    const struct {
        int x;
        uint32_t grey;
    } cases[] = {{0, 0}, {1, 0}, {2, 1}, {3, 1}, {5, 2}, {599, 254}};
    for (const auto& c : cases) EXPECT_EQ(Rgb(s.bitmap, c.x, 0), c.grey * 0x010101u) << c.x;
    FillGradientRect(s.canvas, TRect{5, 0, 5, 1}, 0, 0, false);  // empty: nothing, no division by zero
}

TEST(DrawingRoutines, GradientBandColourRoundsHalfToEven) {
    // (1 * 255 * 1 / 2 + 0) / 255 = 0.5 -> 0; 1.5 -> 2.
    EXPECT_EQ(GradientBandColor(0, 1, 1, 2), 0u);
    EXPECT_EQ(GradientBandColor(1, 2, 1, 2), 2u);
}

TEST(DrawingRoutines, RadialGradientLargeToSmallAndClipRestored) {
    Sheet s(40, 40);
    FillRadialGradientRect(s.canvas, TRect{10, 10, 30, 30}, RGB(255, 0, 0), RGB(0, 0, 255), TPoint{50, 50});
    // The smallest circle drawn (radius MulDiv(2, 20, 50) = 1) is one step from color1.
    EXPECT_EQ(Rgb(s.bitmap, 20, 20), 0xFA0005u);
    const uint32_t corner = Rgb(s.bitmap, 10, 10);
    EXPECT_GT(corner & 0xFF, corner >> 16);     // more color2 than color1
    EXPECT_EQ(Rgb(s.bitmap, 9, 9), 0xFFFFFFu);  // clipped to the rect
    HRGN probe = CreateRectRgn(0, 0, 1, 1);
    EXPECT_EQ(GetClipRgn(s.canvas.Handle(), probe), 0);
    DeleteObject(probe);
}

TEST(DrawingRoutines, RadialGradientStaysInsideTheCallersClipAndKeepsIt) {
    Sheet s(40, 40);
    ExcludeClipRect(s.canvas.Handle(), 20, 0, 40, 40);
    FillRadialGradientRect(s.canvas, TRect{10, 10, 30, 30}, RGB(255, 0, 0), RGB(0, 0, 255), TPoint{50, 50});
    EXPECT_NE(Rgb(s.bitmap, 15, 15), 0xFFFFFFu);
    EXPECT_EQ(Rgb(s.bitmap, 25, 15), 0xFFFFFFu) << "the caller left this out";
    FillRect(s.canvas, TRect{0, 0, 40, 40}, clLime);
    EXPECT_EQ(Rgb(s.bitmap, 5, 5), 0x00FF00u);
    EXPECT_EQ(Rgb(s.bitmap, 35, 5), 0xFFFFFFu) << "and it is still left out afterwards";
}

TEST(DrawingRoutines, HalftoneCheckerboard) {
    Sheet s(10, 10);
    FillHalftoneRect(s.canvas, TRect{-3, -3, 8, 8}, RGB(255, 0, 0), RGB(0, 0, 255));
    EXPECT_EQ(Rgb(s.bitmap, 0, 0), 0x0000FFu);
    EXPECT_EQ(Rgb(s.bitmap, 1, 0), 0xFF0000u);
    EXPECT_EQ(Rgb(s.bitmap, 1, 1), 0x0000FFu);
    EXPECT_EQ(Rgb(s.bitmap, 7, 6), 0xFF0000u);
    EXPECT_EQ(Rgb(s.bitmap, 8, 8), 0xFFFFFFu);
    FillHalftoneRect(s.canvas, TRect{-5, -5, -1, 3}, 0, 0);  // empty once raised to 0
    EXPECT_EQ(Rgb(s.bitmap, 0, 0), 0x0000FFu);
}

TEST(DrawingRoutines, EdgeLines) {
    Sheet s(4, 4);
    DrawEdge(s.canvas, TRect{0, 0, 4, 4}, RGB(255, 0, 0), RGB(0, 0, 255));
    const struct {
        int x, y;
        uint32_t want;
    } cases[] = {{0, 0, 0xFF0000}, {0, 2, 0xFF0000}, {2, 0, 0xFF0000}, {3, 0, 0x0000FF},
                 {3, 3, 0x0000FF}, {0, 3, 0x0000FF}, {1, 1, 0xFFFFFF}};
    for (const auto& c : cases) EXPECT_EQ(Rgb(s.bitmap, c.x, c.y), c.want) << c.x << "," << c.y;
}

TEST(DrawingRoutines, PrimitivesSetPenAndBrushAndLeaveThem) {
    Sheet s(10, 10);
    DrawRect(s.canvas, TRect{1, 1, 9, 9}, RGB(0, 255, 0));
    EXPECT_EQ(Rgb(s.bitmap, 1, 1), 0x00FF00u);
    EXPECT_EQ(Rgb(s.bitmap, 5, 5), 0xFFFFFFu);  // clear brush
    EXPECT_EQ(s.canvas.Brush()->Style(), bsClear);
    FillRect(s.canvas, TRect{2, 2, 4, 4}, RGB(1, 2, 3));
    EXPECT_EQ(Rgb(s.bitmap, 3, 3), 0x010203u);
    EXPECT_EQ(s.canvas.Brush()->Color(), RGB(1, 2, 3));
    FillRect(s.bitmap.DC(), 5, 5, 6, 6, RGB(9, 9, 9));
    EXPECT_EQ(Rgb(s.bitmap, 5, 5), 0x090909u);
    const TPoint tri[] = {{0, 9}, {4, 5}, {8, 9}};
    FillPolygon(s.canvas, tri, 2, RGB(7, 7, 7));
    EXPECT_EQ(Rgb(s.bitmap, 4, 8), 0x070707u);
    FillEllipse(s.canvas, TRect{0, 0, 10, 10}, RGB(5, 5, 5));
    EXPECT_EQ(s.canvas.Pen()->Style(), psClear);
    EXPECT_EQ(Rgb(s.bitmap, 5, 4), 0x050505u);
}

TEST(DrawingRoutines, AlphaRectBlendsOverTheCanvas) {
    Sheet s(3, 1);
    FillAlphaRect(s.canvas, TRect{1, 0, 2, 1}, RGB(255, 0, 0), 128);
    EXPECT_EQ(s.bitmap.GetPixel(1, 0), 0xFFFE7E7Eu);
    EXPECT_EQ(s.bitmap.GetPixel(0, 0), 0xFFFFFFFFu);
}

TEST(DrawingRoutines, GlyphShadowAndFrameGlyph) {
    TteBitmap glyph;
    glyph.SetSize(3, 1);
    glyph.SetPixel(0, 0, 0xFF123456);
    glyph.SetPixel(1, 0, 0xFF7F007F);  // near-key pixels vanish
    glyph.SetPixel(2, 0, 0x00FFFFFF);
    Sheet s(3, 1);
    DrawGlyphShadow(s.canvas, 0, 0, glyph, RGB(0, 0, 0));
    EXPECT_EQ(s.bitmap.GetPixel(0, 0), 0xFF9A9A9Au);  // black at alpha 100 over white
    EXPECT_EQ(s.bitmap.GetPixel(1, 0), 0xFFFFFFFFu);
    EXPECT_EQ(s.bitmap.GetPixel(2, 0), 0xFFFFFFFFu);

    Sheet g(16, 16, 0xFF00FF00);
    DrawFrameControlGlyph(g.canvas, TRect{0, 0, 16, 16}, DFC_CAPTION, DFCS_CAPTIONCLOSE, RGB(255, 0, 0));
    int ink = 0, kept = 0;
    for (int y = 0; y < 16; ++y)
        for (int x = 0; x < 16; ++x) {
            ink += g.bitmap.GetPixel(x, y) == 0xFFFF0000u;
            kept += g.bitmap.GetPixel(x, y) == 0xFF00FF00u;
        }
    EXPECT_GT(ink, 8);
    EXPECT_GT(kept, 100);
    EXPECT_EQ(ink + kept, 256);
}

TEST(DrawingRoutines, RegionDataOfKeyRedKey) {
    TteBitmap b;
    b.SetSize(3, 1);
    b.SetPixel(0, 0, teKeyColor);
    b.SetPixel(1, 0, 0xFFFF0000);
    b.SetPixel(2, 0, 0xFF7F007F);  // key colour whatever the alpha
    const auto data = RegionDataFromBitmap(b, 10, 20, false);
    ASSERT_EQ(data.size(), 48u);
    RGNDATAHEADER h;
    std::memcpy(&h, data.data(), sizeof h);
    EXPECT_EQ(h.dwSize, 32u);
    EXPECT_EQ(h.iType, RDH_RECTANGLES);
    EXPECT_EQ(h.nCount, 1u);
    EXPECT_EQ(h.nRgnSize, 0u);
    EXPECT_EQ(h.rcBound, (TRect{0, 0, 3, 1}));
    TRect run;
    std::memcpy(&run, data.data() + 32, sizeof run);
    EXPECT_EQ(run, (TRect{11, 20, 12, 21}));
    // By alpha: the last pixel counts.
    EXPECT_EQ(RegionDataFromBitmap(b, 0, 0, true).size(), 48u);
    TteBitmap empty;
    EXPECT_FALSE(CreateRegionFromBitmap(empty, 0, 0));
}

TEST(DrawingRoutines, RegionWithManyRunsKeepsThemAll) {
    TteBitmap b;
    b.SetSize(200, 60);  // 6000 single-pixel runs
    for (int y = 0; y < 60; ++y)
        for (int x = 0; x < 200; ++x) b.SetPixel(x, y, (x + y) % 2 ? teKeyColor : 0xFF000000);
    HRGN r = CreateRegionFromBitmap(b, 0, 0);
    ASSERT_TRUE(r);
    EXPECT_TRUE(PtInRegion(r, 198, 58));
    EXPECT_FALSE(PtInRegion(r, 199, 58));
    EXPECT_TRUE(PtInRegion(r, 199, 59));
    EXPECT_TRUE(PtInRegion(r, 1, 59));
    EXPECT_FALSE(PtInRegion(r, 0, 59));
    DeleteObject(r);
}

TEST(DrawingRoutines, VerticalTextTurnsTheHorizontalPicture) {
    Sheet s(20, 60, 0xFFFFFFFF);
    s.canvas.Font()->SetColor(clBlack);
    DrawVerticalText(s.canvas, u"Ab", TRect{0, 0, 20, 60}, DT_SINGLELINE, true);
    // Reference: the same text drawn horizontally, aliased, into a turned bitmap.
    TteBitmap flat;
    flat.SetSize(60, 20);
    flat.Clear(teKeyColor);
    LOGFONTW log = s.canvas.Font()->LogFont();
    log.lfQuality = NONANTIALIASED_QUALITY;
    HFONT font = CreateFontIndirectW(log);
    HFONT old = SelectObject(flat.DC(), font);
    SetBkMode(flat.DC(), TRANSPARENT);
    TRect area = flat.BoundsRect();
    DrawTextW(flat.DC(), u"Ab", &area, DT_SINGLELINE);
    SelectObject(flat.DC(), old);
    DeleteObject(font);
    int ink = 0;
    for (int y = 0; y < 20; ++y)
        for (int x = 0; x < 60; ++x) {
            const bool inked = flat.GetPixel(x, y) != teKeyColor;
            ink += inked;
            EXPECT_EQ(Rgb(s.bitmap, 19 - y, x) != 0xFFFFFF, inked) << x << "," << y;
        }
    EXPECT_GT(ink, 10);
}

TEST(DrawingRoutines, TextMeasuresWideTextAndShortensWithEllipsis) {
    Sheet s(10, 10);
    const int plain = TextWidth(s.canvas, u"中文 abc");
    EXPECT_GT(plain, 0);
    EXPECT_EQ(TextWidth(s.canvas, u"中文 abc", DT_SINGLELINE), plain);
    EXPECT_GT(TextHeight(s.canvas, u"x"), 5);
    HDC dc = s.canvas.Handle();
    SelectObject(dc, s.canvas.Font()->Handle());
    EXPECT_EQ(FormatStr(dc, u"fits", 1000), u"fits");
    EXPECT_EQ(FormatStr(dc, u"Wide text", 1), u"...");
    TSize full;
    GetTextExtentPoint32W(dc, u"Wide text", &full);
    const WideString cut = FormatStr(dc, u"Wide text", full.cx - 1);
    EXPECT_EQ(cut.substr(cut.size() - 3), u"...");
    TSize cutSize;
    GetTextExtentPoint32W(dc, cut, &cutSize);
    EXPECT_LE(cutSize.cx, full.cx - 1);
}

TEST(DrawingRoutines, IconsAreCentredAtSmallIconSize) {
    TIcon icon;
    std::vector<uint32_t> px(4 * 4, 0xFF00FF00);
    icon.SetPixels(4, 4, px);
    Sheet s(40, 40);
    DrawIcon(s.canvas, TRect{0, 0, 40, 40}, &icon);
    EXPECT_EQ(Rgb(s.bitmap, 12, 12), 0x00FF00u);  // square (12, 12)-(28, 28)
    EXPECT_EQ(Rgb(s.bitmap, 15, 15), 0x00FF00u);
    EXPECT_EQ(Rgb(s.bitmap, 16, 16), 0xFFFFFFu);
    DrawIcon(s.canvas, TRect{0, 0, 40, 40}, static_cast<TIcon*>(nullptr));
}

TEST(DrawingRoutines, IconHandlesAreCentredAtSmallIconSizeToo) {
    auto pixels = std::make_shared<Surface>(16, 16);
    for (int y = 0; y < 16; ++y)
        for (int x = 0; x < 16; ++x) pixels->SetPixel(x, y, 0xFF0000FF);
    HBITMAP colour = CreateBitmapFromSurface(pixels);
    ICONINFO info;
    info.hbmColor = colour;
    HICON icon = CreateIconIndirect(&info);
    ASSERT_TRUE(icon);
    Sheet s(40, 40);
    DrawIcon(s.canvas, TRect{0, 0, 40, 40}, icon);
    EXPECT_EQ(Rgb(s.bitmap, 12, 12), 0x0000FFu);  // square (12, 12)-(28, 28)
    EXPECT_EQ(Rgb(s.bitmap, 27, 27), 0x0000FFu);
    EXPECT_EQ(Rgb(s.bitmap, 28, 28), 0xFFFFFFu);
    EXPECT_EQ(Rgb(s.bitmap, 11, 11), 0xFFFFFFu);
    DrawIcon(s.canvas, TRect{0, 0, 40, 40}, HICON{});  // nothing for a missing icon
    EXPECT_EQ(Rgb(s.bitmap, 11, 11), 0xFFFFFFu);
    DestroyIcon(icon);
    DeleteObject(colour);
}

}  // namespace
}  // namespace tarvel
