// Radial glows, the ring and the segmented ring.
#include <gtest/gtest.h>

#include <cmath>

#include "generate/generators.hpp"
#include "platform/base/numbers.hpp"

namespace {
class GlowsTest : public ::testing::Test {
  protected:
    static void SetUpTestSuite() {
        content_ = new Content;
        content_->hole_half = 40.0f;
        content_->ring_half = 64.0f;
        generate_glow_blue(*content_, 2);
        generate_glow_red(*content_, 1);
        generate_ring(*content_, 2);
        generate_ring_segments(*content_, 2);
        generate_hole_glow(*content_, 1);
        generate_glow_white(*content_, 2);
    }
    static void TearDownTestSuite() {
        delete content_;
        content_ = nullptr;
    }
    static const Content& C() { return *content_; }
    static uint32_t Pixel(const ImagePtr& image, int x, int y, int frame = 0) {
        return ReadPixel(image->pixmaps[frame], x, y);
    }

  private:
    static Content* content_;
};
Content* GlowsTest::content_ = nullptr;

TEST_F(GlowsTest, SizesAndTheSharedPixmap) {
    EXPECT_EQ(C().glow_blue->width, 128);
    EXPECT_EQ(C().ring_segments->FrameCount(), 11);
    EXPECT_EQ(C().hole_glow_size, 70);
    EXPECT_EQ(C().hole_glow->width, 70);
    EXPECT_EQ(C().work_pix, C().hole_glow->pixmaps[0]);
    EXPECT_EQ(C().glow_white_pix, C().glow_white->pixmaps[0]);
}

TEST_F(GlowsTest, CentreAlphas) {
    EXPECT_EQ(Pixel(C().glow_blue, 64, 64), 0xF5FFFFFFu);  // 245, white core
    EXPECT_EQ(Pixel(C().glow_red, 64, 64), 0xF5FFFFFFu);
    EXPECT_EQ(Pixel(C().ring, 64, 64), 0x00FFFFFFu);
    EXPECT_EQ(Pixel(C().hole_glow, 35, 35), 0xFFFFFFFFu);
    EXPECT_EQ(Pixel(C().glow_white, 64, 64), 0xFFFFFFFFu);
}

TEST_F(GlowsTest, BeyondTheRadiusOnlyColourRemains) {
    const struct {
        ImagePtr image;
        int n;
        uint32_t outside;
    } cases[] = {{C().glow_blue, 128, 0x000000FF},
                 {C().glow_red, 128, 0x00FF0000},
                 {C().ring, 128, 0x00FFFFFF},
                 {C().hole_glow, 70, 0x00FFFFFF},
                 {C().glow_white, 128, 0}};
    for (const auto& c : cases) {
        const double half = c.n * 0.5;
        for (int x = 0; x < c.n; ++x) {
            for (int y = 0; y < c.n; ++y) {
                if (std::hypot(x - half, y - half) >= half) {
                    ASSERT_EQ(Pixel(c.image, x, y), c.outside) << c.n << " " << x << "," << y;
                }
            }
        }
    }
}

TEST_F(GlowsTest, ProfilesAlongARadius) {
    // glow_red's alpha rises steadily toward the centre; glow_white greys toward its rim.
    for (int x = 1; x <= 64; ++x) {
        ASSERT_GE(Pixel(C().glow_red, x, 64) >> 24, Pixel(C().glow_red, x - 1, 64) >> 24);
        ASSERT_GE(Pixel(C().glow_white, x, 64) >> 24, Pixel(C().glow_white, x, 64) & 0xFF);
    }
    // glow_blue keeps a faint halo at half the radius.
    const int halo = static_cast<int>(Pixel(C().glow_blue, 32, 64) >> 24);
    EXPECT_GE(halo, 1);
    EXPECT_LE(halo, 4);
}

TEST_F(GlowsTest, RingIsAThinBand) {
    EXPECT_EQ(Pixel(C().ring, 64 + 62, 64), 161u << 24 | 0xFFFFFF);
    for (int x = 0; x < 128; ++x) {
        for (int y = 0; y < 128; ++y) {
            const double d = std::hypot(x - 64.0, y - 64.0);
            if (d < 0.96 * 64 - 0.01) {
                ASSERT_EQ(Pixel(C().ring, x, y) >> 24, 0u) << x << "," << y;
            }
        }
    }
}

TEST_F(GlowsTest, SegmentFramesFillClockwiseFromTheTop) {
    const auto lit = [](int frame) {
        int n = 0;
        for (int x = 0; x < 128; ++x) {
            for (int y = 0; y < 128; ++y)
                n += (Pixel(C().ring_segments, x, y, frame) >> 24) != 0;
        }
        return n;
    };
    EXPECT_EQ(lit(0), 0);
    int previous = 0;
    for (int k = 1; k <= 10; ++k) {
        const int n = lit(k);
        EXPECT_GT(n, previous) << k;
        previous = n;
    }
    for (int k = 0; k <= 10; ++k)
        EXPECT_EQ(Pixel(C().ring_segments, 64, 64, k), 0x00FFDDCCu) << k;
    // Frame 1 holds the segment just clockwise of the top (right of it on the screen).
    const int band = 64 - 50;  // 50 pixels from the centre, inside the band
    EXPECT_NE(Pixel(C().ring_segments, 64 + 20, band, 1) >> 24, 0u);
    EXPECT_EQ(Pixel(C().ring_segments, 64 - 20, band, 1) >> 24, 0u);
    EXPECT_NE(Pixel(C().ring_segments, 64 - 20, band, 10) >> 24, 0u);
    // The full ring still has its ten 2-degree gaps: at the top and the bottom among them,
    // but not at the left.
    EXPECT_EQ(Pixel(C().ring_segments, 64, band, 10) >> 24, 0u);
    EXPECT_EQ(Pixel(C().ring_segments, 64, 128 - band, 10) >> 24, 0u);
    EXPECT_NE(Pixel(C().ring_segments, band, 64, 10) >> 24, 0u);
}

TEST_F(GlowsTest, OneThreadEqualsTwo) {
    Content single;
    single.hole_half = 40.0f;
    single.ring_half = 64.0f;
    generate_glow_blue(single, 1);
    generate_ring_segments(single, 1);
    for (int x = 0; x < 128; ++x) {
        for (int y = 0; y < 128; ++y) {
            ASSERT_EQ(Pixel(single.glow_blue, x, y), Pixel(C().glow_blue, x, y));
            for (int k = 0; k <= 10; ++k)
                ASSERT_EQ(Pixel(single.ring_segments, x, y, k), Pixel(C().ring_segments, x, y, k));
        }
    }
}
}  // namespace
