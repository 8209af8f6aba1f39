// Display scaling: one rounding rule for every length the windows draw.
#include <gtest/gtest.h>

#include "core/dpi.h"

using namespace hueloom;

TEST(Scale, NinetySixDotsPerInchChangesNothing) {
    for (int v : {-233, -1, 0, 1, 2, 3, 10, 15, 150, 177, 233, 100000}) EXPECT_EQ(scale(v, 96), v) << v;
    EXPECT_EQ(scale(Rect{10, 25, 164, 201}, 96), (Rect{10, 25, 164, 201}));
}

TEST(Scale, RoundsHalvesAwayFromZero) {
    // 144 dpi (150 %): exact for even lengths, halves up.
    EXPECT_EQ(scale(177, 144), 266);  // 265.5
    EXPECT_EQ(scale(233, 144), 350);  // 349.5
    EXPECT_EQ(scale(150, 144), 225);
    EXPECT_EQ(scale(1, 144), 2);  // 1.5
    EXPECT_EQ(scale(-1, 144), -2);
    EXPECT_EQ(scale(-3, 144), -5);  // -4.5
    // 120 dpi (125 %).
    EXPECT_EQ(scale(3, 120), 4);  // 3.75
    EXPECT_EQ(scale(2, 120), 3);  // 2.5
    EXPECT_EQ(scale(1, 120), 1);  // 1.25
    EXPECT_EQ(scale(177, 120), 221);  // 221.25
    EXPECT_EQ(scale(-3, 120), -4);
    // 192 dpi (200 %) doubles, 72 dpi shrinks.
    EXPECT_EQ(scale(177, 192), 354);
    EXPECT_EQ(scale(3, 72), 2);  // 2.25
    EXPECT_EQ(scale(2, 72), 2);  // 1.5
}

TEST(Scale, NoDpiCountsAsNinetySixAndProductsDoNotOverflow) {
    EXPECT_EQ(scale(177, 0), 177);
    EXPECT_EQ(scale(177, -5), 177);
    EXPECT_EQ(scale(20000000, 480), 100000000);  // 9.6e9 on the way
}

TEST(Scale, RectanglesScaleEdgeByEdgeSoNeighboursStayJoined) {
    const Rect a{10, 25, 164, 43}, b{10, 43, 164, 201};  // one below the other
    for (int dpi : {120, 144, 168, 192}) {
        EXPECT_EQ(scale(a, dpi).bottom, scale(b, dpi).top) << dpi;
        EXPECT_EQ(scale(a, dpi).left, scale(10, dpi));
        EXPECT_EQ(scale(a, dpi).right, scale(164, dpi));
    }
    EXPECT_EQ(scale(Rect{10, 25, 164, 201}, 144), (Rect{15, 38, 246, 302}));
}

TEST(Rescale, FromOneDpiToAnotherByTheSameRule) {
    EXPECT_EQ(rescale(15, 144, 192), 20);
    EXPECT_EQ(rescale(266, 144, 96), 177);  // 177.33
    EXPECT_EQ(rescale(3, 144, 120), 3);  // 2.5 rounds up
    EXPECT_EQ(rescale(-3, 144, 120), -3);
    EXPECT_EQ(rescale(93, 96, 144), scale(93, 144));
    EXPECT_EQ(rescale(140, 144, 144), 140);
    EXPECT_EQ(rescale(140, 0, 96), 140);  // no dpi counts as 96
}
