#include <gtest/gtest.h>

#include <cstring>
#include <functional>
#include <vector>

#include "platform/classlib/Bitmaps.h"

namespace tarvel {
namespace {

uint32_t Rgb(const TBitmap& b, int x, int y) { return b.ScanLine(y)[x] & 0x00FFFFFFu; }

void Put16(std::vector<uint8_t>& v, size_t at, uint32_t x) {
    v[at] = uint8_t(x);
    v[at + 1] = uint8_t(x >> 8);
}
void Put32(std::vector<uint8_t>& v, size_t at, uint32_t x) {
    Put16(v, at, x & 0xFFFF);
    Put16(v, at + 2, x >> 16);
}

// A BMP file as other programs write it: 14-byte file header, 40-byte info
// header, palette, rows padded to 4 bytes. `rows` are given top row first.
std::vector<uint8_t> MakeBmp(int bits, int width, const std::vector<std::vector<uint8_t>>& rows,
                             const std::vector<uint32_t>& palette = {}, bool topDown = false) {
    const size_t stride = (size_t(width) * bits + 31) / 32 * 4;
    const size_t offset = 54 + palette.size() * 4;
    std::vector<uint8_t> file(offset + stride * rows.size(), 0);
    file[0] = 'B';
    file[1] = 'M';
    Put32(file, 2, uint32_t(file.size()));
    Put32(file, 10, uint32_t(offset));
    Put32(file, 14, 40);
    Put32(file, 18, uint32_t(width));
    Put32(file, 22, uint32_t(topDown ? -int32_t(rows.size()) : int32_t(rows.size())));
    Put16(file, 26, 1);
    Put16(file, 28, uint32_t(bits));
    Put32(file, 46, uint32_t(palette.size()));
    for (size_t i = 0; i < palette.size(); ++i) Put32(file, 54 + i * 4, palette[i]);
    for (size_t r = 0; r < rows.size(); ++r) {
        const size_t fileRow = topDown ? r : rows.size() - 1 - r;
        std::memcpy(file.data() + offset + fileRow * stride, rows[r].data(),
                    std::min(rows[r].size(), stride));
    }
    return file;
}

void Load(TBitmap& bitmap, const std::vector<uint8_t>& bytes) {
    TMemoryStream stream;
    stream.WriteBuffer(bytes.data(), int64_t(bytes.size()));
    stream.SetPosition(0);
    bitmap.LoadFromStream(stream);
}

TEST(BitmapTest, ScanLinesRunBottomUpInOne32BitDibSection) {
    TBitmap bitmap(3, 4);
    EXPECT_EQ(bitmap.PixelFormat(), pfDevice);
    EXPECT_EQ(bitmap.HandleType(), bmDIB);
    EXPECT_EQ(bitmap.ScanLine(1) - bitmap.ScanLine(0), -3) << "row 1 lies one row below row 0 in memory";

    DIBSECTION dib;
    ASSERT_EQ(GetObject(bitmap.Handle(), dib), int(sizeof(DIBSECTION)));
    EXPECT_EQ(dib.dsBmih.biHeight, 4) << "positive: bottom-up";
    EXPECT_EQ(dib.dsBmih.biBitCount, 32);
    EXPECT_EQ(dib.dsBm.bmBits, bitmap.ScanLine(3)) << "memory starts with the bottom row";

    bitmap.ScanLine(0)[2] = 0x00123456;
    EXPECT_EQ(bitmap.Canvas()->Pixels(2, 0), RGB(0x12, 0x34, 0x56)) << "row 0 is the top row";
    EXPECT_THROW(bitmap.ScanLine(4), EInvalidGraphicOperation);
    EXPECT_THROW(bitmap.ScanLine(-1), EInvalidGraphicOperation);
    EXPECT_THROW(TBitmap().ScanLine(0), EInvalidGraphicOperation);

    for (TPixelFormat f : {pf1bit, pf4bit, pf8bit, pf15bit, pf16bit, pf24bit, pf32bit, pfCustom}) {
        bitmap.SetPixelFormat(f);
        EXPECT_EQ(bitmap.PixelFormat(), f);
        EXPECT_EQ(bitmap.ScanLine(1) - bitmap.ScanLine(0), -3) << "the pixels stay 32-bit";
    }
}

TEST(BitmapTest, ResizingKeepsWhatFitsAndTheCanvasFollows) {
    TBitmap bitmap(2, 2);
    EXPECT_EQ(Rgb(bitmap, 0, 0), 0x00FFFFFFu) << "new pixels are white";
    TCanvas* canvas = bitmap.Canvas();
    canvas->Brush()->SetColor(clRed);
    canvas->FillRect(Rect(0, 0, 2, 2));
    bitmap.SetSize(4, 3);
    EXPECT_EQ(Rgb(bitmap, 1, 1), 0x00FF0000u);
    EXPECT_EQ(Rgb(bitmap, 3, 2), 0x00FFFFFFu);
    canvas->Brush()->SetColor(clBlue);
    canvas->FillRect(Rect(0, 0, 4, 3));
    EXPECT_EQ(Rgb(bitmap, 3, 2), 0x000000FFu) << "the canvas draws into the new pixels";

    EXPECT_THROW(bitmap.SetSize(100000, 100000), EOutOfMemory);
    EXPECT_EQ(bitmap.Width(), 4) << "an impossible size leaves the bitmap as it was";

    bitmap.SetSize(0, 3);
    EXPECT_TRUE(bitmap.Empty());
    EXPECT_EQ(bitmap.Width(), 0);
    EXPECT_FALSE(bitmap.Handle());
    bitmap.SetSize(1, 1);
    canvas->FillRect(Rect(0, 0, 1, 1));
    EXPECT_EQ(Rgb(bitmap, 0, 0), 0x000000FFu);
}

TEST(BitmapTest, BmpRoundTripsIn24And32Bits) {
    for (TPixelFormat format : {pf24bit, pf32bit}) {
        TBitmap bitmap(5, 3);  // 5 pixels: 24-bit rows need padding
        bitmap.SetPixelFormat(format);
        for (int y = 0; y < 3; ++y)
            for (int x = 0; x < 5; ++x)
                bitmap.ScanLine(y)[x] = 0x80000000u | uint32_t(y << 16 | x << 8 | (x + y));
        TMemoryStream stream;
        bitmap.SaveToStream(stream);
        const int bits = format == pf32bit ? 32 : 24;
        const int64_t stride = (5 * bits + 31) / 32 * 4;
        ASSERT_EQ(stream.Size(), 54 + stride * 3);
        EXPECT_EQ(stream.Memory()[28], bits);
        EXPECT_EQ(stream.Memory()[54 + 2], 2) << "the file starts with the bottom row (red = y)";

        TBitmap back;
        stream.SetPosition(0);
        back.LoadFromStream(stream);
        EXPECT_EQ(back.PixelFormat(), format);
        ASSERT_EQ(back.Width(), 5);
        ASSERT_EQ(back.Height(), 3);
        const uint32_t alpha = format == pf32bit ? 0x80000000u : 0;
        for (int y = 0; y < 3; ++y)
            for (int x = 0; x < 5; ++x)
                EXPECT_EQ(back.ScanLine(y)[x], (bitmap.ScanLine(y)[x] & 0x00FFFFFFu) | alpha)
                    << x << "," << y;
    }

    TBitmap device(2, 2);
    TMemoryStream stream;
    device.SaveToStream(stream);
    EXPECT_EQ(stream.Memory()[28], 24) << "every format but pf32bit is written with 24 bits";
}

TEST(BitmapTest, ReadsPalettedAndTopDownBmps) {
    const std::vector<uint32_t> two = {0x00000000, 0x00FFFFFF};
    TBitmap mono;
    Load(mono, MakeBmp(1, 10, {{0xA0, 0x40}, {0x00, 0xC0}}, two));
    EXPECT_EQ(mono.PixelFormat(), pf1bit);
    EXPECT_EQ(Rgb(mono, 0, 0), 0xFFFFFFu);
    EXPECT_EQ(Rgb(mono, 1, 0), 0u);
    EXPECT_EQ(Rgb(mono, 2, 0), 0xFFFFFFu);
    EXPECT_EQ(Rgb(mono, 9, 0), 0xFFFFFFu) << "bits of the second byte";
    EXPECT_EQ(Rgb(mono, 8, 1), 0xFFFFFFu);

    const std::vector<uint32_t> four = {0x000000FF, 0x0000FF00, 0x00FF0000};
    TBitmap nibbles;
    Load(nibbles, MakeBmp(4, 3, {{0x01, 0x2F}}, four));
    EXPECT_EQ(nibbles.PixelFormat(), pf4bit);
    EXPECT_EQ(Rgb(nibbles, 0, 0), 0x0000FFu);
    EXPECT_EQ(Rgb(nibbles, 1, 0), 0x00FF00u);
    EXPECT_EQ(Rgb(nibbles, 2, 0), 0xFF0000u);

    TBitmap bytes;
    Load(bytes, MakeBmp(8, 2, {{0, 1}, {2, 200}}, four, true));
    EXPECT_EQ(bytes.PixelFormat(), pf8bit);
    EXPECT_EQ(Rgb(bytes, 1, 0), 0x00FF00u) << "top-down rows come top row first";
    EXPECT_EQ(Rgb(bytes, 0, 1), 0xFF0000u);
    EXPECT_EQ(Rgb(bytes, 1, 1), 0u) << "an index past the palette is black";
}

TEST(BitmapTest, ReadingStopsAtTheEndOfTheBmp) {
    std::vector<uint8_t> bytes = MakeBmp(24, 1, {{1, 2, 3}});
    const size_t bmpSize = bytes.size();
    bytes.insert(bytes.end(), {'n', 'e', 'x', 't'});
    TMemoryStream stream;
    stream.WriteBuffer(bytes.data(), int64_t(bytes.size()));
    stream.SetPosition(0);
    TBitmap bitmap;
    bitmap.LoadFromStream(stream);
    EXPECT_EQ(stream.Position(), int64_t(bmpSize));
    EXPECT_EQ(Rgb(bitmap, 0, 0), 0x030201u);

    TMemoryStream empty;
    bitmap.LoadFromStream(empty);
    EXPECT_TRUE(bitmap.Empty()) << "nothing left reads as an empty bitmap";
    bitmap.SaveToStream(empty);
    EXPECT_EQ(empty.Size(), 0) << "and an empty bitmap writes nothing";
}

TEST(BitmapTest, MalformedBmpsRaiseAndLeaveTheBitmapEmpty) {
    const std::vector<uint8_t> good = MakeBmp(8, 4, {{0, 1, 2, 3}, {3, 2, 1, 0}}, {0x111111, 0x222222});
    using Edit = std::function<void(std::vector<uint8_t>&)>;
    enum Kind { Short, Invalid };
    struct Case {
        const char* name;
        Edit edit;
        Kind kind;
    };
    const Case cases[] = {
        {"cut inside the file header", [](auto& b) { b.resize(10); }, Short},
        {"cut inside the info header", [](auto& b) { b.resize(30); }, Short},
        {"cut inside the palette", [](auto& b) { b.resize(58); }, Short},
        {"cut inside the pixels", [](auto& b) { b.pop_back(); }, Short},
        {"not BM", [](auto& b) { b[0] = 'X'; }, Invalid},
        {"header size 0", [](auto& b) { Put32(b, 14, 0); }, Invalid},
        {"header size 20", [](auto& b) { Put32(b, 14, 20); }, Invalid},
        {"header size huge", [](auto& b) { Put32(b, 14, 0xFFFFFFF0u); }, Invalid},
        {"width 0", [](auto& b) { Put32(b, 18, 0); }, Invalid},
        {"width negative", [](auto& b) { Put32(b, 18, uint32_t(-4)); }, Invalid},
        {"width huge", [](auto& b) { Put32(b, 18, 0x7FFFFFFFu); }, Invalid},
        {"height 0", [](auto& b) { Put32(b, 22, 0); }, Invalid},
        {"height most negative", [](auto& b) { Put32(b, 22, 0x80000000u); }, Invalid},
        {"large sides, few bytes",
         [](auto& b) {
             Put32(b, 18, 30000);
             Put32(b, 22, 30000);
         },
         Short},
        {"16 bits", [](auto& b) { Put16(b, 28, 16); }, Invalid},
        {"2 planes", [](auto& b) { Put16(b, 26, 2); }, Invalid},
        {"run-length compressed", [](auto& b) { Put32(b, 30, 1); }, Invalid},
        {"palette of 300", [](auto& b) { Put32(b, 46, 300); }, Invalid},
        {"palette of 2^32-1", [](auto& b) { Put32(b, 46, 0xFFFFFFFFu); }, Invalid},
        {"pixels before the headers", [](auto& b) { Put32(b, 10, 14); }, Invalid},
        {"pixels far past the end", [](auto& b) { Put32(b, 10, 0xFFFFFFF0u); }, Short},
    };
    for (const Case& c : cases) {
        std::vector<uint8_t> bytes = good;
        c.edit(bytes);
        TBitmap bitmap(2, 2);
        if (c.kind == Short)
            EXPECT_THROW(Load(bitmap, bytes), EReadError) << c.name;
        else
            EXPECT_THROW(Load(bitmap, bytes), EInvalidGraphic) << c.name;
        EXPECT_TRUE(bitmap.Empty()) << c.name;
    }
    TBitmap bitmap;
    Load(bitmap, good);
    EXPECT_EQ(bitmap.Width(), 4) << "the unedited file reads";
}

TEST(BitmapTest, TransparentBitmapsLeaveTheirKeyColourOut) {
    TBitmap sprite(3, 2);
    for (int y = 0; y < 2; ++y)
        for (int x = 0; x < 3; ++x) sprite.ScanLine(y)[x] = 0x00FF00FF;
    sprite.ScanLine(0)[1] = 0x00123456;
    EXPECT_EQ(sprite.TransparentMode(), tmAuto);
    EXPECT_EQ(sprite.TransparentColor(), TColor(RGB(0xFF, 0x00, 0xFF))) << "the bottom-left pixel's colour";
    sprite.SetTransparent(true);

    TBitmap target(3, 2);
    target.Canvas()->Draw(0, 0, &sprite);
    EXPECT_EQ(Rgb(target, 0, 0), 0xFFFFFFu);
    EXPECT_EQ(Rgb(target, 1, 0), 0x123456u);

    sprite.SetTransparentColor(TColor(RGB(0x12, 0x34, 0x56)));
    EXPECT_EQ(sprite.TransparentMode(), tmFixed);
    TBitmap other(3, 2);
    other.Canvas()->Draw(0, 0, &sprite);
    EXPECT_EQ(Rgb(other, 0, 0), 0xFF00FFu);
    EXPECT_EQ(Rgb(other, 1, 0), 0xFFFFFFu);

    sprite.SetTransparent(false);
    TBitmap plain(6, 4);
    plain.Canvas()->StretchDraw(Rect(0, 0, 6, 4), &sprite);
    EXPECT_EQ(Rgb(plain, 2, 1), 0x123456u) << "stretched twice over";
    EXPECT_EQ(Rgb(plain, 3, 1), 0x123456u);
}

TEST(BitmapTest, AlphaDefinedBitmapsBlend) {
    TBitmap overlay(3, 1);
    overlay.SetPixelFormat(pf32bit);
    overlay.SetAlphaFormat(afDefined);
    overlay.ScanLine(0)[0] = 0x00FF0000;  // alpha 0
    overlay.ScanLine(0)[1] = 0xFFFF0000;
    overlay.ScanLine(0)[2] = 0x80FF0000;
    TBitmap target(3, 1);
    target.Canvas()->Brush()->SetColor(clBlack);
    target.Canvas()->FillRect(Rect(0, 0, 3, 1));
    target.Canvas()->Draw(0, 0, &overlay);
    EXPECT_EQ(Rgb(target, 0, 0), 0u);
    EXPECT_EQ(Rgb(target, 1, 0), 0xFF0000u);
    EXPECT_EQ(Rgb(target, 2, 0), 0x800000u);
}

TEST(BitmapTest, AssignCopiesPixelsAndSettings) {
    TBitmap source(2, 2);
    source.SetPixelFormat(pf32bit);
    source.ScanLine(1)[0] = 0xAA010203;
    source.SetTransparent(true);
    source.SetTransparentColor(clRed);
    TBitmap copy;
    copy.Assign(&source);
    source.ScanLine(1)[0] = 0;
    EXPECT_EQ(copy.ScanLine(1)[0], 0xAA010203u) << "its own pixels";
    EXPECT_EQ(copy.PixelFormat(), pf32bit);
    EXPECT_TRUE(copy.Transparent());
    EXPECT_EQ(copy.TransparentColor(), clRed);
    copy.Assign(nullptr);
    EXPECT_TRUE(copy.Empty());
    TFont font;
    EXPECT_THROW(copy.Assign(&font), EConvertError);
}

}  // namespace
}  // namespace tarvel
