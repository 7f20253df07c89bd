// Explosion records: made with one random rotation and kept in `explodes`; nothing in play
// makes one. Depends on the object state and the random generator.
#include "objects/object_state.hpp"

std::shared_ptr<explode> explode::Create(const ms& pos, const ms& vel, float size) {
    auto e = std::make_shared<explode>();
    e->pos.x = pos.x;
    e->pos.y = pos.y;
    e->vel.x = vel.x;
    e->vel.y = vel.y;
    e->size = static_cast<float>(static_cast<double>(size) * double{0.33f});
    e->rot = static_cast<float>(RandomRange(0, 360));
    e->frame = 0;
    Objects().explodes.AddLast(e);
    return e;
}
