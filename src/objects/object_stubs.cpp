// Placeholders for the object types' operations until their real bodies land; each does the
// least its callers rely on (creation appends to the list).
#include "objects/object_state.hpp"

std::shared_ptr<trail> trail::Create(float x, float y, float vx, float vy, int r, int g, int b,
                                     std::shared_ptr<trail> child) {
    auto t = std::make_shared<trail>();
    t->pos.x = x, t->pos.y = y;
    t->vel.x = vx * Objects().trail_speed, t->vel.y = vy * Objects().trail_speed;
    t->col.r = r, t->col.g = g, t->col.b = b;
    t->child = std::move(child);
    t->age = 1;
    Objects().trails.AddLast(t);
    return t;
}
int trail::update() {
    return 0;
}
int trail::draw() {
    return 0;
}

std::shared_ptr<hole> hole::Create(int x, int y) {
    Objects().holes.Clear();
    auto h = std::make_shared<hole>();
    h->pos.x = x, h->pos.y = y;
    Objects().holes.AddLast(h);
    return h;
}
int hole::generate() {
    return 0;
}
int hole::draw() {
    return 0;
}
int hole::remove() {
    return 0;
}

std::shared_ptr<explode> explode::Create(const ms& pos, const ms& vel, float size) {
    auto e = std::make_shared<explode>();
    e->pos.x = pos.x, e->pos.y = pos.y, e->vel.x = vel.x, e->vel.y = vel.y;
    e->size = size * 0.33f;
    Objects().explodes.AddLast(e);
    return e;
}

std::shared_ptr<enemy> enemy::Create(int x, int y, int vx, int vy, int r, int g, int b, int typ) {
    auto e = std::make_shared<enemy>();
    e->pos.x = x, e->pos.y = y, e->vel.x = vx, e->vel.y = vy;
    e->col.r = r, e->col.g = g, e->col.b = b;
    e->typ = typ;
    e->carrier = 1, e->carrier_count = 20;
    Objects().enemies.AddLast(e);
    return e;
}
int enemy::update(float, float, float, float) {
    return 0;
}
int enemy::move(float, float, float, float) {
    return 0;
}
int enemy::drawalt() {
    return 0;
}
int enemy::generatealt() {
    return 0;
}
