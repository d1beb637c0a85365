// A picture copied to the clipboard as another program on the X server
// sees it: offered as PNG and BMP beside text, read through the selection
// (in INCR pieces when large) and decoded pixel for pixel; gone once text
// or another program takes the clipboard.

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "platform/classlib/Application.h"
#include "platform/classlib/Bitmaps.h"
#include "platform/classlib/Clipbrd.h"
#include "platform/classlib/Streams.h"
#include "platform/gdi/Gdi.h"
#include "platform/winsys/Backend.h"
#include "platform/winsys/sdl/SdlBackend.h"
#include "tests/platform/winsys/sdl/xvfb/XServerFixture.h"

namespace tarvel {
namespace {

class ClipboardOnX11 : public ::testing::Test {
protected:
    void SetUp() override {
        std::string error;
        auto backend = OpenX11Backend(error);
        ASSERT_TRUE(backend) << error;
        InitWindowSystem(std::move(backend));
        app = std::make_unique<TApplication>(nullptr);
    }
    void TearDown() override {
        app.reset();
        ShutdownWindowSystem();
    }
    // A picture whose every pixel differs from its neighbours.
    static void Paint(TBitmap& bitmap, int w, int h) {
        bitmap.SetPixelFormat(pf24bit);
        bitmap.SetSize(w, h);
        std::shared_ptr<Surface> s = GetBitmapSurface(bitmap.Handle());
        ASSERT_TRUE(s && s->Valid());
        for (int y = 0; y < h; ++y)
            for (int x = 0; x < w; ++x)
                s->SetPixel(
                    x, y,
                    0xFF000000u | ((x * 7 + y * 3) & 0xFF) << 16 | ((x * y) & 0xFF) << 8 | ((x ^ y) & 0xFF));
    }
    // Every pixel of `got` as in `want`, colours only.
    static ::testing::AssertionResult SamePixels(const Surface& got, TBitmap& want) {
        std::shared_ptr<Surface> w = GetBitmapSurface(want.Handle());
        if (got.Width() != w->Width() || got.Height() != w->Height())
            return ::testing::AssertionFailure() << got.Width() << " x " << got.Height();
        for (int y = 0; y < got.Height(); ++y)
            for (int x = 0; x < got.Width(); ++x)
                if ((got.Pixel(x, y) & 0xFFFFFF) != (w->Pixel(x, y) & 0xFFFFFF))
                    return ::testing::AssertionFailure() << "pixel " << x << ", " << y << ": " << std::hex
                                                         << got.Pixel(x, y) << " for " << w->Pixel(x, y);
        return ::testing::AssertionSuccess();
    }
    // What another program gets for `target`, read on a thread of its own
    // while our messages run (SDL answers for the text from them).
    static std::string Read(const std::string& target, bool* inPieces = nullptr) {
        std::string got;
        std::atomic<bool> done{false};
        std::thread reader([&] {
            std::vector<unsigned char> bytes;
            std::string why;
            got = XReadClipboard(target, bytes, why, inPieces) ? std::string(bytes.begin(), bytes.end())
                                                               : "<" + why + ">";
            done = true;
        });
        while (!done) {
            Application->ProcessMessages();
            std::this_thread::sleep_for(std::chrono::milliseconds(5));
        }
        reader.join();
        return got;
    }
    std::unique_ptr<TApplication> app;
};

TEST_F(ClipboardOnX11, APictureIsOfferedAsPngAndBmpSmallAndInPieces) {
    // 40 x 30 goes in one answer; 500 x 400 (about 600 KB of BMP and a PNG
    // of the same order) is more than one request carries.
    for (const auto& size : {std::pair{40, 30}, std::pair{500, 400}}) {
        SCOPED_TRACE(size.first);
        TBitmap bitmap;
        Paint(bitmap, size.first, size.second);
        Clipboard().Assign(&bitmap);
        EXPECT_TRUE(Clipboard().HasFormat(CF_DIB));

        const std::string targets = Read("TARGETS");
        EXPECT_NE(targets.find("image/png\n"), std::string::npos) << targets;
        EXPECT_NE(targets.find("image/bmp\n"), std::string::npos) << targets;

        const std::string png = Read("image/png");
        PngPicture picture = DecodePng(reinterpret_cast<const uint8_t*>(png.data()), png.size(), 4096);
        ASSERT_TRUE(picture.pixels) << picture.error << " " << png.substr(0, 80);
        EXPECT_TRUE(SamePixels(*picture.pixels, bitmap));

        bool inPieces = false;
        const std::string bmp = Read("image/bmp", &inPieces);
        EXPECT_EQ(inPieces, size.first == 500);
        ASSERT_GT(bmp.size(), 54u) << bmp.substr(0, 80);
        EXPECT_EQ(bmp.substr(0, 2), "BM");
        TMemoryStream stream;
        stream.Write(bmp.data(), static_cast<int64_t>(bmp.size()));
        stream.SetPosition(0);
        TBitmap read;
        read.LoadFromStream(stream);
        std::shared_ptr<Surface> pixels = GetBitmapSurface(read.Handle());
        ASSERT_TRUE(pixels);
        EXPECT_TRUE(SamePixels(*pixels, bitmap));

        // Nothing else is offered for it.
        EXPECT_EQ(Read("UTF8_STRING"), "<the owner refused UTF8_STRING>");
    }
}

TEST_F(ClipboardOnX11, TextOrAnotherProgramTakesThePictureAway) {
    TBitmap bitmap;
    Paint(bitmap, 16, 16);
    Clipboard().Assign(&bitmap);
    ASSERT_TRUE(Clipboard().HasFormat(CF_DIB));
    Clipboard().SetAsText("module 3");
    EXPECT_FALSE(Clipboard().HasFormat(CF_DIB));
    EXPECT_EQ(Read("UTF8_STRING"), "module 3");
    EXPECT_EQ(Read("image/png").substr(0, 1), "<");

    Clipboard().Assign(&bitmap);
    ASSERT_TRUE(Clipboard().HasFormat(CF_DIB));
    ASSERT_TRUE(XTakeClipboard());
    // The owner hears of it on its own connection, at once.
    std::this_thread::sleep_for(std::chrono::milliseconds(300));
    EXPECT_FALSE(Clipboard().HasFormat(CF_DIB));
}

}  // namespace
}  // namespace tarvel

int main(int argc, char** argv) {
    ::testing::InitGoogleTest(&argc, argv);
    return tarvel::RunTestsOnXvfb("the clipboard");
}

// SDL's D-Bus connection keeps a buffer for the life of the process.
extern "C" const char* __lsan_default_suppressions() { return "leak:libdbus-1.so\n"; }
