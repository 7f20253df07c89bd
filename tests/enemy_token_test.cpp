// Two corners of the token exchange, set up on purpose (enemy_model_test plays the rest): a
// receiver later in the list whose wait is over hands the token straight back in the same
// frame, and a ship without a sprite touches nothing.
#include <gtest/gtest.h>

#include "objects_fixture.hpp"

namespace {
using EnemyTokenTest = ObjectsTest;

// Two identical ships (same millisecond) at (x, y) and (x2, y2), both free to pass at once;
// the first carries.
std::pair<EnemyPtr, EnemyPtr> Pair(double x, double y, double x2, double y2) {
    FixClock(ObjectsTest::ClockForSize(40));
    EnemyPtr a = enemy::Create(0, 0, 0, 0, 170, 210, 255, 0);
    EnemyPtr b = enemy::Create(0, 0, 0, 0, 170, 210, 255, 0);
    a->pos.x = x, a->pos.y = y, b->pos.x = x2, b->pos.y = y2;
    a->carrier_count = 0;
    b->carrier = 0, b->carrier_count = 0;
    return {a, b};
}

TEST_F(EnemyTokenTest, AReceiverLaterInTheListHandsItStraightBack) {
    auto [a, b] = Pair(300, 100, 300, 100);  // on one spot; identical ships move alike
    enemy::update(1000, 400, 0, 1);
    EXPECT_EQ(a->carrier, 1);
    EXPECT_EQ(a->carrier_count, 20);
    EXPECT_EQ(b->carrier, 0);
    EXPECT_EQ(b->carrier_count, 20);
}

TEST_F(EnemyTokenTest, AShipWithoutASpriteNeverTouches) {
    FixClock(3);
    EnemyPtr odd = enemy::Create(300, 100, 0, 0, 170, 210, 255, 1);
    odd->carrier_count = 0;
    odd->exchange_token(300, 100);
    EXPECT_EQ(odd->carrier, 1);
    EXPECT_EQ(Objects().carrying, 0);
}
}  // namespace
