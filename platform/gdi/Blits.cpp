// Copying pixels between DCs: BitBlt, StretchBlt (nearest neighbour),
// AlphaBlend and TransparentBlt, all through the destination's clip.

#include <cstring>
#include <utility>
#include <vector>

#include "platform/gdi/Blend.h"
#include "platform/gdi/Paint.h"

namespace tarvel {

namespace {

constexpr uint32_t kColourBits = 0x00FFFFFF;

// Where the source pixels come from: rows of a surface, or of a private copy
// when source and destination share a surface.
struct Source {
    const uint32_t* Row(int y) const {
        return copy.empty() ? surface->Row(y) : copy.data() + size_t(y) * width;
    }
    const Surface* surface = nullptr;
    std::vector<uint32_t> copy;
    int width = 0, height = 0;
    int64_t ox = 0, oy = 0;  // source surface = logical + (ox, oy)
};

bool ResolveSource(HDC dc, Source& src) {
    Canvas c;
    if (!ResolveCanvas(dc, c)) return false;
    src.surface = c.surface;
    src.ox = c.ox;
    src.oy = c.oy;
    if (src.surface) {
        src.width = src.surface->Width();
        src.height = src.surface->Height();
    }
    return true;
}

// Output of one raster operation; `dst` is what the destination held.
uint32_t ApplyRop(uint32_t rop, uint32_t s, uint32_t dst) {
    switch (rop) {
        case SRCCOPY: return s;
        case NOTSRCCOPY: return ~s & kColourBits;
        case SRCAND: return s & dst & kColourBits;
        case SRCPAINT: return (s | dst) & kColourBits;
        case SRCINVERT: return dst ^ (s & kColourBits);
        default: return dst;
    }
}

bool NeedsSource(uint32_t rop) {
    return rop == SRCCOPY || rop == NOTSRCCOPY || rop == SRCAND || rop == SRCPAINT || rop == SRCINVERT;
}

// Maps each visible destination pixel to a source pixel and hands both to
// `op(dstPixel&, srcPixel)`. Unscaled transfers map one to one; scaled ones
// take the source pixel under the destination pixel's centre.
template <class Op>
bool TransferFrom(HDC dest, int x, int y, int w, int h, Source& src, int sx, int sy, int sw, int sh,
                  Op&& op) {
    if (w < 0 || h < 0 || sw < 0 || sh < 0) return false;
    Canvas c;
    if (!ResolveCanvas(dest, c)) return false;
    if (w == 0 || h == 0 || sw == 0 || sh == 0 || !c.surface || !src.surface) return true;

    const int64_t dl = c.X(x), dt = c.Y(y);
    const TRect visible = Intersect(c.limit, SurfaceRect(c, x, y, int64_t{x} + w, int64_t{y} + h));
    if (visible.IsEmpty()) return true;
    const int64_t sl = src.ox + sx, st = src.oy + sy;

    auto mapCol = [&](int64_t dx) -> int64_t {
        if (w == sw) return sl + (dx - dl);
        return sl + static_cast<int64_t>((static_cast<__int128>(2 * (dx - dl) + 1) * sw) / (2 * int64_t{w}));
    };
    auto mapRow = [&](int64_t dy) -> int64_t {
        if (h == sh) return st + (dy - dt);
        return st + static_cast<int64_t>((static_cast<__int128>(2 * (dy - dt) + 1) * sh) / (2 * int64_t{h}));
    };

    // Kept between calls: a blit allocates nothing once warm.
    thread_local std::vector<int> columns;
    columns.resize(static_cast<size_t>(visible.Width()));
    for (int dx = visible.left; dx < visible.right; ++dx) {
        const int64_t col = mapCol(dx);
        columns[static_cast<size_t>(dx - visible.left)] =
            (col >= 0 && col < src.width) ? static_cast<int>(col) : -1;
    }

    // Reading and writing the same pixels: work from a copy of the source.
    if (src.surface == c.surface) {
        src.copy.resize(static_cast<size_t>(src.width) * static_cast<size_t>(src.height));
        for (int row = 0; row < src.height; ++row)
            std::memcpy(src.copy.data() + size_t(row) * src.width, src.surface->Row(row),
                        src.surface->StrideBytes());
    }

    // Unscaled: the visible columns that have a source form one run.
    int64_t runFrom = visible.left, runTo = visible.right;
    if (w == sw) {
        runFrom = std::max<int64_t>(visible.left, dl - sl);
        runTo = std::min<int64_t>(visible.right, dl - sl + src.width);
    }
    for (int dy = visible.top; dy < visible.bottom; ++dy) {
        const int64_t row = mapRow(dy);
        if (row < 0 || row >= src.height) continue;
        const uint32_t* in = src.Row(static_cast<int>(row));
        uint32_t* out = c.surface->Row(dy);
        if (w == sw) {
            const int64_t shift = sl - dl;  // destination column + shift = source column
            ForVisible(c, dy, runFrom, runTo, [&](int a, int b) {
                c.dc->Damage(dy, a, b);
                if constexpr (requires { op.Line(out, in, 0); })
                    op.Line(out + a, in + a + shift, b - a);
                else
                    for (int dx = a; dx < b; ++dx) op(out[dx], in[dx + shift]);
            });
            continue;
        }
        ForVisible(c, dy, visible.left, visible.right, [&](int a, int b) {
            c.dc->Damage(dy, a, b);
            for (int dx = a; dx < b; ++dx) {
                const int col = columns[static_cast<size_t>(dx - visible.left)];
                if (col >= 0) op(out[dx], in[col]);
            }
        });
    }
    return true;
}

template <class Op>
bool Transfer(HDC dest, int x, int y, int w, int h, HDC srcDc, int sx, int sy, int sw, int sh, Op&& op) {
    Source src;
    if (!ResolveSource(srcDc, src)) return false;
    return TransferFrom(dest, x, y, w, h, src, sx, sy, sw, sh, std::forward<Op>(op));
}

// The source over the destination by straight alpha: the constant times,
// when asked, each source pixel's own. Unscaled runs go through the line loop.
struct BlendOver {
    void operator()(uint32_t& d, uint32_t s) const { BlendOverLine(&s, &d, 1, constant, perPixel); }
    void Line(uint32_t* d, const uint32_t* s, int count) const {
        BlendOverLine(s, d, count, constant, perPixel);
    }
    uint32_t constant;
    bool perPixel;
};

}  // namespace

bool DrawSurfaceImage(HDC dc, int x, int y, int width, int height, const Surface& image, ImageDraw how) {
    Source src;
    src.surface = &image;
    src.width = image.Width();
    src.height = image.Height();
    const int w = image.Width(), h = image.Height();
    switch (how) {
        case ImageDraw::Blend:
            return TransferFrom(dc, x, y, width, height, src, 0, 0, w, h, BlendOver{255, true});
        case ImageDraw::Copy:
            return TransferFrom(dc, x, y, width, height, src, 0, 0, w, h,
                                [](uint32_t& d, uint32_t s) { d = s; });
        case ImageDraw::Mask:
            return TransferFrom(dc, x, y, width, height, src, 0, 0, w, h, [](uint32_t& d, uint32_t s) {
                d = ApplyRop(SRCAND, (s >> 24) ? 0 : kColourBits, d);
            });
    }
    return false;
}

bool BitBlt(HDC dest, int x, int y, int width, int height, HDC src, int srcX, int srcY, uint32_t rop) {
    if (!NeedsSource(rop)) return PatBlt(dest, x, y, width, height, rop);
    if (rop == SRCCOPY)
        return Transfer(dest, x, y, width, height, src, srcX, srcY, width, height,
                        [](uint32_t& d, uint32_t s) { d = s; });
    return Transfer(dest, x, y, width, height, src, srcX, srcY, width, height,
                    [rop](uint32_t& d, uint32_t s) { d = ApplyRop(rop, s, d); });
}

bool StretchBlt(HDC dest, int x, int y, int width, int height, HDC src, int srcX, int srcY, int srcWidth,
                int srcHeight, uint32_t rop) {
    if (!NeedsSource(rop)) return PatBlt(dest, x, y, width, height, rop);
    return Transfer(dest, x, y, width, height, src, srcX, srcY, srcWidth, srcHeight,
                    [rop](uint32_t& d, uint32_t s) { d = ApplyRop(rop, s, d); });
}

bool AlphaBlend(HDC dest, int x, int y, int width, int height, HDC src, int srcX, int srcY, int srcWidth,
                int srcHeight, BLENDFUNCTION blend) {
    if (blend.BlendOp != AC_SRC_OVER) return false;
    return Transfer(dest, x, y, width, height, src, srcX, srcY, srcWidth, srcHeight,
                    BlendOver{blend.SourceConstantAlpha, (blend.AlphaFormat & AC_SRC_ALPHA) != 0});
}

bool TransparentBlt(HDC dest, int x, int y, int width, int height, HDC src, int srcX, int srcY, int srcWidth,
                    int srcHeight, COLORREF key) {
    const uint32_t keyPixel = ColorRefToPixel(key & kColourBits);
    return Transfer(dest, x, y, width, height, src, srcX, srcY, srcWidth, srcHeight,
                    [keyPixel](uint32_t& d, uint32_t s) {
                        if ((s & kColourBits) != keyPixel) d = s;
                    });
}

}  // namespace tarvel
