// Primitive geometry without a GPU: oval point counts and outlines, wide-line quads.
#include <gtest/gtest.h>

#include <cmath>

#include "platform/draw/detail/draw_geometry.hpp"

namespace {
TEST(DrawGeometry, OvalPointCounts) {
    EXPECT_EQ(OvalPointCount(2, 2), 12);     // 4 x 4
    EXPECT_EQ(OvalPointCount(50, 50), 100);  // 100 x 100
    EXPECT_EQ(OvalPointCount(15, 10), 24);   // 30 x 20: 25 loses its low bits
    EXPECT_EQ(OvalPointCount(-7.5f, 7.9f), 12);
    EXPECT_EQ(OvalOutline(0, 0, 100, 100).size(), 200u);
}

TEST(DrawGeometry, HugeOvalsGetAtMostTheCappedPointCount) {
    EXPECT_EQ(OvalPointCount(5e9f, 5e9f), kMaxOvalPoints);
    EXPECT_EQ(OvalPointCount(INFINITY, 0), kMaxOvalPoints);
    EXPECT_EQ(OvalPointCount(NAN, 1), 12);
    const auto xy = OvalOutline(0, 0, 4e6f, 4e6f);  // 4,000,000 points before the cap
    ASSERT_EQ(xy.size(), 2u * kMaxOvalPoints);
    // The last point is one step short of a full turn: just below the first on screen.
    EXPECT_NEAR(xy[xy.size() - 2], 4e6, 1);
    EXPECT_GT(xy.back(), 2e6f);
    EXPECT_LT(xy.back(), 2e6f + 20);
}

TEST(DrawGeometry, OvalStartsRightAndTurnsUpwardsOnScreen) {
    const auto xy = OvalOutline(0, 0, 40, 20);  // 28 points: 30 truncated to a multiple of 4
    ASSERT_EQ(xy.size(), 56u);
    EXPECT_FLOAT_EQ(xy[0], 40);
    EXPECT_FLOAT_EQ(xy[1], 10);
    EXPECT_NEAR(xy[7 * 2], 20, 1e-4);  // a quarter turn: the top point
    EXPECT_NEAR(xy[7 * 2 + 1], 0, 1e-4);
}

TEST(DrawGeometry, WideLinesWidenAcrossTheirMainDirection) {
    float s[8];
    WideLineStrip(10, 10, 20, 12, 6, s);  // shallow: along y
    const float shallow[8] = {10, 7, 10, 13, 20, 9, 20, 15};
    for (int i = 0; i < 8; ++i)
        EXPECT_EQ(s[i], shallow[i]) << i;
    WideLineStrip(10, 10, 12, 20, 2, s);  // steep: along x
    const float steep[8] = {9, 10, 11, 10, 11, 20, 13, 20};
    for (int i = 0; i < 8; ++i)
        EXPECT_EQ(s[i], steep[i]) << i;
    WideLineStrip(0, 0, 5, -5, 4, s);  // a tie widens along y
    EXPECT_EQ(s[0], 0);
    EXPECT_EQ(s[1], -2);
}
}  // namespace
