// What a soak run watches: reals of the game and object state that are no longer finite, the
// live object counts, and the process's resident memory. Depends on the game and object state.
#pragma once

#include <string>

struct TObjectCounts {
    int enemies = 0;
    int trails = 0;
    int holes = 0;
    int explodes = 0;
};

// The name of the first real of the game state, the object state or a live object that is NaN
// or infinite (e.g. "enemies[3].vel.x"), or empty when every one is finite.
std::string FirstNonFiniteReal();
// The number of live objects in each list.
TObjectCounts CountObjects();
// Raises each count of `peak` to the one of `now` where that is higher.
void KeepPeaks(TObjectCounts& peak, const TObjectCounts& now);
// The process's resident set size in KiB (VmRSS), or 0 when it cannot be read.
long ResidentKiB();
