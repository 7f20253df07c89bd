// Explosion records: copied position and velocity, a third of the size, one random draw.
#include <gtest/gtest.h>

#include "objects_fixture.hpp"

namespace {
using ExplodeTest = ObjectsTest;

TEST_F(ExplodeTest, CreateCopiesScalesAndDrawsOneRotation) {
    ms pos, vel;
    pos.x = 10, pos.y = 20, vel.x = -1, vel.y = 2;
    SeedRandom(99);
    ExplodePtr e = explode::Create(pos, vel, 3);
    SeedRandom(99);
    EXPECT_EQ(e->rot, static_cast<float>(RandomRange(0, 360)));
    EXPECT_EQ(e->size, static_cast<float>(3 * double{0.33f}));
    EXPECT_EQ(e->frame, 0);
    EXPECT_EQ(e->pos.x, 10.0);
    EXPECT_EQ(e->vel.y, 2.0);
    pos.x = 99;  // a copy, not the caller's record
    EXPECT_EQ(e->pos.x, 10.0);
    EXPECT_EQ(Objects().explodes.Count(), 1);
    EXPECT_EQ(explode::update(), 0);
    EXPECT_EQ(e->draw(), 0);
}
}  // namespace
