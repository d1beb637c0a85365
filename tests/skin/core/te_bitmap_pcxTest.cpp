#include <gtest/gtest.h>

#include <vector>

#include "skin/core/te_bitmap.h"

namespace tarvel {
namespace {

// A PCX picture: header, body, then (for version 5) the marker and palette.
std::vector<uint8_t> Pcx(int version, int planes, int w, int h, int bytesPerLine, bool rle,
                         const std::vector<uint8_t>& body, bool palette) {
    std::vector<uint8_t> f(128, 0);
    f[0] = 10;
    f[1] = static_cast<uint8_t>(version);
    f[2] = rle ? 1 : 0;
    f[3] = 8;
    f[8] = static_cast<uint8_t>(w - 1);
    f[10] = static_cast<uint8_t>(h - 1);
    f[65] = static_cast<uint8_t>(planes);
    f[66] = static_cast<uint8_t>(bytesPerLine);
    f.insert(f.end(), body.begin(), body.end());
    if (palette) {
        f.push_back(12);
        for (int i = 0; i < 256; ++i) {
            f.push_back(static_cast<uint8_t>(i));
            f.push_back(static_cast<uint8_t>(255 - i));
            f.push_back(0x11);
        }
    }
    return f;
}

void Load(TteBitmap& b, const std::vector<uint8_t>& bytes) {
    TMemoryStream s;
    s.WriteBuffer(bytes.data(), static_cast<int64_t>(bytes.size()));
    s.SetPosition(0);
    b.LoadFromPcxStream(s);
}

TEST(PcxPictures, RunLengthIndexedWithPalette) {
    // Rows of 4 bytes (3 used): a run of three 5s with a pad, then 1, 2, 3 and a pad.
    TteBitmap b;
    Load(b, Pcx(5, 1, 3, 2, 4, true, {0xC3, 5, 0, 1, 2, 3, 0}, true));
    ASSERT_EQ(b.Width(), 3);
    ASSERT_EQ(b.Height(), 2);
    EXPECT_EQ(b.GetPixel(0, 0), 0xFF05FA11u);
    EXPECT_EQ(b.GetPixel(2, 0), 0xFF05FA11u);
    EXPECT_EQ(b.GetPixel(0, 1), 0xFF01FE11u);
    EXPECT_EQ(b.GetPixel(2, 1), 0xFF03FC11u);
}

TEST(PcxPictures, ThreePlanesAndTheVersion3Palette) {
    TteBitmap rgb;
    Load(rgb, Pcx(5, 3, 2, 1, 2, false, {0x10, 0x20, 0x30, 0x40, 0x50, 0x60}, false));
    EXPECT_EQ(rgb.GetPixel(0, 0), 0xFF103050u);
    EXPECT_EQ(rgb.GetPixel(1, 0), 0xFF204060u);
    TteBitmap classic;
    Load(classic, Pcx(3, 1, 2, 1, 2, false, {9, 15}, false));
    EXPECT_EQ(classic.GetPixel(0, 0), 0xFFFF0000u);
    EXPECT_EQ(classic.GetPixel(1, 0), 0xFFFFFFFFu);
}

TEST(PcxPictures, MalformedPicturesLoadNothing) {
    const std::vector<std::vector<uint8_t>> bad = {
        {},                                                         // empty
        std::vector<uint8_t>(100, 10),                              // short header
        Pcx(5, 1, 3, 2, 2, false, {1, 2, 3, 4}, true),              // line shorter than the width
        Pcx(5, 1, 3, 2, 4, true, {0xC3}, true),                     // run without its byte
        Pcx(5, 1, 3, 2, 4, true, {0xC2, 1}, true),                  // data end before the picture
        Pcx(5, 1, 3, 2, 4, false, {}, true),                        // no body
        Pcx(5, 2, 3, 2, 4, false, std::vector<uint8_t>(16), true),  // two planes
        Pcx(5, 1, 3, 2, 4, false, std::vector<uint8_t>(8), false),  // palette missing
    };
    for (size_t i = 0; i < bad.size(); ++i) {
        TteBitmap b;
        b.SetSize(2, 2);
        EXPECT_THROW(Load(b, bad[i]), EReadError) << i;
        EXPECT_TRUE(b.Empty()) << i;
    }
    std::vector<uint8_t> notPcx = Pcx(5, 1, 1, 1, 1, false, {0}, true);
    notPcx[0] = 11;
    TteBitmap b;
    EXPECT_THROW(Load(b, notPcx), EReadError);
}

TEST(PcxPictures, LongRunIsCutAtTheEndOfThePicture) {
    TteBitmap b;
    Load(b, Pcx(5, 1, 2, 2, 2, true, {0xFF, 7}, true));  // 63 bytes for a 4-byte picture
    EXPECT_EQ(b.GetPixel(1, 1), 0xFF07F811u);
}

}  // namespace
}  // namespace tarvel

namespace tarvel {
namespace {

TEST(PcxPictures, ClaimedSizeBeyondWhatTheDataCanHoldIsRefused) {
    // 65536 x 65536 with lines of 65535 bytes, from a 2-byte body.
    std::vector<uint8_t> f = Pcx(5, 3, 1, 1, 1, true, {0xFF, 0}, false);
    f[8] = f[9] = f[10] = f[11] = 0xFF;
    f[66] = f[67] = 0xFF;
    TteBitmap b;
    EXPECT_THROW(Load(b, f), EReadError);
    EXPECT_TRUE(b.Empty());
}

}  // namespace
}  // namespace tarvel
