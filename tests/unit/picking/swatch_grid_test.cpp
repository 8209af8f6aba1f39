#include "picking/swatch_grid.h"

#include <gtest/gtest.h>

using hueloom::Rect;
using hueloom::picking::layoutSwatches;

TEST(SwatchGrid, ColumnsFitTheAreaLessFourRowsRoundUp) {
    struct Case {
        int n, s, area, columns, rows;
    };
    const Case cases[] = {
        {10, 20, 200, 9, 2},  // 10 × 20 = 200 > 196: 9 columns, 2 rows
        {5, 20, 200, 5, 1},  // all fit in one row
        {9, 20, 200, 9, 1},  // exactly full: 180 ≤ 196
        {18, 20, 200, 9, 2}, {19, 20, 200, 9, 3},  // rows are rounded up, never down
    };
    for (const Case& c : cases) {
        const auto g = layoutSwatches(c.n, c.s, c.area);
        EXPECT_EQ(g.columns, c.columns) << c.n << " of " << c.s << " in " << c.area;
        EXPECT_EQ(g.rows, c.rows) << c.n << " of " << c.s << " in " << c.area;
        EXPECT_EQ(g.width, c.s * c.columns);
        EXPECT_EQ(g.height, c.s * c.rows);
    }
    const auto g = layoutSwatches(10, 20, 200);
    EXPECT_EQ(g.cell(9, 20), (Rect{0, 20, 20, 40}));  // the tenth starts row two
    EXPECT_EQ(g.cell(8, 20), (Rect{160, 0, 180, 20}));
}

TEST(SwatchGrid, EmptyListOrNarrowAreaDrawsNothing) {
    EXPECT_TRUE(layoutSwatches(0, 20, 200).empty());
    EXPECT_TRUE(layoutSwatches(3, 20, 19).empty());
    // Between one swatch and one swatch + 4 wide: one column, no division by zero.
    auto g = layoutSwatches(3, 20, 22);
    EXPECT_EQ(g.columns, 1);
    EXPECT_EQ(g.rows, 3);
}
