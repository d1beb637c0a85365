#include "platform/classlib/Clipbrd.h"

#include <gtest/gtest.h>

#include "platform/classlib/Pictures.h"
#include "platform/classlib/testing/UiDriver.h"
#include "tests/platform/system/PeBuilderFixture.h"

namespace tarvel {
namespace {

using Dib = tarvel::testing::PeBuilder;

class ClipboardTest : public ::testing::Test {
protected:
    TUiDriver ui;
};

std::vector<uint32_t> Pixels(const TBitmap& b) {
    std::vector<uint32_t> out;
    for (int y = 0; y < b.Height(); ++y) out.insert(out.end(), b.ScanLine(y), b.ScanLine(y) + b.Width());
    return out;
}

void Fill(TBitmap& b, const std::vector<uint32_t>& pixels) {
    for (int y = 0; y < b.Height(); ++y)
        for (int x = 0; x < b.Width(); ++x) b.ScanLine(y)[x] = pixels[size_t(y) * b.Width() + x];
}

TEST_F(ClipboardTest, HoldsText) {
    Clipboard().SetAsText("Zelle 3");
    EXPECT_EQ(Clipboard().AsText(), "Zelle 3");
    EXPECT_TRUE(Clipboard().HasFormat(CF_TEXT));
    EXPECT_FALSE(Clipboard().HasFormat(CF_DIB));
}

TEST_F(ClipboardTest, ABitmapComesBackWithItsPixels) {
    const std::vector<uint32_t> pixels{0xFF102030, 0x80405060, 0x00708090,
                                       0xFFFFFFFF, 0x7F000000, 0x01ABCDEF};
    struct Case {
        TPixelFormat format;
        uint32_t keptMask;  // a 24-bit bitmap travels without its alpha
        TPixelFormat back;
    } cases[] = {{pf32bit, 0xFFFFFFFF, pf32bit}, {pf24bit, 0x00FFFFFF, pf24bit}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.format);
        TBitmap original(3, 2);
        original.SetPixelFormat(c.format);
        Fill(original, pixels);
        Clipboard().Assign(&original);
        EXPECT_TRUE(Clipboard().HasFormat(CF_DIB));
        EXPECT_TRUE(Clipboard().HasFormat(CF_BITMAP));
        EXPECT_FALSE(Clipboard().HasFormat(CF_TEXT));

        TBitmap back;
        back.Assign(&Clipboard());
        ASSERT_EQ(back.Width(), 3);
        ASSERT_EQ(back.Height(), 2);
        EXPECT_EQ(back.PixelFormat(), c.back);
        for (size_t i = 0; i < pixels.size(); ++i)
            EXPECT_EQ(Pixels(back)[i] & c.keptMask, pixels[i] & c.keptMask) << i;
    }
}

TEST_F(ClipboardTest, PicturesGoAndComeAsBitmaps) {
    TPicture picture;
    picture.Bitmap()->SetSize(2, 1);
    picture.Bitmap()->SetPixelFormat(pf32bit);
    Fill(*picture.Bitmap(), {0xFF0000FF, 0xFF00FF00});
    Clipboard().Assign(&picture);

    TPicture back;
    back.Assign(&Clipboard());
    ASSERT_NE(dynamic_cast<TBitmap*>(back.Graphic()), nullptr);
    EXPECT_EQ(Pixels(*back.Bitmap()), (std::vector<uint32_t>{0xFF0000FF, 0xFF00FF00}));

    TPicture empty;
    Clipboard().Assign(&empty);
    EXPECT_FALSE(Clipboard().HasFormat(CF_DIB));
}

TEST_F(ClipboardTest, TextSetAfterABitmapReplacesIt) {
    TBitmap original(1, 1);
    Clipboard().Assign(&original);
    Clipboard().SetAsText("4.2 V");
    EXPECT_FALSE(Clipboard().HasFormat(CF_DIB));
    TBitmap back(5, 5);
    EXPECT_THROW(back.Assign(&Clipboard()), EConvertError);
    EXPECT_EQ(back.Width(), 5);
    // And an empty bitmap clears the clipboard.
    TBitmap none;
    Clipboard().Assign(&none);
    EXPECT_EQ(Clipboard().AsText(), "");
    EXPECT_FALSE(Clipboard().HasFormat(CF_DIB));
}

TEST(DibBlocks, ReadAtEveryDepthThroughTheBmpReader) {
    struct Case {
        const char* what;
        std::vector<uint8_t> dib;
        std::vector<uint32_t> expected;  // top row first
        TPixelFormat format;
    } cases[] = {
        {"32-bit with alpha",
         Dib::Dib(32, 2, {{1, 2, 3, 0x80, 4, 5, 6, 0xFF}}),
         {0x80030201, 0xFF060504},
         pf32bit},
        {"32-bit bit fields", Dib::Dib(32, 1, {{9, 8, 7, 0x40}}, {}, true), {0x40070809}, pf32bit},
        {"24-bit, two rows", Dib::Dib(24, 1, {{1, 2, 3}, {4, 5, 6}}), {0x030201, 0x060504}, pf24bit},
        {"24-bit with a colour table to skip",
         Dib::Dib(24, 1, {{1, 2, 3}}, {0x111111, 0x222222}),
         {0x030201},
         pf24bit},
        {"top-down", Dib::Dib(24, 1, {{1, 2, 3}, {4, 5, 6}}, {}, false, true), {0x030201, 0x060504}, pf24bit},
        {"8-bit palette",
         Dib::Dib(8, 3, {{1, 0, 1}}, {0x00AA00, 0x0000BB}),
         {0x0000BB, 0x00AA00, 0x0000BB},
         pf8bit},
        {"4-bit palette", Dib::Dib(4, 2, {{0x10}}, {0x000001, 0x000002}), {0x000002, 0x000001}, pf4bit},
        {"1-bit palette",
         Dib::Dib(1, 3, {{0xA0}}, {0x000000, 0xFFFFFF}),
         {0xFFFFFF, 0x000000, 0xFFFFFF},
         pf1bit},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const std::vector<uint8_t>& dib = c.dib;
        TBitmap b;
        LoadBitmapFromDib(b, dib.data(), dib.size());
        EXPECT_EQ(b.PixelFormat(), c.format);
        const uint32_t mask = c.format == pf32bit ? 0xFFFFFFFF : 0x00FFFFFF;
        std::vector<uint32_t> got = Pixels(b);
        for (uint32_t& p : got) p &= mask;
        EXPECT_EQ(got, c.expected);
    }
}

TEST(DibBlocks, MalformedBlocksRaiseAndLeaveTheBitmap) {
    const std::vector<uint8_t> good = Dib::Dib(24, 2, {{1, 2, 3, 4, 5, 6}, {7, 8, 9, 1, 2, 3}});
    auto with = [&](auto change) {
        std::vector<uint8_t> b = good;
        change(b);
        return b;
    };
    const std::vector<uint8_t> cases[] = {
        {},
        {40, 0},
        with([](auto& b) { Dib::Put32(b, 0, 0); }),             // header size 0
        with([](auto& b) { Dib::Put32(b, 0, 20); }),            // neither core nor info header
        with([](auto& b) { Dib::Put32(b, 0, 0xFFFFFFF0u); }),   // header past the block
        with([](auto& b) { Dib::Put32(b, 32, 0x40000000u); }),  // colour table past the block
        with([](auto& b) { Dib::Put32(b, 8, 0x7FFF); }),        // more rows than bytes
        with([](auto& b) { Dib::Put32(b, 4, 0xFFFFFFFFu); }),   // negative width
        with([](auto& b) { Dib::Put16(b, 14, 200); }),          // no such depth
        with([](auto& b) { b.resize(b.size() - 1); }),          // last row cut
    };
    for (size_t i = 0; i < std::size(cases); ++i) {
        TBitmap b(4, 4);
        EXPECT_ANY_THROW(LoadBitmapFromDib(b, cases[i].data(), cases[i].size())) << i;
        EXPECT_EQ(b.Width(), 4) << i;
    }
}

}  // namespace
}  // namespace tarvel
