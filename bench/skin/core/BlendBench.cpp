// Straight-alpha blending of whole bitmaps, the skin's own blend and the
// drawing layer's AlphaBlend, beside pixman's OVER on the same sizes as the
// reference (premultiplied, so the same work per pixel). Items are pixels.
#include <benchmark/benchmark.h>
#include <pixman.h>

#include <random>
#include <vector>

#include "platform/gdi/Gdi.h"
#include "skin/core/te_bitmap.h"

using namespace tarvel;

namespace {

enum AlphaKind { kRandomAlpha, kSkinAlpha };

// Random: every pixel translucent to a random degree. Skin-like: shapes of
// opaque and clear areas with soft edges, as skin pieces and shadows are.
uint32_t AlphaAt(AlphaKind kind, int x, int y, std::mt19937& rng) {
    if (kind == kRandomAlpha) return rng() & 0xFF;
    const int cell = (x / 48 + y / 32) % 3;
    const int edge = x % 48;
    if (edge < 4) return static_cast<uint32_t>(edge * 60 + 15);
    return cell == 0 ? 0 : cell == 1 ? 255 : static_cast<uint32_t>((y * 5) & 0xFF);
}

std::vector<uint32_t> StraightSource(int w, int h, AlphaKind kind) {
    std::mt19937 rng(7);
    std::vector<uint32_t> pixels(static_cast<size_t>(w) * h);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            pixels[static_cast<size_t>(y) * w + x] = (AlphaAt(kind, x, y, rng) << 24) | (rng() & 0xFFFFFF);
    return pixels;
}

struct Images {
    Images(int w, int h, AlphaKind kind) : width(w), height(h) {
        const std::vector<uint32_t> pixels = StraightSource(w, h, kind);
        src.SetSize(w, h);
        dst.SetSize(w, h);
        std::copy(pixels.begin(), pixels.end(), src.Bits());
        src.AlphaBlend = true;
        dst.Clear(0xFF808080);
    }
    int width, height;
    TteBitmap src, dst;
};

void SetPixels(benchmark::State& state, int w, int h) {
    state.SetItemsProcessed(state.iterations() * int64_t{w} * h);
}

void BM_SkinBlend(benchmark::State& state, AlphaKind kind) {
    const int w = static_cast<int>(state.range(0)), h = static_cast<int>(state.range(1));
    Images images(w, h, kind);
    for (auto _ : state) {
        images.src.Draw(images.dst, 0, 0);
        benchmark::DoNotOptimize(images.dst.Bits());
    }
    SetPixels(state, w, h);
}

void BM_DrawingLayerAlphaBlend(benchmark::State& state, AlphaKind kind) {
    const int w = static_cast<int>(state.range(0)), h = static_cast<int>(state.range(1));
    Images images(w, h, kind);
    BLENDFUNCTION blend;
    blend.AlphaFormat = AC_SRC_ALPHA;
    for (auto _ : state) {
        AlphaBlend(images.dst.DC(), 0, 0, w, h, images.src.DC(), 0, 0, w, h, blend);
        benchmark::DoNotOptimize(images.dst.Bits());
    }
    SetPixels(state, w, h);
}

void BM_PixmanOver(benchmark::State& state, AlphaKind kind) {
    const int w = static_cast<int>(state.range(0)), h = static_cast<int>(state.range(1));
    std::vector<uint32_t> src = StraightSource(w, h, kind);
    for (uint32_t& p : src) {
        const uint32_t a = p >> 24;
        auto mul = [a](uint32_t c) { return (c * a + 127) / 255; };
        p = (a << 24) | (mul((p >> 16) & 0xFF) << 16) | (mul((p >> 8) & 0xFF) << 8) | mul(p & 0xFF);
    }
    std::vector<uint32_t> dst(static_cast<size_t>(w) * h, 0xFF808080);
    pixman_image_t* s = pixman_image_create_bits(PIXMAN_a8r8g8b8, w, h, src.data(), w * 4);
    pixman_image_t* d = pixman_image_create_bits(PIXMAN_a8r8g8b8, w, h, dst.data(), w * 4);
    for (auto _ : state) {
        pixman_image_composite32(PIXMAN_OP_OVER, s, nullptr, d, 0, 0, 0, 0, 0, 0, w, h);
        benchmark::DoNotOptimize(dst.data());
    }
    pixman_image_unref(s);
    pixman_image_unref(d);
    SetPixels(state, w, h);
}

void Sizes(benchmark::internal::Benchmark* b) { b->Args({256, 256})->Args({800, 600})->Args({1920, 1080}); }

// Side by side per alpha kind: project, then reference.
BENCHMARK_CAPTURE(BM_SkinBlend, random, kRandomAlpha)->Apply(Sizes);
BENCHMARK_CAPTURE(BM_DrawingLayerAlphaBlend, random, kRandomAlpha)->Apply(Sizes);
BENCHMARK_CAPTURE(BM_PixmanOver, random, kRandomAlpha)->Apply(Sizes);
BENCHMARK_CAPTURE(BM_SkinBlend, skin, kSkinAlpha)->Apply(Sizes);
BENCHMARK_CAPTURE(BM_DrawingLayerAlphaBlend, skin, kSkinAlpha)->Apply(Sizes);
BENCHMARK_CAPTURE(BM_PixmanOver, skin, kSkinAlpha)->Apply(Sizes);

}  // namespace
