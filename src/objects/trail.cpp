// Trail particles: made from a block pool (dozens are born and die every frame), drifting,
// drawn as a fading three-layer segment back to the particle before them, and leaving
// `trails` when faded or off-screen. Depends on the object state and the drawing layer.
#include "objects/object_state.hpp"
#include "objects/playfield.hpp"

trail::~trail() {
    TrailPtr next = std::move(child);
    while (next && next.use_count() == 1) {
        TrailPtr after = std::move(next->child);
        next = std::move(after);  // frees the particle just unlinked, whose child is now null
    }
}

std::shared_ptr<trail> trail::Create(float x, float y, float vx, float vy, int r, int g, int b,
                                     std::shared_ptr<trail> child) {
    auto t = MakePooled<trail>();
    t->pos.x = x;
    t->pos.y = y;
    t->child = std::move(child);
    const double speed = Objects().trail_speed;
    t->vel.x = vx * speed;
    t->vel.y = vy * speed;
    t->age = 1;
    t->col.r = r, t->col.g = g, t->col.b = b;
    t->list_link = Objects().trails.AddLast(t);
    return t;
}

int trail::update() {
    // The lighter walk: tens of thousands of particles a frame, none of which adds or removes
    // another; a finished one is taken out right after its draw, as leave() would.
    Objects().trails.Sweep([](const TrailPtr& t) {
        if (!t->advance()) return false;
        t->child = nullptr;
        return true;
    });
    return 0;
}

void trail::leave() {
    Objects().trails.Remove(list_link.lock());
    child = nullptr;
}

namespace {
// The segment from `from` back to `to`: a wide faint halo under a thin bright core.
void DrawSegment(const ms& from, const ms& to, float age) {
    const float a = static_cast<float>(static_cast<double>(age) * age);
    const float x0 = static_cast<float>(from.x), y0 = static_cast<float>(from.y);
    const float x1 = static_cast<float>(to.x), y1 = static_cast<float>(to.y);
    SetAlpha(static_cast<float>(double{0.2f} * a));
    SetLineWidth(6);
    DrawLine(x0, y0, x1, y1, 0);
    SetAlpha(static_cast<float>(double{0.5f} * a));
    SetLineWidth(2);
    DrawLine(x0, y0, x1, y1, 0);
    SetAlpha(a);
    SetLineWidth(1);
    DrawLine(x0, y0, x1, y1, 0);
}
}  // namespace

int trail::draw() {
    if (advance()) leave();
    return 0;
}

bool trail::advance() {
    SetBlend(BLEND_LIGHT);
    pos.x = pos.x + vel.x;
    pos.y = pos.y + vel.y;
    vel.x = vel.x * double{0.995f};
    vel.y = vel.y * double{0.995f};
    SetColor(FloatToInt(col.r), FloatToInt(col.g), FloatToInt(col.b));
    if (child) DrawSegment(pos, child->pos, age);
    SetBlend(BLEND_ALPHA);
    age = static_cast<float>(static_cast<double>(age) * Objects().trail_fade);
    return age < double{0.1f} || pos.x < 0 || pos.x > kScreenW || pos.y < 0 || pos.y > kScreenH;
}
