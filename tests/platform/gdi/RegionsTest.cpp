#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "tests/platform/gdi/GdiFixture.h"

namespace tarvel {
namespace {

std::vector<TRect> RectsOf(HRGN region) {
    std::vector<TRect> out;
    GetRegionRects(region, [&](const TRect& r) { out.push_back(r); });
    return out;
}

TEST(Regions, CombineModes) {
    // a = (0,0)-(4,2), b = (2,1)-(6,3)
    struct Case {
        int mode;
        std::string picture;
        int complexity;
    };
    const Case cases[] = {
        {RGN_AND, gditest::Rows({"......", "..##..", "......"}), SIMPLEREGION},
        {RGN_OR, gditest::Rows({"####..", "######", "..####"}), COMPLEXREGION},
        {RGN_XOR, gditest::Rows({"####..", "##..##", "..####"}), COMPLEXREGION},
        {RGN_DIFF, gditest::Rows({"####..", "##....", "......"}), COMPLEXREGION},
        {RGN_COPY, gditest::Rows({"####..", "####..", "......"}), SIMPLEREGION},
    };
    for (const Case& c : cases) {
        HRGN a = CreateRectRgn(0, 0, 4, 2), b = CreateRectRgn(2, 1, 6, 3), d = CreateRectRgn(0, 0, 0, 0);
        EXPECT_EQ(CombineRgn(d, a, b, c.mode), c.complexity) << c.mode;
        EXPECT_EQ(gditest::RegionPicture(d, 6, 3), c.picture) << c.mode;
        DeleteObject(a);
        DeleteObject(b);
        DeleteObject(d);
    }
}

TEST(Regions, CombineIntoAnOperandAndEmptyResults) {
    HRGN a = CreateRectRgn(0, 0, 2, 2), b = CreateRectRgn(5, 5, 6, 6);
    EXPECT_EQ(CombineRgn(a, a, b, RGN_AND), NULLREGION);
    TRect box;
    EXPECT_EQ(GetRgnBox(a, &box), NULLREGION);
    EXPECT_EQ(box, TRect{});
    EXPECT_EQ(CombineRgn(a, a, b, RGN_OR), SIMPLEREGION);
    EXPECT_TRUE(EqualRgn(a, b));
    EXPECT_EQ(CombineRgn(a, a, b, 99), RGN_ERROR);
    EXPECT_EQ(CombineRgn(a, a, HRGN(), RGN_OR), RGN_ERROR);
    DeleteObject(a);
    DeleteObject(b);
}

TEST(Regions, EqualSetsHaveEqualRegionsWhateverTheirHistory) {
    // Two halves joined equal the whole; the representation is canonical.
    HRGN left = CreateRectRgn(0, 0, 3, 4), right = CreateRectRgn(3, 0, 6, 4),
         whole = CreateRectRgn(0, 0, 6, 4);
    HRGN joined = CreateRectRgn(0, 0, 0, 0);
    CombineRgn(joined, left, right, RGN_OR);
    EXPECT_TRUE(EqualRgn(joined, whole));
    EXPECT_EQ(RectsOf(joined), std::vector<TRect>{Rect(0, 0, 6, 4)});
    for (HRGN r : {left, right, whole, joined}) DeleteObject(r);
}

// Regions of many pieces (more than a small one keeps inline) combined by
// every mode, into a new region and into an operand, against a pixel model.
TEST(Regions, CombinedPiecesMatchThePixelsOfTheirSets) {
    constexpr int kSide = 40;
    uint32_t seed = 12345;
    auto next = [&seed](int below) {
        seed = seed * 1664525u + 1013904223u;
        return static_cast<int>((seed >> 8) % static_cast<uint32_t>(below));
    };
    auto randomRects = [&](int count) {
        std::vector<TRect> rects;
        for (int i = 0; i < count; ++i) {
            const int x = next(kSide + 4) - 2, y = next(kSide + 4) - 2;
            rects.push_back(Rect(x, y, x + next(12), y + next(12)));
        }
        return rects;
    };
    auto covered = [](const std::vector<TRect>& rects, int x, int y) {
        for (const TRect& r : rects)
            if (r.Contains(TPoint{x, y})) return true;
        return false;
    };
    struct Mode {
        int mode;
        bool (*inside)(bool, bool);
    };
    const Mode modes[] = {
        {RGN_AND, [](bool a, bool b) { return a && b; }},
        {RGN_OR, [](bool a, bool b) { return a || b; }},
        {RGN_XOR, [](bool a, bool b) { return a != b; }},
        {RGN_DIFF, [](bool a, bool b) { return a && !b; }},
    };
    for (int round = 0; round < 30; ++round) {
        const std::vector<TRect> ra = randomRects(1 + next(16)), rb = randomRects(1 + next(16));
        for (const Mode& m : modes) {
            SCOPED_TRACE(testing::Message() << "round " << round << " mode " << m.mode);
            HRGN a = ExtCreateRegion(ra.data(), ra.size());
            HRGN b = ExtCreateRegion(rb.data(), rb.size());
            HRGN into = CreateRectRgn(0, 0, 1, 1);
            CombineRgn(into, a, b, m.mode);
            CombineRgn(a, a, b, m.mode);
            EXPECT_TRUE(EqualRgn(into, a));
            std::string expected, got;
            for (int y = -2; y < kSide + 12; ++y)
                for (int x = -2; x < kSide + 12; ++x) {
                    expected += m.inside(covered(ra, x, y), covered(rb, x, y)) ? '#' : '.';
                    got += PtInRegion(into, x, y) ? '#' : '.';
                }
            EXPECT_EQ(got, expected);
            if (m.mode == RGN_OR) {
                // However it was built, one set has one representation.
                std::vector<TRect> both = ra;
                both.insert(both.end(), rb.begin(), rb.end());
                HRGN built = ExtCreateRegion(both.data(), both.size());
                EXPECT_TRUE(EqualRgn(into, built));
                DeleteObject(built);
            }
            OffsetRgn(a, 7, -5);
            OffsetRgn(a, -7, 5);
            EXPECT_TRUE(EqualRgn(into, a));
            for (HRGN r : {a, b, into}) DeleteObject(r);
        }
    }
}

TEST(Regions, OffsetPointAndRectQueries) {
    HRGN r = CreateRectRgn(0, 0, 2, 2);
    EXPECT_EQ(OffsetRgn(r, 3, 1), SIMPLEREGION);
    EXPECT_TRUE(PtInRegion(r, 3, 1));
    EXPECT_TRUE(PtInRegion(r, 4, 2));
    EXPECT_FALSE(PtInRegion(r, 5, 2));  // right edge is out
    EXPECT_FALSE(PtInRegion(r, 2, 1));
    EXPECT_TRUE(RectInRegion(r, Rect(0, 0, 4, 2)));
    EXPECT_FALSE(RectInRegion(r, Rect(0, 0, 3, 5)));
    EXPECT_FALSE(RectInRegion(r, Rect(4, 4, 3, 3)));  // empty rect
    OffsetRgn(r, INT32_MAX, INT32_MAX);               // saturates, no overflow
    OffsetRgn(r, INT32_MIN, INT32_MIN);
    DeleteObject(r);
}

TEST(Regions, ExtCreateRegionFromRunRectangles) {
    // Region data as the system built it: header, then rectangles.
    const TRect runs[] = {Rect(1, 0, 2, 1), Rect(0, 1, 3, 2), Rect(1, 2, 2, 3)};
    RGNDATAHEADER header;
    header.nCount = 3;
    header.rcBound = Rect(0, 0, 3, 3);
    std::vector<uint8_t> data(sizeof header + sizeof runs);
    std::memcpy(data.data(), &header, sizeof header);
    std::memcpy(data.data() + sizeof header, runs, sizeof runs);
    HRGN r = ExtCreateRegion(nullptr, static_cast<uint32_t>(data.size()), data.data());
    ASSERT_TRUE(r);
    EXPECT_EQ(gditest::RegionPicture(r, 3, 3), gditest::Rows({".#.", "###", ".#."}));
    EXPECT_EQ(RectsOf(r).size(), 3u);
    DeleteObject(r);

    // A count beyond the data, a bad header or a transform give nothing.
    EXPECT_FALSE(ExtCreateRegion(nullptr, static_cast<uint32_t>(data.size() - 1), data.data()));
    header.nCount = 0xFFFFFFFF;
    std::memcpy(data.data(), &header, sizeof header);
    EXPECT_FALSE(ExtCreateRegion(nullptr, static_cast<uint32_t>(data.size()), data.data()));
    header.nCount = 3;
    header.iType = 2;
    std::memcpy(data.data(), &header, sizeof header);
    EXPECT_FALSE(ExtCreateRegion(nullptr, static_cast<uint32_t>(data.size()), data.data()));
    EXPECT_FALSE(ExtCreateRegion(nullptr, 8, data.data()));
    EXPECT_FALSE(ExtCreateRegion(nullptr, 100, nullptr));
}

TEST(Regions, ManyRunsGrowWithoutLimit) {
    // More runs than any fixed buffer would hold: a 100 x 100 checkerboard.
    std::vector<TRect> runs;
    for (int y = 0; y < 100; ++y)
        for (int x = (y & 1); x < 100; x += 2) runs.push_back(Rect(x, y, x + 1, y + 1));
    HRGN r = ExtCreateRegion(runs.data(), runs.size());
    ASSERT_TRUE(r);
    EXPECT_EQ(RectsOf(r).size(), 5000u);
    EXPECT_TRUE(PtInRegion(r, 99, 1));
    EXPECT_FALSE(PtInRegion(r, 98, 1));
    DeleteObject(r);
}

TEST(Regions, PolygonRegionAnswersPointInPolygon) {
    const TPoint triangle[] = {{0, 0}, {10, 0}, {0, 10}};
    HRGN r = CreatePolygonRgn(triangle, 3, WINDING);
    ASSERT_TRUE(r);
    // The point itself is tested; on an edge it is inside only on the top
    // or left one.
    EXPECT_TRUE(PtInRegion(r, 1, 1));
    EXPECT_TRUE(PtInRegion(r, 0, 9));
    EXPECT_TRUE(PtInRegion(r, 1, 8));
    EXPECT_TRUE(PtInRegion(r, 9, 0));
    EXPECT_FALSE(PtInRegion(r, 10, 0));
    EXPECT_FALSE(PtInRegion(r, 0, 10));
    EXPECT_FALSE(PtInRegion(r, 5, 5));
    EXPECT_FALSE(PtInRegion(r, 9, 9));
    EXPECT_FALSE(PtInRegion(r, -1, 0));
    DeleteObject(r);
    const TPoint wide[] = {{INT32_MIN, 0}, {INT32_MAX, 0}, {0, 4}};  // edges across the whole range
    r = CreatePolygonRgn(wide, 3, ALTERNATE);
    ASSERT_TRUE(r);
    EXPECT_TRUE(PtInRegion(r, 0, 3));
    EXPECT_TRUE(PtInRegion(r, -1000, 0));
    EXPECT_FALSE(PtInRegion(r, 0, 4));
    DeleteObject(r);
    EXPECT_FALSE(CreatePolygonRgn(triangle, 2, WINDING));
    EXPECT_FALSE(CreatePolygonRgn(nullptr, 3, WINDING));
    EXPECT_FALSE(CreatePolygonRgn(triangle, 3, 7));
    const TPoint huge[] = {{0, INT32_MIN}, {10, 0}, {0, INT32_MAX}};
    EXPECT_FALSE(CreatePolygonRgn(huge, 3, ALTERNATE));  // refused, not built row by row
}

TEST(Regions, RoundRectRegionLeavesOutRightAndBottomEdge) {
    // Callers pass (L, T, L + W + 1, T + H + 1) to get a W x H region.
    HRGN r = CreateRoundRectRgn(0, 0, 11, 9, 4, 4);
    TRect box;
    GetRgnBox(r, &box);
    EXPECT_EQ(box, Rect(0, 0, 10, 8));
    EXPECT_FALSE(PtInRegion(r, 0, 0));  // rounded corner
    EXPECT_TRUE(PtInRegion(r, 5, 0));
    EXPECT_TRUE(PtInRegion(r, 0, 4));
    DeleteObject(r);
    HRGN e = CreateEllipticRgn(0, 0, 5, 5);
    GetRgnBox(e, &box);
    EXPECT_EQ(box, Rect(0, 0, 4, 4));
    DeleteObject(e);
}

TEST(Regions, FillRgnPaintsTheRegionInLogicalCoordinates) {
    gditest::PixelDc p(4, 3, 0x11223344);
    HRGN r = CreateRectRgn(1, 0, 3, 1);
    SetWindowOrgEx(p.dc, 0, -1, nullptr);
    ASSERT_TRUE(FillRgn(p.dc, r, HBRUSH(GetStockObject(BLACK_BRUSH))));
    EXPECT_EQ(p.Picture(0, 0x11223344), gditest::Rows({"....", ".##.", "...."}));
    DeleteObject(r);
}

}  // namespace
}  // namespace tarvel
