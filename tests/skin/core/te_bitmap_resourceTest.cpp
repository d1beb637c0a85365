// Bitmaps from the resources of module files, and bitmaps to the clipboard.
#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <vector>

#include "platform/base/Paths.h"
#include "platform/classlib/Clipbrd.h"
#include "platform/classlib/testing/UiDriver.h"
#include "platform/system/ResourceModule.h"
#include "skin/core/te_bitmap.h"
#include "tests/platform/system/PeBuilderFixture.h"

namespace tarvel {
namespace {

using tarvel::testing::PeBuilder;
using Bytes = std::vector<uint8_t>;

std::vector<uint32_t> Pixels(const TteBitmap& b) {
    return std::vector<uint32_t>(b.Bits(), b.Bits() + static_cast<size_t>(b.Width()) * b.Height());
}

class ResourceBitmaps : public ::testing::Test {
protected:
    void SetUp() override {
        folder_ = std::filesystem::temp_directory_path() / ("tarvel-tebmp-" + std::to_string(::getpid()));
        std::filesystem::create_directories(folder_);
    }
    void TearDown() override { std::filesystem::remove_all(folder_); }

    std::string Write(const std::string& name, const Bytes& bytes) {
        const std::string path = (folder_ / name).string();
        WriteFileBytes(path, bytes.data(), bytes.size());
        return path;
    }

    std::string Module(bool pe32Plus = false) {
        Bytes cutPixels = PeBuilder::Dib(24, 2, {{1, 2, 3, 4, 5, 6}});
        cutPixels.resize(cutPixels.size() - 2);
        Bytes badHeader = PeBuilder::Dib(24, 1, {{1, 2, 3}});
        PeBuilder::Put32(badHeader, 0, 0);
        PeBuilder b(pe32Plus);
        // 32-bit rows bottom-up in the file, top row given first here.
        b.Add(RT_BITMAP, "NORMAL",
              PeBuilder::Dib(32, 2, {{1, 2, 3, 0xFF, 4, 5, 6, 0x80}, {7, 8, 9, 0, 1, 1, 1, 0xFF}}))
            .Add(RT_BITMAP, uint16_t{5}, PeBuilder::Dib(24, 2, {{0x10, 0x20, 0x30, 0x40, 0x50, 0x60}}))
            .Add(RT_BITMAP, "Glyph", PeBuilder::Dib(8, 3, {{1, 0, 1}}, {0x00112233, 0x00445566}))
            .Add(RT_BITMAP, "CUT", cutPixels)
            .Add(RT_BITMAP, "BADHEADER", badHeader)
            .Add(RT_RCDATA, "DATA", PeBuilder::Dib(24, 1, {{1, 2, 3}}));
        return Write(pe32Plus ? "plus.msstyles" : "style.msstyles", b.Build());
    }

    std::filesystem::path folder_;
};

TEST_F(ResourceBitmaps, LoadsEachDepthByNameOrNumber) {
    struct Case {
        bool pe32Plus;
        const char* name;
        int width, height;
        std::vector<uint32_t> pixels;  // top row first
        bool alphaBlend;
    } cases[] = {
        {false, "NORMAL", 2, 2, {0xFF030201, 0x80060504, 0x00090807, 0xFF010101}, true},
        {true, "normal", 2, 2, {0xFF030201, 0x80060504, 0x00090807, 0xFF010101}, true},
        {false, "#5", 2, 1, {0xFF302010, 0xFF605040}, false},
        {false, "GLYPH", 3, 1, {0xFF445566, 0xFF112233, 0xFF445566}, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        TteBitmap b;
        b.Name = "kept";
        b.LoadFromResource(Module(c.pe32Plus), c.name);
        ASSERT_EQ(b.Width(), c.width);
        ASSERT_EQ(b.Height(), c.height);
        EXPECT_EQ(Pixels(b), c.pixels);
        EXPECT_EQ(b.AlphaBlend, c.alphaBlend);
        EXPECT_EQ(b.Name, "kept");
    }
}

TEST_F(ResourceBitmaps, WhatCannotBeLoadedLeavesTheBitmapAsItWas) {
    const std::string module = Module();
    const std::string notAModule = Write("plain.txt", Bytes{'M', 'Z', 0, 1});
    const struct {
        std::string file;
        const char* name;
    } cases[] = {
        {module, "MISSING"},    {module, "#6"},
        {module, "DATA"},  // another type
        {module, "CUT"},        {module, "BADHEADER"},
        {notAModule, "NORMAL"}, {(folder_ / "missing.msstyles").string(), "NORMAL"},
        {module, ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        TteBitmap b;
        b.SetSize(3, 3);
        b.Clear(0xFF123456);
        b.LoadFromResource(c.file, c.name);
        EXPECT_EQ(b.Width(), 3);
        EXPECT_EQ(Pixels(b), std::vector<uint32_t>(9, 0xFF123456));
    }
}

class BitmapClipboard : public ::testing::Test {
protected:
    TUiDriver ui;
};

TEST_F(BitmapClipboard, ABitmapGoesToTheClipboardAndComesBackIntoATBitmap) {
    TteBitmap source;
    source.SetSize(3, 2);
    const std::vector<uint32_t> pixels{0xFF102030, 0xFF405060, 0xFF708090,
                                       0xFFFFFFFF, 0xFF000000, 0xFFABCDEF};
    std::copy(pixels.begin(), pixels.end(), source.Bits());
    Clipboard().Assign(&source);
    ASSERT_TRUE(Clipboard().HasFormat(CF_DIB));

    TBitmap back;
    back.Assign(&Clipboard());
    ASSERT_EQ(back.Width(), 3);
    ASSERT_EQ(back.Height(), 2);
    EXPECT_EQ(back.PixelFormat(), pf32bit);
    std::vector<uint32_t> got;
    for (int y = 0; y < 2; ++y) got.insert(got.end(), back.ScanLine(y), back.ScanLine(y) + 3);
    EXPECT_EQ(got, pixels);

    Clipboard().SetAsText("cell 7");
    EXPECT_FALSE(Clipboard().HasFormat(CF_DIB));
    EXPECT_THROW(back.Assign(&Clipboard()), EConvertError);
    EXPECT_EQ(Clipboard().AsText(), "cell 7");
}

}  // namespace
}  // namespace tarvel
