#include "records/RecordBatch.h"

#include <gtest/gtest.h>

namespace tarvel {
namespace {

// Rows are made as records arrive; the announced total only bounds them.
TEST(RecordRows, TheTotalBoundsTheRowsButMakesNone) {
    struct Case {
        const char* what;
        size_t total;
        std::vector<int> put;
        size_t rows;
    } const cases[] = {
        {"a large total, five records", 65535, {1, 2, 3, 4, 5}, 5},
        {"records in turn", 12, {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12}, 12},
        {"a gap stays without cells", 12, {1, 4}, 4},
        {"rows beyond the total or before the first are ignored", 3, {0, -1, 4, 70000}, 0},
        {"nothing announced", 0, {1}, 0},
    };
    for (const Case& c : cases) {
        RecordRows rows(3);
        rows.SetTotal(c.total);
        for (int r : c.put) rows.Put(r, {std::to_string(r)});
        EXPECT_EQ(rows.Total(), c.total) << c.what;
        ASSERT_EQ(rows.Rows().size(), c.rows) << c.what;
        for (int r : c.put) {
            if (r < 1 || static_cast<size_t>(r) > c.rows) continue;
            EXPECT_EQ(rows.Rows()[static_cast<size_t>(r) - 1], (RecordRow{std::to_string(r), "", ""}))
                << c.what;
        }
    }
}

TEST(RecordRows, ASmallerTotalDropsTheRowsBeyondIt) {
    RecordRows rows(2);
    rows.SetTotal(10);
    rows.Put(8, {"8", "x"});
    rows.SetTotal(5);
    EXPECT_EQ(rows.Rows(), std::vector<RecordRow>(5));
    rows.Put(8, {"8", "x"});
    EXPECT_EQ(rows.Rows(), std::vector<RecordRow>(5));
    rows.Clear();
    EXPECT_EQ(rows.Total(), 0u);
    EXPECT_TRUE(rows.Rows().empty());
}

// A row no record reached is written as empty cells, like the grid's row.
TEST(RecordRows, CsvWritesARowWithoutCellsAsEmptyCells) {
    RecordRows rows(3);
    rows.SetTotal(3);
    rows.Put(3, {"3", "a", "b"});
    EXPECT_EQ(CsvRows(rows.Rows(), true), ",,,\r\n,,,\r\n3,a,b,\r\n");
    EXPECT_EQ(CsvRows(rows.Rows(), false), ",,\r\n,,\r\n3,a,b\r\n");
}

}  // namespace
}  // namespace tarvel
