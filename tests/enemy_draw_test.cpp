// Drawing an enemy on a headless window: the random draw of a fast ship's flicker and the
// particles it emits. (Its pixels are checked with the frame's other features.)
#include <gtest/gtest.h>

#include "objects_fixture.hpp"
#include "render_fixture.hpp"

namespace {
class EnemyDrawTest : public RenderTest {
  protected:
    void SetUp() override {
        RenderTest::SetUp();
        ResetObjects();
        SetAutoCentre(1);
        FixClock(31);
        SetBlend(BLEND_ALPHA);
    }
    void TearDown() override {
        ResetObjects();
        SetAutoCentre(0);
        UnfixClock();
    }
};

TEST_F(EnemyDrawTest, AFastShipDrawsOneRandomFlickerAndACarrierTwoTrails) {
    EnemyPtr e = enemy::Create(32, 24, 0, 0, 170, 210, 255, 0);
    e->vel.x = 1, e->vel.y = 1;  // q = 2: no glow, no draw from the generator
    int state = RandomState();
    e->drawalt();
    EXPECT_EQ(RandomState(), state);
    EXPECT_EQ(Objects().trails.Count(), 2);  // a carrier: exhaust and token
    e->vel.x = 2;
    e->carrier = 0;
    e->drawalt();
    EXPECT_NE(RandomState(), state);
    EXPECT_EQ(Objects().trails.Count(), 3);
    EXPECT_FALSE(e->carry_trail_child);
}
}  // namespace
