// Token, delivery, waves and hole relocation.
#include "game/play_rules.hpp"

#include "generate/content.hpp"
#include "generate/generate_util.hpp"
#include "objects/object_state.hpp"
#include "platform/draw/draw.hpp"

using gen::Single;

namespace {
constexpr float kDeliveryReach = 64;  // Manhattan distance to the hole centre
constexpr int kDeliveryOpening = 45;  // the hole must be open further than this
constexpr int kClosingFrom = 260;     // relocate_clock past this closes the hole
constexpr int kMovingFrom = 300;      // and past this moves it
constexpr int kFullTime = 100;

void GlowRed(float x, float y, float scale) {
    SetBlend(BLEND_LIGHT);
    SetColor(255, 255, 255);
    SetAlpha(1);
    SetScale(scale, scale);
    DrawImage(Generated().glow_red, x, y);
}

void Deliver(TGameState& g) {
    g.relocate_clock = kClosingFrom;  // this frame's step 4 counts 261: the hole closes now
    g.deliveries += 1;
    Objects().carrying = 0;
    if (g.deliveries < kWaveDeliveries) {
        spawn_enemies(g, g.wave_size);
    } else {
        finish_every_enemy();
        g.wave_size += 1;
    }
    SetScale(2, 2);
    DrawImage(Generated().glow_red, static_cast<float>(g.the_hole->pos.x),
              static_cast<float>(g.the_hole->pos.y));
}

void PickGoal(TGameState& g) {
    if (g.deliveries < kWaveDeliveries && g.wave_time > 0) {
        g.goal_x = static_cast<float>(128 * RandomInt(1, 9));
        g.goal_y = static_cast<float>(128 * RandomInt(1, 3));
    } else {
        g.goal_x = 1024;  // the wave is over: out of the way
        g.goal_y = 256;
    }
}

// One glide step toward the goal; on arrival the hole object moves there with a new look.
void Glide(TGameState& g) {
    hole& h = *g.the_hole;
    h.alpha = static_cast<float>(h.alpha * Single(0.85f));
    const float dx = static_cast<float>(g.goal_x - static_cast<double>(g.the_hole_x));
    const float dy = static_cast<float>(g.goal_y - static_cast<double>(g.the_hole_y));
    if (static_cast<double>(dx) * dx + static_cast<double>(dy) * dy < Single(0.1f)) {
        g.relocate_clock = 0;
        h.alpha = 1;
        h.pos.x = g.the_hole_x;
        h.pos.y = g.the_hole_y;
        h.generate();
    } else {
        g.the_hole_x = static_cast<float>(g.the_hole_x + Single(0.1f) * dx);
        g.the_hole_y = static_cast<float>(g.the_hole_y + Single(0.1f) * dy);
    }
}
}  // namespace

void spawn_enemy(const TGameState& g) {
    enemy::Create(0, RandomInt(0, g.screen_h), 0, 0, 170, 210, 255, 0);
}

void spawn_enemies(const TGameState& g, int n) {
    for (int i = 0; i < n; ++i)
        spawn_enemy(g);
}

void finish_every_enemy() {
    Objects().enemies.ForEach([](const EnemyPtr& e, const auto&) { e->finished = 1; });
}

void token_step(TGameState& g) {
    hole& h = *g.the_hole;
    if (!Objects().carrying) {
        if (h.open > 0) h.open -= 1;
        g.carry_trail = nullptr;
        return;
    }
    if (h.open < kHoleOpenMax) h.open += 1;
    GlowRed(g.ship_x, g.ship_y, 1);
    // Opposite to the engine trails: with a negative trail_speed these drift ahead.
    g.carry_trail = trail::Create(
        g.ship_x, g.ship_y, static_cast<float>(static_cast<double>(g.ship_vx) * 100),
        static_cast<float>(-static_cast<double>(g.ship_vy) * 100), 150, 80, 10, g.carry_trail);
    const float dist = static_cast<float>(Abs(g.ship_x - static_cast<double>(g.the_hole_x)) +
                                          Abs(g.ship_y - static_cast<double>(g.the_hole_y)));
    if (dist < kDeliveryReach && h.open > kDeliveryOpening) Deliver(g);
}

void new_wave_step(TGameState& g) {
    if (Objects().enemies.Count() != 0) return;
    g.deliveries = 0;
    g.wave_time = kFullTime;
    spawn_enemies(g, g.wave_size);
}

void wave_time_step(TGameState& g) {
    if (g.wave_time >= 0) {
        g.wave_time = static_cast<float>(g.wave_time - Single(0.005f));
        return;
    }
    // Out of time: start over with a wave of one. While the finishing enemies are still on
    // screen this repeats every other frame.
    g.wave_time = 0;
    Objects().carrying = 0;
    g.relocate_clock = kMovingFrom;
    g.deliveries = 0;
    g.wave_size = 1;
    finish_every_enemy();
}

void relocation_step(TGameState& g) {
    hole& h = *g.the_hole;
    g.relocate_clock += 1;
    if (g.relocate_clock > kClosingFrom) h.open = FloatToInt(h.open * Single(0.6f));
    if (g.relocate_clock <= kMovingFrom) return;
    if (g.relocate_clock == kMovingFrom + 1) PickGoal(g);
    Glide(g);
}

void play_rules(TGameState& g) {
    token_step(g);
    new_wave_step(g);
    wave_time_step(g);
    relocation_step(g);
}
