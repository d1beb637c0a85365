// Recolouring a whole skin bitmap, as a theme does when the user picks
// another hue: an 800 x 600 picture of gradients, soft shapes and noise.
// Items are pixels; a plain copy of the same pixels shows the floor.
#include <benchmark/benchmark.h>

#include <cstring>
#include <random>
#include <vector>

#include "skin/core/te_bitmap.h"

using namespace tarvel;

namespace {

constexpr int kW = 800, kH = 600;

std::vector<uint32_t> SkinPicture() {
    std::mt19937 rng(3);
    std::vector<uint32_t> pixels(size_t{kW} * kH);
    for (int y = 0; y < kH; ++y)
        for (int x = 0; x < kW; ++x) {
            const uint32_t r = (x * 255 / kW) & 0xFF, g = (y * 255 / kH) & 0xFF, b = (rng() & 0x3F) + 0x80;
            const uint32_t a = (x / 40 + y / 30) % 4 == 0 ? 0 : 255;
            pixels[size_t{static_cast<size_t>(y)} * kW + x] = (a << 24) | (r << 16) | (g << 8) | b;
        }
    return pixels;
}

template <void (TteBitmap::*Change)(int)>
void BM_Recolour(benchmark::State& state) {
    const std::vector<uint32_t> original = SkinPicture();
    TteBitmap bitmap;
    bitmap.SetSize(kW, kH);
    for (auto _ : state) {
        state.PauseTiming();
        std::memcpy(bitmap.Bits(), original.data(), original.size() * 4);
        state.ResumeTiming();
        (bitmap.*Change)(static_cast<int>(state.range(0)));
        benchmark::DoNotOptimize(bitmap.Bits());
    }
    state.SetItemsProcessed(state.iterations() * kW * kH);
}

BENCHMARK_TEMPLATE(BM_Recolour, &TteBitmap::ChangeBitmapHue)->Arg(40)->Unit(benchmark::kMillisecond);
BENCHMARK_TEMPLATE(BM_Recolour, &TteBitmap::ChangeBitmapSat)->Arg(-60)->Unit(benchmark::kMillisecond);
BENCHMARK_TEMPLATE(BM_Recolour, &TteBitmap::ChangeBitmapBrightness)->Arg(25)->Unit(benchmark::kMillisecond);
BENCHMARK_TEMPLATE(BM_Recolour, &TteBitmap::SetBitmapHue)->Arg(128)->Unit(benchmark::kMillisecond);

void BM_CopyPixels(benchmark::State& state) {
    const std::vector<uint32_t> original = SkinPicture();
    std::vector<uint32_t> copy(original.size());
    for (auto _ : state) {
        std::memcpy(copy.data(), original.data(), original.size() * 4);
        benchmark::DoNotOptimize(copy.data());
    }
    state.SetItemsProcessed(state.iterations() * kW * kH);
}
BENCHMARK(BM_CopyPixels)->Unit(benchmark::kMillisecond);

}  // namespace
