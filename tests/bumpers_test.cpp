// The bumpers' bounce: a mirror about the surface normal that keeps the speed, the ship put on
// the rim, and defined results for a ship at rest inside or exactly on a centre.
#include <gtest/gtest.h>

#include <cmath>

#include "objects/bumpers.hpp"

namespace {
TEST(BumpersTest, AShipMovingInIsMirroredAndPutOnTheRim) {
    ms pos, vel;
    pos.x = BumperX(1) - 60, pos.y = kBumperY;
    vel.x = 3, vel.y = 0;
    BounceOffBumpers(pos, vel);
    EXPECT_DOUBLE_EQ(vel.x, -3);
    EXPECT_NEAR(vel.y, 0, 1e-12);
    EXPECT_DOUBLE_EQ(pos.x, BumperX(1) - 64 - 3);
    ms slanted, v2;
    slanted.x = BumperX(3) + 30, slanted.y = kBumperY + 40;  // 50 from the centre
    v2.x = -1, v2.y = -2;
    BounceOffBumpers(slanted, v2);
    EXPECT_NEAR(std::hypot(v2.x, v2.y), std::sqrt(5.0), 1e-6);  // speed kept
    EXPECT_NEAR(std::hypot(slanted.x - v2.x - BumperX(3), slanted.y - v2.y - kBumperY), 64, 1e-4);
}

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
