// Enemy movement where the model check (enemy_model_test) does not reach: a ship exactly on
// the target, a leaving ship's last drawing, and the trails every ship emits.
#include <gtest/gtest.h>

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
