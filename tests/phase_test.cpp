// The generation phase without drawing: order, seeding, and two threads changing nothing.
#include <gtest/gtest.h>

#include "generate/phase.hpp"
#include "platform/base/clock.hpp"
#include "platform/base/numbers.hpp"

namespace {
bool SameFrame(const ImagePtr& a, const ImagePtr& b, int frame) {
    const PixmapPtr pa = a->pixmaps[frame], pb = b->pixmaps[frame];
    if (!pa || !pb) return !pa && !pb;
    for (int y = 0; y < pa->height; ++y) {
        for (int x = 0; x < pa->width; ++x) {
            if (pa->ReadPixel(x, y) != pb->ReadPixel(x, y)) return false;
        }
    }
    return true;
}

class PhaseTest : public ::testing::Test {
  protected:
    void SetUp() override {
        SeedRandom(kRandomStartState);
        FixClock(31337);
    }
    void TearDown() override { UnfixClock(); }
};

TEST_F(PhaseTest, FillsEveryGlobalAndLeavesTheWalkState) {
    Content c;
    generate_content_cpu(c, 1280, 500, 2);
    for (const ImagePtr& image :
         {c.vignette, c.backdrop, c.maze, c.player_ship, c.player_shadow, c.glow_blue, c.glow_red,
          c.ring, c.ring_segments, c.hole_glow, c.hole_img, c.glow_white}) {
        ASSERT_TRUE(image);
        EXPECT_EQ(image->flags, 11);
        EXPECT_EQ(image->handle_x, image->width * 0.5f);
    }
    EXPECT_TRUE(c.vignette_pix && c.backdrop_pix && c.glow_white_pix);
    EXPECT_EQ(c.work_pix, c.hole_glow->pixmaps[0]);
    EXPECT_EQ(c.walk_map.size(), 1280u * 500u);
    EXPECT_EQ(c.grid_gaps.size(), 256u);
    EXPECT_EQ(c.hole_half, 40.0f);
    EXPECT_EQ(c.ring_half, 64.0f);
    EXPECT_EQ(c.player_half, 32);
    EXPECT_EQ(c.hole_glow_size, 70);
    // After the walk nothing draws: the state is 80,001 steps past the second seeding.
    EXPECT_EQ(RandomState(), RandomJump(31337, 80001));
}

TEST_F(PhaseTest, TwoThreadsGiveTheSameContent) {
    Content a, b;
    generate_content_cpu(a, 1280, 500, 1);
    const int after = RandomState();
    SeedRandom(kRandomStartState);
    generate_content_cpu(b, 1280, 500, 2);
    EXPECT_EQ(RandomState(), after);
    EXPECT_EQ(a.grid_gaps, b.grid_gaps);
    EXPECT_EQ(a.walk_map, b.walk_map);
    EXPECT_EQ(a.player_bump, b.player_bump);
    EXPECT_EQ(a.player_normx, b.player_normx);
    EXPECT_EQ(a.player_silhouette, b.player_silhouette);
    EXPECT_EQ(a.hole_mask, b.hole_mask);
    EXPECT_EQ(a.hole_normz, b.hole_normz);
    EXPECT_EQ(a.hole_height, b.hole_height);
    const std::pair<ImagePtr Content::*, int> images[] = {
        {&Content::vignette, 1},      {&Content::backdrop, 1},       {&Content::maze, 1},
        {&Content::player_shadow, 1}, {&Content::glow_blue, 1},      {&Content::glow_red, 1},
        {&Content::ring, 1},          {&Content::ring_segments, 11}, {&Content::hole_glow, 1},
        {&Content::glow_white, 1}};
    for (const auto& [member, frames] : images) {
        for (int k = 0; k < frames; ++k)
            EXPECT_TRUE(SameFrame(a.*member, b.*member, k)) << (a.*member)->width << " " << k;
    }
}
}  // namespace
