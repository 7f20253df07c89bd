// Enemy movement: no thrust on the target, fixed thrust when facing away, thrust growing with
// distance up to the ship's top speed, the border snap, the shove ahead of the player's ship,
// leaving the field once finished (drawn one last time), and the token's single carrier.
#include <gtest/gtest.h>

#include <cmath>

#include "objects_fixture.hpp"

namespace {
using EnemyMoveTest = ObjectsTest;

// Places `e` at (x, y) facing `rot` at rest.
void Place(enemy& e, double x, double y, float rot) {
    e.pos.x = x, e.pos.y = y;
    e.vel.x = e.vel.y = 0;
    e.rot = rot;
    e.vrot = 0;
}

TEST_F(EnemyMoveTest, OnTheTargetOnlyDecaysAndKeepsTurning) {
    EnemyPtr e = MakeEnemy(40);
    Place(*e, 640, 100, 10);
    e->vel.x = 1, e->vel.y = -2;
    e->vrot = 3;
    e->move(640, 100, 0, 1);
    EXPECT_EQ(e->vel.x, double{0.899f});
    EXPECT_EQ(e->vel.y, -2 * double{0.899f});
    EXPECT_EQ(e->dir.x, 0.0);  // no facing taken: no thrust
    const float vrot = static_cast<float>(3.0 * e->rot_accuracy);
    EXPECT_EQ(e->vrot, vrot);
    EXPECT_EQ(e->rot, static_cast<float>(10.0 + vrot));
    EXPECT_EQ(e->pos.x, 640 + double{0.899f});
}

TEST_F(EnemyMoveTest, FacingAwayThrustsHalfAlongTheHeading) {
    EnemyPtr e = MakeEnemy(40);
    Place(*e, 640, 100, 180);  // facing left, target to the right
    e->move(940, 100, 0, 1);
    EXPECT_EQ(e->dist, 0.5f);
    EXPECT_EQ(e->vel.x, Cos(180) * 0.5);
    EXPECT_EQ(e->vel.y, Sin(180) * 0.5);
    EXPECT_NE(e->vrot, 0.0f);  // turning toward the target
}

TEST_F(EnemyMoveTest, ThrustGrowsWithDistanceUpToTheTopSpeed) {
    EnemyPtr e = MakeEnemy(40);
    Place(*e, 300, 100, 0);  // facing right, squarely at the target
    e->move(400, 100, 0, 1);
    EXPECT_EQ(e->dist, 0.5f);  // 0.005 * 1 * 100
    EXPECT_EQ(e->vel.x, 0.5);
    Place(*e, 300, 100, 0);
    e->move(700, 100, 0, 1);
    EXPECT_EQ(e->dist, e->max_speed);  // 2 would be more than the cap
    EXPECT_EQ(e->vel.x, double{e->max_speed});
    EXPECT_EQ(e->pos.x, 300 + double{e->max_speed});
}

TEST_F(EnemyMoveTest, CrossingABorderSnapsBackFacingAway) {
    EnemyPtr e = MakeEnemy(40);
    Place(*e, e->borders[0] + 5, 100, 0);
    e->vel.x = 2;
    e->move(1279, 100, 0, 1);
    EXPECT_EQ(e->rot, 180.0f);
    EXPECT_LE(e->vel.x, 0.0);
    EXPECT_EQ(e->pos.x, e->borders[0] + e->vel.x);
    Place(*e, 600, e->borders[3] - 3, 0);
    e->vel.y = -1;
    e->move(600, 0, 0, 1);
    EXPECT_EQ(e->rot, 90.0f);
    EXPECT_GE(e->vel.y, 0.0);
    EXPECT_EQ(e->pos.y, e->borders[3] + e->vel.y);
}

TEST_F(EnemyMoveTest, AShipAheadOfThePlayerIsShovedAlongItsFacing) {
    EnemyPtr e = MakeEnemy(40);
    // The player's ship at (600, 100) faces down (heading 0: sx = 0, sy = 1); the enemy is
    // 100 pixels below it, facing up at it.
    Place(*e, 600, 200, 270);
    e->move(600, 100, 0, 1);
    // Pushed down by p * q = 1 * 0.8, and thrusting as if 500 - 100 pixels away (capped).
    EXPECT_EQ(e->vel.y, 0.8f * double{0.899f} + Sin(270) * e->max_speed);
    EXPECT_EQ(e->dist, e->max_speed);
    Place(*e, 600, 200, 270);
    Objects().carrying = 1;  // no shove while the player holds the token
    e->move(600, 100, 0, 1);
    EXPECT_EQ(e->vel.y, Sin(270) * 0.5);
}

TEST_F(EnemyMoveTest, FinishedShipLeavesOnlyBeyondItsSizeAndIsDrawnOnceMore) {
    EnemyPtr e = MakeEnemy(40);
    e->finished = 1;
    Place(*e, kScreenW + 40, 100, 0);  // exactly its size outside: stays
    enemy::update(640, 250, 0, 1);
    EXPECT_EQ(Objects().enemies.Count(), 1);
    EXPECT_GT(e->pos.x, kScreenW + 40.0);  // ignored the border and moved on
    const int trails = Objects().trails.Count();
    enemy::update(640, 250, 0, 1);
    EXPECT_EQ(Objects().enemies.Count(), 0);
    EXPECT_EQ(Objects().trails.Count(), trails + 1);  // drawn in the frame it left
    const double x = e->pos.x;
    enemy::update(640, 250, 0, 1);
    EXPECT_EQ(e->pos.x, x);  // no longer moved
}

TEST_F(EnemyMoveTest, OnlyTheFirstUnfinishedCarrierKeepsTheToken) {
    FixClock(5);
    EnemyPtr a = enemy::Create(200, 100, 0, 0, 170, 210, 255, 0);
    EnemyPtr b = enemy::Create(900, 100, 0, 0, 170, 210, 255, 0);
    EnemyPtr c = enemy::Create(1100, 400, 0, 0, 170, 210, 255, 0);
    a->finished = 1;
    enemy::update(640, 250, 0, 1);
    EXPECT_EQ(a->carrier, 1);  // finished: does not count as the holder
    EXPECT_EQ(b->carrier, 1);
    EXPECT_EQ(c->carrier, 0);
    Objects().carrying = 1;
    enemy::update(640, 250, 0, 1);
    EXPECT_EQ(a->carrier + b->carrier + c->carrier, 0);
}

TEST_F(EnemyMoveTest, EveryShipEmitsExhaustAndTheCarrierATokenTrail) {
    FixClock(9);
    EnemyPtr a = enemy::Create(200, 100, 0, 0, 170, 210, 255, 0);
    EnemyPtr b = enemy::Create(900, 100, 0, 0, 170, 210, 255, 0);
    enemy::update(640, 250, 0, 1);
    EXPECT_EQ(Objects().trails.Count(), 3);
    ASSERT_TRUE(a->trail_child && a->carry_trail_child && b->trail_child);
    EXPECT_FALSE(b->carry_trail_child);
    EXPECT_EQ(a->trail_child->col.r, FloatToInt(double{0.2f} * a->col.r));
    EXPECT_EQ(a->carry_trail_child->col.g, 80.0);
    const TrailPtr first = a->trail_child;
    enemy::update(640, 250, 0, 1);
    EXPECT_EQ(a->trail_child->child, first);  // one chain per ship
}
}  // namespace
