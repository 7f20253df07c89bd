// Primitive geometry without a GPU: oval point counts and outlines, line quads.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <set>
#include <utility>

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
// Which side of the edge a -> b the point p lies on: the sign of the cross product.
double Side(double ax, double ay, double bx, double by, double px, double py) {
    return (bx - ax) * (py - ay) - (by - ay) * (px - ax);
}

using Pixels = std::set<std::pair<int, int>>;

// The pixels whose centres lie inside the strip's triangles (0, 1, 2) and (2, 1, 3). A centre
// on an edge would leave the choice to each rasteriser's tie rule: the lines below have none.
Pixels Covered(const float s[8]) {
    Pixels out;
    const int tris[2][3] = {{0, 1, 2}, {2, 1, 3}};
    for (int y = -20; y < 40; ++y) {
        for (int x = -20; x < 40; ++x) {
            const double px = x + 0.5, py = y + 0.5;
            for (const auto& t : tris) {
                double side[3];
                for (int e = 0; e < 3; ++e) {
                    const int a = t[e], b = t[(e + 1) % 3];
                    side[e] = Side(s[a * 2], s[a * 2 + 1], s[b * 2], s[b * 2 + 1], px, py);
                    EXPECT_NE(side[e], 0) << "pixel " << x << ", " << y << " on an edge";
                }
                if ((side[0] > 0 && side[1] > 0 && side[2] > 0) ||
                    (side[0] < 0 && side[1] < 0 && side[2] < 0))
                    out.insert({x, y});
            }
        }
    }
    return out;
}

// A line between pixel centres drawn by the diamond-exit rule: along its main direction one
// pixel per step, the one the line crosses at that step's centre, the last end's left out.
Pixels DiamondExit(int x0, int y0, int x1, int y1) {
    Pixels out;
    const bool steep = std::abs(y1 - y0) > std::abs(x1 - x0);
    const int n = steep ? std::abs(y1 - y0) : std::abs(x1 - x0);
    for (int i = 0; i < n; ++i) {
        const double t = double(i) / n;
        const double x = x0 + 0.5 + (x1 - x0) * t, y = y0 + 0.5 + (y1 - y0) * t;
        out.insert({int(std::floor(x)), int(std::floor(y))});
    }
    return out;
}

TEST(DrawGeometry, ThinLineQuadsFillWhatTheDiamondExitRuleDoesInEveryDirection) {
    // Both axes both ways, the diagonals, and slopes whose steps never land on a pixel edge.
    const int ends[][2] = {{10, 0},  {-10, 0}, {0, 10}, {0, -10}, {6, 6},   {-6, 6}, {6, -6},
                           {-6, -6}, {7, 3},   {-7, 3}, {3, -7},  {-3, -7}, {5, 2}};
    for (const auto& e : ends) {
        float s[8];
        ASSERT_TRUE(ThinLineStrip(12, 15, float(12 + e[0]), float(15 + e[1]), s));
        EXPECT_EQ(Covered(s), DiamondExit(12, 15, 12 + e[0], 15 + e[1]))
            << "to " << e[0] << ", " << e[1];
    }
    float s[8];
    EXPECT_FALSE(ThinLineStrip(3, 4, 3, 4, s));  // no length, nothing filled
}
}  // namespace
