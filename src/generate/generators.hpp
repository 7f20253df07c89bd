// The content generators, one per image family, each filling its part of `Content`.
// Depends on content.hpp; the random generator is the game's one sequence (numbers.hpp).
// `threads` splits pixel loops over columns (1 or 2); the bytes never depend on it.
#pragma once

#include "generate/content.hpp"

// Creates `vignette` (w x h, flags 11) and locks its frame 0 as `vignette_pix`.
void create_vignette(Content& content, int w, int h);
// Writes the vignette pixels through `vignette_pix` (3 draws per pixel), then unlocks.
void generate_vignette(Content& content, int threads = 1);
// Draws `grid_gaps`, creates `backdrop` and writes the lattice into `backdrop_pix`.
void generate_lattice(Content& content, int w, int h, int threads = 1);

// Where the random walker is and where it heads.
struct WalkState {
    int px = 0, py = 0;
    int dx = 1, dy = 0;
};
// One step of the walk with the draw `r`: turn, move, bounce off the edges, mark or turn back.
void walk_step(WalkState& walker, float r, float* walk_map, int w, int h);
// The 80,001 steps of the walk from the window centre, drawing one float each.
void random_walk(float* walk_map, int w, int h);
// Seeds from the clock, walks, blurs the trace into `walk_map` and writes `maze`.
void generate_maze(Content& content, int w, int h, int threads = 1);

// Player ship relief, normals, soft silhouette, `player_shadow` and the empty `player_ship`.
void generate_player_ship(Content& content);

// The 64 hole stages (masks and normals), `hole_spoke_angle` and the empty `hole_img`.
void generate_hole_frames(Content& content, int threads = 1);

// Radial glows and rings, each created with flags 11 and written once.
void generate_glow_blue(Content& content, int threads = 1);
void generate_glow_red(Content& content, int threads = 1);
void generate_ring(Content& content, int threads = 1);
void generate_ring_segments(Content& content, int threads = 1);
void generate_hole_glow(Content& content, int threads = 1);
void generate_glow_white(Content& content, int threads = 1);
