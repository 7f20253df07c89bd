// Enemy trace rows, in the fixed column order of the header.
#include "support/enemy_trace.hpp"

#include <cstdio>

#include "objects/enemy.hpp"
#include "objects/object_state.hpp"

namespace {
void Add(std::string& out, const char* format, double v) {
    char text[40];
    std::snprintf(text, sizeof text, format, v);
    out += ',';
    out += text;
}
}  // namespace

std::string enemy_trace_header() {
    return "pass,enemy,x,y,vx,vy,rot,vrot,dist,carrier,carrier_count,finished,rng";
}

std::string enemy_trace_rows(int pass) {
    std::string out;
    int index = 0;
    const std::string rng = std::to_string(RandomState());
    Objects().enemies.ForEach([&](const EnemyPtr& e, const auto&) {
        out += std::to_string(pass) + ',' + std::to_string(index++);
        Add(out, "%.17g", e->pos.x), Add(out, "%.17g", e->pos.y);
        Add(out, "%.17g", e->vel.x), Add(out, "%.17g", e->vel.y);
        Add(out, "%.9g", e->rot), Add(out, "%.9g", e->vrot), Add(out, "%.9g", e->dist);
        out += ',' + std::to_string(e->carrier) + ',' + std::to_string(e->carrier_count) + ',' +
               std::to_string(e->finished) + ',' + rng + '\n';
    });
    return out;
}
