#include "skin/extras/te_effect_list.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <numeric>
#include <vector>

#include "skin/core/te_bitmap.h"
#include "skin/core/te_utils_draw.h"

namespace tarvel {

void FadeProc(uint8_t* mask, int width, int height, uint8_t progress) {
    if (progress == 0) return;
    const auto alpha = static_cast<uint8_t>(std::nearbyint(progress / 100.0 * 255));
    std::fill(mask, mask + static_cast<ptrdiff_t>(width) * height, alpha);
}

namespace {

// Halves go to the even neighbour.
int Rnd(double v) { return static_cast<int>(std::nearbyint(v)); }

uint8_t FadeAlpha(int p) { return static_cast<uint8_t>(MulDiv(p, 255, 100)); }

// A leading edge that is soft while the part behind it turns opaque: ring k
// of n+1, innermost first.
uint8_t SmoothAlpha(int p, int k, double step) {
    if (p == 100) return 255;
    const int a = MulDiv(Rnd(2.0 * p - k * step), 255, 100);
    return static_cast<uint8_t>(std::clamp(a, 0, 255));
}
double SmoothStep(int p, int n) { return n == 0 ? 2.0 * p : 2.0 * p / n; }

// A small generator of the effects' own: the scattering effects seed it with
// the grid's size on every frame and so pick the same cells each time,
// without disturbing anyone else's randomness.
class TEffectRandom {
public:
    explicit TEffectRandom(uint32_t seed) : state_(seed) {}
    // 0..range-1; 0 for an empty range.
    int Next(int range) {
        state_ = state_ * 6364136223846793005ULL + 1442695040888963407ULL;
        return static_cast<int>(((state_ >> 32) * static_cast<uint64_t>(std::max(range, 0))) >> 32);
    }

private:
    uint64_t state_;
};

// The mask with the grid's size; cells off the grid are left alone.
struct TGrid {
    uint8_t* mask;
    int w;
    int h;

    bool Inside(int x, int y) const { return x >= 0 && y >= 0 && x < w && y < h; }
    void Plot(int x, int y, uint8_t a) const {
        if (Inside(x, y)) mask[static_cast<ptrdiff_t>(y) * w + x] = a;
    }
    int X() const { return w / 2; }
    int Y() const { return h / 2; }
    int M() const { return std::max(w, h); }
    double E() const { return std::sqrt(double(w) * w + double(h) * h); }
    int D() const { return Rnd(E()); }

