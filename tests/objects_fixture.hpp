// Shared set-up of the object suites: fresh object state and content, automatic mid-handles
// on as start-up leaves them, and a fixed clock so that enemies repeat.
#pragma once

#include <gtest/gtest.h>

#include "generate/content.hpp"
#include "objects/object_state.hpp"
#include "objects/playfield.hpp"
#include "platform/base/base.hpp"

class ObjectsTest : public ::testing::Test {
  protected:
    void SetUp() override {
        ResetObjects();
        ResetGenerated();
        SetAutoCentre(1);
        FixClock(1000);
    }
    void TearDown() override {
        ResetObjects();
        ResetGenerated();
        SetAutoCentre(0);
        UnfixClock();
    }

  public:
    // A clock value whose enemy gets `size` (found by replaying the three draws of creation).
    static int ClockForSize(int size) {
        for (int clock = 1;; ++clock) {
            SeedRandom(clock);
            RandomFloat(), RandomFloat();
            if (36 + Floor(14 * static_cast<double>(RandomFloat())) == size) return clock;
        }
    }
    // A kind-0 enemy of the given size at (x, y), at rest, not carrying the token.
    static EnemyPtr MakeEnemy(int size, int x = 0, int y = 0) {
        FixClock(ClockForSize(size));
        EnemyPtr e = enemy::Create(x, y, 0, 0, 170, 210, 255, 0);
        e->carrier = 0;
        e->carrier_count = 0;
        return e;
    }
};
