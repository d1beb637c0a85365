// Throughput of the drawing layer on an 800 x 600 surface: items are pixels.

#include <benchmark/benchmark.h>

#include "platform/gdi/Gdi.h"

namespace tarvel {
namespace {

constexpr int kWidth = 800, kHeight = 600;
constexpr int64_t kPixels = int64_t{kWidth} * kHeight;

struct Target {
    Target() {
        BITMAPINFO info;
        info.bmiHeader.biWidth = kWidth;
        info.bmiHeader.biHeight = -kHeight;
        void* bits = nullptr;
        bitmap = CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
        dc = CreateCompatibleDC(nullptr);
        old = SelectObject(dc, bitmap);
    }
    ~Target() {
        SelectObject(dc, old);
        DeleteDC(dc);
        DeleteObject(bitmap);
    }
    HBITMAP bitmap, old;
    HDC dc;
};

void BM_FillRect(benchmark::State& state) {
    Target t;
    HBRUSH brush = CreateSolidBrush(RGB(10, 20, 30));
    for (auto _ : state) FillRect(t.dc, Rect(0, 0, kWidth, kHeight), brush);
    state.SetItemsProcessed(state.iterations() * kPixels);
    DeleteObject(brush);
}
BENCHMARK(BM_FillRect);

void BM_BitBlt(benchmark::State& state) {
    Target src, dst;
    for (auto _ : state) BitBlt(dst.dc, 0, 0, kWidth, kHeight, src.dc, 0, 0, SRCCOPY);
    state.SetItemsProcessed(state.iterations() * kPixels);
}
BENCHMARK(BM_BitBlt);

void BM_StretchBlt(benchmark::State& state) {
    Target src, dst;
    for (auto _ : state)
        StretchBlt(dst.dc, 0, 0, kWidth, kHeight, src.dc, 0, 0, kWidth / 2, kHeight / 2, SRCCOPY);
    state.SetItemsProcessed(state.iterations() * kPixels);
}
BENCHMARK(BM_StretchBlt);

void BM_AlphaBlend(benchmark::State& state) {
    Target src, dst;
    auto surface = GetBitmapSurface(src.bitmap);
    for (int y = 0; y < kHeight; ++y)
        for (int x = 0; x < kWidth; ++x)
            surface->SetPixel(x, y, static_cast<uint32_t>((x & 0xFF) << 24 | 0x336699));
    BLENDFUNCTION blend;
    blend.AlphaFormat = AC_SRC_ALPHA;
    for (auto _ : state) AlphaBlend(dst.dc, 0, 0, kWidth, kHeight, src.dc, 0, 0, kWidth, kHeight, blend);
    state.SetItemsProcessed(state.iterations() * kPixels);
}
BENCHMARK(BM_AlphaBlend);

// A screenful of 11-pixel text, line by line; items are surface pixels.
void BM_Text(benchmark::State& state) {
    Target t;
    LOGFONTW log;
    SetFaceName(log, "Tahoma");
    log.lfHeight = -11;
    HFONT font = CreateFontIndirectW(log);
    SelectObject(t.dc, font);
    SetBkMode(t.dc, TRANSPARENT);
    const std::u16string line =
        u"Module 12  cell 3  3.412 V  25.4 °C  balancing on  电池模块 normal  SOC 87 %  cycles 112  ";
    for (auto _ : state) {
        for (int y = 0; y < kHeight; y += 13) {
            TRect r = Rect(0, y, kWidth, y + 13);
            DrawTextW(t.dc, line + line, &r, DT_SINGLELINE | DT_NOPREFIX);
        }
    }
    state.SetItemsProcessed(state.iterations() * kPixels);
    SelectObject(t.dc, HFONT(GetStockObject(DEFAULT_GUI_FONT)));
    DeleteObject(font);
}
BENCHMARK(BM_Text);

}  // namespace
}  // namespace tarvel
