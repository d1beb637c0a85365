#include "adjust/Calibration.h"

#include <gtest/gtest.h>

namespace tarvel {
namespace {

TEST(Calibration, VoltageK) {
    struct Case {
        const char *actual, *sampled, *readK, *k;
    };
    const std::vector<Case> cases = {
        {"3300", "3280", "10000", "10060"},
        {"0", "3280", "10000", "10000"},
        {"3300", "", "10000", "10000"},
        {"3300", "00", "10000", "10000"},  // reads as zero
        {"abc", "3000", "", "10000"},      // defaults 3000 and 10000
        {"-3300", "3280", "10000", "-10060"},
        {"2000000000", "1", "2000000000", "4000000000000000000"},  // no 32-bit wrap
    };
    for (const Case& c : cases) EXPECT_EQ(VoltageKText(c.actual, c.sampled, c.readK), c.k) << c.actual;
}

TEST(Calibration, FitLineCases) {
    EXPECT_FALSE(FitLine({}));
    const auto one = FitLine({{200, 210}});
    ASSERT_TRUE(one);
    EXPECT_DOUBLE_EQ(one->k, 1.05);
    EXPECT_DOUBLE_EQ(one->b, 0);
    EXPECT_FALSE(FitLine({{100, 110}, {100, 120}}));  // D = 0
    const auto two = FitLine({{100, 110}, {200, 210}});
    ASSERT_TRUE(two);
    EXPECT_NEAR(two->k, 1, 1e-12);
    EXPECT_NEAR(two->b, 10, 1e-9);
}

TEST(Calibration, FitLineTwoRangesCases) {
    EXPECT_FALSE(FitLineTwoRanges({}));
    EXPECT_FALSE(FitLineTwoRanges({{1, 2}, {2, 3}}));
    EXPECT_FALSE(FitLineTwoRanges({{1, 2}, {2, 3}, {3, 4}}));
    const auto one = FitLineTwoRanges({{100, 110}});
    ASSERT_TRUE(one);
    EXPECT_FALSE(one->small);
    const auto four = FitLineTwoRanges({{100, 110}, {200, 210}, {300, 310}, {400, 410}});
    ASSERT_TRUE(four && four->small);
    EXPECT_NEAR(four->small->k, 1.1, 1e-12);
    EXPECT_NEAR(four->small->b, 0, 1e-12);
    EXPECT_NEAR(four->all.k, 1, 1e-12);
    EXPECT_NEAR(four->all.b, 10, 1e-9);
}

std::vector<std::string> Column(const std::vector<std::pair<int, int>>& points, int rows = 21) {
    std::vector<std::string> column(static_cast<size_t>(rows));
    for (size_t n = 1; n <= points.size(); ++n) {
        column[2 * n] = std::to_string(points[n - 1].first);
        column[2 * n - 1] = std::to_string(points[n - 1].second);
    }
    return column;
}

TEST(Calibration, CurrentKbFullLayoutSixPoints) {
    const auto column =
        Column({{1000, 1010}, {2000, 2010}, {3000, 3010}, {4000, 4010}, {5000, 5010}, {6000, 6010}});
    const auto charge = ComputeCurrentKb(column, false, KbLayout::Full);
    EXPECT_TRUE(charge.ok);
    EXPECT_EQ(charge.message, "Succeed to calacute KB of current in charge!");
    EXPECT_EQ(charge.writes, (std::vector<CellWrite>{{14, "10000"}, {16, "10"}, {18, "10000"}, {20, "10"}}));
    const auto discharge = ComputeCurrentKb(column, true, KbLayout::Full);
    EXPECT_EQ(discharge.message, "Succeed to calacute KB of current in discharge!");
    EXPECT_EQ(discharge.writes,
              (std::vector<CellWrite>{{14, "10000"}, {16, "-10"}, {18, "10000"}, {20, "-10"}}));
}

TEST(Calibration, CurrentKbFailuresAndOnePoint) {
    const auto twoPoints = ComputeCurrentKb(Column({{1000, 1010}, {2000, 2010}}), false, KbLayout::Full);
    EXPECT_FALSE(twoPoints.ok);
    EXPECT_TRUE(twoPoints.writes.empty());
    EXPECT_EQ(twoPoints.message, "Fail to calacute KB of current in charge!");
    EXPECT_FALSE(ComputeCurrentKb(Column({{1, 2}, {2, 3}, {3, 4}}), true, KbLayout::Full).ok);
    EXPECT_EQ(ComputeCurrentKb(Column({}), true, KbLayout::Full).message,
              "Fail to calacute KB of current in discharge!");
    // A point with a zero side is not collected.
    EXPECT_FALSE(ComputeCurrentKb(Column({{0, 1010}}), false, KbLayout::Full).ok);
    // One point: K and B only; the small-current rows stay as they are.
    const auto one = ComputeCurrentKb(Column({{1000, 1010}}), false, KbLayout::Full);
    EXPECT_TRUE(one.ok);
    EXPECT_EQ(one.writes, (std::vector<CellWrite>{{14, "10100"}, {16, "0"}}));
}

TEST(Calibration, CurrentKbShortLayoutFitsFivePointsIntoRows12And14) {
    auto column = Column({{100, 110}, {200, 210}, {300, 310}, {400, 410}, {500, 510}, {600, 99999}}, 15);
    const auto result = ComputeCurrentKb(column, true, KbLayout::Short);  // the sixth point is not read
    EXPECT_TRUE(result.ok);
    EXPECT_EQ(result.writes, (std::vector<CellWrite>{{12, "10000"}, {14, "-10"}}));
    EXPECT_TRUE(ComputeCurrentKb(Column({{100, 110}, {200, 210}}, 15), false, KbLayout::Short).ok);
}

TEST(Calibration, CurrentSamplesFillPointsInTurn) {
    int row = 0;
    EXPECT_EQ(NextCurrentSample(row, 1000, KbLayout::Full), (CurrentSamplePlace{1, 1, 2}));
    EXPECT_EQ(NextCurrentSample(row, 0, KbLayout::Full), (CurrentSamplePlace{2, 1, 4}));
    EXPECT_EQ(NextCurrentSample(row, -5, KbLayout::Full), (CurrentSamplePlace{3, 2, 6}));
    row = 6;
    EXPECT_EQ(NextCurrentSample(row, 1, KbLayout::Full).point, 1);
    row = 5;
    EXPECT_EQ(NextCurrentSample(row, 1, KbLayout::Short).point, 1);
}

}  // namespace
}  // namespace tarvel
