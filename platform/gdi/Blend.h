#pragma once
// The blend routines of the drawing layer. One formula each, with the same
// integer arithmetic on every processor: a portable loop, and vector loops
// (SSE2, the x86-64 baseline, and AVX2 where the processor has it) that give
// the very same pixels.

#include <cstdint>
#include <vector>

namespace tarvel {

// Each of the four bytes: (fore * w + back * (255 - w)) / 255, rounded.
inline uint32_t MixPixels(uint32_t fore, uint32_t back, uint32_t w) {
    const uint32_t iw = 255 - w;
    uint32_t rb = (fore & 0x00FF00FFu) * w + (back & 0x00FF00FFu) * iw + 0x00800080u;
    uint32_t ag = ((fore >> 8) & 0x00FF00FFu) * w + ((back >> 8) & 0x00FF00FFu) * iw + 0x00800080u;
    rb = ((rb + ((rb >> 8) & 0x00FF00FFu)) >> 8) & 0x00FF00FFu;
    ag = (ag + ((ag >> 8) & 0x00FF00FFu)) & 0xFF00FF00u;
    return rb | ag;
}

// a * b / 255, rounded, for bytes.
inline uint32_t MulDiv255(uint32_t a, uint32_t b) {
    const uint32_t t = a * b + 128;
    return (t + (t >> 8)) >> 8;
}

// The instruction sets a line of pixels can be blended with.
enum class PixelPath { Portable, Sse2, Avx2 };

// The paths this processor runs, Portable first; the last is the one used.
const std::vector<PixelPath>& PixelPaths();

// AlphaBlend's over: w = constant, times the source pixel's alpha / 255
// when perPixel; a pixel with w = 0 is left alone, the others become
// MixPixels(src | 0xFF000000, dst, w).
void BlendOverLine(const uint32_t* src, uint32_t* dst, int count, uint32_t constant, bool perPixel);
void BlendOverLine(PixelPath path, const uint32_t* src, uint32_t* dst, int count, uint32_t constant,
                   bool perPixel);

// The skin's blend, truncating: source alpha 0 leaves dst, 255 copies src,
// anything between gives each colour (src * a + dst * (255 - a)) >> 8 with
// alpha 255.
uint32_t BlendTruncated(uint32_t src, uint32_t dst);
void BlendTruncatedLine(const uint32_t* src, uint32_t* dst, int count);
void BlendTruncatedLine(PixelPath path, const uint32_t* src, uint32_t* dst, int count);

}  // namespace tarvel
