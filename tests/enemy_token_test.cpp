// The token changing hands through the collision layers: carrier to ship on contact (and
// straight back in the same frame when the receiver's wait is over too), carrier to the
// player's ship, the player's ship to a ship that touches it, and the waits in between.
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

TEST_F(EnemyTokenTest, ACarrierPassesItOnByTouchAndWaits) {
    auto [a, b] = Pair(300, 100, 315, 100);
    b->exchange_token(1000, 400);
    EXPECT_EQ(b->carrier, 0);  // not a carrier, player without token: nothing
    EXPECT_EQ(b->carrier_count, 0);
    a->exchange_token(1000, 400);
    EXPECT_EQ(a->carrier, 0);
    EXPECT_EQ(a->carrier_count, 20);
    EXPECT_EQ(b->carrier, 1);
    EXPECT_EQ(b->carrier_count, 0);  // the receiver's wait is not touched
    EXPECT_EQ(Objects().carrying, 0);
}

TEST_F(EnemyTokenTest, ShipsApartKeepItAndTheCarrierCountsDown) {
    auto [a, b] = Pair(300, 100, 340, 100);  // domes of radius about 11: no contact
    a->carrier_count = 2;
    a->exchange_token(1000, 400);
    EXPECT_EQ(a->carrier_count, 1);
    a->exchange_token(1000, 400);
    a->exchange_token(1000, 400);
    EXPECT_EQ(a->carrier, 1);
    EXPECT_EQ(a->carrier_count, 0);  // stops at 0
    EXPECT_EQ(b->carrier, 0);
}

TEST_F(EnemyTokenTest, ThePlayerTakesItFromTheCarrierAndLosesItToAnyShipBack) {
    auto [a, b] = Pair(300, 100, 600, 100);
    a->exchange_token(310, 105);  // the player's ship 11 pixels away
    EXPECT_EQ(Objects().carrying, 1);
    EXPECT_EQ(a->carrier, 0);
    EXPECT_EQ(a->carrier_count, 20);
    b->carrier_count = 1;
    b->exchange_token(605, 100);  // touching, but still waiting
    EXPECT_EQ(Objects().carrying, 1);
    EXPECT_EQ(b->carrier_count, 0);
    b->exchange_token(1000, 400);  // free now, not touching
    EXPECT_EQ(Objects().carrying, 1);
    b->exchange_token(605, 100);
    EXPECT_EQ(Objects().carrying, 0);
    EXPECT_EQ(b->carrier, 1);
    EXPECT_EQ(b->carrier_count, 40);
}

TEST_F(EnemyTokenTest, AReceiverLaterInTheListHandsItStraightBack) {
    auto [a, b] = Pair(300, 100, 300, 100);  // on one spot; identical ships move alike
    enemy::update(1000, 400, 0, 1);
    EXPECT_EQ(a->carrier, 1);
    EXPECT_EQ(a->carrier_count, 20);
    EXPECT_EQ(b->carrier, 0);
    EXPECT_EQ(b->carrier_count, 20);
}

TEST_F(EnemyTokenTest, PlayingTheTokenThroughUpdate) {
    auto [a, b] = Pair(300, 100, 700, 300);
    // The player's ship sits on the carrier: it takes the token in this frame.
    enemy::update(300, 100, 0, 1);
    EXPECT_EQ(Objects().carrying, 1);
    EXPECT_EQ(a->carrier + b->carrier, 0);
    // While the player carries it no ship is a carrier; the first free ship to touch wins it.
    for (int frame = 0; frame < 25 && Objects().carrying; ++frame)
        enemy::update(static_cast<float>(a->pos.x), static_cast<float>(a->pos.y), 0, 1);
    EXPECT_EQ(Objects().carrying, 0);
    EXPECT_EQ(a->carrier, 1);
    EXPECT_EQ(a->carrier_count, 40);
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
