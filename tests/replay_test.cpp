// Replay scripts on the started game, checked against the trace: steering, thrust, edges,
// bumpers, engine chains, pause with auto-repeat, Q while paused, trail tuning keys, the
// hole's first move, focus and pointer entry, Escape.
#include <cmath>
#include <string>

#include "game/event_hook.hpp"
#include "game_fixture.hpp"

namespace {
class ReplayTest : public GameTest {};

// "F kind args" for each pass from `first` to `last`.
std::string EachPass(int first, int last, const std::string& action) {
    std::string script;
    for (int pass = first; pass <= last; ++pass)
        script += std::to_string(pass) + " " + action + "\n";
    return script;
}

TEST_F(ReplayTest, AMouseJumpOfMoreThanTenPixelsTurnsExactlyTenDegrees) {
    const auto rows = Replay(
        "0 move 700 250\n1 move 645 250\n2 move 600 250\n"
        "3 move 637 260  # vertical motion does not steer\n",
        5);
    ASSERT_EQ(rows.size(), 5u);
    EXPECT_EQ(rows[0].heading, 10);
    EXPECT_EQ(rows[1].heading, 15);
    EXPECT_EQ(rows[2].heading, 5);
    EXPECT_EQ(rows[3].heading, 2);
    EXPECT_EQ(rows[4].heading, 2);  // the pointer was put back at the centre
}

TEST_F(ReplayTest, WithoutTheLeftButtonNothingMoves) {
    const auto rows =
        Replay(EachPass(0, 59, "move 655 250") + "10 down 2\n20 up 2\n30 down 3\n", 60);
    for (const TTraceRow& r : rows) {
        ASSERT_EQ(r.ship_x, 640) << r.pass;
        ASSERT_EQ(r.ship_y, 250) << r.pass;
        ASSERT_EQ(r.ship_thrust, 0) << r.pass;
    }
    EXPECT_EQ(rows.back().heading, 600);
}

TEST_F(ReplayTest, FlownIntoTheTopEdgeTheShipLandsAtTwentyFive) {
    // Eighteen turns of ten degrees face the ship up the screen; then full thrust.
    const auto rows = Replay(EachPass(0, 17, "move 650 250") + "18 down 1\n", 120);
    EXPECT_EQ(rows[17].heading, 180);
    int landed = -1;
    for (size_t k = 19; k < rows.size() && landed < 0; ++k)
        if (rows[k].ship_y == 25) landed = static_cast<int>(k);
    ASSERT_GT(landed, 0) << "never reached the top edge";
    EXPECT_GT(rows[landed - 1].ship_y, 25);
    EXPECT_LT(rows[landed - 1].ship_vy, 0);  // moving up
    EXPECT_GT(rows[landed].ship_vy, 0);      // mirrored
}

TEST_F(ReplayTest, PushedPastEachEdgeTheShipLandsTwentyFivePixelsInside) {
    const struct {
        float x, y, vx, vy, want_x, want_y;
    } cases[] = {
        {30, 100, 0.2f, 0, 25, 100},  // moving left (ship_vx counts to the left)
        {1250, 100, -0.2f, 0, 1255, 100},
        {300, 30, 0, -0.2f, 300, 25},
        {300, 470, 0, 0.2f, 300, 475},
    };
    for (const auto& c : cases) {
        G().ship_x = c.x, G().ship_y = c.y, G().ship_vx = c.vx, G().ship_vy = c.vy;
        G().ship_thrust = 60;
        const TTraceRow r = Replay("", 1).back();
        EXPECT_EQ(r.ship_x, c.want_x) << c.x << "," << c.y;
        EXPECT_EQ(r.ship_y, c.want_y) << c.x << "," << c.y;
        EXPECT_EQ(r.ship_vx, static_cast<float>(-c.vx * double(0.969f)));
        EXPECT_EQ(r.ship_vy, static_cast<float>(-c.vy * double(0.969f)));
    }
}

TEST_F(ReplayTest, ABumperBouncesTheShipButATangentContactDoesNot) {
    // 70 pixels right of bumper 2 and coasting left into it.
    G().ship_x = 582, G().ship_y = 256, G().ship_vx = 0.16f, G().ship_thrust = 40;
    TTraceRow r = Replay("", 1).back();
    const float vx = static_cast<float>(0.16f * double(0.969f));
    const float thrust = static_cast<float>(40 * double(0.992f));
    ASSERT_LT(582 - double(vx) * thrust, 576);  // inside after its motion
    EXPECT_EQ(r.ship_vx, -vx);
    EXPECT_EQ(r.ship_x, static_cast<float>(576 - double(vx)));
    EXPECT_EQ(r.ship_y, 256);
    // Resting on the rim straight above bumper 1, with motion down toward it but no thrust.
    G().ship_x = 256, G().ship_y = 192, G().ship_vx = 0, G().ship_vy = 0.1f, G().ship_thrust = 0;
    r = Replay("", 1).back();
    EXPECT_EQ(r.ship_y, 192);
    EXPECT_EQ(r.ship_vy, static_cast<float>(0.1f * double(0.969f)));
}

TEST_F(ReplayTest, ReleasingTheButtonCutsBothEngineChains) {
    TrailPtr at8;
    const auto each = [&](int pass) {
        const TGameState& g = G();
        if (pass == 4) {
            ASSERT_TRUE(g.left_trail && g.right_trail);
            EXPECT_TRUE(g.left_trail->child && g.right_trail->child);
            EXPECT_NE(g.left_trail, g.right_trail);
        }
        if (pass >= 5 && pass <= 7) {
            EXPECT_FALSE(g.left_trail || g.right_trail) << pass;
        }
        if (pass == 8) {
            ASSERT_TRUE(g.left_trail && g.right_trail);
            EXPECT_FALSE(g.left_trail->child || g.right_trail->child);  // new chains
            at8 = g.left_trail;
        }
        if (pass == 9) {
            EXPECT_EQ(g.left_trail->child, at8);
        }
    };
    Replay("0 down 1\n5 up 1\n8 down 1\n", 10, each);
}

TEST_F(ReplayTest, HoldingPTogglesThePauseOnce) {
    const auto rows = Replay("2 keydown 80\n" + EachPass(3, 9, "repeat 80") + "10 keyup 80\n", 14);
    for (const TTraceRow& r : rows)
        EXPECT_EQ(r.paused, r.pass >= 2 ? 1 : 0) << r.pass;
    EXPECT_TRUE(PointerVisible());
    ASSERT_TRUE(G().pause_image);
    EXPECT_EQ(G().pause_image->width, 1280);
    EXPECT_EQ(G().pause_image->height, 500);
    // Nothing plays while paused.
    EXPECT_EQ(rows[13].relocate_clock, rows[2].relocate_clock);
    EXPECT_EQ(rows[13].wave_time, rows[2].wave_time);
}

TEST_F(ReplayTest, QWhilePausedAddsAnEnemySeenWhenPlayResumes) {
    const auto rows = Replay("1 key 80\n3 key 81\n5 key 80\n", 7);
    EXPECT_EQ(rows[1].paused, 1);
    EXPECT_EQ(rows[3].enemies, rows[2].enemies + 1);
    EXPECT_EQ(rows[5].paused, 0);
    EXPECT_FALSE(PointerVisible());
    EXPECT_EQ(rows[6].relocate_clock, rows[1].relocate_clock + 2);  // two frames since
}

TEST_F(ReplayTest, PageUpTenTimesFromTheStartEndsJustBelowPointNinetyNine) {
    Replay(EachPass(0, 9, "key 33"), 10);
    float want = 0.94f;
    int accepted = 0;
    for (int i = 0; i < 10; ++i) {
        if (want >= 0.98f) continue;
        want = static_cast<float>(want + double(0.01f));
        ++accepted;
    }
    EXPECT_EQ(accepted, 5);
    EXPECT_EQ(O().trail_fade, want);
    EXPECT_LT(O().trail_fade, 0.99f);
    EXPECT_GT(O().trail_fade, 0.985f);
}

TEST_F(ReplayTest, OnTheFirstFrameTheHoleLeavesItsStartPoint) {
    const TTraceRow r = Replay("", 1).back();
    EXPECT_EQ(r.relocate_clock, 301);
    EXPECT_NE(r.the_hole_x, 100);
    EXPECT_EQ(r.the_hole_x, static_cast<float>(100 + double(0.1f) * (G().goal_x - 100)));
    EXPECT_EQ(r.the_hole_y, static_cast<float>(250 + double(0.1f) * (G().goal_y - 250)));
    EXPECT_EQ(G().the_hole->alpha, 0);  // first seen when it arrives
}

TEST_F(ReplayTest, LosingTheFocusReleasesTheButtonAndStopsTheThrust) {
    const auto rows = Replay("0 down 1\n10 focus-out\n20 focus-in\n", 22);
    EXPECT_GT(rows[9].ship_thrust, rows[8].ship_thrust);
    EXPECT_LT(rows[10].ship_thrust, rows[9].ship_thrust);
    EXPECT_FALSE(G().left_trail);
    EXPECT_LT(rows[21].ship_thrust, rows[20].ship_thrust);  // regaining it presses nothing
}

TEST_F(ReplayTest, ThePointerEnteringAgainRunsAnExtraFrame) {
    const auto rows = Replay("3 leave\n4 move 700 300\n5 move 640 250\n", 7);
    EXPECT_EQ(rows[3].relocate_clock, rows[2].relocate_clock + 1);
    EXPECT_EQ(rows[4].relocate_clock, rows[3].relocate_clock + 2);  // entry, then the pass
    EXPECT_EQ(rows[5].relocate_clock, rows[4].relocate_clock + 1);  // already inside
}

TEST_F(ReplayTest, EscapeEndsTheRunAfterItsPass) {
    EXPECT_EQ(Replay("3 key 27\n", 50).size(), 4u);
    EXPECT_EQ(Replay("0 key 80\n2 key 27\n", 50).size(), 3u);  // paused too
}
}  // namespace
