#include "platform/gdi/Surface.h"

#include <new>

namespace tarvel {

namespace {
// Larger surfaces than this are refused: no screen or skin needs them, and a
// size read from a damaged file must not reserve gigabytes.
constexpr int64_t kMaxPixels = int64_t{1} << 28;
}  // namespace

Surface::Surface(int width, int height, bool bottomUp, Fill fill) : bottomUp_(bottomUp) {
    if (width <= 0 || height <= 0) return;
    const int64_t count = int64_t{width} * int64_t{height};
    if (count > kMaxPixels) return;
    const auto n = static_cast<size_t>(count);
    pixels_.reset(fill == Fill::Zero ? new (std::nothrow) uint32_t[n]() : new (std::nothrow) uint32_t[n]);
    if (!pixels_) return;
    width_ = width;
    height_ = height;
}

}  // namespace tarvel
