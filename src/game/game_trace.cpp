// Trace rows: the game state gathered and printed in the fixed column order.
#include "game/game_trace.hpp"

#include "game/game_state.hpp"
#include "objects/object_state.hpp"

namespace {
void Add(std::string& out, float v) {
    char text[32];
    std::snprintf(text, sizeof text, ",%.9g", static_cast<double>(v));
    out += text;
}

void Add(std::string& out, int v) {
    out += ',';
    out += std::to_string(v);
}
}  // namespace

std::string trace_header() {
    return "pass,ship_x,ship_y,ship_vx,ship_vy,ship_thrust,heading,carrying,deliveries,"
           "wave_size,wave_time,relocate_clock,the_hole_x,the_hole_y,enemies,trails,paused";
}

TTraceRow trace_row(int pass) {
    const TGameState& g = Game();
    TObjectState& o = Objects();
    TTraceRow r;
    r.pass = pass;
    r.ship_x = g.ship_x, r.ship_y = g.ship_y;
    r.ship_vx = g.ship_vx, r.ship_vy = g.ship_vy;
    r.ship_thrust = g.ship_thrust;
    r.heading = g.heading;
    r.carrying = o.carrying;
    r.deliveries = g.deliveries;
    r.wave_size = g.wave_size;
    r.wave_time = g.wave_time;
    r.relocate_clock = g.relocate_clock;
    r.the_hole_x = g.the_hole_x, r.the_hole_y = g.the_hole_y;
    r.enemies = o.enemies.Count();
    r.trails = o.trails.Count();
    r.paused = g.pause_image ? 1 : 0;
    return r;
}

std::string format_trace_row(const TTraceRow& r) {
    std::string out = std::to_string(r.pass);
    Add(out, r.ship_x), Add(out, r.ship_y), Add(out, r.ship_vx), Add(out, r.ship_vy);
    Add(out, r.ship_thrust), Add(out, r.heading), Add(out, r.carrying), Add(out, r.deliveries);
    Add(out, r.wave_size), Add(out, r.wave_time), Add(out, r.relocate_clock);
    Add(out, r.the_hole_x), Add(out, r.the_hole_y), Add(out, r.enemies), Add(out, r.trails);
    Add(out, r.paused);
    return out;
}

bool TTraceFile::Open(const std::string& path) {
    Close();
    failed_ = false;
    file_ = std::fopen(path.c_str(), "w");
    if (!file_) return false;
    failed_ = std::fprintf(file_, "%s\n", trace_header().c_str()) < 0 || std::fflush(file_) != 0;
    return !failed_;
}

bool TTraceFile::Write(int pass) {
    if (!file_ || failed_) return false;
    const std::string line = format_trace_row(trace_row(pass));
    failed_ = std::fprintf(file_, "%s\n", line.c_str()) < 0 || std::fflush(file_) != 0;
    return !failed_;
}

bool TTraceFile::Close() {
    if (!file_) return !failed_;
    failed_ = std::fclose(file_) != 0 || failed_;
    file_ = nullptr;
    return !failed_;
}
