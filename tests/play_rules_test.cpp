// The play rules on the started game, with the state set directly: the distance a delivery
// needs, no delivery while the hole closes, the tenth delivery, new waves, running out of time,
// the hole's relocation, and deliveries past ten.
#include <cstring>
#include <set>

#include "game/play_rules.hpp"
#include "game/scene.hpp"
#include "game_fixture.hpp"

namespace {
class PlayRulesTest : public GameTest {
  protected:
    // Ship and hole at (x, y), the hole settled (its clock far from closing), the token held.
    void CarryAt(float x, float y, int open) {
        G().ship_x = x, G().ship_y = y;
        G().the_hole_x = G().goal_x = x;
        G().the_hole_y = G().goal_y = y;
        G().relocate_clock = 0;
        G().the_hole->open = open;
        O().carrying = 1;
    }
    static int Finished() {
        int n = 0;
        O().enemies.ForEach([&](const EnemyPtr& e, const auto&) { n += e->finished; });
        return n;
    }
};

TEST_F(PlayRulesTest, ADeliveryNeedsAManhattanDistanceBelowSixtyFour) {
    CarryAt(400, 380, 60);
    G().ship_x = 440, G().ship_y = 404;  // 40 + 24: exactly 64 away
    play_rules(G());
    EXPECT_EQ(G().deliveries, 0);
    G().ship_x = 439.5f;  // 63.5 away, though 46 pixels in a straight line
    play_rules(G());
    EXPECT_EQ(G().deliveries, 1);
}

TEST_F(PlayRulesTest, WhileTheHoleClosesNoDeliveryIsPossible) {
    CarryAt(400, 380, 63);
    O().carrying = 0;
    G().relocate_clock = 260;
    play_rules(G());  // the clock reaches 261: the opening is cut
    O().carrying = 1;
    for (int frame = 0; frame < 30; ++frame) {
        play_rules(G());
        ASSERT_EQ(G().deliveries, 0) << frame;
        ASSERT_LE(G().the_hole->open, 37);
    }
}

TEST_F(PlayRulesTest, TheTenthDeliverySpawnsNothingAndFinishesEveryEnemy) {
    spawn_enemies(G(), 3);
    const int enemies = O().enemies.Count();
    CarryAt(400, 380, 63);
    G().deliveries = 9;
    G().wave_size = 4;
    play_rules(G());
    EXPECT_EQ(G().deliveries, 10);
    EXPECT_EQ(O().enemies.Count(), enemies);
    EXPECT_EQ(Finished(), enemies);
    EXPECT_EQ(G().wave_size, 5);
    // Forty frames later the hole leaves for its out-of-the-way place.
    for (int frame = 0; frame < 40; ++frame)
        play_rules(G());
    EXPECT_EQ(G().relocate_clock, 301);
    EXPECT_EQ(G().goal_x, 1024);
    EXPECT_EQ(G().goal_y, 256);
}

TEST_F(PlayRulesTest, AnEmptyListStartsANewWaveWithFullTime) {
    G().deliveries = 10;
    G().wave_size = 3;
    G().wave_time = 40;
    O().enemies.Clear();
    play_rules(G());
    EXPECT_EQ(G().deliveries, 0);
    EXPECT_EQ(O().enemies.Count(), 3);
    EXPECT_EQ(G().wave_time, static_cast<float>(100 - double(0.005f)));
}

TEST_F(PlayRulesTest, RunningOutOfTimeStartsOverWithAWaveOfOne) {
    spawn_enemies(G(), 2);
    CarryAt(900, 100, 10);
    G().wave_time = -0.001f;
    G().wave_size = 4;
    G().deliveries = 6;
    G().relocate_clock = 120;
    play_rules(G());
    EXPECT_EQ(G().wave_time, 0);
    EXPECT_EQ(O().carrying, 0);
    EXPECT_EQ(G().deliveries, 0);
    EXPECT_EQ(G().wave_size, 1);
    EXPECT_EQ(G().relocate_clock, 301);  // and the hole moves at once
    EXPECT_EQ(Finished(), O().enemies.Count());
    EXPECT_EQ(G().goal_x, 1024);  // no time left: out of the way
    // While the finishing enemies stay, the gauge alternates and the reset repeats.
    play_rules(G());
    EXPECT_EQ(G().wave_time, static_cast<float>(-double(0.005f)));
    G().wave_size = 2;
    play_rules(G());
    EXPECT_EQ(G().wave_time, 0);
    EXPECT_EQ(G().wave_size, 1);
}

TEST_F(PlayRulesTest, TheHoleGlidesATenthOfTheWayAFrameAndTakesItsNewPlaceOnArrival) {
    G().relocate_clock = 300;
    G().the_hole->open = 20;
    play_rules(G());
    const std::set<float> xs = {128, 256, 384, 512, 640, 768, 896, 1024, 1152};
    EXPECT_TRUE(xs.count(G().goal_x)) << G().goal_x;
    EXPECT_TRUE(G().goal_y == 128 || G().goal_y == 256 || G().goal_y == 384) << G().goal_y;
    EXPECT_EQ(G().the_hole_x, static_cast<float>(100 + double(0.1f) * (G().goal_x - 100)));
    EXPECT_EQ(G().the_hole->open, 11);  // closes by one, then is cut to 60 %
    int frames = 1;
    while (G().relocate_clock != 0 && frames < 500) {
        play_rules(G());
        ++frames;
    }
    EXPECT_GT(frames, 30);
    EXPECT_LT(frames, 100);
    EXPECT_EQ(G().the_hole->alpha, 1);
    EXPECT_EQ(G().the_hole->pos.x, G().the_hole_x);
    EXPECT_EQ(G().the_hole->pos.y, G().the_hole_y);
    EXPECT_NEAR(G().the_hole_x, G().goal_x, 0.32);
}

// The new goal is two draws, the column (1 to 9) before the row (1 to 3), made on the frame the
// clock passes 300; over many generator states every one of the 27 places comes up.
TEST_F(PlayRulesTest, TheGoalIsAColumnThenARowOfTheHoleGrid) {
    std::set<std::pair<float, float>> places;
    for (int seed = 1; seed <= 400; ++seed) {
        G().relocate_clock = 300;
        G().wave_time = 50, G().deliveries = 0;
        SeedRandom(seed * 7919);
        play_rules(G());
        SeedRandom(seed * 7919);
        const int column = RandomInt(1, 9), row = RandomInt(1, 3);
        ASSERT_EQ(G().goal_x, 128.0f * column) << "seed " << seed;
        ASSERT_EQ(G().goal_y, 128.0f * row) << "seed " << seed;
        places.emplace(G().goal_x, G().goal_y);
    }
    EXPECT_EQ(places.size(), 27u);
}

TEST_F(PlayRulesTest, DeliveriesMayPassTenAndTheRingShowsItsLastFrame) {
    CarryAt(400, 380, 63);
    G().deliveries = 10;
    spawn_enemy(G());  // Q after the tenth delivery: a new carrier
    play_rules(G());
    EXPECT_EQ(G().deliveries, 11);
    // The ring of eleven or more looks like the ring of ten.
    const auto panel = [](int deliveries) {
        G().deliveries = deliveries;
        SetClsColor(0, 0, 0);
        Cls();
        draw_side_panel(G());
        return GrabPixmap(250, 250, 300, 260);
    };
    const PixmapPtr nine = panel(9), ten = panel(10), more = panel(14);
    const size_t bytes = static_cast<size_t>(ten->pitch) * ten->height;
    EXPECT_NE(std::memcmp(nine->pixels, ten->pixels, bytes), 0);
    EXPECT_EQ(std::memcmp(more->pixels, ten->pixels, bytes), 0);
}
}  // namespace
