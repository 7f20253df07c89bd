// The player's ship sprite, relit on the processor every frame from its normal maps.
// Depends on the generated content and the frame's light vector.
#pragma once

#include <cstdint>

#include "game/flight.hpp"
#include "generate/content.hpp"

// Rewrites every pixel of `player_ship`: grey shade from the light turned into the sprite's
// frame (heading from f.s, f.c), alpha from the squared relief.
void relight_ship_sprite(const TPlayFrame& f);
// The ARGB pixel the relight writes for sample k, given the light (a, b, lz) in the sprite's
// frame; exposed so tests can check single samples.
uint32_t ship_pixel(const Content& c, int k, float a, float b, float lz);
