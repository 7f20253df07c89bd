// The state the object types and the game share: the object lists, the token flag and the
// two trail tuning values. One process-wide record; tests start from a fresh one.
// Depends on TList and the object types.
#pragma once

#include <cstdint>

#include "objects/enemy.hpp"
#include "objects/explode.hpp"
#include "objects/hole.hpp"
#include "objects/trail.hpp"
#include "platform/base/base.hpp"

struct TObjectState {
    TList<explode> explodes;
    TList<trail> trails;
    TList<hole> holes;
    TList<enemy> enemies;
    uint8_t carrying = 0;  // the player's ship holds the token
    float trail_fade = 0.94f;
    float trail_speed = -0.25f;
};

// The process's object state.
TObjectState& Objects();
// Replaces the object state with a fresh one (emptying every list).
void ResetObjects();
