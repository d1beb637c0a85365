// Screenshots of the whole screen, for the backends that keep or read back
// the pixels of each top-level window.

#include <algorithm>

#include "platform/gdi/Blend.h"
#include "platform/gdi/Gdi.h"
#include "platform/winsys/Backend.h"

namespace tarvel {

namespace {

constexpr uint32_t kOpaque = 0xFF000000u;
constexpr uint32_t kColourBits = 0x00FFFFFFu;

bool InShape(const std::vector<TRect>* shape, int x, int y) {
    if (!shape || shape->empty()) return true;
    return std::any_of(shape->begin(), shape->end(), [x, y](const TRect& r) { return r.Contains({x, y}); });
}

// How much of the layer's pixel covers what lies below, 0..255.
uint32_t Coverage(const ScreenLayer& layer, uint32_t pixel, int x, int y) {
    if (layer.colorKeyed && (pixel & kColourBits) == layer.colorKey) return 0;
    return layer.perPixelAlpha ? MulDiv255(PixelAlpha(layer.alphaMask, pixel, x, y), layer.alpha)
                               : layer.alpha;
}

}  // namespace

ScreenLayer LayerOf(const TopLevelInfo& info, const Surface* pixels) {
    return ScreenLayer{pixels,          info.bounds,   &info.shape,        info.alpha,
                       info.colorKeyed, info.colorKey, info.perPixelAlpha, info.alphaMask.get()};
}

std::unique_ptr<Surface> ComposeScreen(const TRect& screen, const std::vector<ScreenLayer>& bottomFirst) {
    auto out = std::make_unique<Surface>(screen.Width(), screen.Height());
    if (!out->Valid()) return nullptr;
    const uint32_t desktop = kOpaque | ColorRefToPixel(GetSysColor(COLOR_BACKGROUND));
    for (int y = 0; y < out->Height(); ++y) std::fill_n(out->Row(y), out->Width(), desktop);
    for (const ScreenLayer& layer : bottomFirst) {
        if (!layer.pixels) continue;
        const Surface& src = *layer.pixels;
        TRect b = layer.bounds;
        b.Offset(-screen.left, -screen.top);
        TRect on =
            Intersect(Intersect(b, out->BoundsRect()), Bounds(b.left, b.top, src.Width(), src.Height()));
        for (int y = on.top; y < on.bottom; ++y) {
            const uint32_t* from = src.Row(y - b.top);
            uint32_t* to = out->Row(y);
            for (int x = on.left; x < on.right; ++x) {
                if (!InShape(layer.shape, x - b.left, y - b.top)) continue;
                const uint32_t pixel = from[x - b.left];
                const uint32_t w = Coverage(layer, pixel, x - b.left, y - b.top);
                if (w == 255) {
                    to[x] = pixel | kOpaque;
                } else if (w != 0) {
                    to[x] = MixPixels(pixel | kOpaque, to[x], w);
                }
            }
        }
    }
    return out;
}

}  // namespace tarvel
