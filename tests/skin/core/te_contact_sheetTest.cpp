// Draws gradients, glyphs, blends and tiled and stretched bitmaps onto one
// sheet, writes it as a PNG into the build folder for people to look at and
// compares it with its reference.
#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>

#include "skin/core/te_const.h"
#include "skin/core/te_utils_draw.h"
#include "tests/platform/gdi/ReferencePictureFixture.h"

namespace tarvel {
namespace {

void MakeTile(TteBitmap& tile) {
    tile.SetSize(12, 12);
    for (int y = 0; y < 12; ++y)
        for (int x = 0; x < 12; ++x) tile.SetPixel(x, y, (x < 6) == (y < 6) ? 0xFF3366CC : 0xFFF8C751);
}

void MakeRoundAlpha(TteBitmap& b, int size) {
    b.SetSize(size, size);
    const double c = (size - 1) / 2.0;
    for (int y = 0; y < size; ++y)
        for (int x = 0; x < size; ++x) {
            const double d = std::hypot(x - c, y - c) / c;
            const int a = d >= 1 ? 0 : static_cast<int>(255 * (1 - d));
            b.SetPixel(x, y, (static_cast<uint32_t>(a) << 24) | 0x00CC2244);
        }
    b.CheckingAlphaBlend();
}

TEST(ContactSheet, DrawsEveryKindAndWritesThePicture) {
    TteBitmap sheet;
    sheet.SetSize(720, 400);
    sheet.Clear(0xFFFFFFFF);
    TCanvas& c = *sheet.GetCanvas();

    // Row 1: gradients.
    FillGradientRect(c, TRect{10, 10, 170, 90}, RGB(0, 51, 153), RGB(235, 235, 238), true);
    FillGradientRect(c, TRect{180, 10, 340, 90}, RGB(255, 255, 255), RGB(100, 160, 255), false);
    FillRadialGradientRect(c, TRect{350, 10, 510, 90}, RGB(255, 240, 200), RGB(200, 60, 20), TPoint{30, 40});
    FillGradientRect(c, TRect{520, 10, 710, 90}, clBtnFace, clHighlight, false);

    // Row 2: frame-control glyphs, text, vertical text.
    const unsigned glyphs[][2] = {{DFC_CAPTION, DFCS_CAPTIONCLOSE}, {DFC_CAPTION, DFCS_CAPTIONMIN},
                                  {DFC_CAPTION, DFCS_CAPTIONMAX},   {DFC_CAPTION, DFCS_CAPTIONRESTORE},
                                  {DFC_CAPTION, DFCS_CAPTIONHELP},  {DFC_SCROLL, DFCS_SCROLLUP},
                                  {DFC_SCROLL, DFCS_SCROLLDOWN},    {DFC_MENU, DFCS_MENUARROW}};
    int x = 10;
    for (const auto& g : glyphs) {
        DrawFrameControlGlyph(c, TRect{x, 110, x + 20, 130}, g[0], g[1], RGB(0, 51, 153));
        x += 26;
    }
    c.Font()->SetName("Tahoma");
    c.Font()->SetSize(10);
    TRect text{10, 140, 300, 160};
    DrawText(c, u"Skinned text 中文 — ellipsis test", text, DT_SINGLELINE);
    DrawText(c, FormatStr(c.Handle(), u"A much longer caption that will not fit", 150), 10, 165);
    DrawVerticalText(c, u"Downwards", TRect{320, 100, 340, 190}, DT_SINGLELINE, true);
    DrawVerticalText(c, u"Upwards", TRect{345, 100, 365, 190}, DT_SINGLELINE, false);
    TteBitmap shadowed;
    MakeRoundAlpha(shadowed, 40);
    DrawGlyphShadow(c, 384, 114, shadowed, RGB(0, 0, 0));
    shadowed.Draw(c, 380, 110);

    // Row 3: blends over a halftone.
    FillHalftoneRect(c, TRect{10, 210, 350, 290}, RGB(255, 255, 255), RGB(180, 180, 180));
    for (int i = 0; i < 5; ++i)
        FillAlphaRect(c, TRect{20 + i * 65, 220, 75 + i * 65, 280}, RGB(0, 80, 200),
                      static_cast<uint8_t>(40 + i * 50));
    TteBitmap disc;
    MakeRoundAlpha(disc, 70);
    for (int i = 0; i < 4; ++i) disc.Draw(c, 370 + i * 40, 215);

    // Row 4: tiled, stretched and key-coloured bitmaps.
    TteBitmap tile;
    MakeTile(tile);
    tile.Tile(c, TRect{10, 310, 170, 390}, tile.BoundsRect());
    tile.Draw(c, TRect{180, 310, 260, 390});
    tile.Draw(c, TRect{270, 310, 290, 390}, TRect{0, 0, 12, 12});
    TteBitmap keyed;
    MakeTile(keyed);
    for (int y = 3; y < 9; ++y)
        for (int x2 = 3; x2 < 9; ++x2) keyed.SetPixel(x2, y, teKeyColor);
    keyed.Transparent = true;
    FillRect(c, TRect{300, 310, 400, 390}, RGB(220, 40, 40));
    keyed.Draw(c, TRect{310, 320, 390, 380});
    const TPoint star[] = {{480, 310}, {500, 390}, {440, 340}, {520, 340}, {460, 390}};
    FillHalftonePolygon(c, star, 4, RGB(255, 220, 0), RGB(200, 120, 0));
    DrawPolygon(c, star, 4, RGB(120, 60, 0));
    DrawRoundRect(c, TRect{540, 310, 700, 390}, 16, RGB(0, 51, 153));
    FillRoundRect(c, TRect{560, 330, 680, 370}, 10, RGB(100, 160, 255));

    // A few exact spots, so a broken routine does not go unnoticed.
    EXPECT_EQ(sheet.GetPixel(10, 10) & 0xFFFFFF, 0x003399u);
    EXPECT_EQ(sheet.GetPixel(15, 315) & 0xFFFFFF, 0x3366CCu);
    EXPECT_EQ(sheet.GetPixel(350, 350) & 0xFFFFFF, 0xDC2828u);  // the key hole shows the red below

    const std::filesystem::path out =
        std::filesystem::path(TARVEL_BINARY_DIR) / "skin_core_contact_sheet.png";
    std::filesystem::remove(out);
    sheet.SetAlpha(255);
    ASSERT_TRUE(WritePng(*GetBitmapSurface(sheet.Handle()), out.c_str()));
    EXPECT_GT(std::filesystem::file_size(out), 2000u);
    EXPECT_TRUE(
        reference::MatchesReference(*GetBitmapSurface(sheet.Handle()), "skin/core/contact_sheet.png"));
}

}  // namespace
}  // namespace tarvel
