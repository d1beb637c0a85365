// The built-in transition effects on small grids: nothing shows at the
// start, the new picture is whole at the end, a few masks cell by cell, and
// no effect reads or writes outside its grid (the buffers are exactly the
// grid's size, so the sanitizer sees any stray access).

#include "skin/extras/te_effect_list.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <set>
#include <string>
#include <vector>

namespace tarvel {
namespace {

const TteBuiltInEffect& Effect(const std::string& name) {
    int count = 0;
    const TteBuiltInEffect* all = BuiltInEffects(count);
    for (int i = 0; i < count; ++i)
        if (name == all[i].Name) return all[i];
    throw std::runtime_error("no effect " + name);
}

std::vector<uint8_t> Mask(const std::string& name, int w, int h, int p) {
    const TteBuiltInEffect& e = Effect(name);
    std::vector<uint8_t> mask(static_cast<size_t>(w) * h, 0);
    reinterpret_cast<TteFadeProc>(e.Proc)(mask.data(), w, h, static_cast<uint8_t>(p));
    return mask;
}

std::vector<TteSlideCell> Cells(const std::string& name, int w, int h, int p) {
    std::vector<TteSlideCell> cells(static_cast<size_t>(w) * h, TteSlideCell{});
    reinterpret_cast<TteSlideProc>(Effect(name).Proc)(cells.data(), w, h, static_cast<uint8_t>(p));
    return cells;
}

bool All(const std::vector<uint8_t>& m, uint8_t v) {
    return std::all_of(m.begin(), m.end(), [v](uint8_t c) { return c == v; });
}

// Rows of the mask, one string per row, each cell as a number.
std::vector<std::vector<int>> Rows(const std::vector<uint8_t>& m, int w) {
    std::vector<std::vector<int>> out;
    for (size_t i = 0; i < m.size(); i += size_t(w))
        out.emplace_back(m.begin() + long(i), m.begin() + long(i) + w);
    return out;
}

const int kGrids[][2] = {{1, 1}, {2, 1}, {1, 3}, {8, 6}, {6, 8}, {13, 5}, {21, 21}, {41, 7}};

// The effects that draw even before the animation has begun: at full
// strength the two discs' first ring and the closing band's outermost one;
// the streams whose columns start at once.
const std::set<std::string> kDrawAtTheStart = {"CircleSlideOut", "CircleSlide", "CircleSlideIn", "Stream"};

TEST(EffectListTest, EveryEffectShowsNothingAtTheStartAndTheWholeNewPictureAtTheEnd) {
    int count = 0;
    const TteBuiltInEffect* all = BuiltInEffects(count);
    for (int i = 0; i < count; ++i) {
        const TteBuiltInEffect& e = all[i];
        for (const auto& g : kGrids) {
            const int w = g[0], h = g[1];
            SCOPED_TRACE(std::string(e.Name) + " " + std::to_string(w) + "x" + std::to_string(h));
            if (e.Kind == pkFade) {
                if (!kDrawAtTheStart.count(e.Name)) {
                    EXPECT_TRUE(All(Mask(e.Name, w, h, 0), 0));
                }
                EXPECT_TRUE(All(Mask(e.Name, w, h, 100), 255));
                // Every frame in between stays on the grid.
                for (int p : {1, 33, 50, 99}) Mask(e.Name, w, h, p);
            } else if (e.Kind == pkSlide) {
                for (const TteSlideCell& c : Cells(e.Name, w, h, 0)) EXPECT_EQ(c.Alpha, 0);
                const std::vector<TteSlideCell> end = Cells(e.Name, w, h, 100);
                for (int j = 0; j < h; ++j)
                    for (int k = 0; k < w; ++k) {
                        const TteSlideCell& c = end[size_t(j * w + k)];
                        EXPECT_EQ(c.Alpha, 255);
                        EXPECT_EQ(c.SourceColumn, k);
                        EXPECT_EQ(c.SourceRow, j);
                    }
            }
        }
    }
    // The discs' first ring is their centre cell with its neighbours on the row.
    EXPECT_EQ(Rows(Mask("CircleSlideOut", 5, 3, 0), 5),
              (std::vector<std::vector<int>>{{0, 0, 0, 0, 0}, {0, 255, 255, 255, 0}, {0, 0, 0, 0, 0}}));
    EXPECT_EQ(Rows(Mask("CircleSlide", 3, 2, 0), 3),
              (std::vector<std::vector<int>>{{0, 0, 0}, {255, 255, 0}}));
}

TEST(EffectListTest, MasksOnSmallGridsCellByCell) {
    using TRows = std::vector<std::vector<int>>;
    struct Case {
        const char* name;
        int w, h, p;
        TRows rows;
    };
    const Case cases[] = {
        // Rows from the top, MulDiv(50, 3, 100) = 2 of them, at half strength.
        {"FadeDown",
         4,
         4,
         50,
         {{128, 128, 128, 128}, {128, 128, 128, 128}, {128, 128, 128, 128}, {0, 0, 0, 0}}},
        // Two rings from the centre, the second keeping the grid's proportions.
        {"SlideRectOut", 5, 3, 50, {{0, 255, 255, 255, 0}, {0, 255, 255, 255, 0}, {0, 255, 255, 255, 0}}},
        // The first row opaque, the leading one soft.
        {"SmoothDown", 3, 2, 50, {{255, 255, 255}, {128, 128, 128}}},
        // A plus sign grows from the centre; its In partner shows only what it leaves.
        {"FadeCrossIn",
         5,
         5,
         50,
         {{128, 0, 0, 0, 128}, {0, 0, 0, 0, 0}, {0, 0, 0, 0, 0}, {0, 0, 0, 0, 0}, {128, 0, 0, 0, 128}}},
        {"DiamondSlideOut",
         5,
         5,
         40,
         {{0, 0, 255, 0, 0},
          {0, 255, 255, 255, 0},
          {255, 255, 255, 255, 255},
          {0, 255, 255, 255, 0},
          {0, 0, 255, 0, 0}}},
        // Too early for a band: only the first lines, at their strength.
        {"SmoothDiagonalIn", 2, 2, 1, {{0, 5}, {5, 0}}},
        {"SmoothDiagonalOut", 2, 2, 1, {{0, 5}, {5, 5}}},
        // Plasma opens its dark regions first.
        {"Plasma", 3, 1, 25, {{128, 114, 96}}},
    };
    for (const Case& c : cases)
        EXPECT_EQ(Rows(Mask(c.name, c.w, c.h, c.p), c.w), c.rows) << c.name << " " << c.p;
}

TEST(EffectListTest, ScatteredCellsAreTheSameOnEveryFrameAndOnlyGrow) {
    for (const char* name : {"Pixel", "Pixel fade"}) {
        SCOPED_TRACE(name);
        const std::vector<uint8_t> half = Mask(name, 10, 10, 50);
        EXPECT_EQ(std::count_if(half.begin(), half.end(), [](uint8_t c) { return c != 0; }), 50);
        EXPECT_EQ(Mask(name, 10, 10, 50), half);
        const std::vector<uint8_t> early = Mask(name, 10, 10, 30);
        EXPECT_EQ(std::count_if(early.begin(), early.end(), [](uint8_t c) { return c != 0; }), 30);
        for (size_t i = 0; i < early.size(); ++i)
            if (early[i]) {
                EXPECT_NE(half[i], 0) << "cell " << i << " went out again";
            }
    }
    const std::vector<uint8_t> fade = Mask("Pixel fade", 10, 10, 50);
    EXPECT_EQ(*std::max_element(fade.begin(), fade.end()), 128);
    // The streams pour from the top edge: no cell is set below an unset one.
    const int w = 9, h = 12;
    const std::vector<uint8_t> stream = Mask("Stream", w, h, 40);
    for (int x = 0; x < w; ++x)
        for (int y = 1; y < h; ++y)
            if (stream[size_t(y * w + x)]) {
                EXPECT_NE(stream[size_t((y - 1) * w + x)], 0) << x << "," << y;
            }
    EXPECT_EQ(Mask("Stream", w, h, 40), stream);
}

TEST(EffectListTest, SlideCellsNameTheCellOfTheNewPictureTheyShow) {
    struct Case {
        const char* name;
        int w, h, p;
        // column, row -> source column, row; every other cell is left alone.
        std::vector<std::pair<std::pair<int, int>, std::pair<int, int>>> cells;
    };
    const Case cases[] = {
        // Even rows come in from the left, odd rows from the right.
        {"Interlace", 4, 2, 50, {{{0, 0}, {2, 0}}, {{1, 0}, {3, 0}}, {{2, 1}, {0, 1}}, {{3, 1}, {1, 1}}}},
        // The new picture's bottom-right part enters at the top-left corner.
        {"Corner",
         4,
         3,
         50,
         {{{0, 0}, {1, 1}},
          {{1, 0}, {2, 1}},
          {{2, 0}, {3, 1}},
          {{0, 1}, {1, 2}},
          {{1, 1}, {2, 2}},
          {{2, 1}, {3, 2}}}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const std::vector<TteSlideCell> got = Cells(c.name, c.w, c.h, c.p);
        std::vector<TteSlideCell> want(got.size(), TteSlideCell{});
        for (const auto& [at, from] : c.cells)
            want[size_t(at.second * c.w + at.first)] = {255, int16_t(from.first), int16_t(from.second)};
        for (size_t i = 0; i < got.size(); ++i) {
            EXPECT_EQ(got[i].Alpha, want[i].Alpha) << "cell " << i;
            EXPECT_EQ(got[i].SourceColumn, want[i].SourceColumn) << "cell " << i;
            EXPECT_EQ(got[i].SourceRow, want[i].SourceRow) << "cell " << i;
        }
    }
}

}  // namespace
}  // namespace tarvel
