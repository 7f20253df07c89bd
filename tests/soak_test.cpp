// The soak's own parts: the non-finite check names the field it found, the random input keeps
// Q presses under the enemy cap, repeats per seed and turns the wheel and extra buttons, which
// the game ignores, and a short soak of the started game passes its checks.
#include <gtest/gtest.h>

#include <algorithm>
#include <climits>
#include <cmath>
#include <limits>
#include <memory>
#include <set>
#include <string>
#include <vector>

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

namespace {
// Every action the soak's input gives over `passes` passes from `seed`, as one script.
TReplayScript SoakActions(uint32_t seed, int passes) {
    TSoakInput input(seed);
    TReplayScript all;
    for (int pass = 0; pass < passes; ++pass)
        for (const TReplayAction& a : input.Next(0, pass % 7 == 0))
            all.push_back(a);
    return all;
}

bool Same(const TReplayAction& x, const TReplayAction& y) {
    return x.kind == y.kind && x.a == y.a && x.b == y.b;
}

TEST(SoakInput, RepeatsPerSeedAndTurnsTheWheelAndExtraButtonsEveryWay) {
    const TReplayScript once = SoakActions(5, 20000), again = SoakActions(5, 20000);
    ASSERT_EQ(once.size(), again.size());
    EXPECT_TRUE(std::equal(once.begin(), once.end(), again.begin(), Same));
    std::set<int> wheel, buttons;
    for (const TReplayAction& a : once) {
        if (a.kind == TReplayKind::kWheel) wheel.insert(a.a);
        if (a.kind == TReplayKind::kDown) buttons.insert(a.a);
    }
    for (const int steps : {INT_MIN, INT_MAX, -5, -1, 1, 5})
        EXPECT_EQ(wheel.count(steps), 1u) << steps;
    for (const int button : {4, 5, 6})
        EXPECT_EQ(buttons.count(button), 1u) << button;
    EXPECT_TRUE(
        std::any_of(buttons.begin(), buttons.end(), [](int b) { return b > 6 && b < 256; }));
}

// The trace of each pass as text.
std::vector<std::string> Rows(const TReplayScript& script, int passes) {
    std::vector<std::string> rows;
    RunReplay(script, passes, [&](int pass) { rows.push_back(format_trace_row(trace_row(pass))); });
    return rows;
}

TEST_F(SoakTest, WheelStepsAndExtraButtonsReachTheHooksAndChangeNothing) {
    TReplayScript flight;
    std::string error;
    ASSERT_TRUE(
        ParseReplayScript("0 down 1\n5 move 700 250\n12 move 600 240\n30 up 1\n", &flight, &error));
    const std::vector<std::string> plain = Rows(flight, 40);
    Restart();
    // The hook outlives this body (the fixture clears it), so it shares what it records.
    const auto steps = std::make_shared<std::vector<int>>();
    AddHook(
        EventEmitHook(),
        [steps](int, const ObjectPtr& data, const ObjectPtr&) {
            const auto* e = dynamic_cast<const TEvent*>(data.get());
            if (e && e->id == EVENT_MOUSE_WHEEL) steps->push_back(e->data);
            return data;
        },
        nullptr, 0);
    TReplayScript noisy = flight;
    int pass = 1;
    for (const int a : {INT_MIN, INT_MAX, 0, 3})
        noisy.push_back({pass++, TReplayKind::kWheel, a, 0});
    for (const int button : {4, 5, 255, INT_MIN, INT_MAX}) {
        noisy.push_back({pass, TReplayKind::kDown, button, 0});
        noisy.push_back({pass + 10, TReplayKind::kUp, button, 0});
        ++pass;
    }
    std::stable_sort(
        noisy.begin(), noisy.end(),
        [](const TReplayAction& x, const TReplayAction& y) { return x.pass < y.pass; });
    EXPECT_EQ(Rows(noisy, 40), plain);
    EXPECT_EQ(*steps, (std::vector<int>{INT_MIN, INT_MAX, 0, 3}));
}
}  // namespace
