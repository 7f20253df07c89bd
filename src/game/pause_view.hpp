// The pause view: the frozen screen, dimmed and tinted, under the ring and a pause sign.
// Depends on the game state, the generated ring and the drawing layer.
#pragma once

#include "game/game_state.hpp"

// Draws the pause view from `pause_image` and presents it with Flip(1).
void draw_pause_view(const TGameState& g);
