#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "platform/classlib/Icons.h"
#include "platform/classlib/ImageLists.h"

namespace tarvel {
namespace {

constexpr uint32_t kKey = 0x00FF00FF;  // magenta, the usual key colour
constexpr uint32_t kWhite = 0x00FFFFFF;

uint32_t Rgb(TColor c) { return ColorRefToPixel(ColorToColorRef(c)); }

// One character per pixel of `b`: '.' for `back`, 'h' for the button
// highlight, 's' for the button shadow, '#' for `ink`, '?' for the rest.
std::string Picture(TBitmap& b, uint32_t back, uint32_t ink) {
    std::string out;
    for (int y = 0; y < b.Height(); ++y) {
        for (int x = 0; x < b.Width(); ++x) {
            const uint32_t p = b.ScanLine(y)[x] & 0x00FFFFFF;
            out += p == back                  ? '.'
                   : p == ink                 ? '#'
                   : p == Rgb(clBtnHighlight) ? 'h'
                   : p == Rgb(clBtnShadow)    ? 's'
                                              : '?';
        }
        out += '\n';
    }
    return out;
}

// Draws `rows` ('#' ink, 'w' white, anything else the key) into a bitmap.
std::unique_ptr<TBitmap> Glyphs(const std::vector<std::string>& rows, uint32_t ink) {
    auto glyphs = std::make_unique<TBitmap>(int(rows[0].size()), int(rows.size()));
    TBitmap& b = *glyphs;
    for (int y = 0; y < b.Height(); ++y)
        for (int x = 0; x < b.Width(); ++x) {
            const char c = rows[size_t(y)][size_t(x)];
            b.ScanLine(y)[x] = c == '#' ? ink : c == 'w' ? kWhite : kKey;
        }
    return glyphs;
}

TEST(ImageListTest, AddMaskedCutsTheStripAndLeavesTheKeyColourOut) {
    TImageList list(nullptr);
    list.SetSize(3, 2);
    EXPECT_TRUE(list.Masked());
    auto strip = Glyphs({"#.#.#.", ".#.#.#"}, 0x00000080);
    EXPECT_EQ(list.AddMasked(strip.get(), clDefault), 0) << "clDefault: the bottom-left pixel is the key";
    EXPECT_EQ(list.Count(), 2);

    TBitmap target(4, 3);
    target.Canvas()->Brush()->SetColor(clGreen);
    target.Canvas()->FillRect(Rect(0, 0, 4, 3));
    list.Draw(target.Canvas(), 1, 1, 1);
    EXPECT_EQ(Picture(target, Rgb(clGreen), 0x80),
              "....\n"
              "..#.\n"
              ".#.#\n");

    list.Draw(target.Canvas(), 0, 0, 2);  // no such image
    list.Draw(target.Canvas(), 0, 0, -1);
    EXPECT_EQ(target.ScanLine(0)[0] & 0x00FFFFFF, Rgb(clGreen));
}

TEST(ImageListTest, UnmaskedListsAndBackgroundColourFillTheKeyPixels) {
    auto glyph = Glyphs({"#.", ".#"}, 0x00000080);
    TImageList unmasked(nullptr);
    unmasked.SetSize(2, 2);
    unmasked.SetMasked(false);
    unmasked.AddMasked(glyph.get(), TColor(RGB(0xFF, 0, 0xFF)));
    TBitmap a(2, 2);
    unmasked.Draw(a.Canvas(), 0, 0, 0);
    EXPECT_EQ(a.ScanLine(0)[1] & 0x00FFFFFF, kKey) << "an unmasked list draws every pixel";

    TImageList backed(nullptr);
    backed.SetSize(2, 2);
    backed.SetBkColor(clYellow);
    backed.AddMasked(glyph.get(), TColor(RGB(0xFF, 0, 0xFF)));
    TBitmap b(2, 2);
    backed.Draw(b.Canvas(), 0, 0, 0);
    EXPECT_EQ(Picture(b, Rgb(clYellow), 0x80), "#.\n.#\n");
    backed.SetDrawingStyle(dsTransparent);
    TBitmap c(2, 2);
    backed.Draw(c.Canvas(), 0, 0, 0);
    EXPECT_EQ(Picture(c, kWhite, 0x80), "#.\n.#\n");
}

TEST(ImageListTest, DisabledImagesShowAnEtchedShapeWithoutTheirWhite) {
    TImageList list(nullptr);
    list.SetSize(4, 3);
    auto glyph = Glyphs({"##..", "#w..", "...."}, 0x00000080);
    list.AddMasked(glyph.get(), clDefault);
    TBitmap target(6, 5);
    target.Canvas()->Brush()->SetColor(clBtnFace);
    target.Canvas()->FillRect(Rect(0, 0, 6, 5));
    list.Draw(target.Canvas(), 1, 1, 0, false);
    EXPECT_EQ(Picture(target, Rgb(clBtnFace), 0x80),
              "......\n"
              ".ss...\n"
              ".shh..\n"
              "..h...\n"
              "......\n");
}

TEST(ImageListTest, AddWithAMaskResizeAndDelete) {
    TImageList list(nullptr);
    list.SetSize(2, 1);
    auto image = Glyphs({"##"}, 0x00000080);
    TBitmap mask(2, 1);
    mask.ScanLine(0)[0] = 0;       // black: drawn
    mask.ScanLine(0)[1] = kWhite;  // white: transparent
    EXPECT_EQ(list.Add(image.get(), &mask), 0);
    EXPECT_EQ(list.Add(nullptr, nullptr), -1);
    int changes = 0;
    list.OnChange = [&](TObject*) { ++changes; };
    EXPECT_EQ(list.AddMasked(image.get(), clNone), 1);
    TBitmap target(2, 1);
    list.Draw(target.Canvas(), 0, 0, 0);
    EXPECT_EQ(Picture(target, kWhite, 0x80), "#.\n");

    list.Delete(0);
    EXPECT_EQ(list.Count(), 1);
    EXPECT_THROW(list.Delete(5), EListError);
    list.SetWidth(8);
    EXPECT_EQ(list.Count(), 0) << "a new size empties the list";
    EXPECT_EQ(changes, 3);
}

TEST(ImageListTest, ImageListIsAnOwnedComponent) {
    TComponent owner(nullptr);
    auto* list = new TImageList(&owner);
    EXPECT_EQ(owner.ComponentCount(), 1);
    EXPECT_TRUE(list->Is<TCustomImageList>());
    EXPECT_EQ(list->Width(), 16);
    EXPECT_EQ(list->Height(), 16);
}

TEST(IconTest, IconsDrawBlendedCentredOrStretched) {
    TIcon icon;
    EXPECT_TRUE(icon.Empty());
    EXPECT_TRUE(icon.Transparent());
    const std::vector<uint32_t> pixels = {0xFF000080, 0x00000000, 0x00000000, 0xFF000080};
    icon.SetPixels(2, 2, pixels);
    EXPECT_EQ(icon.Pixel(1, 1), 0xFF000080u);
    EXPECT_EQ(icon.Pixel(2, 0), 0u);
    EXPECT_THROW(icon.SetPixels(3, 3, pixels), EInvalidGraphicOperation);

    TBitmap centred(4, 4);
    icon.DrawCentered(*centred.Canvas(), Rect(0, 0, 4, 4));
    EXPECT_EQ(Picture(centred, kWhite, 0x80),
              "....\n"
              ".#..\n"
              "..#.\n"
              "....\n");

    TBitmap stretched(4, 4);
    stretched.Canvas()->StretchDraw(Rect(0, 0, 4, 4), &icon);
    EXPECT_EQ(Picture(stretched, kWhite, 0x80),
              "##..\n"
              "##..\n"
              "..##\n"
              "..##\n");
}

TEST(IconTest, IconsComeFromBitmapsAndStreamsWithTheirMask) {
    auto keyed = Glyphs({"#.", ".#"}, 0x00000080);
    keyed->SetTransparent(true);
    TIcon icon;
    icon.Assign(keyed.get());
    EXPECT_EQ(icon.Pixel(0, 0), 0xFF000080u);
    EXPECT_EQ(icon.Pixel(1, 0) >> 24, 0u) << "the key colour is outside the mask";

    TMemoryStream stream;
    icon.SaveToStream(stream);
    stream.SetPosition(0);
    TIcon back;
    back.LoadFromStream(stream);
    EXPECT_EQ(back.Pixel(0, 0), 0xFF000080u);
    EXPECT_EQ(back.Pixel(1, 0) >> 24, 0u);

    auto opaque = Glyphs({"#."}, 0x00000080);
    TMemoryStream plain;
    opaque->SaveToStream(plain);  // 24 bits: no alpha in the file
    plain.SetPosition(0);
    back.LoadFromStream(plain);
    EXPECT_EQ(back.Pixel(1, 0), 0xFF000000u | kKey) << "a BMP without alpha reads opaque";

    TBitmap asBitmap;
    asBitmap.Assign(&icon);
    EXPECT_EQ(asBitmap.PixelFormat(), pf32bit);
    EXPECT_EQ(asBitmap.AlphaFormat(), afDefined);
    EXPECT_EQ(asBitmap.ScanLine(0)[0], 0xFF000080u);
}

}  // namespace
}  // namespace tarvel
