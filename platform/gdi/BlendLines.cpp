// The line loops behind Blend.h. A vector loop widens each byte to a 16-bit
// lane and does there what the portable loop does per channel. Every sum of
// the formulas stays below 2^16, so products that wrap at 16 bits still give
// the exact value and the pixels match the portable loop bit for bit.
#include <algorithm>

#include "platform/gdi/Blend.h"

#if defined(__SSE2__)
#include <immintrin.h>
#define TARVEL_AVX2 __attribute__((target("avx2")))
#endif

namespace tarvel {

uint32_t BlendTruncated(uint32_t src, uint32_t dst) {
    const uint32_t a = src >> 24;
    if (a == 0) return dst;
    if (a == 255) return src;
    const uint32_t ia = 255 - a;
    const uint32_t rb = (((src & 0xFF00FFu) * a + (dst & 0xFF00FFu) * ia) >> 8) & 0xFF00FFu;
    const uint32_t g = (((src & 0xFF00u) * a + (dst & 0xFF00u) * ia) >> 8) & 0xFF00u;
    return 0xFF000000u | rb | g;
}

namespace {

constexpr uint32_t kAlpha = 0xFF000000u;

uint32_t OverPixel(uint32_t s, uint32_t d, uint32_t constant, bool perPixel) {
    const uint32_t w = perPixel ? MulDiv255(s >> 24, constant) : constant;
    return w == 0 ? d : MixPixels(s | kAlpha, d, w);
}

void OverPortable(const uint32_t* src, uint32_t* dst, int count, uint32_t constant, bool perPixel) {
    for (int i = 0; i < count; ++i) dst[i] = OverPixel(src[i], dst[i], constant, perPixel);
}

void TruncatedPortable(const uint32_t* src, uint32_t* dst, int count) {
    for (int i = 0; i < count; ++i) dst[i] = BlendTruncated(src[i], dst[i]);
}

#if defined(__SSE2__)

// ---- SSE2: four pixels a step ----

__m128i Load(const uint32_t* p) { return _mm_loadu_si128(reinterpret_cast<const __m128i*>(p)); }
void Store(uint32_t* p, __m128i v) { _mm_storeu_si128(reinterpret_cast<__m128i*>(p), v); }

// The alpha lane of each of the two widened pixels, in all four of its lanes.
__m128i AlphaLanes(__m128i wide) { return _mm_shufflehi_epi16(_mm_shufflelo_epi16(wide, 0xFF), 0xFF); }

// f * w + b * (255 - w), computed as b * 255 + (f - b) * w.
__m128i Mix16(__m128i f, __m128i b, __m128i w) {
    return _mm_add_epi16(_mm_sub_epi16(_mm_slli_epi16(b, 8), b), _mm_mullo_epi16(_mm_sub_epi16(f, b), w));
}

// (x + 128) / 255 rounded, x + 128 given: (t + (t >> 8)) >> 8.
__m128i Div255(__m128i t) { return _mm_srli_epi16(_mm_add_epi16(t, _mm_srli_epi16(t, 8)), 8); }

__m128i Select(__m128i mask, __m128i yes, __m128i no) {
    return _mm_or_si128(_mm_and_si128(mask, yes), _mm_andnot_si128(mask, no));
}

void TruncatedSse2(const uint32_t* src, uint32_t* dst, int count) {
    const __m128i zero = _mm_setzero_si128(), alpha = _mm_set1_epi32(static_cast<int>(kAlpha));
    int i = 0;
    for (; i + 4 <= count; i += 4) {
        const __m128i s = Load(src + i);
        const __m128i a = _mm_and_si128(s, alpha);
        const __m128i clear = _mm_cmpeq_epi32(a, zero), full = _mm_cmpeq_epi32(a, alpha);
        if (_mm_movemask_epi8(clear) == 0xFFFF) continue;
        if (_mm_movemask_epi8(full) == 0xFFFF) {
            Store(dst + i, s);
            continue;
        }
        const __m128i d = Load(dst + i);
        const __m128i sl = _mm_unpacklo_epi8(s, zero), sh = _mm_unpackhi_epi8(s, zero);
        const __m128i lo = _mm_srli_epi16(Mix16(sl, _mm_unpacklo_epi8(d, zero), AlphaLanes(sl)), 8);
        const __m128i hi = _mm_srli_epi16(Mix16(sh, _mm_unpackhi_epi8(d, zero), AlphaLanes(sh)), 8);
        const __m128i mixed = _mm_or_si128(_mm_packus_epi16(lo, hi), alpha);
        Store(dst + i, Select(clear, d, Select(full, s, mixed)));
    }
    TruncatedPortable(src + i, dst + i, count - i);
}

void OverSse2(const uint32_t* src, uint32_t* dst, int count, uint32_t constant, bool perPixel) {
    const __m128i zero = _mm_setzero_si128(), alpha = _mm_set1_epi32(static_cast<int>(kAlpha));
    const __m128i half = _mm_set1_epi16(128), c = _mm_set1_epi16(static_cast<short>(constant));
    // At the full constant the weight is the pixel's own alpha, and opaque
    // pixels come out as they are. A weight of 0 gives the destination back
    // exactly, so only whole steps of clear pixels are worth skipping.
    const bool ownAlpha = perPixel && constant == 255;
    auto weights = [&](__m128i wide) {
        if (!perPixel) return c;
        return ownAlpha ? AlphaLanes(wide)
                        : Div255(_mm_add_epi16(_mm_mullo_epi16(AlphaLanes(wide), c), half));
    };
    int i = 0;
    for (; i + 4 <= count; i += 4) {
        const __m128i s = Load(src + i);
        if (perPixel) {
            const __m128i a = _mm_and_si128(s, alpha);
            if (_mm_movemask_epi8(_mm_cmpeq_epi32(a, zero)) == 0xFFFF) continue;
            if (ownAlpha && _mm_movemask_epi8(_mm_cmpeq_epi32(a, alpha)) == 0xFFFF) {
                Store(dst + i, s);
                continue;
            }
        }
        const __m128i d = Load(dst + i), f = _mm_or_si128(s, alpha);
        const __m128i wl = weights(_mm_unpacklo_epi8(s, zero)), wh = weights(_mm_unpackhi_epi8(s, zero));
        const __m128i lo =
            Div255(_mm_add_epi16(Mix16(_mm_unpacklo_epi8(f, zero), _mm_unpacklo_epi8(d, zero), wl), half));
        const __m128i hi =
            Div255(_mm_add_epi16(Mix16(_mm_unpackhi_epi8(f, zero), _mm_unpackhi_epi8(d, zero), wh), half));
        Store(dst + i, _mm_packus_epi16(lo, hi));
    }
    OverPortable(src + i, dst + i, count - i, constant, perPixel);
}

// ---- AVX2: the same, eight pixels a step ----

TARVEL_AVX2 __m256i Load8(const uint32_t* p) {
    return _mm256_loadu_si256(reinterpret_cast<const __m256i*>(p));
}
TARVEL_AVX2 void Store8(uint32_t* p, __m256i v) { _mm256_storeu_si256(reinterpret_cast<__m256i*>(p), v); }
TARVEL_AVX2 __m256i AlphaLanes8(__m256i wide) {
    return _mm256_shufflehi_epi16(_mm256_shufflelo_epi16(wide, 0xFF), 0xFF);
}
TARVEL_AVX2 __m256i Mix16x16(__m256i f, __m256i b, __m256i w) {
    return _mm256_add_epi16(_mm256_sub_epi16(_mm256_slli_epi16(b, 8), b),
                            _mm256_mullo_epi16(_mm256_sub_epi16(f, b), w));
}
TARVEL_AVX2 __m256i Div255x16(__m256i t) {
    return _mm256_srli_epi16(_mm256_add_epi16(t, _mm256_srli_epi16(t, 8)), 8);
}
TARVEL_AVX2 __m256i Select8(__m256i mask, __m256i yes, __m256i no) {
    return _mm256_blendv_epi8(no, yes, mask);
}

TARVEL_AVX2 void TruncatedAvx2(const uint32_t* src, uint32_t* dst, int count) {
    const __m256i zero = _mm256_setzero_si256(), alpha = _mm256_set1_epi32(static_cast<int>(kAlpha));
    int i = 0;
    for (; i + 8 <= count; i += 8) {
        const __m256i s = Load8(src + i);
        const __m256i a = _mm256_and_si256(s, alpha);
        const __m256i clear = _mm256_cmpeq_epi32(a, zero), full = _mm256_cmpeq_epi32(a, alpha);
        if (_mm256_movemask_epi8(clear) == -1) continue;
        if (_mm256_movemask_epi8(full) == -1) {
            Store8(dst + i, s);
            continue;
        }
        const __m256i d = Load8(dst + i);
        const __m256i sl = _mm256_unpacklo_epi8(s, zero), sh = _mm256_unpackhi_epi8(s, zero);
        const __m256i lo = _mm256_srli_epi16(Mix16x16(sl, _mm256_unpacklo_epi8(d, zero), AlphaLanes8(sl)), 8);
        const __m256i hi = _mm256_srli_epi16(Mix16x16(sh, _mm256_unpackhi_epi8(d, zero), AlphaLanes8(sh)), 8);
        const __m256i mixed = _mm256_or_si256(_mm256_packus_epi16(lo, hi), alpha);
        Store8(dst + i, Select8(clear, d, Select8(full, s, mixed)));
    }
    TruncatedSse2(src + i, dst + i, count - i);
}

TARVEL_AVX2 void OverAvx2(const uint32_t* src, uint32_t* dst, int count, uint32_t constant, bool perPixel) {
    const __m256i zero = _mm256_setzero_si256(), alpha = _mm256_set1_epi32(static_cast<int>(kAlpha));
    const __m256i half = _mm256_set1_epi16(128), c = _mm256_set1_epi16(static_cast<short>(constant));
    const bool ownAlpha = perPixel && constant == 255;
    auto weights = [&](__m256i wide) TARVEL_AVX2 {
        if (!perPixel) return c;
        const __m256i a = AlphaLanes8(wide);
        return ownAlpha ? a : Div255x16(_mm256_add_epi16(_mm256_mullo_epi16(a, c), half));
    };
    int i = 0;
    for (; i + 8 <= count; i += 8) {
        const __m256i s = Load8(src + i);
        if (perPixel) {
            const __m256i a = _mm256_and_si256(s, alpha);
            if (_mm256_movemask_epi8(_mm256_cmpeq_epi32(a, zero)) == -1) continue;
            if (ownAlpha && _mm256_movemask_epi8(_mm256_cmpeq_epi32(a, alpha)) == -1) {
                Store8(dst + i, s);
                continue;
            }
        }
        const __m256i d = Load8(dst + i), f = _mm256_or_si256(s, alpha);
        const __m256i wl = weights(_mm256_unpacklo_epi8(s, zero)),
                      wh = weights(_mm256_unpackhi_epi8(s, zero));
        const __m256i lo = Div255x16(_mm256_add_epi16(
            Mix16x16(_mm256_unpacklo_epi8(f, zero), _mm256_unpacklo_epi8(d, zero), wl), half));
        const __m256i hi = Div255x16(_mm256_add_epi16(
            Mix16x16(_mm256_unpackhi_epi8(f, zero), _mm256_unpackhi_epi8(d, zero), wh), half));
        Store8(dst + i, _mm256_packus_epi16(lo, hi));
    }
    OverSse2(src + i, dst + i, count - i, constant, perPixel);
}

#endif

using OverLoop = void (*)(const uint32_t*, uint32_t*, int, uint32_t, bool);
using TruncatedLoop = void (*)(const uint32_t*, uint32_t*, int);

struct Loops {
    OverLoop over;
    TruncatedLoop truncated;
};

Loops LoopsOf(PixelPath path) {
    const std::vector<PixelPath>& paths = PixelPaths();
    if (std::find(paths.begin(), paths.end(), path) == paths.end()) path = PixelPath::Portable;
    switch (path) {
#if defined(__SSE2__)
        case PixelPath::Sse2: return {&OverSse2, &TruncatedSse2};
        case PixelPath::Avx2: return {&OverAvx2, &TruncatedAvx2};
#endif
        default: return {&OverPortable, &TruncatedPortable};
    }
}

const Loops& FastestLoops() {
    static const Loops loops = LoopsOf(PixelPaths().back());
    return loops;
}

}  // namespace

const std::vector<PixelPath>& PixelPaths() {
    static const std::vector<PixelPath> paths = [] {
        std::vector<PixelPath> found{PixelPath::Portable};
#if defined(__SSE2__)
        found.push_back(PixelPath::Sse2);
        __builtin_cpu_init();
        if (__builtin_cpu_supports("avx2")) found.push_back(PixelPath::Avx2);
#endif
        return found;
    }();
    return paths;
}

void BlendOverLine(const uint32_t* src, uint32_t* dst, int count, uint32_t constant, bool perPixel) {
    if (count > 0 && constant != 0) FastestLoops().over(src, dst, count, constant, perPixel);
}

void BlendOverLine(PixelPath path, const uint32_t* src, uint32_t* dst, int count, uint32_t constant,
                   bool perPixel) {
    if (count > 0 && constant != 0) LoopsOf(path).over(src, dst, count, constant, perPixel);
}

void BlendTruncatedLine(const uint32_t* src, uint32_t* dst, int count) {
    if (count > 0) FastestLoops().truncated(src, dst, count);
}

void BlendTruncatedLine(PixelPath path, const uint32_t* src, uint32_t* dst, int count) {
    if (count > 0) LoopsOf(path).truncated(src, dst, count);
}

}  // namespace tarvel
