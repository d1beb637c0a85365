// The gallery through the SDL backend on an Xvfb of its own, saved as
// screenshots/gallery_sdl.png in the build folder for people to look at.

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <cstdio>
#include <cstdlib>

#include "platform/base/Ticks.h"
#include "platform/classlib/Application.h"
#include "platform/winsys/Backend.h"
#include "platform/winsys/sdl/SdlBackend.h"
#include "tests/platform/classlib/GalleryFixture.h"
#include "tests/platform/winsys/sdl/xvfb/XServerFixture.h"

namespace tarvel {
namespace {

TEST(GalleryOnX11, EveryControlIsDrawnThroughTheRealBackend) {
    std::string error;
    auto backend = SdlBackend::Open("x11", &error);
    ASSERT_TRUE(backend) << error;
    SdlBackend* sdl = backend.get();
    InitWindowSystem(std::move(backend));
    {
        TApplication app(nullptr);
        auto* form = new TGalleryForm(Application);
        form->Show();
        // Mapped, painted and presented; then a little longer for the server.
        const DWORD start = GetTickCount();
        while (!sdl->WindowPixels(form->Handle()) && GetTickCount() - start < 5000)
            Application->ProcessMessages();
        const DWORD settle = GetTickCount();
        while (GetTickCount() - settle < 300) Application->ProcessMessages();
        auto pixels = sdl->WindowPixels(form->Handle());
        ASSERT_TRUE(pixels);
        // The gauges' green reached the window.
        int green = 0;
        for (int y = 0; y < pixels->Height(); ++y)
            for (int x = 0; x < pixels->Width(); ++x)
                if ((pixels->Pixel(x, y) & 0xFFFFFF) == 0x00FF00) ++green;
        EXPECT_GT(green, 1000);
        const std::string dir = std::string(TARVEL_BINARY_DIR) + "/screenshots";
        mkdir(dir.c_str(), 0755);
        EXPECT_TRUE(sdl->SaveWindowPng(form->Handle(), dir + "/gallery_sdl.png"));
        delete form;
    }
    ShutdownWindowSystem();
}

}  // namespace
}  // namespace tarvel

int main(int argc, char** argv) {
    ::testing::InitGoogleTest(&argc, argv);
    return tarvel::RunTestsOnXvfb("the gallery");
}

// SDL's D-Bus connection keeps a buffer for the life of the process.
extern "C" const char* __lsan_default_suppressions() { return "leak:libdbus-1.so\n"; }
