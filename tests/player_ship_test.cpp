// The player ship relief, normals and shadow.
#include <gtest/gtest.h>

#include <cmath>

#include "generate/generators.hpp"
#include "platform/base/numbers.hpp"

namespace {
class PlayerShipTest : public ::testing::Test {
  protected:
    static void SetUpTestSuite() {
        content_ = new Content;
        generate_player_ship(*content_);
    }
    static void TearDownTestSuite() {
        delete content_;
        content_ = nullptr;
    }
    static const Content& C() { return *content_; }
    static float At(const FloatField& f, int x, int y) { return f[x + y * 64]; }

  private:
    static Content* content_;
};
Content* PlayerShipTest::content_ = nullptr;

TEST_F(PlayerShipTest, SizesAndImages) {
    EXPECT_EQ(C().player_half, 32);
    EXPECT_EQ(C().player_bump.size(), 64u * 64u);
    ASSERT_TRUE(C().player_ship && C().player_shadow);
    EXPECT_EQ(C().player_ship->width, 64);
    EXPECT_EQ(C().player_shadow->flags, 11);
}

TEST_F(PlayerShipTest, ReliefStaysInUnitRangeAndLeavesTheBorderFlat) {
    float highest = 0;
    for (int x = 0; x < 64; ++x) {
        for (int y = 0; y < 64; ++y) {
            const float h = At(C().player_bump, x, y);
            ASSERT_TRUE(h >= 0 && h <= 1) << x << "," << y << " " << h;
            if (x <= 5 || x >= 59 || y <= 5 || y >= 59) {
                ASSERT_EQ(h, 0.0f) << x << "," << y;
            }
            highest = std::max(highest, h);
        }
    }
    EXPECT_GT(highest, 0.9f);
    // The fold drops the centre column from its peak at row 32 to almost nothing at row 33.
    EXPECT_GT(At(C().player_bump, 32, 32), 0.95f);
    EXPECT_LT(At(C().player_bump, 32, 33), 0.02f);
}

// A groove runs down each flank at columns 21 and 43: there the relief is cut to 60 % of the
// hull its neighbours stand on. Rows 23 to 32 lie below the domes and above the fold, where
// the flank is smooth enough for the neighbours' mean to stand for the uncut relief.
TEST_F(PlayerShipTest, AGrooveCutsEachFlankToSixtyPercent) {
    for (int y = 23; y <= 32; ++y) {
        for (int x : {21, 43}) {
            const float side = (At(C().player_bump, x - 1, y) + At(C().player_bump, x + 1, y)) / 2;
            ASSERT_GT(side, 0.3f) << x << "," << y;
            EXPECT_NEAR(At(C().player_bump, x, y) / side, 0.6, 0.02) << x << "," << y;
        }
    }
}

TEST_F(PlayerShipTest, ReliefIsNearlyMirrorSymmetric) {
    for (int x = 1; x < 32; ++x) {
        for (int y = 0; y < 64; ++y)
            ASSERT_NEAR(At(C().player_bump, 32 - x, y), At(C().player_bump, 32 + x, y), 2e-3);
    }
}

TEST_F(PlayerShipTest, NormalsAreUnitFlatOrZero) {
    for (int x = 0; x < 64; ++x) {
        for (int y = 0; y < 64; ++y) {
            const double nx = At(C().player_normx, x, y), ny = At(C().player_normy, x, y),
                         nz = At(C().player_normz, x, y);
            if (x == 63 || y == 63) {
                ASSERT_TRUE(nx == 0 && ny == 0 && nz == 0) << x << "," << y;
                continue;
            }
            ASSERT_NEAR(std::sqrt(nx * nx + ny * ny + nz * nz), 1.0, 3e-7) << x << "," << y;
            const float h = At(C().player_bump, x, y);
            if (h == At(C().player_bump, x + 1, y) && h == At(C().player_bump, x, y + 1)) {
                ASSERT_TRUE(nx == 0 && ny == 0 && nz == 1) << x << "," << y;
            }
        }
    }
    EXPECT_EQ(At(C().player_normz, 0, 0), 1.0f);
}

TEST_F(PlayerShipTest, ShadowAlphaPeaksNearTheMiddleAndFadesOutside) {
    const PixmapPtr pix = LockImage(C().player_shadow, 0, 1, 0);
    int highest = 0, hx = 0, hy = 0;
    for (int x = 0; x < 64; ++x) {
        for (int y = 0; y < 64; ++y) {
            const uint32_t p = ReadPixel(pix, x, y);
            ASSERT_EQ(p & 0xFFFFFF, 0u);
            const int a = static_cast<int>(p >> 24);
            ASSERT_LE(a, 128);
            if (a > highest) highest = a, hx = x, hy = y;
        }
    }
    EXPECT_GE(highest, 118);
    EXPECT_LE(highest, 126);
    EXPECT_NEAR(hx, 32, 12);
    EXPECT_NEAR(hy, 32, 16);
    // Two blurs of radius 3 reach six pixels: farther from the relief the shadow is clear.
    const auto near_relief = [](int x, int y) {
        for (int i = std::max(0, x - 6); i <= std::min(63, x + 6); ++i) {
            for (int j = std::max(0, y - 6); j <= std::min(63, y + 6); ++j) {
                if (At(C().player_bump, i, j) > 0) return true;
            }
        }
        return false;
    };
    int clear = 0;
    for (int x = 0; x < 64; ++x) {
        for (int y = 0; y < 64; ++y) {
            if (!near_relief(x, y)) {
                ASSERT_EQ(ReadPixel(pix, x, y), 0u) << x << "," << y;
                ++clear;
            }
        }
    }
    EXPECT_GT(clear, 0);
}
}  // namespace
