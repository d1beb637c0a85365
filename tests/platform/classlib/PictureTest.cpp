#include <gtest/gtest.h>

#include <jpeglib.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "platform/base/Paths.h"
#include "platform/classlib/JpegImage.h"
#include "platform/classlib/Pictures.h"
#include "platform/classlib/PngImage.h"

namespace tarvel {
namespace {

// A JPEG of our own: the left half red, the right half blue, written with
// libjpeg at high quality so the colours come back within a few steps; or,
// grey, a ramp from black to white.
std::vector<uint8_t> MakeJpeg(int width, int height, bool progressive = false, bool grey = false) {
    jpeg_compress_struct info{};
    jpeg_error_mgr error{};
    info.err = jpeg_std_error(&error);
    jpeg_create_compress(&info);
    unsigned char* out = nullptr;
    unsigned long size = 0;
    jpeg_mem_dest(&info, &out, &size);
    info.image_width = JDIMENSION(width);
    info.image_height = JDIMENSION(height);
    info.input_components = grey ? 1 : 3;
    info.in_color_space = grey ? JCS_GRAYSCALE : JCS_RGB;
    jpeg_set_defaults(&info);
    jpeg_set_quality(&info, 95, TRUE);
    if (progressive) jpeg_simple_progression(&info);
    jpeg_start_compress(&info, TRUE);
    std::vector<uint8_t> row(size_t(width) * 3);
    for (int x = 0; x < width; ++x) {
        const bool left = x < width / 2;
        if (grey) {
            row[size_t(x)] = uint8_t(x * 255 / width);
            continue;
        }
        row[size_t(x) * 3 + 0] = left ? 255 : 0;
        row[size_t(x) * 3 + 2] = left ? 0 : 255;
    }
    while (info.next_scanline < info.image_height) {
        JSAMPROW line = row.data();
        jpeg_write_scanlines(&info, &line, 1);
    }
    jpeg_finish_compress(&info);
    std::vector<uint8_t> bytes(out, out + size);
    jpeg_destroy_compress(&info);
    std::free(out);
    return bytes;
}

bool Near(uint32_t pixel, uint32_t rgb, int tolerance = 12) {
    for (int shift : {0, 8, 16}) {
        const int a = int(pixel >> shift & 0xFF), b = int(rgb >> shift & 0xFF);
        if (std::abs(a - b) > tolerance) return false;
    }
    return true;
}

class PictureTest : public ::testing::Test {
protected:
    void SetUp() override {
        char pattern[] = "/tmp/classlib_pictures_XXXXXX";
        ASSERT_NE(mkdtemp(pattern), nullptr);
        dir_ = pattern;
    }
    void TearDown() override { std::filesystem::remove_all(dir_); }
    std::string Path(const char* name) const { return dir_ + "/" + name; }
    void Write(const std::string& path, const std::vector<uint8_t>& bytes) const {
        WriteFileBytes(path, bytes.data(), bytes.size());
    }

