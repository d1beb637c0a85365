// The comparison behind the reference pictures: what it lets pass, what it
// catches, and the files it leaves behind.

#include <gtest/gtest.h>
#include <stdlib.h>

#include <filesystem>
#include <functional>

#include "tests/platform/gdi/GdiFixture.h"
#include "tests/platform/gdi/ReferencePictureFixture.h"

namespace tarvel {
namespace {

using gditest::PixelDc;
using gditest::ScopedFont;

// A flat button face, a dark frame and a line of antialiased text.
void DrawSample(PixelDc& p) {
    p.Clear(0x00D4D0C8);
    FillRect(p.dc, Rect(4, 4, 40, 20), HBRUSH(GetStockObject(WHITE_BRUSH)));
    FrameRect(p.dc, Rect(2, 2, 42, 22), HBRUSH(GetStockObject(BLACK_BRUSH)));
    ScopedFont font("Tahoma", -11);
    SelectObject(p.dc, font.font);
    SetBkMode(p.dc, TRANSPARENT);
    TextOutA(p.dc, 4, 26, "Module 3");
    SelectObject(p.dc, HFONT(GetStockObject(DEFAULT_GUI_FONT)));
}

// Adds `by` to each channel of the pixels chosen, clamped to a byte.
void Nudge(PixelDc& p, int by, const std::function<bool(int, int)>& chosen) {
    for (int y = 0; y < p.surface->Height(); ++y)
        for (int x = 0; x < p.surface->Width(); ++x) {
            if (!chosen(x, y)) continue;
            uint32_t out = 0;
            for (int shift : {0, 8, 16}) {
                const int v = std::clamp(static_cast<int>((p.At(x, y) >> shift) & 0xFF) + by, 0, 255);
                out |= static_cast<uint32_t>(v) << shift;
            }
            p.surface->SetPixel(x, y, out);
        }
}

TEST(ReferencePicture, FlatColoursMustMatchWhileEdgesMayMoveALittle) {
    PixelDc reference(64, 40);
    DrawSample(reference);
    const reference::Tolerance tolerance;
    // Text pixels: neither the face grey nor the white fill.
    auto text = [&](int x, int y) { return y >= 24 && (reference.At(x, y) & 0xFFFFFF) != 0xD4D0C8; };
    int tolerated = 0;
    const struct {
        const char* what;
        int by;
        std::function<bool(int, int)> chosen;
        bool matches;
    } cases[] = {
        {"unchanged", 0, [](int, int) { return false; }, true},
        {"the white fill one step darker", -1,
         [](int x, int y) { return x >= 10 && x < 20 && y >= 8 && y < 16; }, false},
        {"the face one step lighter, a corner only", 1, [](int x, int y) { return x >= 50 && y < 6; }, false},
        {"glyph edges within the channel tolerance", tolerance.channel, text, true},
        {"glyph edges beyond it", tolerance.channel + 40, text, false},
        {"a few stray pixels", 200, [&](int x, int y) { return y == 0 && x < tolerance.pixels; }, true},
        {"one stray pixel too many", 200, [&](int x, int y) { return y == 0 && x <= tolerance.pixels; },
         false},
    };
    for (const auto& c : cases) {
        PixelDc actual(64, 40);
        DrawSample(actual);
        Nudge(actual, c.by, c.chosen);
        const reference::Comparison result =
            reference::Compare(*actual.surface, *reference.surface, tolerance);
        EXPECT_EQ(result.differing <= tolerance.pixels, c.matches)
            << c.what << ": " << result.differing << " differing, " << result.tolerated << " tolerated";
        tolerated += result.tolerated;
    }
    EXPECT_GT(tolerated, 0) << "the sample has antialiased text";
}

class ReferenceFilesTest : public ::testing::Test {
protected:
    void SetUp() override {
        char pattern[] = "/tmp/gdi_reference_XXXXXX";
        ASSERT_NE(mkdtemp(pattern), nullptr);
        dir_ = pattern;
        unsetenv("TARVEL_UPDATE_REFERENCES");
    }
    void TearDown() override {
        std::filesystem::remove_all(dir_);
        unsetenv("TARVEL_UPDATE_REFERENCES");
    }
    ::testing::AssertionResult Matches(const Surface& picture) {
        return reference::MatchesReferenceIn(dir_ / "ref", dir_ / "out", picture, "sheets/sample.png");
    }
    std::filesystem::path dir_;
};

TEST_F(ReferenceFilesTest, AMissingReferenceIsWrittenThenHeldTo) {
    PixelDc picture(64, 40);
    DrawSample(picture);
    ASSERT_TRUE(Matches(*picture.surface));
    ASSERT_TRUE(std::filesystem::exists(dir_ / "ref/sheets/sample.png"));
    EXPECT_TRUE(Matches(*picture.surface));

    Nudge(picture, -1, [](int x, int y) { return x >= 10 && x < 20 && y >= 8 && y < 16; });
    const ::testing::AssertionResult changed = Matches(*picture.surface);
    EXPECT_FALSE(changed);
    // Both pictures are left for people to look at, and the failure names them.
    for (const char* file : {"out/sheets/sample.actual.png", "out/sheets/sample.difference.png"}) {
        EXPECT_TRUE(std::filesystem::exists(dir_ / file)) << file;
        EXPECT_NE(std::string(changed.message()).find((dir_ / file).string()), std::string::npos)
            << changed.message();
    }
    const PngPicture difference = reference::ReadPngFile(dir_ / "out/sheets/sample.difference.png");
    ASSERT_TRUE(difference.pixels);
    EXPECT_EQ(difference.pixels->Pixel(12, 10) & 0xFFFFFF, 0xFF0000u);
    EXPECT_NE(difference.pixels->Pixel(30, 10) & 0xFFFFFF, 0xFF0000u);

    // Regenerating on purpose takes the new picture.
    setenv("TARVEL_UPDATE_REFERENCES", "1", 1);
    EXPECT_TRUE(Matches(*picture.surface));
    unsetenv("TARVEL_UPDATE_REFERENCES");
    EXPECT_TRUE(Matches(*picture.surface));
}

TEST_F(ReferenceFilesTest, OtherSizesAndDamagedReferencesFail) {
    PixelDc picture(64, 40);
    DrawSample(picture);
    ASSERT_TRUE(Matches(*picture.surface));
    PixelDc wider(65, 40);
    DrawSample(wider);
    const ::testing::AssertionResult resized = Matches(*wider.surface);
    EXPECT_FALSE(resized);
    EXPECT_NE(std::string(resized.message()).find("65x40"), std::string::npos) << resized.message();
    EXPECT_TRUE(std::filesystem::exists(dir_ / "out/sheets/sample.actual.png"));

    std::filesystem::resize_file(dir_ / "ref/sheets/sample.png", 40);
    EXPECT_FALSE(Matches(*picture.surface));
}

}  // namespace
}  // namespace tarvel
