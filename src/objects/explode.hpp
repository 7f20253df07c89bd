// explode: an explosion record with its own list. Nothing in play creates one.
// Depends on the records.
#pragma once

#include <memory>

#include "objects/records.hpp"

struct explode {
    ms pos;
    ms vel;
    float size = 1;
    int frame = 0;
    float rot = 0;

    // A new record at pos moving by vel, size * 0.33, a random rotation; appended to `explodes`.
    static std::shared_ptr<explode> Create(const ms& pos, const ms& vel, float size);
    static int update() { return 0; }
    int draw() { return 0; }
};
using ExplodePtr = std::shared_ptr<explode>;
