#include "tests/skin/themes/xvfb/SkinXvfbFixture.h"

#include <sys/stat.h>

#include <algorithm>
#include <chrono>
#include <thread>

#include "platform/base/Ticks.h"
#include "platform/winsys/Backend.h"
#include "platform/winsys/InputApi.h"
#include "platform/winsys/WindowApi.h"
#include "platform/winsys/sdl/SdlBackend.h"
#include "skin/core/te_engine.h"
#include "skin/core/te_theme_api.h"
#include "tests/platform/gdi/ReferencePictureFixture.h"
#include "tests/platform/winsys/sdl/xvfb/XServerFixture.h"

namespace tarvel::testing {

void SkinXvfbTest::SetUp() {
    std::string error;
    auto backend = OpenX11Backend(error);
    ASSERT_TRUE(backend) << error;
    sdl = backend.get();
    InitWindowSystem(std::move(backend));
    app = std::make_unique<TApplication>(nullptr);
    InitThemeCore();
    StartUnits();
    mkdir(dir.c_str(), 0755);
}

void SkinXvfbTest::TearDown() {
    if (!sdl) return;
    ReleaseTheme();
    StopUnits();
    DoneThemeCore();
    app.reset();
    ShutdownWindowSystem();
}

bool SkinXvfbTest::RunUntil(const std::function<bool()>& done, DWORD ms) {
    const DWORD start = GetTickCount();
    while (!done()) {
        if (GetTickCount() - start > ms) return false;
        Application->ProcessMessages();
        std::this_thread::sleep_for(std::chrono::milliseconds(2));
    }
    return true;
}

void SkinXvfbTest::Run(DWORD ms) {
    const DWORD start = GetTickCount();
    while (GetTickCount() - start < ms) {
        Application->ProcessMessages();
        std::this_thread::sleep_for(std::chrono::milliseconds(2));
    }
}

void SkinXvfbTest::Settle(HWND h, DWORD ms) {
    RunUntil([&] { return sdl->WindowPixels(h) != nullptr; });
    Run(ms);
}

bool SkinXvfbTest::Save(HWND h, const std::string& name) const {
    return sdl->SaveWindowPng(h, dir + "/" + name);
}

void SkinXvfbTest::Calm(HWND h, Pointer pointer) {
    if (pointer == Pointer::Away) {
        // A corner of the 1024 x 768 screen the window does not cover.
        TRect r{};
        GetWindowRect(h, r);
        for (const TPoint& p : {TPoint{1023, 767}, TPoint{0, 767}, TPoint{1023, 0}, TPoint{0, 0}})
            if (!r.Contains(p)) {
                XMovePointer(p.x, p.y);
                break;
            }
    }
    if (!caretHidden_) caretHidden_ = HideCaret(nullptr);
}

void SkinXvfbTest::Unstill() {
    if (caretHidden_) ShowCaret(nullptr);
    caretHidden_ = false;
}

::testing::AssertionResult SkinXvfbTest::MatchesReferenceNow(HWND h, const std::string& name) const {
    const std::unique_ptr<Surface> pixels = sdl->WindowPixels(h);
    if (!pixels) return ::testing::AssertionFailure() << name << ": the window is not on the screen";
    WritePng(*pixels, (dir + "/" + name).c_str());
    return reference::MatchesReference(*pixels, "skin/xvfb/" + name);
}

::testing::AssertionResult SkinXvfbTest::ScreenMatchesReferenceNow(const TRect& area,
                                                                   const std::string& name) const {
    const std::unique_ptr<Surface> screen = sdl->ScreenPixels();
    if (!screen) return ::testing::AssertionFailure() << name << ": the screen cannot be read";
    const TRect r{std::max(area.left, 0), std::max(area.top, 0), std::min(area.right, screen->Width()),
                  std::min(area.bottom, screen->Height())};
    if (r.right <= r.left || r.bottom <= r.top)
        return ::testing::AssertionFailure() << name << ": off the screen";
    Surface picture(r.right - r.left, r.bottom - r.top);
    for (int y = r.top; y < r.bottom; ++y)
        for (int x = r.left; x < r.right; ++x) picture.SetPixel(x - r.left, y - r.top, screen->Pixel(x, y));
    WritePng(picture, (dir + "/" + name).c_str());
    return reference::MatchesReference(picture, "skin/xvfb/" + name);
}

TTeThemeLink* LinkToLook(TComponent* owner, const Look& look) {
    auto* link = new TTeThemeLink(owner);
    if (look.theme)
        link->SetThemeBuilding(look.theme);
    else
        link->SetThemeFile(DaraSkinPath().string());
    return link;
}

}  // namespace tarvel::testing
