// The 64 hole stages: masks, normals and the stage bookkeeping.
#include <gtest/gtest.h>

#include <cmath>

#include "generate/generators.hpp"
#include "platform/base/numbers.hpp"

namespace {
constexpr int S = 80, kArea = S * S;

class HoleFramesTest : public ::testing::Test {
  protected:
    static void SetUpTestSuite() {
        content_ = new Content;
        content_->hole_half = content_->hole_size * 0.5f;
        generate_hole_frames(*content_, 2);
    }
    static void TearDownTestSuite() {
        delete content_;
        content_ = nullptr;
    }
    static const Content& C() { return *content_; }
    static int Mask(int k, int x, int y) { return C().hole_mask[k * kArea + x + y * S]; }
    static double Dist(int x, int y) { return std::hypot(x - 40.0, y - 40.0); }

  private:
    static Content* content_;
};
Content* HoleFramesTest::content_ = nullptr;

TEST_F(HoleFramesTest, Bookkeeping) {
    EXPECT_EQ(C().hole_spoke_angle, 60.0f);
    EXPECT_EQ(C().hole_mask.size(), 64u * kArea);
    EXPECT_EQ(C().hole_normz.size(), 64u * kArea);
    EXPECT_EQ(C().hole_height.size(), static_cast<size_t>(kArea));
    ASSERT_TRUE(C().hole_img);
    EXPECT_EQ(C().hole_img->width, S);
}

TEST_F(HoleFramesTest, CentreMaskClosesOverTheFirstStages) {
    for (int k = 0; k < 64; ++k) {
        const int want = std::max(0, FloatToInt(255 * (1 - 0.7 * k / 5)));
        EXPECT_NEAR(Mask(k, 40, 40), want, 1) << k;
    }
    EXPECT_EQ(Mask(0, 40, 40), 255);
    EXPECT_EQ(Mask(7, 40, 40), 5);
    EXPECT_EQ(Mask(8, 40, 40), 0);
}

TEST_F(HoleFramesTest, NothingBeyondTheRimAndNothingFromStage57) {
    int last_visible = 0;
    for (int k = 0; k < 64; ++k) {
        for (int x = 0; x < S; ++x) {
            for (int y = 0; y < S; ++y) {
                if (k >= 57 || Dist(x, y) >= 40) {
                    ASSERT_EQ(Mask(k, x, y), 0) << k;
                }
                if (Mask(k, x, y) > 0) last_visible = k;
            }
        }
    }
    EXPECT_EQ(last_visible, 56);  // a sliver of rim fade remains
}

TEST_F(HoleFramesTest, Stage30HasAnEmptyCentreAndALowLip) {
    const int k = 30;
    int lip = 0;
    for (int x = 0; x < S - 1; ++x) {
        for (int y = 0; y < S - 1; ++y) {
            const double d = Dist(x, y);
            const int i = k * kArea + x + y * S;
            if (d < 15) {  // flat and empty, so its normal points straight up
                ASSERT_EQ(Mask(k, x, y), 0);
                ASSERT_EQ(C().hole_normz[i], 1.0f);
            } else if (d > 16 && d <= 21) {
                ASSERT_LE(Mask(k, x, y), 57);
                lip += Mask(k, x, y) > 0;
            }
        }
    }
    EXPECT_GT(lip, 100);
}

TEST_F(HoleFramesTest, NormalsAreUnitExceptTheLastRowAndColumn) {
    for (int k : {0, 1, 20, 45, 63}) {
        for (int x = 0; x < S; ++x) {
            for (int y = 0; y < S; ++y) {
                const int i = k * kArea + x + y * S;
                const double nx = C().hole_normx[i], ny = C().hole_normy[i], nz = C().hole_normz[i];
                if (x == S - 1 || y == S - 1) {
                    ASSERT_TRUE(nx == 0 && ny == 0 && nz == 0);
                } else {
                    ASSERT_NEAR(std::sqrt(nx * nx + ny * ny + nz * nz), 1.0, 3e-7) << k;
                    if (Dist(x, y) > 42) {
                        ASSERT_EQ(nz, 1.0);  // beyond the rim: flat
                    }
                }
            }
        }
    }
}

TEST_F(HoleFramesTest, StageZeroIsAConeWithItsPeakAtTheCentre) {
    // Walking out from the centre along a ray, the opacity never rises.
    for (int r = 1; r < 40; ++r)
        EXPECT_LE(Mask(0, 40 + r, 40), Mask(0, 40 + r - 1, 40)) << r;
    EXPECT_LT(C().hole_normz[40 + 40 * S], 1.0f);  // the peak slopes away
}

TEST_F(HoleFramesTest, OneThreadEqualsTwo) {
    Content single;
    single.hole_half = 40.0f;
    generate_hole_frames(single, 1);
    EXPECT_EQ(single.hole_mask, C().hole_mask);
    EXPECT_EQ(single.hole_normx, C().hole_normx);
    EXPECT_EQ(single.hole_normy, C().hole_normy);
    EXPECT_EQ(single.hole_normz, C().hole_normz);
    EXPECT_EQ(single.hole_height, C().hole_height);
    // The relief left behind is the last stage's: its opening is wider than the rim, so only
    // a faint lip just inside the rim has height, and nothing beyond it.
    for (int x = 0; x < S; ++x) {
        for (int y = 0; y < S; ++y) {
            const float h = single.hole_height[x + y * S];
            ASSERT_EQ(h, Dist(x, y) < 39 || Dist(x, y) >= 40 ? 0.0f : h) << x << "," << y;
            ASSERT_LT(h, 1e-3f);
        }
    }
}
}  // namespace
