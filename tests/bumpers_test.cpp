// The bumpers' bounce at its edges: tangent contact, and defined results for a ship at rest
// inside or exactly on a centre. Ordinary bounces are checked bit for bit by enemy_model_test.
#include <gtest/gtest.h>

#include <cmath>

#include "objects/bumpers.hpp"

namespace {
TEST(BumpersTest, TangentContactAndFarShipsAreLeftAlone) {
    ms pos, vel;
    pos.x = BumperX(2) + 64, pos.y = kBumperY;
    vel.x = -1;
    BounceOffBumpers(pos, vel);
    EXPECT_EQ(pos.x, BumperX(2) + 64.0);
    EXPECT_EQ(vel.x, -1.0);
}

TEST(BumpersTest, AtRestInsideOrOnTheCentreIsPutOnTheRimWithoutNaN) {
    ms pos, vel;
    pos.x = BumperX(4) + 10, pos.y = kBumperY;
    BounceOffBumpers(pos, vel);
    EXPECT_EQ(vel.x, 0.0);
    EXPECT_EQ(vel.y, 0.0);
    EXPECT_EQ(pos.x, BumperX(4) + 64.0);
    EXPECT_EQ(pos.y, kBumperY);
    ms centre, moving;
    centre.x = BumperX(2), centre.y = kBumperY;
    moving.x = 0, moving.y = 2;
    BounceOffBumpers(centre, moving);  // straight up out of the bumper
    EXPECT_EQ(centre.x, BumperX(2));
    EXPECT_FALSE(std::isnan(moving.x) || std::isnan(moving.y));
    EXPECT_EQ(moving.y, -2.0);
    EXPECT_EQ(centre.y, kBumperY - 64 - 2.0);
    float nx = 1, ny = 1;
    BumperNormal(0, 0, &nx, &ny);
    EXPECT_EQ(nx, 0.0f);
    EXPECT_EQ(ny, -1.0f);
    BumperNormal(3, -4, &nx, &ny);
    EXPECT_EQ(nx, 0.6f);
    EXPECT_EQ(ny, -0.8f);
}
}  // namespace
