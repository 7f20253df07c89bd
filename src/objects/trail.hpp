// trail: one particle of a glowing ribbon. Each particle links to the one emitted before it in
// its chain and draws the segment back to it; `trails` owns every live particle. Particles
// come from a block pool. Depends on the value records, TList and the drawing layer.
#pragma once

#include <memory>

#include "objects/records.hpp"
#include "platform/base/base.hpp"

struct trail {
    ms pos;
    ms vel;
    color col;
    std::shared_ptr<trail> child;  // the particle emitted before this one, or null
    float age = 0;
    // This particle's own link in `trails`; weak, so link and particle never keep each other.
    std::weak_ptr<TList<trail>::TLink> list_link;

    trail() = default;
    trail(const trail&) = delete;
    trail& operator=(const trail&) = delete;
    // Releases a chain held only through `child` one particle at a time, never recursively.
    ~trail();

    // A new particle at (x, y) drifting by (vx, vy) * trail_speed, appended to `trails`.
    static std::shared_ptr<trail> Create(float x, float y, float vx, float vy, int r, int g, int b,
                                         std::shared_ptr<trail> child);
    // Moves, draws and ages every particle of `trails`, first to last.
    static int update();
    // Moves this particle, draws its segment, ages it and removes it when faded or off-screen.
    int draw();
    // Takes this particle out of `trails` and drops its link to the one before it: only its
    // last position is read again, by the newer particle that links to it.
    void leave();

  private:
    // Moves, draws and ages this particle; true when it is done (faded or off-screen).
    bool advance();
};
using TrailPtr = std::shared_ptr<trail>;
