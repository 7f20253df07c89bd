// The ship's flight without a window: steering by the mouse, thrust, the window edges, the
// bumpers (with the guard at a bumper's centre) and the light vector.
#include <gtest/gtest.h>

#include <cmath>

#include "fake_system.hpp"
#include "game/flight.hpp"
#include "generate/content.hpp"
#include "platform/base/base.hpp"
#include "platform/system/system.hpp"

namespace {
class FlightTest : public ::testing::Test {
  protected:
    FakeSystem system;  // focused: MoveMouse really moves the pointer
    TGameState g;
    TPlayFrame f;

    void SetUp() override {
        ResetEvents();
        EnablePolledInput();
        g.last_mouse_x = 640;
    }
    void TearDown() override { ResetEvents(); }

    void PointerTo(int x) {
        system.pending.push_back(MakeEvent(EVENT_MOUSE_MOVE, 0, x, 250));
        steer_ship(g, f);
    }
    void Button(bool down) {
        system.pending.push_back(MakeEvent(down ? EVENT_MOUSE_DOWN : EVENT_MOUSE_UP, 1));
        PumpMessages();
    }
};

TEST_F(FlightTest, TurnsOneDegreePerPixelUpToTenAndRecentresThePointer) {
    PointerTo(700);  // a jump of 60 pixels
    EXPECT_EQ(g.heading, 10);
    EXPECT_EQ(PointerX(), 640);
    EXPECT_EQ(g.last_mouse_x, 640);
    EXPECT_EQ(system.warps.back(), std::make_pair(640, 250));
    PointerTo(643);
    EXPECT_EQ(g.heading, 13);
    PointerTo(0);
    EXPECT_EQ(g.heading, 3);
    PointerTo(631);
    EXPECT_EQ(g.heading, -6);
    EXPECT_EQ(f.s, static_cast<float>(Sin(-6)));
    EXPECT_EQ(f.c, static_cast<float>(Cos(-6)));
    for (int i = 0; i < 40; ++i)
        PointerTo(650);
    EXPECT_EQ(g.heading, 394);  // unbounded
}

TEST_F(FlightTest, WithoutTheLeftButtonTheShipNeverMoves) {
    Button(false);
    system.pending.push_back(MakeEvent(EVENT_MOUSE_DOWN, 2));  // the right button does not thrust
    for (int i = 0; i < 200; ++i) {
        PointerTo(640 + (i % 7) * 5);
        thrust_ship(g, f);
    }
    EXPECT_EQ(g.ship_x, 640);
    EXPECT_EQ(g.ship_y, 250);
    EXPECT_EQ(g.ship_thrust, 0);
}

TEST_F(FlightTest, ThrustFollowsTheHeadingAndSettlesNearTwelvePixelsAFrame) {
    PointerTo(640);  // heading 0: down the screen
    Button(true);
    thrust_ship(g, f);
    const float vy = static_cast<float>(static_cast<float>(0 + 1.0 * 0.005f) * double(0.969f));
    const float thrust = static_cast<float>(0.6f * double(0.992f));
    EXPECT_EQ(g.ship_vy, vy);
    EXPECT_EQ(g.ship_vx, 0);
    EXPECT_EQ(g.ship_thrust, thrust);
    EXPECT_EQ(g.ship_y, static_cast<float>(250 + double(vy) * thrust));
    g.heading = 90;  // moves left: ship_vx counts toward the left
    f.s = 1, f.c = 0;
    for (int i = 0; i < 2000; ++i)
        thrust_ship(g, f);
    EXPECT_NEAR(g.ship_thrust, 74.4, 0.1);
    EXPECT_NEAR(g.ship_vx, 0.16, 0.005);
    EXPECT_NEAR(g.ship_vx * g.ship_thrust, 12, 0.5);
    EXPECT_LT(g.ship_x, 0);  // no edges were tested here
}

TEST_F(FlightTest, PastAnEdgeTheShipLandsTwentyFivePixelsInsideWithItsMotionMirrored) {
    const struct {
        float x, y, vx, vy, want_x, want_y, want_vx, want_vy;
    } cases[] = {
        {10, 100, 0.1f, 0.05f, 25, 100, -0.1f, 0.05f},
        {300, -4, 0.1f, -0.05f, 300, 25, 0.1f, 0.05f},
        {1300, 100, -0.1f, 0.05f, 1255, 100, 0.1f, 0.05f},
        {300, 476, 0.1f, 0.05f, 300, 475, 0.1f, -0.05f},
        {-5, 600, 0.1f, 0.05f, 25, 475, -0.1f, -0.05f},  // a corner: both
        {25, 475, 0.1f, 0.05f, 25, 475, 0.1f, 0.05f},    // on the line: inside
        {NAN, 100, 0.1f, 0.05f, 25, 100, -0.1f, 0.05f},
    };
    for (const auto& c : cases) {
        g.ship_x = c.x, g.ship_y = c.y, g.ship_vx = c.vx, g.ship_vy = c.vy;
        keep_ship_inside(g);
        EXPECT_EQ(g.ship_x, c.want_x) << c.x << "," << c.y;
        EXPECT_EQ(g.ship_y, c.want_y) << c.x << "," << c.y;
        EXPECT_EQ(g.ship_vx, c.want_vx) << c.x << "," << c.y;
        EXPECT_EQ(g.ship_vy, c.want_vy) << c.x << "," << c.y;
    }
}

TEST_F(FlightTest, InsideABumperTheMotionIsMirroredAndTheShipPutOnTheRim) {
    g.ship_x = 552, g.ship_y = 256;  // 40 pixels right of bumper 2, moving left into it
    g.ship_vx = 0.1f, g.ship_vy = 0.05f;
    bounce_ship(g, 512, 256);
    EXPECT_EQ(g.ship_vx, static_cast<float>(0.1f - 2.0 * 0.1f));
    EXPECT_EQ(g.ship_vy, 0.05f);
    EXPECT_EQ(g.ship_x, static_cast<float>(512 + 64.0 + g.ship_vx));
    EXPECT_EQ(g.ship_y, static_cast<float>(256 + 0.0 + 0.05f));
    // Diagonal: the speed is kept.
    g.ship_x = 512 + 30, g.ship_y = 256 + 40, g.ship_vx = 0.12f, g.ship_vy = -0.07f;
    const double speed = std::hypot(g.ship_vx, g.ship_vy);
    bounce_ship(g, 512, 256);
    EXPECT_NEAR(std::hypot(g.ship_vx, g.ship_vy), speed, 1e-7);
    EXPECT_NEAR(std::hypot(g.ship_x - g.ship_vx - 512, g.ship_y - g.ship_vy - 256), 64, 1e-4);
}

TEST_F(FlightTest, AtABumpersCentreOrAtRestInsideTheShipGoesToTheRimWithoutNaN) {
    g.ship_x = 768, g.ship_y = 256, g.ship_vx = 0.1f, g.ship_vy = -0.05f;
    bounce_ship(g, 768, 256);  // the exact centre: no normal to mirror about
    EXPECT_EQ(g.ship_vx, 0.1f);
    EXPECT_EQ(g.ship_vy, -0.05f);
    EXPECT_EQ(g.ship_x, static_cast<float>(768 + 0.1f));
    EXPECT_EQ(g.ship_y, static_cast<float>(256 - 64 - 0.05f));
    g.ship_x = 768, g.ship_y = 256, g.ship_vx = 0, g.ship_vy = 0;
    bounce_ship(g, 768, 256);
    EXPECT_EQ(g.ship_x, 768);
    EXPECT_EQ(g.ship_y, 192);
    g.ship_x = 1024 - 10, g.ship_y = 256, g.ship_vx = 0, g.ship_vy = 0;
    bounce_ship(g, 1024, 256);  // at rest inside: straight out along the line to the ship
    EXPECT_EQ(g.ship_x, 960);
    EXPECT_EQ(g.ship_y, 256);
    g.ship_x = std::nextafter(512.0f, 600.0f), g.ship_y = 256, g.ship_vx = 0.1f, g.ship_vy = 0;
    bounce_ship(g, 512, 256);  // a hair from the centre
    EXPECT_FALSE(std::isnan(g.ship_x) || std::isnan(g.ship_y));
    EXPECT_EQ(g.ship_x, static_cast<float>(576 - 0.1f));
}

TEST_F(FlightTest, TheLightStandsOverTheWindowCentre) {
    light_ship(g, f);
    EXPECT_EQ(f.lx, 0);
    EXPECT_EQ(f.ly, 0);
    EXPECT_EQ(f.lz, 1);
    EXPECT_EQ(f.r2, 0);
    g.ship_x = 25, g.ship_y = 475;
    light_ship(g, f);
    EXPECT_NEAR(std::sqrt(double(f.lx) * f.lx + double(f.ly) * f.ly + double(f.lz) * f.lz), 1,
                1e-6);
    EXPECT_LT(f.lx, 0);
    EXPECT_GT(f.ly, 0);
    EXPECT_NEAR(f.r2, (615.0 * 615 + 225.0 * 225) / (615.0 * 615 + 225.0 * 225 + 900.0 * 900),
                1e-6);
}
}  // namespace
