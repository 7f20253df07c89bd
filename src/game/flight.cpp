// Ship flight: steering, thrust, edges, bumpers and the ship's light vector.
#include "game/flight.hpp"

#include "generate/content.hpp"
#include "generate/generate_util.hpp"
#include "platform/system/system.hpp"

using gen::Single;

namespace {
constexpr int kLeftButton = 1;
constexpr float kLightHeight = 900;
}  // namespace

void steer_ship(TGameState& g, TPlayFrame& f) {
    float d = static_cast<float>(PointerX() - static_cast<double>(g.last_mouse_x));
    const float limit = static_cast<float>(g.turn_limit);
    if (d < -limit) d = -limit;
    if (d > limit) d = limit;
    g.heading = FloatToInt(g.heading + static_cast<double>(d));
    MoveMouse(g.half_w, g.half_h);
    g.last_mouse_x = static_cast<float>(PointerX());
    f.s = static_cast<float>(Sin(g.heading));
    f.c = static_cast<float>(Cos(g.heading));
}

void thrust_ship(TGameState& g, const TPlayFrame& f) {
    if (IsButtonDown(kLeftButton)) {
        g.ship_vy = static_cast<float>(g.ship_vy + f.c * Single(0.005f));
        g.ship_vx = static_cast<float>(g.ship_vx + f.s * Single(0.005f));
    }
    // The button is read again here, as the thrust has always done.
    const int down = IsButtonDown(kLeftButton);
    g.ship_thrust = static_cast<float>((g.ship_thrust + Single(0.6f) * down) * Single(0.992f));
    g.ship_vx = static_cast<float>(g.ship_vx * Single(0.969f));
    g.ship_vy = static_cast<float>(g.ship_vy * Single(0.969f));
    // ship_vx counts toward the left.
    g.ship_x = static_cast<float>(g.ship_x - static_cast<double>(g.ship_vx) * g.ship_thrust);
    g.ship_y = static_cast<float>(g.ship_y + static_cast<double>(g.ship_vy) * g.ship_thrust);
}

void keep_ship_inside(TGameState& g) {
    const int m = FloatToInt(Generated().player_size * Single(0.4f));
    // "Not inside" rather than "outside", so that no NaN could slip past.
    if (!(g.ship_x >= m)) g.ship_vx = -g.ship_vx, g.ship_x = static_cast<float>(m);
    if (!(g.ship_y >= m)) g.ship_vy = -g.ship_vy, g.ship_y = static_cast<float>(m);
    if (!(g.ship_x <= g.screen_w - m)) {
        g.ship_vx = -g.ship_vx;
        g.ship_x = static_cast<float>(g.screen_w - m);
    }
    if (!(g.ship_y <= g.screen_h - m)) {
        g.ship_vy = -g.ship_vy;
        g.ship_y = static_cast<float>(g.screen_h - m);
    }
}

void light_ship(const TGameState& g, TPlayFrame& f) {
    const float lx = static_cast<float>(g.ship_x - static_cast<double>(g.half_w));
    const float ly = static_cast<float>(g.ship_y - static_cast<double>(g.half_h));
    const float lz = kLightHeight;
    const double length = Sqrt(static_cast<double>(lx) * lx + static_cast<double>(ly) * ly +
                               static_cast<double>(lz) * lz);
    const double inverse = 1 / length;
    f.lx = static_cast<float>(lx * inverse);
    f.ly = static_cast<float>(ly * inverse);
    f.lz = static_cast<float>(lz * inverse);
    f.r2 = static_cast<float>(static_cast<double>(f.lx) * f.lx + static_cast<double>(f.ly) * f.ly);
}

void bounce_ship(TGameState& g, int bx, int by) {
    const float dx = static_cast<float>(g.ship_x - static_cast<double>(bx));
    const float dy = static_cast<float>(g.ship_y - static_cast<double>(by));
    if (static_cast<double>(dx) * dx + static_cast<double>(dy) * dy >=
        kBumperRadius * kBumperRadius)
        return;
    float nx, ny;
    BumperNormal(dx, dy, &nx, &ny);
    // At the exact centre the normal is only a fixed way out: there is nothing to mirror about.
    if (dx != 0 || dy != 0) {
        // Mirrors the motion (-ship_vx, ship_vy) about the normal; the speed is kept.
        const float q = static_cast<float>(static_cast<double>(g.ship_vx) * nx -
                                           static_cast<double>(g.ship_vy) * ny);
        g.ship_vx = static_cast<float>(g.ship_vx - 2.0 * q * nx);
        g.ship_vy = static_cast<float>(g.ship_vy + 2.0 * q * ny);
    }
    g.ship_x = static_cast<float>(bx + static_cast<double>(nx) * kBumperRadius + g.ship_vx);
    g.ship_y = static_cast<float>(by + static_cast<double>(ny) * kBumperRadius + g.ship_vy);
}
