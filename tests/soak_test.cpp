// The soak's own parts: the non-finite check names the field it found, the random input keeps
// Q presses under the enemy cap, and a short soak of the started game passes its checks.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "game_fixture.hpp"
#include "support/soak.hpp"

namespace {
using SoakTest = GameTest;

TEST_F(SoakTest, TheNonFiniteCheckNamesTheField) {
    EXPECT_EQ(FirstNonFiniteReal(), "");
    G().wave_time = std::numeric_limits<float>::infinity();
    EXPECT_EQ(FirstNonFiniteReal(), "wave_time");
    G().wave_time = 1;
    ASSERT_GE(O().enemies.Count(), 1);
    O().enemies.First()->vel.y = std::nan("");
    EXPECT_EQ(FirstNonFiniteReal(), "enemies[0].vel.y");
    O().enemies.First()->vel.y = 0;
    O().holes.First()->alpha = -std::numeric_limits<float>::infinity();
    EXPECT_EQ(FirstNonFiniteReal(), "holes[0].alpha");
}

TEST_F(SoakTest, ShortSoakHoldsEveryCheck) {
    const TSoakReport r = RunSoak(400, 7);
    EXPECT_EQ(r.failure, "");
    EXPECT_EQ(r.passes, 400);
    EXPECT_GT(r.events, 0);
    EXPECT_LE(r.peak.holes, 1);
    EXPECT_GT(r.first_quarter_kib, 0);
}

TEST(SoakInput, QPressesStopAtTheEnemyCap) {
    TSoakInput input(3);
    int q_at_cap = 0, q_below = 0;
    for (int pass = 0; pass < 20000; ++pass) {
        const bool at_cap = pass % 2 == 0;
        for (const TReplayAction& a : input.Next(at_cap ? kSoakEnemyCap : 0, false)) {
            const bool press = a.kind == TReplayKind::kKey || a.kind == TReplayKind::kKeyDown;
            if (press && a.a == 'Q') ++(at_cap ? q_at_cap : q_below);
        }
    }
    EXPECT_EQ(q_at_cap, 0);
    EXPECT_GT(q_below, 0);
}
}  // namespace
