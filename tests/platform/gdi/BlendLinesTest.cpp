// The blend line loops: every path this processor has gives the pixels of
// the per-channel formulas, bit for bit, on lines of every length.
#include <gtest/gtest.h>

#include <random>
#include <vector>

#include "platform/gdi/Blend.h"

namespace tarvel {
namespace {

uint32_t Channel(uint32_t p, int shift) { return (p >> shift) & 0xFF; }

// The formulas written out channel by channel, as the loops must agree with.
uint32_t OverByChannel(uint32_t s, uint32_t d, uint32_t constant, bool perPixel) {
    const uint32_t w = perPixel ? ((s >> 24) * constant + 127) / 255 : constant;
    if (w == 0) return d;
    const uint32_t f = s | 0xFF000000u;
    uint32_t out = 0;
    for (int shift = 0; shift < 32; shift += 8)
        out |= ((Channel(f, shift) * w + Channel(d, shift) * (255 - w) + 127) / 255) << shift;
    return out;
}

uint32_t TruncatedByChannel(uint32_t s, uint32_t d) {
    const uint32_t a = s >> 24;
    if (a == 0) return d;
    if (a == 255) return s;
    uint32_t out = 0xFF000000u;
    for (int shift = 0; shift < 24; shift += 8)
        out |= ((Channel(s, shift) * a + Channel(d, shift) * (255 - a)) >> 8) << shift;
    return out;
}

// Every alpha against every colour byte and a spread of backgrounds, then
// random pixels with runs of clear and opaque ones, as skins have.
struct Lines {
    std::vector<uint32_t> src, dst;
    Lines() {
        for (uint32_t a = 0; a < 256; ++a)
            for (uint32_t v = 0; v < 256; ++v)
                for (uint32_t back : {0x00000000u, 0xFFFFFFFFu, 0x80FF7F01u, 0x3C00C8FFu}) {
                    src.push_back(a << 24 | v << 16 | (255 - v) << 8 | (v * 7 & 0xFF));
                    dst.push_back(back ^ (v << 8));
                }
        std::mt19937 rng(9);
        for (int i = 0; i < 20000; ++i) {
            const uint32_t run = (i / 37) % 3;
            const uint32_t a = run == 0 ? 0 : run == 1 ? 255 : rng() & 0xFF;
            src.push_back(a << 24 | (rng() & 0xFFFFFF));
            dst.push_back(static_cast<uint32_t>(rng()));
        }
    }
};

const Lines& TestLines() {
    static const Lines lines;
    return lines;
}

TEST(BlendLines, EveryPathGivesThePixelsOfTheFormula) {
    const Lines& in = TestLines();
    const int n = static_cast<int>(in.src.size());
    const struct {
        uint32_t constant;
        bool perPixel;
    } overCases[] = {{255, true}, {128, true}, {1, true}, {0, true}, {255, false}, {77, false}, {0, false}};

    for (PixelPath path : PixelPaths()) {
        SCOPED_TRACE(static_cast<int>(path));
        for (const auto& c : overCases) {
            std::vector<uint32_t> out = in.dst;
            BlendOverLine(path, in.src.data(), out.data(), n, c.constant, c.perPixel);
            for (int i = 0; i < n; ++i)
                ASSERT_EQ(out[i], OverByChannel(in.src[i], in.dst[i], c.constant, c.perPixel))
                    << std::hex << in.src[i] << " over " << in.dst[i] << " constant " << c.constant;
        }
        std::vector<uint32_t> out = in.dst;
        BlendTruncatedLine(path, in.src.data(), out.data(), n);
        for (int i = 0; i < n; ++i)
            ASSERT_EQ(out[i], TruncatedByChannel(in.src[i], in.dst[i]))
                << std::hex << in.src[i] << " over " << in.dst[i];
    }
}

// Short lines and odd starts end in the tails of the vector loops, which
// must touch nothing past the count.
TEST(BlendLines, LinesOfEveryLengthStopAtTheirEnd) {
    const Lines& in = TestLines();
    for (PixelPath path : PixelPaths()) {
        for (int offset = 0; offset < 3; ++offset)
            for (int count = 0; count <= 19; ++count) {
                std::vector<uint32_t> over(in.dst.begin() + 300, in.dst.begin() + 340);
                std::vector<uint32_t> truncated = over;
                BlendOverLine(path, in.src.data() + 300 + offset, over.data() + offset, count, 200, true);
                BlendTruncatedLine(path, in.src.data() + 300 + offset, truncated.data() + offset, count);
                for (int i = 0; i < 40; ++i) {
                    const uint32_t s = in.src[300 + i], d = in.dst[300 + i];
                    const bool inside = i >= offset && i < offset + count;
                    ASSERT_EQ(over[i], inside ? OverByChannel(s, d, 200, true) : d) << count << " at " << i;
                    ASSERT_EQ(truncated[i], inside ? TruncatedByChannel(s, d) : d) << count << " at " << i;
                }
            }
    }
}

TEST(BlendLines, PortableIsAlwaysThereAndFastestLast) {
    const std::vector<PixelPath>& paths = PixelPaths();
    ASSERT_FALSE(paths.empty());
    EXPECT_EQ(paths.front(), PixelPath::Portable);
#if defined(__x86_64__)
    EXPECT_GE(paths.size(), 2u);  // SSE2 is part of every x86-64 processor
#endif
}

}  // namespace
}  // namespace tarvel