    // A Bresenham walk that plots both ends.
    void Line(int x0, int y0, int x1, int y1, uint8_t a) const {
        Plot(x0, y0, a);
        const int dx = std::abs(x1 - x0), dy = std::abs(y1 - y0), len = std::max(dx, dy);
        const int sx = x1 > x0 ? 1 : -1, sy = y1 > y0 ? 1 : -1;
        int ex = 0, ey = 0, x = x0, y = y0;
        for (int i = 0; i <= len; ++i) {
            bool stepped = false;
            ex += dx;
            if (ex > len) {
                ex -= len;
                x += sx;
                stepped = true;
            }
            ey += dy;
            if (ey > len) {
                ey -= len;
                y += sy;
                stepped = true;
            }
            if (stepped) Plot(x, y, a);
        }
    }
    // Straight lines plot what the walk would, without walking off the grid.
    void Row(int y, int x0, int x1, uint8_t a) const {
        if (y < 0 || y >= h) return;
        x0 = std::max(x0, 0);
        x1 = std::min(x1, w - 1);
        if (x0 <= x1) std::memset(mask + static_cast<ptrdiff_t>(y) * w + x0, a, size_t(x1 - x0 + 1));
    }
    void Column(int x, int y0, int y1, uint8_t a) const {
        if (x < 0 || x >= w) return;
        for (int y = std::max(y0, 0); y <= std::min(y1, h - 1); ++y)
            mask[static_cast<ptrdiff_t>(y) * w + x] = a;
    }
    // A midpoint ring; rings of radius 0 to r together fill a disc.
    void Ring(int cx, int cy, int r, uint8_t a) const {
        int x = 0, y = r, d = 3 - 2 * r;
        auto octants = [&](int px, int py) {
            for (int t : {px, px + 1}) {
                Plot(cx + t, cy + py, a);
                Plot(cx - t, cy + py, a);
                Plot(cx + t, cy - py, a);
                Plot(cx - t, cy - py, a);
            }
            for (int t : {py, py + 1}) {
                Plot(cx + t, cy + px, a);
                Plot(cx - t, cy + px, a);
                Plot(cx + t, cy - px, a);
                Plot(cx - t, cy - px, a);
            }
        };
        while (x < y) {
            octants(x, y);
            if (d < 0) {
                d += 4 * x + 6;
            } else {
                d += 4 * (x - y) + 10;
                --y;
            }
            ++x;
        }
        if (x == y) octants(x, y);
    }
};

// Proportions that keep a growing shape in the grid's aspect: the step
// across and the step down per ring.
struct TAspect {
    double across;
    double down;
};
TAspect AspectOf(int w, int h, bool squareIsWide = false) {
    if (h < w || (squareIsWide && h == w)) return {1.0, double(h) / w};
    return {double(w) / h, 1.0};
}

// ---- complements: an In effect is its Out partner run backwards ------------------------------

void ComplementFade(uint8_t* mask, int count, int p) {
    const uint8_t a = FadeAlpha(p);
    for (int i = 0; i < count; ++i) mask[i] = mask[i] ? 0 : a;
}
void ComplementSlide(uint8_t* mask, int count) {
    for (int i = 0; i < count; ++i) mask[i] = mask[i] ? 0 : 255;
}
void ComplementSmooth(uint8_t* mask, int count) {
    for (int i = 0; i < count; ++i) mask[i] = static_cast<uint8_t>(255 - mask[i]);
}

enum TAlphaMode { amSlide, amFade, amSmooth };

using TMaskFn = void (*)(uint8_t*, int, int, uint8_t);

template <TMaskFn Out, TAlphaMode Mode>
void ComplementOf(uint8_t* mask, int w, int h, uint8_t p) {
    if (p == 0) return;
    Out(mask, w, h, static_cast<uint8_t>(100 - p));
    const int count = w * h;
    switch (Mode) {
        case amSlide: ComplementSlide(mask, count); break;
        case amFade: ComplementFade(mask, count, p); break;
        case amSmooth: ComplementSmooth(mask, count); break;
    }
}

uint8_t FlatAlpha(TAlphaMode mode, int p) { return mode == amSlide ? 255 : FadeAlpha(p); }

// ---- diagonals --------------------------------------------------------------------------------

void SmoothDiagonal(uint8_t* mask, int w, int h, uint8_t p) {
    if (p == 0) return;
    const TGrid g{mask, w, h};
    const int n = MulDiv(p, Rnd(2.5 * g.E()), 100);
    const TAspect s = AspectOf(w, h);
    const double step = SmoothStep(p, n);
    for (int k = 0; k <= n; ++k) g.Line(0, Rnd(k * s.down), Rnd(k * s.across), 0, SmoothAlpha(p, k, step));
}

// Two soft fronts from opposite corners: towards the middle (in) or away
// from the diagonal (out).
template <bool In>
void SmoothDiagonalBand(uint8_t* mask, int w, int h, uint8_t p) {
    if (p == 0) return;
    const TGrid g{mask, w, h};
    const int b = MulDiv(g.D(), p, 100);
    // A small grid or an early frame gives no band yet: one line at full strength.
    const double step = (b == 0 ? 2.0 * p : 2.0 * p / b) / 2;
    const TAspect s = AspectOf(w, h, true);
    const int limit = std::min(2 * b, g.M() - 1);
    for (int k = 0; k <= limit; ++k) {
        const uint8_t a = SmoothAlpha(p, k, step);
        const int fk = Rnd(k * s.across), gk = Rnd(k * s.down);
        if (In) {
            g.Line(0, h - 1 - gk, fk, h - 1, a);
            g.Line(w - fk, 0, w - 1, gk, a);
        } else {
            g.Line(0, h - 1 - gk, w - fk, 0, a);
            g.Line(fk, h - 1, w - 1, gk, a);
        }
    }
}

// Walks two counters from 0 to their ends together: the farther one steps
// every time, the other until it has arrived.
template <class F>
void WalkPair(int endA, int endB, F&& draw) {
    for (int t = 0; t <= std::max(endA, endB); ++t) draw(std::min(t, endA), std::min(t, endB));
}

template <TAlphaMode Mode>
void FlatDiagonal(uint8_t* mask, int w, int h, uint8_t p) {
    if (p == 0) return;
    const TGrid g{mask, w, h};
    const uint8_t a = FlatAlpha(Mode, p);
    const int c = MulDiv(w - 1, p, 100), d = MulDiv(h - 1, p, 100);
    WalkPair(2 * d, 2 * c, [&](int k, int l) { g.Line(0, k, l, 0, a); });
}

template <TAlphaMode Mode>
void FlatDiagonalIn(uint8_t* mask, int w, int h, uint8_t p) {
    if (p == 0) return;
    const TGrid g{mask, w, h};
    const uint8_t a = FlatAlpha(Mode, p);
    const int down = Rnd(p / 100.0 * (h - 1)), across = Rnd(p / 100.0 * (w - 1));
    WalkPair(down, across, [&](int l, int m) {
        g.Line(0, h - 1 - l, m, h - 1, a);
        g.Line(w - 1 - m, 0, w - 1, l, a);
    });
}

template <TAlphaMode Mode>
void FlatDiagonalOut(uint8_t* mask, int w, int h, uint8_t p) {
    if (p == 0) return;
    const TGrid g{mask, w, h};
    const uint8_t a = FlatAlpha(Mode, p);
    const int down = Rnd(p / 100.0 * (h - 1)), across = Rnd(p / 100.0 * (w - 1));
    WalkPair(down, across, [&](int l, int k) {
        g.Line(0, l, w - 1 - k, h - 1, a);
        g.Line(k, 0, w - 1, h - 1 - l, a);
    });
}

// ---- rows -------------------------------------------------------------------------------------

void SmoothDown(uint8_t* mask, int w, int h, uint8_t p) {
    if (p == 0) return;
    const TGrid g{mask, w, h};
    const int n = MulDiv(Rnd(1.5 * h), p, 100);
    const double step = SmoothStep(p, n);
    for (int k = 0; k <= n; ++k) g.Row(k, 0, w - 1, SmoothAlpha(p, k, step));
}

template <bool In>
void SmoothRows(uint8_t* mask, int w, int h, uint8_t p) {
    if (p == 0) return;
    const TGrid g{mask, w, h};
    const int n = MulDiv(Rnd(0.8 * h), p, 100), y = g.Y();
    const double step = SmoothStep(p, n);
    for (int k = 0; k <= std::min(n, y); ++k) {
        const uint8_t a = SmoothAlpha(p, k, step);
        g.Row(In ? k : y - k, 0, w - 1, a);
        g.Row(In ? h - 1 - k : y + k, 0, w - 1, a);
    }
}

template <TAlphaMode Mode>
void FlatDown(uint8_t* mask, int w, int h, uint8_t p) {
    if (p == 0) return;
    const TGrid g{mask, w, h};
    const uint8_t a = FlatAlpha(Mode, p);
    for (int y = 0; y <= MulDiv(p, h - 1, 100); ++y) g.Row(y, 0, w - 1, a);
}

template <TAlphaMode Mode>
void FlatIn(uint8_t* mask, int w, int h, uint8_t p) {
    if (p == 0) return;
    const TGrid g{mask, w, h};
    const uint8_t a = FlatAlpha(Mode, p);
    const int reach = MulDiv(p, h / 2, 100);
    for (int k = 0; k <= reach; ++k) {
        g.Row(h - 1 - k, 0, w - 1, a);
        g.Row(k, 0, w - 1, a);
    }
}

template <TAlphaMode Mode>
void FlatOut(uint8_t* mask, int w, int h, uint8_t p) {
    if (p == 0) return;
    const TGrid g{mask, w, h};
    const uint8_t a = FlatAlpha(Mode, p);
    const int reach = MulDiv(p, h / 2, 100), y = g.Y();
    for (int k = 0; k <= reach; ++k) {
        g.Row(y - k, 0, w - 1, a);
        g.Row(y + k, 0, w - 1, a);
    }
}

// ---- crosses and rectangles -------------------------------------------------------------------

void SmoothCrossOut(uint8_t* mask, int w, int h, uint8_t p) {
    if (p == 0) return;
    const TGrid g{mask, w, h};
    const int n = MulDiv(p, Rnd(2.5 * g.M()), 100) / 2, X = g.X(), Y = g.Y();
    const TAspect s = AspectOf(w, h);
    const double step = SmoothStep(p, n);
    for (int k = 0; k <= n; ++k) {
        const uint8_t alpha = SmoothAlpha(p, k, step);
        const int a = Rnd(k * s.across), b = Rnd(k * s.down), a2 = a / 2, b2 = b / 2;
        // The outline of a plus sign, clockwise from the top bar's left end.
        const int corners[12][2] = {{X - a2, Y - b},  {X + a2, Y - b},  {X + a2, Y - b2}, {X + a, Y - b2},
                                    {X + a, Y + b2},  {X + a2, Y + b2}, {X + a2, Y + b},  {X - a2, Y + b},
                                    {X - a2, Y + b2}, {X - a, Y + b2},  {X - a, Y - b2},  {X - a2, Y - b2}};
        for (int i = 0; i < 12; ++i) {
            const int* from = corners[i];
            const int* to = corners[(i + 1) % 12];
            g.Line(from[0], from[1], to[0], to[1], alpha);
        }
    }
}

template <TAlphaMode Mode>
void FlatCrossOut(uint8_t* mask, int w, int h, uint8_t p) {
    if (p == 0) return;
    const TGrid g{mask, w, h};
    const uint8_t a = FlatAlpha(Mode, p);
    const int c = MulDiv(p, 2 * w, 100), d = MulDiv(p, 2 * h, 100), X = g.X(), Y = g.Y();
    for (int e = -c / 4; e <= c / 4; ++e) g.Column(X + e, Y - d, Y + d, a);
    for (int k = -d / 4; k <= d / 4; ++k) g.Row(Y + k, X - c, X + c, a);
}

// Nested rectangle outlines from the centre; ring k of n+1.
template <class AlphaOf>
void RectRings(const TGrid& g, int n, AlphaOf alphaOf) {
    const TAspect s = AspectOf(g.w, g.h);
    const int X = g.X(), Y = g.Y();
    for (int k = 0; k <= n; ++k) {
        const uint8_t a = alphaOf(k);
        const int m = Rnd(s.down * k), r = Rnd(s.across * k);
        g.Column(X - r, Y - m, Y + m, a);
        g.Row(Y - m, X - r, X + r, a);
        g.Column(X + r, Y - m, Y + m, a);
        g.Row(Y + m, X - r, X + r, a);
    }
}

void SmoothRectOut(uint8_t* mask, int w, int h, uint8_t p) {
    if (p == 0) return;
    const TGrid g{mask, w, h};
    const int n = MulDiv(p, Rnd(1.6 * g.M()), 100) / 2;
    const double step = SmoothStep(p, n);
    RectRings(g, n, [&](int k) { return SmoothAlpha(p, k, step); });
}

template <TAlphaMode Mode>
void FlatRectOut(uint8_t* mask, int w, int h, uint8_t p) {
    if (p == 0) return;
    const TGrid g{mask, w, h};
    const uint8_t a = FlatAlpha(Mode, p);
    RectRings(g, MulDiv(p, g.M(), 100) / 2, [a](int) { return a; });
}

// ---- scattered cells --------------------------------------------------------------------------

// Marks rnd(W·H·p/100) cells chosen at random, the same ones on every frame
// of a grid and more of them as p grows: the first cells of one shuffle.
template <class Mark>
void ChooseCells(int w, int h, int p, Mark&& mark) {
    const int total = w * h;
    const int count = std::min(total, Rnd(double(total) * p / 100));
    thread_local std::vector<int> order;
    order.resize(static_cast<size_t>(total));
    std::iota(order.begin(), order.end(), 0);
    TEffectRandom random(static_cast<uint32_t>(total));
    for (int t = 0; t < count; ++t) {
        std::swap(order[size_t(t)], order[size_t(t + random.Next(total - t))]);
        mark(order[size_t(t)]);
    }
}

void PixelProc(uint8_t* mask, int w, int h, uint8_t p) {
    if (p == 0) return;
    ChooseCells(w, h, p, [mask](int i) { mask[i] = 255; });
}

void PixelFade(uint8_t* mask, int w, int h, uint8_t p) {
    if (p == 0) return;
    const auto a = static_cast<uint8_t>(Rnd(p / 100.0 * 255));
    ChooseCells(w, h, p, [mask, a](int i) { mask[i] = a; });
}

void PixelLine(uint8_t* mask, int w, int h, uint8_t p) {
    if (p == 0) return;
    thread_local std::vector<uint8_t> chosen;
    chosen.assign(static_cast<size_t>(w) * h, 0);
    ChooseCells(w, h, p, [](int i) { chosen[size_t(i)] = 1; });
    const int last = std::min(w - 1, Rnd(p / 100.0 * (2 * w - 1)));
    for (int x = 0; x <= last; ++x) {
        const int level = std::max(0, Rnd(2.0 * p - x * double(w) * 0.1 / p));
        const auto a = static_cast<uint8_t>(std::min(255, Rnd(level / 100.0 * 255)));
        for (int y = 0; y < h; ++y) {
            const size_t i = size_t(y) * size_t(w) + size_t(x);
            if (chosen[i]) mask[i] = a;
        }
    }
}

// Streams pour down from the top edge, each column after a delay of its own
// that its neighbours share roughly.
void Stream(uint8_t* mask, int w, int h, uint8_t p) {
    const TGrid g{mask, w, h};
    TEffectRandom random(static_cast<uint32_t>(w * h));
    std::vector<int> drop(static_cast<size_t>(w)), fill(static_cast<size_t>(w), h - 1);
    for (int& q : drop) q = -random.Next(80);
    for (int t = 1; t <= 8; ++t)
        for (int k = t; k <= w - 1 - t; ++k)
            drop[size_t(k)] = (drop[size_t(k - 1)] + 2 * drop[size_t(k)] + drop[size_t(k + 1)]) / 4;
    const int steps = MulDiv(h + 79, p, 100) + 1;
    for (int s = 0; s < steps; ++s)
        for (int j = 0; j < w; ++j) {
            int& q = drop[size_t(j)];
            if (fill[size_t(j)] < q) {
                q = 0;
                --fill[size_t(j)];
            } else {
                if (q >= 0) g.Plot(j, q, 255);
                ++q;
            }
        }
}

// ---- plasma -----------------------------------------------------------------------------------

struct TPlasmaTables {
    std::array<int, 512> sine{}, cosine{}, palette{};
    TPlasmaTables() {
        const double pi = std::acos(-1.0);
        for (int i = 0; i < 512; ++i) {
            sine[size_t(i)] = (static_cast<int>(256 * std::sin(2 * pi * i / 512)) + 256) % 512;
            cosine[size_t(i)] = (static_cast<int>(256 * std::cos(2 * pi * i / 512)) + 256) % 512;
        }
        const int control[13] = {255, 255, 0, 0, 255, 255, 0, 0, 255, 255, 0, 0, 255};
        const int step = 12 * 65536 / 511;
        int position = 0, b = control[0];
        for (int i = 0; i < 511; ++i, position += step) {
            const int at = position >> 16;
            const int a = control[at];
            b = control[std::min(at + 1, 12)];
            const int weightB = position & 0xFFFF, weightA = 65536 - weightB;
            if (step > 2 * weightA)
                palette[size_t(i)] = b;
            else if (step > 2 * weightB)
                palette[size_t(i)] = a;
            else
                palette[size_t(i)] = static_cast<int>((int64_t{a} * weightA + int64_t{b} * weightB) >> 16);
        }
        palette[511] = b;
    }
};

void Plasma(uint8_t* mask, int w, int h, uint8_t p) {
    static const TPlasmaTables t;
    const int level = MulDiv(2 * p, 255, 100);
    for (int y = 0; y < h; ++y) {
        const int sy = t.sine[size_t(y % 512)], cy = t.cosine[size_t(y % 512)];
        uint8_t* row = mask + static_cast<ptrdiff_t>(y) * w;
        for (int x = 0; x < w; ++x) {
            const int shade = t.palette[size_t((t.sine[size_t((x + sy) % 512)] + cy) % 512)];
            row[x] = static_cast<uint8_t>(std::clamp(level - shade, 0, 255));
        }
    }
}

// ---- circles ----------------------------------------------------------------------------------

template <TAlphaMode Mode>
void CircleOut(uint8_t* mask, int w, int h, uint8_t p) {
    const TGrid g{mask, w, h};
    const uint8_t a = FlatAlpha(Mode, p);
    for (int r = 0; r <= MulDiv(g.D(), p, 100) / 2; ++r) g.Ring(g.X(), g.Y(), r, a);
}

template <TAlphaMode Mode>
void CircleIn(uint8_t* mask, int w, int h, uint8_t p) {
    const TGrid g{mask, w, h};
    const uint8_t a = FlatAlpha(Mode, p);
    const int outer = g.D() / 2;
    for (int r = outer - MulDiv(g.D(), p, 100) / 2; r <= outer; ++r) g.Ring(g.X(), g.Y(), r, a);
}

template <TAlphaMode Mode>
void CircleCorner(uint8_t* mask, int w, int h, uint8_t p) {
    const TGrid g{mask, w, h};
    const uint8_t a = FlatAlpha(Mode, p);
    for (int r = 0; r <= MulDiv(g.D(), p, 100); ++r) g.Ring(0, h - 1, r, a);
}

template <bool Centred>
void CircleSmooth(uint8_t* mask, int w, int h, uint8_t p) {
    if (p == 0) return;
    const TGrid g{mask, w, h};
    const int n = MulDiv(Rnd((Centred ? 0.9 : 1.5) * g.E()), p, 100);
    const double step = SmoothStep(p, n);
    for (int r = 0; r <= n; ++r)
        g.Ring(Centred ? g.X() : 0, Centred ? g.Y() : h - 1, r, SmoothAlpha(p, r, step));
}

// ---- diamonds ---------------------------------------------------------------------------------

template <class AlphaOf>
void DiamondRings(const TGrid& g, int n, AlphaOf alphaOf) {
    const TAspect s = AspectOf(g.w, g.h);
    const int X = g.X(), Y = g.Y();
    for (int k = 0; k <= n; ++k) {
        const uint8_t a = alphaOf(k);
        const int across = Rnd(k * s.across), down = Rnd(k * s.down);
        g.Line(X, Y + down, X - across, Y, a);
        g.Line(X - across, Y, X, Y - down, a);
        g.Line(X, Y - down, X + across, Y, a);
        g.Line(X + across, Y, X, Y + down, a);
    }
}

template <TAlphaMode Mode>
void FlatDiamondOut(uint8_t* mask, int w, int h, uint8_t p) {
    if (p == 0) return;
    const TGrid g{mask, w, h};
    const uint8_t a = FlatAlpha(Mode, p);
    DiamondRings(g, MulDiv(p, g.M(), 100), [a](int) { return a; });
}

void DiamondSmoothOut(uint8_t* mask, int w, int h, uint8_t p) {
    if (p == 0) return;
    const TGrid g{mask, w, h};
    const int n = MulDiv(p, Rnd(2.5 * g.M()), 100) / 2;
    const double step = SmoothStep(p, n);
    DiamondRings(g, n, [&](int k) { return SmoothAlpha(p, k, step); });
}

// ---- fans about the bottom-left corner --------------------------------------------------------

template <TAlphaMode Mode>
void FlatRotate(uint8_t* mask, int w, int h, uint8_t p) {
    if (p == 0) return;
    const TGrid g{mask, w, h};
    const uint8_t a = FlatAlpha(Mode, p);
    const int c = MulDiv(w + h, p, 100);
    for (int i = 0; i <= c; ++i) {
        if (i < h)
            g.Line(0, h - 1, w - 1, h - i, a);
        else
            g.Line(0, h - 1, w + i - c, 0, a);
    }
}

void RotateSmooth(uint8_t* mask, int w, int h, uint8_t p) {
    if (p == 0) return;
    const TGrid g{mask, w, h};
    const int b = MulDiv(2 * (w + h), p, 100);
    const double step = SmoothStep(p, b);
    for (int i = 0; i <= b; ++i) {
        const uint8_t a = SmoothAlpha(p, i, step);
        if (i < h)
            g.Line(0, h - 1, w - 1, h - i, a);
        else
            g.Line(0, h - 1, w + h - i, 0, a);
    }
}

// ---- where cells take their picture from -----------------------------------------------------

void Interlace(TteSlideCell* cells, int w, int h, uint8_t p) {
    const int off = MulDiv(100 - p, w, 100);
    for (int j = 0; j < h; ++j)
        for (int i = 0; i < w; ++i) {
            const int from = j % 2 == 0 ? i + off : i - off;
            if (from < 0 || from >= w) continue;
            cells[static_cast<ptrdiff_t>(j) * w + i] = {255, static_cast<int16_t>(from),
                                                        static_cast<int16_t>(j)};
        }
}

void Corner(TteSlideCell* cells, int w, int h, uint8_t p) {
    if (p == 0) return;
    const int e = MulDiv(w - 1, p, 100), c = MulDiv(h - 1, p, 100);
    for (int j = 0; j <= c; ++j)
        for (int i = 0; i <= e; ++i)
            cells[static_cast<ptrdiff_t>(j) * w + i] = {255, static_cast<int16_t>(w - e - 1 + i),
                                                        static_cast<int16_t>(h - c - 1 + j)};
}

// ---- frames composed by hand ------------------------------------------------------------------

// Where the new picture stands, and by how much the old one moves, for a
// progress: the new one enters from the left, bottom, right or top.
struct TShift {
    TPoint target;
    TPoint push;
};
TShift ShiftFor(const TteBitmap& work, TteRotation rotation, int p) {
    const int w = work.Width(), h = work.Height();
    const bool across = rotation == krNone || rotation == krRotate180;
    const int a = MulDiv(across ? w : h, p, 100);
    switch (rotation) {
        case krRotate90: return {{0, h - a}, {0, -a}};
        case krRotate180: return {{w - a, 0}, {-a, 0}};
        case krRotate270: return {{0, a - h}, {0, a}};
        case krNone: break;
    }
    return {{a - w, 0}, {a, 0}};
}

void DrawEntering(TteBitmap* work, TteBitmap* target, TPoint at) {
    target->AlphaBlend = true;
    target->Draw(*work, at.x, at.y);
}

TteRotation RotationOf(const TteAnimationRec* animation) {
    return animation ? animation->Rotation() : krNone;
}

void SlideProc(TteBitmap* work, TteBitmap* target, TteAnimationRec* animation, uint8_t p) {
    if (!work || !target || work->Empty()) return;
    DrawEntering(work, target, ShiftFor(*work, RotationOf(animation), p).target);
}

// Moves the picture in place; what it leaves behind stays as it was.
void MovePicture(TteBitmap& b, TPoint by) {
    const int w = b.Width(), h = b.Height();
    if (std::abs(by.x) >= w || std::abs(by.y) >= h) return;
    const int rows = h - std::abs(by.y), cols = w - std::abs(by.x);
    const int fromX = std::max(0, -by.x), toX = std::max(0, by.x);
    auto moveRow = [&](int y) {
        MoveLongwordFunc(b.GetPixelPtr(fromX, y - by.y), b.GetPixelPtr(toX, y), cols);
    };
    if (by.y > 0)
        for (int y = h - 1; y >= h - rows; --y) moveRow(y);
    else
        for (int y = 0; y < rows; ++y) moveRow(y);
}

void PushProc(TteBitmap* work, TteBitmap* target, TteAnimationRec* animation, uint8_t p) {
    if (!work || !target || work->Empty()) return;
    const TShift shift = ShiftFor(*work, RotationOf(animation), p);
    MovePicture(*work, shift.push);
    DrawEntering(work, target, shift.target);
}

template <class F>
void* ProcAddress(F* f) {
    return reinterpret_cast<void*>(f);
}

const TteBuiltInEffect kBuiltIns[] = {
    {"SmoothDiagonal", pkFade, ProcAddress(&SmoothDiagonal)},
    {"SmoothDiagonalIn", pkFade, ProcAddress(&SmoothDiagonalBand<true>)},
    {"SmoothDiagonalOut", pkFade, ProcAddress(&SmoothDiagonalBand<false>)},
    {"SmoothDown", pkFade, ProcAddress(&SmoothDown)},
    {"SmoothIn", pkFade, ProcAddress(&SmoothRows<true>)},
    {"SmoothOut", pkFade, ProcAddress(&SmoothRows<false>)},
    {"SmoothCrossOut", pkFade, ProcAddress(&SmoothCrossOut)},
    {"SmoothCrossIn", pkFade, ProcAddress(&ComplementOf<&SmoothCrossOut, amSmooth>)},
    {"SmoothRectIn", pkFade, ProcAddress(&ComplementOf<&SmoothRectOut, amSmooth>)},
    {"SmoothRectOut", pkFade, ProcAddress(&SmoothRectOut)},
    {"SlideDiagonal", pkFade, ProcAddress(&FlatDiagonal<amSlide>)},
    {"SlideDiagonalIn", pkFade, ProcAddress(&FlatDiagonalIn<amSlide>)},
    {"SlideDiagonalOut", pkFade, ProcAddress(&FlatDiagonalOut<amSlide>)},
    {"SlideDown", pkFade, ProcAddress(&FlatDown<amSlide>)},
    {"SlideIn", pkFade, ProcAddress(&FlatIn<amSlide>)},
    {"SlideOut", pkFade, ProcAddress(&FlatOut<amSlide>)},
    {"SlideCrossOut", pkFade, ProcAddress(&FlatCrossOut<amSlide>)},
    {"SlideCrossIn", pkFade, ProcAddress(&ComplementOf<&FlatCrossOut<amSlide>, amSlide>)},
    {"SlideRectOut", pkFade, ProcAddress(&FlatRectOut<amSlide>)},
    {"SlideRectIn", pkFade, ProcAddress(&ComplementOf<&FlatRectOut<amSlide>, amSlide>)},
    {"Fade", pkFade, ProcAddress(&FadeProc)},
    {"FadeDiagonal", pkFade, ProcAddress(&FlatDiagonal<amFade>)},
    {"FadeDiagonalIn", pkFade, ProcAddress(&FlatDiagonalIn<amFade>)},
    {"FadeDiagonalOut", pkFade, ProcAddress(&FlatDiagonalOut<amFade>)},
    {"FadeDown", pkFade, ProcAddress(&FlatDown<amFade>)},
    {"FadeIn", pkFade, ProcAddress(&FlatIn<amFade>)},
    {"FadeOut", pkFade, ProcAddress(&FlatOut<amFade>)},
    {"FadeCrossOut", pkFade, ProcAddress(&FlatCrossOut<amFade>)},
    {"FadeCrossIn", pkFade, ProcAddress(&ComplementOf<&FlatCrossOut<amFade>, amFade>)},
    {"FadeRectOut", pkFade, ProcAddress(&FlatRectOut<amFade>)},
    {"FadeRectIn", pkFade, ProcAddress(&ComplementOf<&FlatRectOut<amFade>, amFade>)},
    {"Pixel", pkFade, ProcAddress(&PixelProc)},
    {"Pixel fade", pkFade, ProcAddress(&PixelFade)},
    {"Pixel line", pkFade, ProcAddress(&PixelLine)},
    {"CircleSlideOut", pkFade, ProcAddress(&CircleOut<amSlide>)},
    {"CircleFadeOut", pkFade, ProcAddress(&CircleOut<amFade>)},
    {"CircleSmoothOut", pkFade, ProcAddress(&CircleSmooth<true>)},
    {"CircleSlideIn", pkFade, ProcAddress(&CircleIn<amSlide>)},
    {"CircleFadeIn", pkFade, ProcAddress(&CircleIn<amFade>)},
    {"CircleSmoothIn", pkFade, ProcAddress(&ComplementOf<&CircleSmooth<true>, amSmooth>)},
    {"CircleSlide", pkFade, ProcAddress(&CircleCorner<amSlide>)},
    {"CircleFade", pkFade, ProcAddress(&CircleCorner<amFade>)},
    {"CircleSmooth", pkFade, ProcAddress(&CircleSmooth<false>)},
    {"DiamondSlideIn", pkFade, ProcAddress(&ComplementOf<&FlatDiamondOut<amSlide>, amSlide>)},
    {"DiamondFadeIn", pkFade, ProcAddress(&ComplementOf<&FlatDiamondOut<amFade>, amFade>)},
    {"DiamondSmoothIn", pkFade, ProcAddress(&ComplementOf<&DiamondSmoothOut, amSmooth>)},
    {"DiamondSlideOut", pkFade, ProcAddress(&FlatDiamondOut<amSlide>)},
    {"DiamondFadeOut", pkFade, ProcAddress(&FlatDiamondOut<amFade>)},
    {"DiamondSmoothOut", pkFade, ProcAddress(&DiamondSmoothOut)},
    {"RotateSlide", pkFade, ProcAddress(&FlatRotate<amSlide>)},
    {"RotateFade", pkFade, ProcAddress(&FlatRotate<amFade>)},
    {"RotateSmooth", pkFade, ProcAddress(&RotateSmooth)},
    {"Stream", pkFade, ProcAddress(&Stream)},
    {"Plasma", pkFade, ProcAddress(&Plasma)},
    {"Interlace", pkSlide, ProcAddress(&Interlace)},
    {"Corner", pkSlide, ProcAddress(&Corner)},
    {"Slide", pkManual, ProcAddress(&SlideProc)},
    {"Push", pkManual, ProcAddress(&PushProc)},
};

}  // namespace

const TteBuiltInEffect* BuiltInEffects(int& count) {
    count = static_cast<int>(std::size(kBuiltIns));
    return kBuiltIns;
}

}  // namespace tarvel
