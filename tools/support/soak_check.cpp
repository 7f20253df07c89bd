// Soak checks: every real of the game and object state tested for NaN and infinity, by name.
#include "support/soak_check.hpp"

#include <algorithm>
#include <cmath>
#include <fstream>
#include <initializer_list>
#include <utility>

#include "game/game_state.hpp"
#include "objects/object_state.hpp"

namespace {
using Named = std::pair<const char*, double>;

// Where a real lives ("trails[12].pos"), spelled out only when one is reported: the check
// runs after every soak pass over tens of thousands of objects.
struct TWhere {
    const char* list = "";  // empty for the game state
    int index = -1;         // -1 outside a list
    const char* part = "";

    TWhere Part(const char* p) const { return {list, index, p}; }
    // Appended piece by piece: GCC 12 warns falsely (-Wrestrict) about "[" + std::string.
    std::string Name(const char* field) const {
        std::string name = list;
        if (index >= 0) {
            name += '[';
            name += std::to_string(index);
            name += ']';
        }
        name += part;
        name += field;
        return name;
    }
};

// The first name whose value is not finite, placed by `where`; empty when all are.
std::string Check(const TWhere& where, std::initializer_list<Named> reals) {
    for (const auto& [name, value] : reals)
        if (!std::isfinite(value)) return where.Name(name);
    return {};
}

std::string CheckMs(const TWhere& where, const ms& m) {
    return Check(
        where,
        {{".x", m.x}, {".y", m.y}, {".scl_x", m.scl_x}, {".scl_y", m.scl_y}, {".speed", m.speed}});
}

std::string CheckColor(const TWhere& where, const color& c) {
    return Check(where, {{".r", c.r}, {".g", c.g}, {".b", c.b}, {".a", c.a}});
}

// The first non-finite field of the records of one part, in order; empty when all are.
std::string FirstOf(std::initializer_list<std::string> found) {
    for (const std::string& f : found)
        if (!f.empty()) return f;
    return {};
}

std::string CheckGame() {
    const TGameState& g = Game();
    const TObjectState& o = Objects();
    return Check({}, {{"ship_x", g.ship_x},
                      {"ship_y", g.ship_y},
                      {"ship_vx", g.ship_vx},
                      {"ship_vy", g.ship_vy},
                      {"ship_thrust", g.ship_thrust},
                      {"last_mouse_x", g.last_mouse_x},
                      {"the_hole_x", g.the_hole_x},
                      {"the_hole_y", g.the_hole_y},
                      {"goal_x", g.goal_x},
                      {"goal_y", g.goal_y},
                      {"wave_time", g.wave_time},
                      {"trail_fade", o.trail_fade},
                      {"trail_speed", o.trail_speed}});
}

std::string CheckEnemy(const TWhere& w, const enemy& e) {
    return FirstOf({Check(w, {{".size", e.size},
                              {".half", e.half},
                              {".random", e.random},
                              {".vrot", e.vrot},
                              {".rot", e.rot},
                              {".ecos", e.ecos},
                              {".esin", e.esin},
                              {".dist", e.dist},
                              {".rot_accuracy", e.rot_accuracy},
                              {".max_speed", e.max_speed},
                              {".energy", e.energy}}),
                    CheckMs(w.Part(".pos"), e.pos), CheckMs(w.Part(".dir"), e.dir),
                    CheckMs(w.Part(".vel"), e.vel), CheckColor(w.Part(".col"), e.col)});
}

std::string CheckTrail(const TWhere& w, const trail& t) {
    return FirstOf({Check(w, {{".age", t.age}}), CheckMs(w.Part(".pos"), t.pos),
                    CheckMs(w.Part(".vel"), t.vel), CheckColor(w.Part(".col"), t.col)});
}

std::string CheckHole(const TWhere& w, const hole& h) {
    return FirstOf({Check(w, {{".light_x", h.light_x},
                              {".light_y", h.light_y},
                              {".light_z", h.light_z},
                              {".alpha", h.alpha}}),
                    CheckMs(w.Part(".pos"), h.pos), CheckColor(w.Part(".col"), h.col)});
}

std::string CheckExplode(const TWhere& w, const explode& x) {
    return FirstOf({Check(w, {{".size", x.size}, {".rot", x.rot}}), CheckMs(w.Part(".pos"), x.pos),
                    CheckMs(w.Part(".vel"), x.vel)});
}

// The first non-finite field of any object of `list`, checked by `check`.
template <typename T, typename Fn>
std::string CheckList(const char* name, TList<T>& list, Fn check) {
    std::string found;
    int index = 0;
    list.ForEach([&](const std::shared_ptr<T>& value, const auto&) {
        if (found.empty() && value) found = check(TWhere{name, index}, *value);
        ++index;
    });
    return found;
}
}  // namespace

std::string FirstNonFiniteReal() {
    TObjectState& o = Objects();
    return FirstOf({CheckGame(), CheckList("enemies", o.enemies, CheckEnemy),
                    CheckList("trails", o.trails, CheckTrail),
                    CheckList("holes", o.holes, CheckHole),
                    CheckList("explodes", o.explodes, CheckExplode)});
}

TObjectCounts CountObjects() {
    const TObjectState& o = Objects();
    return {o.enemies.Count(), o.trails.Count(), o.holes.Count(), o.explodes.Count()};
}

void KeepPeaks(TObjectCounts& peak, const TObjectCounts& now) {
    peak.enemies = std::max(peak.enemies, now.enemies);
    peak.trails = std::max(peak.trails, now.trails);
    peak.holes = std::max(peak.holes, now.holes);
    peak.explodes = std::max(peak.explodes, now.explodes);
}

long ResidentKiB() {
    std::ifstream status("/proc/self/status");
    std::string word;
    while (status >> word)
        if (word == "VmRSS:") {
            long kib = 0;
            status >> kib;
            return kib;
        }
    return 0;
}
