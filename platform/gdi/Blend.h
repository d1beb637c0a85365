#pragma once
// The one blend routine of the drawing layer: portable, two channels per
// multiply, exact rounding of x / 255.

#include <cstdint>

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

}  // namespace tarvel
