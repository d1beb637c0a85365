#include "platform/winsys/headless/HeadlessBackend.h"

#include <algorithm>

#include "platform/base/Ticks.h"
#include "platform/gdi/Gdi.h"
#include "platform/winsys/MessageApi.h"

namespace tarvel {

namespace {

constexpr int kTaskBarHeight = 40;

}  // namespace

HeadlessBackend::HeadlessBackend(TSize screen, uint32_t startTicks) : screen_(screen), now_(startTicks) {
    SetTickSource([this] { return now_.load(); });
}

HeadlessBackend::~HeadlessBackend() { SetTickSource(nullptr); }

TRect HeadlessBackend::WorkArea() {
    return TRect{0, 0, screen_.cx, std::max(0, screen_.cy - kTaskBarHeight)};
}

void HeadlessBackend::WaitForEvents(uint32_t timeoutMs) {
    std::unique_lock<std::mutex> lock(mutex_);
    if (!woken_ && timeoutMs != INFINITE) {
        now_ += timeoutMs;
        return;
    }
    wake_.wait(lock, [this] { return woken_; });
    woken_ = false;
}

void HeadlessBackend::Wake() {
    {
        std::lock_guard<std::mutex> lock(mutex_);
        woken_ = true;
    }
    wake_.notify_all();
}

void HeadlessBackend::MouseMove(TPoint p) { QueueMouseMove(p); }
void HeadlessBackend::MouseDown(TPoint p, MouseButton b) { QueueMouseButton(b, true, p); }
void HeadlessBackend::MouseUp(TPoint p, MouseButton b) { QueueMouseButton(b, false, p); }

void HeadlessBackend::Click(TPoint p, MouseButton b) {
    MouseDown(p, b);
    MouseUp(p, b);
}

void HeadlessBackend::Wheel(TPoint p, int delta) { QueueMouseWheel(delta, p); }
void HeadlessBackend::KeyDown(UINT vk) { QueueKey(vk, true); }
void HeadlessBackend::KeyUp(UINT vk) { QueueKey(vk, false); }

void HeadlessBackend::PressKey(UINT vk) {
    KeyDown(vk);
    KeyUp(vk);
}

void HeadlessBackend::TypeChar(char16_t ch) { QueueChar(ch); }

void HeadlessBackend::CreateSurface(HWND window, const TopLevelInfo& info) { surfaces_[window] = info; }
void HeadlessBackend::UpdateSurface(HWND window, const TopLevelInfo& info) { surfaces_[window] = info; }

void HeadlessBackend::DestroySurface(HWND window) {
    surfaces_.erase(window);
    order_.erase(std::remove(order_.begin(), order_.end(), window), order_.end());
}

bool HeadlessBackend::ClickTrayIcon(HWND notify, UINT id, UINT mouseMessage) {
    auto it = trays_.find({notify, id});
    return it != trays_.end() && PostMessage(notify, it->second.callbackMessage, id, mouseMessage);
}

bool HeadlessBackend::HasSurface(HWND window) const { return surfaces_.count(window) > 0; }

TopLevelInfo HeadlessBackend::SurfaceInfo(HWND window) const {
    auto it = surfaces_.find(window);
    return it == surfaces_.end() ? TopLevelInfo{} : it->second;
}

std::unique_ptr<Surface> HeadlessBackend::WindowPixels(HWND window) const {
    auto it = surfaces_.find(window);
    if (it == surfaces_.end() || !it->second.pixels) return nullptr;
    const TopLevelInfo& info = it->second;
    const Surface& src = *info.pixels;
    int w = std::min(info.bounds.Width(), src.Width());
    int h = std::min(info.bounds.Height(), src.Height());
    auto out = std::make_unique<Surface>(std::max(w, 1), std::max(h, 1));
    if (!out->Valid()) return nullptr;
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) out->SetPixel(x, y, src.Pixel(x, y) | 0xFF000000u);
    return out;
}

std::unique_ptr<Surface> HeadlessBackend::ScreenPixels() const {
    std::vector<ScreenLayer> layers;
    for (auto it = order_.rbegin(); it != order_.rend(); ++it) {
        auto s = surfaces_.find(*it);
        if (s == surfaces_.end() || !s->second.visible || s->second.minimized || !s->second.pixels) continue;
        layers.push_back(LayerOf(s->second, s->second.pixels.get()));
    }
    return ComposeScreen(TRect{0, 0, screen_.cx, screen_.cy}, layers);
}

bool HeadlessBackend::SaveWindowPng(HWND window, const std::string& path) const {
    std::unique_ptr<Surface> pixels = WindowPixels(window);
    return pixels && WritePng(*pixels, path.c_str());
}

bool HeadlessBackend::SaveScreenPng(const std::string& path) const {
    std::unique_ptr<Surface> pixels = ScreenPixels();
    return pixels && WritePng(*pixels, path.c_str());
}

}  // namespace tarvel
