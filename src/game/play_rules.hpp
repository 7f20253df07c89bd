// The play rules, run once per play frame after the engine effects: the token's glow and
// trail, deliveries, new waves, the wave time and the hole's relocation. Depends on the game
// state, the object types and the drawing layer (the token and delivery glows).
#pragma once

#include "game/game_state.hpp"

constexpr int kWaveDeliveries = 10;  // deliveries that end a wave
constexpr int kHoleOpenMax = 63;

// A new enemy on the left edge at a random height from 0 to screen_h inclusive, at rest.
void spawn_enemy(const TGameState& g);
// n new enemies, n read once before the first.
void spawn_enemies(const TGameState& g, int n);
// Tells every enemy to finish (turn away and leave the screen).
void finish_every_enemy();

// Step 1: while carried the hole opens, the token glows and trails, and a delivery may
// happen; otherwise the hole closes and the token trail ends.
void token_step(TGameState& g);
// Step 2: a new wave when no enemy is left.
void new_wave_step(TGameState& g);
// Step 3: the wave time falls; when it has run out the game starts over with one enemy.
void wave_time_step(TGameState& g);
// Step 4: the hole's clock closes it, picks its next place and glides it there.
void relocation_step(TGameState& g);
// Steps 1 to 4 in order.
void play_rules(TGameState& g);
