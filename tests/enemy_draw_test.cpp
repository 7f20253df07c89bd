// Drawing an enemy on a headless window: the ship tinted with its colour at its centre, the
// shadow beside it, and the drawing state it leaves (alpha blend, alpha 1, scale 1, its turn).
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

TEST_F(EnemyDrawTest, TheShipIsTintedAndItsShadowFallsAwayFromTheCentre) {
    EnemyPtr e = enemy::Create(32, 24, 0, 0, 170, 210, 255, 0);
    e->rot = 90;
    e->carrier = 0;
    SetClsColor(255, 255, 255);
    Cls();
    e->drawalt();
    const uint32_t centre = Pixel(32, 24);
    EXPECT_NEAR(int(centre >> 16 & 0xFF), FloatToInt(e->col.r), 2);
    EXPECT_NEAR(int(centre >> 8 & 0xFF), FloatToInt(e->col.g), 2);
    EXPECT_NEAR(int(centre & 0xFF), 255, 2);
    // The light is far to the right (the playfield's centre is (640, 250)): the shadow shows
    // left of the ship, darkening the white background, and not on the right.
    EXPECT_LT(Pixel(32 - 16, 24) & 0xFF, 200u);
    EXPECT_EQ(Pixel(32 + 17, 24), 0xFFFFFFFFu);
    EXPECT_EQ(GetBlend(), BLEND_ALPHA);
    EXPECT_EQ(GetAlpha(), 1.0f);
    float sx = 0, sy = 0;
    GetScale(&sx, &sy);
    EXPECT_EQ(sx, 1.0f);
    EXPECT_EQ(GetRotation(), 0.0f);  // rot - 90
    EXPECT_EQ(Objects().trails.Count(), 1);
}

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
