// trail: one particle of a glowing ribbon. Each particle links to the one emitted before it in
// its chain and draws the segment back to it; `trails` owns every live particle.
// Depends on the value records and the drawing layer.
#pragma once

#include <memory>

#include "objects/records.hpp"

struct trail {
    ms pos;
    ms vel;
    color col;
    std::shared_ptr<trail> child;  // the particle emitted before this one, or null
    float age = 0;

    // A new particle at (x, y) drifting by (vx, vy) * trail_speed, appended to `trails`.
    static std::shared_ptr<trail> Create(float x, float y, float vx, float vy, int r, int g, int b,
                                         std::shared_ptr<trail> child);
    // Moves, draws and ages every particle of `trails`, first to last.
    static int update();
    // Moves this particle, draws its segment, ages it and removes it when faded or off-screen.
    int draw();
};
using TrailPtr = std::shared_ptr<trail>;
