// Drawing one enemy: its shadow cast away from the light above the screen centre, the ship
// tinted and turned to its heading, the engine glow of a fast ship, the token of the carrier,
// and the particles of its exhaust and token trails. Depends on the generated glows, the
// drawing layer and trails.
#include "objects/object_state.hpp"
#include "objects/playfield.hpp"

namespace {
// Direction from the light toward the ship, scaled as the horizontal part of a unit vector.
void LightOffset(const ms& pos, float* lx, float* ly) {
    float x = static_cast<float>(pos.x - kHalfW), y = static_cast<float>(pos.y - kHalfH);
    const float k =
        static_cast<float>(1 / Sqrt(static_cast<double>(x) * x + static_cast<double>(y) * y +
                                    static_cast<double>(kLightHeight) * kLightHeight));
    *lx = static_cast<float>(static_cast<double>(x) * k);
    *ly = static_cast<float>(static_cast<double>(y) * k);
}

// The shadow, enlarged and shifted away from the screen centre, then the tinted ship.
void DrawHull(const enemy& e) {
    float lx = 0, ly = 0;
    LightOffset(e.pos, &lx, &ly);
    SetColor(FloatToInt(e.col.r), FloatToInt(e.col.g), FloatToInt(e.col.b));
    SetRotation(static_cast<float>(e.rot - 90.0));
    const float s =
        static_cast<float>(double{1.1f} + double{0.2f} * (static_cast<double>(lx) * lx +
                                                          static_cast<double>(ly) * ly));
    SetScale(s, s);
    DrawImage(e.shadow, static_cast<float>(e.pos.x + 20.0 * lx),
              static_cast<float>(e.pos.y + 20.0 * ly), 0);
    SetScale(1, 1);
    DrawImage(e.ship, static_cast<float>(e.pos.x), static_cast<float>(e.pos.y), 0);
}

// The token on its carrier: a red glow and a particle of the token trail.
void DrawToken(enemy& e) {
    SetColor(255, 255, 255);
    SetAlpha(1);
    const float x = static_cast<float>(e.pos.x), y = static_cast<float>(e.pos.y);
    DrawImage(Generated().glow_red, x, y, 0);
    e.carry_trail_child =
        trail::Create(x, y, static_cast<float>(-e.vel.x), static_cast<float>(-e.vel.y), 150, 80, 10,
                      std::move(e.carry_trail_child));
}
}  // namespace

int enemy::drawalt() {
    DrawHull(*this);
    SetBlend(BLEND_LIGHT);
    const float behind_x = static_cast<float>(pos.x - 10.0 * ecos);
    const float behind_y = static_cast<float>(pos.y - 10.0 * esin);
    const float q = static_cast<float>(vel.x * vel.x + vel.y * vel.y);
    if (q > 2) {  // a fast ship flickers its engine glow
        SetAlpha(static_cast<float>(double{0.2f} * RandomFloat() + double{0.01f} * q));
        DrawImage(Generated().glow_blue, behind_x, behind_y, 0);
    }
    trail_child =
        trail::Create(behind_x, behind_y, static_cast<float>(vel.x), static_cast<float>(vel.y),
                      FloatToInt(double{0.2f} * col.r), FloatToInt(double{0.25f} * col.g),
                      FloatToInt(double{0.3f} * col.b), std::move(trail_child));
    if (carrier == 1) {
        DrawToken(*this);
    } else {
        carry_trail_child = nullptr;  // ends the token chain; the next carry starts a new one
    }
    SetBlend(BLEND_ALPHA);
    SetAlpha(1);
    return 0;
}
