#include "picking/swatch_grid.h"

#include <gtest/gtest.h>

using hueloom::Rect;
using hueloom::app::layoutSwatches;

TEST(SwatchGrid, WrapsWhenTheRowDoesNotFit) {
    // s = 20, n = 10, area 200: 196 < 200, so 9 columns and 2 rows.
    auto g = layoutSwatches(10, 20, 200);
    EXPECT_EQ(g.columns, 9);
    EXPECT_EQ(g.rows, 2);
    EXPECT_EQ(g.width, 180);
    EXPECT_EQ(g.height, 40);
    EXPECT_EQ(g.cell(9, 20), (Rect{0, 20, 20, 40}));  // the tenth starts row two
    EXPECT_EQ(g.cell(8, 20), (Rect{160, 0, 180, 20}));
}

TEST(SwatchGrid, OneRowWhenAllFit) {
    auto g = layoutSwatches(5, 20, 200);
    EXPECT_EQ(g.columns, 5);
    EXPECT_EQ(g.rows, 1);
    EXPECT_EQ(g.width, 100);
    EXPECT_EQ(g.height, 20);
    // Exactly full: 9 swatches of 20 need 180 ≤ 196.
    EXPECT_EQ(layoutSwatches(9, 20, 200).rows, 1);
    // Rows are rounded up, never down.
    EXPECT_EQ(layoutSwatches(19, 20, 200).rows, 3);
    EXPECT_EQ(layoutSwatches(18, 20, 200).rows, 2);
}

TEST(SwatchGrid, EmptyListOrNarrowAreaDrawsNothing) {
    EXPECT_TRUE(layoutSwatches(0, 20, 200).empty());
    EXPECT_TRUE(layoutSwatches(3, 20, 19).empty());
    // Between one swatch and one swatch + 4 wide: one column, no division by zero.
    auto g = layoutSwatches(3, 20, 22);
    EXPECT_EQ(g.columns, 1);
    EXPECT_EQ(g.rows, 3);
}
