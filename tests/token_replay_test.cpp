// Replays with the real enemies, trails and hole: the player taking the token from its carrier
// and an enemy taking it back, a delivery into the open hole, the tenth delivery ending the
// wave, and time running out; each new wave comes when the last finishing enemy has left.
#include <algorithm>

#include "game/event_hook.hpp"
#include "game/play_rules.hpp"
#include "game_fixture.hpp"

namespace {
class TokenReplayTest : public GameTest {
  protected:
    // The hole settled at (x, y) with the ship on it and the token held; the first enemy
    // parked far away in the bottom-left corner, so it cannot take the token back at once.
    void CarryAt(float x, float y, int open) {
        TGameState& g = G();
        g.ship_x = x, g.ship_y = y;
        g.the_hole_x = g.goal_x = x;
        g.the_hole_y = g.goal_y = y;
        g.relocate_clock = 0;
        g.the_hole->pos.x = x, g.the_hole->pos.y = y;
        g.the_hole->alpha = 1;
        g.the_hole->open = open;
        O().carrying = 1;
        ASSERT_EQ(O().enemies.Count(), 1);
        O().enemies.First()->pos.x = 20;
        O().enemies.First()->pos.y = 480;
    }
    // Runs until `done` holds after a pass (Escape is pressed then) or `passes` have run.
    std::vector<TTraceRow> ReplayUntil(int passes, const std::function<bool()>& done) {
        return Replay("", passes, [&](int) {
            if (done()) InjectEvent(EscapeDown());
        });
    }
    static TEvent EscapeDown() {
        TEvent e;
        e.id = EVENT_KEY_DOWN;
        e.data = kKeyEscape;
        return e;
    }
};

TEST_F(TokenReplayTest, TouchingTheCarrierTakesTheTokenAndAnEnemyTakesItBack) {
    G().relocate_clock = 0;
    G().goal_x = G().the_hole_x, G().goal_y = G().the_hole_y;
    const EnemyPtr carrier = O().enemies.First();
    carrier->pos.x = 300, carrier->pos.y = 100;
    carrier->vel.x = carrier->vel.y = 0;
    carrier->carrier = 1;
    carrier->carrier_count = 0;
    G().ship_x = 300, G().ship_y = 100;
    int gave_it_up = -1;
    const auto rows = Replay("", 400, [&](int pass) {
        if (pass == 0) gave_it_up = carrier->carrier == 0 ? 1 : 0;
        if (O().carrying == 0) InjectEvent(EscapeDown());
    });
    ASSERT_GE(rows.size(), 2u);
    EXPECT_EQ(rows[0].carrying, 1);
    EXPECT_EQ(gave_it_up, 1);
    ASSERT_EQ(rows.back().carrying, 0) << "no enemy took the token back in 400 frames";
    // Held until the last pass: the hole opened by one a frame (to 63 at most), then closed
    // by one.
    const int held = static_cast<int>(rows.size()) - 1;
    for (int k = 0; k < held; ++k)
        ASSERT_EQ(rows[k].carrying, 1) << k;
    EXPECT_EQ(G().the_hole->open, std::min(held, 63) - 1);
    EXPECT_FALSE(G().carry_trail);  // the token's trail ends with the token
    int carriers = 0;
    O().enemies.ForEach([&](const EnemyPtr& e, const auto&) { carriers += e->carrier; });
    EXPECT_EQ(carriers, 1);
}

TEST_F(TokenReplayTest, ATokenCarriedIntoTheHoleIsDeliveredOnTheFortySixthFrame) {
    CarryAt(1152, 384, 0);
    bool chained = false;  // the token's trail is one chain, a particle a frame
    const auto rows = Replay("", 50, [&](int pass) {
        if (pass == 10) chained = G().carry_trail && G().carry_trail->child;
    });
    EXPECT_EQ(rows[44].carrying, 1);
    EXPECT_EQ(rows[44].deliveries, 0);
    EXPECT_EQ(rows[45].deliveries, 1);
    EXPECT_EQ(rows[45].carrying, 0);
    EXPECT_EQ(rows[45].enemies, rows[44].enemies + rows[45].wave_size);
    EXPECT_EQ(rows[45].relocate_clock, 261);
    EXPECT_TRUE(chained);
    EXPECT_FALSE(G().carry_trail);
    EXPECT_LE(G().the_hole->open, 37);
}

TEST_F(TokenReplayTest, TheTenthDeliveryEndsTheWaveAndTheNextOneHasAnEnemyMore) {
    CarryAt(1152, 384, 63);
    G().deliveries = 9;
    const auto rows = ReplayUntil(2000, [] { return G().deliveries == 0; });
    EXPECT_EQ(rows[0].deliveries, 10);
    EXPECT_EQ(rows[0].wave_size, 2);
    EXPECT_EQ(rows[0].enemies, 1);  // nothing spawned
    ASSERT_EQ(rows.back().deliveries, 0) << "the finished enemy never left";
    EXPECT_EQ(rows.back().enemies, 2);
    EXPECT_EQ(rows.back().wave_time, static_cast<float>(100 - double(0.005f)));
    EXPECT_GT(rows.size(), 2u);
    for (size_t k = 0; k + 1 < rows.size(); ++k)
        ASSERT_EQ(rows[k].deliveries, 10) << k;
}

TEST_F(TokenReplayTest, RunningOutOfTimeStartsOverWithAWaveOfOne) {
    O().enemies.First()->pos.x = 20, O().enemies.First()->pos.y = 480;
    spawn_enemies(G(), 2);
    G().wave_size = 3;
    G().deliveries = 4;
    G().wave_time = 0.002f;
    const auto rows = ReplayUntil(2000, [] { return G().wave_time > 99; });
    EXPECT_LT(rows[0].wave_time, 0);
    EXPECT_EQ(rows[1].wave_size, 1);
    EXPECT_EQ(rows[1].deliveries, 0);
    ASSERT_GT(rows.back().wave_time, 99) << "the finishing enemies never left";
    EXPECT_EQ(rows.back().enemies, 1);
    EXPECT_EQ(rows.back().wave_size, 1);
}
}  // namespace