    std::string dir_;
};

TEST_F(PictureTest, JpegLoadsThroughThePictureAndDraws) {
    for (bool progressive : {false, true}) {
        const std::string file = Path(progressive ? "p.JPEG" : "b.jpg");
        Write(file, MakeJpeg(32, 16, progressive));
        TPicture picture;
        int changes = 0;
        picture.OnChange = [&](TObject*) { ++changes; };
        picture.LoadFromFile(file);
        EXPECT_GE(changes, 1);
        ASSERT_TRUE(picture.Graphic());
        EXPECT_TRUE(picture.Graphic()->Is<TJPEGImage>());
        EXPECT_EQ(picture.Width(), 32);
        EXPECT_EQ(picture.Height(), 16);

        TBitmap target(40, 20);
        target.Canvas()->Draw(4, 2, picture.Graphic());
        EXPECT_TRUE(Near(target.ScanLine(10)[8], 0xFF0000)) << std::hex << target.ScanLine(10)[8];
        EXPECT_TRUE(Near(target.ScanLine(10)[30], 0x0000FF)) << std::hex << target.ScanLine(10)[30];
        EXPECT_EQ(target.ScanLine(1)[1] & 0xFFFFFF, 0xFFFFFFu) << "nothing outside the picture";

        TBitmap halved(16, 8);
        halved.Canvas()->StretchDraw(Rect(0, 0, 16, 8), picture.Graphic());
        EXPECT_TRUE(Near(halved.ScanLine(4)[2], 0xFF0000));
        EXPECT_TRUE(Near(halved.ScanLine(4)[13], 0x0000FF));

        TBitmap copy;
        copy.Assign(&picture);
        EXPECT_EQ(copy.Width(), 32) << "a bitmap takes the decoded pixels";
        EXPECT_EQ(copy.PixelFormat(), pf24bit);
    }
}

// The library's own RGB rows, packed as a 24-bit picture holds them.
std::vector<uint32_t> DecodeRgb(const std::vector<uint8_t>& file) {
    jpeg_decompress_struct info{};
    jpeg_error_mgr error{};
    info.err = jpeg_std_error(&error);
    jpeg_create_decompress(&info);
    jpeg_mem_src(&info, file.data(), static_cast<unsigned long>(file.size()));
    jpeg_read_header(&info, TRUE);
    info.out_color_space = JCS_RGB;
    jpeg_start_decompress(&info);
    std::vector<uint32_t> pixels;
    std::vector<uint8_t> row(size_t{info.output_width} * 3);
    while (info.output_scanline < info.output_height) {
        JSAMPROW line = row.data();
        jpeg_read_scanlines(&info, &line, 1);
        for (size_t x = 0; x < info.output_width; ++x)
            pixels.push_back(uint32_t{row[x * 3]} << 16 | uint32_t{row[x * 3 + 1]} << 8 | row[x * 3 + 2]);
    }
    jpeg_finish_decompress(&info);
    jpeg_destroy_decompress(&info);
    return pixels;
}

TEST_F(PictureTest, JpegPixelsAreTheLibrarysColoursWithAlphaZero) {
    const struct {
        const char* what;
        int width, height;
        bool progressive, grey;
    } cases[] = {
        {"baseline, rows not a multiple of a batch", 23, 37, false, false},
        {"progressive", 40, 9, true, false},
        {"grey", 17, 21, false, true},
    };
    for (const auto& c : cases) {
        const std::vector<uint8_t> file = MakeJpeg(c.width, c.height, c.progressive, c.grey);
        const std::vector<uint32_t> want = DecodeRgb(file);
        TJPEGImage jpeg;
        jpeg.LoadFromMemory(file.data(), file.size());
        ASSERT_EQ(jpeg.Width(), c.width) << c.what;
        ASSERT_EQ(jpeg.Height(), c.height) << c.what;
        for (int y = 0; y < c.height; ++y)
            for (int x = 0; x < c.width; ++x)
                ASSERT_EQ(jpeg.Bitmap().ScanLine(y)[x], want[size_t(y) * c.width + x])
                    << c.what << " at " << x << "," << y;
    }
}

TEST_F(PictureTest, JpegKeepsItsFileBytes) {
    const std::vector<uint8_t> bytes = MakeJpeg(8, 8);
    TJPEGImage jpeg;
    jpeg.LoadFromMemory(bytes.data(), bytes.size());
    TMemoryStream saved;
    jpeg.SaveToStream(saved);
    ASSERT_EQ(saved.Size(), int64_t(bytes.size()));
    EXPECT_EQ(std::vector<uint8_t>(saved.Memory(), saved.Memory() + saved.Size()), bytes);
    TJPEGImage copy;
    copy.Assign(&jpeg);
    EXPECT_EQ(copy.Width(), 8);
    TBitmap bitmap;
    EXPECT_THROW(copy.Assign(&bitmap), EConvertError);
}

TEST_F(PictureTest, DamagedJpegsRaiseAndLeaveTheGraphicEmpty) {
    const std::vector<uint8_t> good = MakeJpeg(16, 16);
    struct Case {
        const char* name;
        std::vector<uint8_t> bytes;
    };
    std::vector<uint8_t> garbled = good;
    for (size_t i = 200; i < garbled.size() - 2; ++i) garbled[i] = uint8_t(i * 37);
    const Case cases[] = {
        {"empty", {}},
        {"not a jpeg", {'B', 'M', 0, 0}},
        {"header only", std::vector<uint8_t>(good.begin(), good.begin() + 20)},
        {"cut in the middle", std::vector<uint8_t>(good.begin(), good.begin() + long(good.size() / 2))},
        {"garbled scan", garbled},
    };
    for (const Case& c : cases) {
        TJPEGImage jpeg;
        jpeg.LoadFromMemory(good.data(), good.size());
        EXPECT_THROW(jpeg.LoadFromMemory(c.bytes.data(), c.bytes.size()), EInvalidGraphic) << c.name;
        EXPECT_TRUE(jpeg.Empty()) << c.name;
    }

    const std::string file = Path("cut.jpg");
    Write(file, cases[3].bytes);
    TPicture picture;
    picture.Bitmap()->SetSize(3, 3);
    EXPECT_THROW(picture.LoadFromFile(file), EInvalidGraphic);
    EXPECT_EQ(picture.Width(), 3) << "a picture that fails to load keeps what it had";
}

TEST_F(PictureTest, PngLoadsWithItsAlpha) {
    Surface pixels(4, 2);
    for (int x = 0; x < 4; ++x) {
        pixels.SetPixel(x, 0, 0xFF00FF00u);
        pixels.SetPixel(x, 1, 0x00FF0000u);  // fully transparent
    }
    const std::string file = Path("a.png");
    ASSERT_TRUE(WritePng(pixels, file.c_str(), true));
    TPicture picture;
    picture.LoadFromFile(file);
    ASSERT_TRUE(picture.Graphic()->Is<TPngImage>());
    EXPECT_TRUE(picture.Graphic()->Transparent());
    TBitmap target(4, 2);
    target.Canvas()->Draw(0, 0, picture.Graphic());
    EXPECT_EQ(target.ScanLine(0)[1] & 0xFFFFFF, 0x00FF00u);
    EXPECT_EQ(target.ScanLine(1)[1] & 0xFFFFFF, 0xFFFFFFu) << "transparent pixels leave the target";

    const std::string opaque = Path("o.png");
    ASSERT_TRUE(WritePng(pixels, opaque.c_str(), false));
    TPngImage png;
    png.LoadFromFile(opaque);
    EXPECT_FALSE(png.Transparent());
    EXPECT_EQ(png.Bitmap().PixelFormat(), pf24bit);

    std::vector<uint8_t> cut = ReadFileBytes(file);
    cut.resize(cut.size() - 20);
    EXPECT_THROW(png.LoadFromMemory(cut.data(), cut.size()), EInvalidGraphic);
    EXPECT_TRUE(png.Empty());
}

TEST_F(PictureTest, PictureChoosesTheClassByExtension) {
    TBitmap bitmap(3, 2);
    bitmap.SaveToFile(Path("x.BMP"));
    TPicture picture;
    picture.LoadFromFile(Path("x.BMP"));
    EXPECT_TRUE(picture.Graphic()->Is<TBitmap>());
    EXPECT_EQ(picture.Bitmap(), picture.Graphic()) << "a bitmap picture answers its own bitmap";
    EXPECT_EQ(picture.Width(), 3);

    Write(Path("x.gif"), {'G', 'I', 'F'});
    try {
        picture.LoadFromFile(Path("x.gif"));
        FAIL() << "no exception";
    } catch (const EInvalidGraphic& e) {
        EXPECT_EQ(e.Message(), "Unknown picture file extension (.gif)");
    }
    EXPECT_THROW(picture.LoadFromFile(Path("missing.bmp")), EFOpenError);
    EXPECT_EQ(picture.Width(), 3);

    picture.SaveToFile(Path("y.bmp"));
    TPicture again;
    again.Assign(&picture);
    EXPECT_NE(again.Graphic(), picture.Graphic()) << "a picture holds its own copy";
    EXPECT_EQ(again.Height(), 2);
    again.Assign(nullptr);
    EXPECT_EQ(again.Graphic(), nullptr);
    EXPECT_THROW(again.SaveToFile(Path("z.bmp")), EInvalidGraphic);
}

TEST_F(PictureTest, TheGraphicFilterNamesEveryExtensionLoadFromFileReads) {
    EXPECT_EQ(GraphicFilter(),
              "All (*.bmp;*.jpg;*.jpeg;*.png)|*.bmp;*.jpg;*.jpeg;*.png|Bitmaps (*.bmp)|*.bmp|"
              "JPEG Image File (*.jpg)|*.jpg|JPEG Image File (*.jpeg)|*.jpeg|"
              "Portable Network Graphics (*.png)|*.png");
}

TEST_F(PictureTest, AskingForTheBitmapReplacesAnotherGraphic) {
    const std::vector<uint8_t> bytes = MakeJpeg(8, 8);
    TJPEGImage jpeg;
    jpeg.LoadFromMemory(bytes.data(), bytes.size());
    TPicture picture;
    picture.SetGraphic(&jpeg);
    EXPECT_TRUE(picture.Graphic()->Is<TJPEGImage>());
    EXPECT_EQ(picture.Width(), 8);
    TBitmap* bitmap = picture.Bitmap();
    EXPECT_TRUE(bitmap->Empty());
    EXPECT_EQ(picture.Width(), 0);
}

}  // namespace
}  // namespace tarvel
