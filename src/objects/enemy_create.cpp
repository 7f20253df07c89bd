// Making an enemy: clock reseed, colour jitter, size and handling from its random trait, the
// borders its centre keeps to, its sprites, and its place in `enemies`. Depends on the random
// generator, the clock and the object state.
#include "objects/object_state.hpp"
#include "objects/playfield.hpp"

namespace {
// Size and handling of a kind-0 ship from its random trait: bigger ships are slower and their
// turning dies down faster.
void SetHandling(enemy& e) {
    e.random = RandomFloat();
    e.size = static_cast<float>(36 + Floor(14 * static_cast<double>(e.random)));
    e.rot_accuracy = static_cast<float>(double{0.995f} - double{0.095f} * e.random);
    e.max_speed = static_cast<float>(double{1.2f} - double{0.6f} * e.random);
}

// Limits for the ship's centre: right, bottom, left, top.
void SetBorders(enemy& e) {
    const double margin = double{0.3f} * e.size;
    e.borders[0] = FloatToInt(kScreenW - margin);
    e.borders[1] = FloatToInt(kScreenH - margin);
    e.borders[2] = FloatToInt(margin);
    e.borders[3] = FloatToInt(margin);
}
}  // namespace

std::shared_ptr<enemy> enemy::Create(int x, int y, int vx, int vy, int r, int g, int b, int typ) {
    auto e = std::make_shared<enemy>();
    // Every ship reseeds: ships made within one millisecond come out identical.
    SeedRandom(ClockMillis());
    e->pos.x = x, e->pos.y = y;
    e->vel.x = vx, e->vel.y = vy;
    e->col.r = r * (double{0.8f} + double{0.2f} * RandomFloat());
    e->col.g = g * (double{0.8f} + double{0.2f} * RandomFloat());
    e->col.b = b;
    e->typ = typ;
    if (typ == 0) SetHandling(*e);
    e->half = static_cast<float>(e->size * double{0.5f});
    SetBorders(*e);
    e->generatealt();
    e->carrier = 1;
    e->carrier_count = 20;
    e->list_link = Objects().enemies.AddLast(e);
    return e;
}
